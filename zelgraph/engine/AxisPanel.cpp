#include "zelgraph/engine/AxisPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>

#include "platform/Filer.h"
#include "platform/Printer.h"
#include "platform/Scope.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Resources.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

namespace {

// The visible point range of every active series, for the axes: labels taken from the points
// (and the height of their band) need it before the series draw.
void CalcVisibleRanges(TChartSeriesList* List) {
  for (TChartSeries* S : std::vector<TChartSeries*>(List->GetList()))
    if (S->GetActive()) S->CalcFirstLastVisibleIndex();
}

// A series kind may add margins of its own to an axis; the base series adds none.
template <typename TSeries>
void RecalcAxisMarginsOf(TSeries* S, TChartAxis* Axis, TRectF& M) {
  if constexpr (requires { S->RecalcAxisMargins(Axis, M); }) S->RecalcAxisMargins(Axis, M);
}

bool IsAutoMin(TChartAxis* A) { return A->GetAutomatic() || A->GetAutomaticMinimum(); }
bool IsAutoMax(TChartAxis* A) { return A->GetAutomatic() || A->GetAutomaticMaximum(); }

}  // namespace

// TChartPage

ZEL_DEFINE_CLASS(TZelSeriesEvent, TZelEvent)
ZEL_DEFINE_CLASS(TChartChangePage, TZelEvent)
ZEL_DEFINE_CLASS(TChartPage, TPersistent)

void TChartPage::Changed() {
  if (IParent) IParent->Invalidate();
}

void TChartPage::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TChartPage*>(Source)) {
    FAutoScale = P->FAutoScale;
    FCurrent = P->FCurrent;
    FPointsPerPage = P->FPointsPerPage;
    FScaleLastPage = P->FScaleLastPage;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TChartPage::SetAutoScale(bool Value) {
  if (FAutoScale == Value) return;
  FAutoScale = Value;
  Changed();
}

void TChartPage::SetScaleLastPage(bool Value) {
  if (FScaleLastPage == Value) return;
  FScaleLastPage = Value;
  Changed();
}

bool TChartPage::Reading() const {
  return IParent && IParent->GetComponentState().Contains(TComponentStateItem::csReading);
}

std::int32_t TChartPage::FirstValueIndex() const {
  const std::int64_t First = (std::int64_t(FCurrent) - 1) * FPointsPerPage;
  return static_cast<std::int32_t>(std::min<std::int64_t>(First, INT32_MAX));
}

void TChartPage::SetCurrent(std::int32_t Value) {
  if (!Reading()) Value = std::min(Value, Count());
  if (Value < 1) Value = 1;
  if (Value == FCurrent) return;
  FCurrent = Value;
  Changed();
  if (IParent) {
    IParent->BroadcastZelEventClass<TChartChangePage>();
    if (IParent->OnPageChange) IParent->OnPageChange(this);
  }
}

void TChartPage::SetPointsPerPage(std::int32_t Value) {
  if (Value < 0) throw ChartException(ZelMsg_MaxPointsPerPage);
  if (FPointsPerPage != Value) {
    FPointsPerPage = Value;
    Changed();
  }
  const std::int32_t N = Count();
  if (N < FCurrent && !Reading()) SetCurrent(N);
  if (IParent) {
    IParent->BroadcastZelEventClass<TChartChangePage>();
  }
}

void TChartPage::NextPage() {
  if (FPointsPerPage > 0 && FCurrent < Count()) SetCurrent(FCurrent + 1);
}

void TChartPage::PreviousPage() {
  if (FPointsPerPage > 0 && FCurrent > 1) SetCurrent(FCurrent - 1);
}

std::int32_t TChartPage::Count() const {
  if (FPointsPerPage <= 0 || !IParent || IParent->SeriesCount() == 0) return 1;
  TChartAxis* A;
  TChartAxis* B;
  if (IParent->GetSeries(0)->YMandatory) {
    A = IParent->GetTopAxis();
    B = IParent->GetBottomAxis();
  } else {
    A = IParent->GetLeftAxis();
    B = IParent->GetRightAxis();
  }
  auto PagesOf = [this](TChartAxis* Axis) -> std::int32_t {
    std::int32_t M = 0;
    bool Found = false;
    for (std::int32_t I = 0; I < IParent->SeriesCount(); ++I) {
      TChartSeries* S = IParent->GetSeries(I);
      if (!S->GetActive() || !S->AssociatedToAxis(Axis)) continue;
      if (!Found || S->Count() > M) M = S->Count();
      Found = true;
    }
    if (M <= 0) return 1;
    return static_cast<std::int32_t>((static_cast<std::int64_t>(M) + FPointsPerPage - 1) / FPointsPerPage);
  };
  return std::max(PagesOf(A), PagesOf(B));
}

// TCustomAxisPanel

ZEL_DEFINE_CLASS(TCustomAxisPanel, TCustomZelPanelExtended)

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner) : TCustomZelPanelExtended(AOwner) {
  TAutoRepaintScope Quiet(this, false);
  F3DPercent = 15;
  FAnimations = new TChartAnimations(this);
  FTools = new TChartTools(this);
  FAxisBehind = true;
  FAxisVisible = true;
  FSeriesList = new TChartSeriesList(this);
  FView3DWalls = true;
  FClipPoints = true;
  FAxes = new TChartAxes(this);
  FCustomAxes = new TChartCustomAxes(this);

  auto Standard = [this](TChartAxis* A, const char* Id) {
    A->IAxisID = Id;
    if (FAxes->IndexOf(A) < 0) FAxes->Add(A);
    return A;
  };
  FBottomAxis = Standard(Create<TChartAxis>(this, static_cast<TCollection*>(nullptr)), "Bottom");
  FBottomAxis->InitHorizontal(true);
  FTopAxis = Standard(Create<TChartAxis>(this, static_cast<TCollection*>(nullptr)), "Top");
  FTopAxis->InitHorizontal(true);
  FTopAxis->InitOtherSide(true);
  FTopAxis->InitZPosition(100);
  FTopAxis->GetGrid()->SetZPosition(100);
  FTopAxis->GetGrid()->IDefaultZ = 100;
  FLeftAxis = Standard(Create<TChartAxis>(this, static_cast<TCollection*>(nullptr)), "Left");
  FRightAxis = Standard(Create<TChartAxis>(this, static_cast<TCollection*>(nullptr)), "Right");
  FRightAxis->InitOtherSide(true);
  FRightAxis->InitZPosition(100);
  FRightAxis->GetGrid()->SetZPosition(100);
  FRightAxis->GetGrid()->IDefaultZ = 100;
  FDepthAxis = static_cast<TChartDepthAxis*>(
      Standard(Create<TChartDepthAxis>(this, static_cast<TCollection*>(nullptr)), "Depth"));
  FDepthAxis->SetVisible(false);
  FDepthAxis->IDepthAxis = true;
  FDepthAxis->InitOtherSide(true);
  FDepthTopAxis = static_cast<TChartDepthAxis*>(
      Standard(Create<TChartDepthAxis>(this, static_cast<TCollection*>(nullptr)), "DepthTop"));
  FDepthTopAxis->SetVisible(false);
  FDepthTopAxis->IDepthAxis = true;
  FBottomAxis->SetCalcPosValue();
  FTopAxis->SetCalcPosValue();
  FDepthAxis->SetCalcPosValue();
  FDepthTopAxis->SetCalcPosValue();

  FPage = new TChartPage(this);
  FHover = Create<TZelHover>(this);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  if (!IsDestroying()) Destroying();
  FreeAllSeries(nullptr);
  if (FAnimations) {
    FAnimations->Clear();
    delete FAnimations;
    FAnimations = nullptr;
  }
  FreeAndNil(FPage);
  if (FAxes) FAxes->Clear();
  FBottomAxis = FTopAxis = FLeftAxis = FRightAxis = nullptr;
  FDepthAxis = FDepthTopAxis = nullptr;
  delete FAxes;
  FAxes = nullptr;
  FreeAndNil(FCustomAxes);
  delete FSeriesList;
  FSeriesList = nullptr;
  delete Designer;
  Designer = nullptr;
  if (FTools) {
    FTools->Clear();
    delete FTools;
    FTools = nullptr;
  }
  FreeAndNil(FHover);
}

