#include "elements/tlv_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "element_bytes.h"
#include "elements/scalars.h"
#include "elements/tags.h"

namespace {

using test::Bytes;
using ::testing::ElementsAre;

CKTLV* String(std::uint32_t tag, const char16_t* value) {
  CKTLV* element = CreateElement(tag, TLV_STRING);
  element->SetString(value);
  return element;
}

CKTLV* Number(std::uint32_t tag, std::uint32_t value) {
  CKTLV* element = CreateElement(tag, TLV_DWORD);
  element->SetDword(value);
  return element;
}

// A stream of count empty arrays with tag 0, each inside the one before.
Bytes NestedArrays(int count) {
  Bytes bytes;
  for (int i = 0; i < count; ++i) {
    bytes.insert(bytes.end(), {0x00, 0x00, 0x00, 0x10, static_cast<std::uint8_t>(i + 1 < count)});
  }
  return bytes;
}

int Depth(const CKTLV* element) {
  int depth = 0;
  while (element != nullptr) {
    ++depth;
    const auto* array = dynamic_cast<const CKTLVARRAY*>(element);
    element = array != nullptr && array->GetChildCount() != 0 ? array->GetChild(0) : nullptr;
  }
  return depth;
}

TEST(Array, EmptyAndCountWidths) {
  CKTLVARRAY empty;
  EXPECT_THAT(test::ElementBytes(empty), ElementsAre(0x00, 0x00, 0x00, 0x10, 0x00));
  auto back = test::ReadElement(Bytes{0x00, 0x00, 0x00, 0x10, 0x00});
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.element->GetSize(), 0u);

  CKTLVARRAY wide;
  for (int i = 0; i < 256; ++i) {
    wide.AddChild(Number(1, i));
  }
  const Bytes bytes = test::ElementBytes(wide);
  EXPECT_THAT(Bytes(bytes.begin(), bytes.begin() + 6), ElementsAre(0, 0, 0, 0x20, 0x00, 0x01));
  auto read = test::ReadElement(bytes);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.element->GetSize(), 256u);
}

TEST(Array, DuplicateTagsUseTheFirstAndKeepTheSecond) {
  CKTLVARRAY array;
  array.AddChild(String(TAG_NAME, u"first"));
  array.AddChild(String(TAG_NAME, u"second"));
  std::u16string value;
  ASSERT_TRUE(array.GetStringByTag(TAG_NAME, value));
  EXPECT_EQ(value, u"first");
  ASSERT_TRUE(array.SetStringByTag(TAG_NAME, u"changed"));

  auto back = test::ReadElement(test::ElementBytes(array));
  ASSERT_TRUE(back.ok);
  auto& read = static_cast<CKTLVARRAY&>(*back.element);
  ASSERT_EQ(read.GetChildCount(), 2u);
  read.GetChild(0)->GetString(value);
  EXPECT_EQ(value, u"changed");
  read.GetChild(1)->GetString(value);
  EXPECT_EQ(value, u"second");
}

TEST(Array, ByTagOperationsNeverCreateOrConvert) {
  CKTLVARRAY array;
  array.AddChild(String(TAG_NAME, u"n"));
  array.AddChild(Number(TAG_ICON, 10));
  EXPECT_FALSE(array.SetDwordByTag(TAG_CREATED, 5));
  EXPECT_FALSE(array.SetStringByTag(TAG_TEXT, u"x"));
  EXPECT_EQ(array.GetChildCount(), 2u);

  std::uint32_t number = 77;
  EXPECT_FALSE(array.GetDwordByTag(TAG_NAME, number));
  EXPECT_FALSE(array.GetDwordByTag(TAG_CREATED, number));
  EXPECT_EQ(number, 77u);
  EXPECT_TRUE(array.SetDwordByTag(TAG_ICON, 20));
  EXPECT_TRUE(array.GetDwordByTag(TAG_ICON, number));
  EXPECT_EQ(number, 20u);
  EXPECT_TRUE(array.HasChild(TAG_ICON));
  EXPECT_FALSE(array.HasChild(TAG_URL));
}

