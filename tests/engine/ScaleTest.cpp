// The library at scale: work that grows with the points no faster than N log N, shown by counting
// (overlap tests, erases, list scans, text measures) for N and 10 N points instead of timing, and
// results equal to the plain way on small cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PointLists.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {
namespace {

// --- marks ---

struct TPlacedMark {
  bool Drawn;
  bool Moved;
  TPointF LeftTop;
  bool operator==(const TPlacedMark&) const = default;
};

// Places N random, crowded marks the way a paint does (skipping some points, with marks left
// from an earlier paint, custom items with their own frames and a few very wide marks), with or
// without the placing pass that indexes the marks already placed.
std::vector<TPlacedMark> PlaceMarks(bool Indexed, bool YMandatory, std::int32_t First, unsigned Seed) {
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  Series->YMandatory = YMandatory;
  TSeriesMarks* Marks = Series->GetMarks();
  Marks->GetShadow()->SetSize(2);
  std::mt19937 Random(Seed);
  auto Uniform = [&](float Low, float High) { return std::uniform_real_distribution<float>(Low, High)(Random); };
  constexpr std::int32_t N = 400;
  for (std::int32_t I = 0; I < N; I += 37) Marks->GetItem(I)->GetPen()->SetWidth(float(I % 5));
  for (std::int32_t I = 5; I < N; I += 11) {  // left from an earlier paint
    TSeriesMarkPosition Old;
    Old.LeftTop = Old.ArrowTo = TPointF(Uniform(0, 300), Uniform(0, 200));
    Old.Width = 30;
    Old.Height = 12;
    TSeriesMarkPosition* P = &Old;
    Marks->UsePosition(I, P);
  }
  std::vector<TPlacedMark> Result;
  std::optional<TMarksPlacingScope> Placing;
  if (Indexed) Placing.emplace(Marks);
  for (std::int32_t I = First; I < N; ++I) {
    if (I % 13 == 4) continue;  // a point without a mark this time
    TSeriesMarkPosition P;
    P.LeftTop = P.ArrowTo = TPointF(std::round(Uniform(0, 300)), std::round(Uniform(0, 200)));
    P.Width = I % 50 == 7 ? 4000 : static_cast<std::int32_t>(Uniform(10, 60));
    P.Height = static_cast<std::int32_t>(Uniform(8, 20));
    const TPointF Start = P.LeftTop;
    const bool Drawn = Marks->AntiOverlap(First, I, &P);
    if (Drawn) {
      TSeriesMarkPosition* Used = &P;
      Marks->UsePosition(I, Used);
    }
    Result.push_back({Drawn, P.LeftTop != Start, P.LeftTop});
  }
  return Result;
}

TEST(MarksAtScale, OverlapTestOfNearbyMarksGivesTheOutcomeOfTheFullScan) {
  for (bool YMandatory : {true, false})
    for (std::int32_t First : {0, 17})
      for (unsigned Seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(testing::Message() << "YMandatory " << YMandatory << " First " << First << " Seed " << Seed);
        const std::vector<TPlacedMark> Plain = PlaceMarks(false, YMandatory, First, Seed);
        const std::vector<TPlacedMark> Indexed = PlaceMarks(true, YMandatory, First, Seed);
        EXPECT_EQ(Plain, Indexed);
        EXPECT_GT(std::count_if(Plain.begin(), Plain.end(), [](const TPlacedMark& M) { return M.Moved; }), 100);
      }
}

// N marks of about one size crowded into 400 x 300 pixels, as on a chart with far more
// points than pixel columns, placed as a paint does; TestsPerSearch gets the rectangle tests
// made per search of the marks already placed.
std::vector<TPlacedMark> PlaceCrowded(std::int32_t N, bool Indexed, bool YMandatory, double* TestsPerSearch = nullptr) {
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  Series->YMandatory = YMandatory;
  TSeriesMarks* Marks = Series->GetMarks();
  std::mt19937 Random(7);
  auto Uniform = [&](float Low, float High) { return std::uniform_real_distribution<float>(Low, High)(Random); };
  std::vector<TPlacedMark> Result;
  std::optional<TMarksPlacingScope> Placing;
  if (Indexed) Placing.emplace(Marks);
  for (std::int32_t I = 0; I < N; ++I) {
    TSeriesMarkPosition P;
    P.LeftTop = P.ArrowTo = TPointF(std::round(float(I) * 400 / float(N)), std::round(Uniform(0, 300)));
    P.Width = static_cast<std::int32_t>(Uniform(24, 34));
    P.Height = 14;
    const TPointF Start = P.LeftTop;
    const bool Drawn = Marks->AntiOverlap(0, I, &P);
    if (Drawn) {
      TSeriesMarkPosition* Used = &P;
      Marks->UsePosition(I, Used);
    }
    Result.push_back({Drawn, P.LeftTop != Start, P.LeftTop});
  }
  if (TestsPerSearch) *TestsPerSearch = double(Marks->IOverlapTests) / double(std::max<std::int64_t>(Marks->IOverlapSearches, 1));
  return Result;
}

TEST(MarksAtScale, CrowdedMarksArePlacedAsByTheFullScan) {
  for (bool YMandatory : {true, false}) {
    SCOPED_TRACE(testing::Message() << "YMandatory " << YMandatory);
    const std::vector<TPlacedMark> Plain = PlaceCrowded(1500, false, YMandatory);
    EXPECT_EQ(Plain, PlaceCrowded(1500, true, YMandatory));
    EXPECT_GT(std::count_if(Plain.begin(), Plain.end(), [](const TPlacedMark& M) { return M.Moved; }), 1000);
  }
}

// The more marks are crowded, the more often each is moved (that is the outcome); what one
// search for a mark in the way costs must not grow with them.
TEST(MarksAtScale, CrowdedMarksAreSearchedWithoutAWalkOverTheCell) {
  for (bool YMandatory : {true, false}) {
    double Small = 0, Large = 0;
    PlaceCrowded(2000, true, YMandatory, &Small);
    PlaceCrowded(20000, true, YMandatory, &Large);
    EXPECT_GT(Small, 0);
    // A walk over the marks of each crowded cell makes this about 10 times more.
    EXPECT_LE(Large, 2 * Small) << "YMandatory " << YMandatory << ": " << Small << " " << Large;
  }
}

// A chart of Width x 300 pixels painted on a recording canvas.
struct TScaleChart {
  explicit TScaleChart(int AWidth = 400) : Width(AWidth) {
    Chart = Create<TChart>(nullptr);
    Chart->SetView3D(false);
    Series = Create<TChartSeries>(nullptr);
    Chart->AddSeries(Series);
  }
  ~TScaleChart() { FreeAndNil(Chart); }
  TScaleChart(const TScaleChart&) = delete;
  TScaleChart& operator=(const TScaleChart&) = delete;
  // The lines of text measured during the paint. The canvas stays the chart's until the next.
  std::int64_t Paint() {
    Canvas.emplace(Width, 300);
    Chart->SetBounds(0, 0, float(Width), 300);
    Chart->Draw(&*Canvas, TRectF(0, 0, float(Width), 300));
    Texts = Canvas->Texts();
    return Canvas->GetMeasureCount();
  }
  int Width;
  std::optional<TRecordingCanvas> Canvas;
  TChart* Chart;
  TChartSeries* Series;
  std::vector<String> Texts;
};

// A chart drawing straight on the recording canvas, whose measures it then counts (a buffered
// chart draws and measures on a bitmap of its own).
struct TUnbufferedChart : TScaleChart {
  TUnbufferedChart() { Chart->SetBufferedDisplay(false); }
};

// Marks as crowded for N and 10 N points: the chart grows with the points.
std::int64_t OverlapTestsOfAPaint(std::int32_t N) {
  TScaleChart C(N);
  for (std::int32_t I = 0; I < N; ++I) C.Series->AddXY(I, I % 100);
  C.Series->GetMarks()->SetVisible(true);
  C.Paint();
  return C.Series->GetMarks()->IOverlapTests;
}

TEST(MarksAtScale, OverlapTestsGrowLinearlyWithTheMarks) {
  const std::int64_t Small = OverlapTestsOfAPaint(400), Large = OverlapTestsOfAPaint(4000);
  EXPECT_GT(Small, 0);
  // A walk over every earlier mark makes this about 100 times more.
  EXPECT_LE(Large, 20 * Small) << Small << " " << Large;
}

TEST(MarksAtScale, EachMarkTextIsMeasuredOncePerPaint) {
  auto Measures = [](bool Marks, std::int32_t N) {
    TUnbufferedChart C;
    // A text of its own for each mark (its value, which no axis label shows): a width kept for
    // one text serves no other.
    for (std::int32_t I = 0; I < N; ++I) C.Series->AddXY(I, I + 0.125);
    C.Series->GetMarks()->SetVisible(Marks);
    C.Series->GetMarks()->SetAutoPosition(false);
    C.Paint();
    return C.Paint();
  };
  // Per mark: its one line measured (with the height of a line) for its box, the width kept for
  // its alignment and the text drawn.
  constexpr std::int64_t Marks = 20;
  const std::int64_t With = Measures(true, Marks), Without = Measures(false, Marks);
  EXPECT_GT(With, Without);  // the marks' measures are counted at all
  EXPECT_LE(With - Without, Marks) << With << " " << Without;
}

// --- deleting a range ---

TEST(RangesAtScale, DeletingARangeTakesOneEraseAListAndKeepsTheRest) {
  for (std::int32_t N : {1000, 10000}) {
    SCOPED_TRACE(N);
    TOwned<TChartSeries> S(Create<TChartSeries>(nullptr));
    for (std::int32_t I = 0; I < N; ++I) S->AddXY(I, 2 * I, "p" + std::to_string(I), TAlphaColor(0xFF000000u + I));
    TSeriesMarks* Marks = S->GetMarks();
    std::vector<TSeriesMarkPosition*> Positions;
    std::vector<TMarksItem*> Items;
    for (std::int32_t I = 0; I < N; ++I) {
      Positions.push_back(Marks->GetPositions()->Ensure(I));
      Items.push_back(I % 3 == 0 ? Marks->GetItem(I) : nullptr);
    }
    const std::int32_t Start = N / 4, Quantity = N / 2;
    const std::int64_t Before = ZelPointListErases;
    S->Delete(Start, Quantity);
    // Colours, labels, positions and items: one erase each.
    EXPECT_EQ(ZelPointListErases - Before, 4);
    ASSERT_EQ(S->Count(), N - Quantity);
    ASSERT_EQ(Marks->GetPositions()->Count(), N - Quantity);
    ASSERT_EQ(Marks->GetItems()->Count(), N - Quantity);
    for (std::int32_t I = 0; I < S->Count(); ++I) {
      const std::int32_t Was = I < Start ? I : I + Quantity;
      ASSERT_EQ(S->GetxValue(I), Was);
      ASSERT_EQ(S->GetyValue(I), 2 * Was);
      ASSERT_EQ(S->GetXLabel(I), "p" + std::to_string(Was));
      ASSERT_EQ(S->GetValueColor(I), TAlphaColor(0xFF000000u + Was));
      ASSERT_EQ(Marks->GetPositions()->Get(I), Positions[static_cast<std::size_t>(Was)]);
      ASSERT_EQ(Marks->GetItems()->InternalGet(I), Items[static_cast<std::size_t>(Was)]);
    }
  }
}

// --- functions by value ---

// Sums each group and remembers the group sizes.
class TSumFunction : public TZelFunction {
 public:
  using TZelFunction::TZelFunction;
  double CalculateValue(const TZelFunctionValues& Values) override {
    Sizes.push_back(static_cast<int>(Values.size()));
    double Sum = 0;
    for (double V : Values) Sum += V;
    return Sum;
  }
  std::vector<int> Sizes;
};

struct TByValue {
  TByValue() {
    A = Create<TChartSeries>(nullptr);
    B = Create<TChartSeries>(nullptr);
    Output = Create<TChartSeries>(nullptr);
    Fn = Create<TSumFunction>(nullptr);
    Output->SetFunction(Fn);
    Fn->SetCalcByValue(true);
  }
  ~TByValue() {
    Output->Free();
    A->Free();
    B->Free();
  }
  TByValue(const TByValue&) = delete;
  TByValue& operator=(const TByValue&) = delete;
  void Calculate() {
    Output->GetDataSources()->Add(A);
    Output->GetDataSources()->Add(B);
    Output->Clear();
    Fn->Sizes.clear();
    Fn->AddPoints(A);
  }
  // The output's points: X, Y and 1 for a null.
  std::vector<std::vector<double>> Points() const {
    std::vector<std::vector<double>> Got;
    for (std::int32_t I = 0; I < Output->Count(); ++I)
      Got.push_back({Output->GetxValue(I), Output->GetyValue(I), Output->IsNull(I) ? 1.0 : 0.0});
    return Got;
  }
  TChartSeries *A, *B, *Output;
  TSumFunction* Fn;
};

TEST(FunctionsAtScale, ByValueFindsTheFirstEqualValueInUnorderedListsWithDuplicates) {
  for (bool IncludeNulls : {true, false}) {
    SCOPED_TRACE(IncludeNulls);
    TByValue F;
    F.A->GetXValues()->SetOrder(TChartListOrder::loNone);
    F.B->GetXValues()->SetOrder(TChartListOrder::loNone);
    const double AX[] = {3, 1, 2, 1, -0.0}, AY[] = {10, 20, 30, 40, 50};
    const double BX[] = {2, 5, 3, 3, 0.0}, BY[] = {100, 200, 300, 400, 500};
    for (int I = 0; I < 5; ++I) {
      F.A->AddXY(AX[I], AY[I], I == 1 ? "one" : "");
      F.B->AddXY(BX[I], BY[I]);
    }
    F.Fn->SetIncludeNulls(IncludeNulls);
    F.Calculate();
    const std::vector<std::vector<double>> Got = F.Points();
    // Each position once; the first point of each source at it; missing in a source: a null.
    if (IncludeNulls)
      EXPECT_EQ(Got, (std::vector<std::vector<double>>{{0, 550, 0}, {1, 20, 1}, {2, 130, 0}, {3, 310, 0}, {5, 200, 1}}));
    else
      EXPECT_EQ(Got, (std::vector<std::vector<double>>{{0, 550, 0}, {2, 130, 0}, {3, 310, 0}}));
    // A position left out is calculated again for each time it was collected.
    EXPECT_EQ(F.Fn->Sizes, (IncludeNulls ? std::vector<int>{2, 1, 2, 2, 1} : std::vector<int>{2, 1, 1, 2, 2, 1}));
    if (IncludeNulls) {
      EXPECT_EQ(F.Output->GetXLabel(1), "one");
    }
  }
}

TEST(FunctionsAtScale, ByValueGivesTheSameWhetherTheListsAreInOrderOrNot) {
  // A in order (read where it is); B in order or not (sorted with its indexes): the same points.
  for (bool BOrdered : {true, false})
    for (bool IncludeNulls : {true, false}) {
      SCOPED_TRACE(testing::Message() << "B ordered " << BOrdered << " include nulls " << IncludeNulls);
      TByValue F;
      const double AX[] = {-0.0, 1, 1, 2, 4}, AY[] = {10, 20, 30, 40, 50};
      for (int I = 0; I < 5; ++I) F.A->AddXY(AX[I], AY[I]);
      if (BOrdered) {
        const double BX[] = {0, 1, 3, 4, 4}, BY[] = {100, 200, 300, 400, 500};
        for (int I = 0; I < 5; ++I) F.B->AddXY(BX[I], BY[I]);
      } else {
        F.B->GetXValues()->SetOrder(TChartListOrder::loNone);
        const double BX[] = {4, 1, 0, 4, 3}, BY[] = {400, 200, 100, 500, 300};
        for (int I = 0; I < 5; ++I) F.B->AddXY(BX[I], BY[I]);
      }
      ASSERT_TRUE(F.A->GetXValues()->IsAscendingFinite());
      ASSERT_EQ(F.B->GetXValues()->IsAscendingFinite(), BOrdered);
      F.Fn->SetIncludeNulls(IncludeNulls);
      F.Calculate();
      const std::vector<std::vector<double>> Got = F.Points();
      // -0 is 0; the first point of each source at a position; each position calculated once
      // when it is kept.
      if (IncludeNulls)
        EXPECT_EQ(Got, (std::vector<std::vector<double>>{{0, 110, 0}, {1, 220, 0}, {2, 40, 1}, {3, 300, 1}, {4, 450, 0}}));
      else
        EXPECT_EQ(Got, (std::vector<std::vector<double>>{{0, 110, 0}, {1, 220, 0}, {4, 450, 0}}));
      EXPECT_EQ(F.Fn->Sizes, (std::vector<int>{2, 2, 1, 1, 2}));
    }
}

TEST(FunctionsAtScale, ByValueTakesTheFirstOfEqualValuesInLongUnorderedLists) {
  // Many values, each several times, in no order: the sort that finds them must keep equal
  // values in the order of their points (a short list may keep it by chance).
  for (std::int32_t N : {100, 1000})
    for (bool IncludeNulls : {true, false}) {
      SCOPED_TRACE(testing::Message() << N << " points, include nulls " << IncludeNulls);
      TByValue F;
      std::mt19937 Random(static_cast<unsigned>(N));
      std::uniform_int_distribution<std::int32_t> Position(0, N / 4);
      std::vector<double> X[2], Y[2];
      for (int S = 0; S < 2; ++S) {
        TChartSeries* Series = S == 0 ? F.A : F.B;
        Series->GetXValues()->SetOrder(TChartListOrder::loNone);
        for (std::int32_t I = 0; I < N; ++I) {
          X[S].push_back(Position(Random));
          Y[S].push_back(1000.0 * (S + 1) + I);
          Series->AddXY(X[S].back(), Y[S].back());
        }
      }
      ASSERT_FALSE(F.A->GetXValues()->IsAscendingFinite());
      F.Fn->SetIncludeNulls(IncludeNulls);
      F.Calculate();
      // The plain way: each position once, in order, with the first point of each source there.
      std::vector<double> Positions(X[0]);
      Positions.insert(Positions.end(), X[1].begin(), X[1].end());
      std::sort(Positions.begin(), Positions.end());
      Positions.erase(std::unique(Positions.begin(), Positions.end()), Positions.end());
      std::vector<std::vector<double>> Want;
      for (double V : Positions) {
        double Sum = 0;
        bool InAll = true;
        for (int S = 0; S < 2; ++S) {
          const auto It = std::find(X[S].begin(), X[S].end(), V);
          if (It == X[S].end())
            InAll = false;
          else
            Sum += Y[S][static_cast<std::size_t>(It - X[S].begin())];
        }
        if (InAll || IncludeNulls) Want.push_back({V, Sum, InAll ? 0.0 : 1.0});
      }
      EXPECT_EQ(F.Points(), Want);
    }
}

TEST(FunctionsAtScale, ByValueScansNoListPerValue) {
  auto Steps = [](std::int32_t N) {
    TByValue F;
    for (std::int32_t I = 0; I < N; ++I) {
      F.A->AddXY(I, 1);
      F.B->AddXY(N - 1 - I, 2);
    }
    const std::int64_t Before = TChartValueList::LocateSteps;
    F.Calculate();
    EXPECT_EQ(F.Output->Count(), N);
    return TChartValueList::LocateSteps - Before;
  };
  const std::int64_t Small = Steps(200), Large = Steps(2000);
  EXPECT_LE(Large, 10 * Small) << Small << " " << Large;
}

// --- labels of the points on an axis ---

TScaleChart* LabelledChart(std::int32_t N) {
  auto* C = new TUnbufferedChart;
  for (std::int32_t I = 0; I < N; ++I) C->Series->AddXY(45000 + I, I % 7, "day " + std::to_string(I));
  C->Series->GetXValues()->SetDateTime(true);
  return C;
}

TEST(LabelsAtScale, ARepaintMeasuresOnlyTheLabelsThatFit) {
  auto Measures = [](std::int32_t N) {
    std::unique_ptr<TScaleChart> C(LabelledChart(N));
    C->Paint();
    return C->Paint();
  };
  const std::int64_t Small = Measures(500), Large = Measures(5000);
  EXPECT_GT(Small, 0);
  // Measuring every label (and all of them again for the widest) makes this 10 times more.
  EXPECT_LE(Large, 2 * Small) << Small << " " << Large;
}

TEST(LabelsAtScale, ARepaintOfMorePointsOnTheSamePixelsMeasuresNoMoreLabels) {
  auto Measures = [](std::int32_t N) {
    TUnbufferedChart C;
    // Labels of one width, the points spread over the same days whatever their number.
    for (std::int32_t I = 0; I < N; ++I) C.Series->AddXY(45000 + 100.0 * I / N, I % 7, "t" + std::to_string(100000 + I));
    C.Series->GetXValues()->SetDateTime(true);
    C.Paint();
    return C.Paint();
  };
  const std::int64_t Small = Measures(2000), Large = Measures(20000);
  EXPECT_GT(Small, 0);
  // Each point that might fit measured makes this about 10 times more.
  EXPECT_LE(Large, Small + Small / 5) << Small << " " << Large;
}

// The labels a bottom axis draws for labelled points (texts and boxes), walked the ordered way
// (X rising) or the plain way (the same points and one more, below the axis' range, last).
struct TDrawnLabel {
  String Text;
  TRectF Rect;
  bool operator==(const TDrawnLabel&) const = default;
};

std::vector<TDrawnLabel> DrawnAxisLabels(bool Plain, std::int32_t N, std::int32_t Angle, bool Inverted,
                                         bool TickOnLabelsOnly, bool OneWidth) {
  TUnbufferedChart C;
  C.Series->GetXValues()->SetOrder(TChartListOrder::loNone);
  for (std::int32_t I = 0; I < N; ++I) {
    const String Text = OneWidth ? "p" + std::to_string(10000 + I) : String(static_cast<std::size_t>(1 + I % 5), 'a' + I % 26);
    C.Series->AddXY(10 + 0.5 * I, I % 7, I % 11 == 3 ? String() : Text);
  }
  if (Plain) C.Series->AddXY(0, 0, "z");
  TChartAxis* A = C.Chart->GetBottomAxis();
  A->SetMinMax(10, 10 + 0.5 * (N - 1));
  A->SetInverted(Inverted);
  A->SetLabelsAngle(Angle);
  A->SetTickOnLabelsOnly(TickOnLabelsOnly);
  C.Paint();
  std::printf("\n");
  std::vector<TDrawnLabel> Result;
  for (const TCanvasRecord& R : C.Canvas->RecordsOf(TRecordKind::FillText))
    if (!R.Text.empty() && (R.Text[0] != 'z')) Result.push_back({R.Text, R.Rect});
  EXPECT_EQ(C.Series->GetXValues()->IsAscendingFinite(), !Plain);
  return Result;
}

TEST(LabelsAtScale, OrderedPointsGetTheLabelsOfThePlainWalk) {
  struct Case {
    std::int32_t N, Angle;
    bool Inverted, TickOnLabelsOnly, OneWidth;
  } Cases[] = {
      {60, 0, false, true, false},    // a point every few pixels, labels of many widths
      {60, 90, false, true, false},   // turned
      {60, 0, true, false, false},    // inverted, a tick on every point
      {3000, 0, false, true, true},   // many points on each pixel
      {3000, 0, true, false, true},
      {3000, 90, true, true, true},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(testing::Message() << "N " << K.N << " angle " << K.Angle << " inverted " << K.Inverted
                                    << " ticks on labels " << K.TickOnLabelsOnly);
    const std::vector<TDrawnLabel> Plain = DrawnAxisLabels(true, K.N, K.Angle, K.Inverted, K.TickOnLabelsOnly, K.OneWidth);
    const std::vector<TDrawnLabel> Ordered = DrawnAxisLabels(false, K.N, K.Angle, K.Inverted, K.TickOnLabelsOnly, K.OneWidth);
    EXPECT_GT(Plain.size(), 3u);
    EXPECT_EQ(Plain, Ordered);
  }
}

TEST(LabelsAtScale, TheWidestLabelIsRememberedUntilTheLabelsChange) {
  std::unique_ptr<TScaleChart> C(LabelledChart(10));
  TChart* Chart = C->Chart;
  TChartSeries* S = C->Series;
  C->Paint();
  auto Widest = [&] { return Chart->MaxTextWidth(); };
  // The widest label of every series, each measured now.
  auto Measured = [&] {
    std::int32_t W = 0;
    for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I)
      for (const String& Label : Chart->GetSeries(I)->GetLabels()->GetList()) {
        int Lines = 0;
        if (!Label.empty()) W = std::max(W, Chart->MultiLineTextWidth(Label, Lines));
      }
    return W;
  };
  const std::int32_t Base = Widest();
  EXPECT_EQ(Base, Measured());
  const std::int64_t Measures = C->Canvas->GetMeasureCount();
  EXPECT_EQ(Base, Widest());
  EXPECT_EQ(C->Canvas->GetMeasureCount(), Measures) << "nothing changed: nothing measured again";
  const String Long(20, 'w');
  struct Case {
    const char* Name;
    std::function<void()> Change;
    bool Wider;
  } Cases[] = {
      {"SetLabel", [&] { S->GetLabels()->SetLabel(3, Long); }, true},
      {"Delete of the point", [&] { S->Delete(3); }, false},
      {"AddXY with a label", [&] { S->AddXY(1, 1, Long); }, true},
      {"Delete of a range", [&] { S->Delete(0, S->Count() - 1); }, false},
      {"InsertLabel", [&] { S->GetLabels()->InsertLabel(0, Long); }, true},
      {"Clear", [&] { S->Clear(); }, false},
      {"a series of its own", [&] {
         auto* T = Create<TChartSeries>(nullptr);
         T->AddXY(0, 0, Long);
         Chart->AddSeries(T);
       }, true},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    K.Change();
    const std::int32_t W = Widest();
    EXPECT_EQ(W, Measured());
    EXPECT_EQ(W > Base, K.Wider) << W << " " << Base;
  }
}

