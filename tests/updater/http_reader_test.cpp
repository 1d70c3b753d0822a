#include "updater/http_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/system_calls.h"
#include "local_http_server.h"
#include "support/temp_dir.h"

namespace {

// Writes fail with ENOSPC from the second on; everything else is real.
class DiskFull final : public files::SystemCalls {
 public:
  DiskFull() : previous_(files::InstallSystemCalls(this)) {}
  ~DiskFull() override { files::InstallSystemCalls(previous_); }
  ssize_t Write(int fd, const void* buffer, size_t count) override {
    if (++calls_ >= 2) {
      errno = ENOSPC;
      return -1;
    }
    return files::SystemCalls::Write(fd, buffer, count);
  }

 private:
  int calls_ = 0;
  files::SystemCalls* previous_;
};

class HttpReaderTest : public ::testing::Test {
 protected:
  QUrl At(const char* target) const { return server_.Url().resolved(QUrl(target)); }
  std::u16string PathOf(const std::string& name) const { return (temp_ / name).u16string(); }
  std::string Buffer() const {
    return {reinterpret_cast<const char*>(reader_.GetBuffer().GetData()), 6};
  }

  test::LocalHttpServer server_;
  test::TempDir temp_;
  CKHTTPReader reader_;
};

TEST_F(HttpReaderTest, ReadsAtMostTheBufferFromSuccessfulAnswersWithoutCaches) {
  server_.Serve("/files/vaultquill.build", QByteArray("01502"));
  server_.Serve("/seven", QByteArray("0150299"));
  server_.Serve("/missing", {.status = 404, .body = "01502"});
  CKHTTPReader empty;
  EXPECT_EQ(empty.ReadToBuffer(At("/seven")), 0u);  // the empty buffer asks nothing
  ASSERT_TRUE(reader_.GetBuffer().Allocate(6));
  EXPECT_EQ(reader_.ReadToBuffer(At("/files/vaultquill.build")), 5u);
  EXPECT_EQ(Buffer(), std::string("01502\0", 6));
  EXPECT_EQ(reader_.ReadToBuffer(At("/seven")), 6u);
  // An error page is no content, and the buffer shows nothing of it.
  EXPECT_EQ(reader_.ReadToBuffer(At("/missing")), 0u);
  EXPECT_EQ(Buffer(), std::string(6, '\0'));
  // Addresses other than http and https are not fetched.
  EXPECT_EQ(reader_.ReadToBuffer(QUrl::fromLocalFile(QString::fromStdU16String(PathOf("x")))), 0u);

  const std::vector<QByteArray> heads = server_.Heads();
  ASSERT_EQ(heads.size(), 3u);
  EXPECT_TRUE(heads[0].startsWith("GET /files/vaultquill.build HTTP/1.1\r\n")) << heads[0].data();
  EXPECT_TRUE(heads[0].contains("\r\nUser-Agent: VaultQuill v2.0 / \r\n")) << heads[0].data();
  EXPECT_TRUE(heads[0].contains("\r\nCache-Control: no-cache\r\n")) << heads[0].data();
}

TEST_F(HttpReaderTest, UnreachableSilentAndStalledServersGiveNothing) {
  QUrl closed;
  {
    test::LocalHttpServer gone;
    closed = gone.Url().resolved(QUrl("/files/vaultquill.build"));
  }
  server_.Serve("/stalled", {.never_answer = true});
  CKHTTPReader reader(updater::KHttpOptions{std::chrono::milliseconds(300)});
  ASSERT_TRUE(reader.GetBuffer().Allocate(6));
  EXPECT_EQ(reader.ReadToBuffer(closed), 0u);
  EXPECT_EQ(reader.ReadToBuffer(At("/stalled")), 0u);
  EXPECT_EQ(reader.DownloadToFile(At("/stalled"), PathOf("stalled")), 0u);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "stalled"));
}

// Replacing an installer, a broken transfer and a missing folder are seen in the service's
// tests.
TEST_F(HttpReaderTest, DownloadsAndFileFailures) {
  QByteArray installer;
  for (int i = 0; i < 100000; ++i) {
    installer += static_cast<char>(i * 7 + i / 251);
  }
  server_.Serve("/whole", installer);
  EXPECT_EQ(reader_.DownloadToFile(At("/whole"), PathOf("setup")), 100000u);
  std::ifstream in(temp_ / "setup", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), installer.toStdString());

  KFileFailure failure;
  {
    DiskFull disk_full;
    EXPECT_EQ(reader_.DownloadToFile(At("/whole"), PathOf("full"), &failure), 0u);
  }
  EXPECT_EQ(failure.error, ENOSPC);
  // A symbolic link where the download goes is not followed.
  std::filesystem::create_symlink(temp_ / "target", temp_ / "link");
  EXPECT_EQ(reader_.DownloadToFile(At("/whole"), PathOf("link"), &failure), 0u);
  EXPECT_EQ(failure.error, ELOOP);
  EXPECT_TRUE(std::filesystem::is_symlink(temp_ / "link"));
  for (const char* left : {"full", "target"}) {
    EXPECT_FALSE(std::filesystem::exists(temp_ / left)) << left;
  }
}

}  // namespace
