// mv: moves a folder or a note into another folder.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/language_texts.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"

namespace cli {
namespace {

class MvCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "mv",
        "USER PATH FOLDERPATH",
        "Move a folder or note into another folder.",
        "FOLDERPATH is the destination folder (empty, or \"/\", for the root). As in the\n"
        "desktop's move-to dialog, an entry cannot move into the folder it is in, nor a folder\n"
        "into itself or its subfolders, nor anything into a folder that holds an entry of the\n"
        "same name (ignoring case). The moved entry comes last in its new folder.",
        "vaultquill-cli mv alice 'Inbox/Online banking' Banking",
        3,
        3};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    CKTLVARRAY& root = user->GetEntriesRoot();
    CKTLVARRAY* entry = nullptr;
    CKTLVARRAY* destination = nullptr;
    if (const int result = LocateEntry(root, call.Argument(1), entry); result != kExitOk) {
      return result;
    }
    if (const int result = LocateFolder(root, call.Argument(2), destination); result != kExitOk) {
      return result;
    }
    CKTLVARRAY* parent = entry->GetParent();
    if (parent == nullptr || destination == parent ||
        database::ContainsFolder(*entry, destination)) {
      ShowLanguageMessage(kCannotMoveThere);
      return kExitUsage;
    }
    if (database::FindEntryByName(*destination, database::GetName(*entry)) != nullptr) {
      ShowLanguageMessage(kNameExistsAtDestination);
      return kExitNameUsed;
    }
    if (!parent->MoveChild(entry, *destination)) {
      ShowLanguageMessage(kMoveFailed);
      return kExitUsage;
    }
    database::ClearNameCache(root);
    return session.SaveUser();
  }
};

}  // namespace

std::unique_ptr<Command> MakeMvCommand() {
  return std::make_unique<MvCommand>();
}

}  // namespace cli
