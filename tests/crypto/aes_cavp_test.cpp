#include <gtest/gtest.h>

#include "crypto/aes.h"
#include "crypto_test_util.h"

// The NIST CAVP known-answer and multi-block message tests for AES in CBC mode.

namespace {

using crypto_test::Bytes;
using crypto_test::FromHex;
using crypto_test::ToHex;

class AesCavpTest : public crypto_test::OnEachPath<&crypto::CpuFeatures::aes> {};
VQ_ON_EACH_PATH(AesCavpTest);

// Runs every record of one file through a bulk call and through single-block calls.
void RunFile(const std::string& name) {
  SCOPED_TRACE(name);
  for (const crypto_test::Record& record :
       crypto_test::ReadResponseFile("ciphers/AES/CBC/" + name)) {
    SCOPED_TRACE(record.section + " COUNT " + record.Field("COUNT"));
    const bool encrypt = record.section == "ENCRYPT";
    ASSERT_TRUE(encrypt || record.section == "DECRYPT");
    const Bytes key = FromHex(record.Field("KEY"));
    const Bytes iv = FromHex(record.Field("IV"));
    const Bytes in = FromHex(record.Field(encrypt ? "PLAINTEXT" : "CIPHERTEXT"));
    const std::string expected = record.Field(encrypt ? "CIPHERTEXT" : "PLAINTEXT");
    ASSERT_EQ(in.size() % 16, 0u);
    const std::size_t blocks = in.size() / 16;

    CKCryptoAES aes;
    ASSERT_TRUE(aes.SetKey(key.data(), static_cast<std::uint32_t>(key.size() * 8)));
    aes.SetMode(CKCryptoSymmetric::kModeCBC);
    aes.SetIV(iv.data());
    Bytes bulk(in.size());
    if (encrypt) {
      aes.EncryptBlocks(in.data(), bulk.data(), blocks);
    } else {
      aes.DecryptBlocks(in.data(), bulk.data(), blocks);
    }
    EXPECT_EQ(ToHex(bulk), expected);

    aes.SetIV(iv.data());
    Bytes single(in.size());
    for (std::size_t i = 0; i < blocks; ++i) {
      if (encrypt) {
        aes.EncryptBlock(in.data() + 16 * i, single.data() + 16 * i);
      } else {
        aes.DecryptBlock(in.data() + 16 * i, single.data() + 16 * i);
      }
    }
    EXPECT_EQ(ToHex(single), expected);
  }
}

TEST_P(AesCavpTest, KnownAnswerFiles) {
  for (const char* kind : {"GFSbox", "KeySbox", "VarKey", "VarTxt"}) {
    for (const char* bits : {"128", "192", "256"}) {
      RunFile(std::string("CBC") + kind + bits + ".rsp");
    }
  }
}

TEST_P(AesCavpTest, MultiBlockMessageFiles) {
  for (const char* bits : {"128", "192", "256"}) {
    RunFile(std::string("CBCMMT") + bits + ".rsp");
  }
}

}  // namespace
