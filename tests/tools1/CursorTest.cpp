// The cursor tool: where it starts, which presses grab which line, dragging and following the
// mouse, snapping to the series, the hover cursors, what is drawn for each style, the axis
// annotation, and the visible index range routine.
#include <gtest/gtest.h>

#include <vector>

#include "platform/RecordingCanvas.h"
#include "platform/Services.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/Cursor.h"

namespace zel::testing {
namespace {

constexpr TAlphaColor CursorColor = 0xFF00FF00;

// The series' points: (0, 0) (2, 40) (4, 20) (6, 80) (8, 60) (10, 100); axes 0..10 and 0..100.
class CursorTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Chart->SetBufferedDisplay(false);
    Chart->GetBottomAxis()->SetMinMax(0, 10);
    Chart->GetLeftAxis()->SetMinMax(0, 100);
    Tool = AddCursor();
    Paint();
  }
  TCursorTool* AddCursor() {
    auto* T = Create<TCursorTool>(nullptr);
    T->GetPen()->SetColor(CursorColor);
    Chart->GetTools()->Add(T);
    return T;
  }
  // Places the cursor at axis values and paints.
  void Place(double X, double Y) {
    Tool->SetXValue(X);
    Tool->SetYValue(Y);
    Paint();
  }
  TPointF P() const { return Tool->GetPoint(); }
  std::vector<TCanvasRecord> Drawn(TRecordKind Kind, TAlphaColor Color = CursorColor) {
    TRecordingCanvas C(Width, Height);
    Chart->Draw(&C, TRectF(0, 0, float(Width), float(Height)));
    std::vector<TCanvasRecord> R;
    for (const TCanvasRecord& Rec : C.GetRecords())
      if (Rec.Kind == Kind && Rec.Color == Color) R.push_back(Rec);
    return R;
  }
  static int XPixel(double V, TChartAxis* A) { return A->CalcPosValue(V); }

  TCursorTool* Tool = nullptr;
};

TEST_F(CursorTest, ValuesSetBeforeTheFirstPaintShowAfterIt) {
  auto* T = AddCursor();
  std::vector<int> Indexes;
  T->OnChange = [&](TCursorTool*, std::int32_t, std::int32_t, double, double, TChartSeries*, std::int32_t I) {
    Indexes.push_back(I);
  };
  T->SetXValue(4);
  EXPECT_EQ(T->GetPoint().X, 0);  // no pixels before a paint
  Paint();
  TChartAxis* B = Chart->GetBottomAxis();
  TChartAxis* L = Chart->GetLeftAxis();
  EXPECT_EQ(T->GetPoint().X, B->CalcPosValue(4));
  EXPECT_DOUBLE_EQ(T->GetXValue(), 4);
  // The coordinate never set starts at the axis' centre.
  EXPECT_EQ(T->GetPoint().Y, L->ICenterPos);
  EXPECT_NEAR(T->GetYValue(), L->CalcPosPoint(L->ICenterPos), 1e-9);
  ASSERT_FALSE(Indexes.empty());
  EXPECT_EQ(Indexes.back(), -1);
  // Setting a value again reports only a change.
  Indexes.clear();
  T->SetXValue(4);
  EXPECT_TRUE(Indexes.empty());
  T->SetXValue(6);
  EXPECT_EQ(Indexes, std::vector<int>{-1});
  EXPECT_EQ(T->GetPoint().X, B->CalcPosValue(6));
}

