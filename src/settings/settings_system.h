#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

// The build number of the program that ran last and the update checker's state.
class CKSettingsSystem final : public CKSettings {
 public:
  static constexpr std::u16string_view kGroupName = u"System Settings";
  // The build number of this program.
  static constexpr std::uint32_t kCurrentBuild = 1501;

  // Reads the stored build number at once.
  CKSettingsSystem();
  // Stores this program's build number when the one read at construction differs, so the
  // record changes at the end of the first run of a new build.
  ~CKSettingsSystem() override;

  bool Load() override;
  bool Save() override;

  // The build number of the program that ran last, as read by the constructor.
  std::uint32_t m_dwordBuild;
  // The folder that the update checker saves downloads into.
  std::u16string m_csUpdateSavePath;
  // When the update checker last looked, as it writes it.
  std::uint32_t m_dwordCheckedTime = 0;
  // Not stored: the build that the update checker compares the server's with.
  std::uint32_t m_dwordCurrentBuild = kCurrentBuild;
  // The newest build that the update checker has seen.
  std::uint32_t m_dwordCheckedBuild = kCurrentBuild;
};
