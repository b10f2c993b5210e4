#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Graphics.h"
#include "platform/RecordingCanvas.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/CanvasUnit.h"

namespace zel {
namespace {

TEST(GeometryTest, PointInRectIncludesEdges) {
  const TRectF R(0, 0, 10, 10);
  struct Case {
    float X, Y;
    bool In;
  };
  const Case Cases[] = {{0, 0, true},   {10, 10, true},     {5, 5, true},  {10.01f, 5, false},
                        {5, -0.01f, false}, {-0.01f, 5, false}, {5, 10.5f, false}};
  for (const Case& C : Cases) {
    EXPECT_EQ(PointInRect(R, C.X, C.Y), C.In) << C.X << "," << C.Y;
    EXPECT_EQ(PointInRect(R, TPointF(C.X, C.Y)), C.In) << C.X << "," << C.Y;
  }
  EXPECT_TRUE(PointInRect(TRect(0, 0, 10, 10), 10, 10));
  EXPECT_FALSE(PointInRect(TRect(0, 0, 10, 10), 11, 10));
}

TEST(GeometryTest, RectFromPolygonBoundsPointsPlusOne) {
  struct Case {
    std::vector<TPointF> Points;
    TRectF Expected;
  };
  const Case Cases[] = {
      {{{3, 4}}, {3, 4, 4, 5}},
      {{{5, 5}, {1, 9}, {10, 2}, {4, -3}}, {1, -3, 11, 10}},
      {{{-2.5f, 1}, {-7, 1}}, {-7, 1, -1.5f, 2}},
      {{}, {0, 0, 0, 0}},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(RectFromPolygon(C.Points), C.Expected) << C.Points.size() << " points";
    EXPECT_EQ(PolygonBounds(C.Points), C.Expected) << C.Points.size() << " points";
  }
  EXPECT_EQ(PolygonBounds(nullptr, -1), ZelZeroRectF);
  EXPECT_EQ(RectFromTriangle({TPointF(0, 0), TPointF(4, 1), TPointF(2, 6)}), TRectF(0, 0, 5, 7));
}

TEST(GeometryTest, RectanglePredicates) {
  EXPECT_FALSE(IsRectEmpty(TRectF(0, 0, 0, 5)));
  EXPECT_FALSE(IsRectEmpty(TRectF(0, 0, 5, 0)));
  EXPECT_TRUE(IsRectEmpty(TRectF(2, 3, 2, 3)));

  EXPECT_EQ(OrientRectangle(10, 20, 0, 5), TRectF(0, 5, 10, 20));
  EXPECT_EQ(OrientRectangle(TRectF(0, 5, 10, 20)), TRectF(0, 5, 10, 20));

  const float NaN = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(EqualRect(TRectF(1, 2, 3, 4), TRectF(1, 2, 3, 4)));
  EXPECT_FALSE(EqualRect(TRectF(1, 2, 3, 4), TRectF(1, 2, 3, 5)));
  EXPECT_FALSE(EqualRect(TRectF(NaN, 2, 3, 4), TRectF(NaN, 2, 3, 4)));

  TRectF R(1, 2, 3, 4);
  InflateRectF(R, 1, 2);
  EXPECT_EQ(R, TRectF(0, 0, 4, 6));
}

// The face test follows the sign of the cross product (P0 - P1) x (P2 - P1).
TEST(GeometryTest, CullFollowsWinding) {
  struct Case {
    TPointF P0, P1, P2;
    bool Culled;
  };
  const Case Cases[] = {
      {{0, 0}, {10, 0}, {10, 10}, true},
      {{0, 0}, {10, 10}, {10, 0}, false},
      {{0, 0}, {5, 5}, {10, 10}, false},  // degenerate: not turned away
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(ZelCull(C.P0, C.P1, C.P2), C.Culled);
    EXPECT_EQ(ZelCull(TFourPoints{C.P0, C.P1, C.P2, TPointF(99, 99)}), C.Culled);
  }
}

// A minimal BMP file: 14-byte file header, 40-byte information header, one pixel.
std::vector<Byte> MakeBmp() {
  std::vector<Byte> B(58, 0);
  B[0] = 'B';
  B[1] = 'M';
  B[2] = 58;
  B[10] = 54;
  B[14] = 40;  // information header size
  B[18] = 1;   // width
  B[22] = 1;   // height
  B[26] = 1;   // planes
  B[28] = 32;  // bits per pixel
  for (int i = 38; i < 46; ++i) B[i] = 0xAB;  // stale resolution, all four bytes of each field
  return B;
}

std::uint32_t ReadU32(const std::vector<Byte>& B, int At) {
  return std::uint32_t(B[At]) | (std::uint32_t(B[At + 1]) << 8) | (std::uint32_t(B[At + 2]) << 16) |
         (std::uint32_t(B[At + 3]) << 24);
}

TEST(GeometryTest, SetBitmapDPIPatchesOnlyBmpStreams) {
  for (auto [DPI, Expected] : {std::pair{96, 3780u}, std::pair{300, 11811u}}) {
    TMemoryStream S;
    std::vector<Byte> Bmp = MakeBmp();
    S.WriteBuffer(Bmp.data(), Int64(Bmp.size()));
    S.SetPosition(5);
    EXPECT_TRUE(ZelSetBitmapDPI(&S, DPI));
    EXPECT_EQ(ReadU32(S.GetBytes(), 38), Expected) << DPI;
    EXPECT_EQ(ReadU32(S.GetBytes(), 42), Expected) << DPI;
    EXPECT_EQ(S.GetPosition(), 5);
    // Nothing else moved.
    for (int i : {0, 1, 14, 18, 28, 46}) EXPECT_EQ(S.GetBytes()[i], Bmp[i]) << i;
  }

  // A PNG stream (what the platform's bitmaps write) or a short stream is left alone.
  TBitmap Pic(3, 2);
  Pic.Clear(0xFF102030);
  std::vector<Byte> Png = Pic.SaveToBytes();
  std::vector<Byte> Short = MakeBmp();
  Short.resize(40);
  for (const std::vector<Byte>& Bytes : {Png, Short}) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), Int64(Bytes.size()));
    EXPECT_FALSE(ZelSetBitmapDPI(&S, 96));
    EXPECT_EQ(S.GetBytes(), Bytes);
  }
}

