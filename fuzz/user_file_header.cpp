// A user file listed without its password: only the header and the memo are read, and any
// bytes give result 0, 1 or 3.
#include <cstddef>
#include <cstdint>

#include "crypto/user_file.h"
#include "database/database.h"
#include "user_file_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CKDatabase database;
  database.SetPath(fuzz::WriteUserFile(data, size));
  const int result = database.Load();
  if (result != 0 && result != 1 && result != 3) {
    __builtin_trap();
  }
  if (database.IsOpen() || database.GetMemo().size() > 32767) {
    __builtin_trap();
  }
  return 0;
}
