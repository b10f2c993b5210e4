#include "zelgraph/engine/Shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/Bitmap.h"
#include "platform/Filer.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

// ---------------------------------------------------------------------------------------------
// TZelCustomShapeBrushPen

ZEL_DEFINE_CLASS(TZelCustomShapeBrushPen, TPersistent)

TZelCustomShapeBrushPen::TZelCustomShapeBrushPen() {
  FBrush = new TZelBrush(ChangeHandler());
  FPen = new TZelPen(ChangeHandler());
}

TZelCustomShapeBrushPen::~TZelCustomShapeBrushPen() {
  FBrush->Free();
  FPen->Free();
  if (Transform) Transform->Free();
}

void TZelCustomShapeBrushPen::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelCustomShapeBrushPen*>(Source)) {
    FBrush->Assign(S->FBrush);
    FPen->Assign(S->FPen);
    FVisible = S->FVisible;
  } else {
    inherited::Assign(Source);
  }
}

void TZelCustomShapeBrushPen::Repaint() {
  if (FParent) FParent->Invalidate();
}

const TClass* TZelCustomShapeBrushPen::GetBrushClass() const { return TZelBrush::StaticClass(); }

void TZelCustomShapeBrushPen::CanvasChanged(TObject*) { Repaint(); }

void TZelCustomShapeBrushPen::SetBrush(TZelBrush* Value) { FBrush->Assign(Value); }

void TZelCustomShapeBrushPen::SetPen(TZelPen* Value) { FPen->Assign(Value); }

void TZelCustomShapeBrushPen::SetVisible(bool Value) {
  if (FParent) {
    FParent->SetBooleanProperty(FVisible, Value);
  } else if (FVisible != Value) {
    FVisible = Value;
    Repaint();  // nothing here without a panel; elements with another way to repaint use it
  }
}

// ---------------------------------------------------------------------------------------------
// Unit routines

std::array<TPointF, 4> RectToFourPoints(const TRectF& R, double Angle) {
  const double CX = (double(R.Left) + R.Right) * 0.5;
  const double CY = (double(R.Top) + R.Bottom) * 0.5;
  const double Rad = Angle * std::numbers::pi / 180.0;
  const double S = std::sin(Rad), C = std::cos(Rad);
  auto Turn = [&](double X, double Y) {
    const double DX = X - CX, DY = Y - CY;
    return TPointF(float(CX + DX * C + DY * S), float(CY + DY * C - DX * S));
  };
  return {Turn(R.Left, R.Top), Turn(R.Right, R.Top), Turn(R.Right, R.Bottom), Turn(R.Left, R.Bottom)};
}

// ---------------------------------------------------------------------------------------------
// TShapeCallout

ZEL_DEFINE_CLASS(TShapeCallout, TPersistent)

void TShapeCallout::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TShapeCallout*>(Source)) {
    FPointPosition = S->FPointPosition;
    FPosition = S->FPosition;
    FSide = S->FSide;
    FSize = S->FSize;
    FWidth = S->FWidth;
  } else {
    inherited::Assign(Source);
  }
}

void TShapeCallout::Changed() {
  if (IOwner) IOwner->Repaint();
}

void TShapeCallout::SetPointPosition(std::int32_t Value) {
  if (FPointPosition != Value) {
    FPointPosition = Value;
    Changed();
  }
}

void TShapeCallout::SetPosition(std::int32_t Value) {
  if (FPosition != Value) {
    FPosition = Value;
    Changed();
  }
}

void TShapeCallout::SetSide(TShapeCalloutSide Value) {
  if (FSide != Value) {
    FSide = Value;
    Changed();
  }
}

void TShapeCallout::SetSize(std::int32_t Value) {
  if (FSize != Value) {
    FSize = Value;
    Changed();
  }
}

void TShapeCallout::SetWidth(std::int32_t Value) {
  if (FWidth != Value) {
    FWidth = Value;
    Changed();
  }
}

