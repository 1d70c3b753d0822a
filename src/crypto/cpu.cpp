#include "crypto/cpu.h"

#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define VQ_CRYPTO_X86 1
#endif

namespace crypto {
namespace {

std::atomic<bool> portable_forced{false};

#ifdef VQ_CRYPTO_X86
CpuFeatures Detect() {
  CpuFeatures features;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return features;
  }
  const bool sse41 = (ecx & bit_SSE4_1) != 0 && (ecx & bit_SSSE3) != 0;
  features.aes = sse41 && (ecx & bit_AES) != 0;
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0) {
    features.sha = sse41 && (ebx & bit_SHA) != 0;
  }
  return features;
}
#else
CpuFeatures Detect() {
  return CpuFeatures{};
}
#endif

}  // namespace

const CpuFeatures& DetectedCpuFeatures() {
  static const CpuFeatures detected = Detect();
  return detected;
}

CpuFeatures ActiveCpuFeatures() {
  if (portable_forced.load(std::memory_order_relaxed)) {
    return CpuFeatures{};
  }
  return DetectedCpuFeatures();
}

bool ForcePortableCrypto(bool force) {
  return portable_forced.exchange(force);
}

}  // namespace crypto
