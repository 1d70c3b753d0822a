#include "cli/output_stream.h"

#include <unistd.h>

#include <cerrno>

#include "cli/text_encoding.h"
#include "platform/secure_zero.h"

namespace cli {

OutputStream::OutputStream(int fd) : fd_(fd), buffer_(new char[kBufferSize]) {}

OutputStream::~OutputStream() {
  Flush();
  platform::SecureZero(buffer_.get(), kBufferSize);
}

void OutputStream::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    if (used_ == kBufferSize) {
      Flush();
    }
    const std::size_t room = kBufferSize - used_;
    const std::size_t taken = bytes.size() < room ? bytes.size() : room;
    for (std::size_t i = 0; i < taken; ++i) {
      buffer_[used_ + i] = bytes[i];
    }
    used_ += taken;
    bytes.remove_prefix(taken);
  }
}

void OutputStream::WriteText(std::u16string_view text) {
  char bytes[4];
  for (std::size_t index = 0; index < text.size();) {
    bool unpaired = false;
    char32_t code_point = NextCodePoint(text, index, unpaired);
    if (unpaired) {
      code_point = 0xFFFD;
    }
    Write(std::string_view(bytes, EncodeUtf8(code_point, bytes)));
  }
  platform::SecureZero(bytes, sizeof bytes);
}

bool OutputStream::Flush() {
  std::size_t done = 0;
  while (!failed_ && done < used_) {
    const ssize_t written = ::write(fd_, buffer_.get() + done, used_ - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      failed_ = true;
      break;
    }
    done += static_cast<std::size_t>(written);
  }
  platform::SecureZero(buffer_.get(), used_);
  used_ = 0;
  return !failed_;
}

}  // namespace cli
