#pragma once

#include <string>

class CKTLVARRAY;

namespace platform {

// A list view whose rows stand for entries of a user's tree: the main window's folder list and
// the note editor's attachment list. A row carries its entry; the view asks the entry for the
// row's texts and image when it paints (GetListItemInfo of the user database). The interface
// layer implements it on its list controls.
class EntryListView {
 public:
  virtual ~EntryListView() = default;

  virtual void SetRedraw(bool redraw) = 0;
  virtual void DeleteAllRows() = 0;
  // The row that leads to the parent folder (the core's up entry).
  virtual void AddUpRow() = 0;
  virtual void AddRow(CKTLVARRAY* entry) = 0;
  // Deletes the row that carries the entry, if there is one.
  virtual void DeleteRow(const CKTLVARRAY* entry) = 0;
  // Sorts the rows in the list's order and repaints.
  virtual void SortRows() = 0;
  // Full-row selection, grid lines, the shared icons as small images, and two columns with
  // these titles.
  virtual void PrepareColumns(const std::u16string& first_title,
                              const std::u16string& second_title) = 0;
  virtual int ClientWidth() const = 0;
  virtual void SetColumnWidth(int column, int width) = 0;
};

// The editors that open on an entry: each edits the entry's fields in place and returns true
// when the user confirmed with OK. Until the interface layer installs its own, every editor
// answers "cancelled".
class EntryEditors {
 public:
  virtual ~EntryEditors() = default;
  virtual bool EditFolder(CKTLVARRAY& folder) = 0;
  virtual bool EditNote(CKTLVARRAY& note) = 0;
};

// The editors in use.
EntryEditors& Editors();

// Installs editors (not owned) and returns the ones they replace; null restores the default.
EntryEditors* InstallEditors(EntryEditors* editors);

}  // namespace platform
