// Entry paths as the command line writes them, JSON strings, and the main window's order.
#include <gtest/gtest.h>

#include "cli/entry_path.h"
#include "cli/json_writer.h"
#include "cli/tree_lookup.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "library_user.h"

namespace {

using cli::EntryPath;
using cli::ParseEntryPath;

class StringSink final : public cli::ByteSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

std::string Json(std::u16string_view text) {
  StringSink sink;
  cli::WriteJsonString(text, sink);
  return sink.text;
}

std::vector<std::u16string> Names(std::u16string_view path) {
  const EntryPath parsed = ParseEntryPath(path);
  EXPECT_TRUE(parsed.valid) << parsed.error;
  return parsed.names;
}

TEST(EntryPathTest, RootFormsAndSeparators) {
  EXPECT_TRUE(Names(u"").empty());
  EXPECT_TRUE(Names(u"/").empty());
  EXPECT_EQ(Names(u"Banking/Online banking"),
            (std::vector<std::u16string>{u"Banking", u"Online banking"}));
  // One leading and one trailing separator, as ls shows folders.
  EXPECT_EQ(Names(u"/Banking/"), std::vector<std::u16string>{u"Banking"});
}

TEST(EntryPathTest, EscapesStandForSeparatorAndBackslashInsideNames) {
  EXPECT_EQ(Names(u"a\\/b/c\\\\d"), (std::vector<std::u16string>{u"a/b", u"c\\d"}));
  // An escaped backslash before a trailing separator, and an escaped trailing separator.
  EXPECT_EQ(Names(u"x\\\\/"), std::vector<std::u16string>{u"x\\"});
  EXPECT_EQ(Names(u"x\\/"), std::vector<std::u16string>{u"x/"});
  for (const std::u16string name : {u"a/b", u"\\", u"/lead", u"trail/", u"\\/"}) {
    EXPECT_EQ(Names(cli::EscapeName(name)), std::vector<std::u16string>{name});
  }
}

TEST(EntryPathTest, RefusesEmptyNamesAndStrayBackslashes) {
  for (const std::u16string_view bad : {u"//", u"a//b", u"a///", u"a\\b", u"a\\", u"\\n"}) {
    const EntryPath parsed = ParseEntryPath(bad);
    EXPECT_FALSE(parsed.valid) << std::string(bad.begin(), bad.end());
    EXPECT_FALSE(parsed.error.empty());
  }
}

TEST(JsonStringTest, EscapesWhatJsonNeedsAndKeepsTheRestAsUtf8) {
  EXPECT_EQ(Json(u"plain"), "\"plain\"");
  EXPECT_EQ(Json(u"q\"b\\s/"), "\"q\\\"b\\\\s/\"");
  EXPECT_EQ(Json(u"\b\f\n\r\t\x01\x1f\x7f"), "\"\\b\\f\\n\\r\\t\\u0001\\u001f\x7f\"");
  EXPECT_EQ(Json(std::u16string(1, u'\0')), "\"\\u0000\"");
  EXPECT_EQ(Json(u"\u00e9\u65e5"), "\"\xc3\xa9\xe6\x97\xa5\"");
  // A surrogate pair is its character; a lone surrogate, which UTF-8 cannot carry, its escape.
  EXPECT_EQ(Json(u"\U0001F600"), "\"\xf0\x9f\x98\x80\"");
  EXPECT_EQ(Json(u"a\xd800"
                 u"b"),
            "\"a\\ud800b\"");
  EXPECT_EQ(Json(u"\xdc00\xd83d"), "\"\\udc00\\ud83d\"");
  // Longer than the writer's piece buffer.
  const std::u16string long_text(1000, u'\u00e9');
  EXPECT_EQ(Json(long_text).size(), 2 + 2 * long_text.size());
}

TEST(JsonWriterTest, NestsObjectsAndArraysWithIndent) {
  StringSink sink;
  cli::JsonWriter json(sink);
  json.BeginObject();
  json.Key("a");
  json.Number(-1);
  json.Key("empty");
  json.BeginArray();
  json.EndArray();
  json.Key("list");
  json.BeginArray();
  json.String(u"x");
  json.BeginRawString();
  json.RawPiece("YW");
  json.RawPiece("Jj");
  json.EndRawString();
  json.EndArray();
  json.EndObject();
  json.Finish();
  EXPECT_EQ(sink.text,
            "{\n  \"a\": -1,\n  \"empty\": [],\n  \"list\": [\n    \"x\",\n    \"YWJj\"\n  ]\n}\n");
}

TEST(TreeLookupTest, MainWindowOrderAndNameMatching) {
  test::LibraryUser user("/nonexistent/u.VaultQuill", u"pw");
  CKTLVARRAY& root = user.root();
  user.AddNote(root, u"beta");
  user.AddFolder(root, u"b");
  CKTLVARRAY& upper_note = user.AddNote(root, u"Alpha");
  user.AddNote(root, u"a/b");
  user.AddFolder(root, u"A");
  std::vector<std::u16string> order;
  for (CKTLVARRAY* entry : cli::ListEntries(root)) {
    order.push_back(database::GetName(*entry));
  }
  // Folders first; capitals before small letters, as UTF-16 code units compare.
  EXPECT_EQ(order, (std::vector<std::u16string>{u"A", u"b", u"Alpha", u"a/b", u"beta"}));

  // An exact match wins over an earlier one that matches only ignoring case.
  CKTLVARRAY& lower_note = user.AddNote(root, u"alpha");
  EXPECT_EQ(cli::FindChildEntry(root, u"alpha"), &lower_note);
  EXPECT_EQ(cli::FindChildEntry(root, u"ALPHA"), &upper_note);
  EXPECT_EQ(cli::PathOf(*cli::FindChildEntry(root, u"a/b")), u"a\\/b");
}

}  // namespace
