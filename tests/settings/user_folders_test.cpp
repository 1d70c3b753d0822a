#include "settings/user_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sandbox.h"

namespace {

using settings::DocumentsFromUserDirs;

TEST(UserDirsTest, TakesTheLastTrustworthyDocumentsLine) {
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

TEST(UserFoldersTest, DocumentsFolderPrefersTheVariableThenUserDirsThenHomeDocuments) {
  test::SettingsSandbox sandbox;
  EXPECT_EQ(settings::DocumentsFolder(), u"");
  std::filesystem::create_directories(sandbox.home() / "Documents");
  EXPECT_EQ(settings::DocumentsFolder(), test::U16(sandbox.home() / "Documents"));
  std::filesystem::create_directories(sandbox.config());
  std::ofstream(sandbox.config() / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
  EXPECT_EQ(settings::DocumentsFolder(), test::U16(sandbox.home() / "Papers"));
  sandbox.SetEnvironment("XDG_DOCUMENTS_DIR", "/srv/docs");
  EXPECT_EQ(settings::DocumentsFolder(), u"/srv/docs");
  // Relative XDG variables are ignored.
  sandbox.SetEnvironment("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(settings::DataHomeFolder(), test::U16(sandbox.home() / ".local" / "share"));
}

}  // namespace