// --- the mark under the mouse ---

// The mark at P the plain way: every position, highest index first.
std::int32_t PlainClicked(TSeriesMarks* Marks, TPointF P) {
  const std::int32_t Every = std::max(Marks->GetDrawEvery(), 1);
  for (std::int32_t I = Marks->GetPositions()->Count() - 1; I >= 0; --I) {
    const TSeriesMarkPosition* E = Marks->GetPositions()->Peek(I);
    if (I % Every != 0 || !E) continue;
    if (Marks->ClickedShape(P, TRectF(E->LeftTop.X, E->LeftTop.Y, E->LeftTop.X + float(E->Width),
                                      E->LeftTop.Y + float(E->Height))))
      return I;
  }
  return -1;
}

// N marks of about one size spread over Width x 300 pixels (some points without one, boxes of no
// width or height, and with Wide a few very wide ones).
void SpreadMarks(TSeriesMarks* Marks, std::int32_t N, float Width, unsigned Seed, bool Wide = true) {
  std::mt19937 Random(Seed);
  auto Uniform = [&](float Low, float High) { return std::uniform_real_distribution<float>(Low, High)(Random); };
  for (std::int32_t I = 0; I < N; ++I) {
    if (I % 9 == 4) continue;
    TSeriesMarkPosition P;
    P.LeftTop = P.ArrowTo = TPointF(std::round(Uniform(0, Width)), std::round(Uniform(0, 300)));
    P.Width = Wide && I % 97 == 5 ? 2000 : I % 31 == 1 ? 0 : static_cast<std::int32_t>(Uniform(10, 40));
    P.Height = I % 37 == 2 ? 0 : static_cast<std::int32_t>(Uniform(8, 16));
    TSeriesMarkPosition* Used = &P;
    Marks->UsePosition(I, Used);
  }
}

