#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChangeLog.h"
#include "platform/Graphics.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"

namespace zel {
namespace {

TEST(PensTest, PenColorLivesInItsFillBrush) {
  TChangeLog Log;
  TOwned<TZelPen> Pen(Create<TZelPen>(Log.Event()));
  EXPECT_EQ(Pen->ExistingFill(), nullptr);
  EXPECT_EQ(Pen->GetColor(), 0xFF000000u);
  ASSERT_NE(Pen->ExistingFill(), nullptr);
  EXPECT_FALSE(Pen->IsColorStored());

  Pen->SetColor(0xFF000000);
  EXPECT_EQ(Log.Count(), 0);
  Pen->SetColor(0xFFFF0000);
  ASSERT_EQ(Log.Count(), 1);
  EXPECT_EQ(Log.Senders[0], Pen.get());
  EXPECT_TRUE(Pen->IsColorStored());

  // A change made on the Fill brush reaches the pen's owner too, with the brush as sender.
  Pen->GetFill()->SetBackColor(0xFF00FF00);
  ASSERT_EQ(Log.Count(), 2);
  EXPECT_EQ(Log.Senders[1], Pen->GetFill());

  // No brush frees the Fill brush: the colour reads the default again.
  Pen->SetPenBrush(nullptr);
  EXPECT_EQ(Pen->ExistingFill(), nullptr);
  EXPECT_EQ(Pen->GetColor(), 0xFF000000u);
}

TEST(PensTest, SettersNotifyOnlyOnChange) {
  TChangeLog Log;
  TOwned<TZelPen> Pen(Create<TZelPen>(Log.Event()));
  Pen->SetStyle(TPenStyle::psSolid);
  Pen->SetWidth(1);
  Pen->SetEndStyle(TPenEndStyle::esRound);
  Pen->SetJoinStyle(TPenJoinStyle::jsRound);
  Pen->SetSmallDots(false);
  Pen->SetSmallSpace(0);
  Pen->SetVisible(true);
  EXPECT_EQ(Log.Count(), 0);

  Pen->SetStyle(TPenStyle::psDash);
  Pen->SetWidth(2);
  Pen->SetEndStyle(TPenEndStyle::esFlat);
  Pen->SetJoinStyle(TPenJoinStyle::jsBevel);
  Pen->SetSmallDots(true);
  Pen->SetSmallSpace(3);
  Pen->Hide();
  EXPECT_EQ(Log.Count(), 7);
  for (TObject* S : Log.Senders) EXPECT_EQ(S, Pen.get());

  // Mode is a plain store.
  Pen->SetMode(TPenMode::pmXor);
  EXPECT_EQ(Log.Count(), 7);

  // A NaN width never equals the stored one.
  const float NaN = std::numeric_limits<float>::quiet_NaN();
  Pen->SetWidth(NaN);
  Pen->SetWidth(NaN);
  EXPECT_EQ(Log.Count(), 9);
}

TEST(PensTest, HalfWidthRoundsHalvesToEven) {
  struct Case {
    float Width;
    bool Visible;
    int Half;
  };
  const Case Cases[] = {{3, true, 2}, {5, true, 2}, {7, true, 4}, {1, true, 0},
                        {0.5f, true, 0}, {3, false, 0}, {2.6f, true, 1}};
  for (const Case& C : Cases) {
    TOwned<TZelPen> Pen(Create<TZelPen>());
    Pen->SetWidth(C.Width);
    Pen->SetVisible(C.Visible);
    EXPECT_EQ(Pen->HalfWidth(), C.Half) << C.Width << " visible " << C.Visible;
  }
}

TEST(PensTest, PresetPensAndStreamingDefaults) {
  TOwned<TZelHiddenPen> Hidden(Create<TZelHiddenPen>());
  EXPECT_FALSE(Hidden->GetVisible());
  EXPECT_FALSE(Hidden->IsVisibleStored());
  Hidden->Show();
  EXPECT_TRUE(Hidden->IsVisibleStored());

  TChangeLog Log;
  TOwned<TDarkGrayPen> Gray(Create<TDarkGrayPen>(Log.Event()));
  TOwned<TWhitePen> White(Create<TWhitePen>(Log.Event()));
  EXPECT_EQ(Log.Count(), 0);  // presets do not notify
  EXPECT_EQ(Gray->GetColor(), 0xFFA9A9A9u);
  EXPECT_EQ(White->GetColor(), 0xFFFFFFFFu);
  EXPECT_FALSE(Gray->IsColorStored());
  Gray->SetColor(0xFF000000);
  EXPECT_TRUE(Gray->IsColorStored());

  TOwned<TZelPen> Pen(Create<TZelPen>());
  EXPECT_FALSE(Pen->IsWidthStored());
  Pen->InitWidth(2);
  EXPECT_FALSE(Pen->IsWidthStored());
  Pen->SetWidth(1);
  EXPECT_TRUE(Pen->IsWidthStored());
  Pen->InitEndStyle(TPenEndStyle::esFlat);
  EXPECT_FALSE(Pen->IsEndStored());
  Pen->SetEndStyle(TPenEndStyle::esRound);
  EXPECT_TRUE(Pen->IsEndStored());
}

TEST(PensTest, PenAssignCopiesAllButMode) {
  TOwned<TZelPen> Source(Create<TZelPen>());
  Source->SetWidth(4);
  Source->SetStyle(TPenStyle::psDot);
  Source->SetEndStyle(TPenEndStyle::esSquare);
  Source->SetJoinStyle(TPenJoinStyle::jsMitter);
  Source->SetSmallDots(true);
  Source->SetSmallSpace(2);
  Source->SetVisible(false);
  Source->SetMode(TPenMode::pmXor);

  TChangeLog Log;
  TOwned<TDarkGrayPen> Target(Create<TDarkGrayPen>(Log.Event()));
  Target->SetMode(TPenMode::pmNot);
  Target->Assign(Source.get());
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_EQ(Target->GetWidth(), 4);
  EXPECT_EQ(Target->GetStyle(), TPenStyle::psDot);
  EXPECT_EQ(Target->GetEndStyle(), TPenEndStyle::esSquare);
  EXPECT_EQ(Target->GetJoinStyle(), TPenJoinStyle::jsMitter);
  EXPECT_TRUE(Target->GetSmallDots());
  EXPECT_EQ(Target->GetSmallSpace(), 2);
  EXPECT_FALSE(Target->GetVisible());
  EXPECT_EQ(Target->GetMode(), TPenMode::pmNot);
  // The source never had a Fill brush: the target's is freed and reads opaque black.
  EXPECT_EQ(Source->ExistingFill(), nullptr);
  EXPECT_EQ(Target->GetColor(), 0xFF000000u);

  // A Fill brush with a colour travels.
  Source->SetColor(0xFF123456);
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetColor(), 0xFF123456u);

