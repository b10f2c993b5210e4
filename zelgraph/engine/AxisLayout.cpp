// Axis layout: its pixel extent, the room it takes from the chart rectangle, the value-to-pixel
// mappings and back, hit area, scrolling and drawing at a place of the caller's choosing.
#include <algorithm>
#include <cmath>
#include <limits>

#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

// --- mapping ---

void TChartAxis::SetCalcPosValue() {
  TCalcKind K;
  if (IDepthAxis)
    K = TCalcKind::ckDepth;
  else if (FLogarithmic)
    K = TCalcKind::ckLog;
  else if (ChartFastCalc())
    K = TCalcKind::ckLinear;
  else
    K = TCalcKind::ckLinearCheck;
  IXCalc = K;
  IYCalc = K;
}

std::int32_t TChartAxis::ClampedPosValue(double Value, bool X) const {
  if (IRangeZero) return ICenterPos;
  const double D = OffsetPixels(Value);
  const bool FromStart = X != FInverted;
  const double P = FromStart ? IStartPos + D : IEndPos - D;
  if (P > ZelMaxPixelPos) return ZelMaxPixelPos;
  if (P < -ZelMaxPixelPos) return -ZelMaxPixelPos;
  return X ? XPosValue(Value) : YPosValue(Value);
}

std::int32_t TChartAxis::LogXPosValue(double Value) const {
  if (IsZero(IRangeLog)) return ICenterPos;
  if (Value <= 0) return FInverted ? IEndPos : IStartPos;
  const double L = std::log(Value);
  const double D = std::nearbyint(FInverted ? (ILogMax - L) * IAxisLogSizeRange : (L - ILogMin) * IAxisLogSizeRange);
  return ZelClampPixel(IStartPos + D);
}

std::int32_t TChartAxis::LogYPosValue(double Value) const {
  if (IsZero(IRangeLog)) return ICenterPos;
  if (Value <= 0) return FInverted ? IStartPos : IEndPos;
  const double L = std::log(Value);
  const double D = std::nearbyint(FInverted ? (ILogMax - L) * IAxisLogSizeRange : (L - ILogMin) * IAxisLogSizeRange);
  return ZelClampPixel(IEndPos - D);
}

std::int32_t TChartAxis::InternalCalcDepthPosValue(double Value) const {
  if (IRangeZero) return ICenterPos;
  return ZelClampPixel(
      std::nearbyint(FInverted ? IAxisSizeRange * Span(Value, IMaximum) : IAxisSizeRange * Span(IMinimum, Value)));
}

