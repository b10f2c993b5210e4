// Pixels drawn through the platform canvas into an off-screen picture and shown on a bitmap.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Bitmap.h"
#include "zelgraph/canvas/CanvasUnit.h"

namespace zel {
namespace {

constexpr TAlphaColor White = 0xFFFFFFFF, Red = 0xFFFF0000, Blue = 0xFF0000FF,
                      Green = 0xFF00FF00, Black = 0xFF000000;

// Equal colours, up to rounding of blended channels.
bool Near(TAlphaColor A, TAlphaColor B) {
  const int Tol = 2;
  return std::abs(RedOf(A) - RedOf(B)) <= Tol && std::abs(GreenOf(A) - GreenOf(B)) <= Tol &&
         std::abs(BlueOf(A) - BlueOf(B)) <= Tol && std::abs(AlphaOf(A) - AlphaOf(B)) <= Tol;
}

bool Dark(TAlphaColor C) { return RedOf(C) < 128 && GreenOf(C) < 128 && BlueOf(C) < 128; }

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dest.Clear(White);
    Window = Canvas.InitWindow(Dest.GetCanvas(), nullptr, White, false, TRectF(0, 0, 100, 60));
    Canvas.Projection(0, Window, Window);
    TZelBrush B;
    Canvas.AssignBrush(&B, White);
    Clear.SetStyle(TPenStyle::psClear);
    Canvas.AssignVisiblePen(&Clear);
    Canvas.FillRect(Window);
  }
  void Show() { Canvas.ShowImage(Dest.GetCanvas(), nullptr, Window); }
  void Fill(const TRectF& R, TAlphaColor Color) {
    TZelBrush B;
    Canvas.AssignBrush(&B, Color);
    Canvas.AssignVisiblePen(&Clear);
    Canvas.Rectangle(R);
  }
  void SetPen(TAlphaColor Color, TPenStyle Style = TPenStyle::psSolid) {
    TZelPen Pen;
    Pen.SetStyle(Style);
    Canvas.AssignVisiblePenColor(&Pen, Color);
  }
  // Dark pixels of the shown picture inside R.
  int DarkPixels(const TRect& R) {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) N += Dark(Dest.GetPixel(X, Y));
    return N;
  }

  TBitmap Dest{100, 60};
  TZelCanvas3D Canvas;
  TRectF Window;
  TZelPen Clear;
};

TEST_F(RenderTest, RectangleLineAndTextLandOnTheirPixels) {
  Fill(TRectF(10, 10, 30, 30), Red);
  SetPen(Blue);
  TPointF Line[2] = {{40, 45}, {90, 45}};
  Canvas.Polyline(Line, 1);
  TZelFont F;
  F.SetSizeFloat(20);
  F.SetColor(Black);
  Canvas.AssignFont(&F);
  Canvas.TextOut(60, 5, "H");
  Canvas.SetTransparency(50);
  Fill(TRectF(10, 40, 30, 55), Green);
  Canvas.SetTransparency(0);
  Show();

  struct Probe {
    int X, Y;
    TAlphaColor Color;
  };
  const Probe Probes[] = {
      {10, 10, Red},   {29, 29, Red},  {20, 20, Red},  {30, 30, White}, {9, 9, White},
      {40, 45, Blue},  {65, 45, Blue}, {65, 44, White}, {65, 46, White}, {95, 45, White},
      {20, 47, 0xFF80FF80}, {5, 47, White},
  };
  for (const Probe& P : Probes)
    EXPECT_PRED2(Near, Dest.GetPixel(P.X, P.Y), P.Color) << P.X << "," << P.Y << " is "
                                                          << std::hex << Dest.GetPixel(P.X, P.Y);
  // The glyph starts at the text's point and stays within its line.
  int LineHeight = Canvas.TextHeight("H"), Width = Canvas.TextWidth("H");
  EXPECT_GT(DarkPixels(TRect(60, 5, 60 + Width, 5 + LineHeight)), 10);
  EXPECT_EQ(DarkPixels(TRect(50, 0, 60, 60)), 0);
  EXPECT_EQ(DarkPixels(TRect(60, 5 + LineHeight, 100, 40)), 0);
}

