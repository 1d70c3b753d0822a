#pragma once

#include <cerrno>
#include <map>

#include "files/system_calls.h"

namespace test {

// A file layer whose n-th call of a kind fails (errno EIO unless told otherwise); every other
// call is real. Installed for its lifetime. Tests of saves use it to break a save at each step.
class FailingSystemCalls : public files::SystemCalls {
 public:
  enum class Call { kOpen, kRead, kWrite, kFsync, kClose, kUnlink, kRename, kMakeFolder, kList };

  FailingSystemCalls() : previous_(files::InstallSystemCalls(this)) {}
  ~FailingSystemCalls() override { files::InstallSystemCalls(previous_); }
  FailingSystemCalls(const FailingSystemCalls&) = delete;
  FailingSystemCalls& operator=(const FailingSystemCalls&) = delete;

  // The n-th call (1 for the next one) of the kind fails, counted from now.
  void FailNth(Call call, int n, int error = EIO) { failures_[call] = {count_[call] + n, error}; }
  int Count(Call call) const {
    const auto it = count_.find(call);
    return it == count_.end() ? 0 : it->second;
  }

  int Open(const char* path, int flags, mode_t mode) override {
    return Check(Call::kOpen) ? files::SystemCalls::Open(path, flags, mode) : -1;
  }
  ssize_t Read(int fd, void* buffer, size_t count) override {
    return Check(Call::kRead) ? files::SystemCalls::Read(fd, buffer, count) : -1;
  }
  ssize_t Write(int fd, const void* buffer, size_t count) override {
    return Check(Call::kWrite) ? files::SystemCalls::Write(fd, buffer, count) : -1;
  }
  int Fsync(int fd) override { return Check(Call::kFsync) ? files::SystemCalls::Fsync(fd) : -1; }
  // A failing close still releases the descriptor, as Linux does.
  int Close(int fd) override {
    const bool pass = Check(Call::kClose);
    const int saved = errno;
    const int result = files::SystemCalls::Close(fd);
    if (!pass) {
      errno = saved;
      return -1;
    }
    return result;
  }
  int Unlink(const char* path) override {
    return Check(Call::kUnlink) ? files::SystemCalls::Unlink(path) : -1;
  }
  int Rename(const char* from, const char* to, bool replace) override {
    return Check(Call::kRename) ? files::SystemCalls::Rename(from, to, replace) : -1;
  }
  int MakeFolder(const char* path, mode_t mode) override {
    return Check(Call::kMakeFolder) ? files::SystemCalls::MakeFolder(path, mode) : -1;
  }
  int ListDirectory(const char* path, std::vector<files::DirectoryEntry>& entries) override {
    return Check(Call::kList) ? files::SystemCalls::ListDirectory(path, entries) : -1;
  }

 private:
  struct Failure {
    int at;
    int error;
  };

  // Counts the call; false (with errno set) when it is the one to fail.
  bool Check(Call call) {
    const int n = ++count_[call];
    const auto it = failures_.find(call);
    if (it != failures_.end() && it->second.at == n) {
      errno = it->second.error;
      return false;
    }
    return true;
  }

  std::map<Call, int> count_;
  std::map<Call, Failure> failures_;
  files::SystemCalls* previous_;
};

}  // namespace test
