// The chart panel that knows axes and series: the six standard axes and the custom ones, the
// series list with its groups, the tool and animation lists, paging and hover settings, and the
// chart's paint sequence (background, tool events, layout of titles, legend, axes and series
// rectangles, 3D depth, walls, axes and series with their marks, the zoom rectangle).
//
// Walls, titles, legend and the palette-colour test belong to the chart control built on this
// class; here they draw and reserve nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Types.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/PanelExtended.h"

namespace zel {

class TCustomChartSeries;
class TChartSeries;
class TChartAxes;
class TChartAnimations;
class TChartCustomAxes;
class TChartSeriesList;
class TChartTools;
class TSeriesGroups;
class TZelCustomDesigner;
class TZelCustomTool;
class TZelHover;
class TZelPen;
class TDragObject;
enum class TChartToolEvent;
enum class TChartMouseEvent : Byte;
enum class TChartKeyEvent : Byte;
enum class TChartDragDropEvent : Byte;
enum class TWheelMouseEvent : Byte;
enum class TDragState;

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
// May refuse (or accept) a component as a series' data source.
using TValidDataSourceEvent = std::function<void(TCustomChartSeries* Sender, TComponent* Value, bool& Valid)>;
// Draws one point of a series in place of the series' own drawing of it.
using TSeriesDrawValue = std::function<void(TChartSeries* Sender, std::int32_t ValueIndex)>;

// A series event handed to the chart's listeners.
class TZelSeriesEvent : public TZelEvent {
  ZEL_CLASS(TZelSeriesEvent, TZelEvent)
 public:
  TChartSeriesEvent Event = TChartSeriesEvent::seAdd;
  TCustomChartSeries* Series = nullptr;
};

// Sent to the chart's listeners when the page or the page size changes.
class TChartChangePage : public TZelEvent {
  ZEL_CLASS(TChartChangePage, TZelEvent)
};

class TCustomAxisPanel;

// Paging of a chart's points.
class TChartPage : public TPersistent {
  ZEL_CLASS(TChartPage, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TChartPage(TCustomAxisPanel* AParent) : IParent(AParent) {}

  void Assign(TPersistent* Source) override;

  bool GetAutoScale() const { return FAutoScale; }
  void SetAutoScale(bool Value);
  std::int32_t GetCurrent() const { return FCurrent; }
  // Limited to the page count, then raised to 1; a change notifies the chart's listeners and
  // fires its OnPageChange. While the chart is being read its points may not be there yet: the
  // page is kept as read (raised to 1).
  void SetCurrent(std::int32_t Value);
  std::int32_t GetMaxPointsPerPage() const { return FPointsPerPage; }
  // A negative value raises ChartException; the current page follows a shorter page count.
  void SetPointsPerPage(std::int32_t Value);
  void SetMaxPointsPerPage(std::int32_t Value) { SetPointsPerPage(Value); }
  bool GetScaleLastPage() const { return FScaleLastPage; }
  void SetScaleLastPage(bool Value);

  // 1 without paging or without series.
  std::int32_t Count() const;
  // The index of the current page's first point (the largest index when that lies beyond it).
  std::int32_t FirstValueIndex() const;
  void NextPage();
  void PreviousPage();
  TCustomAxisPanel* GetParent() const { return IParent; }

 private:
  void Changed();
  // The chart is being read from a stream.
  bool Reading() const;
  bool FAutoScale = false;
  std::int32_t FCurrent = 1;
  std::int32_t FPointsPerPage = 0;
  bool FScaleLastPage = true;
  TCustomAxisPanel* IParent;
};

class TCustomAxisPanel : public TCustomZelPanelExtended {
  ZEL_CLASS(TCustomAxisPanel, TCustomZelPanelExtended)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomAxisPanel(TComponent* AOwner);
  ~TCustomAxisPanel() override;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  void DoMouseLeave() override;

  // --- the paint sequence ---
  void InternalDraw(const TRectF& UserRectangle) override;
  // The walls' 3D sizes, and ChartRect shrunk for the walls (ends with ReCalcWidthHeight).
  virtual void CalcWallsRect();
  // The wall thickness next to an axis, in pixels.
  virtual std::int32_t CalcWallSize(TChartAxis* Axis);
  virtual void DoOnAfterDraw();
  virtual void DoOnBeforeDrawAxes();
  virtual void DoOnBeforeDrawChart();
  virtual void DoOnBeforeDrawSeries();
  // Before the series (BeforeSeries): lays out and draws titles and legend, shrinking ChartRect;
  // after them: draws what comes after the series.
  virtual void DrawTitlesAndLegend(bool BeforeSeries);
  // Whether the back plane at depth Z faces the viewer (the walls then draw the bottom axis).
  virtual bool DrawBackWallAfter(std::int32_t Z);
  virtual void DrawLegendShape(const TRectF& Rect);
  virtual void DrawWalls();
  // Refills a series from its data source or function, or with sample values
  // (TChartSeries::RefillFromSources).
  virtual void CheckDatasource(TChartSeries* ASeries);
  virtual String FormattedValueLegend(TChartSeries* ASeries, std::int32_t ValueIndex);
  // Whether a palette colour is not yet used by another series.
  virtual bool IsFreeSeriesColor(TAlphaColor AColor, bool CheckBackground, TChartSeries* Series) = 0;

