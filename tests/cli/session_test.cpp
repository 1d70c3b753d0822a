// A user's life on the command line, from new-user to export and extract, checked against the
// library that the desktop program uses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <iterator>

#include "cli_runner.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "library_user.h"

namespace {

using test::CliRunner;

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

QJsonObject ParseObject(const std::string& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  return document.object();
}

std::u16string Field(CKTLVARRAY& entry, std::uint32_t tag) {
  std::u16string value;
  entry.GetStringByTag(tag, value);
  return value;
}

TEST(CliSessionTest, NewUserEntriesAndAttachmentRoundTripThroughExportExtractAndLibrary) {
  const CliRunner cli;
  std::string content;
  for (int i = 0; i < 3000; ++i) {
    content += static_cast<char>(i % 256);
  }
  const auto source = cli.root() / "scan.bin";
  WriteBytes(source, content);

  ASSERT_EQ(cli.Run({"new-user", "alice", "--memo", "hint \xc3\xa9"}, "pw\npw\n").exit_code, 0);
  EXPECT_EQ(cli.Run({"users"}).out, "alice\n");
  EXPECT_EQ(cli.Run({"memo", "alice"}).out, "hint \xc3\xa9\n");
  ASSERT_EQ(cli.Run({"add-folder", "alice", "Banking", "--text", "Accounts"}, "pw\n").exit_code, 0);
  ASSERT_EQ(cli.Run({"add-folder", "alice", "Banking/Cards"}, "pw\n").exit_code, 0);
  ASSERT_EQ(cli.Run({"add-note", "alice", "banking/Online", "--login", "me", "--email", "m@x",
                     "--url", "https://bank.example", "--text", "line 1\nline 2"},
                    "pw\nn0te pass\n")
                .exit_code,
            0);
  ASSERT_EQ(cli.Run({"attach", "alice", "Banking/Online", source.string()}, "pw\n").exit_code, 0);

  const test::CliResult exported = cli.Run({"export", "alice", "--format", "json"}, "pw\n");
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  const QJsonObject user = ParseObject(exported.out);
  EXPECT_EQ(user["user"].toString(), "alice");
  EXPECT_EQ(user["memo"].toString(), QString::fromUtf8("hint \xc3\xa9"));
  const QJsonObject banking = user["entries"].toArray()[0].toObject();
  EXPECT_EQ(banking["folder"].toString(), "Banking");
  EXPECT_EQ(banking["text"].toString(), "Accounts");
  EXPECT_EQ(banking["icon"].toInt(), 10);
  const QJsonArray inside = banking["entries"].toArray();
  ASSERT_EQ(inside.size(), 2);
  EXPECT_EQ(inside[0].toObject()["folder"].toString(), "Cards");
  const QJsonObject note = inside[1].toObject();
  EXPECT_EQ(note["note"].toString(), "Online");
  EXPECT_EQ(note["login"].toString(), "me");
  EXPECT_EQ(note["password"].toString(), "n0te pass");
  EXPECT_EQ(note["url"].toString(), "https://bank.example");
  EXPECT_EQ(note["email"].toString(), "m@x");
  EXPECT_EQ(note["text"].toString(), "line 1\nline 2");
  EXPECT_EQ(note["icon"].toInt(), 0);
  EXPECT_GE(note["modified"].toDouble(), note["created"].toDouble());
  const QJsonObject attachment = note["attachments"].toArray()[0].toObject();
  EXPECT_EQ(attachment["file"].toString(), "scan.bin");
  EXPECT_EQ(attachment["size"].toInt(), 3000);
  EXPECT_EQ(QByteArray::fromBase64(attachment["data"].toString().toLatin1()).toStdString(),
            content);

  const auto extracted = cli.root() / "out.bin";
  ASSERT_EQ(cli.Run({"extract", "alice", "Banking/Online", "SCAN.BIN", extracted.string()}, "pw\n")
                .exit_code,
            0);
  EXPECT_EQ(ReadBytes(extracted), content);
  struct stat info {};
  ASSERT_EQ(stat(extracted.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // An existing file stays unless --force is given.
  WriteBytes(extracted, "mine");
  EXPECT_EQ(cli.Run({"extract", "alice", "Banking/Online", "scan.bin", extracted.string()}, "pw\n")
                .exit_code,
            8);
  EXPECT_EQ(ReadBytes(extracted), "mine");
  EXPECT_EQ(
      cli.Run({"extract", "alice", "Banking/Online", "scan.bin", extracted.string(), "--force"},
              "pw\n")
          .exit_code,
      0);
  EXPECT_EQ(ReadBytes(extracted), content);

  // The desktop's library reads the same tree from the file the tool wrote.
  int result = -1;
  auto database = test::OpenWithLibrary(cli.UserFile("alice"), u"pw", result);
  ASSERT_EQ(result, 0);
  EXPECT_EQ(database->GetKeys().GetIterations(), 16383);
  CKTLVARRAY* folder = database::FindEntryByName(database->GetEntriesRoot(), u"Banking");
  ASSERT_NE(folder, nullptr);
  CKTLVARRAY* library_note = database::FindEntryByName(*folder, u"Online");
  ASSERT_NE(library_note, nullptr);
  EXPECT_EQ(Field(*library_note, TAG_PASSWORD), u"n0te pass");
  EXPECT_EQ(Field(*library_note, TAG_TEXT), u"line 1\nline 2");
  EXPECT_EQ(library_note->GetChildCount(), 12u);  // eleven fields and the attachment
  EXPECT_TRUE(std::filesystem::exists(cli.data() / "alice.VaultQuill.backup"));
}

TEST(CliSessionTest, ExportKeepsStoredTextsExactlyAndExtractStaysInItsFolder) {
  const CliRunner cli;
  test::LibraryUser user(cli.UserFile("bob"), u"pw");
  user.AddNote(user.root(), u"lone \xd800 surrogate", u"p\"w\\");
  CKTLVARRAY& files = user.AddNote(user.root(), u"Files");
  user.AddAttachment(files, u"../escape.txt", "outside");
  user.AddAttachment(files, u"raw.bin", std::string("a\0b", 3));
  user.database().SetNumberSetting(u"intPasswordLength", 20);
  user.Save();

  const test::CliResult exported = cli.Run({"export", "bob"}, "pw\n");
  ASSERT_EQ(exported.exit_code, 0);
  EXPECT_NE(exported.out.find("\"note\": \"lone \\ud800 surrogate\""), std::string::npos);
  EXPECT_NE(exported.out.find("\"password\": \"p\\\"w\\\\\""), std::string::npos);
  EXPECT_NE(exported.out.find("{\n      \"name\": \"intPasswordLength\",\n      \"number\": 20\n"),
            std::string::npos);

  // A stored name that would climb out of the chosen folder is not used.
  const auto inbox = cli.root() / "inbox";
  std::filesystem::create_directories(inbox);
  EXPECT_EQ(cli.Run({"extract", "bob", "Files", "../escape.txt", inbox.string()}, "pw\n").exit_code,
            5);
  EXPECT_FALSE(std::filesystem::exists(cli.root() / "escape.txt"));
  EXPECT_TRUE(std::filesystem::is_empty(inbox));
  const test::CliResult raw = cli.Run({"extract", "bob", "Files", "raw.bin", "-"}, "pw\n");
  EXPECT_EQ(raw.exit_code, 0);
  EXPECT_EQ(raw.out, std::string("a\0b", 3));
}

}  // namespace
