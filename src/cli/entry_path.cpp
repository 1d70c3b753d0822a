#include "cli/entry_path.h"

#include "elements/wipe_string.h"

namespace cli {

EntryPath::~EntryPath() {
  for (std::u16string& name : names) {
    WipeString(name);
  }
}

EntryPath ParseEntryPath(std::u16string_view text) {
  EntryPath path;
  if (!text.empty() && text.front() == u'/') {
    text.remove_prefix(1);
  }
  std::u16string name;
  name.reserve(text.size());  // grows without leaving copies behind
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'/') {
      if (name.empty()) {
        path.error = "a path may not hold an empty name (\"//\")";
        return path;
      }
      path.names.push_back(std::move(name));
      name = std::u16string();
      name.reserve(text.size());
      continue;
    }
    if (text[i] == u'\\') {
      if (i + 1 == text.size() || (text[i + 1] != u'/' && text[i + 1] != u'\\')) {
        WipeString(name);
        path.error = "in a path a backslash must be followed by \"/\" or \"\\\"";
        return path;
      }
      ++i;
    }
    name.push_back(text[i]);
  }
  // An empty last name is what a trailing separator leaves.
  if (!name.empty()) {
    path.names.push_back(std::move(name));
  }
  path.valid = true;
  return path;
}

std::u16string EscapeName(std::u16string_view name) {
  std::u16string escaped;
  escaped.reserve(name.size() + 2);
  for (const char16_t c : name) {
    if (c == u'\\' || c == u'/') {
      escaped.push_back(u'\\');
    }
    escaped.push_back(c);
  }
  return escaped;
}

}  // namespace cli
