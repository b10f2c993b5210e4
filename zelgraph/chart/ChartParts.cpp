// The chart's walls, titles and legend: creating and freeing them, their place in the paint
// sequence, and what the mouse handling asks of them.
#include <cstdlib>
#include "platform/Filer.h"
#include <optional>
#include <vector>

#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

// ---------------------------------------------------------------------------------------------
// Creation, copy and freeing

void TCustomChart::CreateParts() {
  if (IsDesigning()) GetTitle()->GetLines()->Add(ClassType()->Name);
  FWalls = Create<TChartWalls>(this);
  FLegend = Create<TChartLegend>(this);
}

void TCustomChart::AssignParts(TCustomChart* Source) {
  SetFoot(Source->FFoot);
  SetLegend(Source->FLegend);
  SetSubFoot(Source->FSubFoot);
  SetSubTitle(Source->FSubTitle);
  SetTitle(Source->FTitle);
  SetWalls(Source->FWalls);
}

void TCustomChart::FreeParts() {
  FreeAndNil(FSubTitle);
  FreeAndNil(FTitle);
  FreeAndNil(FSubFoot);
  FreeAndNil(FFoot);
  FreeAndNil(FWalls);
  FreeAndNil(FLegend);
}

namespace {

template <typename TTitle>
TChartTitle* GetOrCreateTitle(TChartTitle*& Field, TCustomChart* Chart) {
  if (!Field) Field = Create<TTitle>(Chart);
  return Field;
}

template <typename TTitle>
void SetTitleField(TChartTitle*& Field, TCustomChart* Chart, TChartTitle* Value) {
  if (!Value) {
    FreeAndNil(Field);
    Chart->Invalidate();
  } else if (Value != Field) {
    GetOrCreateTitle<TTitle>(Field, Chart)->Assign(Value);
  }
}

}  // namespace

TChartTitle* TCustomChart::GetTitle() { return GetOrCreateTitle<TChartTitle>(FTitle, this); }
void TCustomChart::SetTitle(TChartTitle* Value) { SetTitleField<TChartTitle>(FTitle, this, Value); }
TChartTitle* TCustomChart::GetSubTitle() { return GetOrCreateTitle<TChartTitle>(FSubTitle, this); }
void TCustomChart::SetSubTitle(TChartTitle* Value) { SetTitleField<TChartTitle>(FSubTitle, this, Value); }
TChartTitle* TCustomChart::GetFoot() { return GetOrCreateTitle<TChartFootTitle>(FFoot, this); }
void TCustomChart::SetFoot(TChartTitle* Value) { SetTitleField<TChartFootTitle>(FFoot, this, Value); }
TChartTitle* TCustomChart::GetSubFoot() { return GetOrCreateTitle<TChartFootTitle>(FSubFoot, this); }
void TCustomChart::SetSubFoot(TChartTitle* Value) { SetTitleField<TChartFootTitle>(FSubFoot, this, Value); }

void TCustomChart::SetLegend(TChartLegend* Value) {
  if (Value && Value != FLegend) FLegend->Assign(Value);
}

void TCustomChart::SetWalls(TChartWalls* Value) {
  if (Value && Value != FWalls) FWalls->Assign(Value);
}

TChartWall* TCustomChart::GetBackWall() const { return FWalls ? FWalls->GetBack() : nullptr; }
void TCustomChart::SetBackWall(TChartWall* Value) { FWalls->SetBack(Value); }
TChartWall* TCustomChart::GetLeftWall() const { return FWalls ? FWalls->GetLeft() : nullptr; }
void TCustomChart::SetLeftWall(TChartWall* Value) { FWalls->SetLeft(Value); }
TChartWall* TCustomChart::GetBottomWall() const { return FWalls ? FWalls->GetBottom() : nullptr; }
void TCustomChart::SetBottomWall(TChartWall* Value) { FWalls->SetBottom(Value); }
TChartWall* TCustomChart::GetRightWall() const { return FWalls ? FWalls->GetRight() : nullptr; }
void TCustomChart::SetRightWall(TChartWall* Value) { FWalls->SetRight(Value); }

