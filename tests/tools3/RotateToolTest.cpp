// The rotate tool dragged with the mouse (speed, direction, limits of the platform canvas,
// buttons, the outline preview, cursors, inertia driven by calling the timer's tick) and the
// chart-image tool's picture rectangle.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/ExtCtrls.h"
#include "tests/tools3/Tools3Fixture.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/tools/RotateTool.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

// A canvas that claims XOR drawing between paints (the platform canvas never does).
class TXorCanvas : public TZelCanvas3D {
 public:
  bool GetSupportsXORMode() override { return true; }
};

class RotateToolTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    Tool = Create<TRotateTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    SetView(100, 300);
  }
  void SetView(double Rotation, double Elevation) {
    Options()->SetRotationFloat(Rotation);
    Options()->SetElevationFloat(Elevation);
  }
  TView3DOptions* Options() const { return Chart->GetView3DOptions(); }
  void DragMouse(float X0, float Y0, float X1, float Y1, TMB Press = TMB::mbLeft, TMB Release = TMB::mbLeft) {
    Chart->MouseDown(Press, {}, X0, Y0);
    Chart->MouseMove({}, X1, Y1);
    Chart->MouseUp(Release, {}, X1, Y1);
  }

  TRotateTool* Tool = nullptr;
};

TEST_F(RotateToolTest, AFullWidthDragTurnsBy90DegreesScaledBySpeed) {
  struct Case {
    int Speed;
    bool Inverted;
    double Rotation;  // from 100
  };
  const Case Cases[] = {{50, false, 190}, {0, false, 145}, {150, false, 280}, {50, true, 10}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "speed " << C.Speed << (C.Inverted ? " inverted" : ""));
    SetView(100, 300);
    Tool->SetSpeed(C.Speed);
    Tool->SetInverted(C.Inverted);
    int Rotations = 0;
    Tool->OnRotate = [&](TObject*) { ++Rotations; };
    DragMouse(0, 150, 400, 150);
    EXPECT_NEAR(Options()->GetRotationFloat(), C.Rotation, 1e-9);
    EXPECT_NEAR(Options()->GetElevationFloat(), 300, 1e-9);
    EXPECT_EQ(Rotations, 1);
    EXPECT_TRUE(Chart->GetView3D());
    EXPECT_FALSE(Options()->GetOrthogonal());
  }
}

TEST_F(RotateToolTest, TheViewStaysWithinThePlatformCanvasLimits) {
  struct Case {
    const char* Name;
    double Rotation, Elevation;
    float DX, DY;  // mouse travel
    double ExpectRotation, ExpectElevation;
  };
  Tool->SetSpeed(150);  // 180 degrees for the full width or height
  const Case Cases[] = {
      {"upward stops at 360", 100, 300, 0, -300, 100, 360},
      {"downward stops at 270", 100, 300, 0, 300, 100, 270},
      {"rotation passes 360", 350, 300, 200, 0, 80, 300},
      {"rotation below 0 wraps", 10, 300, -100, 0, 325, 300},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    SetView(C.Rotation, C.Elevation);
    const float X0 = C.DX < 0 ? 300 : 50, Y0 = C.DY < 0 ? 299 : 0;
    DragMouse(X0, Y0, X0 + C.DX, Y0 + C.DY);
    EXPECT_NEAR(Options()->GetRotationFloat(), C.ExpectRotation, 1);
    EXPECT_NEAR(Options()->GetElevationFloat(), C.ExpectElevation, 1);
  }
  // The style limits what turns.
  Tool->SetStyle(TRotateToolStyles::rsElevation);
  SetView(100, 300);
  DragMouse(50, 100, 150, 50);
  EXPECT_EQ(Options()->GetRotationFloat(), 100);
  EXPECT_GT(Options()->GetElevationFloat(), 300);
}

TEST_F(RotateToolTest, OnlyTheToolsButtonStartsADragAndAnyButtonEndsIt) {
  Chart->MouseDown(TMB::mbRight, {}, 10, 10);
  EXPECT_FALSE(Tool->GetDragging());
  Chart->MouseMove({}, 200, 10);
  Chart->MouseUp(TMB::mbRight, {}, 200, 10);
  EXPECT_EQ(Options()->GetRotationFloat(), 100);

  DragMouse(10, 10, 50, 10, TMB::mbLeft, TMB::mbRight);
  EXPECT_FALSE(Tool->GetDragging());
  const double After = Options()->GetRotationFloat();
  Chart->MouseMove({}, 300, 10);
  EXPECT_EQ(Options()->GetRotationFloat(), After);
}

