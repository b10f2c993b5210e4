#include "zelgraph/engine/Pointer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

namespace {

Byte ClampByte(std::int32_t V) { return static_cast<Byte>(std::clamp(V, 0, 255)); }

}  // namespace

ZEL_DEFINE_CLASS(TSeriesPointer, TZelCustomShapeBrushPen)

TSeriesPointer::TSeriesPointer(TChartSeries* AOwner) : FSeries(AOwner) {
  if (AOwner) FParent = AOwner->GetParentChart();
}

TSeriesPointer::~TSeriesPointer() {
  if (FEmboss) FEmboss->Free();
  if (FPicture) FPicture->Free();
  if (FShadow) FShadow->Free();
}

void TSeriesPointer::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSeriesPointer*>(Source)) {
    FDark3D = S->FDark3D;
    FDepth = S->FDepth;
    FDraw3D = S->FDraw3D;
    FDarkPen = S->FDarkPen;
    FFullGradient = S->FFullGradient;
    FHorizSize = S->FHorizSize;
    FInflate = S->FInflate;
    SetEmboss(S->FEmboss);
    SetPicture(S->FPicture);
    SetShadow(S->FShadow);
    FSizeFloat = S->FSizeFloat;
    FSizeUnits = S->FSizeUnits;
    FStyle = S->FStyle;
    FTransparency = S->FTransparency;
    FVertSize = S->FVertSize;
  }
  inherited::Assign(Source);
}

// Setters

void TSeriesPointer::SetDark3D(bool Value) {
  if (FDark3D != Value) {
    FDark3D = Value;
    Repaint();
  }
}

void TSeriesPointer::SetDarkPen(std::int32_t Value) {
  if (FDarkPen != Value) {
    FDarkPen = Value;
    Repaint();
  }
}

void TSeriesPointer::SetDepth(std::int32_t Value) {
  if (FDepth != Value) {
    FDepth = Value;
    Repaint();
  }
}

void TSeriesPointer::SetDraw3D(bool Value) {
  if (FDraw3D != Value) {
    FDraw3D = Value;
    Repaint();
  }
}

void TSeriesPointer::SetFullGradient(bool Value) {
  if (FFullGradient != Value) {
    FFullGradient = Value;
    Repaint();
  }
}

void TSeriesPointer::SetHorizSize(std::int32_t Value) {
  if (Value <= 0) Value = 1;
  if (FHorizSize != Value) {
    FHorizSize = Value;
    Repaint();
  }
}

void TSeriesPointer::SetVertSize(std::int32_t Value) {
  if (Value <= 0) Value = 1;
  if (FVertSize != Value) {
    FVertSize = Value;
    Repaint();
  }
}

void TSeriesPointer::SetSize(std::int32_t Value) {
  SetHorizSize(Value);
  SetVertSize(Value);
}

void TSeriesPointer::SetInflateMargins(bool Value) {
  if (FInflate != Value) {
    FInflate = Value;
    Repaint();
  }
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle Value) {
  if (FStyle != Value) {
    FStyle = Value;
    Repaint();
  }
}

void TSeriesPointer::SetTransparency(TZelTransparency Value) {
  if (Value > 100) Value = 100;
  if (FTransparency != Value) {
    FTransparency = Value;
    Repaint();
  }
}

TAlphaColor TSeriesPointer::GetColor() const { return FBrush->GetColor(); }
void TSeriesPointer::SetColor(TAlphaColor Value) { FBrush->SetColor(Value); }

TZelEmboss* TSeriesPointer::GetEmboss() {
  if (!FEmboss) {
    FEmboss = new TZelEmboss(ChangeHandler());
    FEmboss->InitValues(false, FEmboss->GetColor(), 3);
  }
  return FEmboss;
}

void TSeriesPointer::SetEmboss(TZelEmboss* Value) {
  if (!Value)
    FreeAndNil(FEmboss);
  else if (Value != FEmboss)
    GetEmboss()->Assign(Value);
}

TZelShadow* TSeriesPointer::GetShadow() {
  if (!FShadow) {
    FShadow = new TZelShadow(ChangeHandler());
    FShadow->InitValues(false, FShadow->GetColor(), 3);
  }
  return FShadow;
}

