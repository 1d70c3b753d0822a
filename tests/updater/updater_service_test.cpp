#include "updater/updater_service.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <optional>

#include "local_http_server.h"
#include "support/temp_dir.h"
#include "updater_fixture.h"

namespace {

constexpr char kBuildFile[] = "/files/vaultquill.build";
constexpr char kInstaller[] = "/downloads/vaultquill.exe?event3=vaultquill20";
constexpr std::uint32_t kWeek = 604800;

class UpdaterServiceTest : public test::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    server_.Serve("/files/vaultquill.info", QByteArray("{\\rtf1 Notes}"));
    server_.Serve(kInstaller, QByteArray(20000, 'i'));
    system_.m_dwordCheckedTime = now_;  // the last check was now
  }
  void TearDown() override { CKUpdaterService::StopAll(); }

  // Starts a check later than the last one, with the program's own dialog unless fake_dialog_
  // is set.
  bool Start(std::uint32_t later = kWeek + 1) {
    now_ += later;
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
    return CKUpdaterService::Start(interface_, system_, run_time_, languages_, options);
  }
  // Starts a check and lets it run to its end.
  bool Check(std::uint32_t later = kWeek + 1) {
    if (!Start(later)) {
      return false;
    }
    EXPECT_TRUE(test::PumpUntil([] { return CKUpdaterService::RunningChecks() == 0; }));
    QCoreApplication::processEvents();
    return true;
  }
  std::filesystem::path Installer(const char* build) const {
    return temp_ / ("vaultquill-" + std::string(build) + ".exe");
  }

  test::LocalHttpServer server_;
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
  EXPECT_FALSE(Check(kWeek));
  EXPECT_EQ(system_.m_dwordCheckedTime, now_ - kWeek);
  EXPECT_TRUE(Check(1));
  EXPECT_EQ(system_.m_dwordCheckedTime, now_);
  EXPECT_FALSE(Check(0));
  EXPECT_EQ(server_.CountFor(kBuildFile), 1);
  // A clock set back before the last check makes the difference wrap round: a check is made.
  EXPECT_TRUE(Check(-3600));
  EXPECT_EQ(server_.CountFor(kBuildFile), 2);
  interface_.m_boolCheckForUpdates = false;
  EXPECT_FALSE(Check(10 * kWeek));
  EXPECT_EQ(server_.CountFor(kBuildFile), 2);
}

TEST_F(UpdaterServiceTest, FiveDigitsOfANewerBuildAreOfferedOnce) {
  // Other malformed build files and error pages are the parser's and the reader's tests.
  const std::pair<const char*, int> kChecks[] = {
      {"01502\n", 0}, {"abcde", 0}, {"01501", 0},  // six bytes, no digits, this build
      {"01502", 1},   {"01502", 1},                // offered before
      {"01503", 2},
  };
  for (const auto& [build, offers] : kChecks) {
    server_.Serve(kBuildFile, QByteArray(build));
    ASSERT_TRUE(Check());
    EXPECT_EQ(offers_, offers) << build;
    EXPECT_EQ(server_.CountFor("/files/vaultquill.info"), offers);
  }
  EXPECT_EQ(system_.m_dwordCheckedBuild, 1503u);
  // The notes come in a zero-filled block of 16 KiB, on this (the interface) thread.
  EXPECT_EQ(notes_, NotesBlock("{\\rtf1 Notes}"));
  EXPECT_TRUE(on_gui_thread_);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);  // the fake user closed the dialog each time

  answer_dialog_ = false;  // a dialog gone without an answer ends the check too
  server_.Serve(kBuildFile, QByteArray("01504"));
  ASSERT_TRUE(Check());
  EXPECT_EQ(offers_, 3);
  EXPECT_EQ(server_.CountFor(kInstaller), 0);
}

