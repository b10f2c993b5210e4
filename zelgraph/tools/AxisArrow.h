// The axis arrow tool: clickable arrows at the start and end of one axis; a click on an arrow
// scrolls the axis by a percentage of its visible range. Also the search for the partner axis of
// an axis whose series are drawn against both axes of its orientation.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TChartAxis;
class TAxisArrowTool;

enum class TAxisArrowToolPosition { aaStart, aaEnd, aaBoth };
ZEL_ENUM_NAMES(TAxisArrowToolPosition, "aaStart", "aaEnd", "aaBoth");

using TAxisArrowClickEvent = std::function<void(TAxisArrowTool* Sender, bool AtStart)>;

// True when a series of Axis' chart is associated with Axis and drawn against both horizontal
// (or both vertical) axes. Other receives the partner: bottom for the top axis, else top;
// right for the left axis, else left.
bool AnySeriesBothAxis(TChartAxis* Axis, TChartAxis*& Other);

class TAxisArrowTool : public TZelCustomToolAxis {
  ZEL_CLASS(TAxisArrowTool, TZelCustomToolAxis)
  ZEL_PUBLISHED_PROPS
 public:
  using TZelCustomToolAxis::TZelCustomToolAxis;

  String GetEditorClass() const override { return "TAxisArrowToolEditor"; }
  // Draws the arrows at tdePaintDone.
  void ChartEvent(TChartToolEvent AEvent) override;
  // Press on an arrow scrolls (and claims the press); a move over an arrow shows the hand cursor.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // -1 no arrow, 0 the start arrow, 1 the end arrow.
  std::int32_t ClickedArrow(std::int32_t X, std::int32_t Y);
  // The tool's axis while it still belongs to the tool's chart.
  TChartAxis* LiveAxis() const;

  std::int32_t GetHeadWidth() const { return FHeadWidth; }
  void SetHeadWidth(std::int32_t Value) { SetIntegerProperty(FHeadWidth, Value); }
  std::int32_t GetLength() const { return FLength; }
  void SetLength(std::int32_t Value) { SetIntegerProperty(FLength, Value); }
  TAxisArrowToolPosition GetPosition() const { return FPosition; }
  void SetPosition(TAxisArrowToolPosition Value);
  std::int32_t GetScrollPercent() const { return FScrollPercent; }
  void SetScrollPercent(std::int32_t Value) { FScrollPercent = Value; }
  bool GetScrollInverted() const { return FScrollInverted; }
  void SetScrollInverted(bool Value) { FScrollInverted = Value; }
  std::int32_t GetSizePercent() const { return FSizePercent; }
  void SetSizePercent(std::int32_t Value) { SetIntegerProperty(FSizePercent, Value); }

  TAxisArrowClickEvent OnClick;

 protected:
  // Scrolls the axis (and its partner) by Offset unless the chart's OnAllowScroll refuses.
  void DoScroll(TChartAxis* Axis, double Offset);

  std::int32_t FHeadWidth = 8;
  std::int32_t FLength = 16;
  TAxisArrowToolPosition FPosition = TAxisArrowToolPosition::aaBoth;
  std::int32_t FScrollPercent = 10;
  bool FScrollInverted = false;
  std::int32_t FSizePercent = 50;
};

}  // namespace zel
