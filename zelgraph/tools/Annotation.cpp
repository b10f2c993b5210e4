#include "zelgraph/tools/Annotation.h"
#include "platform/Filer.h"

#include <array>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/ToolTexts.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

// Callout

ZEL_DEFINE_CLASS(TAnnotationCallout, TCallout)

TAnnotationCallout::TAnnotationCallout(TChartSeries* AOwner) : TCallout(AOwner) {
  FArrow->InitVisible(false);
  FVisible = false;
  DefaultVisible = false;
}

void TAnnotationCallout::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TAnnotationCallout*>(Source)) {
    FX = S->FX;
    FY = S->FY;
    FZ = S->FZ;
  }
  inherited::Assign(Source);
}

TPointF TAnnotationCallout::CloserPoint(const TRectF& R, TPointF P) {
  TPointF Result;
  if (P.X > R.Right)
    Result.X = R.Right;
  else if (P.X < R.Left)
    Result.X = R.Left;
  else
    Result.X = (R.Left + R.Right) * 0.5f;
  if (P.Y > R.Bottom)
    Result.Y = R.Bottom;
  else if (P.Y < R.Top)
    Result.Y = R.Top;
  else
    Result.Y = (R.Top + R.Bottom) * 0.5f;
  return Result;
}

void TAnnotationCallout::SetPos(std::int32_t& Field, std::int32_t Value) {
  if (Field == Value) return;
  Field = Value;
  Repaint();
}

void TAnnotationCallout::SetXPosition(std::int32_t Value) { SetPos(FX, Value); }
void TAnnotationCallout::SetYPosition(std::int32_t Value) { SetPos(FY, Value); }
void TAnnotationCallout::SetZPosition(std::int32_t Value) { SetPos(FZ, Value); }

// Tool

ZEL_DEFINE_COMPONENT_CLASS(TAnnotationTool, TZelCustomTool)

TAnnotationTool::TAnnotationTool(TComponent* AOwner) : TZelCustomTool(AOwner) {
  FCallout = Create<TAnnotationCallout>(static_cast<TChartSeries*>(nullptr));
  FSelected = Create<TZelSelected>(static_cast<TObject*>(this));
}

void TAnnotationTool::AfterConstruction() {
  inherited::AfterConstruction();
  if (!FShape) {
    FShape = CreateShape();
    FShape->SetVisible(FActive);
    FShape->IOwnerPublishes = true;
  }
  InitBounds(FShape->ShapeBounds);
}

void TAnnotationTool::InitBounds(const TRectF& R) {
  FShape->ShapeBounds = R;
  DefaultLeft = GetLeft();
  DefaultTop = GetTop();
  DefaultWidth = GetWidth();
  DefaultHeight = GetHeight();
}

TAnnotationTool::~TAnnotationTool() {
  if (FSelected) FSelected->Free();
  FSelected = nullptr;
  if (FCallout) FCallout->Free();
  FCallout = nullptr;
  if (FShape) FShape->Free();
  FShape = nullptr;
}

TTextShape* TAnnotationTool::CreateShape() { return Create<TTextShape>(static_cast<TCustomZelPanel*>(nullptr)); }

void TAnnotationTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TAnnotationTool*>(Source)) {
    FCallout->Assign(S->FCallout);
    FPosition = S->FPosition;
    FPositionUnits = S->FPositionUnits;
    FSelected->Assign(S->FSelected);
    if (FShape && S->FShape) FShape->Assign(S->FShape);
    FZ = S->FZ;
  }
  inherited::Assign(Source);
}

void TAnnotationTool::SetName(const String& NewName) {
  inherited::SetName(NewName);
  const auto* Owner = dynamic_cast<const TComponent*>(GetOwner());
  const bool Loading = IsLoading() || (Owner && Owner->IsLoading());
  if (!Loading) SetText(NewName);
}

void TAnnotationTool::SetActive(bool Value) {
  inherited::SetActive(Value);
  // The shape's visibility is stored apart: read, it comes back as it was written.
  if (FShape && !ReadingStoredValue()) FShape->SetVisible(Value);
}

