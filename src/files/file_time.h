#pragma once

#include <cstdint>

namespace files {

// File times are kept as the user file stores them: 100-nanosecond intervals since
// 1601-01-01 UTC. These two are the only conversions from and to POSIX time.

struct PosixTime {
  std::int64_t seconds = 0;      // since 1970-01-01 UTC
  std::int64_t nanoseconds = 0;  // 0 to 999,999,999
};

// Times before 1601 give 0; times past the 64-bit range give the largest value.
std::uint64_t FileTimeFromPosix(PosixTime time);

PosixTime PosixFromFileTime(std::uint64_t file_time);

}  // namespace files
