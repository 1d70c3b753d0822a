#include "updater/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/utf.h"
#include "updater/rtf_builder.h"
#include "updater/rtf_charset.h"
#include "updater/rtf_field.h"
#include "updater/rtf_tokenizer.h"
#include "updater/rtf_words.h"

namespace rtf {
namespace {

enum class Destination { kText, kSkip, kColorTable, kFieldInstruction, kFieldResult };

// What a group changes is undone when it closes, so each open group keeps a copy.
struct KGroupState {
  KCharFormat format;  // without the link, which belongs to the field result
  std::u16string link;
  Alignment alignment = Alignment::kLeft;
  Destination destination = Destination::kText;
  int unicode_skip = 1;  // \ucN: how many characters stand in for each \uN
  int field = -1;        // index into the fields, inside a field
};

struct KField {
  std::u16string instruction;
  bool too_long = false;
};

// The colour table entry in progress: \redN\greenN\blueN, ended by ";".
struct KColorEntry {
  KColor color;
  bool set = false;
};

constexpr int kMaxUnicodeSkip = 16;
constexpr std::size_t kMaxColors = 1024;

std::uint8_t ColorComponent(std::int32_t value) {
  return static_cast<std::uint8_t>(std::clamp<std::int32_t>(value, 0, 255));
}

class CKReader {
 public:
  explicit CKReader(std::string_view content) : tokens_(content) {}

  KDocument Read() {
    for (KToken token = tokens_.Next(); token.kind != KToken::Kind::kEnd; token = tokens_.Next()) {
      if (!Take(token)) {
        break;
      }
    }
    return builder_.Finish(stack_.empty() ? last_alignment_ : stack_.back().alignment);
  }

 private:
  // False once the outermost group has closed.
  bool Take(const KToken& token);
  void GroupStart();
  bool GroupEnd();
  void ControlWord(const KToken& token);
  void ControlSymbol(char symbol);
  void Text(std::string_view bytes);
  void Emit(char16_t c);
  void EndParagraph();
  bool SkipsFallback();

  KGroupState& State() { return stack_.back(); }

