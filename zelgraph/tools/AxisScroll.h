// The axis scroll tool: dragging an axis with any mouse button shifts its range so that the
// chart's content follows the mouse. The axes of the same orientation that share a series with
// the dragged one follow it. The tool draws nothing.
#pragma once

#include <cstdint>

#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TChartAxis;

// Which ends of the data range stop a scroll step.
enum class TAxisScrollLimit : Byte { slNone, slMinimum, slMaximum, slBoth };
ZEL_ENUM_NAMES(TAxisScrollLimit, "slNone", "slMinimum", "slMaximum", "slBoth");

class TAxisScrollTool : public TZelCustomToolAxis {
  ZEL_CLASS(TAxisScrollTool, TZelCustomToolAxis)
  ZEL_PUBLISHED_PROPS
 public:
  using TZelCustomToolAxis::TZelCustomToolAxis;

  // From another axis scroll tool: Limit and ScrollInverted, then the axis and element settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TAxisScrollEditor"; }
  // Press on an axis starts a drag (and claims the press); each move of a drag scrolls; a move
  // over an axis without a drag shows the hand cursor; a release ends the drag.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;
  // Deactivation ends a drag that runs.
  void SetActive(bool Value) override;

  TAxisScrollLimit GetLimit() const { return FLimit; }
  void SetLimit(TAxisScrollLimit Value) { FLimit = Value; }
  bool GetScrollInverted() const { return FScrollInverted; }
  void SetScrollInverted(bool Value) { FScrollInverted = Value; }

  // The axis being dragged; nullptr while no drag runs.
  TChartAxis* GetInAxis() const { return InAxis; }
  // The tool's own axis when it is visible and under the point, else the first visible axis of
  // the chart under it (nullptr when none).
  TChartAxis* AxisClicked(std::int32_t X, std::int32_t Y) const;

 protected:
  // Scrolls Axis by Delta pixels, asking the chart's OnAllowScroll first and firing OnScroll
  // after the axis' own scroll (also when the axis refused the step).
  void DoAxisScroll(TChartAxis* Axis, std::int32_t Delta);
  // The axes of InAxis' orientation that share a series with it follow by the same delta.
  void CheckOtherAxes(std::int32_t Delta);
  // The drag forgets its axis when the axis is freed (by a handler of a step, say).
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TChartAxis* OtherAxis() const override { return InAxis; }
  void SetInAxis(TChartAxis* Value) { ZelLinkAxis(this, InAxis, Value, {FAxis}); }

  TAxisScrollLimit FLimit = TAxisScrollLimit::slNone;
  bool FScrollInverted = false;
  std::int32_t OldX = 0;
  std::int32_t OldY = 0;
  TChartAxis* InAxis = nullptr;  // not owned; set by SetInAxis
};

}  // namespace zel
