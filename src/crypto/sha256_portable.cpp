#include <cstdint>

#include "crypto/sha256_compress.h"
#include "platform/secure_zero.h"

// The compression function of FIPS 180-4 written out round by round: the key derivation runs
// it tens of thousands of times per log-in, so every round constant sits in the code and the
// 16-word message window rolls in place.

namespace crypto::detail {
namespace {

[[gnu::always_inline]] inline std::uint32_t Rotr(std::uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

[[gnu::always_inline]] inline void Round(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                         std::uint32_t& d, std::uint32_t e, std::uint32_t f,
                                         std::uint32_t g, std::uint32_t& h, std::uint32_t k,
                                         std::uint32_t w) {
  const std::uint32_t t1 =
      h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + (g ^ (e & (f ^ g))) + k + w;
  const std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) | (c & (a | b)));
  d += t1;
  h = t1 + t2;
}

// Replaces w[i] (word t - 16 of the schedule) with word t, where i = t mod 16.
[[gnu::always_inline]] inline std::uint32_t Expand(std::uint32_t* w, int i) {
  const std::uint32_t w15 = w[(i + 1) & 15];
  const std::uint32_t w2 = w[(i + 14) & 15];
  w[i] += (Rotr(w2, 17) ^ Rotr(w2, 19) ^ (w2 >> 10)) + w[(i + 9) & 15] +
          (Rotr(w15, 7) ^ Rotr(w15, 18) ^ (w15 >> 3));
  return w[i];
}

}  // namespace

