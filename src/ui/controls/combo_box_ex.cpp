#include "ui/controls/combo_box_ex.h"

#include <algorithm>

#include "database/entries.h"
#include "elements/tlv_array.h"
#include "ui/controls/image_list.h"

class CKComboBoxEx::Model : public QAbstractListModel {
 public:
  explicit Model(QObject* parent) : QAbstractListModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    CKTLVARRAY* entry = At(index.row());
    if (entry == nullptr) {
      return {};
    }
    if (role == Qt::DisplayRole) {
      const database::ComboItemInfo info = database::GetComboItemInfo(*entry);
      return QString::fromUtf16(info.text.data(), static_cast<qsizetype>(info.text.size()));
    }
    if (role == Qt::DecorationRole) {
      const database::ComboItemInfo info = database::GetComboItemInfo(*entry);
      if (const CKImageList* images = CKImageList::Shared()) {
        return images->GetIcon(static_cast<int>(info.image));
      }
    }
    return {};
  }

  void Append(CKTLVARRAY* entry) {
    const int row = static_cast<int>(items_.size());
    beginInsertRows(QModelIndex(), row, row);
    items_.push_back(entry);
    endInsertRows();
  }

  void Clear() {
    beginResetModel();
    items_.clear();
    endResetModel();
  }

  CKTLVARRAY* At(int row) const {
    return row >= 0 && row < static_cast<int>(items_.size()) ? items_[static_cast<std::size_t>(row)]
                                                             : nullptr;
  }

  int RowOf(const CKTLVARRAY* entry) const {
    const auto found = std::find(items_.begin(), items_.end(), entry);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
  }

 private:
  std::vector<CKTLVARRAY*> items_;
};

CKComboBoxEx::CKComboBoxEx(QWidget* parent) : QComboBox(parent), model_(new Model(this)) {
  setModel(model_);
  setIconSize(QSize(16, 16));
}

void CKComboBoxEx::AddItem(CKTLVARRAY* entry) {
  model_->Append(entry);
}

void CKComboBoxEx::ResetContent() {
  model_->Clear();
}

CKTLVARRAY* CKComboBoxEx::GetSelectedEntry() const {
  return model_->At(currentIndex());
}

CKTLVARRAY* CKComboBoxEx::GetEntryAt(int index) const {
  return model_->At(index);
}

bool CKComboBoxEx::SelectEntry(const CKTLVARRAY* entry) {
  const int row = model_->RowOf(entry);
  if (row < 0) {
    return false;
  }
  setCurrentIndex(row);
  return true;
}
