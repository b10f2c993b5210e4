#include "zelgraph/engine/Series.h"
#include "platform/Filer.h"

#include <algorithm>
#include <cmath>

#include "platform/Scope.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PointLists.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

namespace {
void Broadcast(TCustomAxisPanel* Chart, TCustomChartSeries* Series, TChartSeriesEvent Event) {
  if (Chart && !Chart->IsDestroying()) Chart->BroadcastSeriesEvent(Series, Event);
}
}  // namespace

// TCustomChartElement

ZEL_DEFINE_CLASS(TCustomChartElement, TComponent)

TCustomChartElement::TCustomChartElement(TComponent* AOwner) : TComponent(AOwner) {
  FBrush = new TZelBrush([this](TObject* Sender) { CanvasChanged(Sender); });
  FPen = CreateChartPen();
}

TCustomChartElement::~TCustomChartElement() {
  FreeAndNil(FPen);
  FreeAndNil(FBrush);
  FParent = nullptr;
}

TZelPen* TCustomChartElement::CreateChartPen() {
  return new TZelPen([this](TObject* Sender) { CanvasChanged(Sender); });
}

void TCustomChartElement::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomChartElement*>(Source)) {
    SetActive(S->FActive);
    if (S->FBrush && FBrush) SetBrush(S->FBrush);
    if (S->FPen && FPen) SetPen(S->FPen);
    SetTag(S->GetTag());
    FTagObject = S->FTagObject;
    return;
  }
  inherited::Assign(Source);
}

void TCustomChartElement::CanvasChanged(TObject*) { Repaint(); }

void TCustomChartElement::SetActive(bool Value) { SetBooleanProperty(FActive, Value); }

void TCustomChartElement::SetParentChart(TCustomAxisPanel* Value) { FParent = Value; }

void TCustomChartElement::SetPen(TZelPen* Value) {
  if (FPen && Value && Value != FPen) FPen->Assign(Value);
}

void TCustomChartElement::SetBrush(TZelBrush* Value) {
  if (FBrush && Value && Value != FBrush) FBrush->Assign(Value);
}

void TCustomChartElement::Repaint() {
  if (FParent && !IsDestroying() && !FParent->IsDestroying()) FParent->Invalidate();
}

