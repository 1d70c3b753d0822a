#include "elements/wipe_string.h"

#include <gtest/gtest.h>

namespace {

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
  const std::u16string left(storage + 1, capacity - 1);
  EXPECT_EQ(left, std::u16string(capacity - 1, u' '));
  EXPECT_TRUE(storage[0] == u'\0' || storage[0] == u' ');
}

TEST(WipeString, ShortAndEmptyStrings) {
  std::u16string empty;
  WipeString(empty);
  EXPECT_TRUE(empty.empty());
  std::u16string shortText = u"pin";
  WipeString(shortText);
  EXPECT_TRUE(shortText.empty());
}

}  // namespace
