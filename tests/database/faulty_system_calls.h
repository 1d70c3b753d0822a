#pragma once

#include <cerrno>
#include <cstddef>
#include <map>

#include "files/system_calls.h"

namespace test {

// A file layer that fails the n-th write, flush, close, delete or rename counted from the
// moment it is armed, or that runs out of disk space after a number of bytes (the write that
// crosses the limit is cut short, the next one fails with ENOSPC). Every other call is real.
// Installed for its lifetime.
class FaultySystemCalls : public files::SystemCalls {
 public:
  enum class Call { kWrite, kFsync, kClose, kUnlink, kRename };

  FaultySystemCalls() : previous_(files::InstallSystemCalls(this)) {}
  ~FaultySystemCalls() override { files::InstallSystemCalls(previous_); }
  FaultySystemCalls(const FaultySystemCalls&) = delete;
  FaultySystemCalls& operator=(const FaultySystemCalls&) = delete;

  // Starts counting afresh; the n-th call of the kind (1 for the next) fails.
  void FailNth(Call call, int n, int error = EIO) {
    Disarm();
    fail_call_ = call;
    fail_at_ = n;
    fail_error_ = error;
  }
  // Starts counting afresh; at most this many more bytes fit on the disk.
  void DiskSpace(std::size_t bytes) {
    Disarm();
    space_limited_ = true;
    space_left_ = bytes;
  }
  // Counts afresh and fails nothing.
  void Disarm() {
    counts_.clear();
    fail_at_ = 0;
    space_limited_ = false;
    bytes_written_ = 0;
  }
  int Count(Call call) const {
    const auto it = counts_.find(call);
    return it == counts_.end() ? 0 : it->second;
  }
  std::size_t BytesWritten() const { return bytes_written_; }

  ssize_t Write(int fd, const void* buffer, size_t count) override {
    if (!Pass(Call::kWrite)) {
      return -1;
    }
    if (space_limited_) {
      if (space_left_ == 0) {
        errno = ENOSPC;
        return -1;
      }
      count = count < space_left_ ? count : space_left_;
    }
    const ssize_t written = files::SystemCalls::Write(fd, buffer, count);
    if (written > 0) {
      bytes_written_ += static_cast<std::size_t>(written);
      if (space_limited_) {
        space_left_ -= static_cast<std::size_t>(written);
      }
    }
    return written;
  }
  int Fsync(int fd) override { return Pass(Call::kFsync) ? files::SystemCalls::Fsync(fd) : -1; }
  // A failing close still releases the descriptor, as Linux does.
  int Close(int fd) override {
    const bool pass = Pass(Call::kClose);
    const int result = files::SystemCalls::Close(fd);
    if (!pass) {
      errno = fail_error_;
      return -1;
    }
    return result;
  }
  int Unlink(const char* path) override {
    return Pass(Call::kUnlink) ? files::SystemCalls::Unlink(path) : -1;
  }
  int Rename(const char* from, const char* to, bool replace) override {
    return Pass(Call::kRename) ? files::SystemCalls::Rename(from, to, replace) : -1;
  }

 private:
  bool Pass(Call call) {
    const int n = ++counts_[call];
    if (fail_at_ != 0 && call == fail_call_ && n == fail_at_) {
      errno = fail_error_;
      return false;
    }
    return true;
  }

  files::SystemCalls* previous_;
  std::map<Call, int> counts_;
  Call fail_call_ = Call::kWrite;
  int fail_at_ = 0;
  int fail_error_ = EIO;
  bool space_limited_ = false;
  std::size_t space_left_ = 0;
  std::size_t bytes_written_ = 0;
};

}  // namespace test
