#pragma once

#include <memory>

#include "cli/help_text.h"

// Every command of the tool, one class each (in the file named after it).
namespace cli {

std::unique_ptr<Command> MakeUsersCommand();
std::unique_ptr<Command> MakeMemoCommand();
std::unique_ptr<Command> MakeCheckCommand();
std::unique_ptr<Command> MakeLsCommand();
std::unique_ptr<Command> MakeShowCommand();
std::unique_ptr<Command> MakeSearchCommand();
std::unique_ptr<Command> MakeExportCommand();
std::unique_ptr<Command> MakeDumpCommand();
std::unique_ptr<Command> MakeNewUserCommand();
std::unique_ptr<Command> MakePasswdCommand();
std::unique_ptr<Command> MakeAddFolderCommand();
std::unique_ptr<Command> MakeAddNoteCommand();
std::unique_ptr<Command> MakeAttachCommand();
std::unique_ptr<Command> MakeExtractCommand();
std::unique_ptr<Command> MakeDetachCommand();
std::unique_ptr<Command> MakeRmCommand();
std::unique_ptr<Command> MakeMvCommand();
std::unique_ptr<Command> MakeGenerateCommand();
std::unique_ptr<Command> MakeHelpCommand();

// All of them, in the order the overview lists them.
CommandList AllCommands();

}  // namespace cli
