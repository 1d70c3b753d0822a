#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Where the lower layers find the interface texts (group, entry) of the active language.
// The language collection installs itself here once a language is active.
class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual std::optional<std::u16string> FindText(int group, int entry) const = 0;
};

// Installs a source (not owned) and returns the one it replaces; null removes it.
const TextSource* InstallTexts(const TextSource* source);

// The active language's text, or the given fallback while no language provides one.
std::u16string Text(int group, int entry, std::u16string_view fallback);

}  // namespace platform
