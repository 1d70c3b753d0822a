#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "database/database.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

// Every shortening and every single-byte change of a small user file opens with the result
// that its place in the layout predicts, and never with anything else.

namespace {

using test::Bytes;
using test::kPassword;

class DamagedFileTest : public ::testing::Test {
 protected:
  DamagedFileTest() : path_(dir_ / "Bea.VaultQuill") {
    auto user = test::NewUser(path_);
    test::AddSampleEntries(*user, u"x");
    EXPECT_EQ(user->Save(), 0);
    file_ = test::ReadFile(path_);
    stream_ = 64 + (file_[60] | (file_[61] << 8));
  }

  struct Results {
    int header_only;
    int with_password;
  };
  Results Open(const Bytes& bytes) {
    test::WriteFile(path_, bytes);
    CKDatabase database;
    database.SetPath(test::U16(path_));
    const int header_only = database.Load();
    return {header_only, database.Load(kPassword)};
  }

  bool SameIterations(const Bytes& bytes) const {
    const auto effective = [](const Bytes& b) { return std::max(b[10] | (b[11] << 8), 1); };
    return effective(bytes) == effective(file_);
  }

  // What a changed memo length leaves for the enciphered stream: whole blocks after the memo.
  std::size_t StreamAreaAfterMemo(const Bytes& bytes) const {
    const std::size_t memo = bytes[60] | (bytes[61] << 8) | (bytes[62] << 16) |
                             (static_cast<std::size_t>(bytes[63]) << 24);
    const std::size_t start = 64 + memo;
    const std::size_t area = bytes.size() > start ? bytes.size() - start : 0;
    return area - area % 16;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  std::filesystem::path path_;
  Bytes file_;
  std::size_t stream_ = 0;
};

TEST_F(DamagedFileTest, EveryTruncation) {
  ASSERT_GT(file_.size(), stream_ + 48);
  for (std::size_t length = 0; length < file_.size(); ++length) {
    SCOPED_TRACE(length);
    const Results results = Open(Bytes(file_.begin(), file_.begin() + static_cast<long>(length)));
    if (length <= 60) {
      EXPECT_EQ(results.header_only, userfile::kUnreadable);
      EXPECT_EQ(results.with_password, userfile::kUnreadable);
    } else {
      // A cut anywhere after the header loses a part of the trees, or the verifier itself:
      // damaged, never taken for a wrong password.
      EXPECT_EQ(results.header_only, userfile::kOpened);
      EXPECT_EQ(results.with_password, userfile::kDamaged);
    }
  }
  EXPECT_EQ(Open(file_).with_password, userfile::kOpened);
}

TEST_F(DamagedFileTest, EverySingleByteChange) {
  std::set<int> stream_results;
  for (std::size_t at = 0; at < file_.size(); ++at) {
    for (const std::uint8_t flip : {std::uint8_t{0x01}, std::uint8_t{0x80}}) {
      SCOPED_TRACE(testing::Message() << "byte " << at << " ^ " << int{flip});
      Bytes changed = file_;
      changed[at] ^= flip;
      const Results results = Open(changed);
      int header = userfile::kOpened;
      if (at < 4 || at == 5) {
        header = userfile::kUnreadable;  // magic, header size
      } else if ((at == 4 || at == 8 || at == 9) && changed[at] > 1) {
        header = userfile::kNewerFormat;
      }
      EXPECT_EQ(results.header_only, header);
      if (header != userfile::kOpened) {
        EXPECT_EQ(results.with_password, header);
      } else if (at < 10 || (at >= 64 && at < stream_) ||
                 ((at == 10 || at == 11) && SameIterations(changed))) {
        // Reserved bytes, a version byte that stays 0 or 1, the plain memo's text, or an
        // iteration count of 0 where it was 1 (both derive with one iteration).
        EXPECT_EQ(results.with_password, userfile::kOpened);
      } else if (at < 60 || (at >= stream_ && at < stream_ + 32)) {
        // Iteration count, salt, IV, or the verifier's two blocks: the verifier differs.
        EXPECT_EQ(results.with_password, userfile::kWrongPassword);
      } else if (at < 64) {
        // A memo of another length moves the stream: a stranger verifier, or none at all.
        EXPECT_EQ(results.with_password, StreamAreaAfterMemo(changed) >= 32
                                             ? userfile::kWrongPassword
                                             : userfile::kDamaged);
      } else {
        // Further on the change garbles one block of the trees: damaged, or accepted by the
        // element reader.
        EXPECT_TRUE(results.with_password == userfile::kDamaged ||
                    results.with_password == userfile::kOpened)
            << results.with_password;
        stream_results.insert(results.with_password);
      }
    }
  }
  EXPECT_TRUE(stream_results.count(userfile::kDamaged));
}

TEST_F(DamagedFileTest, WholeBlocksAfterTheTreesAreLeftAlone) {
  Bytes longer = file_;
  longer.insert(longer.end(), 32, 0x33);
  EXPECT_EQ(Open(longer).with_password, userfile::kOpened);
}

}  // namespace
