// The main() of a benchmark program that needs the library's units started.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

#include "zelgraph/Units.h"

namespace zel {

// Runs the benchmarks the command line picks with the library's units started; Register, when
// given, adds benchmarks that need the units (it runs before the command line is read).
inline int ZelRunBenchmarks(int argc, char** argv, const std::function<void()>& Register = {}) {
  TZelUnitsGuard Units;
  if (Register) Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Windows are made off screen when no display is named, so that a benchmark that shows windows
// runs on a machine without one.
inline void ZelOffscreenWithoutDisplay() {
  if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace zel

#define ZEL_BENCHMARK_MAIN() \
  int main(int argc, char** argv) { return zel::ZelRunBenchmarks(argc, argv); }
