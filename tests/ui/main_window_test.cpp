// The main window's list and menus: making, opening and deleting entries, the way through the
// tree, the search, the copies to the clipboard and the tools; each change checked in the
// user's file as it is on disk.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <fstream>
#include <map>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "languages/menus.h"
#include "main_window_fixture.h"
#include "platform/format.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "ui/clipboard.h"
#include "ui/controls/list_ctrl.h"
#include "ui/dialog_texts.h"
#include "ui/edit_database_dlg.h"
#include "ui/help.h"
#include "ui/main_window_web.h"

namespace test {
namespace {

using Rows_ = std::vector<std::string>;
using Dlg = CVaultQuillDlg;

TEST_F(MainWindowTest, EntriesGoIntoTheFolderShownInOrderWithTheDefaultsWhenWantedSavedAtOnce) {
  CKSettingsUserBased& options = core().m_SettingsUserBased;
  options.boolAutoFillNewNotesWithDefaults = true;
  options.stringDefaultLogin = u"ada.l";
  options.intPasswordLength = 14;
  EXPECT_TRUE(Run([&](Dlg& window) {
    EXPECT_EQ(Rows(window), Rows_{});  // the root has no up row
    scripted_.Queue(Named(u"Banking"));
    Press(window, Qt::CTRL | Qt::Key_F);
    EXPECT_NE(Child(Reopen()->GetEntriesRoot(), u"Banking"), nullptr);
    scripted_.Queue(Named(u"b mail"));
    Press(window, Qt::CTRL | Qt::Key_N);
    options.boolAutoFillNewNotesWithDefaults = false;
    scripted_.Queue(Named(u"Zulu"));
    QTest::mouseClick(window.GetDlgItem(Dlg::kNewNoteButton), Qt::LeftButton);
    scripted_.Queue(Named(u"Archive"));
    window.MenuAction(menus::kCmdNewFolder)->trigger();
    // Folders before notes; within them "Z" before "b".
    EXPECT_EQ(Rows(window), (Rows_{"Archive", "Banking", "Zulu", "b mail"}));
    const auto saved = Reopen();
    ASSERT_NE(Child(saved->GetEntriesRoot(), u"b mail"), nullptr);
    EXPECT_EQ(Field(*Child(saved->GetEntriesRoot(), u"b mail"), TAG_LOGIN), u"ada.l");
    EXPECT_EQ(Field(*Child(saved->GetEntriesRoot(), u"b mail"), TAG_PASSWORD).size(), 14u);
    EXPECT_EQ(Field(*Child(saved->GetEntriesRoot(), u"Zulu"), TAG_PASSWORD), u"");

    ClickRow(window, u"Banking", true);
    EXPECT_EQ(TextOf(window, Dlg::kPath), QStringLiteral("Banking \\ "));
    scripted_.Queue(Named(u"Card", u"4711"));
    Press(window, Qt::CTRL | Qt::Key_N);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Card"}));
    const auto with_card = Reopen();
    CKTLVARRAY* card = Child(*Child(with_card->GetEntriesRoot(), u"Banking"), u"Card");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(Field(*card, TAG_PASSWORD), u"4711");

    // A cancelled editor leaves the tree, the list and the file as they were.
    const std::string before = ReadWhole(platform::ToUtf8(user().GetPath()));
    Press(window, Qt::CTRL | Qt::Key_F);
    EXPECT_EQ(scripted_.opened(), 6);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Card"}));
    EXPECT_EQ(ReadWhole(platform::ToUtf8(user().GetPath())), before);
    ClickRow(window, u"[up]", true);
    EXPECT_EQ(Rows(window).size(), 4u);
    window.close();
  }));
}

TEST_F(MainWindowTest, RowsOpenWithOneClickOrTwoAsTheUserChose) {
  AddFolder(AddFolder(AddFolder(root(), u"Outer"), u"Middle"), u"Inner");
  AddNote(root(), u"Note");
  core().m_SettingsUserBased.boolSingleClickInterface = false;
  Run([&](Dlg& window) {
    ClickRow(window, u"Outer", false);
    EXPECT_EQ(Rows(window), (Rows_{"Outer", "Note"}));
    ClickRow(window, u"Outer", true);
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Middle"}));
    Select(window, u"Middle");
    QTest::keyClick(window.List(), Qt::Key_Return);  // Enter opens the selected row too
    EXPECT_EQ(TextOf(window, Dlg::kPath), QStringLiteral("Outer \\ Middle \\ "));
    QTest::mouseClick(window.GetDlgItem(Dlg::kRootButton), Qt::LeftButton);
    EXPECT_EQ(Rows(window), (Rows_{"Outer", "Note"}));

    core().m_SettingsUserBased.boolSingleClickInterface = true;
    ClickRow(window, u"Outer", false);
    // A double click from habit opens one folder, not the one its second click lands on.
    ClickRow(window, u"Middle", true);
    EXPECT_EQ(TextOf(window, Dlg::kPath), QStringLiteral("Outer \\ Middle \\ "));
    window.close();
  });
}

TEST_F(MainWindowTest, SearchFindsNotesBelowTheFolderInAnyFieldOrAttachmentNameWhateverTheCase) {
  CKTLVARRAY& work = AddFolder(root(), u"Work");
  CKTLVARRAY& deep = AddFolder(work, u"Deep");
  AddNote(work, u"VPN", u"bank.admin");
  AddNote(work, u"Canteen");
  AddNote(deep, u"Payroll").SetStringByTag(TAG_TEXT, u"paid by our bank");
  CKTLVARRAY& scans = AddNote(deep, u"Scans");
  CKTLVARRAY* statement = database::CreateEntry(scans, ENTRY_ATTACHMENT);
  statement->SetStringByTag(TAG_FILE_NAME, u"bank-statement.pdf");
  scans.AddChild(statement);
  AddNote(root(), u"Bank at home");  // outside the folder searched
  Run([&](Dlg& window) {
    ClickRow(window, u"Work", true);
    Search(window, QStringLiteral("BANK"));
    EXPECT_TRUE(window.IsShowingSearch());
    EXPECT_EQ(Rows(window), (Rows_{"Payroll", "Scans", "VPN"}));
    Search(window, QStringLiteral("-STATEMENT"));
    EXPECT_EQ(Rows(window), Rows_{"Scans"});
    window.Item<QLineEdit>(Dlg::kSearch)->clear();  // the folder again
    EXPECT_EQ(Rows(window), (Rows_{"[up]", "Deep", "Canteen", "VPN"}));
    // ".." and "\" empty the box and leave the search.
    Search(window, QStringLiteral("bank"));
    QTest::mouseClick(window.GetDlgItem(Dlg::kUpButton), Qt::LeftButton);
    EXPECT_EQ(TextOf(window, Dlg::kSearch), QString());
    EXPECT_EQ(Rows(window), (Rows_{"Work", "Bank at home"}));
    Search(window, QStringLiteral("nothing like this"));
    EXPECT_EQ(Rows(window), Rows_{});
    QTest::mouseClick(window.GetDlgItem(Dlg::kRootButton), Qt::LeftButton);
    EXPECT_EQ(Rows(window), (Rows_{"Work", "Bank at home"}));
    // Enter in the search box closes nothing.
    Search(window, QStringLiteral("home"));
    Press(window, QKeyCombination(Qt::Key_Return));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Rows(window), Rows_{"Bank at home"});
    window.close();
  });
}

TEST_F(MainWindowTest, DeleteAsksWithTheKindAndNameAndRemovesOnlyOnYes) {
  AddNote(root(), u"Old router");
  AddNote(AddFolder(root(), u"Trash"), u"Inside");
  const std::u16string question = platform::Format(
      Text(1, 1).toStdU16String(), std::u16string_view(Text(0, 33).toStdU16String()),
      std::u16string_view(u"Old router"));
  RecordingMessages& messages = test_core().messages();
  Run([&](Dlg& window) {
    Press(window, Qt::CTRL | Qt::Key_D);  // nothing selected
    EXPECT_EQ(Messages(), std::vector<std::string>{Message(5)});
    for (const bool yes : {false, true}) {
      Select(window, u"Old router");
      messages.QueueAnswer(yes);
      QTest::mouseClick(window.GetDlgItem(Dlg::kDeleteButton), Qt::LeftButton);
      EXPECT_EQ(messages.shown().back().text, question);
      EXPECT_TRUE(messages.shown().back().question);
      EXPECT_EQ(Child(Reopen()->GetEntriesRoot(), u"Old router") == nullptr, yes);
    }
    EXPECT_EQ(Rows(window), Rows_{"Trash"});
    Select(window, u"Trash");
    messages.QueueAnswer(true);
    Press(window, Qt::CTRL | Qt::Key_D);
    EXPECT_EQ(Rows(window), Rows_{});
    EXPECT_EQ(Reopen()->GetEntriesRoot().GetChildCount(), 0u);
    window.close();
  });
}

// Which of the menu's commands are enabled: the four copies and the others.
std::map<std::uint32_t, bool> Enabled(const std::unique_ptr<QMenu>& menu) {
  std::map<std::uint32_t, bool> enabled;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) {
      enabled[dialogs::MenuCommand(action)] = action->isEnabled();
    }
  }
  return enabled;
}

