#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "database/database.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

using test::Bytes;

class LoadTest : public ::testing::Test {
 protected:
  LoadTest() : path_(dir_ / "Alice.VaultQuill") {}

  // Saves a user with sample entries; returns the bytes of its file.
  Bytes SaveSample(std::uint16_t iterations = 1) {
    auto user = test::NewUser(path_, test::kPassword, iterations);
    test::AddSampleEntries(*user, u"one");
    saved_trees_ = test::TreeBytes(*user);
    EXPECT_EQ(user->Save(), 0);
    return test::ReadFile(path_);
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  std::filesystem::path path_;
  Bytes saved_trees_;
};

// A file that does not open leaves nothing in memory but its header and memo, which the log-in
// shows, and cannot be saved over.
TEST_F(LoadTest, FailedOpenKeepsNoTreesNoKeyAndWritesNothing) {
  const Bytes file = SaveSample();
  const struct {
    const char* what;
    std::function<void()> damage;
    std::u16string password;
    int result;
    std::size_t messages;
  } cases[] = {
      {"wrong password", [] {}, u"correct horse", userfile::kWrongPassword, 0},
      {"a block short", [&] { test::WriteFile(path_, Bytes(file.begin(), file.end() - 16)); },
       test::kPassword, userfile::kDamaged, 0},
      {"missing", [&] { std::filesystem::remove(path_); }, test::kPassword, userfile::kUnreadable,
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    messages_.Clear();
    c.damage();
    const Bytes on_disk = test::ReadFile(path_);
    CKDatabase database;
    database.SetPath(test::U16(path_));
    EXPECT_EQ(database.Load(c.password), c.result);
    EXPECT_EQ(messages_.shown().size(), c.messages);
    EXPECT_FALSE(database.IsOpen());
    EXPECT_EQ(database.GetEntriesRoot().GetChildCount(), 0u);
    EXPECT_EQ(database.GetSettingsRoot().GetChildCount(), 0u);
    const auto& key = database.GetKeys().GetKey();
    EXPECT_TRUE(std::all_of(key.begin(), key.end(), [](std::uint8_t b) { return b == 0; }));
    if (c.result != userfile::kUnreadable) {
      EXPECT_EQ(database.GetMemo(), test::kMemo);
    }
    EXPECT_EQ(database.Save(), CKDatabase::kSaveNotOpen);
    EXPECT_EQ(test::ReadFile(path_), on_disk);
  }
}

TEST_F(LoadTest, IterationCountsAtBothEnds) {
  for (const std::uint16_t iterations : {std::uint16_t{0}, std::uint16_t{65535}}) {
    const Bytes file = SaveSample(iterations);
    EXPECT_EQ(file[10] | (file[11] << 8), iterations);
    const test::Opened opened = test::OpenUserFile(path_);
    EXPECT_EQ(opened.result, 0) << iterations;
    EXPECT_EQ(opened.trees, saved_trees_);
  }
}

TEST_F(LoadTest, MemoBeyondWhatAReaderTakes) {
  // Read: the same file with a memo of 70,000 bytes in place of its own is skipped whole.
  const Bytes file = SaveSample();
  const std::size_t memo_bytes = file[60] | (file[61] << 8);
  const std::uint32_t length = 70000;
  Bytes long_memo(file.begin(), file.begin() + 60);
  for (int i = 0; i < 4; ++i) {
    long_memo.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  }
  long_memo.insert(long_memo.end(), length, 'a');
  long_memo.insert(long_memo.end(), file.begin() + 64 + static_cast<long>(memo_bytes), file.end());
  test::WriteFile(path_, long_memo);
  CKDatabase database;
  database.SetPath(test::U16(path_));
  EXPECT_EQ(database.Load(), 0);
  EXPECT_EQ(database.GetMemo(), u"");
  EXPECT_EQ(test::OpenUserFile(path_).trees, saved_trees_);

  // Written: cut where a reader still takes it.
  auto user = test::NewUser(path_);
  user->SetMemo(std::u16string(40000, u'm'));
  ASSERT_EQ(user->Save(), 0);
  ASSERT_EQ(database.Load(test::kPassword), 0);
  EXPECT_EQ(database.GetMemo(), std::u16string(userfile::kMaxMemoCharacters, u'm'));
}

}  // namespace
