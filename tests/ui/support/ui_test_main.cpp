// The GUI tests' entry: a private home, then the application object, then the tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <system_error>

#include "support/ui_environment.h"

int main(int argc, char** argv) {
  const std::filesystem::path root = test::PrepareUiEnvironment();
  // Without a display (test discovery, plain runs) the windows are drawn off screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
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
