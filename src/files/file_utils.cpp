#include "files/file_utils.h"

#include <fcntl.h>

#include <cerrno>

#include "files/errors.h"
#include "files/file.h"
#include "files/native_path.h"
#include "files/system_calls.h"
#include "files/wildcard.h"
#include "platform/secure_zero.h"
#include "platform/utf.h"

namespace {

constexpr char16_t kSeparator = u'/';
constexpr mode_t kSecretFileMode = 0600;
constexpr mode_t kPrivateFolderMode = 0700;

struct SplitPattern {
  std::u16string folder;  // "." for the current one
  std::u16string_view name;
};

SplitPattern Split(std::u16string_view pattern) {
  const auto slash = pattern.rfind(kSeparator);
  if (slash == std::u16string_view::npos) {
    return {u".", pattern};
  }
  return {std::u16string(slash == 0 ? pattern.substr(0, 1) : pattern.substr(0, slash)),
          pattern.substr(slash + 1)};
}

bool IsDotOrDotDot(const std::string& name) {
  return name == "." || name == "..";
}

// Calls fn for each matching entry of the pattern's folder; false when the folder cannot be read.
template <typename Fn>
bool ForEachMatch(std::u16string_view pattern, Fn&& fn) {
  const SplitPattern split = Split(pattern);
  std::string folder;
  if (!files::NativePath(split.folder, folder)) {
    return false;
  }
  std::vector<files::DirectoryEntry> entries;
  if (files::System().ListDirectory(folder.c_str(), entries) != 0) {
    return false;
  }
  for (const auto& entry : entries) {
    if (!IsDotOrDotDot(entry.name) &&
        files::MatchesWildcard(platform::FromUtf8(entry.name), split.name)) {
      if (!fn(entry)) {
        break;
      }
    }
  }
  return true;
}

[[noreturn]] void ShowAndThrow(std::u16string_view path, CKFile::ErrorExceptions error) {
  const std::u16string name(path);
  CKFileError(name.c_str(), true);
  throw error;
}

// Closes a descriptor keeping the errno of an earlier failure.
void CloseKeepingErrno(int fd) {
  const int saved = errno;
  files::System().Close(fd);
  errno = saved;
}

// A file on another file system: a copy, then the source deleted. Folders are not moved so.
bool MoveAcrossFileSystems(std::u16string_view from, std::u16string_view to,
                           const std::string& native_from, const std::string& native_to) {
  auto& sys = files::System();
  struct stat status;
  if (sys.PathStatus(native_from.c_str(), &status, false) != 0) {
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    errno = EXDEV;
    return false;
  }
  if (!CopyFile(from, to, true)) {
    return false;
  }
  if (sys.Unlink(native_from.c_str()) == 0) {
    return true;
  }
  const int saved = errno;
  sys.Unlink(native_to.c_str());  // keep one copy only: the source
  errno = saved;
  return false;
}

}  // namespace

bool FileExists(std::u16string_view path) {
  const SplitPattern split = Split(path);
  if (!files::HasWildcard(split.name)) {
    std::string native;
    struct stat status;
    return files::NativePath(path, native) &&
           files::System().PathStatus(native.c_str(), &status, false) == 0;
  }
  bool found = false;
  ForEachMatch(path, [&](const files::DirectoryEntry&) {
    found = true;
    return false;
  });
  return found;
}

bool DeleteFile(std::u16string_view path) {
  std::string native;
  if (!files::NativePath(path, native) || files::System().Unlink(native.c_str()) != 0) {
    ShowAndThrow(path, CKFile::ErrDelete);
  }
  return true;
}

bool DeleteFileIfExists(std::u16string_view path) {
  if (!FileExists(path)) {
    return false;
  }
  return DeleteFile(path);
}

