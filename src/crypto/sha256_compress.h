#pragma once

// Internal to the crypto library: the SHA-256 compression function and its paths.

#include <cstddef>
#include <cstdint>

namespace crypto::detail {

// Compresses `blocks` whole 64-byte blocks into the chaining value H0..H7.
using Sha256CompressFn = void (*)(std::uint32_t* state, const std::uint8_t* data,
                                  std::size_t blocks);

void Sha256CompressPortable(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks);
// Only where the processor has the SHA extensions.
void Sha256CompressShaNi(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks);

// The path to use now (see crypto/cpu.h).
Sha256CompressFn SelectSha256Compress();

inline void Sha256Compress(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks) {
  SelectSha256Compress()(state, data, blocks);
}

extern const std::uint32_t kSha256Initial[8];
extern const std::uint32_t kSha256RoundConstants[64];

inline std::uint32_t LoadBigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

inline void StoreBigEndian32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

}  // namespace crypto::detail
