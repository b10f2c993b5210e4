#include "zelgraph/canvas/PlatformCanvas.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/html/Html.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

namespace {
constexpr double PiStep = M_PI / 180.0;

// The grey of a colour's mean channel, as opaque as the colour itself.
TAlphaColor GreyOf(TAlphaColor C) {
  int M = (RedOf(C) + GreenOf(C) + BlueOf(C)) / 3;
  return MakeColor(Byte(M), Byte(M), Byte(M), AlphaOf(C));
}
}  // namespace

// The class reference carries a factory, so that a panel can create its canvas from the
// render-class registry (the owner is not used: a canvas belongs to the panel that made it).
const TClass* TZelCanvas3D::StaticClass() {
  static const TClass C{"TZelCanvas3D", TCanvas3D::StaticClass(),
                        [](TComponent*) -> TObject* { return Create<TZelCanvas3D>(); }, {}};
  return &C;
}

TZelCanvas3D::TZelCanvas3D() {
  FFontZoom = 100;
  IZoomText = true;
  FBufferedDisplay = true;
  FDirty = true;
}

TZelCanvas3D::~TZelCanvas3D() { DeleteBitmap(); }

void TZelCanvas3D::SetMonochrome(bool Value) {
  if (FMonochrome == Value) return;
  FMonochrome = Value;
  FDirty = true;
  if (F3DOptions) F3DOptions->Repaint();
}

void TZelCanvas3D::SetUseBuffer(bool Value) {
  if (FBufferedDisplay == Value) return;
  FBufferedDisplay = Value;
  if (!FBitmap) return;
  if (Value) {
    SetCanvas(FBitmap->GetCanvas());
  } else {
    if (!IKeepBitmap) DeleteBitmap();
    FDirty = true;
  }
}

void TZelCanvas3D::DeleteBitmap() {
  if (!FBitmap) return;
  TCanvas* C = FBitmap->GetCanvas();
  if (FCanvas == C) FCanvas = nullptr;
  std::erase_if(IClipStates, [C](const auto& S) { return S.first == C; });
  if (ISceneOpen == C) ISceneOpen = nullptr;
  IForgetLayouts(C);
  FreeAndNil(FBitmap);
}

bool TZelCanvas3D::PenVisible() {
  return FPen->GetVisible() && FPen->GetStyle() != TPenStyle::psClear;
}

// --- 2D primitives ---

void TZelCanvas3D::FillRect(const TRectF& R) {
  if (!FCanvas) return;
  PrepareBrush();
  FCanvas->FillRect(R, 0, 0, AllCorners, Opacity());
  FBrush->SetKind(TBrushKind::Solid);
}

void TZelCanvas3D::EraseBackground(const TRectF& R) { FillRect(R); }

void TZelCanvas3D::Rectangle(float X0, float Y0, float X1, float Y1) {
  if (!FCanvas) return;
  TRectF R(X0, Y0, X1, Y1);
  if (FBrush->GetKind() != TBrushKind::None) {
    PrepareBrush();
    FCanvas->FillRect(R, 0, 0, AllCorners, Opacity());
    FBrush->SetKind(TBrushKind::Solid);
  }
  if (PenVisible()) FCanvas->DrawRect(R, 0, 0, AllCorners, Opacity());
}

void TZelCanvas3D::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  if (!FCanvas) return;
  TRectF R{float(X1), float(Y1), float(X2), float(Y2)};
  float RX = float(X3 / 2), RY = float(Y3 / 2);
  if (FBrush->GetKind() != TBrushKind::None) {
    PrepareBrush();
    FCanvas->FillRect(R, RX, RY, AllCorners, Opacity());
    FBrush->SetKind(TBrushKind::Solid);
  }
  if (PenVisible()) FCanvas->DrawRect(R, RX, RY, AllCorners, Opacity());
}

void TZelCanvas3D::Ellipse(float X1, float Y1, float X2, float Y2) {
  if (!FCanvas) return;
  TRectF R(X1, Y1, X2, Y2);
  if (FBrush->GetKind() != TBrushKind::None) {
    PrepareBrush();
    FCanvas->FillEllipse(R, Opacity());
    FBrush->SetKind(TBrushKind::Solid);
  }
  if (PenVisible()) FCanvas->DrawEllipse(R, Opacity());
}

void TZelCanvas3D::MoveTo(float X, float Y) {
  FX = X;
  FY = Y;
}

void TZelCanvas3D::LineTo(float X, float Y) {
  if (FCanvas) FCanvas->DrawLine({FX, FY}, {X, Y}, Opacity());
  FX = X;
  FY = Y;
}

void TZelCanvas3D::FastLineTo(int X, int Y) { LineTo(float(X), float(Y)); }

void TZelCanvas3D::Polyline(const TPointF* P, int High) {
  // One call for the whole line: the platform merges points of one pixel column.
  if (!FCanvas || !P || High < 0) return;
  FCanvas->DrawPolyline(P, std::size_t(High) + 1, Opacity());
}

bool TZelCanvas3D::MergesPolylineColumns() const { return FCanvas && FCanvas->MergesPolylines(Opacity()); }

bool TZelCanvas3D::ReplacesPixels() const { return FCanvas && FCanvas->ReplacesPixels(Opacity()); }

bool TZelCanvas3D::MergesColumnStrokes() const { return FCanvas && FCanvas->MergesColumnStrokes(Opacity()); }

void TZelCanvas3D::Polygon(const TPointF* P, int High) {
  if (!FCanvas || !P || High < 0) return;
  TPolygon Points(P, P + High + 1);
  PrepareBrush();
  if (FBrush->GetKind() != TBrushKind::None) {
    FCanvas->FillPolygon(Points, Opacity());
    FBrush->SetKind(TBrushKind::Solid);
  }
  if (PenVisible()) FCanvas->DrawPolygon(Points, Opacity());
}

void TZelCanvas3D::FillAndStroke(const TPathData& Path) {
  if (FBrush->GetKind() != TBrushKind::None) {
    PrepareBrush();
    FCanvas->FillPath(Path, Opacity());
    FBrush->SetKind(TBrushKind::Solid);
  }
  if (PenVisible()) FCanvas->DrawPath(Path, Opacity());
}

void TZelCanvas3D::Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX,
                       int EndY) {
  if (!FCanvas || !PenVisible()) return;
  double S, E;
  CalcArcAngles(Left, Top, Right, Bottom, StartX, StartY, EndX, EndY, S, E);
  TPointF C{float((double(Left) + Right) / 2), float((double(Top) + Bottom) / 2)};
  TPointF Radius{float((double(Right) - Left) / 2), float((double(Bottom) - Top) / 2)};
  if (Top < Bottom)
    FCanvas->DrawArc(C, Radius, float(-S), float(S - E), Opacity());
  else
    FCanvas->DrawArc(C, Radius, float(S), float(E - S), Opacity());
}

void TZelCanvas3D::Donut(const TRectF& R, double StartAngle, double EndAngle,
                         double HolePercent) {
  if (!FCanvas) return;
  float T = PenVisible() ? FCanvas->GetStrokeThickness() : 0;
  std::unique_ptr<TPathData> Path(DonutPath(R, StartAngle, EndAngle, HolePercent * 100, T));
  FillAndStroke(*Path);
}

void TZelCanvas3D::Donut(int XCenter, int YCenter, int XRadius, int YRadius, double StartAngle,
                         double EndAngle, double HolePercent) {
  TRectF R(float(XCenter - XRadius), float(YCenter - YRadius), float(XCenter + XRadius),
           float(YCenter + YRadius));
  Donut(R, StartAngle * 180 / M_PI, EndAngle * 180 / M_PI, HolePercent * 0.01);
}

void TZelCanvas3D::Pie(const TRectF& R, double StartAngle, double EndAngle) {
  Donut(R, StartAngle, EndAngle, 0.0);
}

void TZelCanvas3D::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  float S, E;
  CalcPieAngles(X1, Y1, X2, Y2, X3, Y3, X4, Y4, S, E);
  Pie(TRectF(float(X1), float(Y1), float(X2), float(Y2)), S, E);
}

