#include "platform/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using platform::Format;
using platform::FormatFields;

TEST(FormatText, FillsStringsAndNumbersInOrder) {
  EXPECT_EQ(Format(u"Delete the %s \"%s\"?", u"note", u"Bank"), u"Delete the note \"Bank\"?");
  EXPECT_EQ(Format(u"at least %d MB", 64), u"at least 64 MB");
  EXPECT_EQ(Format(u"%d%d", std::numeric_limits<std::int64_t>::min(), -7),
            u"-9223372036854775808-7");
  EXPECT_EQ(Format(u"no fields", u"unused", 5), u"no fields");
}

TEST(FormatText, HostileTextsNeverReachPastTheValues) {
  // More fields than values: the rest stays as written.
  EXPECT_EQ(Format(u"%s %s %d %s", u"a"), u"a %s %d %s");
  EXPECT_EQ(Format(u"%s and %d"), u"%s and %d");
  // A field of the other kind shows the value as itself.
  EXPECT_EQ(Format(u"[%d]", u"text"), u"[text]");
  EXPECT_EQ(Format(u"[%s]", 42), u"[42]");
  // Other conversions, widths and a lone percent sign are plain text.
  EXPECT_EQ(Format(u"%n%x%5s%-d%ls %", u"v"), u"%n%x%5s%-d%ls %");
  EXPECT_EQ(Format(u"100%%s done: %s", u"v"), u"100%s done: v");
  EXPECT_EQ(Format(u"%", u"v"), u"%");
  EXPECT_EQ(Format(u"", u"v"), u"");
  // Values are never formatted themselves.
  EXPECT_EQ(Format(u"%s/%s", u"%s%d%%", u"b"), u"%s%d%%/b");
}

TEST(FormatText, FieldsAreListedAsTheFormatterSeesThem) {
  EXPECT_EQ(FormatFields(u"%s of %d%%"), "sd");
  EXPECT_EQ(FormatFields(u"%%s %x %5d %"), "");
  EXPECT_EQ(FormatFields(u"Cannot use \"%s\": %s"), "ss");
}

}  // namespace
