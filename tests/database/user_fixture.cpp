#include "user_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "database/entries.h"
#include "database/tree_io.h"
#include "elements/tags.h"
#include "files/memory_stream.h"
#include "platform/utf.h"

namespace test {

std::u16string U16(const std::filesystem::path& path) {
  return platform::FromUtf8(path.string());
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

bool IsSecret(const std::filesystem::path& path) {
  using std::filesystem::perms;
  return std::filesystem::status(path).permissions() == (perms::owner_read | perms::owner_write);
}

std::unique_ptr<CKDatabase> NewUser(const std::filesystem::path& path, std::u16string_view password,
                                    std::uint16_t iterations) {
  auto database = std::make_unique<CKDatabase>();
  database->SetPath(U16(path));
  database->SetName(U16(path.stem()));
  database->SetMemo(kMemo);
  database->GetKeys().SetIterations(iterations);
  database->NewSalt();
  database->SetPassword(password);
  database->SetOpen(true);
  return database;
}

void AddSampleEntries(CKDatabase& database, const std::u16string& tag,
                      std::size_t attachment_size) {
  const auto add = [](CKTLVARRAY& parent, std::uint32_t kind, std::uint32_t name_tag,
                      const std::u16string& name) {
    CKTLVARRAY* entry = database::CreateEntry(parent, kind);
    parent.AddChild(entry);
    entry->SetStringByTag(name_tag, name.c_str());
    return entry;
  };
  CKTLVARRAY& root = database.GetEntriesRoot();
  CKTLVARRAY* folder = add(root, ENTRY_FOLDER, TAG_NAME, u"B\u00fccher " + tag);
  CKTLVARRAY* note = add(*folder, ENTRY_NOTE, TAG_NAME, u"\u65e5\u672c " + tag);
  note->SetStringByTag(TAG_PASSWORD, (u"p\u00e4ss " + tag).c_str());
  CKTLVARRAY* attachment = add(*note, ENTRY_ATTACHMENT, TAG_FILE_NAME, u"scan.bin");
  std::string content = "content " + platform::ToUtf8(tag);
  if (attachment_size != 0) {
    content.resize(attachment_size);
    for (std::size_t i = 0; i < attachment_size; ++i) {
      content[i] = static_cast<char>(i * 7 + i / 251);
    }
  }
  const auto size = static_cast<std::uint32_t>(content.size());
  std::memcpy(attachment->FindChild(TAG_FILE_DATA)->GetBuffer(size), content.data(), size);
  attachment->SetDwordByTag(TAG_FILE_SIZE, size);
  add(root, ENTRY_NOTE, TAG_NAME, u"top " + tag);
  database.SetTextSetting(u"stringDefaultLogin", u"me " + tag);
  database.SetNumberSetting(u"intPasswordLength", 14);
}

bool KeyIsZero(const CKDatabase& database) {
  const auto& key = database.GetKeys().GetKey();
  return std::all_of(key.begin(), key.end(), [](std::uint8_t b) { return b == 0; });
}

Bytes TreeBytes(CKDatabase& database) {
  CKMemoryStream stream;
  database::WriteTrees(stream, database.GetEntriesRoot(), database.GetSettingsRoot());
  return stream.GetData();
}

Opened OpenUserFile(const std::filesystem::path& path, std::u16string_view password) {
  CKDatabase database;
  database.SetPath(U16(path));
  Opened opened;
  opened.result = database.Load(password);
  if (opened.result == 0) {
    opened.trees = TreeBytes(database);
  }
  return opened;
}

}  // namespace test
