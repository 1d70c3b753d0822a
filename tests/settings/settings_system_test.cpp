#include "settings/settings_system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sandbox.h"

namespace {

using ::testing::ElementsAre;

constexpr std::u16string_view kGroup = u"System Settings";

TEST(SystemSettingsTest, FreshAccountGivesTheDefaults) {
  test::SettingsSandbox sandbox;
  CKSettingsSystem settings;
  EXPECT_TRUE(settings.Load());
  EXPECT_EQ(settings.m_dwordBuild, 1501u);
  EXPECT_EQ(settings.m_dwordCurrentBuild, 1501u);
  EXPECT_EQ(settings.m_dwordCheckedBuild, 1501u);
  EXPECT_EQ(settings.m_dwordCheckedTime, 0u);
  EXPECT_EQ(settings.m_csUpdateSavePath, u"");
}

TEST(SystemSettingsTest, BuildIsReadAtConstructionAndRewrittenOnlyAtTheEnd) {
  test::SettingsSandbox sandbox;
  sandbox.store.WriteProfileInt(kGroup, u"m_dwordBuild", 1400);
  sandbox.store.ClearCalls();
  {
    CKSettingsSystem settings;
    EXPECT_EQ(settings.m_dwordBuild, 1400u);
    settings.Load();
    settings.Save();
    EXPECT_EQ(sandbox.store.GetProfileInt(kGroup, u"m_dwordBuild", 0), 1400u);
  }
  EXPECT_EQ(sandbox.store.GetProfileInt(kGroup, u"m_dwordBuild", 0), 1501u);
  EXPECT_THAT(sandbox.store.calls(),
              ElementsAre("read int System Settings/m_dwordBuild",
                          "read string System Settings/m_csUpdateSavePath",
                          "read int System Settings/m_dwordCheckedTime",
                          "read int System Settings/m_dwordCheckedBuild",
                          "write string System Settings/m_csUpdateSavePath",
                          "write int System Settings/m_dwordCheckedTime",
                          "write int System Settings/m_dwordCheckedBuild",
                          "read int System Settings/m_dwordBuild",  // the check above
                          "write int System Settings/m_dwordBuild",
                          "read int System Settings/m_dwordBuild"));
}

TEST(SystemSettingsTest, SameBuildIsNotWrittenAgain) {
  test::SettingsSandbox sandbox;
  { CKSettingsSystem settings; }
  EXPECT_FALSE(sandbox.store.Contains(kGroup, u"m_dwordBuild"));  // default equals this build
}

TEST(SystemSettingsTest, UpdateCheckerStateRoundTrips) {
  test::SettingsSandbox sandbox;
  {
    CKSettingsSystem settings;
    settings.m_csUpdateSavePath = u"/home/zoe/Downloads/";
    settings.m_dwordCheckedTime = 0xFEDCBA98;
    settings.m_dwordCheckedBuild = 1600;
    settings.Save();
  }
  CKSettingsSystem settings;
  settings.Load();
  EXPECT_EQ(settings.m_csUpdateSavePath, u"/home/zoe/Downloads/");
  EXPECT_EQ(settings.m_dwordCheckedTime, 0xFEDCBA98u);
  EXPECT_EQ(settings.m_dwordCheckedBuild, 1600u);
}

}  // namespace
