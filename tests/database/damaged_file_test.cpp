#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "crypto/crypto_file.h"
#include "database/database.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

// Every shortening and every single-byte change of a small user file opens with the result
// that its place in the layout predicts, and never with anything else, whether the file is
// read or mapped; so do the limits of the header: iteration counts, memo lengths.

namespace {

using test::Bytes;

class DamagedFileTest : public ::testing::Test {
 protected:
  DamagedFileTest() : path_(dir_ / "Bea.VaultQuill") {
    auto user = test::NewUser(path_);
    test::AddSampleEntries(*user, u"x");
    EXPECT_EQ(user->Save(), 0);
    trees_ = test::TreeBytes(*user);
    file_ = test::ReadFile(path_);
    stream_ = 64 + (file_[60] | (file_[61] << 8));
  }

  // The results of reading the header alone and of opening with the password. A file that
  // does not open leaves nothing in memory but its header and memo, and is not saved over.
  std::pair<int, int> Open(const Bytes& bytes) {
    test::WriteFile(path_, bytes);
    CKDatabase database;
    database.SetPath(test::U16(path_));
    const int header_only = database.Load();
    const int result = database.Load(test::kPassword);
    if (result != userfile::kOpened) {
      EXPECT_EQ(database.GetEntriesRoot().GetChildCount(), 0u);
      EXPECT_EQ(database.GetSettingsRoot().GetChildCount(), 0u);
      EXPECT_TRUE(test::KeyIsZero(database));
      EXPECT_EQ(database.Save(), CKDatabase::kSaveNotOpen);
    }
    return {header_only, result};
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  std::filesystem::path path_;
  Bytes trees_;
  Bytes file_;
  std::size_t stream_ = 0;
};

// The two above on a stream read with reads of the file and on one read through a mapping of
// it, which the program uses for long files.
class DamagedFilePathTest : public DamagedFileTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override { minimum_ = CKCryptoFile::SetMappingMinimum(GetParam() ? 0 : ~0ull); }
  void TearDown() override { CKCryptoFile::SetMappingMinimum(minimum_); }

