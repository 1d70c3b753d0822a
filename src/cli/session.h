#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_choosers.h"
#include "cli/cli_entry_editors.h"
#include "cli/cli_user_dialogs.h"
#include "cli/output_stream.h"
#include "cli/password_reader.h"
#include "database/databases_container.h"
#include "database/databases_host.h"
#include "settings/settings_user_based.h"

namespace cli {

struct GlobalOptions {
  // Empty: the data folder the desktop program would use.
  std::u16string data_folder;
  bool password_stdin = false;
};

// What one command works with: the data folder and its users, the logged-in user with their
// options, the passwords asked for, standard output, and the command line's answers to the
// dialogs and editors that the libraries open. Whoever logged in is logged out (key and trees
// wiped) when the session ends.
class Session final : private CKDatabasesHost {
 public:
  explicit Session(const GlobalOptions& options);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  OutputStream& Out() { return out_; }
  CliEntryEditors& Editors() { return editors_; }
  CliChoosers& Choosers() { return choosers_; }
  CliUserDialogs& Dialogs() { return dialogs_; }
  // The logged-in user's options (the defaults before a log-in).
  CKSettingsUserBased& UserSettings() { return user_settings_; }

  // Each of the following gives an exit code; whatever went wrong has been said on standard
  // error.
  //
  // The data folder, ending in "/": the one given, else the one the desktop program uses
  // (portable marker, stored folder, default folder). With create, a missing folder is made.
  int DataFolder(std::u16string& folder, bool create = false);
  // The users of the data folder, read at the first call.
  int Users(CKDatabasesContainer*& users, bool create_folder = false);
  // A listed user, without a password: 0 or kExitNotFound.
  int FindUser(std::u16string_view name, CKDatabase*& user);
  // The user file of a name: the listed user's (with the user's name as stored in `user`),
  // else a file of that name in the data folder, which is not listed when its header is
  // damaged. Empty when there is neither.
  std::u16string UserFilePath(std::u16string_view name, std::u16string& user);
  // Asks for the user's password and logs the user in: 0, the open result (1 to 4, said on
  // standard error when asked to), kExitNotFound, or kExitUsage when no password could be read.
  // The typed password is wiped, unless the caller keeps it (and wipes it).
  int OpenUser(std::u16string_view name, CKDatabase*& user, bool report_failure = true,
               std::u16string* keep_password = nullptr);
  // OpenUser, then the folder or note at the path (only a note when notes_only); the path's
  // failures as LocateEntry and LocateNote give them.
  int OpenEntry(std::u16string_view name, std::u16string_view path, CKTLVARRAY*& entry,
                bool notes_only = false);
  // One password: 0 or kExitUsage.
  int AskPassword(std::string_view prompt, std::u16string& password);
  // Saves the logged-in user's file through the save protocol: 0 or kExitWriteFailed.
  int SaveUser();
  // Stamps the note as changed now, then SaveUser.
  int SaveChangedNote(CKTLVARRAY& note);

  // What the open result means, for the named user, in one line.
  static std::u16string DescribeOpenResult(int result, std::u16string_view user);

 private:
  // CKDatabasesHost
  std::u16string GetDataFolder() const override { return data_folder_.value_or(u""); }
  void ClearCurrentFolder() override {}
  void LoadUserSettings(CKDatabase& current) override;

  GlobalOptions options_;
  OutputStream out_;
  PasswordReader passwords_;
  CliEntryEditors editors_;
  CliChoosers choosers_;
  CliUserDialogs dialogs_;
  std::optional<std::u16string> data_folder_;
  CKDatabasesContainer users_;
  bool scanned_ = false;
  CKSettingsUserBased user_settings_;
};

}  // namespace cli
