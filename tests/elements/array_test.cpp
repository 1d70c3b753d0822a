#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "element_bytes.h"
#include "elements/scalars.h"
#include "elements/schema.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"

namespace {

using test::Bytes;
using Fields = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

CKTLV* Make(std::uint32_t tag, std::uint8_t type, std::uint32_t number = 0,
            const char16_t* text = u"") {
  CKTLV* element = CreateElement(tag, type);
  type == TLV_STRING ? element->SetString(text) : element->SetDword(number);
  return element;
}

TEST(Array, ChildrenByTag) {
  CKTLVARRAY array;
  array.AddChild(Make(TAG_NAME, TLV_STRING, 0, u"first"));
  array.AddChild(Make(TAG_NAME, TLV_STRING, 0, u"second"));
  array.AddChild(Make(TAG_ICON, TLV_DWORD, 10));
  // Duplicate tags: the first is used, the second kept.
  ASSERT_TRUE(array.SetStringByTag(TAG_NAME, u"changed"));
  auto back = test::ReadElement(test::ElementBytes(array));
  ASSERT_TRUE(back.ok);
  auto& read = static_cast<CKTLVARRAY&>(*back.element);
  std::u16string first;
  std::u16string second;
  ASSERT_TRUE(read.GetStringByTag(TAG_NAME, first) && read.GetChild(1)->GetString(second));
  EXPECT_EQ(first + u"," + second, u"changed,second");
  EXPECT_EQ(read.GetChild(2)->GetParent(), &read);

  // Nothing is created or converted.
  EXPECT_FALSE(array.SetDwordByTag(TAG_CREATED, 5));
  EXPECT_FALSE(array.SetStringByTag(TAG_TEXT, u"x"));
  std::uint32_t number = 77;
  EXPECT_FALSE(array.GetDwordByTag(TAG_NAME, number));
  EXPECT_TRUE(array.SetDwordByTag(TAG_ICON, 20) && array.GetDwordByTag(TAG_ICON, number));
  EXPECT_EQ(number, 20u);

  CKPtrArray<CKTLV*> found;
  EXPECT_TRUE(array.CollectByType(TLV_STRING, found));
  ASSERT_EQ(found.GetCount(), 2u);
  EXPECT_EQ(found[1], array.GetChild(1));
  EXPECT_EQ(array.GetChildCount(), 3u);  // the array keeps them
}

TEST(Array, AddRemoveAndMove) {
  CKTLVARRAY root;
  auto* folder = new CKTLVARRAY;
  auto* inner = new CKTLVARRAY;
  inner->SetParent(folder);  // as a new entry is made, before it is added
  EXPECT_FALSE(root.AddChild(nullptr));
  ASSERT_TRUE(root.AddChild(folder));
  ASSERT_TRUE(folder->AddChild(inner));
  EXPECT_FALSE(root.AddChild(inner));  // held by the folder already
  // No array can hold itself or an array above it.
  EXPECT_FALSE(root.AddChild(&root));
  EXPECT_FALSE(root.MoveChild(folder, *inner));
  EXPECT_FALSE(root.MoveChild(folder, *folder));
  EXPECT_EQ(folder->GetParent(), &root);

  EXPECT_TRUE(folder->MoveChild(inner, root));
  EXPECT_EQ(folder->GetChildCount(), 0u);
  EXPECT_EQ(inner->GetParent(), &root);
  EXPECT_FALSE(folder->MoveChild(inner, root));
  EXPECT_FALSE(folder->RemoveChild(inner));
  EXPECT_TRUE(root.MoveChild(folder, root));  // to its own end
  EXPECT_EQ(root.GetChild(1), folder);
  EXPECT_TRUE(root.RemoveChild(inner));
  EXPECT_EQ(root.GetChildCount(), 1u);
}

TEST(Array, ADeclaredCountReservesLittle) {
  // A declared count of 16 million with nothing after it reserves what a usual entry needs.
  auto back = test::ReadElement(Bytes{0x00, 0x00, 0x00, 0x30, 0xFF, 0xFF, 0xFF, 0x00});
  ASSERT_TRUE(back.ok);
  auto* children = static_cast<CKPtrAutoArray<CKTLV*>*>(back.element->GetBuffer(0));
  EXPECT_LE(children->GetCapacity(), 16u);
}

TEST(Array, AStreamCutInsideAChildKeepsTheChildrenBeforeIt) {
  // Count 5, three whole children, then the padding zeros of the enciphered stream.
  Bytes bytes = {0x00, 0x00, 0x00, 0x10, 0x05, 0x03, 0x01, 0x00, 0x00, 1,
                 0,    0,    0,    0x03, 0x02, 0x00, 0x00, 2,    0,    0,
                 0,    0x11, 0x03, 0x00, 0x10, 0x02, 0x41, 0x00};
  bytes.resize(bytes.size() + 16);
  auto back = test::ReadElement(bytes);
  EXPECT_TRUE(back.ok);  // tag 0 requires nothing
  EXPECT_EQ(back.element->GetSize(), 3u);
  EXPECT_FALSE(back.element->AsArray()->IsWhole());
  bytes[4] = 3;  // the three are all it declares
  EXPECT_TRUE(test::ReadElement(bytes).element->AsArray()->IsWhole());
  bytes[4] = 5;
  // The same tree as a folder lacks required fields: the cut makes it fail.
  bytes[1] = ENTRY_FOLDER & 0xFF;
  bytes[2] = ENTRY_FOLDER >> 8;
  back = test::ReadElement(bytes);
  EXPECT_FALSE(back.ok);
  EXPECT_EQ(back.element->GetSize(), 3u);
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
}

TEST(Array, NestingIsLimitedTo1024Levels) {
  // count empty arrays with tag 0, each inside the one before.
  const auto nested = [](int count) {
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
      bytes.insert(bytes.end(), {0, 0, 0, 0x10, static_cast<std::uint8_t>(i + 1 < count)});
    }
    return bytes;
  };
  const Bytes deepest = nested(CKTLVARRAY::kMaxDepth);
  // One level more: the innermost array fails and its parent drops it. Far deeper input does
  // not run the stack out.
  for (const int levels : {CKTLVARRAY::kMaxDepth, CKTLVARRAY::kMaxDepth + 1, 200000}) {
    auto back = test::ReadElement(nested(levels));
    ASSERT_TRUE(back.ok) << levels;
    EXPECT_TRUE(test::ElementBytes(*back.element) == deepest) << levels;
  }

