// new-user: creates a user file.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/language_texts.h"
#include "cli/session.h"
#include "database/file_paths.h"
#include "elements/wipe_string.h"
#include "platform/utf.h"

namespace cli {
namespace {

// Whether the name makes a user file of its own in the data folder that no user has now,
// listed or not (nor the backup of an earlier user of that name): an exit code.
int CheckNewName(Session& session, CKDatabasesContainer& users, std::u16string_view name) {
  if (name.empty() || name.find(u'/') != std::u16string_view::npos ||
      name.find(u'\0') != std::u16string_view::npos || name == u"." || name == u"..") {
    ReportError("a user name may not be empty nor hold \"/\"");
    return kExitUsage;
  }
  if (name.size() > CliUserDialogs::kMaxName) {
    ReportError("a user name has at most 96 characters");
    return kExitUsage;
  }
  std::u16string folder;
  session.DataFolder(folder);
  const std::u16string path =
      folder + std::u16string(name) + std::u16string(CKDatabasesContainer::kExtension);
  if (users.FindUser(name) != nullptr || database::PathExists(path) ||
      database::PathExists(BackupFilePath(path))) {
    ShowLanguageMessage(kUserExists, name);
    return kExitNameUsed;
  }
  return kExitOk;
}

class NewUserCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "new-user",
        "USER [--memo TEXT]",
        "Create a user with a new, empty user file.",
        "The password is asked twice (at most 96 characters, as the desktop program takes).\n"
        "The memo is a hint to the password; it is stored unenciphered, so it must not give\n"
        "the password away (at most 512 characters). The data folder is made when missing.",
        "vaultquill-cli new-user alice --memo 'the usual, with the year'",
        1,
        1};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"memo", "TEXT", "the password hint, readable without the password"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    const std::u16string& name = call.Argument(0);
    CKDatabasesContainer* users = nullptr;
    if (const int result = session.Users(users, /*create_folder=*/true); result != kExitOk) {
      return result;
    }
    if (const int result = CheckNewName(session, *users, name); result != kExitOk) {
      return result;
    }
    std::u16string password;
    std::u16string confirmation;
    int result = session.AskPassword("New password of " + platform::ToUtf8(name) + ": ", password);
    if (result == kExitOk) {
      result = session.AskPassword("Repeat the password: ", confirmation);
    }
    if (result == kExitOk) {
      const std::u16string no_memo;
      CliUserDialogs::UserEdit edit{name, password, confirmation,
                                    call.Value("memo") != nullptr ? call.Value("memo") : &no_memo};
      session.Dialogs().Expect(&edit);
      const CKDatabase* created = users->CreateUser();
      session.Dialogs().Expect(static_cast<CliUserDialogs::UserEdit*>(nullptr));
      if (created == nullptr) {
        // The editor refused, or the save failed (both said already).
        result = edit.refusal != kExitOk ? edit.refusal : kExitWriteFailed;
      }
    }
    WipeString(password);
    WipeString(confirmation);
    return result;
  }
};

}  // namespace

std::unique_ptr<Command> MakeNewUserCommand() {
  return std::make_unique<NewUserCommand>();
}

}  // namespace cli
