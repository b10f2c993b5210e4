// The axis scale: the ends of one drawing, their rounding, the logarithmic terms and the step
// between labels (numeric, logarithmic and date-time).
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Series.h"

namespace zel {

double ZelNextStep(double Value) {
  // Callers pass positive steps; anything else (0, negative, NaN) restarts the ladder at 1
  // instead of recursing without end. One decade per call, scaling the result back as the value
  // was scaled: 0.04 gives 0.05 and 0.07 gives 0.1 exactly (a scale accumulated over several
  // decades first would give neighbours of them).
  if (std::isinf(Value) || !(Value > 0)) return 1;
  // Below the normal range the decades lose their digits and would stop growing.
  if (Value < std::numeric_limits<double>::min()) return ZelNextStep(std::numeric_limits<double>::min());
  if (Value >= 10) return 10 * ZelNextStep(Value * 0.1);
  if (Value < 1) return 0.1 * ZelNextStep(Value * 10);
  if (Value < 2) return 2;
  if (Value < 5) return 5;
  return 10;
}

void TChartAxis::CalcMinMax(double& AMin, double& AMax) {
  // A sub-axis takes its automatic ends from its master's scale.
  if (FAutomatic || FAutomaticMaximum) AMax = FMaster ? FMaster->IMaximum : ChartMinMax(false);
  if (FAutomatic || FAutomaticMinimum) AMin = FMaster ? FMaster->IMinimum : ChartMinMax(true);
}

void TChartAxis::AdjustMaxMin() {
  // Rounding the ends steps by labels of the kind this axis shows now (dates or numbers), not
  // the kind the last layout found.
  IAxisDateTime = IsDateTime();
  CalcMinMax(FMinimumValue, FMaximumValue);
  IMaximum = FMaximumValue;
  IMinimum = FMinimumValue;
  if (OnCalcMaxLabel) {
    double Value = IMaximum;
    bool Stop = false;
    OnCalcMaxLabel(this, -1, Value, Stop);
    IMaximum -= Value;
  }
  InternalCalcRange();
  CalcRoundScales();
}

void TChartAxis::InternalCalcRange() {
  IRange = IMaximum - IMinimum;
  IRangeZero = IsZero(IRange);
  // Finite ends further apart than the largest double: map in halves (see OffsetPixels).
  IRangeHalved = std::isinf(IRange) && std::isfinite(IMinimum) && std::isfinite(IMaximum);
  IAxisSizeRange = IRangeZero ? 0 : IRangeHalved ? IAxisSize / Span(IMinimum, IMaximum) : IAxisSize / IRange;
  if (FLogarithmic) {
    // A minimum that is not positive maps as the lowest value the labels start from.
    const double Lowest = IMinimum <= 0 ? LogLowest() : IMinimum;
    ILogMin = Lowest <= 0 ? 0 : std::log(Lowest);
    ILogMax = IMaximum <= 0 ? 0 : std::log(IMaximum);
    IRangeLog = ILogMax - ILogMin;
    IAxisLogSizeRange = IsZero(IRangeLog) ? 0 : IAxisSize / IRangeLog;
  }
  IZPos = CalcZPos();
}

void TChartAxis::CalcRoundScales() {
  if (IAxisSize == 0 || IRangeZero) return;
  const bool RoundMax = FMaximumRound && (FAutomatic || FAutomaticMaximum);
  const bool RoundMin = FMinimumRound && (FAutomatic || FAutomaticMinimum);
  double Inc = 0;
  // An end whose rounding would leave the double range (or a step that already has) stays as it is.
  auto Rounded = [&Inc](double End, double Multiple) { return std::isfinite(Inc * Multiple) ? Inc * Multiple : End; };
  if (RoundMax) {
    Inc = CalcIncrement();
    if (Inc != 0) IMaximum = Rounded(IMaximum, std::ceil(IMaximum / Inc));
  }
  if (RoundMin) {
    if (Inc == 0) Inc = CalcIncrement();
    if (Inc != 0) IMinimum = Rounded(IMinimum, std::floor(IMinimum / Inc));
  }
  if (RoundMax || RoundMin) InternalCalcRange();
}

double TChartAxis::CalcIncrement() {
  double Lo = IMinimum;
  double Hi = IMaximum;
  if (GetRoundFirstLabel() && FDesiredIncrement != 0) {
    Lo = std::fabs(IMinimum) > 9.223372036854776e18 ? FDesiredIncrement * IMinimum
                                                    : FDesiredIncrement * static_cast<double>(Round64(IMinimum));
    Hi = FDesiredIncrement * std::trunc(IMaximum);
  }
  // Halve whole samples so that the sample shows decimals.
  auto WithDecimals = [](double V) {
    while (std::isfinite(V) && V != 0 && V == std::trunc(V)) V *= 0.5;
    return V;
  };
  const double Mid = std::midpoint(Lo, Hi);
  std::int32_t Size = std::max({InternalLabelSize(WithDecimals(Mid), FHorizontal),
                                InternalLabelSize(Lo, FHorizontal), InternalLabelSize(Hi, FHorizontal)});
  // A range across zero: its middle may be 0, which shows no decimals, and labels below zero
  // carry a sign; a sample from each half.
  if (Lo < 0 && Hi > 0)
    Size = std::max({Size, InternalLabelSize(WithDecimals(0.5 * Lo), FHorizontal),
                     InternalLabelSize(WithDecimals(0.5 * Hi), FHorizontal)});
  if (FDesiredIncrement != 0) {
    Size = std::max(Size, InternalLabelSize(Lo + FDesiredIncrement, FHorizontal));
    Size = std::max(Size, InternalLabelSize(Hi - FDesiredIncrement, FHorizontal));
  }
  double Result = CalcXYIncrement(Size);
  if (GetLabelsAlternate()) Result = FLogarithmic ? Result / FLogarithmicBase : Result * 0.5;
  return DateTimeLabelsIncrement(Result);
}

double TChartAxis::CalcXYIncrement(std::int32_t MaxLabelSize) {
  std::int32_t N = 1;
  double Size = MaxLabelSize;
  if (MaxLabelSize > 0 && IAxisSize > 0) {
    const std::int32_t Sep = GetLabelsSeparation();
    if (Sep > 0) Size += Round(Sep * 0.01 * Size);
    N = Round(IAxisSize / Size);
  }
  return CalcLabelsIncrement(N);
}

double TChartAxis::RoundLogPower(double Value) const {
  return std::pow(FLogarithmicBase, Round(std::log(Value) / std::log(FLogarithmicBase)));
}

double TChartAxis::LogLowest() const {
  // Never above the maximum, whatever the base: a power of 2 near 1e-10 lies above 1e-10.
  return std::min(IMinimum < 0 ? RoundLogPower(MinAxisRange) : 0.1, IMaximum);
}

double TChartAxis::LogGrowth() const { return FLogarithmicBase >= 1 ? FLogarithmicBase : 1 / FLogarithmicBase; }

double TChartAxis::LogStride(double Start) const {
  const double Growth = LogGrowth();
  const double Decades = std::floor((std::log(IMaximum) - std::log(Start)) / std::log(Growth)) + 1;
  const double Pixels = std::max(1, std::abs(IAxisSize));
  return Decades > Pixels ? std::pow(Growth, std::ceil(Decades / Pixels)) : Growth;
}

double TChartAxis::FloorLogPower(double Value) const {
  const double Growth = LogGrowth();
  // A value a rounding error below a power belongs to that power's decade.
  return std::pow(Growth, std::floor(std::log(Value) / std::log(Growth) + 1e-9));
}

double TChartAxis::CalcLabelsIncrement(std::int32_t MaxNumLabels) {
  if (MaxNumLabels <= 0) return IAxisDateTime ? DateTimeStep[dsMicrosecond] : MinAxisIncrement;
  if (IAxisDateTime) return CalcDateTimeIncrement(MaxNumLabels);

  double Step;
  if (FDesiredIncrement > 0) {
    Step = FDesiredIncrement;
  } else if (IRangeZero) {
    Step = 1;
  } else {
    Step = std::fabs(RangeOver(MaxNumLabels + 1.0));
    if (FLogarithmic) Step = RoundLogPower(Step);
    if (IRange >= 1.1 && Step < 1 && FParentChart) {
      // A series of few points on its non-mandatory axis gets no fractional step.
      for (std::int32_t I = 0; I < FParentChart->SeriesCount(); ++I) {
        auto* S = dynamic_cast<TChartSeries*>(FParentChart->GetSeries(I));
        if (!S || !S->GetActive()) continue;
        const bool NotMandatory = FHorizontal ? S->YMandatory : !S->YMandatory;
        if (NotMandatory && SeriesAssociated(S) && S->Count() <= MaxNumLabels) {
          Step = 1;
          break;
        }
      }
    }
  }
  // A logarithmic base below 1 grows the step by its inverse.
  auto Grow = [&](bool Doubling) {
    if (FLogarithmic)
      Step *= LogGrowth();
    else if (Doubling)
      Step *= 2;
    else
      Step = ZelNextStep(Step);
  };
  std::int64_t C = MaxNumLabels + 1;
  do {
    const double Q = RangeOver(Step);
    if (std::fabs(Q) < 2147483647.0) {
      C = Round(Q);
      if (C > MaxNumLabels) Grow(FDesiredIncrement > 0);
    } else {
      Grow(false);
    }
  } while (C > MaxNumLabels && !(Step > IRange) && !std::isinf(Step));
  if (std::isinf(Step)) return IRange;
  return std::max(Step, MinAxisIncrement);
}

double TChartAxis::RangeOver(double Divisor) const {
  // A range wider than the largest double divides in halves (a quotient above it is infinite).
  return IRangeHalved ? 2 * (Span(IMinimum, IMaximum) / Divisor) : IRange / Divisor;
}

double TChartAxis::CalcDateTimeIncrement(std::int32_t MaxNumLabels) {
  double Step = std::max(FDesiredIncrement, DateTimeStep[dsMicrosecond]);
  if (Step > 0 && MaxNumLabels > 0) {
    if (RangeOver(Step) > 1000000) Step = RangeOver(1000000);
    std::int32_t C;
    do {
      C = Round(RangeOver(Step));
      if (C > MaxNumLabels) {
        if (Step < DateTimeStep[dsYear])
          Step = Step < DateTimeStep[dsSecond] ? ZelNextStep(Step) : NextDateTimeStep(Step);
        else
          Step *= 2;
      }
    } while (C > MaxNumLabels && std::isfinite(Step));
  }
  return std::max(Step, DateTimeStep[dsMicrosecond]);
}

bool TChartAxis::IsDateTime() const {
  const TChartAxis* A = this;
  while (A->FMaster) A = A->FMaster;
  if (!A->FParentChart) return false;
  for (std::int32_t I = 0; I < A->FParentChart->SeriesCount(); ++I) {
    auto* S = dynamic_cast<TChartSeries*>(A->FParentChart->GetSeries(I));
    if (!S || !S->GetActive()) continue;
    if (TChartValueList* L = A->SeriesValueListOfAxis(S)) return L->GetDateTime();
  }
  return false;
}

bool TChartAxis::IncDecDateTime(bool Increment, double& Value, double AnIncrement,
                                TDateTimeStep tmpWhichDateTime) const {
  return IncDecDateTime(Increment, Value, AnIncrement, tmpWhichDateTime, IAxisDateTime);
}

bool TChartAxis::CalendarStep(TDateTimeStep Step, bool DateTime) const {
  return FExactDateTime && DateTime && Step >= dsHalfMonth && Step != dsNone;
}

bool TChartAxis::IncDecDateTime(bool Increment, double& Value, double AnIncrement, TDateTimeStep tmpWhichDateTime,
                                bool DateTime) const {
  const double Old = Value;
  const bool Exact = CalendarStep(tmpWhichDateTime, DateTime);
  ZelDateTimeIncrement(Exact, Increment, Value, AnIncrement, tmpWhichDateTime);
  return !SameValue(Old, Value);
}

void TChartAxis::SetMinMax(double AMin, double AMax) {
  FAutomatic = false;
  FAutomaticMinimum = false;
  FAutomaticMaximum = false;
  InternalSetMinimum(std::min(AMin, AMax));
  InternalSetMaximum(std::max(AMin, AMax));
  if (SameValue(FMinimumValue, FMaximumValue)) {
    InternalSetMinimum(FMinimumValue - MinAxisRange);
    InternalSetMaximum(FMaximumValue + MinAxisRange);
  }
  ChartResetSubScales();
}

}  // namespace zel
