#include "cli/tree_lookup.h"

#include <algorithm>

#include "cli/entry_path.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "platform/text_case.h"

namespace cli {
namespace {

bool IsArrayOf(const CKTLV& element, std::uint32_t tag) {
  return element.GetType() == TLV_ARRAY && element.GetTag() == tag &&
         dynamic_cast<const CKTLVARRAY*>(&element) != nullptr;
}

// The first child of the kinds whose display name matches exactly, else ignoring case.
template <typename Accept>
CKTLVARRAY* FindByName(CKTLVARRAY& parent, std::u16string_view name, Accept accept) {
  CKTLVARRAY* ignoring_case = nullptr;
  for (CKTLV* child : parent.GetChildren()) {
    if (!accept(*child)) {
      continue;
    }
    auto* entry = static_cast<CKTLVARRAY*>(child);
    const std::u16string& entry_name = database::GetName(*entry);
    if (entry_name == name) {
      return entry;
    }
    if (ignoring_case == nullptr && platform::EqualsIgnoringCase(entry_name, name)) {
      ignoring_case = entry;
    }
  }
  return ignoring_case;
}

std::u16string Where(CKTLVARRAY& folder) {
  return folder.GetParent() == nullptr ? std::u16string(u"the root folder")
                                       : u"\"" + PathOf(folder) + u"\"";
}

int NotFound(std::u16string_view what, std::u16string_view name, CKTLVARRAY& folder) {
  std::u16string text = u"there is no " + std::u16string(what) + u" \"" + EscapeName(name) +
                        u"\" in " + Where(folder);
  ReportError(text);
  WipeString(text);
  return kExitNotFound;
}

int Unparsable(const EntryPath& path) {
  ReportError(path.error);
  return kExitUsage;
}

// Walks the folders of names[0, count).
int WalkFolders(CKTLVARRAY& root, const std::vector<std::u16string>& names, std::size_t count,
                CKTLVARRAY*& folder) {
  folder = &root;
  for (std::size_t i = 0; i < count; ++i) {
    CKTLVARRAY* next = FindChildEntry(*folder, names[i]);
    if (next == nullptr || !IsFolder(*next)) {
      return NotFound(u"folder", names[i], *folder);
    }
    folder = next;
  }
  return kExitOk;
}

}  // namespace

bool IsFolder(const CKTLV& element) {
  return IsArrayOf(element, ENTRY_FOLDER);
}
bool IsNote(const CKTLV& element) {
  return IsArrayOf(element, ENTRY_NOTE);
}
bool IsAttachment(const CKTLV& element) {
  return IsArrayOf(element, ENTRY_ATTACHMENT);
}

CKTLVARRAY* FindChildEntry(CKTLVARRAY& folder, std::u16string_view name) {
  return FindByName(folder, name,
                    [](const CKTLV& child) { return IsFolder(child) || IsNote(child); });
}

CKTLVARRAY* FindAttachment(CKTLVARRAY& note, std::u16string_view name) {
  return FindByName(note, name, [](const CKTLV& child) { return IsAttachment(child); });
}

int LocateEntry(CKTLVARRAY& root, std::u16string_view text, CKTLVARRAY*& entry) {
  const EntryPath path = ParseEntryPath(text);
  if (!path.valid) {
    return Unparsable(path);
  }
  if (path.names.empty()) {
    entry = &root;
    return kExitOk;
  }
  CKTLVARRAY* folder = nullptr;
  if (const int result = WalkFolders(root, path.names, path.names.size() - 1, folder);
      result != kExitOk) {
    return result;
  }
  entry = FindChildEntry(*folder, path.names.back());
  return entry != nullptr ? kExitOk : NotFound(u"folder or note", path.names.back(), *folder);
}

int LocateFolder(CKTLVARRAY& root, std::u16string_view text, CKTLVARRAY*& folder) {
  const EntryPath path = ParseEntryPath(text);
  if (!path.valid) {
    return Unparsable(path);
  }
  return WalkFolders(root, path.names, path.names.size(), folder);
}

int LocateAttachment(CKTLVARRAY& note, const std::u16string& name, CKTLVARRAY*& attachment) {
  attachment = FindAttachment(note, name);
  if (attachment == nullptr) {
    ReportError(u"the note has no attachment \"" + name + u"\"");
    return kExitNotFound;
  }
  return kExitOk;
}

int LocateNote(CKTLVARRAY& root, std::u16string_view text, CKTLVARRAY*& note) {
  const EntryPath path = ParseEntryPath(text);
  if (!path.valid) {
    return Unparsable(path);
  }
  if (path.names.empty()) {
    ReportError("the root folder is not a note");
    return kExitNotFound;
  }
  CKTLVARRAY* folder = nullptr;
  if (const int result = WalkFolders(root, path.names, path.names.size() - 1, folder);
      result != kExitOk) {
    return result;
  }
  note = FindChildEntry(*folder, path.names.back());
  return note != nullptr && IsNote(*note) ? kExitOk : NotFound(u"note", path.names.back(), *folder);
}

int LocateNewEntry(CKTLVARRAY& root, std::u16string_view text, CKTLVARRAY*& folder,
                   std::u16string& name) {
  EntryPath path = ParseEntryPath(text);
  if (!path.valid) {
    return Unparsable(path);
  }
  if (path.names.empty()) {
    ReportError("the new entry needs a name: the path is empty");
    return kExitUsage;
  }
  if (const int result = WalkFolders(root, path.names, path.names.size() - 1, folder);
      result != kExitOk) {
    return result;
  }
  WipeString(name);
  name = std::move(path.names.back());
  path.names.pop_back();
  return kExitOk;
}

std::u16string PathOf(CKTLVARRAY& entry) {
  std::vector<CKTLVARRAY*> chain;
  for (CKTLVARRAY* array = &entry; array->GetParent() != nullptr; array = array->GetParent()) {
    chain.push_back(array);
  }
  std::u16string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty()) {
      path += u'/';
    }
    path += EscapeName(database::GetName(**it));
  }
  return path;
}

void SortLikeMainWindow(std::vector<CKTLVARRAY*>& entries) {
  for (CKTLVARRAY* entry : entries) {
    database::GetName(*entry);  // fills the name cache that the comparison reads
  }
  std::stable_sort(entries.begin(), entries.end(), [](CKTLVARRAY* a, CKTLVARRAY* b) {
    if (a->GetTag() != b->GetTag()) {
      return a->GetTag() < b->GetTag();
    }
    return a->NameCache() < b->NameCache();
  });
}

std::vector<CKTLVARRAY*> ListEntries(CKTLVARRAY& folder) {
  std::vector<CKTLVARRAY*> entries;
  for (CKTLV* child : folder.GetChildren()) {
    if (IsFolder(*child) || IsNote(*child)) {
      entries.push_back(static_cast<CKTLVARRAY*>(child));
    }
  }
  SortLikeMainWindow(entries);
  return entries;
}

}  // namespace cli
