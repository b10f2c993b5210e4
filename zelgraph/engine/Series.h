// Chart elements and the data side of series: value lists, per-point colours and labels, adding,
// deleting and clearing points, update brackets, and change notification to the chart and to
// series that depend on this one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/ValueList.h"

namespace zel {

class TZelPen;
class TZelBrush;
class TZelFunction;
class TChartSeries;

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
  using TCustomChartElement::TCustomChartElement;

  void Assign(TPersistent* Source) override;
  void SetActive(bool Value) override;

  virtual void CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin);
  virtual void CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin);
  virtual void DoBeforeDrawChart() {}
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

 protected:
  String FIdentifier;
  TChartSeriesStyle FStyle;
  String FTitle;
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
  void Exchange(std::int32_t Index1, std::int32_t Index2);
  std::int32_t IndexOfLabel(const String& Text, bool CaseSensitive) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(List.size()); }
  void Clear() { List.clear(); }
  void Assign(const TLabelsList* Source);
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

  std::vector<String> List;
  TChartSeries* Series;

 private:
  bool FCaseSensitive = false;
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
enum class TSeriesRecalcOption { rOnDelete, rOnModify, rOnInsert, rOnClear };
using TSeriesRecalcOptions = TSet<TSeriesRecalcOption>;

using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, std::int32_t ValueIndex)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnClear = std::function<void(TChartSeries* Sender)>;
// Adds one variant of a series kind to a gallery, by name.
using TAddSubChart = std::function<void(const String& Name)>;

// A series with values.
class TChartSeries : public TCustomChartSeries {
  ZEL_CLASS(TChartSeries, TCustomChartSeries)
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

  // Colours.
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
  // Asks for the series to be refilled from its data source; no data sources are linked yet.
  void CheckDataSource() {}

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

  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnClear OnClearValues;

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

 private:
  friend class TChartValueList;
  // A value list changed one value (Index) or several (-1). While the series changes several
  // lists at once the notification waits until they agree again.
  void ValueListModified(std::int32_t Index);
  // Counts operations that change several lists at once.
  std::int32_t IChanging = 0;
  bool IPendingModified = false;
  std::int32_t IPendingIndex = -1;
  class TChangeGuard;
};

}  // namespace zel
