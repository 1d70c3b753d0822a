// Reading and changing the tree: ls, search and show as the main window shows things; mv, rm
// and detach through the entry operations and the save protocol.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "elements/tags.h"
#include "library_user.h"

namespace {

using test::CliRunner;

class CliTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LibraryUser user(cli_.UserFile("alice"), u"pw");
    CKTLVARRAY& root = user.root();
    CKTLVARRAY& banking = user.AddFolder(root, u"Banking");
    user.AddFolder(root, u"archive");
    CKTLVARRAY& online = user.AddNote(banking, u"Online", u"s3cret");
    online.SetStringByTag(TAG_LOGIN, u"me@bank.example");
    online.SetStringByTag(TAG_TEXT, u"first line\nsecond line");
    online.SetDwordByTag(TAG_CREATED, 86400);
    online.SetDwordByTag(TAG_MODIFIED, 86400 + 3661);
    user.AddAttachment(online, u"codes.txt", std::string(1500, 'x'));
    user.AddNote(root, u"zeta");
    user.AddNote(root, u"Mail \\ news/feeds");
    CKTLVARRAY& scans = user.AddNote(root, u"Alpha");
    user.AddAttachment(scans, u"BANK-statement.pdf", "%PDF");
    user.Save();
  }

  std::string Out(const std::vector<std::string>& args) const {
    const test::CliResult result = cli_.Run(args, "pw\n");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    return result.out;
  }

  CliRunner cli_;
};

TEST_F(CliTreeTest, LsSearchAndShowFollowTheMainWindow) {
  EXPECT_EQ(Out({"ls", "alice"}), "Banking/\narchive/\nAlpha\nMail \\\\ news\\/feeds\nzeta\n");
  EXPECT_EQ(Out({"ls", "alice", "banking/"}), "Online\n");
  // In the login and in an attachment's file name, ignoring case; sorted by note name.
  EXPECT_EQ(Out({"search", "alice", "BANK"}), "Alpha\nBanking/Online\n");
  EXPECT_EQ(Out({"search", "alice", "\\"}), "Mail \\\\ news\\/feeds\n");
  EXPECT_EQ(Out({"search", "alice", "nothing like it"}), "");

  EXPECT_EQ(Out({"show", "alice", "Banking/Online"}),
            "Title:       Online\n"
            "Login:       me@bank.example\n"
            "Password:    ********\n"
            "E-mail:      \n"
            "Web address: \n"
            "Description: first line\n"
            "             second line\n"
            "Created:     1970-01-02 00:00:00\n"
            "Modified:    1970-01-02 01:01:01\n"
            "Attachments:\n"
            "  codes.txt (1.464 Kb)\n");
  EXPECT_NE(
      Out({"show", "alice", "Banking/Online", "--show-password"}).find("Password:    s3cret\n"),
      std::string::npos);
}

TEST_F(CliTreeTest, MvRmAndDetachChangeTheFileThroughTheSaveProtocol) {
  EXPECT_EQ(Out({"mv", "alice", "zeta", "Banking"}), "");
  EXPECT_EQ(Out({"mv", "alice", "Banking", "archive"}), "");
  EXPECT_EQ(cli_.Run({"mv", "alice", "archive", "archive/Banking"}, "pw\n").exit_code, 5);
  EXPECT_EQ(cli_.Run({"mv", "alice", "archive/Banking/zeta", "archive/Banking"}, "pw\n").exit_code,
            5);
  EXPECT_EQ(Out({"ls", "alice", "archive/Banking"}), "Online\nzeta\n");

  EXPECT_EQ(Out({"detach", "alice", "archive/Banking/Online", "CODES.TXT"}), "");
  EXPECT_EQ(Out({"show", "alice", "archive/Banking/Online"}).find("Attachments:"),
            std::string::npos);
  EXPECT_EQ(cli_.Run({"rm", "alice", "archive"}, "pw\n").exit_code, 5);  // not empty
  EXPECT_EQ(Out({"rm", "alice", "archive", "--recursive"}), "");
  EXPECT_EQ(Out({"rm", "alice", "alpha"}), "");
  EXPECT_EQ(Out({"ls", "alice"}), "Mail \\\\ news\\/feeds\n");

  EXPECT_TRUE(std::filesystem::exists(cli_.data() / "alice.VaultQuill.backup"));
  EXPECT_FALSE(std::filesystem::exists(cli_.data() / "alice.VaultQuill.new"));
}

}  // namespace
