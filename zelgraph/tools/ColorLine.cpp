#include "zelgraph/tools/ColorLine.h"
#include "platform/Filer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

namespace {

bool IsReading(const TComponent* C) {
  return C->IsLoading() || C->GetComponentState().Contains(TComponentStateItem::csReading);
}

}  // namespace

// Colour line

ZEL_DEFINE_COMPONENT_CLASS(TColorLineTool, TZelCustomToolAxis)

TColorLineTool::TColorLineTool(TComponent* AOwner) : TZelCustomToolAxis(AOwner) {
  GetPen()->InitEndStyle(TPenEndStyle::esFlat);
}

TColorLineTool::~TColorLineTool() { FreeAndNil(FAnnotation); }

void TColorLineTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TColorLineTool*>(Source)) {
    FAllowDrag = S->FAllowDrag;
    SetAnnotation(S->FAnnotation);
    FAnnValue = S->FAnnValue;
    FClick = S->FClick;
    FDragRepaint = S->FDragRepaint;
    FDraw3D = S->FDraw3D;
    FDrawBehind = S->FDrawBehind;
    FNoLimitDrag = S->FNoLimitDrag;
    FStyle = S->FStyle;
    FValue = S->FValue;
  }
  inherited::Assign(Source);
}

void TColorLineTool::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  if (FAnnotation) Proc(FAnnotation);
}

void TColorLineTool::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent && AComponent == FAnnotation) FAnnotation = nullptr;
}

void TColorLineTool::TakeChildren() {
  const std::vector<TComponent*> Read = ReadChildren(TAnnotationTool::StaticClass(), 1);
  TakeChild(FAnnotation, Read.empty() ? nullptr : Read.front());
  if (FAnnotation) FAnnotation->InternalSetParent(GetChart());
}

void TColorLineTool::SetParentChart(TCustomAxisPanel* Value) {
  inherited::SetParentChart(Value);
  if (FAnnotation) FAnnotation->InternalSetParent(GetChart());
}

void TColorLineTool::SetParent(TCustomAxisPanel* Value) {
  IParent = Value;
  if (FAnnotation) FAnnotation->InternalSetParent(GetChart());
}

void TColorLineTool::CanvasChanged(TObject* Sender) {
  if (FParent)
    inherited::CanvasChanged(Sender);
  else if (IParent && !IsDestroying() && !IParent->IsDestroying())
    IParent->Invalidate();
}

String TColorLineTool::Description() const { return ZelMsg_ColorLineTool; }

String TColorLineTool::LongDescription() const { return ZelMsg_ColorLineDesc; }

TAnnotationTool* TColorLineTool::GetAnnotation() {
  if (!FAnnotation) {
    FAnnotation = CreateAnnotation(this, GetChart());
    FAnnotation->GetShape()->SetVisible(true);
  }
  return FAnnotation;
}

void TColorLineTool::SetAnnotation(TAnnotationTool* Value) {
  if (!Value) {
    FreeAndNil(FAnnotation);
  } else if (Value != FAnnotation) {
    GetAnnotation()->Assign(Value);
  }
}

void TColorLineTool::SetAnnotationValue(bool Value) { SetBooleanProperty(FAnnValue, Value); }

void TColorLineTool::SetDragRepaint(bool Value) {
  if (FDragRepaint == Value) return;
  FDragRepaint = Value;
  if (Value) CanvasChanged(this);
}

void TColorLineTool::SetDraw3D(bool Value) {
  if (FDraw3D == Value) return;
  FDraw3D = Value;
  CanvasChanged(this);
}

void TColorLineTool::SetDrawBehind(bool Value) {
  if (FDrawBehind == Value) return;
  FDrawBehind = Value;
  CanvasChanged(this);
}

void TColorLineTool::SetStyle(TColorLineStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  CanvasChanged(this);
}

void TColorLineTool::SetValue(double Value) {
  if (!IsReading(this)) FStyle = TColorLineStyle::clCustom;
  if (!IDragging || ShouldForceRepaint()) {
    // NaN never equals itself: a NaN is stored (and repainted) once.
    if (FValue == Value) return;
    FValue = Value;
    CanvasChanged(this);
  } else {
    FValue = Value;
  }
}

