// The platform 2D canvas and the text layout.
//
// TCanvas holds the drawing state (fill, stroke, font, matrix, clip, saved states, scene count)
// and declares the primitives as virtual operations: the canvas of a bitmap or a window draws
// pixels, a recording canvas (RecordingCanvas.h) stands in for layout tests.
//
// Conventions: angles are degrees, clockwise on the screen, 0 at 3 o'clock; text is placed by
// the top-left of its rectangle; a stroke of thickness 0 draws nothing; colours are straight
// (unpremultiplied) ARGB; every primitive takes an opacity 0..1 that multiplies the colour's alpha.
// A canvas of width or height 0 draws nothing.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Graphics.h"

namespace zel {

class TBitmap;
class TCanvas;

// ---------------------------------------------------------------------------------------------
// Text layout

// One laid-out line: its text and its rectangle.
struct TTextLine {
  String Text;
  TRectF Rect;
};

// Measures and renders a text in a font, laid out from TopLeft within MaxSize. Lines break at
// CR, LF and CR LF, and with WordWrap also between words that would exceed MaxSize.X.
// Measuring needs no canvas; rendering draws on the canvas it is given.
class TTextLayout {
 public:
  explicit TTextLayout(TCanvas* ACanvas = nullptr);
  virtual ~TTextLayout();
  TTextLayout(const TTextLayout&) = delete;
  TTextLayout& operator=(const TTextLayout&) = delete;

  void BeginUpdate();
  void EndUpdate();

  TCanvas* GetCanvas() const { return FCanvas; }
  TPointF GetTopLeft() const { return FTopLeft; }
  void SetTopLeft(TPointF V);
  TPointF GetMaxSize() const { return FMaxSize; }
  void SetMaxSize(TPointF V);
  const String& GetText() const { return FText; }
  void SetText(const String& V);
  TFont* GetFont() { return &FFont; }
  void SetFont(const TFont* V);  // copies
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor V) { FColor = V; }
  float GetOpacity() const { return FOpacity; }
  void SetOpacity(float V) { FOpacity = V; }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool V);
  TTextAlign GetHorizontalAlign() const { return FHorizontalAlign; }
  void SetHorizontalAlign(TTextAlign V);
  TTextAlign GetVerticalAlign() const { return FVerticalAlign; }
  void SetVerticalAlign(TTextAlign V);
  bool GetRightToLeft() const { return FRightToLeft; }
  void SetRightToLeft(bool V) { FRightToLeft = V; }

  // The extent of the laid-out text in canvas coordinates.
  TRectF GetTextRect();
  float GetTextWidth() { return GetTextRect().Width(); }
  float GetTextHeight() { return GetTextRect().Height(); }
  const std::vector<TTextLine>& GetLines();

  // Metrics of the font: the height of one line and the distance from a line's top to its
  // baseline.
  virtual float GetLineHeight() = 0;
  virtual float GetAscent() = 0;
  // The advance width of one line of text (no line breaks in it).
  virtual float MeasureLine(const String& Line) = 0;

  // Draws the text on Canvas (its font and fill are restored afterwards).
  void RenderLayout(TCanvas* Canvas);

 protected:
  // The font changed: drop cached metrics.
  virtual void FontChanged() {}

 private:
  void Invalidate() { FValid = false; }
  void Layout();

  TCanvas* FCanvas;
  int FUpdating = 0;
  TPointF FTopLeft;
  TPointF FMaxSize{10000, 10000};
  String FText;
  TFont FFont;
  TAlphaColor FColor = TAlphaColors::Black;
  float FOpacity = 1;
  bool FWordWrap = false;
  TTextAlign FHorizontalAlign = TTextAlign::Leading;
  TTextAlign FVerticalAlign = TTextAlign::Leading;
  bool FRightToLeft = false;
  bool FValid = false;
  std::vector<TTextLine> FLines;
  TRectF FTextRect;
};

class TTextLayoutManager {
 public:
  // A layout measuring with the platform's font engine.
  static std::unique_ptr<TTextLayout> DefaultTextLayout(TCanvas* Canvas = nullptr);
  // The layout that suits Canvas (the canvas's own CreateTextLayout); the default without one.
  static std::unique_ptr<TTextLayout> TextLayoutByCanvas(TCanvas* Canvas);
};

// ---------------------------------------------------------------------------------------------
// Canvas

// An opaque saved state (matrix, clip, fill, stroke, font); owned by its canvas.
class TCanvasSaveState;

class TCanvas : public TObject {
  ZEL_CLASS(TCanvas, TObject)
 public:
  TCanvas();
  ~TCanvas() override;

  // Scenes nest; drawing is allowed outside them too. BeginScene answers false for a canvas
  // that cannot draw (width or height 0); such a scene still needs its EndScene.
  virtual bool BeginScene();
  virtual void EndScene();
  int GetBeginSceneCount() const { return FSceneCount; }

  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual float GetScale() const { return 1; }

