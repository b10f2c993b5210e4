// The chart's paint sequence: the order of tool events, chart events and series hooks, which
// axes take part, and the 3D sizes.
#include <gtest/gtest.h>

#include <atomic>

#include "pipeline/PipelineSupport.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/View3D.h"

namespace zel::testing {
namespace {

class PipelineTest : public PanelTest {};

TEST_F(PipelineTest, ToolEventsFollowTheAxesPlacement) {
  struct Case {
    bool AxisBehind;
    TLog Expected;
  };
  const Case Cases[] = {
      {true,
       {"T:PaintStart", "T:AxesStart", "T:SeriesStart", "T:series-SeriesStart", "T:series-SeriesDone", "T:SeriesDone",
        "T:PaintDone"}},
      {false,
       {"T:PaintStart", "T:SeriesStart", "T:series-SeriesStart", "T:series-SeriesDone", "T:SeriesDone", "T:AxesStart",
        "T:PaintDone"}},
  };
  AddSeries("S");
  AddTool("T");
  TLogTool* Off = AddTool("Off");
  Off->SetActive(false);
  for (const Case& C : Cases) {
    Chart->SetAxisBehind(C.AxisBehind);
    Log.clear();
    Chart->PaintOnce();
    EXPECT_EQ(Only("T:"), C.Expected) << "AxisBehind " << C.AxisBehind;
    EXPECT_TRUE(Only("Off:").empty());
  }
}

TEST_F(PipelineTest, EveryDrawingEventReachesTheToolsBeforeTheAnimations) {
  AddTool("T1");
  AddAnimation("A");
  AddTool("T2");
  Chart->PaintOnce();
  TLog Events;
  for (const String& S : Log)
    if (S.find(':') != String::npos) Events.push_back(S);
  const TLog Expected = {"T1:PaintStart", "T2:PaintStart", "A:PaintStart",  "T1:AxesStart",  "T2:AxesStart",
                         "A:AxesStart",   "T1:SeriesStart", "T2:SeriesStart", "A:SeriesStart", "T1:SeriesDone",
                         "T2:SeriesDone", "A:SeriesDone",  "T1:PaintDone",  "T2:PaintDone",  "A:PaintDone"};
  EXPECT_EQ(Events, Expected);
}

TEST_F(PipelineTest, ChartEventsAndSeriesHooksRunInPaintOrder) {
  AddSeries("S");
  AddTool("T");
  Chart->OnBeforeDrawChart = [this](TObject*) { Log.push_back("OnBeforeDrawChart"); };
  Chart->OnBeforeDrawAxes = [this](TObject*) { Log.push_back("OnBeforeDrawAxes"); };
  Chart->OnBeforeDrawSeries = [this](TObject*) { Log.push_back("OnBeforeDrawSeries"); };
  Chart->OnAfterDraw = [this](TObject*) { Log.push_back("OnAfterDraw"); };
  Chart->PaintOnce();
  const TLog Expected = {"T:PaintStart",     "OnBeforeDrawChart",  "S:before-chart", "titles-before",
                         "walls-rect",       "S:before-axis",      "walls",          "T:AxesStart",
                         "OnBeforeDrawAxes", "T:SeriesStart",      "OnBeforeDrawSeries", "S:before-values",
                         "T:series-SeriesStart", "S:draw",         "S:after-values", "T:series-SeriesDone",
                         "T:SeriesDone",   "titles-after",
                         "T:PaintDone",      "OnAfterDraw"};
  EXPECT_EQ(Log, Expected);
}

TEST_F(PipelineTest, SeriesWithoutVisiblePointsIsNotDrawn) {
  TLogSeries* Hidden = AddSeries("H");
  Hidden->NothingVisible = true;
  AddSeries("V");
  Chart->PaintOnce();
  EXPECT_TRUE(Only("H:before-values").empty());
  EXPECT_TRUE(Only("H:after-values").empty());
  EXPECT_TRUE(Only("H:draw").empty());
  EXPECT_EQ(Only("V:draw").size(), 1u);
}

TEST_F(PipelineTest, InactiveSeriesTakesNoPartInPainting) {
  TLogSeries* S = AddSeries("S");
  S->SetActive(false);
  Chart->PaintOnce();
  EXPECT_TRUE(Only("S:").empty());
}

TEST_F(PipelineTest, TwoDimensionalSeriesDrawInTheFirstSeriesDirection) {
  struct Case {
    bool Ascending;
    TLog Expected;
  };
  const Case Cases[] = {{true, {"A:draw", "B:draw", "C:draw"}}, {false, {"C:draw", "B:draw", "A:draw"}}};
  Chart->SetView3D(false);
  TLogSeries* A = AddSeries("A");
  AddSeries("B");
  AddSeries("C");
  for (const Case& C : Cases) {
    A->Ascending = C.Ascending;
    Log.clear();
    Chart->PaintOnce();
    TLog Draws;
    for (const String& S : Log)
      if (S.size() > 5 && S.substr(S.size() - 5) == ":draw") Draws.push_back(S);
    EXPECT_EQ(Draws, C.Expected);
  }
}

TEST_F(PipelineTest, NothingRequestsARepaintWhilePainting) {
  Chart->SetAutoRepaint(true);
  bool AutoRepaintSeen = true;
  AddSeries("S");
  Chart->OnBeforeDrawSeries = [&](TObject*) { AutoRepaintSeen = Chart->GetAutoRepaint(); };
  Chart->PaintOnce();
  EXPECT_FALSE(AutoRepaintSeen);
  EXPECT_TRUE(Chart->GetAutoRepaint());
}

TEST_F(PipelineTest, AutoRepaintComesBackWhenPaintingFails) {
  Chart->SetAutoRepaint(true);
  Chart->OnBeforeDrawChart = [](TObject*) { throw EAbort("stop"); };
  try {
    Chart->PaintOnce();
  } catch (const EAbort&) {
  }
  EXPECT_TRUE(Chart->GetAutoRepaint());
}

TEST_F(PipelineTest, AxesWithoutSeriesAreVisibleExceptTheDepthAxes) {
  Chart->PaintOnce();
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetBottomAxis()));
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetLeftAxis()));
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetTopAxis()));
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetRightAxis()));
  EXPECT_FALSE(Chart->IsAxisVisible(Chart->GetDepthAxis()));
  EXPECT_FALSE(Chart->IsAxisVisible(Chart->GetDepthTopAxis()));

  // A visible depth axis follows the 3D view.
  Chart->GetDepthAxis()->SetVisible(true);
  Chart->SetView3D(true);
  Chart->PaintOnce();
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetDepthAxis()));
  Chart->SetView3D(false);
  Chart->PaintOnce();
  EXPECT_FALSE(Chart->IsAxisVisible(Chart->GetDepthAxis()));

  Chart->SetAxisVisible(false);
  Chart->PaintOnce();
  EXPECT_FALSE(Chart->IsAxisVisible(Chart->GetBottomAxis()));
}

