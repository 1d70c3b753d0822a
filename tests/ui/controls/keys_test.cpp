// The key table, the hot key's texts and modifiers, and the control that takes a hot key.
#include <gtest/gtest.h>

#include <QTest>

#include "ui/controls/hot_key_ctrl.h"
#include "ui/controls/virtual_keys.h"

namespace {

TEST(VirtualKeys, TheTableMapsCodesToX11SymbolsAndQtKeysAndTheModifiersToX11Masks) {
  EXPECT_EQ(keys::FindVirtualKey(121)->keysym, 0xFFC7u);  // F10
  EXPECT_EQ(keys::FindVirtualKey('K')->keysym, static_cast<std::uint32_t>('k'));
  EXPECT_EQ(keys::FindVirtualKey(0x60)->keysym, 0xFFB0u);  // number pad 0
  EXPECT_FALSE(keys::FindVirtualKey(0xFF));
  EXPECT_EQ(keys::VirtualKeyForQtKey(Qt::Key_F10, false), 121);
  EXPECT_EQ(keys::VirtualKeyForQtKey(Qt::Key_0, true), 0x60);
  EXPECT_EQ(keys::VirtualKeyForQtKey(Qt::Key_Minus, false), 0xBD);
  EXPECT_EQ(keys::VirtualKeyForQtKey(Qt::Key_Minus, true), 0x6D);
  EXPECT_EQ(keys::VirtualKeyForQtKey(Qt::Key_Return, true), 0x0D);  // the pad's Enter
  EXPECT_FALSE(keys::VirtualKeyForQtKey(Qt::Key_Launch0, false));
  EXPECT_EQ(keys::HotKeyText(0xE7, keys::kModAlt | keys::kModShift), "Shift + Alt + 0xE7");
  EXPECT_EQ(keys::X11ModifierMask(keys::kModControl | keys::kModExtended), 1 << 2);  // Control
}

TEST(HotKeyCtrl, TakesTheCombinationPressedAndBackspaceClearsIt) {
  CKHotKeyCtrl control;
  control.SetHotKey(121, keys::kModControl);
  EXPECT_EQ(control.text(), QStringLiteral("Ctrl + F10"));
  QTest::keyClick(&control, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(control.GetVirtualKey(), 'K');
  EXPECT_EQ(control.GetModifiers(), keys::kModControl | keys::kModAlt);
  QTest::keyClick(&control, Qt::Key_Shift, Qt::ShiftModifier);  // a modifier alone: no change
  EXPECT_EQ(control.GetVirtualKey(), 'K');
  QTest::keyClick(&control, Qt::Key_Backspace);
  EXPECT_EQ(control.GetVirtualKey(), 0);
  EXPECT_EQ(control.text(), QStringLiteral("None"));
}

}  // namespace
