#pragma once

#include <cstddef>
#include <cstdint>

#include "crypto/hmac_pads.h"
#include "crypto/sha256.h"

// HMAC-SHA-256 (RFC 2104) under one key: Update any number of times, then Final, which also
// starts the next message under the same key. The pad blocks are compressed once per key.
class CKHmacSHA256 {
 public:
  static constexpr std::size_t kSize = CKCryptoSHA::kDigestSize;

  CKHmacSHA256(const void* key, std::size_t keyLength);
  CKHmacSHA256(const CKHmacSHA256&) = delete;
  CKHmacSHA256& operator=(const CKHmacSHA256&) = delete;

  void Update(const void* data, std::size_t length) { inner_.Update(data, length); }
  void Final(std::uint8_t* mac);

 private:
  crypto::detail::HmacSha256Pads pads_;
  CKCryptoSHA inner_;
};

// One-shot HMAC-SHA-256 of a message; writes 32 bytes to mac.
void HMAC_SHA256(const void* key, std::size_t keyLength, const void* data, std::size_t length,
                 std::uint8_t* mac);
