// The chart driven by the mouse: zoom drags, undo drags, panning, the wheel, clicks on series,
// and tools that claim events.
#include <gtest/gtest.h>

#include "platform/Bitmap.h"
#include "tests/chartcontrol/ChartFixture.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

class ChartMouseTest : public ChartFixture {};

TEST_F(ChartMouseTest, DragRightZoomsToTheDraggedRectangle) {
  int Zooms = 0;
  Chart->OnZoom = [&](TObject*) { ++Zooms; };
  const TPointF A = Inside(30, 20), B = Inside(150, 120);
  TChartAxis* H = Chart->GetBottomAxis();
  TChartAxis* V = Chart->GetLeftAxis();
  const double HMin = H->CalcPosPoint(Round(A.X)), HMax = H->CalcPosPoint(Round(B.X));
  const double VMin = V->CalcPosPoint(Round(B.Y)), VMax = V->CalcPosPoint(Round(A.Y));

  Drag(TMB::mbLeft, A.X, A.Y, B.X, B.Y);

  EXPECT_EQ(Zooms, 1);
  EXPECT_TRUE(Chart->GetZoomed());
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  EXPECT_DOUBLE_EQ(H->GetMinimum(), HMin);
  EXPECT_DOUBLE_EQ(H->GetMaximum(), HMax);
  EXPECT_DOUBLE_EQ(V->GetMinimum(), VMin);
  EXPECT_DOUBLE_EQ(V->GetMaximum(), VMax);
  EXPECT_FALSE(H->GetAutomatic());
}

// A drag must be longer than MinimumPixels (16) in the directions the zoom covers; right zooms
// in, left undoes.
TEST_F(ChartMouseTest, DragLengthAndSenseDecide) {
  struct Case {
    float DX, DY;
    TZelZoomDirection Dir;
    bool UpLeft;
    const char* Expect;  // "zoom", "undo" or "none"
  };
  const Case Cases[] = {
      {16, 40, TZelZoomDirection::tzdBoth, false, "none"},
      {17, 40, TZelZoomDirection::tzdBoth, false, "zoom"},
      {40, 16, TZelZoomDirection::tzdBoth, false, "none"},
      {-17, 40, TZelZoomDirection::tzdBoth, false, "undo"},
      {40, -40, TZelZoomDirection::tzdBoth, false, "zoom"},  // only the horizontal sense counts
      {-40, -40, TZelZoomDirection::tzdBoth, true, "zoom"},
      {17, 0, TZelZoomDirection::tzdHorizontal, false, "zoom"},
      {-17, 0, TZelZoomDirection::tzdHorizontal, false, "undo"},
      {0, 17, TZelZoomDirection::tzdVertical, false, "zoom"},
      {0, -17, TZelZoomDirection::tzdVertical, false, "undo"},
      {0, 16, TZelZoomDirection::tzdVertical, false, "none"},
  };
  int Zooms = 0, Undos = 0;
  Chart->OnZoom = [&](TObject*) { ++Zooms; };
  Chart->OnUndoZoom = [&](TObject*) { ++Undos; };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.DX << "," << C.DY << " dir " << static_cast<int>(C.Dir));
    Chart->UndoZoom();
    Paint();
    Chart->GetZoom()->SetDirection(C.Dir);
    Chart->GetZoom()->SetUpLeftZooms(C.UpLeft);
    Zooms = Undos = 0;
    const TPointF A = Inside(100, 100);
    Drag(TMB::mbLeft, A.X, A.Y, A.X + C.DX, A.Y + C.DY);
    const String Got = Zooms ? "zoom" : Undos ? "undo" : "none";
    EXPECT_EQ(Got, C.Expect);
    EXPECT_LE(Zooms + Undos, 1);
  }
}

