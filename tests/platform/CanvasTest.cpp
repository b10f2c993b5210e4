// Rendering on a bitmap's canvas: the pixels that matter, and the conventions of the platform
// canvas where the drawing engine underneath has others (arc direction, text placement, zero
// pen width, straight alpha).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

using namespace zel;

namespace {

constexpr TAlphaColor White = TAlphaColors::White;

class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() : B(40, 30) {
    B.Clear(White);
    C = B.GetCanvas();
    C->GetFill()->SetColor(TAlphaColors::Red);
    C->GetStroke()->SetColor(TAlphaColors::Black);
    C->GetStroke()->SetThickness(1);
  }
  bool Inked(int X, int Y) const { return B.GetPixel(X, Y) != White; }
  int InkCount() const {
    int N = 0;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
      for (int X = 0; X < B.GetWidth(); ++X) N += Inked(X, Y);
    return N;
  }
  // The inked rows (first, last); (-1, -1) without ink.
  std::pair<int, int> InkedRows() const {
    int First = -1, Last = -1;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
      for (int X = 0; X < B.GetWidth(); ++X)
        if (Inked(X, Y)) {
          if (First < 0) First = Y;
          Last = Y;
        }
    return {First, Last};
  }
  TBitmap B;
  TCanvas* C;
};

TEST_F(CanvasTest, FillRectCoversItsPixelsExactly) {
  C->FillRect({5, 6, 15, 10}, 0, 0, AllCorners, 1);
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(5, 6));
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(14, 9));
  EXPECT_EQ(White, B.GetPixel(15, 9));
  EXPECT_EQ(White, B.GetPixel(14, 10));
  EXPECT_EQ(White, B.GetPixel(4, 6));
  EXPECT_EQ(40, InkCount());
}

TEST_F(CanvasTest, OpacityBlendsOverTheBackground) {
  struct Case {
    float Opacity;
    int Green;  // red over white: green and blue fall with the opacity
  } Cases[] = {{1, 0}, {0.5f, 127}, {0.25f, 191}, {0, 255}};
  for (const Case& K : Cases) {
    B.Clear(White);
    C->FillRect({0, 0, 10, 10}, 0, 0, AllCorners, K.Opacity);
    TAlphaColorRec P(B.GetPixel(3, 3));
    EXPECT_EQ(0xFF, P.A) << K.Opacity;
    EXPECT_EQ(0xFF, P.R) << K.Opacity;
    EXPECT_NEAR(K.Green, P.G, 1) << K.Opacity;
  }
}

TEST_F(CanvasTest, TranslucentColourOnTransparentStaysStraight) {
  B.Clear(0);
  C->GetFill()->SetColor(0x80FF0000);
  C->FillRect({0, 0, 4, 4}, 0, 0, AllCorners, 1);
  TAlphaColorRec P(B.GetPixel(1, 1));
  EXPECT_EQ(0x80, P.A);
  EXPECT_EQ(0xFF, P.R);  // not premultiplied down to 0x80
}

TEST_F(CanvasTest, NothingIsDrawnWithoutPenOrBrush) {
  const std::pair<const char*, std::function<void()>> Cases[] = {
      {"zero thickness line",
       [&] {
         C->GetStroke()->SetThickness(0);
         C->DrawLine({0, 5}, {30, 5}, 1);
       }},
      {"zero thickness rectangle",
       [&] {
         C->GetStroke()->SetThickness(0);
         C->DrawRect({2, 2, 20, 20}, 0, 0, AllCorners, 1);
       }},
      {"negative thickness polyline",
       [&] {
         C->GetStroke()->SetThickness(-1);
         TPolygon P{{0, 0}, {30, 20}};
         C->DrawPolyline(P, 1);
       }},
      {"stroke kind none",
       [&] {
         C->GetStroke()->SetKind(TBrushKind::None);
         C->DrawEllipse({2, 2, 20, 20}, 1);
       }},
      {"fill kind none",
       [&] {
         C->GetFill()->SetKind(TBrushKind::None);
         C->FillRect({2, 2, 20, 20}, 0, 0, AllCorners, 1);
       }},
      {"zero opacity", [&] { C->FillEllipse({2, 2, 20, 20}, 0); }},
  };
  for (const auto& [Name, Draw] : Cases) {
    B.Clear(White);
    C->GetStroke()->SetThickness(1);
    C->GetStroke()->SetKind(TBrushKind::Solid);
    C->GetFill()->SetKind(TBrushKind::Solid);
    Draw();
    EXPECT_EQ(0, InkCount()) << Name;
  }
}

