#include "settings/autostart.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/native_path.h"
#include "platform/utf.h"
#include "settings/user_folders.h"

namespace settings {
namespace {

constexpr std::u16string_view kAutostartFolder = u"/autostart";
constexpr std::u16string_view kEntryName = u"/VaultQuill.desktop";

// One argument of an Exec key: always in double quotes, with the four characters that the
// quoting reserves preceded by a backslash.
std::string QuoteArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      quoted += '\\';
    }
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

// A literal "%" is written "%%": a single one would start a field code.
std::string DoublePercent(std::string_view text) {
  std::string doubled;
  for (const char c : text) {
    doubled += c;
    if (c == '%') {
      doubled += '%';
    }
  }
  return doubled;
}

// The escapes of string values, which readers undo before they split the Exec key.
std::string EscapeString(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) {
      continue;
    }
    if (wrote <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

}  // namespace

std::u16string AutostartEntryPath() {
  std::u16string config = ConfigHomeFolder();
  if (config.empty()) {
    return config;
  }
  while (config.size() > 1 && config.back() == u'/') {
    config.pop_back();
  }
  return config + std::u16string(kAutostartFolder) + std::u16string(kEntryName);
}

std::string DesktopExecValue(std::u16string_view program) {
  return EscapeString(DoublePercent(QuoteArgument(platform::ToUtf8(program))));
}

std::string AutostartEntryText(std::u16string_view program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=VaultQuill\n"
         "Exec=" +
         DesktopExecValue(program) +
         "\n"
         "Terminal=false\n";
}

bool WriteAutostartEntry(std::u16string_view program) {
  const std::u16string path = AutostartEntryPath();
  if (path.empty()) {
    return false;
  }
  std::u16string failed;
  const std::u16string folder = path.substr(0, path.size() - kEntryName.size());
  std::string native;
  std::string native_temporary;
  if (!CreateFolderPath(folder, failed) || !files::NativePath(path, native) ||
      !files::NativePath(path + u".new", native_temporary)) {
    return false;
  }
  // Written beside the entry and renamed over it, so a reader never sees half an entry.
  const int fd = open(native_temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  const bool written = WriteAll(fd, AutostartEntryText(program));
  const bool closed = close(fd) == 0;
  if (!written || !closed || std::rename(native_temporary.c_str(), native.c_str()) != 0) {
    unlink(native_temporary.c_str());
    return false;
  }
  return true;
}

bool RemoveAutostartEntry() {
  const std::u16string path = AutostartEntryPath();
  std::string native;
  if (path.empty() || !files::NativePath(path, native)) {
    return false;
  }
  return unlink(native.c_str()) == 0 || errno == ENOENT;
}

}  // namespace settings
