// The desktop's user-dirs.dirs file is outside input: any bytes must give a documents folder
// or none, never a crash, and a folder found is always absolute.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/user_folders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  for (const std::u16string_view home :
       {std::u16string_view(u"/home/fuzz"), std::u16string_view()}) {
    const auto documents = settings::DocumentsFromUserDirs(content, home);
    if (documents && (documents->empty() || documents->front() != u'/')) {
      __builtin_trap();
    }
  }
  return 0;
}
