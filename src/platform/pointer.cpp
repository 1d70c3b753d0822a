#include "platform/pointer.h"

namespace platform {
namespace {
const PointerSource* installed = nullptr;
}  // namespace

const PointerSource* InstallPointer(const PointerSource* source) {
  const PointerSource* previous = installed;
  installed = source;
  return previous;
}

PointerPosition CurrentPointerPosition() {
  if (installed != nullptr) {
    if (auto position = installed->CurrentPosition()) {
      return *position;
    }
  }
  return PointerPosition{};
}

}  // namespace platform
