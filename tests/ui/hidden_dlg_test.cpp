#include "ui/hidden_dlg.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QSystemTrayIcon>
#include <fstream>

#include "core/core.h"
#include "platform/tray.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"
#include "ui/login_dlg.h"
#include "ui/resize_dialog.h"

namespace {

// The dialog that faces the user, as far as the hidden window is concerned.
class FacingDialog final : public CKResizeDialog {
 public:
  FacingDialog() : CKResizeDialog(CKLoginDlg::kTemplateId, nullptr) {}
  bool ShowHelp() override { return false; }
  void Layout() override {
    int dx = 0;
    int dy = 0;
    GetSizeDelta(dx, dy);
  }
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
  bool available = false;

 private:
  const platform::TrayProbe* previous_;
};

class HiddenWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    tray_.available = true;
    ASSERT_TRUE(core_.Start());
    hidden_ = dynamic_cast<CKHiddenDlg*>(&core_.core().GetHiddenDlg());
    ASSERT_NE(hidden_, nullptr);
  }

  // Runs the facing dialog as the active one, calls the action from inside its run, and
  // returns how the run ended.
  int RunFacing(const std::function<void(FacingDialog&)>& action) {
    FacingDialog dialog;
    core_.core().SetActiveDialog(&dialog);
    test::WhenRunning<FacingDialog>(action);
    const int result = dialog.DoModal();
    core_.core().SetActiveDialog(nullptr);
    last_close_kind_ = dialog.close_kind;
    last_close_value_ = dialog.close_value;
    return result;
  }

  SwitchableTray tray_;
  test::TestCore core_;
  CKHiddenDlg* hidden_ = nullptr;
  std::uint32_t last_close_kind_ = 0;
  std::uint32_t last_close_value_ = 0;
};

TEST_F(HiddenWindow, KeepsTheTrayIconAndItsMenuAndGivesThemBackWhenDestroyed) {
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

  hidden_->Destroy();
  EXPECT_FALSE(hidden_->IsTimerActive());
  EXPECT_FALSE(hidden_->TrayIcon()->isVisible());
  EXPECT_FALSE(hidden_->IsTrayIconShown());
}

TEST_F(HiddenWindow, TheWakeUpBringsTheActiveDialogBackAndOtherNumbersDoNothing) {
  core_.core().SetWakeUpMessage(0xC123);
  bool stayed = false;
  bool back = false;
  RunFacing([&](FacingDialog& d) {
    d.MinimiseToTray();
    hidden_->OnWakeUp(0xC124);
    stayed = d.IsInTray() && !d.isVisible();
    hidden_->OnWakeUp(0xC123);
    back = d.isVisible() && d.IsShownNormally();
    d.EndDialog(CKDialog::kIdCancel);
  });
  EXPECT_TRUE(stayed);
  EXPECT_TRUE(back);
  hidden_->OnWakeUp(0xC123);  // no active dialog: nothing happens
}

TEST_F(HiddenWindow, TheHotKeyRestoresOnlyWhileItsOptionIsOn) {
  bool ignored = false;
  bool restored = false;
  RunFacing([&](FacingDialog& d) {
    d.MinimiseToTray();
    core_.core().m_SettingsInterface.m_boolHotKey = false;
    hidden_->OnHotKey();
    ignored = d.IsInTray();
    core_.core().m_SettingsInterface.m_boolHotKey = true;
    hidden_->OnHotKey();
    restored = !d.IsInTray() && d.isVisible();
    d.EndDialog(CKDialog::kIdCancel);
  });
  EXPECT_TRUE(ignored);
  EXPECT_TRUE(restored);
}

TEST_F(HiddenWindow, TrayMenuCommandsToggleAndEndTheActiveDialog) {
  bool toggled_away = false;
  bool toggled_back = false;
  const int result = RunFacing([&](FacingDialog& d) {
    hidden_->HandleTrayCommand(3);
    toggled_away = d.IsInTray() && !d.isVisible();
    hidden_->HandleTrayCommand(3);
    toggled_back = d.IsShownNormally() && d.isVisible();
    hidden_->HandleTrayCommand(4);  // a separator's number: nothing
    hidden_->HandleTrayCommand(5);  // exit: close mode 0, then a posted close request
  });
  EXPECT_TRUE(toggled_away);
  EXPECT_TRUE(toggled_back);
  EXPECT_EQ(result, CKDialog::kIdCancel);
  EXPECT_EQ(last_close_kind_, 1u);
  EXPECT_EQ(last_close_value_, 0u);
}

TEST_F(HiddenWindow, ALanguageWithoutTheTrayMenuGroupGivesNoTrayMenu) {
  // Five lines, the name first, and no entry of group 240.
  const std::u16string text = u"Sparse\n00 01  About\n05 FF  Log in\n# a comment\n02 00  OK\n";
  std::ofstream file(core_.program_folder() / "Languages" / "Sparse.language", std::ios::binary);
  file.write("\xFF\xFE", 2);
  for (const char16_t c : text) {
    const char bytes[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    file.write(bytes, 2);
  }
  file.close();
  CKLanguages& languages = core_.core().m_Languages;
  ASSERT_TRUE(languages.ScanFolder(core_.program_folder().u16string()));
  ASSERT_TRUE(languages.Activate(u"Sparse"));
  hidden_->OnTrayMenu();
  EXPECT_EQ(hidden_->TrayIcon()->contextMenu(), nullptr);
  ASSERT_TRUE(languages.Activate(u"Deutsch"));
  hidden_->OnTrayMenu();
  ASSERT_EQ(hidden_->TrayIcon()->contextMenu(), hidden_->TrayMenu());
  EXPECT_EQ(hidden_->TrayMenu()->actions().back()->text(), QStringLiteral("Beenden"));
}

TEST_F(HiddenWindow, TheIconIsAddedAgainWhenTheTrayComesBack) {
  bool& seen = core_.core().m_SettingsRunTime.m_boolTrayAvailable;
  seen = true;
  bool shown_minimised = false;
  RunFacing([&](FacingDialog& d) {
    d.MinimiseToTray();
    ASSERT_FALSE(d.isVisible());
    // The panel goes away: the dialog hidden into it becomes reachable again.
    tray_.available = false;
    hidden_->CheckTray();
    EXPECT_FALSE(seen);
    shown_minimised = d.isVisible() && d.isMinimized();
    // The panel comes back: the icon is added anew.
    tray_.available = true;
    hidden_->CheckTray();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(hidden_->IsTrayIconShown());
    d.EndDialog(CKDialog::kIdCancel);
  });
  EXPECT_TRUE(shown_minimised);
}

}  // namespace
