#include "zelgraph/canvas/Canvas3D.h"

#include <algorithm>
#include <cmath>

#include "platform/Bitmap.h"
#include "platform/Filer.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

namespace {
constexpr double PiStep = M_PI / 180.0;
}

ZEL_DEFINE_CLASS(TZelTransform, TObject)
ZEL_DEFINE_CLASS(TCanvas3D, TZelCanvas)

TCanvas3D::TCanvas3D() = default;
TCanvas3D::~TCanvas3D() = default;

void TCanvas3D::BeginEntity(const String&, TVisualBlock*, TZelTransform* Transform) {
  TEntity E;
  E.Changed = Transform != nullptr && Transform->Enabled && FCanvas != nullptr;
  if (E.Changed) {
    E.Matrix = FCanvas->GetMatrix();
    FCanvas->BeginScene();
    TMatrix Local;
    if (Transform->Translate.X != 0 || Transform->Translate.Y != 0)
      Local = Local * TMatrix::CreateTranslation(Transform->Translate.X, Transform->Translate.Y);
    const TPointF O = Transform->Origin;
    if (Transform->Rotate != 0)
      Local = Local * TMatrix::CreateTranslation(-O.X, -O.Y) *
              TMatrix::CreateRotation(float(Transform->Rotate * PiStep)) *
              TMatrix::CreateTranslation(O.X, O.Y);
    if (Transform->Scale.X != 1 || Transform->Scale.Y != 1)
      Local = Local * TMatrix::CreateTranslation(-O.X, -O.Y) *
              TMatrix::CreateScaling(Transform->Scale.X, Transform->Scale.Y) *
              TMatrix::CreateTranslation(O.X, O.Y);
    FCanvas->SetMatrix(Local * E.Matrix);
  }
  ITransform.push_back(E);
}

void TCanvas3D::EndEntity() {
  if (ITransform.empty()) return;
  TEntity E = ITransform.back();
  ITransform.pop_back();
  if (E.Changed && FCanvas) {
    FCanvas->SetMatrix(E.Matrix);
    FCanvas->EndScene();
  }
}

void TCanvas3D::DrawLighting(TEdgeStyle, int, const TRectF&, const TRectF&, const TRectF&, int,
                             int, const TPointF&, bool) {}

bool TCanvas3D::CheckFastBrush() { return false; }

void TCanvas3D::SmoothShadow(TZelShadow* Shadow, const TRectF& R, bool IsEllipse, int RoundSize,
                             const TPointF* Points, int High, int, double StartAngle,
                             double EndAngle) {
  if (!Shadow) return;
  TAlphaColor Color = Shadow->GetColor();
  FBrush->SetColor(Color);
  FBrush->SetKind(TBrushKind::Solid);
  if (FPen->GetStyle() != TPenStyle::psClear) {
    FPen->SetStyle(TPenStyle::psSolid);
    FPen->SetColor(Color);
  }
  if (Points && High >= 0) {
    Polygon(Points, High);
  } else if (IsEllipse) {
    TZelGradient* Old = nullptr;
    bool Smooth = Shadow->GetSmooth();
    if (Smooth) {
      Old = Create<TZelGradient>();
      Old->Assign(GetGradient());
      TZelGradient* G = GetGradient();
      G->SetDirection(TGradientDirection::gdRadial);
      G->SetStartColor(ApplyDark(Color, 128));
      G->SetEndColor(Color == 0xFF000000 ? 0xFFC0C0C0 : ApplyBright(Color, 32));
      G->SetVisible(true);
      FPen->SetStyle(TPenStyle::psClear);
    }
    TRestoreOnExit RestoreGradient([this, Old] {
      if (!Old) return;
      TOwned<TZelGradient> Saved(Old);
      GetGradient()->Assign(Old);
      FBrush->SetKind(Old->GetVisible() ? TBrushKind::Gradient : TBrushKind::Solid);
    });
    if (EndAngle - StartAngle == 360)
      TZelCanvas::Ellipse(R);
    else
      Pie(R, StartAngle, EndAngle);
  } else if (RoundSize != 0) {
    TZelCanvas::RoundRect(R, RoundSize, RoundSize);
  } else {
    FillRect(R);
  }
}

