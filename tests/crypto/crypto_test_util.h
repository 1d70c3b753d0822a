#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/cpu.h"

namespace crypto_test {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(std::string_view hex);
std::string ToHex(const std::uint8_t* data, std::size_t size);
inline std::string ToHex(const Bytes& bytes) {
  return ToHex(bytes.data(), bytes.size());
}
inline Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// One record of a NIST response file: its section ("ENCRYPT", "DECRYPT" or empty) and its
// NAME = VALUE fields.
struct Record {
  std::string section;
  std::map<std::string, std::string> fields;
  const std::string& Field(const std::string& name) const;
};

// Reads a .rsp file of the test vectors that python3-cryptography-vectors installs (path
// relative to its folder); fails the test if the file is missing or holds no record.
std::vector<Record> ReadResponseFile(const std::string& relative_path);

// Runs a test once on the processor's instructions (skipped where the processor lacks them)
// and once on the forced portable code.
enum class Path { Instructions, Portable };

template <bool crypto::CpuFeatures::*Feature>
class OnEachPath : public testing::TestWithParam<Path> {
 protected:
  void SetUp() override {
    const bool instructions = GetParam() == Path::Instructions;
    if (instructions && !(crypto::DetectedCpuFeatures().*Feature)) {
      GTEST_SKIP() << "this processor lacks the instructions";
    }
    previous_ = crypto::ForcePortableCrypto(!instructions);
    ASSERT_EQ(crypto::ActiveCpuFeatures().*Feature, instructions);
  }
  void TearDown() override { crypto::ForcePortableCrypto(previous_); }

 private:
  bool previous_ = false;
};

std::string PathName(const testing::TestParamInfo<Path>& info);

}  // namespace crypto_test

#define VQ_ON_EACH_PATH(Suite)                                                                     \
  INSTANTIATE_TEST_SUITE_P(                                                                        \
      Paths, Suite, testing::Values(crypto_test::Path::Instructions, crypto_test::Path::Portable), \
      crypto_test::PathName)
