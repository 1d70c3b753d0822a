// generate: one password from the password generator.
#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/note_defaults.h"
#include "cli/session.h"
#include "elements/wipe_string.h"

namespace cli {
namespace {

// The custom characters' edit of the generator dialog takes at most this many.
constexpr std::size_t kMaxCustom = 128;

bool ParseLength(std::u16string_view text, std::int32_t& length) {
  if (text.empty() || text.size() > 3) {
    return false;
  }
  std::int32_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') {
      return false;
    }
    value = value * 10 + (c - u'0');
  }
  length = value;
  return value >= 1 && value <= 255;
}

class GenerateCommand final : public Command {
 public:
  const CommandInfo& Info() const override {
    static constexpr CommandInfo kInfo{
        "generate",
        "[--length N] [--upper] [--lower] [--digits] [--special] [--custom CHARS]",
        "Make one password with the password generator.",
        "The character sets named are used; with none named, the generator's defaults\n"
        "(capital and small letters and digits). The length is 1 to 255 (default 14). Every\n"
        "character is drawn independently from all the sets' characters together, so a\n"
        "character that stands in two sets comes twice as often. No user is needed.",
        "vaultquill-cli generate --length 20 --upper --lower --digits --special",
        0,
        0};
    return kInfo;
  }

  std::span<const OptionInfo> Options() const override {
    static constexpr OptionInfo kOptions[] = {
        {"length", "N", "the number of characters, 1 to 255 (14)"},
        {"upper", "", "capital letters A-Z"},
        {"lower", "", "small letters a-z"},
        {"digits", "", "digits 0-9"},
        {"special", "", "the special characters !@#$%^&*()_-+=\":;'</>\\~`.,"},
        {"custom", "CHARS", "these characters (at most 128)"}};
    return kOptions;
  }

  int Run(Session& session, const Invocation& call) override {
    CKSettingsUserBased& options = session.UserSettings();  // nobody logged in: the defaults
    if (const std::u16string* length = call.Value("length"); length != nullptr) {
      if (!ParseLength(*length, options.intPasswordLength)) {
        ReportError("--length takes a number from 1 to 255");
        return kExitUsage;
      }
    }
    const std::u16string* custom = call.Value("custom");
    if (custom != nullptr && custom->size() > kMaxCustom) {
      ReportError("--custom takes at most 128 characters");
      return kExitUsage;
    }
    if (call.IsSet("upper") || call.IsSet("lower") || call.IsSet("digits") ||
        call.IsSet("special") || custom != nullptr) {
      options.boolIsLetersEnabledBig = call.IsSet("upper");
      options.boolIsLetersEnabledSmall = call.IsSet("lower");
      options.boolIsNumbersEnabled = call.IsSet("digits");
      options.boolIsSpecialEnabled = call.IsSet("special");
      options.boolIsCustomEnabled = custom != nullptr;
      if (custom != nullptr) {
        WipeString(options.stringCustomArray);
        options.stringCustomArray = *custom;
      }
    }
    std::u16string password;
    if (!GeneratePassword(options, password)) {
      ReportError("the sets chosen hold fewer than two characters");
      return kExitUsage;
    }
    session.Out().WriteText(password);
    session.Out().Write("\n");
    WipeString(password);
    return kExitOk;
  }
};

}  // namespace

std::unique_ptr<Command> MakeGenerateCommand() {
  return std::make_unique<GenerateCommand>();
}

}  // namespace cli