void TZelCanvas3D::CalcPieAngles(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4,
                                 float& StartAngle, float& EndAngle) {
  float CX = X1 + (X2 - X1) / 2.0f, CY = Y1 + (Y2 - Y1) / 2.0f;
  auto AngleOf = [&](int X, int Y) {
    float A = std::atan2(CY - float(Y), float(X) - CX);
    if (A < 0) A += float(2 * M_PI);
    return A * float(180 / M_PI);
  };
  StartAngle = AngleOf(X3, Y3);
  EndAngle = AngleOf(X4, Y4);
  if (StartAngle == 360) StartAngle = 0;
  if (EndAngle == 0) EndAngle = 360;
}

void TZelCanvas3D::Draw(int X, int Y, TBitmap* Bitmap) {
  if (!FCanvas || !Bitmap || Bitmap->IsEmpty()) return;
  float W = float(Bitmap->GetWidth()), H = float(Bitmap->GetHeight());
  FCanvas->DrawBitmap(Bitmap, TRectF(0, 0, W, H), TRectF(float(X), float(Y), X + W, Y + H),
                      Opacity(), FStretchQuality == TCanvasStretchQuality::sqLow);
}

void TZelCanvas3D::StretchDraw(const TRectF& R, TBitmap* Bitmap) {
  if (!FCanvas || !Bitmap || Bitmap->IsEmpty()) return;
  FCanvas->DrawBitmap(Bitmap, TRectF(0, 0, float(Bitmap->GetWidth()), float(Bitmap->GetHeight())),
                      R, Opacity(), FStretchQuality == TCanvasStretchQuality::sqLow);
}

void TZelCanvas3D::GradientFill(const TRectF& R, TAlphaColor StartColor, TAlphaColor EndColor,
                                TGradientDirection Direction, int, int RadialX, int RadialY) {
  if (!FCanvas) return;
  TBrush* Fill = FCanvas->GetFill();
  TGradient* G = Fill->GetGradient();
  // The fill runs in the direction asked for, whatever the previous fill left.
  TPointF Start, Stop;
  bool Reversed = false;
  GradientDirectionLine(Direction, Start, Stop, Reversed);
  G->SetColor(Reversed ? EndColor : StartColor);
  G->SetColor1(Reversed ? StartColor : EndColor);
  if (Direction == TGradientDirection::gdRadial) {
    // The centre moves by the offsets and turns about the middle of the rectangle.
    TRadialTransform T = G->GetRadialTransform();
    T.RotationCenter = TRadialTransform().RotationCenter;
    T.Position = {float(RadialX) * 0.01f, float(RadialY) * 0.01f};
    G->SetRadialTransform(T);
    G->SetStyle(TGradientStyle::Radial);
  } else {
    G->SetStartPosition(Start);
    G->SetStopPosition(Stop);
    G->SetStyle(TGradientStyle::Linear);
  }
  Fill->SetKind(TBrushKind::Gradient);
  FCanvas->FillRect(R, 0, 0, AllCorners, 1);
  Fill->SetKind(TBrushKind::Solid);
}

void TZelCanvas3D::GradientFill(TZelGradient* G, const TRectF& R) {
  if (!G || !FCanvas) return;
  // The angle is the gradient's own: a fill without one does not inherit the last fill's.
  TRadialTransform T = FCanvas->GetFill()->GetGradient()->GetRadialTransform();
  T.RotationAngle = float(G->GetAngle());
  FCanvas->GetFill()->GetGradient()->SetRadialTransform(T);
  TAlphaColor Start = G->GetStartColor(), Mid = G->GetMidColor(), End = G->GetEndColor();
  if (FMonochrome) {
    Start = GreyOf(Start);
    Mid = Mid ? GreyOf(Mid) : 0;
    End = GreyOf(End);
  }
  using enum TGradientDirection;
  TGradientDirection D = G->GetDirection();
  // A middle colour splits the rectangle across the direction; both halves are filled top to
  // bottom or left to right, so a reversed direction swaps which end shows the start colour.
  const bool Reversed = D == gdBottomTop || D == gdRightLeft;
  const TAlphaColor First = Reversed ? End : Start, Last = Reversed ? Start : End;
  if (D == gdRadial) {
    GradientFill(R, Start, End, D, G->GetBalance(), G->GetRadialX(), G->GetRadialY());
  } else if (Mid != 0 && (D == gdTopBottom || D == gdBottomTop)) {
    float MY = (R.Top + R.Bottom) / 2;
    GradientFill(TRectF(R.Left, R.Top, R.Right, MY), First, Mid, gdTopBottom, 50, 0, 0);
    GradientFill(TRectF(R.Left, MY, R.Right, R.Bottom), Mid, Last, gdTopBottom, 50, 0, 0);
  } else if (Mid != 0 && (D == gdLeftRight || D == gdRightLeft)) {
    float MX = (R.Left + R.Right) / 2;
    GradientFill(TRectF(R.Left, R.Top, MX, R.Bottom), First, Mid, gdLeftRight, 50, 0, 0);
    GradientFill(TRectF(MX, R.Top, R.Right, R.Bottom), Mid, Last, gdLeftRight, 50, 0, 0);
  } else if (Mid != 0 && D != gdDiagonalUp && D != gdDiagonalDown) {
    GradientFill(R, Start, End, D, 50, 0, 0);
  } else {
    GradientFill(R, Start, End, D, G->GetBalance(), 0, 0);
  }
}

void TZelCanvas3D::ClipRectangle(const TRectF& R) { ClipCanvas(FCanvas, R); }

void TZelCanvas3D::UnClipRectangle() { UnClipCanvas(FCanvas); }

void TZelCanvas3D::ClipCanvas(TCanvas* Canvas, const TRectF& R) {
  if (!Canvas) return;
  IClipStates.emplace_back(Canvas, Canvas->SaveState());
  Canvas->IntersectClipRect(R);
}

void TZelCanvas3D::UnClipCanvas(TCanvas* Canvas) {
  if (IClipStates.empty()) return;
  auto [C, S] = IClipStates.back();
  IClipStates.pop_back();
  if (C == Canvas && Canvas) Canvas->RestoreState(S);
}

TAlphaColor TZelCanvas3D::GetPixel(int X, int Y) {
  if (!FBitmap || X < 0 || Y < 0 || X >= FBitmap->GetWidth() || Y >= FBitmap->GetHeight())
    return 0xFFFFFFFF;
  return FBitmap->GetPixel(X, Y);
}

void TZelCanvas3D::SetPixel(int X, int Y, TAlphaColor Color) {
  if (!FBitmap || X < 0 || Y < 0 || X >= FBitmap->GetWidth() || Y >= FBitmap->GetHeight())
    return;
  FBitmap->SetPixel(X, Y, Color);
}

// --- text ---

void TZelCanvas3D::TextOut(float X, float Y, const String& Text) {
  DirectTextOut(float(Round(X)), float(Round(Y)), Text);
}

void TZelCanvas3D::DirectTextOut(float X, float Y, const String& Text) {
  if (!FCanvas) return;
  TZelBrush* FontBrush = FFont->GetBrush();
  FCanvas->GetFill()->TBrush::Assign(FontBrush);
  if (TZelShadow* S = FFont->ExistingShadow()) DoFontShadow(S, 1, X, Y, Text);
  if (TZelEmboss* E = FFont->ExistingEmboss()) DoFontShadow(E, -1, X, Y, Text);
  if (FontBrush->HasGradient()) {
    PrepareGradient(FontBrush->GetGradient(), *FCanvas->GetFill()->GetGradient());
    FCanvas->GetFill()->SetKind(TBrushKind::Gradient);
  }
  InternalTextOut(X, Y, Text, true);
}

void TZelCanvas3D::DoFontShadow(TZelShadow* S, int F, float& X, float& Y, const String& Text) {
  if (!S || !S->GetVisible()) return;
  int H = S->GetHorizSize(), V = S->GetVertSize();
  if (H == 0 && V == 0) return;
  float CX, CY;
  if (H < 0) {
    CX = X;
    X -= float(F * H);
  } else {
    CX = X + float(F * H);
  }
  if (V < 0) {
    CY = Y;
    Y -= float(F * V);
  } else {
    CY = Y + float(F * V);
  }
  TBlendingScope Blending(this, ZelZeroRectF, std::int8_t(S->GetTransparency()),
                          S->GetTransparency() != 0);
  TBrush* Fill = FCanvas->GetFill();
  TRestoreOnExit RestoreFill([Fill, Old = Fill->GetColor(), OldKind = Fill->GetKind()] {
    Fill->SetColor(Old);
    Fill->SetKind(OldKind);
  });
  Fill->SetKind(TBrushKind::Solid);
  Fill->SetColor(S->GetColor());
  InternalTextOut(CX, CY, Text, false);
}

