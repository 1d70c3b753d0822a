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

std::vector<std::u16string> Texts(const CKLanguage& language, std::uint8_t group) {
  std::vector<std::u16string> texts;
  const std::size_t count = language.GetGroup(group, texts);
  EXPECT_EQ(count, texts.size());
  return texts;
}

std::vector<KMenuItem> Menu(const CKLanguage& language, std::uint8_t group) {
  std::vector<KMenuItem> menu;
  const std::size_t count = language.GetGroup(group, menu);
  EXPECT_EQ(count, menu.size());
  return menu;
}

TEST(Language, FirstEntryInFileOrderWins) {
  const auto owner = Loaded(u"02 03  first\n02 03  second\n");
  const CKLanguage& language = *owner;
  std::u16string text = u"untouched";
  EXPECT_TRUE(language.GetText(2, 3, text));
  EXPECT_EQ(text, u"first");
  text = u"untouched";
  EXPECT_FALSE(language.GetText(2, 4, text));
  EXPECT_EQ(text, u"untouched");
  EXPECT_EQ(language.GetEntryCount(), 2u);
}

TEST(Language, GroupWalkTakesOnlyTheFirstRun) {
  const auto owner = Loaded(
      u"F1 00  File\n05 00  other before the run\nF1 01  New\nF1 02  Open\n"
      u"05 01  other\nF1 03  late\n");
  const CKLanguage& language = *owner;
  // The run starts at the first entry of the group and ends at the next foreign entry.
  EXPECT_EQ(Texts(language, 0xF1), (std::vector<std::u16string>{u"File"}));
  EXPECT_EQ(Texts(language, 0x05), (std::vector<std::u16string>{u"other before the run"}));
  EXPECT_TRUE(Texts(language, 0x77).empty());

  // The list is appended to, not replaced.
  std::vector<std::u16string> texts{u"kept"};
  EXPECT_EQ(language.GetGroup(0xF1, texts), 1u);
  EXPECT_EQ(texts.size(), 2u);
}

TEST(Language, MenuWalkSkipsEntryZeroAndMakesSeparators) {
  const auto owner = Loaded(
      u"F0 00  not shown\nF0 01  About\nF0 02  %\nF0 03  Show\nF0 04  %%\nF0 05  Exit\n"
      u"10 00  other\nF0 06  after the run\n");
  const CKLanguage& language = *owner;
  const auto menu = Menu(language, 0xF0);
  ASSERT_EQ(menu.size(), 5u);
  EXPECT_EQ(menu[0].command, 1u);
  EXPECT_EQ(menu[0].text, u"About");
  EXPECT_FALSE(menu[0].separator);
  EXPECT_TRUE(menu[1].separator);
  EXPECT_EQ(menu[1].command, 2u);
  EXPECT_FALSE(menu[3].separator);  // only a text of exactly "%" is a separator
  EXPECT_EQ(menu[4].command, 5u);

  // An entry 0 is not counted, so a foreign entry after it does not end the walk.
  const auto skipped = Loaded(u"F0 00  title\n10 00  other\nF0 01  item\n");
  const auto items = Menu(*skipped, 0xF0);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"item");
}

TEST(Language, LargeGroupsAreCountedInFull) {
  std::u16string lines;
  for (int i = 0; i < 300; ++i) {
    lines += u"20 01  item\n";
  }
  const auto owner = Loaded(lines);
  const CKLanguage& language = *owner;
  EXPECT_EQ(Texts(language, 0x20).size(), 300u);
  EXPECT_EQ(Menu(language, 0x20).size(), 300u);
}

TEST(Language, LoadsFromItsFile) {
  test::TempDir dir;
  const auto path = dir / "Test.language";
  test::WriteBytes(path, LanguageBytes(test::SmallLanguage(u"Español")));
  CKLanguage language(path.u16string());
  ASSERT_TRUE(language.Load());
  EXPECT_EQ(language.GetName(), u"Español");
  std::u16string text;
  EXPECT_TRUE(language.GetText(0x10, 3, text));
  EXPECT_EQ(text, u"three");

  // Loaded stays loaded: a changed file is not read again until unloaded.
  test::WriteBytes(path, LanguageBytes(u"garbage"));
  EXPECT_TRUE(language.Load());
  language.Unload();
  EXPECT_FALSE(language.Load());
  EXPECT_EQ(language.GetName(), u"Español");  // a rejected file leaves the name as it was
}

TEST(Language, RejectsWhatCannotBeReadSafely) {
  test::TempDir dir;
  CKLanguage missing((dir / "missing.language").u16string());
  EXPECT_FALSE(missing.Load());

  // A folder and a named pipe with the extension are no files to read (a pipe would block).
  std::filesystem::create_directory(dir / "folder.language");
  CKLanguage folder((dir / "folder.language").u16string());
  EXPECT_FALSE(folder.Load());
  ASSERT_EQ(mkfifo((dir / "pipe.language").c_str(), 0600), 0);
  CKLanguage pipe((dir / "pipe.language").u16string());
  EXPECT_FALSE(pipe.Load());

  // Too large, though every other rule holds.
  std::vector<std::uint8_t> bytes = LanguageBytes(test::SmallLanguage(u"Big"));
  bytes.resize(0x100000, 0x20);
  test::WriteBytes(dir / "big.language", bytes);
  CKLanguage big((dir / "big.language").u16string());
  EXPECT_FALSE(big.Load());
  EXPECT_EQ(big.GetName(), u"");
}

}  // namespace