TEST(MarksAtScale, TheMarkUnderTheMouseIsTheOneThePlainWalkFinds) {
  for (std::int32_t Angle : {0, 30, 90})
    for (std::int32_t Every : {1, 3}) {
      SCOPED_TRACE(testing::Message() << "angle " << Angle << " every " << Every);
      TOwned<TChartSeries> S(Create<TChartSeries>(nullptr));
      TSeriesMarks* Marks = S->GetMarks();
      SpreadMarks(Marks, 600, 400, 5);
      Marks->SetAngle(Angle);
      Marks->SetDrawEvery(Every);
      std::int32_t Hits = 0;
      // Pixels and half pixels across the band, edges of boxes included.
      for (float Y = -4; Y < 304; Y += 4.5f)
        for (float X = -4; X < 404; X += 0.75f) {
          const std::int32_t Want = PlainClicked(Marks, TPointF(X, Y));
          ASSERT_EQ(Marks->Clicked(TPointF(X, Y)), Want) << X << " " << Y;
          Hits += Want != -1;
        }
      EXPECT_GT(Hits, 1000);
    }
}

TEST(MarksAtScale, TheMarkUnderTheMouseFollowsEachChangeOfThePositions) {
  TOwned<TChartSeries> S(Create<TChartSeries>(nullptr));
  TSeriesMarks* Marks = S->GetMarks();
  SpreadMarks(Marks, 300, 400, 9);
  TSeriesMarksPositions* Positions = Marks->GetPositions();
  const TPointF Far(1000, 1000);
  auto Put = [&](std::int32_t Index, TPointF At) {
    TSeriesMarkPosition P;
    P.LeftTop = P.ArrowTo = At;
    P.Width = P.Height = 10;
    Positions->Put(Index, &P);
  };
  struct Case {
    const char* Name;
    std::function<void()> Change;
  } Cases[] = {
      {"Put", [&] { Put(2, Far); }},
      {"Ensure of a new entry", [&] {
         TSeriesMarkPosition* E = Positions->Ensure(400);
         E->Width = E->Height = 10;
         E->Offset(Far);
       }},
      {"moved through Get (as the drag tool)", [&] { Positions->Get(400)->Offset(TPointF(5, 5)); }},
      {"UsePosition", [&] {
         TSeriesMarkPosition P;
         P.LeftTop = P.ArrowTo = Far;
         P.Width = P.Height = 10;
         TSeriesMarkPosition* Used = &P;
         Marks->UsePosition(7, Used);
       }},
      {"Exchange", [&] { Positions->Exchange(7, 8); }},
      {"Delete", [&] { Positions->Delete(0, 5); }},
      {"DrawEvery", [&] { Marks->SetDrawEvery(2); }},
      {"Angle", [&] { Marks->SetAngle(45); }},
      {"Clear", [&] { Positions->Clear(); }},
  };
  // The marks' band and the corner where the changed ones go.
  auto Answers = [&](bool Plain) {
    std::vector<std::int32_t> Result;
    auto Region = [&](float X0, float Y0, float X1, float Y1, float StepY) {
      for (float Y = Y0; Y < Y1; Y += StepY)
        for (float X = X0; X < X1; X += 1.5f)
          Result.push_back(Plain ? PlainClicked(Marks, TPointF(X, Y)) : Marks->Clicked(TPointF(X, Y)));
    };
    Region(0, 0, 420, 310, 3);
    Region(990, 990, 1020, 1020, 1);
    return Result;
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    const std::vector<std::int32_t> Before = Answers(false);  // the cells are made
    K.Change();
    const std::vector<std::int32_t> After = Answers(false);
    EXPECT_NE(Before, After) << "the change moves some mark";
    EXPECT_EQ(After, Answers(true));
  }
}

