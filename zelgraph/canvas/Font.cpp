#include "zelgraph/canvas/Font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Filer.h"
#include "platform/Math.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/constants/Constants.h"

namespace zel {

int GetDefaultFontSize = 0;
String GetDefaultFontName;

void ZelDefaultFont() {
  if (ISystemFontService* S = TPlatformServices::Current().GetSystemFontService()) {
    GetDefaultFontSize = Round(S->GetDefaultFontSize());
    GetDefaultFontName = S->GetDefaultFontFamilyName();
  } else {
    GetDefaultFontSize = StrToIntDef(ZelMsg_DefaultFontSize, 11);
    GetDefaultFontName = ZelMsg_DefaultFontName;
  }
}

// Old streams stored the font height in pixels at 96 dots per inch, negative for the character
// height. A positive (cell) height is taken by its magnitude and 0 means the default size; the
// result is kept within 1 .. ZelMaxLegacyFontSize, computed in double so nothing overflows.
float ZelFontSizeFromHeight(std::int64_t Height) {
  if (Height == 0) return static_cast<float>(std::max(GetDefaultFontSize, 1));
  double Size = std::fabs(static_cast<double>(Height)) * 72.0 / 96.0;
  Size = std::clamp(Size, 1.0, static_cast<double>(ZelMaxLegacyFontSize));
  return static_cast<float>(Size);
}

ZEL_DEFINE_CLASS(TZelFont, TFont)

TZelFont::TZelFont(TNotifyEvent OnChange) {
  FQuality = TFontQuality::fqDefault;
  FBrush = Create<TZelBrush>(TNotifyEvent());
  InitColor(0xFF000000);
  FBrush->SetOnChanged(OnChange);
  OnChanged = std::move(OnChange);
}

TZelFont::~TZelFont() {
  FreeAndNil(FBrush);
  FreeAndNil(FOutLine);
  FreeAndNil(FShadow);
  FreeAndNil(FEmboss);
}

void TZelFont::Changed() {
  if (OnChanged) OnChanged(this);
}

void TZelFont::InitColor(TAlphaColor C) {
  FBrush->InitColor(C);
  TEventMute Mute(OnChanged);
  SetColor(C);
  IDefColor = C;
}

void TZelFont::InitStyle(TFontStyles S) {
  TEventMute Mute(OnChanged);
  SetStyle(S);
  IDefStyle = S;
}

TAlphaColor TZelFont::GetColor() const { return FBrush->GetColor(); }

void TZelFont::SetColor(TAlphaColor Value) { FBrush->SetColor(Value); }

void TZelFont::SetSizeFloat(float Value) {
  if (!(GetSize() == Value)) SetSize(Value);
}

void TZelFont::SetBrush(TZelBrush* Value) { FBrush->Assign(Value); }

void TZelFont::SetDepth(double Value) {
  if (!(FDepth == Value)) {
    FDepth = Value;
    Changed();
  }
}

void TZelFont::SetInterCharSize(int Value) {
  if (FInterCharSize != Value) {
    FInterCharSize = Value;
    Changed();
  }
}

void TZelFont::SetQuality(TFontQuality Value) {
  if (FQuality != Value) {
    FQuality = Value;
    Changed();
  }
}

TZelHiddenPen* TZelFont::GetOutLine() {
  if (!FOutLine) FOutLine = Create<TZelHiddenPen>(OnChanged);
  return FOutLine;
}

void TZelFont::SetOutLine(TZelHiddenPen* Value) {
  if (!Value)
    FreeAndNil(FOutLine);
  else if (Value != FOutLine)
    GetOutLine()->Assign(Value);
}

TZelShadow* TZelFont::GetShadow() {
  if (!FShadow) FShadow = Create<TZelShadow>(OnChanged);
  return FShadow;
}

void TZelFont::SetShadow(TZelShadow* Value) {
  if (!Value)
    FreeAndNil(FShadow);
  else if (Value != FShadow)
    GetShadow()->Assign(Value);
}

TZelEmboss* TZelFont::GetEmboss() {
  if (!FEmboss) FEmboss = Create<TZelEmboss>(OnChanged);
  return FEmboss;
}

void TZelFont::SetEmboss(TZelEmboss* Value) {
  if (!Value)
    FreeAndNil(FEmboss);
  else if (Value != FEmboss)
    GetEmboss()->Assign(Value);
}

TZelGradient* TZelFont::GetGradient() { return FBrush->GetGradient(); }
void TZelFont::SetGradient(TZelGradient* Value) { FBrush->SetGradient(Value); }
TZelPicture* TZelFont::GetPicture() { return FBrush->GetImage(); }
void TZelFont::SetPicture(TZelPicture* Value) { FBrush->SetImage(Value); }

void TZelFont::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* S = dynamic_cast<TZelFont*>(Source)) {
    FBrush->Assign(S->FBrush);
    FDepth = S->FDepth;
    SetEmboss(S->FEmboss);
    FInterCharSize = S->FInterCharSize;
    SetOutLine(S->FOutLine);
    FQuality = S->FQuality;
    SetShadow(S->FShadow);
  }
  TFont::Assign(Source);
}

void TZelFont::DefineProperties(TFiler* Filer) {
  TFont::DefineProperties(Filer);
  Filer->DefineProperty("Height", [this](TReader* Reader) { ReadHeight(Reader); }, nullptr, false);
}

void TZelFont::ReadHeight(TReader* Reader) { SetSize(ZelFontSizeFromHeight(Reader->ReadInteger())); }

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelFont)
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Prop("Name", &Self::GetName, &Self::SetName, Never),
  P::Prop("Family", &Self::GetFamily, &Self::SetFamily, &Self::IsNameStored),
  P::Prop("Size", &Self::GetSize, &Self::SetSize, &Self::IsHeightStored),
  P::Prop("SizeFloat", &Self::GetSizeFloat, &Self::SetSizeFloat, Never),
  P::Obj("Brush", &Self::GetBrush),
  P::Prop("Depth", &Self::GetDepth, &Self::SetDepth, &Self::IsDepthStored),
  P::Obj("Emboss", &Self::GetEmboss, &Self::ExistingEmboss),
  P::Obj("Gradient", &Self::GetGradient, &Self::GetGradient, [](Self*) { return false; }),
  P::Prop("InterCharSize", &Self::GetInterCharSize, &Self::SetInterCharSize, Default(0)),
  P::Obj("OutLine", &Self::GetOutLine, &Self::ExistingOutLine),
  P::Obj("Picture", &Self::GetPicture, &Self::GetPicture, [](Self*) { return false; }),
  P::Prop("Quality", &Self::GetQuality, &Self::SetQuality, &Self::IsQualityStored),
  P::Obj("Shadow", &Self::GetShadow, &Self::ExistingShadow),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, &Self::IsStyleStored),
ZEL_END_PUBLISHED

}  // namespace zel
