#include "ui/login_dlg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <fstream>

#include "core/core.h"
#include "database/database.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "ui/controls/combo_box.h"
#include "ui/edit_database_dlg.h"

namespace {

using Editor = CKEditDatabaseDlg;

void Type(CKDialog& dialog, int id, const QString& text) {
  auto* edit = dialog.Item<QLineEdit>(id);
  ASSERT_NE(edit, nullptr) << id;
  edit->setFocus();
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(edit, c.toLatin1());
    } else {
      edit->insert(QString(c));  // typed through an input method
    }
  }
}

void Click(CKDialog& dialog, int id) {
  QWidget* control = dialog.GetDlgItem(id);
  ASSERT_NE(control, nullptr) << id;
  ASSERT_TRUE(control->isEnabled()) << id;
  QTest::mouseClick(control, Qt::LeftButton);
}

QStringList ListedUsers(CKLoginDlg& dialog) {
  QStringList names;
  auto* list = dialog.Item<CKComboBox>(CKLoginDlg::kUserList);
  for (int i = 0; i < list->count(); ++i) {
    names << list->itemText(i);
  }
  return names;
}

class LogIn : public ::testing::Test {
 protected:
  explicit LogIn(test::KTestCoreOptions options = {}) : core_(options) {}

  CKCore& core() { return core_.core(); }
  std::vector<std::string> Messages() const { return core_.Messages(); }
  std::string Message(int entry) const { return core_.MessageText(entry); }
  std::string MessageWith(int entry, const std::string& value) const {
    std::string text = Message(entry);
    text.replace(text.find("%s"), 2, value);
    return text;
  }

  test::TestCore core_;
};

TEST_F(LogIn, AFirstStartMakesAUserInTheEditorWhoThenLogsIn) {
  ASSERT_TRUE(core_.Start());
  ASSERT_EQ(core().m_Databases.GetCount(), 0u);
  const QString login_name = QString::fromStdU16String(core().m_SettingsRunTime.m_csUserName);

  test::WhenRunning<Editor>([&](Editor& editor) {
    EXPECT_TRUE(editor.IsNewUser());
    EXPECT_EQ(editor.Item<QLineEdit>(Editor::kName)->text(), login_name);
    EXPECT_EQ(editor.Item<QLineEdit>(Editor::kName)->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(editor.Item<QLineEdit>(Editor::kPassword)->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(editor.Item<QLabel>(Editor::kNote)
                    ->text()
                    .contains(QString::fromStdString(core_.data_folder().string())));
    editor.Item<QLineEdit>(Editor::kName)->clear();
    Type(editor, Editor::kName, QStringLiteral("Ada"));
    Type(editor, Editor::kPassword, QStringLiteral("pässwort 1"));
    Type(editor, Editor::kConfirm, QStringLiteral("pässwort 1"));
    editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(QStringLiteral("the usual"));
    Click(editor, CKDialog::kIdOk);
  });
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    EXPECT_EQ(ListedUsers(login), QStringList{QStringLiteral("Ada")});
    EXPECT_TRUE(login.GetDlgItem(CKDialog::kIdOk)->isEnabled());
    Type(login, CKLoginDlg::kPassword, QStringLiteral("pässwort 1"));
    Click(login, CKDialog::kIdOk);
  });
  ASSERT_TRUE(core().m_Databases.LogIn());
  EXPECT_TRUE(Messages().empty()) << Messages().front();

  ASSERT_NE(core().m_Databases.GetCurrent(), nullptr);
  EXPECT_EQ(core().m_Databases.GetCurrent()->GetName(), u"Ada");
  EXPECT_EQ(core().GetRootFolder(), &core().m_Databases.GetCurrent()->GetEntriesRoot());

  // The user file is on disk, for this user only, and opens with the password.
  struct stat info {};
  ASSERT_EQ(::stat(core_.UserFile("Ada").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  CKDatabase reread;
  reread.SetPath(core_.UserFile("Ada").u16string());
  EXPECT_EQ(reread.Load(u"pässwort 1"), 0);
  EXPECT_EQ(reread.GetMemo(), u"the usual");
}

TEST_F(LogIn, AWrongPasswordEmptiesTheFieldAndTheRightOneThenLogsIn) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"bob", u"right one");
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    Type(login, CKLoginDlg::kPassword, QStringLiteral("wrong one"));
    Click(login, CKDialog::kIdOk);
    auto* password = login.Item<QLineEdit>(CKLoginDlg::kPassword);
    EXPECT_TRUE(password->text().isEmpty());
    EXPECT_EQ(login.focusWidget(), password);
    EXPECT_TRUE(login.IsRunning());
    EXPECT_EQ(Messages(), std::vector<std::string>{Message(11)});
    Type(login, CKLoginDlg::kPassword, QStringLiteral("right one"));
    QTest::keyClick(password, Qt::Key_Return);  // Enter presses OK
  });
  EXPECT_TRUE(core().m_Databases.LogIn());
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(LogIn, NewerDamagedAndForeignFilesGiveTheirMessagesAndTheDialogStays) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"carl", u"pw");
  const auto path = core_.UserFile("carl");
  const auto write_byte = [&](std::streamoff offset, char value) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.put(value);
  };
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    write_byte(4, 2);  // the format's version byte: a newer program wrote it
    Type(login, CKLoginDlg::kPassword, QStringLiteral("pw"));
    Click(login, CKDialog::kIdOk);
    write_byte(4, 1);
    const auto size = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, size - 16);  // the contents break off
    Click(login, CKDialog::kIdOk);
    std::ofstream(path, std::ios::trunc) << "not a user file at all, nothing like one";
    Click(login, CKDialog::kIdOk);
    // Each time the dialog stays, with the password as typed.
    EXPECT_TRUE(login.IsRunning());
    EXPECT_EQ(login.Item<QLineEdit>(CKLoginDlg::kPassword)->text(), QStringLiteral("pw"));
    login.close();
  });
  EXPECT_FALSE(core().m_Databases.LogIn());
  EXPECT_EQ(Messages(), (std::vector<std::string>{MessageWith(23, "carl"), MessageWith(24, "carl"),
                                                  MessageWith(26, "carl")}));
}

