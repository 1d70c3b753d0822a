#include "updater/http_reader.h"

#include <gtest/gtest.h>

#include <QThread>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "files/system_calls.h"
#include "local_http_server.h"
#include "support/temp_dir.h"

namespace {

using test::LocalHttpServer;

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QByteArray Pattern(qsizetype size) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  }
  return bytes;
}

// Writes fail with the given error from the n-th on; everything else is real.
class FailingWrites final : public files::SystemCalls {
 public:
  FailingWrites(int from_call, int error)
      : from_call_(from_call), error_(error), previous_(files::InstallSystemCalls(this)) {}
  ~FailingWrites() override { files::InstallSystemCalls(previous_); }
  ssize_t Write(int fd, const void* buffer, size_t count) override {
    if (++calls_ >= from_call_) {
      errno = error_;
      return -1;
    }
    return files::SystemCalls::Write(fd, buffer, count);
  }

 private:
  int calls_ = 0;
  int from_call_;
  int error_;
  files::SystemCalls* previous_;
};

class HttpReaderTest : public ::testing::Test {
 protected:
  QUrl At(const char* target) const { return server_.Url().resolved(QUrl(target)); }
  std::u16string PathOf(const std::string& name) const { return (temp_ / name).u16string(); }

  LocalHttpServer server_;
  test::TempDir temp_;
};

TEST_F(HttpReaderTest, ReadsAtMostTheBufferAndOnlySuccessfulAnswers) {
  server_.Serve("/five", QByteArray("01502"));
  server_.Serve("/seven", QByteArray("0150299"));
  server_.Serve("/missing", LocalHttpServer::Response::Status(404, "01502"));
  CKHTTPReader reader;
  ASSERT_TRUE(reader.GetBuffer().Allocate(6));
  EXPECT_EQ(reader.ReadToBuffer(At("/five")), 5u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader.GetBuffer().GetData()), 6),
            std::string("01502\0", 6));
  EXPECT_EQ(reader.ReadToBuffer(At("/seven")), 6u);
  // An error page is no content, and the buffer shows nothing of it.
  EXPECT_EQ(reader.ReadToBuffer(At("/missing")), 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader.GetBuffer().GetData()), 6),
            std::string(6, '\0'));
  // Addresses other than http and https are not fetched.
  EXPECT_EQ(reader.ReadToBuffer(QUrl::fromLocalFile(QString::fromStdU16String(PathOf("x")))), 0u);

  CKHTTPReader empty;
  EXPECT_EQ(empty.ReadToBuffer(At("/five")), 0u);
  EXPECT_EQ(server_.CountFor("/five"), 1);  // the empty buffer asked nothing
}

TEST_F(HttpReaderTest, RequestsCarryTheUserAgentAndBypassCaches) {
  server_.Serve("/files/vaultquill.build", QByteArray("01502"));
  CKHTTPReader reader;
  ASSERT_TRUE(reader.GetBuffer().Allocate(6));
  ASSERT_EQ(reader.ReadToBuffer(At("/files/vaultquill.build")), 5u);
  ASSERT_EQ(server_.Requests().size(), 1u);
  const LocalHttpServer::Request request = server_.Requests()[0];
  EXPECT_EQ(request.head.left(request.head.indexOf("\r\n")),
            "GET /files/vaultquill.build HTTP/1.1");
  EXPECT_EQ(request.Header("User-Agent"), QByteArray("VaultQuill v2.0 / "));
  EXPECT_EQ(request.Header("Cache-Control"), QByteArray("no-cache"));
}

TEST_F(HttpReaderTest, UnreachableSilentAndStalledServersGiveNothing) {
  QUrl closed;
  {
    LocalHttpServer gone;
    closed = gone.Url().resolved(QUrl("/files/vaultquill.build"));
  }
  server_.Serve("/stalled", LocalHttpServer::Response::Silent());
  CKHTTPReader reader(updater::KHttpOptions{std::chrono::milliseconds(300)});
  ASSERT_TRUE(reader.GetBuffer().Allocate(6));
  EXPECT_EQ(reader.ReadToBuffer(closed), 0u);
  EXPECT_EQ(reader.ReadToBuffer(At("/stalled")), 0u);
  EXPECT_EQ(reader.DownloadToFile(At("/stalled"), PathOf("stalled")), 0u);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "stalled"));
}

TEST_F(HttpReaderTest, AThreadAskedToStopEndsItsRequest) {
  server_.Serve("/stalled", LocalHttpServer::Response::Silent());
  std::uint32_t got = 99;
  std::unique_ptr<QThread> thread(QThread::create([&] {
    CKHTTPReader reader;  // with the long default idle time
    reader.GetBuffer().Allocate(6);
    got = reader.ReadToBuffer(At("/stalled"));
  }));
  thread->start();
  ASSERT_TRUE(test::PumpUntil([&] { return server_.CountFor("/stalled") == 1; }));
  thread->requestInterruption();
  EXPECT_TRUE(thread->wait(5000));
  EXPECT_EQ(got, 0u);
}

TEST_F(HttpReaderTest, DownloadsReplaceTheFileAndBrokenOnesLeaveNothing) {
  const QByteArray installer = Pattern(100000);
  server_.Serve("/whole", installer);
  server_.Serve("/broken", LocalHttpServer::Response::Cut(installer, 50000));
  server_.Serve("/missing", LocalHttpServer::Response::Status(404, "Not Found"));
  {
    std::ofstream old(temp_ / "setup", std::ios::binary);
    old << std::string(200000, 'o');
  }
  CKHTTPReader reader;
  EXPECT_EQ(reader.DownloadToFile(At("/whole"), PathOf("setup")), 100000u);
  EXPECT_EQ(Slurp(temp_ / "setup"), installer.toStdString());

  KFileFailure failure;
  EXPECT_EQ(reader.DownloadToFile(At("/broken"), PathOf("broken"), &failure), 0u);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "broken"));
  EXPECT_EQ(failure.error, 0);  // a network failure, nothing to tell
  EXPECT_EQ(reader.DownloadToFile(At("/missing"), PathOf("missing")), 0u);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "missing"));
}

TEST_F(HttpReaderTest, FileFailuresAreReportedWithTheirErrorAndLeaveNothing) {
  server_.Serve("/whole", Pattern(40000));
  CKHTTPReader reader;
  KFileFailure failure;
  const std::u16string in_missing_folder = PathOf("no-such-folder/setup");
  EXPECT_EQ(reader.DownloadToFile(At("/whole"), in_missing_folder, &failure), 0u);
  EXPECT_EQ(failure.path, in_missing_folder);
  EXPECT_EQ(failure.error, ENOENT);

  failure = KFileFailure{};
  {
    FailingWrites disk_full(2, ENOSPC);
    EXPECT_EQ(reader.DownloadToFile(At("/whole"), PathOf("full"), &failure), 0u);
  }
  EXPECT_EQ(failure.error, ENOSPC);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "full"));

  // A symbolic link where the download goes is not followed.
  std::filesystem::create_symlink(temp_ / "target", temp_ / "link");
  failure = KFileFailure{};
  EXPECT_EQ(reader.DownloadToFile(At("/whole"), PathOf("link"), &failure), 0u);
  EXPECT_EQ(failure.error, ELOOP);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "target"));
  EXPECT_TRUE(std::filesystem::is_symlink(temp_ / "link"));
}

}  // namespace
