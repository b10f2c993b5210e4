// Gradient fills: ordered colour stops, a direction out of ten, a radial centre and angle, a
// balance, a visibility flag and an optional second gradient drawn over the first with a
// transparency of its own; and the mapping of a gradient onto the platform gradient.
#pragma once

#include <array>
#include <vector>

#include "platform/Classes.h"
#include "platform/Collections.h"
#include "platform/Geometry.h"
#include "platform/Graphics.h"
#include "platform/Published.h"
#include "platform/Types.h"

namespace zel {

class TZelCanvas;
class TCanvas3D;
class TSubGradient;
class TCustomZelGradient;
class TZelBrush;

// A transparency in percent, 0 (opaque) to 100 (invisible).
using TZelTransparency = Byte;

enum class TGradientDirection {
  gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft,
  gdFromBottomLeft, gdRadial, gdDiagonalUp, gdDiagonalDown
};
ZEL_ENUM_NAMES(TGradientDirection, "gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter",
               "gdFromTopLeft", "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown");

// The platform gradient line of a library direction: its start and stop as points relative to
// the filled box, and whether the colours run reversed along it (bottom-top, right-left and the
// two diagonals run their stops from the stop point back).
void GradientDirectionLine(TGradientDirection D, TPointF& Start, TPointF& Stop, bool& Reversed);

// One stop: a colour at an offset (0 to 1) along the gradient.
class TZelGradientColor : public TCollectionItem {
  ZEL_CLASS(TZelGradientColor, TCollectionItem)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelGradientColor(TCollection* ACollection);
  // Copies Color and Offset from another stop; other sources go to the inherited Assign.
  void Assign(TPersistent* Source) override;

  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor Value);
  double GetOffset() const { return FOffset; }
  void SetOffset(double Value);
  // The alpha byte of Color (never stored); writing keeps the colour's low 24 bits.
  TZelTransparency GetTransparency() const { return static_cast<TZelTransparency>(FColor >> 24); }
  void SetTransparency(TZelTransparency Value);

  bool IsColorStored() const { return FColor != 0; }
  bool IsOffsetStored() const { return FOffset != 0; }

 private:
  TAlphaColor FColor = 0;
  double FOffset = 0;
};

// The stops of a gradient, owned by it; changes notify the gradient.
class TZelGradientColors : public TOwnedCollection {
  ZEL_CLASS(TZelGradientColors, TOwnedCollection)
 public:
  explicit TZelGradientColors(TCustomZelGradient* AOwner);

  // Item I, appending default stops (colour 0, offset 0) until there is one.
  TZelGradientColor* Get(int I);
  // Item I (appended as in Get) copies V.
  void Put(int I, TZelGradientColor* V);
  TZelGradientColor* operator[](int I) { return Get(I); }
  // Inserts a stop in offset order (Offset clamped to 0..1; after stops of equal offset).
  TZelGradientColor* Add(double Offset, TAlphaColor Color);
  using TOwnedCollection::Add;
  // The stop at I without appending (EListError out of range).
  TZelGradientColor* Stop(int I) const;

  void Repaint();

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TCustomZelGradient* FGradient;
};

