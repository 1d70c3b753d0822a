#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "crypto/aes.h"
#include "crypto/hmac.h"
#include "crypto/pbkdf2.h"
#include "crypto/sha256.h"
#include "crypto_test_util.h"

// Random inputs checked against OpenSSL's libcrypto, an independent implementation.

namespace {

using crypto_test::Bytes;
using crypto_test::ToHex;

// A fresh seed per run, shown on failure; VQ_TEST_SEED replays one.
std::uint64_t Seed() {
  if (const char* fixed = std::getenv("VQ_TEST_SEED")) {
    return std::strtoull(fixed, nullptr, 10);
  }
  return std::random_device{}();
}

class Random {
 public:
  Random() : seed_(Seed()), engine_(seed_) {}
  std::uint64_t seed() const { return seed_; }
  std::size_t Below(std::size_t limit) { return engine_() % limit; }
  Bytes Fill(std::size_t size) {
    Bytes bytes(size);
    for (auto& byte : bytes) {
      byte = static_cast<std::uint8_t>(engine_());
    }
    return bytes;
  }

 private:
  std::uint64_t seed_;
  std::mt19937_64 engine_;
};

Bytes OpenSslCipher(const Bytes& key, const Bytes& iv, bool chained, bool encrypt,
                    const Bytes& in) {
  const EVP_CIPHER* cipher = nullptr;
  switch (key.size()) {
    case 16:
      cipher = chained ? EVP_aes_128_cbc() : EVP_aes_128_ecb();
      break;
    case 24:
      cipher = chained ? EVP_aes_192_cbc() : EVP_aes_192_ecb();
      break;
    default:
      cipher = chained ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
  }
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      &EVP_CIPHER_CTX_free);
  Bytes out(in.size() + 16);
  int written = 0, tail = 0;
  EXPECT_EQ(EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key.data(), iv.data(), encrypt), 1);
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  EXPECT_EQ(
      EVP_CipherUpdate(ctx.get(), out.data(), &written, in.data(), static_cast<int>(in.size())), 1);
  EXPECT_EQ(EVP_CipherFinal_ex(ctx.get(), out.data() + written, &tail), 1);
  out.resize(static_cast<std::size_t>(written + tail));
  return out;
}

class CrossCheckAes : public crypto_test::OnEachPath<&crypto::CpuFeatures::aes> {};
VQ_ON_EACH_PATH(CrossCheckAes);

TEST_P(CrossCheckAes, RandomKeysIvsAndStreamsInRandomPieces) {
  Random random;
  SCOPED_TRACE("VQ_TEST_SEED=" + std::to_string(random.seed()));
  for (int round = 0; round < 300; ++round) {
    const Bytes key = random.Fill(16 + 8 * random.Below(3));
    const Bytes iv = random.Fill(16);
    const bool chained = random.Below(2) == 0;
    const Bytes plain = random.Fill(16 * random.Below(4096 / 16 + 1));
    const Bytes expected = OpenSslCipher(key, iv, chained, true, plain);

    for (bool encrypt : {true, false}) {
      CKCryptoAES aes;
      ASSERT_TRUE(aes.SetKey(key.data(), static_cast<std::uint32_t>(key.size() * 8)));
      aes.SetMode(chained ? CKCryptoSymmetric::kModeCBC : CKCryptoSymmetric::kModeBlock);
      aes.SetIV(iv.data());
      Bytes data = encrypt ? plain : expected;
      // Pieces of random block counts, by bulk and by single-block calls, partly in place.
      for (std::size_t block = 0, total = data.size() / 16; block < total;) {
        const std::size_t count = std::min(total - block, 1 + random.Below(20));
        std::uint8_t* at = data.data() + 16 * block;
        if (count == 1 && random.Below(2) == 0) {
          Bytes out(16);
          encrypt ? aes.EncryptBlock(at, out.data()) : aes.DecryptBlock(at, out.data());
          std::copy(out.begin(), out.end(), at);
        } else {
          encrypt ? aes.EncryptBlocks(at, at, count) : aes.DecryptBlocks(at, at, count);
        }
        block += count;
      }
      ASSERT_EQ(ToHex(data), ToHex(encrypt ? expected : plain))
          << "key " << key.size() << " chained " << chained << " encrypt " << encrypt;
    }
  }
}

class CrossCheckSha : public crypto_test::OnEachPath<&crypto::CpuFeatures::sha> {};
VQ_ON_EACH_PATH(CrossCheckSha);

TEST_P(CrossCheckSha, RandomMessagesInRandomUpdatePieces) {
  Random random;
  SCOPED_TRACE("VQ_TEST_SEED=" + std::to_string(random.seed()));
  for (int round = 0; round < 300; ++round) {
    const Bytes message = random.Fill(random.Below(4097));
    std::uint8_t expected[32];
    unsigned int expected_size = 0;
    ASSERT_EQ(
        EVP_Digest(message.data(), message.size(), expected, &expected_size, EVP_sha256(), nullptr),
        1);

    const Bytes key = random.Fill(random.Below(150));
    std::uint8_t expected_mac[32];
    unsigned int mac_size = 0;
    ASSERT_NE(HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), message.data(),
                   message.size(), expected_mac, &mac_size),
              nullptr);

    CKCryptoSHA sha;
    CKHmacSHA256 hmac(key.data(), key.size());
    for (std::size_t at = 0; at < message.size();) {
      const std::size_t piece = std::min(message.size() - at, random.Below(200));
      sha.Update(message.data() + at, piece);
      hmac.Update(message.data() + at, piece);
      at += piece;
    }
    std::uint8_t digest[32], mac[32];
    sha.Final(digest);
    hmac.Final(mac);
    ASSERT_EQ(ToHex(digest, 32), ToHex(expected, 32)) << message.size() << " bytes";
    ASSERT_EQ(ToHex(mac, 32), ToHex(expected_mac, 32)) << key.size() << "-byte key";
  }
}

TEST_P(CrossCheckSha, Pbkdf2WithRandomPasswordsSaltsCountsAndLengths) {
  Random random;
  SCOPED_TRACE("VQ_TEST_SEED=" + std::to_string(random.seed()));
  for (int round = 0; round < 150; ++round) {
    const Bytes password = random.Fill(random.Below(160));
    const Bytes salt = random.Fill(random.Below(100));
    const std::uint32_t iterations = static_cast<std::uint32_t>(1 + random.Below(300));
    const std::size_t length = 1 + random.Below(130);
    Bytes expected(length), derived(length);
    ASSERT_EQ(PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(password.data()),
                                static_cast<int>(password.size()), salt.data(),
                                static_cast<int>(salt.size()), static_cast<int>(iterations),
                                EVP_sha256(), static_cast<int>(length), expected.data()),
              1);
    PBKDF2_SHA256(password.data(), password.size(), salt.data(), salt.size(), iterations,
                  derived.data(), length);
    ASSERT_EQ(ToHex(derived), ToHex(expected))
        << password.size() << "-byte password, " << salt.size() << "-byte salt, " << iterations
        << " iterations, " << length << " bytes";
  }
}

}  // namespace