void TAnnotationTool::InternalSetParent(TCustomAxisPanel* Chart) {
  if (IsDestroying()) return;
  FParent = Chart;
  if (FShape) FShape->SetParent(Chart);
  FCallout->SetParent(Chart);
  if (FParent) Repaint();
}

void TAnnotationTool::SetParentChart(TCustomAxisPanel* Value) {
  inherited::SetParentChart(Value);
  InternalSetParent(Value);
}

void TAnnotationTool::Repaint() {
  if (FParent)
    inherited::Repaint();
  else if (FShape)
    FShape->Repaint();
}

String TAnnotationTool::Description() const { return ZelMsg_AnnotationTool; }

String TAnnotationTool::LongDescription() const { return ZelMsg_AnnotationDesc; }

// Properties

void TAnnotationTool::SetCallout(TAnnotationCallout* Value) { FCallout->Assign(Value); }

void TAnnotationTool::SetDraw3D(bool Value) { SetBooleanProperty(FDraw3D, Value); }

void TAnnotationTool::SetPosition(TAnnotationPosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  if (!ReadingStoredValue()) FShape->SetCustomPosition(false);
  Repaint();
}

void TAnnotationTool::SetPositionUnits(TZelUnits Value) {
  if (FPositionUnits == Value) return;
  FPositionUnits = Value;
  Repaint();
}

void TAnnotationTool::SetSelected(TZelSelected* Value) { FSelected->Assign(Value); }

void TAnnotationTool::SetShape(TTextShape* Value) { FShape->Assign(Value); }

void TAnnotationTool::SetZ(std::int32_t Value) { SetIntegerProperty(FZ, Value); }

bool TAnnotationTool::GetAutoSize() const { return FShape->GetAutoSize(); }
void TAnnotationTool::SetAutoSize(bool Value) { FShape->SetAutoSize(Value); }
bool TAnnotationTool::GetClipText() const { return FShape->GetClipText(); }
void TAnnotationTool::SetClipText(bool Value) { FShape->SetClipText(Value); }
TCursor TAnnotationTool::GetCursor() const { return FShape->GetCursor(); }
void TAnnotationTool::SetCursor(TCursor Value) { FShape->SetCursor(Value); }
TAlignment TAnnotationTool::GetTextAlignment() const { return FShape->GetTextAlignment(); }
void TAnnotationTool::SetTextAlignment(TAlignment Value) { FShape->SetTextAlignment(Value); }
String TAnnotationTool::GetText() { return FShape->GetText(); }
void TAnnotationTool::SetText(const String& Value) { FShape->SetText(Value); }
std::int32_t TAnnotationTool::GetLeft() const { return FShape->GetLeft(); }
std::int32_t TAnnotationTool::GetTop() const { return FShape->GetTop(); }
std::int32_t TAnnotationTool::GetWidth() const { return Round(FShape->GetWidth()); }
std::int32_t TAnnotationTool::GetHeight() const { return Round(FShape->GetHeight()); }

void TAnnotationTool::SetLeft(std::int32_t Value) {
  const float W = FShape->GetWidth();
  FShape->SetLeft(Value);
  FShape->SetWidth(W);
}

void TAnnotationTool::SetTop(std::int32_t Value) {
  const float H = FShape->GetHeight();
  FShape->SetTop(Value);
  FShape->SetHeight(H);
}

void TAnnotationTool::SetWidth(std::int32_t Value) {
  if (Value == GetWidth()) return;
  SetAutoSize(false);
  FShape->SetWidth(static_cast<float>(Value));
  Repaint();
}

void TAnnotationTool::SetHeight(std::int32_t Value) {
  if (Value == GetHeight()) return;
  SetAutoSize(false);
  FShape->SetHeight(static_cast<float>(Value));
  Repaint();
}

void TAnnotationTool::SetBounds(const TRectF& R) {
  FShape->ShapeBounds = R;
  Repaint();
}

// Placement and drawing

