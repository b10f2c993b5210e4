// Values that are not finite (NaN, infinities) are null points: left out of statistics, of the
// axes' extent, of functions and of smoothing, and never drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/LineSeries.h"
#include "zelgraph/series/Spline.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/NearestPoint.h"

namespace zel {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(NonFiniteValues, StatisticsLeaveThemOut) {
  struct Case {
    std::vector<double> Values;
    double Min, Max, Total, TotalABS;
    bool Finite;
  };
  const Case Cases[] = {
      {{4, -2, 7}, -2, 7, 9, 13, true},
      {{NaN, 4, -2, Inf, 7}, -2, 7, 9, 13, true},
      {{4, -Inf, -2, 7, NaN}, -2, 7, 9, 13, true},
      {{NaN, NaN}, 0, 0, 0, 0, false},
      {{Inf}, 0, 0, 0, 0, false},
      {{}, 0, 0, 0, 0, false},
  };
  for (const Case& C : Cases) {
    TOwned<TChartValueList> L(Create<TChartValueList>(nullptr, "Y"));
    for (double V : C.Values) L->AddChartValue(V);
    EXPECT_EQ(L->GetMinValue(), C.Min);
    EXPECT_EQ(L->GetMaxValue(), C.Max);
    EXPECT_EQ(L->GetTotal(), C.Total);
    EXPECT_EQ(L->GetTotalABS(), C.TotalABS);
    EXPECT_EQ(L->HasFiniteValue(), C.Finite);
    // Statistics extended from an index take the same rule.
    L->RecalcStats(0);
    L->AddChartValue(NaN);
    L->AddChartValue(-5);
    L->RecalcStats(static_cast<std::int32_t>(C.Values.size()));
    EXPECT_EQ(L->GetMinValue(), C.Finite ? std::min(C.Min, -5.0) : -5.0);
    EXPECT_EQ(L->GetMaxValue(), C.Finite ? C.Max : -5.0);
  }
}

TEST(NonFiniteValues, APointThatIsNotFiniteIsANullPoint) {
  TOwned<TFastLineSeries> S(Create<TFastLineSeries>(nullptr));
  S->AddXY(0, 1);
  S->AddXY(1, NaN);
  S->AddXY(2, Inf);
  S->AddXY(NaN, 3);
  EXPECT_FALSE(S->IsNull(0));
  for (int I = 1; I <= 3; ++I) {
    EXPECT_TRUE(S->IsNull(I)) << I;
    EXPECT_EQ(S->GetValueColor(I), 0u) << I;
  }
  // The values stay as they were given.
  EXPECT_TRUE(std::isnan(S->GetYValues()->Value[1]));
  EXPECT_EQ(S->GetYValues()->Value[2], Inf);
}

TEST(NonFiniteValues, MarkTextsRelateAndShareOnlyFiniteValues) {
  TOwned<TFastLineSeries> S(Create<TFastLineSeries>(nullptr));
  for (double Y : {NaN, 2.0, 6.0, Inf}) S->AddXY(S->Count(), Y);
  const String& F = S->GetPercentFormat();
  // Relative to a first value that is not finite: 0, as to a first value of 0 (before, NaN).
  EXPECT_EQ(S->GetMarkTextStyle(false, 2, TSeriesMarksStyle::smsPercentRelative), FormatFloat(F, 0));
  // Shares of the finite total.
  EXPECT_EQ(S->GetMarkTextStyle(false, 1, TSeriesMarksStyle::smsPercent), FormatFloat(F, 25));
}

// Sums its group and remembers the values it was given.
class TSumFunction : public TZelFunction {
 public:
  using TZelFunction::TZelFunction;
  double CalculateValue(const TZelFunctionValues& Values) override {
    Groups.push_back(Values);
    return std::accumulate(Values.begin(), Values.end(), 0.0);
  }
  std::vector<TZelFunctionValues> Groups;
};

struct FunctionOverNonFinite : ::testing::Test {
  void SetUp() override {
    Output->SetFunction(Fn);
  }
  void TearDown() override {
    Output->Free();
    Source->Free();
  }
  std::vector<std::pair<double, double>> Calculate(const std::vector<double>& X, const std::vector<double>& Y) {
    for (std::size_t I = 0; I < X.size(); ++I) Source->AddXY(X[I], Y[I]);
    Output->Clear();
    Fn->AddPoints(Source);
    std::vector<std::pair<double, double>> R;
    for (std::int32_t I = 0; I < Output->Count(); ++I) R.push_back({Output->GetxValue(I), Output->GetyValue(I)});
    return R;
  }
  TChartSeries* Source = Create<TChartSeries>(nullptr);
  TChartSeries* Output = Create<TChartSeries>(nullptr);
  TSumFunction* Fn = Create<TSumFunction>(nullptr);
};

TEST_F(FunctionOverNonFinite, ARangeWalkPassesPositionsThatAreNotNumbers) {
  // Before, the walk added an empty group after the NaN for ever.
  Fn->SetPeriodStyle(TFunctionPeriodStyle::psRange);
  Fn->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
  Fn->SetPeriod(1);
  using R = std::vector<std::pair<double, double>>;
  // Groups [0, 1), [1, 2), the empty [2, 3) (a zero point), [3, 4), [4, 5).
  EXPECT_EQ(Calculate({0, 1, NaN, 3, 4}, {1, 2, 3, 4, 5}), (R{{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}}));
}

TEST_F(FunctionOverNonFinite, ARangeWalkStartsAtTheFirstFinitePosition) {
  Fn->SetPeriodStyle(TFunctionPeriodStyle::psRange);
  Fn->SetPeriodAlign(TFunctionPeriodAlign::paFirst);
  Fn->SetPeriod(1);
  Source->GetXValues()->SetOrder(TChartListOrder::loNone);
  using R = std::vector<std::pair<double, double>>;
  EXPECT_EQ(Calculate({NaN, Inf, 1, 2, -Inf}, {1, 2, 3, 4, 5}), (R{{1, 3}, {2, 4}}));
}

TEST_F(FunctionOverNonFinite, ValuesThatAreNotFiniteTakeNoPart) {
  // IncludeNulls (the default) takes colour-null points, never values that are not finite.
  const auto Out = Calculate({0, 1, 2, 3, 4}, {1, NaN, 3, Inf, -Inf});
  ASSERT_EQ(Fn->Groups.size(), 1u);
  EXPECT_EQ(Fn->Groups[0], (TZelFunctionValues{1, 3}));
  // One point at the middle of the positions.
  EXPECT_EQ(Out, (std::vector<std::pair<double, double>>{{2, 4}}));
}

TEST(NonFiniteValues, SmoothingLeavesThemOutAndScalesHugeValues) {
  struct Case {
    const char* Name;
    std::vector<double> Y;
    int Finite;  // source points taken
  };
  const Case Cases[] = {
      {"a NaN", {0, 1, NaN, 3, 2, 5}, 5},
      {"infinities", {Inf, 1, 4, -Inf, 2, 5}, 4},
      {"1e308", {0, 1e308, 2, 1e308, 4, -1e308}, 6},
      {"the largest doubles", {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(), 1}, 3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TChartSeries> Source(Create<TChartSeries>(nullptr));
    TOwned<TChartSeries> Out(Create<TChartSeries>(nullptr));
    auto* Fn = Create<TSmoothingFunction>(nullptr);
    Out->SetFunction(Fn);
    for (std::size_t I = 0; I < C.Y.size(); ++I) Source->AddXY(static_cast<double>(I), C.Y[I]);
    Fn->AddPoints(Source.get());
    ASSERT_EQ(Out->Count(), C.Finite * Fn->GetFactor() + 1);
    int Finite = 0;
    for (std::int32_t I = 0; I < Out->Count(); ++I) Finite += Out->IsFinitePoint(I);
    // The curve through the largest doubles may overshoot beyond the range between them.
    EXPECT_GE(Finite, Out->Count() * 2 / 3);
    if (C.Y[0] != std::numeric_limits<double>::max()) {
      EXPECT_EQ(Finite, Out->Count());
    }
    // It passes through the points it was given.
    EXPECT_TRUE(Out->IsFinitePoint(0));
    EXPECT_TRUE(Out->IsFinitePoint(Out->Count() - 1));
  }
}

TEST(NonFiniteValues, SmoothingOfOrdinaryDataIsUnchanged) {
  TOwned<TChartSeries> Source(Create<TChartSeries>(nullptr));
  TOwned<TChartSeries> Out(Create<TChartSeries>(nullptr));
  auto* Fn = Create<TSmoothingFunction>(nullptr);
  Out->SetFunction(Fn);
  const std::vector<double> Y = {0, 3, 1, 4, 1, 5};
  for (std::size_t I = 0; I < Y.size(); ++I) Source->AddXY(static_cast<double>(I), Y[I]);
  Fn->AddPoints(Source.get());
  TBSpline Spline;
  Spline.SetCapacity(static_cast<std::int32_t>(Y.size()));
  for (std::size_t I = 0; I < Y.size(); ++I) Spline.AddPoint(static_cast<double>(I), Y[I]);
  Spline.SetInterpolated(true);
  Spline.SetFragments(static_cast<std::int32_t>(Y.size()) * Fn->GetFactor());
  ASSERT_EQ(Out->Count(), Spline.GetFragments() + 1);
  for (std::int32_t K = 0; K < Out->Count(); ++K) {
    const TVertex V = Spline.Value(static_cast<double>(K) / Spline.GetFragments());
    EXPECT_EQ(Out->GetxValue(K), V.X);
    EXPECT_EQ(Out->GetyValue(K), V.Y);
  }
}

// A chart with fixed axes drawn on a recording canvas.
struct PaintedChart : ::testing::Test {
  void SetUp() override {
    Chart->SetView3D(false);
    Chart->SetBounds(0, 0, 300, 200);
    Chart->GetBottomAxis()->SetMinMax(0, 10);
    Chart->GetLeftAxis()->SetMinMax(0, 10);
  }
  void TearDown() override { Chart->Free(); }
  std::vector<TCanvasRecord> Paint(TAlphaColor Color) {
    TRecordingCanvas Canvas(300, 200);
    Chart->SetBufferedDisplay(false);
    Chart->Draw(&Canvas, TRectF(0, 0, 300, 200));
    std::vector<TCanvasRecord> R;
    for (const TCanvasRecord& Rec : Canvas.GetRecords())
      if (Rec.Color == Color) R.push_back(Rec);
    return R;
  }
  TChart* Chart = Create<TChart>(nullptr);
};

TEST_F(PaintedChart, AnAreaOfValuesThatAreNotNumbersDrawsNothing) {
  // Before, it filled the whole chart in its colour.
  auto* S = Create<TAreaSeries>(Chart);
  S->SetParentChart(Chart);
  S->SetSeriesColor(0xFF123456);
  for (int I = 0; I < 6; ++I) S->AddXY(I, NaN);
  EXPECT_TRUE(Paint(0xFF123456).empty());
  for (TTreatNullsStyle T : {TTreatNullsStyle::tnDontPaint, TTreatNullsStyle::tnSkip, TTreatNullsStyle::tnIgnore}) {
    S->SetTreatNulls(T);
    EXPECT_TRUE(Paint(0xFF123456).empty()) << static_cast<int>(T);
  }
}

TEST_F(PaintedChart, AFastLineJoinsOrBreaksAtAPointThatIsNotANumber) {
  // A NaN in the middle: tnIgnore and tnSkip join its neighbours, tnDontPaint leaves a gap; in
  // every draw style, nothing goes to pixel 0.
  auto* S = Create<TFastLineSeries>(Chart);
  S->SetParentChart(Chart);
  S->SetSeriesColor(0xFF123456);
  const std::vector<double> Y = {1, 2, NaN, 4, 5};
  for (std::size_t I = 0; I < Y.size(); ++I) S->AddXY(static_cast<double>(I) * 2, Y[I]);
  Paint(0xFF123456);  // lays the axes out
  const float X2 = static_cast<float>(Chart->GetBottomAxis()->CalcXPosValue(2));
  const float X6 = static_cast<float>(Chart->GetBottomAxis()->CalcXPosValue(6));
  for (TFastLineDrawStyle D : {TFastLineDrawStyle::flSegments, TFastLineDrawStyle::flAll})
    for (TTreatNullsStyle T : {TTreatNullsStyle::tnIgnore, TTreatNullsStyle::tnSkip, TTreatNullsStyle::tnDontPaint})
      for (bool All : {true, false}) {
        SCOPED_TRACE(std::to_string(static_cast<int>(D)) + " " + std::to_string(static_cast<int>(T)) + " " +
                     std::to_string(All));
        S->SetDrawStyle(D);
        S->SetTreatNulls(T);
        S->SetDrawAllPoints(All);
        // The vertices drawn, and whether a stroke goes from the point before the NaN (X 2) to
        // the one after it (X 6).
        std::vector<TPointF> Vertices;
        bool JoinedOver = false;
        for (const TCanvasRecord& R : Paint(0xFF123456)) {
          for (std::size_t K = 0; K < R.Points.size(); ++K) {
            Vertices.push_back(R.Points[K]);
            if (K > 0 && (R.Kind == TRecordKind::DrawLine || R.Kind == TRecordKind::Polyline))
              JoinedOver |= R.Points[K - 1].X == X2 && R.Points[K].X == X6;
          }
        }
        ASSERT_FALSE(Vertices.empty());
        const TRectF Rect = Chart->GetChartRect();
        for (const TPointF& P : Vertices) {
          EXPECT_GE(P.X, Rect.Left - 1);
          EXPECT_GE(P.Y, Rect.Top - 1);
        }
        EXPECT_EQ(JoinedOver, T != TTreatNullsStyle::tnDontPaint);
      }
}

TEST_F(PaintedChart, AStackedSeriesStacksNothingOnAValueThatIsNotFinite) {
  // The series below holds a NaN at point 1: the point above stands on the others' sum without
  // it (before, its sum was NaN and it was drawn at pixel 0).
  for (TCustomSeriesStack Stack : {TCustomSeriesStack::cssStack, TCustomSeriesStack::cssStack100}) {
    SCOPED_TRACE(static_cast<int>(Stack));
    std::vector<TCustomSeries*> S;
    for (int K = 0; K < 2; ++K) {
      auto* L = Create<TCustomSeries>(Chart);
      L->SetParentChart(Chart);
      L->SetSeriesColor(0xFF123456 + K);
      L->SetStacked(Stack);
      S.push_back(L);
    }
    for (double Y : {1.0, NaN, 2.0}) S[0]->AddXY(S[0]->Count() * 4, Y);
    for (double Y : {2.0, 3.0, 1.0}) S[1]->AddXY(S[1]->Count() * 4, Y);
    Chart->GetLeftAxis()->SetAutomatic(true);
    const auto Drawn = Paint(0xFF123457);
    ASSERT_FALSE(Drawn.empty());
    const TRectF R = Chart->GetChartRect();
    for (const TCanvasRecord& Rec : Drawn)
      for (const TPointF& P : Rec.Points) {
        EXPECT_GE(P.Y, R.Top - 1);
        EXPECT_LE(P.Y, R.Bottom + 1);
      }
    EXPECT_EQ(S[1]->CalcYPos(1), Chart->GetLeftAxis()->CalcYPosValue(Stack == TCustomSeriesStack::cssStack ? 3 : 100));
    for (TCustomSeries* L : S) L->Free();
  }
}

TEST_F(PaintedChart, ACursorNeverSnapsToAPointThatIsNotFinite) {
  // Before, a NaN first point won every comparison (none holds with a NaN) and the cursor took it.
  auto* S = Create<TFastLineSeries>(Chart);
  S->SetParentChart(Chart);
  S->SetSeriesColor(0xFF123456);
  const std::vector<double> Y = {NaN, 2, Inf, 4, 5};
  for (std::size_t I = 0; I < Y.size(); ++I) S->AddXY(static_cast<double>(I), Y[I]);
  auto* C = Create<TCursorTool>(Chart);
  C->SetParentChart(Chart);
  C->SetSeries(S);
  C->SetSnap(true);
  Paint(0xFF123456);
  for (double At : {0.0, 2.1, 4.0}) {
    C->SetXValue(At);
    C->SetYValue(3);
    double Difference = 0;
    const std::int32_t I = C->NearestPoint(TCursorToolStyle::cssBoth, Difference);
    ASSERT_GE(I, 0);
    EXPECT_TRUE(S->IsFinitePoint(I)) << At;
    EXPECT_TRUE(std::isfinite(Difference)) << At;
  }
}

}  // namespace
}  // namespace zel
