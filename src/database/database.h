#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "crypto/user_file.h"
#include "elements/tlv_array.h"

// One user's data: the user file's identity, its container fields (header, memo, key,
// verifier), and the two element trees that the enciphered part of the file holds: the
// entries tree (folders, notes, attachments; tag 0x8000) and the settings tree (the user's
// named settings; tag 0x8001).
class CKDatabase {
 public:
  // Results of Save beyond 0 (saved) and 1 (not saved).
  static constexpr int kSaveNotOpen = 255;

  CKDatabase();
  // Resets (identity included) and destroys both trees.
  virtual ~CKDatabase();
  CKDatabase(const CKDatabase&) = delete;
  CKDatabase& operator=(const CKDatabase&) = delete;

  // Identity and state.
  const std::u16string& GetPath() const { return m_csPath; }
  void SetPath(std::u16string_view path);
  const std::u16string& GetName() const { return m_csName; }
  void SetName(std::u16string_view name);
  // Whether the user name equals the name without regard to case.
  bool NameEquals(std::u16string_view name) const;
  const std::u16string& GetMemo() const { return m_Keys.GetMemo(); }
  void SetMemo(std::u16string_view memo) { m_Keys.SetMemo(memo); }
  bool IsOpen() const { return m_bOpen; }
  void SetOpen(bool open) { m_bOpen = open; }
  CKTLVARRAY& GetEntriesRoot() { return m_Entries; }
  CKTLVARRAY& GetSettingsRoot() { return m_Settings; }

  // The container's key operations (see CKUserFileKeys).
  void SetPassword(std::u16string_view password) { m_Keys.SetPassword(password); }
  bool CheckPassword(std::u16string_view password) const { return m_Keys.CheckPassword(password); }
  void NewSalt() { m_Keys.NewSalt(); }
  void NewIV() { m_Keys.NewIV(); }
  CKUserFileKeys& GetKeys() { return m_Keys; }
  const CKUserFileKeys& GetKeys() const { return m_Keys; }

  // Header back to its defaults, key and verifier zero, both trees emptied, not open. With
  // clear_identity the path and the name are wiped too. The memo stays.
  void Reset(bool clear_identity);

  // Reads the header and the memo only (the users are listed so): 0, 1 or 3.
  int Load();
  // Opens the user file with the password: 0 (open, both trees read), 1 unreadable, 2 damaged,
  // 3 newer format, 4 wrong password. On any result but 0 the trees stay empty and the key is
  // wiped; header and memo stay as read.
  int Load(std::u16string_view password);

  // Writes the user file through its ".new" companion, keeping the previous version as its
  // ".backup": 0 saved; 1 not saved (the user declined to try again, or another save of this
  // database is running); kSaveNotOpen when the database is not open (nothing is touched).
  int Save();

  // The named settings of the settings tree. The getters give the default (and false) for a
  // missing name or a value of another type; the setters create what is missing.
  bool GetNumberSetting(std::u16string_view name, std::uint32_t& value,
                        std::uint32_t default_value);
  bool GetTextSetting(std::u16string_view name, std::u16string& value,
                      std::u16string_view default_value);
  bool SetNumberSetting(std::u16string_view name, std::uint32_t value);
  bool SetTextSetting(std::u16string_view name, std::u16string_view value);

 private:
  // One pass of the save: 0 or 1.
  int SaveOnce();
  void ResetTrees();

  bool m_bOpen = false;
  std::u16string m_csPath;
  std::u16string m_csName;
  CKUserFileKeys m_Keys;
  CKTLVARRAY m_Entries;
  CKTLVARRAY m_Settings;
  std::atomic<bool> m_bSaving{false};
};

// The companions of a user file.
std::u16string NewFilePath(std::u16string_view user_file);
std::u16string BackupFilePath(std::u16string_view user_file);

// When a save was cut off between moving the user file to its ".backup" and moving the
// ".new" file into its place, the finished ".new" file becomes the user file. True when it
// did. A failing move shows its message and throws.
bool CompleteInterruptedSave(std::u16string_view user_file);
