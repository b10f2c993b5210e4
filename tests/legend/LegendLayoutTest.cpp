// The legend's style rule, item texts and layout, on the recording canvas's fixed metrics.
#include <cstdio>

#include "legend/LegendFixture.h"
#include "platform/Exceptions.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Pens.h"

namespace zel::testing {
namespace {

using LegendLayout = LegendFixture;

TEST_F(LegendLayout, AutomaticStyleListsSeriesOrValues) {
  struct Case {
    const char* Name;
    int Active, Inactive;
    bool CheckBoxes;
    TLegendStyle Style;
    int Items;
  };
  const Case Cases[] = {
      {"two active series list the series", 2, 0, false, TLegendStyle::lsSeries, 2},
      {"one active series lists its five points", 1, 0, false, TLegendStyle::lsValues, 5},
      {"an inactive series does not count without check boxes", 1, 1, false, TLegendStyle::lsValues, 5},
      {"check boxes list every series, also inactive ones", 1, 1, true, TLegendStyle::lsSeries, 2},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TearDown();
    SetUp();
    for (int I = 0; I < C.Active; ++I) AddSeries("A" + std::to_string(I), {1, 2, 3, 4, 5});
    for (int I = 0; I < C.Inactive; ++I) AddSeries("I" + std::to_string(I), {1, 2}, false);
    Legend->SetCheckBoxes(C.CheckBoxes);
    Layout();
    EXPECT_EQ(Legend->GetInternalLegendStyle(), C.Style);
    EXPECT_EQ(Legend->ITotalItems, C.Items);
    EXPECT_EQ(Legend->ILastValue, C.Items - 1);
  }
}

TEST_F(LegendLayout, ItemTextsFollowTheStyle) {
  TChartSeries* A = AddSeries("Alpha", {10, 20, 30});
  AddSeries("Beta", {5, 6});
  Legend->SetLegendStyle(TLegendStyle::lsSeries);
  Layout();
  ASSERT_EQ(Legend->IItems.size(), 2u);
  EXPECT_EQ(Legend->IItems[0].first, "Alpha");
  EXPECT_EQ(Legend->IItems[1].first, "Beta");

  Legend->SetInverted(true);
  Layout();
  EXPECT_EQ(Legend->IItems[0].first, "Beta");

  // Values of the chosen series: one item per point, value text in the first column.
  Legend->SetInverted(false);
  Legend->SetLegendStyle(TLegendStyle::lsValues);
  Legend->SetSeries(A);
  Legend->SetTextStyle(TLegendTextStyle::ltsValue);
  Layout();
  ASSERT_EQ(Legend->IItems.size(), 3u);
  EXPECT_EQ(Legend->IItems[2].first, "30");
}

TEST_F(LegendLayout, ColumnSeparatorSplitsACustomTextIntoTwoColumns) {
  AddSeriesNamed(2);
  Chart->OnGetLegendText = [](TCustomChart*, TLegendStyle, std::int32_t Index, String& Text) {
    if (Index == 1) Text = String("left") + ZelColumnSeparator + "right";
  };
  Layout();
  ASSERT_EQ(Legend->IItems.size(), 2u);
  EXPECT_EQ(Legend->IItems[0].first, "S01");
  EXPECT_EQ(Legend->IItems[0].second, "");
  EXPECT_EQ(Legend->IItems[1].first, "left");
  EXPECT_EQ(Legend->IItems[1].second, "right");
  // The second column widens the legend: both columns are measured.
  EXPECT_GT(Legend->ColumnWidths[1], 0);
}

TEST_F(LegendLayout, FirstValueMustNotBeNegative) {
  try {
    Legend->SetFirstValue(-1);
    FAIL() << "no exception";
  } catch (const LegendException& E) {
    EXPECT_STREQ(E.what(), "First Legend Value must be > 0");
  }
  EXPECT_EQ(Legend->GetFirstValue(), 0);
  Legend->SetFirstValue(0);
  Legend->SetFirstValue(2);
  EXPECT_EQ(Legend->GetFirstValue(), 2);
}

TEST_F(LegendLayout, FirstValueSkipsLeadingItems) {
  AddSeriesNamed(5);
  Legend->SetFirstValue(2);
  Layout();
  EXPECT_EQ(Legend->ITotalItems, 3);
  EXPECT_EQ(Legend->ILastValue, 4);
  ASSERT_EQ(Legend->IItems.size(), 3u);
  EXPECT_EQ(Legend->IItems[0].first, "S03");
}

TEST_F(LegendLayout, ItemHeightGrowsForCheckBoxes) {
  AddSeriesNamed(2);
  Layout();
  EXPECT_EQ(Legend->ItemHeight, 12);
  Legend->SetCheckBoxes(true);
  Layout();
  EXPECT_EQ(Legend->ItemHeight, 17);
  Legend->SetVertSpacing(3);
  Layout();
  EXPECT_EQ(Legend->ItemHeight, 20);
}

TEST_F(LegendLayout, RightLegendTakesItsWidthAndAMarginFromTheChart) {
  AddSeriesNamed(3);
  Legend->GetShadow()->SetVisible(false);
  Layout(TRectF(50, 40, 550, 360));
  const TRectF& B = Legend->ShapeBounds;
  // Right edge: the chart rectangle's right less half the frame and one pixel.
  EXPECT_FLOAT_EQ(B.Right, 550 - 0 - 1);
  EXPECT_GT(B.Width(), 0);
  // 3 percent of the 500-pixel chart rectangle: 15 pixels more.
  EXPECT_FLOAT_EQ(Chart->ChartRect.Right, B.Left - 15);
  // The rows start TopPos (10) percent down the chart rectangle.
  EXPECT_FLOAT_EQ(B.Top, 40 + 0.1f * 320);
  // Three rows of 12 pixels, a tenth of a row above and below, the frame and 2 pixels.
  EXPECT_FLOAT_EQ(B.Height(), 3 * 12 + 2 * 1 + 1 + 2);
}

TEST_F(LegendLayout, EachAlignmentTakesRoomFromItsSide) {
  struct Case {
    TLegendAlignment Align;
    int Margin;  // HorizMargin or VertMargin
  };
  const Case Cases[] = {{TLegendAlignment::laLeft, 7},
                        {TLegendAlignment::laRight, 7},
                        {TLegendAlignment::laTop, 9},
                        {TLegendAlignment::laBottom, 9}};
  AddSeriesNamed(3);
  Legend->GetShadow()->SetVisible(false);
  Chart->GetShadow()->SetVisible(false);
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Align));
    Legend->SetAlignment(C.Align);
    Legend->SetHorizMargin(C.Margin);
    Legend->SetVertMargin(C.Margin);
    Layout(TRectF(50, 40, 550, 360));
    const TRectF& B = Legend->ShapeBounds;
    const TRectF& R = Chart->ChartRect;
    switch (C.Align) {
      case TLegendAlignment::laLeft:
        EXPECT_FLOAT_EQ(R.Left, B.Right + 7);
        EXPECT_FLOAT_EQ(R.Right, 550);
        break;
      case TLegendAlignment::laRight:
        EXPECT_FLOAT_EQ(R.Right, B.Left - 7);
        EXPECT_FLOAT_EQ(R.Left, 50);
        break;
      case TLegendAlignment::laTop:
        EXPECT_FLOAT_EQ(R.Top, B.Bottom + 9);
        EXPECT_FLOAT_EQ(R.Bottom, 360);
        break;
      case TLegendAlignment::laBottom:
        EXPECT_FLOAT_EQ(R.Bottom, B.Top - 9);
        EXPECT_FLOAT_EQ(R.Top, 40);
        break;
    }
  }
}

