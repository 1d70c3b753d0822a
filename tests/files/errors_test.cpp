#include "files/errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <limits>

#include "files/file_time.h"
#include "platform/texts.h"
#include "platform/utf.h"
#include "support/recording_messages.h"

namespace {

// The file-error text of a language.
class OneText final : public platform::TextSource {
 public:
  explicit OneText(std::u16string text)
      : text_(std::move(text)), previous_(platform::InstallTexts(this)) {}
  ~OneText() override { platform::InstallTexts(previous_); }
  std::optional<std::u16string> FindText(int group, int entry) const override {
    return group == 0 && entry == 37 ? std::optional(text_) : std::nullopt;
  }

 private:
  std::u16string text_;
  const platform::TextSource* previous_;
};

TEST(CKError, TextsAndMessages) {
  test::RecordingMessages messages;
  errno = ENOENT;
  CKError from_system(-1, false);  // takes the last system error
  EXPECT_EQ(from_system.GetCode(), ENOENT);
  EXPECT_EQ(platform::ToUtf8(from_system.GetText()), "No such file or directory");
  CKError plain(5, true);
  EXPECT_FALSE(plain.IsFromSystem());
  EXPECT_TRUE(plain.GetText().empty());
  ASSERT_EQ(messages.shown().size(), 1u);

  errno = EACCES;
  CKFileError error(u"/data/Ann.VaultQuill", true);
  EXPECT_EQ(platform::ToUtf8(error.GetText()),
            "Cannot access the file \"/data/Ann.VaultQuill\".\nPermission denied");
  ASSERT_EQ(messages.shown().size(), 2u);
  EXPECT_EQ(messages.shown()[1].icon, platform::MessageIcon::Error);
  for (const char16_t* unnamed : {static_cast<const char16_t*>(nullptr), u""}) {
    EXPECT_EQ(platform::ToUtf8(CKFileError(unnamed, false, EIO).GetText()),
              "Cannot access the file \"Unnamed\".\nInput/output error");
  }
  EXPECT_EQ(messages.shown().size(), 2u);
}

TEST(CKFileError, ALanguageTextIsFilledButNeverUsedAsAFormat) {
  OneText text(u"%%s: \"%s\" (%s) %s %n");
  CKFileError error(u"a%sb", false, EIO);
  // The fields take the values in order ("%%" is a percent sign); the value's own "%s" is not
  // filled again; fields beyond the two values and unknown ones stay as written.
  EXPECT_EQ(platform::ToUtf8(error.GetText()), "%s: \"a%sb\" (Input/output error) %s %n");
}

TEST(FileTime, CountsHundredNanosecondsFrom1601) {
  constexpr std::uint64_t k1970 = 116444736000000000ull;
  const struct {
    files::PosixTime posix;
    std::uint64_t file_time;
  } cases[] = {
      {{0, 0}, k1970},
      {{1, 250}, k1970 + 10'000'002ull},
      {{-11'644'473'600, 0}, 0},
      {{-11'644'473'601, 0}, 0},  // out of range: clamped
      {{std::numeric_limits<std::int64_t>::max(), 0}, std::numeric_limits<std::uint64_t>::max()},
      {{0, -1}, k1970 - 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(files::FileTimeFromPosix(c.posix), c.file_time) << c.posix.seconds;
  }
  const files::PosixTime back = files::PosixFromFileTime(k1970 + 15'000'001ull);
  EXPECT_EQ(back.seconds, 1);
  EXPECT_EQ(back.nanoseconds, 500'000'100);
  for (const std::uint64_t value : {std::uint64_t{0}, std::uint64_t{133'000'000'000'000'001},
                                    std::numeric_limits<std::uint64_t>::max() / 2}) {
    EXPECT_EQ(files::FileTimeFromPosix(files::PosixFromFileTime(value)), value);
  }
}

}  // namespace
