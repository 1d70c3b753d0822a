// add-folder: a new folder.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

class AddFolderCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "add-folder",
        "USER PATH [--text T]",
        "Create a folder.",
        "PATH names the new folder inside an existing one. No other folder or note of that\n"
        "folder may have the name, ignoring case. A name has at most 64 characters, a\n"
        "description at most 256, as in the desktop's folder editor.",
        "vaultquill-cli add-folder alice Banking --text 'Accounts and cards'",
        2,
        2};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {{"text", "T", "the folder's description"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    CKTLVARRAY* folder = nullptr;
    std::u16string name;
    int result = LocateNewEntry(user->GetEntriesRoot(), call.Argument(1), folder, name);
    if (result == kExitOk) {
      CliEntryEditors::FolderEdit edit{name, call.Value("text")};
      session.Editors().Expect(&edit);
      const CKTLVARRAY* added = database::AddNewEntry(*folder, ENTRY_FOLDER, nullptr, nullptr);
      session.Editors().Expect(static_cast<CliEntryEditors::FolderEdit*>(nullptr));
      result = added != nullptr ? session.SaveUser()
                                : (edit.refusal != kExitOk ? edit.refusal : kExitUsage);
    }
    WipeString(name);
    return result;
  }
};

}  // namespace

std::unique_ptr<Command> MakeAddFolderCommand() {
  return std::make_unique<AddFolderCommand>();
}

}  // namespace cli
