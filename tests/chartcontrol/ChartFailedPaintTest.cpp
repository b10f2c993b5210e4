// A paint that fails part way (a handler raises) leaves the chart's canvas as it found it: no
// entity, front plane or blend left open, and the next paint draws the whole chart again.
#include <gtest/gtest.h>

#include <functional>

#include "platform/Exceptions.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Marks.h"

namespace zel::testing {
namespace {

class ChartFailedPaint : public ChartFixture {
 protected:
  void ExpectBalanced(const char* When) {
    TCanvas3D* C = Chart->GetCanvas();
    EXPECT_EQ(C->GetEntityCount(), 0) << When;
    EXPECT_EQ(C->GetFrontPlaneCount(), 0) << When;
    EXPECT_EQ(C->TranspStackDepth(), 0) << When;
  }
};

TEST_F(ChartFailedPaint, EveryPlaceAHandlerCanFailLeavesTheCanvasBalanced) {
  struct Case {
    const char* Name;
    std::function<void()> Arm;
  };
  auto Fail = [] { throw Exception("handler failed"); };
  const Case Cases[] = {
      {"before the axes", [&] { Chart->OnBeforeDrawAxes = [&](TObject*) { Fail(); }; }},
      {"an axis label",
       [&] {
         Chart->GetLeftAxis()->OnDrawLabel = [&](TChartAxis*, std::int32_t&, std::int32_t&, std::int32_t&, String&,
                                                   bool&) { Fail(); };
       }},
      {"an axis grid", [&] { Chart->GetBottomAxis()->OnDrawGrids = [&](TChartAxis*) { Fail(); }; }},
      {"a series point", [&] { Chart->OnDrawValue = [&](TChartSeries*, std::int32_t) { Fail(); }; }},
      {"a mark's text",
       [&] {
         Series->GetMarks()->SetVisible(true);
         Series->SetTransparency(40);
         Series->GetMarks()->SetUseSeriesTransparency(true);
         Series->OnGetMarkText = [&](TChartSeries*, std::int32_t I, String&) {
           if (I == 2) Fail();
         };
       }},
      {"a legend item in a see-through legend",
       [&] {
         Chart->GetLegend()->SetVisible(true);
         Chart->GetLegend()->SetGlobalTransparency(30);
         Chart->OnGetLegendText = [&](TCustomChart*, TLegendStyle, std::int32_t, String&) { Fail(); };
       }},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    TearDown();
    SetUp();
    K.Arm();
    EXPECT_THROW(Paint(), Exception);
    ExpectBalanced("after the failed paint");
    // With the handlers gone the chart paints whole again.
    Chart->OnBeforeDrawAxes = nullptr;
    Chart->GetLeftAxis()->OnDrawLabel = nullptr;
    Chart->GetBottomAxis()->OnDrawGrids = nullptr;
    Chart->OnDrawValue = nullptr;
    Series->OnGetMarkText = nullptr;
    Chart->OnGetLegendText = nullptr;
    EXPECT_NO_THROW(Paint());
    ExpectBalanced("after the next paint");
  }
}

}  // namespace
}  // namespace zel::testing
