#pragma once

#include <cstdint>

#include "files/file.h"

namespace elements {

inline void StoreLittleEndian32(std::uint32_t value, std::uint8_t* bytes) {
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

inline std::uint32_t LoadLittleEndian32(const std::uint8_t* bytes, std::uint32_t width = 4) {
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < width; ++i) {
    value |= std::uint32_t{bytes[i]} << (8 * i);
  }
  return value;
}

// Reads all count bytes or fails. A stream that reports fewer bytes has ended inside the
// element; one that does not report a count (an enciphering stream pads its end with zeros)
// is taken at its word.
inline bool ReadExactly(CKFile& stream, void* buffer, std::uint32_t count) {
  std::uint32_t done = count;
  return stream.Read(buffer, count, &done) && done == count;
}

}  // namespace elements
