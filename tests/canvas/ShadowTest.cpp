#include <gtest/gtest.h>

#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/Shadow.h"

using namespace zel;

namespace {

class ShadowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Rec.reset(new TRecordingCanvas(200, 200));
    Canvas.reset(Create<TZelCanvas3D>());
    Canvas->SetCanvas(Rec.get());
    Rec->ClearRecords();
  }
  std::vector<TCanvasRecord> Fills() const { return Rec->RecordsOf(TRecordKind::FillPath); }

  TOwned<TRecordingCanvas> Rec;
  TOwned<TZelCanvas3D> Canvas;
};

TEST_F(ShadowTest, DefaultsOfShadowAndEmboss) {
  TZelShadow S;
  EXPECT_TRUE(S.GetVisible());
  EXPECT_EQ(S.Factor(), 1);
  TZelEmboss E;
  EXPECT_FALSE(E.GetVisible());
  EXPECT_FALSE(E.IsVisibleStored());
  EXPECT_EQ(E.GetColor(), 0xFFC0C0C0u);
  EXPECT_EQ(E.GetSize(), 0);
  EXPECT_EQ(E.GetTransparency(), 50);
  EXPECT_TRUE(E.GetSmooth());
  EXPECT_EQ(E.Factor(), -1);
  E.SetHorizSize(3);
  E.SetVertSize(-2);
  EXPECT_EQ(E.OffsetRectangle(TRectF(10, 10, 20, 20)), TRectF(7, 12, 17, 22));
  EXPECT_EQ(S.OffsetRectangle(TRectF(10, 10, 20, 20)), TRectF(10, 10, 20, 20));
}

TEST_F(ShadowTest, SizeIsTheLargerOffsetAndSetsBoth) {
  int Changes = 0;
  TZelShadow S([&](TObject* Sender) {
    EXPECT_NE(Sender, nullptr);
    ++Changes;
  });
  S.SetHorizSize(-3);
  S.SetVertSize(2);
  EXPECT_EQ(S.GetSize(), 3);
  Changes = 0;
  S.SetSize(5);
  EXPECT_EQ(S.GetHorizSize(), 5);
  EXPECT_EQ(S.GetVertSize(), 5);
  EXPECT_EQ(Changes, 2);
  S.SetSize(5);
  S.SetColor(S.GetColor());
  EXPECT_EQ(Changes, 2);  // unchanged values notify nothing
  S.SetTransparency(200);
  EXPECT_EQ(S.GetTransparency(), 100);
  S.SetHorizSize(-2147483647 - 1);
  EXPECT_EQ(S.GetSize(), 2147483647);
}

TEST_F(ShadowTest, StoredOnlyWhenDifferentFromTheInitialValues) {
  TZelShadow S;
  S.InitValues(false, 0xFFFF0000, 2);
  EXPECT_FALSE(S.IsVisibleStored());
  EXPECT_FALSE(S.IsColorStored());
  EXPECT_FALSE(S.IsHorizStored());
  EXPECT_FALSE(S.IsVertStored());
  S.SetVisible(true);
  S.SetColor(0xFFC0C0C0);
  S.SetVertSize(0);
  EXPECT_TRUE(S.IsVisibleStored());
  EXPECT_TRUE(S.IsColorStored());
  EXPECT_FALSE(S.IsHorizStored());
  EXPECT_TRUE(S.IsVertStored());
}

TEST_F(ShadowTest, AssignCopiesTheLookButNotClipOrDefaults) {
  TZelShadow From;
  From.SetClip(true);
  From.SetColor(0xFF102030);
  From.SetHorizSize(4);
  From.SetVertSize(-1);
  From.SetSmooth(false);
  From.SetSmoothBlur(7);
  From.SetTransparency(20);
  From.SetVisible(false);
  int Changes = 0;
  TZelEmboss To([&](TObject*) { ++Changes; });
  To.Assign(&From);
  EXPECT_EQ(Changes, 0);
  EXPECT_FALSE(To.GetClip());
  EXPECT_EQ(To.GetColor(), 0xFF102030u);
  EXPECT_EQ(To.GetHorizSize(), 4);
  EXPECT_EQ(To.GetVertSize(), -1);
  EXPECT_FALSE(To.GetSmooth());
  EXPECT_EQ(To.GetSmoothBlur(), 7);
  EXPECT_EQ(To.GetTransparency(), 20);
  EXPECT_FALSE(To.GetVisible());
  EXPECT_FALSE(To.GetDefaultVisible());
  EXPECT_EQ(To.Factor(), -1);
}

TEST_F(ShadowTest, RectToFourPointsTurnsAboutTheCentre) {
  struct Case {
    double Angle;
    TPointF P[4];
  };
  const Case Cases[] = {
      {0, {{0, 0}, {20, 0}, {20, 10}, {0, 10}}},
      {90, {{5, 15}, {5, -5}, {15, -5}, {15, 15}}},
      {180, {{20, 10}, {0, 10}, {0, 0}, {20, 0}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Angle);
    const auto P = TZelShadow::RectToFourPoints(TRectF(0, 0, 20, 10), C.Angle);
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(P[i].X, C.P[i].X, 1e-4) << i;
      EXPECT_NEAR(P[i].Y, C.P[i].Y, 1e-4) << i;
    }
  }
}