void TSeriesPointer::SetShadow(TZelShadow* Value) {
  if (!Value)
    FreeAndNil(FShadow);
  else if (Value != FShadow)
    GetShadow()->Assign(Value);
}

TZelPicture* TSeriesPointer::GetPicture() {
  if (!FPicture) {
    FPicture = new TZelPicture;
    FPicture->OnChange = ChangeHandler();
  }
  return FPicture;
}

void TSeriesPointer::SetPicture(TZelPicture* Value) {
  if (!Value)
    FreeAndNil(FPicture);
  else if (Value != FPicture)
    GetPicture()->Assign(Value);
}

TZelGradient* TSeriesPointer::GetGradient() { return FBrush->GetGradient(); }
void TSeriesPointer::SetGradient(TZelGradient* Value) { FBrush->GetGradient()->Assign(Value); }

// Sizes and depth

int TSeriesPointer::AxisSize(double Value) const {
  if (FSeries)
    if (TChartAxis* Axis = FSeries->GetGetVertAxis()) return Axis->CalcSizeValue(Value);
  return Round(Value);
}

void TSeriesPointer::CalcSize(int& H, int& V) const {
  if (FSizeFloat != 0) {
    H = V = FSizeUnits == TPointerSizeUnits::suAxis ? AxisSize(FSizeFloat) : Round(FSizeFloat);
  } else {
    H = FHorizSize;
    V = FVertSize;
  }
}

void TSeriesPointer::CalcHorizMargins(int& LeftMargin, int& RightMargin) const {
  if (!FVisible || !FInflate) return;
  // (Summed in double: a program may give any half size.)
  const int M = ZelClampPixel(FPen->GetVisible() ? double(FHorizSize) + Round(FPen->GetWidth() * 0.5) + 1
                                                 : double(FHorizSize) + 1);
  LeftMargin = std::max(LeftMargin, M);
  RightMargin = std::max(RightMargin, M);
}

void TSeriesPointer::CalcVerticalMargins(int& TopMargin, int& BottomMargin) const {
  if (!FVisible || !FInflate) return;
  const int M = ZelClampPixel(FPen->GetVisible() ? double(FVertSize) + Round(FPen->GetWidth() * 0.5)
                                                 : double(FVertSize) + 1);
  TopMargin = std::max(TopMargin, M);
  BottomMargin = std::max(BottomMargin, M);
}

int TSeriesPointer::GetStartZ() const {
  if (!FSeries) return Z;
  return FDepth != 0 ? FSeries->MiddleZ - FDepth : FSeries->StartZ;
}

int TSeriesPointer::GetEndZ() const {
  if (!FSeries) return Z;
  return FDepth != 0 ? FSeries->MiddleZ + FDepth : FSeries->EndZ;
}

int TSeriesPointer::GetMiddleZ() const { return FSeries ? FSeries->MiddleZ : Z; }

// Drawing

TAlphaColor TSeriesPointer::PenColorFor(TAlphaColor ColorValue) const {
  const TAlphaColor PenColor = FPen->GetColor();
  if (FDarkPen == 0) return PenColor == 0x00FFFFFF ? ColorValue : PenColor;
  const TAlphaColor C =
      FDarkPen > 0 ? ApplyDark(ColorValue, ClampByte(FDarkPen)) : ApplyBright(ColorValue, ClampByte(-FDarkPen));
  // The default-colour marker has no alpha of its own: the point's colour keeps its own.
  const TAlphaColor Alpha = PenColor == 0x00FFFFFF ? ColorValue : PenColor;
  return (C & 0x00FFFFFFu) | (Alpha & 0xFF000000u);
}

TAlphaColor TSeriesPointer::BrushColorFor(TAlphaColor ColorValue) const {
  const TAlphaColor B = FBrush->GetColor();
  if (B != 0x00FFFFFF) return B;
  return FBrush->GetKind() == TBrushKind::Solid ? ColorValue : FBrush->GetBackColor();
}

