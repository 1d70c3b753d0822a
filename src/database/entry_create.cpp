// New entries from the templates of their kinds.
#include <ctime>
#include <initializer_list>
#include <memory>
#include <new>

#include "database/entries.h"
#include "elements/tags.h"

namespace database {
namespace {

struct Field {
  std::uint32_t tag;
  std::uint8_t type;
  std::uint32_t value = 0;  // for numbers
};

std::uint32_t Now() {
  return static_cast<std::uint32_t>(std::time(nullptr));
}

void Append(CKTLVARRAY& entry, std::initializer_list<Field> fields) {
  for (const Field& field : fields) {
    std::unique_ptr<CKTLV> element(CreateElement(field.tag, field.type));
    if (element == nullptr) {
      throw std::bad_alloc();
    }
    if (field.type == TLV_DWORD) {
      element->SetDword(field.value);
    }
    entry.AddChild(element.get());
    element.release();
  }
}

}  // namespace

CKTLVARRAY* CreateEntry(CKTLVARRAY& parent, std::uint32_t kind) {
  auto entry = std::make_unique<CKTLVARRAY>();
  entry->SetTag(kind);
  switch (kind) {
    case ENTRY_FOLDER:
      Append(*entry, {{TAG_NAME, TLV_STRING}, {TAG_TEXT, TLV_STRING}, {TAG_ICON, TLV_DWORD, 10}});
      break;
    case ENTRY_NOTE: {
      const std::uint32_t now = Now();
      Append(*entry, {{TAG_NAME, TLV_STRING},
                      {TAG_TEXT, TLV_STRING},
                      {TAG_LOGIN, TLV_STRING},
                      {TAG_PASSWORD, TLV_STRING},
                      {TAG_URL, TLV_STRING},
                      {TAG_EMAIL, TLV_STRING},
                      {TAG_CREATED, TLV_DWORD, now},
                      {TAG_MODIFIED, TLV_DWORD, now},
                      {TAG_RESERVED_21, TLV_DWORD, 0},
                      {TAG_RESERVED_1, TLV_DWORD, 0},
                      {TAG_ICON, TLV_DWORD, 0}});
      break;
    }
    case SETTING_TEXT:
      Append(*entry, {{TAG_NAME, TLV_STRING}, {TAG_TEXT_VALUE, TLV_STRING}});
      break;
    case ENTRY_ATTACHMENT:
      Append(*entry, {{TAG_FILE_NAME, TLV_STRING},
                      {TAG_FILE_SIZE, TLV_DWORD, 0},
                      {TAG_FILE_DATA, TLV_BINARY},
                      {TAG_FILE_CREATED, TLV_DWORD, 0},
                      {TAG_FILE_MODIFIED, TLV_DWORD, 0},
                      {TAG_ICON, TLV_DWORD, 20}});
      break;
    case SETTING_NUMBER:
      Append(*entry, {{TAG_NAME, TLV_STRING}, {TAG_NUMBER_VALUE, TLV_DWORD, 0}});
      break;
    default:
      return nullptr;
  }
  entry->SetParent(&parent);
  return entry.release();
}

}  // namespace database
