#include "zelgraph/engine/SeriesList.h"

#include "platform/Filer.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

std::int32_t ZelMaxPixelPos = 0;

namespace {
int EngineStartCount = 0;

}  // namespace

void ZelEngineUnitStart() {
  if (EngineStartCount++ > 0) return;
  ZelMaxPixelPos = 32767;
  ZelActivateGroup();
  RegisterClass(TChartAxisTitle::StaticClass());
  RegisterClass(TChartAxis::StaticClass());
  RegisterClass(TChartDepthAxis::StaticClass());
  RegisterClass(TSeriesMarks::StaticClass());
  RegisterClass(TThemedSeries::StaticClass());
  RegisterItemClass(ItemClassOf<TSeriesGroup>());
}

void ZelEngineUnitEnd() {
  if (EngineStartCount == 0 || --EngineStartCount > 0) return;
  UnRegisterItemClass(ItemClassOf<TSeriesGroup>());
  UnRegisterClass(TThemedSeries::StaticClass());
  UnRegisterClass(TSeriesMarks::StaticClass());
  UnRegisterClass(TChartDepthAxis::StaticClass());
  UnRegisterClass(TChartAxis::StaticClass());
  UnRegisterClass(TChartAxisTitle::StaticClass());
}

// TCustomSeriesList

void TCustomSeriesList::ClearValues() {
  for (TChartSeries* S : std::vector<TChartSeries*>(GetList())) S->Clear();
}

void TCustomSeriesList::FillSampleValues(std::int32_t Count) {
  for (TChartSeries* S : std::vector<TChartSeries*>(GetList())) S->FillSampleValues(Count);
}

// TChartSeriesList

TChartSeriesList::TChartSeriesList(TCustomAxisPanel* AOwner)
    : TCustomSeriesList(AOwner), FGroups(new TSeriesGroups(AOwner)) {}

TChartSeriesList::~TChartSeriesList() { FreeAndNil(FGroups); }

void TChartSeriesList::Notify(TChartSeries* const& Item, TListNotification Action) {
  TCustomSeriesList::Notify(Item, Action);
  if (Action == TListNotification::lnAdded) {
    auto [It, New] = FPlaces.try_emplace(Item, TPlace{GetCount() - 1 + FBase, 1});
    if (!New) ++It->second.Times;
    // An item not added at the end leaves the other places to be checked on use.
    return;
  }
  auto It = FPlaces.find(Item);
  if (It == FPlaces.end()) return;
  // The first item gone moves every other one place down: one count for all of them.
  if (It->second.Times == 1 && It->second.Place - FBase == 0) ++FBase;
  if (--It->second.Times <= 0) FPlaces.erase(It);
}

void TChartSeriesList::Replace() const {
  const std::vector<TChartSeries*>& L = GetList();
  for (int I = static_cast<int>(L.size()); I-- > 0;) {
    auto It = FPlaces.find(L[static_cast<std::size_t>(I)]);
    if (It != FPlaces.end()) It->second.Place = I + FBase;  // walking down leaves the first place
  }
}

int TChartSeriesList::IndexOf(TChartSeries* const& Item) const {
  auto It = FPlaces.find(Item);
  if (It == FPlaces.end()) return -1;
  if (It->second.Times > 1) return TCustomSeriesList::IndexOf(Item);
  const std::int64_t I = It->second.Place - FBase;
  if (I >= 0 && I < GetCount() && GetItems(static_cast<int>(I)) == Item) return static_cast<int>(I);
  // Items moved since the place was taken: take every place again, once.
  Replace();
  return static_cast<int>(It->second.Place - FBase);
}

int TChartSeriesList::Remove(TChartSeries* const& Item) {
  const int I = IndexOf(Item);
  if (I >= 0) Delete(I);
  return I;
}


void TChartSeriesList::SetGroups(TSeriesGroups* Value) {
  if (Value && Value != FGroups) FGroups->Assign(Value);
}

TSeriesGroup* TChartSeriesList::AddGroup(const String& AName) {
  auto* G = static_cast<TSeriesGroup*>(FGroups->Add());
  G->SetName(AName);
  return G;
}

void TChartSeriesList::Assign(const TChartSeriesList* Source) {
  if (Source && Source != this) FGroups->Assign(Source->FGroups);
}

TChartSeries* TChartSeriesList::Clicked(std::int32_t X, std::int32_t Y, std::int32_t& ValueIndex) const {
  for (std::int32_t I = GetCount() - 1; I >= 0; --I) {
    TChartSeries* S = Get(I);
    if (!S->GetActive()) continue;
    const std::int32_t V = S->Clicked(X, Y);
    if (V != -1) {
      ValueIndex = V;
      return S;
    }
  }
  ValueIndex = -1;
  return nullptr;
}

bool TChartSeriesList::GetAllActive() const {
  for (TChartSeries* S : GetList())
    if (!S->GetActive()) return false;
  return true;
}

