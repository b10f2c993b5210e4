// The viewer in a shown window at the screen's ratio: run it once with QT_SCALE_FACTOR=1 and once
// with 2 (bench/hidpi_compare.sh does, and prints the two side by side). The window's controls
// paint at the ratio, so at 2 every picture has four times the pixels.
//
// - "Viewer/LoadAndFirstPaint": the 200 x 100,000 session file (20 M points) loaded into the
//   shown viewer (fileLoad) and the chart painted once on the window.
// - "Viewer/Repaint", "Viewer/Pan", "Viewer/Zoom": that session; a whole repaint on the window,
//   a pan frame (the bottom axis moved by 1 % of its range) and a zoom frame (a tenth of the
//   range, moved each frame), each drawn anew (not the buffered picture).
// - "RealTime/AddPoint": a shown 640 x 440 chart whose fast line holds 100,000 points takes one
//   more with AutoRepaint off, drawn where the chart is kept and put on the window at once.
// Counter ratio: the scale the chart's canvas reported (the screen's ratio).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/LibraryMain.h"
#include "bench/SessionGenerator.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "viewer/MainForm.h"
#include "zelgraph/Units.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/series/FastLine.h"

using namespace zel;

namespace {

std::string SessionFile() {
  const std::string Path = (std::filesystem::temp_directory_path() / "zel_viewer_bench_200x100000.csv").string();
  if (!std::filesystem::exists(Path) && !bench::WriteSessionFile(Path, 200, 100000)) return std::string();
  return Path;
}

// Paints a control now on its window, as the window system does after a repaint request.
void PaintNow(TControl* C) {
  C->Invalidate();
  C->ProcessPendingPaint();
}

TFrmMain* ShownViewer() {
  auto* F = Create<TFrmMain>(nullptr);
  F->SetBounds(0, 0, 1000, 700);
  F->Show();
  Application->ProcessMessages();
  return F;
}

void BM_LoadAndFirstPaint(benchmark::State& State) {
  const std::string Path = SessionFile();
  if (Path.empty()) {
    State.SkipWithError("cannot write the session file");
    return;
  }
  for (auto _ : State) {
    State.PauseTiming();
    TFrmMain* Form = ShownViewer();
    State.ResumeTiming();
    Form->fileLoad(Path);
    PaintNow(Form->chart_);
    State.PauseTiming();
    State.counters["ratio"] = Form->chart_->TControl::GetCanvas()->GetScale();
    Form->Hide();
    Form->Free();
    Application->ProcessMessages();
    State.ResumeTiming();
  }
}
BENCHMARK(BM_LoadAndFirstPaint)->Name("Viewer/LoadAndFirstPaint")->Iterations(2)->Unit(benchmark::kMillisecond);

TFrmMain* Session() {
  static TFrmMain* Form = [] {
    TFrmMain* F = ShownViewer();
    const std::string Path = SessionFile();
    if (!Path.empty()) F->fileLoad(Path);
    PaintNow(F->chart_);
    return F;
  }();
  return Form;
}

enum class TFrame { Repaint, Pan, Zoom };

void Frames(benchmark::State& State, TFrame Frame) {
  TChart* Chart = Session()->chart_;
  TChartAxis* Bottom = Chart->GetBottomAxis();
  Bottom->SetMinMax(0, 200000);
  const double Range = Frame == TFrame::Zoom ? 20000 : 200000;
  int N = 0;
  for (auto _ : State) {
    if (Frame == TFrame::Pan) Bottom->SetMinMax((N % 50) * 0.01 * Range, (N % 50) * 0.01 * Range + Range);
    if (Frame == TFrame::Zoom) Bottom->SetMinMax((N % 9) * 20000.0 + 1234.5, (N % 9) * 20000.0 + 1234.5 + Range);
    PaintNow(Chart);  // a whole repaint, not the buffered picture again
    ++N;
  }
  State.counters["ratio"] = Chart->TControl::GetCanvas()->GetScale();
  Bottom->SetMinMax(0, 200000);
}
BENCHMARK_CAPTURE(Frames, Repaint, TFrame::Repaint)->Name("Viewer/Repaint")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frames, Pan, TFrame::Pan)->Name("Viewer/Pan")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frames, Zoom, TFrame::Zoom)->Name("Viewer/Zoom")->Unit(benchmark::kMillisecond);

void BM_AddPoint(benchmark::State& State) {
  constexpr int Points = 100000, Added = 50000;
  auto Value = [](double X) { return 80 * std::sin(X * 0.001) + 10 * std::sin(X * 0.37); };
  TOwned<TForm> Form(TForm::CreateNew(nullptr));
  Form->SetBounds(0, 0, 660, 460);
  TChart* Chart = Create<TChart>(Form.get());
  Chart->SetParent(Form.get());
  Chart->SetBounds(10, 10, 640, 440);
  Chart->GetBottomAxis()->SetMinMax(0, Points + Added);
  Chart->GetLeftAxis()->SetMinMax(-100, 100);
  auto* Line = Create<TFastLineSeries>(Chart);
  Chart->AddSeries(Line);
  Line->BeginUpdate();
  for (int I = 0; I < Points; ++I) Line->AddXY(I, Value(I));
  Line->EndUpdate();
  Form->Show();
  Application->ProcessMessages();
  PaintNow(Chart);
  Line->SetAutoRepaint(false);
  double X = Points;
  const int Paints = Chart->GetPaintCount();
  for (auto _ : State) {
    Line->AddXY(X, Value(X));
    X += 1;
    Chart->Present(TRectF());
  }
  State.counters["paints"] = Chart->GetPaintCount() - Paints;
  State.counters["ratio"] = Chart->TControl::GetCanvas()->GetScale();
  Form->Hide();
}
BENCHMARK(BM_AddPoint)->Name("RealTime/AddPoint")->Iterations(50000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  zel::ZelOffscreenWithoutDisplay();
  return zel::ZelRunBenchmarks(argc, argv);
}
