#include "crypto/aes.h"

#include <cstring>

#include "crypto/aes_engine.h"
#include "crypto/cpu.h"
#include "platform/secure_zero.h"

namespace {

std::uint32_t LoadColumn(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

std::uint32_t SubWord(const crypto::detail::AesTables& tables, std::uint32_t w) {
  return std::uint32_t{tables.sbox[w & 0xFF]} | (std::uint32_t{tables.sbox[(w >> 8) & 0xFF]} << 8) |
         (std::uint32_t{tables.sbox[(w >> 16) & 0xFF]} << 16) |
         (std::uint32_t{tables.sbox[w >> 24]} << 24);
}

std::uint32_t RotateRight(std::uint32_t w, int bits) {
  return (w >> bits) | (w << (32 - bits));
}

// InvMixColumns of one column, doubling all four bytes of the word at once.
std::uint32_t InverseMixColumn(std::uint32_t w) {
  auto twice = [](std::uint32_t v) {
    return ((v & 0x7F7F7F7Fu) << 1) ^ (((v >> 7) & 0x01010101u) * 0x1B);
  };
  const std::uint32_t w2 = twice(w);
  const std::uint32_t w4 = twice(w2);
  const std::uint32_t w8 = twice(w4);
  const std::uint32_t w9 = w8 ^ w;
  const std::uint32_t w11 = w9 ^ w2;
  const std::uint32_t w13 = w9 ^ w4;
  const std::uint32_t w14 = w8 ^ w4 ^ w2;
  return w14 ^ RotateRight(w11, 8) ^ RotateRight(w13, 16) ^ RotateRight(w9, 24);
}

}  // namespace

CKCryptoAES::CKCryptoAES() : CKCryptoSymmetric(u"AES") {
  Reset();
}

CKCryptoAES::~CKCryptoAES() {
  Reset();
}

void CKCryptoAES::Reset() {
  platform::SecureZero(chain_, sizeof chain_);
  platform::SecureZero(&tables_, sizeof tables_);
  platform::SecureZero(encrypt_keys_, sizeof encrypt_keys_);
  platform::SecureZero(decrypt_keys_, sizeof decrypt_keys_);
  key_words_ = 0;
  rounds_ = 0;
  tables_built_ = false;
  SetMode(kModeBlock);
}

void CKCryptoAES::SetIV(const std::uint8_t* iv) {
  std::memcpy(chain_, iv, sizeof chain_);
}

void CKCryptoAES::SetMode(std::uint32_t mode) {
  mode_ = mode;
}

bool CKCryptoAES::SetKey(const std::uint8_t* key, std::uint32_t keyBits) {
  platform::SecureZero(encrypt_keys_, sizeof encrypt_keys_);
  platform::SecureZero(decrypt_keys_, sizeof decrypt_keys_);
  key_words_ = 0;
  rounds_ = 0;
  // Other lengths would overrun the round-key arrays: they are refused, not expanded.
  if (keyBits != 128 && keyBits != 192 && keyBits != 256) {
    return false;
  }
  if (!tables_built_) {
    crypto::detail::BuildAesTables(tables_);
    tables_built_ = true;
  }

  const std::uint32_t nk = keyBits / 32;
  const std::uint32_t rounds = nk + 6;
  const std::uint32_t total = 4 * (rounds + 1);
  std::uint32_t* w = encrypt_keys_;
  for (std::uint32_t i = 0; i < nk; ++i) {
    w[i] = LoadColumn(key + 4 * i);
  }
  for (std::uint32_t i = nk; i < total; ++i) {
    std::uint32_t temp = w[i - 1];
    if (i % nk == 0) {
      // RotWord moves byte 1 to byte 0; with row 0 in the low byte that is a right rotation.
      temp = SubWord(tables_, RotateRight(temp, 8)) ^ tables_.round_constants[i / nk - 1];
    } else if (nk > 6 && i % nk == 4) {
      temp = SubWord(tables_, temp);
    }
    w[i] = w[i - nk] ^ temp;
  }

  std::uint32_t* d = decrypt_keys_;
  for (std::uint32_t i = 0; i < total; ++i) {
    const bool outer_round = i < 4 || i >= 4 * rounds;
    d[i] = outer_round ? w[i] : InverseMixColumn(w[i]);
  }
  key_words_ = nk;
  rounds_ = rounds;
  return true;
}

void CKCryptoAES::EncryptBlock(const std::uint8_t* in, std::uint8_t* out) {
  EncryptBlocks(in, out, 1);
}

void CKCryptoAES::DecryptBlock(const std::uint8_t* in, std::uint8_t* out) {
  DecryptBlocks(in, out, 1);
}

void CKCryptoAES::EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  if (blocks == 0) {
    return;
  }
  if (rounds_ == 0) {
    std::memset(out, 0, blocks * kBlockSize);
    return;
  }
  const crypto::detail::AesSchedule keys{encrypt_keys_, decrypt_keys_, rounds_};
  std::uint8_t* chain = Chaining() ? chain_ : nullptr;
  if (crypto::ActiveCpuFeatures().aes) {
    crypto::detail::AesEncryptNi(keys, chain, in, out, blocks);
  } else {
    crypto::detail::AesEncryptPortable(tables_, keys, chain, in, out, blocks);
  }
}

void CKCryptoAES::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  if (blocks == 0) {
    return;
  }
  if (rounds_ == 0) {
    std::memset(out, 0, blocks * kBlockSize);
    return;
  }
  const crypto::detail::AesSchedule keys{encrypt_keys_, decrypt_keys_, rounds_};
  std::uint8_t* chain = Chaining() ? chain_ : nullptr;
  if (crypto::ActiveCpuFeatures().aes) {
    crypto::detail::AesDecryptNi(keys, chain, in, out, blocks);
  } else {
    crypto::detail::AesDecryptPortable(tables_, keys, chain, in, out, blocks);
  }
}
