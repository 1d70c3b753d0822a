#pragma once

namespace files {

// A read may hand over memory that another thread goes on filling for a while (a mapped stream
// deciphers long reads on its second thread). Until that is done the memory must not be freed:
// code that frees memory which such a read may have been given calls SettlePendingWrites
// first. It returns at once when no read of this thread has writes pending.
class PendingWrites {
 public:
  // Waits until every write that this reader handed over is done.
  virtual void SettleWrites() = 0;

 protected:
  ~PendingWrites() = default;
};

// The reader whose writes are pending on this thread; null when there is none.
void SetPendingWrites(PendingWrites* pending);
PendingWrites* GetPendingWrites();
void SettlePendingWrites();

}  // namespace files