// --- the paint sequence ---

void TCustomAxisPanel::InternalDraw(const TRectF& UserRectangle) {
  TAutoRepaintScope NoRepaint(this, false);
  TCanvas3D* C = GetCanvas();
  CalcInvertedRotation();
  const bool FullRotation = C->GetSupportsFullRotation();
  if (!FullRotation) PanelPaint(UserRectangle);
  BroadcastToolEvent(TChartToolEvent::tdePaintStart);
  BroadcastAnimationEvent(TChartToolEvent::tdePaintStart);
  DoOnBeforeDrawChart();
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
    if (S->GetActive()) S->DoBeforeDrawChart();
  if (FullRotation) {
    SetSeriesZOrder();
    CalcWallsRect();
  }
  if (!IsEmbedded) {
    if (FullRotation) {
      C->Projection(FWidth3D, GetChartBounds(), ChartRect);
      PanelPaint(UserRectangle);
    }
    DrawTitlesAndLegend(true);
  }
  if (!FullRotation) {
    SetSeriesZOrder();
    CalcWallsRect();
  }
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
    if (S->GetActive()) S->BeforeCalcAxis();
  CalcAxisRect();
  SetSeriesZPositions();
  CalcSeriesRect();
  if (!IsEmbedded && !FullRotation) C->Projection(FWidth3D, GetChartBounds(), ChartRect);
  DrawAxesSeries();
  DrawTitlesAndLegend(false);
  if (GetZoom()->GetActive()) DrawZoomRectangle();
  BroadcastToolEvent(TChartToolEvent::tdePaintDone);
  BroadcastAnimationEvent(TChartToolEvent::tdePaintDone);
  C->ResetState();
  DoOnAfterDraw();
}

void TCustomAxisPanel::CalcWallsRect() {
  CalcSize3DWalls();
  ReCalcWidthHeight();
}

std::int32_t TCustomAxisPanel::CalcWallSize(TChartAxis*) { return 0; }

void TCustomAxisPanel::DoOnAfterDraw() {
  if (OnAfterDraw) OnAfterDraw(this);
}
void TCustomAxisPanel::DoOnBeforeDrawAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}
void TCustomAxisPanel::DoOnBeforeDrawChart() {
  if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}
void TCustomAxisPanel::DoOnBeforeDrawSeries() {
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}

void TCustomAxisPanel::DrawTitlesAndLegend(bool) {}
void TCustomAxisPanel::DrawLegendShape(const TRectF&) {}
void TCustomAxisPanel::DrawWalls() {}

bool TCustomAxisPanel::DrawBackWallAfter(std::int32_t Z) {
  TCanvas3D* C = GetCanvas();
  if (C->GetSupportsFullRotation()) return false;
  return !ZelCull(C->FourPointsFromRect(ChartRect, Z));
}

String TCustomAxisPanel::FormattedValueLegend(TChartSeries*, std::int32_t) { return String(); }

void TCustomAxisPanel::CalcInvertedRotation() {
  if (!GetView3D()) {
    InvertedRotation = false;
    return;
  }
  TView3DOptions* O = GetView3DOptions();
  InvertedRotation = O->GetOrthogonal() ? O->GetOrthoAngle() > 90 : O->GetRotation() < 180;
}

void TCustomAxisPanel::CalcSize3DWalls() {
  if (!GetView3D()) {
    FSeriesWidth3D = FSeriesHeight3D = FWidth3D = FHeight3D = 0;
    return;
  }
  const std::int32_t N = FApplyZOrder ? std::max(1, FMaxZOrder + 1) : 1;
  TView3DOptions* O = GetView3DOptions();
  double F = F3DPercent * 0.001;
  if (!O->GetOrthogonal()) F *= 2;
  FSeriesWidth3D = Round(F * GetChartWidth());
  const double R = O->CalcOrthoRatio();
  if (R > 1) FSeriesWidth3D = Round(FSeriesWidth3D / R);
  FSeriesHeight3D = Round(FSeriesWidth3D * R);
  FHeight3D = N * FSeriesHeight3D;
  FWidth3D = N * FSeriesWidth3D;
}

void TCustomAxisPanel::SetSeriesZOrder() {
  FMaxZOrder = 0;
  const bool Apply = FApplyZOrder && GetView3D();
  const std::vector<TChartSeries*> List = FSeriesList->GetList();
  if (Apply) {
    FMaxZOrder = -1;
    for (TChartSeries* S : List)
      if (S->GetActive() && !S->IInternalUse) S->CalcZOrder();
  }
  if (!FDepthAxis->GetInverted())
    for (TChartSeries* S : List)
      if (S->GetActive() && !S->IInternalUse) S->SetAutoZOrder(Apply ? FMaxZOrder - S->GetZOrder() : 0);
}

void TCustomAxisPanel::SetSeriesZPositions() {
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
    if (S->GetActive()) S->CalcDepthPositions();
}

void TCustomAxisPanel::CalcAxisRect() {
  const std::vector<TChartAxis*> Axes = FAxes->GetList();
  // Each axis takes its length on this layout before its ends: rounding the ends (MinimumRound,
  // MaximumRound) steps by labels that fit that length, not the length of the last paint.
  for (TChartAxis* A : Axes) {
    A->IsVisible = CalcIsAxisVisible(A);
    A->InternalCalcPositions();
    A->AdjustMaxMin();
  }
  CalcVisibleRanges(FSeriesList);
  TRectF R = ChartRect;
  for (std::size_t I = 0; I < Axes.size(); ++I) {
    TChartAxis* A = Axes[I];
    if (A->IsVisible) {
      TRectF T = R;
      A->CalcRect(T, I < 5);
      if (T.IntersectsWith(R)) R = TRectF::Intersect(T, R);
    } else if (FAxes->CalcPosLabels) {
      A->InflateAxisRect(R, FAxes->CalcPosLabels(A, 0));
    }
  }
  ChartRect = R;
  ReCalcWidthHeight();
  for (TChartAxis* A : Axes) A->InternalCalcPositions();
}

