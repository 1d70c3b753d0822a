// The note editor on a logged-in user: new and changed notes reach the user's file, names stay
// unique within a folder, the icon kind switches the captions, the copy and generate buttons.
#include "ui/note_editor.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <ctime>

#include "core/core.h"
#include "database/entries.h"
#include "editor_fixture.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "languages/text_ids.h"
#include "support/dialog_driver.h"
#include "ui/generator_dlg.h"

namespace {

using Dlg = CKNoteDlg;
using test::Click;
using test::Field;
using test::Number;
using test::Replace;
using test::TextOf;
using test::Type;

QString Clipboard() {
  return QGuiApplication::clipboard()->text();
}

class NoteEditor : public test::EditorTest {};

TEST_F(NoteEditor, ANewNoteIsWrittenOnOkAndReachesTheUsersFile) {
  const auto before = static_cast<std::uint32_t>(std::time(nullptr));
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    EXPECT_EQ(editor.windowTitle(), Text(6, 255));
    EXPECT_EQ(TextOf(editor, Dlg::kPasswordCaption), Text(5, 2));
    EXPECT_FALSE(TextOf(editor, Dlg::kCreated).isEmpty());
    EXPECT_EQ(TextOf(editor, Dlg::kCreated), TextOf(editor, Dlg::kModified));
    // Passwords are hidden by default; what is typed is still what is kept.
    EXPECT_EQ(editor.Item<QLineEdit>(Dlg::kPassword)->echoMode(), QLineEdit::Password);
    Type(editor, Dlg::kTitle, QStringLiteral("Post office"));
    Type(editor, Dlg::kLogin, QStringLiteral("ada.l"));
    Type(editor, Dlg::kPassword, QStringLiteral("s3cret \"quoted\""));
    Type(editor, Dlg::kEmail, QStringLiteral("ada@example.org"));
    Type(editor, Dlg::kUrl, QStringLiteral("https://post.example.org/login"));
    editor.Item<QPlainTextEdit>(Dlg::kText)->setPlainText(QStringLiteral("Line one\nLine two"));
    Click(editor, CKDialog::kIdOk);
  });
  CKTLVARRAY* note = database::AddNewEntry(root(), ENTRY_NOTE, nullptr, nullptr);
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(Messages().empty());

  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = database::FindEntryByName(reread->GetEntriesRoot(), u"post office");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(Field(*stored, TAG_NAME), u"Post office");
  EXPECT_EQ(Field(*stored, TAG_LOGIN), u"ada.l");
  EXPECT_EQ(Field(*stored, TAG_PASSWORD), u"s3cret \"quoted\"");
  EXPECT_EQ(Field(*stored, TAG_EMAIL), u"ada@example.org");
  EXPECT_EQ(Field(*stored, TAG_URL), u"https://post.example.org/login");
  EXPECT_EQ(Field(*stored, TAG_TEXT), u"Line one\nLine two");
  EXPECT_EQ(Number(*stored, TAG_ICON), 0u);
  EXPECT_GE(Number(*stored, TAG_MODIFIED), before);
}

TEST_F(NoteEditor, CancelWritesNothingAndANewNoteIsDropped) {
  CKTLVARRAY& note = AddNote(root(), u"Kept");
  note.SetDwordByTag(TAG_CREATED, 1'000'000'000);  // 9 September 2001
  note.RemoveChild(note.FindChild(TAG_MODIFIED));
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    const QDate date = QDateTime::fromSecsSinceEpoch(1'000'000'000).date();
    EXPECT_TRUE(TextOf(editor, Dlg::kCreated)
                    .startsWith(QLocale::system().toString(date, QLocale::ShortFormat) + ' '));
    EXPECT_TRUE(TextOf(editor, Dlg::kModified).isEmpty());  // a time the note lacks
    Replace(editor, Dlg::kTitle, QStringLiteral("Changed"));
    Replace(editor, Dlg::kLogin, QStringLiteral("someone"));
    Click(editor, CKDialog::kIdCancel);
  });
  EXPECT_FALSE(database::EditEntry(note));
  EXPECT_EQ(Field(note, TAG_NAME), u"Kept");
  EXPECT_EQ(Field(note, TAG_LOGIN), u"");

  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Type(editor, Dlg::kTitle, QStringLiteral("Never"));
    editor.close();  // the close box is Cancel
  });
  EXPECT_EQ(database::AddNewEntry(root(), ENTRY_NOTE, nullptr, nullptr), nullptr);
  EXPECT_EQ(root().GetChildCount(), 1u);
}

