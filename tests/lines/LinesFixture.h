// A flat chart (no walls, titles or legend) with fixed axis ranges, painted on a recording canvas
// so that series can be checked by the primitives they draw in their own colour.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/Series.h"

namespace zel::lines {

class TFlatPanel : public TCustomAxisPanel {
 public:
  explicit TFlatPanel(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}
  bool IsFreeSeriesColor(TAlphaColor, bool, TChartSeries*) override { return true; }
  void DrawWalls() override {}
  void DrawTitlesAndLegend(bool) override {}
};

constexpr TAlphaColor SeriesColor = 0xFF1F77B4;

class LinesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = Create<TFlatPanel>(nullptr);
    Chart->SetView3D(false);
    Chart->GetBottomAxis()->SetMinMax(0, 100);
    Chart->GetLeftAxis()->SetMinMax(0, 100);
  }
  void TearDown() override { Chart->Free(); }

  template <class T>
  T* Add(const std::vector<double>& X, const std::vector<double>& Y, TAlphaColor Color = SeriesColor) {
    auto* S = Create<T>(nullptr);
    Chart->AddSeries(S);
    S->SetSeriesColor(Color);
    for (std::size_t I = 0; I < X.size(); ++I) S->AddXY(X[I], Y[I]);
    return S;
  }

  void Paint(int W = 400, int H = 300) {
    Canvas = std::make_unique<TRecordingCanvas>(W, H);
    Chart->SetBounds(0, 0, static_cast<float>(W), static_cast<float>(H));
    Chart->SetBufferedDisplay(false);
    Chart->Draw(Canvas.get(), TRectF(0, 0, static_cast<float>(W), static_cast<float>(H)));
  }

  // Primitives of one kind drawn in Color.
  std::vector<TCanvasRecord> Records(TRecordKind Kind, TAlphaColor Color = SeriesColor) const {
    std::vector<TCanvasRecord> R;
    for (const TCanvasRecord& Rec : Canvas->GetRecords())
      if (Rec.Kind == Kind && Rec.Color == Color) R.push_back(Rec);
    return R;
  }
  std::vector<TCanvasRecord> Lines(TAlphaColor Color = SeriesColor) const { return Records(TRecordKind::DrawLine, Color); }

  // The pixel of a value pair through the chart's axes.
  TPointF Pixel(double X, double Y) const {
    return TPointF(static_cast<float>(Chart->GetBottomAxis()->CalcXPosValue(X)),
                   static_cast<float>(Chart->GetLeftAxis()->CalcYPosValue(Y)));
  }

  TFlatPanel* Chart = nullptr;
  std::unique_ptr<TRecordingCanvas> Canvas;
};

}  // namespace zel::lines
