#include "zelgraph/canvas/Shadow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Bitmap.h"
#include "platform/Graphics.h"
#include "platform/Scope.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"

namespace zel {

ZEL_DEFINE_CLASS(TZelBlend, TObject)
ZEL_DEFINE_CLASS(TZelShadow, TPersistent)
ZEL_DEFINE_CLASS(TZelEmboss, TZelShadow)

// ---------------------------------------------------------------------------------------------
// TZelBlend

TZelBlend::TZelBlend(TZelCanvas*, const TRectF&) {}

TZelBlend::~TZelBlend() { FreeAndNil(FBitmap); }

void TZelBlend::SetRectangle(const TRectF&) {}

void TZelBlend::DoBlend(TZelTransparency) {}

// ---------------------------------------------------------------------------------------------
// TZelShadow

TZelShadow::TZelShadow(TNotifyEvent OnChange) : IOnChange(std::move(OnChange)) {
  FSmooth = true;
  BlurSize = 4;
  InitValues(true, 0xFFC0C0C0, 0);
  FTransparency = 50;
}

void TZelShadow::InitValues(bool AVisible, TAlphaColor AColor, int ASize) {
  FVisible = AVisible;
  DefaultVisible = AVisible;
  FColor = AColor;
  DefaultColor = AColor;
  FHorizSize = ASize;
  FVertSize = ASize;
  DefaultSize = ASize;
}

void TZelShadow::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelShadow*>(Source)) {
    FColor = S->FColor;
    FHorizSize = S->FHorizSize;
    FSmooth = S->FSmooth;
    FSmoothBlur = S->FSmoothBlur;
    FTransparency = S->FTransparency;
    FVertSize = S->FVertSize;
    FVisible = S->FVisible;
  } else {
    inherited::Assign(Source);
  }
}

void TZelShadow::Changed() {
  if (IOnChange) IOnChange(this);
}

namespace {
template <typename T>
void SetAndNotify(TZelShadow* Shadow, T& Field, T Value) {
  if (Field != Value) {
    Field = Value;
    Shadow->Changed();
  }
}
}  // namespace

void TZelShadow::SetClip(bool V) { SetAndNotify(this, FClip, V); }
void TZelShadow::SetColor(TAlphaColor V) { SetAndNotify(this, FColor, V); }
void TZelShadow::SetHorizSize(int V) { SetAndNotify(this, FHorizSize, V); }
void TZelShadow::SetVertSize(int V) { SetAndNotify(this, FVertSize, V); }
void TZelShadow::SetSmooth(bool V) { SetAndNotify(this, FSmooth, V); }
void TZelShadow::SetSmoothBlur(int V) { SetAndNotify(this, FSmoothBlur, V); }
void TZelShadow::SetTransparency(TZelTransparency V) {
  SetAndNotify(this, FTransparency, std::min<TZelTransparency>(V, 100));
}
void TZelShadow::SetVisible(bool V) { SetAndNotify(this, FVisible, V); }

int TZelShadow::GetSize() const {
  // Magnitudes in 64 bits: |INT_MIN| does not fit an int.
  long long H = std::llabs(static_cast<long long>(FHorizSize));
  long long V = std::llabs(static_cast<long long>(FVertSize));
  return static_cast<int>(std::min<long long>(std::max(H, V), 2147483647LL));
}

void TZelShadow::SetSize(int V) {
  SetHorizSize(V);
  SetVertSize(V);
}

TRectF TZelShadow::OffsetRectangle(const TRectF& Rect) const {
  TRectF R = Rect;
  R.Offset(static_cast<float>(Factor()) * FHorizSize, static_cast<float>(Factor()) * FVertSize);
  return R;
}

std::array<TPointF, 4> TZelShadow::RectToFourPoints(const TRectF& R, double Angle) {
  const double Cx = (R.Left + R.Right) * 0.5;
  const double Cy = (R.Top + R.Bottom) * 0.5;
  const double Rad = Angle * (M_PI / 180.0);
  const double S = std::sin(Rad);
  const double C = std::cos(Rad);
  const double L = R.Left - Cx;
  const double Rr = R.Right - Cx;
  const double T = R.Top - Cy;
  const double B = R.Bottom - Cy;
  auto Turn = [&](double X, double Y) {
    return TPointF(static_cast<float>(Cx + X * C + Y * S), static_cast<float>(Cy - X * S + Y * C));
  };
  return {Turn(L, T), Turn(Rr, T), Turn(Rr, B), Turn(L, B)};
}

bool TZelShadow::PrepareCanvas(TCanvas3D* Canvas, const TRectF&, int) {
  ITransp = 0;
  IBlend = nullptr;
  if (FColor == 0 || (FHorizSize == 0 && FVertSize == 0)) return false;
  ITransp = FTransparency != 0 ? FTransparency : Canvas->GetTransparency();
  if (ITransp != 0)
    IBlend = Canvas->BeginBlending(TRectF(), static_cast<std::int8_t>(FTransparency));
  return true;
}