TEST_F(LogIn, TheNewUserRulesAreCheckedInOrderAndCancelLeavesNoFile) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"Dora", u"pw");
  test::WhenRunning<Editor>([&](Editor& editor) {
    auto* name = editor.Item<QLineEdit>(Editor::kName);
    name->clear();
    Click(editor, CKDialog::kIdOk);  // no password
    Type(editor, Editor::kPassword, QStringLiteral("one"));
    Type(editor, Editor::kConfirm, QStringLiteral("One"));
    Click(editor, CKDialog::kIdOk);  // the two differ (case counts)
    editor.Item<QLineEdit>(Editor::kConfirm)->setText(QStringLiteral("one"));
    Click(editor, CKDialog::kIdOk);  // no name
    Type(editor, Editor::kName, QStringLiteral("DORA"));
    Click(editor, CKDialog::kIdOk);  // the name is taken, whatever its case
    EXPECT_TRUE(editor.IsRunning());
    Click(editor, CKDialog::kIdCancel);
  });
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    Click(login, CKLoginDlg::kNewUser);
    EXPECT_EQ(ListedUsers(login), QStringList{QStringLiteral("Dora")});
    login.close();
  });
  EXPECT_FALSE(core().m_Databases.LogIn());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Message(11), Message(12), Message(10),
                                                  MessageWith(8, "DORA")}));
  EXPECT_FALSE(std::filesystem::exists(core_.UserFile("DORA")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(core_.data_folder()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(LogIn, ShowMemoShowsTheSelectedUsersMemoAsStored) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"erin", u"pw", u"  my cat's name,\nbackwards ");
  core_.AddUser(u"frank", u"pw", u"");
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    auto* list = login.Item<CKComboBox>(CKLoginDlg::kUserList);
    list->setCurrentIndex(list->findText(QStringLiteral("erin")));
    Click(login, CKLoginDlg::kShowMemo);
    list->setCurrentIndex(list->findText(QStringLiteral("frank")));
    Click(login, CKLoginDlg::kShowMemo);
    login.close();
  });
  core().m_Databases.LogIn();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"  my cat's name,\nbackwards ", ""}));
}

TEST_F(LogIn, TheListIsSortedAndShowsTheLastUserFirstOrElseTheFirstName) {
  ASSERT_TRUE(core_.Start());
  for (const char16_t* name : {u"mallory", u"Alice", u"bob"}) {
    core_.AddUser(name, u"pw");
  }
  for (const auto& [last, expected] : std::vector<std::pair<std::u16string, QString>>{
           {u"BOB", QStringLiteral("bob")}, {u"zed", QStringLiteral("Alice")}}) {
    core().m_SettingsInterface.m_csLastLogin = last;
    test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
      EXPECT_EQ(ListedUsers(login), (QStringList{QStringLiteral("Alice"), QStringLiteral("bob"),
                                                 QStringLiteral("mallory")}));
      EXPECT_EQ(login.Item<CKComboBox>(CKLoginDlg::kUserList)->currentText(), expected);
      login.close();
    });
    core().m_Databases.LogIn();
  }
}

