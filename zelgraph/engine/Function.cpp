#include "zelgraph/engine/Function.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <map>
#include <numeric>
#include <unordered_set>

#include "platform/Math.h"
#include "platform/Scope.h"
#include "platform/SysUtils.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/DateTimeSteps.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TZelFunction, TComponent)

TZelFunction::TZelFunction(TComponent* AOwner) : TComponent(AOwner) {}

TZelFunction::~TZelFunction() {
  if (FParent) {
    TChartSeries* P = FParent;
    FParent = nullptr;
    if (P->FZelFunction == this) P->FZelFunction = nullptr;
    RemoveFreeNotification(P);
  }
}

void TZelFunction::Assign(TPersistent* Source) {
  if (auto* F = dynamic_cast<TZelFunction*>(Source)) {
    FCalcByValue = F->FCalcByValue;
    FIncludeNulls = F->FIncludeNulls;
    FPeriod = F->FPeriod;
    FPeriodStyle = F->FPeriodStyle;
    FPeriodAlign = F->FPeriodAlign;
    return;
  }
  inherited::Assign(Source);
}

void TZelFunction::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FParent) FParent = nullptr;
}

TComponent* TZelFunction::GetParentComponent() const { return FParent; }

void TZelFunction::SetParentComponent(TComponent* Value) {
  if (auto* S = dynamic_cast<TChartSeries*>(Value)) SetParentSeries(S);
}

void TZelFunction::SetParentSeries(TChartSeries* Value) {
  if (Value == FParent) return;
  if (FParent) {
    TChartSeries* Old = FParent;
    FParent = nullptr;
    Old->FZelFunction = nullptr;
    RemoveFreeNotification(Old);
  }
  if (Value) Value->SetFunction(this);
}

void TZelFunction::EndUpdate() {
  if (!IUpdating) return;
  IUpdating = false;
  ReCalculate();
}

void TZelFunction::ReCalculate() {
  if (!IUpdating && FParent) FParent->CheckDataSource();
}

void TZelFunction::SetCalcByValue(bool Value) {
  if (FCalcByValue == Value) return;
  FCalcByValue = Value;
  ReCalculate();
}

void TZelFunction::SetIncludeNulls(bool Value) {
  if (FIncludeNulls == Value) return;
  FIncludeNulls = Value;
  ReCalculate();
}

void TZelFunction::SetPeriod(double Value) {
  if (Value < 0 || std::isnan(Value)) throw ChartException(ZelMsg_FunctionPeriod);
  if (FPeriod == Value) return;
  FPeriod = Value;
  ReCalculate();
}

void TZelFunction::SetPeriodAlign(TFunctionPeriodAlign Value) {
  if (FPeriodAlign == Value) return;
  FPeriodAlign = Value;
  ReCalculate();
}

void TZelFunction::SetPeriodStyle(TFunctionPeriodStyle Value) {
  if (FPeriodStyle == Value) return;
  FPeriodStyle = Value;
  ReCalculate();
}

TChartValueList* TZelFunction::ValueList(TChartSeries* Source) {
  const String Name = FParent ? FParent->MandatoryValueList->GetValueSource() : String();
  if (!Name.empty()) return Source->GetYValueList(Name);
  return Source->MandatoryValueList;
}

void TZelFunction::AddFunctionXY(bool AYMandatory, double X, double Y) {
  if (!FParent) return;
  if (AYMandatory)
    FParent->AddXY(X, Y, String(), clZelDefault);
  else
    FParent->AddXY(Y, X, String(), clZelDefault);
}

void TZelFunction::AddValue(double Value, TZelFunctionValues& Values, std::int32_t Index) {
  if (Index >= 0 && Index < static_cast<std::int32_t>(Values.size())) Values[static_cast<std::size_t>(Index)] = Value;
}

double TZelFunction::CalculateValue(const TZelFunctionValues&) { return 0; }

bool TZelFunction::Takes(TChartSeries* Source, TChartValueList* List, std::int32_t Index) const {
  // A value that is not finite, or a point that cannot be placed, never takes part; other null
  // points only with IncludeNulls.
  if (!std::isfinite(List->Value[Index]) || !Source->IsFinitePoint(Index)) return false;
  return FIncludeNulls || !Source->IsNull(Index);
}

