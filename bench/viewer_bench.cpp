// The viewer end to end, on its own window's chart (640 x 440), one core for the paints:
//
// - "Records/N": a session file of N records of 2 samples is loaded (fileLoad), painted once and
//   the window closed. Counters: load_s, paint_s, close_s per run, and bytes_per_record, the heap
//   memory a record holds after the load beyond its two points (32 bytes). The time per record
//   should stay flat from 4,000 to 64,000 records (and 100,000) if the load is linear.
// - "Session/Repaint", "Session/Pan", "Session/Zoom": the 200 x 100,000 session (20 M points)
//   loaded once; a whole repaint, a pan frame (the bottom axis moved by 1 % of its range) and a
//   zoom frame (a tenth of the range, moved each frame), each drawn anew (not the buffered
//   picture). The paints run on the calling thread: CPU time is the time on one core. Counter differ: the pixels in which the
//   series' lines as drawn differ from all their points drawn segment by segment (must be 0).
//
// - "Session/Reloads": the 20 M-point session loaded 100 times into one window. Counters: the
//   process' resident memory after the second load and after the last (rss2_mib, rss100_mib)
//   and their ratio (growth), which should stay within 1.05.
//
// The session files are written once into the system's temporary folder.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/LibraryMain.h"
#include "bench/ProcessMemory.h"
#include "bench/SessionGenerator.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "viewer/MainForm.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/series/FastLine.h"

using namespace zel;
using zel::bench::HeapInUse;
using zel::bench::ResidentMiB;

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point Start) {
  return std::chrono::duration<double>(TClock::now() - Start).count();
}

std::string SessionFile(int Records, int Samples) {
  const std::string Path = (std::filesystem::temp_directory_path() /
                            ("zel_viewer_bench_" + std::to_string(Records) + "x" + std::to_string(Samples) + ".csv"))
                               .string();
  if (!std::filesystem::exists(Path) && !bench::WriteSessionFile(Path, Records, Samples)) return std::string();
  return Path;
}

void BM_Records(benchmark::State& State) {
  const int Records = static_cast<int>(State.range(0));
  const std::string Path = SessionFile(Records, 2);
  if (Path.empty()) {
    State.SkipWithError("cannot write the session file");
    return;
  }
  double Load = 0, Paint = 0, Close = 0, Bytes = 0;
  int Runs = 0;
  for (auto _ : State) {
    auto* Form = Create<TFrmMain>(nullptr);
    const std::size_t Before = HeapInUse();
    auto Start = TClock::now();
    Form->fileLoad(Path);
    Load += SecondsSince(Start);
    const std::size_t After = HeapInUse();
    Start = TClock::now();
    std::unique_ptr<TBitmap> Picture(PaintToBitmap(Form->chart_));
    Paint += SecondsSince(Start);
    Start = TClock::now();
    Form->Free();
    Close += SecondsSince(Start);
    Bytes += (static_cast<double>(After) - static_cast<double>(Before)) / Records - 2 * 2 * sizeof(double);
    ++Runs;
  }
  State.counters["load_s"] = Load / Runs;
  State.counters["paint_s"] = Paint / Runs;
  State.counters["close_s"] = Close / Runs;
  State.counters["load_us_per_record"] = Load / Runs / Records * 1e6;
  State.counters["bytes_per_record"] = Bytes / Runs;
}
BENCHMARK(BM_Records)->Arg(4000)->Arg(16000)->Arg(64000)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);

// The 20 M-point session, loaded once for the paint benchmarks.
TFrmMain* Session() {
  static TFrmMain* Form = [] {
    const std::string Path = SessionFile(200, 100000);
    auto* F = Create<TFrmMain>(nullptr);
    if (!Path.empty()) F->fileLoad(Path);
    std::unique_ptr<TBitmap>(PaintToBitmap(F->chart_));  // the first paint lays the chart out
    return F;
  }();
  return Form;
}

