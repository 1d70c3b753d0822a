#pragma once

#include <benchmark/benchmark.h>

// The main window's list on one folder of 10,000 notes. Each figure is registered as
// "WORK/ours" and printed next to "walk/reference": visiting the same notes and reading each
// one's name, the least that showing or searching them has to do. The target is an answer
// within 50 ms.
namespace main_window_bench {

inline constexpr int kNotes = 10'000;
inline constexpr double kTargetMs = 50.0;

benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench);
// Destroys the list before the application object goes.
void ReleaseWidgets();

}  // namespace main_window_bench
