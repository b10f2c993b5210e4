// Recording doubles for the axis panel's tests: a panel, series and tools that write what the
// chart asks of them into one shared log, so that tests can compare the order of calls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"

namespace zel::testing {

using TLog = std::vector<String>;

inline const char* EventName(TChartToolEvent E) {
  switch (E) {
    case TChartToolEvent::tdePaintDone:
      return "PaintDone";
    case TChartToolEvent::tdeSeriesStart:
      return "SeriesStart";
    case TChartToolEvent::tdePaintStart:
      return "PaintStart";
    case TChartToolEvent::tdeAxesStart:
      return "AxesStart";
    case TChartToolEvent::tdeSeriesDone:
      return "SeriesDone";
    case TChartToolEvent::tdeMouseLeft:
      return "MouseLeft";
  }
  return "?";
}

// A chart whose walls, titles and legend only log; a palette colour is free when no other
// series uses it.
class TLogPanel : public TCustomAxisPanel {
 public:
  explicit TLogPanel(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}

  bool IsFreeSeriesColor(TAlphaColor AColor, bool, TChartSeries* Series) override {
    for (std::int32_t I = 0; I < SeriesCount(); ++I)
      if (GetSeries(I) != Series && GetSeries(I)->GetSeriesColor() == AColor) return false;
    return true;
  }
  void DrawWalls() override { Note("walls"); }
  void DrawTitlesAndLegend(bool BeforeSeries) override { Note(BeforeSeries ? "titles-before" : "titles-after"); }
  void CalcWallsRect() override {
    Note("walls-rect");
    TCustomAxisPanel::CalcWallsRect();
  }

  // Paints the chart once on a recording canvas of the given size.
  void PaintOnce(int W = 400, int H = 300) {
    TRecordingCanvas C(W, H);
    SetBounds(0, 0, static_cast<float>(W), static_cast<float>(H));
    Draw(&C, TRectF(0, 0, static_cast<float>(W), static_cast<float>(H)));
  }

  void Note(const String& S) {
    if (Log) Log->push_back(S);
  }
  TLog* Log = nullptr;
};

// A series that logs the drawing hooks the chart calls; its points are hit within 2 pixels of
// HitX (any Y) when HitX is set.
class TLogSeries : public TChartSeries {
 public:
  explicit TLogSeries(TComponent* AOwner) : TChartSeries(AOwner) {}

  void DoBeforeDrawChart() override { Note("before-chart"); }
  void BeforeCalcAxis() override { Note("before-axis"); }
  void DoBeforeDrawValues() override {
    Note("before-values");
    TChartSeries::DoBeforeDrawValues();
  }
  void DrawAllValues() override { Note("draw"); }
  void DoAfterDrawValues() override {
    Note("after-values");
    TChartSeries::DoAfterDrawValues();
  }
  void DrawValue(std::int32_t ValueIndex) override { Note("v" + std::to_string(ValueIndex)); }
  bool DrawSeriesAscending() override { return Ascending; }
  void CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin) override {
    LeftMargin = MarginLeft;
    RightMargin = MarginRight;
  }
  bool CheckMouse(std::int32_t, std::int32_t) override {
    Note("check");
    return Reacts;
  }
  void CalcFirstLastVisibleIndex() override {
    if (NothingVisible) {
      FFirstVisibleIndex = FLastVisibleIndex = -1;
      return;
    }
    TChartSeries::CalcFirstLastVisibleIndex();
  }
  std::int32_t Clicked(std::int32_t X, std::int32_t) override {
    if (HitX < 0 || Count() == 0) return -1;
    return (X >= HitX - 2 && X <= HitX + 2) ? 0 : -1;
  }

  void Note(const String& S) {
    if (Log) Log->push_back(Tag + ":" + S);
  }
  TLog* Log = nullptr;
  String Tag = "S";
  bool Ascending = true;
  bool NothingVisible = false;
  bool Reacts = false;
  std::int32_t MarginLeft = 0;
  std::int32_t MarginRight = 0;
  std::int32_t HitX = -1;
};

// A tool that logs every event it receives and may claim mouse and wheel events.
class TLogTool : public TZelCustomTool {
 public:
  explicit TLogTool(TComponent* AOwner) : TZelCustomTool(AOwner) {}

  void ChartEvent(TChartToolEvent E) override { Note(EventName(E)); }
  void SeriesEvent(TChartToolEvent E, TChartSeries*) override { Note(String("series-") + EventName(E)); }
  void ChartMouseEvent(TChartMouseEvent, TMouseButton, TShiftState, std::int32_t, std::int32_t) override {
    Note("mouse");
    if (Cancel && GetParentChart()) GetParentChart()->SetCancelMouse(true);
  }
  void WheelMouseEvent(TWheelMouseEvent, std::int32_t, std::int32_t, std::int32_t) override {
    Note("wheel");
    if (Cancel && GetParentChart()) GetParentChart()->SetCancelMouse(true);
  }
  void ChartKeyEvent(TChartKeyEvent, Word&, char32_t&, TShiftState) override { Note("key"); }
  void ChartDragDropEvent(TChartDragDropEvent, TObject*, std::int32_t, std::int32_t, TDragState, bool&,
                          TDragObject*&) override {
    Note("drag");
  }

  void Note(const String& S) {
    if (Log) Log->push_back(Tag + ":" + S);
  }
  TLog* Log = nullptr;
  String Tag = "T";
  bool Cancel = false;
};

// The same for animations.
class TLogAnimation : public TZelCustomAnimation {
 public:
  explicit TLogAnimation(TComponent* AOwner) : TZelCustomAnimation(AOwner) {}

  void ChartEvent(TChartToolEvent E) override { Note(EventName(E)); }
  void SeriesEvent(TChartToolEvent E, TChartSeries*) override { Note(String("series-") + EventName(E)); }
  void ChartMouseEvent(TChartMouseEvent, TMouseButton, TShiftState, std::int32_t, std::int32_t) override {
    Note("mouse");
  }
  void Play() override {}

  void Note(const String& S) {
    if (Log) Log->push_back(Tag + ":" + S);
  }
  TLog* Log = nullptr;
  String Tag = "A";
};

// Owns a chart and frees it (and the series and tools made for it) at the end of a test.
class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = Create<TLogPanel>(nullptr);
    Chart->Log = &Log;
  }
  void TearDown() override { FreeAndNil(Chart); }

  TLogSeries* AddSeries(const String& Tag, std::int32_t Points = 3) {
    auto* S = Create<TLogSeries>(nullptr);
    S->Tag = Tag;
    for (std::int32_t I = 0; I < Points; ++I) S->AddXY(I, I * 10);
    Chart->AddSeries(S);
    S->Log = &Log;
    return S;
  }
  TLogTool* AddTool(const String& Tag) {
    auto* T = Create<TLogTool>(nullptr);
    T->Tag = Tag;
    T->Log = &Log;
    Chart->GetTools()->Add(T);
    return T;
  }
  TLogAnimation* AddAnimation(const String& Tag) {
    auto* A = Create<TLogAnimation>(nullptr);
    A->Tag = Tag;
    A->Log = &Log;
    Chart->GetAnimations()->Add(A);
    return A;
  }
  // The log entries that start with Prefix, in order.
  TLog Only(const String& Prefix) const {
    TLog R;
    for (const String& S : Log)
      if (S.rfind(Prefix, 0) == 0) R.push_back(S);
    return R;
  }

  TLogPanel* Chart = nullptr;
  TLog Log;
};

}  // namespace zel::testing
