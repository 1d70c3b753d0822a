#include "elements/tlv.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "element_bytes.h"
#include "elements/scalars.h"
#include "elements/tlv_array.h"

namespace {

using test::Bytes;
using ::testing::ElementsAre;

TEST(Element, ByteExamples) {
  CKTLVSTRING text;
  text.SetTag(16);
  text.SetString(u"Ab");
  EXPECT_THAT(test::ElementBytes(text),
              ElementsAre(0x11, 0x10, 0x00, 0x10, 0x04, 0x41, 0x00, 0x62, 0x00));

  CKTLVDWORD number;
  number.SetTag(18);
  number.SetDword(10);
  EXPECT_THAT(test::ElementBytes(number), ElementsAre(0x03, 0x12, 0x00, 0x00, 0x0A, 0, 0, 0));

  CKTLVSTRING empty_text;
  empty_text.SetTag(16);
  EXPECT_THAT(test::ElementBytes(empty_text), ElementsAre(0x11, 0x10, 0x00, 0x10, 0x00));
  CKTLVBINARY empty_block;
  EXPECT_THAT(test::ElementBytes(empty_block), ElementsAre(0x12, 0x00, 0x00, 0x10, 0x00));

  CKTLVDWORD64 wide;
  wide.SetTag(0xFFFFF);
  wide.SetDword64(0x04030201, 0x08070605);
  EXPECT_THAT(test::ElementBytes(wide),
              ElementsAre(0x05, 0xFF, 0xFF, 0x0F, 1, 2, 3, 4, 5, 6, 7, 8));
}

TEST(Element, ByteExamplesReadBack) {
  auto text = test::ReadElement(Bytes{0x11, 0x10, 0x00, 0x10, 0x04, 0x41, 0x00, 0x62, 0x00});
  ASSERT_TRUE(text.ok);
  std::u16string value;
  EXPECT_TRUE(text.element->GetString(value));
  EXPECT_EQ(value, u"Ab");
  EXPECT_EQ(text.element->GetTag(), 16u);

  auto number = test::ReadElement(Bytes{0x03, 0x12, 0x00, 0x00, 0x0A, 0, 0, 0});
  ASSERT_TRUE(number.ok);
  std::uint32_t dword = 0;
  EXPECT_TRUE(number.element->GetDword(dword));
  EXPECT_EQ(dword, 10u);

  for (const std::uint8_t type : {TLV_STRING, TLV_BINARY}) {
    auto empty = test::ReadElement(Bytes{type, 0x10, 0x00, 0x10, 0x00});
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.element->GetSize(), 0u);
    EXPECT_EQ(empty.consumed, 5u);
  }
}

TEST(Element, HeaderWordFields) {
  CKTLVBINARY element;
  element.SetHeaderWord(0xFFFFFFFF);
  element.SetTag(0x123456);  // only the low 20 bits count
  EXPECT_EQ(element.GetTag(), 0x23456u);
  EXPECT_EQ(element.GetType(), 0xFF);
  element.SetType(7);
  EXPECT_EQ(element.GetHeaderWord(), 0x12345607u);  // width 1 for size 0, bit 31 cleared
  EXPECT_EQ(element.GetLengthWidth(), 1u);
  for (const auto& [code, width] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
           {0, 0}, {1, 1}, {2, 2}, {3, 4}, {4, 0}, {7, 0}}) {
    element.SetHeaderWord(code << 28);
    EXPECT_EQ(element.GetLengthWidth(), width) << code;
  }
}

TEST(Element, WidthFollowsTheSize) {
  for (const auto& [size, code] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
           {255, 1}, {256, 2}, {65535, 2}, {65536, 3}}) {
    CKTLVBINARY block;
    std::memset(block.GetBuffer(size), 0xAB, size);
    bool ok = false;
    const Bytes bytes = test::ElementBytes(block, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(block.GetHeaderWord() >> 28, code);
    const std::uint32_t width = code == 3 ? 4 : code;
    EXPECT_EQ(bytes.size(), 4 + width + size);
    auto back = test::ReadElement(bytes);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.element->GetSize(), size);
    EXPECT_EQ(back.consumed, bytes.size());
  }
}

TEST(Element, FixedSizesNeverHaveALengthField) {
  CKTLVDWORD number;
  number.SetHeaderWord(0xF0000003);
  EXPECT_EQ(number.GetHeaderWord(), 0x00000003u);
  CKTLVDWORD64 wide;
  wide.SetHeaderWord(0xB0000005);
  EXPECT_EQ(test::ElementBytes(wide).size(), 12u);
  // Read with a stray width code: the fixed size wins, no length is read.
  auto back = test::ReadElement(Bytes{0x03, 0x00, 0x00, 0x30, 1, 0, 0, 0});
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.consumed, 8u);
}

TEST(Element, AWideLengthFieldIsAcceptedAndWrittenNarrow) {
  auto back = test::ReadElement(Bytes{0x12, 0x05, 0x00, 0x30, 3, 0, 0, 0, 7, 8, 9});
  ASSERT_TRUE(back.ok);
  EXPECT_THAT(test::ElementBytes(*back.element), ElementsAre(0x12, 0x05, 0x00, 0x10, 3, 7, 8, 9));
}

TEST(Element, UnknownTypesSurviveByteForByte) {
  const Bytes bytes = {0x07, 0x42, 0x00, 0x10, 5, 1, 2, 3, 4, 5};
  auto back = test::ReadElement(bytes);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.element->GetType(), 7);
  EXPECT_NE(dynamic_cast<CKTLVBINARY*>(back.element.get()), nullptr);
  EXPECT_EQ(test::ElementBytes(*back.element), bytes);
}

