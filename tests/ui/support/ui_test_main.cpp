// The GUI tests' entry: a private home, then the application object, then the tests.
#include "support/ui_environment.h"

int main(int argc, char** argv) {
  return test::RunGuiTests(argc, argv);
}
