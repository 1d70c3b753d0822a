// The hot key chosen in the settings takes effect at once on the X server: the new combination
// is grabbed, the old one given back, and turning the key off frees it for other programs.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QAbstractButton>
#include <QTest>
#include <cstdlib>

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

using Dlg = CKSettingsDlg;

// Keys that nothing else on the test run's X server claims (a program started there keeps its
// default Ctrl+F10).
constexpr std::uint16_t kF11 = 122;
constexpr std::uint16_t kF12 = 123;

// Another X client: whether it may grab a key in a modifier state (it lets go at once).
bool OthersCanGrab(std::uint32_t keycode, std::uint16_t state) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const xcb_void_cookie_t cookie =
      xcb_grab_key_checked(connection, 1, root, state, static_cast<xcb_keycode_t>(keycode),
                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
  xcb_generic_error_t* error = xcb_request_check(connection, cookie);
  const bool free = error == nullptr;
  std::free(error);
  xcb_disconnect(connection);
  return free;
}

// The X key code of a virtual key, as the grab translates it.
std::uint32_t KeyCodeOf(std::uint16_t virtual_key) {
  CKGlobalHotKey probe;
  if (!probe.Register(virtual_key, 1)) {
    return 0;
  }
  return probe.GetBackend()->GrabbedKeyCode();
}

TEST(SettingsHotKey, ANewKeyIsClaimedAtOnceAndTurningItOffGivesItBack) {
  if (!g_has_display) {
    GTEST_SKIP() << "no X server";
  }
  const std::uint32_t f11 = KeyCodeOf(kF11);
  const std::uint32_t f12 = KeyCodeOf(kF12);
  ASSERT_NE(f11, 0u);
  ASSERT_NE(f12, 0u);
  const auto control_alt = static_cast<std::uint16_t>(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
  const auto shift_alt = static_cast<std::uint16_t>(XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1);
  test::KTestCoreOptions options;
  options.hot_key = true;
  options.hot_key_code = kF11;
  options.hot_key_modifiers = keys::kModControl | keys::kModAlt;
  test::TestCore core(options);
  ASSERT_TRUE(core.Start());
  auto& hidden = dynamic_cast<CKHiddenDlg&>(core.core().GetHiddenDlg());
  ASSERT_TRUE(hidden.HotKey().IsRegistered());
  ASSERT_FALSE(OthersCanGrab(f11, control_alt));

  test::WhenRunning<Dlg>([](Dlg& dialog) {
    auto* control = dialog.Item<CKHotKeyCtrl>(Dlg::kHotKey);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F12, Qt::ShiftModifier | Qt::AltModifier);
    dialog.Item<QAbstractButton>(CKDialog::kIdOk)->click();
  });
  ASSERT_TRUE(RunSettingsDialog(nullptr));
  EXPECT_TRUE(hidden.HotKey().IsRegistered());
  EXPECT_FALSE(OthersCanGrab(f12, shift_alt));  // Shift+Alt+F12 is ours now
  EXPECT_TRUE(OthersCanGrab(f11, control_alt));

  test::WhenRunning<Dlg>([](Dlg& dialog) {
    dialog.Item<QAbstractButton>(Dlg::kHotKeyOn)->click();
    dialog.Item<QAbstractButton>(CKDialog::kIdOk)->click();
  });
  ASSERT_TRUE(RunSettingsDialog(nullptr));
  EXPECT_FALSE(hidden.HotKey().IsRegistered());
  EXPECT_TRUE(OthersCanGrab(f12, shift_alt));
}

}  // namespace
