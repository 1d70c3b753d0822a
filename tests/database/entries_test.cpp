#include "database/entries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "database/database.h"
#include "database/new_note_defaults.h"
#include "elements/schema.h"
#include "elements/tags.h"
#include "user_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::uint32_t Number(const CKTLVARRAY& entry, std::uint32_t tag) {
  std::uint32_t value = 0;
  entry.GetDwordByTag(tag, value);
  return value;
}

std::u16string Field(const CKTLVARRAY& entry, std::uint32_t tag) {
  std::u16string text;
  entry.GetStringByTag(tag, text);
  return text;
}

// What new notes are filled with, each generated password another.
class FixedDefaults final : public CKNewNoteDefaults {
 public:
  bool AutoFill() const override { return auto_fill; }
  std::u16string DefaultLogin() const override { return u"me"; }
  std::u16string DefaultEmail() const override { return u"me@example.invalid"; }
  std::u16string GeneratePassword() override { return u"generated " + std::u16string(++made, '*'); }
  bool auto_fill = true;
  std::size_t made = 0;
};

class EntriesTest : public ::testing::Test {
 protected:
  EntriesTest() { root_.SetTag(ENTRY_ROOT); }

  CKTLVARRAY* Add(CKTLVARRAY& parent, std::uint32_t kind, const std::u16string& name) {
    CKTLVARRAY* entry = database::CreateEntry(parent, kind);
    parent.AddChild(entry);
    entry->SetStringByTag(kind == ENTRY_ATTACHMENT ? TAG_FILE_NAME : TAG_NAME, name.c_str());
    return entry;
  }

  CKTLVARRAY root_;
};

TEST_F(EntriesTest, TemplatesOfEveryKind) {
  const struct {
    std::uint32_t kind;
    std::vector<std::uint32_t> tags;
    std::uint32_t icon;
  } kinds[] = {
      {ENTRY_NOTE, {16, 17, 32, 33, 34, 35, 19, 20, 21, 1, 18}, 0},
      {ENTRY_FOLDER, {16, 17, 18}, 10},
      {ENTRY_ATTACHMENT, {49, 48, 52, 50, 51, 18}, 20},
      {SETTING_TEXT, {16, 22}, 0},
      {SETTING_NUMBER, {16, 23}, 0},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.kind);
    std::unique_ptr<CKTLVARRAY> entry(database::CreateEntry(root_, k.kind));
    std::vector<std::uint32_t> tags;
    for (const CKTLV* child : entry->GetChildren()) {
      tags.push_back(child->GetTag());
    }
    EXPECT_EQ(tags, k.tags);
    EXPECT_EQ(Number(*entry, TAG_ICON), k.icon);
    EXPECT_TRUE(CheckSchema(*entry));
    EXPECT_EQ(entry->GetParent(), &root_);
  }
  EXPECT_EQ(root_.GetChildCount(), 0u);
  std::unique_ptr<CKTLVARRAY> note(database::CreateEntry(root_, ENTRY_NOTE));
  EXPECT_LE(static_cast<std::uint32_t>(std::time(nullptr)) - Number(*note, TAG_CREATED), 5u);
  EXPECT_EQ(Number(*note, TAG_MODIFIED), Number(*note, TAG_CREATED));
  EXPECT_EQ(database::CreateEntry(root_, ENTRY_UP), nullptr);
  EXPECT_EQ(database::CreateEntry(root_, ENTRY_ROOT), nullptr);
}

