#include "support/ui_environment.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <stdexcept>
#include <string>
#include <system_error>

namespace test {
namespace {

std::filesystem::path g_root;

void SetFolder(const char* variable, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  ::chmod(folder.c_str(), 0700);
  ::setenv(variable, folder.c_str(), 1);
}

}  // namespace

std::filesystem::path PrepareUiEnvironment() {
  if (!g_root.empty()) {
    return g_root;
  }
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vaultquill-ui-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  g_root = pattern;
  SetFolder("HOME", g_root / "home");
  SetFolder("XDG_CONFIG_HOME", g_root / "home" / ".config");
  SetFolder("XDG_DATA_HOME", g_root / "home" / ".local" / "share");
  SetFolder("XDG_CACHE_HOME", g_root / "home" / ".cache");
  SetFolder("XDG_RUNTIME_DIR", g_root / "runtime");
  ::setenv("XDG_DOCUMENTS_DIR", (g_root / "home" / "Documents").c_str(), 1);
  // Qt must not find a session bus of the real desktop (tray, portals).
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  return g_root;
}

int RunGuiTests(int argc, char** argv, const char* platform) {
  const std::filesystem::path root = PrepareUiEnvironment();
  if (platform != nullptr) {
    qputenv("QT_QPA_PLATFORM", platform);
  } else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    // Without a display (test discovery, plain runs) the windows are drawn off screen.
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

}  // namespace test
