#include <gtest/gtest.h>
#include <sys/stat.h>

#include "database/database.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "files/file.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

using test::Bytes;

mode_t Mode(const std::filesystem::path& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 0777;
}

class SaveTest : public ::testing::Test {
 protected:
  SaveTest()
      : path_(dir_ / "Lee.VaultQuill"),
        new_path_(dir_ / "Lee.VaultQuill.new"),
        backup_path_(dir_ / "Lee.VaultQuill.backup"),
        user_(test::NewUser(path_)) {}

  test::TempDir dir_;
  test::RecordingMessages messages_;
  std::filesystem::path path_;
  std::filesystem::path new_path_;
  std::filesystem::path backup_path_;
  std::unique_ptr<CKDatabase> user_;
};

TEST_F(SaveTest, PreviousVersionBecomesTheBackup) {
  test::AddSampleEntries(*user_, u"1");
  const Bytes first = test::TreeBytes(*user_);
  ASSERT_EQ(user_->Save(), 0);
  EXPECT_FALSE(std::filesystem::exists(backup_path_));
  test::AddSampleEntries(*user_, u"2");
  ASSERT_EQ(user_->Save(), 0);
  EXPECT_EQ(test::OpenUserFile(backup_path_).trees, first);
  EXPECT_EQ(test::OpenUserFile(path_).trees, test::TreeBytes(*user_));
  EXPECT_FALSE(std::filesystem::exists(new_path_));
  EXPECT_EQ(Mode(path_), 0600u);
  EXPECT_EQ(Mode(backup_path_), 0600u);
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(SaveTest, TreeThatCouldNotBeReadBackIsNotWritten) {
  ASSERT_EQ(user_->Save(), 0);
  const Bytes saved = test::ReadFile(path_);
  CKTLVARRAY* note = database::CreateEntry(user_->GetEntriesRoot(), ENTRY_NOTE);
  user_->GetEntriesRoot().AddChild(note);
  note->SetStringByTag(TAG_TEXT, std::u16string(40000, u'x').c_str());  // past 65,535 bytes

  EXPECT_EQ(user_->Save(), 1);
  ASSERT_EQ(messages_.shown().size(), 2u);
  EXPECT_NE(messages_.shown()[0].text.find(test::U16(new_path_)), std::u16string::npos);
  EXPECT_TRUE(messages_.shown()[1].question);
  EXPECT_EQ(test::ReadFile(path_), saved);
  EXPECT_TRUE(std::filesystem::exists(new_path_));  // the partial file stays
  EXPECT_TRUE(user_->IsOpen());
}

TEST_F(SaveTest, AnotherSaveOfTheSameUserIsRefusedNotInterleaved) {
  ASSERT_EQ(user_->Save(), 0);
  const Bytes saved = test::ReadFile(path_);
  // Another writer of this user file is at work on its ".new" file and holds it.
  CKFile other;
  ASSERT_TRUE(other.Open(test::U16(new_path_), CKFile::modeWrite | CKFile::modeCreate));
  other.Write("other", 5);

  EXPECT_EQ(user_->Save(), 1);
  EXPECT_EQ(test::ReadFile(path_), saved);
  EXPECT_EQ(test::ReadFile(new_path_), (Bytes{'o', 't', 'h', 'e', 'r'}));
  other.Close();
  EXPECT_EQ(user_->Save(), 0);
}

// Asks to try again by saving from within the question, as a timer might while it is up.
class ReenteringMessages final : public platform::MessageSink {
 public:
  explicit ReenteringMessages(CKDatabase& database)
      : database_(database), previous_(platform::InstallMessages(this)) {}
  ~ReenteringMessages() override { platform::InstallMessages(previous_); }
  ReenteringMessages(const ReenteringMessages&) = delete;
  ReenteringMessages& operator=(const ReenteringMessages&) = delete;

  void ShowMessage(const std::u16string&, platform::MessageIcon) override {}
  bool Ask(const std::u16string&) override {
    ++questions;
    inner_result = database_.Save();
    return false;
  }
  int questions = 0;
  int inner_result = -1;

 private:
  CKDatabase& database_;
  platform::MessageSink* previous_;
};

TEST_F(SaveTest, SaveFromWithinTheRetryQuestionIsRefused) {
  std::filesystem::create_directory(new_path_);  // no ".new" file can be made
  ReenteringMessages messages(*user_);
  EXPECT_EQ(user_->Save(), 1);
  EXPECT_EQ(messages.questions, 1);
  EXPECT_EQ(messages.inner_result, 1);
}

TEST_F(SaveTest, StaleNewFileIsReplacedWithASecretOne) {
  test::WriteFile(new_path_, Bytes(1000, 0xEE));
  std::filesystem::permissions(
      new_path_, std::filesystem::perms::others_read | std::filesystem::perms::owner_all);
  ASSERT_EQ(user_->Save(), 0);
  EXPECT_EQ(Mode(path_), 0600u);
  EXPECT_EQ(test::OpenUserFile(path_).result, 0);
}

TEST_F(SaveTest, SaveCutOffBetweenItsMovesIsCompleted) {
  ASSERT_EQ(user_->Save(), 0);
  const Bytes first = test::ReadFile(path_);
  test::AddSampleEntries(*user_, u"2");
  ASSERT_EQ(user_->Save(), 0);
  const Bytes second = test::ReadFile(path_);
  // As if the program stopped after moving the user file away.
  std::filesystem::rename(path_, new_path_);
  test::WriteFile(backup_path_, first);
  EXPECT_FALSE(CompleteInterruptedSave(test::U16(backup_path_)));
  EXPECT_TRUE(CompleteInterruptedSave(test::U16(path_)));
  EXPECT_EQ(test::ReadFile(path_), second);
  EXPECT_FALSE(std::filesystem::exists(new_path_));
  EXPECT_FALSE(CompleteInterruptedSave(test::U16(path_)));

  // The next save does the same before it writes.
  std::filesystem::rename(path_, new_path_);
  ASSERT_EQ(user_->Save(), 0);
  EXPECT_EQ(test::ReadFile(backup_path_), second);
}

TEST_F(SaveTest, WildcardCharactersInTheUserNameAreJustCharacters) {
  auto other = test::NewUser(dir_ / "Max.VaultQuill");
  ASSERT_EQ(other->Save(), 0);
  auto starred = test::NewUser(dir_ / "*.VaultQuill");
  ASSERT_EQ(starred->Save(), 0);
  ASSERT_EQ(starred->Save(), 0);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "*.VaultQuill.backup"));
  EXPECT_EQ(test::OpenUserFile(dir_ / "Max.VaultQuill").result, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Max.VaultQuill.backup"));
}

}  // namespace
