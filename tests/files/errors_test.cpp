#include "files/errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/texts.h"
#include "platform/utf.h"
#include "support/recording_messages.h"

namespace {

using ::testing::ElementsAre;

class OneText final : public platform::TextSource {
 public:
  explicit OneText(std::u16string text) : text_(std::move(text)) {
    previous_ = platform::InstallTexts(this);
  }
  ~OneText() override { platform::InstallTexts(previous_); }
  std::optional<std::u16string> FindText(int group, int entry) const override {
    if (group == 0 && entry == 37) {
      return text_;
    }
    return std::nullopt;
  }

 private:
  std::u16string text_;
  const platform::TextSource* previous_;
};

TEST(CKError, TakesTheLastSystemErrorOnlyWhenAsked) {
  test::RecordingMessages messages;
  errno = ENOENT;
  CKError from_system(-1, false);
  EXPECT_TRUE(from_system.IsFromSystem());
  EXPECT_EQ(from_system.GetCode(), ENOENT);
  EXPECT_EQ(platform::ToUtf8(from_system.GetText()), "No such file or directory");

  CKError plain(5, true);
  EXPECT_FALSE(plain.IsFromSystem());
  EXPECT_EQ(plain.GetCode(), 5);
  EXPECT_TRUE(plain.GetText().empty());
  EXPECT_EQ(messages.shown().size(), 1u);
}

TEST(CKFileError, NamesTheFileAndTheReason) {
  test::RecordingMessages messages;
  errno = EACCES;
  CKFileError error(u"/data/Ann.VaultQuill", true);
  EXPECT_EQ(platform::ToUtf8(error.GetText()),
            "Cannot access the file \"/data/Ann.VaultQuill\".\nPermission denied");
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Error);

  CKFileError unnamed(nullptr, false, EIO);
  EXPECT_EQ(platform::ToUtf8(unnamed.GetText()),
            "Cannot access the file \"Unnamed\".\nInput/output error");
  EXPECT_EQ(platform::ToUtf8(CKFileError(u"", false, EIO).GetText()),
            platform::ToUtf8(unnamed.GetText()));
  EXPECT_EQ(messages.shown().size(), 1u);
}

TEST(CKFileError, ALanguageTextIsFilledButNeverUsedAsAFormat) {
  OneText text(u"%%s: \"%s\" (%s) %s %n");
  CKFileError error(u"a%sb", false, EIO);
  // The fields take the values in order ("%%" is a percent sign); the value's own "%s" is not
  // filled again; fields beyond the two values and unknown ones stay as written.
  EXPECT_EQ(platform::ToUtf8(error.GetText()), "%s: \"a%sb\" (Input/output error) %s %n");
}

}  // namespace
