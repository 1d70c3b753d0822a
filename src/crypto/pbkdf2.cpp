#include "crypto/pbkdf2.h"

#include <algorithm>
#include <cstring>

#include "crypto/hmac_pads.h"
#include "crypto/sha256.h"
#include "crypto/sha256_compress.h"
#include "platform/secure_zero.h"

using crypto::detail::StoreBigEndian32;

namespace {

constexpr std::size_t kDigest = CKCryptoSHA::kDigestSize;
constexpr std::size_t kBlock = CKCryptoSHA::kBlockSize;

// A block holding a 32-byte message after a 64-byte pad block: the digest bytes, then the
// final padding for 96 bytes hashed in all (768 bits).
void PreparePaddedBlock(std::uint8_t* block) {
  std::memset(block + kDigest, 0, kBlock - kDigest);
  block[kDigest] = 0x80;
  block[kBlock - 2] = 0x03;
}

void StoreWords(std::uint8_t* bytes, const std::uint32_t* words) {
  for (int i = 0; i < 8; ++i) {
    StoreBigEndian32(bytes + 4 * i, words[i]);
  }
}

}  // namespace

void PBKDF2_SHA256(const void* password, std::size_t passwordLength, const void* salt,
                   std::size_t saltLength, std::uint32_t iterations, std::uint8_t* out,
                   std::size_t outLength) {
  if (outLength == 0) {
    return;
  }
  iterations = std::max<std::uint32_t>(iterations, 1);
  const crypto::detail::HmacSha256Pads pads(password, passwordLength);
  const crypto::detail::Sha256CompressFn compress = crypto::detail::SelectSha256Compress();

  // Every HMAC after the first of a block hashes one 32-byte U: each of its two hashes is then
  // a single compression of a prepared block, continuing from the stored pad state.
  std::uint8_t inner_block[kBlock];
  std::uint8_t outer_block[kBlock];
  std::uint32_t state[8];
  std::uint32_t sum[8];
  std::uint8_t last[kDigest];
  PreparePaddedBlock(inner_block);
  PreparePaddedBlock(outer_block);

  for (std::uint32_t index = 1; outLength != 0; ++index) {
    std::uint8_t counter[4];
    StoreBigEndian32(counter, index);
    CKCryptoSHA first;
    first.Init(pads.inner, kBlock);
    first.Update(salt, saltLength);
    first.Update(counter, sizeof counter);
    first.Final(outer_block);
    std::memcpy(state, pads.outer, sizeof state);
    compress(state, outer_block, 1);
    std::memcpy(sum, state, sizeof sum);

    for (std::uint32_t round = 1; round < iterations; ++round) {
      StoreWords(inner_block, state);
      std::memcpy(state, pads.inner, sizeof state);
      compress(state, inner_block, 1);
      StoreWords(outer_block, state);
      std::memcpy(state, pads.outer, sizeof state);
      compress(state, outer_block, 1);
      for (int i = 0; i < 8; ++i) {
        sum[i] ^= state[i];
      }
    }

    const std::size_t take = std::min(outLength, kDigest);
    StoreWords(last, sum);
    std::memcpy(out, last, take);
    out += take;
    outLength -= take;
  }

  platform::SecureZero(inner_block, sizeof inner_block);
  platform::SecureZero(outer_block, sizeof outer_block);
  platform::SecureZero(state, sizeof state);
  platform::SecureZero(sum, sizeof sum);
  platform::SecureZero(last, sizeof last);
}