  // The current transformation from drawing to canvas pixels.
  const TMatrix& GetMatrix() const { return FMatrix; }
  void SetMatrix(const TMatrix& M);
  void MultiplyMatrix(const TMatrix& M);  // M applied before the current matrix

  // Saves matrix, clip, fill, stroke and font. RestoreState(S) brings them back and drops S and
  // every state saved after it; an unknown state is ignored.
  TCanvasSaveState* SaveState();
  void RestoreState(TCanvasSaveState* State);
  // Narrows the clip to R (in drawing coordinates, through the matrix); clips nest.
  void IntersectClipRect(const TRectF& R);
  // True while a clip is set; GetClipRect is then the clip in canvas pixels.
  bool GetClipped() const { return FClipped; }
  TRectF GetClipRect() const { return FClipRect; }

  TBrush* GetFill() { return &FFill; }
  void SetFill(const TBrush* V);  // copies
  TStrokeBrush* GetStroke() { return &FStroke; }
  void SetStroke(const TStrokeBrush* V);  // copies
  float GetStrokeThickness() const { return FStroke.GetThickness(); }
  TFont* GetFont() { return &FFont; }
  void SetFont(const TFont* V);  // copies
  // Smoothing of edges (off by default: crisp whole-pixel lines).
  bool GetAntialiasing() const { return FAntialiasing; }
  void SetAntialiasing(bool V);

  // Every pixel (ignoring matrix and clip) set to Color.
  virtual void Clear(TAlphaColor Color) = 0;
  // The pixels of R (through the matrix, within the clip) set to Color, not blended.
  virtual void ClearRect(const TRectF& R, TAlphaColor Color) = 0;

  virtual void FillRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners,
                        float Opacity, TCornerType CornerType = TCornerType::Round) = 0;
  virtual void DrawRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners,
                        float Opacity, TCornerType CornerType = TCornerType::Round) = 0;
  virtual void FillEllipse(const TRectF& R, float Opacity) = 0;
  virtual void DrawEllipse(const TRectF& R, float Opacity) = 0;
  virtual void DrawLine(TPointF P1, TPointF P2, float Opacity) = 0;
  virtual void FillPath(const TPathData& Path, float Opacity) = 0;
  virtual void DrawPath(const TPathData& Path, float Opacity) = 0;
  // A closed polygon of the points.
  virtual void FillPolygon(const TPolygon& Points, float Opacity) = 0;
  virtual void DrawPolygon(const TPolygon& Points, float Opacity) = 0;
  // Elliptic arc (degrees, clockwise from 3 o'clock); FillArc fills the pie slice.
  virtual void DrawArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle,
                       float Opacity) = 0;
  virtual void FillArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle,
                       float Opacity) = 0;
  // The part Src of Bitmap (in its pixels) drawn into Dst; HighSpeed: no smoothing.
  virtual void DrawBitmap(const TBitmap* Bitmap, const TRectF& Src, const TRectF& Dst,
                          float Opacity, bool HighSpeed = false) = 0;
  // Text in the canvas font and fill colour, laid out in R with the given alignment.
  virtual void FillText(const TRectF& R, const String& Text, bool WordWrap, float Opacity,
                        TFillTextFlags Flags, TTextAlign HAlign,
                        TTextAlign VAlign = TTextAlign::Center) = 0;
  // The outline of the text as a path; false when none could be made (Path is then empty).
  virtual bool TextToPath(TPathData& Path, const TRectF& R, const String& Text, bool WordWrap,
                          TTextAlign HAlign, TTextAlign VAlign = TTextAlign::Center) = 0;

  // An open line through Count points with the stroke. Consecutive points that fall in the same
  // pixel column are merged into first, lowest, highest and last when that draws the same
  // pixels (opaque solid non-antialiased stroke of thickness up to 1, no rotation); the plain
  // form draws every segment.
  void DrawPolyline(const TPointF* Points, std::size_t Count, float Opacity) {
    DoDrawPolyline(Points, Count, Opacity, true);
  }
  void DrawPolyline(const TPolygon& Points, float Opacity) {
    DoDrawPolyline(Points.data(), Points.size(), Opacity, true);
  }
  void DrawPolylineUnreduced(const TPointF* Points, std::size_t Count, float Opacity) {
    DoDrawPolyline(Points, Count, Opacity, false);
  }
  // True when a polyline drawn now with Opacity may be merged per pixel column.
  bool CanReducePolyline(float Opacity) const;
  // True when the stroke set now is a thin line drawn in device pixels (DrawsThinInDevicePixels):
  // solid, thickness up to 1 unit, not antialiased, on a matrix that only moves.
  bool ThinInDevicePixels() const;
  // True when DrawPolyline, called now with Opacity, does merge the points per pixel column (so
  // that a caller may hand them over merged already: merging again changes nothing).
  virtual bool MergesPolylines(float) const { return false; }
  // True when every pixel a primitive drawn now with Opacity touches takes the primitive's own
  // colour, whatever was there (no antialiasing, no blending), given opaque colours: drawing the
  // same primitive again over it then changes nothing.
  virtual bool ReplacesPixels(float) const { return false; }
  // True when, drawn now with Opacity, a line between two whole-pixel points of one pixel column
  // sets exactly the rows between its ends (the lower end only with round caps; a line of no
  // length sets its one pixel) in its own colour, whatever was there: the lines a path draws one
  // after another in a column then set what one line from their lowest to their highest sets
  // (see TColumnStrokes).
  virtual bool MergesColumnStrokes(float) const { return false; }

  // Text extent in the canvas font.
  float TextWidth(const String& Text);
  float TextHeight(const String& Text);

  // A text layout measuring as this canvas does.
  virtual std::unique_ptr<TTextLayout> CreateTextLayout();
  // Lines of text this canvas's font engine has measured for its layouts (not those whose
  // width it kept from an earlier measure); 0 where it does not count.
  virtual std::int64_t GetMeasureCount() const { return 0; }

 protected:
  virtual void DoDrawPolyline(const TPointF* Points, std::size_t Count, float Opacity,
                              bool Reduce) = 0;
  // The matrix, the clip or the antialiasing changed.
  virtual void StateChanged() {}
  // The answers of MergesPolylines, ReplacesPixels and MergesColumnStrokes for a canvas that
  // sets whole pixels of a picture (the bitmap canvas), from the state set now: one rule, which
  // that canvas gives and which a canvas standing in for it (one that counts what a paint asks
  // for) gives too.
  bool PictureMergesPolylines(float Opacity) const;
  bool PictureReplacesPixels(float Opacity) const;
  bool PictureMergesColumnStrokes(float Opacity) const;
  // True for a canvas of a scale other than 1 that draws a thin stroke as a scale-1 picture
  // draws it, at its own device pixels: the ends taken to the device pixel where their whole
  // unit begins, the line one device pixel thin through them, widened right and down to the
  // scale rounded (2 device pixels at scale 1.5 and 2). So a 1-unit line stays 1 unit, lies on
  // the unit's pixels as it does at scale 1, and is as thick everywhere; and the points of one
  // device column merge as at scale 1 (first, lowest, highest, last draw the same pixels).
  virtual bool DrawsThinInDevicePixels() const { return false; }
  // True when a primitive would draw nothing: empty canvas or empty clip.
  bool NothingToDraw() const;

 private:
  int FSceneCount = 0;
  TMatrix FMatrix;
  bool FClipped = false;
  TRectF FClipRect;
  bool FAntialiasing = false;
  TBrush FFill{TBrushKind::Solid, TAlphaColors::White};
  TStrokeBrush FStroke{TBrushKind::Solid, TAlphaColors::Black};
  TFont FFont;
  std::vector<std::unique_ptr<TCanvasSaveState>> FSaved;
  std::unique_ptr<TTextLayout> FMeasureLayout;
};

