#include "crypto/symmetric.h"

void CKCryptoSymmetric::EncryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                                      std::size_t blocks) {
  for (; blocks != 0; --blocks, in += kBlockSize, out += kBlockSize) {
    EncryptBlock(in, out);
  }
}

void CKCryptoSymmetric::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                                      std::size_t blocks) {
  for (; blocks != 0; --blocks, in += kBlockSize, out += kBlockSize) {
    DecryptBlock(in, out);
  }
}