  // Other sources are ignored.
  TOwned<TZelCorner> Corner(Create<TZelCorner>());
  EXPECT_NO_THROW(Target->Assign(Corner.get()));
  EXPECT_EQ(Target->GetWidth(), 4);
}

TEST(PensTest, NewBrushDefaults) {
  TOwned<TZelBrush> Brush(Create<TZelBrush>());
  EXPECT_EQ(Brush->GetKind(), TBrushKind::Solid);
  EXPECT_EQ(Brush->GetColor(), 0x00FFFFFFu);
  EXPECT_EQ(Brush->GetBackColor(), 0u);
  EXPECT_FALSE(Brush->HasImage());
  EXPECT_FALSE(Brush->HasGradient());
  EXPECT_FALSE(Brush->IsColorStored());

  Brush->GetGradient();
  EXPECT_FALSE(Brush->HasGradient());  // exists but hidden
  Brush->GetGradient()->SetVisible(true);
  EXPECT_TRUE(Brush->HasGradient());
}

TEST(PensTest, BrushImageAndGradientNotifications) {
  TChangeLog Log;
  TOwned<TZelBrush> Brush(Create<TZelBrush>(Log.Event()));
  Brush->SetImage(nullptr);  // nothing to free
  EXPECT_EQ(Log.Count(), 0);

  TOwned<TZelPicture> Pic(Create<TZelPicture>());
  Pic->SetSize(2, 2);
  Brush->SetImage(Pic.get());
  EXPECT_EQ(Log.Count(), 1);
  ASSERT_TRUE(Brush->HasImage());
  EXPECT_EQ(Brush->GetImage()->GetWidth(), 2);
  Brush->SetImage(nullptr);
  EXPECT_FALSE(Brush->HasImage());
  EXPECT_EQ(Log.Count(), 2);

  TOwned<TZelGradient> G(Create<TZelGradient>());
  G->SetAngle(30);
  Brush->SetGradient(G.get());
  EXPECT_EQ(Log.Count(), 3);
  EXPECT_EQ(Brush->GetGradient()->GetAngle(), 30);
  Brush->SetGradient(nullptr);
  EXPECT_EQ(Brush->ExistingGradient(), nullptr);
  EXPECT_EQ(Log.Count(), 4);

  // The gradient and the image report their own changes to the brush's owner.
  Brush->GetGradient()->SetAngle(10);
  EXPECT_EQ(Log.Senders.back(), Brush->ExistingGradient());

  Brush->InitColor(0xFF0000FF);
  EXPECT_EQ(Log.Count(), 5);
  EXPECT_FALSE(Brush->IsColorStored());
  Brush->SetBackColor(0xFF0000FF);
  Brush->SetBackColor(0xFF0000FF);
  EXPECT_EQ(Log.Count(), 6);
}

TEST(PensTest, BrushAssignAndClear) {
  TOwned<TZelBrush> Source(Create<TZelBrush>());
  Source->SetKind(TBrushKind::None);
  Source->SetColor(0xFF00FF00);
  Source->SetBackColor(0xFF112233);

  TOwned<TZelBrush> Target(Create<TZelBrush>());
  Target->GetGradient()->SetAngle(45);
  Target->GetImage()->SetSize(1, 1);
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetKind(), TBrushKind::None);
  EXPECT_EQ(Target->GetColor(), 0xFF00FF00u);
  EXPECT_EQ(Target->GetBackColor(), 0xFF112233u);
  EXPECT_EQ(Target->ExistingGradient(), nullptr);
  EXPECT_FALSE(Target->HasImage());
  // Assigning never creates sub-objects on the source.
  EXPECT_EQ(Source->ExistingGradient(), nullptr);
  EXPECT_EQ(Source->ExistingImage(), nullptr);

