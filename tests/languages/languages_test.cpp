#include "languages/languages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "language_bytes.h"
#include "languages/text_ids.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

using platform::MessageIcon;

// A program folder with a Languages folder to fill.
class LanguagesTest : public ::testing::Test {
 protected:
  LanguagesTest() { std::filesystem::create_directory(dir_ / "Languages"); }

  void AddFile(const std::string& file_name, std::u16string_view text, bool with_mark = true) {
    const auto bytes = test::LanguageBytes(text, with_mark);
    std::ofstream(dir_ / "Languages" / file_name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  bool Scan() { return languages_.ScanFolder(dir_.path().u16string()); }
  // The names in any order (the system's listing order is not fixed).
  std::multiset<std::u16string> Names() const {
    std::vector<std::u16string> names{u"stale"};
    const bool found = languages_.GetNames(names);
    EXPECT_EQ(found, !names.empty());
    return {names.begin(), names.end()};
  }
  std::string Text(std::uint8_t group, std::uint8_t entry) const {
    std::u16string text;
    return languages_.GetText(group, entry, text) ? platform::ToUtf8(text) : "<none>";
  }

  test::TempDir dir_;
  CKLanguages languages_;
};

TEST_F(LanguagesTest, ScanKeepsTheNamesOfUsableFilesAndActivateIgnoresCase) {
  EXPECT_FALSE(Scan());
  EXPECT_TRUE(Names().empty());
  AddFile("English.language", test::SmallLanguage(u"english"));
  AddFile("Spanish.language", test::SmallLanguage(u"ÉSPAÑOL"));
  AddFile("Gone.language", test::SmallLanguage(u"Gone"));
  AddFile("Other.txt", test::SmallLanguage(u"Other"));
  AddFile("Plain.language", test::SmallLanguage(u"Plain"), false);
  // Only plain files are read: reading a named pipe would block.
  std::filesystem::create_directory(dir_ / "Languages" / "folder.language");
  ASSERT_EQ(mkfifo((dir_ / "Languages" / "pipe.language").c_str(), 0600), 0);
  EXPECT_TRUE(Scan());
  EXPECT_EQ(Names(), (std::multiset<std::u16string>{u"english", u"ÉSPAÑOL", u"Gone"}));
  EXPECT_EQ(Text(0x10, 0), "<none>");  // only the names stay in memory

  EXPECT_TRUE(languages_.Activate(u"English"));
  EXPECT_TRUE(languages_.Activate(u"éspañol"));
  EXPECT_FALSE(languages_.Activate(u"englis"));  // no match: the active language stays
  EXPECT_EQ(languages_.GetActiveName(), u"ÉSPAÑOL");
  EXPECT_EQ(Text(0x10, 1), "one");
  // A language that can no longer be read is active but empty; the way back works.
  std::filesystem::remove(dir_ / "Languages" / "Gone.language");
  EXPECT_FALSE(languages_.Activate(u"gone"));
  EXPECT_EQ(languages_.GetActiveName(), u"Gone");
  EXPECT_EQ(Text(0x10, 1), "<none>");
  EXPECT_TRUE(languages_.Activate(u"english"));
  EXPECT_EQ(Text(0x10, 1), "one");

  // A new scan starts afresh without an active language; the plain Scan looks in the
  // current folder.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  EXPECT_TRUE(languages_.Scan());
  std::filesystem::current_path(previous);
  EXPECT_EQ(Names(), (std::multiset<std::u16string>{u"english", u"ÉSPAÑOL"}));
  EXPECT_EQ(languages_.GetActiveName(), u"");
}

TEST_F(LanguagesTest, LookupsAndThePlatformsTextSourceWhileALanguageIsActive) {
  AddFile("a.language", u"Keys\n#\nA3 05  help\nA3 FF  title\nF0 01  About\nF0 02  %\n#\n");
  {
    CKLanguages languages;
    ASSERT_TRUE(languages.ScanFolder(dir_.path().u16string()));
    std::u16string text;
    std::vector<std::u16string> texts;
    std::vector<KMenuItem> menu;
    EXPECT_FALSE(languages.GetTextByKey(0xA305, text));  // nothing before a language is active
    EXPECT_EQ(languages.GetGroupTexts(0xF0, texts) + languages.BuildMenu(0xF0, menu), 0u);
    ASSERT_TRUE(languages.Activate(u"keys"));
    EXPECT_EQ(platform::Text(0xA3, 5, u"fallback"), u"help");
    EXPECT_EQ(platform::Text(0xA3 + 256, 5, u"fallback"), u"fallback");
    EXPECT_EQ(languages.GetGroupTexts(0xF0, texts) + languages.BuildMenu(0xF0, menu), 4u);
    EXPECT_FALSE(languages.GetTextByKey(0x1A305, text));  // no group above 255

    // A text table ends at its end mark, at its end or after 127 pairs, whichever comes first.
    constexpr KTextPair kTable[] = {{0xA305, 550}, {0xA306, 551}, {0, 0}, {0xA305, 552}};
    EXPECT_FALSE(languages.GetTooltipText(kTable, 552, text));
    std::vector<KTextPair> long_table(200, KTextPair{0xA305, 7});
    long_table[150].control = 9;
    EXPECT_FALSE(languages.GetTooltipText(long_table, 9, text));
    EXPECT_FALSE(languages.GetTooltipText(std::vector<KTextPair>{{0xA305, 1}}, 3, text));
    EXPECT_TRUE(languages.GetTooltipText(kTable, 550, text));
    EXPECT_EQ(text, u"help");
    EXPECT_TRUE(languages.GetTextByKey(*languages::TitleKey(kTable), text));
    EXPECT_EQ(text, u"title");
    EXPECT_FALSE(languages::TitleKey({}));
  }
  EXPECT_EQ(platform::Text(0xA3, 5, u"fallback"), u"fallback");  // the place is given back
  EXPECT_EQ(platform::InstallTexts(nullptr), nullptr);
}

TEST_F(LanguagesTest, MessagesFromGroupZeroAndQuestionsFromGroupOne) {
  AddFile("a.language",
          u"Messages\n00 00  Language changed\n00 03  Name needed\n"
          u"00 25  Cannot use \"%s\": %s\n00 29  Hostile %s %d %s %n %x %%\n01 00  Close?\n"
          u"01 01  Delete the %s \"%s\"?\n");
  ASSERT_TRUE(Scan());
  ASSERT_TRUE(languages_.Activate(u"Messages"));
  test::RecordingMessages messages;
  EXPECT_TRUE(languages_.ShowMessage(texts::kMsgNameNeeded.entry));
  EXPECT_TRUE(languages_.ShowLanguageNotice());
  EXPECT_TRUE(languages_.ShowMessage(200));  // missing: an empty box
  // Only the given values are filled in, whatever the text holds.
  EXPECT_TRUE(languages_.ShowMessageFormat(41, 64));
  languages_.ShowMessageFormat(37, u"a.txt", u"No such file");
  languages_.ShowMessageFormat(37);
  messages.QueueAnswer(true);
  EXPECT_TRUE(languages_.Ask(texts::kAskClose.entry));
  EXPECT_FALSE(languages_.AskFormat(texts::kAskDelete.entry, u"note", u"Bank"));
  EXPECT_FALSE(languages_.Ask(99));  // a missing text asked with an empty queue: No
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                  "Name needed", "Language changed", "", "Hostile 64 %d %s %n %x %",
                                  "Cannot use \"a.txt\": No such file", "Cannot use \"%s\": %s",
                                  "Close?", "Delete the note \"Bank\"?", ""}));
  EXPECT_TRUE(messages.shown()[6].question && !messages.shown()[5].question);
  EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Warning);  // each message has its own icon
  EXPECT_EQ(messages.shown()[4].icon, MessageIcon::Error);
}

}  // namespace