TEST_F(UpdaterServiceTest, TheInstallerReplacesAnOlderFileIsAnnouncedAndItsFolderOpenedOnYes) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  std::ofstream(Installer("1502")) << "an older download of the same name";
  folder_ = temp_.path().u16string();  // without a trailing separator: one is added
  messages_.QueueAnswer(true);
  ASSERT_TRUE(Check());
  EXPECT_EQ(std::filesystem::file_size(Installer("1502")), 20000u);
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_TRUE(messages_.shown()[0].question);
  EXPECT_NE(messages_.Texts()[0].find(Installer("1502").string()), std::string::npos);
  EXPECT_EQ(opened_, std::vector<QString>{QString::fromStdU16String(folder_.value() + u"/")});
  EXPECT_TRUE(on_gui_thread_);

  server_.Serve(kBuildFile, QByteArray("01503"));
  messages_.QueueAnswer(false);
  ASSERT_TRUE(Check());
  EXPECT_TRUE(std::filesystem::exists(Installer("1503")));
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.path()), {}), 2);
}

TEST_F(UpdaterServiceTest, AFailedDownloadLeavesNoInstallerAndAFileErrorIsShown) {
  server_.Serve(kBuildFile, QByteArray("01502"));
  server_.Serve(kInstaller, {.body = QByteArray(30000, 'i'), .cut_after = 10000});
  folder_ = temp_.path().u16string();
  ASSERT_TRUE(Check());
  EXPECT_EQ(server_.CountFor(kInstaller), 1);
  EXPECT_TRUE(std::filesystem::is_empty(temp_.path()));
  EXPECT_TRUE(messages_.shown().empty());

  server_.Serve(kInstaller, QByteArray(20000, 'i'));
  server_.Serve(kBuildFile, QByteArray("01503"));
  folder_ = (temp_ / "removed").u16string();
  ASSERT_TRUE(Check());
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_FALSE(messages_.shown()[0].question);
  EXPECT_NE(messages_.Texts()[0].find("vaultquill-1503.exe.download"), std::string::npos)
      << messages_.Texts()[0];

  // The installer's place is taken by a folder that cannot be deleted as a file.
  std::filesystem::create_directories(Installer("1504") / "inside");
  server_.Serve(kBuildFile, QByteArray("01504"));
  folder_ = temp_.path().u16string();
  ASSERT_TRUE(Check());
  ASSERT_EQ(messages_.shown().size(), 2u);
  EXPECT_FALSE(messages_.shown()[1].question);
  EXPECT_TRUE(std::filesystem::is_directory(Installer("1504")));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(UpdaterServiceTest, TheProgramsDialogLeadsToTheDownloadAndStopAllClosesIt) {
  fake_dialog_ = false;
  server_.Serve(kBuildFile, QByteArray("01502"));
  ASSERT_TRUE(Start());
  ASSERT_TRUE(test::PumpUntil([] { return OpenDialog() != nullptr; }));
  OpenDialog()
      ->Item<QLineEdit>(CKUpdaterDlg::kFolder)
      ->setText(QString::fromStdString(temp_.path()));
  OpenDialog()->Item<QAbstractButton>(CKDialog::kIdOk)->click();
  ASSERT_TRUE(test::PumpUntil([] { return CKUpdaterService::RunningChecks() == 0; }));
  QCoreApplication::processEvents();
  EXPECT_TRUE(std::filesystem::exists(Installer("1502")));  // the dialog's part: its own tests

  // Checks waiting on the user or on the network are ended.
  server_.Serve(kBuildFile, QByteArray("01503"));
  ASSERT_TRUE(Start());
  ASSERT_TRUE(test::PumpUntil([] { return OpenDialog() != nullptr; }));
  CKUpdaterService::StopAll();
  EXPECT_EQ(CKUpdaterService::RunningChecks(), 0u);
  EXPECT_EQ(OpenDialog(), nullptr);
  EXPECT_EQ(server_.CountFor(kInstaller), 1);
  server_.Serve(kBuildFile, {.never_answer = true});
  ASSERT_TRUE(Start());
  ASSERT_TRUE(test::PumpUntil([this] { return server_.CountFor(kBuildFile) == 3; }));
  CKUpdaterService::StopAll();
  EXPECT_EQ(CKUpdaterService::RunningChecks(), 0u);
}

TEST(UpdateServer, IsReachedOverHttps) {
  EXPECT_EQ(updater::DefaultServer().scheme(), QStringLiteral("https"));
}

}  // namespace
