#include "cli/commands/command_list.h"

namespace cli {

CommandList AllCommands() {
  CommandList commands;
  commands.push_back(MakeUsersCommand());
  commands.push_back(MakeMemoCommand());
  commands.push_back(MakeCheckCommand());
  commands.push_back(MakeLsCommand());
  commands.push_back(MakeShowCommand());
  commands.push_back(MakeSearchCommand());
  commands.push_back(MakeExportCommand());
  commands.push_back(MakeDumpCommand());
  commands.push_back(MakeNewUserCommand());
  commands.push_back(MakePasswdCommand());
  commands.push_back(MakeAddFolderCommand());
  commands.push_back(MakeAddNoteCommand());
  commands.push_back(MakeAttachCommand());
  commands.push_back(MakeExtractCommand());
  commands.push_back(MakeDetachCommand());
  commands.push_back(MakeRmCommand());
  commands.push_back(MakeMvCommand());
  commands.push_back(MakeGenerateCommand());
  commands.push_back(MakeHelpCommand());
  return commands;
}

}  // namespace cli
