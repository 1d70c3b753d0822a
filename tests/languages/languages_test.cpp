#include "languages/languages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "language_bytes.h"
#include "languages/text_ids.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

using platform::MessageIcon;

// A program folder with a Languages folder to fill.
class LanguagesTest : public ::testing::Test {
 protected:
  LanguagesTest() { std::filesystem::create_directory(dir_ / "Languages"); }

  void AddFile(const std::string& file_name, std::u16string_view text, bool with_mark = true) {
    test::WriteBytes(dir_ / "Languages" / file_name, test::LanguageBytes(text, with_mark));
  }
  bool Scan() { return languages_.ScanFolder(dir_.path().u16string()); }
  // The names, sorted (the system's listing order is not fixed), "name|name".
  std::string Names() const {
    std::vector<std::u16string> names{u"stale"};
    const bool found = languages_.GetNames(names);
    EXPECT_EQ(found, !names.empty());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names) {
      joined += (joined.empty() ? "" : "|") + platform::ToUtf8(name);
    }
    return joined;
  }
  std::string Text(std::uint8_t group, std::uint8_t entry) const {
    std::u16string text;
    return languages_.GetText(group, entry, text) ? platform::ToUtf8(text) : "<none>";
  }

  test::TempDir dir_;
  CKLanguages languages_;
};

TEST_F(LanguagesTest, ScanKeepsTheNamesOfUsableLanguageFiles) {
  EXPECT_FALSE(Scan());
  EXPECT_EQ(Names(), "");
  AddFile("English.language", test::SmallLanguage(u"english"));
  AddFile("Deutsch.language", test::SmallLanguage(u"Deutsch"));
  AddFile("Other.txt", test::SmallLanguage(u"Other"));
  AddFile("Plain.language", test::SmallLanguage(u"Plain"), false);
  EXPECT_TRUE(Scan());
  EXPECT_EQ(Names(), "Deutsch|english");
  EXPECT_EQ(languages_.GetActiveName(), u"");  // only the names stay in memory
  EXPECT_EQ(Text(0x10, 0), "<none>");

  // A new scan drops the active language; the plain Scan looks in the current folder.
  ASSERT_TRUE(languages_.Activate(u"Deutsch"));
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  EXPECT_TRUE(languages_.Scan());
  std::filesystem::current_path(previous);
  EXPECT_EQ(Names(), "Deutsch|english");
  EXPECT_EQ(languages_.GetActiveName(), u"");
  EXPECT_EQ(Text(0x10, 1), "<none>");

  std::filesystem::remove_all(dir_ / "Languages");
  EXPECT_FALSE(Scan());
}

TEST_F(LanguagesTest, ActivateComparesNamesWithoutCase) {
  AddFile("a.language", test::SmallLanguage(u"english"));
  AddFile("b.language", test::SmallLanguage(u"ÉSPAÑOL"));
  AddFile("c.language", test::SmallLanguage(u"Gone"));
  ASSERT_TRUE(Scan());
  EXPECT_TRUE(languages_.Activate(u"English"));
  EXPECT_EQ(languages_.GetActiveName(), u"english");
  EXPECT_TRUE(languages_.Activate(u"éspañol"));
  EXPECT_EQ(languages_.GetActiveName(), u"ÉSPAÑOL");
  // No match: false, and the active language stays.
  EXPECT_FALSE(languages_.Activate(u"Klingon"));
  EXPECT_FALSE(languages_.Activate(u"englis"));
  EXPECT_EQ(languages_.GetActiveName(), u"ÉSPAÑOL");
  EXPECT_EQ(Text(0x10, 1), "one");

  // A language that can no longer be read is active but empty; the way back works, as the
  // first one stayed loaded.
  std::filesystem::remove(dir_ / "Languages" / "c.language");
  EXPECT_FALSE(languages_.Activate(u"gone"));
  EXPECT_EQ(languages_.GetActiveName(), u"Gone");
  EXPECT_EQ(Text(0x10, 1), "<none>");
  EXPECT_TRUE(languages_.Activate(u"ÉSPAÑOL"));
  EXPECT_EQ(Text(0x10, 1), "one");
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

TEST_F(LanguagesTest, IsThePlatformsTextSourceWhileALanguageIsActive) {
  AddFile("a.language", u"Texts\n#\n00 25  Cannot use \"%s\": %s\n#\n#\n");
  {
    CKLanguages languages;
    ASSERT_TRUE(languages.ScanFolder(dir_.path().u16string()));
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

TEST_F(LanguagesTest, MessagesFromGroupZeroAndQuestionsFromGroupOne) {
  AddFile("a.language",
          u"Messages\n00 00  Language changed\n00 03  Name needed\n00 0E  Cannot read %s\n"
          u"00 25  Cannot use \"%s\": %s\n00 29  Hostile %s %d %s %n %x %%\n01 00  Close?\n"
          u"01 01  Delete the %s \"%s\"?\n");
  ASSERT_TRUE(Scan());
  ASSERT_TRUE(languages_.Activate(u"Messages"));
  test::RecordingMessages messages;
  EXPECT_TRUE(languages_.ShowMessage(texts::kMsgNameNeeded.entry));
  EXPECT_TRUE(languages_.ShowLanguageNotice());
  EXPECT_TRUE(languages_.ShowMessage(200));  // missing: an empty box
  EXPECT_TRUE(languages_.ShowMessageFormat(texts::kMsgFileUnreadable.entry, u"/tmp/x"));
  // Only the given values are filled in, whatever the text holds.
  languages_.ShowMessageFormat(41, 64);
  languages_.ShowMessageFormat(37, u"a.txt", u"No such file");
  languages_.ShowMessageFormat(37);
  messages.QueueAnswer(true);
  EXPECT_TRUE(languages_.Ask(texts::kAskClose.entry));
  EXPECT_FALSE(languages_.AskFormat(texts::kAskDelete.entry, u"note", u"Bank"));
  EXPECT_FALSE(languages_.Ask(99));  // a missing text asked with an empty queue: No
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{"Name needed", "Language changed", "", "Cannot read /tmp/x",
                                      "Hostile 64 %d %s %n %x %",
                                      "Cannot use \"a.txt\": No such file", "Cannot use \"%s\": %s",
                                      "Close?", "Delete the note \"Bank\"?", ""}));
  const MessageIcon kIcons[] = {MessageIcon::Warning, MessageIcon::Information,
                                MessageIcon::Information, MessageIcon::Error};
  for (std::size_t i = 0; i < messages.shown().size(); ++i) {
    EXPECT_EQ(messages.shown()[i].question, i >= 7) << i;
    if (i < std::size(kIcons)) {
      EXPECT_EQ(messages.shown()[i].icon, kIcons[i]) << i;
    }
  }
}

}  // namespace
