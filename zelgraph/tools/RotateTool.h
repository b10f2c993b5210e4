// Two tools: the rotate tool turns the chart's 3D view with the mouse (a horizontal drag changes
// the rotation, a vertical drag the elevation), can keep it turning after the release and slow it
// down step by step (inertia), and with a visible pen shows a wire outline of the chart's 3D box
// while dragging: drawn by XOR over the waiting chart where the canvas can, else in each paint. The chart-image tool paints a picture behind the series, stretched over
// the rectangle a series' data spans or over the range of the chart's axes, so that the picture
// follows zooming and scrolling.
#pragma once

#include <cstdint>

#include "platform/Controls.h"
#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TTimer;
class TZelPicture;

enum class TRotateToolStyles { rsAll, rsRotation, rsElevation };
ZEL_ENUM_NAMES(TRotateToolStyles, "rsAll", "rsRotation", "rsElevation");

class TRotateTool : public TZelCustomTool {
  ZEL_CLASS(TRotateTool, TZelCustomTool)
  ZEL_PUBLISHED_PROPS
 public:
  // Button mbLeft, Speed 50, Cursor crHandPoint, no inertia; the pen hidden (also as its
  // stored default), in XOR mode, opaque white.
  explicit TRotateTool(TComponent* AOwner);
  // Frees the timer.
  ~TRotateTool() override;

  // Button, Inertia, Inverted, Speed and Style, then the element's settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TRotateToolEditor"; }
  // With Inertia, every drawing event slows the coasting steps down. Without XOR drawing, a
  // paint during a drag ends with the outline.
  void ChartEvent(TChartToolEvent AEvent) override;
  // A press with Button starts a drag; moves turn the view; any release ends the drag.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;
  // Deactivation ends a drag (the chart repaints itself again) and stops the coasting.
  void SetActive(bool Value) override;

  // The new angles after a change, for canvases with and without full rotation.
  static double RotationChange(bool FullRotation, double AAngle, double AChange);
  static double ElevationChange(bool FullRotation, double AAngle, double AChange);
  // Adds to the chart's rotation and elevation as they are (no wrapping); nothing without chart.
  void Rotate(double RotationDegrees, double ElevationDegrees);
  // One rotation step of AX degrees of rotation and AY of elevation, by Style.
  void DoRotation(double AX, double AY);
  // The inertia timer's tick: one more step while no drag runs.
  void DoTimer(TObject* Sender);

  TMouseButton GetButton() const { return FButton; }
  void SetButton(TMouseButton Value) { FButton = Value; }
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  std::int32_t GetInertia() const { return FInertia; }
  void SetInertia(std::int32_t Value) { FInertia = Value; }
  bool GetInverted() const { return FInverted; }
  void SetInverted(bool Value) { FInverted = Value; }
  std::int32_t GetSpeed() const { return FSpeed; }
  void SetSpeed(std::int32_t Value) { FSpeed = Value; }
  TRotateToolStyles GetStyle() const { return FStyle; }
  void SetStyle(TRotateToolStyles Value) { FStyle = Value; }

  bool GetDragging() const { return IDragging; }
  double GetRotationStep() const { return IDifX; }
  double GetElevationStep() const { return IDifY; }
  // The inertia timer; nullptr until the first release that needs it.
  TTimer* ExistingTimer() const { return ITimer; }

  TNotifyEvent OnRotate;

 private:
  void DrawCubeOutline();
  void MoveStep(std::int32_t X, std::int32_t Y);

  TMouseButton FButton = TMouseButton::mbLeft;
  TCursor FCursor = -21;
  std::int32_t FInertia = 0;
  bool FInverted = false;
  std::int32_t FSpeed = 50;
  TRotateToolStyles FStyle = TRotateToolStyles::rsAll;
  bool IDragging = false;
  bool IFirstTime = false;
  bool IOldRepaint = true;
  bool IRepaintOff = false;  // this drag switched the chart's AutoRepaint off
  std::int32_t IOldX = 0;
  std::int32_t IOldY = 0;
  TTimer* ITimer = nullptr;  // owned
  double IDifX = 0;
  double IDifY = 0;
  TCursor IOldCursor = 0;
};

class TChartImageTool : public TZelCustomToolSeries {
  ZEL_CLASS(TChartImageTool, TZelCustomToolSeries)
  ZEL_PUBLISHED_PROPS
 public:
  // The picture repaints the chart when it changes; the pen is hidden.
  explicit TChartImageTool(TComponent* AOwner);
  ~TChartImageTool() override;

  // The picture, then the series tool's settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TChartImageToolEditor"; }
  // Draws the picture at tdeSeriesStart, behind the series.
  void ChartEvent(TChartToolEvent AEvent) override;
  String Description() const override;
  String LongDescription() const override;
  // Also repaints.
  void SetSeries(TChartSeries* Value) override;

  TZelPicture* GetPicture() const { return FPicture; }
  void SetPicture(TZelPicture* Value);
  // Where the picture goes: the series' data range, the axes' range, or the chart rectangle.
  TRectF PictureRect();

 private:
  TZelPicture* FPicture = nullptr;  // owned
};

}  // namespace zel
