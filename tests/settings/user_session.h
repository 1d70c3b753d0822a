#pragma once

#include <string>

#include "database/databases_container.h"
#include "platform/user_dialogs.h"
#include "support/temp_dir.h"

namespace test {

// A users container whose data folder holds one user file, and a log-in dialog that opens it:
// LogIn makes that user current.
class UserSession final : public platform::UserDialogs {
 public:
  static constexpr char16_t kName[] = u"Zo\u00eb";
  static constexpr char16_t kPassword[] = u"open sesame";

  UserSession();
  ~UserSession() override;

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
