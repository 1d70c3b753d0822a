#pragma once

#include <functional>
#include <memory>

#include "app/single_instance.h"

class CKCore;
class CKHiddenDlg;

// The program's application object: its whole life runs in InitInstance. It makes sure that
// only one program runs per user (waking the running one otherwise), creates and initialises
// the core, runs the log-in loop, saves the settings and tears the core down.
class CVaultQuillApp {
 public:
  // What the main window does when a user has logged in; returns when the window closed (with
  // the run-time flag m_boolRelogin saying whether to log in again).
  using MainWindowRunner = std::function<void(CKCore& core)>;

  CVaultQuillApp();
  ~CVaultQuillApp();
  CVaultQuillApp(const CVaultQuillApp&) = delete;
  CVaultQuillApp& operator=(const CVaultQuillApp&) = delete;

  // The single-instance lock and socket live in this folder instead of the runtime folder.
  void SetInstanceFolder(const QString& folder) { instance_folder_ = folder; }
  // The program's folder (languages, help pages, portable marker) is this one instead of the
  // folder of the executable.
  void SetProgramFolder(const QString& folder) { program_folder_ = folder; }
  void SetMainWindowRunner(MainWindowRunner runner) { main_window_ = std::move(runner); }

  // Always false: when it returns the program ends.
  bool InitInstance();

  // Whether this start found another program running and woke it.
  bool WokeOtherInstance() const { return woke_other_; }

 private:
  // Log-in, main window, log-out, save; again while the user logged out rather than quit.
  void RunLogInLoop(CKCore& core);

  QString instance_folder_;
  QString program_folder_;
  MainWindowRunner main_window_;
  bool woke_other_ = false;
};

// Until the main window exists: a successful log-in logs out again at once and the log-in
// dialog comes back.
void LogOutAtOnce(CKCore& core);
