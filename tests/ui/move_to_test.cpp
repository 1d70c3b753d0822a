// The move-to dialog: the destinations in tree order with the root first, a note moved into
// another folder and saved, and the moves that are refused with the tree unchanged.
#include <functional>

#include "core/core.h"
#include "database/entries.h"
#include "editor_fixture.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "support/dialog_driver.h"
#include "ui/controls/combo_box_ex.h"
#include "ui/controls/list_ctrl.h"
#include "ui/move_to_dlg.h"

namespace {

using Dlg = CKMoveToDlg;
using test::Click;
using test::Field;

CKComboBoxEx& Destinations(Dlg& dialog) {
  return *dialog.Item<CKComboBoxEx>(Dlg::kDestination);
}

void Choose(Dlg& dialog, const CKTLVARRAY& folder) {
  ASSERT_TRUE(Destinations(dialog).SelectEntry(&folder));
}

class MoveTo : public test::EditorTest {
 protected:
  // root: Bank (Cards (Old)), Home, note "pin" in the root.
  void SetUp() override {
    test::EditorTest::SetUp();
    bank_ = &AddFolder(root(), u"Bank");
    cards_ = &AddFolder(*bank_, u"Cards");
    old_ = &AddFolder(*cards_, u"Old");
    home_ = &AddFolder(root(), u"Home");
    pin_ = &AddNote(root(), u"pin");
  }

  // Runs the dialog for the entry; the action drives it.
  bool Run(CKTLVARRAY& entry, std::function<void(Dlg&)> action) {
    test::WhenRunning<Dlg>(std::move(action));
    return RunMoveToDialog(entry, nullptr);
  }

  CKTLVARRAY *bank_, *cards_, *old_, *home_, *pin_;
};

TEST_F(MoveTo, DestinationsReadRootFirstThenEachFolderBeforeItsSubfolders) {
  QStringList shown;
  const bool moved = Run(*pin_, [&](Dlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), Text(12, 255));
    CKComboBoxEx& combo = Destinations(dialog);
    for (int i = 0; i < combo.count(); ++i) {
      shown << combo.itemText(i);
    }
    EXPECT_EQ(combo.GetSelectedEntry(), &root());
    auto* list = dialog.Item<CKListCtrl>(Dlg::kEntry);
    ASSERT_EQ(list->GetRowCount(), 1);
    EXPECT_EQ(list->GetEntryAt(0), pin_);
    Click(dialog, CKDialog::kIdCancel);
  });
  EXPECT_FALSE(moved);
  EXPECT_EQ(shown,
            (QStringList{QStringLiteral("<    ROOT    >"), QStringLiteral("Bank"),
                         QStringLiteral("Cards"), QStringLiteral("Old"), QStringLiteral("Home")}));
  // The combo's label for the root does not stay behind in the path line.
  EXPECT_TRUE(database::GetName(root()).empty());
}

TEST_F(MoveTo, ANoteMovesIntoAnotherFolderAndGoesLastThere) {
  AddNote(*home_, u"alarm");
  EXPECT_TRUE(Run(*pin_, [&](Dlg& dialog) {
    Choose(dialog, *home_);
    Click(dialog, CKDialog::kIdOk);
  }));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(pin_->GetParent(), home_);
  EXPECT_EQ(database::FindEntryByName(root(), u"pin"), nullptr);

  const auto reread = SaveAndReopen();
  CKTLVARRAY* home = database::FindEntryByName(reread->GetEntriesRoot(), u"Home");
  ASSERT_NE(home, nullptr);
  auto* last = dynamic_cast<CKTLVARRAY*>(home->GetChild(home->GetChildCount() - 1));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(Field(*last, TAG_NAME), u"pin");
}

TEST_F(MoveTo, MovesIntoTheSameFolderItselfOrItsSubtreeOrOntoANameAreRefused) {
  AddNote(*home_, u"PIN");
  EXPECT_FALSE(Run(*bank_, [&](Dlg& dialog) {
    Click(dialog, CKDialog::kIdOk);  // the root: where it is already
    Choose(dialog, *bank_);
    Click(dialog, CKDialog::kIdOk);
    Choose(dialog, *old_);
    Click(dialog, CKDialog::kIdOk);
    EXPECT_TRUE(dialog.IsRunning());
    Click(dialog, CKDialog::kIdCancel);
  }));
  EXPECT_FALSE(Run(*pin_, [&](Dlg& dialog) {
    Choose(dialog, *home_);  // holds "PIN"
    Click(dialog, CKDialog::kIdOk);
    EXPECT_TRUE(dialog.IsRunning());
    Click(dialog, CKDialog::kIdCancel);
  }));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{Message(20), Message(20), Message(20), Message(21)}));
  EXPECT_EQ(bank_->GetParent(), &root());
  EXPECT_EQ(pin_->GetParent(), &root());
  EXPECT_EQ(cards_->GetParent(), bank_);

  // A folder into a sibling folder is fine, subtree and all.
  EXPECT_TRUE(Run(*bank_, [&](Dlg& dialog) {
    Choose(dialog, *home_);
    Click(dialog, CKDialog::kIdOk);
  }));
  EXPECT_EQ(bank_->GetParent(), home_);
  EXPECT_EQ(old_->GetParent(), cards_);
}

}  // namespace
