// A chart of known size with series of known points, painted once on a recording canvas so that
// its axes are laid out, and helpers to drive it with the mouse.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"

namespace zel::testing {

// A series whose points are hit within 3 pixels of their position.
class TPointSeries : public TChartSeries {
 public:
  explicit TPointSeries(TComponent* AOwner) : TChartSeries(AOwner) {}
  std::int32_t Clicked(std::int32_t X, std::int32_t Y) override {
    for (std::int32_t I = 0; I < Count(); ++I)
      if (std::abs(CalcXPos(I) - X) <= 3 && std::abs(CalcYPos(I) - Y) <= 3) return I;
    return -1;
  }
  bool CanZoomScroll() override { return ZoomScroll; }
  bool ZoomScroll = true;
};

// A tool that counts what reaches it and may claim mouse events.
class TCountTool : public TZelCustomTool {
 public:
  explicit TCountTool(TComponent* AOwner) : TZelCustomTool(AOwner) {}
  void ChartMouseEvent(TChartMouseEvent E, TMouseButton, TShiftState, std::int32_t, std::int32_t) override {
    Mouse.push_back(E);
    if (CancelOn == static_cast<int>(E) && GetParentChart()) GetParentChart()->SetCancelMouse(true);
  }
  void WheelMouseEvent(TWheelMouseEvent E, std::int32_t, std::int32_t, std::int32_t) override { Wheel.push_back(E); }
  void ChartKeyEvent(TChartKeyEvent E, Word&, char32_t&, TShiftState) override { Keys.push_back(E); }
  void ChartDragDropEvent(TChartDragDropEvent E, TObject*, std::int32_t, std::int32_t, TDragState, bool& Accept,
                          TDragObject*&) override {
    Drags.push_back(E);
    if (AcceptDrag) Accept = true;
  }
  std::vector<TChartMouseEvent> Mouse;
  std::vector<TWheelMouseEvent> Wheel;
  std::vector<TChartKeyEvent> Keys;
  std::vector<TChartDragDropEvent> Drags;
  int CancelOn = -1;  // a TChartMouseEvent value, or -1
  bool AcceptDrag = false;
};

class ChartFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = Create<TChart>(nullptr);
    Chart->SetView3D(false);
    Series = AddSeries({0, 2, 4, 6, 8, 10}, {0, 40, 20, 80, 60, 100});
    Paint();
  }
  // The chart frees its series and tools.
  void TearDown() override { FreeAndNil(Chart); }

  TPointSeries* AddSeries(const std::vector<double>& X, const std::vector<double>& Y) {
    auto* S = Create<TPointSeries>(nullptr);
    for (std::size_t I = 0; I < X.size(); ++I) S->AddXY(X[I], Y[I]);
    Chart->AddSeries(S);
    return S;
  }
  TCountTool* AddTool() {
    auto* T = Create<TCountTool>(nullptr);
    Chart->GetTools()->Add(T);
    return T;
  }

  // Lays the chart out as a paint would.
  void Paint() {
    TRecordingCanvas C(Width, Height);
    Chart->SetBounds(0, 0, static_cast<float>(Width), static_cast<float>(Height));
    Chart->Draw(&C, TRectF(0, 0, static_cast<float>(Width), static_cast<float>(Height)));
  }

  void Drag(TMouseButton B, float X0, float Y0, float X1, float Y1, TShiftState Shift = {}) {
    Chart->MouseDown(B, Shift, X0, Y0);
    Chart->MouseMove(Shift, (X0 + X1) / 2, (Y0 + Y1) / 2);
    Chart->MouseMove(Shift, X1, Y1);
    Chart->MouseUp(B, Shift, X1, Y1);
  }
  // A point inside the chart rectangle, away from the series' points, DX and DY pixels from
  // its top-left corner.
  TPointF Inside(float DX, float DY) const {
    return TPointF(Chart->GetChartRect().Left + DX, Chart->GetChartRect().Top + DY);
  }

  struct TRange {
    double Min, Max;
  };
  static TRange RangeOf(TChartAxis* A) { return {A->GetMinimum(), A->GetMaximum()}; }
  static TRange ShownOf(TChartAxis* A) { return {A->IMinimum, A->IMaximum}; }

  int Width = 400;
  int Height = 300;
  TChart* Chart = nullptr;
  TPointSeries* Series = nullptr;
};

}  // namespace zel::testing
