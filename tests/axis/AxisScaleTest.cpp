// Axis ends, setters with their checks, and the step between labels.
#include <gtest/gtest.h>

#include <cmath>

#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"

namespace zel {
namespace {

TOwned<TChartAxis> NewAxis() {
  return TOwned<TChartAxis>(Create<TChartAxis>(static_cast<TCustomAxisPanel*>(nullptr), static_cast<TCollection*>(nullptr)));
}

// Range Min..Max over Pixels pixels.
void SetRange(TChartAxis* A, double Min, double Max, int Pixels) {
  A->IMinimum = Min;
  A->IMaximum = Max;
  A->IStartPos = 0;
  A->IEndPos = Pixels;
  A->RecalcSizeCenter();
}

template <typename F>
String ErrorOf(F&& Call) {
  try {
    Call();
  } catch (const AxisException& E) {
    return E.what();
  }
  return "no error";
}

TEST(AxisScale, NextStepClimbsTheOneTwoFiveLadder) {
  const std::pair<double, double> Cases[] = {{1, 2},   {2, 5},     {5, 10},  {0.3, 0.5}, {70, 100},
                                             {1.5, 2}, {9.99, 10}, {0.01, 0.02}};
  for (auto [In, Out] : Cases) EXPECT_NEAR(ZelNextStep(In), Out, Out * 1e-12) << In;
  EXPECT_EQ(ZelNextStep(INFINITY), 1);
  // not a positive number: no endless recursion
  EXPECT_EQ(ZelNextStep(0), 1);
  EXPECT_EQ(ZelNextStep(-4), 1);
  EXPECT_EQ(ZelNextStep(NAN), 1);
  // one decade at a time: steps below 1 land on the ladder's own numbers, not beside them
  const std::pair<double, double> Exact[] = {{0.04, 0.05}, {0.07, 0.1}, {0.3, 0.5}, {0.15, 0.2}, {40, 50}, {700, 1000}};
  for (auto [In, Out] : Exact) EXPECT_EQ(ZelNextStep(In), Out) << In;
  // below the normal range the ladder still climbs
  for (double Tiny : {4.9e-324, 1e-310}) EXPECT_GT(ZelNextStep(Tiny), Tiny);
}

TEST(AxisScale, NumericIncrement) {
  struct TCase {
    double Increment;
    double Min, Max;
    int Labels;
    double Expected;
  };
  const TCase Cases[] = {
      {0, 0, 100, 15, 10},   // 100/16 = 6.25 climbs to 10 (10 labels)
      {3, 0, 100, 10, 12},   // a requested step doubles: 3, 6, 12
      {0, 0, 100, 0, 1e-12}, // no room at all
      {0, 5, 5, 10, 1},      // zero range
  };
  for (const TCase& C : Cases) {
    auto A = NewAxis();
    A->SetIncrement(C.Increment);
    SetRange(A.get(), C.Min, C.Max, 400);
    EXPECT_DOUBLE_EQ(A->CalcLabelsIncrement(C.Labels), C.Expected) << C.Increment << " " << C.Labels;
  }
}

TEST(AxisScale, LabelSizeAndSeparationGiveTheLabelCount) {
  auto A = NewAxis();
  SetRange(A.get(), 0, 100, 400);
  // 24 + 10% = 26 pixels, 400/26 -> 15 labels -> step 10
  EXPECT_DOUBLE_EQ(A->CalcXYIncrement(24), 10);
  A->SetLabelsSeparation(0);
  // without a gap 4-pixel labels leave room for 100 labels: step 1
  EXPECT_DOUBLE_EQ(A->CalcXYIncrement(4), 1);
  // no size: one label
  EXPECT_DOUBLE_EQ(A->CalcXYIncrement(0), 100);
}

TEST(AxisScale, LogarithmicIncrementGrowsByTheBase) {
  auto A = NewAxis();
  A->SetMinMax(1, 10000);
  A->SetLogarithmic(true);
  SetRange(A.get(), 1, 10000, 400);
  const double Step = A->CalcLabelsIncrement(3);
  EXPECT_GT(Step, 10000 / 4.0);
  EXPECT_DOUBLE_EQ(std::log10(Step), std::round(std::log10(Step)));
}

TEST(AxisScale, ALogarithmicBaseBelowOneStillEnds) {
  auto A = NewAxis();
  A->SetLogarithmicBase(0.5);
  A->SetMinMax(1, 1000);
  A->SetLogarithmic(true);
  SetRange(A.get(), 1, 1000, 400);
  EXPECT_GT(A->CalcLabelsIncrement(2), 0);
}

TEST(AxisScale, DateTimeIncrementWalksTheStepTable) {
  auto A = NewAxis();
  A->IAxisDateTime = true;
  SetRange(A.get(), 45000, 45010, 400);
  EXPECT_DOUBLE_EQ(A->CalcLabelsIncrement(5), 2);
  EXPECT_DOUBLE_EQ(A->CalcLabelsIncrement(10), 1);
  EXPECT_DOUBLE_EQ(A->CalcLabelsIncrement(0), DateTimeStep[dsMicrosecond]);
  // beyond a year the step doubles
  SetRange(A.get(), 0, 365 * 40, 400);
  EXPECT_DOUBLE_EQ(A->CalcLabelsIncrement(5), 365 * 8);
}

TEST(AxisScale, SetMinMaxOrdersTheEndsAndWidensEqualOnes) {
  auto A = NewAxis();
  A->SetMinMax(10, 2);
  EXPECT_EQ(A->GetMinimum(), 2);
  EXPECT_EQ(A->GetMaximum(), 10);
  EXPECT_FALSE(A->GetAutomatic());
  EXPECT_FALSE(A->GetAutomaticMinimum());
  EXPECT_FALSE(A->GetAutomaticMaximum());
  A->SetMinMax(5, 5);
  EXPECT_DOUBLE_EQ(A->GetMinimum(), 5 - MinAxisRange);
  EXPECT_DOUBLE_EQ(A->GetMaximum(), 5 + MinAxisRange);
}

TEST(AxisScale, SettersRejectBadValuesAndKeepTheOldOne) {
  auto A = NewAxis();
  A->SetMinMax(0, 5);
  EXPECT_EQ(ErrorOf([&] { A->SetMinimum(7); }), ZelMsg_AxisMinMax);
  EXPECT_EQ(A->GetMinimum(), 0);
  EXPECT_EQ(ErrorOf([&] { A->SetMaximum(-1); }), ZelMsg_AxisMaxMin);
  EXPECT_EQ(A->GetMaximum(), 5);
  EXPECT_EQ(ErrorOf([&] { A->SetIncrement(-1); }), ZelMsg_AxisIncrementNeg);
  EXPECT_EQ(A->GetIncrement(), 0);
  for (double Base : {1.0, 0.0, -2.0, double(NAN)}) {
    EXPECT_EQ(ErrorOf([&] { A->SetLogarithmicBase(Base); }), ZelMsg_AxisLogBase) << Base;
    EXPECT_EQ(A->GetLogarithmicBase(), 10);
  }
  EXPECT_EQ(ErrorOf([&] { A->SetLabelsSeparation(-1); }), ZelMsg_AxisLabelSep);
  EXPECT_EQ(A->GetLabelsSeparation(), 10);
  EXPECT_EQ(ErrorOf([&] { A->SetLabelsSeparation(0); }), "no error");
}

TEST(AxisScale, LogarithmicNeedsNonNegativeEnds) {
  auto A = NewAxis();
  A->SetMinMax(-5, 10);
  EXPECT_EQ(ErrorOf([&] { A->SetLogarithmic(true); }), ZelMsg_AxisLogNotPositive);
  EXPECT_FALSE(A->GetLogarithmic());
  A->SetMinMax(0, 10);
  EXPECT_EQ(ErrorOf([&] { A->SetLogarithmic(true); }), "no error");
  EXPECT_TRUE(A->GetLogarithmic());
}

TEST(AxisScale, AutomaticFlagsFollowEachOther) {
  auto A = NewAxis();
  A->SetAutomaticMinimum(false);
  EXPECT_FALSE(A->GetAutomatic());
  EXPECT_TRUE(A->GetAutomaticMaximum());
  A->SetAutomaticMinimum(true);
  EXPECT_TRUE(A->GetAutomatic());
  A->SetAutomatic(false);
  EXPECT_FALSE(A->GetAutomaticMinimum());
  EXPECT_FALSE(A->GetAutomaticMaximum());
}

TEST(AxisScale, RoundingTheAutomaticEndsOutwards) {
  struct TCase {
    bool RoundMax, RoundMin;
    double Min, Max;
    double ExpMin, ExpMax;
  };
  const TCase Cases[] = {
      {true, false, -13, 87, -13, 90},
      {false, true, -13, 87, -20, 87},
      {true, true, -13, 87, -20, 90},
      {false, false, -13, 87, -13, 87},
  };
  for (const TCase& C : Cases) {
    auto A = NewAxis();
    A->SetIncrement(10);
    A->SetLabelsGridIgnoresLabelSize(true);  // every label counts 1 pixel: plenty of room
    A->SetMaximumRound(C.RoundMax);
    A->SetMinimumRound(C.RoundMin);
    SetRange(A.get(), C.Min, C.Max, 400);
    A->CalcRoundScales();
    EXPECT_DOUBLE_EQ(A->IMinimum, C.ExpMin);
    EXPECT_DOUBLE_EQ(A->IMaximum, C.ExpMax);
    EXPECT_DOUBLE_EQ(A->IRange, C.ExpMax - C.ExpMin);
  }
}

TEST(AxisScale, ManualEndsAreNotRounded) {
  auto A = NewAxis();
  A->SetIncrement(10);
  A->SetLabelsGridIgnoresLabelSize(true);
  A->SetMaximumRound(true);
  A->SetMinMax(0, 87);
  SetRange(A.get(), 0, 87, 400);
  A->CalcRoundScales();
  EXPECT_EQ(A->IMaximum, 87);
}

TEST(AxisScale, CopyingAnAxis) {
  auto A = NewAxis();
  auto B = NewAxis();
  A->SetMinMax(2, 9);
  A->SetIncrement(0.5);
  A->SetLogarithmicBase(2);
  A->SetInverted(true);
  A->SetLabelsAngle(-90);
  A->GetGrid()->SetDrawEvery(3);
  A->GetTitle()->SetCaption("Volts");
  B->Assign(A.get());
  EXPECT_EQ(B->GetMinimum(), 2);
  EXPECT_EQ(B->GetMaximum(), 9);
  EXPECT_FALSE(B->GetAutomatic());
  EXPECT_EQ(B->GetIncrement(), 0.5);
  EXPECT_EQ(B->GetLogarithmicBase(), 2);
  EXPECT_TRUE(B->GetInverted());
  EXPECT_EQ(B->GetLabelsAngle(), 270);
  EXPECT_EQ(B->GetGrid()->GetDrawEvery(), 3);
  ASSERT_NE(B->ExistingTitle(), nullptr);
  EXPECT_EQ(B->ExistingTitle()->GetCaption(), "Volts");
  // a source without a title takes the copy's away
  auto C = NewAxis();
  B->Assign(C.get());
  EXPECT_EQ(B->ExistingTitle(), nullptr);
}

}  // namespace
}  // namespace zel
