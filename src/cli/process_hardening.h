#pragma once

namespace cli {

// Keeps the passwords and notes in this process's memory out of core files and away from
// debuggers of the same user: core dumps off, the process not dumpable (which also refuses
// ptrace attach). Under AddressSanitizer the process stays dumpable, since its leak checker
// needs ptrace at exit.
void DisableCoreDumps();

}  // namespace cli
