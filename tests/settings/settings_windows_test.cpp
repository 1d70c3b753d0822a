#include "settings/settings_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "sandbox.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;

constexpr std::u16string_view kGroup = u"Windows Settings";

TEST(WindowPlacementTest, RecordLayoutIsLittleEndianWithTheValidByteAt16) {
  static_assert(sizeof(KWindowPlacement) == 51);
  KWindowPlacement placement;
  EXPECT_THAT(placement.bytes, Each(0));
  EXPECT_FALSE(placement.IsValid());

  placement.bytes.fill(0xEE);
  placement.Set(-2, 0x01020304, 640, 480);
  EXPECT_THAT(std::vector<std::uint8_t>(placement.bytes.begin(), placement.bytes.begin() + 17),
              ElementsAre(0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0x80, 2, 0, 0, 0xE0, 1, 0, 0, 1));
  EXPECT_THAT(std::vector<std::uint8_t>(placement.bytes.begin() + 17, placement.bytes.end()),
              Each(0));
  EXPECT_EQ(placement.Left(), -2);
  EXPECT_EQ(placement.Top(), 0x01020304);
  EXPECT_EQ(placement.Width(), 640);
  EXPECT_EQ(placement.Height(), 480);
  EXPECT_TRUE(placement.IsValid());
}

TEST(WindowsSettingsTest, LoadsAndSavesEveryRecordInKeyOrder) {
  test::SettingsSandbox sandbox;
  CKSettingsWindows settings;
  settings.Load();
  settings.Save();
  const char* keys[] = {"m_stNoteEditor", "m_stFolderEditor", "m_stMainWindow", "m_stLogIn",
                        "m_stUserEditor", "m_stUserNew",      "m_stMoveTo",     "m_stDbEdit"};
  std::vector<std::string> expected;
  for (const char* verb : {"read binary", "write binary"}) {
    for (const char* key : keys) {
      expected.push_back(std::string(verb) + " Windows Settings/" + key);
    }
  }
  EXPECT_EQ(sandbox.store.calls(), expected);

  std::vector<std::uint8_t> stored;
  ASSERT_TRUE(sandbox.store.GetProfileBinary(kGroup, u"m_stDbEdit", stored));
  EXPECT_EQ(stored.size(), 51u);
}

TEST(WindowsSettingsTest, StoredBlocksFillTheRecordFromItsStart) {
  test::SettingsSandbox sandbox;
  KWindowPlacement main_window;
  main_window.Set(10, 20, 800, 600);
  const std::vector<std::uint8_t> seventeen(main_window.bytes.begin(),
                                            main_window.bytes.begin() + 17);
  sandbox.store.WriteProfileBinary(kGroup, u"m_stMainWindow", seventeen);
  std::vector<std::uint8_t> long_block(60, 7);
  sandbox.store.WriteProfileBinary(kGroup, u"m_stLogIn", long_block);
  sandbox.store.WriteProfileBinary(kGroup, u"m_stMoveTo", std::vector<std::uint8_t>{});
  sandbox.store.WriteProfileString(kGroup, u"m_stDbEdit", u"not a block");

  CKSettingsWindows settings;
  settings.m_stMainWindow.bytes.fill(9);
  settings.m_stMoveTo.Set(1, 2, 3, 4);
  settings.m_stDbEdit.Set(5, 6, 7, 8);
  settings.Load();

  // 17 bytes are enough to restore a window; the rest of the record stays as it was.
  EXPECT_TRUE(settings.m_stMainWindow.IsValid());
  EXPECT_EQ(settings.m_stMainWindow.Width(), 800);
  EXPECT_EQ(settings.m_stMainWindow.bytes[17], 9);
  EXPECT_THAT(settings.m_stLogIn.bytes, Each(7));  // cut to 51
  EXPECT_EQ(settings.m_stMoveTo.Height(), 4);      // empty block: unchanged
  EXPECT_EQ(settings.m_stDbEdit.Left(), 5);        // not a block: unchanged
  EXPECT_THAT(settings.m_stNoteEditor.bytes, Each(0));

  settings.Save();
  CKSettingsWindows reloaded;
  reloaded.Load();
  EXPECT_EQ(reloaded.m_stMainWindow.bytes, settings.m_stMainWindow.bytes);
  EXPECT_EQ(reloaded.m_stDbEdit.bytes, settings.m_stDbEdit.bytes);
}

}  // namespace
