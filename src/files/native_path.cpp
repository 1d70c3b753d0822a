#include "files/native_path.h"

#include <cerrno>

#include "platform/utf.h"

namespace files {

bool NativePath(std::u16string_view path, std::string& native) {
  if (path.find(u'\0') != std::u16string_view::npos) {
    errno = EINVAL;
    return false;
  }
  native = platform::ToUtf8(path);
  return true;
}

}  // namespace files
