// Tools and animations: membership of a chart's lists, delivery of mouse, wheel, key and
// drag-and-drop events, series and axis tools, and the stored "AxisID".
#include <gtest/gtest.h>

#include "pipeline/PipelineSupport.h"
#include "platform/Filer.h"
#include "platform/Streams.h"

namespace zel::testing {
namespace {

class ToolsTest : public PanelTest {
 protected:
  void Mouse() {
    Chart->SetCancelMouse(false);
    Chart->BroadcastToolMouseEvent(TChartMouseEvent::tmePress, TMouseButton::mbLeft, {}, 10, 10);
  }
};

TEST_F(ToolsTest, AToolIsInTheListOfTheChartItBelongsTo) {
  TLogPanel* Other = Create<TLogPanel>(nullptr);
  TLogTool* T = AddTool("T");
  EXPECT_EQ(T->GetParentChart(), Chart);
  EXPECT_EQ(Chart->GetTools()->IndexOf(T), 0);

  T->SetParentChart(Other);
  EXPECT_EQ(Chart->GetTools()->GetCount(), 0);
  EXPECT_EQ(Other->GetTools()->IndexOf(T), 0);

  T->SetParentChart(nullptr);
  EXPECT_EQ(Other->GetTools()->GetCount(), 0);
  Other->GetTools()->Add(T);
  EXPECT_EQ(T->GetParentChart(), Other);
  Other->Free();  // frees the tool with it
  EXPECT_EQ(Chart->GetTools()->GetCount(), 0);
}

TEST_F(ToolsTest, AFreedToolLeavesItsList) {
  TLogTool* A = AddTool("A");
  TLogTool* B = AddTool("B");
  A->Free();
  ASSERT_EQ(Chart->GetTools()->GetCount(), 1);
  EXPECT_EQ(Chart->GetTools()->Get(0), B);
  Chart->GetTools()->Clear();
  EXPECT_EQ(Chart->GetTools()->GetCount(), 0);
}

TEST_F(ToolsTest, AddByClassMakesAToolOwnedByTheChart) {
  TZelCustomTool* T = Chart->GetTools()->Add(TZelCustomToolAxis::StaticClass());
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->Is<TZelCustomToolAxis>());
  EXPECT_EQ(T->GetComponentOwner(), Chart);
  EXPECT_EQ(T->GetParentChart(), Chart);
  EXPECT_THROW(Chart->GetTools()->Add(TChartSeries::StaticClass()), EInvalidCast);
}

TEST_F(ToolsTest, SetActiveSwitchesEveryTool) {
  TLogTool* A = AddTool("A");
  TLogTool* B = AddTool("B");
  Chart->GetTools()->SetActive(false);
  EXPECT_FALSE(A->GetActive());
  EXPECT_FALSE(B->GetActive());
  Chart->GetTools()->SetActive(true);
  EXPECT_TRUE(A->GetActive());
}

TEST_F(ToolsTest, SameClassInEitherDirection) {
  auto* Base = Create<TZelCustomTool>(nullptr);
  auto* Axis = Create<TZelCustomToolAxis>(nullptr);
  auto* Series = Create<TZelCustomToolSeries>(nullptr);
  EXPECT_TRUE(Base->SameClass(Axis));
  EXPECT_TRUE(Axis->SameClass(Base));
  EXPECT_FALSE(Axis->SameClass(Series));
  Base->Free();
  Axis->Free();
  Series->Free();
}

TEST_F(ToolsTest, CancelMouseStopsEachWalk) {
  TLogTool* A = AddTool("T1");
  AddTool("T2");
  AddAnimation("A1");
  AddAnimation("A2");
  Mouse();
  EXPECT_EQ(Log, (TLog{"T1:mouse", "T2:mouse", "A1:mouse", "A2:mouse"}));

  // The first tool claims the press: the second tool does not see it, and the animation walk
  // stops after its first receiver.
  A->Cancel = true;
  Log.clear();
  Mouse();
  EXPECT_EQ(Log, (TLog{"T1:mouse", "A1:mouse"}));
  EXPECT_TRUE(Chart->GetCancelMouse());
}

TEST_F(ToolsTest, WheelStopsAtTheClaimingToolKeysAndDragsReachAll) {
  AddTool("T1")->Cancel = true;
  TLogTool* Off = AddTool("Off");
  Off->SetActive(false);
  AddTool("T2");
  AddAnimation("A");

  Chart->SetCancelMouse(false);
  Chart->BroadcastToolWheelEvent(TWheelMouseEvent::twhUp, 120, 5, 5);
  EXPECT_EQ(Log, (TLog{"T1:wheel"}));

  Log.clear();
  Word Key = 65;
  char32_t Ch = U'a';
  Chart->BroadcastToolKeyEvent(TChartKeyEvent::tkePress, Key, Ch, {});
  bool Accept = false;
  TDragObject* Drag = nullptr;
  Chart->BroadcastToolDragDropEvent(TChartDragDropEvent::tddOver, nullptr, 1, 1, TDragState::dsDragMove, Accept,
                                    Drag);
  EXPECT_EQ(Log, (TLog{"T1:key", "T2:key", "T1:drag", "T2:drag"}));
}

TEST_F(ToolsTest, SeriesEventsGoToActiveToolsOnly) {
  AddTool("T");
  AddTool("Off")->SetActive(false);
  AddAnimation("A");
  Chart->BroadcastSeriesToolEvent(TChartToolEvent::tdeSeriesStart, nullptr);
  EXPECT_EQ(Log, (TLog{"T:series-SeriesStart"}));
}

TEST_F(ToolsTest, MouseLeaveReachesToolsAndAnimations) {
  AddTool("T");
  AddAnimation("A");
  Chart->DoMouseLeave();
  EXPECT_EQ(Log, (TLog{"T:MouseLeft", "A:MouseLeft"}));
}

// Moves another tool out of the chart while it handles a press.
struct TMoverTool : TLogTool {
  using TLogTool::TLogTool;
  void ChartMouseEvent(TChartMouseEvent E, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override {
    TLogTool::ChartMouseEvent(E, Button, Shift, X, Y);
    if (Victim) Victim->SetParentChart(nullptr);
  }
  TZelCustomTool* Victim = nullptr;
};

TEST_F(ToolsTest, AToolThatLeavesDuringAWalkIsNotCalled) {
  auto* M = Create<TMoverTool>(nullptr);
  M->Tag = "M";
  M->Log = &Log;
  Chart->GetTools()->Add(M);
  TLogTool* B = AddTool("B");
  M->Victim = B;
  Mouse();
  EXPECT_EQ(Log, (TLog{"M:mouse"}));
  B->Free();
}

TEST_F(ToolsTest, SeriesToolDropsAFreedSeries) {
  auto* T = Create<TZelCustomToolSeries>(nullptr);
  Chart->GetTools()->Add(T);
  TLogSeries* S = AddSeries("S");
  S->SetHorizAxis(THorizAxis::aTopAxis);
  S->SetVertAxis(TVertAxis::aRightAxis);
  T->SetSeries(S);
  EXPECT_EQ(T->GetHorizAxis(), Chart->GetTopAxis());
  EXPECT_EQ(T->GetVertAxis(), Chart->GetRightAxis());

  // Without its series the tool follows the axes of the chart's active series.
  TLogSeries* Other = AddSeries("O");
  Other->SetHorizAxis(THorizAxis::aTopAxis);
  S->Free();
  EXPECT_EQ(T->GetSeries(), nullptr);
  EXPECT_EQ(T->GetHorizAxis(), Chart->GetTopAxis());
  EXPECT_EQ(T->GetVertAxis(), Chart->GetLeftAxis());
  Other->SetActive(false);
  EXPECT_EQ(T->GetHorizAxis(), Chart->GetBottomAxis());
}

TEST_F(ToolsTest, AxisToolMovesToTheChartOfItsAxis) {
  TLogPanel* Other = Create<TLogPanel>(nullptr);
  auto* T = Create<TZelCustomToolAxis>(nullptr);
  Chart->GetTools()->Add(T);
  T->SetAxis(Other->GetLeftAxis());
  EXPECT_EQ(T->GetParentChart(), Other);
  EXPECT_EQ(Chart->GetTools()->IndexOf(T), -1);
  EXPECT_EQ(Other->GetTools()->IndexOf(T), 0);
  T->SetAxis(nullptr);
  EXPECT_EQ(T->GetParentChart(), nullptr);
  EXPECT_EQ(Other->GetTools()->GetCount(), 0);
  T->Free();
  Other->Free();
}

TEST_F(ToolsTest, ChartFreesAxisToolsWithoutTouchingTheirAxes) {
  TLogPanel* Other = Create<TLogPanel>(nullptr);
  auto* T = Create<TZelCustomToolAxis>(nullptr);
  T->SetAxis(Other->GetBottomAxis());
  Other->Free();  // the axes go first, the tools later
  SUCCEED();
}

TEST_F(ToolsTest, AxisToolForgetsAFreedCustomAxis) {
  TChartAxis* Custom = Chart->GetCustomAxes()->Add();
  auto* T = Create<TZelCustomToolAxis>(nullptr);
  T->SetAxis(Custom);
  ASSERT_EQ(T->GetParentChart(), Chart);
  Custom->Free();
  EXPECT_EQ(T->GetAxis(), nullptr);
  EXPECT_EQ(T->GetParentChart(), Chart);
}

// Writes the tool's stored properties and reads them into Into.
void RoundTrip(TZelCustomToolAxis* From, TZelCustomToolAxis* Into, bool& Written) {
  TMemoryStream Stream;
  {
    TWriter W(&Stream);
    W.WriteProperties(From);
    W.WriteListEnd();
  }
  Written = Stream.GetSize() > 1;
  Stream.SetPosition(0);
  TReader R(&Stream);
  R.ReadProperties(Into);
}

TEST_F(ToolsTest, StoredAxisIdNamesTheAxisByItsPlace) {
  const std::int32_t Ids[] = {0, 1, 2, 3, 4, 5};
  for (std::int32_t Id : Ids) {
    auto* From = Create<TZelCustomToolAxis>(nullptr);
    auto* Into = Create<TZelCustomToolAxis>(nullptr);
    Chart->GetTools()->Add(From);
    Chart->GetTools()->Add(Into);
    From->SetAxis(Chart->GetAxes()->Get(Id));
    bool Written = false;
    RoundTrip(From, Into, Written);
    EXPECT_TRUE(Written);
    EXPECT_EQ(Into->GetAxis(), Chart->GetAxes()->Get(Id)) << Id;
    From->Free();
    Into->Free();
  }
}

TEST_F(ToolsTest, StoredAxisIdEdgeCases) {
  // No axis: nothing is written.
  auto* From = Create<TZelCustomToolAxis>(nullptr);
  auto* Into = Create<TZelCustomToolAxis>(nullptr);
  Chart->GetTools()->Add(From);
  bool Written = true;
  RoundTrip(From, Into, Written);
  EXPECT_FALSE(Written);

  // A tool without a chart drops the stored index.
  From->SetAxis(Chart->GetLeftAxis());
  RoundTrip(From, Into, Written);
  EXPECT_EQ(Into->GetAxis(), nullptr);

  // An index outside the axes list is a list error.
  TMemoryStream Stream;
  {
    TWriter W(&Stream);
    W.WritePropName("AxisID");
    W.WriteInteger(42);
    W.WriteListEnd();
  }
  Stream.SetPosition(0);
  Chart->GetTools()->Add(Into);
  TReader R(&Stream);
  EXPECT_THROW(R.ReadProperties(Into), EListError);
  EXPECT_EQ(Into->GetAxis(), nullptr);
  From->Free();
  Into->Free();
}

TEST_F(ToolsTest, AnimationsLiveInTheirOwnList) {
  TLogAnimation* A = AddAnimation("A");
  EXPECT_EQ(Chart->GetAnimations()->IndexOf(A), 0);
  EXPECT_EQ(Chart->GetTools()->IndexOf(A), -1);
  EXPECT_EQ(Chart->GetAnimations()->Get(0), A);
  A->Free();
  EXPECT_EQ(Chart->GetAnimations()->GetCount(), 0);

  auto* Base = Create<TZelCustomAnimation>(nullptr);
  EXPECT_THROW(Base->Play(), EAbstractError);
  EXPECT_EQ(Base->Title(), "TZelCustomAnimation");
  Base->SetName("Fade");
  EXPECT_EQ(Base->Title(), "Fade");
  Base->Free();
}

}  // namespace
}  // namespace zel::testing
