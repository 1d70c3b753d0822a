// search: the notes that the main window's search shows.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

// Depth first, as the main window walks the folder's subtree.
void CollectMatches(CKTLVARRAY& folder, std::u16string_view text,
                    std::vector<CKTLVARRAY*>& matches) {
  for (CKTLV* child : folder.GetChildren()) {
    if (IsNote(*child)) {
      auto* note = static_cast<CKTLVARRAY*>(child);
      if (database::MatchesText(*note, text)) {
        matches.push_back(note);
      }
    } else if (IsFolder(*child)) {
      CollectMatches(*static_cast<CKTLVARRAY*>(child), text, matches);
    }
  }
}

class SearchCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "search",
        "USER TEXT",
        "List the path of every note that holds the text.",
        "The notes below the root folder that the main window's search shows: those with the\n"
        "text, ignoring case, in any of their texts (title, login, password, web address,\n"
        "e-mail, description) or in an attachment's file name; one path per line, ordered as\n"
        "the main window orders its rows (by note name).",
        "vaultquill-cli search alice example.com",
        2,
        2};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    std::vector<CKTLVARRAY*> matches;
    CollectMatches(user->GetEntriesRoot(), call.Argument(1), matches);
    SortLikeMainWindow(matches);
    for (CKTLVARRAY* note : matches) {
      std::u16string path = PathOf(*note);
      session.Out().WriteText(path);
      session.Out().Write("\n");
      WipeString(path);
    }
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeSearchCommand() {
  return std::make_unique<SearchCommand>();
}

}  // namespace cli
