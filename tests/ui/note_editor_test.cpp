// The note editor on a logged-in user: new and changed notes reach the user's file, titles stay
// unique within a folder, the icon kind switches the captions, the copy and generate buttons,
// and the attached files through the buttons, the context menu and double clicks.
#include "ui/note_editor.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTest>
#include <ctime>
#include <map>
#include <tuple>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "support/logged_in.h"
#include "ui/controls/list_ctrl.h"
#include "ui/generator_dlg.h"

namespace test {
namespace {

using Dlg = CKNoteDlg;
using Messages_ = std::vector<std::string>;

CKListCtrl& List(Dlg& editor) {
  return *editor.Item<CKListCtrl>(Dlg::kAttachments);
}

// Chooses from the attachment list's context menu, opened below its rows.
std::map<std::uint32_t, bool> ChooseFromMenu(Dlg& editor, std::uint32_t command) {
  QWidget* viewport = List(editor).viewport();
  return ChooseFromContextMenu(viewport, QPoint(5, viewport->height() - 5), command);
}

using NoteEditor = LoggedInTest;

TEST_F(NoteEditor, ANewNoteIsWrittenOnOkAndReachesTheUsersFile) {
  const auto before = static_cast<std::uint32_t>(std::time(nullptr));
  const std::tuple<int, std::uint32_t, std::u16string> fields[] = {
      {Dlg::kTitle, TAG_NAME, u"Post office"},
      {Dlg::kLogin, TAG_LOGIN, u"ada.l"},
      {Dlg::kPassword, TAG_PASSWORD, u"s3cret \"quoted\""},
      {Dlg::kEmail, TAG_EMAIL, u"ada@example.org"},
      {Dlg::kUrl, TAG_URL, u"https://post.example.org/login"}};
  WhenRunning<Dlg>([&](Dlg& editor) {
    EXPECT_FALSE(TextOf(editor, Dlg::kCreated).isEmpty());
    EXPECT_EQ(TextOf(editor, Dlg::kCreated), TextOf(editor, Dlg::kModified));
    // Passwords are hidden by default; what is typed is still what is kept.
    EXPECT_EQ(editor.Item<QLineEdit>(Dlg::kPassword)->echoMode(), QLineEdit::Password);
    for (const auto& [id, tag, text] : fields) {
      Type(editor, id, QString::fromStdU16String(text));
    }
    editor.Item<QPlainTextEdit>(Dlg::kText)->setPlainText(QStringLiteral("Line one\nLine two"));
    Click(editor, CKDialog::kIdOk);
  });
  ASSERT_NE(database::AddNewEntry(root(), ENTRY_NOTE, nullptr, nullptr), nullptr);
  EXPECT_TRUE(Messages().empty());

  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = Child(reread->GetEntriesRoot(), u"post office");
  ASSERT_NE(stored, nullptr);
  for (const auto& [id, tag, text] : fields) {
    EXPECT_EQ(Field(*stored, tag), text) << id;
  }
  EXPECT_EQ(Field(*stored, TAG_TEXT), u"Line one\nLine two");
  EXPECT_EQ(Number(*stored, TAG_ICON), 0u);
  EXPECT_GE(Number(*stored, TAG_MODIFIED), before);
}

TEST_F(NoteEditor, TheIconKindSwitchesCaptionsAndCancelWritesNothing) {
  CKTLVARRAY& note = AddNote(root(), u"Editor licence");
  QImage first_image;
  WhenRunning<Dlg>([&](Dlg& editor) {
    first_image = editor.Item<QLabel>(Dlg::kIcon)->pixmap().toImage();
    EXPECT_EQ(TextOf(editor, Dlg::kLoginCaption), Text(6, 1));
    EXPECT_TRUE(editor.GetDlgItem(Dlg::kOpenUrl)->isVisible());
    Click(editor, Dlg::kIcon);
    EXPECT_EQ(editor.GetIconKind(), 1u);
    const int captions[] = {Dlg::kLoginCaption, Dlg::kPasswordCaption, Dlg::kEmailCaption,
                            Dlg::kUrlCaption};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(TextOf(editor, captions[i]), Text(6, 16 + i)) << i;
    }
    EXPECT_FALSE(editor.GetDlgItem(Dlg::kOpenUrl)->isVisible());
    EXPECT_NE(editor.Item<QLabel>(Dlg::kIcon)->pixmap().toImage(), first_image);
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  const auto reread = SaveAndReopen();
  EXPECT_EQ(Number(*Child(reread->GetEntriesRoot(), u"Editor licence"), TAG_ICON), 1u);

  note.SetDwordByTag(TAG_CREATED, 1'000'000'000);  // 9 September 2001
  note.RemoveChild(note.FindChild(TAG_MODIFIED));
  WhenRunning<Dlg>([&](Dlg& editor) {
    const QDate date = QDateTime::fromSecsSinceEpoch(1'000'000'000).date();
    EXPECT_TRUE(TextOf(editor, Dlg::kCreated)
                    .startsWith(QLocale::system().toString(date, QLocale::ShortFormat) + ' '));
    EXPECT_TRUE(TextOf(editor, Dlg::kModified).isEmpty());  // a time the note lacks
    Click(editor, Dlg::kIcon);
    EXPECT_EQ(TextOf(editor, Dlg::kLoginCaption), Text(6, 1));
    EXPECT_EQ(editor.Item<QLabel>(Dlg::kIcon)->pixmap().toImage(), first_image);
    EXPECT_TRUE(editor.GetDlgItem(Dlg::kOpenUrl)->isVisible());
    Replace(editor, Dlg::kTitle, QStringLiteral("Changed"));
    Replace(editor, Dlg::kLogin, QStringLiteral("someone"));
    Click(editor, CKDialog::kIdCancel);
  });
  EXPECT_FALSE(database::EditEntry(note));
  EXPECT_EQ(Field(note, TAG_NAME), u"Editor licence");
  EXPECT_EQ(Field(note, TAG_LOGIN), u"");
  EXPECT_EQ(Number(note, TAG_ICON), 1u);
}

TEST_F(NoteEditor, TitlesAreNeededAndUniqueInTheFolderLetterCaseAside) {
  AddFolder(root(), u"Bank");
  CKTLVARRAY& note = AddNote(root(), u"Mail");
  AddNote(AddFolder(root(), u"Elsewhere"), u"Post");  // a name in another folder does not count
  WhenRunning<Dlg>([&](Dlg& editor) {
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
  EXPECT_EQ(Messages(), (Messages_{Message(3), Message(4)}));

  WhenRunning<Dlg>([&](Dlg& editor) {
    Replace(editor, Dlg::kTitle, QStringLiteral("Post"));
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  const auto reread = SaveAndReopen();
  EXPECT_NE(Child(reread->GetEntriesRoot(), u"post"), nullptr);
  EXPECT_EQ(Child(reread->GetEntriesRoot(), u"mail"), nullptr);
}

TEST_F(NoteEditor, CopyAndGenerateWorkOnWhatIsTyped) {
  CKTLVARRAY& note = AddNote(root(), u"Router", u"admin", u"stored secret");
  QString generated;
  WhenRunning<Dlg>([&](Dlg& editor) {
    Click(editor, Dlg::kCopyPassword);  // hidden, still the real password
    EXPECT_EQ(ClipboardText(), QStringLiteral("stored secret"));
    Type(editor, Dlg::kEmail, QStringLiteral("a@b.example"));
    Click(editor, Dlg::kCopyEmail);
    EXPECT_EQ(ClipboardText(), QStringLiteral("a@b.example"));
    Click(editor, Dlg::kCopyUrl);  // nothing there: the clipboard ends up empty
    EXPECT_TRUE(ClipboardText().isEmpty());

    WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& generator) {
      EXPECT_TRUE(generator.IsPickMode());
      Click(generator, CKGeneratorDlg::kGenerate);
      Type(generator, CKGeneratorDlg::kResult, QStringLiteral("!"));  // edited by hand
      generated = TextOf(generator, CKGeneratorDlg::kResult);
      Click(generator, CKDialog::kIdOk);
    });
    Click(editor, Dlg::kGeneratePassword);
    EXPECT_EQ(generated.size(), 15);
    EXPECT_EQ(TextOf(editor, Dlg::kPassword), generated);
    WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& generator) {
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

TEST_F(NoteEditor, FilesUpToTheLimitAreAttachedAndSavedBackIdenticalAndFaultyOnesChangeNothing) {
  CKTLVARRAY& note = AddNote(root(), u"Scans");
  const auto passport = MakeFile(files() / "passport.pdf", 150'000);
  const auto empty = MakeFile(files() / "empty.txt", 0);
  const auto largest = MakeFile(files() / "largest.bin", 16'777'215, true);
  const auto huge = MakeFile(files() / "huge.iso", 16'777'216, true);
  // A file that is overwritten takes the owner-only mode too.
  const auto back = MakeFile(files() / "passport back.pdf", 10);
  std::filesystem::permissions(back, std::filesystem::perms(0644));
  WhenRunning<Dlg>([&](Dlg& editor) {
    // A folder cannot be read as a file; one byte over the limit is refused.
    for (const auto& file : {passport, files(), huge, empty, largest}) {
      test_core().choosers().QueueFile(file);
      Click(editor, Dlg::kAddFile);
    }
    ASSERT_EQ(List(editor).GetRowCount(), 3);
    // Sorted by name, the size standing for the missing description.
    const QAbstractItemModel& rows = *List(editor).model();
    EXPECT_EQ(rows.index(0, 0).data().toString(), QStringLiteral("empty.txt"));
    EXPECT_EQ(rows.index(2, 0).data().toString(), QStringLiteral("passport.pdf"));
    EXPECT_EQ(rows.index(2, 1).data().toString(), QStringLiteral("146.4 Kb"));
    List(editor).selectRow(2);
    for (const auto& target : {back, files() / "no such folder" / "x.txt"}) {
      test_core().choosers().QueueFile(target);
      Click(editor, Dlg::kSaveFile);
    }
    Click(editor, CKDialog::kIdOk);
  });
  EXPECT_TRUE(database::EditEntry(note));
  EXPECT_EQ(ReadWhole(back), ReadWhole(passport));
  EXPECT_EQ(ModeOf(back), 0600u);
  ASSERT_EQ(Messages().size(), 4u);
  EXPECT_NE(Messages()[0].find(files().string()), std::string::npos) << Messages()[0];
  EXPECT_EQ(Messages()[1], Message(13));
  EXPECT_EQ(Messages()[2], Message(28, back.string()));
  EXPECT_NE(Messages()[3].find("x.txt"), std::string::npos) << Messages()[3];

  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = Child(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(stored, nullptr);
  const auto attachments = Attachments(*stored);
  ASSERT_EQ(attachments.size(), 3u);
  EXPECT_EQ(Field(*attachments[0], TAG_FILE_NAME), u"passport.pdf");
  EXPECT_EQ(Content(*attachments[0]), ReadWhole(passport));
  EXPECT_NE(Number(*attachments[0], TAG_FILE_MODIFIED), 0u);
  EXPECT_TRUE(Content(*attachments[1]).empty());
  EXPECT_EQ(Number(*attachments[2], TAG_FILE_SIZE), 16'777'215u);
}

TEST_F(NoteEditor, AttachmentsGoThroughTheMenuAndDoubleClicksAndCancelStillKeepsTheirChanges) {
  CKTLVARRAY& note = AddNote(root(), u"Scans");
  const auto first = MakeFile(files() / "a.txt", 33);
  WhenRunning<Dlg>([&](Dlg& editor) {
    test_core().choosers().QueueFile(first);
    const std::map<std::uint32_t, bool> offered = {
        {Dlg::kMenuAddFile, true}, {Dlg::kMenuSaveAs, false}, {Dlg::kMenuDelete, false}};
    EXPECT_EQ(ChooseFromMenu(editor, Dlg::kMenuAddFile), offered);
    EXPECT_EQ(List(editor).GetRowCount(), 1);
    Click(editor, CKDialog::kIdOk);
  });
  ASSERT_TRUE(database::EditEntry(note));
  ASSERT_EQ(user().Save(), 0);

  const auto second = MakeFile(files() / "b.txt", 7);
  WhenRunning<Dlg>([&](Dlg& editor) {
    List(editor).clearSelection();
    Click(editor, Dlg::kDeleteFile);  // nothing selected
    List(editor).selectRow(0);
    Click(editor, Dlg::kDeleteFile);  // answered No
    EXPECT_EQ(List(editor).GetRowCount(), 1);
    test_core().messages().QueueAnswer(true);
    EXPECT_TRUE(ChooseFromMenu(editor, Dlg::kMenuDelete)[Dlg::kMenuDelete]);
    EXPECT_EQ(List(editor).GetRowCount(), 0);
    // A double click on the empty list adds a file, one on a row saves it.
    QWidget* viewport = List(editor).viewport();
    test_core().choosers().QueueFile(second);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(5, viewport->height() - 5));
    ASSERT_EQ(List(editor).GetRowCount(), 1);
    test_core().choosers().QueueFile(files() / "double clicked.txt");
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier,
                       List(editor).visualRect(List(editor).model()->index(0, 0)).center());
    Replace(editor, Dlg::kTitle, QStringLiteral("Not written"));
    Click(editor, CKDialog::kIdCancel);
  });
  // Cancelled, yet the attachments changed: the caller is told to save.
  EXPECT_TRUE(database::EditEntry(note));
  const auto& shown = test_core().messages().shown();
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(platform::ToUtf8(shown[0].text), Message(5));
  EXPECT_TRUE(shown[1].question);
  EXPECT_NE(shown[1].text.find(u"\"a.txt\""), std::u16string::npos);
  EXPECT_EQ(ReadWhole(files() / "double clicked.txt"), ReadWhole(second));

  const auto reread = SaveAndReopen();
  CKTLVARRAY* stored = Child(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(Attachments(*stored).size(), 1u);
  EXPECT_EQ(Field(*Attachments(*stored)[0], TAG_FILE_NAME), u"b.txt");
}

}  // namespace
}  // namespace test
