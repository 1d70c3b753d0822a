#include <gtest/gtest.h>

#include <algorithm>

#include "../crypto/openssl_oracle.h"
#include "database/database.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

// User files written byte by byte from the layout, with OpenSSL's libcrypto as the cipher, open
// here; files saved here decipher with libcrypto into the stream the layout describes.

namespace {

using test::Bytes;

constexpr char16_t kPassword[] = u"pa\u00df \u5bc6\u7801 \U0001F511";

void AppendLe(Bytes& bytes, std::uint32_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

std::uint32_t ReadLe(const Bytes& bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value |= std::uint32_t{bytes.at(at + i)} << (8 * i);
  }
  return value;
}

Bytes Utf16Le(std::u16string_view text) {
  Bytes bytes;
  for (const char16_t c : text) {
    AppendLe(bytes, c, 2);
  }
  return bytes;
}

// Element bytes as the layout gives them, written without the program's element classes.
class ElementBytes {
 public:
  ElementBytes& Array(std::uint32_t tag, std::uint32_t children) {
    return Word(TLV_ARRAY, tag, 1).Put(children, 1);
  }
  ElementBytes& String(std::uint32_t tag, std::u16string_view text) {
    return Block(TLV_STRING, tag, Utf16Le(text));
  }
  ElementBytes& Dword(std::uint32_t tag, std::uint32_t value) {
    return Word(TLV_DWORD, tag, 0).Put(value, 4);
  }
  ElementBytes& Block(std::uint8_t type, std::uint32_t tag, const Bytes& content) {
    const std::uint32_t code = content.size() < 256 ? 1 : content.size() < 65536 ? 2 : 3;
    Word(type, tag, code).Put(static_cast<std::uint32_t>(content.size()), code == 3 ? 4 : code);
    bytes.insert(bytes.end(), content.begin(), content.end());
    return *this;
  }
  ElementBytes& Word(std::uint8_t type, std::uint32_t tag, std::uint32_t width_code) {
    return Put(type | (tag << 8) | (width_code << 28), 4);
  }
  ElementBytes& Put(std::uint32_t value, std::size_t width) {
    AppendLe(bytes, value, width);
    return *this;
  }

  Bytes bytes;
};

Bytes Pbkdf2(const Bytes& secret, const Bytes& salt, int iterations) {
  return crypto_test::OpenSslPbkdf2(secret, salt.data(), salt.size(), iterations, 32);
}

// A whole user file from the layout table: header, memo, enciphered verifier and trees.
Bytes UserFile(std::u16string_view memo, const Bytes& trees) {
  const Bytes salt(32, 0x5C);
  const Bytes iv = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  Bytes file = {'V', 'Q', 'D', 'B', 1, 60, 0, 0, 1, 1, 2, 0};  // two iterations
  file.insert(file.end(), salt.begin(), salt.end());
  file.insert(file.end(), iv.begin(), iv.end());
  const Bytes memo_bytes = Utf16Le(memo);
  AppendLe(file, static_cast<std::uint32_t>(memo_bytes.size()), 4);
  file.insert(file.end(), memo_bytes.begin(), memo_bytes.end());
  const Bytes key = Pbkdf2(Utf16Le(kPassword), salt, 2);
  Bytes plain = Pbkdf2(key, salt, 3);  // the verifier
  plain.insert(plain.end(), trees.begin(), trees.end());
  plain.resize((plain.size() + 15) / 16 * 16, 0);
  const Bytes enciphered = crypto_test::OpenSslAes(key, iv, true, true, plain);
  file.insert(file.end(), enciphered.begin(), enciphered.end());
  return file;
}

// Where the element at `at` ends, read by the layout alone.
std::size_t SkipElement(const Bytes& stream, std::size_t at) {
  const std::uint32_t word = ReadLe(stream, at, 4);
  at += 4;
  const std::uint8_t type = word & 0xFF;
  if (type == TLV_DWORD) {
    return at + 4;
  }
  const std::uint32_t code = (word >> 28) & 7;
  const std::size_t width = code == 1 ? 1 : code == 2 ? 2 : 4;
  const std::uint32_t length = ReadLe(stream, at, width);
  at += width;
  if (type != TLV_ARRAY) {
    return at + length;
  }
  for (std::uint32_t i = 0; i < length; ++i) {
    at = SkipElement(stream, at);
  }
  return at;
}

class InteropTest : public ::testing::Test {
 protected:
  int Open(const Bytes& file) {
    test::WriteFile(path_, file);
    database_.SetPath(test::U16(path_));
    return database_.Load(kPassword);
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  std::filesystem::path path_ = dir_ / "Zo\u00eb.VaultQuill";
  CKDatabase database_;
};

TEST_F(InteropTest, FileWrittenFromTheLayoutOpens) {
  ElementBytes trees;
  trees.Array(ENTRY_ROOT, 1).Array(ENTRY_FOLDER, 4).String(TAG_NAME, u"Reisep\u00e4sse");
  trees.String(TAG_TEXT, u"").Dword(TAG_ICON, 10).Array(ENTRY_NOTE, 12);
  trees.String(TAG_NAME, u"\u94f6\u884c \U0001F3E6");
  trees.String(TAG_TEXT, std::u16string(300, u'\u00df'));  // a 2-byte length field
  trees.String(TAG_LOGIN, u"zo\u00eb").String(TAG_PASSWORD, u"p\u00e4ss");
  trees.String(TAG_URL, u"https://example.invalid").String(TAG_EMAIL, u"zoe@example.invalid");
  trees.Dword(TAG_CREATED, 1700000000).Dword(TAG_MODIFIED, 1700000001);
  trees.Dword(TAG_RESERVED_21, 0).Dword(TAG_RESERVED_1, 0).Dword(TAG_ICON, 0);
  trees.Array(ENTRY_ATTACHMENT, 6).String(TAG_FILE_NAME, u"r\u00e9sum\u00e9.pdf");
  trees.Dword(TAG_FILE_SIZE, 3).Block(TLV_BINARY, TAG_FILE_DATA, {7, 8, 9});
  trees.Dword(TAG_FILE_CREATED, 1).Dword(TAG_FILE_MODIFIED, 2).Dword(TAG_ICON, 20);
  trees.Array(SETTINGS_ROOT, 1).Array(SETTING_TEXT, 2).String(TAG_NAME, u"stringDefaultLogin");
  trees.String(TAG_TEXT_VALUE, u"zo\u00eb");
  ASSERT_EQ(Open(UserFile(u"Fr\u00fchst\u00fcck", trees.bytes)), 0);
  EXPECT_EQ(database_.GetMemo(), u"Fr\u00fchst\u00fcck");
  // Read field for field: written again, the trees are the same bytes.
  EXPECT_EQ(test::TreeBytes(database_), trees.bytes);
  EXPECT_NE(database::FindEntryByName(database_.GetEntriesRoot(), u"REISEP\u00c4SSE"), nullptr);
}

TEST_F(InteropTest, SavedFileDeciphersIntoTheLayoutsStream) {
  auto user = test::NewUser(path_, kPassword, userfile::kNewUserIterations);
  test::AddSampleEntries(*user, u"\u00e9\u00e9");
  ASSERT_EQ(user->Save(), 0);
  const Bytes file = test::ReadFile(path_);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 12),
            (Bytes{0x56, 0x51, 0x44, 0x42, 0x01, 0x3C, 0, 0, 0x01, 0x01, 0xFF, 0x3F}));
  const Bytes salt(file.begin() + 12, file.begin() + 44);
  const Bytes iv(file.begin() + 44, file.begin() + 60);
  const std::uint32_t memo_bytes = ReadLe(file, 60, 4);
  EXPECT_EQ(Bytes(file.begin() + 64, file.begin() + 64 + memo_bytes), Utf16Le(test::kMemo));
  const Bytes enciphered(file.begin() + 64 + memo_bytes, file.end());
  ASSERT_EQ(enciphered.size() % 16, 0u);

