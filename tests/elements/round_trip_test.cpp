// Random trees written and read back, byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "element_bytes.h"
#include "elements/tlv_array.h"

namespace {

// Arrays get tag 0 or a root tag, which the schema check always passes.
CKTLV* RandomElement(std::mt19937& random, int depth) {
  const auto pick = [&random](std::uint32_t below) {
    return std::uniform_int_distribution<std::uint32_t>(0, below - 1)(random);
  };
  const std::uint32_t kind = pick(depth < 6 ? 6 : 5);
  const std::uint32_t tag = pick(4) == 0 ? pick(0x100000) : pick(64);
  // Byte blocks (kinds 3 and 4) sometimes have type codes that no class knows.
  const std::uint8_t types[] = {
      TLV_DWORD, TLV_DWORD64, TLV_STRING, TLV_BINARY, static_cast<std::uint8_t>(6 + pick(10)),
      TLV_ARRAY};
  CKTLV* element = CreateElement(kind != 5      ? tag
                                 : pick(2) == 0 ? 0
                                                : 0x8000 + pick(2),
                                 types[kind]);
  if (kind == 0) {
    element->SetDword(random());
  } else if (kind == 1) {
    element->SetDword64(random(), random());
  } else if (kind == 2) {
    std::u16string text(pick(4) == 0 ? pick(32768) : pick(20), u'\0');
    for (char16_t& c : text) {
      c = static_cast<char16_t>(1 + pick(0xFFFF));
    }
    element->SetString(text.c_str());
  } else if (kind < 5) {
    const std::uint32_t size = pick(8) == 0 ? pick(70000) : pick(300);
    auto* data = static_cast<std::uint8_t*>(element->GetBuffer(size));
    for (std::uint32_t i = 0; i < size; ++i) {
      data[i] = static_cast<std::uint8_t>(random());
    }
  } else {
    for (std::uint32_t i = pick(depth > 3 ? 4 : 9); i > 0; --i) {
      static_cast<CKTLVARRAY*>(element)->AddChild(RandomElement(random, depth + 1));
    }
  }
  return element;
}

TEST(RoundTrip, RandomTreesReadBackEqual) {
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    std::mt19937 random(seed);
    CKTLVARRAY tree;
    for (int i = 0; i < 8; ++i) {
      tree.AddChild(RandomElement(random, 1));
    }
    bool written = false;
    const test::Bytes bytes = test::ElementBytes(tree, &written);
    ASSERT_TRUE(written) << "seed " << seed;
    auto back = test::ReadElement(bytes);
    ASSERT_TRUE(back.ok) << "seed " << seed;
    EXPECT_EQ(back.consumed, bytes.size()) << "seed " << seed;
    EXPECT_TRUE(test::ElementBytes(*back.element) == bytes) << "seed " << seed;
  }
}

}  // namespace
