#pragma once

#include <cstdint>
#include <string>

// One entry of a language file: the text of (group, entry), exactly as the file has it after
// the two numbers and their separators.
struct KLanguageLine {
  std::uint8_t group = 0;
  std::uint8_t entry = 0;
  std::u16string text;
};
