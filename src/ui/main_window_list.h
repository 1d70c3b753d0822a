#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

class CKListCtrl;
class CKTLVARRAY;

// What the main window's entry list shows: one folder, or the notes that a search found.
namespace main_window {

// The folder's rows: the up row in a subfolder, then its folders and notes, in the lists'
// order (by kind, then by name).
void ShowFolder(CKListCtrl& list, CKTLVARRAY& folder);

// The notes below the folder (at any depth) that hold the text in a field or in a field of an
// attachment, ignoring case; depth first, in child order.
std::vector<CKTLVARRAY*> FindNotes(CKTLVARRAY& folder, std::u16string_view text);

// The rows of FindNotes, sorted as a folder's rows are; returns how many there are.
std::size_t ShowSearchResult(CKListCtrl& list, CKTLVARRAY& folder, std::u16string_view text);

}  // namespace main_window