void TCustomChartElement::SetBooleanProperty(bool& Variable, bool Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetColorProperty(TAlphaColor& Variable, TAlphaColor Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetDoubleProperty(double& Variable, double Value) {
  if (Variable != Value || std::isnan(Variable) || std::isnan(Value)) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetSingleProperty(float& Variable, float Value) {
  if (Variable != Value || std::isnan(Variable) || std::isnan(Value)) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetIntegerProperty(std::int32_t& Variable, std::int32_t Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetStringProperty(String& Variable, const String& Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

TComponent* TCustomChartElement::GetParentComponent() const { return FParent; }

void TCustomChartElement::SetParentComponent(TComponent* Value) {
  if (auto* Panel = dynamic_cast<TCustomAxisPanel*>(Value)) SetParentChart(Panel);
}

// TCustomChartSeries

ZEL_DEFINE_CLASS(TCustomChartSeries, TCustomChartElement)

TCustomChartSeries::TCustomChartSeries(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TCustomChartSeries::~TCustomChartSeries() {
  FLegend.reset();
  delete Transform;
  Transform = nullptr;
}

void TCustomChartSeries::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomChartSeries*>(Source)) {
    FIdentifier = S->FIdentifier;
    SetLegend(S->FLegend.get());
    FStyle = S->FStyle;
    SetTitle(S->FTitle);
  }
  inherited::Assign(Source);
}

TSeriesLegend* TCustomChartSeries::GetLegend() {
  if (!FLegend) {
    FLegend = std::make_unique<TSeriesLegend>(this);
    FLegend->SetParent(FParent);
  }
  return FLegend.get();
}

void TCustomChartSeries::SetLegend(TSeriesLegend* Value) {
  if (!Value)
    FLegend.reset();
  else if (Value != FLegend.get())
    GetLegend()->Assign(Value);
}

String TCustomChartSeries::GetLegendTitle() const { return FLegend ? FLegend->GetText() : String(); }

void TCustomChartSeries::SetLegendTitle(const String& Value) {
  if (Value == GetLegendTitle()) return;
  GetLegend()->SetText(Value);
}

bool TCustomChartSeries::GetShowInLegend() const { return FLegend ? FLegend->GetVisible() : true; }

void TCustomChartSeries::SetShowInLegend(bool Value) { GetLegend()->SetVisible(Value); }

void TCustomChartSeries::SetActive(bool Value) {
  if (FActive == Value) return;
  SetBooleanProperty(FActive, Value);
  Broadcast(FParent, this, TChartSeriesEvent::seChangeActive);
  if (FParent) FParent->RefreshDesigner();
}

void TCustomChartSeries::CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin) {
  LeftMargin = 0;
  RightMargin = 0;
}

void TCustomChartSeries::CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin) {
  TopMargin = 0;
  BottomMargin = 0;
}

void TCustomChartSeries::GalleryChanged3D(bool Is3D) {
  if (FParent) FParent->SetView3D(Is3D);
}

void TCustomChartSeries::Removed() {
  FParent = nullptr;
  if (FLegend) FLegend->SetParent(nullptr);
}

std::int32_t TCustomChartSeries::GetIndex() const { return FParent ? FParent->IndexOfSeries(this) : -1; }

bool TCustomChartSeries::SameClass(const TCustomChartSeries* Series) const {
  if (!Series) return false;
  return InheritsFrom(Series->ClassType()) || Series->InheritsFrom(ClassType());
}

void TCustomChartSeries::SetTitle(const String& Value) {
  SetStringProperty(FTitle, Value);
  Broadcast(FParent, this, TChartSeriesEvent::seChangeTitle);
  if (FParent) FParent->RefreshDesigner();
}

// TLabelsList

String TLabelsList::GetLabel(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return String();
  return List[static_cast<std::size_t>(Index)];
}

std::uint64_t TLabelsList::NewStamp() {
  static std::uint64_t Last = 0;
  return ++Last;
}

void TLabelsList::Changed() { FStamp = NewStamp(); }

std::int32_t TLabelsList::MaxLines() const {
  if (FLinesStamp != FStamp) {
    std::int32_t Lines = 1;
    for (const String& Label : List)
      Lines = std::max(Lines, static_cast<std::int32_t>(std::count(Label.begin(), Label.end(), ZelLineSeparator)) + 1);
    FMaxLines = Lines;
    FLinesStamp = FStamp;
  }
  return FMaxLines;
}

void TLabelsList::SetLabel(std::int32_t Index, const String& Text) {
  if (Index < 0) return;
  if (!Text.empty()) {
    if (Index >= Count()) List.resize(static_cast<std::size_t>(Index) + 1);
    List[static_cast<std::size_t>(Index)] = Text;
    Changed();
  } else if (Index < Count()) {
    List[static_cast<std::size_t>(Index)].clear();
    Changed();
  }
  if (Series) Series->Repaint();
}

void TLabelsList::InsertLabel(std::int32_t Index, const String& Text) {
  if (Index < 0) return;
  if (Text.empty() && List.empty()) return;
  if (Index >= Count())
    List.resize(static_cast<std::size_t>(Index) + 1);
  else
    List.insert(List.begin() + Index, String());
  List[static_cast<std::size_t>(Index)] = Text;
  Changed();
}

void TLabelsList::DeleteLabel(std::int32_t Index) { DeleteLabels(Index, 1); }

void TLabelsList::DeleteLabels(std::int32_t Start, std::int32_t Quantity) {
  if (Start < 0 || Start >= Count() || Quantity <= 0) return;
  ErasePointRange(List, Start, Quantity);
  Changed();
}

void TLabelsList::Clear() {
  List.clear();
  Changed();
}

void TLabelsList::Exchange(std::int32_t Index1, std::int32_t Index2) {
  std::int32_t High = std::max(Index1, Index2);
  if (Index1 < 0 || Index2 < 0) return;
  if (High >= Count()) List.resize(static_cast<std::size_t>(High) + 1);
  std::swap(List[static_cast<std::size_t>(Index1)], List[static_cast<std::size_t>(Index2)]);
  Changed();
}

std::int32_t TLabelsList::IndexOfLabel(const String& Text, bool CaseSensitive) const {
  if (CaseSensitive) {
    for (std::int32_t I = 0; I < Count(); ++I)
      if (List[static_cast<std::size_t>(I)] == Text) return I;
    return -1;
  }
  String Upper = UpperCase(Text);
  for (std::int32_t I = 0; I < Count(); ++I)
    if (UpperCase(List[static_cast<std::size_t>(I)]) == Upper) return I;
  return -1;
}

void TLabelsList::Assign(const TLabelsList* Source) {
  Clear();
  if (!Source) return;
  for (std::int32_t I = 0; I < Source->Count(); ++I) InsertLabel(I, Source->List[static_cast<std::size_t>(I)]);
  FCaseSensitive = Source->FCaseSensitive;
}

void TLabelsList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (Series) Series->Repaint();
}

// TChartValueLists

std::int32_t TChartValueLists::IndexOf(const TChartValueList* List) const {
  auto It = std::find(FItems.begin(), FItems.end(), List);
  return It == FItems.end() ? -1 : static_cast<std::int32_t>(It - FItems.begin());
}

void TChartValueLists::Insert(std::int32_t Index, TChartValueList* List) {
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, List);
}

void TChartValueLists::Extract(TChartValueList* List) {
  auto It = std::find(FItems.begin(), FItems.end(), List);
  if (It != FItems.end()) FItems.erase(It);
}

void TChartValueLists::Clear() {
  while (!FItems.empty()) {
    TChartValueList* L = FItems.back();
    FItems.pop_back();
    L->Free();
  }
}

// TChartSeries

ZEL_DEFINE_COMPONENT_CLASS(TChartSeries, TCustomChartSeries)
ZEL_DEFINE_COMPONENT_CLASS(TThemedSeries, TChartSeries)

// Holds back the value lists' change notices while an operation changes several lists, so that
// dependents only ever see the lists in step; also restores the count on failure.
class TChartSeries::TChangeGuard {
 public:
  explicit TChangeGuard(TChartSeries* S) : FSeries(S) {
    if (FSeries->IChanging++ == 0) FSeries->IPendingModified = false;
  }
  ~TChangeGuard() { --FSeries->IChanging; }
  TChangeGuard(const TChangeGuard&) = delete;
  TChangeGuard& operator=(const TChangeGuard&) = delete;

 private:
  TChartSeries* FSeries;
};

TChartSeries::TChartSeries(TComponent* AOwner)
    : TCustomChartSeries(AOwner), FValuesList(std::make_unique<TChartValueLists>()) {
  FX = new TChartValueList(this, ZelMsg_ValuesX);
  FX->FOrder = FX->IDefOrder = TChartListOrder::loAscending;
  NotMandatoryValueList = FX;
  FY = new TChartValueList(this, ZelMsg_ValuesY);
  MandatoryValueList = FY;
  YMandatory = true;
  FValueFormat = ZelMsg_DefValueFormat;
  FPercentFormat = ZelMsg_DefPercentFormat;
  // A series reacts only to its function, sources, dependents and visuals template, all of which
  // it is linked with by FreeNotification: the chart need not tell it of every other component.
  SetHearsOwnerNotifications(false);
}

TChartSeries::~TChartSeries() {
  if (FParent) SetParentChart(nullptr);
  if (FZelFunction) {
    TZelFunction* F = FZelFunction;
    FZelFunction = nullptr;
    F->FParent = nullptr;
    F->RemoveFreeNotification(this);
    F->Free();
  }
  // Dependent series stop following this one; sources forget it.
  for (TChartSeries* S : std::vector<TChartSeries*>(FLinkedSeries)) {
    RemoveFreeNotification(S);
    if (S->FDataSources && S->FDataSources->IndexOf(this) >= 0) S->InternalRemoveDataSource(this);
  }
  FLinkedSeries.clear();
  if (FDataSources) {
    for (TComponent* C : FDataSources->List) {
      if (auto* Src = dynamic_cast<TChartSeries*>(C)) Src->RemoveLinkedSeries(this);
      C->RemoveFreeNotification(this);
    }
    FDataSources.reset();
  }
  // The points go as by Clear (OnClearValues fires); the function is already gone, and dependent
  // series no longer follow, so only the series' own lists and handler see it.
  Clear();
  FVisuals.reset();
  if (FMarks) FMarks->Free();
  FMarks = nullptr;
  if (FSelected) FSelected->Free();
  FSelected = nullptr;
  FValuesList.reset();
  FX = FY = nullptr;
}

void TChartSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParent) return;
  if (FParent) FParent->RemoveSeries(this);
  FParent = Value;
  if (FMarks) FMarks->SetParent(Value);
  if (FLegend) FLegend->SetParent(Value);
  if (Value) Value->InternalAddSeries(this);
}

