// detach: removes an attachment from a note.
#include <ctime>

#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/tags.h"

namespace cli {
namespace {

class DetachCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "detach",
        "USER NOTEPATH NAME",
        "Remove an attachment from a note.",
        "NAME is the attachment's file name, as show lists it.",
        "vaultquill-cli detach alice 'Banking/Online banking' old-codes.pdf",
        3,
        3};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    CKTLVARRAY* note = nullptr;
    if (const int result = session.OpenEntry(call.Argument(0), call.Argument(1), note, true);
        result != kExitOk) {
      return result;
    }
    CKTLVARRAY* attachment = nullptr;
    if (const int result = LocateAttachment(*note, call.Argument(2), attachment);
        result != kExitOk) {
      return result;
    }
    database::RemoveEntry(*note, attachment, nullptr);
    return session.SaveChangedNote(*note);
  }
};

}  // namespace

std::unique_ptr<Command> MakeDetachCommand() {
  return std::make_unique<DetachCommand>();
}

}  // namespace cli
