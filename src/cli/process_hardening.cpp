#include "cli/process_hardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace cli {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

}  // namespace

void DisableCoreDumps() {
  const rlimit none{0, 0};
  setrlimit(RLIMIT_CORE, &none);
  if (!kUnderAddressSanitizer) {
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  }
}

}  // namespace cli
