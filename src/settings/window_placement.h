#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Where a resizable dialog was last shown: a record of exactly 51 bytes, the same in memory and
// in the stored value. Little-endian: left, top, width and height as signed 32-bit numbers at
// offsets 0, 4, 8 and 12; at 16 a byte that is 1 once a placement has been recorded; then 34
// reserved zero bytes.
struct KWindowPlacement {
  static constexpr std::size_t kSize = 51;
  static constexpr std::size_t kValidOffset = 16;

  std::array<std::uint8_t, kSize> bytes{};

  std::int32_t Left() const { return Field(0); }
  std::int32_t Top() const { return Field(4); }
  std::int32_t Width() const { return Field(8); }
  std::int32_t Height() const { return Field(12); }
  bool IsValid() const { return bytes[kValidOffset] == 1; }

  // Records a placement (valid from now on); the reserved bytes become zero.
  void Set(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  // All 51 bytes zero: nothing recorded.
  void Clear() { bytes.fill(0); }

 private:
  std::int32_t Field(std::size_t offset) const;
  void SetField(std::size_t offset, std::int32_t value);
};
