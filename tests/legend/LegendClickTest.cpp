// The legend's drawing, hit test and presses: check boxes switch series (or groups) on and off.
#include <algorithm>

#include "legend/LegendFixture.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/SeriesLegend.h"

namespace zel::testing {
namespace {

using LegendClick = LegendFixture;

std::vector<bool> ActiveFlags(TCustomAxisPanel* Chart) {
  std::vector<bool> A;
  for (int I = 0; I < Chart->SeriesCount(); ++I) A.push_back(Chart->GetSeries(I)->GetActive());
  return A;
}

TEST_F(LegendClick, PressOnAnItemSwitchesSeriesByCheckBoxStyle) {
  struct Case {
    const char* Name;
    TCheckBoxesStyle Style;
    std::vector<bool> Before;
    int Item;
    std::vector<bool> After;
  };
  const Case Cases[] = {
      {"a check box activates an inactive series", TCheckBoxesStyle::cbsCheck, {true, false, true}, 1,
       {true, true, true}},
      {"a check box deactivates an active series", TCheckBoxesStyle::cbsCheck, {true, true, true}, 2,
       {true, true, false}},
      {"a radio button leaves only its series active", TCheckBoxesStyle::cbsRadio, {true, false, false}, 1,
       {false, true, false}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TearDown();
    SetUp();
    for (std::size_t I = 0; I < C.Before.size(); ++I) AddSeries("S" + std::to_string(I), {1, 2}, C.Before[I]);
    Legend->SetCheckBoxes(true);
    Legend->SetCheckBoxesStyle(C.Style);
    Layout();
    EXPECT_TRUE(Legend->DoMouseDown(0, 0, C.Item));
    EXPECT_EQ(ActiveFlags(Chart), C.After);
    EXPECT_EQ(Legend->GetSelected()->GetItemIndex(), C.Item);
  }
}

TEST_F(LegendClick, SwitchingToRadioLeavesOnlyTheFirstActiveSeries) {
  AddSeriesNamed(3);
  Legend->SetCheckBoxes(true);
  Legend->SetCheckBoxesStyle(TCheckBoxesStyle::cbsRadio);
  EXPECT_EQ(ActiveFlags(Chart), (std::vector<bool>{true, false, false}));
}

TEST_F(LegendClick, PressWithoutCheckBoxesOnlySelects) {
  AddSeries("A", {1, 2, 3});
  Legend->SetCheckBoxes(true);
  Legend->SetLegendStyle(TLegendStyle::lsValues);
  Layout();
  EXPECT_FALSE(Legend->HasCheckBoxes());
  EXPECT_FALSE(Legend->DoMouseDown(0, 0, 1));
  EXPECT_TRUE(Chart->GetSeries(0)->GetActive());
  EXPECT_EQ(Legend->GetSelected()->GetItemIndex(), 1);
  // No item under the mouse is never handled either.
  Legend->SetLegendStyle(TLegendStyle::lsSeries);
  EXPECT_FALSE(Legend->DoMouseDown(0, 0, -1));
}

TEST_F(LegendClick, PressOnAGroupSwitchesItsSeries) {
  TChartSeries* A = AddSeries("A");
  TChartSeries* B = AddSeries("B");
  TChartSeries* C = AddSeries("C");
  TSeriesGroups* G = Chart->GetSeriesGroups();
  auto* G1 = static_cast<TSeriesGroup*>(G->Add());
  G1->SetName("one");
  G1->Add(A);
  G1->Add(B);
  auto* G2 = static_cast<TSeriesGroup*>(G->Add());
  G2->SetName("two");
  G2->Add(C);
  Legend->SetCheckBoxes(true);
  Legend->SetLegendStyle(TLegendStyle::lsSeriesGroups);
  Layout();
  ASSERT_EQ(Legend->IItems.size(), 2u);
  EXPECT_EQ(Legend->IItems[1].first, "two");
  EXPECT_TRUE(Legend->DoMouseDown(0, 0, 0));
  EXPECT_EQ(ActiveFlags(Chart), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(Legend->DoMouseDown(0, 0, 0));
  EXPECT_EQ(ActiveFlags(Chart), (std::vector<bool>{true, true, true}));
  Legend->SetCheckBoxesStyle(TCheckBoxesStyle::cbsRadio);
  EXPECT_EQ(ActiveFlags(Chart), (std::vector<bool>{true, true, false}));
  EXPECT_TRUE(Legend->DoMouseDown(0, 0, 1));
  EXPECT_EQ(ActiveFlags(Chart), (std::vector<bool>{false, false, true}));
}

TEST_F(LegendClick, HitTestFindsTheRowOfAVerticalLegend) {
  AddSeriesNamed(3);
  Layout();
  for (int Row = 0; Row < 3; ++Row) EXPECT_EQ(Legend->Clicked(RowCentre(Row)), Row);
  // Outside the legend, and inside it below the last row.
  const TRectF& B = Legend->ShapeBounds;
  EXPECT_EQ(Legend->Clicked(TPointF(B.Left - 5, RowCentre(0).Y)), -1);
  EXPECT_EQ(Legend->Clicked(TPointF(RowCentre(0).X, B.Bottom - 1)), -1);
  Legend->SetInverted(true);
  Layout();
  EXPECT_EQ(Legend->Clicked(RowCentre(0)), 2);
}

TEST_F(LegendClick, HitTestBelowTheRowsIsNoItemWhateverTheFirstValue) {
  AddSeriesNamed(5);
  Legend->SetFirstValue(2);
  Layout();
  EXPECT_EQ(Legend->Clicked(RowCentre(0)), 2);
  EXPECT_EQ(Legend->Clicked(TPointF(RowCentre(0).X, Legend->ShapeBounds.Bottom - 1)), -1);
}

TEST_F(LegendClick, HitTestFindsTheColumnOfAHorizontalLegend) {
  AddSeriesNamed(3);
  Legend->SetAlignment(TLegendAlignment::laTop);
  Layout();
  Legend->DrawLegend();  // a press follows a paint: items are found where it drew them
  ASSERT_EQ(Legend->NumCols, 3);
  const TRectF& B = Legend->ShapeBounds;
  const float W = B.Width() / 3;
  const float Y = RowCentre(0).Y;
  for (int Col = 0; Col < 3; ++Col) EXPECT_EQ(Legend->Clicked(TPointF(B.Left + W * Col + W / 2, Y)), Col);
  // Listed in reverse, the first column shows the last item.
  Legend->SetInverted(true);
  Layout();
  Legend->DrawLegend();
  for (int Col = 0; Col < 3; ++Col)
    EXPECT_EQ(Legend->Clicked(TPointF(Legend->ShapeBounds.Left + W * Col + W / 2, Y)), 2 - Col);
}

// Items of different widths flow along one row: a press finds the item drawn under it, on its
// check box as on its text, in both listing orders.
TEST_F(LegendClick, HitTestFindsFlowingItemsOfTheirOwnWidths) {
  AddSeries("A");
  AddSeries("A rather long title");
  AddSeries("B");
  Legend->SetAlignment(TLegendAlignment::laTop);
  Legend->SetCheckBoxes(true);
  for (bool Inverted : {false, true}) {
    SCOPED_TRACE(Inverted);
    Legend->SetInverted(Inverted);
    Layout();
    ASSERT_FALSE(Legend->IJustify);
    Spy->Boxes.clear();
    Legend->DrawLegend();
    ASSERT_EQ(Spy->Boxes.size(), 3u);
    for (int Pos = 0; Pos < 3; ++Pos) {
      const int Item = Inverted ? 2 - Pos : Pos;
      const TCheckBoxCall& Box = Spy->Boxes[static_cast<std::size_t>(Pos)];
      const TPointF OnBox(float(Box.X + 5), float(Box.Y + 5));
      const TLegendItem* Drawn = Legend->GetItem(Pos);
      const TPointF OnText(float(Drawn->GetLeft() + 3), OnBox.Y);
      EXPECT_EQ(Legend->Clicked(OnBox), Item) << Pos;
      EXPECT_EQ(Legend->Clicked(OnText), Item) << Pos;
    }
  }
  // the box switches its own series
  const TCheckBoxCall Box = Spy->Boxes[1];
  EXPECT_TRUE(Legend->DoMouseDown(0, 0, Legend->Clicked(TPointF(float(Box.X + 5), float(Box.Y + 5)))));
  EXPECT_EQ(ActiveFlags(Chart), (std::vector<bool>{true, false, true}));
}

TEST_F(LegendClick, DrawingShowsOneTickedBoxAndTheTitleOfEachSeries) {
  AddSeries("Alpha");
  AddSeries("Beta", {1, 2}, false);
  AddSeries("Gamma");
  Legend->SetCheckBoxes(true);
  Layout();
  Rec.ClearRecords();
  Legend->DrawLegend();
  ASSERT_EQ(Spy->Boxes.size(), 3u);
  EXPECT_TRUE(Spy->Boxes[0].Checked);
  EXPECT_FALSE(Spy->Boxes[1].Checked);
  EXPECT_TRUE(Spy->Boxes[2].Checked);
  EXPECT_TRUE(Spy->Boxes[0].IsCheckBox);
  for (const TCheckBoxCall& B : Spy->Boxes) EXPECT_EQ(B.X, Legend->XLegendBox);
  EXPECT_LT(Spy->Boxes[0].Y, Spy->Boxes[1].Y);
  const std::vector<String> T = DrawnTexts();
  EXPECT_EQ(T, (std::vector<String>{"Alpha", "Beta", "Gamma"}));
  // The recorded items remember where their texts went; the press on a box row hits it.
  EXPECT_EQ(Legend->GetItems()->Count(), 3);
  EXPECT_EQ(Legend->GetItem(1)->GetText(), "Beta");
  EXPECT_EQ(Legend->GetItem(1)->GetLeft(), Legend->XLegendText - 2);
  const TCheckBoxCall& Box = Spy->Boxes[1];
  const int Item = Legend->Clicked(TPointF(float(Box.X + 5), float(Box.Y + 5)));
  EXPECT_EQ(Item, 1);
  EXPECT_TRUE(Legend->DoMouseDown(Box.X + 5, Box.Y + 5, Item));
  EXPECT_TRUE(Chart->GetSeries(1)->GetActive());
  // Recorded items are not custom: the next draw records them again.
  EXPECT_FALSE(Legend->GetItems()->GetCustom());
}

TEST_F(LegendClick, RadioStyleDrawsRadioButtonsAndValueStylesDrawNoBoxes) {
  AddSeriesNamed(2);
  Legend->SetCheckBoxes(true);
  Legend->SetCheckBoxesStyle(TCheckBoxesStyle::cbsRadio);
  Layout();
  Legend->DrawLegend();
  ASSERT_EQ(Spy->Boxes.size(), 2u);
  EXPECT_FALSE(Spy->Boxes[0].IsCheckBox);
  Spy->Boxes.clear();
  Legend->SetLegendStyle(TLegendStyle::lsValues);
  Layout();
  Legend->DrawLegend();
  EXPECT_TRUE(Spy->Boxes.empty());
}

TEST_F(LegendClick, CustomItemTextsReplaceTheSeriesTitles) {
  AddSeriesNamed(2);
  Legend->GetItem(0)->SetText("first");
  Legend->GetItem(1)->SetText("second");
  EXPECT_TRUE(Legend->GetItems()->GetCustom());
  Layout();
  Rec.ClearRecords();
  Legend->DrawLegend();
  EXPECT_EQ(DrawnTexts(), (std::vector<String>{"first", "second"}));
  // Drawing keeps custom items.
  EXPECT_EQ(Legend->GetItem(0)->GetText(), "first");
}

TEST_F(LegendClick, DrawingTwiceDrawsTheSame) {
  AddSeriesNamed(3);
  Legend->SetAlignment(TLegendAlignment::laBottom);
  Layout();
  Rec.ClearRecords();
  Legend->DrawLegend();
  const auto First = Rec.RecordsOf(TRecordKind::FillText);
  Rec.ClearRecords();
  Legend->DrawLegend();
  const auto Second = Rec.RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(First.size(), 3u);
  ASSERT_EQ(Second.size(), 3u);
  for (std::size_t I = 0; I < 3; ++I) EXPECT_FLOAT_EQ(First[I].Rect.Left, Second[I].Rect.Left);
  // Items flow left to right on one row.
  EXPECT_LT(First[0].Rect.Left, First[1].Rect.Left);
  EXPECT_LT(First[1].Rect.Left, First[2].Rect.Left);
}

TEST_F(LegendClick, TextsTakeTheSeriesColourAndTheHoverStyle) {
  TChartSeries* A = AddSeries("Alpha");
  TChartSeries* B = AddSeries("Beta");
  A->SetSeriesColor(0xFF112233);
  B->SetSeriesColor(0xFF445566);
  Legend->GetFont()->SetColor(0xFF000000);
  Layout();
  Rec.ClearRecords();
  Legend->DrawLegend();
  auto Texts = Rec.RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Color, 0xFF000000u);
  EXPECT_FALSE(Texts[1].FontStyle.Contains(TFontStyle::fsBold));

  Legend->SetFontSeriesColor(true);
  ASSERT_TRUE(Chart->GetHover()->GetVisible());
  Legend->GetSelected()->GetHover()->SetVisible(true);
  Legend->GetSelected()->SetHoverIndex(1);
  Layout();
  Rec.ClearRecords();
  Legend->DrawLegend();
  Texts = Rec.RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Color, 0xFF112233u);
  EXPECT_EQ(Texts[1].Color, 0xFF445566u);
  EXPECT_FALSE(Texts[0].FontStyle.Contains(TFontStyle::fsBold));
  EXPECT_TRUE(Texts[1].FontStyle.Contains(TFontStyle::fsBold));
}

TEST_F(LegendClick, TitleIsDrawnAboveTheItems) {
  AddSeriesNamed(2);
  Legend->GetTitle()->SetCaption("Records");
  Layout();
  Rec.ClearRecords();
  Legend->DrawLegend();
  const auto Texts = Rec.RecordsOf(TRecordKind::FillText);
  ASSERT_EQ(Texts.size(), 3u);
  EXPECT_EQ(Texts[0].Text, "Records");
  EXPECT_LE(Texts[0].Rect.Top + 12, Texts[1].Rect.Top);
  // The rows start below the title, and the hit test follows them.
  EXPECT_EQ(Legend->Clicked(TPointF(RowCentre(0).X, Texts[1].Rect.Top + 5)), 0);
}

TEST_F(LegendClick, PagedValuesListTheCurrentPage) {
  AddSeries("A", {10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
  Legend->SetTextStyle(TLegendTextStyle::ltsValue);
  Chart->GetPages()->SetMaxPointsPerPage(4);
  Chart->GetPages()->SetCurrent(2);
  Layout();
  EXPECT_EQ(Legend->GetInternalLegendStyle(), TLegendStyle::lsValues);
  EXPECT_EQ(Legend->GetFirstValue(), 4);
  EXPECT_EQ(Legend->ITotalItems, 4);
  ASSERT_EQ(Legend->IItems.size(), 4u);
  EXPECT_EQ(Legend->IItems[0].first, "14");
  EXPECT_EQ(Legend->IItems[3].first, "17");
  // Without CurrentPage the list starts at the first value again.
  Legend->SetCurrentPage(false);
  Layout();
  EXPECT_EQ(Legend->GetFirstValue(), 0);
}

TEST_F(LegendClick, CheckBoxChangeTellsTheChartsListeners) {
  struct TListener : IZelEventListener {
    void ZelEvent(TZelEvent* E) override { Legend += dynamic_cast<TZelLegendEvent*>(E) != nullptr; }
    int Legend = 0;
  } L;
  Chart->AddListener(&L);
  Legend->SetCheckBoxes(true);
  Legend->SetCheckBoxes(true);
  EXPECT_EQ(L.Legend, 1);
  Chart->RemoveListener(&L);
}

TEST_F(LegendClick, DefaultPenSymbolOnBlackLegendGetsAWhiteFrame) {
  struct Case {
    TAlphaColor LegendColor;
    TAlphaColor Frame;
  };
  const Case Cases[] = {{0xFF000000, 0xFFFFFFFF}, {0xFFFFFFFF, 0xFF000000}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.LegendColor);
    Chart->LegendColor = C.LegendColor;
    TZelPen Black;
    Black.SetColor(0xFF000000);
    Chart->GetCanvas()->AssignVisiblePen(&Black);
    Rec.ClearRecords();
    Legend->GetSymbol()->Draw(0xFF000000, TRectF(10, 10, 30, 20));
    const auto Frames = Rec.RecordsOf(TRecordKind::DrawRect);
    ASSERT_FALSE(Frames.empty());
    EXPECT_EQ(Frames.back().Color, C.Frame);
  }
}

TEST_F(LegendClick, CursorIsTheHandOnlyWithVisibleSelection) {
  Legend->SetCursor(crCross);
  EXPECT_EQ(Legend->CalcCursor(), crCross);
  Legend->GetSelected();
  EXPECT_EQ(Legend->CalcCursor(), crCross);
  Legend->GetSelected()->SetVisible(true);
  EXPECT_EQ(Legend->CalcCursor(), crHandPoint);
}

// The path the viewer relies on: a press on a legend check box through the chart's mouse
// handling switches that series off and on again.
TEST_F(LegendClick, ChartMousePressOnACheckBoxSwitchesTheSeries) {
  TLegendChart* C = Create<TLegendChart>(nullptr);
  C->SetView3D(false);
  for (int I = 0; I < 3; ++I) {
    auto* S = Create<TChartSeries>(nullptr);
    S->SetTitle("Record " + std::to_string(I + 1));
    S->AddXY(0, I);
    S->AddXY(1, I + 1);
    C->AddSeries(S);
  }
  TChartLegend* L = C->GetLegend();
  ASSERT_NE(L, nullptr);
  L->SetCheckBoxes(true);
  TRecordingCanvas Canvas(500, 300);
  C->SetBounds(0, 0, 500, 300);
  C->Draw(&Canvas, TRectF(0, 0, 500, 300));
  ASSERT_EQ(L->ILastValue, 2);
  const float Y = float(L->FirstItemTop() + L->ItemHeight + 1 + L->ItemHeight / 2);
  const float X = float(L->XLegendBox + 5);
  C->MouseDown(TMouseButton::mbLeft, {}, X, Y);
  C->MouseUp(TMouseButton::mbLeft, {}, X, Y);
  EXPECT_EQ(ActiveFlags(C), (std::vector<bool>{true, false, true}));
  C->Draw(&Canvas, TRectF(0, 0, 500, 300));
  C->MouseDown(TMouseButton::mbLeft, {}, X, Y);
  C->MouseUp(TMouseButton::mbLeft, {}, X, Y);
  EXPECT_EQ(ActiveFlags(C), (std::vector<bool>{true, true, true}));
  C->Free();
}

}  // namespace
}  // namespace zel::testing