TZelBasePath* TShapeCallout::GetPath(TZelCanvas* Canvas, const TRectF& R, int RoundSize) const {
  TOwned<TZelBasePath> Path(Canvas->CreatePath());
  AddPath(Path.get(), R, RoundSize);
  return Path.release();
}

// The outline is one figure: where a corner arc leaves the pen short of the straight part of a
// side, a line joins them (a move would start a second figure and break the fill).
void TShapeCallout::AddPath(TZelBasePath* Path, const TRectF& R, int RoundSize) const {
  const float L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const float W = R.Width(), H = R.Height();
  const float Rd = float(RoundSize);
  const bool Round = RoundSize > 0;
  const double Pos = FPosition, Wid = FWidth, Sz = FSize;

  auto Horizontal = [&](bool Top) {
    const float Y = Top ? T : B;
    const float D = Top ? -1.0f : 1.0f;
    if (Round) Path->LineTo(Top ? L + Rd : Rt - Rd, Y);
    double C = Top ? Rt - Pos * W * 0.01 : L + Pos * W * 0.01;
    const double Half = Wid * W * 0.005;
    if (C - Half < L + Rd) C = L + Rd + Half;
    if (C + Half > Rt) C = Rt - Half;
    const double First = Top ? C - Half : C + Half;
    const double Second = Top ? C + Half : C - Half;
    Path->LineTo(float(First), Y);
    Path->LineTo(float(C), float(Y + D * H * Sz * 0.01));
    Path->LineTo(float(Second), Y);
    Path->LineTo(Top ? Rt - Rd : L + Rd, Y);
    if (Round) {
      if (Top)
        Path->ArcTo(Rt - Rd, T, Rd, Rd, 270, 90);
      else
        Path->ArcTo(L, B - Rd, Rd, Rd, 90, 90);
    }
  };
  auto Vertical = [&](bool Right) {
    const float X = Right ? Rt : L;
    const float D = Right ? 1.0f : -1.0f;
    if (Round) Path->LineTo(X, Right ? T + Rd : B - Rd);
    double C = Right ? B - Pos * H * 0.01 : T + Pos * H * 0.01;
    const double Half = Wid * H * 0.005;
    if (C < T + Half) C = T + Half;
    if (C > B - Half) C = B - Half;
    const double First = Right ? C - Half : C + Half;
    const double Second = Right ? C + Half : C - Half;
    Path->LineTo(X, float(First));
    Path->LineTo(float(X + D * W * Sz * 0.01), float(C));
    Path->LineTo(X, float(Second));
    Path->LineTo(X, Right ? B - Rd : T + Rd);
    if (Round) {
      if (Right)
        Path->ArcTo(Rt - Rd, B - Rd, Rd, Rd, 0, 90);
      else
        Path->ArcTo(L, T, Rd, Rd, 180, 90);
    }
  };

  // Top-left corner.
  if (Round) {
    Path->MoveTo(L, T + Rd * 0.5f);
    Path->ArcTo(L, T, Rd, Rd, 180, 90);
  } else {
    Path->MoveTo(L, T);
  }
  // Top side.
  if (FSide == TShapeCalloutSide::csTop)
    Horizontal(true);
  else if (Round)
    Path->ArcTo(Rt - Rd, T, Rd, Rd, 270, 90);
  else
    Path->LineTo(Rt, T);
  // Right side.
  if (FSide == TShapeCalloutSide::csRight)
    Vertical(true);
  else if (Round)
    Path->ArcTo(Rt - Rd, B - Rd, Rd, Rd, 0, 90);
  else
    Path->LineTo(Rt, B);
  // Bottom side.
  if (FSide == TShapeCalloutSide::csBottom)
    Horizontal(false);
  else if (Round)
    Path->ArcTo(L, B - Rd, Rd, Rd, 90, 90);
  else
    Path->LineTo(L, B);
  // Left side.
  if (FSide == TShapeCalloutSide::csLeft) Vertical(false);
  Path->Close();
}

// ---------------------------------------------------------------------------------------------
// TZelCustomShape

