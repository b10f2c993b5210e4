// How series join and leave a chart, paging, axis extremes, legend questions and colours.
#include <gtest/gtest.h>

#include <cstdio>

#include "pipeline/PipelineSupport.h"
#include "platform/Printer.h"
#include "zelgraph/engine/AxisItems.h"

namespace zel::testing {
namespace {

class ChartSeriesTest : public PanelTest {};

// Records the series events a chart hands to its listeners.
class TSeriesListener : public IZelEventListener {
 public:
  void ZelEvent(TZelEvent* Event) override {
    if (auto* E = dynamic_cast<TZelSeriesEvent*>(Event)) Log->push_back("event:" + std::to_string(int(E->Event)));
    if (dynamic_cast<TChartChangePage*>(Event)) Log->push_back("page");
  }
  TLog* Log = nullptr;
};

TEST_F(ChartSeriesTest, RemovingASeriesNotifiesAroundTheEvent) {
  TSeriesListener L;
  L.Log = &Log;
  Chart->AddListener(&L);
  TLogSeries* S = AddSeries("S");
  Chart->OnRemoveSeries = [this](TCustomChartSeries*) { Log.push_back("OnRemoveSeries"); };
  Log.clear();
  Chart->RemoveSeries(-1);
  EXPECT_TRUE(Log.empty());
  Chart->RemoveSeries(S);
  const TLog Expected = {"event:" + std::to_string(int(TChartSeriesEvent::seRemove)), "OnRemoveSeries",
                         "event:" + std::to_string(int(TChartSeriesEvent::seAfterRemove))};
  EXPECT_EQ(Log, Expected);
  EXPECT_EQ(S->GetParentChart(), nullptr);
  EXPECT_EQ(Chart->SeriesCount(), 0);
  Chart->RemoveListener(&L);
  S->Free();
}

TEST_F(ChartSeriesTest, AddingTwiceKeepsOneEntry) {
  TLogSeries* S = AddSeries("S");
  int Added = 0;
  Chart->OnAddSeries = [&](TCustomChartSeries*) { ++Added; };
  Chart->AddSeries(S);
  Chart->InternalAddSeries(S);
  EXPECT_EQ(Chart->SeriesCount(), 1);
  EXPECT_EQ(Added, 0);
}

TEST_F(ChartSeriesTest, FreeAllSeriesOfAClass) {
  AddSeries("A");
  auto* Plain = Create<TChartSeries>(nullptr);
  Chart->AddSeries(Plain);
  Chart->FreeAllSeries(TChartSeries::StaticClass());
  EXPECT_EQ(Chart->SeriesCount(), 0);
}

TEST_F(ChartSeriesTest, ExchangeSeriesSwapsListAndGroupPlaces) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TLogSeries* C = AddSeries("C");
  TSeriesGroup* G = Chart->GetSeriesList()->AddGroup("G");
  G->Add(A);
  G->Add(C);
  Chart->ExchangeSeries(0, 2);
  EXPECT_EQ(Chart->GetSeries(0), C);
  EXPECT_EQ(Chart->GetSeries(1), B);
  EXPECT_EQ(Chart->GetSeries(2), A);
  EXPECT_EQ(G->GetSeries()->Get(0), C);
  EXPECT_EQ(G->GetSeries()->Get(1), A);
  EXPECT_THROW(Chart->ExchangeSeries(0, 9), EListError);
}

TEST_F(ChartSeriesTest, ExchangeSeriesSwapsTheComponentOrderToo) {
  // The order in which the owner streams its series follows the chart's order.
  TOwned<TComponent> Form(Create<TComponent>(nullptr));
  auto* A = Create<TChartSeries>(Form.get());
  auto* Between = Create<TComponent>(Form.get());
  auto* B = Create<TChartSeries>(Form.get());
  Chart->AddSeries(A);
  Chart->AddSeries(B);
  Chart->ExchangeSeries(0, 1);
  EXPECT_EQ(Chart->GetSeries(0), B);
  EXPECT_EQ(B->GetComponentIndex(), 0);
  EXPECT_EQ(Between->GetComponentIndex(), 1);
  EXPECT_EQ(A->GetComponentIndex(), 2);
  Chart->ExchangeSeries(1, 0);
  EXPECT_EQ(A->GetComponentIndex(), 0);
  EXPECT_EQ(B->GetComponentIndex(), 2);
}

TEST_F(ChartSeriesTest, ExchangeSeriesAcrossCharts) {
  TLogPanel* Other = Create<TLogPanel>(nullptr);
  TLogSeries* A = AddSeries("A");
  auto* B = Create<TLogSeries>(nullptr);
  Other->AddSeries(B);
  Chart->ExchangeSeries(A, B);
  EXPECT_EQ(A->GetParentChart(), Other);
  EXPECT_EQ(B->GetParentChart(), Chart);
  Other->Free();
}

TEST_F(ChartSeriesTest, PagesFollowThePointsOfTheLargestSeries) {
  AddSeries("S", 250);
  TChartPage* P = Chart->GetPages();
  EXPECT_EQ(P->Count(), 1);  // no paging
  P->SetMaxPointsPerPage(100);
  EXPECT_EQ(Chart->NumPages(), 3);
  struct Case {
    int Set, Expected;
  };
  const Case Cases[] = {{7, 3}, {0, 1}, {2, 2}, {-4, 1}};
  for (const Case& C : Cases) {
    P->SetCurrent(C.Set);
    EXPECT_EQ(P->GetCurrent(), C.Expected) << C.Set;
  }
  P->SetCurrent(3);
  EXPECT_EQ(P->FirstValueIndex(), 200);
  P->NextPage();
  EXPECT_EQ(P->GetCurrent(), 3);
  P->PreviousPage();
  EXPECT_EQ(P->GetCurrent(), 2);

  // A larger page size shortens the count and brings the current page along.
  P->SetCurrent(3);
  P->SetMaxPointsPerPage(200);
  EXPECT_EQ(P->GetCurrent(), 2);
}

TEST_F(ChartSeriesTest, BadPageSizeIsRefused) {
  TChartPage* P = Chart->GetPages();
  P->SetMaxPointsPerPage(10);
  try {
    P->SetMaxPointsPerPage(-1);
    ADD_FAILURE();
  } catch (const ChartException& E) {
    EXPECT_EQ(E.GetMessage(), "MaxPointsPerPage must be >= 0");
  }
  EXPECT_EQ(P->GetMaxPointsPerPage(), 10);
}

TEST_F(ChartSeriesTest, PageChangesAreAnnounced) {
  TSeriesListener L;
  L.Log = &Log;
  Chart->AddListener(&L);
  AddSeries("S", 30);
  int Changes = 0;
  Chart->OnPageChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Chart->GetPages());
    ++Changes;
  };
  Log.clear();
  Chart->SetPointsPerPage(10);
  Chart->SetPage(2);
  Chart->SetPage(2);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Log, (TLog{"page", "page"}));
  Chart->RemoveListener(&L);
}

