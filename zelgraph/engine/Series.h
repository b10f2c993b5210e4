// Chart elements and series: value lists, per-point colours, labels and visual blocks, adding,
// deleting and clearing points, update brackets, change notification to the chart and to series
// that depend on this one; the drawing side (visible range, positions through the axes, drawing
// hooks, legend and mark texts, mouse and hover); the "Data" stream and data sources; sorting by
// labels and sample values.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Graphics.h"
#include "platform/Types.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/ValueList.h"

namespace zel {

class TZelPen;
class TZelBrush;
class TZelFunction;
class TChartSeries;
class TChartAxis;
class TSeriesLegend;
class TZelSelected;
class TVisualBlock;
class TZelTransform;
class TFiler;
class TReader;
class TWriter;
class TStream;
class TZelSeriesSource;
class TSeriesMarkShape;

// Separates the columns of a legend text.
inline constexpr char ZelColumnSeparator = '\x06';

// The colour that stands for "the default colour" (for a point: the series' colour).
constexpr TAlphaColor clZelDefault = 0x00FFFFFF;

// The base of everything a chart lists (series, tools): active flag, pen, brush, parent chart.
class TCustomChartElement : public TComponent {
  ZEL_CLASS(TCustomChartElement, TComponent)
  friend class TCustomAxisPanel;

 public:
  explicit TCustomChartElement(TComponent* AOwner);
  ~TCustomChartElement() override;

  void Assign(TPersistent* Source) override;

  // The change handler of the pen and brush: repaints.
  virtual void CanvasChanged(TObject* Sender);
  virtual String GetEditorClass() const { return String(); }
  virtual void SetActive(bool Value);
  virtual void SetParentChart(TCustomAxisPanel* Value);
  virtual void SetPen(TZelPen* Value);
  void SetBrush(TZelBrush* Value);

  bool GetActive() const { return FActive; }
  TZelBrush* GetBrush() const { return FBrush; }
  TZelPen* GetPen() const { return FPen; }
  bool GetShowInEditor() const { return FShowInEditor; }
  void SetShowInEditor(bool Value) { FShowInEditor = Value; }
  TObject* GetTagObject() const { return FTagObject; }
  void SetTagObject(TObject* Value) { FTagObject = Value; }
  TCustomAxisPanel* GetParentChart() const { return FParent; }

  // Asks the parent chart to invalidate itself; nothing without a parent or while destroying.
  void Repaint();

  // The shared setters: store and repaint only when the value changes (for floating point
  // values also when either is a NaN).
  void SetBooleanProperty(bool& Variable, bool Value);
  void SetColorProperty(TAlphaColor& Variable, TAlphaColor Value);
  void SetDoubleProperty(double& Variable, double Value);
  void SetSingleProperty(float& Variable, float Value);
  void SetIntegerProperty(std::int32_t& Variable, std::int32_t Value);
  void SetStringProperty(String& Variable, const String& Value);

  // Streaming nests elements inside their chart.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 protected:
  // A pen whose changes repaint the element.
  TZelPen* CreateChartPen();

  bool FActive = true;
  TZelBrush* FBrush = nullptr;  // owned
  TZelPen* FPen = nullptr;      // owned
  bool FShowInEditor = true;
  TObject* FTagObject = nullptr;
  TCustomAxisPanel* FParent = nullptr;
  bool DontSerialize = false;
  bool IInternalUse = false;
};

enum class TChartSeriesStyleItem { tssIsTemplate, tssDenyChangeType, tssDenyDelete, tssDenyClone, tssIsPersistent, tssHideDataSource };
using TChartSeriesStyle = TSet<TChartSeriesStyleItem>;

// A series without values: title, identifier, style and the layout hooks.
class TCustomChartSeries : public TCustomChartElement {
  ZEL_CLASS(TCustomChartSeries, TCustomChartElement)
 public:
  explicit TCustomChartSeries(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  void SetActive(bool Value) override;

  virtual void CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin);
  virtual void CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin);
  virtual void DoBeforeDrawChart() {}
  // Sets the chart's 3D view from a gallery.
  virtual void GalleryChanged3D(bool Is3D);
  // Pixels the series needs free at the ends of Axis (left/top: start, right/bottom: end).
  virtual void RecalcAxisMargins(TChartAxis*, TRectF&) {}
  // Called by the chart when the series joined it, and when it leaves.
  virtual void Added() {}
  virtual void Removed();

  // Position in the parent chart's series list, -1 without a parent.
  std::int32_t GetIndex() const;
  // True when either object's class is the other's or derives from it.
  bool SameClass(const TCustomChartSeries* Series) const;

  const String& GetTitle() const { return FTitle; }
  void SetTitle(const String& Value);
  const String& GetIdentifier() const { return FIdentifier; }
  void SetIdentifier(const String& Value) { FIdentifier = Value; }
  TChartSeriesStyle GetStyle() const { return FStyle; }
  void SetStyle(TChartSeriesStyle Value) { FStyle = Value; }