ZEL_DEFINE_CLASS(TZelCustomShape, TZelCustomShapeBrushPen)

TZelCustomShape::TZelCustomShape(TCustomZelPanel* AOwner) {
  SetParent(AOwner);
  FShadow = new TZelShadow(ChangeHandler());
  InitShadow(FShadow);
  FFont = new TZelFont(ChangeHandler());
  FChildren = new TZelShapes(this);
  FChildren->IShapeClass = GetChildClass();
}

TZelCustomShape::~TZelCustomShape() {
  FChildren->Free();
  FChildren = nullptr;
  if (FCallout) FCallout->Free();
  if (FCorners) FCorners->Free();
  if (FEmboss) FEmboss->Free();
  FShadow->Free();
  FFont->Free();
  if (FPicture) FPicture->Free();
}

void TZelCustomShape::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* S = dynamic_cast<TZelCustomShape*>(Source)) {
    FAlignment = S->FAlignment;
    FAngle = S->FAngle;
    FAutoSize = S->FAutoSize;
    FBevel = S->FBevel;
    FBevelWidth = S->FBevelWidth;
    FChildren->Assign(S->FChildren);
    FChildLayout = S->FChildLayout;
    FColor = S->FColor;
    SetCorners(S->FCorners);
    FFont->Assign(S->FFont);
    FShapeStyle = S->FShapeStyle;
    SetPicture(S->FPicture);
    FRoundSize = S->FRoundSize;
    SetEmboss(S->FEmboss);
    FShadow->Assign(S->FShadow);
    SetShapeCallout(S->FCallout);
    FTransparent = S->FTransparent;
    FTransparency = S->FTransparency;
  }
  inherited::Assign(Source);
}

void TZelCustomShape::SetParent(TCustomZelPanel* Value) {
  inherited::SetParent(Value);
  if (FChildren)
    for (int I = 0; I < FChildren->GetCount(); ++I)
      if (TZelCustomShape* Child = FChildren->Get(I)->GetShape()) Child->SetParent(Value);
}

TZelCustomShapeClass TZelCustomShape::GetChildClass() const { return ShapeClassOf<TZelShape>(); }

void TZelCustomShape::InitEmboss(TZelEmboss* Value) { Value->InitValues(Value->GetVisible(), 0xFF000000, 3); }

void TZelCustomShape::InitShadow(TZelShadow* Value) { Value->InitValues(Value->GetVisible(), 0xFF000000, 3); }

void TZelCustomShape::InitTransparent(bool Value) {
  FTransparent = Value;
  DefaultTransparent = Value;
}

// Properties

void TZelCustomShape::SetAlignment(TAlignment Value) {
  if (FAlignment != Value) {
    FAlignment = Value;
    Repaint();
  }
}

void TZelCustomShape::SetAngle(int Value) {
  if (FAngle != Value) {
    FAngle = Value;
    Repaint();
  }
}

void TZelCustomShape::SetAutoSize(bool Value) {
  if (FAutoSize != Value) {
    FAutoSize = Value;
    Repaint();
  }
}

void TZelCustomShape::SetBevel(TPanelBevel Value) {
  if (FBevel != Value) {
    FBevel = Value;
    Repaint();
  }
}

void TZelCustomShape::SetBevelWidth(TBevelWidth Value) {
  if (Value > 100) Value = 100;
  if (FBevelWidth != Value) {
    FBevelWidth = Value;
    Repaint();
  }
}

void TZelCustomShape::SetChildren(TZelShapes* Value) { FChildren->Assign(Value); }

void TZelCustomShape::SetChildLayout(TZelShapeLayout Value) {
  if (FChildLayout != Value) {
    FChildLayout = Value;
    Repaint();
  }
}

void TZelCustomShape::SetColor(TAlphaColor Value) {
  if (FParent)
    FParent->SetColorProperty(FColor, Value);
  else
    FColor = Value;
}

void TZelCustomShape::SetFont(TZelFont* Value) { FFont->Assign(Value); }

