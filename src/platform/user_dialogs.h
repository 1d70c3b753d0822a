#pragma once

class CKDatabase;
class CKDatabasesContainer;

namespace platform {

// The two dialogs around a user's file: the log-in dialog and the user editor. The interface
// layer implements them; until it installs them, both answer "cancelled".
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Runs the log-in dialog modally, without a parent, as the program's active dialog. On OK
  // the result is the database of `users` that the dialog opened with the typed password;
  // otherwise null.
  virtual CKDatabase* RunLogIn(CKDatabasesContainer& users) = 0;
  // Runs the user editor modally, without a parent: for a new user (name, password, memo) or
  // for the logged-in one (password and memo). True for OK, with the database's name, memo,
  // salt, key and verifier set; on Cancel the database is unchanged.
  virtual bool RunUserEditor(CKDatabasesContainer& users, CKDatabase& database, bool new_user) = 0;
};

// The dialogs in use.
UserDialogs& Dialogs();

// Installs dialogs (not owned) and returns the ones they replace; null restores the default.
UserDialogs* InstallDialogs(UserDialogs* dialogs);

}  // namespace platform