  // Legend settings: created on first access with the chart as parent; nullptr frees them.
  TSeriesLegend* GetLegend();
  TSeriesLegend* ExistingLegend() const { return FLegend.get(); }
  void SetLegend(TSeriesLegend* Value);
  // The legend settings' text; reading creates nothing.
  String GetLegendTitle() const;
  void SetLegendTitle(const String& Value);
  // The legend settings' visibility; true while none exist; writing creates them.
  bool GetShowInLegend() const;
  void SetShowInLegend(bool Value);

  // "Identifier" and "Style".
  void DefineProperties(TFiler* Filer) override;

  ~TCustomChartSeries() override;

 protected:
  String FIdentifier;
  std::unique_ptr<TSeriesLegend> FLegend;
  TChartSeriesStyle FStyle;
  String FTitle;
  TZelTransform* Transform = nullptr;  // owned; never created by the library
};

// The labels of the points; shorter than the point count when trailing points have none.
class TLabelsList {
 public:
  explicit TLabelsList(TChartSeries* ASeries) : Series(ASeries) {}

  // The label of Index; empty outside the list.
  String GetLabel(std::int32_t Index) const;
  void SetLabel(std::int32_t Index, const String& Text);
  void InsertLabel(std::int32_t Index, const String& Text);
  void DeleteLabel(std::int32_t Index);
  // Removes the labels of Quantity points from Start, as far as the list reaches.
  void DeleteLabels(std::int32_t Start, std::int32_t Quantity);
  void Exchange(std::int32_t Index1, std::int32_t Index2);
  std::int32_t IndexOfLabel(const String& Text, bool CaseSensitive) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(List.size()); }
  void Clear();
  void Assign(const TLabelsList* Source);
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  const std::vector<String>& GetList() const { return List; }
  // Room for Count labels, taken at once (the labels themselves are left as they are).
  void Reserve(std::size_t Count) { List.reserve(Count); }
  // Changes with every change of the labels, and differs between lists: what was worked out
  // from the labels (their widest text) holds while the stamp stays.
  std::uint64_t GetStamp() const { return FStamp; }
  // The most lines a label holds (1 with no labels), worked out again only after the labels change.
  std::int32_t MaxLines() const;

  TChartSeries* Series;

 private:
  void Changed();
  std::vector<String> List;
  bool FCaseSensitive = false;
  std::uint64_t FStamp = NewStamp();
  mutable std::uint64_t FLinesStamp = 0;
  mutable std::int32_t FMaxLines = 1;
  static std::uint64_t NewStamp();
};

// Per-point visual blocks, cloned from a template on demand. An entry may be nullptr; entries
// owned by another component are never freed by this list.
class TVisualsList {
 public:
  explicit TVisualsList(TChartSeries* ASeries) : FSeries(ASeries) {}
  ~TVisualsList();
  TVisualsList(const TVisualsList&) = delete;
  TVisualsList& operator=(const TVisualsList&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // The block of Index; when there is none and the template can be cloned, a clone of it.
  TVisualBlock* GetVisual(std::int32_t Index);
  // The block of Index or nullptr, creating nothing.
  TVisualBlock* ExistingVisual(std::int32_t Index) const;
  void SetVisual(std::int32_t Index, TVisualBlock* Block);
  void InsertVisual(std::int32_t Index, TVisualBlock* Block);
  void DeleteVisual(std::int32_t Index);
  // Removes the blocks of Quantity points from Start (those that exist).
  void DeleteVisuals(std::int32_t Start, std::int32_t Quantity);
  void Exchange(std::int32_t Index1, std::int32_t Index2);
  void Clear();
  void Assign(const TVisualsList* Source);
  void Edit(std::int32_t Index);
  TVisualBlock* GetTemplate() const { return FTemplate; }
  void SetTemplate(TVisualBlock* Value);
  // The template was freed.
  void TemplateRemoved() { FTemplate = nullptr; }

 private:
  void FreeOwned(TVisualBlock* Block);
  TChartSeries* FSeries;
  TVisualBlock* FTemplate = nullptr;
  std::vector<TVisualBlock*> FItems;
};

// Edits a visual block (or, for index -1, the template); returns whether it changed.
using TZelOnEditVisual = std::function<bool(TCustomAxisPanel* Chart, TVisualBlock* Block)>;
extern TZelOnEditVisual ZelOnEditVisual;

// The components a series takes its points from, in order.
class TDataSourcesList {
 public:
  explicit TDataSourcesList(TChartSeries* ASeries) : Series(ASeries) {}

  // Adds to the existing sources (raises ChartException for an invalid source).
  std::int32_t Add(TComponent* Value);
  void Remove(TComponent* Value);
  std::int32_t IndexOf(const TComponent* Value) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(List.size()); }
  TComponent* Get(std::int32_t Index) const { return List[static_cast<std::size_t>(Index)]; }
  // Drops the series from its source series' dependent lists, empties the list, and clears the
  // points unless they were given by hand.
  void Clear();

  std::vector<TComponent*> List;
  TChartSeries* Series;
};

