#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <map>

#include "database/database.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "files/file.h"
#include "files/system_calls.h"
#include "platform/messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

using test::Bytes;

enum class Call { kWrite, kFsync, kClose, kUnlink, kRename };

// One way for the disk to fail: the n-th call of a kind (counted from arming), or running out
// of space after a number of bytes (the write that crosses it is cut short, the next one fails
// with ENOSPC).
struct Fault {
  Call call = Call::kWrite;
  int nth = 0;  // 0: no call fails
  std::size_t space = SIZE_MAX;
};

// A disk that fails as armed, every other call being real; and the person at the screen, who
// answers questions as `answer` says (No when unset). Installed for its lifetime.
class FailingDisk final : public files::SystemCalls, public platform::MessageSink {
 public:
  FailingDisk()
      : previous_calls_(files::InstallSystemCalls(this)),
        previous_sink_(platform::InstallMessages(this)) {}
  ~FailingDisk() override {
    files::InstallSystemCalls(previous_calls_);
    platform::InstallMessages(previous_sink_);
  }
  FailingDisk(const FailingDisk&) = delete;
  FailingDisk& operator=(const FailingDisk&) = delete;

  void Arm(const Fault& fault) {
    fault_ = fault;
    counts.clear();
    written = 0;
  }
  void Disarm() { fault_ = Fault{}; }

  ssize_t Write(int fd, const void* buffer, size_t count) override {
    if (!Pass(Call::kWrite)) {
      return Failed();
    }
    if (written >= fault_.space) {
      return Failed(ENOSPC);
    }
    const ssize_t done =
        files::SystemCalls::Write(fd, buffer, std::min(count, fault_.space - written));
    written += done > 0 ? static_cast<std::size_t>(done) : 0;
    return done;
  }
  int Fsync(int fd) override {
    return Pass(Call::kFsync) ? files::SystemCalls::Fsync(fd) : Failed();
  }
  // A failing close still releases the descriptor, as Linux does.
  int Close(int fd) override {
    const bool pass = Pass(Call::kClose);
    const int result = files::SystemCalls::Close(fd);
    return pass ? result : Failed();
  }
  int Unlink(const char* path) override {
    return Pass(Call::kUnlink) ? files::SystemCalls::Unlink(path) : Failed();
  }
  int Rename(const char* from, const char* to, bool replace) override {
    return Pass(Call::kRename) ? files::SystemCalls::Rename(from, to, replace) : Failed();
  }

  void ShowMessage(const std::u16string& text, platform::MessageIcon) override {
    ++messages;
    last_message = text;
  }
  bool Ask(const std::u16string&) override {
    ++questions;
    return answer && answer();
  }

  std::map<Call, int> counts;
  std::size_t written = 0;
  int messages = 0;
  std::u16string last_message;
  int questions = 0;
  std::function<bool()> answer;

 private:
  bool Pass(Call call) { return ++counts[call] != fault_.nth || call != fault_.call; }
  static int Failed(int error = EIO) {
    errno = error;
    return -1;
  }

  Fault fault_;
  files::SystemCalls* previous_calls_;
  platform::MessageSink* previous_sink_;
};

// Wildcard characters in a user name are just characters.
class SaveTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  FailingDisk disk_;
  std::filesystem::path path_ = dir_ / "Le?*.VaultQuill";
  std::filesystem::path new_path_ = path_.string() + ".new";
  std::filesystem::path backup_path_ = path_.string() + ".backup";
  std::unique_ptr<CKDatabase> user_ = test::NewUser(path_);
};

// Whatever step of a save fails, and whether the user then tries again or not, the user file
// (after the next listing of the folder) and its backup open with the password and hold the
// state from before the save or the one after it.
TEST_F(SaveTest, NoFailingStepLosesTheStateBeforeOrAfter) {
  test::AddSampleEntries(*user_, u"before");
  ASSERT_EQ(user_->Save(), 0);
  ASSERT_EQ(user_->Save(), 0);  // so that there is a backup
  const std::filesystem::path name = path_.filename();
  Bytes before;
  Bytes after;
  // A copy of the saved user in a folder of its own, opened and changed in memory.
  const auto prepare = [&](const std::filesystem::path& folder) {
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(path_, folder / name);
    std::filesystem::copy_file(backup_path_, folder / backup_path_.filename());
    auto user = std::make_unique<CKDatabase>();
    user->SetPath(test::U16(folder / name));
    EXPECT_EQ(user->Load(test::kPassword), 0);
    before = test::TreeBytes(*user);
    test::AddSampleEntries(*user, u"after");
    after = test::TreeBytes(*user);
    return user;
  };

  // A clean save first, to learn how many calls of each kind and bytes a save takes.
  disk_.Arm({});
  ASSERT_EQ(prepare(dir_ / "counting")->Save(), 0);
  std::vector<Fault> faults;
  for (const Call call : {Call::kWrite, Call::kFsync, Call::kClose, Call::kUnlink, Call::kRename}) {
    ASSERT_GT(disk_.counts[call], 0);
    for (int n = 1; n <= disk_.counts[call]; ++n) {
      faults.push_back({call, n, SIZE_MAX});
    }
  }
  ASSERT_GT(disk_.written, 100u);
  for (std::size_t space = 0; space < disk_.written; space += space < 80 ? 1 : 13) {
    faults.push_back({Call::kWrite, 0, space});
  }

  int run = 0;
  for (const Fault& fault : faults) {
    for (const bool retry : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << "call " << static_cast<int>(fault.call) << " #" << fault.nth << ", space "
                   << fault.space << ", retry " << retry);
      const auto folder = dir_ / ("run" + std::to_string(run++));
      auto user = prepare(folder);
      disk_.messages = disk_.questions = 0;
      // Tried again, the cause of the failure has been put right.
      disk_.answer = [this, retry] {
        disk_.Disarm();
        return retry;
      };
      disk_.Arm(fault);
      const int result = user->Save();
      disk_.Disarm();

      // A failure is told and asked about once; tried again, the save goes through.
      if (result == 0) {
        EXPECT_LE(disk_.questions, retry ? 1 : 0);
      } else {
        EXPECT_EQ(result, 1);
        EXPECT_FALSE(retry);
        EXPECT_EQ(disk_.questions, 1);
        EXPECT_GE(disk_.messages, 1);
      }
      EXPECT_TRUE(user->IsOpen());
      EXPECT_EQ(test::TreeBytes(*user), after);

      CompleteInterruptedSave(test::U16(folder / name));
      const test::Opened opened = test::OpenUserFile(folder / name);
      ASSERT_EQ(opened.result, 0);
      EXPECT_TRUE(opened.trees == after || (result != 0 && opened.trees == before));
      // After a save that went through, the version before it is the backup.
      const auto backup_path = folder / backup_path_.filename();
      EXPECT_TRUE(result != 0 || std::filesystem::exists(backup_path));
      if (std::filesystem::exists(backup_path)) {
        const test::Opened backup = test::OpenUserFile(backup_path);
        ASSERT_EQ(backup.result, 0);
        EXPECT_TRUE(backup.trees == before || backup.trees == after);
      }
    }
  }
}

