#pragma once

namespace platform {

// Whether the desktop shows a notification area (system tray) right now. The hidden window
// re-adds its icon when a tray appears again, as after a restart of the panel. The desktop
// program installs its windowing system's answer; without one there is no tray.
class TrayProbe {
 public:
  virtual ~TrayProbe() = default;
  virtual bool IsTrayAvailable() const = 0;
};

// Installs a probe (not owned) and returns the one it replaces; null removes it.
const TrayProbe* InstallTrayProbe(const TrayProbe* probe);

// The installed probe's answer; false while none is installed.
bool IsTrayAvailable();

}  // namespace platform
