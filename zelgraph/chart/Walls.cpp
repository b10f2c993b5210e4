#include "zelgraph/chart/Walls.h"

#include <cstdlib>
#include <exception>
#include <vector>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

namespace {

// Some active series of the chart draws on axes.
bool SomeSeriesUsesAxes(TCustomAxisPanel* Chart) {
  for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
    TChartSeries* S = Chart->GetSeries(I);
    if (S->GetActive() && S->UseAxis()) return true;
  }
  return false;
}

bool IsRoundStyle(const TZelCustomShape* W) {
  return W->GetShapeStyle() == TChartObjectShapeStyle::fosRoundRectangle;
}

// Ends a blend that began, on every way out.
class TBlendScope {
 public:
  TBlendScope(TCustomChartWall* Wall, TZelBlend* Blend, bool Began) : FWall(Wall), FBlend(Blend), FBegan(Began) {}
  // A failed drawing only closes the blend.
  ~TBlendScope() noexcept(false) {
    if (FBegan) FWall->DoEndBlending(FBlend, std::uncaught_exceptions() == FUnwinding);
  }
  TBlendScope(const TBlendScope&) = delete;
  TBlendScope& operator=(const TBlendScope&) = delete;

 private:
  TCustomChartWall* FWall;
  TZelBlend* FBlend;
  bool FBegan;
  int FUnwinding = std::uncaught_exceptions();
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomChartWall

ZEL_DEFINE_CLASS(TCustomChartWall, TZelCustomShape)

TCustomChartWall::TCustomChartWall(TCustomZelPanel* AOwner) : TZelCustomShape(AOwner) {
  FColor = 0x00FFFFFF;
  DefaultColor = FColor;
}

TCustomChart* TCustomChartWall::GetChart() const { return dynamic_cast<TCustomChart*>(FParent); }

void TCustomChartWall::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomChartWall*>(Source)) {
    FAutoHide = S->FAutoHide;
    FDark3D = S->FDark3D;
    FEnd = S->FEnd;
    FSize = S->FSize;
    FStart = S->FStart;
  }
  TZelCustomShape::Assign(Source);
}

void TCustomChartWall::SetIntField(std::int32_t& Field, std::int32_t Value) {
  if (FParent)
    FParent->SetIntegerProperty(Field, Value);
  else
    Field = Value;
}

void TCustomChartWall::SetBoolField(bool& Field, bool Value) {
  if (FParent)
    FParent->SetBooleanProperty(Field, Value);
  else
    Field = Value;
}

void TCustomChartWall::SetAutoHide(bool Value) { SetBoolField(FAutoHide, Value); }
void TCustomChartWall::SetDark3D(bool Value) { SetBoolField(FDark3D, Value); }
void TCustomChartWall::SetEndPosition(std::int32_t Value) { SetIntField(FEnd, Value); }
void TCustomChartWall::SetSize(std::int32_t Value) { SetIntField(FSize, Value); }
void TCustomChartWall::SetStartPosition(std::int32_t Value) { SetIntField(FStart, Value); }

void TCustomChartWall::InitColor(TAlphaColor Value) {
  TAutoRepaintScope Quiet(FParent, false);
  FColor = Value;
  DefaultColor = Value;
}

bool TCustomChartWall::ApplyDark3D() const {
  // An image only looked at (made empty on first use) leaves the sides shaded.
  const TZelPicture* Image = FBrush->ExistingImage();
  return FBrush->GetKind() != TBrushKind::None && !(Image && Image->Valid()) && FDark3D;
}

bool TCustomChartWall::ShouldDraw() const {
  auto* Chart = dynamic_cast<TCustomAxisPanel*>(FParent);
  return Chart && Chart->GetView3DWalls() && FVisible && !FAutoHide;
}

void TCustomChartWall::CalcPositions(std::int32_t& Top, std::int32_t& Bottom) const {
  auto* Chart = dynamic_cast<TCustomAxisPanel*>(FParent);
  if (!Chart) {
    Top = Bottom = 0;
    return;
  }
  const TRectF& R = Chart->ChartRect;
  Bottom = Round(R.Bottom) + Chart->CalcWallSize(Chart->GetBottomAxis());
  if (FEnd != 100) Bottom -= Round((double(Bottom) - R.Top) * (100 - FEnd) * 0.01);
  Top = Round(R.Top);
  if (FStart != 0) Top += Round((double(R.Bottom) - Top) * FStart * 0.01);
}

