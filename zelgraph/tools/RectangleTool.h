// The rectangle tool: an annotation shown as a half-transparent box that the user moves with the
// left mouse button and resizes by its four edges and four corners.
#pragma once

#include <cstdint>

#include "platform/Bitmap.h"
#include "zelgraph/tools/Annotation.h"

namespace zel {

class TRectangleTool : public TAnnotationTool {
  ZEL_CLASS(TRectangleTool, TAnnotationTool)
  ZEL_PUBLISHED_PROPS
 public:
  using TAnnotationTool::TAnnotationTool;
  // Sets up the box (after the annotation has made its shape).
  void AfterConstruction() override;

  // AllowDrag and AllowResize, then the annotation's settings.
  void Assign(TPersistent* Source) override;
  // The annotation's handling, then (while active) moving and resizing with the left button.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // The handle under (X, Y): 0 left, 1 top, 2 right, 3 bottom edge; 4 top-left, 5 bottom-left,
  // 6 top-right, 7 bottom-right corner; -1 none (also off the box).
  std::int32_t ClickedEdge(std::int32_t X, std::int32_t Y);
  // Whether a resize runs.
  bool GetResizing() const { return IEdge != -1; }
  // Whether a move runs.
  bool GetDragging() const { return IDrag; }
  // A new bitmap (the caller frees it) of the box's size. With ChartOnly a picture of the chart
  // without the tool is made first; no pixels are copied into the result.
  TBitmap* Bitmap(bool ChartOnly = true);

  bool GetAllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  bool GetAllowResize() const { return FAllowResize; }
  void SetAllowResize(bool Value) { FAllowResize = Value; }

  TNotifyEvent OnDragged;
  TNotifyEvent OnDragging;
  TNotifyEvent OnResized;
  TNotifyEvent OnResizing;

 protected:
  // Moves the box so that its left-top corner follows the mouse.
  void TryDrag(std::int32_t X, std::int32_t Y);
  // Moves the grabbed edge or corner, keeping the box at least 3 px wide and high.
  void DoResize(std::int32_t X, std::int32_t Y);
  // Moves the box's left-top corner to (X, Y) pixels (as percent of the chart with muPercent).
  void MoveBoxTo(double X, double Y);

  bool FAllowDrag = true;
  bool FAllowResize = true;
  TPointF P{0, 0};
  bool IDrag = false;
  std::int32_t IEdge = -1;
};

}  // namespace zel