TEST(Array, CollectByTypeKeepsOwnership) {
  CKTLVARRAY array;
  array.AddChild(Number(1, 1));
  array.AddChild(String(2, u"s"));
  array.AddChild(Number(3, 3));
  CKPtrArray<CKTLV*> found;
  EXPECT_TRUE(array.CollectByType(TLV_DWORD, found));
  ASSERT_EQ(found.GetCount(), 2u);
  EXPECT_EQ(found[0]->GetTag(), 1u);
  EXPECT_EQ(found[1]->GetTag(), 3u);
  EXPECT_EQ(array.GetChildCount(), 3u);
}

TEST(Array, AddRemoveAndMove) {
  CKTLVARRAY source;
  CKTLVARRAY target;
  target.AddChild(Number(1, 1));
  CKTLV* child = Number(2, 2);
  EXPECT_FALSE(source.AddChild(nullptr));
  ASSERT_TRUE(source.AddChild(child));
  EXPECT_EQ(child->GetParent(), &source);
  EXPECT_FALSE(target.AddChild(child));  // held by source already

  EXPECT_TRUE(source.MoveChild(child, target));
  EXPECT_EQ(source.GetChildCount(), 0u);
  ASSERT_EQ(target.GetChildCount(), 2u);
  EXPECT_EQ(target.GetChild(1), child);
  EXPECT_EQ(child->GetParent(), &target);
  EXPECT_FALSE(source.MoveChild(child, target));
  EXPECT_FALSE(source.RemoveChild(child));
  EXPECT_TRUE(target.RemoveChild(child));
  EXPECT_EQ(target.GetChildCount(), 1u);
  target.RemoveAllChildren();
  EXPECT_EQ(target.GetChildCount(), 0u);
}

TEST(Array, ANewEntryThatKnowsItsParentCanBeAdded) {
  CKTLVARRAY folder;
  auto* entry = new CKTLVARRAY;
  entry->SetParent(&folder);  // as a new entry is made, before it is added
  EXPECT_TRUE(folder.AddChild(entry));
  EXPECT_EQ(folder.GetChildCount(), 1u);
}

TEST(Array, NoArrayCanHoldItselfOrAnArrayAboveIt) {
  CKTLVARRAY root;
  auto* folder = new CKTLVARRAY;
  auto* inner = new CKTLVARRAY;
  root.AddChild(folder);
  folder->AddChild(inner);
  EXPECT_FALSE(root.AddChild(&root));
  EXPECT_FALSE(root.MoveChild(folder, *inner));
  EXPECT_FALSE(root.MoveChild(folder, *folder));
  EXPECT_EQ(folder->GetParent(), &root);
  EXPECT_TRUE(folder->MoveChild(inner, root));  // up is fine
  EXPECT_EQ(root.GetChildCount(), 2u);
  EXPECT_TRUE(root.MoveChild(folder, root));  // to its own end
  EXPECT_EQ(root.GetChild(1), folder);
}

TEST(Array, AStreamCutInsideAChildKeepsTheChildrenBeforeIt) {
  // Count 5, three whole children, then the padding zeros of the enciphered stream.
  Bytes bytes = {0x05, 0x03, 0x01, 0x00, 0x00, 1,    0,    0,    0,    0x03, 0x02, 0x00,
                 0x00, 2,    0,    0,    0,    0x11, 0x03, 0x00, 0x10, 0x02, 0x41, 0x00};
  test::ZeroPaddedStream stream(bytes);
  CKTLVARRAY array;
  array.SetHeaderWord(0x10000000);
  EXPECT_TRUE(array.Read(stream));  // tag 0 requires nothing
  EXPECT_EQ(array.GetChildCount(), 3u);

  // The same tree as a folder lacks required fields: the cut makes it fail.
  test::ZeroPaddedStream again(bytes);
  CKTLVARRAY folder;
  folder.SetHeaderWord(0x10000000 | (ENTRY_FOLDER << 8));
  EXPECT_FALSE(folder.Read(again));
  EXPECT_EQ(folder.GetChildCount(), 3u);
}

