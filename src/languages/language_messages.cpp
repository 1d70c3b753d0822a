// The message boxes and questions of the language collection.
#include "elements/wipe_string.h"
#include "languages/languages.h"
#include "languages/text_ids.h"
#include "platform/messages.h"

namespace {

constexpr std::uint8_t kMessageGroup = 0;
constexpr std::uint8_t kQuestionGroup = 1;

}  // namespace

std::u16string CKLanguages::TextOrEmpty(std::uint8_t group, std::uint8_t entry) const {
  std::u16string text;
  GetText(group, entry, text);
  return text;
}

bool CKLanguages::ShowMessage(std::uint8_t entry) const {
  platform::Messages().ShowMessage(TextOrEmpty(kMessageGroup, entry), texts::MessageIconFor(entry));
  return true;
}

bool CKLanguages::ShowMessageFormat(std::uint8_t entry,
                                    std::span<const platform::FormatValue> values) const {
  // The filled-in text may hold user data (names, paths): wiped once shown.
  std::u16string text = platform::FormatText(TextOrEmpty(kMessageGroup, entry), values);
  platform::Messages().ShowMessage(text, texts::MessageIconFor(entry));
  WipeString(text);
  return true;
}

bool CKLanguages::Ask(std::uint8_t entry) const {
  return platform::Messages().Ask(TextOrEmpty(kQuestionGroup, entry));
}

bool CKLanguages::AskFormat(std::uint8_t entry,
                            std::span<const platform::FormatValue> values) const {
  std::u16string text = platform::FormatText(TextOrEmpty(kQuestionGroup, entry), values);
  const bool yes = platform::Messages().Ask(text);
  WipeString(text);
  return yes;
}

bool CKLanguages::ShowLanguageNotice() const {
  return ShowMessage(texts::kMsgLanguageChanged.entry);
}
