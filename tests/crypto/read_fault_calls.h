#pragma once

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

#include "files/system_calls.h"

namespace crypto_test {

// A file layer for reads made on any thread: it counts them and the bytes they bring, and can
// fail the n-th read or run an action just before it (the file shrinking or growing under the
// reader, a read that takes its time). Every other call is real. Installed for its lifetime.
class ReadFaultCalls : public files::SystemCalls {
 public:
  ReadFaultCalls() : previous_(files::InstallSystemCalls(this)) {}
  ~ReadFaultCalls() override { files::InstallSystemCalls(previous_); }
  ReadFaultCalls(const ReadFaultCalls&) = delete;
  ReadFaultCalls& operator=(const ReadFaultCalls&) = delete;

  // Counting starts afresh; the n-th read from now (1 for the next) fails with the error.
  void FailNth(int n, int error = EIO) {
    Reset();
    fail_at_ = n;
    error_ = error;
  }
  // Counting starts afresh; the action runs on the reading thread before the n-th read.
  void BeforeNth(int n, std::function<void()> action) {
    Reset();
    const std::lock_guard lock(mutex_);
    action_at_ = n;
    action_ = std::move(action);
  }
  void Reset() {
    const std::lock_guard lock(mutex_);
    reads_ = 0;
    reads_elsewhere_ = 0;
    bytes_ = 0;
    fail_at_ = 0;
    action_at_ = 0;
    action_ = nullptr;
  }
  int Reads() const { return reads_; }
  // Reads made on threads other than the one that installed this table.
  int ReadsElsewhere() const { return reads_elsewhere_; }
  std::size_t BytesRead() const { return bytes_; }
  // Whether a read is under way on some thread.
  bool Reading() const { return reading_; }
  // Closing a descriptor while a read on it is under way would be a fault of the reader.
  bool ClosedWhileReading() const { return closed_while_reading_; }

  ssize_t Read(int fd, void* buffer, size_t count) override {
    const int n = ++reads_;
    if (std::this_thread::get_id() != owner_) {
      ++reads_elsewhere_;
    }
    std::function<void()> action;
    {
      const std::lock_guard lock(mutex_);
      if (n == action_at_) {
        action = action_;
      }
    }
    reading_ = true;
    if (action) {
      action();
    }
    ssize_t result = -1;
    if (n == fail_at_) {
      errno = error_;
    } else {
      result = files::SystemCalls::Read(fd, buffer, count);
      if (result > 0) {
        bytes_ += static_cast<std::size_t>(result);
      }
    }
    reading_ = false;
    return result;
  }
  int Close(int fd) override {
    if (reading_) {
      closed_while_reading_ = true;
    }
    return files::SystemCalls::Close(fd);
  }

 private:
  files::SystemCalls* previous_;
  const std::thread::id owner_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::atomic<int> reads_{0};
  std::atomic<int> reads_elsewhere_{0};
  std::atomic<std::size_t> bytes_{0};
  std::atomic<int> fail_at_{0};
  std::atomic<int> error_{EIO};
  std::atomic<bool> reading_{false};
  std::atomic<bool> closed_while_reading_{false};
  int action_at_ = 0;
  std::function<void()> action_;
};

}  // namespace crypto_test
