#include "settings/settings_user_based.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/database.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "user_session.h"

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;

// The user's settings in file order: "number name" or "text name" by the kind of setting.
std::vector<std::string> StoredSettings(CKDatabase& user) {
  std::vector<std::string> stored;
  const CKTLVARRAY& root = user.GetSettingsRoot();
  for (std::uint32_t i = 0; i < root.GetChildCount(); ++i) {
    const auto* setting = dynamic_cast<const CKTLVARRAY*>(root.GetChild(i));
    std::u16string name;
    if (setting == nullptr || !setting->GetStringByTag(TAG_NAME, name)) {
      stored.push_back("?");
      continue;
    }
    const bool number = setting->GetTag() == SETTING_NUMBER;
    stored.push_back((number ? "number " : "text ") + platform::ToUtf8(name));
  }
  return stored;
}

class UserBasedSettingsTest : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
  test::UserSession session;
  CKSettingsUserBased settings{session.users};
};

TEST_F(UserBasedSettingsTest, NobodyLoggedInMeansDefaultsAndNothingWritten) {
  settings.boolHidePasswords = false;
  settings.stringCustomArray = u"xyz";
  EXPECT_TRUE(settings.Load());
  EXPECT_TRUE(settings.boolHidePasswords);
  EXPECT_EQ(settings.stringCustomArray, u"");
  EXPECT_TRUE(settings.Save());
  ASSERT_TRUE(session.LogIn());
  EXPECT_TRUE(StoredSettings(session.Current()).empty());
}

TEST_F(UserBasedSettingsTest, FirstSaveAppendsEveryKeyInOrderWithItsDefault) {
  ASSERT_TRUE(session.LogIn());
  settings.boolIsSpecialEnabled = true;
  settings.Load();  // a new user's file holds no settings: every default
  settings.Save();
  EXPECT_THAT(
      StoredSettings(session.Current()),
      ElementsAre("number boolLogOutOnMinimize", "number boolCleanClipboardOnExit",
                  "number boolHidePasswords", "number boolAutoFillNewNotesWithDefaults",
                  "text stringCustomArray", "number boolIsLetersEnabledBig",
                  "number boolIsLetersEnabledSmall", "number boolIsNumbersEnabled",
                  "number boolIsCustomEnabled", "number boolIsSpecialEnabled",
                  "number intPasswordLength", "number boolSingleClickInterface",
                  "text stringDefaultLogin", "text stringDefaultEmail", "text stringLanguage"));
  std::uint32_t value = 99;
  CKDatabase& user = session.Current();
  EXPECT_TRUE(user.GetNumberSetting(u"boolIsSpecialEnabled", value, 99) && value == 0);
  EXPECT_TRUE(user.GetNumberSetting(u"boolSingleClickInterface", value, 99) && value == 1);
  EXPECT_TRUE(user.GetNumberSetting(u"intPasswordLength", value, 99) && value == 14);
}

TEST_F(UserBasedSettingsTest, ValuesTravelThroughTheUserFile) {
  ASSERT_TRUE(session.LogIn());
  settings.boolLogOutOnMinimize = false;
  settings.boolIsCustomEnabled = true;
  settings.intPasswordLength = 200;
  settings.stringCustomArray = u"\u00e4\u00f6\u00fc\u00df";
  settings.stringDefaultEmail = u"zoe@example.org";
  settings.Save();
  ASSERT_EQ(session.Current().Save(), 0);
  session.users.LogOut();
  EXPECT_EQ(settings.intPasswordLength, 200);  // the last user's values stay until a log-in

  CKSettingsUserBased reloaded(session.users);
  ASSERT_TRUE(session.LogIn());
  reloaded.Load();
  EXPECT_FALSE(reloaded.boolLogOutOnMinimize);
  EXPECT_TRUE(reloaded.boolIsCustomEnabled);
  EXPECT_TRUE(reloaded.boolHidePasswords);
  EXPECT_EQ(reloaded.intPasswordLength, 200);
  EXPECT_EQ(reloaded.stringCustomArray, u"\u00e4\u00f6\u00fc\u00df");
  EXPECT_EQ(reloaded.stringDefaultEmail, u"zoe@example.org");
}

TEST_F(UserBasedSettingsTest, WronglyTypedKeysGiveTheirDefaultAndMissingOnesAreAppended) {
  ASSERT_TRUE(session.LogIn());
  CKDatabase& user = session.Current();
  user.SetTextSetting(u"intPasswordLength", u"20");
  user.SetNumberSetting(u"boolHidePasswords", 0);
  user.SetNumberSetting(u"stringDefaultLogin", 5);
  settings.Load();
  EXPECT_EQ(settings.intPasswordLength, 14);
  EXPECT_FALSE(settings.boolHidePasswords);
  EXPECT_EQ(settings.stringDefaultLogin, u"");

  settings.Save();
  const auto stored = StoredSettings(user);
  ASSERT_EQ(stored.size(), 15u);  // three kept in place, twelve appended
  EXPECT_THAT(stored[0], EndsWith(" intPasswordLength"));
  EXPECT_THAT(stored[2], EndsWith(" stringDefaultLogin"));
  EXPECT_EQ(stored[3], "number boolLogOutOnMinimize");
  std::uint32_t length = 0;
  std::u16string login = u"?";
  EXPECT_TRUE(user.GetNumberSetting(u"intPasswordLength", length, 0) && length == 14);
  EXPECT_TRUE(user.GetTextSetting(u"stringDefaultLogin", login, u"?") && login.empty());
}

}  // namespace
