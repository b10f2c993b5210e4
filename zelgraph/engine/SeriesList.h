// The collections through which a chart reaches its series and axes: plain series lists, the
// chart's series list with its named groups, the list of every axis, and the collection of
// custom axes. Also the engine unit's start and end.
#pragma once

#include <unordered_map>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Collections.h"
#include "platform/Lists.h"
#include "platform/Published.h"
#include "platform/StringList.h"
#include "platform/Types.h"
#include "zelgraph/engine/Axis.h"

namespace zel {

class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;
class TFiler;
class TSeriesGroups;

// The engine unit's start (ZelMaxPixelPos, class registration) and end.
void ZelEngineUnitStart();
void ZelEngineUnitEnd();

// A list of series references; it does not own the series.
class TCustomSeriesList : public TList<TChartSeries*> {
 public:
  explicit TCustomSeriesList(TCustomAxisPanel* AOwner = nullptr) : FOwner(AOwner) {}

  TCustomAxisPanel* GetOwner() const { return FOwner; }
  void SetOwner(TCustomAxisPanel* Value) { FOwner = Value; }
  TChartSeries* Get(std::int32_t Index) const { return GetItems(Index); }
  // Clears the points of every series, in order.
  void ClearValues();
  // Fills every series with sample values, in order.
  void FillSampleValues(std::int32_t Count);

 protected:
  TCustomAxisPanel* FOwner;
};

// The chart's own series list, in the order the series joined the chart (the drawing and the
// legend order), with the chart's series groups.
class TChartSeriesList : public TCustomSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel* AOwner);
  ~TChartSeriesList() override;

  TSeriesGroups* GetGroups() const { return FGroups; }
  // Copies the given groups into the owned ones.
  void SetGroups(TSeriesGroups* Value);
  // A new group named by its constructor, then given AName.
  class TSeriesGroup* AddGroup(const String& AName);
  // Copies the source's groups (not its series).
  void Assign(const TChartSeriesList* Source);

  // The last active series whose point ValueIndex is under the pixel (nullptr and -1 when none).
  TChartSeries* Clicked(std::int32_t X, std::int32_t Y, std::int32_t& ValueIndex) const;

  // True when every series is active (also for no series).
  bool GetAllActive() const;
  void SetAllActive(bool Value);

  // The list's own lookups: a series' place is found without a walk over the list, so that
  // adding, finding and removing stay cheap for a chart of very many series.
  int IndexOf(TChartSeries* const& Item) const;
  bool Contains(TChartSeries* const& Item) const { return IndexOf(Item) >= 0; }
  int Remove(TChartSeries* const& Item);

 protected:
  void Notify(TChartSeries* const& Item, TListNotification Action) override;

 private:
  TSeriesGroups* FGroups;  // owned
  // Where each series stands (a hint, checked on use) and how often it is in the list.
  struct TPlace {
    std::int64_t Place;  // the index plus FBase when it was taken
    int Times;
  };
  mutable std::unordered_map<TChartSeries*, TPlace> FPlaces;
  std::int64_t FBase = 0;
  void Replace() const;
};

// Every axis of a chart in creation order: bottom, top, left, right, depth, top depth, then the
// custom axes. An axis' index here is the number tools store for it.
class TChartAxes : public TList<TChartAxis*> {
 public:
  explicit TChartAxes(TCustomAxisPanel* AChart) : FChart(AChart) {}

  TCustomAxisPanel* GetChart() const { return FChart; }
  TChartAxis* Get(std::int32_t Index) const { return GetItems(Index); }
  // Frees every axis in the list.
  void Clear();
  // The first visible axis hit at the pixel, else nullptr.
  TChartAxis* Clicked(std::int32_t X, std::int32_t Y) const;
  // Every axis automatic again.
  void Reset() { SetAuto(true); }
  // Hides all axes (the chart's AxisVisible off).
  void Hide();

  TChartAxis* GetBottom() const;
  TChartAxis* GetTop() const;
  TChartAxis* GetLeft() const;
  TChartAxis* GetRight() const;
  TChartAxis* GetDepth() const;
  TChartAxis* GetDepthTop() const;

