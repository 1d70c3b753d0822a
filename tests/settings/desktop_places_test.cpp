// Where the program and its data live on the desktop: the run-time settings, the XDG folders
// and the autostart entry that the interface group keeps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "sandbox.h"
#include "settings/autostart.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"
#include "settings/user_folders.h"

namespace {

using settings::DocumentsFromUserDirs;
using ::testing::IsEmpty;

constexpr std::u16string_view kGroup = u"RunTime Settings";
constexpr std::u16string_view kKey = u"m_csUserDataFolder";

class DesktopPlacesTest : public ::testing::Test {
 protected:
  test::SettingsSandbox sandbox;
  CKSettingsRunTime run_time;
};

TEST_F(DesktopPlacesTest, FirstInstalledStartMakesAndStoresThePrivateDataFolder) {
  sandbox.SetEnvironment("XDG_DATA_HOME", "relative/data");  // ignored: ~/.local/share is made
  ASSERT_TRUE(run_time.Load());
  const auto company = sandbox.home() / ".local" / "share" / "Orlavo software";
  EXPECT_FALSE(run_time.m_boolPortable);
  EXPECT_EQ(run_time.ProgramPath(), test::U16(sandbox.program()) + u"/vaultquill");
  EXPECT_EQ(run_time.m_csUserDataFolder, test::U16(company / "VaultQuill") + u"/");
  EXPECT_EQ(sandbox.store.GetProfileString(kGroup, kKey, u"?"), test::U16(company / "VaultQuill"));
  for (const auto& folder : {company, company / "VaultQuill"}) {
    struct stat status {};
    ASSERT_EQ(stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
  }
  EXPECT_EQ(run_time.m_csDocumentsFolder, u"");  // no ~/Documents
  EXPECT_THAT(sandbox.messages.shown(), IsEmpty());

  // Later starts: the folders exist already, and a stored data folder wins (with a separator;
  // the rule for short folders is AddBackslash's own test).
  std::filesystem::create_directories(sandbox.home() / "Documents");
  for (const auto& [stored, expected] :
       {std::pair<std::u16string, std::u16string>{u"/mnt/vault/", u"/mnt/vault/"},
        {u"/mnt/other", u"/mnt/other/"}}) {
    sandbox.store.WriteProfileString(kGroup, kKey, stored);
    ASSERT_TRUE(run_time.Load());
    EXPECT_EQ(run_time.m_csUserDataFolder, expected);
    EXPECT_EQ(sandbox.store.GetProfileString(kGroup, kKey, u""), stored);
  }
  EXPECT_EQ(run_time.m_csDocumentsFolder, test::U16(sandbox.home() / "Documents") + u"/");
}

TEST_F(DesktopPlacesTest, PortableMarkerKeepsTheDataBesideTheProgram) {
  std::filesystem::create_directories(sandbox.home() / "Documents");
  const auto marker = sandbox.program() / "VaultQuill.Portable";
  for (const bool as_folder : {false, true}) {
    as_folder ? (void)std::filesystem::create_directory(marker) : (void)std::ofstream(marker);
    sandbox.store.calls.clear();
    ASSERT_TRUE(run_time.Load());
    EXPECT_TRUE(run_time.m_boolPortable);
    EXPECT_EQ(run_time.m_csUserDataFolder, test::U16(sandbox.program()) + u"/");
    EXPECT_EQ(run_time.m_csDocumentsFolder, u"");
    EXPECT_THAT(sandbox.store.calls, IsEmpty());  // the key is neither read nor written
    EXPECT_FALSE(std::filesystem::exists(sandbox.data()));
    std::filesystem::remove_all(marker);
  }
}

TEST_F(DesktopPlacesTest, DataFolderThatCannotBeMadeIsNamedAndFailsTheLoad) {
  std::filesystem::create_directories(sandbox.data());
  std::ofstream(sandbox.data() / "Orlavo software") << "a file where the folder belongs";
  sandbox.store.WriteProfileString(kGroup, kKey, u"/mnt/vault");
  EXPECT_FALSE(run_time.Load());
  EXPECT_EQ(sandbox.messages.Texts(),
            std::vector<std::string>{"The data folder \"" +
                                     (sandbox.data() / "Orlavo software").string() +
                                     "\" cannot be created."});
  // The stored folder is taken, but does not make up for the failure.
  EXPECT_EQ(run_time.m_csUserDataFolder, u"/mnt/vault/");
}

TEST_F(DesktopPlacesTest, DocumentsFolderPrefersTheVariableThenUserDirsThenHomeDocuments) {
  EXPECT_EQ(settings::DocumentsFolder(), u"");
  std::filesystem::create_directories(sandbox.home() / "Documents");
  EXPECT_EQ(settings::DocumentsFolder(), test::U16(sandbox.home() / "Documents"));
  std::filesystem::create_directories(sandbox.config());
  std::ofstream(sandbox.config() / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
  EXPECT_EQ(settings::DocumentsFolder(), test::U16(sandbox.home() / "Papers"));
  sandbox.SetEnvironment("XDG_DOCUMENTS_DIR", "/srv/docs");
  EXPECT_EQ(settings::DocumentsFolder(), u"/srv/docs");

  // user-dirs.dirs: the last trustworthy line counts.
  EXPECT_EQ(DocumentsFromUserDirs("# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                  "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n",
                                  u"/home/zoe"),
            u"/home/zoe/Documents");
  // Blanks around "=", a trailing separator dropped, a backslash taking the next character.
  EXPECT_EQ(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/a\"\n"
                                  "  XDG_DOCUMENTS_DIR = \"/srv/My \\\"Docs\\\\/\"",
                                  u"/h"),
            u"/srv/My \"Docs\\");
  for (const char* content : {"XDG_DOCUMENTS_DIR=relative", "XDG_DOCUMENTS_DIR=\"rel\"",
                              "XDG_DOCUMENTS_DIR=\"$HOMEX/a\"", "XDG_DOCUMENTS_DIR=\"/unclosed",
                              "#XDG_DOCUMENTS_DIR=\"/a\"", "XDG_DOCUMENTS_DIRS=\"/a\""}) {
    EXPECT_FALSE(DocumentsFromUserDirs(content, u"/h")) << content;
  }
  EXPECT_FALSE(DocumentsFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/a\"", u""));  // no home
}

TEST(AutostartTest, ExecQuotesThePathAfterTheDesktopEntryRules) {
  EXPECT_EQ(settings::AutostartEntryText(u"/my apps/vaultquill"),
            "[Desktop Entry]\nType=Application\nName=VaultQuill\n"
            "Exec=\"/my apps/vaultquill\"\nTerminal=false\n");
  // Inside the quotes ", `, $ and \ take a backslash; the string escapes then double every
  // backslash, so a literal backslash is written as four.
  EXPECT_EQ(settings::DesktopExecValue(u"/a\"b`c$d\\e"), R"("/a\\"b\\`c\\$d\\\\e")");
  // A percent sign would start a field code; a line break would end the line.
  EXPECT_EQ(settings::DesktopExecValue(u"/100%/a\nb"), "\"/100%%/a\\nb\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/Zo\u00eb"), "\"/Zo\xc3\xab\"");
}

