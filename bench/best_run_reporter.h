#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

// What every benchmark program here shares: each benchmark is repeated, and the figure that
// counts is the best repetition (least disturbed by the rest of the machine).
namespace bench_support {

// The "min" statistic that the benchmarks compute besides the mean, median and spread.
inline double Minimum(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

// Prints as the console reporter does and hands each benchmark's best repetition to Best, for
// the summary that the program prints after the run.
class BestRunReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min" && !run.error_occurred) {
        Best(run);
      }
    }
  }

 protected:
  virtual void Best(const Run& run) = 0;

  static double Seconds(double time, const Run& run) {
    return time / benchmark::GetTimeUnitMultiplier(run.time_unit);
  }
};

}  // namespace bench_support
