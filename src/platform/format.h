#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace platform {

// One value for a field of an interface text: a string for "%s", a number for "%d".
using FormatValue = std::variant<std::u16string_view, std::int64_t>;

// Fills the fields of an interface text. The texts come from language files, which are
// outside input: a translator may have written more, fewer or other fields than the caller
// passes, so nothing here trusts the text the way printf would.
// - "%s" and "%d" take the values in order; a value is shown as itself whichever of the two
//   letters its field has (a string is never read as a number or the other way round);
// - a field beyond the values, and any other "%" sequence, stays as written;
// - "%%" gives "%", as the texts are written for printf-style formatting.
// The result is allocated once at its final size, so that a caller who wipes it after use
// (it may hold user data) leaves no copy behind.
std::u16string FormatText(std::u16string_view text, std::span<const FormatValue> values);

template <typename... Values>
std::u16string Format(std::u16string_view text, const Values&... values) {
  const std::array<FormatValue, sizeof...(Values)> list{FormatValue(values)...};
  return FormatText(text, list);
}

// The letters of a text's fields in order, as FormatText sees them: "%s of %d%%" gives "sd".
std::string FormatFields(std::u16string_view text);

}  // namespace platform
