// The annotation tool (placement, callout, clicks, hover, name and activity) and the rectangle
// tool built on it (its handles, moving, resizing and cursors), on a laid-out chart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/RecordingCanvas.h"
#include "platform/Services.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/RectangleTool.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

class AnnotationTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Tool = Create<TAnnotationTool>(Chart);
    Chart->GetTools()->Add(Tool);
  }
  // Paints on Canvas, whose records the test reads.
  void PaintRecorded() {
    Chart->GetCanvas()->SetUseBuffer(false);
    Canvas.ClearRecords();
    Chart->SetBounds(0, 0, static_cast<float>(Width), static_cast<float>(Height));
    Chart->Draw(&Canvas, TRectF(0, 0, static_cast<float>(Width), static_cast<float>(Height)));
  }
  bool Drew(const String& Text) const {
    for (const String& T : Canvas.Texts())
      if (T == Text) return true;
    return false;
  }
  // A fixed 100 x 20 box.
  void FixedBox() {
    Tool->SetWidth(100);
    Tool->SetHeight(20);
  }

  TRecordingCanvas Canvas{400, 300};
  TAnnotationTool* Tool = nullptr;
};

TEST_F(AnnotationTest, BoxIsPlacedAtEachCornerAndTheCentre) {
  FixedBox();
  const TRectF R(0, 0, 399, 299);
  struct Case {
    TAnnotationPosition Position;
    int X, Y;
  };
  const Case Cases[] = {
      {TAnnotationPosition::ppLeftTop, 10, 10},     {TAnnotationPosition::ppLeftBottom, 10, 270},
      {TAnnotationPosition::ppRightTop, 290, 10},   {TAnnotationPosition::ppRightBottom, 290, 270},
      {TAnnotationPosition::ppCenter, 149, 139},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Position));
    Tool->SetPosition(C.Position);
    std::int32_t X = -1, Y = -1;
    const TRectF B = Tool->GetTextBounds(Chart, R, X, Y);
    EXPECT_EQ(X, C.X);
    EXPECT_EQ(Y, C.Y);
    EXPECT_EQ(B, TRectF(float(C.X), float(C.Y), float(C.X + 100), float(C.Y + 20)));
  }
}

TEST_F(AnnotationTest, CustomPositionInPixelsOrPercentOfTheChart) {
  FixedBox();
  struct Case {
    TZelUnits Units;
    TRectF R;
    int X, Y;
  };
  const Case Cases[] = {
      {TZelUnits::muPixels, TRectF(0, 0, 399, 299), 50, 50},
      {TZelUnits::muPercent, TRectF(0, 0, 399, 299), 200, 150},  // the chart's centre
      {TZelUnits::muPixels, TRectF(20, 30, 419, 329), 70, 80},  // offset by the chart's origin
      {TZelUnits::muPercent, TRectF(20, 30, 419, 329), 220, 180},
  };
  Tool->SetLeft(50);
  Tool->SetTop(50);
  for (const Case& C : Cases) {
    Tool->SetPositionUnits(C.Units);
    std::int32_t X = -1, Y = -1;
    Tool->GetTextBounds(Chart, C.R, X, Y);
    EXPECT_EQ(X, C.X);
    EXPECT_EQ(Y, C.Y);
  }
  // A fixed position given up: the position's corner holds again.
  Tool->SetPosition(TAnnotationPosition::ppRightTop);
  EXPECT_FALSE(Tool->GetShape()->GetCustomPosition());
}

TEST_F(AnnotationTest, CalloutStartsAtTheBoxPointNearestTheTarget) {
  const TRectF Box(100, 100, 200, 120);
  struct Case {
    TPointF Target, Expected;
  };
  const Case Cases[] = {
      {{0, 0}, {100, 100}},      // above left: the corner
      {{300, 50}, {200, 100}},   // above right
      {{150, 500}, {150, 120}},  // straight below: the middle of the bottom edge
      {{150, 110}, {150, 110}},  // inside: the middle
      {{50, 110}, {100, 110}},   // to the left
  };
  for (const Case& C : Cases) EXPECT_EQ(TAnnotationCallout::CloserPoint(Box, C.Target), C.Expected);
}