void TCustomAxisPanel::CalcSeriesAxisRect(TChartAxis* Axis) {
  if (Axis->IsDepthAxis() && !GetView3D()) return;
  TRectF M;
  const bool AutoMin = IsAutoMin(Axis);
  const bool AutoMax = IsAutoMax(Axis);
  const std::vector<TChartSeries*> List = FSeriesList->GetList();
  if (AutoMin || AutoMax) {
    for (TChartSeries* S : List) {
      if (!S->GetActive() || !S->AssociatedToAxis(Axis)) continue;
      std::int32_t A = 0, B = 0;
      if (Axis->GetHorizontal()) {
        S->CalcHorizMargins(A, B);
        if (AutoMin) M.Left = std::max(M.Left, static_cast<float>(A));
        if (AutoMax) M.Right = std::max(M.Right, static_cast<float>(B));
      } else {
        S->CalcVerticalMargins(A, B);
        if (AutoMin) M.Bottom = std::max(M.Bottom, static_cast<float>(B));
        if (AutoMax) M.Top = std::max(M.Top, static_cast<float>(A));
      }
    }
  }
  float& MinSide = Axis->GetHorizontal() ? M.Left : M.Bottom;
  float& MaxSide = Axis->GetHorizontal() ? M.Right : M.Top;
  const bool Offset = Axis->GetMinimumOffset() != 0 || Axis->GetMaximumOffset() != 0;
  if (Offset) {
    if (Axis->GetInverted()) {
      MinSide += static_cast<float>(Axis->GetMaximumOffset());
      MaxSide += static_cast<float>(Axis->GetMinimumOffset());
    } else {
      MinSide += static_cast<float>(Axis->GetMinimumOffset());
      MaxSide += static_cast<float>(Axis->GetMaximumOffset());
    }
  }
  if (Axis->IGapSize > 0) (Axis->GetInverted() ? MinSide : MaxSide) += static_cast<float>(Axis->IGapSize);
  Axis->AdjustMaxMinRect(M);
  Axis->CalcRoundScales();
  if (Offset && Axis->GetLabels())
    Axis->SetPosTitle(Axis->InflateAxisPos(Axis->GetPosLabels(), Axis->SizeLabels()));
}

void TCustomAxisPanel::CalcSeriesRect() {
  const std::vector<TChartAxis*> Axes = FAxes->GetList();
  for (TChartAxis* A : Axes) CalcSeriesAxisRect(A);
  for (TChartAxis* A : Axes) {
    if (!IsAutoMin(A) && !IsAutoMax(A)) continue;
    TRectF M;
    for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
      if (S->GetActive()) RecalcAxisMarginsOf(S, A, M);
    if (M.Left != 0 || M.Top != 0 || M.Right != 0 || M.Bottom != 0) A->AdjustMaxMinRect(M);
  }
}

void TCustomAxisPanel::DrawAxesSeries() {
  CalcVisibleRanges(FSeriesList);  // now on the final layout
  DrawWalls();
  if (FAxisBehind) {
    BroadcastToolEvent(TChartToolEvent::tdeAxesStart);
    BroadcastAnimationEvent(TChartToolEvent::tdeAxesStart);
    DrawAllAxis();
  }
  BroadcastToolEvent(TChartToolEvent::tdeSeriesStart);
  BroadcastAnimationEvent(TChartToolEvent::tdeSeriesStart);
  if (ParallelThreads > 1) TryParallelSeries();
  DoOnBeforeDrawSeries();
  DrawAllSeries();
  BroadcastToolEvent(TChartToolEvent::tdeSeriesDone);
  BroadcastAnimationEvent(TChartToolEvent::tdeSeriesDone);
  if (!FAxisBehind) {
    BroadcastToolEvent(TChartToolEvent::tdeAxesStart);
    BroadcastAnimationEvent(TChartToolEvent::tdeAxesStart);
    DrawAllAxis();
  }
}

void TCustomAxisPanel::DrawAllAxis() {
  if (!FAxisVisible) return;
  TCanvas3D* C = GetCanvas();
  TEntityScope Entity(C, "Axes");
  DoOnBeforeDrawAxes();
  const bool WallsDrawBottom = DrawBackWallAfter(0);
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList())) {
    if (!A->IsVisible) continue;
    if (A == FBottomAxis && WallsDrawBottom) continue;
    A->Draw(true);
  }
}

void TCustomAxisPanel::DrawAllSeries() {
  TCanvas3D* C = GetCanvas();
  TEntityScope Entity(C, "Series");
  const std::vector<TChartSeries*> List = FSeriesList->GetList();
  if (!List.empty()) {
    std::vector<TChartSeries*> Order = List;
    if (!C->GetSupportsFullRotation() && !List.front()->DrawSeriesAscending()) std::reverse(Order.begin(), Order.end());
    for (TChartSeries* S : Order)
      if (S->GetActive() && FSeriesList->IndexOf(S) >= 0) DrawSeries(S);
    for (TChartSeries* S : Order) {
      if (!S->GetActive() || FSeriesList->IndexOf(S) < 0 || !S->HasMarks() || !S->GetMarks()->GetOnTop()) continue;
      const String Name = !C->SupportsID     ? String()
                          : S->GetName().empty() ? IntToStr(S->GetIndex())
                                                 : S->GetName();
      TEntityScope Top(C, Name + "_Top", nullptr, nullptr, C->SupportsID);
      DrawMarksSeries(S);
    }
  }
}

void TCustomAxisPanel::ClipRegionCreate() {
  if (!CanClip()) return;
  TRectF R = ChartRect;
  R.Top -= 1;
  R.Bottom += 1;
  GetCanvas()->ClipCube(R, 0, FWidth3D);
  FClipped = true;
}

void TCustomAxisPanel::ClipRegionDone() {
  if (!FClipped) return;
  FClipped = false;
  GetCanvas()->UnClipRectangle();
}

void TCustomAxisPanel::DrawMarksSeries(TChartSeries* S) {
  if (!S->HasMarks() || S->Count() == 0) return;
  TSeriesMarks* Marks = S->GetMarks();
  if (!Marks->GetVisible()) return;
  if (Marks->GetClip()) ClipRegionCreate();
  TRestoreOnExit ClipDone([this] { ClipRegionDone(); });
  TEntityScope Entity(GetCanvas(), "Marks");
  S->DrawMarks();
}

void TCustomAxisPanel::DrawSeries(TChartSeries* S) {
  if (!GetCanvas()->GetSupportsFullRotation() && GetView3D() && S->MoreSameZOrder()) {
    if (S->FirstInZOrder()) DrawSeriesSharedSlot(S);
    return;
  }
  S->CalcFirstLastVisibleIndex();
  if (S->GetFirstVisibleIndex() == -1) return;
  const bool Hides = S->GetHideWhenVisible();
  if (!Hides && S->UseAxis() && FClipPoints) ClipRegionCreate();
  S->BeginEntity();
  // A failing series leaves no clip and no open entity behind for the next paint.
  TRestoreOnExit EndEntity([this] { GetCanvas()->EndEntity(); });
  TRestoreOnExit ClipDone([this] { ClipRegionDone(); });
  S->DoBeforeDrawValues();
  if (!Hides) {
    if (ParallelThreads < 2 || !S->CanBeforeParallel()) S->DoBeforeParallel();
    S->DrawAllValues();
    ClipRegionDone();
    if (!S->HasMarks() || !S->GetMarks()->GetOnTop()) DrawMarksSeries(S);
  }
  ClipRegionDone();
  S->DoAfterDrawValues();
}

void TCustomAxisPanel::DrawSeriesSharedSlot(TChartSeries* S) {
  const std::vector<TChartSeries*> List = FSeriesList->GetList();
  const std::int32_t Start = std::max(FSeriesList->IndexOf(S), 0);
  const std::int32_t Slot = S->GetZOrder();
  std::int32_t First = -1, Last = -1;
  std::vector<TChartSeries*> Drawn;
  TRestoreOnExit ClipDone([this] { ClipRegionDone(); });
  for (std::size_t I = static_cast<std::size_t>(Start); I < List.size(); ++I) {
    TChartSeries* T = List[I];
    if (!T->GetActive() || T->GetZOrder() != Slot) continue;
    T->CalcFirstLastVisibleIndex();
    if (T->GetFirstVisibleIndex() == -1) continue;
    First = Drawn.empty() ? T->GetFirstVisibleIndex() : std::min(First, T->GetFirstVisibleIndex());
    Last = Drawn.empty() ? T->GetLastVisibleIndex() : std::max(Last, T->GetLastVisibleIndex());
    T->DoBeforeDrawValues();
    if (Drawn.empty() && FClipPoints) ClipRegionCreate();
    Drawn.push_back(T);
  }
  if (!Drawn.empty()) {
    const bool Forward = S->DrawValuesForward();
    const std::vector<std::int32_t> Order = S->SortDrawPoints(First, Last, Forward);
    if (!Order.empty()) {
      if (Forward)
        for (std::int32_t V : Order) DrawSlotValue(S, V, List, Start);
      else
        for (auto It = Order.rbegin(); It != Order.rend(); ++It) DrawSlotValue(S, *It, List, Start);
    } else if (Forward) {
      for (std::int32_t V = First; V <= Last; ++V) DrawSlotValue(S, V, List, Start);
    } else {
      for (std::int32_t V = Last; V >= First; --V) DrawSlotValue(S, V, List, Start);
    }
  }
  ClipRegionDone();  // the marks are not clipped with the points
  for (TChartSeries* T : Drawn) {
    if (!T->HasMarks() || !T->GetMarks()->GetOnTop()) DrawMarksSeries(T);
    T->DoAfterDrawValues();
  }
}