TZelPen* TCustomChart::GetFrame() const {
  TChartWall* B = GetBackWall();
  return B ? B->GetPen() : nullptr;
}

void TCustomChart::SetFrame(TZelPen* Value) {
  if (TChartWall* B = GetBackWall()) B->SetPen(Value);
}

// ---------------------------------------------------------------------------------------------
// Colours and legend texts

TAlphaColor TCustomChart::GetBackColor() {
  TChartWall* B = GetBackWall();
  if (B && GetView3DWalls() && B->GetVisible() && !B->GetTransparent()) {
    TZelGradient* G = B->GetBrush() ? B->GetBrush()->ExistingGradient() : nullptr;
    return (G && G->GetVisible()) ? G->GetStartColor() : B->GetColor();
  }
  return TCustomAxisPanel::GetBackColor();
}

void TCustomChart::SetBackColor(TAlphaColor Value) {
  TChartWall* B = GetBackWall();
  if (!B) return;
  B->SetColor(Value);
  if (GetParent() && !ReadingStoredValue()) B->GetBrush()->SetKind(TBrushKind::Solid);
}

bool TCustomChart::IsFreeSeriesColor(TAlphaColor AColor, bool CheckBackground, TChartSeries* Series) {
  if (IsSeriesColorHeld(AColor, Series)) return false;
  if (CheckBackground) {
    if (AColor == GetColor()) return false;
    if (TChartWall* B = GetBackWall(); B && AColor == B->GetColor()) return false;
  }
  return true;
}

String TCustomChart::FormattedLegend(std::int32_t SeriesOrValueIndex) {
  if (!FLegend) return String();
  String S = FLegend->FormattedLegend(SeriesOrValueIndex);
  if (OnGetLegendText) OnGetLegendText(this, FLegend->GetInternalLegendStyle(), SeriesOrValueIndex, S);
  return S;
}

String TCustomChart::FormattedValueLegend(TChartSeries* ASeries, std::int32_t ValueIndex) {
  if (!ASeries) return String();
  if (auto* Own = dynamic_cast<TCustomChartLegend*>(ASeries->GetLegendShape()))
    return Own->FormattedValue(ASeries, ValueIndex);
  return FLegend ? FLegend->FormattedValue(ASeries, ValueIndex) : String();
}

void TCustomChart::DrawLegendShape(const TRectF& Rect) {
  if (FLegend && GetCanvas()) FLegend->GetSymbol()->Draw(GetCanvas()->GetBrush()->GetColor(), Rect);
}

// ---------------------------------------------------------------------------------------------
// Draw order

namespace {

bool SomeActiveSeriesUsesAxes(TCustomChart* C) {
  for (std::int32_t I = 0; I < C->SeriesCount(); ++I)
    if (C->GetSeries(I)->GetActive() && C->GetSeries(I)->UseAxis()) return true;
  return false;
}

// Draws an axis once more with one of its grids hidden.
void RedrawAxis(TChartAxis* A, bool HideBackGrid, bool HideSideGrid) {
  if (!A || !A->IsVisible) return;
  A->IHideBackGrid = HideBackGrid;
  A->IHideSideGrid = HideSideGrid;
  TRestoreOnExit Restore([A] { A->IHideBackGrid = A->IHideSideGrid = false; });
  A->Draw(false);
}

}  // namespace

void TCustomChart::DrawTitles(bool CustomPosition) {
  TCanvas3D* C = GetCanvas();
  struct TEntry {
    TChartTitle* Title;
    const char* Entity;
  };
  const TEntry Titles[] = {{FTitle, "Title"}, {FSubTitle, "Subtitle"}, {FFoot, "Foot"}, {FSubFoot, "Subfoot"}};
  std::optional<TEntityScope> Group;  // opened with the first title drawn
  for (const TEntry& E : Titles) {
    TChartTitle* T = E.Title;
    if (!T || T->GetCustomPosition() != CustomPosition || !T->ShouldDraw()) continue;
    if (!Group) Group.emplace(C, "Titles");
    TEntityScope Entity(C, E.Entity, nullptr, T->Transform);
    T->DrawTitle();
  }
}

