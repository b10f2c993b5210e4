#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TestPanel.h"
#include "platform/Controls.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Engine.h"
#include "zelgraph/engine/SeriesLegend.h"

namespace zel {
namespace {

// Puts an axis' mapping over the pixels Start..End for the values Min..Max.
void MapAxis(TChartAxis* Axis, std::int32_t Start, std::int32_t End, double Min, double Max) {
  Axis->IStartPos = Start;
  Axis->IEndPos = End;
  Axis->IAxisSize = End - Start;
  Axis->ICenterPos = (Start + End) / 2;
  Axis->IMinimum = Min;
  Axis->IMaximum = Max;
  Axis->InternalCalcRange();
}

// The visible range by walking the points one by one, as the pipeline defines it.
std::pair<int, int> WalkRange(const std::vector<double>& V, double VS, double VE, bool Between) {
  const int N = static_cast<int>(V.size());
  int First = 0;
  if (VS >= V[0])
    while (First < N && VS > V[First]) ++First;
  if (First >= N) return {-1, -1};
  int Last;
  if (VE >= V[N - 1]) {
    Last = N - 1;
  } else {
    Last = First;
    while (Last < N - 1 && VE > V[Last]) ++Last;
    if (!Between)
      while (Last > 0 && VE < V[Last]) --Last;
  }
  return {First, Last};
}

struct DrawFixture : testing::Test {
  void SetUp() override {
    Chart = Create<TTestPanel>(nullptr);
    Chart->SetChartRect(TRectF(100, 50, 300, 250));
  }
  void TearDown() override { Chart->Free(); }
  TChartSeries* NewSeries() {
    auto* S = Create<TChartSeries>(nullptr);
    Chart->AddSeries(S);
    return S;
  }
  TTestPanel* Chart = nullptr;
};

TEST_F(DrawFixture, VisibleRangeAgainstTheAxisWindow) {
  TChartSeries* S = NewSeries();
  std::vector<double> X;
  for (int I = 0; I < 34; ++I) {
    X.push_back(I * 3.0);
    S->AddXY(I * 3.0, I);
  }
  struct Case {
    const char* Name;
    double Min, Max;
    bool Inverted, Between;
    int First, Last;
  };
  const std::vector<Case> Cases = {
      {"segments keep the point beyond the end", 20, 31, false, true, 7, 11},
      {"other kinds stop inside", 20, 31, false, false, 7, 10},
      {"window right of the data", 200, 300, false, false, -1, -1},
      {"window left of the data", -50, -10, false, false, 0, 0},
      {"window over all the data", -10, 200, false, false, 0, 33},
      {"inverted axis takes the start at the right", 20, 31, true, false, 7, 10},
  };
  for (const Case& C : Cases) {
    MapAxis(Chart->GetBottomAxis(), 100, 300, C.Min, C.Max);
    Chart->GetBottomAxis()->SetInverted(C.Inverted);
    S->DrawBetweenPoints = C.Between;
    S->CalcFirstLastVisibleIndex();
    EXPECT_EQ(S->GetFirstVisibleIndex(), C.First) << C.Name;
    EXPECT_EQ(S->GetLastVisibleIndex(), C.Last) << C.Name;
  }
  Chart->GetBottomAxis()->SetInverted(false);
  // Many windows and repeated values: the search finds what the walk finds.
  for (TChartListOrder Order : {TChartListOrder::loAscending, TChartListOrder::loDescending}) {
    std::vector<double> Dup = {0, 1, 1, 1, 2, 5, 5, 9};
    if (Order == TChartListOrder::loDescending) std::reverse(Dup.begin(), Dup.end());
    TChartSeries* D = NewSeries();
    D->GetXValues()->SetOrder(Order);
    for (double V : Dup) D->AddXY(V, 0);
    for (double Min = -1.5; Min < 10; Min += 0.5)
      for (double Span = 0.5; Span < 6; Span += 1.5)
        for (bool Between : {false, true}) {
          MapAxis(Chart->GetBottomAxis(), 100, 300, Min, Min + Span);
          D->DrawBetweenPoints = Between;
          D->CalcFirstLastVisibleIndex();
          const auto W = WalkRange(Dup, Min, Min + Span, Between);
          EXPECT_EQ(D->GetFirstVisibleIndex(), W.first) << Min << " " << Span << " " << Between;
          EXPECT_EQ(D->GetLastVisibleIndex(), W.second) << Min << " " << Span << " " << Between;
        }
  }
}

TEST_F(DrawFixture, UnorderedOrUncalculatedSeriesIsWhollyVisible) {
  TChartSeries* S = NewSeries();
  S->GetXValues()->SetOrder(TChartListOrder::loNone);
  for (double V : {5.0, 1.0, 9.0}) S->AddXY(V, 0);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 100, 200);
  S->CalcFirstLastVisibleIndex();
  EXPECT_EQ(S->GetFirstVisibleIndex(), 0);
  EXPECT_EQ(S->GetLastVisibleIndex(), 2);
  TChartSeries* E = NewSeries();
  E->CalcFirstLastVisibleIndex();
  EXPECT_EQ(E->GetFirstVisibleIndex(), -1);
}

TEST_F(DrawFixture, PositionsGoThroughTheResolvedAxes) {
  TChartSeries* S = NewSeries();
  S->AddXY(2.5, 10);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 0, 10);
  MapAxis(Chart->GetLeftAxis(), 50, 250, 0, 10);
  MapAxis(Chart->GetTopAxis(), 0, 100, 0, 10);
  EXPECT_EQ(S->CalcXPos(0), 150);
  EXPECT_EQ(S->CalcYPos(0), 50);
  EXPECT_TRUE(S->IsPointInChartRect(0));
  S->SetHorizAxis(THorizAxis::aTopAxis);
  EXPECT_EQ(S->GetGetHorizAxis(), Chart->GetTopAxis());
  EXPECT_EQ(S->CalcXPos(0), 25);
  EXPECT_FALSE(S->IsPointInChartRect(0));
  EXPECT_TRUE(S->AssociatedToAxis(Chart->GetTopAxis()));
  EXPECT_FALSE(S->AssociatedToAxis(Chart->GetBottomAxis()));
  S->SetHorizAxis(THorizAxis::aBothHorizAxis);
  EXPECT_EQ(S->GetGetHorizAxis(), Chart->GetBottomAxis());
  EXPECT_TRUE(S->AssociatedToAxis(Chart->GetTopAxis()));
  EXPECT_EQ(S->ValueListOfAxis(Chart->GetLeftAxis()), S->GetYValues());
}

