#include <cstdio>
#include <map>
#include <vector>

#include "best_run_reporter.h"
#include "crypto/cpu.h"
#include "crypto_bench.h"

namespace crypto_bench {
namespace {

// Keeps the best repetition of each benchmark and prints the comparison after the run.
class RatioReporter : public bench_support::BestRunReporter {
 public:
  void Best(const Run& run) override {
    const std::string& name = run.run_name.function_name;
    const auto slash = name.rfind('/');
    Figure& figure = work_[name.substr(0, slash)][name.substr(slash + 1)];
    figure.seconds = Seconds(run.GetAdjustedCPUTime(), run);
    const auto bytes = run.counters.find("bytes");
    figure.bytes = bytes != run.counters.end() ? bytes->second.value : 0;
  }

  void Finalize() override {
    const crypto::CpuFeatures& cpu = crypto::DetectedCpuFeatures();
    std::printf("\nProcessor: AES-NI %s, SHA extensions %s\n", cpu.aes ? "yes" : "no",
                cpu.sha ? "yes" : "no");
    std::printf("%-34s %-10s %14s %14s %8s\n", "work", "code", "figure", "libcrypto",
                "speed ratio");
    for (const auto& [work, figures] : work_) {
      const auto reference = figures.find("libcrypto");
      if (reference == figures.end()) {
        continue;
      }
      for (const char* code : {"ours", "portable"}) {
        const auto ours = figures.find(code);
        if (ours == figures.end()) {
          continue;
        }
        std::printf("%-34s %-10s %14s %14s %8.2f\n", work.c_str(), code,
                    Format(ours->second).c_str(), Format(reference->second).c_str(),
                    reference->second.seconds / ours->second.seconds);
      }
    }
    ConsoleReporter::Finalize();
  }

 private:
  struct Figure {
    double seconds = 0;
    double bytes = 0;
  };

  // Throughput for work on a buffer, time per call otherwise.
  static std::string Format(const Figure& figure) {
    char text[32];
    if (figure.bytes > 0) {
      std::snprintf(text, sizeof text, "%.3f GB/s", figure.bytes / figure.seconds / 1e9);
    } else {
      std::snprintf(text, sizeof text, "%.3f ms", figure.seconds * 1e3);
    }
    return text;
  }

  std::map<std::string, std::map<std::string, Figure>> work_;
};

}  // namespace

benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench) {
  return bench->Repetitions(5)
      ->DisplayAggregatesOnly(true)
      ->ComputeStatistics("min", &bench_support::Minimum)
      ->Unit(benchmark::kMicrosecond);
}

void CountBytes(benchmark::State& state, std::int64_t bytes_per_iteration) {
  state.counters["bytes"] = static_cast<double>(bytes_per_iteration);
}

PortableScope::PortableScope(bool portable) : previous_(crypto::ForcePortableCrypto(portable)) {}

PortableScope::~PortableScope() {
  crypto::ForcePortableCrypto(previous_);
}

}  // namespace crypto_bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  crypto_bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
