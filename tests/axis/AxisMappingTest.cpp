// Value-to-pixel mapping and back, on axes set up by hand (no chart).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zelgraph/engine/Axis.h"

namespace zel {
namespace {

struct TAxisFixture {
  TOwned<TChartAxis> Axis{Create<TChartAxis>(static_cast<TCustomAxisPanel*>(nullptr), static_cast<TCollection*>(nullptr))};

  // Ends Min..Max over pixels Start..End.
  TChartAxis* Setup(bool Horizontal, double Min, double Max, int Start, int End, bool Inverted = false,
                    bool Logarithmic = false) {
    Axis->SetHorizontal(Horizontal);
    Axis->SetInverted(Inverted);
    if (Logarithmic) {
      Axis->SetMinMax(Min, Max);  // a logarithmic switch checks the ends of the data
      Axis->SetLogarithmic(true);
    }
    Axis->IMinimum = Min;
    Axis->IMaximum = Max;
    Axis->IStartPos = Start;
    Axis->IEndPos = End;
    Axis->RecalcSizeCenter();
    return Axis.get();
  }
};

struct TMapCase {
  bool Horizontal;
  bool Inverted;
  double Min, Max;
  int Start, End;
  double Value;
  int Expected;
};

TEST(AxisMapping, LinearAxesGrowRightAndUpUnlessInverted) {
  const TMapCase Cases[] = {
      {true, false, 0, 10, 100, 300, 2.5, 150},
      {true, false, 0, 10, 100, 300, 0, 100},
      {true, false, 0, 10, 100, 300, 10, 300},
      {true, true, 0, 10, 100, 300, 2.5, 250},
      {false, false, 0, 10, 50, 250, 0, 250},
      {false, false, 0, 10, 50, 250, 10, 50},
      {false, true, 0, 10, 50, 250, 10, 250},
      // halves go to even: 12.5 -> 12 and 13.5 -> 14, added to the start afterwards
      {true, false, 0, 1, 0, 100, 0.125, 12},
      {true, false, 0, 1, 1, 101, 0.125, 13},
      {true, false, 0, 1, 0, 100, 0.135, 14},
      // out of range values extrapolate
      {true, false, 0, 10, 100, 300, -5, 0},
  };
  for (const TMapCase& C : Cases) {
    TAxisFixture F;
    TChartAxis* A = F.Setup(C.Horizontal, C.Min, C.Max, C.Start, C.End, C.Inverted);
    EXPECT_EQ(A->CalcPosValue(C.Value), C.Expected) << C.Value << " h=" << C.Horizontal << " inv=" << C.Inverted;
  }
}

TEST(AxisMapping, ZeroRangeMapsEverythingToTheCentreOnEveryKind) {
  for (int Kind = 0; Kind < 3; ++Kind) {
    TAxisFixture F;
    TChartAxis* A = F.Setup(true, 5, 5, 100, 301, false, Kind == 1);
    if (Kind == 2) A->IDepthAxis = true, A->SetCalcPosValue();
    A->InternalCalcRange();
    for (double V : {-1e300, 0.0, 5.0, 7.0})
      EXPECT_EQ(A->CalcPosValue(V), 200) << "kind " << Kind << " value " << V;
    EXPECT_EQ(A->CalcXPosValue(5), A->CalcYPosValue(5));
  }
}

TEST(AxisMapping, FarValuesMapToThePixelLimit) {
  // Every kind of mapping, and sizes, keep to +/-ZelPixelLimit, so that sums of pixels stay
  // defined; a NaN maps to 0.
  TAxisFixture F;
  TChartAxis* A = F.Setup(true, 0, 1, 0, 1000);
  EXPECT_EQ(A->CalcXPosValue(1e300), ZelPixelLimit);
  EXPECT_EQ(A->CalcXPosValue(-1e300), -ZelPixelLimit);
  EXPECT_EQ(A->CalcYPosValue(1e300), -ZelPixelLimit);
  EXPECT_EQ(A->CalcXPosValue(std::numeric_limits<double>::infinity()), ZelPixelLimit);
  EXPECT_EQ(A->CalcXPosValue(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(A->CalcSizeValue(1e300), ZelPixelLimit);
  EXPECT_EQ(A->XPosValue(1e6), ZelPixelLimit);
  EXPECT_EQ(A->XPosValue(2e5), 200000000);  // within the limit: as ever
  // the start is added before the clamp
  A->IStartPos = 2000000000;
  A->IEndPos = 2000001000;
  A->RecalcSizeCenter();
  EXPECT_EQ(A->CalcXPosValue(1e12), ZelPixelLimit);

  // equal ends given to SetMinMax (5 +/- 1e-10), a zero-width zoom, a deep zoom: far points map
  // to the limit on every mapping kind, inverted or not, and the middle still to the middle
  struct TCase {
    double Min, Max;
    bool Horizontal, Inverted, Logarithmic, Depth;
  };
  const TCase Cases[] = {
      {5, 5, true, false, false, false},         {5, 5, false, false, false, false},
      {5, 5, true, true, false, false},          {5, 5, false, true, false, false},
      {5, 5 + 1e-9, true, false, false, false},  {5, 5 + 1e-9, false, true, false, false},
      {5, 5, true, false, true, false},          {5, 5, false, true, true, false},
      {5, 5, true, false, false, true},          {5, 5, true, true, false, true},
  };
  for (const TCase& C : Cases) {
    TAxisFixture G;
    TChartAxis* B = G.Axis.get();
    B->SetHorizontal(C.Horizontal);
    B->SetInverted(C.Inverted);
    B->SetMinMax(C.Min, C.Max);
    if (C.Logarithmic) B->SetLogarithmic(true);
    if (C.Depth) B->IDepthAxis = true, B->SetCalcPosValue();
    B->IMinimum = B->GetMinimum();
    B->IMaximum = B->GetMaximum();
    B->IStartPos = 100;
    B->IEndPos = 600;
    B->RecalcSizeCenter();
    for (double V : {-1e300, 0.001, 0.0, 4.0, 6.0, 1e6, 1e300}) {
      const std::int32_t P = B->CalcPosValue(V);
      EXPECT_LE(std::abs(P), ZelPixelLimit) << V;
      EXPECT_TRUE(std::abs(P) == ZelPixelLimit || (C.Logarithmic && V <= 0)) << V << " gives " << P;
      EXPECT_LE(std::abs(B->CalcSizeValue(V)), ZelPixelLimit) << V;
    }
    const double Mid = (B->IMinimum + B->IMaximum) * 0.5;
    EXPECT_NEAR(B->CalcPosValue(Mid), C.Depth ? 250 : 350, 1);
  }
}

TEST(AxisMapping, CheckedMappingClampsOnlyWhenAskedTo) {
  TAxisFixture F;
  TChartAxis* A = F.Setup(true, 0, 1, 0, 1000);
  EXPECT_EQ(A->XPosValueCheck(100), 100000);
  A->IUseZelMaxPixelPos = true;
  EXPECT_EQ(A->XPosValueCheck(100), ZelMaxPixelPos);
  EXPECT_EQ(A->XPosValueCheck(-100), -ZelMaxPixelPos);
  EXPECT_EQ(A->YPosValueCheck(100), -ZelMaxPixelPos);
  EXPECT_EQ(A->XPosValueCheck(0.5), 500);
}

TEST(AxisMapping, LogarithmicAxes) {
  struct TCase {
    bool Horizontal, Inverted;
    double Value;
    int Expected;
  };
  const TCase Cases[] = {
      {true, false, 10, 100}, {true, false, 1, 0},    {true, false, 100, 200}, {true, false, 0, 0},
      {true, false, -3, 0},   {true, true, 0, 200},   {true, true, 10, 100},   {true, true, 100, 0},
      {false, false, 10, 100}, {false, false, 100, 0}, {false, false, 0, 200}, {false, true, 0, 0},
  };
  for (const TCase& C : Cases) {
    TAxisFixture F;
    TChartAxis* A = F.Setup(C.Horizontal, 1, 100, 0, 200, C.Inverted, true);
    EXPECT_EQ(A->CalcPosValue(C.Value), C.Expected) << C.Value << " h=" << C.Horizontal << " inv=" << C.Inverted;
  }
}

TEST(AxisMapping, PixelToValueGivesTheEndsExactly) {
  struct TCase {
    bool Horizontal, Inverted, Logarithmic;
  };
  const TCase Cases[] = {{true, false, true},  {false, false, true},  {true, true, true},
                         {false, true, true},  {true, false, false}, {false, false, false},
                         {true, true, false},  {false, true, false}};
  for (const TCase& C : Cases) {
    TAxisFixture F;
    TChartAxis* A = F.Setup(C.Horizontal, 3, 70, 10, 210, C.Inverted, C.Logarithmic);
    const double AtStart = A->CalcPosPoint(10);
    const double AtEnd = A->CalcPosPoint(210);
    // the start pixel holds the low value when exactly one of horizontal and inverted is set
    const bool StartIsMin = C.Horizontal != C.Inverted;
    EXPECT_EQ(AtStart, StartIsMin ? 3 : 70) << C.Horizontal << C.Inverted << C.Logarithmic;
    EXPECT_EQ(AtEnd, StartIsMin ? 70 : 3) << C.Horizontal << C.Inverted << C.Logarithmic;
    // and a round trip in the middle lands on the same pixel
    EXPECT_EQ(A->CalcPosValue(A->CalcPosPoint(123)), 123) << C.Horizontal << C.Inverted << C.Logarithmic;
  }
}

TEST(AxisMapping, PixelToValueWithoutExtentIsSafe) {
  TAxisFixture F;
  TChartAxis* A = F.Setup(true, 3, 70, 10, 10);
  EXPECT_EQ(A->CalcPosPoint(50), 0);
  TAxisFixture L;
  A = L.Setup(true, 3, 70, 10, 10, false, true);
  EXPECT_EQ(A->CalcPosPoint(50), 3);
}

TEST(AxisMapping, DepthIsAnOffsetFromZero) {
  TAxisFixture F;
  TChartAxis* A = F.Setup(true, 0, 10, 100, 200);
  A->IDepthAxis = true;
  A->SetCalcPosValue();
  EXPECT_EQ(A->CalcPosValue(2.5), 25);
  A->SetInverted(true);
  EXPECT_EQ(A->CalcPosValue(2.5), 75);
}

TEST(AxisMapping, SizeOfAValueSpan) {
  TAxisFixture F;
  TChartAxis* A = F.Setup(true, 0, 10, 0, 300);
  EXPECT_EQ(A->CalcSizeValue(3, 3), 0);
  EXPECT_EQ(A->CalcSizeValue(5, 2), 90);
  EXPECT_EQ(A->CalcSizeValue(2, 5), 90);
  EXPECT_EQ(A->CalcSizeValue(1), 30);
  TAxisFixture L;
  A = L.Setup(false, 1, 100, 0, 200, false, true);
  // signed on logarithmic axes: a vertical axis grows upwards
  EXPECT_EQ(A->CalcSizeValue(1, 10), -100);
}

TEST(AxisMapping, EndsFurtherApartThanTheLargestDoubleMapInside) {
  // -1.01e308 .. 1e308: the range itself overflows; values still map across the axis, and
  // pixels map back to values on it.
  const double Lo = -1.01e308, Hi = 1e308;
  for (int Kind = 0; Kind < 4; ++Kind) {
    const bool Horizontal = Kind % 2 == 0, Inverted = Kind >= 2;
    TAxisFixture F;
    TChartAxis* A = F.Setup(Horizontal, Lo, Hi, 100, 301, Inverted);
    SCOPED_TRACE(Kind);
    const bool StartIsMin = Horizontal != Inverted;
    EXPECT_EQ(A->CalcPosValue(Lo), StartIsMin ? 100 : 301);
    EXPECT_EQ(A->CalcPosValue(Hi), StartIsMin ? 301 : 100);
    const double Mid = 0.5 * Lo + 0.5 * Hi;
    EXPECT_NEAR(A->CalcPosValue(Mid), 200, 1);
    EXPECT_NEAR(A->CalcPosValue(0), 201, 1);
    EXPECT_NEAR(A->CalcSizeValue(Lo, Hi), 201, 1);
    EXPECT_NEAR(A->CalcSizeValue(0, Hi), 100, 1);
    for (int P : {100, 150, 200, 250, 301}) {
      const double V = A->CalcPosPoint(P);
      EXPECT_TRUE(std::isfinite(V)) << P;
      EXPECT_NEAR(A->CalcPosValue(V), P, 1) << P;
    }
    EXPECT_EQ(A->CalcPosPoint(StartIsMin ? 100 : 301), Lo);
    // the increment divides the range, not an infinity
    const double Inc = A->CalcLabelsIncrement(5);
    EXPECT_TRUE(std::isfinite(Inc) && Inc > 0) << Inc;
    A->IDepthAxis = true;
    A->SetCalcPosValue();
    EXPECT_NEAR(A->CalcPosValue(Hi), Inverted ? 0 : 201, 1);
  }
  // an ordinary range maps as ever
  TAxisFixture F;
  TChartAxis* A = F.Setup(true, -1e307, 1e307, 0, 200);
  EXPECT_EQ(A->CalcPosValue(0), 100);
  EXPECT_EQ(A->CalcPosValue(5e306), 150);
}

}  // namespace
}  // namespace zel
