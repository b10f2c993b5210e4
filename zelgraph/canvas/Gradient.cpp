#include "zelgraph/canvas/Gradient.h"
#include "platform/Filer.h"

#include <cmath>

#include "platform/Canvas.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

ZEL_DEFINE_CLASS(TZelGradientColor, TCollectionItem)
ZEL_DEFINE_CLASS(TZelGradientColors, TOwnedCollection)
ZEL_DEFINE_CLASS(TCustomZelGradient, TPersistent)
ZEL_DEFINE_CLASS(TZelGradient, TCustomZelGradient)
ZEL_DEFINE_CLASS(TSubGradient, TZelGradient)

// --- stops ---

TZelGradientColor::TZelGradientColor(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TZelGradientColor::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelGradientColor*>(Source)) {
    FColor = S->FColor;
    FOffset = S->FOffset;
    Changed(false);
  } else {
    TCollectionItem::Assign(Source);
  }
}

void TZelGradientColor::SetColor(TAlphaColor Value) {
  if (FColor != Value) {
    FColor = Value;
    Changed(false);
  }
}

void TZelGradientColor::SetOffset(double Value) {
  if (!(FOffset == Value)) {
    FOffset = Value;
    Changed(false);
  }
}

void TZelGradientColor::SetTransparency(TZelTransparency Value) {
  SetColor((FColor & 0x00FFFFFFu) | (TAlphaColor(Value) << 24));
}

TZelGradientColors::TZelGradientColors(TCustomZelGradient* AOwner)
    : TOwnedCollection(AOwner, ItemClassOf<TZelGradientColor>()), FGradient(AOwner) {}

TZelGradientColor* TZelGradientColors::Stop(int I) const {
  return static_cast<TZelGradientColor*>(GetItem(I));
}

TZelGradientColor* TZelGradientColors::Get(int I) {
  if (I >= GetCount()) {
    WithinUpdate(*this, [&] {
      while (GetCount() <= I) TOwnedCollection::Add();
    });
  }
  return Stop(I);
}

void TZelGradientColors::Put(int I, TZelGradientColor* V) { Get(I)->Assign(V); }

TZelGradientColor* TZelGradientColors::Add(double Offset, TAlphaColor Color) {
  if (std::isnan(Offset) || Offset < 0)
    Offset = 0;
  else if (Offset > 1)
    Offset = 1;
  int Index = GetCount();
  for (int i = 0; i < GetCount(); ++i)
    if (Stop(i)->GetOffset() > Offset) {
      Index = i;
      break;
    }
  TZelGradientColor* Item = nullptr;
  WithinUpdate(*this, [&] {
    Item = static_cast<TZelGradientColor*>(Insert(Index));
    Item->SetOffset(Offset);
    Item->SetColor(Color);
  });
  return Item;
}

void TZelGradientColors::Repaint() {
  if (FGradient) FGradient->DoChanged();
}

void TZelGradientColors::Update(TCollectionItem* Item) {
  TOwnedCollection::Update(Item);
  Repaint();
}

// --- gradient ---

// Holds the gradient's notifications back for its lifetime.
class TCustomZelGradient::TQuiet {
 public:
  explicit TQuiet(TCustomZelGradient* G) : FGradient(G) { ++FGradient->FQuiet; }
  ~TQuiet() { --FGradient->FQuiet; }
  TQuiet(const TQuiet&) = delete;
  TQuiet& operator=(const TQuiet&) = delete;

 private:
  TCustomZelGradient* FGradient;
};

TCustomZelGradient::TCustomZelGradient(TNotifyEvent OnChange) {
  InitDefaults();
  IChanged = std::move(OnChange);
}

TCustomZelGradient::~TCustomZelGradient() {
  FreeAndNil(FSub);
  FreeAndNil(FColors);
}

void TCustomZelGradient::DoChanged() {
  if (FQuiet == 0 && IChanged) IChanged(this);
}

void TCustomZelGradient::InitDefaults() {
  FVisible = false;
  InitDirection(TGradientDirection::gdTopBottom);
  IDefStart = 0xFFFFFFFF;
  IDefEnd = 0xFFFFFF00;
  IDefMid = 0;
  IMidColor = 0xFFFFFFFF;
  if (FColors) ResetColors();
  FBalance = 50;
  FAngle = 0;
  FRadialX = 0;
  FRadialY = 0;
}

void TCustomZelGradient::InitDirection(TGradientDirection Value) {
  FDirection = Value;
  IDefDirection = Value;
}

