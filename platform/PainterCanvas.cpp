// The canvas on Qt: QPainter on a bitmap's QImage or on a painter the caller holds.
#include "platform/PainterCanvas.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Math.h"

namespace zel {

void EnsureQtApplication() {
  if (QCoreApplication::instance()) return;
  static int Argc = 1;
  static char Arg0[] = "zelgraph";
  static char* Argv[] = {Arg0, nullptr};
  // Without a display the window system runs off the screen (HasDisplay tells, NoDisplayReason
  // says why); a display that cannot be reached falls back to the same instead of ending the
  // process.
  ChooseDisplayAtStart();
  // Lives for the whole process (registered as the application instance).
  new QApplication(Argc, Argv);
}

QFont ToQFont(const TFont& Font, double Dpi) {
  EnsureQtApplication();
  QFont F(QString::fromUtf8(Font.GetFamily().c_str()));
  float Size = Font.GetSize();
  if (!(Size > 0.5f)) Size = 0.5f;  // also NaN
  if (Size > 4096) Size = 4096;
  if (!(Dpi > 0)) Dpi = 96;
  F.setPointSizeF(Size * 72.0 / Dpi);
  TFontStyles S = Font.GetStyle();
  F.setBold(S.Contains(TFontStyle::fsBold));
  F.setItalic(S.Contains(TFontStyle::fsItalic));
  F.setUnderline(S.Contains(TFontStyle::fsUnderline));
  F.setStrikeOut(S.Contains(TFontStyle::fsStrikeOut));
  // Qt places glyphs by advances that change once the glyphs are cached, and draws those of 64
  // pixels and more from their outlines: the first text drawn in a process would differ from
  // the same text drawn later. Full hinting keeps every advance whole pixels, the same each time.
  F.setHintingPreference(QFont::PreferFullHinting);
  return F;
}

namespace {

// The device text is measured on: 96 dots per inch, so that a font of size S is S pixels per em.
const QPaintDevice* MeasureDevice() {
  static QImage Device = [] {
    QImage I(1, 1, QImage::Format_ARGB32_Premultiplied);
    I.setDotsPerMeterX(3780);
    I.setDotsPerMeterY(3780);
    return I;
  }();
  return &Device;
}

QString Q(const String& S) { return QString::fromUtf8(S.data(), qsizetype(S.size())); }

// Text bypasses the kept measures while this is above zero (TUncachedTextMeasures).
int UncachedMeasures = 0;

// The measures of text in the fonts one canvas draws with. A mark's text is measured for the
// size of its box, again for its alignment and again when drawn: each of these asks here, and
// the text is shaped once. A width is kept with the whole font state it was measured in
// (family, size, style); text is always measured on the same 96 dpi device, so no other state
// changes a width, and a font that differs in anything is measured afresh.
class TQtTextMeasures {
 public:
  float LineHeight(const TFont& Font) { return FontEntry(Font).Height; }
  float Ascent(const TFont& Font) { return FontEntry(Font).Ascent; }

  float Width(const TFont& Font, const String& Line) {
    if (UncachedMeasures > 0) return Measure(Font, Line);
    for (const TWidth& W : FWidths)
      if (W.Text == Line && W.Font.Is(Font)) return W.Width;
    TWidth& W = FWidths[FNextWidth];
    FNextWidth = (FNextWidth + 1) % FWidths.size();
    W.Width = Measure(Font, Line);
    W.Text = Line;
    W.Font.Set(Font);
    return W.Width;
  }

  // The Qt font that draws text of Font on a device of Dpi dots per inch (ToQFont), kept for
  // the last font asked for.
  const QFont& DrawFont(const TFont& Font, double Dpi) {
    if (UncachedMeasures > 0 || !FDrawFont || !FDrawFontKey.Is(Font) || FDrawDpi != Dpi) {
      FDrawFont.emplace(ToQFont(Font, Dpi));
      FDrawFontKey.Set(Font);
      FDrawDpi = Dpi;
    }
    return *FDrawFont;
  }

  std::int64_t GetShapeCount() const { return FShapeCount; }

 private:
  // The state of a font that its metrics depend on.
  struct TFontKey {
    String Family;
    float Size = NAN;  // equal to no size: an empty key matches no font
    TFontStyles Style;
    bool Is(const TFont& F) const {
      return Size == F.GetSize() && Style == F.GetStyle() && Family == F.GetFamily();
    }
    void Set(const TFont& F) {
      Family = F.GetFamily();
      Size = F.GetSize();
      Style = F.GetStyle();
    }
  };
  struct TFontMetrics {
    TFontKey Font;
    std::optional<QFontMetricsF> Metrics;
    float Height = 0, Ascent = 0;
  };
  struct TWidth {
    TFontKey Font;
    String Text;
    float Width = 0;
  };

  float Measure(const TFont& Font, const String& Line) {
    ++FShapeCount;
    return float(FontEntry(Font).Metrics->horizontalAdvance(Q(Line)));
  }