void TCustomAxisPanel::DrawSlotValue(TChartSeries* S, std::int32_t ValueIndex, const std::vector<TChartSeries*>& List,
                                     std::int32_t Start) {
  const std::int32_t Count = static_cast<std::int32_t>(List.size());
  const std::int32_t Slot = S->GetZOrder();
  auto DrawOne = [&](std::int32_t I) {
    if (I < 0 || I >= Count) return;  // an order may name no series
    TChartSeries* T = List[static_cast<std::size_t>(I)];
    if (T->GetActive() && T->GetZOrder() == Slot && T->Count() > ValueIndex && !T->HasZValues) T->DrawValue(ValueIndex);
  };
  const bool Backward = ValueIndex < S->Count() && !S->DrawSeriesForward(ValueIndex);
  // The series' own order for this point; without one, the series from S onwards.
  const std::vector<std::int32_t> Order = S->SortDrawSeries(Start, Count, ValueIndex);
  if (!Order.empty()) {
    if (Backward)
      for (auto It = Order.rbegin(); It != Order.rend(); ++It) DrawOne(*It);
    else
      for (std::int32_t I : Order) DrawOne(I);
  } else if (Backward) {
    for (std::int32_t I = Count - 1; I >= Start; --I) DrawOne(I);
  } else {
    for (std::int32_t I = Start; I < Count; ++I) DrawOne(I);
  }
}

// --- axes ---

bool TCustomAxisPanel::IsAxisVisible(TChartAxis* Axis) const { return Axis && Axis->IsVisible; }

bool TCustomAxisPanel::CalcIsAxisVisible(TChartAxis* Axis) {
  if (!FAxisVisible || !Axis->GetVisible()) return false;
  if (Axis->IsDepthAxis()) return GetView3D();
  return HasActiveSeries(Axis, true);
}

bool TCustomAxisPanel::HasActiveSeries(TChartAxis* Axis, bool Default) {
  bool AnyActive = false;
  for (TChartSeries* S : FSeriesList->GetList()) {
    if (!S->GetActive()) continue;
    AnyActive = true;
    if (!S->UseAxis()) return false;
    if (S->AssociatedToAxis(Axis)) return true;
  }
  return AnyActive ? false : Default;
}

bool TCustomAxisPanel::NoActiveSeries(TChartAxis* Axis) {
  for (TChartSeries* S : FSeriesList->GetList())
    if (S->GetActive() && S->AssociatedToAxis(Axis)) return false;
  return true;
}

void TCustomAxisPanel::ChangedAxisScale(TChartAxis*) {
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList())) S->ChangedAxisScale();
  Invalidate();
}

// --- tools and animations ---

namespace {
// Each receiver in list order that is still listed and active when its turn comes.
template <typename F>
void WalkTools(TChartTools* List, F&& Each) {
  if (!List) return;
  const std::vector<TZelCustomTool*> Snapshot = List->GetList();
  for (TZelCustomTool* T : Snapshot) {
    if (!List->Contains(T) || !T->GetActive()) continue;
    if (!Each(T)) break;
  }
}
}  // namespace

void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent AEvent) {
  WalkTools(FTools, [&](TZelCustomTool* T) {
    T->ChartEvent(AEvent);
    return true;
  });
}

void TCustomAxisPanel::BroadcastAnimationEvent(TChartToolEvent AEvent) {
  WalkTools(FAnimations, [&](TZelCustomTool* T) {
    T->ChartEvent(AEvent);
    return true;
  });
}

void TCustomAxisPanel::BroadcastSeriesToolEvent(TChartToolEvent AEvent, TChartSeries* Series) {
  WalkTools(FTools, [&](TZelCustomTool* T) {
    T->SeriesEvent(AEvent, Series);
    return true;
  });
}

void TCustomAxisPanel::BroadcastToolMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                           std::int32_t X, std::int32_t Y) {
  auto Each = [&](TZelCustomTool* T) {
    T->ChartMouseEvent(AEvent, Button, Shift, X, Y);
    return !GetCancelMouse();
  };
  WalkTools(FTools, Each);
  WalkTools(FAnimations, Each);
}

void TCustomAxisPanel::BroadcastToolWheelEvent(TWheelMouseEvent AEvent, std::int32_t Delta, std::int32_t X,
                                           std::int32_t Y) {
  WalkTools(FTools, [&](TZelCustomTool* T) {
    T->WheelMouseEvent(AEvent, Delta, X, Y);
    return !GetCancelMouse();
  });
}

void TCustomAxisPanel::BroadcastToolKeyEvent(TChartKeyEvent AEvent, Word& Key, char32_t& KeyChar, TShiftState Shift) {
  WalkTools(FTools, [&](TZelCustomTool* T) {
    T->ChartKeyEvent(AEvent, Key, KeyChar, Shift);
    return true;
  });
}

void TCustomAxisPanel::BroadcastToolDragDropEvent(TChartDragDropEvent AEvent, TObject* Source, std::int32_t X,
                                              std::int32_t Y, TDragState State, bool& Accept,
                                              TDragObject*& DragObject) {
  WalkTools(FTools, [&](TZelCustomTool* T) {
    T->ChartDragDropEvent(AEvent, Source, X, Y, State, Accept, DragObject);
    return true;
  });
}

// --- series ---

TCustomChartSeries* TCustomAxisPanel::AddSeries(TCustomChartSeries* Series) {
  if (Series) Series->SetParentChart(this);
  return Series;
}

void TCustomAxisPanel::AddSeries(const std::vector<TCustomChartSeries*>& SeriesArray) {
  for (TCustomChartSeries* S : SeriesArray) AddSeries(S);
}

TCustomChartSeries* TCustomAxisPanel::AddSeries(const TClass* SeriesClass) {
  if (!SeriesClass || !SeriesClass->InheritsFrom(TCustomChartSeries::StaticClass()))
    throw EInvalidCast("Invalid class typecast");
  auto* S = static_cast<TCustomChartSeries*>(SeriesClass->Create(GetComponentOwner()));
  TUndoOnFailure FreeSeries([S] { S->Free(); });
  return AddSeries(S);
}

void TCustomAxisPanel::InternalAddSeries(TCustomChartSeries* Series) {
  if (!Series) return;
  auto* S = dynamic_cast<TChartSeries*>(Series);
  if (!S) throw EInvalidCast("Invalid class typecast");
  if (FSeriesList->IndexOf(S) >= 0) return;
  ApplyThemeSeries(S);
  S->FParent = this;
  S->Added();
  FSeriesList->Add(S);
  BroadcastSeriesEvent(S, TChartSeriesEvent::seAdd);
  if (OnAddSeries) OnAddSeries(S);
  Invalidate();
}