TEST_F(CursorTest, PressesGrabLinesWithinTheTolerance) {
  Place(4, 50);
  struct Case {
    const char* Name;
    TCursorToolStyle Style;
    int DX, DY;
    TCursorClicked Expected;
  };
  using S = TCursorToolStyle;
  using C = TCursorClicked;
  const Case Cases[] = {
      {"3 px beside the vertical line", S::cssBoth, 3, 40, C::ccVertical},
      {"4 px beside the vertical line", S::cssBoth, -4, 40, C::ccNone},
      {"3 px beside the horizontal line", S::cssBoth, 40, -3, C::ccHorizontal},
      {"the crossing", S::cssBoth, 2, -2, C::ccBoth},
      {"the crossing of a horizontal cursor", S::cssHorizontal, 2, 2, C::ccHorizontal},
      {"vertical line of a horizontal cursor", S::cssHorizontal, 0, 40, C::ccNone},
      {"horizontal line of a vertical cursor", S::cssVertical, 40, 0, C::ccNone},
      {"the crossing of a vertical cursor", S::cssVertical, 1, 1, C::ccVertical},
      {"scope only: the crossing", S::cssScopeOnly, 1, 1, C::ccBoth},
      {"scope only: a line", S::cssScopeOnly, 0, 40, C::ccNone},
      {"scope: a line", S::cssScope, 40, 0, C::ccHorizontal},
  };
  for (const Case& Cs : Cases) {
    SCOPED_TRACE(Cs.Name);
    Tool->SetStyle(Cs.Style);
    EXPECT_EQ(Tool->Clicked(Round(P().X) + Cs.DX, Round(P().Y) + Cs.DY), Cs.Expected);
  }
  // Outside the axes' span nothing is grabbed, even on a line's extension.
  Tool->SetStyle(S::cssBoth);
  const TChartAxis* B = Chart->GetBottomAxis();
  EXPECT_EQ(Tool->Clicked(B->IEndPos + 5, Round(P().Y)), C::ccNone);
}

