// The main window's menus: the entry list's context menu with its copies to the clipboard, and
// the tools that lead to the desktop and other dialogs.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/core.h"
#include "elements/tags.h"
#include "languages/menus.h"
#include "main_window_fixture.h"
#include "support/dialog_driver.h"
#include "ui/about_dlg.h"
#include "ui/clipboard.h"
#include "ui/controls/list_ctrl.h"
#include "ui/dialog_texts.h"
#include "ui/edit_database_dlg.h"
#include "ui/main_window_web.h"

namespace test {
namespace {

using Dlg = CVaultQuillDlg;

QString ClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText() ? data->text() : QString();
}

// Which of the menu's commands are enabled.
std::map<std::uint32_t, bool> Enabled(QMenu& menu) {
  std::map<std::uint32_t, bool> enabled;
  for (const QAction* action : menu.actions()) {
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

TEST_F(MainWindowTest, TheContextMenuOffersOnlyWhatFitsTheSelection) {
  CKTLVARRAY& keys = AddFolder(root(), u"Keys");
  CKTLVARRAY& licence = AddNote(root(), u"Licence");
  licence.SetDwordByTag(TAG_ICON, 1);
  AddNote(root(), u"Mail");
  AddNote(keys, u"Door");
  Run([&](Dlg& window) {
    EXPECT_EQ(Enabled(*window.BuildEntryMenu(nullptr)), All(false, false));
    EXPECT_EQ(Enabled(*window.BuildEntryMenu(&keys)), All(false, true));
    EXPECT_EQ(Enabled(*window.BuildEntryMenu(Child(root(), u"Mail"))), All(true, true));
    EXPECT_EQ(Enabled(*window.BuildEntryMenu(&core().GetUpEntry())), All(false, false));
    // A note of icon kind 1 has its own texts.
    const auto kind_one = window.BuildEntryMenu(&licence);
    EXPECT_EQ(kind_one->actions()[1]->text().toStdString(), Message(252, 2));
    EXPECT_EQ(window.BuildEntryMenu(&keys)->actions()[1]->text().toStdString(), Message(250, 2));
    window.close();
  });
}

TEST_F(MainWindowTest, CopiedSecretsReachTheClipboardMarkedSecretAndTheStatusLineFollows) {
  CKTLVARRAY& mail = AddNote(root(), u"Mail", u"ada", u"s3cret!");
  mail.SetStringByTag(TAG_URL, u"mail.example.org");
  mail.RemoveChild(mail.FindChild(TAG_EMAIL));
  CKTLVARRAY& licence = AddNote(root(), u"Licence", u"", u"KEY-123");
  licence.SetDwordByTag(TAG_ICON, 1);
  licence.SetStringByTag(TAG_URL, u"Quill Pro");
  AddNote(root(), u"Bad link").SetStringByTag(TAG_URL, u"file:///etc/passwd");
  clipboard::ClearClipboard();
  OpenedUrls opened;
  Run([&](Dlg& window) {
    // Right click on the row, then the menu's "copy password", as the user does it.
    ClickRow(window, u"Mail", false);
    QWidget* viewport = window.List()->viewport();
    const QPoint place = RowPlace(window, u"Mail").center();
    QTimer::singleShot(50, [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      for (QAction* action : menu->actions()) {
        if (dialogs::MenuCommand(action) == menus::kEntryCopyPassword) {
          menu->setActiveAction(action);
          QTest::keyClick(menu, Qt::Key_Return);
        }
      }
    });
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, place, viewport->mapToGlobal(place));
    QApplication::sendEvent(viewport, &right_click);
    EXPECT_EQ(ClipboardText(), QStringLiteral("s3cret!"));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    ProcessEvents(Dlg::kStatusPeriodMs + 200);
    EXPECT_EQ(ControlText(window, Dlg::kStatusLine).toStdString(), " " + Message(0, 15));

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
    Select(window, u"Bad link");
    window.OnEntryCommand(menus::kEntryCopyOrOpenUrl);

    Press(window, Qt::CTRL | Qt::Key_R);
    EXPECT_EQ(ClipboardText(), QString());
    EXPECT_EQ(ControlText(window, Dlg::kStatusLine).toStdString(), " " + Message(0, 16));
    window.close();
  });
  EXPECT_EQ(opened.urls, std::vector<QUrl>{QUrl(QStringLiteral("http://mail.example.org"))});
}

TEST(WebAddress, OnlyWebAddressesAreOpenedNeverFilesOrPrograms) {
  EXPECT_EQ(main_window::WebAddressUrl(u"https://bank.example/login?x=1"),
            QUrl(QStringLiteral("https://bank.example/login?x=1")));
  EXPECT_EQ(main_window::WebAddressUrl(u" www.example.org "),
            QUrl(QStringLiteral("http://www.example.org")));
  EXPECT_EQ(main_window::WebAddressUrl(u"localhost:8080/admin"),
            QUrl(QStringLiteral("http://localhost:8080/admin")));
  for (const std::u16string_view refused :
       {u"", u"   ", u"file:///etc/passwd", u"/usr/bin/xterm", u"javascript:alert(1)",
        u"mailto:ada@example.org", u"smb://server/share", u"../../run.desktop"}) {
    EXPECT_FALSE(main_window::WebAddressUrl(refused).isValid())
        << std::string(refused.begin(), refused.end());
  }
}

TEST_F(MainWindowTest, ToolsOpenTheirDialogsPagesAndFolders) {
  std::filesystem::create_directories(test_core().program_folder() / "html");
  std::ofstream(test_core().program_folder() / "html" / "main-window.html") << "<p>Help</p>";
  OpenedUrls opened;
  bool about = false;
  bool personal = false;
  Run([&](Dlg& window) {
    Press(window, QKeyCombination(Qt::Key_F1));
    Press(window, Qt::CTRL | Qt::Key_W);
    Press(window, Qt::CTRL | Qt::Key_O);
    WhenRunning<CAboutDlg>([&](CAboutDlg& box) {
      about = window.IsBusy();
      box.EndDialog(CKDialog::kIdOk);
    });
    QTest::mouseClick(window.GetDlgItem(Dlg::kAboutButton), Qt::LeftButton);
    WhenRunning<CKEditDatabaseDlg>([&](CKEditDatabaseDlg& editor) {
      personal = !editor.IsNewUser();
      editor.EndDialog(CKDialog::kIdCancel);
    });
    Press(window, Qt::CTRL | Qt::Key_Y);
    EXPECT_FALSE(window.IsBusy());
    window.close();
  });
  EXPECT_TRUE(about);
  EXPECT_TRUE(personal);
  ASSERT_EQ(opened.urls.size(), 3u);
  EXPECT_EQ(opened.urls[0].fileName(), QStringLiteral("main-window.html"));
  EXPECT_EQ(opened.urls[1].path(), QStringLiteral("/products/vaultquill/"));
  EXPECT_EQ(opened.urls[1].query(), QStringLiteral("r3=vaultquill20"));
  EXPECT_EQ(std::filesystem::path(opened.urls[2].toLocalFile().toStdString()),
            std::filesystem::path(test_core().data_folder().string() + "/"));
}

TEST_F(MainWindowTest, BackUpCopiesTheUserFilesAndRestoringTheUsersOwnFileLogsOut) {
  AddNote(root(), u"Before");
  const TempDir copies;
  test_core().choosers().QueueFolder(copies.path());
  Run([&](Dlg& window) {
    window.MenuAction(menus::kCmdBackUp)->trigger();
    EXPECT_TRUE(std::filesystem::exists(copies.path() / "ada.VaultQuill"));
    // A newer note, then the back-up comes back: the window may not keep the newer tree.
    editors_.Queue(Named(u"After"));
    Press(window, Qt::CTRL | Qt::Key_N);
    test_core().choosers().QueueFile(copies.path() / "ada.VaultQuill");
    window.MenuAction(menus::kCmdRestore)->trigger();
    EXPECT_FALSE(window.isVisible());
  });
  EXPECT_TRUE(core().m_SettingsRunTime.m_boolRelogin);
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