void TCustomAxisPanel::RemoveSeries(std::int32_t Index) {
  if (Index < 0 || Index >= SeriesCount()) return;
  TChartSeries* S = FSeriesList->Get(Index);
  const bool Notify = !IsDestroying();
  if (Notify) BroadcastSeriesEvent(S, TChartSeriesEvent::seRemove);
  S->Removed();
  FSeriesList->Remove(S);
  // A series that leaves the chart leaves its groups too: they would point at it once freed.
  TSeriesGroups* G = FSeriesList->GetGroups();
  for (std::int32_t I = 0; I < G->GetCount(); ++I)
    while (G->Get(I)->GetSeries()->Remove(S) >= 0) {
    }
  if (Notify && OnRemoveSeries) OnRemoveSeries(S);
  if (Notify) BroadcastSeriesEvent(S, TChartSeriesEvent::seAfterRemove);
  if (Notify) Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TCustomChartSeries* Series) { RemoveSeries(IndexOfSeries(Series)); }

void TCustomAxisPanel::FreeAllSeries(const TClass* SeriesClass) {
  std::int32_t I = 0;
  while (I < SeriesCount()) {
    TChartSeries* S = FSeriesList->Get(I);
    if (!SeriesClass || S->InheritsFrom(SeriesClass)) {
      S->SetParentChart(nullptr);
      // A series that did not leave the list by itself is taken out here.
      if (I < SeriesCount() && FSeriesList->Get(I) == S) FSeriesList->Delete(I);
      S->Free();
    } else {
      ++I;
    }
  }
}

void TCustomAxisPanel::ExchangeSeries(std::int32_t A, std::int32_t B) {
  const std::int32_t N = SeriesCount();
  auto SkipInternal = [&](std::int32_t I) {
    std::int32_t J = I;
    while (J < N && FSeriesList->Get(J)->IInternalUse) ++J;
    return J < N ? J : I;
  };
  if (A < 0 || A >= N || B < 0 || B >= N) ListIndexError(A < 0 || A >= N ? A : B);
  A = SkipInternal(A);
  B = SkipInternal(B);
  FSeriesList->Exchange(A, B);
  TChartSeries* SA = FSeriesList->Get(A);
  TChartSeries* SB = FSeriesList->Get(B);
  // Their places among their owner's components too (the order they are stored in).
  const std::int32_t IA = SA->GetComponentIndex(), IB = SB->GetComponentIndex();
  if (IA >= 0 && IB >= 0) {
    SA->SetComponentIndex(IB);
    SB->SetComponentIndex(IA);
  }
  TSeriesGroups* Groups = FSeriesList->GetGroups();
  const std::int32_t G = Groups->Contains(SA);
  if (G >= 0) {
    TCustomSeriesList* L = Groups->Get(G)->GetSeries();
    const std::int32_t IA = L->IndexOf(SA);
    const std::int32_t IB = L->IndexOf(SB);
    if (IA >= 0 && IB >= 0) L->Exchange(IA, IB);
  }
  BroadcastSeriesEvent(nullptr, TChartSeriesEvent::seSwap);
  Invalidate();
}

void TCustomAxisPanel::ExchangeSeries(TCustomChartSeries* SeriesA, TCustomChartSeries* SeriesB) {
  if (!SeriesA || !SeriesB || SeriesA == SeriesB) return;
  TCustomAxisPanel* CA = SeriesA->GetParentChart();
  TCustomAxisPanel* CB = SeriesB->GetParentChart();
  if (CA == CB) {
    if (CA) CA->ExchangeSeries(SeriesA->GetIndex(), SeriesB->GetIndex());
    return;
  }
  SeriesA->SetParentChart(CB);
  SeriesB->SetParentChart(CA);
}

void TCustomAxisPanel::BroadcastSeriesEvent(TCustomChartSeries* Series, TChartSeriesEvent Event) {
  if (DoNotBroadcast || GetListeners().empty()) return;
  TOwned<TZelSeriesEvent> E(Create<TZelSeriesEvent>());
  E->Event = Event;
  E->Series = Series;
  BroadcastZelEvent(E.get());
}

void TCustomAxisPanel::RefreshDesigner() {
  if (Designer) Designer->Refresh();
}

TChartSeries* TCustomAxisPanel::GetSeries(std::int32_t Index) const { return FSeriesList->Get(Index); }

std::int32_t TCustomAxisPanel::SeriesCount() const { return FSeriesList ? FSeriesList->GetCount() : 0; }

std::int32_t TCustomAxisPanel::IndexOfSeries(const TCustomChartSeries* Series) const {
  if (!FSeriesList) return -1;
  return FSeriesList->IndexOf(const_cast<TChartSeries*>(dynamic_cast<const TChartSeries*>(Series)));
}

std::int32_t TCustomAxisPanel::CountActiveSeries() const {
  std::int32_t N = 0;
  for (TChartSeries* S : FSeriesList->GetList())
    if (S->GetActive()) ++N;
  return N;
}

std::int32_t TCustomAxisPanel::GetMaxValuesCount() const {
  std::int32_t N = 0;
  for (TChartSeries* S : FSeriesList->GetList())
    if (S->GetActive()) N = std::max(N, S->Count());
  return N;
}

TChartSeries* TCustomAxisPanel::GetAxisSeries(TChartAxis* Axis) const {
  TChartSeries* Any = nullptr;
  for (TChartSeries* S : FSeriesList->GetList()) {
    if (!S->AssociatedToAxis(Axis)) continue;
    if (S->GetActive()) return S;
    if (!Any) Any = S;
  }
  return Any;
}

TChartSeries* TCustomAxisPanel::GetAxisSeriesMaxPoints(TChartAxis* Axis) const {
  bool HasActive = false;
  for (TChartSeries* S : FSeriesList->GetList())
    if (S->GetActive() && S->AssociatedToAxis(Axis)) HasActive = true;
  TChartSeries* Best = nullptr;
  for (TChartSeries* S : FSeriesList->GetList()) {
    if (!S->AssociatedToAxis(Axis) || (HasActive && !S->GetActive())) continue;
    if (!Best || S->Count() > Best->Count()) Best = S;
  }
  return Best;
}

// --- questions of the axes and the legend ---

