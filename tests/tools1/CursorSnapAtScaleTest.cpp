// The cursor's snap in X at scale: over X values in order it is a binary search that finds what the
// walk over every visible point finds.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/tools/Cursor.h"

namespace zel::testing {
namespace {

class CursorSnapAtScale : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Tool = Create<TCursorTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Tool->SetStyle(TCursorToolStyle::cssVertical);
    Tool->SetSnap(true);
  }
  // Points at X = 0, 0.5, 0.5, 1.5, 1.5, 1.5, 2, ...: runs of equal X and uneven gaps.
  TPointSeries* Points(int N) {
    std::vector<double> X, Y;
    double V = 0;
    for (int I = 0; I < N; ++I) {
      X.push_back(V);
      Y.push_back(I % 7);
      if (I % 3 != 1) V += (I % 5 == 0) ? 1.0 : 0.5;
    }
    return AddSeries(X, Y);
  }
  // Snaps from X and returns the index and the snapped X.
  std::pair<std::int32_t, double> Snap(double X) {
    Tool->SetXValue(X);
    const std::int32_t I = Tool->SnapToPoint();
    return {I, Tool->GetXValue()};
  }
  // The points and values compared by one snap from (N / 3, 3.2) over N points.
  std::int64_t SnapSteps(int N) {
    TPointSeries* S = Points(N);
    Tool->SetSeries(S);
    Chart->GetBottomAxis()->SetAutomatic(true);
    Paint();
    Tool->ISnapSteps = 0;
    Tool->SetYValue(3.2);
    Snap(N / 3.0);
    const std::int64_t Result = Tool->ISnapSteps;
    Tool->SetSeries(nullptr);
    S->Free();
    return Result;
  }
  TCursorTool* Tool = nullptr;
};

TEST_F(CursorSnapAtScale, SnapInOrderFindsWhatTheWalkFinds) {
  TPointSeries* S = Points(60);
  Tool->SetSeries(S);
  Paint();
  for (double First : {0.0, 7.25}) {  // the whole series, and a zoomed part of it
    if (First > 0) {
      Chart->GetBottomAxis()->SetMinMax(First, 20);
      Paint();
    }
    std::vector<std::pair<std::int32_t, double>> InOrder, Walked;
    std::vector<double> From;
    for (double X = -3; X <= 50; X += 0.125) From.push_back(X);
    for (double X : From) InOrder.push_back(Snap(X));
    S->GetXValues()->SetOrder(TChartListOrder::loNone);  // the same points, walked one by one
    for (double X : From) Walked.push_back(Snap(X));
    S->GetXValues()->SetOrder(TChartListOrder::loAscending);
    EXPECT_EQ(InOrder, Walked) << First;
  }
}

// A point whose Y is not finite is no place to snap to, whether X is walked or searched.
TEST_F(CursorSnapAtScale, PointsWithoutAFiniteYAreSkippedInOrderToo) {
  TPointSeries* S = Points(60);
  for (std::int32_t I = 0; I < S->Count(); I += 4) S->GetYValues()->SetValue(I, std::nan(""));
  Tool->SetSeries(S);
  Paint();
  std::vector<std::pair<std::int32_t, double>> InOrder, Walked;
  std::vector<double> From;
  for (double X = -3; X <= 50; X += 0.125) From.push_back(X);
  for (double X : From) InOrder.push_back(Snap(X));
  S->GetXValues()->SetOrder(TChartListOrder::loNone);
  for (double X : From) Walked.push_back(Snap(X));
  EXPECT_EQ(InOrder, Walked);
  for (const auto& [I, X] : InOrder) {
    if (I >= 0) {
      EXPECT_TRUE(std::isfinite(S->GetYValues()->Value[I])) << I;
    }
  }
}

TEST_F(CursorSnapAtScale, SnapStepsGrowAsTheLogarithmOfThePoints) {
  const std::int64_t Small = SnapSteps(1000), Large = SnapSteps(10000);
  EXPECT_GT(Small, 0);
  // The walk compares every point: 10 times more.
  EXPECT_LE(Large, Small + 20) << Small << " " << Large;
}

// Snapping in both directions over X in order meets the points around the cursor's X and finds
// the point the walk finds, the lowest index of equally near ones.
TEST_F(CursorSnapAtScale, SnapInBothDirectionsInOrderFindsWhatTheWalkFinds) {
  Tool->SetStyle(TCursorToolStyle::cssBoth);
  TPointSeries* S = Points(80);
  Tool->SetSeries(S);
  Paint();
  auto SnapBoth = [&](double X, double Y) {
    Tool->SetXValue(X);
    Tool->SetYValue(Y);
    const std::int32_t I = Tool->SnapToPoint();
    return std::make_tuple(I, Tool->GetXValue(), Tool->GetYValue());
  };
  for (double First : {0.0, 7.25}) {
    if (First > 0) {
      Chart->GetBottomAxis()->SetMinMax(First, 20);
      Paint();
    }
    std::vector<std::pair<double, double>> From;
    for (double X = -3; X <= 50; X += 0.25)
      for (double Y = -2; Y <= 9; Y += 0.5) From.push_back({X, Y});
    std::vector<std::tuple<std::int32_t, double, double>> InOrder, Walked;
    for (const auto& [X, Y] : From) InOrder.push_back(SnapBoth(X, Y));
    S->GetXValues()->SetOrder(TChartListOrder::loNone);
    for (const auto& [X, Y] : From) Walked.push_back(SnapBoth(X, Y));
    S->GetXValues()->SetOrder(TChartListOrder::loAscending);
    EXPECT_EQ(InOrder, Walked) << First;
  }
}

TEST_F(CursorSnapAtScale, SnapStepsInBothDirectionsDoNotGrowWithThePoints) {
  Tool->SetStyle(TCursorToolStyle::cssBoth);
  const std::int64_t Small = SnapSteps(1000), Large = SnapSteps(10000);
  EXPECT_GT(Small, 0);
  // The walk measures every point: 10 times more.
  EXPECT_LE(Large, Small + 20) << Small << " " << Large;
}

}  // namespace
}  // namespace zel::testing
