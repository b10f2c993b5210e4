// Drop shadows and embossing of shapes, and the blend handle of the canvas transparency stack.
//
// A shadow holds colour, offsets and transparency and draws the offset outline of a rectangle,
// a turned or rounded rectangle, a polygon or an ellipse through the 3D canvas's SmoothShadow
// fill. An emboss is the same object offset towards the opposite side.
#pragma once

#include <array>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Published.h"
#include "platform/Types.h"

namespace zel {

class TBitmap;
class TZelCanvas;
class TCanvas3D;

// A transparency in percent, 0 (opaque) to 100 (invisible).
using TZelTransparency = Byte;

// The handle exchanged by TZelCanvas::BeginBlending and EndBlending. The canvas blends through
// its transparency stack, so no blend object is ever created and every receiver accepts nullptr.
class TZelBlend : public TObject {
  ZEL_CLASS(TZelBlend, TObject)
 public:
  // Keeps neither the canvas nor the rectangle.
  TZelBlend(TZelCanvas* Canvas, const TRectF& R);
  ~TZelBlend() override;
  void SetRectangle(const TRectF& R);
  void DoBlend(TZelTransparency Transparency);

 private:
  TBitmap* FBitmap = nullptr;  // owned
};

class TZelShadow : public TPersistent {
  ZEL_CLASS(TZelShadow, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelShadow(TNotifyEvent OnChange = nullptr);

  void Assign(TPersistent* Source) override;
  // 1 for a shadow, -1 for an emboss: the direction of the offset of rectangles and ellipses.
  virtual int Factor() const { return 1; }

  // Sets Visible, Color, both sizes and their streaming defaults, without notifying.
  void InitValues(bool AVisible, TAlphaColor AColor, int ASize);
  void Changed();

  bool GetClip() const { return FClip; }
  void SetClip(bool V);
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor V);
  int GetHorizSize() const { return FHorizSize; }
  void SetHorizSize(int V);
  int GetVertSize() const { return FVertSize; }
  void SetVertSize(int V);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool V);
  int GetSmoothBlur() const { return FSmoothBlur; }
  void SetSmoothBlur(int V);
  TZelTransparency GetTransparency() const { return FTransparency; }
  // Values above 100 are taken as 100.
  void SetTransparency(TZelTransparency V);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool V);
  // max(|HorizSize|, |VertSize|); setting changes both sizes (and may notify twice).
  int GetSize() const;
  void SetSize(int V);

  TNotifyEvent GetOnChange() const { return IOnChange; }
  void SetOnChange(TNotifyEvent V) { IOnChange = std::move(V); }

  // Visible and offset by at least one pixel in some direction.
  bool ShouldDraw() const { return FVisible && (FHorizSize != 0 || FVertSize != 0); }

  // Shadow of a rectangle, rounded by RoundSize and turned by Angle degrees (counter-clockwise).
  void Draw(TCanvas3D* Canvas, const TRectF& Rect, int RoundSize = 0, int Angle = 0);
  // Shadow of the polygon of the first Count points of P.
  void Draw(TCanvas3D* Canvas, const TPointF* P, int Count);
  void Draw(TCanvas3D* Canvas, const std::vector<TPointF>& P);
  // Shadow of an ellipse, a pie (StartAngle..EndAngle in degrees) or a donut.
  virtual void DrawEllipse(TCanvas3D* Canvas, const TRectF& Rect, int DonutPercent = 0,
                           double StartAngle = 0, double EndAngle = 360);

  // Decides whether to draw and opens the blend; false when nothing is to be drawn.
  bool PrepareCanvas(TCanvas3D* Canvas, const TRectF& R, int Z);
  // Closes the blend PrepareCanvas opened.
  void FinishBlending(TZelCanvas* Canvas);
  // Rect moved by (Factor * HorizSize, Factor * VertSize).
  TRectF OffsetRectangle(const TRectF& Rect) const;
  // The corners of R turned by Angle degrees about its centre: top-left, top-right,
  // bottom-right, bottom-left. A positive angle turns counter-clockwise on the screen.
  static std::array<TPointF, 4> RectToFourPoints(const TRectF& R, double Angle);

  bool IsColorStored() const { return FColor != DefaultColor; }
  bool IsHorizStored() const { return FHorizSize != DefaultSize; }
  bool IsVertStored() const { return FVertSize != DefaultSize; }
  bool IsVisibleStored() const { return FVisible != DefaultVisible; }

  TAlphaColor GetDefaultColor() const { return DefaultColor; }
  int GetDefaultSize() const { return DefaultSize; }
  bool GetDefaultVisible() const { return DefaultVisible; }

  // Blur size and depth carried for callers; drawing does not read them.
  int BlurSize = 4;
  double ZPosition = 0;

 protected:
  bool FClip = false;
  TAlphaColor FColor = 0xFFC0C0C0;
  int FHorizSize = 0;
  bool FSmooth = true;
  int FSmoothBlur = 0;
  TZelTransparency FTransparency = 50;
  int FVertSize = 0;
  bool FVisible = true;
  TNotifyEvent IOnChange;
  TZelBlend* IBlend = nullptr;
  Byte ITransp = 0;
  TAlphaColor DefaultColor = 0xFFC0C0C0;
  int DefaultSize = 0;
  bool DefaultVisible = true;
};

// A shadow drawn towards the opposite side; hidden by default.
class TZelEmboss : public TZelShadow {
  ZEL_CLASS(TZelEmboss, TZelShadow)
 public:
  explicit TZelEmboss(TNotifyEvent OnChange = nullptr);
  int Factor() const override { return -1; }
};

}  // namespace zel
