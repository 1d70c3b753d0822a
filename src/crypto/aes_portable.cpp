#include <cstring>

#include "crypto/aes_engine.h"
#include "platform/secure_zero.h"

// The table-driven AES rounds: each output column is four table look-ups, one byte from each
// of four input columns in the ShiftRows pattern, XORed with the round key.

namespace crypto::detail {
namespace {

struct State {
  std::uint32_t c[4];
};

std::uint32_t Load(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

void Store(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

std::uint32_t Byte(std::uint32_t word, int row) {
  return (word >> (8 * row)) & 0xFF;
}

// Output column j takes row r from column j + r (forward) or j - r (inverse).
std::uint32_t Mix(const std::uint32_t (&table)[4][256], const State& s, int j, int step) {
  return table[0][Byte(s.c[j], 0)] ^ table[1][Byte(s.c[(j + step) & 3], 1)] ^
         table[2][Byte(s.c[(j + 2 * step) & 3], 2)] ^ table[3][Byte(s.c[(j + 3 * step) & 3], 3)];
}

State Round(const std::uint32_t (&table)[4][256], const State& s, const std::uint32_t* key,
            int step) {
  return State{{Mix(table, s, 0, step) ^ key[0], Mix(table, s, 1, step) ^ key[1],
                Mix(table, s, 2, step) ^ key[2], Mix(table, s, 3, step) ^ key[3]}};
}

void EncryptOne(const AesTables& t, const AesSchedule& keys, const std::uint8_t* in,
                std::uint8_t* out) {
  const std::uint32_t* key = keys.encrypt;
  State s;
  for (int j = 0; j < 4; ++j) {
    s.c[j] = Load(in + 4 * j) ^ key[j];
  }
  for (std::uint32_t round = 1; round < keys.rounds; ++round) {
    s = Round(t.forward, s, key + 4 * round, 1);
  }
  s = Round(t.forward_last, s, key + 4 * keys.rounds, 1);
  for (int j = 0; j < 4; ++j) {
    Store(out + 4 * j, s.c[j]);
  }
}

void DecryptOne(const AesTables& t, const AesSchedule& keys, const std::uint8_t* in,
                std::uint8_t* out) {
  State s;
  for (int j = 0; j < 4; ++j) {
    s.c[j] = Load(in + 4 * j) ^ keys.encrypt[4 * keys.rounds + j];
  }
  for (std::uint32_t round = keys.rounds - 1; round >= 1; --round) {
    s = Round(t.inverse, s, keys.decrypt + 4 * round, -1);
  }
  s = Round(t.inverse_last, s, keys.decrypt, -1);
  for (int j = 0; j < 4; ++j) {
    Store(out + 4 * j, s.c[j]);
  }
}

void XorBlock(std::uint8_t* target, const std::uint8_t* other) {
  for (int i = 0; i < 16; ++i) {
    target[i] ^= other[i];
  }
}

}  // namespace

void AesEncryptPortable(const AesTables& tables, const AesSchedule& keys, std::uint8_t* chain,
                        const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  std::uint8_t block[16];
  for (; blocks != 0; --blocks, in += 16, out += 16) {
    std::memcpy(block, in, 16);
    if (chain != nullptr) {
      XorBlock(block, chain);
    }
    EncryptOne(tables, keys, block, out);
    if (chain != nullptr) {
      std::memcpy(chain, out, 16);
    }
  }
  platform::SecureZero(block, sizeof block);
}

void AesDecryptPortable(const AesTables& tables, const AesSchedule& keys, std::uint8_t* chain,
                        const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  std::uint8_t cipher_text[16];
  std::uint8_t plain[16];
  for (; blocks != 0; --blocks, in += 16, out += 16) {
    std::memcpy(cipher_text, in, 16);
    DecryptOne(tables, keys, cipher_text, plain);
    if (chain != nullptr) {
      XorBlock(plain, chain);
      std::memcpy(chain, cipher_text, 16);
    }
    std::memcpy(out, plain, 16);
  }
  platform::SecureZero(plain, sizeof plain);
}

}  // namespace crypto::detail
