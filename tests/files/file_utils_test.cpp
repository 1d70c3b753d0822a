#include "files/file_utils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "files/failing_system_calls.h"
#include "files/file.h"
#include "files/wildcard.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "test_paths.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using Call = test::FailingSystemCalls::Call;

class FileUtilsTest : public ::testing::Test {
 protected:
  FileUtilsTest() {
    test::WriteBytes(dir_ / "Ann.VaultQuill", {1});
    test::WriteBytes(dir_ / "Bob.VaultQuill", {2, 2});
    test::WriteBytes(dir_ / "README", {});
    std::filesystem::create_directory(dir_ / "Languages");
  }
  std::u16string Path(const std::string& name) const { return test::U16(dir_ / name); }
  mode_t Mode(const std::string& name) const {
    struct stat status {};
    stat((dir_ / name).c_str(), &status);
    return status.st_mode & 0777;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
};

TEST(Wildcard, StarsAndQuestionMarks) {
  EXPECT_TRUE(files::MatchesWildcard(u"Ann.VaultQuill", u"*.VaultQuill"));
  EXPECT_FALSE(files::MatchesWildcard(u"Ann.VaultQuill.new", u"*.VaultQuill"));
  EXPECT_FALSE(files::MatchesWildcard(u"Ann.vaultquill", u"*.VaultQuill"));
  EXPECT_TRUE(files::MatchesWildcard(u"README", u"*.*"));
  EXPECT_TRUE(files::MatchesWildcard(u"a.b.c", u"*.*"));
  EXPECT_TRUE(files::MatchesWildcard(u"abc", u"a?c"));
  EXPECT_FALSE(files::MatchesWildcard(u"ac", u"a?c"));
  EXPECT_TRUE(files::MatchesWildcard(u"ab", u"a**b*"));
  EXPECT_TRUE(files::MatchesWildcard(u"[x]", u"[x]"));
  EXPECT_FALSE(files::MatchesWildcard(u"x", u"[x]"));
  EXPECT_FALSE(files::MatchesWildcard(std::u16string(200, u'a'), u"*a*a*a*a*a*a*a*b"));
}

TEST_F(FileUtilsTest, ExistenceOfNamesAndPatterns) {
  EXPECT_TRUE(FileExists(Path("Ann.VaultQuill")));
  EXPECT_TRUE(FileExists(Path("Languages")));
  EXPECT_FALSE(FileExists(Path("Cid.VaultQuill")));
  EXPECT_TRUE(FileExists(Path("*.VaultQuill")));
  EXPECT_TRUE(FileExists(Path("B?b.*")));
  EXPECT_TRUE(FileExists(Path("Lang*")));
  EXPECT_FALSE(FileExists(Path("*.language")));
  EXPECT_FALSE(FileExists(Path("missing/*")));
  std::filesystem::create_symlink(dir_ / "nowhere", dir_ / "dangling");
  EXPECT_TRUE(FileExists(Path("dangling")));
}

TEST_F(FileUtilsTest, ListsFilesOrFoldersButNeverTheDotEntries) {
  std::vector<std::u16string> names = {u"kept"};
  EXPECT_EQ(ListFolder(names, Path("*.VaultQuill"), false), 3u);
  EXPECT_THAT(names, UnorderedElementsAre(u"kept", u"Ann.VaultQuill", u"Bob.VaultQuill"));

  std::vector<std::u16string> folders;
  EXPECT_EQ(ListFolder(folders, Path("*"), true), 1u);
  EXPECT_THAT(folders, ElementsAre(u"Languages"));

  std::vector<std::u16string> all;
  ListFolder(all, Path("*.*"), false);
  EXPECT_EQ(all.size(), 3u);
  std::vector<std::u16string> none;
  EXPECT_EQ(ListFolder(none, Path("nothing/*"), false), 0u);
}

TEST_F(FileUtilsTest, ListsTheCurrentFolderForABarePattern) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  std::vector<std::u16string> names;
  ListFolder(names, u"*.VaultQuill", false);
  std::filesystem::current_path(previous);
  EXPECT_EQ(names.size(), 2u);
}

TEST_F(FileUtilsTest, DeleteReportsAndThrows) {
  EXPECT_TRUE(DeleteFile(Path("README")));
  EXPECT_FALSE(FileExists(Path("README")));
  EXPECT_FALSE(DeleteFileIfExists(Path("README")));
  EXPECT_TRUE(messages_.shown().empty());
  try {
    DeleteFile(Path("README"));
    FAIL() << "no exception";
  } catch (CKFile::ErrorExceptions error) {
    EXPECT_EQ(error, CKFile::ErrDelete);
  }
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr((dir_ / "README").string())));
  EXPECT_TRUE(DeleteFileIfExists(Path("Ann.VaultQuill")));
}

