// Journeys from the main window into the dialogs it opens (the move-to dialog, the settings and
// the generator), each change read back from the user's file on disk; and how the window ends:
// log out or quit, the question before, minimising with log-out, the clipboard on the way out,
// and the update check that lives as long as the window.
#include <QMenuBar>
#include <QTest>

#include "core/core.h"
#include "elements/tags.h"
#include "languages/menus.h"
#include "main_window_fixture.h"
#include "support/dialog_driver.h"
#include "ui/about_dlg.h"
#include "ui/clipboard.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/combo_box_ex.h"
#include "ui/generator_dlg.h"
#include "ui/hidden_dlg.h"
#include "ui/main_window_updates.h"
#include "ui/move_to_dlg.h"
#include "ui/settings_dlg.h"

namespace test {
namespace {
using Dlg = CVaultQuillDlg;
using Rows_ = std::vector<std::string>;

TEST_F(MainWindowTest, EntriesMoveIntoOtherFoldersButNeverOntoANameOrAFolderIntoItself) {
  CKTLVARRAY& bank = AddFolder(root(), u"Bank");
  CKTLVARRAY& cards = AddFolder(bank, u"Cards");
  CKTLVARRAY& old = AddFolder(cards, u"Old");
  CKTLVARRAY& home = AddFolder(root(), u"Home");
  AddNote(home, u"PIN");
  AddNote(root(), u"pin");
  QStringList shown;
  // Moves the entry, choosing each folder in turn with OK; all but the last are refused.
  const auto move = [&](Dlg& window, const std::u16string& entry, std::vector<CKTLVARRAY*> choices,
                        bool moved) {
    Select(window, entry);
    WhenRunning<CKMoveToDlg>([&, choices, moved](CKMoveToDlg& dialog) {
      auto* combo = dialog.Item<CKComboBoxEx>(CKMoveToDlg::kDestination);
      shown.clear();
      for (int i = 0; i < combo->count(); ++i) {
        shown << combo->itemText(i);
      }
      EXPECT_EQ(combo->GetSelectedEntry(), &root());
      for (CKTLVARRAY* folder : choices) {
        ASSERT_TRUE(combo->SelectEntry(folder));
        Click(dialog, CKDialog::kIdOk);
      }
      if (!moved) {
        EXPECT_TRUE(dialog.isVisible());
        Click(dialog, CKDialog::kIdCancel);
      }
    });
    window.OnEntryCommand(menus::kEntryMove);
  };
  Run([&](Dlg& window) {
    // Where it is already, onto a name in other case, then into a folder's folder.
    move(window, u"pin", {&root(), &home, &cards}, true);
    EXPECT_EQ(shown, QStringList({"<    ROOT    >", "Bank", "Cards", "Old", "Home"}));
    EXPECT_EQ(Rows(window), (Rows_{"Bank", "Home"}));
    move(window, u"Bank", {&bank, &old}, false);  // into itself or below it
    EXPECT_EQ(Rows(window), (Rows_{"Bank", "Home"}));
    move(window, u"Bank", {&home}, true);  // subtree and all
    EXPECT_EQ(Rows(window), Rows_{"Home"});
    // The combo's label for the root does not stay behind in the path line.
    EXPECT_EQ(TextOf(window, Dlg::kPath), QString());
    window.close();
  });
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{Message(20), Message(21), Message(20), Message(20)}));
  const auto reread = Reopen();
  CKTLVARRAY* moved_home = Child(reread->GetEntriesRoot(), u"Home");
  ASSERT_NE(moved_home, nullptr);
  CKTLVARRAY* moved_cards = Child(*Child(*moved_home, u"Bank"), u"Cards");
  ASSERT_NE(moved_cards, nullptr);
  // The note went last in its new folder.
  auto* last = dynamic_cast<CKTLVARRAY*>(moved_cards->GetChild(moved_cards->GetChildCount() - 1));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(Field(*last, TAG_NAME), u"pin");
}

