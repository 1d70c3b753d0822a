// Finding entries: by name, by folder, by text.
#include <utility>

#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "platform/text_case.h"

namespace database {
namespace {

bool IsNamedKind(std::uint32_t tag) {
  return tag == ENTRY_FOLDER || tag == ENTRY_NOTE || tag == SETTING_TEXT || tag == SETTING_NUMBER;
}

CKTLVARRAY* AsArray(CKTLV* element) {
  return element->GetType() == TLV_ARRAY ? element->AsArray() : nullptr;
}

const CKTLVARRAY* AsArray(const CKTLV* element) {
  return element->GetType() == TLV_ARRAY ? element->AsArray() : nullptr;
}

// Whether a string field of the entry holds the lowered text; every lowered copy is wiped.
bool AnyFieldContains(const CKTLVARRAY& entry, const std::u16string& lowered_text) {
  std::u16string value;
  for (const CKTLV* child : entry.GetChildren()) {
    if (child->GetType() != TLV_STRING) {
      continue;
    }
    WipeString(value);  // before it is given a longer text that would move it
    child->GetString(value);
    std::u16string lowered = platform::LowerText(value);
    const bool found = lowered.find(lowered_text) != std::u16string::npos;
    WipeString(lowered);
    if (found) {
      WipeString(value);
      return true;
    }
  }
  WipeString(value);
  return false;
}

}  // namespace

CKTLVARRAY* FindEntryByName(CKTLVARRAY& parent, std::u16string_view name) {
  for (CKTLV* child : parent.GetChildren()) {
    CKTLVARRAY* entry = AsArray(child);
    if (entry != nullptr && IsNamedKind(entry->GetTag()) &&
        platform::EqualsIgnoringCase(GetName(*entry), name)) {
      return entry;
    }
  }
  return nullptr;
}

bool NameTaken(CKTLVARRAY* folder, std::u16string_view name, std::u16string_view opening_name) {
  if (folder == nullptr || platform::EqualsIgnoringCase(name, opening_name)) {
    return false;
  }
  return FindEntryByName(*folder, name) != nullptr;
}

bool ContainsFolder(const CKTLVARRAY& folder, const CKTLVARRAY* other) {
  // Upwards from the other one: every step below `folder` has to be a folder.
  for (const CKTLVARRAY* array = other; array != nullptr; array = array->GetParent()) {
    if (array == &folder) {
      return true;
    }
    if (array->GetTag() != ENTRY_FOLDER) {
      return false;
    }
  }
  return false;
}

std::vector<CKTLVARRAY*> CollectFolders(const CKTLVARRAY& folder) {
  std::vector<CKTLVARRAY*> folders;
  // Pending work: an array and the index of its next child to visit.
  std::vector<std::pair<const CKTLVARRAY*, std::uint32_t>> stack{{&folder, 0}};
  while (!stack.empty()) {
    auto& [array, next] = stack.back();
    if (next >= array->GetChildCount()) {
      stack.pop_back();
      continue;
    }
    CKTLVARRAY* child = AsArray(array->GetChild(next++));
    if (child != nullptr && child->GetTag() == ENTRY_FOLDER) {
      folders.push_back(child);
      stack.emplace_back(child, 0);
    }
  }
  return folders;
}

bool MatchesText(const CKTLVARRAY& entry, std::u16string_view text) {
  if (text.empty()) {
    return false;
  }
  std::u16string lowered_text = platform::LowerText(text);
  bool found = AnyFieldContains(entry, lowered_text);
  for (const CKTLV* child : entry.GetChildren()) {
    if (found) {
      break;
    }
    const CKTLVARRAY* attachment = AsArray(child);
    found = attachment != nullptr && attachment->GetTag() == ENTRY_ATTACHMENT &&
            AnyFieldContains(*attachment, lowered_text);
  }
  WipeString(lowered_text);
  return found;
}

}  // namespace database
