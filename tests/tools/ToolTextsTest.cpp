// The tools' message table: verbatim texts, composed captions, and the unit's start and end.
#include <gtest/gtest.h>

#include <set>

#include "zelgraph/constants/Constants.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {
namespace {

TEST(ToolTexts, TextsAsTheToolsShowThem) {
  struct Case {
    const String* Text;
    const char* Expected;
  };
  const Case Cases[] = {
      {&ZelMsg_DrawLineTool, "Draw Line"},
      {&ZelMsg_RotateDesc, "Allows rotating Chart dragging with mouse button."},
      {&ZelMsg_ZelScrollBar, "Scrollbar"},
      {&ZelMsg_MarksTipDesc,
       "Displays \"tips\" or \"hints\" when the end-user moves or clicks the mouse over a series point."},
      {&ZelMsg_AxisScrollDesc, "Allows the scrolling of Axes by mouse dragging"},
      {&ZelMsg_FullScreenDesc, "Show Chart maximized to full screen"},
      {&ZelMsg_AntiAlias, "Anti-Alias"},
      // Two-word captions are split over two lines by NewLine (a carriage return).
      {&ZelMsg_FunctionMovingAverage, "Moving\rAverage"},
      {&ZelMsg_NumericGauge, "Numeric\rGauge"},
      {&ZelMsg_FunctionBollinger, "Bollinger\rbands"},
      {&ZelCommanMsg_Zooming, "Zoom: %d %%"},
      {&ZelCommanMsg_Rotating, "Rotation: %d\u00b0 Elevation: %d\u00b0"},
  };
  for (const Case& C : Cases) EXPECT_EQ(*C.Text, C.Expected);
}

// Each entry assigns its own global exactly once; a duplicated or misplaced entry would leave a
// text unassigned or overwrite another.
TEST(ToolTexts, EveryEntryAssignsADistinctText) {
  const auto& Texts = ZelToolMessageTexts();
  std::set<const String*> Values;
  std::set<String> Names;
  for (const TZelToolText& T : Texts) {
    SCOPED_TRACE(T.Name);
    EXPECT_TRUE(Values.insert(T.Value).second);
    EXPECT_TRUE(Names.insert(T.Name).second);
    EXPECT_FALSE(T.Value->empty());
    EXPECT_EQ(T.Own, T.Value != &ZelMsg_AntiAlias);
  }
  ASSERT_GT(Texts.size(), 270u);
  EXPECT_EQ(Texts[270].Value, &ZelMsg_AntiAlias);
}

// This table's caption of the summary editor lives apart from the first table's text of the
// same name, so neither unit's start or end disturbs the other.
TEST(ToolTexts, SummaryCaptionKeptApartFromTheFirstTable) {
  EXPECT_NE(&ToolTexts::ZelMsg_DBSumEditCaption, &ZelMsg_DBSumEditCaption);
  const String First = ZelMsg_DBSumEditCaption;
  ZelToolTextsUnitEnd();
  EXPECT_EQ(ZelMsg_DBSumEditCaption, First);
  EXPECT_TRUE(ToolTexts::ZelMsg_DBSumEditCaption.empty());
  ZelToolTextsUnitStart();
  EXPECT_FALSE(ToolTexts::ZelMsg_DBSumEditCaption.empty());
}

TEST(ToolTexts, EndEmptiesOwnTextsAndKeepsTheSharedOne) {
  ZelToolTextsUnitEnd();
  for (const TZelToolText& T : ZelToolMessageTexts()) {
    SCOPED_TRACE(T.Name);
    EXPECT_EQ(T.Value->empty(), T.Own);
  }
  EXPECT_EQ(ZelMsg_AntiAlias, "Anti-Alias");
  ZelToolTextsUnitStart();
  EXPECT_EQ(ZelMsg_CursorTool, "Cursor");
}

// Composed captions take NewLine as it is when the texts are assigned.
TEST(ToolTexts, ComposedCaptionsFollowNewLine) {
  const String Saved = NewLine;
  NewLine = "<br>";
  ZelSetProConstants();
  EXPECT_EQ(ZelMsg_LinearGauge, "Linear<br>Gauge");
  NewLine = Saved;
  ZelSetProConstants();
  EXPECT_EQ(ZelMsg_LinearGauge, "Linear\rGauge");
}

}  // namespace
}  // namespace zel
