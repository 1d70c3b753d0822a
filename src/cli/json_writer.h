#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "cli/byte_sink.h"

namespace cli {

// A JSON string literal, quotes included, in UTF-8: the text exactly as stored. A surrogate
// pair becomes its character; a surrogate without its partner, which UTF-8 cannot carry, is
// written as its \uXXXX escape, as are the control characters (\n, \t and the like by their
// short escapes). Written straight to the sink, without a temporary copy.
void WriteJsonString(std::u16string_view text, ByteSink& sink);

// Writes JSON to a sink, two spaces of indent per level. The caller keeps the nesting right:
// inside an object every value follows a Key.
class JsonWriter {
 public:
  explicit JsonWriter(ByteSink& sink) : sink_(sink) {}

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The key of the next value; keys are ASCII names of our own.
  void Key(std::string_view key);
  void String(std::u16string_view text);
  void Number(std::int64_t value);
  // A string given in pieces that need no escaping (base64 text).
  void BeginRawString();
  void RawPiece(std::string_view text);
  void EndRawString();
  // Ends the document with a line break.
  void Finish();

 private:
  // The separator and indent before a value (nothing right after a key).
  void BeforeValue();
  void Indent(std::size_t depth);
  void Close(char bracket);

  ByteSink& sink_;
  // One entry per open object or array: whether it holds anything yet.
  std::vector<bool> has_items_;
  bool after_key_ = false;
};

}  // namespace cli
