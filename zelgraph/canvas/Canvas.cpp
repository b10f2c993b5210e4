#include "zelgraph/canvas/Canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/Math.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/html/Html.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

namespace {
const char* const CanvasUnit = "Zelgraph.Canvas";
const char* const STranspStackCorrupt = "Canvas Transparency Stack might be corrupt";
constexpr double PiStep = M_PI / 180.0;

Byte ClampChannel(int V) { return static_cast<Byte>(std::clamp(V, 0, 255)); }
}  // namespace

bool ZelCheckPenWidth = false;

TAlphaColor ApplyDark(TAlphaColor Color, Byte Quantity) {
  TAlphaColorRec C(Color);
  C.R = Quantity < C.R ? Byte(C.R - Quantity) : 0;
  C.G = Quantity < C.G ? Byte(C.G - Quantity) : 0;
  C.B = Quantity < C.B ? Byte(C.B - Quantity) : 0;
  return C.Color();
}

TAlphaColor ApplyBright(TAlphaColor Color, Byte Quantity) {
  TAlphaColorRec C(Color);
  C.R = ClampChannel(C.R + Quantity);
  C.G = ClampChannel(C.G + Quantity);
  C.B = ClampChannel(C.B + Quantity);
  return C.Color();
}

ZEL_DEFINE_CLASS(TZelCanvas, TObject)

TZelCanvas::TZelCanvas() {
  FPen.reset(new TZelPen([this](TObject* S) { ChangedPen(S); }));
  FBrush.reset(new TZelBrush([this](TObject* S) { ChangedBrush(S); }));
  FFont.reset(new TZelFont([this](TObject* S) { ChangedFont(S); }));
  FSupportsAlpha = true;
  FSupportsConcave = true;
}

TZelCanvas::~TZelCanvas() {
  IForgetLayouts(nullptr);
  FPen.reset();
  FBrush.reset();
  FFont.reset();
}

void TZelCanvas::SetTransparency(int V) { FTransparency = static_cast<Byte>(std::clamp(V, 0, 100)); }

void TZelCanvas::ChangedPen(TObject*) { DoChangedPen(); }
void TZelCanvas::ChangedBrush(TObject*) { DoChangedBrush(FBrush.get()); }
void TZelCanvas::ChangedFont(TObject*) {
  if (!IChangingFont) DoChangedFont();
}

void TZelCanvas::SetCanvas(TCanvas* ACanvas) {
  if (FCanvas == ACanvas) return;
  FCanvas = ACanvas;
  // A new platform canvas starts from its own state: give it the current attributes.
  if (FCanvas) {
    DoChangedPen();
    DoChangedBrush(FBrush.get());
    DoChangedFont();
  }
}

void TZelCanvas::DoChangedBrush(TZelBrush* ABrush) {
  if (!ABrush) return;
  if (FCanvas) FCanvas->GetFill()->TBrush::Assign(ABrush);
  if (ABrush->GetBackColor() == 0 || ABrush->GetKind() == TBrushKind::None)
    SetBackMode(TCanvasBackMode::cbmTransparent);
  else if (ABrush->GetKind() != TBrushKind::Solid) {
    SetBackMode(TCanvasBackMode::cbmOpaque);
    SetBackColor(ABrush->GetBackColor());
  }
}

void TZelCanvas::DoChangedFont() {
  if (!FFont) return;
  SetInterCharSize(FFont->GetInterCharSize());
  if (FCanvas) FCanvas->GetFont()->TFont::Assign(FFont.get());
}

