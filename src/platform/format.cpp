#include "platform/format.h"

#include <cstddef>

namespace platform {
namespace {

// Decimal digits of a number, sign included; no locale, no allocation.
struct Decimal {
  std::array<char16_t, 20> digits{};
  std::size_t size = 0;

  explicit Decimal(std::int64_t value) {
    // Work on the magnitude as unsigned, so the most negative number needs no special case.
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::array<char16_t, 20> reversed{};
    std::size_t count = 0;
    do {
      reversed[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
      digits[size++] = u'-';
    }
    while (count > 0) {
      digits[size++] = reversed[--count];
    }
  }
  std::u16string_view view() const { return {digits.data(), size}; }
};

// Walks a text once; `literal` receives the plain runs, `field` each recognised field
// (returns whether it consumed the next value).
template <typename Literal, typename Field>
void Walk(std::u16string_view text, Literal literal, Field field) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'%' || i + 1 >= text.size()) {
      continue;
    }
    const char16_t letter = text[i + 1];
    if (letter != u's' && letter != u'd' && letter != u'%') {
      continue;
    }
    literal(text.substr(run, i - run));
    if (letter == u'%') {
      literal(text.substr(i, 1));
    } else {
      field(text.substr(i, 2), static_cast<char>(letter));
    }
    run = i + 2;
    ++i;
  }
  literal(text.substr(run));
}

}  // namespace

std::u16string FormatText(std::u16string_view text, std::span<const FormatValue> values) {
  auto shown = [](const FormatValue& value, auto&& use) {
    if (const auto* s = std::get_if<std::u16string_view>(&value)) {
      use(*s);
    } else {
      const Decimal number(std::get<std::int64_t>(value));
      use(number.view());
    }
  };

  // First pass: the final length; second pass: the text itself, without reallocation.
  std::size_t length = 0;
  std::size_t next = 0;
  Walk(
      text, [&](std::u16string_view run) { length += run.size(); },
      [&](std::u16string_view field, char) {
        if (next < values.size()) {
          shown(values[next++], [&](std::u16string_view v) { length += v.size(); });
        } else {
          length += field.size();
        }
      });

  std::u16string result;
  result.reserve(length);
  next = 0;
  Walk(
      text, [&](std::u16string_view run) { result.append(run); },
      [&](std::u16string_view field, char) {
        if (next < values.size()) {
          shown(values[next++], [&](std::u16string_view v) { result.append(v); });
        } else {
          result.append(field);
        }
      });
  return result;
}

std::string FormatFields(std::u16string_view text) {
  std::string letters;
  Walk(
      text, [](std::u16string_view) {},
      [&](std::u16string_view, char letter) { letters.push_back(letter); });
  return letters;
}

}  // namespace platform
