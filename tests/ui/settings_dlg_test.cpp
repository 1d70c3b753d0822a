// The settings dialog on a logged-in user: every option stored on OK (the user's own in the
// user's file on disk) and none on Cancel, the autostart entry, the hot-key control tied to its
// box, a language that cannot be had, and the data folder. The language switched at once and
// back is a journey from the main window.
#include "ui/settings_dlg.h"

#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <fstream>

#include "core/core.h"
#include "platform/utf.h"
#include "settings/autostart.h"
#include "support/dialog_driver.h"
#include "support/logged_in.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/hot_key_ctrl.h"
#include "ui/controls/virtual_keys.h"

namespace test {
namespace {

using Dlg = CKSettingsDlg;
using Messages_ = std::vector<std::string>;

constexpr int kCheckBoxes[] = {Dlg::kStartUp,        Dlg::kSystemTray,      Dlg::kRunMinimised,
                               Dlg::kAskForExit,     Dlg::kAutoFill,        Dlg::kCheckForUpdates,
                               Dlg::kSingleClick,    Dlg::kHotKeyOn,        Dlg::kHidePasswords,
                               Dlg::kCleanClipboard, Dlg::kLogOutOnMinimise};
// The program's options that the dialog shows.
constexpr bool CKSettingsInterface::*kProgramFlags[] = {
    &CKSettingsInterface::m_boolStartUp,         &CKSettingsInterface::m_boolSystemTray,
    &CKSettingsInterface::m_boolRunMinimised,    &CKSettingsInterface::m_boolAskForExit,
    &CKSettingsInterface::m_boolCheckForUpdates, &CKSettingsInterface::m_boolHotKey};

std::vector<bool> ProgramFlags(const CKSettingsInterface& settings) {
  std::vector<bool> flags;
  for (const auto flag : kProgramFlags) {
    flags.push_back(settings.*flag);
  }
  return flags;
}

// A click on the box's square, where a user aims.
void Toggle(Dlg& dialog, int id) {
  auto* box = dialog.Item<QCheckBox>(id);
  ASSERT_NE(box, nullptr) << id;
  ASSERT_TRUE(box->isEnabled()) << id;
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, square.center());
}

void PressHotKey(Dlg& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  auto* control = dialog.Item<CKHotKeyCtrl>(Dlg::kHotKey);
  control->setFocus();
  QTest::keyClick(control, key, modifiers);
}

QString Path(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

class SettingsDialog : public LoggedInTest {
 protected:
  // Runs the dialog through the main window's entry point with the user's actions.
  static bool Run(std::function<void(Dlg&)> actions) {
    WhenRunning<Dlg>(std::move(actions));
    return RunSettingsDialog(nullptr);
  }
  std::u16string StoredDataFolder() {
    return test_core().profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder",
                                                  u"(none)");
  }
};

TEST_F(SettingsDialog, OkStoresEveryOptionAndTheUsersOwnInTheirFileAndCancelStoresNothing) {
  const std::filesystem::path entry(settings::AutostartEntryPath());
  ASSERT_FALSE(entry.empty());
  std::filesystem::remove(entry);
  const CKSettingsInterface& program = core().m_SettingsInterface;
  const std::vector<bool> before = ProgramFlags(program);
  const std::string file_before = ReadWhole(platform::ToUtf8(user().GetPath()));
  const std::u16string folder_before = StoredDataFolder();
  EXPECT_FALSE(Run([&](Dlg& dialog) {
    // The hot-key control is enabled only while its box is checked; the stored key (Ctrl+F10)
    // shows even while the key is off.
    EXPECT_EQ(TextOf(dialog, Dlg::kHotKey).toStdString(), keys::HotKeyText(121, 2));
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kHotKey)->isEnabled());
    for (const int id : kCheckBoxes) {
      Toggle(dialog, id);
    }
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::kHotKey)->isEnabled());
    Replace(dialog, Dlg::kDefaultLogin, QStringLiteral("someone"));
    Replace(dialog, Dlg::kDataFolder, Path(files() / "elsewhere"));
    PressHotKey(dialog, Qt::Key_F2, Qt::ControlModifier);
    Click(dialog, CKDialog::kIdCancel);
  }));
  EXPECT_EQ(ProgramFlags(program), before);
  EXPECT_EQ(program.m_wordVirtKey, 121);
  EXPECT_TRUE(core().m_SettingsUserBased.boolHidePasswords);
  EXPECT_TRUE(core().m_SettingsUserBased.stringDefaultLogin.empty());
  EXPECT_EQ(StoredDataFolder(), folder_before);
  EXPECT_FALSE(std::filesystem::exists(files() / "elsewhere"));
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_EQ(ReadWhole(platform::ToUtf8(user().GetPath())), file_before);

  const QString email = QStringLiteral("ada@example.org");
  ASSERT_TRUE(Run([&](Dlg& dialog) {
    for (const int id : kCheckBoxes) {
      Toggle(dialog, id);
    }
    Replace(dialog, Dlg::kDefaultLogin, QString(300, QLatin1Char('x')));  // 256 are taken
    Replace(dialog, Dlg::kDefaultEmail, email);
    PressHotKey(dialog, Qt::Key_F9, Qt::AltModifier | Qt::ShiftModifier);
    Click(dialog, CKDialog::kIdOk);
  }));
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_NE(program.*kProgramFlags[i], before[i]) << i;
  }
  EXPECT_EQ(program.m_wordVirtKey, 0x78);  // F9
  EXPECT_EQ(program.m_wordKeyMod, keys::kModAlt | keys::kModShift);
  // The program's options are in the settings store already, not only in memory.
  for (const auto& [key, value] :
       {std::pair{u"m_boolAskForExit", program.m_boolAskForExit ? 1u : 0u},
        {u"m_wordKeyMod", 5u}}) {
    EXPECT_EQ(test_core().profile().GetProfileInt(u"Interface Settings", key, 9999), value);
  }
  // The user's options: every default was on, each is off now, in the file on disk.
  const auto file = Reopen();
  for (const std::u16string_view name :
       {u"boolLogOutOnMinimize", u"boolCleanClipboardOnExit", u"boolAutoFillNewNotesWithDefaults",
        u"boolHidePasswords", u"boolSingleClickInterface"}) {
    std::uint32_t value = 9999;
    file->GetNumberSetting(name, value, 9999);
    EXPECT_EQ(value, 0u) << platform::ToUtf8(name);
  }
  for (const auto& [name, value] : {std::pair{u"stringDefaultLogin", std::u16string(256, u'x')},
                                    {u"stringDefaultEmail", email.toStdU16String()}}) {
    std::u16string text;
    file->GetTextSetting(name, text, u"(none)");
    EXPECT_EQ(text, value);
  }
  EXPECT_TRUE(Messages().empty());
  // Starting with the desktop is the autostart entry, which starts this program.
  const std::string program_path = (test_core().program_folder() / "vaultquill").string();
  EXPECT_NE(ReadWhole(entry).find("Exec=\"" + program_path + "\""), std::string::npos);

  // The dialog shows what was stored when it opens again; OK with the box cleared removes the
  // entry.
  Run([&](Dlg& dialog) {
    EXPECT_FALSE(dialog.IsChecked(Dlg::kHidePasswords));
    EXPECT_TRUE(dialog.IsChecked(Dlg::kStartUp));
    EXPECT_EQ(TextOf(dialog, Dlg::kDefaultLogin).size(), 256);
    EXPECT_EQ(TextOf(dialog, Dlg::kHotKey).toStdString(), keys::HotKeyText(0x78, 5));
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::kHotKey)->isEnabled());
    Toggle(dialog, Dlg::kHotKeyOn);
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kHotKey)->isEnabled());
    Toggle(dialog, Dlg::kStartUp);
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(SettingsDialog, ALanguageThatCannotBeActivatedGivesWayToThePreviousOne) {
  // The file went away after the languages were listed at start.
  std::filesystem::remove(test_core().program_folder() / "Languages" / "German.language");
  Run([&](Dlg& dialog) {
    ChooseInList(dialog, Dlg::kLanguage, QStringLiteral("Deutsch"));
    EXPECT_EQ(core().m_Languages.GetActiveName(), u"English");
    EXPECT_EQ(dialog.Item<CKComboBox>(Dlg::kLanguage)->currentText(), QStringLiteral("English"));
    EXPECT_EQ(dialog.windowTitle(), Text(9, 255));
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_EQ(core().m_SettingsInterface.m_csLanguage, u"English");
  EXPECT_EQ(Messages(), Messages_{Message(19)});
  EXPECT_FALSE(Message(19).empty());
}

TEST_F(SettingsDialog, ADataFolderBrowsedOrTypedIsMadeAndStoredOnOkAndOneThatCannotBeIsRefused) {
  std::ofstream(files() / "a-file") << "x";
  const std::filesystem::path chosen = files() / "vaults" / "ada";
  const QString stored = QString::fromStdU16String(StoredDataFolder());
  Run([&](Dlg& dialog) {
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder), stored);
    test_core().choosers().QueueFolder(files() / "a-file" / "below");
    Click(dialog, Dlg::kBrowse);
    EXPECT_EQ(Messages(), Messages_{Message(17)});
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder), stored);
    // Typed by hand: a relative folder and one that cannot be made keep the dialog open.
    Replace(dialog, Dlg::kDataFolder, QStringLiteral("vaults/ada"));
    Click(dialog, CKDialog::kIdOk);
    EXPECT_TRUE(dialog.IsRunning());
    Replace(dialog, Dlg::kDataFolder, Path(files() / "a-file" / "x"));
    Click(dialog, CKDialog::kIdOk);
    EXPECT_TRUE(dialog.IsRunning());
    EXPECT_EQ(Messages().size(), 3u);
    // Browsed: made at once, with its parents.
    test_core().choosers().QueueFolder(chosen);
    Click(dialog, Dlg::kBrowse);
    EXPECT_TRUE(std::filesystem::is_directory(chosen));
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder).toStdString(), chosen.string() + "/");
    // A new folder typed by hand is made on OK.
    Replace(dialog, Dlg::kDataFolder, Path(files() / "typed"));
    Click(dialog, CKDialog::kIdOk);
  });
  // The running program keeps its folder until the next start.
  EXPECT_EQ(platform::ToUtf8(core().m_SettingsRunTime.m_csUserDataFolder),
            test_core().data_folder().string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(files() / "typed"));
  EXPECT_EQ(StoredDataFolder(), (files() / "typed").u16string() + u"/");
}

TEST(SettingsDialogPortable, ShowsTheProgramFolderAndStoresNoOther) {
  TestCore core;
  std::ofstream(core.program_folder() / "VaultQuill.Portable").close();
  ASSERT_TRUE(core.Start());
  ASSERT_TRUE(core.core().m_SettingsRunTime.m_boolPortable);
  const std::u16string stored =
      core.profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder", u"");
  WhenRunning<Dlg>([&](Dlg& dialog) {
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder).toStdString(), core.program_folder().string() + "/");
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kDataFolder)->isEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::kBrowse)->isEnabled());
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_TRUE(RunSettingsDialog(nullptr));
  EXPECT_EQ(core.profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder", u""),
            stored);
}

}  // namespace
}  // namespace test
