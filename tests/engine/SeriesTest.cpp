#include <gtest/gtest.h>

#include <vector>

#include "TestPanel.h"
#include "zelgraph/engine/Engine.h"
#include "zelgraph/procs/Procs.h"

namespace zel {
namespace {

constexpr TAlphaColor Red = 0xFFFF0000;
constexpr TAlphaColor Blue = 0xFF0000FF;

std::vector<double> Values(const TChartValueList* L) {
  std::vector<double> R;
  for (std::int32_t I = 0; I < L->GetCount(); ++I) R.push_back(L->Value[I]);
  return R;
}

// A dependent series that checks, whenever it follows its source, that the source's lists agree.
class TCheckingSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  void AddValues(TChartSeries* Source) override {
    Check(Source);
    ++Recalcs;
    TChartSeries::AddValues(Source);
  }
  void AddedValue(TChartSeries* Source, std::int32_t ValueIndex) override {
    Check(Source);
    TChartSeries::AddedValue(Source, ValueIndex);
  }
  void Check(TChartSeries* Source) {
    if (Source->GetXValues()->GetCount() != Source->GetYValues()->GetCount()) ++HalfSeen;
  }
  int HalfSeen = 0;
  int Recalcs = 0;
};

struct SeriesFixture : testing::Test {
  void TearDown() override {
    for (TComponent* C : Owned) C->Free();
  }
  template <typename T = TChartSeries>
  T* NewSeries() {
    T* S = Create<T>(nullptr);
    Owned.insert(Owned.begin(), S);
    return S;
  }
  TTestPanel* NewPanel() {
    auto* P = Create<TTestPanel>(nullptr);
    Owned.push_back(P);  // freed after the series
    return P;
  }
  std::vector<TComponent*> Owned;
};

TEST_F(SeriesFixture, AddXYOrdersByXAndCarriesY) {
  TChartSeries* S = NewSeries();
  EXPECT_EQ(S->GetXValues()->GetName(), "X");
  EXPECT_EQ(S->GetYValues()->GetName(), "Y");
  EXPECT_EQ(S->AddXY(3, 30), 0);
  EXPECT_EQ(S->AddXY(1, 10), 0);
  EXPECT_EQ(S->AddXY(2, 20), 1);
  EXPECT_EQ(Values(S->GetXValues()), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Values(S->GetYValues()), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(S->Add(40), 3);  // x = Count
  EXPECT_EQ(S->GetxValue(3), 3);
  EXPECT_EQ(S->MaxYValue(), 40);
  EXPECT_EQ(S->MinXValue(), 1);
}

TEST_F(SeriesFixture, ExtraChannelsTakeTheirWaitingValue) {
  TChartSeries* S = NewSeries();
  auto* Z = new TChartValueList(S, "Z");
  Z->SetTempValue(7);
  S->AddXY(2, 20);
  Z->SetTempValue(5);
  S->AddXY(1, 10);
  EXPECT_EQ(Values(Z), (std::vector<double>{5, 7}));
  S->Delete(0);
  EXPECT_EQ(Values(Z), (std::vector<double>{7}));
}

TEST_F(SeriesFixture, ColourListOnlyWhenNeeded) {
  TChartSeries* S = NewSeries();
  for (int I = 0; I < 3; ++I) S->AddXY(I, I);
  EXPECT_EQ(S->GetColors(), nullptr);
  EXPECT_EQ(S->InternalColor(1), clZelDefault);
  S->AddXY(3, 3, "", Red);
  ASSERT_NE(S->GetColors(), nullptr);
  EXPECT_EQ(*S->GetColors(), (std::vector<TAlphaColor>{clZelDefault, clZelDefault, clZelDefault, Red}));
  EXPECT_EQ(S->GetValueColor(3), Red);

  S->ChangeInternalColor(Blue);
  EXPECT_EQ(S->GetValueColor(0), Blue);
  EXPECT_FALSE(S->IsColorStored());

  S->AddNullXY(4, 0);
  EXPECT_TRUE(S->IsNull(4));
  S->SetNull(4, false);
  EXPECT_FALSE(S->IsNull(4));
  S->SetNull(1);
  EXPECT_TRUE(S->IsNull(1));
  S->Delete(0, 5);  // every stored colour gone: the list goes
  EXPECT_EQ(S->Count(), 0);
  EXPECT_EQ(S->GetColors(), nullptr);
}

TEST_F(SeriesFixture, SetValueColorExtendsWithNullPoints) {
  TChartSeries* S = NewSeries();
  for (int I = 0; I < 5; ++I) S->Add(I);
  S->SetValueColor(9, Red);
  EXPECT_EQ(S->Count(), 10);
  for (int I = 5; I < 9; ++I) EXPECT_TRUE(S->IsNull(I)) << I;
  EXPECT_FALSE(S->IsNull(4));
  EXPECT_EQ(S->GetValueColor(9), Red);
  try {
    S->SetValueColor(-1, Red);
    FAIL() << "expected ChartException";
  } catch (const ChartException& E) {
    EXPECT_EQ(String(E.what()), "Series ValueColor: ValueIndex -1 must not be negative.");
  }
  EXPECT_EQ(S->Count(), 10);
  TChartSeries* Plain = NewSeries();
  Plain->SetValueColor(3, clZelDefault);  // nothing to store
  EXPECT_EQ(Plain->Count(), 0);
}

TEST_F(SeriesFixture, ColorEachPointUsesThePalette) {
  TTestPanel* P = NewPanel();
  P->ColorPalette = {0xFF000001, 0xFF000002, 0xFF000003};
  TChartSeries* S = NewSeries();
  for (int I = 0; I < 4; ++I) S->Add(I);
  S->SetColorEachPoint(true);
  EXPECT_EQ(S->GetValueColor(1), GetDefaultColor(1));  // no chart: the library palette
  P->AddSeries(S);
  EXPECT_EQ(S->GetValueColor(1), 0xFF000002u);
  EXPECT_EQ(S->GetValueColor(3), 0xFF000001u);
}

TEST_F(SeriesFixture, OnBeforeAddMayRefuse) {
  TChartSeries* S = NewSeries();
  S->OnBeforeAdd = [](TChartSeries*) { return false; };
  EXPECT_EQ(S->AddXY(1, 2, "label", Red), -1);
  EXPECT_EQ(S->Count(), 0);
  EXPECT_EQ(S->GetColors(), nullptr);
  EXPECT_EQ(S->GetLabels()->Count(), 0);
}

TEST_F(SeriesFixture, UpdateBracketNotifiesOnceAndRepaints) {
  TTestPanel* P = NewPanel();
  TChartSeries* S = NewSeries();
  auto* D = NewSeries<TCheckingSeries>();
  P->AddSeries(S);
  S->AddLinkedSeries(D);
  int AfterAdd = 0;
  S->OnAfterAdd = [&](TChartSeries*, std::int32_t) { ++AfterAdd; };
  const int Before = P->Invalidates;
  S->BeginUpdate();
  S->BeginUpdate();
  for (int I = 0; I < 100; ++I) S->AddXY(I, I);
  S->EndUpdate();
  EXPECT_EQ(P->Count(TChartSeriesEvent::seDataChanged), 0);
  S->EndUpdate();
  EXPECT_EQ(AfterAdd, 0);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seDataChanged), 1);
  EXPECT_GT(P->Invalidates, Before);  // the loaded points get drawn
  EXPECT_EQ(D->Recalcs, 1);
  EXPECT_EQ(D->Count(), 100);
  S->EndUpdate();  // unbalanced: nothing
  EXPECT_EQ(P->Count(TChartSeriesEvent::seDataChanged), 1);
  EXPECT_FALSE(S->IsUpdating());

