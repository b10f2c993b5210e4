// Drawing attributes of the platform canvas: colours, gradients, brushes, stroke brushes,
// fonts and path data. Plain data with change events; the canvas turns them into pixels.
#pragma once

#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

// ---------------------------------------------------------------------------------------------
// Colours (0xAARRGGBB, straight -- not premultiplied -- alpha)

struct TAlphaColorRec {
  Byte B = 0, G = 0, R = 0, A = 0;
  constexpr TAlphaColorRec() = default;
  constexpr explicit TAlphaColorRec(TAlphaColor C)
      : B(Byte(C)), G(Byte(C >> 8)), R(Byte(C >> 16)), A(Byte(C >> 24)) {}
  constexpr TAlphaColor Color() const {
    return (TAlphaColor(A) << 24) | (TAlphaColor(R) << 16) | (TAlphaColor(G) << 8) | TAlphaColor(B);
  }
};

constexpr TAlphaColor MakeColor(Byte R, Byte G, Byte B, Byte A = 0xFF) {
  return (TAlphaColor(A) << 24) | (TAlphaColor(R) << 16) | (TAlphaColor(G) << 8) | TAlphaColor(B);
}
constexpr Byte AlphaOf(TAlphaColor C) { return Byte(C >> 24); }
constexpr Byte RedOf(TAlphaColor C) { return Byte(C >> 16); }
constexpr Byte GreenOf(TAlphaColor C) { return Byte(C >> 8); }
constexpr Byte BlueOf(TAlphaColor C) { return Byte(C); }
// C with its alpha multiplied by Opacity (0..1, clamped).
TAlphaColor ColorWithOpacity(TAlphaColor C, float Opacity);
// The colour at T (0..1) between A and B, each channel linear.
TAlphaColor InterpolateColor(TAlphaColor A, TAlphaColor B, float T);

// The colour of a standard colour name ("Red", "DarkSlateGray", "Transparent", and "Null" for
// 0), in any case and with or without the "cla" prefix; false for an unknown name.
bool IdentToAlphaColor(const String& Name, TAlphaColor& Color);
// A colour from its name, "#RRGGBB" (opaque), "#AARRGGBB", "$AARRGGBB" or a decimal number
// (negative for colours with the top bit set); leading and trailing blanks are ignored.
// Raises EConvertError for anything else.
TAlphaColor StringToAlphaColor(const String& S);

namespace TAlphaColors {
constexpr TAlphaColor Null = 0x00000000;
constexpr TAlphaColor Black = 0xFF000000;
constexpr TAlphaColor White = 0xFFFFFFFF;
constexpr TAlphaColor Red = 0xFFFF0000;
constexpr TAlphaColor Lime = 0xFF00FF00;
constexpr TAlphaColor Green = 0xFF008000;
constexpr TAlphaColor Blue = 0xFF0000FF;
constexpr TAlphaColor Yellow = 0xFFFFFF00;
constexpr TAlphaColor Gray = 0xFF808080;
constexpr TAlphaColor Silver = 0xFFC0C0C0;
}  // namespace TAlphaColors

// ---------------------------------------------------------------------------------------------
// Enumerations

enum class TBrushKind { None, Solid, Gradient, Bitmap, Resource };
enum class TStrokeCap { Flat, Round };
enum class TStrokeJoin { Miter, Round, Bevel };
enum class TStrokeDash { Solid, Dash, Dot, DashDot, DashDotDot, Custom };
enum class TGradientStyle { Linear, Radial };
enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum class TCorner { TopLeft, TopRight, BottomLeft, BottomRight };
using TCorners = TSet<TCorner>;
inline constexpr TCorners AllCorners{TCorner::TopLeft, TCorner::TopRight, TCorner::BottomLeft,
                                     TCorner::BottomRight};
enum class TCornerType { Round, Bevel, InnerRound, InnerLine };
enum class TTextAlign { Center, Leading, Trailing };
enum class TFillTextFlag { RightToLeft };
using TFillTextFlags = TSet<TFillTextFlag>;

// ---------------------------------------------------------------------------------------------
// Gradients

class TGradient;

// One stop of a gradient. Changes notify the owning gradient.
class TGradientPoint {
 public:
  TGradientPoint(TGradient* AOwner, TAlphaColor AColor, float AOffset)
      : FOwner(AOwner), FColor(AColor), FOffset(AOffset) {}
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor V);
  float GetOffset() const { return FOffset; }
  void SetOffset(float V);

 private:
  TGradient* FOwner;
  TAlphaColor FColor;
  float FOffset;
};

