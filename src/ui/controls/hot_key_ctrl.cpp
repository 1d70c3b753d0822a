#include "ui/controls/hot_key_ctrl.h"

#include <QKeyEvent>

#include "ui/controls/virtual_keys.h"

CKHotKeyCtrl::CKHotKeyCtrl(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  ShowKey();
}

void CKHotKeyCtrl::SetHotKey(std::uint16_t virtual_key, std::uint16_t modifiers) {
  virtual_key_ = virtual_key;
  modifiers_ = modifiers;
  ShowKey();
}

void CKHotKeyCtrl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
      key == Qt::Key_AltGr) {
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers pressed = event->modifiers();
  std::uint16_t modifiers = 0;
  if (pressed & Qt::ShiftModifier) {
    modifiers |= keys::kModShift;
  }
  if (pressed & Qt::ControlModifier) {
    modifiers |= keys::kModControl;
  }
  if (pressed & Qt::AltModifier) {
    modifiers |= keys::kModAlt;
  }
  // Backspace or Delete alone clear the key, as in the classic control.
  if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && modifiers == 0) {
    SetHotKey(0, 0);
    emit HotKeyChanged();
    event->accept();
    return;
  }
  const auto code = keys::VirtualKeyForQtKey(key, (pressed & Qt::KeypadModifier) != 0);
  if (code) {
    SetHotKey(*code, modifiers);
    emit HotKeyChanged();
  }
  event->accept();
}

void CKHotKeyCtrl::ShowKey() {
  setText(QString::fromStdString(keys::HotKeyText(virtual_key_, modifiers_)));
}
