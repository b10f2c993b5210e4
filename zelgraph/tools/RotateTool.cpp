#include "zelgraph/tools/RotateTool.h"

#include <algorithm>
#include <cmath>

#include "platform/ExtCtrls.h"
#include "platform/Services.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/tools/ToolTexts.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

// ---- Rotate tool ----

ZEL_DEFINE_COMPONENT_CLASS(TRotateTool, TZelCustomTool)

TRotateTool::TRotateTool(TComponent* AOwner) : TZelCustomTool(AOwner) {
  FPen->InitVisible(false);
  FPen->InitMode(TPenMode::pmXor);
  FPen->InitColor(0xFFFFFFFF);
}

TRotateTool::~TRotateTool() { FreeAndNil(ITimer); }

void TRotateTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TRotateTool*>(Source)) {
    FButton = S->FButton;
    FInertia = S->FInertia;
    FInverted = S->FInverted;
    FSpeed = S->FSpeed;
    FStyle = S->FStyle;
  }
  inherited::Assign(Source);
}

String TRotateTool::Description() const { return ZelMsg_RotateTool; }

String TRotateTool::LongDescription() const { return ZelMsg_RotateDesc; }

double TRotateTool::RotationChange(bool FullRotation, double AAngle, double AChange) {
  if (AChange == 0) return AAngle;
  const double A = AAngle + AChange;
  if (AChange > 0) return A > 360 ? A - 360 : A;
  if (FullRotation) return std::max(0.0, A);
  return A < 0 ? A + 360 : A;
}

double TRotateTool::ElevationChange(bool FullRotation, double AAngle, double AChange) {
  if (AChange == 0) return AAngle;
  if (AChange > 0) return std::min(360.0, AAngle + AChange);
  return std::max(FullRotation ? 0.0 : 270.0, AAngle + AChange);
}

namespace {
double CorrectAngle(double X) {
  if (X > 360) return X - 360;
  if (X < 0) return X + 360;
  return X;
}
}  // namespace

void TRotateTool::Rotate(double RotationDegrees, double ElevationDegrees) {
  if (!FParent) return;
  TView3DOptions* O = FParent->GetView3DOptions();
  O->SetRotationFloat(O->GetRotationFloat() + RotationDegrees);
  O->SetElevationFloat(O->GetElevationFloat() + ElevationDegrees);
}

void TRotateTool::DoRotation(double AX, double AY) {
  if (!FParent || !FParent->GetCanvas()) return;
  // A step that is not a number would leave the view without any angle.
  if (!std::isfinite(AX) || !std::isfinite(AY)) return;
  TView3DOptions* O = FParent->GetView3DOptions();
  TCanvas3D* K = FParent->GetCanvas();
  const bool Rotation = FStyle == TRotateToolStyles::rsAll || FStyle == TRotateToolStyles::rsRotation;
  const bool Elevation = FStyle == TRotateToolStyles::rsAll || FStyle == TRotateToolStyles::rsElevation;
  O->SetOrthogonal(false);
  if (K->GetSupportsFullRotation()) {
    if (Rotation) O->SetRotationFloat(CorrectAngle(O->GetRotationFloat() + AX));
    if (Elevation) O->SetElevationFloat(CorrectAngle(O->GetElevationFloat() + AY));
  } else {
    if (Rotation) O->SetRotationFloat(RotationChange(false, O->GetRotationFloat(), AX));
    if (Elevation) O->SetElevationFloat(ElevationChange(K->GetSupportsFullRotation(), O->GetElevationFloat(), AY));
  }
}

void TRotateTool::DoTimer(TObject*) {
  if (ITimer) ITimer->SetEnabled(false);
  if (IDragging) return;
  DoRotation(IDifX, IDifY);
  if (ITimer) ITimer->SetEnabled(true);
}

void TRotateTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  // Without XOR drawing the drag's outline is part of each paint.
  if (AEvent == TChartToolEvent::tdePaintDone && IDragging && !IFirstTime && FPen->GetVisible() && FParent &&
      FParent->GetCanvas() && !ZelCanDrawXor(FParent)) {
    DrawCubeOutline();
    FParent->GetCanvas()->GetPen()->SetMode(TPenMode::pmCopy);
  }
  if (FInertia <= 0) return;
  if (!(std::fabs(IDifX) > 0.01) && !(std::fabs(IDifY) > 0.01)) {
    if (ITimer) ITimer->SetEnabled(false);
    return;
  }
  const double K = (100 - FInertia) * 0.001;
  IDifX = std::fabs(IDifX) > 0.01 ? IDifX - IDifX * K : 0;
  IDifY = std::fabs(IDifY) > 0.01 ? IDifY - IDifY * K : 0;
}