TEST_F(CursorTest, DraggingMovesTheGrabbedLines) {
  TChartAxis* B = Chart->GetBottomAxis();
  TChartAxis* L = Chart->GetLeftAxis();
  struct Case {
    const char* Name;
    int DX, DY;  // where the press is, from the crossing
    bool MovesX, MovesY;
  };
  const Case Cases[] = {
      {"vertical line", 0, 40, true, false},
      {"horizontal line", 40, 0, false, true},
      {"crossing", 1, 1, true, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Place(4, 50);
    const float X0 = P().X + C.DX, Y0 = P().Y + C.DY;
    Chart->MouseDown(TMouseButton::mbLeft, {}, X0, Y0);
    EXPECT_FALSE(Chart->GetZoom()->GetActive());  // the tool claimed the press
    Chart->MouseMove({}, X0 + 30, Y0 + 20);
    Chart->MouseUp(TMouseButton::mbLeft, {}, X0 + 30, Y0 + 20);
    EXPECT_EQ(Tool->GetDragging(), TCursorClicked::ccNone);
    EXPECT_NEAR(Tool->GetXValue(), C.MovesX ? B->CalcPosPoint(Round(X0 + 30)) : 4, 1e-9);
    EXPECT_NEAR(Tool->GetYValue(), C.MovesY ? L->CalcPosPoint(Round(Y0 + 20)) : 50, 1e-9);
    EXPECT_FALSE(Chart->GetZoomed());
  }
}

TEST_F(CursorTest, FollowingTheMouseGrabsNothing) {
  Tool->SetFollowMouse(true);
  Place(4, 50);
  const TRectF R = Tool->GetAxisRect();
  const TPointF In(R.Left + 30, R.Top + 30);
  Chart->MouseMove({}, In.X, In.Y);
  EXPECT_EQ(Tool->GetPoint(), In);
  EXPECT_NEAR(Tool->GetXValue(), Chart->GetBottomAxis()->CalcPosPoint(Round(In.X)), 1e-9);
  // A press on the lines is the chart's: a zoom may start.
  Chart->MouseDown(TMouseButton::mbLeft, {}, In.X, In.Y);
  EXPECT_EQ(Tool->GetDragging(), TCursorClicked::ccNone);
  EXPECT_TRUE(Chart->GetZoom()->GetActive());
  Chart->MouseUp(TMouseButton::mbLeft, {}, In.X, In.Y);
  // Outside the axes' span the cursor stays.
  Chart->MouseMove({}, R.Right + 20, In.Y);
  EXPECT_EQ(Tool->GetPoint(), In);
}

TEST_F(CursorTest, HoverCursorsShowWhichLineIsUnderTheMouse) {
  Place(4, 50);
  struct Case {
    const char* Name;
    int DX, DY;
    TCursor Expected;
  };
  const Case Cases[] = {
      {"horizontal line", 40, 1, crVSplit},
      {"vertical line", -2, 40, crHSplit},
      {"crossing", 0, 0, crSizeAll},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Chart->SetCursor(crDefault);
    Tool->ChartMouseEvent(TChartMouseEvent::tmeMove, TMouseButton::mbLeft, {}, Round(P().X) + C.DX,
                          Round(P().Y) + C.DY);
    EXPECT_EQ(Chart->GetCursor(), C.Expected);
    EXPECT_TRUE(Chart->GetCancelMouse());
  }
  Tool->ChartMouseEvent(TChartMouseEvent::tmeMove, TMouseButton::mbLeft, {}, Round(P().X) + 40, Round(P().Y) + 40);
  EXPECT_FALSE(Chart->GetCancelMouse());
}

TEST_F(CursorTest, SnappingTakesTheNearestPointByTheStyle) {
  Tool->SetSeries(Series);
  Tool->SetSnap(true);
  struct Case {
    const char* Name;
    TCursorToolStyle Style;
    TSnapStyle SnapStyle;
    double X, Y;
    int Index;
    double SnappedX, SnappedY;
  };
  using S = TCursorToolStyle;
  const Case Cases[] = {
      {"both: nearest in values", S::cssBoth, TSnapStyle::ssDefault, 6.5, 75, 3, 6, 80},
      // X 3 lies as far from (2, 40) as from (4, 40 ...): Y decides nothing for a vertical cursor.
      {"vertical: equal distances take the lower index", S::cssVertical, TSnapStyle::ssDefault, 3, 50, 1, 2, 50},
      {"vertical snaps only X", S::cssVertical, TSnapStyle::ssDefault, 7.2, 5, 4, 8, 5},
      {"horizontal snaps only Y", S::cssHorizontal, TSnapStyle::ssDefault, 1, 58, 4, 1, 60},
      {"snap style overrides the cursor's", S::cssBoth, TSnapStyle::ssVertical, 9.2, 0, 5, 10, 100},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Tool->SetStyle(C.Style);
    Tool->SetSnapStyle(C.SnapStyle);
    Tool->SetXValue(C.X);
    Tool->SetYValue(C.Y);
    EXPECT_EQ(Tool->SnapToPoint(), C.Index);
    EXPECT_DOUBLE_EQ(Tool->GetXValue(), C.SnappedX);
    EXPECT_DOUBLE_EQ(Tool->GetYValue(), C.SnappedY);
  }
  // Without Snap nothing moves.
  Tool->SetSnap(false);
  Tool->SetXValue(3.3);
  EXPECT_EQ(Tool->SnapToPoint(), -1);
  EXPECT_DOUBLE_EQ(Tool->GetXValue(), 3.3);
}

TEST_F(CursorTest, DragStepsReportSnapChangesOnce) {
  Tool->SetSeries(Series);
  Tool->SetSnap(true);
  Tool->SetStyle(TCursorToolStyle::cssVertical);
  Place(4, 50);
  std::vector<int> Snaps;
  Tool->OnSnapChange = [&](TCursorTool*, std::int32_t, std::int32_t, double, double, TChartSeries* S, std::int32_t I) {
    EXPECT_EQ(S, Series);
    Snaps.push_back(I);
  };
  TChartAxis* B = Chart->GetBottomAxis();
  const float Y = P().Y + 40;
  Chart->MouseDown(TMouseButton::mbLeft, {}, P().X, Y);
  for (double V : {4.2, 4.4, 5.8, 6.1})  // near 4, 4, 6, 6
    Chart->MouseMove({}, float(B->CalcPosValue(V)), Y);
  Chart->MouseUp(TMouseButton::mbLeft, {}, P().X, Y);
  EXPECT_EQ(Snaps, (std::vector<int>{2, 3}));
  EXPECT_DOUBLE_EQ(Tool->GetXValue(), 6);
}

TEST_F(CursorTest, EachStyleDrawsItsParts) {
  struct Case {
    const char* Name;
    TCursorToolStyle Style;
    TScopeCursorStyle Scope;
    std::size_t Lines, Rects, Ellipses;
  };
  using S = TCursorToolStyle;
  using Sc = TScopeCursorStyle;
  const Case Cases[] = {
      {"both", S::cssBoth, Sc::scsRectangle, 2, 0, 0},
      {"horizontal", S::cssHorizontal, Sc::scsRectangle, 1, 0, 0},
      {"scope: ticks, square and lines", S::cssScope, Sc::scsRectangle, 6, 1, 0},
      {"scope of circle style", S::cssScope, Sc::scsCircle, 6, 0, 1},
      {"empty scope: only the lines", S::cssScope, Sc::scsEmpty, 2, 0, 0},
      {"camera: frame and cross", S::cssScopeOnly, Sc::scsCamera, 2, 1, 0},
      {"scope only, empty: nothing", S::cssScopeOnly, Sc::scsEmpty, 0, 0, 0},
  };
  Place(4, 50);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Tool->SetStyle(C.Style);
    Tool->SetScopeStyle(C.Scope);
    EXPECT_EQ(Drawn(TRecordKind::DrawLine).size(), C.Lines);
    EXPECT_EQ(Drawn(TRecordKind::DrawRect).size(), C.Rects);
    EXPECT_EQ(Drawn(TRecordKind::DrawEllipse).size(), C.Ellipses);
  }
  // The lines cross at the cursor and span the axes, or HorizSize around it.
  Tool->SetStyle(S::cssHorizontal);
  auto Lines = Drawn(TRecordKind::DrawLine);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_EQ(Lines[0].Points[0].Y, P().Y);
  EXPECT_EQ(Lines[0].Points[0].X, Chart->GetBottomAxis()->IStartPos);
  Tool->SetHorizSize(10);
  Lines = Drawn(TRecordKind::DrawLine);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_EQ(Lines[0].Points[0].X, P().X - 10);
  EXPECT_EQ(Lines[0].Points[1].X, P().X + 10);
}

