// The viewer's load as a user sees it: the main window shown on a display (an X server, for
// example Xvfb), a session file loaded into it as the "Load file" action does, and the time until
// the window has painted the loaded chart. Prints for each run the wall time from the start of the
// load to that paint, the load's part of it, the CPU time both took (all threads) and the
// process' resident memory after it.
//
//   window_load FILE [RUNS]          (needs DISPLAY; bench/window_load.sh runs it under Xvfb)
//
// A few runs in one window also show what a reload keeps: "rss" after the first load is the
// window's memory with one file loaded, and should not grow from the second load on.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ProcessMemory.h"
#include "platform/Forms.h"
#include "viewer/MainForm.h"
#include "zelgraph/Units.h"
#include "zelgraph/chart/Chart.h"

using namespace zel;

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point Start) { return std::chrono::duration<double>(TClock::now() - Start).count(); }

double CpuSeconds() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return static_cast<double>(U.ru_utime.tv_sec + U.ru_stime.tv_sec) +
         static_cast<double>(U.ru_utime.tv_usec + U.ru_stime.tv_usec) * 1e-6;
}

double HeapMiB() { return static_cast<double>(bench::HeapInUse()) / (1024.0 * 1024.0); }

// Handles the window system's messages until the control has painted once more than Paints
// times, or for TimeoutS seconds. False on the timeout.
bool WaitForPaint(TControl* Control, int Paints, double TimeoutS) {
  const auto Start = TClock::now();
  while (Control->GetPaintCount() <= Paints) {
    if (SecondsSince(Start) > TimeoutS) return false;
    Application->ProcessMessages();
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string File = argv[1];
  const int Runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  TZelUnitsGuard Units;
  Application->Initialize();
  if (!HasDisplay()) {
    std::fprintf(stderr, "no display: set DISPLAY\n");
    return 2;
  }
  Application->CreateForm(FrmMain);
  FrmMain->Show();
  if (!FrmMain->WaitUntilPainted(5000)) {
    std::fprintf(stderr, "the window was not painted\n");
    return 1;
  }
  // Whatever the start left to do, before the clock runs.
  for (int I = 0; I < 20; ++I) Application->ProcessMessages();
  std::printf("file %s, window %gx%g\n", File.c_str(), static_cast<double>(FrmMain->GetClientWidth()),
              static_cast<double>(FrmMain->GetClientHeight()));
  for (int Run = 1; Run <= Runs; ++Run) {
    const int Paints = FrmMain->chart_->GetPaintCount();
    const double Cpu0 = CpuSeconds();
    const auto Start = TClock::now();
    FrmMain->fileLoad(File);
    const double Load = SecondsSince(Start);
    const bool Painted = WaitForPaint(FrmMain->chart_, Paints, 30);
    const double Total = SecondsSince(Start);
    const double Cpu = CpuSeconds() - Cpu0;
    std::printf("run %d: to_chart_s=%.3f load_s=%.3f cpu_s=%.3f rss_mib=%.1f peak_mib=%.1f heap_mib=%.1f%s\n", Run, Total,
                Load, Cpu, bench::ResidentMiB(), bench::PeakResidentMiB(), HeapMiB(),
                Painted ? "" : " (no paint)");
    std::fflush(stdout);
  }
  FrmMain->Close();
  return 0;
}
