#include "files/file_time.h"

#include <limits>

namespace files {
namespace {

constexpr std::int64_t kIntervalsPerSecond = 10'000'000;
constexpr std::int64_t kNanosecondsPerInterval = 100;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDifference = 11'644'473'600;

}  // namespace

std::uint64_t FileTimeFromPosix(PosixTime time) {
  std::int64_t seconds = time.seconds + time.nanoseconds / 1'000'000'000;
  std::int64_t nanoseconds = time.nanoseconds % 1'000'000'000;
  if (nanoseconds < 0) {
    nanoseconds += 1'000'000'000;
    --seconds;
  }
  if (seconds < -kEpochDifference) {
    return 0;
  }
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  if (seconds > std::numeric_limits<std::int64_t>::max() - kEpochDifference) {
    return kMax;
  }
  const auto since_1601 = static_cast<std::uint64_t>(seconds + kEpochDifference);
  const auto fraction = static_cast<std::uint64_t>(nanoseconds / kNanosecondsPerInterval);
  if (since_1601 > (kMax - fraction) / kIntervalsPerSecond) {
    return kMax;
  }
  return since_1601 * kIntervalsPerSecond + fraction;
}

PosixTime PosixFromFileTime(std::uint64_t file_time) {
  const auto since_1601 = static_cast<std::int64_t>(file_time / kIntervalsPerSecond);
  const auto fraction = static_cast<std::int64_t>(file_time % kIntervalsPerSecond);
  return {since_1601 - kEpochDifference, fraction * kNanosecondsPerInterval};
}

}  // namespace files