TEST_F(ChartSeriesTest, PagingWithoutAnActivePartnerAxisGivesOnePage) {
  TLogSeries* S = AddSeries("S", 50);
  S->SetActive(false);
  Chart->SetPointsPerPage(10);
  EXPECT_EQ(Chart->NumPages(), 1);
}

TEST_F(ChartSeriesTest, ShortLastPageIsStretchedUnlessScaledToItself) {
  TLogSeries* S = AddSeries("S", 0);
  for (int I = 0; I < 250; ++I) S->AddXY(I, 1);
  Chart->SetPointsPerPage(100);
  Chart->SetPage(3);
  TChartAxis* X = Chart->GetBottomAxis();
  EXPECT_EQ(Chart->MinXValue(X), 200);
  EXPECT_EQ(Chart->MaxXValue(X), 249);
  Chart->SetScaleLastPage(false);
  EXPECT_DOUBLE_EQ(Chart->MaxXValue(X), 298);
  Chart->SetPage(1);
  EXPECT_EQ(Chart->MaxXValue(X), 99);
}

TEST_F(ChartSeriesTest, AxisExtremesOverItsSeries) {
  TChartAxis* Left = Chart->GetLeftAxis();
  TChartAxis* Right = Chart->GetRightAxis();
  EXPECT_EQ(Chart->MinYValue(Left), 0);  // no series
  EXPECT_EQ(Chart->MaxYValue(Left), 0);
  TLogSeries* A = AddSeries("A", 0);
  A->AddXY(1, 5);
  A->AddXY(2, -3);
  TLogSeries* B = AddSeries("B", 0);
  B->AddXY(0, 40);
  TLogSeries* R = AddSeries("R", 0);
  R->SetVertAxis(TVertAxis::aRightAxis);
  R->AddXY(9, 1000);
  EXPECT_EQ(Chart->MinYValue(Left), -3);
  EXPECT_EQ(Chart->MaxYValue(Left), 40);
  EXPECT_EQ(Chart->MaxYValue(Right), 1000);
  EXPECT_EQ(Chart->MaxXValue(Chart->GetBottomAxis()), 9);
  B->SetActive(false);
  EXPECT_EQ(Chart->MaxYValue(Left), 5);
}

