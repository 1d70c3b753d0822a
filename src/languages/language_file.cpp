#include "languages/language_file.h"

namespace languages {
namespace {

constexpr std::size_t kEntryPrefix = 7;  // "GG?EE??" before the text

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return c - u'0';
  }
  if (c >= u'A' && c <= u'F') {
    return c - u'A' + 10;
  }
  if (c >= u'a' && c <= u'f') {
    return c - u'a' + 10;
  }
  return -1;
}

std::optional<std::uint8_t> HexByte(char16_t high, char16_t low) {
  const int h = HexValue(high);
  const int l = HexValue(low);
  if (h < 0 || l < 0) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(h * 16 + l);
}

}  // namespace

std::vector<std::u16string> CutLines(std::span<const std::uint8_t> text_bytes) {
  std::vector<std::u16string> lines;
  std::u16string line;
  const std::size_t units = text_bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const auto c = static_cast<char16_t>(text_bytes[2 * i] | (text_bytes[2 * i + 1] << 8));
    if (c == u'\n') {
      if (!line.empty()) {
        lines.push_back(std::move(line));
        line.clear();
      }
    } else if (c >= 0x20) {
      line.push_back(c);
    }
  }
  if (!line.empty()) {
    lines.push_back(std::move(line));
  }
  return lines;
}

std::optional<KLanguageLine> ParseEntryLine(std::u16string_view line) {
  if (line.size() < kEntryPrefix) {
    return std::nullopt;
  }
  const auto group = HexByte(line[0], line[1]);
  const auto entry = HexByte(line[3], line[4]);
  if (!group || !entry) {
    return std::nullopt;
  }
  return KLanguageLine{*group, *entry, std::u16string(line.substr(kEntryPrefix))};
}

std::optional<ParsedLanguageFile> ParseLanguageFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kMinFileSize || bytes.size() > kMaxFileSize) {
    return std::nullopt;
  }
  if (bytes[0] != 0xFF || bytes[1] != 0xFE) {
    return std::nullopt;
  }
  std::vector<std::u16string> lines = CutLines(bytes.subspan(2));
  if (lines.size() < kMinLines) {
    return std::nullopt;
  }
  ParsedLanguageFile file;
  file.name = lines.front();
  for (const auto& line : lines) {
    if (auto entry = ParseEntryLine(line)) {
      file.entries.push_back(std::move(*entry));
    }
  }
  return file;
}

}  // namespace languages
