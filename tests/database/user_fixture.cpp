#include "user_fixture.h"

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

std::string Hex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
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

std::unique_ptr<CKDatabase> NewUser(const std::filesystem::path& path, std::u16string_view password,
                                    std::uint16_t iterations) {
  auto database = std::make_unique<CKDatabase>();
  database->SetPath(U16(path));
  database->SetName(U16(path.stem()));
  database->SetMemo(u"hint: the usual, with \u00e9t\u00e9");
  database->GetKeys().SetIterations(iterations);
  database->NewSalt();
  database->SetPassword(password);
  database->SetOpen(true);
  return database;
}

void AddSampleEntries(CKDatabase& database, const std::u16string& tag) {
  CKTLVARRAY& root = database.GetEntriesRoot();
  CKTLVARRAY* folder = database::CreateEntry(root, ENTRY_FOLDER);
  root.AddChild(folder);
  folder->SetStringByTag(TAG_NAME, (u"B\u00fccher " + tag).c_str());
  CKTLVARRAY* note = database::CreateEntry(*folder, ENTRY_NOTE);
  folder->AddChild(note);
  note->SetStringByTag(TAG_NAME, (u"\u65e5\u672c " + tag).c_str());
  note->SetStringByTag(TAG_PASSWORD, (u"p\u00e4ss " + tag).c_str());
  CKTLVARRAY* attachment = database::CreateEntry(*note, ENTRY_ATTACHMENT);
  note->AddChild(attachment);
  attachment->SetStringByTag(TAG_FILE_NAME, u"scan.bin");
  const std::u16string content = u"content " + tag;
  auto* data =
      static_cast<std::uint8_t*>(attachment->FindChild(TAG_FILE_DATA)
                                     ->GetBuffer(static_cast<std::uint32_t>(content.size() * 2)));
  for (std::size_t i = 0; i < content.size() * 2; ++i) {
    data[i] = static_cast<std::uint8_t>(content[i / 2] >> (8 * (i % 2)));
  }
  attachment->SetDwordByTag(TAG_FILE_SIZE, static_cast<std::uint32_t>(content.size() * 2));
  CKTLVARRAY* top = database::CreateEntry(root, ENTRY_NOTE);
  root.AddChild(top);
  top->SetStringByTag(TAG_NAME, (u"top " + tag).c_str());
  database.SetTextSetting(u"stringDefaultLogin", u"me " + tag);
  database.SetNumberSetting(u"intPasswordLength", 14);
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
