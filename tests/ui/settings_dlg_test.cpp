// The settings dialog on a logged-in user: every option stored on OK (the user's own in the
// user's file on disk) and none on Cancel, the autostart entry, the hot-key control tied to its
// box, the language switched at once with its way back, and the data folder.
#include "ui/settings_dlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <fstream>

#include "core/core.h"
#include "editor_fixture.h"
#include "platform/utf.h"
#include "settings/autostart.h"
#include "support/dialog_driver.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/hot_key_ctrl.h"
#include "ui/controls/virtual_keys.h"

namespace {

using Dlg = CKSettingsDlg;
using test::Click;
using test::Replace;
using test::TextOf;

constexpr int kCheckBoxes[] = {Dlg::kStartUp,        Dlg::kSystemTray,      Dlg::kRunMinimised,
                               Dlg::kAskForExit,     Dlg::kAutoFill,        Dlg::kCheckForUpdates,
                               Dlg::kSingleClick,    Dlg::kHotKeyOn,        Dlg::kHidePasswords,
                               Dlg::kCleanClipboard, Dlg::kLogOutOnMinimise};

// The options of the interface group that the dialog shows.
struct KProgramOptions {
  bool m_boolStartUp, m_boolSystemTray, m_boolRunMinimised, m_boolAskForExit, m_boolCheckForUpdates,
      m_boolHotKey;
  std::uint16_t m_wordVirtKey, m_wordKeyMod;