TEST_F(DrawFixture, LegendTexts) {
  TChartSeries* S = NewSeries();
  S->AddXY(0, 5, "A");
  S->AddXY(1, -5);
  S->AddXY(2, 10);
  const String Sep(1, ZelColumnSeparator);
  struct Case {
    TLegendTextStyle Style;
    std::int32_t Index;
    String Expected;
  };
  const std::vector<Case> Cases = {
      {TLegendTextStyle::ltsPlain, 0, "A"},
      {TLegendTextStyle::ltsRightValue, 0, "A" + Sep + "5"},
      {TLegendTextStyle::ltsRightValue, 1, "-5"},
      {TLegendTextStyle::ltsLeftValue, 0, "5" + Sep + "A"},
      {TLegendTextStyle::ltsPercent, 0, "25 %"},
      {TLegendTextStyle::ltsPercent, 1, "-25 %"},  // the legend keeps the sign
      {TLegendTextStyle::ltsLeftPercent, 0, "25 %" + Sep + "A"},
      {TLegendTextStyle::ltsRightPercent, 2, "50 %"},
      {TLegendTextStyle::ltsValue, 2, "10"},
      {TLegendTextStyle::ltsXAndText, 0, Chart->GetBottomAxis()->LabelValue(0) + Sep + "A"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(S->LegendString(C.Index, C.Style), C.Expected) << static_cast<int>(C.Style) << " " << C.Index;
  S->SetValueFormat("#,##0.###");
  S->SetXLabel(0, "A");
  S->SetYValue(0, 12.5);
  EXPECT_EQ(S->LegendString(0, TLegendTextStyle::ltsRightValue), "A" + Sep + "12.5");

  // The X text reads the X value also of a series drawn horizontally (X mandatory).
  TChartSeries* H = NewSeries();
  H->SetHorizontal();
  H->AddXY(7, 3);
  EXPECT_EQ(H->LegendString(0, TLegendTextStyle::ltsXValue), "7");
  EXPECT_EQ(H->LegendString(0, TLegendTextStyle::ltsXAndValue), "7" + Sep + "7");
}

TEST_F(DrawFixture, MarkTexts) {
  TChartSeries* S = NewSeries();
  S->AddXY(0, 5, "A");
  S->AddXY(1, -5);
  S->AddXY(2, 10);
  S->SetTitle("Temp");
  struct Case {
    TSeriesMarksStyle Style;
    std::int32_t Index;
    bool Multi;
    String Expected;
  };
  const std::vector<Case> Cases = {
      {TSeriesMarksStyle::smsValue, 1, false, "-5"},
      {TSeriesMarksStyle::smsPercent, 1, false, "25 %"},  // marks take the magnitude
      {TSeriesMarksStyle::smsLabel, 1, false, ""},
      {TSeriesMarksStyle::smsLabelOrValue, 1, false, "-5"},
      {TSeriesMarksStyle::smsLabelOrValue, 0, false, "A"},
      {TSeriesMarksStyle::smsLabelValue, 0, true, "A\r5"},
      {TSeriesMarksStyle::smsLabelPercent, 0, false, "A 25 %"},
      {TSeriesMarksStyle::smsPercentTotal, 2, false, "50 % of 20"},
      {TSeriesMarksStyle::smsPercentRelative, 2, false, "200 %"},
      {TSeriesMarksStyle::smsLabelPercentValue, 0, false, "A 25 % 5"},
      {TSeriesMarksStyle::smsSeriesTitle, 2, false, "Temp"},
      {TSeriesMarksStyle::smsPointIndex, 2, false, "2"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(S->GetMarkTextStyle(C.Multi, C.Index, C.Style), C.Expected) << static_cast<int>(C.Style);
  TChartSeries* Z = NewSeries();
  Z->AddXY(0, 0);
  Z->AddXY(1, 3);
  EXPECT_EQ(Z->GetMarkTextStyle(false, 1, TSeriesMarksStyle::smsPercentRelative), "0 %");

  S->GetMarks()->GetItem(1)->SetText("custom\r\n");
  EXPECT_EQ(S->GetMarkText(1), "custom");
  S->OnGetMarkText = [](TChartSeries*, std::int32_t I, String& T) { T += "!" + std::to_string(I); };
  EXPECT_EQ(S->GetMarkText(0), "A!0");
}

TEST_F(DrawFixture, NamesOfSeries) {
  TChartSeries* A = NewSeries();
  NewSeries();
  TChartSeries* C = NewSeries();
  EXPECT_EQ(TChartSeries::SeriesNameOrIndex(C), "Series3");
  C->SetName("Named");
  EXPECT_EQ(TChartSeries::SeriesNameOrIndex(C), "Named");
  A->SetTitle(" ");
  EXPECT_EQ(TChartSeries::SeriesTitleOrName(A), "Series1");
  A->SetTitle("two\rlines");
  EXPECT_EQ(TChartSeries::SeriesTitleOrName(A, false), "two\rlines");
  EXPECT_NE(TChartSeries::SeriesTitleOrName(A, true), "two\rlines");
}

// A series whose point I lies at pixel column 10 * I (row ignored).
class TColumnSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  using TChartSeries::Clicked;
  std::int32_t Clicked(std::int32_t X, std::int32_t) override {
    return X % 10 == 0 && X / 10 < Count() ? X / 10 : -1;
  }
};

TEST_F(DrawFixture, HoverEnterAndLeave) {
  auto* S = Create<TColumnSeries>(nullptr);
  Chart->AddSeries(S);
  for (int I = 0; I < 5; ++I) S->Add(I);
  int Enter = 0, Leave = 0;
  S->OnMouseEnter = [&](TObject*) { ++Enter; };
  S->OnMouseLeave = [&](TObject*) { ++Leave; };
  S->GetSelected()->GetHover()->SetVisible(true);
  struct Step {
    std::int32_t X;
    bool Result;
    std::int32_t Hover;
    int Enters, Leaves;
  };
  const std::vector<Step> Steps = {
      {20, true, 2, 1, 0}, {30, true, 3, 1, 0}, {35, false, -1, 1, 1}, {36, false, -1, 1, 1}, {0, true, 0, 2, 1},
  };
  for (const Step& St : Steps) {
    EXPECT_EQ(S->CheckMouse(St.X, 0), St.Result) << St.X;
    EXPECT_EQ(S->GetSelected()->GetHoverIndex(), St.Hover) << St.X;
    EXPECT_EQ(Enter, St.Enters) << St.X;
    EXPECT_EQ(Leave, St.Leaves) << St.X;
  }
  EXPECT_TRUE(S->HoverEnabled());
  EXPECT_EQ(S->Clicked(19.6f, 3.0f), 2);  // float positions round to the pixel
  // The hovered point draws with the hover pen; others do not.
  ASSERT_NE(Chart->GetCanvas(), nullptr);
  EXPECT_FALSE(S->PrepareHoverPen(1));
  EXPECT_FALSE(S->PrepareHoverPen(-1));
  EXPECT_TRUE(S->PrepareHoverPen(0));
  EXPECT_EQ(Chart->GetCanvas()->GetPen()->GetColor(), 0x80FF0000u);
  EXPECT_EQ(Chart->GetCanvas()->GetPen()->GetWidth(), 3);
  Chart->GetHover()->SetVisible(false);  // the chart-wide switch
  EXPECT_FALSE(S->HoverEnabled());
  S->OnMouseEnter = nullptr;
  S->OnMouseLeave = nullptr;
  EXPECT_FALSE(S->CheckMouse(10, 0));
  EXPECT_EQ(S->GetSelected()->GetHoverIndex(), 0);  // nothing looked at
}

TEST_F(DrawFixture, ClickAndDoubleClick) {
  TChartSeries* S = NewSeries();
  std::vector<std::pair<char, std::int32_t>> Calls;
  S->OnClick = [&](TChartSeries*, std::int32_t I, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
    Calls.push_back({'c', I});
  };
  S->OnDblClick = [&](TChartSeries*, std::int32_t I, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
    Calls.push_back({'d', I});
  };
  S->MouseDown(1, TMouseButton::mbLeft, TShiftState{TShiftStateItem::ssLeft}, 0, 0);
  S->MouseDown(2, TMouseButton::mbLeft, TShiftState{TShiftStateItem::ssLeft, TShiftStateItem::ssDouble}, 0, 0);
  EXPECT_EQ(Calls, (std::vector<std::pair<char, std::int32_t>>{{'c', 1}, {'d', 2}}));
  EXPECT_TRUE(S->RaiseClicked());
}

TEST_F(DrawFixture, PageRange) {
  TChartSeries* S = NewSeries();
  for (int I = 0; I < 7; ++I) S->Add(I);
  struct Case {
    std::int32_t PerPage, Page, First, Last;
  };
  const std::vector<Case> Cases = {{0, 1, 0, 6}, {5, 1, 0, 4}, {5, 2, 5, 6}, {1, 3, 2, 2}, {3, 3, 6, 6}};
  for (const Case& C : Cases) {
    Chart->SetPointsPerPage(C.PerPage);
    Chart->SetPage(C.Page);
    std::int32_t F = 0, L = 0;
    S->CalcFirstLastPage(F, L);
    EXPECT_EQ(F, C.First) << C.PerPage << "/" << C.Page;
    EXPECT_EQ(L, C.Last) << C.PerPage << "/" << C.Page;
  }
}


// Records the points and marks the pipeline asks it to draw.
class TRecordingSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  void DrawValue(std::int32_t ValueIndex) override { Drawn.push_back(ValueIndex); }
  void DrawMark(std::int32_t ValueIndex, const String&, TSeriesMarkPosition*) override { Marks.push_back(ValueIndex); }
  std::vector<std::int32_t> Drawn, Marks;
};

TEST_F(DrawFixture, PointsAndMarksInDrawingOrder) {
  auto* S = Create<TRecordingSeries>(nullptr);
  Chart->AddSeries(S);
  for (int I = 0; I < 10; ++I) S->AddXY(I, I + 1);
  S->SetNull(6);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 2, 7);
  MapAxis(Chart->GetLeftAxis(), 50, 250, 0, 20);
  S->CalcFirstLastVisibleIndex();
  S->DrawAllValues();
  EXPECT_EQ(S->Drawn, (std::vector<std::int32_t>{2, 3, 4, 5, 6, 7}));
  S->Drawn.clear();
  Chart->GetBottomAxis()->SetInverted(true);
  EXPECT_FALSE(S->DrawValuesForward());
  EXPECT_EQ(S->GetFirstDisplayedIndex(), 7);
  S->DrawAllValues();
  EXPECT_EQ(S->Drawn, (std::vector<std::int32_t>{7, 6, 5, 4, 3, 2}));
  Chart->GetBottomAxis()->SetInverted(false);

  // Marks: every third point of the visible range, never a null point.
  S->GetMarks()->SetVisible(true);
  S->GetMarks()->SetDrawEvery(3);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 0, 9);
  S->CalcFirstLastVisibleIndex();
  S->DrawMarks();
  EXPECT_EQ(S->Marks, (std::vector<std::int32_t>{0, 3, 9}));
}

