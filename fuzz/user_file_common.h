#pragma once

// What both user-file fuzz targets share: a private file to hand the input to the file layer,
// and a person who reads no messages and answers No.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/messages.h"
#include "platform/utf.h"

namespace fuzz {

class QuietMessages final : public platform::MessageSink {
 public:
  QuietMessages() { platform::InstallMessages(this); }
  void ShowMessage(const std::u16string&, platform::MessageIcon) override {}
  bool Ask(const std::u16string&) override { return false; }
};

// The input as a user file on disk, always at the same path; the path in UTF-16.
inline const std::u16string& WriteUserFile(const std::uint8_t* data, std::size_t size) {
  static const QuietMessages quiet;
  static const std::string path = [] {
    // A folder in memory where there is one: every run writes the file anew.
    const char* folder = std::getenv("TMPDIR");
    if (folder == nullptr) {
      folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    }
    std::string pattern = std::string(folder) + "/vq-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
      std::abort();
    }
    close(fd);
    static const std::string remove_at_exit = pattern;
    std::atexit([] { std::remove(remove_at_exit.c_str()); });
    return pattern;
  }();
  static const std::u16string path16 = platform::FromUtf8(path);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || (size != 0 && std::fwrite(data, 1, size, file) != size) ||
      std::fclose(file) != 0) {
    std::abort();
  }
  return path16;
}

}  // namespace fuzz
