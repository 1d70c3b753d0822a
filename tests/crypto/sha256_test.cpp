#include "crypto/sha256.h"

#include <gtest/gtest.h>

#include <string>

#include "crypto/hmac.h"
#include "crypto_test_util.h"

namespace {

using crypto_test::Bytes;
using crypto_test::FromHex;
using crypto_test::ToHex;

class Sha256Test : public crypto_test::OnEachPath<&crypto::CpuFeatures::sha> {};
VQ_ON_EACH_PATH(Sha256Test);

std::string Digest(const Bytes& message) {
  CKCryptoSHA sha;
  sha.Update(message.data(), message.size());
  std::uint8_t digest[32];
  sha.Final(digest);
  return ToHex(digest, sizeof digest);
}

// Feeds the message in pieces of the given size (the last one shorter).
std::string DigestInPieces(const Bytes& message, std::size_t piece) {
  CKCryptoSHA sha;
  for (std::size_t at = 0; at < message.size(); at += piece) {
    sha.Update(message.data() + at, std::min(piece, message.size() - at));
  }
  std::uint8_t digest[32];
  sha.Final(digest);
  return ToHex(digest, sizeof digest);
}

TEST_P(Sha256Test, Fips1804ExamplesAtOnceAndByteByByte) {
  const struct {
    Bytes message;
    const char* digest;
  } cases[] = {
      {crypto_test::FromText("abc"),
       "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {crypto_test::FromText("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {Bytes(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Digest(c.message), c.digest);
    EXPECT_EQ(DigestInPieces(c.message, 1), c.digest);
  }
}

// 55 bytes pad within one block, 56 and 63 need a second one, 64 a whole padding block: each
// split at every position, so that the buffered part meets the padding at every offset.
TEST_P(Sha256Test, MessagesAroundTheBlockBoundarySplitAnywhere) {
  int checked = 0;
  for (const auto& record : crypto_test::ReadResponseFile("hashes/SHA2/SHA256ShortMsg.rsp")) {
    const int bits = std::stoi(record.Field("Len"));
    if (bits != 440 && bits != 448 && bits != 504 && bits != 512) {
      continue;
    }
    const Bytes message = FromHex(record.Field("Msg"));
    for (std::size_t split = 0; split <= message.size(); ++split) {
      CKCryptoSHA sha;
      sha.Update(message.data(), split);
      sha.Update(message.data() + split, message.size() - split);
      std::uint8_t digest[32];
      sha.Final(digest);
      EXPECT_EQ(ToHex(digest, 32), record.Field("MD")) << bits << " bits split at " << split;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

TEST_P(Sha256Test, CavpShortAndLongMessages) {
  for (const char* file : {"SHA256ShortMsg.rsp", "SHA256LongMsg.rsp"}) {
    for (const auto& record : crypto_test::ReadResponseFile(std::string("hashes/SHA2/") + file)) {
      Bytes message = FromHex(record.Field("Msg"));
      message.resize(std::stoul(record.Field("Len")) / 8);  // "Len = 0" comes with "Msg = 00"
      SCOPED_TRACE(std::string(file) + " Len " + record.Field("Len"));
      EXPECT_EQ(Digest(message), record.Field("MD"));
      EXPECT_EQ(DigestInPieces(message, 37), record.Field("MD"));
    }
  }
}

TEST_P(Sha256Test, HmacRfc4231) {
  for (const auto& record : crypto_test::ReadResponseFile("HMAC/rfc-4231-sha256.txt")) {
    const Bytes key = FromHex(record.Field("Key"));
    const Bytes message = FromHex(record.Field("Msg"));
    std::uint8_t mac[32];
    HMAC_SHA256(key.data(), key.size(), message.data(), message.size(), mac);
    EXPECT_EQ(ToHex(mac, 32), record.Field("MD")) << "key of " << key.size() << " bytes";

    // One keyed object serves message after message.
    CKHmacSHA256 hmac(key.data(), key.size());
    for (int round = 0; round < 2; ++round) {
      for (std::uint8_t byte : message) {
        hmac.Update(&byte, 1);
      }
      hmac.Final(mac);
      EXPECT_EQ(ToHex(mac, 32), record.Field("MD")) << "round " << round;
    }
  }
}

}  // namespace