double TCustomAxisPanel::InternalMinMax(TChartAxis* Axis, bool IsMin, bool IsX) {
  if (!Axis) return 0;
  if (Axis->IsDepthAxis()) {
    auto* D = dynamic_cast<TChartDepthAxis*>(Axis);
    if (D && Axis->GetLabelStyle() != TAxisLabelStyle::talValue && D->GetLabelsAsSeriesTitles())
      return IsMin ? -0.5 : FMaxZOrder + 0.5;
    bool First = true;
    double R = 0;
    for (TChartSeries* S : FSeriesList->GetList()) {
      if (!S->GetActive()) continue;
      const double V = IsMin ? S->MinZValue() : S->MaxZValue();
      if (First || (IsMin ? V < R : V > R)) R = V;
      First = false;
    }
    return R;
  }
  double R = 0;
  TChartSeries* AS = GetAxisSeries(Axis);
  const bool Paged = (!AS || AS->YMandatory) ? IsX : !IsX;
  const std::int32_t PerPage = FPage->GetMaxPointsPerPage();
  if (PerPage > 0 && Paged) {
    TChartSeries* M = GetAxisSeriesMaxPoints(Axis);
    if (M && M->Count() > 0) {
      std::int32_t FirstIndex = 0, LastIndex = 0;
      M->CalcFirstLastPage(FirstIndex, LastIndex);
      TChartValueList* V = IsX ? M->GetXValues() : M->GetYValues();
      LastIndex = std::min(LastIndex, M->Count() - 1);
      // The page's ends are its first and last finite values.
      while (FirstIndex <= LastIndex && FirstIndex >= 0 && !std::isfinite(V->Value[FirstIndex])) ++FirstIndex;
      while (LastIndex >= FirstIndex && !std::isfinite(V->Value[LastIndex])) --LastIndex;
      if (FirstIndex < 0 || FirstIndex > LastIndex) return 0;
      if (IsMin) return V->Value[FirstIndex];
      double Max = V->Value[LastIndex];
      const std::int32_t N = LastIndex - FirstIndex + 1;
      if (!FPage->GetScaleLastPage() && N < PerPage) {
        const double Lo = V->Value[FirstIndex];
        if (Max == Lo)
          Max = Lo + static_cast<double>(PerPage) / N;
        else
          Max = Lo + PerPage * (Max - Lo) / N;
      }
      return Max;
    }
  }
  const bool AnyOnAxis = NoActiveSeries(Axis);
  bool First = true;
  for (TChartSeries* S : FSeriesList->GetList()) {
    if (S->Count() == 0) continue;
    if (!S->GetActive() && !AnyOnAxis) continue;
    const bool Belongs = IsX ? (S->GetHorizAxis() == THorizAxis::aBothHorizAxis || S->GetGetHorizAxis() == Axis)
                             : (S->GetVertAxis() == TVertAxis::aBothVertAxis || S->GetGetVertAxis() == Axis);
    if (!Belongs) continue;
    double V;
    // Values that are not finite take no part in the extent: a series without a finite value
    // adds nothing.
    if (PerPage > 0 && FPage->GetAutoScale()) {
      const std::int32_t From = FPage->FirstValueIndex();
      if (From >= S->Count()) continue;
      const std::int32_t To = std::min(S->Count(), From + PerPage);
      TChartValueList* L = IsX ? S->GetXValues() : S->GetYValues();
      TValueStatistics Page;
      for (std::int32_t I = From; I < To; ++I) Page.Add(L->Value[I]);
      if (Page.Finite == 0) continue;
      V = IsMin ? Page.Min : Page.Max;
    } else if (!(IsX ? S->GetXValues() : S->GetYValues())->HasFiniteValue()) {
      continue;
    } else if (IsX) {
      V = IsMin ? S->MinXValue() : S->MaxXValue();
    } else {
      V = IsMin ? S->MinYValue() : S->MaxYValue();
    }
    if (!std::isfinite(V)) continue;
    if (First || (IsMin ? V < R : V > R)) R = V;
    First = false;
  }
  return R;
}

TChartSeries* TCustomAxisPanel::SeriesLegend(std::int32_t ItemIndex, bool OnlyActive) const {
  std::int32_t N = 0;
  for (TChartSeries* S : FSeriesList->GetList()) {
    if (!S->GetShowInLegend() || (OnlyActive && !S->GetActive())) continue;
    if (N == ItemIndex) return S;
    ++N;
  }
  return nullptr;
}

String TCustomAxisPanel::SeriesTitleLegend(std::int32_t ItemIndex, bool OnlyActive) const {
  TChartSeries* S = SeriesLegend(ItemIndex, OnlyActive);
  if (!S) return String();
  const String T = S->GetLegendTitle();
  if (!T.empty()) return RemoveLineBreaks(T);
  return TChartSeries::SeriesTitleOrName(S, true);
}

String TCustomAxisPanel::RemoveLineBreaks(const String& Text) {
  String S = Text;
  std::replace(S.begin(), S.end(), ZelColumnSeparator, ' ');
  std::size_t P = S.find("\n\r");
  if (P == String::npos) P = S.find("\r\n");
  if (P != String::npos) S.erase(P, 1);
  for (char& Ch : S)
    if (Ch == '\r' || Ch == '\n') Ch = ' ';
  return S;
}

std::int32_t TCustomAxisPanel::MaxTextWidth() {
  TTextWidthKey Key;
  Key.Stamps.reserve(FSeriesList->GetList().size());
  for (TChartSeries* S : FSeriesList->GetList()) Key.Stamps.push_back(S->GetLabels()->GetStamp());
  AddTextMetrics(Key);
  if (FLabelsWidth.Width >= 0 && FLabelsWidth.Key == Key) return FLabelsWidth.Width;
  std::int32_t W = 0;
  for (TChartSeries* S : FSeriesList->GetList())
    for (const String& Label : S->GetLabels()->GetList()) {
      if (Label.empty()) continue;
      std::int32_t Lines = 0;
      W = std::max(W, MultiLineTextWidth(Label, Lines));
    }
  FLabelsWidth = {std::move(Key), W};
  return W;
}

std::int32_t TCustomAxisPanel::MaxMarkWidth() {
  std::int32_t W = 0;
  for (TChartSeries* S : FSeriesList->GetList())
    if (S->GetActive()) W = std::max(W, S->MaxMarkWidth());
  return W;
}

// --- colours ---

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
  return GetDefaultColor(FColorForesight.Index < 0 ? SeriesCount() : FColorForesight.Count);
}

TAlphaColor TCustomAxisPanel::GetReadSeriesColor(TChartSeries* Series) {
  // The reader makes the stored series in list order, each joining before its values are read.
  TColorForesight Foresight;
  for (std::int32_t I = 0; I < SeriesCount() && Foresight.Index < 0; ++I) {
    TChartSeries* S = GetSeries(I);
    if (!S->DontSerialize) ++Foresight.Count;
    if (S == Series) Foresight.Index = I;
  }
  if (Foresight.Index < 0) return GetFreeSeriesColor(true, Series);
  TValueScope<TColorForesight> Scope(FColorForesight, Foresight);
  return GetFreeSeriesColor(true, Series);
}

bool TCustomAxisPanel::IsSeriesColorHeld(TAlphaColor AColor, TChartSeries* Series) const {
  const bool Foreseeing = FColorForesight.Index >= 0;
  const std::int32_t Count = Foreseeing ? FColorForesight.Index : SeriesCount();
  for (std::int32_t I = 0; I < Count; ++I) {
    TChartSeries* S = GetSeries(I);
    if (S != Series && !(Foreseeing && S->DontSerialize) && S->GetSeriesColor() == AColor) return true;
  }
  return false;
}

void TCustomAxisPanel::ColorPaletteChanged() {
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
    if (!S->IsColorStored()) S->ChangeInternalColor(GetFreeSeriesColor(true, S));
}

// --- themes ---

void TCustomAxisPanel::ApplyThemeSeries(TCustomChartSeries* Series) {
  auto* Theme = dynamic_cast<TCustomAxisPanel*>(GetTheme());
  auto* S = dynamic_cast<TChartSeries*>(Series);
  if (!Theme || Theme == this || !S) return;
  auto FirstOf = [&](auto Matches) -> TChartSeries* {
    for (TChartSeries* T : Theme->FSeriesList->GetList())
      if (Matches(T)) return T;
    return nullptr;
  };
  // A series of the same kind, else the theme's general look, else the theme's first series (a
  // theme without series is given a plain one). Only an empty theme gets one: a plain series
  // added later would match every kind and give the next series of a kind another look.
  TChartSeries* From = FirstOf([&](TChartSeries* T) { return T->SameClass(S); });
  if (!From) From = FirstOf([](TChartSeries* T) { return dynamic_cast<TThemedSeries*>(T) != nullptr; });
  if (!From) {
    if (Theme->SeriesCount() == 0) Theme->AddSeries(Create<TChartSeries>(Theme));
    From = Theme->GetSeries(0);
  }
  if (From != S) S->AssignFormatting(From);
}

