#include "zelgraph/series/Area.h"
#include "zelgraph/series/Series.h"

#include <algorithm>

#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TAreaSeries, TCustomSeries)

TAreaSeries::TAreaSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FDrawArea = true;
  FPointer->SetVisible(false);
  FPointer->DefaultVisible = false;  // an area's pointer is hidden unless stored otherwise
  AllowSinglePoint = false;
  DrawBetweenPoints = true;
}

void TAreaSeries::Assign(TPersistent* Source) {
  TCustomSeries::Assign(Source);
  auto* S = dynamic_cast<TChartSeries*>(Source);
  if (!S || S == this) return;
  SetDrawArea(true);
  SetDrawLine(true);
  if (SameClass(S)) {
    if (auto* A = dynamic_cast<TAreaSeries*>(S)) {
      FOrigin = A->FOrigin;
      FStackGroup = A->FStackGroup;
      FUseOrigin = A->FUseOrigin;
    }
  } else {
    FPointer->SetVisible(false);
  }
}

void TAreaSeries::ResetBrush() {
  TCustomSeries::ResetBrush();
  FAreaBrush->SetKind(TBrushKind::Solid);
  FAreaBrush->SetColor(clZelDefault);
  FAreaBrush->SetBackColor(clZelDefault);
}

TZelGradient* TAreaSeries::GetGradient() { return FAreaBrush->GetGradient(); }

TMultiArea TAreaSeries::GetMultiArea() const {
  switch (FStacked) {
    case TCustomSeriesStack::cssStack:
      return TMultiArea::maStacked;
    case TCustomSeriesStack::cssStack100:
      return TMultiArea::maStacked100;
    default:
      return TMultiArea::maNone;
  }
}

void TAreaSeries::SetMultiArea(TMultiArea Value) {
  if (Value == GetMultiArea()) return;
  switch (Value) {
    case TMultiArea::maNone:
      SetStacked(TCustomSeriesStack::cssNone);
      break;
    case TMultiArea::maStacked:
      SetStacked(TCustomSeriesStack::cssStack);
      break;
    case TMultiArea::maStacked100:
      SetStacked(TCustomSeriesStack::cssStack100);
      break;
  }
}

bool TAreaSeries::SameClassOrigin(TChartSeries* Series) {
  auto* A = dynamic_cast<TAreaSeries*>(Series);
  return TCustomSeries::SameClassOrigin(Series) && A && A->FStackGroup == FStackGroup;
}

std::int32_t TAreaSeries::GetOriginPos(std::int32_t ValueIndex) {
  if (FUseOrigin) return CalcPosValue(FOrigin);
  return TCustomSeries::GetOriginPos(ValueIndex);
}

double TAreaSeries::MaxYValue() {
  const double R = TCustomSeries::MaxYValue();
  return FUseOrigin && YMandatory ? std::max(R, FOrigin) : R;
}

double TAreaSeries::MinYValue() {
  const double R = TCustomSeries::MinYValue();
  return FUseOrigin && YMandatory ? std::min(R, FOrigin) : R;
}

double TAreaSeries::MaxXValue() {
  const double R = TCustomSeries::MaxXValue();
  return FUseOrigin && !YMandatory ? std::max(R, FOrigin) : R;
}

double TAreaSeries::MinXValue() {
  const double R = TCustomSeries::MinXValue();
  return FUseOrigin && !YMandatory ? std::min(R, FOrigin) : R;
}

void TAreaSeries::CalcZOrder() {
  if (GetMultiArea() == TMultiArea::maNone || !FParent) {
    TCustomSeries::CalcZOrder();
    return;
  }
  for (std::int32_t I = 0; I < FParent->SeriesCount(); ++I) {
    TChartSeries* S = FParent->GetSeries(I);
    if (S == this) break;
    if (S->GetActive() && SameClassOrigin(S)) {
      IZOrder = S->GetZOrder();
      return;
    }
  }
  // The first of its stack takes a depth slot of its own.
  const TCustomSeriesStack Saved = FStacked;
  FStacked = TCustomSeriesStack::cssNone;
  TRestoreOnExit Restore([&] { FStacked = Saved; });
  TCustomSeries::CalcZOrder();
}

bool TAreaSeries::DrawSeriesForward(std::int32_t ValueIndex) {
  if (GetMultiArea() != TMultiArea::maNone) {
    TChartAxis* A = MandatoryAxis();
    return !(A && A->GetInverted());
  }
  return TCustomSeries::DrawSeriesForward(ValueIndex);
}

void TAreaSeries::PrepareLegendCanvas(std::int32_t, TAlphaColor& BackColor, TBrushKind& BrushKind) {
  if (!FParent || !FParent->GetCanvas()) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  BackColor = GetAreaBrushColor(Canvas->GetBrush()->GetColor());
  Canvas->AssignVisiblePenColor(FAreaLinesPen, FAreaLinesPen->GetColor());
  BrushKind = FAreaBrush->GetKind();
}

