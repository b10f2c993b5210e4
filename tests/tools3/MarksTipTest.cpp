// The marks tip tool: the tip's text and place (also near the chart's edges), the hide timer
// (driven by calling its tick), the mouse action, platform hints, two tools on one chart and the
// tip on the chart's picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ExtCtrls.h"
#include "tests/tools3/Tools3Fixture.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/tools/MarksTip.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

class MarksTipTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    // A tip needs a chart placed on a parent.
    Parent = Create<TControl>(nullptr);
    Parent->SetBounds(0, 0, 600, 500);
    Chart->SetParent(Parent);
    Tool = Create<TMarksTipTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Paint();
  }
  void TearDown() override {
    Tools3Fixture::TearDown();
    FreeAndNil(Parent);
  }
  void MoveTo(TPointF P) { Chart->MouseMove({}, P.X, P.Y); }
  TTextShape* Tip() const { return Tool->GetFormat(); }

  TControl* Parent = nullptr;
  TMarksTipTool* Tool = nullptr;
};

TEST_F(MarksTipTest, MovingOntoAPointShowsItsTextBelowTheMouseUntilTheTimerTicks) {
  Series->SetXLabel(3, "peak");
  const TPointF P = PointOf(Series, 1);
  MoveTo(P);
  ASSERT_TRUE(Tip()->GetVisible());
  EXPECT_EQ(Tip()->GetText(), "40");  // no label: the value
  EXPECT_FLOAT_EQ(Tip()->ShapeBounds.Left, P.X);
  EXPECT_FLOAT_EQ(Tip()->ShapeBounds.Top, P.Y + 16);
  EXPECT_GT(Tip()->GetWidth(), 0);

  MoveTo(PointOf(Series, 3));
  EXPECT_EQ(Tip()->GetText(), "peak");
  TTimer* T = Tool->ExistingTimer();
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->GetEnabled());
  EXPECT_EQ(T->GetInterval(), 2500u);
  int Cancels = 0;
  Tool->OnCancelHint = [&](TObject*) { ++Cancels; };
  T->Timer();  // the delay is over, the mouse has not moved
  EXPECT_FALSE(Tip()->GetVisible());
  EXPECT_FALSE(T->GetEnabled());
  EXPECT_EQ(Cancels, 1);
}

TEST_F(MarksTipTest, ATipLeavesTheChartsAutoRepaintAsItWas) {
  for (const bool Auto : {false, true}) {
    Tool->HideHint();
    Chart->SetAutoRepaint(Auto);
    MoveTo(PointOf(Series, 1 + int(Auto)));
    ASSERT_TRUE(Tip()->GetVisible()) << Auto;
    EXPECT_EQ(Chart->GetAutoRepaint(), Auto);
  }
}

TEST_F(MarksTipTest, ATipNearAnEdgeIsKeptInsideTheChart) {
  struct Case {
    const char* Name;
    int Point;
    bool Left, Up;  // moved left of the mouse, moved above the mouse's 16 px
  };
  // Point 5 lies at the right end of the chart rectangle, point 0 at its bottom.
  Chart->GetLegend()->SetVisible(false);
  Chart->GetBottomAxis()->SetVisible(false);
  Chart->GetBottomAxis()->SetMinMax(0, 10);
  Chart->GetLeftAxis()->SetMinMax(0, 100);
  Paint();
  const Case Cases[] = {{"middle", 2, false, false}, {"right edge", 5, true, false}, {"bottom edge", 0, false, true}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Tool->HideHint();
    const TPointF P = PointOf(Series, C.Point);
    MoveTo(P);
    ASSERT_TRUE(Tip()->GetVisible());
    const TRectF B = Tip()->ShapeBounds;
    SCOPED_TRACE(::testing::Message() << "mouse " << P.X << "," << P.Y << " tip " << B.Left << "," << B.Top << "-" << B.Right
                                    << "," << B.Bottom);
    if (C.Left)
      EXPECT_FLOAT_EQ(B.Right, Chart->GetWidth() - 1);  // ends 1 px inside the chart
    else
      EXPECT_FLOAT_EQ(B.Left, P.X);
    if (C.Up)
      EXPECT_FLOAT_EQ(B.Bottom, P.Y + 16);
    else
      EXPECT_FLOAT_EQ(B.Top, P.Y + 16);
  }
}

