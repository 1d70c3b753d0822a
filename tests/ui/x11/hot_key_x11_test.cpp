// The global hot key on a real X server: grabbed in every lock state, refused when another
// program holds it, claimed by the hidden window, changed at once from the settings and given
// back.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <optional>

#include "core/core.h"
#include "support/dialog_driver.h"
#include "support/test_core.h"
#include "ui/controls/hot_key_ctrl.h"
#include "ui/controls/virtual_keys.h"
#include "ui/global_hot_key.h"
#include "ui/hidden_dlg.h"
#include "ui/settings_dlg.h"

extern bool g_has_display;

namespace {

// Keys that nothing else on the test run's X server claims (a program started there keeps its
// default Ctrl+F10).
constexpr std::uint16_t kF11 = 122;
constexpr std::uint16_t kF12 = 123;
constexpr int kControl = XCB_MOD_MASK_CONTROL;
constexpr int kShift = XCB_MOD_MASK_SHIFT;
constexpr int kAlt = XCB_MOD_MASK_1;
constexpr int kCapsLock = XCB_MOD_MASK_LOCK;
constexpr int kNumLock = XCB_MOD_MASK_2;  // on the server's usual keyboard

// Another X client, as another program that wants the same key would be.
class OtherClient {
 public:
  OtherClient() : connection_(xcb_connect(nullptr, nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  }
  // Gives back what it holds and waits until the server has done so: the next test process
  // must find the keys free.
  ~OtherClient() {
    xcb_ungrab_key(connection_, XCB_GRAB_ANY, root_, XCB_MOD_MASK_ANY);
    Sync();
    xcb_disconnect(connection_);
  }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  // Takes the key in that modifier state and keeps it.
  bool Hold(std::uint32_t keycode, int state) {
    const xcb_void_cookie_t cookie = xcb_grab_key_checked(
        connection_, 1, root_, static_cast<std::uint16_t>(state),
        static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
    std::free(error);
    return error == nullptr;
  }
  // Whether this client may grab the key in that state (it lets go at once).
  bool CanGrab(std::uint32_t keycode, int state) {
    if (!Hold(keycode, state)) {
      return false;
    }
    xcb_ungrab_key(connection_, static_cast<xcb_keycode_t>(keycode), root_,
                   static_cast<std::uint16_t>(state));
    Sync();
    return true;
  }

 private:
  // A round trip: every request sent so far has been carried out.
  void Sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
};

class GlobalHotKey : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!g_has_display) {
      GTEST_SKIP() << "no X server";
    }
    other_.emplace();
  }
  OtherClient& other() { return *other_; }

 private:
  std::optional<OtherClient> other_;
};

bool Pressed(CKGlobalHotKey& hot_key, std::uint32_t keycode, int state) {
  xcb_key_press_event_t event{};
  event.response_type = XCB_KEY_PRESS;
  event.detail = static_cast<xcb_keycode_t>(keycode);
  event.state = static_cast<std::uint16_t>(state);
  return hot_key.nativeEventFilter(QByteArrayLiteral("xcb_generic_event_t"), &event, nullptr);
}

TEST_F(GlobalHotKey, IsGrabbedInEveryLockStateAndAnswersOnlyItsCombination) {
  CKGlobalHotKey hot_key;
  ASSERT_TRUE(hot_key.Register(kF11, keys::kModControl));
  const std::uint32_t keycode = hot_key.GetBackend()->GrabbedKeyCode();
  ASSERT_NE(keycode, 0u);
  for (const int locks : {0, kCapsLock, kNumLock, kCapsLock | kNumLock}) {
    EXPECT_FALSE(other().CanGrab(keycode, kControl | locks)) << locks;
  }
  EXPECT_TRUE(other().CanGrab(keycode, kShift));  // another combination stays free

  QSignalSpy activated(&hot_key, &CKGlobalHotKey::Activated);
  EXPECT_TRUE(Pressed(hot_key, keycode, kControl | kCapsLock | kNumLock));
  EXPECT_TRUE(Pressed(hot_key, keycode, kControl));
  EXPECT_FALSE(Pressed(hot_key, keycode, kControl | kShift));
  EXPECT_FALSE(Pressed(hot_key, keycode + 1, kControl));
  EXPECT_EQ(activated.size(), 2);

  hot_key.Unregister();
  EXPECT_TRUE(other().CanGrab(keycode, kControl));
}

