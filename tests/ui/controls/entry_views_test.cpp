// The entry list and the folder combo on a tree of their own, with the shared images.
#include <gtest/gtest.h>

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

// The colour of an item's icon: the shared images are filled with red of their index.
int IconIndex(const QIcon& icon) {
  return qRed(icon.pixmap(16).toImage().pixel(0, 0));
}

class EntryViews : public ::testing::Test {
 protected:
  EntryViews() {
    root.SetTag(ENTRY_ROOT);
    up.SetTag(ENTRY_UP);
    up.AddChild(CreateElement(TAG_ICON, TLV_DWORD));
    up.SetDwordByTag(TAG_ICON, 21);
    CKListCtrl::SetSharedUpEntry(&up);
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

  CKTLVARRAY root;
  CKTLVARRAY up;

 private:
  CKImageList images_;
};

// The order of the rows is checked on the main window's list.
TEST_F(EntryViews, TheUpRowHasItsIconColumnsShareTheWidthAndTheComboShowsTheFolders) {
  CKTLVARRAY* sub = Add(root, ENTRY_FOLDER, u"sub");
  sub->SetDwordByTag(TAG_ICON, 11);
  Add(*sub, ENTRY_NOTE, u"a note");
  Add(*sub, ENTRY_NOTE, u"B note");
  CKListCtrl list;
  list.resize(301, 200);
  list.show();
  database::SetupColumns(list);
  list.SetColumnsOwner(sub);
  database::FillList(*sub, list);
  EXPECT_EQ(list.GetEntryAt(0), &up);
  EXPECT_EQ(IconIndex(list.model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>()), 21);
  // The two columns share the width, the second taking the odd pixel, also after a resize.
  EXPECT_EQ(list.columnWidth(0), list.ClientWidth() / 2);
  EXPECT_EQ(list.columnWidth(0) + list.columnWidth(1), list.ClientWidth());
  list.resize(420, 200);
  EXPECT_EQ(list.columnWidth(0) + list.columnWidth(1), list.ClientWidth());
  // A deleted row leaves nothing selected.
  list.selectRow(1);
  ASSERT_NE(list.GetSelectedEntry(), nullptr);
  list.DeleteRow(list.GetSelectedEntry());
  EXPECT_EQ(list.GetRowCount(), 2);
  EXPECT_EQ(list.GetSelectedEntry(), nullptr);

  CKComboBoxEx combo;
  combo.AddItem(&root);
  combo.AddItem(sub);
  EXPECT_EQ(IconIndex(combo.itemIcon(0)), 10);
  EXPECT_EQ(IconIndex(combo.itemIcon(1)), 11);
  EXPECT_FALSE(combo.SelectEntry(&up));  // choosing a folder is driven in the move-to journey
}

}  // namespace
