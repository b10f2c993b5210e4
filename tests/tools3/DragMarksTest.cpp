// The drag marks tool: which mark a press grabs, the hand cursor over shown marks, a drag that
// moves a mark for good, the events, and presses the tool leaves to the chart.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools3/Tools3Fixture.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/tools/DragMarks.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

class DragMarksTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    Series->GetMarks()->SetVisible(true);
    Tool = Create<TDragMarksTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    PaintRec();
  }
  static TRectF MarkBox(TChartSeries* S, int I) {
    TSeriesMarkPosition* P = S->GetMarks()->GetPositions()->Get(I);
    return P ? P->Bounds() : TRectF(0, 0, 0, 0);
  }
  // A whole pixel inside R.
  static TPointF Centre(const TRectF& R) {
    return TPointF(std::floor((R.Left + R.Right) / 2), std::floor((R.Top + R.Bottom) / 2));
  }

  TDragMarksTool* Tool = nullptr;
};

TEST_F(DragMarksTest, ADraggedMarkMovesByTheMouseAndStaysThere) {
  const TRectF Before = MarkBox(Series, 2);
  ASSERT_GT(Before.Width(), 0);
  std::vector<int> Dragging;
  int Dragged = -1;
  Tool->OnDraggingMark = [&](TDragMarksTool*, int Index, TMB, TShiftState, int, int) { Dragging.push_back(Index); };
  Tool->OnDraggedMark = [&](TDragMarksTool*, int Index, TMB, TShiftState, int, int) { Dragged = Index; };

  const TPointF P = Centre(Before);
  Chart->MouseDown(TMB::mbRight, {}, P.X, P.Y);  // any button
  EXPECT_EQ(Tool->GetDragIndex(), 2);
  EXPECT_EQ(Tool->GetDragSeries(), Series);
  Chart->MouseMove({}, P.X + 4, P.Y + 1);
  Chart->MouseMove({}, P.X + 10, P.Y + 5);
  Chart->MouseUp(TMB::mbRight, {}, P.X + 10, P.Y + 5);
  EXPECT_EQ(Dragging, (std::vector<int>{2, 2}));
  EXPECT_EQ(Dragged, 2);
  EXPECT_EQ(Tool->GetDragIndex(), -1);
  EXPECT_FALSE(Chart->GetZoomed());

  TSeriesMarkPosition* Pos = Series->GetMarks()->GetPositions()->Get(2);
  EXPECT_TRUE(Pos->Custom);
  EXPECT_TRUE(Pos->ArrowFix);
  PaintRec();
  const TRectF After = MarkBox(Series, 2);
  EXPECT_FLOAT_EQ(After.Left, Before.Left + 10);
  EXPECT_FLOAT_EQ(After.Top, Before.Top + 5);
  // A later move without a held mark moves nothing.
  Chart->MouseMove({}, P.X + 50, P.Y + 50);
  EXPECT_FLOAT_EQ(MarkBox(Series, 2).Left, After.Left);
}

TEST_F(DragMarksTest, OfOverlappingMarksTheLaterSeriesIsGrabbedUnlessTheToolHasASeries) {
  TPointSeries* Second = AddSeries({0, 2, 4, 6, 8, 10}, {0, 40, 20, 80, 60, 100});
  Second->GetMarks()->SetVisible(true);
  PaintRec();
  const TPointF P = Centre(MarkBox(Series, 3));
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  EXPECT_EQ(Tool->GetDragSeries(), Second);
  Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y);

  Tool->SetSeries(Series);
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  EXPECT_EQ(Tool->GetDragSeries(), Series);
  Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y);

  // An inactive series' marks are not grabbed.
  Tool->SetSeries(nullptr);
  Second->SetActive(false);
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  EXPECT_EQ(Tool->GetDragSeries(), Series);
  Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y);
}

TEST_F(DragMarksTest, HiddenMarksCanBeGrabbedButShowNoHand) {
  const TPointF P = Centre(MarkBox(Series, 1));
  Chart->MouseMove({}, P.X, P.Y);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  Chart->MouseMove({}, 5, 5);
  Chart->SetCursor(crDefault);

  Series->GetMarks()->SetVisible(false);
  Chart->MouseMove({}, P.X, P.Y);
  EXPECT_NE(Chart->GetCursor(), crHandPoint);
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  EXPECT_EQ(Tool->GetDragIndex(), 1);
  Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y);
}

TEST_F(DragMarksTest, APressOffTheMarksIsTheChartsAndAFreedSeriesEndsTheDrag) {
  const TPointF In = Inside(40, 40);
  Chart->MouseDown(TMB::mbLeft, {}, In.X, In.Y);
  EXPECT_EQ(Tool->GetDragIndex(), -1);
  EXPECT_TRUE(Chart->GetZoom()->GetActive());  // the chart's zoom drag starts
  Chart->MouseUp(TMB::mbLeft, {}, In.X, In.Y);

  const TPointF P = Centre(MarkBox(Series, 4));
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  ASSERT_EQ(Tool->GetDragSeries(), Series);
  FreeAndNil(Series);
  EXPECT_EQ(Tool->GetDragSeries(), nullptr);
  Chart->MouseMove({}, P.X + 10, P.Y);  // no mark is held any more
  Chart->MouseUp(TMB::mbLeft, {}, P.X + 10, P.Y);
}

}  // namespace
}  // namespace zel::testing
