// add-note: a new note.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/language_texts.h"
#include "cli/note_defaults.h"
#include "cli/session.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

class AddNoteCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "add-note",
        "USER PATH [--login L] [--email E] [--url U] [--text T] [--generate]",
        "Create a note.",
        "PATH names the new note inside an existing folder. No other folder or note of that\n"
        "folder may have the title, ignoring case. When the user's setting says so, a new note\n"
        "starts with the user's default login and e-mail and a generated password, as in the\n"
        "main window; the options given replace them. --generate makes the password with the\n"
        "user's generator options; otherwise the password is asked (an empty answer keeps the\n"
        "generated one, or leaves the password empty). Login, password, web address and\n"
        "e-mail have at most 255 characters each.",
        "vaultquill-cli add-note alice 'Banking/Online banking' --login alice "
        "--url https://bank.example --generate",
        2,
        2};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"login", "L", "the login (user name at the site)"},
        {"email", "E", "the e-mail address"},
        {"url", "U", "the web address"},
        {"text", "T", "the free text"},
        {"generate", "", "a generated password, with the user's generator options"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    CKTLVARRAY* folder = nullptr;
    std::u16string title;
    std::u16string password;
    int result = LocateNewEntry(user->GetEntriesRoot(), call.Argument(1), folder, title);
    // Before the password is asked for: the editor would refuse the title anyway.
    if (result == kExitOk && database::FindEntryByName(*folder, title) != nullptr) {
      ShowLanguageMessage(kNameInUse);
      result = kExitNameUsed;
    }
    if (result == kExitOk) {
      result = NotePassword(session, call.IsSet("generate"), password);
    }
    if (result == kExitOk) {
      CliEntryEditors::NoteEdit edit{title,
                                     call.Value("login"),
                                     password.empty() ? nullptr : &password,
                                     call.Value("url"),
                                     call.Value("email"),
                                     call.Value("text")};
      UserNoteDefaults defaults(session.UserSettings());
      session.Editors().Expect(&edit);
      const CKTLVARRAY* added = database::AddNewEntry(*folder, ENTRY_NOTE, nullptr, &defaults);
      session.Editors().Expect(static_cast<CliEntryEditors::NoteEdit*>(nullptr));
      result = added != nullptr ? session.SaveUser()
                                : (edit.refusal != kExitOk ? edit.refusal : kExitUsage);
    }
    WipeString(title);
    WipeString(password);
    return result;
  }

 private:
  // The note's password: generated, or asked for (empty keeps what the note starts with).
  static int NotePassword(Session& session, bool generate, std::u16string& password) {
    if (generate) {
      if (!GeneratePassword(session.UserSettings(), password)) {
        ReportError(
            "the user's generator options give no password (they enable fewer than two "
            "characters, or a length of 0)");
        return kExitUsage;
      }
      return kExitOk;
    }
    return session.AskPassword(session.UserSettings().boolAutoFillNewNotesWithDefaults
                                   ? "Password of the note (empty: a generated one): "
                                   : "Password of the note (empty: none): ",
                               password);
  }
};

}  // namespace

std::unique_ptr<Command> MakeAddNoteCommand() {
  return std::make_unique<AddNoteCommand>();
}

}  // namespace cli
