// What the tool reports to scripts: open results, usage errors, missing things, used names,
// and a save that fails.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

  int Exit(const std::vector<std::string>& args, const std::string& input = "pw\n") const {
    return cli_.Run(args, input).exit_code;
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

  EXPECT_EQ(Exit({"ls", "carol"}), 7);
  EXPECT_EQ(Exit({"ls", "alice", "Nothing"}), 7);
  EXPECT_EQ(Exit({"ls", "alice", "Banking/Online"}), 7);  // a note is no folder
  EXPECT_EQ(Exit({"show", "alice", "Banking/Offline"}), 7);
  EXPECT_EQ(Exit({"extract", "alice", "Banking/Online", "none.txt", "-"}), 7);
  EXPECT_EQ(Exit({"attach", "alice", "Banking/Online", (cli_.root() / "missing").string()}), 7);
}

TEST_F(CliExitCodeTest, UsageErrors) {
  EXPECT_EQ(Exit({"frobnicate"}), 5);
  EXPECT_EQ(Exit({"ls"}), 5);
  EXPECT_EQ(Exit({"ls", "alice", "a", "b"}), 5);
  EXPECT_EQ(Exit({"ls", "alice", "--bogus"}), 5);
  EXPECT_EQ(Exit({"ls", "alice", "Banking//Online"}), 5);
  EXPECT_EQ(Exit({"export", "alice", "--format", "xml"}), 5);
  EXPECT_EQ(Exit({"rm", "alice", ""}), 5);
  EXPECT_EQ(Exit({"generate", "--length", "256"}), 5);
  EXPECT_EQ(Exit({"ls", "alice"}, ""), 5);  // standard input holds no password
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

TEST_F(CliExitCodeTest, NamesAreUniqueIgnoringCase) {
  EXPECT_EQ(Exit({"add-note", "alice", "banking/ONLINE", "--generate"}), 8);
  EXPECT_EQ(Exit({"add-folder", "alice", "BANKING"}), 8);
  EXPECT_EQ(Exit({"add-note", "alice", "other", "--generate"}), 8);  // a folder has the name
  EXPECT_EQ(Exit({"mv", "alice", "Other/online", "Banking"}), 8);
  EXPECT_EQ(Exit({"new-user", "Alice"}, "x\nx\n"), 8);
  const auto file = cli_.root() / "CODES.TXT";
  std::ofstream(file) << "again";
  EXPECT_EQ(Exit({"attach", "alice", "Banking/Online", file.string()}), 8);
}

TEST_F(CliExitCodeTest, FailedSaveIsNotRetriedAndLeavesTheFile) {
  const auto user_file = cli_.UserFile("alice");
  std::ifstream before_in(user_file, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(before_in)),
                           std::istreambuf_iterator<char>());
  // A folder where the save's ".new" file goes cannot be replaced by it.
  std::filesystem::create_directories(cli_.data() / "alice.VaultQuill.new" / "in-the-way");
  const test::CliResult failed = cli_.Run({"add-folder", "alice", "New"}, "pw\n");
  EXPECT_EQ(failed.exit_code, 6);
  EXPECT_NE(failed.err.find("[answered No]"), std::string::npos);
  std::ifstream after_in(user_file, std::ios::binary);
  EXPECT_EQ(
      std::string((std::istreambuf_iterator<char>(after_in)), std::istreambuf_iterator<char>()),
      before);
}

}  // namespace