TEST_F(ChartMouseTest, HorizontalZoomSpansTheChartRectangleAcross) {
  Chart->GetZoom()->SetDirection(TZelZoomDirection::tzdHorizontal);
  const TRectF CR = Chart->GetChartRect();
  const TRange V = RangeOf(Chart->GetLeftAxis());
  const TPointF A = Inside(40, 60);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  Chart->MouseMove({}, A.X + 50, A.Y + 10);
  TZelZoom* Z = Chart->GetZoom();
  EXPECT_TRUE(Z->GetActive());
  EXPECT_EQ(Z->Y0, Round(CR.Top));
  EXPECT_EQ(Z->Y1, Round(CR.Bottom));
  EXPECT_EQ(Z->X1, Round(A.X + 50));
  Chart->MouseUp(TMB::mbLeft, {}, A.X + 50, A.Y + 10);
  EXPECT_TRUE(Chart->GetZoomed());
  // The vertical axis keeps its range.
  EXPECT_EQ(RangeOf(Chart->GetLeftAxis()).Min, V.Min);
  EXPECT_EQ(RangeOf(Chart->GetLeftAxis()).Max, V.Max);
  EXPECT_TRUE(Chart->GetLeftAxis()->GetAutomatic());
}

// With KeepAspectRatio the rectangle has the chart rectangle's proportions and grows from the
// press point the way the mouse went; right zooms in, left undoes, as without it.
TEST_F(ChartMouseTest, KeepAspectRatioFollowsTheChartProportions) {
  Width = 600;
  Paint();
  Chart->GetZoom()->SetKeepAspectRatio(true);
  const TRectF CR = Chart->GetChartRect();
  const float M = (CR.Right - CR.Left) / (CR.Bottom - CR.Top);
  ASSERT_GT(M, 1.2f);  // a wide chart: 120 pixels sideways make a rectangle of some height
  struct Case {
    float PressX, PressY, DX, DY;
    const char* Expect;  // "zoom" or "undo"
  };
  const Case Cases[] = {
      {40, 60, 120, 0, "zoom"},    // straight sideways: grows downwards
      {250, 20, -40, 120, "undo"},  // steep, to the left and down
      {40, 150, 120, -20, "zoom"},  // flat, to the right and up: the area above the press
      {60, 40, 30, 130, "zoom"},    // steep, to the right and down
      {300, 200, -120, -10, "undo"},
  };
  int Zooms = 0, Undos = 0;
  Chart->OnZoom = [&](TObject*) { ++Zooms; };
  Chart->OnUndoZoom = [&](TObject*) { ++Undos; };
  TZelZoom* Z = Chart->GetZoom();
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.DX << "," << C.DY);
    Chart->UndoZoom();
    Paint();
    Zooms = Undos = 0;
    TChartAxis* H = Chart->GetBottomAxis();
    TChartAxis* V = Chart->GetLeftAxis();
    const TPointF A = Inside(C.PressX, C.PressY);
    Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
    Chart->MouseMove({}, A.X + C.DX, A.Y + C.DY);
    const int W = Z->X1 - Z->X0, Hgt = Z->Y1 - Z->Y0;
    // the way the mouse went on each axis (no vertical part: downwards)
    EXPECT_EQ(W > 0, C.DX > 0);
    EXPECT_EQ(Hgt > 0, C.DY >= 0);
    // the chart's proportions, as large as the mouse went in its leading direction
    EXPECT_NEAR(std::abs(W), std::abs(Hgt) * M, M);
    if (std::abs(C.DX) >= std::abs(C.DY) * M)
      EXPECT_EQ(std::abs(W), std::abs(C.DX));
    else
      EXPECT_EQ(std::abs(Hgt), std::abs(C.DY));
    const TPoint P0(Z->X0, Z->Y0), P1(Z->X1, Z->Y1);
    const double HMin = H->CalcPosPoint(std::min(P0.X, P1.X)), HMax = H->CalcPosPoint(std::max(P0.X, P1.X));
    const double VMin = V->CalcPosPoint(std::max(P0.Y, P1.Y)), VMax = V->CalcPosPoint(std::min(P0.Y, P1.Y));
    Chart->MouseUp(TMB::mbLeft, {}, A.X + C.DX, A.Y + C.DY);
    EXPECT_EQ(Zooms ? "zoom" : Undos ? "undo" : "none", String(C.Expect));
    if (Zooms) {
      // the zoom shows the rectangle drawn
      EXPECT_DOUBLE_EQ(H->GetMinimum(), HMin);
      EXPECT_DOUBLE_EQ(H->GetMaximum(), HMax);
      EXPECT_DOUBLE_EQ(V->GetMinimum(), VMin);
      EXPECT_DOUBLE_EQ(V->GetMaximum(), VMax);
    }
  }
}

