// Language files are outside input: any bytes must give a clear accept or reject, and every
// text of an accepted file must survive the lookups, walks and formatting the program does.
#include "languages/language_file.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "languages/language.h"
#include "platform/format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto parsed = languages::ParseLanguageFile(bytes);

  CKLanguage language(u"fuzz.language");
  const bool loaded = language.LoadFromBytes(bytes);
  if (loaded != parsed.has_value()) {
    __builtin_trap();
  }
  if (!loaded) {
    return 0;
  }
  for (const KLanguageLine& line : parsed->entries) {
    std::u16string text;
    if (!language.GetText(line.group, line.entry, text)) {
      __builtin_trap();
    }
    // The program fills texts with one or two strings or a number.
    platform::Format(text, u"value", 64);
    platform::Format(text, u"file.txt", u"reason");
    platform::FormatFields(text);
  }
  for (int group : {0, 1, 0xF0, 0xF1, 0xFA}) {
    std::vector<std::u16string> texts;
    std::vector<KMenuItem> menu;
    language.GetGroup(static_cast<std::uint8_t>(group), texts);
    language.GetGroup(static_cast<std::uint8_t>(group), menu);
  }
  return 0;
}
