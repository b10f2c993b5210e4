#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/Geometry.h"

using namespace zel;

namespace {

void ExpectPoint(TPointF Expected, TPointF Actual) {
  EXPECT_NEAR(Expected.X, Actual.X, 1e-4);
  EXPECT_NEAR(Expected.Y, Actual.Y, 1e-4);
}

TEST(GeometryTest, RectHelpers) {
  TRectF R{10, 20, 40, 60};
  EXPECT_EQ(30, R.Width());
  EXPECT_EQ(40, R.Height());
  EXPECT_EQ(TPointF(25, 40), R.CenterPoint());
  EXPECT_TRUE(R.Contains({40, 60}));  // edges included
  EXPECT_FALSE(R.Contains({40.01f, 30}));
  EXPECT_EQ(TRectF(0, 5, 10, 20), TRectF(10, 20, 0, 5).Normalized());
  R.Inflate(1, 2);
  EXPECT_EQ(TRectF(9, 18, 41, 62), R);
}

TEST(GeometryTest, EmptyRectangles) {
  struct Case {
    TRectF R;
    bool Empty;
  } Cases[] = {
      {{0, 0, 10, 10}, false}, {{0, 0, 0, 5}, true}, {{5, 0, 0, 5}, true},
      {{0, 0, NAN, 5}, true},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Empty, C.R.IsEmpty());
}

TEST(GeometryTest, UnionAndIntersection) {
  TRectF A{0, 0, 10, 10}, B{5, 5, 20, 8};
  EXPECT_EQ(TRectF(0, 0, 20, 10), TRectF::Union(A, B));
  EXPECT_EQ(TRectF(5, 5, 10, 8), TRectF::Intersect(A, B));
  EXPECT_TRUE(A.IntersectsWith(B));
  // Touching edges share no area.
  EXPECT_EQ(TRectF(), TRectF::Intersect(A, {10, 0, 20, 10}));
  EXPECT_FALSE(A.IntersectsWith({10, 0, 20, 10}));
}

TEST(GeometryTest, RoundingHalvesToEvenAndSaturates) {
  EXPECT_EQ(TPoint(2, -2), TPointF(2.5f, -2.5f).Round());
  EXPECT_EQ(TPoint(4, 4), TPointF(3.5f, 4.4f).Round());
  TRect R = TRectF(0.5f, 1.5f, 1e20f, NAN).Round();
  EXPECT_EQ(TRect(0, 2, 2147483647, 0), R);
}

TEST(GeometryTest, RotationTurnsClockwiseOnScreen) {
  // A quarter turn takes 3 o'clock (1, 0) to 6 o'clock (0, 1): Y grows downwards.
  ExpectPoint({0, 1}, TPointF(1, 0) * TMatrix::CreateRotation(float(std::numbers::pi / 2)));
}

TEST(GeometryTest, ProductAppliesLeftOperandFirst) {
  TMatrix S = TMatrix::CreateScaling(2, 3), T = TMatrix::CreateTranslation(10, 20);
  ExpectPoint({12, 23}, TPointF(1, 1) * (S * T));  // scale, then move
  ExpectPoint({22, 63}, TPointF(1, 1) * (T * S));  // move, then scale
}

TEST(GeometryTest, InverseUndoesAndSingularGivesIdentity) {
  TMatrix M = TMatrix::CreateRotation(0.7f) * TMatrix::CreateScaling(2, 0.5f) *
              TMatrix::CreateTranslation(-3, 8);
  ExpectPoint({4, -6}, TPointF(4, -6) * M * M.Inverse());
  EXPECT_TRUE(TMatrix::CreateScaling(0, 1).Inverse().IsIdentity());
}

TEST(GeometryTest, TransformRectBoundsTheTurnedCorners) {
  TRectF R = TransformRect({-1, -1, 1, 1}, TMatrix::CreateRotation(float(std::numbers::pi / 4)));
  float H = std::sqrt(2.f);
  EXPECT_NEAR(-H, R.Left, 1e-5);
  EXPECT_NEAR(H, R.Right, 1e-5);
  EXPECT_NEAR(-H, R.Top, 1e-5);
  EXPECT_NEAR(H, R.Bottom, 1e-5);
}

}  // namespace