void TCanvas3D::Assign(TCanvas3D* Source) {
  if (!Source) return;
  SetMonochrome(Source->GetMonochrome());
  F3DOptions = Source->F3DOptions;
}

bool TCanvas3D::RenderToBitmap(TBitmap*&, const TRectF&) { return false; }

void TCanvas3D::Diamond(float Left, float Top, float Right, float Bottom, int Z0, int Z1) {
  float MX = (Left + Right) / 2, MY = (Top + Bottom) / 2;
  TPointF P[4] = {{MX, Top}, {Right, MY}, {MX, Bottom}, {Left, MY}};
  PolygonWithZ(P, 3, (Z0 + Z1) / 2);
}

void TCanvas3D::DisableRotation() {}
void TCanvas3D::EnableRotation() {}

void TCanvas3D::HorizLine3D(float Left, float Right, float Y, float Z) {
  MoveTo3D(Left, Y, Z);
  LineTo3D(Right, Y, Z);
}

void TCanvas3D::RoundRect(const TRectF& R, int X, int Y, int Z, int) {
  if (GetSupportsFullRotation())
    RectangleWithZ(R, Z);
  else
    TZelCanvas::RoundRect(CalcRect3D(R, Z), X, Y);
}

void TCanvas3D::VertLine3D(float X, float Top, float Bottom, float Z) {
  MoveTo3D(X, Top, Z);
  LineTo3D(X, Bottom, Z);
}

void TCanvas3D::ZLine3D(float X, float Y, float Z0, float Z1) {
  MoveTo3D(X, Y, Z0);
  LineTo3D(X, Y, Z1);
}

void TCanvas3D::FrontPlaneBegin() {
  if (IDisabledRotation == 0) DisableRotation();
  ++IDisabledRotation;
}

void TCanvas3D::FrontPlaneEnd() {
  if (IDisabledRotation <= 0) return;  // unbalanced end: nothing to re-enable
  --IDisabledRotation;
  if (IDisabledRotation == 0) EnableRotation();
}

void TCanvas3D::LineWithZ(float X0, float Y0, float X1, float Y1, float Z) {
  MoveTo3D(X0, Y0, Z);
  LineTo3D(X1, Y1, Z);
}

void TCanvas3D::MoveTo3D(float X, float Y, float Z) { MoveTo(Calculate3DPosition(X, Y, Z)); }
void TCanvas3D::LineTo3D(float X, float Y, float Z) { LineTo(Calculate3DPosition(X, Y, Z)); }

void TCanvas3D::Polygon3DConcave(const TPoint3D* P, int High, bool) { Polygon3D(P, High); }

void TCanvas3D::PolygonWithZ(const TPointF* P, int High, int Z) {
  if (High < 0) return;
  std::vector<TPointF> Q = Calc3DPoints(P, High, Z);
  Polygon(Q.data(), High);
}

void TCanvas3D::PolygonConcave(const TPointF* P, int High, int Z) { PolygonWithZ(P, High, Z); }

void TCanvas3D::Polyline(const TPointF* P, int High, int Z) {
  if (High < 0) return;
  std::vector<TPointF> Q = Calc3DPoints(P, High, Z);
  Polyline(Q.data(), High);
}

