#include "files/pending_writes.h"

namespace files {
namespace {
thread_local PendingWrites* t_pending = nullptr;
}  // namespace

void SetPendingWrites(PendingWrites* pending) {
  t_pending = pending;
}

PendingWrites* GetPendingWrites() {
  return t_pending;
}

void SettlePendingWrites() {
  if (t_pending != nullptr) {
    t_pending->SettleWrites();
  }
}

}  // namespace files
