// Repaints of the point-by-point series kinds as made, with many points per pixel column: a chart
// of 640 x 440 painted whole into an off-screen bitmap, one series of N points (a slow wave with
// noise: y = 50 + 30 sin(12 i / N) + N(0, 2) at x = i). Each case runs with the
// same-pixel merging on (merged:1) and off (merged:0, every point drawn as before), and reports
// whether the two pictures differ ("differ_px", counted outside the timed loop).
//   Line3D: the line-series base as made (3D chart, a pointer on every point)
//   Line2D: the same in a 2D chart
//   Area2D / Area3D: the area series as made
//   FastLine: the fast line as made (segment style) in 2D, 10 M points
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <random>

#include "bench/LibraryMain.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/series/Series.h"

using namespace zel;

namespace {

constexpr int Width = 640, Height = 440;

enum TKind { kLine3D, kLine2D, kArea2D, kArea3D, kFastLine };

const std::vector<double>& Wave(std::size_t N) {
  static std::map<std::size_t, std::vector<double>> Cache;
  std::vector<double>& Y = Cache[N];
  if (Y.empty()) {
    std::mt19937 Rng(1);
    std::normal_distribution<double> Noise(0, 2);
    Y.resize(N);
    for (std::size_t I = 0; I < N; ++I) Y[I] = 50 + 30 * std::sin(double(I) * 12.0 / double(N)) + Noise(Rng);
  }
  return Y;
}

struct TScene {
  TBitmap Bitmap{Width, Height};
  TChart* Chart = nullptr;

  TScene(TKind Kind, std::size_t N) {
    Chart = Create<TChart>(nullptr);
    Chart->SetBounds(0, 0, Width, Height);
    Chart->SetBufferedDisplay(false);
    if (Kind == kLine2D || Kind == kArea2D || Kind == kFastLine) Chart->SetView3D(false);
    TChartSeries* S = nullptr;
    if (Kind == kFastLine)
      S = Create<TFastLineSeries>(nullptr);
    else if (Kind == kArea2D || Kind == kArea3D)
      S = Create<TAreaSeries>(nullptr);
    else
      S = Create<TCustomSeries>(nullptr);
    Chart->AddSeries(S);
    const std::vector<double>& Y = Wave(N);
    S->BeginUpdate();
    for (std::size_t I = 0; I < N; ++I) S->AddXY(double(I), Y[I]);
    S->EndUpdate();
    Paint();
  }
  ~TScene() { Chart->Free(); }

  void Paint() {
    TCanvas* C = Bitmap.GetCanvas();
    C->BeginScene();
    Chart->Draw(C, TRectF(0, 0, Width, Height));
    C->EndScene();
  }
  std::vector<TAlphaColor> Pixels() {
    std::vector<TAlphaColor> R;
    TBitmapData D;
    if (!Bitmap.Map(TMapAccess::Read, D)) return R;
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) R.push_back(D.GetPixel(X, Y));
    Bitmap.Unmap(D);
    return R;
  }
};

TScene& Scene(TKind Kind, std::size_t N) {
  static std::map<std::pair<int, std::size_t>, std::unique_ptr<TScene>> Scenes;
  auto& S = Scenes[{int(Kind), N}];
  if (!S) S = std::make_unique<TScene>(Kind, N);
  return *S;
}

void Repaint(benchmark::State& State, TKind Kind, bool Merge) {
  const std::size_t N = std::size_t(State.range(0));
  TScene& S = Scene(Kind, N);
  ZelMergeSamePixels = Merge;
  for (auto _ : State) S.Paint();
  State.counters["points"] = double(N);
  // The picture against the one drawn point by point.
  ZelMergeSamePixels = true;
  S.Paint();
  const std::vector<TAlphaColor> A = S.Pixels();
  ZelMergeSamePixels = false;
  S.Paint();
  const std::vector<TAlphaColor> B = S.Pixels();
  ZelMergeSamePixels = true;
  double Differ = 0;
  for (std::size_t I = 0; I < A.size() && I < B.size(); ++I) Differ += A[I] != B[I];
  State.counters["differ_px"] = Differ;
}

void BM_Line3D(benchmark::State& S) { Repaint(S, kLine3D, S.range(1) != 0); }
void BM_Line2D(benchmark::State& S) { Repaint(S, kLine2D, S.range(1) != 0); }
void BM_Area2D(benchmark::State& S) { Repaint(S, kArea2D, S.range(1) != 0); }
void BM_Area3D(benchmark::State& S) { Repaint(S, kArea3D, S.range(1) != 0); }
void BM_FastLine(benchmark::State& S) { Repaint(S, kFastLine, S.range(1) != 0); }

#define ZEL_CASES(Name, Points) \
  BENCHMARK(Name)->ArgNames({"points", "merged"})->Args({Points, 1})->Args({Points, 0})->Unit(benchmark::kMillisecond)

ZEL_CASES(BM_Line3D, 1'000'000);
ZEL_CASES(BM_Line2D, 1'000'000);
ZEL_CASES(BM_Area2D, 1'000'000);
ZEL_CASES(BM_Area3D, 1'000'000);
ZEL_CASES(BM_FastLine, 10'000'000);

}  // namespace

ZEL_BENCHMARK_MAIN()