void TZelCanvas::DoChangedPen() {
  if (!FPen) return;
  TZelPen* P = FPen.get();
  // A pen hidden by its style draws nothing, like a pen that is not visible.
  bool Visible = P->GetVisible() && P->GetStyle() != TPenStyle::psClear;
  if (!FCanvas) return;
  TStrokeBrush* Stroke = FCanvas->GetStroke();
  if (!Visible) {
    if (Stroke->GetKind() != TBrushKind::None) Stroke->SetKind(TBrushKind::None);
    return;
  }
  if (ZelCheckPenWidth && P->GetStyle() != TPenStyle::psSolid && P->GetWidth() == 1) {
    TNotifyEvent Saved = P->GetOnChange();
    P->SetOnChange(nullptr);
    P->SetWidth(0);
    P->SetOnChange(Saved);
  }
  if (P->IsGradientVisible()) {
    PrepareGradient(P->GetPenBrush()->GetGradient(), *Stroke->GetGradient());
    Stroke->SetKind(TBrushKind::Gradient);
  } else {
    // Kind, colour, gradient and bitmap of the pen's own fill: a gradient or bitmap kind draws
    // with the pen's, never with what an earlier pen left on the stroke.
    Stroke->TBrush::Assign(P->GetPenBrush());
  }
  float W = P->GetWidth();
  Stroke->SetThickness(W == 0 || std::isnan(W) ? 0.1f : std::fabs(W));
  switch (P->GetJoinStyle()) {
    case TPenJoinStyle::jsRound: Stroke->SetJoin(TStrokeJoin::Round); break;
    case TPenJoinStyle::jsBevel: Stroke->SetJoin(TStrokeJoin::Bevel); break;
    case TPenJoinStyle::jsMitter: Stroke->SetJoin(TStrokeJoin::Miter); break;
  }
  Stroke->SetCap(P->GetEndStyle() == TPenEndStyle::esFlat ? TStrokeCap::Flat : TStrokeCap::Round);
  if (P->GetSmallDots())
    Stroke->SetCustomDash({1.0f, static_cast<float>(P->GetSmallSpace()) + 1.0f}, 0);
  else
    switch (P->GetStyle()) {
      case TPenStyle::psSolid:
      case TPenStyle::psInsideFrame:  // drawn as a solid line
        Stroke->SetDash(TStrokeDash::Solid);
        break;
      case TPenStyle::psDash: Stroke->SetDash(TStrokeDash::Dash); break;
      case TPenStyle::psDot: Stroke->SetDash(TStrokeDash::Dot); break;
      case TPenStyle::psDashDot: Stroke->SetDash(TStrokeDash::DashDot); break;
      case TPenStyle::psDashDotDot: Stroke->SetDash(TStrokeDash::DashDotDot); break;
      default: break;
    }
}

void TZelCanvas::FastLineTo(int X, int Y) { LineTo(static_cast<float>(X), static_cast<float>(Y)); }
void TZelCanvas::SetAntiAlias(bool) {}
void TZelCanvas::SetInterCharSize(int) {}
void TZelCanvas::SetPenMode(TZelPen*) {}

void TZelCanvas::AssignBrush(TZelBrush* ABrush, TAlphaColor AColor, TAlphaColor ABackColor) {
  if (!ABrush) return;
  {
    TRestoreOnExit Reattach([this, Saved = FBrush->GetOnChanged()] { FBrush->SetOnChanged(Saved); });
    FBrush->SetOnChanged(nullptr);
    bool Mono = GetMonochrome();
    if (ABrush != FBrush.get()) FBrush->Assign(ABrush);
    if (ABrush->GetKind() != TBrushKind::None) FBrush->SetColor(Mono ? 0xFFFFFFFF : AColor);
    FBrush->SetBackColor(ABackColor);
  }
  DoChangedBrush(FBrush.get());
}

void TZelCanvas::AssignVisiblePenColor(TZelPen* APen, TAlphaColor AColor) {
  if (!APen) return;
  {
    TRestoreOnExit Reattach([this, Saved = FPen->GetOnChange()] { FPen->SetOnChange(Saved); });
    FPen->SetOnChange(nullptr);
    if (APen->GetVisible()) {
      bool Mono = GetMonochrome();
      if (APen != FPen.get()) FPen->Assign(APen);
      FPen->SetColor(Mono ? 0xFF000000 : AColor);
    } else if (FPen->GetStyle() != TPenStyle::psClear) {
      FPen->SetStyle(TPenStyle::psClear);
    }
  }
  DoChangedPen();
}

void TZelCanvas::PushTransp() { ITranspStack.push_back(FTransparency); }