TEST_F(LegendLayout, NoRoomTakenWithoutResizeChartOrAtACustomPosition) {
  AddSeriesNamed(3);
  Legend->SetResizeChart(false);
  Layout();
  EXPECT_FLOAT_EQ(Chart->ChartRect.Right, 550);
  Legend->SetResizeChart(true);
  Legend->SetLeft(20);
  Legend->SetTop(30);
  Layout();
  EXPECT_FLOAT_EQ(Chart->ChartRect.Right, 550);
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Left, 20);
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Top, 30);
}

TEST_F(LegendLayout, NothingToShowKeepsBoundsAndTakesNoRoom) {
  Legend->ShapeBounds = TRectF(1, 2, 3, 4);
  Layout();
  EXPECT_EQ(Legend->ITotalItems, 0);
  EXPECT_LT(Legend->ILastValue, Legend->GetFirstValue());
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Left, 1);
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Bottom, 4);
  EXPECT_FLOAT_EQ(Chart->ChartRect.Right, 550);
  EXPECT_FALSE(Legend->ShouldDraw());
}

TEST_F(LegendLayout, UnjustifiedRowWithoutRoomShowsNothingAndTakesNoRoom) {
  // one item of 40 characters (280 pixels) on a chart 200 pixels wide, justification refused
  AddSeries("A title far too long for this narrow one");
  AddSeries("B");
  Legend->SetAlignment(TLegendAlignment::laTop);
  Legend->SetHorizJustify(TLegendJustify::ljNo);
  Legend->ShapeBounds = TRectF(1, 2, 3, 4);
  Layout(TRectF(10, 10, 190, 390), TRectF(0, 0, 200, 400));
  EXPECT_EQ(Legend->NumCols, 0);
  EXPECT_LT(Legend->ILastValue, Legend->GetFirstValue());
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Top, 2);
  EXPECT_FLOAT_EQ(Chart->ChartRect.Top, 10);
  Rec.ClearRecords();
  Legend->DrawLegend();
  EXPECT_TRUE(DrawnTexts().empty());
}

