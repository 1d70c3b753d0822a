#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <memory>

// The program's global hot key: a key combination that reaches the program whichever window
// has the keyboard. On X11 the key is grabbed on the root window, in every state of Num Lock
// and Caps Lock; where the window system offers no such thing the key is not claimed.
class CKGlobalHotKey : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  // The window system's side of the key; one per kind of window system.
  class Backend {
   public:
    virtual ~Backend() = default;
    virtual bool Grab(std::uint16_t virtual_key, std::uint16_t modifiers) = 0;
    virtual void Ungrab() = 0;
    // Whether a native event is the press of the grabbed key.
    virtual bool IsPress(const QByteArray& event_type, void* message) const = 0;
    // The window system's code of the grabbed key; 0 when none is grabbed.
    virtual std::uint32_t GrabbedKeyCode() const = 0;
  };

  explicit CKGlobalHotKey(QObject* parent = nullptr);
  ~CKGlobalHotKey() override;

  // Claims the key (virtual-key code and hot-key-control modifier flags). False when the
  // window system has no global keys, the code is unknown, or another program holds the key.
  bool Register(std::uint16_t virtual_key, std::uint16_t modifiers);
  void Unregister();
  bool IsRegistered() const { return registered_; }
  Backend* GetBackend() const { return backend_.get(); }

  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;

 signals:
  void Activated();

 private:
  std::unique_ptr<Backend> backend_;
  bool registered_ = false;
};

// The backend of the running window system; null when it offers no global keys.
std::unique_ptr<CKGlobalHotKey::Backend> CreateHotKeyBackend();
