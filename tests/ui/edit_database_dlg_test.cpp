#include "ui/edit_database_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "core/core.h"
#include "database/database.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"

namespace {

using Editor = CKEditDatabaseDlg;

void Set(Editor& editor, int id, const QString& text) {
  editor.Item<QLineEdit>(id)->setText(text);
}

class EditPersonalData : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(core_.Start());
    core_.AddUser(u"olga", u"old password", u"old memo");
    database_ = core_.core().m_Databases.FindUser(u"olga");
    ASSERT_NE(database_, nullptr);
    ASSERT_EQ(database_->Load(u"old password"), 0);  // logged in
  }

  // Runs the editor in edit mode; the action fills the fields and presses OK as often as it
  // likes. Returns how the editor ended.
  int Run(const std::function<void(Editor&)>& action) {
    Editor editor(core_.core().m_Databases, *database_, false, nullptr);
    test::WhenRunning<Editor>(action);
    return editor.DoModal();
  }

  std::string Message(int entry) const { return core_.MessageText(entry); }

  test::TestCore core_;
  CKDatabase* database_ = nullptr;
};

TEST_F(EditPersonalData, TheTitleTextsAndMasksAreThoseOfEditMode) {
  core_.core().m_SettingsUserBased.boolHidePasswords = false;
  Run([](Editor& editor) {
    EXPECT_FALSE(editor.IsNewUser());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Edit personal data"));
    EXPECT_TRUE(editor.Item<QLineEdit>(Editor::kName)->text().isEmpty());
    EXPECT_EQ(editor.Item<QPlainTextEdit>(Editor::kMemo)->toPlainText(),
              QStringLiteral("old memo"));
    // Passwords shown, the current one as well; the box hides all three again.
    for (const int id : {Editor::kName, Editor::kPassword, Editor::kConfirm}) {
      EXPECT_EQ(editor.Item<QLineEdit>(id)->echoMode(), QLineEdit::Normal) << id;
    }
    QTest::mouseClick(editor.GetDlgItem(Editor::kShowPasswords), Qt::LeftButton);
    for (const int id : {Editor::kName, Editor::kPassword, Editor::kConfirm}) {
      EXPECT_EQ(editor.Item<QLineEdit>(id)->echoMode(), QLineEdit::Password) << id;
    }
    editor.EndDialog(CKDialog::kIdCancel);
  });
}

TEST_F(EditPersonalData, NothingChangedClosesWithOkAndAMemoAloneIsRefused) {
  EXPECT_EQ(Run([](Editor& editor) { editor.OnOK(); }), CKDialog::kIdOk);
  EXPECT_TRUE(core_.messages().shown().empty());

  const int result = Run([](Editor& editor) {
    editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(QStringLiteral("new memo"));
    editor.OnOK();
    EXPECT_TRUE(editor.IsRunning());
    editor.EndDialog(CKDialog::kIdCancel);
  });
  EXPECT_EQ(result, CKDialog::kIdCancel);
  EXPECT_EQ(core_.Messages(), std::vector<std::string>{Message(11)});
  EXPECT_EQ(database_->GetMemo(), u"old memo");
}

TEST_F(EditPersonalData, ANewPasswordNeedsTheCurrentOneAndTheSameTwice) {
  const int result = Run([](Editor& editor) {
    Set(editor, Editor::kPassword, QStringLiteral("new"));
    editor.OnOK();  // neither confirmation nor current password: 11
    Set(editor, Editor::kConfirm, QStringLiteral("new"));
    editor.OnOK();  // still no current password: 11
    Set(editor, Editor::kName, QStringLiteral("guess"));
    Set(editor, Editor::kConfirm, QStringLiteral("neW"));
    editor.OnOK();  // the two differ: 12
    Set(editor, Editor::kConfirm, QStringLiteral("new"));
    editor.OnOK();  // the current one is wrong: 9
    Set(editor, Editor::kName, QStringLiteral("old password"));
    editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(QStringLiteral("new memo"));
    editor.OnOK();
  });
  EXPECT_EQ(result, CKDialog::kIdOk);
  EXPECT_EQ(core_.Messages(),
            (std::vector<std::string>{Message(11), Message(11), Message(12), Message(9)}));
  EXPECT_TRUE(database_->CheckPassword(u"new"));
  EXPECT_FALSE(database_->CheckPassword(u"old password"));
  EXPECT_EQ(database_->GetMemo(), u"new memo");
}

TEST_F(EditPersonalData, CancelLeavesTheDatabaseAsItWas) {
  const auto salt = database_->GetKeys().GetSalt();
  const std::vector<std::uint8_t> salt_before(salt.begin(), salt.end());
  Run([](Editor& editor) {
    Set(editor, Editor::kName, QStringLiteral("old password"));
    Set(editor, Editor::kPassword, QStringLiteral("x"));
    Set(editor, Editor::kConfirm, QStringLiteral("x"));
    editor.Item<QPlainTextEdit>(Editor::kMemo)->setPlainText(QStringLiteral("changed"));
    QTest::mouseClick(editor.GetDlgItem(CKDialog::kIdCancel), Qt::LeftButton);
  });
  const auto salt_after = database_->GetKeys().GetSalt();
  EXPECT_TRUE(std::equal(salt_after.begin(), salt_after.end(), salt_before.begin()));
  EXPECT_TRUE(database_->CheckPassword(u"old password"));
  EXPECT_EQ(database_->GetMemo(), u"old memo");
}

TEST_F(EditPersonalData, RestoreUserLeavesTheLoggedInUsersDatabaseAsItIs) {
  const test::TempDir backups;
  test::WriteUserFile(backups / "pia.VaultQuill", u"pia", u"pw", u"");
  core_.choosers().QueueFile(backups / "pia.VaultQuill");
  const int result = Run([](Editor& editor) {
    QTest::mouseClick(editor.GetDlgItem(Editor::kRestoreUser), Qt::LeftButton);
  });
  EXPECT_EQ(result, CKDialog::kIdCancel);
  EXPECT_TRUE(std::filesystem::exists(core_.UserFile("pia")));
  // The users were not read again: the database in use is the same object, still open.
  EXPECT_EQ(core_.core().m_Databases.FindUser(u"olga"), database_);
  EXPECT_TRUE(database_->IsOpen());
}

}  // namespace
