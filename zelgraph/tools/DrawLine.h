// The draw-line tool: the user draws lines and simple shapes on a chart with the mouse. Each
// drawn item is a line, a pair of horizontal or vertical parallel lines, a rectangle or an
// ellipse from a start to an end point, kept in axis values so that it stays with the data when
// the chart is zoomed or scrolled. Items are selected by clicking them, dragged whole or by
// one of their two end handles, and every step is reported through events.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Collections.h"
#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TDrawLineTool;
class TZelPen;

enum class TDrawLineStyle { dlLine, dlHorizParallel, dlVertParallel, dlRectangle, dlEllipse };
ZEL_ENUM_NAMES(TDrawLineStyle, "dlLine", "dlHorizParallel", "dlVertParallel", "dlRectangle", "dlEllipse");
// What a drag moves: nothing, the start, the end, or the whole item.
enum class TDrawLineHandle { chNone, chStart, chEnd, chSeries };

// A point in axis values.
struct TFloatPoint {
  float X = 0;
  float Y = 0;
};

class TDrawLine : public TCollectionItem {
  ZEL_CLASS(TDrawLine, TCollectionItem)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TDrawLine(TCollection* ACollection);
  // An item from (X0, Y0) to (X1, Y1); once made, its tool's OnNewLine is called with the item
  // as sender and the tool repaints.
  TDrawLine(TCollection* ACollection, double X0, double Y0, double X1, double Y1);
  // Clears the tool's selection when it is this item.
  ~TDrawLine() override;
  void AfterConstruction() override;

  // From another item: both points, the style and the own pen (or no own pen).
  void Assign(TPersistent* Source) override;

  // The item's own pen, created on first call as a copy of the tool's pen.
  TZelPen* GetPen();
  // nullptr frees the own pen (the tool's pen is used again); otherwise the own pen copies Value.
  void SetPen(TZelPen* Value);
  // The own pen, nullptr when the item uses the tool's pen.
  TZelPen* ExistingPen() const { return FPen; }
  TDrawLineStyle GetStyle() const { return FStyle; }
  void SetStyle(TDrawLineStyle Value);
  float GetX0() const { return StartPos.X; }
  void SetX0(float Value) { SetCoord(StartPos.X, Value); }
  float GetY0() const { return StartPos.Y; }
  void SetY0(float Value) { SetCoord(StartPos.Y, Value); }
  float GetX1() const { return EndPos.X; }
  void SetX1(float Value) { SetCoord(EndPos.X, Value); }
  float GetY1() const { return EndPos.Y; }
  void SetY1(float Value) { SetCoord(EndPos.Y, Value); }

  TDrawLineTool* GetParent() const { return IParent; }

  // The squares of half-size 3 pixels around the two ends.
  TRectF StartHandle() const;
  TRectF EndHandle() const;
  // Both handle squares filled without outline: black, or silver on a black chart.
  void DrawHandles();
  // Whether (X, Y) is on the handle (chStart, chEnd) or on the item (else) within Tolerance.
  bool Clicked(std::int32_t X, std::int32_t Y, TDrawLineHandle Handle, std::int32_t Tolerance) const;

  TFloatPoint EndPos;
  TFloatPoint StartPos;

 private:
  void SetCoord(float& Field, float Value);
  void RepaintTool();

  TZelPen* FPen = nullptr;  // owned
  TDrawLineStyle FStyle = TDrawLineStyle::dlLine;
  TDrawLineTool* IParent = nullptr;
  bool INotifyNew = false;
};

class TDrawLines : public TOwnedCollection {
  ZEL_CLASS(TDrawLines, TOwnedCollection)
 public:
  explicit TDrawLines(TDrawLineTool* AOwner);

  TDrawLine* Get(std::int32_t Index) const;
  // The item at Index copies Line.
  void Put(std::int32_t Index, TDrawLine* Line);
  // A new item with the four coordinates set through their setters.
  TDrawLine* AddLine(float X0, float Y0, float X1, float Y1);
  // The last item, nullptr when empty.
  TDrawLine* Last() const;
};

// May refuse the selection of Line.
using TDrawLineSelecting = std::function<void(TDrawLineTool* Sender, TDrawLine* Line, bool& AllowSelect)>;

