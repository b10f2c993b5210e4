// The base of calculations that fill a series (the output series) from the points of its data
// sources: groups of source points by a period, one output point per group, and the combination
// of several sources by index or by position value.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/Published.h"
#include "platform/Types.h"

namespace zel {

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;

enum class TFunctionPeriodStyle { psNumPoints, psRange };
enum class TFunctionPeriodAlign { paFirst, paCenter, paLast };
ZEL_ENUM_NAMES(TFunctionPeriodStyle, "psNumPoints", "psRange");
ZEL_ENUM_NAMES(TFunctionPeriodAlign, "paFirst", "paCenter", "paLast");

// The values of one group, filled by AddValue and read by CalculateValue.
using TZelFunctionValues = std::vector<double>;

class TZelFunction : public TComponent {
  ZEL_CLASS(TZelFunction, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelFunction(TComponent* AOwner);
  ~TZelFunction() override;

  void Assign(TPersistent* Source) override;

  // Groups and calculation; concrete functions override AddValue and CalculateValue (or
  // AddPoints as a whole).
  virtual void CalculatePeriod(TChartSeries* Source, double X, std::int32_t FirstIndex, std::int32_t LastIndex);
  virtual void AddValue(double Value, TZelFunctionValues& Values, std::int32_t Index);
  virtual double CalculateValue(const TZelFunctionValues& Values);
  virtual void CalculateAllPoints(TChartSeries* Source, TChartValueList* NotMandatorySource);
  virtual void CalculateByPeriod(TChartSeries* Source, TChartValueList* NotMandatorySource);
  virtual void DoCalculation(TChartSeries* Source, TChartValueList* NotMandatorySource);
  virtual TClass* GallerySource() { return nullptr; }
  virtual String GetEditorClass() const { return "TZelFunctionEditor"; }
  virtual void PrepareForGallery(TCustomAxisPanel* Chart);
  virtual double Calculate(TChartSeries* Source, std::int32_t FirstIndex, std::int32_t LastIndex);
  // Whether value Index of List (a list of Source) takes part in a calculation.
  bool Takes(TChartSeries* Source, TChartValueList* List, std::int32_t Index) const;
  virtual double CalculateMany(const std::vector<TComponent*>& Sources, std::int32_t ValueIndex);
  virtual double CalculateManyByValue(const std::vector<TComponent*>& Sources, double Value);

  virtual void Clear() {}
  virtual bool IsValidSource(TChartSeries*) { return true; }
  // Fills the output series from Source (called when the output series re-reads its sources).
  virtual void AddPoints(TChartSeries* Source);

  // The output series.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  TChartSeries* GetParentSeries() const { return FParent; }
  void SetParentSeries(TChartSeries* Value);

  void BeginUpdate() { IUpdating = true; }
  void EndUpdate();
  bool IsUpdating() const { return IUpdating; }
  // Unless updating, the output series re-reads its data sources.
  void ReCalculate();

  // The value list of Source that the function reads.
  TChartValueList* ValueList(TChartSeries* Source);
  // Adds (X, Y) to the output series, or (Y, X) when AYMandatory is false.
  void AddFunctionXY(bool AYMandatory, double X, double Y);

  bool GetCalcByValue() const { return FCalcByValue; }
  void SetCalcByValue(bool Value);
  bool GetIncludeNulls() const { return FIncludeNulls; }
  void SetIncludeNulls(bool Value);
  double GetPeriod() const { return FPeriod; }
  // Raises ChartException for a negative period.
  void SetPeriod(double Value);
  void InternalSetPeriod(double Value) { FPeriod = Value; }
  TFunctionPeriodAlign GetPeriodAlign() const { return FPeriodAlign; }
  void SetPeriodAlign(TFunctionPeriodAlign Value);
  TFunctionPeriodStyle GetPeriodStyle() const { return FPeriodStyle; }
  void SetPeriodStyle(TFunctionPeriodStyle Value);

  bool CanUsePeriod = true;
  bool NoSourceRequired = false;
  bool SingleSource = false;
  bool HideSourceList = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  bool FIncludeNulls = true;
  bool FCalcByValue = false;
  double FPeriod = 0;
  TFunctionPeriodStyle FPeriodStyle = TFunctionPeriodStyle::psNumPoints;
  TFunctionPeriodAlign FPeriodAlign = TFunctionPeriodAlign::paCenter;
  TChartSeries* FParent = nullptr;
  bool IUpdating = false;

 private:
  friend class TChartSeries;
  void CalculateManySources(TChartSeries* Source);
  void CalculateManySourcesByValue(TChartSeries* Source);
  // While a calculation by value runs: where each value first stands in every source.
  class TValueIndexes;
  const TValueIndexes* IValueIndexes = nullptr;
  // Storage for a group of CalculateManyByValue, kept between the values of one calculation.
  TZelFunctionValues IGroupValues;
  // The first index of Value in the position list of Source, -1 when it holds none.
  std::int32_t IndexOfValue(TChartSeries* Source, double Value) const;
};

}  // namespace zel
