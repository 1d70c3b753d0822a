#include "ui/main_window_updates.h"

#include <utility>

namespace main_window {
namespace {

UpdateCheck* g_check = nullptr;

}  // namespace

UpdateCheck* InstallUpdateCheck(UpdateCheck* check) {
  return std::exchange(g_check, check);
}

void StartUpdateCheck(CKCore& core) {
  if (g_check != nullptr) {
    g_check->Start(core);
  }
}

void StopUpdateCheck() {
  if (g_check != nullptr) {
    g_check->Stop();
  }
}

}  // namespace main_window
