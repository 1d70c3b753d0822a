#include "files/file.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "files/file_time.h"
#include "files_fixture.h"

namespace {

using test::Bytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Calls = test::FailingSystemCalls;

constexpr std::uint32_t kReadExisting = CKFile::modeRead;
constexpr std::uint32_t kCreateAlways = CKFile::modeWrite | CKFile::modeCreate;
constexpr std::uint32_t kOpenAlways =
    CKFile::modeReadWrite | CKFile::modeCreate | CKFile::modeNoTruncate;

using FileTest = test::FilesTest;

TEST_F(FileTest, WritesReadsAndPositions) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kOpenAlways));
  ASSERT_TRUE(file.Write("0123456789", 10));
  std::uint64_t value = 0;
  ASSERT_TRUE(file.GetPosition(value));
  EXPECT_EQ(value, 10u);
  ASSERT_TRUE(file.SetLength(4));
  ASSERT_TRUE(file.GetLength(value));
  EXPECT_EQ(value, 4u);
  ASSERT_TRUE(file.Seek(-3, CKFile::fromEnd, &value));
  EXPECT_EQ(value, 1u);
  // Fewer bytes at the end is success; done says how many.
  char buffer[8] = {};
  std::uint32_t done = 99;
  ASSERT_TRUE(file.Read(buffer, 8, &done));
  EXPECT_EQ(std::string(buffer, done), "123");
  ASSERT_TRUE(file.Read(buffer, 8, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_THROW(file.Seek(-100, CKFile::fromCurrent), CKFile::ErrorExceptions);

  // Zero counts touch nothing.
  Calls calls;
  done = 7;
  EXPECT_TRUE(file.Read(buffer, 0, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(file.Read(nullptr, 5));
  EXPECT_TRUE(file.Write(buffer, 0));
  EXPECT_EQ(calls.calls[Calls::kRead] + calls.calls[Calls::kWrite], 0);
}

TEST_F(FileTest, OpenModesAndSharing) {
  CKFile writer;
  ASSERT_TRUE(writer.Open(Path("f"), kCreateAlways));
  EXPECT_EQ(Mode("f"), 0600u);  // for the owner only, and never inherited
  EXPECT_NE(fcntl(writer.GetHandle(), F_GETFD) & FD_CLOEXEC, 0);
  ASSERT_TRUE(writer.Write("data", 4));
  // A second writer must fail before it can empty what the first one wrote.
  CKFile second(false, false);
  EXPECT_FALSE(second.Open(Path("f"), kCreateAlways));
  EXPECT_EQ(ReadBytes("f").size(), 4u);
  EXPECT_FALSE(second.Open(Path("f"), kReadExisting));
  // A reader that lets everyone share does not lock.
  EXPECT_TRUE(second.Open(Path("f"), CKFile::modeRead | CKFile::shareDenyNone));
  ASSERT_TRUE(writer.Close());
  ASSERT_TRUE(second.Close());

  ASSERT_TRUE(writer.Open(Path("f"), kOpenAlways));  // keeps what is there
  ASSERT_TRUE(writer.Seek(0, CKFile::fromEnd));
  ASSERT_TRUE(writer.Write("!", 1));
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(ReadBytes("f"), (Bytes{'d', 'a', 't', 'a', '!'}));
  ASSERT_TRUE(writer.Open(Path("f"), kCreateAlways) && writer.Write("xy", 2) && writer.Close());
  EXPECT_EQ(ReadBytes("f"), (Bytes{'x', 'y'}));  // emptied first
}

TEST_F(FileTest, OpenFailures) {
  CKFile file;
  EXPECT_EQ(test::Thrown([&] { file.Open(Path("missing"), kReadExisting); }), CKFile::ErrOpen);
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr((dir_ / "missing").string())));
  EXPECT_FALSE(file.IsOpen());

  WriteBytes("a", {1});
  std::u16string zero_inside = Path("a");
  zero_inside += std::u16string(u"\0b", 2);
  CKFile quiet(false, false);
  EXPECT_FALSE(quiet.Open(Path("missing"), kReadExisting));
  EXPECT_FALSE(quiet.Open(Path("other"), CKFile::modeReadWrite));  // no create: no file
  EXPECT_FALSE(quiet.Open(Path("."), kReadExisting));              // a folder is not a file
  EXPECT_FALSE(quiet.Open(zero_inside, kReadExisting));
  EXPECT_FALSE(quiet.IsOpen());
  EXPECT_EQ(messages_.shown().size(), 1u);
}

TEST_F(FileTest, SystemFailuresReportAndThrow) {
  WriteBytes("r", {1, 2, 3});
  CKFile reader(false, true);
  ASSERT_TRUE(reader.Open(Path("r"), kReadExisting));
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
  Calls calls;
  calls.FailNext(Calls::kRead);
  std::uint8_t buffer[3];
  std::uint32_t done = 5;
  EXPECT_FALSE(reader.Read(buffer, 3, &done));
  EXPECT_EQ(done, 0u);

  calls.FailNext(Calls::kWrite, ENOSPC);
  EXPECT_EQ(test::Thrown([&] { file.Write("abc", 3); }), CKFile::ErrWrite);
  calls.FailNext(Calls::kFsync);
  EXPECT_THROW(file.Flush(), CKFile::ErrorExceptions);
  EXPECT_TRUE(file.Write("abc", 3) && file.Flush());

  // A failed close reports but leaves the object closed.
  calls.FailNext(Calls::kClose);
  EXPECT_THROW(file.Close(), CKFile::ErrorExceptions);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_TRUE(file.GetPath().empty());
  EXPECT_THAT(messages_.Texts(),
              ElementsAre(HasSubstr("Input/output error"), HasSubstr("No space left on device"),
                          HasSubstr("Input/output error"), HasSubstr("Input/output error")));
  CKFile quiet(false, false);
  ASSERT_TRUE(quiet.Open(Path("g"), kCreateAlways));
  calls.FailNext(Calls::kClose);
  EXPECT_FALSE(quiet.Close());
  EXPECT_FALSE(quiet.IsOpen());
  EXPECT_TRUE(quiet.Close());  // nothing left to close
}

TEST_F(FileTest, StringsAreAByteLengthAndUtf16) {
  {
    CKFile file;
    ASSERT_TRUE(file.Open(Path("s"), kCreateAlways));
    ASSERT_TRUE(file.WriteString(u""));
    ASSERT_TRUE(file.WriteString(u"A\u00e9\U0001F511"));
  }
  const Bytes written = {0, 0, 0, 0, 8, 0, 0, 0, 0x41, 0, 0xE9, 0, 0x3D, 0xD8, 0x11, 0xDD};
  EXPECT_EQ(ReadBytes("s"), written);

  // The declared length is consumed whole, or up to the end of the file.
  Bytes overlong = {0x00, 0x00, 0x01, 0x00};  // 65,536 bytes: skipped whole
  overlong.resize(4 + 65536, 0x41);
  const std::vector<std::pair<Bytes, std::u16string>> cases = {
      {Bytes(written.begin(), written.begin() + 4), u""},
      {Bytes(written.begin() + 4, written.end()), u"A\u00e9\U0001F511"},
      {{4, 0, 0, 0, 0x41, 0, 0, 0}, u"A"},            // cut at the first zero character
      {{5, 0, 0, 0, 0x41, 0, 0x42, 0, 0x43}, u"AB"},  // an odd length drops its last byte
      {{1, 0, 0, 0, 0x41}, u""},
      {overlong, u""},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0x41, 0x00}, u""},  // past the end: quietly at the end
  };
  for (const auto& [bytes, expected] : cases) {
    Bytes with_tail = bytes;
    with_tail.insert(with_tail.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    WriteBytes("s", with_tail);
    CKFile file;
    ASSERT_TRUE(file.Open(Path("s"), kReadExisting));
    std::u16string text = u"old";
    EXPECT_TRUE(file.ReadString(text));
    EXPECT_EQ(text, expected);
    std::uint64_t position = 0;
    ASSERT_TRUE(file.GetPosition(position));
    std::uint32_t declared = 0;
    std::memcpy(&declared, bytes.data(), 4);  // little-endian, as the file
    EXPECT_EQ(position, std::min<std::uint64_t>(with_tail.size(), 4ull + declared));
  }
}

TEST_F(FileTest, FileTimesCountFrom1601) {
  CKFile file;
  ASSERT_TRUE(file.Open(Path("f"), kCreateAlways));
  std::uint64_t created = 0;
  std::uint64_t written = 0;
  ASSERT_TRUE(file.GetFileTime(&created, nullptr, &written));
  const std::uint64_t now = files::FileTimeFromPosix({std::time(nullptr), 0});
  for (const std::uint64_t time : {created, written}) {
    EXPECT_LT(time > now ? time - now : now - time, 60ull * 10'000'000);  // a minute
  }
}

}  // namespace