void TZelCustomShape::SetRoundSize(int Value) {
  if (FRoundSize != Value) {
    FRoundSize = Value;
    if (Value > 0 && !ReadingStoredValue()) FShapeStyle = TChartObjectShapeStyle::fosRoundRectangle;
    Repaint();
  }
}

void TZelCustomShape::SetShapeStyle(TChartObjectShapeStyle Value) {
  if (FShapeStyle != Value) {
    FShapeStyle = Value;
    Repaint();
  }
}

void TZelCustomShape::SetTransparent(bool Value) {
  if (FTransparent != Value) {
    FTransparent = Value;
    Repaint();
  }
}

void TZelCustomShape::SetTransparency(TZelTransparency Value) {
  if (Value > 100) Value = 100;
  if (FTransparency != Value) {
    FTransparency = Value;
    Repaint();
  }
}

TShapeCallout* TZelCustomShape::GetShapeCallout() {
  if (!FCallout) FCallout = new TShapeCallout(this);
  return FCallout;
}

void TZelCustomShape::SetShapeCallout(TShapeCallout* Value) {
  if (!Value) {
    FreeAndNil(FCallout);
  } else if (Value != FCallout) {
    GetShapeCallout()->Assign(Value);
  }
}

TZelCorners* TZelCustomShape::GetCorners() {
  if (!FCorners) FCorners = new TZelCorners(ChangeHandler());
  return FCorners;
}

void TZelCustomShape::SetCorners(TZelCorners* Value) {
  if (!Value) {
    FreeAndNil(FCorners);
  } else if (Value != FCorners) {
    GetCorners()->Assign(Value);
  }
}

TZelEmboss* TZelCustomShape::GetEmboss() {
  if (!FEmboss) {
    FEmboss = new TZelEmboss(ChangeHandler());
    InitEmboss(FEmboss);
  }
  return FEmboss;
}

void TZelCustomShape::SetEmboss(TZelEmboss* Value) {
  if (!Value) {
    FreeAndNil(FEmboss);
  } else if (Value != FEmboss) {
    GetEmboss()->Assign(Value);
  }
}

TBackImage* TZelCustomShape::GetPicture() {
  if (!FPicture) {
    FPicture = new TBackImage;
    FPicture->OnChange = ChangeHandler();
  }
  return FPicture;
}

void TZelCustomShape::SetPicture(TBackImage* Value) {
  if (!Value) {
    if (FPicture) {
      FreeAndNil(FPicture);
      Repaint();
    }
  } else if (Value != FPicture) {
    GetPicture()->Assign(Value);
  }
}

void TZelCustomShape::SetShadow(TZelShadow* Value) {
  if (Value && Value != FShadow) FShadow->Assign(Value);
}

TAlphaColor TZelCustomShape::GetShadowColor() const { return FShadow->GetColor(); }
void TZelCustomShape::SetShadowColor(TAlphaColor Value) { FShadow->SetColor(Value); }
int TZelCustomShape::GetShadowSize() const { return FShadow->GetSize(); }
void TZelCustomShape::SetShadowSize(int Value) { FShadow->SetSize(Value); }

TZelGradient* TZelCustomShape::GetGradient() { return FBrush->GetGradient(); }
void TZelCustomShape::SetGradient(TZelGradient* Value) { FBrush->SetGradient(Value); }

