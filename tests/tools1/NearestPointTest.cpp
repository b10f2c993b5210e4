// The nearest-point tool: which point the search finds (the series' own hit, the distance
// limit, the chart rectangle, null points), the marker and line it draws for the point under the
// mouse, leaving the chart, and the hint text it hands to its event.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/tools/NearestPoint.h"

namespace zel::testing {
namespace {

constexpr TAlphaColor LineColor = 0xFF0000FF;

// Points (0, 0) (2, 40) (4, 20) (6, 80) (8, 60) (10, 100) on axes 0..10 and 0..100.
class NearestPointTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Chart->SetBufferedDisplay(false);
    Chart->GetBottomAxis()->SetMinMax(0, 10);
    Chart->GetLeftAxis()->SetMinMax(0, 100);
    Tool = Create<TNearestTool>(nullptr);
    Tool->SetSeries(Series);
    Tool->GetLinePen()->SetColor(LineColor);
    Chart->GetTools()->Add(Tool);
    Paint();
  }
  TPointF PointAt(int I) const { return TPointF(float(Series->CalcXPos(I)), float(Series->CalcYPos(I))); }
  std::int32_t Nearest(TPointF P, std::int32_t MaxDistance, bool IncludeNulls = false) {
    return TNearestTool::GetNearestPoint(Series, Round(P.X), Round(P.Y), IncludeNulls, MaxDistance);
  }
  std::vector<TCanvasRecord> Records() {
    TRecordingCanvas C(Width, Height);
    Chart->Draw(&C, TRectF(0, 0, float(Width), float(Height)));
    return C.GetRecords();
  }
  // The records of the marker (the tool's white pen) and of the line (its line pen).
  std::vector<TCanvasRecord> Marker() {
    std::vector<TCanvasRecord> R;
    for (const TCanvasRecord& Rec : Records())
      if (Rec.Color == 0xFFFFFFFF && Rec.Thickness == 3) R.push_back(Rec);
    return R;
  }
  std::vector<TCanvasRecord> Lines() {
    std::vector<TCanvasRecord> R;
    for (const TCanvasRecord& Rec : Records())
      if (Rec.Kind == TRecordKind::DrawLine && Rec.Color == LineColor) R.push_back(Rec);
    return R;
  }

  TNearestTool* Tool = nullptr;
};

TEST_F(NearestPointTest, SearchFindsThePointWithinTheLimits) {
  const TPointF P3 = PointAt(3);
  struct Case {
    const char* Name;
    TPointF Mouse;
    int MaxDistance, Expected;
  };
  const Case Cases[] = {
      {"on the point", P3, 0, 3},
      // The series' own hit test (3 px) comes first, whatever the limit.
      {"within the series' hit, beyond the limit", {P3.X, P3.Y + 3}, 2, 3},
      {"12 px away, any distance", {P3.X, P3.Y + 12}, 0, 3},
      {"12 px away, limit 10", {P3.X, P3.Y + 12}, 10, -1},
      {"12 px away, limit 12: strictly closer only", {P3.X, P3.Y + 12}, 12, -1},
      {"12 px away, limit 13", {P3.X, P3.Y + 12}, 13, 3},
      {"more than 10000 px from every point", {20000, P3.Y}, 0, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Nearest(C.Mouse, C.MaxDistance), C.Expected);
  }
}

TEST_F(NearestPointTest, PointsOutsideTheChartRectangleAreNotChosen) {
  // Points 0 and 1 fall left of the chart rectangle; the mouse at its left edge is nearest to
  // point 1's pixel but finds point 2.
  Chart->GetBottomAxis()->SetMinMax(3, 10);
  Paint();
  const TPointF Edge(Chart->GetChartRect().Left + 1, PointAt(1).Y);
  EXPECT_EQ(Nearest(Edge, 0), 2);
  EXPECT_GE(TNearestTool::GetNearestPoint(Series, -5000, -5000, 0), 2);
}

TEST_F(NearestPointTest, NullPointsCountOnlyWhenAsked) {
  const std::int32_t Null = Series->AddNullXY(5, 50);
  Paint();
  const TPointF P(float(Series->CalcXPos(Null)) + 6, float(Series->CalcYPos(Null)));
  EXPECT_NE(Nearest(P, 0), Null);
  EXPECT_EQ(Nearest(P, 0, true), Null);
}

