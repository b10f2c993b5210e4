// Series marks: positions, total bounds, overlap, hit tests, drawing one mark and the "Items"
// stream of custom marks.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ShapeFixture.h"
#include "platform/Filer.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"

namespace zel {
namespace {

void Place(TSeriesMarkPosition& P, float X, float Y, int W, int H) {
  P.LeftTop = TPointF(X, Y);
  P.ArrowTo = TPointF(X, Y);
  P.Width = W;
  P.Height = H;
}

TEST(MarkPosition, BoundsOffsetAndMoveTo) {
  TSeriesMarkPosition P;
  Place(P, 300, 40, 40, 20);
  EXPECT_EQ(P.Bounds(), TRectF(300, 40, 340, 60));
  P.ArrowFrom = TPointF(1, 2);
  P.Offset(TPointF(5, -5));
  EXPECT_EQ(P.Bounds(), TRectF(305, 35, 345, 55));
  EXPECT_EQ(P.ArrowFrom, TPointF(1, 2)) << "the arrow start stays at the point";

  TSeriesMarks Marks(nullptr);
  TSeriesMarkPosition M;
  Place(M, 0, 0, 41, 20);
  Marks.GetPositions()->MoveTo(&M, 100, 50);
  EXPECT_EQ(M.LeftTop, TPointF(80, 31));
  EXPECT_EQ(M.ArrowFrom, TPointF(100, 50));
  EXPECT_EQ(M.ArrowTo, TPointF(100, 50));
}

TEST(Marks, TotalBoundsAddFrameShadowAndEmboss) {
  struct Case {
    bool Pen, Transparent;
    int Emboss;
    TRectF Want;
  } Cases[] = {
      {true, false, 0, {300, 40, 344, 64}},   // pen 1 and shadow 3
      {false, false, 0, {300, 40, 343, 63}},
      {true, true, 0, {300, 40, 340, 60}},    // a transparent mark has neither
      {true, false, 2, {298, 38, 344, 64}},   // emboss of the marks moves the opposite edges
  };
  for (const auto& C : Cases) {
    TSeriesMarks Marks(nullptr);
    Marks.GetPen()->SetVisible(C.Pen);
    Marks.SetTransparent(C.Transparent);
    if (C.Emboss) {
      Marks.GetEmboss()->SetVisible(true);
      Marks.GetEmboss()->SetSize(C.Emboss);
    }
    TSeriesMarkPosition P;
  Place(P, 300, 40, 40, 20);
    EXPECT_EQ(Marks.TotalBounds(0, &P), C.Want) << C.Pen << C.Transparent << C.Emboss;
  }
}

TEST(Marks, ClickedHonoursDrawEveryAndSkipsGaps) {
  TSeriesMarks Marks(nullptr);
  for (int I : {0, 1, 3}) {
    TSeriesMarkPosition P;
  Place(P, 10, 10, 40, 20);
    Marks.GetPositions()->Put(I, &P);
  }
  EXPECT_EQ(Marks.Clicked(20, 20), 3);
  Marks.SetDrawEvery(2);
  EXPECT_EQ(Marks.Clicked(20, 20), 0) << "odd indexes are ignored";
  EXPECT_EQ(Marks.Clicked(100, 100), -1);
  Marks.SetDrawEvery(0);
  EXPECT_EQ(Marks.GetDrawEvery(), 1) << "a mark every point at least";
}

TEST(Marks, UsePositionKeepsWhatTheUserPlaced) {
  TSeriesMarks Marks(nullptr);
  struct Case {
    bool StoredFix, CallerFix;
    TPointF From;
  } Cases[] = {{false, false, {7, 7}}, {true, false, {1, 2}}, {false, true, {1, 2}}};
  for (const auto& C : Cases) {
    TSeriesMarkPosition Stored;
  Place(Stored, 70, 80, 10, 10);
    Stored.ArrowFrom = TPointF(7, 7);
    Stored.ArrowFix = C.StoredFix;
    Marks.GetPositions()->Put(2, &Stored);
    TSeriesMarkPosition Computed;
  Place(Computed, 5, 5, 10, 10);
    Computed.ArrowFrom = TPointF(1, 2);
    Computed.ArrowFix = C.CallerFix;
    TSeriesMarkPosition* P = &Computed;
    Marks.UsePosition(2, P);
    EXPECT_EQ(P->LeftTop, TPointF(70, 80));
    EXPECT_EQ(P->ArrowFrom, C.From) << C.StoredFix << C.CallerFix;
    EXPECT_FALSE(P->Custom);
    EXPECT_TRUE(Marks.GetPositions()->Get(2)->Custom) << "the stored entry stays custom";
  }
  // Without a custom entry the computed position is stored.
  TSeriesMarkPosition Computed;
  Place(Computed, 5, 6, 10, 10);
  TSeriesMarkPosition* P = &Computed;
  Marks.UsePosition(4, P);
  ASSERT_NE(Marks.GetPositions()->Get(4), nullptr);
  EXPECT_EQ(Marks.GetPositions()->Get(4)->LeftTop, TPointF(5, 6));
  EXPECT_EQ(Marks.GetPositions()->Get(3), nullptr);
}

TEST(Marks, ResetPositionsClearsCustomOfExistingEntries) {
  TSeriesMarks Marks(nullptr);
  TSeriesMarkPosition P;
  Place(P, 1, 1, 1, 1);
  Marks.GetPositions()->Put(1, &P);
  Marks.GetPositions()->Put(4, &P);
  EXPECT_TRUE(Marks.GetPositions()->ExistCustom());
  Marks.ResetPositions();
  EXPECT_FALSE(Marks.GetPositions()->ExistCustom());
  EXPECT_EQ(Marks.GetPositions()->Count(), 5);
  EXPECT_EQ(Marks.GetPositions()->Get(0), nullptr);
}

TEST(Marks, AntiOverlapMovesOrDropsTheLaterMark) {
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  TSeriesMarks* Marks = Series->GetMarks();
  Marks->GetShadow()->SetSize(0);
  Marks->GetPen()->Hide();
  TSeriesMarkPosition First;
  Place(First, 100, 100, 40, 20);
  TSeriesMarkPosition* P = &First;
  Marks->UsePosition(0, P);

  // Overlapping the first mark: moved up until clear.
  TSeriesMarkPosition Second;
  Place(Second, 110, 110, 40, 20);
  EXPECT_TRUE(Marks->AntiOverlap(0, 1, &Second));
  EXPECT_FALSE(ZelRectIntersects(Second.Bounds(), First.Bounds()));
  EXPECT_EQ(Second.LeftTop.X, 110);

  // No earlier marks to test against.
  TSeriesMarkPosition Alone;
  Place(Alone, 100, 100, 40, 20);
  EXPECT_TRUE(Marks->AntiOverlap(1, 1, &Alone));
  EXPECT_EQ(Alone.LeftTop, TPointF(100, 100));

  // Apart from each other: untouched.
  TSeriesMarkPosition Far;
  Place(Far, 300, 300, 40, 20);
  EXPECT_TRUE(Marks->AntiOverlap(0, 1, &Far));
  EXPECT_EQ(Far.LeftTop, TPointF(300, 300));
}

TEST(Marks, ZelRectIntersectsNeedsACommonArea) {
  struct Case {
    TRectF A, B;
    bool Hit;
  } Cases[] = {{{0, 0, 10, 10}, {5, 5, 15, 15}, true},
               {{0, 0, 10, 10}, {10, 0, 20, 10}, false},  // touching edges
               {{0, 0, 10, 10}, {20, 20, 30, 30}, false},
               {{0, 0, 10, 10}, {2, 2, 3, 3}, true}};
  for (const auto& C : Cases) {
    TRectF Out;
    EXPECT_EQ(ZelRectIntersects(Out, C.A, C.B), C.Hit);
    EXPECT_EQ(ZelRectIntersects(C.B, C.A), C.Hit);
  }
}

// --- custom items ---

TEST(MarksItems, ItemsAreCopiesOfTheMarksAndTrackTheirOwnText) {
  TSeriesMarks Marks(nullptr);
  Marks.SetColor(0xFF102030);
  TMarksItem* Item = Marks.GetItem(3);
  EXPECT_EQ(Marks.GetItems()->Count(), 4);
  EXPECT_EQ(Marks.GetItems()->InternalGet(1), nullptr);
  EXPECT_EQ(Item->GetColor(), 0xFF102030u);
  EXPECT_FALSE(Item->ICustomText);
  EXPECT_EQ(Marks.MarkItem(3), Item);
  EXPECT_EQ(Marks.MarkItem(1), &Marks);

  TStringList* Lines = Item->GetLines();
  Lines->Add("one");
  Lines->Add("two");
  EXPECT_TRUE(Item->ICustomText);
  EXPECT_EQ(Item->GetText(), "one\rtwo");
  Item->SetLines(nullptr);
  EXPECT_FALSE(Item->ICustomText);
  EXPECT_EQ(Item->GetText(), "");
}

// Writes the marks' stream properties; returns the bytes.
std::vector<Byte> WriteMarks(TSeriesMarks& Marks) {
  TMemoryStream S;
  TWriter W(&S);
  W.WriteProperties(&Marks);
  W.WriteListEnd();
  std::vector<Byte> Bytes(static_cast<std::size_t>(S.GetSize()));
  S.SetPosition(0);
  if (!Bytes.empty()) S.ReadBuffer(Bytes.data(), Int64(Bytes.size()));
  return Bytes;
}

void ReadMarks(TSeriesMarks& Marks, const std::vector<Byte>& Bytes) {
  TMemoryStream S;
  if (!Bytes.empty()) S.WriteBuffer(Bytes.data(), Int64(Bytes.size()));
  S.SetPosition(0);
  TReader R(&S);
  R.ReadProperties(&Marks);
  R.ReadListEnd();
}

TEST(MarksItems, ItemsStreamRoundTripsByteForByte) {
  TSeriesMarks A(nullptr);
  A.GetItem(0)->SetText("first\rline two");
  A.GetItem(2)->SetColor(0xFFABCDEF);  // no own text, another colour
  A.GetItem(3)->SetText("");
  A.GetItem(3)->GetLines()->Add("listed");
  const std::vector<Byte> Bytes = WriteMarks(A);

  TSeriesMarks B(nullptr);
  ReadMarks(B, Bytes);
  ASSERT_EQ(B.GetItems()->Count(), 4);
  EXPECT_EQ(B.GetItems()->InternalGet(0)->GetText(), "first\rline two");
  EXPECT_TRUE(B.GetItems()->InternalGet(0)->ICustomText);
  EXPECT_FALSE(B.GetItems()->InternalGet(2)->ICustomText);
  EXPECT_EQ(B.GetItems()->InternalGet(2)->GetColor(), 0xFFABCDEFu);
  EXPECT_EQ(B.GetItems()->InternalGet(3)->GetText(), "listed");
  EXPECT_EQ(WriteMarks(B), Bytes);

  // Custom items read from a stream survive Clear; items made by access do not.
  B.Clear();
  EXPECT_EQ(B.GetItems()->Count(), 4);
  A.Clear();
  EXPECT_EQ(A.GetItems()->Count(), 0);
}

TEST(MarksItems, EmptyItemsAreNotWrittenAndACountOfZeroOrBelowReadsNothing) {
  TSeriesMarks A(nullptr);
  const std::vector<Byte> Empty = WriteMarks(A);
  EXPECT_EQ(Empty, std::vector<Byte>{0}) << "only the list end";

  for (const std::int32_t Count : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
    // "Items" holding only the count.
    TMemoryStream S;
    TWriter W(&S);
    W.DefineBinaryProperty("Items", nullptr, [Count](TStream* Out) { Out->WriteBuffer(&Count, 4); }, true);
    W.WriteListEnd();
    std::vector<Byte> Bytes(static_cast<std::size_t>(S.GetSize()));
    S.SetPosition(0);
    S.ReadBuffer(Bytes.data(), Int64(Bytes.size()));
    TSeriesMarks B(nullptr);
    ReadMarks(B, Bytes);
    EXPECT_EQ(B.GetItems()->Count(), 0) << Count;
    B.GetItem(1);
    B.Clear();
    EXPECT_EQ(B.GetItems()->Count(), 0) << "items created by access go with Clear";
  }
}

TEST(MarksItems, DamagedItemsStreamIsRejected) {
  auto Stream = [](std::int32_t Count, std::vector<Byte> Tail) {
    TMemoryStream S;
    TWriter W(&S);
    W.DefineBinaryProperty("Items", nullptr, [&](TStream* Out) {
      Out->WriteBuffer(&Count, 4);
      if (!Tail.empty()) Out->WriteBuffer(Tail.data(), Int64(Tail.size()));
    }, true);
    W.WriteListEnd();
    std::vector<Byte> Bytes(static_cast<std::size_t>(S.GetSize()));
    S.SetPosition(0);
    S.ReadBuffer(Bytes.data(), Int64(Bytes.size()));
    return Bytes;
  };
  const std::vector<Byte> Cases[] = {
      Stream(0x7FFFFFFF, {1, 0}),     // far more items than bytes
      Stream(2, {1, 0}),              // the second item is missing
      Stream(1, {1, 4, 'N', 'o', 'p', 'e', 9, 0}),  // an unknown property
  };
  for (const auto& Bytes : Cases) {
    TSeriesMarks M(nullptr);
    EXPECT_THROW(ReadMarks(M, Bytes), EReadError);
  }
}

// --- drawing one mark ---

using MarkDraw = ShapeFixture;

TEST_F(MarkDraw, FontSeriesColorDrawsInThePointColourAndRestoresTheFont) {
  TSeriesMarks Marks(nullptr);
  Marks.SetParent(Panel.get());
  Marks.GetFont()->SetColor(0xFF000000);
  struct Case {
    bool SeriesColor;
    TAlphaColor Want;
  } Cases[] = {{false, 0xFF000000}, {true, 0xFF00FF00}};
  for (const auto& C : Cases) {
    Marks.SetFontSeriesColor(C.SeriesColor);
    TSeriesMarkPosition P;
  Place(P, 50, 50, 60, 20);
    Rec.ClearRecords();
    Marks.InternalDraw(0, 0xFF00FF00, "abc", &P);
    const auto Texts = Records(TRecordKind::FillText);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0].Text, "abc");
    EXPECT_EQ(Texts[0].Color, C.Want);
    EXPECT_EQ(Marks.GetFont()->GetColor(), 0xFF000000u);
  }
}

