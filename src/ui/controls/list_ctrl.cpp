#include "ui/controls/list_ctrl.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

#include "database/entries.h"
#include "elements/tlv_array.h"
#include "ui/controls/image_list.h"

namespace {

CKTLVARRAY* g_up_entry = nullptr;

}  // namespace

CKListModel::CKListModel(QObject* parent) : QAbstractTableModel(parent) {}

int CKListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CKListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant CKListModel::data(const QModelIndex& index, int role) const {
  CKTLVARRAY* entry = EntryAt(index.row());
  if (entry == nullptr) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    const database::ListItemInfo info = database::GetListItemInfo(*entry, index.column());
    return info.has_text ? QVariant(QString::fromUtf16(info.text.data(),
                                                       static_cast<qsizetype>(info.text.size())))
                         : QVariant();
  }
  if (role == Qt::DecorationRole && index.column() == 0) {
    const database::ListItemInfo info = database::GetListItemInfo(*entry, 0);
    if (const CKImageList* images = CKImageList::Shared()) {
      return images->GetIcon(static_cast<int>(info.image));
    }
  }
  return {};
}

QVariant CKListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2) {
    return titles_[section];
  }
  return {};
}

void CKListModel::SetTitles(const QString& first, const QString& second) {
  titles_[0] = first;
  titles_[1] = second;
  emit headerDataChanged(Qt::Horizontal, 0, 1);
}

void CKListModel::Append(CKTLVARRAY* entry) {
  const int row = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), row, row);
  rows_.push_back(entry);
  endInsertRows();
}

void CKListModel::RemoveAt(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    return;
  }
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void CKListModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void CKListModel::SortEntries() {
  emit layoutAboutToBeChanged();
  // The names are copied first: GetName refreshes a cache that the next call may reuse.
  std::vector<std::pair<CKTLVARRAY*, std::u16string>> keyed;
  keyed.reserve(rows_.size());
  for (CKTLVARRAY* entry : rows_) {
    keyed.emplace_back(entry, database::GetName(*entry));
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    if (a.first->GetTag() != b.first->GetTag()) {
      return a.first->GetTag() < b.first->GetTag();
    }
    return a.second < b.second;
  });
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    rows_[i] = keyed[i].first;
  }
  emit layoutChanged();
}

void CKListModel::Refresh() {
  if (!rows_.empty()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, 1));
  }
}

CKTLVARRAY* CKListModel::EntryAt(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)]
                                                          : nullptr;
}

int CKListModel::RowOf(const CKTLVARRAY* entry) const {
  const auto found = std::find(rows_.begin(), rows_.end(), entry);
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

CKListCtrl::CKListCtrl(QWidget* parent) : QTableView(parent), model_(new CKListModel(this)) {
  setModel(model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setShowGrid(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  setIconSize(QSize(16, 16));
}

void CKListCtrl::SetSharedUpEntry(CKTLVARRAY* up_entry) {
  g_up_entry = up_entry;
}

CKTLVARRAY* CKListCtrl::SharedUpEntry() {
  return g_up_entry;
}

void CKListCtrl::FitColumns() {
  if (!fitting_ || columns_owner_ == nullptr) {
    return;
  }
  const int width = ClientWidth();
  if (columnWidth(0) + columnWidth(1) != width) {
    database::SizeColumns(*this, width);
  }
}

CKTLVARRAY* CKListCtrl::GetSelectedEntry() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.size() == 1 ? model_->EntryAt(rows.first().row()) : nullptr;
}

void CKListCtrl::SelectEntry(const CKTLVARRAY* entry) {
  const int row = model_->RowOf(entry);
  if (row < 0) {
    clearSelection();
    return;
  }
  selectRow(row);
}

void CKListCtrl::DeleteRowAt(int row) {
  const bool was_selected = selectionModel()->isRowSelected(row, QModelIndex());
  model_->RemoveAt(row);
  if (was_selected) {
    // The view would select a neighbour; a deleted row leaves nothing selected.
    clearSelection();
  }
  FitColumns();
}

void CKListCtrl::SetRedraw(bool redraw) {
  setUpdatesEnabled(redraw);
}

void CKListCtrl::DeleteAllRows() {
  model_->Clear();
  FitColumns();
}

void CKListCtrl::AddUpRow() {
  if (g_up_entry != nullptr) {
    AddRow(g_up_entry);
  }
}

void CKListCtrl::AddRow(CKTLVARRAY* entry) {
  model_->Append(entry);
  FitColumns();
}

void CKListCtrl::DeleteRow(const CKTLVARRAY* entry) {
  const int row = model_->RowOf(entry);
  if (row >= 0) {
    DeleteRowAt(row);
  }
}

void CKListCtrl::SortRows() {
  model_->SortEntries();
  viewport()->update();
}

void CKListCtrl::PrepareColumns(const std::u16string& first_title,
                                const std::u16string& second_title) {
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  model_->SetTitles(QString::fromStdU16String(first_title),
                    QString::fromStdU16String(second_title));
}

int CKListCtrl::ClientWidth() const {
  return viewport()->width();
}

void CKListCtrl::SetColumnWidth(int column, int width) {
  setColumnWidth(column, width);
}

void CKListCtrl::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns();
}
