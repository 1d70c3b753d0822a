#include "elements/wipe_string.h"

void WipeString(std::u16string& text) {
  // Take in the spare capacity too: it may still hold a longer text that was there before.
  // This never reallocates, so the blanks land in the storage the string keeps.
  text.resize(text.capacity(), u' ');
  // Volatile stores: the compiler may not drop them although the text is cleared right after.
  volatile char16_t* characters = text.data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    characters[i] = u' ';
  }
  text.clear();
}
