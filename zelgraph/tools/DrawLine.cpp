#include "zelgraph/tools/DrawLine.h"

#include "platform/Math.h"
#include "platform/Services.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

// ---- TDrawLine ----

ZEL_DEFINE_CLASS(TDrawLine, TCollectionItem)

TDrawLine::TDrawLine(TCollection* ACollection) : TCollectionItem(ACollection) {
  if (ACollection) IParent = dynamic_cast<TDrawLineTool*>(ACollection->GetOwner());
}

TDrawLine::TDrawLine(TCollection* ACollection, double X0, double Y0, double X1, double Y1) : TDrawLine(ACollection) {
  StartPos.X = static_cast<float>(X0);
  StartPos.Y = static_cast<float>(Y0);
  EndPos.X = static_cast<float>(X1);
  EndPos.Y = static_cast<float>(Y1);
  INotifyNew = true;
}

void TDrawLine::AfterConstruction() {
  inherited::AfterConstruction();
  if (INotifyNew && IParent) {
    INotifyNew = false;
    if (IParent->OnNewLine) IParent->OnNewLine(this);
    IParent->Repaint();
  }
}

TDrawLine::~TDrawLine() {
  if (IParent && IParent->ISelected == this) IParent->ISelected = nullptr;
  FreeAndNil(FPen);
}

void TDrawLine::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TDrawLine*>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  StartPos = S->StartPos;
  EndPos = S->EndPos;
  FStyle = S->FStyle;
  if (S->FPen)
    GetPen()->Assign(S->FPen);
  else
    FreeAndNil(FPen);
}

TZelPen* TDrawLine::GetPen() {
  if (!FPen) {
    TDrawLineTool* Tool = IParent;
    FPen = Create<TZelPen>(Tool ? TNotifyEvent([Tool](TObject* Sender) { Tool->CanvasChanged(Sender); })
                                : TNotifyEvent());
    if (Tool && Tool->GetPen()) FPen->Assign(Tool->GetPen());
  }
  return FPen;
}

void TDrawLine::SetPen(TZelPen* Value) {
  if (!Value) {
    FreeAndNil(FPen);
    RepaintTool();
  } else if (Value != FPen) {
    GetPen()->Assign(Value);
  }
}

void TDrawLine::RepaintTool() {
  if (IParent) IParent->Repaint();
}

void TDrawLine::SetStyle(TDrawLineStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RepaintTool();
}

void TDrawLine::SetCoord(float& Field, float Value) {
  if (Field == Value) return;
  Field = Value;
  RepaintTool();
}

TRectF TDrawLine::StartHandle() const {
  return IParent ? RectFromCenter(IParent->AxisPoint(StartPos), 3, 3) : TRectF(0, 0, 0, 0);
}

TRectF TDrawLine::EndHandle() const {
  return IParent ? RectFromCenter(IParent->AxisPoint(EndPos), 3, 3) : TRectF(0, 0, 0, 0);
}

