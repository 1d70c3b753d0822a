#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/databases_container.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "user_fixture.h"

namespace {

using test::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class ContainerTest : public ::testing::Test {
 protected:
  ContainerTest() : host_(dir_.path()) { users_.SetHost(&host_); }

  void SaveUser(const std::string& name) {
    ASSERT_EQ(test::NewUser(dir_ / (name + ".VaultQuill"))->Save(), 0);
  }

  // A new-user editor that fills in the name, a memo and a password as the real one does.
  void EditorCreates(const std::u16string& name) {
    ui_.user_editor = [=](CKDatabase& database, bool new_user) {
      EXPECT_TRUE(new_user);
      database.SetName(name);
      database.SetMemo(u"memo of " + name);
      database.GetKeys().SetIterations(1);
      database.NewSalt();
      database.SetPassword(u"secret");
      return true;
    };
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  test::ScriptedUi ui_;
  test::FakeHost host_;
  CKDatabasesContainer users_;
};

TEST_F(ContainerTest, ScanListsReadableUserFilesAndCompletesCutOffSaves) {
  for (const char* name : {"alpha", "Beta", "", "gamma"}) {  // "" names a file ".VaultQuill"
    SaveUser(name);
  }
  test::WriteFile(dir_ / "damaged.VaultQuill", Bytes(100, 0));
  std::filesystem::copy_file(dir_ / "alpha.VaultQuill", dir_ / "alpha.VaultQuill.backup");
  std::filesystem::create_directory(dir_ / "folder.VaultQuill");
  // A save of gamma stopped between its two moves.
  std::filesystem::copy_file(dir_ / "gamma.VaultQuill", dir_ / "gamma.VaultQuill.backup");
  std::filesystem::rename(dir_ / "gamma.VaultQuill", dir_ / "gamma.VaultQuill.new");

  EXPECT_EQ(users_.Scan(), 4u);
  EXPECT_THAT(users_.FillUserList(),
              UnorderedElementsAre(u"alpha", u"Beta", u".VaultQuill", u"gamma"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "gamma.VaultQuill.new"));
  ASSERT_NE(users_.FindUser(u"BETA"), nullptr);
  EXPECT_EQ(users_.FindUser(u"BETA")->GetName(), u"Beta");
  EXPECT_EQ(users_.FindUser(u"BETA")->GetMemo(), test::kMemo);
  EXPECT_EQ(users_.FindUser(u"delta"), nullptr);
  EXPECT_TRUE(messages_.shown().empty());

  test::TempDir other;
  EXPECT_EQ(users_.Scan(test::U16(other.path())), 0u);
  EXPECT_THAT(users_.FillUserList(), IsEmpty());
}

// Logged in, the user changes the password (or nothing, when its save fails) and logs out.
TEST_F(ContainerTest, LogInEditAndLogOut) {
  SaveUser("alpha");
  SaveUser("beta");
  users_.Scan();
  EXPECT_FALSE(users_.LogIn());  // cancelled
  ui_.log_in = [](CKDatabasesContainer& users) {
    CKDatabase* user = users.FindUser(u"Alpha");
    return user->Load(test::kPassword) == 0 ? user : nullptr;
  };
  ASSERT_TRUE(users_.LogIn());
  CKDatabase* current = users_.GetCurrent();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->GetName(), u"alpha");
  EXPECT_TRUE(current->IsOpen());
  EXPECT_EQ(host_.settings_loaded_for, current);

  const auto change_to = [&](const std::u16string& password) {
    ui_.user_editor = [=](CKDatabase& database, bool new_user) {
      EXPECT_FALSE(new_user);
      database.NewSalt();
      database.SetPassword(password);
      database.SetMemo(u"memo for " + password);
      return true;
    };
  };
  EXPECT_FALSE(users_.EditUser(*current));  // cancelled
  change_to(u"changed");
  EXPECT_TRUE(users_.EditUser(*current));
  EXPECT_EQ(test::OpenUserFile(dir_ / "alpha.VaultQuill", u"changed").result, 0);

  // The save fails and is not tried again: memory keeps the password and memo the file has.
  std::filesystem::create_directory(dir_ / "alpha.VaultQuill.new");
  change_to(u"lost");
  EXPECT_FALSE(users_.EditUser(*current));
  EXPECT_TRUE(current->CheckPassword(u"changed"));
  EXPECT_EQ(current->GetMemo(), u"memo for changed");
  std::filesystem::remove(dir_ / "alpha.VaultQuill.new");
  ASSERT_EQ(current->Save(), 0);
  EXPECT_EQ(test::OpenUserFile(dir_ / "alpha.VaultQuill", u"changed").result, 0);

  // A rescan meanwhile (the user editor's restore) keeps the logged-in database as it is.
  EXPECT_EQ(users_.Scan(), 2u);
  EXPECT_EQ(users_.FindUser(u"alpha"), current);
  EXPECT_TRUE(current->IsOpen());

  EXPECT_TRUE(users_.LogOut());
  EXPECT_EQ(users_.GetCurrent(), nullptr);
  EXPECT_FALSE(current->IsOpen());
  EXPECT_EQ(current->GetEntriesRoot().GetChildCount(), 0u);
  EXPECT_TRUE(test::KeyIsZero(*current));
  EXPECT_EQ(host_.folder_clears, 1);

  // A dialog that hands back a database the container does not hold logs nobody in.
  CKDatabase stranger;
  ui_.log_in = [&](CKDatabasesContainer&) { return &stranger; };
  EXPECT_FALSE(users_.LogIn());
}

TEST_F(ContainerTest, CreateUserSavesANewFileButNeverOverAnother) {
  SaveUser("alpha");
  test::WriteFile(dir_ / "hidden.VaultQuill", Bytes(10, 1));  // not listed: damaged
  test::WriteFile(dir_ / "gone.VaultQuill.backup", Bytes(10, 2));
  users_.Scan();
  EXPECT_EQ(users_.CreateUser(), nullptr);  // cancelled
  for (const std::u16string name : {u"ALPHA", u"hidden", u"gone", u"../outside"}) {
    messages_.Clear();
    EditorCreates(name);
    EXPECT_EQ(users_.CreateUser(), nullptr);
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_NE(messages_.shown()[0].text.find(name), std::u16string::npos) << messages_.Texts()[0];
  }
  EXPECT_EQ(test::ReadFile(dir_ / "hidden.VaultQuill"), Bytes(10, 1));
  EXPECT_EQ(test::ReadFile(dir_ / "gone.VaultQuill.backup"), Bytes(10, 2));
  EXPECT_FALSE(std::filesystem::exists(dir_.path().parent_path() / "outside.VaultQuill"));
  EXPECT_EQ(users_.GetCount(), 1u);

  EditorCreates(u"Zo\u00eb");
  CKDatabase* created = users_.CreateUser();
  ASSERT_NE(created, nullptr);
  EXPECT_THAT(users_.FillUserList(), ElementsAre(u"alpha", u"Zo\u00eb"));
  EXPECT_FALSE(created->IsOpen());
  EXPECT_TRUE(test::KeyIsZero(*created));
  EXPECT_EQ(created->GetMemo(), u"memo of Zo\u00eb");
  EXPECT_TRUE(test::IsSecret(dir_ / "Zo\u00eb.VaultQuill"));
  EXPECT_EQ(test::OpenUserFile(dir_ / "Zo\u00eb.VaultQuill", u"secret").result, 0);
}

TEST_F(ContainerTest, BackUpAndRestoreMakeSecretCopiesOverOldOnes) {
  SaveUser("alpha");
  SaveUser("beta");
  test::TempDir elsewhere;
  test::WriteFile(elsewhere / "alpha.VaultQuill", Bytes(5, 9));
  std::filesystem::permissions(elsewhere / "alpha.VaultQuill", std::filesystem::perms::all);
  users_.BackUp(nullptr);  // cancelled
  users_.Restore(nullptr);
  EXPECT_EQ(test::ReadFile(elsewhere / "alpha.VaultQuill"), Bytes(5, 9));

  ui_.chosen = test::U16(elsewhere.path());
  users_.BackUp(nullptr);
  for (const char* name : {"alpha.VaultQuill", "beta.VaultQuill"}) {
    EXPECT_EQ(test::ReadFile(elsewhere / name), test::ReadFile(dir_ / name));
    EXPECT_TRUE(test::IsSecret(elsewhere / name));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere.path()), {}), 2);
  EXPECT_TRUE(messages_.shown().empty());
  ui_.chosen = test::U16(elsewhere / "missing");
  users_.BackUp(nullptr);
  EXPECT_EQ(messages_.shown().size(), 2u);  // the system's message for each failed copy

  messages_.Clear();
  ASSERT_EQ(test::NewUser(elsewhere / "carol.VaultQuill")->Save(), 0);
  for (const auto& from : {elsewhere / "carol.VaultQuill", dir_ / "carol.VaultQuill"}) {
    ui_.chosen = test::U16(from);  // the second time onto itself: stays whole
    users_.Restore(nullptr);
    EXPECT_EQ(test::ReadFile(dir_ / "carol.VaultQuill"),
              test::ReadFile(elsewhere / "carol.VaultQuill"));
    EXPECT_TRUE(test::IsSecret(dir_ / "carol.VaultQuill"));
  }
  ui_.chosen = test::U16(elsewhere / "missing.VaultQuill");
  users_.Restore(nullptr);
  EXPECT_EQ(messages_.shown().size(), 1u);
  EXPECT_EQ(users_.Scan(), 3u);
}

}  // namespace