TEST_F(AnnotationTest, DrawsItsTextAndCalloutOnlyWhileActive) {
  Tool->SetText("Peak");
  Tool->SetLeft(100);
  Tool->SetTop(100);
  Tool->GetCallout()->SetVisible(true);
  Tool->GetCallout()->GetArrow()->SetVisible(true);
  Tool->GetCallout()->SetXPosition(5);
  Tool->GetCallout()->SetYPosition(6);
  PaintRecorded();
  EXPECT_TRUE(Drew("Peak"));
  const TRectF B = Tool->GetShape()->ShapeBounds;
  bool Arrow = false;
  for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::DrawLine))
    if (R.Points.size() == 2 && R.Points[0] == TPointF(5, 6) && R.Points[1] == TPointF(B.Left, B.Top)) Arrow = true;
  EXPECT_TRUE(Arrow) << "the arrow runs from the target to the box's nearest corner";

  Tool->SetActive(false);
  EXPECT_FALSE(Tool->GetShape()->GetVisible());
  PaintRecorded();
  EXPECT_FALSE(Drew("Peak"));
}

TEST_F(AnnotationTest, DrawEventsSurroundEachDrawing) {
  std::vector<String> Calls;
  Tool->SetText("x");
  Tool->OnBeforeDraw = [&](TObject*) { Calls.push_back("before"); };
  Tool->OnAfterDraw = [&](TObject*) { Calls.push_back("after"); };
  PaintRecorded();
  EXPECT_EQ(Calls, (std::vector<String>{"before", "after"}));
}

TEST_F(AnnotationTest, NameBecomesTheTextOnlyOutsideLoading) {
  Tool->SetName("Marker1");
  EXPECT_EQ(Tool->GetText(), "Marker1");
  Tool->SetText("Stored text");
  Tool->SetLoading(true);
  Tool->SetName("Marker2");
  Tool->SetLoading(false);
  EXPECT_EQ(Tool->GetText(), "Stored text");
}

TEST_F(AnnotationTest, SettingASizeTurnsAutoSizeOff) {
  EXPECT_TRUE(Tool->GetAutoSize());
  EXPECT_FALSE(Tool->IsWidthStored());
  Tool->SetWidth(80);
  EXPECT_FALSE(Tool->GetAutoSize());
  EXPECT_TRUE(Tool->IsWidthStored());
  EXPECT_EQ(Tool->GetWidth(), 80);
  // Moving the box keeps its size.
  Tool->SetLeft(30);
  EXPECT_EQ(Tool->GetWidth(), 80);
}

TEST_F(AnnotationTest, ClicksAndDoubleClicksOnTheBox) {
  Tool->SetText("Click me");
  Tool->SetLeft(100);
  Tool->SetTop(100);
  PaintRecorded();
  const TRectF B = Tool->GetShape()->ShapeBounds;
  int Clicks = 0, Doubles = 0;
  Tool->OnClick = [&](TAnnotationTool* S, TMB, TShiftState, std::int32_t, std::int32_t) {
    EXPECT_EQ(S, Tool);
    ++Clicks;
  };
  Tool->OnDblClick = [&](TAnnotationTool*, TMB, TShiftState, std::int32_t, std::int32_t) { ++Doubles; };
  struct Case {
    TPointF P;
    TShiftState Shift;
    int Clicks, Doubles;
  };
  const Case Cases[] = {
      {{B.Left + 2, B.Top + 2}, {}, 1, 0},
      {{B.Left + 2, B.Top + 2}, {TShiftStateItem::ssDouble}, 1, 1},
      {{B.Right + 5, B.Top + 2}, {}, 0, 0},
      {{B.Right + 5, B.Top + 2}, {TShiftStateItem::ssDouble}, 0, 0},
  };
  for (const Case& C : Cases) {
    Clicks = Doubles = 0;
    Tool->ChartMouseEvent(TChartMouseEvent::tmePress, TMB::mbLeft, C.Shift, Round(C.P.X), Round(C.P.Y));
    EXPECT_EQ(Clicks, C.Clicks);
    EXPECT_EQ(Doubles, C.Doubles);
  }
}