// Draws every series' line into a picture: its points as the last paint made them (Merged), or
// all its visible points segment by segment; the pen as the chart's (1 pixel, no antialiasing).
std::vector<TAlphaColor> SeriesPixels(TChart* Chart, bool Merged) {
  TBitmap Picture(640, 440);
  Picture.Clear(TAlphaColors::White);
  TCanvas* C = Picture.GetCanvas();
  C->GetStroke()->SetThickness(1);
  C->BeginScene();
  TPolygon All;
  for (int S = 0; S < Chart->SeriesCount(); ++S) {
    auto* F = dynamic_cast<TFastLineSeries*>(Chart->GetSeries(S));
    if (!F || F->GetFirstVisibleIndex() < 0) continue;
    C->GetStroke()->SetColor(F->GetSeriesColor());
    const std::vector<TPointF>& P = F->GetPolylinePoints();
    if (Merged) {
      C->DrawPolylineUnreduced(P.data(), P.size(), 1);
      continue;
    }
    All.clear();
    const int First = std::max(F->GetFirstVisibleIndex() - 1, 0), Last = F->GetLastVisibleIndex();
    for (int I = First; I <= Last; ++I)
      All.push_back(TPointF(static_cast<float>(F->CalcXPos(I)), static_cast<float>(F->CalcYPos(I))));
    C->DrawPolylineUnreduced(All.data(), All.size(), 1);
  }
  C->EndScene();
  std::vector<TAlphaColor> R;
  TBitmapData D;
  if (!Picture.Map(TMapAccess::Read, D)) return R;
  for (int Y = 0; Y < 440; ++Y)
    for (int X = 0; X < 640; ++X) R.push_back(D.GetPixel(X, Y));
  Picture.Unmap(D);
  return R;
}

double Differ(TChart* Chart) {
  const std::vector<TAlphaColor> A = SeriesPixels(Chart, true), B = SeriesPixels(Chart, false);
  if (A.size() != B.size() || A.empty()) return -1;
  double N = 0;
  for (std::size_t I = 0; I < A.size(); ++I) N += A[I] != B[I];
  return N;
}

void BM_SessionReloads(benchmark::State& State) {
  const std::string Path = SessionFile(200, 100000);
  for (auto _ : State) {
    auto* Form = Create<TFrmMain>(nullptr);
    double Second = 0, Last = 0;
    for (int I = 1; I <= 100; ++I) {
      Form->fileLoad(Path);
      std::unique_ptr<TBitmap>(PaintToBitmap(Form->chart_));
      if (I == 2) Second = ResidentMiB();
      Last = ResidentMiB();
    }
    Form->Free();
    State.counters["rss2_mib"] = Second;
    State.counters["rss100_mib"] = Last;
    State.counters["growth"] = Second > 0 ? Last / Second : 0;
  }
}
BENCHMARK(BM_SessionReloads)->Name("Session/Reloads")->Iterations(1)->Unit(benchmark::kSecond);

enum class TFrame { Repaint, Pan, Zoom };

void SessionFrames(benchmark::State& State, TFrame Frame) {
  TFrmMain* Form = Session();
  TChart* Chart = Form->chart_;
  TChartAxis* Bottom = Chart->GetBottomAxis();
  Bottom->SetMinMax(0, 200000);
  const double Range = Frame == TFrame::Zoom ? 20000 : 200000;
  double Min = 0;
  int Frames = 0;
  for (auto _ : State) {
    if (Frame == TFrame::Pan) Min = (Frames % 50) * 0.01 * Range;
    if (Frame == TFrame::Zoom) Min = (Frames % 9) * 20000.0 + 1234.5;
    if (Frame != TFrame::Repaint) Bottom->SetMinMax(Min, Min + Range);
    Chart->Invalidate();  // a whole repaint, not the buffered picture again
    std::unique_ptr<TBitmap> Picture(PaintToBitmap(Chart));
    benchmark::DoNotOptimize(Picture.get());
    ++Frames;
  }
  State.counters["differ"] = Differ(Chart);
  Bottom->SetMinMax(0, 200000);
}

void BM_SessionRepaint(benchmark::State& State) { SessionFrames(State, TFrame::Repaint); }
void BM_SessionPan(benchmark::State& State) { SessionFrames(State, TFrame::Pan); }
void BM_SessionZoom(benchmark::State& State) { SessionFrames(State, TFrame::Zoom); }
BENCHMARK(BM_SessionRepaint)->Name("Session/Repaint")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionPan)->Name("Session/Pan")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionZoom)->Name("Session/Zoom")->Unit(benchmark::kMillisecond);

}  // namespace

ZEL_BENCHMARK_MAIN();
