#include "cli/help_text.h"

namespace cli {
namespace {

constexpr std::string_view kProgram = "vaultquill-cli";

constexpr std::string_view kGlobalOptions =
    "Global options (before or after the command):\n"
    "  --data DIR          the data folder that holds the user files (default: the one the\n"
    "                      desktop program uses)\n"
    "  --password-stdin    read every password the command asks for as one line of standard\n"
    "                      input, in the order asked (the user's password first); otherwise\n"
    "                      passwords are asked on the terminal without echo\n"
    "  -h, --help          describe the command\n"
    "  --version           show the version\n";

constexpr std::string_view kPaths =
    "Paths: folder and note names joined by \"/\", \"\\/\" standing for a \"/\" inside a name\n"
    "and \"\\\\\" for a backslash; the empty path (or \"/\") is the root folder. Names match\n"
    "exactly, else ignoring case. An argument that begins with \"-\" follows \"--\".\n";

constexpr std::string_view kExitCodes =
    "Exit codes: 0 success; 1 the user file cannot be read or is no user file, 2 it is\n"
    "damaged, 3 it was written by a newer version, 4 wrong password; 5 usage error; 6 writing\n"
    "failed (the user file, the output or an extracted file); 7 no such user, path,\n"
    "attachment or file; 8 the name is already used (or the file to write exists).\n";

void Pad(std::string& text, std::size_t width) {
  while (text.size() < width) {
    text += ' ';
  }
}

}  // namespace

std::string UsageLine(const Command& command) {
  std::string line = "Usage: " + std::string(kProgram) + " [GLOBAL OPTIONS] ";
  line += command.Info().name;
  if (!command.Info().synopsis.empty()) {
    line += ' ';
    line += command.Info().synopsis;
  }
  return line;
}

std::string GeneralHelp(const CommandList& commands) {
  std::string text =
      "Usage: " + std::string(kProgram) + " [GLOBAL OPTIONS] COMMAND [ARGUMENTS]\n\n";
  text +=
      "Reads and changes VaultQuill user files without the desktop program, through the same\n"
      "code: every change is saved as the desktop program saves it.\n\nCommands:\n";
  for (const auto& command : commands) {
    std::string line = "  " + std::string(command->Info().name);
    Pad(line, 16);
    line += command->Info().summary;
    text += line + "\n";
  }
  text += "\n";
  text += kGlobalOptions;
  text += "\n";
  text += kPaths;
  text += "\n";
  text += kExitCodes;
  text +=
      "\n\"" + std::string(kProgram) + " help COMMAND\" describes a command, with an example.\n";
  return text;
}

std::string CommandHelp(const Command& command) {
  const CommandInfo& info = command.Info();
  std::string text = UsageLine(command) + "\n\n";
  text += std::string(info.summary) + "\n";
  if (!info.details.empty()) {
    text += "\n" + std::string(info.details) + "\n";
  }
  if (!command.Options().empty()) {
    text += "\nOptions:\n";
    for (const OptionInfo& option : command.Options()) {
      std::string line = "  --" + std::string(option.name);
      if (!option.value_name.empty()) {
        line += " " + std::string(option.value_name);
      }
      Pad(line, 22);
      if (line.size() > 22) {
        line += "\n";
        Pad(line, line.size() + 22);
      }
      text += line + std::string(option.description) + "\n";
    }
  }
  text += "\nExample:\n  " + std::string(info.example) + "\n";
  text += "\n" + std::string(kGlobalOptions);
  return text;
}

}  // namespace cli
