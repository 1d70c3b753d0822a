#include "updater/updater_service.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <optional>

#include "local_http_server.h"
#include "platform/utf.h"
#include "support/temp_dir.h"
#include "updater_fixture.h"

namespace {

using test::LocalHttpServer;

constexpr char kBuildFile[] = "/files/vaultquill.build";
constexpr char kInstaller[] = "/downloads/vaultquill.exe?event3=vaultquill20";
constexpr std::uint32_t kWeek = 604800;

class UpdaterServiceTest : public test::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    server_.Serve("/files/vaultquill.info", QByteArray("{\\rtf1 Notes}"));
    server_.Serve(kInstaller, QByteArray(20000, 'i'));
    system_.m_dwordCheckedTime = now_ - kWeek - 1;  // a check is due
  }
  void TearDown() override { CKUpdaterService::StopAll(); }

  // The program's own dialog unless fake_dialog_ is set.
  KUpdaterOptions Options() {
    KUpdaterOptions options;
    options.server = server_.Url();
    options.clock = [this] { return now_; };
    if (fake_dialog_) {
      options.offer = [this](const QByteArray& notes, KUpdaterGuiActions::OfferDone done) {
        on_gui_thread_ &= QThread::currentThread() == QCoreApplication::instance()->thread();
        ++offers_;
        notes_ = notes;
        if (answer_dialog_) {
          done(folder_);
        }  // else the dialog went away unanswered
      };
    }
    options.open_folder = [this](const QString& folder) {
      on_gui_thread_ &= QThread::currentThread() == QCoreApplication::instance()->thread();
      opened_.push_back(folder);
    };
    return options;
  }

  bool Start() {
    return CKUpdaterService::Start(interface_, system_, run_time_, languages_, Options());
  }

  // Starts a check and lets it run to its end.
  bool Check() {
    if (!Start()) {
      return false;
    }
    EXPECT_TRUE(test::PumpUntil([] { return CKUpdaterService::RunningChecks() == 0; }));
    QCoreApplication::processEvents();
    return true;
  }

  std::filesystem::path Installer(const char* name) const { return temp_ / name; }

  LocalHttpServer server_;
  test::TempDir temp_;
  std::uint32_t now_ = 2000000000;
  bool fake_dialog_ = true;
  bool answer_dialog_ = true;
  std::optional<std::u16string> folder_;  // what the fake dialog answers
  int offers_ = 0;
  QByteArray notes_;
  std::vector<QString> opened_;
  bool on_gui_thread_ = true;
};

TEST_F(UpdaterServiceTest, AtMostOneCheckAWeekAndNoneWhenSwitchedOff) {
  server_.Serve(kBuildFile, QByteArray("01501"));
  system_.m_dwordCheckedTime = now_ - kWeek;
  EXPECT_FALSE(Check());
  EXPECT_EQ(system_.m_dwordCheckedTime, now_ - kWeek);
  now_ += 1;
  EXPECT_TRUE(Check());
  EXPECT_EQ(system_.m_dwordCheckedTime, now_);
  EXPECT_FALSE(Check());
  EXPECT_EQ(server_.CountFor(kBuildFile), 1);

  // A clock set back before the last check makes the difference wrap round: a check is made.
  now_ -= 3600;
  EXPECT_TRUE(Check());
  EXPECT_EQ(server_.CountFor(kBuildFile), 2);

  interface_.m_boolCheckForUpdates = false;
  now_ += 10 * kWeek;
  EXPECT_FALSE(Check());
  EXPECT_EQ(server_.CountFor(kBuildFile), 2);
}

TEST_F(UpdaterServiceTest, OnlyFiveDigitsOfANewerBuildAreOffered) {
  for (const QByteArray& content : {QByteArray("01502\n"), QByteArray("abcde"), QByteArray("0150"),
                                    QByteArray("01501"), QByteArray("")}) {
    server_.Serve(kBuildFile, content);
    ASSERT_TRUE(Check());
    now_ += kWeek + 1;
  }
  server_.Serve(kBuildFile, LocalHttpServer::Response::Status(404, "01502"));
  ASSERT_TRUE(Check());
  EXPECT_EQ(offers_, 0);
  EXPECT_EQ(server_.CountFor("/files/vaultquill.info"), 0);
  EXPECT_EQ(system_.m_dwordCheckedBuild, 1501u);
}

TEST_F(UpdaterServiceTest, ABuildIsOfferedOnceAndAHigherOneAgain) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  ASSERT_TRUE(Check());
  EXPECT_EQ(offers_, 1);
  EXPECT_EQ(system_.m_dwordCheckedBuild, 1502u);
  // The notes come in a zero-filled block of 16 KiB, on this (the interface) thread.
  EXPECT_EQ(notes_, NotesBlock("{\\rtf1 Notes}"));
  EXPECT_TRUE(on_gui_thread_);
  now_ += kWeek + 1;
  ASSERT_TRUE(Check());
  EXPECT_EQ(offers_, 1);
  server_.Serve(kBuildFile, QByteArray("01503"));
  now_ += kWeek + 1;
  ASSERT_TRUE(Check());
  EXPECT_EQ(offers_, 2);
  EXPECT_EQ(system_.m_dwordCheckedBuild, 1503u);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);  // the fake user closed the dialog each time
}

