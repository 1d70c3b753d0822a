#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cli/command.h"

namespace cli {

using CommandList = std::vector<std::unique_ptr<Command>>;

// The overview: usage, every command with its summary, the global options, paths and exit
// codes.
std::string GeneralHelp(const CommandList& commands);

// One command: usage, what it does, its options and an example.
std::string CommandHelp(const Command& command);

// The usage line of a command, for error messages.
std::string UsageLine(const Command& command);

}  // namespace cli