TEST_F(RenderTest, RectangleOutlineCoversTheFilledPixels) {
  // A 9 x 9 marker: Rectangle(L, T, R + 1, B + 1) around (20, 20) with half size 4, plain and
  // with rounded corners.
  TZelBrush B;
  Canvas.AssignBrush(&B, Red);
  SetPen(Black);
  Canvas.Rectangle(16, 16, 25, 25);
  Canvas.RoundRect(56, 16, 65, 25, 2, 2);
  Show();
  for (int Left : {16, 56}) {
    EXPECT_EQ(DarkPixels(TRect(Left - 2, 14, Left + 11, 27)),
              DarkPixels(TRect(Left, 16, Left + 9, 25)))
        << Left;  // nothing outside the 9 x 9 cell
    for (int I = Left + 2; I < Left + 7; ++I) {
      EXPECT_TRUE(Dark(Dest.GetPixel(I, 16))) << I;       // top row
      EXPECT_TRUE(Dark(Dest.GetPixel(I, 24))) << I;       // bottom row
      EXPECT_TRUE(Dark(Dest.GetPixel(Left, I - Left + 16))) << I;      // left column
      EXPECT_TRUE(Dark(Dest.GetPixel(Left + 8, I - Left + 16))) << I;  // right column
    }
    EXPECT_PRED2(Near, Dest.GetPixel(Left + 4, 20), Red);
    EXPECT_PRED2(Near, Dest.GetPixel(Left + 9, 20), White);
    EXPECT_PRED2(Near, Dest.GetPixel(Left + 4, 25), White);
  }
}

TEST_F(RenderTest, HiddenPenStylesDrawNothing) {
  struct Case {
    TPenStyle Style;
    bool Drawn;
  };
  const Case Cases[] = {{TPenStyle::psClear, false}, {TPenStyle::psInsideFrame, true},
                        {TPenStyle::psSolid, true}};
  int Row = 10;
  for (const Case& C : Cases) {
    SetPen(Black, C.Style);
    Canvas.Line(10, float(Row), 90, float(Row));
    TPointF P[3] = {{10, float(Row + 5)}, {50, float(Row + 5)}, {90, float(Row + 5)}};
    Canvas.Polyline(P, 2);
    Row += 15;
  }
  Show();
  Row = 10;
  for (const Case& C : Cases) {
    EXPECT_EQ(Dark(Dest.GetPixel(50, Row)), C.Drawn) << int(C.Style);
    EXPECT_EQ(Dark(Dest.GetPixel(30, Row + 5)), C.Drawn) << int(C.Style);
    Row += 15;
  }
}

TEST_F(RenderTest, InnerClipRestoresTheOuterOne) {
  Canvas.ClipRectangle(TRectF(0, 0, 50, 60));
  Canvas.ClipRectangle(TRectF(0, 0, 10, 10));
  Fill(TRectF(0, 0, 100, 60), Blue);
  Canvas.UnClipRectangle();
  Fill(TRectF(20, 0, 100, 60), Red);
  Canvas.UnClipRectangle();
  Fill(TRectF(80, 0, 100, 60), Green);
  Show();
  EXPECT_PRED2(Near, Dest.GetPixel(5, 5), Blue);
  EXPECT_PRED2(Near, Dest.GetPixel(15, 15), White);
  EXPECT_PRED2(Near, Dest.GetPixel(30, 30), Red);
  EXPECT_PRED2(Near, Dest.GetPixel(60, 30), White);
  EXPECT_PRED2(Near, Dest.GetPixel(90, 30), Green);
}

TEST_F(RenderTest, PixelAccessStaysInsideThePicture) {
  Fill(TRectF(0, 0, 100, 60), Blue);
  const TPoint Outside[] = {{-1, 0}, {0, -1}, {100, 0}, {0, 60}, {1 << 30, 5}};
  for (const TPoint& P : Outside) {
    EXPECT_EQ(Canvas.GetPixel(P.X, P.Y), White);
    Canvas.SetPixel(P.X, P.Y, Red);
  }
  Canvas.SetPixel(5, 6, Red);
  EXPECT_PRED2(Near, Canvas.GetPixel(5, 6), Red);
  Show();
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 100; ++X)
      if (X != 5 || Y != 6) {
        ASSERT_PRED2(Near, Dest.GetPixel(X, Y), Blue) << X << "," << Y;
      }
}

