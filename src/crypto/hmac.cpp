#include "crypto/hmac.h"

#include <cstring>

#include "crypto/sha256_compress.h"
#include "platform/secure_zero.h"

namespace crypto::detail {

HmacSha256Pads::HmacSha256Pads(const void* key, std::size_t keyLength) {
  std::uint8_t block[CKCryptoSHA::kBlockSize] = {};
  if (keyLength > sizeof block) {
    CKCryptoSHA sha;
    sha.Update(key, keyLength);
    sha.Final(block);
  } else if (keyLength != 0) {
    std::memcpy(block, key, keyLength);
  }
  const Sha256CompressFn compress = SelectSha256Compress();
  for (std::uint8_t& byte : block) {
    byte ^= 0x36;
  }
  std::memcpy(inner, kSha256Initial, sizeof inner);
  compress(inner, block, 1);
  for (std::uint8_t& byte : block) {
    byte ^= 0x36 ^ 0x5C;
  }
  std::memcpy(outer, kSha256Initial, sizeof outer);
  compress(outer, block, 1);
  platform::SecureZero(block, sizeof block);
}

HmacSha256Pads::~HmacSha256Pads() {
  platform::SecureZero(inner, sizeof inner);
  platform::SecureZero(outer, sizeof outer);
}

}  // namespace crypto::detail

CKHmacSHA256::CKHmacSHA256(const void* key, std::size_t keyLength) : pads_(key, keyLength) {
  inner_.Init(pads_.inner, CKCryptoSHA::kBlockSize);
}

void CKHmacSHA256::Final(std::uint8_t* mac) {
  std::uint8_t inner_digest[CKCryptoSHA::kDigestSize];
  inner_.Final(inner_digest);
  CKCryptoSHA outer;
  outer.Init(pads_.outer, CKCryptoSHA::kBlockSize);
  outer.Update(inner_digest, sizeof inner_digest);
  outer.Final(mac);
  platform::SecureZero(inner_digest, sizeof inner_digest);
  inner_.Init(pads_.inner, CKCryptoSHA::kBlockSize);
}

void HMAC_SHA256(const void* key, std::size_t keyLength, const void* data, std::size_t length,
                 std::uint8_t* mac) {
  CKHmacSHA256 hmac(key, keyLength);
  hmac.Update(data, length);
  hmac.Final(mac);
}
