// The tool classes made by class reference, as a stored chart or an editor makes them: each
// joins the chart and lives through paints and mouse events with its default settings.
#include <gtest/gtest.h>

#include <vector>

#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/tools/ToolsUnit.h"

namespace zel::testing {
namespace {

using ToolClassesTest = ChartFixture;

TEST_F(ToolClassesTest, ToolsMadeByClassWorkWithTheirDefaults) {
  for (const TClass* C : ZelToolsUnitClasses()) {
    SCOPED_TRACE(C->Name);
    TZelCustomTool* T = Chart->GetTools()->Add(C);
    ASSERT_NE(T, nullptr);
    EXPECT_TRUE(T->InheritsFrom(C));
    EXPECT_EQ(T->GetParentChart(), Chart);
    EXPECT_FALSE(T->Description().empty());
    Paint();
    const TPointF P = Inside(40, 40);
    Chart->MouseMove({}, P.X, P.Y);
    Chart->MouseDown(TMouseButton::mbLeft, {}, P.X, P.Y);
    Chart->MouseMove({}, P.X + 10, P.Y + 10);
    Chart->MouseUp(TMouseButton::mbLeft, {}, P.X + 10, P.Y + 10);
    Chart->DoMouseLeave();
    Paint();
    T->Free();
    EXPECT_EQ(Chart->GetTools()->GetCount(), 0);
  }
}

}  // namespace
}  // namespace zel::testing