TEST_F(CanvasTest, ThinLinesCoverWholePixelsUpToTheirEnd) {
  C->DrawLine({2, 2}, {10, 2}, 1);
  for (int X = 2; X < 10; ++X) EXPECT_EQ(TAlphaColors::Black, B.GetPixel(X, 2)) << X;
  EXPECT_FALSE(Inked(10, 2));  // the end point itself is left for the next segment
  EXPECT_FALSE(Inked(5, 1));
  EXPECT_FALSE(Inked(5, 3));
}

TEST_F(CanvasTest, PolylineJoinsItsSegments) {
  TPolygon P{{4, 5}, {8, 5}, {8, 9}, {12, 9}};
  C->DrawPolyline(P, 1);
  for (auto [X, Y] : {std::pair{4, 5}, {8, 5}, {8, 7}, {8, 9}, {11, 9}})
    EXPECT_EQ(TAlphaColors::Black, B.GetPixel(X, Y)) << X << "," << Y;
  EXPECT_EQ(4 + 4 + 4, InkCount());
}

TEST_F(CanvasTest, DashedLineHasGaps) {
  C->GetStroke()->SetDash(TStrokeDash::Dash);
  C->DrawLine({0, 5}, {40, 5}, 1);
  int On = 0;
  for (int X = 0; X < 40; ++X) On += Inked(X, 5);
  EXPECT_GT(On, 10);
  EXPECT_LT(On, 40);
}

TEST_F(CanvasTest, ArcRunsClockwiseFromThreeOClock) {
  // A quarter from 3 to 6 o'clock lies below and right of the centre only.
  C->DrawArc({20, 15}, {10, 10}, 0, 90, 1);
  auto [Top, Bottom] = InkedRows();
  EXPECT_GE(Top, 14);
  EXPECT_GE(Bottom, 24);
  EXPECT_TRUE(Inked(27, 22) || Inked(27, 21) || Inked(28, 22));
  for (int X = 0; X < 19; ++X)
    for (int Y = 0; Y < 30; ++Y) ASSERT_FALSE(Inked(X, Y)) << X << "," << Y;
}

TEST_F(CanvasTest, FillArcFillsThePieSlice) {
  C->FillArc({20, 15}, {10, 10}, 180, 90, 1);  // from 9 to 12 o'clock: upper left
  EXPECT_TRUE(Inked(15, 10));
  EXPECT_FALSE(Inked(25, 10));
  EXPECT_FALSE(Inked(15, 20));
}

TEST_F(CanvasTest, TextIsPlacedByTheTopOfItsRectangle) {
  C->GetFill()->SetColor(TAlphaColors::Black);
  float LineHeight = C->TextHeight("Hg");
  ASSERT_GT(LineHeight, 8);
  C->FillText({3, 6, 40, 30}, "Hg", false, 1, {}, TTextAlign::Leading, TTextAlign::Leading);
  auto [Top, Bottom] = InkedRows();
  EXPECT_GE(Top, 6);
  EXPECT_LE(Bottom, 6 + int(std::ceil(LineHeight)));
  EXPECT_LT(Top, 6 + int(LineHeight) / 2);  // the capitals reach into the upper half
  int Darkest = 255;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 3; ++X) EXPECT_FALSE(Inked(X, Y));
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) Darkest = std::min<int>(Darkest, RedOf(B.GetPixel(X, Y)));
  EXPECT_LT(Darkest, 64);
}