TEST_F(EntriesTest, DisplayTextsAndTheirCaches) {
  const std::pair<std::uint64_t, const char16_t*> sizes[] = {
      {0, u"0.000 b"},           {999, u"999.0 b"},
      {1000, u"0.976 Kb"},       {1500, u"1.464 Kb"},
      {999999, u"976.5 Kb"},     {1000000, u"0.953 Mb"},
      {0xFFFFFFFF, u"4.000 Gb"}, {2000000000000, u"1.818 Tb"},
  };
  for (const auto& [bytes, text] : sizes) {
    EXPECT_EQ(database::SizeText(bytes), text) << bytes;
  }

  CKTLVARRAY* note = Add(root_, ENTRY_NOTE, u"Bank");
  CKTLVARRAY* attachment = Add(*note, ENTRY_ATTACHMENT, u"scan.pdf");
  attachment->SetDwordByTag(TAG_FILE_SIZE, 1500);
  EXPECT_EQ(database::GetName(*attachment), u"scan.pdf");
  EXPECT_EQ(database::GetDescription(*attachment), u"1.464 Kb");
  // A description field, even an empty one, comes first.
  attachment->AddChild(CreateElement(TAG_TEXT, TLV_STRING));
  EXPECT_EQ(database::GetDescription(*attachment), u"");
  note->SetStringByTag(TAG_TEXT, u"my bank");
  EXPECT_EQ(database::GetListItemInfo(*note, 0).text, u"Bank");
  EXPECT_EQ(database::GetListItemInfo(*note, 1).text, u"my bank");
  EXPECT_FALSE(database::GetListItemInfo(*note, 2).has_text);

  // The root has no name: it shows as ROOT once the combo box has asked, until cleared.
  EXPECT_EQ(database::GetName(root_), u"");
  const database::ComboItemInfo combo = database::GetComboItemInfo(root_);
  EXPECT_EQ(combo.text, u"<    ROOT    >");
  EXPECT_EQ(combo.image, 10u);
  EXPECT_EQ(combo.selected_image, 10u);
  std::u16string path;
  database::GetDisplayPath(*note, path);
  EXPECT_EQ(path, u"<    ROOT    > \\ Bank \\ ");
  database::ClearNameCache(root_);
  path.clear();
  database::GetDisplayPath(*attachment, path);
  EXPECT_EQ(path, u"Bank \\ scan.pdf \\ ");
}

TEST_F(EntriesTest, FindingByNameFoldersAndText) {
  CKTLVARRAY* a = Add(root_, ENTRY_FOLDER, u"\u00c4rger");
  CKTLVARRAY* a1 = Add(*a, ENTRY_FOLDER, u"a1");
  CKTLVARRAY* a1x = Add(*a1, ENTRY_FOLDER, u"a1x");
  CKTLVARRAY* a2 = Add(*a, ENTRY_FOLDER, u"a2");
  CKTLVARRAY* b = Add(root_, ENTRY_FOLDER, u"b");
  Add(root_, ENTRY_NOTE, u"\u00e4rger");
  CKTLVARRAY* note = Add(*b, ENTRY_NOTE, u"\U00010400 Stra\u00dfe");
  Add(*note, ENTRY_ATTACHMENT, u"Quarterly.xlsx");
  EXPECT_EQ(database::FindEntryByName(root_, u"\u00e4RGER"), a);
  EXPECT_EQ(database::FindEntryByName(*b, u"\U00010428 STRA\u00dfE"), note);
  EXPECT_EQ(database::FindEntryByName(*note, u"quarterly.xlsx"), nullptr);
  EXPECT_EQ(database::FindEntryByName(root_, u"\u00e4rge"), nullptr);

  EXPECT_THAT(database::CollectFolders(root_), ElementsAre(a, a1, a1x, a2, b));
  EXPECT_THAT(database::CollectFolders(*a1x), IsEmpty());
  EXPECT_TRUE(database::ContainsFolder(*a, a));
  EXPECT_TRUE(database::ContainsFolder(root_, a1x));
  EXPECT_FALSE(database::ContainsFolder(*a1, a));
  EXPECT_FALSE(database::ContainsFolder(*a, b));
  EXPECT_FALSE(database::ContainsFolder(*b, note));  // following folders only
  EXPECT_FALSE(database::ContainsFolder(*a, nullptr));

  note->SetStringByTag(TAG_URL, u"https://\u00dcBER.example");
  note->SetDwordByTag(TAG_ICON, 12345);
  EXPECT_TRUE(database::MatchesText(*note, u"\u00fcber"));
  EXPECT_TRUE(database::MatchesText(*note, u"\U00010428 stra\u00dfe"));
  EXPECT_TRUE(database::MatchesText(*note, u"QUARTERLY"));  // the attachment's name
  EXPECT_FALSE(database::MatchesText(*note, u"12345"));     // numbers are not searched
  EXPECT_FALSE(database::MatchesText(*note, u""));
}