void TChartSeries::Added() {
  TCustomChartSeries::Added();
  if (FLegend) FLegend->SetParent(FParent);
  if (FParent && FColor == clZelDefault) {
    ChangeInternalColor(FParent->GetFreeSeriesColor(true, this));
    NotifyColorChanged();
  }
  RecalcGetAxis();
  // Leaving a chart dropped the links to the source series; joining one restores them, so that
  // a series moved between charts keeps following its sources.
  if (FDataSources)
    for (TComponent* C : FDataSources->List)
      if (auto* S = dynamic_cast<TChartSeries*>(C)) S->AddLinkedSeries(this);
  CheckDataSource();
}

bool TChartSeries::IsSeriesColorStored() const {
  if (IsColorStored()) return true;
  return FParent && ISeriesColor != FParent->GetReadSeriesColor(const_cast<TChartSeries*>(this));
}

void TChartSeries::Removed() {
  if (FParent && FParent->GetCursor() == FCursor) FParent->SetCursor(FParent->GetOriginalCursor());
  RemoveAllLinkedSeries();
  TCustomChartSeries::Removed();
  FGetHorizAxis = nullptr;
  FGetVertAxis = nullptr;
}

void TChartSeries::SetXValue(std::int32_t Index, double Value) {
  FX->Value[Index] = Value;
  FX->SetModified(true);
  Repaint();
}

void TChartSeries::SetYValue(std::int32_t Index, double Value) {
  FY->Value[Index] = Value;
  FY->SetModified(true);
  Repaint();
}

// Adding

