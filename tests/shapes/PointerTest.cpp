// The series pointer and callouts: sizes, margins, hit tests, pen colours, pixels of the drawn
// marker, private pointers per point, and the callout's arrow and lift.
#include <gtest/gtest.h>

#include "ShapeFixture.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/Marks.h"

namespace zel {
namespace {

TEST(Pointer, SizesOfZeroOrLessBecomeOne) {
  struct Case {
    int Value, Want;
  } Cases[] = {{0, 1}, {-5, 1}, {1, 1}, {7, 7}};
  for (const auto& C : Cases) {
    TSeriesPointer P(nullptr);
    P.SetHorizSize(C.Value);
    P.SetVertSize(C.Value);
    EXPECT_EQ(P.GetHorizSize(), C.Want) << C.Value;
    EXPECT_EQ(P.GetVertSize(), C.Want) << C.Value;
  }
  TSeriesPointer P(nullptr);
  P.SetHorizSize(3);
  P.SetVertSize(6);
  EXPECT_EQ(P.GetSize(), 6);
}

TEST(Pointer, MarginsMakeRoomForTheMarker) {
  struct Case {
    bool PenVisible;
    bool Inflate;
    bool Visible;
    int Horiz, Vert;
  } Cases[] = {
      {true, true, true, 4 + 2 + 1, 4 + 2},  // pen width 3: half width rounds to 2
      {false, true, true, 5, 5},
      {true, false, true, 0, 0},
      {true, true, false, 0, 0},
  };
  for (const auto& C : Cases) {
    TSeriesPointer P(nullptr);
    P.GetPen()->SetWidth(3);
    P.GetPen()->SetVisible(C.PenVisible);
    P.SetInflateMargins(C.Inflate);
    P.SetVisible(C.Visible);
    int L = 0, R = 0, T = 0, B = 0;
    P.CalcHorizMargins(L, R);
    P.CalcVerticalMargins(T, B);
    EXPECT_EQ(L, C.Horiz);
    EXPECT_EQ(R, C.Horiz);
    EXPECT_EQ(T, C.Vert);
    EXPECT_EQ(B, C.Vert);
    // A larger margin stays.
    int Big = 50, Big2 = 50;
    P.CalcHorizMargins(Big, Big2);
    EXPECT_EQ(Big, 50);
  }
}

TEST(Pointer, ClickedFollowsTheStyle) {
  TSeriesPointer P(nullptr);  // half sizes 4 x 4, drawn at (50, 50)
  using S = TSeriesPointerStyle;
  struct Case {
    TSeriesPointerStyle Style;
    TPointF Point;
    bool Hit;
  } Cases[] = {
      {S::psRectangle, {53, 53}, true},      {S::psRectangle, {54, 50}, false},  // strict inside
      {S::psCircle, {53, 53}, false},        {S::psCircle, {52, 52}, true},
      {S::psTriangle, {50, 47}, true},       {S::psTriangle, {47, 47}, false},  // apex at the top
      {S::psDownTriangle, {47, 53}, false},  {S::psDownTriangle, {47, 47}, true},
      {S::psDiamond, {53, 53}, false},       {S::psDiamond, {51, 51}, true},
      {S::psLeftTriangle, {47, 50}, true},   {S::psLeftTriangle, {47, 47}, false},
      {S::psRightTriangle, {53, 50}, true},  {S::psRightTriangle, {53, 47}, false},
      {S::psNothing, {50, 50}, false},       {S::psCross, {51, 51}, true},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(P.Clicked(C.Style, C.Point, 50, 50), C.Hit)
        << int(C.Style) << " at " << C.Point.X << "," << C.Point.Y;
}

using PointerCanvas = ShapeFixture;

TEST_F(PointerCanvas, PenColourFollowsThePointWhenAsked) {
  const TAlphaColor Point = 0xFF8090A0;
  struct Case {
    TAlphaColor PenColor;
    int DarkPen;
    TAlphaColor Want;
  } Cases[] = {
      {0xFF000000, 0, 0xFF000000},  // its own colour
      {0x00FFFFFF, 0, Point},       // the default colour: the point's
      {0xFF000000, 64, 0xFF405060}, // 64 darker in each channel
      {0xFF000000, -64, 0xFFC0D0E0},
      {0x80000000, 64, 0x80405060},  // the pen's alpha stays
      {0x00FFFFFF, 64, 0xFF405060},  // the default colour has no alpha to carry
  };
  for (const auto& C : Cases) {
    TSeriesPointer P(nullptr);
    P.GetPen()->SetColor(C.PenColor);
    P.SetDarkPen(C.DarkPen);
    P.PrepareCanvas(Canvas(), Point);
    EXPECT_EQ(Canvas()->GetPen()->GetColor(), C.Want) << std::hex << C.PenColor << " " << std::dec << C.DarkPen;
  }
}

TEST_F(PointerCanvas, BrushOfTheDefaultColourTakesThePointColour) {
  TSeriesPointer P(nullptr);
  P.PrepareCanvas(Canvas(), 0xFF123456);
  EXPECT_EQ(Canvas()->GetBrush()->GetColor(), 0xFF123456u);
  P.SetColor(0xFF00FF00);
  P.PrepareCanvas(Canvas(), 0xFF123456);
  EXPECT_EQ(Canvas()->GetBrush()->GetColor(), 0xFF00FF00u);
  P.GetPen()->Hide();
  P.PrepareCanvas(Canvas(), 0xFF123456);
  EXPECT_EQ(Canvas()->GetPen()->GetStyle(), TPenStyle::psClear);
}

using PointerPixels = PixelFixture;

TEST_F(PointerPixels, RectangleCoversOneMorePixelRightAndDown) {
  TSeriesPointer P(nullptr);
  P.GetPen()->Hide();
  P.PrepareCanvas(Canvas(), 0xFFFF0000);
  P.DrawPointer(Canvas(), false, 20, 20, 4, 4, 0xFFFF0000, TSeriesPointerStyle::psRectangle);
  Show();
  EXPECT_EQ(Count(0xFFFF0000, 0, 0, 100, 60), 81) << "9 x 9 pixels for half size 4";
  EXPECT_EQ(Count(0xFFFF0000, 16, 16, 25, 25), 81);
}

TEST_F(PointerPixels, EveryStyleDrawsInsideItsBoxOnly) {
  using S = TSeriesPointerStyle;
  const TSeriesPointerStyle Styles[] = {S::psRectangle,  S::psCircle,    S::psTriangle,      S::psDownTriangle,
                                        S::psCross,      S::psDiagCross, S::psStar,          S::psDiamond,
                                        S::psSmallDot,   S::psNothing,   S::psLeftTriangle,  S::psRightTriangle,
                                        S::psHexagon,    S::psVisual,    S::psDonut,         S::psArrow};
  const TAlphaColor Red = 0xFFFF0000;
  for (TSeriesPointerStyle Style : Styles) {
    SetUp();
    TSeriesPointer P(nullptr);
    P.GetPen()->SetColor(0x00FFFFFF);  // outline in the point's colour
    P.PrepareCanvas(Canvas(), Red);
    P.DrawPointer(Canvas(), false, 30, 30, 6, 6, Red, Style);
    Show();
    const int Inside = Count(Red, 23, 23, 38, 38);
    const int All = Count(Red, 0, 0, 100, 60);
    const bool Empty = Style == S::psNothing || Style == S::psVisual;
    EXPECT_EQ(Inside > 0, !Empty) << int(Style);
    EXPECT_EQ(All, Inside) << "nothing outside the marker's box, style " << int(Style);
  }
}

TEST_F(PointerPixels, TransparentPointerBlendsAndClosesItsBracket) {
  TSeriesPointer P(nullptr);
  P.GetPen()->Hide();
  P.SetTransparency(50);
  P.PrepareCanvas(Canvas(), 0xFFFF0000);
  P.DrawPointer(Canvas(), false, 20, 20, 4, 4, 0xFFFF0000, TSeriesPointerStyle::psRectangle);
  EXPECT_EQ(Canvas()->TranspStackDepth(), 0);
  Show();
  const TAlphaColor C = Dest.GetPixel(20, 20);
  EXPECT_EQ(RedOf(C), 255);
  EXPECT_NEAR(GreenOf(C), 128, 2) << "half red over white";
}

TEST(PointerItems, PrivatePointersPerPoint) {
  TSeriesPointerItems Items(nullptr);
  Items.SetStyle(TSeriesPointerStyle::psCircle);
  EXPECT_EQ(Items.InternalGet(3), &Items);
  EXPECT_EQ(Items.InternalGet(-1), &Items);
  EXPECT_EQ(Items.Count(), 0);

  TSeriesPointer* Five = Items.Get(5);
  EXPECT_EQ(Items.Count(), 6);
  EXPECT_EQ(Five->GetStyle(), TSeriesPointerStyle::psCircle) << "a copy of the shared settings";
  EXPECT_EQ(Items.InternalGet(5), Five);
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Items.InternalGet(I), &Items) << I;

  Five->SetStyle(TSeriesPointerStyle::psStar);
  EXPECT_EQ(Items.GetStyle(), TSeriesPointerStyle::psCircle);

  Items.Delete(2);
  EXPECT_EQ(Items.Count(), 5);
  EXPECT_EQ(Items.InternalGet(4), Five) << "later entries move down";
  Items.Put(4, nullptr);
  EXPECT_EQ(Items.InternalGet(4), &Items);
  Items.Clear();
  EXPECT_EQ(Items.Count(), 0);
}

TEST_F(PointerCanvas, PutWithoutPrivatePointersDoesNothing) {
  TSeriesPointerItems Items(nullptr);
  Items.SetParent(Panel.get());
  Panel->Invalidates = 0;
  Items.Put(3, nullptr);
  EXPECT_EQ(Items.Count(), 0);
  EXPECT_EQ(Panel->Invalidates, 0);
  Items.Put(1, new TSeriesPointer(nullptr));
  EXPECT_EQ(Items.Count(), 2);
  EXPECT_EQ(Panel->Invalidates, 1);
}

// --- callouts ---

using CalloutPixels = PixelFixture;

TEST_F(CalloutPixels, HiddenMarksCalloutDrawsOnlyItsArrow) {
  Panel->SetColor(0xFF0000FF);
  struct Case {
    bool Visible;
    TArrowHeadStyle Head;
    bool Square;  // a black 9 x 9 square at the point
  } Cases[] = {{false, TArrowHeadStyle::ahNone, false},
               {true, TArrowHeadStyle::ahNone, true},
               {true, TArrowHeadStyle::ahSolid, false}};
  for (const auto& C : Cases) {
    SetUp();
    Panel->SetColor(0xFF0000FF);
    TMarksCallout Callout(nullptr);
    Callout.SetParent(Panel.get());
    Callout.GetArrow()->SetColor(0xFFFF0000);
    Callout.SetVisible(C.Visible);
    Callout.SetArrowHead(C.Head);
    Callout.Draw(0xFF00FF00, TPointF(50, 40), TPointF(0, 0), TPointF(50, 10), 0, false);
    Show();
    const int Black = Count(0xFF000000, 46, 36, 55, 45);
    if (C.Square) {
      EXPECT_EQ(Black, 81) << int(C.Head);
    } else {
      EXPECT_LT(Black, 81) << C.Visible << int(C.Head);
    }
    if (!C.Visible) {
      EXPECT_EQ(Black, 0);
    }
    EXPECT_GT(Count(0xFFFF0000, 45, 10, 55, 30), 0) << "the arrow's line";
  }
}

using CalloutCanvas = ShapeFixture;

TEST_F(CalloutCanvas, ArrowColourCheckAvoidsInvisibleArrows) {
  struct Case {
    bool Check;
    TAlphaColor Arrow, Point, Panel, Want;
  } Cases[] = {
      {false, 0xFF00FF00, 0xFF00FF00, 0xFFF0F0F0, 0xFF00FF00},  // off: the arrow's own colour
      {true, 0xFF00FF00, 0xFF00FF00, 0xFFF0F0F0, 0xFF000000},   // same as the point: black
      {true, 0xFF000000, 0xFF00FF00, 0xFF000000, 0xFFFFFFFF},   // same as a black panel: white
      {true, 0xFF0000FF, 0xFF00FF00, 0xFFF0F0F0, 0xFF0000FF},   // distinct: unchanged
  };
  for (const auto& C : Cases) {
    ZelCheckMarkArrowColor = C.Check;
    Panel->SetColor(C.Panel);
    TCallout Callout(nullptr);
    Callout.SetParent(Panel.get());
    Callout.SetVisible(false);
    Callout.GetArrow()->SetColor(C.Arrow);
    Rec.ClearRecords();
    Callout.Draw(C.Point, TPointF(10, 50), TPointF(0, 0), TPointF(10, 10), 0, false);
    const auto Lines = Records(TRecordKind::DrawLine);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Lines[0].Color, C.Want) << std::hex << C.Arrow << " " << C.Panel;
  }
  ZelCheckMarkArrowColor = false;
}

TEST(Callout, DefaultsDifferFromThePointer) {
  TCallout C(nullptr);
  EXPECT_FALSE(C.GetDraw3D());
  EXPECT_TRUE(C.GetInflateMargins());
  EXPECT_TRUE(C.GetVisible());
  EXPECT_TRUE(C.GetFullGradient());
  EXPECT_FALSE(C.IsFullGradientStored());
  EXPECT_EQ(C.GetColor(), 0xFF000000u);
  EXPECT_EQ(C.GetArrow()->GetColor(), 0xFFFFFFFFu);
  TMarksCallout M(nullptr);
  EXPECT_FALSE(M.GetVisible());
  EXPECT_FALSE(M.IsVisibleStored());
  EXPECT_EQ(M.GetLength(), 8);
}

TEST(Callout, ArrowLengthLiftsTheMark) {
  struct Case {
    int Length, Distance;
    float Top, From;
  } Cases[] = {{8, 0, 92, 100}, {8, 3, 89, 97}, {0, 0, 100, 100}};
  for (const auto& C : Cases) {
    TMarksCallout M(nullptr);
    M.SetLength(C.Length);
    M.SetDistance(C.Distance);
    TSeriesMarkPosition P;
    P.LeftTop = TPointF(10, 100);
    P.ArrowTo = TPointF(20, 100);
    P.ArrowFrom = TPointF(20, 100);
    M.ApplyArrowLength(&P);
    EXPECT_EQ(P.LeftTop.Y, C.Top);
    EXPECT_EQ(P.ArrowTo.Y, C.Top);
    EXPECT_EQ(P.ArrowFrom.Y, C.From);
    EXPECT_EQ(P.LeftTop.X, 10);
  }
}

TEST(Callout, AssignCopiesArrowAndPointerSettings) {
  TMarksCallout A(nullptr), B(nullptr);
  A.SetLength(12);
  A.SetDistance(2);
  A.SetArrowHead(TArrowHeadStyle::ahLine);
  A.SetArrowHeadSize(5);
  A.GetArrow()->SetWidth(3);
  A.SetStyle(TSeriesPointerStyle::psCircle);
  A.SetVisible(true);
  B.Assign(&A);
  EXPECT_EQ(B.GetLength(), 12);
  EXPECT_EQ(B.GetDistance(), 2);
  EXPECT_EQ(B.GetArrowHead(), TArrowHeadStyle::ahLine);
  EXPECT_EQ(B.GetArrowHeadSize(), 5);
  EXPECT_EQ(B.GetArrow()->GetWidth(), 3);
  EXPECT_EQ(B.GetStyle(), TSeriesPointerStyle::psCircle);
  EXPECT_TRUE(B.GetVisible());
}

}  // namespace
}  // namespace zel
