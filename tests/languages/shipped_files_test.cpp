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

struct Shipped {
  const char* file;
  const char16_t* name;
};
constexpr Shipped kShipped[] = {{"English.language", u"English"}, {"German.language", u"Deutsch"}};

void PrintTo(const Shipped& shipped, std::ostream* out) {
  *out << shipped.file;
}

class ShippedLanguage : public ::testing::TestWithParam<Shipped> {
 protected:
  void SetUp() override {
    language_ = std::make_unique<CKLanguage>((kFolder / GetParam().file).u16string());
    ASSERT_TRUE(language_->Load()) << GetParam().file;
  }
  std::u16string Text(TextId id) const {
    std::u16string text;
    EXPECT_TRUE(language_->GetText(id.group, id.entry, text));
    return text;
  }
  std::unique_ptr<CKLanguage> language_;
};

TEST_P(ShippedLanguage, HoldsEveryTextOnceWithTheProgramsFieldsAndNothingElse) {
  EXPECT_EQ(language_->GetName(), GetParam().name);
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
  // A typo in an entry number would leave a text unused and another missing.
  for (int group = 0; group < 256; ++group) {
    std::vector<std::u16string> texts;
    if (language_->GetGroup(group, texts) == 0) {
      continue;
    }
    for (int entry = 0; entry < 256; ++entry) {
      std::u16string text;
      EXPECT_TRUE(!language_->GetText(group, entry, text) || known.count({group, entry}))
          << group << "." << entry;
    }
  }
  EXPECT_EQ(language_->GetEntryCount(), known.size()) << "an entry stands twice";
}

TEST_P(ShippedLanguage, MenuBarTextsComeInTheirLayout) {
  for (const menus::KMenuBarMenu& menu : menus::kMenuBar) {
    std::vector<std::u16string> texts;
    ASSERT_EQ(language_->GetGroup(menu.title.group, texts), menu.items.size() + 1);
    EXPECT_EQ(texts[0], Text(menu.title));
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
      const menus::KMenuBarItem& item = menu.items[i];
      EXPECT_EQ(item.text.group, menu.title.group);
      EXPECT_EQ(texts[i + 1], Text(item.text));
      EXPECT_EQ(texts[i + 1] == u"%", item.command == 0) << platform::ToUtf8(texts[i + 1]);
    }
  }
}

TEST_P(ShippedLanguage, PopupMenusGiveTheirCommands) {
  const std::map<std::uint8_t, std::vector<std::uint32_t>> commands = {
      {menus::kTrayMenuGroup, {menus::kTrayAbout, menus::kTrayShowHide, menus::kTrayExit}},
      {menus::kEntryMenuGroup,
       {menus::kEntryCopyLogin, menus::kEntryCopyPassword, menus::kEntryCopyEmail,
        menus::kEntryCopyOrOpenUrl, menus::kEntryEdit, menus::kEntryMove, menus::kEntryDelete}},
      {menus::kKind1NoteMenuGroup,
       {menus::kEntryCopyLogin, menus::kEntryCopyPassword, menus::kEntryCopyEmail,
        menus::kEntryCopyOrOpenUrl, menus::kEntryEdit, menus::kEntryMove, menus::kEntryDelete}},
      {menus::kAttachmentMenuGroup,
       {menus::kAttachmentAdd, menus::kAttachmentSaveAs, menus::kAttachmentDelete}},
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

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::ValuesIn(kShipped),
                         [](const auto& param_info) {
                           return std::filesystem::path(param_info.param.file).stem().string();
                         });

TEST(ShippedLanguages, AreFoundBesideTheProgramAndTheDefaultIsEnglish) {
  CKLanguages languages;
  ASSERT_TRUE(languages.ScanFolder(kFolder.parent_path().u16string() + u"/"));
  std::vector<std::u16string> names;
  ASSERT_TRUE(languages.GetNames(names));
  EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()),
            (std::set<std::u16string>{u"English", u"Deutsch"}));
  EXPECT_TRUE(languages.Activate(u"english"));
  EXPECT_TRUE(languages.Activate(u"DEUTSCH"));
  std::u16string text;
  EXPECT_TRUE(languages.GetText(texts::kButtonCancel.group, texts::kButtonCancel.entry, text));
  EXPECT_EQ(text, u"Abbrechen");
}

}  // namespace