double TZelFunction::Calculate(TChartSeries* Source, std::int32_t FirstIndex, std::int32_t LastIndex) {
  if (FirstIndex == -1) {
    FirstIndex = 0;
    LastIndex = Source->Count() - 1;
  }
  TChartValueList* List = ValueList(Source);
  TZelFunctionValues Values;
  std::int32_t Taken = 0;
  for (std::int32_t I = FirstIndex; I <= LastIndex; ++I) {
    if (!Takes(Source, List, I)) continue;
    Values.push_back(0);
    AddValue(List->Value[I], Values, Taken);
    ++Taken;
  }
  return CalculateValue(Values);
}

void TZelFunction::CalculateAllPoints(TChartSeries* Source, TChartValueList* NotMandatorySource) {
  const double V = Calculate(Source, -1, -1);
  if (!FParent || !NotMandatorySource->HasFiniteValue()) return;
  const double Min = NotMandatorySource->GetMinValue(), Max = NotMandatorySource->GetMaxValue();
  if (FParent->AllowSinglePoint) {
    const double M = std::midpoint(Min, Max);  // halves first: no overflow near the double range
    if (FParent->YMandatory)
      FParent->AddXY(M, V);
    else
      FParent->AddXY(V, M);
  } else {
    AddFunctionXY(Source->YMandatory, Min, V);
    AddFunctionXY(Source->YMandatory, Max, V);
  }
}

void TZelFunction::CalculatePeriod(TChartSeries* Source, double X, std::int32_t FirstIndex, std::int32_t LastIndex) {
  AddFunctionXY(Source->YMandatory, X, Calculate(Source, FirstIndex, LastIndex));
}

void TZelFunction::CalculateByPeriod(TChartSeries* Source, TChartValueList* NotMandatorySource) {
  const std::int32_t N = NotMandatorySource->GetCount();
  if (N == 0) return;
  const double* List = NotMandatorySource->Value.Data();
  std::int32_t Start = 0;
  double RangeEnd = List[0];
  const TDateTimeStep Step = FindDateTimeStep(FPeriod);
  TChartAxis* Axis = FParent ? FParent->GetGetHorizAxis() : nullptr;
  // Whether the axis is date-time comes from the series on it, not from the last paint's layout:
  // the same data group alike before and after the chart is first drawn.
  const bool DateTimeAxis = Axis && Axis->IsDateTime();
  // A period below half a point still makes groups of one point (a group of none would never end).
  const std::int32_t PointsPerGroup = std::max(1, Round(FPeriod));
  // A position that is not finite never starts a group (nor continues one: no range end is
  // beyond it), so the walk passes it whatever the data.
  const bool ByRange = FPeriodStyle != TFunctionPeriodStyle::psNumPoints;
  auto SkipNonFinite = [&] {
    while (ByRange && Start < N && !std::isfinite(List[Start])) ++Start;
  };
  SkipNonFinite();
  if (Start >= N) return;
  RangeEnd = List[Start];
  while (Start <= N - 1) {
    std::int32_t Last;
    double FirstPos, LastPos;
    bool EmptyRange = false;
    if (FPeriodStyle == TFunctionPeriodStyle::psNumPoints) {
      Last = Start + PointsPerGroup - 1;
      FirstPos = List[Start];
      if (Last >= N) break;  // a trailing group of fewer points adds nothing
      LastPos = List[Last];
    } else {
      const double Old = RangeEnd;
      if (Axis)
        Axis->IncDecDateTime(true, RangeEnd, FPeriod, Step, DateTimeAxis);
      else
        RangeEnd += FPeriod;
      // A period too small to move the range end would never advance the walk.
      if (SameValue(RangeEnd, Old) || !(RangeEnd > Old)) break;
      Last = Start;
      while (Last < N - 1 && RangeEnd > List[Last + 1]) ++Last;
      LastPos = RangeEnd - FPeriod * 0.001;
      FirstPos = Old;
      EmptyRange = !(RangeEnd > List[Start]);
    }
    double X;
    switch (FPeriodAlign) {
      case TFunctionPeriodAlign::paFirst:
        X = FirstPos;
        break;
      case TFunctionPeriodAlign::paLast:
        X = LastPos;
        break;
      default:
        X = std::midpoint(FirstPos, LastPos);
        break;
    }
    if (EmptyRange) {
      AddFunctionXY(Source->YMandatory, X, 0);
    } else {
      CalculatePeriod(Source, X, Start, Last);
      Start = Last + 1;
      SkipNonFinite();
    }
  }
}