void TZelCanvas3D::InternalTextOut(float X, float Y, const String& Text, bool WithOutline) {
  int A = GetTextAlign();
  if (A > 7) {
    Y -= float(TextHeight(Text));
    A -= 8;
  }
  if (A == ZelTextAlignCenter)
    X -= float(TextWidth(Text) / 2);
  else if (A == ZelTextAlignRight)
    X -= float(TextWidth(Text));
  std::unique_ptr<TPathData> Path;
  TZelHiddenPen* OutLine = FFont->ExistingOutLine();
  bool OutLineVisible = OutLine && OutLine->GetVisible();
  if (WithOutline && (FFont->GetBrush()->HasGradient() || OutLineVisible)) {
    Path = std::make_unique<TPathData>();
    if (!FCanvas->TextToPath(*Path, TRectF(0, 0, 10000, 10000), Text, false, TTextAlign::Leading,
                             TTextAlign::Leading))
      Path.reset();
  }
  ICachedLayout(X, Y, Text)->RenderLayout(FCanvas);
  if (WithOutline && OutLineVisible && Path) {
    AssignVisiblePenColor(OutLine, OutLine->GetColor());
    Path->Translate(X, Y);
    FCanvas->DrawPath(*Path, Opacity());
  }
}

void TZelCanvas3D::RotateLabel(int X, int Y, const String& Text, double Angle, bool) {
  if (Angle == 0 || !FCanvas || !std::isfinite(Angle)) {
    DirectTextOut(float(X), float(Y), Text);
    return;
  }
  TPointF C = IUseTextCenter ? ITextCenter : TPointF(float(X), float(Y));
  TMatrix M0 = FCanvas->GetMatrix();
  TMatrix M = TMatrix::CreateTranslation(-C.X, -C.Y) *
              TMatrix::CreateRotation(float(-Angle * PiStep)) *
              TMatrix::CreateTranslation(C.X, C.Y) * M0;
  TCanvas* Canvas = FCanvas;
  Canvas->SetMatrix(M);
  TRestoreOnExit RestoreMatrix([Canvas, M0] { Canvas->SetMatrix(M0); });
  DirectTextOut(float(X), float(Y), Text);
}

void TZelCanvas3D::SmoothShadow(TZelShadow* Shadow, const TRectF& R, bool IsEllipse,
                                int RoundSize, const TPointF* Points, int High, int Hole,
                                double StartAngle, double EndAngle) {
  if (!FCanvas || !Shadow) return;
  std::unique_ptr<TPathData> Path;
  if (Points && High >= 0) {
    Path = PointsPath(Points, High, true);
  } else if (RoundSize != 0 || !IsEllipse) {
    Path = std::make_unique<TPathData>();
    float Radius = RoundSize != 0 ? float(RoundSize) : 4.0f;
    Path->AddRectangle(R, Radius, Radius);
  } else if (Hole > 0 || EndAngle - StartAngle != 360) {
    Path.reset(DonutPath(R, StartAngle, EndAngle, Hole, 0));
  } else {
    Path = std::make_unique<TPathData>();
    Path->AddEllipse(R);
  }
  TBrush* Fill = FCanvas->GetFill();
  TGradientPoints& Stops = Fill->GetGradient()->GetPoints();
  Stops.Clear();
  Stops.Add(0, 0);
  Stops.Add(Shadow->GetColor(), 0.1f);
  Stops.Add(Shadow->GetColor(), 1.0f);
  Fill->SetKind(TBrushKind::Gradient);
  FCanvas->FillPath(*Path, Opacity());
  Fill->SetKind(TBrushKind::Solid);
}

// --- projection and window cycle ---

TRectF TZelCanvas3D::InitWindow(TCanvas* DestCanvas, TView3DOptions* Options,
                                TAlphaColor BackColor, bool Is3D, const TRectF& UserRect) {
  FBounds = UserRect;
  F3DOptions = Options;
  if (Options) {
    FFontZoom = Options->GetFontZoom();
    IZoomText = Options->GetZoomText() != TCanvasZoomText::ztNo;
  }
  FIs3D = Is3D;
  FIsOrthogonal = false;
  IZoomFactor = 1;
  if (Is3D) {
    if (Options) {
      FIsOrthogonal = Options->GetOrthogonal();
      if (FIsOrthogonal) {
        double A = Options->GetOrthoAngle();
        if (A > 90) {
          IOrthoX = -1;
          A = 180 - A;
        } else {
          IOrthoX = 1;
        }
        double C = std::cos(A * PiStep);
        IOrthoY = C < 0.01 ? 1 : std::sin(A * PiStep) / C;
      }
    }
    CalcTrigValues();
  }
  TRectF Result = UserRect;
  if (GetUseBuffer()) {
    // A window with no area (or a bad rectangle) makes an empty picture: drawing does nothing.
    int W = std::max(0, Round(UserRect.Width())), H = std::max(0, Round(UserRect.Height()));
    float Scale = DestCanvas ? DestCanvas->GetScale() : 1;
    if (!(Scale > 0) || !std::isfinite(Scale)) Scale = 1;
    // The picture covers the destination's device pixels (a fractional scale rounds up, so
    // that no device pixel at the edge is left out), and follows the destination's scale: a
    // window moved to a screen of another ratio draws at that ratio.
    const int BW = ScaledPixels(float(W), Scale), BH = ScaledPixels(float(H), Scale);
    if (!FBitmap) FBitmap = new TBitmap();
    ZelSetBitmapSize(FBitmap, BW, BH);
    FBitmap->SetBitmapScale(Scale);
    SetCanvas(FBitmap->GetCanvas());
    if (ISceneOpen == FCanvas) FCanvas->EndScene();
    FCanvas->BeginScene();
    ISceneOpen = FCanvas;
    // A back colour that lets what is behind show through is laid on a clear picture, not on
    // the last paint (which it would darken paint after paint).
    if (AlphaOf(BackColor) == 0)
      FBitmap->Clear(BackColor);
    else if (AlphaOf(BackColor) != 0xFF)
      FBitmap->Clear(TAlphaColors::Null);
    Result = TRectF(0, 0, float(W), float(H));
  } else {
    SetCanvas(DestCanvas);
  }
  SetBackMode(TCanvasBackMode::cbmOpaque);
  return Result;
}

void TZelCanvas3D::CalcTrigValues() {
  if (FIsOrthogonal) return;
  double E = 0, R = 0, T = 0;
  if (F3DOptions) {
    E = -F3DOptions->GetElevationFloat();
    R = -F3DOptions->GetRotationFloat();
    T = Round(F3DOptions->GetTiltFloat());
  }
  IHasPerspec = false;
  IZoomPerspec = 0;
  s1 = std::sin(E * PiStep);
  c1 = std::cos(E * PiStep);
  s2 = std::sin(R * PiStep);
  c2 = std::cos(R * PiStep);
  s3 = std::sin(T * PiStep);
  c3 = std::cos(T * PiStep);
  IHasTilt = T != 0;
  c2s3 = c2 * s3;
  c2c3 = std::max(1e-5, c2 * c3);
  tempXX = std::max(1e-5, s1 * s2 * s3 + c1 * c3);
  tempYX = c3 * s1 * s2 - c1 * s3;
  tempXZ = c1 * s2 * s3 - c3 * s1;
  tempYZ = c1 * c3 * s2 + s1 * s3;
}

void TZelCanvas3D::Projection(int MaxDepth, const TRectF&, const TRectF& R) {
  FXCenter = Round((double(R.Left) + R.Right) / 2) + Round(RotationCenter.X);
  FYCenter = Round((double(R.Top) + R.Bottom) / 2) + Round(RotationCenter.Y);
  FZCenter = Round(MaxDepth * 0.5 + RotationCenter.Z);
  XCenterOffset = FXCenter;
  YCenterOffset = FYCenter;
  if (!F3DOptions) return;
  XCenterOffset += F3DOptions->GetHorizOffset();
  YCenterOffset += F3DOptions->GetVertOffset();
  if (FIs3D) IZoomFactor = F3DOptions->GetZoomFloat() * 0.01;
  CalcPerspective(R);
}