  void CalcAxisRect();
  void CalcSeriesRect();
  void CalcSeriesAxisRect(TChartAxis* Axis);
  void DrawAxesSeries();
  void DrawAllAxis();
  void DrawAllSeries();
  void DrawSeries(TChartSeries* S);
  void DrawMarksSeries(TChartSeries* S);
  void ClipRegionCreate();
  void ClipRegionDone();
  void SetSeriesZOrder();
  void SetSeriesZPositions();
  void CalcInvertedRotation();
  void CalcSize3DWalls();

  // --- axes ---
  bool IsAxisVisible(TChartAxis* Axis) const;
  bool CalcIsAxisVisible(TChartAxis* Axis);
  // False at the first active series that uses no axes, True at the first active one on Axis,
  // Default when no series is active.
  bool HasActiveSeries(TChartAxis* Axis, bool Default = true);
  bool NoActiveSeries(TChartAxis* Axis);
  void ChangedAxisScale(TChartAxis* Axis);

  // --- tools and animations ---
  void BroadcastToolEvent(TChartToolEvent AEvent);
  void BroadcastAnimationEvent(TChartToolEvent AEvent);
  // A series event: to every active tool (not to animations).
  void BroadcastSeriesToolEvent(TChartToolEvent AEvent, TChartSeries* Series);
  // Mouse: to the active tools, then the active animations; each walk stops after a receiver
  // that set CancelMouse.
  void BroadcastToolMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                           std::int32_t Y);
  // Wheel: to the active tools, stopping after one that set CancelMouse.
  void BroadcastToolWheelEvent(TWheelMouseEvent AEvent, std::int32_t Delta, std::int32_t X, std::int32_t Y);
  // Keys and drag-and-drop: to every active tool.
  void BroadcastToolKeyEvent(TChartKeyEvent AEvent, Word& Key, char32_t& KeyChar, TShiftState Shift);
  void BroadcastToolDragDropEvent(TChartDragDropEvent AEvent, TObject* Source, std::int32_t X, std::int32_t Y,
                              TDragState State, bool& Accept, TDragObject*& DragObject);

  // --- series ---
  TCustomChartSeries* AddSeries(TCustomChartSeries* Series);
  void AddSeries(const std::vector<TCustomChartSeries*>& SeriesArray);
  // Creates a series of the class, owned by the chart's own owner, and adds it.
  TCustomChartSeries* AddSeries(const TClass* SeriesClass);
  // Joining through the series' SetParentChart: the series must be a TChartSeries (EInvalidCast).
  void InternalAddSeries(TCustomChartSeries* Series);
  void RemoveSeries(std::int32_t Index);
  void RemoveSeries(TCustomChartSeries* Series);
  // Detaches and frees every series of the class (every series for nullptr).
  void FreeAllSeries(const TClass* SeriesClass = nullptr);
  void ExchangeSeries(std::int32_t A, std::int32_t B);
  void ExchangeSeries(TCustomChartSeries* SeriesA, TCustomChartSeries* SeriesB);
  // Tells the chart's listeners about a series event; nothing while DoNotBroadcast is on.
  virtual void BroadcastSeriesEvent(TCustomChartSeries* Series, TChartSeriesEvent Event);
  // Refreshes a designer showing the chart; nothing at run time.
  virtual void RefreshDesigner();
  TChartSeries* GetSeries(std::int32_t Index) const;
  std::int32_t SeriesCount() const;
  std::int32_t IndexOfSeries(const TCustomChartSeries* Series) const;
  std::int32_t CountActiveSeries() const;
  std::int32_t GetMaxValuesCount() const;
  TChartSeries* GetAxisSeries(TChartAxis* Axis) const;
  TChartSeries* GetAxisSeriesMaxPoints(TChartAxis* Axis) const;