TEST_F(RotateToolTest, WithAVisiblePenAndXorDrawingTheChartWaitsForTheRelease) {
  Chart->SetInternalCanvas(Create<TXorCanvas>());
  Tool->GetPen()->Show();
  // A click without a move leaves the chart's repainting alone.
  DragMouse(10, 10, 10, 10);
  EXPECT_TRUE(Chart->GetAutoRepaint());

  Chart->MouseDown(TMB::mbLeft, {}, 10, 10);
  Chart->MouseMove({}, 40, 20);
  EXPECT_FALSE(Chart->GetAutoRepaint());
  Chart->MouseMove({}, 80, 30);
  EXPECT_FALSE(Chart->GetAutoRepaint());
  Chart->MouseUp(TMB::mbLeft, {}, 80, 30);
  EXPECT_TRUE(Chart->GetAutoRepaint());

  // A chart that did not repaint before still does not afterwards.
  Chart->SetAutoRepaint(false);
  DragMouse(10, 10, 40, 20);
  EXPECT_FALSE(Chart->GetAutoRepaint());

  // Deactivating the tool in the middle of a drag ends it and the chart repaints again.
  Chart->SetAutoRepaint(true);
  Chart->MouseDown(TMB::mbLeft, {}, 10, 10);
  Chart->MouseMove({}, 40, 20);
  ASSERT_FALSE(Chart->GetAutoRepaint());
  Tool->SetActive(false);
  EXPECT_TRUE(Chart->GetAutoRepaint());
  EXPECT_FALSE(Tool->GetDragging());
  Tool->SetActive(true);
  Chart->MouseUp(TMB::mbLeft, {}, 40, 20);
  EXPECT_TRUE(Chart->GetAutoRepaint());
}

TEST_F(RotateToolTest, WithoutXorDrawingEachStepRepaintsWithTheOutline) {
  // The platform canvas cannot draw by XOR: the chart keeps repainting itself and each paint
  // during the drag shows the outline in the pen's colour.
  ASSERT_FALSE(ZelCanDrawXor(Chart));
  constexpr TAlphaColor Green = 0xFF00FF00;
  Tool->GetPen()->SetColor(Green);
  Tool->GetPen()->Show();
  auto OutlineLines = [&] {
    PaintRec();
    int N = 0;
    for (const TCanvasRecord& R : Rec.GetRecords())
      if (R.Color == Green && R.Kind != TRecordKind::FillRect && R.Kind != TRecordKind::FillPolygon) ++N;
    return N;
  };
  EXPECT_EQ(OutlineLines(), 0);
  Chart->MouseDown(TMB::mbLeft, {}, 10, 10);
  EXPECT_EQ(OutlineLines(), 0);  // nothing before the first move
  const int Requests = Chart->GetRepaintRequestCount();
  Chart->MouseMove({}, 40, 20);
  EXPECT_TRUE(Chart->GetAutoRepaint());
  EXPECT_GT(Chart->GetRepaintRequestCount(), Requests);
  EXPECT_GT(OutlineLines(), 0);
  Chart->MouseUp(TMB::mbLeft, {}, 40, 20);
  EXPECT_TRUE(Chart->GetAutoRepaint());
  EXPECT_EQ(OutlineLines(), 0);
}

TEST_F(RotateToolTest, TheCursorIsSetForTheDragAndResetToTheDefault) {
  TFakeCursorService Cursors;
  ICursorService* Old = TPlatformServices::Current().SetCursorService(&Cursors);
  DragMouse(10, 10, 40, 10);
  EXPECT_EQ(Cursors.Cursors, (std::vector<TCursor>{crHandPoint, crDefault}));
  Cursors.Cursors.clear();
  Tool->SetCursor(crDefault);
  DragMouse(10, 10, 40, 10);
  EXPECT_TRUE(Cursors.Cursors.empty());
  TPlatformServices::Current().SetCursorService(Old);
}

TEST_F(RotateToolTest, InertiaKeepsTurningAndSlowsDownAtEachPaint) {
  // Without inertia the view stops with the release.
  DragMouse(0, 100, 40, 100);
  EXPECT_EQ(Tool->ExistingTimer(), nullptr);

  Tool->SetInertia(100);
  DragMouse(0, 100, 40, 100);  // a step of 9 degrees
  TTimer* T = Tool->ExistingTimer();
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->GetEnabled());
  EXPECT_EQ(T->GetInterval(), 15u);  // about a screen refresh
  const double Step = Tool->GetRotationStep();
  EXPECT_NEAR(Step, 9, 1e-9);
  const double R0 = Options()->GetRotationFloat();
  T->Timer();
  Tool->ChartEvent(TChartToolEvent::tdePaintDone);  // the repaint that follows
  T->Timer();
  EXPECT_NEAR(Options()->GetRotationFloat(), R0 + 2 * Step, 1e-9);  // with 100 nothing is lost
  EXPECT_TRUE(T->GetEnabled());

  // With 50 every drawing event keeps 95 percent of the step, until it is at most 0.01.
  Tool->SetInertia(50);
  Tool->ChartEvent(TChartToolEvent::tdeSeriesStart);
  EXPECT_NEAR(Tool->GetRotationStep(), Step * 0.95, 1e-9);
  for (int I = 0; I < 200; ++I) Tool->ChartEvent(TChartToolEvent::tdePaintDone);
  EXPECT_LE(std::fabs(Tool->GetRotationStep()), 0.01);
  EXPECT_FALSE(T->GetEnabled());

  // A press stops the coasting at once.
  Tool->SetInertia(100);
  DragMouse(0, 100, 40, 100);
  ASSERT_TRUE(T->GetEnabled());
  Chart->MouseDown(TMB::mbLeft, {}, 0, 100);
  EXPECT_FALSE(T->GetEnabled());
  const double Held = Options()->GetRotationFloat();
  T->Timer();  // a tick during the drag turns nothing
  EXPECT_EQ(Options()->GetRotationFloat(), Held);
  Chart->MouseUp(TMB::mbLeft, {}, 0, 100);
}

