#include <QApplication>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "best_run_reporter.h"
#include "main_window_bench.h"

namespace main_window_bench {
namespace {

// Keeps the best repetition of each benchmark and prints ours next to the walk.
class WalkReporter : public bench_support::BestRunReporter {
 public:
  void Best(const Run& run) override {
    ms_[run.run_name.function_name] = Seconds(run.GetAdjustedRealTime(), run) * 1e3;
  }

  void Finalize() override {
    const auto walk = ms_.find("walk/reference");
    const auto fields = ms_.find("read fields/reference");
    if (walk != ms_.end()) {
      std::printf("\nOne folder of %d notes; walking them takes %.2f ms", kNotes, walk->second);
      if (fields != ms_.end()) {
        std::printf(", copying out all their text fields %.2f ms", fields->second);
      }
      std::printf("\n%-18s %10s %10s %8s %8s\n", "work", "ours", "walk", "ratio", "target");
      for (const auto& [name, ms] : ms_) {
        if (name.ends_with("/reference")) {
          continue;
        }
        std::printf("%-18s %7.2f ms %7.2f ms %8.1f %5.0f ms (%s)\n",
                    name.substr(0, name.rfind('/')).c_str(), ms, walk->second, ms / walk->second,
                    kTargetMs, ms <= kTargetMs ? "met" : "missed");
      }
    }
    ConsoleReporter::Finalize();
  }

 private:
  std::map<std::string, double> ms_;
};

}  // namespace

benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench) {
  return bench->Repetitions(7)
      ->Iterations(3)
      ->DisplayAggregatesOnly(true)
      ->ComputeStatistics("min", &bench_support::Minimum)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace main_window_bench

int main(int argc, char** argv) {
  // The list is drawn off screen unless a display is asked for.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  main_window_bench::WalkReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  main_window_bench::ReleaseWidgets();
  benchmark::Shutdown();
  return 0;
}