TEST(Array, AFailedChildDropsEverythingAfterIt) {
  // Count 3: a number, an odd-length string with a payload that looks like an element, a number.
  const Bytes bytes = {0x00, 0x00, 0x00, 0x10, 0x03, 0x03, 0x01, 0x00, 0x00, 1,    0, 0,
                       0,    0x11, 0x02, 0x00, 0x10, 0x09, 0x03, 0x05, 0x00, 0x00, 9, 9,
                       9,    9,    0,    0x03, 0x03, 0x00, 0x00, 3,    0,    0,    0};
  auto back = test::ReadElement(bytes);
  ASSERT_TRUE(back.ok);
  auto& array = static_cast<CKTLVARRAY&>(*back.element);
  ASSERT_EQ(array.GetChildCount(), 1u);
  EXPECT_FALSE(array.HasChild(5));  // the payload was never taken for an element
  EXPECT_FALSE(array.HasChild(3));
}

TEST(Array, ACountAboveTheLimitFailsAtOnce) {
  auto back = test::ReadElement(Bytes{0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x01});
  EXPECT_FALSE(back.ok);
}

TEST(Array, ADeclaredCountReservesNothing) {
  auto back = test::ReadElement(Bytes{0x00, 0x00, 0x00, 0x30, 0xFF, 0xFF, 0xFF, 0x00});
  ASSERT_TRUE(back.ok);
  auto* array = static_cast<CKPtrAutoArray<CKTLV*>*>(back.element->GetBuffer(0));
  EXPECT_EQ(array->GetCount(), 0u);
  EXPECT_EQ(array->GetCapacity(), 0u);
}

TEST(Array, NestingIsLimitedTo1024Levels) {
  auto deepest = test::ReadElement(NestedArrays(CKTLVARRAY::kMaxDepth));
  ASSERT_TRUE(deepest.ok);
  EXPECT_EQ(Depth(deepest.element.get()), 1024);

  // One level more: the innermost array fails and its parent drops it.
  auto deeper = test::ReadElement(NestedArrays(CKTLVARRAY::kMaxDepth + 1));
  ASSERT_TRUE(deeper.ok);
  EXPECT_EQ(Depth(deeper.element.get()), 1024);
  // Far deeper input does not run the stack out.
  auto crafted = test::ReadElement(NestedArrays(200000));
  EXPECT_EQ(Depth(crafted.element.get()), 1024);

  // A tree that could not be read back is not written either.
  CKTLVARRAY root;
  CKTLVARRAY* last = &root;
  for (int i = 1; i < CKTLVARRAY::kMaxDepth + 1; ++i) {
    auto* next = new CKTLVARRAY;
    last->AddChild(next);
    last = next;
  }
  bool ok = true;
  test::ElementBytes(root, &ok);
  EXPECT_FALSE(ok);
  last->GetParent()->RemoveChild(last);
  test::ElementBytes(root, &ok);
  EXPECT_TRUE(ok);
}

TEST(Array, StreamErrorsBecomeFalse) {
  CKTLVARRAY array;
  array.AddChild(Number(1, 1));
  const Bytes bytes = test::ElementBytes(array);
  test::ThrowingStream stream(Bytes(bytes.begin() + 4, bytes.end()));
  stream.limit = 3;
  CKTLVARRAY read;
  read.SetHeaderWord(0x10000000);
  EXPECT_FALSE(read.Read(stream));
  test::ThrowingStream output;
  output.limit = 2;
  EXPECT_FALSE(array.Write(output));
}

}  // namespace
