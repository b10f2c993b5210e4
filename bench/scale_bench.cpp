// The whole library at scale: every series kind, every function and the date-time axis at 10 k,
// 100 k and 1 M points (10 M for the fast line and the line series), in a 640 x 440 chart drawn
// into an off-screen picture. bench/scale_compare.sh runs it beside matplotlib on the same points
// and prints the ratios the targets need (bench/scale_report.py).
//
// Names: "Scale/<series class>/<operation>/<points>", "Function/<function class>/<Calc or
// CalcByValue>/<points per source>" and "DateTimeAxis/<Labelled or Plain>/<Paint or
// Repaint>/<points>" (Google Benchmark appends "/iterations:1/manual_time"), so that a filter
// picks a kind, an operation or a size (--benchmark_filter='/Repaint/1000000/'). The series kinds
// are the registry's (ZelSeriesTypes) and the series unit's, with every constructible base class
// above them: a new kind is covered once it is registered.
//
// Operations (the chart as made, except that it is drawn in 2D where the name does not say 3D):
//   AddOne      one AddXY per point, no update bracket
//   AddBulk     the bulk way: AppendXY inside BeginUpdate/EndUpdate (AddArray where the series
//               refuses it; counter append = 1 when AppendXY took the points)
//   FirstPaint  the first paint after the points were added
//   Repaint     a later paint;  Repaint3D the same with the chart in 3D, as made
//   RepaintLine a later paint of the line series with its line on and its pointers off
//   RepaintStairs  the same as stairs (the line series and the fast line only)
//   RepaintDashed  a later paint of the fast line with a dashed pen
//   RepaintMinMax  a later paint of the fast line drawing each pixel column's lowest and highest
//   Zoom        the bottom axis set to the middle tenth of the points, and the paint after it
//   MarksAuto   a paint with a mark on every point, automatic positions (as made)
//   MarksPlain  the same with automatic positions off
//   DeleteHalf  Delete(N / 4, N / 2) once the marks hold a position for every point
//   Store       the chart written to a memory stream; Read it read back into a new chart (the
//               series classes known to streaming only)
//
// Each case runs its operation on fresh data until about a second was timed (at most a few
// times) and reports the median wall time (manual time); cpu_s is the median CPU time of the
// process (every thread) during the operation, steadier on a busy machine.
// peak_bytes_per_point is the growth of the process' peak resident memory during the first run,
// divided by the points; for the adding cases held_bytes_per_point is the memory the series holds
// afterwards (resident, heap and mapped arrays), divided by the points.
//
// ZEL_SCALE_SAVE=DIR saves the picture of the first timed paint of each case in DIR, named after
// the case (the saving is timed too: not for figures).
//
// Cap: a case is skipped (reported as an error "capped") when it would take more than ZEL_SCALE_CAP
// seconds (default 10), judged from the same case at a tenth of the points grown as it grew from a
// hundredth to a tenth (at least linearly). The cases the absolute targets read are never capped.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "bench/LibraryMain.h"
#include "bench/ProcessMemory.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Streams.h"
#include "zelgraph/Units.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/series/Series.h"

using namespace zel;

