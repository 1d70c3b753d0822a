#pragma once

#include <string_view>

namespace files {

// Whether a file name matches a pattern of the folder search: "*" stands for any run of
// characters, "?" for exactly one, everything else for itself (case matters, as on the file
// systems here). "*.*" matches every name, with or without a dot, as it always has.
bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern);

// Whether a text holds "*" or "?".
bool HasWildcard(std::u16string_view text);

}  // namespace files
