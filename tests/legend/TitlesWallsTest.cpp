// Chart titles (line list, placement, the room they take) and walls (extent, blending, drawing).
#include <vector>

#include "legend/LegendFixture.h"
#include "platform/StringList.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"

namespace zel::testing {
namespace {

TEST(RemoveLastLineBreakTest, DropsOnlyAFinalCarriageReturnLineFeed) {
  struct Case {
    const char* In;
    const char* Out;
  };
  const Case Cases[] = {{"", ""},           {"\r\n", "\r\n"},       {"a\r\n", "a"},
                        {"a\r\nb", "a\r\nb"}, {"a\r\n\r\n", "a\r\n"}, {"a\n", "a\n"}};
  for (const Case& C : Cases) EXPECT_EQ(RemoveLastLineBreak(C.In), C.Out) << C.In;
}

using Titles = LegendFixture;

TEST_F(Titles, LinesAndTextStayInStep) {
  TOwned<TChartTitle> T(Create<TChartTitle>(Chart));
  T->GetLines()->Add("one");
  T->GetLines()->Add("two");
  EXPECT_EQ(T->GetText(), "one\r\ntwo");
  EXPECT_EQ(T->GetCaption(), "one");
  T->SetCaption("solo");
  EXPECT_EQ(T->GetLines()->GetCount(), 1);
  EXPECT_EQ(T->GetCaption(), "solo");
  T->SetText(String("p\rq"));
  EXPECT_EQ(T->GetLines()->GetCount(), 2);
  T->Clear();
  EXPECT_EQ(T->GetLines()->GetCount(), 0);
  EXPECT_FALSE(T->ShouldDraw());
  // Copying a title copies its lines.
  T->GetLines()->Add("copied");
  T->SetVertMargin(9);
  TOwned<TChartTitle> U(Create<TChartFootTitle>(Chart));
  U->Assign(T.get());
  EXPECT_EQ(U->GetCaption(), "copied");
  EXPECT_EQ(U->GetText(), "copied");
  EXPECT_EQ(U->GetVertMargin(), 9);
}

TEST_F(Titles, TitleTakesRoomOnlyWithALine) {
  TOwned<TChartTitle> T(Create<TChartTitle>(Chart));
  Chart->Place(TRectF(0, 0, 600, 400), TRectF(50, 40, 550, 360));
  T->DrawTitle();
  EXPECT_FLOAT_EQ(Chart->ChartRect.Top, 40);
  T->GetLines()->Add("");
  ASSERT_TRUE(T->ShouldDraw());
  T->DrawTitle();
  // One text line of 12 pixels, then VertMargin 5.
  EXPECT_FLOAT_EQ(Chart->ChartRect.Top, 40 + 12 + 5);
}

TEST_F(Titles, PlacementByAlignment) {
  struct Case {
    const char* Name;
    bool Foot;
    TAlignment Align;
    bool AdjustFrame;
    int Chars;
    float Left, Width;
  };
  // Chart bounds 600 wide: margin m = 2 percent (12) + the panel's border (1) = 13. Texts are 7
  // pixels per character; the chart rectangle is centred at 300.
  const Case Cases[] = {
      {"centred", false, TAlignment::taCenter, true, 5, 300 - 17, 35},
      {"centred and wider than the chart starts at the margin", false, TAlignment::taCenter, true, 100, 13, 700},
      {"left", false, TAlignment::taLeftJustify, true, 5, 13, 35},
      {"right", true, TAlignment::taRightJustify, true, 5, 600 - 35 - 13, 35},
      {"without frame adjustment the title spans the chart", true, TAlignment::taCenter, false, 5, 13, 600 - 26},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TChartTitle> T(C.Foot ? Create<TChartFootTitle>(Chart) : Create<TChartTitle>(Chart));
    T->SetAlignment(C.Align);
    T->SetAdjustFrame(C.AdjustFrame);
    T->SetCaption(String(static_cast<std::size_t>(C.Chars), 'x'));
    Chart->Place(TRectF(0, 0, 600, 400), TRectF(50, 40, 550, 360));
    T->DrawTitle();
    const TRectF& B = T->GetShapeBounds();
    EXPECT_FLOAT_EQ(B.Left, C.Left);
    EXPECT_FLOAT_EQ(B.Width(), C.Width);
    if (C.Foot) {
      EXPECT_FLOAT_EQ(B.Bottom, 360);
      EXPECT_FLOAT_EQ(Chart->ChartRect.Bottom, 360 - 12 - 5);
    } else {
      EXPECT_FLOAT_EQ(B.Top, 40);
      EXPECT_FLOAT_EQ(Chart->ChartRect.Top, 40 + 12 + 5);
    }
    EXPECT_TRUE(T->Clicked(Round(B.Left) + 1, Round(B.Top) + 1));
    EXPECT_FALSE(T->Clicked(Round(B.Left) - 1, Round(B.Top) + 1));
  }
}

TEST_F(Titles, CustomPositionedTitleTakesNoRoom) {
  TOwned<TChartTitle> T(Create<TChartTitle>(Chart));
  T->SetCaption("here");
  T->SetLeft(100);
  T->SetTop(200);
  Chart->Place(TRectF(0, 0, 600, 400), TRectF(50, 40, 550, 360));
  T->DrawTitle();
  EXPECT_FLOAT_EQ(T->GetShapeBounds().Left, 100);
  EXPECT_FLOAT_EQ(Chart->ChartRect.Top, 40);
  EXPECT_EQ(DrawnTexts(), std::vector<String>{"here"});
  T->SetVisible(false);
  EXPECT_FALSE(T->Clicked(101, 201));
}

using Walls = LegendFixture;

TEST_F(Walls, RightWallIsMadeHiddenOnFirstUseWithoutRepainting) {
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  EXPECT_EQ(W->ExistingRight(), nullptr);
  Chart->Invalidates = 0;
  TChartRightWall* R = W->GetRight();
  ASSERT_NE(R, nullptr);
  EXPECT_FALSE(R->GetVisible());
  EXPECT_EQ(Chart->Invalidates, 0);
  EXPECT_TRUE(Chart->GetAutoRepaint());
  EXPECT_EQ(W->GetRight(), R);
}

TEST_F(Walls, SetSizeReachesEveryWallAndMakesTheRightOne) {
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  W->SetSize(4);
  ASSERT_NE(W->ExistingRight(), nullptr);
  for (TCustomChartWall* Wall : std::vector<TCustomChartWall*>{W->GetLeft(), W->GetRight(), W->GetBack(), W->GetBottom()})
    EXPECT_EQ(Wall->GetSize(), 4);
  // Copying walls copies the right wall too.
  TOwned<TChartWalls> Copy(Create<TChartWalls>(Chart));
  Copy->Assign(W.get());
  EXPECT_EQ(Copy->GetRight()->GetSize(), 4);
}

TEST_F(Walls, ExtentFollowsStartAndEndPositions) {
  struct Case {
    int Start, End;
    int Top, Bottom;
  };
  // Chart rectangle from 40 to 360, no bottom wall thickness in 2D.
  const Case Cases[] = {{0, 100, 40, 360}, {0, 50, 40, 200}, {25, 100, 120, 360}, {50, 75, 200, 280}};
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  TChartLeftWall* L = W->GetLeft();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Start * 1000 + C.End);
    L->SetStartPosition(C.Start);
    L->SetEndPosition(C.End);
    std::int32_t Top = 0, Bottom = 0;
    L->CalcPositions(Top, Bottom);
    EXPECT_EQ(Top, C.Top);
    EXPECT_EQ(Bottom, C.Bottom);
  }
}

