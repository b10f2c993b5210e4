// TZelCanvas3D: the library's one concrete canvas, on the platform's 2D canvas, with the 3D
// projection and an off-screen picture that buffers each paint.
#pragma once

#include <utility>
#include <vector>

#include "zelgraph/canvas/Canvas3D.h"

namespace zel {

class TCanvasSaveState;

class TZelCanvas3D : public TCanvas3D {
  ZEL_CLASS(TZelCanvas3D, TCanvas3D)
 public:
  TZelCanvas3D();
  ~TZelCanvas3D() override;

  using TCanvas3D::Arc;
  using TCanvas3D::Arrow;
  using TCanvas3D::Calculate3DPosition;
  using TCanvas3D::ClipRectangle;
  using TCanvas3D::Cube;
  using TCanvas3D::Donut;
  using TCanvas3D::Ellipse;
  using TCanvas3D::EllipseWithZ;
  using TCanvas3D::Pie;
  using TCanvas3D::PlaneWithZ;
  using TCanvas3D::Polygon;
  using TCanvas3D::Polyline;
  using TCanvas3D::Rectangle;
  using TCanvas3D::RoundRect;
  using TCanvas3D::StretchDraw;
  using TCanvas3D::TextOut;
  using TCanvas3D::TextOut3D;

  // --- state and capabilities ---
  TAlphaColor GetBackColor() override { return 0xFFFFFFFF; }
  TCanvasBackMode GetBackMode() override { return TCanvasBackMode::cbmNone; }
  void SetBackColor(TAlphaColor) override {}
  void SetBackMode(TCanvasBackMode) override {}
  bool GetIsNoBMPGrid() override { return false; }
  bool GetSupportsFullRotation() override { return false; }
  // Tools that would draw in XOR mode repaint the whole chart instead.
  bool GetSupportsXORMode() override { return false; }
  bool GetSupports3DText() override { return false; }
  bool CheckFastBrush() override { return false; }
  int GetTextAlign() override { return FTextAlign; }
  void SetTextAlign(int Align) override { FTextAlign = Align; }
  bool GetMonochrome() override { return FMonochrome; }
  void SetMonochrome(bool Value) override;
  bool GetUseBuffer() override { return FBufferedDisplay; }
  void SetUseBuffer(bool Value) override;
  void SetFastLine(bool) override { IFastLine = 0; }
  // Replaces the off-screen picture reference (no copy, no free).
  void SetBitmap(TBitmap* Bitmap) { FBitmap = Bitmap; }
  TBitmap* GetBitmap() const { return FBitmap; }
  void DeleteBitmap();
  void Invalidate() override { FDirty = true; }
  bool GetDirty() const { return FDirty; }
  String Description() const override { return "GDI"; }
  bool GetIs3D() const { return FIs3D; }

