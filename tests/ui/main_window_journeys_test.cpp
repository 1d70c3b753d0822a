// Journeys across the main window and the dialogs it opens (the real note and folder editors,
// the move-to dialog, the settings and the generator), each change read back from the user's
// file on disk; and the program's log-in loop with the main window in it.
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "app/vaultquill_app.h"
#include "core/core.h"
#include "elements/tags.h"
#include "languages/menus.h"
#include "main_window_fixture.h"
#include "platform/memory_profile_store.h"
#include "platform/profile_store.h"
#include "support/dialog_driver.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/combo_box_ex.h"
#include "ui/controls/list_ctrl.h"
#include "ui/entry_editors_qt.h"
#include "ui/folder_editor.h"
#include "ui/generator_dlg.h"
#include "ui/login_dlg.h"
#include "ui/move_to_dlg.h"
#include "ui/note_editor.h"
#include "ui/settings_dlg.h"

namespace test {
namespace {

using Dlg = CVaultQuillDlg;
using Rows_ = std::vector<std::string>;

// The main window with the program's own editors in place of the scripted ones.
class MainWindowJourney : public MainWindowTest {
 protected:
  CKQtEntryEditors real_editors_;
};

TEST_F(MainWindowJourney, NotesAndFoldersAreMadeInTheirEditorsWithTheDefaultsWhenWanted) {
  CKSettingsUserBased& options = core().m_SettingsUserBased;
  options.boolAutoFillNewNotesWithDefaults = true;
  options.stringDefaultLogin = u"ada.l";
  options.intPasswordLength = 14;
  QString offered_password;
  QString unfilled_login = QStringLiteral("-");
  Run([&](Dlg& window) {
    WhenRunning<CKFolderDlg>([](CKFolderDlg& editor) {
      Type(editor, CKFolderDlg::kName, QStringLiteral("Banking"));
      Click(editor, CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_F);
    WhenRunning<CKNoteDlg>([&](CKNoteDlg& editor) {
      EXPECT_EQ(TextOf(editor, CKNoteDlg::kLogin), QStringLiteral("ada.l"));
      offered_password = TextOf(editor, CKNoteDlg::kPassword);
      Type(editor, CKNoteDlg::kTitle, QStringLiteral("Mail"));
      Click(editor, CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_N);
    options.boolAutoFillNewNotesWithDefaults = false;
    WhenRunning<CKNoteDlg>([&](CKNoteDlg& editor) {
      unfilled_login = TextOf(editor, CKNoteDlg::kLogin);
      Click(editor, CKDialog::kIdCancel);
    });
    Press(window, Qt::CTRL | Qt::Key_N);
    EXPECT_EQ(Rows(window), (Rows_{"Banking", "Mail"}));
    window.close();
  });
  EXPECT_EQ(offered_password.size(), 14);
  EXPECT_EQ(unfilled_login, QString());
  const auto reread = Reopen();
  ASSERT_NE(Child(reread->GetEntriesRoot(), u"Banking"), nullptr);
  CKTLVARRAY* mail = Child(reread->GetEntriesRoot(), u"Mail");
  ASSERT_NE(mail, nullptr);
  EXPECT_EQ(Field(*mail, TAG_LOGIN), u"ada.l");
  EXPECT_EQ(QString::fromStdU16String(Field(*mail, TAG_PASSWORD)), offered_password);
}

TEST_F(MainWindowJourney, ANoteMovesIntoAFolderButAFolderNeverIntoItself) {
  CKTLVARRAY& bank = AddFolder(root(), u"Bank");
  CKTLVARRAY& cards = AddFolder(bank, u"Cards");
  AddNote(root(), u"pin");
  const auto move_to = [](CKTLVARRAY& folder, bool refused) {
    WhenRunning<CKMoveToDlg>([&folder, refused](CKMoveToDlg& dialog) {
      ASSERT_TRUE(dialog.Item<CKComboBoxEx>(CKMoveToDlg::kDestination)->SelectEntry(&folder));
      Click(dialog, CKDialog::kIdOk);
      if (refused) {
        EXPECT_TRUE(dialog.isVisible());
        Click(dialog, CKDialog::kIdCancel);
      }
    });
  };
  Run([&](Dlg& window) {
    Select(window, u"pin");
    move_to(bank, false);
    window.OnEntryCommand(menus::kEntryMove);
    EXPECT_EQ(Rows(window), Rows_{"Bank"});
    Select(window, u"Bank");
    move_to(cards, true);
    window.OnEntryCommand(menus::kEntryMove);
    EXPECT_EQ(Rows(window), Rows_{"Bank"});
    window.close();
  });
  EXPECT_EQ(Messages(), std::vector<std::string>{Message(20)});
  const auto reread = Reopen();
  EXPECT_EQ(Child(reread->GetEntriesRoot(), u"pin"), nullptr);
  CKTLVARRAY* moved_into = Child(reread->GetEntriesRoot(), u"Bank");
  ASSERT_NE(moved_into, nullptr);
  EXPECT_NE(Child(*moved_into, u"pin"), nullptr);
  EXPECT_NE(Child(*moved_into, u"Cards"), nullptr);
}

TEST_F(MainWindowJourney, AFileAttachedComesBackByteIdenticalAndOwnerOnlyAndTooLargeIsRefused) {
  AddNote(root(), u"Scans");
  const auto passport = MakeFile(files() / "passport.pdf", 150'000);
  const auto huge = MakeFile(files() / "huge.iso", 16'777'216, true);
  // A file that is overwritten takes the owner-only mode too.
  const auto back = MakeFile(files() / "passport back.pdf", 10);
  std::filesystem::permissions(back, std::filesystem::perms(0644));

  Run([&](Dlg& window) {
    WhenRunning<CKNoteDlg>([&](CKNoteDlg& editor) {
      test_core().choosers().QueueFile(huge);
      Click(editor, CKNoteDlg::kAddFile);
      test_core().choosers().QueueFile(passport);
      Click(editor, CKNoteDlg::kAddFile);
      Click(editor, CKDialog::kIdOk);
    });
    ClickRow(window, u"Scans", false);  // one click opens it
    WhenRunning<CKNoteDlg>([&](CKNoteDlg& editor) {
      editor.Item<CKListCtrl>(CKNoteDlg::kAttachments)->selectRow(0);
      test_core().choosers().QueueFile(back);
      Click(editor, CKNoteDlg::kSaveFile);
      Click(editor, CKDialog::kIdCancel);
    });
    Select(window, u"Scans");
    Press(window, Qt::CTRL | Qt::Key_E);
    window.close();
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{Message(13), Message(28, back.string())}));
  EXPECT_EQ(ReadWhole(back), ReadWhole(passport));
  EXPECT_EQ(ModeOf(back), 0600u);
  const auto reread = Reopen();
  CKTLVARRAY* scans = Child(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(scans, nullptr);
  ASSERT_EQ(Attachments(*scans).size(), 1u);
  EXPECT_EQ(Field(*Attachments(*scans)[0], TAG_FILE_NAME), u"passport.pdf");
  EXPECT_EQ(Number(*Attachments(*scans)[0], TAG_FILE_SIZE), 150'000u);
  EXPECT_NE(Number(*Attachments(*scans)[0], TAG_FILE_MODIFIED), 0u);
  EXPECT_EQ(Content(*Attachments(*scans)[0]), ReadWhole(passport));
}

TEST_F(MainWindowJourney, TheMenuFollowsALanguageChosenInTheSettingsAndTheGeneratorStandsAlone) {
  bool stand_alone = false;
  Run([&](Dlg& window) {
    EXPECT_EQ(window.windowTitle(), Text(3, 255));
    EXPECT_EQ(window.MenuAction(menus::kCmdRestore)->text(), Text(242, 9));
    EXPECT_TRUE(window.MenuAction(menus::kCmdNewNote)->text().endsWith(QStringLiteral("\tCtrl+N")));
    EXPECT_EQ(window.GetDlgItem(Dlg::kUpButton)->toolTip(), Text(163, 9));
    WhenRunning<CKSettingsDlg>([](CKSettingsDlg& dialog) {
      auto* list = dialog.Item<CKComboBox>(CKSettingsDlg::kLanguage);
      const int german = list->findText(QStringLiteral("Deutsch"));
      ASSERT_GE(german, 0);
      list->setCurrentIndex(german);
      emit list->activated(german);
      Click(dialog, CKDialog::kIdCancel);  // the language stays all the same
    });
    Press(window, Qt::CTRL | Qt::Key_T);
    EXPECT_EQ(window.MenuBar()->actions()[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(TextOf(window, Dlg::kSearchCaption), Text(3, 0));
    EXPECT_EQ(window.MenuAction(menus::kCmdNewNote)->text().section(QLatin1Char('\t'), 0, 0),
              Text(241, 1));
    EXPECT_EQ(window.GetDlgItem(Dlg::kUpButton)->toolTip(), Text(163, 9));

    WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& dialog) {
      stand_alone = !dialog.IsPickMode();
      Click(dialog, CKDialog::kIdCancel);
    });
    Press(window, Qt::CTRL | Qt::Key_P);
    window.close();
  });
  EXPECT_TRUE(stand_alone);
}

// The program's start-up with the main window in its log-in loop, as main() sets it up.
TEST(LogInLoop, TheMainWindowRunsAfterEachLogInUntilTheUserQuits) {
  const TempDir root;
  const std::filesystem::path program = root.path() / "program";
  const std::filesystem::path runtime = root.path() / "runtime";
  std::filesystem::create_directories(program / "Languages");
  std::filesystem::create_directories(root.path() / "data");
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  std::filesystem::copy(VQ_LANGUAGES_DIR, program / "Languages");
  WriteUserFile(root.path() / "data" / "ada.VaultQuill", u"ada", u"pw", u"");
  platform::MemoryProfileStore profile;
  platform::ProfileStore* previous = platform::InstallProfile(&profile);
  profile.WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder",
                             (root.path() / "data").u16string() + u"/");
  for (const char16_t* option : {u"m_boolRunMinimised", u"m_boolStartUp", u"m_boolHotKey"}) {
    profile.WriteProfileInt(u"Interface Settings", option, 0);
  }
  RecordingMessages messages;

  int windows = 0;
  std::function<void(CKLoginDlg&)> log_in;
  const std::function<void(Dlg&)> first = [&](Dlg& window) {
    ++windows;
    EXPECT_EQ(TheCore()->m_Databases.GetCurrent()->GetName(), u"ada");
    window.close();  // back to the log-in dialog
    WhenRunning<CKLoginDlg>(log_in);
  };
  const std::function<void(Dlg&)> second = [&](Dlg& window) {
    ++windows;
    Press(window, Qt::ALT | Qt::Key_X);  // the end
  };
  int log_ins = 0;
  log_in = [&](CKLoginDlg& login) {
    login.Item<QLineEdit>(CKLoginDlg::kPassword)->setText(QStringLiteral("pw"));
    WhenRunning<Dlg>(++log_ins == 1 ? first : second);
    QTest::mouseClick(login.GetDlgItem(CKDialog::kIdOk), Qt::LeftButton);
  };
  WhenRunning<CKLoginDlg>(log_in);

  CVaultQuillApp app;
  app.SetInstanceFolder(QString::fromStdString(runtime.string()));
  app.SetProgramFolder(QString::fromStdString(program.string()));
  app.SetMainWindowRunner(CVaultQuillDlg::Run);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(windows, 2);
  EXPECT_EQ(log_ins, 2);
  EXPECT_TRUE(messages.shown().empty());
  platform::InstallProfile(previous);
}

}  // namespace
}  // namespace test
