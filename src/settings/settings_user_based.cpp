#include "settings/settings_user_based.h"

#include "database/database.h"
#include "database/databases_container.h"
#include "elements/wipe_string.h"

namespace {

bool ReadFlag(CKDatabase& database, std::u16string_view key, bool default_value) {
  std::uint32_t value = 0;
  database.GetNumberSetting(key, value, default_value ? 1 : 0);
  return value != 0;
}

void WriteFlag(CKDatabase& database, std::u16string_view key, bool value) {
  database.SetNumberSetting(key, value ? 1 : 0);
}

}  // namespace

CKSettingsUserBased::CKSettingsUserBased(CKDatabasesContainer& users)
    : CKSettings(kGroupName), users_(users) {}

CKSettingsUserBased::~CKSettingsUserBased() {
  WipeString(stringCustomArray);
  WipeString(stringLanguage);
  WipeString(stringDefaultLogin);
  WipeString(stringDefaultEmail);
}

void CKSettingsUserBased::SetDefaults() {
  boolLogOutOnMinimize = true;
  boolCleanClipboardOnExit = true;
  boolAutoFillNewNotesWithDefaults = true;
  boolHidePasswords = true;
  boolSingleClickInterface = true;
  boolIsLetersEnabledBig = true;
  boolIsLetersEnabledSmall = true;
  boolIsNumbersEnabled = true;
  boolIsCustomEnabled = false;
  boolIsSpecialEnabled = false;
  intPasswordLength = 14;
  WipeString(stringCustomArray);
  WipeString(stringLanguage);
  WipeString(stringDefaultLogin);
  WipeString(stringDefaultEmail);
}

bool CKSettingsUserBased::Load() {
  CKDatabase* current = users_.GetCurrent();
  if (current == nullptr) {
    SetDefaults();
    return true;
  }
  CKDatabase& user = *current;
  boolLogOutOnMinimize = ReadFlag(user, u"boolLogOutOnMinimize", true);
  boolCleanClipboardOnExit = ReadFlag(user, u"boolCleanClipboardOnExit", true);
  boolHidePasswords = ReadFlag(user, u"boolHidePasswords", true);
  boolAutoFillNewNotesWithDefaults = ReadFlag(user, u"boolAutoFillNewNotesWithDefaults", true);
  boolIsLetersEnabledBig = ReadFlag(user, u"boolIsLetersEnabledBig", true);
  boolIsLetersEnabledSmall = ReadFlag(user, u"boolIsLetersEnabledSmall", true);
  boolIsNumbersEnabled = ReadFlag(user, u"boolIsNumbersEnabled", true);
  boolIsCustomEnabled = ReadFlag(user, u"boolIsCustomEnabled", false);
  boolIsSpecialEnabled = ReadFlag(user, u"boolIsSpecialEnabled", false);
  boolSingleClickInterface = ReadFlag(user, u"boolSingleClickInterface", true);
  std::uint32_t length = 0;
  user.GetNumberSetting(u"intPasswordLength", length, 14);
  intPasswordLength = static_cast<std::int32_t>(length);
  // The getters wipe what the strings held before.
  user.GetTextSetting(u"stringDefaultLogin", stringDefaultLogin, u"");
  user.GetTextSetting(u"stringDefaultEmail", stringDefaultEmail, u"");
  user.GetTextSetting(u"stringCustomArray", stringCustomArray, u"");
  return true;
}

bool CKSettingsUserBased::Save() {
  CKDatabase* current = users_.GetCurrent();
  if (current == nullptr) {
    return true;
  }
  // A setting written for the first time is appended, so a new user file holds them in this
  // order.
  CKDatabase& user = *current;
  WriteFlag(user, u"boolLogOutOnMinimize", boolLogOutOnMinimize);
  WriteFlag(user, u"boolCleanClipboardOnExit", boolCleanClipboardOnExit);
  WriteFlag(user, u"boolHidePasswords", boolHidePasswords);
  WriteFlag(user, u"boolAutoFillNewNotesWithDefaults", boolAutoFillNewNotesWithDefaults);
  user.SetTextSetting(u"stringCustomArray", stringCustomArray);
  WriteFlag(user, u"boolIsLetersEnabledBig", boolIsLetersEnabledBig);
  WriteFlag(user, u"boolIsLetersEnabledSmall", boolIsLetersEnabledSmall);
  WriteFlag(user, u"boolIsNumbersEnabled", boolIsNumbersEnabled);
  WriteFlag(user, u"boolIsCustomEnabled", boolIsCustomEnabled);
  WriteFlag(user, u"boolIsSpecialEnabled", boolIsSpecialEnabled);
  user.SetNumberSetting(u"intPasswordLength", static_cast<std::uint32_t>(intPasswordLength));
  WriteFlag(user, u"boolSingleClickInterface", boolSingleClickInterface);
  user.SetTextSetting(u"stringDefaultLogin", stringDefaultLogin);
  user.SetTextSetting(u"stringDefaultEmail", stringDefaultEmail);
  // Never read here; still written, as the files of other versions hold it.
  user.SetTextSetting(u"stringLanguage", stringLanguage);
  return true;
}
