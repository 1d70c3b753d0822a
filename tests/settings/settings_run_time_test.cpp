#include "settings/settings_run_time.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "sandbox.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::u16string_view kGroup = u"RunTime Settings";
constexpr std::u16string_view kKey = u"m_csUserDataFolder";

class RunTimeSettingsTest : public ::testing::Test {
 protected:
  test::SettingsSandbox sandbox;
  CKSettingsRunTime settings;
};

TEST_F(RunTimeSettingsTest, FirstInstalledStartMakesAndStoresThePrivateDataFolder) {
  sandbox.SetEnvironment("XDG_DATA_HOME", "");  // the default, ~/.local/share, is made too
  ASSERT_TRUE(settings.Load());
  const auto company = sandbox.home() / ".local" / "share" / "Orlavo software";
  EXPECT_FALSE(settings.m_boolPortable);
  EXPECT_EQ(settings.ProgramPath(), test::U16(sandbox.program()) + u"/vaultquill");
  EXPECT_EQ(settings.m_csUserDataFolder, test::U16(company / "VaultQuill") + u"/");
  EXPECT_EQ(sandbox.store.GetProfileString(kGroup, kKey, u"?"), test::U16(company / "VaultQuill"));
  for (const auto& folder : {company, company / "VaultQuill"}) {
    struct stat status {};
    ASSERT_EQ(stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
  }
  EXPECT_EQ(settings.m_csDocumentsFolder, u"");  // no ~/Documents
  EXPECT_THAT(sandbox.messages.shown(), IsEmpty());

  // Later starts: the folders exist already, and a stored data folder wins (a separator is
  // added to one of two characters or more).
  std::filesystem::create_directories(sandbox.home() / "Documents");
  for (const auto& [stored, expected] :
       {std::pair<std::u16string, std::u16string>{u"/mnt/vault/", u"/mnt/vault/"},
        {u"/mnt/other", u"/mnt/other/"},
        {u"x", u"x"}}) {
    sandbox.store.WriteProfileString(kGroup, kKey, stored);
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(settings.m_csUserDataFolder, expected);
    EXPECT_EQ(sandbox.store.GetProfileString(kGroup, kKey, u""), stored);
    EXPECT_EQ(settings.m_csDocumentsFolder, test::U16(sandbox.home() / "Documents") + u"/");
  }
}

TEST_F(RunTimeSettingsTest, PortableMarkerKeepsTheDataBesideTheProgram) {
  std::filesystem::create_directories(sandbox.home() / "Documents");
  for (const bool as_folder : {false, true}) {
    const auto marker = sandbox.program() / "VaultQuill.Portable";
    std::filesystem::remove_all(marker);
    as_folder ? (void)std::filesystem::create_directory(marker) : (void)std::ofstream(marker);
    sandbox.store.calls.clear();
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.m_boolPortable);
    EXPECT_EQ(settings.m_csUserDataFolder, test::U16(sandbox.program()) + u"/");
    EXPECT_EQ(settings.m_csDocumentsFolder, u"");
    EXPECT_THAT(sandbox.store.calls, IsEmpty());  // the key is neither read nor written
    EXPECT_FALSE(std::filesystem::exists(sandbox.data()));
  }
}

TEST_F(RunTimeSettingsTest, DataFolderThatCannotBeMadeIsNamedAndFailsTheLoad) {
  std::filesystem::create_directories(sandbox.data());
  std::ofstream(sandbox.data() / "Orlavo software") << "a file where the folder belongs";
  sandbox.store.WriteProfileString(kGroup, kKey, u"/mnt/vault");
  EXPECT_FALSE(settings.Load());
  EXPECT_THAT(sandbox.messages.Texts(),
              ElementsAre("The data folder \"" + (sandbox.data() / "Orlavo software").string() +
                          "\" cannot be created."));
  // The stored folder is taken, but does not make up for the failure.
  EXPECT_EQ(settings.m_csUserDataFolder, u"/mnt/vault/");
}

}  // namespace
