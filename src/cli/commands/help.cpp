// help: describes the tool or one command.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/session.h"
#include "platform/utf.h"

namespace cli {
namespace {

class HelpCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{"help",
                                       "[COMMAND]",
                                       "Describe the tool, or one command with an example.",
                                       "",
                                       "vaultquill-cli help add-note",
                                       0,
                                       1};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    const CommandList commands = AllCommands();
    if (call.ArgumentCount() == 0) {
      session.Out().Write(GeneralHelp(commands));
      return kExitOk;
    }
    const std::string name = platform::ToUtf8(call.Argument(0));
    for (const auto& command : commands) {
      if (command->Info().name == name) {
        session.Out().Write(CommandHelp(*command));
        return kExitOk;
      }
    }
    ReportError("unknown command \"" + name + "\"; see \"vaultquill-cli --help\"");
    return kExitUsage;
  }
};

}  // namespace

std::unique_ptr<Command> MakeHelpCommand() {
  return std::make_unique<HelpCommand>();
}

}  // namespace cli
