// The log-in dialog driven as a user would: a first start that makes a user, wrong passwords and
// damaged files, the list of users, the memo, the data folder, the tray; and the user editor: a
// new user's rules and a restored user file, the logged-in user's password and memo.
#include "ui/login_dlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <fstream>

#include "core/core.h"
#include "database/database.h"
#include "support/dialog_driver.h"
#include "support/logged_in.h"
#include "ui/controls/combo_box.h"
#include "ui/edit_database_dlg.h"

namespace test {
namespace {
using Editor = CKEditDatabaseDlg;
using Messages_ = std::vector<std::string>;

QStringList ListedUsers(CKLoginDlg& dialog) {
  QStringList names;
  auto* list = dialog.Item<CKComboBox>(CKLoginDlg::kUserList);
  for (int i = 0; i < list->count(); ++i) {
    names << list->itemText(i);
  }
  return names;
}

using LogIn = CoreTest;

TEST_F(LogIn, AFirstStartMakesAUserInTheEditorWhoLogsInWithTheRightPasswordOnly) {
  ASSERT_EQ(core().m_Databases.GetCount(), 0u);
  const QString login_name = QString::fromStdU16String(core().m_SettingsRunTime.m_csUserName);
  WhenRunning<Editor>([&](Editor& editor) {
    EXPECT_TRUE(editor.IsNewUser());
    EXPECT_EQ(TextOf(editor, Editor::kName), login_name);
    EXPECT_TRUE(TextOf(editor, Editor::kNote)
                    .contains(QString::fromStdString(core_.data_folder().string())));
    Replace(editor, Editor::kName, QStringLiteral("Ada"));
    Type(editor, Editor::kPassword, QStringLiteral("pässwort 1"));
    Type(editor, Editor::kConfirm, QStringLiteral("pässwort 1"));
    // The memo takes 512 characters.
    editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(QString(600, QLatin1Char('m')));
    Click(editor, CKDialog::kIdOk);
  });
  WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    EXPECT_EQ(ListedUsers(login), QStringList{QStringLiteral("Ada")});
    // A wrong password empties the field and leaves the focus there.
    auto* password = login.Item<QLineEdit>(CKLoginDlg::kPassword);
    Type(login, CKLoginDlg::kPassword, QStringLiteral("pässwort 2"));
    Click(login, CKDialog::kIdOk);
    EXPECT_TRUE(password->text().isEmpty());
    EXPECT_EQ(login.focusWidget(), password);
    EXPECT_TRUE(login.IsRunning());
    EXPECT_EQ(Messages(), Messages_{Message(11)});
    Type(login, CKLoginDlg::kPassword, QStringLiteral("pässwort 1"));
    QTest::keyClick(password, Qt::Key_Return);  // Enter presses OK
    EXPECT_TRUE(password->text().isEmpty());    // and the password is wiped
  });
  ASSERT_TRUE(core().m_Databases.LogIn());
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(core().m_Databases.GetCurrent()->GetName(), u"Ada");

  // The user file is on disk, for this user only, and opens with the password.
  EXPECT_EQ(ModeOf(core_.UserFile("Ada")), 0600u);
  CKDatabase reread;
  reread.SetPath(core_.UserFile("Ada").u16string());
  EXPECT_EQ(reread.Load(u"pässwort 1"), 0);
  EXPECT_EQ(reread.GetMemo(), std::u16string(512, u'm'));
}

TEST_F(LogIn, NewerDamagedAndForeignFilesGiveTheirMessagesAndTheDialogStays) {
  core_.AddUser(u"carl", u"pw");
  const auto path = core_.UserFile("carl");
  const auto set_version = [&](char version) {  // the format's version byte
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4);
    file.put(version);
  };
  WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    set_version(2);  // a newer program wrote it
    Type(login, CKLoginDlg::kPassword, QStringLiteral("pw"));
    Click(login, CKDialog::kIdOk);
    set_version(1);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 16);  // broken off
    Click(login, CKDialog::kIdOk);
    std::ofstream(path, std::ios::trunc) << "not a user file at all, nothing like one";
    Click(login, CKDialog::kIdOk);
    // Each time the dialog stays, with the password as typed.
    EXPECT_TRUE(login.IsRunning());
    EXPECT_EQ(TextOf(login, CKLoginDlg::kPassword), QStringLiteral("pw"));
    login.close();
  });
  EXPECT_FALSE(core().m_Databases.LogIn());
  EXPECT_EQ(Messages(), (Messages_{Message(23, "carl"), Message(24, "carl"), Message(26, "carl")}));
}

