#include "platform/process_hardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace platform {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeakCheckerNeedsPtrace = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLeakCheckerNeedsPtrace = true;
#else
constexpr bool kLeakCheckerNeedsPtrace = false;
#endif
#else
constexpr bool kLeakCheckerNeedsPtrace = false;
#endif

}  // namespace

bool DisableCoreDumpsAndDebugging() {
  const rlimit none{0, 0};
  bool done = setrlimit(RLIMIT_CORE, &none) == 0;
  if (!kLeakCheckerNeedsPtrace) {
    done = prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 && done;
  }
  return done;
}

}  // namespace platform
