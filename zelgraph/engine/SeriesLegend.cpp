#include "zelgraph/engine/SeriesLegend.h"

#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"

namespace zel {

// TSeriesLegend

ZEL_DEFINE_CLASS(TSeriesLegend, TPersistent)

TSeriesLegend::TSeriesLegend(TCustomChartSeries* ASeries) : FSeries(ASeries) {}

TSeriesLegend::~TSeriesLegend() {
  if (FPicture) FPicture->Free();
}

void TSeriesLegend::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSeriesLegend*>(Source)) {
    FVisible = S->FVisible;
    FText = S->FText;
    SetPicture(S->FPicture);
    return;
  }
  inherited::Assign(Source);
}

void TSeriesLegend::Repaint() {
  if (FSeries)
    FSeries->Repaint();
  else if (FParent)
    FParent->Invalidate();
}

void TSeriesLegend::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Repaint();
}

void TSeriesLegend::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  Repaint();
}

TZelPicture* TSeriesLegend::GetPicture() {
  if (!FPicture) FPicture = new TZelPicture;
  return FPicture;
}

void TSeriesLegend::SetPicture(TZelPicture* Value) {
  if (Value == FPicture) return;
  if (!Value) {
    if (FPicture) FPicture->Free();
    FPicture = nullptr;
  } else {
    GetPicture()->Assign(Value);
  }
  Repaint();
}

bool TSeriesLegend::HasPicture() const { return FPicture && FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0; }

// TZelHover

ZEL_DEFINE_CLASS(TZelHover, TCustomTextShape)

TZelHover::TZelHover(TCustomZelPanel* AOwner) : TCustomTextShape(AOwner) {
  GetFont()->InitStyle(TFontStyles{TFontStyle::fsBold});
  GetPen()->InitColor(0x80FF0000);
  GetPen()->InitWidth(3);
}

// TZelSelected

ZEL_DEFINE_CLASS(TZelSelected, TCustomTextShape)

TZelSelected::TZelSelected(TObject* AElement) : TCustomTextShape(nullptr), IElement(AElement) {
  FVisible = false;
  DefaultVisible = false;
  GetPen()->InitColor(0xFFFF0000);
  GetPen()->InitWidth(2);
  FHover = Create<TZelHover>(static_cast<TCustomZelPanel*>(nullptr));
}

TZelSelected::~TZelSelected() {
  if (FHover) FHover->Free();
  FHover = nullptr;
}

void TZelSelected::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelSelected*>(Source)) SetHover(S->FHover);
  inherited::Assign(Source);
}

void TZelSelected::SetHover(TZelHover* Value) {
  if (Value && Value != FHover) FHover->Assign(Value);
}

void TZelSelected::RepaintElement() {
  if (auto* E = dynamic_cast<TCustomChartElement*>(IElement))
    E->Repaint();
  else if (auto* S = dynamic_cast<TZelCustomShapeBrushPen*>(IElement))
    S->Repaint();
  else if (auto* P = dynamic_cast<TCustomZelPanel*>(IElement))
    P->Invalidate();
}

void TZelSelected::SetHoverIndex(std::int32_t Value) {
  if (FHoverIndex == Value) return;
  FHoverIndex = Value;
  if (FHover->GetVisible()) RepaintElement();
}

void TZelSelected::SetItemIndex(std::int32_t Value) {
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  if (GetVisible()) RepaintElement();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelSelected)
  P::Obj("Hover", &Self::GetHover),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TSeriesLegend)
  P::Obj("Picture", &Self::GetPicture, &Self::ExistingPicture),
  P::Prop("Text", &Self::GetText, &Self::SetText, Default(String())),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Default(true)),
ZEL_END_PUBLISHED

}  // namespace zel
