#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "container_fakes.h"
#include "database/databases_container.h"
#include "entry_fakes.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

using test::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

mode_t Mode(const std::filesystem::path& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 0777;
}

class ContainerTest : public ::testing::Test {
 protected:
  ContainerTest() : host_(test::U16(dir_.path()) + u"/") { users_.SetHost(&host_); }

  void SaveUser(const std::string& name, std::u16string_view password = test::kPassword) {
    auto user = test::NewUser(dir_ / (name + ".VaultQuill"), password);
    test::AddSampleEntries(*user, test::U16(name));
    ASSERT_EQ(user->Save(), 0);
  }

  // A new-user editor that fills in the name and a password as the real one does.
  void EditorCreates(const std::u16string& name, const std::u16string& password) {
    dialogs_.editor = [=](CKDatabasesContainer&, CKDatabase& database, bool new_user) {
      EXPECT_TRUE(new_user);
      database.SetName(name);
      database.SetMemo(u"memo of " + name);
      database.GetKeys().SetIterations(1);
      database.NewSalt();
      database.SetPassword(password);
      return true;
    };
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  test::ScriptedDialogs dialogs_;
  test::ScriptedChoosers choosers_;
  test::FakeHost host_;
  CKDatabasesContainer users_;
};

TEST_F(ContainerTest, ScanListsReadableUserFilesOnly) {
  SaveUser("alpha");
  SaveUser("Beta");
  SaveUser("");  // a file named exactly ".VaultQuill"
  test::WriteFile(dir_ / "damaged.VaultQuill", Bytes(100, 0));
  std::filesystem::copy_file(dir_ / "alpha.VaultQuill", dir_ / "alpha.VaultQuill.backup");
  std::filesystem::create_directory(dir_ / "folder.VaultQuill");
  EXPECT_EQ(users_.Scan(), 3u);
  EXPECT_THAT(users_.FillUserList(), UnorderedElementsAre(u"alpha", u"Beta", u".VaultQuill"));
  ASSERT_NE(users_.FindUser(u"BETA"), nullptr);
  EXPECT_EQ(users_.FindUser(u"BETA")->GetName(), u"Beta");
  EXPECT_EQ(users_.FindUser(u"BETA")->GetMemo(), u"hint: the usual, with \u00e9t\u00e9");
  EXPECT_EQ(users_.FindUser(u"gamma"), nullptr);
  EXPECT_TRUE(messages_.shown().empty());

  test::TempDir other;
  EXPECT_EQ(users_.Scan(test::U16(other.path())), 0u);
  EXPECT_THAT(users_.FillUserList(), IsEmpty());
}

TEST_F(ContainerTest, ScanCompletesASaveCutOffBetweenItsMoves) {
  SaveUser("alpha");
  std::filesystem::copy_file(dir_ / "alpha.VaultQuill", dir_ / "alpha.VaultQuill.backup");
  std::filesystem::rename(dir_ / "alpha.VaultQuill", dir_ / "alpha.VaultQuill.new");
  EXPECT_EQ(users_.Scan(), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "alpha.VaultQuill"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "alpha.VaultQuill.new"));
}