void TChartSeriesList::SetAllActive(bool Value) {
  for (TChartSeries* S : std::vector<TChartSeries*>(GetList())) S->SetActive(Value);
}

// TChartAxes

void TChartAxes::Clear() {
  while (GetCount() > 0) {
    // Out of the list first: an axis that did not leave it by itself could not loop here.
    TChartAxis* A = GetItems(0);
    Extract(A);
    A->Free();
  }
  TList<TChartAxis*>::Clear();
}

TChartAxis* TChartAxes::Clicked(std::int32_t X, std::int32_t Y) const {
  for (TChartAxis* A : std::vector<TChartAxis*>(GetList()))
    if (A->GetVisible() && A->Clicked(X, Y)) return A;
  return nullptr;
}

void TChartAxes::Hide() {
  if (FChart) FChart->SetAxisVisible(false);
}

TChartAxis* TChartAxes::GetBottom() const { return FChart ? FChart->GetBottomAxis() : nullptr; }
TChartAxis* TChartAxes::GetTop() const { return FChart ? FChart->GetTopAxis() : nullptr; }
TChartAxis* TChartAxes::GetLeft() const { return FChart ? FChart->GetLeftAxis() : nullptr; }
TChartAxis* TChartAxes::GetRight() const { return FChart ? FChart->GetRightAxis() : nullptr; }
TChartAxis* TChartAxes::GetDepth() const { return FChart ? FChart->GetDepthAxis() : nullptr; }
TChartAxis* TChartAxes::GetDepthTop() const { return FChart ? FChart->GetDepthTopAxis() : nullptr; }

void TChartAxes::SetFastCalc(bool Value) {
  IFastCalc = Value;
  for (TChartAxis* A : GetList()) A->SetCalcPosValue();
}

bool TChartAxes::GetBehind() const { return FChart && FChart->GetAxisBehind(); }
void TChartAxes::SetBehind(bool Value) {
  if (FChart) FChart->SetAxisBehind(Value);
}
bool TChartAxes::GetVisible() const { return FChart && FChart->GetAxisVisible(); }
void TChartAxes::SetVisible(bool Value) {
  if (FChart) FChart->SetAxisVisible(Value);
}

bool TChartAxes::GetAuto() const {
  for (TChartAxis* A : GetList())
    if (!A->GetAutomatic()) return false;
  return true;
}

void TChartAxes::SetAuto(bool Value) {
  for (TChartAxis* A : std::vector<TChartAxis*>(GetList())) A->SetAutomatic(Value);
}

// TChartCustomAxes

ZEL_DEFINE_CLASS(TChartCustomAxes, TOwnedCollection)

TChartCustomAxes::TChartCustomAxes(TPersistent* AOwner) : TOwnedCollection(AOwner, ItemClassOf<TChartAxis>()) {}

TChartAxis* TChartCustomAxes::Get(std::int32_t Index) const { return static_cast<TChartAxis*>(GetItem(Index)); }

void TChartCustomAxes::Put(std::int32_t Index, TChartAxis* Value) { SetItem(Index, Value); }

TChartAxis* TChartCustomAxes::Add() {
  auto* A = static_cast<TChartAxis*>(TCollection::Add());
  // Under an axis the new one is its sub-axis (its constructor made it the slave): it takes the
  // master's orientation and side and draws no grid of its own.
  if (auto* Master = dynamic_cast<TChartAxis*>(GetOwner())) {
    A->SetHorizontal(Master->GetHorizontal());
    A->SetOtherSide(Master->GetOtherSide());
    A->GetGrid()->SetVisible(false);
    A->SetCalcPosValue();
  }
  return A;
}

void TChartCustomAxes::ResetScales(TChartAxis* Axis) {
  if (!Axis) return;
  for (std::int32_t I = 0; I < GetCount(); ++I) {
    TChartAxis* A = Get(I);
    if (A->GetMaster() == Axis) A->SetMinMax(Axis->GetMinimum(), Axis->GetMaximum());
  }
}

// TSeriesGroup

ZEL_DEFINE_CLASS(TSeriesGroup, TCollectionItem)

TSeriesGroup::TSeriesGroup(TCollection* ACollection) : TCollectionItem(ACollection) {
  auto* Groups = dynamic_cast<TSeriesGroups*>(ACollection);
  FSeries = std::make_unique<TCustomSeriesList>(Groups ? Groups->GetChart() : nullptr);
  FName = "Group" + IntToStr(ACollection ? ACollection->GetCount() : 0);
}

TSeriesGroup::~TSeriesGroup() = default;

TCustomAxisPanel* TSeriesGroup::Chart() const { return FSeries->GetOwner(); }

void TSeriesGroup::Assign(TPersistent* Source) {
  if (auto* G = dynamic_cast<TSeriesGroup*>(Source)) {
    FName = G->FName;
    SetSeries(G->FSeries.get());
    return;
  }
  TCollectionItem::Assign(Source);
}