std::int32_t TChartSeries::AddXY(double X, double Y, const String& Label, TAlphaColor Color) {
  FX->FTempValue = X;
  FY->FTempValue = Y;
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  std::int32_t Index;
  {
    TChangeGuard Guard(this);
    Index = FX->AppendTemp();
    const std::int32_t Lists = FValuesList->Count();
    std::int32_t Done = 1;
    // On failure the point leaves the lists that took it, so that they stay in step.
    TUndoOnFailure TakeOut([&] {
      for (std::int32_t I = 0; I < Done; ++I) {
        TChartValueList* L = FValuesList->Get(I);
        if (L->FCount > Index) L->Delete(Index);
      }
      if (FColors && static_cast<std::int32_t>(FColors->size()) > Count()) FColors->erase(FColors->begin() + Index);
    });
    for (; Done < Lists; ++Done) {
      TChartValueList* L = FValuesList->Get(Done);
      L->InsertChartValue(Index, L->FTempValue);
    }
    if (FColors) {
      FColors->insert(FColors->begin() + Index, Color);
    } else if (Color != clZelDefault) {
      GrowColors(FX->FCount - 1);  // the X list holds the new point already
      FColors->insert(FColors->begin() + Index, Color);
    }
    if (!Label.empty() || FLabels.Count() > 0) FLabels.InsertLabel(Index, Label);
  }
  // The point is in every list; the value lists' own change notices are covered by this one.
  if (IUpdating == 0) NotifyNewValue(this, Index);
  return Index;
}

std::int32_t TChartSeries::Add(double Value, const String& Label, TAlphaColor Color) {
  if (YMandatory) return AddXY(Count(), Value, Label, Color);
  return AddXY(Value, FY->GetCount(), Label, Color);
}

std::int32_t TChartSeries::AddX(double X, const String& Label, TAlphaColor Color) {
  return AddXY(X, Count(), Label, Color);
}

std::int32_t TChartSeries::AddY(double Y, const String& Label, TAlphaColor Color) {
  return AddXY(Count(), Y, Label, Color);
}

std::int32_t TChartSeries::AddNull(double Value) { return Add(Value, String(), 0); }

std::int32_t TChartSeries::AddNull(const String& Label) { return Add(FDefaultNull, Label, 0); }

std::int32_t TChartSeries::AddNullXY(double X, double Y, const String& Label) { return AddXY(X, Y, Label, 0); }

namespace {
// Adds Values[0..LastIndex] through the series' virtual Add, inside one update bracket.
template <typename T>
std::int32_t AddArrayOf(TChartSeries& Series, const T* Values, std::int32_t LastIndex) {
  WithinUpdate(Series, [&] {
    for (std::int32_t I = 0; I <= LastIndex; ++I) Series.Add(Values[I]);
  });
  return LastIndex + 1 > 0 ? LastIndex + 1 : 0;
}
}  // namespace

std::int32_t TChartSeries::AddArray(const double* Values, std::int32_t LastIndex) {
  return AddArrayOf(*this, Values, LastIndex);
}

std::int32_t TChartSeries::AddArray(const std::int32_t* Values, std::int32_t LastIndex) {
  return AddArrayOf(*this, Values, LastIndex);
}

std::int32_t TChartSeries::AddArray(const std::vector<double>& Values) {
  return AddArray(Values.data(), static_cast<std::int32_t>(Values.size()) - 1);
}

std::int32_t TChartSeries::AddArray(const double* XValues, std::int32_t LastIndex, const double* YValues) {
  WithinUpdate(*this, [&] {
    for (std::int32_t I = 0; I <= LastIndex; ++I) AddXY(XValues[I], YValues[I]);
  });
  return LastIndex + 1 > 0 ? LastIndex + 1 : 0;
}

void TChartSeries::GrowColors(std::int32_t Points) {
  FColors = std::make_unique<std::vector<TAlphaColor>>(static_cast<std::size_t>(std::max(Points, 0)), clZelDefault);
}

// Deleting and clearing

void TChartSeries::Delete(std::int32_t ValueIndex) {
  if (ValueIndex < 0 || ValueIndex >= Count())
    throw ChartException(Format(ZelMsg_SeriesDelete, {ValueIndex, Count() - 1}));
  {
    TChangeGuard Guard(this);
    for (std::int32_t L = 0; L < FValuesList->Count(); ++L) {
      TChartValueList* List = FValuesList->Get(L);
      if (List->FCount > ValueIndex) List->Delete(ValueIndex);
    }
    if (FColors && ValueIndex < static_cast<std::int32_t>(FColors->size()))
      FColors->erase(FColors->begin() + ValueIndex);
    FLabels.DeleteLabel(ValueIndex);
    if (FVisuals) FVisuals->DeleteVisual(ValueIndex);
    if (FMarks) FMarks->DeletePoint(ValueIndex);
  }
  NotifyValue(TValueEvent::vnDeleted, ValueIndex);
  if (FActive) Repaint();
}