TEST_F(MarkDraw, HoveredMarkTakesTheHoverFontStyleForItsDrawing) {
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  TSeriesMarks* Marks = Series->GetMarks();
  Marks->SetParent(Panel.get());
  Series->GetSelected()->GetHover()->Show();
  Series->GetSelected()->GetHover()->GetFont()->SetStyle(TFontStyles{TFontStyle::fsBold});
  Series->GetSelected()->SetHoverIndex(1);
  for (int I : {0, 1}) {
    TSeriesMarkPosition P;
    Place(P, 50, 50, 60, 20);
    Rec.ClearRecords();
    Marks->InternalDraw(I, 0xFF00FF00, "abc", &P);
    const auto Texts = Records(TRecordKind::FillText);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0].FontStyle.Contains(TFontStyle::fsBold), I == 1) << I;
    EXPECT_FALSE(Marks->GetFont()->GetStyle().Contains(TFontStyle::fsBold)) << "the marks' font is put back";
  }
}

TEST_F(MarkDraw, TextWidthMeasuresTheMarkTextOfThePoint) {
  TOwned<TChartSeries> Series(Create<TChartSeries>(nullptr));
  Series->Add(5, "abcd");
  Series->Add(6, "ab");
  TSeriesMarks* Marks = Series->GetMarks();
  Marks->SetParent(Panel.get());
  EXPECT_EQ(Marks->TextWidth(0), 28);
  EXPECT_EQ(Marks->TextWidth(1), 14);
  Marks->GetItem(1)->SetText("longer\rx");
  EXPECT_EQ(Marks->TextWidth(1), 42) << "a custom item's text, widest line";
}

