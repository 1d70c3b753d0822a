#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "database/database.h"
#include "faulty_system_calls.h"
#include "platform/messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

// A save that fails at any step, or runs out of disk space anywhere, loses nothing: whether
// the user then tries again or not, the user file (or its backup) opens with the password and
// holds the state from before the save or the one after it.

namespace {

using test::Bytes;
using Call = test::FaultySystemCalls::Call;

// The person at the screen: reads the messages, and when asked to try again either gives up or
// first puts right what went wrong (frees the disk) and says Yes.
class Person final : public platform::MessageSink {
 public:
  explicit Person(test::FaultySystemCalls& faults)
      : faults_(faults), previous_(platform::InstallMessages(this)) {}
  ~Person() override { platform::InstallMessages(previous_); }
  Person(const Person&) = delete;
  Person& operator=(const Person&) = delete;

  void ShowMessage(const std::u16string&, platform::MessageIcon) override { ++messages; }
  bool Ask(const std::u16string&) override {
    ++questions;
    if (retry) {
      faults_.Disarm();
    }
    return retry;
  }

  bool retry = false;
  int messages = 0;
  int questions = 0;

 private:
  test::FaultySystemCalls& faults_;
  platform::MessageSink* previous_;
};

class SaveFaultTest : public ::testing::Test {
 protected:
  struct Case {
    std::filesystem::path folder;
    std::unique_ptr<CKDatabase> user;
    Bytes before;
    Bytes after;
  };

  // A copy of a user saved twice in state "before" (so that a backup exists), opened and
  // changed in memory.
  Case Prepare(const std::string& name) {
    if (!std::filesystem::exists(dir_ / "template")) {
      std::filesystem::create_directory(dir_ / "template");
      auto user = test::NewUser(dir_ / "template" / "Kim.VaultQuill");
      test::AddSampleEntries(*user, u"before");
      EXPECT_EQ(user->Save(), 0);
      EXPECT_EQ(user->Save(), 0);
    }
    Case c;
    c.folder = dir_ / name;
    std::filesystem::copy(dir_ / "template", c.folder);
    c.user = std::make_unique<CKDatabase>();
    c.user->SetPath(test::U16(c.folder / "Kim.VaultQuill"));
    EXPECT_EQ(c.user->Load(test::kPassword), 0);
    c.before = test::TreeBytes(*c.user);
    test::AddSampleEntries(*c.user, u"after");
    c.after = test::TreeBytes(*c.user);
    return c;
  }

  // Runs the save with the fault armed and one answer to the retry question, then checks
  // what the folder yields.
  void SaveAndCheck(Case& c, bool retry, const std::function<void()>& arm) {
    person_.retry = retry;
    person_.messages = 0;
    person_.questions = 0;
    arm();
    const int result = c.user->Save();
    faults_.Disarm();

    // A failure is told and asked about once; tried again, the save goes through.
    if (result == 0) {
      EXPECT_LE(person_.questions, retry ? 1 : 0);
    } else {
      EXPECT_EQ(result, 1);
      EXPECT_FALSE(retry);
      EXPECT_EQ(person_.questions, 1);
      EXPECT_GE(person_.messages, 1);
    }
    // The database goes on in memory as it was.
    EXPECT_TRUE(c.user->IsOpen());
    EXPECT_EQ(test::TreeBytes(*c.user), c.after);

    const std::filesystem::path user_file = c.folder / "Kim.VaultQuill";
    // The next listing of the folder completes a save cut off between its two moves.
    CompleteInterruptedSave(test::U16(user_file));
    const test::Opened opened = test::OpenUserFile(user_file);
    ASSERT_EQ(opened.result, 0);
    EXPECT_TRUE(opened.trees == c.before || opened.trees == c.after);
    if (result == 0) {
      EXPECT_EQ(opened.trees, c.after);
      EXPECT_FALSE(std::filesystem::exists(c.folder / "Kim.VaultQuill.new"));
    }
    const std::filesystem::path backup = c.folder / "Kim.VaultQuill.backup";
    if (std::filesystem::exists(backup)) {
      const test::Opened backed_up = test::OpenUserFile(backup);
      ASSERT_EQ(backed_up.result, 0);
      EXPECT_TRUE(backed_up.trees == c.before || backed_up.trees == c.after);
    }
  }

  test::TempDir dir_;
  test::FaultySystemCalls faults_;
  Person person_{faults_};
};

TEST_F(SaveFaultTest, FailureOfEveryCallAlongTheSave) {
  // First a clean save, to count the calls of each kind that a save makes.
  Case counting = Prepare("counting");
  faults_.Disarm();
  ASSERT_EQ(counting.user->Save(), 0);
  std::map<Call, int> counts;
  for (const Call call : {Call::kWrite, Call::kFsync, Call::kClose, Call::kUnlink, Call::kRename}) {
    counts[call] = faults_.Count(call);
    EXPECT_GT(counts[call], 0);
  }
  int runs = 0;
  for (const auto& [call, count] : counts) {
    for (int n = 1; n <= count; ++n) {
      for (const bool retry : {false, true}) {
        SCOPED_TRACE(testing::Message() << "call kind " << static_cast<int>(call) << ", n = " << n
                                        << (retry ? ", tried again" : ", not tried again"));
        Case c = Prepare("run" + std::to_string(runs++));
        SaveAndCheck(c, retry, [&, call = call, n] { faults_.FailNth(call, n); });
      }
    }
  }
}

TEST_F(SaveFaultTest, DiskFullAnywhereAlongTheSave) {
  Case counting = Prepare("counting");
  faults_.Disarm();
  ASSERT_EQ(counting.user->Save(), 0);
  const std::size_t total = faults_.BytesWritten();
  ASSERT_GT(total, 100u);
  int runs = 0;
  for (std::size_t space = 0; space < total; space += space < 80 ? 1 : 13) {
    for (const bool retry : {false, true}) {
      SCOPED_TRACE(testing::Message() << space << " bytes free" << (retry ? ", tried again" : ""));
      Case c = Prepare("run" + std::to_string(runs++));
      SaveAndCheck(c, retry, [&] { faults_.DiskSpace(space); });
    }
  }
}

}  // namespace
