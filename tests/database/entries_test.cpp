#include "database/entries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "database/text_case.h"
#include "elements/scalars.h"
#include "elements/schema.h"
#include "elements/tags.h"
#include "entry_fakes.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::uint32_t> Tags(const CKTLVARRAY& entry) {
  std::vector<std::uint32_t> tags;
  for (const CKTLV* child : entry.GetChildren()) {
    tags.push_back(child->GetTag());
  }
  return tags;
}

// Builds a tree of entries for a test and owns it.
class Tree {
 public:
  Tree() { root.SetTag(ENTRY_ROOT); }
  CKTLVARRAY* Add(CKTLVARRAY& parent, std::uint32_t kind, const std::u16string& name) {
    CKTLVARRAY* entry = database::CreateEntry(parent, kind);
    parent.AddChild(entry);
    entry->SetStringByTag(kind == ENTRY_ATTACHMENT ? TAG_FILE_NAME : TAG_NAME, name.c_str());
    return entry;
  }
  CKTLVARRAY root;
};

TEST(CreateEntry, TemplatesOfEveryKind) {
  CKTLVARRAY parent;
  std::unique_ptr<CKTLVARRAY> note(database::CreateEntry(parent, ENTRY_NOTE));
  EXPECT_THAT(Tags(*note), ElementsAre(16, 17, 32, 33, 34, 35, 19, 20, 21, 1, 18));
  EXPECT_EQ(note->GetParent(), &parent);
  EXPECT_EQ(parent.GetChildCount(), 0u);
  EXPECT_TRUE(CheckSchema(*note));
  std::uint32_t created = 0;
  std::uint32_t modified = 0;
  EXPECT_TRUE(note->GetDwordByTag(TAG_CREATED, created));
  EXPECT_TRUE(note->GetDwordByTag(TAG_MODIFIED, modified));
  EXPECT_GT(created, 1600000000u);
  EXPECT_EQ(created, modified);
  note->RemoveChild(note->FindChild(TAG_RESERVED_21));
  EXPECT_FALSE(CheckSchema(*note));

  std::unique_ptr<CKTLVARRAY> folder(database::CreateEntry(parent, ENTRY_FOLDER));
  EXPECT_THAT(Tags(*folder), ElementsAre(16, 17, 18));
  EXPECT_EQ(database::GetIcon(*folder), 10u);
  std::unique_ptr<CKTLVARRAY> attachment(database::CreateEntry(parent, ENTRY_ATTACHMENT));
  EXPECT_THAT(Tags(*attachment), ElementsAre(49, 48, 52, 50, 51, 18));
  EXPECT_EQ(database::GetIcon(*attachment), 20u);
  std::unique_ptr<CKTLVARRAY> text(database::CreateEntry(parent, SETTING_TEXT));
  EXPECT_THAT(Tags(*text), ElementsAre(16, 22));
  std::unique_ptr<CKTLVARRAY> number(database::CreateEntry(parent, SETTING_NUMBER));
  EXPECT_THAT(Tags(*number), ElementsAre(16, 23));
  for (const CKTLVARRAY* entry : {folder.get(), attachment.get(), text.get(), number.get()}) {
    EXPECT_TRUE(CheckSchema(*entry));
  }
  EXPECT_EQ(database::CreateEntry(parent, ENTRY_UP), nullptr);
  EXPECT_EQ(database::CreateEntry(parent, ENTRY_ROOT), nullptr);
}

TEST(DisplayTexts, SizeText) {
  EXPECT_EQ(database::SizeText(0), u"0.000 b");
  EXPECT_EQ(database::SizeText(500), u"500.0 b");
  EXPECT_EQ(database::SizeText(999), u"999.0 b");
  EXPECT_EQ(database::SizeText(1000), u"0.976 Kb");
  EXPECT_EQ(database::SizeText(1500), u"1.464 Kb");
  EXPECT_EQ(database::SizeText(999999), u"976.5 Kb");
  EXPECT_EQ(database::SizeText(1000000), u"0.953 Mb");
  EXPECT_EQ(database::SizeText(0xFFFFFFFF), u"4.000 Gb");  // "%f" rounds
  EXPECT_EQ(database::SizeText(2000000000000), u"1.818 Tb");
}

