// rm: removes a folder or a note.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"

namespace cli {
namespace {

bool HoldsEntries(const CKTLVARRAY& folder) {
  for (const CKTLV* child : folder.GetChildren()) {
    if (child->GetType() == TLV_ARRAY) {
      return true;
    }
  }
  return false;
}

class RmCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "rm",
        "USER PATH [--recursive]",
        "Remove a note, or a folder.",
        "A note goes with its attachments. A folder that holds anything is removed, with all\n"
        "it holds, only when --recursive is given. The user file's previous version stays in\n"
        "its .backup file until the next change.",
        "vaultquill-cli rm alice 'Banking/Old bank'",
        2,
        2};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"recursive", "", "remove a folder together with everything in it"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    CKTLVARRAY* entry = nullptr;
    if (const int result = session.OpenEntry(call.Argument(0), call.Argument(1), entry);
        result != kExitOk) {
      return result;
    }
    if (entry->GetParent() == nullptr) {
      ReportError("the root folder cannot be removed");
      return kExitUsage;
    }
    if (IsFolder(*entry) && HoldsEntries(*entry) && !call.IsSet("recursive")) {
      ReportError("the folder is not empty; --recursive removes it with everything in it");
      return kExitUsage;
    }
    database::RemoveEntry(*entry->GetParent(), entry, nullptr);
    return session.SaveUser();
  }
};

}  // namespace

std::unique_ptr<Command> MakeRmCommand() {
  return std::make_unique<RmCommand>();
}

}  // namespace cli