TEST_F(AnnotationTest, HoverHighlightsTheBoxAndSetsItsCursor) {
  Tool->SetText("Hover");
  Tool->SetLeft(100);
  Tool->SetTop(100);
  Tool->GetSelected()->GetHover()->SetVisible(true);
  Tool->SetCursor(crHandPoint);
  PaintRecorded();
  const TRectF B = Tool->GetShape()->ShapeBounds;

  Chart->MouseMove({}, B.Left + 3, B.Top + 3);
  EXPECT_EQ(Tool->GetSelected()->GetHoverIndex(), 0);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  // Pressing over a box with a cursor: the tool claims the moves, a press still zooms (no
  // click event), so only the hover is checked here.
  Chart->MouseMove({}, B.Right + 20, B.Bottom + 20);
  EXPECT_EQ(Tool->GetSelected()->GetHoverIndex(), -1);

  Chart->MouseMove({}, B.Left + 3, B.Top + 3);
  Tool->ChartEvent(TChartToolEvent::tdeMouseLeft);
  EXPECT_EQ(Tool->GetSelected()->GetHoverIndex(), -1);
}

TEST_F(AnnotationTest, HoveredBoxIsFramedWithTheHoverPenForThatDrawingOnly) {
  Tool->SetText("Frame");
  Tool->SetLeft(100);
  Tool->SetTop(100);
  Tool->GetShape()->GetPen()->SetColor(0xFF0000FF);
  Tool->GetSelected()->GetHover()->SetVisible(true);
  auto FrameColours = [&] {
    std::vector<TAlphaColor> C;
    const TRectF B = Tool->GetShape()->ShapeBounds;
    for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::DrawRect))
      if (std::abs(R.Rect.Left - B.Left) <= 2 && std::abs(R.Rect.Top - B.Top) <= 2) C.push_back(R.Color);
    return C;
  };
  PaintRecorded();
  EXPECT_EQ(FrameColours(), std::vector<TAlphaColor>{0xFF0000FF});

  Tool->GetSelected()->SetHoverIndex(0);
  PaintRecorded();
  EXPECT_EQ(FrameColours(), std::vector<TAlphaColor>{0x80FF0000});
  EXPECT_EQ(Tool->GetShape()->GetPen()->GetColor(), 0xFF0000FFu);  // the box's own pen is back
}

TEST_F(AnnotationTest, AssignCopiesSettingsAndKeepsOwnObjects) {
  Tool->SetPosition(TAnnotationPosition::ppRightBottom);
  Tool->SetPositionUnits(TZelUnits::muPercent);
  Tool->SetZ(7);
  Tool->SetText("Source");
  Tool->GetCallout()->SetXPosition(12);
  TOwned<TAnnotationTool> Copy(Create<TAnnotationTool>(nullptr));
  Copy->Assign(Tool);
  EXPECT_EQ(Copy->GetPosition(), TAnnotationPosition::ppRightBottom);
  EXPECT_EQ(Copy->GetPositionUnits(), TZelUnits::muPercent);
  EXPECT_EQ(Copy->GetZ(), 7);
  EXPECT_EQ(Copy->GetText(), "Source");
  EXPECT_EQ(Copy->GetCallout()->GetXPosition(), 12);
  EXPECT_NE(Copy->GetShape(), Tool->GetShape());
}

TEST_F(AnnotationTest, ALabelAttachedWithoutTheToolListIsDrawnByItsOwner) {
  TOwned<TAnnotationTool> Label(Create<TAnnotationTool>(nullptr));
  Label->InternalSetParent(Chart);
  EXPECT_EQ(Label->GetParentChart(), Chart);
  EXPECT_EQ(Chart->GetTools()->IndexOf(Label.get()), -1);
  EXPECT_EQ(Label->GetShape()->GetParent(), Chart);
}

// Rectangle tool

