#include "languages/language_file.h"

#include <gtest/gtest.h>

#include "language_bytes.h"

namespace {

using languages::ParseLanguageFile;
using test::LanguageBytes;

std::optional<languages::ParsedLanguageFile> Parse(std::u16string_view text) {
  return ParseLanguageFile(LanguageBytes(text));
}

// The single entry a file with the given line (after four comment lines) yields.
std::optional<KLanguageLine> OnlyEntry(std::u16string_view line) {
  const auto file = Parse(u"Name\n#1\n#2\n#3\n" + std::u16string(line) + u"\n");
  if (!file || file->entries.size() != 1) {
    return std::nullopt;
  }
  return file->entries.front();
}

TEST(LanguageFile, SizeLimits) {
  EXPECT_FALSE(ParseLanguageFile({}));
  EXPECT_FALSE(ParseLanguageFile(std::vector<std::uint8_t>{0xFF, 0xFE, 'a', 0, '\n', 0, 'b'}));

  // The largest accepted file: 0xFFFFF bytes (an odd count, so the last byte is dropped).
  std::u16string text = u"Big\nb\nc\nd\ne\n";
  std::vector<std::uint8_t> bytes = LanguageBytes(text);
  bytes.resize(languages::kMaxFileSize, 0x20);
  EXPECT_TRUE(ParseLanguageFile(bytes));
  bytes.push_back(0x20);
  EXPECT_FALSE(ParseLanguageFile(bytes));
}

TEST(LanguageFile, NeedsTheLittleEndianMark) {
  const std::u16string text = test::SmallLanguage(u"English");
  EXPECT_TRUE(ParseLanguageFile(LanguageBytes(text)));
  EXPECT_FALSE(ParseLanguageFile(LanguageBytes(text, false)));

  // Big-endian mark, and the same file saved as UTF-8 (with and without its own mark).
  std::vector<std::uint8_t> big_endian = LanguageBytes(text);
  big_endian[0] = 0xFE;
  big_endian[1] = 0xFF;
  EXPECT_FALSE(ParseLanguageFile(big_endian));
  const std::string utf8 =
      "\xEF\xBB\xBF"
      "English\n10 00  zero\n10 01  one\n10 02  two\n10 03  x\n";
  EXPECT_FALSE(ParseLanguageFile(
      std::span(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size())));
}

TEST(LanguageFile, NeedsFiveNonEmptyLines) {
  EXPECT_FALSE(Parse(u"one\ntwo\n\n\nthree\r\n\t\nfour\n"));
  const auto five = Parse(u"one\ntwo\n\n\nthree\r\n\t\nfour\nfive");  // no final line feed
  ASSERT_TRUE(five);
  EXPECT_EQ(five->name, u"one");
  EXPECT_TRUE(five->entries.empty());
}

TEST(LanguageFile, LineEndingsAndControlCharactersDoNotMatter) {
  const auto lf = Parse(u"Name\n01 02  Hello world\n#\n#\n#\n");
  const auto crlf = Parse(u"Name\r\n01 02  Hello\t world\r\n#\r\n#\r\n#\r\n");
  ASSERT_TRUE(lf && crlf);
  ASSERT_EQ(lf->entries.size(), 1u);
  ASSERT_EQ(crlf->entries.size(), 1u);
  EXPECT_EQ(lf->entries[0].text, u"Hello world");
  EXPECT_EQ(crlf->entries[0].text, u"Hello world");

  // Zero and other control characters vanish too; a line of only such characters is empty.
  const std::u16string with_zero{u'N', 0, u'a', 0x1F, u'm', u'e', u'\n', 0, u'\n'};
  const auto zeros = Parse(with_zero + u"a\nb\nc\nd\n");
  ASSERT_TRUE(zeros);
  EXPECT_EQ(zeros->name, u"Name");
}

TEST(LanguageFile, OddLastByteIsIgnored) {
  std::vector<std::uint8_t> bytes = LanguageBytes(u"Name\na\nb\nc\nd");
  bytes.push_back('e');
  const auto file = ParseLanguageFile(bytes);
  ASSERT_TRUE(file);
  const auto again = Parse(u"Name\na\nb\nc\nd");
  EXPECT_EQ(file->entries.size(), again->entries.size());
}

TEST(LanguageFile, EntryRule) {
  auto entry = OnlyEntry(u"A3 0C  Open");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->group, 0xA3);
  EXPECT_EQ(entry->entry, 0x0C);
  EXPECT_EQ(entry->text, u"Open");

  entry = OnlyEntry(u"a3x0c  Open");  // lower-case digits, any separator characters
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->group, 0xA3);
  EXPECT_EQ(entry->entry, 0x0C);
  EXPECT_EQ(entry->text, u"Open");

  entry = OnlyEntry(u"A3 0C Open");  // the text starts at character 8, whatever it is
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->text, u"pen");

  entry = OnlyEntry(u"FF FF  ");  // exactly seven characters: an empty text
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->group, 0xFF);
  EXPECT_EQ(entry->text, u"");

  entry = OnlyEntry(u"00 01  \U0001F511 100% %s  ");  // kept exactly as written
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->text, u"\U0001F511 100% %s  ");

  EXPECT_FALSE(OnlyEntry(u"G1 0C  Open"));
  EXPECT_FALSE(OnlyEntry(u"A3 0G  Open"));
  EXPECT_FALSE(OnlyEntry(u"A3 0C "));  // six characters
  EXPECT_FALSE(OnlyEntry(u" A3 0C  Open"));
  // Fullwidth digits are not hexadecimal digits.
  EXPECT_FALSE(OnlyEntry(u"\uFF11\uFF12 0C  Open"));
}

TEST(LanguageFile, EveryLineIsOfferedToTheEntryRuleInOrder) {
  const auto file = Parse(u"01 02  Name\n01 02  second\n# comment\n05 06  x\n01 02  third\n");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->name, u"01 02  Name");
  ASSERT_EQ(file->entries.size(), 4u);
  EXPECT_EQ(file->entries[0].text, u"Name");
  EXPECT_EQ(file->entries[1].text, u"second");
  EXPECT_EQ(file->entries[2].group, 5);
  EXPECT_EQ(file->entries[3].text, u"third");
}

}  // namespace