TEST_F(ChartMouseTest, PanMovesTheAxesWithTheMouseAndUndoRestores) {
  int Scrolls = 0;
  Chart->OnScroll = [&](TObject*) { ++Scrolls; };
  TChartAxis* H = Chart->GetBottomAxis();
  TChartAxis* V = Chart->GetLeftAxis();
  const TRange H0 = ShownOf(H), V0 = ShownOf(V);
  const TPointF A = Inside(100, 100);
  const double DH = H->CalcPosPoint(Round(A.X)) - H->CalcPosPoint(Round(A.X + 30));
  const double DV = V->CalcPosPoint(Round(A.Y)) - V->CalcPosPoint(Round(A.Y - 20));

  Chart->MouseDown(TMB::mbRight, {}, A.X, A.Y);
  EXPECT_TRUE(Chart->GetPanning()->GetActive());
  Chart->MouseMove({}, A.X + 30, A.Y - 20);
  Chart->MouseUp(TMB::mbRight, {}, A.X + 30, A.Y - 20);

  EXPECT_EQ(Scrolls, 1);
  EXPECT_FALSE(Chart->GetPanning()->GetActive());
  EXPECT_DOUBLE_EQ(H->GetMinimum(), H0.Min + DH);
  EXPECT_DOUBLE_EQ(H->GetMaximum(), H0.Max + DH);
  EXPECT_DOUBLE_EQ(V->GetMinimum(), V0.Min + DV);
  EXPECT_DOUBLE_EQ(V->GetMaximum(), V0.Max + DV);
  EXPECT_FALSE(Chart->GetRestoredAxisScales());

  Chart->UndoZoom();
  EXPECT_TRUE(H->GetAutomatic());
  EXPECT_TRUE(V->GetAutomatic());
  EXPECT_TRUE(Chart->GetRestoredAxisScales());
}

TEST_F(ChartMouseTest, PanningModeLimitsTheDirections) {
  struct Case {
    TPanningMode Mode;
    bool Horizontal, Vertical;
  };
  const Case Cases[] = {{TPanningMode::pmHorizontal, true, false},
                        {TPanningMode::pmVertical, false, true},
                        {TPanningMode::pmBoth, true, true}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Mode));
    Chart->UndoZoom();
    Paint();
    Chart->SetAllowPanning(C.Mode);
    Drag(TMB::mbRight, Inside(100, 100).X, Inside(100, 100).Y, Inside(140, 60).X, Inside(140, 60).Y);
    EXPECT_NE(Chart->GetBottomAxis()->GetAutomatic(), C.Horizontal);
    EXPECT_NE(Chart->GetLeftAxis()->GetAutomatic(), C.Vertical);
  }
}

TEST_F(ChartMouseTest, NoPanWhenPanningIsOff) {
  Chart->SetAllowPanning(TPanningMode::pmNone);
  Chart->MouseDown(TMB::mbRight, {}, Inside(100, 100).X, Inside(100, 100).Y);
  EXPECT_FALSE(Chart->GetPanning()->GetActive());
  Chart->MouseUp(TMB::mbRight, {}, Inside(100, 100).X, Inside(100, 100).Y);
}

TEST_F(ChartMouseTest, PanInsideBoundsStopsForGoodOutsideTheChartRectangle) {
  Chart->GetPanning()->SetInsideBounds(true);
  const TRectF CR = Chart->GetChartRect();
  const TPointF A = Inside(100, 100);
  Chart->MouseDown(TMB::mbRight, {}, A.X, A.Y);
  Chart->MouseMove({}, CR.Right + 5, A.Y);
  EXPECT_FALSE(Chart->GetPanning()->GetActive());
  Chart->MouseMove({}, A.X + 20, A.Y);
  EXPECT_TRUE(Chart->GetBottomAxis()->GetAutomatic());
  Chart->MouseUp(TMB::mbRight, {}, A.X + 20, A.Y);
}

