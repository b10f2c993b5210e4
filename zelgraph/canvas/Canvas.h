// The library's abstract 2D canvas: current pen, brush and font, the platform canvas it draws on,
// a transparency stack, and the drawing operations. TZelCanvas3D (PlatformCanvas.h) is the one
// concrete canvas.
#pragma once

#include <cstdint>
#include <array>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Classes.h"
#include "platform/Published.h"
#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

class TCanvas;
class TBitmap;
class TGradient;
class TPathData;
class TZelPen;
class TZelBrush;
class TZelFont;
class TZelGradient;
class TCustomZelGradient;
class TZelCorners;
class TZelBasePath;
class TZelBlend;
enum class TGradientDirection;

enum class TCanvasBackMode { cbmNone, cbmTransparent, cbmOpaque };
enum class TCanvasStretchQuality { sqHigh, sqLow };
ZEL_ENUM_NAMES(TCanvasStretchQuality, "sqHigh", "sqLow");

// Text alignment flags of GetTextAlign / SetTextAlign.
constexpr int ZelTextAlignLeft = 0;
constexpr int ZelTextAlignRight = 2;
constexpr int ZelTextAlignCenter = 6;
constexpr int ZelTextAlignBottom = 8;

// When true, a visible non-solid pen of width 1 strokes at width 0 (nothing sets it).
extern bool ZelCheckPenWidth;

// Darkens (ApplyDark) or brightens (ApplyBright) red, green and blue by Quantity, clamped to
// 0..255; the alpha byte is kept.
TAlphaColor ApplyDark(TAlphaColor Color, Byte Quantity);
TAlphaColor ApplyBright(TAlphaColor Color, Byte Quantity);
constexpr Byte DarkColorQuantity = 64;
constexpr Byte DarkerColorQuantity = 128;

class TZelCanvas : public TObject {
  ZEL_CLASS(TZelCanvas, TObject)
 public:
  TZelCanvas();
  ~TZelCanvas() override;

  // --- properties ---
  TCanvasStretchQuality GetStretchQuality() const { return FStretchQuality; }
  void SetStretchQuality(TCanvasStretchQuality V) { FStretchQuality = V; }
  bool GetMetafiling() const { return FMetafiling; }
  void SetMetafiling(bool V) { FMetafiling = V; }
  TZelBrush* GetBrush() const { return FBrush.get(); }
  TZelPen* GetPen() const { return FPen.get(); }
  TZelFont* GetFont() const { return FFont.get(); }
  // The platform canvas drawn on (not owned); nullptr when none is set.
  TCanvas* GetReferenceCanvas() const { return FCanvas; }
  TCanvas* GetCanvas() const { return FCanvas; }
  const TRectF& GetBounds() const { return FBounds; }
  void SetBounds(const TRectF& R) { FBounds = R; }
  double GetFontZoom() const { return FFontZoom; }
  void SetFontZoom(double V) { FFontZoom = V; }
  bool GetSupportsAlpha() const { return FSupportsAlpha; }
  bool GetSupportsConcave() const { return FSupportsConcave; }
  // Transparency in percent, clamped to 0..100; drawing opacity is 1 - Transparency/100.
  Byte GetTransparency() const { return FTransparency; }
  void SetTransparency(int V);
  float Opacity() const { return 1.0f - FTransparency * 0.01f; }

  // Working fields read by other parts.
  bool IChangingFont = false;
  bool IZoomText = false;
  // When IUseTextCenter is set, RotateLabel turns the text about ITextCenter; otherwise about the
  // text's own position.
  bool IUseTextCenter = false;
  TPointF ITextCenter{0, 0};

