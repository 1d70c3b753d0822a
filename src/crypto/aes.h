#pragma once

#include <cstddef>
#include <cstdint>

#include "crypto/aes_tables.h"
#include "crypto/symmetric.h"

// AES (FIPS-197) with 128, 192 or 256-bit keys, every block alone or in CBC mode
// (SP 800-38A). The table-driven rounds serve every processor; where the processor has AES
// instructions they do the work instead, with the same round keys and results.
//
// Typical use: SetKey, SetMode(kModeCBC), SetIV, then a stream of EncryptBlock(s) or
// DecryptBlock(s); the chaining value runs on from call to call until the next SetIV.
class CKCryptoAES final : public CKCryptoSymmetric {
 public:
  CKCryptoAES();
  ~CKCryptoAES() override;

  void SetIV(const std::uint8_t* iv) override;
  void SetMode(std::uint32_t mode) override;
  // Expands the key; builds the lookup tables first if this object has none yet. Leaves the
  // chaining value and the mode alone.
  bool SetKey(const std::uint8_t* key, std::uint32_t keyBits) override;
  // A cipher without a key gives zero blocks rather than anything derived from the input.
  void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) override;
  void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) override;
  void EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) override;
  void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) override;

  // Wipes the chaining value, the round keys and the tables and returns to mode 0 with no key.
  void Reset();

  std::uint32_t GetMode() const { return mode_; }
  // Key length in 32-bit words (4, 6 or 8); 0 without a key.
  std::uint32_t GetKeyWords() const { return key_words_; }
  bool TablesBuilt() const { return tables_built_; }

 private:
  static constexpr std::size_t kMaxRoundKeyWords = 60;

  bool Chaining() const { return mode_ == kModeCBC; }

  alignas(16) std::uint32_t encrypt_keys_[kMaxRoundKeyWords];
  // Round keys of the equivalent inverse cipher (FIPS-197 5.3.5).
  alignas(16) std::uint32_t decrypt_keys_[kMaxRoundKeyWords];
  alignas(16) std::uint8_t chain_[kBlockSize];
  std::uint32_t mode_ = kModeBlock;
  std::uint32_t key_words_ = 0;
  std::uint32_t rounds_ = 0;
  bool tables_built_ = false;
  crypto::detail::AesTables tables_;
};