bool TSeriesPointer::DrawsOpaque(TAlphaColor ColorValue) const {
  if (FTransparency != 0 || (FShadow && FShadow->ShouldDraw()) || (FEmboss && FEmboss->ShouldDraw()) ||
      (FPicture && FPicture->Valid()))
    return false;
  const TBrushKind Kind = FBrush->GetKind();
  if (Kind != TBrushKind::None && (Kind != TBrushKind::Solid || AlphaOf(BrushColorFor(ColorValue)) != 0xFF))
    return false;
  return !FPen->GetVisible() || (!FPen->IsGradientVisible() && AlphaOf(PenColorFor(ColorValue)) == 0xFF);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D* ACanvas, TAlphaColor ColorValue) {
  if (FPen->GetVisible())
    ACanvas->AssignVisiblePenColor(FPen, PenColorFor(ColorValue));
  else if (ACanvas->GetPen()->GetStyle() != TPenStyle::psClear)
    ACanvas->GetPen()->SetStyle(TPenStyle::psClear);
  ACanvas->AssignBrush(FBrush, BrushColorFor(ColorValue), ColorValue);
}

void TSeriesPointer::Prepare() {
  if (FParent && FParent->GetCanvas()) PrepareCanvas(FParent->GetCanvas(), FBrush->GetColor());
}

void TSeriesPointer::Draw(int X, int Y, TAlphaColor Color, TSeriesPointerStyle AStyle) {
  int H, V;
  if (FSizeFloat != 0) {
    H = V = FSizeUnits == TPointerSizeUnits::suAxis ? AxisSize(FSizeFloat) : Round(FSizeFloat);
  } else if (FSizeUnits == TPointerSizeUnits::suAxis) {
    H = AxisSize(FHorizSize);
    V = AxisSize(FVertSize);
  } else {
    H = FHorizSize;
    V = FVertSize;
  }
  if (!FParent || !FParent->GetCanvas()) return;
  DrawPointer(FParent->GetCanvas(), FParent->GetView3D(), X, Y, H, V, Color, AStyle);
}

void TSeriesPointer::Draw(int X, int Y) { Draw(X, Y, FBrush->GetColor(), FStyle); }

void TSeriesPointer::Draw(TPointF P) { Draw(Round(P.X), Round(P.Y)); }

