// The drawing side of series: visible range, positions through the axes, the drawing hooks the
// chart's pipeline calls, legend and mark texts, and the mouse (clicks, hover, enter and leave).
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Math.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

TZelMousePosFunc ZelGetChartMousePos;

// Axis resolution

void TChartSeries::RecalcGetAxis() {
  if (!FParent) {
    FGetHorizAxis = nullptr;
    FGetVertAxis = nullptr;
    return;
  }
  if (FHorizAxis == THorizAxis::aTopAxis)
    FGetHorizAxis = FParent->GetTopAxis();
  else if (FHorizAxis == THorizAxis::aCustomHorizAxis && FCustomHorizAxis)
    FGetHorizAxis = FCustomHorizAxis;
  else
    FGetHorizAxis = FParent->GetBottomAxis();
  if (FVertAxis == TVertAxis::aRightAxis)
    FGetVertAxis = FParent->GetRightAxis();
  else if (FVertAxis == TVertAxis::aCustomVertAxis && FCustomVertAxis)
    FGetVertAxis = FCustomVertAxis;
  else
    FGetVertAxis = FParent->GetLeftAxis();
}

// Visible range

namespace {
// The first index I in [From, N) whose value is not below V (values ascending), else N.
std::int32_t FirstNotBelow(const double* Values, std::int32_t From, std::int32_t N, double V) {
  return static_cast<std::int32_t>(std::lower_bound(Values + From, Values + N, V) - Values);
}
}  // namespace

void TChartSeries::CalcFirstLastVisibleIndex() {
  FFirstVisibleIndex = -1;
  FLastVisibleIndex = -1;
  const std::int32_t N = Count();
  if (N == 0) return;
  TChartValueList* List = NotMandatoryValueList;
  TChartAxis* Axis = YMandatory ? FGetHorizAxis : FGetVertAxis;
  if (!CalcVisiblePoints || List->GetOrder() == TChartListOrder::loNone || !Axis || !FParent) {
    FFirstVisibleIndex = 0;
    FLastVisibleIndex = N - 1;
    return;
  }
  const TRectF CR = FParent->GetChartRect();
  const std::int32_t L = Round(CR.Left), T = Round(CR.Top), R = Round(CR.Right), B = Round(CR.Bottom);
  const bool Inverted = Axis->GetInverted();
  const std::int32_t MinOff = Axis->GetMinimumOffset(), MaxOff = Axis->GetMaximumOffset();
  const bool Offsets = MinOff != 0 || MaxOff != 0;
  std::int32_t PStart, PEnd;
  if (YMandatory) {
    PStart = Inverted ? R : L;
    PEnd = Inverted ? L : R;
    if (Offsets) {
      PStart += MinOff - 1;
      PEnd -= MaxOff - 1;
    }
  } else {
    PStart = Inverted ? T : B;
    PEnd = Inverted ? B : T;
    if (Offsets) {
      PStart -= MaxOff;
      PEnd += MinOff;
    }
  }
  const double VS = Axis->CalcPosPoint(PStart);
  const double VE = Axis->CalcPosPoint(PEnd);
  const double* V = std::as_const(List->Value).Data();
  if (List->GetOrder() == TChartListOrder::loAscending) {
    // Binary searches that give what the walks over the points give.
    std::int32_t First = 0;
    if (VS >= V[0]) First = FirstNotBelow(V, 0, N, VS);
    if (First >= N) return;
    std::int32_t Last;
    if (VE >= V[N - 1]) {
      Last = N - 1;
    } else {
      // Step up while ve > value[last] (stopping at the last index) ...
      Last = std::min(FirstNotBelow(V, First, N, VE), N - 1);
      // ... then down while ve < value[last].
      if (!DrawBetweenPoints && VE < V[Last])
        Last = std::max<std::int32_t>(0, static_cast<std::int32_t>(std::upper_bound(V, V + Last + 1, VE) - V) - 1);
    }
    FFirstVisibleIndex = First;
    FLastVisibleIndex = Last;
    return;
  }
  // Descending order: the start walk stops at once unless the start lies beyond the largest
  // value, and the end walk never moves off the first index.
  if (VS > V[0]) return;
  FFirstVisibleIndex = 0;
  FLastVisibleIndex = VE >= V[N - 1] ? N - 1 : 0;
}

