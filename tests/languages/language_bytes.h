#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "languages/language_line.h"
#include "platform/utf.h"

namespace test {

// The bytes of a language file: the mark FF FE (unless left out), then the text in UTF-16LE.
inline std::vector<std::uint8_t> LanguageBytes(std::u16string_view text, bool with_mark = true) {
  std::vector<std::uint8_t> bytes;
  if (with_mark) {
    bytes = {0xFF, 0xFE};
  }
  for (const char16_t c : text) {
    bytes.insert(bytes.end(),
                 {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
  }
  return bytes;
}

// Writes bytes to a file, replacing it.
inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

// A small valid file: the name, then four entries of group 0x10.
inline std::u16string SmallLanguage(std::u16string_view name) {
  return std::u16string(name) + u"\n10 00  zero\n10 01  one\n10 02  two\n10 03  three\n";
}

// An entry as "gg.ee=text", the numbers in hexadecimal.
inline std::string Describe(const KLanguageLine& line) {
  char numbers[8];
  std::snprintf(numbers, sizeof numbers, "%02x.%02x=", line.group, line.entry);
  return numbers + platform::ToUtf8(line.text);
}

}  // namespace test