TEST_F(PipelineTest, AnAxisShowsOnlyWhenAnActiveSeriesUsesIt) {
  TLogSeries* S = AddSeries("S");  // bottom and left
  Chart->PaintOnce();
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetBottomAxis()));
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetLeftAxis()));
  EXPECT_FALSE(Chart->IsAxisVisible(Chart->GetTopAxis()));
  EXPECT_FALSE(Chart->IsAxisVisible(Chart->GetRightAxis()));
  // With its only series inactive, every axis is back.
  S->SetActive(false);
  Chart->PaintOnce();
  EXPECT_TRUE(Chart->IsAxisVisible(Chart->GetRightAxis()));
}

TEST_F(PipelineTest, HasActiveSeriesAnswers) {
  TChartAxis* Bottom = Chart->GetBottomAxis();
  TChartAxis* Top = Chart->GetTopAxis();
  EXPECT_TRUE(Chart->HasActiveSeries(Bottom, true));  // no active series: the default
  EXPECT_FALSE(Chart->HasActiveSeries(Bottom, false));
  TLogSeries* S = AddSeries("S");
  S->SetHorizAxis(THorizAxis::aTopAxis);
  EXPECT_TRUE(Chart->HasActiveSeries(Top, false));
  EXPECT_FALSE(Chart->HasActiveSeries(Bottom, true));
  EXPECT_TRUE(Chart->NoActiveSeries(Bottom));
  EXPECT_FALSE(Chart->NoActiveSeries(Top));
  S->SetActive(false);
  EXPECT_TRUE(Chart->HasActiveSeries(Top, true));
  EXPECT_TRUE(Chart->NoActiveSeries(Top));
}

