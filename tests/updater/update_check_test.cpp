#include "updater/update_check.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>

#include "local_http_server.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "updater/gui_thread_host.h"

namespace {

using test::LocalHttpServer;

constexpr char kBuildFile[] = "/files/vaultquill.build";
constexpr char kNotesFile[] = "/files/vaultquill.info";
constexpr char kInstaller[] = "/downloads/vaultquill.exe?event3=vaultquill20";

bool OnGuiThread() {
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs checks on a thread of their own, with this thread as the user-interface thread, and
// records what the check asked of it.
class UpdateCheckTest : public ::testing::Test {
 protected:
  enum class Dialog { kAnswer, kDrop, kNeverAnswer };

  void SetUp() override { server_.Serve(kNotesFile, QByteArray("{\\rtf1 Notes}")); }

  void RunCheck(std::uint32_t offered_build = 1501) {
    QObject context;
    KUpdaterGuiActions actions;
    actions.record_offered_build = [this](std::uint32_t build) {
      all_on_gui_thread_ &= OnGuiThread();
      recorded_.push_back(build);
    };
    actions.offer = [this, &context](const QByteArray& notes, KUpdaterGuiActions::OfferDone done) {
      all_on_gui_thread_ &= OnGuiThread();
      notes_.push_back(notes);
      if (dialog_ == Dialog::kAnswer) {
        // The user answers a little later; the checker's thread waits for it.
        QTimer::singleShot(20, &context, [done, folder = folder_] { done(folder); });
      } else if (dialog_ == Dialog::kNeverAnswer) {
        kept_done_ = std::move(done);
      }
    };
    actions.report_file_error = [this](const std::u16string& path, int error) {
      all_on_gui_thread_ &= OnGuiThread();
      file_errors_.emplace_back(path, error);
    };
    actions.install = [this](const std::u16string& download, const std::u16string& installer) {
      all_on_gui_thread_ &= OnGuiThread();
      return updater::InstallDownloadedFile(download, installer);
    };
    actions.announce = [this](const std::u16string& installer) {
      all_on_gui_thread_ &= OnGuiThread();
      announced_.push_back(installer);
    };
    CKGuiThreadHost host(&context, std::move(actions));
    const updater::KUpdateCheckInput input{server_.Url(), 1501, offered_build, {}};
    std::unique_ptr<QThread> thread(QThread::create([&] { updater::RunUpdateCheck(input, host); }));
    thread->start();
    if (dialog_ == Dialog::kNeverAnswer) {
      ASSERT_TRUE(test::PumpUntil([&] { return !notes_.empty(); }));
      thread->requestInterruption();
    }
    ASSERT_TRUE(test::PumpUntil([&] { return thread->isFinished(); }));
    QCoreApplication::processEvents();  // what the thread posted last
    kept_done_ = nullptr;
  }

  std::u16string Folder() const { return temp_.path().u16string(); }
  std::filesystem::path InstallerPath() const { return temp_ / "vaultquill-1502.exe"; }

  LocalHttpServer server_;
  test::TempDir temp_;
  test::RecordingMessages messages_;
  Dialog dialog_ = Dialog::kAnswer;
  std::optional<std::u16string> folder_;  // the dialog's answer: nothing is Close
  KUpdaterGuiActions::OfferDone kept_done_;

  std::vector<std::uint32_t> recorded_;
  std::vector<QByteArray> notes_;
  std::vector<std::pair<std::u16string, int>> file_errors_;
  std::vector<std::u16string> announced_;
  bool all_on_gui_thread_ = true;
};

TEST_F(UpdateCheckTest, FiveDigitsOfferTheBuildWithItsNotesOnTheGuiThread) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  RunCheck();
  EXPECT_EQ(recorded_, std::vector<std::uint32_t>{1502});
  ASSERT_EQ(notes_.size(), 1u);
  // The notes come in a zero-filled block of 16 KiB.
  QByteArray expected("{\\rtf1 Notes}");
  expected.append(static_cast<qsizetype>(updater::kReleaseNotesSize) - expected.size(), '\0');
  EXPECT_EQ(notes_[0], expected);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);  // the user closed the dialog
  EXPECT_TRUE(all_on_gui_thread_);
}

TEST_F(UpdateCheckTest, AnythingButANewerFiveDigitBuildOffersNothing) {
  for (const QByteArray& content : {QByteArray("01502\n"), QByteArray("abcde"), QByteArray("0150"),
                                    QByteArray("01501"), QByteArray("")}) {
    server_.Serve(kBuildFile, content);
    RunCheck();
  }
  server_.Serve(kBuildFile, LocalHttpServer::Response::Status(404, "01502"));
  RunCheck();
  EXPECT_TRUE(recorded_.empty());
  EXPECT_EQ(server_.CountFor(kNotesFile), 0);

  // A build offered once is not offered again; a higher one is.
  server_.Serve(kBuildFile, QByteArray("01502"));
  RunCheck(1502);
  EXPECT_TRUE(recorded_.empty());
  server_.Serve(kBuildFile, QByteArray("01503"));
  RunCheck(1502);
  EXPECT_EQ(recorded_, std::vector<std::uint32_t>{1503});
}