TEST_F(SaveTest, PreviousVersionBecomesTheSecretBackupAndNothingElseIsTouched) {
  ASSERT_EQ(test::NewUser(dir_ / "Lee.VaultQuill")->Save(), 0);
  test::AddSampleEntries(*user_, u"1");
  ASSERT_EQ(user_->Save(), 0);
  EXPECT_FALSE(std::filesystem::exists(backup_path_));
  const Bytes first = test::ReadFile(path_);

  // A stale ".new" file that others may read is replaced by a secret one.
  test::WriteFile(new_path_, Bytes(1000, 0xEE));
  std::filesystem::permissions(new_path_, std::filesystem::perms::all);
  test::AddSampleEntries(*user_, u"2");
  ASSERT_EQ(user_->Save(), 0);
  const Bytes second = test::ReadFile(path_);
  EXPECT_EQ(test::ReadFile(backup_path_), first);
  // Every save has an IV of its own.
  EXPECT_NE(Bytes(first.begin() + 44, first.begin() + 60),
            Bytes(second.begin() + 44, second.begin() + 60));
  EXPECT_FALSE(std::filesystem::exists(new_path_));
  EXPECT_TRUE(test::IsSecret(path_));
  EXPECT_TRUE(test::IsSecret(backup_path_));
  EXPECT_EQ(disk_.messages + disk_.questions, 0);
  EXPECT_EQ(test::OpenUserFile(dir_ / "Lee.VaultQuill").result, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Lee.VaultQuill.backup"));
}

TEST_F(SaveTest, TreeThatCouldNotBeReadBackIsNotWritten) {
  ASSERT_EQ(user_->Save(), 0);
  const Bytes saved = test::ReadFile(path_);
  CKTLVARRAY* note = database::CreateEntry(user_->GetEntriesRoot(), ENTRY_NOTE);
  user_->GetEntriesRoot().AddChild(note);
  note->SetStringByTag(TAG_TEXT, std::u16string(40000, u'x').c_str());  // past 65,535 bytes
  EXPECT_EQ(user_->Save(), 1);
  EXPECT_EQ(disk_.questions, 1);
  EXPECT_NE(disk_.last_message.find(test::U16(new_path_)), std::u16string::npos);
  EXPECT_EQ(test::ReadFile(path_), saved);
  EXPECT_TRUE(user_->IsOpen());
}

TEST_F(SaveTest, SecondSaveMeanwhileIsRefusedNotInterleaved) {
  ASSERT_EQ(user_->Save(), 0);
  const Bytes saved = test::ReadFile(path_);
  {
    // Another process saving this user holds its ".new" file.
    CKFile other;
    ASSERT_TRUE(other.Open(test::U16(new_path_), CKFile::modeWrite | CKFile::modeCreate));
    other.Write("other", 5);
    EXPECT_EQ(user_->Save(), 1);
    EXPECT_EQ(test::ReadFile(path_), saved);
    EXPECT_EQ(test::ReadFile(new_path_), (Bytes{'o', 't', 'h', 'e', 'r'}));
  }
  EXPECT_EQ(user_->Save(), 0);

  // A save from within the retry question, as a timer might start while it is up.
  std::filesystem::create_directory(new_path_);  // no ".new" file can be made
  int inner_result = -1;
  disk_.answer = [&] {
    std::filesystem::remove(new_path_);  // the inner save would go through, were it allowed
    inner_result = user_->Save();
    return false;
  };
  EXPECT_EQ(user_->Save(), 1);
  EXPECT_EQ(inner_result, 1);
}

}  // namespace
