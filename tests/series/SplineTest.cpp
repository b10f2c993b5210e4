// The B-spline: end points, interpolation through the given points, knuckles, and its bookkeeping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
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

// The control vertices solved with the full rows of the tridiagonal matrix (lower, diagonal,
// upper entries) and a separate solution list, the plain way.
std::vector<TVertex> SolveWithFullRows(std::vector<TVertex> V) {
  const std::size_t N = V.size() - 2;
  struct TRow {
    double Lower = 0, Diag = 0, Upper = 0;
  };
  std::vector<TRow> M(N + 1);
  for (std::size_t I = 2; I + 1 <= N; ++I) M[I] = {1.0 / 6.0, 2.0 / 3.0, 1.0 / 6.0};
  M[1].Diag = 1;
  M[N].Diag = 1;
  auto Same = [&V](std::size_t A, std::size_t B) {
    return std::fabs(V[A].X - V[B].X) < 1e-5 && std::fabs(V[A].Y - V[B].Y) < 1e-5;
  };
  for (std::size_t I = 3; I + 1 < N;) {
    if (Same(I - 1, I) && Same(I, I + 1)) {
      for (std::size_t R = I - 1; R <= I + 1; ++R) M[R] = {0, 1, 0};
      I += 2;
    } else {
      I += 1;
    }
  }
  for (std::size_t I = 1; I < N; ++I) {
    const double Factor = M[I + 1].Lower / M[I].Diag;
    if (Factor == 0) continue;
    M[I + 1].Lower = 0;
    M[I + 1].Diag -= Factor * M[I].Upper;
    V[I + 1].X -= Factor * V[I].X;
    V[I + 1].Y -= Factor * V[I].Y;
  }
  std::vector<TVertex> W(N + 2);
  W[N] = {V[N].X / M[N].Diag, V[N].Y / M[N].Diag};
  for (std::size_t I = N - 1; I >= 1; --I)
    W[I] = {(V[I].X - M[I].Upper * W[I + 1].X) / M[I].Diag, (V[I].Y - M[I].Upper * W[I + 1].Y) / M[I].Diag};
  W[0] = {2 * W[1].X - W[2].X, 2 * W[1].Y - W[2].Y};
  W[N + 1] = {2 * W[N].X - W[N - 1].X, 2 * W[N].Y - W[N - 1].Y};
  return W;
}

// The solver keeps only the diagonal of each row and solves in place: the vertices are, to the
// bit, those of the full rows. Knuckles, equal points in a row, knuckles next to each other and
// next to the ends make identity rows in every position.
TEST(BSpline, CompactSolverGivesTheVerticesOfTheFullRows) {
  std::vector<TVertex> Points;
  for (int I = 0; I < 400; ++I) Points.push_back({I * 0.37, std::sin(I * 0.21) * 50 + (I % 7) * 1.3});
  for (int I = 100; I < 103; ++I) Points[static_cast<std::size_t>(I)] = Points[99];  // four equal points
  auto S = MakeSpline(Points, true);
  for (std::int32_t K : {2, 3, 50, 51, 52, 200, 202, 398, 399}) S->SetKnuckle(K, true);
  const std::int32_t N = S->GetNumberOfVertices();
  std::vector<TVertex> Unsolved(static_cast<std::size_t>(N) + 2);
  std::size_t V = 1;
  for (std::int32_t I = 1; I <= S->GetNumberOfPoints(); ++I)
    for (int K = S->GetKnuckle(I) ? 3 : 1; K > 0; --K) Unsolved[V++] = S->GetPoint(I);
  ASSERT_EQ(V, static_cast<std::size_t>(N) + 1);
  const std::vector<TVertex> Want = SolveWithFullRows(Unsolved);
  int Differ = 0;
  for (std::int32_t I = 0; I <= N + 1; ++I) {
    const TVertex Got = S->GetVertex(I);
    const TVertex& W = Want[static_cast<std::size_t>(I)];
    if (std::memcmp(&Got.X, &W.X, sizeof(double)) != 0 || std::memcmp(&Got.Y, &W.Y, sizeof(double)) != 0) ++Differ;
  }
  EXPECT_EQ(Differ, 0);
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
