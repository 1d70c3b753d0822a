// The entry list of the main window: the folder shown, the way up and down the tree, the
// search, and opening a row.
#include "ui/main_window_list.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <string>
#include <utility>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "ui/controls/list_ctrl.h"
#include "ui/controls/secure_text.h"
#include "ui/main_window.h"

namespace main_window {
namespace {

CKTLVARRAY* AsArray(CKTLV* element) {
  return element->GetType() == TLV_ARRAY ? dynamic_cast<CKTLVARRAY*>(element) : nullptr;
}

}  // namespace

void ShowFolder(CKListCtrl& list, CKTLVARRAY& folder) {
  // The columns are fitted once, after the last row, not after every row.
  list.SetFitting(false);
  database::FillList(folder, list);
  list.SetFitting(true);
  list.FitColumns();
}

std::vector<CKTLVARRAY*> FindNotes(CKTLVARRAY& folder, std::u16string_view text) {
  std::vector<CKTLVARRAY*> found;
  if (text.empty()) {
    return found;
  }
  // Depth first without recursion: a tree read from a file may be deep.
  std::vector<std::pair<CKTLVARRAY*, std::uint32_t>> pending{{&folder, 0}};
  while (!pending.empty()) {
    auto& [array, next] = pending.back();
    if (next >= array->GetChildCount()) {
      pending.pop_back();
      continue;
    }
    CKTLVARRAY* child = AsArray(array->GetChild(next++));
    if (child == nullptr) {
      continue;
    }
    if (child->GetTag() == ENTRY_NOTE) {
      if (database::MatchesText(*child, text)) {
        found.push_back(child);
      }
    } else if (child->GetTag() == ENTRY_FOLDER) {
      pending.emplace_back(child, 0);
    }
  }
  return found;
}

std::size_t ShowSearchResult(CKListCtrl& list, CKTLVARRAY& folder, std::u16string_view text) {
  const std::vector<CKTLVARRAY*> found = FindNotes(folder, text);
  // One sort at the end gives the order that sorting after every row would give.
  list.SetFitting(false);
  list.SetRedraw(false);
  list.DeleteAllRows();
  for (CKTLVARRAY* note : found) {
    list.AddRow(note);
  }
  list.SetRedraw(true);
  list.SortRows();
  list.SetFitting(true);
  list.FitColumns();
  return found.size();
}

}  // namespace main_window

CKListCtrl* CVaultQuillDlg::List() const {
  return Item<CKListCtrl>(kList);
}

void CVaultQuillDlg::ShowCurrentFolder() {
  CKCore* core = TheCore();
  CKListCtrl* list = List();
  CKTLVARRAY* folder = core != nullptr ? core->GetCurrentFolder() : nullptr;
  showing_search_ = false;
  if (list == nullptr) {
    return;
  }
  if (folder == nullptr) {
    list->DeleteAllRows();
    return;
  }
  main_window::ShowFolder(*list, *folder);
}

void CVaultQuillDlg::UpdatePath() {
  CKCore* core = TheCore();
  auto* edit = Item<QLineEdit>(kPath);
  if (core == nullptr || edit == nullptr) {
    return;
  }
  std::u16string path;
  if (CKTLVARRAY* folder = core->GetCurrentFolder()) {
    database::GetDisplayPath(*folder, path);
  }
  secure::WipeLineEdit(edit);
  edit->setText(QString::fromStdU16String(path));
  edit->setCursorPosition(0);
  WipeString(path);
}

void CVaultQuillDlg::RefreshList() {
  const auto* search = Item<QLineEdit>(kSearch);
  if (search != nullptr && !search->text().isEmpty()) {
    OnSearchChanged();
  } else {
    ShowCurrentFolder();
  }
}

void CVaultQuillDlg::OnSearchChanged() {
  CKCore* core = TheCore();
  auto* edit = Item<QLineEdit>(kSearch);
  CKListCtrl* list = List();
  if (core == nullptr || edit == nullptr || list == nullptr) {
    return;
  }
  CKTLVARRAY* folder = core->GetCurrentFolder();
  std::u16string text = edit->text().toStdU16String();
  if (text.empty() || folder == nullptr) {
    ShowCurrentFolder();
    return;
  }
  main_window::ShowSearchResult(*list, *folder, text);
  showing_search_ = true;
  WipeString(text);
}

void CVaultQuillDlg::ClearSearch() {
  auto* edit = Item<QLineEdit>(kSearch);
  if (edit == nullptr) {
    return;
  }
  if (!edit->text().isEmpty()) {
    // The caller shows the folder it goes to; the list is not filled twice.
    const QSignalBlocker quiet(edit);
    secure::WipeLineEdit(edit);
  }
  edit->setFocus();
}

void CVaultQuillDlg::OnUp() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  const bool was_searching = showing_search_;
  ClearSearch();
  CKTLVARRAY* folder = core->GetCurrentFolder();
  CKTLVARRAY* parent = folder != nullptr ? folder->GetParent() : nullptr;
  if (parent != nullptr) {
    core->SetCurrentFolder(parent);
    ShowCurrentFolder();
    UpdatePath();
  } else if (was_searching) {
    ShowCurrentFolder();
  }
}

void CVaultQuillDlg::OnRoot() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  ClearSearch();
  core->SetCurrentFolder(core->GetRootFolder());
  ShowCurrentFolder();
  UpdatePath();
}

void CVaultQuillDlg::ActivateSelected() {
  CKCore* core = TheCore();
  CKListCtrl* list = List();
  CKTLVARRAY* entry = list != nullptr ? list->GetSelectedEntry() : nullptr;
  if (core == nullptr || entry == nullptr) {
    return;
  }
  switch (entry->GetTag()) {
    case ENTRY_FOLDER:
      core->SetCurrentFolder(entry);
      ShowCurrentFolder();
      UpdatePath();
      break;
    case ENTRY_UP:
      OnUp();
      break;
    default:
      OnEditEntry();
      break;
  }
}

void CVaultQuillDlg::OnListClicked(bool double_click) {
  CKCore* core = TheCore();
  const bool single_click = core != nullptr && core->m_SettingsUserBased.boolSingleClickInterface;
  if (double_click != !single_click) {
    return;
  }
  // With single clicks, the second click of a double click would open whatever row the
  // first one put under the pointer.
  if (!double_click && std::exchange(swallow_click_, false)) {
    return;
  }
  ActivateSelected();
}
