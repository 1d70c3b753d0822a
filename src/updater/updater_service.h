#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "updater/gui_thread_host.h"
#include "updater/http_get.h"
#include "updater/update_check.h"

class CKLanguages;
class CKSettingsInterface;
class CKSettingsRunTime;
class CKSettingsSystem;

// What a check may use instead of the program's own pieces; the program passes none, tests
// point the check at their own server, clock and answers.
struct KUpdaterOptions {
  QUrl server = updater::DefaultServer();
  // Seconds since 1970, cut to 32 bits; the system clock when empty.
  std::function<std::uint32_t()> clock;
  // Shows the release notes and calls done with the chosen folder; the updater dialog when
  // empty.
  std::function<void(const QByteArray& notes, KUpdaterGuiActions::OfferDone done)> offer;
  // Opens a folder in the desktop's file manager; QDesktopServices when empty.
  std::function<void(const QString& folder)> open_folder;
  updater::KHttpOptions http;
};

// The update checker: at most once a week, when the user allows it, asks the maker's web
// server for a newer build, shows its release notes and downloads its installer into the
// folder the user chooses.
//
// The network work runs on a thread of its own. Everything else runs on the user-interface
// thread, where the settings live: the dialog (shown without blocking the main window), the
// settings the check changes (m_dwordCheckedBuild, m_csUpdateSavePath,
// m_boolCheckForUpdates), the file messages, the renames of the installer files and the last
// question. The checker's thread waits for the answers it needs and never touches a setting,
// a language text or a window itself.
class CKUpdaterService {
 public:
  // The entry point. The main window calls it on the user-interface thread each time it is
  // built (after each log-in), with the core's groups and languages:
  //
  //   CKUpdaterService::Start(core.m_SettingsInterface, core.m_SettingsSystem,
  //                           core.m_SettingsRunTime, core.m_Languages);
  //
  // Nothing happens while m_boolCheckForUpdates is off, or when the last check started less
  // than a week and a second ago (m_dwordCheckedTime; a clock set back before it makes a check
  // due). Otherwise m_dwordCheckedTime becomes now, whatever the check finds, and the check
  // starts. True when it started.
  //
  // The objects passed in must outlive the check: whoever destroys them first calls StopAll.
  static bool Start(CKSettingsInterface& interface_settings, CKSettingsSystem& system_settings,
                    const CKSettingsRunTime& run_time, const CKLanguages& languages,
                    const KUpdaterOptions& options = {});

  // Ends every check still running and waits for its thread: network waits and the wait for
  // the user end at once, an open updater dialog closes, and what the checks had still asked
  // of the user-interface thread is dropped. Runs by itself when the application quits.
  static void StopAll();

  // Checks whose thread has not been cleaned up yet.
  static std::size_t RunningChecks();
};