TEST_F(CanvasTest, TextAlignsInItsRectangle) {
  C->GetFill()->SetColor(TAlphaColors::Black);
  C->FillText({0, 0, 40, 30}, "x", false, 1, {}, TTextAlign::Trailing, TTextAlign::Trailing);
  auto [Top, Bottom] = InkedRows();
  EXPECT_GT(Top, 15);
  EXPECT_FALSE(Inked(5, Top));
  int Right = 0;
  for (int X = 0; X < 40; ++X)
    for (int Y = 0; Y < 30; ++Y)
      if (Inked(X, Y)) Right = X;
  EXPECT_GE(Right, 33);
}

TEST_F(CanvasTest, TextMetrics) {
  EXPECT_EQ(0, C->TextWidth(""));
  EXPECT_GT(C->TextWidth("WW"), C->TextWidth("W"));
  EXPECT_FLOAT_EQ(2 * C->TextHeight("A"), C->TextHeight("A\rB"));
  EXPECT_FLOAT_EQ(2 * C->TextHeight("A"), C->TextHeight("A\r\nB"));
  float Small = C->TextWidth("Mm");
  TFont Big;
  Big.SetSize(24);
  C->SetFont(&Big);
  EXPECT_NEAR(2 * Small, C->TextWidth("Mm"), Small * 0.15);
}

TEST_F(CanvasTest, WordWrapBreaksBetweenWords) {
  auto L = TTextLayoutManager::TextLayoutByCanvas(C);
  L->SetText("aaa bbb ccc");
  float One = L->GetTextHeight();
  L->SetMaxSize({L->MeasureLine("aaa bbb") + 1, 1000});
  L->SetWordWrap(true);
  ASSERT_EQ(2u, L->GetLines().size());
  EXPECT_EQ("aaa bbb", L->GetLines()[0].Text);
  EXPECT_FLOAT_EQ(2 * One, L->GetTextHeight());
}

TEST_F(CanvasTest, TextToPathOutlinesTheGlyphs) {
  TPathData P;
  ASSERT_TRUE(C->TextToPath(P, {10, 10, 1000, 1000}, "O", false, TTextAlign::Leading,
                            TTextAlign::Leading));
  TRectF R = P.GetBounds();
  EXPECT_GE(R.Left, 10);
  EXPECT_GE(R.Top, 10);
  EXPECT_LT(R.Bottom, 10 + C->TextHeight("O"));
  EXPECT_FALSE(C->TextToPath(P, {0, 0, 10, 10}, "", false, TTextAlign::Leading));
  EXPECT_TRUE(P.IsEmpty());
}

TEST_F(CanvasTest, ClipsNestAndRestore) {
  TCanvasSaveState* Outer = C->SaveState();
  C->IntersectClipRect({0, 0, 20, 30});
  TCanvasSaveState* Inner = C->SaveState();
  C->IntersectClipRect({10, 0, 40, 30});
  C->FillRect({0, 0, 40, 30}, 0, 0, AllCorners, 1);
  EXPECT_FALSE(Inked(9, 5));
  EXPECT_TRUE(Inked(10, 5));
  EXPECT_FALSE(Inked(20, 5));

  C->RestoreState(Inner);  // back to the outer clip, not to none
  C->GetFill()->SetColor(TAlphaColors::Blue);
  C->FillRect({0, 0, 40, 30}, 0, 0, AllCorners, 1);
  EXPECT_EQ(TAlphaColors::Blue, B.GetPixel(0, 5));
  EXPECT_EQ(White, B.GetPixel(20, 5));

  C->RestoreState(Outer);
  EXPECT_FALSE(C->GetClipped());
  EXPECT_EQ(TAlphaColors::Red, C->GetFill()->GetColor());  // the fill came back too
  C->FillRect({0, 0, 40, 30}, 0, 0, AllCorners, 1);
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(39, 29));
  C->RestoreState(Outer);  // no longer known: ignored
}

