// The axis arrow tool: which presses hit its arrows, how far a click scrolls and in which
// direction, the chart's veto and scroll event, the partner axis, hovering, and where the arrows
// are drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "platform/Services.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/tools/AxisArrow.h"

namespace zel::testing {
namespace {

class AxisArrowTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Chart->SetBufferedDisplay(false);
    Tool = Create<TAxisArrowTool>(nullptr);
    Tool->SetAxis(Chart->GetBottomAxis());
    Chart->GetBottomAxis()->SetMinMax(0, 100);
    Paint();
  }
  // A point of axis A, Along pixels from its start (negative: from its end), Across pixels
  // beside its line.
  static TPointF At(TChartAxis* A, int Along, int Across = 0) {
    const int B = Along >= 0 ? A->IStartPos + Along : A->IEndPos + Along;
    const int C = A->GetPosAxis() + Across;
    return A->GetHorizontal() ? TPointF(float(B), float(C)) : TPointF(float(C), float(B));
  }
  void Click(TPointF P) {
    Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
    Chart->MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
  }
  static void ExpectRange(TChartAxis* A, double Min, double Max) {
    EXPECT_NEAR(A->GetMinimum(), Min, 1e-9);
    EXPECT_NEAR(A->GetMaximum(), Max, 1e-9);
  }

  TAxisArrowTool* Tool = nullptr;
};

TEST_F(AxisArrowTest, ClicksScrollByAShareOfTheVisibleRange) {
  struct Case {
    const char* Name;
    bool AtStart, Inverted;
    int Percent;
    double Min, Max;
  };
  const Case Cases[] = {
      {"start arrow", true, false, 10, 10, 110},
      {"end arrow", false, false, 10, -10, 90},
      {"start arrow, scroll inverted", true, true, 10, -10, 90},
      {"end arrow, scroll inverted", false, true, 10, 10, 110},
      {"start arrow, 25 percent", true, false, 25, 25, 125},
  };
  TChartAxis* A = Chart->GetBottomAxis();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    A->SetMinMax(0, 100);
    Paint();
    Tool->SetScrollInverted(C.Inverted);
    Tool->SetScrollPercent(C.Percent);
    std::vector<bool> Clicks;
    int Scrolls = 0;
    Tool->OnClick = [&](TAxisArrowTool* Sender, bool AtStart) {
      EXPECT_EQ(Sender, Tool);
      Clicks.push_back(AtStart);
    };
    Chart->OnScroll = [&](TObject*) { ++Scrolls; };
    Click(At(A, C.AtStart ? 8 : -8));
    ExpectRange(A, C.Min, C.Max);
    EXPECT_EQ(Clicks, std::vector<bool>{C.AtStart});
    EXPECT_EQ(Scrolls, 1);
    EXPECT_FALSE(Chart->GetZoomed());
  }
}

TEST_F(AxisArrowTest, HitTestAcrossAndAlongTheAxis) {
  struct Case {
    const char* Name;
    bool Vertical;
    int HeadWidth;
    TAxisArrowToolPosition Position;
    int Along, Across, Expected;
  };
  using P = TAxisArrowToolPosition;
  const Case Cases[] = {
      {"on the start arrow", false, 8, P::aaBoth, 8, 0, 0},
      {"on the end arrow", false, 8, P::aaBoth, -8, 0, 1},
      {"3 px beside the line", false, 8, P::aaBoth, 8, 3, 0},
      {"4 px beside: half the head width is the limit", false, 8, P::aaBoth, 8, -4, -1},
      {"wide heads reach further", false, 12, P::aaBoth, 8, 5, 0},
      {"narrow heads still reach 2 px", false, 4, P::aaBoth, 8, 2, 0},
      {"narrow heads: 3 px is out", false, 4, P::aaBoth, 8, 3, -1},
      {"the axis' first pixel is not on the arrow", false, 8, P::aaBoth, 0, 0, -1},
      {"the arrow's last pixel", false, 8, P::aaBoth, 15, 0, 0},
      {"just past the arrow", false, 8, P::aaBoth, 16, 0, -1},
      {"the middle of the axis", false, 8, P::aaBoth, 60, 0, -1},
      {"start of an end-only tool", false, 8, P::aaEnd, 8, 0, -1},
      {"end of a start-only tool", false, 8, P::aaStart, -8, 0, -1},
      {"vertical axis: start", true, 8, P::aaBoth, 8, 2, 0},
      {"vertical axis: end", true, 8, P::aaBoth, -8, -2, 1},
      {"vertical axis: beside", true, 8, P::aaBoth, 8, 4, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TChartAxis* A = C.Vertical ? Chart->GetLeftAxis() : Chart->GetBottomAxis();
    Tool->SetAxis(A);
    Tool->SetHeadWidth(C.HeadWidth);
    Tool->SetPosition(C.Position);
    const TPointF Pt = At(A, C.Along, C.Across);
    EXPECT_EQ(Tool->ClickedArrow(Round(Pt.X), Round(Pt.Y)), C.Expected);
  }
}

TEST_F(AxisArrowTest, ZeroPercentTurnsClicksOffButNotTheHoverCursor) {
  Tool->SetScrollPercent(0);
  int Clicks = 0;
  Tool->OnClick = [&](TAxisArrowTool*, bool) { ++Clicks; };
  const TPointF P = At(Chart->GetBottomAxis(), 8);
  Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
  EXPECT_FALSE(Chart->GetCancelMouse());
  Chart->MouseUp(TMouseButton::mbLeft, {}, P.X, P.Y);
  ExpectRange(Chart->GetBottomAxis(), 0, 100);
  EXPECT_EQ(Clicks, 0);

  Chart->SetCursor(crDefault);
  Chart->MouseMove({}, P.X, P.Y);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
}

TEST_F(AxisArrowTest, VetoedClickScrollsNothing) {
  TChartAxis* A = Chart->GetBottomAxis();
  int Scrolls = 0, Clicks = 0;
  Chart->OnScroll = [&](TObject*) { ++Scrolls; };
  Tool->OnClick = [&](TAxisArrowTool*, bool) { ++Clicks; };
  Chart->OnAllowScroll = [&](TChartAxis* Sender, double& AMin, double& AMax, bool& Allow) {
    EXPECT_EQ(Sender, A);
    EXPECT_NEAR(AMin, 10, 1e-9);
    EXPECT_NEAR(AMax, 110, 1e-9);
    AMin = 500;  // changed ends are not applied
    Allow = false;
  };
  Click(At(A, 8));
  ExpectRange(A, 0, 100);
  EXPECT_EQ(Scrolls, 0);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Chart->GetZoomed());
}

