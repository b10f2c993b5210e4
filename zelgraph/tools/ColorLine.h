// Colour lines and colour bands. A colour line stands across the chart at one value of an axis
// (vertical for a horizontal axis, horizontal for a vertical one), can be dragged with the left
// mouse button and may carry a label with its value. A colour band fills the stretch between two
// values of an axis, can be dragged as a whole, and owns a colour line at each edge through which
// it is resized.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Controls.h"
#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TAnnotationTool;
class TChartAxis;
class TZelGradient;
class TZelPicture;

enum class TColorLineStyle { clCustom, clMaximum, clCenter, clMinimum };
ZEL_ENUM_NAMES(TColorLineStyle, "clCustom", "clMaximum", "clCenter", "clMinimum");

class TColorLineTool;
using TColorLineToolOnDrag = std::function<void(TColorLineTool* Sender)>;

class TColorLineTool : public TZelCustomToolAxis {
  ZEL_CLASS(TColorLineTool, TZelCustomToolAxis)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TColorLineTool(TComponent* AOwner);
  ~TColorLineTool() override;

  // AllowDrag, Annotation, AnnotationValue, ClickTolerance, DragRepaint, Draw3D, DrawBehind,
  // NoLimitDrag, Style and Value, then the axis tool's settings.
  void Assign(TPersistent* Source) override;
  // The label is streamed as the tool's child.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  String GetEditorClass() const override { return "TColorLineToolEditor"; }
  // Also gives the chart to the label.
  void SetParentChart(TCustomAxisPanel* Value) override;
  // Draws the behind pass at tdeSeriesStart and the front pass at tdePaintDone.
  void ChartEvent(TChartToolEvent AEvent) override;
  // Grabs the line with the left button, drags it, releases it.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;
  // Repaints the drawing chart (also for a line that belongs to a band).
  void CanvasChanged(TObject* Sender) override;

  // The owning band's hook first, then OnEndDragLine.
  virtual void DoEndDragLine();
  // The chart to draw on when the line belongs to a band; also the label's chart.
  virtual void SetParent(TCustomAxisPanel* Value);

  // The chart drawn on: the band's chart when set, else the tool's.
  TCustomAxisPanel* GetChart() const { return IParent ? IParent : FParent; }
  // The value the line stands at, by Style.
  double CalcValue() const;
  // Value, or the value at the nearer end of the axis when its pixel lies outside the axis.
  double LimitValue(double Value) const;
  // Whether (X, Y) is on the line (strictly within ClickTolerance, inside the chart rectangle).
  bool Clicked(std::int32_t X, std::int32_t Y) const;
  // DragRepaint, a canvas that cannot draw by XOR, or a visible label.
  bool ShouldForceRepaint() const;
  // Draws one pass of the line with the current canvas pen.
  void DrawColorLine(bool Behind);
  bool GetDragging() const { return IDragging; }

  bool GetAllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  // Created on first access, owned by the tool, its shape visible.
  TAnnotationTool* GetAnnotation();
  TAnnotationTool* ExistingAnnotation() const { return FAnnotation; }
  // nullptr frees the label; another one is copied in.
  void SetAnnotation(TAnnotationTool* Value);
  bool GetAnnotationValue() const { return FAnnValue; }
  void SetAnnotationValue(bool Value);
  std::int32_t GetClickTolerance() const { return FClick; }
  void SetClickTolerance(std::int32_t Value) { FClick = Value; }
  bool GetDragRepaint() const { return FDragRepaint; }
  void SetDragRepaint(bool Value);
  // Sets DragRepaint without notifying and records it as what the line was made with.
  void InitDragRepaint(bool Value) { FDragRepaint = MadeDragRepaint = Value; }
  bool MadeDragRepaint = false;
  bool GetDraw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value);
  bool GetDrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool Value);
  bool GetNoLimitDrag() const { return FNoLimitDrag; }
  void SetNoLimitDrag(bool Value) { FNoLimitDrag = Value; }
  TColorLineStyle GetStyle() const { return FStyle; }
  void SetStyle(TColorLineStyle Value);
  double GetValue() const { return FValue; }
  // Makes the style custom (unless reading).
  void SetValue(double Value);

  TColorLineToolOnDrag OnBeginDragLine;
  TColorLineToolOnDrag OnDragLine;
  TColorLineToolOnDrag OnEndDragLine;
  // The owning band's end-of-drag hook.
  TColorLineToolOnDrag InternalOnEndDragLine;
  // An edge of a colour band: its value is the band's StartValue or EndValue, and is written
  // there only (a paint may have moved the line's own value into the axis range).
  bool IBandEdge = false;
  // False: a line outside the axis span is not drawn.
  bool ShowOutsideAxis = false;

 protected:
  // Forgets the label when someone else frees it (a failed read frees what it created).
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // After the tool's read: the label it had is freed and the one read as its child (if any)
  // takes its place, on the line's chart. A child of another class, or a second one, raises
  // EReadError.
  void TakeChildren() override;
  void InternalDrawLine(bool Behind);
  void Draw2DLine(std::int32_t Pos);
  bool AnnotationVisible() const;

  bool FAllowDrag = true;
  TAnnotationTool* FAnnotation = nullptr;  // owned
  bool FAnnValue = false;
  std::int32_t FClick = 3;
  bool FDragRepaint = false;
  bool FDraw3D = true;
  bool FDrawBehind = false;
  bool FNoLimitDrag = false;
  TColorLineStyle FStyle = TColorLineStyle::clCustom;
  double FValue = 0;
  TCustomAxisPanel* IParent = nullptr;
  bool IDragging = false;
};

