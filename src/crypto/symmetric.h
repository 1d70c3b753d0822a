#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// A block cipher on 16-byte blocks, keyed once and then driven block by block, as the
// encrypted user file does.
class CKCryptoSymmetric {
 public:
  static constexpr std::size_t kBlockSize = 16;
  // Modes for SetMode: every block alone, or cipher block chaining.
  static constexpr std::uint32_t kModeBlock = 0;
  static constexpr std::uint32_t kModeCBC = 1;

  explicit CKCryptoSymmetric(std::u16string name) : name_(std::move(name)) {}
  CKCryptoSymmetric(const CKCryptoSymmetric&) = delete;
  CKCryptoSymmetric& operator=(const CKCryptoSymmetric&) = delete;
  virtual ~CKCryptoSymmetric() = default;

  virtual void SetIV(const std::uint8_t* iv) = 0;
  virtual void SetMode(std::uint32_t mode) = 0;
  // Returns false for a key length the cipher does not have; it is then left without a key.
  virtual bool SetKey(const std::uint8_t* key, std::uint32_t keyBits) = 0;
  virtual void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) = 0;
  virtual void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) = 0;

  // Several consecutive blocks at once, with the same result (and the same chaining value
  // afterwards) as that many single-block calls; in and out may be the same buffer. The base
  // versions make the single-block calls; a cipher overrides them to work on many at a time.
  virtual void EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);
  virtual void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);

  const std::u16string& GetName() const { return name_; }

 private:
  std::u16string name_;
};