TEST_F(ContainerTest, LogInAndOut) {
  SaveUser("alpha");
  SaveUser("beta");
  users_.Scan();
  EXPECT_FALSE(users_.LogIn());  // cancelled
  dialogs_.log_in = [](CKDatabasesContainer& users) {
    CKDatabase* user = users.FindUser(u"Alpha");
    return user->Load(test::kPassword) == 0 ? user : nullptr;
  };
  ASSERT_TRUE(users_.LogIn());
  CKDatabase* current = users_.GetCurrent();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->GetName(), u"alpha");
  EXPECT_TRUE(current->IsOpen());
  EXPECT_EQ(host_.settings_loaded_for, current);

  // A rescan meanwhile (the user editor's restore) keeps the logged-in database as it is.
  EXPECT_EQ(users_.Scan(), 2u);
  EXPECT_EQ(users_.GetCurrent(), current);
  EXPECT_EQ(users_.FindUser(u"alpha"), current);
  EXPECT_TRUE(current->IsOpen());

  EXPECT_TRUE(users_.LogOut());
  EXPECT_EQ(users_.GetCurrent(), nullptr);
  EXPECT_FALSE(current->IsOpen());
  EXPECT_EQ(current->GetEntriesRoot().GetChildCount(), 0u);
  EXPECT_EQ(current->GetName(), u"alpha");
  EXPECT_EQ(host_.folder_clears, 1);
  EXPECT_TRUE(users_.LogOut());
  EXPECT_EQ(host_.folder_clears, 2);

  // A dialog that hands back a database the container does not hold logs nobody in.
  CKDatabase stranger;
  dialogs_.log_in = [&](CKDatabasesContainer&) { return &stranger; };
  EXPECT_FALSE(users_.LogIn());
}

