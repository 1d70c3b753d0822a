// The three groups kept in the profile store: every key's name, type and default, the order in
// which each group reads and writes them, and each value carried back under its own key.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "sandbox.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"
#include "settings/settings_system.h"
#include "settings/settings_windows.h"

namespace {

using ::testing::Each;
using Bytes = std::vector<std::uint8_t>;

// Stores a value other than the one of a recorded write "write TYPE Group/key=value" under
// its key and gives the write that carries the new value back.
std::string StoreOther(test::RecordingProfileStore& store, const std::string& write) {
  const std::size_t type = write.find(' ') + 1, group = write.find(' ', type) + 1;
  const std::size_t slash = write.find('/'), equals = write.find('=');
  const std::u16string section = platform::FromUtf8(write.substr(group, slash - group));
  const std::u16string key = platform::FromUtf8(write.substr(slash + 1, equals - slash - 1));
  if (write.compare(type, 4, "int ") == 0) {
    store.WriteProfileInt(section, key, write.substr(equals + 1) == "0" ? 1 : 0);
  } else if (write.compare(type, 7, "string ") == 0) {
    store.WriteProfileString(section, key, u"Zo\u00eb");
  } else {
    KWindowPlacement placement;
    placement.Set(1, 2, 3, 4);
    store.WriteProfileBinary(section, key, placement.bytes);
  }
  return store.calls.back();
}

// The recorded form of "TYPE key=value": "VERB TYPE Group/key=value".
std::string Call(const char* verb, std::u16string_view group, const std::string& key) {
  const std::size_t name = key.find(' ') + 1;
  return verb + (" " + key.substr(0, name)) + platform::ToUtf8(group) + "/" + key.substr(name);
}

struct Group {
  std::u16string_view name;
  std::function<std::unique_ptr<CKSettings>()> make;
  std::vector<std::string> reads, writes;  // on a fresh account: the writes give the defaults
};

TEST(RegistryGroupsTest, EveryKeyWithItsTypeDefaultAndOrder) {
  test::SettingsSandbox sandbox;
  CKSettingsRunTime run_time;  // not loaded: no autostart entry is written
  Group windows{
      CKSettingsWindows::kGroupName, [] { return std::make_unique<CKSettingsWindows>(); }, {}, {}};
  for (const char* key : {"m_stNoteEditor", "m_stFolderEditor", "m_stMainWindow", "m_stLogIn",
                          "m_stUserEditor", "m_stUserNew", "m_stMoveTo", "m_stDbEdit"}) {
    windows.reads.push_back(std::string("binary ") + key);
    windows.writes.push_back(std::string("binary ") + key + "=51:");
  }
  const Group groups[] = {
      {CKSettingsInterface::kGroupName,
       [&] { return std::make_unique<CKSettingsInterface>(run_time); },
       {"string m_csLanguage", "string m_csLastLogin", "int m_boolRunMinimised",
        "int m_boolStartUp", "int m_boolSystemTray", "int m_boolAskForExit", "int m_boolHotKey",
        "int m_wordVirtKey", "int m_wordKeyMod", "int m_boolCheckForUpdates"},
       {"string m_csLanguage=English", "string m_csLastLogin=", "int m_boolAskForExit=0",
        "int m_boolRunMinimised=1", "int m_boolStartUp=1", "int m_boolSystemTray=1",
        "int m_wordVirtKey=121", "int m_wordKeyMod=2", "int m_boolHotKey=1",
        "int m_boolCheckForUpdates=1"}},  // the hot key Ctrl+F10
      {CKSettingsSystem::kGroupName,
       [] { return std::make_unique<CKSettingsSystem>(); },
       {"string m_csUpdateSavePath", "int m_dwordCheckedTime", "int m_dwordCheckedBuild"},
       {"string m_csUpdateSavePath=", "int m_dwordCheckedTime=0", "int m_dwordCheckedBuild=1501"}},
      windows};
  for (const Group& group : groups) {
    std::vector<std::string> reads, writes;
    for (const std::string& key : group.reads) {
      reads.push_back(Call("read", group.name, key));
    }
    for (const std::string& key : group.writes) {
      writes.push_back(Call("write", group.name, key));
    }
    // First with nothing stored, then with one more key after the other holding another value.
    sandbox.store.Clear();
    std::vector<std::string> expected = writes;
    for (std::size_t changed = 0; changed <= writes.size(); ++changed) {
      if (changed > 0) {
        expected[changed - 1] = StoreOther(sandbox.store, writes[changed - 1]);
      }
      const auto settings = group.make();
      sandbox.store.calls.clear();
      settings->Load();
      EXPECT_EQ(sandbox.store.calls, reads);
      sandbox.store.calls.clear();
      settings->Save();
      EXPECT_EQ(sandbox.store.calls, expected);
    }
  }
}

TEST(RegistryGroupsTest, BuildIsReadAtConstructionAndRewrittenOnlyAtTheEnd) {
  test::SettingsSandbox sandbox;
  constexpr std::u16string_view kGroup = CKSettingsSystem::kGroupName;
  { CKSettingsSystem same_build; }  // the default is this build: nothing to write
  EXPECT_FALSE(sandbox.store.Contains(kGroup, u"m_dwordBuild"));
  sandbox.store.WriteProfileInt(kGroup, u"m_dwordBuild", 1400);
  {
    CKSettingsSystem settings;
    EXPECT_EQ(settings.m_dwordBuild, 1400u);
    settings.Load();
    settings.Save();
    EXPECT_EQ(sandbox.store.GetProfileInt(kGroup, u"m_dwordBuild", 0), 1400u);
  }
  EXPECT_EQ(sandbox.store.GetProfileInt(kGroup, u"m_dwordBuild", 0), 1501u);
}

TEST(RegistryGroupsTest, PlacementRecordsFillFromTheirStart) {
  test::SettingsSandbox sandbox;
  constexpr std::u16string_view kGroup = CKSettingsWindows::kGroupName;
  KWindowPlacement placement;
  placement.Set(-2, 0x01020304, 640, 480);  // little-endian, the valid byte at 16
  EXPECT_EQ(test::Hex(placement.bytes), "51:feffffff0403020180020000e001000001");
  // 17 bytes restore a window and leave the rest as it was; a longer block is cut to 51;
  // an empty block, or a value of another type, changes nothing.
  sandbox.store.WriteProfileBinary(kGroup, u"m_stMainWindow",
                                   Bytes(placement.bytes.begin(), placement.bytes.begin() + 17));
  sandbox.store.WriteProfileBinary(kGroup, u"m_stLogIn", Bytes(60, 7));
  sandbox.store.WriteProfileBinary(kGroup, u"m_stMoveTo", Bytes{});
  sandbox.store.WriteProfileString(kGroup, u"m_stDbEdit", u"not a block");
  CKSettingsWindows settings;
  settings.m_stMainWindow.bytes.fill(9);
  settings.m_stMoveTo.bytes.fill(9);
  settings.m_stDbEdit.bytes.fill(9);
  settings.Load();
  EXPECT_EQ(test::Hex(std::span(settings.m_stMainWindow.bytes).first(18)),
            "18:feffffff0403020180020000e00100000109");
  EXPECT_THAT(settings.m_stLogIn.bytes, Each(7));
  EXPECT_THAT(settings.m_stUserNew.bytes, Each(0));  // the record behind it in memory
  EXPECT_THAT(settings.m_stMoveTo.bytes, Each(9));
  EXPECT_THAT(settings.m_stDbEdit.bytes, Each(9));
}

}  // namespace
