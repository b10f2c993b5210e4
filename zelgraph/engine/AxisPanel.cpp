#include "zelgraph/engine/AxisPanel.h"

#include <algorithm>

#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_CLASS(TCustomAxisPanel, TComponent)

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner) : TComponent(AOwner) {}

TCustomAxisPanel::~TCustomAxisPanel() {
  if (!IsDestroying()) Destroying();
  FreeAllSeries(nullptr);
}

void TCustomAxisPanel::BroadcastSeriesEvent(TCustomChartSeries*, TChartSeriesEvent) {}

TCustomChartSeries* TCustomAxisPanel::AddSeries(TCustomChartSeries* Series) {
  if (Series) Series->SetParentChart(this);
  return Series;
}

void TCustomAxisPanel::InternalAddSeries(TCustomChartSeries* Series) {
  if (!Series) return;
  if (!dynamic_cast<TChartSeries*>(Series)) throw EInvalidCast("Invalid class typecast");
  if (IndexOfSeries(Series) >= 0) return;
  Series->FParent = this;
  Series->Added();
  FSeriesList.push_back(Series);
  if (!DoNotBroadcast) BroadcastSeriesEvent(Series, TChartSeriesEvent::seAdd);
  if (OnAddSeries) OnAddSeries(Series);
  Invalidate();
}

void TCustomAxisPanel::RemoveSeries(std::int32_t Index) {
  if (Index < 0 || Index >= SeriesCount()) return;
  TCustomChartSeries* S = FSeriesList[static_cast<std::size_t>(Index)];
  const bool Notify = !IsDestroying() && !DoNotBroadcast;
  if (Notify) BroadcastSeriesEvent(S, TChartSeriesEvent::seRemove);
  S->Removed();
  auto It = std::find(FSeriesList.begin(), FSeriesList.end(), S);
  if (It != FSeriesList.end()) FSeriesList.erase(It);
  if (OnRemoveSeries && !IsDestroying()) OnRemoveSeries(S);
  if (Notify) BroadcastSeriesEvent(S, TChartSeriesEvent::seAfterRemove);
  if (!IsDestroying()) Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TCustomChartSeries* Series) { RemoveSeries(IndexOfSeries(Series)); }

void TCustomAxisPanel::FreeAllSeries(const TClass* SeriesClass) {
  std::size_t I = 0;
  while (I < FSeriesList.size()) {
    TCustomChartSeries* S = FSeriesList[I];
    if (!SeriesClass || S->InheritsFrom(SeriesClass)) {
      S->SetParentChart(nullptr);
      S->Free();
    } else {
      ++I;
    }
  }
}

TCustomChartSeries* TCustomAxisPanel::GetSeries(std::int32_t Index) const {
  if (Index < 0 || Index >= SeriesCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FSeriesList[static_cast<std::size_t>(Index)];
}

std::int32_t TCustomAxisPanel::IndexOfSeries(const TCustomChartSeries* Series) const {
  auto It = std::find(FSeriesList.begin(), FSeriesList.end(), Series);
  return It == FSeriesList.end() ? -1 : static_cast<std::int32_t>(It - FSeriesList.begin());
}

TAlphaColor TCustomAxisPanel::GetDefaultColor(std::int32_t Index) const {
  if (ColorPalette.empty()) return zel::GetDefaultColor(Index);
  const std::int32_t N = static_cast<std::int32_t>(ColorPalette.size());
  std::int32_t I = Index % N;
  if (I < 0) I += N;
  return ColorPalette[static_cast<std::size_t>(I)];
}

TAlphaColor TCustomAxisPanel::GetFreeSeriesColor(bool CheckBackground, TChartSeries* Series) {
  const std::vector<TAlphaColor> Palette =
      ColorPalette.empty() ? std::vector<TAlphaColor>(ZelColorPalette) : ColorPalette;
  for (TAlphaColor C : Palette)
    if (IsFreeSeriesColor(C, CheckBackground, Series)) return C;
  return GetDefaultColor(SeriesCount());
}

void TCustomAxisPanel::ColorPaletteChanged() {
  for (TCustomChartSeries* S : std::vector<TCustomChartSeries*>(FSeriesList)) {
    auto* CS = dynamic_cast<TChartSeries*>(S);
    if (CS && !CS->IsColorStored()) CS->ChangeInternalColor(GetFreeSeriesColor(true, CS));
  }
}

}  // namespace zel
