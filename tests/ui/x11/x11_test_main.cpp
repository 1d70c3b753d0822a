// The tests that need a real X server: the windows are drawn on the display that the test run
// provides (xvfb-run). Without one every test is skipped.
#include <QtGlobal>

#include "support/ui_environment.h"

bool g_has_display = false;

// Qt's X11 integration keeps a buffer of the D-Bus library until the process ends; that is
// not a leak of this program.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
  g_has_display = !qEnvironmentVariableIsEmpty("DISPLAY");
  return test::RunGuiTests(argc, argv, g_has_display ? "xcb" : "offscreen");
}