 private:
  std::uint64_t minimum_ = 0;
};
INSTANTIATE_TEST_SUITE_P(Paths, DamagedFilePathTest, testing::Bool(),
                         [](const auto& instance) { return instance.param ? "Mapped" : "Read"; });

TEST_P(DamagedFilePathTest, EveryTruncation) {
  ASSERT_GT(file_.size(), stream_ + 48);
  for (std::size_t length = 0; length < file_.size(); ++length) {
    SCOPED_TRACE(length);
    // A cut after the header loses a part of the trees or the verifier itself: damaged, never
    // taken for a wrong password.
    const int header = length <= 60 ? userfile::kUnreadable : userfile::kOpened;
    EXPECT_EQ(Open(Bytes(file_.begin(), file_.begin() + static_cast<long>(length))),
              std::make_pair(header, length <= 60 ? header : userfile::kDamaged));
  }
  // Whole blocks after the trees are left alone.
  Bytes longer = file_;
  longer.insert(longer.end(), 32, 0x33);
  EXPECT_EQ(Open(longer).second, userfile::kOpened);
}

TEST_P(DamagedFilePathTest, EverySingleByteChange) {
  const auto iterations = [](const Bytes& b) { return std::max(b[10] | (b[11] << 8), 1); };
  // What a changed memo length leaves for the enciphered stream: whole blocks after the memo.
  const auto stream_area = [](const Bytes& b) {
    const std::size_t start =
        64 + (b[60] | (b[61] << 8) | (b[62] << 16) | (static_cast<std::size_t>(b[63]) << 24));
    const std::size_t area = b.size() > start ? b.size() - start : 0;
    return area - area % 16;
  };
  std::set<int> stream_results;
  for (std::size_t at = 0; at < file_.size(); ++at) {
    for (const std::uint8_t flip : {std::uint8_t{0x01}, std::uint8_t{0x80}}) {
      SCOPED_TRACE(testing::Message() << "byte " << at << " ^ " << int{flip});
      Bytes changed = file_;
      changed[at] ^= flip;
      const auto [header_only, with_password] = Open(changed);
      int header = userfile::kOpened;
      if (at < 4 || at == 5) {
        header = userfile::kUnreadable;  // magic, header size
      } else if ((at == 4 || at == 8 || at == 9) && changed[at] > 1) {
        header = userfile::kNewerFormat;
      }
      EXPECT_EQ(header_only, header);
      const auto predicted = [&]() -> int {
        if (header != userfile::kOpened) {
          return header;
        }
        if (at < 10 || (at >= 64 && at < stream_) ||
            ((at == 10 || at == 11) && iterations(changed) == iterations(file_))) {
          // Reserved bytes, a version byte that stays 0 or 1, the plain memo's text, or an
          // iteration count of 0 where it was 1 (both derive with one iteration).
          return userfile::kOpened;
        }
        if (at < 60 || (at >= stream_ && at < stream_ + 32)) {
          // Iteration count, salt, IV, or the verifier's two blocks: the verifier differs.
          return userfile::kWrongPassword;
        }
        if (at < 64) {
          // A memo of another length moves the stream: a stranger verifier, or none at all.
          return stream_area(changed) >= 32 ? userfile::kWrongPassword : userfile::kDamaged;
        }
        // Further on the change garbles one block of the trees: damaged, or accepted by the
        // element reader.
        stream_results.insert(with_password);
        return with_password == userfile::kOpened ? userfile::kOpened : userfile::kDamaged;
      };
      EXPECT_EQ(with_password, predicted());
    }
  }
  EXPECT_TRUE(stream_results.count(userfile::kDamaged));
}

TEST_F(DamagedFileTest, LimitsOfTheHeader) {
  CKDatabase database;
  database.SetPath(test::U16(path_));
  EXPECT_EQ(database.Load(u"correct horse"), userfile::kWrongPassword);
  EXPECT_EQ(database.GetMemo(), test::kMemo);  // still shown at log-in
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_EQ(test::OpenUserFile(dir_ / "missing").result, userfile::kUnreadable);
  EXPECT_EQ(messages_.shown().size(), 1u);

  // A memo of 70,000 bytes in place of the file's own is skipped whole.
  const std::uint32_t length = 70000;
  Bytes long_memo(file_.begin(), file_.begin() + 60);
  for (int i = 0; i < 4; ++i) {
    long_memo.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  }
  long_memo.insert(long_memo.end(), length, 'a');
  long_memo.insert(long_memo.end(), file_.begin() + static_cast<long>(stream_), file_.end());
  test::WriteFile(path_, long_memo);
  EXPECT_EQ(database.Load(), 0);
  EXPECT_EQ(database.GetMemo(), u"");
  EXPECT_EQ(test::OpenUserFile(path_).trees, trees_);
  // One that long is never written: it is cut where a reader still takes it.
  auto user = test::NewUser(path_);
  user->SetMemo(std::u16string(40000, u'm'));
  ASSERT_EQ(user->Save(), 0);
  ASSERT_EQ(database.Load(test::kPassword), 0);
  EXPECT_EQ(database.GetMemo(), std::u16string(userfile::kMaxMemoCharacters, u'm'));

  for (const std::uint16_t iterations : {std::uint16_t{0}, std::uint16_t{65535}}) {
    auto counted = test::NewUser(path_, test::kPassword, iterations);
    test::AddSampleEntries(*counted, u"x");
    ASSERT_EQ(counted->Save(), 0);
    const Bytes file = test::ReadFile(path_);
    EXPECT_EQ(file[10] | (file[11] << 8), iterations);
    EXPECT_EQ(test::OpenUserFile(path_).trees, test::TreeBytes(*counted)) << iterations;
  }
}

}  // namespace