void TChartSeries::Delete(std::int32_t Start, std::int32_t Quantity, bool RemoveGap) {
  Assert(Quantity > 0, "Quantity of data points to delete must be greater than zero.", EngineUnit);
  Assert(Start + Quantity - 1 < Count(), "Quantity of data to delete must be less than Count.", EngineUnit);
  if (Start < 0 || Start >= Count()) return;
  Quantity = std::min(Quantity, Count() - Start);
  {
    TChangeGuard Guard(this);
    for (std::int32_t L = 0; L < FValuesList->Count(); ++L) {
      TChartValueList* List = FValuesList->Get(L);
      if (List->FCount > Start) List->Delete(Start, std::min(Quantity, List->FCount - Start));
    }
    if (FColors) {
      ErasePointRange(*FColors, Start, Quantity);
      if (FColors->empty()) FColors.reset();
    }
    FLabels.DeleteLabels(Start, Quantity);
    if (FVisuals) FVisuals->DeleteVisuals(Start, Quantity);
    if (FMarks) FMarks->DeletePoints(Start, Quantity);
  }
  NotifyValue(TValueEvent::vnDeleted, -1);
  if (FActive) Repaint();
  if (RemoveGap) NotMandatoryValueList->FillSequence();
}

void TChartSeries::ClearLists() {
  for (std::int32_t L = 0; L < FValuesList->Count(); ++L) FValuesList->Get(L)->ClearValues();
  FColors.reset();
  FLabels.Clear();
  if (FMarks) FMarks->Clear();
  if (FVisuals) FVisuals->Clear();
}

void TChartSeries::Clear() {
  FFirstVisibleIndex = -1;
  FLastVisibleIndex = -1;
  ClearLists();
  if (OnClearValues) OnClearValues(this);
  NotifyValue(TValueEvent::vnCleared, 0);
  if (FZelFunction) FZelFunction->Clear();
  if (FActive && FParent && !FParent->IsDestroying()) Repaint();
}

void TChartSeries::SwapValueIndex(std::int32_t A, std::int32_t B) {
  {
    TChangeGuard Guard(this);
    for (std::int32_t L = 0; L < FValuesList->Count(); ++L) FValuesList->Get(L)->Exchange(A, B);
    if (FColors) {
      const std::int32_t High = std::max(A, B);
      if (High >= static_cast<std::int32_t>(FColors->size()))
        FColors->resize(static_cast<std::size_t>(High) + 1, clZelDefault);
      std::swap((*FColors)[static_cast<std::size_t>(A)], (*FColors)[static_cast<std::size_t>(B)]);
    }
    if (FLabels.Count() > 0) FLabels.Exchange(A, B);
    if (FVisuals && FVisuals->Count() > 0) FVisuals->Exchange(A, B);
  }
  if (IPendingModified) {
    IPendingModified = false;
    NotifyValue(TValueEvent::vnModified, A);
  }
}

void TChartSeries::ValueListModified(std::int32_t Index) {
  if (IChanging > 0) {
    if (!IPendingModified) IPendingIndex = Index;
    IPendingModified = true;
    return;
  }
  NotifyValue(TValueEvent::vnModified, Index);
}

// Update bracket and notification

void TChartSeries::EndUpdate() {
  if (IUpdating <= 0) return;
  if (--IUpdating == 0) {
    RefreshSeries();
    if (FActive) Repaint();
  }
}

void TChartSeries::RefreshSeries() {
  NotifyValue(TValueEvent::vnRefreshed, 0);
  Broadcast(FParent, this, TChartSeriesEvent::seDataChanged);
}

void TChartSeries::NotifyNewValue(TChartSeries*, std::int32_t ValueIndex) {
  if (OnAfterAdd) OnAfterAdd(this, ValueIndex);
  NotifyValue(TValueEvent::vnAdded, ValueIndex);
  if (FActive) Repaint();
}

void TChartSeries::NotifyValue(TValueEvent ValueEvent, std::int32_t ValueIndex) {
  if (IUpdating > 0 || FLinkedSeries.empty() || IsDestroying()) return;
  // A dependent may unlink itself while following; walk a copy.
  const std::vector<TChartSeries*> Linked = FLinkedSeries;
  for (TChartSeries* S : Linked) {
    if (std::find(FLinkedSeries.begin(), FLinkedSeries.end(), S) == FLinkedSeries.end()) continue;
    const TSeriesRecalcOptions& O = S->FRecalcOptions;
    switch (ValueEvent) {
      case TValueEvent::vnCleared:
        if (O.Contains(TSeriesRecalcOption::rOnClear)) S->Clear();
        break;
      case TValueEvent::vnAdded:
        if (O.Contains(TSeriesRecalcOption::rOnInsert) && !S->FZelFunction) S->AddedValue(this, ValueIndex);
        break;
      case TValueEvent::vnDeleted:
        if (O.Contains(TSeriesRecalcOption::rOnDelete) && !S->FZelFunction) {
          // A range delete names no single point: the dependent copies its source again.
          if (ValueIndex < 0)
            S->AddValues(this);
          else
            S->DeletedValue(this, ValueIndex);
        }
        break;
      case TValueEvent::vnModified:
        if (O.Contains(TSeriesRecalcOption::rOnModify)) S->AddValues(this);
        break;
      case TValueEvent::vnRefreshed:
        S->AddValues(this);
        break;
    }
  }
}

