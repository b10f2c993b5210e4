// The abstract canvas: attribute assignment, the transparency stack, text placement, arrows,
// polygon helpers and gradient mapping, observed on a recording platform canvas.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/CanvasUnit.h"

namespace zel {
namespace {

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Canvas.SetUseBuffer(false);
    Canvas.InitWindow(&Rec, nullptr, 0, false, TRectF(0, 0, 200, 100));
    Rec.ClearRecords();
  }
  TRecordingCanvas Rec{200, 100};
  TZelCanvas3D Canvas;
};

TEST_F(CanvasTest, AssignedPenWidthReachesTheStroke) {
  struct Case {
    float Width;
    int Half;
    float Thickness;
  };
  const Case Cases[] = {{1, 0, 1}, {3, 2, 3}, {5, 2, 5}, {0, 0, 0.1f}};
  for (const Case& C : Cases) {
    TZelPen Pen;
    Pen.SetWidth(C.Width);
    Canvas.AssignVisiblePen(&Pen);
    EXPECT_EQ(Canvas.GetPen()->HalfWidth(), C.Half) << C.Width;
    EXPECT_FLOAT_EQ(Rec.GetStroke()->GetThickness(), C.Thickness) << C.Width;
  }
}

TEST_F(CanvasTest, PenHiddenByStyleDrawsNothingAndInsideFrameDrawsSolid) {
  struct Case {
    TPenStyle Style;
    TBrushKind Stroke;
    TStrokeDash Dash;
  };
  const Case Cases[] = {{TPenStyle::psClear, TBrushKind::None, TStrokeDash::Solid},
                        {TPenStyle::psInsideFrame, TBrushKind::Solid, TStrokeDash::Solid},
                        {TPenStyle::psDot, TBrushKind::Solid, TStrokeDash::Dot}};
  for (const Case& C : Cases) {
    TZelPen Reset;
    Canvas.AssignVisiblePen(&Reset);
    TZelPen Pen;
    Pen.SetStyle(C.Style);
    Pen.SetColor(0xFF0000FF);
    Canvas.AssignVisiblePen(&Pen);
    Rec.ClearRecords();
    Canvas.Line(0, 0, 10, 10);
    ASSERT_EQ(Rec.GetRecords().size(), 1u);
    EXPECT_EQ(Rec.GetRecords()[0].BrushKind, C.Stroke) << int(C.Style);
    if (C.Stroke != TBrushKind::None) {
      EXPECT_EQ(Rec.GetRecords()[0].Dash, C.Dash) << int(C.Style);
      EXPECT_EQ(Rec.GetRecords()[0].Color, 0xFF0000FFu);
    }
  }
}

TEST_F(CanvasTest, HiddenPenOnlyClearsTheStyle) {
  TZelPen Wide;
  Wide.SetWidth(4);
  Wide.SetColor(0xFF00FF00);
  Canvas.AssignVisiblePen(&Wide);
  TZelPen Hidden;
  Hidden.SetWidth(9);
  Hidden.SetColor(0xFFFF0000);
  Hidden.Hide();
  Canvas.AssignVisiblePen(&Hidden);
  EXPECT_EQ(Canvas.GetPen()->GetStyle(), TPenStyle::psClear);
  EXPECT_EQ(Canvas.GetPen()->GetWidth(), 4);
  EXPECT_EQ(Canvas.GetPen()->GetColor(), 0xFF00FF00u);
  Canvas.Rectangle(0, 0, 10, 10);
  EXPECT_TRUE(Rec.RecordsOf(TRecordKind::DrawRect).empty());
}

TEST_F(CanvasTest, BrushAssignment) {
  TZelBrush B;
  B.SetColor(0xFFFF0000);
  B.SetBackColor(0);
  Canvas.AssignBrush(&B);
  // The fill colour is the brush's BackColor, the back colour its Color.
  EXPECT_EQ(Rec.GetFill()->GetColor(), 0u);
  EXPECT_EQ(Canvas.GetBrush()->GetBackColor(), 0xFFFF0000u);

  Canvas.SetMonochrome(true);
  Canvas.AssignBrush(&B, 0xFF00FF00);
  EXPECT_EQ(Rec.GetFill()->GetColor(), 0xFFFFFFFFu);
  B.SetKind(TBrushKind::None);
  Canvas.AssignBrush(&B, 0xFF00FF00);
  EXPECT_EQ(Canvas.GetBrush()->GetKind(), TBrushKind::None);
  Canvas.AssignBrush(nullptr);  // ignored
}

