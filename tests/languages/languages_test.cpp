#include "languages/languages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "language_bytes.h"
#include "languages/text_ids.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

using platform::MessageIcon;
using test::LanguageBytes;

// A program folder with a Languages folder to fill.
class LanguagesTest : public ::testing::Test {
 protected:
  LanguagesTest() { std::filesystem::create_directory(dir_ / "Languages"); }

  void AddFile(const std::string& file_name, std::u16string_view text) {
    test::WriteBytes(dir_ / "Languages" / file_name, LanguageBytes(text));
  }
  bool Scan() { return languages_.ScanFolder(dir_.path().u16string()); }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names{u"stale"};
    languages_.GetNames(names);
    std::sort(names.begin(), names.end());  // the system's listing order is not fixed
    return names;
  }

  test::TempDir dir_;
  CKLanguages languages_;
};

TEST_F(LanguagesTest, ScanAcceptsOnlyUsableLanguageFiles) {
  AddFile("English.language", test::SmallLanguage(u"english"));
  AddFile("Deutsch.language", test::SmallLanguage(u"Deutsch"));
  AddFile("Four.language", u"Four\nb\nc\nd\n");
  AddFile("Other.txt", test::SmallLanguage(u"Other"));
  test::WriteBytes(dir_ / "Languages" / "Plain.language",
                   LanguageBytes(test::SmallLanguage(u"Plain"), false));
  std::filesystem::create_directory(dir_ / "Languages" / "Folder.language");

  EXPECT_TRUE(Scan());
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Deutsch", u"english"}));
  // Only the names stay in memory after the scan.
  EXPECT_EQ(languages_.GetActiveName(), u"");
  std::u16string text;
  EXPECT_FALSE(languages_.GetText(0x10, 0, text));
}

TEST_F(LanguagesTest, ScanWithoutFilesFindsNothing) {
  EXPECT_FALSE(Scan());
  std::vector<std::u16string> names{u"stale"};
  EXPECT_FALSE(languages_.GetNames(names));
  EXPECT_TRUE(names.empty());

  std::filesystem::remove(dir_ / "Languages");
  EXPECT_FALSE(Scan());
}

TEST_F(LanguagesTest, ScanLooksInTheCurrentFolder) {
  AddFile("English.language", test::SmallLanguage(u"English"));
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  const bool found = languages_.Scan();
  std::filesystem::current_path(previous);
  EXPECT_TRUE(found);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"English"}));
}

TEST_F(LanguagesTest, ActivateComparesNamesWithoutCase) {
  AddFile("a.language", test::SmallLanguage(u"english"));
  AddFile("b.language", test::SmallLanguage(u"ÉSPAÑOL"));
  ASSERT_TRUE(Scan());

  EXPECT_TRUE(languages_.Activate(u"English"));
  EXPECT_EQ(languages_.GetActiveName(), u"english");
  EXPECT_TRUE(languages_.Activate(u"éspañol"));
  EXPECT_EQ(languages_.GetActiveName(), u"ÉSPAÑOL");

  // No match: false, and the active language stays.
  EXPECT_FALSE(languages_.Activate(u"Klingon"));
  EXPECT_FALSE(languages_.Activate(u"englis"));
  EXPECT_EQ(languages_.GetActiveName(), u"ÉSPAÑOL");
  std::u16string text;
  EXPECT_TRUE(languages_.GetText(0x10, 1, text));
  EXPECT_EQ(text, u"one");
}

TEST_F(LanguagesTest, ActivatingAnUnreadableLanguageLeavesItActiveButEmpty) {
  AddFile("a.language", test::SmallLanguage(u"First"));
  AddFile("b.language", test::SmallLanguage(u"Second"));
  ASSERT_TRUE(Scan());
  ASSERT_TRUE(languages_.Activate(u"First"));

  std::filesystem::remove(dir_ / "Languages" / "b.language");
  EXPECT_FALSE(languages_.Activate(u"Second"));
  EXPECT_EQ(languages_.GetActiveName(), u"Second");
  std::u16string text;
  EXPECT_FALSE(languages_.GetText(0x10, 1, text));

  // Going back works: the first language stayed loaded.
  EXPECT_TRUE(languages_.Activate(u"first"));
  EXPECT_TRUE(languages_.GetText(0x10, 1, text));
}

TEST_F(LanguagesTest, RescanDropsTheActiveLanguage) {
  AddFile("a.language", test::SmallLanguage(u"First"));
  ASSERT_TRUE(Scan());
  ASSERT_TRUE(languages_.Activate(u"First"));
  ASSERT_TRUE(Scan());
  EXPECT_EQ(languages_.GetActiveName(), u"");
  std::u16string text;
  EXPECT_FALSE(languages_.GetText(0x10, 1, text));
}

