// A canvas that records the primitives it is asked to draw instead of drawing them, with fixed
// text metrics, for layout tests: every character (code point) is 7 pixels wide, a line is 12
// pixels high and its baseline lies 10 pixels below its top.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Canvas.h"

namespace zel {

enum class TRecordKind {
  Clear,
  ClearRect,
  FillRect,
  DrawRect,
  FillEllipse,
  DrawEllipse,
  DrawLine,
  FillPath,
  DrawPath,
  FillPolygon,
  DrawPolygon,
  DrawArc,
  FillArc,
  DrawBitmap,
  FillText,
  Polyline,
};

// One recorded primitive with the state it was drawn in.
struct TCanvasRecord {
  TRecordKind Kind = TRecordKind::Clear;
  // DrawLine: the two ends; polygons and polylines: their points; paths: the path's points;
  // arcs: centre and radius.
  std::vector<TPointF> Points;
  // Rectangles, ellipses, the text's rectangle, the bitmap's destination; the bounds of a path.
  TRectF Rect;
  TRectF SourceRect;             // DrawBitmap
  TAlphaColor Color = 0;         // fills and text: the fill colour; lines: the stroke colour
  TBrushKind BrushKind = TBrushKind::Solid;  // of the fill or the stroke used
  float Thickness = 0;           // the stroke thickness (line primitives)
  TStrokeDash Dash = TStrokeDash::Solid;
  float Opacity = 1;
  float XRadius = 0, YRadius = 0;          // rounded rectangles
  float StartAngle = 0, SweepAngle = 0;    // arcs
  String Text;                   // FillText
  String FontFamily;             // FillText
  float FontSize = 0;            // FillText
  TFontStyles FontStyle;         // FillText
  TTextAlign HAlign = TTextAlign::Leading, VAlign = TTextAlign::Leading;  // FillText
  bool WordWrap = false;         // FillText
  bool Reduced = false;          // Polyline: the merged form was asked for
  TMatrix Matrix;
  bool Clipped = false;
  TRectF ClipRect;               // in canvas pixels, when Clipped
};

// A text layout with the fixed metrics above.
class TFixedTextLayout : public TTextLayout {
 public:
  static constexpr float CharWidth = 7;
  static constexpr float LineHeight = 12;
  static constexpr float Ascent = 10;
  explicit TFixedTextLayout(TCanvas* ACanvas = nullptr) : TTextLayout(ACanvas) {}
  float GetLineHeight() override { return LineHeight; }
  float GetAscent() override { return Ascent; }
  float MeasureLine(const String& Line) override;
};

class TRecordingCanvas : public TCanvas {
  ZEL_CLASS(TRecordingCanvas, TCanvas)
 public:
  explicit TRecordingCanvas(int AWidth = 640, int AHeight = 480);

  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetSize(int AWidth, int AHeight);

  const std::vector<TCanvasRecord>& GetRecords() const { return FRecords; }
  void ClearRecords() { FRecords.clear(); }
  // The records of one kind, in drawing order.
  std::vector<TCanvasRecord> RecordsOf(TRecordKind Kind) const;
  // The texts drawn, in drawing order.
  std::vector<String> Texts() const;
  // Lines of text measured by the layouts of this canvas.
  std::int64_t GetMeasureCount() const override { return FMeasures; }

  void Clear(TAlphaColor Color) override;
  void ClearRect(const TRectF& R, TAlphaColor Color) override;
  void FillRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners, float Opacity,
                TCornerType CornerType = TCornerType::Round) override;
  void DrawRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners, float Opacity,
                TCornerType CornerType = TCornerType::Round) override;
  void FillEllipse(const TRectF& R, float Opacity) override;
  void DrawEllipse(const TRectF& R, float Opacity) override;
  void DrawLine(TPointF P1, TPointF P2, float Opacity) override;
  void FillPath(const TPathData& Path, float Opacity) override;
  void DrawPath(const TPathData& Path, float Opacity) override;
  void FillPolygon(const TPolygon& Points, float Opacity) override;
  void DrawPolygon(const TPolygon& Points, float Opacity) override;
  void DrawArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle,
               float Opacity) override;
  void FillArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle,
               float Opacity) override;
  void DrawBitmap(const TBitmap* Bitmap, const TRectF& Src, const TRectF& Dst, float Opacity,
                  bool HighSpeed = false) override;
  void FillText(const TRectF& R, const String& Text, bool WordWrap, float Opacity,
                TFillTextFlags Flags, TTextAlign HAlign,
                TTextAlign VAlign = TTextAlign::Center) override;
  // Always false: the recording canvas makes no glyph outlines.
  bool TextToPath(TPathData& Path, const TRectF& R, const String& Text, bool WordWrap,
                  TTextAlign HAlign, TTextAlign VAlign = TTextAlign::Center) override;

  std::unique_ptr<TTextLayout> CreateTextLayout() override;

 protected:
  void DoDrawPolyline(const TPointF* Points, std::size_t Count, float Opacity,
                      bool Reduce) override;

 private:
  TCanvasRecord& AddFill(TRecordKind Kind, float Opacity);
  TCanvasRecord& AddStroke(TRecordKind Kind, float Opacity);
  TCanvasRecord& Add(TRecordKind Kind, float Opacity);
  friend class TFixedTextLayout;
  int FWidth, FHeight;
  std::vector<TCanvasRecord> FRecords;
  std::int64_t FMeasures = 0;
};

}  // namespace zel