namespace {

constexpr int Width = 640, Height = 440;

// ---------------------------------------------------------------------------------------------
// The points: X = i, Y = 50 + 30 sin(i / 2000) + uniform noise of +-4 from splitmix64(i). The
// first N points of one endless sequence, so that every size draws the same kind of picture.
// bench/scale_matplotlib.py makes the same numbers.

double Noise(std::uint64_t I) {
  std::uint64_t Z = 0x5EEDULL + I * 0x9E3779B97F4A7C15ULL;
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBULL;
  Z ^= Z >> 31;
  return static_cast<double>(Z >> 11) * 0x1.0p-53;  // [0, 1)
}

double PointY(std::int64_t I) {
  return 50.0 + 30.0 * std::sin(static_cast<double>(I) * 0.0005) +
         8.0 * (Noise(static_cast<std::uint64_t>(I)) - 0.5);
}

struct TPoints {
  std::vector<double> X, Y;
};

// The first N points, made once per size.
const TPoints& Points(int N) {
  static std::map<int, std::unique_ptr<TPoints>> Made;
  auto& P = Made[N];
  if (!P) {
    P = std::make_unique<TPoints>();
    P->X.resize(static_cast<std::size_t>(N));
    P->Y.resize(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I) {
      P->X[static_cast<std::size_t>(I)] = I;
      P->Y[static_cast<std::size_t>(I)] = PointY(I);
    }
  }
  return *P;
}

// ---------------------------------------------------------------------------------------------
// Memory

// Resets the process' peak resident memory to what is resident now (Linux).
void ResetPeak() {
  if (std::FILE* F = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", F);
    std::fclose(F);
  }
}

struct TPeakProbe {
  double Before = 0;
  TPeakProbe() {
    malloc_trim(0);  // free heap memory back to the system, so that new memory shows as resident
    ResetPeak();
    Before = bench::ResidentMiB();
  }
  double BytesPerPoint(int N) const {
    return std::max(0.0, bench::PeakResidentMiB() - Before) * 1024.0 * 1024.0 / N;
  }
};

// ---------------------------------------------------------------------------------------------
// A chart of 640 x 440 with one series, drawn into a picture.

// With ZEL_SCALE_SAVE=DIR the first timed paint of each case is saved there as a PNG named after
// the case, to look at what was measured.
std::string& PictureToSave() {
  static std::string Name;
  return Name;
}

struct TScene {
  TBitmap Bitmap{Width, Height};
  TOwned<TChart> Chart{Create<TChart>(nullptr)};
  TChartSeries* Series = nullptr;

  TScene(const TClass* Kind, bool View3D) {
    Chart->SetName("Chart1");
    Chart->SetBounds(0, 0, Width, Height);
    Chart->SetBufferedDisplay(false);
    Chart->SetView3D(View3D);
    Series = static_cast<TChartSeries*>(Kind->Create(Chart.get()));
    Series->SetName("Series1");
    Series->SetParentChart(Chart.get());
  }

  void Paint() {
    TCanvas* C = Bitmap.GetCanvas();
    C->BeginScene();
    Chart->Draw(C, TRectF(0, 0, Width, Height));
    C->EndScene();
    if (!PictureToSave().empty()) {
      Bitmap.SaveToFile(PictureToSave());
      PictureToSave().clear();
    }
  }
};

// Adds the first N points the bulk way; returns whether AppendXY took them.
bool AddBulk(TChartSeries* S, int N) {
  const TPoints& P = Points(N);
  S->BeginUpdate();
  TValueBuffer X(N), Y(N);
  std::copy(P.X.begin(), P.X.end(), X.Data());
  std::copy(P.Y.begin(), P.Y.end(), Y.Data());
  const bool Appended = S->AppendXY(std::move(X), std::move(Y), N);
  if (!Appended) S->AddArray(P.X.data(), N - 1, P.Y.data());
  S->EndUpdate();
  return Appended;
}

// ---------------------------------------------------------------------------------------------
// Runs and caps

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point A, TClock::time_point B) {
  return std::chrono::duration<double>(B - A).count();
}

