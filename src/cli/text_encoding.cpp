#include "cli/text_encoding.h"

namespace cli {
namespace {

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

char32_t NextCodePoint(std::u16string_view text, std::size_t& index, bool& unpaired) {
  const char32_t unit = text[index++];
  unpaired = false;
  if (IsHighSurrogate(unit) && index < text.size() && IsLowSurrogate(text[index])) {
    const char32_t low = text[index++];
    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  }
  unpaired = IsHighSurrogate(unit) || IsLowSurrogate(unit);
  return unit;
}

std::size_t EncodeUtf8(char32_t code_point, char out[4]) {
  if (code_point < 0x80) {
    out[0] = static_cast<char>(code_point);
    return 1;
  }
  if (code_point < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code_point >> 6));
    out[1] = static_cast<char>(0x80 | (code_point & 0x3F));
    return 2;
  }
  if (code_point < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (code_point >> 12));
    out[1] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code_point & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (code_point >> 18));
  out[1] = static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (code_point & 0x3F));
  return 4;
}

}  // namespace cli
