// The line series' hit test at scale: with X values in order it looks only at the points near the
// mouse's pixel column, and finds what the walk over every visible point finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tests/lines/LinesFixture.h"
#include "zelgraph/engine/Pointer.h"
#include "zelgraph/series/LineSeries.h"

namespace zel::lines {
namespace {

class ClickAtScale : public LinesFixture {
 protected:
  // The points looked at by a click that hits nothing, for N points.
  std::int64_t VisitsOfAMiss(TCustomSeries* S, std::int32_t N) {
    S->Clear();
    for (std::int32_t I = 0; I < N; ++I) S->AddXY(100.0 * I / N, 10);
    Paint();
    S->IClickVisits = 0;
    const TRectF R = Chart->GetChartRect();
    EXPECT_EQ(S->Clicked(int((R.Left + R.Right) / 2), int(R.Top) + 2), -1);
    return S->IClickVisits;
  }
};

TEST_F(ClickAtScale, NarrowedClickFindsWhatTheWalkOverEveryPointFinds) {
  std::mt19937 Rng(11);
  std::uniform_real_distribution<double> Noise(0, 100);
  std::vector<double> X, Y;
  for (int I = 0; I < 600; ++I) {
    X.push_back(I / 6.0);  // several points share a column
    Y.push_back(Noise(Rng));
  }
  auto* S = Add<TCustomSeries>(X, Y);
  S->GetPointer()->SetVisible(true);
  TChartValueList* XV = S->GetXValues();
  struct Case {
    bool Inverted, Stairs, Area, View3D, Pointer;
    int Tolerance;
  };
  const Case Cases[] = {
      {false, false, false, false, true, 0}, {true, false, false, false, true, 0},
      {false, true, false, false, false, 3}, {true, true, false, false, true, 2},
      {false, false, true, false, false, 0}, {true, false, true, false, true, 0},
      {false, false, false, true, true, 0},  {true, false, true, true, false, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message()
                 << "inverted " << C.Inverted << " stairs " << C.Stairs << " area " << C.Area
                 << " 3D " << C.View3D << " pointer " << C.Pointer << " tol " << C.Tolerance);
    Chart->GetBottomAxis()->SetInverted(C.Inverted);
    Chart->SetView3D(C.View3D);
    S->SetStairs(C.Stairs);
    S->SetDrawArea(C.Area);
    S->GetPointer()->SetVisible(C.Pointer);
    S->SetClickTolerance(C.Tolerance);
    Paint();
    const TRectF R = Chart->GetChartRect();
    std::vector<std::int32_t> Narrowed, Walked;
    S->IClickVisits = 0;
    for (int MX = int(R.Left) - 4; MX <= int(R.Right) + 30; MX += 3)
      for (int MY = int(R.Top) - 30; MY <= int(R.Bottom); MY += 11)
        Narrowed.push_back(S->Clicked(MX, MY));
    const std::int64_t NarrowedVisits = S->IClickVisits;
    XV->SetOrder(TChartListOrder::loNone);  // the same points, walked one by one
    S->IClickVisits = 0;
    for (int MX = int(R.Left) - 4; MX <= int(R.Right) + 30; MX += 3)
      for (int MY = int(R.Top) - 30; MY <= int(R.Bottom); MY += 11)
        Walked.push_back(S->Clicked(MX, MY));
    XV->SetOrder(TChartListOrder::loAscending);
    EXPECT_EQ(Narrowed, Walked);
    EXPECT_GT(std::count_if(Walked.begin(), Walked.end(), [](std::int32_t I) { return I >= 0; }),
              50);
    EXPECT_LT(NarrowedVisits * 5, S->IClickVisits);
  }
}

TEST_F(ClickAtScale, AClickLooksOnlyNearItsColumn) {
  auto* S = Add<TCustomSeries>({}, {});
  S->GetPointer()->SetVisible(true);
  const std::int64_t Small = VisitsOfAMiss(S, 2000), Large = VisitsOfAMiss(S, 20000);
  EXPECT_GT(Small, 0);
  // Points per column grow tenfold; the walk over every point would visit 20000.
  EXPECT_LE(Large, 12 * Small) << Small << " " << Large;
  EXPECT_LT(Large, 20000 / 10) << Large;
}

}  // namespace
}  // namespace zel::lines
