#include "zelgraph/chart/ZoomHistory.h"

#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

ZEL_DEFINE_CLASS(TZoomSnapshot, TObject)

TAllAxisSavedScales SaveAxisScales(TCustomAxisPanel* Chart) {
  TAllAxisSavedScales Result;
  if (!Chart || !Chart->GetAxes()) return Result;
  const TChartAxes* Axes = Chart->GetAxes();
  Result.resize(static_cast<std::size_t>(Axes->GetCount()));
  for (int I = 0; I < Axes->GetCount(); ++I) {
    TChartAxis* A = Axes->Get(I);
    if (A->IsDepthAxis()) continue;
    TAxisSavedScales& S = Result[static_cast<std::size_t>(I)];
    S.Auto = A->GetAutomatic();
    S.AutoMin = A->GetAutomaticMinimum();
    S.AutoMax = A->GetAutomaticMaximum();
    S.Min = A->GetMinimum();
    S.Max = A->GetMaximum();
  }
  return Result;
}

void RestoreAxisScales(TCustomAxisPanel* Chart, TAllAxisSavedScales& Scales) {
  if (Chart && Chart->GetAxes()) {
    const TChartAxes* Axes = Chart->GetAxes();
    // Axes may have been added or removed since the scales were saved: only the common part.
    const int Count = std::min(Axes->GetCount(), static_cast<int>(Scales.size()));
    for (int I = 0; I < Count; ++I) {
      TChartAxis* A = Axes->Get(I);
      if (A->IsDepthAxis()) continue;
      const TAxisSavedScales& S = Scales[static_cast<std::size_t>(I)];
      A->SetAutomatic(S.Auto);
      A->SetAutomaticMinimum(S.AutoMin);
      A->SetAutomaticMaximum(S.AutoMax);
      A->InternalSetMinimum(S.Min);
      A->InternalSetMaximum(S.Max);
    }
  }
  Scales.clear();
}

void TZoomSnapshot::Take(TCustomAxisPanel* Chart) {
  const TChartAxis* Std[4] = {Chart->GetLeftAxis(), Chart->GetTopAxis(), Chart->GetRightAxis(),
                              Chart->GetBottomAxis()};
  for (int I = 0; I < 4; ++I) {
    AxesMinMax[static_cast<std::size_t>(2 * I)] = Std[I]->GetMinimum();
    AxesMinMax[static_cast<std::size_t>(2 * I + 1)] = Std[I]->GetMaximum();
  }
  CustomMinMax.clear();
  CustomCount = 0;
  if (TChartCustomAxes* C = Chart->GetCustomAxes()) {
    CustomCount = C->GetCount();
    CustomMinMax.reserve(static_cast<std::size_t>(CustomCount));
    for (int I = 0; I < CustomCount; ++I) CustomMinMax.emplace_back(C->Get(I)->GetMinimum(), C->Get(I)->GetMaximum());
  }
}

void TZoomSnapshot::Apply(TCustomAxisPanel* Chart) const {
  TChartAxis* Std[4] = {Chart->GetLeftAxis(), Chart->GetTopAxis(), Chart->GetRightAxis(), Chart->GetBottomAxis()};
  for (int I = 0; I < 4; ++I)
    Std[I]->SetMinMax(AxesMinMax[static_cast<std::size_t>(2 * I)], AxesMinMax[static_cast<std::size_t>(2 * I + 1)]);
  if (TChartCustomAxes* C = Chart->GetCustomAxes()) {
    const int Count = std::min({C->GetCount(), CustomCount, static_cast<int>(CustomMinMax.size())});
    for (int I = 0; I < Count; ++I) {
      const auto& [Min, Max] = CustomMinMax[static_cast<std::size_t>(I)];
      C->Get(I)->SetMinMax(Min, Max);
    }
  }
}

}  // namespace zel