  TFontMetrics& FontEntry(const TFont& Font) {
    if (UncachedMeasures == 0)
      for (TFontMetrics& M : FFonts)
        if (M.Metrics && M.Font.Is(Font)) return M;
    TFontMetrics& M = FFonts[FNextFont];
    FNextFont = (FNextFont + 1) % FFonts.size();
    M.Metrics.emplace(ToQFont(Font), MeasureDevice());
    M.Height = float(M.Metrics->height());
    M.Ascent = float(M.Metrics->ascent());
    M.Font.Set(Font);
    return M;
  }

  std::array<TFontMetrics, 4> FFonts;
  std::size_t FNextFont = 0;
  std::array<TWidth, 16> FWidths;
  std::size_t FNextWidth = 0;
  std::int64_t FShapeCount = 0;
  std::optional<QFont> FDrawFont;
  TFontKey FDrawFontKey;
  double FDrawDpi = 0;
};

class TQtTextLayout : public TTextLayout {
 public:
  TQtTextLayout(TCanvas* ACanvas, std::shared_ptr<TQtTextMeasures> AMeasures)
      : TTextLayout(ACanvas), FMeasures(std::move(AMeasures)) {}
  float GetLineHeight() override { return FMeasures->LineHeight(*GetFont()); }
  float GetAscent() override { return FMeasures->Ascent(*GetFont()); }
  float MeasureLine(const String& Line) override { return FMeasures->Width(*GetFont(), Line); }

