#pragma once

#include <string>
#include <string_view>

#include "settings/settings.h"

// Settles, once per start, where the program and its data live: the program folder, portable
// or installed mode, the data folder that holds the user files, the documents folder and the
// login name; also the two flags of the log-in loop. Of all this only the data folder of the
// installed mode is stored. Folders end with the separator "/".
class CKSettingsRunTime final : public CKSettings {
 public:
  static constexpr std::u16string_view kGroupName = u"RunTime Settings";
  // The stored data folder; the log-in dialog, the user editor and the settings dialog write
  // it when the user chooses another one.
  static constexpr std::u16string_view kUserDataFolderKey = u"m_csUserDataFolder";
  // A file or folder of this name beside the program makes it portable: the user files live in
  // the program's folder.
  static constexpr std::u16string_view kPortableMarker = u"VaultQuill.Portable";
  // The desktop program's file in the program folder.
  static constexpr std::u16string_view kProgramFileName = u"vaultquill";
  // The folders below the user's data folder (XDG_DATA_HOME) that hold the user files.
  static constexpr std::u16string_view kCompanyFolder = u"Orlavo software";
  static constexpr std::u16string_view kApplicationFolder = u"VaultQuill";
  static constexpr std::u16string_view kUnknownUserName = u"Default";

  CKSettingsRunTime();

  // True when a usable data folder is settled; start-up stops otherwise. In installed mode a
  // data folder below XDG_DATA_HOME that cannot be made is named in a message.
  bool Load() override;
  // Nothing to save: the data folder is written by Load and by the dialogs that change it.
  bool Save() override { return true; }
  // A data folder chosen in a dialog: stored for the next starts and used from now on.
  void ChangeUserDataFolder(const std::u16string& folder);

  // The desktop program's path: the program folder and its file name.
  std::u16string ProgramPath() const;

  std::u16string m_csProgramFolder;
  // The login name of the process's user; kUnknownUserName when it cannot be read. The user
  // editor offers it as the name of a new user.
  std::u16string m_csUserName;
  std::u16string m_csUserDataFolder;
  // Whether the desktop showed a tray when last looked at; the hidden window looks every
  // second and adds its icon again when a tray has come back.
  bool m_boolTrayAvailable = false;
  // Empty in portable mode or when the desktop names none; the update checker offers it for
  // downloads.
  std::u16string m_csDocumentsFolder;
  // The main window closed because the user logged out: the log-in loop runs again.
  bool m_boolRelogin = false;
  // The next log-in dialog starts minimised.
  bool m_boolStartMinimised = false;
  bool m_boolPortable = false;

 private:
  // Makes DATA/Orlavo software/VaultQuill; true with its path in folder, else the failing path
  // is shown.
  bool CreateApplicationDataFolder(std::u16string& folder) const;
};
