#include "crypto/pbkdf2.h"

#include <gtest/gtest.h>

#include "crypto/sha256.h"
#include "crypto_test_util.h"

namespace {

using crypto_test::Bytes;
using crypto_test::FromText;
using crypto_test::ToHex;

class Pbkdf2Test : public crypto_test::OnEachPath<&crypto::CpuFeatures::sha> {};
VQ_ON_EACH_PATH(Pbkdf2Test);

std::string Derive(const Bytes& password, const Bytes& salt, std::uint32_t iterations,
                   std::size_t length) {
  Bytes out(length + 1, 0xEE);
  PBKDF2_SHA256(password.data(), password.size(), salt.data(), salt.size(), iterations, out.data(),
                length);
  EXPECT_EQ(out.back(), 0xEE) << "wrote past the requested length";
  out.pop_back();
  return ToHex(out);
}

// RFC 7914 section 11: two blocks of output each.
const std::string kPasswd =
    "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
    "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783";
const std::string kPassword =
    "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
    "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d";

TEST_P(Pbkdf2Test, Rfc7914VectorsWholeAndCut) {
  EXPECT_EQ(Derive(FromText("passwd"), FromText("salt"), 1, 64), kPasswd);
  EXPECT_EQ(Derive(FromText("Password"), FromText("NaCl"), 80000, 64), kPassword);
  // Shorter outputs are prefixes; the last block is cut, not rounded.
  for (std::size_t length : {1u, 31u, 32u, 33u, 40u, 63u}) {
    EXPECT_EQ(Derive(FromText("passwd"), FromText("salt"), 1, length),
              kPasswd.substr(0, 2 * length));
  }
  EXPECT_EQ(Derive(FromText("Password"), FromText("NaCl"), 80000, 40), kPassword.substr(0, 80));
}

TEST_P(Pbkdf2Test, PasswordLongerThanABlockActsAsItsDigest) {
  for (std::size_t size : {65u, 100u, 1000u}) {
    Bytes password(size);
    for (std::size_t i = 0; i < size; ++i) {
      password[i] = static_cast<std::uint8_t>(i * 13 + 1);
    }
    CKCryptoSHA sha;
    sha.Update(password.data(), password.size());
    Bytes digest(32);
    sha.Final(digest.data());
    EXPECT_EQ(Derive(password, FromText("salt"), 3, 50), Derive(digest, FromText("salt"), 3, 50));
  }
}

// A damaged header could carry a count of 0; it must give one iteration, not 2^32.
TEST_P(Pbkdf2Test, ZeroIterationsCountAsOne) {
  EXPECT_EQ(Derive(FromText("passwd"), FromText("salt"), 0, 64), kPasswd);
}

TEST_P(Pbkdf2Test, NoOutputRequestedWritesNothing) {
  EXPECT_EQ(Derive({}, {}, 2, 0), "");
}

}  // namespace
