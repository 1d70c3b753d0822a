#pragma once

#include <string>
#include <string_view>

namespace platform {

// Letter case by the C library's wide-character case mapping of the C.UTF-8 locale, whatever
// the process locale is (only ASCII letters when the system lacks that locale). Characters
// outside the Basic Multilingual Plane are mapped by their full code point; an unpaired
// surrogate stands for itself.

// The text with every character lowered. Callers wipe the copy when it held user data.
std::u16string LowerText(std::u16string_view text);

// Whether two texts are equal without regard to letter case.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace platform