TEST_F(ChartMouseTest, PressOnAChartWithoutActiveSeriesOnlyReachesTheBackground) {
  Series->SetActive(false);
  Paint();
  int Background = 0;
  Chart->OnClickBackground = [&](TCustomChart*, TMB, TShiftState, std::int32_t, std::int32_t) { ++Background; };
  const TPointF A = Inside(50, 50);
  TChartClickedPart P;
  Chart->CalcClickedPart(A, P);
  EXPECT_EQ(P.Part, TChartClickedPartStyle::cpNone);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  EXPECT_EQ(Background, 1);
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  Chart->MouseUp(TMB::mbLeft, {}, A.X, A.Y);
}

TEST_F(ChartMouseTest, ThePressReachesTheBackgroundOnce) {
  // a handler that lets the press go on, and a button that starts neither zoom nor pan
  int Background = 0;
  Chart->OnClickBackground = [&](TCustomChart* C, TMB, TShiftState, std::int32_t, std::int32_t) {
    ++Background;
    C->SetCancelMouse(false);
  };
  const TPointF A = Inside(50, 50);
  TChartClickedPart P;
  Chart->CalcClickedPart(A, P);
  ASSERT_EQ(P.Part, TChartClickedPartStyle::cpChartRect);
  for (TMB B : {TMB::mbMiddle, TMB::mbLeft}) {
    Background = 0;
    Chart->MouseDown(B, {}, A.X, A.Y);
    EXPECT_EQ(Background, 1) << static_cast<int>(B);
    Chart->MouseUp(B, {}, A.X, A.Y);
  }
}

TEST_F(ChartMouseTest, SeriesThatCannotZoomStopTheDrag) {
  Series->ZoomScroll = false;
  Chart->MouseDown(TMB::mbLeft, {}, Inside(50, 50).X, Inside(50, 50).Y);
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  Chart->MouseUp(TMB::mbLeft, {}, Inside(50, 50).X, Inside(50, 50).Y);
}

TEST_F(ChartMouseTest, ZoomNeedsItsButtonAndKeys) {
  Chart->GetZoom()->SetKeyShift(TShiftState{TShiftStateItem::ssCtrl});
  const TPointF A = Inside(50, 50);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  Chart->MouseUp(TMB::mbLeft, {}, A.X, A.Y);
  Chart->MouseDown(TMB::mbLeft, TShiftState{TShiftStateItem::ssCtrl, TShiftStateItem::ssShift}, A.X, A.Y);
  EXPECT_TRUE(Chart->GetZoom()->GetActive());
  Chart->MouseUp(TMB::mbLeft, {}, A.X, A.Y);
  Chart->MouseDown(TMB::mbMiddle, TShiftState{TShiftStateItem::ssCtrl}, A.X, A.Y);
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  EXPECT_FALSE(Chart->GetPanning()->GetActive());
}

// A press on a series fires its OnClick, then the chart's OnClickSeries; the zoom starts only
// when neither handler left CancelMouse set.
TEST_F(ChartMouseTest, ClickOnASeriesFiresItsEventsBeforeAnyZoom) {
  struct Case {
    bool SeriesCancels;
    bool ChartHandler;
    bool ChartLeavesCancel;
    bool ExpectZoom;
  };
  const Case Cases[] = {
      {false, false, false, true},
      {true, false, false, false},
      {false, true, true, false},
      {false, true, false, true},
      {true, true, false, true},  // the chart's handler decides last
  };
  const std::int32_t Point = 3;
  const float PX = static_cast<float>(Series->CalcXPos(Point));
  const float PY = static_cast<float>(Series->CalcYPos(Point));
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.SeriesCancels << C.ChartHandler << C.ChartLeavesCancel);
    std::vector<String> Log;
    Series->OnClick = [&](TChartSeries*, std::int32_t I, TMB, TShiftState, std::int32_t, std::int32_t) {
      Log.push_back("series " + std::to_string(I));
      if (C.SeriesCancels) Chart->SetCancelMouse(true);
    };
    Chart->OnClickSeries = nullptr;
    if (C.ChartHandler)
      Chart->OnClickSeries = [&](TCustomChart*, TChartSeries* S, std::int32_t I, TMB, TShiftState, std::int32_t,
                                 std::int32_t) {
        EXPECT_EQ(S, Series);
        Log.push_back("chart " + std::to_string(I));
        Chart->SetCancelMouse(C.ChartLeavesCancel);
      };
    Chart->MouseDown(TMB::mbLeft, {}, PX, PY);
    std::vector<String> Want = {"series 3"};
    if (C.ChartHandler) Want.push_back("chart 3");
    EXPECT_EQ(Log, Want);
    EXPECT_EQ(Chart->GetZoom()->GetActive(), C.ExpectZoom);
    EXPECT_FALSE(Chart->GetCancelMouse());
    Chart->MouseUp(TMB::mbLeft, {}, PX, PY);
  }
}