TEST_F(MarkDraw, CustomItemShowsItsOwnText) {
  TSeriesMarks Marks(nullptr);
  Marks.SetParent(Panel.get());
  Marks.GetItem(1)->SetText("mine");
  Marks.GetItem(2);  // an item without text of its own
  for (int I : {0, 1, 2}) {
    TSeriesMarkPosition P;
  Place(P, 50, 50, 60, 20);
    Rec.ClearRecords();
    Marks.InternalDraw(I, 0xFF00FF00, "auto", &P);
    const auto Texts = Records(TRecordKind::FillText);
    ASSERT_EQ(Texts.size(), 1u) << I;
    EXPECT_EQ(Texts[0].Text, I == 1 ? "mine" : "auto") << I;
  }
  EXPECT_FALSE(Marks.GetItems()->InternalGet(2)->ICustomText);
}

TEST_F(MarkDraw, CalloutDrawsBeforeTheBoxAndTheSymbolInsideIt) {
  TSeriesMarks Marks(nullptr);
  Marks.SetParent(Panel.get());
  Marks.GetShadow()->SetSize(0);
  Marks.GetCallout();  // the arrow pen is visible
  Marks.GetSymbol()->Show();
  TSeriesMarkPosition P;
  Place(P, 50, 50, 60, 20);
  P.ArrowFrom = TPointF(80, 100);
  P.ArrowTo = TPointF(80, 70);
  Rec.ClearRecords();
  Marks.InternalDraw(0, 0xFF00FF00, "abc", &P);
  const auto& All = Rec.GetRecords();
  ASSERT_FALSE(All.empty());
  EXPECT_EQ(All.front().Kind, TRecordKind::DrawLine) << "the arrow comes first";
  bool SymbolFilled = false;
  for (const auto& R : Rec.RecordsOf(TRecordKind::FillRect))
    if (R.Color == 0xFF00FF00 && R.Rect.Left >= 50 && R.Rect.Right <= 110) SymbolFilled = true;
  EXPECT_TRUE(SymbolFilled) << "the symbol in the point's colour inside the mark";
}

}  // namespace
}  // namespace zel
