#include "settings/settings_windows.h"

#include <algorithm>
#include <cstdint>
#include <vector>

const CKSettingsWindows::Record CKSettingsWindows::kRecords[8] = {
    {u"m_stNoteEditor", &CKSettingsWindows::m_stNoteEditor},
    {u"m_stFolderEditor", &CKSettingsWindows::m_stFolderEditor},
    {u"m_stMainWindow", &CKSettingsWindows::m_stMainWindow},
    {u"m_stLogIn", &CKSettingsWindows::m_stLogIn},
    {u"m_stUserEditor", &CKSettingsWindows::m_stUserEditor},
    {u"m_stUserNew", &CKSettingsWindows::m_stUserNew},
    {u"m_stMoveTo", &CKSettingsWindows::m_stMoveTo},
    {u"m_stDbEdit", &CKSettingsWindows::m_stDbEdit},
};

CKSettingsWindows::CKSettingsWindows() : CKSettings(kGroupName) {}

bool CKSettingsWindows::Load() {
  std::vector<std::uint8_t> stored;
  for (const Record& record : kRecords) {
    if (ReadBinary(record.key, stored) && !stored.empty()) {
      KWindowPlacement& placement = this->*record.member;
      const std::size_t count = std::min(stored.size(), KWindowPlacement::kSize);
      std::copy_n(stored.begin(), count, placement.bytes.begin());
    }
  }
  return true;
}

bool CKSettingsWindows::Save() {
  for (const Record& record : kRecords) {
    WriteBinary(record.key, (this->*record.member).bytes);
  }
  return true;
}
