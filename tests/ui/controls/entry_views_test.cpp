#include <gtest/gtest.h>

#include <QHeaderView>

#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "ui/controls/combo_box_ex.h"
#include "ui/controls/image_list.h"
#include "ui/controls/list_ctrl.h"

namespace {

CKTLVARRAY* Add(CKTLVARRAY& parent, std::uint32_t kind, const char16_t* name) {
  CKTLVARRAY* entry = database::CreateEntry(parent, kind);
  entry->SetStringByTag(TAG_NAME, name);
  parent.AddChild(entry);
  return entry;
}

QStringList Names(const CKListCtrl& list) {
  QStringList names;
  for (int row = 0; row < list.GetRowCount(); ++row) {
    names << list.model()->index(row, 0).data().toString();
  }
  return names;
}

class EntryViews : public ::testing::Test {
 protected:
  EntryViews() {
    root_.SetTag(ENTRY_ROOT);
    up_.SetTag(ENTRY_UP);
    up_.AddChild(CreateElement(TAG_ICON, TLV_DWORD));
    up_.SetDwordByTag(TAG_ICON, 21);
    CKListCtrl::SetSharedUpEntry(&up_);
    images_.Create(QSize(16, 16));
    for (int i = 0; i < 22; ++i) {
      QPixmap image(16, 16);
      image.fill(QColor(i, 0, 0));
      images_.Add(QIcon(image));
    }
    CKImageList::InstallShared(&images_);
  }
  ~EntryViews() override {
    CKListCtrl::SetSharedUpEntry(nullptr);
    CKImageList::InstallShared(nullptr);
  }

  CKTLVARRAY root_;
  CKTLVARRAY up_;
  CKImageList images_;
};

TEST_F(EntryViews, RowsSortByKindThenNameWithTheUpRowFirst) {
  CKTLVARRAY* sub = Add(root_, ENTRY_FOLDER, u"sub");
  Add(*sub, ENTRY_NOTE, u"a note");
  Add(*sub, ENTRY_NOTE, u"B note");
  Add(*sub, ENTRY_FOLDER, u"z folder");
  Add(*sub, ENTRY_FOLDER, u"Y folder");
  CKListCtrl list;
  list.resize(301, 200);
  list.show();
  database::SetupColumns(list);
  list.SetColumnsOwner(sub);
  database::FillList(*sub, list);
  // Up, then folders, then notes; within each capitals first (case-sensitive).
  EXPECT_EQ(Names(list),
            (QStringList{QString(), QStringLiteral("Y folder"), QStringLiteral("z folder"),
                         QStringLiteral("B note"), QStringLiteral("a note")}));
  EXPECT_EQ(list.GetEntryAt(0), &up_);
  EXPECT_EQ(list.model()
                ->index(0, 0)
                .data(Qt::DecorationRole)
                .value<QIcon>()
                .pixmap(16)
                .toImage()
                .pixel(0, 0),
            QColor(21, 0, 0).rgb());
  EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));

  // The two columns share the width, the second taking the odd pixel.
  const int width = list.ClientWidth();
  EXPECT_EQ(list.columnWidth(0), width / 2);
  EXPECT_EQ(list.columnWidth(0) + list.columnWidth(1), width);

  list.selectRow(3);
  ASSERT_NE(list.GetSelectedEntry(), nullptr);
  EXPECT_EQ(database::GetName(*list.GetSelectedEntry()), u"B note");
  list.DeleteRow(list.GetSelectedEntry());
  EXPECT_EQ(list.GetRowCount(), 4);
  EXPECT_EQ(list.GetSelectedEntry(), nullptr);

  // An empty folder: no rows, the columns still fitted.
  CKTLVARRAY* empty = Add(root_, ENTRY_FOLDER, u"empty");
  database::FillList(*empty, list);
  EXPECT_EQ(list.GetRowCount(), 1);  // the up row only
  list.resize(420, 200);
  EXPECT_EQ(list.columnWidth(0) + list.columnWidth(1), list.ClientWidth());
}

TEST_F(EntryViews, TheFolderComboShowsTheRootAndTheFoldersWithTheirIcons) {
  CKTLVARRAY* work = Add(root_, ENTRY_FOLDER, u"work");
  work->SetDwordByTag(TAG_ICON, 11);
  CKComboBoxEx combo;
  combo.AddItem(&root_);
  for (CKTLVARRAY* folder : database::CollectFolders(root_)) {
    combo.AddItem(folder);
  }
  ASSERT_EQ(combo.count(), 2);
  EXPECT_EQ(combo.itemText(0), QStringLiteral("<    ROOT    >"));
  EXPECT_EQ(combo.itemText(1), QStringLiteral("work"));
  EXPECT_EQ(combo.itemIcon(1).pixmap(16).toImage().pixel(0, 0), QColor(11, 0, 0).rgb());
  EXPECT_EQ(combo.itemIcon(0).pixmap(16).toImage().pixel(0, 0), QColor(10, 0, 0).rgb());
  EXPECT_TRUE(combo.SelectEntry(work));
  EXPECT_EQ(combo.GetSelectedEntry(), work);
  EXPECT_FALSE(combo.SelectEntry(&up_));
}

}  // namespace
