#pragma once

#include <QIcon>
#include <cstdint>
#include <memory>

#include "database/databases_container.h"
#include "database/databases_host.h"
#include "elements/tlv_array.h"
#include "languages/languages.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"
#include "settings/settings_system.h"
#include "settings/settings_user_based.h"
#include "settings/settings_windows.h"
#include "ui/controls/image_list.h"

class CKDialog;
class CKHiddenWindow;

// The one object that owns every long-lived piece of the running program: the users, the
// hidden window, the settings groups, the shared icons, the languages, the up entry of the
// folder lists and the folder being shown. Start-up makes exactly one, initialises it and
// deletes it at the very end; everything else reaches it through TheCore().
class CKCore final : public CKDatabasesHost {
 public:
  // The image list's indexes (what an entry's icon field holds).
  static constexpr int kImageNote = 0;
  static constexpr int kImageNoteSecond = 1;
  static constexpr int kImageFolder = 10;
  static constexpr int kImageFolderSecond = 11;
  static constexpr int kImageAttachment = 20;
  static constexpr int kImageUp = 21;
  static constexpr int kImageCount = 22;

  // The hidden window is made by the interface layer and owned from now on.
  explicit CKCore(std::unique_ptr<CKHiddenWindow> hidden_window);
  // Gives back the hidden window's tray icon, hot key and timer first, then the members in the
  // reverse order of their making. Saves no settings.
  ~CKCore() override;
  CKCore(const CKCore&) = delete;
  CKCore& operator=(const CKCore&) = delete;

  // Run-time settings, user-based defaults, icons, interface settings, hidden window,
  // languages, system and window settings, the users of the data folder. False stops start-up.
  bool Init();
  // Saves the interface, system and window-placement groups, in that order. Always true.
  bool SaveSettings();

  std::uint32_t SetWakeUpMessage(std::uint32_t message);
  std::uint32_t GetWakeUpMessage() const { return m_dwWakeUpMessage; }
  CKHiddenWindow& GetHiddenDlg() { return *m_pHiddenDlg; }
  // The dialog that faces the user, or none.
  void SetActiveDialog(CKDialog* dialog);
  CKDialog* GetActiveDialog() const;

  // The logged-in user's root folder; none while nobody is logged in.
  CKTLVARRAY* GetRootFolder() const;
  // The folder set last, else the root folder.
  CKTLVARRAY* GetCurrentFolder() const;
  // Remembers GetCurrentFolder() as the previous folder, then sets the current one.
  void SetCurrentFolder(CKTLVARRAY* folder);
  CKTLVARRAY* GetPreviousFolder() const { return m_pPreviousFolder; }
  CKTLVARRAY& GetUpEntry() { return m_UpEntry; }

  // CKDatabasesHost
  std::u16string GetDataFolder() const override;
  void ClearCurrentFolder() override;
  void LoadUserSettings(CKDatabase& current) override;

  // In the order of their making.
  std::uint32_t m_dwWakeUpMessage = 0;
  CKDatabasesContainer m_Databases;
  std::unique_ptr<CKHiddenWindow> m_pHiddenDlg;
  CKSettingsSystem m_SettingsSystem;
  CKSettingsRunTime m_SettingsRunTime;
  CKSettingsInterface m_SettingsInterface;
  CKSettingsWindows m_SettingsWindows;
  CKSettingsUserBased m_SettingsUserBased;
  CKImageList m_ImageList;
  QIcon m_hIcon;
  QIcon m_hSmallIcon;
  CKLanguages m_Languages;
  CKTLVARRAY m_UpEntry;
  CKTLVARRAY* m_pCurrentFolder = nullptr;
  CKTLVARRAY* m_pPreviousFolder = nullptr;

 private:
  void BuildIcons();
  bool ActivateLanguage();

  bool hidden_created_ = false;
};

// The process-wide core; null before start-up makes it and after it is deleted.
CKCore* TheCore();
void SetTheCore(CKCore* core);