void TZelCanvas3D::CalcPerspective(const TRectF& R) {
  if (!F3DOptions) return;
  int P = F3DOptions->GetPerspective();
  IHasPerspec = P > 0;
  if (IHasPerspec)
    IZoomPerspec = IZoomFactor * P / 120.0 / std::max(1.0, double(R.Right) - R.Left);
}

void TZelCanvas3D::Calc3DPoint(TPointF& P, float X, float Y, float Z) {
  const double Zf = IZoomFactor;
  if (FIsOrthogonal) {
    P.X = float(Zf * (X - FXCenter + IOrthoX * Z) + XCenterOffset);
    P.Y = float(Zf * (Y - FYCenter - IOrthoY * Z) + YCenterOffset);
  } else if (FIs3D) {
    float DX = X - float(FXCenter), DY = Y - float(FYCenter), DZ = Z - float(FZCenter);
    float X1 = float(DX * c2 + DZ * s2);
    float Z1 = float(DZ * c2 - DX * s2);
    float Y1 = float(DY * c1 - Z1 * s1);
    float F = IHasPerspec ? float(Zf / (IZoomPerspec * (Z1 * c1 + DY * s1) + 1)) : float(Zf);
    P.X = float((X1 * c3 - Y1 * s3) * F + XCenterOffset);
    P.Y = float((Y1 * c3 + X1 * s3) * F + YCenterOffset);
  } else {
    P.X = float(Zf * (X - FXCenter) + XCenterOffset);
    P.Y = float(Zf * (Y - FYCenter) + YCenterOffset);
  }
}

void TZelCanvas3D::Calc3DPos(int& X, int& Y, int Z) {
  // Projected pixels keep to the pixel limit, as mapped ones do.
  const double Zf = IZoomFactor;
  if (FIsOrthogonal) {
    if (Z == 0) {
      X = ZelClampPixel(std::nearbyint(Zf * (double(X) - FXCenter)) + XCenterOffset);
      Y = ZelClampPixel(std::nearbyint(Zf * (double(Y) - FYCenter)) + YCenterOffset);
    } else {
      X = ZelClampPixel(std::nearbyint(Zf * (double(X) - FXCenter + IOrthoX * Z)) + XCenterOffset);
      Y = ZelClampPixel(std::nearbyint(Zf * (double(Y) - FYCenter - IOrthoY * Z)) + YCenterOffset);
    }
  } else if (FIs3D) {
    const double DX = double(X) - FXCenter, DY = double(Y) - FYCenter, DZ = double(Z) - FZCenter;
    float X1 = float(DX * c2 + DZ * s2);
    float Z1 = float(DZ * c2 - DX * s2);
    float Y1 = float(DY * c1 - Z1 * s1);
    float F = IHasPerspec ? float(Zf / (IZoomPerspec * (Z1 * c1 + DY * s1) + 1)) : float(Zf);
    if (IHasTilt) {
      X = ZelClampPixel(std::nearbyint((X1 * c3 - Y1 * s3) * F) + XCenterOffset);
      Y = ZelClampPixel(std::nearbyint((Y1 * c3 + X1 * s3) * F) + YCenterOffset);
    } else {
      X = ZelClampPixel(std::nearbyint(double(X1) * F) + XCenterOffset);
      Y = ZelClampPixel(std::nearbyint((DY * c1 - Z1 * s1) * F) + YCenterOffset);
    }
  }
}

void TZelCanvas3D::Calc3DPoint(TPointF& P, int X, int Y, int Z) {
  Calc3DPos(X, Y, Z);
  P = {float(X), float(Y)};
}

void TZelCanvas3D::Calc3DTPoint(TPointF& P, int Z) { Calc3DPoint(P, P.X, P.Y, float(Z)); }

TPointF TZelCanvas3D::Calculate3DPosition(int X, int Y, int Z) {
  Calc3DPos(X, Y, Z);
  return {float(X), float(Y)};
}

TPointF TZelCanvas3D::Calculate3DPosition(float X, float Y, float Z) {
  TPointF P;
  Calc3DPoint(P, X, Y, Z);
  return P;
}

void TZelCanvas3D::Calculate2DPosition(int& X, int& Y, int Z) {
  if (IZoomFactor == 0 || !std::isfinite(IZoomFactor)) return;
  const double K = 1 / IZoomFactor;
  if (FIsOrthogonal) {
    X = ZelClampPixel(std::nearbyint((double(X) - XCenterOffset) * K - IOrthoX * Z) + FXCenter);
    Y = ZelClampPixel(std::nearbyint((double(Y) - YCenterOffset) * K + IOrthoY * Z) + FYCenter);
    return;
  }
  if (!FIs3D) return;
  // The rotated view: undo the tilt, then solve the rotation and the perspective divisor
  // (linear in dx, dy and the divisor w) for the point at depth Z.
  double U = (double(X) - XCenterOffset) * K, V = (double(Y) - YCenterOffset) * K;
  double A = U * c3 + V * s3, B = V * c3 - U * s3;
  double DZ = double(Z) - FZCenter;
  double P = IHasPerspec ? IZoomPerspec : 0;
  double M[3][3] = {{c2, 0, -A}, {s1 * s2, c1, -B}, {P * c1 * s2, -P * s1, 1}};
  double RHS[3] = {-s2 * DZ, s1 * c2 * DZ, P * c1 * c2 * DZ + 1};
  auto Det = [](double (&Q)[3][3]) {
    return Q[0][0] * (Q[1][1] * Q[2][2] - Q[1][2] * Q[2][1]) -
           Q[0][1] * (Q[1][0] * Q[2][2] - Q[1][2] * Q[2][0]) +
           Q[0][2] * (Q[1][0] * Q[2][1] - Q[1][1] * Q[2][0]);
  };
  double D = Det(M);
  if (std::fabs(D) < 1e-9 || !std::isfinite(D)) return;
  double Sol[3];
  for (int Col = 0; Col < 3; ++Col) {
    double Q[3][3];
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) Q[r][c] = c == Col ? RHS[r] : M[r][c];
    Sol[Col] = Det(Q) / D;
  }
  if (!(Sol[2] > 0) || !std::isfinite(Sol[0]) || !std::isfinite(Sol[1])) return;
  X = ZelClampPixel(std::nearbyint(Sol[0]) + FXCenter);
  Y = ZelClampPixel(std::nearbyint(Sol[1]) + FYCenter);
}

void TZelCanvas3D::DisableRotation() {
  FWas3D = FIs3D;
  FIs3D = false;
}

void TZelCanvas3D::EnableRotation() { FIs3D = FWas3D; }

void TZelCanvas3D::ShowImage(TCanvas* DestCanvas, TCanvas* DefaultCanvas, const TRectF& UserRect) {
  TRestoreOnExit Default([this, DefaultCanvas] { SetCanvas(DefaultCanvas); });
  if (GetUseBuffer() && FBitmap) {
    if (ISceneOpen) {
      ISceneOpen->EndScene();
      ISceneOpen = nullptr;
    }
    // The picture counts as shown and the default canvas comes back whatever the transfer does.
    TRestoreOnExit Shown([this] { FDirty = false; });
    if (DestCanvas) {
      const bool Began = DestCanvas->BeginScene();
      TRestoreOnExit EndScene([DestCanvas] { DestCanvas->EndScene(); });
      if (Began) TransferBitmap(Round(UserRect.Left), Round(UserRect.Top), DestCanvas);
    }
  }
}

void TZelCanvas3D::TransferBitmap(int Left, int Top, TCanvas* Canvas) {
  if (!Canvas || !FBitmap || FBitmap->IsEmpty()) return;
  float Scale = Canvas->GetScale();
  if (!(Scale > 0) || !std::isfinite(Scale)) Scale = 1;
  // Device pixel onto device pixel: the size in units is not rounded, which would stretch the
  // picture at a fractional scale.
  float W = float(FBitmap->GetWidth()), H = float(FBitmap->GetHeight());
  Canvas->DrawBitmap(FBitmap, TRectF(0, 0, W, H),
                     TRectF(float(Left), float(Top), float(Left + W / Scale), float(Top + H / Scale)), 1, true);
}

