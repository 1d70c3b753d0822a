#pragma once

#include "database/databases_container.h"
#include "platform/user_dialogs.h"
#include "support/temp_dir.h"

namespace test {

// A users container whose data folder holds one new user's file, and a log-in dialog that
// opens it: LogIn makes that user current.
class UserSession final : public platform::UserDialogs {
 public:
  UserSession();
  ~UserSession() override { platform::InstallDialogs(previous_); }

  bool LogIn() { return users.LogIn(); }
  CKDatabase& Current() { return *users.GetCurrent(); }

  CKDatabase* RunLogIn(CKDatabasesContainer& container) override;
  bool RunUserEditor(CKDatabasesContainer&, CKDatabase&, bool) override { return false; }

  TempDir folder;
  CKDatabasesContainer users;

 private:
  platform::UserDialogs* previous_;
};

}  // namespace test