TEST_F(RenderTest, GradientFillsRunInTheirDirection) {
  struct Case {
    TGradientDirection Direction;
    TPoint Dark, Light;  // where the start colour and the end colour show
  };
  const Case Cases[] = {{TGradientDirection::gdLeftRight, {2, 30}, {97, 30}},
                        {TGradientDirection::gdRightLeft, {97, 30}, {2, 30}},
                        {TGradientDirection::gdTopBottom, {50, 2}, {50, 57}},
                        {TGradientDirection::gdBottomTop, {50, 57}, {50, 2}},
                        {TGradientDirection::gdFromTopLeft, {2, 2}, {97, 57}},
                        {TGradientDirection::gdFromBottomLeft, {2, 57}, {97, 2}},
                        {TGradientDirection::gdDiagonalDown, {97, 57}, {2, 2}},
                        {TGradientDirection::gdDiagonalUp, {97, 2}, {2, 57}}};
  for (const Case& C : Cases) {
    // A previous fill in another direction must not decide this one.
    Canvas.GradientFill(Window, White, Black, TGradientDirection::gdFromTopLeft, 50, 0, 0);
    Canvas.GradientFill(Window, Black, White, C.Direction, 50, 0, 0);
    EXPECT_TRUE(Dark(Canvas.GetPixel(C.Dark.X, C.Dark.Y))) << int(C.Direction);
    EXPECT_FALSE(Dark(Canvas.GetPixel(C.Light.X, C.Light.Y))) << int(C.Direction);
    // A brush gradient of the same direction runs the same way.
    TZelBrush B;
    B.GetGradient()->SetStartColor(Black);
    B.GetGradient()->SetEndColor(White);
    B.GetGradient()->SetDirection(C.Direction);
    B.GetGradient()->SetVisible(true);
    Canvas.AssignBrush(&B, White);
    Canvas.AssignVisiblePen(&Clear);
    Canvas.Rectangle(Window);
    EXPECT_TRUE(Dark(Canvas.GetPixel(C.Dark.X, C.Dark.Y))) << "brush " << int(C.Direction);
    EXPECT_FALSE(Dark(Canvas.GetPixel(C.Light.X, C.Light.Y))) << "brush " << int(C.Direction);
  }
  // A middle colour splits the rectangle across the direction.
  TZelGradient G;
  G.SetStartColor(Black);
  G.SetMidColor(Red);
  G.SetEndColor(Blue);
  // Every direction shows start, middle and end colours in its order.
  struct MidCase {
    TGradientDirection Direction;
    TPoint Start, End;
  };
  const MidCase MidCases[] = {{TGradientDirection::gdLeftRight, {1, 30}, {98, 30}},
                              {TGradientDirection::gdRightLeft, {98, 30}, {1, 30}},
                              {TGradientDirection::gdTopBottom, {50, 1}, {50, 58}},
                              {TGradientDirection::gdBottomTop, {50, 58}, {50, 1}}};
  for (const MidCase& C : MidCases) {
    G.SetDirection(C.Direction);
    Canvas.GradientFill(&G, Window);
    const TAlphaColor AtMiddle = Canvas.GetPixel(50, 30);
    EXPECT_GT(RedOf(AtMiddle), 230) << int(C.Direction);
    EXPECT_LT(BlueOf(AtMiddle), 30) << int(C.Direction);
    EXPECT_TRUE(Dark(Canvas.GetPixel(C.Start.X, C.Start.Y))) << int(C.Direction);
    const TAlphaColor AtEnd = Canvas.GetPixel(C.End.X, C.End.Y);
    EXPECT_GT(BlueOf(AtEnd), 200) << int(C.Direction);
    EXPECT_LT(RedOf(AtEnd), 30) << int(C.Direction);
  }
  G.SetDirection(TGradientDirection::gdLeftRight);

  // In monochrome the same fill is grey, and as opaque as its colours.
  Canvas.SetMonochrome(true);
  G.SetMidColor(0);
  G.SetStartColor(Red);
  G.SetEndColor(Red);
  Canvas.GradientFill(&G, Window);
  EXPECT_PRED2(Near, Canvas.GetPixel(50, 30), 0xFF555555);
}