// The boxes tested for a click on N marks and on 10 N marks spread 10 times wider (the same
// crowding), after the first click has put them in cells.
TEST(MarksAtScale, AClickTestsOnlyTheMarksNearTheMouse) {
  auto Tests = [](std::int32_t N) {
    TOwned<TChartSeries> S(Create<TChartSeries>(nullptr));
    TSeriesMarks* Marks = S->GetMarks();
    SpreadMarks(Marks, N, float(N), 3, false);
    Marks->Clicked(TPointF(0, 0));
    Marks->IClickTests = 0;
    for (float Y = 0; Y < 300; Y += 7)
      for (float X = 0; X < 400; X += 3) Marks->Clicked(TPointF(X, Y));
    return Marks->IClickTests;
  };
  const std::int64_t Small = Tests(2000), Large = Tests(20000);
  EXPECT_GT(Small, 0);
  // Testing every mark makes this about 10 times more.
  EXPECT_LE(Large, 2 * Small) << Small << " " << Large;
}

// --- the widest mark ---

// The widest mark text of the points whose mark shows, measured one by one.
std::int32_t PlainWidestMark(TChartSeries* S) {
  TSeriesMarks* Marks = S->GetMarks();
  std::int32_t Result = 0;
  for (std::int32_t I = 0; I < S->Count(); ++I)
    if (Marks->MarkItem(I)->GetVisible()) Result = std::max(Result, Marks->TextWidth(I));
  return Result;
}