TEST_F(CanvasTest, MatrixMovesDrawingAndClip) {
  C->SetMatrix(TMatrix::CreateTranslation(10, 5));
  C->IntersectClipRect({0, 0, 5, 5});  // (10, 5) - (15, 10) on the bitmap
  C->FillRect({0, 0, 20, 20}, 0, 0, AllCorners, 1);
  EXPECT_TRUE(Inked(10, 5));
  EXPECT_TRUE(Inked(14, 9));
  EXPECT_FALSE(Inked(15, 9));
  EXPECT_FALSE(Inked(9, 5));
  EXPECT_EQ(25, InkCount());
}

TEST_F(CanvasTest, ClearReplacesEvenWithTransparent) {
  C->FillRect({0, 0, 40, 30}, 0, 0, AllCorners, 1);
  C->ClearRect({0, 0, 10, 10}, 0);
  EXPECT_EQ(0u, B.GetPixel(5, 5));
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(15, 5));
  C->IntersectClipRect({0, 0, 1, 1});
  C->Clear(TAlphaColors::Blue);  // ignores the clip
  EXPECT_EQ(TAlphaColors::Blue, B.GetPixel(39, 29));
}

TEST_F(CanvasTest, DrawBitmapScalesTheSourcePart) {
  TBitmap Src(2, 2);
  Src.SetPixel(0, 0, TAlphaColors::Red);
  Src.SetPixel(1, 0, TAlphaColors::Lime);
  Src.SetPixel(0, 1, TAlphaColors::Blue);
  Src.SetPixel(1, 1, TAlphaColors::Black);
  C->DrawBitmap(&Src, {0, 0, 2, 2}, {10, 10, 30, 30}, 1, true);
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(10, 10));
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(19, 19));
  EXPECT_EQ(TAlphaColors::Lime, B.GetPixel(20, 10));
  EXPECT_EQ(TAlphaColors::Black, B.GetPixel(29, 29));
  EXPECT_EQ(White, B.GetPixel(9, 9));
  // A part of the source only: the lower right pixel fills the target.
  C->DrawBitmap(&Src, {1, 1, 2, 2}, {0, 0, 5, 5}, 1, true);
  EXPECT_EQ(TAlphaColors::Black, B.GetPixel(0, 0));
  // Onto itself: no failure, the copy is drawn.
  C->DrawBitmap(&B, {0, 0, 40, 30}, {0, 0, 20, 15}, 1, true);
  EXPECT_EQ(TAlphaColors::Black, B.GetPixel(0, 0));
}

TEST_F(CanvasTest, BitmapScaleScalesTheDrawing) {
  EXPECT_EQ(1, B.GetBitmapScale());  // one canvas unit is one pixel unless asked otherwise
  EXPECT_EQ(1, C->GetScale());
  TBitmap Hi(20, 20);
  Hi.Clear(White);
  Hi.SetBitmapScale(2);
  TCanvas* H = Hi.GetCanvas();
  EXPECT_EQ(2, H->GetScale());
  H->GetFill()->SetColor(TAlphaColors::Red);
  H->FillRect({0, 0, 5, 5}, 0, 0, AllCorners, 1);
  EXPECT_EQ(TAlphaColors::Red, Hi.GetPixel(9, 9));
  EXPECT_EQ(White, Hi.GetPixel(10, 9));
}

TEST_F(CanvasTest, GradientFillRunsFromStartToStop) {
  TBrush* F = C->GetFill();
  F->SetKind(TBrushKind::Gradient);
  F->GetGradient()->SetColor(TAlphaColors::Black);
  F->GetGradient()->SetColor1(White);
  F->GetGradient()->SetStartPosition({0, 0});
  F->GetGradient()->SetStopPosition({1, 0});  // left to right
  C->FillRect({0, 0, 40, 10}, 0, 0, AllCorners, 1);
  EXPECT_LT(RedOf(B.GetPixel(1, 5)), 20);
  EXPECT_GT(RedOf(B.GetPixel(38, 5)), 235);
  EXPECT_NEAR(128, RedOf(B.GetPixel(20, 5)), 12);
  EXPECT_EQ(RedOf(B.GetPixel(20, 0)), RedOf(B.GetPixel(20, 9)));
}