void TCustomZelGradient::ResetColors() {
  TQuiet Quiet(this);
  if (!FColors) FColors = Create<TZelGradientColors>(this);
  FColors->Clear();
  FColors->Add(0, IDefStart);
  FColors->Add(1, IDefEnd);
}

TZelGradientColors* TCustomZelGradient::GetColors() {
  if (!FColors) ResetColors();
  return FColors;
}

void TCustomZelGradient::SetColors(TZelGradientColors* Value) {
  if (!Value)
    FreeAndNil(FColors);
  else if (Value != FColors)
    GetColors()->Assign(Value);
}

TAlphaColor TCustomZelGradient::GetStartColor() const {
  if (!FColors) return IDefStart;
  if (FColors->GetCount() == 0) return 0;
  return FColors->Stop(0)->GetColor();
}

TAlphaColor TCustomZelGradient::GetEndColor() const {
  if (!FColors) return IDefEnd;
  if (FColors->GetCount() == 0) return 0;
  return FColors->Stop(FColors->GetCount() - 1)->GetColor();
}

TAlphaColor TCustomZelGradient::GetMidColor() const {
  if (!FColors) return IDefMid;
  if (FColors->GetCount() < 3) return 0;
  return FColors->Stop(1)->GetColor();
}

// On a gradient whose stops were all removed, setting a colour adds the stop it names.
void TCustomZelGradient::SetStartColor(TAlphaColor Value) {
  TZelGradientColors* C = GetColors();
  {
    TQuiet Quiet(this);
    if (C->GetCount() == 0)
      C->Add(0, Value);
    else
      C->Stop(0)->SetColor(Value);
  }
  DoChanged();
}

void TCustomZelGradient::SetEndColor(TAlphaColor Value) {
  TZelGradientColors* C = GetColors();
  {
    TQuiet Quiet(this);
    if (C->GetCount() == 0)
      C->Add(1, Value);
    else
      C->Stop(C->GetCount() - 1)->SetColor(Value);
    if (FStartIsEnd) C->Stop(0)->SetColor(Value);
  }
  DoChanged();
}

void TCustomZelGradient::SetMidColor(TAlphaColor Value) {
  TZelGradientColors* C = GetColors();
  if (Value != 0) {
    {
      TQuiet Quiet(this);
      if (C->GetCount() == 0) {
        C->Add(0.5, Value);
      } else {
        if (C->GetCount() <= 2) {
          auto* Mid = static_cast<TZelGradientColor*>(C->Insert(1));
          Mid->SetOffset(0.5);
        }
        if (C->Stop(1)->GetColor() == Value) return;
        C->Stop(1)->SetColor(Value);
      }
      IMidColor = Value;
    }
    DoChanged();
  } else {
    if (C->GetCount() <= 2) return;
    {
      TQuiet Quiet(this);
      C->Delete(1);
    }
    DoChanged();
  }
}

void TCustomZelGradient::UseMiddleColor() { SetMidColor(IMidColor); }

void TCustomZelGradient::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (IBrush && !ReadingStoredValue()) IBrush->SetKind(Value ? TBrushKind::Gradient : TBrushKind::Solid);
  DoChanged();
}

void TCustomZelGradient::SetAngle(int Value) {
  if (FAngle != Value) {
    FAngle = Value;
    DoChanged();
  }
}

void TCustomZelGradient::SetBalance(int Value) {
  if (FBalance != Value) {
    FBalance = Value;
    DoChanged();
  }
}

void TCustomZelGradient::SetDirection(TGradientDirection Value) {
  if (FDirection != Value) {
    FDirection = Value;
    DoChanged();
  }
}

void TCustomZelGradient::SetRadialX(int Value) {
  if (FRadialX != Value) {
    FRadialX = Value;
    DoChanged();
  }
}

void TCustomZelGradient::SetRadialY(int Value) {
  if (FRadialY != Value) {
    FRadialY = Value;
    DoChanged();
  }
}

TSubGradient* TCustomZelGradient::GetSubGradient() {
  if (!FSub) FSub = Create<TSubGradient>(IChanged);
  return FSub;
}

void TCustomZelGradient::SetSubGradient(TSubGradient* Value) {
  if (!Value) {
    FreeAndNil(FSub);
    return;
  }
  TSubGradient* Sub = GetSubGradient();
  if (Sub == Value) return;
  Sub->Assign(Value);
  Sub->FTransparency = Value->FTransparency;
}

