// Zooming to a rectangle or by a percentage, panning, wheel scrolling of the vertical axes, and
// undoing them through the zoom history or the scales saved before the first change.
#include <cmath>
#include <vector>

#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

namespace {

bool AllFinite(std::initializer_list<double> Values) {
  for (double V : Values)
    if (!std::isfinite(V)) return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Saved scales

TAllAxisSavedScales TCustomChart::SaveScales() { return SaveAxisScales(this); }

void TCustomChart::RestoreScales(TAllAxisSavedScales& Scales) { RestoreAxisScales(this, Scales); }

void TCustomChart::CheckSaveScales() {
  if (!RestoredAxisScales) return;
  FSavedScales = SaveScales();
  RestoredAxisScales = false;
}

// ---------------------------------------------------------------------------------------------
// Zoom

void TCustomChart::DoZoomAnimated(double TopMin, double TopMax, double BottomMin, double BottomMax, double LeftMin,
                                  double LeftMax, double RightMin, double RightMax) {
  const TZelZoomDirection Dir = GetZoom()->GetDirection();
  auto ZoomAxis = [](TChartAxis* A, double NewMin, double NewMax) {
    const double Min = A->GetMinimum();
    const double Max = A->GetMaximum();
    const double StepMin = Min + (NewMin - Min) / AnimatedZoomFactor;
    const double StepMax = Max - (Max - NewMax) / AnimatedZoomFactor;
    // A step between ends far apart near the double range overflows: that axis skips the step.
    if (AllFinite({StepMin, StepMax})) A->SetMinMax(StepMin, StepMax);
  };
  for (int Step = 1; Step < GetZoom()->GetAnimatedSteps(); ++Step) {
    if (Dir != TZelZoomDirection::tzdHorizontal) {
      ZoomAxis(GetLeftAxis(), LeftMin, LeftMax);
      ZoomAxis(GetRightAxis(), RightMin, RightMax);
    }
    if (Dir != TZelZoomDirection::tzdVertical) {
      ZoomAxis(GetTopAxis(), TopMin, TopMax);
      ZoomAxis(GetBottomAxis(), BottomMin, BottomMax);
    }
    Invalidate();
    ProcessPendingPaint();
  }
}

void TCustomChart::DoZoom(double TopMin, double TopMax, double BottomMin, double BottomMax, double LeftMin,
                          double LeftMax, double RightMin, double RightMax) {
  CheckSaveScales();
  if (GetZoom()->GetAnimated())
    DoZoomAnimated(TopMin, TopMax, BottomMin, BottomMax, LeftMin, LeftMax, RightMin, RightMax);
  const TZelZoomDirection Dir = GetZoom()->GetDirection();
  if (Dir != TZelZoomDirection::tzdHorizontal) {
    GetLeftAxis()->SetMinMax(LeftMin, LeftMax);
    GetRightAxis()->SetMinMax(RightMin, RightMax);
  }
  if (Dir != TZelZoomDirection::tzdVertical) {
    GetTopAxis()->SetMinMax(TopMin, TopMax);
    GetBottomAxis()->SetMinMax(BottomMin, BottomMax);
  }
  SetZoomed(true);
  if (OnZoom) OnZoom(this);
}

void TCustomChart::ZoomRect(const TRectF& Rect) {
  TZelZoom* Z = GetZoom();
  Z->X0 = Round(Rect.Left);
  Z->Y0 = Round(Rect.Top);
  Z->X1 = Round(Rect.Right);
  Z->Y1 = Round(Rect.Bottom);
  CalcZoomPoints();
}

void TCustomChart::CalcZoomPoints() {
  TZelZoom* Z = GetZoom();
  Z->Check();
  TChartSeries* S = nullptr;
  for (std::int32_t I = SeriesCount() - 1; I >= 0; --I) {
    TChartSeries* T = GetSeries(I);
    if (T->GetActive() && T->CanZoomScroll()) {
      S = T;
      break;
    }
  }
  double TopMin, TopMax, BottomMin, BottomMax, LeftMin, LeftMax, RightMin, RightMax;
  if (S && S->GetZoomSeries()) {
    TopMin = BottomMin = S->XScreenToValue(Z->X0);
    TopMax = BottomMax = S->XScreenToValue(Z->X1);
    LeftMin = RightMin = S->YScreenToValue(Z->Y1);
    LeftMax = RightMax = S->YScreenToValue(Z->Y0);
  } else {
    TopMin = GetTopAxis()->CalcPosPoint(Z->X0);
    TopMax = GetTopAxis()->CalcPosPoint(Z->X1);
    BottomMin = GetBottomAxis()->CalcPosPoint(Z->X0);
    BottomMax = GetBottomAxis()->CalcPosPoint(Z->X1);
    LeftMin = GetLeftAxis()->CalcPosPoint(Z->Y1);
    LeftMax = GetLeftAxis()->CalcPosPoint(Z->Y0);
    RightMin = GetRightAxis()->CalcPosPoint(Z->Y1);
    RightMax = GetRightAxis()->CalcPosPoint(Z->Y0);
  }
  // An axis that was never laid out maps pixels to nothing usable: such a zoom would leave the
  // axes without a range, so it does not happen.
  if (!AllFinite({TopMin, TopMax, BottomMin, BottomMax, LeftMin, LeftMax, RightMin, RightMax})) return;
  DoZoom(TopMin, TopMax, BottomMin, BottomMax, LeftMin, LeftMax, RightMin, RightMax);
  if (Z->GetHistory()) AddZoomSnapshot();
}

void TCustomChart::ZoomPercent(double PercentZoom) {
  const TZelZoomDirection Dir = GetZoom()->GetDirection();
  auto CalcAxisScale = [&](TChartAxis* A, double& AMin, double& AMax) {
    const bool H = A->GetHorizontal();
    AMin = A->CalcPosPoint(H ? A->IStartPos : A->IEndPos);
    AMax = A->CalcPosPoint(H ? A->IEndPos : A->IStartPos);
    const bool Covered = H ? Dir != TZelZoomDirection::tzdVertical : Dir != TZelZoomDirection::tzdHorizontal;
    if (Covered) {
      const double D = (AMax - AMin) * (PercentZoom - 100) * 0.01;
      AMin += D;
      AMax -= D;
    }
  };
  double LeftMin, LeftMax, RightMin, RightMax, TopMin, TopMax, BottomMin, BottomMax;
  CalcAxisScale(GetLeftAxis(), LeftMin, LeftMax);
  CalcAxisScale(GetRightAxis(), RightMin, RightMax);
  CalcAxisScale(GetTopAxis(), TopMin, TopMax);
  CalcAxisScale(GetBottomAxis(), BottomMin, BottomMax);
  if (!AllFinite({TopMin, TopMax, BottomMin, BottomMax, LeftMin, LeftMax, RightMin, RightMax})) return;
  DoZoom(TopMin, TopMax, BottomMin, BottomMax, LeftMin, LeftMax, RightMin, RightMax);
  // Shown at once, not when the event loop next runs.
  Invalidate();
  ProcessPendingPaint();
}

// ---------------------------------------------------------------------------------------------
// History and undo

void TCustomChart::AddZoomSnapshot() {
  auto* S = Create<TZoomSnapshot>();
  S->Take(this);
  GetZoom()->GetAxesHistory()->Add(S);
}

void TCustomChart::RemoveZoomSnapshot() {
  TObjectList<TObject>* H = GetZoom()->ExistingAxesHistory();
  if (H && H->GetCount() > 0) H->Delete(H->GetCount() - 1);
}

void TCustomChart::ZoomBackOne() {
  TObjectList<TObject>* H = GetZoom()->ExistingAxesHistory();
  if (!H || H->GetCount() < 2) return;
  if (auto* S = dynamic_cast<TZoomSnapshot*>(H->GetItems(H->GetCount() - 2))) S->Apply(this);
}

void TCustomChart::UndoZoom() {
  TZelZoom* Z = GetZoom();
  TObjectList<TObject>* H = Z->ExistingAxesHistory();
  const int Count = H ? H->GetCount() : 0;
  if (Z->GetHistory() && Count > 1) {
    ZoomBackOne();
    RemoveZoomSnapshot();
  } else {
    if (Z->GetHistory() && Count == 1) RemoveZoomSnapshot();
    if (!RestoredAxisScales) {
      RestoreScales(FSavedScales);
      RestoredAxisScales = true;
    }
  }
  SetZoomed(false);
  TCustomAxisPanel::UndoZoom();
}

// ---------------------------------------------------------------------------------------------
// Panning and wheel scrolling

bool TCustomChart::PanAxis(bool Horizontal, std::int32_t Old, std::int32_t New) {
  if (New == Old) return false;
  const TPanningMode M = GetAllowPanning();
  const TPanningMode Own = Horizontal ? TPanningMode::pmHorizontal : TPanningMode::pmVertical;
  if (M != Own && M != TPanningMode::pmBoth) return false;
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList())) {
    if (A->IsDepthAxis() || A->GetHorizontal() != Horizontal) continue;
    const double Min = A->GetMinimumOffset() != 0 ? A->GetMinimum() : A->IMinimum;
    const double Max = A->GetMaximumOffset() != 0 ? A->GetMaximum() : A->IMaximum;
    double NewMin, NewMax;
    if (A->GetLogarithmic()) {
      const std::int32_t Delta = New - Old;
      const double VMin = A->CalcPosPoint(A->CalcPosValue(Min) + Delta);
      const double VMax = A->CalcPosPoint(A->CalcPosValue(Max) + Delta);
      NewMin = Min + (Min - VMin);
      NewMax = Max + (Max - VMax);
      if (NewMin > NewMax) {
        NewMin = Min;
        NewMax = Max;
      }
    } else {
      // Pixels of the chart, whatever the canvas scale: the content follows the mouse one to one.
      const double D = A->CalcPosPoint(Old) - A->CalcPosPoint(New);
      NewMin = Min + D;
      NewMax = Max + D;
    }
    bool AllowScroll = true;
    if (OnAllowScroll) OnAllowScroll(A, NewMin, NewMax, AllowScroll);
    // A range that is not a number (an axis never laid out) would leave the axis unusable.
    if (AllowScroll && AllFinite({NewMin, NewMax})) {
      A->SetMinMax(NewMin, NewMax);
      // The mapping takes the new range at once: the next move may come before the next paint,
      // and its step must start from where this one left the axis.
      A->AdjustMaxMin();
    }
  }
  return true;
}

