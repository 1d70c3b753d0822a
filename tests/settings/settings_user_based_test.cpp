// The user-based group in a real user file: a users container whose data folder holds one new
// user, and a log-in dialog that opens that user's file.
#include "settings/settings_user_based.h"

#include <gtest/gtest.h>

#include <stdexcept>
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

// The user's settings in file order: "number name=value" or "text name=value".
std::vector<std::string> StoredSettings(CKDatabase& user) {
  std::vector<std::string> stored;
  const CKTLVARRAY& root = user.GetSettingsRoot();
  for (std::uint32_t i = 0; i < root.GetChildCount(); ++i) {
    const auto* setting = dynamic_cast<const CKTLVARRAY*>(root.GetChild(i));
    std::u16string name, text;
    std::uint32_t number = 0;
    if (setting == nullptr || !setting->GetStringByTag(TAG_NAME, name)) {
      stored.push_back("?");
    } else if (setting->GetTag() == SETTING_NUMBER && user.GetNumberSetting(name, number, 0)) {
      stored.push_back("number " + platform::ToUtf8(name) + "=" + std::to_string(number));
    } else {
      user.GetTextSetting(name, text, u"<none>");
      stored.push_back("text " + platform::ToUtf8(name) + "=" + platform::ToUtf8(text));
    }
  }
  return stored;
}

class UserBasedSettingsTest : public ::testing::Test, public platform::UserDialogs {
 protected:
  UserBasedSettingsTest() : previous_(platform::InstallDialogs(this)) {
    const std::u16string path = platform::FromUtf8(folder_.path().string()) + u"/";
    CKDatabase user;
    user.SetPath(path + kName + u".VaultQuill");
    user.SetName(kName);
    user.GetKeys().SetIterations(1);  // keeps every open fast
    user.NewSalt();
    user.SetPassword(kPassword);
    user.SetOpen(true);
    if (user.Save() != 0 || users_.Scan(path) != 1) {
      throw std::runtime_error("the test user's file could not be made");
    }
  }
  ~UserBasedSettingsTest() override { platform::InstallDialogs(previous_); }

  CKDatabase* RunLogIn(CKDatabasesContainer& container) override {
    CKDatabase* user = container.FindUser(kName);
    return user != nullptr && user->Load(kPassword) == 0 ? user : nullptr;
  }
  bool RunUserEditor(CKDatabasesContainer&, CKDatabase&, bool) override { return false; }
  CKDatabase& LogIn() {
    EXPECT_TRUE(users_.LogIn());
    return *users_.GetCurrent();
  }

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
  EXPECT_TRUE(StoredSettings(LogIn()).empty());
}

TEST_F(UserBasedSettingsTest, EveryKeyWithItsTypeDefaultAndOrder) {
  // A new user's file takes them in the order of Save, with their defaults; "stringLanguage" is
  // written for the files of other versions and never read.
  const std::vector<std::string> defaults = {"number boolLogOutOnMinimize=1",
                                             "number boolCleanClipboardOnExit=1",
                                             "number boolHidePasswords=1",
                                             "number boolAutoFillNewNotesWithDefaults=1",
                                             "text stringCustomArray=",
                                             "number boolIsLetersEnabledBig=1",
                                             "number boolIsLetersEnabledSmall=1",
                                             "number boolIsNumbersEnabled=1",
                                             "number boolIsCustomEnabled=0",
                                             "number boolIsSpecialEnabled=0",
                                             "number intPasswordLength=14",
                                             "number boolSingleClickInterface=1",
                                             "text stringDefaultLogin=",
                                             "text stringDefaultEmail=",
                                             "text stringLanguage="};
  CKDatabase& user = LogIn();
  settings_.boolIsSpecialEnabled = true;
  settings_.Load();
  settings_.Save();
  EXPECT_EQ(StoredSettings(user), defaults);
  // Each value in the file alone changed comes back under its own key.
  for (std::size_t changed = 0; changed + 1 < defaults.size(); ++changed) {
    const std::string& setting = defaults[changed];
    const std::size_t space = setting.find(' '), equals = setting.find('=');
    const std::u16string name = platform::FromUtf8(setting.substr(space + 1, equals - space - 1));
    const bool number = setting.starts_with("number");
    number ? user.SetNumberSetting(name, setting.ends_with("=0") ? 1 : 0)
           : user.SetTextSetting(name, u"Zo\u00eb");
    std::vector<std::string> expected = defaults;
    expected[changed] = StoredSettings(user)[changed];
    settings_.Load();
    settings_.Save();
    EXPECT_EQ(StoredSettings(user), expected);
    number ? user.SetNumberSetting(name, std::stoul(setting.substr(equals + 1)))
           : user.SetTextSetting(name, u"");
  }
}

}  // namespace
