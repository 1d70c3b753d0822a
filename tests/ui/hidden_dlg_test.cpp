// The hidden window: the tray icon and its menu, and the ways the dialog facing the user goes
// into the tray and comes back (wake-up, hot key, tray menu, a panel that goes and comes).
#include "ui/hidden_dlg.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QSystemTrayIcon>

#include "core/core.h"
#include "platform/tray.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "ui/login_dlg.h"
#include "ui/resize_dialog.h"

namespace {

// The dialog that faces the user, as far as the hidden window is concerned.
class FacingDialog final : public CKResizeDialog {
 public:
  FacingDialog() : CKResizeDialog(CKLoginDlg::kTemplateId, nullptr) {}
  bool ShowHelp() override { return false; }
  void Layout() override {}
  void SetCloseMode(std::uint32_t kind, std::uint32_t value) override {
    close_kind = kind;
    close_value = value;
  }
  std::uint32_t close_kind = 0;
  std::uint32_t close_value = 99;
};

class SwitchableTray final : public platform::TrayProbe {
 public:
  SwitchableTray() : previous_(platform::InstallTrayProbe(this)) {}
  ~SwitchableTray() override { platform::InstallTrayProbe(previous_); }
  bool IsTrayAvailable() const override { return available; }
  bool available = true;

 private:
  const platform::TrayProbe* previous_;
};

class HiddenWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(core_.Start());
    hidden_ = dynamic_cast<CKHiddenDlg*>(&core_.core().GetHiddenDlg());
    ASSERT_NE(hidden_, nullptr);
  }

  SwitchableTray tray_;
  test::TestCore core_;
  CKHiddenDlg* hidden_ = nullptr;
};

TEST_F(HiddenWindow, KeepsTheTrayIconWithItsMenuInTheActiveLanguageAndGivesItBackWhenDestroyed) {
  EXPECT_FALSE(hidden_->isVisible());
  EXPECT_TRUE(hidden_->IsTimerActive());
  ASSERT_NE(hidden_->TrayIcon(), nullptr);
  EXPECT_TRUE(hidden_->TrayIcon()->isVisible());
  EXPECT_EQ(hidden_->TrayIcon()->toolTip(), QStringLiteral("VaultQuill v2.0"));
  EXPECT_TRUE(hidden_->IsTrayIconShown());
  // Made before any language was active; the next tick of its timer fills the menu.
  EXPECT_EQ(hidden_->TrayIcon()->contextMenu(), nullptr);
  hidden_->CheckTray();
  ASSERT_EQ(hidden_->TrayIcon()->contextMenu(), hidden_->TrayMenu());
  EXPECT_EQ(hidden_->TrayMenu()->actions().size(), 5);
  ASSERT_TRUE(core_.core().m_Languages.Activate(u"Deutsch"));
  hidden_->OnTrayMenu();
  EXPECT_EQ(hidden_->TrayMenu()->actions().back()->text(), QStringLiteral("Beenden"));

  hidden_->Destroy();
  EXPECT_FALSE(hidden_->IsTimerActive());
  EXPECT_FALSE(hidden_->TrayIcon()->isVisible());
  EXPECT_FALSE(hidden_->IsTrayIconShown());
}

TEST_F(HiddenWindow, TheActiveDialogGoesIntoTheTrayAndComesBackEveryWay) {
  CKCore& core = core_.core();
  core.SetWakeUpMessage(0xC123);
  bool& tray_seen = core.m_SettingsRunTime.m_boolTrayAvailable;
  const auto in_tray = [](FacingDialog& d) { return d.IsInTray() && !d.isVisible(); };
  const auto back = [](FacingDialog& d) { return d.isVisible() && d.IsShownNormally(); };
  const auto minimised = [](FacingDialog& d) { return d.isVisible() && d.isMinimized(); };
  FacingDialog dialog;
  core.SetActiveDialog(&dialog);
  test::WhenRunning<FacingDialog>([&](FacingDialog& d) {
    // The wake-up message of a second start; other numbers do nothing.
    d.MinimiseToTray();
    hidden_->OnWakeUp(0xC124);
    EXPECT_TRUE(in_tray(d));
    hidden_->OnWakeUp(0xC123);
    EXPECT_TRUE(back(d));
    // The hot key, only while its option is on.
    d.MinimiseToTray();
    core.m_SettingsInterface.m_boolHotKey = false;
    hidden_->OnHotKey();
    EXPECT_TRUE(in_tray(d));
    core.m_SettingsInterface.m_boolHotKey = true;
    hidden_->OnHotKey();
    EXPECT_TRUE(back(d));
    // The tray menu's first command toggles; a separator's number does nothing.
    hidden_->HandleTrayCommand(3);
    EXPECT_TRUE(in_tray(d));
    hidden_->HandleTrayCommand(4);
    hidden_->HandleTrayCommand(3);
    EXPECT_TRUE(back(d));

    // The panel goes away: the dialog hidden into it becomes reachable again, and without a
    // tray a dialog only minimises.
    d.MinimiseToTray();
    tray_.available = false;
    hidden_->CheckTray();
    EXPECT_FALSE(tray_seen);
    EXPECT_TRUE(minimised(d));
    d.ToggleTray();
    EXPECT_TRUE(back(d));
    d.ToggleTray();
    EXPECT_TRUE(minimised(d) && d.IsInTray()) << "hidden although no tray icon could bring it back";
    d.ToggleTray();
    // The panel comes back: the icon is added anew and dialogs hide into it again, unless the
    // user chose not to use the tray.
    tray_.available = true;
    hidden_->CheckTray();
    EXPECT_TRUE(tray_seen);
    EXPECT_TRUE(hidden_->IsTrayIconShown());
    core.m_SettingsInterface.m_boolSystemTray = false;
    d.MinimiseToTray();
    EXPECT_TRUE(minimised(d));
    d.RestoreFromTray();
    core.m_SettingsInterface.m_boolSystemTray = true;
    d.MinimiseToTray();
    EXPECT_TRUE(in_tray(d));
    d.RestoreFromTray();
    hidden_->HandleTrayCommand(5);  // exit: close mode 0, then a posted close request
  });
  EXPECT_EQ(dialog.DoModal(), CKDialog::kIdCancel);
  core.SetActiveDialog(nullptr);
  EXPECT_EQ(dialog.close_kind, 1u);
  EXPECT_EQ(dialog.close_value, 0u);
  hidden_->OnWakeUp(0xC123);  // no active dialog: nothing happens
}

}  // namespace