TEST_F(ContainerTest, CreateUserSavesANewUserFile) {
  SaveUser("alpha");
  users_.Scan();
  EXPECT_EQ(users_.CreateUser(), nullptr);  // cancelled
  EXPECT_EQ(users_.GetCount(), 1u);

  EditorCreates(u"Zo\u00eb", u"secret");
  CKDatabase* created = users_.CreateUser();
  ASSERT_NE(created, nullptr);
  EXPECT_THAT(users_.FillUserList(), ElementsAre(u"alpha", u"Zo\u00eb"));
  EXPECT_FALSE(created->IsOpen());
  const auto path = dir_ / "Zo\u00eb.VaultQuill";
  EXPECT_EQ(Mode(path), 0600u);
  EXPECT_EQ(test::OpenUserFile(path, u"secret").result, 0);
  const auto& key = created->GetKeys().GetKey();
  EXPECT_TRUE(std::all_of(key.begin(), key.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(created->GetMemo(), u"memo of Zo\u00eb");
}

TEST_F(ContainerTest, CreateUserNeverReplacesAUsersFiles) {
  SaveUser("alpha");
  test::WriteFile(dir_ / "hidden.VaultQuill", Bytes(10, 1));  // not listed: damaged
  test::WriteFile(dir_ / "gone.VaultQuill.backup", Bytes(10, 2));
  users_.Scan();
  for (const std::u16string name : {u"ALPHA", u"hidden", u"gone"}) {
    messages_.Clear();
    EditorCreates(name, u"pw");
    EXPECT_EQ(users_.CreateUser(), nullptr);
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_NE(messages_.shown()[0].text.find(name), std::u16string::npos);
  }
  EXPECT_EQ(test::ReadFile(dir_ / "hidden.VaultQuill"), Bytes(10, 1));
  EXPECT_EQ(test::ReadFile(dir_ / "gone.VaultQuill.backup"), Bytes(10, 2));

  messages_.Clear();
  EditorCreates(u"../outside", u"pw");
  EXPECT_EQ(users_.CreateUser(), nullptr);
  EXPECT_EQ(messages_.shown().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path().parent_path() / "outside.VaultQuill"));
  EXPECT_EQ(users_.GetCount(), 1u);
}

TEST_F(ContainerTest, EditUserChangesThePasswordOrNothing) {
  SaveUser("alpha");
  users_.Scan();
  CKDatabase* user = users_.FindUser(u"alpha");
  ASSERT_EQ(user->Load(test::kPassword), 0);
  const auto change_password = [](CKDatabasesContainer&, CKDatabase& database, bool new_user) {
    EXPECT_FALSE(new_user);
    database.NewSalt();
    database.SetPassword(u"changed");
    return true;
  };

  EXPECT_FALSE(users_.EditUser(*user));  // cancelled
  dialogs_.editor = change_password;
  EXPECT_TRUE(users_.EditUser(*user));
  EXPECT_EQ(test::OpenUserFile(dir_ / "alpha.VaultQuill", u"changed").result, 0);

  // The save fails and is not tried again: memory keeps the password the file has.
  std::filesystem::create_directory(dir_ / "alpha.VaultQuill.new");
  dialogs_.editor = [](CKDatabasesContainer&, CKDatabase& database, bool) {
    database.NewSalt();
    database.SetPassword(u"lost");
    database.SetMemo(u"lost memo");
    return true;
  };
  EXPECT_FALSE(users_.EditUser(*user));
  EXPECT_TRUE(user->CheckPassword(u"changed"));
  EXPECT_EQ(user->GetMemo(), u"hint: the usual, with \u00e9t\u00e9");
  std::filesystem::remove(dir_ / "alpha.VaultQuill.new");
  ASSERT_EQ(user->Save(), 0);
  EXPECT_EQ(test::OpenUserFile(dir_ / "alpha.VaultQuill", u"changed").result, 0);
}

TEST_F(ContainerTest, BackUpCopiesEveryUserFileOverOldCopies) {
  SaveUser("alpha");
  SaveUser("beta");
  test::TempDir destination;
  test::WriteFile(destination / "alpha.VaultQuill", Bytes(5, 9));
  std::filesystem::permissions(destination / "alpha.VaultQuill", std::filesystem::perms::all);

  users_.BackUp(nullptr);  // cancelled
  EXPECT_EQ(test::ReadFile(destination / "alpha.VaultQuill"), Bytes(5, 9));

  choosers_.chosen = test::U16(destination.path());
  users_.BackUp(nullptr);
  for (const char* name : {"alpha.VaultQuill", "beta.VaultQuill"}) {
    EXPECT_EQ(test::ReadFile(destination / name), test::ReadFile(dir_ / name));
    EXPECT_EQ(Mode(destination / name), 0600u);
  }
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_THAT(std::vector<std::filesystem::path>(
                  std::filesystem::directory_iterator(destination.path()), {}),
              testing::SizeIs(2));

  choosers_.chosen = test::U16(destination / "missing");
  users_.BackUp(nullptr);
  EXPECT_EQ(messages_.shown().size(), 2u);  // the system's message for each failed copy
}

TEST_F(ContainerTest, RestoreCopiesAChosenFileIntoTheDataFolder) {
  test::TempDir elsewhere;
  {
    auto user = test::NewUser(elsewhere / "carol.VaultQuill");
    ASSERT_EQ(user->Save(), 0);
  }
  users_.Restore(nullptr);  // cancelled
  EXPECT_FALSE(std::filesystem::exists(dir_ / "carol.VaultQuill"));

  choosers_.chosen = test::U16(elsewhere / "carol.VaultQuill");
  users_.Restore(nullptr);
  ASSERT_EQ(choosers_.filters.size(), 2u);
  EXPECT_EQ(choosers_.filters[0].name, u"VaultQuill Users (*.VaultQuill)");
  EXPECT_EQ(choosers_.filters[0].pattern, u"*.VaultQuill");
  EXPECT_EQ(choosers_.filters[1].pattern, u"*.*");
  EXPECT_EQ(test::ReadFile(dir_ / "carol.VaultQuill"),
            test::ReadFile(elsewhere / "carol.VaultQuill"));
  EXPECT_EQ(Mode(dir_ / "carol.VaultQuill"), 0600u);

  // A file restored onto itself stays whole.
  const Bytes before = test::ReadFile(dir_ / "carol.VaultQuill");
  choosers_.chosen = test::U16(dir_ / "carol.VaultQuill");
  users_.Restore(nullptr);
  EXPECT_EQ(test::ReadFile(dir_ / "carol.VaultQuill"), before);

  choosers_.chosen = test::U16(elsewhere / "missing.VaultQuill");
  users_.Restore(nullptr);
  EXPECT_EQ(messages_.shown().size(), 1u);
  EXPECT_EQ(users_.Scan(), 1u);
}

}  // namespace
