#pragma once

#include <cstdint>
#include <string>

#include "ui/dialog.h"

class QWidget;

// The settings: the program's options (interface group), the logged-in user's options (kept in
// the user's file), the global hot key, the language and the data folder. The values are copied
// when the dialog is made and written back only on OK. A language chosen in the list becomes
// active at once, whatever button closes the dialog later.
class CKSettingsDlg final : public CKDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 107;
  static constexpr int kStartUp = 601;
  static constexpr int kHelp = 588;
  static constexpr int kSystemTray = 602;
  static constexpr int kRunMinimised = 596;
  static constexpr int kAskForExit = 590;
  static constexpr int kAutoFill = 591;
  static constexpr int kDefaultLoginCaption = 613;
  static constexpr int kDefaultLogin = 664;
  static constexpr int kDefaultEmailCaption = 609;
  static constexpr int kDefaultEmail = 665;
  static constexpr int kCheckForUpdates = 611;
  static constexpr int kSingleClick = 612;
  static constexpr int kHotKeyOn = 593;
  static constexpr int kHotKey = 605;
  static constexpr int kLanguageCaption = 606;
  static constexpr int kLanguage = 603;
  static constexpr int kDataFolderCaption = 610;
  static constexpr int kDataFolder = 604;
  static constexpr int kBrowse = 587;
  static constexpr int kProgramGroup = 607;
  static constexpr int kSecurityGroup = 608;
  static constexpr int kHidePasswords = 592;
  static constexpr int kCleanClipboard = 589;
  static constexpr int kLogOutOnMinimise = 594;
  static constexpr int kNote = 614;
  static constexpr int kFieldLimit = 256;

  explicit CKSettingsDlg(QWidget* parent);
  ~CKSettingsDlg() override;

  bool OnInitDialog() override;
  bool ShowHelp() override;
  void OnOK() override;

  // A language picked in the list: activated at once, with the notice; when it cannot be
  // activated the previous one comes back, with a message.
  void OnLanguageChosen(int index);
  // The folder browser for the data folder; the chosen folder is made when it is missing.
  void OnBrowseDataFolder();

 private:
  // The options as the dialog holds them between the controls and the settings groups.
  struct KValues {
    bool start_up = true;
    bool system_tray = true;
    bool run_minimised = true;
    bool ask_for_exit = false;
    bool check_for_updates = true;
    bool hot_key_on = true;
    std::uint16_t virtual_key = 0;
    std::uint16_t key_modifiers = 0;
    bool auto_fill = true;
    bool single_click = true;
    bool hide_passwords = true;
    bool clean_clipboard = true;
    bool log_out_on_minimise = true;
    std::u16string default_login;
    std::u16string default_email;
    std::u16string data_folder;
  };

  void LoadValues();
  void ShowValues();
  void ReadControls();
  void ApplyLanguageTexts();
  void SelectLanguage(const std::u16string& name);
  // The typed data folder as it is to be stored: unchanged when the user left it alone,
  // otherwise an absolute folder that exists now (made when missing). False after the
  // message that the folder cannot be used.
  bool PrepareDataFolder();
  void StoreValues();

  KValues values_;
  // The data folder as stored when the dialog opened; an unchanged one is written back as is.
  std::u16string stored_data_folder_;
  bool portable_ = false;
};

// Runs the settings dialog modally over the parent (the main window's Tools, Settings and its
// toolbar button). True when it ended with OK: the settings are then written back into the
// core's groups, the user's options into the user's file (saved), the interface group is saved
// (which writes or removes the autostart entry) and the hot key follows at once. A language
// chosen meanwhile stays active either way and is saved with the interface group.
bool RunSettingsDialog(QWidget* parent);
