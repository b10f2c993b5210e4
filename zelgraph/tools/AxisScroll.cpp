#include "zelgraph/tools/AxisScroll.h"

#include <cmath>
#include <vector>

#include "platform/Services.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TAxisScrollTool, TZelCustomToolAxis)

void TAxisScrollTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TAxisScrollTool*>(Source)) {
    FLimit = S->FLimit;
    FScrollInverted = S->FScrollInverted;
  }
  TZelCustomToolAxis::Assign(Source);
}

String TAxisScrollTool::Description() const { return ZelMsg_AxisScrollTool; }

String TAxisScrollTool::LongDescription() const { return ZelMsg_AxisScrollDesc; }

void TAxisScrollTool::SetActive(bool Value) {
  if (!Value) SetInAxis(nullptr);
  TZelCustomToolAxis::SetActive(Value);
}

TChartAxis* TAxisScrollTool::AxisClicked(std::int32_t X, std::int32_t Y) const {
  if (!FParent) return nullptr;
  // The tool's axis counts only while it is still one of the chart's axes (a freed custom axis
  // is not).
  if (TChartAxis* A = FParent->OwnAxis(FAxis); A && A->GetVisible() && A->Clicked(X, Y)) return A;
  return FParent->GetAxes()->Clicked(X, Y);
}

void TAxisScrollTool::DoAxisScroll(TChartAxis* Axis, std::int32_t Delta) {
  if (Axis->IAxisSize == 0) return;
  double Offset =
      static_cast<double>(Delta) * (Axis->GetMaximum() - Axis->GetMinimum()) / static_cast<double>(Axis->IAxisSize);
  // Near the double range the product overflows where the step does not.
  if (!std::isfinite(Offset)) Offset = Axis->RangePart(static_cast<double>(Delta) / Axis->IAxisSize);
  // An axis whose range is not finite cannot be shifted meaningfully; leave it as it is.
  if (!std::isfinite(Offset)) return;
  bool AllowScroll = true;
  if (auto* Chart = dynamic_cast<TCustomChart*>(FParent); Chart && Chart->OnAllowScroll) {
    // The handler can only refuse: the range it is given is a copy.
    double AMin = Axis->GetMinimum() + Offset;
    double AMax = Axis->GetMaximum() + Offset;
    Chart->OnAllowScroll(Axis, AMin, AMax, AllowScroll);
  }
  if (!AllowScroll) return;
  const bool CheckLimits = Offset > 0
                               ? (FLimit == TAxisScrollLimit::slMaximum || FLimit == TAxisScrollLimit::slBoth)
                               : (FLimit == TAxisScrollLimit::slMinimum || FLimit == TAxisScrollLimit::slBoth);
  Axis->Scroll(Offset, CheckLimits);
  TCustomAxisPanel* Chart = Axis->GetParentChart();
  if (Chart && Chart->OnScroll) Chart->OnScroll(Chart);
}

void TAxisScrollTool::Notification(TComponent* AComponent, TOperation Operation) {
  TZelCustomToolAxis::Notification(AComponent, Operation);
  ZelAxisFreed(InAxis, AComponent, Operation);
}

void TAxisScrollTool::CheckOtherAxes(std::int32_t Delta) {
  if (!FParent || !InAxis) return;
  // A step's handler may free axes: the live list is read at each step, and a freed dragged
  // axis (forgotten by Notification) ends the walk.
  TChartAxes* Axes = FParent->GetAxes();
  for (std::int32_t AxisIndex = 0; InAxis && AxisIndex < Axes->GetCount(); ++AxisIndex) {
    TChartAxis* B = Axes->Get(AxisIndex);
    // Only axes of the same kind follow: every series lies along the depth axes, so a depth
    // axis would otherwise follow every dragged vertical axis.
    if (B == InAxis || B->GetHorizontal() != InAxis->GetHorizontal() ||
        B->IsDepthAxis() != InAxis->IsDepthAxis())
      continue;
    for (std::int32_t I = 0; I < FParent->SeriesCount(); ++I) {
      TChartSeries* S = FParent->GetSeries(I);
      if (S->AssociatedToAxis(InAxis) && S->AssociatedToAxis(B)) {
        DoAxisScroll(B, Delta);
        break;
      }
    }
  }
}

void TAxisScrollTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                      std::int32_t X, std::int32_t Y) {
  TZelCustomToolAxis::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!GetActive() || !FParent) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress:
      SetInAxis(AxisClicked(X, Y));
      OldX = X;
      OldY = Y;
      if (InAxis) FParent->SetCancelMouse(true);
      break;
    case TChartMouseEvent::tmeMove:
      if (InAxis) {
        std::int32_t Delta = InAxis->GetHorizontal() ? OldX - X : OldY - Y;
        if (InAxis->GetInverted()) Delta = -Delta;
        if (InAxis->GetHorizontal() == FScrollInverted) Delta = -Delta;
        DoAxisScroll(InAxis, Delta);
        CheckOtherAxes(Delta);
        OldX = X;
        OldY = Y;
        FParent->SetCancelMouse(true);
      } else if (AxisClicked(X, Y)) {
        FParent->SetCursor(crHandPoint);
        FParent->SetCancelMouse(true);
      }
      break;
    case TChartMouseEvent::tmeRelease:
      SetInAxis(nullptr);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TAxisScrollTool)
  P::Prop("Limit", &Self::GetLimit, &Self::SetLimit, Default(TAxisScrollLimit::slNone)),
  P::Prop("ScrollInverted", &Self::GetScrollInverted, &Self::SetScrollInverted, Default(false)),
ZEL_END_PUBLISHED

}  // namespace zel
