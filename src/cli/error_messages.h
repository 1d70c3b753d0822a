#pragma once

#include <string>

#include "platform/messages.h"

namespace cli {

// The messages and questions of the libraries on standard error, each line headed by the
// program's name. A question is answered No: a script must not hang on it, and a save that
// keeps failing must not be retried for ever. Installed for its lifetime.
class ErrorMessages final : public platform::MessageSink {
 public:
  ErrorMessages();
  ~ErrorMessages() override;
  ErrorMessages(const ErrorMessages&) = delete;
  ErrorMessages& operator=(const ErrorMessages&) = delete;

  void ShowMessage(const std::u16string& text, platform::MessageIcon icon) override;
  bool Ask(const std::u16string& text) override;

 private:
  platform::MessageSink* previous_;
};

// A line of our own on standard error, headed by the program's name.
void ReportError(std::string_view text);
void ReportError(std::u16string_view text);

}  // namespace cli
