#include "updater/rtf_tokenizer.h"

#include <limits>

namespace rtf {
namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexValue(char c) {
  if (IsDigit(c)) {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// Bytes that end a run of plain text. Line breaks and zero bytes are not text in this format.
bool EndsText(char c) {
  return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

KToken CKTokenizer::Next() {
  while (position_ < input_.size()) {
    const char c = input_[position_];
    if (c == '\r' || c == '\n' || c == '\0') {
      ++position_;
      continue;
    }
    KToken token;
    if (c == '{') {
      ++position_;
      token.kind = KToken::Kind::kGroupStart;
      return token;
    }
    if (c == '}') {
      ++position_;
      token.kind = KToken::Kind::kGroupEnd;
      return token;
    }
    if (c == '\\') {
      ++position_;
      return AfterBackslash();
    }
    const std::size_t start = position_;
    while (position_ < input_.size() && !EndsText(input_[position_])) {
      ++position_;
    }
    token.kind = KToken::Kind::kText;
    token.text = input_.substr(start, position_ - start);
    return token;
  }
  return KToken{};
}

KToken CKTokenizer::AfterBackslash() {
  KToken token;
  if (position_ >= input_.size()) {
    return token;  // a lone backslash at the very end
  }
  const char c = input_[position_];
  if (IsLetter(c)) {
    return ControlWord();
  }
  ++position_;
  if (c == '\'') {
    const int high = position_ < input_.size() ? HexValue(input_[position_]) : -1;
    const int low = position_ + 1 < input_.size() ? HexValue(input_[position_ + 1]) : -1;
    if (high >= 0 && low >= 0) {
      position_ += 2;
      token.kind = KToken::Kind::kHexByte;
      token.byte = static_cast<std::uint8_t>(high * 16 + low);
      return token;
    }
    // A damaged escape stands for nothing; what follows is read as usual.
    token.kind = KToken::Kind::kControlSymbol;
    token.symbol = '\0';
    return token;
  }
  token.kind = KToken::Kind::kControlSymbol;
  // A backslash before a line break is a paragraph mark.
  token.symbol = c == '\r' ? '\n' : c;
  return token;
}

KToken CKTokenizer::ControlWord() {
  KToken token;
  token.kind = KToken::Kind::kControlWord;
  const std::size_t start = position_;
  while (position_ < input_.size() && IsLetter(input_[position_])) {
    ++position_;
  }
  token.text = input_.substr(start, position_ - start);
  token.parameter = Number(token.has_parameter);
  // One space is the word's delimiter and belongs to it.
  if (position_ < input_.size() && input_[position_] == ' ') {
    ++position_;
  }
  if (token.text == "bin" && token.has_parameter) {
    // Binary data: the given number of bytes, whatever they are.
    const std::size_t left = input_.size() - position_;
    const std::size_t count =
        token.parameter <= 0
            ? 0
            : std::min<std::size_t>(left, static_cast<std::size_t>(token.parameter));
    token.kind = KToken::Kind::kBinary;
    token.text = input_.substr(position_, count);
    position_ += count;
  }
  return token;
}

std::int32_t CKTokenizer::Number(bool& present) {
  present = false;
  bool negative = false;
  std::size_t at = position_;
  if (at < input_.size() && input_[at] == '-') {
    negative = true;
    ++at;
  }
  if (at >= input_.size() || !IsDigit(input_[at])) {
    return 0;
  }
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  while (at < input_.size() && IsDigit(input_[at])) {
    value = std::min<std::int64_t>(kLimit, value * 10 + (input_[at] - '0'));
    ++at;
  }
  position_ = at;
  present = true;
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace rtf
