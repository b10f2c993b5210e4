#include "zelgraph/canvas/Geometry.h"

#include <algorithm>
#include <cstring>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Math.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/PlatformCanvas.h"

namespace zel {

// --- points and rectangles ---

bool EqualRect(const TRectF& A, const TRectF& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

bool EqualRect(const TRect& A, const TRect& B) { return A == B; }

void InflateRectF(TRectF& R, float DX, float DY) {
  R.Left -= DX;
  R.Top -= DY;
  R.Right += DX;
  R.Bottom += DY;
}

bool ZelCull(const TPointF& P0, const TPointF& P1, const TPointF& P2) {
  return (double(P0.X) - P1.X) * (double(P2.Y) - P1.Y) -
             (double(P2.X) - P1.X) * (double(P0.Y) - P1.Y) <
         0;
}

bool ZelCull(const TFourPoints& P) { return ZelCull(P[0], P[1], P[2]); }

TPointF ZelPoint(float X, float Y) { return TPointF(X, Y); }

void Offset(TPointF& P, float D) {
  P.X += D;
  P.Y += D;
}

bool PointInRect(const TRectF& R, float X, float Y) {
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

bool PointInRect(const TRect& R, int X, int Y) {
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

bool PointInRect(const TRectF& R, const TPointF& P) { return PointInRect(R, P.X, P.Y); }

bool PointInRect(const TRect& R, const TPoint& P) { return PointInRect(R, P.X, P.Y); }

TRectF ZelRect(float Left, float Top, float Right, float Bottom) {
  return TRectF(Left, Top, Right, Bottom);
}

TRect ZelRect(int Left, int Top, int Right, int Bottom) { return TRect(Left, Top, Right, Bottom); }

TRectF ZelRect(float Width, float Height) { return TRectF(0, 0, Width, Height); }

bool IsRectEmpty(const TRectF& R) { return R.Left == R.Right && R.Top == R.Bottom; }

bool IsRectEmpty(const TRect& R) { return R.Left == R.Right && R.Top == R.Bottom; }

TRectF OrientRectangle(const TRectF& R) { return OrientRectangle(R.Left, R.Top, R.Right, R.Bottom); }

TRectF OrientRectangle(float X0, float Y0, float X1, float Y1) {
  return TRectF(std::min(X0, X1), std::min(Y0, Y1), std::max(X0, X1), std::max(Y0, Y1));
}

TRectF RectFromPolygon(const TPointF* P, int Count) {
  if (!P || Count <= 0) return ZelZeroRectF;
  TRectF R(P[0].X, P[0].Y, P[0].X, P[0].Y);
  for (int i = 1; i < Count; ++i) {
    const TPointF& Q = P[i];
    if (R.Left > Q.X)
      R.Left = Q.X;
    else if (Q.X > R.Right)
      R.Right = Q.X;
    if (R.Top > Q.Y)
      R.Top = Q.Y;
    else if (Q.Y > R.Bottom)
      R.Bottom = Q.Y;
  }
  R.Right += 1;
  R.Bottom += 1;
  return R;
}

TRectF RectFromPolygon(const std::vector<TPointF>& P) {
  return RectFromPolygon(P.data(), static_cast<int>(P.size()));
}

TRectF RectFromTriangle(const std::array<TPointF, 3>& T) { return RectFromPolygon(T.data(), 3); }

TRectF PolygonBounds(const TPointF* P, int High) {
  if (High < 0) return ZelZeroRectF;
  return RectFromPolygon(P, High + 1);
}

TRectF PolygonBounds(const std::vector<TPointF>& P) {
  return PolygonBounds(P.data(), static_cast<int>(P.size()) - 1);
}

bool DifferentPoint(const TPointF& A, const TPointF& B) { return A.X != B.X || A.Y != B.Y; }

void AddPointsToPath(TPathData& Path, const TPointF* P, int High, bool Closed) {
  if (!P || High < 0) return;
  Path.MoveTo(P[0]);
  for (int i = 1; i <= High; ++i) Path.LineTo(P[i]);
  if (Closed) Path.ClosePath();
}

std::unique_ptr<TPathData> PointsPath(const TPointF* P, int High, bool Closed) {
  auto Path = std::make_unique<TPathData>();
  AddPointsToPath(*Path, P, High, Closed);
  return Path;
}

void AddCustomFonts() {}
void RemoveCustomFonts() {}

// --- bitmaps ---

void ZelSetBitmapSize(TBitmap* B, int Width, int Height) {
  if (!B) return;
  if (B->GetWidth() != Width || B->GetHeight() != Height) B->SetSize(Width, Height);
}

int ZelDPIToPixelsPerMeter(int DPI) { return Round(DPI * 39.370079); }

namespace {

// Offsets in a BMP file: the signature, the information header's size and its horizontal and
// vertical pixels-per-metre fields (32-bit little-endian).
constexpr Int64 BmpInfoSizeOffset = 14;
constexpr Int64 BmpXPelsOffset = 38;
constexpr Int64 BmpYPelsOffset = 42;
constexpr std::uint32_t BmpMinInfoSize = 40;

bool ReadAt(TStream* S, Int64 Offset, void* Buffer, Int64 Count) {
  if (S->Seek(Offset, soBeginning) != Offset) return false;
  return S->Read(Buffer, Count) == Count;
}

bool IsBmpStream(TStream* S) {
  unsigned char Sig[2];
  unsigned char Size[4];
  if (S->GetSize() < BmpYPelsOffset + 4) return false;
  if (!ReadAt(S, 0, Sig, 2) || Sig[0] != 'B' || Sig[1] != 'M') return false;
  if (!ReadAt(S, BmpInfoSizeOffset, Size, 4)) return false;
  std::uint32_t InfoSize = std::uint32_t(Size[0]) | (std::uint32_t(Size[1]) << 8) |
                           (std::uint32_t(Size[2]) << 16) | (std::uint32_t(Size[3]) << 24);
  return InfoSize >= BmpMinInfoSize;
}

}  // namespace

bool ZelSetBitmapDPI(TStream* S, int DPI) {
  if (!S || DPI <= 0) return false;
  Int64 OldPos = S->GetPosition();
  bool Result = false;
  if (IsBmpStream(S)) {
    std::uint32_t V = static_cast<std::uint32_t>(ZelDPIToPixelsPerMeter(DPI));
    unsigned char Bytes[4] = {Byte(V), Byte(V >> 8), Byte(V >> 16), Byte(V >> 24)};
    Result = S->Seek(BmpXPelsOffset, soBeginning) == BmpXPelsOffset && S->Write(Bytes, 4) == 4 &&
             S->Seek(BmpYPelsOffset, soBeginning) == BmpYPelsOffset && S->Write(Bytes, 4) == 4;
  }
  S->Seek(OldPos, soBeginning);
  return Result;
}

bool ZelSetBitmapDPI(TBitmap* B, int DPI) {
  if (!B || DPI <= 0) return false;
  int V = ZelDPIToPixelsPerMeter(DPI);
  B->SetDotsPerMeter(V, V);
  return true;
}

// --- paths ---

ZEL_DEFINE_CLASS(TZelBasePath, TObject)
ZEL_DEFINE_CLASS(TZelPath, TZelBasePath)

TZelPath::TZelPath(TZelCanvas* ACanvas) : ICanvas(ACanvas), IPath(new TPathData()) {}

TZelPath::~TZelPath() { delete IPath; }

void TZelPath::ArcTo(float X, float Y, float Width, float Height, float StartAngle,
                     float SweepAngle) {
  // The arc fits the box: its radii are half the box's width and height.
  IPath->AddArc(TPointF(X + Width * 0.5f, Y + Height * 0.5f),
                TPointF(Width * 0.5f, Height * 0.5f), StartAngle, SweepAngle);
}

void TZelPath::Close() { IPath->ClosePath(); }

void TZelPath::Curve(const TPointF* P, int High, float /*Tension*/, bool Closed) {
  AddPointsToPath(*IPath, P, High, Closed);
}

void TZelPath::LineTo(float X, float Y) { IPath->LineTo(TPointF(X, Y)); }

void TZelPath::MoveTo(float X, float Y) { IPath->MoveTo(TPointF(X, Y)); }

void TZelPath::Draw(TZelCanvas* Canvas) {
  if (!Canvas) return;
  TZelPen* Pen = Canvas->GetPen();
  TZelBrush* Brush = Canvas->GetBrush();
  bool PenVisible = Pen->GetVisible();
  TCanvas* Platform = Canvas->GetCanvas();
  if (!Platform) return;
  float Opacity = Canvas->Opacity();
  // The platform fill takes the current brush, or its visible gradient.
  TBrush* Fill = Platform->GetFill();
  if (Canvas->IsGradientVisible()) {
    Brush->GetGradient()->PrepareGradient(*Fill->GetGradient());
    Fill->SetKind(TBrushKind::Gradient);
  } else {
    Fill->Assign(Brush);
  }
  if (Brush->GetKind() != TBrushKind::None) {
    Platform->FillPath(*IPath, Opacity);
    Fill->SetKind(TBrushKind::Solid);
  }
  if (PenVisible && Pen->GetStyle() != TPenStyle::psClear) Platform->DrawPath(*IPath, Opacity);
}

// --- unit start and end ---

TZelRenderClassList* ZelRenderClasses = nullptr;
std::vector<TAlphaColor>* ZelCustomEditColors = nullptr;

namespace {
int CanvasUnitCount = 0;
}

void ZelCanvasUnitStart() {
  if (CanvasUnitCount++ > 0) return;
  ZelDefaultFont();
  AddCustomFonts();
  ZelRenderClasses = new TZelRenderClassList{TZelCanvas3D::StaticClass()};
}

void ZelCanvasUnitEnd() {
  if (CanvasUnitCount == 0 || --CanvasUnitCount > 0) return;
  RemoveCustomFonts();
  if (ZelRenderClasses) {
    std::erase(*ZelRenderClasses, TZelCanvas3D::StaticClass());
    delete ZelRenderClasses;
    ZelRenderClasses = nullptr;
  }
  delete ZelCustomEditColors;
  ZelCustomEditColors = nullptr;
  GetDefaultFontName.clear();
}

}  // namespace zel
