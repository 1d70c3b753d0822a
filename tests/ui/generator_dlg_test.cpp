// The password generator dialog: its two modes, the options stored on Generate, OK and Cancel
// and kept in the user's file, the custom toggle that opens off, copy, and the length range.
#include "ui/generator_dlg.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>

#include "core/core.h"
#include "editor_fixture.h"
#include "generator/password_generator.h"
#include "support/dialog_driver.h"

namespace {

using Dlg = CKGeneratorDlg;
using test::Click;
using test::Replace;
using test::TextOf;

void Check(Dlg& dialog, int id, bool checked) {
  auto* box = dialog.Item<QAbstractButton>(id);
  ASSERT_NE(box, nullptr);
  if (box->isChecked() != checked) {
    Click(dialog, id);
  }
}

bool AllFrom(const QString& text, std::u16string_view alphabet) {
  for (const QChar c : text) {
    if (alphabet.find(c.unicode()) == std::u16string_view::npos) {
      return false;
    }
  }
  return true;
}

class Generator : public test::EditorTest {
 protected:
  static std::uint32_t StoredNumber(CKDatabase& database, std::u16string_view name) {
    std::uint32_t value = 9999;
    database.GetNumberSetting(name, value, 9999);
    return value;
  }
};

TEST_F(Generator, OnItsOwnTheOptionsAreStoredAndKeptInTheUsersFile) {
  int pick_height = 0;
  test::WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_EQ(TextOf(dialog, Dlg::kPickHint), Text(10, 4));
    pick_height = dialog.height();
    Click(dialog, CKDialog::kIdCancel);
  });
  std::u16string unused;
  EXPECT_FALSE(PickPassword(nullptr, unused));

  test::WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_FALSE(dialog.IsPickMode());
    EXPECT_EQ(dialog.windowTitle(), Text(10, 255));
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kPickHint)->isVisible());
    EXPECT_LT(dialog.height(), pick_height);
    EXPECT_EQ(TextOf(dialog, Dlg::kSpecial), QStringLiteral("!@#$%^&&*()_-+=\":;'</>\\~`.,"));
    Check(dialog, Dlg::kLowerCase, false);
    Check(dialog, Dlg::kSpecial, true);
    Replace(dialog, Dlg::kLength, QStringLiteral("20"));
    Click(dialog, Dlg::kGenerate);
    const QString result = TextOf(dialog, Dlg::kResult);
    EXPECT_EQ(result.size(), 20);
    EXPECT_TRUE(
        AllFrom(result, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*()_-+=\":;'</>\\~`.,"))
        << result.toStdString();
    // In effect at once, before the dialog closes.
    EXPECT_FALSE(core().m_SettingsUserBased.boolIsLetersEnabledSmall);
    EXPECT_EQ(core().m_SettingsUserBased.intPasswordLength, 20);
    Click(dialog, Dlg::kCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), result);
    Click(dialog, CKDialog::kIdOk);
  });
  RunPasswordGenerator(nullptr);

  CKDatabase reread;
  reread.SetPath(user().GetPath());
  ASSERT_EQ(reread.Load(kPassword), 0);
  EXPECT_EQ(StoredNumber(reread, u"boolIsLetersEnabledSmall"), 0u);
  EXPECT_EQ(StoredNumber(reread, u"boolIsSpecialEnabled"), 1u);
  EXPECT_EQ(StoredNumber(reread, u"boolIsLetersEnabledBig"), 1u);
  EXPECT_EQ(StoredNumber(reread, u"intPasswordLength"), 20u);
}

TEST_F(Generator, TheCustomToggleAlwaysOpensOffAndCancelStoresToo) {
  test::WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kCustomCharacters)->isEnabled());
    Click(dialog, Dlg::kCustomToggle);
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::kCustomCharacters)->isEnabled());
    for (const int id : {Dlg::kUpperCase, Dlg::kLowerCase, Dlg::kDigits, Dlg::kSpecial}) {
      Check(dialog, id, false);
    }
    // One letter written twice: two characters in the alphabet, one in the password.
    Replace(dialog, Dlg::kCustomCharacters, QStringLiteral("qq"));
    Replace(dialog, Dlg::kLength, QStringLiteral("7"));
    Click(dialog, Dlg::kGenerate);
    EXPECT_EQ(TextOf(dialog, Dlg::kResult), QStringLiteral("qqqqqqq"));
    Replace(dialog, Dlg::kCustomCharacters, QStringLiteral("qq#"));
    dialog.close();  // the close box stores the options as Cancel does
  });
  RunPasswordGenerator(nullptr);
  EXPECT_TRUE(core().m_SettingsUserBased.boolIsCustomEnabled);
  EXPECT_EQ(core().m_SettingsUserBased.stringCustomArray, u"qq#");

  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  test::WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_FALSE(dialog.Item<QAbstractButton>(Dlg::kCustomToggle)->isChecked());
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kCustomCharacters)->isEnabled());
    EXPECT_EQ(TextOf(dialog, Dlg::kCustomCharacters), QStringLiteral("qq#"));
    Click(dialog, Dlg::kGenerate);  // nothing enabled: no password, no message
    EXPECT_TRUE(TextOf(dialog, Dlg::kResult).isEmpty());
    Click(dialog, Dlg::kCopy);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    Click(dialog, CKDialog::kIdCancel);
  });
  RunPasswordGenerator(nullptr);
  EXPECT_FALSE(core().m_SettingsUserBased.boolIsCustomEnabled);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(Generator, TheLengthIsKeptBetweenOneAnd255) {
  test::WhenRunning<Dlg>([&](Dlg& dialog) {
    Replace(dialog, Dlg::kLength, QStringLiteral("0"));
    Click(dialog, Dlg::kGenerate);
    EXPECT_EQ(TextOf(dialog, Dlg::kLength), QStringLiteral("1"));
    Replace(dialog, Dlg::kLength, QStringLiteral("999"));
    Click(dialog, Dlg::kGenerate);
    EXPECT_EQ(TextOf(dialog, Dlg::kLength), QStringLiteral("255"));
    EXPECT_EQ(TextOf(dialog, Dlg::kResult).size(), 255);
    Replace(dialog, Dlg::kLength, QString());  // empty: the length it had
    Click(dialog, Dlg::kGenerate);
    EXPECT_EQ(TextOf(dialog, Dlg::kLength), QStringLiteral("255"));
    Click(dialog, CKDialog::kIdOk);
  });
  RunPasswordGenerator(nullptr);
  EXPECT_EQ(core().m_SettingsUserBased.intPasswordLength, 255);
}

}  // namespace
