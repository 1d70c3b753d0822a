#include "settings/autostart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sandbox.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"

namespace {

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

TEST(AutostartTest, EverySaveOfTheInterfaceGroupWritesOrDeletesTheEntry) {
  test::SettingsSandbox sandbox;
  EXPECT_EQ(settings::AutostartEntryPath(),
            test::U16(sandbox.config() / "autostart" / "VaultQuill.desktop"));
  sandbox.SetEnvironment("XDG_CONFIG_HOME", "");  // the default, ~/.config
  const auto folder = sandbox.home() / ".config" / "autostart";
  const auto entry = folder / "VaultQuill.desktop";
  EXPECT_EQ(settings::AutostartEntryPath(), test::U16(entry));
  CKSettingsRunTime run_time;
  CKSettingsInterface settings(run_time);
  settings.Save();  // the program's place is not known yet: no entry with a bare file name
  EXPECT_FALSE(std::filesystem::exists(entry));

  ASSERT_TRUE(run_time.Load());
  settings.Save();
  settings.Save();
  std::stringstream text;
  text << std::ifstream(entry).rdbuf();
  EXPECT_EQ(text.str(), settings::AutostartEntryText(run_time.ProgramPath()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no leftovers
  settings.m_boolStartUp = false;
  settings.Save();
  EXPECT_FALSE(std::filesystem::exists(entry));
  // The hot-key words keep the low 16 bits of what is stored.
  sandbox.store.WriteProfileInt(u"Interface Settings", u"m_wordVirtKey", 0x12345678);
  settings.Load();
  EXPECT_EQ(settings.m_wordVirtKey, 0x5678);

  // A place that cannot take the entry is ignored, and the rest is saved.
  std::filesystem::remove_all(folder);
  std::ofstream(folder) << "a file where the folder belongs";
  for (const bool start_up : {true, false}) {
    settings.m_boolStartUp = start_up;
    EXPECT_TRUE(settings.Save());
  }
  EXPECT_TRUE(sandbox.messages.shown().empty());
  EXPECT_EQ(sandbox.store.GetProfileInt(u"Interface Settings", u"m_boolCheckForUpdates", 7), 1u);
}

}  // namespace
