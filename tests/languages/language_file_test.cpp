#include "languages/language_file.h"

#include <gtest/gtest.h>

#include "language_bytes.h"

namespace {

using languages::ParseLanguageFile;
using test::LanguageBytes;

// A parsed file as its name and its entries in file order, "Name|gg.ee=text|...".
std::string Parsed(std::span<const std::uint8_t> bytes) {
  const auto file = ParseLanguageFile(bytes);
  if (!file) {
    return "rejected";
  }
  std::string parsed = platform::ToUtf8(file->name);
  for (const KLanguageLine& entry : file->entries) {
    parsed += "|" + test::Describe(entry);
  }
  return parsed;
}

std::string Parsed(std::u16string_view text) {
  return Parsed(LanguageBytes(text));
}

TEST(LanguageFile, SizeAndTheLittleEndianMark) {
  EXPECT_EQ(Parsed(std::vector<std::uint8_t>{}), "rejected");
  EXPECT_EQ(Parsed(std::vector<std::uint8_t>{0xFF, 0xFE, 'a', 0, '\n', 0, 'b'}), "rejected");
  // The largest accepted file: 0xFFFFF bytes (an odd count, so the last byte is dropped).
  std::vector<std::uint8_t> bytes = LanguageBytes(u"Big\nb\nc\nd\ne\n");
  bytes.resize(languages::kMaxFileSize, 0x20);
  EXPECT_EQ(Parsed(bytes), "Big");
  bytes.push_back(0x20);
  EXPECT_EQ(Parsed(bytes), "rejected");

  const std::u16string text = test::SmallLanguage(u"English");
  EXPECT_EQ(Parsed(LanguageBytes(text, false)), "rejected");
  std::vector<std::uint8_t> big_endian = LanguageBytes(text);
  std::swap(big_endian[0], big_endian[1]);
  EXPECT_EQ(Parsed(big_endian), "rejected");
  const std::string utf8 = "\xEF\xBB\xBF" + platform::ToUtf8(text);
  EXPECT_EQ(Parsed({reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()}), "rejected");
}

TEST(LanguageFile, LinesAndEntriesInFileOrder) {
  const std::u16string with_zero{u'N', 0, u'a', 0x1F, u'm', u'e', u'\n', 0, u'\n'};
  const std::pair<std::u16string, std::string> kFiles[] = {
      // Five lines that are not empty are needed; the last needs no line feed.
      {u"one\ntwo\n\n\nthree\r\n\t\nfour\n", "rejected"},
      {u"one\ntwo\n\n\nthree\r\n\t\nfour\nfive", "one"},
      // Carriage returns, tabs, zeros and other control characters vanish.
      {u"Name\r\n01 02  Hello\t world\r\n#\r\n#\r\n#\r\n", "Name|01.02=Hello world"},
      {with_zero + u"a\nb\nc\nd\n", "Name"},
      // Every line, the first too, is offered to the entry rule.
      {u"01 02  Name\n01 02  second\n# comment\n05 06  x\n01 02  third\n",
       "01 02  Name|01.02=Name|01.02=second|05.06=x|01.02=third"},
  };
  for (const auto& [text, parsed] : kFiles) {
    EXPECT_EQ(Parsed(text), parsed) << platform::ToUtf8(text);
  }
  std::vector<std::uint8_t> odd = LanguageBytes(u"Name\na\nb\nc\n01 02  x");
  odd.push_back('e');  // an odd last byte is ignored
  EXPECT_EQ(Parsed(odd), "Name|01.02=x");
}

TEST(LanguageFile, EntryRule) {
  const std::pair<std::u16string, std::string> kLines[] = {
      {u"A3 0C  Open", "a3.0c=Open"},
      {u"a3x0c  Open", "a3.0c=Open"},  // lower-case digits, any separator characters
      {u"A3 0C Open", "a3.0c=pen"},    // the text starts at character 8, whatever it is
      {u"FF FF  ", "ff.ff="},          // exactly seven characters: an empty text
      {u"00 01  \U0001F511 100% %s  ", "00.01=\U0001F511 100% %s  "},  // kept as written
      {u"G1 0C  Open", "none"},
      {u"A3 0G  Open", "none"},
      {u"A3 0C ", "none"},  // six characters
      {u" A3 0C  Open", "none"},
      {u"\uFF11\uFF12 0C  Open", "none"},  // fullwidth digits are no hexadecimal digits
  };
  for (const auto& [line, entry] : kLines) {
    const auto parsed = languages::ParseEntryLine(line);
    EXPECT_EQ(parsed ? test::Describe(*parsed) : "none", entry) << platform::ToUtf8(line);
  }
}

}  // namespace
