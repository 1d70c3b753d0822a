// The user editor: a new user's rules and a restored user file in new-user mode; the logged-in
// user's password and memo in edit mode.
#include "ui/edit_database_dlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/core.h"
#include "database/database.h"
#include "support/dialog_driver.h"
#include "support/logged_in.h"
#include "ui/controls/combo_box.h"
#include "ui/login_dlg.h"

namespace test {
namespace {

using Editor = CKEditDatabaseDlg;
using Messages_ = std::vector<std::string>;

void Set(Editor& editor, int id, const QString& text) {
  editor.Item<QLineEdit>(id)->setText(text);
}

void SetMemo(Editor& editor, const QString& text) {
  editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(text);
}

TEST(NewUser, TheRulesAreCheckedInOrderAndARestoredFileJoinsTheList) {
  TestCore core;
  ASSERT_TRUE(core.Start());
  core.AddUser(u"Dora", u"pw");
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
    core.choosers().QueueFile(backups / "lea.VaultQuill");
    Click(editor, Editor::kRestoreUser);
  });
  WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    Click(login, CKLoginDlg::kNewUser);
    auto* list = login.Item<CKComboBox>(CKLoginDlg::kUserList);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Dora"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("lea"));
    login.close();
  });
  EXPECT_FALSE(core.core().m_Databases.LogIn());
  EXPECT_EQ(core.Messages(), (Messages_{core.MessageText(11), core.MessageText(12),
                                        core.MessageText(10), core.MessageText(8, "DORA")}));
  // Nothing was written for the refused user; the restored file is there.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(core.data_folder()),
                          std::filesystem::directory_iterator()),
            2);
  EXPECT_TRUE(std::filesystem::exists(core.UserFile("lea")));
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
    EXPECT_FALSE(editor.IsNewUser());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Edit personal data"));
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
    Set(editor, Editor::kPassword, QStringLiteral("new"));
    editor.OnOK();  // neither confirmation nor current password: 11
    Set(editor, Editor::kConfirm, QStringLiteral("new"));
    editor.OnOK();  // still no current password: 11
    Set(editor, Editor::kName, QStringLiteral("guess"));
    Set(editor, Editor::kConfirm, QStringLiteral("neW"));
    editor.OnOK();  // the two differ: 12
    Set(editor, Editor::kConfirm, QStringLiteral("new"));
    editor.OnOK();  // the current one is wrong: 9
    EXPECT_TRUE(editor.IsRunning());
    Set(editor, Editor::kName, QString::fromUtf16(kPassword));
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
  const auto salt = user().GetKeys().GetSalt();
  const std::vector<std::uint8_t> salt_before(salt.begin(), salt.end());
  EXPECT_EQ(Run([](Editor& editor) {
              EXPECT_EQ(TextOf(editor, Editor::kMemo), QStringLiteral("old memo"));
              Set(editor, Editor::kName, QString::fromUtf16(kPassword));
              Set(editor, Editor::kPassword, QStringLiteral("x"));
              Set(editor, Editor::kConfirm, QStringLiteral("x"));
              SetMemo(editor, QStringLiteral("changed"));
              Click(editor, CKDialog::kIdCancel);
            }),
            CKDialog::kIdCancel);
  const auto salt_after = user().GetKeys().GetSalt();
  EXPECT_TRUE(std::equal(salt_after.begin(), salt_after.end(), salt_before.begin()));
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
