#pragma once

namespace platform {

// A password manager must not leave its memory in core files or open to a debugger: core
// dumps off (RLIMIT_CORE 0) and the process marked not dumpable, which also refuses ptrace
// attach by other processes of the same user. Returns true when both took effect. Each
// program calls it first thing in main().
//
// Under AddressSanitizer the process stays dumpable: its leak checker inspects the process
// through ptrace at exit.
bool DisableCoreDumpsAndDebugging();

}  // namespace platform