void TZelCanvas::PopTransp() {
  Assert(!ITranspStack.empty(), STranspStackCorrupt, CanvasUnit);
  FTransparency = ITranspStack.back();
  ITranspStack.pop_back();
}

TZelBlend* TZelCanvas::BeginBlending(const TRectF&, std::int8_t T) {
  PushTransp();
  int Amount = std::min<int>(static_cast<Byte>(T), 100);
  SetTransparency(100 - Round((100 - FTransparency) * (100 - Amount) * 0.01));
  return nullptr;
}

void TZelCanvas::EndBlending(TZelBlend*) { PopTransp(); }

void TZelCanvas::Arc(int Left, int Top, int Right, int Bottom, double StartAngle,
                     double EndAngle) {
  int A = (Right - Left) / 2, B = (Bottom - Top) / 2;
  int CX = Left + A, CY = Top + B;
  auto PointAt = [&](double Angle, int& X, int& Y) {
    double R = Angle * PiStep;
    X = CX + Round(A * std::cos(R));
    Y = CY - Round(B * std::sin(R));
  };
  int SX, SY, EX, EY;
  if (StartAngle < EndAngle) {
    PointAt(StartAngle, SX, SY);
    PointAt(EndAngle, EX, EY);
  } else {
    PointAt(EndAngle, SX, SY);
    PointAt(StartAngle, EX, EY);
  }
  Arc(Left, Top, Right, Bottom, SX, SY, EX, EY);
}

void TZelCanvas::ArcTo(int, int, int, int, int, int, int, int, bool) {}
void TZelCanvas::Donut(const TRectF&, double, double, double) {}

void TZelCanvas::Frame3D(TRectF& R, TAlphaColor TopColor, TAlphaColor BottomColor, int Width) {
  TNotifyEvent Saved = FPen->GetOnChange();
  FPen->SetOnChange(nullptr);
  FPen->SetWidth(1);
  FPen->SetStyle(TPenStyle::psSolid);
  if (TZelBrush* Fill = FPen->ExistingFill())
    if (TZelGradient* G = Fill->ExistingGradient()) G->SetVisible(false);
  FPen->SetOnChange(Saved);
  DoChangedPen();

  const TRectF Original = R;
  R.Bottom -= 1;
  R.Right -= 1;
  // Frames beyond the middle of the rectangle draw nothing new: stop there (a huge width must
  // not keep the paint busy), and give R back shrunk by the full width.
  double Limit = std::max(std::fabs(double(R.Width())), std::fabs(double(R.Height()))) / 2 + 2;
  int Frames = std::isfinite(Limit) ? int(std::min<double>(Width, Limit)) : 0;
  for (int i = 0; i < Frames; ++i) {
    FPen->SetColor(TopColor);
    TPointF Top[3] = {{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}};
    Polyline(Top, 2);
    FPen->SetColor(BottomColor);
    TPointF Bottom[3] = {{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}};
    Polyline(Bottom, 2);
    R.Inflate(-1, -1);
  }
  R = Original;
  if (Width > 0) R.Inflate(-float(Width), -float(Width));
}


namespace {
// A layout measures as the canvas it was made for; a new platform canvas gets a new one, so that
// no layout outlives the canvas it refers to.
TTextLayout* LayoutFor(std::unique_ptr<TTextLayout>& Layout, TCanvas* Canvas) {
  if (!Layout || Layout->GetCanvas() != Canvas) {
    Layout = TTextLayoutManager::TextLayoutByCanvas(Canvas);
    Layout->SetWordWrap(false);
    Layout->SetHorizontalAlign(TTextAlign::Leading);
    Layout->SetVerticalAlign(TTextAlign::Leading);
    Layout->SetRightToLeft(false);
  }
  return Layout.get();
}
}  // namespace

void TZelCanvas::IForgetLayouts(const TCanvas* C) {
  if (ILayout && (!C || ILayout->GetCanvas() == C)) ILayout.reset();
  for (TMeasureSlot& S : IMeasure)
    if (S.Layout && (!C || S.Layout->GetCanvas() == C)) S.Layout.reset();
}

