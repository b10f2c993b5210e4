// Polyline drawing, the viewer's hot path: a noisy signal of 1, 5 and 20 million whole-pixel
// points across a 640 x 480 picture, drawn with the per-column merge (DrawPolyline) and, as the
// baseline, segment by segment (DrawPolylineUnreduced). The merged run also reports how many of
// the baseline's inked pixels differ ("differ_pct", percent) and how many vertices remain.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <random>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

using namespace zel;

namespace {

constexpr int Width = 640, Height = 480;

const TPolygon& Signal(std::size_t Count) {
  static std::map<std::size_t, TPolygon> Cache;
  TPolygon& P = Cache[Count];
  if (P.empty()) {
    std::mt19937 Rng(12345);
    std::normal_distribution<float> Noise(0, 25);
    P.resize(Count);
    for (std::size_t i = 0; i < Count; ++i) {
      double X = double(i) * (Width - 1) / double(Count - 1);
      double Y = Height / 2 + 120 * std::sin(X / 40) + Noise(Rng);
      P[i] = {float(std::round(X)), float(std::round(std::clamp(Y, 0.0, Height - 1.0)))};
    }
  }
  return P;
}

struct TPicture {
  TBitmap Bitmap{Width, Height};
  TCanvas* Canvas = Bitmap.GetCanvas();
  TPicture() {
    Canvas->GetStroke()->SetColor(TAlphaColors::Blue);
    Canvas->GetStroke()->SetThickness(1);
  }
  void Draw(const TPolygon& P, bool Merge) {
    Bitmap.Clear(TAlphaColors::White);
    Canvas->BeginScene();
    if (Merge)
      Canvas->DrawPolyline(P, 1);
    else
      Canvas->DrawPolylineUnreduced(P.data(), P.size(), 1);
    Canvas->EndScene();
  }
  std::vector<TAlphaColor> Pixels() {
    std::vector<TAlphaColor> R;
    TBitmapData D;
    if (!Bitmap.Map(TMapAccess::Read, D)) return R;
    R.reserve(std::size_t(Width) * Height);
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) R.push_back(D.GetPixel(X, Y));
    Bitmap.Unmap(D);
    return R;
  }
};

void BM_PolylineMerged(benchmark::State& State) {
  const TPolygon& P = Signal(std::size_t(State.range(0)));
  TPicture Pic;
  for (auto _ : State) {
    Pic.Draw(P, true);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * std::int64_t(P.size()));

  // Fidelity against the baseline, outside the timed loop.
  std::vector<TAlphaColor> Merged = Pic.Pixels();
  Pic.Draw(P, false);
  std::vector<TAlphaColor> Plain = Pic.Pixels();
  double Inked = 0, Differ = 0;
  for (std::size_t i = 0; i < Plain.size() && i < Merged.size(); ++i) {
    Inked += Plain[i] != TAlphaColors::White || Merged[i] != TAlphaColors::White;
    Differ += Plain[i] != Merged[i];
  }
  State.counters["differ_pct"] = Inked > 0 ? 100 * Differ / Inked : 0;
  std::vector<TPointF> Reduced;
  ReducePolylineByColumn(P.data(), P.size(), Reduced);
  State.counters["vertices"] = double(Reduced.size());
}

void BM_PolylineBaseline(benchmark::State& State) {
  const TPolygon& P = Signal(std::size_t(State.range(0)));
  TPicture Pic;
  for (auto _ : State) {
    Pic.Draw(P, false);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * std::int64_t(P.size()));
}

BENCHMARK(BM_PolylineMerged)->Arg(1'000'000)->Arg(5'000'000)->Arg(20'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylineBaseline)->Arg(1'000'000)->Arg(5'000'000)->Arg(20'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