TEST(GeometryTest, SetBitmapDPIKeepsPixelsAndRecordsResolution) {
  TBitmap Pic(3, 2);
  Pic.Clear(0xFF102030);
  Pic.SetPixel(1, 1, 0xFFFF0000);
  ASSERT_TRUE(ZelSetBitmapDPI(&Pic, 300));
  EXPECT_EQ(Pic.GetWidth(), 3);
  EXPECT_EQ(Pic.GetHeight(), 2);
  EXPECT_EQ(Pic.GetPixel(0, 0), 0xFF102030u);
  EXPECT_EQ(Pic.GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(Pic.GetDotsPerMeterX(), 11811);
  EXPECT_EQ(Pic.GetDotsPerMeterY(), 11811);

  // The resolution travels with the picture's stream.
  TBitmap Copy;
  Copy.LoadFromBytes(Pic.SaveToBytes());
  EXPECT_EQ(Copy.GetDotsPerMeterX(), 11811);
  EXPECT_EQ(Copy.GetPixel(1, 1), 0xFFFF0000u);

  EXPECT_FALSE(ZelSetBitmapDPI(&Pic, 0));
  EXPECT_FALSE(ZelSetBitmapDPI(static_cast<TBitmap*>(nullptr), 96));
}

TEST(GeometryTest, SetBitmapSizeOnlyWhenDifferent) {
  TBitmap Pic(4, 4);
  Pic.Clear(0xFF00FF00);
  ZelSetBitmapSize(&Pic, 4, 4);
  EXPECT_EQ(Pic.GetPixel(2, 2), 0xFF00FF00u);  // not cleared by a resize
  ZelSetBitmapSize(&Pic, 6, 3);
  EXPECT_EQ(Pic.GetWidth(), 6);
  EXPECT_EQ(Pic.GetHeight(), 3);
}

int CountKind(const TPathData& P, TPathPointKind K) {
  int N = 0;
  for (const TPathPoint& Pt : P.GetPoints()) N += Pt.Kind == K;
  return N;
}

TEST(GeometryTest, PathArcFitsItsBox) {
  struct Case {
    float X, Y, W, H, Start, Sweep;
    TRectF Bounds;
  };
  const Case Cases[] = {
      {10, 20, 40, 60, 0, 360, {10, 20, 50, 80}},
      {0, 0, 20, 20, 270, 90, {10, 0, 20, 10}},   // the right-top quarter
      {0, 0, 20, 10, 90, 90, {0, 5, 10, 10}},     // the left-bottom quarter
  };
  for (const Case& C : Cases) {
    TZelPath Path(nullptr);
    Path.ArcTo(C.X, C.Y, C.W, C.H, C.Start, C.Sweep);
    TRectF B = Path.GetPathData()->GetBounds();
    EXPECT_NEAR(B.Left, C.Bounds.Left, 0.01) << C.Start;
    EXPECT_NEAR(B.Top, C.Bounds.Top, 0.01) << C.Start;
    EXPECT_NEAR(B.Right, C.Bounds.Right, 0.01) << C.Start;
    EXPECT_NEAR(B.Bottom, C.Bounds.Bottom, 0.01) << C.Start;
  }
}

TEST(GeometryTest, PathCurveIsStraightSegments) {
  const TPointF P[] = {{0, 0}, {10, 0}, {10, 10}};
  for (bool Closed : {false, true}) {
    TZelPath Path(nullptr);
    Path.Curve(P, 2, 0.5f, Closed);
    const TPathData& D = *Path.GetPathData();
    EXPECT_EQ(CountKind(D, TPathPointKind::MoveTo), 1);
    EXPECT_EQ(CountKind(D, TPathPointKind::LineTo), 2);
    EXPECT_EQ(CountKind(D, TPathPointKind::CurveTo), 0);
    EXPECT_EQ(CountKind(D, TPathPointKind::Close), Closed ? 1 : 0);
  }
  TZelPath Empty(nullptr);
  Empty.Curve(P, -1, 0, true);
  EXPECT_TRUE(Empty.GetPathData()->IsEmpty());
}

TEST(GeometryTest, PointsPathHoldsThePointsInOrder) {
  const TPointF P[] = {{1, 2}, {10, 0}, {10, 10}};
  using K = TPathPointKind;
  std::unique_ptr<TPathData> Open = PointsPath(P, 2, false);
  EXPECT_EQ(Open->GetPoints(), (std::vector<TPathPoint>{
                                   {K::MoveTo, P[0]}, {K::LineTo, P[1]}, {K::LineTo, P[2]}}));
  std::unique_ptr<TPathData> Closed = PointsPath(P, 2, true);
  EXPECT_EQ(CountKind(*Closed, K::Close), 1);
  EXPECT_TRUE(PointsPath(P, -1, true)->IsEmpty());
  // Adding goes after what the path holds.
  TPathData D;
  D.MoveTo(TPointF(50, 50));
  AddPointsToPath(D, P, 0, false);
  EXPECT_EQ(D.GetCount(), 2);
  EXPECT_EQ(D.GetPoints().back(), (TPathPoint{K::MoveTo, P[0]}));
}

TEST(GeometryTest, DifferentPointComparesBothCoordinates) {
  struct Case {
    TPointF A, B;
    bool Different;
  };
  const Case Cases[] = {{{1, 2}, {1, 2}, false},
                        {{1, 2}, {1.5f, 2}, true},
                        {{1, 2}, {1, 2.5f}, true},
                        {{0, 0}, {-0.0f, 0}, false}};
  for (const Case& C : Cases)
    EXPECT_EQ(DifferentPoint(C.A, C.B), C.Different) << C.B.X << "," << C.B.Y;
}

TEST(GeometryTest, UnitRegistersThePlatformCanvas) {
  ASSERT_NE(ZelRenderClasses, nullptr);
  EXPECT_EQ(*ZelRenderClasses, TZelRenderClassList{TZelCanvas3D::StaticClass()});
  EXPECT_FALSE(GetDefaultFontName.empty());
  EXPECT_GT(GetDefaultFontSize, 0);
}

class PathDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [Canvas, Rec] : {std::pair{&Canvas, &Rec}, std::pair{&Other, &OtherRec}}) {
      Canvas->SetUseBuffer(false);
      Canvas->InitWindow(Rec, nullptr, 0, false, TRectF(0, 0, 100, 100));
    }
    TZelPen Pen;
    Pen.SetColor(0xFF0000FF);
    Canvas.AssignVisiblePen(&Pen);
    Canvas.GetBrush()->SetColor(0xFFFF0000);
    Rec.ClearRecords();
    OtherRec.ClearRecords();
  }
  // A closed triangle on a path made by the canvas.
  TOwned<TZelBasePath> Triangle(TZelCanvas* Owner) {
    TOwned<TZelBasePath> Path(Owner->CreatePath());
    const TPointF P[] = {{10, 10}, {50, 10}, {30, 40}};
    Path->Curve(P, 2, 0, true);
    return Path;
  }
  TRecordingCanvas Rec{100, 100}, OtherRec{100, 100};
  TZelCanvas3D Canvas, Other;
};

