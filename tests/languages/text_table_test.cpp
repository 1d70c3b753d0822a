#include "languages/text_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using languages::FindKeyForControl;
using languages::TitleKey;
using languages::UsedPairs;

TEST(TextTable, TitleIsEntry255OfTheFirstGroup) {
  constexpr KTextPair kTable[] = {{0xA305, 1}, {0x0200, 2}, {0, 0}};
  EXPECT_EQ(TitleKey(kTable), 0xA3FFu);
  EXPECT_EQ(languages::TextKey(0xA3, 0xFF), 0xA3FFu);
  constexpr KTextPair kEmpty[] = {{0, 0}};
  EXPECT_FALSE(TitleKey(kEmpty));
  EXPECT_FALSE(TitleKey({}));
}

TEST(TextTable, LookupsStopAtTheEndMark) {
  constexpr KTextPair kTable[] = {
      {0x0300, 512}, {0x0301, 513}, {0x0302, 512}, {0, 0}, {0x0303, 514}};
  EXPECT_EQ(UsedPairs(kTable).size(), 3u);
  EXPECT_EQ(FindKeyForControl(kTable, 512), 0x0300u);  // the first pair wins
  EXPECT_EQ(FindKeyForControl(kTable, 513), 0x0301u);
  EXPECT_FALSE(FindKeyForControl(kTable, 514));
}

TEST(TextTable, ATableWithoutEndMarkIsNeverReadPastItsEndOrLimit) {
  constexpr KTextPair kNoMark[] = {{0x0300, 1}, {0x0301, 2}};
  EXPECT_EQ(UsedPairs(kNoMark).size(), 2u);
  EXPECT_FALSE(FindKeyForControl(kNoMark, 3));

  std::vector<KTextPair> long_table(200, KTextPair{0x0300, 7});
  long_table[150].control = 9;
  EXPECT_EQ(UsedPairs(long_table).size(), languages::kMaxTextPairs);
  EXPECT_FALSE(FindKeyForControl(long_table, 9));
}

TEST(TextTable, KeysAboveTwoBytesNameNoText) {
  EXPECT_FALSE(languages::SplitTextKey(0x10000));
  const auto address = languages::SplitTextKey(0xFFFE);
  ASSERT_TRUE(address);
  EXPECT_EQ(address->group, 0xFF);
  EXPECT_EQ(address->entry, 0xFE);
}

}  // namespace