bool TZelCanvas3D::ReDrawBitmap() {
  if (FDirty || !FBitmap || !FCanvas) return false;
  // A picture made at another scale (the window is on a screen of another ratio now) is drawn
  // again.
  if (FBitmap->GetBitmapScale() != FCanvas->GetScale()) return false;
  TransferBitmap(0, 0, FCanvas);
  return true;
}

bool TZelCanvas3D::RenderToBitmap(TBitmap*& Bitmap, const TRectF& R) {
  if (FDirty || !FBufferedDisplay || !FBitmap) return false;
  // A picture at the screen's ratio is not one of the chart's size: it is drawn afresh.
  if (FBitmap->GetBitmapScale() != 1) return false;
  if (!(R == TRectF(0, 0, float(FBitmap->GetWidth()), float(FBitmap->GetHeight())))) return false;
  if (!Bitmap) Bitmap = new TBitmap();
  Bitmap->Assign(FBitmap);
  return true;
}

void TZelCanvas3D::ClipCube(const TRectF& R, int MinZ, int MaxZ) {
  if (FIs3D) {
    std::vector<TPointF> Hull = CubeHull(R, MinZ, MaxZ);
    ClipPolygon(Hull.data(), int(Hull.size()) - 1, int(Hull.size()), false);
  } else {
    ClipRectangle(TRectF(R.Left + 1, R.Top + 1, R.Right, R.Bottom - 1));
  }
}

void TZelCanvas3D::TextOut3D(int X, int Y, int Z, const String& Text, bool AllowHtml) {
  Calc3DPos(X, Y, Z);
  if (AllowHtml)
    HtmlTextOut(this, float(X), float(Y), Text);
  else
    TextOut(float(X), float(Y), Text);
}

void TZelCanvas3D::RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle,
                                 bool AllowHtml) {
  Calc3DPos(X, Y, Z);
  RotateLabel(X, Y, Text, Angle, AllowHtml);
}

TAlphaColor TZelCanvas3D::GetPixel3D(int X, int Y, int Z) {
  Calc3DPos(X, Y, Z);
  return GetPixel(X, Y);
}

void TZelCanvas3D::SetPixel3D(int X, int Y, int Z, TAlphaColor Color) {
  Calc3DPos(X, Y, Z);
  SetPixel(X, Y, Color);
}

// --- 3D solids ---

void TZelCanvas3D::Plane3D(const TPointF& A, const TPointF& B, int Z0, int Z1) {
  IPoints = {Calculate3DPosition(A.X, A.Y, float(Z0)), Calculate3DPosition(B.X, B.Y, float(Z0)),
             Calculate3DPosition(B.X, B.Y, float(Z1)), Calculate3DPosition(A.X, A.Y, float(Z1))};
  PolygonFour();
}

void TZelCanvas3D::PlaneWithZ(const TPointF& P1, const TPointF& P2, const TPointF& P3,
                              const TPointF& P4, int Z) {
  float FZ = float(Z);
  IPoints = {Calculate3DPosition(P1.X, P1.Y, FZ), Calculate3DPosition(P2.X, P2.Y, FZ),
             Calculate3DPosition(P3.X, P3.Y, FZ), Calculate3DPosition(P4.X, P4.Y, FZ)};
  PolygonFour();
}

void TZelCanvas3D::PlaneFour3D(const TFourPoints& P, int Z0, int Z1) {
  IPoints = {Calculate3DPosition(P[0].X, P[0].Y, float(Z0)),
             Calculate3DPosition(P[1].X, P[1].Y, float(Z0)),
             Calculate3DPosition(P[2].X, P[2].Y, float(Z1)),
             Calculate3DPosition(P[3].X, P[3].Y, float(Z1))};
  PolygonFour();
}

void TZelCanvas3D::RectangleWithZ(const TRectF& R, int Z) {
  IPoints = FourPointsFromRect(R, Z);
  PolygonFour();
}

void TZelCanvas3D::RectangleY(float Left, float Top, float Right, int Z0, int Z1) {
  IPoints = {Calculate3DPosition(Left, Top, float(Z0)), Calculate3DPosition(Right, Top, float(Z0)),
             Calculate3DPosition(Right, Top, float(Z1)), Calculate3DPosition(Left, Top, float(Z1))};
  PolygonFour();
}

void TZelCanvas3D::RectangleZ(float Left, float Top, float Bottom, int Z0, int Z1) {
  IPoints = {Calculate3DPosition(Left, Top, float(Z0)), Calculate3DPosition(Left, Top, float(Z1)),
             Calculate3DPosition(Left, Bottom, float(Z1)),
             Calculate3DPosition(Left, Bottom, float(Z0))};
  PolygonFour();
}

void TZelCanvas3D::Polygon3D(const TPoint3D* P, int High) {
  if (!P || High < 0) return;
  std::vector<TPointF> Q;
  Q.reserve(std::size_t(High) + 1);
  for (int i = 0; i <= High; ++i) Q.push_back(Calculate3DPosition(P[i]));
  Polygon(Q.data(), High);
}

void TZelCanvas3D::Triangle3D(const std::array<TPoint3D, 3>& P,
                              const std::array<TAlphaColor, 3>& Colors) {
  std::array<TPointF, 3> Q = TrianglePointsTo2D(P);
  if (FBrush->GetKind() != TBrushKind::None) FBrush->SetColor(Colors[0]);
  Polygon(Q.data(), 2);
}

void TZelCanvas3D::TriangleWithZ(const TPointF& P1, const TPointF& P2, const TPointF& P3, int Z) {
  float FZ = float(Z);
  TPointF Q[3] = {Calculate3DPosition(P1.X, P1.Y, FZ), Calculate3DPosition(P2.X, P2.Y, FZ),
                  Calculate3DPosition(P3.X, P3.Y, FZ)};
  Polygon(Q, 2);
}

void TZelCanvas3D::EllipseWithZ(float X1, float Y1, float X2, float Y2, int Z) {
  if (FIsOrthogonal) {
    TPointF A = Calculate3DPosition(X1, Y1, float(Z));
    TPointF B = Calculate3DPosition(X2, Y2, float(Z));
    Ellipse(A.X, A.Y, B.X, B.Y);
  } else if (FIs3D) {
    TCirclePoints P;
    GetCirclePoints(P, X1, Y1, X2, Y2);
    if (FBrush->GetKind() != TBrushKind::None)
      PolygonWithZ(P.data(), NumCirclePoints - 1, Z);
    else if (FPen->GetStyle() != TPenStyle::psClear)
      PolylineWithZ(P.data(), NumCirclePoints - 1, Z);
  } else {
    Ellipse(X1, Y1, X2 + 1, Y2 + 1);
  }
}

void TZelCanvas3D::GetCirclePoints(TCirclePoints& P, float X1, float Y1, float X2, float Y2) {
  const float Step = 360.0f / (NumCirclePoints - 1);
  for (int i = 0; i < NumCirclePoints; ++i) {
    double A = double(float(i) * Step) * PiStep;
    P[std::size_t(i)] = {float((X1 + X2) / 2 + (X2 - X1) / 2 * std::sin(A)),
                         float((Y1 + Y2) / 2 + (Y2 - Y1) / 2 * std::cos(A))};
  }
}

void TZelCanvas3D::GetCirclePoints(TCirclePoints& P, int X1, int Y1, int X2, int Y2, int Z) {
  GetCirclePoints(P, float(X1), float(Y1), float(X2), float(Y2));
  for (TPointF& Q : P) Q = Calculate3DPosition(Q, Z);
}

void TZelCanvas3D::Sphere(int X, int Y, int Z, double Radius) {
  int R = Round(Radius);
  EllipseWithZ(float(X - R), float(Y - R), float(X + R), float(Y + R), Z);
}

void TZelCanvas3D::Surface3D(TZelCanvasSurfaceStyle, bool, bool, bool, int, int,
                             const TZelSurfaceVertex&, TZelCachedObject*&) {}

