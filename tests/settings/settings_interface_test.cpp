#include "settings/settings_interface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sandbox.h"
#include "settings/autostart.h"
#include "settings/settings_run_time.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class InterfaceSettingsTest : public ::testing::Test {
 protected:
  InterfaceSettingsTest() { run_time.m_csProgramFolder = test::U16(sandbox.program()) + u"/"; }

  std::filesystem::path Entry() const {
    return sandbox.config() / "autostart" / "VaultQuill.desktop";
  }
  std::string EntryText() const {
    std::ifstream in(Entry());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  test::SettingsSandbox sandbox;
  CKSettingsRunTime run_time;
  CKSettingsInterface settings{run_time};
};

TEST_F(InterfaceSettingsTest, FreshAccountGivesTheDefaults) {
  EXPECT_TRUE(settings.Load());
  EXPECT_EQ(settings.m_csLanguage, u"English");
  EXPECT_EQ(settings.m_csLastLogin, u"");
  EXPECT_TRUE(settings.m_boolRunMinimised);
  EXPECT_FALSE(settings.m_boolAskForExit);
  EXPECT_TRUE(settings.m_boolStartUp);
  EXPECT_TRUE(settings.m_boolSystemTray);
  EXPECT_TRUE(settings.m_boolHotKey);
  EXPECT_TRUE(settings.m_boolCheckForUpdates);
  EXPECT_EQ(settings.m_wordVirtKey, 121);  // F10
  EXPECT_EQ(settings.m_wordKeyMod, 2);     // Ctrl
  EXPECT_EQ(settings.GetGroupName(), u"Interface Settings");
}

TEST_F(InterfaceSettingsTest, LoadsAndSavesEachKeyWithItsTypeInOrder) {
  settings.Load();
  EXPECT_THAT(sandbox.store.calls(),
              ElementsAre("read string Interface Settings/m_csLanguage",
                          "read string Interface Settings/m_csLastLogin",
                          "read int Interface Settings/m_boolRunMinimised",
                          "read int Interface Settings/m_boolStartUp",
                          "read int Interface Settings/m_boolSystemTray",
                          "read int Interface Settings/m_boolAskForExit",
                          "read int Interface Settings/m_boolHotKey",
                          "read int Interface Settings/m_wordVirtKey",
                          "read int Interface Settings/m_wordKeyMod",
                          "read int Interface Settings/m_boolCheckForUpdates"));
  sandbox.store.ClearCalls();
  settings.Save();
  EXPECT_THAT(sandbox.store.calls(),
              ElementsAre("write string Interface Settings/m_csLanguage",
                          "write string Interface Settings/m_csLastLogin",
                          "write int Interface Settings/m_boolAskForExit",
                          "write int Interface Settings/m_boolRunMinimised",
                          "write int Interface Settings/m_boolStartUp",
                          "write int Interface Settings/m_boolSystemTray",
                          "write int Interface Settings/m_wordVirtKey",
                          "write int Interface Settings/m_wordKeyMod",
                          "write int Interface Settings/m_boolHotKey",
                          "write int Interface Settings/m_boolCheckForUpdates"));
}

TEST_F(InterfaceSettingsTest, SavedValuesComeBackAndKeyWordsKeepTheirLow16Bits) {
  settings.m_csLanguage = u"Deutsch";
  settings.m_csLastLogin = u"Zoë";
  settings.m_boolRunMinimised = false;
  settings.m_boolAskForExit = true;
  settings.m_boolStartUp = false;
  settings.m_boolSystemTray = false;
  settings.m_boolHotKey = false;
  settings.m_boolCheckForUpdates = false;
  settings.m_wordVirtKey = 0x7A;
  settings.m_wordKeyMod = 5;
  settings.Save();

  CKSettingsInterface loaded(run_time);
  loaded.Load();
  EXPECT_EQ(loaded.m_csLanguage, u"Deutsch");
  EXPECT_EQ(loaded.m_csLastLogin, u"Zoë");
  EXPECT_FALSE(loaded.m_boolRunMinimised);
  EXPECT_TRUE(loaded.m_boolAskForExit);
  EXPECT_FALSE(loaded.m_boolStartUp);
  EXPECT_FALSE(loaded.m_boolSystemTray);
  EXPECT_FALSE(loaded.m_boolHotKey);
  EXPECT_FALSE(loaded.m_boolCheckForUpdates);
  EXPECT_EQ(loaded.m_wordVirtKey, 0x7A);
  EXPECT_EQ(loaded.m_wordKeyMod, 5);

  sandbox.store.WriteProfileInt(u"Interface Settings", u"m_wordVirtKey", 0x12345678);
  loaded.Load();
  EXPECT_EQ(loaded.m_wordVirtKey, 0x5678);
}

TEST_F(InterfaceSettingsTest, EverySaveWritesOrDeletesTheAutostartEntry) {
  settings.Save();
  ASSERT_TRUE(std::filesystem::exists(Entry()));
  EXPECT_THAT(EntryText(), HasSubstr("Exec=\"" + sandbox.program().string() + "/vaultquill\"\n"));

  settings.m_boolStartUp = false;
  settings.Save();
  EXPECT_FALSE(std::filesystem::exists(Entry()));
  settings.Save();  // nothing to delete: still fine
  EXPECT_FALSE(std::filesystem::exists(Entry()));

  settings.m_boolStartUp = true;
  std::filesystem::remove(Entry());
  settings.Save();
  EXPECT_TRUE(std::filesystem::exists(Entry()));
  EXPECT_TRUE(sandbox.messages.shown().empty());
}

TEST_F(InterfaceSettingsTest, AnEntryThatCannotBeWrittenIsIgnored) {
  // A file where the autostart folder belongs: neither writing nor deleting can succeed.
  std::filesystem::create_directories(sandbox.config());
  std::ofstream(sandbox.config() / "autostart") << "in the way";
  EXPECT_TRUE(settings.Save());
  settings.m_boolStartUp = false;
  EXPECT_TRUE(settings.Save());
  EXPECT_TRUE(sandbox.messages.shown().empty());
  EXPECT_EQ(sandbox.store.GetProfileInt(u"Interface Settings", u"m_boolCheckForUpdates", 7), 1u);
}

TEST_F(InterfaceSettingsTest, NoEntryBeforeTheProgramFolderIsKnown) {
  run_time.m_csProgramFolder.clear();
  settings.Save();
  EXPECT_FALSE(std::filesystem::exists(Entry()));
}

}  // namespace
