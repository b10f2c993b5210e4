#include "zelgraph/canvas/Pens.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"

namespace zel {

// --- TZelPen ---

ZEL_DEFINE_CLASS(TZelPen, TPersistent)
ZEL_DEFINE_CLASS(TZelHiddenPen, TZelPen)
ZEL_DEFINE_CLASS(TDarkGrayPen, TZelPen)
ZEL_DEFINE_CLASS(TWhitePen, TZelPen)

TZelPen::TZelPen(TNotifyEvent OnChange) : FOnChange(std::move(OnChange)) {}

TZelPen::~TZelPen() { FreeAndNil(FFill); }

void TZelPen::Changed() {
  if (FOnChange) FOnChange(this);
}

void TZelPen::SetOnChange(TNotifyEvent Value) {
  FOnChange = std::move(Value);
  if (FFill) FFill->SetOnChanged(FOnChange);
}

TZelBrush* TZelPen::GetPenBrush() {
  if (!FFill) {
    FFill = Create<TZelBrush>(TNotifyEvent());
    FFill->InitColor(0xFF000000);
    FFill->SetOnChanged(FOnChange);
  }
  return FFill;
}

void TZelPen::SetPenBrush(TZelBrush* Value) {
  if (Value)
    GetPenBrush()->Assign(Value);
  else
    FreeAndNil(FFill);
}

TAlphaColor TZelPen::GetColor() { return GetPenBrush()->GetColor(); }

void TZelPen::SetColor(TAlphaColor Value) {
  TZelBrush* B = GetPenBrush();
  if (B->GetColor() == Value) return;
  // One notification, from the pen.
  TNotifyEvent Saved = B->GetOnChanged();
  B->OnChanged = nullptr;
  B->TBrush::SetColor(Value);
  B->OnChanged = std::move(Saved);
  Changed();
}

void TZelPen::InitColor(TAlphaColor Value) { GetPenBrush()->InitColor(Value); }

void TZelPen::InitEndStyle(TPenEndStyle Value) {
  FEndStyle = Value;
  DefaultEnd = Value;
}

void TZelPen::InitJoinStyle(TPenJoinStyle Value) {
  FJoinStyle = Value;
  DefaultJoin = Value;
}

void TZelPen::InitVisible(bool Value) {
  FVisible = Value;
  DefaultVisible = Value;
}

void TZelPen::InitWidth(float Value) {
  FWidth = Value;
  DefaultWidth = Value;
}

void TZelPen::InitStyle(TPenStyle Value) {
  FStyle = Value;
  DefaultStyle = Value;
}

void TZelPen::SetStyle(TPenStyle Value) {
  if (FStyle != Value) {
    FStyle = Value;
    Changed();
  }
}

void TZelPen::SetWidth(float Value) {
  // Any difference counts, a NaN included.
  if (!(FWidth == Value)) {
    FWidth = Value;
    Changed();
  }
}

void TZelPen::SetEndStyle(TPenEndStyle Value) {
  if (FEndStyle != Value) {
    FEndStyle = Value;
    Changed();
  }
}

void TZelPen::SetJoinStyle(TPenJoinStyle Value) {
  if (FJoinStyle != Value) {
    FJoinStyle = Value;
    Changed();
  }
}

void TZelPen::SetSmallDots(bool Value) {
  if (FSmallDots != Value) {
    FSmallDots = Value;
    Changed();
  }
}

void TZelPen::SetSmallSpace(int Value) {
  if (FSmallSpace != Value) {
    FSmallSpace = Value;
    Changed();
  }
}

void TZelPen::SetVisible(bool Value) {
  if (FVisible != Value) {
    FVisible = Value;
    Changed();
  }
}

int TZelPen::HalfWidth() const {
  if (FVisible && FWidth > 1) return Round(FWidth * 0.5);
  return 0;
}

bool TZelPen::IsGradientVisible() const { return FFill && FFill->HasGradient(); }

bool TZelPen::IsColorStored() const { return FFill && FFill->IsColorStored(); }

bool TZelPen::IsWidthStored() const { return !(FWidth == DefaultWidth); }

void TZelPen::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TZelPen*>(Source);
  if (!S) return;
  FVisible = S->FVisible;
  FSmallDots = S->FSmallDots;
  FSmallSpace = S->FSmallSpace;
  FEndStyle = S->FEndStyle;
  FJoinStyle = S->FJoinStyle;
  SetPenBrush(S->FFill);
  FWidth = S->FWidth;
  FStyle = S->FStyle;
}

TZelHiddenPen::TZelHiddenPen(TNotifyEvent OnChange) : TZelPen(std::move(OnChange)) {
  InitVisible(false);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent OnChange) : TZelPen(std::move(OnChange)) {
  InitColor(0xFFA9A9A9);
}

