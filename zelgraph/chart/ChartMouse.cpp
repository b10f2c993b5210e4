// The chart's mouse, wheel, key and drag-and-drop handling: tools first, then the hit test,
// the click events, and the zoom drag or pan that a press may start.
#include <cmath>
#include <vector>

#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

using TCP = TChartClickedPartStyle;

// ---------------------------------------------------------------------------------------------
// Hit test

void TCustomChart::CalcClickedPart(TPointF Pos, TChartClickedPart& Part) { Part = CalcNeedClickedPart(Pos, false); }

TChartClickedPart TCustomChart::CalcNeedClickedPart(TPointF Pos, bool OnlyNeeded) {
  TChartClickedPart R;
  // 1. A legend at a custom position lies above everything else.
  std::int32_t Item = LegendItemAt(Pos, true);
  if (Item != -1) {
    R.Part = TCP::cpLegend;
    R.PointIndex = Item;
    return R;
  }
  // 2. Series, the last drawn first.
  for (std::int32_t I = SeriesCount() - 1; I >= 0; --I) {
    TChartSeries* S = GetSeries(I);
    if (!S->GetActive()) continue;
    if (OnlyNeeded && !S->RaiseClicked() && !OnClickSeries) continue;
    if (S->HasMarks() && S->GetMarks()->GetVisible()) {
      const std::int32_t M = S->GetMarks()->Clicked(Pos);
      if (M != -1) {
        R.Part = TCP::cpSeriesMarks;
        R.PointIndex = M;
        R.ASeries = S;
        return R;
      }
    }
    const std::int32_t V = S->Clicked(Pos);
    if (V != -1) {
      R.ASeries = S;
      for (std::int32_t P = 0; P < S->Count(); ++P)
        if (S->ClickedPointer(P, Pos)) {
          R.Part = TCP::cpSeriesPointer;
          R.PointIndex = P;
          return R;
        }
      R.Part = TCP::cpSeries;
      R.PointIndex = V;
      return R;
    }
  }
  // 3. Axes and their titles.
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList())) {
    if (A->Clicked(Pos)) {
      R.Part = TCP::cpAxis;
      R.AAxis = A;
      return R;
    }
    TChartAxisTitle* T = A->ExistingTitle();
    if (T && T->GetVisible() && !T->GetCaption().empty() && T->Clicked(Pos)) {
      R.Part = TCP::cpAxisTitle;
      R.AAxis = A;
      return R;
    }
  }
  // 4. The legend in its place.
  Item = LegendItemAt(Pos, false);
  if (Item != -1) {
    R.Part = TCP::cpLegend;
    R.PointIndex = Item;
    return R;
  }
  // 5. Titles.
  TCP TitlePart = TCP::cpNone;
  if (TitleAt(Pos, TitlePart)) {
    R.Part = TitlePart;
    return R;
  }
  // 6. The chart rectangle, when there is something in it.
  if (PointInRect(ChartRect, Pos) && CountActiveSeries() > 0) R.Part = TCP::cpChartRect;
  return R;
}

// ---------------------------------------------------------------------------------------------
// Press

bool TCustomChart::CheckBackground(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y) {
  if (!OnClickBackground) return false;
  FCancelMouse = true;
  OnClickBackground(this, Button, Shift, X, Y);
  return FCancelMouse;
}

bool TCustomChart::CheckZoomPanning(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (!ActiveSeriesCanZoomScroll()) return false;
  bool Handled = false;
  TZelZoom* Z = GetZoom();
  if (Z->GetAllow() && Button == Z->GetMouseButton() && (Z->GetKeyShift() - Shift).Empty()) {
    const TZelZoomDirection Dir = Z->GetDirection();
    if (Dir == TZelZoomDirection::tzdVertical)
      X = ChartRect.Left;
    else if (Dir == TZelZoomDirection::tzdHorizontal)
      Y = ChartRect.Top;
    Z->Activate(Round(X), Round(Y));
    // A one-direction zoom spans the whole chart rectangle across.
    if (Dir == TZelZoomDirection::tzdVertical)
      Z->X1 = Round(ChartRect.Right);
    else if (Dir == TZelZoomDirection::tzdHorizontal)
      Z->Y1 = Round(ChartRect.Bottom);
    if (Z->X0 != Z->X1 || Z->Y0 != Z->Y1) TryDrawZoom();
    Handled = true;
  }
  if (GetAllowPanning() != TPanningMode::pmNone && Button == GetScrollMouseButton() &&
      (ZelScrollKeyShift - Shift).Empty()) {
    GetPanning()->Activate(Round(X), Round(Y));
    if (!GetPanning()->GetInsideBounds() && GetParent()) Capture();
    Handled = true;
  }
  if (Handled) SetCursor(FOriginalCursor);
  return Handled;
}