TEST_F(NoteEditor, TitlesAreNeededAndUniqueInTheFolderLetterCaseAside) {
  AddFolder(root(), u"Bank");
  CKTLVARRAY& note = AddNote(root(), u"Mail");
  CKTLVARRAY& other_folder = AddFolder(root(), u"Elsewhere");
  AddNote(other_folder, u"Post");  // a name in another folder does not count
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Replace(editor, Dlg::kTitle, QString());
    Click(editor, CKDialog::kIdOk);
    EXPECT_TRUE(editor.IsRunning());
    Replace(editor, Dlg::kTitle, QStringLiteral("bANK"));  // a sibling folder
    Click(editor, CKDialog::kIdOk);
    EXPECT_TRUE(editor.IsRunning());
    EXPECT_EQ(Field(note, TAG_NAME), u"Mail");
    Replace(editor, Dlg::kTitle, QStringLiteral("MAIL"));  // its own name in other case
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  EXPECT_EQ(Messages(), (std::vector<std::string>{Message(3), Message(4)}));

  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Replace(editor, Dlg::kTitle, QStringLiteral("Post"));
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  const auto reread = SaveAndReopen();
  EXPECT_NE(database::FindEntryByName(reread->GetEntriesRoot(), u"post"), nullptr);
  EXPECT_EQ(database::FindEntryByName(reread->GetEntriesRoot(), u"mail"), nullptr);
}

TEST_F(NoteEditor, TheIconKindSwitchesCaptionsAndTheOpenButton) {
  CKTLVARRAY& note = AddNote(root(), u"Editor licence");
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    const QString login_caption = TextOf(editor, Dlg::kLoginCaption);
    const QPixmap first_image = editor.Item<QLabel>(Dlg::kIcon)->pixmap();
    EXPECT_EQ(login_caption, Text(6, 1));
    EXPECT_TRUE(editor.GetDlgItem(Dlg::kOpenUrl)->isVisible());
    Click(editor, Dlg::kIcon);
    EXPECT_EQ(editor.GetIconKind(), 1u);
    EXPECT_EQ(TextOf(editor, Dlg::kLoginCaption), Text(6, 16));
    EXPECT_EQ(TextOf(editor, Dlg::kPasswordCaption), Text(6, 17));
    EXPECT_EQ(TextOf(editor, Dlg::kEmailCaption), Text(6, 18));
    EXPECT_EQ(TextOf(editor, Dlg::kUrlCaption), Text(6, 19));
    EXPECT_FALSE(editor.GetDlgItem(Dlg::kOpenUrl)->isVisible());
    EXPECT_NE(editor.Item<QLabel>(Dlg::kIcon)->pixmap().toImage(), first_image.toImage());
    Click(editor, Dlg::kIcon);
    EXPECT_EQ(TextOf(editor, Dlg::kLoginCaption), login_caption);
    EXPECT_EQ(editor.Item<QLabel>(Dlg::kIcon)->pixmap().toImage(), first_image.toImage());
    EXPECT_TRUE(editor.GetDlgItem(Dlg::kOpenUrl)->isVisible());
    Click(editor, Dlg::kIcon);
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = database::FindEntryByName(reread->GetEntriesRoot(), u"Editor licence");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(Number(*stored, TAG_ICON), 1u);
}

TEST_F(NoteEditor, CopyAndGenerateWorkOnWhatIsTyped) {
  CKTLVARRAY& note = AddNote(root(), u"Router");
  note.SetStringByTag(TAG_PASSWORD, u"stored secret");
  note.SetStringByTag(TAG_LOGIN, u"admin");
  QString generated;
  test::WhenRunning<Dlg>([&](Dlg& editor) {
    Click(editor, Dlg::kCopyPassword);  // hidden, still the real password
    EXPECT_EQ(Clipboard(), QStringLiteral("stored secret"));
    Type(editor, Dlg::kEmail, QStringLiteral("a@b.example"));
    Click(editor, Dlg::kCopyEmail);
    EXPECT_EQ(Clipboard(), QStringLiteral("a@b.example"));
    Click(editor, Dlg::kCopyUrl);  // nothing there: the clipboard ends up empty
    EXPECT_TRUE(Clipboard().isEmpty());

    test::WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& generator) {
      EXPECT_TRUE(generator.IsPickMode());
      Click(generator, CKGeneratorDlg::kGenerate);
      test::Type(generator, CKGeneratorDlg::kResult, QStringLiteral("!"));  // edited by hand
      generated = TextOf(generator, CKGeneratorDlg::kResult);
      Click(generator, CKDialog::kIdOk);
    });
    Click(editor, Dlg::kGeneratePassword);
    EXPECT_EQ(generated.size(), 15);
    EXPECT_EQ(TextOf(editor, Dlg::kPassword), generated);
    test::WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& generator) {
      Click(generator, CKGeneratorDlg::kGenerate);
      Click(generator, CKDialog::kIdCancel);
    });
    Click(editor, Dlg::kGenerateLogin);
    EXPECT_EQ(TextOf(editor, Dlg::kLogin), QStringLiteral("admin"));
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  EXPECT_EQ(QString::fromStdU16String(Field(note, TAG_PASSWORD)), generated);
  EXPECT_EQ(Field(note, TAG_EMAIL), u"a@b.example");
}

}  // namespace
