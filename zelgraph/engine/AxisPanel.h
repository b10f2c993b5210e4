// The chart panel with its list of series, as far as series and chart elements talk to it:
// repaint requests, series events, membership of series, palette colours and the cursor.
// The control side (canvas, axes, drawing pipeline, walls, titles, legend) builds on this class.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Types.h"

namespace zel {

class TCustomChartSeries;
class TChartSeries;

// Errors of the chart library: a setter or an operation was given a bad value.
class ChartException : public Exception {
 public:
  explicit ChartException(String Msg) : Exception(std::move(Msg)) {}
};
class AxisException : public ChartException {
 public:
  explicit AxisException(String Msg) : ChartException(std::move(Msg)) {}
};
class LegendException : public ChartException {
 public:
  explicit LegendException(String Msg) : ChartException(std::move(Msg)) {}
};

// Series events broadcast to a chart's listeners.
enum class TChartSeriesEvent { seAdd, seRemove, seChangeTitle, seChangeColor, seSwap, seChangeActive, seDataChanged, seAfterRemove };

using TSeriesNotifyEvent = std::function<void(TCustomChartSeries* Series)>;

class TCustomAxisPanel : public TComponent {
  ZEL_CLASS(TCustomAxisPanel, TComponent)
 public:
  explicit TCustomAxisPanel(TComponent* AOwner);
  // Frees the series in its list (a chart frees its series; removing one only detaches it).
  ~TCustomAxisPanel() override;

  // Asks for a repaint of the whole chart. Nothing here: the control implements it.
  virtual void Invalidate() {}
  // Tells the chart's listeners about a series event; nothing while DoNotBroadcast is on.
  virtual void BroadcastSeriesEvent(TCustomChartSeries* Series, TChartSeriesEvent Event);
  // Refreshes a designer showing the chart; nothing at run time.
  virtual void RefreshDesigner() {}

  // Series membership: AddSeries makes the chart the series' parent (which joins it here).
  TCustomChartSeries* AddSeries(TCustomChartSeries* Series);
  // Joining by the series' SetParentChart: the series must be a TChartSeries (EInvalidCast).
  void InternalAddSeries(TCustomChartSeries* Series);
  void RemoveSeries(std::int32_t Index);
  void RemoveSeries(TCustomChartSeries* Series);
  // Detaches and frees every series of the class (every series for nullptr).
  void FreeAllSeries(const TClass* SeriesClass = nullptr);
  TCustomChartSeries* GetSeries(std::int32_t Index) const;
  std::int32_t SeriesCount() const { return static_cast<std::int32_t>(FSeriesList.size()); }
  std::int32_t IndexOfSeries(const TCustomChartSeries* Series) const;

  // Colours: the chart's palette when it has one, else the library's.
  TAlphaColor GetDefaultColor(std::int32_t Index) const;
  TAlphaColor GetFreeSeriesColor(bool CheckBackground, TChartSeries* Series);
  // Whether a palette colour is still free for Series; the chart control decides.
  virtual bool IsFreeSeriesColor(TAlphaColor AColor, bool CheckBackground, TChartSeries* Series) = 0;
  // Gives every series with the automatic colour a free palette colour again.
  void ColorPaletteChanged();

  TCursor GetCursor() const { return FCursor; }
  virtual void SetCursor(TCursor Value) { FCursor = Value; }
  TCursor GetOriginalCursor() const { return FOriginalCursor; }

  std::vector<TAlphaColor> ColorPalette;
  bool DoNotBroadcast = false;
  TSeriesNotifyEvent OnAddSeries;
  TSeriesNotifyEvent OnRemoveSeries;

 protected:
  std::vector<TCustomChartSeries*> FSeriesList;
  TCursor FCursor = 0;
  TCursor FOriginalCursor = 0;
};

}  // namespace zel
