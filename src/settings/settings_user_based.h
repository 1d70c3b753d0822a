#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

class CKDatabasesContainer;

// The options of one user, kept in that user's file as named settings (numbers as 32-bit
// settings, strings as string settings) under the key names of the members. They belong to
// the user who is logged in; after log-out they keep that user's values until the next log-in
// loads the next user's. The strings are user data: they are wiped when replaced or released.
class CKSettingsUserBased final : public CKSettings {
 public:
  static constexpr std::u16string_view kGroupName = u"User Based Settings";

  // The users container gives the logged-in user's database.
  explicit CKSettingsUserBased(CKDatabasesContainer& users);
  ~CKSettingsUserBased() override;

  // From the logged-in user's file; every member its default while nobody is logged in.
  bool Load() override;
  // Into the logged-in user's database in memory (the caller saves the file); nothing while
  // nobody is logged in.
  bool Save() override;
  // Every member back to its default.
  void SetDefaults();

  // The main window logs out when minimised.
  bool boolLogOutOnMinimize = true;
  // The main window empties the clipboard when it closes.
  bool boolCleanClipboardOnExit = true;
  // New notes get the default login, e-mail and a generated password.
  bool boolAutoFillNewNotesWithDefaults = true;
  // Password fields show stars.
  bool boolHidePasswords = true;
  // A single click opens a list row.
  bool boolSingleClickInterface = true;
  // The password generator's options: which character sets it uses, the custom characters and
  // the length (its low 8 bits count).
  bool boolIsLetersEnabledBig = true;
  bool boolIsLetersEnabledSmall = true;
  bool boolIsNumbersEnabled = true;
  bool boolIsCustomEnabled = false;
  bool boolIsSpecialEnabled = false;
  std::int32_t intPasswordLength = 14;
  std::u16string stringCustomArray;
  // Written (always empty) for the files that other versions read; never read.
  std::u16string stringLanguage;
  // Login and e-mail address of new notes.
  std::u16string stringDefaultLogin;
  std::u16string stringDefaultEmail;

 private:
  CKDatabasesContainer& users_;
};
