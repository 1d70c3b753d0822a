#pragma once

// What vaultquill-cli reports to the shell. A user file that does not open reports its open
// result (1 unreadable or not a user file, 2 damaged, 3 newer format, 4 wrong password).
namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 5;
// The user file, the output or an extracted file could not be written.
inline constexpr int kExitWriteFailed = 6;
// No such user, entry, attachment or file.
inline constexpr int kExitNotFound = 7;
// The name is used already (or the file to write exists).
inline constexpr int kExitNameUsed = 8;

}  // namespace cli