  explicit KProgramOptions(const CKSettingsInterface& settings)
      : m_boolStartUp(settings.m_boolStartUp),
        m_boolSystemTray(settings.m_boolSystemTray),
        m_boolRunMinimised(settings.m_boolRunMinimised),
        m_boolAskForExit(settings.m_boolAskForExit),
        m_boolCheckForUpdates(settings.m_boolCheckForUpdates),
        m_boolHotKey(settings.m_boolHotKey),
        m_wordVirtKey(settings.m_wordVirtKey),
        m_wordKeyMod(settings.m_wordKeyMod) {}
  bool operator==(const KProgramOptions&) const = default;
};

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

bool IsChecked(Dlg& dialog, int id) {
  return dialog.Item<QAbstractButton>(id)->isChecked();
}

// The user picks a language in the list.
void ChooseLanguage(Dlg& dialog, const QString& name) {
  auto* list = dialog.Item<CKComboBox>(Dlg::kLanguage);
  ASSERT_NE(list, nullptr);
  const int index = list->findText(name);
  ASSERT_GE(index, 0) << name.toStdString();
  list->setCurrentIndex(index);
  emit list->activated(index);
}

QString Path(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

QString SelectedLanguage(Dlg& dialog) {
  return dialog.Item<CKComboBox>(Dlg::kLanguage)->currentText();
}

class SettingsDialog : public test::EditorTest {
 protected:
  // Runs the dialog through the main window's entry point with the user's actions.
  bool Run(std::function<void(Dlg&)> actions) {
    test::WhenRunning<Dlg>(std::move(actions));
    return RunSettingsDialog(nullptr);
  }

  // The user's file as it is on disk now, opened afresh with the password.
  std::unique_ptr<CKDatabase> ReadUserFile() {
    auto reread = std::make_unique<CKDatabase>();
    reread->SetPath(user().GetPath());
    EXPECT_EQ(reread->Load(kPassword), 0);
    return reread;
  }

  static std::uint32_t NumberSetting(CKDatabase& database, std::u16string_view name) {
    std::uint32_t value = 9999;
    database.GetNumberSetting(name, value, 9999);
    return value;
  }
  static std::u16string TextSetting(CKDatabase& database, std::u16string_view name) {
    std::u16string value;
    database.GetTextSetting(name, value, u"(none)");
    return value;
  }
  std::uint32_t Stored(std::u16string_view key) {
    return test_core().profile().GetProfileInt(u"Interface Settings", key, 9999);
  }
  std::u16string StoredDataFolder() {
    return test_core().profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder",
                                                  u"(none)");
  }
  std::string MessageIn(int entry) { return Message(entry); }
};

TEST_F(SettingsDialog, OkStoresEveryOptionAndTheUsersOwnReachTheirFile) {
  const CKSettingsInterface& program = core().m_SettingsInterface;
  const KProgramOptions before(program);
  const QString login = QStringLiteral("ada.lovelace");
  const QString email = QStringLiteral("ada@example.org");
  ASSERT_TRUE(Run([&](Dlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), Text(9, 255));
    EXPECT_EQ(TextOf(dialog, Dlg::kStartUp), Text(9, 0));
    EXPECT_EQ(dialog.GetDlgItem(Dlg::kLanguage)->toolTip(), Text(169, 5));
    for (const int id : kCheckBoxes) {
      Toggle(dialog, id);
    }
    Replace(dialog, Dlg::kDefaultLogin, login);
    Replace(dialog, Dlg::kDefaultEmail, email);
    auto* hot_key = dialog.Item<CKHotKeyCtrl>(Dlg::kHotKey);
    hot_key->setFocus();
    QTest::keyClick(hot_key, Qt::Key_F9, Qt::AltModifier | Qt::ShiftModifier);
    Click(dialog, CKDialog::kIdOk);
  }));

  EXPECT_EQ(program.m_boolStartUp, !before.m_boolStartUp);
  EXPECT_EQ(program.m_boolSystemTray, !before.m_boolSystemTray);
  EXPECT_EQ(program.m_boolRunMinimised, !before.m_boolRunMinimised);
  EXPECT_EQ(program.m_boolAskForExit, !before.m_boolAskForExit);
  EXPECT_EQ(program.m_boolCheckForUpdates, !before.m_boolCheckForUpdates);
  EXPECT_EQ(program.m_boolHotKey, !before.m_boolHotKey);
  EXPECT_EQ(program.m_wordVirtKey, 0x78);  // F9
  EXPECT_EQ(program.m_wordKeyMod, keys::kModAlt | keys::kModShift);
  // The program's options are in the settings store already, not only in memory.
  EXPECT_EQ(Stored(u"m_boolAskForExit"), program.m_boolAskForExit ? 1u : 0u);
  EXPECT_EQ(Stored(u"m_boolCheckForUpdates"), program.m_boolCheckForUpdates ? 1u : 0u);
  EXPECT_EQ(Stored(u"m_wordVirtKey"), 0x78u);
  EXPECT_EQ(Stored(u"m_wordKeyMod"), 5u);

  // The user's options: every default was on, each is off now, in the file on disk.
  const std::unique_ptr<CKDatabase> file = ReadUserFile();
  for (const std::u16string_view name :
       {u"boolLogOutOnMinimize", u"boolCleanClipboardOnExit", u"boolAutoFillNewNotesWithDefaults",
        u"boolHidePasswords", u"boolSingleClickInterface"}) {
    EXPECT_EQ(NumberSetting(*file, name), 0u) << platform::ToUtf8(name);
  }
  EXPECT_EQ(TextSetting(*file, u"stringDefaultLogin"), login.toStdU16String());
  EXPECT_EQ(TextSetting(*file, u"stringDefaultEmail"), email.toStdU16String());
  EXPECT_FALSE(core().m_SettingsUserBased.boolHidePasswords);
  EXPECT_TRUE(Messages().empty());

  // The dialog shows what was stored when it opens again.
  Run([&](Dlg& dialog) {
    EXPECT_FALSE(IsChecked(dialog, Dlg::kHidePasswords));
    EXPECT_EQ(IsChecked(dialog, Dlg::kStartUp), program.m_boolStartUp);
    EXPECT_EQ(TextOf(dialog, Dlg::kDefaultLogin), login);
    EXPECT_EQ(TextOf(dialog, Dlg::kHotKey).toStdString(), keys::HotKeyText(0x78, 5));
    Click(dialog, CKDialog::kIdCancel);
  });
}

TEST_F(SettingsDialog, CancelStoresNothing) {
  const std::string file_before = test::ReadWhole(user().GetPath());
  const KProgramOptions before(core().m_SettingsInterface);
  const std::u16string folder_before = StoredDataFolder();
  EXPECT_FALSE(Run([&](Dlg& dialog) {
    for (const int id : kCheckBoxes) {
      Toggle(dialog, id);
    }
    Replace(dialog, Dlg::kDefaultLogin, QStringLiteral("someone"));
    Replace(dialog, Dlg::kDataFolder, Path(files() / "elsewhere"));
    auto* hot_key = dialog.Item<CKHotKeyCtrl>(Dlg::kHotKey);
    QTest::keyClick(hot_key, Qt::Key_F2, Qt::ControlModifier);
    Click(dialog, CKDialog::kIdCancel);
  }));
  EXPECT_EQ(KProgramOptions(core().m_SettingsInterface), before);
  EXPECT_TRUE(core().m_SettingsUserBased.boolHidePasswords);
  EXPECT_TRUE(core().m_SettingsUserBased.stringDefaultLogin.empty());
  EXPECT_EQ(StoredDataFolder(), folder_before);
  EXPECT_FALSE(std::filesystem::exists(files() / "elsewhere"));
  EXPECT_EQ(test::ReadWhole(user().GetPath()), file_before);
}