void TDrawLine::DrawHandles() {
  if (!IParent) return;
  TCustomAxisPanel* Chart = IParent->GetParentChart();
  if (!Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  TOwned<TZelPen> NoPen(Create<TZelPen>());
  NoPen->Hide();
  C->AssignVisiblePen(NoPen.get());
  C->GetBrush()->SetKind(TBrushKind::Solid);
  C->GetBrush()->SetColor(Chart->GetColor() == 0xFF000000 ? 0xFFC0C0C0 : 0xFF000000);
  C->RectangleWithZ(StartHandle(), 0);
  C->RectangleWithZ(EndHandle(), 0);
}

bool TDrawLine::Clicked(std::int32_t X, std::int32_t Y, TDrawLineHandle Handle, std::int32_t Tolerance) const {
  if (!IParent) return false;
  const TPointF P(static_cast<float>(X), static_cast<float>(Y));
  if (Handle == TDrawLineHandle::chStart) return PointInRect(StartHandle(), P);
  if (Handle == TDrawLineHandle::chEnd) return PointInRect(EndHandle(), P);
  const TPointF S = IParent->AxisPoint(StartPos);
  const TPointF E = IParent->AxisPoint(EndPos);
  switch (FStyle) {
    case TDrawLineStyle::dlLine:
      return PointInLine(P, S, E, Tolerance);
    case TDrawLineStyle::dlHorizParallel:
      return PointInLine(P, S, TPointF(E.X, S.Y), Tolerance) || PointInLine(P, TPointF(S.X, E.Y), E, Tolerance);
    case TDrawLineStyle::dlVertParallel:
      return PointInLine(P, S, TPointF(S.X, E.Y), Tolerance) || PointInLine(P, TPointF(E.X, S.Y), E, Tolerance);
    case TDrawLineStyle::dlRectangle:
    case TDrawLineStyle::dlEllipse:
      // Drawn from any corner: the hit area is the same box.
      return PointInRect(OrientRectangle(S.X, S.Y, E.X, E.Y), P);
  }
  return false;
}

// ---- TDrawLines ----

ZEL_DEFINE_CLASS(TDrawLines, TOwnedCollection)

TDrawLines::TDrawLines(TDrawLineTool* AOwner) : TOwnedCollection(AOwner, ItemClassOf<TDrawLine>()) {}

TDrawLine* TDrawLines::Get(std::int32_t Index) const { return static_cast<TDrawLine*>(GetItem(Index)); }

void TDrawLines::Put(std::int32_t Index, TDrawLine* Line) { SetItem(Index, Line); }

TDrawLine* TDrawLines::AddLine(float X0, float Y0, float X1, float Y1) {
  auto* L = static_cast<TDrawLine*>(Add());
  L->SetX0(X0);
  L->SetY0(Y0);
  L->SetX1(X1);
  L->SetY1(Y1);
  return L;
}

TDrawLine* TDrawLines::Last() const { return GetCount() == 0 ? nullptr : Get(GetCount() - 1); }

// ---- TDrawLineTool ----

ZEL_DEFINE_COMPONENT_CLASS(TDrawLineTool, TZelCustomToolSeries)

TDrawLineTool::TDrawLineTool(TComponent* AOwner) : TZelCustomToolSeries(AOwner) {
  FLines = Create<TDrawLines>(this);
}

TDrawLineTool::~TDrawLineTool() {
  ISelected = nullptr;
  FreeAndNil(FLines);
}

void TDrawLineTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TDrawLineTool*>(Source)) {
    FButton = S->FButton;
    FClick = S->FClick;
    FEnableDraw = S->FEnableDraw;
    FEnableSelect = S->FEnableSelect;
    FFullRepaint = S->FFullRepaint;
    FLines->Assign(S->FLines);
    FSelectNew = S->FSelectNew;
    FStyle = S->FStyle;
  }
  inherited::Assign(Source);
}

String TDrawLineTool::Description() const { return ZelMsg_DrawLineTool; }

String TDrawLineTool::LongDescription() const { return ZelMsg_DrawLineDesc; }

TPointF TDrawLineTool::AxisPoint(const TFloatPoint& P) const {
  TChartAxis* H = GetHorizAxis();
  TChartAxis* V = GetVertAxis();
  if (!H || !V) return TPointF(0, 0);
  return TPointF(static_cast<float>(H->CalcPosValue(P.X)), static_cast<float>(V->CalcPosValue(P.Y)));
}

TFloatPoint TDrawLineTool::ScreenPoint(const TPointF& P) const {
  TChartAxis* H = GetHorizAxis();
  TChartAxis* V = GetVertAxis();
  TFloatPoint R;
  if (!H || !V) return R;
  R.X = static_cast<float>(H->CalcPosPoint(Round(P.X)));
  R.Y = static_cast<float>(V->CalcPosPoint(Round(P.Y)));
  return R;
}

TDrawLine* TDrawLineTool::InternalClicked(std::int32_t X, std::int32_t Y, TDrawLineHandle Handle,
                                          std::int32_t Tolerance) const {
  if (FParent && FParent->GetCanvas()) FParent->GetCanvas()->Calculate2DPosition(X, Y, 0);
  if (ISelected && ISelected->Clicked(X, Y, Handle, Tolerance)) return ISelected;
  for (std::int32_t I = 0; I < FLines->GetCount(); ++I) {
    TDrawLine* L = FLines->Get(I);
    if (L->Clicked(X, Y, Handle, Tolerance)) return L;
  }
  return nullptr;
}