class RectangleToolTest : public AnnotationTest {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Rect = Create<TRectangleTool>(Chart);
    Chart->GetTools()->Add(Rect);
    PaintRecorded();
  }
  TRectF Box() { return Rect->GetBounds(); }

  TRectangleTool* Rect = nullptr;
};

TEST_F(RectangleToolTest, NewBoxIsHalfTransparentWithoutShadow) {
  EXPECT_EQ(Box(), TRectF(10, 10, 60, 60));
  bool Found = false;
  for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::FillRect))
    if (R.Rect.Left == 10 && R.Rect.Top == 10 && R.Rect.Right >= 60 && R.Rect.Bottom >= 60 && R.Rect.Right <= 61) {
      Found = true;
      EXPECT_NEAR(R.Opacity, 0.25, 1e-6);
    }
  EXPECT_TRUE(Found);
  EXPECT_EQ(Rect->GetShape()->GetShadowSize(), 0);
  EXPECT_FALSE(Rect->GetAutoSize());
  EXPECT_FALSE(Rect->IsAutoSizeStored());
  EXPECT_FALSE(Rect->IsCursorStored());
}

TEST_F(RectangleToolTest, HandlesAndTheirCursors) {
  struct Case {
    int X, Y, Edge;
    TCursor Cursor;
  };
  const Case Cases[] = {
      {11, 35, 0, crSizeWE},   {35, 11, 1, crSizeNS},   {59, 35, 2, crSizeWE},
      {35, 59, 3, crSizeNS},   {12, 12, 4, crSizeNWSE}, {12, 58, 5, crSizeNESW},
      {58, 12, 6, crSizeNESW}, {58, 58, 7, crSizeNWSE}, {35, 35, -1, crHandPoint},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.X << "," << C.Y);
    EXPECT_EQ(Rect->ClickedEdge(C.X, C.Y), C.Edge);
    Chart->SetCursor(crDefault);
    Chart->MouseMove({}, float(C.X), float(C.Y));
    EXPECT_EQ(Chart->GetCursor(), C.Cursor);
  }
  EXPECT_EQ(Rect->ClickedEdge(100, 100), -1);  // off the box
}

TEST_F(RectangleToolTest, ResizingStopsThreePixelsShortOfTheOppositeEdge) {
  int Resizing = 0, Resized = 0;
  Rect->OnResizing = [&](TObject*) { ++Resizing; };
  Rect->OnResized = [&](TObject*) { ++Resized; };
  Chart->MouseDown(TMB::mbLeft, {}, 12, 12);
  EXPECT_TRUE(Rect->GetResizing());
  Chart->MouseMove({TShiftStateItem::ssLeft}, 112, 12);
  Chart->MouseUp(TMB::mbLeft, {}, 112, 12);
  EXPECT_EQ(Box(), TRectF(57, 10, 60, 60));
  EXPECT_GT(Resizing, 0);
  EXPECT_EQ(Resized, 1);
  EXPECT_FALSE(Rect->GetResizing());
  EXPECT_FALSE(Chart->GetZoomed());
}

TEST_F(RectangleToolTest, ResizingBottomRightGrowsTheBox) {
  // Grabbed 1 px inside the corner: the offset keeps the edge under the same spot of the mouse.
  Chart->MouseDown(TMB::mbLeft, {}, 59, 59);
  Chart->MouseMove({TShiftStateItem::ssLeft}, 99, 79);
  Chart->MouseUp(TMB::mbLeft, {}, 99, 79);
  EXPECT_EQ(Box(), TRectF(10, 10, 100, 80));
}

TEST_F(RectangleToolTest, PressInsideMovesTheBox) {
  int Dragging = 0, Dragged = 0;
  Rect->OnDragging = [&](TObject*) { ++Dragging; };
  Rect->OnDragged = [&](TObject*) { ++Dragged; };
  Chart->MouseDown(TMB::mbLeft, {}, 35, 35);
  EXPECT_TRUE(Rect->GetDragging());
  Chart->MouseMove({TShiftStateItem::ssLeft}, 135, 85);
  Chart->MouseUp(TMB::mbLeft, {}, 135, 85);
  EXPECT_EQ(Box(), TRectF(110, 60, 160, 110));
  EXPECT_GT(Dragging, 0);
  EXPECT_EQ(Dragged, 1);
  EXPECT_FALSE(Chart->GetZoomed());
}