class TDrawLineTool : public TZelCustomToolSeries {
  ZEL_CLASS(TDrawLineTool, TZelCustomToolSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TDrawLineTool(TComponent* AOwner);
  ~TDrawLineTool() override;

  // Button, ClickTolerance, EnableDraw, EnableSelect, FullRepaint, Lines, SelectNewLines and
  // Style, then the series tool's settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TDrawLineEdit"; }
  // Draws the items (and the selection's handles, and the item being drawn) at tdePaintDone.
  void ChartEvent(TChartToolEvent AEvent) override;
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // Clips the canvas to the series' axes rectangle (the chart rectangle without series).
  virtual void ClipDrawingRegion();

  // Axis values to pixels and back, through the tool's axes.
  TPointF AxisPoint(const TFloatPoint& P) const;
  TFloatPoint ScreenPoint(const TPointF& P) const;
  // The item at (X, Y) within ClickTolerance (or Tolerance): the selected item first, then the
  // items in order; nullptr when none.
  TDrawLine* Clicked(std::int32_t X, std::int32_t Y) const { return Clicked(X, Y, FClick); }
  TDrawLine* Clicked(std::int32_t X, std::int32_t Y, std::int32_t Tolerance) const;
  TDrawLine* InternalClicked(std::int32_t X, std::int32_t Y, TDrawLineHandle Handle) const {
    return InternalClicked(X, Y, Handle, FClick);
  }
  TDrawLine* InternalClicked(std::int32_t X, std::int32_t Y, TDrawLineHandle Handle, std::int32_t Tolerance) const;
  // Frees the selected item (nothing when none).
  void DeleteSelected();
  // FullRepaint, or the canvas cannot draw in XOR mode.
  bool ShouldForceRepaint() const;
  // Draws one item in pixels.
  void DrawLine(const TPointF& P0, const TPointF& P1, TDrawLineStyle AStyle);
  // Draws Line with its pen, or the item being drawn for nullptr.
  void RedrawLine(TDrawLine* Line);

  TDrawLine* GetSelected() const { return ISelected; }
  void SetSelected(TDrawLine* Value);
  TMouseButton GetButton() const { return FButton; }
  void SetButton(TMouseButton Value) { FButton = Value; }
  std::int32_t GetClickTolerance() const { return FClick; }
  void SetClickTolerance(std::int32_t Value) { FClick = Value; }
  bool GetEnableDraw() const { return FEnableDraw; }
  void SetEnableDraw(bool Value) { FEnableDraw = Value; }
  bool GetEnableSelect() const { return FEnableSelect; }
  void SetEnableSelect(bool Value);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value);
  TDrawLines* GetLines() const { return FLines; }
  void SetLines(TDrawLines* Value);
  bool GetSelectNewLines() const { return FSelectNew; }
  void SetSelectNewLines(bool Value) { FSelectNew = Value; }
  TDrawLineStyle GetStyle() const { return FStyle; }
  void SetStyle(TDrawLineStyle Value) { FStyle = Value; }

  // What a drag moves now; chNone when no drag runs.
  TDrawLineHandle GetDragHandle() const { return IHandle; }
  bool GetDrawing() const { return IDrawing; }

  TNotifyEvent OnDraggedLine;
  TNotifyEvent OnDragLine;
  TNotifyEvent OnNewLine;
  TNotifyEvent OnSelect;
  TDrawLineSelecting OnSelecting;

  // Start and end, in pixels, of the item being drawn or dragged.
  TPointF FromPoint{0, 0};
  TPointF ToPoint{0, 0};

 private:
  friend class TDrawLine;
  bool CheckCursor(std::int32_t X, std::int32_t Y);
  // Draws the moving item now (XOR) or asks for a repaint.
  void ShowMoving();

  TMouseButton FButton = TMouseButton::mbLeft;
  std::int32_t FClick = 0;
  bool FEnableDraw = true;
  bool FEnableSelect = true;
  bool FFullRepaint = false;
  TDrawLines* FLines = nullptr;  // owned
  bool FSelectNew = true;
  TDrawLineStyle FStyle = TDrawLineStyle::dlLine;
  bool IDrawing = false;
  bool IMoved = false;
  TPointF IPoint{0, 0};
  TDrawLine* ISelected = nullptr;  // not owned
  TDrawLineHandle IHandle = TDrawLineHandle::chNone;
  // A clip of this tool is open on the canvas.
  bool IClipped = false;
};

}  // namespace zel