bool TColorLineTool::AnnotationVisible() const { return IsAnnotationVisible(FAnnotation); }

bool TColorLineTool::ShouldForceRepaint() const {
  return FDragRepaint || AnnotationVisible() || !ZelCanDrawXor(GetChart());
}

double TColorLineTool::CalcValue() const {
  if (!FAxis) return FValue;
  switch (FStyle) {
    case TColorLineStyle::clMaximum: return FAxis->GetMaximum();
    case TColorLineStyle::clMinimum: return FAxis->GetMinimum();
    case TColorLineStyle::clCenter: return std::midpoint(FAxis->GetMinimum(), FAxis->GetMaximum());
    default: return FValue;
  }
}

double TColorLineTool::LimitValue(double Value) const {
  if (!FAxis) return Value;
  const std::int32_t P = FAxis->CalcPosValue(Value);
  if (P >= FAxis->IStartPos && P <= FAxis->IEndPos) return Value;
  const std::int32_t End = std::abs(P - FAxis->IStartPos) < std::abs(P - FAxis->IEndPos) ? FAxis->IStartPos
                                                                                         : FAxis->IEndPos;
  return FAxis->CalcPosPoint(End);
}

bool TColorLineTool::Clicked(std::int32_t X, std::int32_t Y) const {
  TCustomAxisPanel* C = GetChart();
  if (!FAxis || !C) return false;
  const std::int32_t P = FAxis->CalcPosValue(CalcValue());
  const TRectF& R = C->GetChartRect();
  if (FAxis->GetHorizontal())
    return std::abs(P - X) < FClick && Y >= R.Top && Y <= R.Bottom;
  return std::abs(P - Y) < FClick && X >= R.Left && X <= R.Right;
}

void TColorLineTool::Draw2DLine(std::int32_t Pos) {
  TCustomAxisPanel* Chart = GetChart();
  TCanvas3D* C = Chart->GetCanvas();
  const TRectF R = Chart->GetChartRect();
  const bool Horizontal = FAxis->GetHorizontal();
  // Showing the value makes the annotation when there is none yet.
  if (FAnnValue) GetAnnotation()->SetText(FAxis->LabelValue(CalcValue()));
  if (!AnnotationVisible() || FAnnotation->GetText().empty()) {
    if (Horizontal)
      C->VertLine3D(float(Pos), R.Top, R.Bottom, 0);
    else
      C->HorizLine3D(R.Left, R.Right, float(Pos), 0);
    return;
  }
  // The line in two pieces around the label.
  TTextShape* Shape = FAnnotation->GetShape();
  std::int32_t AX = 0, AY = 0;
  FAnnotation->GetTextBounds(Chart, Chart->GetChartBounds(), AX, AY);
  const std::int32_t W = Round(Shape->GetWidth()), H = Round(Shape->GetHeight());
  const std::int32_t H2 = Round(H * 0.5);
  const TAlignment Align = Shape->GetTextAlignment();
  std::int32_t Left, Top;
  if (Horizontal) {
    Left = Align == TAlignment::taLeftJustify ? Pos : Align == TAlignment::taRightJustify ? Pos - W : Pos - W / 2;
    const std::int32_t Mid = Round(double(R.Top) + R.Bottom) / 2;
    C->VertLine3D(float(Pos), R.Top, float(Mid - H2), 0);
    C->VertLine3D(float(Pos), float(Mid + H2), R.Bottom, 0);
    Top = Mid - H2;
  } else {
    if (Align == TAlignment::taLeftJustify)
      Left = Round(R.Left) + 4;
    else if (Align == TAlignment::taRightJustify)
      Left = Round(R.Right) - W - 4;
    else
      Left = Round(R.Left + (double(Chart->GetChartWidth()) - W) * 0.5);
    C->HorizLine3D(R.Left, float(Left), float(Pos), 0);
    C->HorizLine3D(float(Left + W), R.Right, float(Pos), 0);
    Top = Pos - H2;
  }
  // Placed without a repaint: this runs while the chart paints.
  Shape->ShapeBounds = TRectF(float(Left), float(Top), float(Left + W), float(Top + H));
  if (!Shape->GetCustomPosition()) Shape->SetCustomPosition(true);
  FAnnotation->SetPositionUnits(TZelUnits::muPixels);
  FAnnotation->DoDrawText(Chart);
}

