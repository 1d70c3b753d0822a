#pragma once

#include <string>
#include <string_view>

namespace database {

// Whether anything exists at exactly this path. Unlike FileExists, "*" and "?" are taken
// literally: they are legal in file names here, user names included.
bool PathExists(std::u16string_view path);

// The folder part of a path ("." for a bare name, "/" for a name in the root).
std::u16string FolderOf(std::u16string_view path);

// The last component of a path.
std::u16string_view FileNameOf(std::u16string_view path);

// Copies a file over another one without ever leaving a half-written destination: the copy is
// made beside the destination under a temporary name (mode 0600) and then put in its place.
// Copying a file onto itself leaves it intact. False with errno set on failure; nothing is
// shown.
bool CopyReplacing(std::u16string_view from, std::u16string_view to);

}  // namespace database