void TCustomZelGradient::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TCustomZelGradient*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  if (S == this) return;
  TQuiet Quiet(this);
  FAngle = S->FAngle;
  FBalance = S->FBalance;
  FDirection = S->FDirection;
  FRadialX = S->FRadialX;
  FRadialY = S->FRadialY;
  SetColors(S->FColors);
  FStartIsEnd = S->FStartIsEnd;
  if (S->FSub)
    SetSubGradient(S->FSub);
  else
    FreeAndNil(FSub);
  FVisible = S->FVisible;
}

bool TCustomZelGradient::IsColorsStored() const {
  if (!FColors) return false;
  auto OffsetsAre = [this](std::initializer_list<double> Offsets) {
    int i = 0;
    for (double O : Offsets)
      if (FColors->Stop(i++)->GetOffset() != O) return false;
    return true;
  };
  switch (FColors->GetCount()) {
    case 2:
      return !OffsetsAre({0, 1});
    case 3:
      return !OffsetsAre({0, 0.5, 1});
    default:
      return true;
  }
}

void GradientDirectionLine(TGradientDirection D, TPointF& Start, TPointF& Stop, bool& Reversed) {
  using enum TGradientDirection;
  Reversed = D == gdBottomTop || D == gdRightLeft || D == gdDiagonalUp || D == gdDiagonalDown;
  switch (D) {
    case gdTopBottom:
    case gdBottomTop:
      Start = {0.5f, 0};
      Stop = {0.5f, 1};
      break;
    case gdLeftRight:
    case gdRightLeft:
      Start = {0, 0.5f};
      Stop = {1, 0.5f};
      break;
    case gdFromTopLeft:
    case gdDiagonalDown:
      Start = {0, 0};
      Stop = {1, 1};
      break;
    case gdFromBottomLeft:
    case gdDiagonalUp:
      Start = {0, 1};
      Stop = {1, 0};
      break;
    case gdFromCenter:
    case gdRadial:
      Start = {0, 0};
      Stop = {0, 1};
      break;
  }
}

// A radial fill turns about the centre RadialX, RadialY place (percent offsets from the middle of
// the filled area) by Angle degrees.
void TCustomZelGradient::SetRadialTransformOf(TGradient& P) const {
  TRadialTransform T = P.GetRadialTransform();
  T.RotationCenter = TPointF(static_cast<float>(FRadialX * 0.01 + 0.5),
                             static_cast<float>(FRadialY * 0.01 + 0.5));
  T.RotationAngle = static_cast<float>(FAngle);
  T.Position = TPointF(0, 0);
  P.SetRadialTransform(T);
}

void TCustomZelGradient::PrepareGradient(TGradient& P) const {
  using enum TGradientDirection;
  struct TStopValue {
    double Offset;
    TAlphaColor Color;
  };
  std::vector<TStopValue> Stops;
  if (FColors) {
    for (int i = 0; i < FColors->GetCount(); ++i)
      Stops.push_back({FColors->Stop(i)->GetOffset(), FColors->Stop(i)->GetColor()});
  } else {
    Stops = {{0, IDefStart}, {1, IDefEnd}};
  }
  TGradientPoints& Points = P.GetPoints();
  Points.Clear();
  TPointF Start, Stop;
  bool Reversed = false;
  GradientDirectionLine(FDirection, Start, Stop, Reversed);
  if (Reversed) {
    for (auto It = Stops.rbegin(); It != Stops.rend(); ++It)
      Points.Add(It->Color, static_cast<float>(1 - It->Offset));
  } else {
    for (const TStopValue& S : Stops) Points.Add(S.Color, static_cast<float>(S.Offset));
  }
  P.SetStartPosition(Start);
  P.SetStopPosition(Stop);
  if (FDirection == gdRadial || FDirection == gdFromCenter) {
    SetRadialTransformOf(P);
    P.SetStyle(TGradientStyle::Radial);
  } else {
    P.SetStyle(TGradientStyle::Linear);
  }
}

// --- drawing ---

void TCustomZelGradient::Draw(TZelCanvas* Canvas, const TRectF& Rect, int RoundRectSize) {
  Canvas->GetGradient()->Assign(this);
  if (RoundRectSize <= 0)
    Canvas->FillRect(Rect);
  else
    Canvas->RoundRect(Rect, RoundRectSize, RoundRectSize, nullptr);
  if (FSub && FSub->GetVisible()) DrawSubGradient(Canvas, Rect, RoundRectSize);
}

