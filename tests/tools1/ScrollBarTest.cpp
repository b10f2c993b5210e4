// The scroll bar drawn by the chart: where its thumb goes, what presses on its arrows and track
// do, auto-repeat driven by the timer's handler, thumb dragging and resizing, hover feedback,
// and how its parts are drawn.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Bitmap.h"
#include "platform/ExtCtrls.h"
#include "platform/RecordingCanvas.h"
#include "platform/Services.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/Resources.h"
#include "zelgraph/tools/ScrollBar.h"

namespace zel::testing {
namespace {

using TME = TChartMouseEvent;

// A horizontal bar 300 px long and 18 px thick, its top edge at y = 120: arrows from x 50 to 68
// and from 332 to 350, the track between them 264 px long. 1000 positions, 100 visible.
class ScrollBarTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Bar = Create<TZelScrollBar>(nullptr);
    Chart->GetTools()->Add(Bar);
    Bar->SetHorizontal(true);
    Bar->SetReferenceRect(TRectF(50, 100, 350, 120));
    Bar->SetMax(1000);
    Bar->SetThumbLength(100);
    Bar->SetPosition(500);
    Chart->SetBufferedDisplay(false);  // the records show the primitives, not a buffer picture
    Paint();
  }

  void Press(float X, float Y = Mid) { Bar->ChartMouseEvent(TME::tmePress, TMouseButton::mbLeft, {}, Round(X), Round(Y)); }
  void Move(float X, float Y = Mid) { Bar->ChartMouseEvent(TME::tmeMove, TMouseButton::mbLeft, {}, Round(X), Round(Y)); }
  void Release() { Bar->ChartMouseEvent(TME::tmeRelease, TMouseButton::mbLeft, {}, 0, 0); }

  std::vector<TCanvasRecord> PaintRecords() {
    TRecordingCanvas C(Width, Height);
    Chart->Draw(&C, TRectF(0, 0, static_cast<float>(Width), static_cast<float>(Height)));
    return C.GetRecords();
  }
  // The fill colour of the arrow triangle drawn inside the box from X0 to X1.
  static TAlphaColor ArrowFill(const std::vector<TCanvasRecord>& Records, float X0, float X1) {
    for (const TCanvasRecord& R : Records)
      if (R.Kind == TRecordKind::FillPolygon && R.Points.size() >= 3 && R.Points[0].X >= X0 && R.Points[0].X <= X1 &&
          R.Points[0].Y >= 120 && R.Points[0].Y <= 138)
        return R.Color;
    return 0;
  }

  static constexpr float Mid = 129;  // half way across the bar
  static constexpr float DecArrow = 59, IncArrow = 341;
  TZelScrollBar* Bar = nullptr;
};

