#include "files/file.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "files/failing_system_calls.h"
#include "files/file_time.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "test_paths.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kReadExisting = CKFile::modeRead;
constexpr std::uint32_t kReadShared = CKFile::modeRead | CKFile::shareDenyNone;
constexpr std::uint32_t kCreateAlways = CKFile::modeWrite | CKFile::modeCreate;
constexpr std::uint32_t kOpenAlways =
    CKFile::modeReadWrite | CKFile::modeCreate | CKFile::modeNoTruncate;

class FileTest : public ::testing::Test {
 protected:
  std::u16string Path(const std::string& name) const { return test::U16(dir_ / name); }

  test::TempDir dir_;
  test::RecordingMessages messages_;
};

TEST_F(FileTest, ReadAtTheEndGivesWhatIsLeft) {
  test::WriteBytes(dir_ / "f", {1, 2, 3, 4, 5, 6, 7, 8});
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kReadExisting));
  ASSERT_TRUE(file.Seek(-4, CKFile::fromEnd));
  std::uint8_t buffer[10] = {};
  std::uint32_t done = 99;
  EXPECT_TRUE(file.Read(buffer, 10, &done));
  EXPECT_EQ(done, 4u);
  EXPECT_THAT(Bytes(buffer, buffer + 4), ElementsAre(5, 6, 7, 8));
  EXPECT_TRUE(file.Read(buffer, 10, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(FileTest, ZeroCountsTouchNothing) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
  test::FailingSystemCalls calls;
  std::uint8_t byte = 0;
  std::uint32_t done = 7;
  EXPECT_TRUE(file.Read(&byte, 0, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(file.Read(nullptr, 5));
  EXPECT_TRUE(file.Write(&byte, 0));
  EXPECT_EQ(calls.Count(test::FailingSystemCalls::Call::kRead), 0);
  EXPECT_EQ(calls.Count(test::FailingSystemCalls::Call::kWrite), 0);
}

TEST_F(FileTest, OpeningAMissingFileShowsTheMessageThenThrows) {
  CKFile file;
  try {
    file.Open(Path("missing"), kReadExisting);
    FAIL() << "no exception";
  } catch (CKFile::ErrorExceptions error) {
    EXPECT_EQ(error, CKFile::ErrOpen);
  }
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_EQ(messages_.shown()[0].icon, platform::MessageIcon::Error);
  EXPECT_THAT(messages_.Texts()[0], HasSubstr((dir_ / "missing").string()));
  EXPECT_THAT(messages_.Texts()[0], HasSubstr("No such file or directory"));
  EXPECT_FALSE(file.IsOpen());

  CKFile quiet(false, false);
  EXPECT_FALSE(quiet.Open(Path("missing"), kReadExisting));
  EXPECT_EQ(messages_.shown().size(), 1u);
}

TEST_F(FileTest, CreatedFilesAreForTheOwnerOnlyAndNeverInherited) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("secret"), kCreateAlways));
  struct stat status;
  ASSERT_EQ(stat((dir_ / "secret").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_NE(fcntl(file.GetHandle(), F_GETFD) & FD_CLOEXEC, 0);
}

TEST_F(FileTest, CreateModesEmptyOrKeepAnExistingFile) {
  test::WriteBytes(dir_ / "f", {1, 2, 3});
  {
    CKFile file;
    ASSERT_TRUE(file.Open(Path("f"), kOpenAlways));
    std::uint64_t length = 0;
    ASSERT_TRUE(file.GetLength(length));
    EXPECT_EQ(length, 3u);
  }
  {
    CKFile file;
    ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
    ASSERT_TRUE(file.Write("xy", 2));
  }
  EXPECT_THAT(test::ReadBytes(dir_ / "f"), ElementsAre('x', 'y'));
  CKFile file(false, false);
  EXPECT_FALSE(file.Open(Path("other"), CKFile::modeReadWrite));
}

TEST_F(FileTest, AnExclusiveOpenLocksOutOurOtherHandles) {
  CKFile writer;
  ASSERT_TRUE(writer.Open(Path("f.new"), kCreateAlways));
  ASSERT_TRUE(writer.Write("data", 4));

  // A second writer must fail before it can empty what the first one wrote.
  CKFile second(false, false);
  EXPECT_FALSE(second.Open(Path("f.new"), kCreateAlways));
  EXPECT_EQ(test::ReadBytes(dir_ / "f.new").size(), 4u);
  EXPECT_FALSE(second.Open(Path("f.new"), kReadExisting));
  // A reader that lets everyone share does not lock.
  EXPECT_TRUE(second.Open(Path("f.new"), kReadShared));
  ASSERT_TRUE(writer.Close());
  EXPECT_TRUE(second.Open(Path("f.new"), kReadExisting));
}

TEST_F(FileTest, AFolderIsNotAFile) {
  CKFile file(false, false);
  EXPECT_FALSE(file.Open(test::U16(dir_.path()), kReadExisting));
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, APathWithAZeroCharacterReachesNoFile) {
  test::WriteBytes(dir_ / "a", {1});
  CKFile file(false, false);
  std::u16string path = Path("a");
  path += u'\0';
  path += u"b";
  EXPECT_FALSE(file.Open(path, kReadExisting));
}

TEST_F(FileTest, AFailedCloseReportsButLeavesTheObjectClosed) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
  test::FailingSystemCalls calls;
  calls.FailNth(test::FailingSystemCalls::Call::kClose, 1);
  EXPECT_THROW(file.Close(), CKFile::ErrorExceptions);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_TRUE(file.GetPath().empty());
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr("Input/output error")));

  CKFile quiet(false, false);
  ASSERT_TRUE(quiet.Open(Path("g"), kCreateAlways));
  calls.FailNth(test::FailingSystemCalls::Call::kClose, 1);
  EXPECT_FALSE(quiet.Close());
  EXPECT_FALSE(quiet.IsOpen());
  EXPECT_TRUE(quiet.Close());  // nothing left to close
}