void TRotateTool::DrawCubeOutline() {
  if (!FParent || !FParent->GetCanvas()) return;
  TCanvas3D* K = FParent->GetCanvas();
  const TRectF R = FParent->GetChartRect();
  const int W = FParent->GetWidth3D();
  K->GetBrush()->SetKind(TBrushKind::None);
  K->AssignVisiblePen(FPen);
  K->RectangleWithZ(R, 0);
  K->RectangleWithZ(R, W);
  const float Wf = static_cast<float>(W);
  K->MoveTo3D(R.Left, R.Top, 0);
  K->LineTo3D(R.Left, R.Top, Wf);
  K->MoveTo3D(R.Right, R.Top, 0);
  K->LineTo3D(R.Right, R.Top, Wf);
  K->MoveTo3D(R.Left, R.Bottom, 0);
  K->LineTo3D(R.Left, R.Bottom, Wf);
  K->MoveTo3D(R.Right, R.Bottom, 0);
  K->LineTo3D(R.Right, R.Bottom, Wf);
}

void TRotateTool::MoveStep(std::int32_t X, std::int32_t Y) {
  const double F = (FSpeed - 50) * 0.01 + 1;
  // A chart without width or height gives no step (instead of an angle that is not a number).
  const double Width = FParent->GetWidth();
  const double Height = FParent->GetHeight();
  IDifX = Width > 0 ? F * ((X - IOldX) * 90.0 / Width) : 0;
  if (FInverted) IDifX = -IDifX;
  IDifY = Height > 0 ? F * ((IOldY - Y) * 90.0 / Height) : 0;
  if (FInverted) IDifY = -IDifY;
  // With a visible pen only the outline moves: drawn by XOR between paints over a chart that
  // waits for the release, or else drawn inside the paint that each step asks for.
  const bool Outline = FPen->GetVisible();
  const bool XorOutline = Outline && ZelCanDrawXor(FParent);
  if (XorOutline) {
    if (IFirstTime) {
      IOldRepaint = FParent->GetAutoRepaint();
      FParent->SetAutoRepaint(false);
      IRepaintOff = true;
    } else {
      DrawCubeOutline();  // erases the last one
    }
  }
  IFirstTime = false;
  FParent->SetView3D(true);
  DoRotation(IDifX, IDifY);
  IOldX = X;
  IOldY = Y;
  FParent->SetCancelMouse(true);
  if (Outline && !XorOutline) FParent->Invalidate();
  if (XorOutline) {
    if (TCanvas3D* K = FParent->GetCanvas()) {
      K->SetIsOrthogonal(false);
      if (auto* P = dynamic_cast<TZelCanvas3D*>(K)) {
        P->CalcTrigValues();
        P->CalcPerspective(FParent->GetChartRect());
      }
    }
    DrawCubeOutline();
  }
  if (OnRotate) OnRotate(this);
}

void TRotateTool::SetActive(bool Value) {
  if (!Value) {
    if (ITimer) ITimer->SetEnabled(false);
    IDragging = false;
    if (IRepaintOff && FParent) {
      IRepaintOff = false;
      FParent->SetAutoRepaint(IOldRepaint);
      FParent->Invalidate();
    }
  }
  inherited::SetActive(Value);
}

void TRotateTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                                  std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!FParent) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress:
      if (Button != FButton) return;
      if (ITimer) ITimer->SetEnabled(false);
      IDragging = true;
      IOldX = X;
      IOldY = Y;
      IFirstTime = true;
      if (FCursor != 0) {
        IOldCursor = crDefault;
        ZelChangeCursor(this, FCursor);
      }
      FParent->SetCancelMouse(true);
      return;
    case TChartMouseEvent::tmeMove:
      if (IDragging) MoveStep(X, Y);
      return;
    case TChartMouseEvent::tmeRelease:
      if (!IDragging) return;
      IDragging = false;
      if (IRepaintOff) {
        IRepaintOff = false;
        FParent->SetAutoRepaint(IOldRepaint);
      }
      if (FPen->GetVisible()) FParent->Invalidate();
      if (FInertia > 0) {
        if (!ITimer) {
          ITimer = Create<TTimer>(static_cast<TComponent*>(nullptr));
          ITimer->SetOnTimer([this](TObject* Sender) { DoTimer(Sender); });
        }
        // Coasting steps come about as often as a screen refreshes.
        ITimer->SetInterval(15);
        ITimer->SetEnabled(true);
      }
      if (FCursor != 0) ZelChangeCursor(this, IOldCursor);
      return;
  }
}

