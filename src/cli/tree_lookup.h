#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "elements/tlv_array.h"

// Finding folders, notes and attachments of a user's tree by the paths of the command line,
// and listing a folder as the main window does.
namespace cli {

bool IsFolder(const CKTLV& element);
bool IsNote(const CKTLV& element);
bool IsAttachment(const CKTLV& element);

// The child folder or note of that name: one whose name matches exactly, else the first that
// matches ignoring case (the editors keep names unique ignoring case, but files from elsewhere
// may not be).
CKTLVARRAY* FindChildEntry(CKTLVARRAY& folder, std::u16string_view name);

// The note's attachment of that file name, matched as FindChildEntry matches.
CKTLVARRAY* FindAttachment(CKTLVARRAY& note, std::u16string_view name);

// Each of these gives an exit code: 0 with the entry; kExitUsage for a path that does not
// parse; kExitNotFound when there is no such entry (both said on standard error).
//
// A folder or note; the empty path gives the root folder.
int LocateEntry(CKTLVARRAY& root, std::u16string_view path, CKTLVARRAY*& entry);
// A folder, or the root.
int LocateFolder(CKTLVARRAY& root, std::u16string_view path, CKTLVARRAY*& folder);
int LocateNote(CKTLVARRAY& root, std::u16string_view path, CKTLVARRAY*& note);
// The note's attachment of that file name; kExitNotFound (said) when it has none.
int LocateAttachment(CKTLVARRAY& note, const std::u16string& name, CKTLVARRAY*& attachment);
// Where a new entry goes: the existing folder of all but the last name, and the last name
// (which is needed).
int LocateNewEntry(CKTLVARRAY& root, std::u16string_view path, CKTLVARRAY*& folder,
                   std::u16string& name);

// The path of an entry as the command line writes it (names escaped, joined by "/").
std::u16string PathOf(CKTLVARRAY& entry);

// Folders and notes in the main window's order: by kind (folders first), then by name,
// comparing the UTF-16 code units (so "B" comes before "a"); equal names keep their order.
void SortLikeMainWindow(std::vector<CKTLVARRAY*>& entries);

// The folder's folders and notes, sorted like the main window's rows.
std::vector<CKTLVARRAY*> ListEntries(CKTLVARRAY& folder);

}  // namespace cli
