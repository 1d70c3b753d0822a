#include "settings/autostart.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sandbox.h"

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

TEST(AutostartTest, EntryLivesInTheConfigurationFolderAndIsReplacedWhole) {
  test::SettingsSandbox sandbox;
  EXPECT_EQ(settings::AutostartEntryPath(),
            test::U16(sandbox.config() / "autostart" / "VaultQuill.desktop"));
  sandbox.SetEnvironment("XDG_CONFIG_HOME", "");
  const auto folder = sandbox.home() / ".config" / "autostart";
  EXPECT_EQ(settings::AutostartEntryPath(), test::U16(folder / "VaultQuill.desktop"));

  EXPECT_TRUE(settings::WriteAutostartEntry(u"/opt/vq/vaultquill"));
  EXPECT_TRUE(settings::WriteAutostartEntry(u"/opt/vq/vaultquill"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no leftovers
  EXPECT_TRUE(settings::RemoveAutostartEntry());
  EXPECT_FALSE(std::filesystem::exists(folder / "VaultQuill.desktop"));
}

}  // namespace