TTextLayout* TZelCanvas::IMeasureLayout(const String& Text) {
  // The slot that laid out Text last, else the one used longest ago. Each slot is set up as
  // ICachedLayout sets its layout, so it measures the same; it lays out again only when the
  // text, the font or the canvas changed.
  TMeasureSlot* Slot = &IMeasure[0];
  for (TMeasureSlot& S : IMeasure) {
    if (S.Layout && S.Layout->GetText() == Text) {
      Slot = &S;
      break;
    }
    if (S.Used < Slot->Used) Slot = &S;
  }
  Slot->Used = ++IMeasureUses;
  return ICachedLayout(Slot->Layout, 0, 0, Text);
}

TTextLayout* TZelCanvas::ICachedLayout(float X, float Y, const String& Text) {
  return ICachedLayout(ILayout, X, Y, Text);
}

TTextLayout* TZelCanvas::ICachedLayout(std::unique_ptr<TTextLayout>& Layout, float X, float Y, const String& Text) {
  TTextLayout* L = LayoutFor(Layout, FCanvas);
  WithinUpdate(*L, [&] {
    L->SetTopLeft({X, Y});
    L->SetMaxSize({10000, 10000});
    L->SetText(Text);
    if (FCanvas) {
      L->SetFont(FCanvas->GetFont());
      L->SetColor(FCanvas->GetFill()->GetColor());
    } else {
      L->SetFont(FFont.get());
      L->SetColor(FFont->GetColor());
    }
    L->SetOpacity(Opacity());
  });
  return L;
}

namespace {
// Extra extent of a visible font shadow and emboss.
void ShadowExtent(TZelFont* F, float& DX, float& DY) {
  DX = DY = 0;
  if (!F) return;
  if (TZelShadow* S = F->ExistingShadow(); S && S->GetVisible()) {
    DX += std::abs(S->GetHorizSize());
    DY += std::abs(S->GetVertSize());
  }
  if (TZelEmboss* E = F->ExistingEmboss(); E && E->GetVisible()) {
    DX += std::abs(E->GetHorizSize());
    DY += std::abs(E->GetVertSize());
  }
}
}  // namespace

int TZelCanvas::TextWidth(const String& Text) {
  TRectF R = IMeasureLayout(Text)->GetTextRect();
  float DX, DY;
  ShadowExtent(FFont.get(), DX, DY);
  return Round(R.Right) + static_cast<int>(DX);
}

int TZelCanvas::TextHeight(const String& Text) {
  TRectF R = IMeasureLayout(Text)->GetTextRect();
  float DX, DY;
  ShadowExtent(FFont.get(), DX, DY);
  return Round(R.Bottom) + static_cast<int>(DY);
}

TPointF TZelCanvas::TextSize(const String& Text) {
  TRectF R = IMeasureLayout(Text)->GetTextRect();
  float DX, DY;
  ShadowExtent(FFont.get(), DX, DY);
  return {R.Right + DX, R.Bottom + DY};
}

void TZelCanvas::ClipRectangle(const TRectF& R, int, int) { ClipRectangle(R); }
void TZelCanvas::ClipEllipse(const TRectF& R, bool) { ClipRectangle(R); }
void TZelCanvas::ClipPolygon(const TPointF* P, int High, int, bool) {
  ClipRectangle(PolygonBounds(P, High));
}

TZelBasePath* TZelCanvas::CreatePath() { return new TZelPath(this); }

void TZelCanvas::Curve(const TPointF* P, int High, float, bool Closed, float) {
  if (Closed)
    Polygon(P, High);
  else
    Polyline(P, High);
}

void TZelCanvas::DoHorizLine(float X0, float X1, float Y) {
  MoveTo(X0, Y);
  LineTo(X1, Y);
}

void TZelCanvas::DoVertLine(float X, float Y0, float Y1) {
  MoveTo(X, Y0);
  LineTo(X, Y1);
}

void TZelCanvas::Line(float X0, float Y0, float X1, float Y1) {
  MoveTo(X0, Y0);
  LineTo(X1, Y1);
}

