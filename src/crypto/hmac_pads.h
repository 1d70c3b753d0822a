#pragma once

// Internal to the crypto library: an HMAC-SHA-256 key with its pad blocks already compressed.

#include <cstddef>
#include <cstdint>

namespace crypto::detail {

struct HmacSha256Pads {
  // Hashes a key longer than one block first (RFC 2104), pads it with zeros to 64 bytes and
  // compresses key XOR 0x36 and key XOR 0x5C once each.
  HmacSha256Pads(const void* key, std::size_t keyLength);
  ~HmacSha256Pads();
  HmacSha256Pads(const HmacSha256Pads&) = delete;
  HmacSha256Pads& operator=(const HmacSha256Pads&) = delete;

  // Chaining values after the inner and the outer pad block (64 bytes hashed each).
  std::uint32_t inner[8];
  std::uint32_t outer[8];
};

}  // namespace crypto::detail