// ---- Chart image tool ----

ZEL_DEFINE_COMPONENT_CLASS(TChartImageTool, TZelCustomToolSeries)

TChartImageTool::TChartImageTool(TComponent* AOwner) : TZelCustomToolSeries(AOwner) {
  FPicture = Create<TZelPicture>();
  FPicture->OnChange = [this](TObject* Sender) { CanvasChanged(Sender); };
  // Hidden also as the pen's stored default, so that a visible pen is written and read back.
  FPen->InitVisible(false);
}

TChartImageTool::~TChartImageTool() { FreeAndNil(FPicture); }

void TChartImageTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TChartImageTool*>(Source)) FPicture->Assign(S->FPicture);
  inherited::Assign(Source);
}

String TChartImageTool::Description() const { return ZelMsg_ImageTool; }

String TChartImageTool::LongDescription() const { return ZelMsg_ImageToolDesc; }

void TChartImageTool::SetSeries(TChartSeries* Value) {
  inherited::SetSeries(Value);
  Repaint();
}

void TChartImageTool::SetPicture(TZelPicture* Value) {
  if (Value && Value != FPicture) FPicture->Assign(Value);
}

TRectF TChartImageTool::PictureRect() {
  if (!FParent) return TRectF(0, 0, 0, 0);
  if (TChartSeries* S = FSeries) {
    return TRectF(static_cast<float>(S->CalcXPosValue(S->MinXValue())),
                  static_cast<float>(S->CalcYPosValue(S->MaxYValue())),
                  static_cast<float>(S->CalcXPosValue(S->MaxXValue())),
                  static_cast<float>(S->CalcYPosValue(S->MinYValue())));
  }
  if (FParent->CountActiveSeries() > 0) {
    TChartAxis* H = GetHorizAxis();
    TChartAxis* V = GetVertAxis();
    if (H && V)
      return TRectF(static_cast<float>(H->CalcPosValue(H->GetMinimum())),
                    static_cast<float>(V->CalcYPosValue(V->GetMaximum())),
                    static_cast<float>(H->CalcPosValue(H->GetMaximum())),
                    static_cast<float>(V->CalcYPosValue(V->GetMinimum())));
  }
  return FParent->GetChartRect();
}

void TChartImageTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  if (AEvent != TChartToolEvent::tdeSeriesStart || !FParent || !FPicture->Valid()) return;
  TCustomAxisPanel* C = FParent;
  TCanvas3D* K = C->GetCanvas();
  if (!K) return;
  const TRectF R = PictureRect();
  const int W = C->GetWidth3D();
  // Only a clip opened here is taken away at the end.
  const bool Clipped = C->GetClipPoints() && C->CanClip();
  if (Clipped) K->ClipCube(C->GetChartRect(), 0, W);
  TRestoreOnExit UnClip([&] {
    if (Clipped) K->UnClipRectangle();
  });
  TBitmap* B = FPicture->Filtered();
  if (C->GetView3D() && !C->GetView3DOptions()->GetOrthogonal())
    K->StretchDraw(R, B, W, TCanvas3DPlane::cpZ);
  else
    K->StretchDraw(K->CalcRect3D(R, W), B);
  if (FPen->GetVisible()) {
    K->AssignVisiblePen(FPen);
    const TBrushKind Saved = K->GetBrush()->GetKind();
    K->GetBrush()->SetKind(TBrushKind::None);
    TRestoreOnExit RestoreKind([&] { K->GetBrush()->SetKind(Saved); });
    if (C->GetView3D())
      K->RectangleWithZ(R, W);
    else
      K->Rectangle(R);
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TRotateTool)
  P::Prop("Button", &Self::GetButton, &Self::SetButton, Default(TMouseButton::mbLeft)),
  P::Prop("Cursor", &Self::GetCursor, &Self::SetCursor, Default(TCursor(-21))),
  P::Prop("Inertia", &Self::GetInertia, &Self::SetInertia, Default(0)),
  P::Prop("Inverted", &Self::GetInverted, &Self::SetInverted, Default(false)),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("Speed", &Self::GetSpeed, &Self::SetSpeed, Default(50)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TRotateToolStyles::rsAll)),
  P::Event("OnRotate", &Self::OnRotate),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TChartImageTool)
  P::Obj("Pen", &Self::GetPen),
  P::Obj("Picture", &Self::GetPicture),
ZEL_END_PUBLISHED

}  // namespace zel