  // --- 2D primitives ---
  void FillRect(const TRectF& R) override;
  void EraseBackground(const TRectF& R) override;
  void Rectangle(float X0, float Y0, float X1, float Y1) override;
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) override;
  void Ellipse(float X1, float Y1, float X2, float Y2) override;
  void MoveTo(float X, float Y) override;
  void LineTo(float X, float Y) override;
  void FastLineTo(int X, int Y) override;
  void Polyline(const TPointF* P, int High) override;
  bool MergesPolylineColumns() const override;
  bool ReplacesPixels() const override;
  bool MergesColumnStrokes() const override;
  void Polygon(const TPointF* P, int High) override;
  void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX,
           int EndY) override;
  void Donut(const TRectF& R, double StartAngle, double EndAngle, double HolePercent) override;
  void Donut(int XCenter, int YCenter, int XRadius, int YRadius, double StartAngle,
             double EndAngle, double HolePercent) override;
  void Pie(const TRectF& R, double StartAngle, double EndAngle) override;
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
  void Draw(int X, int Y, TBitmap* Bitmap) override;
  void StretchDraw(const TRectF& R, TBitmap* Bitmap) override;
  void GradientFill(const TRectF& R, TAlphaColor StartColor, TAlphaColor EndColor,
                    TGradientDirection Direction, int Balance, int RadialX,
                    int RadialY) override;
  // Fills R with a library gradient (direction, middle colour, monochrome).
  void GradientFill(TZelGradient* G, const TRectF& R);
  // Clips nest: each UnClipRectangle restores the clip in force before the matching clip.
  void ClipRectangle(const TRectF& R) override;
  void UnClipRectangle() override;
  // Saves Canvas' state on the clip stack and narrows its clip to R.
  void ClipCanvas(TCanvas* Canvas, const TRectF& R);
  // Restores the state saved by the latest ClipCanvas on Canvas; nothing when none is held.
  void UnClipCanvas(TCanvas* Canvas);
  // Pixels of the off-screen picture; outside it (or without one) reads white, writes nothing.
  TAlphaColor GetPixel(int X, int Y) override;
  void SetPixel(int X, int Y, TAlphaColor Color) override;
  void TextOut(float X, float Y, const String& Text) override;
  // Text turned by Angle degrees counter-clockwise about ITextCenter when IUseTextCenter is set,
  // else about (X, Y).
  void RotateLabel(int X, int Y, const String& Text, double Angle, bool AllowHtml) override;
  void SmoothShadow(TZelShadow* Shadow, const TRectF& R, bool IsEllipse, int RoundSize,
                    const TPointF* Points, int High, int Hole, double StartAngle,
                    double EndAngle) override;
  // Start and end angles (degrees) of a pie given by its box and two points on its rays.
  static void CalcPieAngles(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4,
                            float& StartAngle, float& EndAngle);

  // --- projection and window cycle ---
  TRectF InitWindow(TCanvas* DestCanvas, TView3DOptions* Options, TAlphaColor BackColor,
                    bool Is3D, const TRectF& UserRect) override;
  void Projection(int MaxDepth, const TRectF& Bounds, const TRectF& R) override;
  void CalcTrigValues();
  void CalcPerspective(const TRectF& R);
  void Calc3DPos(int& X, int& Y, int Z);
  void Calc3DPoint(TPointF& P, float X, float Y, float Z);
  void Calc3DPoint(TPointF& P, int X, int Y, int Z);
  void Calc3DTPoint(TPointF& P, int Z);
  TPointF Calculate3DPosition(int X, int Y, int Z) override;
  TPointF Calculate3DPosition(float X, float Y, float Z) override;
  // The chart point at depth Z that projects to the screen point (X, Y); unchanged when the
  // projection cannot be inverted there.
  void Calculate2DPosition(int& X, int& Y, int Z) override;
  void DisableRotation() override;
  void EnableRotation() override;
  void ShowImage(TCanvas* DestCanvas, TCanvas* DefaultCanvas, const TRectF& UserRect) override;
  void TransferBitmap(int Left, int Top, TCanvas* Canvas);
  bool ReDrawBitmap() override;
  bool RenderToBitmap(TBitmap*& Bitmap, const TRectF& R) override;
  void ClipCube(const TRectF& R, int MinZ, int MaxZ) override;
  void TextOut3D(int X, int Y, int Z, const String& Text, bool AllowHtml) override;
  void RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle,
                     bool AllowHtml) override;
  TAlphaColor GetPixel3D(int X, int Y, int Z) override;
  void SetPixel3D(int X, int Y, int Z, TAlphaColor Color) override;

  // --- 3D solids ---
  void Arrow(bool Filled, const TPointF& From, const TPointF& To, int ArrowWidth, int ArrowHeight,
             int Z0, int Z1, double ArrowPercent) override;
  void Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D,
            int ConePercent) override;
  void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides,
            int RoundSize) override;
  void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, int Unused, bool DarkSides,
            int RoundSize) override;
  void Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                bool Dark3D) override;
  void EllipseWithZ(float X1, float Y1, float X2, float Y2, int Z) override;
  // The NumCirclePoints points of the ellipse in the box (X1, Y1)-(X2, Y2), the last one
  // closing the outline on the first; the form with Z projects each point at that depth.
  static void GetCirclePoints(TCirclePoints& P, float X1, float Y1, float X2, float Y2);
  void GetCirclePoints(TCirclePoints& P, int X1, int Y1, int X2, int Y2, int Z);
  void Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1,
             double StartAngle, double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent,
             TCustomZelGradient* Gradient, int BevelPercent, TEdgeStyle EdgeStyle,
             std::int8_t Transparency, int BevelBright, bool BevelBorder,
             bool HideSides) override;
  void Plane3D(const TPointF& A, const TPointF& B, int Z0, int Z1) override;
  void PlaneWithZ(const TPointF& P1, const TPointF& P2, const TPointF& P3, const TPointF& P4,
                  int Z) override;
  void PlaneFour3D(const TFourPoints& P, int Z0, int Z1) override;
  void Polygon3D(const TPoint3D* P, int High) override;
  void Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
               bool DarkSides) override;
  void RectangleWithZ(const TRectF& R, int Z) override;
  void RectangleY(float Left, float Top, float Right, int Z0, int Z1) override;
  void RectangleZ(float Left, float Top, float Bottom, int Z0, int Z1) override;
  void Sphere(int X, int Y, int Z, double Radius) override;
  void Surface3D(TZelCanvasSurfaceStyle Style, bool SameBrush, bool Cell, bool Flag, int NumX,
                 int NumZ, const TZelSurfaceVertex& CalcPoints,
                 TZelCachedObject*& Cache) override;
  void Triangle3D(const std::array<TPoint3D, 3>& P,
                  const std::array<TAlphaColor, 3>& Colors) override;
  void TriangleWithZ(const TPointF& P1, const TPointF& P2, const TPointF& P3, int Z) override;
  // Fills the scratch quadrilateral IPoints.
  void PolygonFour() { Polygon(IPoints.data(), 3); }

  // --- projection state ---
  double s1 = 0, s2 = 0, s3 = 0, c1 = 1, c2 = 1, c3 = 1;
  double c2s3 = 0, c2c3 = 1, tempXX = 1, tempYX = 0, tempXZ = 0, tempYZ = 0;
  bool IHasPerspec = false, IHasTilt = false;
  double IOrthoX = 1, IOrthoY = 1;
  double IZoomPerspec = 0;
  double IZoomFactor = 1;
  int XCenterOffset = 0, YCenterOffset = 0;
  bool IKeepBitmap = false;
  bool Pie3DUsingArcs = false;
  double CharacterAngle = 0;
  TObject* Tag = nullptr;

 protected:
  // Fill and stroke of a shape with the current brush and pen (fill kind back to Solid).
  void FillAndStroke(const TPathData& Path);
  // Text with the font's shadow and emboss; (X, Y) is the alignment point.
  void DirectTextOut(float X, float Y, const String& Text);
  void DoFontShadow(TZelShadow* S, int F, float& X, float& Y, const String& Text);
  void InternalTextOut(float X, float Y, const String& Text, bool WithOutline);
  bool PenVisible();

  bool FWas3D = false;
  TBitmap* FBitmap = nullptr;  // owned unless replaced by SetBitmap
  bool FMonochrome = false;
  int FTextAlign = 0;
  float FX = 0, FY = 0;
  int IFastLine = 0;
  bool FBufferedDisplay = true;
  bool FDirty = true;
  bool FIs3D = false;
  TFourPoints IPoints{};
  // Saved platform states of the nested clips, with the canvas each belongs to.
  std::vector<std::pair<TCanvas*, TCanvasSaveState*>> IClipStates;
  // The picture canvas whose scene InitWindow began and ShowImage ends.
  TCanvas* ISceneOpen = nullptr;
};

}  // namespace zel
