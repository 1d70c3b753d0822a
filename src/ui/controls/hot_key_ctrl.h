#pragma once

#include <QLineEdit>
#include <cstdint>

// The control in which the user presses the combination for the global hot key. It holds the
// key as the settings store it: a virtual-key code and the hot-key-control modifier flags.
class CKHotKeyCtrl : public QLineEdit {
  Q_OBJECT

 public:
  explicit CKHotKeyCtrl(QWidget* parent = nullptr);

  void SetHotKey(std::uint16_t virtual_key, std::uint16_t modifiers);
  std::uint16_t GetVirtualKey() const { return virtual_key_; }
  std::uint16_t GetModifiers() const { return modifiers_; }

 signals:
  void HotKeyChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowKey();

  std::uint16_t virtual_key_ = 0;
  std::uint16_t modifiers_ = 0;
};
