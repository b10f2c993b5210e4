// Hit tests of an axis' label items: the hover finds an item over the text its label shows,
// also where that text is made from the item's value. A chart painted on a recording canvas
// (7-pixel characters, 12-pixel lines).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "axis/FlatPanel.h"
#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"
#include "support/DrawnText.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"

namespace zel {
namespace {

constexpr TAlphaColor LabelColor = 0xFF000033;

// Custom items on the bottom or the left axis, some with a text of their own, the others showing
// their value (dates on a date-time axis, with the time where the dates repeat): the hover finds
// each item over the near and the far end of the text drawn for it, and the item's rectangle
// covers that text.
TEST(AxisItemHit, TheHoverFindsAnItemOverTheTextItsLabelShows) {
  const double Hour = 1.0 / 24;
  const TDateTime Day = EncodeDate(2024, 3, 15);
  struct TCase {
    const char* Name;
    bool Horizontal;
    bool DateTime;
    double Min, Max;
    std::vector<double> Values;
    std::vector<String> Own;  // the items' own texts, in the order of Values
  };
  const TCase Cases[] = {
      {"bottom axis, values", true, false, 0, 100, {20, 45.25, 70}, {"", "", "mark"}},
      {"left axis, values", false, false, 0, 100, {20, 45.25, 70}, {"", "mark", ""}},
      // over two days the labels show dates, which repeat here: the items show the time too
      {"bottom axis, dates with the time", true, true, Day, Day + 2, {Day + 12 * Hour, Day + 1, Day + 36 * Hour},
       {"", "", ""}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TFlatTestPanel> Chart(Create<TFlatTestPanel>(nullptr));
    Chart->SetView3D(false);
    auto* Series = Create<TChartSeries>(nullptr);
    Chart->AddSeries(Series);
    Series->GetXValues()->SetDateTime(C.DateTime);
    Series->AddXY(C.Min, C.Min);
    Series->AddXY(C.Max, C.Max);
    TChartAxis* A = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    A->GetLabelsFont()->SetColor(LabelColor);
    A->SetMinMax(C.Min, C.Max);
    for (std::size_t I = 0; I < C.Values.size(); ++I) A->GetItems()->Add(C.Values[I], C.Own[I]);
    Chart->GetHover()->SetVisible(true);
    TZelSelected* Sel = A->GetLabelsObject()->GetSelected();
    Sel->GetHover()->SetVisible(true);

    TRecordingCanvas Canvas(800, 400);
    Chart->SetBounds(0, 0, 800, 400);
    Chart->SetBufferedDisplay(false);
    Chart->Draw(&Canvas, TRectF(0, 0, 800, 400));

    const std::vector<zeltest::TDrawnText> Drawn = zeltest::DrawnTexts(Canvas, LabelColor);
    ASSERT_EQ(Drawn.size(), C.Values.size());
    const std::vector<TRectF> Rects = A->LabelItemRects();
    ASSERT_EQ(Rects.size(), C.Values.size());
    for (std::size_t I = 0; I < Drawn.size(); ++I) {
      const TRectF& T = Drawn[I].Box;
      SCOPED_TRACE(Drawn[I].Text);
      if (!C.Own[I].empty()) {
        EXPECT_EQ(Drawn[I].Text, C.Own[I]);
      }
      // (A pixel of slack: the drawing puts text on whole pixels.)
      EXPECT_LE(Rects[I].Left, T.Left + 1);
      EXPECT_GE(Rects[I].Right, T.Right - 1);
      const std::int32_t Y = Round((T.Top + T.Bottom) / 2);
      for (const float X : {T.Left + 2, T.Right - 2}) {
        EXPECT_TRUE(Chart->CheckMouseAxes(Round(X), Y)) << X;
        EXPECT_EQ(Sel->GetHoverIndex(), static_cast<std::int32_t>(I)) << X;
      }
    }
  }
}

}  // namespace
}  // namespace zel
