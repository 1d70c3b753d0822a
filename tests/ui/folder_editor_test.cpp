// The folder editor and the move-to dialog on a logged-in user: a new folder reaches the user's
// file with its limits and icon; names are needed and unique in the parent folder; the move-to
// dialog lists the folders in tree order and refuses the moves that cannot be.
#include "ui/folder_editor.h"

#include <functional>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "support/dialog_driver.h"
#include "support/logged_in.h"

namespace test {
namespace {

using Dlg = CKFolderDlg;
using Messages_ = std::vector<std::string>;

using FolderEditor = LoggedInTest;

TEST_F(FolderEditor, ANewFolderWithItsLimitsAndSecondIconReachesTheFile) {
  WhenRunning<Dlg>([&](Dlg& editor) {
    EXPECT_EQ(editor.GetIconIndex(), 10u);
    std::vector<std::uint32_t> icons;
    for (int click = 0; click < 3; ++click) {
      Click(editor, Dlg::kIcon);
      icons.push_back(editor.GetIconIndex());
    }
    EXPECT_EQ(icons, (std::vector<std::uint32_t>{11, 10, 11}));
    Type(editor, Dlg::kName, QString(70, QLatin1Char('n')));  // the 65th cannot be typed
    EXPECT_EQ(TextOf(editor, Dlg::kName).size(), 64);
    Replace(editor, Dlg::kDescription, QString(300, QLatin1Char('t')));
    Click(editor, CKDialog::kIdOk);
  });
  ASSERT_NE(database::AddNewEntry(root(), ENTRY_FOLDER, nullptr, nullptr), nullptr);

  const auto reread = SaveAndReopen();
  ASSERT_EQ(reread->GetEntriesRoot().GetChildCount(), 1u);
  const auto& stored = *static_cast<CKTLVARRAY*>(reread->GetEntriesRoot().GetChild(0));
  EXPECT_EQ(stored.GetTag(), ENTRY_FOLDER);
  EXPECT_EQ(Field(stored, TAG_NAME), std::u16string(64, u'n'));
  EXPECT_EQ(Field(stored, TAG_TEXT), std::u16string(256, u't'));
  EXPECT_EQ(Number(stored, TAG_ICON), 11u);
}

TEST_F(FolderEditor, NamesAreNeededAndUniqueInTheParentFolderLetterCaseAsideAndCancelKeepsAll) {
  CKTLVARRAY& folder = AddFolder(root(), u"Travel");
  folder.SetDwordByTag(TAG_ICON, 3);  // an index below the pair steps up one by one
  AddNote(root(), u"Passport");
  AddNote(AddFolder(folder, u"Hotels"), u"travel");  // a name one level down does not count
  WhenRunning<Dlg>([&](Dlg& editor) {
    Click(editor, Dlg::kIcon);
    EXPECT_EQ(editor.GetIconIndex(), 4u);
    Replace(editor, Dlg::kName, QString());
    Click(editor, CKDialog::kIdOk);
    Replace(editor, Dlg::kName, QStringLiteral("PASSPORT"));
    Click(editor, CKDialog::kIdOk);
    EXPECT_TRUE(editor.IsRunning());
    Click(editor, CKDialog::kIdCancel);
  });
  EXPECT_FALSE(database::EditEntry(folder));
  EXPECT_EQ(Field(folder, TAG_NAME), u"Travel");
  EXPECT_EQ(Number(folder, TAG_ICON), 3u);
  EXPECT_EQ(Messages(), (Messages_{Message(3), Message(4)}));

  WhenRunning<Dlg>([&](Dlg& editor) {
    Replace(editor, Dlg::kName, QStringLiteral("travel"));
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(folder));
  EXPECT_EQ(Field(folder, TAG_NAME), u"travel");

  // A new folder is checked against the folder it is made in.
  WhenRunning<Dlg>([&](Dlg& editor) {
    Type(editor, Dlg::kName, QStringLiteral("HOTELS"));
    Click(editor, CKDialog::kIdOk);
    EXPECT_TRUE(editor.IsRunning());
    Click(editor, CKDialog::kIdCancel);
  });
  EXPECT_EQ(database::AddNewEntry(folder, ENTRY_FOLDER, nullptr, nullptr), nullptr);
  EXPECT_EQ(folder.GetChildCount(), 4u);  // three fields and the one subfolder
}

}  // namespace
}  // namespace test
