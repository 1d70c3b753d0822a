// Start-up as main() does it: the fixed messages when it cannot start, then the whole log-in
// loop from a fresh installation with the main window in it and the real program started again.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "app/vaultquill_app.h"
#include "core/core.h"
#include "languages/menus.h"
#include "platform/memory_profile_store.h"
#include "platform/profile_store.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "ui/controls/combo_box.h"
#include "ui/edit_database_dlg.h"
#include "ui/login_dlg.h"
#include "ui/main_window.h"

namespace {

using Editor = CKEditDatabaseDlg;

QString Text(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

TEST(StartUp, WithoutLanguagesItEndsWithItsMessagesAndAFreshUserThenLogsInUntilTheUserQuits) {
  // A program folder, a data folder and a runtime folder of their own, a profile store in
  // memory and recorded messages: everything InitInstance touches.
  const test::TempDir root;
  const std::filesystem::path program = root / "program";
  const std::filesystem::path data = root / "data";
  const std::filesystem::path runtime = root / "runtime";
  for (const auto& folder : {program / "Languages", data, runtime}) {
    std::filesystem::create_directories(folder);
  }
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  platform::MemoryProfileStore profile;
  platform::ProfileStore* const previous_profile = platform::InstallProfile(&profile);
  profile.WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder", data.u16string() + u"/");
  test::RecordingMessages messages;
  const auto start = [&] {
    CVaultQuillApp app;
    app.SetInstanceFolder(Text(runtime));
    app.SetProgramFolder(Text(program));
    app.SetMainWindowRunner(CVaultQuillDlg::Run);
    return app.InitInstance();
  };
  EXPECT_FALSE(start());
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{"No Languages found", "Core Initialization failed"}));
  EXPECT_EQ(TheCore(), nullptr);
  EXPECT_EQ(profile.GetProfileString(u"Interface Settings", u"m_csLanguage", u"-"), u"-");

  messages.Clear();
  std::filesystem::copy(VQ_LANGUAGES_DIR, program / "Languages");
  const test::TempDir config;
  int second_exit = -1;
  std::vector<std::string> seen;  // what each log-in dialog and main window found
  const auto log_in = [&](CKLoginDlg& login, std::function<void(CVaultQuillDlg&)> window) {
    test::WhenRunning<CVaultQuillDlg>(std::move(window));
    login.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QStringLiteral("open sesame"));
    QTest::mouseClick(login.GetDlgItem(CKDialog::kIdOk), Qt::LeftButton);
  };
  const auto main_window_shown = [&] {
    seen.push_back("window of " + platform::ToUtf8(TheCore()->m_Databases.GetCurrent()->GetName()));
  };

  test::WhenRunning<Editor>([&](Editor& editor) {
    for (const int id : {Editor::kName, Editor::kPassword, Editor::kConfirm}) {
      editor.Item<QLineEdit>(id)->setText(id == Editor::kName ? "quinn" : "open sesame");
    }
    QTest::mouseClick(editor.GetDlgItem(CKDialog::kIdOk), Qt::LeftButton);
  });
  test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& login) {
    // A fresh installation starts its first log-in dialog minimised, but the user made on
    // the way brings it forward.
    seen.push_back(!login.IsInTray() && !login.isMinimized() ? "forward" : "in the tray");
    // Sent to the tray, then the user starts the program again: this one comes back.
    login.MinimiseToTray();
    ASSERT_TRUE(login.IsInTray());
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Text(runtime));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Text(config.path()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(VQ_PROGRAM), {});
    EXPECT_TRUE(second.waitForFinished(30000));
    second_exit = second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
    test::ProcessEvents(300);
    seen.push_back(!login.IsInTray() && !login.isMinimized() ? "woken" : "still in the tray");

    log_in(login, [&](CVaultQuillDlg& window) {
      main_window_shown();
      // The close box logs out: the log-in dialog comes back, shown, with the user chosen.
      test::WhenRunning<CKLoginDlg>([&](CKLoginDlg& again) {
        seen.push_back(again.isMinimized() ? "minimised" : "shown");
        seen.push_back(again.Item<CKComboBox>(CKLoginDlg::kUserList)->currentText().toStdString());
        log_in(again, [&](CVaultQuillDlg& last) {
          main_window_shown();
          last.MenuAction(menus::kCmdExit)->trigger();  // the end
        });
      });
      window.close();
    });
  });

  EXPECT_FALSE(start());
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(seen, (std::vector<std::string>{"forward", "woken", "window of quinn", "shown", "quinn",
                                            "window of quinn"}));
  // The second start ended at once, wrote no settings and made no folders of its own.
  EXPECT_EQ(second_exit, 0);
  EXPECT_TRUE(std::filesystem::is_empty(config.path()));
  EXPECT_EQ(TheCore(), nullptr);
  // The interface, system and window settings were saved on the way out.
  EXPECT_EQ(profile.GetProfileString(u"Interface Settings", u"m_csLastLogin", u""), u"quinn");
  EXPECT_NE(profile.GetProfileInt(u"System Settings", u"m_dwordCheckedTime", 12345), 12345u);
  std::vector<std::uint8_t> placement;
  EXPECT_TRUE(profile.GetProfileBinary(u"Windows Settings", u"m_stLogIn", placement));
  platform::InstallProfile(previous_profile);
}

}  // namespace
