#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/profile_store.h"

namespace platform {

// A profile store that lives as long as the object: the default store, and the tests' store.
class MemoryProfileStore : public ProfileStore {
 public:
  using Value = std::variant<std::uint32_t, std::u16string, std::vector<std::uint8_t>>;

  std::uint32_t GetProfileInt(std::u16string_view section, std::u16string_view entry,
                              std::uint32_t default_value) const override;
  std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                  std::u16string_view default_value) const override;
  bool GetProfileBinary(std::u16string_view section, std::u16string_view entry,
                        std::vector<std::uint8_t>& data) const override;
  bool WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                       std::uint32_t value) override;
  bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                          std::u16string_view value) override;
  bool WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                          std::span<const std::uint8_t> data) override;

  // Whether section/entry holds a value of any type.
  bool Contains(std::u16string_view section, std::u16string_view entry) const;
  // Forgets every value.
  void Clear();

 private:
  using Key = std::pair<std::u16string, std::u16string>;
  const Value* Find(std::u16string_view section, std::u16string_view entry) const;
  void Store(std::u16string_view section, std::u16string_view entry, Value value);

  mutable std::mutex mutex_;
  std::map<Key, Value> values_;
};

}  // namespace platform
