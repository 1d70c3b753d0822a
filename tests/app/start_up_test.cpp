#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "app/single_instance.h"
#include "app/vaultquill_app.h"
#include "core/core.h"
#include "platform/memory_profile_store.h"
#include "platform/profile_store.h"
#include "support/dialog_driver.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "ui/controls/combo_box.h"
#include "ui/edit_database_dlg.h"
#include "ui/login_dlg.h"

namespace {

using Editor = CKEditDatabaseDlg;

const QString kName = QString::fromLatin1(CKSingleInstance::kInstanceName);

QString Text(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// A program folder, a data folder and a runtime folder of their own, a profile store in
// memory and recorded messages: everything InitInstance touches.
class StartUp : public ::testing::Test {
 protected:
  StartUp() : previous_profile_(platform::InstallProfile(&profile_)) {
    std::filesystem::create_directories(program_ / "Languages");
    std::filesystem::create_directories(data_);
    std::filesystem::create_directories(runtime_);
    std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
    profile_.WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder",
                                data_.u16string() + u"/");
    app_.SetInstanceFolder(Text(runtime_));
    app_.SetProgramFolder(Text(program_));
  }
  ~StartUp() override { platform::InstallProfile(previous_profile_); }

  void AddLanguages() {
    for (const auto& file : std::filesystem::directory_iterator(VQ_LANGUAGES_DIR)) {
      std::filesystem::copy_file(file.path(), program_ / "Languages" / file.path().filename());
    }
  }

  // Starts the real program a second time, as the user would; returns its exit code.
  int StartProgramAgain(const std::filesystem::path& config) {
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Text(runtime_));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Text(config));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(VQ_PROGRAM), {});
    if (!second.waitForFinished(30000)) {
      second.kill();
      return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
  }

  test::TempDir root_;
  const std::filesystem::path program_ = root_ / "program";
  const std::filesystem::path data_ = root_ / "data";
  const std::filesystem::path runtime_ = root_ / "runtime";
  test::RecordingMessages messages_;
  platform::MemoryProfileStore profile_;
  platform::ProfileStore* previous_profile_;
  CVaultQuillApp app_;
};

TEST_F(StartUp, WithoutLanguageFilesTheProgramSaysSoAndEnds) {
  EXPECT_FALSE(app_.InitInstance());
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{"No Languages found", "Core Initialization failed"}));
  EXPECT_EQ(TheCore(), nullptr);
  // Nothing was saved.
  EXPECT_EQ(profile_.GetProfileString(u"Interface Settings", u"m_csLanguage", u"-"), u"-");
}

TEST_F(StartUp, ASecondStartOfTheProgramWakesTheFirstAndEndsSilently) {
  CKSingleInstance first(kName, Text(runtime_));
  ASSERT_EQ(first.Acquire(), CKSingleInstance::Start::First);
  QSignalSpy woken(&first, &CKSingleInstance::WakeUpReceived);
  const test::TempDir config;
  EXPECT_EQ(StartProgramAgain(config.path()), 0);
  ASSERT_TRUE(woken.wait(5000));
  EXPECT_EQ(woken.front().front().value<std::uint32_t>(), CKSingleInstance::WakeUpMessage(kName));
  // It wrote no settings and made no folders of its own.
  EXPECT_TRUE(std::filesystem::is_empty(config.path()));
}

TEST_F(StartUp, AFreshUserIsMadeLogsInIsLoggedOutAndTheLoopEndsWhenTheDialogCloses) {
  AddLanguages();
  const test::TempDir config;
  bool came_forward = false;
  bool woken_back = false;
  int second_exit = -1;
  bool second_minimised = true;
  QString preselected;

  test::WhenRunning<Editor>([&](Editor& editor) {
    editor.Item<QLineEdit>(Editor::kName)->setText(QStringLiteral("quinn"));
    editor.Item<QLineEdit>(Editor::kPassword)->setText(QStringLiteral("open sesame"));
    editor.Item<QLineEdit>(Editor::kConfirm)->setText(QStringLiteral("open sesame"));
    QTest::mouseClick(editor.GetDlgItem(CKDialog::kIdOk), Qt::LeftButton);
  });
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    // A fresh installation starts its first log-in dialog minimised, but the user made on
    // the way brings it forward.
    came_forward = !login.IsInTray() && !login.isMinimized();
    // Sent to the tray, then the user starts the program again: this one comes back.
    login.MinimiseToTray();
    ASSERT_TRUE(login.IsInTray());
    second_exit = StartProgramAgain(config.path());
    test::ProcessEvents(300);
    woken_back = !login.IsInTray() && !login.isMinimized();

    test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& again) {
      second_minimised = again.isMinimized();
      preselected = again.Item<CKComboBox>(CKLoginDlg::kUserList)->currentText();
      again.close();
    });
    login.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QStringLiteral("open sesame"));
    QTest::mouseClick(login.GetDlgItem(CKDialog::kIdOk), Qt::LeftButton);
  });

  EXPECT_FALSE(app_.InitInstance());
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_TRUE(came_forward);
  EXPECT_EQ(second_exit, 0);
  EXPECT_TRUE(woken_back);
  EXPECT_FALSE(second_minimised);
  EXPECT_EQ(preselected, QStringLiteral("quinn"));
  EXPECT_TRUE(std::filesystem::exists(data_ / "quinn.VaultQuill"));
  EXPECT_EQ(TheCore(), nullptr);
  // The settings were saved on the way out.
  EXPECT_EQ(profile_.GetProfileString(u"Interface Settings", u"m_csLastLogin", u""), u"quinn");
  std::vector<std::uint8_t> placement;
  EXPECT_TRUE(profile_.GetProfileBinary(u"Windows Settings", u"m_stLogIn", placement));
}

}  // namespace