  S->AddXY(100, 1);
  EXPECT_EQ(AfterAdd, 1);
  EXPECT_EQ(D->Count(), 101);
}

TEST_F(SeriesFixture, InactiveOrDetachedSeriesRequestNoRepaintOnEndUpdate) {
  TTestPanel* P = NewPanel();
  TChartSeries* S = NewSeries();
  P->AddSeries(S);
  S->SetActive(false);
  const int Before = P->Invalidates;
  S->BeginUpdate();
  S->AddXY(1, 1);
  S->EndUpdate();
  EXPECT_EQ(P->Invalidates, Before);
  TChartSeries* Lone = NewSeries();
  Lone->BeginUpdate();
  Lone->AddXY(1, 1);
  Lone->EndUpdate();  // no chart: nothing to repaint, no crash
  EXPECT_EQ(Lone->Count(), 1);
}

TEST_F(SeriesFixture, DependentsNeverSeeAHalfChangedSeries) {
  TChartSeries* S = NewSeries();
  auto* D = NewSeries<TCheckingSeries>();
  D->GetXValues()->SetOrder(TChartListOrder::loNone);  // mirror the source's point order
  S->AddLinkedSeries(D);
  S->AddLinkedSeries(D);  // once only
  EXPECT_EQ(S->GetLinkedSeries().size(), 1u);
  for (int I = 0; I < 5; ++I) {
    S->GetXValues()->GetMaxValue();  // fresh statistics: the lists now report changes
    S->GetYValues()->GetMaxValue();
    S->AddXY(I, I * 10);
  }
  EXPECT_EQ(D->HalfSeen, 0);
  EXPECT_EQ(Values(D->GetYValues()), (std::vector<double>{0, 10, 20, 30, 40}));  // no duplicates

  S->GetYValues()->GetMaxValue();
  S->Delete(1);
  EXPECT_EQ(D->HalfSeen, 0);
  EXPECT_EQ(Values(D->GetYValues()), (std::vector<double>{0, 20, 30, 40}));

  const int Recalcs = D->Recalcs;
  S->SwapValueIndex(0, 3);
  EXPECT_EQ(D->Recalcs, Recalcs + 1);  // one notice for the whole swap
  EXPECT_EQ(Values(D->GetYValues()), (std::vector<double>{40, 20, 30, 0}));

  S->Delete(1, 2);  // a range names no single point: the dependent copies its source again
  EXPECT_EQ(Values(D->GetYValues()), (std::vector<double>{40, 0}));
  EXPECT_EQ(D->HalfSeen, 0);

  S->GetYValues()->SetValue(0, 5);  // one list, one value: follows at once
  EXPECT_EQ(Values(D->GetYValues()), (std::vector<double>{5, 0}));
}

