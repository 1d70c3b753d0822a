// ls: the entries of a folder.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/entry_path.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

class LsCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "ls",
        "USER [PATH]",
        "List the folders and notes of a folder (the root folder without PATH).",
        "Folders first, each with a trailing \"/\", then notes; each group in the order of the\n"
        "main window (by name, capitals before small letters). Names are written as paths\n"
        "write them, so \"/\" and \"\\\" in a name appear as \"\\/\" and \"\\\\\".",
        "vaultquill-cli ls alice Banking",
        1,
        2};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    CKTLVARRAY* folder = nullptr;
    if (const int result = LocateFolder(user->GetEntriesRoot(), call.OptionalArgument(1), folder);
        result != kExitOk) {
      return result;
    }
    for (CKTLVARRAY* entry : ListEntries(*folder)) {
      std::u16string name = EscapeName(database::GetName(*entry));
      session.Out().WriteText(name);
      session.Out().Write(IsFolder(*entry) ? "/\n" : "\n");
      WipeString(name);
    }
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeLsCommand() {
  return std::make_unique<LsCommand>();
}

}  // namespace cli