void TColorLineTool::DrawColorLine(bool Behind) {
  TCustomAxisPanel* Chart = GetChart();
  if (!FAxis || !Chart || !Chart->GetCanvas()) return;
  if (FAllowDrag && !FNoLimitDrag) FValue = LimitValue(FValue);
  const std::int32_t P = FAxis->CalcPosValue(CalcValue());
  if (!ShowOutsideAxis && (P < FAxis->IStartPos || P > FAxis->IEndPos)) return;
  TCanvas3D* C = Chart->GetCanvas();
  const TRectF R = Chart->GetChartRect();
  const float W = float(Chart->GetWidth3D());
  const bool Horizontal = FAxis->GetHorizontal();
  const bool Is3D = Chart->GetView3D();
  if (Behind) {
    if (Is3D) {
      if (FDraw3D) {
        if (Horizontal)
          C->ZLine3D(float(P), R.Bottom, 0, W);
        else
          C->ZLine3D(R.Left, float(P), 0, W);
      }
      if (FDrawBehind || FDraw3D) {
        if (Horizontal)
          C->VertLine3D(float(P), R.Top, R.Bottom, W);
        else
          C->HorizLine3D(R.Left, R.Right, float(P), W);
      }
    } else if (FDrawBehind) {
      Draw2DLine(P);
    }
  } else {
    if (Is3D && FDraw3D) {
      if (Horizontal)
        C->ZLine3D(float(P), R.Top, 0, W);
      else
        C->ZLine3D(R.Right, float(P), 0, W);
    }
    if (!FDrawBehind) Draw2DLine(P);
  }
}

void TColorLineTool::InternalDrawLine(bool Behind) {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  // This canvas cannot draw by XOR, so the line is always drawn with its own pen and dragging
  // repaints the chart.
  C->AssignVisiblePen(GetPen());
  DrawColorLine(Behind);
}

void TColorLineTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  if (!FAxis) return;
  if (AEvent == TChartToolEvent::tdeSeriesStart)
    InternalDrawLine(true);
  else if (AEvent == TChartToolEvent::tdePaintDone)
    InternalDrawLine(false);
}

void TColorLineTool::DoEndDragLine() {
  if (InternalOnEndDragLine) InternalOnEndDragLine(this);
  if (OnEndDragLine) OnEndDragLine(this);
}

void TColorLineTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                     std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  TCustomAxisPanel* Chart = GetChart();
  if (!FAllowDrag || !FAxis || !Chart) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress:
      if (Button != TMouseButton::mbLeft) break;
      IDragging = Clicked(X, Y);
      Chart->SetCancelMouse(IDragging);
      if (IDragging && OnBeginDragLine) OnBeginDragLine(this);
      break;
    case TChartMouseEvent::tmeMove:
      if (IDragging) {
        double V = FAxis->CalcPosPoint(FAxis->GetHorizontal() ? X : Y);
        if (!FNoLimitDrag) V = LimitValue(V);
        if (ShouldForceRepaint()) {
          SetValue(V);
        } else if (V != CalcValue()) {
          // No XOR drawing outside a paint here: move the line and repaint.
          FStyle = TColorLineStyle::clCustom;
          FValue = V;
          Chart->Invalidate();
        }
        Chart->SetCancelMouse(true);
        if (OnDragLine) OnDragLine(this);
      } else if (Clicked(X, Y)) {
        Chart->SetCancelMouse(true);
      }
      break;
    case TChartMouseEvent::tmeRelease:
      if (IDragging) {
        if (!FDragRepaint) Chart->Invalidate();
        // The end is reported while the drag still counts as running.
        DoEndDragLine();
        IDragging = false;
      }
      break;
  }
}

// Colour band

ZEL_DEFINE_COMPONENT_CLASS(TColorBandTool, TZelCustomToolAxis)

TColorBandTool::TColorBandTool(TComponent* AOwner) : TZelCustomToolAxis(AOwner) {
  FLineEnd = NewLine();
  FLineStart = NewLine();
}

TColorBandTool::~TColorBandTool() {
  if (FPicture) FPicture->Free();
  FPicture = nullptr;
  FreeAndNil(FLineStart);
  FreeAndNil(FLineEnd);
}

