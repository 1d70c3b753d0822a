#pragma once

#include <string>
#include <string_view>

namespace platform {

// The folder of the running program's file: its language files, help pages and the portable
// marker lie there. The desktop program and the command-line tool set it from their own path
// at start; until then it is the folder of the process's executable (/proc/self/exe), or the
// current folder if that cannot be read. No trailing separator is promised.
std::u16string ProgramFolder();

// Sets the folder that ProgramFolder gives; an empty folder restores the default.
void SetProgramFolder(std::u16string_view folder);

}  // namespace platform