void TAreaSeries::DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect) {
  if (!FParent || !FParent->GetCanvas()) return;
  if (FAreaBrush->HasGradient())
    FParent->SetBrushCanvas(GetSeriesColor(), FAreaBrush, FBrush->GetBackColor());
  else
    FParent->SetBrushCanvas(GetSeriesColor(), FBrush, FBrush->GetColor());
  if (FAreaBrush->HasImage() && FAreaBrush->ExistingImage()->Valid()) {
    TAlphaColor Color = FAreaBrush->GetColor();
    if (Color == clZelDefault) Color = LegendItemColor(ValueIndex);
    TAlphaColor Back = GetAreaBrushColor(FParent->GetCanvas()->GetBrush()->GetColor());
    if (Back == Color) Back = static_cast<TAlphaColor>(-1);
    FParent->GetCanvas()->AssignBrush(FAreaBrush, Color, Back);
  }
  TCustomSeries::DrawLegendShape(ValueIndex, Rect);
}

void TAreaSeries::CreateSubGallery(const TAddSubChart& AddSubChart) {
  TCustomSeries::CreateSubGallery(AddSubChart);
  if (!AddSubChart) return;
  for (const String* Name : {&ZelMsg_Stairs, &ZelMsg_Marks, &ZelMsg_Colors, &ZelMsg_Hollow, &ZelMsg_NoLines,
                             &ZelMsg_Stack, &ZelMsg_Stack100, &ZelMsg_Points, &ZelMsg_Gradient})
    AddSubChart(*Name);
}

void TAreaSeries::SetSubGallery(TChartSeries* Series, std::int32_t Index) {
  auto* S = dynamic_cast<TAreaSeries*>(Series);
  if (!S) return;
  switch (Index) {
    case 1:
      S->SetStairs(true);
      break;
    case 2:
      S->GetMarks()->SetVisible(true);
      break;
    case 3:
      S->SetColorEachPoint(true);
      break;
    case 4:
      S->SetAreaBrushStyle(TBrushKind::None);
      break;
    case 5:
      S->GetAreaLinesPen()->SetVisible(false);
      break;
    case 6:
      S->SetMultiArea(TMultiArea::maStacked);
      break;
    case 7:
      S->SetMultiArea(TMultiArea::maStacked100);
      break;
    case 8:
      S->GetPointer()->SetVisible(true);
      break;
    case 9:
      S->GetGradient()->SetVisible(true);
      break;
    default:
      break;
  }
}

// The series kinds join the class registry for streaming by name; the gallery's series-type
// registry stays empty.
void ZelSeriesUnitStart() {
  RegisterClass(TFastLineSeries::StaticClass());
  RegisterClass(TAreaSeries::StaticClass());
}

void ZelSeriesUnitEnd() {
  UnRegisterClass(TAreaSeries::StaticClass());
  UnRegisterClass(TFastLineSeries::StaticClass());
}

// ---------------------------------------------------------------------------------------------
// Published properties

// The brush kind and gradient travel inside "AreaChartBrush"; "AreaBrush" and "Gradient" are read
// only. DrawArea's stored default is False and an area is made with it on, so either value is
// written.
ZEL_BEGIN_PUBLISHED(TAreaSeries)
  P::Prop("AreaBrush", &Self::GetAreaBrush, &Self::SetAreaBrushStyle, Never),
  P::Obj("AreaChartBrush", &Self::GetAreaChartBrush),
  P::Prop("AreaColor", &Self::GetAreaColor, &Self::SetAreaColor, Default(clZelDefault)),
  P::Obj("AreaLinesPen", &Self::GetAreaLinesPen),
  P::Prop("DrawArea", &Self::GetDrawArea, &Self::SetDrawArea, DefaultOrMade(false, true)),
  P::Obj("Gradient", &Self::GetGradient, [](Self*) -> TZelGradient* { return nullptr; }),
  P::Prop("MultiArea", &Self::GetMultiArea, &Self::SetMultiArea, Default(TMultiArea::maNone)),
  P::Prop("StackGroup", &Self::GetStackGroup, &Self::SetStackGroup, Default(0)),
  P::Prop("TreatNulls", &Self::GetTreatNulls, &Self::SetTreatNulls, Default(TTreatNullsStyle::tnDontPaint)),
  P::Prop("UseYOrigin", &Self::GetUseYOrigin, &Self::SetUseYOrigin, Default(false)),
  P::Prop("YOrigin", &Self::GetYOrigin, &Self::SetYOrigin, Default(0.0)),
ZEL_END_PUBLISHED

}  // namespace zel