void TZelCanvas::PolygonConcave(const TPointF* P, int High) { Polygon(P, High); }

void TZelCanvas::DrawCheckBox(int X, int Y, bool Checked, TAlphaColor ABackColor, bool CheckBox) {
  auto L = [this](int X0, int Y0, int X1, int Y1, int X2, int Y2) {
    MoveTo(float(X0), float(Y0));
    LineTo(float(X1), float(Y1));
    LineTo(float(X2), float(Y2));
  };
  FPen->SetStyle(TPenStyle::psSolid);
  FPen->SetWidth(1);
  FPen->SetColor(0xFF808080);
  FBrush->SetKind(TBrushKind::Solid);
  if (TZelGradient* G = FBrush->ExistingGradient()) G->SetVisible(false);
  FBrush->SetColor(0xFFFFFFFF);
  if (CheckBox) {
    L(X + 11, Y, X, Y, X, Y + 12);
    FPen->SetColor(ABackColor == 0xFFFFFFFF ? 0xFFC0C0C0 : 0xFFFFFFFF);
    L(X, Y + 12, X + 12, Y + 12, X + 12, Y - 1);
    FPen->SetColor(0xFF000000);
    L(X + 10, Y + 1, X + 1, Y + 1, X + 1, Y + 11);
    FPen->SetStyle(TPenStyle::psClear);
    Rectangle(float(X + 2), float(Y + 2), float(X + 12), float(Y + 12));
  } else {
    Ellipse(float(X), float(Y), float(X + 12), float(Y + 12));
  }
  if (Checked) {
    FPen->SetStyle(TPenStyle::psSolid);
    FPen->SetColor(0xFF000000);
    if (CheckBox) {
      for (int i = 1; i <= 3; ++i) Line(float(X + 2 + i), float(Y + 4 + i), float(X + 2 + i), float(Y + 7 + i));
      for (int i = 1; i <= 4; ++i) Line(float(X + 5 + i), float(Y + 7 - i), float(X + 5 + i), float(Y + 10 - i));
    } else {
      FBrush->SetColor(0xFF000000);
      Ellipse(float(X + 3), float(Y + 3), float(X + 9), float(Y + 9));
    }
  }
}

// --- non-virtual operations ---

void TZelCanvas::AssignBrush(TZelBrush* B) {
  if (B) AssignBrush(B, B->GetBackColor(), B->GetColor());
}
void TZelCanvas::AssignBrush(TZelBrush* B, TAlphaColor C) {
  if (B) AssignBrush(B, C, B->GetColor());
}
void TZelCanvas::AssignBrushColor(TZelBrush* B, TAlphaColor C, TAlphaColor Back) {
  AssignBrush(B, C, Back);
}
void TZelCanvas::AssignVisiblePen(TZelPen* P) {
  if (P) AssignVisiblePenColor(P, P->GetColor());
}
void TZelCanvas::AssignFont(TZelFont* F) {
  if (F) AssignFontSize(F, F->GetSizeFloat());
}

void TZelCanvas::AssignFontSize(TZelFont* F, float Size) {
  if (!F) return;
  if (IZoomText && FFontZoom != 100)
    Size = std::max(1.0f, static_cast<float>(Size * FFontZoom * 0.01));
  {
    IChangingFont = true;
    TRestoreOnExit Done([this] { IChangingFont = false; });
    if (F != FFont.get()) FFont->Assign(F);
    FFont->SetSizeFloat(Size);
    // Monochrome text is black; the fill brush is left alone (monochrome fills are white).
    if (GetMonochrome()) FFont->SetColor(0xFF000000);
  }
  DoChangedFont();
}

