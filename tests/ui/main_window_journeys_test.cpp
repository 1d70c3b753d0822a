// Journeys across the main window and the dialogs it opens (the real note and folder editors,
// the move-to dialog, the settings and the generator), each change read back from the user's
// file on disk; and the program's log-in loop with the main window in it.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

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

void TypeInto(CKDialog& dialog, int id, const QString& text) {
  auto* edit = dialog.Item<QLineEdit>(id);
  ASSERT_NE(edit, nullptr) << id;
  edit->setFocus();
  QTest::keyClicks(edit, text);
}

void Click(CKDialog& dialog, int id) {
  QTest::mouseClick(dialog.GetDlgItem(id), Qt::LeftButton);
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Content(const CKTLVARRAY& attachment) {
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  attachment.GetBinaryByTag(TAG_FILE_DATA, data, size);
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The main window with the program's own editors in place of the scripted ones.
class MainWindowJourney : public MainWindowTest {
 protected:
  CKQtEntryEditors real_editors_;
  TempDir files_;
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
      TypeInto(editor, CKFolderDlg::kName, QStringLiteral("Banking"));
      Click(editor, CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_F);
    WhenRunning<CKNoteDlg>([&](CKNoteDlg& editor) {
      EXPECT_EQ(editor.Item<QLineEdit>(CKNoteDlg::kLogin)->text(), QStringLiteral("ada.l"));
      offered_password = editor.Item<QLineEdit>(CKNoteDlg::kPassword)->text();
      TypeInto(editor, CKNoteDlg::kTitle, QStringLiteral("Mail"));
      Click(editor, CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_N);
    options.boolAutoFillNewNotesWithDefaults = false;
    WhenRunning<CKNoteDlg>([&](CKNoteDlg& editor) {
      unfilled_login = editor.Item<QLineEdit>(CKNoteDlg::kLogin)->text();
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
  Run([&](Dlg& window) {
    Select(window, u"pin");
    WhenRunning<CKMoveToDlg>([&](CKMoveToDlg& dialog) {
      ASSERT_TRUE(dialog.Item<CKComboBoxEx>(CKMoveToDlg::kDestination)->SelectEntry(&bank));
      Click(dialog, CKDialog::kIdOk);
    });
    window.OnEntryCommand(menus::kEntryMove);
    EXPECT_EQ(Rows(window), Rows_{"Bank"});

    Select(window, u"Bank");
    WhenRunning<CKMoveToDlg>([&](CKMoveToDlg& dialog) {
      ASSERT_TRUE(dialog.Item<CKComboBoxEx>(CKMoveToDlg::kDestination)->SelectEntry(&cards));
      Click(dialog, CKDialog::kIdOk);
      EXPECT_TRUE(dialog.isVisible());  // refused, still open
      Click(dialog, CKDialog::kIdCancel);
    });
    window.OnEntryCommand(menus::kEntryMove);
    EXPECT_EQ(Rows(window), Rows_{"Bank"});
    window.close();
  });
  EXPECT_EQ(test_core().Messages(), std::vector<std::string>{Message(0, 20)});
  const auto reread = Reopen();
  EXPECT_EQ(Child(reread->GetEntriesRoot(), u"pin"), nullptr);
  CKTLVARRAY* moved_into = Child(reread->GetEntriesRoot(), u"Bank");
  ASSERT_NE(moved_into, nullptr);
  EXPECT_NE(Child(*moved_into, u"pin"), nullptr);
  EXPECT_NE(Child(*moved_into, u"Cards"), nullptr);
}

TEST_F(MainWindowJourney,
       AFileAttachedFromTheMainWindowComesBackByteIdenticalAndTooLargeIsRefused) {
  AddNote(root(), u"Scans");
  const std::filesystem::path passport = files_.path() / "passport.pdf";
  {
    std::mt19937 random(7);
    std::ofstream out(passport, std::ios::binary);
    for (int i = 0; i < 150'000; ++i) {
      out.put(static_cast<char>(random() & 0xFF));
    }
  }
  const std::filesystem::path huge = files_.path() / "huge.iso";
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, 16'777'216);
  const std::filesystem::path back = files_.path() / "passport back.pdf";

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
  EXPECT_EQ(test_core().Messages().front(), Message(0, 13));
  EXPECT_EQ(ReadWhole(back), ReadWhole(passport));
  const auto reread = Reopen();
  CKTLVARRAY* scans = Child(reread->GetEntriesRoot(), u"Scans");
  ASSERT_NE(scans, nullptr);
  std::vector<std::string> contents;
  for (CKTLV* child : scans->GetChildren()) {
    if (auto* entry = dynamic_cast<CKTLVARRAY*>(child);
        entry && entry->GetTag() == ENTRY_ATTACHMENT) {
      contents.push_back(Content(*entry));
    }
  }
  EXPECT_EQ(contents, std::vector<std::string>{ReadWhole(passport)});
}

TEST_F(MainWindowJourney, TheMenuFollowsALanguageChosenInTheSettingsAndTheGeneratorStandsAlone) {
  bool stand_alone = false;
  Run([&](Dlg& window) {
    EXPECT_EQ(window.windowTitle().toStdString(), Message(3, 255));
    EXPECT_EQ(window.MenuAction(menus::kCmdRestore)->text().toStdString(), Message(242, 9));
    EXPECT_TRUE(window.MenuAction(menus::kCmdNewNote)->text().endsWith(QStringLiteral("\tCtrl+N")));
    EXPECT_EQ(window.GetDlgItem(Dlg::kUpButton)->toolTip().toStdString(), Message(163, 9));
    WhenRunning<CKSettingsDlg>([](CKSettingsDlg& dialog) {
      auto* list = dialog.Item<CKComboBox>(CKSettingsDlg::kLanguage);
      const int german = list->findText(QStringLiteral("Deutsch"));
      ASSERT_GE(german, 0);
      list->setCurrentIndex(german);
      emit list->activated(german);
      Click(dialog, CKDialog::kIdCancel);  // the language stays all the same
    });
    Press(window, Qt::CTRL | Qt::Key_T);
    EXPECT_EQ(window.MenuBar()->actions()[0]->text().toStdString(), Message(241, 0));
    EXPECT_EQ(window.MenuBar()->actions()[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(ControlText(window, Dlg::kSearchCaption).toStdString(), Message(3, 0));
    EXPECT_EQ(window.MenuAction(menus::kCmdNewNote)->text().section(QLatin1Char('\t'), 0, 0),
              QString::fromStdString(Message(241, 1)));
    EXPECT_EQ(window.GetDlgItem(Dlg::kUpButton)->toolTip().toStdString(), Message(163, 9));

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
  const std::filesystem::path data = root.path() / "data";
  const std::filesystem::path runtime = root.path() / "runtime";
  std::filesystem::create_directories(program / "Languages");
  std::filesystem::create_directories(data);
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  for (const auto& file : std::filesystem::directory_iterator(VQ_LANGUAGES_DIR)) {
    std::filesystem::copy_file(file.path(), program / "Languages" / file.path().filename());
  }
  WriteUserFile(data / "ada.VaultQuill", u"ada", u"pw", u"");
  platform::MemoryProfileStore profile;
  platform::ProfileStore* previous = platform::InstallProfile(&profile);
  profile.WriteProfileString(u"RunTime Settings", u"m_csUserDataFolder", data.u16string() + u"/");
  profile.WriteProfileInt(u"Interface Settings", u"m_boolRunMinimised", 0);
  profile.WriteProfileInt(u"Interface Settings", u"m_boolStartUp", 0);
  profile.WriteProfileInt(u"Interface Settings", u"m_boolHotKey", 0);
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
