// The axis scroll tool driven through the chart's mouse handling: which axis a press grabs, the
// direction and size of each step, limits, the chart's veto, the axes that follow, the hover
// cursor, and the tool's registration.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/PageNumber.h"
#include "zelgraph/tools/ToolTexts.h"
#include "zelgraph/tools/ToolsUnit.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

class AxisScrollTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Tool = Create<TAxisScrollTool>(Chart);
    Tool->SetAxis(Chart->GetBottomAxis());
    Paint();
  }

  // A point on the axis, half way along it.
  static TPointF On(TChartAxis* A) {
    const TRectF R = A->AxisRect();
    return TPointF((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  }
  // Presses on A, moves by (DX, DY) in Steps equal steps and releases.
  void DragAxis(TChartAxis* A, float DX, float DY, int Steps = 1, TMB Button = TMB::mbLeft) {
    const TPointF P = On(A);
    Chart->MouseDown(Button, {}, P.X, P.Y);
    for (int I = 1; I <= Steps; ++I) Chart->MouseMove({}, P.X + DX * I / Steps, P.Y + DY * I / Steps);
    Chart->MouseUp(Button, {}, P.X + DX, P.Y + DY);
  }
  static double Range(TChartAxis* A) { return A->GetMaximum() - A->GetMinimum(); }

  TAxisScrollTool* Tool = nullptr;
};

TEST_F(AxisScrollTest, ThePressGrabsTheAxisUnderTheMouse) {
  // The tool's own axis is the bottom one; a press on the left axis grabs the left axis.
  const TPointF L = On(Chart->GetLeftAxis());
  Chart->MouseDown(TMB::mbLeft, {}, L.X, L.Y);
  EXPECT_EQ(Tool->GetInAxis(), Chart->GetLeftAxis());
  EXPECT_FALSE(Chart->GetZoom()->GetActive());  // the tool claimed the press
  Chart->MouseUp(TMB::mbLeft, {}, L.X, L.Y);
  EXPECT_EQ(Tool->GetInAxis(), nullptr);

  // Outside every axis nothing is grabbed and the chart's own handling goes on.
  const TPointF In = Inside(40, 40);
  Chart->MouseDown(TMB::mbLeft, {}, In.X, In.Y);
  EXPECT_EQ(Tool->GetInAxis(), nullptr);
  EXPECT_TRUE(Chart->GetZoom()->GetActive());  // the chart's zoom drag starts
  Chart->MouseUp(TMB::mbLeft, {}, In.X, In.Y);
}

TEST_F(AxisScrollTest, AnyButtonDragsAndNoZoomStarts) {
  int Zooms = 0;
  Chart->OnZoom = [&](TObject*) { ++Zooms; };
  TChartAxis* B = Chart->GetBottomAxis();
  const double Min = B->GetMinimum();
  // A right drag would zoom on the chart rectangle; on the axis it scrolls.
  Chart->GetZoom()->SetMouseButton(TMB::mbRight);
  DragAxis(B, 40, 0, 2, TMB::mbRight);
  EXPECT_EQ(Zooms, 0);
  EXPECT_FALSE(Chart->GetZoomed());
  EXPECT_LT(B->GetMinimum(), Min);
}

TEST_F(AxisScrollTest, StepsFollowTheMouseByTheAxisScale) {
  struct Case {
    const char* Name;
    bool Horizontal, Inverted, ScrollInverted;
    int Sign;  // of the range's change when dragged right (horizontal) or down (vertical)
  };
  const Case Cases[] = {
      {"plain horizontal: content follows, range falls", true, false, false, -1},
      {"plain vertical: dragging down raises the range", false, false, false, +1},
      {"inverted horizontal", true, true, false, +1},
      {"horizontal, scroll inverted", true, false, true, +1},
      {"inverted horizontal, scroll inverted: the negations cancel", true, true, true, -1},
      {"inverted vertical", false, true, false, -1},
      {"vertical, scroll inverted", false, false, true, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TChartAxis* A = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    A->SetMinMax(0, 100);
    A->SetInverted(C.Inverted);
    Tool->SetScrollInverted(C.ScrollInverted);
    Paint();
    const double Expected = C.Sign * 20.0 * Range(A) / A->IAxisSize;
    DragAxis(A, C.Horizontal ? 20 : 0, C.Horizontal ? 0 : 20, 4);
    EXPECT_NEAR(A->GetMinimum(), Expected, 1e-9);
    EXPECT_NEAR(A->GetMaximum(), 100 + Expected, 1e-9);
    EXPECT_FALSE(A->GetAutomatic());
    A->SetInverted(false);
  }
}

TEST_F(AxisScrollTest, LimitsStopWholeStepsAtTheDataEnds) {
  // The data spans 0 ... 10 on the bottom axis; dragging left moves the range towards larger
  // values, dragging right towards smaller ones.
  struct Case {
    TAxisScrollLimit Limit;
    bool StopsAtMaximum, StopsAtMinimum;
  };
  const Case Cases[] = {
      {TAxisScrollLimit::slNone, false, false},
      {TAxisScrollLimit::slMinimum, false, true},
      {TAxisScrollLimit::slMaximum, true, false},
      {TAxisScrollLimit::slBoth, true, true},
  };
  TChartAxis* B = Chart->GetBottomAxis();
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Limit));
    Tool->SetLimit(C.Limit);
    B->SetMinMax(2, 8);
    Paint();
    const double Step = 6.0 / B->IAxisSize;
    DragAxis(B, -600, 0, 600);
    if (C.StopsAtMaximum) {
      // The last accepted step leaves the maximum short of the data's end.
      EXPECT_LT(B->GetMaximum(), 10.0);
      EXPECT_GE(B->GetMaximum(), 10.0 - Step - 1e-9);
    } else {
      EXPECT_GT(B->GetMaximum(), 12.0);
    }
    B->SetMinMax(2, 8);
    DragAxis(B, 600, 0, 600);
    if (C.StopsAtMinimum) {
      EXPECT_GT(B->GetMinimum(), 0.0);
      EXPECT_LE(B->GetMinimum(), Step + 1e-9);
    } else {
      EXPECT_LT(B->GetMinimum(), -2.0);
    }
    EXPECT_NEAR(Range(B), 6.0, 1e-9);
  }
}

