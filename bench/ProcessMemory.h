// The process' memory as the benchmarks report it (Linux, glibc).
#pragma once

#include <malloc.h>

#include <cstddef>
#include <cstdio>

namespace zel::bench {

// Heap bytes in use, in every arena.
inline std::size_t HeapInUse() {
  const struct mallinfo2 M = mallinfo2();
  return M.uordblks + M.hblkhd;
}

// Resident memory now, in MiB.
inline double ResidentMiB() {
  long Pages = 0, Resident = 0;
  if (std::FILE* F = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(F, "%ld %ld", &Pages, &Resident) != 2) Resident = 0;
    std::fclose(F);
  }
  return static_cast<double>(Resident) * 4096.0 / (1024.0 * 1024.0);
}

// The most resident memory so far (VmHWM), in MiB.
inline double PeakResidentMiB() {
  double Kb = 0;
  if (std::FILE* F = std::fopen("/proc/self/status", "r")) {
    char Line[256];
    while (std::fgets(Line, sizeof Line, F))
      if (std::sscanf(Line, "VmHWM: %lf", &Kb) == 1) break;
    std::fclose(F);
  }
  return Kb / 1024.0;
}

}  // namespace zel::bench