TEST_F(SettingsDialog, DefaultLoginAndEmailTake256CharactersAndNoMore) {
  const QString long_text(300, QLatin1Char('x'));
  Run([&](Dlg& dialog) {
    Replace(dialog, Dlg::kDefaultLogin, long_text);
    Replace(dialog, Dlg::kDefaultEmail, long_text);
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_EQ(core().m_SettingsUserBased.stringDefaultLogin.size(), 256u);
  EXPECT_EQ(core().m_SettingsUserBased.stringDefaultEmail.size(), 256u);
  EXPECT_EQ(TextSetting(*ReadUserFile(), u"stringDefaultLogin").size(), 256u);
}

TEST_F(SettingsDialog, StartWithTheDesktopWritesAndRemovesTheAutostartEntry) {
  const std::filesystem::path entry(settings::AutostartEntryPath());
  ASSERT_FALSE(entry.empty());
  std::filesystem::remove(entry);
  ASSERT_FALSE(core().m_SettingsInterface.m_boolStartUp);
  Run([](Dlg& dialog) {
    EXPECT_FALSE(IsChecked(dialog, Dlg::kStartUp));
    Toggle(dialog, Dlg::kStartUp);
    Click(dialog, CKDialog::kIdOk);
  });
  ASSERT_TRUE(std::filesystem::exists(entry));
  const std::string text = test::ReadWhole(entry);
  const std::string program = (test_core().program_folder() / "vaultquill").string();
  EXPECT_NE(text.find("Exec=\"" + program + "\""), std::string::npos) << text;

  // Cancel leaves it; OK with the box cleared removes it.
  Run([](Dlg& dialog) {
    Toggle(dialog, Dlg::kStartUp);
    Click(dialog, CKDialog::kIdCancel);
  });
  EXPECT_TRUE(std::filesystem::exists(entry));
  Run([](Dlg& dialog) {
    Toggle(dialog, Dlg::kStartUp);
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(SettingsDialog, TheHotKeyControlIsEnabledOnlyWhileItsBoxIsChecked) {
  core().m_SettingsInterface.m_boolHotKey = false;
  Run([](Dlg& dialog) {
    QWidget* control = dialog.GetDlgItem(Dlg::kHotKey);
    EXPECT_FALSE(IsChecked(dialog, Dlg::kHotKeyOn));
    EXPECT_FALSE(control->isEnabled());
    // Stored defaults give Ctrl+F10 even while the key is off.
    EXPECT_EQ(TextOf(dialog, Dlg::kHotKey).toStdString(), keys::HotKeyText(121, 2));
    Toggle(dialog, Dlg::kHotKeyOn);
    EXPECT_TRUE(control->isEnabled());
    Toggle(dialog, Dlg::kHotKeyOn);
    EXPECT_FALSE(control->isEnabled());
    Toggle(dialog, Dlg::kHotKeyOn);
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_TRUE(core().m_SettingsInterface.m_boolHotKey);
  Run([](Dlg& dialog) {
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::kHotKey)->isEnabled());
    Click(dialog, CKDialog::kIdCancel);
  });
}

TEST_F(SettingsDialog, AChosenLanguageIsActiveAtOnceAndStaysAfterCancel) {
  Run([&](Dlg& dialog) {
    EXPECT_EQ(SelectedLanguage(dialog), QStringLiteral("English"));
    // The language in use: nothing happens.
    ChooseLanguage(dialog, QStringLiteral("English"));
    EXPECT_TRUE(Messages().empty());

    ChooseLanguage(dialog, QStringLiteral("Deutsch"));
    EXPECT_EQ(core().m_Languages.GetActiveName(), u"Deutsch");
    EXPECT_EQ(core().m_SettingsInterface.m_csLanguage, u"Deutsch");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], MessageIn(0));  // the notice, in the new language
    EXPECT_EQ(Messages()[0].rfind("Die neue Sprache", 0), 0u) << Messages()[0];
    // The dialog itself follows at once.
    EXPECT_EQ(dialog.windowTitle(), Text(9, 255));
    EXPECT_EQ(TextOf(dialog, Dlg::kStartUp), Text(9, 0));
    EXPECT_EQ(dialog.GetDlgItem(Dlg::kLanguage)->toolTip(), Text(169, 5));
    Click(dialog, CKDialog::kIdCancel);
  });
  EXPECT_EQ(core().m_Languages.GetActiveName(), u"Deutsch");
  EXPECT_EQ(test_core().profile().GetProfileString(u"Interface Settings", u"m_csLanguage", u""),
            u"Deutsch");

  // And back again.
  test_core().messages().Clear();
  Run([&](Dlg& dialog) {
    EXPECT_EQ(SelectedLanguage(dialog), QStringLiteral("Deutsch"));
    ChooseLanguage(dialog, QStringLiteral("English"));
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_EQ(core().m_Languages.GetActiveName(), u"English");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("The new language", 0), 0u) << Messages()[0];
}

TEST_F(SettingsDialog, ALanguageThatCannotBeActivatedGivesWayToThePreviousOne) {
  // The file went away after the languages were listed at start.
  std::filesystem::remove(test_core().program_folder() / "Languages" / "German.language");
  Run([&](Dlg& dialog) {
    ChooseLanguage(dialog, QStringLiteral("Deutsch"));
    EXPECT_EQ(core().m_Languages.GetActiveName(), u"English");
    EXPECT_EQ(SelectedLanguage(dialog), QStringLiteral("English"));
    EXPECT_EQ(dialog.windowTitle(), Text(9, 255));
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_EQ(core().m_SettingsInterface.m_csLanguage, u"English");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], MessageIn(19));
  EXPECT_FALSE(MessageIn(19).empty());
}

TEST_F(SettingsDialog, TheBrowsedDataFolderIsMadeAndStoredOnOk) {
  const std::filesystem::path chosen = files() / "vaults" / "ada";
  test_core().choosers().QueueFolder(chosen);
  const std::string stored_before = platform::ToUtf8(StoredDataFolder());
  Run([&](Dlg& dialog) {
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder).toStdString(), stored_before);
    Click(dialog, Dlg::kBrowse);
    EXPECT_TRUE(std::filesystem::is_directory(chosen));
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder).toStdString(), chosen.string() + "/");
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_EQ(StoredDataFolder(), chosen.u16string() + u"/");
  // The running program keeps its folder until the next start.
  EXPECT_EQ(platform::ToUtf8(core().m_SettingsRunTime.m_csUserDataFolder),
            test_core().data_folder().string() + "/");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsDialog, AFolderThatCannotBeMadeIsRefusedWithItsMessage) {
  std::ofstream(files() / "a-file") << "x";
  test_core().choosers().QueueFolder(files() / "a-file" / "below");
  const QString stored = QString::fromStdU16String(StoredDataFolder());
  Run([&](Dlg& dialog) {
    Click(dialog, Dlg::kBrowse);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], MessageIn(17));
    EXPECT_EQ(TextOf(dialog, Dlg::kDataFolder), stored);

    // Typed by hand: a relative folder and one that cannot be made keep the dialog open.
    Replace(dialog, Dlg::kDataFolder, QStringLiteral("vaults/ada"));
    Click(dialog, CKDialog::kIdOk);
    EXPECT_TRUE(dialog.IsRunning());
    Replace(dialog, Dlg::kDataFolder, Path(files() / "a-file" / "x"));
    Click(dialog, CKDialog::kIdOk);
    EXPECT_TRUE(dialog.IsRunning());
    EXPECT_EQ(Messages().size(), 3u);
    // A new folder typed by hand is made on OK.
    Replace(dialog, Dlg::kDataFolder, Path(files() / "typed"));
    Click(dialog, CKDialog::kIdOk);
  });
  EXPECT_TRUE(std::filesystem::is_directory(files() / "typed"));
  EXPECT_EQ(StoredDataFolder(), (files() / "typed").u16string() + u"/");
}

TEST(SettingsDialogPortable, ShowsTheProgramFolderAndStoresNoOther) {
  test::TestCore core;
  std::ofstream(core.program_folder() / "VaultQuill.Portable").close();
  ASSERT_TRUE(core.Start());
  ASSERT_TRUE(core.core().m_SettingsRunTime.m_boolPortable);
  const std::u16string stored =
      core.profile().GetProfileString(u"RunTime Settings", u"m_csUserDataFolder", u"");
  test::WhenRunning<Dlg>([&](Dlg& dialog) {
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
