#pragma once

class CKCore;

// The update check that lives as long as a main window: started when the window is built
// (after each log-in), stopped when it goes. The update checker is built on the dialog
// framework, so it cannot be a library below the main window; the program installs it here
// instead. Without one (the interface tests) no check runs.
namespace main_window {

class UpdateCheck {
 public:
  virtual ~UpdateCheck() = default;
  // Starts a check when one is due and allowed.
  virtual void Start(CKCore& core) = 0;
  // Ends every check still running and waits for it.
  virtual void Stop() = 0;
};

// Installs a check (not owned; null removes it) and returns the one it replaces.
UpdateCheck* InstallUpdateCheck(UpdateCheck* check);
void StartUpdateCheck(CKCore& core);
void StopUpdateCheck();

}  // namespace main_window