void TChartSeries::AddValues(TChartSeries* Source) {
  WithinUpdate(*this, [&] {
    Clear();
    if (FZelFunction) {
      if (Source) {
        FX->SetCalculatedDateTime(Source->FX->GetDateTime());
        FY->SetCalculatedDateTime(Source->FY->GetDateTime());
        FZelFunction->AddPoints(Source);
      }
    } else if (Source && IsValidSourceOf(Source)) {
      for (std::int32_t I = 0; I < Source->Count(); ++I) AddedValue(Source, I);
    }
  });
}

void TChartSeries::DateTimeTurned() {
  const std::vector<TChartSeries*> Linked = FLinkedSeries;
  for (TChartSeries* S : Linked)
    if (S->FZelFunction && S->GetDataSource() == this) S->CheckDataSource();
}

void TChartSeries::AddedValue(TChartSeries* Source, std::int32_t ValueIndex) {
  std::int32_t J = AddChartValue(Source, ValueIndex);
  if (Source->FColors && ValueIndex < static_cast<std::int32_t>(Source->FColors->size())) {
    // The value lists already hold the new point: a new colour list covers the others.
    if (!FColors) GrowColors(Count() - 1);
    std::int32_t Pos = std::min<std::int32_t>(J, static_cast<std::int32_t>(FColors->size()));
    FColors->insert(FColors->begin() + Pos, (*Source->FColors)[static_cast<std::size_t>(ValueIndex)]);
  } else if (FColors && static_cast<std::int32_t>(FColors->size()) < Count()) {
    FColors->insert(FColors->begin() + std::min<std::int32_t>(J, static_cast<std::int32_t>(FColors->size())),
                    clZelDefault);
  }
  if (ValueIndex < Source->FLabels.Count()) FLabels.InsertLabel(J, Source->FLabels.GetLabel(ValueIndex));
  if (IUpdating == 0) NotifyNewValue(this, J);
}

std::int32_t TChartSeries::AddChartValue(TChartSeries* Source, std::int32_t ValueIndex) {
  double X = Source->FX->Value[ValueIndex];
  double Y = Source->FY->Value[ValueIndex];
  if (YMandatory != Source->YMandatory) std::swap(X, Y);
  std::int32_t Index;
  {
    TChangeGuard Guard(this);
    Index = FX->AddChartValue(X);
    FY->InsertChartValue(Index, Y);
    for (std::int32_t L = 2; L < FValuesList->Count(); ++L) {
      double V = L < Source->FValuesList->Count() ? Source->FValuesList->Get(L)->Value[ValueIndex] : 0.0;
      FValuesList->Get(L)->InsertChartValue(Index, V);
    }
  }
  return Index;
}

void TChartSeries::DeletedValue(TChartSeries*, std::int32_t ValueIndex) { Delete(ValueIndex); }

// Colours

TAlphaColor TChartSeries::InternalColor(std::int32_t ValueIndex) const {
  if (FColors && ValueIndex >= 0 && ValueIndex < static_cast<std::int32_t>(FColors->size()))
    return (*FColors)[static_cast<std::size_t>(ValueIndex)];
  return clZelDefault;
}

TAlphaColor TChartSeries::GetValueColor(std::int32_t ValueIndex) {
  if (ValueIndex >= 0 && ValueIndex < Count() && !IsFinitePoint(ValueIndex)) return 0;
  TAlphaColor C = InternalColor(ValueIndex);
  if (C != clZelDefault) return C;
  if (FColorEachPoint) return FParent ? FParent->GetDefaultColor(ValueIndex) : zel::GetDefaultColor(ValueIndex);
  return GetSeriesColor();
}

void TChartSeries::SetValueColor(std::int32_t ValueIndex, TAlphaColor Color) {
  if (ValueIndex < 0)
    throw ChartException(Format("Series ValueColor: ValueIndex %d must not be negative.", {ValueIndex}));
  if (!FColors && Color == clZelDefault) return;
  while (Count() <= ValueIndex) AddNull(String());
  if (!FColors) GrowColors(Count());
  if (static_cast<std::int32_t>(FColors->size()) <= ValueIndex)
    FColors->resize(static_cast<std::size_t>(ValueIndex) + 1, clZelDefault);
  (*FColors)[static_cast<std::size_t>(ValueIndex)] = Color;
  NotifyColorChange(ValueIndex);
}

void TChartSeries::SetNull(std::int32_t ValueIndex, bool Null) { SetValueColor(ValueIndex, Null ? 0 : clZelDefault); }

void TChartSeries::SetSeriesColor(TAlphaColor Value) {
  if (FColor == clZelDefault && Value == ISeriesColor) return;
  SetColorProperty(FColor, Value);
  ISeriesColor = Value;
  NotifyColorChanged();
}

void TChartSeries::ChangeInternalColor(TAlphaColor Value) {
  ISeriesColor = Value;
  SetSeriesColor(Value);
}

