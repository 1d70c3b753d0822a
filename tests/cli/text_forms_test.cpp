// Entry paths as the command line writes them, JSON strings, and the main window's order.
#include <gtest/gtest.h>

#include <optional>

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

TEST(EntryPathTest, SeparatorsEscapesAndRefusals) {
  using Names = std::vector<std::u16string>;
  const std::vector<std::pair<std::u16string_view, std::optional<Names>>> cases = {
      {u"", Names{}},
      {u"/", Names{}},
      {u"Banking/Online banking", Names{u"Banking", u"Online banking"}},
      {u"/Banking/", Names{u"Banking"}},  // one leading and one trailing separator, as ls shows
      {u"a\\/b/c\\\\d", Names{u"a/b", u"c\\d"}},
      {u"x\\\\/", Names{u"x\\"}},  // an escaped backslash before a trailing separator
      {u"x\\/", Names{u"x/"}},     // an escaped trailing separator
      {u"//", std::nullopt},
      {u"a//b", std::nullopt},
      {u"a///", std::nullopt},
      {u"a\\b", std::nullopt},
      {u"a\\", std::nullopt},
      {u"\\n", std::nullopt},
  };
  for (const auto& [path, names] : cases) {
    const EntryPath parsed = ParseEntryPath(path);
    ASSERT_EQ(parsed.valid, names.has_value()) << std::string(path.begin(), path.end());
    EXPECT_EQ(parsed.error.empty(), parsed.valid);
    if (names) {
      EXPECT_EQ(parsed.names, *names);
    }
  }
  for (const std::u16string name : {u"a/b", u"\\", u"/lead", u"trail/", u"\\/"}) {
    EXPECT_EQ(ParseEntryPath(cli::EscapeName(name)).names, Names{name});
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

// The order of ls and the escaped paths are seen in the tree commands' tests.
TEST(TreeLookupTest, AnExactMatchWinsOverOneIgnoringCase) {
  test::LibraryUser user("/nonexistent/u.VaultQuill", u"pw");
  CKTLVARRAY& upper = user.AddNote(user.root(), u"Alpha");
  CKTLVARRAY& lower = user.AddNote(user.root(), u"alpha");
  EXPECT_EQ(cli::FindChildEntry(user.root(), u"alpha"), &lower);
  EXPECT_EQ(cli::FindChildEntry(user.root(), u"ALPHA"), &upper);
}

}  // namespace