void TColorBandTool::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove || !AComponent) return;
  if (AComponent == FLineStart) FLineStart = IsDestroying() ? nullptr : NewLine();
  if (AComponent == FLineEnd) FLineEnd = IsDestroying() ? nullptr : NewLine();
}

TColorLineTool* TColorBandTool::NewLine() {
  auto* Line = Create<TColorLineTool>(nullptr);
  Line->InitDragRepaint(true);
  HookLine(Line);
  return Line;
}

void TColorBandTool::TakeChildren() {
  const std::vector<TComponent*> Read = ReadChildren(TColorLineTool::StaticClass(), 2);
  if (Read.size() > 1) TakeChild(FLineEnd, Read[1]);
  if (!Read.empty()) TakeChild(FLineStart, Read[0]);
  // The band's axis came while reading, when it does not reach the lines.
  HookLine(FLineStart);
  HookLine(FLineEnd);
}

void TColorBandTool::HookLine(TColorLineTool* Line) {
  Line->IBandEdge = true;
  // A band makes its edges dragging by repaint (a line read in their place too): that is what
  // their DragRepaint is written against.
  Line->MadeDragRepaint = true;
  Line->OnDragLine = [this](TColorLineTool* Sender) { DragLine(Sender); };
  Line->InternalOnEndDragLine = [this](TColorLineTool* Sender) { EndDragLine(Sender); };
  Line->InternalSetAxis(FAxis);
  Line->SetParent(GetChart());
}

void TColorBandTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TColorBandTool*>(Source)) {
    FAllowDrag = S->FAllowDrag;
    FColor = S->FColor;
    FCursor = S->FCursor;
    FDrawBehind = S->FDrawBehind;
    FDrawBehindAxes = S->FDrawBehindAxes;
    FEnd = S->FEnd;
    FNoLimitDrag = S->FNoLimitDrag;
    FStart = S->FStart;
    FTransparency = S->FTransparency;
    FLineStart->Assign(S->FLineStart);
    FLineEnd->Assign(S->FLineEnd);
    SetPicture(S->FPicture);
  }
  inherited::Assign(Source);
  // The lines copied the other band's axis; they follow this band.
  FLineStart->InternalSetAxis(FAxis);
  FLineEnd->InternalSetAxis(FAxis);
}

void TColorBandTool::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  Proc(FLineStart);
  Proc(FLineEnd);
}

String TColorBandTool::Description() const { return ZelMsg_ColorBandTool; }

String TColorBandTool::LongDescription() const { return ZelMsg_ColorBandDesc; }

void TColorBandTool::SetAxis(TChartAxis* Value) {
  inherited::SetAxis(Value);
  if (IsReading(this)) return;
  FLineStart->InternalSetAxis(FAxis);
  FLineEnd->InternalSetAxis(FAxis);
}

void TColorBandTool::SetParentChart(TCustomAxisPanel* Value) {
  inherited::SetParentChart(Value);
  IParent = Value;
  FLineStart->SetParent(Value);
  FLineEnd->SetParent(Value);
}

void TColorBandTool::Loaded() {
  inherited::Loaded();
  SetLines();
}

void TColorBandTool::SetLines() {
  FLineEnd->SetValue(FEnd);
  FLineStart->SetValue(FStart);
}

void TColorBandTool::SetStartValue(double Value) {
  if (FStart == Value) return;
  SetDoubleProperty(FStart, Value);
  SetLines();
  if (OnChanged) OnChanged(this);
}

void TColorBandTool::SetEndValue(double Value) {
  if (FEnd == Value) return;
  SetDoubleProperty(FEnd, Value);
  SetLines();
  if (OnChanged) OnChanged(this);
}

void TColorBandTool::SetTransparency(Byte Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  Repaint();
}

TZelPicture* TColorBandTool::GetPicture() {
  if (!FPicture) {
    FPicture = Create<TZelPicture>();
    FPicture->OnChange = [this](TObject* Sender) { CanvasChanged(Sender); };
  }
  return FPicture;
}

void TColorBandTool::SetPicture(TZelPicture* Value) {
  if (!Value) {
    if (FPicture) FPicture->Free();
    FPicture = nullptr;
    Repaint();
  } else if (Value != FPicture) {
    GetPicture()->Assign(Value);
  }
}