TEST_F(SeriesFixture, DependentFollowsOnlyWhatItsOptionsAsk) {
  TChartSeries* S = NewSeries();
  TChartSeries* D = NewSeries();
  S->AddLinkedSeries(D);
  D->SetRecalcOptions({TSeriesRecalcOption::rOnDelete});
  S->AddXY(0, 1);
  EXPECT_EQ(D->Count(), 0);
  D->AddXY(0, 9);
  S->Clear();  // no rOnClear: stays
  EXPECT_EQ(D->Count(), 1);
  D->SetRecalcOptions({TSeriesRecalcOption::rOnClear});
  S->Clear();
  EXPECT_EQ(D->Count(), 0);
}

TEST_F(SeriesFixture, FreedDependentLeavesNoLink) {
  TChartSeries* S = NewSeries();
  TChartSeries* D = Create<TChartSeries>(nullptr);
  S->AddLinkedSeries(D);
  D->Free();
  EXPECT_TRUE(S->GetLinkedSeries().empty());
  S->AddXY(1, 1);  // nothing left to notify
  TChartSeries* Src = Create<TChartSeries>(nullptr);
  TChartSeries* Dep = NewSeries();
  Src->AddLinkedSeries(Dep);
  Src->Free();
  Dep->AddXY(1, 1);
  EXPECT_EQ(Dep->Count(), 1);
}

TEST_F(SeriesFixture, DeleteOutOfBoundsRaises) {
  for (std::int32_t Index : {5, -1, 100}) {
    SCOPED_TRACE(Index);
    TChartSeries* S = NewSeries();
    for (int I = 0; I < 5; ++I) S->Add(I);
    try {
      S->Delete(Index);
      FAIL() << "expected ChartException";
    } catch (const ChartException& E) {
      EXPECT_EQ(String(E.what()), "Series Delete: ValueIndex " + std::to_string(Index) + " out of bounds (0 to 4).");
    }
    EXPECT_EQ(S->Count(), 5);
  }
}

TEST_F(SeriesFixture, DeleteRangeAndGap) {
  TChartSeries* S = NewSeries();
  for (int I = 0; I < 4; ++I) S->AddXY(I, I * 10, I == 3 ? "last" : "");
  S->Delete(1, 2, true);
  EXPECT_EQ(Values(S->GetXValues()), (std::vector<double>{0, 1}));
  EXPECT_EQ(Values(S->GetYValues()), (std::vector<double>{0, 30}));
  EXPECT_EQ(S->GetXLabel(1), "last");
  S->Delete(-1, 1);  // before the first point: nothing
  EXPECT_EQ(S->Count(), 2);
  EXPECT_THROW(S->Delete(0, 0), EAssertionFailed);
  EXPECT_THROW(S->Delete(1, 2), EAssertionFailed);
  EXPECT_EQ(S->Count(), 2);
}

