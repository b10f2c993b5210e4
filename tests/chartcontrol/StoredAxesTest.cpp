// Axes and the value lists they show, stored and read back into a fresh chart:
// the second store writes the same text, and both charts paint the same pixels, on the first
// paint and on later ones.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/Spline.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

constexpr float ChartWidth = 320, ChartHeight = 240;

template <typename T>
T* AddSeries(TChart* C, const String& Name, int Points, double Step = 1) {
  auto* S = AddToChart<T>(C, Name);
  for (int I = 0; I < Points; ++I) S->AddXY(2 + I, (I * 5 % 7) * Step + 3, "P" + std::to_string(I));
  S->ManualData = true;
  return S;
}

struct TCase {
  const char* Name;
  std::function<void(TChart*)> Build;
};

// Builds each case, stores it, reads it back and compares (Same, when given, compares values
// a program reads); the chart painted once paints again as a chart read and painted first.
void ExpectReadBackTheSame(const std::vector<TCase>& Cases,
                           const std::function<void(TChart* A, TChart* B)>& Same = nullptr) {
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TOwned<TChart> Made(Create<TChart>(nullptr));
    TChart* A = Made.get();
    A->SetName("Chart1");
    A->SetBounds(0, 0, ChartWidth, ChartHeight);
    Case.Build(A);
    const std::vector<Byte> First = Store(A);
    TOwned<TChart> B(ReadInto(First, ChartWidth, ChartHeight));
    EXPECT_EQ(AsText(Store(B.get())), AsText(First));
    EXPECT_TRUE(PaintTheSame(A, B.get())) << AsText(First);
    if (Same) Same(A, B.get());
    A->Invalidate();
    TOwned<TChart> Again(ReadInto(First, ChartWidth, ChartHeight));
    EXPECT_TRUE(PaintTheSame(A, Again.get())) << "a later paint differs from a first one\n" << AsText(First);
  }
}

// An axis drawn at a depth other than the one it is made with keeps it, a negative depth too.
TEST(StoredAxes, AxesKeepTheirDepth) {
  const std::vector<TCase> Cases = {
      {"custom vertical axis behind the front",
       [](TChart* C) {
         TChartAxis* Axis = C->GetCustomAxes()->Add();
         Axis->SetHorizontal(false);
         Axis->SetPositionPercent(34);
         auto* S = AddSeries<TAreaSeries>(C, "Series1", 6);
         S->SetVertAxis(TVertAxis::aCustomVertAxis);
         S->SetCustomVertAxis(Axis);
         Axis->SetZPosition(-6.5);
       }},
      {"custom horizontal axis at the other side",
       [](TChart* C) {
         TChartAxis* Axis = C->GetCustomAxes()->Add();
         Axis->SetHorizontal(true);
         Axis->SetOtherSide(true);
         Axis->SetZPosition(-7.5);
         auto* S = AddSeries<TFastLineSeries>(C, "Series1", 6);
         S->SetHorizAxis(THorizAxis::aCustomHorizAxis);
         S->SetCustomHorizAxis(Axis);
       }},
      {"left axis", [](TChart* C) {
         AddSeries<TAreaSeries>(C, "Series1", 6);
         C->GetLeftAxis()->SetZPosition(-6.25);
       }},
      {"bottom axis", [](TChart* C) {
         AddSeries<TAreaSeries>(C, "Series1", 6);
         C->GetBottomAxis()->SetZPosition(-10);
       }},
      {"left axis just under its made depth", [](TChart* C) {
         AddSeries<TAreaSeries>(C, "Series1", 6);
         C->GetLeftAxis()->SetZPosition(0.005);
       }},
      {"depth axis shown part way up", [](TChart* C) {
         AddSeries<TAreaSeries>(C, "Series1", 6);
         C->GetDepthAxis()->SetVisible(true);
         C->GetDepthAxis()->SetZPosition(40);
       }},
      {"right axis in front", [](TChart* C) {
         auto* S = AddSeries<TAreaSeries>(C, "Series1", 6);
         S->SetVertAxis(TVertAxis::aRightAxis);
         C->GetRightAxis()->SetZPosition(-3);
       }},
  };
  // Deep enough that a few percent of the depth are pixels.
  std::vector<TCase> Deep;
  for (const TCase& Case : Cases)
    Deep.push_back({Case.Name, [Build = Case.Build](TChart* C) {
                      C->SetChart3DPercent(80);
                      Build(C);
                    }});
  ExpectReadBackTheSame(Deep, [](TChart* A, TChart* B) {
    ASSERT_EQ(A->GetAxes()->GetCount(), B->GetAxes()->GetCount());
    for (std::int32_t I = 0; I < A->GetAxes()->GetCount(); ++I)
      EXPECT_EQ(A->GetAxes()->Get(I)->GetZPosition(), B->GetAxes()->Get(I)->GetZPosition()) << "axis " << I;
  });
}

