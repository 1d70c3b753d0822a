#pragma once

#include <QAbstractListModel>
#include <QComboBox>
#include <vector>

class CKTLVARRAY;

// A drop-down list of entries (folders) with their icons. Each item carries an entry of the
// user's tree (not owned) and asks it for its text and icon whenever the list shows it.
class CKComboBoxEx : public QComboBox {
  Q_OBJECT

 public:
  explicit CKComboBoxEx(QWidget* parent = nullptr);

  // Appends an item for the entry, without indent.
  void AddItem(CKTLVARRAY* entry);
  void ResetContent();
  // The entry of the selected item, or null.
  CKTLVARRAY* GetSelectedEntry() const;
  CKTLVARRAY* GetEntryAt(int index) const;
  // Selects the item of the entry; false when there is none.
  bool SelectEntry(const CKTLVARRAY* entry);

 private:
  class Model;
  Model* model_;
};