bool MoveFile(std::u16string_view from, std::u16string_view to) {
  std::string native_from;
  std::string native_to;
  if (!files::NativePath(from, native_from) || !files::NativePath(to, native_to)) {
    ShowAndThrow(from, CKFile::ErrMove);
  }
  auto& sys = files::System();
  if (sys.Rename(native_from.c_str(), native_to.c_str(), false) == 0) {
    return true;
  }
  if (errno == EXDEV && MoveAcrossFileSystems(from, to, native_from, native_to)) {
    return true;
  }
  ShowAndThrow(from, CKFile::ErrMove);
}

bool CopyFile(std::u16string_view from, std::u16string_view to, bool fail_if_exists) {
  std::string native_from;
  std::string native_to;
  if (!files::NativePath(from, native_from) || !files::NativePath(to, native_to)) {
    return false;
  }
  auto& sys = files::System();
  const int source = sys.Open(native_from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY, 0);
  if (source < 0) {
    return false;
  }
  struct stat status;
  if (sys.FileStatus(source, &status) != 0) {
    CloseKeepingErrno(source);
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    CloseKeepingErrno(source);
    errno = EISDIR;
    return false;
  }
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | (fail_if_exists ? O_EXCL : O_TRUNC);
  const int target = sys.Open(native_to.c_str(), flags, kSecretFileMode);
  if (target < 0) {
    CloseKeepingErrno(source);
    return false;
  }
  std::uint8_t buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t got = sys.Read(source, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    for (ssize_t put_total = 0; ok && put_total < got;) {
      const ssize_t put =
          sys.Write(target, buffer + put_total, static_cast<size_t>(got - put_total));
      if (put < 0 && errno == EINTR) {
        continue;
      }
      if (put <= 0) {
        if (put == 0) {
          errno = ENOSPC;
        }
        ok = false;
      } else {
        put_total += put;
      }
    }
    if (!ok) {
      break;
    }
  }
  platform::SecureZero(buffer, sizeof buffer);
  if (ok && sys.Fsync(target) != 0 && errno != EINVAL) {
    ok = false;
  }
  if (sys.Close(target) != 0 && ok && errno != EINTR) {
    ok = false;
  }
  CloseKeepingErrno(source);
  if (!ok && fail_if_exists) {
    const int saved = errno;
    sys.Unlink(native_to.c_str());  // the partial copy was ours
    errno = saved;
  }
  return ok;
}

bool CreateFolder(std::u16string_view path) {
  std::string native;
  if (!files::NativePath(path, native)) {
    return false;
  }
  auto& sys = files::System();
  if (sys.MakeFolder(native.c_str(), kPrivateFolderMode) == 0) {
    return true;
  }
  if (errno != EEXIST) {
    return false;
  }
  struct stat status;
  return sys.PathStatus(native.c_str(), &status, true) == 0 && S_ISDIR(status.st_mode);
}

std::size_t ListFolder(std::vector<std::u16string>& names, std::u16string_view pattern,
                       bool want_folders) {
  ForEachMatch(pattern, [&](const files::DirectoryEntry& entry) {
    if (entry.is_folder == want_folders) {
      names.push_back(platform::FromUtf8(entry.name));
    }
    return true;
  });
  return names.size();
}

bool GetWorkingFolder(std::u16string& folder) {
  std::string native;
  if (files::System().CurrentFolder(native) != 0) {
    CKError(-1, true);
    return false;
  }
  folder = platform::FromUtf8(native);
  AddBackslash(folder);
  return true;
}

void AddBackslash(std::u16string& path) {
  if (path.size() >= 2 && path.back() != kSeparator) {
    path.push_back(kSeparator);
  }
}

bool SyncFolder(std::u16string_view folder) {
  std::string native;
  if (!files::NativePath(folder, native)) {
    ShowAndThrow(folder, CKFile::ErrWrite);
  }
  auto& sys = files::System();
  const int fd = sys.Open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) {
    ShowAndThrow(folder, CKFile::ErrWrite);
  }
  // Some file systems cannot sync a folder (EINVAL); there is nothing more to make durable.
  if (sys.Fsync(fd) != 0 && errno != EINVAL) {
    CloseKeepingErrno(fd);
    ShowAndThrow(folder, CKFile::ErrWrite);
  }
  sys.Close(fd);
  return true;
}