std::int32_t TChartSeries::VisibleCount() {
  const std::int32_t N = Count();
  if (FFirstVisibleIndex == -1 || FLastVisibleIndex == -1) return 0;
  if (FFirstVisibleIndex == 0 && FLastVisibleIndex == N - 1) return N;
  std::int32_t Result = 0;
  if (NotMandatoryValueList->GetOrder() == TChartListOrder::loNone) {
    if (!FGetHorizAxis || !FGetVertAxis) return 0;
    const double XMin = FGetHorizAxis->GetMinimum(), XMax = FGetHorizAxis->GetMaximum();
    const double YMin = FGetVertAxis->GetMinimum(), YMax = FGetVertAxis->GetMaximum();
    for (std::int32_t I = 0; I < N; ++I) {
      const double X = FX->Value[I], Y = FY->Value[I];
      if (X >= XMin && X <= XMax && Y >= YMin && Y <= YMax) ++Result;
    }
    return Result;
  }
  TChartAxis* Axis = MandatoryAxis();
  if (!Axis) return 0;
  const double Min = Axis->GetMinimum(), Max = Axis->GetMaximum();
  for (std::int32_t I = std::max(FFirstVisibleIndex, 0); I <= FLastVisibleIndex && I < N; ++I) {
    const double V = MandatoryValueList->Value[I];
    if (V >= Min && V <= Max) ++Result;
  }
  return Result;
}

std::int32_t TChartSeries::GetFirstDisplayedIndex() const {
  return const_cast<TChartSeries*>(this)->DrawValuesForward() ? FFirstVisibleIndex : FLastVisibleIndex;
}

std::int32_t TChartSeries::GetLastDisplayedIndex() const {
  return const_cast<TChartSeries*>(this)->DrawValuesForward() ? FLastVisibleIndex : FFirstVisibleIndex;
}

bool TChartSeries::DrawValuesForward() {
  if (YMandatory) {
    const bool Rotated = FParent && FParent->InvertedRotation;
    const bool Inverted = FGetHorizAxis && FGetHorizAxis->GetInverted();
    return Rotated == Inverted;
  }
  return !(FGetVertAxis && FGetVertAxis->GetInverted());
}

bool TChartSeries::DrawSeriesForward(std::int32_t) { return !(FParent && FParent->InvertedRotation); }

bool TChartSeries::DrawSeriesAscending() {
  if (!FParent) return true;
  TChartAxis* Depth = FParent->GetDepthAxis();
  bool Result = !(Depth && Depth->GetInverted());
  if (FParent->GetView3D()) {
    TView3DOptions* V = FParent->GetView3DOptions();
    TCanvas3D* C = FParent->GetCanvas();
    const std::int32_t Rotation = V ? V->GetRotation() : 0;
    if (C && !C->GetSupportsFullRotation() && Rotation >= 90 && Rotation < 270) Result = !Result;
  }
  return Result;
}

std::vector<std::int32_t> TChartSeries::SortDrawPoints(std::int32_t, std::int32_t, bool) { return {}; }

std::vector<std::int32_t> TChartSeries::SortDrawSeries(std::int32_t, std::int32_t, std::int32_t) { return {}; }

void TChartSeries::DrawAllValues() {
  if (FFirstVisibleIndex < 0 || FLastVisibleIndex < 0) return;
  TCanvas3D* Canvas = FParent ? FParent->GetCanvas() : nullptr;
  const bool Entities = Canvas && Canvas->SupportsID &&
                        !(FVisuals && FVisuals->GetTemplate() && !FVisuals->GetTemplate()->IsCloneable);
  auto DrawOne = [&](std::int32_t I) {
    TEntityScope Entity(Canvas, Entities ? ZelStr(I) : String(), FVisuals && Entities ? FVisuals->GetVisual(I) : nullptr,
                        nullptr, Entities);
    if (FParent && FParent->OnDrawValue)
      FParent->OnDrawValue(this, I);
    else
      DrawValue(I);
  };
  const bool Forward = DrawValuesForward();
  const std::vector<std::int32_t> Order = SortDrawPoints(FFirstVisibleIndex, FLastVisibleIndex, true);
  if (!Order.empty()) {
    if (Forward)
      for (std::int32_t I : Order) DrawOne(I);
    else
      for (auto It = Order.rbegin(); It != Order.rend(); ++It) DrawOne(*It);
    return;
  }
  if (Forward)
    for (std::int32_t I = FFirstVisibleIndex; I <= FLastVisibleIndex; ++I) DrawOne(I);
  else
    for (std::int32_t I = FLastVisibleIndex; I >= FFirstVisibleIndex; --I) DrawOne(I);
}