// Records where each mark is placed.
class TMarkSizeSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  void DrawMark(std::int32_t, const String&, TSeriesMarkPosition* P) override {
    Sizes.push_back({P->Width, P->Height});
  }
  std::vector<std::pair<std::int32_t, std::int32_t>> Sizes;
};

TEST_F(DrawFixture, CustomMarkItemIsMeasuredWithItsOwnSettings) {
  auto* S = Create<TMarkSizeSeries>(nullptr);
  Chart->AddSeries(S);
  S->AddXY(0, 1, "ab");
  S->AddXY(1, 2, "ab");
  MapAxis(Chart->GetBottomAxis(), 100, 300, 0, 1);
  MapAxis(Chart->GetLeftAxis(), 50, 250, 0, 3);
  TSeriesMarks* Marks = S->GetMarks();
  Marks->SetVisible(true);
  for (TMargins* M : {Marks->GetMargins(), Marks->GetItem(1)->GetMargins()}) {
    M->SetUnits(TMarginUnits::maPixels);
    const std::int32_t V = M == Marks->GetMargins() ? 0 : 30;
    M->SetLeft(V);
    M->SetTop(V);
    M->SetRight(V);
    M->SetBottom(V);
  }
  S->CalcFirstLastVisibleIndex();
  S->DrawMarks();
  ASSERT_EQ(S->Sizes.size(), 2u);
  // A text shape adds its horizontal margins twice, its vertical ones once.
  EXPECT_EQ(S->Sizes[1].first, S->Sizes[0].first + 120);
  EXPECT_EQ(S->Sizes[1].second, S->Sizes[0].second + 60);
  EXPECT_FALSE(Marks->GetItems()->InternalGet(1)->ICustomText) << "measuring gives the item no text of its own";
}

