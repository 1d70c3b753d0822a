#include "languages/text_table.h"

#include <algorithm>

namespace languages {

std::optional<TextAddress> SplitTextKey(std::uint32_t key) {
  if (key > 0xFFFF) {
    return std::nullopt;
  }
  return TextAddress{static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key & 0xFF)};
}

TextTable UsedPairs(TextTable table) {
  const std::size_t limit = std::min(table.size(), kMaxTextPairs);
  std::size_t count = 0;
  while (count < limit && table[count].key != 0) {
    ++count;
  }
  return table.first(count);
}

std::optional<std::uint32_t> FindKeyForControl(TextTable table, std::uint32_t control) {
  for (const KTextPair& pair : UsedPairs(table)) {
    if (pair.control == control) {
      return pair.key;
    }
  }
  return std::nullopt;
}

std::optional<std::uint32_t> TitleKey(TextTable table) {
  const TextTable used = UsedPairs(table);
  if (used.empty()) {
    return std::nullopt;
  }
  const auto first = SplitTextKey(used.front().key);
  if (!first) {
    return std::nullopt;
  }
  return TextKey(first->group, kTitleEntry);
}

}  // namespace languages
