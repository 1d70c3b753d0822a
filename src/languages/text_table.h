#pragma once

#include <cstdint>
#include <optional>
#include <span>

// A dialog's text table: pairs of (text key, control id), ended by a pair whose key is 0.
// A text key is group * 256 + entry; the dialog's title is entry 255 of the group of the
// table's first pair.
struct KTextPair {
  std::uint32_t key;
  std::uint32_t control;
};

using TextTable = std::span<const KTextPair>;

namespace languages {

// A table holds at most this many pairs before its end mark.
inline constexpr std::size_t kMaxTextPairs = 127;
inline constexpr std::uint8_t kTitleEntry = 255;

constexpr std::uint32_t TextKey(std::uint8_t group, std::uint8_t entry) {
  return static_cast<std::uint32_t>(group) * 256u + entry;
}

// Group and entry of a key; nothing for a key above 0xFFFF, which names no text.
struct TextAddress {
  std::uint8_t group;
  std::uint8_t entry;
};
std::optional<TextAddress> SplitTextKey(std::uint32_t key);

// The pairs of a table up to its end mark (or its end, or the 127-pair limit, whichever
// comes first: a table that lacks its mark is never read past).
TextTable UsedPairs(TextTable table);

// The key of the first pair with that control id.
std::optional<std::uint32_t> FindKeyForControl(TextTable table, std::uint32_t control);

// The key of the dialog's title: entry 255 of the first pair's group.
std::optional<std::uint32_t> TitleKey(TextTable table);

}  // namespace languages