TEST_F(ScrollBarTest, PartsArePlacedFromTheReferenceRectangle) {
  struct Case {
    const char* Name;
    bool Horizontal;
    TRectF Main, Dec, Inc, Track;
  };
  // Reference rectangle 50, 100, 350, 120 and thickness 18.
  const Case Cases[] = {
      {"horizontal: below the bottom edge", true, {50, 120, 350, 138}, {50, 120, 68, 138}, {332, 120, 350, 138},
       {68, 120, 332, 138}},
      {"vertical: inside the right edge", false, {331, 100, 350, 120}, {331, 100, 350, 118}, {331, 102, 350, 120},
       {331, 118, 350, 102}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Bar->SetHorizontal(C.Horizontal);
    EXPECT_EQ(Bar->MainRect(), C.Main);
    EXPECT_EQ(Bar->DecArrowRect(), C.Dec);
    EXPECT_EQ(Bar->IncArrowRect(), C.Inc);
    EXPECT_EQ(Bar->ScrollRect(), C.Track);
  }
}

TEST_F(ScrollBarTest, ThumbPlacementAlongTheTrack) {
  struct Case {
    const char* Name;
    bool Arrows;
    int ThumbSize, ThumbLength, Position;
    float Begin, End;
  };
  const Case Cases[] = {
      // 264 px for 1000 positions: 0.264 px each; the thumb is Round(100 x 0.264) = 26 px.
      {"proportional, middle", true, 0, 100, 500, 200, 227},
      {"proportional, start", true, 0, 100, 0, 68, 95},
      // A fixed thumb advances 264 / (1000 - 100 + 1) px per position.
      {"fixed size 30", true, 30, 100, 500, 215, 246},
      // Never shorter than MinThumbSize (4).
      {"tiny visible count", true, 0, 5, 500, 200, 205},
      // Without arrows the track is the whole 300 px.
      {"no arrows", false, 0, 100, 500, 200, 231},
      // Positions beyond the range keep the thumb inside the track.
      {"beyond the end", true, 0, 100, 1200, 332, 332},
      {"before the start", true, 0, 100, -200, 68, 68},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Bar->SetArrows(C.Arrows);
    Bar->SetThumbSize(C.ThumbSize);
    Bar->SetThumbLength(C.ThumbLength);
    Bar->SetPosition(C.Position);
    Paint();
    EXPECT_FLOAT_EQ(Bar->GetThumbBegin(), C.Begin);
    EXPECT_FLOAT_EQ(Bar->GetThumbEnd(), C.End);
  }
}

TEST_F(ScrollBarTest, PressesStepWithinTheRange) {
  struct Case {
    const char* Name;
    int Position;
    float X;
    int Expected;
    bool Scrolled;
  };
  const Case Cases[] = {
      {"increment arrow", 500, IncArrow, 501, true},
      {"decrement arrow", 500, DecArrow, 499, true},
      // The last position is Max - visible count; a step there still reports a scroll.
      {"increment arrow at the end", 900, IncArrow, 900, true},
      {"increment arrow near the end", 899, IncArrow, 900, true},
      {"decrement arrow at 0", 0, DecArrow, 0, false},
      {"decrement arrow at 1", 1, DecArrow, 0, true},
      // The track pages by a quarter of the visible count.
      {"track before the thumb", 500, 100, 475, true},
      {"track after the thumb", 500, 300, 525, true},
      {"track before the thumb near 0", 10, 69, 0, true},
      {"track after the thumb near the end", 890, 331, 900, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Bar->SetPosition(C.Position);
    Paint();
    int Scrolls = 0;
    Bar->OnScrolled = [&](TObject*) { ++Scrolls; };
    Press(C.X);
    Release();
    EXPECT_EQ(Bar->GetPosition(), C.Expected);
    EXPECT_EQ(Scrolls, C.Scrolled ? 1 : 0);
  }
}

TEST_F(ScrollBarTest, PressesThatDoNotStep) {
  int Scrolls = 0;
  Bar->OnScrolled = [&](TObject*) { ++Scrolls; };
  struct Case {
    const char* Name;
    float X, Y;
    TZelScrollBarPart Part;
  };
  const Case Cases[] = {
      {"on the thumb", 210, Mid, TZelScrollBarPart::spThumb},
      {"outside the bar", 210, 60, TZelScrollBarPart::spNone},
      {"beside the bar", 360, Mid, TZelScrollBarPart::spNone},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Press(C.X, C.Y);
    EXPECT_EQ(Bar->GetPressed(), C.Part);
    Release();
    EXPECT_EQ(Bar->GetPressed(), TZelScrollBarPart::spNone);
  }
  EXPECT_EQ(Bar->GetPosition(), 500);
  EXPECT_EQ(Scrolls, 0);
  // Without arrows their boxes are track.
  Bar->SetArrows(false);
  Paint();
  Press(DecArrow);
  EXPECT_EQ(Bar->GetPosition(), 475);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsFirstSlowlyThenFast) {
  Press(IncArrow);
  EXPECT_EQ(Bar->GetPosition(), 501);
  TTimer* T = Bar->ExistingTimer();
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->GetEnabled());
  EXPECT_EQ(T->GetInterval(), 250u);
  Bar->DoTimer();
  EXPECT_EQ(Bar->GetPosition(), 502);
  EXPECT_EQ(T->GetInterval(), 50u);
  T->Timer();  // the timer's own tick reaches the same handler
  EXPECT_EQ(Bar->GetPosition(), 503);
  EXPECT_EQ(T->GetInterval(), 50u);
  EXPECT_TRUE(T->GetEnabled());
  Release();
  EXPECT_FALSE(T->GetEnabled());

  // Reaching the end stops the timer.
  Bar->SetPosition(898);
  Press(IncArrow);
  Bar->DoTimer();
  EXPECT_EQ(Bar->GetPosition(), 900);
  EXPECT_TRUE(T->GetEnabled());
  Bar->DoTimer();
  EXPECT_EQ(Bar->GetPosition(), 900);
  EXPECT_FALSE(T->GetEnabled());
  Release();

  // Deactivating the bar while an arrow is held ends the press and its repeating.
  Bar->SetPosition(500);
  Press(IncArrow);
  ASSERT_TRUE(T->GetEnabled());
  Bar->SetActive(false);
  EXPECT_FALSE(T->GetEnabled());
  EXPECT_EQ(Bar->GetPressed(), TZelScrollBarPart::spNone);
  Bar->SetActive(true);
  Release();

  // A press on the thumb or a drag starts no timer; without AutoRepeat nothing repeats.
  auto* Other = Create<TZelScrollBar>(nullptr);
  Chart->GetTools()->Add(Other);
  Other->SetHorizontal(true);
  Other->SetReferenceRect(TRectF(50, 200, 350, 220));
  Other->SetMax(1000);
  Other->SetThumbLength(100);
  Other->SetAutoRepeat(false);
  Other->ProcessClick(TPointF(IncArrow, 229));
  EXPECT_EQ(Other->GetPosition(), 1);
  EXPECT_EQ(Other->ExistingTimer(), nullptr);
}

TEST_F(ScrollBarTest, HeldTrackStopsWhereTheThumbReachesThePress) {
  Bar->SetPosition(0);
  Paint();
  const float X = 150;
  Press(X);
  for (int I = 0; I < 40; ++I) {
    Paint();  // the thumb follows the position at each paint
    Bar->DoTimer();
  }
  Paint();
  EXPECT_LE(Bar->GetThumbBegin(), X);
  EXPECT_GE(Bar->GetThumbEnd(), X);
  EXPECT_LT(Bar->GetPosition(), 900);
  EXPECT_EQ(Bar->GetPressed(), TZelScrollBarPart::spThumb);
  Release();
}

TEST_F(ScrollBarTest, ThumbDragAddsUpSmallMoves) {
  for (bool Horizontal : {true, false}) {
    SCOPED_TRACE(Horizontal ? "horizontal" : "vertical");
    // Both bars have a 264 px track; 100 positions make one position 2.64 px.
    Bar->SetHorizontal(Horizontal);
    Bar->SetReferenceRect(Horizontal ? TRectF(50, 100, 350, 120) : TRectF(100, 0, 200, 300));
    Bar->SetMax(100);
    Bar->SetThumbLength(10);
    Bar->SetPosition(50);
    Paint();
    const TRectF T = Bar->ThumbRect();
    const TPointF Start = Horizontal ? TPointF(T.Left + 10, Mid) : TPointF((T.Left + T.Right) / 2, T.Top + 10);
    auto Step = [&](float D) { return Horizontal ? TPointF(Start.X + D, Start.Y) : TPointF(Start.X, Start.Y + D); };
    Press(Start.X, Start.Y);
    ASSERT_EQ(Bar->GetPressed(), TZelScrollBarPart::spThumb);
    Move(Step(1).X, Step(1).Y);
    Move(Step(2).X, Step(2).Y);
    EXPECT_EQ(Bar->GetPosition(), 50);
    Move(Step(3).X, Step(3).Y);  // 3 px since the press: more than one position
    EXPECT_EQ(Bar->GetPosition(), 51);
    Move(Step(-30).X, Step(-30).Y);  // back by 12.5 positions
    EXPECT_EQ(Bar->GetPosition(), 38);
    Release();
    EXPECT_EQ(Bar->ExistingTimer(), nullptr);
  }
}

TEST_F(ScrollBarTest, ThumbEdgesResizeOnlyWhenAllowed) {
  const float End = Bar->GetThumbEnd();
  // Without AllowResize the edge is thumb.
  Press(End - 1);
  EXPECT_EQ(Bar->GetPressed(), TZelScrollBarPart::spThumb);
  Release();

  Bar->SetAllowResize(true);
  Press(End - 1);
  ASSERT_EQ(Bar->GetPressed(), TZelScrollBarPart::spResizeInc);
  Move(End + 9);  // 10 px: 37.9 positions
  EXPECT_EQ(Bar->GetThumbLength(), 138);
  EXPECT_EQ(Bar->GetPosition(), 500);
  Release();

  Press(End - 1);
  Move(End - 201);  // a shrink past nothing leaves one position
  EXPECT_EQ(Bar->GetThumbLength(), 1);
  Release();
  Press(Bar->GetThumbBegin() + 1);
  EXPECT_EQ(Bar->GetPressed(), TZelScrollBarPart::spResizeDec);
  Release();

  // An edge counts only strictly inside the thumb across the bar.
  Press(Bar->GetThumbBegin(), 121);
  EXPECT_NE(Bar->GetPressed(), TZelScrollBarPart::spResizeDec);
}

TEST_F(ScrollBarTest, HoverShowsSplitCursorsAtThumbEdges) {
  Bar->SetAllowResize(true);
  struct Case {
    bool Horizontal;
    TCursor Expected;
  };
  for (const Case& C : {Case{true, crHSplit}, Case{false, crVSplit}}) {
    SCOPED_TRACE(C.Horizontal);
    Bar->SetHorizontal(C.Horizontal);
    Bar->SetReferenceRect(C.Horizontal ? TRectF(50, 100, 350, 120) : TRectF(100, 20, 200, 290));
    Paint();
    Chart->SetCursor(crDefault);
    Chart->SetCancelMouse(false);
    const TRectF T = Bar->ThumbRect();
    const TPointF Edge = C.Horizontal ? TPointF(T.Right - 1, (T.Top + T.Bottom) / 2)
                                      : TPointF((T.Left + T.Right) / 2, T.Bottom - 1);
    Move(Edge.X, Edge.Y);
    EXPECT_EQ(Chart->GetCursor(), C.Expected);
    EXPECT_TRUE(Chart->GetCancelMouse());
    // The thumb's middle is no edge.
    Chart->SetCursor(crDefault);
    Chart->SetCancelMouse(false);
    Move((T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2);
    EXPECT_EQ(Chart->GetCursor(), crDefault);
    EXPECT_FALSE(Chart->GetCancelMouse());
  }
}

TEST_F(ScrollBarTest, ArrowsShowWhetherTheyCanMove) {
  const TAlphaColor Enabled = 0xFFA9A9A9, Disabled = 0xFFFFFFFF;
  struct Case {
    int Position;
    TAlphaColor Dec, Inc;
  };
  const Case Cases[] = {{0, Disabled, Enabled}, {500, Enabled, Enabled}, {900, Enabled, Disabled}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Position);
    Bar->SetPosition(C.Position);
    const auto Records = PaintRecords();
    EXPECT_EQ(ArrowFill(Records, 50, 68), C.Dec);
    EXPECT_EQ(ArrowFill(Records, 332, 350), C.Inc);
  }
  // A held arrow is drawn pressed.
  Bar->SetPosition(500);
  Press(IncArrow);
  EXPECT_EQ(ArrowFill(PaintRecords(), 332, 350), Disabled);
  Release();
  EXPECT_EQ(ArrowFill(PaintRecords(), 332, 350), Enabled);
}

TEST_F(ScrollBarTest, HoverOutlineFollowsTheArrowsThatCanMove) {
  auto Outlines = [&] {
    int N = 0;
    for (const TCanvasRecord& R : PaintRecords())
      if (R.Kind == TRecordKind::DrawPolygon && R.Color == 0xFFC0C0C0 && R.Thickness == 2) ++N;
    return N;
  };
  EXPECT_EQ(Outlines(), 0);
  Move(IncArrow);
  EXPECT_TRUE(Bar->GetIncOutline());
  EXPECT_EQ(Outlines(), 1);
  Move(DecArrow);
  EXPECT_FALSE(Bar->GetIncOutline());
  EXPECT_TRUE(Bar->GetDecOutline());
  Move(210, 60);
  EXPECT_FALSE(Bar->GetDecOutline());
  EXPECT_EQ(Outlines(), 0);
  // An arrow that cannot move gets no outline.
  Bar->SetPosition(900);
  Move(IncArrow);
  EXPECT_FALSE(Bar->GetIncOutline());
  // Leaving the chart takes the outline away.
  Move(DecArrow);
  ASSERT_TRUE(Bar->GetDecOutline());
  SimulateMouseLeave(Chart);
  EXPECT_FALSE(Bar->GetDecOutline());
  EXPECT_EQ(Outlines(), 0);
}

TEST_F(ScrollBarTest, NothingIsDrawnWithoutPositions) {
  auto Count = [&] { return PaintRecords().size(); };
  Bar->SetActive(false);
  const std::size_t Without = Count();
  Bar->SetActive(true);
  EXPECT_GT(Count(), Without);
  Bar->SetMax(0);
  EXPECT_EQ(Count(), Without);
}

TEST_F(ScrollBarTest, ThumbPicturesSetTheSizes) {
  TBitmap Expected;
  ZelLoadBitmap(&Expected, "ZelThumb2");
  ASSERT_FALSE(Expected.IsEmpty());
  int SizeChanges = 0;
  Bar->OnChangeSize = [&](TObject*) { ++SizeChanges; };
  Bar->GetThumb()->SetStyle(TScrollThumbStyle::stsThumb2);
  EXPECT_EQ(Bar->GetSize(), Expected.GetHeight());
  EXPECT_EQ(Bar->GetThumbSize(), Expected.GetWidth());
  EXPECT_EQ(SizeChanges, 0);  // plain stores
  // The picture is stretched into the thumb.
  bool Drawn = false;
  for (const TCanvasRecord& R : PaintRecords())
    if (R.Kind == TRecordKind::DrawBitmap) Drawn = true;
  EXPECT_TRUE(Drawn);
  Bar->GetThumb()->SetStyle(TScrollThumbStyle::stsCustom);
  EXPECT_TRUE(Bar->GetThumb()->GetImage()->IsEmpty());
}

TEST_F(ScrollBarTest, PositionSizeAndVisibleIndex) {
  std::vector<int> Reported;
  Bar->OnSetPosition = [&](TZelScrollBar*, std::int32_t V) { Reported.push_back(V); };
  // Positions outside 0 .. Max are stored as they are.
  Bar->SetPosition(-100);
  Bar->SetPosition(1200);
  EXPECT_EQ(Reported, (std::vector<int>{-100, 1200}));

  struct Case {
    int Position, Index, Expected;
  };
  const Case Cases[] = {{500, 450, 450}, {500, 599, 500}, {500, 600, 501}, {500, 520, 500}};
  for (const Case& C : Cases) {
    Bar->SetPosition(C.Position);
    Bar->EnsureVisible(C.Index);
    EXPECT_EQ(Bar->GetPosition(), C.Expected) << C.Index;
  }

  int SizeChanges = 0;
  Bar->OnChangeSize = [&](TObject*) { ++SizeChanges; };
  Bar->SetSize(18);
  Bar->SetSize(24);
  EXPECT_EQ(SizeChanges, 1);
}

TEST_F(ScrollBarTest, AssignCopiesTheLook) {
  auto* Copy = Create<TZelScrollBar>(nullptr);
  Bar->SetAllowResize(true);
  Bar->SetArrows(false);
  Bar->SetAutoRepeat(false);
  Bar->SetBackColor(0xFF102030);
  Bar->SetBevel(TPanelBevel::bvLowered);
  Bar->SetInitialDelay(400);
  Bar->SetMinThumbSize(7);
  Bar->SetRoundSize(3);
  Bar->SetSize(22);
  Bar->SetThumbSize(12);
  Bar->GetArrowBrush()->SetBackColor(0xFF0000FF);
  Copy->Assign(Bar);
  EXPECT_TRUE(Copy->GetAllowResize());
  EXPECT_FALSE(Copy->GetArrows());
  EXPECT_FALSE(Copy->GetAutoRepeat());
  EXPECT_EQ(Copy->GetBackColor(), 0xFF102030u);
  EXPECT_EQ(Copy->GetBevel(), TPanelBevel::bvLowered);
  EXPECT_EQ(Copy->GetInitialDelay(), 400);
  EXPECT_EQ(Copy->GetMinThumbSize(), 7);
  EXPECT_EQ(Copy->GetRoundSize(), 3);
  EXPECT_EQ(Copy->GetSize(), 22);
  EXPECT_EQ(Copy->GetThumbSize(), 12);
  EXPECT_EQ(Copy->GetArrowBrush()->GetBackColor(), 0xFF0000FFu);
  Copy->Free();
}

}  // namespace
}  // namespace zel::testing
