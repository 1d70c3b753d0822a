#pragma once

#include <string>
#include <string_view>

// An error with the system's text for it, shown to the user on request.
class CKError {
 public:
  // A code of -1 takes the system's last error (errno) and its message; any other code keeps
  // the code with an empty text. With show set the message is shown at once.
  CKError(int code, bool show);
  virtual ~CKError() = default;

  // A message box with the text and an OK button.
  virtual void Show();

  bool IsFromSystem() const { return m_bFromSystem; }
  int GetCode() const { return m_nCode; }
  const std::u16string& GetText() const { return m_csText; }

 protected:
  bool m_bFromSystem = false;
  int m_nCode = 0;
  std::u16string m_csText;
};

// The system's last error worded for a file: the language text 0.37 with the file's name
// (or "Unnamed") and the system's message in its two "%s" fields, filled by platform::Format
// (the text comes from a language file and is never used as a printf format).
class CKFileError : public CKError {
 public:
  // file_name may be null or empty.
  CKFileError(const char16_t* file_name, bool show);
  // The same for a known system error code rather than the last one.
  CKFileError(const char16_t* file_name, bool show, int system_error);

  void Show() override;

 private:
  void Compose(const char16_t* file_name, bool show);
};

namespace files {

// The system's message for an errno value, at most 1,023 characters.
std::u16string SystemMessage(int system_error);

}  // namespace files
