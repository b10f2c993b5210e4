// Zooming by rectangle and percentage, the zoom history, undo, and the saved scales.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel::testing {
namespace {

class ChartZoomTest : public ChartFixture {
 protected:
  // The shown range of the four standard axes: left, top, right, bottom.
  std::vector<double> Ranges() {
    std::vector<double> R;
    for (TChartAxis* A : {Chart->GetLeftAxis(), Chart->GetTopAxis(), Chart->GetRightAxis(), Chart->GetBottomAxis()}) {
      R.push_back(A->GetMinimum());
      R.push_back(A->GetMaximum());
    }
    return R;
  }
  void ZoomTo(float L, float T, float R, float B) {
    Chart->ZoomRect(TRectF(Inside(L, T).X, Inside(L, T).Y, Inside(R, B).X, Inside(R, B).Y));
    Paint();
  }
};

TEST_F(ChartZoomTest, ZeroWidthAndDeepZoomsMapFarPointsToThePixelLimit) {
  // A zoom to a zero-width rectangle gives equal ends (widened by 1e-10 each way); zooming in
  // again and again gives a deep zoom. The data's far points map to the pixel limit.
  ZoomTo(100, 10, 100, 150);
  TChartAxis* B = Chart->GetBottomAxis();
  EXPECT_NEAR(B->GetMaximum() - B->GetMinimum(), 2e-10, 1e-11);
  for (double X : {0.0, 10.0}) EXPECT_EQ(std::abs(B->CalcXPosValue(X)), ZelPixelLimit) << X;
  Chart->UndoZoom();
  Paint();
  for (int I = 0; I < 40; ++I) ZoomTo(150, 10, 151, 150);
  EXPECT_LT(B->GetMaximum() - B->GetMinimum(), 1e-9);
  for (double X : {0.0, 10.0}) EXPECT_EQ(std::abs(B->CalcXPosValue(X)), ZelPixelLimit) << X;
}

TEST_F(ChartZoomTest, UndoBeforeAnyZoomOnlyFiresTheEvent) {
  const std::vector<double> Before = Ranges();
  int Undos = 0;
  Chart->OnUndoZoom = [&](TObject*) { ++Undos; };
  Chart->UndoZoom();
  EXPECT_EQ(Undos, 1);
  EXPECT_EQ(Ranges(), Before);
  EXPECT_TRUE(Chart->GetBottomAxis()->GetAutomatic());
  EXPECT_FALSE(Chart->GetZoomed());
}

TEST_F(ChartZoomTest, HistoryStepsBackOneZoomAtATime) {
  Chart->GetZoom()->SetHistory(true);
  ZoomTo(10, 10, 200, 150);
  const std::vector<double> Zoom1 = Ranges();
  ZoomTo(20, 20, 150, 120);
  const std::vector<double> Zoom2 = Ranges();
  ZoomTo(30, 30, 100, 80);
  EXPECT_EQ(Chart->GetZoom()->GetAxesHistory()->GetCount(), 3);

  Chart->UndoZoom();
  EXPECT_EQ(Ranges(), Zoom2);
  Chart->UndoZoom();
  EXPECT_EQ(Ranges(), Zoom1);
  Chart->UndoZoom();
  for (TChartAxis* A : {Chart->GetLeftAxis(), Chart->GetBottomAxis()}) EXPECT_TRUE(A->GetAutomatic());
  EXPECT_EQ(Chart->GetZoom()->GetAxesHistory()->GetCount(), 0);
  Paint();
  const std::vector<double> Restored = Ranges();
  Chart->UndoZoom();
  Paint();
  EXPECT_EQ(Ranges(), Restored);
}

TEST_F(ChartZoomTest, WithoutHistoryOneUndoReturnsToTheStart) {
  TChartAxis* H = Chart->GetBottomAxis();
  H->SetMinMax(1, 7);  // the user's own range, before any zoom
  Paint();
  ZoomTo(10, 10, 200, 150);
  ZoomTo(20, 20, 150, 120);
  EXPECT_EQ(Chart->GetZoom()->ExistingAxesHistory(), nullptr);
  Chart->UndoZoom();
  EXPECT_FALSE(H->GetAutomatic());
  EXPECT_EQ(H->GetMinimum(), 1);
  EXPECT_EQ(H->GetMaximum(), 7);
  EXPECT_TRUE(Chart->GetLeftAxis()->GetAutomatic());
}

TEST_F(ChartZoomTest, SnapshotHoldsStandardAndCustomAxes) {
  TChartAxis* Custom = Chart->GetCustomAxes()->Add();
  Custom->SetMinMax(-5, 5);
  Chart->GetZoom()->SetHistory(true);
  ZoomTo(10, 10, 200, 150);
  auto* S = dynamic_cast<TZoomSnapshot*>(Chart->GetZoom()->GetAxesHistory()->Last());
  ASSERT_NE(S, nullptr);
  const std::vector<double> R = Ranges();
  EXPECT_EQ(std::vector<double>(S->AxesMinMax.begin(), S->AxesMinMax.end()), R);
  EXPECT_EQ(S->CustomCount, 1);
  ASSERT_EQ(S->CustomMinMax.size(), 1u);
  EXPECT_EQ(S->CustomMinMax[0].first, -5);
  EXPECT_EQ(S->CustomMinMax[0].second, 5);
}

TEST_F(ChartZoomTest, HistoryStepsCustomAxesBackToo) {
  TChartAxis* Custom = Chart->GetCustomAxes()->Add();
  Custom->SetMinMax(-5, 5);
  Chart->GetZoom()->SetHistory(true);
  ZoomTo(10, 10, 200, 150);
  Custom->SetMinMax(0, 1);
  ZoomTo(20, 20, 150, 120);
  Custom->SetMinMax(3, 4);
  Chart->UndoZoom();
  EXPECT_EQ(Custom->GetMinimum(), -5);
  EXPECT_EQ(Custom->GetMaximum(), 5);
  // a snapshot taken with more custom axes than there are now skips the missing ones
  Custom->Free();
  ZoomTo(10, 10, 200, 150);
  Chart->UndoZoom();
  EXPECT_EQ(Chart->GetCustomAxes()->GetCount(), 0);
}

TEST_F(ChartZoomTest, PercentZoomNarrowsAroundTheCentre) {
  TChartAxis* H = Chart->GetBottomAxis();
  const double A = H->CalcPosPoint(H->IStartPos), B = H->CalcPosPoint(H->IEndPos);
  Chart->ZoomPercent(110);
  Paint();
  Chart->ZoomPercent(110);
  const double W = B - A;
  EXPECT_NEAR(H->GetMaximum() - H->GetMinimum(), W * 0.8 * 0.8, 1e-9 * W);
  EXPECT_NEAR((H->GetMaximum() + H->GetMinimum()) / 2, (A + B) / 2, 1e-9 * W);
  // Percent zooms add no snapshots even with the history on.
  Chart->GetZoom()->SetHistory(true);
  Chart->ZoomPercent(90);
  EXPECT_EQ(Chart->GetZoom()->GetAxesHistory()->GetCount(), 0);
}

TEST_F(ChartZoomTest, PercentZoomKeepsAxesOutsideTheDirection) {
  Chart->GetZoom()->SetDirection(TZelZoomDirection::tzdVertical);
  Chart->ZoomPercent(110);
  EXPECT_TRUE(Chart->GetBottomAxis()->GetAutomatic());
  EXPECT_FALSE(Chart->GetLeftAxis()->GetAutomatic());
}

TEST_F(ChartZoomTest, AnimatedZoomEndsOnTheExactRange) {
  struct Case {
    int Steps;
  };
  for (const Case C : {Case{1}, Case{2}, Case{8}}) {
    SCOPED_TRACE(C.Steps);
    Chart->UndoZoom();
    Paint();
    Chart->GetZoom()->SetAnimated(true);
    Chart->GetZoom()->SetAnimatedSteps(C.Steps);
    std::vector<double> Seen;
    // Each step sets the range; count the distinct minimums of the bottom axis.
    Chart->OnZoom = [&](TObject*) { Seen.push_back(Chart->GetBottomAxis()->GetMinimum()); };
    Chart->DoZoom(1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(Chart->GetTopAxis()->GetMinimum(), 1);
    EXPECT_EQ(Chart->GetBottomAxis()->GetMinimum(), 3);
    EXPECT_EQ(Chart->GetBottomAxis()->GetMaximum(), 4);
    EXPECT_EQ(Chart->GetLeftAxis()->GetMaximum(), 6);
    EXPECT_EQ(Chart->GetRightAxis()->GetMinimum(), 7);
    EXPECT_EQ(Seen.size(), 1u);
  }
}

// Records the bottom axis' minimum at every repaint request: each animation step asks for one.
class TRecordingChart : public TChart {
 public:
  using TChart::TChart;
  void Invalidate() override {
    if (Record && (Mins.empty() || Mins.back() != GetBottomAxis()->GetMinimum()))
      Mins.push_back(GetBottomAxis()->GetMinimum());
    TChart::Invalidate();
  }
  bool Record = false;
  std::vector<double> Mins;
};

TEST_F(ChartZoomTest, AnimationMovesAThirdOfTheRemainingWayPerStep) {
  TOwned<TRecordingChart> C(Create<TRecordingChart>(nullptr));
  TChartAxis* H = C->GetBottomAxis();
  H->SetMinMax(0, 90);
  C->GetZoom()->SetAnimated(true);
  C->GetZoom()->SetAnimatedSteps(3);
  C->GetZoom()->SetDirection(TZelZoomDirection::tzdHorizontal);
  C->Mins = {0};
  C->Record = true;
  C->DoZoom(0, 90, 30, 60, 0, 0, 0, 0);
  C->Record = false;
  // Two steps of a third of the remaining way (0 -> 10 -> 16.67), then the exact range.
  ASSERT_EQ(C->Mins.size(), 4u);
  EXPECT_DOUBLE_EQ(C->Mins[1], 10);
  EXPECT_DOUBLE_EQ(C->Mins[2], 10 + 20.0 / 3);
  EXPECT_EQ(C->Mins[3], 30);
  EXPECT_EQ(H->GetMinimum(), 30);
  EXPECT_EQ(H->GetMaximum(), 60);
  // The vertical axes were outside the direction.
  EXPECT_TRUE(C->GetLeftAxis()->GetAutomatic());
}

TEST_F(ChartZoomTest, VerticalScrollAsksOnAllowScroll) {
  std::vector<TChartAxis*> Asked;
  Chart->OnAllowScroll = [&](TChartAxis* A, double&, double&, bool& Allow) {
    Asked.push_back(A);
    Allow = A != Chart->GetLeftAxis();
  };
  const TRange Left = RangeOf(Chart->GetLeftAxis());
  Chart->ScrollVerticalAxes(true);
  EXPECT_EQ(RangeOf(Chart->GetLeftAxis()).Min, Left.Min);
  EXPECT_EQ(RangeOf(Chart->GetLeftAxis()).Max, Left.Max);
  for (TChartAxis* A : Asked) EXPECT_FALSE(A->GetHorizontal());
  EXPECT_FALSE(Chart->GetRestoredAxisScales());
}

TEST_F(ChartZoomTest, PanAsksOnAllowScrollWhichMayChangeTheRange) {
  Chart->SetAllowPanning(TPanningMode::pmHorizontal);
  Chart->OnAllowScroll = [&](TChartAxis* A, double& AMin, double& AMax, bool&) {
    if (A == Chart->GetBottomAxis()) {
      AMin = 100;
      AMax = 200;
    }
  };
  Drag(TMouseButton::mbRight, Inside(100, 100).X, Inside(100, 100).Y, Inside(150, 100).X, Inside(150, 100).Y);
  EXPECT_EQ(Chart->GetBottomAxis()->GetMinimum(), 100);
  EXPECT_EQ(Chart->GetBottomAxis()->GetMaximum(), 200);
}

// The pan follows the mouse one to one, whatever scale the canvas the chart draws on reports,
// also over several moves between two paints.
TEST_F(ChartZoomTest, PanFollowsTheMouseOnAScaledCanvas) {
  class TScaledCanvas : public TRecordingCanvas {
   public:
    using TRecordingCanvas::TRecordingCanvas;
    float GetScale() const override { return 2; }
  };
  TScaledCanvas Scaled(Width, Height);
  Chart->GetCanvas()->SetCanvas(&Scaled);
  TChartAxis* H = Chart->GetBottomAxis();
  const double Min = H->IMinimum, Max = H->IMaximum;
  const TPointF A = Inside(100, 100), B = Inside(150, 100);
  const double D = H->CalcPosPoint(Round(A.X)) - H->CalcPosPoint(Round(B.X));
  Chart->MouseDown(TMouseButton::mbRight, {}, A.X, A.Y);
  Chart->MouseMove({}, A.X + 20, A.Y);
  Chart->MouseMove({}, B.X, B.Y);
  Chart->MouseUp(TMouseButton::mbRight, {}, B.X, B.Y);
  Chart->GetCanvas()->SetCanvas(nullptr);
  EXPECT_DOUBLE_EQ(H->GetMinimum(), Min + D);
  EXPECT_DOUBLE_EQ(H->GetMaximum(), Max + D);
}

// A long drag on a logarithmic axis maps its ends past each other, a very long one past any
// number: either way the axis keeps its range.
TEST_F(ChartZoomTest, PanOnALogarithmicAxisThatWouldBreakItsRangeLeavesIt) {
  TChartAxis* H = Chart->GetBottomAxis();
  Series->Clear();
  for (double X : {1.0, 10.0, 100.0, 1000.0}) Series->AddXY(X, X);
  H->SetLogarithmic(true);
  Chart->SetAllowPanning(TPanningMode::pmHorizontal);
  for (float Distance : {2000.0f, 200000.0f}) {
    SCOPED_TRACE(Distance);
    Chart->UndoZoom();
    Paint();
    const TRange Before = ShownOf(H);
    const TPointF A = Inside(5, 50);
    Chart->MouseDown(TMouseButton::mbRight, {}, A.X, A.Y);
    Chart->MouseMove({}, A.X + Distance, A.Y);
    Chart->MouseUp(TMouseButton::mbRight, {}, A.X + Distance, A.Y);
    EXPECT_EQ(H->GetMinimum(), Before.Min);
    EXPECT_EQ(H->GetMaximum(), Before.Max);
  }
}

TEST_F(ChartZoomTest, ActiveSeriesDecideWhetherZoomingIsPossible) {
  struct Case {
    bool Active, CanZoom;
    bool Expect;
  };
  for (const Case& C : {Case{true, true, true}, Case{true, false, false}, Case{false, false, true}}) {
    Series->SetActive(C.Active);
    Series->ZoomScroll = C.CanZoom;
    EXPECT_EQ(Chart->ActiveSeriesCanZoomScroll(), C.Expect);
  }
}

}  // namespace
}  // namespace zel::testing
