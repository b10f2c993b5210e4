// The abstract 3D canvas (projection, entities, 3D primitives and solids) and the located blocks
// that give a 3D visual element its persistent location and size.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Geometry.h"

namespace zel {

class TView3DOptions;
class TZelShadow;
class TCustomZelGradient;
class TZelCachedObject;
class TVisualBlock;

// Integer point in chart space: x and y in pixels, z the depth from the front.
struct TPoint3D {
  int X = 0, Y = 0, Z = 0;
};
// Single-precision 3D point.
struct TPoint3DFloat {
  float X = 0, Y = 0, Z = 0;
};

enum class TCanvas3DPlane { cpX, cpY, cpZ };
enum class TEdgeStyle { edFlat, edCurved, edNone };
enum class TZelCanvasSurfaceStyle { tcsSolid, tcsWire, tcsDot };

// Optional transform of a drawing entity (the library never creates one).
class TZelTransform : public TObject {
  ZEL_CLASS(TZelTransform, TObject)
 public:
  bool Enabled = true;
  TPointF Translate{0, 0};
  double Rotate = 0;  // degrees
  TPointF Origin{0, 0};
  TPointF Scale{1, 1};
};

// Supplies triangle Index of a triangle surface: three points, three colours, three indexes.
using TZelTriangleCalc = std::function<void(int Index, std::array<TPoint3D, 3>& Points,
                                            std::array<TAlphaColor, 3>& Colors,
                                            std::array<int, 3>& Indexes)>;
// Supplies a vertex of a surface grid.
using TZelSurfaceVertex = std::function<void(int X, int Z, TPoint3D& P, TAlphaColor& Color)>;

// Points of an ellipse outline in 3D.
constexpr int NumCirclePoints = 180;
using TCirclePoints = std::array<TPointF, NumCirclePoints>;

class TCanvas3D : public TZelCanvas {
  ZEL_CLASS(TCanvas3D, TZelCanvas)
 public:
  TCanvas3D();
  ~TCanvas3D() override;

  using TZelCanvas::Arc;
  using TZelCanvas::Arrow;
  using TZelCanvas::GetArrowPoints;
  using TZelCanvas::Polygon;
  using TZelCanvas::PolygonConcave;
  using TZelCanvas::Polyline;
  using TZelCanvas::Rectangle;
  using TZelCanvas::RoundRect;
  using TZelCanvas::StretchDraw;

  // --- properties ---
  TView3DOptions* GetView3DOptions() const { return F3DOptions; }
  void SetView3DOptions(TView3DOptions* V) { F3DOptions = V; }
  bool GetIsOrthogonal() const { return FIsOrthogonal; }
  void SetIsOrthogonal(bool V) { FIsOrthogonal = V; }
  TZelTransform* GetTransform() const { return FTransform; }
  void SetTransform(TZelTransform* V) { FTransform = V; }
  int GetXCenter() const { return FXCenter; }
  int GetYCenter() const { return FYCenter; }
  int GetZCenter() const { return FZCenter; }
  int GetEntityCount() const { return static_cast<int>(ITransform.size()); }
  int GetFrontPlaneCount() const { return IDisabledRotation; }

  int GradientZ = 0;
  bool SupportsID = false;
  bool INoFixAlign = false;
  TPoint3DFloat RotationCenter;

