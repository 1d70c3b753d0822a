#include "platform/secure_zero.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

TEST(SecureZero, ClearsExactlyTheGivenRange) {
  std::array<std::uint8_t, 8> bytes{1, 2, 3, 4, 5, 6, 7, 8};
  platform::SecureZero(bytes.data() + 2, 4);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{1, 2, 0, 0, 0, 0, 7, 8}));
  platform::SecureZero(nullptr, 4);  // tolerated
}

}  // namespace