TEST_F(CanvasTest, BlendingCombinesAndRestoresTransparency) {
  struct Case {
    int Start;
    std::vector<int> Blends;
    std::vector<int> Expected;  // after each blend
  };
  const Case Cases[] = {
      {20, {50}, {60}},
      {0, {50, 50}, {50, 75}},
      {0, {0}, {0}},
      {30, {100}, {100}},
      {0, {-1}, {100}},  // a byte beyond 100 counts as fully transparent
  };
  for (const Case& C : Cases) {
    Canvas.SetTransparency(C.Start);
    for (std::size_t i = 0; i < C.Blends.size(); ++i) {
      EXPECT_EQ(Canvas.BeginBlending(TRectF(), std::int8_t(C.Blends[i])), nullptr);
      EXPECT_EQ(Canvas.GetTransparency(), C.Expected[i]) << C.Start << " step " << i;
    }
    for (std::size_t i = 0; i < C.Blends.size(); ++i) Canvas.EndBlending(nullptr);
    EXPECT_EQ(Canvas.GetTransparency(), C.Start);
    EXPECT_EQ(Canvas.TranspStackDepth(), 0);
  }
}

TEST_F(CanvasTest, TransparencyIsClampedAndSetsTheOpacity) {
  const std::pair<int, int> Cases[] = {{-5, 0}, {40, 40}, {150, 100}};
  for (auto [In, Out] : Cases) {
    Canvas.SetTransparency(In);
    EXPECT_EQ(Canvas.GetTransparency(), Out);
  }
  Canvas.SetTransparency(25);
  Canvas.FillRect(TRectF(0, 0, 5, 5));
  EXPECT_FLOAT_EQ(Rec.GetRecords().back().Opacity, 0.75f);
}

TEST_F(CanvasTest, EndBlendingWithoutBeginFails) {
  Canvas.SetTransparency(10);
  try {
    Canvas.EndBlending(nullptr);
    FAIL() << "no error";
  } catch (const EAssertionFailed& E) {
    EXPECT_NE(String(E.what()).find("Canvas Transparency Stack might be corrupt"), String::npos);
  }
  EXPECT_EQ(Canvas.GetTransparency(), 10);
}

TEST_F(CanvasTest, Frame3DDrawsNestedFramesAndShrinksTheRectangle) {
  TRectF R(0, 0, 10, 10);
  Canvas.Frame3D(R, 0xFFFFFFFF, 0xFF808080, 2);
  EXPECT_EQ(R, TRectF(2, 2, 8, 8));
  std::vector<TCanvasRecord> Lines = Rec.RecordsOf(TRecordKind::Polyline);
  ASSERT_EQ(Lines.size(), 4u);
  EXPECT_EQ(Lines[0].Points, (std::vector<TPointF>{{0, 9}, {0, 0}, {9, 0}}));
  EXPECT_EQ(Lines[0].Color, 0xFFFFFFFFu);
  EXPECT_EQ(Lines[1].Points, (std::vector<TPointF>{{9, 0}, {9, 9}, {-1, 9}}));
  EXPECT_EQ(Lines[1].Color, 0xFF808080u);
  EXPECT_EQ(Lines[2].Points, (std::vector<TPointF>{{1, 8}, {1, 1}, {8, 1}}));
  for (const TCanvasRecord& L : Lines) EXPECT_FLOAT_EQ(L.Thickness, 1);

  // A width far beyond the rectangle draws a bounded number of frames.
  Rec.ClearRecords();
  R = TRectF(0, 0, 10, 10);
  Canvas.Frame3D(R, 0xFFFFFFFF, 0xFF808080, 1000000000);
  EXPECT_EQ(R, TRectF(1e9f, 1e9f, 10 - 1e9f, 10 - 1e9f));
  EXPECT_LT(Rec.GetRecords().size(), 40u);
}