TEST_F(ChartMouseTest, DoubleClickPressFiresTheSeriesDoubleClick) {
  int Clicks = 0, Doubles = 0;
  Series->OnClick = [&](TChartSeries*, std::int32_t, TMB, TShiftState, std::int32_t, std::int32_t) { ++Clicks; };
  Series->OnDblClick = [&](TChartSeries*, std::int32_t, TMB, TShiftState, std::int32_t, std::int32_t) { ++Doubles; };
  const float PX = static_cast<float>(Series->CalcXPos(1));
  const float PY = static_cast<float>(Series->CalcYPos(1));
  Chart->MouseDown(TMB::mbLeft, TShiftState{TShiftStateItem::ssDouble}, PX, PY);
  Chart->MouseUp(TMB::mbLeft, {}, PX, PY);
  EXPECT_EQ(Clicks, 0);
  EXPECT_EQ(Doubles, 1);
}

TEST_F(ChartMouseTest, HitTestFindsSeriesFromTheLastAndSkipsThoseWithoutEvents) {
  // A second series on top of the first one's point 2.
  TPointSeries* Top = AddSeries({4}, {20});
  Paint();
  const TPointF P(static_cast<float>(Series->CalcXPos(2)), static_cast<float>(Series->CalcYPos(2)));
  TChartClickedPart Part;
  Chart->CalcClickedPart(P, Part);
  EXPECT_EQ(Part.Part, TChartClickedPartStyle::cpSeries);
  EXPECT_EQ(Part.ASeries, Top);
  EXPECT_EQ(Part.PointIndex, 0);
  // Needed parts only: neither series raises clicks, so the press lands on the chart rectangle.
  EXPECT_EQ(Chart->CalcNeedClickedPart(P, true).Part, TChartClickedPartStyle::cpChartRect);
  Series->OnClick = [](TChartSeries*, std::int32_t, TMB, TShiftState, std::int32_t, std::int32_t) {};
  const TChartClickedPart N = Chart->CalcNeedClickedPart(P, true);
  EXPECT_EQ(N.ASeries, Series);
  EXPECT_EQ(N.PointIndex, 2);
}

TEST_F(ChartMouseTest, HitTestFindsAxesOutsideTheChartRectangle) {
  TChartAxis* Left = Chart->GetLeftAxis();
  const TPointF P(static_cast<float>(Left->GetPosAxis() - 2), Inside(0, 50).Y);
  TChartClickedPart Part;
  Chart->CalcClickedPart(P, Part);
  EXPECT_EQ(Part.Part, TChartClickedPartStyle::cpAxis);
  EXPECT_EQ(Part.AAxis, Left);
  int AxisClicks = 0;
  Chart->OnClickAxis = [&](TCustomChart*, TChartAxis* A, TMB, TShiftState, std::int32_t, std::int32_t) {
    EXPECT_EQ(A, Left);
    ++AxisClicks;
  };
  Chart->MouseDown(TMB::mbLeft, {}, P.X, P.Y);
  EXPECT_EQ(AxisClicks, 1);
  EXPECT_FALSE(Chart->GetZoom()->GetActive());  // the handler left CancelMouse set
  Chart->MouseUp(TMB::mbLeft, {}, P.X, P.Y);
}

