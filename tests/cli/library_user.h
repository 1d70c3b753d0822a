#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "database/database.h"

namespace test {

// A user file written by the library itself rather than by the tool, with one key-derivation
// iteration so that the tool opens it quickly.
class LibraryUser {
 public:
  LibraryUser(const std::filesystem::path& path, std::u16string_view password);

  CKDatabase& database() { return *database_; }
  CKTLVARRAY& root() { return database_->GetEntriesRoot(); }
  CKTLVARRAY& AddFolder(CKTLVARRAY& parent, std::u16string_view name);
  CKTLVARRAY& AddNote(CKTLVARRAY& parent, std::u16string_view title,
                      std::u16string_view password = u"");
  CKTLVARRAY& AddAttachment(CKTLVARRAY& note, std::u16string_view name, std::string_view content);
  // Saves the file; the test fails when that does not work.
  void Save();

 private:
  std::unique_ptr<CKDatabase> database_;
};

// Opens a user file with the library: the open result, and the database when it opened.
std::unique_ptr<CKDatabase> OpenWithLibrary(const std::filesystem::path& path,
                                            std::u16string_view password, int& result);

}  // namespace test