void TCustomChart::DrawTitlesAndLegend(bool BeforeSeries) {
  TCanvas3D* C = GetCanvas();
  {
    TFrontPlaneScope FrontPlane(C);
    if (BeforeSeries) {
      if (!FLegend->ShouldDraw()) {
        DrawTitles(false);
      } else if (FLegend->GetVertical()) {
        FLegend->CalcRect();
        if (FLegend->GetDrawBehind()) FLegend->DrawLegend();
        DrawTitles(false);
      } else {
        DrawTitles(false);
        FLegend->CalcRect();
        if (FLegend->GetDrawBehind()) FLegend->DrawLegend();
      }
    } else {
      if (FLegend->ShouldDraw() && !FLegend->GetDrawBehind()) FLegend->DrawLegend();
      DrawTitles(true);
    }
  }
  if (!BeforeSeries) DrawLateWalls();
}

void TCustomChart::DrawLateWalls() {
  TCanvas3D* C = GetCanvas();
  if (C->GetSupportsFullRotation() || !GetView3D() || !SomeActiveSeriesUsesAxes(this)) return;
  if (FWalls->DrawRightWallAfter()) {
    if (TChartRightWall* R = FWalls->ExistingRight(); R && R->ShouldDraw()) FWalls->DrawRightWall();
    RedrawAxis(GetRightAxis(), true, false);
  }
  if (FWalls->DrawLeftWallFirst()) {
    if (FWalls->GetLeft()->ShouldDraw()) FWalls->DrawLeftWall();
    RedrawAxis(GetLeftAxis(), true, false);
  }
  if (DrawBackWallAfter(GetWidth3D())) {
    for (TChartAxis* A : {GetTopAxis(), GetBottomAxis()}) {
      if (!A->IsVisible) continue;
      TValueScope HideSideGrid(A->IHideSideGrid, true);
      A->DrawGrids(static_cast<std::int32_t>(A->Tick.size()));
    }
    if (FWalls->GetBack()->ShouldDraw()) FWalls->DrawBackWall();
  }
}

void TCustomChart::DrawWalls() {
  if (!SomeActiveSeriesUsesAxes(this)) return;
  TCanvas3D* C = GetCanvas();
  const bool Full = C->GetSupportsFullRotation();
  const bool Walls3D = GetView3D() && GetView3DWalls();
  TEntityScope Entity(C, "Walls");
  if (Walls3D) {
    TChartRightWall* R = FWalls->ExistingRight();
    if (R && R->GetVisible() && (Full || !FWalls->DrawRightWallAfter())) FWalls->DrawRightWall();
  }
  if (GetView3DWalls() && FWalls->GetBack()->GetVisible() && (Full || !DrawBackWallAfter(GetWidth3D())))
    FWalls->DrawBackWall();
  if (Walls3D) {
    if (FWalls->GetLeft()->GetVisible() && (Full || !FWalls->DrawLeftWallFirst())) FWalls->DrawLeftWall();
    if (FWalls->GetBottom()->GetVisible()) FWalls->DrawBottomWall();
    if (!Full && DrawBackWallAfter(0)) {
      for (TChartAxis* A : {GetTopAxis(), GetBottomAxis()})
        if (A->IsVisible) A->Draw(true);
    }
  }
}