 private:
  // Shared with the canvas that made the layout, and kept as long as either lives.
  std::shared_ptr<TQtTextMeasures> FMeasures;
};

QColor ToQColor(TAlphaColor C) { return QColor::fromRgba(QRgb(C)); }

QTransform ToQTransform(const TMatrix& M) {
  return QTransform(M.m11, M.m12, M.m13, M.m21, M.m22, M.m23, M.m31, M.m32, M.m33);
}

QRectF ToQRect(const TRectF& R) {
  TRectF N = R.Normalized();
  return QRectF(QPointF(N.Left, N.Top), QPointF(N.Right, N.Bottom));
}

bool Finite(TPointF P) { return std::isfinite(P.X) && std::isfinite(P.Y); }
bool Finite(const TRectF& R) {
  return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) &&
         std::isfinite(R.Bottom);
}

// The Qt path of D, made in P (cleared first: the storage it holds is used again).
const QPainterPath& ToQPath(const TPathData& D, QPainterPath& P) {
  P.clear();
  const auto& Pts = D.GetPoints();
  for (std::size_t i = 0; i < Pts.size(); ++i) {
    const TPathPoint& Pt = Pts[i];
    if (!Finite(Pt.Point)) continue;
    QPointF Q(Pt.Point.X, Pt.Point.Y);
    switch (Pt.Kind) {
      case TPathPointKind::MoveTo: P.moveTo(Q); break;
      case TPathPointKind::LineTo: P.lineTo(Q); break;
      case TPathPointKind::CurveTo:
        if (i + 2 < Pts.size() && Finite(Pts[i + 1].Point) && Finite(Pts[i + 2].Point))
          P.cubicTo(Q, QPointF(Pts[i + 1].Point.X, Pts[i + 1].Point.Y),
                    QPointF(Pts[i + 2].Point.X, Pts[i + 2].Point.Y));
        i += 2;
        break;
      case TPathPointKind::Close: P.closeSubpath(); break;
    }
  }
  return P;
}

void FromQPath(const QPainterPath& Q, TPathData& D) {
  D.Clear();
  for (int i = 0; i < Q.elementCount(); ++i) {
    QPainterPath::Element E = Q.elementAt(i);
    TPointF P{float(E.x), float(E.y)};
    switch (E.type) {
      case QPainterPath::MoveToElement: D.MoveTo(P); break;
      case QPainterPath::LineToElement: D.LineTo(P); break;
      case QPainterPath::CurveToElement:
        if (i + 2 < Q.elementCount()) {
          QPainterPath::Element E2 = Q.elementAt(i + 1), E3 = Q.elementAt(i + 2);
          D.CurveTo(P, {float(E2.x), float(E2.y)}, {float(E3.x), float(E3.y)});
        }
        i += 2;
        break;
      case QPainterPath::CurveToDataElement: break;
    }
  }
}

// The Qt brush for a platform brush; false when it fills nothing.
bool MakeBrush(const TBrush& B, QBrush& Out) {
  switch (B.GetKind()) {
    case TBrushKind::None: return false;
    case TBrushKind::Solid:
    case TBrushKind::Resource: Out = QBrush(ToQColor(B.GetColor())); return true;
    case TBrushKind::Bitmap:
      if (B.GetBitmap() && !B.GetBitmap()->IsEmpty()) {
        SuspendBitmapCanvas(*B.GetBitmap());
        Out = QBrush(BitmapImage(*B.GetBitmap()));
        return true;
      }
      Out = QBrush(ToQColor(B.GetColor()));
      return true;
    case TBrushKind::Gradient: {
      const TGradient& G = *B.GetGradient();
      const TGradientPoints& Pts = G.GetPoints();
      if (Pts.GetCount() == 0) return false;
      if (Pts.GetCount() == 1) {
        Out = QBrush(ToQColor(Pts[0].GetColor()));
        return true;
      }
      QGradientStops Stops;
      for (int i = 0; i < Pts.GetCount(); ++i) {
        float O = Pts[i].GetOffset();
        O = std::isfinite(O) ? std::clamp(O, 0.f, 1.f) : 0.f;
        Stops.append({O, ToQColor(Pts[i].GetColor())});
      }
      std::stable_sort(Stops.begin(), Stops.end(),
                       [](const QGradientStop& A, const QGradientStop& C) { return A.first < C.first; });
      if (G.GetStyle() == TGradientStyle::Radial) {
        // The circle's centre, moved by Position, turns about RotationCenter by RotationAngle
        // degrees (clockwise on the screen); turning a circle leaves its shape as it is.
        const TRadialTransform& T = G.GetRadialTransform();
        const double A = std::isfinite(T.RotationAngle) ? T.RotationAngle * M_PI / 180 : 0;
        const double RX = std::isfinite(T.RotationCenter.X) ? T.RotationCenter.X : 0.5;
        const double RY = std::isfinite(T.RotationCenter.Y) ? T.RotationCenter.Y : 0.5;
        const double DX = 0.5 + T.Position.X - RX, DY = 0.5 + T.Position.Y - RY;
        QRadialGradient R(QPointF(RX + DX * std::cos(A) - DY * std::sin(A),
                                  RY + DX * std::sin(A) + DY * std::cos(A)),
                          0.5);
        R.setCoordinateMode(QGradient::ObjectMode);
        R.setStops(Stops);
        Out = QBrush(R);
      } else {
        QLinearGradient L(QPointF(G.GetStartPosition().X, G.GetStartPosition().Y),
                          QPointF(G.GetStopPosition().X, G.GetStopPosition().Y));
        L.setCoordinateMode(QGradient::ObjectMode);
        L.setStops(Stops);
        Out = QBrush(L);
      }
      return true;
    }
  }
  return false;
}

// The Qt pen for a stroke; false when it draws nothing (kind None, thickness 0 or less).
bool MakePen(const TStrokeBrush& S, QPen& Out) {
  float T = S.GetThickness();
  if (!(T > 0) || !std::isfinite(T)) return false;
  QBrush B;
  if (!MakeBrush(S, B)) return false;
  Out = QPen(B, T, Qt::SolidLine, S.GetCap() == TStrokeCap::Round ? Qt::RoundCap : Qt::FlatCap,
             S.GetJoin() == TStrokeJoin::Round   ? Qt::RoundJoin
             : S.GetJoin() == TStrokeJoin::Bevel ? Qt::BevelJoin
                                                 : Qt::MiterJoin);
  std::vector<float> Dash = S.GetDashArray();
  if (!Dash.empty()) {
    QList<qreal> Pattern;
    for (float D : Dash) Pattern.append(std::isfinite(D) && D > 0.01f ? D : 0.01);
    if (Pattern.size() % 2) Pattern.append(Pattern);
    Out.setDashPattern(Pattern);
    if (S.GetDash() == TStrokeDash::Custom && std::isfinite(S.GetCustomDashOffset()))
      Out.setDashOffset(S.GetCustomDashOffset());
  }
  return true;
}

float ClampOpacity(float O) {
  if (!(O == O)) return 1;
  return std::clamp(O, 0.f, 1.f);
}

class TQtCanvas : public TCanvas {
 public:
  // On a bitmap's image.
  explicit TQtCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  // On a painter the caller holds.
  TQtCanvas(QPainter* APainter, int AWidth, int AHeight, float AScale)
      : FExternal(APainter), FWidth(AWidth), FHeight(AHeight), FScale(AScale) {
    if (FExternal) FBaseTransform = FExternal->transform();
  }
  ~TQtCanvas() override { Suspend(); }

  int GetWidth() const override { return FBitmap ? FBitmap->GetWidth() : FWidth; }
  int GetHeight() const override { return FBitmap ? FBitmap->GetHeight() : FHeight; }
  float GetScale() const override {
    if (FBitmap) return FBitmap->GetBitmapScale() > 0 ? FBitmap->GetBitmapScale() : 1;
    return FScale > 0 ? FScale : 1;
  }

  void EndScene() override {
    TCanvas::EndScene();
    if (GetBeginSceneCount() == 0) Suspend();
  }

  void Suspend() {
    if (FOwn.isActive()) FOwn.end();
  }

  void Clear(TAlphaColor Color) override {
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    QPainter* P = Painter();
    if (!P) return;
    P->save();
    P->resetTransform();
    P->setClipping(false);
    P->setOpacity(1);
    P->setCompositionMode(QPainter::CompositionMode_Source);
    QRectF All = FBitmap ? QRectF(0, 0, GetWidth(), GetHeight())
                         : FBaseTransform.mapRect(QRectF(0, 0, GetWidth(), GetHeight()));
    P->fillRect(All, ToQColor(Color));
    P->restore();
  }