  // --- questions of the axes and the legend ---
  double MinXValue(TChartAxis* Axis) { return InternalMinMax(Axis, true, true); }
  double MaxXValue(TChartAxis* Axis) { return InternalMinMax(Axis, false, true); }
  double MinYValue(TChartAxis* Axis) { return InternalMinMax(Axis, true, false); }
  double MaxYValue(TChartAxis* Axis) { return InternalMinMax(Axis, false, false); }
  double InternalMinMax(TChartAxis* Axis, bool IsMin, bool IsX);
  TChartSeries* SeriesLegend(std::int32_t ItemIndex, bool OnlyActive) const;
  TChartSeries* ActiveSeriesLegend(std::int32_t ItemIndex) const { return SeriesLegend(ItemIndex, true); }
  String SeriesTitleLegend(std::int32_t ItemIndex, bool OnlyActive = false) const;
  static String RemoveLineBreaks(const String& Text);
  // The width of the widest series label with the canvas' font; remembered until a label, the
  // series or the font change.
  std::int32_t MaxTextWidth();
  std::int32_t MaxMarkWidth();

  // --- colours ---
  TAlphaColor GetDefaultColor(std::int32_t Index) const;
  TAlphaColor GetFreeSeriesColor(bool CheckBackground, TChartSeries* Series);
  // The colour a series that stores none of its own takes as it is read back: the one
  // GetFreeSeriesColor gives it when it joins after the stored series before it.
  TAlphaColor GetReadSeriesColor(TChartSeries* Series);
  // Whether a series other than Series holds AColor; while GetReadSeriesColor foresees a read,
  // only the stored series before the one it asks for count.
  bool IsSeriesColorHeld(TAlphaColor AColor, TChartSeries* Series) const;
  // Gives every series with the automatic colour a free palette colour again.
  void ColorPaletteChanged();

  // --- themes ---
  void ApplyThemeSeries(TCustomChartSeries* Series);
  void ApplyThemeTools(TZelCustomTool* Tool);
  void ApplyThemeAxes(TChartAxis* Axis);

  // --- hover ---
  bool CheckMouseAxes(std::int32_t X, std::int32_t Y);
  bool CheckMouseSeries(std::int32_t X, std::int32_t Y);

  // --- data sources ---
  virtual bool IsValidDataSource(TChartSeries* ASeries, TComponent* AComponent);
  virtual void RemovedDataSource(TChartSeries* ASeries, TComponent* AComponent);
  // Raises ChartException when Dest is reached from Source through data sources (taking Source as
  // a source of Dest would close a circle). The one check, with or without a chart.
  static void CheckOtherSeries(TChartSeries* Dest, TChartSeries* Source);
  // Axis while it is one of this chart's axes (a custom axis may have been freed, and a chart
  // being destroyed has freed its axes); else nullptr.
  TChartAxis* OwnAxis(TChartAxis* Axis) const;
  virtual TComponent* GetDesignOwner() const { return GetComponentOwner(); }

  // --- paging ---
  TChartPage* GetPages() const { return FPage; }
  void SetPages(TChartPage* Value) { FPage->Assign(Value); }
  std::int32_t GetPage() const;
  void SetPage(std::int32_t Value);
  std::int32_t GetPointsPerPage() const;
  void SetPointsPerPage(std::int32_t Value);
  bool GetScaleLastPage() const;
  void SetScaleLastPage(bool Value);
  virtual std::int32_t NumPages() const;
  // Prints the pages FromPage..ToPage (0: first, last) one per paper page.
  void PrintPages(std::int32_t FromPage = 0, std::int32_t ToPage = 0);

  // --- parallel preparation of series ---
  void TryParallelSeries();
  void DoSeriesParallel(std::int32_t Index);