namespace {

// Colour identifiers of old streams.
struct TColorIdent {
  const char* Name;
  TAlphaColor Color;
};
constexpr TColorIdent ColorIdents[] = {
    {"clBlack", 0xFF000000}, {"clMaroon", 0xFF800000}, {"clGreen", 0xFF008000}, {"clOlive", 0xFF808000},
    {"clNavy", 0xFF000080},  {"clPurple", 0xFF800080}, {"clTeal", 0xFF008080},  {"clGray", 0xFF808080},
    {"clSilver", 0xFFC0C0C0}, {"clRed", 0xFFFF0000},   {"clLime", 0xFF00FF00},  {"clYellow", 0xFFFFFF00},
    {"clBlue", 0xFF0000FF},  {"clFuchsia", 0xFFFF00FF}, {"clAqua", 0xFF00FFFF}, {"clWhite", 0xFFFFFFFF},
};

// A stored colour: an identifier or an integer (0x00BBGGRR, made opaque ARGB).
TAlphaColor ReadLegacyColor(TReader* Reader) {
  if (Reader->NextValue() == TValueType::vaIdent) {
    const String Name = Reader->ReadIdent();
    for (const TColorIdent& C : ColorIdents)
      if (Name == C.Name) return C.Color;
    throw EReadError(SInvalidPropertyValue);
  }
  const std::uint32_t V = static_cast<std::uint32_t>(Reader->ReadInteger());
  return 0xFF000000u | ((V & 0xFFu) << 16) | (V & 0xFF00u) | ((V >> 16) & 0xFFu);
}

}  // namespace

void TZelCustomShape::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "ShadowColor", [this](TReader* R) { FShadow->SetColor(ReadLegacyColor(R)); }, nullptr, false);
  Filer->DefineProperty(
      "ShadowSize", [this](TReader* R) { FShadow->SetSize(R->ReadInteger()); }, nullptr, false);
}

// Moving and hit tests

void TZelCustomShape::MoveTo(TPointF P) {
  const float W = ShapeBounds.Width(), H = ShapeBounds.Height();
  ShapeBounds = TRectF(P.X, P.Y, P.X + W, P.Y + H);
  Repaint();
}

bool TZelCustomShape::ClickedShape(TPointF P, const TRectF& R) const {
  if (FAngle == 0) return PointInRect(R, P);
  const auto Points = RectToFourPoints(R, FAngle % 360);
  return PointInPolygon(P, std::span<const TPointF>(Points.data(), Points.size()), 3);
}

// Layout

int TZelCustomShape::FirstChildPos() {
  return FChildLayout == TZelShapeLayout::slLeftRight ? Round(ShapeBounds.Left) : Round(ShapeBounds.Top);
}

void TZelCustomShape::CalcBounds(TCustomZelPanel* Panel) {
  if (FAutoSize) {
    ShapeBounds.Right = ShapeBounds.Left;
    ShapeBounds.Bottom = ShapeBounds.Top;
  }
  for (int I = 0; I < FChildren->GetCount(); ++I) {
    TZelCustomShape* Child = FChildren->Get(I)->GetShape();
    if (!Child || !Child->GetVisible()) continue;
    Child->CalcBounds(Panel);
    const float W = Child->GetWidth(), H = Child->GetHeight();
    if (FChildLayout == TZelShapeLayout::slLeftRight) {
      ShapeBounds.Right += W;
      if (ShapeBounds.Height() < H) ShapeBounds.Bottom = ShapeBounds.Top + H;
    } else {
      if (ShapeBounds.Width() < W) ShapeBounds.Right = ShapeBounds.Left + W;
      ShapeBounds.Bottom += H;
    }
  }
}

// Drawing

void TZelCustomShape::Draw() { Draw(ShapeBounds, FAngle, 0); }

void TZelCustomShape::Draw(const TRectF& R, int Angle, int AZ) { Draw(FParent, R, Angle, AZ); }

void TZelCustomShape::DrawShadowEmboss(TCanvas3D* Canvas, TZelShadow* Shadow, int Direction, const TRectF& R,
                                       int Angle, int AZ) {
  TRectF RR = R;
  if (FPen->GetVisible() && FPen->GetWidth() > 1) {
    const float D = float(Round(Direction * FPen->GetWidth() * 0.5));
    InflateRectF(RR, D, D);
  }
  Shadow->ZPosition = AZ + 2;
  if (FShapeStyle == TChartObjectShapeStyle::fosEllipse) {
    Shadow->DrawEllipse(Canvas, RR, 0, 0, 360);
    return;
  }
  const int Radius = FShapeStyle == TChartObjectShapeStyle::fosRectangle ? 0 : FRoundSize;
  TFrontPlaneScope FrontPlane(Canvas, !Canvas->GetSupportsFullRotation());
  Shadow->Draw(Canvas, RR, Radius, Angle);
}