namespace {
// Whether the drag started with DragButton is still under way when Pressed goes down: its button
// is held, and it is not the one pressed now (then its release was lost).
bool DragHeld(TMouseButton DragButton, TMouseButton Pressed, TShiftState Shift) {
  if (DragButton == Pressed) return false;
  switch (DragButton) {
    case TMouseButton::mbLeft:
      return Shift.Contains(TShiftStateItem::ssLeft);
    case TMouseButton::mbRight:
      return Shift.Contains(TShiftStateItem::ssRight);
    case TMouseButton::mbMiddle:
      return Shift.Contains(TShiftStateItem::ssMiddle);
  }
  return false;
}
}  // namespace

void TCustomChart::EndLostDrags(TMouseButton Button, TShiftState Shift) {
  TZelZoom* Z = GetZoom();
  if (Z->GetActive() && !DragHeld(Z->GetMouseButton(), Button, Shift)) {
    Z->SetActive(false);
    TryDrawZoom();  // the rectangle goes; nothing is zoomed
  }
  TZelPanning* P = GetPanning();
  if (P->GetActive() && !DragHeld(GetScrollMouseButton(), Button, Shift)) {
    P->SetActive(false);
    if (HasCapture()) ReleaseCapture();
  }
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
  const std::int32_t x = Round(X);
  const std::int32_t y = Round(Y);
  // A release that never came (the grab lost, the button let go outside the window) must not
  // keep a zoom or pan going that no held button continues.
  EndLostDrags(Button, Shift);
  if (FCancelMouse || GetZoom()->GetActive() || GetPanning()->GetActive()) return;
  FCancelMouse = false;
  BroadcastToolMouseEvent(TChartMouseEvent::tmePress, Button, Shift, x, y);
  if (!FCancelMouse) {
    const TChartClickedPart P = CalcNeedClickedPart(TPointF(X, Y), true);
    bool Handled = false;
    bool BackgroundAsked = false;  // the background event fires once per press
    auto Background = [&] {
      BackgroundAsked = true;
      return CheckBackground(Button, Shift, x, y);
    };
    switch (P.Part) {
      case TCP::cpLegend:
        Handled = LegendMouseDown(x, y, P.PointIndex);
        if (OnClickLegend) {
          FCancelMouse = true;
          OnClickLegend(this, Button, Shift, x, y);
          Handled = FCancelMouse;
        }
        break;
      case TCP::cpAxis:
        if (OnClickAxis) {
          FCancelMouse = true;
          OnClickAxis(this, P.AAxis, Button, Shift, x, y);
          Handled = FCancelMouse;
        }
        if (!Handled) Handled = CheckZoomPanning(Button, Shift, X, Y);
        break;
      case TCP::cpSeries:
      case TCP::cpSeriesPointer:
        FCancelMouse = false;
        P.ASeries->MouseDown(P.PointIndex, Button, Shift, x, y);
        Handled = FCancelMouse;
        if (OnClickSeries) {
          FCancelMouse = true;
          OnClickSeries(this, P.ASeries, P.PointIndex, Button, Shift, x, y);
          Handled = FCancelMouse;
        }
        if (!Handled) Handled = CheckZoomPanning(Button, Shift, X, Y);
        break;
      case TCP::cpTitle:
      case TCP::cpFoot:
      case TCP::cpSubTitle:
      case TCP::cpSubFoot:
        if (OnClickTitle) {
          TChartTitle* T = P.Part == TCP::cpTitle      ? GetTitle()
                           : P.Part == TCP::cpSubTitle ? GetSubTitle()
                           : P.Part == TCP::cpFoot     ? GetFoot()
                                                       : GetSubFoot();
          FCancelMouse = true;
          OnClickTitle(this, T, Button, Shift, x, y);
          Handled = FCancelMouse;
        }
        if (!Handled) Handled = CheckZoomPanning(Button, Shift, X, Y);
        break;
      case TCP::cpChartRect:
        Handled = Background();
        if (!Handled) Handled = CheckZoomPanning(Button, Shift, X, Y);
        break;
      default:
        break;
    }
    if (!Handled && !BackgroundAsked) Background();
  }
  FCancelMouse = false;
}