void TCustomAxisPanel::ApplyThemeTools(TZelCustomTool* Tool) {
  auto* Theme = dynamic_cast<TCustomAxisPanel*>(GetTheme());
  if (!Theme || Theme == this || !Tool) return;
  TZelCustomTool* From = nullptr;
  for (TZelCustomTool* T : Theme->FTools->GetList())
    if (T->SameClass(Tool)) {
      From = T;
      break;
    }
  if (!From) {
    if (Theme->FTools->GetCount() == 0) Theme->FTools->Add(Create<TZelCustomTool>(Theme));
    From = Theme->FTools->Get(0);
  }
  if (From != Tool) Tool->Assign(From);
}

void TCustomAxisPanel::ApplyThemeAxes(TChartAxis* Axis) {
  auto* Theme = dynamic_cast<TCustomAxisPanel*>(GetTheme());
  if (!Theme || Theme == this || !Axis) return;
  TChartAxis* From = nullptr;
  for (TChartAxis* A : Theme->FAxes->GetList())
    if (A->GetVisible() && A->GetHorizontal() == Axis->GetHorizontal()) {
      From = A;
      break;
    }
  if (!From) {
    if (Theme->FCustomAxes->GetCount() == 0) Theme->FCustomAxes->Add();
    From = Theme->FCustomAxes->Get(0);
  }
  if (From != Axis) Axis->Assign(From);
}

// --- hover ---

bool TCustomAxisPanel::CheckMouseAxes(std::int32_t X, std::int32_t Y) {
  if (!FHover || !FHover->GetVisible()) return false;
  bool Found = false;
  const TPointF P(static_cast<float>(X), static_cast<float>(Y));
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList())) {
    if (!A->GetVisible()) continue;
    TZelSelected* Sel = A->GetLabelsObject()->GetSelected();
    if (!Sel || !Sel->GetHover() || !Sel->GetHover()->GetVisible()) continue;
    std::int32_t Hit = -1;
    const std::vector<TRectF> Rects = A->LabelItemRects();
    for (std::size_t I = 0; I < Rects.size(); ++I)
      if (Rects[I].Contains(P)) {
        Hit = static_cast<std::int32_t>(I);
        break;
      }
    Sel->SetHoverIndex(Hit);
    if (Hit != -1) Found = true;
  }
  return Found;
}

bool TCustomAxisPanel::CheckMouseSeries(std::int32_t X, std::int32_t Y) {
  bool Result = false;
  const std::vector<TChartSeries*> List = FSeriesList->GetList();
  for (auto It = List.rbegin(); It != List.rend(); ++It)
    if ((*It)->GetActive() && FSeriesList->IndexOf(*It) >= 0 && (*It)->CheckMouse(X, Y)) Result = true;
  return Result;
}

void TCustomAxisPanel::DoMouseLeave() {
  TCustomZelPanelExtended::DoMouseLeave();
  for (TChartAxis* A : std::vector<TChartAxis*>(FAxes->GetList()))
    if (TZelSelected* Sel = A->GetLabelsObject()->GetSelected()) Sel->SetHoverIndex(-1);
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
    if (TZelSelected* Sel = S->ExistingSelected()) Sel->SetHoverIndex(-1);
  BroadcastToolEvent(TChartToolEvent::tdeMouseLeft);
  BroadcastAnimationEvent(TChartToolEvent::tdeMouseLeft);
}

// --- data sources ---

void TCustomAxisPanel::CheckDatasource(TChartSeries* ASeries) {
  if (ASeries) ASeries->RefillFromSources();
}

bool TCustomAxisPanel::IsValidDataSource(TChartSeries* ASeries, TComponent* AComponent) {
  bool Result = ASeries && ASeries->IsValidDataSource(AComponent);
  if (!Result) {
    if (auto* Source = dynamic_cast<TZelSeriesSource*>(AComponent)) Result = Source->Available(this);
  } else if (OnValidDataSource) {
    OnValidDataSource(ASeries, AComponent, Result);
  }
  return Result;
}

void TCustomAxisPanel::RemovedDataSource(TChartSeries* ASeries, TComponent* AComponent) {
  auto* Source = dynamic_cast<TZelSeriesSource*>(AComponent);
  if (Source && ASeries && ASeries->GetDataSource() == Source) Source->SetSeries(nullptr);
}

void TCustomAxisPanel::CheckOtherSeries(TChartSeries* Dest, TChartSeries* Source) {
  // Walked with a list of visited series, so that a chain that loops elsewhere ends.
  std::vector<TChartSeries*> Pending{Source};
  std::vector<TChartSeries*> Seen;
  while (!Pending.empty()) {
    TChartSeries* Other = Pending.back();
    Pending.pop_back();
    if (!Other || std::find(Seen.begin(), Seen.end(), Other) != Seen.end()) continue;
    Seen.push_back(Other);
    TDataSourcesList* L = Other->ExistingDataSources();
    if (!L) continue;
    for (std::int32_t I = 0; I < L->Count(); ++I) {
      if (L->Get(I) == Dest) throw ChartException(ZelMsg_CircularSeries);
      if (auto* S = dynamic_cast<TChartSeries*>(L->Get(I))) Pending.push_back(S);
    }
  }
}

TChartAxis* TCustomAxisPanel::OwnAxis(TChartAxis* Axis) const {
  if (!Axis || IsDestroying() || !FAxes) return nullptr;
  return FAxes->IndexOf(Axis) >= 0 ? Axis : nullptr;
}

// --- paging ---

std::int32_t TCustomAxisPanel::GetPage() const { return FPage->GetCurrent(); }
void TCustomAxisPanel::SetPage(std::int32_t Value) { FPage->SetCurrent(Value); }
std::int32_t TCustomAxisPanel::GetPointsPerPage() const { return FPage->GetMaxPointsPerPage(); }
void TCustomAxisPanel::SetPointsPerPage(std::int32_t Value) { FPage->SetPointsPerPage(Value); }
bool TCustomAxisPanel::GetScaleLastPage() const { return FPage->GetScaleLastPage(); }
void TCustomAxisPanel::SetScaleLastPage(bool Value) { FPage->SetScaleLastPage(Value); }
std::int32_t TCustomAxisPanel::NumPages() const { return FPage->Count(); }

// --- parallel preparation ---

void TCustomAxisPanel::TryParallelSeries() {
  bool Any = false;
  for (TChartSeries* S : FSeriesList->GetList())
    if (S->GetActive() && S->CanBeforeParallel()) Any = true;
  if (!Any) return;
  TZelCPU::ParallelFor(0, SeriesCount() - 1, ParallelThreads, [this](int I) { DoSeriesParallel(I); },
                       TThreadPriority::tpHigher);
}

void TCustomAxisPanel::DoSeriesParallel(std::int32_t Index) {
  TChartSeries* S = GetSeries(Index);
  if (S->GetActive() && S->CanBeforeParallel()) S->DoBeforeParallel();
}

// --- properties ---

void TCustomAxisPanel::SetChart3DPercent(std::int32_t Value) {
  if (Value < 1 || Value > 100) throw Exception(Format(ZelMsg_3dPercent, {1, 100}));
  SetIntegerProperty(F3DPercent, Value);
}