TEST_F(PipelineTest, SeriesMarginsWidenOnlyTheAutomaticEnds) {
  struct Case {
    bool AutoMin, AutoMax;
  };
  const Case Cases[] = {{true, true}, {false, true}, {true, false}};
  TLogSeries* S = AddSeries("S", 3);  // X from 0 to 2
  S->MarginLeft = 10;
  S->MarginRight = 20;
  TChartAxis* X = Chart->GetBottomAxis();
  for (const Case& C : Cases) {
    X->SetAutomatic(true);
    if (!C.AutoMin) {
      X->SetAutomaticMinimum(false);
      X->SetMinimum(0);
    }
    if (!C.AutoMax) {
      X->SetAutomaticMaximum(false);
      X->SetMaximum(2);
    }
    Chart->PaintOnce();
    const double Below = 0 - X->IMinimum;
    const double Above = X->IMaximum - 2;
    if (C.AutoMin) {
      EXPECT_GT(Below, 0);
    } else {
      EXPECT_NEAR(Below, 0, 1e-9);
    }
    if (C.AutoMax) {
      EXPECT_GT(Above, 0);
    } else {
      EXPECT_NEAR(Above, 0, 1e-9);
    }
    if (C.AutoMin && C.AutoMax) {
      EXPECT_NEAR(Above / Below, 2.0, 0.2);  // 20 pixels against 10
    }
  }
}

TEST_F(PipelineTest, StandardAxesInStoredOrder) {
  TChartAxes* Axes = Chart->GetAxes();
  ASSERT_EQ(Axes->GetCount(), 6);
  const TChartAxis* Expected[] = {Chart->GetBottomAxis(), Chart->GetTopAxis(),   Chart->GetLeftAxis(),
                                  Chart->GetRightAxis(),  Chart->GetDepthAxis(), Chart->GetDepthTopAxis()};
  const char* Ids[] = {"Bottom", "Top", "Left", "Right", "Depth", "DepthTop"};
  for (int I = 0; I < 6; ++I) {
    EXPECT_EQ(Axes->Get(I), Expected[I]) << I;
    EXPECT_EQ(Axes->Get(I)->IAxisID, Ids[I]);
  }
  EXPECT_TRUE(Chart->GetBottomAxis()->GetHorizontal());
  EXPECT_TRUE(Chart->GetTopAxis()->GetHorizontal());
  EXPECT_TRUE(Chart->GetTopAxis()->GetOtherSide());
  EXPECT_FALSE(Chart->GetLeftAxis()->GetHorizontal());
  EXPECT_TRUE(Chart->GetRightAxis()->GetOtherSide());
  EXPECT_TRUE(Chart->GetDepthAxis()->IsDepthAxis());
  EXPECT_FALSE(Chart->GetDepthAxis()->GetVisible());
  EXPECT_EQ(Axes->GetBottom(), Chart->GetBottomAxis());
  EXPECT_EQ(Axes->GetDepthTop(), Chart->GetDepthTopAxis());
}

TEST_F(PipelineTest, Chart3DPercentRange) {
  struct Case {
    int Value;
    bool Accepted;
  };
  const Case Cases[] = {{0, false}, {1, true}, {100, true}, {101, false}, {-5, false}};
  for (const Case& C : Cases) {
    Chart->SetChart3DPercent(50);
    if (C.Accepted) {
      Chart->SetChart3DPercent(C.Value);
      EXPECT_EQ(Chart->GetChart3DPercent(), C.Value);
    } else {
      try {
        Chart->SetChart3DPercent(C.Value);
        ADD_FAILURE() << C.Value << " accepted";
      } catch (const Exception& E) {
        EXPECT_EQ(E.GetMessage(), "3D effect percent must be between 1 and 100");
      }
      EXPECT_EQ(Chart->GetChart3DPercent(), 50) << C.Value;
    }
  }
}