  // --- properties ---
  std::int32_t GetChart3DPercent() const { return F3DPercent; }
  // Outside 1..100 raises Exception (ZelMsg_3dPercent).
  void SetChart3DPercent(std::int32_t Value);
  bool GetAxisBehind() const { return FAxisBehind; }
  void SetAxisBehind(bool Value);
  bool GetAxisVisible() const { return FAxisVisible; }
  void SetAxisVisible(bool Value);
  bool GetClipPoints() const { return FClipPoints; }
  void SetClipPoints(bool Value);
  bool GetView3DWalls() const { return FView3DWalls; }
  void SetView3DWalls(bool Value);
  bool GetCustomWidth3D() const { return FCustomWidth3D; }
  TChartAxis* GetBottomAxis() const { return FBottomAxis; }
  void SetBottomAxis(TChartAxis* Value);
  TChartAxis* GetTopAxis() const { return FTopAxis; }
  void SetTopAxis(TChartAxis* Value);
  TChartAxis* GetLeftAxis() const { return FLeftAxis; }
  void SetLeftAxis(TChartAxis* Value);
  TChartAxis* GetRightAxis() const { return FRightAxis; }
  void SetRightAxis(TChartAxis* Value);
  TChartDepthAxis* GetDepthAxis() const { return FDepthAxis; }
  void SetDepthAxis(TChartDepthAxis* Value);
  TChartDepthAxis* GetDepthTopAxis() const { return FDepthTopAxis; }
  void SetDepthTopAxis(TChartDepthAxis* Value);
  TChartCustomAxes* GetCustomAxes() const { return FCustomAxes; }
  void SetCustomAxes(TChartCustomAxes* Value);
  TChartAxes* GetAxes() const { return FAxes; }
  TZelHover* GetHover() const { return FHover; }
  void SetHover(TZelHover* Value);
  TChartSeriesList* GetSeriesList() const { return FSeriesList; }
  TSeriesGroups* GetSeriesGroups() const;
  void SetSeriesGroups(TSeriesGroups* Value);
  TChartTools* GetTools() const { return FTools; }
  TChartAnimations* GetAnimations() const { return FAnimations; }
  std::int32_t GetMaxZOrder() const { return FMaxZOrder; }
  void SetMaxZOrder(std::int32_t Value) { FMaxZOrder = Value; }
  std::int32_t GetSeriesWidth3D() const { return FSeriesWidth3D; }
  std::int32_t GetSeriesHeight3D() const { return FSeriesHeight3D; }

  TSeriesNotifyEvent OnAddSeries;
  TSeriesNotifyEvent OnRemoveSeries;
  TNotifyEvent OnBeforeDrawChart;
  TNotifyEvent OnBeforeDrawAxes;
  TNotifyEvent OnBeforeDrawSeries;
  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;
  TNotifyEvent OnPageChange;
  TValidDataSourceEvent OnValidDataSource;
  // When assigned, series call it for each point they draw one by one, in place of DrawValue;
  // line series then keep the axes' exact (not fast) position calculation.
  TSeriesDrawValue OnDrawValue;

  bool InvertedRotation = false;
  bool DoNotBroadcast = false;
  TAlphaColor LegendColor = 0;
  TZelPen* LegendPen = nullptr;
  std::int32_t ParallelThreads = 0;
  TZelCustomDesigner* Designer = nullptr;  // owned
  std::vector<TAlphaColor> ColorPalette;

 protected:
  std::int32_t F3DPercent = 15;
  TChartAnimations* FAnimations = nullptr;  // owned
  TChartAxes* FAxes = nullptr;              // owned; frees the axes it lists when cleared
  bool FAxisBehind = true;
  bool FAxisVisible = true;
  bool FClipPoints = true;
  TChartCustomAxes* FCustomAxes = nullptr;  // owned
  TZelHover* FHover = nullptr;              // owned
  TChartSeriesList* FSeriesList = nullptr;  // owned; does not own the series
  TChartDepthAxis* FDepthAxis = nullptr;
  TChartDepthAxis* FDepthTopAxis = nullptr;
  TChartAxis* FTopAxis = nullptr;
  TChartAxis* FBottomAxis = nullptr;
  TChartAxis* FLeftAxis = nullptr;
  TChartAxis* FRightAxis = nullptr;
  bool FView3DWalls = true;
  TChartPage* FPage = nullptr;  // owned
  bool FCustomWidth3D = false;
  std::int32_t FMaxZOrder = 0;
  std::int32_t FSeriesWidth3D = 0;
  std::int32_t FSeriesHeight3D = 0;
  TChartTools* FTools = nullptr;  // owned

 private:
  void DrawSeriesSharedSlot(TChartSeries* S);
  // Draws point ValueIndex of every series of S's slot, in the order S gives for that point.
  // List: the chart's series when the slot's drawing began; Start: S's index in it.
  void DrawSlotValue(TChartSeries* S, std::int32_t ValueIndex, const std::vector<TChartSeries*>& List,
                     std::int32_t Start);
  bool FClipped = false;
  // While GetReadSeriesColor foresees a read: the list index of the series it asks for, and how
  // many series the reader will have made when that series joins.
  struct TColorForesight {
    std::int32_t Index = -1;
    std::int32_t Count = 0;
  } FColorForesight;
  // MaxTextWidth's last answer and what it depended on: the labels' stamps and the text
  // metrics of the canvas.
  struct TLabelsWidth {
    TTextWidthKey Key;
    std::int32_t Width = -1;
  } FLabelsWidth;
};

}  // namespace zel