void Sha256CompressPortable(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks) {
  std::uint32_t w[16];
  for (; blocks != 0; --blocks, data += 64) {
    for (int i = 0; i < 16; ++i) {
      w[i] = LoadBigEndian32(data + 4 * i);
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];

    Round(a, b, c, d, e, f, g, h, 0x428a2f98, w[0]);
    Round(h, a, b, c, d, e, f, g, 0x71374491, w[1]);
    Round(g, h, a, b, c, d, e, f, 0xb5c0fbcf, w[2]);
    Round(f, g, h, a, b, c, d, e, 0xe9b5dba5, w[3]);
    Round(e, f, g, h, a, b, c, d, 0x3956c25b, w[4]);
    Round(d, e, f, g, h, a, b, c, 0x59f111f1, w[5]);
    Round(c, d, e, f, g, h, a, b, 0x923f82a4, w[6]);
    Round(b, c, d, e, f, g, h, a, 0xab1c5ed5, w[7]);
    Round(a, b, c, d, e, f, g, h, 0xd807aa98, w[8]);
    Round(h, a, b, c, d, e, f, g, 0x12835b01, w[9]);
    Round(g, h, a, b, c, d, e, f, 0x243185be, w[10]);
    Round(f, g, h, a, b, c, d, e, 0x550c7dc3, w[11]);
    Round(e, f, g, h, a, b, c, d, 0x72be5d74, w[12]);
    Round(d, e, f, g, h, a, b, c, 0x80deb1fe, w[13]);
    Round(c, d, e, f, g, h, a, b, 0x9bdc06a7, w[14]);
    Round(b, c, d, e, f, g, h, a, 0xc19bf174, w[15]);
    Round(a, b, c, d, e, f, g, h, 0xe49b69c1, Expand(w, 0));
    Round(h, a, b, c, d, e, f, g, 0xefbe4786, Expand(w, 1));
    Round(g, h, a, b, c, d, e, f, 0x0fc19dc6, Expand(w, 2));
    Round(f, g, h, a, b, c, d, e, 0x240ca1cc, Expand(w, 3));
    Round(e, f, g, h, a, b, c, d, 0x2de92c6f, Expand(w, 4));
    Round(d, e, f, g, h, a, b, c, 0x4a7484aa, Expand(w, 5));
    Round(c, d, e, f, g, h, a, b, 0x5cb0a9dc, Expand(w, 6));
    Round(b, c, d, e, f, g, h, a, 0x76f988da, Expand(w, 7));
    Round(a, b, c, d, e, f, g, h, 0x983e5152, Expand(w, 8));
    Round(h, a, b, c, d, e, f, g, 0xa831c66d, Expand(w, 9));
    Round(g, h, a, b, c, d, e, f, 0xb00327c8, Expand(w, 10));
    Round(f, g, h, a, b, c, d, e, 0xbf597fc7, Expand(w, 11));
    Round(e, f, g, h, a, b, c, d, 0xc6e00bf3, Expand(w, 12));
    Round(d, e, f, g, h, a, b, c, 0xd5a79147, Expand(w, 13));
    Round(c, d, e, f, g, h, a, b, 0x06ca6351, Expand(w, 14));
    Round(b, c, d, e, f, g, h, a, 0x14292967, Expand(w, 15));
    Round(a, b, c, d, e, f, g, h, 0x27b70a85, Expand(w, 0));
    Round(h, a, b, c, d, e, f, g, 0x2e1b2138, Expand(w, 1));
    Round(g, h, a, b, c, d, e, f, 0x4d2c6dfc, Expand(w, 2));
    Round(f, g, h, a, b, c, d, e, 0x53380d13, Expand(w, 3));
    Round(e, f, g, h, a, b, c, d, 0x650a7354, Expand(w, 4));
    Round(d, e, f, g, h, a, b, c, 0x766a0abb, Expand(w, 5));
    Round(c, d, e, f, g, h, a, b, 0x81c2c92e, Expand(w, 6));
    Round(b, c, d, e, f, g, h, a, 0x92722c85, Expand(w, 7));
    Round(a, b, c, d, e, f, g, h, 0xa2bfe8a1, Expand(w, 8));
    Round(h, a, b, c, d, e, f, g, 0xa81a664b, Expand(w, 9));
    Round(g, h, a, b, c, d, e, f, 0xc24b8b70, Expand(w, 10));
    Round(f, g, h, a, b, c, d, e, 0xc76c51a3, Expand(w, 11));
    Round(e, f, g, h, a, b, c, d, 0xd192e819, Expand(w, 12));
    Round(d, e, f, g, h, a, b, c, 0xd6990624, Expand(w, 13));
    Round(c, d, e, f, g, h, a, b, 0xf40e3585, Expand(w, 14));
    Round(b, c, d, e, f, g, h, a, 0x106aa070, Expand(w, 15));
    Round(a, b, c, d, e, f, g, h, 0x19a4c116, Expand(w, 0));
    Round(h, a, b, c, d, e, f, g, 0x1e376c08, Expand(w, 1));
    Round(g, h, a, b, c, d, e, f, 0x2748774c, Expand(w, 2));
    Round(f, g, h, a, b, c, d, e, 0x34b0bcb5, Expand(w, 3));
    Round(e, f, g, h, a, b, c, d, 0x391c0cb3, Expand(w, 4));
    Round(d, e, f, g, h, a, b, c, 0x4ed8aa4a, Expand(w, 5));
    Round(c, d, e, f, g, h, a, b, 0x5b9cca4f, Expand(w, 6));
    Round(b, c, d, e, f, g, h, a, 0x682e6ff3, Expand(w, 7));
    Round(a, b, c, d, e, f, g, h, 0x748f82ee, Expand(w, 8));
    Round(h, a, b, c, d, e, f, g, 0x78a5636f, Expand(w, 9));
    Round(g, h, a, b, c, d, e, f, 0x84c87814, Expand(w, 10));
    Round(f, g, h, a, b, c, d, e, 0x8cc70208, Expand(w, 11));
    Round(e, f, g, h, a, b, c, d, 0x90befffa, Expand(w, 12));
    Round(d, e, f, g, h, a, b, c, 0xa4506ceb, Expand(w, 13));
    Round(c, d, e, f, g, h, a, b, 0xbef9a3f7, Expand(w, 14));
    Round(b, c, d, e, f, g, h, a, 0xc67178f2, Expand(w, 15));

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
  // The schedule is derived from the message, which may be a password.
  platform::SecureZero(w, sizeof w);
}

}  // namespace crypto::detail
