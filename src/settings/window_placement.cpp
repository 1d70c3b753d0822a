#include "settings/window_placement.h"

void KWindowPlacement::Set(std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height) {
  bytes.fill(0);
  SetField(0, left);
  SetField(4, top);
  SetField(8, width);
  SetField(12, height);
  bytes[kValidOffset] = 1;
}

std::int32_t KWindowPlacement::Field(std::size_t offset) const {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

void KWindowPlacement::SetField(std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
}
