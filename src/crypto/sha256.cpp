#include "crypto/sha256.h"

#include <algorithm>
#include <cstring>

#include "crypto/cpu.h"
#include "crypto/sha256_compress.h"
#include "platform/secure_zero.h"

namespace crypto::detail {

const std::uint32_t kSha256Initial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

alignas(16) const std::uint32_t kSha256RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

Sha256CompressFn SelectSha256Compress() {
  return ActiveCpuFeatures().sha ? &Sha256CompressShaNi : &Sha256CompressPortable;
}

}  // namespace crypto::detail

using crypto::detail::Sha256Compress;

CKCryptoSHA::~CKCryptoSHA() {
  platform::SecureZero(chaining_, sizeof chaining_);
  platform::SecureZero(buffer_, sizeof buffer_);
  byte_count_ = 0;
}

void CKCryptoSHA::Init() {
  Init(crypto::detail::kSha256Initial, 0);
}

void CKCryptoSHA::Init(const std::uint32_t (&chaining)[8], std::uint64_t byteCount) {
  byte_count_ = byteCount;
  std::memcpy(chaining_, chaining, sizeof chaining_);
}

void CKCryptoSHA::Update(const void* data, std::size_t length) {
  if (length == 0) {
    return;
  }
  auto input = static_cast<const std::uint8_t*>(data);
  std::size_t used = static_cast<std::size_t>(byte_count_ % kBlockSize);
  byte_count_ += length;
  if (used != 0) {
    const std::size_t take = std::min(length, kBlockSize - used);
    std::memcpy(buffer_ + used, input, take);
    input += take;
    length -= take;
    used += take;
    if (used < kBlockSize) {
      return;
    }
    Sha256Compress(chaining_, buffer_, 1);
  }
  const std::size_t whole = length / kBlockSize;
  if (whole != 0) {
    Sha256Compress(chaining_, input, whole);
    input += whole * kBlockSize;
    length -= whole * kBlockSize;
  }
  if (length != 0) {
    std::memcpy(buffer_, input, length);
  }
}

void CKCryptoSHA::Final(std::uint8_t* digest) {
  static const std::uint8_t kPadding[kBlockSize] = {0x80};
  std::uint8_t bit_count[8];
  const std::uint64_t bits = byte_count_ * 8;
  for (int i = 0; i < 8; ++i) {
    bit_count[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  }
  const std::size_t used = static_cast<std::size_t>(byte_count_ % kBlockSize);
  Update(kPadding, used < 56 ? 56 - used : 120 - used);
  Update(bit_count, sizeof bit_count);
  for (int i = 0; i < 8; ++i) {
    crypto::detail::StoreBigEndian32(digest + 4 * i, chaining_[i]);
  }
}