double TChartAxis::InternalCalcPosPoint(std::int32_t Value) const {
  if (FLogarithmic) {
    const bool StartIsMin = FHorizontal != FInverted;
    if (Value == IStartPos) return StartIsMin ? IMinimum : IMaximum;
    if (Value == IEndPos) return StartIsMin ? IMaximum : IMinimum;
    if (IsZero(IRangeLog) || IAxisSize == 0) return IMinimum;
    const double T = (FInverted ? static_cast<double>(IEndPos) - Value : static_cast<double>(Value) - IStartPos) *
                     IRangeLog / IAxisSize;
    return FHorizontal ? std::exp(ILogMin + T) : std::exp(ILogMax - T);
  }
  if (IAxisSize <= 0) return 0;
  const double Offset = FInverted ? static_cast<double>(IEndPos) - Value : static_cast<double>(Value) - IStartPos;
  if (IRangeHalved) {
    // In halves: the half distance from an end, added to the half end, stays finite on the axis.
    const double T = Offset * (Span(IMinimum, IMaximum) / IAxisSize);
    const double Half = FHorizontal ? 0.5 * IMinimum + T : 0.5 * IMaximum - T;
    return std::clamp(2 * Half, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
  }
  const double T = Offset * IRange / IAxisSize;
  return FHorizontal ? IMinimum + T : IMaximum - T;
}

std::int32_t TChartAxis::CalcSizeValue(double Start, double Finish) const {
  if (!(std::fabs(Finish - Start) > 0)) return 0;
  if (FLogarithmic) {
    // A signed difference of two clamped pixels.
    return ZelClampPixel(static_cast<double>(CalcPosValue(Finish)) - CalcPosValue(Start));
  }
  if (IRangeZero) return 0;
  return ZelClampPixel(std::nearbyint(std::fabs(Span(Start, Finish)) * IAxisSizeRange));
}

// --- positions ---

void TChartAxis::InternalCalcPositions() {
  std::int32_t Origin;
  double Size;
  if (IDepthAxis) {
    Origin = 0;
    Size = ChartWidth3D();
  } else {
    const TRectF R = ChartRectOf();
    if (FHorizontal) {
      Origin = Round(R.Left);
      Size = Round(R.Right) - Round(R.Left);
    } else {
      Origin = Round(R.Top);
      Size = Round(R.Bottom) - Round(R.Top);
    }
  }
  IStartPos = ZelClampPixel(Origin + std::nearbyint(Size * 0.01 * FStartPosition));
  IEndPos = ZelClampPixel(Origin + std::nearbyint(Size * 0.01 * FEndPosition));
  RecalcSizeCenter();
}

void TChartAxis::RecalcSizeCenter() {
  IAxisSize = SaturateInt(static_cast<double>(IEndPos) - IStartPos);
  ICenterPos = static_cast<std::int32_t>((static_cast<std::int64_t>(IStartPos) + IEndPos) / 2);
  InternalCalcRange();
}

std::int32_t TChartAxis::CalcZPos() {
  const double Size = IDepthAxis ? ChartHeight3D() : ChartWidth3D();
  return Round(Size * FZPosition * 0.01);
}

void TChartAxis::AdjustMaxMinRect(const TRectF& Rect) {
  const std::int32_t StartMargin = Round(FHorizontal ? Rect.Left : Rect.Top);
  const std::int32_t EndMargin = Round(FHorizontal ? Rect.Right : Rect.Bottom);
  const std::int32_t OldStart = IStartPos;
  const std::int32_t OldEnd = IEndPos;
  IStartPos = ZelClampPixel(static_cast<double>(IStartPos) + StartMargin);
  IEndPos = ZelClampPixel(static_cast<double>(IEndPos) - EndMargin);
  IAxisSize = SaturateInt(static_cast<double>(IEndPos) - IStartPos);
  double NewMin = InternalCalcPosPoint(OldStart);
  double NewMax = InternalCalcPosPoint(OldEnd);
  InternalCalcPositions();
  if (NewMin > NewMax) std::swap(NewMin, NewMax);
  // Ends near the largest double could grow past it: the axis then keeps its ends, and a range.
  if (std::isfinite(NewMax - NewMin)) {
    IMinimum = NewMin;
    IMaximum = NewMax;
  }
  InternalCalcRange();
  if (FSubAxes) {
    for (int I = 0; I < FSubAxes->GetCount(); ++I) {
      auto* Sub = static_cast<TChartAxis*>(FSubAxes->GetItem(I));
      Sub->IMinimum = IMinimum;
      Sub->IMaximum = IMaximum;
      Sub->InternalCalcRange();
      Sub->InternalCalcPositions();
    }
  }
}

std::int32_t TChartAxis::GetRectangleEdge(const TRectF& R) const {
  if (FHorizontal) return FOtherSide ? Round(R.Top) : Round(R.Bottom);
  return FOtherSide ? Round(R.Right) : Round(R.Left);
}

std::int32_t TChartAxis::ApplyPosition(std::int32_t APos, const TRectF& R) const {
  if (FPositionPercent == 0) return APos;
  std::int32_t Shift;
  if (FPosUnits == TAxisPosUnits::muPixels) {
    Shift = Round(FPositionPercent);
  } else {
    const double Size = FHorizontal ? Round(R.Bottom - R.Top) : Round(R.Right - R.Left);
    Shift = Round(FPositionPercent * 0.01 * Size);
  }
  if (FOtherSide) Shift = -Shift;
  return SaturateInt(FHorizontal ? static_cast<double>(APos) - Shift : static_cast<double>(APos) + Shift);
}

std::int32_t TChartAxis::InflateAxisPos(std::int32_t Value, std::int32_t Amount) const {
  const bool Outwards = FHorizontal ? !FOtherSide : FOtherSide;  // bottom and right grow
  return SaturateInt(Outwards ? static_cast<double>(Value) + Amount : static_cast<double>(Value) - Amount);
}

void TChartAxis::InflateAxisRect(TRectF& R, std::int32_t Value) const {
  if (FHorizontal) {
    if (FOtherSide)
      R.Top = std::min(R.Bottom - 1, R.Top + Value);
    else
      R.Bottom = std::max(R.Top + 1, R.Bottom - Value);
  } else {
    if (FOtherSide)
      R.Right = std::max(R.Left + 1, R.Right - Value);
    else
      R.Left = std::min(R.Right - 1, R.Left + Value);
  }
}

std::int32_t TChartAxis::SizeTickAxis(bool DrawTicks) {
  std::int32_t Result = FAxis->GetVisible() ? Round(FAxis->GetWidth() + 1.0) : 0;
  if (DrawTicks && FTicks->GetVisible()) Result += FTickLength;
  if (FMinorTicks->GetVisible()) Result = std::max(Result, FMinorTickLength);
  return Result;
}

std::int32_t TChartAxis::InternalCalcSize(TCustomTextShape* Shape, std::int32_t Angle, const String& Text,
                                          std::int32_t Size) {
  if (Size != 0) return Size;
  TCanvas3D* C = ChartCanvas();
  if (!C) return 0;
  C->AssignFont(Shape->GetFont());
  const bool Across = FHorizontal ? (Angle % 180 == 0) : (Angle == 90 || Angle == 270);
  std::int32_t Result;
  if (Across) {
    Result = C->TextHeight("W");
  } else if (Text.empty()) {
    Result = MaxLabelsWidth();
    C->AssignFont(Shape->GetFont());
  } else if (Shape->GetTextFormat() != TTextFormat::ttfNormal) {
    std::int32_t Lines = 0;
    Result = ChartMultiLineTextWidth(Text, Lines);
  } else {
    Result = C->TextWidth(Text);
  }
  if (Shape->GetTransparent()) return Result;
  TAxisLabelsFormat* F = FAxisItems->GetFormat();
  if (F->GetPen()->GetVisible()) Result += 2 * Round(F->GetPen()->GetWidth());
  if (F->GetShadow() && F->GetShadow()->GetVisible()) Result += std::abs(F->GetShadowSize());
  return Result;
}

std::int32_t TChartAxis::SizeLabels() {
  if (FLabels->IHeightFactor == 0) FLabels->IHeightFactor = 1;
  if (FHorizontal && GetLabelsAngle() == 0 && FAxisItems->GetAuto()) {
    CalcAllSeries();
    const TAxisLabelStyle Style = CalcLabelStyle();
    // Only series texts (or the chart's label event) can give a point a label: skip the walk
    // over the points when there are none.
    const TAxisOnGetLabel* OnLabel = ChartOnGetAxisLabel();
    const bool PointTexts = Style == TAxisLabelStyle::talMark || Style == TAxisLabelStyle::talText ||
                            Style == TAxisLabelStyle::talPointValue || (OnLabel && *OnLabel);
    if (!PointTexts) ISeriesList.clear();
    for (TChartSeries* S : ISeriesList) {
      if (S->GetFirstVisibleIndex() < 0) continue;
      // Texts of the series' own labels with no event to change them: none holds more lines than
      // the most any label of the series holds, and that is one for most series.
      if (Style == TAxisLabelStyle::talText && !(OnLabel && *OnLabel) &&
          S->GetLabels()->MaxLines() <= FLabels->IHeightFactor)
        continue;
      for (std::int32_t I = S->GetFirstVisibleIndex(); I <= S->GetLastVisibleIndex(); ++I) {
        double Value;
        String Text;
        if (GetAxisSeriesLabel(Style, S, I, Value, Text) && Value >= IMinimum && Value <= IMaximum) {
          const std::int32_t Lines = static_cast<std::int32_t>(std::count(Text.begin(), Text.end(), ZelLineSeparator)) + 1;
          FLabels->IHeightFactor = std::max(FLabels->IHeightFactor, Lines);
        }
      }
    }
    ISeriesList.clear();
  }
  std::int32_t Result = InternalCalcSize(FAxisItems->GetFormat(), GetLabelsAngle(), String(), GetLabelsSize()) *
                        FLabels->IHeightFactor;
  if (GetLabelsAlternate()) Result *= 2;
  return Result;
}

void TChartAxis::AssignToSub(TChartAxis* Sub) {
  Sub->FHorizontal = FHorizontal;
  Sub->FOtherSide = FOtherSide;
  Sub->FInverted = FInverted;
  Sub->FLogarithmic = FLogarithmic;
  Sub->FLogarithmicBase = FLogarithmicBase;
  Sub->SetCalcPosValue();
}

void TChartAxis::CalcRect(TRectF& R, bool InflateChartRectangle) {
  if (FSubAxes) {
    for (int I = 0; I < FSubAxes->GetCount(); ++I) {
      auto* Sub = static_cast<TChartAxis*>(FSubAxes->GetItem(I));
      if (!Sub->GetVisible()) continue;
      AssignToSub(Sub);
      Sub->InternalCalcPositions();
      Sub->AdjustMaxMin();
      Sub->CalcRect(R, true);
      Sub->FPosAxis = ApplyPosition(GetRectangleEdge(R), R);
    }
  }
  if (!InflateChartRectangle) {
    FPosAxis = ApplyPosition(GetRectangleEdge(R), R);
    FPosLabels = InflateAxisPos(FPosAxis, SizeTickAxis(true));
    FPosTitle = InflateAxisPos(FPosLabels, SizeLabels());
    return;
  }
  if (IExtraSpace > 0) InflateAxisRect(R, IExtraSpace);
  if (IDepthAxis) {
    FPosTitle = FOtherSide ? Round(R.Right) : Round(R.Left);
  } else if (FAxisTitle && FAxisTitle->GetVisible() && !FAxisTitle->GetCaption().empty()) {
    InflateAxisRect(R, InternalCalcSize(FAxisTitle, FAxisTitle->GetAngle(), FAxisTitle->GetCaption(), FTitleSize));
    FPosTitle = GetRectangleEdge(R);
  }
  if (GetLabels()) {
    FLabels->IHeightFactor = 0;
    std::int32_t S = SizeLabels();
    if (const TAxisCalcPosLabels* Hook = ChartCalcPosLabels(); Hook && *Hook) S = (*Hook)(this, S);
    InflateAxisRect(R, S);
    FPosLabels = GetRectangleEdge(R);
  }
  const std::int32_t S = ChartWallSize(this) + SizeTickAxis(GetLabelsPosition() == TAxisLabelsPosition::lpAtTick);
  if (S > 0) InflateAxisRect(R, S);
  FPosTitle = ApplyPosition(FPosTitle, R);
  FPosLabels = ApplyPosition(FPosLabels, R);
}

// --- hit area ---

TRectF TChartAxis::AxisRect() const {
  const std::int32_t Start = std::min(IStartPos, IEndPos);
  const std::int32_t End = std::max(IStartPos, IEndPos);
  std::int32_t Lo, Hi;
  if (GetLabels()) {
    if (FPosLabels < FPosAxis) {
      Lo = FPosLabels;
      Hi = FPosAxis + ZelAxisClickGap;
    } else {
      Lo = FPosAxis - ZelAxisClickGap;
      Hi = FPosLabels;
    }
  } else {
    Lo = FPosAxis;
    Hi = FPosAxis;
  }
  if (FHorizontal) return TRectF(Start, Lo, End, Hi);
  return TRectF(Lo, Start, Hi, End);
}

bool TChartAxis::Clicked(const TPointF& P) {
  if (!ChartIsAxisVisible()) return false;
  TRectF R = AxisRect();
  if (ChartView3D()) {
    if (TCanvas3D* C = ChartCanvas()) R = C->CalcRect3D(R, FOtherSide ? ChartWidth3D() : 0);
  }
  return PointInRect(R, P);
}

// --- scrolling ---

double TChartAxis::RangePart(double F) const {
  const double R = (FMaximumValue - FMinimumValue) * F;
  return std::isfinite(R) ? R : FMaximumValue * F - FMinimumValue * F;
}

void TChartAxis::Scroll(double Offset, bool CheckLimits) {
  bool Apply = Offset != 0;
  if (Apply && CheckLimits) {
    if (Offset > 0)
      Apply = ChartMinMax(false) - Offset > FMaximumValue;
    else
      Apply = FMinimumValue > ChartMinMax(true) - Offset;
  }
  // A shift that would carry an end past the double range (or is no number) is not made.
  if (!Apply || !std::isfinite(FMaximumValue + Offset) || !std::isfinite(FMinimumValue + Offset)) return;
  FAutomatic = false;
  FAutomaticMaximum = false;
  FAutomaticMinimum = false;
  FMaximumValue += Offset;
  FMinimumValue += Offset;
  Invalidate();
}

// --- drawing at a custom place ---

void TChartAxis::CustomDrawStartEnd(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis,
                                    bool GridVisible, std::int32_t AStartPos, std::int32_t AEndPos) {
  FPosLabels = APosLabels;
  FPosTitle = APosTitle;
  FPosAxis = APosAxis;
  IStartPos = AStartPos;
  IEndPos = AEndPos;
  RecalcSizeCenter();
  const bool OldVisible = FGrid->GetVisible();
  TNotifyEvent OldChange = FGrid->GetOnChange();
  FGrid->SetOnChange(nullptr);
  FGrid->SetVisible(GridVisible);
  TRestoreOnExit Restore([&] {
    FGrid->SetVisible(OldVisible);
    FGrid->SetOnChange(OldChange);
    InternalCalcPositions();
  });
  Draw(false);
}

void TChartAxis::CustomDraw(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis, bool GridVisible) {
  InternalCalcPositions();
  CustomDrawStartEnd(APosLabels, APosTitle, APosAxis, GridVisible, IStartPos, IEndPos);
}

void TChartAxis::CustomDrawMinMaxStartEnd(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis,
                                          bool GridVisible, double AMinimum, double AMaximum, double AIncrement,
                                          std::int32_t AStartPos, std::int32_t AEndPos) {
  const double OldMin = FMinimumValue;
  const double OldMax = FMaximumValue;
  const double OldInc = FDesiredIncrement;
  const bool OldAuto = FAutomatic;
  TRestoreOnExit Restore([&] {
    FMinimumValue = OldMin;
    FMaximumValue = OldMax;
    FDesiredIncrement = OldInc;
    FAutomatic = OldAuto;
    IMinimum = FMinimumValue;
    IMaximum = FMaximumValue;
    InternalCalcRange();
  });
  FAutomatic = false;
  FMinimumValue = AMinimum;
  FMaximumValue = AMaximum;
  FDesiredIncrement = AIncrement;
  IMinimum = FMinimumValue;
  IMaximum = FMaximumValue;
  InternalCalcRange();
  CustomDrawStartEnd(APosLabels, APosTitle, APosAxis, GridVisible, AStartPos, AEndPos);
}

void TChartAxis::CustomDrawMinMax(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis,
                                  bool GridVisible, double AMinimum, double AMaximum, double AIncrement) {
  InternalCalcPositions();
  CustomDrawMinMaxStartEnd(APosLabels, APosTitle, APosAxis, GridVisible, AMinimum, AMaximum, AIncrement, IStartPos,
                           IEndPos);
}

}  // namespace zel
