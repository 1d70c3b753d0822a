#include "platform/tray.h"

namespace platform {
namespace {
const TrayProbe* installed = nullptr;
}  // namespace

const TrayProbe* InstallTrayProbe(const TrayProbe* probe) {
  const TrayProbe* previous = installed;
  installed = probe;
  return previous;
}

bool IsTrayAvailable() {
  return installed != nullptr && installed->IsTrayAvailable();
}

}  // namespace platform
