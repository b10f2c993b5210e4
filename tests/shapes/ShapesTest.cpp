// Shapes: style switching, rotated hit tests, the speech-bubble outline, layout of child
// shapes and the drawing sequence (transparency, bevel, blending).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ShapeFixture.h"
#include "platform/Filer.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/engine/Shapes.h"

namespace zel {
namespace {

// Paints every pixel it is given blue.
class TBlueFilter : public TZelFilter {
  ZEL_CLASS(TBlueFilter, TZelFilter)
 public:
  explicit TBlueFilter(TCollection* C) : TZelFilter(C) {}
  void Apply(TBitmap* Bitmap, const TRect& R) override {
    for (int Y = R.Top; Y <= R.Bottom; ++Y)
      for (int X = R.Left; X <= R.Right; ++X) Bitmap->SetPixel(X, Y, 0xFF0000FF);
  }
};
ZEL_DEFINE_CLASS(TBlueFilter, TZelFilter)

TEST(Shape, RoundSizeAboveZeroMakesARoundedRectangle) {
  struct Case {
    TChartObjectShapeStyle Start;
    int RoundSize;
    TChartObjectShapeStyle Expected;
  } Cases[] = {
      {TChartObjectShapeStyle::fosRectangle, 0, TChartObjectShapeStyle::fosRectangle},
      {TChartObjectShapeStyle::fosRectangle, 5, TChartObjectShapeStyle::fosRoundRectangle},
      {TChartObjectShapeStyle::fosEllipse, 5, TChartObjectShapeStyle::fosRoundRectangle},
      {TChartObjectShapeStyle::fosEllipse, -3, TChartObjectShapeStyle::fosEllipse},
  };
  for (const auto& C : Cases) {
    TOwned<TZelShape> S(Create<TZelShape>(nullptr));
    S->SetShapeStyle(C.Start);
    S->SetRoundSize(C.RoundSize);
    EXPECT_EQ(S->GetShapeStyle(), C.Expected) << C.RoundSize;
  }
}

TEST(Shape, RotatedShapeIsHitInsideItsTurnedOutline) {
  TOwned<TZelShape> S(Create<TZelShape>(nullptr));
  const TRectF R(0, 0, 100, 20);
  struct Case {
    int Angle;
    TPointF P;
    bool Hit;
  } Cases[] = {
      {0, {95, 2}, true},     // corner of the plain rectangle
      {30, {50, 10}, true},   // centre
      {30, {95, 2}, false},   // inside the bounds, outside the turned outline
      {30, {90, -15}, true},  // the turned right end lies above the bounds
      {390, {90, -15}, true}, // angles count modulo 360
  };
  for (const auto& C : Cases) {
    S->InitAngle(C.Angle);
    EXPECT_EQ(S->ClickedShape(C.P, R), C.Hit) << C.Angle << " at " << C.P.X << "," << C.P.Y;
  }
}

TEST(Shape, FourPointsTurnCounterClockwiseAboutTheCentre) {
  const auto P = RectToFourPoints(TRectF(0, 0, 20, 10), 90);
  // Top-left (-10, -5 from the centre) goes to bottom-left of the turned box.
  EXPECT_NEAR(P[0].X, 5, 1e-4);
  EXPECT_NEAR(P[0].Y, 15, 1e-4);
  EXPECT_NEAR(P[1].X, 5, 1e-4);  // top-right to top-left
  EXPECT_NEAR(P[1].Y, -5, 1e-4);
}

// A path that records its calls.
class TPathLog : public TZelBasePath {
 public:
  struct Step {
    char Op;  // 'M' move, 'L' line, 'A' arc, 'C' close
    float X, Y;
  };
  void ArcTo(float X, float Y, float, float, float, float) override { Steps.push_back({'A', X, Y}); }
  void Close() override { Steps.push_back({'C', 0, 0}); }
  void Curve(const TPointF*, int, float, bool) override {}
  void Draw(TZelCanvas*) override {}
  void LineTo(float X, float Y) override { Steps.push_back({'L', X, Y}); }
  void MoveTo(float X, float Y) override { Steps.push_back({'M', X, Y}); }
  std::vector<Step> Steps;
};

TEST(ShapeCallout, BottomPointerRunsRightToLeftWithItsTipBelow) {
  TOwned<TZelShape> S(Create<TZelShape>(nullptr));
  TShapeCallout* C = S->GetShapeCallout();
  C->SetSide(TShapeCalloutSide::csBottom);
  TPathLog Path;
  C->AddPath(&Path, TRectF(10, 20, 110, 60), 0);
  // Move, top, right, then the pointer: base from Left + 60 to Left + 40, tip at (Left + 50, Bottom + 10).
  std::vector<TPathLog::Step> Want = {{'M', 10, 20}, {'L', 110, 20}, {'L', 110, 60}, {'L', 70, 60},
                                      {'L', 60, 70}, {'L', 50, 60},  {'L', 10, 60},  {'C', 0, 0}};
  ASSERT_EQ(Path.Steps.size(), Want.size());
  for (std::size_t I = 0; I < Want.size(); ++I) {
    EXPECT_EQ(Path.Steps[I].Op, Want[I].Op) << I;
    EXPECT_FLOAT_EQ(Path.Steps[I].X, Want[I].X) << I;
    EXPECT_FLOAT_EQ(Path.Steps[I].Y, Want[I].Y) << I;
  }
}

TEST(ShapeCallout, PointerPushedPastAnEndStaysOnItsSide) {
  const TRectF R(0, 0, 100, 40);
  struct Case {
    TShapeCalloutSide Side;
    int Position;
  } Cases[] = {{TShapeCalloutSide::csTop, 500},    {TShapeCalloutSide::csTop, -500},
               {TShapeCalloutSide::csBottom, 500}, {TShapeCalloutSide::csRight, 500},
               {TShapeCalloutSide::csLeft, -500}};
  for (const auto& C : Cases) {
    TOwned<TZelShape> S(Create<TZelShape>(nullptr));
    S->GetShapeCallout()->SetSide(C.Side);
    S->GetShapeCallout()->SetPosition(C.Position);
    TPathLog Path;
    S->GetShapeCallout()->AddPath(&Path, R, 0);
    const bool Horizontal = C.Side == TShapeCalloutSide::csTop || C.Side == TShapeCalloutSide::csBottom;
    for (const auto& Step : Path.Steps) {
      if (Step.Op != 'L') continue;
      // Every vertex along the side stays within the side's ends; only the tip leaves the box.
      if (Horizontal) {
        EXPECT_GE(Step.X, R.Left) << int(C.Side) << " " << C.Position;
        EXPECT_LE(Step.X, R.Right) << int(C.Side) << " " << C.Position;
      } else {
        EXPECT_GE(Step.Y, R.Top) << int(C.Side) << " " << C.Position;
        EXPECT_LE(Step.Y, R.Bottom) << int(C.Side) << " " << C.Position;
      }
    }
  }
}

TEST(ShapeCallout, RoundedOutlineIsOneFigure) {
  TOwned<TZelShape> S(Create<TZelShape>(nullptr));
  for (auto Side : {TShapeCalloutSide::csTop, TShapeCalloutSide::csRight, TShapeCalloutSide::csBottom,
                    TShapeCalloutSide::csLeft}) {
    S->GetShapeCallout()->SetSide(Side);
    TPathLog Path;
    S->GetShapeCallout()->AddPath(&Path, TRectF(0, 0, 100, 40), 8);
    int Moves = 0;
    for (const auto& Step : Path.Steps) Moves += Step.Op == 'M';
    EXPECT_EQ(Moves, 1) << "a second move would split the fill; side " << int(Side);
  }
}

TEST(ShapeLayout, AutoSizedShapeGrowsByItsVisibleChildren) {
  struct Case {
    TZelShapeLayout Layout;
    float W, H;
  } Cases[] = {{TZelShapeLayout::slTopBottom, 60, 50}, {TZelShapeLayout::slLeftRight, 100, 30}};
  for (const auto& C : Cases) {
    TOwned<TZelShape> S(Create<TZelShape>(nullptr));
    S->SetChildLayout(C.Layout);
    S->ShapeBounds = TRectF(10, 10, 500, 500);
    const float Sizes[][2] = {{40, 20}, {60, 30}, {80, 80}};
    for (const auto& Size : Sizes) {
      TZelCustomShape* Child = S->GetChildren()->Add()->GetShape();
      Child->SetAutoSize(false);
      Child->ShapeBounds = TRectF(0, 0, Size[0], Size[1]);
    }
    S->GetChildren()->Get(2)->GetShape()->Hide();
    S->CalcBounds(nullptr);
    EXPECT_EQ(S->ShapeBounds, TRectF(10, 10, 10 + C.W, 10 + C.H)) << int(C.Layout);
  }
}

TEST(ShapeLayout, ChildrenAreCreatedTransparentOnTheOwnersPanel) {
  TOwned<TZelShape> S(Create<TZelShape>(nullptr));
  TZelCustomShape* Child = S->GetChildren()->Add()->GetShape();
  EXPECT_TRUE(Child->GetTransparent());
  EXPECT_FALSE(Child->IsTransparentStored());
}

TEST(Shape, AssignCopiesSettingsChildrenAndSurvivesItself) {
  TOwned<TZelShape> A(Create<TZelShape>(nullptr));
  A->SetAngle(15);
  A->SetRoundSize(6);
  A->SetColor(0xFF010203);
  A->GetShapeCallout()->SetSide(TShapeCalloutSide::csLeft);
  A->GetChildren()->Add()->GetShape()->SetColor(0xFF0A0B0C);
  A->Assign(A.get());
  ASSERT_EQ(A->GetChildren()->GetCount(), 1) << "assigning a shape to itself keeps its children";

  TOwned<TZelShape> B(Create<TZelShape>(nullptr));
  B->Assign(A.get());
  EXPECT_EQ(B->GetAngle(), 15);
  EXPECT_EQ(B->GetRoundSize(), 6);
  EXPECT_EQ(B->GetShapeStyle(), TChartObjectShapeStyle::fosRoundRectangle);
  EXPECT_EQ(B->GetColor(), 0xFF010203u);
  ASSERT_NE(B->ExistingShapeCallout(), nullptr);
  EXPECT_EQ(B->ExistingShapeCallout()->GetSide(), TShapeCalloutSide::csLeft);
  ASSERT_EQ(B->GetChildren()->GetCount(), 1);
  EXPECT_EQ(B->GetChildren()->Get(0)->GetShape()->GetColor(), 0xFF0A0B0Cu);
  EXPECT_NE(B->GetChildren()->Get(0)->GetShape(), A->GetChildren()->Get(0)->GetShape());
}

// Reads the legacy shadow properties from a stream holding Name = Value pairs.
void ReadLegacy(TZelShape* S, const std::function<void(TWriter&)>& Fill) {
  TMemoryStream M;
  {
    TWriter W(&M);
    Fill(W);
    W.WriteListEnd();
  }
  M.SetPosition(0);
  TReader R(&M);
  R.ReadProperties(S);
  R.ReadListEnd();
}

TEST(Shape, LegacyShadowPropertiesAreReadNotWritten) {
  TOwned<TZelShape> S(Create<TZelShape>(nullptr));
  ReadLegacy(S.get(), [](TWriter& W) {
    W.WritePropName("ShadowColor");
    W.WriteIdent("clRed");
    W.WritePropName("ShadowSize");
    W.WriteInteger(7);
  });
  EXPECT_EQ(S->GetShadowColor(), 0xFFFF0000u);
  EXPECT_EQ(S->GetShadowSize(), 7);
  ReadLegacy(S.get(), [](TWriter& W) {
    W.WritePropName("ShadowColor");
    W.WriteInteger(0x0000FF);  // stored as 0x00BBGGRR: red
  });
  EXPECT_EQ(S->GetShadowColor(), 0xFFFF0000u);

  TMemoryStream Out;
  TWriter W(&Out);
  W.WriteProperties(S.get());
  const String Written(Out.GetBytes().begin(), Out.GetBytes().end());
  EXPECT_EQ(Written.find("ShadowColor"), String::npos) << "never written";
  EXPECT_EQ(Written.find("ShadowSize"), String::npos) << "never written";
  EXPECT_NE(Written.find("Shadow.Color"), String::npos) << "the value travels under its present name";

  EXPECT_THROW(ReadLegacy(S.get(),
                          [](TWriter& W) {
                            W.WritePropName("ShadowColor");
                            W.WriteIdent("clNoSuchColour");
                          }),
               EReadError);
  EXPECT_THROW(ReadLegacy(S.get(),
                          [](TWriter& W) {
                            W.WritePropName("ShadowSize");
                            W.WriteString("big");
                          }),
               EReadError);
}

// --- drawing ---

using ShapeDraw = ShapeFixture;

TEST_F(ShapeDraw, TransparentShapeDrawsOnlyItsChildren) {
  TOwned<TZelShape> S(Create<TZelShape>(Panel.get()));
  S->SetBevel(TPanelBevel::bvRaised);
  S->GetShadow()->SetSize(4);
  TZelCustomShape* Child = S->GetChildren()->Add()->GetShape();
  Child->SetTransparent(false);
  Child->SetAutoSize(false);
  Child->ShapeBounds = TRectF(0, 0, 20, 10);
  Child->GetShadow()->SetSize(0);
  Child->GetPen()->Hide();

  S->ShapeBounds = TRectF(50, 50, 150, 100);
  S->SetTransparent(true);
  Rec.ClearRecords();
  S->Draw();
  // Only the child's fill: no frame, shadow or bevel of the parent.
  const auto Fills = Records(TRecordKind::FillRect);
  ASSERT_EQ(Fills.size(), 1u);
  EXPECT_EQ(Fills[0].Rect, TRectF(50, 50, 70, 60));
  EXPECT_TRUE(Records(TRecordKind::DrawRect).empty());

  S->SetTransparent(false);
  Rec.ClearRecords();
  S->Draw();
  EXPECT_GT(Records(TRecordKind::FillRect).size(), 1u) << "an opaque shape fills and frames itself too";
}

TEST_F(ShapeDraw, BevelOnlyWhenNotRotated) {
  auto Count = [&](int Angle, TPanelBevel Bevel) {
    TOwned<TZelShape> S(Create<TZelShape>(Panel.get()));
    S->GetShadow()->SetSize(0);
    S->SetBevel(Bevel);
    Rec.ClearRecords();
    S->Draw(TRectF(50, 50, 150, 100), Angle, 0);
    return Rec.GetRecords().size();
  };
  EXPECT_GT(Count(0, TPanelBevel::bvRaised), Count(0, TPanelBevel::bvNone));
  EXPECT_EQ(Count(30, TPanelBevel::bvRaised), Count(30, TPanelBevel::bvNone));
}

TEST_F(ShapeDraw, PictureFillsTheFrameInsteadOfTheBrush) {
  struct Case {
    TChartObjectShapeStyle Style;
    bool Clipped;
  } Cases[] = {{TChartObjectShapeStyle::fosRectangle, false}, {TChartObjectShapeStyle::fosEllipse, true}};
  for (const auto& C : Cases) {
    TOwned<TZelShape> S(Create<TZelShape>(Panel.get()));
    S->GetShadow()->SetSize(0);
    S->GetPen()->Hide();
    S->SetShapeStyle(C.Style);
    S->GetPicture()->SetSize(4, 4);
    Rec.ClearRecords();
    S->Draw(TRectF(10, 10, 50, 30), 0, 0);
    const auto Pictures = Records(TRecordKind::DrawBitmap);
    ASSERT_EQ(Pictures.size(), 1u) << int(C.Style);
    EXPECT_EQ(Pictures[0].Rect, TRectF(10, 10, 50, 30));
    EXPECT_EQ(Pictures[0].Clipped, C.Clipped) << int(C.Style);
    for (const auto& R : Rec.GetRecords()) {
      if (R.Kind == TRecordKind::FillRect || R.Kind == TRecordKind::FillEllipse) {
        EXPECT_EQ(R.BrushKind, TBrushKind::None) << "no fill over the picture";
      }
    }
    S->SetPicture(nullptr);
    EXPECT_EQ(S->ExistingPicture(), nullptr);
  }
}

// A child that notes the canvas' blending state while it draws.
class TProbeShape : public TZelShape {
 public:
  using TZelShape::TZelShape;
  void DoDraw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ) override {
    Depths.push_back(Panel->GetCanvas()->TranspStackDepth());
    TZelShape::DoDraw(Panel, R, Angle, AZ);
  }
  static std::vector<int> Depths;
};
std::vector<int> TProbeShape::Depths;

class TProbeParent : public TZelShape {
 public:
  using TZelShape::TZelShape;
  TZelCustomShapeClass GetChildClass() const override { return ShapeClassOf<TProbeShape>(); }
};

TEST_F(ShapeDraw, TransparencyBlendsShapeAndChildrenInOneBracket) {
  TOwned<TProbeParent> S(Create<TProbeParent>(Panel.get()));
  S->GetChildren()->IShapeClass = S->GetChildClass();
  TZelCustomShape* Child = S->GetChildren()->Add()->GetShape();
  Child->SetAutoSize(false);
  Child->ShapeBounds = TRectF(0, 0, 10, 10);
  S->SetTransparency(50);
  TProbeShape::Depths.clear();
  S->Draw(TRectF(0, 0, 100, 50), 0, 0);
  EXPECT_EQ(TProbeShape::Depths, std::vector<int>{1});
  EXPECT_EQ(Canvas()->TranspStackDepth(), 0) << "the bracket is closed after drawing";
}

TEST_F(ShapeDraw, SettersRepaintOnlyOnChange) {
  TOwned<TZelShape> S(Create<TZelShape>(Panel.get()));
  Panel->Invalidates = 0;
  S->SetAngle(0);
  S->SetColor(S->GetColor());
  S->SetVisible(true);
  EXPECT_EQ(Panel->Invalidates, 0);
  S->SetAngle(10);
  S->SetColor(0xFF112233);
  S->GetPen()->SetWidth(3);
  S->GetShapeCallout()->SetSide(TShapeCalloutSide::csTop);
  EXPECT_EQ(Panel->Invalidates, 4);
}

// A translucent shape whose picture has filters and no image: the filters work on the blended
// area, nothing outside it; an opaque shape or one with an image of its own leaves them out.
using ShapePixels = PixelFixture;

TEST_F(ShapePixels, PictureFiltersApplyToTheBlendedArea) {
  struct Case {
    const char* Name;
    int Transparency;
    bool OwnImage;
    bool Filtered;
  };
  for (const Case& C : {Case{"translucent", 50, false, true}, Case{"opaque", 0, false, false},
                        Case{"with an image", 50, true, false}}) {
    SetUp();
    TOwned<TZelShape> S(Create<TZelShape>(Panel.get()));
    S->GetShadow()->SetVisible(false);
    S->SetColor(0xFFFF0000);
    S->SetTransparency(C.Transparency);
    S->GetPicture()->GetFilters()->Add(ItemClassOf<TBlueFilter>());
    if (C.OwnImage) {
      S->GetPicture()->SetSize(4, 4);
      S->GetPicture()->Clear(0xFF00FF00);
    }
    S->Draw(Panel.get(), TRectF(20, 10, 60, 40), 0, 0);
    Show();
    EXPECT_EQ(Count(0xFF0000FF, 20, 10, 60, 40) == 40 * 30, C.Filtered) << C.Name;
    EXPECT_EQ(Count(0xFF0000FF, 0, 0, 100, 60), C.Filtered ? 40 * 30 : 0) << C.Name << ": only the area";
  }
}

}  // namespace
}  // namespace zel
