#include "zelgraph/canvas/View3D.h"

#include <cmath>
#include <numbers>

#include "platform/Math.h"

namespace zel {

ZEL_DEFINE_CLASS(TView3DOptions, TPersistent)

TView3DOptions::TView3DOptions(TControl* Parent) : FParent(Parent) {}

void TView3DOptions::Repaint() {
  if (OnInvalidate) OnInvalidate(this);
}

void TView3DOptions::SetIntegerProperty(int& Field, int Value) {
  if (Field != Value) {
    Field = Value;
    Repaint();
  }
}

void TView3DOptions::SetBooleanProperty(bool& Field, bool Value) {
  if (Field != Value) {
    Field = Value;
    Repaint();
  }
}

// Stores Value when it differs (a NaN on either side always differs); true when it stored.
bool TView3DOptions::SetDoubleProperty(double& Field, double Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

int TView3DOptions::GetElevation() const { return Round(FElevation); }
int TView3DOptions::GetHorizOffset() const { return Round(FHorizOffset); }
int TView3DOptions::GetRotation() const { return Round(FRotation); }
int TView3DOptions::GetTilt() const { return Round(FTilt); }
int TView3DOptions::GetVertOffset() const { return Round(FVertOffset); }
int TView3DOptions::GetZoom() const { return Round(FZoom); }

void TView3DOptions::SetFontZoom(int Value) { SetIntegerProperty(FFontZoom, Value); }
void TView3DOptions::SetOrthoAngle(int Value) { SetIntegerProperty(FOrthoAngle, Value); }
void TView3DOptions::SetOrthogonal(bool Value) { SetBooleanProperty(FOrthogonal, Value); }
void TView3DOptions::SetPerspective(int Value) { SetIntegerProperty(FPerspective, std::min(Value, 100)); }

void TView3DOptions::SetElevationFloat(double Value) {
  if (SetDoubleProperty(FElevation, Value)) Repaint();
}
void TView3DOptions::SetRotationFloat(double Value) {
  if (SetDoubleProperty(FRotation, Value)) Repaint();
}
void TView3DOptions::SetTiltFloat(double Value) {
  if (SetDoubleProperty(FTilt, Value)) Repaint();
}

void TView3DOptions::SetHorizOffsetFloat(double Value) {
  if (!SetDoubleProperty(FHorizOffset, Value)) return;
  Repaint();
  if (OnScrolled) OnScrolled(true);
}
void TView3DOptions::SetVertOffsetFloat(double Value) {
  if (!SetDoubleProperty(FVertOffset, Value)) return;
  Repaint();
  if (OnScrolled) OnScrolled(false);
}
void TView3DOptions::SetZOffset(double Value) {
  if (!SetDoubleProperty(FZOffset, Value)) return;
  Repaint();
  if (OnScrolled) OnScrolled(false);
}

void TView3DOptions::SetZoomFloat(double Value) {
  if (FZoom == Value) return;
  // The handler sees the old zoom still in place.
  if (OnChangedZoom) OnChangedZoom(Round(Value));
  FZoom = Value;
  Repaint();
}

void TView3DOptions::SetZoomText(TCanvasZoomText Value) {
  if (static_cast<unsigned char>(Value) == 255) return;
  if (FZoomText != Value) {
    FZoomText = Value;
    Repaint();
  }
}

double TView3DOptions::CalcOrthoRatio() const {
  if (!FOrthogonal) return 1;
  int Angle = FOrthoAngle > 90 ? 180 - FOrthoAngle : FOrthoAngle;
  return std::tan(Angle * std::numbers::pi / 180.0);
}

bool TView3DOptions::BackFaced() const {
  int R = GetRotation();
  return !FOrthogonal && R > 90 && R < 270;
}

void TView3DOptions::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TView3DOptions*>(Source);
  if (!S) return;
  FElevation = S->FElevation;
  FFontZoom = S->FFontZoom;
  FHorizOffset = S->FHorizOffset;
  FOrthoAngle = S->FOrthoAngle;
  FOrthogonal = S->FOrthogonal;
  FPerspective = S->FPerspective;
  FRotation = S->FRotation;
  FTilt = S->FTilt;
  FVertOffset = S->FVertOffset;
  FZoom = S->FZoom;
  FZoomText = S->FZoomText;
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TView3DOptions)
  P::Prop("Elevation", &Self::GetElevation, &Self::SetElevation, &Self::IsElevationStored),
  P::Prop("FontZoom", &Self::GetFontZoom, &Self::SetFontZoom, &Self::IsFontZoomStored),
  P::Prop("HorizOffset", &Self::GetHorizOffset, &Self::SetHorizOffset, &Self::IsHorizOffsetStored),
  P::Prop("OrthoAngle", &Self::GetOrthoAngle, &Self::SetOrthoAngle, &Self::IsOrthoAngleStored),
  P::Prop("Orthogonal", &Self::GetOrthogonal, &Self::SetOrthogonal, &Self::IsOrthogonalStored),
  P::Prop("Perspective", &Self::GetPerspective, &Self::SetPerspective, &Self::IsPerspectiveStored),
  P::Prop("Rotation", &Self::GetRotation, &Self::SetRotation, &Self::IsRotationStored),
  P::Prop("Tilt", &Self::GetTilt, &Self::SetTilt, &Self::IsTiltStored),
  P::Prop("VertOffset", &Self::GetVertOffset, &Self::SetVertOffset, &Self::IsVertOffsetStored),
  P::Prop("Zoom", &Self::GetZoom, &Self::SetZoom, &Self::IsZoomStored),
  P::Prop("ZoomText", &Self::GetZoomText, &Self::SetZoomText, &Self::IsZoomTextStored),
ZEL_END_PUBLISHED

}  // namespace zel
