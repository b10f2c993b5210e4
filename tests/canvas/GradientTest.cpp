#include <gtest/gtest.h>

#include "platform/Graphics.h"
#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/CanvasUnit.h"

namespace zel {
namespace {

struct TChangeCounter {
  int Count = 0;
  TObject* Last = nullptr;
  TNotifyEvent Event() {
    return [this](TObject* Sender) {
      ++Count;
      Last = Sender;
    };
  }
};

std::vector<double> Offsets(TCustomZelGradient& G) {
  std::vector<double> R;
  for (int i = 0; i < G.GetColors()->GetCount(); ++i) R.push_back(G.GetColors()->Stop(i)->GetOffset());
  return R;
}

TEST(GradientTest, NewGradientCreatesStopsOnlyWhenRead) {
  TOwned<TZelGradient> G(Create<TZelGradient>());
  EXPECT_EQ(G->GetStartColor(), 0xFFFFFFFFu);
  EXPECT_EQ(G->GetEndColor(), 0xFFFFFF00u);
  EXPECT_EQ(G->GetMidColor(), 0u);
  EXPECT_FALSE(G->GetVisible());
  EXPECT_EQ(G->ExistingColors(), nullptr);
  EXPECT_FALSE(G->IsColorsStored());
  EXPECT_FALSE(G->IsStartColorStored());

  EXPECT_EQ(Offsets(*G), (std::vector<double>{0, 1}));
  EXPECT_EQ(G->GetColors()->Stop(0)->GetColor(), 0xFFFFFFFFu);
  EXPECT_EQ(G->GetColors()->Stop(1)->GetColor(), 0xFFFFFF00u);
}

TEST(GradientTest, MiddleColorComesAndGoes) {
  TChangeCounter Changes;
  TOwned<TZelGradient> G(Create<TZelGradient>(Changes.Event()));
  G->SetMidColor(0xFF808080);
  EXPECT_EQ(Offsets(*G), (std::vector<double>{0, 0.5, 1}));
  EXPECT_EQ(G->GetMidColor(), 0xFF808080u);
  EXPECT_EQ(Changes.Count, 1);
  EXPECT_EQ(Changes.Last, G.get());

  G->SetMidColor(0xFF808080);  // already there
  EXPECT_EQ(Changes.Count, 1);

  G->SetMidColor(0);
  EXPECT_EQ(Offsets(*G), (std::vector<double>{0, 1}));
  EXPECT_EQ(Changes.Count, 2);
  G->SetMidColor(0);  // nothing to remove
  EXPECT_EQ(Changes.Count, 2);

  G->UseMiddleColor();
  EXPECT_EQ(G->GetMidColor(), 0xFF808080u);
  EXPECT_EQ(G->GetColors()->GetCount(), 3);
}

TEST(GradientTest, AddedStopsKeepOffsetOrder) {
  TOwned<TZelGradient> G(Create<TZelGradient>());
  TZelGradientColors* C = G->GetColors();
  C->Add(1.7, 0xFF000001);
  C->Add(0.3, 0xFF000002);
  C->Add(-2, 0xFF000003);
  EXPECT_EQ(Offsets(*G), (std::vector<double>{0, 0, 0.3, 1, 1}));
  // Equal offsets go after the existing stops.
  EXPECT_EQ(C->Stop(1)->GetColor(), 0xFF000003u);
  EXPECT_EQ(C->Stop(4)->GetColor(), 0xFF000001u);

  // Get appends default stops up to the index asked for.
  TOwned<TZelGradient> H(Create<TZelGradient>());
  TZelGradientColor* S = H->GetColors()->Get(3);
  EXPECT_EQ(H->GetColors()->GetCount(), 4);
  EXPECT_EQ(S->GetColor(), 0u);
  EXPECT_EQ(S->GetOffset(), 0);
}

TEST(GradientTest, ColorsStoredOnlyForNonDefaultLayouts) {
  struct Case {
    std::vector<double> Offsets;
    bool Stored;
  };
  const Case Cases[] = {{{0, 1}, false},       {{0, 0.5, 1}, false}, {{0, 0.3, 1}, true},
                        {{0, 0.7}, true},      {{0.5}, true},        {{}, true},
                        {{0, 0.25, 0.5, 1}, true}};
  for (const Case& C : Cases) {
    TOwned<TZelGradient> G(Create<TZelGradient>());
    G->GetColors()->Clear();
    for (double O : C.Offsets) G->GetColors()->Add(O, 0xFF000000);
    EXPECT_EQ(G->IsColorsStored(), C.Stored) << C.Offsets.size() << " stops";
  }
}

TEST(GradientTest, StopTransparencyIsTheAlphaByte) {
  TOwned<TZelGradient> G(Create<TZelGradient>());
  TZelGradientColor* S = G->GetColors()->Stop(0);
  S->SetColor(0xFF123456);
  EXPECT_EQ(S->GetTransparency(), 255);
  S->SetTransparency(50);
  EXPECT_EQ(S->GetColor(), 0x32123456u);
}

TEST(GradientTest, ColourSettersOnEmptiedStopsAddTheStop) {
  struct Case {
    void (TCustomZelGradient::*Set)(TAlphaColor);
    double Offset;
  };
  const Case Cases[] = {{&TCustomZelGradient::SetStartColor, 0},
                        {&TCustomZelGradient::SetMidColor, 0.5},
                        {&TCustomZelGradient::SetEndColor, 1}};
  for (const Case& C : Cases) {
    TChangeCounter Changes;
    TOwned<TZelGradient> G(Create<TZelGradient>(Changes.Event()));
    G->GetColors()->Clear();
    Changes.Count = 0;
    ASSERT_NO_THROW((G.get()->*C.Set)(0xFF00FF00)) << C.Offset;
    ASSERT_EQ(G->GetColors()->GetCount(), 1) << C.Offset;
    EXPECT_EQ(G->GetColors()->Stop(0)->GetOffset(), C.Offset);
    EXPECT_EQ(G->GetColors()->Stop(0)->GetColor(), 0xFF00FF00u);
    EXPECT_EQ(Changes.Count, 1) << C.Offset;
  }
}

TEST(GradientTest, EndColorCanSetTheStartToo) {
  TOwned<TZelGradient> G(Create<TZelGradient>());
  G->SetEndColor(0xFF0000FF);
  EXPECT_EQ(G->GetStartColor(), 0xFFFFFFFFu);
  G->SetStartIsEnd(true);
  G->SetEndColor(0xFFFF0000);
  EXPECT_EQ(G->GetStartColor(), 0xFFFF0000u);
  EXPECT_EQ(G->GetEndColor(), 0xFFFF0000u);
}

TEST(GradientTest, StopChangesNotifyTheOwner) {
  TChangeCounter Changes;
  TOwned<TZelGradient> G(Create<TZelGradient>(Changes.Event()));
  G->GetColors();
  EXPECT_EQ(Changes.Count, 0);  // the default stops arrive silently
  G->GetColors()->Stop(1)->SetColor(0xFF000000);
  EXPECT_EQ(Changes.Count, 1);
  EXPECT_EQ(Changes.Last, G.get());
  G->SetAngle(0);
  G->SetDirection(TGradientDirection::gdTopBottom);
  EXPECT_EQ(Changes.Count, 1);
  G->SetRadialX(5);
  EXPECT_EQ(Changes.Count, 2);
}

struct TPoint2 {
  TAlphaColor Color;
  float Offset;
  bool operator==(const TPoint2&) const = default;
};

std::vector<TPoint2> PlatformPoints(const TGradient& P) {
  std::vector<TPoint2> R;
  for (int i = 0; i < P.GetPoints().GetCount(); ++i)
    R.push_back({P.GetPoints()[i].GetColor(), P.GetPoints()[i].GetOffset()});
  return R;
}

TEST(GradientTest, PlatformStopsRunBackwardsForReversedDirections) {
  using enum TGradientDirection;
  const TAlphaColor Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF;
  const std::vector<TPoint2> Forward{{Red, 0}, {Green, 0.25f}, {Blue, 1}};
  const std::vector<TPoint2> Backward{{Blue, 0}, {Green, 0.75f}, {Red, 1}};
  for (TGradientDirection D : {gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter,
                               gdFromTopLeft, gdFromBottomLeft, gdRadial, gdDiagonalUp,
                               gdDiagonalDown}) {
    TOwned<TZelGradient> G(Create<TZelGradient>());
    G->GetColors()->Clear();
    G->GetColors()->Add(0, Red);
    G->GetColors()->Add(0.25, Green);
    G->GetColors()->Add(1, Blue);
    G->SetDirection(D);
    TOwned<TGradient> P(Create<TGradient>());
    G->PrepareGradient(*P);
    bool Reversed = D == gdBottomTop || D == gdRightLeft || D == gdDiagonalUp || D == gdDiagonalDown;
    EXPECT_EQ(PlatformPoints(*P), Reversed ? Backward : Forward) << int(D);
  }
}

TEST(GradientTest, PlatformPositionsAndStyle) {
  using enum TGradientDirection;
  struct Case {
    TGradientDirection D;
    TPointF Start, Stop;
    TGradientStyle Style;
  };
  const Case Cases[] = {
      {gdTopBottom, {0.5f, 0}, {0.5f, 1}, TGradientStyle::Linear},
      {gdBottomTop, {0.5f, 0}, {0.5f, 1}, TGradientStyle::Linear},
      {gdLeftRight, {0, 0.5f}, {1, 0.5f}, TGradientStyle::Linear},
      {gdRightLeft, {0, 0.5f}, {1, 0.5f}, TGradientStyle::Linear},
      {gdFromTopLeft, {0, 0}, {1, 1}, TGradientStyle::Linear},
      {gdDiagonalDown, {0, 0}, {1, 1}, TGradientStyle::Linear},
      {gdFromBottomLeft, {0, 1}, {1, 0}, TGradientStyle::Linear},
      {gdDiagonalUp, {0, 1}, {1, 0}, TGradientStyle::Linear},
      {gdFromCenter, {0, 0}, {0, 1}, TGradientStyle::Radial},
      {gdRadial, {0, 0}, {0, 1}, TGradientStyle::Radial},
  };
  for (const Case& C : Cases) {
    TOwned<TZelGradient> G(Create<TZelGradient>());
    G->SetDirection(C.D);
    TOwned<TGradient> P(Create<TGradient>());
    P->SetStyle(C.Style == TGradientStyle::Linear ? TGradientStyle::Radial : TGradientStyle::Linear);
    G->PrepareGradient(*P);
    EXPECT_EQ(P->GetStartPosition(), C.Start) << int(C.D);
    EXPECT_EQ(P->GetStopPosition(), C.Stop) << int(C.D);
    EXPECT_EQ(P->GetStyle(), C.Style) << int(C.D);
  }
  // Without stops of its own the gradient maps its defaults and creates nothing.
  TOwned<TZelGradient> G(Create<TZelGradient>());
  TOwned<TGradient> P(Create<TGradient>());
  G->PrepareGradient(*P);
  EXPECT_EQ(PlatformPoints(*P), (std::vector<TPoint2>{{0xFFFFFFFF, 0}, {0xFFFFFF00, 1}}));
  EXPECT_EQ(G->ExistingColors(), nullptr);
}

TEST(GradientTest, RadialCentreAndAngle) {
  TOwned<TZelGradient> G(Create<TZelGradient>());
  G->SetDirection(TGradientDirection::gdRadial);
  G->SetRadialX(20);
  G->SetRadialY(-10);
  G->SetAngle(30);
  TOwned<TGradient> P(Create<TGradient>());
  G->PrepareGradient(*P);
  EXPECT_NEAR(P->GetRadialTransform().RotationCenter.X, 0.7, 1e-6);
  EXPECT_NEAR(P->GetRadialTransform().RotationCenter.Y, 0.4, 1e-6);
  EXPECT_EQ(P->GetRadialTransform().RotationAngle, 30);
  EXPECT_EQ(P->GetRadialTransform().Position, TPointF(0, 0));
}

TEST(GradientTest, VisibilitySwitchesTheOwningBrushKind) {
  TOwned<TZelBrush> Brush(Create<TZelBrush>());
  Brush->GetGradient()->SetVisible(true);
  EXPECT_EQ(Brush->GetKind(), TBrushKind::Gradient);
  Brush->GetGradient()->SetVisible(false);
  EXPECT_EQ(Brush->GetKind(), TBrushKind::Solid);

  // Assigning a visible gradient copies Visible but leaves the brush kind alone.
  TOwned<TZelGradient> Visible(Create<TZelGradient>());
  Visible->SetVisible(true);
  Brush->GetGradient()->Assign(Visible.get());
  EXPECT_TRUE(Brush->GetGradient()->GetVisible());
  EXPECT_EQ(Brush->GetKind(), TBrushKind::Solid);
}

TEST(GradientTest, AssignCopiesSilentlyAndKeepsOwnDefaults) {
  TChangeCounter Changes;
  TOwned<TZelGradient> Target(Create<TZelGradient>(Changes.Event()));
  Target->IDefStart = 0xFFC0C0C0;
  Target->GetSubGradient()->SetVisible(true);
  Target->GetColors();
  Changes.Count = 0;

  TOwned<TZelGradient> Source(Create<TZelGradient>());
  Source->SetAngle(15);
  Source->SetBalance(70);
  Source->SetDirection(TGradientDirection::gdLeftRight);
  Source->SetRadialX(3);
  Source->SetRadialY(4);
  Source->SetStartIsEnd(true);
  Source->SetVisible(true);
  Target->Assign(Source.get());
  EXPECT_EQ(Changes.Count, 0);
  EXPECT_EQ(Target->GetAngle(), 15);
  EXPECT_EQ(Target->GetBalance(), 70);
  EXPECT_EQ(Target->GetDirection(), TGradientDirection::gdLeftRight);
  EXPECT_EQ(Target->GetRadialX(), 3);
  EXPECT_EQ(Target->GetRadialY(), 4);
  EXPECT_TRUE(Target->GetStartIsEnd());
  EXPECT_TRUE(Target->GetVisible());
  // The source had neither stops nor a sub-gradient: the target's are freed.
  EXPECT_EQ(Target->ExistingColors(), nullptr);
  EXPECT_EQ(Target->ExistingSubGradient(), nullptr);
  EXPECT_EQ(Target->IDefStart, 0xFFC0C0C0u);
  EXPECT_EQ(Target->GetStartColor(), 0xFFC0C0C0u);
  // Nor were they created on the source.
  EXPECT_EQ(Source->ExistingColors(), nullptr);

  // Stops and sub-gradient (with its transparency) travel when present.
  Source->SetMidColor(0xFF808080);
  Source->GetSubGradient()->SetTransparency(30);
  Source->GetSubGradient()->SetDirection(TGradientDirection::gdRadial);
  Target->Assign(Source.get());
  EXPECT_EQ(Offsets(*Target), (std::vector<double>{0, 0.5, 1}));
  ASSERT_NE(Target->ExistingSubGradient(), nullptr);
  EXPECT_EQ(Target->GetSubGradient()->GetTransparency(), 30);
  EXPECT_EQ(Target->GetSubGradient()->GetDirection(), TGradientDirection::gdRadial);
  EXPECT_EQ(Changes.Count, 0);

  // The sub-gradient reports to the same owner.
  Target->GetSubGradient()->SetAngle(5);
  EXPECT_EQ(Changes.Count, 1);

  TOwned<TZelPen> Pen(Create<TZelPen>());
  EXPECT_THROW(Target->Assign(Pen.get()), EConvertError);
}

TEST(GradientTest, InitDefaultsRestoresClassDefaults) {
  TOwned<TZelGradient> G(Create<TZelGradient>());
  G->InitDirection(TGradientDirection::gdRightLeft);
  G->IDefStart = 0xFFC0C0C0;
  EXPECT_FALSE(G->IsDirectionStored());
  G->GetColors();
  EXPECT_EQ(G->GetStartColor(), 0xFFC0C0C0u);
  EXPECT_FALSE(G->IsStartColorStored());
  G->SetBalance(10);
  G->InitDefaults();
  EXPECT_EQ(G->GetDirection(), TGradientDirection::gdTopBottom);
  EXPECT_EQ(G->GetStartColor(), 0xFFFFFFFFu);
  EXPECT_EQ(G->GetBalance(), 50);
  EXPECT_EQ(Offsets(*G), (std::vector<double>{0, 1}));
}

class GradientDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Canvas.SetUseBuffer(false);
    Canvas.InitWindow(&Rec, nullptr, 0, false, TRectF(0, 0, 100, 100));
    G->SetVisible(true);
    G->SetStartColor(0xFFFF0000);
    G->SetEndColor(0xFF0000FF);
    Rec.ClearRecords();
  }
  TRecordingCanvas Rec{100, 100};
  TZelCanvas3D Canvas;
  TOwned<TZelGradient> G{Create<TZelGradient>()};
};