void TCanvas3D::PyramidTrunc(const TRectF& R, double StartZ, double EndZ, double TruncX,
                             double TruncZ, bool TopCover, bool BottomCover) {
  const float CX = (R.Left + R.Right) / 2;
  const double CZ = (StartZ + EndZ) / 2;
  auto P3 = [&](double X, double Y, double Z) {
    return Calculate3DPosition(float(X), float(Y), float(Z));
  };
  const bool Inverted = R.Top > R.Bottom;
  auto Face = [&](const TPointF (&Q)[4]) { Polygon(Q, 3); };
  auto Bottom = [&] {
    if (!BottomCover) return;
    TPointF Q[4] = {P3(R.Left, R.Bottom, StartZ), P3(R.Right, R.Bottom, StartZ),
                    P3(R.Right, R.Bottom, EndZ), P3(R.Left, R.Bottom, EndZ)};
    Face(Q);
  };
  auto Top = [&] {
    if (!TopCover || TruncX == 0) return;
    TPointF Q[4] = {P3(CX - TruncX, R.Top, CZ - TruncZ), P3(CX + TruncX, R.Top, CZ - TruncZ),
                    P3(CX + TruncX, R.Top, CZ + TruncZ), P3(CX - TruncX, R.Top, CZ + TruncZ)};
    Face(Q);
  };
  // A wall running across the depth (front type) or along it (side type).
  auto FrontWall = [&](double T, double B, bool Inv) {
    TPointF Q[4] = {P3(CX - TruncX, R.Top, T), P3(CX + TruncX, R.Top, T), P3(R.Right, R.Bottom, B),
                    P3(R.Left, R.Bottom, B)};
    bool C = ZelCull(Q[1], Q[2], Q[3]);
    if (Inv) C = !C;
    if (Inverted) C = !C;
    if (C) Face(Q);
  };
  auto SideWall = [&](double A, double S, bool Flag) {
    TPointF Q[4] = {P3(S, R.Top, CZ - TruncZ), P3(S, R.Top, CZ + TruncZ), P3(A, R.Bottom, EndZ),
                    P3(A, R.Bottom, StartZ)};
    bool C = ZelCull(Q[3], Q[2], Q[1]);
    if (!Flag) C = !C;
    if (Inverted) C = !C;
    if (C) Face(Q);
  };
  const bool BottomFirst = R.Bottom > R.Top;
  if (BottomFirst) Bottom(); else Top();
  if (TruncX != 0 || StartZ != EndZ) {
    FrontWall(CZ + TruncZ, EndZ, true);
    SideWall(R.Left, CX - TruncX, true);
    FrontWall(CZ - TruncZ, StartZ, false);
    SideWall(R.Right, CX + TruncX, false);
  } else {
    FrontWall(CZ + TruncZ, EndZ, false);
  }
  if (BottomFirst) Top(); else Bottom();
}

void TCanvas3D::RoundRectWithZ(const TRectF& R, int, int, int Z) { RectangleWithZ(R, Z); }

void TCanvas3D::StretchDraw(const TRectF& R, TBitmap* Bitmap, double Pos, TCanvas3DPlane Plane) {
  FPen->SetStyle(TPenStyle::psClear);
  if (!Bitmap || Bitmap->IsEmpty() || !FCanvas) return;
  const int W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  const double SX = (double(R.Right) - R.Left) / W, SY = (double(R.Bottom) - R.Top) / H;
  TBitmapData Data;
  if (!Bitmap->Map(TMapAccess::Read, Data)) return;
  SetAntiAlias(false);
  const float P = float(Round(Pos));
  auto Project = [&](float U, float V) {
    switch (Plane) {
      case TCanvas3DPlane::cpX: return Calculate3DPosition(P, V, U);
      case TCanvas3DPlane::cpY: return Calculate3DPosition(U, P, V);
      default: return Calculate3DPosition(U, V, P);
    }
  };
  TBrush* Fill = FCanvas->GetFill();
  TBrush Saved;
  Saved.Assign(Fill);
  TPolygon Cell(4);
  float Y0 = R.Top;
  for (int i = 0; i < H; ++i) {
    float Y1 = R.Top + float(Round(SY * (i + 1)));
    float X0 = R.Left;
    for (int k = 0; k < W; ++k) {
      float X1 = R.Left + float(Round(SX * (k + 1)));
      Cell[0] = Project(X0, Y0);
      Cell[1] = Project(X1, Y0);
      Cell[2] = Project(X1, Y1);
      Cell[3] = Project(X0, Y1);
      Fill->SetKind(TBrushKind::Solid);
      Fill->SetColor(Data.GetPixel(k, i));
      FCanvas->FillPolygon(Cell, Opacity());
      X0 = X1;
    }
    Y0 = Y1;
  }
  Fill->Assign(&Saved);
  SetAntiAlias(true);
  Bitmap->Unmap(Data);
}

void TCanvas3D::Triangles(const TPoint3D*, int, bool, TZelCachedObject*) {}

void TCanvas3D::TriSurface(int NumTriangles, bool, bool, TZelBlend* Blend, std::int8_t,
                           const TZelTriangleCalc& CalcPoints, TZelCachedObject*&) {
  if (!CalcPoints) return;
  for (int i = 1; i <= NumTriangles; ++i) {
    std::array<TPoint3D, 3> P{};
    std::array<TAlphaColor, 3> C{};
    std::array<int, 3> Idx{};
    CalcPoints(i, P, C, Idx);
    if (Blend) Blend->SetRectangle(RectFromTriangle(TrianglePointsTo2D(P)));
    Triangle3D(P, C);
  }
}

