#include "settings/settings_system.h"

CKSettingsSystem::CKSettingsSystem()
    : CKSettings(kGroupName), m_dwordBuild(ReadInt(u"m_dwordBuild", kCurrentBuild)) {}

CKSettingsSystem::~CKSettingsSystem() {
  if (m_dwordBuild != kCurrentBuild) {
    try {
      WriteInt(u"m_dwordBuild", kCurrentBuild);
    } catch (...) {
      // Out of memory at the very end: the record is rewritten at the next exit.
    }
  }
}

bool CKSettingsSystem::Load() {
  m_csUpdateSavePath = ReadString(u"m_csUpdateSavePath", u"");
  m_dwordCheckedTime = ReadInt(u"m_dwordCheckedTime", 0);
  m_dwordCheckedBuild = ReadInt(u"m_dwordCheckedBuild", kCurrentBuild);
  return true;
}

bool CKSettingsSystem::Save() {
  WriteString(u"m_csUpdateSavePath", m_csUpdateSavePath);
  WriteInt(u"m_dwordCheckedTime", m_dwordCheckedTime);
  WriteInt(u"m_dwordCheckedBuild", m_dwordCheckedBuild);
  return true;
}