void TZelFunction::DoCalculation(TChartSeries* Source, TChartValueList* NotMandatorySource) {
  if (FPeriod != 0)
    CalculateByPeriod(Source, NotMandatorySource);
  else
    CalculateAllPoints(Source, NotMandatorySource);
}

void TZelFunction::AddPoints(TChartSeries* Source) {
  if (IUpdating || !Source || !FParent) return;
  TDataSourcesList* Sources = FParent->ExistingDataSources();
  if (Sources && Sources->Count() > 1) {
    if (FCalcByValue)
      CalculateManySourcesByValue(Source);
    else
      CalculateManySources(Source);
  } else if (Source->Count() > 0) {
    DoCalculation(Source, Source->NotMandatoryValueList);
  }
}

double TZelFunction::CalculateMany(const std::vector<TComponent*>& Sources, std::int32_t ValueIndex) {
  TZelFunctionValues Values;
  if (FIncludeNulls) Values.resize(Sources.size());
  std::int32_t Taken = 0;
  for (std::size_t S = 0; S < Sources.size(); ++S) {
    auto* Series = dynamic_cast<TChartSeries*>(Sources[S]);
    if (!Series) continue;
    TChartValueList* List = ValueList(Series);
    if (List->GetCount() > ValueIndex && Takes(Series, List, ValueIndex)) {
      if (FIncludeNulls) {
        AddValue(List->Value[ValueIndex], Values, static_cast<std::int32_t>(S));
      } else {
        Values.push_back(0);
        AddValue(List->Value[ValueIndex], Values, Taken);
      }
      ++Taken;
    }
  }
  return CalculateValue(Values);
}

// The first index of each value of a list, in the order of the values: equal values are found by
// a cursor that moves on with the rising values asked for (a binary search for any other). A list
// that is already in order is read where it is; another is sorted with its indexes. A NaN equals
// nothing and is left out.
class TFirstIndexes {
 public:
  explicit TFirstIndexes(TChartValueList* List) {
    const std::int32_t N = List->GetCount();
    const double* V = std::as_const(List->Value).Data();
    if (List->IsAscendingFinite()) {
      FValues = V;
      FCount = N;
      return;
    }
    std::vector<std::pair<double, std::int32_t>> Items;
    Items.reserve(static_cast<std::size_t>(N));
    for (std::int32_t I = 0; I < N; ++I)
      if (!std::isnan(V[I])) Items.emplace_back(V[I], I);
    std::sort(Items.begin(), Items.end());
    FSorted.reserve(Items.size());
    FIndexes.reserve(Items.size());
    for (const auto& [Value, Index] : Items) {
      FSorted.push_back(Value);
      FIndexes.push_back(Index);
    }
    FValues = FSorted.data();
    FCount = static_cast<std::int32_t>(FSorted.size());
  }
  std::int32_t Find(double Value) const {
    if (std::isnan(Value)) return -1;
    if (FCursor > 0 && !(FValues[FCursor - 1] < Value))
      FCursor = static_cast<std::int32_t>(std::lower_bound(FValues, FValues + FCount, Value) - FValues);
    while (FCursor < FCount && FValues[FCursor] < Value) ++FCursor;
    if (FCursor >= FCount || !(FValues[FCursor] == Value)) return -1;
    return FIndexes.empty() ? FCursor : FIndexes[static_cast<std::size_t>(FCursor)];
  }
  // The values in order, NaN left out.
  const double* Values() const { return FValues; }
  std::int32_t Count() const { return FCount; }

 private:
  const double* FValues = nullptr;
  std::int32_t FCount = 0;
  std::vector<double> FSorted;
  std::vector<std::int32_t> FIndexes;
  mutable std::int32_t FCursor = 0;
};

