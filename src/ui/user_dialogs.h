#pragma once

#include "platform/user_dialogs.h"

// The log-in dialog and the user editor, as the users container runs them. Installed for the
// object's lifetime.
class CKUserDialogs final : public platform::UserDialogs {
 public:
  CKUserDialogs();
  ~CKUserDialogs() override;
  CKUserDialogs(const CKUserDialogs&) = delete;
  CKUserDialogs& operator=(const CKUserDialogs&) = delete;

  // The log-in dialog, as the active dialog while it runs.
  CKDatabase* RunLogIn(CKDatabasesContainer& users) override;
  bool RunUserEditor(CKDatabasesContainer& users, CKDatabase& database, bool new_user) override;

 private:
  platform::UserDialogs* previous_;
};