TEST_F(DrawFixture, DepthSlots) {
  TChartSeries* A = NewSeries();
  TChartSeries* B = NewSeries();
  TChartSeries* C = NewSeries();
  C->SetZOrder(5);
  Chart->SetView3D(false);
  A->CalcZOrder();
  EXPECT_EQ(A->GetZOrder(), 0);
  Chart->SetView3D(true);
  for (TChartSeries* S : {A, B, C}) S->CalcZOrder();
  EXPECT_GT(B->GetZOrder(), A->GetZOrder());
  EXPECT_GE(Chart->GetMaxZOrder(), 5);
  EXPECT_TRUE(A->FirstInZOrder());
  B->SetZOrder(A->GetZOrder());
  EXPECT_FALSE(B->FirstInZOrder());
  EXPECT_TRUE(A->MoreSameZOrder());
  B->SetDepth(7);
  B->CalcDepthPositions();
  EXPECT_EQ(B->EndZ - B->StartZ, 7);
  EXPECT_EQ(B->MiddleZ, (B->StartZ + B->EndZ) / 2);
}

// A series kind that orders the series of its shared depth slot point by point: the last series
// of the chart first at odd points, the list's order at even ones. Every series logs what it draws.
class TSlotOrderSeries : public TChartSeries {
 public:
  struct TAsk {
    std::int32_t SeriesIndex, SeriesCount, ValueIndex;
    bool operator==(const TAsk&) const = default;
  };
  struct TDraw {
    TChartSeries* Series;
    std::int32_t ValueIndex;
    bool operator==(const TDraw&) const = default;
  };
  TSlotOrderSeries(TComponent* AOwner, std::vector<TDraw>* ALog) : TChartSeries(AOwner), Log(ALog) {}
  std::vector<std::int32_t> SortDrawSeries(std::int32_t SeriesIndex, std::int32_t SeriesCount,
                                           std::int32_t ValueIndex) override {
    Asked.push_back({SeriesIndex, SeriesCount, ValueIndex});
    std::vector<std::int32_t> Order;
    if (ValueIndex % 2 == 1)
      for (std::int32_t I = SeriesCount - 1; I >= SeriesIndex; --I) Order.push_back(I);
    return Order;
  }
  void DrawValue(std::int32_t ValueIndex) override { Log->push_back({this, ValueIndex}); }
  std::vector<TAsk> Asked;
  std::vector<TDraw>* Log;
};

