#pragma once

#include <string>

class CKDatabase;

// What the users container needs from the core above it. The core implements it; without a
// host the data folder is empty and the other two do nothing.
class CKDatabasesHost {
 public:
  virtual ~CKDatabasesHost() = default;
  // The folder of the user files, ending in a separator.
  virtual std::u16string GetDataFolder() const = 0;
  // The main window's folder goes back to "none" (the next user starts at their root).
  virtual void ClearCurrentFolder() = 0;
  // The user-based settings take their values from the user who has just logged in.
  virtual void LoadUserSettings(CKDatabase& current) = 0;
};
