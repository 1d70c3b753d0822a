#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16; every invalid or overlong sequence becomes one U+FFFD.
std::u16string FromUtf8(std::string_view text);

// Appends a code point (at most U+10FFFF) as one UTF-16 unit or a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t c);

}  // namespace platform