// --- non-virtual operations ---

void TCanvas3D::Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX,
                    int EndY, int Z) {
  TRectF R = CalcRect3D(TRectF(float(Left), float(Top), float(Right), float(Bottom)), Z);
  TPointF S = Calculate3DPosition(StartX, StartY, Z);
  TPointF E = Calculate3DPosition(EndX, EndY, Z);
  Arc(Round(R.Left), Round(R.Top), Round(R.Right), Round(R.Bottom), Round(S.X), Round(S.Y),
      Round(E.X), Round(E.Y));
}

void TCanvas3D::Arrow(bool Filled, const TPointF& From, const TPointF& To, int ArrowWidth,
                      int ArrowHeight, int Z) {
  Arrow(Filled, From, To, ArrowWidth, ArrowHeight, Z, Z, 50);
}

std::vector<TPointF> TCanvas3D::GetArrowPoints(float ArrowPercent, const TPointF& From,
                                               const TPointF& To, int ArrowWidth,
                                               int ArrowHeight, int Z) {
  std::vector<TPointF> P = GetArrowPoints(ArrowPercent, From, To, ArrowWidth, ArrowHeight);
  for (TPointF& Q : P) Q = Calculate3DPosition(Q, Z);
  return P;
}

void TCanvas3D::AssignFont3D(TZelFont* F) {
  if (!F) return;
  if (!GetSupports3DText() && F3DOptions && F3DOptions->GetZoomText() != TCanvasZoomText::ztNo &&
      F3DOptions->GetZoom() != 100)
    AssignFontSize(F, float(F->GetSizeFloat() * 0.01 * F3DOptions->GetZoom()));
  else
    AssignFont(F);
}

TRectF TCanvas3D::CalcRect3D(const TRectF& R, int Z) {
  TPointF A = Calculate3DPosition(R.Left, R.Top, float(Z));
  TPointF B = Calculate3DPosition(R.Right, R.Bottom, float(Z));
  return {A, B};
}

std::vector<TPointF> TCanvas3D::Calc3DPoints(const TPointF* P, int High, int Z) {
  std::vector<TPointF> Q;
  if (!P || High < 0) return Q;
  Q.reserve(std::size_t(High) + 1);
  for (int i = 0; i <= High; ++i) Q.push_back(Calculate3DPosition(P[i].X, P[i].Y, float(Z)));
  return Q;
}

std::vector<TPointF> TCanvas3D::Calc3DPointsFloat(const TPointF* P, int High, int Z) {
  return Calc3DPoints(P, High, Z);
}

TFourPoints TCanvas3D::FourPointsFromRect(const TRectF& R, int Z) {
  float FZ = float(Z);
  return {Calculate3DPosition(R.Left, R.Top, FZ), Calculate3DPosition(R.Right, R.Top, FZ),
          Calculate3DPosition(R.Right, R.Bottom, FZ), Calculate3DPosition(R.Left, R.Bottom, FZ)};
}

TRectF TCanvas3D::RectFromRectZ(const TRectF& R, int Z) {
  TFourPoints P = FourPointsFromRect(R, Z);
  return RectFromPolygon(P.data(), 4);
}

std::vector<TPointF> TCanvas3D::CubeHull(const TRectF& R, int MinZ, int MaxZ) {
  float Z0 = float(MinZ), Z1 = float(MaxZ);
  std::vector<TPointF> P = {
      Calculate3DPosition(R.Left, R.Bottom, Z0),  Calculate3DPosition(R.Left, R.Bottom, Z1),
      Calculate3DPosition(R.Left, R.Top, Z1),     Calculate3DPosition(R.Right, R.Top, Z1),
      Calculate3DPosition(R.Right, R.Top, Z0),    Calculate3DPosition(R.Right, R.Bottom, Z0),
      Calculate3DPosition(R.Left, R.Top, Z0),     Calculate3DPosition(R.Right, R.Bottom, Z1)};
  ConvexHull(P);
  return P;
}

void TCanvas3D::Cube(const TRectF& R, int Z0, int Z1, bool DarkSides, int RoundSize) {
  TRect Q = R.Round();
  Cube(Q.Left, Q.Right, Q.Top, Q.Bottom, Z0, Z1, DarkSides, RoundSize);
}

