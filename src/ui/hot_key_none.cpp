// Window systems without global keys: the hot key is never claimed.
#include "ui/global_hot_key.h"

std::unique_ptr<CKGlobalHotKey::Backend> CreateHotKeyBackend() {
  return nullptr;
}