// ---------------------------------------------------------------------------------------------
// Move

void TCustomChart::MouseMove(TShiftState Shift, float X, float Y) {
  TCustomAxisPanel::MouseMove(Shift, X, Y);
  // The platform canvas is bound only while painting; what matters here is the chart's canvas.
  if (!GetCanvas()) return;
  std::int32_t x = Round(X);
  std::int32_t y = Round(Y);
  if (!IsDesigning()) BroadcastToolMouseEvent(TChartMouseEvent::tmeMove, TMouseButton::mbLeft, Shift, x, y);
  if (FCancelMouse) return;

  TZelZoom* Z = GetZoom();
  TZelPanning* P = GetPanning();
  if (Z->GetActive()) {
    const TPoint Corner = ZoomCorner(X, Y);
    if (Corner.X == Z->X1 && Corner.Y == Z->Y1) return;
    TryDrawZoom();
    Z->X1 = Corner.X;
    Z->Y1 = Corner.Y;
    if (!Z->GetFullRepaint()) DrawZoomRectangle();
  } else if (P->GetActive()) {
    if (P->GetInsideBounds() && !PointInRect(ChartRect, X, Y)) {
      P->SetActive(false);
      return;
    }
    if (x == P->X1 && y == P->Y1) return;
    const bool Scrolled = ProcessPanning(x, y);
    P->X1 = x;
    P->Y1 = y;
    if (Scrolled) {
      if (OnScroll) OnScroll(this);
      Invalidate();
    }
  } else {
    MoveWithoutDrag(x, y);
  }
}

TPoint TCustomChart::ZoomCorner(float X, float Y) {
  TZelZoom* Z = GetZoom();
  const TZelZoomDirection Dir = Z->GetDirection();
  // A one-direction zoom spans the whole chart rectangle across.
  if (Dir == TZelZoomDirection::tzdVertical)
    X = ChartRect.Right;
  else if (Dir == TZelZoomDirection::tzdHorizontal)
    Y = ChartRect.Bottom;
  if (!Z->GetKeepAspectRatio() || Dir != TZelZoomDirection::tzdBoth) return TPoint(Round(X), Round(Y));
  // A rectangle of the chart rectangle's proportions, from the press point the way the mouse
  // went on each axis, as large as the mouse went along the direction it went further (relative
  // to those proportions). A drag with no vertical part grows downwards, one with no horizontal
  // part to the right.
  const float H = ChartRect.Bottom - ChartRect.Top;
  float M = H == 0 ? 1.0f : (ChartRect.Right - ChartRect.Left) / H;
  if (!(M > 0) || !std::isfinite(M)) M = 1;  // a collapsed chart rectangle keeps a square
  const float DX = X - static_cast<float>(Z->X0);
  const float DY = Y - static_cast<float>(Z->Y0);
  std::int32_t W, Hgt;
  if (std::fabs(DX) >= std::fabs(DY) * M) {
    W = Round(std::fabs(DX));
    Hgt = Round(std::fabs(DX) / M);
  } else {
    Hgt = Round(std::fabs(DY));
    W = Round(std::fabs(DY) * M);
  }
  return TPoint(DX < 0 ? Z->X0 - W : Z->X0 + W, DY < 0 ? Z->Y0 - Hgt : Z->Y0 + Hgt);
}

// ---------------------------------------------------------------------------------------------
// Release

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
  const std::int32_t x = Round(X);
  const std::int32_t y = Round(Y);
  TZelZoom* Z = GetZoom();
  if (Z->GetActive() && Button == Z->GetMouseButton()) {
    Z->SetActive(false);
    TryDrawZoom();
    const TZelZoomDirection Dir = Z->GetDirection();
    const TPoint Corner = ZoomCorner(X, Y);
    Z->X1 = Corner.X;
    Z->Y1 = Corner.Y;
    const int MinPix = Z->GetMinimumPixels();
    const bool TooSmall = (Dir != TZelZoomDirection::tzdVertical && std::abs(Z->X1 - Z->X0) <= MinPix) ||
                          (Dir != TZelZoomDirection::tzdHorizontal && std::abs(Z->Y1 - Z->Y0) <= MinPix);
    if (!TooSmall) {
      const bool ZoomIn = Z->GetUpLeftZooms() || (Dir == TZelZoomDirection::tzdVertical && Z->Y1 > Z->Y0) ||
                          (Dir != TZelZoomDirection::tzdVertical && Z->X1 > Z->X0);
      if (ZoomIn)
        CalcZoomPoints();
      else
        UndoZoom();
    }
    Invalidate();
  }
  GetPanning()->SetActive(false);
  if (!GetPanning()->GetInsideBounds() && GetParent()) ReleaseCapture();
  BroadcastToolMouseEvent(TChartMouseEvent::tmeRelease, Button, Shift, x, y);
}