TEST_F(GradientDrawTest, FillsTheRectangleWithTheGradient) {
  for (int Round : {0, 8}) {
    Rec.ClearRecords();
    G->Draw(&Canvas, TRectF(10, 20, 60, 80), Round);
    std::vector<TCanvasRecord> Fills = Rec.RecordsOf(TRecordKind::FillRect);
    std::vector<TCanvasRecord> Paths = Rec.RecordsOf(TRecordKind::FillPath);
    ASSERT_EQ(Fills.size() + Paths.size(), 1u) << Round;
    const TCanvasRecord& F = Fills.empty() ? Paths[0] : Fills[0];
    EXPECT_EQ(F.BrushKind, TBrushKind::Gradient) << Round;
    EXPECT_EQ(F.Rect, TRectF(10, 20, 60, 80)) << Round;
  }
  // The canvas gradient took this one's colours.
  EXPECT_EQ(Canvas.GetGradient()->GetStartColor(), 0xFFFF0000u);
  EXPECT_EQ(Canvas.GetGradient()->GetEndColor(), 0xFF0000FFu);
}

TEST_F(GradientDrawTest, VisibleSubGradientDrawsOverInsideABlend) {
  G->GetSubGradient()->SetVisible(true);
  G->GetSubGradient()->SetTransparency(30);
  Canvas.SetTransparency(0);
  G->Draw(&Canvas, TRectF(0, 0, 50, 50), 0);
  std::vector<TCanvasRecord> Fills = Rec.RecordsOf(TRecordKind::FillRect);
  ASSERT_EQ(Fills.size(), 2u);
  EXPECT_FLOAT_EQ(Fills[0].Opacity, 1.0f);
  EXPECT_FLOAT_EQ(Fills[1].Opacity, 0.7f);
  EXPECT_EQ(Canvas.TranspStackDepth(), 0);
  EXPECT_EQ(Canvas.GetTransparency(), 0);

  // A radial sub-gradient draws its two colours at full opacity of the blend.
  Rec.ClearRecords();
  G->GetSubGradient()->SetDirection(TGradientDirection::gdRadial);
  G->Draw(&Canvas, TRectF(0, 0, 50, 50), 0);
  Fills = Rec.RecordsOf(TRecordKind::FillRect);
  ASSERT_EQ(Fills.size(), 2u);
  EXPECT_EQ(Fills[1].BrushKind, TBrushKind::Gradient);
  EXPECT_EQ(Canvas.TranspStackDepth(), 0);
}

TEST_F(GradientDrawTest, FourPointsFillAPolygonWithoutOutline) {
  G->Draw(static_cast<TZelCanvas*>(&Canvas),
          std::array<TPointF, 4>{TPointF(0, 0), TPointF(10, 0), TPointF(10, 10), TPointF(0, 10)});
  EXPECT_EQ(Canvas.GetPen()->GetStyle(), TPenStyle::psClear);
  EXPECT_TRUE(Rec.RecordsOf(TRecordKind::DrawPath).empty());
  EXPECT_TRUE(Rec.RecordsOf(TRecordKind::DrawPolygon).empty());
  std::size_t Filled =
      Rec.RecordsOf(TRecordKind::FillPath).size() + Rec.RecordsOf(TRecordKind::FillPolygon).size();
  EXPECT_EQ(Filled, 1u);
}

}  // namespace
}  // namespace zel
