// The main() of a benchmark program that needs the library's units started.
#pragma once

#include <benchmark/benchmark.h>

#include "zelgraph/Units.h"

#define ZEL_BENCHMARK_MAIN()                                         \
  int main(int argc, char** argv) {                                  \
    zel::TZelUnitsGuard Units;                                       \
    benchmark::Initialize(&argc, argv);                              \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1; \
    benchmark::RunSpecifiedBenchmarks();                             \
    benchmark::Shutdown();                                           \
    return 0;                                                        \
  }