class TZelFunction::TValueIndexes {
 public:
  // Sources: the list the calculation passes on; the series among them, in its order.
  TValueIndexes(const std::vector<TComponent*>& Sources, const std::vector<TChartSeries*>& Series) : FSources(&Sources) {
    FLists.reserve(Series.size());
    for (TChartSeries* S : Series) FLists.emplace_back(S, TFirstIndexes(S->NotMandatoryValueList));
    for (TComponent* C : Sources) {
      auto* S = dynamic_cast<TChartSeries*>(C);
      FOfSource.emplace_back(S, S ? Of(S) : nullptr);
    }
  }
  const TFirstIndexes* Of(const TChartSeries* S) const {
    for (const auto& [Series, Index] : FLists)
      if (Series == S) return &Index;
    return nullptr;
  }
  const std::vector<std::pair<const TChartSeries*, TFirstIndexes>>& Lists() const { return FLists; }
  // The series of each source and its index, when Sources is the list these were made for.
  const std::vector<std::pair<TChartSeries*, const TFirstIndexes*>>* OfSources(const std::vector<TComponent*>& Sources) const {
    return &Sources == FSources ? &FOfSource : nullptr;
  }

 private:
  std::vector<std::pair<const TChartSeries*, TFirstIndexes>> FLists;
  const std::vector<TComponent*>* FSources;
  std::vector<std::pair<TChartSeries*, const TFirstIndexes*>> FOfSource;
};

std::int32_t TZelFunction::IndexOfValue(TChartSeries* Source, double Value) const {
  if (IValueIndexes)
    if (const TFirstIndexes* Index = IValueIndexes->Of(Source)) return Index->Find(Value);
  return Source->NotMandatoryValueList->Locate(Value);
}

double TZelFunction::CalculateManyByValue(const std::vector<TComponent*>& Sources, double Value) {
  // The group's storage is reused from one value to the next (taken, so that a calculation
  // started from within another finds none and makes its own).
  TZelFunctionValues Values = std::move(IGroupValues);
  Values.clear();
  TRestoreOnExit Keep([&] { IGroupValues = std::move(Values); });
  std::int32_t Taken = 0;
  auto Take = [&](TChartSeries* Series, std::int32_t I) {
    if (I >= 0 && Takes(Series, ValueList(Series), I)) {
      Values.push_back(0);
      AddValue(ValueList(Series)->Value[I], Values, Taken++);
    }
  };
  if (const auto* Known = IValueIndexes ? IValueIndexes->OfSources(Sources) : nullptr) {
    for (const auto& [Series, Index] : *Known)
      if (Series) Take(Series, Index->Find(Value));
  } else {
    for (TComponent* C : Sources)
      if (auto* Series = dynamic_cast<TChartSeries*>(C)) Take(Series, IndexOfValue(Series, Value));
  }
  return CalculateValue(Values);
}

void TZelFunction::CalculateManySources(TChartSeries* Source) {
  const std::vector<TComponent*> Sources = FParent->ExistingDataSources()->List;
  TChartSeries* Longest = Source;
  for (TComponent* C : Sources)
    if (auto* S = dynamic_cast<TChartSeries*>(C); S && S->Count() > Longest->Count()) Longest = S;
  for (std::int32_t I = 0; I < Longest->Count(); ++I) {
    double Y = CalculateMany(Sources, I);
    double X = Longest->NotMandatoryValueList->Value[I];
    if (!Longest->YMandatory) std::swap(X, Y);
    FParent->AddXY(X, Y, Longest->GetXLabel(I), clZelDefault);
  }
}

