#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "files/file.h"
#include "files/system_calls.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace test {

using Bytes = std::vector<std::uint8_t>;

// A file layer whose next call of a kind fails when told so; every other call is real.
// Installed for its lifetime.
class FailingSystemCalls : public files::SystemCalls {
 public:
  enum Call { kRead, kWrite, kFsync, kClose, kUnlink, kRename, kCalls };

  FailingSystemCalls() : previous_(files::InstallSystemCalls(this)) {}
  ~FailingSystemCalls() override { files::InstallSystemCalls(previous_); }
  void FailNext(Call call, int error = EIO) { errors_[call] = error; }

  ssize_t Read(int fd, void* buffer, size_t count) override {
    return Pass(kRead) ? SystemCalls::Read(fd, buffer, count) : -1;
  }
  ssize_t Write(int fd, const void* buffer, size_t count) override {
    return Pass(kWrite) ? SystemCalls::Write(fd, buffer, count) : -1;
  }
  int Fsync(int fd) override { return Pass(kFsync) ? SystemCalls::Fsync(fd) : -1; }
  // A failing close still releases the descriptor, as Linux does.
  int Close(int fd) override {
    const int result = SystemCalls::Close(fd);
    return Pass(kClose) ? result : -1;
  }
  int Unlink(const char* path) override { return Pass(kUnlink) ? SystemCalls::Unlink(path) : -1; }
  int Rename(const char* from, const char* to, bool replace) override {
    return Pass(kRename) ? SystemCalls::Rename(from, to, replace) : -1;
  }

  int calls[kCalls] = {};

 private:
  bool Pass(Call call) {
    ++calls[call];
    if (errors_[call] == 0) {
      return true;
    }
    errno = std::exchange(errors_[call], 0);
    return false;
  }

  int errors_[kCalls] = {};
  files::SystemCalls* previous_;
};

// The error value an action throws, or -1 when it throws none.
template <typename Action>
int Thrown(Action action) {
  try {
    action();
  } catch (CKFile::ErrorExceptions error) {
    return error;
  }
  return -1;
}

// A temporary folder and the messages shown while a test runs.
class FilesTest : public ::testing::Test {
 protected:
  std::u16string Path(const std::string& name) const {
    return platform::FromUtf8((dir_ / name).string());
  }
  void WriteBytes(const std::string& name, const Bytes& bytes) const {
    std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  Bytes ReadBytes(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  mode_t Mode(const std::string& name) const {
    struct stat status {};
    stat((dir_ / name).c_str(), &status);
    return status.st_mode & 0777;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
};

}  // namespace test