  // --- virtual operations ---
  virtual void BeginEntity(const String& Name, TVisualBlock* Visual, TZelTransform* Transform);
  virtual void EndEntity();
  virtual void DrawLighting(TEdgeStyle Style, int Size, const TRectF& R0, const TRectF& R1,
                            const TRectF& R2, int Z0, int Z1, const TPointF& Center, bool Flag);
  virtual bool CheckFastBrush();
  virtual TAlphaColor GetPixel3D(int X, int Y, int Z) = 0;
  virtual bool GetSupports3DText() = 0;
  virtual void SetPixel3D(int X, int Y, int Z, TAlphaColor Color) = 0;
  virtual void SmoothShadow(TZelShadow* Shadow, const TRectF& R, bool IsEllipse, int RoundSize,
                            const TPointF* Points, int High, int Hole, double StartAngle,
                            double EndAngle);
  virtual String Description() const { return String(); }
  virtual String EditorClass() const { return String(); }
  virtual void Calculate2DPosition(int& X, int& Y, int Z) = 0;
  virtual TPointF Calculate3DPosition(int X, int Y, int Z) = 0;
  virtual TPointF Calculate3DPosition(float X, float Y, float Z) = 0;
  virtual TRectF InitWindow(TCanvas* DestCanvas, TView3DOptions* Options, TAlphaColor BackColor,
                            bool Is3D, const TRectF& UserRect) = 0;
  virtual bool IsAvailable() { return true; }
  virtual void Assign(TCanvas3D* Source);
  virtual void Projection(int MaxDepth, const TRectF& Bounds, const TRectF& R) = 0;
  virtual void ShowImage(TCanvas* DestCanvas, TCanvas* DefaultCanvas, const TRectF& UserRect) = 0;
  virtual bool ReDrawBitmap() = 0;
  virtual bool RenderToBitmap(TBitmap*& Bitmap, const TRectF& R);
  virtual void Arrow(bool Filled, const TPointF& From, const TPointF& To, int ArrowWidth,
                     int ArrowHeight, int Z0, int Z1, double ArrowPercent) = 0;
  virtual void ClipCube(const TRectF& R, int MinZ, int MaxZ) = 0;
  virtual void Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                    bool Dark3D, int ConePercent) = 0;
  virtual void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides,
                    int RoundSize) = 0;
  virtual void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, int Unused,
                    bool DarkSides, int RoundSize) = 0;
  virtual void Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                        bool Dark3D) = 0;
  virtual void Diamond(float Left, float Top, float Right, float Bottom, int Z0, int Z1);
  virtual void DisableRotation();
  virtual void EllipseWithZ(float X1, float Y1, float X2, float Y2, int Z) = 0;
  virtual void EnableRotation();
  virtual void HorizLine3D(float Left, float Right, float Y, float Z);
  virtual void RoundRect(const TRectF& R, int X, int Y, int Z, int Unused);
  virtual void VertLine3D(float X, float Top, float Bottom, float Z);
  virtual void ZLine3D(float X, float Y, float Z0, float Z1);
  virtual void FrontPlaneBegin();
  virtual void FrontPlaneEnd();
  virtual void LineWithZ(float X0, float Y0, float X1, float Y1, float Z);
  virtual void MoveTo3D(float X, float Y, float Z);
  virtual void LineTo3D(float X, float Y, float Z);
  // A slice of a 3D pie; angles in radians, counter-clockwise from the positive x axis.
  virtual void Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1,
                     double StartAngle, double EndAngle, bool DarkSides, bool DrawSides,
                     int DonutPercent, TCustomZelGradient* Gradient, int BevelPercent,
                     TEdgeStyle EdgeStyle, std::int8_t Transparency, int BevelBright,
                     bool BevelBorder, bool HideSides) = 0;
  virtual void Plane3D(const TPointF& A, const TPointF& B, int Z0, int Z1) = 0;
  virtual void PlaneWithZ(const TPointF& P1, const TPointF& P2, const TPointF& P3,
                          const TPointF& P4, int Z) = 0;
  virtual void PlaneFour3D(const TFourPoints& P, int Z0, int Z1) = 0;
  virtual void Polygon3D(const TPoint3D* P, int High) = 0;
  virtual void Polygon3DConcave(const TPoint3D* P, int High, bool Unused);
  virtual void PolygonWithZ(const TPointF* P, int High, int Z);
  virtual void PolygonConcave(const TPointF* P, int High, int Z);
  virtual void Polyline(const TPointF* P, int High, int Z);
  virtual void Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                       bool DarkSides) = 0;
  virtual void PyramidTrunc(const TRectF& R, double StartZ, double EndZ, double TruncX,
                            double TruncZ, bool TopCover, bool BottomCover);
  virtual void RectangleWithZ(const TRectF& R, int Z) = 0;
  virtual void RectangleY(float Left, float Top, float Right, int Z0, int Z1) = 0;
  virtual void RectangleZ(float Left, float Top, float Bottom, int Z0, int Z1) = 0;
  virtual void RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle,
                             bool AllowHtml) = 0;
  virtual void RoundRectWithZ(const TRectF& R, int X, int Y, int Z);
  virtual void Sphere(int X, int Y, int Z, double Radius) = 0;
  virtual void StretchDraw(const TRectF& R, TBitmap* Bitmap, double Pos, TCanvas3DPlane Plane);
  virtual void Surface3D(TZelCanvasSurfaceStyle Style, bool SameBrush, bool Cell, bool Flag,
                         int NumX, int NumZ, const TZelSurfaceVertex& CalcPoints,
                         TZelCachedObject*& Cache) = 0;
  virtual void TextOut3D(int X, int Y, int Z, const String& Text, bool AllowHtml) = 0;
  virtual void Triangle3D(const std::array<TPoint3D, 3>& P,
                          const std::array<TAlphaColor, 3>& Colors) = 0;
  virtual void Triangles(const TPoint3D* P, int High, bool Flag, TZelCachedObject* Cache);
  virtual void TriangleWithZ(const TPointF& P1, const TPointF& P2, const TPointF& P3, int Z) = 0;
  virtual void TriSurface(int NumTriangles, bool Flag1, bool Flag2, TZelBlend* Blend,
                          std::int8_t Transparency, const TZelTriangleCalc& CalcPoints,
                          TZelCachedObject*& Cache);

  // --- non-virtual operations ---
  void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY,
           int Z);
  void Arrow(bool Filled, const TPointF& From, const TPointF& To, int ArrowWidth, int ArrowHeight,
             int Z);
  void AssignFont3D(TZelFont* F);
  // The outline of the flat arrow (GetArrowPoints) projected at depth Z: 7 points, the tip
  // (point 4) being the projection of To; empty when From and To coincide.
  std::vector<TPointF> GetArrowPoints(float ArrowPercent, const TPointF& From, const TPointF& To,
                                      int ArrowWidth, int ArrowHeight, int Z);
  TRectF CalcRect3D(const TRectF& R, int Z);
  TPointF Calculate3DPosition(const TPoint3D& P) { return Calculate3DPosition(P.X, P.Y, P.Z); }
  TPointF Calculate3DPosition(const TPointF& P, int Z) {
    return Calculate3DPosition(P.X, P.Y, static_cast<float>(Z));
  }
  std::vector<TPointF> Calc3DPoints(const TPointF* P, int High, int Z);
  std::vector<TPointF> Calc3DPointsFloat(const TPointF* P, int High, int Z);
  TFourPoints FourPointsFromRect(const TRectF& R, int Z);
  TRectF RectFromRectZ(const TRectF& R, int Z);
  std::vector<TPointF> CubeHull(const TRectF& R, int MinZ, int MaxZ);
  void Cube(const TRectF& R, int Z0, int Z1, bool DarkSides, int RoundSize);
  void Diamond(const TRectF& R, int Z0, int Z1);
  void EllipseWithZ(const TRectF& R, int Z);
  void LineWithZ(const TPointF& From, const TPointF& To, int Z);
  void PlaneWithZ(const TFourPoints& P, int Z);
  void Rectangle(const TRectF& R, int Z);
  void Rectangle(float X0, float Y0, float X1, float Y1, int Z);
  void TextOut3D(int X, int Y, int Z, const String& Text) { TextOut3D(X, Y, Z, Text, false); }
  void MoveTo3D(const TPoint3D& P);
  void LineTo3D(const TPoint3D& P);
  TPointF PointFromCircle(const TRectF& R, double Degrees, int ZPos, bool ClockWise);
  static TPointF PointFromSpiral(const TRectF& R, double Degrees, double Twist);
  void RotatedEllipse(int Left, int Top, int Right, int Bottom, int Z, double Angle);
  void PolylineWithZ(const TPointF* P, int High, int Z);
  std::array<TPointF, 3> TrianglePointsTo2D(const std::array<TPoint3D, 3>& P);

 protected:
  struct TEntity {
    bool Changed = false;
    TMatrix Matrix;
  };

  int IDisabledRotation = 0;
  std::vector<TEntity> ITransform;
  TView3DOptions* F3DOptions = nullptr;
  bool FIsNoBMPGrid = false;
  bool FIsOrthogonal = false;
  TZelTransform* FTransform = nullptr;
  int FXCenter = 0, FYCenter = 0, FZCenter = 0;
};


