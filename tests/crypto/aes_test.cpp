#include "crypto/aes.h"

#include <gtest/gtest.h>

#include <array>

#include "crypto_test_util.h"

namespace {

using crypto_test::Bytes;
using crypto_test::FromHex;
using crypto_test::ToHex;

class AesTest : public crypto_test::OnEachPath<&crypto::CpuFeatures::aes> {};
VQ_ON_EACH_PATH(AesTest);

// One block through the single-block calls, as the encrypted file drives the cipher.
std::string Encrypt(CKCryptoAES& aes, const Bytes& in) {
  std::array<std::uint8_t, 16> out;
  aes.EncryptBlock(in.data(), out.data());
  return ToHex(out.data(), out.size());
}

std::string Decrypt(CKCryptoAES& aes, const Bytes& in) {
  std::array<std::uint8_t, 16> out;
  aes.DecryptBlock(in.data(), out.data());
  return ToHex(out.data(), out.size());
}

TEST_P(AesTest, EnciphersAndDeciphersTheFips197ExamplesBlockAlone) {
  const Bytes plain = FromHex("00112233445566778899aabbccddeeff");
  const struct {
    const char* key;
    const char* cipher;
  } cases[] = {
      {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const auto& c : cases) {
    const Bytes key = FromHex(c.key);
    CKCryptoAES aes;
    EXPECT_EQ(aes.GetName(), u"AES");
    ASSERT_TRUE(aes.SetKey(key.data(), static_cast<std::uint32_t>(key.size() * 8)));
    EXPECT_EQ(aes.GetKeyWords(), key.size() / 4);
    std::array<std::uint8_t, 16> block;
    aes.EncryptBlock(plain.data(), block.data());
    EXPECT_EQ(ToHex(block.data(), 16), c.cipher);
    aes.DecryptBlock(block.data(), block.data());  // in place
    EXPECT_EQ(ToHex(block.data(), 16), ToHex(plain));
  }
}

// SP 800-38A F.2.5 and F.2.6: one continuous CBC stream, one block per call.
const char* const kCbcKey = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
const char* const kCbcIv = "000102030405060708090a0b0c0d0e0f";
const char* const kCbcPlain[] = {
    "6bc1bee22e409f96e93d7e117393172a", "ae2d8a571e03ac9c9eb76fac45af8e51",
    "30c81c46a35ce411e5fbc1191a0a52ef", "f69f2445df4f9b17ad2b417be66c3710"};
const char* const kCbcCipher[] = {
    "f58c4c04d6e5f1ba779eabfb5f7bfbd6", "9cfc4e967edb808d679f777bc6702c7d",
    "39f23369a9d9bacfa530e26304231461", "b2eb05e2c39be9fcda6c19078c6a9d1b"};

void KeyForCbc(CKCryptoAES& aes) {
  const Bytes key = FromHex(kCbcKey);
  const Bytes iv = FromHex(kCbcIv);
  // The program's order: key, mode, IV.
  ASSERT_TRUE(aes.SetKey(key.data(), 256));
  aes.SetMode(CKCryptoSymmetric::kModeCBC);
  aes.SetIV(iv.data());
}

TEST_P(AesTest, RunsTheSp80038aCbcStreamBlockByBlock) {
  CKCryptoAES encrypt;
  KeyForCbc(encrypt);
  CKCryptoAES decrypt;
  KeyForCbc(decrypt);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Encrypt(encrypt, FromHex(kCbcPlain[i])), kCbcCipher[i]) << "block " << i;
    EXPECT_EQ(Decrypt(decrypt, FromHex(kCbcCipher[i])), kCbcPlain[i]) << "block " << i;
  }
}

TEST_P(AesTest, SetIvRestartsTheChainMidStream) {
  CKCryptoAES aes;
  KeyForCbc(aes);
  Encrypt(aes, FromHex(kCbcPlain[0]));
  Encrypt(aes, FromHex(kCbcPlain[1]));
  aes.SetIV(FromHex(kCbcIv).data());
  EXPECT_EQ(Encrypt(aes, FromHex(kCbcPlain[0])), kCbcCipher[0]);
}

TEST_P(AesTest, ResetWipesKeyChainAndTablesAndTheNextKeyBuildsThemAgain) {
  CKCryptoAES aes;
  EXPECT_FALSE(aes.TablesBuilt());
  KeyForCbc(aes);
  EXPECT_TRUE(aes.TablesBuilt());
  Encrypt(aes, FromHex(kCbcPlain[0]));

  aes.Reset();
  EXPECT_EQ(aes.GetMode(), CKCryptoSymmetric::kModeBlock);
  EXPECT_EQ(aes.GetKeyWords(), 0u);
  EXPECT_FALSE(aes.TablesBuilt());
  // Without a key nothing of the input shows through.
  EXPECT_EQ(Encrypt(aes, FromHex(kCbcPlain[0])), std::string(32, '0'));

  // Keyed again in CBC without an IV: the chain starts from zero.
  const Bytes key = FromHex(kCbcKey);
  ASSERT_TRUE(aes.SetKey(key.data(), 256));
  aes.SetMode(CKCryptoSymmetric::kModeCBC);
  CKCryptoAES reference;
  KeyForCbc(reference);
  const std::array<std::uint8_t, 16> zero_iv{};
  reference.SetIV(zero_iv.data());
  EXPECT_EQ(Encrypt(aes, FromHex(kCbcPlain[2])), Encrypt(reference, FromHex(kCbcPlain[2])));

  // A second key without Reset reuses the tables and replaces the round keys.
  const Bytes key128 = FromHex("000102030405060708090a0b0c0d0e0f");
  ASSERT_TRUE(aes.SetKey(key128.data(), 128));
  aes.SetMode(CKCryptoSymmetric::kModeBlock);
  EXPECT_EQ(Encrypt(aes, FromHex("00112233445566778899aabbccddeeff")),
            "69c4e0d86a7b0430d8cdb78070b4c55a");
}

TEST_P(AesTest, RefusesKeyLengthsAesDoesNotHave) {
  std::array<std::uint8_t, 64> key{};
  for (std::uint32_t bits : {0u, 64u, 160u, 288u, 512u}) {
    CKCryptoAES aes;
    ASSERT_TRUE(aes.SetKey(key.data(), 256));
    EXPECT_FALSE(aes.SetKey(key.data(), bits)) << bits;
    EXPECT_EQ(aes.GetKeyWords(), 0u);
    EXPECT_EQ(Encrypt(aes, FromHex(kCbcPlain[0])), std::string(32, '0'));
  }
}

}  // namespace
