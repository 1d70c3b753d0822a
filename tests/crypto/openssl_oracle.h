#pragma once

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdint>
#include <vector>

// OpenSSL's libcrypto as an independent oracle of the crypto and user-file tests.

namespace crypto_test {

using Bytes = std::vector<std::uint8_t>;

// AES in CBC (chained) or ECB mode, without padding.
inline Bytes OpenSslAes(const Bytes& key, const Bytes& iv, bool chained, bool encrypt,
                        const Bytes& in) {
  const EVP_CIPHER* const ciphers[2][3] = {
      {EVP_aes_128_ecb(), EVP_aes_192_ecb(), EVP_aes_256_ecb()},
      {EVP_aes_128_cbc(), EVP_aes_192_cbc(), EVP_aes_256_cbc()}};
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  Bytes out(in.size());
  int written = 0;  // all of it: without padding nothing is held back
  EVP_CipherInit_ex(ctx, ciphers[chained][(key.size() - 16) / 8], nullptr, key.data(), iv.data(),
                    encrypt);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  EXPECT_EQ(EVP_CipherUpdate(ctx, out.data(), &written, in.data(), static_cast<int>(in.size())), 1);
  EXPECT_EQ(static_cast<std::size_t>(written), in.size());
  EVP_CIPHER_CTX_free(ctx);
  return out;
}

inline Bytes OpenSslPbkdf2(const Bytes& password, const std::uint8_t* salt, std::size_t salt_size,
                           int iterations, std::size_t length) {
  Bytes out(length);
  EXPECT_EQ(PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(password.data()),
                              static_cast<int>(password.size()), salt, static_cast<int>(salt_size),
                              iterations, EVP_sha256(), static_cast<int>(length), out.data()),
            1);
  return out;
}

}  // namespace crypto_test
