#pragma once

#include <string>
#include <string_view>
#include <vector>

// Paths of entries in a user's tree as the command line writes them: folder and note names
// joined by "/", where "\/" stands for a "/" inside a name and "\\" for a backslash. The empty
// path, and "/", are the root; one leading and one trailing "/" are allowed (ls shows folders
// with a trailing "/"), an empty name between two separators is not.
namespace cli {

struct EntryPath {
  EntryPath() = default;
  // The names are user data: wiped when the path goes.
  ~EntryPath();
  EntryPath(EntryPath&& other) noexcept = default;
  EntryPath& operator=(EntryPath&& other) noexcept = default;

  bool valid = false;
  // What is wrong with the text when it is not valid.
  std::string error;
  // The names from the root down; none for the root.
  std::vector<std::u16string> names;
};

EntryPath ParseEntryPath(std::u16string_view text);

// A name as one component of a path: "\" and "/" escaped.
std::u16string EscapeName(std::u16string_view name);

}  // namespace cli
