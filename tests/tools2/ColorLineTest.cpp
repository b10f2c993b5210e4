// Colour lines (position by style, grabbing, dragging within the axis, drawing with and without a
// label) and colour bands (their rectangle, dragging, edges and transparency) on a laid-out chart.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/ColorLine.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;
constexpr TShiftState LeftDown{TShiftStateItem::ssLeft};

class ColorToolFixture : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Bottom = Chart->GetBottomAxis();
    Bottom->SetMinMax(0, 10);
    PaintRecorded();
  }
  void PaintRecorded() {
    Chart->GetCanvas()->SetUseBuffer(false);
    Canvas.ClearRecords();
    Chart->SetBounds(0, 0, static_cast<float>(Width), static_cast<float>(Height));
    Chart->Draw(&Canvas, TRectF(0, 0, static_cast<float>(Width), static_cast<float>(Height)));
  }
  float Px(double V) const { return float(Bottom->CalcPosValue(V)); }
  float MidY() const { return (Chart->GetChartRect().Top + Chart->GetChartRect().Bottom) / 2; }
  // Vertical lines drawn at pixel column X, in drawing order.
  std::vector<TCanvasRecord> LinesAt(float X, TAlphaColor Color) const {
    std::vector<TCanvasRecord> Result;
    for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::DrawLine))
      if (R.Color == Color && R.Points.size() == 2 && std::abs(R.Points[0].X - X) <= 1 &&
          std::abs(R.Points[1].X - X) <= 1 && R.Points[0].Y != R.Points[1].Y)
        Result.push_back(R);
    return Result;
  }
  std::vector<TCanvasRecord> FillsOf(TAlphaColor Color) const {
    std::vector<TCanvasRecord> Result;
    for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::FillRect))
      if (R.Color == Color) Result.push_back(R);
    return Result;
  }

  TRecordingCanvas Canvas{400, 300};
  TChartAxis* Bottom = nullptr;
};

class ColorLineTest : public ColorToolFixture {
 protected:
  void SetUp() override {
    ColorToolFixture::SetUp();
    Line = Create<TColorLineTool>(Chart);
    Line->SetAxis(Bottom);
    Line->GetPen()->SetColor(LineColor);
  }
  void DragLine(float FromX, float ToX, TMB Button = TMB::mbLeft) {
    Chart->MouseDown(Button, {}, FromX, MidY());
    Chart->MouseMove(LeftDown, ToX, MidY());
    Chart->MouseUp(Button, {}, ToX, MidY());
  }

  static constexpr TAlphaColor LineColor = 0xFF00AA00;
  TColorLineTool* Line = nullptr;
};

TEST_F(ColorLineTest, StyleChoosesTheValueAndFollowsTheAxis) {
  struct Case {
    TColorLineStyle Style;
    double OnTen, OnTwenty;
  };
  const Case Cases[] = {
      {TColorLineStyle::clCustom, 3, 3},
      {TColorLineStyle::clMaximum, 10, 20},
      {TColorLineStyle::clCenter, 5, 10},
      {TColorLineStyle::clMinimum, 0, 0},
  };
  Line->SetValue(3);
  for (const Case& C : Cases) {
    Line->SetStyle(C.Style);
    Bottom->SetMinMax(0, 10);
    EXPECT_DOUBLE_EQ(Line->CalcValue(), C.OnTen);
    Bottom->SetMinMax(0, 20);
    EXPECT_DOUBLE_EQ(Line->CalcValue(), C.OnTwenty);
  }
  // the centre of ends near the largest double: halved before adding
  Line->SetStyle(TColorLineStyle::clCenter);
  Bottom->SetMinMax(1.5e308, 1.7e308);
  EXPECT_DOUBLE_EQ(Line->CalcValue(), 1.6e308);
}

