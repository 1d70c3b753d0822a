// The language files the program ships: each holds every text the program asks for, with
// the fields the program fills in, and the menus in the layout the interface expects.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "languages/language.h"
#include "languages/languages.h"
#include "languages/menus.h"
#include "languages/text_ids.h"
#include "platform/format.h"
#include "platform/utf.h"

namespace {

const std::filesystem::path kFolder = VQ_LANGUAGES_DIR;

// The parameter is the file's name without ".language".
class ShippedLanguage : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    language_ = std::make_unique<CKLanguage>(
        (kFolder / (std::string(GetParam()) + ".language")).u16string());
    ASSERT_TRUE(language_->Load());
  }
  std::unique_ptr<CKLanguage> language_;
};

TEST_P(ShippedLanguage, HoldsEveryTextOnceWithTheProgramsFieldsAndNothingElse) {
  std::set<std::pair<int, int>> known;
  for (const texts::KTextInfo& info : texts::AllTexts()) {
    SCOPED_TRACE(info.name);
    EXPECT_TRUE(known.insert({info.id.group, info.id.entry}).second) << "listed twice";
    std::u16string text;
    ASSERT_TRUE(language_->GetText(info.id.group, info.id.entry, text));
    if (info.separator) {
      EXPECT_EQ(text, u"%");
      continue;
    }
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, u"%");
    EXPECT_EQ(platform::FormatFields(text), info.fields) << platform::ToUtf8(text);
    EXPECT_EQ(text.find_first_not_of(u' '), 0u) << "leading blank";
    EXPECT_NE(text.back(), u' ') << "trailing blank";
  }
  // Every listed text is there, so any further entry is one the program never asks for (a
  // typo in its number) or one that stands twice.
  EXPECT_EQ(language_->GetEntryCount(), known.size());
}

TEST_P(ShippedLanguage, MenuBarTextsComeInTheirLayout) {
  // The group walk gives the title, then the items in the order of the code's table.
  for (const menus::KMenuBarMenu& menu : menus::kMenuBar) {
    std::vector<std::u16string> walked;
    std::vector<std::u16string> listed(1);
    language_->GetGroup(menu.title.group, walked);
    language_->GetText(menu.title.group, menu.title.entry, listed[0]);
    for (const menus::KMenuBarItem& item : menu.items) {
      language_->GetText(item.text.group, item.text.entry, listed.emplace_back());
    }
    EXPECT_EQ(walked, listed);
  }
}

TEST_P(ShippedLanguage, PopupMenusGiveTheirCommands) {
  using namespace menus;
  const std::vector<std::uint32_t> entry = {
      kEntryCopyLogin, kEntryCopyPassword, kEntryCopyEmail, kEntryCopyOrOpenUrl,
      kEntryEdit,      kEntryMove,         kEntryDelete};
  const std::map<std::uint8_t, std::vector<std::uint32_t>> commands = {
      {kTrayMenuGroup, {kTrayAbout, kTrayShowHide, kTrayExit}},
      {kEntryMenuGroup, entry},
      {kKind1NoteMenuGroup, entry},
      {kAttachmentMenuGroup, {kAttachmentAdd, kAttachmentSaveAs, kAttachmentDelete}},
  };
  for (const auto& [group, expected] : commands) {
    std::vector<KMenuItem> menu;
    language_->GetGroup(group, menu);
    std::vector<std::uint32_t> items;
    for (const KMenuItem& item : menu) {
      if (!item.separator) {
        items.push_back(item.command);
      }
    }
    EXPECT_EQ(items, expected) << int{group};
  }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::Values("English", "German"),
                         [](const auto& param_info) { return std::string(param_info.param); });

TEST(ShippedLanguages, AreFoundBesideTheProgram) {
  CKLanguages languages;
  ASSERT_TRUE(languages.ScanFolder(kFolder.parent_path().u16string() + u"/"));
  std::vector<std::u16string> names;
  ASSERT_TRUE(languages.GetNames(names));
  EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()),
            (std::set<std::u16string>{u"English", u"Deutsch"}));
}

}  // namespace
