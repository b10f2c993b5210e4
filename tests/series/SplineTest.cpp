// The B-spline: end points, interpolation through the given points, knuckles, and its bookkeeping.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/Exceptions.h"
#include "zelgraph/series/Spline.h"

namespace zel {
namespace {

TOwned<TBSpline> MakeSpline(const std::vector<TVertex>& Points, bool Interpolated) {
  TOwned<TBSpline> S(Create<TBSpline>());
  for (const TVertex& P : Points) S->AddPoint(P.X, P.Y);
  S->SetInterpolated(Interpolated);
  return S;
}

void ExpectNear(const TVertex& Got, const TVertex& Want) {
  EXPECT_NEAR(Got.X, Want.X, 1e-9);
  EXPECT_NEAR(Got.Y, Want.Y, 1e-9);
}

TEST(BSpline, TwoPointsGiveTheStraightSegment) {
  for (bool Interpolated : {false, true}) {
    SCOPED_TRACE(Interpolated);
    auto S = MakeSpline({{0, 0}, {1, 1}}, Interpolated);
    for (double T : {0.0, 0.25, 0.5, 1.0}) ExpectNear(S->Value(T), {T, T});
  }
}

TEST(BSpline, InterpolatedCurvePassesThroughEveryPoint) {
  const std::vector<std::vector<TVertex>> Sets = {
      {{0, 0}, {1, 5}, {2, -3}},
      {{0, 1}, {1, 4}, {2, 2}, {3, 8}, {4, 0}, {5, 3}},
      {{-3, 10}, {-1, -10}, {0.5, 7}, {4, 7}, {9, -2}, {10, 0}, {12, 40}, {13, 1}},
  };
  for (const auto& Points : Sets) {
    SCOPED_TRACE(Points.size());
    auto S = MakeSpline(Points, true);
    const double Last = static_cast<double>(Points.size() - 1);
    for (std::size_t I = 0; I < Points.size(); ++I) ExpectNear(S->Value(I / Last), Points[I]);
  }
}

TEST(BSpline, ControlPointsOnlyAttractTheCurve) {
  const std::vector<TVertex> Points = {{0, 0}, {1, 10}, {2, 0}, {3, 10}, {4, 0}};
  auto S = MakeSpline(Points, false);
  ExpectNear(S->Value(0), Points.front());
  ExpectNear(S->Value(1), Points.back());
  for (std::size_t I = 1; I + 1 < Points.size(); ++I) {
    const TVertex V = S->Value(I / 4.0);
    EXPECT_NEAR(V.X, Points[I].X, 1e-9);
    // 1/6, 2/3, 1/6 of the neighbours: pulled towards them, not through the point.
    EXPECT_GT(std::fabs(V.Y - Points[I].Y), 1.0);
  }
}

TEST(BSpline, KnucklePointIsReachedWithoutInterpolation) {
  auto S = MakeSpline({{0, 0}, {1, 10}, {2, 0}, {3, 5}}, false);
  S->SetKnuckle(2, true);
  EXPECT_EQ(S->GetNumberOfVertices(), 6);
  // Vertices 2, 3 and 4 are the knuckle: the curve passes through it at the middle one.
  ExpectNear(S->Value(2.0 / 5.0), {1, 10});
  // Flags of the first and the last point are ignored.
  S->SetKnuckle(1, true);
  S->SetKnuckle(4, true);
  EXPECT_FALSE(S->GetKnuckle(1));
  EXPECT_FALSE(S->GetKnuckle(4));
  EXPECT_EQ(S->GetNumberOfVertices(), 6);
}

TEST(BSpline, InterpolationKeepsAKnuckleInPlace) {
  auto S = MakeSpline({{0, 0}, {1, 3}, {2, 9}, {3, 1}, {4, 6}}, true);
  S->SetKnuckle(3, true);
  ASSERT_EQ(S->GetNumberOfVertices(), 7);
  for (std::int32_t I = 3; I <= 5; ++I) ExpectNear(S->GetVertex(I), {2, 9});
  ExpectNear(S->Value(0), {0, 0});
  ExpectNear(S->Value(1), {4, 6});
  ExpectNear(S->Value(3.0 / 6.0), {2, 9});
}

TEST(BSpline, GrowingKeepsPointsAndKnuckles) {
  auto S = MakeSpline({{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}}, false);
  ASSERT_EQ(S->GetCapacity(), 5);
  S->SetKnuckle(3, true);
  S->AddPoint(5, 25);
  EXPECT_EQ(S->GetCapacity(), 10);
  EXPECT_TRUE(S->GetKnuckle(3));
  EXPECT_EQ(S->GetPoint(1).Y, 0);
  EXPECT_EQ(S->GetPoint(5).Y, 16);
  EXPECT_EQ(S->GetPoint(6).Y, 25);
  // A knuckle at the last point counts once it has points after it.
  S->SetKnuckle(6, true);
  S->AddPoint(6, 36);
  EXPECT_TRUE(S->GetKnuckle(6));
}

TEST(BSpline, ChangesMakeTheCurveSolvedAgain) {
  auto S = MakeSpline({{0, 0}, {1, 1}, {2, 0}}, true);
  ExpectNear(S->Value(0.5), {1, 1});
  EXPECT_TRUE(S->GetBuild());
  S->SetPoint(2, {1, 7});
  EXPECT_FALSE(S->GetBuild());
  ExpectNear(S->Value(0.5), {1, 7});
  S->SetInterpolated(false);
  EXPECT_NEAR(S->Value(0.5).Y, 7 * 2.0 / 3.0, 1e-9);
  S->AddPoint(3, 3);
  ExpectNear(S->Value(1), {3, 3});
}

TEST(BSpline, TooFewPointsGiveTheOrigin) {
  TOwned<TBSpline> S(Create<TBSpline>());
  ExpectNear(S->Value(0.5), {0, 0});
  EXPECT_EQ(S->GetNumberOfVertices(), 0);
  S->AddPoint(3, 4);
  ExpectNear(S->Value(0), {0, 0});
  ExpectNear(S->Value(1), {0, 0});
}

// Parameters outside 0..1 read only vertices that exist, so they never reach past the lists.
TEST(BSpline, ParametersOutsideTheCurveStayInBounds) {
  auto S = MakeSpline({{0, 0}, {1, 2}, {2, 1}, {3, 3}}, true);
  for (double T : {-5.0, -0.3, 1.2, 3.0, 1e12, -1e12}) {
    SCOPED_TRACE(T);
    const TVertex V = S->Value(T);
    EXPECT_TRUE(std::isfinite(V.X));
    EXPECT_TRUE(std::isfinite(V.Y));
  }
  EXPECT_TRUE(std::isnan(S->Value(NAN).X));
  EXPECT_TRUE(std::isnan(S->Value(INFINITY).Y));
}

TEST(BSpline, PointIndexesAreChecked) {
  auto S = MakeSpline({{0, 0}, {1, 1}}, false);
  for (std::int32_t Index : {0, 3, -1}) {
    SCOPED_TRACE(Index);
    EXPECT_THROW(S->GetPoint(Index), ERangeError);
    EXPECT_THROW(S->SetPoint(Index, {}), ERangeError);
    EXPECT_THROW(S->SetKnuckle(Index, true), ERangeError);
  }
  EXPECT_THROW(S->GetVertex(0), ERangeError);  // not built yet
  S->Rebuild();
  EXPECT_NO_THROW(S->GetVertex(3));
  EXPECT_THROW(S->GetVertex(4), ERangeError);
}

TEST(BSpline, BookkeepingOfFragmentsCapacityAndClear) {
  auto S = MakeSpline({{0, 0}, {1, 1}, {2, 2}, {3, 3}}, true);
  EXPECT_EQ(S->GetFragments(), 100);
  S->SetFragments(601);
  EXPECT_EQ(S->GetFragments(), 600);
  S->SetFragments(40);
  EXPECT_EQ(S->GetFragments(), 40);

  S->SetCapacity(2);  // fewer places than points: the trailing points go
  EXPECT_EQ(S->GetNumberOfPoints(), 2);
  ExpectNear(S->Value(1), {1, 1});

  S->Clear();
  EXPECT_EQ(S->GetNumberOfPoints(), 0);
  EXPECT_EQ(S->GetCapacity(), 0);
  EXPECT_FALSE(S->GetInterpolated());
  EXPECT_EQ(S->GetFragments(), 100);
  S->AddPoint(1, 1);
  S->AddPoint(2, 2);
  ExpectNear(S->Value(1), {2, 2});
}

}  // namespace
}  // namespace zel
