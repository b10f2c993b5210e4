// Free routines of the canvas unit on points and rectangles (hit tests, bounds, back-face
// tests), two bitmap routines, the drawing path, the registry of canvas classes and the
// canvas unit's start and end.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

class TBitmap;
class TStream;
class TPathData;
class TZelCanvas;

// The corners of a projected quadrilateral.
using TFourPoints = std::array<TPointF, 4>;

// Every pixel an axis maps a value to (and its sizes and ends, and a 3D projection of such a
// pixel) lies within +/-ZelPixelLimit: far outside any canvas, so what lies beyond is clipped as
// before, and far inside int32, so that what is added to it or taken from it stays defined.
inline constexpr std::int32_t ZelPixelLimit = 1 << 28;
// A whole pixel held within +/-ZelPixelLimit (NaN gives 0).
inline std::int32_t ZelClampPixel(double P) {
  if (!(P == P)) return 0;
  return static_cast<std::int32_t>(std::clamp(P, -double(ZelPixelLimit), double(ZelPixelLimit)));
}

// The empty or missing rectangle and the origin.
inline constexpr TRect ZelZeroRect{0, 0, 0, 0};
inline constexpr TRectF ZelZeroRectF{0, 0, 0, 0};
inline constexpr TPoint ZelZeroPoint{0, 0};

// True when all four edges are equal (a NaN edge never equals).
bool EqualRect(const TRectF& A, const TRectF& B);
bool EqualRect(const TRect& A, const TRect& B);
void InflateRectF(TRectF& R, float DX, float DY);

// True when the three screen points wind so that the face they span is turned away.
bool ZelCull(const TPointF& P0, const TPointF& P1, const TPointF& P2);
bool ZelCull(const TFourPoints& P);

TPointF ZelPoint(float X, float Y);
void Offset(TPointF& P, float D);

// Edges included: Left <= X <= Right and Top <= Y <= Bottom.
bool PointInRect(const TRectF& R, float X, float Y);
bool PointInRect(const TRect& R, int X, int Y);
bool PointInRect(const TRectF& R, const TPointF& P);
bool PointInRect(const TRect& R, const TPoint& P);

TRectF ZelRect(float Left, float Top, float Right, float Bottom);
TRect ZelRect(int Left, int Top, int Right, int Bottom);
TRectF ZelRect(float Width, float Height);

// True only when Left equals Right and Top equals Bottom at once.
bool IsRectEmpty(const TRectF& R);
bool IsRectEmpty(const TRect& R);

TRectF OrientRectangle(const TRectF& R);
TRectF OrientRectangle(float X0, float Y0, float X1, float Y1);

// Bounding rectangle of the first Count points, Right and Bottom one more than the largest X and
// Y; ZelZeroRect when there are no points.
TRectF RectFromPolygon(const TPointF* P, int Count);
TRectF RectFromPolygon(const std::vector<TPointF>& P);
TRectF RectFromTriangle(const std::array<TPointF, 3>& T);
// RectFromPolygon of points 0..High; ZelZeroRectF when High is negative.
TRectF PolygonBounds(const TPointF* P, int High);
TRectF PolygonBounds(const std::vector<TPointF>& P);

// True when A and B differ in X or Y.
bool DifferentPoint(const TPointF& A, const TPointF& B);

// Adds points 0..High to Path as one figure (a move, then lines), closed when Closed; nothing
// when High is negative.
void AddPointsToPath(TPathData& Path, const TPointF* P, int High, bool Closed);
// A new path holding points 0..High as AddPointsToPath adds them.
std::unique_ptr<TPathData> PointsPath(const TPointF* P, int High, bool Closed);

// Hooks of the unit's start and end; they do nothing.
void AddCustomFonts();
void RemoveCustomFonts();

// Bitmap routines.
void ZelSetBitmapSize(TBitmap* B, int Width, int Height);
// Records the resolution DPI in a stream that holds a BMP file (the horizontal and vertical
// pixels-per-metre fields of its information header, as full 32-bit values). False, with the
// stream untouched, when the stream holds no BMP file or cannot be written.
bool ZelSetBitmapDPI(TStream* S, int DPI);
// Records the resolution DPI with the bitmap; its pixels stay as they are. False for a DPI that
// is not above 0.
bool ZelSetBitmapDPI(TBitmap* B, int DPI);
// Pixels per metre of a resolution in dots per inch.
int ZelDPIToPixelsPerMeter(int DPI);

// An abstract drawing path.
class TZelBasePath : public TObject {
  ZEL_CLASS(TZelBasePath, TObject)
 public:
  // An arc that fits the box (X, Y, Width, Height), angles in degrees clockwise on the screen
  // from 3 o'clock.
  virtual void ArcTo(float X, float Y, float Width, float Height, float StartAngle,
                     float SweepAngle) = 0;
  virtual void Close() = 0;
  // The points 0..High as straight segments; Tension is not used.
  virtual void Curve(const TPointF* P, int High, float Tension, bool Closed) = 0;
  // Fills the path with the canvas brush, then outlines it with the canvas pen.
  virtual void Draw(TZelCanvas* Canvas) = 0;
  virtual void LineTo(float X, float Y) = 0;
  virtual void MoveTo(float X, float Y) = 0;
  void LineTo(const TPointF& P) { LineTo(P.X, P.Y); }
  void MoveTo(const TPointF& P) { MoveTo(P.X, P.Y); }
};

// A drawing path on the platform path data, made by TZelCanvas::CreatePath.
class TZelPath : public TZelBasePath {
  ZEL_CLASS(TZelPath, TZelBasePath)
 public:
  explicit TZelPath(TZelCanvas* ACanvas);
  ~TZelPath() override;

  using TZelBasePath::LineTo;
  using TZelBasePath::MoveTo;
  void ArcTo(float X, float Y, float Width, float Height, float StartAngle,
             float SweepAngle) override;
  void Close() override;
  void Curve(const TPointF* P, int High, float Tension, bool Closed) override;
  void Draw(TZelCanvas* Canvas) override;
  void LineTo(float X, float Y) override;
  void MoveTo(float X, float Y) override;

  TZelCanvas* GetCanvas() const { return ICanvas; }
  TPathData* GetPathData() const { return IPath; }

 private:
  TZelCanvas* ICanvas;  // not owned
  TPathData* IPath;     // owned
};

// The canvas classes a chart panel can pick from (TZelCanvas3D after the unit's start).
using TZelRenderClassList = std::vector<const TClass*>;
extern TZelRenderClassList* ZelRenderClasses;
// Colours an editor offers besides its palette; created by whoever needs it, freed at the end.
extern std::vector<TAlphaColor>* ZelCustomEditColors;

// Start and end of the canvas unit (counted: only the first start and the last end act).
void ZelCanvasUnitStart();
void ZelCanvasUnitEnd();

}  // namespace zel