void TCustomAxisPanel::SetAxisBehind(bool Value) { SetBooleanProperty(FAxisBehind, Value); }
void TCustomAxisPanel::SetAxisVisible(bool Value) { SetBooleanProperty(FAxisVisible, Value); }
void TCustomAxisPanel::SetClipPoints(bool Value) { SetBooleanProperty(FClipPoints, Value); }
void TCustomAxisPanel::SetView3DWalls(bool Value) { SetBooleanProperty(FView3DWalls, Value); }
void TCustomAxisPanel::SetBottomAxis(TChartAxis* Value) { FBottomAxis->Assign(Value); }
void TCustomAxisPanel::SetTopAxis(TChartAxis* Value) { FTopAxis->Assign(Value); }
void TCustomAxisPanel::SetLeftAxis(TChartAxis* Value) { FLeftAxis->Assign(Value); }
void TCustomAxisPanel::SetRightAxis(TChartAxis* Value) { FRightAxis->Assign(Value); }
void TCustomAxisPanel::SetDepthAxis(TChartDepthAxis* Value) { FDepthAxis->Assign(Value); }
void TCustomAxisPanel::SetDepthTopAxis(TChartDepthAxis* Value) { FDepthTopAxis->Assign(Value); }
void TCustomAxisPanel::SetCustomAxes(TChartCustomAxes* Value) { FCustomAxes->Assign(Value); }
void TCustomAxisPanel::SetHover(TZelHover* Value) { FHover->Assign(Value); }
TSeriesGroups* TCustomAxisPanel::GetSeriesGroups() const { return FSeriesList->GetGroups(); }
void TCustomAxisPanel::SetSeriesGroups(TSeriesGroups* Value) { FSeriesList->SetGroups(Value); }

// --- streaming and assignment ---

void TCustomAxisPanel::ReadState(TReader* Reader) {
  TSeriesGroups* G = FSeriesList->GetGroups();
  TUndoOnFailure DropTemp([G] {
    for (std::int32_t I = 0; I < G->GetCount(); ++I) G->Get(I)->DropTempSeries();
  });
  TCustomZelPanelExtended::ReadState(Reader);
  // Every series is read now: a group that names one the stream does not hold fails the read
  // here, while what the read created is still freed with it.
  for (std::int32_t I = 0; I < G->GetCount(); ++I) G->Get(I)->TempSeriesIndexes(SeriesCount());
}

void TCustomAxisPanel::Loaded() {
  TCustomZelPanelExtended::Loaded();
  // Every group drops its indexes, also when one fails; the first failure goes on.
  TSeriesGroups* G = FSeriesList->GetGroups();
  std::exception_ptr First;
  for (std::int32_t I = 0; I < G->GetCount(); ++I) {
    try {
      G->Get(I)->ResolveTempSeries();
    } catch (...) {
      if (!First) First = std::current_exception();
    }
  }
  if (First) std::rethrow_exception(First);
}

void TCustomAxisPanel::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TCustomZelPanelExtended::GetChildren(Proc, Root);
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeriesList->GetList()))
    if (!S->DontSerialize) Proc(S);
}

void TCustomAxisPanel::DefineProperties(TFiler* Filer) {
  TCustomZelPanelExtended::DefineProperties(Filer);
  // Names of older stored charts: read, never written.
  Filer->DefineProperty(
      "MaxPointsPerPage", [this](TReader* R) { FPage->SetPointsPerPage(R->ReadInteger()); }, nullptr, false);
  Filer->DefineProperty("Page", [this](TReader* R) { FPage->SetCurrent(R->ReadInteger()); }, nullptr, false);
  Filer->DefineProperty(
      "ScaleLastPage", [this](TReader* R) { FPage->SetScaleLastPage(R->ReadBoolean()); }, nullptr, false);
}

void TCustomAxisPanel::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TCustomAxisPanel*>(Source)) {
    F3DPercent = P->F3DPercent;
    FAxisBehind = P->FAxisBehind;
    FAxisVisible = P->FAxisVisible;
    FBottomAxis->Assign(P->FBottomAxis);
    FClipPoints = P->FClipPoints;
    ColorPalette = P->ColorPalette;
    FCustomAxes->Assign(P->FCustomAxes);
    FCustomWidth3D = P->FCustomWidth3D;
    FHover->Assign(P->FHover);
    FLeftAxis->Assign(P->FLeftAxis);
    FDepthAxis->Assign(P->FDepthAxis);
    FDepthTopAxis->Assign(P->FDepthTopAxis);
    FPage->Assign(P->FPage);
    FRightAxis->Assign(P->FRightAxis);
    FTopAxis->Assign(P->FTopAxis);
    FView3DWalls = P->FView3DWalls;
  }
  TCustomZelPanelExtended::Assign(Source);
}

void TCustomAxisPanel::PrintPages(std::int32_t FromPage, std::int32_t ToPage) {
  TPrinter* P = Printer();
  if (!GetName().empty()) P->SetTitle(GetName());
  P->BeginDoc();
  if (ToPage == 0) ToPage = NumPages();
  if (FromPage == 0) FromPage = 1;
  const std::int32_t OldPage = FPage->GetCurrent();
  TRestoreOnExit Finish([&] {
    FPage->SetCurrent(OldPage);
    P->EndDoc();
  });
  const TRectF R = ChartPrintRect();
  for (std::int32_t Page = FromPage; Page <= ToPage; ++Page) {
    FPage->SetCurrent(Page);
    PrintPartial(R);
    if (Page < ToPage) P->NewPage();
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TChartPage)
  P::Prop("AutoScale", &Self::GetAutoScale, &Self::SetAutoScale, Default(false)),
  P::Prop("MaxPointsPerPage", &Self::GetMaxPointsPerPage, &Self::SetMaxPointsPerPage, Default(0)),
  P::Prop("ScaleLastPage", &Self::GetScaleLastPage, &Self::SetScaleLastPage, Default(true)),
  P::Prop("Current", &Self::GetCurrent, &Self::SetCurrent, Default(1)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TCustomAxisPanel)
  P::Prop("AxisBehind", &Self::GetAxisBehind, &Self::SetAxisBehind, Default(true)),
  P::Prop("AxisVisible", &Self::GetAxisVisible, &Self::SetAxisVisible, Default(true)),
  P::Obj("BottomAxis", &Self::GetBottomAxis),
  P::Prop("Chart3DPercent", &Self::GetChart3DPercent, &Self::SetChart3DPercent, Default(15)),
  P::Prop("ClipPoints", &Self::GetClipPoints, &Self::SetClipPoints, Default(true)),
  P::Obj("CustomAxes", &Self::GetCustomAxes),
  P::Obj("DepthAxis", &Self::GetDepthAxis),
  P::Obj("DepthTopAxis", &Self::GetDepthTopAxis),
  P::Obj("Hover", &Self::GetHover),
  P::Obj("LeftAxis", &Self::GetLeftAxis),
  P::Obj("Pages", &Self::GetPages),
  P::Obj("RightAxis", &Self::GetRightAxis),
  P::Obj("SeriesGroups", &Self::GetSeriesGroups),
  P::Obj("TopAxis", &Self::GetTopAxis),
  P::Obj("View3DOptions", &Self::GetView3DOptions),
  P::Prop("View3DWalls", &Self::GetView3DWalls, &Self::SetView3DWalls, Default(true)),
  P::Event("OnAddSeries", &Self::OnAddSeries),
  P::Event("OnBeforeDrawAxes", &Self::OnBeforeDrawAxes),
  P::Event("OnBeforeDrawChart", &Self::OnBeforeDrawChart),
  P::Event("OnBeforeDrawSeries", &Self::OnBeforeDrawSeries),
  P::Event("OnGetAxisLabel", &Self::OnGetAxisLabel),
  P::Event("OnGetNextAxisLabel", &Self::OnGetNextAxisLabel),
  P::Event("OnPageChange", &Self::OnPageChange),
  P::Event("OnRemoveSeries", &Self::OnRemoveSeries),
ZEL_END_PUBLISHED

}  // namespace zel
