#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "cli/byte_sink.h"

namespace cli {

// Buffered output to a file descriptor. What passes through may be secret (passwords, notes,
// attachments), so the one buffer it uses is wiped after every flush, and nothing goes through
// stdio's buffers.
class OutputStream final : public ByteSink {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  explicit OutputStream(int fd);
  // Flushes what is left, then wipes the buffer.
  ~OutputStream() override;
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  void Write(std::string_view bytes) override;
  // UTF-16 text as UTF-8; an unpaired surrogate becomes U+FFFD.
  void WriteText(std::u16string_view text);
  // Writes what is buffered. False once any write has failed.
  bool Flush();
  bool Failed() const { return failed_; }

 private:
  int fd_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace cli
