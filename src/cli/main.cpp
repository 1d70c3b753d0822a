#include "cli/application.h"
#include "cli/process_hardening.h"

int main(int argc, char** argv) {
  cli::DisableCoreDumps();
  return cli::RunApplication(argc, argv);
}
