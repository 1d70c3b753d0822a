// dump: the raw element trees, for looking into a damaged file.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/user_json.h"
#include "crypto/user_file_io.h"
#include "database/tree_io.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "platform/utf.h"

namespace cli {
namespace {

class DumpCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "dump",
        "USER",
        "Write the raw element trees of the user file as JSON, for looking into damage.",
        "{\"user\", \"memo\", \"result\", \"iterations\", \"trees\": [entries, settings]}, where\n"
        "\"result\" is the open result and every element is {\"tag\", \"type\"} with\n"
        "\"children\" (arrays), \"value\" (32-bit), \"low\" and \"high\" (64-bit), \"text\"\n"
        "(strings) or \"base64\" (byte blocks and unknown types). A damaged file shows what\n"
        "could be read of it. The JSON is written whatever the result; the exit code is the\n"
        "open result. A user file whose header is damaged is not listed by \"users\" but can\n"
        "still be dumped by its name.",
        "vaultquill-cli dump alice > alice-trees.json",
        1,
        1};
    return kInfo;
  }

  int Run(Session& session, const Invocation& call) override {
    std::u16string name;
    const std::u16string path = session.UserFilePath(call.Argument(0), name);
    if (path.empty()) {
      CKDatabase* none = nullptr;
      return session.FindUser(call.Argument(0), none);  // says that there is no such user
    }
    CKUserFileKeys keys;
    CKTLVARRAY entries;
    CKTLVARRAY settings;
    entries.SetTag(ENTRY_ROOT);
    settings.SetTag(SETTINGS_ROOT);
    CKUserFileReader reader;
    int result = reader.Open(path, keys);
    const bool header_read = result != userfile::kUnreadable;
    if (result == userfile::kOpened) {
      std::u16string password;
      const int asked =
          session.AskPassword("Password of " + platform::ToUtf8(name) + ": ", password);
      if (asked != kExitOk) {
        return asked;
      }
      result = reader.Unlock(password, keys);
      WipeString(password);
      if (result == userfile::kOpened) {
        result = database::ReadTrees(reader.Stream(), entries, settings);
      }
    }
    reader.Close();
    keys.WipeKey();

    JsonWriter json(session.Out());
    json.BeginObject();
    json.Key("user");
    json.String(name);
    json.Key("memo");
    json.String(keys.GetMemo());
    json.Key("result");
    json.Number(result);
    if (header_read) {
      json.Key("iterations");
      json.Number(keys.GetIterations());
    }
    json.Key("trees");
    json.BeginArray();
    WriteDumpElement(json, entries);
    WriteDumpElement(json, settings);
    json.EndArray();
    json.EndObject();
    json.Finish();
    return result;
  }
};

}  // namespace

std::unique_ptr<Command> MakeDumpCommand() {
  return std::make_unique<DumpCommand>();
}

}  // namespace cli