bool TCustomChartWall::TryDrawWall(std::int32_t X, std::int32_t Bottom, TZelBlend*& Blend) {
  Blend = nullptr;
  auto* Chart = dynamic_cast<TCustomAxisPanel*>(FParent);
  if (!Chart || FTransparent || FTransparency == 0) return false;
  TCanvas3D* C = Chart->GetCanvas();
  std::int32_t Top = 0, B = 0;
  CalcPositions(Top, B);
  const int W = Chart->GetWidth3D();
  const TPointF P[4] = {C->Calculate3DPosition(X, Top, 0), C->Calculate3DPosition(X, Top, W),
                        C->Calculate3DPosition(X, Bottom, W), C->Calculate3DPosition(X, Bottom, 0)};
  Blend = BeginWallBlend(RectFromPolygon(P, 4));
  return true;
}

TZelBlend* TCustomChartWall::BeginWallBlend(const TRectF& Area) {
  TCanvas3D* C = FParent->GetCanvas();
  IBlendArea = Area;
  return C->BeginBlending(C->GetSupportsAlpha() ? ZelZeroRectF : Area, static_cast<std::int8_t>(FTransparency));
}

void TCustomChartWall::DoEndBlending(TZelBlend* Blend, bool Filter) {
  if (FTransparency == 0 || !FParent) return;
  TCanvas3D* C = FParent->GetCanvas();
  TRestoreOnExit EndBlend([C, Blend] { C->EndBlending(Blend); });
  if (Filter && !FTransparent) ZelFilterBlendedArea(C, IBlendArea, ExistingPicture());
}

// ---------------------------------------------------------------------------------------------
// The four walls

ZEL_DEFINE_CLASS(TChartWall, TCustomChartWall)
ZEL_DEFINE_CLASS(TChartLeftWall, TChartWall)
ZEL_DEFINE_CLASS(TChartBottomWall, TChartWall)
ZEL_DEFINE_CLASS(TChartRightWall, TChartWall)
ZEL_DEFINE_CLASS(TChartBackWall, TChartWall)

TChartLeftWall::TChartLeftWall(TCustomZelPanel* AOwner) : TChartWall(AOwner) { InitColor(0xFFFFFF80); }

TChartBottomWall::TChartBottomWall(TCustomZelPanel* AOwner) : TChartWall(AOwner) { InitColor(0xFFFFFFFF); }

TChartRightWall::TChartRightWall(TCustomZelPanel* AOwner) : TChartWall(AOwner) {
  InitColor(0xFFC0C0C0);
  FVisible = false;
  DefaultVisible = false;
}

TChartBackWall::TChartBackWall(TCustomZelPanel* AOwner) : TChartWall(AOwner) {
  InitColor(0xFFC0C0C0);
  InitTransparent(true);
  InitShadow(FShadow);
}

void TChartBackWall::InitEmboss(TZelEmboss* Value) { InitShadow(Value); }

void TChartBackWall::InitShadow(TZelShadow* Value) { Value->InitValues(false, 0xFFA9A9A9, Value->GetSize()); }

// ---------------------------------------------------------------------------------------------
// TChartWalls

ZEL_DEFINE_CLASS(TChartWalls, TPersistent)

TChartWalls::TChartWalls(TCustomChart* AChart) : FChart(AChart) {
  FBack = Create<TChartBackWall>(AChart);
  FBottom = Create<TChartBottomWall>(AChart);
  FLeft = Create<TChartLeftWall>(AChart);
}

TChartWalls::~TChartWalls() {
  FBack->Free();
  FBottom->Free();
  FLeft->Free();
  if (FRight) FRight->Free();
}

void TChartWalls::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TChartWalls*>(Source)) {
    FBack->Assign(S->FBack);
    FBottom->Assign(S->FBottom);
    FLeft->Assign(S->FLeft);
    GetRight()->Assign(S->GetRight());
    return;
  }
  TPersistent::Assign(Source);
}

