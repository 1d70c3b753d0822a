#include "core/core.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/hidden_window.h"
#include "database/database.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "platform/user_dialogs.h"
#include "support/test_core.h"
#include "ui/controls/icons.h"

namespace {

// What the core did with its hidden window.
struct KHiddenLog {
  int creates = 0;
  int destroys = 0;
  bool create_succeeds = true;
  // Whether a language was active when the window was made (it must not be yet).
  bool language_at_create = false;
};

class FakeHiddenWindow final : public CKHiddenWindow {
 public:
  explicit FakeHiddenWindow(KHiddenLog& log) : log_(log) {}
  bool Create() override {
    ++log_.creates;
    log_.language_at_create =
        TheCore() != nullptr && !TheCore()->m_Languages.GetActiveName().empty();
    return log_.create_succeeds;
  }
  void Destroy() override { ++log_.destroys; }
  void SetActiveDialog(CKDialog* dialog) override { active_ = dialog; }
  CKDialog* GetActiveDialog() const override { return active_; }
  bool IsTrayIconShown() const override { return false; }

 private:
  KHiddenLog& log_;
  CKDialog* active_ = nullptr;
};

QImage Picture(const QIcon& icon) {
  return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(Core, StartsInOrderAndGivesBackTheHiddenWindowWhenDeleted) {
  test::TestCore setup;
  setup.AddUser(u"ann", u"pw");
  KHiddenLog log;
  ASSERT_TRUE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
  CKCore& core = setup.core();
  EXPECT_EQ(log.creates, 1);
  EXPECT_FALSE(log.language_at_create);
  EXPECT_EQ(core.m_Languages.GetActiveName(), u"English");
  EXPECT_EQ(core.m_Databases.GetCount(), 1u);
  EXPECT_EQ(core.m_SettingsRunTime.m_csUserDataFolder, setup.data_folder().u16string() + u"/");
  EXPECT_TRUE(setup.Messages().empty());

  // The shared images by index.
  ASSERT_EQ(core.m_ImageList.GetImageCount(), CKCore::kImageCount);
  const std::pair<int, int> resources[] = {{0, 130},  {1, 131},  {9, 130},  {10, 116},
                                           {11, 117}, {19, 116}, {20, 115}, {21, 129}};
  for (const auto& [index, resource] : resources) {
    EXPECT_EQ(Picture(core.m_ImageList.GetIcon(index)), Picture(icons::Load(resource))) << index;
  }
  EXPECT_EQ(CKImageList::Shared(), &core.m_ImageList);
  EXPECT_FALSE(core.m_hIcon.isNull());
  EXPECT_FALSE(core.m_hSmallIcon.isNull());

  setup.Stop();
  EXPECT_EQ(log.destroys, 1);
  EXPECT_EQ(CKImageList::Shared(), nullptr);
}

TEST(Core, WithoutALanguageFileStartUpStopsWithItsFixedMessage) {
  test::KTestCoreOptions options;
  options.with_languages = false;
  test::TestCore setup(options);
  KHiddenLog log;
  EXPECT_FALSE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
  EXPECT_EQ(setup.Messages(), std::vector<std::string>{"No Languages found"});
  // The hidden window made before the failure is given back by the destructor.
  setup.Stop();
  EXPECT_EQ(log.creates, 1);
  EXPECT_EQ(log.destroys, 1);
}

TEST(Core, AHiddenWindowThatCannotBeMadeStopsStartUpSilently) {
  test::TestCore setup;
  KHiddenLog log;
  log.create_succeeds = false;
  EXPECT_FALSE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
  EXPECT_TRUE(setup.Messages().empty());
  EXPECT_TRUE(setup.core().m_Languages.GetActiveName().empty());
  setup.Stop();
  EXPECT_EQ(log.destroys, 0);
}

TEST(Core, TheLanguageIsMatchedIgnoringCaseOrElseTheFirstOneIsTaken) {
  for (const auto& [configured, expected_german] :
       std::vector<std::pair<std::u16string, bool>>{{u"DEUTSCH", true}, {u"Klingon", false}}) {
    test::KTestCoreOptions options;
    options.language = configured;
    test::TestCore setup(options);
    KHiddenLog log;
    ASSERT_TRUE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
    std::vector<std::u16string> names;
    setup.core().m_Languages.GetNames(names);
    ASSERT_EQ(names.size(), 2u);
    const std::u16string active = setup.core().m_Languages.GetActiveName();
    if (expected_german) {
      EXPECT_EQ(active, u"Deutsch");
    } else {
      EXPECT_EQ(active, names.front());
    }
  }
}

TEST(Core, TheUpEntryHoldsOnlyItsIcon) {
  test::TestCore setup;
  KHiddenLog log;
  ASSERT_TRUE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
  CKTLVARRAY& up = setup.core().GetUpEntry();
  EXPECT_EQ(up.GetTag(), ENTRY_UP);
  ASSERT_EQ(up.GetChildCount(), 1u);
  EXPECT_EQ(up.GetChild(0)->GetTag(), TAG_ICON);
  EXPECT_EQ(up.GetChild(0)->GetType(), TLV_DWORD);
  std::uint32_t icon = 0;
  EXPECT_TRUE(up.GetDwordByTag(TAG_ICON, icon));
  EXPECT_EQ(icon, 21u);
  EXPECT_FALSE(up.HasChild(TAG_NAME));
}

TEST(Core, TheCurrentFolderFollowsLogInNavigationAndLogOut) {
  test::TestCore setup;
  setup.AddUser(u"bea", u"pw");
  KHiddenLog log;
  ASSERT_TRUE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
  CKCore& core = setup.core();
  EXPECT_EQ(core.GetRootFolder(), nullptr);
  EXPECT_EQ(core.GetCurrentFolder(), nullptr);

  // Logged in as the container does it.
  CKDatabase* bea = core.m_Databases.FindUser(u"bea");
  ASSERT_EQ(bea->Load(u"pw"), 0);
  struct OpenedBy final : platform::UserDialogs {
    CKDatabase* database;
    explicit OpenedBy(CKDatabase* d) : database(d) {}
    CKDatabase* RunLogIn(CKDatabasesContainer&) override { return database; }
    bool RunUserEditor(CKDatabasesContainer&, CKDatabase&, bool) override { return false; }
  } dialogs(bea);
  platform::UserDialogs* previous = platform::InstallDialogs(&dialogs);
  ASSERT_TRUE(core.m_Databases.LogIn());
  platform::InstallDialogs(previous);

  CKTLVARRAY* root = &bea->GetEntriesRoot();
  EXPECT_EQ(core.GetCurrentFolder(), root);
  CKTLVARRAY* folder = database::CreateEntry(*root, ENTRY_FOLDER);
  root->AddChild(folder);
  core.SetCurrentFolder(folder);
  EXPECT_EQ(core.GetCurrentFolder(), folder);
  EXPECT_EQ(core.GetPreviousFolder(), root);

  core.m_Databases.LogOut();
  EXPECT_EQ(core.GetCurrentFolder(), nullptr);
  // The previous folder lay in the tree that log-out emptied: it is forgotten as well.
  EXPECT_EQ(core.GetPreviousFolder(), nullptr);
}

TEST(Core, SavingWritesTheInterfaceSystemAndWindowGroups) {
  test::TestCore setup;
  KHiddenLog log;
  ASSERT_TRUE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
  CKCore& core = setup.core();
  core.m_SettingsInterface.m_csLastLogin = u"cleo";
  core.m_SettingsSystem.m_dwordCheckedTime = 1234;
  core.m_SettingsWindows.m_stLogIn.Set(10, 20, 300, 200);
  EXPECT_TRUE(core.SaveSettings());
  EXPECT_EQ(setup.profile().GetProfileString(u"Interface Settings", u"m_csLastLogin", u""),
            u"cleo");
  EXPECT_EQ(setup.profile().GetProfileInt(u"System Settings", u"m_dwordCheckedTime", 0), 1234u);
  std::vector<std::uint8_t> record;
  ASSERT_TRUE(setup.profile().GetProfileBinary(u"Windows Settings", u"m_stLogIn", record));
  ASSERT_EQ(record.size(), 51u);
  EXPECT_EQ(record[0], 10);
  EXPECT_EQ(record[16], 1);
}

}  // namespace