TEST_F(ChartMouseTest, ToolClaimingThePressStopsLaterToolsAndTheChart) {
  TCountTool* First = AddTool();
  TCountTool* Second = AddTool();
  First->CancelOn = static_cast<int>(TChartMouseEvent::tmePress);
  int Background = 0;
  Chart->OnClickBackground = [&](TCustomChart*, TMB, TShiftState, std::int32_t, std::int32_t) { ++Background; };
  const TPointF A = Inside(50, 50);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  EXPECT_EQ(First->Mouse.size(), 1u);
  EXPECT_TRUE(Second->Mouse.empty());
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
  EXPECT_EQ(Background, 0);
  EXPECT_FALSE(Chart->GetCancelMouse());
  Chart->MouseUp(TMB::mbLeft, {}, A.X, A.Y);
  // The release reaches every tool after the chart's own handling.
  EXPECT_EQ(First->Mouse.back(), TChartMouseEvent::tmeRelease);
  EXPECT_EQ(Second->Mouse.back(), TChartMouseEvent::tmeRelease);
}

TEST_F(ChartMouseTest, ToolClaimingMovesFreezesTheZoomRectangle) {
  TCountTool* T = AddTool();
  const TPointF A = Inside(50, 50);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  Chart->MouseMove({}, A.X + 30, A.Y + 30);
  T->CancelOn = static_cast<int>(TChartMouseEvent::tmeMove);
  Chart->MouseMove({}, A.X + 80, A.Y + 80);
  EXPECT_EQ(Chart->GetZoom()->X1, Round(A.X + 30));
  T->CancelOn = -1;
  Chart->MouseUp(TMB::mbLeft, {}, A.X + 80, A.Y + 80);
  EXPECT_TRUE(Chart->GetZoomed());  // the release still ends the drag where the mouse is
}

TEST_F(ChartMouseTest, PressesDuringADragAreIgnored) {
  TCountTool* T = AddTool();
  const TPointF A = Inside(50, 50);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  // the left button is still held while the right one goes down
  Chart->MouseDown(TMB::mbRight, {TShiftStateItem::ssLeft, TShiftStateItem::ssRight}, A.X, A.Y);
  EXPECT_FALSE(Chart->GetPanning()->GetActive());
  EXPECT_EQ(T->Mouse.size(), 1u);
  // A release of another button ends no zoom.
  Chart->MouseUp(TMB::mbRight, {}, A.X + 40, A.Y + 40);
  EXPECT_TRUE(Chart->GetZoom()->GetActive());
  Chart->MouseUp(TMB::mbLeft, {}, A.X + 40, A.Y + 40);
  EXPECT_FALSE(Chart->GetZoom()->GetActive());
}

// The release of a zoom or pan may never arrive (the grab lost, the button let go outside the
// window): the next press that no held button continues ends that drag and is handled itself.
TEST_F(ChartMouseTest, APressEndsADragWhoseReleaseWasLost) {
  struct Case {
    TMB First, Next;
    TShiftState NextShift;
    bool Ends;
  };
  const TShiftState LeftHeld{TShiftStateItem::ssLeft}, RightHeld{TShiftStateItem::ssRight};
  const Case Cases[] = {
      {TMB::mbLeft, TMB::mbLeft, LeftHeld, true},     // the same button again: its release was lost
      {TMB::mbLeft, TMB::mbRight, {}, true},          // the zoom button is no longer held
      {TMB::mbLeft, TMB::mbRight, LeftHeld, false},   // still zooming
      {TMB::mbRight, TMB::mbRight, RightHeld, true},  // a pan
      {TMB::mbRight, TMB::mbLeft, {}, true},
      {TMB::mbRight, TMB::mbLeft, RightHeld, false},
  };
  int Zooms = 0;
  Chart->OnZoom = [&](TObject*) { ++Zooms; };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(C.First) << " then " << static_cast<int>(C.Next));
    Chart->UndoZoom();
    Paint();
    Zooms = 0;
    const TPointF A = Inside(40, 40), B = Inside(120, 100);
    Chart->MouseDown(C.First, {}, A.X, A.Y);
    Chart->MouseMove({}, A.X + 30, A.Y + 30);
    // no release
    Chart->MouseDown(C.Next, C.NextShift, B.X, B.Y);
    const bool Zooming = Chart->GetZoom()->GetActive(), Panning = Chart->GetPanning()->GetActive();
    // the drag going on: the new press' own, from its point, or the old one
    const TMB Owner = C.Ends ? C.Next : C.First;
    const int From = Round(C.Ends ? B.X : A.X);
    EXPECT_EQ(Zooming, Owner == TMB::mbLeft);
    EXPECT_EQ(Panning, Owner == TMB::mbRight);
    EXPECT_EQ(Zooming ? Chart->GetZoom()->X0 : Chart->GetPanning()->X0, From);
    EXPECT_EQ(Zooms, 0);  // the lost drag zooms nothing
    Chart->MouseUp(C.Next, {}, B.X, B.Y);
    Chart->MouseUp(C.First, {}, B.X, B.Y);
  }
}