TEST_F(ColorLineTest, DraggingMovesTheLineAndMakesItCustom) {
  Line->SetStyle(TColorLineStyle::clCenter);
  std::vector<String> Events;
  Line->OnBeginDragLine = [&](TColorLineTool*) { Events.push_back("begin"); };
  Line->OnDragLine = [&](TColorLineTool*) { Events.push_back("drag"); };
  // The end is reported while the drag still runs.
  Line->OnEndDragLine = [&](TColorLineTool* L) {
    Events.push_back(L->GetDragging() ? "end" : "end after the drag");
  };
  DragLine(Px(5), Px(7));
  EXPECT_FALSE(Line->GetDragging());
  EXPECT_EQ(Line->GetStyle(), TColorLineStyle::clCustom);
  EXPECT_NEAR(Line->GetValue(), 7, 0.05);
  EXPECT_EQ(Events, (std::vector<String>{"begin", "drag", "end"}));
  EXPECT_FALSE(Chart->GetZoomed());  // the tool claimed the press
}

TEST_F(ColorLineTest, GrabToleranceIsStrict) {
  Line->SetValue(5);
  const std::int32_t P = Bottom->CalcPosValue(5);
  const TRectF R = Chart->GetChartRect();
  struct Case {
    int X, Y;
    bool On;
  };
  const Case Cases[] = {
      {P, Round(MidY()), true},          {P + 2, Round(MidY()), true},   {P - 2, Round(MidY()), true},
      {P + 3, Round(MidY()), false},     {P, Round(R.Top), true},        {P, Round(R.Bottom), true},
      {P, Round(R.Top) - 1, false},      {P, Round(R.Bottom) + 1, false},
  };
  for (const Case& C : Cases) EXPECT_EQ(Line->Clicked(C.X, C.Y), C.On) << C.X - P << "," << C.Y;
  Line->SetClickTolerance(5);
  EXPECT_TRUE(Line->Clicked(P + 4, Round(MidY())));
}

TEST_F(ColorLineTest, DragStopsAtTheAxisEndUnlessUnlimited) {
  Line->SetValue(8);
  const float Beyond = Chart->GetChartRect().Right + 40;
  DragLine(Px(8), Beyond);
  EXPECT_NEAR(Line->GetValue(), 10, 1e-6);

  Line->SetNoLimitDrag(true);
  DragLine(Px(10), Beyond);
  EXPECT_GT(Line->GetValue(), 10.5);
}

TEST_F(ColorLineTest, ZoomingPullsTheLineToTheNearerEndAtTheNextPaint) {
  Line->SetValue(9);
  Bottom->SetMinMax(0, 5);
  PaintRecorded();
  EXPECT_NEAR(Line->GetValue(), 5, 1e-6);
  EXPECT_EQ(LinesAt(Px(5), LineColor).size(), 1u);
}

TEST_F(ColorLineTest, FarValuesOnANarrowAxisArePulledToTheNearerEnd) {
  // Equal ends given to SetMinMax (5 +/- 1e-10): 0 and 9 map far beyond any canvas, to the pixel
  // limit, and the distances to the axis ends stay defined.
  struct Case {
    double Value;
    bool Inverted, ToMaximum;
  };
  const Case Cases[] = {{0, false, false}, {9, false, true}, {0, true, false}, {9, true, true}};
  for (const Case& C : Cases) {
    Bottom->SetInverted(C.Inverted);
    Bottom->SetMinMax(0, 10);
    Line->SetValue(C.Value);
    Bottom->SetMinMax(5, 5);
    PaintRecorded();
    const double End = C.ToMaximum ? Bottom->GetMaximum() : Bottom->GetMinimum();
    EXPECT_NEAR(Line->GetValue(), End, 1e-12) << C.Value << " inverted " << C.Inverted;
    const std::int32_t EndPixel = (C.ToMaximum != C.Inverted) ? Bottom->IEndPos : Bottom->IStartPos;
    EXPECT_EQ(LinesAt(float(EndPixel), LineColor).size(), 1u) << C.Value << " inverted " << C.Inverted;
  }
}

