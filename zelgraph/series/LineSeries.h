// The base of the series that join their points by lines, fill the space under them as areas,
// draw them as stairs or mark each point with a pointer: point-by-point drawing in 2D and 3D,
// whole-path drawing, shadow, emboss and outline copies, stacking of same-class series,
// smoothing through a hidden copy, click tests, axis margins and the legend symbol.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Canvas.h"

#include "zelgraph/engine/Pointer.h"
#include "zelgraph/series/FastLine.h"

namespace zel {

class TZelShadow;
class TZelEmboss;
class TZelHiddenPen;
class TSmoothingFunction;
class TCustomSeries;

enum class TCustomSeriesDrawStyle { dsSegments, dsAll, dsCurve };
enum class TCustomSeriesStack { cssNone, cssOverlap, cssStack, cssStack100 };
ZEL_ENUM_NAMES(TCustomSeriesDrawStyle, "dsSegments", "dsAll", "dsCurve");

using TOnClickPointer = std::function<void(TCustomSeries* Sender, std::int32_t ValueIndex, std::int32_t X,
                                           std::int32_t Y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, std::int32_t ValueIndex)>;

class TCustomSeries : public TCustomLineSeries {
  ZEL_CLASS(TCustomSeries, TCustomLineSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomSeries(TComponent* AOwner);
  ~TCustomSeries() override;

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TCustomSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin) override;
  void CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin) override;
  void DoBeforeDrawChart() override;
  void AssignFormatting(TChartSeries* Source) override;
  void CalcZOrder() override;
  using TChartSeries::ClickedPointer;
  bool ClickedPointer(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y) override;
  bool ClickedPointer(std::int32_t ValueIndex, std::int32_t PointX, std::int32_t PointY, std::int32_t MouseX,
                      std::int32_t MouseY);
  void DrawAllValues() override;
  void DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect) override;
  void DrawMark(std::int32_t ValueIndex, const String& St, TSeriesMarkPosition* APosition) override;
  void DrawValue(std::int32_t ValueIndex) override;
  using TChartSeries::DrawHiddenValue;
  // Draws a point that stands for several merged into one pixel column (or row) of Axis.
  void DrawHiddenValue(std::int32_t ValueIndex, double LowValue, double HighValue, std::int32_t PixelStep,
                       TChartAxis* Axis);
  bool IsPointInChartRect(std::int32_t ValueIndex) override;
  void MouseDown(std::int32_t ValueIndex, TMouseButton Button, TShiftState Shift, std::int32_t X,
                 std::int32_t Y) override;
  bool RaiseClicked() override;
  // Points Clicked looked at (read by tests: a click looks only near its pixel column).
  std::int64_t IClickVisits = 0;
  void Clear() override;
  using TChartSeries::Delete;
  void Delete(std::int32_t ValueIndex) override;
  double MaxXValue() override;
  double MaxYValue() override;
  double MinXValue() override;
  double MinYValue() override;
  std::int32_t CalcXPos(std::int32_t ValueIndex) override;
  std::int32_t CalcYPos(std::int32_t ValueIndex) override;
  void CalcFirstLastVisibleIndex() override;
  using TChartSeries::Clicked;
  std::int32_t Clicked(std::int32_t X, std::int32_t Y) override;
  void SwapValueIndex(std::int32_t A, std::int32_t B) override;

  // Introduced here.
  virtual std::int32_t CalcMarkLength();
  virtual double CalcMinMaxValue(bool IsMin);
  virtual TZelGradient* GetGradient();
  virtual void PreparePointer(std::int32_t) {}
  virtual bool SameClassOrigin(TChartSeries* Series);
  virtual void SetSmoothed(bool Value);
  virtual std::int32_t GetOriginPos(std::int32_t ValueIndex);
  virtual void ResetBrush();
  virtual void DrawPointer(std::int32_t X, std::int32_t Y, TAlphaColor Color, std::int32_t ValueIndex);

  void LinePrepareCanvas(TCanvas3D* Canvas, TAlphaColor Color);
  TAlphaColor GetAreaBrushColor(TAlphaColor Color);
  TSeriesPointerStyle DoGetPointerStyle(std::int32_t ValueIndex);
  std::int32_t CalcPosLeftRight(double Position, std::int32_t IndexB, std::int32_t IndexA);
  // Sum of the origin values at ValueIndex of the active same-class series before this one (all
  // of them, as absolute values, with SumAll), each value taken times Scale.
  double PointOrigin(std::int32_t ValueIndex, bool SumAll, double Scale = 1);
  // Value stacked on the origin at ValueIndex; a sum of finite values past the double range
  // stays at the largest double of its sign.
  double StackedValue(std::int32_t ValueIndex, double Value);
  // Value stacked on the origin at ValueIndex in percent of the total there (NaN when the total
  // is 0); totals past the double range are taken at a smaller scale, so the share stays finite.
  double StackedPercent(std::int32_t ValueIndex, double Value);
  // The same with the stack's total at the point already worked out.
  double StackedPercent(std::int32_t ValueIndex, double Value, double Total);
  std::int32_t CalcStackedPos(std::int32_t ValueIndex, double Value);
  // Narrows First..Last to the points a click at pixel column X can hit (the series' pointer size,
  // as CalcSize gives it, bounds a pointer's reach). Shift3D: the depth's horizontal shift.
  void ClickRange(std::int32_t X, std::int32_t Shift3D, std::int32_t& First, std::int32_t& Last);
  // Whole-path drawing (dsAll, dsCurve in 2D); returns whether it drew.
  bool DoDrawAll(TZelPen* APen, TAlphaColor AColor, bool Main);
  void SmoothSeries();
  void FreeSmoothSeries();

  // Properties.
  TZelBrush* GetAreaChartBrush() const { return FAreaBrush; }
  void SetAreaChartBrush(TZelBrush* Value);
  TBrushKind GetAreaBrush() const;
  void SetAreaBrushStyle(TBrushKind Value);
  TBrushKind GetLineBrush() const;
  void SetLineBrush(TBrushKind Value);
  TAlphaColor GetAreaColor() const { return FAreaColor; }
  void SetAreaColor(TAlphaColor Value) { SetColorProperty(FAreaColor, Value); }
  TZelPen* GetAreaLinesPen() const { return FAreaLinesPen; }
  void SetAreaLinesPen(TZelPen* Value);
  bool GetClickableLine() const { return FClickableLine; }
  void SetClickableLine(bool Value) { FClickableLine = Value; }
  std::int32_t GetClickTolerance() const { return FClickTolerance; }
  void SetClickTolerance(std::int32_t Value) { FClickTolerance = Value; }
  bool GetColorEachLine() const { return FColorEachLine; }
  void SetColorEachLine(bool Value) { SetBooleanProperty(FColorEachLine, Value); }
  bool GetDark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { SetBooleanProperty(FDark3D, Value); }
  bool GetDrawArea() const { return FDrawArea; }
  void SetDrawArea(bool Value) { SetBooleanProperty(FDrawArea, Value); }
  bool GetDrawLine() const { return FDrawLine; }
  void SetDrawLine(bool Value) { SetBooleanProperty(FDrawLine, Value); }
  TCustomSeriesDrawStyle GetDrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TCustomSeriesDrawStyle Value);
  TZelEmboss* GetEmboss() const { return FEmboss; }
  void SetEmboss(TZelEmboss* Value);
  bool GetInflateMargins() const { return FInflateMargins; }
  void SetInflateMargins(bool Value) { SetBooleanProperty(FInflateMargins, Value); }
  bool GetInvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool Value) { SetBooleanProperty(FInvertedStairs, Value); }
  std::int32_t GetLineHeight() const { return FLineHeight; }
  void SetLineHeight(std::int32_t Value) { SetIntegerProperty(FLineHeight, Value); }
  // Created on first read; nullptr frees it.
  TZelPen* GetOutLine();
  TZelPen* ExistingOutLine() const { return FOutLine; }
  void SetOutLine(TZelPen* Value);
  TSeriesPointerItems* GetPointer() const { return FPointer; }
  void SetPointer(TSeriesPointer* Value);
  bool GetPointerBehind() const { return FPointerBehind; }
  void SetPointerBehind(bool Value) { SetBooleanProperty(FPointerBehind, Value); }
  TZelShadow* GetShadow() const { return FShadow; }
  void SetShadow(TZelShadow* Value);
  bool GetSmoothed() const { return FSmoothed; }
  TCustomSeries* GetSmoothSeries() const { return FSmoothSeries; }
  TCustomSeriesStack GetStacked() const { return FStacked; }
  void SetStacked(TCustomSeriesStack Value);
  bool GetStairs() const { return FStairs; }
  void SetStairs(bool Value) { SetBooleanProperty(FStairs, Value); }

  TOnClickPointer OnClickPointer;
  TOnGetPointerStyle OnGetPointerStyle;

  // Fraction of the points that the whole-path drawing draws.
  float DisplayLast = 1.0f;

 protected:
  void ChangedBrush(TObject* Sender);
  // Draws the segment (or area piece) from the previous point to ValueIndex.
  void DrawPoint(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y, TAlphaColor Color, bool DrawPointers);
  // Sets Old* from the point before ValueIndex (the segment that enters the visible range);
  // false when that point is null.
  bool DrawPreviousPoint(std::int32_t ValueIndex);
  void DrawPointers(std::int32_t ValueIndex, TAlphaColor Color, bool Behind);
  void DrawArea2D3D(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y, TAlphaColor BrushColor);
  void DrawLinePlane(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y);
  void DrawStairs3D(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y);
  void FixOverflow(std::int32_t ValueIndex, std::int32_t& P, std::int32_t& L);
  void FixOverflows(std::int32_t ValueIndex, std::int32_t& X, std::int32_t& Y);
  void InternalCalcMargin(bool MarkSide, bool Horizontal, std::int32_t& A, std::int32_t& B);
  void DrawCopy(TZelShadow* Copy, std::int32_t Sign);
  void DrawOutlinePoints();
  void RunPointLoop();
  // A pointer the point loop draws: point Index's pointer at pixel (X, Y) in Color.
  struct TPointerDraw {
    std::int32_t X, Y;
    TAlphaColor Color;
    std::int32_t Index;
  };
  // Draws point ValueIndex's pointer, or keeps it while the loop gathers its pointers.
  void PointerAt(std::int32_t X, std::int32_t Y, TAlphaColor Color, std::int32_t ValueIndex);
  // Whether pointers drawn one after another (in the point loop: when it draws nothing else) are
  // all alike but for their colour and drawn on a canvas where a later identical opaque pointer
  // hides an earlier one completely.
  bool CanMergePointers(bool InPointLoop);
  // Draws the gathered pointers in their order, leaving out each one that a later opaque
  // pointer at the same pixel draws over again.
  void DrawGatheredPointers(std::vector<TPointerDraw>& Draws);
  // Whether the point loop may gather the area's pieces that lie in one pixel column (a flat
  // area in 2D, opaque thin solid pens, one colour per column) and draw the pixels they leave.
  bool CanMergeAreaColumns();
  // Gathers the area piece from the previous point to (X, Y) when it lies in the column of the
  // pieces gathered so far and its pixels are known; false when it must be drawn as it is.
  bool GatherAreaPiece(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y, TAlphaColor Color);
  // Draws what the gathered pieces leave in their column and forgets them.
  void FlushAreaColumn();
  // Whether the point loop may draw the line's segments through column strokes (a flat line in
  // 2D, nothing drawn between the segments, a thin solid pen); prepares Strokes with the pen's
  // caps when it may.
  bool CanMergeLineStrokes(std::optional<TColumnStrokes>& Strokes);
  // The segment from (OldX, OldY) to (X, Y), and the stair's corner before it, as DrawPoint
  // draws it in Color: through the column strokes while they take the pen, else on the canvas.
  void DrawLineSegment(std::int32_t X, std::int32_t Y, TAlphaColor Color);
  // The segment from (OldX, OldY) to (X, Y), with the stair's corner, on the canvas' pen.
  void DrawSegmentOnCanvas(std::int32_t X, std::int32_t Y);
  // Draws the strokes gathered so far: call before anything else is drawn.
  void FinishLineStrokes();
  // Rows Top .. Bottom of the column, in Color.
  struct TColumnSpan {
    std::int32_t Top, Bottom;
    TAlphaColor Color;
  };
  void DrawLegendLine(std::int32_t ValueIndex, const TRectF& Rect, TAlphaColor Color, bool Form3D);
  void DrawLegendPointer(std::int32_t ValueIndex, const TRectF& Rect, TAlphaColor Color);
  bool IsHorizontalSeries() const { return !YMandatory; }
  bool Is3D() const;
  bool HoverPrevious(std::int32_t ValueIndex);

  TZelBrush* FAreaBrush = nullptr;         // owned
  TAlphaColor FAreaColor = clZelDefault;
  TZelPen* FAreaLinesPen = nullptr;        // owned
  bool FClickableLine = true;
  std::int32_t FClickTolerance = 0;
  bool FColorEachLine = true;
  bool FDark3D = true;
  bool FDrawArea = false;
  bool FDrawLine = false;
  TCustomSeriesDrawStyle FDrawStyle = TCustomSeriesDrawStyle::dsSegments;
  TZelEmboss* FEmboss = nullptr;           // owned
  bool FInflateMargins = true;
  bool FInvertedStairs = false;
  std::int32_t FLineHeight = 0;
  TZelPen* FOutLine = nullptr;             // owned, created on first read
  TSeriesPointerItems* FPointer = nullptr; // owned
  bool FPointerBehind = false;
  TZelShadow* FShadow = nullptr;           // owned
  bool FSmoothed = false;
  TSmoothingFunction* FSmoothFunction = nullptr;
  TCustomSeries* FSmoothSeries = nullptr;  // owned
  TCustomSeriesStack FStacked = TCustomSeriesStack::cssNone;
  bool FStairs = false;
  bool FDirty = false;

  std::int32_t BottomPos = 0;
  std::int32_t OldBottomPos = 0;
  std::int32_t OldX = 0;
  std::int32_t OldY = 0;
  // The point whose pixel (OldX, OldY) is, or whose segment it lies on; -1 for none.
  std::int32_t OldIndex = -1;
  TAlphaColor OldColor = 0;
  TComponent* OldDataSource = nullptr;
  double tmpDark3DRatio = 1;
  bool HasTemplate = false;
  TRectF IClientRect;
  std::vector<TPointerDraw>* IGatherPointers = nullptr;  // the loop's pointers go here when set
  std::vector<std::uint64_t> IPixelsTaken;                // one bit per pixel, kept between paints
  bool IMergeArea = false;          // the loop gathers the area's pieces of one pixel column
  bool IAreaFlatCap = true;         // the line pen leaves out a vertical line's lower end
  bool IAreaRun = false;            // a piece was drawn whose column and colours pieces may join
  std::int32_t IAreaColumn = 0;
  TAlphaColor IAreaColor = 0, IAreaValueColor = 0;
  std::vector<TColumnSpan> IAreaSpans;  // the gathered pieces' strokes, in drawing order
  std::vector<TColumnSpan> IAreaShown, IAreaCovered, IAreaNext;  // FlushAreaColumn's working lists
  TColumnStrokes* ILineStrokes = nullptr;  // the loop's line segments go here when set
  bool ILinePenSet = false;                // the canvas pen is the line's in ILineColor
  bool ILineMerges = false;                // and the strokes take it
  TAlphaColor ILineColor = 0;
  TPointF ILineAt{NAN, NAN};               // where the strokes' pen is
};

// Draws Pointer fitted into a legend rectangle, with the pen of the chart's legend symbol when
// that symbol does not draw with the series' pen.
void ZelPointerDrawLegend(TSeriesPointer* Pointer, TAlphaColor AColor, const TRectF& Rect, bool DrawPen,
                          TSeriesPointerStyle AStyle);
// The half sizes ZelPointerDrawLegend draws Pointer with in Rect: in the pointer's proportions,
// unless the legend symbol is continuous (then it fills the rectangle up to the pointer's sizes).
void ZelPointerLegendSizes(TSeriesPointer* Pointer, const TRectF& Rect, bool DrawPen, bool Continuous,
                           std::int32_t& H, std::int32_t& V);

}  // namespace zel
