#include <gtest/gtest.h>

#include "database/database.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

TEST(Settings, NumberSettingsByNameIgnoringCase) {
  CKDatabase database;
  std::uint32_t value = 0;
  EXPECT_FALSE(database.GetNumberSetting(u"intPasswordLength", value, 14));
  EXPECT_EQ(value, 14u);
  EXPECT_TRUE(database.SetNumberSetting(u"intPasswordLength", 20));
  ASSERT_EQ(database.GetSettingsRoot().GetChildCount(), 1u);
  auto* entry = dynamic_cast<CKTLVARRAY*>(database.GetSettingsRoot().GetChild(0));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetTag(), SETTING_NUMBER);
  EXPECT_EQ(entry->GetChildCount(), 2u);
  EXPECT_TRUE(database.SetNumberSetting(u"INTPASSWORDLENGTH", 21));
  EXPECT_EQ(database.GetSettingsRoot().GetChildCount(), 1u);
  EXPECT_TRUE(database.GetNumberSetting(u"intpasswordlength", value, 14));
  EXPECT_EQ(value, 21u);
}

TEST(Settings, ValueOfAnotherTypeGivesTheDefault) {
  CKDatabase database;
  // A text setting whose value field is a number.
  CKTLVARRAY* entry = database::CreateEntry(database.GetSettingsRoot(), SETTING_NUMBER);
  database.GetSettingsRoot().AddChild(entry);
  entry->SetStringByTag(TAG_NAME, u"stringDefaultLogin");
  entry->FindChild(TAG_NUMBER_VALUE)->SetTag(TAG_TEXT_VALUE);
  std::u16string text = u"old";
  EXPECT_FALSE(database.GetTextSetting(u"stringDefaultLogin", text, u"fallback"));
  EXPECT_EQ(text, u"fallback");

  // Setting it replaces the mistyped field, once, rather than hiding values behind it.
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(database.SetTextSetting(u"stringDefaultLogin", u"me"));
  }
  EXPECT_EQ(entry->GetChildCount(), 2u);
  EXPECT_TRUE(database.GetTextSetting(u"stringDefaultLogin", text, u"fallback"));
  EXPECT_EQ(text, u"me");
}

TEST(Settings, KeptInTheUserFile) {
  test::TempDir dir;
  test::RecordingMessages messages;
  auto user = test::NewUser(dir / "Sam.VaultQuill");
  user->SetNumberSetting(u"boolHidePasswords", 0);
  user->SetTextSetting(u"stringDefaultEmail", u"s\u00e4m@example.invalid");
  ASSERT_EQ(user->Save(), 0);
  CKDatabase loaded;
  loaded.SetPath(test::U16(dir / "Sam.VaultQuill"));
  ASSERT_EQ(loaded.Load(test::kPassword), 0);
  std::uint32_t hide = 1;
  std::u16string email;
  EXPECT_TRUE(loaded.GetNumberSetting(u"boolHidePasswords", hide, 1));
  EXPECT_EQ(hide, 0u);
  EXPECT_TRUE(loaded.GetTextSetting(u"stringDefaultEmail", email, u""));
  EXPECT_EQ(email, u"s\u00e4m@example.invalid");
}

}  // namespace
