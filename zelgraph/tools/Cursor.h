// The cursor tool: a horizontal line, a vertical line, both, or a small scope shape at their
// crossing, drawn over the chart. The cursor keeps its place as a pair of axis values, can be
// dragged or follow the mouse, can snap to the nearest point of a series and reports every
// change. An optional annotation shows the axis label of the cursor's value beside the axis.
// Also the routines other tools share: the visible index range of a series and the hidden
// annotation that serves as a tool's label.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TAnnotationTool;
class TChartAxis;
class TCursorTool;

enum class TCursorToolStyle { cssHorizontal, cssVertical, cssBoth, cssScope, cssScopeOnly };
ZEL_ENUM_NAMES(TCursorToolStyle, "cssHorizontal", "cssVertical", "cssBoth", "cssScope", "cssScopeOnly");
enum class TScopeCursorStyle { scsRectangle, scsCircle, scsDiamond, scsEmpty, scsCamera };
ZEL_ENUM_NAMES(TScopeCursorStyle, "scsRectangle", "scsCircle", "scsDiamond", "scsEmpty", "scsCamera");
// The distance used for snapping: by the cursor's style, or along one axis only.
enum class TSnapStyle { ssDefault, ssHorizontal, ssVertical };
ZEL_ENUM_NAMES(TSnapStyle, "ssDefault", "ssHorizontal", "ssVertical");
// Which line a press grabbed.
enum class TCursorClicked { ccNone, ccHorizontal, ccVertical, ccBoth };

// x, y: the cursor's pixel; ValueIndex: the snapped point, -1 when not snapped.
using TCursorToolChangeEvent = std::function<void(TCursorTool* Sender, std::int32_t x, std::int32_t y, double XValue,
                                                  double YValue, TChartSeries* Series, std::int32_t ValueIndex)>;
using TCursorToolGetAxisRect = std::function<void(TCursorTool* Sender, TRectF& Rect)>;

// First: the series' first visible index (0 when negative); Last: its last visible index, or
// Count - 1 when that is negative or not below Count. True when the series has points and both
// are at most Count.
bool ZelGetFirstLastSeries(TChartSeries* Series, std::int32_t& First, std::int32_t& Last);
// A new annotation owned by Owner with its box hidden (no shadow), centred; attached to Chart
// (without joining its tool list) when Chart is given. It shows once its shape is made visible.
TAnnotationTool* CreateAnnotation(TComponent* Owner, TCustomAxisPanel* Chart);
// The annotation exists, is active and its box is visible.
bool IsAnnotationVisible(TAnnotationTool* Annotation);


class TCursorTool : public TZelCustomToolSeries {
  ZEL_CLASS(TCursorTool, TZelCustomToolSeries)
  ZEL_PUBLISHED_PROPS
 public:
  using TZelCustomToolSeries::TZelCustomToolSeries;
  ~TCursorTool() override;

  void Assign(TPersistent* Source) override;
  // The annotation is stored as the tool's child.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  String GetEditorClass() const override { return "TCursorToolEditor"; }
  // The tool base's; the annotation follows to the chart.
  void SetParentChart(TCustomAxisPanel* Value) override;
  // At tdePaintDone: the positions become valid and the cursor is drawn.
  void ChartEvent(TChartToolEvent AEvent) override;
  // Press grabs a line (unless following the mouse); a move drags or follows, or sets the mouse
  // cursor over a line; a release ends the drag.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;
  void SetSeries(TChartSeries* Value) override;
  // Calls OnChange with the cursor's pixel and values.
  virtual void Changed(std::int32_t ValueIndex);

  // --- positions ---
  // The rectangle the cursor lives in: the chart rectangle, or the span of its two axes.
  TRectF GetAxisRect();
  // R, narrowed around (x, y) by HorizSize and VertSize when Limit.
  TRectF MouseRectangle(const TRectF& R, std::int32_t x, std::int32_t y, bool Limit) const;
  bool InMouseRectangle(std::int32_t x, std::int32_t y, bool Limit);
  // Depth of the cursor in 3D.
  std::int32_t Z();
  // Values from a pixel: only the value of the line being dragged, else both.
  void CalcValuePositions(std::int32_t x, std::int32_t y);
  // Pixels from values; a value never set starts at the axis' centre (or 0 following the mouse).
  void CalcScreenPositions();
  // The index of the series' point nearest to the cursor's values (-1 none).
  std::int32_t NearestPoint(TCursorToolStyle AStyle, double& Difference);
  // The first index in First .. N - 1 of the ascending X whose value is not below V (N if none).
  std::int32_t FirstNotBelow(const double* X, std::int32_t First, std::int32_t N, double V);
  // NearestPoint in X alone over First..N-1 of X values in ascending order.
  std::int32_t NearestInOrder(std::int32_t First, std::int32_t N, double& Difference);
  // NearestPoint in X and Y over First..N-1 of X values in ascending order: the points are met
  // outwards from the cursor's X, each side until its X alone is farther than the nearest point.
  std::int32_t NearestInOrderBoth(std::int32_t First, std::int32_t N, double& Difference);
  // With Snap and a series: moves the values onto the nearest point and returns its index.
  std::int32_t SnapToPoint();
  // Points and values NearestPoint compared (read by tests: a snap in X order is a binary search,
  // and in both directions it meets the points near the cursor's X).
  std::int64_t ISnapSteps = 0;
  // Which line (x, y) is on, within ClickTolerance.
  TCursorClicked Clicked(std::int32_t x, std::int32_t y);
  // A full repaint instead of XOR drawing: asked for, no XOR canvas, or the annotation shows.
  bool ShouldForceRepaint();
  void RedrawCursor();