TEST_F(SeriesFixture, PointListsStayInStepOnDeleteAndSwap) {
  TChartSeries* S = NewSeries();
  S->AddXY(0, 0, "a", Red);
  S->AddXY(1, 1, "b");
  S->AddXY(2, 2, "c", Blue);
  TSeriesMarkPosition Pos;
  Pos.Width = 7;
  S->GetMarks()->GetPositions()->Put(2, &Pos);
  S->GetMarks()->GetItem(1)->SetText("item1");
  S->Delete(0);
  EXPECT_EQ(S->GetXLabel(0), "b");
  EXPECT_EQ(S->InternalColor(1), Blue);
  ASSERT_NE(S->GetMarks()->GetPositions()->Get(1), nullptr);
  EXPECT_EQ(S->GetMarks()->GetPositions()->Get(1)->Width, 7);
  EXPECT_EQ(S->GetMarks()->GetItems()->InternalGet(0)->GetText(), "item1");

  S->SwapValueIndex(0, 1);
  EXPECT_EQ(Values(S->GetYValues()), (std::vector<double>{2, 1}));
  EXPECT_EQ(S->GetXLabel(0), "c");
  EXPECT_EQ(S->InternalColor(0), Blue);
  EXPECT_EQ(S->GetMarks()->GetPositions()->Get(1)->Width, 7);  // marks stay where they are

  S->Clear();
  EXPECT_EQ(S->Count(), 0);
  EXPECT_EQ(S->GetColors(), nullptr);
  EXPECT_EQ(S->GetLabels()->Count(), 0);
  EXPECT_EQ(S->GetMarks()->GetPositions()->Count(), 0);
}

TEST_F(SeriesFixture, SortMovesEveryChannelTogether) {
  TChartSeries* S = NewSeries();
  S->GetXValues()->SetOrder(TChartListOrder::loNone);
  S->AddXY(1, 10, "one");
  S->AddXY(3, 30, "three", Red);
  S->AddXY(2, 20, "two");
  S->GetXValues()->SetOrder(TChartListOrder::loDescending);
  S->GetXValues()->Sort();
  EXPECT_EQ(Values(S->GetXValues()), (std::vector<double>{3, 2, 1}));
  EXPECT_EQ(Values(S->GetYValues()), (std::vector<double>{30, 20, 10}));
  EXPECT_EQ(S->GetXLabel(0), "three");
  EXPECT_EQ(S->InternalColor(0), Red);
  EXPECT_EQ(S->InternalColor(2), clZelDefault);
}

TEST_F(SeriesFixture, ChartColoursAndMembership) {
  TTestPanel* P = NewPanel();
  P->ColorPalette = {0xFF000001, 0xFF000002, 0xFF000003};
  TChartSeries* A = NewSeries();
  TChartSeries* B = NewSeries();
  TChartSeries* C = NewSeries();
  C->SetSeriesColor(Blue);
  P->AddSeries(A);
  P->AddSeries(B);
  P->AddSeries(C);
  EXPECT_EQ(A->GetSeriesColor(), 0xFF000001u);
  EXPECT_EQ(B->GetSeriesColor(), 0xFF000002u);
  EXPECT_FALSE(A->IsColorStored());
  EXPECT_EQ(C->GetSeriesColor(), Blue);  // a set colour is kept
  EXPECT_TRUE(C->IsColorStored());
  EXPECT_EQ(P->SeriesCount(), 3);
  EXPECT_EQ(B->GetIndex(), 1);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seAdd), 3);

  C->SetDefaultColor();
  EXPECT_FALSE(C->IsColorStored());
  EXPECT_EQ(C->GetSeriesColor(), 0xFF000003u);

  B->SetParentChart(nullptr);
  EXPECT_EQ(P->SeriesCount(), 2);
  EXPECT_EQ(B->GetIndex(), -1);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seRemove), 1);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seAfterRemove), 1);
  P->RemoveSeries(-1);
  EXPECT_EQ(P->SeriesCount(), 2);

  A->SetTitle("Title");
  EXPECT_EQ(P->Count(TChartSeriesEvent::seChangeTitle), 1);
  A->SetActive(false);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seChangeActive), 1);
}

TEST_F(SeriesFixture, FreeingDetachesAndChartFreesItsSeries) {
  auto* P = Create<TTestPanel>(nullptr);
  TChartSeries* A = Create<TChartSeries>(nullptr);
  TChartSeries* B = Create<TChartSeries>(nullptr);
  P->AddSeries(A);
  P->AddSeries(B);
  A->Free();
  EXPECT_EQ(P->SeriesCount(), 1);
  EXPECT_EQ(P->GetSeries(0), B);
  P->Free();  // frees B too (the sanitizer catches a leak or a double free)
}