void TChartSeries::BroadcastEvent(TChartToolEvent Event) {
  if (!FParent) return;
  FParent->BroadcastSeriesToolEvent(Event, this);
}

void TChartSeries::DoBeforeDrawValues() {
  BroadcastEvent(TChartToolEvent::tdeSeriesStart);
  if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues() {
  BroadcastEvent(TChartToolEvent::tdeSeriesDone);
  if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::BeginEntity() {
  if (!FParent) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return;
  if (Transform) Transform->Origin = TPointF(static_cast<float>(FParent->GetChartXCenter()),
                                              static_cast<float>(FParent->GetChartYCenter()));
  Canvas->BeginEntity(SeriesNameOrIndex(this), nullptr, Transform);
}

// Depth

void TChartSeries::CalcZOrder() {
  if (!FParent) return;
  if (FZOrder == -1) {
    if (FParent->GetView3D()) {
      FParent->SetMaxZOrder(FParent->GetMaxZOrder() + 1);
      IZOrder = FParent->GetMaxZOrder();
    } else {
      IZOrder = 0;
    }
  } else {
    FParent->SetMaxZOrder(std::max(FParent->GetMaxZOrder(), FZOrder));
  }
}

void TChartSeries::CalcDepthPositions() {
  const std::int32_t Width = FParent ? FParent->GetSeriesWidth3D() : 0;
  StartZ = IZOrder * Width;
  EndZ = StartZ + (FDepth == -1 ? Width : FDepth);
  MiddleZ = (StartZ + EndZ) / 2;
  if (FMarks) FMarks->SetZPosition(MiddleZ);
}

bool TChartSeries::MoreSameZOrder() {
  if (!FParent || !FParent->GetApplyZOrder()) return false;
  for (std::int32_t I = 0; I < FParent->SeriesCount(); ++I) {
    auto* S = dynamic_cast<TChartSeries*>(FParent->GetSeries(I));
    if (S && S != this && S->GetActive() && !S->HasZValues && S->GetZOrder() == GetZOrder()) return true;
  }
  return false;
}

bool TChartSeries::FirstInZOrder() {
  if (!FActive) return false;
  if (!FParent) return true;
  for (std::int32_t I = 0; I < FParent->SeriesCount(); ++I) {
    auto* S = dynamic_cast<TChartSeries*>(FParent->GetSeries(I));
    if (S == this) break;
    if (S && S->GetActive() && S->GetZOrder() == GetZOrder()) return false;
  }
  return true;
}

// Positions

std::int32_t TChartSeries::CalcPosValue(double Value) {
  return YMandatory ? CalcYPosValue(Value) : CalcXPosValue(Value);
}

std::int32_t TChartSeries::CalcXSizeValue(double Value) { return FGetHorizAxis ? FGetHorizAxis->CalcSizeValue(Value) : 0; }

std::int32_t TChartSeries::CalcYSizeValue(double Value) { return FGetVertAxis ? FGetVertAxis->CalcSizeValue(Value) : 0; }

double TChartSeries::XScreenToValue(std::int32_t ScreenPos) {
  return FGetHorizAxis ? FGetHorizAxis->CalcPosPoint(ScreenPos) : 0.0;
}

double TChartSeries::YScreenToValue(std::int32_t ScreenPos) {
  return FGetVertAxis ? FGetVertAxis->CalcPosPoint(ScreenPos) : 0.0;
}

String TChartSeries::XValueToText(double Value) {
  return FGetHorizAxis ? FGetHorizAxis->LabelValue(Value) : FormatFloat(FValueFormat, Value);
}

String TChartSeries::YValueToText(double Value) {
  return FGetVertAxis ? FGetVertAxis->LabelValue(Value) : FormatFloat(FValueFormat, Value);
}

void TChartSeries::CalcSelectionPos(std::int32_t ValueIndex, std::int32_t& X, std::int32_t& Y) {
  X = CalcXPos(ValueIndex);
  Y = CalcYPos(ValueIndex);
}

bool TChartSeries::IsPointInChartRect(std::int32_t ValueIndex) {
  if (!FParent) return false;
  const TRectF R = FParent->GetChartRect();
  const float X = static_cast<float>(CalcXPos(ValueIndex)), Y = static_cast<float>(CalcYPos(ValueIndex));
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

bool TChartSeries::AssociatedToAxis(TChartAxis* Axis) {
  if (!Axis || !UseAxis()) return false;
  if (Axis->IsDepthAxis()) return true;
  if (Axis->GetHorizontal()) return FHorizAxis == THorizAxis::aBothHorizAxis || Axis == FGetHorizAxis;
  return FVertAxis == TVertAxis::aBothVertAxis || Axis == FGetVertAxis;
}

TChartValueList* TChartSeries::ValueListOfAxis(TChartAxis* Axis) {
  if (!AssociatedToAxis(Axis)) return nullptr;
  return Axis->GetHorizontal() ? FX : FY;
}

void TChartSeries::CalcFirstLastPage(std::int32_t& First, std::int32_t& Last) {
  const std::int32_t N = Count();
  if (N == 0) {
    First = Last = -1;
    return;
  }
  const std::int32_t PerPage = FParent ? FParent->GetPointsPerPage() : 0;
  if (PerPage <= 0) {
    First = 0;
    Last = N - 1;
    return;
  }
  const std::int32_t Page = FParent->GetPage();
  First = PerPage == 1 ? Page - 1 : PerPage * (Page - 1);
  if (First >= N) First = PerPage * std::max(0, N / PerPage - 1);
  Last = First + PerPage - 1;
  if (Last >= N) Last = (N % PerPage) + First - 1;
}

void TChartSeries::ColorRange(TChartValueList* List, double FromValue, double ToValue, TAlphaColor Color) {
  if (!List) return;
  for (std::int32_t I = 0; I < Count() && I < List->GetCount(); ++I) {
    const double V = List->Value[I];
    if (V >= FromValue && V <= ToValue && !IsNull(I)) SetValueColor(I, Color);
  }
  Repaint();
}

// Legend

bool TChartSeries::HasLabels() const {
  for (const String& L : FLabels.GetList())
    if (!L.empty()) return true;
  return false;
}

namespace {
String DateTimeText(double Value) { return DateTimeToString(String(), Value); }
// Changes a brush's kind for the duration of one drawing, telling nobody.
void SetKindQuiet(TZelBrush* Brush, TBrushKind Kind) {
  const TNotifyEvent Saved = Brush->GetOnChanged();
  Brush->SetOnChanged(nullptr);
  Brush->SetKind(Kind);
  Brush->SetOnChanged(Saved);
}
}  // namespace

String TChartSeries::LegendString(std::int32_t LegendIndex, TLegendTextStyle LegendTextStyle) {
  const std::int32_t I = LegendToValueIndex(LegendIndex);
  const String Label = GetMarkLabel(I);
  auto ValueText = [&]() {
    const double V = GetMarkValue(I);
    return MandatoryValueList->GetDateTime() ? DateTimeText(V) : FormatFloat(FValueFormat, V);
  };
  auto PercentText = [&]() {
    const double Total = MandatoryValueList->GetTotalABS();
    const double P = Total == 0 ? 100.0 : GetMarkValue(I) * 100.0 / Total;
    return FormatFloat(FPercentFormat, P);
  };
  // The legend's X text is of the X value, whichever list is mandatory.
  auto XText = [&]() { return XValueToText(FX->Value[I]); };
  const String S(1, ZelColumnSeparator);
  switch (LegendTextStyle) {
    case TLegendTextStyle::ltsPlain:
      return Label;
    case TLegendTextStyle::ltsLeftValue:
      return Label.empty() ? ValueText() : ValueText() + S + Label;
    case TLegendTextStyle::ltsRightValue:
      return Label.empty() ? ValueText() : Label + S + ValueText();
    case TLegendTextStyle::ltsLeftPercent:
      return Label.empty() ? PercentText() : PercentText() + S + Label;
    case TLegendTextStyle::ltsRightPercent:
      return Label.empty() ? PercentText() : Label + S + PercentText();
    case TLegendTextStyle::ltsXValue:
      return XText();
    case TLegendTextStyle::ltsValue:
      return ValueText();
    case TLegendTextStyle::ltsPercent:
      return PercentText();
    case TLegendTextStyle::ltsXAndValue:
      return XText() + S + ValueText();
    case TLegendTextStyle::ltsXAndPercent:
      return XText() + S + PercentText();
    case TLegendTextStyle::ltsXAndText:
      return XText() + S + Label;
  }
  return Label;
}

void TChartSeries::DrawLegend(std::int32_t ValueIndex, const TRectF& Rect) {
  if (!FParent) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return;
  TAutoRepaintScope Quiet(FParent, false);
  {
    const TAlphaColor C = ValueIndex == -1 ? GetSeriesColor() : LegendItemColor(ValueIndex);
    if (FLegend && FLegend->HasPicture()) {
      Canvas->StretchDraw(Rect, FLegend->GetPicture());
    } else if (C != 0) {
      Canvas->GetBrush()->SetColor(C);
      TAlphaColor Back = FParent->LegendColor;
      TBrushKind Kind = FBrush->GetKind();
      Canvas->AssignVisiblePenColor(FPen, FPen->GetColor());
      PrepareLegendCanvas(ValueIndex, Back, Kind);
      if (FParent->LegendPen) Canvas->AssignVisiblePen(FParent->LegendPen);
      const float Half = static_cast<float>(Round(Rect.Height() * 0.5f));
      if (Canvas->GetPen()->GetWidth() > Half) Canvas->GetPen()->SetWidth(Half);
      if (Back == clZelDefault) {
        Back = FParent->LegendColor;
        if (Back == clZelDefault) Back = FParent->GetBackColor();
      }
      const TBrushKind OldKind = FBrush->GetKind();
      const bool ChangeKind = Kind != OldKind && !FBrush->GetBitmap();
      if (ChangeKind) SetKindQuiet(FBrush, Kind);
      TRestoreOnExit RestoreKind([&] {
        if (ChangeKind) SetKindQuiet(FBrush, OldKind);
      });
      FParent->SetBrushCanvas(Canvas->GetBrush()->GetColor(), FBrush, Back);
      DrawLegendShape(ValueIndex, Rect);
    }
  }
}

void TChartSeries::DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect) {
  if (!FParent) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  TBlendingScope Blending(Canvas, Rect, FTransparency, FTransparency > 0);
  if (ValueIndex != -1) Canvas->GetBrush()->SetColor(LegendItemColor(ValueIndex));
  FParent->DrawLegendShape(Rect);
}

String TChartSeries::SeriesNameOrIndex(TCustomChartSeries* Series) {
  if (!Series) return String();
  String Result = Series->GetName();
  if (Result.empty() && Series->GetParentChart())
    Result = ZelMsg_Series + std::to_string(Series->GetIndex() + 1);
  return Result;
}

String TChartSeries::SeriesTitleOrName(TCustomChartSeries* Series, bool RemoveBreaks) {
  if (!Series) return String();
  const String& Title = Series->GetTitle();
  if (Trim(Title).empty()) return SeriesNameOrIndex(Series);
  return RemoveBreaks ? TCustomAxisPanel::RemoveLineBreaks(Title) : Title;
}

// Marks

String TChartSeries::MarkPercent(std::int32_t ValueIndex, bool AddTotal) {
  const double Total = MandatoryValueList->GetTotalABS();
  const double P = Total == 0 ? 100.0 : std::fabs(GetMarkValue(ValueIndex)) * 100.0 / Total;
  String Result = FormatFloat(FPercentFormat, P);
  if (AddTotal) {
    const bool Multi = FMarks && FMarks->GetMultiLine();
    Result = Format(Multi ? ZelMsg_DefaultPercentOf2 : ZelMsg_DefaultPercentOf,
                    {Result, FormatFloat(FValueFormat, Total)});
  }
  return Result;
}

String TChartSeries::GetMarkTextStyle(bool MultiLine, std::int32_t ValueIndex, TSeriesMarksStyle Style) {
  const String Sep = MultiLine ? String(1, ZelLineSeparator) : String(" ");
  auto ValueText = [&]() { return FormatFloat(FValueFormat, GetMarkValue(ValueIndex)); };
  auto Label = [&]() { return GetMarkLabel(ValueIndex); };
  auto LabelOrValue = [&]() {
    String L = Label();
    return L.empty() ? ValueText() : L;
  };
  auto XText = [&]() { return XValueToText(NotMandatoryValueList->Value[ValueIndex]); };
  switch (Style) {
    case TSeriesMarksStyle::smsValue:
      return ValueText();
    case TSeriesMarksStyle::smsPercent:
      return MarkPercent(ValueIndex, false);
    case TSeriesMarksStyle::smsLabel:
      return Label();
    case TSeriesMarksStyle::smsLabelPercent:
      return LabelOrValue() + Sep + MarkPercent(ValueIndex, false);
    case TSeriesMarksStyle::smsLabelValue: {
      const String L = Label();
      return L.empty() ? ValueText() : L + Sep + ValueText();
    }
    case TSeriesMarksStyle::smsLegend: {
      String Text = FParent ? FParent->FormattedValueLegend(this, ValueIndex) : String();
      if (!MultiLine) std::replace(Text.begin(), Text.end(), ZelColumnSeparator, ' ');
      return Text;
    }
    case TSeriesMarksStyle::smsPercentTotal:
      return MarkPercent(ValueIndex, true);
    case TSeriesMarksStyle::smsLabelPercentTotal:
      return LabelOrValue() + Sep + MarkPercent(ValueIndex, true);
    case TSeriesMarksStyle::smsXValue:
      return XText();
    case TSeriesMarksStyle::smsXY:
      return XText() + Sep + ValueText();
    case TSeriesMarksStyle::smsSeriesTitle:
      return SeriesTitleOrName(this, false);
    case TSeriesMarksStyle::smsPointIndex:
      return std::to_string(ValueIndex);
    case TSeriesMarksStyle::smsPercentRelative: {
      double P = 100.0;
      if (ValueIndex != 0) {
        const double First = GetMarkValue(0);
        // A first value that is not finite relates nothing, as a first value of 0.
        P = First != 0 && std::isfinite(First) ? GetMarkValue(ValueIndex) * 100.0 / First : 0.0;
      }
      return FormatFloat(FPercentFormat, P);
    }
    case TSeriesMarksStyle::smsLabelPercentValue:
      return LabelOrValue() + Sep + MarkPercent(ValueIndex, false) + Sep + ValueText();
    case TSeriesMarksStyle::smsLabelOrValue:
      return LabelOrValue();
  }
  return LabelOrValue();
}

String TChartSeries::GetMarkText(std::int32_t ValueIndex) {
  String Result;
  TMarksItem* Item = FMarks ? FMarks->GetItems()->InternalGet(ValueIndex) : nullptr;
  if (Item && Item->ICustomText) {
    Result = Item->GetText();
    if (Result.size() >= 2 && Result.compare(Result.size() - 2, 2, "\r\n") == 0) Result.resize(Result.size() - 2);
  } else {
    const bool Multi = FMarks && FMarks->GetMultiLine();
    const TSeriesMarksStyle Style = FMarks ? FMarks->GetStyle() : TSeriesMarksStyle::smsLabelOrValue;
    Result = GetMarkTextStyle(Multi, ValueIndex, Style);
  }
  if (OnGetMarkText) OnGetMarkText(this, ValueIndex, Result);
  return Result;
}

void TChartSeries::DrawMarks() {
  if (!FMarks || !FParent) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return;
  const bool Blend = FMarks->GetUseSeriesTransparency() && FTransparency > 0;
  TBlendingScope Blending(Canvas, FParent->GetChartRect(), FTransparency, Blend);
  TSeriesMarkPosition Position;
  const bool Hover = HoverEnabled();
  const std::int32_t HoverIndex = Hover ? FSelected->GetHoverIndex() : -1;
  const std::int32_t Every = std::max(1, FMarks->GetDrawEvery());
  TMarksPlacingScope Placing(FMarks);
  for (std::int32_t I = std::max(FFirstVisibleIndex, 0); FFirstVisibleIndex >= 0 && I <= FLastVisibleIndex; ++I) {
    if (I % Every != 0 || IsNull(I)) continue;
    if (FMarks->GetSoftClip() && !IsPointInChartRect(I)) continue;
    const String Text = GetMarkText(I);
    if (Text.empty()) continue;
    TZelCustomShape* Item = FMarks->MarkItem(I);
    if (!Item || !Item->GetVisible()) continue;
    // Child shapes show the text of their own style.
    if (TZelShapes* Kids = FMarks->GetChildren())
      for (int C = 0; C < Kids->GetCount(); ++C)
        if (auto* Child = dynamic_cast<TSeriesMarkShape*>(Kids->Get(C)->GetShape()))
          Child->SetText(GetMarkTextStyle(FMarks->GetMultiLine(), I, Child->GetStyle()));
    auto* Shape = dynamic_cast<TCustomTextShape*>(Item);
    TZelFont* Font = Item->GetFont();
    const TFontStyles OldStyle = Font->GetStyle();
    const bool HoverStyle = I == HoverIndex && FSelected->GetHover()->GetFont();
    {
      TRestoreOnExit RestoreStyle([&] {
        if (HoverStyle) Font->SetStyle(OldStyle);
      });
      if (HoverStyle) Font->SetStyle(FSelected->GetHover()->GetFont()->GetStyle());
      CalculateMarkPosition(Shape ? Shape : FMarks, Text, CalcXPos(I), CalcYPos(I), &Position);
    }
    TEntityScope Entity(Canvas, Canvas->SupportsID ? ZelStr(I) : String(), nullptr, nullptr, Canvas->SupportsID);
    DrawMark(I, Text, &Position);
  }
}

void TChartSeries::DrawMark(std::int32_t ValueIndex, const String& St, TSeriesMarkPosition* APosition) {
  if (!FMarks) return;
  if (FMarks->GetAutoPosition() && !FMarks->AntiOverlap(std::max(FFirstVisibleIndex, 0), ValueIndex, APosition))
    return;
  FMarks->InternalDraw(ValueIndex, GetValueColor(ValueIndex), St, APosition);
}

void TChartSeries::CalculateMarkPosition(TCustomTextShape* AShape, const String& St, std::int32_t X, std::int32_t Y,
                                         TSeriesMarkPosition* APosition) {
  if (!AShape || !APosition || !FParent) return;
  TSeriesMarks::GiveText(AShape, St);
  AShape->CalcBounds(FParent);
  if (FMarks) FMarks->NoteMeasured(AShape);
  const TRectF B = AShape->ShapeBounds;
  const std::int32_t W = Round(B.Width()), H = Round(B.Height());
  APosition->Width = W;
  APosition->Height = H;
  if (FMarks) {
    if (TSeriesMarksSymbol* Symbol = FMarks->ExistingSymbol(); Symbol && Symbol->ShouldDraw()) {
      APosition->Width = W + H - 4;
      if (Symbol->GetPen()->GetWidth() > 1) {
        const std::int32_t PW = Round(Symbol->GetPen()->GetWidth());
        APosition->Width += PW;
        APosition->Height = H + PW;
      }
      Symbol->ShapeBounds = TRectF(0, 0, static_cast<float>(H), static_cast<float>(H));
    }
    FMarks->GetPositions()->MoveTo(APosition, static_cast<float>(X), static_cast<float>(Y));
  }
}

TPointF TChartSeries::MarkOverlap(std::int32_t, const TRectF& R1, const TRectF& R2) {
  if (YMandatory) return TPointF(0, R2.Top > R1.Top ? -(R1.Bottom - R2.Top) : R2.Bottom - R1.Top);
  return TPointF(R2.Left > R1.Left ? -(R1.Right - R2.Left) : R2.Right - R1.Left, 0);
}

std::int32_t TChartSeries::MaxMarkWidth() { return FMarks ? FMarks->MaxTextWidth() : 0; }

void TChartSeries::AddTextSources(TTextWidthKey& Key) {
  for (std::int32_t L = 0; L < FValuesList->Count(); ++L) {
    const TChartValueList* List = FValuesList->Get(L);
    Key.Stamps.insert(Key.Stamps.end(), {reinterpret_cast<std::uintptr_t>(List), List->Value.Stamp()});
    Key.Numbers.insert(Key.Numbers.end(), {double(List->GetCount()), double(List->GetDateTime())});
  }
  Key.Stamps.insert(Key.Stamps.end(), {reinterpret_cast<std::uintptr_t>(MandatoryValueList), FLabels.GetStamp()});
  Key.Numbers.insert(Key.Numbers.end(), {double(Count()), MandatoryValueList->GetTotalABS()});
  const TFormatSettings& F = FormatSettings();
  Key.Texts.insert(Key.Texts.end(),
                   {FValueFormat, FPercentFormat, SeriesTitleOrName(this, false), ZelMsg_DefaultPercentOf,
                    ZelMsg_DefaultPercentOf2, ZelMsg_Series,
                    String{F.DecimalSeparator, F.ThousandSeparator, F.DateSeparator, F.TimeSeparator},
                    F.ShortDateFormat, F.LongTimeFormat, F.TimeAMString, F.TimePMString});
}

// Mouse and hover

std::int32_t TChartSeries::Clicked(float X, float Y) { return Clicked(Round(X), Round(Y)); }

std::int32_t TChartSeries::Clicked(TPointF P) { return Clicked(Round(P.X), Round(P.Y)); }

bool TChartSeries::ClickedPointer(std::int32_t ValueIndex, TPointF P) {
  return ClickedPointer(ValueIndex, Round(P.X), Round(P.Y));
}

void TChartSeries::MouseDown(std::int32_t ValueIndex, TMouseButton Button, TShiftState Shift, std::int32_t X,
                             std::int32_t Y) {
  if (Shift.Contains(TShiftStateItem::ssDouble)) {
    if (OnDblClick) OnDblClick(this, ValueIndex, Button, Shift, X, Y);
  } else if (OnClick) {
    OnClick(this, ValueIndex, Button, Shift, X, Y);
  }
}

bool TChartSeries::HoverEnabled() {
  if (FParent && !(FParent->GetHover() && FParent->GetHover()->GetVisible())) return false;
  return FSelected && FSelected->GetHover()->GetVisible();
}

bool TChartSeries::PrepareHoverPen(std::int32_t ValueIndex) {
  if (ValueIndex == -1 || !HoverEnabled() || ValueIndex != FSelected->GetHoverIndex() || !FParent) return false;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return false;
  TZelPen* Pen = FSelected->GetHover()->GetPen();
  Canvas->AssignVisiblePenColor(Pen, Pen->GetColor());
  return true;
}

bool TChartSeries::CheckMouse(std::int32_t X, std::int32_t Y) {
  bool Result = FCursor != 0 || bool(OnMouseEnter) || bool(OnMouseLeave);
  if (!Result && !HoverEnabled()) return false;
  std::int32_t V = Clicked(X, Y);
  if (V == -1) {
    if (FMarks && FMarks->GetVisible()) V = FMarks->Clicked(X, Y);
    if (V == -1 && IsMouseInside) {
      IsMouseInside = false;
      if (OnMouseLeave) OnMouseLeave(this);
    }
    Result = false;
  } else {
    if (FCursor != 0 && FParent) FParent->SetCursor(FCursor);
    if (!IsMouseInside) {
      IsMouseInside = true;
      if (OnMouseEnter) OnMouseEnter(this);
    }
  }
  if (FSelected) FSelected->SetHoverIndex(V);
  return Result;
}

namespace {
// The mouse position in the chart's coordinates: the hook when set, else the platform's mouse
// service (screen coordinates) taken to the chart; a fixed point when neither is available.
TPointF ChartMousePos(TCustomAxisPanel* Chart) {
  TPointF P(0, 0);
  if (ZelGetChartMousePos && ZelGetChartMousePos(Chart, P)) return P;
  if (auto* Mouse = TPlatformServices::Current().GetMouseService()) {
    Mouse->GetMousePos(P.X, P.Y);
    if (Chart) P = Chart->ScreenToLocal(P);
  }
  return P;
}
}  // namespace

std::int32_t TChartSeries::GetCursorValueIndex() {
  const TPointF P = ChartMousePos(FParent);
  return Clicked(P);
}

void TChartSeries::GetCursorValues(double& X, double& Y) {
  const TPointF P = ChartMousePos(FParent);
  X = FGetHorizAxis ? FGetHorizAxis->CalcPosPoint(Round(P.X)) : 0.0;
  Y = FGetVertAxis ? FGetVertAxis->CalcPosPoint(Round(P.Y)) : 0.0;
}

TZelSelected* TChartSeries::GetSelected() {
  if (!FSelected) FSelected = Create<TZelSelected>(static_cast<TObject*>(this));
  return FSelected;
}

void TChartSeries::SetSelected(TZelSelected* Value) {
  if (!Value) {
    if (FSelected) FSelected->Free();
    FSelected = nullptr;
  } else if (Value != FSelected) {
    GetSelected()->Assign(Value);
  }
}

}  // namespace zel