TEST_F(FileUtilsTest, MoveNeverReplacesTheDestination) {
  EXPECT_TRUE(MoveFile(Path("README"), Path("README.moved")));
  EXPECT_TRUE(FileExists(Path("README.moved")));
  try {
    MoveFile(Path("Ann.VaultQuill"), Path("Bob.VaultQuill"));
    FAIL() << "no exception";
  } catch (CKFile::ErrorExceptions error) {
    EXPECT_EQ(error, CKFile::ErrMove);
  }
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr((dir_ / "Ann.VaultQuill").string())));
  EXPECT_EQ(test::ReadBytes(dir_ / "Ann.VaultQuill").size(), 1u);
  EXPECT_EQ(test::ReadBytes(dir_ / "Bob.VaultQuill").size(), 2u);
  EXPECT_TRUE(MoveFile(Path("Languages"), Path("Languages2")));
}

TEST_F(FileUtilsTest, MoveAcrossFileSystemsCopiesThenDeletes) {
  test::FailingSystemCalls calls;
  calls.FailNth(Call::kRename, 1, EXDEV);
  EXPECT_TRUE(MoveFile(Path("Bob.VaultQuill"), Path("Bob.moved")));
  EXPECT_FALSE(FileExists(Path("Bob.VaultQuill")));
  EXPECT_THAT(test::ReadBytes(dir_ / "Bob.moved"), ElementsAre(2, 2));
  EXPECT_EQ(Mode("Bob.moved"), 0600u);

  // When the source cannot be deleted, only the source stays.
  calls.FailNth(Call::kRename, 1, EXDEV);
  calls.FailNth(Call::kUnlink, 1, EACCES);
  EXPECT_THROW(MoveFile(Path("Ann.VaultQuill"), Path("Ann.moved")), CKFile::ErrorExceptions);
  EXPECT_TRUE(FileExists(Path("Ann.VaultQuill")));
  EXPECT_FALSE(FileExists(Path("Ann.moved")));
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr("Permission denied")));
}

TEST_F(FileUtilsTest, CopyMakesASecretFileAndCanRefuseToOverwrite) {
  EXPECT_TRUE(CopyFile(Path("Bob.VaultQuill"), Path("copy"), true));
  EXPECT_THAT(test::ReadBytes(dir_ / "copy"), ElementsAre(2, 2));
  EXPECT_EQ(Mode("copy"), 0600u);
  EXPECT_FALSE(CopyFile(Path("Ann.VaultQuill"), Path("copy"), true));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_TRUE(CopyFile(Path("Ann.VaultQuill"), Path("copy"), false));
  EXPECT_THAT(test::ReadBytes(dir_ / "copy"), ElementsAre(1));
  EXPECT_FALSE(CopyFile(Path("missing"), Path("copy2"), false));
  EXPECT_FALSE(CopyFile(Path("Languages"), Path("copy2"), false));
  EXPECT_FALSE(FileExists(Path("copy2")));

  test::FailingSystemCalls calls;
  calls.FailNth(Call::kWrite, 1, ENOSPC);
  EXPECT_FALSE(CopyFile(Path("Bob.VaultQuill"), Path("copy3"), true));
  EXPECT_EQ(errno, ENOSPC);
  EXPECT_FALSE(FileExists(Path("copy3")));  // no partial copy left behind
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(FileUtilsTest, CreateFolderAcceptsAnExistingFolderOnly) {
  EXPECT_TRUE(CreateFolder(Path("Data")));
  EXPECT_EQ(Mode("Data"), 0700u);
  EXPECT_TRUE(CreateFolder(Path("Data")));
  EXPECT_FALSE(CreateFolder(Path("README")));
  EXPECT_FALSE(CreateFolder(Path("missing/Data")));
}

TEST_F(FileUtilsTest, WorkingFolderEndsWithASeparator) {
  std::u16string folder;
  ASSERT_TRUE(GetWorkingFolder(folder));
  EXPECT_EQ(platform::ToUtf8(folder), std::filesystem::current_path().string() + "/");
}

TEST(AddBackslash, OnlyToTextsOfTwoOrMoreCharacters) {
  for (const auto& [text, expected] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"", u""}, {u"C", u"C"}, {u"/", u"/"}, {u"ab", u"ab/"}, {u"/home/", u"/home/"}}) {
    std::u16string path = text;
    AddBackslash(path);
    EXPECT_EQ(path, expected);
  }
}

TEST_F(FileUtilsTest, SyncFolderReportsAFailedSync) {
  EXPECT_TRUE(SyncFolder(test::U16(dir_.path())));
  test::FailingSystemCalls calls;
  calls.FailNth(Call::kFsync, 1);
  EXPECT_THROW(SyncFolder(test::U16(dir_.path())), CKFile::ErrorExceptions);
  EXPECT_EQ(messages_.shown().size(), 1u);
  EXPECT_THROW(SyncFolder(Path("missing")), CKFile::ErrorExceptions);
}

}  // namespace