TEST(DisplayTexts, NameDescriptionAndCaches) {
  Tree tree;
  CKTLVARRAY* note = tree.Add(tree.root, ENTRY_NOTE, u"Bank");
  CKTLVARRAY* attachment = tree.Add(*note, ENTRY_ATTACHMENT, u"scan.pdf");
  attachment->SetDwordByTag(TAG_FILE_SIZE, 1500);
  EXPECT_EQ(database::GetName(*attachment), u"scan.pdf");
  EXPECT_EQ(database::GetDescription(*attachment), u"1.464 Kb");
  // A description field, even an empty one, comes first.
  std::unique_ptr<CKTLV> text(CreateElement(TAG_TEXT, TLV_STRING));
  attachment->AddChild(text.release());
  EXPECT_EQ(database::GetDescription(*attachment), u"");
  note->SetStringByTag(TAG_TEXT, u"my bank");
  const database::ListItemInfo name = database::GetListItemInfo(*note, 0);
  const database::ListItemInfo description = database::GetListItemInfo(*note, 1);
  const database::ListItemInfo other = database::GetListItemInfo(*note, 2);
  EXPECT_EQ(name.text, u"Bank");
  EXPECT_EQ(description.text, u"my bank");
  EXPECT_FALSE(other.has_text);
  EXPECT_EQ(other.image, 0u);

  // The root has no name: it shows as ROOT once the combo box has asked, until cleared.
  EXPECT_EQ(database::GetName(tree.root), u"");
  const database::ComboItemInfo combo = database::GetComboItemInfo(tree.root);
  EXPECT_EQ(combo.text, u"<    ROOT    >");
  EXPECT_EQ(combo.image, 10u);
  EXPECT_EQ(combo.selected_image, 10u);
  EXPECT_EQ(database::GetName(tree.root), u"<    ROOT    >");
  std::u16string path;
  database::GetDisplayPath(*note, path);
  EXPECT_EQ(path, u"<    ROOT    > \\ Bank \\ ");
  database::ClearNameCache(tree.root);
  path.clear();
  database::GetDisplayPath(*attachment, path);
  EXPECT_EQ(path, u"Bank \\ scan.pdf \\ ");
}

TEST(FindEntries, ByNameIgnoringCaseButNeverAttachments) {
  Tree tree;
  CKTLVARRAY* first = tree.Add(tree.root, ENTRY_FOLDER, u"\u00c4rger");
  tree.Add(tree.root, ENTRY_NOTE, u"\u00e4rger");
  CKTLVARRAY* note = tree.Add(tree.root, ENTRY_NOTE, u"\U00010400 deseret");
  tree.Add(*note, ENTRY_ATTACHMENT, u"file");
  EXPECT_EQ(database::FindEntryByName(tree.root, u"\u00e4RGER"), first);
  EXPECT_EQ(database::FindEntryByName(tree.root, u"\U00010428 DESERET"), note);
  EXPECT_EQ(database::FindEntryByName(*note, u"file"), nullptr);
  EXPECT_EQ(database::FindEntryByName(tree.root, u"\u00e4rge"), nullptr);
}

TEST(FindEntries, FoldersBelowAFolder) {
  Tree tree;
  CKTLVARRAY* a = tree.Add(tree.root, ENTRY_FOLDER, u"a");
  CKTLVARRAY* a1 = tree.Add(*a, ENTRY_FOLDER, u"a1");
  CKTLVARRAY* a1x = tree.Add(*a1, ENTRY_FOLDER, u"a1x");
  tree.Add(*a, ENTRY_NOTE, u"note");
  CKTLVARRAY* a2 = tree.Add(*a, ENTRY_FOLDER, u"a2");
  CKTLVARRAY* b = tree.Add(tree.root, ENTRY_FOLDER, u"b");
  CKTLVARRAY* note = tree.Add(*b, ENTRY_NOTE, u"n");

  EXPECT_THAT(database::CollectFolders(tree.root), ElementsAre(a, a1, a1x, a2, b));
  EXPECT_THAT(database::CollectFolders(*a1x), IsEmpty());
  EXPECT_TRUE(database::ContainsFolder(*a, a));
  EXPECT_TRUE(database::ContainsFolder(*a, a1x));
  EXPECT_TRUE(database::ContainsFolder(tree.root, a1x));
  EXPECT_FALSE(database::ContainsFolder(*a1, a));
  EXPECT_FALSE(database::ContainsFolder(*a, b));
  EXPECT_FALSE(database::ContainsFolder(*b, note));  // following folders only
  EXPECT_FALSE(database::ContainsFolder(*a, nullptr));
}