TEST_F(SeriesFixture, FreeingASeriesClearsIt) {
  for (const bool InChart : {false, true}) {
    TChartSeries* S = Create<TChartSeries>(nullptr);
    if (InChart) NewPanel()->AddSeries(S);
    S->AddXY(0, 1);
    int Cleared = 0;
    S->OnClearValues = [&](TChartSeries* Sender) {
      EXPECT_EQ(Sender, S);
      ++Cleared;
    };
    S->Free();
    EXPECT_EQ(Cleared, 1) << "in chart: " << InChart;
  }
}

// Series kinds of their own, for themes.
class TThemeKindA : public TChartSeries {
  ZEL_CLASS(TThemeKindA, TChartSeries)
 public:
  using TChartSeries::TChartSeries;
};
ZEL_DEFINE_CLASS(TThemeKindA, TChartSeries)
class TThemeKindB : public TChartSeries {
  ZEL_CLASS(TThemeKindB, TChartSeries)
 public:
  using TChartSeries::TChartSeries;
};
ZEL_DEFINE_CLASS(TThemeKindB, TChartSeries)

TEST_F(SeriesFixture, ThemeGivesNewSeriesTheLookOfTheirKindElseItsThemedSeries) {
  struct Case {
    const char* Name;
    bool WithThemed;
    TAlphaColor Expected;
  };
  for (const Case& C : {Case{"the themed series' look", true, Blue}, Case{"the theme's first series", false, Red}}) {
    TTestPanel* P = NewPanel();
    auto* Theme = Create<TTestPanel>(nullptr);
    P->Theme = Theme;  // the chart owns its theme
    auto* Other = Create<TThemeKindA>(Theme);
    Theme->AddSeries(Other);
    Other->GetPen()->SetColor(Red);
    if (C.WithThemed) {
      auto* Themed = Create<TThemedSeries>(Theme);
      Theme->AddSeries(Themed);
      Themed->GetPen()->SetColor(Blue);
    }
    auto* S = NewSeries<TThemeKindB>();
    P->AddSeries(S);
    EXPECT_EQ(S->GetPen()->GetColor(), C.Expected) << C.Name;
    auto* Same = NewSeries<TThemeKindA>();
    P->AddSeries(Same);
    EXPECT_EQ(Same->GetPen()->GetColor(), Red) << C.Name << ": a series of the same kind";
  }
  // Streaming knows the class.
  TObject* Made = FindClass("TThemedSeries")->Create(nullptr);
  EXPECT_NE(dynamic_cast<TThemedSeries*>(Made), nullptr);
  Made->Free();
}

TEST_F(SeriesFixture, SetMarksCopiesIntoTheSeriesMarks) {
  TChartSeries* A = NewSeries();
  TChartSeries* B = NewSeries();
  A->GetMarks()->SetStyle(TSeriesMarksStyle::smsPointIndex);
  A->GetMarks()->SetDrawEvery(3);
  EXPECT_FALSE(B->HasMarks());
  B->SetMarks(A->GetMarks());
  EXPECT_NE(B->GetMarks(), A->GetMarks());
  EXPECT_EQ(B->GetMarks()->GetStyle(), TSeriesMarksStyle::smsPointIndex);
  EXPECT_EQ(B->GetMarks()->GetDrawEvery(), 3);
  B->SetMarks(nullptr);
  EXPECT_EQ(B->GetMarks()->GetDrawEvery(), 3) << "nothing to copy";
}

TEST_F(SeriesFixture, NonValueSeriesCannotJoinAChart) {
  TTestPanel* P = NewPanel();
  auto* S = Create<TCustomChartSeries>(nullptr);
  EXPECT_THROW(P->InternalAddSeries(S), EInvalidCast);
  EXPECT_EQ(P->SeriesCount(), 0);
  S->Free();
}

TEST_F(SeriesFixture, AddArrayAddsInOneBracket) {
  TTestPanel* P = NewPanel();
  TChartSeries* S = NewSeries();
  P->AddSeries(S);
  const double Ys[] = {5, 6, 7};
  EXPECT_EQ(S->AddArray(Ys, 2), 3);
  const double Xs[] = {2, 0, 1};
  EXPECT_EQ(S->AddArray(Xs, 2, Ys), 3);
  EXPECT_EQ(S->Count(), 6);
  EXPECT_EQ(P->Count(TChartSeriesEvent::seDataChanged), 2);
  EXPECT_EQ(S->AddArray(std::vector<double>{}), 0);
}

