#pragma once

#include <string>

namespace platform {

enum class MessageIcon { Information, Warning, Error, Question };

// How the lower layers talk to the person in front of the program: a message with an OK
// button, or a Yes/No question. The desktop program installs message boxes, the command-line
// tool writes to standard error, tests record what was said.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(const std::u16string& text, MessageIcon icon) = 0;
  // True for Yes.
  virtual bool Ask(const std::u16string& text) = 0;
};

// The sink in use; until one is installed, messages go to standard error and every question
// is answered No (nothing is done that needs a person's consent).
MessageSink& Messages();

// Installs a sink (not owned) and returns the one it replaces; null restores the default.
MessageSink* InstallMessages(MessageSink* sink);

}  // namespace platform