TZelGradient* TColorBandTool::GetGradient() { return GetBrush()->GetGradient(); }

TZelPen* TColorBandTool::GetStartLinePen() const { return FLineStart->GetPen(); }
void TColorBandTool::SetStartLinePen(TZelPen* Value) { FLineStart->SetPen(Value); }
TZelPen* TColorBandTool::GetEndLinePen() const { return FLineEnd->GetPen(); }
void TColorBandTool::SetEndLinePen(TZelPen* Value) { FLineEnd->SetPen(Value); }
bool TColorBandTool::GetResizeStart() const { return FLineStart->GetAllowDrag(); }
bool TColorBandTool::GetResizeEnd() const { return FLineEnd->GetAllowDrag(); }

void TColorBandTool::SetResizeStart(bool Value) {
  if (Value && !ReadingStoredValue()) FLineStart->SetActive(true);
  FLineStart->SetAllowDrag(Value);
}

void TColorBandTool::SetResizeEnd(bool Value) {
  if (Value && !ReadingStoredValue()) FLineEnd->SetActive(true);
  FLineEnd->SetAllowDrag(Value);
}

std::int32_t TColorBandTool::ZPosition() const {
  TCustomAxisPanel* C = GetChart();
  return FDrawBehind && C ? C->GetWidth3D() : 0;
}

TRectF TColorBandTool::BoundsRect() const {
  TCustomAxisPanel* Chart = GetChart();
  if (!FAxis || !Chart) return TRectF(0, 0, 0, 0);
  const double Lo = std::min(FStart, FEnd), Hi = std::max(FStart, FEnd);
  if (!(Hi >= FAxis->GetMinimum() && Lo <= FAxis->GetMaximum())) return TRectF(0, 0, 0, 0);
  TRectF R = Chart->GetChartRect();
  const std::int32_t P0 = FAxis->CalcPosValue(Lo), P1 = FAxis->CalcPosValue(Hi);
  const std::int32_t First = std::min(P0, P1), Second = std::max(P0, P1);
  const bool PenVisible = GetPen()->GetVisible();
  if (FAxis->GetHorizontal()) {
    R.Left = float(std::max(FAxis->IStartPos, First));
    R.Right = float(std::min(FAxis->IEndPos, Second));
    if (PenVisible) R.Right += 1;
  } else {
    R.Top = float(std::max(FAxis->IStartPos, First));
    R.Bottom = float(std::min(FAxis->IEndPos, Second) + 1);
    R.Left += 1;
  }
  if (!PenVisible) {
    R.Bottom += 1;
    R.Right += 1;
  }
  return R;
}

bool TColorBandTool::Clicked(std::int32_t X, std::int32_t Y) const {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return false;
  const TRectF R = BoundsRect();
  if (R.Width() <= 0 || R.Height() <= 0) return false;
  const TFourPoints P = Chart->GetCanvas()->FourPointsFromRect(R, ZPosition());
  return PointInPolygon(TPointF(float(X), float(Y)), std::span<const TPointF>(P.data(), P.size()), 3);
}