std::map<std::uint32_t, bool> All(bool copies, bool others) {
  return {{1, copies}, {2, copies}, {3, copies}, {4, copies},
          {6, others}, {7, others}, {9, others}};
}

TEST_F(MainWindowTest, TheContextMenuFitsTheSelectionAndItsCopiesReachTheClipboardMarkedSecret) {
  CKTLVARRAY& keys = AddFolder(root(), u"Keys");
  CKTLVARRAY& mail = AddNote(root(), u"Mail", u"ada", u"s3cret!");
  mail.SetStringByTag(TAG_URL, u"mail.example.org");
  mail.RemoveChild(mail.FindChild(TAG_EMAIL));
  CKTLVARRAY& licence = AddNote(root(), u"Licence", u"", u"KEY-123");
  licence.SetDwordByTag(TAG_ICON, 1);
  licence.SetStringByTag(TAG_URL, u"Quill Pro");
  clipboard::ClearClipboard();
  OpenedUrls opened;
  Run([&](Dlg& window) {
    EXPECT_EQ(Enabled(window.BuildEntryMenu(nullptr)), All(false, false));
    EXPECT_EQ(Enabled(window.BuildEntryMenu(&keys)), All(false, true));
    EXPECT_EQ(Enabled(window.BuildEntryMenu(&core().GetUpEntry())), All(false, false));
    // A note of icon kind 1 has its own texts.
    EXPECT_EQ(window.BuildEntryMenu(&licence)->actions()[1]->text(), Text(252, 2));

    // Right click on the row, then the menu's "copy password", as the user does it.
    ClickRow(window, u"Mail", false);
    EXPECT_EQ(ChooseFromContextMenu(window.List()->viewport(), RowPlace(window, u"Mail").center(),
                                    menus::kEntryCopyPassword),
              All(true, true));
    EXPECT_EQ(ClipboardText(), QStringLiteral("s3cret!"));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    ProcessEvents(Dlg::kStatusPeriodMs + 200);
    EXPECT_EQ(TextOf(window, Dlg::kStatusLine).toStdString(), " " + Message(15));

    // A field the note lacks leaves the clipboard alone; an empty one empties it.
    window.OnEntryCommand(menus::kEntryCopyEmail);
    EXPECT_EQ(ClipboardText(), QStringLiteral("s3cret!"));
    Select(window, u"Licence");
    window.OnEntryCommand(menus::kEntryCopyLogin);
    EXPECT_EQ(ClipboardText(), QString());
    // The licence's fourth item copies; the ordinary note's opens the address instead.
    window.OnEntryCommand(menus::kEntryCopyOrOpenUrl);
    EXPECT_EQ(ClipboardText(), QStringLiteral("Quill Pro"));
    Select(window, u"Mail");
    window.OnEntryCommand(menus::kEntryCopyOrOpenUrl);
    EXPECT_EQ(ClipboardText(), QStringLiteral("Quill Pro"));

    Press(window, Qt::CTRL | Qt::Key_R);
    EXPECT_EQ(ClipboardText(), QString());
    EXPECT_EQ(TextOf(window, Dlg::kStatusLine).toStdString(), " " + Message(16));
    window.close();
  });
  EXPECT_EQ(opened.urls, std::vector<QUrl>{QUrl(QStringLiteral("http://mail.example.org"))});
}

