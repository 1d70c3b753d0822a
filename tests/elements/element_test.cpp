#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "element_bytes.h"
#include "elements/scalars.h"
#include "elements/tlv_array.h"

namespace {

using test::Bytes;
using ::testing::ElementsAre;

// An element of tag 16 with a length field as narrow as the length allows, then the payload.
Bytes WithLength(std::uint8_t type, std::uint32_t length) {
  const int width = length < 256 ? 1 : length < 65536 ? 2 : 4;
  Bytes bytes = {type, 0x10, 0, static_cast<std::uint8_t>((width == 4 ? 3 : width) << 4)};
  for (int i = 0; i < width; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  }
  bytes.resize(bytes.size() + length, 0x41);
  return bytes;
}

TEST(Element, WrittenBytes) {
  CKTLVSTRING text;
  text.SetTag(16);
  text.SetString(u"Ab");
  EXPECT_THAT(test::ElementBytes(text),
              ElementsAre(0x11, 0x10, 0x00, 0x10, 0x04, 0x41, 0x00, 0x62, 0x00));
  CKTLVDWORD number;
  number.SetTag(18);
  number.SetDword(10);
  EXPECT_THAT(test::ElementBytes(number), ElementsAre(0x03, 0x12, 0x00, 0x00, 0x0A, 0, 0, 0));
  CKTLVDWORD64 wide;
  wide.SetHeaderWord(0xB0000005);  // a stray width code: fixed sizes have no length field
  wide.SetTag(0xFFFFF);
  wide.SetDword64(0x04030201, 0x08070605);
  EXPECT_THAT(test::ElementBytes(wide),
              ElementsAre(0x05, 0xFF, 0xFF, 0x0F, 1, 2, 3, 4, 5, 6, 7, 8));
}

// Written values are checked above, so a read that writes back the same bytes read them right
// (and writing picks the narrowest length field).
TEST(Element, ReadAndWrittenAgain) {
  const struct {
    Bytes in;
    bool ok;
    Bytes out;  // when not the same bytes
  } cases[] = {
      {{0x11, 0x10, 0x00, 0x10, 0x04, 0x41, 0x00, 0x62, 0x00}, true, {}},
      {{0x03, 0x12, 0x00, 0x00, 0x0A, 0, 0, 0}, true, {}},
      {{0x05, 0xFF, 0xFF, 0x0F, 1, 2, 3, 4, 5, 6, 7, 8}, true, {}},
      {{0x11, 0x10, 0x00, 0x10, 0x00}, true, {}},
      {{0x12, 0x10, 0x00, 0x10, 0x00}, true, {}},
      {{0x00, 0x00, 0x00, 0x10, 0x00}, true, {}},
      {{0x11, 0, 0, 0x10, 4, 0x41, 0, 0, 0}, true, {}},        // a zero character is kept
      {{0x07, 0x42, 0x00, 0x10, 5, 1, 2, 3, 4, 5}, true, {}},  // unknown type, byte for byte
      {{0x03, 0x00, 0x00, 0x30, 1, 0, 0, 0}, true, {0x03, 0, 0, 0, 1, 0, 0, 0}},  // no length
      {{0x12, 0x05, 0x00, 0x30, 3, 0, 0, 0, 7, 8, 9}, true, {0x12, 0x05, 0x00, 0x10, 3, 7, 8, 9}},
      {WithLength(TLV_BINARY, 255), true, {}},  // the narrowest length field that holds it
      {WithLength(TLV_BINARY, 256), true, {}},
      {WithLength(TLV_BINARY, 65535), true, {}},
      {WithLength(TLV_BINARY, 65536), true, {}},
      {WithLength(TLV_STRING, 65534), true, {}},   // the largest string
      {WithLength(TLV_STRING, 65535), false, {}},  // odd: no string holds it
      {WithLength(TLV_STRING, 65536), false, {}},  // above the largest string
      {{0x11, 0x10, 0x00, 0x10, 3, 0x41, 0, 0x42}, false, {}},
      {{0x12, 0, 0, 0x30, 0, 0, 0, 1}, false, {}},  // above the largest block: payload not read
      {{0x00, 0, 0, 0x30, 0, 0, 0, 1}, false, {}},  // more children than an array may hold
      {{0x12, 0x01, 0x00, 0x00, 1, 2, 3, 4}, false, {}},  // width codes without a length field
      {{0x12, 0x01, 0x00, 0x40, 1, 2, 3, 4}, false, {}},
      {{0x12, 0x01, 0x00, 0x70, 1, 2, 3, 4}, false, {}},
      {{0x12, 0x01, 0x00, 0x10, 4, 1, 2}, false, {}},  // the stream ends inside the payload
      {{0x12, 0x01, 0x00, 0x20, 4}, false, {}},
      {{0x03, 0x01, 0x00, 0x00, 1, 2}, false, {}},
  };
  for (const auto& c : cases) {
    auto back = test::ReadElement(c.in);
    ASSERT_EQ(back.ok, c.ok) << ::testing::PrintToString(c.in).substr(0, 60);
    if (c.ok) {
      EXPECT_EQ(back.consumed, c.in.size());
      EXPECT_EQ(test::ElementBytes(*back.element), c.out.empty() ? c.in : c.out);
    }
  }
}

TEST(Element, UnwritableElementsAreRefused) {
  CKTLVBINARY stale;
  stale.GetHeaderWord();  // width for size 0: one byte
  stale.GetBuffer(300);
  CKMemoryStream stream;
  EXPECT_FALSE(stale.Write(stream));
  EXPECT_TRUE(stream.GetData().empty());

  CKTLVSTRING text;  // too long to be read back
  ASSERT_TRUE(text.SetString(std::u16string(32768, u'x').c_str()));
  bool ok = true;
  test::ElementBytes(text, &ok);
  EXPECT_FALSE(ok);

  CKTLVBINARY block;  // a fixed-size type must not be written past the block's storage
  block.GetBuffer(2);
  block.SetType(TLV_DWORD);
  test::ElementBytes(block, &ok);
  EXPECT_FALSE(ok);
}

// A failing file: every transfer longer than one byte (a length field) throws.
class ThrowingStream : public CKMemoryStream {
 public:
  using CKMemoryStream::CKMemoryStream;
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* done) override {
    return count > 1 ? throw ErrRead : CKMemoryStream::Read(buffer, count, done);
  }
  bool Write(const void* buffer, std::uint32_t count, std::uint32_t* done) override {
    return count > 1 ? throw ErrWrite : CKMemoryStream::Write(buffer, count, done);
  }
};

