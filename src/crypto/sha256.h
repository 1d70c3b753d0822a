#pragma once

#include <cstddef>
#include <cstdint>

// SHA-256 (FIPS 180-4). Construct (or Init), Update any number of times, Final. Final does not
// start over: call Init before hashing the next message.
class CKCryptoSHA {
 public:
  static constexpr std::size_t kDigestSize = 32;
  static constexpr std::size_t kBlockSize = 64;

  CKCryptoSHA() { Init(); }
  CKCryptoSHA(const CKCryptoSHA&) = delete;
  CKCryptoSHA& operator=(const CKCryptoSHA&) = delete;
  // Wipes the chaining value and the buffered bytes: they may stem from a password.
  virtual ~CKCryptoSHA();

  void Init();
  // Continues a hash whose first byteCount bytes (a multiple of 64) gave this chaining value;
  // keyed hashes use it to compress their pad block once and reuse it.
  void Init(const std::uint32_t (&chaining)[8], std::uint64_t byteCount);

  void Update(const void* data, std::size_t length);
  // Pads, completes the last block and writes the digest (H0 to H7, each big-endian).
  void Final(std::uint8_t* digest);

 private:
  std::uint64_t byte_count_ = 0;
  std::uint32_t chaining_[8] = {};
  std::uint8_t buffer_[kBlockSize] = {};
};
