#include "core/core.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/hidden_window.h"
#include "elements/tags.h"
#include "support/logged_in.h"
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
  void SetActiveDialog(CKDialog*) override {}
  CKDialog* GetActiveDialog() const override { return nullptr; }
  bool IsTrayIconShown() const override { return false; }

 private:
  KHiddenLog& log_;
};

QImage Picture(const QIcon& icon) {
  return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(Core, StartsInOrderWithTheLanguageMatchedIgnoringCaseOrTheFirstAndGivesBackTheWindow) {
  for (const auto& [configured, expected] :
       {std::pair{u"DEUTSCH", u"Deutsch"}, {u"Klingon", u""}}) {
    test::KTestCoreOptions options;
    options.language = configured;
    test::TestCore setup(options);
    setup.AddUser(u"ann", u"pw");
    KHiddenLog log;
    ASSERT_TRUE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
    CKCore& core = setup.core();
    EXPECT_EQ(log.creates, 1);
    EXPECT_FALSE(log.language_at_create);
    std::vector<std::u16string> names;
    core.m_Languages.GetNames(names);
    ASSERT_EQ(names.size(), 2u);
    const std::u16string_view wanted = expected;
    EXPECT_EQ(core.m_Languages.GetActiveName(),
              wanted.empty() ? names.front() : std::u16string(wanted));
    EXPECT_EQ(core.m_Databases.GetCount(), 1u);
    EXPECT_TRUE(setup.Messages().empty());
    // The shared images by index, the up entry's among them.
    ASSERT_EQ(core.m_ImageList.GetImageCount(), CKCore::kImageCount);
    constexpr int kIndex[] = {0, 1, 9, 10, 11, 19, 20, 21};
    constexpr int kResource[] = {130, 131, 130, 116, 117, 116, 115, 129};
    for (std::size_t i = 0; i < std::size(kIndex); ++i) {
      EXPECT_EQ(Picture(core.m_ImageList.GetIcon(kIndex[i])), Picture(icons::Load(kResource[i])));
    }
    EXPECT_EQ(CKImageList::Shared(), &core.m_ImageList);
    EXPECT_FALSE(core.m_hIcon.isNull() || core.m_hSmallIcon.isNull());
    std::uint32_t up_icon = 0;
    EXPECT_TRUE(core.GetUpEntry().GetDwordByTag(TAG_ICON, up_icon));
    EXPECT_EQ(up_icon, 21u);
    setup.Stop();
    EXPECT_EQ(log.destroys, 1);
    EXPECT_EQ(CKImageList::Shared(), nullptr);
  }
}

TEST(Core, StartUpStopsWithoutALanguageFileOrAHiddenWindow) {
  for (const bool languages : {false, true}) {
    test::KTestCoreOptions options;
    options.with_languages = languages;
    test::TestCore setup(options);
    KHiddenLog log;
    log.create_succeeds = !languages;  // with the languages there, the window fails
    EXPECT_FALSE(setup.Start(std::make_unique<FakeHiddenWindow>(log)));
    // Without languages, their fixed message; a window that cannot be made, silently.
    EXPECT_EQ(setup.Messages(), languages ? std::vector<std::string>{}
                                          : std::vector<std::string>{"No Languages found"});
    EXPECT_TRUE(setup.core().m_Languages.GetActiveName().empty());
    setup.Stop();
    // A hidden window made before the failure is given back by the destructor.
    EXPECT_EQ(log.destroys, languages ? 0 : 1) << languages;
  }
}

using CoreLoggedIn = test::LoggedInTest;

TEST_F(CoreLoggedIn, TheCurrentFolderFollowsLogInNavigationAndLogOut) {
  EXPECT_EQ(core().GetRootFolder(), &root());
  EXPECT_EQ(core().GetCurrentFolder(), &root());
  CKTLVARRAY& folder = AddFolder(root(), u"Inner");
  core().SetCurrentFolder(&folder);
  EXPECT_EQ(core().GetCurrentFolder(), &folder);
  EXPECT_EQ(core().GetPreviousFolder(), &root());
  core().m_Databases.LogOut();
  EXPECT_EQ(core().GetRootFolder(), nullptr);
  EXPECT_EQ(core().GetCurrentFolder(), nullptr);
  // The previous folder lay in the tree that log-out emptied: it is forgotten as well.
  EXPECT_EQ(core().GetPreviousFolder(), nullptr);
}

}  // namespace