  CKTokenizer tokens_;
  CKDocumentBuilder builder_;
  std::vector<KGroupState> stack_;
  int overflow_ = 0;             // open groups beyond the depth limit, whose content is skipped
  int fallback_left_ = 0;        // characters still to drop after \uN
  bool ignorable_next_ = false;  // "\*" came: an unknown destination next is skipped
  std::vector<std::optional<KColor>> colors_;  // nothing for "auto"
  KColorEntry color_entry_;
  std::vector<KField> fields_;
  Alignment last_alignment_ = Alignment::kLeft;
};

bool CKReader::Take(const KToken& token) {
  if (token.kind == KToken::Kind::kGroupStart) {
    GroupStart();
    return true;
  }
  if (token.kind == KToken::Kind::kGroupEnd) {
    return GroupEnd();
  }
  if (overflow_ > 0 || stack_.empty()) {
    return true;
  }
  const bool was_ignorable = std::exchange(ignorable_next_, false);
  switch (token.kind) {
    case KToken::Kind::kControlWord:
      if (SkipsFallback()) {
        break;
      }
      if (was_ignorable && token.text != "fldinst" && State().destination != Destination::kSkip) {
        State().destination = Destination::kSkip;
        break;
      }
      ControlWord(token);
      break;
    case KToken::Kind::kControlSymbol:
      if (token.symbol == '*') {
        ignorable_next_ = true;
      } else if (!SkipsFallback()) {
        ControlSymbol(token.symbol);
      }
      break;
    case KToken::Kind::kHexByte:
      if (!SkipsFallback()) {
        Emit(FromCodePage1252(token.byte));
      }
      break;
    case KToken::Kind::kText:
      Text(token.text);
      break;
    default:  // binary data is never shown
      break;
  }
  return true;
}

void CKReader::GroupStart() {
  fallback_left_ = 0;
  ignorable_next_ = false;
  if (overflow_ > 0 || static_cast<int>(stack_.size()) >= kMaxGroupDepth) {
    ++overflow_;
    return;
  }
  stack_.push_back(stack_.empty() ? KGroupState{} : stack_.back());
}

bool CKReader::GroupEnd() {
  fallback_left_ = 0;
  ignorable_next_ = false;
  if (overflow_ > 0) {
    --overflow_;
    return true;
  }
  if (stack_.empty()) {
    return false;
  }
  last_alignment_ = stack_.back().alignment;
  stack_.pop_back();
  return !stack_.empty();
}

bool CKReader::SkipsFallback() {
  if (fallback_left_ == 0) {
    return false;
  }
  --fallback_left_;
  return true;
}

void CKReader::ControlWord(const KToken& token) {
  const std::string_view word = token.text;
  KGroupState& state = State();
  const bool on = !token.has_parameter || token.parameter != 0;
  if (word == "u" && token.has_parameter) {
    const std::int32_t value = token.parameter < 0 ? token.parameter + 65536 : token.parameter;
    Emit(value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : char16_t{0xFFFD});
    fallback_left_ = state.unicode_skip;
  } else if (word == "uc") {
    state.unicode_skip = std::clamp<std::int32_t>(token.parameter, 0, kMaxUnicodeSkip);
  } else if (const auto character = CharacterWord(word)) {
    Emit(*character);
  } else if (IsParagraphBreak(word)) {
    EndParagraph();
  } else if (word == "b") {
    state.format.bold = on;
  } else if (word == "i") {
    state.format.italic = on;
  } else if (IsUnderlineWord(word)) {
    state.format.underline = on;
  } else if (word == "ulnone") {
    state.format.underline = false;
  } else if (word == "fs") {
    const std::int32_t size = token.has_parameter ? token.parameter : 24;
    state.format.half_points =
        size > 0
            ? std::optional<int>(std::clamp<std::int32_t>(size, kMinHalfPoints, kMaxHalfPoints))
            : std::nullopt;
  } else if (word == "cf") {
    const auto index = static_cast<std::size_t>(std::max<std::int32_t>(token.parameter, 0));
    state.format.color = index < colors_.size() ? colors_[index] : std::nullopt;
  } else if (word == "plain") {
    state.format = KCharFormat{};
  } else if (word == "pard") {
    state.alignment = Alignment::kLeft;
  } else if (word == "ql" || word == "qc" || word == "qr" || word == "qj") {
    state.alignment = word == "qc"   ? Alignment::kCenter
                      : word == "qr" ? Alignment::kRight
                      : word == "qj" ? Alignment::kJustify
                                     : Alignment::kLeft;
  } else if (state.destination == Destination::kColorTable &&
             (word == "red" || word == "green" || word == "blue")) {
    std::uint8_t& component = word == "red"     ? color_entry_.color.red
                              : word == "green" ? color_entry_.color.green
                                                : color_entry_.color.blue;
    component = ColorComponent(token.parameter);
    color_entry_.set = true;
  } else if (word == "colortbl") {
    state.destination = Destination::kColorTable;
  } else if (word == "field") {
    fields_.push_back(KField{});
    state.field = static_cast<int>(fields_.size() - 1);
  } else if (word == "fldinst") {
    state.destination = state.field >= 0 ? Destination::kFieldInstruction : Destination::kSkip;
  } else if (word == "fldrslt") {
    if (state.field >= 0 && state.destination != Destination::kSkip) {
      const KField& field = fields_[static_cast<std::size_t>(state.field)];
      state.destination = Destination::kFieldResult;
      if (!field.too_long) {
        state.link = HyperlinkTarget(field.instruction);
      }
    }
  } else if (IsSkippedDestination(word)) {
    state.destination = Destination::kSkip;
  }
}

void CKReader::ControlSymbol(char symbol) {
  switch (symbol) {
    case '\\':
    case '{':
    case '}':
      Emit(static_cast<char16_t>(symbol));
      break;
    case '~':
      Emit(0x00A0);
      break;
    case '_':
      Emit(0x2011);
      break;
    case '\n':
      EndParagraph();
      break;
    default:  // optional hyphens, index marks and damaged escapes show nothing
      break;
  }
}

void CKReader::Text(std::string_view bytes) {
  for (const char byte : bytes) {
    if (SkipsFallback()) {
      continue;
    }
    const auto value = static_cast<std::uint8_t>(byte);
    if (value >= 0x20 || value == '\t') {
      Emit(FromCodePage1252(value));
    }
  }
}

void CKReader::Emit(char16_t c) {
  KGroupState& state = State();
  switch (state.destination) {
    case Destination::kText:
    case Destination::kFieldResult: {
      KCharFormat format = state.format;
      format.link = state.link;
      builder_.Append(c, format);
      break;
    }
    case Destination::kFieldInstruction: {
      KField& field = fields_[static_cast<std::size_t>(state.field)];
      if (field.instruction.size() < kMaxFieldInstruction) {
        field.instruction.push_back(c);
      } else {
        field.too_long = true;
      }
      break;
    }
    case Destination::kColorTable:
      if (c == u';') {
        if (colors_.size() < kMaxColors) {
          colors_.push_back(color_entry_.set ? std::optional<KColor>(color_entry_.color)
                                             : std::nullopt);
        }
        color_entry_ = KColorEntry{};
      }
      break;
    case Destination::kSkip:
      break;
  }
}

void CKReader::EndParagraph() {
  const Destination destination = State().destination;
  if (destination == Destination::kText || destination == Destination::kFieldResult) {
    builder_.EndParagraph(State().alignment);
  }
}

KDocument ReadPlainText(std::string_view content) {
  content = content.substr(0, content.find('\0'));
  if (content.starts_with("\xEF\xBB\xBF")) {
    content.remove_prefix(3);
  }
  const std::u16string text = platform::FromUtf8(content);
  CKDocumentBuilder builder;
  const KCharFormat plain;
  for (const char16_t c : text) {
    if (c == u'\n') {
      builder.EndParagraph(Alignment::kLeft);
    } else if (c >= 0x20 || c == u'\t') {
      builder.Append(c, plain);
    }
  }
  return builder.Finish(Alignment::kLeft);
}

}  // namespace

KDocument ReadDocument(std::string_view content) {
  if (!content.starts_with("{\\rtf")) {
    return ReadPlainText(content);
  }
  return CKReader(content).Read();
}

}  // namespace rtf
