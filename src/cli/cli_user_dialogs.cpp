#include "cli/cli_user_dialogs.h"

#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/language_texts.h"
#include "crypto/user_file.h"
#include "database/databases_container.h"

namespace cli {
namespace {

bool Refuse(CliUserDialogs::UserEdit& edit, const LanguageText& text, int exit_code) {
  ShowLanguageMessage(text);
  edit.refusal = exit_code;
  return false;
}

bool TooLong(CliUserDialogs::UserEdit& edit, std::string_view what) {
  ReportError(std::string(what));
  edit.refusal = kExitUsage;
  return false;
}

}  // namespace

CliUserDialogs::CliUserDialogs() : previous_(platform::InstallDialogs(this)) {}

CliUserDialogs::~CliUserDialogs() {
  platform::InstallDialogs(previous_);
}

CKDatabase* CliUserDialogs::RunLogIn(CKDatabasesContainer& users) {
  if (log_in_ == nullptr) {
    return nullptr;
  }
  CKDatabase* database = users.FindUser(log_in_->name);
  if (database == nullptr) {
    log_in_->result = -1;
    return nullptr;
  }
  log_in_->result = database->Load(log_in_->password);
  return log_in_->result == userfile::kOpened ? database : nullptr;
}

bool CliUserDialogs::CheckNewUser(CKDatabasesContainer& users, UserEdit& edit) {
  if (edit.password.empty()) {
    return Refuse(edit, kPasswordNeeded, kExitUsage);
  }
  if (edit.password != edit.confirmation) {
    return Refuse(edit, kPasswordsDiffer, kExitUsage);
  }
  if (edit.name_or_current.empty()) {
    return Refuse(edit, kUserNameNeeded, kExitUsage);
  }
  if (edit.name_or_current.size() > kMaxName) {
    return TooLong(edit, "a user name has at most 96 characters");
  }
  if (users.FindUser(edit.name_or_current) != nullptr) {
    ShowLanguageMessage(kUserExists, edit.name_or_current);
    edit.refusal = kExitNameUsed;
    return false;
  }
  return true;
}

bool CliUserDialogs::CheckPasswordChange(CKDatabase& database, UserEdit& edit) {
  if (edit.password.empty() || edit.confirmation.empty() || edit.name_or_current.empty()) {
    return Refuse(edit, kPasswordNeeded, kExitUsage);
  }
  if (edit.password != edit.confirmation) {
    return Refuse(edit, kPasswordsDiffer, kExitUsage);
  }
  if (!database.CheckPassword(edit.name_or_current)) {
    return Refuse(edit, kCurrentPasswordWrong, userfile::kWrongPassword);
  }
  return true;
}

bool CliUserDialogs::RunUserEditor(CKDatabasesContainer& users, CKDatabase& database,
                                   bool new_user) {
  if (edit_ == nullptr) {
    return false;
  }
  UserEdit& edit = *edit_;
  edit.refusal = kExitOk;
  // Longer texts could not be typed into the desktop's editor; a password it cannot take
  // would lock the user out of the desktop program.
  if (edit.password.size() > kMaxPassword) {
    return TooLong(edit, "a password has at most 96 characters");
  }
  if (edit.memo != nullptr && edit.memo->size() > kMaxMemo) {
    return TooLong(edit, "a memo has at most 512 characters");
  }
  if (new_user ? !CheckNewUser(users, edit) : !CheckPasswordChange(database, edit)) {
    return false;
  }
  if (edit.memo != nullptr) {
    database.SetMemo(*edit.memo);
  }
  if (new_user) {
    database.SetName(edit.name_or_current);
  }
  database.NewSalt();
  database.SetPassword(edit.password);
  return true;
}

}  // namespace cli