TEST_F(CanvasTest, TextIsPlacedByItsAlignment) {
  // Fixed metrics: 7 pixels a character, 12 a line.
  struct Case {
    int Align;
    float X, Y;
  };
  const Case Cases[] = {{ZelTextAlignLeft, 100, 50},
                        {ZelTextAlignRight, 58, 50},
                        {ZelTextAlignCenter, 79, 50},
                        {ZelTextAlignBottom + ZelTextAlignRight, 58, 38},
                        {ZelTextAlignBottom, 100, 38}};
  for (const Case& C : Cases) {
    Canvas.SetTextAlign(C.Align);
    Rec.ClearRecords();
    Canvas.TextOut(100, 50, "ABCDEF");
    std::vector<TCanvasRecord> T = Rec.RecordsOf(TRecordKind::FillText);
    ASSERT_EQ(T.size(), 1u);
    EXPECT_EQ(T[0].Text, "ABCDEF");
    EXPECT_EQ(T[0].Rect.Left, C.X) << C.Align;
    EXPECT_EQ(T[0].Rect.Top, C.Y) << C.Align;
  }
}

TEST_F(CanvasTest, HtmlTextGoesThroughTheRenderer) {
  Canvas.TextOut(10.4f, 20.6f, "<b>Bold</b>", true);
  EXPECT_EQ(Rec.Texts(), std::vector<String>{"Bold"});
  EXPECT_EQ(Rec.RecordsOf(TRecordKind::FillText)[0].Rect.TopLeft(), TPointF(10, 21));
  EXPECT_TRUE(Rec.RecordsOf(TRecordKind::FillText)[0].FontStyle.Contains(TFontStyle::fsBold));
  Rec.ClearRecords();
  Canvas.TextOut(10, 20, "<b>Bold</b>", false);
  EXPECT_EQ(Rec.Texts(), std::vector<String>{"<b>Bold</b>"});
}

// A mark's text is measured for its box, "W" for the line height, then the text again to centre
// it: each is laid out once, and a new font still measures anew.
TEST_F(CanvasTest, TextsMeasuredAgainAreNotLaidOutAgain) {
  const std::int64_t Start = Rec.GetMeasureCount();
  const int Width = Canvas.TextWidth("12.5");
  const int Height = Canvas.TextHeight("W");
  Canvas.SetTextAlign(ZelTextAlignCenter);
  Canvas.TextOut(100, 10, "12.5");
  EXPECT_EQ(Canvas.TextWidth("12.5"), Width);
  EXPECT_EQ(Canvas.TextHeight("W"), Height);
  EXPECT_EQ(Rec.GetMeasureCount() - Start, 2);
  ASSERT_EQ(Rec.RecordsOf(TRecordKind::FillText).size(), 1u);
  EXPECT_EQ(Rec.RecordsOf(TRecordKind::FillText)[0].Rect.Left, std::round(100.0f - float(Width / 2)));
  TZelFont F;
  F.SetSize(F.GetSize() * 2);
  Canvas.AssignFont(&F);
  const std::int64_t Before = Rec.GetMeasureCount();
  (void)Canvas.TextWidth("12.5");
  EXPECT_EQ(Rec.GetMeasureCount() - Before, 1);
}

TEST_F(CanvasTest, FontShadowWidensTheTextAndDrawsAnOffsetCopy) {
  EXPECT_EQ(Canvas.TextWidth("ABC"), 21);
  EXPECT_EQ(Canvas.TextHeight("ABC"), 12);
  TZelFont F;
  F.SetColor(0xFF000000);
  F.GetShadow()->SetHorizSize(-3);
  F.GetShadow()->SetVertSize(2);
  F.GetShadow()->SetTransparency(0);
  F.GetShadow()->SetColor(0xFF808080);
  Canvas.AssignFont(&F);
  EXPECT_EQ(Canvas.TextWidth("ABC"), 24);
  EXPECT_EQ(Canvas.TextHeight("ABC"), 14);
  EXPECT_EQ(Canvas.TextSize("ABC"), TPointF(24, 14));
  Canvas.TextOut(10, 10, "ABC");
  std::vector<TCanvasRecord> T = Rec.RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(T.size(), 2u);
  // A negative horizontal size moves the text right and leaves the copy at the point.
  EXPECT_EQ(T[0].Rect.TopLeft(), TPointF(10, 12));
  EXPECT_EQ(T[0].Color, 0xFF808080u);
  EXPECT_EQ(T[1].Rect.TopLeft(), TPointF(13, 10));
  EXPECT_EQ(T[1].Color, 0xFF000000u);
}

