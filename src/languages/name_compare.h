#pragma once

#include <string_view>

namespace languages {

// Whether two names are equal without regard to letter case, by the C library's
// wide-character case mapping of the C.UTF-8 locale (whatever the process locale is).
// Characters outside the Basic Multilingual Plane compare by their full code point.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace languages