TEST_F(DesktopPlacesTest, EverySaveOfTheInterfaceGroupWritesOrDeletesTheAutostartEntry) {
  EXPECT_EQ(settings::AutostartEntryPath(),
            test::U16(sandbox.config() / "autostart" / "VaultQuill.desktop"));
  sandbox.SetEnvironment("XDG_CONFIG_HOME", "");  // the default, ~/.config
  const auto folder = sandbox.home() / ".config" / "autostart";
  const auto entry = folder / "VaultQuill.desktop";
  EXPECT_EQ(settings::AutostartEntryPath(), test::U16(entry));
  CKSettingsInterface settings(run_time);
  settings.Save();  // the program's place is not known yet: no entry with a bare file name
  EXPECT_FALSE(std::filesystem::exists(entry));

  ASSERT_TRUE(run_time.Load());
  settings.Save();
  settings.Save();
  std::string text;
  std::getline(std::ifstream(entry), text, '\0');
  EXPECT_EQ(text, settings::AutostartEntryText(run_time.ProgramPath()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no leftovers
  settings.m_boolStartUp = false;
  settings.Save();
  EXPECT_FALSE(std::filesystem::exists(entry));

  // A place that cannot take the entry is ignored, and the rest is saved.
  std::filesystem::remove_all(folder);
  std::ofstream(folder) << "a file where the folder belongs";
  EXPECT_TRUE(settings.Save());
  settings.m_boolStartUp = true;
  EXPECT_TRUE(settings.Save());
  EXPECT_TRUE(sandbox.messages.shown().empty());
  EXPECT_EQ(sandbox.store.GetProfileInt(u"Interface Settings", u"m_boolCheckForUpdates", 7), 1u);
}

}  // namespace
