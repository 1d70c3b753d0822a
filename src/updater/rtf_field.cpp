#include "updater/rtf_field.h"

namespace rtf {
namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

// Reads the instruction's next argument: a quoted text or a word up to the next space.
class Arguments {
 public:
  explicit Arguments(std::u16string_view text) : text_(text) {}

  bool Next(std::u16string& argument, bool& quoted) {
    while (at_ < text_.size() && IsSpace(text_[at_])) {
      ++at_;
    }
    if (at_ >= text_.size()) {
      return false;
    }
    argument.clear();
    quoted = text_[at_] == u'"';
    if (quoted) {
      ++at_;
      while (at_ < text_.size() && text_[at_] != u'"') {
        argument.push_back(text_[at_++]);
      }
      ++at_;  // the closing quote, when there is one
      return true;
    }
    while (at_ < text_.size() && !IsSpace(text_[at_])) {
      argument.push_back(text_[at_++]);
    }
    return true;
  }

 private:
  std::u16string_view text_;
  std::size_t at_ = 0;
};

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view upper) {
  if (text.size() != upper.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (Upper(text[i]) != upper[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::u16string HyperlinkTarget(std::u16string_view instruction) {
  Arguments arguments(instruction);
  std::u16string argument;
  bool quoted = false;
  if (!arguments.Next(argument, quoted) || quoted || !EqualsIgnoringCase(argument, u"HYPERLINK")) {
    return {};
  }
  while (arguments.Next(argument, quoted)) {
    if (!quoted && argument.size() >= 2 && argument[0] == u'\\') {
      const char16_t option = Upper(argument[1]);
      if (option == u'L') {
        return {};  // a place inside the document, not an address
      }
      if (option == u'O' || option == u'T') {
        arguments.Next(argument, quoted);  // the option's own argument
      }
      continue;
    }
    return argument;
  }
  return {};
}

}  // namespace rtf
