#include "languages/name_compare.h"

#include <locale.h>
#include <wctype.h>

#include <cstddef>

namespace languages {
namespace {

// The C.UTF-8 locale, made once; null when the system lacks it, and then only ASCII
// letters are folded.
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

// Reads one code point at i and advances; an unpaired surrogate stands for itself.
char32_t Next(std::u16string_view s, std::size_t& i) {
  const char16_t c = s[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
    const char16_t low = s[i++];
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
  }
  return c;
}

}  // namespace

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

}  // namespace languages
