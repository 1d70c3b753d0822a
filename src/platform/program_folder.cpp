#include "platform/program_folder.h"

#include <limits.h>
#include <unistd.h>

#include <string>

#include "platform/utf.h"

namespace platform {
namespace {

std::u16string& Chosen() {
  static std::u16string folder;
  return folder;
}

std::u16string ExecutableFolder() {
  std::string path(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
    path.resize(static_cast<std::size_t>(length));
    const auto slash = path.rfind('/');
    if (slash != std::string::npos) {
      return FromUtf8(path.substr(0, slash == 0 ? 1 : slash));
    }
  }
  std::string current(PATH_MAX, '\0');
  if (getcwd(current.data(), current.size()) != nullptr) {
    current.resize(current.find('\0'));
    return FromUtf8(current);
  }
  return {};
}

}  // namespace

std::u16string ProgramFolder() {
  return Chosen().empty() ? ExecutableFolder() : Chosen();
}

void SetProgramFolder(std::u16string_view folder) {
  Chosen().assign(folder);
}

}  // namespace platform
