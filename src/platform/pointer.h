#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// Screen coordinates of the mouse pointer.
struct PointerPosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Where the lower layers learn the pointer position (one of the figures the random source
// samples). The desktop program installs its windowing system's answer; tests install fakes.
class PointerSource {
 public:
  virtual ~PointerSource() = default;
  // Nothing when the position cannot be known (no pointer, no display).
  virtual std::optional<PointerPosition> CurrentPosition() const = 0;
};

// Installs a source (not owned) and returns the one it replaces; null removes it.
const PointerSource* InstallPointer(const PointerSource* source);

// The installed source's answer; (0, 0) while none is installed or the position is unknown.
PointerPosition CurrentPointerPosition();

}  // namespace platform
