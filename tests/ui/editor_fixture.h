#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"
#include "support/test_core.h"
#include "ui/entry_editors_qt.h"

class CKCore;
class CKDialog;
class CKTLVARRAY;

namespace test {

// What the editor tests share: a started core with the user "ada" logged in through the
// log-in dialog, the real folder and note editors installed, and ways to look at the user's
// file on disk.
class EditorTest : public ::testing::Test {
 protected:
  static constexpr char16_t kPassword[] = u"tiger lily 7";

  void SetUp() override;

  CKCore& core() { return core_.core(); }
  CKDatabase& user();
  CKTLVARRAY& root();
  TestCore& test_core() { return core_; }
  const std::filesystem::path& files() const { return files_.path(); }

  // Saves the user's file, then reads it afresh from disk with the password.
  std::unique_ptr<CKDatabase> SaveAndReopen();

  // A folder or note made directly in the tree (not through an editor).
  CKTLVARRAY& AddFolder(CKTLVARRAY& parent, const std::u16string& name);
  CKTLVARRAY& AddNote(CKTLVARRAY& parent, const std::u16string& title);

  // The messages shown so far (UTF-8), and the active language's text of one.
  std::vector<std::string> Messages() const { return core_.Messages(); }
  std::string Message(int entry) const { return core_.MessageText(entry); }
  std::string MessageWith(int entry, const std::string& value) const;
  // A text of the active language, as Qt text.
  QString Text(int group, int entry) const;

 private:
  TestCore core_;
  TempDir files_;
  CKQtEntryEditors editors_;
};

// Drivers of a dialog's controls, as a user's typing and clicks.
void Type(CKDialog& dialog, int id, const QString& text);
void Replace(CKDialog& dialog, int id, const QString& text);
void Click(CKDialog& dialog, int id);
QString TextOf(CKDialog& dialog, int id);

// A field of an entry (empty when it has none).
std::u16string Field(const CKTLVARRAY& entry, std::uint32_t tag);
std::uint32_t Number(const CKTLVARRAY& entry, std::uint32_t tag);

// Writes a file of that many pseudo-random bytes (or a sparse one of zeros) and returns its
// path.
std::filesystem::path MakeFile(const std::filesystem::path& path, std::size_t size);
std::filesystem::path MakeSparseFile(const std::filesystem::path& path, std::uintmax_t size);
std::string ReadWhole(const std::filesystem::path& path);

}  // namespace test