TEST(Element, StreamErrorsBecomeFalse) {
  ThrowingStream stream(Bytes{4, 1, 2, 3, 4, 1});
  CKTLVBINARY block;
  block.SetHeaderWord(0x10000012);
  EXPECT_FALSE(block.Read(stream));
  CKTLVARRAY array;
  array.SetHeaderWord(0x10000000);
  EXPECT_FALSE(array.Read(stream));
  std::memset(block.GetBuffer(10), 1, 10);
  block.GetHeaderWord();
  EXPECT_FALSE(block.Write(stream));
  array.AddChild(CreateElement(1, TLV_DWORD));
  array.GetHeaderWord();
  EXPECT_FALSE(array.Write(stream));
}

TEST(Element, HeaderWordAndStrings) {
  CKTLVBINARY element;
  element.SetHeaderWord(0xFFFFFFFF);
  element.SetTag(0x123456);  // only the low 20 bits count
  element.SetType(7);
  EXPECT_EQ(element.GetHeaderWord(), 0x12345607u);  // width 1 for size 0, bit 31 cleared

  CKTLVSTRING text;
  EXPECT_EQ(text.GetBuffer(3), nullptr);  // no odd byte counts
  text.SetString(u"one\0two");
  text.SetString(static_cast<const char16_t*>(text.GetBuffer(0)));  // its own text
  std::u16string value;
  text.GetString(value);
  EXPECT_EQ(value, u"one");
  text.SetString(nullptr);
  text.GetString(value);
  EXPECT_EQ(value, u"");
}

}  // namespace
