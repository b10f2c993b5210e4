// A 2D chart drawing onto a recording canvas (fixed text metrics: 7 pixels per character, 12
// pixel lines), with series of known titles and a legend of its own, and a canvas that notes
// the check boxes it draws.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel::testing {

struct TCheckBoxCall {
  int X, Y;
  bool Checked;
  bool IsCheckBox;
};

class TSpyCanvas : public TZelCanvas3D {
 public:
  void DrawCheckBox(int X, int Y, bool Checked, TAlphaColor Back, bool CheckBox) override {
    Boxes.push_back({X, Y, Checked, CheckBox});
    TZelCanvas3D::DrawCheckBox(X, Y, Checked, Back, CheckBox);
  }
  std::vector<TCheckBoxCall> Boxes;
};

// A chart whose bounds and chart rectangle a test sets directly, counting repaint requests.
class TLegendChart : public TChart {
 public:
  using TChart::TChart;
  void Place(const TRectF& Bounds, const TRectF& R) {
    FChartBounds = Bounds;
    ChartRect = R;
    ReCalcWidthHeight();
  }
  void Invalidate() override { ++Invalidates; }
  int Invalidates = 0;
};

class LegendFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = Create<TLegendChart>(nullptr);
    Chart->SetView3D(false);
    Spy = Create<TSpyCanvas>();
    Chart->SetInternalCanvas(Spy);
    Chart->GetCanvas()->SetUseBuffer(false);
    Chart->GetCanvas()->InitWindow(&Rec, nullptr, 0, false, TRectF(0, 0, 600, 400));
    Legend = Create<TChartLegend>(Chart);
    Chart->Place(TRectF(0, 0, 600, 400), TRectF(50, 40, 550, 360));
  }
  void TearDown() override {
    FreeAndNil(Legend);
    FreeAndNil(Chart);
  }

  // A series titled Title with the given Y values at X = 0, 1, 2 ...
  TChartSeries* AddSeries(const String& Title, const std::vector<double>& Y = {1, 2, 3}, bool Active = true) {
    auto* S = Create<TChartSeries>(nullptr);
    S->SetTitle(Title);
    for (std::size_t I = 0; I < Y.size(); ++I) S->AddXY(double(I), Y[I]);
    Chart->AddSeries(S);
    S->SetActive(Active);
    return S;
  }
  void AddSeriesNamed(int Count, const char* Prefix = "S") {
    for (int I = 0; I < Count; ++I) {
      char Buf[16];
      std::snprintf(Buf, sizeof Buf, "%s%02d", Prefix, I + 1);
      AddSeries(Buf);
    }
  }
  // Lays the legend out on a fresh chart rectangle R within Bounds.
  void Layout(const TRectF& R = TRectF(50, 40, 550, 360), const TRectF& Bounds = TRectF(0, 0, 600, 400)) {
    Chart->Place(Bounds, R);
    Legend->CalcRect();
  }
  // The texts drawn on the recording canvas, in order.
  std::vector<String> DrawnTexts() const {
    std::vector<String> T;
    for (const TCanvasRecord& R : Rec.RecordsOf(TRecordKind::FillText)) T.push_back(R.Text);
    return T;
  }
  // The centre of the legend's row of item Position (vertical legend).
  TPointF RowCentre(int Position) {
    const float Y = float(Legend->FirstItemTop() + Position * Legend->ItemHeight + 1 + Legend->ItemHeight / 2);
    return TPointF((Legend->ShapeBounds.Left + Legend->ShapeBounds.Right) / 2, Y);
  }

  TRecordingCanvas Rec{600, 400};
  TLegendChart* Chart = nullptr;
  TSpyCanvas* Spy = nullptr;
  TChartLegend* Legend = nullptr;
};

}  // namespace zel::testing
