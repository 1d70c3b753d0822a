#include "database/file_paths.h"

#include <sys/stat.h>

#include <cerrno>

#include "files/file_utils.h"
#include "files/native_path.h"
#include "files/system_calls.h"

namespace database {

bool PathExists(std::u16string_view path) {
  std::string native;
  struct stat status;
  return files::NativePath(path, native) &&
         files::System().PathStatus(native.c_str(), &status, false) == 0;
}

std::u16string FolderOf(std::u16string_view path) {
  const auto slash = path.rfind(u'/');
  if (slash == std::u16string_view::npos) {
    return u".";
  }
  return std::u16string(path.substr(0, slash == 0 ? 1 : slash));
}

std::u16string_view FileNameOf(std::u16string_view path) {
  const auto slash = path.rfind(u'/');
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool CopyReplacing(std::u16string_view from, std::u16string_view to) {
  const std::u16string partial = std::u16string(to) + u".partial";
  std::string native_partial;
  std::string native_to;
  if (!files::NativePath(partial, native_partial) || !files::NativePath(to, native_to)) {
    return false;
  }
  auto& sys = files::System();
  sys.Unlink(native_partial.c_str());  // a leftover of an earlier attempt
  if (!CopyFile(from, partial, true)) {
    return false;
  }
  if (sys.Rename(native_partial.c_str(), native_to.c_str(), true) != 0) {
    const int error = errno;
    sys.Unlink(native_partial.c_str());
    errno = error;
    return false;
  }
  return true;
}

}  // namespace database
