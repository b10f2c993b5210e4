// Axis labels: the text of a value, the label style, label sizes, and the walks that choose which
// labels and ticks exist in one drawing, and how one label is placed and drawn.
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/Scope.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

namespace {
// Walks stop after this many steps even when a hook keeps moving the value back.
constexpr std::int32_t MaxWalkSteps = 20000;

std::int32_t CountLines(const String& Text) {
  return static_cast<std::int32_t>(std::count(Text.begin(), Text.end(), ZelLineSeparator)) + 1;
}

// Drops the last character (a whole UTF-8 sequence).
void DropLastChar(String& Text) {
  if (Text.empty()) return;
  std::size_t I = Text.size() - 1;
  while (I > 0 && (static_cast<unsigned char>(Text[I]) & 0xC0) == 0x80) --I;
  Text.erase(I);
}
}  // namespace

bool RectangleContains(const TRectF& Outer, const TRectF& Inner) {
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

// --- the default walk's values ---

double TChartAxis::ShownLabelValue(double Value) const {
  // The walks take an end within a tolerance: a value a rounding error past it is the end (the
  // labels drawn are those within the ends).
  return IMinimum <= IMaximum ? std::clamp(Value, IMinimum, IMaximum) : Value;
}

template <class TVisit>
void TChartAxis::ForEachDefaultLabel(double Inc, TDateTimeStep Step, TVisit&& Visit) {
  // (No label from 10000 steps over the range on.)
  if (!(std::fabs(RangeOver(Inc)) < 10000)) return;
  const TLabelEnds Ends = ValueLabelEnds(Inc, Step);
  double Value = Ends.First;
  if (!IRangeZero) {
    if (OnCalcMaxLabel) {
      for (int K = 0; K < 2; ++K) {
        double Delta = Value;
        bool Stop = false;
        OnCalcMaxLabel(this, -1, Delta, Stop);
        Value += Delta;
      }
    }
    if (!SameValue(IMinimum, IMaximum) && Value - Inc != Value) {
      // Values are the first less whole steps, not a sum of steps that drifts over many labels
      // (unless a hook moves them or the steps are calendar units).
      const double First = Value;
      const bool Exact = !OnNextLabelValue && !CalendarStep(Step, IAxisDateTime);
      for (std::int32_t N = 0; Value >= Ends.Limit && N < MaxWalkSteps; ++N) {
        if (OnNextLabelValue) {
          OnNextLabelValue(this, Value);
          if (Value < Ends.Limit) break;
        }
        if (!Visit(ShownLabelValue(Value))) return;
        // The walk goes on from the value as it was, not as it was shown.
        if (!IncDecDateTime(false, Value, Inc, Step)) break;
        if (Exact) Value = LabelBelow(First, N + 1, Inc);
        // Stepping down by a huge increment leaves rounding noise where the walk crosses zero,
        // which the general number form would show as a label: it is zero.
        if (std::fabs(Value) < std::fabs(Inc) * 1e-9) Value = 0;
      }
      return;
    }
  }
  Visit(ShownLabelValue(Value));
}

// --- text and sizes ---

String TChartAxis::LabelValue(double Value) {
  String Result;
  if (IAxisDateTime) {
    const String& Fmt = FDateTimeFormat.empty() ? ILabelTexts.DateTimeFormat : FDateTimeFormat;
    Result = DateTimeToString(Fmt.empty() ? DateTimeDefaultFormat(IRange) : Fmt, Value);
  } else if (ILabelTexts.Active) {
    const double Q = ILabelTexts.Quantum;
    double V = Value;
    if (Q > 0) {
      const double Rounded = std::nearbyint(Value / Q) * Q;
      if (std::isfinite(Rounded)) V = Rounded;
    }
    if (V == 0) V = 0;  // no "-0"
    if (!ILabelTexts.Exponent) {
      Result = FormatFloat(ILabelTexts.Format.empty() ? FAxisValuesFormat : ILabelTexts.Format, V);
    } else if (V == 0) {
      Result = "0";
    } else {
      // The mantissa keeps the digits down to the step's last one.
      const double Digits = std::floor(std::log10(std::fabs(V))) - (Q > 0 ? std::round(std::log10(Q)) : 0);
      const std::int32_t D = std::clamp(Trunc(Digits), 0, 14);
      Result = FormatFloat(D == 0 ? String("0E-0") : "0." + String(D, '#') + "E-0", V);
    }
  } else {
    Result = FormatFloat(FAxisValuesFormat, Value);
  }
  if (const TAxisOnGetLabel* E = ChartOnGetAxisLabel(); E && *E) (*E)(this, nullptr, -1, Result);
  if (GetLabelsMultiLine()) std::replace(Result.begin(), Result.end(), ' ', ZelLineSeparator);
  return Result;
}

std::int32_t TChartAxis::InternalLabelSize(double Value, bool IsWidth) {
  if (GetLabelsGridIgnoresLabelSize()) return 1;
  std::int32_t Lines = 1;
  const std::int32_t Width = ChartMultiLineTextWidth(LabelValue(Value), Lines);
  const std::int32_t Angle = GetLabelsAngle();
  const bool Across = IsWidth ? (Angle == 90 || Angle == 270) : (Angle == 0 || Angle == 180);
  if (!Across) return Width;
  TCanvas3D* C = ChartCanvas();
  return C ? C->TextHeight("W") * Lines : 0;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() {
  const TAxisLabelStyle S = GetLabelStyle();
  return S == TAxisLabelStyle::talAuto ? InternalCalcLabelStyle() : S;
}

TAxisLabelStyle TChartAxis::InternalCalcLabelStyle() {
  if (FMaster) return FMaster->CalcLabelStyle();
  if (!FParentChart) return TAxisLabelStyle::talNone;
  bool Any = false;
  for (std::int32_t I = 0; I < FParentChart->SeriesCount(); ++I) {
    auto* S = dynamic_cast<TChartSeries*>(FParentChart->GetSeries(I));
    if (!S || !S->GetActive() || !SeriesAssociated(S)) continue;
    Any = true;
    const bool NotMandatory = FHorizontal ? S->YMandatory : !S->YMandatory;
    if (S->HasZValues || !NotMandatory) continue;
    if (SeriesHasPointLabels(S)) return TAxisLabelStyle::talPointValue;
    if (S->HasLabels()) return TAxisLabelStyle::talText;
  }
  return Any ? TAxisLabelStyle::talValue : TAxisLabelStyle::talNone;
}

TAxisLabelStyle TChartDepthAxis::InternalCalcLabelStyle() {
  TCustomAxisPanel* P = GetParentChart();
  if (P) {
    for (std::int32_t I = 0; I < P->SeriesCount(); ++I) {
      auto* S = dynamic_cast<TChartSeries*>(P->GetSeries(I));
      if (S && S->GetActive() && (S->HasZValues || S->MinZValue() != S->MaxZValue()))
        return TAxisLabelStyle::talValue;
    }
  }
  return TAxisLabelStyle::talText;
}

std::int32_t TChartAxis::MaxLabelsWidth() {
  TCanvas3D* C = ChartCanvas();
  if (!FAxisItems->GetAuto()) {
    // The texts the items draw (DoCustomItems).
    TValueScope<TLabelTexts> Texts(ILabelTexts, CustomItemsLabelTexts());
    std::int32_t Result = 0;
    for (std::int32_t I = 0; I < FAxisItems->GetCount(); ++I) {
      TAxisItem* Item = FAxisItems->Get(I);
      const String Text = CustomItemText(Item);
      if (C) C->AssignFont(Item->ActiveFormat()->GetFont());
      std::int32_t Lines = 1;
      Result = std::max(Result, ChartMultiLineTextWidth(Text, Lines));
    }
    return Result;
  }
  switch (const TAxisLabelStyle Style = CalcLabelStyle()) {
    case TAxisLabelStyle::talValue:
    case TAxisLabelStyle::talPointValue: {
      // The texts of the labels the walk makes: the same ends, the same steps. Ends that lie the
      // wrong way round (a maximum below the minimum) are put in order before the axis draws
      // (AdjustMaxMinRect), and the walk labels them in order.
      const double Lo = IMinimum, Hi = IMaximum;
      const bool Reversed = Hi < Lo;
      TRestoreOnExit Ends([&] {
        if (!Reversed) return;
        IMinimum = Lo;
        IMaximum = Hi;
        InternalCalcRange();
      });
      if (Reversed) {
        IMinimum = Hi;
        IMaximum = Lo;
        InternalCalcRange();
      }
      const double Inc = CalcIncrement();
      std::int32_t Result = 0;
      auto Measure = [&](double V) {
        std::int32_t Lines = 1;
        Result = std::max(Result, ChartMultiLineTextWidth(LabelValue(V), Lines));
      };
      if (Inc > 0) {
        const TDateTimeStep Step = LabelDateTimeStep(Inc);
        // The texts in the format the labels take (DrawLabelsStep).
        TLabelTexts T;
        if (Style == TAxisLabelStyle::talPointValue && IAxisDateTime)
          T = PointValueLabelTexts(Inc, Step);
        else if (DefaultValueWalk())
          T = ReadableLabels(Inc, Step);
        TValueScope<TLabelTexts> Texts(ILabelTexts, std::move(T));
        ForEachDefaultLabel(Inc, Step, [&](double V) {
          Measure(V);
          return true;
        });
      } else {
        Measure(IMaximum);
        Measure(IMinimum);
      }
      return Result + (C ? C->TextWidth(" ") : 0);
    }
    case TAxisLabelStyle::talMark:
      return ChartMaxMarkWidth();
    case TAxisLabelStyle::talText: {
      const TAxisOnGetLabel* E = ChartOnGetAxisLabel();
      if (!E || !*E) return ChartMaxTextWidth();
      std::int32_t Result = 0;
      for (std::int32_t I = 0; I < FParentChart->SeriesCount(); ++I) {
        auto* S = dynamic_cast<TChartSeries*>(FParentChart->GetSeries(I));
        if (!S) continue;
        for (std::int32_t J = 0; J < S->Count(); ++J) {
          String Text = S->GetXLabel(J);
          (*E)(this, S, J, Text);
          std::int32_t Lines = 1;
          if (!Text.empty()) Result = std::max(Result, ChartMultiLineTextWidth(Text, Lines));
        }
      }
      return Result;
    }
    default:
      return 0;
  }
}

void TChartAxis::CalcAllSeries() {
  ISeriesList.clear();
  if (!FParentChart) return;
  for (std::int32_t I = 0; I < FParentChart->SeriesCount(); ++I) {
    auto* S = dynamic_cast<TChartSeries*>(FParentChart->GetSeries(I));
    if (S && S->GetActive() && SeriesAssociated(S)) ISeriesList.push_back(S);
  }
}

bool TChartAxis::GetAxisSeriesLabel(TAxisLabelStyle AStyle, TChartSeries* Series, std::int32_t ValueIndex,
                                    double& Value, String& Text) {
  if (ValueIndex < Series->GetFirstVisibleIndex() || ValueIndex > Series->GetLastVisibleIndex()) return false;
  if (ValueIndex < 0 || ValueIndex >= Series->Count()) return false;
  switch (AStyle) {
    case TAxisLabelStyle::talMark:
      Text = SeriesMarkText(Series, ValueIndex);
      break;
    case TAxisLabelStyle::talText:
      Text = Series->GetXLabel(ValueIndex);
      break;
    case TAxisLabelStyle::talPointValue: {
      TChartValueList* Mandatory = Series->MandatoryValueList;
      TChartValueList* Own = SeriesValueListOfAxis(Series);
      TChartValueList* L = (Own && Own == Mandatory) ? Mandatory : Series->NotMandatoryValueList;
      Text = L ? LabelValue(L->Value[ValueIndex]) : String();
      break;
    }
    default:
      Text.clear();
      break;
  }
  if (const TAxisOnGetLabel* E = ChartOnGetAxisLabel(); E && *E) (*E)(this, Series, ValueIndex, Text);
  if (Text.empty()) return false;
  if (IDepthAxis) {
    TChartValueList* L = SeriesValueListOfAxis(Series);
    Value = L ? L->Value[ValueIndex] : 0;
  } else if (SeriesHasPointLabels(Series)) {
    Value = ValueIndex;
  } else {
    Value = FHorizontal ? Series->GetxValue(ValueIndex) : Series->GetyValue(ValueIndex);
  }
  return true;
}

std::int32_t TChartAxis::DepthAxisPos() {
  const TRectF R = ChartRectOf();
  return FOtherSide ? Round(R.Bottom - CalcZPos()) : Round(R.Top + CalcZPos());
}

// --- the walks ---

bool TChartAxis::IsLabelsVisible() const { return GetLabels(); }
bool TChartAxis::IsGridVisibleAlways() const { return FGrid->GetVisible() && FGrid->GetDrawAlways(); }

void TChartAxis::DrawLabelsStep(TLabelWalk& W) {
  TCanvas3D* C = ChartCanvas();
  const bool Behind = GetLabelsBehind();
  TEntityScope Labels(C, "Labels", nullptr, nullptr, Behind);
  W.Alternate = FHorizontal;
  Tick.clear();
  if (!FAxisItems->GetAuto()) {
    DoCustomItems(W);
  } else {
    FAxisItems->Clear();
    W.Style = CalcLabelStyle();
    if (W.Style != TAxisLabelStyle::talNone || IsGridVisibleAlways()) {
      if (C) C->AssignFont(GetLabelsFont());
      W.Inc = CalcIncrement();
      W.Step = LabelDateTimeStep(W.Inc);
      const bool LongStep = W.Step >= dsHalfMonth && W.Step <= dsYear;
      if ((W.Inc > 0 || LongStep) && IMaximum >= IMinimum) {
        switch (W.Style) {
          case TAxisLabelStyle::talValue: {
            const TAxisOnGetNextLabel* E = ChartOnGetNextAxisLabel();
            if (E && *E) {
              DoCustomLabels(W);
            } else if (FLogarithmic && FDesiredIncrement == 0) {
              DoDefaultLogLabels(W);
            } else {
              TValueScope<TLabelTexts> Texts(ILabelTexts, ReadableLabels(W.Inc, W.Step));
              DoDefaultLabels(W);
            }
            break;
          }
          case TAxisLabelStyle::talText: {
            auto* D = dynamic_cast<TChartDepthAxis*>(this);
            if (IDepthAxis && D && D->GetLabelsAsSeriesTitles())
              DoSeriesTitleLabels(W);
            else
              DoSeriesLabels(W);
            break;
          }
          case TAxisLabelStyle::talMark:
            DoSeriesLabels(W);
            break;
          case TAxisLabelStyle::talPointValue: {
            // The points' values in the format the room was measured with (MaxLabelsWidth).
            TValueScope<TLabelTexts> Texts(ILabelTexts, PointValueLabelTexts(W.Inc, W.Step));
            DoSeriesLabels(W);
            break;
          }
          default:
            break;
        }
      }
    }
  }
}

void TChartAxis::InternalDrawLabel(TLabelWalk& W, double Value) {
  const double Shown = ShownLabelValue(Value);
  const std::int32_t Pos = CalcPosValue(Shown);
  if ((GetLabelsOnAxis() && IGapSize < 1) || (IStartPos < Pos && Pos < IEndPos)) {
    if (!FTickOnLabelsOnly) Tick.push_back(Pos);
    if (IsLabelsVisible() || IsGridVisibleAlways()) AddTickAndSaveLabel(W, Shown, Pos, LabelValue(Shown), nullptr);
  }
}

void TChartAxis::AddTickAndSaveLabel(TLabelWalk& W, double Value, std::int32_t Pos, const String& Text,
                                     TCustomTextShape* Format, std::int32_t ItemIndex) {
  if (FTickOnLabelsOnly) Tick.push_back(Pos);
  const TAxisLabelsPosition LP = GetLabelsPosition();
  if (LP != TAxisLabelsPosition::lpAtTick) {
    TCanvas3D* C = ChartCanvas();
    const std::int32_t Half = C ? C->TextWidth(Text) / 2 : 0;
    Pos = LP == TAxisLabelsPosition::lpAfterTick ? Pos + Half : Pos - Half;
  }
  if (IsLabelsVisible() && !Format) {
    TAxisItem* Item = FAxisItems->InternalAdd(Value, Text);
    Item->SetLabelPos(Pos);
    ItemIndex = FAxisItems->GetCount() - 1;
  }
  if (GetLabelsBehind() && IsLabelsVisible()) DrawThisLabel(W, ItemIndex, Value, Pos, Text, Format);
}

TDateTimeStep TChartAxis::LabelDateTimeStep(double Inc) const {
  if (!IAxisDateTime || !FExactDateTime || FDesiredIncrement == 0) return dsNone;
  TDateTimeStep Step = FindDateTimeStep(FDesiredIncrement);
  if (Step != dsNone)
    while (Inc > DateTimeStep[Step] && Step < dsYear) Step = static_cast<TDateTimeStep>(Step + 1);
  return Step;
}

double TChartAxis::LabelEndTolerance(double End, double Inc) const {
  // The equality tolerance of the end, never more than a hundredth of a step; at least a
  // millionth of a step, far more than a walk of 10000 steps drifts by, but no more than a
  // millionth of the range (less than a pixel): a step far larger than the range puts no label
  // off the axis.
  const double Step = std::fabs(Inc);
  const double Equal = std::max(1e-12 * std::fabs(End), 1e-12);
  double Drift = 1e-6 * Step;
  if (!IRangeZero && std::isfinite(IRange)) Drift = std::min(Drift, 1e-6 * std::fabs(IRange));
  return std::max(Drift, Step > 0 ? std::min(Equal, 0.01 * Step) : Equal);
}

double TChartAxis::LabelBelow(double First, std::int64_t N, double Inc) const {
  const double Steps = static_cast<double>(N);
  if (IRangeHalved) return 2 * (0.5 * First - Steps * (0.5 * Inc));
  return First - Steps * Inc;
}

TChartAxis::TLabelEnds TChartAxis::ValueLabelEnds(double Inc, TDateTimeStep Step) const {
  // (Ends at the largest doubles: past them lies no label, only an overflow to infinity.)
  constexpr double Largest = std::numeric_limits<double>::max();
  const double Top = std::min(IMaximum + LabelEndTolerance(IMaximum, Inc), Largest);
  TLabelEnds Ends;
  if (IAxisDateTime && FExactDateTime && Step >= dsDay && Step <= dsYear) {
    Ends.First = ZelRoundDate(IMaximum, Step);
  } else if (SameValue(IMinimum, IMaximum) || !GetRoundFirstLabel() || !(Inc > 0)) {
    Ends.First = IMaximum;
  } else {
    // A maximum that is a multiple of the step may divide to just below that multiple.
    double K = std::trunc(IMaximum / Inc);
    // (Near the largest double the next multiple may not exist.)
    if (const double Next = Inc * (K + 1); std::isfinite(Next) && Next <= Top) K += 1;
    Ends.First = Inc * K;
  }
  for (std::int32_t N = 0; Ends.First > Top && N < MaxWalkSteps; ++N)
    if (!IncDecDateTime(false, Ends.First, Inc, Step)) break;
  Ends.Limit = std::max(IMinimum - LabelEndTolerance(IMinimum, Inc), -Largest);
  return Ends;
}

bool TChartAxis::DefaultValueWalk() const {
  const TAxisOnGetNextLabel* E = ChartOnGetNextAxisLabel();
  return !(E && *E) && !(FLogarithmic && FDesiredIncrement == 0);
}

TChartAxis::TLabelTexts TChartAxis::ReadableLabels(double Inc, TDateTimeStep Step) {
  // Only the library's own number format is adapted: a format a program sets is its choice.
  if (IAxisDateTime) return DateTimeLabelTexts(Inc, Step);
  TLabelTexts T;
  if (FAxisValuesFormat != ZelMsg_DefValueFormat || !(Inc > 0) || !std::isfinite(Inc)) return T;
  T.Active = true;
  // The step's last significant digit.
  const double E = std::floor(std::log10(Inc));
  double Quantum = std::pow(10.0, E);
  for (std::int32_t D = 0; D <= 15; ++D) {
    Quantum = std::pow(10.0, E - D);
    if (std::fabs(std::nearbyint(Inc / Quantum) * Quantum - Inc) <= 1e-9 * Inc) break;
  }
  // Labels are multiples of the step only when the first one is rounded to it.
  if (GetRoundFirstLabel()) T.Quantum = Quantum;
  // A range the format writes in the general form (very large values) is written in the
  // exponent form throughout, not part fixed and part exponent.
  const double Big = std::max(std::fabs(IMinimum), std::fabs(IMaximum));
  if (std::isfinite(Big) && FormatFloat(FAxisValuesFormat, Big).find_first_of("Ee") != String::npos) {
    T.Exponent = true;
    return T;
  }
  // More decimals only when the format would write two neighbouring labels alike.
  bool Alike = false, Any = false;
  String Previous;
  ForEachDefaultLabel(Inc, Step, [&](double V) {
    const double R = T.Quantum > 0 ? std::nearbyint(V / T.Quantum) * T.Quantum : V;
    String Text = FormatFloat(FAxisValuesFormat, R);
    Alike = Any && Text == Previous;
    Any = true;
    Previous = std::move(Text);
    return !Alike;
  });
  if (!Alike) return T;
  const std::int32_t Decimals = std::max(0, -Trunc(std::floor(std::log10(Quantum) + 1e-9)));
  // Very small values read better as exponents than as a run of zeros.
  if (Decimals > 6)
    T.Exponent = true;
  else
    T.Format = "#,##0." + String(Decimals, '#');
  return T;
}

namespace {

// Where Format stands in Formats (a chosen label format; empty is the default, the first).
std::size_t FormatIndex(const std::vector<String>& Formats, const String& Format) {
  const auto Found = std::find(Formats.begin(), Formats.end(), Format);
  return Found == Formats.end() ? 0 : static_cast<std::size_t>(Found - Formats.begin());
}

}  // namespace

String TChartAxis::DistinctDateTimeFormat(const std::vector<double>& Values) const {
  const std::vector<String> Formats = DateTimeLabelFormats(IRange);
  const std::size_t Chosen = FirstDistinctFormat(Formats, Values);
  return Chosen > 0 ? Formats[Chosen] : String();
}

TChartAxis::TLabelTexts TChartAxis::DateTimeLabelTexts(double Inc, TDateTimeStep Step) {
  TLabelTexts T;
  if (!FDateTimeFormat.empty() || !(Inc > 0)) return T;
  std::vector<double> Values;
  ForEachDefaultLabel(Inc, Step, [&Values](double V) {
    Values.push_back(V);
    return true;
  });
  if (Values.empty()) return T;
  T.DateTimeFormat = DistinctDateTimeFormat(Values);
  return T;
}

TChartAxis::TLabelTexts TChartAxis::PointValueLabelTexts(double Inc, TDateTimeStep Step) {
  TLabelTexts T;
  if (!IAxisDateTime || !FDateTimeFormat.empty() || !DefaultValueWalk()) return T;
  T = DateTimeLabelTexts(Inc, Step);
  const std::vector<String> Formats = DateTimeLabelFormats(IRange);
  std::size_t I = FormatIndex(Formats, T.DateTimeFormat);
  // Which points get a label depends on the texts' sizes: each format is tried with the labels it
  // would draw.
  TLabelWalk W;
  W.Style = TAxisLabelStyle::talPointValue;
  std::vector<TDrawnLabel> Drawn;
  for (; I + 1 < Formats.size(); ++I) {
    T.DateTimeFormat = I == 0 ? String() : Formats[I];
    Drawn.clear();
    {
      TValueScope<TLabelTexts> Texts(ILabelTexts, T);
      DoSeriesLabels(W, &Drawn);
    }
    std::stable_sort(Drawn.begin(), Drawn.end(),
                     [](const TDrawnLabel& A, const TDrawnLabel& B) { return A.Pos < B.Pos; });
    const auto Same = std::adjacent_find(Drawn.begin(), Drawn.end(), [](const TDrawnLabel& A, const TDrawnLabel& B) {
      return A.Text == B.Text;
    });
    if (Same == Drawn.end()) return T;
  }
  T.DateTimeFormat = I == 0 ? String() : Formats[I];
  return T;
}

TChartAxis::TLabelTexts TChartAxis::CustomItemsLabelTexts() {
  TLabelTexts T;
  if (!IAxisDateTime || !FDateTimeFormat.empty()) return T;
  std::vector<double> Values;
  for (std::int32_t I = 0; I < FAxisItems->GetCount(); ++I) {
    TAxisItem* Item = FAxisItems->Get(I);
    if (Item->GetText().empty() && CustomItemOnAxis(Item) && Item->ActiveFormat()->GetVisible())
      Values.push_back(Item->GetValue());
  }
  // Neighbours along the axis; items at one value are one label.
  std::sort(Values.begin(), Values.end());
  Values.erase(std::unique(Values.begin(), Values.end()), Values.end());
  if (Values.size() < 2) return T;
  T.DateTimeFormat = DistinctDateTimeFormat(Values);
  return T;
}

bool TChartAxis::CustomItemOnAxis(TAxisItem* Item) const {
  const double Value = Item->GetValue();
  return Value >= FMinimumValue && Value <= FMaximumValue;
}

String TChartAxis::CustomItemText(TAxisItem* Item) {
  return Item->GetText().empty() ? LabelValue(Item->GetValue()) : Item->GetText();
}

double TChartAxis::DateTimeLabelsIncrement(double Inc) {
  // Only value labels take the format; a step measured inside a chosen format stays as it is.
  if (!IAxisDateTime || !FDateTimeFormat.empty() || !ILabelTexts.DateTimeFormat.empty() ||
      !DefaultValueWalk())
    return Inc;
  const TAxisLabelStyle Style = CalcLabelStyle();
  if (Style != TAxisLabelStyle::talValue && Style != TAxisLabelStyle::talPointValue) return Inc;
  const std::vector<String> Formats = DateTimeLabelFormats(IRange);
  // Each round either ends or measures a format further down the list, so the rounds end. The
  // labels then take a format no further down the list (in practice no wider) than the one
  // their step was measured with.
  std::size_t Measured = 0;
  for (;;) {
    const TLabelTexts Texts = DateTimeLabelTexts(Inc, LabelDateTimeStep(Inc));
    const std::size_t Chosen = FormatIndex(Formats, Texts.DateTimeFormat);
    if (Chosen <= Measured) return Inc;
    Measured = Chosen;
    TValueScope<TLabelTexts> Scope(ILabelTexts, Texts);
    Inc = CalcIncrement();
  }
}

void TChartAxis::DoDefaultLabels(TLabelWalk& W) {
  ForEachDefaultLabel(W.Inc, W.Step, [&](double Value) {
    InternalDrawLabel(W, Value);
    return true;
  });
}

void TChartAxis::DoDefaultLogLabels(TLabelWalk& W) {
  // (No positive value lies on an axis whose maximum is not positive.)
  if (SameValue(IMinimum, IMaximum) || !(IMaximum > 0)) return;
  const double Base = FLogarithmicBase;
  // A base below 1 walks by its inverse so that values still grow.
  const double Growth = LogGrowth();
  double Start;
  if (IMinimum <= 0) {
    IMinimum = LogLowest();
    Start = IMinimum;
  } else {
    // The decade the minimum lies in: a start rounded up past the minimum would leave a range
    // in the upper part of one decade (5 .. 9.5) without a single label.
    Start = FloorLogPower(IMinimum);
  }
  const bool Minor = FMinorGrid->GetVisible();
  if (Minor) {
    const double Below = Start >= IMinimum ? std::pow(Base, std::log(IMinimum) / std::log(Base) - 1) : Start;
    if (Below < IMinimum) Tick.push_back(CalcPosValue(Below));
  }
  bool Counted = false;
  double Value = Start;
  const double Top = IMaximum + LabelEndTolerance(IMaximum, 0);
  const double Bottom = IMinimum - LabelEndTolerance(IMinimum, 0);
  // Never more ticks than the axis has pixels: over more decades, every k-th decade.
  const double Stride = LogStride(Start);
  for (std::int32_t N = 0; Value <= Top && std::isfinite(Value) && N < MaxWalkSteps; ++N) {
    if (Value >= Bottom) {
      InternalDrawLabel(W, Value);
      Counted = true;
    }
    Value *= Stride;
  }
  if (!Counted) {
    // The range lies inside one decade: its multiples of a tenth of the decade (for base 10).
    const double Step = Start / Growth;
    if (Step > 0 && std::isfinite(Step)) {
      const double StepTop = IMaximum + LabelEndTolerance(IMaximum, Step);
      const double StepBottom = IMinimum - LabelEndTolerance(IMinimum, Step);
      // (A large base puts the minimum many steps above the decade's start.)
      const double First = std::max(0.0, std::floor((StepBottom - Start) / Step));
      for (std::int32_t N = 0; N < MaxWalkSteps; ++N) {
        const double V = Start + (First + N) * Step;
        if (V > StepTop) break;
        if (V >= StepBottom) InternalDrawLabel(W, V);
      }
    }
  }
  if (Minor && Start > IMaximum) Tick.push_back(CalcPosValue(Start));
}

void TChartAxis::DoCustomLabels(TLabelWalk& W) {
  const TAxisOnGetNextLabel& E = *ChartOnGetNextAxisLabel();
  double Value = IMinimum;
  bool Stop = true;
  std::int32_t Index = 0;
  E(this, Index, Value, Stop);
  if (Stop) {
    if (FLogarithmic && FDesiredIncrement == 0)
      DoDefaultLogLabels(W);
    else
      DoDefaultLabels(W);
    return;
  }
  // A value a little past an end still labels it: within 1e-7, or within a millionth of the
  // range (under a pixel) on an axis narrower than a tenth, so no label lands off the axis.
  double Band = 1e-7;
  if (!IRangeZero && std::isfinite(IRange)) Band = std::min(Band, 1e-6 * std::fabs(IRange));
  for (std::int32_t Count = 0; Count <= 2000; ++Count) {
    if (Value < IMinimum - Band || Value > IMaximum + Band) break;
    InternalDrawLabel(W, Value);
    E(this, ++Index, Value, Stop);
    if (Stop) break;
  }
}

namespace {
// The first index in [From, To) whose value (Values[I], or I when Values is null) passes Test, for
// a Test false then true along the ordered values.
template <class TTest>
std::int32_t FirstIndexOf(const double* Values, std::int32_t From, std::int32_t To, TTest Test) {
  while (From < To) {
    const std::int32_t Mid = From + (To - From) / 2;
    if (Test(Values ? Values[Mid] : static_cast<double>(Mid)))
      To = Mid;
    else
      From = Mid + 1;
  }
  return From;
}
}  // namespace

void TChartAxis::DoSeriesLabels(TLabelWalk& W, std::vector<TDrawnLabel>* Drawn) {
  // A walk that only looks works on a list of its own: it may run inside a walk over the series
  // list (a label drawn in the walk measures the labels' room), whose list it must not touch.
  std::optional<TValueScope<std::vector<TChartSeries*>>> OwnList;
  if (Drawn) OwnList.emplace(ISeriesList, std::vector<TChartSeries*>());
  CalcAllSeries();
  std::int32_t First = INT_MAX;
  std::int32_t Last = -1;
  for (TChartSeries* S : ISeriesList) {
    if (S->GetFirstVisibleIndex() >= 0) First = std::min(First, S->GetFirstVisibleIndex());
    Last = std::max(Last, S->GetLastVisibleIndex());
  }
  TCanvas3D* C = ChartCanvas();
  if (First != INT_MAX && Last >= First) {
    const std::int32_t Angle = GetLabelsAngle();
    const bool Swap = Angle == 90 || Angle == 270;
    const bool Widths = FHorizontal != Swap;
    const std::int32_t Sep = GetLabelsSeparation();
    const bool Trim = FLabels->GetAutomatic() && FLabels->GetAutomatic()->GetTrim();
    auto Measure = [&](const String& Text) -> std::int32_t {
      std::int32_t Lines = 1;
      const std::int32_t Width = ChartMultiLineTextWidth(Text, Lines);
      if (Widths) return Width;
      return C ? C->TextHeight("W") * CountLines(Text) : 0;
    };
    // The positions in Tick, to tell a new one without a walk over the list for every point.
    std::unordered_set<std::int32_t> Ticked;
    if (!Drawn) Ticked.insert(Tick.begin(), Tick.end());
    for (TChartSeries* S : ISeriesList) {
      bool HavePrev = false;
      std::int32_t PrevPos = 0, PrevHalf = 0;
      // One point: its tick and, when it fits, its label. False when it has no label on the axis.
      auto Visit = [&](std::int32_t I, std::int32_t& Pos) -> bool {
        double Value = 0;
        String Text;
        if (!GetAxisSeriesLabel(W.Style, S, I, Value, Text) || Value < IMinimum || Value > IMaximum) return false;
        Pos = CalcPosValue(Value);
        const bool HadTick = Ticked.count(Pos) != 0;
        if (!FTickOnLabelsOnly && !HadTick) {
          if (!Drawn) Tick.push_back(Pos);
          Ticked.insert(Pos);
        }
        if (!IsLabelsVisible() || Text.empty()) return true;
        // A label needs room of at least nothing on the far side of the previous one: with none
        // there, no text (not even trimmed) fits, and nothing is measured.
        if (Sep > 0 && HavePrev && (Pos > PrevPos ? Pos - PrevPos - PrevHalf : PrevPos - PrevHalf - Pos) < 0) return true;
        std::int32_t Half = 0;
        auto Fits = [&]() {
          const std::int32_t Size = Measure(Text);
          if (Sep == 0 || !HavePrev) {
            Half = Size / 2;
            return true;
          }
          Half = LabelHalfRoom(Size);
          if (Pos > PrevPos) return Pos - Half >= PrevPos + PrevHalf;
          return Pos + Half <= PrevPos - PrevHalf;
        };
        bool Ok = Fits();
        if (!Ok && Trim) {
          while (!Ok && !Text.empty()) {
            DropLastChar(Text);
            Ok = Fits();
          }
          if (Text.empty()) Ok = false;
        }
        if (!Ok) return true;
        if (!HadTick) {
          if (Drawn) {
            Drawn->push_back({Pos, Text});
          } else {
            AddTickAndSaveLabel(W, Value, Pos, Text, nullptr);
          }
        }
        HavePrev = true;
        PrevPos = Pos;
        PrevHalf = Half;
        return true;
      };
      const std::int32_t From = std::max(First, S->GetFirstVisibleIndex());
      const std::int32_t To = std::min(Last, S->GetLastVisibleIndex());
      std::int32_t Pos = 0;
      const TAxisPointValues Values = AxisPointValues(S);
      if (!Values.Ordered) {
        for (std::int32_t I = From; I <= To; ++I) Visit(I, Pos);
        continue;
      }
      // Ordered values: the points on the axis are one run of indexes, and the points of one pixel
      // follow each other. The first point of a pixel with a label holds that pixel's tick and
      // label; the rest of the pixel is found by binary search and passed over, so the walk costs
      // the pixels (times log N), not the points.
      std::int32_t I = std::max(From, 0);
      std::int32_t End = To + 1;
      I = FirstIndexOf(Values.Values, I, End, [&](double V) { return V >= IMinimum; });
      End = FirstIndexOf(Values.Values, I, End, [&](double V) { return V > IMaximum; });
      while (I < End) {
        if (!Visit(I, Pos)) {
          ++I;
          continue;
        }
        const std::int32_t Column = Pos;
        I = FirstIndexOf(Values.Values, I + 1, End, [&](double V) { return CalcPosValue(V) != Column; });
      }
    }
  }
  ISeriesList.clear();
}

TChartAxis::TAxisPointValues TChartAxis::AxisPointValues(TChartSeries* S) {
  // The value a point's label stands at (GetAxisSeriesLabel): its index, or its value on this
  // axis. Positions follow the values monotonically where the axis is linear, or logarithmic over
  // positive values.
  TAxisPointValues Result;
  if (IDepthAxis || (FLogarithmic && !(IMinimum > 0))) return Result;
  if (SeriesHasPointLabels(S)) {
    Result.Ordered = true;
    return Result;
  }
  TChartValueList* L = FHorizontal ? S->GetXValues() : S->GetYValues();
  if (!L || !L->IsAscendingFinite()) return Result;
  Result.Ordered = true;
  Result.Values = std::as_const(L->Value).Data();
  return Result;
}

void TChartAxis::DoSeriesTitleLabels(TLabelWalk& W) {
  if (!FParentChart) return;
  bool AnyActive = false;
  for (std::int32_t I = 0; I < FParentChart->SeriesCount() && !AnyActive; ++I)
    AnyActive = FParentChart->GetSeries(I)->GetActive();
  if (!AnyActive) return;
  // The ends of a very wide range saturate: an index past the int32 range names no series (it is
  // held at the int32 end, where none is), never a series by a wrapped index.
  const std::int64_t From = Round64(std::trunc(IMinimum));
  const std::int64_t To = Round64(std::trunc(IMaximum));
  const TAxisOnGetLabel* E = ChartOnGetAxisLabel();
  for (std::int64_t K = From, N = 0; K <= To && N < MaxWalkSteps; ++K, ++N) {
    const double Value = IMaximum - static_cast<double>(K) - 0.5;
    const std::int32_t Pos = CalcPosValue(Value);
    if (!FTickOnLabelsOnly) Tick.push_back(Pos);
    if (IsLabelsVisible()) {
      const std::int32_t Index = SaturateInt(static_cast<double>(K));
      String Text = ChartSeriesTitleLegend(Index);
      if (E && *E) (*E)(this, nullptr, Index, Text);
      AddTickAndSaveLabel(W, Value, Pos, Text, nullptr);
    }
    if (K == To) break;  // (no step past the largest int64)
  }
}

void TChartAxis::DoCustomItems(TLabelWalk& W) {
  // The texts measured for the items' room (MaxLabelsWidth).
  TValueScope<TLabelTexts> Texts(ILabelTexts, CustomItemsLabelTexts());
  for (std::int32_t I = 0; I < FAxisItems->GetCount(); ++I) {
    TAxisItem* Item = FAxisItems->Get(I);
    if (!CustomItemOnAxis(Item)) continue;
    const double Value = Item->GetValue();
    const std::int32_t Pos = CalcPosValue(Value);
    Item->SetLabelPos(Pos);
    if (!FTickOnLabelsOnly) Tick.push_back(Pos);
    TCustomTextShape* Format = Item->ActiveFormat();
    if (Format->GetVisible()) {
      AddTickAndSaveLabel(W, Value, Pos, CustomItemText(Item), Format, I);
    }
  }
}

// --- one label ---

void TChartAxis::DrawThisLabel(TLabelWalk& W, std::int32_t Index, double, std::int32_t Pos, const String& Text,
                               TCustomTextShape* Format) {
  TCanvas3D* C = ChartCanvas();
  if (!C) return;
  TCustomTextShape* F = Format ? Format : FAxisItems->GetFormat();
  if (ChartHoverHighlight() && Index >= 0) {
    TZelSelected* Sel = FAxisItems->ExistingSelected();
    if (Sel && Sel->GetHover() && Sel->GetHover()->GetVisible() && Index == Sel->GetHoverIndex()) {
      F = Sel->GetHover();
      F->GetFont()->SetSize(GetLabelsFont()->GetSize());
    }
  }
  C->AssignFont(F->GetFont());
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  if (IDepthAxis) {
    C->SetTextAlign(DepthAxisAlign());
    if (ChartOrthogonal()) Pos += C->TextHeight("W") / 2;
    const std::int32_t Line = FOtherSide ? FPosLabels : FPosLabels - C->TextWidth("W") / 2 - 2;
    DrawAxisLabel(Line, DepthAxisPos(), GetLabelsAngle(), Text, F, Pos);
    return;
  }
  std::int32_t Line = FPosLabels;
  if (GetLabelsAlternate()) {
    if (!W.Alternate) {
      if (!FHorizontal && W.AlternateRoom < 0) W.AlternateRoom = MaxLabelsWidth();
      Line = InflateAxisPos(Line, FHorizontal ? C->TextHeight("W") : W.AlternateRoom);
    }
    W.Alternate = !W.Alternate;
  }
  if (FHorizontal)
    DrawAxisLabel(&W, Pos, Line, GetLabelsAngle(), Text, F, 0);
  else
    DrawAxisLabel(&W, Line, Pos, GetLabelsAngle(), Text, F, 0);
}

bool TChartAxis::KeepLabelInside(TRectF& R, std::int32_t Angle) const {
  // A label at an end of the axis that would cross the panel's edge moves along the axis until
  // it is whole; the others stay where their ticks are. (A label turned by other than a right
  // angle, or drawn in 3D or on the depth axis, stays as it is.)
  if (IDepthAxis || !FParentChart || ChartView3D() || Angle % 90 != 0) return false;
  const TRectF Panel = FParentChart->GetChartBounds();
  if (!(Panel.Width() > 0) || !(Panel.Height() > 0)) return false;
  // The label turns about its box's centre.
  const bool Turned = Angle == 90 || Angle == 270;
  const float Centre = FHorizontal ? (R.Left + R.Right) / 2 : (R.Top + R.Bottom) / 2;
  const float Half = (FHorizontal != Turned ? R.Width() : R.Height()) / 2;
  // (Text is drawn on whole pixels, up to one pixel off its box: the box keeps one pixel in.)
  const float Lo = (FHorizontal ? Panel.Left : Panel.Top) + 1;
  const float Hi = (FHorizontal ? Panel.Right : Panel.Bottom) - 1;
  float Shift = 0;
  if (Centre + Half > Hi) Shift = Hi - (Centre + Half);
  if (Centre - Half + Shift < Lo) Shift = Lo - (Centre - Half);
  if (FHorizontal) {
    R.Left += Shift;
    R.Right += Shift;
  } else {
    R.Top += Shift;
    R.Bottom += Shift;
  }
  return Shift != 0;
}

std::int32_t TChartAxis::LabelHalfRoom(std::int32_t Size) const {
  return (Size + Trunc(Size * 0.02 * GetLabelsSeparation())) / 2;
}

bool TChartAxis::LabelsClear(const TRectF& A, const TRectF& B) const {
  // Across the axis the boxes may touch (labels on alternate lines); along it they keep the
  // room the series labels keep, and never touch: text is drawn on whole pixels, up to a pixel
  // off its box, so the boxes keep two pixels apart.
  const bool Apart = FHorizontal ? (A.Bottom <= B.Top || B.Bottom <= A.Top)
                                 : (A.Right <= B.Left || B.Right <= A.Left);
  if (Apart) return true;
  const float CentreA = FHorizontal ? (A.Left + A.Right) / 2 : (A.Top + A.Bottom) / 2;
  const float CentreB = FHorizontal ? (B.Left + B.Right) / 2 : (B.Top + B.Bottom) / 2;
  const float SizeA = FHorizontal ? A.Width() : A.Height();
  const float SizeB = FHorizontal ? B.Width() : B.Height();
  const float Distance = std::fabs(CentreA - CentreB);
  return Distance >= (SizeA + SizeB) / 2 + 2 &&
         Distance >= LabelHalfRoom(Round(SizeA)) + LabelHalfRoom(Round(SizeB));
}

void TChartAxis::DrawAxisLabel(std::int32_t X, std::int32_t Y, std::int32_t Angle, const String& St,
                               TCustomTextShape* Format, std::int32_t Z) {
  DrawAxisLabel(nullptr, X, Y, Angle, St, Format, Z);
}

void TChartAxis::DrawAxisLabel(TLabelWalk* Walk, std::int32_t X, std::int32_t Y, std::int32_t Angle,
                               const String& St, TCustomTextShape* Format, std::int32_t Z) {
  TCanvas3D* C = ChartCanvas();
  if (!C || !FParentChart) return;
  const std::int32_t H = C->TextHeight("W");
  Angle %= 360;
  if (Angle < 0) Angle += 360;

  // The line the labels' band starts from, across the axis: y on horizontal axes, x on vertical
  // ones (the depth axis' labels start at its label line).
  const std::int32_t BandStart = IDepthAxis ? FPosLabels : FHorizontal ? Y : X;
  std::int32_t Align;
  const TAxisLabelAlign LA = GetLabelsAlign();
  const bool Centred = LA == TAxisLabelAlign::alCenter;
  if (Centred) {
    Align = ZelTextAlignCenter;
  } else if (FHorizontal || LA == TAxisLabelAlign::alDefault) {
    if (FHorizontal)
      Align = FOtherSide ? ZelTextAlignCenter + ZelTextAlignBottom : ZelTextAlignCenter;
    else
      Align = FOtherSide ? ZelTextAlignLeft : ZelTextAlignRight;
  } else if (FOtherSide) {
    Align = ZelTextAlignRight;
    X += SizeLabels();
  } else {
    Align = ZelTextAlignLeft;
    X -= SizeLabels();
  }
  if (!FHorizontal && !IDepthAxis) Y -= H / 2;
  std::int32_t ZC = IDepthAxis ? Z : IZPos;

  String Text = St;
  TCustomTextShape* F = Format ? Format : FAxisItems->GetFormat();
  F->SetText(Text);
  F->CalcBounds(FParentChart);
  const std::int32_t W = Round(F->GetWidth());
  const std::int32_t HH = Round(F->GetHeight());
  const std::int32_t Lines = F->GetTextFormat() == TTextFormat::ttfNormal ? CountLines(Text) : std::max(1, F->INumLines);

  const bool Exponent = GetLabelsExponent();
  std::int32_t ShiftX = 0, Down = 0;
  if (Exponent) {
    if (FHorizontal) {
      ShiftX = Round(W * 0.1);
      Down = HH / 2;
    } else {
      Down = HH / 8;
    }
  }
  Y -= FHorizontal ? H : Round(H * 0.5 * (Lines + 1));

  float Left = static_cast<float>(X - ShiftX);
  float Top = static_cast<float>(Y + H + Down);
  if (Align & ZelTextAlignBottom) Top -= static_cast<float>(H * Lines);
  const std::int32_t Horiz = Align & ZelTextAlignCenter;
  if (Horiz == ZelTextAlignCenter)
    Left -= W / 2.0f;
  else if (Horiz == ZelTextAlignRight)
    Left -= static_cast<float>(W);
  TRectF R(Left, Top, Left + W, Top + HH);
  if (Angle == 90 || Angle == 270) {
    if (!FHorizontal) {
      // Turned about its centre, the label fills the band of its text height beside the line.
      const float L = static_cast<float>(X) - W / 2.0f + (FOtherSide ? HH : -HH) / 2.0f;
      R = TRectF(L, static_cast<float>(Y), L + W, static_cast<float>(Y) + HH);
    } else {
      // On whole pixels: the text is drawn from the whole pixel of its box's top and turned about
      // the box's centre, so a box on a half pixel would put the text half a pixel along the axis
      // (this way or that, as the half rounds), over its neighbour.
      if (FOtherSide) {
        R.Bottom = static_cast<float>(Round(Y + HH * 1.5 - W / 2.0));
        R.Top = R.Bottom - HH;
      } else {
        R.Top = static_cast<float>(Round(Y + HH * 0.75 + W / 2.0));
        R.Bottom = R.Top + HH;
      }
    }
  }
  if (Centred) {
    // The label's box (rotated about its centre) sits in the middle of its band, on whichever
    // side of the chart the band lies; labels alternating between two rows use half the band.
    const std::int32_t Band = GetLabelsAlternate() ? SizeLabels() / 2 : SizeLabels();
    const float Mid = static_cast<float>(InflateAxisPos(BandStart, Band / 2));
    if (FHorizontal && !IDepthAxis) {
      const float Shift = Mid + Down - (R.Top + R.Bottom) / 2;
      R.Top += Shift;
      R.Bottom += Shift;
    } else {
      const float Shift = Mid - (R.Left + R.Right) / 2;
      R.Left += Shift;
      R.Right += Shift;
    }
  }
  const bool Moved = KeepLabelInside(R, Angle);
  // The box the label covers on the panel: turned a right angle, about its centre.
  TRectF Covered = R;
  if (Angle == 90 || Angle == 270) {
    const float CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
    const float HalfW = R.Height() / 2, HalfH = R.Width() / 2;
    Covered = TRectF(CX - HalfW, CY - HalfH, CX + HalfW, CY + HalfH);
  }
  if (Walk) {
    for (const TRectF& Other : Moved ? Walk->Drawn : Walk->Moved)
      if (!LabelsClear(Covered, Other)) return;
  }
  if (ChartView3D()) {
    const TPointF P = C->Calculate3DPosition(R.Left, R.Top, static_cast<float>(ZC));
    R = TRectF(P.X, P.Y, P.X + R.Width(), P.Y + R.Height());
  }
  if (OnDrawLabel) {
    bool DrawLabel = true;
    OnDrawLabel(this, X, Y, ZC, Text, DrawLabel);
    if (!DrawLabel) return;
    if (Text != St) F->SetText(Text);
  }
  if (FShape && FShape->GetVisible() && !FShape->GetTransparent() && !ChartView3D() &&
      !RectangleContains(FShape->ShapeBounds, R))
    return;
  if (Walk) {
    Walk->Drawn.push_back(Covered);
    if (Moved) Walk->Moved.push_back(Covered);
  }
  C->SetTextAlign(Align);
  const std::size_t EPos = Exponent ? Text.find_first_of("Ee") : String::npos;
  if (EPos != String::npos) {
    const String Mantissa = Text.substr(0, EPos);
    const String Power = Text.substr(EPos + 1);
    float TX = (Horiz == ZelTextAlignCenter) ? (R.Left + R.Right) / 2 : (Horiz == ZelTextAlignRight ? R.Right : R.Left);
    float TY = R.Top;
    if (!F->GetTransparent()) {
      TX += F->GetMargins()->GetLeft();
      TY += F->GetMargins()->GetTop();
    }
    C->TextOut3D(Round(TX), Round(TY), ZC, Mantissa);
    const std::int32_t MW = C->TextWidth(Mantissa);
    TZelFont* Font = F->GetFont();
    const float OldSize = Font->GetSize();
    C->AssignFontSize(Font, OldSize * 0.75f);
    const std::int32_t PW = C->TextWidth(Power);
    float PX;
    if (Horiz == ZelTextAlignCenter)
      PX = TX + (MW + 1) / 2.0f + PW / 2.0f;
    else
      PX = TX + MW + 1;
    C->TextOut3D(Round(PX), Round(TY - H / 2.0f + 2), ZC, Power);
    C->AssignFont(Font);
    return;
  }
  F->ShapeBounds = R;
  F->Draw(FParentChart, R, Angle, ZC);
}

}  // namespace zel