TEST_F(ColorLineTest, OnlyTheLeftButtonGrabs) {
  Line->SetValue(5);
  DragLine(Px(5), Px(7), TMB::mbRight);
  EXPECT_DOUBLE_EQ(Line->GetValue(), 5);
  EXPECT_FALSE(Line->GetDragging());
  Line->SetAllowDrag(false);
  DragLine(Px(5), Px(7));
  EXPECT_DOUBLE_EQ(Line->GetValue(), 5);
}

TEST_F(ColorLineTest, DrawsAcrossTheChartOrAroundItsLabel) {
  Line->SetValue(4);
  PaintRecorded();
  const TRectF R = Chart->GetChartRect();
  auto Lines = LinesAt(Px(4), LineColor);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_FLOAT_EQ(std::min(Lines[0].Points[0].Y, Lines[0].Points[1].Y), R.Top);
  EXPECT_FLOAT_EQ(std::max(Lines[0].Points[0].Y, Lines[0].Points[1].Y), R.Bottom);

  // With a label showing the value the line leaves a gap for it, and the label shows the axis' text.
  Line->SetAnnotationValue(true);
  Line->GetAnnotation();
  PaintRecorded();
  Lines = LinesAt(Px(4), LineColor);
  ASSERT_EQ(Lines.size(), 2u);
  bool LabelDrawn = false;
  for (const String& T : Canvas.Texts())
    if (T == Bottom->LabelValue(4)) LabelDrawn = true;
  EXPECT_TRUE(LabelDrawn);
  const TRectF Box = Line->GetAnnotation()->GetShape()->ShapeBounds;
  const float GapTop = std::max(Lines[0].Points[0].Y, Lines[0].Points[1].Y);
  const float GapBottom = std::min(Lines[1].Points[0].Y, Lines[1].Points[1].Y);
  EXPECT_NEAR(GapTop, Box.Top, 1);
  EXPECT_NEAR(GapBottom, Box.Bottom, 1);
  EXPECT_NEAR((Box.Left + Box.Right) / 2, Px(4), 1);  // centred on the line
}

TEST_F(ColorLineTest, LineOutsideTheAxisIsNotDrawnWhenFreeToLeave) {
  Line->SetNoLimitDrag(true);
  Line->SetValue(15);
  PaintRecorded();
  EXPECT_TRUE(LinesAt(Px(15), LineColor).empty());
  EXPECT_DOUBLE_EQ(Line->GetValue(), 15);
}

// Notes how many primitives the canvas holds when each drawing event reaches it.
class TMarkTool : public TZelCustomTool {
 public:
  TMarkTool(TComponent* AOwner, const TRecordingCanvas* ACanvas) : TZelCustomTool(AOwner), Canvas(ACanvas) {}
  void ChartEvent(TChartToolEvent E) override {
    if (E == TChartToolEvent::tdeSeriesStart) AtSeriesStart = Canvas->GetRecords().size();
    if (E == TChartToolEvent::tdeSeriesDone) AtSeriesDone = Canvas->GetRecords().size();
  }
  const TRecordingCanvas* Canvas;
  std::size_t AtSeriesStart = 0, AtSeriesDone = 0;
};

TEST_F(ColorLineTest, BehindLinesAreDrawnWithTheSeriesPassOthersAtTheEnd) {
  auto* Mark = Create<TMarkTool>(Chart, &Canvas);
  Chart->GetTools()->Add(Mark);  // after the line: sees each event once the line has drawn
  Line->SetValue(4);
  for (const bool Behind : {true, false}) {
    Line->SetDrawBehind(Behind);
    PaintRecorded();
    std::vector<std::size_t> At;
    const auto& Records = Canvas.GetRecords();
    for (std::size_t I = 0; I < Records.size(); ++I)
      if (Records[I].Kind == TRecordKind::DrawLine && Records[I].Color == LineColor) At.push_back(I);
    ASSERT_EQ(At.size(), 1u) << Behind;
    if (Behind)
      EXPECT_LT(At[0], Mark->AtSeriesStart);
    else
      EXPECT_GE(At[0], Mark->AtSeriesDone);
  }
}