TEST_F(CanvasTest, FontZoomScalesAssignedFonts) {
  struct Case {
    double Zoom;
    bool ZoomText;
    float Size, Expected;
  };
  const Case Cases[] = {{200, true, 10, 20}, {200, false, 10, 10}, {5, true, 10, 1}};
  for (const Case& C : Cases) {
    Canvas.SetFontZoom(C.Zoom);
    Canvas.IZoomText = C.ZoomText;
    TZelFont F;
    F.SetSizeFloat(C.Size);
    Canvas.AssignFont(&F);
    EXPECT_FLOAT_EQ(Canvas.GetFont()->GetSizeFloat(), C.Expected) << C.Zoom;
    EXPECT_FLOAT_EQ(Rec.GetFont()->GetSize(), C.Expected) << C.Zoom;
  }
}

TEST_F(CanvasTest, MonochromeTextIsBlackAndLeavesTheFillAlone) {
  TZelBrush B;
  Canvas.AssignBrush(&B, 0xFF00FF00);
  Canvas.SetMonochrome(true);
  TZelFont F;
  F.SetColor(0xFFFF0000);
  Canvas.AssignFont(&F);
  EXPECT_EQ(Canvas.GetFont()->GetColor(), 0xFF000000u);
  EXPECT_EQ(F.GetColor(), 0xFFFF0000u);
  EXPECT_EQ(Canvas.GetBrush()->GetColor(), 0xFF00FF00u);
  Canvas.TextOut(0, 0, "A");
  EXPECT_EQ(Rec.RecordsOf(TRecordKind::FillText).at(0).Color, 0xFF000000u);
}

TEST_F(CanvasTest, ArcPassesTheSmallerAngleFirst) {
  TZelPen Pen;
  Canvas.AssignVisiblePen(&Pen);
  Canvas.Arc(0, 0, 100, 100, 270.0, 90.0);
  std::vector<TCanvasRecord> A = Rec.RecordsOf(TRecordKind::DrawArc);
  ASSERT_EQ(A.size(), 1u);
  // From 90 degrees (top) counter-clockwise to 270 (bottom), in screen angles.
  EXPECT_NEAR(A[0].StartAngle, -90, 1e-3);
  EXPECT_NEAR(A[0].SweepAngle, -180, 1e-3);
  EXPECT_EQ(A[0].Points[0], TPointF(50, 50));
}

TEST_F(CanvasTest, ArrowPoints) {
  EXPECT_TRUE(TZelCanvas::GetArrowPoints(50, {5, 5}, {5, 5}, 10, 20).empty());
  Canvas.Arrow(true, 50, {5, 5}, {5, 5}, 10, 20);
  EXPECT_TRUE(Rec.GetRecords().empty());

  std::vector<TPointF> P = TZelCanvas::GetArrowPoints(50, {0, 0}, {100, 0}, 10, 20);
  EXPECT_EQ(P, (std::vector<TPointF>{{0, 2}, {0, -2}, {80, -2}, {80, -5}, {100, 0}, {80, 5}, {80, 2}}));
  // The head is never longer than the arrow.
  P = TZelCanvas::GetArrowPoints(50, {0, 0}, {0, 10}, 10, 20);
  ASSERT_EQ(P.size(), 7u);
  EXPECT_EQ(P[3].Y, 0);
  EXPECT_EQ(P[4], TPointF(0, 10));
}

TEST_F(CanvasTest, ConvexityAndHull) {
  const std::vector<TPointF> Square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  struct Case {
    std::vector<TPointF> P;
    bool Convex;
  };
  const Case Cases[] = {{Square, true},
                        {TZelCanvas::GetArrowPoints(50, {0, 0}, {100, 0}, 10, 20), false},
                        {{{0, 0}, {5, 5}, {10, 10}}, false},
                        {{{0, 0}, {5, 5}}, false}};
  for (const Case& C : Cases) EXPECT_EQ(TZelCanvas::IsConvexPolygon(C.P), C.Convex);

  std::vector<TPointF> P{{5, 5}, {0, 0}, {10, 10}, {3, 7}, {10, 0}, {0, 10}};
  ASSERT_TRUE(TZelCanvas::ConvexHull(P));
  ASSERT_EQ(P.size(), 4u);
  for (const TPointF& Corner : Square)
    EXPECT_NE(std::find(P.begin(), P.end(), Corner), P.end()) << Corner.X << "," << Corner.Y;
  EXPECT_TRUE(TZelCanvas::IsConvexPolygon(P));
  std::vector<TPointF> Two{{0, 0}, {1, 1}};
  EXPECT_FALSE(TZelCanvas::ConvexHull(Two));
}

