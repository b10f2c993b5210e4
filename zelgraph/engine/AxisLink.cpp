// How an axis reaches its chart panel and the series drawn on it. Every question has a neutral
// answer when the axis has no chart, so that an axis also works on its own.
#include <algorithm>

#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

TCanvas3D* TChartAxis::ChartCanvas() const { return FParentChart ? FParentChart->GetCanvas() : nullptr; }

TRectF TChartAxis::ChartRectOf() const { return FParentChart ? FParentChart->GetChartRect() : TRectF(0, 0, 0, 0); }

std::int32_t TChartAxis::ChartWidth3D() const { return FParentChart ? FParentChart->GetWidth3D() : 0; }

std::int32_t TChartAxis::ChartHeight3D() const { return FParentChart ? FParentChart->GetChartHeight() : 0; }

bool TChartAxis::ChartView3D() const { return FParentChart && FParentChart->GetView3D(); }

bool TChartAxis::ChartOrthogonal() const {
  if (!FParentChart) return true;
  TView3DOptions* O = FParentChart->GetView3DOptions();
  return !O || O->GetOrthogonal() || O->GetRotation() == 360;
}


bool TChartAxis::ChartReading() const {
  return FParentChart && FParentChart->GetComponentState().Contains(TComponentStateItem::csReading);
}

bool TChartAxis::ChartFastCalc() const {
  return FParentChart && FParentChart->GetAxes() && FParentChart->GetAxes()->GetFastCalc();
}

bool TChartAxis::ChartAxisBehind() const { return FParentChart && FParentChart->GetAxisBehind(); }

double TChartAxis::ChartMinMax(bool IsMin) {
  return FParentChart ? FParentChart->InternalMinMax(this, IsMin, FHorizontal) : 0;
}

void TChartAxis::ChartChangedAxisScale() {
  if (FParentChart && !FParentChart->IsDestroying()) FParentChart->ChangedAxisScale(this);
}

std::int32_t TChartAxis::ChartWallSize(TChartAxis* Axis) const {
  return (FParentChart && Axis) ? FParentChart->CalcWallSize(Axis) : 0;
}

bool TChartAxis::ChartIsAxisVisible() const {
  return FParentChart ? FParentChart->IsAxisVisible(const_cast<TChartAxis*>(this)) : FVisible;
}

std::int32_t TChartAxis::ChartMaxMarkWidth() const { return FParentChart ? FParentChart->MaxMarkWidth() : 0; }

std::int32_t TChartAxis::ChartMaxTextWidth() const { return FParentChart ? FParentChart->MaxTextWidth() : 0; }

String TChartAxis::ChartSeriesTitleLegend(std::int32_t Index) const {
  return FParentChart ? FParentChart->SeriesTitleLegend(Index, true) : String();
}

const TAxisOnGetLabel* TChartAxis::ChartOnGetAxisLabel() const {
  return FParentChart ? &FParentChart->OnGetAxisLabel : nullptr;
}

const TAxisOnGetNextLabel* TChartAxis::ChartOnGetNextAxisLabel() const {
  return FParentChart ? &FParentChart->OnGetNextAxisLabel : nullptr;
}

std::int32_t TChartAxis::ChartAxisIndex() const {
  if (!FParentChart || !FParentChart->GetAxes()) return -1;
  return FParentChart->GetAxes()->IndexOf(const_cast<TChartAxis*>(this));
}

TChartAxis* TChartAxis::ChartAxisAt(std::int32_t Index) const {
  if (!FParentChart || !FParentChart->GetAxes()) return nullptr;
  TChartAxes* A = FParentChart->GetAxes();
  return Index >= 0 && Index < A->GetCount() ? A->Get(Index) : nullptr;
}

const TAxisCalcPosLabels* TChartAxis::ChartCalcPosLabels() const {
  if (!FParentChart || !FParentChart->GetAxes()) return nullptr;
  return &FParentChart->GetAxes()->CalcPosLabels;
}

bool TChartAxis::ChartHoverHighlight() const {
  return FParentChart && FParentChart->GetHover() && FParentChart->GetHover()->GetVisible();
}

std::int32_t TChartAxis::ChartMultiLineTextWidth(const String& Text, std::int32_t& NumLines) const {
  NumLines = 1;
  if (!FParentChart || !FParentChart->GetCanvas()) return 0;
  return FParentChart->MultiLineTextWidth(Text, NumLines);
}

TCollection* TChartAxis::ChartCustomAxes() const { return FParentChart ? FParentChart->GetCustomAxes() : nullptr; }

void TChartAxis::ChartAddAxis() {
  if (!FParentChart || !FParentChart->GetAxes()) return;
  FParentChart->GetAxes()->Add(this);
  FParentChart->ApplyThemeAxes(this);
}

void TChartAxis::ChartRemoveAxis() {
  if (!FParentChart) return;
  // Series that used this axis as a custom axis went back to the standard axes when its free
  // notification ran (TChartSeries::Notification), wherever they are.
  if (TChartAxes* Axes = FParentChart->GetAxes()) {
    Axes->Remove(this);
    // No axis left in the chart, nor any of their sub-axes, keeps this one as its partner.
    std::function<void(TChartAxis*)> Forget = [&](TChartAxis* A) {
      if (A->FPartnerAxis == this) A->FPartnerAxis = nullptr;
      if (A->FSubAxes)
        for (std::int32_t I = 0; I < A->FSubAxes->GetCount(); ++I) Forget(A->FSubAxes->Get(I));
    };
    for (TChartAxis* A : Axes->GetList()) Forget(A);
  }
}

void TChartAxis::FreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  if (!FFreeNotifier) FFreeNotifier = Create<TComponent>(nullptr);
  FFreeNotifier->FreeNotification(AComponent);
}

void TChartAxis::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent && FFreeNotifier) FFreeNotifier->RemoveFreeNotification(AComponent);
}

void TChartAxis::ChartResetSubScales() {
  if (FParentChart && FParentChart->GetCustomAxes()) FParentChart->GetCustomAxes()->ResetScales(this);
}

// --- series ---

bool TChartAxis::SeriesAssociated(TChartSeries* Series) const {
  return Series->AssociatedToAxis(const_cast<TChartAxis*>(this));
}

TChartValueList* TChartAxis::SeriesValueListOfAxis(TChartSeries* Series) const {
  return Series->ValueListOfAxis(const_cast<TChartAxis*>(this));
}

bool TChartAxis::SeriesHasPointLabels(TChartSeries* Series) const { return Series->HasPointLabels(); }

String TChartAxis::SeriesMarkText(TChartSeries* Series, std::int32_t Index) const { return Series->GetMarkText(Index); }

}  // namespace zel