TEST(FindEntries, MatchesTextInStringsAndAttachmentNames) {
  Tree tree;
  CKTLVARRAY* note = tree.Add(tree.root, ENTRY_NOTE, u"Stra\u00dfe");
  note->SetStringByTag(TAG_URL, u"https://\u00dcBER.example");
  note->SetDwordByTag(TAG_ICON, 12345);
  EXPECT_FALSE(database::MatchesText(*note, u""));
  EXPECT_TRUE(database::MatchesText(*note, u"\u00fcber"));
  EXPECT_TRUE(database::MatchesText(*note, u"STRA\u00dfE"));
  EXPECT_FALSE(database::MatchesText(*note, u"12345"));  // numbers are not searched
  EXPECT_FALSE(database::MatchesText(*note, u"quarterly"));
  tree.Add(*note, ENTRY_ATTACHMENT, u"Quarterly.xlsx");
  EXPECT_TRUE(database::MatchesText(*note, u"quarterly"));
  EXPECT_EQ(database::LowerText(u"\U00010400\u00c9A"), u"\U00010428\u00e9a");
}

TEST(ListViews, FillListPutsTheUpRowFirstInSubfolders) {
  Tree tree;
  CKTLVARRAY* folder = tree.Add(tree.root, ENTRY_FOLDER, u"f");
  CKTLVARRAY* note = tree.Add(*folder, ENTRY_NOTE, u"n");
  CKTLVARRAY* sub = tree.Add(*folder, ENTRY_FOLDER, u"s");
  test::RecordingListView list;
  database::FillList(*folder, list);
  EXPECT_THAT(list.calls,
              ElementsAre("redraw off", "clear", "up", "row n", "row s", "redraw on", "sort"));
  EXPECT_THAT(list.rows, ElementsAre(note, sub));
  list.calls.clear();
  database::FillList(tree.root, list);
  EXPECT_THAT(list.calls, ElementsAre("redraw off", "clear", "row f", "redraw on", "sort"));
}

TEST(ListViews, ColumnsTakeHalfTheWidthEach) {
  test::RecordingListView list;
  list.width = 301;
  database::SetupColumns(list);
  EXPECT_THAT(list.calls, ElementsAre("columns Name|Description", "width 0 150", "width 1 151"));
}

TEST(ListViews, AddAndRemoveEntries) {
  Tree tree;
  test::RecordingListView list;
  test::ScriptedEditors editors;
  test::FixedDefaults defaults;

  editors.answer = false;
  EXPECT_EQ(database::AddNewEntry(tree.root, ENTRY_NOTE, &list, &defaults), nullptr);
  EXPECT_EQ(tree.root.GetChildCount(), 0u);
  EXPECT_THAT(list.rows, IsEmpty());

  editors.answer = true;
  CKTLVARRAY* note = database::AddNewEntry(tree.root, ENTRY_NOTE, &list, &defaults);
  ASSERT_NE(note, nullptr);
  EXPECT_THAT(list.rows, ElementsAre(note));
  EXPECT_EQ(tree.root.GetChild(0), note);
  std::u16string login, email, password;
  note->GetStringByTag(TAG_LOGIN, login);
  note->GetStringByTag(TAG_EMAIL, email);
  note->GetStringByTag(TAG_PASSWORD, password);
  EXPECT_EQ(login, u"me");
  EXPECT_EQ(email, u"me@example.invalid");
  EXPECT_EQ(password, u"generated-2");  // the cancelled note had the first
  EXPECT_EQ(editors.edited, (std::vector<std::string>{"note", "note"}));

  defaults.auto_fill = false;
  CKTLVARRAY* plain = database::AddNewEntry(tree.root, ENTRY_NOTE, nullptr, &defaults);
  ASSERT_NE(plain, nullptr);
  plain->GetStringByTag(TAG_PASSWORD, password);
  EXPECT_EQ(password, u"");
  CKTLVARRAY* folder = database::AddNewEntry(tree.root, ENTRY_FOLDER, &list, &defaults);
  EXPECT_EQ(editors.edited.back(), "folder");
  EXPECT_FALSE(database::EditEntry(tree.root));

  EXPECT_TRUE(database::RemoveEntry(tree.root, note, &list));
  EXPECT_THAT(list.rows, ElementsAre(folder));
  EXPECT_FALSE(database::RemoveEntry(tree.root, &tree.root, &list));
  EXPECT_EQ(tree.root.GetChildCount(), 2u);
}

}  // namespace
