#include <cstdio>
#include <map>
#include <vector>

#include "best_run_reporter.h"
#include "database_bench.h"

namespace database_bench {
namespace {

constexpr double kTimeTarget = 1.5;
constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kMemoryAllowance = 16 * kMiB;

// Keeps the best repetition of each benchmark and prints ours next to the bound.
class BoundReporter : public bench_support::BestRunReporter {
 public:
  explicit BoundReporter(std::uint64_t load_peak) : load_peak_(load_peak) {}

  void Best(const Run& run) override {
    const std::string& name = run.run_name.function_name;
    const auto slash = name.rfind('/');
    seconds_[name.substr(0, slash)][name.substr(slash + 1)] =
        Seconds(run.GetAdjustedRealTime(), run);
  }

  void Finalize() override {
    const UserFile& file = SyntheticUser();
    std::printf(
        "\nUser file: %.1f MiB (%.1f MiB enciphered), %d notes in %d folders, "
        "%d iterations\n",
        static_cast<double>(file.file_size) / kMiB, static_cast<double>(file.stream_size) / kMiB,
        kFolders * kNotesPerFolder, kFolders, file.iterations);
    std::printf("%-6s %12s %12s %8s %8s\n", "work", "ours", "bound", "ratio", "target");
    for (const auto& [work, figures] : seconds_) {
      const auto ours = figures.find("ours");
      const auto bound = figures.find("bound");
      if (ours == figures.end() || bound == figures.end()) {
        continue;
      }
      std::printf("%-6s %9.1f ms %9.1f ms %8.2f %8.2f\n", work.c_str(), ours->second * 1e3,
                  bound->second * 1e3, ours->second / bound->second, kTimeTarget);
      // The wider references: the bound plus getting the bytes with read(), or new memory.
      for (const auto& [name, seconds] : figures) {
        if (name != "ours" && name != "bound") {
          std::printf("%-6s %12s %9.1f ms %8.2f   (%s)\n", "", "", seconds * 1e3,
                      ours->second / seconds, name.c_str());
        }
      }
    }
    const double plain = static_cast<double>(file.stream_size);
    std::printf("Load peak memory: %.1f MiB; target: plaintext %.1f MiB + 16 MiB = %.1f MiB (%s)\n",
                static_cast<double>(load_peak_) / kMiB, plain / kMiB,
                (plain + kMemoryAllowance) / kMiB,
                static_cast<double>(load_peak_) <= plain + kMemoryAllowance ? "met" : "missed");
    ConsoleReporter::Finalize();
  }

 private:
  std::uint64_t load_peak_;
  std::map<std::string, std::map<std::string, double>> seconds_;
};

}  // namespace

benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench) {
  return bench->Repetitions(5)
      ->Iterations(1)
      ->DisplayAggregatesOnly(true)
      ->ComputeStatistics("min", &bench_support::Minimum)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace database_bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  // Before anything else has grown this process.
  const std::uint64_t load_peak = database_bench::MeasureLoadPeakMemory();
  database_bench::BoundReporter reporter(load_peak);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