void TCanvas3D::Diamond(const TRectF& R, int Z0, int Z1) {
  Diamond(R.Left, R.Top, R.Right, R.Bottom, Z0, Z1);
}
void TCanvas3D::EllipseWithZ(const TRectF& R, int Z) {
  EllipseWithZ(R.Left, R.Top, R.Right, R.Bottom, Z);
}
void TCanvas3D::LineWithZ(const TPointF& From, const TPointF& To, int Z) {
  LineWithZ(From.X, From.Y, To.X, To.Y, float(Z));
}
void TCanvas3D::PlaneWithZ(const TFourPoints& P, int Z) { PlaneWithZ(P[0], P[1], P[2], P[3], Z); }
void TCanvas3D::Rectangle(const TRectF& R, int Z) { RectangleWithZ(R, Z); }
void TCanvas3D::Rectangle(float X0, float Y0, float X1, float Y1, int Z) {
  RectangleWithZ(TRectF(X0, Y0, X1, Y1), Z);
}
void TCanvas3D::MoveTo3D(const TPoint3D& P) { MoveTo3D(float(P.X), float(P.Y), float(P.Z)); }
void TCanvas3D::LineTo3D(const TPoint3D& P) { LineTo3D(float(P.X), float(P.Y), float(P.Z)); }

TPointF TCanvas3D::PointFromCircle(const TRectF& R, double Degrees, int ZPos, bool ClockWise) {
  double CX = Round((double(R.Left) + R.Right) / 2), CY = Round((double(R.Top) + R.Bottom) / 2);
  double A = Degrees * PiStep;
  double X = CX + (double(R.Right) - R.Left) / 2 * std::cos(A);
  double DY = (double(R.Bottom) - R.Top) / 2 * std::sin(A);
  double Y = ClockWise ? CY + DY : CY - DY;
  if (ZPos != 0) return Calculate3DPosition(float(X), float(Y), float(ZPos));
  return {float(X), float(Y)};
}

TPointF TCanvas3D::PointFromSpiral(const TRectF& R, double Degrees, double Twist) {
  double Rad = std::min((double(R.Right) - R.Left) / 2, (double(R.Bottom) - R.Top) / 2) *
               std::exp(Degrees * PiStep * Twist);
  double A = Degrees * PiStep;
  return {float(Round(Rad * std::cos(A)) + Round((double(R.Left) + R.Right) / 2)),
          float(Round(Rad * std::sin(A)) + Round((double(R.Top) + R.Bottom) / 2))};
}

void TCanvas3D::RotatedEllipse(int Left, int Top, int Right, int Bottom, int Z, double Angle) {
  double CX = (double(Left) + Right) / 2, CY = (double(Top) + Bottom) / 2;
  double A = Angle * PiStep, SA = std::sin(A), CA = std::cos(A);
  std::vector<TPointF> P(NumCirclePoints);
  for (int i = 0; i < NumCirclePoints; ++i) {
    double T = 2 * M_PI / (NumCirclePoints - 1) * i;
    double D = (CX - Left) * std::sin(T), E = (CY - Top) * std::cos(T);
    P[std::size_t(i)] = {float(CX + D * CA + E * SA), float(CY - D * SA + E * CA)};
  }
  if (FBrush->GetKind() != TBrushKind::None)
    PolygonWithZ(P.data(), NumCirclePoints - 1, Z);
  else if (FPen->GetStyle() != TPenStyle::psClear)
    PolylineWithZ(P.data(), NumCirclePoints - 1, Z);
}

void TCanvas3D::PolylineWithZ(const TPointF* P, int High, int Z) {
  if (High < 0) return;
  std::vector<TPointF> Q = Calc3DPointsFloat(P, High, Z);
  Polyline(Q.data(), High);
}

std::array<TPointF, 3> TCanvas3D::TrianglePointsTo2D(const std::array<TPoint3D, 3>& P) {
  return {Calculate3DPosition(P[0]), Calculate3DPosition(P[1]), Calculate3DPosition(P[2])};
}

// --- located blocks ---