TEST_F(AxisArrowTest, PartnerAxisOfASeriesOnBothAxesFollows) {
  Series->SetHorizAxis(THorizAxis::aBothHorizAxis);
  TChartAxis* Top = Chart->GetTopAxis();
  Top->SetMinMax(50, 70);
  Paint();
  Click(At(Chart->GetBottomAxis(), 8));
  ExpectRange(Chart->GetBottomAxis(), 10, 110);
  ExpectRange(Top, 60, 80);  // by the same offset

  // Without such a series the partner stays.
  Series->SetHorizAxis(THorizAxis::aBottomAxis);
  Paint();
  Click(At(Chart->GetBottomAxis(), 8));
  ExpectRange(Top, 60, 80);
  TChartAxis* Other = nullptr;
  EXPECT_FALSE(AnySeriesBothAxis(Chart->GetBottomAxis(), Other));
  EXPECT_EQ(Other, Top);
  AnySeriesBothAxis(Chart->GetLeftAxis(), Other);
  EXPECT_EQ(Other, Chart->GetRightAxis());
}

TEST_F(AxisArrowTest, HiddenOrFreedAxesTakeNoClicks) {
  TChartAxis* A = Chart->GetBottomAxis();
  const TPointF P = At(A, 8);
  A->SetVisible(false);
  Tool->ChartMouseEvent(TChartMouseEvent::tmePress, TMouseButton::mbLeft, {}, Round(P.X), Round(P.Y));
  ExpectRange(A, 0, 100);

  TChartAxis* Custom = Chart->GetCustomAxes()->Add();
  Custom->SetHorizontal(true);
  Tool->SetAxis(Custom);
  Custom->Free();
  Tool->ChartMouseEvent(TChartMouseEvent::tmePress, TMouseButton::mbLeft, {}, Round(P.X), Round(P.Y));
  Paint();
  EXPECT_EQ(Tool->LiveAxis(), nullptr);
}

TEST_F(AxisArrowTest, ArrowsAreDrawnAtTheAxisEnds) {
  Tool->GetBrush()->SetColor(0xFF123456);
  TChartAxis* A = Chart->GetBottomAxis();
  // The along-axis span of every shape filled in the tool's colour.
  auto Spans = [&] {
    TRecordingCanvas C(Width, Height);
    Chart->Draw(&C, TRectF(0, 0, float(Width), float(Height)));
    std::vector<std::pair<float, float>> R;
    for (const TCanvasRecord& Rec : C.GetRecords()) {
      if (Rec.Color != 0xFF123456 || Rec.Points.empty()) continue;
      if (Rec.Kind != TRecordKind::FillPolygon && Rec.Kind != TRecordKind::FillPath) continue;
      float Lo = Rec.Points[0].X, Hi = Lo;
      for (const TPointF& P : Rec.Points) {
        Lo = std::min(Lo, P.X);
        Hi = std::max(Hi, P.X);
      }
      R.emplace_back(Lo, Hi);
    }
    return R;
  };
  auto Spanned = Spans();
  ASSERT_EQ(Spanned.size(), 2u);
  EXPECT_NEAR(Spanned[0].first, A->IStartPos, 1);
  EXPECT_NEAR(Spanned[0].second, A->IStartPos + 16, 1);
  EXPECT_NEAR(Spanned[1].first, A->IEndPos - 16, 1);
  EXPECT_NEAR(Spanned[1].second, A->IEndPos, 1);
  Tool->SetPosition(TAxisArrowToolPosition::aaEnd);
  EXPECT_EQ(Spans().size(), 1u);
  Tool->SetActive(false);
  EXPECT_EQ(Spans().size(), 0u);
}

}  // namespace
}  // namespace zel::testing