void TColorBandTool::PaintBand() {
  TCustomAxisPanel* Chart = GetChart();
  if (!FAxis || !Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  const TRectF R = BoundsRect();
  const std::int32_t Z = ZPosition();
  const bool Is3D = Chart->GetView3D();
  if (R.Width() > 0 && R.Height() > 0) {
    C->AssignBrush(GetBrush(), FColor, GetBrush()->GetBackColor());
    C->AssignVisiblePen(GetPen());
    TRectF BR = R;
    if (C->GetSupportsAlpha()) {
      BR = ZelZeroRectF;
    } else if (Is3D) {
      const TFourPoints P = C->FourPointsFromRect(R, Z);
      BR = RectFromPolygon(P.data(), 4);
    }
    TBlendingScope Blending(C, BR, static_cast<std::int8_t>(FTransparency), FTransparency != 0);
    if (FPicture && FPicture->Valid()) {
      if (Is3D && !C->GetIsOrthogonal()) {
        C->StretchDraw(R, FPicture->Filtered(), Z, TCanvas3DPlane::cpZ);
      } else {
        const TFourPoints P = C->FourPointsFromRect(R, Z);
        C->StretchDraw(RectFromPolygon(P.data(), 4), FPicture->Filtered());
      }
    } else {
      TZelGradient* G = GetBrush()->ExistingGradient();
      const bool Gradient = GetBrush()->HasGradient();
      if (Gradient) {
        // The gradient spans the whole band, also where the chart clips it.
        TRectF Whole = Chart->GetChartRect();
        const std::int32_t A = FAxis->CalcPosValue(FStart), B = FAxis->CalcPosValue(FEnd);
        if (FAxis->GetHorizontal()) {
          Whole.Left = float(std::min(A, B));
          Whole.Right = float(std::max(A, B));
        } else {
          Whole.Top = float(std::min(A, B));
          Whole.Bottom = float(std::max(A, B));
        }
        G->SetCustomTargetRectangle(Whole);
      }
      TRestoreOnExit ResetTarget([&] {
        if (Gradient) G->SetCustomTargetRectangle(TRectF(0, 0, 0, 0));
      });
      if (Is3D)
        C->RectangleWithZ(R, Z);
      else
        C->Rectangle(R);
    }
  }
  // The edges, whether or not the band showed.
  if (FLineEnd->GetActive()) {
    FLineEnd->InternalSetAxis(FAxis);
    FLineEnd->SetParent(Chart);
    FLineEnd->SetValue(FEnd);
    FLineEnd->ChartEvent(TChartToolEvent::tdePaintDone);
  }
  if (FLineStart->GetActive()) {
    FLineStart->InternalSetAxis(FAxis);
    FLineStart->SetParent(Chart);
    FLineStart->SetValue(FStart);
    FLineStart->ChartEvent(TChartToolEvent::tdePaintDone);
  }
}

void TColorBandTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  switch (AEvent) {
    case TChartToolEvent::tdePaintDone:
      if (!FDrawBehind && !FDrawBehindAxes) PaintBand();
      break;
    case TChartToolEvent::tdeSeriesStart:
      if (FDrawBehind && !FDrawBehindAxes) PaintBand();
      break;
    case TChartToolEvent::tdeAxesStart:
      if (FDrawBehindAxes) PaintBand();
      break;
    default: break;
  }
}

void TColorBandTool::DragLine(TColorLineTool* Sender) {
  if (Sender->GetDragRepaint()) {
    if (Sender == FLineStart)
      SetStartValue(Sender->GetValue());
    else
      SetEndValue(Sender->GetValue());
  }
  if (OnResizing) OnResizing(this);
}

void TColorBandTool::EndDragLine(TColorLineTool* Sender) {
  if (!Sender->GetDragRepaint()) {
    if (Sender == FLineStart)
      SetStartValue(Sender->GetValue());
    else
      SetEndValue(Sender->GetValue());
  }
  if (OnResized) OnResized(this);
}

void TColorBandTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                     std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !FAxis) return;
  FLineStart->InternalSetAxis(FAxis);
  FLineEnd->InternalSetAxis(FAxis);
  if (FLineStart->GetActive()) FLineStart->ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (FLineEnd->GetActive() && !Chart->GetCancelMouse()) FLineEnd->ChartMouseEvent(AEvent, Button, Shift, X, Y);
  switch (AEvent) {
    case TChartMouseEvent::tmePress:
      if (Clicked(X, Y)) {
        if (OnClick) OnClick(this, Button, Shift, float(X), float(Y));
        if (!Chart->GetCancelMouse() && FAllowDrag) {
          IDragging = true;
          IOld = FAxis->CalcPosPoint(FAxis->GetHorizontal() ? X : Y) - FStart;
          Chart->SetCancelMouse(true);
        }
      }
      break;
    case TChartMouseEvent::tmeMove:
      if (IDragging) {
        if (!Chart->GetCancelMouse()) {
          double F = FAxis->CalcPosPoint(FAxis->GetHorizontal() ? X : Y) - IOld;
          if (!FNoLimitDrag) F = FLineStart->LimitValue(F);
          const double Width = FEnd - FStart;
          const double E = FLineEnd->LimitValue(F + Width);
          if (!FNoLimitDrag && F + Width > E) F = E - Width;
          SetStartValue(F);
          SetEndValue(FStart + Width);
        }
        Chart->SetCancelMouse(true);
        if (OnDragging) OnDragging(this);
      } else if ((FAllowDrag || FCursor != 0) && !Chart->GetCancelMouse() && Clicked(X, Y)) {
        const bool Busy = Chart->GetPanning()->GetActive() || Chart->GetZoom()->GetActive();
        if (!Busy) {
          if (FCursor != 0) Chart->SetCursor(FCursor);
          Chart->SetCancelMouse(true);
        }
      }
      break;
    case TChartMouseEvent::tmeRelease:
      IDragging = false;
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

// The label is the line's child component, not a property.
ZEL_BEGIN_PUBLISHED(TColorLineTool)
  P::Prop("AllowDrag", &Self::GetAllowDrag, &Self::SetAllowDrag, Default(true)),
  P::Prop("AnnotationValue", &Self::GetAnnotationValue, &Self::SetAnnotationValue, Default(false)),
  P::Prop("ClickTolerance", &Self::GetClickTolerance, &Self::SetClickTolerance, Default(3)),
  P::Prop("DragRepaint", &Self::GetDragRepaint, &Self::SetDragRepaint, DefaultOrMade(false, &Self::MadeDragRepaint)),
  P::Prop("Draw3D", &Self::GetDraw3D, &Self::SetDraw3D, Default(true)),
  P::Prop("DrawBehind", &Self::GetDrawBehind, &Self::SetDrawBehind, Default(false)),
  P::Prop("NoLimitDrag", &Self::GetNoLimitDrag, &Self::SetNoLimitDrag, Default(false)),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TColorLineStyle::clCustom)),
  P::Prop("Value", &Self::GetValue, &Self::SetValue, [](Self* L) { return !L->IBandEdge && L->GetValue() != 0; }),
  P::Event("OnBeginDragLine", &Self::OnBeginDragLine),
  P::Event("OnDragLine", &Self::OnDragLine),
  P::Event("OnEndDragLine", &Self::OnEndDragLine),
ZEL_END_PUBLISHED

// Gradient is the brush's: read under that name, written under "Brush".
ZEL_BEGIN_PUBLISHED(TColorBandTool)
  P::Prop("AllowDrag", &Self::GetAllowDrag, &Self::SetAllowDrag, Default(true)),
  P::Obj("Brush", &Self::GetBrush),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Prop("Cursor", &Self::GetCursor, &Self::SetCursor, Default(TCursor(0))),
  P::Prop("DrawBehind", &Self::GetDrawBehind, &Self::SetDrawBehind, Default(true)),
  P::Prop("DrawBehindAxes", &Self::GetDrawBehindAxes, &Self::SetDrawBehindAxes, Default(false)),
  // The edges' pens, written with the lines as their Pen; read, not written.
  P::Obj("EndLinePen", &Self::GetEndLinePen, &Self::GetEndLinePen, [](Self*) { return false; }),
  P::Prop("EndValue", &Self::GetEndValue, &Self::SetEndValue, Default(0.0)),
  P::Obj("Gradient", &Self::GetGradient, &Self::GetGradient, [](Self*) { return false; }),
  P::Prop("NoLimitDrag", &Self::GetNoLimitDrag, &Self::SetNoLimitDrag, Default(true)),
  P::Obj("Pen", &Self::GetPen),
  P::Obj("Picture", &Self::GetPicture, &Self::ExistingPicture),
  // The edges' AllowDrag, written with the lines; a stream without the lines still sets them.
  P::Prop("ResizeEnd", &Self::GetResizeEnd, &Self::SetResizeEnd, Never),
  P::Prop("ResizeStart", &Self::GetResizeStart, &Self::SetResizeStart, Never),
  P::Obj("StartLinePen", &Self::GetStartLinePen, &Self::GetStartLinePen, [](Self*) { return false; }),
  P::Prop("StartValue", &Self::GetStartValue, &Self::SetStartValue, Default(0.0)),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(Byte(0))),
  P::Event("OnClick", &Self::OnClick),
  P::Event("OnDragging", &Self::OnDragging),
  P::Event("OnResized", &Self::OnResized),
  P::Event("OnResizing", &Self::OnResizing),
ZEL_END_PUBLISHED

}  // namespace zel
