#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/database.h"
#include "elements/ptr_array.h"
#include "platform/choosers.h"

class CKDatabasesHost;

// Every user of the data folder: one database per user file "*.VaultQuill", in the order the
// folder listed them (new users last), and which of them is logged in. It owns the databases.
class CKDatabasesContainer {
 public:
  static constexpr std::u16string_view kExtension = u".VaultQuill";

  CKDatabasesContainer() = default;
  virtual ~CKDatabasesContainer() = default;
  CKDatabasesContainer(const CKDatabasesContainer&) = delete;
  CKDatabasesContainer& operator=(const CKDatabasesContainer&) = delete;

  // The core's side (not owned); null for none.
  void SetHost(CKDatabasesHost* host) { m_pHost = host; }

  // Replaces the list by the users of the data folder, or of the given folder: each user file
  // whose header and memo read. A save that was cut off between its two moves is completed
  // first. The logged-in user's database, if any, stays what it is. Returns the count.
  std::uint32_t Scan();
  std::uint32_t Scan(const std::u16string& folder);

  // Runs the log-in dialog; true when a user logged in, who is then current and whose
  // user-based settings are loaded.
  bool LogIn();
  // The current user's trees and key go; nobody is current; the core's folder is cleared.
  bool LogOut();
  CKDatabase* GetCurrent() const { return m_pCurrent; }

  // The first user whose name equals this one without regard to case, or null.
  CKDatabase* FindUser(std::u16string_view name) const;
  // Every user name, in list order.
  std::vector<std::u16string> FillUserList() const;
  std::uint32_t GetCount() const { return m_Databases.GetCount(); }
  CKDatabase* GetAt(std::uint32_t index) const { return m_Databases.GetAt(index); }

  // Runs the user editor for a new user and saves the new user file: the new database (not
  // logged in, appended to the list) or null.
  CKDatabase* CreateUser();
  // Runs the user editor on the logged-in user; true when it ended with OK and the save
  // succeeded. When the save fails the database keeps its former password and memo, as its
  // file does.
  bool EditUser(CKDatabase& database);

  // Copies every user file to a folder the user chooses, replacing copies of the same name.
  void BackUp(platform::ParentWindow parent);
  // Copies a user file the user chooses into the data folder, replacing one of the same name.
  void Restore(platform::ParentWindow parent);

 private:
  std::u16string DataFolder() const;

  CKDatabase* m_pCurrent = nullptr;
  CKPtrAutoArray<CKDatabase*> m_Databases;
  CKDatabasesHost* m_pHost = nullptr;
};