// A function's series takes its source's date-time flags when it calculates, as it does when
// read: a flag turned on the source after the function was hooked is taken too, and the axes
// it is on show dates (or numbers) as they do read back.
TEST(StoredAxes, FunctionSeriesFollowTheirSourcesDateTime) {
  struct TFed {
    TChartSeries* Source;
    TChartSeries* Out;
  };
  // Out fed by Source through a smoothing function.
  auto Smooth = [](TChart* C, TChartSeries* Source, const String& Name, const String& FunctionName) {
    auto* Out = AddToChart<TFastLineSeries>(C, Name);
    auto* F = Create<TSmoothingFunction>(C);
    F->SetName(FunctionName);
    Out->SetFunction(F);
    Out->SetDataSource(Source);
    return Out;
  };
  auto Feed = [&](TChart* C, bool SourceDates) {
    auto* S = AddSeries<TAreaSeries>(C, "Series1", 8, 4);
    S->GetYValues()->SetDateTime(SourceDates);
    return TFed{S, Smooth(C, S, "Series2", "Function1")};
  };
  const std::vector<TCase> Cases = {
      {"y turned date-time on both vertical axes", [&](TChart* C) {
         TFed F = Feed(C, false);
         F.Out->SetVertAxis(TVertAxis::aBothVertAxis);
         F.Source->GetYValues()->SetDateTime(true);
       }},
      {"y turned date-time on the left axis", [&](TChart* C) {
         TFed F = Feed(C, false);
         F.Source->GetYValues()->SetDateTime(true);
       }},
      {"y turned back to numbers", [&](TChart* C) {
         TFed F = Feed(C, true);
         F.Out->SetVertAxis(TVertAxis::aRightAxis);
         F.Source->GetYValues()->SetDateTime(false);
       }},
      {"x turned date-time", [&](TChart* C) {
         TFed F = Feed(C, false);
         F.Out->SetHorizAxis(THorizAxis::aTopAxis);
         F.Source->GetXValues()->SetDateTime(true);
       }},
      {"a function fed by a function", [&](TChart* C) {
         TFed F = Feed(C, false);
         auto* Last = Smooth(C, F.Out, "Series3", "Function2");
         Last->SetVertAxis(TVertAxis::aRightAxis);
         F.Source->GetYValues()->SetDateTime(true);
       }},
  };
  ExpectReadBackTheSame(Cases, [](TChart* A, TChart* B) {
    ASSERT_EQ(A->SeriesCount(), B->SeriesCount());
    for (std::int32_t I = 0; I < A->SeriesCount(); ++I) {
      EXPECT_EQ(A->GetSeries(I)->GetXValues()->GetDateTime(), B->GetSeries(I)->GetXValues()->GetDateTime()) << I;
      EXPECT_EQ(A->GetSeries(I)->GetYValues()->GetDateTime(), B->GetSeries(I)->GetYValues()->GetDateTime()) << I;
    }
  });
}

// An axis title reads outwards across a vertical axis: moved to the other side (or turned) after
// its title was made, the axis turns the title too, as a title made on the new side is; an angle
// the program gave stays. Read back, each chart writes and paints the same.
TEST(StoredAxes, ATitleTurnsWithItsAxisUnlessGivenAnAngle) {
  struct TCase {
    const char* Name;
    std::function<TChartAxis*(TChart*)> Build;
    std::int32_t Angle;
  };
  const std::vector<TCase> Cases = {
      {"left axis moved to the right",
       [](TChart* C) {
         TChartAxis* A = C->GetLeftAxis();
         A->GetTitle()->SetText("Volts");
         A->SetOtherSide(true);
         return A;
       },
       270},
      {"custom axis moved to the right",
       [](TChart* C) {
         TChartAxis* A = C->GetCustomAxes()->Add();
         A->SetHorizontal(false);
         C->GetSeries(0)->SetCustomVertAxis(A);
         A->GetTitle()->SetText("Amps");
         A->SetOtherSide(true);
         return A;
       },
       270},
      {"left axis with an angle given, moved to the right",
       [](TChart* C) {
         TChartAxis* A = C->GetLeftAxis();
         A->GetTitle()->SetText("Volts");
         A->GetTitle()->SetGivenAngle(90);
         A->SetOtherSide(true);
         return A;
       },
       90},
      {"custom axis turned vertical",
       [](TChart* C) {
         TChartAxis* A = C->GetCustomAxes()->Add();
         A->SetHorizontal(true);
         C->GetSeries(0)->SetCustomHorizAxis(A);
         A->GetTitle()->SetText("Seconds");
         A->SetHorizontal(false);
         return A;
       },
       90},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    ExpectComesBackOnAFreshForm([&](TChart* C) { EXPECT_EQ(Case.Build(C)->GetTitle()->GetAngle(), Case.Angle); });
  }
}

}  // namespace
}  // namespace zel::testing