  // --- properties ---
  // Created on first read.
  TAnnotationTool* GetAxisAnnotation();
  TAnnotationTool* ExistingAxisAnnotation() const { return FAxisAnnotation; }
  // nullptr frees it; an annotation is copied into the tool's own.
  void SetAxisAnnotation(TAnnotationTool* Value);
  std::int32_t GetClickTolerance() const { return FClick; }
  void SetClickTolerance(std::int32_t Value) { FClick = Value; }
  bool GetFollowMouse() const { return FFollowMouse; }
  void SetFollowMouse(bool Value) { FFollowMouse = Value; }
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { SetBooleanProperty(FFullRepaint, Value); }
  std::int32_t GetHorizSize() const { return FHorizSize; }
  void SetHorizSize(std::int32_t Value) { SetIntegerProperty(FHorizSize, Value); }
  std::int32_t GetVertSize() const { return FVertSize; }
  void SetVertSize(std::int32_t Value) { SetIntegerProperty(FVertSize, Value); }
  std::int32_t GetScopeSize() const { return FScopeSize; }
  void SetScopeSize(std::int32_t Value) { SetIntegerProperty(FScopeSize, Value); }
  TScopeCursorStyle GetScopeStyle() const { return FScopeStyle; }
  void SetScopeStyle(TScopeCursorStyle Value);
  bool GetSnap() const { return FSnap; }
  void SetSnap(bool Value) { FSnap = Value; }
  TSnapStyle GetSnapStyle() const { return FSnapStyle; }
  void SetSnapStyle(TSnapStyle Value) { FSnapStyle = Value; }
  TCursorToolStyle GetStyle() const { return FStyle; }
  void SetStyle(TCursorToolStyle Value);
  bool GetUseChartRect() const { return FUseChartRect; }
  void SetUseChartRect(bool Value) { SetBooleanProperty(FUseChartRect, Value); }
  bool GetUseSeriesZ() const { return FUseSeriesZ; }
  void SetUseSeriesZ(bool Value) { SetBooleanProperty(FUseSeriesZ, Value); }
  double GetXValue() const { return IXValue; }
  void SetXValue(double Value);
  double GetYValue() const { return IYValue; }
  void SetYValue(double Value);
  TPointF GetPoint() const { return IPoint; }
  TCursorClicked GetDragging() const { return IDragging; }

  double CustomZ = 0;
  TCursorToolChangeEvent OnChange;
  TCursorToolGetAxisRect OnGetAxisRect;
  TCursorToolChangeEvent OnSnapChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // After the tool's read: the annotation it had is freed and the annotation read as its child
  // (if any) takes its place, on the tool's chart. A child of another class, or a second one,
  // raises EReadError.
  void TakeChildren() override;
  // Positions, OnChange with no snapped point, repaint.
  void DoChange();
  void DrawCursorLines(bool Is3D, std::int32_t x, std::int32_t y);
  void DrawScope(bool Is3D, std::int32_t x, std::int32_t y);
  void DrawAnnotation();
  // The chart's canvas projects (x, y) back from the cursor's depth.
  void ProjectPoint(std::int32_t& x, std::int32_t& y);

  TAnnotationTool* FAxisAnnotation = nullptr;  // owned
  std::int32_t FClick = 3;
  bool FFollowMouse = false;
  bool FFullRepaint = false;
  std::int32_t FHorizSize = 0;
  std::int32_t FScopeSize = 4;
  TScopeCursorStyle FScopeStyle = TScopeCursorStyle::scsRectangle;
  bool FSnap = false;
  TSnapStyle FSnapStyle = TSnapStyle::ssDefault;
  TCursorToolStyle FStyle = TCursorToolStyle::cssBoth;
  bool FUseChartRect = false;
  bool FUseSeriesZ = false;
  std::int32_t FVertSize = 0;
  bool IValidXPoint = false;
  bool IValidYPoint = false;
  bool IAxisValid = false;
  TCursorClicked IDragging = TCursorClicked::ccNone;
  std::int32_t IOldSnap = -1;
  double IXValue = 0;
  double IYValue = 0;
  TPointF IPoint{0, 0};
};

}  // namespace zel
