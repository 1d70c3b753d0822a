#include "crypto/aes.h"

#include <gtest/gtest.h>

#include <numeric>

#include "crypto_test_util.h"

// AES against the published vectors and, with random inputs, against OpenSSL's libcrypto.

namespace {

using crypto_test::Bytes;
using crypto_test::FromHex;
using crypto_test::KeyCbc;

class AesTest : public crypto_test::OnEachPath<&crypto::CpuFeatures::aes> {};
VQ_ON_EACH_PATH(AesTest);

// Runs the bytes through the cipher, one call for them all or one call per block.
std::string Cipher(CKCryptoAES& aes, bool encrypt, const Bytes& in, bool bulk = true) {
  Bytes out(in.size());
  for (std::size_t i = 0, blocks = bulk ? in.size() / 16 : 1; i < in.size(); i += 16 * blocks) {
    if (bulk) {
      encrypt ? aes.EncryptBlocks(&in[i], &out[i], blocks)
              : aes.DecryptBlocks(&in[i], &out[i], blocks);
    } else {
      encrypt ? aes.EncryptBlock(&in[i], &out[i]) : aes.DecryptBlock(&in[i], &out[i]);
    }
  }
  return crypto_test::ToHex(out.data(), out.size());
}

const Bytes kFipsPlain = FromHex("00112233445566778899aabbccddeeff");
const Bytes kCbcKey = FromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const Bytes kCbcIv = FromHex("000102030405060708090a0b0c0d0e0f");

TEST_P(AesTest, Fips197ExamplesAndTheSp80038aCbcStreamBlockByBlock) {
  const char* const fips[] = {"69c4e0d86a7b0430d8cdb78070b4c55a",
                              "dda97ca4864cdfe06eaf70a0ec0d7191",
                              "8ea2b7ca516745bfeafc49904b496089"};
  for (std::size_t words = 4; words <= 8; words += 2) {
    Bytes key(4 * words), block(16);
    std::iota(key.begin(), key.end(), 0);  // 00 01 02 ...
    CKCryptoAES aes;
    ASSERT_TRUE(aes.SetKey(key.data(), static_cast<std::uint32_t>(key.size() * 8)));
    EXPECT_EQ(aes.GetKeyWords(), words);
    aes.EncryptBlock(kFipsPlain.data(), block.data());
    EXPECT_EQ(crypto_test::ToHex(block.data(), 16), fips[words / 2 - 2]);
    aes.DecryptBlock(block.data(), block.data());  // in place
    EXPECT_EQ(block, kFipsPlain);
  }
  // SP 800-38A F.2.5 and F.2.6 as one stream, through single and bulk calls by turns.
  const char* const plain[] = {
      "6bc1bee22e409f96e93d7e117393172a", "ae2d8a571e03ac9c9eb76fac45af8e51",
      "30c81c46a35ce411e5fbc1191a0a52ef", "f69f2445df4f9b17ad2b417be66c3710"};
  const char* const cipher[] = {
      "f58c4c04d6e5f1ba779eabfb5f7bfbd6", "9cfc4e967edb808d679f777bc6702c7d",
      "39f23369a9d9bacfa530e26304231461", "b2eb05e2c39be9fcda6c19078c6a9d1b"};
  CKCryptoAES encrypt, decrypt;
  KeyCbc(encrypt, kCbcKey, kCbcIv);
  KeyCbc(decrypt, kCbcKey, kCbcIv);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Cipher(encrypt, true, FromHex(plain[i]), i % 2 == 0), cipher[i]) << i;
    EXPECT_EQ(Cipher(decrypt, false, FromHex(cipher[i]), i % 2 == 1), plain[i]) << i;
  }
  encrypt.SetIV(kCbcIv.data());  // restarts the chain mid-stream
  EXPECT_EQ(Cipher(encrypt, true, FromHex(plain[0])), cipher[0]);
}

// Every record of the CAVP known-answer and multi-block message files, through bulk and through
// single-block calls.
TEST_P(AesTest, CavpResponseFiles) {
  for (const char* kind : {"GFSbox", "KeySbox", "VarKey", "VarTxt", "MMT"}) {
    for (const char* bits : {"128", "192", "256"}) {
      const std::string file = std::string("CBC") + kind + bits + ".rsp";
      for (const auto& record : crypto_test::ReadResponseFile("ciphers/AES/CBC/" + file)) {
        SCOPED_TRACE(file + " " + record.at("section") + " COUNT " + record.at("COUNT"));
        const bool encrypt = record.at("section") == "ENCRYPT";
        for (const bool bulk : {true, false}) {
          CKCryptoAES aes;
          KeyCbc(aes, FromHex(record.at("KEY")), FromHex(record.at("IV")));
          EXPECT_EQ(
              Cipher(aes, encrypt, FromHex(record.at(encrypt ? "PLAINTEXT" : "CIPHERTEXT")), bulk),
              record.at(encrypt ? "CIPHERTEXT" : "PLAINTEXT"));
        }
      }
    }
  }
}

