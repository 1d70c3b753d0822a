#include "platform/texts.h"

namespace platform {
namespace {
const TextSource* installed = nullptr;
}  // namespace

const TextSource* InstallTexts(const TextSource* source) {
  const TextSource* previous = installed;
  installed = source;
  return previous;
}

std::u16string Text(int group, int entry, std::u16string_view fallback) {
  if (installed != nullptr) {
    if (auto text = installed->FindText(group, entry)) {
      return std::move(*text);
    }
  }
  return std::u16string(fallback);
}

}  // namespace platform
