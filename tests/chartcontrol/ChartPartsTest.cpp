// The chart's walls, titles and legend as the chart uses them: creation, stacking, clicks,
// check boxes, the back colour and the wall sizes next to the axes.
#include <gtest/gtest.h>

#include "platform/Filer.h"
#include "platform/StringList.h"
#include "platform/Streams.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/SeriesLegend.h"

namespace zel::testing {
namespace {

class ChartPartsTest : public ChartFixture {
 protected:
  // A point of the chart where the legend reports Item, found by scanning its bounds.
  bool LegendPoint(std::int32_t Item, TPointF& P) {
    const TRectF R = Chart->GetLegend()->GetRectLegend();
    for (int Y = Round(R.Top); Y <= Round(R.Bottom); ++Y)
      for (int X = Round(R.Left); X <= Round(R.Right); ++X)
        if (Chart->GetLegend()->Clicked(X, Y) == Item) {
          P = TPointF(static_cast<float>(X), static_cast<float>(Y));
          return true;
        }
    return false;
  }
  static TPointF CentreOf(const TRectF& R) { return TPointF((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
};

TEST_F(ChartPartsTest, DrawingCreatesNoTitles) {
  TPointF Corner(1, 1);
  TChartClickedPart P;
  Chart->CalcClickedPart(Corner, P);
  Chart->CalcClickedPart(TPointF(0, 0), P);
  EXPECT_EQ(Chart->ExistingTitle(), nullptr);
  EXPECT_EQ(Chart->ExistingSubTitle(), nullptr);
  EXPECT_EQ(Chart->ExistingFoot(), nullptr);
  EXPECT_EQ(Chart->ExistingSubFoot(), nullptr);
  EXPECT_NE(Chart->GetLegend(), nullptr);
  EXPECT_NE(Chart->GetWalls(), nullptr);
  EXPECT_EQ(Chart->GetWalls()->ExistingRight(), nullptr);
}

TEST_F(ChartPartsTest, WritingNilFreesATitleAndReadingMakesAFreshOne) {
  Chart->GetSubTitle()->SetCaption("Old");
  Chart->SetSubTitle(nullptr);
  EXPECT_EQ(Chart->ExistingSubTitle(), nullptr);
  EXPECT_EQ(Chart->GetSubTitle()->GetCaption(), "");
  // Feet are foot titles: below the chart.
  EXPECT_FALSE(Chart->GetFoot()->GetOnTop());
  EXPECT_TRUE(Chart->GetTitle()->GetOnTop());
}

TEST_F(ChartPartsTest, TitlesStackAroundTheChartRectangle) {
  Chart->GetTitle()->SetCaption("Title");
  Chart->GetSubTitle()->SetCaption("Sub");
  Chart->GetFoot()->SetCaption("Foot");
  Chart->GetSubFoot()->SetCaption("Subfoot");
  Paint();
  const TRectF T = Chart->GetTitle()->GetShapeBounds();
  const TRectF S = Chart->GetSubTitle()->GetShapeBounds();
  const TRectF F = Chart->GetFoot()->GetShapeBounds();
  const TRectF SF = Chart->GetSubFoot()->GetShapeBounds();
  const TRectF CR = Chart->GetChartRect();
  EXPECT_LE(T.Bottom, S.Top);
  EXPECT_LE(S.Bottom, CR.Top);
  EXPECT_LE(CR.Bottom, SF.Top);
  EXPECT_LE(SF.Bottom, F.Top);
}

TEST_F(ChartPartsTest, PressOnATitleFiresOnClickTitle) {
  struct Case {
    TChartTitle* Title;
    TChartClickedPartStyle Part;
  };
  const Case Cases[] = {{Chart->GetTitle(), TChartClickedPartStyle::cpTitle},
                        {Chart->GetSubTitle(), TChartClickedPartStyle::cpSubTitle},
                        {Chart->GetFoot(), TChartClickedPartStyle::cpFoot},
                        {Chart->GetSubFoot(), TChartClickedPartStyle::cpSubFoot}};
  for (const Case& C : Cases) C.Title->SetCaption("Some title");
  Paint();
  TChartTitle* Clicked = nullptr;
  Chart->OnClickTitle = [&](TCustomChart*, TChartTitle* T, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
    Clicked = T;
  };
  for (const Case& C : Cases) {
    TChartTitle* T = C.Title;
    const TPointF P = CentreOf(T->GetShapeBounds());
    TChartClickedPart Part;
    Chart->CalcClickedPart(P, Part);
    EXPECT_EQ(Part.Part, C.Part);
    Clicked = nullptr;
    Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
    EXPECT_EQ(Clicked, T);
    EXPECT_FALSE(Chart->GetZoom()->GetActive());
    Chart->MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
  }
}

TEST_F(ChartPartsTest, LegendCheckBoxSwitchesTheSeries) {
  TPointSeries* Second = AddSeries({1, 2}, {5, 6});
  Chart->GetLegend()->SetCheckBoxes(true);
  Paint();
  TPointF P;
  ASSERT_TRUE(LegendPoint(1, P));
  TChartClickedPart Part;
  Chart->CalcClickedPart(P, Part);
  EXPECT_EQ(Part.Part, TChartClickedPartStyle::cpLegend);
  EXPECT_EQ(Part.PointIndex, 1);

  Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
  Chart->MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
  EXPECT_FALSE(Second->GetActive());
  EXPECT_TRUE(Series->GetActive());
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
  Chart->MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
  EXPECT_TRUE(Second->GetActive());
}

TEST_F(ChartPartsTest, OnClickLegendDecidesWhetherTheBackgroundFollows) {
  AddSeries({1, 2}, {5, 6});
  Paint();
  TPointF P;
  ASSERT_TRUE(LegendPoint(0, P));
  for (bool Keep : {true, false}) {
    int Legend = 0, Background = 0;
    Chart->OnClickLegend = [&](TCustomChart*, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
      ++Legend;
      Chart->SetCancelMouse(Keep);
    };
    Chart->OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
      ++Background;
    };
    Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
    Chart->MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
    EXPECT_EQ(Legend, 1);
    EXPECT_EQ(Background, Keep ? 0 : 1);
  }
}

TEST_F(ChartPartsTest, LegendTextPassesThroughOnGetLegendText) {
  Series->SetTitle("Volts");
  Chart->GetLegend()->SetLegendStyle(TLegendStyle::lsSeries);
  Chart->OnGetLegendText = [](TCustomChart*, TLegendStyle, std::int32_t Index, String& Text) {
    Text = Text + " #" + std::to_string(Index);
  };
  Chart->GetLegend()->CalcLegendStyle();
  EXPECT_EQ(Chart->FormattedLegend(0), "Volts #0");
}

TEST_F(ChartPartsTest, BackColorFollowsAnOpaqueBackWall) {
  TChartWall* Back = Chart->GetBackWall();
  EXPECT_TRUE(Back->GetTransparent());
  EXPECT_EQ(Chart->GetBackColor(), Chart->GetColor());
  Back->SetTransparent(false);
  Back->SetColor(0xFF336699);
  EXPECT_EQ(Chart->GetBackColor(), 0xFF336699u);
  Chart->SetView3DWalls(false);
  EXPECT_EQ(Chart->GetBackColor(), Chart->GetColor());
}

TEST_F(ChartPartsTest, OldStreamsMaySetTheBackColor) {
  struct Case {
    std::function<void(TWriter&)> Value;
    TAlphaColor Expect;
  };
  const Case Cases[] = {
      {[](TWriter& W) { W.WriteInteger(0xFF00FF00); }, 0xFF00FF00},
      {[](TWriter& W) { W.WriteIdent("claRed"); }, 0xFFFF0000},
      {[](TWriter& W) { W.WriteIdent("clWhite"); }, 0xFFFFFFFF},
      {[](TWriter& W) { W.WriteIdent("#FF102030"); }, 0xFF102030},
  };
  for (const Case& C : Cases) {
    TMemoryStream S;
    {
      TWriter W(&S);
      W.WritePropName("BackColor");
      C.Value(W);
      W.WriteListEnd();
    }
    S.SetPosition(0);
    TOwned<TChart> B(Create<TChart>(nullptr));
    TReader R(&S);
    R.ReadProperties(B.get());
    R.ReadListEnd();
    EXPECT_EQ(B->GetBackWall()->GetColor(), C.Expect);
  }
}

TEST_F(ChartPartsTest, BackgroundColoursAreNotFreeForSeries) {
  Chart->GetBackWall()->SetColor(0xFF445566);
  EXPECT_FALSE(Chart->IsFreeSeriesColor(0xFF445566, true, nullptr));
  EXPECT_TRUE(Chart->IsFreeSeriesColor(0xFF445566, false, nullptr));
  EXPECT_FALSE(Chart->IsFreeSeriesColor(Chart->GetColor(), true, nullptr));
  EXPECT_FALSE(Chart->IsFreeSeriesColor(Series->GetSeriesColor(), false, nullptr));
  EXPECT_TRUE(Chart->IsFreeSeriesColor(Series->GetSeriesColor(), false, Series));
}

TEST_F(ChartPartsTest, WallSizeNextToEachAxis) {
  Chart->GetWalls()->GetLeft()->SetSize(5);
  Chart->GetWalls()->GetBottom()->SetSize(6);
  Chart->GetWalls()->GetBack()->SetSize(7);
  struct Case {
    bool View3D;
    TChartAxis* Axis;
    std::int32_t Expect;
  };
  const Case Cases[] = {
      {false, Chart->GetLeftAxis(), 0},  {true, Chart->GetLeftAxis(), 5}, {true, Chart->GetBottomAxis(), 6},
      {true, Chart->GetTopAxis(), 7},    {true, Chart->GetRightAxis(), 0},  // the right wall was never made
  };
  for (const Case& C : Cases) {
    Chart->SetView3D(C.View3D);
    EXPECT_EQ(Chart->CalcWallSize(C.Axis), C.Expect);
  }
  EXPECT_EQ(Chart->GetWalls()->ExistingRight(), nullptr);
  Chart->GetWalls()->GetLeft()->SetVisible(false);
  EXPECT_EQ(Chart->CalcWallSize(Chart->GetLeftAxis()), 0);
}

TEST_F(ChartPartsTest, AssignCopiesTitlesLegendAndWalls) {
  TOwned<TChart> B(Create<TChart>(nullptr));
  B->GetFoot()->SetCaption("old foot");
  Chart->GetTitle()->SetCaption("Copied");
  Chart->GetLegend()->SetCheckBoxes(true);
  Chart->GetWalls()->GetLeft()->SetSize(9);
  B->Assign(Chart);
  ASSERT_NE(B->ExistingTitle(), nullptr);
  EXPECT_EQ(B->GetTitle()->GetCaption(), "Copied");
  EXPECT_EQ(B->ExistingFoot(), nullptr);  // the source has none
  EXPECT_TRUE(B->GetLegend()->GetCheckBoxes());
  EXPECT_EQ(B->GetWalls()->GetLeft()->GetSize(), 9);
}

TEST_F(ChartPartsTest, FlatChartDrawsOnlyTheBackWall) {
  // A 2D chart: the opaque back wall fills the chart rectangle; no other wall is drawn.
  Chart->GetBackWall()->SetTransparent(false);
  Chart->GetBackWall()->SetColor(0xFF00FF00);
  Chart->GetWalls()->GetLeft()->SetColor(0xFFFF0000);
  TOwned<TBitmap> Bmp(PaintToBitmap(Chart));
  ASSERT_NE(Bmp.get(), nullptr);
  const TRectF CR = Chart->GetChartRect();
  int Inside = 0, Green = 0, Red = 0;
  for (int Y = Round(CR.Top) + 2; Y < Round(CR.Bottom) - 2; ++Y)
    for (int X = Round(CR.Left) + 2; X < Round(CR.Right) - 2; ++X) {
      const TAlphaColor P = Bmp->GetPixel(X, Y) & 0xFFFFFFu;
      ++Inside;
      Green += P == 0x00FF00u;
      Red += P == 0xFF0000u;
    }
  // Grid lines cross the wall; most of it shows.
  EXPECT_GT(Green, Inside / 2);
  EXPECT_EQ(Red, 0);
}

}  // namespace
}  // namespace zel::testing

namespace zel::testing {
namespace {

TEST_F(ChartPartsTest, CursorShowsAHandOverASelectableLegendItem) {
  AddSeries({1, 2}, {5, 6});
  Chart->GetLegend()->GetSelected()->SetVisible(true);  // visible selection makes items clickable
  Chart->SetOriginalCursor(crCross);
  Paint();
  TPointF P;
  ASSERT_TRUE(LegendPoint(0, P));
  Chart->MouseMove({}, P.X, P.Y);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  const TPointF Empty = Inside(5, 5);
  Chart->MouseMove({}, Empty.X, Empty.Y);
  EXPECT_EQ(Chart->GetCursor(), crCross);
}

// In 3D the left, bottom and back walls frame the series; each opaque wall's colour shows.
TEST_F(ChartPartsTest, ThreeDimensionalChartDrawsItsWalls) {
  Chart->SetView3D(true);
  Chart->GetBackWall()->SetTransparent(false);
  struct Case {
    TChartWall* Wall;
    TAlphaColor Color;
  };
  const Case Cases[] = {{Chart->GetBackWall(), 0xFF00FF00},
                        {Chart->GetLeftWall(), 0xFFFF0000},
                        {Chart->GetBottomWall(), 0xFF0000FF}};
  for (const Case& C : Cases) {
    C.Wall->SetColor(C.Color);
    C.Wall->GetBrush()->SetKind(TBrushKind::Solid);
  }
  TOwned<TBitmap> Bmp(PaintToBitmap(Chart));
  ASSERT_NE(Bmp.get(), nullptr);
  for (const Case& C : Cases) {
    int Count = 0;
    for (int Y = 0; Y < Bmp->GetHeight(); ++Y)
      for (int X = 0; X < Bmp->GetWidth(); ++X) Count += (Bmp->GetPixel(X, Y) & 0xFFFFFFu) == (C.Color & 0xFFFFFFu);
    EXPECT_GT(Count, 20) << std::hex << C.Color;
  }
}

TEST(ChartCreation, HookReplacesThePaletteChoice) {
  int Calls = 0;
  ZelNewChartHook = [&](TCustomChart*) { ++Calls; };
  TOwned<TChart> C(Create<TChart>(nullptr));
  ZelNewChartHook = nullptr;
  // Outside design time the hook is not called and the chart keeps index 0.
  EXPECT_EQ(Calls, 0);
  EXPECT_EQ(C->GetColorPaletteIndex(), 0);
  EXPECT_TRUE(C->ColorPalette.empty());
}

}  // namespace
}  // namespace zel::testing

namespace zel::testing {
namespace {

// The legend lists the values of the only series: hovering an item hovers that point too.
TEST_F(ChartPartsTest, HoverOnAValuesLegendMarksThePoint) {
  ASSERT_TRUE(Chart->GetHover()->GetVisible());
  Chart->GetLegend()->GetSelected()->SetVisible(true);
  Paint();
  ASSERT_EQ(Chart->GetLegend()->GetInternalLegendStyle(), TLegendStyle::lsValues);
  TPointF P;
  ASSERT_TRUE(LegendPoint(2, P));
  Chart->MouseMove({}, P.X, P.Y);
  ASSERT_NE(Series->ExistingSelected(), nullptr);
  EXPECT_EQ(Series->ExistingSelected()->GetHoverIndex(), 2);
  EXPECT_EQ(Chart->GetLegend()->ExistingSelected()->GetHoverIndex(), 2);
}

// Over a series legend, the legend hovers the entry of the last series the mouse hovers.
TEST_F(ChartPartsTest, HoverOnASeriesLegendFollowsTheHoveredSeries) {
  TPointSeries* Second = AddSeries({1, 3}, {50, 70});
  Second->GetSelected();
  Chart->GetLegend()->GetSelected()->SetVisible(true);
  Paint();
  ASSERT_EQ(Chart->GetLegend()->GetInternalLegendStyle(), TLegendStyle::lsSeries);
  Chart->MouseMove({}, static_cast<float>(Second->CalcXPos(0)), static_cast<float>(Second->CalcYPos(0)));
  EXPECT_EQ(Second->ExistingSelected()->GetHoverIndex(), 0);
  EXPECT_EQ(Chart->GetLegend()->ExistingSelected()->GetHoverIndex(), Chart->IndexOfSeries(Second));
  const TPointF Empty = Inside(5, 5);
  Chart->MouseMove({}, Empty.X, Empty.Y);
  EXPECT_EQ(Chart->GetLegend()->ExistingSelected()->GetHoverIndex(), -1);
}

}  // namespace
}  // namespace zel::testing
