#include "languages/language.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "language_bytes.h"
#include "languages/language_file.h"
#include "platform/utf.h"

namespace {

using test::LanguageBytes;

// A parsed file as its name and its entries in file order, "Name|gg.ee=text|...", the numbers
// in hexadecimal.
std::string Parsed(std::span<const std::uint8_t> bytes) {
  const auto file = languages::ParseLanguageFile(bytes);
  if (!file) {
    return "rejected";
  }
  std::string parsed = platform::ToUtf8(file->name);
  for (const KLanguageLine& entry : file->entries) {
    char numbers[9];
    std::snprintf(numbers, sizeof numbers, "|%02x.%02x=", entry.group, entry.entry);
    parsed += numbers + platform::ToUtf8(entry.text);
  }
  return parsed;
}

TEST(LanguageFile, SizeAndTheLittleEndianMark) {
  EXPECT_EQ(Parsed({}), "rejected");
  // The largest accepted file: 0xFFFFF bytes (an odd count, so the last byte is dropped).
  std::vector<std::uint8_t> bytes = LanguageBytes(u"Big\nb\nc\nd\ne\n");
  bytes.resize(languages::kMaxFileSize, 0x20);
  EXPECT_EQ(Parsed(bytes), "Big");
  bytes.push_back(0x20);
  EXPECT_EQ(Parsed(bytes), "rejected");

  const std::u16string text = test::SmallLanguage(u"English");
  EXPECT_EQ(Parsed(LanguageBytes(text, false)), "rejected");
  bytes = LanguageBytes(text);
  bytes[1] = 0xFF;  // FF FF
  EXPECT_EQ(Parsed(bytes), "rejected");
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
      // The entry rule: hexadecimal digits of either case, any separators, the text from the
      // eighth character on (an empty one too) kept as written; other lines are comments.
      {u"Name\nA3 0C  Open\na3xfc  Open\nA3 0C Open\nFF FF  \n00 01  \U0001F511 %s %d  \n"
       u"G1 0C  Open\nA3 0G  Open\nA3 0C \n A3 0C  Open\n\uFF11\uFF12 0C  Open\n",
       "Name|a3.0c=Open|a3.fc=Open|a3.0c=pen|ff.ff=|00.01=\U0001F511 %s %d  "},
  };
  for (const auto& [text, parsed] : kFiles) {
    EXPECT_EQ(Parsed(LanguageBytes(text)), parsed) << platform::ToUtf8(text);
  }
  std::vector<std::uint8_t> odd = LanguageBytes(u"Name\na\nb\nc\n01 02  x");
  odd.push_back('e');  // an odd last byte is ignored
  EXPECT_EQ(Parsed(odd), "Name|01.02=x");
}

// A group's texts and its popup menu, "text|text|/command text|command -|" ("-" a separator);
// both walks append behind what the lists held.
std::string Walks(const CKLanguage& language, std::uint8_t group) {
  std::vector<std::u16string> texts{u"before"};
  std::vector<KMenuItem> menu(1);
  const std::size_t counts[] = {language.GetGroup(group, texts), language.GetGroup(group, menu)};
  EXPECT_EQ(counts[0] + 1, texts.size());
  EXPECT_EQ(counts[1] + 1, menu.size());
  std::string joined;
  for (std::size_t i = 1; i < texts.size(); ++i) {
    joined += platform::ToUtf8(texts[i]) + "|";
  }
  joined += "/";
  for (std::size_t i = 1; i < menu.size(); ++i) {
    joined += std::to_string(menu[i].command) + " " +
              (menu[i].separator ? "-" : platform::ToUtf8(menu[i].text)) + "|";
  }
  return joined;
}

TEST(Language, FirstEntryWinsAndGroupWalksTakeOnlyTheFirstRun) {
  // A run starts at the group's first entry and ends at the next foreign entry; a menu
  // leaves out entry 0 (so a foreign entry after it does not end the walk), and only a text
  // of exactly "%" is a separator.
  std::u16string file =
      u"Test\n02 03  first\n02 03  second\nF1 00  File\n05 00  other\nF1 01  New\nF1 02  Open\n"
      u"05 01  other\nF0 00  not shown\n10 00  other\nF0 01  About\nF0 02  %\nF0 03  Show\n"
      u"F0 04  %%\nF0 05  Exit\n10 01  other\nF0 06  after the run\n";
  for (int i = 0; i < 300; ++i) {
    file += u"20 01  item\n";
  }
  CKLanguage language(u"/nowhere/Test.language");
  ASSERT_TRUE(language.LoadFromBytes(LanguageBytes(file)));
  std::u16string text = u"untouched";
  EXPECT_FALSE(language.GetText(2, 4, text));
  EXPECT_EQ(text, u"untouched");
  EXPECT_TRUE(language.GetText(2, 3, text));
  EXPECT_EQ(text, u"first");
  EXPECT_EQ(Walks(language, 0xF1), "File|/1 New|2 Open|");
  EXPECT_EQ(Walks(language, 0x05), "other|/1 other|");
  EXPECT_EQ(Walks(language, 0xF0), "not shown|/1 About|2 -|3 Show|4 %%|5 Exit|");
  EXPECT_EQ(Walks(language, 0x77), "/");

  std::vector<KMenuItem> items;  // groups larger than 255 are counted in full
  EXPECT_EQ(language.GetGroup(0x20, items), 300u);
}

}  // namespace