TEST_F(LegendLayout, VerticalLegendShowsTheRowsThatFit) {
  AddSeriesNamed(30);
  // 320 pixels of chart height; the rows start 10 percent (32 pixels) down and the frame takes
  // one: 287 pixels hold 23 rows of 12.
  Layout();
  EXPECT_EQ(Legend->NumRows, 23);
  EXPECT_EQ(Legend->ILastValue, 22);
  Legend->SetMaxNumRows(4);
  Layout();
  EXPECT_EQ(Legend->NumRows, 4);
  EXPECT_EQ(Legend->ILastValue, 3);
}

TEST_F(LegendLayout, HorizontalLegendIsJustifiedWhenItemsNeedSeveralRows) {
  struct Case {
    int Series;
    int Rows;
    int LastValue;
  };
  // Chart bounds 200 pixels wide: three equal columns fit.
  const Case Cases[] = {{25, 9, 24}, {40, 10, 29}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Series);
    TearDown();
    SetUp();
    AddSeriesNamed(C.Series);
    Legend->SetAlignment(TLegendAlignment::laTop);
    Layout(TRectF(10, 10, 190, 390), TRectF(0, 0, 200, 400));
    EXPECT_TRUE(Legend->IJustify);
    EXPECT_EQ(Legend->NumCols, 3);
    EXPECT_EQ(Legend->NumRows, C.Rows);
    EXPECT_EQ(Legend->ILastValue, C.LastValue);
  }
}

TEST_F(LegendLayout, HorizontalLegendOnOneRowFlowsUnjustified) {
  AddSeriesNamed(3);
  Legend->SetAlignment(TLegendAlignment::laBottom);
  Legend->GetShadow()->SetVisible(false);
  Layout();
  EXPECT_FALSE(Legend->IJustify);
  EXPECT_EQ(Legend->NumCols, 3);
  EXPECT_EQ(Legend->NumRows, 1);
  // Centred on the chart rectangle, above its bottom by half the frame and one pixel.
  const TRectF& B = Legend->ShapeBounds;
  EXPECT_NEAR((B.Left + B.Right) / 2, Chart->GetChartXCenter(), 1);
  EXPECT_FLOAT_EQ(B.Bottom, 360 - 1);
  // The chart keeps 4 percent of its height free above the legend.
  EXPECT_FLOAT_EQ(Chart->ChartRect.Bottom, B.Top - 320 * 4 / 100);
}

TEST_F(LegendLayout, CheckBoxesPlaceTheBoxBeforeSymbolAndText) {
  AddSeriesNamed(2);
  Legend->SetCheckBoxes(true);
  Layout();
  EXPECT_EQ(Legend->XLegendBox, Round(Legend->ShapeBounds.Left) + 4);
  EXPECT_LT(Legend->XLegendBox + 11, Legend->XLegendColor);
  EXPECT_LT(Legend->XLegendColor, Legend->XLegendText);
  // The symbol placed right of the texts comes after them.
  Legend->GetSymbol()->SetPosition(TLegendSymbolPosition::spRight);
  Layout();
  EXPECT_GT(Legend->XLegendColor, Legend->XLegendText);
}

TEST_F(LegendLayout, TitleWidensAndHeightensTheLegend) {
  AddSeriesNamed(2);
  Legend->GetShadow()->SetVisible(false);
  Layout();
  const TRectF Plain = Legend->ShapeBounds;
  Legend->GetTitle()->SetCaption("A rather long legend title");
  Layout();
  EXPECT_TRUE(Legend->IDrawTitle);
  EXPECT_GE(Legend->ShapeBounds.Width(), Legend->TitleWidth());
  EXPECT_GT(Legend->ShapeBounds.Width(), Plain.Width());
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Height(), Plain.Height() + 12 + 4);
}

TEST_F(LegendLayout, LegendRectEventMayReplaceTheRectangle) {
  AddSeriesNamed(2);
  Chart->OnGetLegendRect = [](TCustomChart*, TRectF& R) { R = TRectF(5, 6, 105, 206); };
  Legend->SetResizeChart(false);
  Layout();
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Left, 5);
  EXPECT_FLOAT_EQ(Legend->ShapeBounds.Bottom, 206);
}

TEST_F(LegendLayout, StaleSeriesReferenceFallsBackToTheFirstActiveSeries) {
  TChartSeries* A = AddSeries("A");
  TChartSeries* B = AddSeries("B");
  Legend->SetSeries(B);
  EXPECT_EQ(Legend->GetLegendSeries(), B);
  Chart->RemoveSeries(B);
  EXPECT_EQ(Legend->GetLegendSeries(), A);
  B->Free();
}

}  // namespace
}  // namespace zel::testing
