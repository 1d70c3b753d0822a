#include "language_bytes.h"

#include <fstream>
#include <stdexcept>

namespace test {

std::vector<std::uint8_t> LanguageBytes(std::u16string_view text, bool with_mark) {
  std::vector<std::uint8_t> bytes;
  if (with_mark) {
    bytes = {0xFF, 0xFE};
  }
  for (const char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

std::u16string SmallLanguage(std::u16string_view name) {
  return std::u16string(name) + u"\n10 00  zero\n10 01  one\n10 02  two\n10 03  three\n";
}

}  // namespace test