TEST_F(ChartMouseTest, WheelScrollsZoomsOrChangesTheDepthZoom) {
  struct Case {
    TMouseWheelStyle PanWheel, ZoomWheel, View3DWheel;
    int Delta;
    const char* Expect;  // "up", "down", "in", "out", "3d-in", "3d-out"
    TWheelMouseEvent ToolEvent;
  };
  using W = TMouseWheelStyle;
  const Case Cases[] = {
      {W::pmwNormal, W::pmwNone, W::pmwNone, 120, "up", TWheelMouseEvent::twhUp},
      {W::pmwNormal, W::pmwNone, W::pmwNone, -120, "down", TWheelMouseEvent::twhDown},
      {W::pmwInverted, W::pmwNone, W::pmwNone, 120, "down", TWheelMouseEvent::twhDown},
      {W::pmwNone, W::pmwNormal, W::pmwNone, 120, "in", TWheelMouseEvent::twhUp},
      {W::pmwNone, W::pmwInverted, W::pmwNone, 120, "out", TWheelMouseEvent::twhDown},
      {W::pmwNone, W::pmwNone, W::pmwNormal, 120, "3d-in", TWheelMouseEvent::twhUp},
      {W::pmwNone, W::pmwNone, W::pmwInverted, 120, "3d-out", TWheelMouseEvent::twhDown},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Expect);
    Chart->UndoZoom();
    Chart->SetView3D(false);
    Paint();
    Chart->GetPanning()->SetMouseWheel(C.PanWheel);
    Chart->GetZoom()->SetMouseWheel(C.ZoomWheel);
    Chart->SetZoomWheel(C.View3DWheel);
    if (C.View3DWheel != W::pmwNone) Chart->SetView3D(true);
    Chart->GetView3DOptions()->SetZoomFloat(100);
    TCountTool* T = AddTool();
    TChartAxis* V = Chart->GetLeftAxis();
    const TRange Shown = ShownOf(V);
    const double Lo = V->CalcPosPoint(V->IEndPos), Hi = V->CalcPosPoint(V->IStartPos);
    bool Handled = false;
    Chart->MouseWheel({}, C.Delta, Handled);
    const String E = C.Expect;
    const double R = Shown.Max - Shown.Min;
    if (E == "up" || E == "down") {
      const double Step = 0.03 * R * (E == "up" ? 1 : -1);
      EXPECT_NEAR(V->GetMinimum(), Shown.Min + Step, 1e-9 * R);
      EXPECT_NEAR(V->GetMaximum(), Shown.Max + Step, 1e-9 * R);
    } else if (E == "in" || E == "out") {
      const double F = E == "in" ? 0.8 : 1.2;
      EXPECT_NEAR(V->GetMaximum() - V->GetMinimum(), (Hi - Lo) * F, 1e-9 * R);
      EXPECT_NEAR(V->GetMaximum() + V->GetMinimum(), Hi + Lo, 1e-9 * R);
    } else {
      EXPECT_NEAR(Chart->GetView3DOptions()->GetZoomFloat(), E == "3d-in" ? 110 : 90, 1e-9);
      EXPECT_TRUE(V->GetAutomatic());
    }
    ASSERT_EQ(T->Wheel.size(), 1u);
    EXPECT_EQ(T->Wheel[0], C.ToolEvent);
    T->Free();
  }
}