// ---------------------------------------------------------------------------------------------
// Wheel, keys, drag and drop

TPointF TCustomChart::MousePosition() {
  TPointF P(0, 0);
  if (ZelGetChartMousePos && ZelGetChartMousePos(this, P)) return P;
  return GetCursorPos();
}

void TCustomChart::InternalWheel(int WheelDelta) {
  bool Up = WheelDelta > 0;
  const TMouseWheelStyle PanWheel = GetPanning()->GetMouseWheel();
  const TPanningMode M = GetAllowPanning();
  if (PanWheel != TMouseWheelStyle::pmwNone && (M == TPanningMode::pmVertical || M == TPanningMode::pmBoth) &&
      !IsDesigning()) {
    if (PanWheel == TMouseWheelStyle::pmwInverted) Up = !Up;
    ScrollVerticalAxes(Up);
    Invalidate();
  } else if (GetZoom()->GetAllow() && GetZoom()->GetMouseWheel() != TMouseWheelStyle::pmwNone) {
    if (GetZoom()->GetMouseWheel() == TMouseWheelStyle::pmwInverted) Up = !Up;
    ZoomPercent(Up ? 110 : 90);
  } else if (GetZoomWheel() != TMouseWheelStyle::pmwNone &&
             (GetView3D() || (GetCanvas() && GetCanvas()->GetSupportsFullRotation()))) {
    if (GetZoomWheel() == TMouseWheelStyle::pmwInverted) Up = !Up;
    TView3DOptions* O = GetView3DOptions();
    O->SetZoomFloat(O->GetZoomFloat() * (Up ? 1.1 : 0.9));
  }
  const TPointF P = MousePosition();
  BroadcastToolWheelEvent(Up ? TWheelMouseEvent::twhUp : TWheelMouseEvent::twhDown, WheelDelta, Round(P.X),
                          Round(P.Y));
}

void TCustomChart::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  TCustomAxisPanel::MouseWheel(Shift, WheelDelta, Handled);
  InternalWheel(WheelDelta);
}

void TCustomChart::KeyDown(Word& Key, char32_t& KeyChar, TShiftState Shift) {
  TCustomAxisPanel::KeyDown(Key, KeyChar, Shift);
  BroadcastToolKeyEvent(TChartKeyEvent::tkePress, Key, KeyChar, Shift);
}

void TCustomChart::KeyUp(Word& Key, char32_t& KeyChar, TShiftState Shift) {
  TCustomAxisPanel::KeyUp(Key, KeyChar, Shift);
  BroadcastToolKeyEvent(TChartKeyEvent::tkeRelease, Key, KeyChar, Shift);
}

void TCustomChart::DragOver(TObject* Source, TDragObject* DragObject, TPointF Point, TDragOperation& Operation) {
  bool Accept = false;
  TDragObject* D = DragObject;
  BroadcastToolDragDropEvent(TChartDragDropEvent::tddOver, Source, Round(Point.X), Round(Point.Y),
                             TDragState::dsDragMove, Accept, D);
  if (Accept) Operation = TDragOperation::Move;
}

void TCustomChart::DragDrop(TObject* Source, TDragObject* DragObject, TPointF Point) {
  bool Accept = false;
  TDragObject* D = DragObject;
  BroadcastToolDragDropEvent(TChartDragDropEvent::tddDrop, Source, Round(Point.X), Round(Point.Y),
                             TDragState::dsDragEnter, Accept, D);
}

void TCustomChart::BeginAutoDrag() {
  bool Accept = false;
  TDragObject* D = nullptr;
  BroadcastToolDragDropEvent(TChartDragDropEvent::tddStart, nullptr, 0, 0, TDragState::dsDragEnter, Accept, D);
}

void TCustomChart::DragEnd() {
  bool Accept = false;
  TDragObject* D = nullptr;
  const TPointF P = MousePosition();
  BroadcastToolDragDropEvent(TChartDragDropEvent::tddEnd, this, Round(P.X), Round(P.Y), TDragState::dsDragEnter,
                             Accept, D);
}

}  // namespace zel
