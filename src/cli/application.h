#pragma once

namespace cli {

// Runs vaultquill-cli on its command line; returns the exit code (exit_codes.h).
int RunApplication(int argc, char** argv);

}  // namespace cli
