// The texts and icons that show entries in lists and combo boxes.
#include <charconv>
#include <vector>

#include "database/entries.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "platform/texts.h"

namespace database {
namespace {

constexpr std::u16string_view kRootName = u"<    ROOT    >";
constexpr std::u16string_view kPathSeparator = u" \\ ";
constexpr std::uint32_t kFolderIcon = 10;

// Copies a string field into a cache; false, cache untouched, when the entry has no string
// child of that tag.
bool CopyStringField(const CKTLVARRAY& entry, std::uint32_t tag, std::u16string& cache) {
  const CKTLV* field = entry.FindChild(tag);
  if (field == nullptr || field->GetType() != TLV_STRING) {
    return false;
  }
  WipeString(cache);
  return field->GetString(cache);
}

}  // namespace

const std::u16string& GetName(CKTLVARRAY& entry) {
  if (!CopyStringField(entry, TAG_NAME, entry.NameCache())) {
    CopyStringField(entry, TAG_FILE_NAME, entry.NameCache());
  }
  return entry.NameCache();
}

const std::u16string& GetDescription(CKTLVARRAY& entry) {
  if (!CopyStringField(entry, TAG_TEXT, entry.DescriptionCache())) {
    std::uint32_t size = 0;
    if (entry.GetDwordByTag(TAG_FILE_SIZE, size)) {
      WipeString(entry.DescriptionCache());
      entry.DescriptionCache() = SizeText(size);
    }
  }
  return entry.DescriptionCache();
}

std::uint32_t GetIcon(CKTLVARRAY& entry) {
  entry.GetDwordByTag(TAG_ICON, entry.IconCache());
  return entry.IconCache();
}

const std::u16string& GetKindWord(CKTLVARRAY& entry) {
  int text = -1;
  std::u16string_view fallback;
  switch (entry.GetTag()) {
    case ENTRY_FOLDER:
      text = 32;
      fallback = u"folder";
      break;
    case ENTRY_NOTE:
      text = 33;
      fallback = u"note";
      break;
    case ENTRY_ATTACHMENT:
      text = 34;
      fallback = u"attachment";
      break;
    default:
      break;
  }
  if (text >= 0) {
    entry.KindCache() = platform::Text(0, text, fallback);
  }
  return entry.KindCache();
}

void GetDisplayPath(CKTLVARRAY& entry, std::u16string& path) {
  std::vector<CKTLVARRAY*> chain;  // the entry and every array above it
  for (CKTLVARRAY* array = &entry; array != nullptr; array = array->GetParent()) {
    chain.push_back(array);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const std::u16string& name = GetName(**it);
    if (!name.empty()) {
      path += name;
      path += kPathSeparator;
    }
  }
}

void ClearNameCache(CKTLVARRAY& entry) {
  WipeString(entry.NameCache());
}

ListItemInfo GetListItemInfo(CKTLVARRAY& entry, int column) {
  ListItemInfo info;
  if (column == 0) {
    info.has_text = true;
    info.text = GetName(entry);
  } else if (column == 1) {
    info.has_text = true;
    info.text = GetDescription(entry);
  }
  info.image = GetIcon(entry);
  return info;
}

ComboItemInfo GetComboItemInfo(CKTLVARRAY& entry) {
  if (!CopyStringField(entry, TAG_NAME, entry.NameCache())) {
    WipeString(entry.NameCache());
    entry.NameCache() = kRootName;
  }
  if (!entry.GetDwordByTag(TAG_ICON, entry.IconCache())) {
    entry.IconCache() = kFolderIcon;
  }
  ComboItemInfo info;
  info.text = entry.NameCache();
  info.image = entry.IconCache();
  info.selected_image = entry.IconCache();
  return info;
}

std::u16string SizeText(std::uint64_t bytes) {
  double size = static_cast<double>(bytes);
  const char* unit = " b";
  // Each step works on the value that the one before left.
  if (size > 999999999999.0) {
    size /= 1099511627776.0;  // 2^40
    unit = " Tb";
  }
  if (size > 999999999.0) {
    size /= 1073741824.0;  // 2^30
    unit = " Gb";
  }
  if (size > 999999.0) {
    size /= 1048576.0;  // 2^20
    unit = " Mb";
  }
  if (size > 999.0) {
    size /= 1024.0;
    unit = " Kb";
  }
  // As "%f" writes it in the C locale, whatever locale the process has chosen.
  char number[64];
  const auto written =
      std::to_chars(number, number + sizeof number, size, std::chars_format::fixed, 6);
  std::u16string text;
  for (const char* c = number; c < written.ptr && c < number + 5; ++c) {
    text.push_back(static_cast<char16_t>(*c));
  }
  for (const char* c = unit; *c != '\0'; ++c) {
    text.push_back(static_cast<char16_t>(*c));
  }
  return text;
}

}  // namespace database