// The CPU time of the whole process (every thread), in seconds.
double ProcessCpuSeconds() {
  timespec T{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
  return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
}

double CapSeconds() {
  static const double Cap = [] {
    const char* E = std::getenv("ZEL_SCALE_CAP");
    const double V = E ? std::atof(E) : 0;
    return V > 0 ? V : 10.0;
  }();
  return Cap;
}

// The median time of each case run so far, by its name without the size.
std::map<std::string, std::map<int, double>>& Timed() {
  static std::map<std::string, std::map<int, double>> T;
  return T;
}

// What the case at N would take, from the same case at N / 10 and N / 100: the time at N / 10
// grown as it grew from N / 100 to N / 10, at least linearly; 0 when N / 10 did not run.
double Projection(const std::string& Family, int N) {
  const auto& Sizes = Timed()[Family];
  const auto Tenth = Sizes.find(N / 10);
  if (Tenth == Sizes.end()) return 0;
  double Exponent = 1;
  const auto Hundredth = Sizes.find(N / 100);
  if (Hundredth != Sizes.end() && Hundredth->second > 0 && std::isfinite(Tenth->second))
    Exponent = std::max(1.0, std::log10(Tenth->second / Hundredth->second));
  return Tenth->second * std::pow(10.0, Exponent);
}

// One run of an operation: Setup (not timed) returns the timed step. Memory counters are taken
// from the first run.
using TStep = std::function<void()>;
using TSetup = std::function<TStep()>;

struct TCase {
  std::string Family;  // the name without the size
  int N = 0;
  bool NoCap = false;
  // Makes the scene and returns the timed step; the scene lives in the closures.
  TSetup Setup;
  // Extra counters after the first run (held memory, ...).
  std::function<void(benchmark::State&)> After;
};

// How often a case runs at most, by its size.
int MaxRuns(int N) { return N <= 10000 ? 9 : N <= 100000 ? 5 : N <= 1000000 ? 3 : 1; }

void RunCase(benchmark::State& State, const TCase& C) {
  for (auto _ : State) {
    if (!C.NoCap) {
      const double Projected = Projection(C.Family, C.N);
      if (Projected > CapSeconds()) {
        char Msg[160];
        if (std::isinf(Projected))
          std::snprintf(Msg, sizeof Msg, "capped: %d points were capped", C.N / 10);
        else
          std::snprintf(Msg, sizeof Msg,
                        "capped: %d points took %.3g s, this would take about %.3g s", C.N / 10,
                        Timed()[C.Family][C.N / 10], Projected);
        Timed()[C.Family][C.N] = HUGE_VAL;  // so that the larger sizes are capped too
        State.SkipWithError(Msg);
        State.SetIterationTime(0);
        break;
      }
    }
    std::vector<double> Times, CpuTimes;
    const auto Start = TClock::now();
    double TimedTotal = 0;
    std::string Failed;
    const char* SaveDir = std::getenv("ZEL_SCALE_SAVE");
    do {
      TStep Step;
      try {
        Step = C.Setup();
      } catch (const std::exception& E) {
        Failed = std::string("setup failed: ") + E.what();
        break;
      }
      const bool First = Times.empty();
      if (First && SaveDir) {
        std::string File = C.Family + "_" + std::to_string(C.N) + ".png";
        std::replace(File.begin(), File.end(), '/', '_');
        PictureToSave() = std::string(SaveDir) + "/" + File;
      }
      std::unique_ptr<TPeakProbe> Probe(First ? new TPeakProbe : nullptr);
      const double Cpu0 = ProcessCpuSeconds();
      const auto T0 = TClock::now();
      try {
        Step();
      } catch (const std::exception& E) {
        Failed = std::string("failed: ") + E.what();
        break;
      }
      const double T = Seconds(T0, TClock::now());
      CpuTimes.push_back(ProcessCpuSeconds() - Cpu0);
      if (First) {
        State.counters["peak_bytes_per_point"] = Probe->BytesPerPoint(C.N);
        if (C.After) C.After(State);
      }
      Times.push_back(T);
      TimedTotal += T;
    } while (static_cast<int>(Times.size()) < MaxRuns(C.N) && TimedTotal < 1.0 &&
             Seconds(Start, TClock::now()) < 4.0);
    PictureToSave().clear();
    if (!Failed.empty()) {
      State.SkipWithError(Failed.c_str());
      State.SetIterationTime(0);
      break;
    }
    std::sort(Times.begin(), Times.end());
    const double Median = Times[Times.size() / 2];
    State.SetIterationTime(Median);
    std::sort(CpuTimes.begin(), CpuTimes.end());
    State.counters["cpu_s"] = CpuTimes[CpuTimes.size() / 2];
    State.counters["runs"] = static_cast<double>(Times.size());
    State.counters["points"] = C.N;
    Timed()[C.Family][C.N] = Median;
  }
}

void Register(TCase C) {
  const std::string Name = C.Family + "/" + std::to_string(C.N);
  benchmark::RegisterBenchmark(Name.c_str(), [C](benchmark::State& State) { RunCase(State, C); })
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
}

// ---------------------------------------------------------------------------------------------
// Series kinds

// The registry's series classes, the series unit's, and every constructible series class above
// them, in a stable order (bases first).
std::vector<const TClass*> SeriesKinds() {
  std::vector<const TClass*> Seeds = {TFastLineSeries::StaticClass(), TAreaSeries::StaticClass(),
                                      TThemedSeries::StaticClass()};
  for (std::int32_t I = 0; ZelSeriesTypes && I < ZelSeriesTypes->Count(); ++I)
    if (const TClass* S = ZelSeriesTypes->Get(I)->SeriesClass) Seeds.push_back(S);
  std::vector<const TClass*> Kinds;
  std::set<const TClass*> Seen;
  for (const TClass* Seed : Seeds) {
    std::vector<const TClass*> Chain;
    for (const TClass* C = Seed; C && C->InheritsFrom(TChartSeries::StaticClass()); C = C->Parent)
      if (C->Factory) Chain.insert(Chain.begin(), C);
    for (const TClass* C : Chain)
      if (Seen.insert(C).second) Kinds.push_back(C);
  }
  return Kinds;
}

bool TenMillion(const TClass* Kind) {
  return Kind == TFastLineSeries::StaticClass() || Kind == TCustomSeries::StaticClass();
}

// The cases the absolute targets read: never capped.
bool TargetCase(const TClass* Kind, const std::string& Op, int N) {
  if (Kind == TCustomSeries::StaticClass() && (Op == "Repaint" || Op == "Repaint3D") &&
      N == 1000000)
    return true;
  if (Kind == TAreaSeries::StaticClass() && Op == "Repaint" && N == 1000000) return true;
  if (Kind == TFastLineSeries::StaticClass() && Op == "Repaint" && N == 10000000) return true;
  if (Kind == TFastLineSeries::StaticClass() && Op == "MarksAuto" && N == 100000) return true;
  // The growth of Delete at 1 M is measured on one kind at least, however slow.
  if (Kind == TFastLineSeries::StaticClass() && Op == "DeleteHalf" && (N == 200000 || N == 1000000))
    return true;
  return false;
}

// A scene with the first N points, painted once.
std::shared_ptr<TScene> Filled(const TClass* Kind, int N, bool View3D, bool Paint = true) {
  auto S = std::make_shared<TScene>(Kind, View3D);
  AddBulk(S->Series, N);
  if (Paint) S->Paint();
  return S;
}

void ShowMarks(TChartSeries* S, bool Automatic) {
  S->GetMarks()->SetVisible(true);
  S->GetMarks()->SetAutoPosition(Automatic);
}

TSetup SeriesOperation(const TClass* Kind, const std::string& Op, int N) {
  if (Op == "AddOne")
    return [Kind, N]() -> TStep {
      auto S = std::make_shared<TScene>(Kind, false);
      (void)Points(N);
      return [S, N] {
        const TPoints& P = Points(N);
        for (int I = 0; I < N; ++I)
          S->Series->AddXY(P.X[static_cast<std::size_t>(I)], P.Y[static_cast<std::size_t>(I)]);
      };
    };
  if (Op == "AddBulk")
    return [Kind, N]() -> TStep {
      auto S = std::make_shared<TScene>(Kind, false);
      (void)Points(N);
      return [S, N] { AddBulk(S->Series, N); };
    };
  if (Op == "FirstPaint")
    return [Kind, N]() -> TStep {
      auto S = Filled(Kind, N, false, false);
      return [S] { S->Paint(); };
    };
  if (Op == "Repaint" || Op == "Repaint3D") {
    const bool View3D = Op == "Repaint3D";
    return [Kind, N, View3D]() -> TStep {
      auto S = Filled(Kind, N, View3D);
      return [S] { S->Paint(); };
    };
  }
  if (Op == "RepaintLine" || Op == "RepaintStairs") {
    const bool Stairs = Op == "RepaintStairs";
    return [Kind, N, Stairs]() -> TStep {
      auto S = Filled(Kind, N, false, false);
      if (auto* L = dynamic_cast<TCustomSeries*>(S->Series)) {
        L->GetPointer()->SetVisible(false);
        L->SetDrawLine(true);
        L->SetStairs(Stairs);
      } else if (auto* F = dynamic_cast<TFastLineSeries*>(S->Series)) {
        F->SetStairs(Stairs);
      }
      S->Paint();
      return [S] { S->Paint(); };
    };
  }
  if (Op == "RepaintDashed" || Op == "RepaintMinMax") {
    const bool Dashed = Op == "RepaintDashed";
    return [Kind, N, Dashed]() -> TStep {
      auto S = Filled(Kind, N, false, false);
      if (auto* F = dynamic_cast<TFastLineSeries*>(S->Series)) {
        if (Dashed) {
          F->GetLinePen()->SetStyle(TPenStyle::psDash);
        } else {
          F->SetDrawAllPoints(false);
          F->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
        }
      }
      S->Paint();
      return [S] { S->Paint(); };
    };
  }
  if (Op == "Zoom")
    return [Kind, N]() -> TStep {
      auto S = Filled(Kind, N, false);
      return [S, N] {
        S->Chart->GetBottomAxis()->SetMinMax(0.45 * (N - 1), 0.55 * (N - 1));
        S->Paint();
      };
    };
  if (Op == "MarksAuto" || Op == "MarksPlain") {
    const bool Automatic = Op == "MarksAuto";
    return [Kind, N, Automatic]() -> TStep {
      auto S = Filled(Kind, N, false, false);
      ShowMarks(S->Series, Automatic);
      return [S] { S->Paint(); };
    };
  }
  if (Op == "DeleteHalf")
    return [Kind, N]() -> TStep {
      auto S = Filled(Kind, N, false);
      // What painting the marks leaves: a position for every point.
      S->Series->GetMarks()->SetVisible(true);
      for (int I = 0; I < N; ++I) S->Series->GetMarks()->GetPositions()->Ensure(I);
      return [S, N] { S->Series->Delete(N / 4, N / 2); };
    };
  if (Op == "Store")
    return [Kind, N]() -> TStep {
      auto S = Filled(Kind, N, false, false);
      S->Series->ManualData = true;
      return [S] {
        TMemoryStream M;
        M.WriteComponent(S->Chart.get());
        benchmark::DoNotOptimize(M.GetSize());
      };
    };
  if (Op == "Read")
    return [Kind, N]() -> TStep {
      auto S = Filled(Kind, N, false, false);
      S->Series->ManualData = true;
      auto M = std::make_shared<TMemoryStream>();
      M->WriteComponent(S->Chart.get());
      S.reset();
      // The chart read back is freed with the step, after the timing.
      auto Into = std::make_shared<TOwned<TChart>>(Create<TChart>(nullptr));
      (*Into)->SetBounds(0, 0, Width, Height);
      return [M, Into, N] {
        M->SetPosition(0);
        TChart* C = Into->get();
        M->ReadComponent(C);
        if (C->SeriesCount() != 1 || C->GetSeries(0)->Count() != N)
          std::fprintf(stderr, "read back: not the chart that was stored\n");
      };
    };
  return nullptr;
}

// Memory held per point after adding: resident memory (the heap's and the value arrays mapped from
// the system) before and after adding to a scene with the empty series.
void HeldBytes(benchmark::State& State, const TClass* Kind, int N, bool Bulk) {
  (void)Points(N);
  TScene S(Kind, false);
  malloc_trim(0);
  const double Before = bench::ResidentMiB();
  if (Bulk) {
    State.counters["append"] = AddBulk(S.Series, N) ? 1 : 0;
  } else {
    const TPoints& P = Points(N);
    for (int I = 0; I < N; ++I)
      S.Series->AddXY(P.X[static_cast<std::size_t>(I)], P.Y[static_cast<std::size_t>(I)]);
  }
  State.counters["held_bytes_per_point"] =
      std::max(0.0, bench::ResidentMiB() - Before) * 1024.0 * 1024.0 / N;
}

void RegisterSeries() {
  const std::vector<std::string> Ops = {"AddOne",     "AddBulk", "FirstPaint", "Repaint",
                                        "Repaint3D",  "Zoom",    "MarksAuto",  "MarksPlain",
                                        "DeleteHalf", "Store",   "Read",       "RepaintLine",
                                        "RepaintStairs", "RepaintDashed", "RepaintMinMax"};
  for (const TClass* Kind : SeriesKinds())
    for (const std::string& Op : Ops) {
      // The line styles: the line series' line, and stairs of it and of the fast line.
      if (Op == "RepaintLine" && Kind != TCustomSeries::StaticClass()) continue;
      if (Op == "RepaintStairs" && Kind != TCustomSeries::StaticClass() && Kind != TFastLineSeries::StaticClass())
        continue;
      if ((Op == "RepaintDashed" || Op == "RepaintMinMax") && Kind != TFastLineSeries::StaticClass()) continue;
      // Only the classes known to streaming can be read back.
      if ((Op == "Store" || Op == "Read") && !GetClass(Kind->Name)) continue;
      std::vector<int> Sizes = {10000, 100000};
      if (Op == "DeleteHalf" && Kind == TFastLineSeries::StaticClass()) Sizes.push_back(200000);
      Sizes.push_back(1000000);
      if (TenMillion(Kind)) Sizes.push_back(10000000);
      for (int N : Sizes) {
        TCase C;
        C.Family = std::string("Scale/") + Kind->Name + "/" + Op;
        C.N = N;
        C.NoCap = TargetCase(Kind, Op, N);
        C.Setup = SeriesOperation(Kind, Op, N);
        if (Op == "AddOne" || Op == "AddBulk") {
          const bool Bulk = Op == "AddBulk";
          C.After = [Kind, N, Bulk](benchmark::State& State) { HeldBytes(State, Kind, N, Bulk); };
        }
        Register(C);
      }
    }
}

// ---------------------------------------------------------------------------------------------
// Functions: every function class of the registry and the base class. "Calc" feeds one source
// of N points; "CalcByValue" two sources of N points each, the second shifted by N / 2 on X (half
// of their X values shared), with CalcByValue on. The timed step is the output's recalculation.

std::vector<const TClass*> FunctionKinds() {
  std::vector<const TClass*> Kinds = {TZelFunction::StaticClass()};
  for (std::int32_t I = 0; ZelSeriesTypes && I < ZelSeriesTypes->Count(); ++I)
    if (const TClass* F = ZelSeriesTypes->Get(I)->FunctionClass)
      if (std::find(Kinds.begin(), Kinds.end(), F) == Kinds.end()) Kinds.push_back(F);
  return Kinds;
}

struct TFunctionScene {
  TScene Scene{TFastLineSeries::StaticClass(), false};
  TChartSeries* Second = nullptr;
  TFastLineSeries* Output = nullptr;
  TZelFunction* Function = nullptr;
};

TSetup FunctionOperation(const TClass* Kind, bool ByValue, int N) {
  return [Kind, ByValue, N]() -> TStep {
    auto F = std::make_shared<TFunctionScene>();
    TChart* Chart = F->Scene.Chart.get();
    AddBulk(F->Scene.Series, N);
    F->Output = Create<TFastLineSeries>(Chart);
    F->Output->SetName("Output");
    F->Output->SetParentChart(Chart);
    F->Function = static_cast<TZelFunction*>(Kind->Create(Chart));
    F->Function->SetName("Function1");
    F->Function->BeginUpdate();
    F->Output->SetFunction(F->Function);
    if (ByValue) {
      F->Second = Create<TFastLineSeries>(Chart);
      F->Second->SetName("Series2");
      F->Second->SetParentChart(Chart);
      const TPoints& P = Points(N);
      std::vector<double> X(P.X);
      for (double& V : X) V += N / 2;
      F->Second->BeginUpdate();
      F->Second->AddArray(X.data(), N - 1, P.Y.data());
      F->Second->EndUpdate();
      F->Function->SetCalcByValue(true);
      F->Output->GetDataSources()->Add(F->Scene.Series);
      F->Output->GetDataSources()->Add(F->Second);
    } else {
      F->Output->SetDataSource(F->Scene.Series);
    }
    F->Output->Clear();
    return [F] {
      F->Function->EndUpdate();  // recalculates
      if (F->Output->Count() == 0) std::fprintf(stderr, "function: no points calculated\n");
    };
  };
}

void RegisterFunctions() {
  for (const TClass* Kind : FunctionKinds())
    for (const bool ByValue : {false, true}) {
      if (ByValue && Kind != TZelFunction::StaticClass()) {
        // A function that takes one source only has no calculation by value.
        TOwned<TZelFunction> Probe(static_cast<TZelFunction*>(Kind->Create(nullptr)));
        if (Probe->SingleSource) continue;
      }
      for (int N : {10000, 100000, 1000000}) {
        TCase C;
        C.Family = std::string("Function/") + Kind->Name + (ByValue ? "/CalcByValue" : "/Calc");
        C.N = N;
        C.NoCap = ByValue && Kind == TZelFunction::StaticClass() && N == 100000;
        C.Setup = FunctionOperation(Kind, ByValue, N);
        Register(C);
      }
    }
}

// ---------------------------------------------------------------------------------------------
// The date-time axis: a fast line whose X values are dates a second apart from 2026-01-01, the
// bottom axis showing dates; "Labelled" gives every point a label (its time of day), which the
// axis then shows.

TSetup DateTimeOperation(bool Labelled, bool Repaint, int N) {
  return [Labelled, Repaint, N]() -> TStep {
    auto S = std::make_shared<TScene>(TFastLineSeries::StaticClass(), false);
    TChartSeries* Series = S->Series;
    Series->GetXValues()->SetDateTime(true);
    const TPoints& P = Points(N);
    const double Day0 = 46023.0;  // 2026-01-01
    Series->BeginUpdate();
    if (Labelled) {
      char Text[16];
      for (int I = 0; I < N; ++I) {
        std::snprintf(Text, sizeof Text, "%02d:%02d:%02d", (I / 3600) % 24, (I / 60) % 60, I % 60);
        Series->AddXY(Day0 + I / 86400.0, P.Y[static_cast<std::size_t>(I)], Text);
      }
    } else {
      for (int I = 0; I < N; ++I)
        Series->AddXY(Day0 + I / 86400.0, P.Y[static_cast<std::size_t>(I)]);
    }
    Series->EndUpdate();
    if (Repaint) S->Paint();
    return [S] { S->Paint(); };
  };
}

void RegisterDateTime() {
  for (const bool Labelled : {true, false})
    for (const bool Repaint : {false, true})
      for (int N : {10000, 100000, 1000000}) {
        TCase C;
        C.Family = std::string("DateTimeAxis/") + (Labelled ? "Labelled" : "Plain") +
                   (Repaint ? "/Repaint" : "/Paint");
        C.N = N;
        C.NoCap = Labelled && Repaint && N == 1000000;
        C.Setup = DateTimeOperation(Labelled, Repaint, N);
        Register(C);
      }
}

}  // namespace

int main(int argc, char** argv) {
  return ZelRunBenchmarks(argc, argv, [] {
    RegisterSeries();
    RegisterFunctions();
    RegisterDateTime();
  });
}
