// export: the whole user as JSON.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/user_json.h"

namespace cli {
namespace {

class ExportCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "export",
        "USER [--format json]",
        "Write the whole user as JSON on standard output.",
        "{\"user\", \"memo\", \"entries\", \"settings\"}, entries and settings in file order.\n"
        "A folder is {\"folder\", \"text\", \"icon\", \"entries\"}; a note is {\"note\", "
        "\"login\",\n"
        "\"password\", \"url\", \"email\", \"text\", \"icon\", \"created\", \"modified\", "
        "\"attachments\"},\n"
        "each attachment {\"file\", \"size\", \"created\", \"modified\", \"data\"} with the "
        "content\n"
        "in base64; a setting is {\"name\", \"number\"} or {\"name\", \"text\"}. Times are the\n"
        "numbers stored in the file (notes: seconds since 1970; attachments: seconds since\n"
        "1601). Strings are exactly as stored, in UTF-8. The output holds every password in\n"
        "the clear: keep it as safe as the user file.",
        "vaultquill-cli export alice --format json > alice.json",
        1,
        1};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"format", "FORMAT", "the output format; json (the default) is the only one"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    if (const std::u16string* format = call.Value("format");
        format != nullptr && *format != u"json") {
      ReportError("the only export format is json");
      return kExitUsage;
    }
    CKDatabase* user = nullptr;
    if (const int result = session.OpenUser(call.Argument(0), user); result != kExitOk) {
      return result;
    }
    JsonWriter json(session.Out());
    json.BeginObject();
    json.Key("user");
    json.String(user->GetName());
    json.Key("memo");
    json.String(user->GetMemo());
    json.Key("entries");
    WriteExportEntries(json, user->GetEntriesRoot());
    json.Key("settings");
    WriteExportSettings(json, user->GetSettingsRoot());
    json.EndObject();
    json.Finish();
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeExportCommand() {
  return std::make_unique<ExportCommand>();
}

}  // namespace cli