constexpr int ZelNumCylinderSides = 32;
constexpr int ZelDefaultConePercent = 0;

// --- located blocks ---

class TPointBlock : public TPersistent {
  ZEL_CLASS(TPointBlock, TPersistent)
 public:
  TNotifyEvent FOnChanged;
  TVisualBlock* IOwner = nullptr;

 protected:
  void DoChanged();
};

class TPointXYZFloat : public TPointBlock {
  ZEL_CLASS(TPointXYZFloat, TPointBlock)
  ZEL_PUBLISHED_PROPS
 public:
  TPointXYZFloat(TVisualBlock* Owner, double Default, TNotifyEvent OnChange);

  float GetX() const { return Point.X; }
  float GetY() const { return Point.Y; }
  float GetZ() const { return Point.Z; }
  void SetX(float V);
  void SetY(float V);
  void SetZ(float V);
  float GetValue() const { return Point.X; }
  void SetValue(float V);
  void SetPoint(const TPoint3DFloat& P);
  void SetPoint(float X, float Y, float Z);
  const TPoint3DFloat& GetPoint() const { return Point; }
  float GetDefault() const { return IDefault; }
  bool IsXStored() const { return Point.X != IDefault; }
  bool IsYStored() const { return Point.Y != IDefault; }
  bool IsZStored() const { return Point.Z != IDefault; }
  // The "ZZero" stream property is written only when the default is not 0 and Z is 0.
  bool IsZZeroStored() const { return IDefault != 0 && Point.Z == 0; }
  // Reading "ZZero" true sets Z to 0 without notification.
  void ReadZZero(bool Value) {
    if (Value) Point.Z = 0;
  }

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  float IDefault = 0;
  TPoint3DFloat Point;
};

class TVisualBlock : public TComponent {
  ZEL_CLASS(TVisualBlock, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TVisualBlock(TComponent* AOwner);
  ~TVisualBlock() override;

  virtual void AddPathPoint(float X, float Y, TAlphaColor Color);
  virtual void ClearPath();
  virtual void SizeChanged(TObject* Sender);
  virtual void Repaint() = 0;
  virtual void Editor() = 0;

  TPointXYZFloat* GetLocation() const { return FLocation.get(); }
  void SetLocation(TPointXYZFloat* V);
  TPointXYZFloat* GetSize() const { return FSize.get(); }
  void SetSize(TPointXYZFloat* V);
  void Assign(TPersistent* Source) override;
  // Places the block from a screen rectangle, two depths and the height of its area; stores the
  // fields without notification.
  void SetBounds(const TRectF& R, float Z0, float Z1, float Height);

  bool IsCloneable = true;

 private:
  TOwned<TPointXYZFloat> FLocation;
  TOwned<TPointXYZFloat> FSize;
};

}  // namespace zel
