#include "platform/RecordingCanvas.h"

#include <algorithm>

#include "platform/SysUtils.h"

namespace zel {

ZEL_DEFINE_CLASS(TRecordingCanvas, TCanvas)

float TFixedTextLayout::MeasureLine(const String& Line) {
  if (auto* Recording = dynamic_cast<TRecordingCanvas*>(GetCanvas())) ++Recording->FMeasures;
  return CharWidth * float(CodePointCount(Line));
}

TRecordingCanvas::TRecordingCanvas(int AWidth, int AHeight)
    : FWidth(std::max(0, AWidth)), FHeight(std::max(0, AHeight)) {}

void TRecordingCanvas::SetSize(int AWidth, int AHeight) {
  FWidth = std::max(0, AWidth);
  FHeight = std::max(0, AHeight);
}

std::vector<TCanvasRecord> TRecordingCanvas::RecordsOf(TRecordKind Kind) const {
  std::vector<TCanvasRecord> R;
  for (const TCanvasRecord& C : FRecords)
    if (C.Kind == Kind) R.push_back(C);
  return R;
}

std::vector<String> TRecordingCanvas::Texts() const {
  std::vector<String> R;
  for (const TCanvasRecord& C : FRecords)
    if (C.Kind == TRecordKind::FillText) R.push_back(C.Text);
  return R;
}

TCanvasRecord& TRecordingCanvas::Add(TRecordKind Kind, float Opacity) {
  TCanvasRecord& R = FRecords.emplace_back();
  R.Kind = Kind;
  R.Opacity = Opacity;
  R.Matrix = GetMatrix();
  R.Clipped = GetClipped();
  R.ClipRect = GetClipRect();
  return R;
}

TCanvasRecord& TRecordingCanvas::AddFill(TRecordKind Kind, float Opacity) {
  TCanvasRecord& R = Add(Kind, Opacity);
  R.Color = GetFill()->GetColor();
  R.BrushKind = GetFill()->GetKind();
  return R;
}

TCanvasRecord& TRecordingCanvas::AddStroke(TRecordKind Kind, float Opacity) {
  TCanvasRecord& R = Add(Kind, Opacity);
  R.Color = GetStroke()->GetColor();
  R.BrushKind = GetStroke()->GetKind();
  R.Thickness = GetStroke()->GetThickness();
  R.Dash = GetStroke()->GetDash();
  return R;
}

void TRecordingCanvas::Clear(TAlphaColor Color) {
  Add(TRecordKind::Clear, 1).Color = Color;
}

void TRecordingCanvas::ClearRect(const TRectF& R, TAlphaColor Color) {
  TCanvasRecord& C = Add(TRecordKind::ClearRect, 1);
  C.Rect = R;
  C.Color = Color;
}

void TRecordingCanvas::FillRect(const TRectF& R, float XRadius, float YRadius, TCorners,
                                float Opacity, TCornerType) {
  TCanvasRecord& C = AddFill(TRecordKind::FillRect, Opacity);
  C.Rect = R;
  C.XRadius = XRadius;
  C.YRadius = YRadius;
}

void TRecordingCanvas::DrawRect(const TRectF& R, float XRadius, float YRadius, TCorners,
                                float Opacity, TCornerType) {
  TCanvasRecord& C = AddStroke(TRecordKind::DrawRect, Opacity);
  C.Rect = R;
  C.XRadius = XRadius;
  C.YRadius = YRadius;
}

void TRecordingCanvas::FillEllipse(const TRectF& R, float Opacity) {
  AddFill(TRecordKind::FillEllipse, Opacity).Rect = R;
}

void TRecordingCanvas::DrawEllipse(const TRectF& R, float Opacity) {
  AddStroke(TRecordKind::DrawEllipse, Opacity).Rect = R;
}

void TRecordingCanvas::DrawLine(TPointF P1, TPointF P2, float Opacity) {
  AddStroke(TRecordKind::DrawLine, Opacity).Points = {P1, P2};
}

namespace {
std::vector<TPointF> PathPoints(const TPathData& Path) {
  std::vector<TPointF> R;
  R.reserve(Path.GetPoints().size());
  for (const TPathPoint& P : Path.GetPoints()) R.push_back(P.Point);
  return R;
}
}  // namespace

void TRecordingCanvas::FillPath(const TPathData& Path, float Opacity) {
  TCanvasRecord& C = AddFill(TRecordKind::FillPath, Opacity);
  C.Points = PathPoints(Path);
  C.Rect = Path.GetBounds();
}

void TRecordingCanvas::DrawPath(const TPathData& Path, float Opacity) {
  TCanvasRecord& C = AddStroke(TRecordKind::DrawPath, Opacity);
  C.Points = PathPoints(Path);
  C.Rect = Path.GetBounds();
}

void TRecordingCanvas::FillPolygon(const TPolygon& Points, float Opacity) {
  AddFill(TRecordKind::FillPolygon, Opacity).Points = Points;
}

void TRecordingCanvas::DrawPolygon(const TPolygon& Points, float Opacity) {
  AddStroke(TRecordKind::DrawPolygon, Opacity).Points = Points;
}

void TRecordingCanvas::DrawArc(TPointF Center, TPointF Radius, float StartAngle,
                               float SweepAngle, float Opacity) {
  TCanvasRecord& C = AddStroke(TRecordKind::DrawArc, Opacity);
  C.Points = {Center, Radius};
  C.StartAngle = StartAngle;
  C.SweepAngle = SweepAngle;
}

void TRecordingCanvas::FillArc(TPointF Center, TPointF Radius, float StartAngle,
                               float SweepAngle, float Opacity) {
  TCanvasRecord& C = AddFill(TRecordKind::FillArc, Opacity);
  C.Points = {Center, Radius};
  C.StartAngle = StartAngle;
  C.SweepAngle = SweepAngle;
}

void TRecordingCanvas::DrawBitmap(const TBitmap*, const TRectF& Src, const TRectF& Dst,
                                  float Opacity, bool) {
  TCanvasRecord& C = Add(TRecordKind::DrawBitmap, Opacity);
  C.SourceRect = Src;
  C.Rect = Dst;
}

void TRecordingCanvas::FillText(const TRectF& R, const String& Text, bool WordWrap,
                                float Opacity, TFillTextFlags, TTextAlign HAlign,
                                TTextAlign VAlign) {
  TCanvasRecord& C = AddFill(TRecordKind::FillText, Opacity);
  C.Rect = R;
  C.Text = Text;
  C.WordWrap = WordWrap;
  C.HAlign = HAlign;
  C.VAlign = VAlign;
  C.FontFamily = GetFont()->GetFamily();
  C.FontSize = GetFont()->GetSize();
  C.FontStyle = GetFont()->GetStyle();
}

bool TRecordingCanvas::TextToPath(TPathData& Path, const TRectF&, const String&, bool,
                                  TTextAlign, TTextAlign) {
  Path.Clear();
  return false;
}

std::unique_ptr<TTextLayout> TRecordingCanvas::CreateTextLayout() {
  return std::make_unique<TFixedTextLayout>(this);
}

void TRecordingCanvas::DoDrawPolyline(const TPointF* Points, std::size_t Count, float Opacity,
                                      bool Reduce) {
  TCanvasRecord& C = AddStroke(TRecordKind::Polyline, Opacity);
  if (Points) C.Points.assign(Points, Points + Count);
  C.Reduced = Reduce;
}

}  // namespace zel
