#pragma once

#include "cli/json_writer.h"

class CKDatabase;
class CKTLV;
class CKTLVARRAY;

// The JSON forms of a user's data.
namespace cli {

// The export's entries and settings (in file order):
//   folder: {"folder", "text", "icon", "entries"}
//   note: {"note", "login", "password", "url", "email", "text", "icon", "created", "modified",
//          "attachments": [{"file", "size", "created", "modified", "data" (base64)}]}
//   setting: {"name", "number"} or {"name", "text"}
// Times are the numbers stored in the file. A field that an entry lacks is left out; arrays of
// other kinds are not exported (the dump shows everything).
void WriteExportEntries(JsonWriter& json, CKTLVARRAY& entries_root);
void WriteExportSettings(JsonWriter& json, CKTLVARRAY& settings_root);

// An element as it is: {"tag", "type"} and, by type, "children" (arrays), "value" (32-bit),
// "low" and "high" (64-bit), "text" (strings) or "base64" (byte blocks and unknown types).
void WriteDumpElement(JsonWriter& json, const CKTLV& element);

// Bytes as a base64 string value.
void WriteBase64(JsonWriter& json, const unsigned char* data, std::size_t size);

}  // namespace cli
