// The password generator dialog: its two modes, the options stored on Generate, OK and Cancel
// and kept in the user's file, the length range, the custom toggle that opens off, and copy.
#include "ui/generator_dlg.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>

#include "core/core.h"
#include "support/dialog_driver.h"
#include "support/logged_in.h"

namespace test {
namespace {

using Dlg = CKGeneratorDlg;

void Check(Dlg& dialog, int id, bool checked) {
  if (dialog.IsChecked(id) != checked) {
    Click(dialog, id);
  }
}

bool AllFrom(const QString& text, std::u16string_view alphabet) {
  return std::all_of(text.begin(), text.end(), [alphabet](QChar c) {
    return alphabet.find(c.unicode()) != std::u16string_view::npos;
  });
}

using Generator = LoggedInTest;

TEST_F(Generator, OnItsOwnTheOptionsAreStoredAndKeptInTheUsersFile) {
  int pick_height = 0;
  WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::kPickHint)->isVisible());
    pick_height = dialog.height();
    Click(dialog, CKDialog::kIdCancel);
  });
  std::u16string unused;
  EXPECT_FALSE(PickPassword(nullptr, unused));

  WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kPickHint)->isVisible());
    EXPECT_LT(dialog.height(), pick_height);
    // The length is kept between 1 and 255; left empty it is the length it had.
    for (const auto& [typed, kept] : {std::pair{"0", "1"}, {"999", "255"}, {"", "255"}}) {
      Replace(dialog, Dlg::kLength, QString::fromLatin1(typed));
      Click(dialog, Dlg::kGenerate);
      EXPECT_EQ(TextOf(dialog, Dlg::kLength), QString::fromLatin1(kept)) << typed;
      EXPECT_EQ(TextOf(dialog, Dlg::kResult).size(), QString::fromLatin1(kept).toInt());
    }
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

  const auto reread = Reopen();
  for (const auto& [name, value] : {std::pair{u"boolIsLetersEnabledSmall", 0u},
                                    {u"boolIsSpecialEnabled", 1u},
                                    {u"boolIsLetersEnabledBig", 1u},
                                    {u"intPasswordLength", 20u}}) {
    std::uint32_t stored = 9999;
    reread->GetNumberSetting(name, stored, 9999);
    EXPECT_EQ(stored, value);
  }
}

TEST_F(Generator, TheCustomToggleAlwaysOpensOffAndCancelAndTheCloseBoxStoreToo) {
  WhenRunning<Dlg>([&](Dlg& dialog) {
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
  WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_FALSE(dialog.IsChecked(Dlg::kCustomToggle));
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

}  // namespace
}  // namespace test
