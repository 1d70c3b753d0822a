#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "database/databases_container.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

// A process that saves a user over and over is killed at random moments; every time, the data
// folder gives back the last state that was saved or the one that was being saved.

namespace {

// State k: a counter, and a text whose length (and so the file's size) follows it.
void SetState(CKDatabase& database, std::uint32_t k) {
  database.SetNumberSetting(u"counter", k);
  database.SetTextSetting(u"text", std::u16string(k % 997, static_cast<char16_t>(u'a' + k % 26)));
}

// The state a database holds, or -1 when its text does not belong to its counter.
std::int64_t StateOf(CKDatabase& database) {
  std::uint32_t k = 0;
  std::u16string text;
  if (!database.GetNumberSetting(u"counter", k, 0) ||
      !database.GetTextSetting(u"text", text, u"")) {
    return -1;
  }
  return text == std::u16string(k % 997, static_cast<char16_t>(u'a' + k % 26)) ? k : -1;
}

// Runs in the child: saves states k + 1, k + 2, ... for ever, telling the parent before each
// save (k) and after it (-k).
[[noreturn]] void SaveForever(const std::filesystem::path& path, int report) {
  CKDatabase database;
  database.SetPath(test::U16(path));
  if (database.Load(test::kPassword) != 0) {
    _exit(3);
  }
  for (std::int32_t k = static_cast<std::int32_t>(StateOf(database)) + 1;; ++k) {
    SetState(database, static_cast<std::uint32_t>(k));
    const std::int32_t saved = -k;
    if (write(report, &k, sizeof k) != sizeof k || database.Save() != 0 ||
        write(report, &saved, sizeof saved) != sizeof saved) {
      _exit(4);
    }
  }
}

TEST(KillTest, DataFolderAlwaysYieldsTheLastOrTheNextState) {
  test::TempDir dir;
  const std::filesystem::path path = dir / "Pat.VaultQuill";
  {
    auto user = test::NewUser(path);
    SetState(*user, 0);
    ASSERT_EQ(user->Save(), 0);
  }
  test::FakeHost host(dir.path());
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  std::mt19937 random(seed);
  std::int64_t previous = 0;

  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(report[0]);
      SaveForever(path, report[1]);
    }
    close(report[1]);
    std::int32_t message = 0;
    ASSERT_EQ(read(report[0], &message, sizeof message), static_cast<ssize_t>(sizeof message));
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself: " << status;
    for (std::int32_t next = 0; read(report[0], &next, sizeof next) == sizeof next;) {
      message = next;
    }
    close(report[0]);
    // Last word "saving k": k - 1 or k; "saved k": k.
    const std::int64_t newest = message > 0 ? message : -message;
    const std::int64_t oldest = message > 0 ? message - 1 : -message;
    ASSERT_GE(oldest, previous);

    CKDatabasesContainer users;
    users.SetHost(&host);
    ASSERT_EQ(users.Scan(), 1u);
    CKDatabase* user = users.FindUser(u"Pat");
    ASSERT_EQ(user->Load(test::kPassword), 0);
    previous = StateOf(*user);
    ASSERT_TRUE(previous == oldest || previous == newest)
        << "state " << previous << ", expected " << oldest << " or " << newest;
    if (std::filesystem::exists(dir / "Pat.VaultQuill.backup")) {
      CKDatabase backup;
      backup.SetPath(test::U16(dir / "Pat.VaultQuill.backup"));
      ASSERT_EQ(backup.Load(test::kPassword), 0);
      ASSERT_GE(StateOf(backup), 0);
    }
  }
}

}  // namespace
