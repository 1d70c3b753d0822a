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
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    CKTLVARRAY* note = nullptr;
    if (const int result = LocateNote(user->GetEntriesRoot(), call.Argument(1), note);
        result != kExitOk) {
      return result;
    }
    CKTLVARRAY* attachment = FindAttachment(*note, call.Argument(2));
    if (attachment == nullptr) {
      ReportError(u"the note has no attachment \"" + call.Argument(2) + u"\"");
      return kExitNotFound;
    }
    database::RemoveEntry(*note, attachment, nullptr);
    note->SetDwordByTag(TAG_MODIFIED, static_cast<std::uint32_t>(std::time(nullptr)));
    return session.SaveUser();
  }
};

}  // namespace

std::unique_ptr<Command> MakeDetachCommand() {
  return std::make_unique<DetachCommand>();
}

}  // namespace cli