TChartRightWall* TChartWalls::GetRight() {
  if (!FRight) {
    TAutoRepaintScope Quiet(FChart, false);
    FRight = Create<TChartRightWall>(FChart);
  }
  return FRight;
}

bool TChartWalls::GetVisible() const { return FChart && FChart->GetView3DWalls(); }

void TChartWalls::SetVisible(bool Value) {
  if (FChart) FChart->SetView3DWalls(Value);
}

void TChartWalls::SetSize(std::int32_t Value) {
  FLeft->SetSize(Value);
  GetRight()->SetSize(Value);
  FBack->SetSize(Value);
  FBottom->SetSize(Value);
}

const TRectF& TChartWalls::ChartRectF() const { return FChart->ChartRect; }

std::int32_t TChartWalls::Width3D() const { return FChart->GetWidth3D(); }

bool TChartWalls::DrawWallFirst(std::int32_t X) {
  TCanvas3D* C = FChart->GetCanvas();
  if (C->GetSupportsFullRotation()) return true;
  const TRectF& R = ChartRectF();
  const int Y = Round(R.Bottom) + FChart->CalcWallSize(FChart->GetBottomAxis());
  return ZelCull(C->Calculate3DPosition(X, Round(R.Top), 0), C->Calculate3DPosition(X, Y, 0),
                 C->Calculate3DPosition(X, Y, Width3D() + FBack->GetSize()));
}

void TChartWalls::PrepareWallCanvas(TCustomChartWall* Wall) {
  TCanvas3D* C = FChart->GetCanvas();
  C->AssignVisiblePen(Wall->GetPen());
  if (Wall->GetTransparent())
    C->GetBrush()->SetKind(TBrushKind::None);
  else
    FChart->SetBrushCanvas(Wall->GetColor(), Wall->GetBrush(), Wall->GetBrush()->GetColor());
}

TZelBlend* TChartWalls::BeginBlend(TCustomChartWall* Wall, const TRectF& R, int Z, bool& Began) {
  Began = false;
  if (Wall->GetTransparent() || Wall->GetTransparency() == 0) return nullptr;
  Began = true;
  return Wall->BeginWallBlend(FChart->GetCanvas()->RectFromRectZ(R, Z));
}

void TChartWalls::DrawSideWall(TCustomChartWall* Wall, bool IsLeft) {
  TCanvas3D* C = FChart->GetCanvas();
  TEntityScope Entity(C, IsLeft ? "Left" : "Right", Wall->GetVisual(), Wall->Transform);
  PrepareWallCanvas(Wall);
  std::int32_t Top = 0, Bottom = 0;
  Wall->CalcPositions(Top, Bottom);
  const TRectF& CR = ChartRectF();
  const int W3D = Width3D();
  const int Size = Wall->GetSize();
  if (TVisualBlock* V = Wall->GetVisual()) {
    const TRectF R = IsLeft ? TRectF(CR.Left - Size, float(Top), CR.Left, float(Bottom))
                            : TRectF(CR.Right, float(Top), CR.Right + Size, float(Bottom));
    V->SetBounds(R, 0, float(W3D), float(Bottom - Top));
    return;
  }
  const float Edge = IsLeft ? CR.Left : CR.Right;
  TZelBlend* Blend = nullptr;
  const bool Began = Wall->TryDrawWall(Round(Edge), Bottom, Blend);
  TBlendScope BlendScope(Wall, Blend, Began);
  const bool Full = C->GetSupportsFullRotation();
  if (Size < 1) {
    if (IsLeft)
      C->RectangleZ(float(Full ? Round(CR.Left - 1) : Round(CR.Left)), float(Top), float(Bottom), 0, W3D);
    else
      C->RectangleZ(float(Full ? Round(CR.Right + 1) : Round(CR.Right)), float(Top), float(Bottom), 0, W3D + 1);
  } else if (IsLeft) {
    C->Cube(Round(CR.Left - Size), Round(CR.Left), Top, Bottom, 0, W3D, Wall->ApplyDark3D(), 0);
  } else {
    const int B = FBack->GetVisible() ? FBack->GetSize() : 0;
    C->Cube(Round(CR.Right), Round(CR.Right + Size), Top, Bottom, 0, W3D + B, Wall->ApplyDark3D(), 0);
  }
  if (TBackImage* P = Wall->ExistingPicture(); P && P->Valid())
    C->StretchDraw(TRectF(0, float(Top), float(W3D), float(Bottom)), P->Filtered(), Edge, TCanvas3DPlane::cpX);
}

