// memo: the user's memo, which is kept unenciphered.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"

namespace cli {
namespace {

class MemoCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "memo",
        "USER",
        "Show the user's memo (the password hint).",
        "The memo exactly as stored. It is kept unenciphered, so no password is needed.",
        "vaultquill-cli memo alice",
        1,
        1};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    CKDatabase* user = nullptr;
    if (const int result = session.FindUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    session.Out().WriteText(user->GetMemo());
    session.Out().Write("\n");
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeMemoCommand() {
  return std::make_unique<MemoCommand>();
}

}  // namespace cli
