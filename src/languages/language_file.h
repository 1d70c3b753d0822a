#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "languages/language_line.h"

// The rules of a language file, apart from reading it from disk:
// UTF-16LE behind the mark FF FE, cut into lines at line feeds, characters below U+0020
// dropped, empty lines dropped, at least five lines; the first line is the language's name;
// every line of the form "GG?EE??text" (GG, EE two hexadecimal digits each) is an entry.
namespace languages {

inline constexpr std::size_t kMinFileSize = 8;
inline constexpr std::size_t kMaxFileSize = 0xFFFFF;
inline constexpr std::size_t kMinLines = 5;

struct ParsedLanguageFile {
  std::u16string name;
  std::vector<KLanguageLine> entries;  // in file order
};

// The name and entries of a file's whole content, or nothing when the file breaks a rule
// (size, byte-order mark, too few lines).
std::optional<ParsedLanguageFile> ParseLanguageFile(std::span<const std::uint8_t> bytes);

// The text after the byte-order mark cut into lines as the rules say (an odd last byte is
// ignored).
std::vector<std::u16string> CutLines(std::span<const std::uint8_t> text_bytes);

// The entry a line stands for, or nothing for a comment line.
std::optional<KLanguageLine> ParseEntryLine(std::u16string_view line);

}  // namespace languages
