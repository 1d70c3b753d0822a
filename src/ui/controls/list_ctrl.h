#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QTableView>
#include <vector>

#include "platform/entry_views.h"

class CKTLVARRAY;

// The rows of an entry list: each row carries an entry of the user's tree (not owned) and asks
// it for its texts and image whenever the view paints.
class CKListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CKListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetTitles(const QString& first, const QString& second);
  void Append(CKTLVARRAY* entry);
  void RemoveAt(int row);
  void Clear();
  // Rows in the lists' order: by the entry's tag, then by name, case-sensitive.
  void SortEntries();
  // Every row asks its entry again (names and icons may have changed).
  void Refresh();
  CKTLVARRAY* EntryAt(int row) const;
  int RowOf(const CKTLVARRAY* entry) const;

 private:
  std::vector<CKTLVARRAY*> rows_;
  QString titles_[2];
};

// A report-style list of entries with two columns that share the width, the shared images as
// row icons and single selection of whole rows.
class CKListCtrl : public QTableView, public platform::EntryListView {
  Q_OBJECT

 public:
  explicit CKListCtrl(QWidget* parent = nullptr);

  // The row that leads to the parent folder shows this entry (the core's up entry).
  static void SetSharedUpEntry(CKTLVARRAY* up_entry);
  static CKTLVARRAY* SharedUpEntry();

  // The element whose rule sizes the columns; none switches fitting off until one is set.
  void SetColumnsOwner(CKTLVARRAY* owner) { columns_owner_ = owner; }
  void SetFitting(bool fitting) { fitting_ = fitting; }
  // Sizes the columns when fitting is on and their widths do not fill the list.
  void FitColumns();

  // The entry of the single selected row, or null.
  CKTLVARRAY* GetSelectedEntry() const;
  void SelectEntry(const CKTLVARRAY* entry);
  // Deletes one row and fits the columns.
  void DeleteRowAt(int row);
  // Redraws every row without sorting again.
  void RefreshRows() { model_->Refresh(); }
  int GetRowCount() const { return model_->rowCount(); }
  CKTLVARRAY* GetEntryAt(int row) const { return model_->EntryAt(row); }
  CKListModel* Model() const { return model_; }

  // platform::EntryListView
  void SetRedraw(bool redraw) override;
  void DeleteAllRows() override;
  void AddUpRow() override;
  void AddRow(CKTLVARRAY* entry) override;
  void DeleteRow(const CKTLVARRAY* entry) override;
  void SortRows() override;
  void PrepareColumns(const std::u16string& first_title,
                      const std::u16string& second_title) override;
  int ClientWidth() const override;
  void SetColumnWidth(int column, int width) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  CKListModel* model_;
  CKTLVARRAY* columns_owner_ = nullptr;
  bool fitting_ = true;
};
