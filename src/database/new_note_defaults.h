#pragma once

#include <string>

// What a new note is filled with before its editor opens. The user-based settings and the
// password generator, which live above the user database, provide it.
class CKNewNoteDefaults {
 public:
  virtual ~CKNewNoteDefaults() = default;
  // Whether new notes are filled at all (boolAutoFillNewNotesWithDefaults).
  virtual bool AutoFill() const = 0;
  virtual std::u16string DefaultLogin() const = 0;
  virtual std::u16string DefaultEmail() const = 0;
  // A password made by the generator with the user's stored options.
  virtual std::u16string GeneratePassword() = 0;
};