TEST_F(DrawFixture, ASharedSlotIsDrawnInTheOrderItsFirstSeriesGivesForEachPoint) {
  using TAsk = TSlotOrderSeries::TAsk;
  using TDraw = TSlotOrderSeries::TDraw;
  std::vector<TDraw> Log;
  TChartSeries* Other = NewSeries();  // another slot, before the shared one
  Other->SetZOrder(1);
  std::vector<TSlotOrderSeries*> Slot;
  for (int I = 0; I < 3; ++I) {
    auto* S = Create<TSlotOrderSeries>(nullptr, &Log);
    Chart->AddSeries(S);
    S->SetZOrder(0);
    for (double X : {0.0, 1.0, 2.0}) S->AddXY(X, X);
    Slot.push_back(S);
  }
  Chart->SetView3D(true);
  Chart->SetClipPoints(false);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 0, 2);
  MapAxis(Chart->GetLeftAxis(), 250, 50, 0, 2);
  ASSERT_TRUE(Slot[0]->MoreSameZOrder());
  ASSERT_TRUE(Slot[0]->DrawValuesForward());
  ASSERT_TRUE(Slot[0]->DrawSeriesForward(0));
  Chart->DrawSeries(Slot[0]);
  // Asked once per point with the slot's first index, the chart's series count and the point.
  EXPECT_EQ(Slot[0]->Asked, (std::vector<TAsk>{{1, 4, 0}, {1, 4, 1}, {1, 4, 2}}));
  EXPECT_TRUE(Slot[1]->Asked.empty());
  EXPECT_EQ(Log, (std::vector<TDraw>{{Slot[0], 0}, {Slot[1], 0}, {Slot[2], 0},
                                     {Slot[2], 1}, {Slot[1], 1}, {Slot[0], 1},
                                     {Slot[0], 2}, {Slot[1], 2}, {Slot[2], 2}}));
}