TEST(MarksAtScale, TheWidestMarkIsRememberedUntilItsTextsOrFontChange) {
  TScaleChart C;
  TChartSeries* S = C.Series;
  TSeriesMarks* Marks = S->GetMarks();
  for (std::int32_t I = 0; I < 10; ++I) S->AddXY(I, I, "a");
  Marks->SetVisible(true);
  C.Paint();
  EXPECT_EQ(S->MaxMarkWidth(), PlainWidestMark(S));
  const std::int64_t Measured = Marks->ITextWidths;
  S->MaxMarkWidth();
  EXPECT_EQ(Marks->ITextWidths, Measured) << "nothing changed: nothing measured again";
  const String Long(12, 'w');
  struct Case {
    const char* Name;
    std::function<void()> Change;
    bool Changes;  // the widest text is another width (else only measured again: the font)
  } Cases[] = {
      {"SetLabel", [&] { S->GetLabels()->SetLabel(3, Long); }, true},
      {"style", [&] { Marks->SetStyle(TSeriesMarksStyle::smsValue); }, true},
      {"a value", [&] { S->GetYValues()->SetValue(2, 123456789); }, true},
      {"value format", [&] { S->SetValueFormat("0.000"); }, true},
      {"AddXY", [&] { S->AddXY(10, 1e15); }, true},
      {"Delete", [&] { S->Delete(10); }, true},
      {"percent", [&] { Marks->SetStyle(TSeriesMarksStyle::smsPercent); }, true},
      {"percent format", [&] { S->SetPercentFormat("0.00000 %"); }, true},
      {"a value seen through the total", [&] { S->GetYValues()->SetValue(2, 2); }, false},
      {"title", [&] { Marks->SetStyle(TSeriesMarksStyle::smsSeriesTitle); }, true},
      {"SetTitle", [&] { S->SetTitle(Long + Long); }, true},
      {"label and value", [&] { Marks->SetStyle(TSeriesMarksStyle::smsLabelValue); }, true},
      {"multi-line", [&] { Marks->SetMultiLine(true); }, true},
      {"custom item text", [&] { Marks->GetItem(4)->SetText(Long + Long + Long); }, true},
      {"item hidden", [&] { Marks->GetItem(4)->SetVisible(false); }, true},
      {"point index", [&] { Marks->SetStyle(TSeriesMarksStyle::smsPointIndex); }, true},
      {"Clear and refill", [&] {
         S->Clear();
         for (std::int32_t I = 0; I < 200; ++I) S->AddXY(I, I);
       }, true},
      {"font size", [&] { Marks->GetFont()->SetSize(30); }, false},
      {"bold", [&] { Marks->GetFont()->SetStyle(TFontStyles{TFontStyle::fsBold}); }, false},
      {"handler", [&] { S->OnGetMarkText = [&](TChartSeries*, std::int32_t, String& Text) { Text += Long; }; }, true},
      {"no handler", [&] { S->OnGetMarkText = nullptr; }, true},
      {"marks hidden, items of their own", [&] {
         Marks->GetItem(7)->SetVisible(true);
         Marks->SetVisible(false);
       }, true},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    const std::int32_t Before = S->MaxMarkWidth();
    const std::int64_t Count = Marks->ITextWidths;
    K.Change();
    const std::int32_t After = S->MaxMarkWidth();
    EXPECT_GT(Marks->ITextWidths, Count) << "measured again";
    EXPECT_EQ(After, PlainWidestMark(S));
    if (K.Changes) {
      EXPECT_NE(After, Before);
    }
  }
}