void TCustomZelGradient::DrawRadial(TZelCanvas* Canvas, const TRectF& Rect) {
  if (TCanvas* Platform = Canvas->GetCanvas()) {
    TBrush* Fill = Platform->GetFill();
    Fill->SetKind(TBrushKind::Gradient);
    TGradient* G = Fill->GetGradient();
    G->SetColor(GetStartColor());
    G->SetColor1(GetEndColor());
    SetRadialTransformOf(*G);
    G->SetStyle(TGradientStyle::Radial);
    Platform->FillRect(Rect, 0, 0, AllCorners, 1);
  }
  if (FSub && FSub->GetVisible()) DrawSubGradient(Canvas, Rect, 0);
}

void TCustomZelGradient::DrawSubGradient(TZelCanvas* Canvas, const TRectF& Rect,
                                         int RoundRectSize) {
  TSubGradient* Sub = GetSubGradient();
  TBlendingScope Blending(Canvas, Rect, static_cast<std::int8_t>(Sub->GetTransparency()));
  if (Sub->GetDirection() == TGradientDirection::gdRadial)
    Sub->DrawRadial(Canvas, Rect);
  else
    Sub->Draw(Canvas, Rect, RoundRectSize);
}

void TCustomZelGradient::Draw(TZelCanvas* Canvas, const std::array<TPointF, 4>& P) {
  Canvas->GetPen()->SetStyle(TPenStyle::psClear);
  Canvas->GetGradient()->Assign(this);
  Canvas->Polygon(P.data(), 3);
}

void TCustomZelGradient::Draw(TCanvas3D* Canvas, const std::array<TPointF, 4>& P, int Z) {
  std::array<TPointF, 4> Q;
  for (int i = 0; i < 4; ++i) Q[i] = Canvas->Calculate3DPosition(P[i], Z);
  Draw(static_cast<TZelCanvas*>(Canvas), Q);
}

void TCustomZelGradient::Draw(TCanvas3D* Canvas, const std::vector<TPointF>& P, int Z,
                              bool Is3D) {
  if (P.empty()) return;
  Canvas->GetGradient()->Assign(this);
  if (!Is3D) {
    Canvas->Polygon(P.data(), static_cast<int>(P.size()) - 1);
    return;
  }
  std::vector<TPointF> Q(P.size());
  for (std::size_t i = 0; i < P.size(); ++i) Q[i] = Canvas->Calculate3DPosition(P[i], Z);
  Canvas->Polygon(Q.data(), static_cast<int>(Q.size()) - 1);
}

void TSubGradient::SetTransparency(TZelTransparency Value) {
  if (Value > 100) Value = 100;
  if (FTransparency != Value) {
    FTransparency = Value;
    DoChanged();
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelGradientColor)
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Prop("Offset", &Self::GetOffset, &Self::SetOffset, &Self::IsOffsetStored),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Never),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TCustomZelGradient)
  P::Prop("Angle", &Self::GetAngle, &Self::SetAngle, Default(0)),
  P::Prop("Balance", &Self::GetBalance, &Self::SetBalance, Default(50)),
  P::Obj("Colors", &Self::GetColors, &Self::ExistingColors, &Self::IsColorsStored),
  P::Prop("Direction", &Self::GetDirection, &Self::SetDirection, &Self::IsDirectionStored),
  P::Prop("EndColor", &Self::GetEndColor, &Self::SetEndColor, &Self::IsEndColorStored),
  P::Prop("MidColor", &Self::GetMidColor, &Self::SetMidColor, &Self::IsMidColorStored),
  P::Prop("RadialX", &Self::GetRadialX, &Self::SetRadialX, Default(0)),
  P::Prop("RadialY", &Self::GetRadialY, &Self::SetRadialY, Default(0)),
  P::Prop("StartColor", &Self::GetStartColor, &Self::SetStartColor, &Self::IsStartColorStored),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, &Self::IsVisibleStored),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TZelGradient)
  P::Obj("SubGradient", &Self::GetSubGradient, &Self::ExistingSubGradient),
ZEL_END_PUBLISHED

// A sub-gradient has no sub-gradient of its own to store.
ZEL_BEGIN_PUBLISHED(TSubGradient)
  P::Obj("SubGradient", &Self::GetSubGradient, &Self::ExistingSubGradient, [](Self*) { return false; }),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(50)),
ZEL_END_PUBLISHED

}  // namespace zel
