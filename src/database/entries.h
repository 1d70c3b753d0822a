#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "elements/tlv_array.h"

class CKNewNoteDefaults;
namespace platform {
class EntryListView;
}

// The operations on the entries of a user's trees (folders, notes, attachments, settings):
// making, editing and finding them, and the texts and icons that show them. Each works on the
// entry array it is given, as an operation of that array.
namespace database {

// A new entry of the kind's template (ENTRY_FOLDER, ENTRY_NOTE, SETTING_TEXT,
// ENTRY_ATTACHMENT, SETTING_NUMBER) whose parent is `parent`, not yet among its children: the
// caller adds it or destroys it. Null for any other kind.
CKTLVARRAY* CreateEntry(CKTLVARRAY& parent, std::uint32_t kind);

// Opens the entry's editor: the folder or note editor, or for an attachment the file chooser
// and the import of the chosen file. True when the user confirmed and the entry is whole.
bool EditEntry(CKTLVARRAY& entry);

// A new entry of the kind, filled (a note, when the defaults say so) and edited; on OK added
// to `parent` and to the list (when given), otherwise destroyed. The new entry or null.
CKTLVARRAY* AddNewEntry(CKTLVARRAY& parent, std::uint32_t kind, platform::EntryListView* list,
                        CKNewNoteDefaults* defaults);

// Destroys a child of `parent` and deletes its row from the list (when given). False when it
// is not a child.
bool RemoveEntry(CKTLVARRAY& parent, CKTLV* child, platform::EntryListView* list);

// The first child folder, note, text or number setting whose display name equals the name
// without regard to case. Attachments are never found so.
CKTLVARRAY* FindEntryByName(CKTLVARRAY& parent, std::u16string_view name);

// Whether the editors refuse a new name for an entry of the folder because another entry there
// has it (letter case aside). Keeping the opening name, or changing only its letter case, is
// allowed; so is any name without a folder.
bool NameTaken(CKTLVARRAY* folder, std::u16string_view name, std::u16string_view opening_name);

// Whether `other` is `folder` itself or lies below it, following child folders only.
bool ContainsFolder(const CKTLVARRAY& folder, const CKTLVARRAY* other);

// Every folder below `folder`, each followed by its own folders: depth first, in child order.
std::vector<CKTLVARRAY*> CollectFolders(const CKTLVARRAY& folder);

// The list's rows: the up row first in a folder that has a parent, then a row for every child
// array, in child order; then sorted.
void FillList(CKTLVARRAY& folder, platform::EntryListView& list);
// Grid, icons and the two column titles (texts 128.0 and 128.1), then SizeColumns.
void SetupColumns(platform::EntryListView& list);
// Column 0 gets half of the width (rounded down), column 1 the rest.
void SizeColumns(platform::EntryListView& list, int width);

// Display texts. Each refreshes the entry's cache and returns it; the reference stays valid
// until the next refresh of that cache or until the entry goes.
//
// The name: field 16, else field 49; with neither the cache is left as it is.
const std::u16string& GetName(CKTLVARRAY& entry);
// Field 17, else the size text of a 32-bit field 48; with neither the cache is left as it is.
const std::u16string& GetDescription(CKTLVARRAY& entry);
// Field 18; without it the cache is left as it is.
std::uint32_t GetIcon(CKTLVARRAY& entry);
// The language's word for the entry's kind: folder, note or attachment.
const std::u16string& GetKindWord(CKTLVARRAY& entry);
// Appends the parent's display path, then the entry's name and " \ " when the name is not
// empty.
void GetDisplayPath(CKTLVARRAY& entry, std::u16string& path);
// Empties the name cache.
void ClearNameCache(CKTLVARRAY& entry);

// What a list row shows in a column: 0 the name, 1 the description; no text in other columns.
struct ListItemInfo {
  bool has_text = false;
  std::u16string_view text;
  std::uint32_t image = 0;
};
ListItemInfo GetListItemInfo(CKTLVARRAY& entry, int column);

// What the folder combo box shows: the name, "<    ROOT    >" for the root folder; the icon,
// 10 without one. Both go to the caches.
struct ComboItemInfo {
  std::u16string_view text;
  std::uint32_t image = 0;
  std::uint32_t selected_image = 0;
};
ComboItemInfo GetComboItemInfo(CKTLVARRAY& entry);

// Whether any string field of the entry, or of one of its attachments, contains the text
// without regard to case. False for an empty text.
bool MatchesText(const CKTLVARRAY& entry, std::u16string_view text);

// A size in the lists: " b", " Kb", " Mb", " Gb" or " Tb" after at most 5 characters of the
// number, as 1,500 bytes give "1.464 Kb".
std::u16string SizeText(std::uint64_t bytes);

}  // namespace database
