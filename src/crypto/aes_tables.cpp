#include "crypto/aes_tables.h"

namespace crypto::detail {
namespace {

std::uint8_t Double(std::uint8_t b) {
  return static_cast<std::uint8_t>((b << 1) ^ ((b & 0x80) != 0 ? 0x1B : 0x00));
}

std::uint32_t RotateLeft(std::uint32_t word, int bits) {
  return bits == 0 ? word : (word << bits) | (word >> (32 - bits));
}

std::uint32_t Column(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  return std::uint32_t{b0} | (std::uint32_t{b1} << 8) | (std::uint32_t{b2} << 16) |
         (std::uint32_t{b3} << 24);
}

}  // namespace

void BuildAesTables(AesTables& tables) {
  // Powers and logarithms of the generator 3 in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
  std::uint8_t power[256];
  std::uint8_t log[256] = {};
  std::uint8_t x = 1;
  for (int i = 0; i < 256; ++i) {
    power[i] = x;
    log[x] = static_cast<std::uint8_t>(i);
    x ^= Double(x);
  }
  auto multiply = [&](std::uint8_t a, std::uint8_t b) -> std::uint8_t {
    return (a == 0 || b == 0) ? 0 : power[(log[a] + log[b]) % 255];
  };

  for (int i = 0; i < 256; ++i) {
    const std::uint8_t inverse = i == 0 ? 0 : power[255 - log[i]];
    std::uint8_t s = inverse;
    for (int shift = 1; shift <= 4; ++shift) {
      s ^= static_cast<std::uint8_t>((inverse << shift) | (inverse >> (8 - shift)));
    }
    s ^= 0x63;
    tables.sbox[i] = s;
    tables.inverse_sbox[s] = static_cast<std::uint8_t>(i);
  }

  std::uint8_t constant = 1;
  for (std::uint32_t& round_constant : tables.round_constants) {
    round_constant = constant;
    constant = Double(constant);
  }

  for (int i = 0; i < 256; ++i) {
    const std::uint8_t s = tables.sbox[i];
    const std::uint8_t v = tables.inverse_sbox[i];
    const std::uint32_t forward = Column(multiply(s, 2), s, s, multiply(s, 3));
    const std::uint32_t inverse =
        Column(multiply(v, 14), multiply(v, 9), multiply(v, 13), multiply(v, 11));
    for (int k = 0; k < 4; ++k) {
      tables.forward[k][i] = RotateLeft(forward, 8 * k);
      tables.inverse[k][i] = RotateLeft(inverse, 8 * k);
      tables.forward_last[k][i] = std::uint32_t{s} << (8 * k);
      tables.inverse_last[k][i] = std::uint32_t{v} << (8 * k);
    }
  }
}

}  // namespace crypto::detail
