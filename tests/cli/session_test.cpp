// A user's life on the command line, from new-user to export and extract, checked against the
// library that the desktop program uses.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>

#include "cli_runner.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "library_user.h"

namespace {

using test::CliRunner;

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

  const std::vector<std::pair<std::vector<std::string>, std::string>> steps = {
      {{"new-user", "alice", "--memo", "hint \xc3\xa9"}, "pw\npw\n"},
      {{"add-folder", "alice", "Banking", "--text", "Accounts"}, "pw\n"},
      {{"add-folder", "alice", "Banking/Cards"}, "pw\n"},
      {{"add-note", "alice", "banking/Online", "--login", "me", "--email", "m@x", "--url",
        "https://bank.example", "--text", "line 1\nline 2"},
       "pw\nn0te pass\n"},
      {{"attach", "alice", "Banking/Online", source.string()}, "pw\n"},
  };
  for (const auto& [args, input] : steps) {
    ASSERT_EQ(cli.Run(args, input).exit_code, 0) << args[0];
  }
  EXPECT_EQ(cli.Run({"users"}).out, "alice\n");
  EXPECT_EQ(cli.Run({"memo", "alice"}).out, "hint \xc3\xa9\n");

  const test::CliResult exported = cli.Run({"export", "alice", "--format", "json"}, "pw\n");
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  // Times and the attachment's bytes are checked apart; otherwise every field is known.
  QJsonObject user = ParseObject(exported.out);
  ASSERT_EQ(user["entries"].toArray().size(), 1);
  QJsonObject banking = user.take("entries").toArray()[0].toObject();
  user.remove("settings");
  EXPECT_EQ(user, ParseObject(R"({"user": "alice", "memo": "hint \u00e9"})"));
  const QJsonArray inside = banking.take("entries").toArray();
  EXPECT_EQ(banking, ParseObject(R"({"folder": "Banking", "text": "Accounts", "icon": 10})"));
  ASSERT_EQ(inside.size(), 2);
  EXPECT_EQ(inside[0].toObject()["folder"].toString(), "Cards");
  QJsonObject note = inside[1].toObject();
  const QJsonArray attachments = note.take("attachments").toArray();
  ASSERT_EQ(attachments.size(), 1);
  QJsonObject attachment = attachments[0].toObject();
  const double created = note.take("created").toDouble();
  EXPECT_GE(note.take("modified").toDouble(), created);
  EXPECT_EQ(note, ParseObject(R"({"note": "Online", "login": "me", "password": "n0te pass",
      "url": "https://bank.example", "email": "m@x", "text": "line 1\nline 2", "icon": 0})"));
  const QByteArray data = QByteArray::fromBase64(attachment.take("data").toString().toLatin1());
  EXPECT_EQ(data.toStdString(), content);
  attachment.remove("created");
  attachment.remove("modified");
  EXPECT_EQ(attachment, ParseObject(R"({"file": "scan.bin", "size": 3000})"));

  // Extracted byte for byte, as a secret file; an existing file stays unless --force is given.
  const auto extracted = cli.root() / "out.bin";
  const std::vector<std::string> extract = {"extract", "alice", "Banking/Online", "SCAN.BIN",
                                            extracted.string()};
  ASSERT_EQ(cli.Run(extract, "pw\n").exit_code, 0);
  EXPECT_EQ(test::ReadFile(extracted), content);
  EXPECT_EQ(std::filesystem::status(extracted).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  WriteBytes(extracted, "mine");
  EXPECT_EQ(cli.Run(extract, "pw\n").exit_code, 8);
  EXPECT_EQ(test::ReadFile(extracted), "mine");
  std::vector<std::string> forced = extract;
  forced.push_back("--force");
  EXPECT_EQ(cli.Run(forced, "pw\n").exit_code, 0);
  EXPECT_EQ(test::ReadFile(extracted), content);

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
  user.AddAttachment(files, u"..", "up");
  user.AddAttachment(files, u"raw.bin", std::string("a\0b", 3));
  user.database().SetNumberSetting(u"intPasswordLength", 20);
  user.Save();

  const test::CliResult exported = cli.Run({"export", "bob"}, "pw\n");
  ASSERT_EQ(exported.exit_code, 0);
  EXPECT_NE(exported.out.find("\"note\": \"lone \\ud800 surrogate\""), std::string::npos);
  EXPECT_NE(exported.out.find("{\n      \"name\": \"intPasswordLength\",\n      \"number\": 20\n"),
            std::string::npos);

  // A stored name that would climb out of the chosen folder is not used.
  const auto inbox = cli.root() / "inbox";
  std::filesystem::create_directories(inbox);
  for (const char* name : {"../escape.txt", ".."}) {
    EXPECT_EQ(cli.Run({"extract", "bob", "Files", name, inbox.string()}, "pw\n").exit_code, 5);
  }
  EXPECT_FALSE(std::filesystem::exists(cli.root() / "escape.txt"));
  EXPECT_TRUE(std::filesystem::is_empty(inbox));
  const test::CliResult raw = cli.Run({"extract", "bob", "Files", "raw.bin", "-"}, "pw\n");
  EXPECT_EQ(raw.exit_code, 0);
  EXPECT_EQ(raw.out, std::string("a\0b", 3));
}

}  // namespace