ZEL_DEFINE_CLASS(TPointBlock, TPersistent)
ZEL_DEFINE_CLASS(TPointXYZFloat, TPointBlock)
ZEL_DEFINE_CLASS(TVisualBlock, TComponent)

void TPointBlock::DoChanged() {
  if (FOnChanged) FOnChanged(this);
  if (IOwner) IOwner->Repaint();
}

TPointXYZFloat::TPointXYZFloat(TVisualBlock* Owner, double Default, TNotifyEvent OnChange) {
  IOwner = Owner;
  FOnChanged = std::move(OnChange);
  IDefault = float(Default);
  Point = {IDefault, IDefault, IDefault};
}

void TPointXYZFloat::SetX(float V) {
  if (Point.X != V) {
    Point.X = V;
    DoChanged();
  }
}
void TPointXYZFloat::SetY(float V) {
  if (Point.Y != V) {
    Point.Y = V;
    DoChanged();
  }
}
void TPointXYZFloat::SetZ(float V) {
  if (Point.Z != V) {
    Point.Z = V;
    DoChanged();
  }
}
void TPointXYZFloat::SetValue(float V) {
  Point = {V, V, V};
  DoChanged();
}
void TPointXYZFloat::SetPoint(const TPoint3DFloat& P) {
  Point = P;
  DoChanged();
}
void TPointXYZFloat::SetPoint(float X, float Y, float Z) { SetPoint(TPoint3DFloat{X, Y, Z}); }

void TPointXYZFloat::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TPointXYZFloat*>(Source)) {
    Point = S->Point;
    DoChanged();
  } else {
    TPointBlock::Assign(Source);
  }
}

void TPointXYZFloat::DefineProperties(TFiler* Filer) {
  TPointBlock::DefineProperties(Filer);
  Filer->DefineProperty(
      "ZZero", [this](TReader* Reader) { ReadZZero(Reader->ReadBoolean()); },
      [](TWriter* Writer) { Writer->WriteBoolean(true); }, IsZZeroStored());
}

TVisualBlock::TVisualBlock(TComponent* AOwner) : TComponent(AOwner) {
  FLocation.reset(new TPointXYZFloat(this, 0, nullptr));
  FSize.reset(new TPointXYZFloat(this, 100, [this](TObject* S) { SizeChanged(S); }));
}

TVisualBlock::~TVisualBlock() {
  FSize.reset();
  FLocation.reset();
}

void TVisualBlock::AddPathPoint(float, float, TAlphaColor) {}
void TVisualBlock::ClearPath() {}
void TVisualBlock::SizeChanged(TObject*) {}

void TVisualBlock::SetLocation(TPointXYZFloat* V) {
  if (V) FLocation->Point = V->Point;
  Repaint();
}

void TVisualBlock::SetSize(TPointXYZFloat* V) {
  if (V) FSize->Point = V->Point;
  Repaint();
}

void TVisualBlock::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TVisualBlock*>(Source)) {
    FLocation->Point = S->FLocation->Point;
    FSize->Point = S->FSize->Point;
    IsCloneable = S->IsCloneable;
  } else {
    TComponent::Assign(Source);
  }
}

void TVisualBlock::SetBounds(const TRectF& R, float Z0, float Z1, float Height) {
  FLocation->Point.X = (R.Left + R.Right) / 2;
  FLocation->Point.Z = Height - (R.Top + R.Bottom) / 2;
  FLocation->Point.Y = (Z0 + Z1) / 2;
  FSize->Point.X = std::fabs(R.Right - R.Left);
  FSize->Point.Z = std::fabs(R.Bottom - R.Top);
  FSize->Point.Y = std::fabs(Z1 - Z0);
}

// ---------------------------------------------------------------------------------------------
// Published properties

// Value sets all three: read, not written.
ZEL_BEGIN_PUBLISHED(TPointXYZFloat)
  P::Prop("X", &Self::GetX, &Self::SetX, &Self::IsXStored),
  P::Prop("Y", &Self::GetY, &Self::SetY, &Self::IsYStored),
  P::Prop("Z", &Self::GetZ, &Self::SetZ, &Self::IsZStored),
  P::Prop("Value", &Self::GetValue, &Self::SetValue, Never),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TVisualBlock)
  P::Obj("Location", &Self::GetLocation),
  P::Obj("Size", &Self::GetSize),
ZEL_END_PUBLISHED

}  // namespace zel