TEST_P(AesTest, ResetRefusedKeysAndDestructionLeaveNoKeyAndANewKeyWorks) {
  const std::string zeros(32, '0');
  CKCryptoAES aes;
  EXPECT_FALSE(aes.TablesBuilt());
  KeyCbc(aes, kCbcKey, Bytes(16, 0));
  EXPECT_TRUE(aes.TablesBuilt());
  const std::string first = Cipher(aes, true, kFipsPlain);
  aes.Reset();
  EXPECT_EQ(aes.GetMode(), CKCryptoSymmetric::kModeBlock);
  EXPECT_FALSE(aes.TablesBuilt());
  EXPECT_EQ(Cipher(aes, true, kFipsPlain), zeros) << "without a key nothing of the input shows";
  // Keyed again in CBC without an IV: the chain starts from zero.
  ASSERT_TRUE(aes.SetKey(kCbcKey.data(), 256));
  aes.SetMode(CKCryptoSymmetric::kModeCBC);
  EXPECT_EQ(Cipher(aes, true, kFipsPlain), first);

  // A second key without Reset replaces the round keys; a length AES lacks leaves none.
  ASSERT_TRUE(aes.SetKey(kCbcIv.data(), 128));
  aes.SetMode(CKCryptoSymmetric::kModeBlock);
  EXPECT_EQ(Cipher(aes, true, kFipsPlain), "69c4e0d86a7b0430d8cdb78070b4c55a");
  for (std::uint32_t bits : {0u, 64u, 160u, 288u, 512u}) {
    ASSERT_TRUE(aes.SetKey(kCbcKey.data(), 256));
    EXPECT_FALSE(aes.SetKey(kCbcKey.data(), bits)) << bits;
    EXPECT_EQ(aes.GetKeyWords(), 0u);
    EXPECT_EQ(Cipher(aes, true, kFipsPlain), zeros);
  }
  // Nor is anything of a key left once the cipher is gone.
  EXPECT_FALSE(crypto_test::LeftInMemory<CKCryptoAES>(kCbcKey, [](CKCryptoAES& used) {
    KeyCbc(used, kCbcKey, kCbcIv);
    Cipher(used, false, Bytes(64, 1));
  }));
}

// Random keys, IVs and streams in pieces of random block counts, through bulk and single-block
// calls, partly in place.
TEST_P(AesTest, RandomStreamsAgreeWithLibcrypto) {
  crypto_test::Random random;
  for (int round = 0; round < 300; ++round) {
    const Bytes key = random.Fill(16 + 8 * random.Below(3)), iv = random.Fill(16);
    const bool chained = random.Below(2) == 0;
    const Bytes plain = random.Fill(16 * random.Below(4096 / 16 + 1));
    const Bytes enciphered = crypto_test::OpenSslAes(key, iv, chained, true, plain);
    for (const bool encrypt : {true, false}) {
      CKCryptoAES aes;
      KeyCbc(aes, key, iv);
      aes.SetMode(chained ? CKCryptoSymmetric::kModeCBC : CKCryptoSymmetric::kModeBlock);
      Bytes data = encrypt ? plain : enciphered;
      for (std::size_t at = 0, count = 0; at < data.size(); at += 16 * count) {
        count = std::min((data.size() - at) / 16, 1 + random.Below(20));
        const Bytes copy(&data[at], &data[at] + 16);
        if (count == 1 && random.Below(2) == 0) {
          encrypt ? aes.EncryptBlock(copy.data(), &data[at])
                  : aes.DecryptBlock(copy.data(), &data[at]);
        } else {
          encrypt ? aes.EncryptBlocks(&data[at], &data[at], count)
                  : aes.DecryptBlocks(&data[at], &data[at], count);
        }
      }
      ASSERT_EQ(data, encrypt ? enciphered : plain)
          << "key " << key.size() << " chained " << chained << " encrypt " << encrypt;
    }
  }
}

}  // namespace