TWhitePen::TWhitePen(TNotifyEvent OnChange) : TZelPen(std::move(OnChange)) { InitColor(0xFFFFFFFF); }

// --- TZelBrush ---

ZEL_DEFINE_CLASS(TZelBrush, TBrush)

TZelBrush::TZelBrush(TNotifyEvent OnChange) : TBrush(TBrushKind::Solid, 0x00FFFFFF) {
  OnChanged = std::move(OnChange);
}

TZelBrush::~TZelBrush() {
  FreeAndNil(FGradient);
  FreeAndNil(FImage);
}

void TZelBrush::Changed() {
  if (OnChanged) OnChanged(this);
}

void TZelBrush::SetOnChanged(TNotifyEvent Value) {
  OnChanged = std::move(Value);
  if (FGradient) FGradient->SetOnChange(OnChanged);
  if (FImage) FImage->OnChange = OnChanged;
}

void TZelBrush::InitColor(TAlphaColor Value) {
  TEventMute Mute(OnChanged);
  SetColor(Value);
  DefaultColor = Value;
}

void TZelBrush::SetBackColor(TAlphaColor Value) {
  if (FBackColor != Value) {
    FBackColor = Value;
    Changed();
  }
}

TZelGradient* TZelBrush::GetGradient() {
  if (!FGradient) {
    FGradient = Create<TZelGradient>(OnChanged);
    FGradient->SetBrush(this);
  }
  return FGradient;
}

void TZelBrush::SetGradient(TZelGradient* Value) {
  if (Value)
    GetGradient()->Assign(Value);
  else
    FreeAndNil(FGradient);
  Changed();
}

bool TZelBrush::HasGradient() const { return FGradient && FGradient->GetVisible(); }

TZelPicture* TZelBrush::GetImage() {
  if (!FImage) {
    FImage = Create<TZelPicture>();
    FImage->OnChange = OnChanged;
  }
  return FImage;
}

void TZelBrush::SetImage(TZelPicture* Value) {
  if (Value && Value == FImage) {
    Changed();
  } else if (Value) {
    // One notification, from the brush.
    TZelPicture* Image = GetImage();
    {
      TEventMute Mute(Image->OnChange);
      Image->Assign(Value);
    }
    Changed();
  } else if (FImage) {
    FreeAndNil(FImage);
    Changed();
  }
}

void TZelBrush::Clear() {
  SetKind(TBrushKind::None);
  SetImage(nullptr);
  FreeAndNil(FGradient);
}

void TZelBrush::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* S = dynamic_cast<TZelBrush*>(Source)) {
    SetImage(S->FImage);
    FBackColor = S->FBackColor;
    if (S->FGradient)
      SetGradient(S->FGradient);
    else
      FreeAndNil(FGradient);
  }
  TBrush::Assign(Source);
}

// --- corners ---

ZEL_DEFINE_CLASS(TZelCorner, TPersistent)
ZEL_DEFINE_CLASS(TZelCorners, TPersistent)

TZelCorner::TZelCorner(TNotifyEvent OnChange) : IChanged(std::move(OnChange)) {}

void TZelCorner::SetStyle(TZelCornerStyle Value) {
  if (FStyle != Value) {
    FStyle = Value;
    if (IChanged) IChanged(this);
  }
}

void TZelCorner::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelCorner*>(Source))
    FStyle = S->FStyle;
  else
    TPersistent::Assign(Source);
}

TZelCorners::TZelCorners(TNotifyEvent OnChange)
    : FLeftBottom(Create<TZelCorner>(OnChange)),
      FLeftTop(Create<TZelCorner>(OnChange)),
      FRightBottom(Create<TZelCorner>(OnChange)),
      FRightTop(Create<TZelCorner>(OnChange)) {}

TZelCorners::~TZelCorners() {
  FreeAndNil(FRightTop);
  FreeAndNil(FRightBottom);
  FreeAndNil(FLeftTop);
  FreeAndNil(FLeftBottom);
}

void TZelCorners::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelCorners*>(Source)) {
    FLeftBottom->Assign(S->FLeftBottom);
    FLeftTop->Assign(S->FLeftTop);
    FRightBottom->Assign(S->FRightBottom);
    FRightTop->Assign(S->FRightTop);
  } else {
    TPersistent::Assign(Source);
  }
}

bool TZelCorners::IsAllRound() const {
  for (const TZelCorner* C : {FLeftBottom, FLeftTop, FRightBottom, FRightTop})
    if (C->GetStyle() != TZelCornerStyle::cosRound) return false;
  return true;
}

TZelBasePath* TZelCorners::GetPath(TZelCanvas* Canvas, const TRectF& R, int X, int Y) {
  TOwned<TZelBasePath> Path(Canvas->CreatePath());
  AddPath(Path.get(), R, X, Y);
  return Path.release();
}