TEST_F(UpdateCheckTest, DownloadReplacesAPresentInstaller) {
  const QByteArray installer(30000, 'n');
  server_.Serve(kBuildFile, QByteArray("01502"));
  server_.Serve(kInstaller, installer);
  {
    std::ofstream old(InstallerPath(), std::ios::binary);
    old << "an older installer of the same name";
  }
  folder_ = Folder();  // without a trailing separator: one is added
  RunCheck();
  ASSERT_EQ(announced_, std::vector<std::u16string>{InstallerPath().u16string()});
  std::ifstream in(InstallerPath(), std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(content, installer.toStdString());
  EXPECT_FALSE(std::filesystem::exists(InstallerPath().string() + ".download"));
  EXPECT_TRUE(all_on_gui_thread_);
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(UpdateCheckTest, AFailedDownloadLeavesNoInstaller) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  server_.Serve(kInstaller, LocalHttpServer::Response::Cut(QByteArray(30000, 'n'), 10000));
  folder_ = Folder();
  RunCheck();
  EXPECT_EQ(server_.CountFor(kInstaller), 1);
  EXPECT_TRUE(announced_.empty());
  EXPECT_TRUE(file_errors_.empty());
  EXPECT_TRUE(std::filesystem::is_empty(temp_.path()));
}

TEST_F(UpdateCheckTest, FileErrorsEndTheCheckAfterTheirMessage) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  server_.Serve(kInstaller, QByteArray(30000, 'n'));
  // The chosen folder is gone: the download's file cannot be made.
  folder_ = (temp_ / "gone").u16string();
  RunCheck();
  ASSERT_EQ(file_errors_.size(), 1u);
  EXPECT_EQ(file_errors_[0].first, (temp_ / "gone" / "vaultquill-1502.exe.download").u16string());
  EXPECT_EQ(file_errors_[0].second, ENOENT);
  EXPECT_TRUE(announced_.empty());

  // The installer's place is taken by a folder that cannot be deleted as a file: the file
  // message is shown on this thread and the check ends.
  std::filesystem::create_directories(InstallerPath() / "inside");
  folder_ = Folder();
  RunCheck(1501);
  EXPECT_EQ(messages_.shown().size(), 1u);
  EXPECT_TRUE(announced_.empty());
  EXPECT_TRUE(std::filesystem::is_directory(InstallerPath()));
}

TEST_F(UpdateCheckTest, ACheckWaitingForTheUserEndsWhenStoppedOrWhenTheDialogGoesAway) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  server_.Serve(kInstaller, QByteArray(100, 'n'));
  folder_ = Folder();
  dialog_ = Dialog::kNeverAnswer;
  RunCheck();  // asked to stop while the dialog is up
  dialog_ = Dialog::kDrop;
  RunCheck();  // the dialog went away without an answer
  EXPECT_EQ(notes_.size(), 2u);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);
  EXPECT_TRUE(announced_.empty());
}

TEST(UpdateSchedule, AWeekAndASecondMustHavePassed) {
  EXPECT_FALSE(updater::IsCheckDue(1000, 1000));
  EXPECT_FALSE(updater::IsCheckDue(1000 + 604800, 1000));
  EXPECT_TRUE(updater::IsCheckDue(1000 + 604801, 1000));
  EXPECT_TRUE(updater::IsCheckDue(1700000000, 0));
  // A clock set back before the last check wraps round and makes a check due.
  EXPECT_TRUE(updater::IsCheckDue(999, 1000));
}

TEST(UpdateServer, FixedPathsOnTheConfiguredHost) {
  const QUrl server(QStringLiteral("https://updates.example:8443/ignored/path"));
  EXPECT_EQ(updater::BuildFileAddress(server).toString(),
            QStringLiteral("https://updates.example:8443/files/vaultquill.build"));
  EXPECT_EQ(updater::ReleaseNotesAddress(server).toString(),
            QStringLiteral("https://updates.example:8443/files/vaultquill.info"));
  EXPECT_EQ(
      updater::InstallerAddress(server).toString(),
      QStringLiteral("https://updates.example:8443/downloads/vaultquill.exe?event3=vaultquill20"));
  EXPECT_EQ(updater::DefaultServer().scheme(), QStringLiteral("https"));
  EXPECT_EQ(updater::InstallerPaths(u"/home/a/Downloads/", 1502).installer,
            u"/home/a/Downloads/vaultquill-1502.exe");
  EXPECT_EQ(updater::InstallerPaths(u"/home/a/Downloads", 1502).download,
            u"/home/a/Downloads/vaultquill-1502.exe.download");
}

}  // namespace
