#include "cli/note_defaults.h"

#include "generator/password_generator.h"
#include "settings/settings_user_based.h"

namespace cli {

bool GeneratePassword(const CKSettingsUserBased& options, std::u16string& out) {
  CKPasswordGenerator generator(options);
  return generator.Generate(out);
}

bool UserNoteDefaults::AutoFill() const {
  return settings_.boolAutoFillNewNotesWithDefaults;
}

std::u16string UserNoteDefaults::DefaultLogin() const {
  return settings_.stringDefaultLogin;
}

std::u16string UserNoteDefaults::DefaultEmail() const {
  return settings_.stringDefaultEmail;
}

std::u16string UserNoteDefaults::GeneratePassword() {
  std::u16string password;
  cli::GeneratePassword(settings_, password);
  return password;
}

}  // namespace cli