void TZelCanvas::Rectangle(const TRectF& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
void TZelCanvas::DoRectangle(const TRectF& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }

void TZelCanvas::Ellipse(const TRectF& R) {
  Ellipse(float(Round(R.Left)), float(Round(R.Top)), float(Round(R.Right)), float(Round(R.Bottom)));
}

void TZelCanvas::RoundRect(const TRectF& R, int X, int Y, TZelCorners* Corners) {
  if (Corners) {
    TOwned<TZelBasePath> Path(Corners->GetPath(this, R, X, Y));
    if (Path) Path->Draw(this);
  } else {
    RoundRect(Round(R.Left), Round(R.Top), Round(R.Right), Round(R.Bottom), X, Y);
  }
}

void TZelCanvas::TextOut(float X, float Y, const String& Text, bool AllowHtml) {
  if (AllowHtml)
    HtmlTextOut(this, float(Round(X)), float(Round(Y)), Text);
  else
    TextOut(X, Y, Text);
}

void TZelCanvas::Line(const TPointF& From, const TPointF& To) { Line(From.X, From.Y, To.X, To.Y); }
void TZelCanvas::LineTo(const TPointF& P) { LineTo(P.X, P.Y); }
void TZelCanvas::MoveTo(const TPointF& P) { MoveTo(P.X, P.Y); }

std::vector<TPointF> TZelCanvas::GetArrowPoints(float ArrowPercent, const TPointF& From,
                                               const TPointF& To, int ArrowWidth,
                                               int ArrowHeight) {
  double DX = double(To.X) - From.X, DY = double(From.Y) - To.Y;
  double L = std::sqrt(DX * DX + DY * DY);
  if (!(L > 0) || !std::isfinite(L)) return {};
  double H = std::min<double>(Round(L), ArrowHeight);
  double S = DY / L, C = DX / L;
  auto Back = [&](double U, double V) {
    return TPointF(float(Round(U * C + V * S)), float(Round(-U * S + V * C)));
  };
  double VM = To.X * S + To.Y * C;
  double U1 = To.X * C - To.Y * S - H;
  double U0 = From.X * C - From.Y * S;
  double G = ArrowWidth * double(ArrowPercent) * 0.005;
  double HalfW = ArrowWidth / 2.0;
  return {Back(U0, VM + G), Back(U0, VM - G), Back(U1, VM - G), Back(U1, VM - HalfW),
          To,               Back(U1, VM + HalfW), Back(U1, VM + G)};
}

void TZelCanvas::Arrow(bool Filled, double ArrowPercent, const TPointF& From, const TPointF& To,
                       int ArrowWidth, int ArrowHeight) {
  std::vector<TPointF> P =
      GetArrowPoints(float(ArrowPercent), From, To, ArrowWidth, ArrowHeight);
  if (P.empty()) return;
  if (Filled) {
    Polygon(P.data(), 6);
  } else {
    Line(From, To);
    LineTo(P[5]);
    Line(To, P[3]);
  }
}

TZelGradient* TZelCanvas::GetGradient() { return FBrush->GetGradient(); }

bool TZelCanvas::IsGradientVisible() {
  return FBrush->GetKind() != TBrushKind::None && FBrush->HasGradient();
}

void TZelCanvas::InternalDark(TAlphaColor C, Byte Quantity) {
  TAlphaColor D = ApplyDark(C, Quantity);
  if (FBrush->GetKind() == TBrushKind::Solid) {
    FBrush->SetColor(D);
    if (FCanvas) FCanvas->GetFill()->SetColor(D);
  } else {
    SetBackColor(D);
  }
}

void TZelCanvas::ResetState() {
  FPen->SetColor(0xFF000000);
  FPen->SetWidth(1);
  FPen->SetStyle(TPenStyle::psSolid);
  FBrush->SetColor(0xFFFFFFFF);
  FBrush->SetKind(TBrushKind::Solid);
  if (FBrush->HasImage()) FBrush->SetImage(nullptr);
  FFont->SetColor(0xFF000000);
  FFont->SetStyle(TFontStyles());
  if (!GetDefaultFontName.empty()) FFont->SetFamily(GetDefaultFontName);
  if (GetDefaultFontSize > 0) FFont->SetSize(float(GetDefaultFontSize));
  GetGradient()->InitDefaults();
  SetBackColor(0xFFFFFFFF);
  SetBackMode(TCanvasBackMode::cbmTransparent);
  SetTextAlign(0);
}

void TZelCanvas::PrepareBrush() {
  if (!FCanvas) return;
  TBrush* Fill = FCanvas->GetFill();
  if (IsGradientVisible()) {
    PrepareGradient(FBrush->GetGradient(), *Fill->GetGradient());
    Fill->SetKind(TBrushKind::Gradient);
  } else {
    Fill->TBrush::Assign(FBrush.get());
  }
}

bool TZelCanvas::IsConvexPolygon(const std::vector<TPointF>& P) {
  std::size_t N = P.size();
  if (N < 3) return false;
  int Flags = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const TPointF& A = P[i];
    const TPointF& B = P[(i + 1) % N];
    const TPointF& C = P[(i + 2) % N];
    double Cross = double(B.X - A.X) * (C.Y - B.Y) - double(B.Y - A.Y) * (C.X - B.X);
    if (Cross < 0)
      Flags |= 1;
    else if (Cross > 0)
      Flags |= 2;
    if (Flags == 3) return false;
  }
  return Flags != 0;
}