TEST_F(RotateToolTest, RotateAddsWithoutWrappingAndNeedsAChart) {
  SetView(355, 300);
  Tool->Rotate(10, 0);
  EXPECT_EQ(Options()->GetRotationFloat(), 365);
  TOwned<TRotateTool> Loose(Create<TRotateTool>(nullptr));
  Loose->Rotate(10, 10);  // no chart: nothing happens
  EXPECT_EQ(Options()->GetRotationFloat(), 365);
}

TEST_F(RotateToolTest, AChartWithoutSizeGivesNoStep) {
  Chart->SetBounds(0, 0, 0, 0);
  Tool->ChartMouseEvent(TChartMouseEvent::tmePress, TMB::mbLeft, {}, 0, 0);
  Tool->ChartMouseEvent(TChartMouseEvent::tmeMove, TMB::mbLeft, {}, 30, 30);
  Tool->ChartMouseEvent(TChartMouseEvent::tmeRelease, TMB::mbLeft, {}, 30, 30);
  EXPECT_EQ(Options()->GetRotationFloat(), 100);
  EXPECT_EQ(Options()->GetElevationFloat(), 300);
}

class ChartImageTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    Tool = Create<TChartImageTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Tool->GetPicture()->SetSize(8, 8);
  }
  // The bitmaps drawn at the last paint.
  std::vector<TCanvasRecord> Pictures() const { return Rec.RecordsOf(TRecordKind::DrawBitmap); }

  TChartImageTool* Tool = nullptr;
};

TEST_F(ChartImageTest, ThePictureCoversTheSeriesTheAxesOrTheChart) {
  struct Case {
    const char* Name;
    bool WithSeries, SeriesActive;
  };
  for (const Case& C : {Case{"series", true, true}, Case{"axes of the active series", false, true},
                        Case{"no active series", false, false}}) {
    SCOPED_TRACE(C.Name);
    Tool->SetSeries(C.WithSeries ? Series : nullptr);
    Series->SetActive(C.SeriesActive);
    // Zoomed in, so that the data's range differs from the axes'.
    Chart->GetBottomAxis()->SetMinMax(2, 8);
    Chart->GetLeftAxis()->SetMinMax(10, 90);
    PaintRec();
    TRectF Expect = Chart->GetChartRect();
    if (C.WithSeries)
      Expect = TRectF(static_cast<float>(Series->CalcXPosValue(0)), static_cast<float>(Series->CalcYPosValue(100)),
                      static_cast<float>(Series->CalcXPosValue(10)), static_cast<float>(Series->CalcYPosValue(0)));
    else if (C.SeriesActive)
      Expect = TRectF(static_cast<float>(Chart->GetBottomAxis()->CalcPosValue(2)),
                      static_cast<float>(Chart->GetLeftAxis()->CalcYPosValue(90)),
                      static_cast<float>(Chart->GetBottomAxis()->CalcPosValue(8)),
                      static_cast<float>(Chart->GetLeftAxis()->CalcYPosValue(10)));
    const std::vector<TCanvasRecord> P = Pictures();
    ASSERT_EQ(P.size(), 1u);
    EXPECT_FLOAT_EQ(P[0].Rect.Left, Expect.Left);
    EXPECT_FLOAT_EQ(P[0].Rect.Top, Expect.Top);
    EXPECT_FLOAT_EQ(P[0].Rect.Right, Expect.Right);
    EXPECT_FLOAT_EQ(P[0].Rect.Bottom, Expect.Bottom);
    EXPECT_TRUE(P[0].Clipped);  // kept inside the chart rectangle
  }
}

TEST_F(ChartImageTest, AnEmptyPictureDrawsNothing) {
  Tool->GetPicture()->SetSize(0, 0);
  PaintRec();
  EXPECT_TRUE(Pictures().empty());
  // A picture given later shows.
  TOwned<TZelPicture> P(Create<TZelPicture>());
  P->SetSize(4, 4);
  Tool->SetPicture(P.get());
  PaintRec();
  EXPECT_EQ(Pictures().size(), 1u);
}

}  // namespace
}  // namespace zel::testing