// The column and row of the reddest pixel of the picture.
TPoint Reddest(TZelCanvas3D& Canvas, int Width, int Height) {
  TPoint Best{0, 0};
  int BestRed = -1;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const TAlphaColor C = Canvas.GetPixel(X, Y);
      const int R = RedOf(C) - BlueOf(C);
      if (R > BestRed) BestRed = R, Best = {X, Y};
    }
  return Best;
}

TEST_F(RenderTest, RadialGradientsTurnAboutTheirRotationCentre) {
  // Red in the middle of the circle, blue at its rim; on a square the centre shows where the
  // radial centre and the angle put it: it turns about the point RadialX, RadialY place.
  Canvas.InitWindow(Dest.GetCanvas(), nullptr, White, false, TRectF(0, 0, 60, 60));
  struct Case {
    int RadialX, RadialY, Angle;
    TPoint Centre;
  };
  const Case Cases[] = {{0, 0, 0, {30, 30}},      {20, 0, 0, {30, 30}},  {20, 0, 180, {54, 30}},
                        {20, 0, 90, {42, 18}},    {0, -20, 90, {18, 18}}, {0, 0, 45, {30, 30}}};
  for (const Case& C : Cases) {
    for (bool Brush : {false, true}) {
      TZelGradient G;
      G.SetDirection(TGradientDirection::gdRadial);
      G.SetStartColor(Red);
      G.SetEndColor(Blue);
      G.SetRadialX(C.RadialX);
      G.SetRadialY(C.RadialY);
      G.SetAngle(C.Angle);
      if (Brush) {
        // Through a brush: the gradient's own stops go to the platform fill.
        TZelBrush B;
        B.GetGradient()->Assign(&G);
        B.GetGradient()->SetVisible(true);
        Canvas.AssignBrush(&B, White);
        Canvas.AssignVisiblePen(&Clear);
        Canvas.Rectangle(TRectF(0, 0, 60, 60));
      } else {
        // Through the sub-gradient's two-colour radial fill.
        G.DrawRadial(&Canvas, TRectF(0, 0, 60, 60));
      }
      const TPoint P = Reddest(Canvas, 60, 60);
      EXPECT_NEAR(P.X, C.Centre.X, 2) << C.RadialX << " " << C.RadialY << " " << C.Angle << " "
                                      << Brush;
      EXPECT_NEAR(P.Y, C.Centre.Y, 2) << C.RadialX << " " << C.RadialY << " " << C.Angle << " "
                                      << Brush;
    }
  }
}

TEST_F(RenderTest, RotatedTextTurnsAboutItsOwnPosition) {
  TZelFont F;
  F.SetSizeFloat(16);
  F.SetColor(Black);
  Canvas.AssignFont(&F);
  int W = Canvas.TextWidth("ABC"), H = Canvas.TextHeight("ABC");
  Canvas.RotateLabel(30, 55, "ABC", 90, false);
  Show();
  // Turned counter-clockwise the text runs upwards from (30, 55), its line to the right.
  EXPECT_GT(DarkPixels(TRect(30, 55 - W, 30 + H, 55)), 10);
  EXPECT_EQ(DarkPixels(TRect(0, 0, 29, 60)), 0);
  EXPECT_EQ(DarkPixels(TRect(31 + H, 0, 100, 60)), 0);
  // With a text centre set, it turns about that point instead.
  Canvas.InitWindow(Dest.GetCanvas(), nullptr, White, false, Window);
  Canvas.FillRect(Window);
  Canvas.IUseTextCenter = true;
  Canvas.ITextCenter = {80, 30};
  Canvas.RotateLabel(80, 30, "ABC", 180, false);
  Canvas.IUseTextCenter = false;
  Show();
  EXPECT_GT(DarkPixels(TRect(80 - W, 30 - H, 80, 30)), 10);
  EXPECT_EQ(DarkPixels(TRect(0, 0, 80 - W - 1, 60)), 0);
}

}  // namespace
}  // namespace zel
