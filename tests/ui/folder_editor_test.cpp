// The folder editor: a new folder and a renamed one reach the user's file; names are needed,
// at most 64 characters and unique in the parent folder; the icon alternates.
#include "ui/folder_editor.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/core.h"
#include "database/entries.h"
#include "editor_fixture.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "support/dialog_driver.h"

namespace {

using Dlg = CKFolderDlg;
using test::Click;
using test::Field;
using test::Number;
using test::Replace;
using test::TextOf;
using test::Type;

class FolderEditor : public test::EditorTest {};

TEST_F(FolderEditor, ANewFolderWithItsLimitsAndSecondIconReachesTheFile) {
  const QString long_name(70, QLatin1Char('n'));
  const QString long_text(300, QLatin1Char('t'));
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    EXPECT_EQ(editor.windowTitle(), Text(7, 255));
    EXPECT_EQ(TextOf(editor, Dlg::kNameCaption), Text(7, 0));
    EXPECT_EQ(editor.GetIconIndex(), 10u);
    std::vector<std::uint32_t> icons;
    for (int click = 0; click < 3; ++click) {
      Click(editor, Dlg::kIcon);
      icons.push_back(editor.GetIconIndex());
    }
    EXPECT_EQ(icons, (std::vector<std::uint32_t>{11, 10, 11}));
    Type(editor, Dlg::kName, long_name);  // the 65th character cannot be typed
    EXPECT_EQ(TextOf(editor, Dlg::kName).size(), 64);
    editor.Item<QPlainTextEdit>(Dlg::kDescription)->setPlainText(long_text);
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

TEST_F(FolderEditor, NamesAreNeededAndUniqueInTheParentFolderLetterCaseAside) {
  CKTLVARRAY& folder = AddFolder(root(), u"Travel");
  AddNote(root(), u"Passport");
  CKTLVARRAY& inner = AddFolder(folder, u"Hotels");
  AddNote(inner, u"travel");  // a name one level down does not count
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Replace(editor, Dlg::kName, QString());
    Click(editor, CKDialog::kIdOk);
    Replace(editor, Dlg::kName, QStringLiteral("PASSPORT"));
    Click(editor, CKDialog::kIdOk);
    EXPECT_TRUE(editor.IsRunning());
    Replace(editor, Dlg::kName, QStringLiteral("travel"));
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(folder));
  EXPECT_EQ(Messages(), (std::vector<std::string>{Message(3), Message(4)}));
  EXPECT_EQ(Field(folder, TAG_NAME), u"travel");

  // A new folder is checked against the folder it is made in.
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Type(editor, Dlg::kName, QStringLiteral("HOTELS"));
    Click(editor, CKDialog::kIdOk);
    EXPECT_TRUE(editor.IsRunning());
    Click(editor, CKDialog::kIdCancel);
  });
  EXPECT_EQ(database::AddNewEntry(folder, ENTRY_FOLDER, nullptr, nullptr), nullptr);
  EXPECT_EQ(folder.GetChildCount(), 4u);  // three fields and the one subfolder
}

TEST_F(FolderEditor, CancelLeavesTheFolderAsItWas) {
  CKTLVARRAY& folder = AddFolder(root(), u"Work");
  folder.SetDwordByTag(TAG_ICON, 3);  // an index below the pair steps up one by one
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Click(editor, Dlg::kIcon);
    EXPECT_EQ(editor.GetIconIndex(), 4u);
    Replace(editor, Dlg::kName, QStringLiteral("Play"));
    Click(editor, CKDialog::kIdCancel);
  });
  EXPECT_FALSE(database::EditEntry(folder));
  EXPECT_EQ(Field(folder, TAG_NAME), u"Work");
  EXPECT_EQ(Number(folder, TAG_ICON), 3u);
}

}  // namespace
