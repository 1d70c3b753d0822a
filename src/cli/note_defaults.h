#pragma once

#include <string>

#include "database/new_note_defaults.h"

class CKSettingsUserBased;

namespace cli {

// A password from the generator with the given options: false (out empty) when they enable
// fewer than two characters or a length of 0.
bool GeneratePassword(const CKSettingsUserBased& options, std::u16string& out);

// What a new note is filled with: the logged-in user's defaults and a generated password,
// when the user's setting says so (as the main window fills new notes).
class UserNoteDefaults final : public CKNewNoteDefaults {
 public:
  explicit UserNoteDefaults(const CKSettingsUserBased& settings) : settings_(settings) {}

  bool AutoFill() const override;
  std::u16string DefaultLogin() const override;
  std::u16string DefaultEmail() const override;
  std::u16string GeneratePassword() override;

 private:
  const CKSettingsUserBased& settings_;
};

}  // namespace cli
