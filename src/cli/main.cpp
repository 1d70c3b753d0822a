#include "cli/application.h"
#include "platform/process_hardening.h"

int main(int argc, char** argv) {
  platform::DisableCoreDumpsAndDebugging();
  return cli::RunApplication(argc, argv);
}