  // A tree that could not be read back is not written either.
  CKTLVARRAY root;
  CKTLVARRAY* last = &root;
  for (int i = 0; i < CKTLVARRAY::kMaxDepth; ++i) {
    auto* next = new CKTLVARRAY;
    last->AddChild(next);
    last = next;
  }
  bool ok = true;
  test::ElementBytes(root, &ok);
  EXPECT_FALSE(ok);
  last->GetParent()->RemoveChild(last);
  EXPECT_TRUE(test::ElementBytes(root, &ok) == deepest && ok);
}

TEST(CheckSchema, EachKindNeedsItsFields) {
  const Fields note = {
      {TAG_NAME, TLV_STRING},      {TAG_TEXT, TLV_STRING},    {TAG_LOGIN, TLV_STRING},
      {TAG_PASSWORD, TLV_STRING},  {TAG_URL, TLV_STRING},     {TAG_EMAIL, TLV_STRING},
      {TAG_CREATED, TLV_DWORD},    {TAG_MODIFIED, TLV_DWORD}, {TAG_RESERVED_21, TLV_DWORD},
      {TAG_RESERVED_1, TLV_DWORD}, {TAG_ICON, TLV_DWORD}};
  Fields note_lacking = note;
  note_lacking.erase(note_lacking.begin() + 8);
  const auto attachment = [](std::uint8_t data_type) {
    return Fields{{TAG_FILE_NAME, TLV_STRING},    {TAG_FILE_SIZE, TLV_DWORD},
                  {TAG_FILE_DATA, data_type},     {TAG_FILE_CREATED, TLV_DWORD},
                  {TAG_FILE_MODIFIED, TLV_DWORD}, {TAG_ICON, TLV_DWORD}};
  };
  const struct {
    std::uint32_t kind;
    Fields fields;
    bool ok;
  } cases[] = {
      {ENTRY_FOLDER, {{TAG_NAME, TLV_STRING}, {TAG_TEXT, TLV_STRING}, {TAG_ICON, TLV_DWORD}}, true},
      {ENTRY_FOLDER, {{TAG_NAME, TLV_STRING}, {TAG_TEXT, TLV_STRING}}, false},
      {ENTRY_NOTE, note, true},
      {ENTRY_NOTE, note_lacking, false},
      {SETTING_TEXT, {{TAG_NAME, TLV_STRING}, {TAG_TEXT_VALUE, TLV_STRING}}, true},
      {SETTING_TEXT, {{TAG_NAME, TLV_DWORD64}, {TAG_TEXT_VALUE, TLV_STRING}}, false},
      {SETTING_NUMBER, {{TAG_NAME, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_DWORD}}, true},
      // Only the first child with a tag counts.
      {SETTING_NUMBER,
       {{TAG_NAME, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_DWORD}},
       false},
      {ENTRY_ATTACHMENT, attachment(0x42), true},  // any block type holds the data
      {ENTRY_ATTACHMENT, attachment(TLV_STRING), false},
      {ENTRY_UP, {{TAG_ICON, TLV_DWORD}}, false},
      {0x8070, {}, false},
  };
  for (const auto& c : cases) {
    CKTLVARRAY entry;
    entry.SetTag(c.kind);
    for (const auto& [tag, type] : c.fields) {
      entry.AddChild(CreateElement(tag, type));
    }
    EXPECT_EQ(CheckSchema(entry), c.ok) << std::hex << c.kind;
  }
}

}  // namespace