TEST_F(ChartMouseTest, KeysAndDragAndDropReachTheTools) {
  TCountTool* A = AddTool();
  TCountTool* B = AddTool();
  Word Key = vkLeft;
  char32_t Ch = 0;
  Chart->KeyDown(Key, Ch, {});
  Chart->KeyUp(Key, Ch, {});
  const std::vector<TChartKeyEvent> Keys = {TChartKeyEvent::tkePress, TChartKeyEvent::tkeRelease};
  EXPECT_EQ(A->Keys, Keys);
  EXPECT_EQ(B->Keys, Keys);

  TDragOperation Op = TDragOperation::None;
  Chart->DragOver(nullptr, nullptr, TPointF(10, 10), Op);
  EXPECT_EQ(Op, TDragOperation::None);
  B->AcceptDrag = true;
  Chart->DragOver(nullptr, nullptr, TPointF(10, 10), Op);
  EXPECT_EQ(Op, TDragOperation::Move);
  Chart->DragDrop(nullptr, nullptr, TPointF(10, 10));
  Chart->BeginAutoDrag();
  Chart->DragEnd();
  const std::vector<TChartDragDropEvent> Drags = {TChartDragDropEvent::tddOver, TChartDragDropEvent::tddOver,
                                                  TChartDragDropEvent::tddDrop, TChartDragDropEvent::tddStart,
                                                  TChartDragDropEvent::tddEnd};
  EXPECT_EQ(A->Drags, Drags);
}

TEST_F(ChartMouseTest, SimulatedInputTakesThePlatformPath) {
  const TPointF A = Inside(20, 20), B = Inside(120, 90);
  SimulateMouse(Chart, TSimMouseKind::Press, TMB::mbLeft, {}, A.X, A.Y);
  SimulateMouse(Chart, TSimMouseKind::Move, TMB::mbLeft, {}, B.X, B.Y);
  SimulateMouse(Chart, TSimMouseKind::Release, TMB::mbLeft, {}, B.X, B.Y);
  EXPECT_TRUE(Chart->GetZoomed());
  SimulateMouse(Chart, TSimMouseKind::Press, TMB::mbLeft, {}, B.X, B.Y);
  SimulateMouse(Chart, TSimMouseKind::Release, TMB::mbLeft, {}, A.X, A.Y);
  EXPECT_FALSE(Chart->GetZoomed());
  EXPECT_TRUE(Chart->GetBottomAxis()->GetAutomatic());
}

}  // namespace
}  // namespace zel::testing

namespace zel::testing {
namespace {

// While a zoom drag is under way each paint shows the rectangle from the press to the mouse.
TEST_F(ChartMouseTest, PaintDuringADragShowsTheZoomRectangle) {
  Chart->GetZoom()->GetPen()->SetColor(0xFFFF00FF);
  const TPointF A = Inside(40, 30), B = Inside(160, 110);
  Chart->MouseDown(TMB::mbLeft, {}, A.X, A.Y);
  Chart->MouseMove({}, B.X, B.Y);
  TOwned<TBitmap> Bmp(PaintToBitmap(Chart));
  ASSERT_NE(Bmp.get(), nullptr);
  auto IsPen = [&](float X, float Y) { return (Bmp->GetPixel(Round(X), Round(Y)) & 0xFFFFFFu) == 0xFF00FFu; };
  EXPECT_TRUE(IsPen((A.X + B.X) / 2, A.Y));  // top edge
  EXPECT_TRUE(IsPen(A.X, (A.Y + B.Y) / 2));  // left edge
  EXPECT_FALSE(IsPen((A.X + B.X) / 2, (A.Y + B.Y) / 2));
  Chart->MouseUp(TMB::mbLeft, {}, B.X, B.Y);
  TOwned<TBitmap> After(PaintToBitmap(Chart));
  EXPECT_NE(After->GetPixel(Round((A.X + B.X) / 2), Round(A.Y)) & 0xFFFFFFu, 0xFF00FFu);
}

}  // namespace
}  // namespace zel::testing
