// passwd: changes a user's password.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

class PasswdCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "passwd",
        "USER [--memo TEXT]",
        "Change the user's password (and memo).",
        "Asks for the current password, then the new one twice. The user file gets a new salt\n"
        "and key, as the desktop's user editor gives it. --memo replaces the memo as well.",
        "vaultquill-cli passwd alice",
        1,
        1};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"memo", "TEXT", "a new password hint, readable without the password"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    // The password that opens the file is also the editor's current password.
    std::u16string current;
    std::u16string password;
    std::u16string confirmation;
    CKDatabase* user = nullptr;
    int result = session.OpenUser(call.Argument(0), user, true, &current);
    if (result == kExitOk) {
      result = session.AskPassword("New password: ", password);
    }
    if (result == kExitOk) {
      result = session.AskPassword("Repeat the new password: ", confirmation);
    }
    if (result == kExitOk) {
      CliUserDialogs::UserEdit edit{current, password, confirmation, call.Value("memo")};
      session.Dialogs().Expect(&edit);
      CKDatabasesContainer* users = nullptr;
      session.Users(users);
      const bool changed = users->EditUser(*user);
      session.Dialogs().Expect(static_cast<CliUserDialogs::UserEdit*>(nullptr));
      if (!changed) {
        result = edit.refusal != kExitOk ? edit.refusal : kExitWriteFailed;
      }
    }
    WipeString(current);
    WipeString(password);
    WipeString(confirmation);
    return result;
  }
};

}  // namespace

std::unique_ptr<Command> MakePasswdCommand() {
  return std::make_unique<PasswdCommand>();
}

}  // namespace cli
