#include "settings/settings_interface.h"

#include "settings/autostart.h"
#include "settings/settings_run_time.h"

namespace {

std::uint16_t Low16(std::uint32_t value) {
  return static_cast<std::uint16_t>(value & 0xFFFFu);
}

}  // namespace

CKSettingsInterface::CKSettingsInterface(const CKSettingsRunTime& run_time)
    : CKSettings(kGroupName), run_time_(run_time) {}

bool CKSettingsInterface::Load() {
  m_csLanguage = ReadString(u"m_csLanguage", u"English");
  m_csLastLogin = ReadString(u"m_csLastLogin", u"");
  m_boolRunMinimised = ReadInt(u"m_boolRunMinimised", 1) != 0;
  m_boolStartUp = ReadInt(u"m_boolStartUp", 1) != 0;
  m_boolSystemTray = ReadInt(u"m_boolSystemTray", 1) != 0;
  m_boolAskForExit = ReadInt(u"m_boolAskForExit", 0) != 0;
  m_boolHotKey = ReadInt(u"m_boolHotKey", 1) != 0;
  m_wordVirtKey = Low16(ReadInt(u"m_wordVirtKey", 121));
  m_wordKeyMod = Low16(ReadInt(u"m_wordKeyMod", 2));
  m_boolCheckForUpdates = ReadInt(u"m_boolCheckForUpdates", 1) != 0;
  return true;
}

bool CKSettingsInterface::Save() {
  WriteString(u"m_csLanguage", m_csLanguage);
  WriteString(u"m_csLastLogin", m_csLastLogin);
  WriteInt(u"m_boolAskForExit", m_boolAskForExit ? 1 : 0);
  WriteInt(u"m_boolRunMinimised", m_boolRunMinimised ? 1 : 0);
  WriteInt(u"m_boolStartUp", m_boolStartUp ? 1 : 0);
  WriteInt(u"m_boolSystemTray", m_boolSystemTray ? 1 : 0);
  WriteInt(u"m_wordVirtKey", m_wordVirtKey);
  WriteInt(u"m_wordKeyMod", m_wordKeyMod);
  WriteInt(u"m_boolHotKey", m_boolHotKey ? 1 : 0);
  UpdateStartUpEntry();
  WriteInt(u"m_boolCheckForUpdates", m_boolCheckForUpdates ? 1 : 0);
  return true;
}

void CKSettingsInterface::UpdateStartUpEntry() const {
  if (m_boolStartUp) {
    // Before the run-time settings are loaded the program's place is unknown, and an entry
    // with a bare file name would start whatever program of that name comes first.
    if (!run_time_.m_csProgramFolder.empty()) {
      settings::WriteAutostartEntry(run_time_.ProgramPath());
    }
  } else {
    settings::RemoveAutostartEntry();
  }
}