TEST_F(ShadowTest, NothingIsDrawnWithoutColourOrOffset) {
  struct Case {
    TAlphaColor Color;
    int H, V;
  };
  const Case Cases[] = {{0, 3, 3}, {0xFF000000, 0, 0}};
  const TPointF Poly[] = {{0, 0}, {10, 0}, {5, 8}};
  for (const Case& C : Cases) {
    TZelShadow S;
    S.SetColor(C.Color);
    S.SetHorizSize(C.H);
    S.SetVertSize(C.V);
    Rec->ClearRecords();
    EXPECT_FALSE(S.PrepareCanvas(Canvas.get(), TRectF(), 0));
    S.Draw(Canvas.get(), TRectF(10, 10, 50, 30));
    S.Draw(Canvas.get(), Poly, 3);
    S.DrawEllipse(Canvas.get(), TRectF(10, 10, 50, 30));
    EXPECT_TRUE(Rec->GetRecords().empty());
    EXPECT_EQ(Canvas->TranspStackDepth(), 0);
  }
}

TEST_F(ShadowTest, FillsAtTheCombinedTransparencyAndRestoresIt) {
  struct Case {
    int ShadowTransparency;
    int CanvasTransparency;
    bool Nested;  // the canvas value comes from an enclosing blend
    float Opacity;
  };
  const Case Cases[] = {
      {0, 30, false, 0.7f},  // a shadow of transparency 0 keeps the canvas value
      {50, 0, false, 0.5f},
      {50, 50, true, 0.25f},
      {0, 0, false, 1.0f},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.ShadowTransparency << "/" << C.CanvasTransparency);
    if (C.Nested)
      Canvas->BeginBlending(TRectF(), static_cast<std::int8_t>(C.CanvasTransparency));
    else
      Canvas->SetTransparency(C.CanvasTransparency);
    const int Depth = Canvas->TranspStackDepth();
    TZelShadow S;
    S.SetTransparency(static_cast<TZelTransparency>(C.ShadowTransparency));
    S.SetSize(3);
    Rec->ClearRecords();
    S.Draw(Canvas.get(), TRectF(10, 10, 50, 30));
    const auto F = Fills();
    ASSERT_EQ(F.size(), 1u);
    EXPECT_NEAR(F[0].Opacity, C.Opacity, 1e-6);
    EXPECT_EQ(Canvas->GetTransparency(), C.CanvasTransparency);
    EXPECT_EQ(Canvas->TranspStackDepth(), Depth);
    if (C.Nested) Canvas->EndBlending(nullptr);
    Canvas->SetTransparency(0);
  }
}

TEST_F(ShadowTest, EmbossFallsOppositeTheShadowForEveryShape) {
  const TPointF Poly[] = {{10, 10}, {50, 10}, {30, 30}};
  enum class Shape { Rect, Turned, Polygon, Ellipse };
  for (bool Emboss : {false, true}) {
    for (Shape Sh : {Shape::Rect, Shape::Turned, Shape::Polygon, Shape::Ellipse}) {
      SCOPED_TRACE(testing::Message() << "emboss " << Emboss << " shape " << int(Sh));
      TOwned<TZelShadow> S(Emboss ? new TZelEmboss() : new TZelShadow());
      S->SetVisible(true);
      S->SetHorizSize(3);
      S->SetVertSize(4);
      const float D = Emboss ? -1.0f : 1.0f;
      Rec->ClearRecords();
      switch (Sh) {
        case Shape::Rect: S->Draw(Canvas.get(), TRectF(10, 10, 50, 30)); break;
        case Shape::Turned: S->Draw(Canvas.get(), TRectF(10, 10, 50, 30), 0, 180); break;
        case Shape::Polygon: S->Draw(Canvas.get(), Poly, 3); break;
        case Shape::Ellipse: S->DrawEllipse(Canvas.get(), TRectF(10, 10, 50, 30)); break;
      }
      const auto F = Fills();
      ASSERT_EQ(F.size(), 1u);
      EXPECT_NEAR(F[0].Rect.Left, 10 + 3 * D, 1e-3);
      EXPECT_NEAR(F[0].Rect.Top, 10 + 4 * D, 1e-3);
      EXPECT_NEAR(F[0].Rect.Right, 50 + 3 * D, 1e-3);
      EXPECT_NEAR(F[0].Rect.Bottom, 30 + 4 * D, 1e-3);
    }
  }
}

TEST_F(ShadowTest, RectangleShadowPutsThePenBack) {
  TZelPen* Pen = Canvas->GetPen();
  for (int Size : {0, 3}) {
    SCOPED_TRACE(Size);
    Pen->SetStyle(TPenStyle::psDot);
    Pen->SetColor(0xFF123456);
    TZelShadow S;
    S.SetColor(0xFF000000);
    S.SetSize(Size);
    S.Draw(Canvas.get(), TRectF(0, 0, 10, 10), 2, 30);
    EXPECT_EQ(Pen->GetStyle(), TPenStyle::psDot);
    EXPECT_EQ(Pen->GetColor(), 0xFF123456u);
  }
}

TEST_F(ShadowTest, PolygonWithoutPointsDrawsNothing) {
  TZelShadow S;
  S.SetSize(2);
  S.Draw(Canvas.get(), nullptr, 3);
  S.Draw(Canvas.get(), std::vector<TPointF>{});
  EXPECT_TRUE(Rec->GetRecords().empty());
  EXPECT_EQ(Canvas->TranspStackDepth(), 0);
}

}  // namespace