TEST_F(AxisScrollTest, OnScrollFollowsEveryStepAlsoARefusedOne) {
  int Scrolls = 0;
  Chart->OnScroll = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Chart);
    ++Scrolls;
  };
  TChartAxis* B = Chart->GetBottomAxis();
  Tool->SetLimit(TAxisScrollLimit::slBoth);
  B->SetMinMax(0, 10);  // already at both data ends: every step is refused
  Paint();
  DragAxis(B, 30, 0, 3);
  EXPECT_EQ(Scrolls, 3);
  EXPECT_DOUBLE_EQ(B->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(B->GetMaximum(), 10);
}

TEST_F(AxisScrollTest, AxesSharingASeriesFollowAndTheVetoIsPerAxis) {
  // A second series on the bottom and the top axes ties the top axis to the bottom one.
  TPointSeries* Both = AddSeries({0, 10}, {0, 100});
  Both->SetHorizAxis(THorizAxis::aBothHorizAxis);
  TChartAxis* Bottom = Chart->GetBottomAxis();
  TChartAxis* Top = Chart->GetTopAxis();
  Bottom->SetMinMax(0, 10);
  Top->SetMinMax(0, 10);
  Paint();
  ASSERT_NE(Top->IAxisSize, 0);

  DragAxis(Bottom, 20, 0);
  EXPECT_LT(Bottom->GetMinimum(), 0);
  EXPECT_NEAR(Top->GetMinimum(), -20.0 * 10 / Top->IAxisSize, 1e-9);

  // Dragging the left axis leaves both horizontal axes alone.
  const double BottomMin = Bottom->GetMinimum(), TopMin = Top->GetMinimum();
  DragAxis(Chart->GetLeftAxis(), 0, 20);
  EXPECT_DOUBLE_EQ(Bottom->GetMinimum(), BottomMin);
  EXPECT_DOUBLE_EQ(Top->GetMinimum(), TopMin);

  // A veto of the dragged axis does not stop the axes that follow it; each asks for itself,
  // and a changed range in the handler is not applied.
  std::vector<TChartAxis*> Asked;
  Chart->OnAllowScroll = [&](TChartAxis* Sender, double& AMin, double& AMax, bool& Allow) {
    Asked.push_back(Sender);
    AMin = 1000;
    AMax = 2000;
    if (Sender == Bottom) Allow = false;
  };
  DragAxis(Bottom, 20, 0);
  EXPECT_EQ(Asked, (std::vector<TChartAxis*>{Bottom, Top}));
  EXPECT_DOUBLE_EQ(Bottom->GetMinimum(), BottomMin);
  EXPECT_LT(Top->GetMinimum(), TopMin);
  EXPECT_GT(Top->GetMinimum(), TopMin - 10);
}