namespace {

// The brush has a gradient with a stop that is not fully opaque.
bool HasTransparentStop(TZelBrush* Brush) {
  TZelGradient* G = Brush->ExistingGradient();
  if (!G || !G->GetVisible()) return false;
  TZelGradientColors* Colors = G->GetColors();
  for (int I = 0; I < Colors->GetCount(); ++I)
    if ((static_cast<TZelGradientColor*>(Colors->GetItem(I))->GetColor() >> 24) != 0xFF) return true;
  return false;
}

}  // namespace

void ZelFilterBlendedArea(TZelCanvas* Canvas, const TRectF& Area, TZelPicture* Picture) {
  if (!Canvas || !Picture || Picture->Valid()) return;
  TFilterItems* Filters = Picture->ExistingFilters();
  if (!Filters || Filters->GetCount() == 0) return;
  const int L = std::max(0, Round(Area.Left)), T = std::max(0, Round(Area.Top));
  const int W = Round(Area.Right) - L, H = Round(Area.Bottom) - T;
  if (W <= 0 || H <= 0) return;
  TBitmap Pixels(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Pixels.SetPixel(X, Y, Canvas->GetPixel(L + X, T + Y));
  Filters->ApplyTo(&Pixels);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Canvas->SetPixel(L + X, T + Y, Pixels.GetPixel(X, Y));
}

void TZelCustomShape::Draw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ) {
  if (!Panel) return;
  TCanvas3D* C = Panel->GetCanvas();
  if (!C) return;
  bool Blending = false;
  // The area the blend covers: R, or around R's rotated corners.
  TRectF Area = R;
  if (FTransparency != 0) {
    if (Angle != 0) {
      const auto P = RectToFourPoints(R, Angle);
      Area = RectFromPolygon(P.data(), 4);
    }
    C->BeginBlending(C->GetSupportsAlpha() ? ZelZeroRectF : Area, static_cast<std::int8_t>(FTransparency));
    Blending = true;
  }
  // A failed drawing only closes the blend.
  TCloseOnExit EndBlend([&](bool Failed) {
    if (!Blending) return;
    if (!Failed && !FTransparent) ZelFilterBlendedArea(C, Area, FPicture);
    C->EndBlending(nullptr);
  });
  if (FTransparent) {
    C->GetBrush()->SetKind(TBrushKind::None);
  } else {
    const bool BrushClear = FBrush->GetKind() == TBrushKind::None;
    if (FShadow->ShouldDraw() && !BrushClear) DrawShadowEmboss(C, FShadow, 1, R, Angle, AZ);
    if (FEmboss && FEmboss->ShouldDraw() && !BrushClear) DrawShadowEmboss(C, FEmboss, -1, R, Angle, AZ);
    if (FPicture && FPicture->Valid()) {
      bool Clipped = false;
      if (FShapeStyle == TChartObjectShapeStyle::fosEllipse) {
        C->ClipEllipse(R, false);
        Clipped = true;
      } else if (FShapeStyle == TChartObjectShapeStyle::fosRoundRectangle) {
        C->ClipRectangle(R, FRoundSize, FRoundSize);
        Clipped = true;
      }
      {
        TUnClipScope UnClip(C, Clipped);
        if (auto* Extended = dynamic_cast<TCustomZelPanelExtended*>(Panel))
          FPicture->Draw(Extended, R, C->GetSupportsFullRotation() ? AZ : 0);
        else
          C->StretchDraw(R, FPicture->Filtered());
      }
      if (HasTransparentStop(FBrush))
        C->AssignBrush(FBrush, FColor, FBrush->GetColor());
      else
        C->GetBrush()->SetKind(TBrushKind::None);
    } else {
      C->AssignBrush(FBrush, FColor, FBrush->GetColor());
    }
    C->AssignVisiblePenColor(FPen, FPen->GetColor());
  }
  DoDraw(Panel, R, Angle, AZ);
  if (!FTransparent && Angle == 0 && FBevel != TPanelBevel::bvNone) {
    TRectF BR = R;
    DrawBevel(C, FBevel, BR, FBevelWidth, 0);
  }
  if (FChildren->GetCount() > 0) DrawChildren(R, AZ);
}

