#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>

#include "database/entries.h"
#include "elements/schema.h"
#include "elements/tags.h"
#include "entry_fakes.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

class AttachmentTest : public ::testing::Test {
 protected:
  AttachmentTest() : note_(database::CreateEntry(root_, ENTRY_NOTE)) {
    root_.SetTag(ENTRY_ROOT);
    root_.AddChild(note_);
  }

  CKTLVARRAY* NewAttachment() {
    attachment_.reset(database::CreateEntry(*note_, ENTRY_ATTACHMENT));
    return attachment_.get();
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  test::ScriptedChoosers choosers_;
  CKTLVARRAY root_;
  CKTLVARRAY* note_;
  std::unique_ptr<CKTLVARRAY> attachment_;
};

TEST_F(AttachmentTest, ChosenFileIsTakenWhole) {
  const test::Bytes content = {0, 1, 2, 0xFF, 'x'};
  test::WriteFile(dir_ / "r\u00e9sum\u00e9.pdf", content);
  choosers_.chosen = test::U16(dir_ / "r\u00e9sum\u00e9.pdf");
  CKTLVARRAY* attachment = NewAttachment();
  ASSERT_TRUE(database::EditEntry(*attachment));
  ASSERT_EQ(choosers_.filters.size(), 1u);
  EXPECT_EQ(choosers_.filters[0].name, u"All files");
  EXPECT_EQ(choosers_.filters[0].pattern, u"*.*");

  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  ASSERT_TRUE(attachment->GetBinaryByTag(TAG_FILE_DATA, data, size));
  EXPECT_EQ(test::Bytes(data, data + size), content);
  std::uint32_t stored_size = 0;
  attachment->GetDwordByTag(TAG_FILE_SIZE, stored_size);
  EXPECT_EQ(stored_size, 5u);
  EXPECT_EQ(database::GetName(*attachment), u"r\u00e9sum\u00e9.pdf");
  std::uint32_t modified = 0;
  attachment->GetDwordByTag(TAG_FILE_MODIFIED, modified);
  const auto now = static_cast<std::uint32_t>(std::time(nullptr) + kSecondsFrom1601To1970);
  EXPECT_LE(now - modified, 5u);
  EXPECT_TRUE(CheckSchema(*attachment));
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(AttachmentTest, EmptyFileGivesAnEmptyAttachment) {
  test::WriteFile(dir_ / "empty", {});
  choosers_.chosen = test::U16(dir_ / "empty");
  test::RecordingListView list;
  CKTLVARRAY* added = database::AddNewEntry(*note_, ENTRY_ATTACHMENT, &list, nullptr);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(database::GetDescription(*added), u"0.000 b");
}

TEST_F(AttachmentTest, RefusedFiles) {
  // Cancelled: nothing shown, nothing added.
  EXPECT_EQ(database::AddNewEntry(*note_, ENTRY_ATTACHMENT, nullptr, nullptr), nullptr);
  EXPECT_TRUE(messages_.shown().empty());

  // One byte past the largest attachment.
  const auto large = dir_ / "large";
  test::WriteFile(large, {});
  ASSERT_EQ(truncate(large.c_str(), 0x1000000), 0);
  choosers_.chosen = test::U16(large);
  EXPECT_FALSE(database::EditEntry(*NewAttachment()));
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_NE(messages_.Texts()[0].find("too large"), std::string::npos);

  messages_.Clear();
  choosers_.chosen = test::U16(dir_ / "missing");
  EXPECT_EQ(database::AddNewEntry(*note_, ENTRY_ATTACHMENT, nullptr, nullptr), nullptr);
  EXPECT_EQ(messages_.shown().size(), 1u);  // the file message
  EXPECT_EQ(note_->GetChildCount(), 11u);
}

}  // namespace