TEST_F(UpdaterServiceTest, TheInstallerReplacesAnOlderFileIsAnnouncedAndItsFolderOpenedOnYes) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  std::ofstream(Installer("vaultquill-1502.exe")) << "an older download of the same name";
  folder_ = temp_.path().u16string();  // without a trailing separator: one is added
  messages_.QueueAnswer(true);
  ASSERT_TRUE(Check());
  EXPECT_EQ(std::filesystem::file_size(Installer("vaultquill-1502.exe")), 20000u);
  EXPECT_FALSE(std::filesystem::exists(Installer("vaultquill-1502.exe.download")));
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_TRUE(messages_.shown()[0].question);
  EXPECT_NE(messages_.Texts()[0].find(Installer("vaultquill-1502.exe").string()),
            std::string::npos);
  EXPECT_EQ(opened_, std::vector<QString>{QString::fromStdU16String(folder_.value() + u"/")});

  server_.Serve(kBuildFile, QByteArray("01503"));
  now_ += kWeek + 1;
  messages_.QueueAnswer(false);
  ASSERT_TRUE(Check());
  EXPECT_TRUE(std::filesystem::exists(Installer("vaultquill-1503.exe")));
  EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(UpdaterServiceTest, AFailedDownloadLeavesNoInstaller) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  server_.Serve(kInstaller, LocalHttpServer::Response::Cut(QByteArray(30000, 'i'), 10000));
  folder_ = temp_.path().u16string();
  ASSERT_TRUE(Check());
  EXPECT_EQ(server_.CountFor(kInstaller), 1);
  EXPECT_TRUE(std::filesystem::is_empty(temp_.path()));
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(UpdaterServiceTest, AFileErrorShowsTheFileMessageAndEndsTheCheck) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  folder_ = (temp_ / "removed").u16string();
  ASSERT_TRUE(Check());
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_FALSE(messages_.shown()[0].question);
  EXPECT_NE(messages_.Texts()[0].find("vaultquill-1502.exe.download"), std::string::npos)
      << messages_.Texts()[0];
  EXPECT_TRUE(opened_.empty());

  // The installer's place is taken by a folder that cannot be deleted as a file.
  std::filesystem::create_directories(Installer("vaultquill-1503.exe") / "inside");
  server_.Serve(kBuildFile, QByteArray("01503"));
  folder_ = temp_.path().u16string();
  now_ += kWeek + 1;
  ASSERT_TRUE(Check());
  ASSERT_EQ(messages_.shown().size(), 2u);
  EXPECT_FALSE(messages_.shown()[1].question);
  EXPECT_TRUE(std::filesystem::is_directory(Installer("vaultquill-1503.exe")));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(UpdaterServiceTest, TheProgramsDialogLeadsToTheDownload) {
  fake_dialog_ = false;
  server_.Serve(kBuildFile, QByteArray("01502"));
  ASSERT_TRUE(Start());
  ASSERT_TRUE(test::PumpUntil([] { return OpenDialog() != nullptr; }));
  CKUpdaterDlg* dialog = OpenDialog();
  dialog->Item<QLineEdit>(CKUpdaterDlg::kFolder)
      ->setText(QString::fromStdString(temp_.path().string()));
  dialog->Item<QAbstractButton>(CKDialog::kIdOk)->click();
  ASSERT_TRUE(test::PumpUntil([] { return CKUpdaterService::RunningChecks() == 0; }));
  QCoreApplication::processEvents();
  EXPECT_TRUE(std::filesystem::exists(Installer("vaultquill-1502.exe")));
  EXPECT_EQ(system_.m_csUpdateSavePath, temp_.path().u16string());
  // The notice of the download, then the question where it went.
  ASSERT_EQ(messages_.shown().size(), 2u);
  EXPECT_TRUE(messages_.shown()[1].question);
}

TEST_F(UpdaterServiceTest, ADialogGoneWithoutAnAnswerEndsTheCheck) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  answer_dialog_ = false;
  ASSERT_TRUE(Check());
  EXPECT_EQ(offers_, 1);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);
}

TEST_F(UpdaterServiceTest, StopAllEndsChecksWaitingOnTheNetworkOrOnTheUser) {
  server_.Serve(kBuildFile, LocalHttpServer::Response::Silent());
  ASSERT_TRUE(Start());
  ASSERT_TRUE(test::PumpUntil([this] { return server_.CountFor(kBuildFile) == 1; }));
  CKUpdaterService::StopAll();
  EXPECT_EQ(CKUpdaterService::RunningChecks(), 0u);

  fake_dialog_ = false;
  server_.Serve(kBuildFile, QByteArray("01502"));
  now_ += kWeek + 1;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(test::PumpUntil([] { return OpenDialog() != nullptr; }));
  CKUpdaterService::StopAll();
  EXPECT_EQ(CKUpdaterService::RunningChecks(), 0u);
  EXPECT_EQ(OpenDialog(), nullptr);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);
}

}  // namespace

namespace {

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
}

}  // namespace
