// users: the user names of the data folder.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"

namespace cli {
namespace {

class UsersCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "users",
        "",
        "List the users of the data folder.",
        "One user name per line, in the order in which the data folder lists the user files.\n"
        "No password is needed.",
        "vaultquill-cli --data ~/vault users",
        0,
        0};
    return kInfo;
  }

  int Run(Session& session, const Invocation& /*call*/) override {
    CKDatabasesContainer* users = nullptr;
    if (const int result = session.Users(users); result != kExitOk) {
      return result;
    }
    for (std::uint32_t i = 0; i < users->GetCount(); ++i) {
      session.Out().WriteText(users->GetAt(i)->GetName());
      session.Out().Write("\n");
    }
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeUsersCommand() {
  return std::make_unique<UsersCommand>();
}

}  // namespace cli
