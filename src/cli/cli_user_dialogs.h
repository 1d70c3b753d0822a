#pragma once

#include <string>
#include <string_view>

#include "platform/user_dialogs.h"

namespace cli {

// The log-in dialog and the user editor as the command line answers them: a command says
// beforehand what the dialog would have been given (user, passwords, memo), and the users
// container runs its own log-in, new-user and edit operations around that. The editor's checks
// are those of the desktop's user editor, with the limits of its fields. Installed for its
// lifetime.
class CliUserDialogs final : public platform::UserDialogs {
 public:
  // The edit fields' limits in characters.
  static constexpr std::size_t kMaxName = 96;
  static constexpr std::size_t kMaxPassword = 96;
  static constexpr std::size_t kMaxMemo = 512;

  struct LogIn {
    std::u16string_view name;
    std::u16string_view password;
    // The open result of the user's file; -1 when no user of that name was found.
    int result = -1;
  };

  struct UserEdit {
    // New user: the user's name. Edit: the current password.
    std::u16string_view name_or_current;
    std::u16string_view password;
    std::u16string_view confirmation;
    // Null keeps the memo the database holds.
    const std::u16string* memo = nullptr;
    // Why the editor refused (an exit code); 0 when it ended with OK.
    int refusal = 0;
  };

  CliUserDialogs();
  ~CliUserDialogs() override;
  CliUserDialogs(const CliUserDialogs&) = delete;
  CliUserDialogs& operator=(const CliUserDialogs&) = delete;

  // What the next dialog is given; null makes it answer "cancelled".
  void Expect(LogIn* log_in) { log_in_ = log_in; }
  void Expect(UserEdit* edit) { edit_ = edit; }

  CKDatabase* RunLogIn(CKDatabasesContainer& users) override;
  bool RunUserEditor(CKDatabasesContainer& users, CKDatabase& database, bool new_user) override;

 private:
  bool CheckNewUser(CKDatabasesContainer& users, UserEdit& edit);
  bool CheckPasswordChange(CKDatabase& database, UserEdit& edit);

  LogIn* log_in_ = nullptr;
  UserEdit* edit_ = nullptr;
  platform::UserDialogs* previous_;
};

}  // namespace cli
