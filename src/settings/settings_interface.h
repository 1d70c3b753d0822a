#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

class CKSettingsRunTime;

// The options of the program as a whole: language, tray, hot key, start behaviour, update
// check. Saving also keeps the desktop's autostart entry in step with m_boolStartUp.
class CKSettingsInterface final : public CKSettings {
 public:
  static constexpr std::u16string_view kGroupName = u"Interface Settings";

  // The run-time settings give the program's path for the autostart entry.
  explicit CKSettingsInterface(const CKSettingsRunTime& run_time);

  bool Load() override;
  bool Save() override;

  // The user who logged in last; the log-in dialog preselects them.
  std::u16string m_csLastLogin;
  // The language activated at start (matched without regard to case).
  std::u16string m_csLanguage = u"English";
  // The first log-in dialog of a start opens minimised.
  bool m_boolRunMinimised = true;
  // The main window asks before it quits.
  bool m_boolAskForExit = false;
  // Start with the desktop session (the autostart entry).
  bool m_boolStartUp = true;
  // Minimising a dialog hides it into the tray.
  bool m_boolSystemTray = true;
  // The global hot key is claimed and obeyed.
  bool m_boolHotKey = true;
  bool m_boolCheckForUpdates = true;
  // The hot key: a Windows virtual-key code (121 is F10) and the hot-key control's modifier
  // flags (Shift 1, Ctrl 2, Alt 4, extended key 8); Ctrl+F10 by default.
  std::uint16_t m_wordVirtKey = 121;
  std::uint16_t m_wordKeyMod = 2;
  // Never stored: the update dialog puts its own font here (in QFont::toString form) for its
  // text view.
  std::u16string m_csFontDescription;

 private:
  // Writes or deletes the autostart entry; failures are ignored.
  void UpdateStartUpEntry() const;

  const CKSettingsRunTime& run_time_;
};