void TCustomChart::CalcWallsRect() {
  CalcSize3DWalls();
  TView3DOptions* O = GetView3DOptions();
  if (!GetCustomChartRect() && GetView3D() && O->GetOrthogonal()) {
    const std::int32_t S = SomeActiveSeriesUsesAxes(this) ? FWalls->GetBack()->GetSize() : 0;
    const float Depth = static_cast<float>(std::abs(GetWidth3D()) + S);
    if (O->GetOrthoAngle() <= 90) {
      ChartRect.Right -= Depth;
      if (TChartRightWall* R = FWalls->ExistingRight(); R && R->GetVisible())
        ChartRect.Right -= static_cast<float>(R->GetSize() + 1);
    } else {
      ChartRect.Left += Depth;
      if (FWalls->GetLeft()->GetVisible()) ChartRect.Left += static_cast<float>(FWalls->GetLeft()->GetSize() + 1);
    }
    ChartRect.Top += static_cast<float>(std::abs(GetHeight3D()) + S);
  }
  ReCalcWidthHeight();
}

std::int32_t TCustomChart::CalcWallSize(TChartAxis* Axis) {
  if (!FWalls || !GetView3D() || !GetView3DWalls()) return 0;
  TCustomChartWall* W;
  if (Axis == GetLeftAxis())
    W = FWalls->GetLeft();
  else if (Axis == GetBottomAxis())
    W = FWalls->GetBottom();
  else if (Axis == GetRightAxis())
    W = FWalls->ExistingRight();
  else
    W = FWalls->GetBack();
  return (W && W->GetVisible()) ? W->GetSize() : 0;
}

// ---------------------------------------------------------------------------------------------
// Mouse questions

std::int32_t TCustomChart::LegendItemAt(TPointF Pos, bool CustomPosition) {
  if (!FLegend || !FLegend->GetVisible() || FLegend->GetCustomPosition() != CustomPosition) return -1;
  return FLegend->Clicked(Pos);
}

TChartTitle* TCustomChart::TitleAt(TPointF Pos, TChartClickedPartStyle& Part) {
  // Titles that were never made were never drawn: nothing to hit, and nothing to create.
  struct TEntry {
    TChartTitle* Title;
    TChartClickedPartStyle Part;
  };
  const TEntry Titles[] = {{FTitle, TChartClickedPartStyle::cpTitle},
                           {FSubTitle, TChartClickedPartStyle::cpSubTitle},
                           {FFoot, TChartClickedPartStyle::cpFoot},
                           {FSubFoot, TChartClickedPartStyle::cpSubFoot}};
  for (const TEntry& E : Titles)
    if (E.Title && E.Title->Clicked(Pos)) {
      Part = E.Part;
      return E.Title;
    }
  return nullptr;
}

bool TCustomChart::LegendMouseDown(std::int32_t X, std::int32_t Y, std::int32_t Index) {
  return FLegend && FLegend->DoMouseDown(X, Y, Index);
}

void TCustomChart::MoveWithoutDrag(std::int32_t X, std::int32_t Y) {
  const TCursor C = FLegend->CalcCursor();
  std::int32_t I = FLegend->Clicked(X, Y);
  if (C != crDefault && I != -1)
    SetCursor(C);
  else if (I == -1 && !CheckMouseSeries(X, Y) && !CheckMouseAxes(X, Y))
    SetCursor(FOriginalCursor);

  if (!GetHover() || !GetHover()->GetVisible()) return;
  if (FLegend->GetInternalLegendStyle() == TLegendStyle::lsValues) {
    TChartSeries* S = FLegend->GetLegendSeries();
    if (!S) {
      I = -1;
    } else if (I == -1) {
      I = S->ExistingSelected() ? S->ExistingSelected()->GetHoverIndex() : -1;
    } else {
      S->GetSelected()->SetHoverIndex(I);
    }
  } else if (I == -1) {
    for (std::int32_t K = SeriesCount() - 1; K >= 0; --K) {
      TChartSeries* S = GetSeries(K);
      if (S->GetActive() && S->ExistingSelected() && S->ExistingSelected()->GetHoverIndex() != -1) {
        I = K;
        break;
      }
    }
  }
  // The legend shows a hover only with its selection settings; moving the mouse makes none.
  if (TZelSelected* Sel = FLegend->ExistingSelected()) Sel->SetHoverIndex(I);
}

}  // namespace zel
