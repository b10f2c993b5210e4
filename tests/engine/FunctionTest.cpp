#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "zelgraph/engine/Engine.h"
#include "zelgraph/engine/Function.h"
#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"
#include "TestPanel.h"

namespace zel {
namespace {

// Sums its group and remembers how many values each group had.
class TSumFunction : public TZelFunction {
 public:
  using TZelFunction::TZelFunction;
  double CalculateValue(const TZelFunctionValues& Values) override {
    Sizes.push_back(static_cast<int>(Values.size()));
    return std::accumulate(Values.begin(), Values.end(), 0.0);
  }
  std::vector<int> Sizes;
};

struct FunctionFixture : testing::Test {
  void SetUp() override {
    Source = Create<TChartSeries>(nullptr);
    Output = Create<TChartSeries>(nullptr);
    Fn = Create<TSumFunction>(nullptr);
    Output->SetFunction(Fn);  // the output series owns it from now on
  }
  void TearDown() override {
    Output->Free();
    Source->Free();
  }
  void Points(const std::vector<double>& X, const std::vector<double>& Y) {
    for (std::size_t I = 0; I < X.size(); ++I) Source->AddXY(X[I], Y[I]);
  }
  std::vector<std::pair<double, double>> Result() const {
    std::vector<std::pair<double, double>> R;
    for (std::int32_t I = 0; I < Output->Count(); ++I) R.push_back({Output->GetxValue(I), Output->GetyValue(I)});
    return R;
  }
  TChartSeries* Source = nullptr;
  TChartSeries* Output = nullptr;
  TSumFunction* Fn = nullptr;
};

TEST_F(FunctionFixture, PeriodsGroupThePoints) {
  using R = std::vector<std::pair<double, double>>;
  struct Case {
    const char* Name;
    TFunctionPeriodStyle Style;
    double Period;
    TFunctionPeriodAlign Align;
    std::vector<double> X, Y;
    bool Single;
    R Expected;
  };
  const std::vector<double> Ten = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<Case> Cases = {
      {"all points, one point in the middle", TFunctionPeriodStyle::psNumPoints, 0, TFunctionPeriodAlign::paCenter,
       {2, 4, 10}, {1, 2, 3}, true, {{6, 6}}},
      {"all points, two points at the ends", TFunctionPeriodStyle::psNumPoints, 0, TFunctionPeriodAlign::paCenter,
       {2, 4, 10}, {1, 2, 3}, false, {{2, 6}, {10, 6}}},
      {"groups of three, the tenth point dropped", TFunctionPeriodStyle::psNumPoints, 3, TFunctionPeriodAlign::paCenter,
       Ten, Ten, true, {{1, 3}, {4, 12}, {7, 21}}},
      {"groups aligned to their first point", TFunctionPeriodStyle::psNumPoints, 3, TFunctionPeriodAlign::paFirst,
       Ten, Ten, true, {{0, 3}, {3, 12}, {6, 21}}},
      {"groups aligned to their last point", TFunctionPeriodStyle::psNumPoints, 3, TFunctionPeriodAlign::paLast,
       Ten, Ten, true, {{2, 3}, {5, 12}, {8, 21}}},
      {"a period below half a point makes groups of one", TFunctionPeriodStyle::psNumPoints, 0.3,
       TFunctionPeriodAlign::paCenter, {2, 4, 10}, {1, 2, 3}, true, {{2, 1}, {4, 2}, {10, 3}}},
      {"half a point rounds to even (none): still groups of one", TFunctionPeriodStyle::psNumPoints, 0.5,
       TFunctionPeriodAlign::paCenter, {2, 4}, {1, 2}, true, {{2, 1}, {4, 2}}},
      {"ranges with an empty one between", TFunctionPeriodStyle::psRange, 10, TFunctionPeriodAlign::paFirst,
       {0, 5, 25}, {1, 2, 4}, true, {{0, 3}, {10, 0}, {20, 4}}},
  };
  for (const Case& C : Cases) {
    Source->Clear();
    Output->Clear();
    Output->AllowSinglePoint = C.Single;
    Fn->InternalSetPeriod(C.Period);
    Fn->SetPeriodStyle(C.Style);
    Fn->SetPeriodAlign(C.Align);
    Points(C.X, C.Y);
    Fn->AddPoints(Source);
    EXPECT_EQ(Result(), C.Expected) << C.Name;
  }
}

TEST_F(FunctionFixture, RangeCentreAndATinyPeriodEnd) {
  Points({0, 5, 25}, {1, 2, 4});
  Fn->InternalSetPeriod(10);
  Fn->SetPeriodStyle(TFunctionPeriodStyle::psRange);
  Fn->AddPoints(Source);
  ASSERT_EQ(Output->Count(), 3);
  EXPECT_DOUBLE_EQ(Output->GetxValue(0), (0 + 10 - 0.01) / 2);

  // A period that cannot move the range end past the first position ends the walk.
  Output->Clear();
  Source->Clear();
  Points({1e20, 2e20}, {1, 2});
  Fn->InternalSetPeriod(1e-3);
  Fn->AddPoints(Source);
  EXPECT_EQ(Output->Count(), 0);
}

TEST_F(FunctionFixture, CentresNearTheLargestDoubleStayFinite) {
  // a group's centre and the one point in the middle are halved before they are added
  struct Case {
    double Period;
    std::vector<double> X;
    double Centre;
  };
  const Case Cases[] = {{2, {1e308, 1.5e308}, 1.25e308}, {0, {-1.5e308, 1.5e308}, 0}, {0, {1.5e308, 1.7e308}, 1.6e308}};
  for (const Case& C : Cases) {
    Source->Clear();
    Output->Clear();
    Output->AllowSinglePoint = true;
    Fn->InternalSetPeriod(C.Period);
    Fn->SetPeriodStyle(TFunctionPeriodStyle::psNumPoints);
    Fn->SetPeriodAlign(TFunctionPeriodAlign::paCenter);
    Points(C.X, {1, 2});
    Fn->AddPoints(Source);
    ASSERT_EQ(Output->Count(), 1) << C.X[0];
    EXPECT_DOUBLE_EQ(Output->GetxValue(0), C.Centre) << C.X[0];
  }
}

TEST_F(FunctionFixture, MonthlyRangesOnADateTimeAxisAreCalendarMonthsPaintedOrNot) {
  // one point a day from 1 January 2024 (a leap year) to 31 March
  TTestPanel* Chart = Create<TTestPanel>(nullptr);
  Chart->AddSeries(Output);
  Output->GetXValues()->SetDateTime(true);
  const TDateTime First = EncodeDate(2024, 1, 1);
  for (int D = 0; D < 91; ++D) Source->AddXY(First + D, 1);
  Fn->InternalSetPeriod(DateTimeStep[dsMonth]);
  Fn->SetPeriodStyle(TFunctionPeriodStyle::psRange);
  Fn->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
  const std::vector<int> Months = {31, 29, 31};
  for (bool Painted : {false, true}) {
    if (Painted) {
      TRecordingCanvas Canvas(400, 300);
      Chart->SetBounds(0, 0, 400, 300);
      Chart->Draw(&Canvas, TRectF(0, 0, 400, 300));
    }
    Output->Clear();
    Fn->Sizes.clear();
    Fn->AddPoints(Source);
    EXPECT_EQ(Fn->Sizes, Months) << (Painted ? "painted" : "not painted yet");
    ASSERT_EQ(Output->Count(), 3);
    EXPECT_EQ(Output->GetxValue(1), EncodeDate(2024, 2, 1));
    EXPECT_EQ(Output->GetxValue(2), EncodeDate(2024, 3, 1));
  }
  Chart->RemoveSeries(Output);
  Chart->Free();
}

TEST_F(FunctionFixture, NullsAreLeftOutUnlessIncluded) {
  Source->AddXY(0, 1);
  Source->AddNullXY(1, 5);
  Source->AddXY(2, 2);
  Fn->AddPoints(Source);
  EXPECT_EQ(Fn->Sizes.back(), 3);
  EXPECT_EQ(Output->GetyValue(0), 8);
  Output->Clear();
  Fn->SetIncludeNulls(false);
  Fn->AddPoints(Source);
  EXPECT_EQ(Fn->Sizes.back(), 2);
  EXPECT_EQ(Output->GetyValue(0), 3);
}

TEST_F(FunctionFixture, PeriodSetter) {
  Fn->SetPeriod(2);
  for (double Bad : {-1.0, std::nan("")}) {
    try {
      Fn->SetPeriod(Bad);
      FAIL() << "expected ChartException";
    } catch (const ChartException& E) {
      EXPECT_STREQ(E.what(), "Function Period should be >= 0");
    }
  }
  EXPECT_EQ(Fn->GetPeriod(), 2);
}

TEST_F(FunctionFixture, SeveralSourcesByIndexAndByValue) {
  TChartSeries* Second = Create<TChartSeries>(nullptr);
  Points({0, 1, 2}, {1, 2, 3});
  Second->AddXY(1, 10, "one");
  Second->AddXY(3, 30);
  Output->GetDataSources()->Add(Source);
  Output->GetDataSources()->Add(Second);
  Output->Clear();
  Fn->AddPoints(Source);
  // By index: the longer source gives the positions; index 2 only has the first source.
  EXPECT_EQ(Result(), (std::vector<std::pair<double, double>>{{0, 11}, {1, 32}, {2, 3}}));

  Output->Clear();
  Fn->InternalSetPeriod(0);
  Fn->BeginUpdate();
  Fn->SetCalcByValue(true);
  Fn->IsUpdating();
  Fn->EndUpdate();  // recalculates
  // By value: the positions of all sources, each once; points missing in a source are nulls.
  EXPECT_EQ(Result(), (std::vector<std::pair<double, double>>{{0, 1}, {1, 12}, {2, 3}, {3, 30}}));
  EXPECT_EQ(Output->GetXLabel(1), "one");
  EXPECT_TRUE(Output->IsNull(0));
  EXPECT_FALSE(Output->IsNull(1));
  Second->Free();
}

TEST_F(FunctionFixture, FunctionFollowsItsOutputSeries) {
  EXPECT_EQ(Fn->GetParentSeries(), Output);
  EXPECT_EQ(Output->GetZelFunction(), Fn);
  EXPECT_EQ(Fn->GetParentComponent(), Output);
  std::vector<TComponent*> Children;
  Output->GetChildren([&](TComponent* C) { Children.push_back(C); }, nullptr);
  EXPECT_EQ(Children, (std::vector<TComponent*>{Fn}));
  Source->AddXY(0, 1);
  Source->AddXY(1, 2);
  Output->SetDataSource(Source);  // refills through the function
  EXPECT_EQ(Result(), (std::vector<std::pair<double, double>>{{0.5, 3}}));
  Source->AddXY(2, 3);  // a dependent with a function recalculates on refresh only
  Source->BeginUpdate();
  Source->EndUpdate();
  EXPECT_EQ(Result(), (std::vector<std::pair<double, double>>{{1, 6}}));
  Output->SetFunction(nullptr);  // frees the function
  EXPECT_EQ(Output->GetZelFunction(), nullptr);
}

}  // namespace
}  // namespace zel
