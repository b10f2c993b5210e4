// The 3D view of a chart panel: orthogonal (oblique) or rotated view, angles, zoom, perspective
// and scroll offsets. The options draw nothing; every change asks the owner to repaint.
#pragma once

#include <functional>

#include "platform/Classes.h"
#include "platform/Published.h"

namespace zel {

class TControl;

enum class TCanvasZoomText : unsigned char { ztManual, ztNo, ztAuto };
ZEL_ENUM_NAMES(TCanvasZoomText, "ztManual", "ztNo", "ztAuto");

using TZelView3DScrolled = std::function<void(bool IsHoriz)>;
using TZelView3DChangedZoom = std::function<void(int NewZoom)>;

class TView3DOptions : public TPersistent {
  ZEL_CLASS(TView3DOptions, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TView3DOptions(TControl* Parent);

  void Assign(TPersistent* Source) override;
  void Repaint();

  // 1 for a rotated view; otherwise the tangent of the oblique depth angle.
  double CalcOrthoRatio() const;
  // True when a rotated view looks at the chart from behind.
  bool BackFaced() const;

  // Published integer faces (the double fields rounded half to even).
  int GetElevation() const;
  void SetElevation(int Value) { SetElevationInteger(Value); }
  int GetFontZoom() const { return FFontZoom; }
  void SetFontZoom(int Value);
  int GetHorizOffset() const;
  void SetHorizOffset(int Value) { SetHorizInteger(Value); }
  int GetOrthoAngle() const { return FOrthoAngle; }
  void SetOrthoAngle(int Value);
  bool GetOrthogonal() const { return FOrthogonal; }
  void SetOrthogonal(bool Value);
  int GetPerspective() const { return FPerspective; }
  void SetPerspective(int Value);
  int GetRotation() const;
  void SetRotation(int Value) { SetRotationInteger(Value); }
  int GetTilt() const;
  void SetTilt(int Value) { SetTiltInteger(Value); }
  int GetVertOffset() const;
  void SetVertOffset(int Value) { SetVertInteger(Value); }
  int GetZoom() const;
  void SetZoom(int Value) { SetZoomInteger(Value); }
  TCanvasZoomText GetZoomText() const { return FZoomText; }
  void SetZoomText(TCanvasZoomText Value);

  void SetElevationInteger(int Value) { SetElevationFloat(Value); }
  void SetRotationInteger(int Value) { SetRotationFloat(Value); }
  void SetTiltInteger(int Value) { SetTiltFloat(Value); }
  void SetHorizInteger(int Value) { SetHorizOffsetFloat(Value); }
  void SetVertInteger(int Value) { SetVertOffsetFloat(Value); }
  void SetZoomInteger(int Value) { SetZoomFloat(Value); }

  // Public, not streamed: the full-precision values.
  double GetElevationFloat() const { return FElevation; }
  void SetElevationFloat(double Value);
  double GetRotationFloat() const { return FRotation; }
  void SetRotationFloat(double Value);
  double GetTiltFloat() const { return FTilt; }
  void SetTiltFloat(double Value);
  double GetZoomFloat() const { return FZoom; }
  void SetZoomFloat(double Value);
  double GetHorizOffsetFloat() const { return FHorizOffset; }
  void SetHorizOffsetFloat(double Value);
  double GetVertOffsetFloat() const { return FVertOffset; }
  void SetVertOffsetFloat(double Value);
  double GetZOffset() const { return FZOffset; }
  void SetZOffset(double Value);
  TControl* GetParent() const { return FParent; }

  // Streaming defaults.
  bool IsElevationStored() const { return GetElevation() != 345; }
  bool IsFontZoomStored() const { return FFontZoom != 100; }
  bool IsHorizOffsetStored() const { return GetHorizOffset() != 0; }
  bool IsOrthoAngleStored() const { return FOrthoAngle != 45; }
  bool IsOrthogonalStored() const { return !FOrthogonal; }
  bool IsPerspectiveStored() const { return FPerspective != 15; }
  bool IsRotationStored() const { return GetRotation() != 345; }
  bool IsTiltStored() const { return GetTilt() != 0; }
  bool IsVertOffsetStored() const { return GetVertOffset() != 0; }
  bool IsZoomStored() const { return GetZoom() != 100; }
  bool IsZoomTextStored() const { return FZoomText != TCanvasZoomText::ztManual; }

  // Fired after an offset changed (true for the horizontal one).
  TZelView3DScrolled OnScrolled;
  // Fired before a new zoom is stored, with the new zoom rounded; the old zoom is still in place.
  TZelView3DChangedZoom OnChangedZoom;
  // The owner's repaint, called after every change.
  TNotifyEvent OnInvalidate;

 protected:
  void SetIntegerProperty(int& Field, int Value);
  void SetBooleanProperty(bool& Field, bool Value);

 private:
  bool SetDoubleProperty(double& Field, double Value);

  double FElevation = 345;
  int FFontZoom = 100;
  double FHorizOffset = 0;
  bool FOrthogonal = true;
  int FOrthoAngle = 45;
  int FPerspective = 15;
  double FRotation = 345;
  double FTilt = 0;
  double FVertOffset = 0;
  double FZOffset = 0;
  double FZoom = 100;
  TCanvasZoomText FZoomText = TCanvasZoomText::ztManual;
  TControl* FParent = nullptr;
};

}  // namespace zel