void TZelCustomShape::DrawChildren(const TRectF& R, int AZ) {
  int Pos = FirstChildPos();
  for (int I = 0; I < FChildren->GetCount(); ++I) {
    TZelCustomShape* Child = FChildren->Get(I)->GetShape();
    if (!Child || !Child->GetVisible()) continue;
    const float W = Child->GetWidth(), H = Child->GetHeight();
    if (FChildLayout == TZelShapeLayout::slLeftRight) {
      Child->MoveTo(float(Pos), float(Round(ShapeBounds.Top)));
    } else {
      float X = float(Round(R.Left));
      if (Child->GetAlignment() == TAlignment::taCenter)
        X = (R.Left + R.Right - W) * 0.5f;
      else if (Child->GetAlignment() == TAlignment::taRightJustify)
        X = R.Right - W;
      Child->MoveTo(X, float(Pos));
    }
    Child->Draw(Child->ShapeBounds, FAngle, AZ);
    Pos += FChildLayout == TZelShapeLayout::slLeftRight ? Round(W) : Round(H);
  }
}

void TZelCustomShape::DoDraw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ) {
  if (FTransparent || !Panel) return;
  TCanvas3D* C = Panel->GetCanvas();
  if (!C) return;
  const bool Full = C->GetSupportsFullRotation() || FDraw3D;
  if (Angle != 0) {
    const auto P = RectToFourPoints(R, Angle);
    if (Full)
      C->PolygonWithZ(P.data(), 3, AZ);
    else
      C->Polygon(P.data(), 3);
    return;
  }
  if (Full) {
    switch (FShapeStyle) {
      case TChartObjectShapeStyle::fosRectangle: C->RectangleWithZ(R, AZ); break;
      case TChartObjectShapeStyle::fosEllipse: C->EllipseWithZ(R, AZ); break;
      case TChartObjectShapeStyle::fosRoundRectangle: C->RoundRect(R, FRoundSize, FRoundSize, AZ, 0); break;
    }
    return;
  }
  if (FCallout && FCallout->GetSide() != TShapeCalloutSide::csNone) {
    const int Radius = FShapeStyle == TChartObjectShapeStyle::fosRoundRectangle ? FRoundSize : 0;
    TOwned<TZelBasePath> Path(FCallout->GetPath(C, R, Radius));
    Path->Draw(C);
    return;
  }
  switch (FShapeStyle) {
    case TChartObjectShapeStyle::fosRectangle: C->Rectangle(R); break;
    case TChartObjectShapeStyle::fosEllipse:
      C->Ellipse(TRectF(float(Round(R.Left)), float(Round(R.Top)), float(Round(R.Right)), float(Round(R.Bottom))));
      break;
    case TChartObjectShapeStyle::fosRoundRectangle:
      C->RoundRect(R, FRoundSize, FRoundSize, FCorners && !FCorners->IsAllRound() ? FCorners : nullptr);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Children

ZEL_DEFINE_CLASS(TZelShapeItem, TCollectionItem)

TZelShapeItem::TZelShapeItem(TCollection* ACollection) : TCollectionItem(ACollection) {
  TZelCustomShape* Owner = OwnerShape();
  auto* Shapes = dynamic_cast<TZelShapes*>(ACollection);
  TZelCustomShapeClass Class = Shapes && Shapes->IShapeClass ? Shapes->IShapeClass : ShapeClassOf<TZelShape>();
  FShape = Class->Create(Owner ? Owner->GetParent() : nullptr);
  FShape->InitTransparent(true);
}

void TZelShapeItem::BeforeDestruction() {
  // The collection lets go of the item in the inherited step; its owner is known until then.
  if (TZelCustomShape* Owner = OwnerShape()) Owner->Repaint();
  inherited::BeforeDestruction();
}

TZelShapeItem::~TZelShapeItem() {
  if (FShape) FShape->Free();
}

TZelCustomShape* TZelShapeItem::OwnerShape() const {
  return GetCollection() ? dynamic_cast<TZelCustomShape*>(GetCollection()->GetOwner()) : nullptr;
}

void TZelShapeItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelShapeItem*>(Source))
    SetShape(S->FShape);
  else
    inherited::Assign(Source);
}