TEST_F(AxisScrollTest, InThreeDimensionsTheDepthAxesFollowOnlyADepthAxis) {
  Chart->SetView3D(true);
  TChartAxis* Depth = Chart->GetDepthAxis();
  TChartAxis* DepthTop = Chart->GetDepthTopAxis();
  TChartAxis* Left = Chart->GetLeftAxis();
  Depth->SetMinMax(0, 10);
  DepthTop->SetMinMax(0, 10);
  Paint();
  ASSERT_NE(Left->IAxisSize, 0);
  const double LeftMin = Left->GetMinimum();
  DragAxis(Left, 0, 20);
  EXPECT_NE(Left->GetMinimum(), LeftMin);
  EXPECT_DOUBLE_EQ(Depth->GetMinimum(), 0);
  EXPECT_DOUBLE_EQ(DepthTop->GetMinimum(), 0);
}

TEST_F(AxisScrollTest, HoverOverAnAxisShowsTheHandAndSkipsTheChart) {
  Chart->SetCursor(crDefault);
  const TPointF L = On(Chart->GetLeftAxis());
  Chart->MouseMove({}, L.X, L.Y);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  EXPECT_TRUE(Chart->GetCancelMouse());

  // Away from the axes the tool leaves the move to the chart.
  const TPointF In = Inside(40, 40);
  Chart->MouseMove({}, In.X, In.Y);
  EXPECT_FALSE(Chart->GetCancelMouse());
  EXPECT_NE(Chart->GetCursor(), crHandPoint);
}

TEST_F(AxisScrollTest, AnInactiveToolIgnoresEverythingAndDeactivationEndsTheDrag) {
  TChartAxis* B = Chart->GetBottomAxis();
  const TPointF P = On(B);
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  ASSERT_EQ(Tool->GetInAxis(), B);
  Tool->SetActive(false);
  EXPECT_EQ(Tool->GetInAxis(), nullptr);
  const double Min = B->GetMinimum();
  Chart->MouseMove({}, P.X + 20, P.Y);
  Chart->MouseUp(TMB::mbLeft, {}, P.X + 20, P.Y);
  EXPECT_DOUBLE_EQ(B->GetMinimum(), Min);
  // Active again, plain moves (no button held) do not scroll the axis.
  Tool->SetActive(true);
  Chart->MouseMove({}, P.X + 40, P.Y);
  Chart->MouseMove({}, P.X + 60, P.Y);
  EXPECT_DOUBLE_EQ(B->GetMinimum(), Min);
  EXPECT_EQ(Tool->GetInAxis(), nullptr);
}

TEST_F(AxisScrollTest, AnAxisOfNoLengthIsNotScrolled) {
  int Scrolls = 0;
  Chart->OnScroll = [&](TObject*) { ++Scrolls; };
  TChartAxis* B = Chart->GetBottomAxis();
  const TPointF P = On(B);
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  ASSERT_EQ(Tool->GetInAxis(), B);
  const double Min = B->GetMinimum();
  B->IAxisSize = 0;
  Chart->MouseMove({}, P.X + 20, P.Y);
  EXPECT_DOUBLE_EQ(B->GetMinimum(), Min);
  EXPECT_EQ(Scrolls, 0);
  Chart->MouseUp(TMB::mbLeft, {}, P.X + 20, P.Y);
}

TEST_F(AxisScrollTest, NoStepCarriesAnEndPastTheDoubleRange) {
  // A drag of a tenth of the axis on a range up to 1.7e308 would make the maximum infinite: that
  // step is not made, the other way is. The wheel's step goes through the same rule.
  for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) A->SetMinMax(0, 1.7e308);
  Paint();
  TChartAxis* B = Chart->GetBottomAxis();
  const float Tenth = float(B->IAxisSize) / 10;
  DragAxis(B, -Tenth, 0);  // the content follows the mouse left: the range moves up
  EXPECT_EQ(B->GetMaximum(), 1.7e308);
  DragAxis(B, Tenth, 0);
  EXPECT_TRUE(std::isfinite(B->GetMinimum()) && std::isfinite(B->GetMaximum()));
  EXPECT_LT(B->GetMaximum(), 1.7e308);
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetMinMax(-1e308, 1e308);  // a range that is itself past the double range: 3 % of it
  Chart->ScrollVerticalAxes(false);
  EXPECT_DOUBLE_EQ(L->GetMinimum(), -1.06e308);
  EXPECT_DOUBLE_EQ(L->GetMaximum(), 0.94e308);
  L->SetMinMax(0, 1.75e308);
  Chart->ScrollVerticalAxes(true);
  EXPECT_EQ(L->GetMaximum(), 1.75e308);
  Chart->ScrollVerticalAxes(false);
  EXPECT_LT(L->GetMaximum(), 1.75e308);
}

