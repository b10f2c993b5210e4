// The nearest point at scale: with X values in order the search starts at the mouse's column and
// stops where the columns lie farther than the best distance, and finds what the walk over every
// visible point finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/tools/NearestPoint.h"

namespace zel::testing {
namespace {

class NearestAtScale : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Series->Clear();
  }
  // N points at uneven steps of X with runs of equal X, every ninth null; Y random, or 50 if Flat.
  void Fill(int N, bool Flat = false) {
    std::mt19937 Rng(5);
    std::uniform_real_distribution<double> Noise(0, 100);
    Series->Clear();
    double X = 0;
    for (int I = 0; I < N; ++I) {
      if (I % 9 == 4)
        Series->AddNullXY(X, Flat ? 50 : Noise(Rng));
      else
        Series->AddXY(X, Flat ? 50 : Noise(Rng));
      if (I % 4 != 1) X += 100.0 / N * (I % 3 == 0 ? 2 : 1);
    }
    Chart->GetBottomAxis()->SetAutomatic(true);
    Chart->GetLeftAxis()->SetMinMax(0, 100);
  }
};

TEST_F(NearestAtScale, SearchFromTheColumnFindsWhatTheWalkFinds) {
  Fill(300);
  struct Case {
    bool Inverted, Zoomed, IncludeNulls;
    int MaxDistance;
  };
  const Case Cases[] = {{false, false, false, 0},
                        {true, false, true, 0},
                        {false, true, false, 12},
                        {true, true, true, 5},
                        {false, false, true, 40}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "inverted " << C.Inverted << " zoomed " << C.Zoomed
                                      << " nulls " << C.IncludeNulls << " max " << C.MaxDistance);
    Chart->GetBottomAxis()->SetInverted(C.Inverted);
    if (C.Zoomed)
      Chart->GetBottomAxis()->SetMinMax(30, 55);
    else
      Chart->GetBottomAxis()->SetAutomatic(true);
    Paint();
    const TRectF R = Chart->GetChartRect();
    std::vector<std::int32_t> FromColumn, Walked;
    auto Search = [&](std::vector<std::int32_t>& Out) {
      for (int MX = int(R.Left) - 20; MX <= int(R.Right) + 20; MX += 5)
        for (int MY = int(R.Top) - 20; MY <= int(R.Bottom) + 20; MY += 9)
          Out.push_back(
              TNearestTool::GetNearestPoint(Series, MX, MY, C.IncludeNulls, C.MaxDistance));
    };
    TNearestTool::NearestVisits = 0;
    Search(FromColumn);
    const std::int64_t FromColumnVisits = TNearestTool::NearestVisits;
    Series->GetXValues()->SetOrder(TChartListOrder::loNone);  // the same points, walked one by one
    TNearestTool::NearestVisits = 0;
    Search(Walked);
    Series->GetXValues()->SetOrder(TChartListOrder::loAscending);
    EXPECT_EQ(FromColumn, Walked);
    EXPECT_GT(std::count_if(Walked.begin(), Walked.end(), [](std::int32_t I) { return I >= 0; }),
              100);
    EXPECT_LT(FromColumnVisits * 3, TNearestTool::NearestVisits);
  }
}

TEST_F(NearestAtScale, ASearchNearTheLineLooksAtNearbyColumnsOnly) {
  auto Visits = [&](int N) {
    Fill(N, true);
    Paint();
    const std::int32_t I = N / 2 + 1;
    TNearestTool::NearestVisits = 0;
    // Six pixels above the line: no hit of the series' own, the nearest point six pixels away.
    EXPECT_GE(
        TNearestTool::GetNearestPoint(Series, Series->CalcXPos(I), Series->CalcYPos(I) - 6, 0), 0);
    return TNearestTool::NearestVisits;
  };
  const std::int64_t Small = Visits(2000), Large = Visits(20000);
  EXPECT_GT(Small, 0);
  // The points of the columns within six pixels; the walk over every point would look at all 20000.
  EXPECT_LT(Large, 20000 / 10) << Small << " " << Large;
}

}  // namespace
}  // namespace zel::testing
