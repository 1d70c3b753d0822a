// The user-based group in a real user file: a users container whose data folder holds one new
// user, and a log-in dialog that opens that user's file.
#include "settings/settings_user_based.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/database.h"
#include "database/databases_container.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "platform/user_dialogs.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

constexpr char16_t kName[] = u"Zo\u00eb";
constexpr char16_t kPassword[] = u"open sesame";

// The user's settings in file order: name=number or name="text".
std::vector<std::string> StoredSettings(CKDatabase& user) {
  std::vector<std::string> stored;
  const CKTLVARRAY& root = user.GetSettingsRoot();
  for (std::uint32_t i = 0; i < root.GetChildCount(); ++i) {
    const auto& setting = dynamic_cast<const CKTLVARRAY&>(*root.GetChild(i));
    std::u16string name, text;
    std::uint32_t number = 0;
    EXPECT_TRUE(setting.GetStringByTag(TAG_NAME, name));
    const bool is_number = setting.GetTag() == SETTING_NUMBER;
    EXPECT_TRUE(is_number ? user.GetNumberSetting(name, number, 0)
                          : user.GetTextSetting(name, text, u"<none>"));
    stored.push_back(platform::ToUtf8(name) + "=" +
                     (is_number ? std::to_string(number) : "\"" + platform::ToUtf8(text) + "\""));
  }
  return stored;
}

class UserBasedSettingsTest : public ::testing::Test, public platform::UserDialogs {
 protected:
  UserBasedSettingsTest() : previous_(platform::InstallDialogs(this)) {}
  ~UserBasedSettingsTest() override { platform::InstallDialogs(previous_); }
  void SetUp() override {
    const std::u16string path = platform::FromUtf8(folder_.path().string()) + u"/";
    CKDatabase user;
    user.SetPath(path + kName + u".VaultQuill");
    user.SetName(kName);
    user.GetKeys().SetIterations(1);  // keeps every open fast
    user.NewSalt();
    user.SetPassword(kPassword);
    user.SetOpen(true);
    ASSERT_EQ(user.Save(), 0);
    ASSERT_EQ(users_.Scan(path), 1u);
  }

  CKDatabase* RunLogIn(CKDatabasesContainer& container) override {
    CKDatabase* user = container.FindUser(kName);
    return user != nullptr && user->Load(kPassword) == 0 ? user : nullptr;
  }
  bool RunUserEditor(CKDatabasesContainer&, CKDatabase&, bool) override { return false; }

  test::RecordingMessages messages_;
  test::TempDir folder_;
  platform::UserDialogs* previous_;
  CKDatabasesContainer users_;
  CKSettingsUserBased settings_{users_};
};

TEST_F(UserBasedSettingsTest, NobodyLoggedInMeansDefaultsAndNothingWritten) {
  settings_.boolHidePasswords = false;
  settings_.stringCustomArray = u"xyz";
  EXPECT_TRUE(settings_.Load());
  EXPECT_TRUE(settings_.boolHidePasswords);
  EXPECT_EQ(settings_.stringCustomArray, u"");
  EXPECT_TRUE(settings_.Save());
  ASSERT_TRUE(users_.LogIn());
  EXPECT_TRUE(StoredSettings(*users_.GetCurrent()).empty());
}

TEST_F(UserBasedSettingsTest, EveryKeyWithItsTypeDefaultAndOrder) {
  // A new user's file takes them in the order of Save, with their defaults; "stringLanguage" is
  // written for the files of other versions and never read.
  const std::vector<std::string> defaults = {
      "boolLogOutOnMinimize=1",     "boolCleanClipboardOnExit=1",
      "boolHidePasswords=1",        "boolAutoFillNewNotesWithDefaults=1",
      "stringCustomArray=\"\"",     "boolIsLetersEnabledBig=1",
      "boolIsLetersEnabledSmall=1", "boolIsNumbersEnabled=1",
      "boolIsCustomEnabled=0",      "boolIsSpecialEnabled=0",
      "intPasswordLength=14",       "boolSingleClickInterface=1",
      "stringDefaultLogin=\"\"",    "stringDefaultEmail=\"\"",
      "stringLanguage=\"\""};
  ASSERT_TRUE(users_.LogIn());
  CKDatabase& user = *users_.GetCurrent();
  settings_.boolIsSpecialEnabled = true;
  settings_.Load();
  settings_.Save();
  EXPECT_EQ(StoredSettings(user), defaults);
  // Each value changed in the file, one after the other, comes back under its own key.
  std::vector<std::string> expected = defaults;
  for (std::size_t changed = 0; changed + 1 < defaults.size(); ++changed) {
    const std::string& setting = defaults[changed];
    const std::size_t equals = setting.find('=');
    const std::u16string name = platform::FromUtf8(setting.substr(0, equals));
    const bool number = setting.back() != '"';
    number ? user.SetNumberSetting(name, setting.ends_with("=0") ? 1 : 0)
           : user.SetTextSetting(name, u"Zo\u00eb");
    expected[changed] = StoredSettings(user)[changed];
    settings_.Load();
    settings_.Save();
    EXPECT_EQ(StoredSettings(user), expected);
  }
}

}  // namespace
