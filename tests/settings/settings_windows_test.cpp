#include "settings/settings_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "sandbox.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

constexpr std::u16string_view kGroup = u"Windows Settings";

TEST(WindowPlacementTest, RecordIsLittleEndianWithTheValidByteAt16) {
  static_assert(sizeof(KWindowPlacement) == 51);
  KWindowPlacement placement;
  placement.bytes.fill(0xEE);
  placement.Set(-2, 0x01020304, 640, 480);
  EXPECT_THAT(Bytes(placement.bytes.begin(), placement.bytes.begin() + 17),
              ElementsAre(0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0x80, 2, 0, 0, 0xE0, 1, 0, 0, 1));
  EXPECT_THAT(Bytes(placement.bytes.begin() + 17, placement.bytes.end()), Each(0));
  EXPECT_EQ(placement.Left(), -2);
  EXPECT_EQ(placement.Height(), 480);
}

TEST(WindowsSettingsTest, StoredBlocksFillTheRecordFromItsStartInKeyOrder) {
  test::SettingsSandbox sandbox;
  KWindowPlacement main_window;
  main_window.Set(10, 20, 800, 600);
  sandbox.store.WriteProfileBinary(
      kGroup, u"m_stMainWindow", Bytes(main_window.bytes.begin(), main_window.bytes.begin() + 17));
  sandbox.store.WriteProfileBinary(kGroup, u"m_stLogIn", Bytes(60, 7));
  sandbox.store.WriteProfileBinary(kGroup, u"m_stMoveTo", Bytes{});
  sandbox.store.WriteProfileString(kGroup, u"m_stDbEdit", u"not a block");
  sandbox.store.calls.clear();

  CKSettingsWindows settings;
  EXPECT_THAT(settings.m_stNoteEditor.bytes, Each(0));
  settings.m_stMainWindow.bytes.fill(9);
  settings.m_stMoveTo.Set(1, 2, 3, 4);
  settings.m_stDbEdit.Set(5, 6, 7, 8);
  settings.Load();
  // 17 bytes restore a window and leave the rest as it was; a longer block is cut to 51;
  // an empty block, or a value of another type, changes nothing.
  EXPECT_TRUE(settings.m_stMainWindow.IsValid());
  EXPECT_EQ(settings.m_stMainWindow.Width(), 800);
  EXPECT_EQ(settings.m_stMainWindow.bytes[17], 9);
  EXPECT_THAT(settings.m_stLogIn.bytes, Each(7));
  EXPECT_EQ(settings.m_stMoveTo.Height(), 4);
  EXPECT_EQ(settings.m_stDbEdit.Left(), 5);

  settings.Save();
  std::vector<std::string> expected;
  for (const char* verb : {"read binary", "write binary"}) {
    for (const char* key : {"m_stNoteEditor", "m_stFolderEditor", "m_stMainWindow", "m_stLogIn",
                            "m_stUserEditor", "m_stUserNew", "m_stMoveTo", "m_stDbEdit"}) {
      expected.push_back(std::string(verb) + " Windows Settings/" + key);
    }
  }
  EXPECT_EQ(sandbox.store.calls, expected);
  Bytes stored;
  ASSERT_TRUE(sandbox.store.GetProfileBinary(kGroup, u"m_stMainWindow", stored));
  EXPECT_EQ(stored,
            Bytes(settings.m_stMainWindow.bytes.begin(), settings.m_stMainWindow.bytes.end()));
}

}  // namespace
