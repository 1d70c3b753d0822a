#include "settings/settings_run_time.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/tray.h"
#include "sandbox.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::u16string_view kGroup = u"RunTime Settings";
constexpr std::u16string_view kKey = u"m_csUserDataFolder";

class RunTimeSettingsTest : public ::testing::Test {
 protected:
  std::u16string DefaultDataFolder() const {
    return test::U16(sandbox.data() / "Orlavo software" / "VaultQuill");
  }

  test::SettingsSandbox sandbox;
  CKSettingsRunTime settings;
};

TEST_F(RunTimeSettingsTest, FirstInstalledStartMakesAndStoresThePrivateDataFolder) {
  EXPECT_FALSE(settings.m_boolPortable || settings.m_boolRelogin || settings.m_boolStartMinimised);
  ASSERT_TRUE(settings.Load());
  EXPECT_FALSE(settings.m_boolPortable);
  EXPECT_EQ(settings.m_csProgramFolder, test::U16(sandbox.program()) + u"/");
  EXPECT_EQ(settings.ProgramPath(), test::U16(sandbox.program()) + u"/vaultquill");
  EXPECT_EQ(settings.m_csUserDataFolder, DefaultDataFolder() + u"/");
  EXPECT_EQ(sandbox.store.GetProfileString(kGroup, kKey, u"?"), DefaultDataFolder());
  struct stat status {};
  ASSERT_EQ(stat((sandbox.data() / "Orlavo software" / "VaultQuill").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_FALSE(settings.m_csUserName.empty());
  EXPECT_THAT(sandbox.messages.shown(), IsEmpty());
}

TEST_F(RunTimeSettingsTest, DataHomeDefaultsToLocalShareAndIsMadeWhenMissing) {
  sandbox.environment.Unset("XDG_DATA_HOME");
  ASSERT_TRUE(settings.Load());
  const auto folder = sandbox.home() / ".local" / "share" / "Orlavo software" / "VaultQuill";
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(settings.m_csUserDataFolder, test::U16(folder) + u"/");
}

TEST_F(RunTimeSettingsTest, StoredDataFolderWinsAndGetsOneSeparator) {
  sandbox.store.WriteProfileString(kGroup, kKey, u"/mnt/vault/");
  ASSERT_TRUE(settings.Load());
  EXPECT_EQ(settings.m_csUserDataFolder, u"/mnt/vault/");
  EXPECT_EQ(sandbox.store.GetProfileString(kGroup, kKey, u""), u"/mnt/vault/");

  sandbox.store.WriteProfileString(kGroup, kKey, u"/mnt/other");
  settings.Load();
  EXPECT_EQ(settings.m_csUserDataFolder, u"/mnt/other/");

  sandbox.store.WriteProfileString(kGroup, kKey, u"x");  // too short for a separator
  settings.Load();
  EXPECT_EQ(settings.m_csUserDataFolder, u"x");
}

TEST_F(RunTimeSettingsTest, PortableMarkerKeepsTheDataBesideTheProgram) {
  for (const bool as_folder : {false, true}) {
    const auto marker = sandbox.program() / "VaultQuill.Portable";
    std::filesystem::remove_all(marker);
    if (as_folder) {
      std::filesystem::create_directory(marker);
    } else {
      std::ofstream(marker) << "";
    }
    std::filesystem::create_directories(sandbox.home() / "Documents");
    sandbox.store.ClearCalls();
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.m_boolPortable);
    EXPECT_EQ(settings.m_csUserDataFolder, test::U16(sandbox.program()) + u"/");
    EXPECT_EQ(settings.m_csDocumentsFolder, u"");
    EXPECT_THAT(sandbox.store.calls(), IsEmpty());  // the key is neither read nor written
    EXPECT_FALSE(std::filesystem::exists(sandbox.data()));
  }
}

TEST_F(RunTimeSettingsTest, DocumentsFolderEndsWithTheSeparatorOrStaysEmpty) {
  ASSERT_TRUE(settings.Load());
  EXPECT_EQ(settings.m_csDocumentsFolder, u"");
  std::filesystem::create_directories(sandbox.home() / "Documents");
  settings.Load();
  EXPECT_EQ(settings.m_csDocumentsFolder, test::U16(sandbox.home() / "Documents") + u"/");
}

TEST_F(RunTimeSettingsTest, DataFolderThatCannotBeMadeIsNamedAndFailsTheLoad) {
  // A file stands where the company folder belongs.
  std::filesystem::create_directories(sandbox.data());
  std::ofstream(sandbox.data() / "Orlavo software") << "in the way";
  sandbox.store.WriteProfileString(kGroup, kKey, u"/mnt/vault");
  EXPECT_FALSE(settings.Load());
  const std::string path = (sandbox.data() / "Orlavo software").string();
  EXPECT_THAT(sandbox.messages.Texts(),
              ElementsAre("The data folder \"" + path + "\" cannot be created."));
  // The stored folder is still taken, but does not make up for the failure.
  EXPECT_EQ(settings.m_csUserDataFolder, u"/mnt/vault/");
}

TEST_F(RunTimeSettingsTest, TrayAvailabilityComesFromThePlatform) {
  struct FixedTray final : platform::TrayProbe {
    bool IsTrayAvailable() const override { return true; }
  } tray;
  settings.Load();
  EXPECT_FALSE(settings.m_boolTrayAvailable);
  const platform::TrayProbe* previous = platform::InstallTrayProbe(&tray);
  settings.Load();
  platform::InstallTrayProbe(previous);
  EXPECT_TRUE(settings.m_boolTrayAvailable);
}

}  // namespace
