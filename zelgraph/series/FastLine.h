// The base of the line-drawing series (how null points are drawn) and the fast-line series: a
// plain line through many points, drawn as one polyline when it can and otherwise point by point,
// skipping points that land on the pixel already reached.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "zelgraph/engine/Series.h"

namespace zel {

class TCanvas3D;
class TColumnStrokes;

// Whether the line-drawing series draw what several points leave on one pixel once (pointers
// already drawn there, an area's polygons of one pixel column, a line through the canvas' merged
// polyline) where that gives the same pixels, and the fast line maps its points in bulk. Off,
// every point is mapped and drawn as it comes: tests and benchmarks compare the two pictures.
inline bool ZelMergeSamePixels = true;

// How null points (colour 0) are drawn.
enum class TTreatNullsStyle : Byte { tnDontPaint, tnSkip, tnIgnore };
ZEL_ENUM_NAMES(TTreatNullsStyle, "tnDontPaint", "tnSkip", "tnIgnore");

// The common base of the series that join their points by lines.
class TCustomLineSeries : public TChartSeries {
  ZEL_CLASS(TCustomLineSeries, TChartSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomLineSeries(TComponent* AOwner) : TChartSeries(AOwner) {}

  // Copies TreatNulls from another line series, then the series part.
  void Assign(TPersistent* Source) override;

  // The line pen is the series pen.
  TZelPen* GetLinePen() const { return FPen; }
  void SetLinePen(TZelPen* Value) { SetPen(Value); }
  TTreatNullsStyle GetTreatNulls() const { return FTreatNulls; }
  virtual void SetTreatNulls(TTreatNullsStyle Value);
  // How point ValueIndex is drawn when it is null: by TreatNulls, except that a point that is not
  // finite cannot be drawn at its values: where nulls are ignored it is skipped (its neighbours
  // are joined).
  TTreatNullsStyle TreatNullsOf(std::int32_t ValueIndex) const {
    return FTreatNulls == TTreatNullsStyle::tnIgnore && !IsFinitePoint(ValueIndex) ? TTreatNullsStyle::tnSkip
                                                                                   : FTreatNulls;
  }

 protected:
  TTreatNullsStyle FTreatNulls = TTreatNullsStyle::tnDontPaint;
};

enum class TDrawAllPointsStyle { daFirst, daMinMax };
enum class TFastLineDrawStyle { flSegments, flAll };
ZEL_ENUM_NAMES(TDrawAllPointsStyle, "daFirst", "daMinMax");
ZEL_ENUM_NAMES(TFastLineDrawStyle, "flSegments", "flAll");

class TFastLineSeries : public TCustomLineSeries {
  ZEL_CLASS(TFastLineSeries, TCustomLineSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TFastLineSeries(TComponent* AOwner);
  ~TFastLineSeries() override;

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TFastLineSeriesEditor"; }
  void SetPen(TZelPen* Value) override;
  void CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin) override;
  void CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin) override;
  void AssignFormatting(TChartSeries* Source) override;
  bool CanBeforeParallel() override { return ShouldDrawAsPolyline(); }
  void CreateSubGallery(const TAddSubChart& AddSubChart) override;
  void DoBeforeParallel() override;
  void DrawAllValues() override;
  void DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect) override;
  void DrawMark(std::int32_t ValueIndex, const String& St, TSeriesMarkPosition* APosition) override;
  void DrawValue(std::int32_t ValueIndex) override;
  void NotifyNewValue(TChartSeries* Sender, std::int32_t ValueIndex) override;
  void PrepareLegendCanvas(std::int32_t ValueIndex, TAlphaColor& BackColor, TBrushKind& BrushKind) override;
  void SetSeriesColor(TAlphaColor Value) override;
  void SetSubGallery(TChartSeries* Series, std::int32_t Index) override;
  void CalcFirstLastVisibleIndex() override;
  using TChartSeries::Clicked;
  std::int32_t Clicked(std::int32_t X, std::int32_t Y) override;

  // True when the visible range is drawn as one polyline: all points, flAll, nulls ignored, no
  // stairs, and a chart that is not in 3D.
  bool ShouldDrawAsPolyline() const;

