// The user's named settings, kept as entries of the settings tree.
#include <memory>
#include <new>

#include "database/database.h"
#include "database/entries.h"
#include "elements/scalars.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"

namespace {

// The setting's value field, made when it is missing. A field of that tag but of another type
// is replaced: it would hide every value appended after it.
template <typename Element>
CKTLV& ValueField(CKTLVARRAY& setting, std::uint32_t tag, std::uint8_t type) {
  CKTLV* field = setting.FindChild(tag);
  if (field != nullptr && dynamic_cast<Element*>(field) != nullptr) {
    return *field;
  }
  if (field != nullptr) {
    setting.RemoveChild(field);
  }
  std::unique_ptr<CKTLV> made(CreateElement(tag, type));
  if (made == nullptr || !setting.AddChild(made.get())) {
    throw std::bad_alloc();
  }
  return *made.release();
}

CKTLVARRAY& FindOrAddSetting(CKTLVARRAY& settings, std::u16string_view name, std::uint32_t kind) {
  if (CKTLVARRAY* found = database::FindEntryByName(settings, name)) {
    return *found;
  }
  std::unique_ptr<CKTLVARRAY> setting(database::CreateEntry(settings, kind));
  if (setting == nullptr || !settings.AddChild(setting.get())) {
    throw std::bad_alloc();
  }
  const std::u16string text(name);
  setting->SetStringByTag(TAG_NAME, text.c_str());
  return *setting.release();
}

}  // namespace

bool CKDatabase::GetNumberSetting(std::u16string_view name, std::uint32_t& value,
                                  std::uint32_t default_value) {
  const CKTLVARRAY* setting = database::FindEntryByName(m_Settings, name);
  if (setting != nullptr && setting->GetDwordByTag(TAG_NUMBER_VALUE, value)) {
    return true;
  }
  value = default_value;
  return false;
}

bool CKDatabase::GetTextSetting(std::u16string_view name, std::u16string& value,
                                std::u16string_view default_value) {
  const CKTLVARRAY* setting = database::FindEntryByName(m_Settings, name);
  const CKTLV* field = setting != nullptr ? setting->FindChild(TAG_TEXT_VALUE) : nullptr;
  WipeString(value);
  if (field != nullptr && field->GetType() == TLV_STRING && field->GetString(value)) {
    return true;
  }
  value.assign(default_value);
  return false;
}

bool CKDatabase::SetNumberSetting(std::u16string_view name, std::uint32_t value) {
  CKTLVARRAY& setting = FindOrAddSetting(m_Settings, name, SETTING_NUMBER);
  ValueField<CKTLVDWORD>(setting, TAG_NUMBER_VALUE, TLV_DWORD).SetDword(value);
  return true;
}

bool CKDatabase::SetTextSetting(std::u16string_view name, std::u16string_view value) {
  CKTLVARRAY& setting = FindOrAddSetting(m_Settings, name, SETTING_TEXT);
  std::u16string text(value);  // zero-terminated for the element; may be user data
  ValueField<CKTLVSTRING>(setting, TAG_TEXT_VALUE, TLV_STRING).SetString(text.c_str());
  WipeString(text);
  return true;
}