void TZelFunction::CalculateManySourcesByValue(TChartSeries*) {
  const std::vector<TComponent*> Sources = FParent->ExistingDataSources()->List;
  std::vector<TChartSeries*> Series;
  std::int32_t N = 0;
  for (TComponent* C : Sources)
    if (auto* S = dynamic_cast<TChartSeries*>(C)) {
      Series.push_back(S);
      N = std::max(N, S->Count());
    }
  // The label of a position value: of the first source (in the walk's order) labelling it.
  std::map<String, std::pair<std::int32_t, std::int32_t>> Labelled;
  for (std::int32_t T = 0; T < N; ++T)
    for (std::size_t S = 0; S < Series.size(); ++S) {
      if (T >= Series[S]->Count()) continue;
      const double V = Series[S]->NotMandatoryValueList->Value[T];
      if (!std::isfinite(V)) continue;  // no position to combine at
      const std::vector<String>& Labels = Series[S]->GetLabels()->GetList();
      if (static_cast<std::size_t>(T) < Labels.size() && !Labels[static_cast<std::size_t>(T)].empty())
        Labelled.emplace(FloatToStr(V), std::make_pair(static_cast<std::int32_t>(S), T));
    }
  // Equal values are found by cursors over each source in order: no walk over a list for each
  // value. The values of all sources, in order, are their ordered lists merged; a position that
  // is not finite is none.
  const TValueIndexes Indexes(Sources, Series);
  TValueScope<const TValueIndexes*> UseIndexes(IValueIndexes, &Indexes);
  std::vector<double> Collected, Merged;
  for (const auto& [S, Index] : Indexes.Lists()) {
    const std::int32_t Own = std::min(Index.Count(), N);
    Merged.resize(Collected.size() + static_cast<std::size_t>(Own));
    std::merge(Collected.begin(), Collected.end(), Index.Values(), Index.Values() + Own, Merged.begin());
    std::swap(Collected, Merged);
  }
  Collected.erase(std::remove_if(Collected.begin(), Collected.end(), [](double V) { return !std::isfinite(V); }),
                  Collected.end());
  // The output's values: those it held before, in order, and those added, which rise with the
  // collected values (any other kept aside).
  TChartValueList* OutList = FParent->NotMandatoryValueList;
  std::vector<double> Before;
  for (std::int32_t I = 0; I < OutList->GetCount(); ++I)
    if (!std::isnan(OutList->Value[I])) Before.push_back(OutList->Value[I]);
  std::sort(Before.begin(), Before.end());
  std::vector<double> AddedInOrder;
  std::unordered_set<double> AddedAside;
  auto Holds = [](const std::vector<double>& L, double V) {
    const auto It = std::lower_bound(L.begin(), L.end(), V);
    return It != L.end() && *It == V;
  };
  auto InOutput = [&](double V) {
    if (std::isnan(V)) return false;
    return Holds(AddedInOrder, V) || Holds(Before, V) || (!AddedAside.empty() && AddedAside.count(V) != 0);
  };
  for (double V : Collected) {
    if (InOutput(V)) continue;
    const double Y = CalculateManyByValue(Sources, V);
    String Label;
    if (!Labelled.empty()) {
      auto It = Labelled.find(FloatToStr(V));
      if (It != Labelled.end())
        Label = Series[static_cast<std::size_t>(It->second.first)]->GetXLabel(It->second.second);
    }
    bool InAll = true;
    for (TChartSeries* S : Series)
      if (Indexes.Of(S)->Find(V) < 0) InAll = false;
    std::int32_t Added = -1;
    if (InAll)
      Added = FParent->AddXY(V, Y, Label, clZelDefault);
    else if (FIncludeNulls)
      Added = FParent->AddNullXY(V, Y, Label);
    if (Added >= 0 && Added < OutList->GetCount()) {
      const double Out = OutList->Value[Added];
      if (std::isnan(Out)) continue;
      if (AddedInOrder.empty() || !(Out < AddedInOrder.back()))
        AddedInOrder.push_back(Out);
      else
        AddedAside.insert(Out);
    }
  }
}

void TZelFunction::PrepareForGallery(TCustomAxisPanel* Chart) {
  if (!Chart || Chart->SeriesCount() == 0) return;
  auto* Last = dynamic_cast<TChartSeries*>(Chart->GetSeries(Chart->SeriesCount() - 1));
  if (!Last) return;
  Last->SetFunction(this);
  if (Chart->SeriesCount() >= 2)
    if (auto* Source = dynamic_cast<TChartSeries*>(Chart->GetSeries(Chart->SeriesCount() - 2)))
      Last->SetDataSource(Source);
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelFunction)
  P::Prop("CalcByValue", &Self::GetCalcByValue, &Self::SetCalcByValue, Default(false)),
  P::Prop("IncludeNulls", &Self::GetIncludeNulls, &Self::SetIncludeNulls, Default(true)),
  P::Prop("Period", &Self::GetPeriod, &Self::SetPeriod, Default(0.0)),
  P::Prop("PeriodAlign", &Self::GetPeriodAlign, &Self::SetPeriodAlign, Default(TFunctionPeriodAlign::paCenter)),
  P::Prop("PeriodStyle", &Self::GetPeriodStyle, &Self::SetPeriodStyle, Default(TFunctionPeriodStyle::psNumPoints)),
ZEL_END_PUBLISHED

}  // namespace zel
