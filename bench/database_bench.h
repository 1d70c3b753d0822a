#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

// Loading and saving a large user file, each registered as "WORK/ours" next to "WORK/bound":
// the least any implementation must spend on it, measured in the same run with libcrypto (the
// key derivation, then AES-256-CBC over the same number of bytes). The summary prints the
// ratio of the two wall times and the peak memory of a load. Loading is also shown next to the
// bound plus copying the file's bytes out with read() (a load that maps the file avoids the
// copy), and next to that with the plain text written into memory new to the process, as a
// first load's tree is.

namespace database_bench {

// The synthetic user: 10,000 notes in 500 folders, 64 MiB of attachments.
inline constexpr int kFolders = 500;
inline constexpr int kNotesPerFolder = 20;
inline constexpr int kAttachments = 256;
inline constexpr std::uint32_t kAttachmentSize = 256 * 1024;
inline constexpr char16_t kPassword[] = u"correct horse battery staple";

struct UserFile {
  std::u16string path;
  std::uint64_t file_size = 0;
  std::uint64_t stream_size = 0;  // the enciphered bytes
  std::uint16_t iterations = 0;
};

// Made once per run (in a child process, so that building it leaves nothing in this one).
const UserFile& SyntheticUser();

// Peak resident memory that one load adds, in bytes.
std::uint64_t MeasureLoadPeakMemory();

benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench);

}  // namespace database_bench
