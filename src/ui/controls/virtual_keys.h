#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The hot key as the settings store it: a virtual-key code and modifier flags in the encoding
// of the classic hot-key control (Shift 1, Ctrl 2, Alt 4, extended key 8). One table maps the
// codes to the keys of the windowing systems the program runs on.
namespace keys {

inline constexpr std::uint16_t kModShift = 1;
inline constexpr std::uint16_t kModControl = 2;
inline constexpr std::uint16_t kModAlt = 4;
inline constexpr std::uint16_t kModExtended = 8;

struct KVirtualKey {
  std::uint16_t code;    // virtual-key code
  int qt_key;            // Qt::Key
  bool keypad;           // the key of the number pad (Qt reports it with the keypad modifier)
  std::uint32_t keysym;  // X11 key symbol
  const char* name;
};

// The entry of a virtual-key code; nothing for a code the table does not know.
std::optional<KVirtualKey> FindVirtualKey(std::uint16_t code);
// The virtual-key code of a key that Qt reported.
std::optional<std::uint16_t> VirtualKeyForQtKey(int qt_key, bool keypad);

// The modifiers for registering a hot key with the classic window system: Shift becomes 4,
// Ctrl stays 2, Alt becomes 1, the extended-key flag is dropped.
std::uint16_t RegistrationModifiers(std::uint16_t flags);
// The X11 modifier mask: Shift, Control and Mod1 (Alt).
std::uint16_t X11ModifierMask(std::uint16_t flags);

// "Ctrl + Alt + F10"; the code in hexadecimal for a key the table does not know; "None" for
// code 0.
std::string HotKeyText(std::uint16_t code, std::uint16_t flags);

}  // namespace keys