TEST_F(PathDrawTest, FillsWithTheBrushThenOutlinesWithThePen) {
  Canvas.SetTransparency(40);
  Triangle(&Canvas)->Draw(&Canvas);
  ASSERT_EQ(Rec.GetRecords().size(), 2u);
  const TCanvasRecord& Fill = Rec.GetRecords()[0];
  const TCanvasRecord& Outline = Rec.GetRecords()[1];
  EXPECT_EQ(Fill.Kind, TRecordKind::FillPath);
  EXPECT_EQ(Fill.Color, 0xFFFF0000u);
  EXPECT_FLOAT_EQ(Fill.Opacity, 0.6f);
  EXPECT_EQ(Fill.Rect, TRectF(10, 10, 50, 40));
  EXPECT_EQ(Outline.Kind, TRecordKind::DrawPath);
  EXPECT_EQ(Outline.Color, 0xFF0000FFu);
  EXPECT_FLOAT_EQ(Outline.Opacity, 0.6f);
}

TEST_F(PathDrawTest, SkipsWhatIsHidden) {
  struct Case {
    TBrushKind Brush;
    TPenStyle Style;
    bool PenVisible;
    std::vector<TRecordKind> Drawn;
  };
  const Case Cases[] = {
      {TBrushKind::None, TPenStyle::psSolid, true, {TRecordKind::DrawPath}},
      {TBrushKind::Solid, TPenStyle::psClear, true, {TRecordKind::FillPath}},
      {TBrushKind::Solid, TPenStyle::psSolid, false, {TRecordKind::FillPath}},
      {TBrushKind::None, TPenStyle::psClear, true, {}},
  };
  for (const Case& C : Cases) {
    Canvas.GetBrush()->SetKind(C.Brush);
    Canvas.GetPen()->SetStyle(C.Style);
    Canvas.GetPen()->SetVisible(C.PenVisible);
    Rec.ClearRecords();
    Triangle(&Canvas)->Draw(&Canvas);
    std::vector<TRecordKind> Drawn;
    for (const TCanvasRecord& R : Rec.GetRecords()) Drawn.push_back(R.Kind);
    EXPECT_EQ(Drawn, C.Drawn) << int(C.Brush) << " " << int(C.Style) << " " << C.PenVisible;
  }
}

TEST_F(PathDrawTest, DrawsOnTheCanvasItIsGiven) {
  Other.GetBrush()->SetColor(0xFF00FF00);
  Triangle(&Canvas)->Draw(&Other);
  EXPECT_TRUE(Rec.GetRecords().empty());
  ASSERT_FALSE(OtherRec.GetRecords().empty());
  EXPECT_EQ(OtherRec.GetRecords()[0].Color, 0xFF00FF00u);
}

TEST_F(PathDrawTest, VisibleGradientFillsAndTheFillTurnsSolidAfter) {
  Canvas.GetBrush()->GetGradient()->SetVisible(true);
  Triangle(&Canvas)->Draw(&Canvas);
  ASSERT_FALSE(Rec.GetRecords().empty());
  EXPECT_EQ(Rec.GetRecords()[0].BrushKind, TBrushKind::Gradient);
  EXPECT_EQ(Rec.GetFill()->GetKind(), TBrushKind::Solid);
}

}  // namespace
}  // namespace zel