TRectF TAnnotationTool::GetTextBounds(TCustomAxisPanel* Chart, const TRectF& R, std::int32_t& X, std::int32_t& Y) {
  // Measured with the font it is drawn with: flat, or with the chart's 3D text zoom.
  FShape->IDraw2D = !FDraw3D;
  FShape->FDraw3D = FDraw3D;
  FShape->CalcBounds(Chart);
  const std::int32_t W = Round(double(R.Right) - R.Left + 1);
  const std::int32_t H = Round(double(R.Bottom) - R.Top + 1);
  const float SW = FShape->GetWidth(), SH = FShape->GetHeight();
  if (FShape->GetCustomPosition()) {
    X = FShape->GetLeft();
    Y = FShape->GetTop();
    if (FPositionUnits == TZelUnits::muPercent) {
      X = Round(double(X) * W * 0.01);
      Y = Round(double(Y) * H * 0.01);
    }
    X += Round(R.Left);
    Y += Round(R.Top);
    return TRectF(float(X), float(Y), float(X) + SW, float(Y) + SH);
  }
  const std::int32_t D = Round(double(R.Left) + W - SW);
  const std::int32_t E = Round(double(R.Top) + H - SH);
  switch (FPosition) {
    case TAnnotationPosition::ppLeftTop:
      X = Round(double(R.Left) + 10);
      Y = Round(double(R.Top) + 10);
      break;
    case TAnnotationPosition::ppLeftBottom:
      X = Round(double(R.Left) + 10);
      Y = E - 10;
      break;
    case TAnnotationPosition::ppRightTop:
      X = D - 10;
      Y = Round(double(R.Top) + 10);
      break;
    case TAnnotationPosition::ppRightBottom:
      X = D - 10;
      Y = E - 10;
      break;
    case TAnnotationPosition::ppCenter:
      X = Round(double(R.Left) + R.Right - SW) / 2;
      Y = Round(double(R.Top) + R.Bottom - SH) / 2;
      break;
  }
  // Placed without a repaint: this runs while the chart paints.
  FShape->ShapeBounds = TRectF(float(X), float(Y), float(X) + SW, float(Y) + SH);
  return FShape->ShapeBounds;
}

TRectF TAnnotationTool::GetBounds() {
  if (!FParent) return TRectF(0, 0, 0, 0);
  std::int32_t X = 0, Y = 0;
  return GetTextBounds(FParent, FParent->GetChartBounds(), X, Y);
}

bool TAnnotationTool::Clicked(std::int32_t X, std::int32_t Y) {
  if (!FShape) return false;
  TRectF R = GetClipText() && !ILastDrawn.IsEmpty() ? ILastDrawn : GetBounds();
  if (FDraw3D && FParent && FParent->GetCanvas()) {
    TCanvas3D* C = FParent->GetCanvas();
    const TPointF A = C->Calculate3DPosition(TPointF(R.Left, R.Top), FZ);
    const TPointF B = C->Calculate3DPosition(TPointF(R.Right, R.Bottom), FZ);
    R = TRectF(A.X, A.Y, B.X, B.Y);
  }
  return FShape->ClickedShape(TPointF(float(X), float(Y)), R);
}

void TAnnotationTool::DoDrawText(TCustomAxisPanel* Chart) {
  if (!Chart || !Chart->GetCanvas() || !FShape) return;
  TCanvas3D* C = Chart->GetCanvas();
  FShape->InternalSetText(GetText());
  std::int32_t X = 0, Y = 0;
  const TRectF R = GetTextBounds(Chart, Chart->GetChartBounds(), X, Y);
  ILastDrawn = R;
  FShape->ITextOffset = GetXOffset();
  {
    TFrontPlaneScope FrontPlane(C, !FDraw3D);
    TZelHover* Hover = FSelected->GetHover();
    const bool Hovered = FSelected->GetHoverIndex() == 0 && Hover->GetVisible();
    TOwned<TZelPen> SavedPen;
    if (Hovered) {
      SavedPen.reset(Create<TZelPen>());
      SavedPen->Assign(FShape->GetPen());
      FShape->GetPen()->Assign(Hover->GetPen());
    }
    TRestoreOnExit RestorePen([&] {
      if (SavedPen) FShape->GetPen()->Assign(SavedPen.get());
    });
    FShape->Draw(Chart, R, FShape->GetAngle(), FZ);
  }

  if (FCallout->GetVisible() || FCallout->GetArrow()->GetVisible()) {
    TPointF P(float(FCallout->GetXPosition()), float(FCallout->GetYPosition()));
    const TPointF F = TAnnotationCallout::CloserPoint(R, P);
    if (FCallout->GetDistance() != 0) P = PointAtDistance(F, P, float(FCallout->GetDistance()));
    FCallout->Draw(Chart, FCallout->GetBrush()->GetColor(), P, TPointF(0, 0), F, FCallout->GetZPosition(), false);
  }
}

