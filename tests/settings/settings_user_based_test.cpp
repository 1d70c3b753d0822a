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

// The user's settings as the file holds them: "number name" or "text name", in file order.
std::vector<std::string> StoredSettings(CKDatabase& user) {
  std::vector<std::string> names;
  const CKTLVARRAY& root = user.GetSettingsRoot();
  for (std::uint32_t i = 0; i < root.GetChildCount(); ++i) {
    const auto* setting = dynamic_cast<const CKTLVARRAY*>(root.GetChild(i));
    std::u16string name;
    if (setting == nullptr || !setting->GetStringByTag(TAG_NAME, name)) {
      names.push_back("?");
      continue;
    }
    const char* kind = setting->GetTag() == SETTING_NUMBER ? "number " : "text ";
    names.push_back(kind + platform::ToUtf8(name));
  }
  return names;
}

void ExpectDefaults(const CKSettingsUserBased& settings) {
  EXPECT_TRUE(settings.boolLogOutOnMinimize);
  EXPECT_TRUE(settings.boolCleanClipboardOnExit);
  EXPECT_TRUE(settings.boolAutoFillNewNotesWithDefaults);
  EXPECT_TRUE(settings.boolHidePasswords);
  EXPECT_TRUE(settings.boolSingleClickInterface);
  EXPECT_TRUE(settings.boolIsLetersEnabledBig);
  EXPECT_TRUE(settings.boolIsLetersEnabledSmall);
  EXPECT_TRUE(settings.boolIsNumbersEnabled);
  EXPECT_FALSE(settings.boolIsCustomEnabled);
  EXPECT_FALSE(settings.boolIsSpecialEnabled);
  EXPECT_EQ(settings.intPasswordLength, 14);
  EXPECT_EQ(settings.stringCustomArray, u"");
  EXPECT_EQ(settings.stringDefaultLogin, u"");
  EXPECT_EQ(settings.stringDefaultEmail, u"");
}

void ChangeEverything(CKSettingsUserBased& settings) {
  settings.boolLogOutOnMinimize = false;
  settings.boolCleanClipboardOnExit = false;
  settings.boolAutoFillNewNotesWithDefaults = false;
  settings.boolHidePasswords = false;
  settings.boolSingleClickInterface = false;
  settings.boolIsLetersEnabledBig = false;
  settings.boolIsLetersEnabledSmall = false;
  settings.boolIsNumbersEnabled = false;
  settings.boolIsCustomEnabled = true;
  settings.boolIsSpecialEnabled = true;
  settings.intPasswordLength = 200;
  settings.stringCustomArray = u"\u00e4\u00f6\u00fc\u00df";
  settings.stringDefaultLogin = u"zoe";
  settings.stringDefaultEmail = u"zoe@example.org";
}

class UserBasedSettingsTest : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
  test::UserSession session;
  CKSettingsUserBased settings{session.users};
};

TEST_F(UserBasedSettingsTest, NobodyLoggedInMeansDefaultsAndNothingWritten) {
  ChangeEverything(settings);
  EXPECT_TRUE(settings.Load());
  ExpectDefaults(settings);
  EXPECT_EQ(settings.GetGroupName(), u"User Based Settings");
  EXPECT_TRUE(settings.Save());
  ASSERT_TRUE(session.LogIn());
  EXPECT_TRUE(StoredSettings(session.Current()).empty());
}

TEST_F(UserBasedSettingsTest, NewUserGetsDefaultsAndTheFirstSaveAppendsEveryKeyInOrder) {
  ASSERT_TRUE(session.LogIn());
  ChangeEverything(settings);
  settings.Load();
  ExpectDefaults(settings);

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
}

TEST_F(UserBasedSettingsTest, ValuesTravelThroughTheUserFile) {
  ASSERT_TRUE(session.LogIn());
  ChangeEverything(settings);
  settings.Save();
  ASSERT_EQ(session.Current().Save(), 0);
  session.users.LogOut();

  // After log-out the last user's values stay until the next log-in loads.
  EXPECT_EQ(settings.intPasswordLength, 200);
  CKSettingsUserBased reloaded(session.users);
  ASSERT_TRUE(session.LogIn());
  reloaded.Load();
  EXPECT_FALSE(reloaded.boolLogOutOnMinimize);
  EXPECT_FALSE(reloaded.boolCleanClipboardOnExit);
  EXPECT_FALSE(reloaded.boolAutoFillNewNotesWithDefaults);
  EXPECT_FALSE(reloaded.boolHidePasswords);
  EXPECT_FALSE(reloaded.boolSingleClickInterface);
  EXPECT_FALSE(reloaded.boolIsLetersEnabledBig);
  EXPECT_FALSE(reloaded.boolIsLetersEnabledSmall);
  EXPECT_FALSE(reloaded.boolIsNumbersEnabled);
  EXPECT_TRUE(reloaded.boolIsCustomEnabled);
  EXPECT_TRUE(reloaded.boolIsSpecialEnabled);
  EXPECT_EQ(reloaded.intPasswordLength, 200);
  EXPECT_EQ(reloaded.stringCustomArray, u"\u00e4\u00f6\u00fc\u00df");
  EXPECT_EQ(reloaded.stringDefaultLogin, u"zoe");
  EXPECT_EQ(reloaded.stringDefaultEmail, u"zoe@example.org");
}

TEST_F(UserBasedSettingsTest, MissingOrWronglyTypedKeysGiveTheirDefaultAndAreAppendedOnSave) {
  ASSERT_TRUE(session.LogIn());
  CKDatabase& user = session.Current();
  // An older file: a few settings only, one of them of the wrong type.
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
  EXPECT_THAT(stored[1], EndsWith(" boolHidePasswords"));
  EXPECT_THAT(stored[2], EndsWith(" stringDefaultLogin"));
  EXPECT_EQ(stored[3], "number boolLogOutOnMinimize");
  // Each now holds a value of its own type.
  std::uint32_t length = 0;
  EXPECT_TRUE(user.GetNumberSetting(u"intPasswordLength", length, 0));
  EXPECT_EQ(length, 14u);
  std::u16string login;
  EXPECT_TRUE(user.GetTextSetting(u"stringDefaultLogin", login, u"?"));
  EXPECT_EQ(login, u"");
}

}  // namespace