void TZelCanvas3D::Arrow(bool Filled, const TPointF& From, const TPointF& To, int ArrowWidth,
                         int ArrowHeight, int Z0, int Z1, double ArrowPercent) {
  const int Z = (Z0 + Z1) / 2;
  std::vector<TPointF> P =
      GetArrowPoints(float(ArrowPercent), From, To, ArrowWidth, ArrowHeight, Z);
  if (P.empty()) return;
  if (Filled) {
    Polygon(P.data(), 6);
  } else {
    TPointF F = Calculate3DPosition(From, Z);
    TZelCanvas::Line(F, P[4]);
    TZelCanvas::LineTo(P[5]);
    TZelCanvas::Line(P[4], P[3]);
  }
}

void TZelCanvas3D::Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, int,
                        bool DarkSides, int RoundSize) {
  Cube(Left, Right, Top, Bottom, Z0, Z1, DarkSides, RoundSize);
}

void TZelCanvas3D::Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides,
                        int) {
  TBrushKind Kind = FBrush->GetKind();
  const bool NoBrush = Kind == TBrushKind::None;
  const TAlphaColor Base =
      Kind == TBrushKind::Solid || Kind == TBrushKind::Gradient ? FBrush->GetColor() : GetBackColor();
  auto P = [this](int X, int Y, int Z) { return Calculate3DPosition(X, Y, Z); };
  auto V = [](const TFourPoints& Q) {
    return (Q[3].X - Q[2].X) * (Q[1].Y - Q[2].Y) - (Q[1].X - Q[2].X) * (Q[3].Y - Q[2].Y);
  };
  auto W = [](const TFourPoints& Q) {
    return (Q[3].X - Q[0].X) * (Q[1].Y - Q[0].Y) - (Q[1].X - Q[0].X) * (Q[3].Y - Q[0].Y);
  };
  auto Shade = [&](TGradientDirection D, Byte Quantity) {
    if (!DarkSides || NoBrush) {
      PolygonFour();
      return;
    }
    TZelGradient* G = GetGradient();
    G->SetDirection(D);
    G->SetStartColor(Base);
    G->SetEndColor(ApplyDark(Base, Quantity));
    G->SetVisible(true);
    PolygonFour();
    G->SetVisible(false);
  };
  IPoints = {P(Left, Top, Z0), P(Right, Top, Z0), P(Right, Bottom, Z0), P(Left, Bottom, Z0)};
  bool FrontSeen = V(IPoints) > 0;
  if (NoBrush || FrontSeen) PolygonFour();
  if (NoBrush || !FrontSeen) {
    IPoints = {P(Left, Top, Z1), P(Right, Top, Z1), P(Right, Bottom, Z1), P(Left, Bottom, Z1)};
    PolygonFour();
  }
  IPoints = {P(Right, Top, Z0), P(Right, Top, Z1), P(Right, Bottom, Z1), P(Right, Bottom, Z0)};
  if (NoBrush || V(IPoints) > 0) Shade(TGradientDirection::gdLeftRight, DarkerColorQuantity);
  IPoints = {P(Left, Top, Z0), P(Left, Top, Z1), P(Left, Bottom, Z1), P(Left, Bottom, Z0)};
  if (NoBrush || W(IPoints) > 0) Shade(TGradientDirection::gdRightLeft, DarkerColorQuantity);
  IPoints = {P(Left, Top, Z0), P(Right, Top, Z0), P(Right, Top, Z1), P(Left, Top, Z1)};
  {
    const TPointF &LT0 = IPoints[0], &RT0 = IPoints[1], &RT1 = IPoints[2];
    float T = (LT0.X - RT0.X) * (RT1.Y - RT0.Y) - (RT1.X - RT0.X) * (LT0.Y - RT0.Y);
    if (NoBrush || T > 0) Shade(TGradientDirection::gdBottomTop, DarkColorQuantity);
  }
  IPoints = {P(Left, Bottom, Z0), P(Left, Bottom, Z1), P(Right, Bottom, Z1), P(Right, Bottom, Z0)};
  if (NoBrush || V(IPoints) < 0) Shade(TGradientDirection::gdTopBottom, DarkColorQuantity);
}

void TZelCanvas3D::Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                           bool DarkSides) {
  TBrushKind Kind = FBrush->GetKind();
  const TAlphaColor Base =
      Kind == TBrushKind::Solid || Kind == TBrushKind::Gradient ? FBrush->GetColor() : GetBackColor();
  const int ZC = (Z0 + Z1) / 2;
  auto P = [this](int X, int Y, int Z) { return Calculate3DPosition(X, Y, Z); };
  auto Tri = [this](const TPointF& A, const TPointF& B, const TPointF& C) {
    TPointF Q[3] = {A, B, C};
    Polygon(Q, 2);
  };
  if (Vertical) {
    TPointF A = P((Left + Right) / 2, Top, ZC);
    TPointF P00 = P(Left, Bottom, Z0), P10 = P(Right, Bottom, Z0), P01 = P(Left, Bottom, Z1),
            P11 = P(Right, Bottom, Z1);
    bool Up = Top < Bottom;
    if (Top != Bottom) {
      Tri(P00, P10, A);
      bool C = ZelCull(P00, A, P01);
      if (Up != C) Tri(P00, P01, A);
      if (DarkSides) InternalDark(Base, DarkerColorQuantity);
      C = ZelCull(P10, A, P11);
      if (Up == C) Tri(P10, P11, A);
      if (Up && ZelCull(A, P01, P11)) Tri(A, P01, P11);
    }
    bool C = ZelCull(P00, P10, P01);
    if (Up == C) {
      if (DarkSides) InternalDark(Base, DarkColorQuantity);
      RectangleY(float(Left), float(Bottom), float(Right), Z0, Z1);
    }
  } else {
    TPointF A = P(Right, (Top + Bottom) / 2, ZC);
    TPointF P00 = P(Left, Top, Z0), P10 = P(Left, Bottom, Z0), P01 = P(Left, Top, Z1),
            P11 = P(Left, Bottom, Z1);
    bool RightWards = Left < Right;
    if (Left != Right) {
      Tri(P00, P10, A);
      if (RightWards != ZelCull(P01, A, P11)) Tri(P01, P11, A);
      if (DarkSides) InternalDark(Base, DarkColorQuantity);
      if (RightWards != ZelCull(P00, A, P01)) Tri(P00, P01, A);
      if (RightWards != ZelCull(P11, A, P10)) Tri(P11, P10, A);
    }
    if (RightWards == ZelCull(P00, P10, P01)) {
      if (DarkSides) InternalDark(Base, DarkerColorQuantity);
      RectangleZ(float(Left), float(Top), float(Bottom), Z0, Z1);
    }
  }
}

namespace {
// The 32 points of a cylinder ring.
std::array<TPoint3D, ZelNumCylinderSides> CylinderRing(bool Vertical, int Pos, int C, int R,
                                                      int ZC, int ZR) {
  std::array<TPoint3D, ZelNumCylinderSides> Ring{};
  const double Step = 2 * M_PI / ZelNumCylinderSides;
  for (int i = 0; i < ZelNumCylinderSides; ++i) {
    int Across = C + Round(std::sin(i * Step) * R);
    int Z = ZC - Round(std::cos(i * Step) * ZR);
    Ring[std::size_t(i)] = Vertical ? TPoint3D{Across, Pos, Z} : TPoint3D{Pos, Across, Z};
  }
  return Ring;
}
}  // namespace

void TZelCanvas3D::Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0,
                            int Z1, bool Dark3D) {
  Cone(Vertical, Left, Top, Right, Bottom, Z0, Z1, Dark3D, 100);
}

