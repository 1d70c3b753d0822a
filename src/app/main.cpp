// VaultQuill, the desktop program.
#include <QApplication>

#include "app/vaultquill_app.h"
#include "core/core.h"
#include "core/qt_platform.h"
#include "platform/process_hardening.h"
#include "ui/main_window.h"
#include "ui/main_window_updates.h"
#include "updater/updater_service.h"

namespace {

// The update checker, as the main window starts and stops it.
class CKUpdaterCheck final : public main_window::UpdateCheck {
 public:
  void Start(CKCore& core) override {
    CKUpdaterService::Start(core.m_SettingsInterface, core.m_SettingsSystem, core.m_SettingsRunTime,
                            core.m_Languages);
  }
  void Stop() override { CKUpdaterService::StopAll(); }
};

}  // namespace

int main(int argc, char* argv[]) {
  platform::DisableCoreDumpsAndDebugging();
  QApplication application(argc, argv);
  // The windows come and go with the log-in loop; the last one closing ends nothing.
  QApplication::setQuitOnLastWindowClosed(false);
  const CKQtPlatform platform;
  CKUpdaterCheck update_check;
  main_window::InstallUpdateCheck(&update_check);
  CVaultQuillApp app;
  app.SetMainWindowRunner(CVaultQuillDlg::Run);
  app.InitInstance();
  main_window::InstallUpdateCheck(nullptr);
  return 0;
}
