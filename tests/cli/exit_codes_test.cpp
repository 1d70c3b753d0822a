// What the tool reports to scripts: open results, usage errors, missing things, used names,
// and a save that fails.
#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"
#include "library_user.h"

namespace {

using test::CliRunner;

class CliExitCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LibraryUser user(cli_.UserFile("alice"), u"pw");
    CKTLVARRAY& banking = user.AddFolder(user.root(), u"Banking");
    CKTLVARRAY& online = user.AddNote(banking, u"Online");
    user.AddAttachment(online, u"codes.txt", "123");
    CKTLVARRAY& other = user.AddFolder(user.root(), u"Other");
    user.AddNote(other, u"online");
    user.Save();
  }

  CliRunner cli_;
};

TEST_F(CliExitCodeTest, OpenResultsAndMissingThings) {
  const test::CliResult wrong = cli_.Run({"check", "alice"}, "nope\n");
  EXPECT_EQ(wrong.exit_code, 4);
  EXPECT_EQ(wrong.out, "The password of user \"alice\" is not correct.\n");
  const test::CliResult right = cli_.Run({"check", "ALICE"}, "pw\n");
  EXPECT_EQ(right.exit_code, 0);
  EXPECT_NE(right.out.find("is correct"), std::string::npos);
  const test::CliResult denied = cli_.Run({"ls", "alice"}, "nope\n");
  EXPECT_EQ(denied.exit_code, 4);
  EXPECT_TRUE(denied.out.empty());

  std::ofstream(cli_.root() / "CODES.TXT") << "again";
  const struct {
    std::vector<std::string> args;
    int exit_code;
    std::string input = "pw\n";
  } cases[] = {
      {{"ls", "carol"}, 7},
      {{"ls", "alice", "Nothing"}, 7},
      {{"ls", "alice", "Banking/Online"}, 7},  // a note is no folder
      {{"show", "alice", "Banking/Offline"}, 7},
      {{"extract", "alice", "Banking/Online", "none.txt", "-"}, 7},
      {{"attach", "alice", "Banking/Online", (cli_.root() / "missing").string()}, 7},
      // Usage errors.
      {{"frobnicate"}, 5},
      {{"ls"}, 5},
      {{"ls", "alice", "a", "b"}, 5},
      {{"ls", "alice", "--bogus"}, 5},
      {{"ls", "alice", "Banking//Online"}, 5},
      {{"export", "alice", "--format", "xml"}, 5},
      {{"rm", "alice", ""}, 5},
      {{"generate", "--length", "256"}, 5},
      {{"ls", "alice"}, 5, ""},  // standard input holds no password
      // Names are unique in a folder, ignoring case.
      {{"add-note", "alice", "banking/ONLINE", "--generate"}, 8},
      {{"add-folder", "alice", "BANKING"}, 8},
      {{"add-note", "alice", "other", "--generate"}, 8},  // a folder has the name
      {{"mv", "alice", "Other/online", "Banking"}, 8},
      {{"new-user", "Alice"}, 8, "x\nx\n"},
      {{"attach", "alice", "Banking/Online", (cli_.root() / "CODES.TXT").string()}, 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cli_.Run(c.args, c.input).exit_code, c.exit_code) << c.args[0];
  }
}

TEST_F(CliExitCodeTest, TerminalAndHelp) {
  // Without --password-stdin the password is asked on the terminal, and there is none here.
  const test::CliResult no_terminal =
      cli_.RunBare({"--data", cli_.data().string(), "ls", "alice"}, "pw\n");
  EXPECT_EQ(no_terminal.exit_code, 5);
  EXPECT_NE(no_terminal.err.find("--password-stdin"), std::string::npos);
  EXPECT_EQ(cli_.RunBare({}).exit_code, 5);
  EXPECT_EQ(cli_.RunBare({"--help"}).exit_code, 0);
  const test::CliResult help = cli_.RunBare({"add-note", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Example:\n  vaultquill-cli add-note"), std::string::npos);
  EXPECT_EQ(cli_.RunBare({"help", "mv"}).out, cli_.RunBare({"mv", "-h"}).out);
}

TEST_F(CliExitCodeTest, FailedSaveIsNotRetriedAndLeavesTheFile) {
  const std::string before = test::ReadFile(cli_.UserFile("alice"));
  // A folder where the save's ".new" file goes cannot be replaced by it.
  std::filesystem::create_directories(cli_.data() / "alice.VaultQuill.new" / "in-the-way");
  const test::CliResult failed = cli_.Run({"add-folder", "alice", "New"}, "pw\n");
  EXPECT_EQ(failed.exit_code, 6);
  EXPECT_NE(failed.err.find("[answered No]"), std::string::npos);
  EXPECT_EQ(test::ReadFile(cli_.UserFile("alice")), before);
}

}  // namespace