TEST_F(LogIn, TheSortedListShowsTheLastUserMemosAndPasswordsAndCancelOnlyMinimises) {
  core_.AddUser(u"mallory", u"pw");
  core_.AddUser(u"alice", u"pw");
  core_.AddUser(u"Bob", u"pw", u"  my cat's name,\nbackwards ");
  // Sorted whatever the case; the last user, whatever the case, or else the first name.
  for (const auto& [last, expected] : {std::pair{u"BOB", "Bob"}, {u"zed", "alice"}}) {
    core().m_SettingsInterface.m_csLastLogin = last;
    WhenRunning<CKLoginDlg>([&, expected = expected](CKLoginDlg& login) {
      auto* list = login.Item<CKComboBox>(CKLoginDlg::kUserList);
      EXPECT_EQ(ListedUsers(login), (QStringList{QStringLiteral("alice"), QStringLiteral("Bob"),
                                                 QStringLiteral("mallory")}));
      EXPECT_EQ(list->currentText(), QString::fromLatin1(expected));
      if (list->currentText() == QStringLiteral("Bob")) {
        Click(login, CKLoginDlg::kShowMemo);  // the memo as stored
        list->setCurrentIndex(list->findText(QStringLiteral("mallory")));
        Click(login, CKLoginDlg::kShowMemo);  // none
        auto* password = login.Item<QLineEdit>(CKLoginDlg::kPassword);
        for (const auto mode : {QLineEdit::Password, QLineEdit::Normal, QLineEdit::Password}) {
          EXPECT_EQ(password->echoMode(), mode);
          Click(login, CKLoginDlg::kShowPassword);
        }
        // Cancel and Escape only minimise; closing the window cancels.
        Click(login, CKLoginDlg::kCancelButton);
        EXPECT_TRUE(login.IsRunning());
        EXPECT_TRUE(login.isMinimized());
        login.RestoreFromTray();
        QTest::keyClick(password, Qt::Key_Escape);
        EXPECT_TRUE(login.IsRunning());
        EXPECT_TRUE(login.IsInTray());
      }
      login.close();
    });
    EXPECT_FALSE(core().m_Databases.LogIn());
    EXPECT_EQ(core().m_Databases.GetCurrent(), nullptr);
  }
  EXPECT_EQ(Messages(), (Messages_{"  my cat's name,\nbackwards ", ""}));
}

TEST_F(LogIn, AnotherDataFolderIsTakenOnlyWhenItHoldsUsersAndTheListFollowsAtOnce) {
  core_.AddUser(u"hugo", u"pw");
  const TempDir elsewhere;
  WriteUserFile(elsewhere / "iris.VaultQuill", u"iris", u"pw", u"");
  const TempDir empty;
  std::ofstream(empty / "a file") << "in the way";

  WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    core_.choosers().QueueFolder(empty / "a file" / "below it");
    Click(login, CKLoginDlg::kDataFolder);  // cannot be made: 17
    core_.choosers().QueueFolder(empty.path());
    Click(login, CKLoginDlg::kDataFolder);  // holds nobody: 29, everything stays
    EXPECT_EQ(ListedUsers(login), QStringList{QStringLiteral("hugo")});
    EXPECT_NE(core().m_Databases.FindUser(u"hugo"), nullptr);
    core_.choosers().QueueFolder(elsewhere.path());
    Click(login, CKLoginDlg::kDataFolder);
    EXPECT_EQ(ListedUsers(login), QStringList{QStringLiteral("iris")});
    Type(login, CKLoginDlg::kPassword, QStringLiteral("pw"));
    Click(login, CKDialog::kIdOk);
  });
  ASSERT_TRUE(core().m_Databases.LogIn());
  EXPECT_EQ(core().m_Databases.GetCurrent()->GetName(), u"iris");
  EXPECT_EQ(Messages(), (Messages_{Message(17), Message(29)}));
  const std::u16string chosen = elsewhere.path().u16string() + u"/";
  EXPECT_EQ(core().m_SettingsRunTime.m_csUserDataFolder, chosen);
  EXPECT_EQ(core_.profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder", u""),
            chosen);
}

TEST(LogInStartingMinimised, OnlyTheFirstLogInDialogStartsMinimised) {
  KTestCoreOptions options;
  options.start_minimised = true;
  TestCore core(options);
  ASSERT_TRUE(core.Start());
  core.AddUser(u"nina", u"pw");
  for (const bool first : {true, false}) {
    WhenRunning<CKLoginDlg>([first](CKLoginDlg& login) {
      EXPECT_EQ(login.isMinimized(), first);
      EXPECT_EQ(login.IsInTray(), first);
      login.close();
    });
    core.core().m_Databases.LogIn();
    core.core().m_SettingsRunTime.m_boolStartMinimised = false;
  }
}

void SetMemo(Editor& editor, const QString& text) {
  editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(text);
}

