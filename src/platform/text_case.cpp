#include "platform/text_case.h"

#include <locale.h>
#include <wctype.h>

#include <cstddef>

#include "platform/secure_zero.h"
#include "platform/utf.h"

namespace platform {
namespace {

// Made once; null when the system lacks the locale, and then only ASCII letters are lowered.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

char32_t Lower(char32_t c) {
  if (const locale_t locale = CaseLocale()) {
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
  }
  return (c >= U'A' && c <= U'Z') ? c + (U'a' - U'A') : c;
}

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at i, advancing i past it.
char32_t Next(std::u16string_view text, std::size_t& i) {
  const char16_t c = text[i++];
  if (IsHighSurrogate(c) && i < text.size() && IsLowSurrogate(text[i])) {
    const char16_t low = text[i++];
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
  }
  return c;
}

}  // namespace

std::u16string LowerText(std::u16string_view text) {
  std::u16string lowered;
  // Reserved once: a copy that grew would leave earlier storage behind unwiped.
  lowered.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = Lower(Next(text, i));
    if (lowered.size() + 2 > lowered.capacity()) {
      // A mapping that widened the text (none known): move on to larger storage, wiping this.
      std::u16string larger;
      larger.reserve(lowered.capacity() * 2);
      larger = lowered;
      SecureZero(lowered.data(), lowered.size() * sizeof(char16_t));
      lowered.swap(larger);
    }
    AppendUtf16(lowered, c);
  }
  return lowered;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (Lower(Next(a, i)) != Lower(Next(b, j))) {
      return false;
    }
  }
  return i == a.size() && j == b.size();
}

}  // namespace platform