TEST_F(ChartSeriesTest, LegendSeriesAndTitles) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TLogSeries* C = AddSeries("C");
  A->SetTitle("First");
  B->SetShowInLegend(false);
  C->SetTitle("Third");
  C->SetLegendTitle(String("x\r\ny"));
  EXPECT_EQ(Chart->SeriesLegend(1, false), C);
  EXPECT_EQ(Chart->SeriesLegend(2, false), nullptr);
  A->SetActive(false);
  EXPECT_EQ(Chart->ActiveSeriesLegend(0), C);
  EXPECT_EQ(Chart->SeriesTitleLegend(0, false), "First");
  EXPECT_EQ(Chart->SeriesTitleLegend(1, false), "x y");
  EXPECT_EQ(Chart->SeriesTitleLegend(5, false), "");
}

TEST_F(ChartSeriesTest, RemoveLineBreaks) {
  struct Case {
    String In, Out;
  };
  const Case Cases[] = {
      {"a\r\nb", "a b"},        {"a\n\rb", "a b"},   {"a\rb\nc", "a b c"},
      {"a\x06" "b", "a b"},     {"a\r\nb\r\nc", "a b  c"}, {"", ""},
  };
  for (const Case& C : Cases) EXPECT_EQ(TCustomAxisPanel::RemoveLineBreaks(C.In), C.Out) << C.In;
}

TEST_F(ChartSeriesTest, FreeColoursComeFromThePaletteInOrder) {
  Chart->ColorPalette = {0xFF000001, 0xFF000002, 0xFF000003};
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  EXPECT_EQ(A->GetSeriesColor(), 0xFF000001u);
  EXPECT_EQ(B->GetSeriesColor(), 0xFF000002u);
  AddSeries("C");
  // Every palette colour is in use: the colour at the series count, cycling.
  EXPECT_EQ(Chart->GetFreeSeriesColor(true, nullptr), Chart->GetDefaultColor(3));
  EXPECT_EQ(Chart->GetDefaultColor(3), 0xFF000001u);
  EXPECT_EQ(Chart->GetDefaultColor(-1), 0xFF000003u);
}

TEST_F(ChartSeriesTest, ANewPaletteRecoloursAutomaticSeriesOnly) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* Fixed = AddSeries("F");
  Fixed->SetSeriesColor(0xFF123456);
  Chart->ColorPalette = {0xFFAA0000, 0xFF00AA00};
  Chart->ColorPaletteChanged();
  EXPECT_EQ(A->GetSeriesColor(), 0xFFAA0000u);
  EXPECT_EQ(Fixed->GetSeriesColor(), 0xFF123456u);
}

TEST_F(ChartSeriesTest, CircularSourcesAreRefused) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TLogSeries* C = AddSeries("C");
  B->SetDataSource(A);
  C->SetDataSource(B);
  EXPECT_THROW(Chart->CheckOtherSeries(A, C), ChartException);
  EXPECT_NO_THROW(Chart->CheckOtherSeries(C, A));
  EXPECT_NO_THROW(Chart->CheckOtherSeries(A, nullptr));
}

TEST_F(ChartSeriesTest, AutoScaledPagesTakeTheirRangeFromThePagePoints) {
  AddSeries("S", 250);  // Y = 10 x
  TChartAxis* Left = Chart->GetLeftAxis();
  Chart->SetPointsPerPage(100);
  Chart->SetPage(2);
  EXPECT_EQ(Chart->MinYValue(Left), 0);
  EXPECT_EQ(Chart->MaxYValue(Left), 2490);
  Chart->GetPages()->SetAutoScale(true);
  EXPECT_EQ(Chart->MinYValue(Left), 1000);
  EXPECT_EQ(Chart->MaxYValue(Left), 1990);
  Chart->SetPage(3);
  EXPECT_EQ(Chart->MaxYValue(Left), 2490);
}