class TColorBandTool : public TZelCustomToolAxis {
  ZEL_CLASS(TColorBandTool, TZelCustomToolAxis)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TColorBandTool(TComponent* AOwner);
  ~TColorBandTool() override;

  // AllowDrag, Color, Cursor, DrawBehind, DrawBehindAxes, EndValue, NoLimitDrag, StartValue,
  // Transparency, both lines and Picture, then the axis tool's settings.
  void Assign(TPersistent* Source) override;
  // The start line, then the end line, are streamed as the band's children.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
  String GetEditorClass() const override { return "TColorBandToolEditor"; }
  // The lines take the axis too; they are drawn and fed by the band, not by the chart.
  void SetAxis(TChartAxis* Value) override;
  void SetParentChart(TCustomAxisPanel* Value) override;
  void Loaded() override;
  void ChartEvent(TChartToolEvent AEvent) override;
  // The edge lines first, then dragging the band with any button.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // The band's rectangle on the chart; empty without an axis or outside the axis range.
  TRectF BoundsRect() const;
  // The band's depth: the chart's 3D width when drawn behind, else 0.
  std::int32_t ZPosition() const;
  // Whether (X, Y) is on the band.
  bool Clicked(std::int32_t X, std::int32_t Y) const;
  bool GetDragging() const { return IDragging; }

  bool GetAllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor Value) { SetColorProperty(FColor, Value); }
  bool IsColorStored() const { return FColor != 0xFFFFFFFF; }
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  bool GetDrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool Value) { SetBooleanProperty(FDrawBehind, Value); }
  bool GetDrawBehindAxes() const { return FDrawBehindAxes; }
  void SetDrawBehindAxes(bool Value) { SetBooleanProperty(FDrawBehindAxes, Value); }
  double GetEndValue() const { return FEnd; }
  void SetEndValue(double Value);
  double GetStartValue() const { return FStart; }
  void SetStartValue(double Value);
  bool GetNoLimitDrag() const { return FNoLimitDrag; }
  void SetNoLimitDrag(bool Value) { FNoLimitDrag = Value; }
  Byte GetTransparency() const { return FTransparency; }
  void SetTransparency(Byte Value);
  // Created on first access; nullptr frees it, another picture is copied in.
  TZelPicture* GetPicture();
  TZelPicture* ExistingPicture() const { return FPicture; }
  void SetPicture(TZelPicture* Value);
  TZelGradient* GetGradient();
  TColorLineTool* GetStartLine() const { return FLineStart; }
  TColorLineTool* GetEndLine() const { return FLineEnd; }
  TZelPen* GetStartLinePen() const;
  void SetStartLinePen(TZelPen* Value);
  TZelPen* GetEndLinePen() const;
  void SetEndLinePen(TZelPen* Value);
  bool GetResizeStart() const;
  void SetResizeStart(bool Value);
  bool GetResizeEnd() const;
  void SetResizeEnd(bool Value);

  TNotifyEvent OnChanged;
  TMouseEvent OnClick;
  TNotifyEvent OnDragging;
  TNotifyEvent OnResized;
  TNotifyEvent OnResizing;

 protected:
  // After the band's read: the lines read as its children take the place of the ones it had
  // (the first read is the start line, the second the end line; a line not read keeps the one
  // the band had), and both lines are hooked to the band, its chart and its axis. A child that
  // is not a colour line, or a third one, raises EReadError.
  void TakeChildren() override;
  // The lines' hooks: the band follows a dragged edge.
  void DragLine(TColorLineTool* Sender);
  void EndDragLine(TColorLineTool* Sender);
  // End line := EndValue, start line := StartValue.
  void SetLines();
  void PaintBand();
  // A line freed by someone else (a failed read frees the lines it created) is replaced by a
  // new one, so the band always has both.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A new edge line as the band builds it: no owner, dragged with repaints, hooked.
  TColorLineTool* NewLine();
  // Gives a line the band's chart and axis and its hooks.
  void HookLine(TColorLineTool* Line);
  TCustomAxisPanel* GetChart() const { return IParent ? IParent : FParent; }

  bool FAllowDrag = true;
  bool FNoLimitDrag = true;
  TAlphaColor FColor = 0xFFFFFFFF;
  TCursor FCursor = 0;
  bool FDrawBehind = true;
  bool FDrawBehindAxes = false;
  double FEnd = 0;
  TZelPicture* FPicture = nullptr;  // owned
  double FStart = 0;
  Byte FTransparency = 0;
  TColorLineTool* FLineEnd = nullptr;    // owned
  TColorLineTool* FLineStart = nullptr;  // owned
  bool IDragging = false;
  double IOld = 0;
  TCustomAxisPanel* IParent = nullptr;
};

}  // namespace zel
