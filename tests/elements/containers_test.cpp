#include <gtest/gtest.h>

#include "elements/ptr_array.h"
#include "elements/wipe_string.h"

namespace {

TEST(CKPtrArray, GrowthRule) {
  CKPtrArray<int*> array;
  const auto grow = [&array](std::uint32_t count) {
    array.SetCount(count);
    const std::uint32_t set = array.GetCapacity();
    array.Add(nullptr);
    return std::make_pair(set, array.GetCapacity());
  };
  EXPECT_EQ(grow(3), std::make_pair(3u, 7u));        // first storage exact; then at least 4 more
  EXPECT_EQ(grow(100), std::make_pair(100u, 112u));  // 7 + 4 is not enough: exact; then 100 / 8
  EXPECT_EQ(grow(20000).second, 21024u);             // at most 1,024 more
  EXPECT_EQ(grow(0).first, 0u);
  EXPECT_EQ(array[0], nullptr);

  CKPtrArray<int*> stepped;
  stepped.SetGrowBy(50);
  stepped.SetCount(1);
  stepped.Add(nullptr);
  EXPECT_EQ(stepped.GetCapacity(), 51u);
}

TEST(WipeString, BlanksTheWholeStorageAndEmpties) {
  std::u16string text = u"correct horse battery staple";
  text.resize(4);  // the rest of the text still sits in the storage
  const char16_t* storage = text.data();
  const std::size_t capacity = text.capacity();
  WipeString(text);
  EXPECT_TRUE(text.empty());
  ASSERT_EQ(text.data(), storage);  // no new storage: the old one was overwritten
  EXPECT_EQ(text.capacity(), capacity);
  // The string still owns the storage; its first character is now the terminator.
  EXPECT_EQ(std::u16string(storage + 1, capacity - 1), std::u16string(capacity - 1, u' '));

  std::u16string empty;
  WipeString(empty);
  EXPECT_TRUE(empty.empty());
}

}  // namespace