// The value lists of a series, owned: X first, Y second, then further channels.
class TChartValueLists {
 public:
  TChartValueLists() = default;
  ~TChartValueLists() { Clear(); }
  TChartValueLists(const TChartValueLists&) = delete;
  TChartValueLists& operator=(const TChartValueLists&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  TChartValueList* Get(std::int32_t Index) const { return FItems[static_cast<std::size_t>(Index)]; }
  TChartValueList* operator[](std::int32_t Index) const { return Get(Index); }
  std::int32_t IndexOf(const TChartValueList* List) const;
  void Add(TChartValueList* List) { FItems.push_back(List); }
  void Insert(std::int32_t Index, TChartValueList* List);
  // Takes the list out without freeing it.
  void Extract(TChartValueList* List);
  void Clear();

 private:
  std::vector<TChartValueList*> FItems;
};

enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
ZEL_ENUM_NAMES(THorizAxis, "aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis");
ZEL_ENUM_NAMES(TVertAxis, "aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis");
enum class TSeriesRecalcOption { rOnDelete, rOnModify, rOnInsert, rOnClear };
using TSeriesRecalcOptions = TSet<TSeriesRecalcOption>;

// The texts of a legend item.
enum class TLegendTextStyle { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue,
                              ltsValue, ltsPercent, ltsXAndValue, ltsXAndPercent, ltsXAndText };
ZEL_ENUM_NAMES(TLegendTextStyle, "ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent", "ltsRightPercent",
               "ltsXValue", "ltsValue", "ltsPercent", "ltsXAndValue", "ltsXAndPercent", "ltsXAndText");


// Drawing events the chart sends to its tools (defined with the tools).
enum class TChartToolEvent;

using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, std::int32_t ValueIndex)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnClear = std::function<void(TChartSeries* Sender)>;
// Adds one variant of a series kind to a gallery, by name.
using TAddSubChart = std::function<void(const String& Name)>;
using TSeriesClick = std::function<void(TChartSeries* Sender, std::int32_t ValueIndex, TMouseButton Button,
                                        TShiftState Shift, std::int32_t X, std::int32_t Y)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries* Sender, std::int32_t ValueIndex, String& MarkText)>;
// Where the mouse is, in chart coordinates; tests and hosts without a mouse service set it.
using TZelMousePosFunc = std::function<bool(TCustomAxisPanel* Chart, TPointF& Pos)>;
extern TZelMousePosFunc ZelGetChartMousePos;
// Sample values invent points at run time only when this is on (design time always may).
extern bool ZelRandomAtRunTime;
// The series colour a gallery preview takes: the chart's default colour at this index for the
// first series, and at the second for any other.
extern std::int32_t clZelGallery1;
extern std::int32_t clZelGallery2;

