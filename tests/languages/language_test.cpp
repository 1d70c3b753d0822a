#include "languages/language.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "language_bytes.h"
#include "support/temp_dir.h"

namespace {

using test::LanguageBytes;

// A loaded language made of the given entry lines (after the name line and padding).
std::unique_ptr<CKLanguage> Loaded(std::u16string_view lines) {
  auto language = std::make_unique<CKLanguage>(u"/nowhere/Test.language");
  EXPECT_TRUE(
      language->LoadFromBytes(LanguageBytes(u"Test\n#\n#\n#\n#\n" + std::u16string(lines))));
  return language;
}

// A group's texts, "text|text|...", after a text that was there before: the walk appends.
std::string Texts(const CKLanguage& language, std::uint8_t group) {
  std::vector<std::u16string> texts{u"before"};
  const std::size_t count = language.GetGroup(group, texts);
  EXPECT_EQ(count + 1, texts.size());
  std::string joined;
  for (std::size_t i = 1; i < texts.size(); ++i) {
    joined += (i > 1 ? "|" : "") + platform::ToUtf8(texts[i]);
  }
  return joined;
}

// A group's menu, "command text|command -|..." with "-" for a separator.
std::string Menu(const CKLanguage& language, std::uint8_t group) {
  std::vector<KMenuItem> menu(1);
  const std::size_t count = language.GetGroup(group, menu);
  EXPECT_EQ(count + 1, menu.size());
  std::string joined;
  for (std::size_t i = 1; i < menu.size(); ++i) {
    joined += (i > 1 ? "|" : "") + std::to_string(menu[i].command) + " " +
              (menu[i].separator ? "-" : platform::ToUtf8(menu[i].text));
  }
  return joined;
}

TEST(Language, FirstEntryInFileOrderWins) {
  const auto language = Loaded(u"02 03  first\n02 03  second\n");
  std::u16string text = u"untouched";
  EXPECT_TRUE(language->GetText(2, 3, text));
  EXPECT_EQ(text, u"first");
  text = u"untouched";
  EXPECT_FALSE(language->GetText(2, 4, text));
  EXPECT_EQ(text, u"untouched");
  EXPECT_EQ(language->GetEntryCount(), 2u);
}

TEST(Language, GroupAndMenuWalksTakeOnlyTheFirstRun) {
  // The run starts at the first entry of the group and ends at the next foreign entry.
  const auto texts =
      Loaded(u"F1 00  File\n05 00  other before the run\nF1 01  New\nF1 02  Open\n05 01  other\n");
  EXPECT_EQ(Texts(*texts, 0xF1), "File");
  EXPECT_EQ(Texts(*texts, 0x05), "other before the run");
  EXPECT_EQ(Texts(*texts, 0x77), "");

  // A menu leaves out entry 0 (so a foreign entry after it does not end the walk); only a
  // text of exactly "%" is a separator.
  const auto menu = Loaded(
      u"F0 00  not shown\n10 00  other\nF0 01  About\nF0 02  %\nF0 03  Show\nF0 04  %%\n"
      u"F0 05  Exit\n10 01  other\nF0 06  after the run\n");
  EXPECT_EQ(Menu(*menu, 0xF0), "1 About|2 -|3 Show|4 %%|5 Exit");

  std::u16string lines;  // groups larger than 255 are counted in full
  for (int i = 0; i < 300; ++i) {
    lines += u"20 01  item\n";
  }
  const auto large = Loaded(lines);
  std::vector<std::u16string> all;
  std::vector<KMenuItem> items;
  EXPECT_EQ(large->GetGroup(0x20, all), 300u);
  EXPECT_EQ(large->GetGroup(0x20, items), 300u);
}

TEST(Language, LoadsOnlyRegularFilesThatKeepTheRules) {
  test::TempDir dir;
  const auto path = dir / "Test.language";
  test::WriteBytes(path, LanguageBytes(test::SmallLanguage(u"Español")));
  CKLanguage language(path.u16string());
  ASSERT_TRUE(language.Load());
  EXPECT_EQ(language.GetName(), u"Español");
  EXPECT_EQ(Texts(language, 0x10), "zero|one|two|three");
  // Loaded stays loaded: a changed file is not read again until unloaded.
  test::WriteBytes(path, LanguageBytes(u"garbage"));
  EXPECT_TRUE(language.Load());
  language.Unload();
  EXPECT_FALSE(language.Load());
  EXPECT_EQ(language.GetName(), u"Español");  // a rejected file leaves the name as it was

  // Missing, a folder and a named pipe (reading it would block).
  std::filesystem::create_directory(dir / "folder.language");
  ASSERT_EQ(mkfifo((dir / "pipe.language").c_str(), 0600), 0);
  for (const char* name : {"missing", "folder", "pipe"}) {
    CKLanguage rejected((dir / (std::string(name) + ".language")).u16string());
    EXPECT_FALSE(rejected.Load()) << name;
    EXPECT_EQ(rejected.GetName(), u"");
  }
}

}  // namespace