TEST_F(CanvasTest, RoundedRectangleLeavesItsCornersOut) {
  C->FillRect({0, 0, 20, 20}, 6, 6, AllCorners, 1);
  EXPECT_FALSE(Inked(0, 0));
  EXPECT_TRUE(Inked(10, 0));
  EXPECT_TRUE(Inked(10, 10));
  C->FillRect({20, 0, 40, 20}, 6, 6, {TCorner::TopLeft}, 1);
  EXPECT_FALSE(Inked(20, 0));
  EXPECT_TRUE(Inked(39, 0));
}

TEST_F(CanvasTest, BadCoordinatesDrawNothingAndDoNotFail) {
  const float N = NAN, I = INFINITY;
  C->FillRect({N, 0, 10, 10}, 0, 0, AllCorners, 1);
  C->DrawLine({0, 0}, {I, 5}, 1);
  C->FillEllipse({0, 0, N, N}, 1);
  C->FillText({N, 0, 10, 10}, "x", false, 1, {}, TTextAlign::Leading);
  TPathData P;
  P.AddArc({10, 10}, {N, 5}, 0, 90);
  C->DrawPath(P, 1);
  C->DrawArc({10, 10}, {5, 5}, 0, I, 1);
  TPolygon Poly{{0, 0}, {N, 1}, {I, 2}};
  C->DrawPolygon(Poly, 1);
  C->FillPolygon(Poly, 1);
  EXPECT_EQ(0, InkCount());
  C->FillRect({0, 0, 10, 10}, 0, 0, AllCorners, N);  // a NaN opacity draws opaque
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(5, 5));
}

TEST_F(CanvasTest, PolylineBreaksAtBadPoints) {
  TPolygon P{{0, 5}, {10, 5}, {NAN, 7}, {20, 5}, {30, 5}};
  C->DrawPolyline(P, 1);
  EXPECT_TRUE(Inked(5, 5));
  EXPECT_FALSE(Inked(15, 5));  // no segment across the gap
  EXPECT_TRUE(Inked(25, 5));
}

TEST(CanvasEmptyTest, ZeroSizedCanvasDrawsNothingAndNeverFails) {
  for (auto [W, H] : {std::pair{0, 0}, {0, 10}, {10, 0}}) {
    TBitmap B(W, H);
    TCanvas* C = B.GetCanvas();
    EXPECT_FALSE(C->BeginScene());
    C->Clear(TAlphaColors::Red);
    C->FillRect({0, 0, 10, 10}, 2, 2, AllCorners, 1);
    C->DrawLine({0, 0}, {5, 5}, 1);
    C->FillText({0, 0, 10, 10}, "x", false, 1, {}, TTextAlign::Leading);
    TPolygon P{{0, 0}, {5, 5}, {9, 1}};
    C->DrawPolyline(P, 1);
    C->DrawBitmap(&B, {0, 0, 1, 1}, {0, 0, 1, 1}, 1);
    C->EndScene();
    EXPECT_EQ(0, C->GetBeginSceneCount());
  }
}

TEST(CanvasEmptyTest, ScenesNestAndUnbalancedEndsAreIgnored) {
  TBitmap B(4, 4);
  TCanvas* C = B.GetCanvas();
  C->EndScene();
  EXPECT_EQ(0, C->GetBeginSceneCount());
  EXPECT_TRUE(C->BeginScene());
  EXPECT_TRUE(C->BeginScene());
  C->EndScene();
  EXPECT_EQ(1, C->GetBeginSceneCount());
  C->EndScene();
}