void TChartSeries::SetDefaultColor() {
  if (FColor == clZelDefault) return;
  FColor = clZelDefault;
  ISeriesColor = clZelDefault;
  if (FParent) FParent->ColorPaletteChanged();
  Repaint();
}

void TChartSeries::SetColorEachPoint(bool Value) {
  if (FColorEachPoint == Value) return;
  FColorEachPoint = Value;
  NotifyColorChange(-1);
}

void TChartSeries::NotifyColorChange(std::int32_t) { Repaint(); }

void TChartSeries::NotifyColorChanged() {
  Broadcast(FParent, this, TChartSeriesEvent::seChangeColor);
  if (FParent) FParent->RefreshDesigner();
}

// Dependent series

void TChartSeries::AddLinkedSeries(TChartSeries* Series) {
  if (!Series || Series == this) return;
  if (std::find(FLinkedSeries.begin(), FLinkedSeries.end(), Series) != FLinkedSeries.end()) return;
  FLinkedSeries.push_back(Series);
  FreeNotification(Series);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries* Series) {
  auto It = std::find(FLinkedSeries.begin(), FLinkedSeries.end(), Series);
  if (It == FLinkedSeries.end()) return;
  FLinkedSeries.erase(It);
}

void TChartSeries::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  auto It = std::find(FLinkedSeries.begin(), FLinkedSeries.end(), AComponent);
  if (It != FLinkedSeries.end()) FLinkedSeries.erase(It);
  if (AComponent == FZelFunction) {
    FZelFunction = nullptr;
  } else if (FDataSources && FDataSources->IndexOf(AComponent) >= 0) {
    InternalRemoveDataSource(AComponent);
  } else if (FVisuals && AComponent == FVisuals->GetTemplate()) {
    FVisuals->TemplateRemoved();
  }
  // A custom axis freed, in this series' chart or any other: back on the standard axes.
  const bool Horiz = ZelAxisFreed(FCustomHorizAxis, AComponent, Operation);
  const bool Vert = ZelAxisFreed(FCustomVertAxis, AComponent, Operation);
  if (Horiz) SetCustomHorizAxis(nullptr);
  if (Vert) SetCustomVertAxis(nullptr);
}

void TChartSeries::LinkCustomAxis(TChartAxis*& Field, TChartAxis* Value) {
  // Both fields may hold one axis: the link stays while the other one does.
  ZelLinkAxis(this, Field, Value, {&Field == &FCustomHorizAxis ? FCustomVertAxis : FCustomHorizAxis});
}

void TChartSeries::SetFunction(TZelFunction* Value) {
  if (Value == FZelFunction) return;
  if (FZelFunction) {
    TZelFunction* Old = FZelFunction;
    FZelFunction = nullptr;
    Old->RemoveFreeNotification(this);
    Old->FParent = nullptr;
    Old->Free();
  }
  FZelFunction = Value;
  if (Value) {
    if (Value->FParent && Value->FParent != this) Value->FParent->FZelFunction = nullptr;
    Value->FParent = this;
    ManualData = false;
    Value->FreeNotification(this);
  }
  CheckDataSource();
}

// Value lists

void TChartSeries::SetXValues(TChartValueList* Value) {
  FX->Assign(Value);
  Repaint();
}

void TChartSeries::SetYValues(TChartValueList* Value) {
  FY->Assign(Value);
  Repaint();
}

void TChartSeries::SetHorizontal() {
  MandatoryValueList = FX;
  NotMandatoryValueList = FY;
  YMandatory = false;
}

void TChartSeries::ReplaceList(TChartValueList* OldList, TChartValueList* NewList) {
  if (!OldList || !NewList || OldList == NewList) return;
  std::int32_t Pos = FValuesList->IndexOf(OldList);
  if (Pos < 0) return;
  FValuesList->Extract(NewList);
  Pos = FValuesList->IndexOf(OldList);
  FValuesList->Extract(OldList);
  FValuesList->Insert(Pos, NewList);
  NewList->SetName(OldList->GetName());
  NewList->FOwner = this;
  if (OldList == FX) FX = NewList;
  if (OldList == FY) FY = NewList;
  if (MandatoryValueList == OldList) MandatoryValueList = NewList;
  if (NotMandatoryValueList == OldList) NotMandatoryValueList = NewList;
  OldList->Free();
}

void TChartSeries::CreateSubGallery(const TAddSubChart& AddSubChart) {
  if (AddSubChart) AddSubChart(ZelMsg_Normal);
}

void TChartSeries::SetMarks(TSeriesMarks* Value) {
  if (Value && Value != FMarks) GetMarks()->Assign(Value);
}

TSeriesMarks* TChartSeries::GetMarks() {
  if (!FMarks) {
    FMarks = new TSeriesMarks(this);
    FMarks->SetParent(FParent);
  }
  return FMarks;
}

// Properties

void TChartSeries::SetTransparency(Byte Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  Repaint();
}