TEST_F(EntriesTest, NewEntriesAreFilledEditedAndAddedOnlyOnOk) {
  test::ScriptedUi ui;
  FixedDefaults defaults;
  ui.editors_confirm = false;
  EXPECT_EQ(database::AddNewEntry(root_, ENTRY_NOTE, nullptr, &defaults), nullptr);
  EXPECT_EQ(root_.GetChildCount(), 0u);
  ui.editors_confirm = true;
  CKTLVARRAY* note = database::AddNewEntry(root_, ENTRY_NOTE, nullptr, &defaults);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(Field(*note, TAG_LOGIN), u"me");
  EXPECT_EQ(Field(*note, TAG_EMAIL), u"me@example.invalid");
  EXPECT_EQ(Field(*note, TAG_PASSWORD), u"generated **");  // the cancelled note had the first
  defaults.auto_fill = false;
  EXPECT_EQ(Field(*database::AddNewEntry(root_, ENTRY_NOTE, nullptr, &defaults), TAG_PASSWORD),
            u"");
  ASSERT_NE(database::AddNewEntry(root_, ENTRY_FOLDER, nullptr, &defaults), nullptr);
  EXPECT_THAT(ui.edited, ElementsAre("note", "note", "note", "folder"));
  EXPECT_TRUE(database::RemoveEntry(root_, note, nullptr));
  EXPECT_FALSE(database::RemoveEntry(root_, &root_, nullptr));
  EXPECT_EQ(root_.GetChildCount(), 2u);
}

TEST_F(EntriesTest, SettingsByNameIgnoringCase) {
  CKDatabase database;
  std::uint32_t number = 0;
  EXPECT_FALSE(database.GetNumberSetting(u"intPasswordLength", number, 14));
  EXPECT_EQ(number, 14u);
  EXPECT_TRUE(database.SetNumberSetting(u"intPasswordLength", 20));
  EXPECT_TRUE(database.SetNumberSetting(u"INTPASSWORDLENGTH", 21));
  EXPECT_TRUE(database.GetNumberSetting(u"intpasswordlength", number, 14));
  EXPECT_EQ(number, 21u);
  ASSERT_EQ(database.GetSettingsRoot().GetChildCount(), 1u);
  auto* setting = dynamic_cast<CKTLVARRAY*>(database.GetSettingsRoot().GetChild(0));
  EXPECT_EQ(setting->GetTag(), SETTING_NUMBER);
  EXPECT_EQ(setting->GetChildCount(), 2u);

  // A text setting whose value field is a number gives the default; setting it replaces the
  // mistyped field, once, rather than hiding values behind it.
  setting->SetStringByTag(TAG_NAME, u"stringDefaultLogin");
  setting->FindChild(TAG_NUMBER_VALUE)->SetTag(TAG_TEXT_VALUE);
  std::u16string text = u"old";
  EXPECT_FALSE(database.GetTextSetting(u"stringDefaultLogin", text, u"fallback"));
  EXPECT_EQ(text, u"fallback");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(database.SetTextSetting(u"stringDefaultLogin", u"me"));
  }
  EXPECT_EQ(setting->GetChildCount(), 2u);
  EXPECT_TRUE(database.GetTextSetting(u"STRINGDEFAULTLOGIN", text, u"fallback"));
  EXPECT_EQ(text, u"me");
}

}  // namespace
