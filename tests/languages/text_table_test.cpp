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

TEST(TextTable, ATableWithoutEndMarkIsNeverReadPastItsEndOrLimit) {
  constexpr KTextPair kNoMark[] = {{0x0300, 1}, {0x0301, 2}};
  EXPECT_EQ(UsedPairs(kNoMark).size(), 2u);
  EXPECT_FALSE(FindKeyForControl(kNoMark, 3));

  std::vector<KTextPair> long_table(200, KTextPair{0x0300, 7});
  long_table[150].control = 9;
  EXPECT_EQ(UsedPairs(long_table).size(), languages::kMaxTextPairs);
  EXPECT_FALSE(FindKeyForControl(long_table, 9));
}

}  // namespace
