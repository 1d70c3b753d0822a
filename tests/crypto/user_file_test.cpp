#include "crypto/user_file.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "crypto/random.h"
#include "crypto_test_util.h"

// The key operations of a user file, with OpenSSL's PBKDF2 as the oracle.

namespace {

using crypto_test::Bytes;

Bytes OpenSslPbkdf2(const Bytes& password, const std::uint8_t* salt, int iterations) {
  Bytes out(32);
  PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(password.data()),
                    static_cast<int>(password.size()), salt, 32, iterations, EVP_sha256(), 32,
                    out.data());
  return out;
}

Bytes Utf16Le(std::u16string_view text) {
  Bytes bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

TEST(UserFileKeys, NewHeaderBeginsWithTheFormatBytes) {
  const CKUserFileKeys keys;
  const Bytes begin(keys.GetHeader().begin(), keys.GetHeader().begin() + 12);
  EXPECT_EQ(crypto_test::ToHex(begin),
            "5651444201"
            "3c0000"
            "0101ff3f");
  EXPECT_EQ(keys.CheckHeader(), userfile::kOpened);
  for (std::size_t i = 12; i < userfile::kHeaderSize; ++i) {
    EXPECT_EQ(keys.GetHeader()[i], 0) << i;
  }
}

TEST(UserFileKeys, KeyAndVerifierAreThoseOfPbkdf2) {
  CKUserFileKeys keys;
  keys.NewSalt();
  keys.SetIterations(1000);
  const std::u16string password = u"p\u00e4ssw\u00f6rd \U0001F511";
  keys.SetPassword(password);
  const Bytes key = OpenSslPbkdf2(Utf16Le(password), keys.GetSalt().data(), 1000);
  EXPECT_EQ(Bytes(keys.GetKey().begin(), keys.GetKey().end()), key);
  EXPECT_EQ(Bytes(keys.GetVerifier().begin(), keys.GetVerifier().end()),
            OpenSslPbkdf2(key, keys.GetSalt().data(), 3));
  EXPECT_TRUE(keys.CheckPassword(password));
  EXPECT_FALSE(keys.CheckPassword(u"p\u00e4ssw\u00f6rd"));
  EXPECT_TRUE(keys.VerifierEquals(keys.GetVerifier()));
}

TEST(UserFileKeys, IterationCountZeroDerivesAsOne) {
  CKUserFileKeys keys;
  keys.SetIterations(0);
  keys.SetPassword(u"x");
  const Bytes key = OpenSslPbkdf2(Utf16Le(u"x"), keys.GetSalt().data(), 1);
  EXPECT_EQ(Bytes(keys.GetKey().begin(), keys.GetKey().end()), key);
}

void FixedFigures(EntropyBlock& block) {
  block.fill(7);
}

TEST(UserFileKeys, SaltAndIVAreFreshEveryTime) {
  // Even with the machine figures pinned, the system's bytes make each draw new.
  const EntropyGatherer previous = InstallEntropyGatherer(&FixedFigures);
  CKUserFileKeys keys;
  keys.NewSalt();
  keys.NewIV();
  const userfile::Header first = keys.GetHeader();
  keys.NewSalt();
  keys.NewIV();
  InstallEntropyGatherer(previous);
  const userfile::Header second = keys.GetHeader();
  EXPECT_FALSE(std::equal(first.begin() + 12, first.begin() + 44, second.begin() + 12));
  EXPECT_FALSE(std::equal(first.begin() + 44, first.end(), second.begin() + 44));
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + 12, second.begin()));
}

TEST(UserFileKeys, WrittenHeaderHasThisFormatsBytesAndKeepsTheRest) {
  CKUserFileKeys keys;
  userfile::Header header{};
  for (std::size_t i = 0; i < header.size(); ++i) {
    header[i] = static_cast<std::uint8_t>(i);
  }
  keys.SetHeader(header);
  const userfile::Header written = keys.HeaderToWrite();
  EXPECT_EQ(crypto_test::ToHex(Bytes(written.begin(), written.begin() + 10)),
            "56514442013c00000101");
  EXPECT_TRUE(std::equal(written.begin() + 10, written.end(), header.begin() + 10));
}

}  // namespace