TEST(Element, ALengthTheElementCannotTakeFailsIt) {
  // 65,535 bytes is odd: no string holds it. 65,536 is above the largest string.
  for (const std::uint32_t length : {65535u, 65536u}) {
    Bytes bytes = {0x11,
                   0x10,
                   0x00,
                   0x30,
                   static_cast<std::uint8_t>(length),
                   static_cast<std::uint8_t>(length >> 8),
                   static_cast<std::uint8_t>(length >> 16),
                   0};
    bytes.resize(bytes.size() + length, 0x41);
    EXPECT_FALSE(test::ReadElement(bytes).ok) << length;
  }
  EXPECT_FALSE(test::ReadElement(Bytes{0x11, 0x10, 0x00, 0x10, 3, 0x41, 0, 0x42}).ok);
  // A byte block above 16,777,215 bytes fails without reading (or allocating) its payload.
  EXPECT_FALSE(test::ReadElement(Bytes{0x12, 0, 0, 0x30, 0, 0, 0, 1}).ok);
  // The largest string: 32,767 characters.
  Bytes largest = {0x11, 0x10, 0x00, 0x20, 0xFE, 0xFF};
  largest.resize(largest.size() + 65534, 0x41);
  auto back = test::ReadElement(largest);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.element->GetSize(), 65534u);
}

TEST(Element, WidthCodesWithoutALengthFieldFail) {
  for (const std::uint8_t code : {0x00, 0x40, 0x70}) {
    EXPECT_FALSE(test::ReadElement(Bytes{0x12, 0x01, 0x00, code, 1, 2, 3, 4}).ok) << int(code);
  }
}

TEST(Element, AStreamThatEndsInsideThePayloadFailsTheElement) {
  EXPECT_FALSE(test::ReadElement(Bytes{0x12, 0x01, 0x00, 0x10, 4, 1, 2}).ok);
  EXPECT_FALSE(test::ReadElement(Bytes{0x12, 0x01, 0x00, 0x20, 4}).ok);
  EXPECT_FALSE(test::ReadElement(Bytes{0x03, 0x01, 0x00, 0x00, 1, 2}).ok);
}

TEST(Element, StreamErrorsBecomeFalse) {
  test::ThrowingStream stream(Bytes{0x04, 1, 2, 3, 4});
  stream.limit = 2;
  CKTLVBINARY block;
  block.SetHeaderWord(0x10000012);
  EXPECT_FALSE(block.Read(stream));
  std::memset(block.GetBuffer(10), 1, 10);
  block.GetHeaderWord();
  EXPECT_FALSE(block.Write(stream));
}

TEST(Element, AStaleWidthIsNeverWrittenTruncated) {
  CKTLVBINARY block;
  block.GetHeaderWord();  // width for size 0: one byte
  block.GetBuffer(300);
  CKMemoryStream stream;
  EXPECT_FALSE(block.Write(stream));
  EXPECT_TRUE(stream.GetData().empty());
}

TEST(Element, AStringTooLongToReadBackIsNotWritten) {
  CKTLVSTRING text;
  const std::u16string long_text(32768, u'x');
  ASSERT_TRUE(text.SetString(long_text.c_str()));
  bool ok = true;
  test::ElementBytes(text, &ok);
  EXPECT_FALSE(ok);
}

TEST(Element, ABlockGivenAFixedSizeTypeIsNotWrittenPastItsStorage) {
  CKTLVBINARY block;
  block.GetBuffer(2);
  block.SetType(TLV_DWORD);
  bool ok = true;
  test::ElementBytes(block, &ok);
  EXPECT_FALSE(ok);
}

TEST(Scalars, BuffersOfSizesTheClassCannotHoldAreRefused) {
  CKTLVDWORD number;
  EXPECT_EQ(number.GetBuffer(3), nullptr);
  EXPECT_NE(number.GetBuffer(4), nullptr);
  CKTLVSTRING string;
  EXPECT_EQ(string.GetBuffer(3), nullptr);
  CKTLVBINARY block;
  EXPECT_EQ(block.GetBuffer(0), nullptr);
  void* storage = block.GetBuffer(3);
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  EXPECT_TRUE(block.GetBinary(data, size));
  EXPECT_EQ(data, storage);  // its own storage, not a copy
  EXPECT_EQ(size, 3u);
}

TEST(Scalars, StringsStopAtTheirTerminator) {
  CKTLVSTRING text;
  text.SetString(u"one\0two");
  std::u16string value;
  text.GetString(value);
  EXPECT_EQ(value, u"one");
  text.SetString(static_cast<const char16_t*>(text.GetBuffer(0)));  // its own text
  text.GetString(value);
  EXPECT_EQ(value, u"one");
  text.SetString(nullptr);
  text.GetString(value);
  EXPECT_EQ(value, u"");
  // A read keeps every character the length names, zero characters too.
  auto back = test::ReadElement(Bytes{0x11, 0, 0, 0x10, 4, 0x41, 0, 0, 0});
  ASSERT_TRUE(back.ok);
  back.element->GetString(value);
  EXPECT_EQ(value, std::u16string(u"A\0", 2));
}

TEST(Factory, TheHeaderWordGovernsTheRead) {
  std::unique_ptr<CKTLV> element(CreateFromHeader(0x20001211));
  EXPECT_NE(dynamic_cast<CKTLVSTRING*>(element.get()), nullptr);
  EXPECT_EQ(element->GetTag(), 0x12u);
  EXPECT_EQ(element->GetLengthWidth(), 2u);
  std::unique_ptr<CKTLV> array(CreateElement(0xABCDE, TLV_ARRAY));
  EXPECT_NE(dynamic_cast<CKTLVARRAY*>(array.get()), nullptr);
  EXPECT_EQ(array->GetTag(), 0xABCDEu);
}

}  // namespace