bool TCustomChart::ProcessPanning(std::int32_t X, std::int32_t Y) {
  TZelPanning* P = GetPanning();
  const TPanningMode M = GetAllowPanning();
  const bool HOk = X != P->X1 && (M == TPanningMode::pmHorizontal || M == TPanningMode::pmBoth);
  const bool VOk = Y != P->Y1 && (M == TPanningMode::pmVertical || M == TPanningMode::pmBoth);
  if (HOk || VOk) CheckSaveScales();
  bool Scrolled = PanAxis(true, P->X1, X);
  if (PanAxis(false, P->Y1, Y)) Scrolled = true;
  return Scrolled;
}

void TCustomChart::ScrollVerticalAxes(bool Up) {
  CheckSaveScales();
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList())) {
    // Depth axes are neither saved nor restored: scrolling them could not be undone.
    if (A->GetHorizontal() || A->IsDepthAxis()) continue;
    double Offset = A->RangePart(0.03);
    if (!Up) Offset = -Offset;
    bool AllowScroll = true;
    if (OnAllowScroll) {
      double AMin = A->GetMinimum() + Offset;
      double AMax = A->GetMaximum() + Offset;
      OnAllowScroll(A, AMin, AMax, AllowScroll);
    }
    if (AllowScroll) A->Scroll(Offset, false);
  }
}

bool TCustomChart::ActiveSeriesCanZoomScroll() {
  bool AnyActive = false;
  for (std::int32_t I = 0; I < SeriesCount(); ++I) {
    TChartSeries* S = GetSeries(I);
    if (!S->GetActive()) continue;
    AnyActive = true;
    if (S->CanZoomScroll()) return true;
  }
  return !AnyActive;
}

}  // namespace zel
