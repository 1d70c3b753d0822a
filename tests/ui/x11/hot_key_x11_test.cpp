#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QSignalSpy>
#include <cstdlib>
#include <memory>

#include "core/core.h"
#include "support/test_core.h"
#include "ui/controls/virtual_keys.h"
#include "ui/global_hot_key.h"
#include "ui/hidden_dlg.h"

extern bool g_has_display;

namespace {

// Keys that nothing else on the test run's X server claims (a program started there keeps its
// default Ctrl+F10).
constexpr std::uint16_t kF11 = 122;
constexpr std::uint16_t kF12 = 123;

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

  // Whether this client may grab the key in that modifier state (it lets go at once).
  bool CanGrab(std::uint32_t keycode, std::uint16_t state) {
    const xcb_void_cookie_t cookie =
        xcb_grab_key_checked(connection_, 1, root_, state, static_cast<xcb_keycode_t>(keycode),
                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
    if (error != nullptr) {
      std::free(error);
      return false;
    }
    xcb_ungrab_key(connection_, static_cast<xcb_keycode_t>(keycode), root_, state);
    Sync();
    return true;
  }

  // Takes the key in that state and keeps it.
  bool Hold(std::uint32_t keycode, std::uint16_t state) {
    const xcb_void_cookie_t cookie =
        xcb_grab_key_checked(connection_, 1, root_, state, static_cast<xcb_keycode_t>(keycode),
                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
    std::free(error);
    return error == nullptr;
  }

 private:
  // A round trip: every request sent so far has been carried out.
  void Sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
};

xcb_key_press_event_t Press(std::uint32_t keycode, std::uint16_t state) {
  xcb_key_press_event_t event{};
  event.response_type = XCB_KEY_PRESS;
  event.detail = static_cast<xcb_keycode_t>(keycode);
  event.state = state;
  return event;
}

TEST(GlobalHotKey, IsGrabbedInEveryLockStateAndAnswersOnlyItsCombination) {
  if (!g_has_display) {
    GTEST_SKIP() << "no X server";
  }
  CKGlobalHotKey hot_key;
  ASSERT_TRUE(hot_key.Register(kF11, keys::kModControl));
  const std::uint32_t keycode = hot_key.GetBackend()->GrabbedKeyCode();
  ASSERT_NE(keycode, 0u);

  const std::uint16_t control = XCB_MOD_MASK_CONTROL;
  const std::uint16_t caps = XCB_MOD_MASK_LOCK;
  const std::uint16_t num = XCB_MOD_MASK_2;  // Num Lock on the server's usual keyboard
  OtherClient other;
  const std::uint16_t variants[] = {0, caps, num, static_cast<std::uint16_t>(caps | num)};
  for (const std::uint16_t locks : variants) {
    EXPECT_FALSE(other.CanGrab(keycode, static_cast<std::uint16_t>(control | locks))) << locks;
  }
  EXPECT_TRUE(other.CanGrab(keycode, XCB_MOD_MASK_SHIFT));  // another combination stays free

  QSignalSpy activated(&hot_key, &CKGlobalHotKey::Activated);
  const QByteArray type("xcb_generic_event_t");
  auto with_locks = Press(keycode, static_cast<std::uint16_t>(control | caps | num));
  EXPECT_TRUE(hot_key.nativeEventFilter(type, &with_locks, nullptr));
  auto plain = Press(keycode, control);
  EXPECT_TRUE(hot_key.nativeEventFilter(type, &plain, nullptr));
  auto with_shift = Press(keycode, static_cast<std::uint16_t>(control | XCB_MOD_MASK_SHIFT));
  EXPECT_FALSE(hot_key.nativeEventFilter(type, &with_shift, nullptr));
  auto other_key = Press(keycode + 1, control);
  EXPECT_FALSE(hot_key.nativeEventFilter(type, &other_key, nullptr));
  EXPECT_EQ(activated.size(), 2);

  hot_key.Unregister();
  EXPECT_TRUE(other.CanGrab(keycode, control));
}

TEST(GlobalHotKey, AKeyThatAnotherProgramHoldsIsNotClaimedAndAnUnknownCodeNeither) {
  if (!g_has_display) {
    GTEST_SKIP() << "no X server";
  }
  CKGlobalHotKey probe;
  ASSERT_TRUE(probe.Register(kF12, keys::kModShift));
  const std::uint32_t keycode = probe.GetBackend()->GrabbedKeyCode();
  probe.Unregister();

  OtherClient other;
  // The other program holds Alt+F12 with Num Lock on only: the claim fails as a whole.
  ASSERT_TRUE(other.Hold(keycode, XCB_MOD_MASK_1 | XCB_MOD_MASK_2));
  CKGlobalHotKey hot_key;
  EXPECT_FALSE(hot_key.Register(kF12, keys::kModAlt));
  EXPECT_FALSE(hot_key.IsRegistered());
  EXPECT_TRUE(other.CanGrab(keycode, XCB_MOD_MASK_1));  // nothing of the attempt stays grabbed
  EXPECT_TRUE(hot_key.Register(kF12, keys::kModShift));
  CKGlobalHotKey unknown;
  EXPECT_FALSE(unknown.Register(0xFF, keys::kModControl));
}

TEST(GlobalHotKey, TheHiddenWindowClaimsTheStoredKeyAndGivesItBack) {
  if (!g_has_display) {
    GTEST_SKIP() << "no X server";
  }
  test::KTestCoreOptions options;
  options.hot_key = true;
  options.hot_key_code = kF11;
  options.hot_key_modifiers = keys::kModControl | keys::kModShift;
  test::TestCore core(options);
  ASSERT_TRUE(core.Start());
  auto& hidden = dynamic_cast<CKHiddenDlg&>(core.core().GetHiddenDlg());
  ASSERT_TRUE(hidden.HotKey().IsRegistered());
  const std::uint32_t keycode = hidden.HotKey().GetBackend()->GrabbedKeyCode();
  const auto state = static_cast<std::uint16_t>(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT);
  OtherClient other;
  EXPECT_FALSE(other.CanGrab(keycode, state));
  core.Stop();
  EXPECT_TRUE(other.CanGrab(keycode, state));
}

}  // namespace