void TChartWalls::DrawLeftWall() {
  if (!FChart->GetView3D() || !FChart->GetView3DWalls()) return;
  DrawSideWall(FLeft, true);
}

void TChartWalls::DrawRightWall() {
  if (!FRight || !FRight->GetVisible() || !FChart->GetView3D() || !FChart->GetView3DWalls()) return;
  if (!SomeSeriesUsesAxes(FChart)) return;
  DrawSideWall(FRight, false);
}

void TChartWalls::DrawBottomWall() {
  TCanvas3D* C = FChart->GetCanvas();
  TChartBottomWall* Wall = FBottom;
  TEntityScope Entity(C, "Bottom", Wall->GetVisual(), Wall->Transform);
  PrepareWallCanvas(Wall);
  const TRectF& CR = ChartRectF();
  const bool Full = C->GetSupportsFullRotation();
  int Y = Round(CR.Bottom);
  if (Full) ++Y;
  const int W3D = Width3D();
  const int Z0 = Wall->GetStartPosition() == 0 ? 0 : Round(W3D * Wall->GetStartPosition() * 0.01);
  const int Z1 = Wall->GetEndPosition() == 100 ? W3D : W3D - Round(W3D * (100 - Wall->GetEndPosition()) * 0.01);
  int X0 = Round(CR.Left);
  if (FLeft->GetVisible() && FLeft->GetAutoHide() && DrawLeftWallFirst())
    X0 -= FChart->CalcWallSize(FChart->GetLeftAxis());
  const int X1 = Round(CR.Right);
  bool Began = false;
  TZelBlend* Blend = nullptr;
  if (!Wall->GetTransparent() && Wall->GetTransparency() != 0) {
    const TPointF P[4] = {C->Calculate3DPosition(X0, Y, Z0), C->Calculate3DPosition(X1, Y, Z0),
                          C->Calculate3DPosition(X1, Y, Z1), C->Calculate3DPosition(X0, Y, Z1)};
    Blend = Wall->BeginWallBlend(RectFromPolygon(P, 4));
    Began = true;
  }
  TBlendScope BlendScope(Wall, Blend, Began);
  if (Wall->GetSize() < 1)
    C->RectangleY(float(X0), float(Full ? Y + 1 : Y), float(X1), Z0, Z1);
  else
    C->Cube(X0, X1, Y, Y + Wall->GetSize(), Z0, Z1, Wall->ApplyDark3D(), 0);
  if (TBackImage* P = Wall->ExistingPicture(); P && P->Valid())
    C->StretchDraw(TRectF(float(X0), float(Z1), float(X1), float(Z0)), P->Filtered(), Y, TCanvas3DPlane::cpY);
}

namespace {

// The shadow or emboss of the back wall, behind the rectangle R at depth Z.
void TryDrawShadow(TCustomAxisPanel* Chart, TZelShadow* Shadow, const TRectF& R, int Z) {
  if (!Shadow || !Shadow->ShouldDraw()) return;
  TCanvas3D* C = Chart->GetCanvas();
  if (Chart->GetView3D()) {
    if (!C->GetIsOrthogonal()) {
      const TFourPoints P = C->FourPointsFromRect(R, Z);
      Shadow->Draw(C, P.data(), 4);
    } else {
      Shadow->Draw(C, C->CalcRect3D(R, Z));
    }
  } else {
    Shadow->Draw(C, R);
  }
}

}  // namespace