void TZelCanvas3D::Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                        bool Dark3D, int ConePercent) {
  if (ConePercent == 0) ConePercent = ZelDefaultConePercent;
  const int N = ZelNumCylinderSides;
  const int ZR = (Z1 - Z0) / 2, ZC = (Z0 + Z1) / 2;
  const int R = Vertical ? (Right - Left) / 2 : (Bottom - Top) / 2;
  const int C = Vertical ? (Left + Right) / 2 : (Top + Bottom) / 2;
  auto Base = CylinderRing(Vertical, Vertical ? Bottom : Left, C, R, ZC, ZR);
  auto Project = [this](const std::array<TPoint3D, ZelNumCylinderSides>& Ring) {
    std::array<TPointF, ZelNumCylinderSides> Q{};
    for (std::size_t i = 0; i < Ring.size(); ++i) Q[i] = Calculate3DPosition(Ring[i]);
    return Q;
  };
  auto BaseQ = Project(Base);
  const bool HasTop = ConePercent != 0;
  std::array<TPointF, ZelNumCylinderSides> Q = BaseQ;
  if (HasTop) {
    int TR = Round(ConePercent * R * 0.01), TZR = Round(ConePercent * ZR * 0.01);
    Q = Project(CylinderRing(Vertical, Vertical ? Top : Right, C, TR, ZC, TZR));
  }
  bool Cover;
  if (Vertical) {
    Cover = Bottom < Top;
  } else {
    Cover = ZelCull(Calculate3DPosition(0, 0, 0),
                    Calculate3DPosition(0, 10, 0),
                    Calculate3DPosition(0, 10, 10));
    if (Right < Left) Cover = !Cover;
  }
  if (HasTop && !Cover) Polygon(Q.data(), N - 1);
  int IMin = 0, IMax = 0;
  for (int i = 1; i < N; ++i) {
    float V = Vertical ? Q[std::size_t(i)].X : Q[std::size_t(i)].Y;
    if (V < (Vertical ? Q[std::size_t(IMin)].X : Q[std::size_t(IMin)].Y)) IMin = i;
    if (V > (Vertical ? Q[std::size_t(IMax)].X : Q[std::size_t(IMax)].Y)) IMax = i;
  }
  std::vector<TPointF> Body;
  for (int i = IMin;; i = (i + 1) % N) {
    Body.push_back(Q[std::size_t(i)]);
    if (i == IMax) break;
  }
  if (HasTop) {
    for (int i = IMax;; i = (i + N - 1) % N) {
      Body.push_back(BaseQ[std::size_t(i)]);
      if (i == IMin) break;
    }
  } else {
    // The apex lies on the ring's axis at the far end of the body.
    Body.push_back(Vertical ? Calculate3DPosition(float(C), float(Top), float(ZC))
                            : Calculate3DPosition(float(Right), float(C), float(ZC)));
  }
  TAlphaColor Color = FBrush->GetColor();
  TZelGradient* G = GetGradient();
  G->SetMidColor(0);
  G->SetStartColor(Dark3D ? ApplyBright(Color, DarkColorQuantity) : Color);
  G->SetEndColor(ApplyDark(Color, Dark3D ? DarkerColorQuantity : DarkColorQuantity));
  G->SetDirection(Vertical ? TGradientDirection::gdLeftRight : TGradientDirection::gdTopBottom);
  G->SetVisible(true);
  Polygon(Body.data(), int(Body.size()) - 1);
  if (Cover) Polygon(BaseQ.data(), N - 1);
}

namespace {

// Draws one slice of a 3D pie: the far parts first, then the sides, the rim and the top.
class TPieDrawer {
 public:
  TPieDrawer(TZelCanvas3D* C, int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1,
             double StartAngle, double EndAngle, bool ADrawSides, int DonutPercent,
             int BevelPercent, std::int8_t Transparency, int ABevelBright, bool ABevelBorder,
             bool AHideSides)
      : ICanvas(C), BevelBright(ABevelBright), BevelBorder(ABevelBorder), HideSides(AHideSides),
        DrawSidesFlag(ADrawSides) {
    zPos = Z1 - Z0;
    z0Rect = TRectF(float(XCenter - XRadius), float(YCenter - YRadius), float(XCenter + XRadius),
                    float(YCenter + YRadius));
    z1Rect = Moved(z0Rect, float(zPos));
    iStartAngle = Round(StartAngle * 180 / M_PI);
    iEndAngle = Round(EndAngle * 180 / M_PI);
    Full360 = StartAngle == EndAngle || iEndAngle - iStartAngle == 360;
    if (iEndAngle < iStartAngle) iEndAngle += 360;
    if (Full360 && iEndAngle == iStartAngle) iEndAngle = iStartAngle + 360;
    Pie3DUsingArcs = C->Pie3DUsingArcs;
    TZelBrush* B = C->GetBrush();
    OldColor = B->GetKind() == TBrushKind::Solid ? B->GetColor() : C->GetBackColor();
    drawEntirePie = Transparency != 0 && !HideSides;
    if (DonutPercent > 0) {
      int RX = Round(XRadius * DonutPercent / 100.0), RY = Round(YRadius * DonutPercent / 100.0);
      z0DonutRect = TRectF(float(XCenter - RX), float(YCenter - RY), float(XCenter + RX),
                           float(YCenter + RY));
      z1DonutRect = Moved(z0DonutRect, float(zPos));
      startD0 = At(iStartAngle, z0DonutRect);
      endD0 = At(iEndAngle, z0DonutRect);
      startD1 = At(iStartAngle, z1DonutRect);
      endD1 = At(iEndAngle, z1DonutRect);
      isDonut = true;
    }
    if (BevelPercent > 0) {
      double V = BevelPercent * zPos * 0.01;
      int RX = Round(XRadius - V), RY = Round(YRadius - V);
      z0BevelRect = TRectF(float(XCenter - RX), float(YCenter - RY), float(XCenter + RX),
                           float(YCenter + RY));
      z1BevelRect = Moved(z0Rect, float(Round(V)));
      startB0 = At(iStartAngle, z0BevelRect);
      endB0 = At(iEndAngle, z0BevelRect);
      startB1 = At(iStartAngle, z1BevelRect);
      endB1 = At(iEndAngle, z1BevelRect);
      hasBevel = true;
    }
    middle0 = C->Calculate3DPosition(float(XCenter), float(YCenter), float(zPos));
    middle1 = C->Calculate3DPosition(float(XCenter), float(YCenter + zPos), float(zPos));
    start0 = At(iStartAngle, z0Rect);
    end0 = At(iEndAngle, z0Rect);
    start1 = At(iStartAngle, z1Rect);
    end1 = At(iEndAngle, z1Rect);
    sweepAngle = iEndAngle - iStartAngle;
  }

  void DrawBottom() { DrawTopBottom(iStartAngle, iEndAngle, middle1, z1Rect, z1DonutRect); }
  void DrawTop() {
    DrawTopBottom(iStartAngle, iEndAngle, middle0, hasBevel ? z0BevelRect : z0Rect, z0DonutRect);
  }

  void DoDrawSides(int a, int b) {
    if (a == b) return;
    float xe = end0.X, xm = middle0.X, xs = start0.X;
    bool Wide = sweepAngle > 180;
    if (xe > xm && xm > xs) {
      DrawBack();
      DrawRight();
      DrawLeft();
      if (b - a > 180) {
        a = std::max(a, 180);
        b = std::min(b, 360);
      }
      DrawFront(a, b);
    } else if (xe > xm) {
      if (Wide) {
        DrawBack(); DrawRight(); DrawLeft(); DrawFront(a, b);
      } else {
        DrawLeft(); DrawBack(); DrawFront(a, b); DrawRight();
      }
    } else if (xm > xs) {
      if (Wide) {
        DrawBack(); DrawLeft(); DrawRight(); DrawFront(a, b);
      } else {
        DrawRight(); DrawBack(); DrawFront(a, b); DrawLeft();
      }
    } else if (Wide) {
      DrawBack(); DrawLeft(); DrawFront(a, b); DrawRight();
    } else {
      DrawBack(); DrawFront(a, b); DrawRight(); DrawLeft();
    }
  }

  TZelCanvas3D* ICanvas;
  int iStartAngle = 0, iEndAngle = 0;
  TAlphaColor OldColor = 0;