TEST_F(MainWindowTest, ALanguageChosenInTheSettingsIsActiveAtOnceAlsoAfterCancelAndGoesBack) {
  bool stand_alone = false;
  Run([&](Dlg& window) {
    WhenRunning<CKSettingsDlg>([&](CKSettingsDlg& dialog) {
      ChooseInList(dialog, CKSettingsDlg::kLanguage, QStringLiteral("English"));  // in use
      EXPECT_TRUE(Messages().empty());
      ChooseInList(dialog, CKSettingsDlg::kLanguage, QStringLiteral("Deutsch"));
      // The notice in the new language, and the dialog itself follows at once.
      ASSERT_EQ(Messages().size(), 1u);
      EXPECT_EQ(Messages()[0].rfind("Die neue Sprache", 0), 0u) << Messages()[0];
      EXPECT_EQ(dialog.windowTitle(), Text(9, 255));
      EXPECT_EQ(dialog.GetDlgItem(CKSettingsDlg::kLanguage)->toolTip(), Text(169, 5));
      Click(dialog, CKDialog::kIdCancel);  // the language stays all the same
    });
    Press(window, Qt::CTRL | Qt::Key_T);
    EXPECT_EQ(test_core().profile().GetProfileString(u"Interface Settings", u"m_csLanguage", u""),
              u"Deutsch");
    EXPECT_EQ(window.MenuBar()->actions()[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(TextOf(window, Dlg::kSearchCaption), Text(3, 0));
    EXPECT_EQ(window.MenuAction(menus::kCmdNewNote)->text(), Text(241, 1) + "\tCtrl+N");
    EXPECT_EQ(window.GetDlgItem(Dlg::kUpButton)->toolTip(), Text(163, 9));

    test_core().messages().Clear();
    WhenRunning<CKSettingsDlg>([&](CKSettingsDlg& dialog) {
      EXPECT_EQ(dialog.Item<CKComboBox>(CKSettingsDlg::kLanguage)->currentText(),
                QStringLiteral("Deutsch"));
      ChooseInList(dialog, CKSettingsDlg::kLanguage, QStringLiteral("English"));
      Click(dialog, CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_T);
    EXPECT_EQ(Messages().at(0).rfind("The new language", 0), 0u) << Messages()[0];
    EXPECT_EQ(window.MenuBar()->actions()[0]->text(), QStringLiteral("&File"));

    WhenRunning<CKGeneratorDlg>([&](CKGeneratorDlg& dialog) {
      stand_alone = !dialog.IsPickMode();
      Click(dialog, CKDialog::kIdCancel);
    });
    Press(window, Qt::CTRL | Qt::Key_P);
    window.close();
  });
  EXPECT_TRUE(stand_alone);
}

class CountingUpdateCheck final : public main_window::UpdateCheck {
 public:
  void Start(CKCore&) override { ++started; }
  void Stop() override { ++stopped; }
  int started = 0;
  int stopped = 0;
};

TEST_F(MainWindowTest, TheCloseBoxAndLogOutGoBackToTheLogInExitAndAltXQuitAfterTheQuestion) {
  CountingUpdateCheck check;
  main_window::UpdateCheck* previous = main_window::InstallUpdateCheck(&check);
  const auto tray_exit = [this] {
    dynamic_cast<CKHiddenDlg&>(core().GetHiddenDlg()).HandleTrayCommand(menus::kTrayExit);
    ProcessEvents(50);
  };
  EXPECT_TRUE(Run([&](Dlg& window) {
    EXPECT_EQ(check.started - check.stopped, 1);
    window.close();
  }));
  EXPECT_FALSE(Run([](Dlg& window) { window.MenuAction(menus::kCmdExit)->trigger(); }));
  EXPECT_TRUE(Run([](Dlg& window) { Press(window, Qt::CTRL | Qt::Key_L); }));
  EXPECT_FALSE(Run([](Dlg& window) { Press(window, Qt::ALT | Qt::Key_X); }));
  EXPECT_FALSE(Run([&](Dlg&) { tray_exit(); }));
  // Every window started the update check and stopped it when it went.
  EXPECT_EQ(check.started, 5);
  EXPECT_EQ(check.stopped, 5);
  main_window::InstallUpdateCheck(previous);

  // When the user wants the question, No keeps the window; the close box still logs out.
  core().m_SettingsInterface.m_boolAskForExit = true;
  EXPECT_TRUE(Run([&](Dlg& window) {
    test_core().messages().QueueAnswer(false);
    window.MenuAction(menus::kCmdExit)->trigger();
    EXPECT_EQ(Messages(), std::vector<std::string>{Text(1, 0).toStdString()});
    test_core().messages().QueueAnswer(false);
    tray_exit();
    EXPECT_TRUE(window.isVisible());
    test_core().messages().QueueAnswer(true);
    window.close();
  }));
}

TEST_F(MainWindowTest, MinimisingLogsOutWhenWantedButNotWhileADialogIsOpen) {
  core().m_SettingsUserBased.boolLogOutOnMinimize = false;
  Run([](Dlg& window) {
    Press(window, QKeyCombination(Qt::Key_Escape));
    EXPECT_TRUE(window.isVisible() && window.isMinimized());
    window.RestoreFromTray();
    window.close();
  });
  EXPECT_FALSE(core().m_SettingsRunTime.m_boolStartMinimised);

  core().m_SettingsUserBased.boolLogOutOnMinimize = true;
  bool kept_open = false;
  EXPECT_TRUE(Run([&](Dlg& window) {
    WhenRunning<CAboutDlg>([&](CAboutDlg& about) {
      window.MinimiseToTray();
      kept_open = window.isVisible() && window.IsBusy();
      about.EndDialog(CKDialog::kIdOk);
    });
    Press(window, Qt::CTRL | Qt::Key_B);
    window.RestoreFromTray();
    // With nothing open, Escape minimises and logs out.
    Press(window, QKeyCombination(Qt::Key_Escape));
    ProcessEvents(50);
    EXPECT_FALSE(window.isVisible());
  }));
  EXPECT_TRUE(kept_open);
  // The log-in dialog starts where the window went.
  EXPECT_TRUE(core().m_SettingsRunTime.m_boolStartMinimised);

  // The window system's own minimise button does the same.
  core().m_SettingsRunTime.m_boolStartMinimised = false;
  EXPECT_TRUE(Run([](Dlg& window) {
    window.showMinimized();
    ProcessEvents(50);
    EXPECT_FALSE(window.isVisible());
  }));
  EXPECT_TRUE(core().m_SettingsRunTime.m_boolStartMinimised);
}

TEST_F(MainWindowTest, TheClipboardIsEmptiedOnTheWayOutOnlyWhenTheUserWantsIt) {
  AddNote(root(), u"Mail", u"ada", u"s3cret!");
  for (const bool clean : {true, false}) {
    core().m_SettingsUserBased.boolCleanClipboardOnExit = clean;
    Run([](Dlg& window) {
      Select(window, u"Mail");
      window.OnEntryCommand(menus::kEntryCopyPassword);
      Press(window, Qt::CTRL | Qt::Key_L);
    });
    EXPECT_EQ(ClipboardText(), clean ? QString() : QStringLiteral("s3cret!")) << clean;
  }
  clipboard::ClearClipboard();
}

}  // namespace
}  // namespace test