TEST_F(CursorTest, AxisAnnotationShowsTheLabelOnceVisible) {
  Place(4, 50);
  TAnnotationTool* A = Tool->GetAxisAnnotation();
  ASSERT_NE(A, nullptr);
  EXPECT_FALSE(IsAnnotationVisible(A));
  EXPECT_EQ(Chart->GetTools()->IndexOf(A), -1);  // a label, not a tool of the chart
  const String Label = Chart->GetBottomAxis()->LabelValue(4);
  auto Texts = [&] {
    TRecordingCanvas C(Width, Height);
    Chart->Draw(&C, TRectF(0, 0, float(Width), float(Height)));
    return C.Texts();
  };
  auto Has = [&](const std::vector<String>& T) {
    int N = 0;
    for (const String& S : T)
      if (S == Label) ++N;
    return N;
  };
  const int Before = Has(Texts());
  A->GetShape()->SetVisible(true);
  EXPECT_TRUE(Tool->ShouldForceRepaint());
  EXPECT_EQ(Has(Texts()), Before + 1);
  // Centred on the vertical line.
  EXPECT_NEAR(A->GetLeft() + A->GetWidth() / 2.0, P().X, 1);
  // Assigning nothing frees it.
  Tool->SetAxisAnnotation(nullptr);
  EXPECT_EQ(Tool->ExistingAxisAnnotation(), nullptr);
  EXPECT_EQ(Has(Texts()), Before);
  // A new one comes with the next read; the chart frees it with the tool.
  EXPECT_NE(Tool->GetAxisAnnotation(), nullptr);
  EXPECT_FALSE(IsAnnotationVisible(Tool->GetAxisAnnotation()));
}

TEST_F(CursorTest, FreedSeriesLeavesTheCursorOnTheChartAxes) {
  Tool->SetSeries(Series);
  Tool->SetSnap(true);
  Series->Free();
  Series = nullptr;
  EXPECT_EQ(Tool->GetSeries(), nullptr);
  EXPECT_EQ(Tool->SnapToPoint(), -1);
  Place(3, 30);
  EXPECT_EQ(Tool->GetPoint().X, Chart->GetBottomAxis()->CalcPosValue(3));
}

TEST_F(CursorTest, FirstAndLastVisibleIndexes) {
  struct Case {
    const char* Name;
    double Min, Max;
    bool Ok;
    int First, Last;
  };
  const Case Cases[] = {
      {"all visible", -1, 11, true, 0, 5},
      {"a middle part", 3, 7, true, 2, 3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Chart->GetBottomAxis()->SetMinMax(C.Min, C.Max);
    Paint();
    std::int32_t First = -9, Last = -9;
    EXPECT_EQ(ZelGetFirstLastSeries(Series, First, Last), C.Ok);
    EXPECT_EQ(First, C.First);
    EXPECT_EQ(Last, C.Last);
  }
  auto* Empty = AddSeries({}, {});
  std::int32_t First = -9, Last = -9;
  EXPECT_FALSE(ZelGetFirstLastSeries(Empty, First, Last));
  EXPECT_FALSE(ZelGetFirstLastSeries(nullptr, First, Last));
}

}  // namespace
}  // namespace zel::testing
