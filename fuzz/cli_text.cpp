// The command-line tool writes stored strings (from user files, outside input) as JSON and
// reads entry paths typed by the user. Any UTF-16 text must come back exactly from its JSON
// string and from its path form; any path text must parse or be refused, never crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/entry_path.h"
#include "cli/json_writer.h"

namespace {

class StringSink final : public cli::ByteSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

[[noreturn]] void Fail() {
  __builtin_trap();
}

unsigned Hex(char c) {
  if (c >= '0' && c <= '9')
    return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f')
    return static_cast<unsigned>(c - 'a' + 10);
  Fail();
}

// Decodes the literal as a strict JSON reader would, failing on anything malformed.
std::u16string DecodeLiteral(const std::string& literal) {
  if (literal.size() < 2 || literal.front() != '"' || literal.back() != '"')
    Fail();
  std::u16string text;
  for (std::size_t i = 1; i + 1 < literal.size();) {
    const auto byte = static_cast<unsigned char>(literal[i]);
    if (byte == '"' || byte < 0x20)
      Fail();
    if (byte == '\\') {
      const char escape = literal[i + 1];
      i += 2;
      switch (escape) {
        case '"':
          text += u'"';
          break;
        case '\\':
          text += u'\\';
          break;
        case 'b':
          text += u'\b';
          break;
        case 'f':
          text += u'\f';
          break;
        case 'n':
          text += u'\n';
          break;
        case 'r':
          text += u'\r';
          break;
        case 't':
          text += u'\t';
          break;
        case 'u': {
          if (i + 4 > literal.size() - 1)
            Fail();
          unsigned unit = 0;
          for (int k = 0; k < 4; ++k)
            unit = unit * 16 + Hex(literal[i + k]);
          text += static_cast<char16_t>(unit);
          i += 4;
          break;
        }
        default:
          Fail();
      }
      continue;
    }
    // UTF-8, shortest form, no surrogates.
    std::size_t length = byte < 0x80    ? 1
                         : byte >= 0xF0 ? 4
                         : byte >= 0xE0 ? 3
                         : byte >= 0xC0 ? 2
                                        : 0;
    if (length == 0 || i + length > literal.size() - 1)
      Fail();
    char32_t code_point = length == 1 ? byte : byte & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(literal[i + k]);
      if ((next & 0xC0) != 0x80)
        Fail();
      code_point = (code_point << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code_point < kSmallest[length] || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      Fail();
    }
    if (code_point >= 0x10000) {
      text += static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF));
    } else {
      text += static_cast<char16_t>(code_point);
    }
    i += length;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }

  StringSink sink;
  cli::WriteJsonString(text, sink);
  if (DecodeLiteral(sink.text) != text)
    Fail();

  if (!text.empty()) {
    const cli::EntryPath escaped = cli::ParseEntryPath(cli::EscapeName(text));
    if (!escaped.valid || escaped.names.size() != 1 || escaped.names[0] != text)
      Fail();
  }
  const cli::EntryPath path = cli::ParseEntryPath(text);
  if (path.valid) {
    std::u16string joined;
    for (const std::u16string& name : path.names) {
      if (name.empty())
        Fail();
      joined += (joined.empty() ? u"" : u"/") + cli::EscapeName(name);
    }
    const cli::EntryPath again = cli::ParseEntryPath(joined);
    if (!again.valid || again.names != path.names)
      Fail();
  }
  return 0;
}