  TOwned<TZelCorner> Corner(Create<TZelCorner>());
  EXPECT_THROW(Target->Assign(Corner.get()), EConvertError);

  Target->SetKind(TBrushKind::Solid);
  Target->GetGradient()->SetVisible(true);
  Target->GetImage();
  Target->Clear();
  EXPECT_EQ(Target->GetKind(), TBrushKind::None);
  EXPECT_EQ(Target->ExistingGradient(), nullptr);
  EXPECT_FALSE(Target->HasImage());
}

TEST(PensTest, CornersAssignAndNotify) {
  using enum TZelCornerStyle;
  TChangeLog Log;
  TOwned<TZelCorners> Source(Create<TZelCorners>());
  Source->GetLeftBottom()->SetStyle(cosBevel);
  Source->GetLeftTop()->SetStyle(cosNone);
  Source->GetRightBottom()->SetStyle(cosNone);
  Source->GetRightTop()->SetStyle(cosBevel);
  TOwned<TZelCorners> Target(Create<TZelCorners>(Log.Event()));
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetLeftBottom()->GetStyle(), cosBevel);
  EXPECT_EQ(Target->GetLeftTop()->GetStyle(), cosNone);
  EXPECT_EQ(Target->GetRightBottom()->GetStyle(), cosNone);
  EXPECT_EQ(Target->GetRightTop()->GetStyle(), cosBevel);
  EXPECT_EQ(Log.Count(), 0);

  Target->GetLeftTop()->SetStyle(cosNone);
  EXPECT_EQ(Log.Count(), 0);
  Target->GetLeftTop()->SetStyle(cosRound);
  ASSERT_EQ(Log.Count(), 1);
  EXPECT_EQ(Log.Senders[0], Target->GetLeftTop());

  TOwned<TZelPen> Pen(Create<TZelPen>());
  EXPECT_THROW(Target->Assign(Pen.get()), EConvertError);
}

