// Opening a user file long enough to be read ahead on a second thread: the same trees as ever,
// the same results and messages for every failing read, a wrong password found before most of
// the file is read, and a file changed by someone else during the open ending in a clean result.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "crypto_test_util.h"
#include "database/database.h"
#include "database/entries.h"
#include "database/tree_io.h"
#include "elements/tags.h"
#include "files/memory_stream.h"
#include "platform/utf.h"
#include "read_fault_calls.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

using crypto_test::Bytes;

constexpr char16_t kPassword[] = u"l\u00e4nger als lang";
constexpr std::uint32_t kAttachmentSize = 3 * 1024 * 1024 + 123;
constexpr int kAttachments = 3;
constexpr int kNotes = 400;

Bytes TreeBytes(CKDatabase& database) {
  CKMemoryStream stream;
  database::WriteTrees(stream, database.GetEntriesRoot(), database.GetSettingsRoot());
  return stream.GetData();
}

class UserFileReadAheadTest : public ::testing::Test {
 protected:
  UserFileReadAheadTest() : path_(dir_ / "Large.VaultQuill") {
    // About ten pieces of attachments between notes, so that the trees straddle the pieces.
    CKDatabase user;
    user.SetPath(Path());
    user.SetMemo(u"the long one");
    user.GetKeys().SetIterations(1);
    user.NewSalt();
    user.SetPassword(kPassword);
    user.SetOpen(true);
    CKTLVARRAY* folder = database::CreateEntry(user.GetEntriesRoot(), ENTRY_FOLDER);
    user.GetEntriesRoot().AddChild(folder);
    for (int i = 0; i < kNotes; ++i) {
      CKTLVARRAY* note = database::CreateEntry(*folder, ENTRY_NOTE);
      folder->AddChild(note);
      note->SetStringByTag(TAG_NAME, (u"Note \u00e9 " + std::u16string(i % 50, u'x')).c_str());
      if (i % (kNotes / kAttachments) == 1) {
        CKTLVARRAY* attachment = database::CreateEntry(*note, ENTRY_ATTACHMENT);
        note->AddChild(attachment);
        attachment->SetDwordByTag(TAG_FILE_SIZE, kAttachmentSize);
        auto* data = static_cast<std::uint8_t*>(
            attachment->FindChild(TAG_FILE_DATA)->GetBuffer(kAttachmentSize));
        for (std::uint32_t b = 0; b < kAttachmentSize; ++b) {
          data[b] = static_cast<std::uint8_t>(b * 31 + i + (b >> 12));
        }
      }
    }
    user.SetTextSetting(u"stringDefaultLogin", u"me");
    trees_ = TreeBytes(user);
    EXPECT_EQ(user.Save(), 0);
    original_ = std::filesystem::file_size(path_);
    std::ifstream in(path_, std::ios::binary);
    file_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::u16string Path() const { return platform::FromUtf8(path_.string()); }
  void Restore() const {
    std::ofstream(path_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(file_.data()),
               static_cast<std::streamsize>(file_.size()));
  }

  struct Opened {
    int result = -1;
    bool open = false;
    Bytes trees;
  };
  Opened Open(std::u16string_view password = kPassword) {
    CKDatabase database;
    database.SetPath(Path());
    Opened opened;
    opened.result = database.Load(password);
    opened.open = database.IsOpen();
    opened.trees = TreeBytes(database);
    return opened;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  std::filesystem::path path_;
  Bytes trees_;
  Bytes file_;
  std::uintmax_t original_ = 0;
};

TEST_F(UserFileReadAheadTest, OpensWithTheSameTreesWhileASecondThreadReads) {
  ASSERT_GT(original_, 8u * 1024 * 1024);
  crypto_test::ReadFaultCalls calls;
  const Opened opened = Open();
  EXPECT_EQ(opened.result, 0);
  EXPECT_EQ(opened.trees, trees_);
  EXPECT_EQ(calls.BytesRead(), original_);
  EXPECT_GE(calls.ReadsElsewhere(), 8);
  EXPECT_LE(calls.Reads(), 16);  // the header and the memo, then pieces of a MiB
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(UserFileReadAheadTest, WrongPasswordIsFoundBeforeMostOfTheFileIsRead) {
  crypto_test::ReadFaultCalls calls;
  const Opened opened = Open(u"l\u00e4nger als kurz");
  EXPECT_EQ(opened.result, userfile::kWrongPassword);
  EXPECT_FALSE(opened.open);
  // At most the ring of pieces was read ahead while the key was derived.
  EXPECT_LE(calls.BytesRead(), 4u * 1024 * 1024 + 100);
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(UserFileReadAheadTest, EveryFailingReadGivesResultOneAndOneMessage) {
  crypto_test::ReadFaultCalls calls;
  ASSERT_EQ(Open().result, 0);
  const int reads = calls.Reads();
  for (int n = 1; n <= reads + 1; ++n) {
    SCOPED_TRACE(testing::Message() << "read " << n << " of " << reads << " fails");
    messages_.Clear();
    calls.FailNth(n);
    const Opened opened = Open();
    if (n <= reads) {
      EXPECT_EQ(opened.result, userfile::kUnreadable);
      EXPECT_FALSE(opened.open);
      EXPECT_EQ(opened.trees, TreeBytes(*std::make_unique<CKDatabase>()));
      ASSERT_EQ(messages_.shown().size(), 1u);
      EXPECT_NE(messages_.Texts()[0].find("Input/output error"), std::string::npos);
    } else {
      EXPECT_EQ(opened.result, 0);
      EXPECT_EQ(opened.trees, trees_);
      EXPECT_TRUE(messages_.shown().empty());
    }
  }
}

TEST_F(UserFileReadAheadTest, FileShrinkingOrGrowingAtAnyReadEndsCleanly) {
  crypto_test::ReadFaultCalls calls;
  ASSERT_EQ(Open().result, 0);
  const int reads = calls.Reads();
  for (int n = 1; n <= reads; ++n) {
    SCOPED_TRACE(testing::Message() << "cut before read " << n);
    calls.BeforeNth(
        n, [&] { ASSERT_EQ(truncate(path_.c_str(), static_cast<off_t>(original_ / 2)), 0); });
    const Opened cut = Open();
    EXPECT_EQ(cut.result, userfile::kDamaged);
    EXPECT_FALSE(cut.open);
    Restore();
    calls.BeforeNth(n, [&] {
      std::ofstream(path_, std::ios::binary | std::ios::app) << std::string(100000, '\x5A');
    });
    const Opened grown = Open();
    EXPECT_EQ(grown.result, 0);
    EXPECT_EQ(grown.trees, trees_);
    Restore();
  }
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(UserFileReadAheadTest, FileCutByAnotherThreadAtAnyMomentNeverHangsTheOpen) {
  for (int round = 0; round < 8; ++round) {
    std::atomic<bool> started = false;
    std::thread cutter([&] {
      while (!started) {
        std::this_thread::yield();
      }
      std::this_thread::sleep_for(std::chrono::microseconds(round * 700));
      std::filesystem::resize_file(path_, original_ / 3 + static_cast<std::uintmax_t>(round));
    });
    started = true;
    const Opened opened = Open();
    cutter.join();
    EXPECT_TRUE(opened.result == 0 || opened.result == userfile::kDamaged) << opened.result;
    if (opened.result == 0) {
      EXPECT_EQ(opened.trees, trees_);
    }
    Restore();
  }
}

}  // namespace