void TSeriesGroup::Add(TChartSeries* Series) {
  if (Series) FSeries->Add(Series);
}

void TSeriesGroup::SetSeries(const TCustomSeriesList* Value) {
  if (Value == FSeries.get()) return;
  const std::vector<TChartSeries*> Items = Value ? Value->GetList() : std::vector<TChartSeries*>();
  FSeries->Clear();
  for (TChartSeries* S : Items) FSeries->Add(S);
}

TSeriesGroupActive TSeriesGroup::GetActive() const {
  std::int32_t ActiveCount = 0;
  for (TChartSeries* S : FSeries->GetList())
    if (S->GetActive()) ++ActiveCount;
  if (ActiveCount == FSeries->GetCount()) return TSeriesGroupActive::gaYes;
  if (ActiveCount == 0) return TSeriesGroupActive::gaNo;
  return TSeriesGroupActive::gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive Value) {
  if (Value == TSeriesGroupActive::gaSome || Value == GetActive()) return;
  const bool On = Value == TSeriesGroupActive::gaYes;
  for (TChartSeries* S : std::vector<TChartSeries*>(FSeries->GetList())) S->SetActive(On);
}

void TSeriesGroup::DefineProperties(TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  Filer->DefineProperty(
      "Series",
      [this](TReader* Reader) {
        auto List = TOwned<TStringList>(new TStringList());
        Reader->ReadListBegin();
        while (!Reader->EndOfList()) List->Add(Reader->ReadString());
        Reader->ReadListEnd();
        FTempSeries = std::move(List);
      },
      [this](TWriter* Writer) {
        // A member of another chart has no index here: it is left out rather than written as
        // an index the chart refuses (or gives to another series) when read.
        Writer->WriteListBegin();
        for (TChartSeries* S : FSeries->GetList())
          if (const std::int32_t I = Chart() ? Chart()->IndexOfSeries(S) : -1; I >= 0) Writer->WriteString(ZelStr(I));
        Writer->WriteListEnd();
      },
      FSeries->GetCount() > 0);
}

std::vector<std::int32_t> TSeriesGroup::TempSeriesIndexes(std::int32_t SeriesCount) const {
  std::vector<std::int32_t> Indexes;
  if (!FTempSeries) return Indexes;
  for (int I = 0; I < FTempSeries->GetCount(); ++I) {
    const String Entry = FTempSeries->GetStrings(I);
    std::int32_t Index = -1;
    if (!TryStrToInt(Entry, Index) || Index < 0 || Index >= SeriesCount)
      throw EReadError("Series group " + FName + ": '" + Entry + "' is not the index of one of the " +
                       IntToStr(SeriesCount) + " series");
    Indexes.push_back(Index);
  }
  return Indexes;
}

void TSeriesGroup::ResolveTempSeries() {
  if (!FTempSeries) return;
  // The list is dropped also when an index is bad.
  TRestoreOnExit Drop([this] { DropTempSeries(); });
  TCustomAxisPanel* C = Chart();
  if (!C) return;
  const std::vector<std::int32_t> Indexes = TempSeriesIndexes(C->SeriesCount());
  FSeries->Clear();
  for (std::int32_t I : Indexes) FSeries->Add(C->GetSeries(I));
}

ZEL_BEGIN_PUBLISHED(TSeriesGroup)
  P::Prop("Active", &Self::GetActive, &Self::SetActive, Default(TSeriesGroupActive::gaYes)),
  P::Prop("Name", &Self::GetName, &Self::SetName, Default(String())),
ZEL_END_PUBLISHED

// TSeriesGroups

ZEL_DEFINE_CLASS(TSeriesGroups, TOwnedCollection)

TSeriesGroups::TSeriesGroups(TCustomAxisPanel* AChart)
    : TOwnedCollection(AChart, ItemClassOf<TSeriesGroup>()), FChart(AChart) {}

TSeriesGroup* TSeriesGroups::Get(std::int32_t Index) const { return static_cast<TSeriesGroup*>(GetItem(Index)); }

void TSeriesGroups::Put(std::int32_t Index, TSeriesGroup* Value) { SetItem(Index, Value); }

std::int32_t TSeriesGroups::Contains(const TChartSeries* Series) const {
  for (std::int32_t I = 0; I < GetCount(); ++I)
    if (Get(I)->GetSeries()->IndexOf(const_cast<TChartSeries*>(Series)) >= 0) return I;
  return -1;
}

TSeriesGroup* TSeriesGroups::FindByName(const String& AName, bool CaseSensitive) const {
  const String Upper = CaseSensitive ? AName : UpperCase(AName);
  for (std::int32_t I = 0; I < GetCount(); ++I) {
    TSeriesGroup* G = Get(I);
    if (CaseSensitive ? G->GetName() == AName : UpperCase(G->GetName()) == Upper) return G;
  }
  return nullptr;
}

}  // namespace zel