  // Properties.
  bool GetAutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
  std::int32_t GetClickTolerance() const { return FClickTolerance; }
  void SetClickTolerance(std::int32_t Value) { FClickTolerance = Value; }
  TDrawAllPointsStyle GetDrawAllPointsStyle() const { return FDAPStyle; }
  void SetDrawAllPointsStyle(TDrawAllPointsStyle Value);
  bool GetDrawAllPoints() const { return FDrawAll; }
  void SetDrawAllPoints(bool Value) { SetBooleanProperty(FDrawAll, Value); }
  TFastLineDrawStyle GetDrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TFastLineDrawStyle Value);
  bool GetFastPen() const { return FFastPen; }
  void SetFastPen(bool Value) { SetBooleanProperty(FFastPen, Value); }
  bool GetIgnoreNulls() const { return FIgnoreNulls; }
  void SetIgnoreNulls(bool Value) { SetBooleanProperty(FIgnoreNulls, Value); }
  bool GetInvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool Value) { SetBooleanProperty(FInvertedStairs, Value); }
  bool GetStairs() const { return FStairs; }
  void SetStairs(bool Value) { SetBooleanProperty(FStairs, Value); }

  // The pixel positions of the polyline path of the last drawing: every visible point, or, when
  // the canvas merges the points of a pixel column, the merged points (which draw the same).
  const std::vector<TPointF>& GetPolylinePoints() const { return IPoints; }

 protected:
  // Canvas pen from the line pen (the series colour when the pen's colour is the default one),
  // no brush, transparent back.
  void PrepareCanvas();

  bool FAutoRepaint = true;
  std::int32_t FClickTolerance = 0;
  TDrawAllPointsStyle FDAPStyle = TDrawAllPointsStyle::daFirst;
  bool FDrawAll = true;
  TFastLineDrawStyle FDrawStyle = TFastLineDrawStyle::flSegments;
  bool FFastPen = false;
  bool FIgnoreNulls = true;
  bool FInvertedStairs = false;
  bool FStairs = false;
  bool IFastPenInit = false;
  std::int32_t OldX = 0;
  std::int32_t OldY = 0;
  std::int32_t IMin = 0;
  std::int32_t IMax = 0;
  bool ISameX = false;
  // The pen has no position yet (OldX, OldY mean nothing): the walk began at a point that is not
  // finite, or passed one that leaves a gap. The next point drawn moves the pen there.
  bool IPenUnset = false;
  std::vector<TPointF> IPoints;
  // Set when non-finite points were taken out of IPoints: its entries no longer stand at their
  // points' places, so the next fill cannot reuse them.
  bool IPointsCompacted = false;
  bool ReuseXValues = false;
  bool ReuseYValues = false;
  // The polyline's points are made when it is drawn, from point IDeferredFirst on.
  bool IDeferredPoints = false;
  std::int32_t IDeferredFirst = 0;
  // The walk's strokes go here instead of the canvas when set.
  TColumnStrokes* IStrokes = nullptr;

 private:
  // The pixel position of point Index through the resolved axes.
  std::int32_t XPixel(std::int32_t Index) const;
  std::int32_t YPixel(std::int32_t Index) const;
  void DrawAsPolyline(TCanvas3D* Canvas);
  // Whether the point-by-point strokes may go through a TColumnStrokes: the same pixels.
  bool MergesStrokes(TCanvas3D* Canvas) const;
  // Where a stroke to pixel (X, Y) goes on the canvas: projected in 3D.
  TPointF StrokePoint(std::int32_t X, std::int32_t Y) const;
  // The strokes of points F .. L with every point drawn and none of them null (or nulls drawn at
  // their values), mapped in bulk: what DrawPointAt draws for each, stairs and 3D included.
  void WalkStrokes(TColumnStrokes& Strokes, std::int32_t F, std::int32_t L);
  // Takes out of IPoints (made from points S on) the entries of points that are not finite.
  void DropNonFinitePoints(std::int32_t S);
  // Every entry of the polyline through points S .. L, finite or not.
  void FillPolylineEntries(std::int32_t S, std::int32_t L);
  // The pen start of a walk from point P: its pixel position, or none when it is not finite.
  void StartPenAt(std::int32_t P);
  // The polyline through points S .. L: every point, or the points of each pixel column merged.
  void FillPolylinePoints(std::int32_t S, std::int32_t L);
  void FillMergedPoints(std::int32_t S, std::int32_t L);
  void DrawPointAt(std::int32_t ValueIndex);
  // The same with the point's pixel (X, Y) mapped already (read only when the point is finite).
  void DrawPointAt(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y);
  // DrawPointAt for points F .. L (F itself when a point lies before it), their pixels mapped in
  // bulk on linear axes.
  void WalkPoints(std::int32_t F, std::int32_t L);
  bool IsNewPixelPosition(std::int32_t X, std::int32_t Y) const;
  bool ShouldDrawPoint(std::int32_t ValueIndex, std::int32_t& X, std::int32_t& Y);
  void DoDrawPoint(std::int32_t X, std::int32_t Y);
  void DoMoveTo(std::int32_t X, std::int32_t Y);
  void LineToPoint(std::int32_t X, std::int32_t Y);
  // The index range a click at pixel column X can hit (the whole visible range when X is not
  // ordered).
  void ClickRange(std::int32_t X, std::int32_t& First, std::int32_t& Last);
};

}  // namespace zel
