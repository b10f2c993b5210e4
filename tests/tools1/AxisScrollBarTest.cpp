// The axis scroll-bar tool: the room it reserves beside its axis, the mapping between bar
// positions and the axis range in both directions, zooming by a thumb edge, the partner axis,
// presses through the chart, storage of its axis, and staying safe when axes or charts go.
#include <gtest/gtest.h>

#include "platform/Filer.h"
#include "platform/Streams.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/tools/ScrollBar.h"

namespace zel::testing {
namespace {

// A series whose X and Y values both run from 100 to 200; the tool on the bottom axis.
class AxisScrollBarTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Series->Clear();
    for (int I = 0; I <= 10; ++I) Series->AddXY(100 + 10 * I, 100 + 10 * I);
    Tool = Create<TAxisScrollBarTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Paint();
  }
  static void ExpectRange(TChartAxis* A, double Min, double Max) {
    EXPECT_NEAR(A->GetMinimum(), Min, 1e-9);
    EXPECT_NEAR(A->GetMaximum(), Max, 1e-9);
  }

  TAxisScrollBarTool* Tool = nullptr;
};

TEST_F(AxisScrollBarTest, ReservesRoomBesideItsAxisWhileActive) {
  TChartAxis* Bottom = Chart->GetBottomAxis();
  TChartAxis* Left = Chart->GetLeftAxis();
  EXPECT_EQ(Tool->GetAxis(), Bottom);  // a tool placed without an axis takes the bottom one
  EXPECT_TRUE(Tool->GetHorizontal());
  EXPECT_TRUE(Tool->GetAllowResize());
  EXPECT_EQ(Tool->GetMax(), 1000);
  EXPECT_EQ(Bottom->IExtraSpace, 18 + 5);
  Tool->SetActive(false);
  EXPECT_EQ(Bottom->IExtraSpace, 0);
  Tool->SetActive(true);
  Tool->SetSize(30);
  EXPECT_EQ(Bottom->IExtraSpace, 35);
  Tool->SetMargin(10);
  EXPECT_EQ(Bottom->IExtraSpace, 40);
  // A thumb picture makes the bar as thick as the picture is high.
  Tool->GetThumb()->SetStyle(TScrollThumbStyle::stsThumb2);
  EXPECT_EQ(Bottom->IExtraSpace, Tool->GetSize() + 10);
  EXPECT_NE(Tool->GetSize(), 30);
  Tool->SetSize(30);
  Tool->SetAxis(Left);
  EXPECT_EQ(Bottom->IExtraSpace, 0);
  EXPECT_EQ(Left->IExtraSpace, 40);
  EXPECT_FALSE(Tool->GetHorizontal());
  // A freed tool gives the room back.
  Tool->Free();
  EXPECT_EQ(Left->IExtraSpace, 0);
}

TEST_F(AxisScrollBarTest, PositionFollowsTheShownRangeAtEachPaint) {
  struct Case {
    const char* Name;
    bool Horizontal;
    double Min, Max;
    int Count, Position;
  };
  const Case Cases[] = {
      {"a tenth in the middle", true, 150, 160, 100, 500},
      // Position 0 of a vertical bar is the top of the data.
      {"vertical: a tenth", false, 150, 160, 100, 400},
      {"vertical: the top", false, 190, 200, 100, 0},
      // An axis showing more than the data gives a position outside the range, kept as it is.
      {"before the data", true, 90, 110, 200, -100},
      {"after the data", true, 195, 215, 200, 950},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TChartAxis* A = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    Tool->SetAxis(A);
    A->SetMinMax(C.Min, C.Max);
    Paint();
    EXPECT_EQ(Tool->CurrentCount(), C.Count);
    EXPECT_EQ(Tool->GetPosition(), C.Position);
    ExpectRange(A, C.Min, C.Max);
    Paint();
    EXPECT_EQ(Tool->GetPosition(), C.Position);
  }
}

TEST_F(AxisScrollBarTest, AutomaticAxisShowingTheDataStaysAutomatic) {
  TChartAxis* A = Chart->GetBottomAxis();
  ASSERT_TRUE(A->GetAutomatic());
  Paint();
  Paint();
  EXPECT_TRUE(A->GetAutomatic());
  EXPECT_EQ(Tool->GetPosition(), 0);
  EXPECT_EQ(Tool->CurrentCount(), 1000);
}

