// The dialog framework: anchored resizing, placements recorded and restored, the modal run,
// and the texts, tooltips and menus from the active language.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <map>

#include "core/core.h"
#include "languages/text_ids.h"
#include "settings/window_placement.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "ui/dialog_texts.h"
#include "ui/login_dlg.h"
#include "ui/resize_dialog.h"

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

// A dialog on the hidden window's template: no controls, not shown by its template.
class InvisibleDialog final : public CKDialog {
 public:
  InvisibleDialog() : CKDialog(112, nullptr) {}
  bool ShowHelp() override { return false; }
};

TEST(ResizeDialog, ControlsFollowTheirAnchorsAndTheTemplateSizeIsTheMinimum) {
  AnchoredDialog dialog;
  QSize template_size;
  std::map<int, QRect> before;
  test::WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
    template_size = d.size();
    for (const int id : {533, 536, 541, 538, 1, 535}) {
      before[id] = d.Place(id);
    }
    d.resize(d.width() + 40, d.height() + 30);
    test::ProcessEvents();
    EXPECT_EQ(d.Place(533), before[533].adjusted(0, 0, 40, 0));    // widen
    EXPECT_EQ(d.Place(536), before[536].translated(40, 0));        // move right
    EXPECT_EQ(d.Place(541), before[541].adjusted(0, 30, 40, 30));  // move down and widen
    EXPECT_EQ(d.Place(1), before[1].translated(40, 30));           // move
    EXPECT_EQ(d.Place(535), before[535].translated(0, 30));        // move down
    EXPECT_EQ(d.Place(538), before[538]);                          // stays

    // Smaller than the template it cannot be made; the controls go back with the window.
    EXPECT_EQ(d.minimumSize(), template_size);
    d.resize(template_size.width() - 50, template_size.height() - 50);
    test::ProcessEvents();
    EXPECT_EQ(d.size(), template_size);
    EXPECT_EQ(d.Place(533), before[533]);
    d.EndDialog(CKDialog::kIdOk);
  });
  EXPECT_EQ(dialog.DoModal(), CKDialog::kIdOk);
}

TEST(ResizeDialog, APlacementIsRecordedOnCloseAndRestoredByTheNextDialog) {
  KWindowPlacement record;
  const QPoint moved_to(150, 120);
  QSize grown;
  {
    AnchoredDialog first(&record);
    test::WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
      d.move(moved_to);
      d.resize(d.width() + 60, d.height() + 20);
      test::ProcessEvents();
      grown = d.size();
      d.OnOK();
    });
    first.DoModal();
  }
  ASSERT_TRUE(record.IsValid());
  EXPECT_EQ(record.Left(), moved_to.x());
  EXPECT_EQ(record.Top(), moved_to.y());
  EXPECT_EQ(record.Width(), grown.width());
  EXPECT_EQ(record.Height(), grown.height());

  AnchoredDialog second(&record);
  QPoint position;
  QSize size;
  int list_right = 0;
  test::WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
    position = d.pos();
    size = d.size();
    list_right = d.Place(533).right();
    d.EndDialog(CKDialog::kIdCancel);
  });
  second.DoModal();
  EXPECT_EQ(position, moved_to);
  EXPECT_EQ(size, grown);
  // The restored size was laid out: the list ends as far from the right edge as in the
  // template.
  EXPECT_EQ(size.width() - list_right,
            AnchoredDialog().width() - AnchoredDialog().Place(533).right());
}

TEST(ResizeDialog, APlacementOffTheScreenIsIgnoredAndAMaximisedWindowIsNotRecorded) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  for (const QPoint corner : {QPoint(-20, 100), QPoint(100, -1), QPoint(screen.width(), 100),
                              QPoint(100, screen.height())}) {
    KWindowPlacement record;
    record.Set(corner.x(), corner.y(), 500, 400);
    AnchoredDialog dialog(&record);
    QRect opened;
    test::WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
      opened = QRect(d.pos(), d.size());
      d.showMaximized();
      test::ProcessEvents();
      d.OnOK();
    });
    dialog.DoModal();
    // Opened at the template's place and size, which the record took over when the dialog
    // laid itself out; the maximised window did not replace it.
    EXPECT_EQ(opened.size(), dialog.minimumSize()) << corner.x() << "," << corner.y();
    EXPECT_TRUE(screen.contains(opened.topLeft()));
    EXPECT_EQ(QRect(record.Left(), record.Top(), record.Width(), record.Height()), opened);
  }
}

TEST(Dialog, TheModalRunShowsOnlyWhatTheTemplateOrTheDialogShows) {
  InvisibleDialog invisible;
  bool shown = true;
  test::WhenRunning<InvisibleDialog>([&](InvisibleDialog& d) {
    shown = d.isVisible();
    d.EndDialog(7);
  });
  EXPECT_EQ(invisible.DoModal(), 7);
  EXPECT_FALSE(shown);

  AnchoredDialog visible;
  test::WhenRunning<AnchoredDialog>([&](AnchoredDialog& d) {
    shown = d.isVisible();
    d.close();  // the close box ends the dialog with Cancel
  });
  EXPECT_EQ(visible.DoModal(), CKDialog::kIdCancel);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(visible.isVisible());
}

TEST(DialogTexts, CaptionsTitleTooltipsAndMenusComeFromTheActiveLanguage) {
  test::TestCore core;
  ASSERT_TRUE(core.Start());
  const CKLanguages& languages = core.core().m_Languages;
  AnchoredDialog dialog;
  const KTextPair table[] = {
      {texts::kLoginUserCaption.key(), 538}, {texts::kLoginPasswordCaption.key(), 539},
      {languages::TextKey(5, 0x77), 540},  // no such text: the walk stops here
      {texts::kButtonNewUser.key(), 535},    {0, 0},
  };
  dialog.Item<QPushButton>(535)->setText(QStringLiteral("unchanged"));
  EXPECT_FALSE(dialogs::ApplyTexts(languages, &dialog, table));
  EXPECT_EQ(dialog.Item<QLabel>(538)->text(), QStringLiteral("User name:"));
  EXPECT_EQ(dialog.Item<QLabel>(539)->text(), QStringLiteral("Password:"));
  EXPECT_EQ(dialog.Item<QPushButton>(535)->text(), QStringLiteral("unchanged"));

  const KTextPair complete[] = {{texts::kLoginUserCaption.key(), 538}, {0, 0}};
  EXPECT_TRUE(dialogs::ApplyTextsAndTitle(languages, &dialog, complete));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("VaultQuill - Log in"));
  EXPECT_EQ(dialogs::GetTooltip(languages, complete, 538), QStringLiteral("User name:"));
  EXPECT_TRUE(dialogs::GetTooltip(languages, complete, 539).isEmpty());

  QMenu menu;
  EXPECT_EQ(dialogs::BuildMenu(languages, 240, menu), 5);
  std::vector<std::uint32_t> commands;
  int separators = 0;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) {
      ++separators;
    } else {
      commands.push_back(dialogs::MenuCommand(action));
    }
  }
  EXPECT_EQ(commands, (std::vector<std::uint32_t>{1, 3, 5}));
  EXPECT_EQ(separators, 2);
  QMenu none;
  EXPECT_EQ(dialogs::BuildMenu(languages, 239, none), 0);
  EXPECT_TRUE(none.actions().isEmpty());
}

}  // namespace
