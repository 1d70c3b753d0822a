#include "settings/settings.h"

#include "platform/profile_store.h"

CKSettings::CKSettings(std::u16string_view group_name) : m_csGroupName(group_name) {}

CKSettings::~CKSettings() = default;

std::uint32_t CKSettings::ReadInt(std::u16string_view key, std::uint32_t default_value) const {
  return platform::Profile().GetProfileInt(m_csGroupName, key, default_value);
}

std::u16string CKSettings::ReadString(std::u16string_view key,
                                      std::u16string_view default_value) const {
  return platform::Profile().GetProfileString(m_csGroupName, key, default_value);
}

bool CKSettings::ReadBinary(std::u16string_view key, std::vector<std::uint8_t>& data) const {
  return platform::Profile().GetProfileBinary(m_csGroupName, key, data);
}

// Writes report nothing: a setting that cannot be stored keeps its value for this run.
void CKSettings::WriteInt(std::u16string_view key, std::uint32_t value) const {
  platform::Profile().WriteProfileInt(m_csGroupName, key, value);
}

void CKSettings::WriteString(std::u16string_view key, std::u16string_view value) const {
  platform::Profile().WriteProfileString(m_csGroupName, key, value);
}

void CKSettings::WriteBinary(std::u16string_view key, std::span<const std::uint8_t> data) const {
  platform::Profile().WriteProfileBinary(m_csGroupName, key, data);
}