void TSeriesPointer::DrawPointer(TCanvas3D* C, bool Is3D, int X, int Y, int H, int V, TAlphaColor ColorValue,
                                 TSeriesPointerStyle AStyle) {
  // Held to the axes' pixel limit, so that a point far off the chart stays far off with its size
  // added, and clipped away.
  X = ZelClampPixel(X);
  Y = ZelClampPixel(Y);
  H = ZelClampPixel(H);
  V = ZelClampPixel(V);
  const float L = float(X - H), T = float(Y - V), R = float(X + H), B = float(Y + V);
  const float XF = float(X), YF = float(Y);
  const int StartZ = GetStartZ();
  const int Half = V / 2;
  // Marker outlines live on the stack: drawing a marker per point allocates nothing here.
  const std::array<TPointF, 6> Hexagon{{{XF, T}, {R, float(Y - Half)}, {R, float(Y + Half)},
                                        {XF, B}, {L, float(Y + Half)}, {L, float(Y - Half)}}};

  // Shadow, then emboss.
  for (TZelShadow* S : {static_cast<TZelShadow*>(FShadow), static_cast<TZelShadow*>(FEmboss)}) {
    if (!S || !S->ShouldDraw()) continue;
    const TAlphaColor SavedColor = C->GetBrush()->GetColor();
    const TBrushKind SavedKind = C->GetBrush()->GetKind();
    const TPenStyle SavedPen = C->GetPen()->GetStyle();
    S->ZPosition = StartZ;
    const TRectF Rect(L, T, R, B);
    switch (AStyle) {
      case TSeriesPointerStyle::psRectangle: S->Draw(C, Rect); break;
      case TSeriesPointerStyle::psCircle: S->DrawEllipse(C, Rect, 0, 0, 360); break;
      case TSeriesPointerStyle::psHexagon: S->Draw(C, Hexagon.data(), int(Hexagon.size())); break;
      case TSeriesPointerStyle::psDonut: S->DrawEllipse(C, Rect, 50, 0, 360); break;
      case TSeriesPointerStyle::psArrow:
        S->Draw(C, TZelCanvas::GetArrowPoints(50, TPointF(XF, T), TPointF(XF, B), H, V));
        break;
      default: break;
    }
    C->GetBrush()->SetColor(SavedColor);
    C->GetBrush()->SetKind(SavedKind);
    C->GetPen()->SetStyle(SavedPen);
  }

  const bool Solid = Is3D && FDraw3D;
  bool Blending = false;
  if (FTransparency != 0) {
    if (C->GetSupportsAlpha()) {
      C->BeginBlending(ZelZeroRectF, static_cast<std::int8_t>(FTransparency));
    } else {
      TRectF BR(L, T, R + 1, B + 1);
      if (Is3D) {
        if (Solid && AStyle == TSeriesPointerStyle::psRectangle && C->GetIsOrthogonal()) {
          const float D = float(GetEndZ() - StartZ);
          BR.Right += D;
          BR.Top -= D;
        }
        BR = C->RectFromRectZ(BR, StartZ);
      }
      C->BeginBlending(BR, static_cast<std::int8_t>(FTransparency));
    }
    Blending = true;
  }

  TRestoreOnExit EndBlend([&] {
    if (Blending) C->EndBlending(nullptr);
  });
  if (TZelGradient* G = FBrush->ExistingGradient(); G && G->GetVisible() && !FFullGradient) {
    TAutoRepaintScope Quiet(FParent, false);
    G->SetEndColor(ColorValue);
    C->GetGradient()->SetEndColor(ColorValue);
  }

  auto Poly = [&](const auto& P) {
    if (Is3D)
      C->PolygonWithZ(P.data(), int(P.size()) - 1, StartZ);
    else
      C->Polygon(P.data(), int(P.size()) - 1);
  };
  using T3 = std::array<TPointF, 3>;
  using T4 = std::array<TPointF, 4>;
  auto Cross = [&]() {
    if (Is3D) {
      C->VertLine3D(XF, T, B + 1, float(StartZ));
      C->HorizLine3D(L, R + 1, YF, float(StartZ));
    } else {
      C->DoVertLine(XF, T, B + 1);
      C->DoHorizLine(L, R + 1, YF);
    }
  };
  auto DiagCross = [&]() {
    if (Is3D) {
      C->LineWithZ(L, T, R + 1, B + 1, float(StartZ));
      C->LineWithZ(R, T, L - 1, B + 1, float(StartZ));
    } else {
      C->Line(L, T, R + 1, B + 1);
      C->Line(R, T, L - 1, B + 1);
    }
  };
  auto Triangle = [&](int Dir) {
    const float Base = float(Y + Dir * V), Apex = float(Y - Dir * V);
    if (Solid)
      C->Pyramid(true, X - H, Y - Dir * V, X + H, Y + Dir * V, StartZ, GetEndZ(), FDark3D);
    else
      Poly(T3{{{L, Base}, {R, Base}, {XF, Apex}}});
  };

  switch (AStyle) {
    case TSeriesPointerStyle::psRectangle:
      if (Solid)
        C->Cube(X - H, X + H, Y - V, Y + V, StartZ, GetEndZ(), FDark3D, 0);
      else if (Is3D)
        C->RectangleWithZ(TRectF(L, T, R + 1, B + 1), StartZ);
      else
        C->Rectangle(L, T, R + 1, B + 1);
      break;
    case TSeriesPointerStyle::psCircle:
      if (Solid && C->GetSupportsFullRotation())
        C->Sphere(X, Y, GetMiddleZ(), FSizeFloat != 0 ? FSizeFloat : H);
      else if (Is3D)
        C->EllipseWithZ(L, T, R, B, StartZ);
      else
        C->Ellipse(L, T, R, B);
      break;
    case TSeriesPointerStyle::psTriangle: Triangle(1); break;
    case TSeriesPointerStyle::psDownTriangle: Triangle(-1); break;
    case TSeriesPointerStyle::psCross: Cross(); break;
    case TSeriesPointerStyle::psDiagCross: DiagCross(); break;
    case TSeriesPointerStyle::psStar:
      Cross();
      DiagCross();
      break;
    case TSeriesPointerStyle::psDiamond: Poly(T4{{{L, YF}, {XF, T}, {R, YF}, {XF, B}}}); break;
    case TSeriesPointerStyle::psSmallDot: {
      // One pixel set on the canvas the chart draws on, its own buffer or not (a chart drawn
      // straight on a canvas has no bitmap whose pixels SetPixel could set).
      const TPointF P = Is3D ? C->Calculate3DPosition(X, Y, GetMiddleZ()) : TPointF(float(X), float(Y));
      if (TCanvas* Target = C->GetCanvas()) Target->ClearRect(TRectF(P.X, P.Y, P.X + 1, P.Y + 1), C->GetBrush()->GetColor());
      break;
    }
    case TSeriesPointerStyle::psNothing: break;
    case TSeriesPointerStyle::psLeftTriangle: Poly(T3{{{L, YF}, {R, B}, {R, T}}}); break;
    case TSeriesPointerStyle::psRightTriangle: Poly(T3{{{R, YF}, {L, B}, {L, T}}}); break;
    case TSeriesPointerStyle::psHexagon: Poly(Hexagon); break;
    case TSeriesPointerStyle::psVisual: break;
    case TSeriesPointerStyle::psDonut:
      if (!Is3D) {
        C->Donut(X, Y, H, V, 0, 2 * std::numbers::pi, 50);
      } else if (C->GetIsOrthogonal()) {
        const TPointF P = C->Calculate3DPosition(XF, YF, float(StartZ));
        C->Donut(Round(P.X), Round(P.Y), H, V, 0, 2 * std::numbers::pi, 50);
      } else {
        C->EllipseWithZ(L, T, R, B, StartZ);
      }
      break;
    case TSeriesPointerStyle::psArrow:
      C->Arrow(C->GetBrush()->GetKind() != TBrushKind::None, TPointF(XF, T), TPointF(XF, B), H, V, StartZ);
      break;
  }

  if (FPicture && FPicture->Valid()) {
    TRectF PR(L, T, R, B);
    if (!Is3D || C->GetIsOrthogonal()) {
      if (Is3D) PR = C->CalcRect3D(PR, StartZ);
      const bool Clip = AStyle == TSeriesPointerStyle::psCircle;
      if (Clip) C->ClipEllipse(PR, false);
      TUnClipScope UnClip(C, Clip);
      C->StretchDraw(PR, FPicture->Filtered());
    } else {
      C->StretchDraw(PR, FPicture->Filtered(), StartZ, TCanvas3DPlane::cpZ);
    }
  }
}

