// Tools that keep a pointer to an axis forget it when the axis is freed, wherever the tool is:
// in the axis' chart, moved to another chart, or a copy that never joined one. The test build
// runs the address sanitizer, so a tool that still wrote to the freed axis fails here.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/ScrollBar.h"

namespace zel::testing {
namespace {

// Reads the scroll bar's stored axis, which its getter hides once the axis left the tool's chart.
class TAxisScrollBarProbe : public TAxisScrollBarTool {
 public:
  using TAxisScrollBarTool::TAxisScrollBarTool;
  TChartAxis* StoredAxis() const { return FAxis; }
};

// One kind of axis tool: how to make one, give it an axis and read the axis it keeps.
struct TAxisToolKind {
  const char* Name;
  std::function<TZelCustomTool*()> Make;
  std::function<void(TZelCustomTool*, TChartAxis*)> SetAxis;
  std::function<TChartAxis*(TZelCustomTool*)> StoredAxis;
};

template <typename T>
TAxisToolKind AxisToolKind(const char* Name) {
  return {Name, [] { return Create<T>(nullptr); },
          [](TZelCustomTool* Tool, TChartAxis* Axis) { static_cast<T*>(Tool)->SetAxis(Axis); },
          [](TZelCustomTool* Tool) { return static_cast<T*>(Tool)->GetAxis(); }};
}

std::vector<TAxisToolKind> AxisToolKinds() {
  std::vector<TAxisToolKind> Kinds = {
      AxisToolKind<TGridBandTool>("grid band"),     AxisToolKind<TAxisArrowTool>("axis arrow"),
      AxisToolKind<TAxisScrollTool>("axis scroll"), AxisToolKind<TColorLineTool>("colour line"),
      AxisToolKind<TColorBandTool>("colour band"),
  };
  Kinds.push_back({"axis scroll bar", [] { return Create<TAxisScrollBarProbe>(nullptr); },
                   [](TZelCustomTool* Tool, TChartAxis* Axis) { static_cast<TAxisScrollBarProbe*>(Tool)->SetAxis(Axis); },
                   [](TZelCustomTool* Tool) { return static_cast<TAxisScrollBarProbe*>(Tool)->StoredAxis(); }});
  return Kinds;
}

// Two charts; the tool's axis is in the first.
struct TTwoCharts {
  TOwned<TChart> First{Create<TChart>(nullptr)};
  TOwned<TChart> Second{Create<TChart>(nullptr)};
};

TEST(AxisLinkTest, AToolThatLeftTheAxisChartForgetsTheFreedAxis) {
  for (const TAxisToolKind& Kind : AxisToolKinds()) {
    SCOPED_TRACE(Kind.Name);
    TTwoCharts Charts;
    TOwned<TZelCustomTool> Tool(Kind.Make());
    TChartAxis* Freed = Charts.First->GetLeftAxis();
    Kind.SetAxis(Tool.get(), Freed);
    ASSERT_EQ(Tool->GetParentChart(), Charts.First.get());
    Tool->SetParentChart(Charts.Second.get());
    Charts.First.reset();
    EXPECT_NE(Kind.StoredAxis(Tool.get()), Freed);
    // Given another axis, then freed: nothing reaches the freed one.
    Kind.SetAxis(Tool.get(), Charts.Second->GetBottomAxis());
    EXPECT_EQ(Kind.StoredAxis(Tool.get()), Charts.Second->GetBottomAxis());
    Tool.reset();
  }
}

TEST(AxisLinkTest, ACopyOutsideAnyChartForgetsTheFreedAxis) {
  for (const TAxisToolKind& Kind : AxisToolKinds()) {
    SCOPED_TRACE(Kind.Name);
    TTwoCharts Charts;
    TOwned<TZelCustomTool> Tool(Kind.Make());
    Kind.SetAxis(Tool.get(), Charts.First->GetLeftAxis());
    TOwned<TZelCustomTool> Copy(Kind.Make());
    Copy->Assign(Tool.get());
    ASSERT_EQ(Kind.StoredAxis(Copy.get()), Charts.First->GetLeftAxis());
    Tool.reset();
    Charts.First.reset();
    EXPECT_EQ(Kind.StoredAxis(Copy.get()), nullptr);
    Kind.SetAxis(Copy.get(), Charts.Second->GetBottomAxis());
    Copy.reset();
  }
}

TEST(AxisLinkTest, AFreedCustomAxisLeavesNoToolPointingAtIt) {
  // A custom axis freed on its own, with the tool still in the chart and a copy outside it.
  TOwned<TChart> Chart(Create<TChart>(nullptr));
  auto* Axis = Create<TChartAxis>(static_cast<TCustomAxisPanel*>(Chart.get()));
  auto* Band = Create<TGridBandTool>(nullptr);
  Band->SetAxis(Axis);
  TOwned<TGridBandTool> Copy(Create<TGridBandTool>(nullptr));
  Copy->Assign(Band);
  Axis->Free();
  EXPECT_EQ(Band->GetAxis(), nullptr);
  EXPECT_EQ(Copy->GetAxis(), nullptr);
  EXPECT_EQ(Band->GetParentChart(), Chart.get());
  Band->SetAxis(Chart->GetLeftAxis());
  EXPECT_TRUE(Band->OwnsGridHandler(Chart->GetLeftAxis()));
  Band->Free();
  EXPECT_FALSE(Chart->GetLeftAxis()->OnDrawGrids);
}

}  // namespace
}  // namespace zel::testing
