#include "core/qt_platform.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "platform/messages.h"
#include "platform/profile_store.h"
#include "platform/tray.h"

namespace {

TEST(QtPlatform, FilterListsTakeQtsFormAndTheInstalledPlatformPutsBackWhatWasThere) {
  EXPECT_EQ(qtplatform::FilterString({{u"VaultQuill Users (*.VaultQuill)", u"*.VaultQuill"},
                                      {u"All Files (*.*)", u"*.*"}}),
            QStringLiteral("VaultQuill Users (*.VaultQuill);;All Files (*.*)"));
  EXPECT_EQ(qtplatform::FilterString({{u"Pictures", u"*.png;*.jpg"}}),
            QStringLiteral("Pictures (*.png *.jpg)"));
  EXPECT_TRUE(qtplatform::FilterString({}).isEmpty());

  // Installed for its lifetime, then what was there comes back.
  platform::MessageSink& before = platform::Messages();
  platform::ProfileStore& profile_before = platform::Profile();
  {
    const CKQtPlatform installed;
    EXPECT_NE(&platform::Messages(), &before);
    EXPECT_NE(&platform::Profile(), &profile_before);
    // Off screen there is no tray.
    EXPECT_FALSE(platform::IsTrayAvailable());
    QWidget window;
    EXPECT_EQ(qtplatform::OwnerWindow(&window), &window);
  }
  EXPECT_EQ(&platform::Messages(), &before);
  EXPECT_EQ(&platform::Profile(), &profile_before);
}

}  // namespace
