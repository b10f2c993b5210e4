// Process-wide registries of chart classes: series types with the functions that can feed them,
// tool types and animation types. Units that define such classes register them when they start
// and remove them when they end; registering also makes a class known to component streaming,
// so a stored chart can re-create its series, functions and tools by class name.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"
#include "zelgraph/canvas/Picture.h"  // ZelActivateGroup

namespace zel {

// One entry of the series type registry: a series class, a function class, or both.
class TZelSeriesType : public TObject {
  ZEL_CLASS(TZelSeriesType, TObject)
 public:
  TZelSeriesType() = default;

  const TClass* SeriesClass = nullptr;
  const TClass* FunctionClass = nullptr;
  // Message globals with the display name and the gallery page; read when shown.
  const String* Description = nullptr;
  const String* GalleryPage = nullptr;
  std::int32_t NumGallerySeries = 1;
  // Sub-style of the same class; 0 for the plain entry.
  std::int32_t SubIndex = 0;

  // The description on one line (carriage returns become blanks); empty without one.
  String Caption() const;
};

// The series type registry; owns its entries.
class TZelSeriesTypes {
 public:
  TZelSeriesTypes() = default;
  ~TZelSeriesTypes() { Clear(); }
  TZelSeriesTypes(const TZelSeriesTypes&) = delete;
  TZelSeriesTypes& operator=(const TZelSeriesTypes&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  TZelSeriesType* Get(std::int32_t Index) const;
  TZelSeriesType* operator[](std::int32_t Index) const { return Get(Index); }
  // Takes ownership of Item.
  void Add(TZelSeriesType* Item) { FItems.push_back(TOwned<TZelSeriesType>(Item)); }
  // Removes and frees entry Index.
  void Delete(std::int32_t Index);
  void Clear() { FItems.clear(); }

  // The series class of the first entry without a function class whose series class is named
  // ClassName; nullptr when none.
  const TClass* Find(const String& ClassName) const;
  // The first entry without a function class for ASeriesClass, with SubIndex equal to the
  // argument when that is not 0; nullptr when none.
  TZelSeriesType* Find(const TClass* ASeriesClass, std::int32_t SubIndex) const;

 private:
  std::vector<TOwned<TZelSeriesType>> FItems;
};

// A plain list of class references (tool and animation types).
class TZelToolTypes {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // Entry Index; raises EListError for an index out of range.
  const TClass* Get(std::int32_t Index) const;
  const TClass* operator[](std::int32_t Index) const { return Get(Index); }
  std::int32_t IndexOf(const TClass* Class) const;
  void Add(const TClass* Class) { FItems.push_back(Class); }
  // Removes Class when present.
  void Remove(const TClass* Class);
  void Clear() { FItems.clear(); }

 private:
  std::vector<const TClass*> FItems;
};

// The registries, created on first use by their accessors and freed when the chart unit ends.
TZelSeriesTypes* CheckZelSeriesTypes();
TZelToolTypes* CheckZelToolTypes();
TZelToolTypes* CheckZelAnimationTypes();
// The registries as they are (nullptr before first use and after the chart unit ended).
extern TZelSeriesTypes* ZelSeriesTypes;
extern TZelToolTypes* ZelToolTypes;
extern TZelToolTypes* ZelAnimationTypes;

// Registers a series class, a function class or a pair (either may be nullptr) with its display
// name and gallery page (message globals). Both classes become known to streaming. With
// ASubIndex 0 an existing entry for the same pair is kept and no second one added.
void RegisterZelSeriesFunction(const TClass* ASeriesClass, const TClass* AFunctionClass,
                               const String* ADescription, const String* AGalleryPage,
                               std::int32_t ANumGallerySeries, std::int32_t ASubIndex);
void RegisterZelFunction(const TClass* AFunctionClass, const String* ADescription,
                         const String* AGalleryPage, std::int32_t ANumGallerySeries);
// Removes and frees the entries of the given function classes (Classes[0..HighIndex]); the
// classes stay known to streaming. A negative HighIndex does nothing.
void UnRegisterZelFunctions(const TClass* const* Classes, int HighIndex);
// The same for entries whose series class is one of the given classes.
void UnRegisterZelSeries(const TClass* const* Classes, int HighIndex);

// Appends the tool classes not yet registered (first registration order kept) and makes them
// known to streaming.
void RegisterZelTools(const TClass* const* Classes, int HighIndex);
// Removes the tool classes from the registry when present, and from streaming in any case.
void UnRegisterZelTools(const TClass* const* Classes, int HighIndex);

// Chart unit start (counted): seeds the random generator, creates the registries and the
// palette names. End (when the last start is matched): frees them.
void ZelChartUnitStart();
void ZelChartUnitEnd();

}  // namespace zel