TEST(LabelsList, GrowsOnlyForText) {
  TLabelsList L(nullptr);
  L.SetLabel(5, "x");
  EXPECT_EQ(L.Count(), 6);
  EXPECT_EQ(L.GetLabel(0), "");
  EXPECT_EQ(L.GetLabel(5), "x");
  L.SetLabel(9, "");
  EXPECT_EQ(L.Count(), 6);
  EXPECT_EQ(L.GetLabel(-1), "");

  TLabelsList E(nullptr);
  E.InsertLabel(0, "");
  EXPECT_EQ(E.Count(), 0);
  E.InsertLabel(2, "c");
  E.InsertLabel(0, "a");
  EXPECT_EQ(E.GetList(), (std::vector<String>{"a", "", "", "c"}));
  E.DeleteLabel(1);
  EXPECT_EQ(E.GetList(), (std::vector<String>{"a", "", "c"}));

  TLabelsList C(nullptr);
  C.SetLabel(0, "AB");
  EXPECT_EQ(C.IndexOfLabel("ab", true), -1);
  EXPECT_EQ(C.IndexOfLabel("ab", false), 0);
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

TEST_F(SeriesFixture, DependentKeepsColoursInStep) {
  TChartSeries* S = NewSeries();
  TChartSeries* D = NewSeries();
  S->AddLinkedSeries(D);
  S->AddXY(0, 0);
  S->AddXY(1, 1, "", Red);
  S->AddXY(2, 2);
  ASSERT_NE(D->GetColors(), nullptr);
  EXPECT_EQ(*D->GetColors(), (std::vector<TAlphaColor>{clZelDefault, Red, clZelDefault}));
  S->AddXY(3, 3, "four");
  EXPECT_EQ(D->GetXLabel(3), "four");
}

}  // namespace
}  // namespace zel

#include "zelgraph/canvas/Pens.h"

namespace zel {
namespace {

TEST_F(SeriesFixture, PenAndBrushChangesRepaintTheChart) {
  TTestPanel* P = NewPanel();
  TChartSeries* S = NewSeries();
  P->AddSeries(S);
  int Before = P->Invalidates;
  S->GetPen()->SetWidth(3);
  EXPECT_GT(P->Invalidates, Before);
  Before = P->Invalidates;
  S->GetBrush()->SetBackColor(Red);
  EXPECT_GT(P->Invalidates, Before);
  Before = P->Invalidates;
  S->SetTransparency(S->GetTransparency());  // unchanged: no repaint
  S->SetDepth(S->GetDepth());
  EXPECT_EQ(P->Invalidates, Before);
}

TEST_F(SeriesFixture, AssignCopiesPointsColoursAndLabels) {
  TChartSeries* A = NewSeries();
  A->SetTitle("source");
  A->AddXY(1, 10, "a");
  A->AddXY(2, 20, "", Red);
  TChartSeries* B = NewSeries();
  B->AddXY(9, 9);
  B->Assign(A);
  EXPECT_EQ(B->GetTitle(), "source");
  EXPECT_EQ(Values(B->GetXValues()), (std::vector<double>{1, 2}));
  EXPECT_EQ(Values(B->GetYValues()), (std::vector<double>{10, 20}));
  EXPECT_EQ(B->GetXLabel(0), "a");
  EXPECT_EQ(B->InternalColor(1), Red);
  EXPECT_EQ(B->MaxYValue(), 20);
}

TEST_F(SeriesFixture, HorizontalSeriesCountsAlongY) {
  TChartSeries* S = NewSeries();
  S->SetHorizontal();
  EXPECT_FALSE(S->YMandatory);
  EXPECT_EQ(S->MandatoryValueList, S->GetXValues());
  S->Add(5);
  S->Add(7);
  EXPECT_EQ(Values(S->GetXValues()), (std::vector<double>{5, 7}));
  EXPECT_EQ(Values(S->GetYValues()), (std::vector<double>{0, 1}));

  auto* Z = new TChartValueList(nullptr, "Z");
  TChartValueList* OldY = S->GetYValues();
  S->ReplaceList(OldY, Z);
  EXPECT_EQ(S->GetYValues(), Z);
  EXPECT_EQ(Z->GetName(), "Y");
  EXPECT_EQ(S->GetValuesList()->IndexOf(Z), 1);
  EXPECT_EQ(S->NotMandatoryValueList, Z);
}

}  // namespace
}  // namespace zel
