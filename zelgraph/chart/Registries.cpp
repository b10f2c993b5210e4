#include "zelgraph/chart/Registries.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "platform/Lists.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Palettes.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_CLASS(TZelSeriesType, TObject)

String TZelSeriesType::Caption() const { return Description ? ReplaceChar(*Description, '\r', ' ') : String(); }

TZelSeriesTypes* ZelSeriesTypes = nullptr;
TZelToolTypes* ZelToolTypes = nullptr;
TZelToolTypes* ZelAnimationTypes = nullptr;

namespace {

int ChartUnitStartCount = 0;

bool ValidArray(const TClass* const* Classes, int HighIndex) { return Classes && HighIndex >= 0; }

// Removes and frees every entry whose series class (IsSeries) or function class is AClass.
void InternalUnRegister(const TClass* AClass, bool IsSeries) {
  if (!ZelSeriesTypes || !AClass) return;
  for (std::int32_t I = ZelSeriesTypes->Count() - 1; I >= 0; --I) {
    const TZelSeriesType* T = ZelSeriesTypes->Get(I);
    if ((IsSeries ? T->SeriesClass : T->FunctionClass) == AClass) ZelSeriesTypes->Delete(I);
  }
}

}  // namespace

// TZelSeriesTypes

TZelSeriesType* TZelSeriesTypes::Get(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<std::size_t>(Index)].get();
}

void TZelSeriesTypes::Delete(std::int32_t Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems.erase(FItems.begin() + Index);
}

const TClass* TZelSeriesTypes::Find(const String& ClassName) const {
  for (const auto& T : FItems)
    if (!T->FunctionClass && T->SeriesClass && ClassName == T->SeriesClass->Name) return T->SeriesClass;
  return nullptr;
}

TZelSeriesType* TZelSeriesTypes::Find(const TClass* ASeriesClass, std::int32_t SubIndex) const {
  for (const auto& T : FItems)
    if (!T->FunctionClass && T->SeriesClass == ASeriesClass && (SubIndex == 0 || T->SubIndex == SubIndex))
      return T.get();
  return nullptr;
}

// TZelToolTypes

const TClass* TZelToolTypes::Get(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

std::int32_t TZelToolTypes::IndexOf(const TClass* Class) const {
  auto It = std::find(FItems.begin(), FItems.end(), Class);
  return It == FItems.end() ? -1 : static_cast<std::int32_t>(It - FItems.begin());
}

void TZelToolTypes::Remove(const TClass* Class) {
  auto It = std::find(FItems.begin(), FItems.end(), Class);
  if (It != FItems.end()) FItems.erase(It);
}

// Accessors

TZelSeriesTypes* CheckZelSeriesTypes() {
  if (!ZelSeriesTypes) ZelSeriesTypes = new TZelSeriesTypes();
  return ZelSeriesTypes;
}

TZelToolTypes* CheckZelToolTypes() {
  if (!ZelToolTypes) ZelToolTypes = new TZelToolTypes();
  return ZelToolTypes;
}

TZelToolTypes* CheckZelAnimationTypes() {
  if (!ZelAnimationTypes) ZelAnimationTypes = new TZelToolTypes();
  return ZelAnimationTypes;
}

// Registration

void RegisterZelSeriesFunction(const TClass* ASeriesClass, const TClass* AFunctionClass,
                               const String* ADescription, const String* AGalleryPage,
                               std::int32_t ANumGallerySeries, std::int32_t ASubIndex) {
  ZelActivateGroup();
  if (!ASeriesClass && !AFunctionClass) return;  // an entry of nothing
  if (ASeriesClass) RegisterClass(ASeriesClass);
  if (AFunctionClass) RegisterClass(AFunctionClass);
  TZelSeriesTypes* Types = CheckZelSeriesTypes();
  if (ASubIndex == 0)
    for (std::int32_t I = 0; I < Types->Count(); ++I) {
      const TZelSeriesType* T = Types->Get(I);
      if (T->SeriesClass == ASeriesClass && T->FunctionClass == AFunctionClass) return;
    }
  TOwned<TZelSeriesType> T(Create<TZelSeriesType>());
  T->SeriesClass = ASeriesClass;
  T->FunctionClass = AFunctionClass;
  T->Description = ADescription;
  T->GalleryPage = AGalleryPage;
  T->NumGallerySeries = ANumGallerySeries;
  T->SubIndex = ASubIndex;
  Types->Add(T.release());
}

void RegisterZelFunction(const TClass* AFunctionClass, const String* ADescription,
                         const String* AGalleryPage, std::int32_t ANumGallerySeries) {
  RegisterZelSeriesFunction(nullptr, AFunctionClass, ADescription, AGalleryPage, ANumGallerySeries, 0);
}

void UnRegisterZelFunctions(const TClass* const* Classes, int HighIndex) {
  if (!ValidArray(Classes, HighIndex)) return;
  for (int I = 0; I <= HighIndex; ++I) InternalUnRegister(Classes[I], false);
}

void UnRegisterZelSeries(const TClass* const* Classes, int HighIndex) {
  if (!ValidArray(Classes, HighIndex)) return;
  for (int I = 0; I <= HighIndex; ++I) InternalUnRegister(Classes[I], true);
}

void RegisterZelTools(const TClass* const* Classes, int HighIndex) {
  ZelActivateGroup();
  if (!ValidArray(Classes, HighIndex)) return;
  TZelToolTypes* Tools = CheckZelToolTypes();
  for (int I = 0; I <= HighIndex; ++I) {
    const TClass* C = Classes[I];
    if (!C || Tools->IndexOf(C) >= 0) continue;
    RegisterClass(C);
    Tools->Add(C);
  }
}

void UnRegisterZelTools(const TClass* const* Classes, int HighIndex) {
  ZelActivateGroup();
  if (!ValidArray(Classes, HighIndex)) return;
  for (int I = 0; I <= HighIndex; ++I) {
    const TClass* C = Classes[I];
    if (!C) continue;
    if (ZelToolTypes) ZelToolTypes->Remove(C);
    UnRegisterClass(C);
  }
}

// Unit start and end

void ZelChartUnitStart() {
  if (ChartUnitStartCount++ > 0) return;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  CheckZelSeriesTypes();
  CheckZelToolTypes();
  CheckZelAnimationTypes();
  RegisterClass(TChart::StaticClass());  // streams name it
  if (!ColorPalettes) ColorPalettes = Create<TColorPalettes>();
  ColorPalettes->LoadNames();
}

void ZelChartUnitEnd() {
  if (ChartUnitStartCount == 0 || --ChartUnitStartCount > 0) return;
  FreeAndNil(ColorPalettes);
  UnRegisterClass(TChart::StaticClass());
  delete ZelSeriesTypes;
  ZelSeriesTypes = nullptr;
  delete ZelToolTypes;
  ZelToolTypes = nullptr;
  delete ZelAnimationTypes;
  ZelAnimationTypes = nullptr;
}

}  // namespace zel
