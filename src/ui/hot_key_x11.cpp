// The global hot key on X11: a passive grab of the key on the root window.
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QGuiApplication>
#include <memory>
#include <vector>

#include "ui/controls/virtual_keys.h"
#include "ui/global_hot_key.h"

namespace {

constexpr std::uint32_t kNumLockKeysym = 0xFF7F;
constexpr std::uint16_t kCapsLockMask = XCB_MOD_MASK_LOCK;

class X11HotKey final : public CKGlobalHotKey::Backend {
 public:
  explicit X11HotKey(xcb_connection_t* connection) : connection_(connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    root_ = xcb_setup_roots_iterator(setup).data->root;
  }
  ~X11HotKey() override { Ungrab(); }

  bool Grab(std::uint16_t virtual_key, std::uint16_t modifiers) override {
    const auto key = keys::FindVirtualKey(virtual_key);
    if (!key) {
      return false;
    }
    keycode_ = KeycodeFor(key->keysym);
    if (keycode_ == 0) {
      return false;
    }
    modifiers_ = keys::X11ModifierMask(modifiers);
    num_lock_ = NumLockMask();
    // The grab names the exact modifier state, so every state of the two lock keys is grabbed.
    const std::uint16_t locks[] = {0, kCapsLockMask, num_lock_,
                                   static_cast<std::uint16_t>(kCapsLockMask | num_lock_)};
    for (const std::uint16_t lock : locks) {
      const std::uint16_t state = static_cast<std::uint16_t>(modifiers_ | lock);
      if (HasVariant(state)) {
        continue;  // without a Num Lock key two variants are the same
      }
      const xcb_void_cookie_t cookie = xcb_grab_key_checked(
          connection_, 1, root_, state, keycode_, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
      if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
        free(error);  // taken by another program
        Ungrab();
        return false;
      }
      grabbed_.push_back(state);
    }
    xcb_flush(connection_);
    return true;
  }

  void Ungrab() override {
    if (grabbed_.empty()) {
      return;
    }
    for (const std::uint16_t state : grabbed_) {
      xcb_ungrab_key(connection_, keycode_, root_, state);
    }
    grabbed_.clear();
    // A round trip, so that the key is free for other programs when this returns.
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  bool IsPress(const QByteArray& event_type, void* message) const override {
    if (event_type != "xcb_generic_event_t" || message == nullptr || grabbed_.empty()) {
      return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) {
      return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    const std::uint16_t ignored = static_cast<std::uint16_t>(kCapsLockMask | num_lock_);
    const std::uint16_t relevant =
        XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
    return press->detail == keycode_ &&
           (press->state & relevant & static_cast<std::uint16_t>(~ignored)) == modifiers_;
  }

  std::uint32_t GrabbedKeyCode() const override { return grabbed_.empty() ? 0 : keycode_; }

 private:
  bool HasVariant(std::uint16_t state) const {
    for (const std::uint16_t grabbed : grabbed_) {
      if (grabbed == state) {
        return true;
      }
    }
    return false;
  }

  // The first key code whose symbols include the key symbol; 0 when no key has it.
  xcb_keycode_t KeycodeFor(std::uint32_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, first, static_cast<std::uint8_t>(count)),
        nullptr);
    if (reply == nullptr) {
      return 0;
    }
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply);
    const int per_code = reply->keysyms_per_keycode;
    const int total = xcb_get_keyboard_mapping_keysyms_length(reply);
    xcb_keycode_t found = 0;
    for (int i = 0; i < total && per_code > 0; ++i) {
      if (symbols[i] == keysym) {
        found = static_cast<xcb_keycode_t>(first + i / per_code);
        break;
      }
    }
    free(reply);
    return found;
  }

  // The modifier bit that Num Lock sets (usually Mod2); 0 when no modifier holds the key.
  std::uint16_t NumLockMask() const {
    const xcb_keycode_t num_lock = KeycodeFor(kNumLockKeysym);
    if (num_lock == 0) {
      return 0;
    }
    xcb_get_modifier_mapping_reply_t* reply =
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr);
    if (reply == nullptr) {
      return 0;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply);
    const int per_modifier = reply->keycodes_per_modifier;
    std::uint16_t mask = 0;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
      for (int j = 0; j < per_modifier; ++j) {
        if (codes[modifier * per_modifier + j] == num_lock) {
          mask = static_cast<std::uint16_t>(1u << modifier);
          break;
        }
      }
    }
    free(reply);
    return mask;
  }

  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  xcb_keycode_t keycode_ = 0;
  std::uint16_t modifiers_ = 0;
  std::uint16_t num_lock_ = 0;
  std::vector<std::uint16_t> grabbed_;
};

}  // namespace

std::unique_ptr<CKGlobalHotKey::Backend> CreateHotKeyBackend() {
  auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->connection() == nullptr) {
    return nullptr;
  }
  return std::make_unique<X11HotKey>(x11->connection());
}
