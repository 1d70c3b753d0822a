#include "settings/autostart.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sandbox.h"

namespace {

TEST(AutostartTest, ExecQuotesThePathAfterTheDesktopEntryRules) {
  EXPECT_EQ(settings::DesktopExecValue(u"/opt/vq/vaultquill"), "\"/opt/vq/vaultquill\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/my apps/vaultquill"), "\"/my apps/vaultquill\"");
  // Inside the quotes ", `, $ and \ take a backslash; then the string escapes double every
  // backslash, so a literal backslash is written as four and a dollar as two plus "$".
  EXPECT_EQ(settings::DesktopExecValue(u"/a\"b/vaultquill"), "\"/a\\\\\"b/vaultquill\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/a`b/vaultquill"), "\"/a\\\\`b/vaultquill\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/a$b/vaultquill"), "\"/a\\\\$b/vaultquill\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/a\\b/vaultquill"), "\"/a\\\\\\\\b/vaultquill\"");
  // A percent sign would start a field code; a line break would end the line.
  EXPECT_EQ(settings::DesktopExecValue(u"/100%/vaultquill"), "\"/100%%/vaultquill\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/a\nb/vaultquill"), "\"/a\\nb/vaultquill\"");
  EXPECT_EQ(settings::DesktopExecValue(u"/Zo\u00eb/vaultquill"), "\"/Zo\xc3\xab/vaultquill\"");
}

TEST(AutostartTest, EntryIsADesktopApplicationThatRunsTheProgram) {
  EXPECT_EQ(settings::AutostartEntryText(u"/opt/vq/vaultquill"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=VaultQuill\n"
            "Exec=\"/opt/vq/vaultquill\"\n"
            "Terminal=false\n");
}

TEST(AutostartTest, EntryLivesInTheConfigurationFolder) {
  test::SettingsSandbox sandbox;
  EXPECT_EQ(settings::AutostartEntryPath(),
            test::U16(sandbox.config() / "autostart" / "VaultQuill.desktop"));
  sandbox.environment.Unset("XDG_CONFIG_HOME");
  EXPECT_EQ(settings::AutostartEntryPath(),
            test::U16(sandbox.home() / ".config" / "autostart" / "VaultQuill.desktop"));

  // Folders are made as needed; no temporary file stays behind.
  EXPECT_TRUE(settings::WriteAutostartEntry(u"/opt/vq/vaultquill"));
  const auto folder = sandbox.home() / ".config" / "autostart";
  EXPECT_TRUE(std::filesystem::exists(folder / "VaultQuill.desktop"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_TRUE(settings::RemoveAutostartEntry());
  EXPECT_FALSE(std::filesystem::exists(folder / "VaultQuill.desktop"));
}

}  // namespace
