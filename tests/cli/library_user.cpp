#include "library_user.h"

#include <gtest/gtest.h>

#include <cstring>

#include "database/entries.h"
#include "elements/tags.h"
#include "platform/utf.h"

namespace test {
namespace {

std::u16string U16(const std::filesystem::path& path) {
  return platform::FromUtf8(path.string());
}

}  // namespace

LibraryUser::LibraryUser(const std::filesystem::path& path, std::u16string_view password)
    : database_(std::make_unique<CKDatabase>()) {
  database_->SetPath(U16(path));
  database_->SetName(U16(path.stem()));
  database_->GetKeys().SetIterations(1);
  database_->NewSalt();
  database_->SetPassword(password);
  database_->SetOpen(true);
}

CKTLVARRAY& LibraryUser::AddFolder(CKTLVARRAY& parent, std::u16string_view name) {
  CKTLVARRAY* folder = database::CreateEntry(parent, ENTRY_FOLDER);
  parent.AddChild(folder);
  folder->SetStringByTag(TAG_NAME, std::u16string(name).c_str());
  return *folder;
}

CKTLVARRAY& LibraryUser::AddNote(CKTLVARRAY& parent, std::u16string_view title,
                                 std::u16string_view password) {
  CKTLVARRAY* note = database::CreateEntry(parent, ENTRY_NOTE);
  parent.AddChild(note);
  note->SetStringByTag(TAG_NAME, std::u16string(title).c_str());
  note->SetStringByTag(TAG_PASSWORD, std::u16string(password).c_str());
  return *note;
}

CKTLVARRAY& LibraryUser::AddAttachment(CKTLVARRAY& note, std::u16string_view name,
                                       std::string_view content) {
  CKTLVARRAY* attachment = database::CreateEntry(note, ENTRY_ATTACHMENT);
  note.AddChild(attachment);
  attachment->SetStringByTag(TAG_FILE_NAME, std::u16string(name).c_str());
  attachment->SetDwordByTag(TAG_FILE_SIZE, static_cast<std::uint32_t>(content.size()));
  if (!content.empty()) {
    void* data =
        attachment->FindChild(TAG_FILE_DATA)->GetBuffer(static_cast<std::uint32_t>(content.size()));
    std::memcpy(data, content.data(), content.size());
  }
  return *attachment;
}

void LibraryUser::Save() {
  ASSERT_EQ(database_->Save(), 0);
}

std::unique_ptr<CKDatabase> OpenWithLibrary(const std::filesystem::path& path,
                                            std::u16string_view password, int& result) {
  auto database = std::make_unique<CKDatabase>();
  database->SetPath(U16(path));
  result = database->Load(password);
  return database;
}

}  // namespace test
