// The drag marks tool: the user moves the marks (point labels) of a series, or of every series,
// by dragging them with the mouse. A moved mark keeps its place as a custom mark position, with
// its arrow still fixed at the point.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Controls.h"
#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TChartSeries;
class TDragMarksTool;

using TDragMarkEvent = std::function<void(TDragMarksTool* Sender, std::int32_t Index, TMouseButton Button,
                                          TShiftState Shift, std::int32_t X, std::int32_t Y)>;

class TDragMarksTool : public TZelCustomToolSeries {
  ZEL_CLASS(TDragMarksTool, TZelCustomToolSeries)
  ZEL_PUBLISHED_PROPS
 public:
  using TZelCustomToolSeries::TZelCustomToolSeries;
  ~TDragMarksTool() override;

  String GetEditorClass() const override { return "TDragMarksToolEditor"; }
  // Press on a mark grabs it; moves drag it (or show the hand over a visible mark); the
  // release lets it go. Any button.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // The point index of the mark being dragged, -1 when none.
  std::int32_t GetDragIndex() const { return Index; }
  // The series of that mark.
  TChartSeries* GetDragSeries() const { return ISeries; }

  TDragMarkEvent OnDraggedMark;
  TDragMarkEvent OnDraggingMark;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // The mark under (X, Y): of the tool's series, else of the chart's series from the last;
  // only active series, and with CheckVisible only series whose marks are visible.
  TChartSeries* MarkAt(std::int32_t X, std::int32_t Y, bool CheckVisible, std::int32_t& AIndex) const;
  void SetDragSeries(TChartSeries* Value);

  std::int32_t IOldX = 0;
  std::int32_t IOldY = 0;
  std::int32_t Index = -1;
  TChartSeries* ISeries = nullptr;  // not owned
};

}  // namespace zel
