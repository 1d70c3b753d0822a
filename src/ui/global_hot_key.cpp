#include "ui/global_hot_key.h"

#include <QCoreApplication>

CKGlobalHotKey::CKGlobalHotKey(QObject* parent) : QObject(parent) {}

CKGlobalHotKey::~CKGlobalHotKey() {
  Unregister();
}

bool CKGlobalHotKey::Register(std::uint16_t virtual_key, std::uint16_t modifiers) {
  Unregister();
  backend_ = CreateHotKeyBackend();
  if (!backend_ || !backend_->Grab(virtual_key, modifiers)) {
    backend_.reset();
    return false;
  }
  registered_ = true;
  QCoreApplication::instance()->installNativeEventFilter(this);
  return true;
}

void CKGlobalHotKey::Unregister() {
  if (!registered_) {
    return;
  }
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
  backend_->Ungrab();
  backend_.reset();
  registered_ = false;
}

bool CKGlobalHotKey::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) {
  if (!registered_ || !backend_->IsPress(event_type, message)) {
    return false;
  }
  emit Activated();
  return true;
}