TEST_F(ChartSeriesTest, DepthAxisRangeCoversTheSlots) {
  Chart->SetView3D(true);
  AddSeries("A");
  AddSeries("B");
  AddSeries("C");
  Chart->SetSeriesZOrder();
  TChartAxis* Depth = Chart->GetDepthAxis();
  EXPECT_EQ(Chart->MinXValue(Depth), -0.5);
  EXPECT_EQ(Chart->MaxXValue(Depth), 2.5);
  Chart->GetDepthAxis()->SetLabelStyle(TAxisLabelStyle::talValue);
  EXPECT_EQ(Chart->MinXValue(Depth), 0);
  EXPECT_EQ(Chart->MaxXValue(Depth), 2);
}

TEST_F(ChartSeriesTest, EverySeriesIsAskedAboutTheMouseFromTheTop) {
  TLogSeries* A = AddSeries("A");
  AddSeries("B")->Reacts = true;
  TLogSeries* Off = AddSeries("Off");
  Off->SetActive(false);
  EXPECT_TRUE(Chart->CheckMouseSeries(1, 1));
  EXPECT_EQ(Log, (TLog{"B:check", "A:check"}));
  Log.clear();
  Chart->GetSeries(1)->SetActive(false);
  EXPECT_FALSE(Chart->CheckMouseSeries(1, 1));
  EXPECT_EQ(Log, (TLog{"A:check"}));
  (void)A;
}

TEST_F(ChartSeriesTest, LeavingTheChartClearsEveryHover) {
  TLogSeries* S = AddSeries("S");
  S->GetSelected()->SetHoverIndex(1);
  Chart->GetLeftAxis()->GetLabelsObject()->GetSelected()->SetHoverIndex(2);
  Chart->DoMouseLeave();
  EXPECT_EQ(S->GetSelected()->GetHoverIndex(), -1);
  EXPECT_EQ(Chart->GetLeftAxis()->GetLabelsObject()->GetSelected()->GetHoverIndex(), -1);
}

TEST_F(ChartSeriesTest, HoverFindsTheAxisLabelUnderTheMouse) {
  AddSeries("S", 3);  // Y from 0 to 20
  TChartAxis* Left = Chart->GetLeftAxis();
  Left->GetItems()->Add(0, "zero");
  Left->GetItems()->Add(10, "ten");
  Left->GetItems()->Add(20, "twenty");
  Chart->GetHover()->SetVisible(true);
  TZelSelected* Sel = Left->GetLabelsObject()->GetSelected();
  Sel->GetHover()->SetVisible(true);
  Chart->PaintOnce();
  const std::vector<TRectF> Rects = Left->LabelItemRects();
  ASSERT_EQ(Rects.size(), 3u);
  const TPointF P = Rects[1].CenterPoint();
  EXPECT_TRUE(Chart->CheckMouseAxes(Round(P.X), Round(P.Y)));
  EXPECT_EQ(Sel->GetHoverIndex(), 1);
  EXPECT_FALSE(Chart->CheckMouseAxes(-100, -100));
  EXPECT_EQ(Sel->GetHoverIndex(), -1);
}

TEST_F(ChartSeriesTest, HiddenHoverFindsNoAxisLabel) {
  Chart->GetHover()->SetVisible(false);
  EXPECT_FALSE(Chart->CheckMouseAxes(10, 10));
}

TEST_F(ChartSeriesTest, ThemeToolsAreCopiedIntoNewTools) {
  auto* Theme = Create<TLogPanel>(nullptr);
  Chart->Theme = Theme;
  auto* Model = Create<TLogTool>(nullptr);
  Theme->GetTools()->Add(Model);
  Model->SetActive(false);
  TLogTool* T = AddTool("T");
  EXPECT_FALSE(T->GetActive());

  // A theme without a tool of the class gives its first tool (after adding a plain one when it
  // has none).
  Theme->GetTools()->Clear();
  auto* Axis = Create<TZelCustomToolAxis>(nullptr);
  Chart->GetTools()->Add(Axis);
  ASSERT_EQ(Theme->GetTools()->GetCount(), 1);
  EXPECT_TRUE(Axis->GetActive());
}