// A series with values.
class TChartSeries : public TCustomChartSeries {
  ZEL_CLASS(TChartSeries, TCustomChartSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TChartSeries(TComponent* AOwner);
  ~TChartSeries() override;

  void Assign(TPersistent* Source) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void Added() override;
  void Removed() override;

  // Points.
  std::int32_t Count() const { return FX->GetCount(); }
  virtual double GetxValue(std::int32_t Index) const { return FX->Value[Index]; }
  virtual double GetyValue(std::int32_t Index) const { return FY->Value[Index]; }
  void SetXValue(std::int32_t Index, double Value);
  void SetYValue(std::int32_t Index, double Value);
  virtual double MaxXValue() { return FX->GetMaxValue(); }
  virtual double MinXValue() { return FX->GetMinValue(); }
  virtual double MaxYValue() { return FY->GetMaxValue(); }
  virtual double MinYValue() { return FY->GetMinValue(); }
  virtual double MaxZValue() { return GetZOrder(); }
  virtual double MinZValue() { return GetZOrder(); }

  // Adds a point; returns its index, or -1 when OnBeforeAdd refused it.
  virtual std::int32_t AddXY(double X, double Y, const String& Label = String(), TAlphaColor Color = clZelDefault);
  virtual std::int32_t Add(double Value, const String& Label = String(), TAlphaColor Color = clZelDefault);
  std::int32_t AddX(double X, const String& Label = String(), TAlphaColor Color = clZelDefault);
  std::int32_t AddY(double Y, const String& Label = String(), TAlphaColor Color = clZelDefault);
  std::int32_t AddNull(double Value);
  virtual std::int32_t AddNull(const String& Label = String());
  virtual std::int32_t AddNullXY(double X, double Y, const String& Label = String());
  // Adds Values[0..LastIndex] (each through Add) inside one update bracket; returns the number added.
  std::int32_t AddArray(const double* Values, std::int32_t LastIndex);
  std::int32_t AddArray(const std::int32_t* Values, std::int32_t LastIndex);
  std::int32_t AddArray(const std::vector<double>& Values);
  std::int32_t AddArray(const double* XValues, std::int32_t LastIndex, const double* YValues);
  // Appends the N points (X[i], Y[i]) inside an update bracket as N calls of this class' AddXY
  // with no label and the default colour would, an empty series taking the buffers as its
  // memory. Returns false and adds nothing where that is not one step: outside an update, with
  // OnBeforeAdd, further value lists, colours or labels, or X values that would not all go to
  // the end; the caller then adds the points one by one.
  bool AppendXY(TValueBuffer&& X, TValueBuffer&& Y, std::int32_t N);

  virtual void Delete(std::int32_t ValueIndex);
  virtual void Delete(std::int32_t Start, std::int32_t Quantity, bool RemoveGap = false);
  virtual void Clear();
  virtual void ClearLists();
  // Exchanges two points in every value list and in the colours and labels.
  virtual void SwapValueIndex(std::int32_t A, std::int32_t B);

  // Update bracket: inside it adding points notifies nobody; ending the outermost refreshes once.
  void BeginUpdate() { ++IUpdating; }
  void EndUpdate();
  bool IsUpdating() const { return IUpdating > 0; }
  void RefreshSeries();

  // Whether the point can be placed: its X and Y values are finite. A point with a NaN or an
  // infinite X or Y is a null point (its colour reads 0), wherever null points are handled: it
  // is drawn as its series draws nulls, a function leaves it out, and the axes' extent and the
  // lists' statistics leave its values out (TValueStatistics).
  bool IsFinitePoint(std::int32_t ValueIndex) const {
    return std::isfinite(std::as_const(FX->Value)[ValueIndex]) && std::isfinite(std::as_const(FY->Value)[ValueIndex]);
  }

  // Colours. A point that is not finite reads 0 (null), whatever colour it was given.
  virtual TAlphaColor GetValueColor(std::int32_t ValueIndex);
  void SetValueColor(std::int32_t ValueIndex, TAlphaColor Color);
  TAlphaColor InternalColor(std::int32_t ValueIndex) const;
  bool IsNull(std::int32_t ValueIndex) { return GetValueColor(ValueIndex) == 0; }
  void SetNull(std::int32_t ValueIndex, bool Null = true);
  TAlphaColor GetSeriesColor() const { return FColor == clZelDefault ? ISeriesColor : FColor; }
  virtual void SetSeriesColor(TAlphaColor Value);
  void ChangeInternalColor(TAlphaColor Value);
  void SetDefaultColor();
  bool IsColorStored() const { return FColor != clZelDefault; }
  // Whether SeriesColor is written: a colour of its own, or a palette colour other than the one
  // the series would take when read back (it took a colour another series has since left).
  bool IsSeriesColorStored() const;
  bool IsValueFormatStored() const;
  bool IsPercentFormatStored() const;
  // The one data source travels by name; several go to "DataSources".
  bool IsDataSourceStored() const;
  bool GetColorEachPoint() const { return FColorEachPoint; }
  virtual void SetColorEachPoint(bool Value);
  virtual void NotifyColorChange(std::int32_t ValueIndex);
  void NotifyColorChanged();
  // The per-point colour list; nullptr while every point uses the default colour.
  const std::vector<TAlphaColor>* GetColors() const { return FColors.get(); }

  // Labels.
  String GetXLabel(std::int32_t Index) const { return FLabels.GetLabel(Index); }
  void SetXLabel(std::int32_t Index, const String& Text) { FLabels.SetLabel(Index, Text); }
  void SetMarkText(std::int32_t Index, const String& Text) { SetXLabel(Index, Text); }
  TLabelsList* GetLabels() { return &FLabels; }

  // Dependent series: series that take this one as data source and follow its changes.
  void AddLinkedSeries(TChartSeries* Series);
  void RemoveLinkedSeries(TChartSeries* Series);
  const std::vector<TChartSeries*>& GetLinkedSeries() const { return FLinkedSeries; }
  TSeriesRecalcOptions GetRecalcOptions() const { return FRecalcOptions; }
  void SetRecalcOptions(TSeriesRecalcOptions Value) { FRecalcOptions = Value; }
  TZelFunction* GetFunction() const { return FZelFunction; }

  // Change announcement.
  virtual void NotifyNewValue(TChartSeries* Sender, std::int32_t ValueIndex);
  virtual void NotifyValue(TValueEvent ValueEvent, std::int32_t ValueIndex);
  // How a dependent series follows its source.
  virtual void AddValues(TChartSeries* Source);
  virtual void AddedValue(TChartSeries* Source, std::int32_t ValueIndex);
  virtual std::int32_t AddChartValue(TChartSeries* Source, std::int32_t ValueIndex);
  virtual void DeletedValue(TChartSeries* Source, std::int32_t ValueIndex);
  // A value list of this series turned date-time or back: function series fed by it first
  // calculate again, taking its flags, as they do when a chart is read.
  void DateTimeTurned();
  // Asks the chart to refill the series from its data sources or function (nothing while updating);
  // without a chart the series refills itself.
  void CheckDataSource();
  // The refill: from the first data source (a series or a series source), else from a function
  // that needs no source, else with sample values when allowed. Nothing while loading.
  void RefillFromSources();

  // Value lists.
  TChartValueList* GetXValues() const { return FX; }
  TChartValueList* GetYValues() const { return FY; }
  void SetXValues(TChartValueList* Value);
  void SetYValues(TChartValueList* Value);
  TChartValueLists* GetValuesList() const { return FValuesList.get(); }
  // Makes X the mandatory list (series drawn horizontally).
  void SetHorizontal();
  // Puts NewList in OldList's place (and name) and frees OldList.
  void ReplaceList(TChartValueList* OldList, TChartValueList* NewList);

  // The variants of this series kind shown in a gallery ("Normal" here); kinds add theirs.
  virtual void CreateSubGallery(const TAddSubChart& AddSubChart);
  virtual void SetSubGallery(TChartSeries*, std::int32_t) {}

  // Marks, created hidden on first access.
  TSeriesMarks* GetMarks();
  bool HasMarks() const { return FMarks != nullptr; }
  // Copies Value's settings into the marks (created when missing); nullptr changes nothing.
  void SetMarks(TSeriesMarks* Value);

  // Properties.
  const String& GetValueFormat() const { return FValueFormat; }
  virtual void SetValueFormat(const String& Value) { SetStringProperty(FValueFormat, Value); }
  const String& GetPercentFormat() const { return FPercentFormat; }
  void SetPercentFormat(const String& Value) { SetStringProperty(FPercentFormat, Value); }
  Byte GetTransparency() const { return FTransparency; }
  virtual void SetTransparency(Byte Value);
  std::int32_t GetDepth() const { return FDepth; }
  void SetDepth(std::int32_t Value) { SetIntegerProperty(FDepth, Value); }
  std::int32_t GetZOrder() const { return FZOrder == -1 ? IZOrder : FZOrder; }
  // Working state that the chart's paint sequence and zoom read or set.
  void SetAutoZOrder(std::int32_t Value) { IZOrder = Value; }
  bool GetHideWhenVisible() const { return IHideWhenVisible; }
  TObject* GetLegendShape() const { return ILegend; }
  bool GetZoomSeries() const { return FZoomSeries; }
  void SetZOrder(std::int32_t Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  THorizAxis GetHorizAxis() const { return FHorizAxis; }
  void SetHorizAxis(THorizAxis Value);
  TVertAxis GetVertAxis() const { return FVertAxis; }
  void SetVertAxis(TVertAxis Value);
  const String& GetColorSource() const { return FColorSource; }
  void SetColorSource(const String& Value);
  const String& GetXLabelsSource() const { return FLabelsSource; }
  void SetXLabelsSource(const String& Value);
  std::int32_t GetFirstVisibleIndex() const { return FFirstVisibleIndex; }
  std::int32_t GetLastVisibleIndex() const { return FLastVisibleIndex; }

  void SetCustomHorizAxis(TChartAxis* Value);
  void SetCustomVertAxis(TChartAxis* Value);
  TChartAxis* GetCustomHorizAxis() const { return FCustomHorizAxis; }
  TChartAxis* GetCustomVertAxis() const { return FCustomVertAxis; }
  std::int32_t GetFirstDisplayedIndex() const;
  std::int32_t GetLastDisplayedIndex() const;
  TZelFunction* GetZelFunction() const { return FZelFunction; }
  virtual void SetFunction(TZelFunction* Value);

  // ---- Drawing side ----

  // The axes resolved from the axis choices (nullptr without a chart).
  TChartAxis* GetGetHorizAxis() const { return FGetHorizAxis; }
  TChartAxis* GetGetVertAxis() const { return FGetVertAxis; }
  void RecalcGetAxis();
  // The vertical axis when Y is mandatory, else the horizontal one.
  TChartAxis* MandatoryAxis() const { return YMandatory ? FGetVertAxis : FGetHorizAxis; }

  // The range of points to draw against the axes (first/last -1: none).
  virtual void CalcFirstLastVisibleIndex();
  std::int32_t VisibleCount();
  virtual bool DrawValuesForward();
  virtual bool DrawSeriesForward(std::int32_t ValueIndex);
  virtual bool DrawSeriesAscending();
  // Drawing orders that kinds may impose; empty here. SortDrawSeries orders the series (indexes in
  // the chart's list) that draw point ValueIndex of a shared depth slot; SeriesIndex is the
  // index of the slot's first series, SeriesCount the chart's series count.
  virtual std::vector<std::int32_t> SortDrawPoints(std::int32_t First, std::int32_t Last, bool Forward);
  virtual std::vector<std::int32_t> SortDrawSeries(std::int32_t SeriesIndex, std::int32_t SeriesCount,
                                                   std::int32_t ValueIndex);
  virtual void DrawAllValues();
  virtual void DrawValue(std::int32_t) {}
  virtual void DrawHiddenValue(std::int32_t) {}
  virtual void DoBeforeDrawValues();
  virtual void DoAfterDrawValues();
  // The canvas entity of the whole series (named by SeriesNameOrIndex).
  void BeginEntity();
  void BroadcastEvent(TChartToolEvent Event);
  virtual bool CanBeforeParallel() { return false; }
  virtual void DoBeforeParallel() {}
  virtual void BeforeCalcAxis() {}
  virtual void ChangedAxisScale() {}
  virtual void CalcZOrder();
  virtual void CalcDepthPositions();
  virtual bool MoreSameZOrder();
  bool FirstInZOrder();

  // Pixel positions through the resolved axes' cached mappings (0 without an axis).
  virtual std::int32_t CalcXPos(std::int32_t ValueIndex) {
    return FGetHorizAxis ? FGetHorizAxis->CalcXPosValue(FX->Value[ValueIndex]) : 0;
  }
  virtual std::int32_t CalcYPos(std::int32_t ValueIndex) {
    return FGetVertAxis ? FGetVertAxis->CalcYPosValue(FY->Value[ValueIndex]) : 0;
  }
  virtual std::int32_t CalcXPosValue(double Value) { return FGetHorizAxis ? FGetHorizAxis->CalcXPosValue(Value) : 0; }
  virtual std::int32_t CalcYPosValue(double Value) { return FGetVertAxis ? FGetVertAxis->CalcYPosValue(Value) : 0; }
  std::int32_t CalcPosValue(double Value);
  std::int32_t CalcXSizeValue(double Value);
  std::int32_t CalcYSizeValue(double Value);
  virtual double XScreenToValue(std::int32_t ScreenPos);
  virtual double YScreenToValue(std::int32_t ScreenPos);
  String XValueToText(double Value);
  String YValueToText(double Value);
  virtual void CalcSelectionPos(std::int32_t ValueIndex, std::int32_t& X, std::int32_t& Y);
  virtual bool IsPointInChartRect(std::int32_t ValueIndex);
  virtual bool AssociatedToAxis(TChartAxis* Axis);
  virtual TChartValueList* ValueListOfAxis(TChartAxis* Axis);
  virtual bool UseAxis() { return true; }
  virtual bool CanZoomScroll() { return UseAxis(); }
  // The index range of the chart's current page.
  void CalcFirstLastPage(std::int32_t& First, std::int32_t& Last);
  // Colours every non-null point whose value in List lies in FromValue..ToValue.
  void ColorRange(TChartValueList* List, double FromValue, double ToValue, TAlphaColor Color);
  virtual double GetOriginValue(std::int32_t ValueIndex) { return GetMarkValue(ValueIndex); }
  virtual double GetMarkValue(std::int32_t ValueIndex) { return MandatoryValueList->Value[ValueIndex]; }
  virtual String GetMarkLabel(std::int32_t ValueIndex) { return FLabels.GetLabel(ValueIndex); }

  // ---- Legend ----
  virtual std::int32_t CountLegendItems() { return Count(); }
  virtual std::int32_t LegendToValueIndex(std::int32_t LegendIndex) { return LegendIndex; }
  virtual TAlphaColor LegendItemColor(std::int32_t LegendIndex) { return GetValueColor(LegendIndex); }
  virtual bool InvertedLegend() { return false; }
  virtual bool HasPointLabels() { return false; }
  // Some label is not empty.
  bool HasLabels() const;
  virtual String LegendString(std::int32_t LegendIndex, TLegendTextStyle LegendTextStyle);
  virtual void DrawLegend(std::int32_t ValueIndex, const TRectF& Rect);
  virtual void DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect);
  virtual void PrepareLegendCanvas(std::int32_t, TAlphaColor&, TBrushKind&) {}

  // ---- Marks ----
  String GetMarkText(std::int32_t ValueIndex);
  String GetMarkTextStyle(bool MultiLine, std::int32_t ValueIndex, TSeriesMarksStyle Style);
  String MarkPercent(std::int32_t ValueIndex, bool AddTotal = false);
  virtual void DrawMarks();
  virtual void DrawMark(std::int32_t ValueIndex, const String& St, TSeriesMarkPosition* APosition);
  // Measures the mark shape (the marks or the point's custom item) with the text and places the
  // position at (X, Y).
  void CalculateMarkPosition(TCustomTextShape* AShape, const String& St, std::int32_t X, std::int32_t Y,
                             TSeriesMarkPosition* APosition);
  // The shift that moves mark rectangle R1 off R2: vertical for a Y-mandatory series (up when R2
  // lies below R1's top, else down), horizontal otherwise.
  virtual TPointF MarkOverlap(std::int32_t ValueIndex, const TRectF& R1, const TRectF& R2);
  std::int32_t MaxMarkWidth();
  // Adds to Key what the texts of the points (marks, legend items) are made of: the value lists
  // and their values, the labels, the formats, the title and the total, and the shared number
  // and message settings; texts an axis or a handler makes are not covered.
  void AddTextSources(TTextWidthKey& Key);

  // ---- Mouse and hover ----
  virtual std::int32_t Clicked(std::int32_t, std::int32_t) { return -1; }
  std::int32_t Clicked(float X, float Y);
  std::int32_t Clicked(TPointF P);
  virtual bool ClickedPointer(std::int32_t, std::int32_t, std::int32_t) { return false; }
  bool ClickedPointer(std::int32_t ValueIndex, TPointF P);
  virtual void MouseDown(std::int32_t ValueIndex, TMouseButton Button, TShiftState Shift, std::int32_t X,
                         std::int32_t Y);
  virtual bool RaiseClicked() { return bool(OnClick) || bool(OnDblClick); }
  // Mouse move over the chart: hover, cursor, enter and leave; returns whether the series reacted.
  virtual bool CheckMouse(std::int32_t X, std::int32_t Y);
  bool HoverEnabled();
  bool PrepareHoverPen(std::int32_t ValueIndex);
  std::int32_t GetCursorValueIndex();
  void GetCursorValues(double& X, double& Y);
  bool GetIsMouseInside() const { return IsMouseInside; }

  // Selection and hover settings, created on first access; nullptr frees them.
  TZelSelected* GetSelected();
  TZelSelected* ExistingSelected() const { return FSelected; }
  void SetSelected(TZelSelected* Value);

  // ---- Stream and data sources ----
  void DefineProperties(TFiler* Filer) override;
  // The owned components, then the function, so that a function is streamed inside its series.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  void Loaded() override;
  bool IsDataStored() const { return ForceSaveData || (ManualData && !DontSaveData); }
  // The content flags of the "Data" stream.
  Byte SeriesGuessContents();
  bool HasNoMandatoryValues();
  bool HasColors();
  virtual void WriteData(TStream* Stream);
  void ReadData(TStream* Stream);
  TComponent* GetDataSource() const;
  void SetDataSource(TComponent* Value);
  TDataSourcesList* GetDataSources();
  TDataSourcesList* ExistingDataSources() const { return FDataSources.get(); }
  std::int32_t InternalSetDataSource(TComponent* Value, bool OnlyOne);
  // Raises ChartException when Value may not feed this series: refused by the chart (or, without
  // a chart, by the series), or a series whose own sources lead back to this one.
  void ValidateDataSource(TComponent* Value);
  std::int32_t InternalAddDataSource(TComponent* Value);
  void InternalRemoveDataSource(TComponent* Value);
  // Removes this series from the dependent lists of all its source series.
  void RemoveAllLinkedSeries();
  bool IsValidDataSource(TComponent* Value);
  virtual bool IsValidSourceOf(TChartSeries* Value) { return Value != this; }
  virtual bool IsValidSeriesSource(TChartSeries* Value);
  virtual TChartValueList* GetYValueList(const String& AListName);
  // The "Z" value list of a series kind with Z values; nullptr for others.
  TChartValueList* GetZValueList();
  virtual void AssignFormatting(TChartSeries* Source);
  void AssignFormat(TChartSeries* Source);
  void AssignValues(TChartSeries* Source) { AddValues(Source); }

  // ---- Labels, visual blocks, sorting, sample values ----
  TVisualsList* GetVisuals();
  TVisualsList* ExistingVisuals() const { return FVisuals.get(); }
  void SortByLabels(TChartListOrder Order = TChartListOrder::loAscending);
  virtual void CheckOrder();
  virtual void FillSampleValues(std::int32_t NumValues = 0);
  virtual void AddSampleValues(std::int32_t NumValues, bool OnlyMandatory = false);
  virtual std::int32_t NumSampleValues() { return 25; }
  bool CanAddRandomPoints() const;
  virtual void PrepareForGallery(bool IsEnabled);

  // The title, or the name or "SeriesN" when it is blank; with RemoveBreaks, line breaks dropped.
  static String SeriesTitleOrName(TCustomChartSeries* Series, bool RemoveBreaks = false);
  static String SeriesNameOrIndex(TCustomChartSeries* Series);

  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnClear OnClearValues;
  TNotifyEvent AfterDrawValues;
  TNotifyEvent BeforeDrawValues;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  TSeriesOnGetMarkText OnGetMarkText;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  bool CalcVisiblePoints = true;
  bool DrawBetweenPoints = false;
  bool AllowSinglePoint = true;
  bool HasZValues = false;
  std::int32_t StartZ = 0;
  std::int32_t MiddleZ = 0;
  std::int32_t EndZ = 0;
  TChartValueList* MandatoryValueList = nullptr;
  bool ManualData = false;
  TChartValueList* NotMandatoryValueList = nullptr;
  bool YMandatory = true;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Creates the colour list with the default colour for the first Points points.
  void GrowColors(std::int32_t Points);

  TAlphaColor FColor = clZelDefault;
  bool FColorEachPoint = false;
  String FColorSource;
  TCursor FCursor = 0;
  std::int32_t FDepth = -1;
  TLabelsList FLabels{this};
  String FLabelsSource;
  std::vector<TChartSeries*> FLinkedSeries;
  TSeriesMarks* FMarks = nullptr;  // owned
  String FPercentFormat;
  Byte FTransparency = 0;
  String FValueFormat;
  std::unique_ptr<TChartValueLists> FValuesList;
  TChartValueList* FX = nullptr;
  TChartValueList* FY = nullptr;
  double FDefaultNull = 0;
  THorizAxis FHorizAxis = THorizAxis::aBottomAxis;
  std::int32_t FZOrder = -1;
  TVertAxis FVertAxis = TVertAxis::aLeftAxis;
  TSeriesRecalcOptions FRecalcOptions{TSeriesRecalcOption::rOnDelete, TSeriesRecalcOption::rOnModify,
                                      TSeriesRecalcOption::rOnInsert, TSeriesRecalcOption::rOnClear};
  TZelFunction* FZelFunction = nullptr;
  TAlphaColor ISeriesColor = clZelDefault;
  bool DontSaveData = false;
  bool ForceSaveData = false;
  std::unique_ptr<std::vector<TAlphaColor>> FColors;
  std::int32_t FFirstVisibleIndex = -1;
  std::int32_t FLastVisibleIndex = -1;
  std::int32_t INumSampleValues = 0;
  std::int32_t IUpdating = 0;
  bool IUseSeriesColor = true;
  bool IUseNotMandatory = true;
  std::int32_t IZOrder = 0;
  std::unique_ptr<TDataSourcesList> FDataSources;
  TChartAxis* FGetHorizAxis = nullptr;
  TChartAxis* FGetVertAxis = nullptr;
  TChartAxis* FCustomHorizAxis = nullptr;
  TChartAxis* FCustomVertAxis = nullptr;
  TZelSelected* FSelected = nullptr;  // owned
  std::vector<String> FTempDataSources;
  bool IHasTempDataSources = false;
  std::unique_ptr<TVisualsList> FVisuals;
  bool IsMouseInside = false;
  TChartListOrder ILabelOrder = TChartListOrder::loNone;
  bool IHideWhenVisible = false;
  TObject* ILegend = nullptr;
  std::int32_t IFirstDrawIndex = -1;
  bool IMandatoryPen = false;
  bool IMandatoryPen2D = false;
  bool FZoomSeries = true;
  // Custom axis indexes read from a stream, resolved once the chart is known.
  std::int32_t IReadCustomHorizAxis = -1;
  std::int32_t IReadCustomVertAxis = -1;

 private:
  friend class TChartValueList;
  friend class TDataSourcesList;
  friend class TVisualsList;
  friend class TZelFunction;
  // A value list changed one value (Index) or several (-1). While the series changes several
  // lists at once the notification waits until they agree again.
  void ValueListModified(std::int32_t Index);
  // Counts operations that change several lists at once.
  std::int32_t IChanging = 0;
  bool IPendingModified = false;
  std::int32_t IPendingIndex = -1;
  class TChangeGuard;
  // Copies the points, colours and labels of S.
  void CopyPoints(TChartSeries* S);
  std::int32_t CustomAxisIndex(TChartAxis* Axis) const;
  void ReadCustomAxis(std::int32_t Index, bool Horizontal);
  // Points a custom axis field at Value with a free notification, so that the axis' freeing
  // (wherever this series is) puts the series back on the standard axis (Notification).
  void LinkCustomAxis(TChartAxis*& Field, TChartAxis* Value);
};

// A series that only holds a look: a chart's theme gives it to new series of kinds the theme
// holds no series of.
class TThemedSeries : public TChartSeries {
  ZEL_CLASS(TThemedSeries, TChartSeries)
 public:
  explicit TThemedSeries(TComponent* AOwner) : TChartSeries(AOwner) {}
};

enum class TSourceLoadMode { lmClear, lmAppend };
ZEL_ENUM_NAMES(TSourceLoadMode, "lmClear", "lmAppend");

// A component that loads points into a series; kinds of source fill the series in Load.
class TZelSeriesSource : public TComponent {
  ZEL_CLASS(TZelSeriesSource, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelSeriesSource(TComponent* AOwner) : TComponent(AOwner) {}
  ~TZelSeriesSource() override;

  virtual void SetActive(bool Value);
  virtual void SetSeries(TChartSeries* Value);
  virtual bool Available(TCustomAxisPanel*) { return true; }
  virtual String Description() { return String(); }
  // The name of the class that edits this kind of source; none here.
  virtual String Editor() { return String(); }
  virtual bool HasNew() { return false; }
  // The series' first data source is of this source's class.
  virtual bool HasSeries(TChartSeries* Value);
  virtual void Close();
  virtual void Load() {}
  virtual void Open() { SetActive(true); }
  // Loads again when active.
  void Refresh();
  void Loaded() override;

  bool GetActive() const { return FActive; }
  TChartSeries* GetSeries() const { return FSeries; }
  TSourceLoadMode GetLoadMode() const { return FLoadMode; }
  void SetLoadMode(TSourceLoadMode Value) { FLoadMode = Value; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  bool FActive = false;
  TSourceLoadMode FLoadMode = TSourceLoadMode::lmClear;
  TChartSeries* FSeries = nullptr;

 private:
  friend class TChartSeries;
  // Takes Series as its series without making itself its data source (the series did).
  void AttachSeries(TChartSeries* Value);
};

}  // namespace zel