  void ClearRect(const TRectF& R, TAlphaColor Color) override {
    if (NothingToDraw() || !Finite(R)) return;
    QPainter* P = Painter();
    if (!P) return;
    P->save();
    P->setOpacity(1);
    P->setCompositionMode(QPainter::CompositionMode_Source);
    P->fillRect(ToQRect(R), ToQColor(Color));
    P->restore();
  }

  void FillRect(const TRectF& R, float XRadius, float YRadius, TCorners Corners, float Opacity,
                TCornerType CornerType) override {
    QBrush B;
    if (NothingToDraw() || !Finite(R) || !MakeBrush(*GetFill(), B)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    if (XRadius > 0 && YRadius > 0 && !Corners.Empty()) {
      FBox.Clear();
      FBox.AddRectangle(R, XRadius, YRadius, Corners, CornerType);
      P->fillPath(ToQPath(FBox, FQPath), B);
    } else {
      P->fillRect(ToQRect(R), B);
    }
  }

  void DrawRect(const TRectF& Rect, float XRadius, float YRadius, TCorners Corners,
                float Opacity, TCornerType CornerType) override {
    QPen Pen;
    if (NothingToDraw() || !Finite(Rect) || !MakePen(*GetStroke(), Pen)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    // The outline runs through the centres of the outermost pixels that FillRect of the same
    // rectangle covers (Left .. Right - 1), so a one-pixel frame lies on the fill's edge pixels.
    TRectF R = Rect.Normalized();
    R = TRectF(R.Left + 0.5f, R.Top + 0.5f, std::max(R.Left + 0.5f, R.Right - 0.5f),
               std::max(R.Top + 0.5f, R.Bottom - 0.5f));
    const bool Round = XRadius > 0 && YRadius > 0 && !Corners.Empty();
    // An opaque thin frame in device pixels, as a thin line (DrawLine).
    if (!Round && ThinInDevicePixels() && ClampOpacity(Opacity) * float(Pen.color().alphaF()) >= 1) {
      MakeThin(Pen);
      P->setPen(Pen);
      P->setBrush(Qt::NoBrush);
      const QPolygonF Q({DevicePoint(R.TopLeft()), DevicePoint(TPointF(R.Right, R.Top)), DevicePoint(R.BottomRight()),
                         DevicePoint(TPointF(R.Left, R.Bottom))});
      Widened(P, QTransform(), [&] { P->drawPolygon(Q); });
      return;
    }
    if (Round) {
      FBox.Clear();
      FBox.AddRectangle(R, XRadius, YRadius, Corners, CornerType);
      P->strokePath(ToQPath(FBox, FQPath), Pen);
    } else {
      P->setPen(Pen);
      P->setBrush(Qt::NoBrush);
      P->drawRect(ToQRect(R));
    }
  }

  void FillEllipse(const TRectF& R, float Opacity) override {
    QBrush B;
    if (NothingToDraw() || !Finite(R) || !MakeBrush(*GetFill(), B)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    P->setPen(Qt::NoPen);
    P->setBrush(B);
    P->drawEllipse(ToQRect(R));
  }

  void DrawEllipse(const TRectF& R, float Opacity) override {
    QPen Pen;
    if (NothingToDraw() || !Finite(R) || !MakePen(*GetStroke(), Pen)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    P->setPen(Pen);
    P->setBrush(Qt::NoBrush);
    P->drawEllipse(ToQRect(R));
  }

  void DrawLine(TPointF P1, TPointF P2, float Opacity) override {
    QPen Pen;
    if (NothingToDraw() || !Finite(P1) || !Finite(P2) || !MakePen(*GetStroke(), Pen)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    // An opaque thin line in device pixels; a translucent one would blend where its widened
    // copies meet, and is drawn at the scale as it is.
    if (ThinInDevicePixels() && ClampOpacity(Opacity) * float(Pen.color().alphaF()) >= 1) {
      MakeThin(Pen);
      const QLineF Line(DevicePoint(P1), DevicePoint(P2));
      if (Line.x1() == Line.x2() || Line.y1() == Line.y2()) {
        // Along a row or a column: the pixels the one-pixel line sets (from the lower end to the
        // higher, which only a round cap sets; a line of no length sets its one pixel), widened,
        // are one box.
        const bool Column = Line.x1() == Line.x2();
        const double Lo = Column ? std::min(Line.y1(), Line.y2()) : std::min(Line.x1(), Line.x2());
        const double Hi = Column ? std::max(Line.y1(), Line.y2()) : std::max(Line.x1(), Line.x2());
        const double End = (Hi > Lo ? Hi + (Pen.capStyle() == Qt::RoundCap ? 1 : 0) : Lo + 1) + ThinWidth() - 1;
        const double W = ThinWidth();
        P->setTransform(QTransform());
        P->fillRect(Column ? QRectF(Line.x1(), Lo, W, End - Lo) : QRectF(Lo, Line.y1(), End - Lo, W), Pen.brush());
        FStateDirty = true;
        return;
      }
      P->setPen(Pen);
      Widened(P, QTransform(), [&] { P->drawLine(Line); });
      return;
    }
    // A wide line along a row or a column (an axis) at a scale other than 1 sets the whole
    // units a scale-1 picture sets across it (Centre - Thickness / 2 and Centre + Thickness / 2
    // rounded half up), as a box (round ends as square ones), where a stroke would lose or gain
    // a device pixel at one side.
    if (FBitmap && GetScale() != 1 && !GetAntialiasing() && GetStroke()->GetThickness() > 1 &&
        GetStroke()->GetDash() == TStrokeDash::Solid && (P1.X == P2.X || P1.Y == P2.Y) && !(P1 == P2)) {
      const float H = GetStroke()->GetThickness() / 2, E = GetStroke()->GetCap() == TStrokeCap::Flat ? 0 : H;
      auto From = [H](float C) { return std::floor(double(C) - H + 0.5); };
      auto To = [H](float C) { return std::floor(double(C) + H + 0.5); };
      const QRectF Box =
          P1.X == P2.X ? QRectF(QPointF(From(P1.X), std::min(P1.Y, P2.Y) - E), QPointF(To(P1.X), std::max(P1.Y, P2.Y) + E))
                       : QRectF(QPointF(std::min(P1.X, P2.X) - E, From(P1.Y)), QPointF(std::max(P1.X, P2.X) + E, To(P1.Y)));
      P->fillRect(Box, Pen.brush());
      return;
    }
    P->setPen(Pen);
    P->drawLine(QPointF(P1.X, P1.Y), QPointF(P2.X, P2.Y));
  }

  void FillPath(const TPathData& Path, float Opacity) override {
    QBrush B;
    if (NothingToDraw() || Path.IsEmpty() || !MakeBrush(*GetFill(), B)) return;
    QPainter* P = Prepare(Opacity);
    if (P) P->fillPath(ToQPath(Path, FQPath), B);
    ReleaseLargePath();
  }

  void DrawPath(const TPathData& Path, float Opacity) override {
    QPen Pen;
    if (NothingToDraw() || Path.IsEmpty() || !MakePen(*GetStroke(), Pen)) return;
    QPainter* P = Prepare(Opacity);
    if (P) P->strokePath(ToQPath(Path, FQPath), Pen);
    ReleaseLargePath();
  }

  void FillPolygon(const TPolygon& Points, float Opacity) override {
    QBrush B;
    if (NothingToDraw() || Points.size() < 3 || !MakeBrush(*GetFill(), B)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    P->setPen(Qt::NoPen);
    P->setBrush(B);
    P->drawPolygon(ToQPolygon(Points));
  }

  void DrawPolygon(const TPolygon& Points, float Opacity) override {
    QPen Pen;
    if (NothingToDraw() || Points.size() < 2 || !MakePen(*GetStroke(), Pen)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    // An opaque thin outline in device pixels, as a thin line (DrawLine).
    if (ThinInDevicePixels() && ClampOpacity(Opacity) * float(Pen.color().alphaF()) >= 1) {
      MakeThin(Pen);
      P->setPen(Pen);
      P->setBrush(Qt::NoBrush);
      QPolygonF Q;
      Q.reserve(qsizetype(Points.size()));
      for (const TPointF& Pt : Points)
        if (Finite(Pt)) Q.append(DevicePoint(Pt));
      Widened(P, QTransform(), [&] { P->drawPolygon(Q); });
      return;
    }
    P->setPen(Pen);
    P->setBrush(Qt::NoBrush);
    P->drawPolygon(ToQPolygon(Points));
  }

  void DrawArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle,
               float Opacity) override {
    TPathData Path;
    Path.AddArc(Center, Radius, StartAngle, SweepAngle);
    DrawPath(Path, Opacity);
  }

  void FillArc(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle,
               float Opacity) override {
    TPathData Path;
    Path.MoveTo(Center);
    Path.AddArc(Center, Radius, StartAngle, SweepAngle);
    Path.ClosePath();
    FillPath(Path, Opacity);
  }

  void DrawBitmap(const TBitmap* Bitmap, const TRectF& Src, const TRectF& Dst, float Opacity,
                  bool HighSpeed) override {
    if (NothingToDraw() || !Bitmap || Bitmap->IsEmpty() || !Finite(Src) || !Finite(Dst)) return;
    if (Bitmap != FBitmap) SuspendBitmapCanvas(*Bitmap);
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    P->setRenderHint(QPainter::SmoothPixmapTransform, !HighSpeed);
    const QImage& Img = BitmapImage(*Bitmap);
    if (Bitmap == FBitmap) {
      QImage Copy = Img.copy();  // a picture drawn onto itself
      P->drawImage(ToQRect(Dst), Copy, ToQRect(Src));
    } else {
      P->drawImage(ToQRect(Dst), Img, ToQRect(Src));
    }
  }

  void FillText(const TRectF& R, const String& Text, bool WordWrap, float Opacity,
                TFillTextFlags Flags, TTextAlign HAlign, TTextAlign VAlign) override {
    QBrush B;
    if (NothingToDraw() || Text.empty() || !Finite(R) || !MakeBrush(*GetFill(), B)) return;
    TQtTextLayout L(this, FMeasures);
    L.SetFont(GetFont());
    Lay(L, R, Text, WordWrap, HAlign, VAlign);
    L.SetRightToLeft(Flags.Contains(TFillTextFlag::RightToLeft));
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    P->setFont(FMeasures->DrawFont(*GetFont(), P->device()->logicalDpiY()));
    P->setPen(QPen(B, 1));
    float Ascent = L.GetAscent();
    for (const TTextLine& Line : L.GetLines())
      if (!Line.Text.empty())
        P->drawText(QPointF(Line.Rect.Left, Line.Rect.Top + Ascent), Q(Line.Text));
  }

  bool TextToPath(TPathData& Path, const TRectF& R, const String& Text, bool WordWrap,
                  TTextAlign HAlign, TTextAlign VAlign) override {
    Path.Clear();
    if (Text.empty() || !Finite(R)) return false;
    TQtTextLayout L(this, FMeasures);
    L.SetFont(GetFont());
    Lay(L, R, Text, WordWrap, HAlign, VAlign);
    // Paths take the font at the application's default resolution.
    double Dpi = 96;
    if (QScreen* Screen = QGuiApplication::primaryScreen()) Dpi = Screen->logicalDotsPerInchY();
    QFont F = ToQFont(*GetFont(), Dpi);
    QPainterPath QP;
    float Ascent = L.GetAscent();
    for (const TTextLine& Line : L.GetLines())
      if (!Line.Text.empty()) QP.addText(QPointF(Line.Rect.Left, Line.Rect.Top + Ascent), F, Q(Line.Text));
    FromQPath(QP, Path);
    return !Path.IsEmpty();
  }

  std::unique_ptr<TTextLayout> CreateTextLayout() override {
    return std::make_unique<TQtTextLayout>(this, FMeasures);
  }

  std::int64_t GetMeasureCount() const override { return FMeasures->GetShapeCount(); }
  const std::shared_ptr<TQtTextMeasures>& GetMeasures() const { return FMeasures; }

 protected:
  void StateChanged() override { FStateDirty = true; }

  bool MergesPolylines(float Opacity) const override { return PictureMergesPolylines(Opacity); }
  bool ReplacesPixels(float Opacity) const override { return PictureReplacesPixels(Opacity); }
  bool MergesColumnStrokes(float Opacity) const override { return PictureMergesColumnStrokes(Opacity); }
  bool DrawsThinInDevicePixels() const override { return FBitmap && GetScale() != 1; }

  void DoDrawPolyline(const TPointF* Points, std::size_t Count, float Opacity,
                      bool Reduce) override {
    QPen Pen;
    if (Count < 2 || !Points || NothingToDraw() || !MakePen(*GetStroke(), Pen)) return;
    QPainter* P = Prepare(Opacity);
    if (!P) return;
    const TPointF* Src = Points;
    std::size_t N = Count;
    // A thin line in device pixels goes through its device points, merged per device column.
    const bool Thin = ThinInDevicePixels();
    if (Thin) {
      MakeThin(Pen);
      FDevice.resize(Count);
      for (std::size_t i = 0; i < Count; ++i) FDevice[i] = Finite(Points[i]) ? ToDevice(Points[i]) : Points[i];
      Src = FDevice.data();
    }
    P->setPen(Pen);
    P->setBrush(Qt::NoBrush);
    bool Merge = Reduce && MergesPolylines(Opacity);
    if (Merge) {
      ReducePolylineByColumn(Src, N, FReduced);
      Src = FReduced.data();
      N = FReduced.size();
    }
    float Alpha = ClampOpacity(Opacity) * float(Pen.color().alphaF());
    bool Translucent = Alpha < 1 && GetStroke()->GetKind() == TBrushKind::Solid;
    if (!Translucent) {
      if (Thin)
        DrawWidenedPieces(P, Pen, Src, N);
      else
        DrawPieces(P, Src, N, true);
    } else {
      // A line that crosses itself must not blend a pixel twice: it is drawn opaque into a
      // layer that is then blended once.
      QColor Opaque = Pen.color();
      Opaque.setAlphaF(1);
      Pen.setColor(Opaque);
      DrawThroughLayer(P, Pen, Src, N, Alpha, Thin);
    }
    if (FQPoints.capacity() > qsizetype(4 * Piece)) FQPoints = QPolygonF();
    if (FDevice.capacity() > 4 * Piece) std::vector<TPointF>().swap(FDevice);
  }

 private:
  static constexpr std::size_t Piece = 65536;

  // Thin lines in device pixels (DrawsThinInDevicePixels): the device pixel where a unit's
  // pixel begins (as a fill of that unit starts), the widening, the one-pixel pen.
  float DeviceCoord(float V, float Move) const {
    return float(std::ceil(std::floor(double(V) + double(Move)) * GetScale() - 0.5));
  }
  TPointF ToDevice(TPointF P) const {
    return TPointF(DeviceCoord(P.X, GetMatrix().m31), DeviceCoord(P.Y, GetMatrix().m32));
  }
  QPointF DevicePoint(TPointF P) const {
    const TPointF D = ToDevice(P);
    return QPointF(D.X, D.Y);
  }
  int ThinWidth() const { return std::max(1, Round(GetScale())); }
  static void MakeThin(QPen& Pen) {
    Pen.setWidthF(1);
    Pen.setCosmetic(true);
  }
  // Draw run once for each device pixel of the widening, moved from Base (device points).
  template <class F>
  void Widened(QPainter* P, const QTransform& Base, F&& Draw) {
    const int N = ThinWidth();
    for (int j = 0; j < N; ++j)
      for (int i = 0; i < N; ++i) {
        P->setTransform(Base * QTransform::fromTranslate(i, j));
        Draw();
      }
    FStateDirty = true;  // the canvas' own transform comes back with the next primitive
  }

  // Draws the points in pieces that share their end points (the shared pixel is drawn twice
  // in the same colour, which only opaque strokes allow); bad points break the line.
  void DrawPieces(QPainter* P, const TPointF* Src, std::size_t N, bool Split) {
    FQPoints.clear();
    auto Flush = [&] {
      if (FQPoints.size() >= 2) P->drawPolyline(FQPoints.constData(), int(FQPoints.size()));
      FQPoints.clear();
    };
    for (std::size_t i = 0; i < N; ++i) {
      const TPointF& Pt = Src[i];
      if (!Finite(Pt)) {
        Flush();
        continue;
      }
      FQPoints.append(QPointF(Pt.X, Pt.Y));
      if (Split && FQPoints.size() >= qsizetype(Piece)) {
        QPointF Last = FQPoints.back();
        Flush();
        FQPoints.append(Last);
      }
    }
    Flush();
  }

  // An opaque thin line's device points, widened (as Widened draws them): the points that follow
  // one another in one device column set their column from the lowest to the highest row, so
  // each such run is one box (widened), and only the lines between columns are drawn at every
  // pixel of the widening. A line of many points in each column (a merged one or not) costs a
  // box and a short line per column. Bad points break the line.
  void DrawWidenedPieces(QPainter* P, const QPen& Pen, const TPointF* Src, std::size_t N) {
    const int W = ThinWidth();
    const QBrush Brush = Pen.brush();
    P->setTransform(QTransform());
    FQLines.clear();
    for (std::size_t K = 0; K < N;) {
      if (!Finite(Src[K])) {
        ++K;
        continue;
      }
      std::size_t M = K;
      float Lo = Src[K].Y, Hi = Src[K].Y;
      while (M + 1 < N && Src[M + 1].X == Src[K].X && Finite(Src[M + 1])) {
        ++M;
        Lo = std::min(Lo, Src[M].Y);
        Hi = std::max(Hi, Src[M].Y);
      }
      P->fillRect(QRectF(Src[K].X, Lo, W, double(Hi) - Lo + W), Brush);
      if (M + 1 < N && Finite(Src[M + 1]))
        FQLines.append(QLineF(Src[M].X, Src[M].Y, Src[M + 1].X, Src[M + 1].Y));
      K = M + 1;
    }
    if (!FQLines.isEmpty())
      Widened(P, QTransform(), [&] { P->drawLines(FQLines.constData(), int(FQLines.size())); });
    if (FQLines.capacity() > qsizetype(4 * Piece)) FQLines = QList<QLineF>();
    FStateDirty = true;
  }

  void DrawThroughLayer(QPainter* P, const QPen& Pen, const TPointF* Src, std::size_t N,
                        float Alpha, bool Thin) {
    // The device area the line can touch.
    float MinX = INFINITY, MinY = INFINITY, MaxX = -INFINITY, MaxY = -INFINITY;
    for (std::size_t i = 0; i < N; ++i) {
      if (!Finite(Src[i])) continue;
      MinX = std::min(MinX, Src[i].X);
      MaxX = std::max(MaxX, Src[i].X);
      MinY = std::min(MinY, Src[i].Y);
      MaxY = std::max(MaxY, Src[i].Y);
    }
    if (!(MinX <= MaxX)) return;
    // Device points of a thin line are drawn as they are, widened.
    QTransform T = Thin ? QTransform() : P->transform();
    double Margin = Pen.widthF() * std::max(1.0, std::sqrt(std::fabs(T.determinant()))) + 2 + (Thin ? ThinWidth() : 0);
    QPaintDevice* Dev = P->device();
    double Dpr = Dev->devicePixelRatioF();
    QRectF Area = T.mapRect(QRectF(QPointF(MinX, MinY), QPointF(MaxX, MaxY)))
                      .adjusted(-Margin, -Margin, Margin, Margin)
                      .intersected(QRectF(0, 0, Dev->width(), Dev->height()));
    QRect Box = Area.toAlignedRect();
    if (Box.isEmpty()) return;
    QImage Layer(int(Box.width() * Dpr), int(Box.height() * Dpr), QImage::Format_ARGB32_Premultiplied);
    if (Layer.isNull()) return;
    Layer.setDevicePixelRatio(Dpr);
    Layer.fill(Qt::transparent);
    {
      QPainter L(&Layer);
      L.setRenderHints(P->renderHints());
      const QTransform Base = T * QTransform::fromTranslate(-Box.left(), -Box.top());
      L.setTransform(Base);
      L.setPen(Pen);
      L.setBrush(Qt::NoBrush);
      if (Thin)
        Widened(&L, Base, [&] { DrawPieces(&L, Src, N, true); });
      else
        DrawPieces(&L, Src, N, true);
    }
    P->save();
    P->resetTransform();
    P->setOpacity(Alpha);
    P->drawImage(QPointF(Box.topLeft()), Layer);
    P->restore();
  }

  // A path of many points gives its storage back rather than hold it for the next small shape.
  void ReleaseLargePath() {
    if (FQPath.elementCount() > 4096) FQPath = QPainterPath();
  }

  static void Lay(TTextLayout& L, const TRectF& R, const String& Text, bool WordWrap,
                  TTextAlign HAlign, TTextAlign VAlign) {
    TRectF N = R.Normalized();
    L.SetTopLeft(N.TopLeft());
    L.SetMaxSize({N.Width(), N.Height()});
    L.SetWordWrap(WordWrap);
    L.SetHorizontalAlign(HAlign);
    L.SetVerticalAlign(VAlign);
    L.SetText(Text);
  }

  QPolygonF ToQPolygon(const TPolygon& Points) {
    QPolygonF Q;
    Q.reserve(qsizetype(Points.size()));
    for (const TPointF& P : Points)
      if (Finite(P)) Q.append(QPointF(P.X, P.Y));
    return Q;
  }

  // The active painter with the canvas state applied; nullptr when there is nothing to draw on.
  QPainter* Painter() {
    QPainter* P = FExternal;
    if (FBitmap) {
      if (!FOwn.isActive()) {
        QImage& Img = BitmapImage(*FBitmap);
        if (Img.isNull()) return nullptr;
        EnsureQtApplication();
        if (!FOwn.begin(&Img)) return nullptr;
        FStateDirty = true;
      }
      P = &FOwn;
    }
    if (!P) return nullptr;
    if (FStateDirty || P != FApplied) {
      QTransform Base = FBitmap ? QTransform::fromScale(GetScale(), GetScale()) : FBaseTransform;
      P->setRenderHint(QPainter::Antialiasing, GetAntialiasing());
      P->setRenderHint(QPainter::TextAntialiasing, true);
      P->setTransform(Base);
      if (GetClipped()) {
        TRectF C = GetClipRect();
        P->setClipRect(QRectF(QPointF(C.Left, C.Top), QPointF(C.Right, C.Bottom)));
      } else {
        P->setClipping(false);
      }
      P->setTransform(ToQTransform(GetMatrix()) * Base);
      FStateDirty = false;
      FApplied = P;
    }
    return P;
  }

  QPainter* Prepare(float Opacity) {
    QPainter* P = Painter();
    if (!P) return nullptr;
    P->setOpacity(ClampOpacity(Opacity));
    P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    P->setRenderHint(QPainter::SmoothPixmapTransform, true);
    return P;
  }

  TBitmap* FBitmap = nullptr;
  QPainter* FExternal = nullptr;
  QPainter FOwn;
  QPainter* FApplied = nullptr;
  int FWidth = 0, FHeight = 0;
  float FScale = 1;
  QTransform FBaseTransform;
  bool FStateDirty = true;
  std::vector<TPointF> FReduced;
  std::vector<TPointF> FDevice;  // the device points of a thin line
  QPolygonF FQPoints;
  QList<QLineF> FQLines;  // the lines between the columns of a widened line
  // A rounded box's path and the Qt paths drawn, kept so that their storage serves each shape.
  TPathData FBox;
  QPainterPath FQPath;
  std::shared_ptr<TQtTextMeasures> FMeasures = std::make_shared<TQtTextMeasures>();
};

}  // namespace

std::unique_ptr<TTextLayout> TTextLayoutManager::DefaultTextLayout(TCanvas* Canvas) {
  auto* Qt = dynamic_cast<TQtCanvas*>(Canvas);
  return std::make_unique<TQtTextLayout>(
      Canvas, Qt ? Qt->GetMeasures() : std::make_shared<TQtTextMeasures>());
}

TUncachedTextMeasures::TUncachedTextMeasures() { ++UncachedMeasures; }
TUncachedTextMeasures::~TUncachedTextMeasures() { --UncachedMeasures; }

std::unique_ptr<TCanvas> CreatePainterCanvas(QPainter* Painter, int Width, int Height,
                                             float Scale) {
  return std::make_unique<TQtCanvas>(Painter, std::max(0, Width), std::max(0, Height), Scale);
}

std::unique_ptr<TCanvas> CreateBitmapCanvas(TBitmap* Bitmap) {
  return std::make_unique<TQtCanvas>(Bitmap);
}

void SuspendCanvas(TCanvas* Canvas) {
  if (auto* C = dynamic_cast<TQtCanvas*>(Canvas)) C->Suspend();
}

}  // namespace zel

// The font libraries under Qt keep caches that are never freed; the leak checker of sanitized
// builds is told so, so that it reports our own leaks only.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}
