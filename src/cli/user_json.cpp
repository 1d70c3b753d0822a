#include "cli/user_json.h"

#include <QByteArray>

#include "cli/tree_lookup.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "elements/wipe_string.h"
#include "platform/secure_zero.h"

namespace cli {
namespace {

// Base64 is encoded in pieces of this many bytes (a multiple of 3), so no piece is padded
// but the last and no copy of a whole attachment is made.
constexpr std::size_t kBase64Piece = 3 * 16 * 1024;

void StringField(JsonWriter& json, const CKTLVARRAY& entry, std::uint32_t tag,
                 std::string_view key) {
  std::u16string value;
  if (entry.GetStringByTag(tag, value)) {
    json.Key(key);
    json.String(value);
  }
  WipeString(value);
}

void NumberField(JsonWriter& json, const CKTLVARRAY& entry, std::uint32_t tag,
                 std::string_view key) {
  std::uint32_t value = 0;
  if (entry.GetDwordByTag(tag, value)) {
    json.Key(key);
    json.Number(value);
  }
}

void WriteAttachment(JsonWriter& json, const CKTLVARRAY& attachment) {
  json.BeginObject();
  StringField(json, attachment, TAG_FILE_NAME, "file");
  NumberField(json, attachment, TAG_FILE_SIZE, "size");
  NumberField(json, attachment, TAG_FILE_CREATED, "created");
  NumberField(json, attachment, TAG_FILE_MODIFIED, "modified");
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  if (attachment.GetBinaryByTag(TAG_FILE_DATA, data, size)) {
    json.Key("data");
    WriteBase64(json, data, size);
  }
  json.EndObject();
}

void WriteNote(JsonWriter& json, const CKTLVARRAY& note) {
  json.BeginObject();
  StringField(json, note, TAG_NAME, "note");
  StringField(json, note, TAG_LOGIN, "login");
  StringField(json, note, TAG_PASSWORD, "password");
  StringField(json, note, TAG_URL, "url");
  StringField(json, note, TAG_EMAIL, "email");
  StringField(json, note, TAG_TEXT, "text");
  NumberField(json, note, TAG_ICON, "icon");
  NumberField(json, note, TAG_CREATED, "created");
  NumberField(json, note, TAG_MODIFIED, "modified");
  json.Key("attachments");
  json.BeginArray();
  for (const CKTLV* child : note.GetChildren()) {
    if (IsAttachment(*child)) {
      WriteAttachment(json, *static_cast<const CKTLVARRAY*>(child));
    }
  }
  json.EndArray();
  json.EndObject();
}

void WriteFolder(JsonWriter& json, CKTLVARRAY& folder) {
  json.BeginObject();
  StringField(json, folder, TAG_NAME, "folder");
  StringField(json, folder, TAG_TEXT, "text");
  NumberField(json, folder, TAG_ICON, "icon");
  json.Key("entries");
  WriteExportEntries(json, folder);
  json.EndObject();
}

}  // namespace

void WriteExportEntries(JsonWriter& json, CKTLVARRAY& folder) {
  json.BeginArray();
  for (CKTLV* child : folder.GetChildren()) {
    if (IsFolder(*child)) {
      WriteFolder(json, *static_cast<CKTLVARRAY*>(child));
    } else if (IsNote(*child)) {
      WriteNote(json, *static_cast<CKTLVARRAY*>(child));
    }
  }
  json.EndArray();
}

void WriteExportSettings(JsonWriter& json, CKTLVARRAY& settings_root) {
  json.BeginArray();
  for (CKTLV* child : settings_root.GetChildren()) {
    if (child->GetType() != TLV_ARRAY) {
      continue;
    }
    const auto* setting = dynamic_cast<const CKTLVARRAY*>(child);
    if (setting == nullptr ||
        (setting->GetTag() != SETTING_NUMBER && setting->GetTag() != SETTING_TEXT)) {
      continue;
    }
    json.BeginObject();
    StringField(json, *setting, TAG_NAME, "name");
    if (setting->GetTag() == SETTING_NUMBER) {
      NumberField(json, *setting, TAG_NUMBER_VALUE, "number");
    } else {
      StringField(json, *setting, TAG_TEXT_VALUE, "text");
    }
    json.EndObject();
  }
  json.EndArray();
}

void WriteDumpElement(JsonWriter& json, const CKTLV& element) {
  json.BeginObject();
  json.Key("tag");
  json.Number(element.GetTag());
  json.Key("type");
  json.Number(element.GetType());
  switch (element.GetType()) {
    case TLV_ARRAY: {
      json.Key("children");
      json.BeginArray();
      if (const auto* array = dynamic_cast<const CKTLVARRAY*>(&element)) {
        for (const CKTLV* child : array->GetChildren()) {
          WriteDumpElement(json, *child);
        }
      }
      json.EndArray();
      break;
    }
    case TLV_DWORD: {
      std::uint32_t value = 0;
      element.GetDword(value);
      json.Key("value");
      json.Number(value);
      break;
    }
    case TLV_DWORD64: {
      std::uint64_t value = 0;
      element.GetDword64(value);
      json.Key("low");
      json.Number(static_cast<std::uint32_t>(value));
      json.Key("high");
      json.Number(static_cast<std::uint32_t>(value >> 32));
      break;
    }
    case TLV_STRING: {
      std::u16string text;
      element.GetString(text);
      json.Key("text");
      json.String(text);
      WipeString(text);
      break;
    }
    default: {
      const std::uint8_t* data = nullptr;
      std::uint32_t size = 0;
      element.GetBinary(data, size);
      json.Key("base64");
      WriteBase64(json, data, data != nullptr ? size : 0);
      break;
    }
  }
  json.EndObject();
}

void WriteBase64(JsonWriter& json, const unsigned char* data, std::size_t size) {
  json.BeginRawString();
  for (std::size_t done = 0; done < size; done += kBase64Piece) {
    const std::size_t piece = size - done < kBase64Piece ? size - done : kBase64Piece;
    QByteArray encoded = QByteArray::fromRawData(reinterpret_cast<const char*>(data + done),
                                                 static_cast<qsizetype>(piece))
                             .toBase64();
    json.RawPiece(std::string_view(encoded.constData(), static_cast<std::size_t>(encoded.size())));
    platform::SecureZero(encoded.data(), static_cast<std::size_t>(encoded.size()));
  }
  json.EndRawString();
}

}  // namespace cli