TEST_F(LogIn, ShowPasswordUnmasksAndMasksTheField) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"gail", u"pw");
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    auto* password = login.Item<QLineEdit>(CKLoginDlg::kPassword);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    Click(login, CKLoginDlg::kShowPassword);
    EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
    Click(login, CKLoginDlg::kShowPassword);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    login.close();
  });
  core().m_Databases.LogIn();
}

TEST_F(LogIn, AnotherDataFolderIsTakenOnlyWhenItHoldsUsersAndTheListFollowsAtOnce) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"hugo", u"pw");
  const test::TempDir elsewhere;
  test::WriteUserFile(elsewhere / "iris.VaultQuill", u"iris", u"pw", u"");
  const test::TempDir empty;
  const auto blocked = empty / "a file" / "below it";
  std::ofstream(empty / "a file") << "in the way";

  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    core_.choosers().QueueFolder(blocked);
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
  EXPECT_EQ(Messages(), (std::vector<std::string>{Message(17), Message(29)}));
  const std::u16string chosen = elsewhere.path().u16string() + u"/";
  EXPECT_EQ(core().m_SettingsRunTime.m_csUserDataFolder, chosen);
  EXPECT_EQ(core_.profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder", u""),
            chosen);
}

TEST_F(LogIn, CancelAndEscapeOnlyMinimiseAndClosingTheWindowCancels) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"jim", u"pw");
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    Click(login, CKLoginDlg::kCancelButton);
    EXPECT_TRUE(login.IsRunning());
    EXPECT_TRUE(login.isMinimized());
    login.RestoreFromTray();
    QTest::keyClick(login.Item<QLineEdit>(CKLoginDlg::kPassword), Qt::Key_Escape);
    EXPECT_TRUE(login.IsRunning());
    EXPECT_TRUE(login.IsInTray());
    login.close();
  });
  EXPECT_FALSE(core().m_Databases.LogIn());
  EXPECT_EQ(core().m_Databases.GetCurrent(), nullptr);
}

TEST_F(LogIn, RestoreUserCopiesAUserFileInAndTheListShowsIt) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"kim", u"pw");
  const test::TempDir backups;
  test::WriteUserFile(backups / "lea.VaultQuill", u"lea", u"pw", u"");
  test::WhenRunning<Editor>([&](Editor& editor) {
    core_.choosers().QueueFile(backups / "lea.VaultQuill");
    Click(editor, Editor::kRestoreUser);
  });
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    Click(login, CKLoginDlg::kNewUser);
    EXPECT_EQ(ListedUsers(login), (QStringList{QStringLiteral("kim"), QStringLiteral("lea")}));
    login.close();
  });
  core().m_Databases.LogIn();
  EXPECT_TRUE(std::filesystem::exists(core_.UserFile("lea")));
}

TEST_F(LogIn, AfterLogInThePasswordFieldIsEmpty) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"max", u"secret words");
  CKLoginDlg login(core().m_Databases, nullptr);
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& d) {
    Type(d, CKLoginDlg::kPassword, QStringLiteral("secret words"));
    Click(d, CKDialog::kIdOk);
  });
  ASSERT_EQ(login.DoModal(), CKDialog::kIdOk);
  EXPECT_NE(login.GetDatabase(), nullptr);
  EXPECT_TRUE(login.Item<QLineEdit>(CKLoginDlg::kPassword)->text().isEmpty());
}

class LogInStartingMinimised : public LogIn {
 protected:
  LogInStartingMinimised() : LogIn(Options()) {}
  static test::KTestCoreOptions Options() {
    test::KTestCoreOptions options;
    options.start_minimised = true;
    return options;
  }
};

TEST_F(LogInStartingMinimised, AUserMadeOnTheFirstStartBringsTheDialogForward) {
  ASSERT_TRUE(core_.Start());
  test::WhenRunning<Editor>([&](Editor& editor) {
    Type(editor, Editor::kPassword, QStringLiteral("pw"));
    Type(editor, Editor::kConfirm, QStringLiteral("pw"));
    Click(editor, CKDialog::kIdOk);
  });
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    EXPECT_FALSE(login.IsInTray());
    EXPECT_FALSE(login.isMinimized());
    login.close();
  });
  core().m_Databases.LogIn();
}

TEST_F(LogInStartingMinimised, OnlyTheFirstLogInDialogStartsMinimised) {
  ASSERT_TRUE(core_.Start());
  core_.AddUser(u"nina", u"pw");
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    EXPECT_TRUE(login.isMinimized());
    EXPECT_TRUE(login.IsInTray());
    login.close();
  });
  core().m_Databases.LogIn();
  core().m_SettingsRunTime.m_boolStartMinimised = false;
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    EXPECT_FALSE(login.isMinimized());
    EXPECT_TRUE(login.isVisible());
    login.close();
  });
  core().m_Databases.LogIn();
}

}  // namespace
