#include "cli/json_writer.h"

#include <charconv>
#include <string>

#include "cli/text_encoding.h"
#include "platform/secure_zero.h"

namespace cli {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Collects the bytes of one string literal in a small buffer, handed to the sink when full
// and wiped at the end.
class LiteralBuffer {
 public:
  explicit LiteralBuffer(ByteSink& sink) : sink_(sink) {}
  ~LiteralBuffer() {
    Flush();
    platform::SecureZero(bytes_, sizeof bytes_);
  }
  LiteralBuffer(const LiteralBuffer&) = delete;
  LiteralBuffer& operator=(const LiteralBuffer&) = delete;

  void Put(char byte) {
    if (used_ == sizeof bytes_) {
      Flush();
    }
    bytes_[used_++] = byte;
  }
  void Put(std::string_view text) {
    for (const char byte : text) {
      Put(byte);
    }
  }
  void PutEscape(char32_t unit) {
    Put("\\u");
    for (int shift = 12; shift >= 0; shift -= 4) {
      Put(kHexDigits[(unit >> shift) & 0xF]);
    }
  }

 private:
  void Flush() {
    sink_.Write(std::string_view(bytes_, used_));
    used_ = 0;
  }

  ByteSink& sink_;
  char bytes_[256];
  std::size_t used_ = 0;
};

}  // namespace

void WriteJsonString(std::u16string_view text, ByteSink& sink) {
  LiteralBuffer out(sink);
  out.Put('"');
  char encoded[4];
  for (std::size_t index = 0; index < text.size();) {
    bool unpaired = false;
    const char32_t code_point = NextCodePoint(text, index, unpaired);
    switch (code_point) {
      case '"':
        out.Put("\\\"");
        continue;
      case '\\':
        out.Put("\\\\");
        continue;
      case '\b':
        out.Put("\\b");
        continue;
      case '\f':
        out.Put("\\f");
        continue;
      case '\n':
        out.Put("\\n");
        continue;
      case '\r':
        out.Put("\\r");
        continue;
      case '\t':
        out.Put("\\t");
        continue;
      default:
        break;
    }
    if (unpaired || code_point < 0x20) {
      out.PutEscape(code_point);
      continue;
    }
    const std::size_t size = EncodeUtf8(code_point, encoded);
    out.Put(std::string_view(encoded, size));
  }
  platform::SecureZero(encoded, sizeof encoded);
  out.Put('"');
}

void JsonWriter::Indent(std::size_t depth) {
  static constexpr std::string_view kSpaces = "                                ";
  std::size_t spaces = depth * 2;
  while (spaces > 0) {
    const std::size_t piece = spaces < kSpaces.size() ? spaces : kSpaces.size();
    sink_.Write(kSpaces.substr(0, piece));
    spaces -= piece;
  }
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (has_items_.empty()) {
    return;
  }
  sink_.Write(has_items_.back() ? ",\n" : "\n");
  has_items_.back() = true;
  Indent(has_items_.size());
}

void JsonWriter::BeginObject() {
  BeforeValue();
  sink_.Write("{");
  has_items_.push_back(false);
}

void JsonWriter::BeginArray() {
  BeforeValue();
  sink_.Write("[");
  has_items_.push_back(false);
}

void JsonWriter::Close(char bracket) {
  const bool had_items = has_items_.back();
  has_items_.pop_back();
  if (had_items) {
    sink_.Write("\n");
    Indent(has_items_.size());
  }
  sink_.Write(std::string_view(&bracket, 1));
}

void JsonWriter::EndObject() {
  Close('}');
}

void JsonWriter::EndArray() {
  Close(']');
}

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  sink_.Write("\"");
  sink_.Write(key);
  sink_.Write("\": ");
  after_key_ = true;
}

void JsonWriter::String(std::u16string_view text) {
  BeforeValue();
  WriteJsonString(text, sink_);
}

void JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  sink_.Write(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void JsonWriter::BeginRawString() {
  BeforeValue();
  sink_.Write("\"");
}

void JsonWriter::RawPiece(std::string_view text) {
  sink_.Write(text);
}

void JsonWriter::EndRawString() {
  sink_.Write("\"");
}

void JsonWriter::Finish() {
  sink_.Write("\n");
}

}  // namespace cli