TDrawLine* TDrawLineTool::Clicked(std::int32_t X, std::int32_t Y, std::int32_t Tolerance) const {
  if (TDrawLine* L = InternalClicked(X, Y, TDrawLineHandle::chNone, Tolerance)) return L;
  if (TDrawLine* L = InternalClicked(X, Y, TDrawLineHandle::chStart, Tolerance)) return L;
  return InternalClicked(X, Y, TDrawLineHandle::chEnd, Tolerance);
}

void TDrawLineTool::DeleteSelected() {
  if (!ISelected) return;
  IDrawing = false;
  IHandle = TDrawLineHandle::chNone;
  TDrawLine* L = ISelected;
  ISelected = nullptr;
  L->Free();
  Repaint();
}

void TDrawLineTool::SetSelected(TDrawLine* Value) {
  ISelected = Value;
  Repaint();
}

void TDrawLineTool::SetEnableSelect(bool Value) {
  if (FEnableSelect == Value) return;
  FEnableSelect = Value;
  if (!Value && ISelected) {
    ISelected = nullptr;
    IHandle = TDrawLineHandle::chNone;
    Repaint();
  }
}

void TDrawLineTool::SetFullRepaint(bool Value) { SetBooleanProperty(FFullRepaint, Value); }

void TDrawLineTool::SetLines(TDrawLines* Value) {
  if (Value && Value != FLines) FLines->Assign(Value);
}

bool TDrawLineTool::ShouldForceRepaint() const {
  return FFullRepaint || !ZelCanDrawXor(FParent);
}

void TDrawLineTool::DrawLine(const TPointF& P0, const TPointF& P1, TDrawLineStyle AStyle) {
  if (!FParent || !FParent->GetCanvas()) return;
  TCanvas3D* C = FParent->GetCanvas();
  const bool Is3D = FParent->GetView3D();
  switch (AStyle) {
    case TDrawLineStyle::dlLine:
      if (Is3D) {
        C->MoveTo3D(P0.X, P0.Y, 0);
        C->LineTo3D(P1.X, P1.Y, 0);
      } else {
        C->Line(P0, P1);
      }
      break;
    case TDrawLineStyle::dlHorizParallel:
      if (Is3D) {
        C->HorizLine3D(P0.X, P1.X, P0.Y, 0);
        C->HorizLine3D(P0.X, P1.X, P1.Y, 0);
      } else {
        C->DoHorizLine(P0.X, P1.X, P0.Y);
        C->DoHorizLine(P0.X, P1.X, P1.Y);
      }
      break;
    case TDrawLineStyle::dlVertParallel:
      if (Is3D) {
        C->VertLine3D(P0.X, P0.Y, P1.Y, 0);
        C->VertLine3D(P1.X, P0.Y, P1.Y, 0);
      } else {
        C->DoVertLine(P0.X, P0.Y, P1.Y);
        C->DoVertLine(P1.X, P0.Y, P1.Y);
      }
      break;
    case TDrawLineStyle::dlRectangle:
      if (Is3D)
        C->RectangleWithZ(TRectF(P0.X, P0.Y, P1.X, P1.Y), 0);
      else
        C->Rectangle(P0.X, P0.Y, P1.X, P1.Y);
      break;
    case TDrawLineStyle::dlEllipse:
      if (Is3D)
        C->EllipseWithZ(P0.X, P0.Y, P1.X, P1.Y, 0);
      else
        C->Ellipse(P0.X, P0.Y, P1.X, P1.Y);
      break;
  }
}

void TDrawLineTool::RedrawLine(TDrawLine* Line) {
  if (!FParent || !FParent->GetCanvas()) return;
  TCanvas3D* C = FParent->GetCanvas();
  TZelPen* P = Line && Line->ExistingPen() ? Line->ExistingPen() : GetPen();
  C->GetBrush()->SetKind(TBrushKind::None);
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  const bool Force = ShouldForceRepaint();
  if (Force)
    C->AssignVisiblePenColor(P, P->GetColor());
  else
    ZelPrepareXorPen(FParent, P);
  if (Line)
    DrawLine(AxisPoint(Line->StartPos), AxisPoint(Line->EndPos), Line->GetStyle());
  else
    DrawLine(FromPoint, ToPoint, FStyle);
  if (!Force) C->GetPen()->SetMode(TPenMode::pmCopy);
}