// The widest mark asked once per paint and once more by hand: the texts are measured for the
// first paint only.
TEST(MarksAtScale, APaintOfAnAxisOfMarksMeasuresNoMarkAgain) {
  auto Measures = [](std::int32_t N) {
    TScaleChart C;
    for (std::int32_t I = 0; I < N; ++I) C.Series->AddXY(I, I % 100, "p" + std::to_string(I % 10));
    C.Series->GetMarks()->SetVisible(true);
    C.Chart->GetLeftAxis()->SetLabelStyle(TAxisLabelStyle::talMark);
    C.Chart->GetBottomAxis()->SetMinMax(10, 20);
    C.Paint();
    const std::int64_t First = C.Series->GetMarks()->ITextWidths;
    C.Paint();
    EXPECT_GT(First, 0);
    return C.Series->GetMarks()->ITextWidths - First;
  };
  EXPECT_EQ(Measures(1000), 0);
  EXPECT_EQ(Measures(10000), 0);
}

// --- the legend across the chart ---

// A chart of N labelled points with its legend of values below it; Change is made before the
// paint that is returned (the texts drawn), after a first paint when Repainted.
struct TLegendPaint {
  std::vector<String> Texts;
  std::int32_t MaxWidth;
  std::int64_t Measures;
  bool operator==(const TLegendPaint& O) const { return Texts == O.Texts && MaxWidth == O.MaxWidth; }
};

