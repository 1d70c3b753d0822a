#include "cli/language_texts.h"

#include "elements/wipe_string.h"
#include "platform/messages.h"
#include "platform/texts.h"

namespace cli {

void ShowLanguageMessage(const LanguageText& text, std::span<const platform::FormatValue> values) {
  // The filled-in text may name user data.
  std::u16string shown =
      platform::FormatText(platform::Text(text.id.group, text.id.entry, text.fallback), values);
  platform::Messages().ShowMessage(shown, texts::MessageIconFor(text.id.entry));
  WipeString(shown);
}

}  // namespace cli
