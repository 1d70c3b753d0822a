#include "elements/schema.h"

#include <initializer_list>

#include "elements/scalars.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"

namespace {

enum class Field { kString, kNumber, kBytes };

struct Required {
  std::uint32_t tag;
  Field field;
};

// Asks the class rather than the type code: that is what the typed gets answer by, and it
// copies no value (the string may be a password).
bool Answers(const CKTLV* child, Field field) {
  if (child == nullptr) {
    return false;
  }
  switch (field) {
    case Field::kString:
      return child->GetKind() == CKTLV::Kind::kString;
    case Field::kNumber:
      return child->GetKind() == CKTLV::Kind::kDword;
    case Field::kBytes:
      return child->GetKind() == CKTLV::Kind::kBinary;
  }
  return false;
}

bool HasAll(const CKTLVARRAY& array, std::initializer_list<Required> fields) {
  for (const Required& required : fields) {
    if (!Answers(array.FindChild(required.tag), required.field)) {
      return false;
    }
  }
  return true;
}

constexpr Field S = Field::kString;
constexpr Field N = Field::kNumber;

}  // namespace

bool CheckSchema(const CKTLVARRAY& array) {
  switch (array.GetTag()) {
    case 0:
    case ENTRY_ROOT:
    case SETTINGS_ROOT:
      return true;
    case ENTRY_FOLDER:
      return HasAll(array, {{TAG_ICON, N}, {TAG_NAME, S}, {TAG_TEXT, S}});
    case ENTRY_NOTE:
      return HasAll(array, {{TAG_ICON, N},
                            {TAG_RESERVED_1, N},
                            {TAG_NAME, S},
                            {TAG_TEXT, S},
                            {TAG_CREATED, N},
                            {TAG_MODIFIED, N},
                            {TAG_RESERVED_21, N},
                            {TAG_LOGIN, S},
                            {TAG_PASSWORD, S},
                            {TAG_URL, S},
                            {TAG_EMAIL, S}});
    case SETTING_TEXT:
      return HasAll(array, {{TAG_NAME, S}, {TAG_TEXT_VALUE, S}});
    case ENTRY_ATTACHMENT:
      return HasAll(array, {{TAG_ICON, N},
                            {TAG_FILE_NAME, S},
                            {TAG_FILE_SIZE, N},
                            {TAG_FILE_DATA, Field::kBytes},
                            {TAG_FILE_CREATED, N},
                            {TAG_FILE_MODIFIED, N}});
    case SETTING_NUMBER:
      return HasAll(array, {{TAG_NAME, S}, {TAG_NUMBER_VALUE, N}});
    default:
      return false;
  }
}