// Hit test

bool TSeriesPointer::Clicked(TSeriesPointerStyle AStyle, TPointF Point, int X, int Y) const {
  const TRectF R = RectFromCenter(float(X), float(Y), float(FHorizSize), float(FVertSize));
  const float CX = float(Round((R.Left + R.Right) * 0.5f)), CY = float(Round((R.Top + R.Bottom) * 0.5f));
  switch (AStyle) {
    case TSeriesPointerStyle::psCircle:
    case TSeriesPointerStyle::psHexagon:
    case TSeriesPointerStyle::psDonut: return PointInEllipse(Point, R);
    case TSeriesPointerStyle::psTriangle: return PointInTriangle(Point, R.Left, R.Right, R.Bottom, R.Top);
    case TSeriesPointerStyle::psDownTriangle: return PointInTriangle(Point, R.Left, R.Right, R.Top, R.Bottom);
    case TSeriesPointerStyle::psDiamond: {
      const TPointF P[4] = {{CX, R.Top}, {R.Right, CY}, {CX, R.Bottom}, {R.Left, CY}};
      return PointInPolygon(Point, P, 3);
    }
    case TSeriesPointerStyle::psLeftTriangle: return PointInHorizTriangle(Point, R.Top, R.Bottom, R.Right, R.Left);
    case TSeriesPointerStyle::psRightTriangle: return PointInHorizTriangle(Point, R.Top, R.Bottom, R.Left, R.Right);
    case TSeriesPointerStyle::psArrow: {
      const auto P = TZelCanvas::GetArrowPoints(50, TPointF(CX, R.Top), TPointF(CX, R.Bottom), FHorizSize, FVertSize);
      return PointInPolygon(Point, P, int(P.size()) - 1);
    }
    case TSeriesPointerStyle::psNothing: return false;
    default: return std::abs(float(X) - Point.X) < float(FHorizSize) && std::abs(float(Y) - Point.Y) < float(FVertSize);
  }
}