// The ordered stops of a gradient (in the order added; drawing sorts by offset).
class TGradientPoints {
 public:
  explicit TGradientPoints(TGradient* AOwner) : FOwner(AOwner) {}
  int GetCount() const { return FTwoDefault ? 2 : int(FItems.size()); }
  // Raises EListError on a bad index.
  TGradientPoint& GetItem(int Index) const;
  TGradientPoint& operator[](int Index) const { return GetItem(Index); }
  TGradientPoint& Add(TAlphaColor Color = 0, float Offset = 0);
  TGradientPoint& Insert(int Index, TAlphaColor Color = 0, float Offset = 0);
  void Delete(int Index);
  void Clear();
  // The two stops of a new gradient, black at 0 and white at 1, made only when first read: most
  // brushes never use their gradient.
  void SetTwoDefault();

 private:
  void Make() const;
  friend class TGradient;

  TGradient* FOwner;
  mutable std::vector<std::unique_ptr<TGradientPoint>> FItems;
  mutable bool FTwoDefault = false;
};

// Transform of a radial gradient, in relative units of the filled rectangle.
struct TRadialTransform {
  TPointF RotationCenter{0.5f, 0.5f};
  float RotationAngle = 0;  // degrees
  TPointF Position{0, 0};   // offset of the centre, relative
  TPointF Scale{1, 1};
  bool operator==(const TRadialTransform&) const = default;
};

// A gradient: stops of (colour, offset 0..1), linear from StartPosition to StopPosition
// (relative points of the filled rectangle) or radial about the rectangle's centre moved by
// RadialTransform.Position. The default is black at 0 to white at 1, top to bottom.
class TGradient : public TPersistent {
  ZEL_CLASS(TGradient, TPersistent)
 public:
  TGradient();
  ~TGradient() override;
  void Assign(TPersistent* Source) override;

  TGradientPoints& GetPoints() { return FPoints; }
  const TGradientPoints& GetPoints() const { return FPoints; }
  TGradientStyle GetStyle() const { return FStyle; }
  void SetStyle(TGradientStyle V);
  TPointF GetStartPosition() const { return FStartPosition; }
  void SetStartPosition(TPointF V);
  TPointF GetStopPosition() const { return FStopPosition; }
  void SetStopPosition(TPointF V);
  const TRadialTransform& GetRadialTransform() const { return FRadialTransform; }
  void SetRadialTransform(const TRadialTransform& V);
  // The two-colour form: Color is the first stop, Color1 the last; setting either makes the
  // gradient two stops at 0 and 1 when it does not have exactly two.
  TAlphaColor GetColor() const;
  void SetColor(TAlphaColor V);
  TAlphaColor GetColor1() const;
  void SetColor1(TAlphaColor V);
  // Colour at Offset (0..1) over the stops sorted by offset; 0 without stops.
  TAlphaColor InterpolateColor(float Offset) const;

  TNotifyEvent OnChanged;
  void Changed();

 private:
  void EnsureTwoPoints();
  TGradientPoints FPoints{this};
  TGradientStyle FStyle = TGradientStyle::Linear;
  TPointF FStartPosition{0, 0};
  TPointF FStopPosition{0, 1};
  TRadialTransform FRadialTransform;
};

// ---------------------------------------------------------------------------------------------
// Brushes

class TBitmap;

// A fill: kind, colour, gradient (always present) and an optional bitmap (not owned).
class TBrush : public TPersistent {
  ZEL_CLASS(TBrush, TPersistent)
 public:
  TBrush(TBrushKind AKind = TBrushKind::Solid, TAlphaColor AColor = TAlphaColors::White);
  ~TBrush() override;
  // From a TBrush (or a stroke brush): kind, colour, gradient and bitmap.
  void Assign(TPersistent* Source) override;

  TBrushKind GetKind() const { return FKind; }
  void SetKind(TBrushKind V);
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor V);
  TGradient* GetGradient() const { return FGradient.get(); }
  void SetGradient(TGradient* V);  // copies
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* V);  // not owned

  TNotifyEvent OnChanged;

 protected:
  void Changed();

 private:
  TBrushKind FKind;
  TAlphaColor FColor;
  TOwned<TGradient> FGradient;
  TBitmap* FBitmap = nullptr;
};

