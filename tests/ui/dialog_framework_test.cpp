// The dialog framework: anchored resizing, placements recorded and restored, the modal run, the
// texts, tooltips and menus from the active language; and the hidden window with the tray icon
// and its menu, and the ways the dialog facing the user goes into the tray and comes back
// (wake-up, hot key, tray menu, a panel that goes and comes).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <functional>
#include <map>

#include "core/core.h"
#include "platform/tray.h"
#include "settings/window_placement.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "ui/hidden_dlg.h"
#include "ui/login_dlg.h"
#include "ui/resize_dialog.h"

namespace test {
namespace {
// A resizable dialog on the log-in dialog's template whose layout follows the template's
// anchors.
class AnchoredDialog final : public CKResizeDialog {
 public:
  explicit AnchoredDialog(KWindowPlacement* record = nullptr)
      : CKResizeDialog(CKLoginDlg::kTemplateId, nullptr) {
    m_pPlacement = record;
  }
  bool ShowHelp() override { return false; }
  void Layout() override {
    int dx = 0;
    int dy = 0;
    GetSizeDelta(dx, dy);
    ApplyTemplateAnchors(dx, dy);
    InvalidateMoved();
  }
  QRect Place(int id) const { return GetDlgItem(id)->geometry(); }
};

// Runs the dialog modally; the action acts from inside the run.
template <typename Dialog>
int RunModal(Dialog& dialog, std::function<void(Dialog&)> action) {
  WhenRunning<Dialog>(std::move(action));
  return dialog.DoModal();
}

TEST(ResizeDialog, ControlsFollowTheirAnchorsAndTheTemplateSizeIsTheMinimum) {
  AnchoredDialog dialog;
  QSize template_size;
  std::map<int, QRect> before;
  WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
    template_size = d.size();
    for (const int id : {533, 536, 541, 538, 1, 535}) {
      before[id] = d.Place(id);
    }
    d.resize(d.width() + 40, d.height() + 30);
    ProcessEvents();
    EXPECT_EQ(d.Place(533), before[533].adjusted(0, 0, 40, 0));    // widen
    EXPECT_EQ(d.Place(536), before[536].translated(40, 0));        // move right
    EXPECT_EQ(d.Place(541), before[541].adjusted(0, 30, 40, 30));  // move down and widen
    EXPECT_EQ(d.Place(1), before[1].translated(40, 30));           // move
    EXPECT_EQ(d.Place(535), before[535].translated(0, 30));        // move down
    EXPECT_EQ(d.Place(538), before[538]);                          // stays

    // Smaller than the template it cannot be made; the controls go back with the window.
    EXPECT_EQ(d.minimumSize(), template_size);
    d.resize(template_size.width() - 50, template_size.height() - 50);
    ProcessEvents();
    EXPECT_EQ(d.size(), template_size);
    EXPECT_EQ(d.Place(533), before[533]);
    d.EndDialog(CKDialog::kIdOk);
  });
  EXPECT_EQ(dialog.DoModal(), CKDialog::kIdOk);
}

TEST(ResizeDialog, APlacementIsRecordedAndRestoredUnlessOffTheScreenOrMaximised) {
  KWindowPlacement record;
  QRect moved;
  AnchoredDialog first(&record);
  RunModal<AnchoredDialog>(first, [&](AnchoredDialog& d) {
    d.move(150, 120);
    d.resize(d.width() + 60, d.height() + 20);
    ProcessEvents();
    moved = QRect(d.pos(), d.size());
    d.OnOK();
  });
  EXPECT_EQ(QRect(record.Left(), record.Top(), record.Width(), record.Height()), moved);
  AnchoredDialog second(&record);
  RunModal<AnchoredDialog>(second, [&](AnchoredDialog& d) {
    EXPECT_EQ(QRect(d.pos(), d.size()), moved);
    // Laid out at the restored size: the list ends as far from the right edge as in the
    // template.
    EXPECT_EQ(d.width() - d.Place(533).right(),
              AnchoredDialog().width() - AnchoredDialog().Place(533).right());
    d.EndDialog(CKDialog::kIdCancel);
  });

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  for (const QPoint corner : {QPoint(-20, 100), QPoint(100, -1), QPoint(screen.width(), 100),
                              QPoint(100, screen.height())}) {
    record.Set(corner.x(), corner.y(), 500, 400);
    AnchoredDialog dialog(&record);
    QRect opened;
    RunModal<AnchoredDialog>(dialog, [&](AnchoredDialog& d) {
      opened = QRect(d.pos(), d.size());
      d.showMaximized();
      ProcessEvents();
      d.OnOK();
    });
    // Opened at the template's place and size, which the record took over; the maximised
    // window did not replace it.
    EXPECT_EQ(opened.size(), dialog.minimumSize()) << corner.x() << "," << corner.y();
    EXPECT_TRUE(screen.contains(opened.topLeft()));
    EXPECT_EQ(QRect(record.Left(), record.Top(), record.Width(), record.Height()), opened);
  }
}

TEST(Dialog, TheModalRunShowsOnlyWhatTheTemplateOrTheDialogShows) {
  // A dialog on the hidden window's template: no controls, not shown by its template.
  struct InvisibleDialog final : CKDialog {
    InvisibleDialog() : CKDialog(112, nullptr) {}
    bool ShowHelp() override { return false; }
  } invisible;
  bool shown = true;
  EXPECT_EQ(RunModal<InvisibleDialog>(invisible,
                                      [&](InvisibleDialog& d) {
                                        shown = d.isVisible();
                                        d.EndDialog(7);
                                      }),
            7);
  EXPECT_FALSE(shown);
  AnchoredDialog visible;
  EXPECT_EQ(RunModal<AnchoredDialog>(visible,
                                     [&](AnchoredDialog& d) {
                                       shown = d.isVisible();
                                       d.close();  // the close box ends the dialog with Cancel
                                     }),
            CKDialog::kIdCancel);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(visible.isVisible());
}

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
  TestCore core_;
  CKHiddenDlg* hidden_ = nullptr;
};

TEST_F(HiddenWindow, KeepsTheTrayIconWithItsMenuInTheActiveLanguageAndGivesItBackWhenDestroyed) {
  EXPECT_FALSE(hidden_->isVisible());
  EXPECT_TRUE(hidden_->IsTimerActive());
  ASSERT_NE(hidden_->TrayIcon(), nullptr);
  EXPECT_TRUE(hidden_->TrayIcon()->isVisible());
  EXPECT_TRUE(hidden_->IsTrayIconShown());
  // Made before any language was active; the next tick of its timer fills the menu.
  EXPECT_EQ(hidden_->TrayIcon()->contextMenu(), nullptr);
  hidden_->CheckTray();
  ASSERT_EQ(hidden_->TrayIcon()->contextMenu(), hidden_->TrayMenu());
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
  const auto in_tray = [](AnchoredDialog& d) { return d.IsInTray() && !d.isVisible(); };
  const auto back = [](AnchoredDialog& d) { return d.isVisible() && d.IsShownNormally(); };
  const auto minimised = [](AnchoredDialog& d) { return d.isVisible() && d.isMinimized(); };
  AnchoredDialog dialog;
  core.SetActiveDialog(&dialog);
  WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
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
    // The tray's Exit is checked on the main window, which it quits.
    d.EndDialog(CKDialog::kIdCancel);
  });
  EXPECT_EQ(dialog.DoModal(), CKDialog::kIdCancel);
  core.SetActiveDialog(nullptr);
  hidden_->OnWakeUp(0xC123);  // no active dialog: nothing happens
}

}  // namespace
}  // namespace test