  const Bytes key = Pbkdf2(Utf16Le(kPassword), salt, userfile::kNewUserIterations);
  const Bytes stream = crypto_test::OpenSslAes(key, iv, true, false, enciphered);
  EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 32), Pbkdf2(key, salt, 3));
  EXPECT_EQ(ReadLe(stream, 32, 4) & 0x0FFFFFFF, (ENTRY_ROOT << 8) | TLV_ARRAY);
  const std::size_t second = SkipElement(stream, 32);
  EXPECT_EQ(ReadLe(stream, second, 4) & 0x0FFFFFFF, (SETTINGS_ROOT << 8) | TLV_ARRAY);
  const std::size_t end = SkipElement(stream, second);
  ASSERT_LE(end, stream.size());
  EXPECT_LT(stream.size() - end, 16u);
  EXPECT_TRUE(std::all_of(stream.begin() + static_cast<long>(end), stream.end(),
                          [](std::uint8_t b) { return b == 0; }));
  // The trees are those in memory, byte for byte.
  EXPECT_EQ(Bytes(stream.begin() + 32, stream.begin() + static_cast<long>(end)),
            test::TreeBytes(*user));
}

TEST_F(InteropTest, TreesOtherThanTheTwoRootsAreDamaged) {
  // The note's first field claims 3 bytes, which no string can hold, so the note and the rest
  // of its folder are dropped; the bytes left over happen to read as an empty settings tree,
  // and the note would vanish unnoticed.
  ElementBytes broken_off;
  broken_off.Array(ENTRY_ROOT, 1).Array(ENTRY_FOLDER, 4).String(TAG_NAME, u"F");
  broken_off.String(TAG_TEXT, u"").Dword(TAG_ICON, 10).Array(ENTRY_NOTE, 1);
  // With the byte after it, 0x800100 makes an array header word of tag 0x8001.
  broken_off.Word(TLV_STRING, TAG_NAME, 1).Put(3, 1).Put(0x800100, 3).Put(0x10, 1).Put(0, 1);
  const struct {
    ElementBytes trees;
    int result;
  } cases[] = {
      {ElementBytes().Array(0, 0).Array(0, 0), userfile::kOpened},
      {ElementBytes().Array(ENTRY_FOLDER, 0).Array(SETTINGS_ROOT, 0), userfile::kDamaged},
      {ElementBytes().Array(ENTRY_ROOT, 0).Array(ENTRY_ROOT, 0), userfile::kDamaged},
      {ElementBytes().String(ENTRY_ROOT, u"").Array(SETTINGS_ROOT, 0), userfile::kDamaged},
      {ElementBytes().Array(ENTRY_ROOT, 0), userfile::kDamaged},
      {broken_off, userfile::kDamaged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(Open(UserFile(u"", c.trees.bytes)), c.result);
    EXPECT_EQ(database_.GetEntriesRoot().GetChildCount(), 0u);
  }
}

}  // namespace
