#pragma once

#include <string>
#include <string_view>

namespace files {

// The UTF-8 form of a path for the system calls. False (errno EINVAL) for a path with a zero
// character, which the system would silently cut there and so reach another file.
bool NativePath(std::u16string_view path, std::string& native);

}  // namespace files
