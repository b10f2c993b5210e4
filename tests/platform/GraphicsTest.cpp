#include <gtest/gtest.h>

#include <utility>

#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Services.h"

using namespace zel;

namespace {

TEST(GraphicsTest, AlphaColorRecSplitsAndJoinsChannels) {
  TAlphaColorRec R(0x80FF4020);
  EXPECT_EQ(0x80, R.A);
  EXPECT_EQ(0xFF, R.R);
  EXPECT_EQ(0x40, R.G);
  EXPECT_EQ(0x20, R.B);
  EXPECT_EQ(0x80FF4020u, R.Color());
  EXPECT_EQ(0xFF102030u, MakeColor(0x10, 0x20, 0x30));
}

TEST(GraphicsTest, ColorWithOpacityScalesAlphaOnly) {
  struct Case {
    TAlphaColor C;
    float Opacity;
    TAlphaColor Expected;
  } Cases[] = {
      {0xFF336699, 1, 0xFF336699}, {0xFF336699, 0.5f, 0x80336699}, {0xFF336699, 0, 0x00336699},
      {0xFF336699, -3, 0x00336699}, {0xFF336699, 7, 0xFF336699},   {0x80336699, 0.5f, 0x40336699},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Expected, ColorWithOpacity(C.C, C.Opacity)) << C.Opacity;
}

TEST(GraphicsTest, StringToAlphaColorReadsNamesAndNumbers) {
  const std::pair<const char*, TAlphaColor> Colours[] = {
      {"RED", 0xFFFF0000},       {"claBlue", 0xFF0000FF},     {"#00FF00", 0xFF00FF00},
      {"#80112233", 0x80112233}, {"$FF102030", 0xFF102030},   {"-16777216", 0xFF000000},
      {"16711680", 0x00FF0000},  {" -1 ", 0xFFFFFFFF},        {"Null", 0x00000000},
      {"transparent", 0x00000000}, {"DARKSLATEGRAY", 0xFF2F4F4F}, {"darkgrey", 0xFFA9A9A9},
      {"claMediumSeaGreen", 0xFF3CB371}, {"Teal", 0xFF008080}, {"papayawhip", 0xFFFFEFD5},
  };
  for (const auto& [In, Out] : Colours) EXPECT_EQ(StringToAlphaColor(In), Out) << In;
  for (const char* Bad : {"", "NOCOLOUR", "#GG0000", "#123456789", "12a", "99999999999", "-",
                          "cla", "#"})
    EXPECT_THROW(StringToAlphaColor(Bad), EConvertError) << Bad;
  TAlphaColor C = 1;
  EXPECT_FALSE(IdentToAlphaColor("#FF0000", C));
  EXPECT_EQ(C, 1u);
}

TEST(GraphicsTest, GradientInterpolatesOverSortedStops) {
  TGradient G;
  G.GetPoints().Clear();
  G.GetPoints().Add(0xFF0000FF, 1);
  G.GetPoints().Add(0xFFFF0000, 0);
  G.GetPoints().Add(0xFF00FF00, 0.5f);
  EXPECT_EQ(0xFFFF0000u, G.InterpolateColor(-1));
  EXPECT_EQ(0xFF00FF00u, G.InterpolateColor(0.5f));
  EXPECT_EQ(0xFF0000FFu, G.InterpolateColor(2));
  EXPECT_EQ(MakeColor(0x80, 0x80, 0), G.InterpolateColor(0.25f));
}

TEST(GraphicsTest, GradientTwoColourForm) {
  TGradient G;
  EXPECT_EQ(TAlphaColors::Black, G.GetColor());
  EXPECT_EQ(TAlphaColors::White, G.GetColor1());
  G.GetPoints().Add(TAlphaColors::Red, 0.5f);
  // Setting a colour of the two-colour form makes it two stops at 0 and 1 again.
  G.SetColor1(TAlphaColors::Blue);
  ASSERT_EQ(2, G.GetPoints().GetCount());
  EXPECT_EQ(TAlphaColors::Black, G.GetPoints()[0].GetColor());
  EXPECT_EQ(1, G.GetPoints()[1].GetOffset());
  EXPECT_EQ(TAlphaColors::Blue, G.GetColor1());
  EXPECT_THROW(G.GetPoints().GetItem(2), EListError);
}

TEST(GraphicsTest, BrushNotifiesOnRealChangesOnly) {
  TBrush B;
  int Calls = 0;
  B.OnChanged = [&](TObject* S) {
    EXPECT_EQ(&B, S);
    ++Calls;
  };
  B.SetColor(B.GetColor());
  B.SetKind(TBrushKind::Solid);
  EXPECT_EQ(0, Calls);
  B.SetColor(TAlphaColors::Red);
  B.GetGradient()->GetPoints()[0].SetColor(TAlphaColors::Blue);  // a stop change reaches it
  EXPECT_EQ(2, Calls);
}

TEST(GraphicsTest, StrokeAssignKeepsItsOwnHandlerAndCopiesStrokeSettings) {
  TStrokeBrush A, B;
  A.SetThickness(3);
  A.SetDash(TStrokeDash::DashDot);
  A.SetColor(TAlphaColors::Red);
  int Calls = 0;
  B.OnChanged = [&](TObject*) { ++Calls; };
  B.Assign(&A);
  EXPECT_EQ(1, Calls);
  EXPECT_EQ(3, B.GetThickness());
  EXPECT_EQ(TStrokeDash::DashDot, B.GetDash());
  EXPECT_EQ(TAlphaColors::Red, B.GetColor());
  EXPECT_TRUE(static_cast<bool>(B.OnChanged));

  // From a plain brush only kind and colour travel.
  TBrush Plain(TBrushKind::Gradient, TAlphaColors::Lime);
  B.Assign(&Plain);
  EXPECT_EQ(TBrushKind::Gradient, B.GetKind());
  EXPECT_EQ(3, B.GetThickness());
}

TEST(GraphicsTest, DashPatterns) {
  TStrokeBrush S;
  EXPECT_TRUE(S.GetDashArray().empty());
  S.SetCustomDash({1, 4}, 2);
  EXPECT_EQ(TStrokeDash::Custom, S.GetDash());
  EXPECT_EQ((std::vector<float>{1, 4}), S.GetDashArray());
  EXPECT_EQ(2, S.GetCustomDashOffset());
}

TEST(GraphicsTest, FontStartsWithTheSystemFontAndNotifies) {
  TFont F;
  EXPECT_EQ("DejaVu Sans", F.GetFamily());
  EXPECT_EQ(12, F.GetSize());
  int Calls = 0;
  F.OnChanged = [&](TObject*) { ++Calls; };
  F.SetSize(12);
  F.SetStyle({TFontStyle::fsBold});
  F.SetFamily("DejaVu Serif");
  EXPECT_EQ(2, Calls);
  TFont G;
  G.Assign(&F);
  EXPECT_TRUE(G.Equals(F));
  TBrush NotAFont;
  EXPECT_THROW(G.Assign(&NotAFont), EConvertError);
}

TEST(GraphicsTest, FontWithoutServiceFallsBack) {
  ISystemFontService* Old = TPlatformServices::Current().SetSystemFontService(nullptr);
  TFont F;
  TPlatformServices::Current().SetSystemFontService(Old);
  EXPECT_EQ("DejaVu Sans", F.GetFamily());
  EXPECT_EQ(12, F.GetSize());
}

TEST(GraphicsTest, ArcRunsClockwiseOnScreenInDegrees) {
  TPathData P;
  P.AddArc({100, 100}, {10, 20}, 0, 90);
  EXPECT_EQ(TPathPointKind::MoveTo, P.GetPoint(0).Kind);
  EXPECT_NEAR(110, P.GetPoint(0).Point.X, 1e-4);  // 3 o'clock
  EXPECT_NEAR(100, P.GetPoint(0).Point.Y, 1e-4);
  TPointF End = P.GetLastPoint();
  EXPECT_NEAR(100, End.X, 1e-4);  // 6 o'clock: below the centre
  EXPECT_NEAR(120, End.Y, 1e-4);
  // The quarter bulges towards the lower right.
  TRectF B = P.GetBounds();
  EXPECT_NEAR(100, B.Left, 1e-3);
  EXPECT_NEAR(110, B.Right, 1e-3);
  EXPECT_NEAR(100, B.Top, 1e-3);
  EXPECT_NEAR(120, B.Bottom, 1e-3);
}

TEST(GraphicsTest, ArcAfterAPointStartsWithALine) {
  TPathData P;
  P.MoveTo({0, 0});
  P.AddArc({50, 50}, {10, 10}, 180, -90);  // counter-clockwise from 9 down to 6 o'clock
  EXPECT_EQ(TPathPointKind::LineTo, P.GetPoint(1).Kind);
  EXPECT_NEAR(40, P.GetPoint(1).Point.X, 1e-4);
  EXPECT_NEAR(50, P.GetLastPoint().X, 1e-4);
  EXPECT_NEAR(60, P.GetLastPoint().Y, 1e-4);
}

TEST(GraphicsTest, BoundsAreTightAroundCurves) {
  TPathData P;
  P.AddEllipse({10, 20, 50, 40});
  TRectF B = P.GetBounds();
  EXPECT_NEAR(10, B.Left, 1e-3);
  EXPECT_NEAR(20, B.Top, 1e-3);
  EXPECT_NEAR(50, B.Right, 1e-3);
  EXPECT_NEAR(40, B.Bottom, 1e-3);
  EXPECT_EQ(TPathPointKind::Close, P.GetPoint(P.GetCount() - 1).Kind);
  EXPECT_EQ(TRectF(), TPathData().GetBounds());
}

TEST(GraphicsTest, RectangleCorners) {
  TPathData Square;
  Square.AddRectangle({0, 0, 10, 10}, 0, 0);
  EXPECT_EQ(5, Square.GetCount());  // four corners and the close
  EXPECT_EQ(TRectF(0, 0, 10, 10), Square.GetBounds());

  TPathData Round;
  Round.AddRectangle({0, 0, 10, 10}, 30, 3, {TCorner::TopLeft});  // radius clamped to 5
  EXPECT_EQ(TPointF(0, 3), Round.GetPoint(0).Point);
  EXPECT_EQ(TRectF(0, 0, 10, 10), Round.GetBounds());
}

TEST(GraphicsTest, LineAfterCloseContinuesFromTheFigureStart) {
  TPathData P;
  P.MoveTo({1, 1});
  P.LineTo({5, 1});
  P.ClosePath();
  P.LineTo({9, 9});
  EXPECT_EQ(TPathPointKind::MoveTo, P.GetPoint(3).Kind);
  EXPECT_EQ(TPointF(1, 1), P.GetPoint(3).Point);
  P.Translate(1, 2);
  EXPECT_EQ(TPointF(10, 11), P.GetLastPoint());
}

}  // namespace