TLegendPaint PaintLegendAcross(std::int32_t N, bool Repainted, const std::function<void(TScaleChart&)>& Change) {
  TUnbufferedChart C;
  for (std::int32_t I = 0; I < N; ++I) C.Series->AddXY(I, I % 13, "p" + std::to_string(I % 10));
  C.Chart->GetLegend()->SetAlignment(TLegendAlignment::laBottom);
  if (Repainted) C.Paint();
  if (Change) Change(C);
  const std::int64_t Measures = C.Paint();
  return {C.Texts, C.Chart->GetLegend()->IMaxWidth, Measures};
}

TEST(LegendAtScale, ARepaintOfTheLegendAcrossMeasuresNoItemAgain) {
  const TLegendPaint Small = PaintLegendAcross(1000, true, nullptr), Large = PaintLegendAcross(10000, true, nullptr);
  EXPECT_GT(Small.Measures, 0);
  // Measuring every item makes this about 10 times more.
  EXPECT_LE(Large.Measures, Small.Measures + Small.Measures / 5) << Small.Measures << " " << Large.Measures;
}

TEST(LegendAtScale, TheLegendAcrossFollowsEachChangeOfItsTexts) {
  const String Long(15, 'w');
  struct Case {
    const char* Name;
    std::function<void(TScaleChart&)> Change;
  } Cases[] = {
      {"SetLabel", [&](TScaleChart& C) { C.Series->GetLabels()->SetLabel(2, Long); }},
      {"text style", [&](TScaleChart& C) { C.Chart->GetLegend()->SetTextStyle(TLegendTextStyle::ltsRightValue); }},
      {"a value", [&](TScaleChart& C) {
         C.Chart->GetLegend()->SetTextStyle(TLegendTextStyle::ltsValue);
         C.Series->GetYValues()->SetValue(1, 123456789);
       }},
      {"value format", [&](TScaleChart& C) {
         C.Chart->GetLegend()->SetTextStyle(TLegendTextStyle::ltsValue);
         C.Series->SetValueFormat("0.0000");
       }},
      {"percent format", [&](TScaleChart& C) {
         C.Chart->GetLegend()->SetTextStyle(TLegendTextStyle::ltsPercent);
         C.Series->SetPercentFormat("0.00000 %");
       }},
      {"date-time values", [&](TScaleChart& C) {
         C.Chart->GetLegend()->SetTextStyle(TLegendTextStyle::ltsValue);
         C.Series->GetYValues()->SetDateTime(true);
       }},
      {"AddXY", [&](TScaleChart& C) { C.Series->AddXY(50, 1, Long); }},
      {"Delete", [&](TScaleChart& C) { C.Series->Delete(0, 3); }},
      {"first value", [&](TScaleChart& C) { C.Chart->GetLegend()->SetFirstValue(5); }},
      {"inverted", [&](TScaleChart& C) { C.Chart->GetLegend()->SetInverted(true); }},
      {"text symbol gap", [&](TScaleChart& C) { C.Chart->GetLegend()->SetTextSymbolGap(9); }},
      {"handler", [&](TScaleChart& C) {
         C.Chart->OnGetLegendText = [&](TCustomChart*, TLegendStyle, std::int32_t, String& Text) { Text += Long; };
       }},
  };
  const TLegendPaint Plain = PaintLegendAcross(30, false, nullptr);
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    const TLegendPaint Fresh = PaintLegendAcross(30, false, K.Change);
    EXPECT_EQ(PaintLegendAcross(30, true, K.Change), Fresh);
    EXPECT_FALSE(Fresh == Plain) << "the change shows";
  }
}

}  // namespace
}  // namespace zel