TEST_F(AxisScrollTest, AnAxisFreedDuringTheDragEndsTheDrag) {
  // Freed between two moves, or by the chart's scroll handler inside a step: the rest of the
  // step (the axes that follow) and the later moves reach no freed axis.
  for (bool InStep : {false, true}) {
    SCOPED_TRACE(InStep ? "freed inside a step" : "freed between moves");
    TChartAxis* Custom = Chart->GetCustomAxes()->Add();
    Series->SetCustomVertAxis(Custom);
    Tool->SetAxis(Custom);
    Paint();
    int Scrolls = 0;
    Chart->OnScroll = [&](TObject*) {
      if (++Scrolls == 1 && InStep) Custom->Free();
    };
    const TPointF P = On(Custom);
    Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
    ASSERT_EQ(Tool->GetInAxis(), Custom);
    if (!InStep) Custom->Free();
    Chart->MouseMove({}, P.X, P.Y + 20);
    Chart->MouseMove({}, P.X, P.Y + 40);
    EXPECT_EQ(Tool->GetInAxis(), nullptr);
    EXPECT_EQ(Tool->GetAxis(), nullptr);
    EXPECT_EQ(Scrolls, InStep ? 1 : 0);
    Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y + 40);
    Chart->OnScroll = nullptr;
  }
}

TEST_F(AxisScrollTest, AssignCopiesTheSettingsAndTheAxis) {
  Tool->SetLimit(TAxisScrollLimit::slMaximum);
  Tool->SetScrollInverted(true);
  auto* Copy = Create<TAxisScrollTool>(nullptr);
  Copy->Assign(Tool);
  EXPECT_EQ(Copy->GetLimit(), TAxisScrollLimit::slMaximum);
  EXPECT_TRUE(Copy->GetScrollInverted());
  EXPECT_EQ(Copy->GetAxis(), Chart->GetBottomAxis());
  Copy->Free();
}

TEST(AxisScrollToolUnit, TheToolIsRegisteredByNameWithItsTexts) {
  ASSERT_NE(ZelToolTypes, nullptr);
  EXPECT_GE(ZelToolTypes->IndexOf(TAxisScrollTool::StaticClass()), 0);
  EXPECT_EQ(FindClass("TAxisScrollTool"), TAxisScrollTool::StaticClass());

  auto* Tool = Create<TAxisScrollTool>(nullptr);
  EXPECT_EQ(Tool->Description(), "Axis Scroll");
  EXPECT_EQ(Tool->LongDescription(), "Allows the scrolling of Axes by mouse dragging");
  EXPECT_EQ(Tool->GetEditorClass(), "TAxisScrollEditor");
  // The texts are read when asked for.
  const String Saved = ZelMsg_AxisScrollTool;
  ZelMsg_AxisScrollTool = "Scroll";
  EXPECT_EQ(Tool->Description(), "Scroll");
  ZelMsg_AxisScrollTool = Saved;
  Tool->Free();
}

TEST(AxisScrollToolUnit, TheRegistryListsTheToolsInOrderThenThePageNumberTool) {
  const std::vector<const TClass*> Classes = ZelToolsUnitClasses();
  std::int32_t Last = -1;
  for (const TClass* C : Classes) {
    SCOPED_TRACE(C->Name);
    const std::int32_t Index = ZelToolTypes->IndexOf(C);
    EXPECT_GT(Index, Last);
    Last = Index;
    EXPECT_EQ(GetClass(C->Name), C);
  }
  EXPECT_GT(ZelToolTypes->IndexOf(TPageNumTool::StaticClass()), Last);
  EXPECT_EQ(ZelPageNumToolClass, TPageNumTool::StaticClass());
}

TEST(AxisScrollToolUnit, StartAndEndAreCountedAndTheLastEndRemovesEveryTool) {
  const std::int32_t Count = ZelToolTypes->Count();
  ZelToolsUnitStart();  // a nested start adds nothing, its end removes nothing
  EXPECT_EQ(ZelToolTypes->Count(), Count);
  ZelToolsUnitEnd();
  EXPECT_GE(ZelToolTypes->IndexOf(TAxisScrollTool::StaticClass()), 0);

  ZelPageNumberUnitEnd();
  ZelToolsUnitEnd();
  std::vector<const TClass*> All = ZelToolsUnitClasses();
  All.push_back(TPageNumTool::StaticClass());
  for (const TClass* C : All) {
    SCOPED_TRACE(C->Name);
    EXPECT_LT(ZelToolTypes->IndexOf(C), 0);
    EXPECT_EQ(GetClass(C->Name), nullptr);
  }
  EXPECT_EQ(ZelPageNumToolClass, nullptr);

  ZelToolsUnitStart();
  ZelPageNumberUnitStart();
  EXPECT_GE(ZelToolTypes->IndexOf(TAxisScrollTool::StaticClass()), 0);
  EXPECT_EQ(ZelPageNumToolClass, TPageNumTool::StaticClass());
}

}  // namespace
}  // namespace zel::testing