// A path that records the corner outline's calls.
class TRecordingPath : public TZelBasePath {
 public:
  struct Call {
    char Op;  // 'M', 'L', 'A', 'C'
    float X, Y, W, H;
  };
  std::vector<Call> Calls;
  void ArcTo(float X, float Y, float W, float H, float, float) override {
    Calls.push_back({'A', X, Y, W, H});
  }
  void Close() override { Calls.push_back({'C', 0, 0, 0, 0}); }
  void Curve(const TPointF*, int, float, bool) override {}
  void Draw(TZelCanvas*) override {}
  void LineTo(float X, float Y) override { Calls.push_back({'L', X, Y, 0, 0}); }
  void MoveTo(float X, float Y) override { Calls.push_back({'M', X, Y, 0, 0}); }
};

TEST(PensTest, CornerSizeIsEvenAndFitsTheRectangle) {
  struct Case {
    TRectF R;
    int X, Y;
    float CW, CH;
  };
  const Case Cases[] = {
      {{0, 0, 100, 100}, 7, 10, 6, 10},
      {{0, 0, 100, 100}, 0, 1, 1, 1},
      {{0, 0, 4, 100}, 10, 10, 4, 10},
      {{0, 0, 100, 3}, 10, 10, 10, 3},
  };
  for (const Case& C : Cases) {
    TOwned<TZelCorners> Corners(Create<TZelCorners>());
    TRecordingPath Path;
    Corners->AddPath(&Path, C.R, C.X, C.Y);
    int Arcs = 0;
    for (const auto& Call : Path.Calls)
      if (Call.Op == 'A') {
        ++Arcs;
        EXPECT_EQ(Call.W, C.CW) << C.X;
        EXPECT_EQ(Call.H, C.CH) << C.Y;
      }
    EXPECT_EQ(Arcs, 4);
  }
}

int CountKindOf(const TPathData& P, TPathPointKind K) {
  int N = 0;
  for (const TPathPoint& Pt : P.GetPoints()) N += Pt.Kind == K;
  return N;
}

// Every mix of round, bevelled and square corners is one closed figure that stays inside the
// rectangle and reaches each of its edges.
TEST(PensTest, CornerPathIsOneClosedFigure) {
  using enum TZelCornerStyle;
  const TZelCornerStyle Styles[] = {cosRound, cosBevel, cosNone};
  const TRectF R(10, 20, 110, 80);
  for (TZelCornerStyle RT : Styles)
    for (TZelCornerStyle RB : Styles)
      for (TZelCornerStyle LB : Styles)
        for (TZelCornerStyle LT : Styles) {
          TOwned<TZelCorners> Corners(Create<TZelCorners>());
          Corners->GetRightTop()->SetStyle(RT);
          Corners->GetRightBottom()->SetStyle(RB);
          Corners->GetLeftBottom()->SetStyle(LB);
          Corners->GetLeftTop()->SetStyle(LT);
          TZelPath Path(nullptr);
          Corners->AddPath(&Path, R, 20, 16);
          const TPathData& D = *Path.GetPathData();
          std::string Mix = std::to_string(int(RT)) + std::to_string(int(RB)) +
                            std::to_string(int(LB)) + std::to_string(int(LT));
          ASSERT_FALSE(D.IsEmpty()) << Mix;
          EXPECT_EQ(CountKindOf(D, TPathPointKind::MoveTo), 1) << Mix;
          EXPECT_EQ(D.GetPoints().front().Kind, TPathPointKind::MoveTo) << Mix;
          EXPECT_EQ(D.GetPoints().back().Kind, TPathPointKind::Close) << Mix;
          TRectF B = D.GetBounds();
          EXPECT_NEAR(B.Left, R.Left, 0.01) << Mix;
          EXPECT_NEAR(B.Top, R.Top, 0.01) << Mix;
          EXPECT_NEAR(B.Right, R.Right, 0.01) << Mix;
          EXPECT_NEAR(B.Bottom, R.Bottom, 0.01) << Mix;
        }
}

}  // namespace
}  // namespace zel