TEST_F(ColorLineTest, In3DDepthLinesJoinTheFrontAndBackLines) {
  Chart->SetView3D(true);
  Line->SetValue(4);
  struct Case {
    bool DrawBehind, Draw3D;
    std::size_t Lines;  // depth lines, the back line, the front line
  };
  const Case Cases[] = {{false, true, 4}, {true, true, 3}, {false, false, 1}, {true, false, 1}};
  for (const Case& C : Cases) {
    Line->SetDrawBehind(C.DrawBehind);
    Line->SetDraw3D(C.Draw3D);
    PaintRecorded();
    std::size_t N = 0;
    for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::DrawLine))
      if (R.Color == LineColor) ++N;
    EXPECT_EQ(N, C.Lines) << C.DrawBehind << C.Draw3D;
  }
}

TEST_F(ColorLineTest, LabelIsOwnedAndCanBeRemoved) {
  TAnnotationTool* A = Line->GetAnnotation();
  EXPECT_EQ(A->GetOwner(), Line);
  EXPECT_TRUE(A->GetShape()->GetVisible());
  EXPECT_EQ(Chart->GetTools()->IndexOf(A), -1);
  std::vector<TComponent*> Children;
  Line->GetChildren([&](TComponent* C) { Children.push_back(C); }, nullptr);
  EXPECT_EQ(Children, std::vector<TComponent*>{A});
  Line->SetAnnotation(nullptr);
  EXPECT_EQ(Line->ExistingAnnotation(), nullptr);
}

// Colour band

TEST_F(ColorLineTest, ShowingTheValueAloneMakesTheLabel) {
  Line->SetValue(4);
  Line->SetAnnotationValue(true);
  ASSERT_EQ(Line->ExistingAnnotation(), nullptr);
  PaintRecorded();
  bool LabelDrawn = false;
  for (const String& T : Canvas.Texts())
    if (T == Bottom->LabelValue(4)) LabelDrawn = true;
  EXPECT_TRUE(LabelDrawn);
  EXPECT_EQ(LinesAt(Px(4), LineColor).size(), 2u);  // around the label
}

class ColorBandTest : public ColorToolFixture {
 protected:
  void SetUp() override {
    ColorToolFixture::SetUp();
    Band = Create<TColorBandTool>(Chart);
    Band->SetAxis(Bottom);
    Band->SetColor(BandColor);
    Band->SetStartValue(2);
    Band->SetEndValue(4);
    PaintRecorded();
  }
  void Drag(float FromX, float ToX, TMB Button = TMB::mbLeft) {
    Chart->MouseDown(Button, {}, FromX, MidY());
    Chart->MouseMove(LeftDown, (FromX + ToX) / 2, MidY());
    Chart->MouseMove(LeftDown, ToX, MidY());
    Chart->MouseUp(Button, {}, ToX, MidY());
  }

  static constexpr TAlphaColor BandColor = 0xFFCC3300;
  TColorBandTool* Band = nullptr;
};

TEST_F(ColorBandTest, RectangleRunsFromTheLowerToTheHigherValue) {
  struct Case {
    double Start, End;
    bool Inverted;
  };
  const Case Cases[] = {{2, 8, false}, {8, 2, false}, {8, 2, true}, {2, 8, true}};
  for (const Case& C : Cases) {
    Bottom->SetInverted(C.Inverted);
    PaintRecorded();
    Band->SetStartValue(C.Start);
    Band->SetEndValue(C.End);
    const TRectF R = Band->BoundsRect();
    const float A = Px(2), B = Px(8);
    EXPECT_EQ(R.Left, std::min(A, B));
    EXPECT_EQ(R.Right, std::max(A, B) + 1);  // the outline's pixel
    EXPECT_EQ(R.Top, Chart->GetChartRect().Top);
    EXPECT_EQ(R.Bottom, Chart->GetChartRect().Bottom);
  }
}

