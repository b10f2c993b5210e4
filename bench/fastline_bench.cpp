// The viewer's paint: 10 fast-line series of 1 million points each (one per record, side by side
// on the horizontal axis as a session file lays them out) in a 1280 x 720 chart, drawn into an
// off-screen bitmap. "ChartPaint" is the whole chart (axes, grid, series); "SeriesDraw" only the
// series' own work per paint (visible range, pixel positions, one polyline each); "Zoomed" the
// series drawing with the horizontal axis zoomed to a tenth of the data; "Prepare" the pixel
// positions alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "bench/LibraryMain.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/series/Series.h"

using namespace zel;

namespace {

constexpr int Width = 1280, Height = 720;
constexpr int SeriesCount = 10;
constexpr int PointsPerSeries = 1000000;

class TBenchPanel : public TCustomAxisPanel {
 public:
  explicit TBenchPanel(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}
  bool IsFreeSeriesColor(TAlphaColor, bool, TChartSeries*) override { return true; }
  void DrawWalls() override {}
  void DrawTitlesAndLegend(bool) override {}
};

struct TScene {
  TBitmap Bitmap{Width, Height};
  TBenchPanel* Chart = nullptr;
  std::vector<TFastLineSeries*> Series;

  TScene() {
    Chart = Create<TBenchPanel>(nullptr);
    Chart->SetView3D(false);
    Chart->SetBounds(0, 0, Width, Height);
    Chart->SetBufferedDisplay(false);
    std::mt19937 Rng(1);
    std::normal_distribution<double> Noise(0, 2);
    for (int S = 0; S < SeriesCount; ++S) {
      auto* F = Create<TFastLineSeries>(nullptr);
      Chart->AddSeries(F);
      F->SetDrawStyle(TFastLineDrawStyle::flAll);
      F->BeginUpdate();
      // Record S spans 1000 S .. 1000 (S + 1) on the horizontal axis.
      const double Step = 1000.0 / PointsPerSeries;
      for (int I = 0; I < PointsPerSeries; ++I)
        F->AddXY(1000.0 * S + I * Step, 50 + 30 * std::sin(I * 0.0005 + S) + Noise(Rng));
      F->EndUpdate();
      Series.push_back(F);
    }
    Paint();
  }
  ~TScene() { Chart->Free(); }

  void Paint() {
    TCanvas* C = Bitmap.GetCanvas();
    C->BeginScene();
    Chart->Draw(C, TRectF(0, 0, Width, Height));
    C->EndScene();
  }
  // The series' part of a paint, on the chart's canvas bound to the bitmap.
  void DrawSeries() {
    TCanvas* C = Bitmap.GetCanvas();
    C->BeginScene();
    Chart->GetCanvas()->SetCanvas(C);
    for (TFastLineSeries* S : Series) {
      S->DoBeforeParallel();
      S->DrawAllValues();
    }
    Chart->GetCanvas()->SetCanvas(nullptr);
    C->EndScene();
  }
};

TScene& Scene() {
  static TScene S;
  return S;
}

void BM_ChartPaint(benchmark::State& State) {
  TScene& S = Scene();
  S.Chart->GetBottomAxis()->SetAutomatic(true);
  for (auto _ : State) S.Paint();
  State.counters["points"] = double(SeriesCount) * PointsPerSeries;
}

void BM_SeriesDraw(benchmark::State& State) {
  TScene& S = Scene();
  S.Chart->GetBottomAxis()->SetAutomatic(true);
  S.Paint();
  for (auto _ : State) S.DrawSeries();
  State.counters["points"] = double(SeriesCount) * PointsPerSeries;
}

// The canvas' part alone: one polyline per series from positions already computed.
void BM_PolylinesOnly(benchmark::State& State) {
  TScene& S = Scene();
  S.Chart->GetBottomAxis()->SetAutomatic(true);
  S.Paint();
  TCanvas* C = S.Bitmap.GetCanvas();
  for (auto _ : State) {
    C->BeginScene();
    S.Chart->GetCanvas()->SetCanvas(C);
    for (TFastLineSeries* F : S.Series) F->DrawAllValues();
    S.Chart->GetCanvas()->SetCanvas(nullptr);
    C->EndScene();
  }
}

// The pixel positions alone (the part of SeriesDraw before the canvas).
void BM_Prepare(benchmark::State& State) {
  TScene& S = Scene();
  S.Chart->GetBottomAxis()->SetAutomatic(true);
  S.Paint();
  for (auto _ : State)
    for (TFastLineSeries* F : S.Series) F->DoBeforeParallel();
}

void BM_Zoomed(benchmark::State& State) {
  TScene& S = Scene();
  S.Chart->GetBottomAxis()->SetMinMax(4500, 5500);
  S.Paint();
  for (auto _ : State) S.DrawSeries();
  S.Chart->GetBottomAxis()->SetAutomatic(true);
}

BENCHMARK(BM_ChartPaint)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_SeriesDraw)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_PolylinesOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Prepare)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Zoomed)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

ZEL_BENCHMARK_MAIN()