// Events

void TAnnotationTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  if (AEvent == TChartToolEvent::tdePaintDone) {
    if (OnBeforeDraw) OnBeforeDraw(this);
    DoDrawText(FParent);
    if (OnAfterDraw) OnAfterDraw(this);
  } else if (AEvent == TChartToolEvent::tdeMouseLeft) {
    FSelected->SetHoverIndex(-1);
  }
}

void TAnnotationTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                      std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!FParent) return;
  if (AEvent == TChartMouseEvent::tmePress) {
    if ((OnClick || OnDblClick) && Clicked(X, Y)) {
      if (OnClick) OnClick(this, Button, Shift, X, Y);
      if (Shift.Contains(TShiftStateItem::ssDouble) && OnDblClick) OnDblClick(this, Button, Shift, X, Y);
    }
  } else if (AEvent == TChartMouseEvent::tmeMove) {
    const bool On = Clicked(X, Y);
    FSelected->SetHoverIndex(On && FSelected->GetHover()->GetVisible() ? 0 : -1);
    if (On && GetCursor() != 0) {
      if (!IKeepCursor) FParent->SetCursor(GetCursor());
      FParent->SetCancelMouse(true);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TAnnotationCallout)
  P::Prop("XPosition", &Self::GetXPosition, &Self::SetXPosition, Default(0)),
  P::Prop("YPosition", &Self::GetYPosition, &Self::SetYPosition, Default(0)),
  P::Prop("ZPosition", &Self::GetZPosition, &Self::SetZPosition, Default(0)),
ZEL_END_PUBLISHED

// Text is the shape's own text (not GetText, which descendants compute). The names that reach
// the shape (AutoSize, ClipText, Cursor, Text, TextAlignment, Left, Top) are written here, against
// the defaults the shape recorded, and not again inside "Shape".
ZEL_BEGIN_PUBLISHED(TAnnotationTool)
  P::Prop("AutoSize", &Self::GetAutoSize, &Self::SetAutoSize, &Self::IsAutoSizeStored),
  P::Obj("Callout", &Self::GetCallout),
  P::Prop("ClipText", &Self::GetClipText, &Self::SetClipText, Default(true)),
  P::Prop("Cursor", &Self::GetCursor, &Self::SetCursor, &Self::IsCursorStored),
  P::Prop("Draw3D", &Self::GetDraw3D, &Self::SetDraw3D, Default(false)),
  P::Prop("Position", &Self::GetPosition, &Self::SetPosition, Default(TAnnotationPosition::ppLeftTop)),
  P::Prop("PositionUnits", &Self::GetPositionUnits, &Self::SetPositionUnits, &Self::IsPositionUnitsStored),
  P::Obj("Selected", &Self::GetSelected),
  P::Obj("Shape", &Self::GetShape),
  P::Prop("Text", [](Self* T) { return T->GetShape()->GetText(); }, &Self::SetText, Default(String())),
  P::Prop("TextAlignment", &Self::GetTextAlignment, &Self::SetTextAlignment,
          [](Self* T) { return T->GetShape()->IsTextAlignStored(); }),
  P::Prop("Left", &Self::GetLeft, &Self::SetLeft, &Self::IsLeftStored),
  P::Prop("Top", &Self::GetTop, &Self::SetTop, &Self::IsTopStored),
  P::Prop("Width", &Self::GetWidth, &Self::SetWidth, &Self::IsWidthStored),
  P::Prop("Height", &Self::GetHeight, &Self::SetHeight, &Self::IsHeightStored),
  P::Prop("Z", &Self::GetZ, &Self::SetZ, Default(0)),
  P::Event("OnAfterDraw", &Self::OnAfterDraw),
  P::Event("OnBeforeDraw", &Self::OnBeforeDraw),
  P::Event("OnClick", &Self::OnClick),
  P::Event("OnDblClick", &Self::OnDblClick),
ZEL_END_PUBLISHED

}  // namespace zel