TEST_F(CanvasTest, GradientMapping) {
  TZelGradient G;
  G.GetColors()->Stop(0)->SetColor(0xFFFF0000);
  G.GetColors()->Stop(1)->SetColor(0xFF0000FF);
  G.SetDirection(TGradientDirection::gdBottomTop);
  TGradient P;
  TZelCanvas::PrepareGradient(&G, P);
  ASSERT_EQ(P.GetPoints().GetCount(), 2);
  EXPECT_EQ(P.GetPoints()[0].GetColor(), 0xFF0000FFu);
  EXPECT_FLOAT_EQ(P.GetPoints()[0].GetOffset(), 0);
  EXPECT_EQ(P.GetPoints()[1].GetColor(), 0xFFFF0000u);
  EXPECT_EQ(P.GetStartPosition(), TPointF(0.5f, 0));
  EXPECT_EQ(P.GetStopPosition(), TPointF(0.5f, 1));
  EXPECT_EQ(P.GetStyle(), TGradientStyle::Linear);

  G.SetDirection(TGradientDirection::gdRadial);
  G.SetRadialX(20);
  G.SetRadialY(-10);
  TZelCanvas::PrepareGradient(&G, P);
  EXPECT_EQ(P.GetStyle(), TGradientStyle::Radial);
  EXPECT_NEAR(P.GetRadialTransform().RotationCenter.X, 0.7, 1e-6);
  EXPECT_NEAR(P.GetRadialTransform().RotationCenter.Y, 0.4, 1e-6);
  EXPECT_EQ(P.GetPoints()[0].GetColor(), 0xFFFF0000u);
}

TEST_F(CanvasTest, FillsSetTheBrushBackToSolidButKeepTheGradient) {
  TZelBrush B;
  B.GetGradient()->SetVisible(true);
  ASSERT_EQ(B.GetKind(), TBrushKind::Gradient);
  Canvas.AssignBrush(&B, 0xFFFF0000);
  Canvas.Rectangle(0, 0, 10, 10);
  EXPECT_EQ(Rec.RecordsOf(TRecordKind::FillRect).at(0).BrushKind, TBrushKind::Gradient);
  EXPECT_EQ(Canvas.GetBrush()->GetKind(), TBrushKind::Solid);
  EXPECT_TRUE(Canvas.IsGradientVisible());

  TZelPen Clear;
  Clear.SetStyle(TPenStyle::psClear);
  Canvas.AssignVisiblePen(&Clear);
  Canvas.GetBrush()->SetKind(TBrushKind::None);
  Rec.ClearRecords();
  Canvas.Rectangle(0, 0, 10, 10);
  EXPECT_TRUE(Rec.GetRecords().empty());
}

TEST_F(CanvasTest, ScopesCloseTheirBracketsAlsoWhenAnErrorLeaves) {
  Canvas.SetTransparency(20);
  for (const bool Fail : {false, true}) {
    SCOPED_TRACE(Fail);
    bool Restored = false;
    try {
      TRestoreOnExit Restore([&] { Restored = true; });
      TBlendingScope Blend(&Canvas, ZelZeroRectF, 50);
      TBlendingScope Off(&Canvas, ZelZeroRectF, 50, false);  // opens nothing
      TFrontPlaneScope FrontPlane(&Canvas);
      EXPECT_EQ(Canvas.GetTransparency(), 60);
      EXPECT_EQ(Canvas.GetFrontPlaneCount(), 1);
      if (Fail) throw EAbort("stop");
    } catch (const EAbort&) {
    }
    EXPECT_TRUE(Restored);
    EXPECT_EQ(Canvas.TranspStackDepth(), 0);
    EXPECT_EQ(Canvas.GetTransparency(), 20);
    EXPECT_EQ(Canvas.GetFrontPlaneCount(), 0);
  }
  // A failing close is reported when nothing else failed, and gives way to an error in flight.
  EXPECT_THROW({ TRestoreOnExit R([] { throw EAbort("close"); }); }, EAbort);
  try {
    TRestoreOnExit R([] { throw EAbort("close"); });
    throw EConvertError("first");
  } catch (const EConvertError&) {
  }
}

