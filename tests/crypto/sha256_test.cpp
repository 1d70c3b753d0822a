#include "crypto/sha256.h"

#include <gtest/gtest.h>
#include <openssl/hmac.h>

#include <string>

#include "crypto/hmac.h"
#include "crypto/pbkdf2.h"
#include "crypto_test_util.h"

// SHA-256, HMAC and PBKDF2 against the published vectors and, with random inputs, against
// OpenSSL's libcrypto.

namespace {

using crypto_test::Bytes;
using crypto_test::FromHex;
using crypto_test::ToHex;

class Sha256Test : public crypto_test::OnEachPath<&crypto::CpuFeatures::sha> {};
VQ_ON_EACH_PATH(Sha256Test);

// The digest of the message fed in pieces of the given size, after a first piece of split bytes.
std::string Digest(const Bytes& message, std::size_t piece, std::size_t split = 0) {
  CKCryptoSHA sha;
  sha.Update(message.data(), split);
  for (std::size_t at = split; at < message.size(); at += piece) {
    sha.Update(message.data() + at, std::min(piece, message.size() - at));
  }
  std::uint8_t digest[32];
  sha.Final(digest);
  return ToHex(digest, sizeof digest);
}

TEST_P(Sha256Test, Fips1804ExamplesAtOnceAndByteByByte) {
  const std::pair<std::string, const char*> cases[] = {
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}};
  for (const auto& [text, digest] : cases) {
    EXPECT_EQ(Digest(crypto_test::FromText(text), text.size()), digest);
    EXPECT_EQ(Digest(crypto_test::FromText(text), 1), digest);
  }
}

// Every CAVP message at once and in pieces of 37 bytes; those of 55 bytes (padding within one
// block), 56 and 63 (a second block) and 64 (a whole padding block) split at every position, so
// that the buffered part meets the padding at every offset.
TEST_P(Sha256Test, CavpShortAndLongMessages) {
  int around_a_block = 0;
  for (const char* file : {"SHA256ShortMsg.rsp", "SHA256LongMsg.rsp"}) {
    for (const auto& record : crypto_test::ReadResponseFile(std::string("hashes/SHA2/") + file)) {
      Bytes message = FromHex(record.at("Msg"));
      message.resize(std::stoul(record.at("Len")) / 8);  // "Len = 0" comes with "Msg = 00"
      SCOPED_TRACE(std::string(file) + " Len " + record.at("Len"));
      EXPECT_EQ(Digest(message, message.size()), record.at("MD"));
      EXPECT_EQ(Digest(message, 37), record.at("MD"));
      if (const std::size_t size = message.size();
          size == 55 || size == 56 || size == 63 || size == 64) {
        ++around_a_block;
        for (std::size_t split = 0; split <= size; ++split) {
          EXPECT_EQ(Digest(message, size, split), record.at("MD")) << "split at " << split;
        }
      }
    }
  }
  EXPECT_EQ(around_a_block, 4);
}

TEST_P(Sha256Test, HmacRfc4231) {
  for (const auto& record : crypto_test::ReadResponseFile("HMAC/rfc-4231-sha256.txt")) {
    const Bytes key = FromHex(record.at("Key")), message = FromHex(record.at("Msg"));
    std::uint8_t mac[32];
    CKHmacSHA256 hmac(key.data(), key.size());  // serves message after message
    for (int round = 0; round < 2; ++round) {
      for (std::uint8_t byte : message) {
        hmac.Update(&byte, 1);
      }
      hmac.Final(mac);
      EXPECT_EQ(ToHex(mac, 32), record.at("MD")) << key.size() << "-byte key, round " << round;
    }
  }
}

std::string Derive(std::string_view password, std::string_view salt, std::uint32_t iterations,
                   std::size_t length) {
  Bytes out(length + 1, 0xEE);
  PBKDF2_SHA256(password.data(), password.size(), salt.data(), salt.size(), iterations, out.data(),
                length);
  EXPECT_EQ(out.back(), 0xEE) << "wrote past the requested length";
  return ToHex(out.data(), length);
}

// RFC 7914 section 11, two blocks of output each; shorter outputs are prefixes (the last block
// is cut, not rounded). A count of 0 from a damaged header gives one iteration, not 2^32.
TEST_P(Sha256Test, Pbkdf2Rfc7914WholeCutAndWithoutIterations) {
  const std::string passwd =
      "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
      "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783";
  const std::string password =
      "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
      "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d";
  EXPECT_EQ(Derive("passwd", "salt", 1, 64), passwd);
  EXPECT_EQ(Derive("Password", "NaCl", 80000, 64), password);
  for (std::size_t length : {0u, 1u, 31u, 32u, 33u, 63u}) {
    EXPECT_EQ(Derive("passwd", "salt", 1, length), passwd.substr(0, 2 * length));
  }
  EXPECT_EQ(Derive("passwd", "salt", 0, 64), passwd);
}

// Random messages in random Update pieces, hashed and keyed; PBKDF2 with random passwords (most
// of them longer than a block), salts, counts and lengths.
TEST_P(Sha256Test, RandomInputsAgreeWithLibcrypto) {
  crypto_test::Random random;
  for (int round = 0; round < 300; ++round) {
    const Bytes message = random.Fill(random.Below(4097)), key = random.Fill(random.Below(150));
    Bytes expected(32), expected_mac(32), digest(32), mac(32);
    ASSERT_EQ(
        EVP_Digest(message.data(), message.size(), expected.data(), nullptr, EVP_sha256(), nullptr),
        1);
    ASSERT_NE(HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), message.data(),
                   message.size(), expected_mac.data(), nullptr),
              nullptr);
    CKCryptoSHA sha;
    CKHmacSHA256 hmac(key.data(), key.size());
    for (std::size_t at = 0, piece = 0; at < message.size(); at += piece) {
      piece = std::min(message.size() - at, random.Below(200));
      sha.Update(message.data() + at, piece);
      hmac.Update(message.data() + at, piece);
    }
    sha.Final(digest.data());
    hmac.Final(mac.data());
    ASSERT_EQ(digest, expected) << message.size() << " bytes";
    ASSERT_EQ(mac, expected_mac) << key.size() << "-byte key";
    HMAC_SHA256(key.data(), key.size(), message.data(), message.size(), mac.data());
    ASSERT_EQ(mac, expected_mac) << "at once";

    const Bytes& password = key;
    const Bytes salt = random.Fill(random.Below(100));
    const auto iterations = static_cast<int>(1 + random.Below(150));
    Bytes derived(1 + random.Below(130));
    PBKDF2_SHA256(password.data(), password.size(), salt.data(), salt.size(),
                  static_cast<std::uint32_t>(iterations), derived.data(), derived.size());
    ASSERT_EQ(derived, crypto_test::OpenSslPbkdf2(password, salt.data(), salt.size(), iterations,
                                                  derived.size()))
        << password.size() << "-byte password, " << salt.size() << "-byte salt, " << iterations
        << " iterations";
  }
}

}  // namespace
