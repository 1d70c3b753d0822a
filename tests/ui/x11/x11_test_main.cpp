// The tests that need a real X server: the windows are drawn on the display that the test run
// provides (xvfb-run). Without one every test is skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <system_error>

#include "support/ui_environment.h"

bool g_has_display = false;

// Qt's X11 integration keeps a buffer of the D-Bus library until the process ends; that is
// not a leak of this program.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
  g_has_display = !qEnvironmentVariableIsEmpty("DISPLAY");
  const std::filesystem::path root = test::PrepareUiEnvironment();
  qputenv("QT_QPA_PLATFORM", g_has_display ? "xcb" : "offscreen");
  int result = 0;
  {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return result;
}