void TChartSeries::SetZOrder(std::int32_t Value) {
  SetIntegerProperty(FZOrder, Value);
  IZOrder = Value == -1 ? 0 : Value;
}

void TChartSeries::SetHorizAxis(THorizAxis Value) {
  FHorizAxis = Value;
  if (Value != THorizAxis::aCustomHorizAxis && !ReadingStoredValue()) LinkCustomAxis(FCustomHorizAxis, nullptr);
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis Value) {
  FVertAxis = Value;
  if (Value != TVertAxis::aCustomVertAxis && !ReadingStoredValue()) LinkCustomAxis(FCustomVertAxis, nullptr);
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* Value) {
  LinkCustomAxis(FCustomHorizAxis, Value);
  FHorizAxis = Value ? THorizAxis::aCustomHorizAxis : THorizAxis::aBottomAxis;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* Value) {
  LinkCustomAxis(FCustomVertAxis, Value);
  FVertAxis = Value ? TVertAxis::aCustomVertAxis : TVertAxis::aLeftAxis;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetColorSource(const String& Value) {
  if (FColorSource == Value) return;
  FColorSource = Value;
  CheckDataSource();
}

void TChartSeries::SetXLabelsSource(const String& Value) {
  if (FLabelsSource == Value) return;
  FLabelsSource = Value;
  CheckDataSource();
}

// ---------------------------------------------------------------------------------------------
// Published properties

bool TChartSeries::IsValueFormatStored() const { return FValueFormat != ZelMsg_DefValueFormat; }
bool TChartSeries::IsPercentFormatStored() const { return FPercentFormat != ZelMsg_DefPercentFormat; }
bool TChartSeries::IsDataSourceStored() const { return FDataSources && FDataSources->Count() == 1; }

ZEL_BEGIN_PUBLISHED(TChartSeries)
  P::Prop("Active", &Self::GetActive, &Self::SetActive, Default(true)),
  P::Prop("ColorEachPoint", &Self::GetColorEachPoint, &Self::SetColorEachPoint, Default(false)),
  P::Prop("ColorSource", &Self::GetColorSource, &Self::SetColorSource, Default(String())),
  P::Prop("Cursor", &Self::GetCursor, &Self::SetCursor, Default(TCursor(0))),
  P::Prop("DataSource", &Self::GetDataSource, &Self::SetDataSource, &Self::IsDataSourceStored),
  P::Prop("Depth", &Self::GetDepth, &Self::SetDepth, Default(-1)),
  P::Prop("HorizAxis", &Self::GetHorizAxis, &Self::SetHorizAxis, Default(THorizAxis::aBottomAxis)),
  P::Obj("Legend", &Self::GetLegend, &Self::ExistingLegend),
  P::Prop("LegendTitle", &Self::GetLegendTitle, &Self::SetLegendTitle, Default(String())),
  P::Obj("Marks", &Self::GetMarks, [](Self* S) { return S->HasMarks() ? S->GetMarks() : nullptr; }),
  // A series is written inside its chart; a stream that keeps it elsewhere names its chart.
  P::Prop("ParentChart", &Self::GetParentChart, &Self::SetParentChart, Never),
  P::Prop("PercentFormat", &Self::GetPercentFormat, &Self::SetPercentFormat, &Self::IsPercentFormatStored),
  P::Prop("SeriesColor", &Self::GetSeriesColor, &Self::SetSeriesColor, &Self::IsSeriesColorStored),
  P::Obj("Selected", &Self::GetSelected, &Self::ExistingSelected),
  P::Prop("ShowInLegend", &Self::GetShowInLegend, &Self::SetShowInLegend, Default(true)),
  P::Prop("Title", &Self::GetTitle, &Self::SetTitle, Default(String())),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(Byte(0))),
  P::Prop("ValueFormat", &Self::GetValueFormat, &Self::SetValueFormat, &Self::IsValueFormatStored),
  P::Prop("VertAxis", &Self::GetVertAxis, &Self::SetVertAxis, Default(TVertAxis::aLeftAxis)),
  P::Prop("XLabelsSource", &Self::GetXLabelsSource, &Self::SetXLabelsSource, Default(String())),
  P::Obj("XValues", &Self::GetXValues),
  P::Obj("YValues", &Self::GetYValues),
  P::Event("AfterDrawValues", &Self::AfterDrawValues),
  P::Event("BeforeDrawValues", &Self::BeforeDrawValues),
  P::Event("OnAfterAdd", &Self::OnAfterAdd),
  P::Event("OnBeforeAdd", &Self::OnBeforeAdd),
  P::Event("OnClearValues", &Self::OnClearValues),
  P::Event("OnClick", &Self::OnClick),
  P::Event("OnDblClick", &Self::OnDblClick),
  P::Event("OnGetMarkText", &Self::OnGetMarkText),
  P::Event("OnMouseEnter", &Self::OnMouseEnter),
  P::Event("OnMouseLeave", &Self::OnMouseLeave),
ZEL_END_PUBLISHED

}  // namespace zel