TEST_F(LogIn, TheNewUserRulesAreCheckedInOrderAndARestoredFileJoinsTheList) {
  core_.AddUser(u"Dora", u"pw");
  const TempDir backups;
  WriteUserFile(backups / "lea.VaultQuill", u"lea", u"pw", u"");
  WhenRunning<Editor>([&](Editor& editor) {
    Replace(editor, Editor::kName, QString());
    Click(editor, CKDialog::kIdOk);  // no password
    Type(editor, Editor::kPassword, QStringLiteral("one"));
    Type(editor, Editor::kConfirm, QStringLiteral("One"));
    Click(editor, CKDialog::kIdOk);  // the two differ (case counts)
    Replace(editor, Editor::kConfirm, QStringLiteral("one"));
    Click(editor, CKDialog::kIdOk);  // no name
    Type(editor, Editor::kName, QStringLiteral("DORA"));
    Click(editor, CKDialog::kIdOk);  // the name is taken, whatever its case
    EXPECT_TRUE(editor.IsRunning());
    core_.choosers().QueueFile(backups / "lea.VaultQuill");
    Click(editor, Editor::kRestoreUser);
  });
  WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    Click(login, CKLoginDlg::kNewUser);
    EXPECT_EQ(ListedUsers(login), QStringList({"Dora", "lea"}));
    login.close();
  });
  EXPECT_FALSE(core().m_Databases.LogIn());
  EXPECT_EQ(Messages(), (Messages_{Message(11), Message(12), Message(10), Message(8, "DORA")}));
  // Nothing was written for the refused user; the restored file is there.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(core_.data_folder()),
                          std::filesystem::directory_iterator()),
            2);
  EXPECT_TRUE(std::filesystem::exists(core_.UserFile("lea")));
}

// The editor in edit mode for the logged-in user "ada".
class EditPersonalData : public LoggedInTest {
 protected:
  // Runs the editor; the action fills the fields and presses OK as often as it likes. Returns
  // how the editor ended.
  int Run(const std::function<void(Editor&)>& action) {
    Editor editor(core().m_Databases, user(), false, nullptr);
    WhenRunning<Editor>(action);
    return editor.DoModal();
  }
};

TEST_F(EditPersonalData, ANewPasswordNeedsTheCurrentOneAndTheSameTwiceAndAMemoAloneIsRefused) {
  core().m_SettingsUserBased.boolHidePasswords = false;
  const int result = Run([](Editor& editor) {
    EXPECT_TRUE(TextOf(editor, Editor::kName).isEmpty());
    // Passwords shown, the current one as well; the box hides all three again.
    for (const auto mode : {QLineEdit::Normal, QLineEdit::Password}) {
      for (const int id : {Editor::kName, Editor::kPassword, Editor::kConfirm}) {
        EXPECT_EQ(editor.Item<QLineEdit>(id)->echoMode(), mode) << id;
      }
      Click(editor, Editor::kShowPasswords);
    }
    SetMemo(editor, QStringLiteral("new memo"));
    editor.OnOK();  // a memo alone: 11
    Replace(editor, Editor::kPassword, QStringLiteral("new"));
    editor.OnOK();  // neither confirmation nor current password: 11
    Replace(editor, Editor::kConfirm, QStringLiteral("new"));
    editor.OnOK();  // still no current password: 11
    Replace(editor, Editor::kName, QStringLiteral("guess"));
    Replace(editor, Editor::kConfirm, QStringLiteral("neW"));
    editor.OnOK();  // the two differ: 12
    Replace(editor, Editor::kConfirm, QStringLiteral("new"));
    editor.OnOK();  // the current one is wrong: 9
    EXPECT_TRUE(editor.IsRunning());
    Replace(editor, Editor::kName, QString::fromUtf16(kPassword));
    editor.OnOK();
  });
  EXPECT_EQ(result, CKDialog::kIdOk);
  EXPECT_EQ(Messages(),
            (Messages_{Message(11), Message(11), Message(11), Message(12), Message(9)}));
  EXPECT_TRUE(user().CheckPassword(u"new"));
  EXPECT_FALSE(user().CheckPassword(kPassword));
  EXPECT_EQ(user().GetMemo(), u"new memo");
}

TEST_F(EditPersonalData, NothingChangedIsOkAndCancelOrARestoredFileLeaveTheDatabaseAsItWas) {
  EXPECT_EQ(Run([](Editor& editor) { editor.OnOK(); }), CKDialog::kIdOk);
  EXPECT_TRUE(Messages().empty());

  user().SetMemo(u"old memo");
  EXPECT_EQ(Run([](Editor& editor) {
              EXPECT_EQ(TextOf(editor, Editor::kMemo), QStringLiteral("old memo"));
              Replace(editor, Editor::kName, QString::fromUtf16(kPassword));
              Replace(editor, Editor::kPassword, QStringLiteral("x"));
              Replace(editor, Editor::kConfirm, QStringLiteral("x"));
              SetMemo(editor, QStringLiteral("changed"));
              Click(editor, CKDialog::kIdCancel);
            }),
            CKDialog::kIdCancel);
  EXPECT_TRUE(user().CheckPassword(kPassword));
  EXPECT_EQ(user().GetMemo(), u"old memo");

  WriteUserFile(files() / "pia.VaultQuill", u"pia", u"pw", u"");
  test_core().choosers().QueueFile(files() / "pia.VaultQuill");
  CKDatabase* const logged_in = &user();
  EXPECT_EQ(Run([](Editor& editor) { Click(editor, Editor::kRestoreUser); }), CKDialog::kIdCancel);
  EXPECT_TRUE(std::filesystem::exists(test_core().UserFile("pia")));
  // The users were not read again: the database in use is the same object, still open.
  EXPECT_EQ(core().m_Databases.FindUser(u"ada"), logged_in);
  EXPECT_TRUE(logged_in->IsOpen());
}

}  // namespace
}  // namespace test
