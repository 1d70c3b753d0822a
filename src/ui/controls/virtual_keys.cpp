#include "ui/controls/virtual_keys.h"

#include <Qt>
#include <array>
#include <cstdio>
#include <vector>

namespace keys {
namespace {

constexpr std::uint32_t kXkF1 = 0xFFBE;
constexpr std::uint32_t kXkKp0 = 0xFFB0;

std::vector<KVirtualKey> BuildTable() {
  std::vector<KVirtualKey> table = {
      {0x08, Qt::Key_Backspace, false, 0xFF08, "Backspace"},
      {0x09, Qt::Key_Tab, false, 0xFF09, "Tab"},
      {0x0D, Qt::Key_Return, false, 0xFF0D, "Enter"},
      {0x13, Qt::Key_Pause, false, 0xFF13, "Pause"},
      {0x1B, Qt::Key_Escape, false, 0xFF1B, "Esc"},
      {0x20, Qt::Key_Space, false, 0x0020, "Space"},
      {0x21, Qt::Key_PageUp, false, 0xFF55, "Page Up"},
      {0x22, Qt::Key_PageDown, false, 0xFF56, "Page Down"},
      {0x23, Qt::Key_End, false, 0xFF57, "End"},
      {0x24, Qt::Key_Home, false, 0xFF50, "Home"},
      {0x25, Qt::Key_Left, false, 0xFF51, "Left"},
      {0x26, Qt::Key_Up, false, 0xFF52, "Up"},
      {0x27, Qt::Key_Right, false, 0xFF53, "Right"},
      {0x28, Qt::Key_Down, false, 0xFF54, "Down"},
      {0x2C, Qt::Key_Print, false, 0xFF61, "Print"},
      {0x2D, Qt::Key_Insert, false, 0xFF63, "Insert"},
      {0x2E, Qt::Key_Delete, false, 0xFFFF, "Delete"},
      {0x6A, Qt::Key_Asterisk, true, 0xFFAA, "Num *"},
      {0x6B, Qt::Key_Plus, true, 0xFFAB, "Num +"},
      {0x6D, Qt::Key_Minus, true, 0xFFAD, "Num -"},
      {0x6E, Qt::Key_Period, true, 0xFFAE, "Num ."},
      {0x6F, Qt::Key_Slash, true, 0xFFAF, "Num /"},
      {0x90, Qt::Key_NumLock, false, 0xFF7F, "Num Lock"},
      {0x91, Qt::Key_ScrollLock, false, 0xFF14, "Scroll Lock"},
      {0xBA, Qt::Key_Semicolon, false, 0x003B, ";"},
      {0xBB, Qt::Key_Equal, false, 0x003D, "="},
      {0xBC, Qt::Key_Comma, false, 0x002C, ","},
      {0xBD, Qt::Key_Minus, false, 0x002D, "-"},
      {0xBE, Qt::Key_Period, false, 0x002E, "."},
      {0xBF, Qt::Key_Slash, false, 0x002F, "/"},
      {0xC0, Qt::Key_QuoteLeft, false, 0x0060, "`"},
      {0xDB, Qt::Key_BracketLeft, false, 0x005B, "["},
      {0xDC, Qt::Key_Backslash, false, 0x005C, "\\"},
      {0xDD, Qt::Key_BracketRight, false, 0x005D, "]"},
      {0xDE, Qt::Key_Apostrophe, false, 0x0027, "'"},
  };
  // Names of the generated ranges live as long as the table.
  static const std::array<const char*, 10> digits = {"0", "1", "2", "3", "4",
                                                     "5", "6", "7", "8", "9"};
  static const std::array<const char*, 10> pad = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                                  "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
  static const std::array<const char*, 26> letters = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                                      "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                                      "S", "T", "U", "V", "W", "X", "Y", "Z"};
  static const std::array<const char*, 24> functions = {
      "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
      "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
  for (std::uint16_t i = 0; i < 10; ++i) {
    table.push_back({static_cast<std::uint16_t>(0x30 + i), Qt::Key_0 + i, false,
                     static_cast<std::uint32_t>(0x30 + i), digits[i]});
    table.push_back(
        {static_cast<std::uint16_t>(0x60 + i), Qt::Key_0 + i, true, kXkKp0 + i, pad[i]});
  }
  for (std::uint16_t i = 0; i < 26; ++i) {
    // X11 binds the lower-case symbol to the key; Shift is a modifier of the grab.
    table.push_back({static_cast<std::uint16_t>(0x41 + i), Qt::Key_A + i, false,
                     static_cast<std::uint32_t>(0x61 + i), letters[i]});
  }
  for (std::uint16_t i = 0; i < 24; ++i) {
    table.push_back(
        {static_cast<std::uint16_t>(0x70 + i), Qt::Key_F1 + i, false, kXkF1 + i, functions[i]});
  }
  return table;
}

const std::vector<KVirtualKey>& Table() {
  static const std::vector<KVirtualKey> table = BuildTable();
  return table;
}

}  // namespace

std::optional<KVirtualKey> FindVirtualKey(std::uint16_t code) {
  for (const KVirtualKey& key : Table()) {
    if (key.code == code) {
      return key;
    }
  }
  return std::nullopt;
}

std::optional<std::uint16_t> VirtualKeyForQtKey(int qt_key, bool keypad) {
  // Qt reports a letter typed with Shift as the capital's key, which is the same key.
  for (const KVirtualKey& key : Table()) {
    if (key.qt_key == qt_key && key.keypad == keypad) {
      return key.code;
    }
  }
  if (keypad) {
    // Keys that the number pad shares with the main block (Enter, the arrows with Num Lock
    // off) count as the main block's.
    return VirtualKeyForQtKey(qt_key, false);
  }
  return std::nullopt;
}

std::uint16_t RegistrationModifiers(std::uint16_t flags) {
  std::uint16_t result = 0;
  if (flags & kModShift) {
    result |= 4;
  }
  if (flags & kModControl) {
    result |= 2;
  }
  if (flags & kModAlt) {
    result |= 1;
  }
  return result;
}

std::uint16_t X11ModifierMask(std::uint16_t flags) {
  constexpr std::uint16_t kShiftMask = 1 << 0;
  constexpr std::uint16_t kControlMask = 1 << 2;
  constexpr std::uint16_t kMod1Mask = 1 << 3;
  std::uint16_t mask = 0;
  if (flags & kModShift) {
    mask |= kShiftMask;
  }
  if (flags & kModControl) {
    mask |= kControlMask;
  }
  if (flags & kModAlt) {
    mask |= kMod1Mask;
  }
  return mask;
}

std::string HotKeyText(std::uint16_t code, std::uint16_t flags) {
  if (code == 0) {
    return "None";
  }
  std::string text;
  if (flags & kModControl) {
    text += "Ctrl + ";
  }
  if (flags & kModShift) {
    text += "Shift + ";
  }
  if (flags & kModAlt) {
    text += "Alt + ";
  }
  if (const auto key = FindVirtualKey(code)) {
    text += key->name;
  } else {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", code);
    text += hex;
  }
  return text;
}

}  // namespace keys