TEST_F(DrawFixture, ChartRefusesASeriesAsItsOwnSource) {
  TChartSeries* S = NewSeries();
  S->SetName("Self");
  try {
    S->SetDataSource(S);
    FAIL() << "expected ChartException";
  } catch (const ChartException& E) {
    EXPECT_STREQ(E.what(), "No valid DataSource: Self");
  }
  TChartSeries* A = NewSeries();
  TChartSeries* B = NewSeries();
  A->AddXY(1, 2);
  B->SetDataSource(A);
  EXPECT_EQ(B->Count(), 1);
  EXPECT_THROW(A->SetDataSource(B), ChartException);
}


TEST_F(DrawFixture, VisibleCountAndColorRange) {
  TChartSeries* S = NewSeries();
  for (double Y : {1.0, 5.0, 9.0, 4.0, 6.0}) S->Add(Y);
  S->SetNull(3);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 0, 4);
  Chart->GetBottomAxis()->SetMinMax(0, 4);
  Chart->GetLeftAxis()->SetMinMax(2, 8);
  S->CalcFirstLastVisibleIndex();
  EXPECT_EQ(S->VisibleCount(), 5);  // the whole range
  MapAxis(Chart->GetBottomAxis(), 100, 300, 1, 3);
  S->CalcFirstLastVisibleIndex();
  EXPECT_EQ(S->VisibleCount(), 2);  // points 1..3 whose Y lies in 2..8: 5 and 4
  S->ColorRange(S->GetYValues(), 4, 6, 0xFF00FF00);
  EXPECT_EQ(S->InternalColor(1), 0xFF00FF00u);
  EXPECT_EQ(S->InternalColor(4), 0xFF00FF00u);
  EXPECT_EQ(S->InternalColor(3), 0u);  // a null point stays null
  EXPECT_EQ(S->InternalColor(0), clZelDefault);
}

TEST_F(DrawFixture, PointUnderTheMouse) {
  auto* S = Create<TColumnSeries>(nullptr);
  Chart->AddSeries(S);
  for (int I = 0; I < 5; ++I) S->Add(I);
  MapAxis(Chart->GetBottomAxis(), 100, 300, 0, 10);
  MapAxis(Chart->GetLeftAxis(), 50, 250, 0, 10);
  ZelGetChartMousePos = [](TCustomAxisPanel*, TPointF& P) {
    P = TPointF(20.4f, 70);
    return true;
  };
  const std::int32_t Index = S->GetCursorValueIndex();
  double X = 0, Y = 0;
  S->GetCursorValues(X, Y);
  ZelGetChartMousePos = nullptr;
  EXPECT_EQ(Index, 2);  // taken to the whole pixel 20
  EXPECT_DOUBLE_EQ(X, -4);
  EXPECT_DOUBLE_EQ(Y, 9);
}

}  // namespace
}  // namespace zel
