// A series forgets its custom axes when they are freed, wherever the series is: moved to another
// chart, out of every chart, or a copy that never joined one. The test build runs the address
// sanitizer, so a series that still read the freed axis (painting, storing, reading its custom
// axis) fails here.
#include <gtest/gtest.h>

#include <functional>

#include "platform/RecordingCanvas.h"
#include "support/StreamText.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Series.h"

namespace zel::testing {
namespace {

constexpr float Width = 400, Height = 300;

void Paint(TChart* Chart) {
  TRecordingCanvas C(static_cast<int>(Width), static_cast<int>(Height));
  Chart->SetBounds(0, 0, Width, Height);
  Chart->Draw(&C, TRectF(0, 0, Width, Height));
}

// Two charts; the series starts in the first, on a custom axis of it.
struct TTwoCharts {
  TOwned<TChart> First{Create<TChart>(nullptr)};
  TOwned<TChart> Second{Create<TChart>(nullptr)};
  TOwned<TChartSeries> Series{Create<TChartSeries>(nullptr)};
  TChartAxis* Custom = nullptr;

  explicit TTwoCharts(bool Horizontal) {
    for (TChart* C : {First.get(), Second.get()}) C->SetView3D(false);
    for (double X : {0, 1, 2}) Series->AddXY(X, X * 10);
    First->AddSeries(Series.get());
    Custom = Create<TChartAxis>(static_cast<TCustomAxisPanel*>(First.get()));
    Custom->SetHorizontal(Horizontal);
    if (Horizontal)
      Series->SetCustomHorizAxis(Custom);
    else
      Series->SetCustomVertAxis(Custom);
    Paint(First.get());
  }
  // The series is no longer in the first chart: in the second one, or in none.
  void MoveSeries(bool ToSecond) { Series->SetParentChart(ToSecond ? Second.get() : nullptr); }
};

struct TFreeCase {
  const char* Name;
  std::function<void(TTwoCharts&)> Free;
};

TEST(SeriesAxisLinkTest, ASeriesThatLeftTheAxisChartForgetsTheFreedCustomAxis) {
  const TFreeCase Frees[] = {
      {"custom axis freed", [](TTwoCharts& T) { T.Custom->Free(); }},
      {"first chart freed", [](TTwoCharts& T) { T.First.reset(); }},
  };
  for (const TFreeCase& F : Frees)
    for (bool Horizontal : {true, false})
      for (bool ToSecond : {true, false}) {
        SCOPED_TRACE(::testing::Message() << F.Name << (Horizontal ? ", horizontal" : ", vertical")
                                        << (ToSecond ? ", series in the second chart" : ", series in no chart"));
        TTwoCharts T(Horizontal);
        T.MoveSeries(ToSecond);
        F.Free(T);
        // Read: back on the standard axes.
        EXPECT_EQ(T.Series->GetCustomHorizAxis(), nullptr);
        EXPECT_EQ(T.Series->GetCustomVertAxis(), nullptr);
        EXPECT_EQ(T.Series->GetHorizAxis(), THorizAxis::aBottomAxis);
        EXPECT_EQ(T.Series->GetVertAxis(), TVertAxis::aLeftAxis);
        if (ToSecond) {
          EXPECT_EQ(T.Series->GetGetHorizAxis(), T.Second->GetBottomAxis());
          EXPECT_EQ(T.Series->GetGetVertAxis(), T.Second->GetLeftAxis());
          Paint(T.Second.get());
        }
        // Stored and freed: nothing reaches the freed axis.
        EXPECT_FALSE(Store(T.Series.get()).empty());
        T.Series.reset();
      }
}

TEST(SeriesAxisLinkTest, ACopyAndASharedAxisKeepTheirLinks) {
  // A copy that never joined a chart, and a series with one axis as both custom axes that lets
  // one of them go: each still hears of the axis' freeing.
  TTwoCharts T(true);
  TOwned<TChartSeries> Copy(Create<TChartSeries>(nullptr));
  Copy->Assign(T.Series.get());
  ASSERT_EQ(Copy->GetCustomHorizAxis(), T.Custom);
  T.Series->SetCustomVertAxis(T.Custom);
  T.Series->SetHorizAxis(THorizAxis::aTopAxis);
  ASSERT_EQ(T.Series->GetCustomVertAxis(), T.Custom);
  T.MoveSeries(true);
  T.Custom->Free();
  EXPECT_EQ(Copy->GetCustomHorizAxis(), nullptr);
  EXPECT_EQ(T.Series->GetCustomVertAxis(), nullptr);
  EXPECT_EQ(T.Series->GetVertAxis(), TVertAxis::aLeftAxis);
  EXPECT_EQ(T.Series->GetHorizAxis(), THorizAxis::aTopAxis);
  Paint(T.Second.get());
  Copy.reset();
  T.Series.reset();
}

TEST(SeriesAxisLinkTest, AFreedSeriesLeavesNoLinkOnItsAxis) {
  // The axis outlives a series that used it: freeing the axis then tells nobody freed.
  TTwoCharts T(false);
  T.MoveSeries(true);
  T.Series.reset();
  T.Custom->Free();
  Paint(T.First.get());
}

}  // namespace
}  // namespace zel::testing