TEST_F(LanguagesTest, LookupsByKeyTableAndGroup) {
  AddFile("a.language",
          u"Keys\n#\nA3 05  help\nA3 FF  title\nF0 01  About\nF0 02  %\nF0 05  Exit\n");
  ASSERT_TRUE(Scan());
  std::u16string text;
  std::vector<std::u16string> texts;
  std::vector<KMenuItem> menu;
  // Nothing before a language is active.
  EXPECT_FALSE(languages_.GetTextByKey(0xA305, text));
  EXPECT_EQ(languages_.GetGroupTexts(0xF0, texts), 0u);
  EXPECT_EQ(languages_.BuildMenu(0xF0, menu), 0u);
  ASSERT_TRUE(languages_.Activate(u"keys"));

  EXPECT_TRUE(languages_.GetTextByKey(0xA305, text));
  EXPECT_EQ(text, u"help");
  EXPECT_FALSE(languages_.GetTextByKey(0x1A305, text));  // no group above 255

  constexpr KTextPair kTable[] = {{0xA305, 550}, {0xA306, 551}, {0, 0}, {0xA305, 552}};
  EXPECT_TRUE(languages_.GetTooltipText(kTable, 550, text));
  EXPECT_FALSE(languages_.GetTooltipText(kTable, 551, text));  // its text is missing
  EXPECT_FALSE(languages_.GetTooltipText(kTable, 552, text));  // behind the end mark
  EXPECT_TRUE(languages_.GetTextByKey(*languages::TitleKey(kTable), text));
  EXPECT_EQ(text, u"title");

  EXPECT_EQ(languages_.GetGroupTexts(0xF0, texts), 3u);
  EXPECT_EQ(languages_.BuildMenu(0xF0, menu), 3u);
  EXPECT_TRUE(menu[1].separator);
  EXPECT_EQ(menu[2].command, 5u);
}

TEST(LanguagesSource, IsInstalledWhileALanguageIsActive) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "Languages");
  test::WriteBytes(dir / "Languages" / "a.language",
                   LanguageBytes(u"Texts\n#\n00 25  Cannot use \"%s\": %s\n#\n#\n"));
  {
    CKLanguages languages;
    ASSERT_TRUE(languages.ScanFolder(dir.path().u16string()));
    EXPECT_EQ(platform::Text(0, 37, u"fallback"), u"fallback");
    ASSERT_TRUE(languages.Activate(u"Texts"));
    EXPECT_EQ(platform::Text(0, 37, u"fallback"), u"Cannot use \"%s\": %s");
    EXPECT_EQ(platform::Text(0, 38, u"fallback"), u"fallback");
    EXPECT_EQ(platform::Text(256, 37, u"fallback"), u"fallback");
  }
  // Destroyed: the place is given back.
  EXPECT_EQ(platform::Text(0, 37, u"fallback"), u"fallback");
  EXPECT_EQ(platform::InstallTexts(nullptr), nullptr);
}

class LanguagesMessagesTest : public LanguagesTest {
 protected:
  void SetUp() override {
    AddFile("a.language",
            u"Messages\n"
            u"00 00  Language changed\n"
            u"00 03  Name needed\n"
            u"00 0E  Cannot read %s\n"
            u"00 25  Cannot use \"%s\": %s\n"
            u"00 29  Hostile %s %d %s %n %x %%\n"
            u"01 00  Close?\n"
            u"01 01  Delete the %s \"%s\"?\n"
            u"01 06  Saved as %s. Open?\n");
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(languages_.Activate(u"Messages"));
  }
  test::RecordingMessages messages_;
};

TEST_F(LanguagesMessagesTest, MessagesUseGroupZeroWithTheirIcons) {
  EXPECT_TRUE(languages_.ShowMessage(texts::kMsgNameNeeded.entry));
  EXPECT_TRUE(languages_.ShowLanguageNotice());
  EXPECT_TRUE(languages_.ShowMessage(200));  // missing: an empty box
  EXPECT_TRUE(languages_.ShowMessageFormat(texts::kMsgFileUnreadable.entry, u"/tmp/x"));
  ASSERT_EQ(messages_.shown().size(), 4u);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Name needed", "Language changed", "",
                                                         "Cannot read /tmp/x"}));
  EXPECT_EQ(messages_.shown()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(messages_.shown()[1].icon, MessageIcon::Information);
  EXPECT_EQ(messages_.shown()[3].icon, MessageIcon::Error);
  EXPECT_FALSE(messages_.shown()[0].question);
}

TEST_F(LanguagesMessagesTest, FormattedTextsOnlyFillTheGivenValues) {
  languages_.ShowMessageFormat(41, 64);
  languages_.ShowMessageFormat(37, u"a.txt", u"No such file");
  languages_.ShowMessageFormat(37);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Hostile 64 %d %s %n %x %",
                                                         "Cannot use \"a.txt\": No such file",
                                                         "Cannot use \"%s\": %s"}));
}

TEST_F(LanguagesMessagesTest, QuestionsUseGroupOne) {
  messages_.QueueAnswer(true);
  messages_.QueueAnswer(false);
  messages_.QueueAnswer(true);
  EXPECT_TRUE(languages_.Ask(texts::kAskClose.entry));
  EXPECT_FALSE(languages_.AskFormat(texts::kAskDelete.entry, u"note", u"Bank"));
  EXPECT_TRUE(languages_.AskFormat(texts::kAskOpenDownloadFolder.entry, u"/home/me/vq.exe"));
  EXPECT_FALSE(languages_.Ask(99));  // missing text, answer from the empty queue: No
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Close?", "Delete the note \"Bank\"?",
                                                         "Saved as /home/me/vq.exe. Open?", ""}));
  for (const auto& shown : messages_.shown()) {
    EXPECT_TRUE(shown.question);
  }
}

}  // namespace
