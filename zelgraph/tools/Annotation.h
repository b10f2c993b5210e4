// The annotation tool: a text box drawn on the chart at a corner, in the centre or at a custom
// position, optionally with a callout arrow to a point, that reports clicks and hovering. Other
// tools use it as their label or derive from it, overriding its text, text offset and bounds.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TCustomAxisPanel;
class TZelSelected;

// The arrow of an annotation: from the box to a target point given in pixels.
class TAnnotationCallout : public TCallout {
  ZEL_CLASS(TAnnotationCallout, TCallout)
  ZEL_PUBLISHED_PROPS
 public:
  // Hidden, with its arrow hidden (both also as stored defaults).
  explicit TAnnotationCallout(TChartSeries* AOwner = nullptr);

  // X, Y and Z, then the callout's settings.
  void Assign(TPersistent* Source) override;

  // The point of R nearest to P in each axis: an edge when P is beyond it, else R's middle.
  static TPointF CloserPoint(const TRectF& R, TPointF P);

  std::int32_t GetXPosition() const { return FX; }
  void SetXPosition(std::int32_t Value);
  std::int32_t GetYPosition() const { return FY; }
  void SetYPosition(std::int32_t Value);
  std::int32_t GetZPosition() const { return FZ; }
  void SetZPosition(std::int32_t Value);

 private:
  void SetPos(std::int32_t& Field, std::int32_t Value);

  std::int32_t FX = 0;
  std::int32_t FY = 0;
  std::int32_t FZ = 0;
};

enum class TAnnotationPosition { ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom, ppCenter };
ZEL_ENUM_NAMES(TAnnotationPosition, "ppLeftTop", "ppLeftBottom", "ppRightTop", "ppRightBottom", "ppCenter");

class TAnnotationTool;
using TAnnotationClick =
    std::function<void(TAnnotationTool* Sender, TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)>;

class TAnnotationTool : public TZelCustomTool {
  ZEL_CLASS(TAnnotationTool, TZelCustomTool)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TAnnotationTool(TComponent* AOwner);
  ~TAnnotationTool() override;
  // Creates the shape (CreateShape is virtual).
  void AfterConstruction() override;

  // Callout, Position, PositionUnits, Selected, Shape and Z, then the element's settings.
  void Assign(TPersistent* Source) override;
  // The component name; outside loading it also becomes the text.
  void SetName(const String& NewName) override;
  String GetEditorClass() const override { return "TAnnotationToolEdit"; }
  // Also shows or hides the shape.
  void SetActive(bool Value) override;
  // Joins the chart's tool list, then gives the chart to the shape and the callout.
  void SetParentChart(TCustomAxisPanel* Value) override;
  // Draws at tdePaintDone; forgets the hover when the mouse leaves the chart.
  void ChartEvent(TChartToolEvent AEvent) override;
  // Press: OnClick (and OnDblClick on a double click) over the box. Move: hover and cursor.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // A new shape without owner; descendants may make their own kind.
  virtual TTextShape* CreateShape();
  // Places and draws the box (and its callout) on Chart.
  virtual void DoDrawText(TCustomAxisPanel* Chart);
  // Horizontal offset of the text inside the box.
  virtual std::int32_t GetXOffset() { return 0; }
  // The text to draw (the Text property): the shape's.
  virtual String GetText();
  // Sizes the shape for Chart and places it inside R (the chart's bounds); X, Y receive its
  // left-top corner. Returns the box's bounds.
  virtual TRectF GetTextBounds(TCustomAxisPanel* Chart, const TRectF& R, std::int32_t& X, std::int32_t& Y);

  // Sets the tool's chart without joining its tool list (a label of another tool).
  void InternalSetParent(TCustomAxisPanel* Chart);
  // The chart's repaint when there is a chart, else the shape's.
  void Repaint();
  // The box's bounds over the chart's bounds (empty without a chart).
  TRectF GetBounds();
  void SetBounds(const TRectF& R);
  // Whether (X, Y) is on the box: where it was drawn last with ClipText (its bounds before the
  // first drawing), else its bounds now.
  bool Clicked(std::int32_t X, std::int32_t Y);

  TAnnotationCallout* GetCallout() const { return FCallout; }
  void SetCallout(TAnnotationCallout* Value);
  bool GetDraw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value);
  TAnnotationPosition GetPosition() const { return FPosition; }
  void SetPosition(TAnnotationPosition Value);
  TZelUnits GetPositionUnits() const { return FPositionUnits; }
  void SetPositionUnits(TZelUnits Value);
  TZelSelected* GetSelected() const { return FSelected; }
  void SetSelected(TZelSelected* Value);
  TTextShape* GetShape() const { return FShape; }
  void SetShape(TTextShape* Value);
  std::int32_t GetZ() const { return FZ; }
  void SetZ(std::int32_t Value);

  // Read and write the shape.
  bool GetAutoSize() const;
  void SetAutoSize(bool Value);
  bool GetClipText() const;
  void SetClipText(bool Value);
  TCursor GetCursor() const;
  void SetCursor(TCursor Value);
  TAlignment GetTextAlignment() const;
  void SetTextAlignment(TAlignment Value);
  // The shape's text.
  void SetText(const String& Value);
  std::int32_t GetLeft() const;
  void SetLeft(std::int32_t Value);
  std::int32_t GetTop() const;
  void SetTop(std::int32_t Value);
  std::int32_t GetWidth() const;
  void SetWidth(std::int32_t Value);
  std::int32_t GetHeight() const;
  void SetHeight(std::int32_t Value);
  // Width and Height are stored only when AutoSize is off; Left and Top only while the box has
  // a custom position (else they are where the last drawing put it). Each is stored when it
  // differs from where the constructor put the box (InitBounds).
  bool IsWidthStored() const { return !GetAutoSize() && GetWidth() != DefaultWidth; }
  bool IsHeightStored() const { return !GetAutoSize() && GetHeight() != DefaultHeight; }
  bool IsLeftStored() const { return FShape->GetCustomPosition() && GetLeft() != DefaultLeft; }
  bool IsTopStored() const { return FShape->GetCustomPosition() && GetTop() != DefaultTop; }
  // Against the defaults the shape recorded (descendants give their own).
  bool IsAutoSizeStored() const { return FShape->IsAutoSizeStored(); }
  bool IsCursorStored() const { return FShape->IsCursorStored(); }
  bool IsPositionUnitsStored() const { return FPositionUnits != DefaultPositionUnits; }

  TNotifyEvent OnAfterDraw;
  TNotifyEvent OnBeforeDraw;
  TAnnotationClick OnClick;
  TAnnotationClick OnDblClick;

  TZelUnits DefaultPositionUnits = TZelUnits::muPixels;

 protected:
  TAnnotationCallout* FCallout = nullptr;  // owned
  bool FDraw3D = false;
  TAnnotationPosition FPosition = TAnnotationPosition::ppLeftTop;
  TZelUnits FPositionUnits = TZelUnits::muPixels;
  TZelSelected* FSelected = nullptr;  // owned
  TTextShape* FShape = nullptr;       // owned
  std::int32_t FZ = 0;
  // Hovering sets no cursor (a descendant sets its own).
  bool IKeepCursor = false;
  // Puts the box at R without repainting and records R as the stored default of Left, Top,
  // Width and Height.
  void InitBounds(const TRectF& R);
  std::int32_t DefaultLeft = 0, DefaultTop = 0, DefaultWidth = 0, DefaultHeight = 0;
  // Where the box was drawn last (in pixels), for clicks; empty before the first drawing.
  TRectF ILastDrawn{0, 0, 0, 0};
};

}  // namespace zel
