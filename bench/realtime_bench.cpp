// Points arriving in real time: a shown 640 x 440 chart whose fast line already holds 100,000
// points. "FullRepaint" is one repaint of the whole chart put on the window; "AddPointShown"
// adds one point with the series' AutoRepaint off (the segment drawn where the chart is kept
// and shown with the other segments of its frame, the event loop running after each point);
// "AddPointShownAtOnce" puts each segment on the window by itself. Both kinds of drawing,
// buffered and not. Without a display the programme runs on the off-screen platform.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "bench/LibraryMain.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/series/FastLine.h"

using namespace zel;

namespace {

constexpr int Points = 100000;
constexpr int Added = 50000;  // points a benchmark run may add; the axis leaves room for them

struct TScene {
  TOwned<TForm> Form{TForm::CreateNew(nullptr)};
  TChart* Chart = nullptr;
  TFastLineSeries* Line = nullptr;
  double NextX = Points;

  explicit TScene(bool Buffered) {
    Form->SetBounds(0, 0, 660, 460);
    Chart = Create<TChart>(Form.get());
    Chart->SetParent(Form.get());
    Chart->SetBounds(10, 10, 640, 440);
    Chart->SetBufferedDisplay(Buffered);
    Chart->GetBottomAxis()->SetMinMax(0, Points + Added);
    Chart->GetLeftAxis()->SetMinMax(-100, 100);
    Line = Create<TFastLineSeries>(Chart);
    Chart->AddSeries(Line);
    Line->BeginUpdate();
    for (int I = 0; I < Points; ++I) Line->AddXY(I, Value(I));
    Line->EndUpdate();
    Form->Show();
    Application->ProcessMessages();
    Repaint();
    Line->SetAutoRepaint(false);
  }
  static double Value(double X) { return 80 * std::sin(X * 0.001) + 10 * std::sin(X * 0.37); }
  void Repaint() {
    Chart->Invalidate();
    Chart->ProcessPendingPaint();
  }
  void AddPoint() {
    Line->AddXY(NextX, Value(NextX));
    NextX += 1;
  }
};

void FullRepaint(benchmark::State& State) {
  TScene Scene(State.range(0) != 0);
  for (auto _ : State) Scene.Repaint();
  State.counters["paints"] = Scene.Chart->GetPaintCount();
}

void AddPointShown(benchmark::State& State) {
  TScene Scene(State.range(0) != 0);
  const int Paints = Scene.Chart->GetPaintCount(), Presents = Scene.Chart->GetPresentCount();
  for (auto _ : State) {
    Scene.AddPoint();
    Application->ProcessMessages();
  }
  Scene.Chart->Present(TRectF());
  State.counters["paints"] = Scene.Chart->GetPaintCount() - Paints;
  State.counters["window_updates"] = Scene.Chart->GetPresentCount() - Presents;
}

void AddPointShownAtOnce(benchmark::State& State) {
  TScene Scene(State.range(0) != 0);
  const int Paints = Scene.Chart->GetPaintCount(), Presents = Scene.Chart->GetPresentCount();
  for (auto _ : State) {
    Scene.AddPoint();
    Scene.Chart->Present(TRectF());
  }
  State.counters["paints"] = Scene.Chart->GetPaintCount() - Paints;
  State.counters["window_updates"] = Scene.Chart->GetPresentCount() - Presents;
}

}  // namespace

BENCHMARK(FullRepaint)->ArgName("buffered")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(AddPointShown)->ArgName("buffered")->Arg(1)->Arg(0)->Iterations(Added)->Unit(benchmark::kMicrosecond);
BENCHMARK(AddPointShownAtOnce)->ArgName("buffered")->Arg(1)->Arg(0)->Iterations(Added)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  zel::ZelOffscreenWithoutDisplay();
  return zel::ZelRunBenchmarks(argc, argv);
}