TEST_F(MarksTipTest, WithoutDelayTheTipStaysUntilThePointOrTheChartIsLeft) {
  Tool->SetHideDelay(0);
  MoveTo(PointOf(Series, 2));
  EXPECT_EQ(Tool->ExistingTimer(), nullptr);
  ASSERT_TRUE(Tip()->GetVisible());
  MoveTo(Inside(30, 30));  // off every point
  EXPECT_FALSE(Tip()->GetVisible());

  MoveTo(PointOf(Series, 2));
  ASSERT_TRUE(Tip()->GetVisible());
  Chart->DoMouseLeave();
  EXPECT_FALSE(Tip()->GetVisible());

  // With a delay, leaving the chart leaves the tip to the timer.
  Tool->SetHideDelay(2500);
  MoveTo(PointOf(Series, 2));
  Chart->DoMouseLeave();
  EXPECT_TRUE(Tip()->GetVisible());
}

TEST_F(MarksTipTest, WithTheClickActionOnlyAPressShowsATip) {
  Tool->SetMouseAction(TMarkToolMouseAction::mtmClick);
  const TPointF P = PointOf(Series, 4);
  MoveTo(P);
  EXPECT_FALSE(Tip()->GetVisible());
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  EXPECT_TRUE(Tip()->GetVisible());
  Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y);
  // Changing the action takes the tip away.
  Tool->SetMouseAction(TMarkToolMouseAction::mtmMove);
  EXPECT_FALSE(Tip()->GetVisible());
}

TEST_F(MarksTipTest, TheTextComesInTheToolsStyleThroughOnGetText) {
  Series->GetMarks()->SetStyle(TSeriesMarksStyle::smsValue);
  Tool->SetStyle(TSeriesMarksStyle::smsXValue);
  String Seen;
  TMarksTipTool* Sender = nullptr;
  Tool->OnGetText = [&](TMarksTipTool* S, String& Text) {
    Seen = Text;
    Sender = S;
    Text = "x=" + Text;
  };
  MoveTo(PointOf(Series, 3));
  EXPECT_EQ(Seen, "6");
  EXPECT_EQ(Sender, Tool);
  EXPECT_EQ(Tip()->GetText(), "x=6");
  EXPECT_EQ(Series->GetMarks()->GetStyle(), TSeriesMarksStyle::smsValue);

  // Platform hints: the text is still made, nothing is shown and no timer runs.
  Tool->HideHint();
  Tool->SetSystemHints(true);
  Seen.clear();
  MoveTo(PointOf(Series, 1));
  EXPECT_EQ(Seen, "2");
  EXPECT_FALSE(Tip()->GetVisible());
  EXPECT_EQ(Tool->ExistingTimer()->GetEnabled(), true);  // from the first tip, not restarted
}

TEST_F(MarksTipTest, AMissOfOneOfTwoToolsHidesNoTip) {
  auto* Other = Create<TMarksTipTool>(nullptr);
  Chart->GetTools()->Add(Other);
  Other->SetSeries(AddSeries({1, 3}, {10, 90}));
  Paint();
  MoveTo(PointOf(Series, 2));
  ASSERT_TRUE(Tip()->GetVisible());
  MoveTo(Inside(30, 30));
  EXPECT_TRUE(Tip()->GetVisible());
}

TEST_F(MarksTipTest, AShownTipIsOnTheChartsPictureAndDeactivatingHidesIt) {
  Tool->OnGetText = [](TMarksTipTool*, String& Text) { Text = "tip one"; };
  MoveTo(PointOf(Series, 1));
  PaintRec();
  const std::vector<String> Texts = Rec.Texts();
  EXPECT_NE(std::find(Texts.begin(), Texts.end(), "tip one"), Texts.end());
  Tool->SetActive(false);
  EXPECT_FALSE(Tip()->GetVisible());
  PaintRec();
  const std::vector<String> After = Rec.Texts();
  EXPECT_EQ(std::find(After.begin(), After.end(), "tip one"), After.end());
}

}  // namespace
}  // namespace zel::testing