void TZelShapeItem::SetShape(TZelCustomShape* Value) {
  if (Value && Value != FShape) FShape->Assign(Value);
}

ZEL_DEFINE_CLASS(TZelShapes, TOwnedCollection)

TZelShapes::TZelShapes(TZelCustomShape* AOwner) : TOwnedCollection(AOwner, ItemClassOf<TZelShapeItem>()) {}

ZEL_DEFINE_CLASS(TZelShape, TZelCustomShape)

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelCustomShapeBrushPen)
  P::Obj("Brush", &Self::GetBrush),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, &Self::IsVisibleStored),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TShapeCallout)
  P::Prop("PointPosition", &Self::GetPointPosition, &Self::SetPointPosition, Default(50)),
  P::Prop("Position", &Self::GetPosition, &Self::SetPosition, Default(50)),
  P::Prop("Side", &Self::GetSide, &Self::SetSide, Default(TShapeCalloutSide::csNone)),
  P::Prop("Size", &Self::GetSize, &Self::SetSize, Default(25)),
  P::Prop("Width", &Self::GetWidth, &Self::SetWidth, Default(20)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TZelShapeItem)
  P::Obj("Shape", &Self::GetShape),
ZEL_END_PUBLISHED

// The gradient travels once, inside "Brush"; the shape's own "Gradient" name is read only.
// Color and Transparency are stored against the values the owner gave at construction.
ZEL_BEGIN_PUBLISHED(TZelCustomShape)
  P::Prop("Alignment", &Self::GetAlignment, &Self::SetAlignment, Default(TAlignment::taLeftJustify)),
  P::Prop("Angle", &Self::GetAngle, &Self::SetAngle, Default(0)),
  P::Prop("Bevel", &Self::GetBevel, &Self::SetBevel, Default(TPanelBevel::bvNone)),
  P::Prop("BevelWidth", &Self::GetBevelWidth, &Self::SetBevelWidth, Default(TBevelWidth(2))),
  P::Obj("Children", &Self::GetChildren),
  P::Prop("ChildLayout", &Self::GetChildLayout, &Self::SetChildLayout, Default(TZelShapeLayout::slTopBottom)),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Obj("Corners", &Self::GetCorners, &Self::ExistingCorners),
  P::Obj("Emboss", &Self::GetEmboss, &Self::ExistingEmboss),
  P::Obj("Font", &Self::GetFont),
  P::Obj("Gradient", &Self::GetGradient, [](Self* S) { return S->GetBrush()->ExistingGradient(); }, [](Self*) { return false; }),
  P::Obj("Picture", &Self::GetPicture, &Self::ExistingPicture),
  P::Prop("RoundSize", &Self::GetRoundSize, &Self::SetRoundSize, Default(16)),
  P::Obj("Shadow", &Self::GetShadow),
  P::Obj("ShapeCallout", &Self::GetShapeCallout, &Self::ExistingShapeCallout),
  P::Prop("ShapeStyle", &Self::GetShapeStyle, &Self::SetShapeStyle, Default(TChartObjectShapeStyle::fosRectangle)),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, &Self::IsTransparencyStored),
  P::Prop("Transparent", &Self::GetTransparent, &Self::SetTransparent, &Self::IsTransparentStored),
ZEL_END_PUBLISHED

}  // namespace zel
