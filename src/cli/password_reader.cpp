#include "cli/password_reader.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

#include "elements/wipe_string.h"
#include "platform/secure_zero.h"
#include "platform/utf.h"

namespace cli {
namespace {

// The terminal's settings while echo is off, so that a signal can put them back before the
// process ends.
volatile sig_atomic_t g_restore_fd = -1;
struct termios g_saved_settings;

void RestoreAndReraise(int signal_number) {
  if (g_restore_fd >= 0) {
    tcsetattr(g_restore_fd, TCSANOW, &g_saved_settings);
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Echo off for its lifetime (the typed line break still shows).
class NoEcho {
 public:
  explicit NoEcho(int fd) : fd_(fd) {
    if (tcgetattr(fd_, &g_saved_settings) != 0) {
      return;
    }
    struct termios quiet = g_saved_settings;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    g_restore_fd = fd_;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
      previous_[i] = std::signal(kEndingSignals[i], RestoreAndReraise);
    }
    active_ = tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
  }
  ~NoEcho() {
    if (g_restore_fd < 0) {
      return;
    }
    tcsetattr(fd_, TCSAFLUSH, &g_saved_settings);
    g_restore_fd = -1;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
      std::signal(kEndingSignals[i], previous_[i]);
    }
  }
  NoEcho(const NoEcho&) = delete;
  NoEcho& operator=(const NoEcho&) = delete;
  bool active() const { return active_; }

 private:
  int fd_;
  bool active_ = false;
  std::array<void (*)(int), kEndingSignals.size()> previous_{};
};

enum class LineResult { kLine, kEnd, kTooLong, kFailed };

// One line, byte by byte so that nothing after it is consumed; without its line break (and a
// carriage return before it).
LineResult ReadLine(int fd, std::array<char, PasswordReader::kMaxBytes>& line, std::size_t& size) {
  size = 0;
  bool too_long = false;
  bool any = false;
  for (;;) {
    char byte = 0;
    const ssize_t got = ::read(fd, &byte, 1);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return LineResult::kFailed;
    }
    if (got == 0) {
      if (!any) {
        return LineResult::kEnd;
      }
      break;
    }
    any = true;
    if (byte == '\n') {
      break;
    }
    if (size == line.size()) {
      too_long = true;
    } else {
      line[size++] = byte;
    }
    platform::SecureZero(&byte, 1);
  }
  if (too_long) {
    return LineResult::kTooLong;
  }
  if (size > 0 && line[size - 1] == '\r') {
    line[--size] = 0;
  }
  return LineResult::kLine;
}

void WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

bool PasswordReader::Read(std::string_view prompt, std::u16string& password, std::string& error) {
  WipeString(password);
  std::array<char, kMaxBytes> line{};
  std::size_t size = 0;
  LineResult result = LineResult::kFailed;
  if (from_stdin_) {
    result = ReadLine(STDIN_FILENO, line, size);
  } else {
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0) {
      error = "there is no terminal to ask for the password on; use --password-stdin";
      return false;
    }
    WriteAll(tty, prompt);
    {
      NoEcho quiet(tty);
      result = ReadLine(tty, line, size);
    }
    ::close(tty);
  }
  if (result == LineResult::kLine) {
    std::u16string decoded = platform::FromUtf8(std::string_view(line.data(), size));
    password.reserve(decoded.size());
    password = decoded;
    WipeString(decoded);
  }
  platform::SecureZero(line.data(), line.size());
  switch (result) {
    case LineResult::kLine:
      return true;
    case LineResult::kEnd:
      error = from_stdin_ ? "standard input holds no further password line"
                          : "the terminal gave no password";
      return false;
    case LineResult::kTooLong:
      error = "the password is longer than 1024 bytes";
      return false;
    case LineResult::kFailed:
      break;
  }
  error = "the password could not be read";
  return false;
}

}  // namespace cli