TEST_F(ChartSeriesTest, ThemeSeriesLendTheirLookToNewSeries) {
  auto* Theme = Create<TLogPanel>(nullptr);
  Chart->Theme = Theme;
  auto* Model = Create<TLogSeries>(nullptr);
  Theme->AddSeries(Model);
  Model->SetShowInLegend(false);
  TLogSeries* S = AddSeries("S");
  EXPECT_FALSE(S->GetShowInLegend());
}

TEST_F(ChartSeriesTest, DataSourcesAndTheirValidation) {
  TLogSeries* A = AddSeries("A", 4);
  TLogSeries* B = AddSeries("B", 0);
  B->SetDataSource(A);
  Chart->CheckDatasource(B);
  EXPECT_EQ(B->Count(), 4);

  EXPECT_TRUE(Chart->IsValidDataSource(B, A));
  EXPECT_FALSE(Chart->IsValidDataSource(A, A));
  Chart->OnValidDataSource = [](TCustomChartSeries*, TComponent*, bool& Valid) { Valid = false; };
  EXPECT_FALSE(Chart->IsValidDataSource(B, A));
}

TEST_F(ChartSeriesTest, AssignCopiesTheChartSettings) {
  auto* From = Create<TLogPanel>(nullptr);
  From->SetChart3DPercent(40);
  From->SetAxisBehind(false);
  From->SetClipPoints(false);
  From->ColorPalette = {0xFF010203};
  From->SetPointsPerPage(7);
  From->GetLeftAxis()->SetInverted(true);
  Chart->Assign(From);
  EXPECT_EQ(Chart->GetChart3DPercent(), 40);
  EXPECT_FALSE(Chart->GetAxisBehind());
  EXPECT_FALSE(Chart->GetClipPoints());
  EXPECT_EQ(Chart->ColorPalette, From->ColorPalette);
  EXPECT_EQ(Chart->GetPointsPerPage(), 7);
  EXPECT_TRUE(Chart->GetLeftAxis()->GetInverted());
  From->Free();
}

// A printer writing to a scratch file that records the page each sheet shows and can fail
// on a given sheet.
class TPagePrinter : public TPrinter {
 public:
  void NewPage() override {
    if (++Sheets == FailOnSheet) throw EPrinter("paper jam");
    TPrinter::NewPage();
  }
  int Sheets = 1;
  int FailOnSheet = 0;
};

class PrintPagesTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    Printer = new TPagePrinter;
    Printer->SetFileName(::testing::TempDir() + "pipeline_pages.pdf");
    Old = SetPrinter(Printer);
    AddSeries("S", 250);
    Chart->SetBounds(0, 0, 300, 200);
    Chart->SetPointsPerPage(100);
    Chart->SetPage(2);
    Chart->OnAfterDraw = [this](TObject*) { Shown.push_back(Chart->GetPage()); };
  }
  void TearDown() override {
    delete SetPrinter(Old);
    std::remove((::testing::TempDir() + "pipeline_pages.pdf").c_str());
    PanelTest::TearDown();
  }
  TPagePrinter* Printer = nullptr;
  TPrinter* Old = nullptr;
  std::vector<int> Shown;
};

TEST_F(PrintPagesTest, EveryPageOnItsOwnSheetAndTheCurrentPageBack) {
  struct Case {
    int From, To;
    std::vector<int> Pages;
  };
  const Case Cases[] = {{0, 0, {1, 2, 3}}, {2, 3, {2, 3}}, {3, 0, {3}}};
  for (const Case& C : Cases) {
    Shown.clear();
    Printer->Sheets = 1;
    Chart->PrintPages(C.From, C.To);
    EXPECT_EQ(Shown, C.Pages) << C.From << ".." << C.To;
    EXPECT_EQ(Printer->Sheets, static_cast<int>(C.Pages.size()));
    EXPECT_EQ(Chart->GetPage(), 2);
    EXPECT_FALSE(Printer->GetPrinting());
  }
}

TEST_F(PrintPagesTest, TheCurrentPageComesBackWhenPrintingFails) {
  Printer->FailOnSheet = 2;
  EXPECT_THROW(Chart->PrintPages(), EPrinter);
  EXPECT_EQ(Chart->GetPage(), 2);
  EXPECT_FALSE(Printer->GetPrinting());
}

}  // namespace
}  // namespace zel::testing
