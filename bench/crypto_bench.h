#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

// Every piece of work is registered three times, as "WORK/ours" (the processor's instructions
// where present), "WORK/portable" (the portable code, forced) and "WORK/libcrypto" (OpenSSL);
// the summary at the end prints each of ours next to libcrypto with the ratio of the speeds.

namespace crypto_bench {

// Repetitions with the best one kept, so that other work on the machine disturbs little.
benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench);

// Records that each iteration worked through this many bytes (after the timed loop); the
// summary turns the best time into a throughput.
void CountBytes(benchmark::State& state, std::int64_t bytes_per_iteration);

// Forces the portable code for the lifetime of the object.
class PortableScope {
 public:
  explicit PortableScope(bool portable);
  ~PortableScope();

 private:
  bool previous_;
};

}  // namespace crypto_bench