TEST(WebAddress, OnlyWebAddressesAreOpenedNeverFilesOrPrograms) {
  for (const auto& [typed, url] :
       {std::pair{u" www.example.org ", "http://www.example.org"},
        {u"https://bank.example/login?x=1", "https://bank.example/login?x=1"},
        {u"localhost:8080/admin", "http://localhost:8080/admin"}}) {
    EXPECT_EQ(main_window::WebAddressUrl(typed), QUrl(QString::fromLatin1(url)));
  }
  for (const std::u16string_view refused :
       {u"", u"   ", u"file:///etc/passwd", u"/usr/bin/xterm", u"javascript:alert(1)",
        u"mailto:ada@example.org", u"smb://server/share", u"../../run.desktop"}) {
    EXPECT_FALSE(main_window::WebAddressUrl(refused).isValid()) << platform::ToUtf8(refused);
  }
}

TEST_F(MainWindowTest, ToolsOpenTheirDialogsPagesAndFolders) {
  OpenedUrls opened;
  EXPECT_FALSE(help::ShowPage(QStringLiteral("main-window")));  // not there: quietly nothing
  const auto page = test_core().program_folder() / "html" / "main-window.html";
  std::filesystem::create_directories(page.parent_path());
  std::ofstream(page) << "<p>Help</p>";
  bool personal = false;
  Run([&](Dlg& window) {
    Press(window, QKeyCombination(Qt::Key_F1));
    Press(window, Qt::CTRL | Qt::Key_W);
    Press(window, Qt::CTRL | Qt::Key_O);
    WhenRunning<CKEditDatabaseDlg>([&](CKEditDatabaseDlg& editor) {
      personal = !editor.IsNewUser();
      editor.EndDialog(CKDialog::kIdCancel);
    });
    Press(window, Qt::CTRL | Qt::Key_Y);
    EXPECT_FALSE(window.IsBusy());
    window.close();
  });
  EXPECT_TRUE(personal);
  ASSERT_EQ(opened.urls.size(), 3u);
  EXPECT_EQ(opened.urls[0].toLocalFile().toStdString(), page.string());
  EXPECT_EQ(opened.urls[1].path(), QStringLiteral("/products/vaultquill/"));
  EXPECT_EQ(std::filesystem::path(opened.urls[2].toLocalFile().toStdString()),
            std::filesystem::path(test_core().data_folder().string() + "/"));
}

