#include "platform/choosers.h"

#include <gtest/gtest.h>

namespace {

class FixedChoosers final : public platform::Choosers {
 public:
  std::u16string answer;
  std::vector<platform::FileFilter> filters_seen;
  bool ChooseFolder(platform::ParentWindow, std::u16string& folder) override {
    folder = answer;
    return true;
  }
  bool ChooseOpenFile(platform::ParentWindow, const std::vector<platform::FileFilter>& filters,
                      std::u16string& path) override {
    filters_seen = filters;
    path = answer;
    return true;
  }
  bool ChooseSaveFile(platform::ParentWindow, const platform::SaveFileOptions&,
                      std::u16string& path) override {
    path = answer;
    return true;
  }
};

TEST(Choosers, CancelledUntilChoosersAreInstalled) {
  std::u16string path = u"kept";
  EXPECT_FALSE(platform::BrowseForFolder(nullptr, path));
  EXPECT_FALSE(platform::OpenFileDialog(nullptr, path, {{u"All files", u"*.*"}}));
  EXPECT_FALSE(platform::SaveFileDialog(nullptr, path, {}));
  EXPECT_EQ(path, u"kept");
}

TEST(Choosers, InstalledChoosersAnswerAndAnEmptyFileNameCountsAsCancelled) {
  FixedChoosers fixed;
  platform::Choosers* previous = platform::InstallChoosers(&fixed);
  std::u16string path = u"kept";
  fixed.answer = u"/home/ann/a.txt";
  EXPECT_TRUE(platform::OpenFileDialog(nullptr, path, {{u"All files", u"*.*"}}));
  EXPECT_EQ(path, u"/home/ann/a.txt");
  ASSERT_EQ(fixed.filters_seen.size(), 1u);
  EXPECT_EQ(fixed.filters_seen[0].pattern, u"*.*");
  fixed.answer.clear();
  EXPECT_FALSE(platform::OpenFileDialog(nullptr, path, {}));
  EXPECT_FALSE(platform::SaveFileDialog(nullptr, path, {}));
  EXPECT_EQ(path, u"/home/ann/a.txt");
  fixed.answer = u"/backup";
  EXPECT_TRUE(platform::BrowseForFolder(nullptr, path));
  EXPECT_EQ(path, u"/backup");
  EXPECT_EQ(platform::InstallChoosers(previous), &fixed);
}

}  // namespace
