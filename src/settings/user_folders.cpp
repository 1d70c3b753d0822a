#include "settings/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

#include "files/file_utils.h"
#include "files/native_path.h"
#include "platform/utf.h"

namespace settings {
namespace {

// The limit on user-dirs.dirs: a real one holds a few hundred bytes.
constexpr std::streamsize kUserDirsLimit = 64 * 1024;

// An environment variable that holds an absolute path (the XDG rules ignore relative ones).
std::optional<std::u16string> AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') {
    return std::nullopt;
  }
  return platform::FromUtf8(value);
}

// The account record of the process's user, through the reentrant lookup.
template <typename Fn>
auto WithAccount(Fn&& fn) -> std::optional<decltype(fn(std::declval<const passwd&>()))> {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd record{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &record, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr) {
    return std::nullopt;
  }
  return fn(record);
}

std::u16string Below(std::u16string base, std::u16string_view name) {
  if (base.empty()) {
    return base;
  }
  if (base.back() != u'/') {
    base += u'/';
  }
  base += name;
  return base;
}

bool IsFolder(const std::u16string& path) {
  std::string native;
  struct stat status;
  return files::NativePath(path, native) && stat(native.c_str(), &status) == 0 &&
         S_ISDIR(status.st_mode);
}

std::optional<std::string> ReadSmallFile(const std::u16string& path) {
  std::string native;
  if (!files::NativePath(path, native)) {
    return std::nullopt;
  }
  std::ifstream in(native, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string content(static_cast<std::size_t>(kUserDirsLimit), '\0');
  in.read(content.data(), kUserDirsLimit);
  content.resize(static_cast<std::size_t>(in.gcount()));
  return content;
}

void SkipBlanks(std::string_view line, std::size_t& at) {
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
    ++at;
  }
}

// One line of user-dirs.dirs; nothing unless it sets the documents folder.
std::optional<std::u16string> DocumentsFromLine(std::string_view line, std::u16string_view home) {
  constexpr std::string_view kName = "XDG_DOCUMENTS_DIR";
  constexpr std::string_view kHome = "$HOME";
  std::size_t at = 0;
  SkipBlanks(line, at);
  if (line.substr(at, kName.size()) != kName) {
    return std::nullopt;
  }
  at += kName.size();
  SkipBlanks(line, at);
  if (at >= line.size() || line[at] != '=') {
    return std::nullopt;
  }
  ++at;
  SkipBlanks(line, at);
  if (at >= line.size() || line[at] != '"') {
    return std::nullopt;
  }
  ++at;
  std::string path;
  bool relative_to_home = false;
  if (line.substr(at, kHome.size()) == kHome) {
    at += kHome.size();
    if (at < line.size() && line[at] != '/' && line[at] != '"') {
      return std::nullopt;  // $HOMEX is another variable
    }
    relative_to_home = true;
  } else if (at >= line.size() || line[at] != '/') {
    return std::nullopt;
  }
  bool closed = false;
  for (; at < line.size(); ++at) {
    char c = line[at];
    if (c == '"') {
      closed = true;
      break;
    }
    if (c == '\\' && at + 1 < line.size()) {
      c = line[++at];
    }
    path += c;
  }
  if (!closed || (relative_to_home && home.empty())) {
    return std::nullopt;
  }
  std::u16string result = relative_to_home ? std::u16string(home) : std::u16string();
  result += platform::FromUtf8(path);
  while (result.size() > 1 && result.back() == u'/') {
    result.pop_back();
  }
  return result;
}

}  // namespace

std::u16string HomeFolder() {
  if (auto home = AbsoluteFromEnvironment("HOME")) {
    return *home;
  }
  auto home = WithAccount([](const passwd& account) {
    return account.pw_dir != nullptr && account.pw_dir[0] == '/'
               ? platform::FromUtf8(account.pw_dir)
               : std::u16string();
  });
  return home.value_or(std::u16string());
}

std::u16string ConfigHomeFolder() {
  if (auto config = AbsoluteFromEnvironment("XDG_CONFIG_HOME")) {
    return *config;
  }
  return Below(HomeFolder(), u".config");
}

std::u16string DataHomeFolder() {
  if (auto data = AbsoluteFromEnvironment("XDG_DATA_HOME")) {
    return *data;
  }
  return Below(HomeFolder(), u".local/share");
}

std::u16string DocumentsFolder() {
  if (auto documents = AbsoluteFromEnvironment("XDG_DOCUMENTS_DIR")) {
    return *documents;
  }
  const std::u16string home = HomeFolder();
  const std::u16string config = ConfigHomeFolder();
  if (!config.empty()) {
    if (auto content = ReadSmallFile(Below(config, u"user-dirs.dirs"))) {
      if (auto documents = DocumentsFromUserDirs(*content, home)) {
        return *documents;
      }
    }
  }
  std::u16string fallback = Below(home, u"Documents");
  return !fallback.empty() && IsFolder(fallback) ? fallback : std::u16string();
}

std::optional<std::u16string> LoginName() {
  auto name = WithAccount([](const passwd& account) {
    return account.pw_name != nullptr ? platform::FromUtf8(account.pw_name) : std::u16string();
  });
  if (!name || name->empty()) {
    return std::nullopt;
  }
  return name;
}

std::optional<std::u16string> DocumentsFromUserDirs(std::string_view content,
                                                    std::u16string_view home) {
  std::optional<std::u16string> documents;
  while (!content.empty()) {
    const auto end = content.find('\n');
    const std::string_view line = content.substr(0, end);
    if (auto found = DocumentsFromLine(line, home)) {
      documents = std::move(found);
    }
    content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
  }
  return documents;
}

bool CreateFolderPath(std::u16string_view path, std::u16string& failed) {
  failed.clear();
  if (path.empty()) {
    return false;
  }
  // Each folder from the top down; "/" and any other existing folder count as made.
  std::size_t next = path.front() == u'/' ? 1 : 0;
  while (next <= path.size()) {
    const std::size_t slash = path.find(u'/', next);
    const std::size_t end = slash == std::u16string_view::npos ? path.size() : slash;
    if (end > next) {
      const std::u16string_view folder = path.substr(0, end);
      if (!CreateFolder(folder)) {
        failed.assign(folder);
        return false;
      }
    }
    if (slash == std::u16string_view::npos) {
      break;
    }
    next = slash + 1;
  }
  return true;
}

}  // namespace settings
