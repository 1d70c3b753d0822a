#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The common base of the settings groups. Each group knows its own keys and loads and saves
// them; the registry groups keep them in the profile store (platform/profile_store.h), in the
// section named after the group.
class CKSettings {
 public:
  explicit CKSettings(std::u16string_view group_name);
  virtual ~CKSettings();
  CKSettings(const CKSettings&) = delete;
  CKSettings& operator=(const CKSettings&) = delete;

  virtual bool Save() = 0;
  virtual bool Load() = 0;

  const std::u16string& GetGroupName() const { return m_csGroupName; }

 protected:
  // The profile store's operations in this group's section.
  std::uint32_t ReadInt(std::u16string_view key, std::uint32_t default_value) const;
  std::u16string ReadString(std::u16string_view key, std::u16string_view default_value) const;
  bool ReadBinary(std::u16string_view key, std::vector<std::uint8_t>& data) const;
  void WriteInt(std::u16string_view key, std::uint32_t value) const;
  void WriteString(std::u16string_view key, std::u16string_view value) const;
  void WriteBinary(std::u16string_view key, std::span<const std::uint8_t> data) const;

 private:
  const std::u16string m_csGroupName;
};
