// The abstract 3D canvas: entities, front-plane brackets, 3D shapes reduced to 2D primitives,
// solids, and the located blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Bitmap.h"
#include "platform/Filer.h"
#include "platform/RecordingCanvas.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/CanvasUnit.h"

namespace zel {
namespace {

class Canvas3DTest : public ::testing::Test {
 protected:
  // An unbuffered window on the recording canvas; 2D unless asked, with options when given.
  void Open(bool Is3D, TView3DOptions* Options = nullptr) {
    Canvas.SetUseBuffer(false);
    Canvas.InitWindow(&Rec, Options, 0, Is3D, TRectF(0, 0, 200, 100));
    Canvas.Projection(100, TRectF(0, 0, 200, 100), TRectF(0, 0, 200, 100));
    Rec.ClearRecords();
  }
  std::vector<TCanvasRecord> Polygons() const { return Rec.RecordsOf(TRecordKind::FillPolygon); }

  TRecordingCanvas Rec{200, 100};
  TZelCanvas3D Canvas;
  TView3DOptions Options{nullptr};
};

TEST_F(Canvas3DTest, EntitiesRestoreTheMatrix) {
  Open(false);
  Canvas.EndEntity();  // empty stack: nothing
  EXPECT_EQ(Canvas.GetEntityCount(), 0);
  Canvas.BeginEntity("Axis", nullptr, nullptr);
  EXPECT_TRUE(Rec.GetMatrix().IsIdentity());
  TZelTransform T;
  T.Translate = {5, 7};
  Canvas.BeginEntity("Grid", nullptr, &T);
  EXPECT_EQ(TPointF(0, 0) * Rec.GetMatrix(), TPointF(5, 7));
  Canvas.EndEntity();
  EXPECT_TRUE(Rec.GetMatrix().IsIdentity());
  EXPECT_EQ(Canvas.GetEntityCount(), 1);
  Canvas.EndEntity();
  EXPECT_EQ(Rec.GetBeginSceneCount(), 0);
}

TEST_F(Canvas3DTest, FrontPlaneBracketsNest) {
  Open(true, &Options);
  ASSERT_TRUE(Canvas.GetIs3D());
  Canvas.FrontPlaneBegin();
  Canvas.FrontPlaneBegin();
  EXPECT_FALSE(Canvas.GetIs3D());
  Canvas.FrontPlaneEnd();
  EXPECT_FALSE(Canvas.GetIs3D());
  Canvas.FrontPlaneEnd();
  EXPECT_TRUE(Canvas.GetIs3D());
  Canvas.FrontPlaneEnd();  // unbalanced: ignored
  EXPECT_TRUE(Canvas.GetIs3D());
  EXPECT_EQ(Canvas.GetFrontPlaneCount(), 0);
}

TEST_F(Canvas3DTest, DiamondAndCircleAndEllipse) {
  Open(false);
  Canvas.Diamond(TRectF(0, 0, 10, 20), 0, 5);
  ASSERT_EQ(Polygons().size(), 1u);
  EXPECT_EQ(Polygons()[0].Points, (std::vector<TPointF>{{5, 0}, {10, 10}, {5, 20}, {0, 10}}));

  TRectF R(0, 0, 100, 50);
  TPointF Up = Canvas.PointFromCircle(R, 90, 0, false);
  TPointF Down = Canvas.PointFromCircle(R, 90, 0, true);
  EXPECT_NEAR(Up.X, 50, 1e-4);
  EXPECT_NEAR(Up.Y, 0, 1e-4);
  EXPECT_NEAR(Down.X, 50, 1e-4);
  EXPECT_NEAR(Down.Y, 50, 1e-4);

  // In 2D the ellipse at a depth is one pixel larger to the right and below.
  Rec.ClearRecords();
  Canvas.EllipseWithZ(10, 10, 20, 30, 5);
  ASSERT_EQ(Rec.RecordsOf(TRecordKind::FillEllipse).size(), 1u);
  EXPECT_EQ(Rec.RecordsOf(TRecordKind::FillEllipse)[0].Rect, TRectF(10, 10, 21, 31));
}

TEST_F(Canvas3DTest, AssignFont3DFollowsTheViewZoom) {
  struct Case {
    TCanvasZoomText ZoomText;
    double Zoom;
    float Expected;
  };
  // The font follows the whole-number zoom: 150.4 scales by 1.5, 100.4 not at all.
  const Case Cases[] = {{TCanvasZoomText::ztManual, 200, 20},
                        {TCanvasZoomText::ztNo, 200, 10},
                        {TCanvasZoomText::ztManual, 150.4, 15},
                        {TCanvasZoomText::ztManual, 100.4, 10}};
  for (const Case& C : Cases) {
    Options.SetZoomFloat(C.Zoom);
    Options.SetZoomText(C.ZoomText);
    Open(true, &Options);
    Canvas.SetFontZoom(100);
    TZelFont F;
    F.SetSizeFloat(10);
    Canvas.AssignFont3D(&F);
    EXPECT_FLOAT_EQ(Canvas.GetFont()->GetSizeFloat(), C.Expected) << C.Zoom;
  }
}

TEST_F(Canvas3DTest, ColourShading) {
  struct Case {
    TAlphaColor In;
    Byte Q;
    TAlphaColor Dark, Bright;
  };
  const Case Cases[] = {{MakeColor(128, 64, 32), 64, MakeColor(64, 0, 0), MakeColor(192, 128, 96)},
                        {MakeColor(240, 240, 240, 128), 32, MakeColor(208, 208, 208, 128),
                         MakeColor(255, 255, 255, 128)},
                        {0, 10, 0, MakeColor(10, 10, 10, 0)}};
  for (const Case& C : Cases) {
    EXPECT_EQ(ApplyDark(C.In, C.Q), C.Dark) << std::hex << C.In;
    EXPECT_EQ(ApplyBright(C.In, C.Q), C.Bright) << std::hex << C.In;
  }
}

TEST_F(Canvas3DTest, CubeFacesByVisibility) {
  Open(true, &Options);  // orthogonal 45 degrees: seen from the front, right and top
  Canvas.GetBrush()->SetKind(TBrushKind::Solid);
  Canvas.Cube(50, 100, 40, 80, 0, 20, false, 0);
  std::vector<TCanvasRecord> Faces = Polygons();
  ASSERT_EQ(Faces.size(), 3u);
  EXPECT_EQ(Faces[0].Points[0], Canvas.Calculate3DPosition(50, 40, 0));  // front
  EXPECT_EQ(Faces[1].Points[0], Canvas.Calculate3DPosition(100, 40, 0)); // right
  EXPECT_EQ(Faces[2].Points[2], Canvas.Calculate3DPosition(100, 40, 20)); // top

  Rec.ClearRecords();
  Canvas.GetBrush()->SetKind(TBrushKind::None);
  Canvas.Cube(50, 100, 40, 80, 0, 20, true, 0);
  EXPECT_EQ(Rec.RecordsOf(TRecordKind::DrawPolygon).size(), 6u);
}

TEST_F(Canvas3DTest, DarkSidesShadeWithTheBrushColour) {
  Open(true, &Options);
  TZelBrush B;
  Canvas.AssignBrush(&B, 0xFF808080);
  Canvas.Cube(50, 100, 40, 80, 0, 20, true, 0);
  std::vector<TCanvasRecord> Faces = Polygons();
  ASSERT_EQ(Faces.size(), 3u);
  EXPECT_EQ(Faces[0].BrushKind, TBrushKind::Solid);
  EXPECT_EQ(Faces[1].BrushKind, TBrushKind::Gradient);
  EXPECT_EQ(Canvas.GetBrush()->GetKind(), TBrushKind::Solid);
  EXPECT_FALSE(Canvas.IsGradientVisible());
}

TEST_F(Canvas3DTest, DegenerateSolidsDrawLittleOrNothing) {
  Open(true, &Options);
  Canvas.Arrow(true, TPointF(5, 5), TPointF(5, 5), 10, 10, 0, 10, 50);
  EXPECT_TRUE(Rec.GetRecords().empty());
  // A flat pyramid draws no triangle, at most its base.
  Canvas.Pyramid(true, 10, 50, 30, 50, 0, 10, false);
  for (const TCanvasRecord& R : Polygons()) EXPECT_EQ(R.Points.size(), 4u);
  Rec.ClearRecords();
  Canvas.Cone(true, 10, 10, 30, 50, 0, 10, false, 0);
  ASSERT_FALSE(Polygons().empty());
  Rec.ClearRecords();
  Canvas.Cylinder(true, 10, 10, 30, 50, 0, 10, false);
  std::size_t MaxPoints = 0;
  for (const TCanvasRecord& R : Polygons()) MaxPoints = std::max(MaxPoints, R.Points.size());
  EXPECT_GT(MaxPoints, std::size_t(ZelNumCylinderSides / 2));
}

TEST_F(Canvas3DTest, CirclePointsRunRoundTheBoxAndClose) {
  TCirclePoints P;
  TZelCanvas3D::GetCirclePoints(P, 10, 20, 50, 100);
  EXPECT_EQ(P[0], TPointF(30, 100));  // angle 0: bottom middle
  EXPECT_NEAR(P.back().X, P[0].X, 1e-3);
  EXPECT_NEAR(P.back().Y, P[0].Y, 1e-3);
  for (const TPointF& Q : P) {
    double U = (Q.X - 30) / 20.0, V = (Q.Y - 60) / 40.0;
    EXPECT_NEAR(U * U + V * V, 1, 1e-5);
  }
  // The depth form projects each point.
  Open(true, &Options);
  TCirclePoints Z;
  Canvas.GetCirclePoints(Z, 10, 20, 50, 100, 7);
  for (std::size_t i = 0; i < P.size(); i += 30)
    EXPECT_EQ(Z[i], Canvas.Calculate3DPosition(P[i], 7)) << i;
}

TEST_F(Canvas3DTest, ArrowPointsAtADepthAreTheFlatOnesProjected) {
  Open(true, &Options);
  const TPointF From(10, 50), To(90, 20);
  std::vector<TPointF> Flat = TZelCanvas::GetArrowPoints(50, From, To, 12, 8);
  std::vector<TPointF> Deep = Canvas.GetArrowPoints(50, From, To, 12, 8, 15);
  ASSERT_EQ(Deep.size(), 7u);
  for (std::size_t i = 0; i < Deep.size(); ++i)
    EXPECT_EQ(Deep[i], Canvas.Calculate3DPosition(Flat[i], 15)) << i;
  EXPECT_EQ(Deep[4], Canvas.Calculate3DPosition(To, 15));
  EXPECT_TRUE(Canvas.GetArrowPoints(50, From, From, 12, 8, 15).empty());
  // The drawn arrow is that outline.
  Canvas.GetBrush()->SetKind(TBrushKind::Solid);
  Canvas.Arrow(true, From, To, 12, 8, 10, 20, 50);
  ASSERT_EQ(Polygons().size(), 1u);
  EXPECT_EQ(Polygons()[0].Points, Deep);
}

TEST_F(Canvas3DTest, ConeApexAtTheFarEndOfTheBody) {
  struct Case {
    bool Vertical;
    float ApexX, ApexY;
  };
  // Box (10, 20)-(110, 60), depth 0..20: a vertical cone points to the middle of its top edge,
  // a horizontal one to the middle of its right edge.
  const Case Cases[] = {{true, 60, 20}, {false, 110, 40}};
  Open(true, &Options);  // orthogonal 45 degrees
  for (const Case& C : Cases) {
    Rec.ClearRecords();
    Canvas.GetBrush()->SetKind(TBrushKind::Solid);
    Canvas.Cone(C.Vertical, 10, 20, 110, 60, 0, 20, false, 0);
    std::vector<TCanvasRecord> P = Polygons();
    ASSERT_FALSE(P.empty());
    const TCanvasRecord* Body = &P[0];
    for (const TCanvasRecord& R : P)
      if (R.BrushKind == TBrushKind::Gradient) Body = &R;
    EXPECT_EQ(Body->Points.back(), Canvas.Calculate3DPosition(C.ApexX, C.ApexY, 10.0f))
        << C.Vertical;
  }
}

TEST_F(Canvas3DTest, PieSlices) {
  const double Deg = M_PI / 180;
  struct Case {
    const char* Name;
    double Start, End;
    int Donut;
    std::int8_t Transparency;
    std::vector<std::size_t> Sizes;  // points of each polygon, in drawing order
  };
  const Case Cases[] = {
      // A full disc: the rim as two half bands, then the top; no bottom when opaque.
      {"full", 0, 0, 0, 0, {362, 362, 361}},
      // Translucent: the bottom first; a front-facing sliver still gets walls and a rim band.
      {"sliver", 270 * Deg, 271 * Deg, 0, 30, {4, 4, 4, 4, 4}},
      {"opaque sliver", 270 * Deg, 271 * Deg, 0, 0, {4, 4, 4, 4}},
      // A back-facing donut slice shows the hole's inner wall first.
      {"donut", 0, 90 * Deg, 50, 0, {182, 4, 4, 182}},
      {"not a number", std::nan(""), 1, 0, 0, {}},
      {"huge", 0, 1e9, 0, 0, {}},
  };
  for (const Case& C : Cases) {
    Open(false);
    TZelBrush B;
    Canvas.AssignBrush(&B, 0xFFFF0000);
    Canvas.Pie3D(100, 80, 100, 60, 0, 10, C.Start, C.End, false, true, C.Donut, nullptr, 0,
                 TEdgeStyle::edNone, C.Transparency, 0, false, false);
    std::vector<std::size_t> Sizes;
    for (const TCanvasRecord& R : Polygons()) Sizes.push_back(R.Points.size());
    EXPECT_EQ(Sizes, C.Sizes) << C.Name;
    EXPECT_EQ(Canvas.GetTransparency(), 0) << C.Name;
    EXPECT_EQ(Canvas.TranspStackDepth(), 0) << C.Name;
  }
  // The hole of a 50 % donut on radii (100, 60) has radii (50, 30).
  Open(false);
  Canvas.Pie3D(100, 80, 100, 60, 0, 10, 0, 90 * Deg, false, true, 50, nullptr, 0,
               TEdgeStyle::edNone, 0, 0, false, false);
  const std::vector<TPointF> Top = Polygons().back().Points;
  ASSERT_EQ(Top.size(), 182u);
  EXPECT_NEAR(Top[0].X, 200, 1e-3);
  EXPECT_NEAR(Top[90].Y, 20, 1e-3);
  EXPECT_NEAR(Top[91].X, 100, 1e-3);
  EXPECT_NEAR(Top[91].Y, 50, 1e-3);
  EXPECT_NEAR(Top[181].X, 150, 1e-3);
}

TEST_F(Canvas3DTest, BitmapOnAPlaneFillsOneCellPerPixel) {
  Open(false);
  TBitmap Empty;
  Canvas.StretchDraw(TRectF(0, 0, 10, 10), &Empty, 0, TCanvas3DPlane::cpZ);
  Canvas.StretchDraw(TRectF(0, 0, 10, 10), nullptr, 0, TCanvas3DPlane::cpZ);
  EXPECT_TRUE(Rec.GetRecords().empty());

  TBitmap B(2, 1);
  B.SetPixel(0, 0, 0xFFFF0000);
  B.SetPixel(1, 0, 0xFF0000FF);
  Canvas.StretchDraw(TRectF(10, 20, 30, 30), &B, 0, TCanvas3DPlane::cpZ);
  std::vector<TCanvasRecord> Cells = Polygons();
  ASSERT_EQ(Cells.size(), 2u);
  EXPECT_EQ(Cells[0].Color, 0xFFFF0000u);
  EXPECT_EQ(Cells[0].Points, (std::vector<TPointF>{{10, 20}, {20, 20}, {20, 30}, {10, 30}}));
  EXPECT_EQ(Cells[1].Color, 0xFF0000FFu);
  EXPECT_EQ(Cells[1].Points[1], TPointF(30, 20));
  EXPECT_EQ(Canvas.GetPen()->GetStyle(), TPenStyle::psClear);
}

TEST_F(Canvas3DTest, TriangleSurfaceAsksForEachTriangle) {
  Open(false);
  TZelBrush B;
  Canvas.AssignBrush(&B, 0xFFFFFFFF);
  std::vector<int> Asked;
  TZelCachedObject* Cache = nullptr;
  Canvas.TriSurface(3, false, false, nullptr, 0,
                    [&](int I, std::array<TPoint3D, 3>& P, std::array<TAlphaColor, 3>& C,
                        std::array<int, 3>&) {
                      Asked.push_back(I);
                      P = {TPoint3D{0, 0, 0}, TPoint3D{10 * I, 0, 0}, TPoint3D{0, 10, 0}};
                      C = {0xFF000000u + TAlphaColor(I), 0, 0};
                    },
                    Cache);
  EXPECT_EQ(Asked, (std::vector<int>{1, 2, 3}));
  std::vector<TCanvasRecord> T = Polygons();
  ASSERT_EQ(T.size(), 3u);
  EXPECT_EQ(T[2].Color, 0xFF000003u);
  EXPECT_EQ(T[2].Points[1], TPointF(30, 0));
}

class TTestBlock : public TVisualBlock {
 public:
  using TVisualBlock::TVisualBlock;
  void Repaint() override { ++Repaints; }
  void Editor() override {}
  int Repaints = 0;
};

TEST(VisualBlockTest, SetBoundsPlacesWithoutNotifying) {
  TOwned<TTestBlock> B(new TTestBlock(nullptr));
  B->SetBounds(TRectF(10, 20, 30, 60), 0, 40, 300);
  const TPoint3DFloat& L = B->GetLocation()->GetPoint();
  const TPoint3DFloat& S = B->GetSize()->GetPoint();
  EXPECT_EQ(L.X, 20);
  EXPECT_EQ(L.Y, 20);
  EXPECT_EQ(L.Z, 260);
  EXPECT_EQ(S.X, 20);
  EXPECT_EQ(S.Y, 40);
  EXPECT_EQ(S.Z, 40);
  EXPECT_EQ(B->Repaints, 0);
  B->GetSize()->SetZ(5);
  EXPECT_EQ(B->Repaints, 1);
}

TEST(VisualBlockTest, ZeroDepthSurvivesStreaming) {
  struct Case {
    double Default;
    float Z;
    bool Written;
  };
  const Case Cases[] = {{100, 0, true}, {100, 5, false}, {0, 0, false}};
  for (const Case& C : Cases) {
    TPointXYZFloat P(nullptr, C.Default, nullptr);
    P.SetZ(C.Z);
    TMemoryStream S;
    {
      TWriter W(&S);
      W.WriteProperties(&P);
      W.WriteListEnd();
    }
    S.SetPosition(0);
    TPointXYZFloat Back(nullptr, C.Default, nullptr);
    TReader R(&S);
    R.ReadProperties(&Back);
    EXPECT_EQ(P.IsZZeroStored(), C.Written) << C.Default << " " << C.Z;
    if (C.Written) {
      EXPECT_EQ(Back.GetZ(), 0);
    }
  }
}

}  // namespace
}  // namespace zel
