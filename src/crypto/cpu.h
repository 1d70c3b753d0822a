#pragma once

namespace crypto {

// Which processor instructions the cipher and the hash may use. The processor is asked once;
// every operation then picks its path when it runs, so all paths give the same results and
// may be switched between calls.
struct CpuFeatures {
  bool aes = false;  // AES-NI (with SSE4.1)
  bool sha = false;  // SHA extensions (with SSE4.1)
};

// What this processor offers.
const CpuFeatures& DetectedCpuFeatures();

// What the operations use now: the detected features, or none while the portable code is forced.
CpuFeatures ActiveCpuFeatures();

// Forces the portable table-driven and plain C++ code (true) or returns to the detected
// instructions (false); returns the previous setting. Tests and benchmarks use it to run
// every path on a machine that has the instructions.
bool ForcePortableCrypto(bool force);

}  // namespace crypto
