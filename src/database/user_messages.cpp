#include "database/user_messages.h"

#include <string>

#include "elements/wipe_string.h"
#include "platform/format.h"
#include "platform/texts.h"

namespace database {
namespace {

constexpr int kMessageGroup = 0;
constexpr int kQuestionGroup = 1;

}  // namespace

void ShowMessage(const UserText& message, std::u16string_view value) {
  std::u16string text = platform::Text(kMessageGroup, message.entry, message.fallback);
  std::u16string filled = platform::Format(text, value);
  platform::Messages().ShowMessage(filled, message.icon);
  WipeString(filled);
  WipeString(text);
}

bool Ask(const UserText& question) {
  return platform::Messages().Ask(
      platform::Text(kQuestionGroup, question.entry, question.fallback));
}

}  // namespace database
