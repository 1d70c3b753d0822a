#pragma once

#include <filesystem>

// The GUI tests run against a private home: configuration, data and runtime folders of their
// own, so that nothing touches the real user's settings, autostart entry or running program.
namespace test {

// Sets HOME and the XDG folders to fresh folders below a temporary folder (made once per
// process) and returns that folder. Call before QApplication is made.
std::filesystem::path PrepareUiEnvironment();

// A GUI test program's main: the private home, the application object on the Qt platform
// given (off screen when none is given or set), the tests, and the home removed again.
int RunGuiTests(int argc, char** argv, const char* platform = nullptr);

}  // namespace test
