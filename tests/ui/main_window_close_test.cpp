// How the main window ends: log out or quit, the question before, minimising with log-out,
// the clipboard on the way out, and the update check that lives as long as the window.
#include "core/core.h"
#include "languages/menus.h"
#include "main_window_fixture.h"
#include "support/dialog_driver.h"
#include "ui/about_dlg.h"
#include "ui/clipboard.h"
#include "ui/hidden_dlg.h"
#include "ui/main_window_updates.h"

namespace test {
namespace {

using Dlg = CVaultQuillDlg;

class CountingUpdateCheck final : public main_window::UpdateCheck {
 public:
  void Start(CKCore&) override { ++started; }
  void Stop() override { ++stopped; }
  int started = 0;
  int stopped = 0;
};

TEST_F(MainWindowTest, TheCloseBoxAndLogOutGoBackToTheLogInExitAndAltXQuit) {
  CountingUpdateCheck check;
  main_window::UpdateCheck* previous = main_window::InstallUpdateCheck(&check);
  EXPECT_TRUE(Run([&](Dlg& window) {
    EXPECT_EQ(check.started, 1);
    EXPECT_EQ(check.stopped, 0);
    window.close();
  }));
  EXPECT_EQ(check.stopped, 1);
  EXPECT_FALSE(Run([](Dlg& window) { window.MenuAction(menus::kCmdExit)->trigger(); }));
  EXPECT_TRUE(Run([](Dlg& window) { Press(window, Qt::CTRL | Qt::Key_L); }));
  EXPECT_FALSE(Run([](Dlg& window) { Press(window, Qt::ALT | Qt::Key_X); }));
  // The tray's exit quits as well.
  EXPECT_FALSE(Run([&](Dlg&) {
    dynamic_cast<CKHiddenDlg&>(core().GetHiddenDlg()).HandleTrayCommand(menus::kTrayExit);
    ProcessEvents(50);
  }));
  // Every window started the update check and stopped it when it went.
  EXPECT_EQ(check.started, 5);
  EXPECT_EQ(check.stopped, 5);
  main_window::InstallUpdateCheck(previous);
}

TEST_F(MainWindowTest, WhenTheUserWantsTheQuestionNoKeepsTheWindowAndTheCloseBoxStillLogsOut) {
  core().m_SettingsInterface.m_boolAskForExit = true;
  const bool back_to_log_in = Run([&](Dlg& window) {
    test_core().messages().QueueAnswer(false);
    window.MenuAction(menus::kCmdExit)->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Messages(), std::vector<std::string>{Text8(1, 0)});
    test_core().messages().QueueAnswer(false);
    dynamic_cast<CKHiddenDlg&>(core().GetHiddenDlg()).HandleTrayCommand(menus::kTrayExit);
    ProcessEvents(50);
    EXPECT_TRUE(window.isVisible());
    test_core().messages().QueueAnswer(true);
    window.close();
  });
  EXPECT_TRUE(back_to_log_in);
}

TEST_F(MainWindowTest, MinimisingLogsOutWhenWantedButNotWhileADialogIsOpen) {
  core().m_SettingsUserBased.boolLogOutOnMinimize = false;
  Run([](Dlg& window) {
    Press(window, QKeyCombination(Qt::Key_Escape));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    window.RestoreFromTray();
    window.close();
  });
  EXPECT_FALSE(core().m_SettingsRunTime.m_boolStartMinimised);

  core().m_SettingsUserBased.boolLogOutOnMinimize = true;
  bool kept_open = false;
  Run([&](Dlg& window) {
    WhenRunning<CAboutDlg>([&](CAboutDlg& about) {
      window.MinimiseToTray();
      kept_open = window.isVisible() && window.IsBusy();
      about.EndDialog(CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_B);
    EXPECT_TRUE(window.isVisible());
    window.RestoreFromTray();
    // With nothing open, Escape minimises and logs out.
    Press(window, QKeyCombination(Qt::Key_Escape));
    ProcessEvents(50);
    EXPECT_FALSE(window.isVisible());
  });
  EXPECT_TRUE(kept_open);
  EXPECT_TRUE(core().m_SettingsRunTime.m_boolRelogin);
  // The log-in dialog starts where the window went.
  EXPECT_TRUE(core().m_SettingsRunTime.m_boolStartMinimised);

  // The window system's own minimise button does the same.
  core().m_SettingsRunTime.m_boolStartMinimised = false;
  EXPECT_TRUE(Run([](Dlg& window) {
    window.showMinimized();
    ProcessEvents(50);
    EXPECT_FALSE(window.isVisible());
  }));
  EXPECT_TRUE(core().m_SettingsRunTime.m_boolStartMinimised);
}

TEST_F(MainWindowTest, TheClipboardIsEmptiedOnTheWayOutOnlyWhenTheUserWantsIt) {
  AddNote(root(), u"Mail", u"ada", u"s3cret!");
  for (const bool clean : {true, false}) {
    core().m_SettingsUserBased.boolCleanClipboardOnExit = clean;
    Run([](Dlg& window) {
      Select(window, u"Mail");
      window.OnEntryCommand(menus::kEntryCopyPassword);
      EXPECT_EQ(ClipboardText(), QStringLiteral("s3cret!"));
      Press(window, Qt::CTRL | Qt::Key_L);
    });
    EXPECT_EQ(ClipboardText(), clean ? QString() : QStringLiteral("s3cret!")) << clean;
  }
  clipboard::ClearClipboard();
}

}  // namespace
}  // namespace test