TEST_F(GlobalHotKey, AKeyThatAnotherProgramHoldsIsNotClaimedAndAnUnknownCodeNeither) {
  CKGlobalHotKey probe;
  ASSERT_TRUE(probe.Register(kF12, keys::kModShift));
  const std::uint32_t keycode = probe.GetBackend()->GrabbedKeyCode();
  probe.Unregister();

  // The other program holds Alt+F12 with Num Lock on only: the claim fails as a whole.
  ASSERT_TRUE(other().Hold(keycode, kAlt | kNumLock));
  CKGlobalHotKey hot_key;
  EXPECT_FALSE(hot_key.Register(kF12, keys::kModAlt));
  EXPECT_FALSE(hot_key.IsRegistered());
  EXPECT_TRUE(other().CanGrab(keycode, kAlt));  // nothing of the attempt stays grabbed
  EXPECT_TRUE(hot_key.Register(kF12, keys::kModShift));
  CKGlobalHotKey unknown;
  EXPECT_FALSE(unknown.Register(0xFF, keys::kModControl));
}

// The settings dialog, run with the user's actions on the hot key's controls.
void RunSettings(std::function<void(CKSettingsDlg&)> actions) {
  test::WhenRunning<CKSettingsDlg>([actions](CKSettingsDlg& dialog) {
    actions(dialog);
    dialog.Item<QAbstractButton>(CKDialog::kIdOk)->click();
  });
  ASSERT_TRUE(RunSettingsDialog(nullptr));
}

TEST_F(GlobalHotKey, TheHiddenWindowClaimsTheStoredKeyTakesANewOneAtOnceAndGivesItBack) {
  test::KTestCoreOptions options;
  options.hot_key = true;
  options.hot_key_code = kF11;
  options.hot_key_modifiers = keys::kModControl | keys::kModAlt;
  test::TestCore core(options);
  ASSERT_TRUE(core.Start());
  const CKGlobalHotKey& hot_key = dynamic_cast<CKHiddenDlg&>(core.core().GetHiddenDlg()).HotKey();
  ASSERT_TRUE(hot_key.IsRegistered());
  const std::uint32_t f11 = hot_key.GetBackend()->GrabbedKeyCode();
  EXPECT_FALSE(other().CanGrab(f11, kControl | kAlt));

  RunSettings([](CKSettingsDlg& dialog) {
    auto* control = dialog.Item<CKHotKeyCtrl>(CKSettingsDlg::kHotKey);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F12, Qt::ShiftModifier | Qt::AltModifier);
  });
  ASSERT_TRUE(hot_key.IsRegistered());
  const std::uint32_t f12 = hot_key.GetBackend()->GrabbedKeyCode();
  EXPECT_NE(f12, f11);
  EXPECT_FALSE(other().CanGrab(f12, kShift | kAlt));  // Shift+Alt+F12 is ours now
  EXPECT_TRUE(other().CanGrab(f11, kControl | kAlt));

  // Turned off, the key is free for others; turned on again, it is ours until the end.
  for (const bool on : {false, true}) {
    RunSettings([](CKSettingsDlg& dialog) {
      dialog.Item<QAbstractButton>(CKSettingsDlg::kHotKeyOn)->click();
    });
    EXPECT_EQ(hot_key.IsRegistered(), on);
    EXPECT_EQ(other().CanGrab(f12, kShift | kAlt), !on);
  }
  core.Stop();
  EXPECT_TRUE(other().CanGrab(f12, kShift | kAlt));
}

}  // namespace
