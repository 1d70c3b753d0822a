#include "files/file_utils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "files/file.h"
#include "files/wildcard.h"
#include "files_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using Calls = test::FailingSystemCalls;

class FileUtilsTest : public test::FilesTest {
 protected:
  FileUtilsTest() {
    WriteBytes("Ann.VaultQuill", {1});
    WriteBytes("Bob.VaultQuill", {2, 2});
    WriteBytes("README", {});
    std::filesystem::create_directory(dir_ / "Languages");
  }
};

TEST(Wildcard, StarsAndQuestionMarks) {
  const struct {
    std::u16string name;
    const char16_t* pattern;
    bool matches;
  } cases[] = {
      {u"Ann.VaultQuill", u"*.VaultQuill", true},
      {u"Ann.VaultQuill.new", u"*.VaultQuill", false},
      {u"Ann.vaultquill", u"*.VaultQuill", false},
      {u"README", u"*.*", true},
      {u"a.b.c", u"*.*", true},
      {u"abc", u"a?c", true},
      {u"ac", u"a?c", false},
      {u"ab", u"a**b*", true},
      {u"[x]", u"[x]", true},
      {std::u16string(200, u'a'), u"*a*a*a*a*a*a*a*b", false},  // and quickly
  };
  for (const auto& c : cases) {
    EXPECT_EQ(files::MatchesWildcard(c.name, c.pattern), c.matches)
        << platform::ToUtf8(c.name).substr(0, 20) << " " << platform::ToUtf8(c.pattern);
  }
}

TEST_F(FileUtilsTest, ExistenceAndListing) {
  for (const char* present : {"Ann.VaultQuill", "Languages", "*.VaultQuill", "B?b.*", "Lang*"}) {
    EXPECT_TRUE(FileExists(Path(present))) << present;
  }
  for (const char* absent : {"Cid.VaultQuill", "*.language", "missing/*"}) {
    EXPECT_FALSE(FileExists(Path(absent))) << absent;
  }
  std::filesystem::create_symlink(dir_ / "nowhere", dir_ / "dangling");
  EXPECT_TRUE(FileExists(Path("dangling")));

  // Files or folders, never the dot entries; added to what the list holds.
  std::vector<std::u16string> names = {u"kept"};
  EXPECT_EQ(ListFolder(names, Path("*.VaultQuill"), false), 3u);
  EXPECT_THAT(names, UnorderedElementsAre(u"kept", u"Ann.VaultQuill", u"Bob.VaultQuill"));
  std::vector<std::u16string> folders;
  EXPECT_EQ(ListFolder(folders, Path("*"), true), 1u);
  EXPECT_THAT(folders, ElementsAre(u"Languages"));
  std::vector<std::u16string> all;
  EXPECT_EQ(ListFolder(all, Path("*.*"), false), 4u);  // with the dangling link
  EXPECT_EQ(ListFolder(all, Path("nothing/*"), false), 4u);

  // A bare pattern lists the current folder.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  std::vector<std::u16string> here;
  ListFolder(here, u"*.VaultQuill", false);
  std::u16string working;
  EXPECT_TRUE(GetWorkingFolder(working));
  std::filesystem::current_path(previous);
  EXPECT_EQ(here.size(), 2u);
  EXPECT_EQ(platform::ToUtf8(working), dir_.path().string() + "/");
}

TEST_F(FileUtilsTest, DeleteAndMoveReportAndThrow) {
  EXPECT_TRUE(DeleteFile(Path("README")));
  EXPECT_FALSE(DeleteFileIfExists(Path("README")));
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_EQ(test::Thrown([&] { DeleteFile(Path("README")); }), CKFile::ErrDelete);
  EXPECT_TRUE(DeleteFileIfExists(Path("Bob.VaultQuill")));
  WriteBytes("Bob.VaultQuill", {2, 2});

  // A move never replaces its destination.
  EXPECT_TRUE(MoveFile(Path("Languages"), Path("Languages2")));
  EXPECT_EQ(test::Thrown([&] { MoveFile(Path("Ann.VaultQuill"), Path("Bob.VaultQuill")); }),
            CKFile::ErrMove);
  EXPECT_EQ(ReadBytes("Bob.VaultQuill").size(), 2u);
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr((dir_ / "README").string()),
                                             HasSubstr((dir_ / "Ann.VaultQuill").string())));
  messages_.Clear();

  // Across file systems it copies (as CopyFile does: a secret file), then deletes.
  Calls calls;
  calls.FailNext(Calls::kRename, EXDEV);
  EXPECT_TRUE(MoveFile(Path("Bob.VaultQuill"), Path("Bob.moved")));
  EXPECT_FALSE(FileExists(Path("Bob.VaultQuill")));
  EXPECT_EQ(ReadBytes("Bob.moved"), (test::Bytes{2, 2}));
  // When the source cannot be deleted, only the source stays.
  calls.FailNext(Calls::kRename, EXDEV);
  calls.FailNext(Calls::kUnlink, EACCES);
  EXPECT_THROW(MoveFile(Path("Ann.VaultQuill"), Path("Ann.moved")), CKFile::ErrorExceptions);
  EXPECT_TRUE(FileExists(Path("Ann.VaultQuill")));
  EXPECT_FALSE(FileExists(Path("Ann.moved")));
  EXPECT_THAT(messages_.Texts(), ElementsAre(HasSubstr("Permission denied")));
}

TEST_F(FileUtilsTest, CopyMakesASecretFileAndCanRefuseToOverwrite) {
  EXPECT_TRUE(CopyFile(Path("Bob.VaultQuill"), Path("copy"), true));
  EXPECT_EQ(Mode("copy"), 0600u);
  EXPECT_FALSE(CopyFile(Path("Ann.VaultQuill"), Path("copy"), true));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadBytes("copy"), (test::Bytes{2, 2}));
  EXPECT_TRUE(CopyFile(Path("Ann.VaultQuill"), Path("copy"), false));
  EXPECT_EQ(ReadBytes("copy"), (test::Bytes{1}));
  EXPECT_FALSE(CopyFile(Path("missing"), Path("copy2"), false));
  EXPECT_FALSE(CopyFile(Path("Languages"), Path("copy2"), false));

  Calls calls;
  calls.FailNext(Calls::kWrite, ENOSPC);
  EXPECT_FALSE(CopyFile(Path("Bob.VaultQuill"), Path("copy2"), true));
  EXPECT_EQ(errno, ENOSPC);
  EXPECT_FALSE(FileExists(Path("copy2")));  // no partial copy left behind
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(FileUtilsTest, FoldersAndSeparators) {
  EXPECT_TRUE(CreateFolder(Path("Data")));
  EXPECT_EQ(Mode("Data"), 0700u);
  EXPECT_TRUE(CreateFolder(Path("Data")));
  EXPECT_FALSE(CreateFolder(Path("README")));
  EXPECT_FALSE(CreateFolder(Path("missing/Data")));

  EXPECT_TRUE(SyncFolder(Path("Data")));
  Calls calls;
  calls.FailNext(Calls::kFsync);
  EXPECT_THROW(SyncFolder(Path("Data")), CKFile::ErrorExceptions);
  EXPECT_EQ(messages_.shown().size(), 1u);
  EXPECT_THROW(SyncFolder(Path("missing")), CKFile::ErrorExceptions);

  for (const auto& [text, expected] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"", u""}, {u"C", u"C"}, {u"/", u"/"}, {u"ab", u"ab/"}, {u"/home/", u"/home/"}}) {
    std::u16string path = text;
    AddBackslash(path);
    EXPECT_EQ(path, expected);
  }
}

}  // namespace
