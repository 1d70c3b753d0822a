#include <gtest/gtest.h>

#include "database/database.h"
#include "elements/tags.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

using test::Bytes;
using test::kPassword;

constexpr std::size_t kMemoLengthOffset = 60;

class LoadTest : public ::testing::Test {
 protected:
  LoadTest() : path_(dir_ / "Alice.VaultQuill") {}

  // Saves a user with sample entries; returns the bytes of its file.
  Bytes SaveSample(std::uint16_t iterations = 1) {
    auto user = test::NewUser(path_, kPassword, iterations);
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

TEST_F(LoadTest, SavedUserOpensWithItsPasswordOnly) {
  const Bytes file = SaveSample();
  EXPECT_EQ(test::Hex(Bytes(file.begin(), file.begin() + 12)), "56514442013c000001010100");
  const test::Opened opened = test::OpenUserFile(path_);
  ASSERT_EQ(opened.result, 0);
  EXPECT_EQ(opened.trees, saved_trees_);

  CKDatabase wrong;
  wrong.SetPath(test::U16(path_));
  EXPECT_EQ(wrong.Load(u"correct horse"), userfile::kWrongPassword);
  EXPECT_FALSE(wrong.IsOpen());
  EXPECT_EQ(wrong.GetEntriesRoot().GetChildCount(), 0u);
  EXPECT_EQ(wrong.GetMemo(), u"hint: the usual, with \u00e9t\u00e9");  // still shown at log-in
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(LoadTest, HeaderAndMemoReadWithoutPasswordHoweverDamagedTheRest) {
  Bytes file = SaveSample();
  for (std::size_t i = file.size() - 40; i < file.size(); ++i) {
    file[i] ^= 0x5A;
  }
  test::WriteFile(path_, file);
  CKDatabase database;
  database.SetPath(test::U16(path_));
  EXPECT_EQ(database.Load(), 0);
  EXPECT_EQ(database.GetMemo(), u"hint: the usual, with \u00e9t\u00e9");
  EXPECT_FALSE(database.IsOpen());
}

TEST_F(LoadTest, MissingFileIsUnreadableWithTheFileMessage) {
  EXPECT_EQ(test::OpenUserFile(path_).result, userfile::kUnreadable);
  ASSERT_EQ(messages_.shown().size(), 1u);
}

TEST_F(LoadTest, TwoSavesDifferOnlyInIVAndStream) {
  auto user = test::NewUser(path_);
  test::AddSampleEntries(*user, u"one");
  ASSERT_EQ(user->Save(), 0);
  const Bytes first = test::ReadFile(path_);
  ASSERT_EQ(user->Save(), 0);
  const Bytes second = test::ReadFile(path_);
  ASSERT_EQ(first.size(), second.size());
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + 44, second.begin()));
  EXPECT_FALSE(std::equal(first.begin() + 44, first.begin() + 60, second.begin() + 44));
  const std::size_t stream = 64 + user->GetMemo().size() * 2;
  EXPECT_TRUE(std::equal(first.begin() + 60, first.begin() + stream, second.begin() + 60));
  for (std::size_t block = stream; block < first.size(); block += 16) {
    EXPECT_FALSE(
        std::equal(first.begin() + block, first.begin() + block + 16, second.begin() + block))
        << block;
  }
  EXPECT_EQ(test::OpenUserFile(path_).result, 0);
  EXPECT_EQ(test::ReadFile(dir_ / "Alice.VaultQuill.backup"), first);
}

TEST_F(LoadTest, PasswordChangeNeedsTheNewPassword) {
  auto user = test::NewUser(path_);
  ASSERT_EQ(user->Save(), 0);
  const Bytes before = test::ReadFile(path_);
  user->NewSalt();
  user->SetPassword(u"new one");
  ASSERT_EQ(user->Save(), 0);
  const Bytes after = test::ReadFile(path_);
  EXPECT_FALSE(std::equal(before.begin() + 12, before.begin() + 44, after.begin() + 12));
  EXPECT_EQ(test::OpenUserFile(path_).result, userfile::kWrongPassword);
  EXPECT_EQ(test::OpenUserFile(path_, u"new one").result, 0);
}

TEST_F(LoadTest, EmptyMemoIsALengthOfZero) {
  auto user = test::NewUser(path_);
  user->SetMemo(u"");
  ASSERT_EQ(user->Save(), 0);
  const Bytes file = test::ReadFile(path_);
  EXPECT_EQ(Bytes(file.begin() + 60, file.begin() + 64), Bytes(4, 0));
  EXPECT_EQ((file.size() - 64) % 16, 0u);
  EXPECT_EQ(test::OpenUserFile(path_).result, 0);
}

TEST_F(LoadTest, IterationCountsAtBothEnds) {
  for (const std::uint16_t iterations : {std::uint16_t{0}, std::uint16_t{65535}}) {
    const Bytes file = SaveSample(iterations);
    EXPECT_EQ(file[10] | (file[11] << 8), iterations);
    EXPECT_EQ(test::OpenUserFile(path_).result, 0) << iterations;
  }
}

TEST_F(LoadTest, MemoLongerThanAReaderTakesIsSkippedWhole) {
  const Bytes file = SaveSample();
  const std::size_t memo_bytes = file[60] | (file[61] << 8);
  // The same file with a memo of 70,000 bytes in place of its own.
  Bytes long_memo(file.begin(), file.begin() + kMemoLengthOffset);
  const std::uint32_t length = 70000;
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
  const test::Opened opened = test::OpenUserFile(path_);
  EXPECT_EQ(opened.result, 0);
  EXPECT_EQ(opened.trees, saved_trees_);
}

TEST_F(LoadTest, WrittenMemoIsCutWhereAReaderStillTakesIt) {
  auto user = test::NewUser(path_);
  user->SetMemo(std::u16string(40000, u'm'));
  ASSERT_EQ(user->Save(), 0);
  CKDatabase database;
  database.SetPath(test::U16(path_));
  ASSERT_EQ(database.Load(kPassword), 0);
  EXPECT_EQ(database.GetMemo(), std::u16string(userfile::kMaxMemoCharacters, u'm'));
}

TEST_F(LoadTest, FailedOpenLeavesNoTreesAndNoKey) {
  const Bytes file = SaveSample();
  Bytes damaged = file;
  damaged.resize(file.size() - 16);
  test::WriteFile(path_, damaged);
  CKDatabase database;
  database.SetPath(test::U16(path_));
  EXPECT_EQ(database.Load(kPassword), userfile::kDamaged);
  EXPECT_FALSE(database.IsOpen());
  EXPECT_EQ(database.GetEntriesRoot().GetChildCount(), 0u);
  EXPECT_EQ(database.GetSettingsRoot().GetChildCount(), 0u);
  const auto& key = database.GetKeys().GetKey();
  EXPECT_TRUE(std::all_of(key.begin(), key.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(database.Save(), CKDatabase::kSaveNotOpen);
  EXPECT_EQ(test::ReadFile(path_), damaged);
}

}  // namespace
