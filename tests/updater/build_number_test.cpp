#include "updater/build_number.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

std::optional<std::uint32_t> Parse(std::string_view text) {
  return updater::ParseBuildNumber(
      {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(BuildNumber, OnlyFiveAsciiDigitsAreABuild) {
  EXPECT_EQ(Parse("01502"), 1502u);
  EXPECT_EQ(Parse("00000"), 0u);
  EXPECT_EQ(Parse("99999"), 99999u);
  using namespace std::string_view_literals;
  for (const std::string_view text : {"01502\n"sv, "0150"sv, ""sv, "abcde"sv, "0150a"sv, " 1502"sv,
                                      "+1502"sv, "-1502"sv, "0x5DE"sv,
                                      "015\0"
                                      "2"sv,
                                      "01502 "sv}) {
    EXPECT_EQ(Parse(text), std::nullopt) << text;
  }
}

}  // namespace
