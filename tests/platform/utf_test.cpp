#include "platform/utf.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf, RoundTripsEveryPlane) {
  const std::u16string text = u"Ab\u00e9\u20ac\U0001F511z";
  EXPECT_EQ(platform::ToUtf8(text), "Ab\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\x91z");
  EXPECT_EQ(platform::FromUtf8(platform::ToUtf8(text)), text);
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string lone_high = {u'a', 0xD800, u'b'};
  const std::u16string lone_low = {0xDC00};
  EXPECT_EQ(platform::ToUtf8(lone_high),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(platform::ToUtf8(lone_low), "\xEF\xBF\xBD");
}

TEST(Utf, InvalidUtf8BecomesOneReplacementPerBadSequence) {
  // Overlong "/", a cut two-byte sequence, a stray continuation byte, an encoded surrogate.
  EXPECT_EQ(platform::FromUtf8("\xC0\xAF"), u"\uFFFD");
  EXPECT_EQ(platform::FromUtf8("x\xC3"), u"x\uFFFD");
  EXPECT_EQ(platform::FromUtf8("\x80y"), u"\uFFFDy");
  EXPECT_EQ(platform::FromUtf8("\xED\xA0\x80"), u"\uFFFD");
  EXPECT_EQ(platform::FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD");
}

}  // namespace