TEST_F(Walls, BlendingOnlyForOpaqueWallsWithTransparency) {
  struct Case {
    bool Transparent;
    int Transparency;
    bool Blends;
  };
  const Case Cases[] = {{true, 50, false}, {false, 50, true}, {false, 0, false}};
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  TChartLeftWall* L = W->GetLeft();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Transparency + (C.Transparent ? 1000 : 0));
    L->SetTransparent(C.Transparent);
    L->SetTransparency(static_cast<TZelTransparency>(C.Transparency));
    const int Depth = Chart->GetCanvas()->TranspStackDepth();
    TZelBlend* B = nullptr;
    EXPECT_EQ(L->TryDrawWall(50, 360, B), C.Blends);
    EXPECT_EQ(Chart->GetCanvas()->TranspStackDepth(), Depth + (C.Blends ? 1 : 0));
    if (C.Blends) L->DoEndBlending(B);
    EXPECT_EQ(Chart->GetCanvas()->TranspStackDepth(), Depth);
  }
}

TEST_F(Walls, FlatBackWallFillsTheChartRectangleWhenOpaque) {
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  TChartBackWall* B = W->GetBack();
  Rec.ClearRecords();
  W->DrawBackWall();
  // Transparent by default: a frame only.
  EXPECT_TRUE(Rec.RecordsOf(TRecordKind::FillRect).empty());
  B->SetTransparent(false);
  B->SetColor(0xFF336699);
  Rec.ClearRecords();
  W->DrawBackWall();
  const auto Fills = Rec.RecordsOf(TRecordKind::FillRect);
  ASSERT_FALSE(Fills.empty());
  EXPECT_EQ(Fills.back().Color, 0xFF336699u);
  // One pixel more to the right and, with EndPosition 100, to the bottom.
  EXPECT_FLOAT_EQ(Fills.back().Rect.Left, 50);
  EXPECT_FLOAT_EQ(Fills.back().Rect.Top, 40);
  EXPECT_FLOAT_EQ(Fills.back().Rect.Right, 551);
  EXPECT_FLOAT_EQ(Fills.back().Rect.Bottom, 361);
  // A half-transparent wall blends and leaves the canvas' transparency stack balanced.
  B->SetTransparency(50);
  W->DrawBackWall();
  EXPECT_EQ(Chart->GetCanvas()->TranspStackDepth(), 0);
  // The wall's picture is stretched over the chart rectangle.
  B->GetPicture()->SetSize(4, 4);
  B->GetPicture()->Clear(0xFF00FF00);
  Rec.ClearRecords();
  W->DrawBackWall();
  const auto Pictures = Rec.RecordsOf(TRecordKind::DrawBitmap);
  ASSERT_EQ(Pictures.size(), 1u);
  EXPECT_FLOAT_EQ(Pictures[0].Rect.Left, 50);
  EXPECT_FLOAT_EQ(Pictures[0].Rect.Bottom, 360);
}

