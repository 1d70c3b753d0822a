#include "settings/settings_interface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sandbox.h"
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

  test::SettingsSandbox sandbox;
  CKSettingsRunTime run_time;
  CKSettingsInterface settings{run_time};
};

TEST_F(InterfaceSettingsTest, LoadsAndSavesEachKeyWithItsTypeInOrder) {
  settings.Load();
  EXPECT_THAT(sandbox.store.calls,
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
  sandbox.store.calls.clear();
  settings.Save();
  EXPECT_THAT(sandbox.store.calls,
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

TEST_F(InterfaceSettingsTest, FreshAccountDefaultsAndSavedValuesComeBack) {
  settings.Load();
  EXPECT_EQ(settings.m_csLanguage, u"English");
  EXPECT_TRUE(settings.m_boolRunMinimised && settings.m_boolStartUp && settings.m_boolSystemTray &&
              settings.m_boolHotKey && settings.m_boolCheckForUpdates);
  EXPECT_FALSE(settings.m_boolAskForExit);
  EXPECT_EQ(settings.m_wordVirtKey, 121);  // Ctrl+F10
  EXPECT_EQ(settings.m_wordKeyMod, 2);

  settings.m_csLastLogin = u"Zo\u00eb";
  settings.m_boolHotKey = false;
  settings.m_wordKeyMod = 5;
  settings.Save();
  CKSettingsInterface loaded(run_time);
  loaded.Load();
  EXPECT_EQ(loaded.m_csLastLogin, u"Zo\u00eb");
  EXPECT_FALSE(loaded.m_boolHotKey);
  EXPECT_EQ(loaded.m_wordKeyMod, 5);
  // The key words keep the low 16 bits of what is stored.
  sandbox.store.WriteProfileInt(u"Interface Settings", u"m_wordVirtKey", 0x12345678);
  loaded.Load();
  EXPECT_EQ(loaded.m_wordVirtKey, 0x5678);
}

TEST_F(InterfaceSettingsTest, EverySaveWritesOrDeletesTheAutostartEntry) {
  settings.Save();
  std::stringstream text;
  text << std::ifstream(Entry()).rdbuf();
  EXPECT_THAT(text.str(), HasSubstr("Exec=\"" + sandbox.program().string() + "/vaultquill\"\n"));

  settings.m_boolStartUp = false;
  settings.Save();
  EXPECT_FALSE(std::filesystem::exists(Entry()));
  settings.m_boolStartUp = true;
  run_time.m_csProgramFolder.clear();  // not loaded yet: no entry with a bare file name
  settings.Save();
  EXPECT_FALSE(std::filesystem::exists(Entry()));
}

TEST_F(InterfaceSettingsTest, AnEntryThatCannotBeWrittenIsIgnored) {
  std::filesystem::create_directories(sandbox.config());
  std::ofstream(sandbox.config() / "autostart") << "a file where the folder belongs";
  EXPECT_TRUE(settings.Save());
  settings.m_boolStartUp = false;
  EXPECT_TRUE(settings.Save());
  EXPECT_TRUE(sandbox.messages.shown().empty());
  EXPECT_EQ(sandbox.store.GetProfileInt(u"Interface Settings", u"m_boolCheckForUpdates", 7), 1u);
}

}  // namespace