// Merges consecutive points of one pixel column (rounded X) into first, lowest, highest and
// last, in the order they occur, dropping repeats. Out is cleared first.
void ReducePolylineByColumn(const TPointF* Points, std::size_t Count, std::vector<TPointF>& Out);

// Draws a path as separate lines, each as DrawLine draws it, on a canvas that merges column
// strokes (TCanvas::MergesColumnStrokes) with its stroke set: the lines that follow one another
// in one pixel column are drawn as one line (and the lower end's pixel, when a line of no length
// set it), which sets the same pixels. A point that is not a whole pixel ends the merging.
class TColumnStrokes {
 public:
  TColumnStrokes(TCanvas* Canvas, float Opacity);
  void MoveTo(TPointF P);
  void LineTo(TPointF P) {
    // The common case inline: the column's lines go on.
    if (FRun && P.X == FPos.X && WholePixel(P.Y)) {
      if (P.Y > FMax) {
        FMax = P.Y;
        FDotAtMax = false;
      } else if (P.Y < FMin) {
        FMin = P.Y;
      }
      if (P.Y == FPos.Y && P.Y == FMax) FDotAtMax = true;
      FPos.Y = P.Y;
      return;
    }
    StartOrDraw(P);
  }
  // Draws the column line still open; call once the path is done.
  void Finish();

  // A whole pixel well inside the range the rasteriser handles exactly.
  static bool WholePixel(float V) {
    constexpr float Limit = 4194304;  // 2^22
    return V >= -Limit && V <= Limit && static_cast<float>(static_cast<int>(V)) == V;
  }

 private:
  void StartOrDraw(TPointF P);

  TCanvas* FCanvas;
  float FOpacity;
  bool FFlatCap;
  TPointF FPos{NAN, NAN};
  bool FRun = false;           // a column's lines are being gathered
  float FMin = 0, FMax = 0;    // their rows
  bool FDotAtMax = false;      // a line of no length at the lowest row (FMax)
};

}  // namespace zel
