#pragma once

// Internal to the crypto library: the paths that run AES rounds over whole blocks. Each takes
// the chaining value (updated as a stream of CBC blocks would leave it) or null for blocks
// enciphered alone; in and out may be the same buffer.

#include <cstddef>
#include <cstdint>

#include "crypto/aes_tables.h"

namespace crypto::detail {

struct AesSchedule {
  const std::uint32_t* encrypt;  // (rounds + 1) * 4 words
  const std::uint32_t* decrypt;  // same size: equivalent inverse cipher
  std::uint32_t rounds;          // 10, 12 or 14
};

void AesEncryptPortable(const AesTables& tables, const AesSchedule& keys, std::uint8_t* chain,
                        const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);
void AesDecryptPortable(const AesTables& tables, const AesSchedule& keys, std::uint8_t* chain,
                        const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);

// Only where the processor has AES-NI.
void AesEncryptNi(const AesSchedule& keys, std::uint8_t* chain, const std::uint8_t* in,
                  std::uint8_t* out, std::size_t blocks);
void AesDecryptNi(const AesSchedule& keys, std::uint8_t* chain, const std::uint8_t* in,
                  std::uint8_t* out, std::size_t blocks);

}  // namespace crypto::detail