TEST_F(NearestPointTest, MarkerAndLineFollowTheMouse) {
  struct Case {
    const char* Name;
    TNearestToolStyle Style;
    TRecordKind Kind;
    std::size_t Count;
  };
  const Case Cases[] = {
      {"circle", TNearestToolStyle::hsCircle, TRecordKind::DrawEllipse, 1},
      {"rectangle", TNearestToolStyle::hsRectangle, TRecordKind::DrawRect, 1},
      {"none: only the line", TNearestToolStyle::hsNone, TRecordKind::DrawEllipse, 0},
  };
  const TPointF P3 = PointAt(3);
  const TPointF Mouse(P3.X + 8, P3.Y + 9);
  int Changes = 0;
  Tool->OnChange = [&](TObject*) { ++Changes; };
  Chart->MouseMove({}, Mouse.X, Mouse.Y);
  EXPECT_EQ(Tool->Point, 3);
  EXPECT_EQ(Changes, 1);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Tool->SetStyle(C.Style);
    std::vector<TCanvasRecord> Shapes;
    for (const TCanvasRecord& R : Marker())
      if (R.Kind == C.Kind) Shapes.push_back(R);
    ASSERT_EQ(Shapes.size(), C.Count);
    if (C.Count) {
      EXPECT_EQ(Shapes[0].Rect, TRectF(P3.X - 20, P3.Y - 20, P3.X + 20, P3.Y + 20));
    }
    const auto L = Lines();
    ASSERT_EQ(L.size(), 1u);
    EXPECT_EQ(L[0].Points[0], Mouse);
    EXPECT_EQ(L[0].Points[1], P3);
  }
  // The marker is hollow: nothing is filled in its pen's colour or black around the point.
  Tool->SetStyle(TNearestToolStyle::hsCircle);
  for (const TCanvasRecord& R : Records()) EXPECT_NE(R.Kind, TRecordKind::FillEllipse);
  Tool->SetDrawLine(false);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(NearestPointTest, NoPointNoMarker) {
  Tool->SetDistance(10);
  const TPointF P3 = PointAt(3);
  Chart->MouseMove({}, P3.X, P3.Y + 12);
  EXPECT_EQ(Tool->Point, -1);
  EXPECT_TRUE(Marker().empty());
  EXPECT_TRUE(Lines().empty());
  // Without a series the tool does nothing.
  Tool->SetSeries(nullptr);
  Chart->MouseMove({}, P3.X, P3.Y);
  EXPECT_EQ(Tool->Point, -1);
}

TEST_F(NearestPointTest, LeavingTheChartRemovesTheMarker) {
  const TPointF P3 = PointAt(3);
  Chart->MouseMove({}, P3.X + 5, P3.Y);
  ASSERT_EQ(Tool->Point, 3);
  EXPECT_FALSE(Marker().empty());
  Chart->DoMouseLeave();
  EXPECT_EQ(Tool->Point, -1);
  EXPECT_TRUE(Marker().empty());
}

TEST_F(NearestPointTest, HintTextComesInTheHintStyle) {
  Series->Clear();
  Series->AddXY(2, 40, "Two");
  Series->AddXY(6, 80, "Six");
  Series->GetMarks()->SetStyle(TSeriesMarksStyle::smsValue);
  Paint();
  std::vector<String> Texts;
  Tool->OnGetHint = [&](TMarksTipTool* Sender, String& Text) {
    EXPECT_EQ(Sender, nullptr);
    Texts.push_back(Text);
  };
  const TPointF P = PointAt(1);
  Chart->MouseMove({}, P.X + 5, P.Y);
  EXPECT_TRUE(Texts.empty());  // Hint is off
  Tool->SetHint(true);
  Chart->MouseMove({}, P.X + 5, P.Y);
  Tool->SetHintStyle(TSeriesMarksStyle::smsXValue);
  Chart->MouseMove({}, P.X + 6, P.Y);
  EXPECT_EQ(Texts, (std::vector<String>{"Six 80", Chart->GetBottomAxis()->LabelValue(6)}));
  EXPECT_EQ(Series->GetMarks()->GetStyle(), TSeriesMarksStyle::smsValue);
  // No point: no text.
  Tool->SetDistance(2);
  Chart->MouseMove({}, P.X + 40, P.Y + 40);
  EXPECT_EQ(Texts.size(), 2u);
}

}  // namespace
}  // namespace zel::testing
