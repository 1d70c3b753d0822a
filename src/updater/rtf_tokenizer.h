#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rtf {

struct KToken {
  enum class Kind {
    kEnd,
    kGroupStart,     // {
    kGroupEnd,       // }
    kControlWord,    // \letters with an optional signed number
    kControlSymbol,  // \ and one other character, in symbol
    kHexByte,        // \'hh, in byte
    kText,           // plain bytes, in text (never empty)
    kBinary,         // the bytes that follow \binN, in text
  };
  Kind kind = Kind::kEnd;
  std::string_view text;  // kControlWord: the letters; kText, kBinary: the bytes
  std::int32_t parameter = 0;
  bool has_parameter = false;
  char symbol = 0;
  std::uint8_t byte = 0;
};

// Cuts Rich Text Format into tokens. Every byte is looked at a bounded number of times, so
// the work is linear in the input whatever it holds: numbers of any length saturate,
// \binN takes at most what is left, and the input may end anywhere.
class CKTokenizer {
 public:
  explicit CKTokenizer(std::string_view input) : input_(input) {}

  KToken Next();
  bool AtEnd() const { return position_ >= input_.size(); }

 private:
  KToken ControlWord();
  KToken AfterBackslash();
  std::int32_t Number(bool& present);

  std::string_view input_;
  std::size_t position_ = 0;
};

}  // namespace rtf