TEST_F(ColorBandTest, IsFilledInItsColourAndBlendedByItsTransparency) {
  Band->SetTransparency(50);
  PaintRecorded();
  const auto Fills = FillsOf(BandColor);
  ASSERT_EQ(Fills.size(), 1u);
  EXPECT_NEAR(Fills[0].Opacity, 0.5, 1e-6);
  EXPECT_NEAR(Fills[0].Rect.Left, Px(2), 1);
  EXPECT_NEAR(Fills[0].Rect.Right, Px(4) + 1, 1);
}

TEST_F(ColorBandTest, OutsideTheAxisDrawsNothingButItsEdgesAreAsked) {
  Band->GetStartLine()->GetPen()->SetColor(0xFF0000FF);
  Band->SetStartValue(12);
  Band->SetEndValue(15);
  PaintRecorded();
  EXPECT_TRUE(FillsOf(BandColor).empty());
  EXPECT_TRUE(Band->BoundsRect().IsEmpty());
  // The start line is limited to the axis' end when it is drawn.
  EXPECT_EQ(LinesAt(Px(10), 0xFF0000FF).size(), 1u);
}

TEST_F(ColorBandTest, ABandAcrossANarrowAxisFillsIt) {
  // both ends far off an axis 2e-10 wide, on either side: the band covers the whole axis
  Band->SetStartValue(0);
  Band->SetEndValue(9);
  Bottom->SetMinMax(5, 5);
  PaintRecorded();
  const auto Fills = FillsOf(BandColor);
  ASSERT_EQ(Fills.size(), 1u);
  EXPECT_NEAR(Fills[0].Rect.Left, Bottom->IStartPos, 1);
  EXPECT_NEAR(Fills[0].Rect.Right, Bottom->IEndPos + 1, 1);
}

TEST_F(ColorBandTest, DraggingKeepsTheWidthAndStopsAtTheVisibleEnd) {
  Band->SetNoLimitDrag(false);
  Drag(Px(3), Px(5));
  EXPECT_NEAR(Band->GetStartValue(), 4, 0.05);
  EXPECT_NEAR(Band->GetEndValue() - Band->GetStartValue(), 2, 1e-9);
  EXPECT_FALSE(Chart->GetZoomed());
  PaintRecorded();
  Drag(Px(5), Chart->GetChartRect().Right + 60);
  EXPECT_NEAR(Band->GetEndValue(), 10, 1e-6);
  EXPECT_NEAR(Band->GetStartValue(), 8, 1e-6);
}

TEST_F(ColorBandTest, AnyButtonDragsTheBandAndClicksAreReported) {
  int Clicks = 0;
  TMB Pressed = TMB::mbLeft;
  Band->OnClick = [&](TObject*, TMB B, TShiftState, float, float) {
    ++Clicks;
    Pressed = B;
  };
  Drag(Px(3), Px(5), TMB::mbRight);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Pressed, TMB::mbRight);
  EXPECT_NEAR(Band->GetStartValue(), 4, 0.05);
  EXPECT_FALSE(Band->GetDragging());

  Band->SetAllowDrag(false);
  PaintRecorded();
  const double Start = Band->GetStartValue();
  Drag(Px(5), Px(7), TMB::mbRight);
  EXPECT_DOUBLE_EQ(Band->GetStartValue(), Start);
}

TEST_F(ColorBandTest, DraggingAnEdgeResizesTheBand) {
  int Resizing = 0, Resized = 0;
  Band->OnResizing = [&](TObject*) { ++Resizing; };
  Band->OnResized = [&](TObject*) { ++Resized; };
  // The end edge at 4 moves to 6; the start stays.
  Drag(Px(4), Px(6));
  EXPECT_NEAR(Band->GetEndValue(), 6, 0.05);
  EXPECT_DOUBLE_EQ(Band->GetStartValue(), 2);
  EXPECT_GT(Resizing, 0);
  EXPECT_EQ(Resized, 1);

  // Without resizing at the start, a press there drags the whole band.
  Band->SetResizeStart(false);
  PaintRecorded();
  const double Width = Band->GetEndValue() - Band->GetStartValue();
  Drag(Px(2) + 1, Px(3) + 1);
  EXPECT_NEAR(Band->GetStartValue(), 3, 0.05);
  EXPECT_NEAR(Band->GetEndValue() - Band->GetStartValue(), Width, 1e-9);
}