// The merged polyline (first, lowest, highest, last per pixel column) against every segment.
TEST(CanvasPolylineTest, MergedColumnsDrawTheSamePixels) {
  std::mt19937 Rng(7);
  std::normal_distribution<float> Noise(0, 6);
  TPolygon P;
  for (int i = 0; i < 6000; ++i)  // about 60 points per column
    P.push_back({float(i / 60), std::round(std::clamp(40 + Noise(Rng), 0.f, 79.f))});
  auto Draw = [&](bool Merge, std::vector<TAlphaColor>& Px) {
    TBitmap B(100, 80);
    B.Clear(White);
    TCanvas* C = B.GetCanvas();
    if (Merge) {
      ASSERT_TRUE(C->CanReducePolyline(1));
      C->DrawPolyline(P, 1);
    } else {
      C->DrawPolylineUnreduced(P.data(), P.size(), 1);
    }
    for (int Y = 0; Y < 80; ++Y)
      for (int X = 0; X < 100; ++X) Px.push_back(B.GetPixel(X, Y));
  };
  std::vector<TAlphaColor> Merged, Plain;
  Draw(true, Merged);
  Draw(false, Plain);
  ASSERT_EQ(Plain.size(), Merged.size());
  int Ink = 0, Differ = 0;
  for (std::size_t i = 0; i < Plain.size(); ++i) {
    Ink += Plain[i] != White;
    Differ += Plain[i] != Merged[i];
  }
  EXPECT_GT(Ink, 500);
  EXPECT_EQ(0, Differ);
}

TEST(CanvasPolylineTest, MergingNeedsAnOpaqueThinCrispSolidStroke) {
  const std::pair<const char*, std::function<void(TCanvas*)>> Cases[] = {
      {"translucent colour", [](TCanvas* C) { C->GetStroke()->SetColor(0x80000000); }},
      {"thick", [](TCanvas* C) { C->GetStroke()->SetThickness(2); }},
      {"dashed", [](TCanvas* C) { C->GetStroke()->SetDash(TStrokeDash::Dot); }},
      {"gradient", [](TCanvas* C) { C->GetStroke()->SetKind(TBrushKind::Gradient); }},
      {"antialiased", [](TCanvas* C) { C->SetAntialiasing(true); }},
      {"rotated", [](TCanvas* C) { C->SetMatrix(TMatrix::CreateRotation(0.3f)); }},
      {"stretched", [](TCanvas* C) { C->SetMatrix(TMatrix::CreateScaling(3, 1)); }},
  };
  for (const auto& [Name, Spoil] : Cases) {
    TBitmap B(10, 10);
    TCanvas* C = B.GetCanvas();
    EXPECT_TRUE(C->CanReducePolyline(1)) << Name;
    Spoil(C);
    EXPECT_FALSE(C->CanReducePolyline(1)) << Name;
  }
  TBitmap B(10, 10);
  EXPECT_FALSE(B.GetCanvas()->CanReducePolyline(0.5f));
}

TEST(CanvasPolylineTest, ReductionKeepsFirstExtremesAndLastInOrder) {
  TPolygon In{{0, 5}, {0, 9}, {0.4f, 1}, {0, 6}, {1, 3}, {1, 3}, {2, 4}};
  std::vector<TPointF> Out;
  ReducePolylineByColumn(In.data(), In.size(), Out);
  EXPECT_EQ((std::vector<TPointF>{{0, 5}, {0, 9}, {0.4f, 1}, {0, 6}, {1, 3}, {2, 4}}), Out);
  ReducePolylineByColumn(In.data(), 0, Out);
  EXPECT_TRUE(Out.empty());
}