void TChartWalls::DrawBackWall() {
  TCanvas3D* C = FChart->GetCanvas();
  TChartBackWall* Wall = FBack;
  TEntityScope Entity(C, "Back", Wall->GetVisual(), Wall->Transform);
  PrepareWallCanvas(Wall);
  std::int32_t Top = 0, Bottom = 0;
  Wall->CalcPositions(Top, Bottom);
  const TRectF& CR = ChartRectF();
  const int W3D = Width3D();
  const int LeftSize = FChart->CalcWallSize(FChart->GetLeftAxis());
  if (TVisualBlock* V = Wall->GetVisual()) {
    TRectF R(CR.Left, float(Top), CR.Right, float(Bottom));
    if (Wall->GetSize() > 0) R.Left -= float(LeftSize);
    V->SetBounds(R, float(W3D), float(W3D + Wall->GetSize()), float(Bottom - Top));
    return;
  }
  const bool Full = C->GetSupportsFullRotation();
  const bool Round3D = IsRoundStyle(Wall);
  bool Began = false;
  TZelBlend* Blend = nullptr;
  if (!FChart->GetView3D()) {
    TRectF R(CR.Left, float(Top), CR.Right + 1, float(Bottom));
    if (Wall->GetEndPosition() == 100) R.Bottom += 1;
    Blend = BeginBlend(Wall, R, W3D, Began);
    TBlendScope BlendScope(Wall, Blend, Began);
    TryDrawShadow(FChart, Wall->GetShadow(), R, W3D);
    TryDrawShadow(FChart, Wall->ExistingEmboss(), R, W3D);
    if (Full)
      C->RectangleWithZ(R, 1);
    else if (Round3D)
      C->RoundRect(R, Wall->GetRoundSize(), Wall->GetRoundSize());
    else
      C->Rectangle(R);
    DrawBackPicture(Top, Bottom);
    return;
  }
  if (!FChart->GetView3DWalls()) return;
  TRectF R(CR.Left, float(Top), CR.Right, float(Bottom));
  if (Wall->GetSize() > 0) R.Left -= float(LeftSize);
  Blend = BeginBlend(Wall, R, W3D, Began);
  TBlendScope BlendScope(Wall, Blend, Began);
  TryDrawShadow(FChart, Wall->GetShadow(), R, W3D);
  TryDrawShadow(FChart, Wall->ExistingEmboss(), R, W3D);
  C->AssignVisiblePen(Wall->GetPen());
  if (Wall->GetSize() < 1) {
    if (Full)
      C->RectangleWithZ(R, W3D + 1);
    else if (Round3D)
      C->RoundRectWithZ(R, Wall->GetRoundSize(), Wall->GetRoundSize(), W3D);
    else
      C->RectangleWithZ(R, W3D);
  } else {
    const int S = W3D < 0 ? -Wall->GetSize() : Wall->GetSize();
    C->Cube(R, W3D, W3D + S, Wall->ApplyDark3D(), Round3D ? Wall->GetRoundSize() : 0);
  }
  DrawBackPicture(Top, Bottom);
}

void TChartWalls::DrawBackPicture(std::int32_t Top, std::int32_t Bottom) {
  // The wall's own picture, else the chart's back image when it belongs inside the walls (one
  // pixel in from a visible frame).
  const TRectF& CR = ChartRectF();
  const TRectF R(CR.Left, float(Top), CR.Right, float(Bottom));
  if (TBackImage* P = FBack->ExistingPicture(); P && P->Valid()) {
    P->Draw(FChart, R, Width3D());
  } else if (TBackImage* B = FChart->ExistingBackImage(); B && B->GetInside() && B->Valid()) {
    TRectF BR = R;
    if (FBack->GetPen()->GetVisible()) BR = TRectF(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
    FChart->DrawBitmap(BR, Width3D());
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TCustomChartWall)
  P::Prop("AutoHide", &Self::GetAutoHide, &Self::SetAutoHide, Default(false)),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Prop("Dark3D", &Self::GetDark3D, &Self::SetDark3D, Default(true)),
  P::Obj("Emboss", &Self::GetEmboss, &Self::ExistingEmboss),
  P::Prop("EndPosition", &Self::GetEndPosition, &Self::SetEndPosition, Default(100)),
  P::Prop("Size", &Self::GetSize, &Self::SetSize, Default(0)),
  P::Prop("StartPosition", &Self::GetStartPosition, &Self::SetStartPosition, Default(0)),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(TZelTransparency(0))),
ZEL_END_PUBLISHED

}  // namespace zel
