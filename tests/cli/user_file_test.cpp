// The user file itself: a new password with a new salt, new notes filled as the main window
// fills them, and a damaged file looked into with dump.
#include "crypto/user_file.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <fstream>

#include "cli_runner.h"
#include "library_user.h"

namespace {

using test::CliRunner;

QJsonObject ParseObject(const std::string& text) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

std::string Salt(const std::filesystem::path& user_file) {
  return test::ReadFile(user_file).substr(userfile::kSaltOffset, userfile::kSaltSize);
}

TEST(CliUserFileTest, PasswdGivesANewSaltAndOnlyTheNewPasswordOpens) {
  const CliRunner cli;
  test::LibraryUser user(cli.UserFile("alice"), u"old");
  user.AddNote(user.root(), u"kept");
  user.Save();
  const std::string salt = Salt(cli.UserFile("alice"));

  EXPECT_EQ(cli.Run({"passwd", "alice"}, "old\nnew\nNEW\n").exit_code, 5);  // differ
  EXPECT_EQ(cli.Run({"passwd", "alice"},
                    "old\n" + std::string(97, 'x') + "\n" + std::string(97, 'x') + "\n")
                .exit_code,
            5);  // longer than the desktop's editor takes
  EXPECT_EQ(Salt(cli.UserFile("alice")), salt);
  EXPECT_EQ(cli.Run({"passwd", "alice"}, "wrong\nnew\nnew\n").exit_code, 4);

  ASSERT_EQ(cli.Run({"passwd", "alice", "--memo", "new hint"}, "old\nnew\nnew\n").exit_code, 0);
  EXPECT_NE(Salt(cli.UserFile("alice")), salt);
  EXPECT_EQ(cli.Run({"check", "alice"}, "old\n").exit_code, 4);
  EXPECT_EQ(cli.Run({"ls", "alice"}, "new\n").out, "kept\n");
  EXPECT_EQ(cli.Run({"memo", "alice"}).out, "new hint\n");
}

TEST(CliUserFileTest, NewNotesAreFilledAsTheUsersSettingSays) {
  const CliRunner cli;
  test::LibraryUser filled(cli.UserFile("filled"), u"pw");
  filled.database().SetNumberSetting(u"boolAutoFillNewNotesWithDefaults", 1);
  filled.database().SetTextSetting(u"stringDefaultLogin", u"me@home");
  filled.database().SetTextSetting(u"stringDefaultEmail", u"me@mail");
  filled.database().SetNumberSetting(u"boolIsLetersEnabledBig", 0);
  filled.database().SetNumberSetting(u"boolIsLetersEnabledSmall", 0);
  filled.database().SetNumberSetting(u"intPasswordLength", 20);
  filled.Save();
  test::LibraryUser plain(cli.UserFile("plain"), u"pw");
  plain.database().SetNumberSetting(u"boolAutoFillNewNotesWithDefaults", 0);
  plain.database().SetNumberSetting(u"intPasswordLength", 9);
  plain.Save();

  // An empty answer keeps the generated password; the options given replace the defaults.
  ASSERT_EQ(cli.Run({"add-note", "filled", "a", "--email", "other@mail"}, "pw\n\n").exit_code, 0);
  ASSERT_EQ(cli.Run({"add-note", "plain", "a"}, "pw\n\n").exit_code, 0);
  ASSERT_EQ(cli.Run({"add-note", "plain", "b", "--generate"}, "pw\n").exit_code, 0);

  const auto notes = [&cli](const char* user) {
    return ParseObject(cli.Run({"export", user}, "pw\n").out)["entries"].toArray();
  };
  const QJsonArray filled_notes = notes("filled");
  const QJsonArray plain_notes = notes("plain");
  ASSERT_TRUE(filled_notes.size() == 1 && plain_notes.size() == 2);
  const QJsonObject filled_note = filled_notes[0].toObject();
  EXPECT_EQ(filled_note["login"].toString(), "me@home");
  EXPECT_EQ(filled_note["email"].toString(), "other@mail");
  EXPECT_TRUE(
      QRegularExpression("^[0-9]{20}$").match(filled_note["password"].toString()).hasMatch())
      << filled_note["password"].toString().toStdString();
  EXPECT_EQ(plain_notes[0].toObject()["login"].toString(), "");
  EXPECT_EQ(plain_notes[0].toObject()["password"].toString(), "");
  EXPECT_EQ(plain_notes[1].toObject()["password"].toString().size(), 9);
}

TEST(CliUserFileTest, DumpShowsWhatADamagedFileStillHolds) {
  const CliRunner cli;
  test::LibraryUser user(cli.UserFile("alice"), u"pw");
  user.AddFolder(user.root(), u"Survivor");
  CKTLVARRAY& note = user.AddNote(user.root(), u"Lost");
  user.AddAttachment(note, u"big.bin", std::string(4000, 'z'));
  user.Save();
  // Cut the enciphered stream short inside the note's attachment.
  std::filesystem::resize_file(cli.UserFile("alice"),
                               std::filesystem::file_size(cli.UserFile("alice")) - 2048);

  EXPECT_EQ(cli.Run({"check", "alice"}, "pw\n").exit_code, 2);
  const test::CliResult dumped = cli.Run({"dump", "alice"}, "pw\n");
  EXPECT_EQ(dumped.exit_code, 2);
  const QJsonObject dump = ParseObject(dumped.out);
  EXPECT_EQ(dump["result"].toInt(), 2);
  EXPECT_EQ(dump["iterations"].toInt(), 1);
  const QJsonArray trees = dump["trees"].toArray();
  ASSERT_EQ(trees.size(), 2);
  const QJsonObject entries = trees[0].toObject();
  EXPECT_EQ(entries["tag"].toInt(), 0x8000);
  ASSERT_FALSE(entries["children"].toArray().isEmpty());
  const QJsonObject survivor = entries["children"].toArray()[0].toObject();
  ASSERT_FALSE(survivor["children"].toArray().isEmpty());
  EXPECT_EQ(survivor["tag"].toInt(), 0x8020);
  EXPECT_EQ(survivor["children"].toArray()[0].toObject()["text"].toString(), "Survivor");

  // A damaged header keeps the file out of the users list, but it can still be checked and
  // dumped.
  std::string bytes = test::ReadFile(cli.UserFile("alice"));
  bytes[0] = 'X';
  std::ofstream(cli.UserFile("alice"), std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_EQ(cli.Run({"users"}).out, "");
  const test::CliResult checked = cli.Run({"check", "alice"});
  EXPECT_EQ(checked.exit_code, 1);
  EXPECT_NE(checked.out.find("not a VaultQuill user file"), std::string::npos);
  const test::CliResult header = cli.Run({"dump", "alice"});
  EXPECT_EQ(header.exit_code, 1);
  EXPECT_EQ(ParseObject(header.out)["result"].toInt(), 1);
  EXPECT_FALSE(ParseObject(header.out).contains("iterations"));
}

TEST(CliUserFileTest, GenerateUsesTheSetsNamed) {
  const CliRunner cli;
  const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
      {{"generate"}, "^[A-Za-z0-9]{14}\n$"},
      {{"generate", "--length", "40", "--digits"}, "^[0-9]{40}\n$"},
      {{"generate", "--length=255", "--custom", "xy"}, "^[xy]{255}\n$"},
  };
  for (const auto& [args, pattern] : cases) {
    const test::CliResult result = cli.RunBare(args);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_TRUE(QRegularExpression(pattern).match(QString::fromStdString(result.out)).hasMatch())
        << result.out;
  }
  EXPECT_EQ(cli.RunBare({"generate", "--custom", "x"}).exit_code, 5);
}

}  // namespace