void TZelShadow::FinishBlending(TZelCanvas* Canvas) {
  if (ITransp != 0) {
    ITransp = 0;
    TZelBlend* B = IBlend;
    IBlend = nullptr;
    Canvas->EndBlending(B);
  }
}

namespace {

TRectF BoundsOf(const TPointF* P, int Count) {
  if (Count <= 0) return TRectF();
  TRectF R(P[0].X, P[0].Y, P[0].X, P[0].Y);
  for (int i = 1; i < Count; ++i) {
    R.Left = std::min(R.Left, P[i].X);
    R.Top = std::min(R.Top, P[i].Y);
    R.Right = std::max(R.Right, P[i].X);
    R.Bottom = std::max(R.Bottom, P[i].Y);
  }
  return R;
}

}  // namespace

void TZelShadow::Draw(TCanvas3D* Canvas, const TRectF& Rect, int RoundSize, int Angle) {
  TZelPen* Pen = Canvas->GetPen();
  const auto OldStyle = Pen->GetStyle();
  const TAlphaColor OldColor = Pen->GetColor();
  TRestoreOnExit RestorePen([&] {
    Pen->SetStyle(OldStyle);
    Pen->SetColor(OldColor);
  });

  if (!PrepareCanvas(Canvas, Rect, 0)) return;
  // Closes the blend also when the fill fails, so the transparency stack stays balanced.
  TRestoreOnExit EndBlend([&] { FinishBlending(Canvas); });
  const TRectF R = OffsetRectangle(Rect);
  if (Angle == 0) {
    Canvas->SmoothShadow(this, R, false, RoundSize, nullptr, -1, 0, 0, 360);
  } else {
    const std::array<TPointF, 4> P = RectToFourPoints(R, Angle);
    Canvas->SmoothShadow(this, BoundsOf(P.data(), 4), false, RoundSize, P.data(), 3, 0, 0, 360);
  }
}

void TZelShadow::Draw(TCanvas3D* Canvas, const TPointF* P, int Count) {
  if (!P || Count <= 0) return;
  // Moved by the factor, so that an emboss falls opposite its shadow as it does for rectangles.
  const float DX = static_cast<float>(Factor()) * FHorizSize;
  const float DY = static_cast<float>(Factor()) * FVertSize;
  std::vector<TPointF> Moved(P, P + Count);
  for (TPointF& Pt : Moved) Pt.Offset(DX, DY);
  const TRectF R = Canvas->GetSupportsAlpha() ? TRectF() : BoundsOf(Moved.data(), Count);
  if (!PrepareCanvas(Canvas, R, 0)) return;
  // Closes the blend also when the fill fails, so the transparency stack stays balanced.
  TRestoreOnExit EndBlend([&] { FinishBlending(Canvas); });
  Canvas->SmoothShadow(this, R, false, 0, Moved.data(), Count - 1, 0, 0, 360);
}

void TZelShadow::Draw(TCanvas3D* Canvas, const std::vector<TPointF>& P) {
  Draw(Canvas, P.data(), static_cast<int>(P.size()));
}

void TZelShadow::DrawEllipse(TCanvas3D* Canvas, const TRectF& Rect, int DonutPercent,
                             double StartAngle, double EndAngle) {
  if (!PrepareCanvas(Canvas, Rect, 0)) return;
  // Closes the blend also when the fill fails, so the transparency stack stays balanced.
  TRestoreOnExit EndBlend([&] { FinishBlending(Canvas); });
  Canvas->SmoothShadow(this, OffsetRectangle(Rect), true, 0, nullptr, -1, DonutPercent, StartAngle,
                       EndAngle);
}

// ---------------------------------------------------------------------------------------------
// TZelEmboss

TZelEmboss::TZelEmboss(TNotifyEvent OnChange) : TZelShadow(std::move(OnChange)) {
  FVisible = false;
  DefaultVisible = false;
}

// ---------------------------------------------------------------------------------------------
// Published properties (also the emboss')

ZEL_BEGIN_PUBLISHED(TZelShadow)
  P::Prop("Clip", &Self::GetClip, &Self::SetClip, Default(false)),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
  P::Prop("HorizSize", &Self::GetHorizSize, &Self::SetHorizSize, &Self::IsHorizStored),
  P::Prop("Smooth", &Self::GetSmooth, &Self::SetSmooth, Default(true)),
  P::Prop("SmoothBlur", &Self::GetSmoothBlur, &Self::SetSmoothBlur, Default(0)),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(50)),
  P::Prop("VertSize", &Self::GetVertSize, &Self::SetVertSize, &Self::IsVertStored),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, &Self::IsVisibleStored),
ZEL_END_PUBLISHED

}  // namespace zel