TEST_F(PipelineTest, ThreeDSizesFollowThePercentAndTheSlots) {
  Chart->SetView3D(true);
  Chart->GetView3DOptions()->SetOrthogonal(true);
  Chart->SetChart3DPercent(20);
  Chart->SetBounds(0, 0, 400, 300);
  Chart->ChartRect = TRectF(0, 0, 400, 300);
  Chart->ReCalcWidthHeight();
  const double Ratio = Chart->GetView3DOptions()->CalcOrthoRatio();
  Chart->CalcSize3DWalls();
  std::int32_t W = Round(0.02 * Chart->GetChartWidth());
  if (Ratio > 1) W = Round(W / Ratio);
  EXPECT_EQ(Chart->GetSeriesWidth3D(), W);
  EXPECT_EQ(Chart->GetSeriesHeight3D(), Round(W * Ratio));
  EXPECT_EQ(Chart->GetWidth3D(), W);  // one slot

  Chart->SetView3D(false);
  Chart->CalcSize3DWalls();
  EXPECT_EQ(Chart->GetWidth3D(), 0);
  EXPECT_EQ(Chart->GetHeight3D(), 0);
  EXPECT_EQ(Chart->GetSeriesWidth3D(), 0);
}

TEST_F(PipelineTest, SeriesTakeReversedDepthSlots) {
  Chart->SetView3D(true);
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TLogSeries* C = AddSeries("C");
  Chart->SetSeriesZOrder();
  EXPECT_EQ(Chart->GetMaxZOrder(), 2);
  EXPECT_EQ(A->GetZOrder(), 2);
  EXPECT_EQ(B->GetZOrder(), 1);
  EXPECT_EQ(C->GetZOrder(), 0);

  Chart->SetView3D(false);
  Chart->SetSeriesZOrder();
  EXPECT_EQ(Chart->GetMaxZOrder(), 0);
  EXPECT_EQ(A->GetZOrder(), 0);
  EXPECT_EQ(C->GetZOrder(), 0);
}

// A series that can prepare its drawing on a worker thread.
class TParallelSeries : public TLogSeries {
 public:
  using TLogSeries::TLogSeries;
  bool CanBeforeParallel() override { return true; }
  void DoBeforeParallel() override { ++Prepared; }
  std::atomic<int> Prepared{0};
};

TEST_F(PipelineTest, EverySeriesIsPreparedOncePerPaint) {
  const int Threads[] = {0, 1, 2, 4};
  for (int N : Threads) {
    Chart->FreeAllSeries();
    std::vector<TParallelSeries*> List;
    for (int I = 0; I < 3; ++I) {
      auto* S = Create<TParallelSeries>(nullptr);
      S->AddXY(1, 1);
      Chart->AddSeries(S);
      List.push_back(S);
    }
    List[1]->SetActive(false);
    Chart->ParallelThreads = N;
    Chart->PaintOnce();
    EXPECT_EQ(List[0]->Prepared, 1) << N << " threads";
    EXPECT_EQ(List[1]->Prepared, 0) << N << " threads";
    EXPECT_EQ(List[2]->Prepared, 1) << N << " threads";
  }
}

TEST_F(PipelineTest, SeriesSharingADepthSlotAreDrawnPointByPointByTheFirst) {
  Chart->SetView3D(true);
  TLogSeries* A = AddSeries("A", 2);
  TLogSeries* B = AddSeries("B", 3);
  TLogSeries* Own = AddSeries("C", 1);
  A->SetZOrder(0);
  B->SetZOrder(0);
  Own->SetZOrder(1);
  Chart->PaintOnce();
  TLog Slot;
  for (const String& S : Log)
    if (S.rfind("A:", 0) == 0 || S.rfind("B:", 0) == 0) Slot.push_back(S);
  const TLog Expected = {"A:before-chart",  "B:before-chart",  "A:before-axis", "B:before-axis", "A:before-values",
                         "B:before-values", "A:v0",            "B:v0",          "A:v1",          "B:v1",
                         "B:v2",            "A:after-values",  "B:after-values"};
  EXPECT_EQ(Slot, Expected);
  // A series with a slot of its own draws all its values at once.
  EXPECT_EQ(Only("C:draw").size(), 1u);
  EXPECT_TRUE(Only("C:v").empty());
}

}  // namespace
}  // namespace zel::testing