TEST_F(ColorBandTest, EdgesAreDrawnByTheBandNotByTheChart) {
  EXPECT_EQ(Chart->GetTools()->IndexOf(Band->GetStartLine()), -1);
  EXPECT_EQ(Chart->GetTools()->IndexOf(Band->GetEndLine()), -1);
  EXPECT_EQ(Band->GetStartLine()->GetAxis(), Bottom);
  Band->GetEndLine()->GetPen()->SetColor(0xFF00FF00);
  PaintRecorded();
  EXPECT_EQ(LinesAt(Px(4), 0xFF00FF00).size(), 1u);
  std::vector<TComponent*> Children;
  Band->GetChildren([&](TComponent* C) { Children.push_back(C); }, nullptr);
  EXPECT_EQ(Children, (std::vector<TComponent*>{Band->GetStartLine(), Band->GetEndLine()}));
}

TEST_F(ColorBandTest, ChangesAreReported) {
  int Changes = 0;
  Band->OnChanged = [&](TObject*) { ++Changes; };
  Band->SetStartValue(2);  // unchanged
  Band->SetStartValue(3);
  Band->SetEndValue(5);
  EXPECT_EQ(Changes, 2);
  EXPECT_DOUBLE_EQ(Band->GetStartLine()->GetValue(), 3);
  EXPECT_DOUBLE_EQ(Band->GetEndLine()->GetValue(), 5);
}

TEST_F(ColorBandTest, In3DTheBandIsDrawnAtTheBackWallOrInFront) {
  Chart->SetView3D(true);
  for (const bool Behind : {true, false}) {
    Band->SetDrawBehind(Behind);
    PaintRecorded();
    EXPECT_EQ(Band->ZPosition(), Behind ? Chart->GetWidth3D() : 0);
    std::vector<TCanvasRecord> Fills;
    for (const TCanvasRecord& R : Canvas.GetRecords())
      if ((R.Kind == TRecordKind::FillRect || R.Kind == TRecordKind::FillPolygon) && R.Color == BandColor)
        Fills.push_back(R);
    ASSERT_EQ(Fills.size(), 1u) << Behind;
  }
  EXPECT_GT(Chart->GetWidth3D(), 0);
}

TEST_F(ColorBandTest, ThePictureLiesOnTheBandsPlane) {
  // In a rotated 3D view the picture is drawn onto the band's plane, cell by cell; in 2D and
  // in the orthogonal view it is stretched into the projected rectangle.
  constexpr TAlphaColor Cell = 0xFF123456;
  Band->GetPicture()->SetSize(2, 2);
  Band->GetPicture()->Clear(Cell);
  struct Case {
    bool View3D, Orthogonal;
    std::size_t Bitmaps, Cells;
  };
  const Case Cases[] = {{false, true, 1, 0}, {true, true, 1, 0}, {true, false, 0, 4}};
  for (const Case& C : Cases) {
    Chart->SetView3D(C.View3D);
    Chart->GetView3DOptions()->SetOrthogonal(C.Orthogonal);
    PaintRecorded();
    std::size_t Cells = 0;
    for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::FillPolygon))
      Cells += R.Color == Cell;
    EXPECT_EQ(Canvas.RecordsOf(TRecordKind::DrawBitmap).size(), C.Bitmaps) << C.View3D << C.Orthogonal;
    EXPECT_EQ(Cells, C.Cells) << C.View3D << C.Orthogonal;
  }
}

TEST_F(ColorBandTest, FreeingTheChartFreesTheBandAndItsEdges) {
  // Run under the sanitizers: nothing may be left or freed twice.
  Band->GetStartLine()->GetAnnotation();
  FreeAndNil(Chart);
}

}  // namespace
}  // namespace zel::testing