TEST_F(CanvasTest, ClipsNest) {
  Canvas.ClipRectangle(TRectF(0, 0, 100, 80));
  Canvas.ClipRectangle(TRectF(10, 10, 20, 20));
  EXPECT_EQ(Rec.GetClipRect(), TRectF(10, 10, 20, 20));
  Canvas.UnClipRectangle();
  EXPECT_TRUE(Rec.GetClipped());
  EXPECT_EQ(Rec.GetClipRect(), TRectF(0, 0, 100, 80));
  Canvas.UnClipRectangle();
  EXPECT_FALSE(Rec.GetClipped());
  Canvas.UnClipRectangle();  // one too many: nothing to restore
  EXPECT_FALSE(Rec.GetClipped());
  // The other clip shapes clip to their bounds.
  TPointF Tri[3] = {{5, 5}, {15, 2}, {9, 30}};
  Canvas.ClipPolygon(Tri, 2, 3, false);
  EXPECT_EQ(Rec.GetClipRect(), TRectF(5, 2, 16, 31));
  Canvas.UnClipRectangle();
  // The canvas-level pair shares the stack with the rectangle clips.
  Canvas.ClipRectangle(TRectF(0, 0, 100, 80));
  Canvas.ClipCanvas(&Rec, TRectF(10, 10, 20, 20));
  EXPECT_EQ(Rec.GetClipRect(), TRectF(10, 10, 20, 20));
  Canvas.UnClipCanvas(&Rec);
  EXPECT_EQ(Rec.GetClipRect(), TRectF(0, 0, 100, 80));
  Canvas.UnClipRectangle();
  EXPECT_FALSE(Rec.GetClipped());
  Canvas.UnClipCanvas(&Rec);  // nothing held
  EXPECT_FALSE(Rec.GetClipped());
}

TEST_F(CanvasTest, PolylineIsOneCallForTheWholeLine) {
  std::vector<TPointF> P;
  for (int i = 0; i < 1000; ++i) P.push_back(TPointF(float(i % 50), float(i % 7)));
  Canvas.Polyline(P.data(), int(P.size()) - 1);
  ASSERT_EQ(Rec.GetRecords().size(), 1u);
  EXPECT_EQ(Rec.GetRecords()[0].Kind, TRecordKind::Polyline);
  EXPECT_TRUE(Rec.GetRecords()[0].Reduced);
  Canvas.Polyline(P.data(), -1);
  EXPECT_EQ(Rec.GetRecords().size(), 1u);
}

TEST_F(CanvasTest, PieAnglesFromPoints) {
  struct Case {
    int X3, Y3, X4, Y4;
    float Start, End;
  };
  const Case Cases[] = {{100, 50, 50, 0, 0, 90},   // 3 o'clock to 12 o'clock
                        {50, 100, 100, 50, 270, 360},
                        {0, 50, 50, 100, 180, 270}};
  for (const Case& C : Cases) {
    float S, E;
    TZelCanvas3D::CalcPieAngles(0, 0, 100, 100, C.X3, C.Y3, C.X4, C.Y4, S, E);
    EXPECT_NEAR(S, C.Start, 1e-3);
    EXPECT_NEAR(E, C.End, 1e-3);
  }
}

TEST_F(CanvasTest, ResetStateRestoresDefaults) {
  TZelPen Pen;
  Pen.SetWidth(5);
  Pen.SetStyle(TPenStyle::psDash);
  Canvas.AssignVisiblePenColor(&Pen, 0xFFFF0000);
  Canvas.SetTextAlign(ZelTextAlignCenter);
  Canvas.ResetState();
  EXPECT_EQ(Canvas.GetPen()->GetColor(), 0xFF000000u);
  EXPECT_EQ(Canvas.GetPen()->GetWidth(), 1);
  EXPECT_EQ(Canvas.GetPen()->GetStyle(), TPenStyle::psSolid);
  EXPECT_EQ(Canvas.GetBrush()->GetColor(), 0xFFFFFFFFu);
  EXPECT_EQ(Canvas.GetTextAlign(), 0);
  EXPECT_EQ(Rec.GetStroke()->GetDash(), TStrokeDash::Solid);
}

}  // namespace
}  // namespace zel
