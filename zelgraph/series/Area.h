// The area series: fills the space between its line and an origin (the axis, a fixed value, or
// the areas of the same stack group below it).
#pragma once

#include <cstdint>

#include "zelgraph/series/LineSeries.h"

namespace zel {

enum class TMultiArea { maNone, maStacked, maStacked100 };
ZEL_ENUM_NAMES(TMultiArea, "maNone", "maStacked", "maStacked100");

class TAreaSeries : public TCustomSeries {
  ZEL_CLASS(TAreaSeries, TCustomSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TAreaSeries(TComponent* AOwner);

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TAreaSeriesEditor"; }
  void CalcZOrder() override;
  void CreateSubGallery(const TAddSubChart& AddSubChart) override;
  void DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect) override;
  void PrepareLegendCanvas(std::int32_t ValueIndex, TAlphaColor& BackColor, TBrushKind& BrushKind) override;
  void SetSubGallery(TChartSeries* Series, std::int32_t Index) override;
  double MaxXValue() override;
  double MaxYValue() override;
  double MinXValue() override;
  double MinYValue() override;
  bool DrawSeriesForward(std::int32_t ValueIndex) override;
  bool SameClassOrigin(TChartSeries* Series) override;
  std::int32_t GetOriginPos(std::int32_t ValueIndex) override;
  void ResetBrush() override;
  TZelGradient* GetGradient() override;

  TMultiArea GetMultiArea() const;
  void SetMultiArea(TMultiArea Value);
  double GetYOrigin() const { return FOrigin; }
  void SetYOrigin(double Value) { SetDoubleProperty(FOrigin, Value); }
  std::int32_t GetStackGroup() const { return FStackGroup; }
  void SetStackGroup(std::int32_t Value) { SetIntegerProperty(FStackGroup, Value); }
  bool GetUseYOrigin() const { return FUseOrigin; }
  void SetUseYOrigin(bool Value) { SetBooleanProperty(FUseOrigin, Value); }

 protected:
  double FOrigin = 0;
  std::int32_t FStackGroup = 0;
  bool FUseOrigin = false;
};

}  // namespace zel
