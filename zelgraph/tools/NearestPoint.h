// The nearest-point tool: follows the mouse over the chart and marks the point of its series
// nearest to the mouse with a circle, rectangle or diamond (or the point drawn again with the
// tool's pen) and a line from the mouse to the point; optionally it makes a hint text for that
// point. GetNearestPoint is the search other code may call.
#pragma once

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/tools/MarksTip.h"

namespace zel {

class TZelFont;

enum class TNearestToolStyle { hsNone, hsCircle, hsRectangle, hsDiamond, hsSeries };
ZEL_ENUM_NAMES(TNearestToolStyle, "hsNone", "hsCircle", "hsRectangle", "hsDiamond", "hsSeries");

class TNearestTool : public TZelCustomToolSeries {
  ZEL_CLASS(TNearestTool, TZelCustomToolSeries)
  ZEL_PUBLISHED_PROPS
 public:
  // A dotted white pen of width 3, a hollow brush, a visible line pen, circles of half-size 20.
  explicit TNearestTool(TComponent* AOwner);
  ~TNearestTool() override;

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TNearestToolEdit"; }
  // Draws the marker at tdePaintDone; removes it when the mouse leaves the chart.
  void ChartEvent(TChartToolEvent AEvent) override;
  // On moves: finds the nearest point, redraws, calls OnChange and makes the hint text.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // Points GetNearestPoint looked at (read by tests: with X in order it starts at the mouse's
  // column).
  static inline std::int64_t NearestVisits = 0;
  // The point of Series nearest to the pixel (X, Y): the series' own hit first; otherwise the
  // nearest point (inside the chart rectangle unless the series has Z values) closer than
  // MaxDistance pixels (0: any) and than 10000 pixels; the first of equal distances wins.
  // Null points count only with IncludeNulls. -1 when none.
  static std::int32_t GetNearestPoint(TChartSeries* Series, std::int32_t X, std::int32_t Y, std::int32_t MaxDistance);
  static std::int32_t GetNearestPoint(TChartSeries* Series, std::int32_t X, std::int32_t Y, bool IncludeNulls,
                                      std::int32_t MaxDistance);
  // Computes the mark text of a point in Style for OnGetText and shows it in Tool's tip (nothing
  // is shown without a tool). Color and Font are not consulted.
  static void InternalShowHint(TChartSeries* Series, std::int32_t ValueIndex, TSeriesMarksStyle Style, TPointF P,
                               const TMarksTipGetText& OnGetText, TMarksTipTool* Tool, TAlphaColor Color = 0,
                               TZelFont* Font = nullptr);
  static void InternalCancelHint(TCustomAxisPanel*) {}

  // Full repaint instead of XOR drawing: asked for, or the canvas cannot XOR.
  bool ShouldForceRepaint() const;
  // Draws the marker and the line to the mouse.
  void PaintHint();

  std::int32_t GetDistance() const { return FDistance; }
  void SetDistance(std::int32_t Value) { FDistance = Value; }
  bool GetDrawLine() const;
  void SetDrawLine(bool Value);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  bool GetHint() const { return FHint; }
  void SetHint(bool Value) { FHint = Value; }
  TSeriesMarksStyle GetHintStyle() const { return FHintStyle; }
  void SetHintStyle(TSeriesMarksStyle Value) { FHintStyle = Value; }
  TZelPen* GetLinePen() const { return FLinePen; }
  void SetLinePen(TZelPen* Value);
  std::int32_t GetSize() const { return FSize; }
  void SetSize(std::int32_t Value) { SetIntegerProperty(FSize, Value); }
  TNearestToolStyle GetStyle() const { return FStyle; }
  void SetStyle(TNearestToolStyle Value);
  TPointF GetMouse() const { return IMouse; }

  // The nearest point's index, -1 for none.
  std::int32_t Point = -1;
  TNotifyEvent OnChange;
  TMarksTipGetText OnGetHint;

 protected:
  // The canvas takes Pen as it is (full repaint) or its XOR form.
  void PreparePen(TZelPen* Pen, bool Force);

  std::int32_t FDistance = 0;
  bool FFullRepaint = true;
  bool FHint = false;
  TSeriesMarksStyle FHintStyle = TSeriesMarksStyle::smsLabelValue;
  TZelPen* FLinePen = nullptr;  // owned
  std::int32_t FSize = 20;
  TNearestToolStyle FStyle = TNearestToolStyle::hsCircle;
  TPointF IMouse{0, 0};
};

}  // namespace zel