TEST_F(RectangleToolTest, MovingInPercentKeepsThePixelSize) {
  Rect->SetPositionUnits(TZelUnits::muPercent);
  Rect->SetLeft(10);
  Rect->SetTop(10);
  const TRectF Before = Box();
  Chart->MouseDown(TMB::mbLeft, {}, Before.Left + 20, Before.Top + 20);
  Chart->MouseMove({TShiftStateItem::ssLeft}, Before.Left + 60, Before.Top + 50);
  Chart->MouseUp(TMB::mbLeft, {}, Before.Left + 60, Before.Top + 50);
  const TRectF After = Box();
  EXPECT_NEAR(After.Left, Before.Left + 40, 4);  // percent steps of the chart's size
  EXPECT_NEAR(After.Top, Before.Top + 30, 3);
  EXPECT_EQ(After.Width(), Before.Width());
  // Resizing in percent units changes the size too.
  PaintRecorded();
  const TRectF B = Box();
  Chart->MouseDown(TMB::mbLeft, {}, B.Right - 1, B.Top + 25);
  Chart->MouseMove({TShiftStateItem::ssLeft}, B.Right + 29, B.Top + 25);
  Chart->MouseUp(TMB::mbLeft, {}, B.Right + 29, B.Top + 25);
  EXPECT_EQ(Box().Width(), B.Width() + 30);
  EXPECT_NEAR(Box().Left, B.Left, 4);
}

TEST_F(RectangleToolTest, RightButtonNeitherMovesNorResizes) {
  Chart->MouseDown(TMB::mbRight, {}, 35, 35);
  EXPECT_FALSE(Rect->GetDragging());
  Chart->MouseMove({TShiftStateItem::ssRight}, 135, 85);
  Chart->MouseUp(TMB::mbRight, {}, 135, 85);
  Chart->MouseDown(TMB::mbRight, {}, 12, 12);
  EXPECT_FALSE(Rect->GetResizing());
  Chart->MouseUp(TMB::mbRight, {}, 12, 12);
  EXPECT_EQ(Box(), TRectF(10, 10, 60, 60));
}

TEST_F(RectangleToolTest, WithoutResizingAnEdgeShowsTheHandAndMoves) {
  Rect->SetAllowResize(false);
  Chart->MouseMove({}, 11, 35);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  Chart->MouseDown(TMB::mbLeft, {}, 11, 35);
  EXPECT_FALSE(Rect->GetResizing());
  Chart->MouseMove({TShiftStateItem::ssLeft}, 21, 35);
  Chart->MouseUp(TMB::mbLeft, {}, 21, 35);
  EXPECT_EQ(Box(), TRectF(20, 10, 70, 60));
}

TEST_F(RectangleToolTest, WithoutDraggingThePressFallsThroughToTheChart) {
  Rect->SetAllowDrag(false);
  Chart->MouseDown(TMB::mbLeft, {}, 35, 35);
  EXPECT_FALSE(Rect->GetDragging());
  Chart->MouseUp(TMB::mbLeft, {}, 35, 35);
  EXPECT_EQ(Box(), TRectF(10, 10, 60, 60));
}

TEST_F(RectangleToolTest, BitmapHoldsTheChartUnderTheBox) {
  TOwned<TBitmap> B(Rect->Bitmap(true));
  ASSERT_EQ(B->GetWidth(), 50);
  ASSERT_EQ(B->GetHeight(), 50);
  EXPECT_TRUE(Rect->GetActive());  // the tool is back after the picture
  // The chart's picture is opaque; an untouched bitmap would be transparent.
  EXPECT_EQ(B->GetPixel(25, 25) >> 24, 0xFFu);
}

}  // namespace
}  // namespace zel::testing