// Counts the areas it is given.
class TCountingFilter : public TZelFilter {
  ZEL_CLASS(TCountingFilter, TZelFilter)
 public:
  explicit TCountingFilter(TCollection* C) : TZelFilter(C) {}
  void Apply(TBitmap* Bitmap, const TRect&) override { Sizes.push_back({Bitmap->GetWidth(), Bitmap->GetHeight()}); }
  static inline std::vector<std::pair<int, int>> Sizes;
};
ZEL_DEFINE_CLASS(TCountingFilter, TZelFilter)

TEST_F(Walls, TranslucentWallFiltersItsBlendedArea) {
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  TChartBackWall* B = W->GetBack();
  B->SetTransparent(false);
  B->GetPicture()->GetFilters()->Add(ItemClassOf<TCountingFilter>());
  TCountingFilter::Sizes.clear();
  W->DrawBackWall();
  EXPECT_TRUE(TCountingFilter::Sizes.empty()) << "an opaque wall does not blend";
  B->SetTransparency(50);
  W->DrawBackWall();
  ASSERT_EQ(TCountingFilter::Sizes.size(), 1u);
  EXPECT_EQ(TCountingFilter::Sizes[0], (std::pair<int, int>{502, 322})) << "the back wall's area";
  EXPECT_EQ(Chart->GetCanvas()->TranspStackDepth(), 0);
  B->GetPicture()->SetSize(4, 4);
  W->DrawBackWall();
  // A picture of its own is drawn filtered; the blended area is left alone.
  EXPECT_EQ(TCountingFilter::Sizes, (std::vector<std::pair<int, int>>{{502, 322}, {4, 4}}));
}

TEST_F(Walls, SideWallsDrawOnlyIn3DWithWalls) {
  struct Case {
    const char* Name;
    bool View3D, Walls;
    bool Drawn;
  };
  const Case Cases[] = {{"flat chart", false, true, false},
                        {"3D without walls", true, false, false},
                        {"3D with walls", true, true, true}};
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  AddSeries("A");
  W->GetRight()->SetVisible(true);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Chart->SetView3D(C.View3D);
    Chart->SetView3DWalls(C.Walls);
    Chart->SetWidth3D(20);
    Chart->GetCanvas()->Projection(20, TRectF(0, 0, 600, 400), Chart->ChartRect);
    for (int Size : {0, 4}) {
      W->SetSize(Size);
      Rec.ClearRecords();
      W->DrawLeftWall();
      EXPECT_EQ(!Rec.GetRecords().empty(), C.Drawn) << "left, size " << Size;
      Rec.ClearRecords();
      W->DrawRightWall();
      EXPECT_EQ(!Rec.GetRecords().empty(), C.Drawn) << "right, size " << Size;
      EXPECT_EQ(Chart->GetCanvas()->GetEntityCount(), 0);
    }
  }
}

TEST_F(Walls, BottomAndBackWallsIn3DKeepTheCanvasBalanced) {
  TOwned<TChartWalls> W(Create<TChartWalls>(Chart));
  AddSeries("A");
  Chart->SetView3D(true);
  Chart->SetWidth3D(20);
  Chart->GetCanvas()->Projection(20, TRectF(0, 0, 600, 400), Chart->ChartRect);
  for (TCustomChartWall* Wall : std::vector<TCustomChartWall*>{W->GetBottom(), W->GetBack()}) {
    Wall->SetTransparent(false);
    Wall->SetTransparency(30);
  }
  for (int Size : {0, 5}) {
    SCOPED_TRACE(Size);
    W->SetSize(Size);
    Rec.ClearRecords();
    W->DrawBottomWall();
    W->DrawBackWall();
    EXPECT_FALSE(Rec.GetRecords().empty());
    EXPECT_EQ(Chart->GetCanvas()->TranspStackDepth(), 0);
    EXPECT_EQ(Chart->GetCanvas()->GetEntityCount(), 0);
  }
}

}  // namespace
}  // namespace zel::testing
