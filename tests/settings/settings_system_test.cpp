#include "settings/settings_system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sandbox.h"

namespace {

using ::testing::ElementsAre;

TEST(SystemSettingsTest, BuildIsReadAtConstructionAndRewrittenOnlyAtTheEnd) {
  test::SettingsSandbox sandbox;
  { CKSettingsSystem same_build; }  // the default is this build: nothing to write
  EXPECT_FALSE(sandbox.store.Contains(u"System Settings", u"m_dwordBuild"));

  sandbox.store.WriteProfileInt(u"System Settings", u"m_dwordBuild", 1400);
  sandbox.store.calls.clear();
  {
    CKSettingsSystem settings;
    EXPECT_EQ(settings.m_dwordBuild, 1400u);
    settings.Load();
    EXPECT_EQ(settings.m_dwordCheckedBuild, 1501u);
    settings.Save();
  }
  EXPECT_THAT(sandbox.store.calls, ElementsAre("read int System Settings/m_dwordBuild",
                                               "read string System Settings/m_csUpdateSavePath",
                                               "read int System Settings/m_dwordCheckedTime",
                                               "read int System Settings/m_dwordCheckedBuild",
                                               "write string System Settings/m_csUpdateSavePath",
                                               "write int System Settings/m_dwordCheckedTime",
                                               "write int System Settings/m_dwordCheckedBuild",
                                               "write int System Settings/m_dwordBuild"));
  EXPECT_EQ(sandbox.store.GetProfileInt(u"System Settings", u"m_dwordBuild", 0), 1501u);
}

}  // namespace