  bool GetFastCalc() const { return IFastCalc; }
  // Stores the flag and has every axis choose its value-to-pixel calculator again.
  void SetFastCalc(bool Value);
  bool GetBehind() const;
  void SetBehind(bool Value);
  bool GetVisible() const;
  void SetVisible(bool Value);
  // True when every axis is automatic (also for no axes).
  bool GetAuto() const;
  void SetAuto(bool Value);

  // Widens the chart rectangle for an invisible axis; never set by the library.
  TAxisCalcPosLabels CalcPosLabels;

 private:
  TCustomAxisPanel* FChart;
  bool IFastCalc = false;
};

// The chart's custom axes, an owning collection of axes.
class TChartCustomAxes : public TOwnedCollection {
  ZEL_CLASS(TChartCustomAxes, TOwnedCollection)
 public:
  explicit TChartCustomAxes(TPersistent* AOwner);

  TChartAxis* Get(std::int32_t Index) const;
  // The axis at Index copies Value's settings.
  void Put(std::int32_t Index, TChartAxis* Value);
  // A new axis; under an owning axis it becomes that axis' slave with its orientation and side.
  TChartAxis* Add();
  // Every custom axis whose master is Axis takes the axis' current minimum and maximum.
  void ResetScales(TChartAxis* Axis);
};

enum class TSeriesGroupActive { gaYes, gaNo, gaSome };
ZEL_ENUM_NAMES(TSeriesGroupActive, "gaYes", "gaNo", "gaSome");

// A named group of series that the legend can show and switch as a whole.
class TSeriesGroup : public TCollectionItem {
  ZEL_CLASS(TSeriesGroup, TCollectionItem)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSeriesGroup(TCollection* ACollection);
  ~TSeriesGroup() override;

  void Assign(TPersistent* Source) override;
  // "Series": the members' indexes in the chart's series list, stored when there are members.
  void DefineProperties(TFiler* Filer) override;

  // Appends the series (again when already a member).
  void Add(TChartSeries* Series);
  const String& GetName() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TCustomSeriesList* GetSeries() const { return FSeries.get(); }
  // Empties the members and appends Value's series in order.
  void SetSeries(const TCustomSeriesList* Value);

  // gaYes when empty or all members are active, gaNo when none is, gaSome otherwise.
  TSeriesGroupActive GetActive() const;
  // gaYes activates and gaNo deactivates every member; gaSome changes nothing.
  void SetActive(TSeriesGroupActive Value);
  void Show() { SetActive(TSeriesGroupActive::gaYes); }
  void Hide() { SetActive(TSeriesGroupActive::gaNo); }

  // Indexes read from a stream, waiting for the chart to finish loading; nullptr otherwise.
  TStringList* GetTempSeries() const { return FTempSeries.get(); }
  // The indexes read, each checked to be a whole number that names one of SeriesCount series;
  // EReadError naming the group and the entry otherwise. Empty when nothing waits.
  std::vector<std::int32_t> TempSeriesIndexes(std::int32_t SeriesCount) const;
  // Replaces the members by the chart's series at the stored indexes and drops them (also when
  // an index is bad, which raises and leaves the members as they were).
  void ResolveTempSeries();
  void DropTempSeries() { FTempSeries.reset(); }

 private:
  TCustomAxisPanel* Chart() const;

  String FName;
  std::unique_ptr<TCustomSeriesList> FSeries;
  TOwned<TStringList> FTempSeries;
};

// The chart's series groups (owned by its series list).
class TSeriesGroups : public TOwnedCollection {
  ZEL_CLASS(TSeriesGroups, TOwnedCollection)
 public:
  // AChart is the chart whose series the groups hold.
  explicit TSeriesGroups(TCustomAxisPanel* AChart);

  TCustomAxisPanel* GetChart() const { return FChart; }
  TSeriesGroup* Get(std::int32_t Index) const;
  void Put(std::int32_t Index, TSeriesGroup* Value);
  // The index of the first group that holds the series, -1 when none.
  std::int32_t Contains(const TChartSeries* Series) const;
  // The first group named AName (with CaseSensitive off, compared upper-cased); nullptr when none.
  TSeriesGroup* FindByName(const String& AName, bool CaseSensitive = false) const;

 private:
  TCustomAxisPanel* FChart;
};

}  // namespace zel