TEST_F(MainWindowTest, BackUpCopiesTheUserFilesAndRestoringTheUsersOwnFileLogsOut) {
  AddNote(root(), u"Before");
  const TempDir copies;
  test_core().choosers().QueueFolder(copies.path());
  EXPECT_TRUE(Run([&](Dlg& window) {
    window.MenuAction(menus::kCmdBackUp)->trigger();
    EXPECT_TRUE(std::filesystem::exists(copies.path() / "ada.VaultQuill"));
    // A newer note, then the back-up comes back: the window may not keep the newer tree.
    scripted_.Queue(Named(u"After"));
    Press(window, Qt::CTRL | Qt::Key_N);
    test_core().choosers().QueueFile(copies.path() / "ada.VaultQuill");
    window.MenuAction(menus::kCmdRestore)->trigger();
    EXPECT_FALSE(window.isVisible());
  }));
  const auto restored = Reopen();
  EXPECT_NE(Child(restored->GetEntriesRoot(), u"Before"), nullptr);
  EXPECT_EQ(Child(restored->GetEntriesRoot(), u"After"), nullptr);

  // Another user's file comes in and shows in the next log-in dialog; the window stays.
  WriteUserFile(copies.path() / "bob.VaultQuill", u"bob", u"pw", u"");
  test_core().choosers().QueueFile(copies.path() / "bob.VaultQuill");
  Run([&](Dlg& window) {
    window.MenuAction(menus::kCmdRestore)->trigger();
    EXPECT_TRUE(window.isVisible());
    window.close();
  });
  EXPECT_NE(core().m_Databases.FindUser(u"bob"), nullptr);
}

}  // namespace
}  // namespace test
