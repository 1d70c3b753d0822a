#pragma once

#include <string>
#include <vector>

#include "platform/memory_profile_store.h"

namespace test {

// An in-memory profile store that notes every call, as "read int Section/entry",
// "write string Section/entry" and so on. Installed for its lifetime.
class RecordingProfileStore final : public platform::MemoryProfileStore {
 public:
  RecordingProfileStore();
  ~RecordingProfileStore() override;

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

  const std::vector<std::string>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  void Note(const char* what, std::u16string_view section, std::u16string_view entry) const;

  mutable std::vector<std::string> calls_;
  platform::ProfileStore* previous_;
};

}  // namespace test