// A brush for lines: adds thickness, cap, join and dash. A thickness of 0 draws nothing.
class TStrokeBrush : public TBrush {
  ZEL_CLASS(TStrokeBrush, TBrush)
 public:
  TStrokeBrush(TBrushKind AKind = TBrushKind::Solid, TAlphaColor AColor = TAlphaColors::Black);
  // From a TStrokeBrush: everything; from a plain TBrush: kind, colour, gradient and bitmap.
  void Assign(TPersistent* Source) override;

  float GetThickness() const { return FThickness; }
  void SetThickness(float V);
  TStrokeCap GetCap() const { return FCap; }
  void SetCap(TStrokeCap V);
  TStrokeJoin GetJoin() const { return FJoin; }
  void SetJoin(TStrokeJoin V);
  TStrokeDash GetDash() const { return FDash; }
  void SetDash(TStrokeDash V);
  // Dash lengths in units of the thickness, alternating on and off; Dash becomes Custom.
  void SetCustomDash(const std::vector<float>& Dash, float Offset);
  const std::vector<float>& GetCustomDashArray() const { return FCustomDash; }
  float GetCustomDashOffset() const { return FDashOffset; }
  // The dash pattern in effect (empty for Solid), in units of the thickness.
  std::vector<float> GetDashArray() const;

 private:
  float FThickness = 1;
  TStrokeCap FCap = TStrokeCap::Flat;
  TStrokeJoin FJoin = TStrokeJoin::Miter;
  TStrokeDash FDash = TStrokeDash::Solid;
  std::vector<float> FCustomDash;
  float FDashOffset = 0;
};

// ---------------------------------------------------------------------------------------------
// Fonts

// A font: family, size (pixels per em on a scale-1 canvas) and style. A new font takes the
// family and size of the system font service ("DejaVu Sans", 12 when there is none).
class TFont : public TPersistent {
  ZEL_CLASS(TFont, TPersistent)
 public:
  TFont();
  void Assign(TPersistent* Source) override;

  const String& GetFamily() const { return FFamily; }
  void SetFamily(const String& V);
  float GetSize() const { return FSize; }
  void SetSize(float V);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles V);
  bool Equals(const TFont& F) const {
    return FFamily == F.FFamily && FSize == F.FSize && FStyle == F.FStyle;
  }

  // The family and size a new font starts with.
  virtual String DefaultFamily() const;
  virtual float DefaultSize() const;

  TNotifyEvent OnChanged;

 protected:
  virtual void DoChanged();

 private:
  String FFamily;
  float FSize = 12;
  TFontStyles FStyle;
};

// ---------------------------------------------------------------------------------------------
// Path data

enum class TPathPointKind { MoveTo, LineTo, CurveTo, Close };

struct TPathPoint {
  TPathPointKind Kind;
  TPointF Point;
  bool operator==(const TPathPoint&) const = default;
};

// A path of moves, lines, cubic curves (three points each: two controls and the end) and
// closes. Arcs and ellipses are stored as cubic curves.
class TPathData : public TPersistent {
  ZEL_CLASS(TPathData, TPersistent)
 public:
  TPathData() = default;
  void Assign(TPersistent* Source) override;

  void MoveTo(TPointF P);
  void LineTo(TPointF P);
  void CurveTo(TPointF Control1, TPointF Control2, TPointF EndPoint);
  // An elliptic arc about Center with radii Radius.X and Radius.Y, from StartAngle sweeping
  // SweepAngle, both in degrees, measured clockwise on the screen from 3 o'clock. It starts with
  // a line from the current point (a move when the path is empty).
  void AddArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle);
  void AddEllipse(const TRectF& R);
  void AddRectangle(const TRectF& R, float XRadius, float YRadius, TCorners Corners = AllCorners,
                    TCornerType CornerType = TCornerType::Round);
  void ClosePath();
  void Clear();
  void Translate(float DX, float DY);
  void Scale(float SX, float SY);
  void ApplyMatrix(const TMatrix& M);

  bool IsEmpty() const { return FPoints.empty(); }
  int GetCount() const { return int(FPoints.size()); }
  const TPathPoint& GetPoint(int Index) const;  // raises EListError on a bad index
  const std::vector<TPathPoint>& GetPoints() const { return FPoints; }
  // The last point added (the current point); (0, 0) when empty.
  TPointF GetLastPoint() const;
  // Tight bounds of the drawn outline (curves by their extremes); empty rect when empty.
  TRectF GetBounds() const;

  TNotifyEvent OnChanged;

 private:
  void Changed();
  std::vector<TPathPoint> FPoints;
  TPointF FStart;  // start of the current figure
};

}  // namespace zel
