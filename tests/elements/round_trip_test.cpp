// Random trees written and read back equal, byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "element_bytes.h"
#include "elements/scalars.h"
#include "elements/tlv_array.h"

namespace {

using test::Bytes;

class TreeMaker {
 public:
  explicit TreeMaker(std::uint32_t seed) : random_(seed) {}

  // An array with tag 0 (which the schema check always passes) or a root tag.
  CKTLVARRAY* MakeArray(int depth) {
    auto* array = new CKTLVARRAY;
    array->SetTag(Pick(2) == 0 ? 0 : 0x8000 + Pick(2));
    const int children = static_cast<int>(Pick(depth > 3 ? 4 : 9));
    for (int i = 0; i < children; ++i) {
      array->AddChild(MakeElement(depth + 1));
    }
    return array;
  }

 private:
  std::uint32_t Pick(std::uint32_t below) {
    return std::uniform_int_distribution<std::uint32_t>(0, below - 1)(random_);
  }

  CKTLV* MakeElement(int depth) {
    const std::uint32_t tag = Pick(4) == 0 ? Pick(0x100000) : Pick(64);
    switch (Pick(depth < 6 ? 6 : 5)) {
      case 0: {
        CKTLV* element = CreateElement(tag, TLV_DWORD);
        element->SetDword(random_());
        return element;
      }
      case 1: {
        CKTLV* element = CreateElement(tag, TLV_DWORD64);
        element->SetDword64(random_(), random_());
        return element;
      }
      case 2: {
        std::u16string text(Pick(4) == 0 ? Pick(32768) : Pick(20), u'\0');
        for (char16_t& c : text) {
          c = static_cast<char16_t>(1 + Pick(0xFFFF));
        }
        CKTLV* element = CreateElement(tag, TLV_STRING);
        element->SetString(text.c_str());
        return element;
      }
      case 3:
      case 4: {
        // Byte blocks, some with type codes that no class knows.
        const auto type =
            static_cast<std::uint8_t>(Pick(2) == 0 ? std::uint32_t{TLV_BINARY} : 6 + Pick(10));
        CKTLV* element = CreateElement(tag, type);
        const std::uint32_t size = Pick(8) == 0 ? Pick(70000) : Pick(300);
        auto* data = static_cast<std::uint8_t*>(element->GetBuffer(size));
        for (std::uint32_t i = 0; i < size; ++i) {
          data[i] = static_cast<std::uint8_t>(random_());
        }
        return element;
      }
      default:
        return MakeArray(depth);
    }
  }

  std::mt19937 random_;
};

::testing::AssertionResult SameTree(const CKTLV& a, const CKTLV& b) {
  if (a.GetType() != b.GetType() || a.GetTag() != b.GetTag() || a.GetSize() != b.GetSize()) {
    return ::testing::AssertionFailure() << "element of tag " << a.GetTag() << " differs";
  }
  const auto* array_a = dynamic_cast<const CKTLVARRAY*>(&a);
  const auto* array_b = dynamic_cast<const CKTLVARRAY*>(&b);
  if ((array_a == nullptr) != (array_b == nullptr)) {
    return ::testing::AssertionFailure() << "class differs at tag " << a.GetTag();
  }
  if (array_a != nullptr) {
    for (std::uint32_t i = 0; i < array_a->GetChildCount(); ++i) {
      if (array_b->GetChild(i)->GetParent() != array_b) {
        return ::testing::AssertionFailure() << "child without its parent";
      }
      if (auto same = SameTree(*array_a->GetChild(i), *array_b->GetChild(i)); !same) {
        return same;
      }
    }
    return ::testing::AssertionSuccess();
  }
  std::u16string text_a;
  std::u16string text_b;
  std::uint64_t wide_a = 0;
  std::uint64_t wide_b = 0;
  std::uint32_t number_a = 0;
  std::uint32_t number_b = 0;
  const std::uint8_t* data_a = nullptr;
  const std::uint8_t* data_b = nullptr;
  std::uint32_t size_a = 0;
  std::uint32_t size_b = 0;
  const bool same = a.GetString(text_a) == b.GetString(text_b) && text_a == text_b &&
                    a.GetDword64(wide_a) == b.GetDword64(wide_b) && wide_a == wide_b &&
                    a.GetDword(number_a) == b.GetDword(number_b) && number_a == number_b &&
                    a.GetBinary(data_a, size_a) == b.GetBinary(data_b, size_b) &&
                    size_a == size_b && (size_a == 0 || std::memcmp(data_a, data_b, size_a) == 0);
  return same ? ::testing::AssertionSuccess()
              : ::testing::AssertionFailure() << "value of tag " << a.GetTag() << " differs";
}

TEST(RoundTrip, RandomTreesReadBackEqual) {
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    TreeMaker maker(seed);
    std::unique_ptr<CKTLVARRAY> tree(maker.MakeArray(0));
    bool written = false;
    const Bytes bytes = test::ElementBytes(*tree, &written);
    ASSERT_TRUE(written) << "seed " << seed;
    auto back = test::ReadElement(bytes);
    ASSERT_TRUE(back.ok) << "seed " << seed;
    EXPECT_EQ(back.consumed, bytes.size()) << "seed " << seed;
    EXPECT_TRUE(SameTree(*tree, *back.element)) << "seed " << seed;
    EXPECT_EQ(test::ElementBytes(*back.element), bytes) << "seed " << seed;
  }
}

TEST(RoundTrip, ThroughAZeroPaddedStream) {
  TreeMaker maker(99);
  std::unique_ptr<CKTLVARRAY> tree(maker.MakeArray(0));
  const Bytes bytes = test::ElementBytes(*tree);
  test::ZeroPaddedStream stream(bytes);
  auto back = test::ReadElement(stream);
  ASSERT_TRUE(back.ok);
  EXPECT_TRUE(SameTree(*tree, *back.element));
}

}  // namespace