 private:
  static TRectF Moved(TRectF R, float DY) {
    R.Offset(0, DY);
    return R;
  }
  TPointF At(int Degrees, const TRectF& R) {
    return ICanvas->PointFromCircle(R, Degrees, zPos, false);
  }
  // One point per whole degree from A to B on R (stepping down when A > B).
  void Loop(int A, int B, const TRectF& R) {
    int Step = A <= B ? 1 : -1;
    for (int D = A;; D += Step) {
      list.push_back(At(D, R));
      if (D == B) break;
    }
  }
  void DrawPoints() {
    if (list.size() >= 2) ICanvas->Polygon(list.data(), int(list.size()) - 1);
    list.clear();
  }
  void DrawLoops(int A, int B, const TRectF& R1, const TRectF& R2) {
    Loop(A, B, R1);
    Loop(B, A, R2);
    DrawPoints();
  }
  void DrawTopBottom(int A, int B, const TPointF& Centre, const TRectF& R, const TRectF& HoleR) {
    bool Closed = !Full360 && !isDonut;
    if (Pie3DUsingArcs) {
      // The arcs are drawn by the arc hook; only the straight edges here.
      if (Closed) {
        ICanvas->TZelCanvas::Line(Centre, At(A, R));
        ICanvas->TZelCanvas::Line(Centre, At(B, R));
      }
      return;
    }
    if (Closed) list.push_back(Centre);
    Loop(A, B, R);
    if (isDonut) Loop(B, A, HoleR);
    if (Closed) list.push_back(Centre);
    DrawPoints();
  }
  bool SidesShown() const { return sweepAngle < 360 && (drawEntirePie || DrawSidesFlag); }
  void Wall(std::initializer_list<TPointF> P) {
    list.assign(P.begin(), P.end());
    DrawPoints();
  }
  // The wall at the end angle.
  void DrawLeft() {
    if (!SidesShown()) return;
    if (isDonut && hasBevel) Wall({endD0, endB0, endB1, end1, endD1});
    else if (isDonut) Wall({endD0, end0, end1, endD1});
    else if (hasBevel) Wall({middle0, endB0, endB1, end1, middle1});
    else Wall({middle0, end0, end1, middle1});
  }
  // The wall at the start angle.
  void DrawRight() {
    if (!SidesShown()) return;
    if (isDonut && hasBevel) Wall({startD0, startB0, startB1, start1, startD1});
    else if (isDonut) Wall({startD0, start0, start1, startD1});
    else if (hasBevel) Wall({middle0, startB0, startB1, start1, middle1});
    else Wall({middle0, start0, start1, middle1});
  }
  // The hole's inner wall.
  void DrawBack() {
    if (!isDonut || HideSides) return;
    if (!drawEntirePie && start0.Y >= middle0.Y && middle0.Y <= end0.Y && sweepAngle < 180) return;
    DrawLoops(iStartAngle, iEndAngle, z0DonutRect, z1DonutRect);
  }
  void DrawBevel(int A, int B) {
    if (!hasBevel) return;
    TZelBrush* Brush = ICanvas->GetBrush();
    TAlphaColor Old = Brush->GetColor();
    TPenStyle OldStyle = ICanvas->GetPen()->GetStyle();
    if (BevelBright > 0)
      Brush->SetColor(ApplyBright(Old, Byte(std::min(BevelBright, 255))));
    else if (BevelBright < 0)
      Brush->SetColor(ApplyDark(Old, Byte(std::min(-BevelBright, 255))));
    if (!BevelBorder) ICanvas->GetPen()->SetStyle(TPenStyle::psClear);
    DrawLoops(A, B, z0BevelRect, z1BevelRect);
    ICanvas->GetPen()->SetStyle(OldStyle);
    Brush->SetColor(Old);
  }
  // Into 0..360: above 360 down by whole turns, below -360 up, then negatives up one turn.
  static int Normalized(int A) {
    if (A > 360) A = (A - 1) % 360 + 1;
    if (A < -360) A %= 360;
    if (A < 0) A += 360;
    return A;
  }
  void DrawFront(int a, int b) {
    const TRectF& Upper = hasBevel ? z1BevelRect : z0Rect;
    int s = Normalized(a), e = Normalized(b);
    if (Full360) {
      DrawLoops(0, 180, Upper, z1Rect);
      DrawLoops(180, 360, Upper, z1Rect);
      if (!drawEntirePie) DrawBevel(0, 360);
      return;
    }
    float m = middle0.Y, ys = start0.Y, ye = end0.Y;
    if (m >= ys && m >= ye) {
      if (sweepAngle < 180) {
        if (drawEntirePie) DrawLoops(a, b, Upper, z1Rect);
        else DrawBevel(iStartAngle, iEndAngle);
      } else {
        DrawLoops(a, b, Upper, z1Rect);
        if (!drawEntirePie) DrawBevel(iStartAngle, iEndAngle);
      }
      return;
    }
    if (m < ys && m > ye) {
      if (drawEntirePie) DrawLoops(0, e, Upper, z1Rect);
      if (s > 0) DrawLoops(360, s, z1Rect, Upper);
    } else if (m > ys && m < ye) {
      if (drawEntirePie) DrawLoops(180, s, Upper, z1Rect);
      DrawLoops(180, e, z1Rect, Upper);
    } else if (m <= ys && m < ye && sweepAngle > 180) {
      DrawLoops(180, 0, Upper, z1Rect);
      DrawLoops(e, 180, z1Rect, Upper);
      if (s > 0) DrawLoops(360, s, z1Rect, Upper);
    } else if (m <= ys && m <= ye) {
      if (e < s) e += 360;
      if (Pie3DUsingArcs) {
        ICanvas->TZelCanvas::Line(At(s, Upper), At(s, z1Rect));
        ICanvas->TZelCanvas::Line(At(e, Upper), At(e, z1Rect));
      } else {
        DrawLoops(s, e, Upper, z1Rect);
      }
    }
    DrawBevel(iStartAngle, iEndAngle);
  }

  TRectF z0Rect, z1Rect, z0DonutRect, z1DonutRect, z0BevelRect, z1BevelRect;
  int zPos = 0;
  std::vector<TPointF> list;
  TPointF middle0, middle1, start0, end0, start1, end1;
  TPointF startD0, endD0, startD1, endD1, startB0, endB0, startB1, endB1;
  int sweepAngle = 0;
  bool isDonut = false, drawEntirePie = false, hasBevel = false, Full360 = false;
  bool Pie3DUsingArcs = false;
  int BevelBright;
  bool BevelBorder, HideSides, DrawSidesFlag;
};

}  // namespace

void TZelCanvas3D::Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1,
                         double StartAngle, double EndAngle, bool DarkSides, bool DrawSides,
                         int DonutPercent, TCustomZelGradient* Gradient, int BevelPercent,
                         TEdgeStyle EdgeStyle, std::int8_t Transparency, int BevelBright,
                         bool BevelBorder, bool HideSides) {
  // Angles that make no slice (not finite, beyond a million radians, or sweeping more than two
  // turns) draw nothing rather than loop over millions of degrees.
  if (!std::isfinite(StartAngle) || !std::isfinite(EndAngle) || std::fabs(StartAngle) > 1e6 ||
      std::fabs(EndAngle) > 1e6 || std::fabs(EndAngle - StartAngle) > 4 * M_PI)
    return;
  TPieDrawer D(this, XCenter, YCenter, XRadius, YRadius, Z0, Z1, StartAngle, EndAngle, DrawSides,
               DonutPercent, BevelPercent, Transparency, BevelBright, BevelBorder, HideSides);
  TBlendingScope Blending(this, ZelZeroRectF, Transparency, Transparency != 0);
  {
    if (Transparency != 0 && !HideSides) D.DrawBottom();
    bool PenDarkened = false;
    if (DarkSides) {
      if (FBrush->GetKind() != TBrushKind::None)
        FBrush->SetColor(ApplyDark(FBrush->GetColor(), 32));
      if (FPen->GetColor() == D.OldColor) {
        FPen->SetColor(ApplyDark(D.OldColor, 32));
        PenDarkened = true;
      }
    }
    D.DoDrawSides(D.iStartAngle, D.iEndAngle);
    if (DarkSides) {
      if (FBrush->GetKind() == TBrushKind::Solid)
        FBrush->SetColor(D.OldColor);
      else
        SetBackColor(D.OldColor);
      if (PenDarkened) FPen->SetColor(D.OldColor);
    }
    D.DrawTop();
    if ((Gradient && Gradient->GetVisible()) || EdgeStyle != TEdgeStyle::edNone)
      DrawLighting(EdgeStyle, 0, TRectF(), TRectF(), TRectF(), Z0, Z1, TPointF(), false);
  }
}

}  // namespace zel
