#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace test {

// The bytes of a language file: the mark FF FE (unless left out), then the text in UTF-16LE.
std::vector<std::uint8_t> LanguageBytes(std::u16string_view text, bool with_mark = true);

// Writes bytes to a file, replacing it.
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A small valid file: the name, then four entries of group 0x10.
std::u16string SmallLanguage(std::u16string_view name);

}  // namespace test
