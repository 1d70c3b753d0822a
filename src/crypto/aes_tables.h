#pragma once

// Internal to the crypto library: the lookup tables of the table-driven AES rounds.

#include <cstdint>

namespace crypto::detail {

// Computed from GF(2^8) arithmetic; they equal the tables of FIPS-197. Words are columns,
// row 0 in the low byte.
struct AesTables {
  std::uint8_t sbox[256];
  std::uint8_t inverse_sbox[256];
  std::uint32_t round_constants[10];
  // S-box value times {2, 1, 1, 3} and its byte rotations: SubBytes and MixColumns at once.
  std::uint32_t forward[4][256];
  // The bare S-box value in byte position 0 to 3: the last round, which has no MixColumns.
  std::uint32_t forward_last[4][256];
  // Inverse S-box value times {14, 9, 13, 11} and its rotations.
  std::uint32_t inverse[4][256];
  std::uint32_t inverse_last[4][256];
};

void BuildAesTables(AesTables& tables);

}  // namespace crypto::detail