TEST_F(AxisScrollBarTest, BarLiesBesideItsAxisInsideTheChart) {
  struct Case {
    const char* Name;
    THorizAxis Horiz;
    TVertAxis Vert;
    bool Horizontal;
  };
  const Case Cases[] = {
      {"bottom", THorizAxis::aBottomAxis, TVertAxis::aLeftAxis, true},
      {"top", THorizAxis::aTopAxis, TVertAxis::aLeftAxis, true},
      {"left", THorizAxis::aBottomAxis, TVertAxis::aLeftAxis, false},
      {"right", THorizAxis::aBottomAxis, TVertAxis::aRightAxis, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Series->SetHorizAxis(C.Horiz);
    Series->SetVertAxis(C.Vert);
    TChartAxis* A = C.Horizontal ? Series->GetGetHorizAxis() : Series->GetGetVertAxis();
    Tool->SetAxis(A);
    Paint();
    Paint();
    TRectF R;
    ASSERT_TRUE(Tool->ShouldDraw(R));
    Tool->SetReferenceRect(R);
    const TRectF Bar = Tool->MainRect();
    const TRectF Axis = A->AxisRect();
    if (A == Chart->GetBottomAxis()) {
      EXPECT_GE(Bar.Top, Axis.Bottom + 5);
    } else if (A == Chart->GetTopAxis()) {
      EXPECT_LE(Bar.Bottom, Axis.Top - 5);
    } else if (A == Chart->GetLeftAxis()) {
      EXPECT_LE(Bar.Right, Axis.Left - 5);
    } else {
      EXPECT_GE(Bar.Left, Axis.Right + 4);
    }
    // The room the axis reserved keeps the bar on the chart.
    EXPECT_GE(Bar.Left, 0);
    EXPECT_GE(Bar.Top, 0);
    EXPECT_LE(Bar.Right, float(Width));
    EXPECT_LE(Bar.Bottom, float(Height));
  }
}

TEST_F(AxisScrollBarTest, PositionMovesTheAxis) {
  struct Case {
    const char* Name;
    bool Horizontal;
    int Position;
    double Min, Max;
  };
  const Case Cases[] = {
      {"start: the data minimum plus the width", true, 0, 100, 110},
      {"end", true, 900, 190, 200},
      {"vertical start: the top of the data", false, 0, 190, 200},
      {"vertical end", false, 900, 100, 110},
      {"past the end", true, 1000, 200, 210},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TChartAxis* A = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    Tool->SetAxis(A);
    A->SetMinMax(150, 160);
    Tool->SetPosition(C.Position);
    ExpectRange(A, C.Min, C.Max);
    EXPECT_FALSE(A->GetAutomatic());
  }
}

TEST_F(AxisScrollBarTest, ThumbCoversTheShownShareOfTheTrack) {
  Chart->GetBottomAxis()->SetMinMax(150, 160);
  Paint();
  TRectF R;
  ASSERT_TRUE(Tool->ShouldDraw(R));
  const float Track = R.Right - R.Left - 2 * 18;
  EXPECT_NEAR(Tool->GetThumbEnd() - Tool->GetThumbBegin(), Track / 10 + 1, 1);
  EXPECT_NEAR(Tool->GetThumbBegin(), R.Left + 18 + Track / 2, 1);
  // The bar lies below the axis' own rectangle, Margin away.
  const TRectF Axis = Chart->GetBottomAxis()->AxisRect();
  EXPECT_FLOAT_EQ(R.Bottom, Axis.Bottom + 5 + (Axis.Bottom - Axis.Top));
}

TEST_F(AxisScrollBarTest, ThumbEdgesZoomTheAxis) {
  struct Case {
    const char* Name;
    bool Horizontal, IsInc;
    double Delta, Min, Max;
  };
  const Case Cases[] = {
      // 100 positions are a tenth of the data range: 10.
      {"right edge to the right widens to the right", true, true, 100, 150, 170},
      {"left edge to the left widens to the left", true, false, -100, 140, 160},
      {"right edge to the left narrows", true, true, -50, 150, 155},
      // A vertical bar's increment edge is its bottom: the axis' minimum end.
      {"vertical bottom edge down", false, true, 100, 140, 160},
      {"vertical top edge up", false, false, -100, 150, 170},
      // A step that would cross the other end is ignored.
      {"right edge past the left edge", true, true, -300, 150, 160},
      {"left edge past the right edge", true, false, 300, 150, 160},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TChartAxis* A = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    Tool->SetAxis(A);
    A->SetMinMax(150, 160);
    Tool->InflateThumbLength(C.IsInc, C.Delta);
    ExpectRange(A, C.Min, C.Max);
  }
}

TEST_F(AxisScrollBarTest, PressesThroughTheChartScrollAndZoom) {
  TChartAxis* A = Chart->GetBottomAxis();
  A->SetMinMax(150, 160);
  Paint();
  TRectF R;
  ASSERT_TRUE(Tool->ShouldDraw(R));
  const float Y = R.Bottom + 9;
  ASSERT_LT(Y, static_cast<float>(Height));
  // The increment arrow: one position, a thousandth of the data range.
  Chart->MouseDown(TMouseButton::mbLeft, {}, R.Right - 9, Y);
  Chart->MouseUp(TMouseButton::mbLeft, {}, R.Right - 9, Y);
  EXPECT_EQ(Tool->GetPosition(), 501);
  ExpectRange(A, 150.1, 160.1);
  Paint();
  // Dragging the thumb's right edge to the right widens the range.
  const float Edge = Tool->GetThumbEnd() - 1;
  const float PerPosition = (R.Right - R.Left - 36) / 1000;
  Chart->MouseDown(TMouseButton::mbLeft, {}, Edge, Y);
  Chart->MouseMove({}, Edge + 50 * PerPosition, Y);
  Chart->MouseUp(TMouseButton::mbLeft, {}, Edge + 50 * PerPosition, Y);
  EXPECT_NEAR(A->GetMinimum(), 150.1, 0.1);
  EXPECT_NEAR(A->GetMaximum(), 165.1, 0.6);
  EXPECT_FALSE(Chart->GetZoomed());
}

TEST_F(AxisScrollBarTest, PartnerAxisOfASeriesOnBothFollows) {
  Series->SetHorizAxis(THorizAxis::aBothHorizAxis);
  Chart->GetBottomAxis()->SetMinMax(150, 160);
  Tool->SetPosition(0);
  ExpectRange(Chart->GetBottomAxis(), 100, 110);
  ExpectRange(Chart->GetTopAxis(), 100, 110);
}

TEST_F(AxisScrollBarTest, DataOfOneValueGivesNoThumbLength) {
  Series->Clear();
  Series->AddXY(5, 1);
  Series->AddXY(5, 2);
  Chart->GetBottomAxis()->SetMinMax(0, 10);
  Tool->SetPosition(300);
  EXPECT_EQ(Tool->CurrentCount(), 0);
  Tool->Reposition();
  EXPECT_EQ(Tool->GetPosition(), 0);
  Paint();  // draws without dividing by zero
}

TEST_F(AxisScrollBarTest, StoredAxisIdNamesTheAxisByItsPlace) {
  auto RoundTrip = [](TAxisScrollBarTool* From, TAxisScrollBarTool* Into) {
    TMemoryStream Stream;
    {
      TWriter W(&Stream);
      W.WriteProperties(From);
      W.WriteListEnd();
    }
    const bool Written = Stream.GetSize() > 1;
    Stream.SetPosition(0);
    TReader R(&Stream);
    R.ReadProperties(Into);
    return Written;
  };
  auto* Into = Create<TAxisScrollBarTool>(nullptr);
  Chart->GetTools()->Add(Into);
  Tool->SetAxis(Chart->GetLeftAxis());
  EXPECT_TRUE(RoundTrip(Tool, Into));
  EXPECT_EQ(Into->GetAxis(), Chart->GetLeftAxis());
  // A tool without a chart has no axis and writes none.
  auto* Loose = Create<TAxisScrollBarTool>(nullptr);
  EXPECT_FALSE(RoundTrip(Loose, Into));
  EXPECT_EQ(Into->GetAxis(), Chart->GetLeftAxis());
  Loose->Free();
}

TEST_F(AxisScrollBarTest, AxesAndChartsThatGoAwayAreLetGo) {
  // A freed custom axis is no longer used.
  TChartAxis* Custom = Chart->GetCustomAxes()->Add();
  Custom->SetHorizontal(true);
  Tool->SetAxis(Custom);
  EXPECT_EQ(Tool->GetAxis(), Custom);
  Custom->Free();
  EXPECT_EQ(Tool->GetAxis(), nullptr);
  Paint();
  Tool->SetPosition(10);
  EXPECT_EQ(Tool->CurrentCount(), 0);

  // Moving the tool to another chart takes that chart's axis at the same place.
  Tool->SetAxis(Chart->GetLeftAxis());
  auto* Other = Create<TChart>(nullptr);
  Tool->SetParentChart(Other);
  EXPECT_EQ(Tool->GetAxis(), Other->GetLeftAxis());
  EXPECT_EQ(Chart->GetLeftAxis()->IExtraSpace, 0);
  EXPECT_EQ(Other->GetLeftAxis()->IExtraSpace, 23);
  // The other chart frees its axes before its tools.
  Other->Free();
}

}  // namespace
}  // namespace zel::testing