TEST_F(FileTest, WriteAndFlushFailuresThrowWriteErrors) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
  test::FailingSystemCalls calls;
  calls.FailNth(test::FailingSystemCalls::Call::kWrite, 1, ENOSPC);
  try {
    file.Write("abc", 3);
    FAIL() << "no exception";
  } catch (CKFile::ErrorExceptions error) {
    EXPECT_EQ(error, CKFile::ErrWrite);
  }
  calls.FailNth(test::FailingSystemCalls::Call::kFsync, 1);
  EXPECT_THROW(file.Flush(), CKFile::ErrorExceptions);
  EXPECT_EQ(messages_.shown().size(), 2u);
  EXPECT_TRUE(file.Write("abc", 3));
  EXPECT_TRUE(file.Flush());
}

TEST_F(FileTest, ReadFailureReportsNothingRead) {
  test::WriteBytes(dir_ / "f", {1, 2, 3});
  CKFile file(false, true);
  ASSERT_TRUE(file.Open(Path("f"), kReadExisting));
  test::FailingSystemCalls calls;
  calls.FailNth(test::FailingSystemCalls::Call::kRead, 1);
  std::uint8_t buffer[3];
  std::uint32_t done = 5;
  EXPECT_FALSE(file.Read(buffer, 3, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(messages_.shown().size(), 1u);
}

class StringTest : public FileTest {
 protected:
  // Reads a string from the bytes, then the 4-byte marker that follows it.
  std::u16string ReadWithMarker(Bytes bytes, bool& marker_found) {
    bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    test::WriteBytes(dir_ / "s", bytes);
    CKFile file;
    EXPECT_TRUE(file.Open(Path("s"), kReadExisting));
    std::u16string text = u"old";
    EXPECT_TRUE(file.ReadString(text));
    std::uint8_t marker[4] = {};
    EXPECT_TRUE(file.Read(marker, 4));
    marker_found = Bytes(marker, marker + 4) == Bytes{0xDE, 0xAD, 0xBE, 0xEF};
    return text;
  }
};

TEST_F(StringTest, WrittenAsByteLengthAndUtf16) {
  {
    CKFile file;
    ASSERT_TRUE(file.Open(Path("s"), kCreateAlways));
    ASSERT_TRUE(file.WriteString(u""));
    ASSERT_TRUE(file.WriteString(u"A\u00e9\U0001F511"));
  }
  EXPECT_THAT(test::ReadBytes(dir_ / "s"),
              ElementsAre(0, 0, 0, 0, 8, 0, 0, 0, 0x41, 0, 0xE9, 0, 0x3D, 0xD8, 0x11, 0xDD));
  CKFile file;
  ASSERT_TRUE(file.Open(Path("s"), kReadExisting));
  std::u16string text = u"x";
  EXPECT_TRUE(file.ReadString(text));
  EXPECT_EQ(text, u"");
  EXPECT_TRUE(file.ReadString(text));
  EXPECT_EQ(text, u"A\u00e9\U0001F511");
}

TEST_F(StringTest, CutAtTheFirstZeroCharacter) {
  bool marker = false;
  EXPECT_EQ(ReadWithMarker({4, 0, 0, 0, 0x41, 0, 0, 0}, marker), u"A");
  EXPECT_TRUE(marker);
}

TEST_F(StringTest, AnOddLengthDropsItsLastByteButConsumesIt) {
  bool marker = false;
  EXPECT_EQ(ReadWithMarker({5, 0, 0, 0, 0x41, 0, 0x42, 0, 0x43}, marker), u"AB");
  EXPECT_TRUE(marker);
  EXPECT_EQ(ReadWithMarker({1, 0, 0, 0, 0x41}, marker), u"");
  EXPECT_TRUE(marker);
}

TEST_F(StringTest, AnOverlongStringIsSkippedWhole) {
  Bytes bytes = {0x00, 0x00, 0x01, 0x00};  // 65,536 bytes
  bytes.resize(4 + 65536, 0x41);
  bool marker = false;
  EXPECT_EQ(ReadWithMarker(bytes, marker), u"");
  EXPECT_TRUE(marker);
}

TEST_F(StringTest, ALengthPastTheEndEndsQuietly) {
  test::WriteBytes(dir_ / "s", {0xFF, 0xFF, 0xFF, 0xFF, 0x41, 0x00});
  CKFile file;
  ASSERT_TRUE(file.Open(Path("s"), kReadExisting));
  std::u16string text;
  EXPECT_TRUE(file.ReadString(text));
  EXPECT_EQ(text, u"");
  std::uint64_t position = 0;
  ASSERT_TRUE(file.GetPosition(position));
  EXPECT_EQ(position, 6u);
}

TEST_F(FileTest, LengthPositionAndTruncation) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kOpenAlways));
  ASSERT_TRUE(file.Write("0123456789", 10));
  std::uint64_t value = 0;
  ASSERT_TRUE(file.GetPosition(value));
  EXPECT_EQ(value, 10u);
  ASSERT_TRUE(file.SetLength(4));
  ASSERT_TRUE(file.GetLength(value));
  EXPECT_EQ(value, 4u);
  ASSERT_TRUE(file.Seek(1, CKFile::fromStart, &value));
  EXPECT_EQ(value, 1u);
  char buffer[8] = {};
  std::uint32_t done = 0;
  ASSERT_TRUE(file.Read(buffer, 8, &done));
  EXPECT_EQ(std::string(buffer, done), "123");
  EXPECT_THROW(file.Seek(-100, CKFile::fromCurrent), CKFile::ErrorExceptions);
}

TEST_F(FileTest, FileTimesCountFrom1601) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
  std::uint64_t created = 0;
  std::uint64_t written = 0;
  ASSERT_TRUE(file.GetFileTime(&created, nullptr, &written));
  const std::uint64_t now = files::FileTimeFromPosix({std::time(nullptr), 0});
  constexpr std::uint64_t kMinute = 60ull * 10'000'000;
  EXPECT_LT(written > now ? written - now : now - written, kMinute);
  EXPECT_LE(created, written + kMinute);
  EXPECT_GT(created, now - kMinute);
}

TEST_F(FileTest, AHandleCanBeSharedWithAnotherStream) {
  test::WriteBytes(dir_ / "f", {7, 8});
  CKFile owner;
  ASSERT_TRUE(owner.Open(Path("f"), kReadExisting));
  {
    CKFile borrower;
    borrower.SetHandle(owner.GetHandle());
    std::uint8_t byte = 0;
    ASSERT_TRUE(borrower.Read(&byte, 1));
    EXPECT_EQ(byte, 7);
    ASSERT_TRUE(borrower.Close());
  }
  owner.SetHandle(CKFile::kNoHandle);  // closed through the other stream
  EXPECT_FALSE(owner.IsOpen());
}

}  // namespace