  // --- virtual operations ---
  virtual void SetCanvas(TCanvas* ACanvas);
  virtual void DoChangedBrush(TZelBrush* ABrush);
  virtual void DoChangedFont();
  virtual void DoChangedPen();
  virtual void FastLineTo(int X, int Y);
  virtual TAlphaColor GetBackColor() = 0;
  virtual TCanvasBackMode GetBackMode() = 0;
  virtual bool GetIsNoBMPGrid() = 0;
  virtual bool GetMonochrome() = 0;
  virtual TAlphaColor GetPixel(int X, int Y) = 0;
  virtual bool GetSupportsFullRotation() = 0;
  virtual bool GetSupportsXORMode() = 0;
  virtual int GetTextAlign() = 0;
  virtual bool GetUseBuffer() = 0;
  virtual void SetAntiAlias(bool Value);
  virtual void SetBackColor(TAlphaColor Color) = 0;
  virtual void SetBackMode(TCanvasBackMode Mode) = 0;
  virtual void SetFastLine(bool Value) = 0;
  virtual void SetInterCharSize(int Value);
  virtual void SetMonochrome(bool Value) = 0;
  virtual void SetPenMode(TZelPen* Pen);
  virtual void SetPixel(int X, int Y, TAlphaColor Color) = 0;
  virtual void SetTextAlign(int Align) = 0;
  virtual void SetUseBuffer(bool Value) = 0;
  virtual void AssignBrush(TZelBrush* ABrush, TAlphaColor AColor, TAlphaColor ABackColor);
  virtual void AssignVisiblePenColor(TZelPen* APen, TAlphaColor AColor);
  // Pushes the transparency and combines it with T; returns no blend object (nullptr).
  virtual TZelBlend* BeginBlending(const TRectF& R, std::int8_t T);
  // Pops the transparency; raises EAssertionFailed on an empty stack.
  virtual void EndBlending(TZelBlend* Blend);
  virtual void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX,
                   int EndY) = 0;
  virtual void Arc(int Left, int Top, int Right, int Bottom, double StartAngle, double EndAngle);
  virtual void ArcTo(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX,
                     int EndY, bool Clockwise);
  virtual void Donut(const TRectF& R, double StartAngle, double EndAngle, double HolePercent);
  virtual void Donut(int XCenter, int YCenter, int XRadius, int YRadius, double StartAngle,
                     double EndAngle, double HolePercent) = 0;
  virtual void Draw(int X, int Y, TBitmap* Bitmap) = 0;
  virtual void Ellipse(float X1, float Y1, float X2, float Y2) = 0;
  virtual void FillRect(const TRectF& R) = 0;
  // Draws Width bevelled frames; R comes back shrunk by Width on every side.
  virtual void Frame3D(TRectF& R, TAlphaColor TopColor, TAlphaColor BottomColor, int Width);
  virtual void LineTo(float X, float Y) = 0;
  virtual void MoveTo(float X, float Y) = 0;
  virtual void Pie(const TRectF& R, double StartAngle, double EndAngle) = 0;
  virtual void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) = 0;
  virtual void Rectangle(float X0, float Y0, float X1, float Y1) = 0;
  virtual void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) = 0;
  virtual void StretchDraw(const TRectF& R, TBitmap* Bitmap) = 0;
  virtual void TextOut(float X, float Y, const String& Text) = 0;
  virtual int TextHeight(const String& Text);
  virtual TPointF TextSize(const String& Text);
  virtual int TextWidth(const String& Text);
  virtual void ClipRectangle(const TRectF& R) = 0;
  virtual void ClipRectangle(const TRectF& R, int RoundX, int RoundY);
  virtual void ClipEllipse(const TRectF& R, bool Inverted);
  virtual void ClipPolygon(const TPointF* P, int High, int Count, bool Inverted);
  // A new path on this canvas; the caller frees it.
  virtual TZelBasePath* CreatePath();
  virtual void Curve(const TPointF* P, int High, float Tension, bool Closed, float Unused);
  virtual void DoHorizLine(float X0, float X1, float Y);
  virtual void DoVertLine(float X, float Y0, float Y1);
  virtual void DrawCheckBox(int X, int Y, bool Checked, TAlphaColor ABackColor, bool CheckBox);
  virtual void EraseBackground(const TRectF& R) = 0;
  virtual void GradientFill(const TRectF& R, TAlphaColor StartColor, TAlphaColor EndColor,
                            TGradientDirection Direction, int Balance, int RadialX,
                            int RadialY) = 0;
  virtual void Invalidate() = 0;
  virtual void Line(float X0, float Y0, float X1, float Y1);
  // Points 0..High; High is the index of the last point (count - 1).
  virtual void Polyline(const TPointF* P, int High) = 0;
  // Whether Polyline, drawn now, merges consecutive points of one pixel column into the first,
  // lowest, highest and last (see ReducePolylineByColumn); a caller may then pass them merged.
  virtual bool MergesPolylineColumns() const { return false; }
  // Whether a primitive drawn now in opaque colours sets every pixel it touches to its own
  // colour, whatever was there (see TCanvas::ReplacesPixels): a later identical draw then hides
  // an earlier one completely.
  virtual bool ReplacesPixels() const { return false; }
  // Whether thin lines drawn now one after another in a pixel column set what one line over
  // them sets (see TCanvas::MergesColumnStrokes and TColumnStrokes).
  virtual bool MergesColumnStrokes() const { return false; }
  virtual void Polygon(const TPointF* P, int High) = 0;
  virtual void PolygonConcave(const TPointF* P, int High);
  virtual void RotateLabel(int X, int Y, const String& Text, double Angle, bool AllowHtml) = 0;
  virtual void UnClipRectangle() = 0;

  // --- non-virtual operations ---
  void AssignBrush(TZelBrush* B);
  void AssignBrush(TZelBrush* B, TAlphaColor C);
  void AssignBrushColor(TZelBrush* B, TAlphaColor C, TAlphaColor Back);
  void AssignVisiblePen(TZelPen* P);
  void AssignFont(TZelFont* F);
  void AssignFontSize(TZelFont* F, float Size);
  void Rectangle(const TRectF& R);
  void DoRectangle(const TRectF& R);
  void Ellipse(const TRectF& R);
  void RoundRect(const TRectF& R, int X, int Y, TZelCorners* Corners = nullptr);
  void TextOut(float X, float Y, const String& Text, bool AllowHtml);
  void Line(const TPointF& From, const TPointF& To);
  void LineTo(const TPointF& P);
  void MoveTo(const TPointF& P);
  void Polyline(const std::vector<TPointF>& P) {
    if (!P.empty()) Polyline(P.data(), static_cast<int>(P.size()) - 1);
  }
  void Polygon(const std::vector<TPointF>& P) {
    if (!P.empty()) Polygon(P.data(), static_cast<int>(P.size()) - 1);
  }
  void Arrow(bool Filled, double ArrowPercent, const TPointF& From, const TPointF& To,
             int ArrowWidth, int ArrowHeight);
  static std::vector<TPointF> GetArrowPoints(float ArrowPercent, const TPointF& From,
                                             const TPointF& To, int ArrowWidth, int ArrowHeight);
  void PushTransp();
  void PopTransp();
  int GetFontHeight() { return TextHeight("W"); }
  TZelGradient* GetGradient();
  bool IsGradientVisible();
  void InternalDark(TAlphaColor C, Byte Quantity);
  void ResetState();
  static bool IsConvexPolygon(const std::vector<TPointF>& P);
  static bool ConvexHull(std::vector<TPointF>& P);
  static Byte ColorAlpha(TAlphaColor C) { return static_cast<Byte>(C >> 24); }
  static TAlphaColor ColorFrom(TAlphaColor C, Byte Alpha) {
    return (C & 0x00FFFFFFu) | (TAlphaColor(Alpha) << 24);
  }
  static void CalcArcAngles(int Left, int Top, int Right, int Bottom, int StartX, int StartY,
                            int EndX, int EndY, double& StartAngle, double& EndAngle);
  // Maps a library gradient onto a platform gradient (TCustomZelGradient::PrepareGradient);
  // nothing without a gradient.
  static void PrepareGradient(TCustomZelGradient* G, TGradient& Target);
  // A new path of a pie slice or donut segment (angles in degrees); the caller frees it.
  static TPathData* DonutPath(const TRectF& R, double StartAngle, double EndAngle,
                              double HolePercent, float PenWidth);
  // The platform fill takes the current brush, or its gradient when that is visible.
  void PrepareBrush();
  // Depth of the transparency stack (for checks of balanced blending).
  int TranspStackDepth() const { return static_cast<int>(ITranspStack.size()); }

 protected:
  // Change closures of the owned pen, brush and font.
  void ChangedPen(TObject* Sender);
  void ChangedBrush(TObject* Sender);
  void ChangedFont(TObject* Sender);
  // The cached text layout, positioned at (X, Y) with Text and the current font and fill.
  TTextLayout* ICachedLayout(float X, float Y, const String& Text);
  // A layout at (0, 0) with Text and the current font, for measuring: the last few texts
  // measured keep their own layouts, so that a text measured again (a mark's text, then "W" for
  // the line height, then the text again to align it) is not laid out again.
  TTextLayout* IMeasureLayout(const String& Text);
  // Drops the layouts made for canvas C (every one when C is null).
  void IForgetLayouts(const TCanvas* C);
  TTextLayout* ICachedLayout(std::unique_ptr<TTextLayout>& Layout, float X, float Y, const String& Text);

  TCanvasStretchQuality FStretchQuality = TCanvasStretchQuality::sqHigh;
  bool FMetafiling = false;
  std::vector<Byte> ITranspStack;
  std::unique_ptr<TTextLayout> ILayout;
  struct TMeasureSlot {
    std::unique_ptr<TTextLayout> Layout;
    std::uint64_t Used = 0;
  };
  std::array<TMeasureSlot, 3> IMeasure;
  std::uint64_t IMeasureUses = 0;
  TOwned<TZelBrush> FBrush;
  TCanvas* FCanvas = nullptr;
  TOwned<TZelFont> FFont;
  TOwned<TZelPen> FPen;
  TRectF FBounds{0, 0, 0, 0};
  double FFontZoom = 100;
  bool FSupportsAlpha = true;
  bool FSupportsConcave = true;
  Byte FTransparency = 0;
};

}  // namespace zel