class TCustomZelGradient : public TPersistent {
  ZEL_CLASS(TCustomZelGradient, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomZelGradient(TNotifyEvent OnChange = nullptr);
  ~TCustomZelGradient() override;

  // Settings, stops, sub-gradient and Visible from another gradient, without notifying; the
  // change closure, the owning brush and the defaults stay.
  void Assign(TPersistent* Source) override;

  // The class defaults (rebuilds the stops when they exist); notifies nothing.
  void InitDefaults();
  // Sets Direction and its streaming default, without notifying.
  void InitDirection(TGradientDirection Value);
  // Clears the stops and adds (0, IDefStart) and (1, IDefEnd), without notifying.
  void ResetColors();
  void DoChanged();

  // Created (with the default stops) on first read; nullptr frees, otherwise copies.
  TZelGradientColors* GetColors();
  void SetColors(TZelGradientColors* Value);
  TZelGradientColors* ExistingColors() const { return FColors; }

  TAlphaColor GetStartColor() const;
  void SetStartColor(TAlphaColor Value);
  TAlphaColor GetEndColor() const;
  void SetEndColor(TAlphaColor Value);
  TAlphaColor GetMidColor() const;
  // A colour other than 0 adds or sets the middle stop; 0 removes it.
  void SetMidColor(TAlphaColor Value);
  // Brings back the last middle colour set.
  void UseMiddleColor();

  int GetAngle() const { return FAngle; }
  void SetAngle(int Value);
  int GetBalance() const { return FBalance; }
  void SetBalance(int Value);
  TGradientDirection GetDirection() const { return FDirection; }
  void SetDirection(TGradientDirection Value);
  int GetRadialX() const { return FRadialX; }
  void SetRadialX(int Value);
  int GetRadialY() const { return FRadialY; }
  void SetRadialY(int Value);
  bool GetVisible() const { return FVisible; }
  // Also switches the owning brush's kind between Gradient and Solid.
  void SetVisible(bool Value);

  // Created on first read, hidden, transparency 50, with this gradient's change closure.
  TSubGradient* GetSubGradient();
  // Copies V (and its Transparency) into the sub-gradient, created on demand; nullptr frees it.
  void SetSubGradient(TSubGradient* Value);
  TSubGradient* ExistingSubGradient() const { return FSub; }

  // Setting EndColor also sets the first stop.
  bool GetStartIsEnd() const { return FStartIsEnd; }
  void SetStartIsEnd(bool Value) { FStartIsEnd = Value; }
  // A target rectangle a series may set around drawing with a gradient pen.
  const TRectF& GetCustomTargetRectangle() const { return FCustomTargetRectangle; }
  void SetCustomTargetRectangle(const TRectF& Value) { FCustomTargetRectangle = Value; }

  const TNotifyEvent& GetOnChange() const { return IChanged; }
  void SetOnChange(TNotifyEvent Value) { IChanged = std::move(Value); }
  // The platform brush whose kind follows Visible (not owned), when there is one.
  TBrush* GetBrush() const { return IBrush; }
  void SetBrush(TBrush* Value) { IBrush = Value; }

  // Fills the platform gradient P from this gradient: its stops (reversed for the directions
  // that run backwards), start and stop positions, style and radial transform.
  void PrepareGradient(TGradient& P) const;
  // Gives P the rotation centre and angle of a radial fill of this gradient.
  void SetRadialTransformOf(TGradient& P) const;

  // Drawing through the canvas.
  void Draw(TZelCanvas* Canvas, const TRectF& Rect, int RoundRectSize = 0);
  void DrawRadial(TZelCanvas* Canvas, const TRectF& Rect);
  void DrawSubGradient(TZelCanvas* Canvas, const TRectF& Rect, int RoundRectSize);
  void Draw(TZelCanvas* Canvas, const std::array<TPointF, 4>& P);
  void Draw(TCanvas3D* Canvas, const std::array<TPointF, 4>& P, int Z);
  void Draw(TCanvas3D* Canvas, const std::vector<TPointF>& P, int Z, bool Is3D);

  // Streaming.
  bool IsColorsStored() const;
  bool IsDirectionStored() const { return FDirection != IDefDirection; }
  bool IsStartColorStored() const { return FColors && GetStartColor() != IDefStart; }
  bool IsMidColorStored() const { return FColors && GetMidColor() != IDefMid; }
  bool IsEndColorStored() const { return FColors && GetEndColor() != IDefEnd; }
  bool IsVisibleStored() const { return FVisible != IDefVisible; }
  bool IsSubGradientStored() const { return FSub != nullptr; }

  // Defaults owners may change before first use (then InitDefaults restores the class ones).
  TGradientDirection IDefDirection = TGradientDirection::gdTopBottom;
  TAlphaColor IDefEnd = 0xFFFFFF00;
  TAlphaColor IDefMid = 0;
  TAlphaColor IDefStart = 0xFFFFFFFF;
  bool IDefVisible = false;

 private:
  int FAngle = 0;
  int FBalance = 50;
  TZelGradientColors* FColors = nullptr;  // owned
  TGradientDirection FDirection = TGradientDirection::gdTopBottom;
  int FRadialX = 0;
  int FRadialY = 0;
  bool FStartIsEnd = false;
  TSubGradient* FSub = nullptr;  // owned
  bool FVisible = false;
  TRectF FCustomTargetRectangle;
  TBrush* IBrush = nullptr;
  TNotifyEvent IChanged;
  TAlphaColor IMidColor = 0xFFFFFFFF;
  int FQuiet = 0;  // notifications held back while above 0
  class TQuiet;
};

class TZelGradient : public TCustomZelGradient {
  ZEL_CLASS(TZelGradient, TCustomZelGradient)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelGradient(TNotifyEvent OnChange = nullptr) : TCustomZelGradient(std::move(OnChange)) {}
};

// A second gradient drawn over the first with its own transparency.
class TSubGradient : public TZelGradient {
  ZEL_CLASS(TSubGradient, TZelGradient)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSubGradient(TNotifyEvent OnChange = nullptr) : TZelGradient(std::move(OnChange)) {}
  TZelTransparency GetTransparency() const { return FTransparency; }
  // Values above 100 are taken as 100.
  void SetTransparency(TZelTransparency Value);

 private:
  friend class TCustomZelGradient;
  TZelTransparency FTransparency = 50;
};

}  // namespace zel