TEST(CanvasPolylineTest, GapsSurviveTheMerge) {
  // A bad point inside a column still breaks the line there.
  TPolygon In{{5, 2}, {5, 3}, {5, NAN}, {5, 9}, {5, 8}};
  TBitmap Merged(10, 12), Plain(10, 12);
  Merged.Clear(White);
  Plain.Clear(White);
  Merged.GetCanvas()->DrawPolyline(In, 1);
  Plain.GetCanvas()->DrawPolylineUnreduced(In.data(), In.size(), 1);
  for (int Y = 0; Y < 12; ++Y) EXPECT_EQ(Plain.GetPixel(5, Y), Merged.GetPixel(5, Y)) << Y;
  EXPECT_EQ(White, Merged.GetPixel(5, 6));
}

TEST(CanvasPolylineTest, TranslucentPolylineBlendsEachPixelOnce) {
  TBitmap B(20, 10);
  B.Clear(White);
  TCanvas* C = B.GetCanvas();
  C->GetStroke()->SetColor(0x80000000);
  TPolygon P{{2, 5}, {10, 5}, {2, 5}, {10, 5}};  // goes over the same pixels three times
  C->DrawPolyline(P, 1);
  EXPECT_NEAR(127, RedOf(B.GetPixel(5, 5)), 2);
}

TEST(CanvasColumnStrokesTest, MergedStrokesSetThePixelsOfEveryLine) {
  // Random walks over a few columns with many repeats and straight runs, drawn line by line and
  // through TColumnStrokes, with both caps; and where the canvas does not merge (a wide pen, a
  // scale), the merge must not be claimed.
  std::mt19937 Rng(11);
  std::uniform_int_distribution<int> Col(2, 6), Row(1, 10), Kind(0, 5);
  for (TStrokeCap Cap : {TStrokeCap::Flat, TStrokeCap::Round})
    for (int Trial = 0; Trial < 300; ++Trial) {
      std::vector<TPointF> P{{float(Col(Rng)), float(Row(Rng))}};
      for (int K = 0; K < 12; ++K) {
        TPointF Q = P.back();
        switch (Kind(Rng)) {
          case 0: Q.X = float(Col(Rng)); [[fallthrough]];
          case 1: case 2: Q.Y = float(Row(Rng)); break;
          case 3: break;  // the same pixel again
          case 4: Q.Y += 0.5f; break;  // not a whole pixel
          default: Q = {float(Col(Rng)), NAN}; break;
        }
        P.push_back(Q);
      }
      TBitmap Plain(10, 14), Merged(10, 14);
      for (TBitmap* B : {&Plain, &Merged}) {
        B->Clear(White);
        B->GetCanvas()->GetStroke()->SetColor(TAlphaColors::Black);
        B->GetCanvas()->GetStroke()->SetThickness(1);
        B->GetCanvas()->GetStroke()->SetCap(Cap);
      }
      ASSERT_TRUE(Merged.GetCanvas()->MergesColumnStrokes(1));
      for (std::size_t K = 1; K < P.size(); ++K) Plain.GetCanvas()->DrawLine(P[K - 1], P[K], 1);
      TColumnStrokes S(Merged.GetCanvas(), 1);
      S.MoveTo(P[0]);
      for (std::size_t K = 1; K < P.size(); ++K) S.LineTo(P[K]);
      S.Finish();
      for (int Y = 0; Y < 14; ++Y)
        for (int X = 0; X < 10; ++X)
          ASSERT_EQ(Plain.GetPixel(X, Y), Merged.GetPixel(X, Y)) << "cap " << int(Cap) << " trial " << Trial << " at " << X << "," << Y;
    }
  TBitmap B(10, 10);
  B.GetCanvas()->GetStroke()->SetThickness(2);
  EXPECT_FALSE(B.GetCanvas()->MergesColumnStrokes(1));
  B.GetCanvas()->GetStroke()->SetThickness(1);
  EXPECT_FALSE(B.GetCanvas()->MergesColumnStrokes(0.5f));
  B.GetCanvas()->SetMatrix(TMatrix::CreateTranslation(0.5f, 0));
  EXPECT_FALSE(B.GetCanvas()->MergesColumnStrokes(1));
}

}  // namespace