bool TZelCanvas::ConvexHull(std::vector<TPointF>& P) {
  if (P.size() == 3) return true;
  if (P.size() < 3) return false;
  std::size_t PivotIndex = 0;
  for (std::size_t i = 1; i < P.size(); ++i)
    if (P[i].Y < P[PivotIndex].Y || (P[i].Y == P[PivotIndex].Y && P[i].X > P[PivotIndex].X))
      PivotIndex = i;
  TPointF Pivot = P[PivotIndex];
  P[PivotIndex] = P.back();
  P.pop_back();
  auto Key = [&](const TPointF& Q) {
    double D = std::hypot(double(Pivot.X) - Q.X, double(Pivot.Y) - Q.Y);
    return D == 0 ? 0.0 : (double(Pivot.X) - Q.X) / D;
  };
  std::stable_sort(P.begin(), P.end(),
                   [&](const TPointF& A, const TPointF& B) { return Key(A) < Key(B); });
  std::size_t i = 1;
  while (i < P.size()) {
    const TPointF& Q = P[i];
    const TPointF& Prev = P[i - 1];
    const TPointF& Next = i + 1 < P.size() ? P[i + 1] : Pivot;
    double Cross = (double(Prev.X) - Q.X) * (double(Next.Y) - Q.Y) -
                   (double(Next.X) - Q.X) * (double(Prev.Y) - Q.Y);
    if (Cross < 0) {
      ++i;
    } else {
      P.erase(P.begin() + static_cast<std::ptrdiff_t>(i));
      if (i > 1) --i;
    }
  }
  P.push_back(Pivot);
  return true;
}

void TZelCanvas::CalcArcAngles(int Left, int Top, int Right, int Bottom, int StartX, int StartY,
                               int EndX, int EndY, double& StartAngle, double& EndAngle) {
  double CX = (double(Left) + Right) / 2, CY = (double(Top) + Bottom) / 2;
  auto AngleOf = [&](int X, int Y) {
    double A = std::atan2(CY - Y, X - CX);
    if (A < 0) A += 2 * M_PI;
    return A / PiStep;
  };
  StartAngle = AngleOf(StartX, StartY);
  EndAngle = AngleOf(EndX, EndY);
}

void TZelCanvas::PrepareGradient(TCustomZelGradient* G, TGradient& Target) {
  if (G) G->PrepareGradient(Target);
}

TPathData* TZelCanvas::DonutPath(const TRectF& R, double StartAngle, double EndAngle,
                                 double HolePercent, float PenWidth) {
  auto* Path = new TPathData();
  TPointF C = R.CenterPoint();
  if (HolePercent == 0) Path->MoveTo(C);
  TPointF Radius{(R.Width() - PenWidth) / 2, (R.Height() - PenWidth) / 2};
  float Sweep = float(EndAngle - StartAngle);
  Path->AddArc(C, Radius, float(360 - EndAngle), Sweep);
  if (HolePercent != 0) {
    float K = float(HolePercent * 0.01);
    Path->AddArc(C, Radius * K, float(360 - StartAngle), -Sweep);
  } else {
    Path->LineTo(C);
  }
  Path->ClosePath();
  return Path;
}

}  // namespace zel