// One closed figure, clockwise from the top edge: right-top, right-bottom, left-bottom and
// left-top corners, each rounded (an arc fitting a cw x ch box), bevelled (a cut of hw x hh) or
// square; straight edges join them.
void TZelCorners::AddPath(TZelBasePath* Path, const TRectF& R, int X, int Y) const {
  using enum TZelCornerStyle;
  int cw = std::max(2 * (X / 2), 1);
  int ch = std::max(2 * (Y / 2), 1);
  cw = std::min(cw, std::abs(Round(double(R.Right) - R.Left)));
  ch = std::min(ch, std::abs(Round(double(R.Bottom) - R.Top)));
  const int hw = cw / 2;
  const int hh = ch / 2;
  const float L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const TZelCornerStyle RT = FRightTop->GetStyle(), RB = FRightBottom->GetStyle(),
                        LB = FLeftBottom->GetStyle(), LT = FLeftTop->GetStyle();

  // Right-top: the figure starts here.
  switch (RT) {
    case cosRound:
      if (LT == cosNone) {
        Path->MoveTo(L, T);
        Path->LineTo(Rt - cw, T);
      } else {
        Path->MoveTo(Rt - hw, T);
      }
      Path->ArcTo(Rt - cw, T, cw, ch, 270, 90);
      break;
    case cosBevel:
      Path->MoveTo(Rt - hw, T);
      Path->LineTo(Rt, T + hh);
      break;
    case cosNone:
      Path->MoveTo(Rt, T);
      break;
  }
  // Right-bottom.
  if (RB == cosRound) {
    Path->LineTo(Rt, B - hh);
    Path->ArcTo(Rt - cw, B - ch, cw, ch, 0, 90);
  } else if (RB == cosBevel) {
    Path->LineTo(Rt, B - hh);
    Path->LineTo(Rt - hw, B);
  } else {
    Path->LineTo(Rt, B);
  }
  // Left-bottom.
  if (LB == cosRound) {
    Path->LineTo(L + hw, B);
    Path->ArcTo(L, B - ch, cw, ch, 90, 90);
  } else if (LB == cosBevel) {
    Path->LineTo(L + hw, B);
    Path->LineTo(L, B - hh);
  } else {
    Path->LineTo(L, B);
  }
  // Left-top.
  if (LT == cosRound) {
    Path->LineTo(L, T + hh);
    Path->ArcTo(L, T, cw, ch, 180, 90);
  } else if (LT == cosBevel) {
    Path->LineTo(L, T + hh);
    Path->LineTo(L + hw, T);
  } else if (RT != cosRound) {
    Path->LineTo(L, T);
  }
  Path->Close();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelPen)
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Prop("Mode", &Self::GetMode, &Self::SetMode, &Self::IsModeStored),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, &Self::IsStyleStored),
  P::Prop("Width", &Self::GetWidth, &Self::SetWidth, &Self::IsWidthStored),
  P::Prop("EndStyle", &Self::GetEndStyle, &Self::SetEndStyle, &Self::IsEndStored),
  P::Obj("Fill", &Self::GetPenBrush, &Self::ExistingFill),
  P::Prop("JoinStyle", &Self::GetJoinStyle, &Self::SetJoinStyle, &Self::IsJoinStored),
  P::Prop("SmallDots", &Self::GetSmallDots, &Self::SetSmallDots, &Self::IsSmallDotsStored),
  P::Prop("SmallSpace", &Self::GetSmallSpace, &Self::SetSmallSpace, &Self::IsSmallSpaceStored),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, &Self::IsVisibleStored),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TZelBrush)
  P::Prop("Kind", &Self::GetKind, &Self::SetKind, &Self::IsKindStored),
  P::Prop("BackColor", &Self::GetBackColor, &Self::SetBackColor, &Self::IsBackColorStored),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Obj("Gradient", &Self::GetGradient, &Self::ExistingGradient),
  P::Obj("Image", &Self::GetImage, &Self::ExistingImage),
ZEL_END_PUBLISHED

// Corners are made by looking at them; made, they are still round, so a round corner writes
// nothing and a shape draws all-round corners as it draws none (reading makes no corners then).
ZEL_BEGIN_PUBLISHED(TZelCorner)
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TZelCornerStyle::cosRound)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TZelCorners)
  P::Obj("LeftBottom", &Self::GetLeftBottom),
  P::Obj("LeftTop", &Self::GetLeftTop),
  P::Obj("RightBottom", &Self::GetRightBottom),
  P::Obj("RightTop", &Self::GetRightTop),
ZEL_END_PUBLISHED

}  // namespace zel
