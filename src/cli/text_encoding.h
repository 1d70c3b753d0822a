#pragma once

#include <cstddef>
#include <string_view>

// UTF-16 read code point by code point, and UTF-8 written without a temporary string, so that
// texts holding user data never leave an unwiped copy behind.
namespace cli {

// The code point at text[index], advancing index past it. A surrogate without its partner is
// returned as itself (0xD800 to 0xDFFF), with unpaired set.
char32_t NextCodePoint(std::u16string_view text, std::size_t& index, bool& unpaired);

// The UTF-8 bytes of a code point (1 to 4) in out; returns how many.
std::size_t EncodeUtf8(char32_t code_point, char out[4]);

}  // namespace cli
