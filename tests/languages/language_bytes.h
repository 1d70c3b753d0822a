#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace test {

// The bytes of a language file: the mark FF FE (unless left out), then the text in UTF-16LE.
inline std::vector<std::uint8_t> LanguageBytes(std::u16string_view text, bool with_mark = true) {
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  bytes.resize(with_mark ? 2 : 0);
  for (const char16_t c : text) {
    bytes.insert(bytes.end(),
                 {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
  }
  return bytes;
}

// A small valid file: the name, then four entries of group 0x10.
inline std::u16string SmallLanguage(std::u16string_view name) {
  return std::u16string(name) + u"\n10 00  zero\n10 01  one\n10 02  two\n10 03  three\n";
}

}  // namespace test