void TDrawLineTool::ClipDrawingRegion() {
  if (!FParent || !FParent->GetCanvas()) return;
  TRectF R = FParent->GetChartRect();
  if (FSeries) {
    TChartAxis* H = GetHorizAxis();
    TChartAxis* V = GetVertAxis();
    if (H && V)
      R = TRectF(static_cast<float>(H->IStartPos), static_cast<float>(V->IStartPos), static_cast<float>(H->IEndPos),
                 static_cast<float>(V->IEndPos));
  }
  if (FParent->CanClip()) {
    FParent->GetCanvas()->ClipCube(R, 0, FParent->GetWidth3D());
    IClipped = true;
  }
}

void TDrawLineTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  if (AEvent != TChartToolEvent::tdePaintDone || !FParent || !FParent->GetCanvas()) return;
  TCanvas3D* C = FParent->GetCanvas();
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  IClipped = false;
  ClipDrawingRegion();
  // Only a clip this tool opened is taken away again.
  TRestoreOnExit Unclip([this, C] {
    if (IClipped) C->UnClipRectangle();
    IClipped = false;
  });
  for (std::int32_t I = 0; I < FLines->GetCount(); ++I) RedrawLine(FLines->Get(I));
  if (ISelected && IHandle == TDrawLineHandle::chNone) ISelected->DrawHandles();
  if (IDrawing) RedrawLine(nullptr);
}

bool TDrawLineTool::CheckCursor(std::int32_t X, std::int32_t Y) {
  if (ISelected && (InternalClicked(X, Y, TDrawLineHandle::chStart) == ISelected ||
                    InternalClicked(X, Y, TDrawLineHandle::chEnd) == ISelected)) {
    FParent->SetCursor(crCross);
    return true;
  }
  if (Clicked(X, Y)) {
    FParent->SetCursor(crHandPoint);
    return true;
  }
  return false;
}

void TDrawLineTool::ShowMoving() {
  if (ShouldForceRepaint())
    Repaint();
  else
    RedrawLine(ISelected);
}

void TDrawLineTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                    std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!FParent) return;
  const TPointF P(static_cast<float>(X), static_cast<float>(Y));
  switch (AEvent) {
    case TChartMouseEvent::tmePress: {
      if (Button != FButton) return;
      IMoved = false;
      TDrawLine* L = FEnableSelect ? Clicked(X, Y) : nullptr;
      if (!L) {
        ISelected = nullptr;
        if (FEnableDraw) {
          IDrawing = true;
          FromPoint = P;
          ToPoint = P;
          if (ShouldForceRepaint())
            Repaint();
          else
            RedrawLine(nullptr);
          FParent->SetCancelMouse(true);
        } else {
          Repaint();
        }
        return;
      }
      FromPoint = AxisPoint(L->StartPos);
      ToPoint = AxisPoint(L->EndPos);
      IPoint = P;
      IHandle = TDrawLineHandle::chSeries;
      if (L == ISelected) {
        // Only the selected item's own handles move one end.
        if (InternalClicked(X, Y, TDrawLineHandle::chStart) == ISelected)
          IHandle = TDrawLineHandle::chStart;
        else if (InternalClicked(X, Y, TDrawLineHandle::chEnd) == ISelected)
          IHandle = TDrawLineHandle::chEnd;
      } else {
        bool AllowSelect = true;
        if (OnSelecting) OnSelecting(this, L, AllowSelect);
        if (AllowSelect) {
          ISelected = L;
          if (OnSelect) OnSelect(this);
        } else {
          // A refused item is not dragged: its moved points would land in another item.
          IHandle = TDrawLineHandle::chNone;
        }
      }
      Repaint();
      FParent->SetCancelMouse(true);
      return;
    }
    case TChartMouseEvent::tmeMove: {
      const bool Dragging = IHandle != TDrawLineHandle::chNone && ISelected;
      if (!IDrawing && !Dragging) {
        if (FEnableSelect) FParent->SetCancelMouse(CheckCursor(X, Y));
        return;
      }
      if (!ShouldForceRepaint()) RedrawLine(IDrawing ? nullptr : ISelected);
      if (IDrawing) {
        ToPoint = P;
      } else {
        switch (IHandle) {
          case TDrawLineHandle::chStart:
            FromPoint = P;
            break;
          case TDrawLineHandle::chEnd:
            ToPoint = P;
            break;
          default: {
            const float DX = P.X - IPoint.X, DY = P.Y - IPoint.Y;
            FromPoint = TPointF(FromPoint.X + DX, FromPoint.Y + DY);
            ToPoint = TPointF(ToPoint.X + DX, ToPoint.Y + DY);
            IPoint = P;
            break;
          }
        }
        // Only the ends this drag moves take new values: an end left alone keeps its exact value
        // instead of one rounded to a pixel.
        if (IHandle != TDrawLineHandle::chEnd) ISelected->StartPos = ScreenPoint(FromPoint);
        if (IHandle != TDrawLineHandle::chStart) ISelected->EndPos = ScreenPoint(ToPoint);
      }
      if (ShouldForceRepaint())
        Repaint();
      else
        RedrawLine(IDrawing ? nullptr : ISelected);
      FParent->SetCancelMouse(true);
      IMoved = true;
      if (OnDragLine) OnDragLine(this);
      return;
    }
    case TChartMouseEvent::tmeRelease: {
      if (Button != FButton) return;
      if (IHandle == TDrawLineHandle::chNone || !ISelected) {
        IHandle = TDrawLineHandle::chNone;
        if (IDrawing && (FromPoint.X != ToPoint.X || FromPoint.Y != ToPoint.Y)) {
          auto* L = static_cast<TDrawLine*>(FLines->Add());
          L->StartPos = ScreenPoint(FromPoint);
          L->EndPos = ScreenPoint(ToPoint);
          L->SetStyle(FStyle);
          if (FSelectNew) {
            ISelected = L;
            FromPoint = AxisPoint(L->StartPos);
            ToPoint = AxisPoint(L->EndPos);
            IPoint = P;
          }
          IDrawing = false;
          Repaint();
          if (OnNewLine) OnNewLine(this);
        }
        IDrawing = false;
        IMoved = false;
        return;
      }
      // A click without a move leaves the item's values as they were (no round trip through
      // pixels).
      if (IMoved) {
        if (IHandle == TDrawLineHandle::chStart || IHandle == TDrawLineHandle::chSeries)
          ISelected->StartPos = ScreenPoint(FromPoint);
        if (IHandle == TDrawLineHandle::chEnd || IHandle == TDrawLineHandle::chSeries)
          ISelected->EndPos = ScreenPoint(ToPoint);
      }
      IHandle = TDrawLineHandle::chNone;
      Repaint();
      if (IMoved) {
        IMoved = false;
        if (OnDraggedLine) OnDraggedLine(this);
      }
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TDrawLine)
  P::Obj("Pen", &Self::GetPen, &Self::ExistingPen),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TDrawLineStyle::dlLine)),
  P::Prop("X0", &Self::GetX0, &Self::SetX0, Always),
  P::Prop("Y0", &Self::GetY0, &Self::SetY0, Always),
  P::Prop("X1", &Self::GetX1, &Self::SetX1, Always),
  P::Prop("Y1", &Self::GetY1, &Self::SetY1, Always),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TDrawLineTool)
  P::Prop("Button", &Self::GetButton, &Self::SetButton, Default(TMouseButton::mbLeft)),
  P::Prop("ClickTolerance", &Self::GetClickTolerance, &Self::SetClickTolerance, Default(0)),
  P::Prop("EnableDraw", &Self::GetEnableDraw, &Self::SetEnableDraw, Default(true)),
  P::Prop("EnableSelect", &Self::GetEnableSelect, &Self::SetEnableSelect, Default(true)),
  P::Prop("FullRepaint", &Self::GetFullRepaint, &Self::SetFullRepaint, Default(false)),
  P::Obj("Lines", &Self::GetLines),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("SelectNewLines", &Self::GetSelectNewLines, &Self::SetSelectNewLines, Default(true)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TDrawLineStyle::dlLine)),
  P::Event("OnDraggedLine", &Self::OnDraggedLine),
  P::Event("OnDragLine", &Self::OnDragLine),
  P::Event("OnNewLine", &Self::OnNewLine),
  P::Event("OnSelect", &Self::OnSelect),
  P::Event("OnSelecting", &Self::OnSelecting),
ZEL_END_PUBLISHED

}  // namespace zel