// ---------------------------------------------------------------------------------------------
// TSeriesPointerItems

ZEL_DEFINE_CLASS(TSeriesPointerItems, TSeriesPointer)

TSeriesPointerItems::~TSeriesPointerItems() {
  for (TSeriesPointer* P : IList)
    if (P) P->Free();
  IList.clear();
}

TSeriesPointer* TSeriesPointerItems::Get(std::int32_t Index) {
  if (Index < 0) return this;
  if (Index >= Count()) IList.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  TSeriesPointer*& P = IList[static_cast<std::size_t>(Index)];
  if (!P) {
    P = new TSeriesPointer(FSeries);
    P->Assign(this);
  }
  return P;
}

void TSeriesPointerItems::Put(std::int32_t Index, TSeriesPointer* Pointer) {
  if (Index < 0) return;
  if (Pointer) {
    if (Index >= Count()) IList.resize(static_cast<std::size_t>(Index) + 1, nullptr);
    TSeriesPointer*& P = IList[static_cast<std::size_t>(Index)];
    if (P != Pointer) {
      if (P) P->Free();
      P = Pointer;
    }
  } else if (Index < Count()) {
    TSeriesPointer*& P = IList[static_cast<std::size_t>(Index)];
    if (P) P->Free();
    P = nullptr;
  } else {
    return;
  }
  Repaint();
}

TSeriesPointer* TSeriesPointerItems::InternalGet(std::int32_t Index) {
  if (Index >= 0 && Index < Count())
    if (TSeriesPointer* P = IList[static_cast<std::size_t>(Index)]) return P;
  return this;
}

void TSeriesPointerItems::Delete(std::int32_t Index) {
  if (Index < 0 || Index >= Count()) return;
  if (TSeriesPointer* P = IList[static_cast<std::size_t>(Index)]) P->Free();
  IList.erase(IList.begin() + Index);
}

void TSeriesPointerItems::Exchange(std::int32_t A, std::int32_t B) {
  if (A < 0 || B < 0 || A == B) return;
  const std::int32_t Needed = std::max(A, B) + 1;
  if (Count() == 0) return;
  if (Needed > Count()) IList.resize(static_cast<std::size_t>(Needed), nullptr);
  std::swap(IList[static_cast<std::size_t>(A)], IList[static_cast<std::size_t>(B)]);
}

void TSeriesPointerItems::Clear() {
  for (TSeriesPointer* P : IList)
    if (P) P->Free();
  IList.clear();
  Repaint();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TSeriesPointer)
  P::Prop("Dark3D", &Self::GetDark3D, &Self::SetDark3D, Default(true)),
  P::Prop("DarkPen", &Self::GetDarkPen, &Self::SetDarkPen, Default(0)),
  P::Prop("Depth", &Self::GetDepth, &Self::SetDepth, Default(0)),
  P::Prop("Draw3D", &Self::GetDraw3D, &Self::SetDraw3D, Default(true)),
  P::Obj("Emboss", &Self::GetEmboss, &Self::ExistingEmboss),
  P::Prop("FullGradient", &Self::GetFullGradient, &Self::SetFullGradient, &Self::IsFullGradientStored),
  // The brush's gradient: written inside "Brush", read here too.
  P::Obj("Gradient", &Self::GetGradient, [](Self* S) { return S->GetBrush()->ExistingGradient(); }, [](Self*) { return false; }),
  P::Prop("HorizSize", &Self::GetHorizSize, &Self::SetHorizSize, Default(4)),
  P::Prop("InflateMargins", &Self::GetInflateMargins, &Self::SetInflateMargins, Default(true)),
  P::Obj("Picture", &Self::GetPicture, &Self::ExistingPicture),
  P::Obj("Shadow", &Self::GetShadow, &Self::ExistingShadow),
  P::Prop("SizeUnits", &Self::GetSizeUnits, &Self::SetSizeUnits, Default(TPointerSizeUnits::suPixels)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TSeriesPointerStyle::psRectangle)),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(TZelTransparency(0))),
  P::Prop("VertSize", &Self::GetVertSize, &Self::SetVertSize, Default(4)),
ZEL_END_PUBLISHED

}  // namespace zel
