#include "files/file_time.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FileTime, CountsHundredNanosecondsFrom1601) {
  EXPECT_EQ(files::FileTimeFromPosix({0, 0}), 116444736000000000ull);
  EXPECT_EQ(files::FileTimeFromPosix({1, 250}), 116444736000000000ull + 10'000'002ull);
  EXPECT_EQ(files::FileTimeFromPosix({-11'644'473'600, 0}), 0u);
  const files::PosixTime back = files::PosixFromFileTime(116444736000000000ull + 15'000'001ull);
  EXPECT_EQ(back.seconds, 1);
  EXPECT_EQ(back.nanoseconds, 500'000'100);
}

TEST(FileTime, OutOfRangeTimesAreClamped) {
  EXPECT_EQ(files::FileTimeFromPosix({-11'644'473'601, 0}), 0u);
  EXPECT_EQ(files::FileTimeFromPosix({std::numeric_limits<std::int64_t>::max(), 0}),
            std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(files::FileTimeFromPosix({0, -1}), 116444736000000000ull - 1);
}

TEST(FileTime, RoundTripsWholeIntervals) {
  for (const std::uint64_t value :
       {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{133'000'000'000'000'001},
        std::numeric_limits<std::uint64_t>::max() / 2}) {
    EXPECT_EQ(files::FileTimeFromPosix(files::PosixFromFileTime(value)), value);
  }
}

}  // namespace
