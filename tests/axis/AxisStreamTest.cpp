// Axes through a write and a read: the depth of custom axes (an axis never holds depth 0, so
// what is read back writes the same bytes again) and the frame and font of the labels.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/SeriesList.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

TEST(AxisStream, CustomAxisDepthsReadBackToTheSameBytesAndValue) {
  struct TCase {
    bool OtherSide;
    bool SetZ;
    double Z;
  };
  const TCase Cases[] = {{false, false, 0}, {true, false, 0}, {false, true, 0},
                         {true, true, 0},   {true, true, 100}, {false, true, 42.5}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "other side " << C.OtherSide << ", set " << C.SetZ << " " << C.Z);
    TOwned<TChart> A(Create<TChart>(nullptr));
    A->SetName("Chart1");
    TChartAxis* Axis = A->GetCustomAxes()->Get(A->GetCustomAxes()->Add()->GetIndex());
    Axis->SetHorizontal(false);
    Axis->SetOtherSide(C.OtherSide);
    if (C.SetZ) Axis->SetZPosition(C.Z);
    EXPECT_NE(Axis->GetZPosition(), 0);
    const std::vector<Byte> First = Store(A.get());

    TOwned<TChart> B(ReadInto(First, A->GetWidth(), A->GetHeight()));
    ASSERT_EQ(B->GetCustomAxes()->GetCount(), 1);
    EXPECT_EQ(B->GetCustomAxes()->Get(0)->GetZPosition(), Axis->GetZPosition());
    EXPECT_EQ(AsText(Store(B.get())), AsText(First));
  }
}

TEST(AxisStream, LabelsFormatTravelsWithItsFontWrittenOnce) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  TAxisLabelsFormat* F = A->GetLeftAxis()->GetLabelsFormat();
  F->SetTransparent(false);
  F->SetColor(0xFFFFF0C0);
  F->GetFrame()->SetVisible(true);
  A->GetLeftAxis()->GetLabelsFont()->SetColor(0xFF800000);
  A->GetLeftAxis()->SetLabels(false);
  const std::vector<Byte> First = Store(A.get());
  const String Text = AsText(First);
  EXPECT_EQ(Text.find("LabelsFont."), String::npos) << "the font is written once, in the format\n" << Text;
  EXPECT_EQ(Text.find("LabelsFormat.Visible"), String::npos) << "the visibility is written as Labels\n" << Text;

  TOwned<TChart> B(ReadInto(First, A->GetWidth(), A->GetHeight()));
  TAxisLabelsFormat* G = B->GetLeftAxis()->GetLabelsFormat();
  EXPECT_FALSE(G->GetTransparent());
  EXPECT_EQ(G->GetColor(), 0xFFFFF0C0u);
  EXPECT_TRUE(G->GetFrame()->GetVisible());
  EXPECT_EQ(B->GetLeftAxis()->GetLabelsFont()->GetColor(), 0xFF800000u);
  EXPECT_FALSE(B->GetLeftAxis()->GetLabels());
  EXPECT_EQ(AsText(Store(B.get())), Text);
}

TEST(AxisStream, TheOldLabelsFontNameIsStillRead) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  String Text = AsText(Store(A.get()));
  Text.insert(Text.find("end\n"), "  LeftAxis.LabelsFont.Color = -8388608\n");
  TOwned<TChart> B(ReadInto(FromText(Text), A->GetWidth(), A->GetHeight()));
  EXPECT_EQ(B->GetLeftAxis()->GetLabelsFont()->GetColor(), 0xFF800000u);
}

TEST(AxisStream, DepthAxesTravelHiddenByDefault) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  EXPECT_EQ(AsText(Store(A.get())).find("Depth"), String::npos) << "hidden depth axes write nothing";
  A->GetDepthAxis()->SetVisible(true);
  A->GetDepthAxis()->SetLabelsAsSeriesTitles(false);
  A->GetDepthTopAxis()->SetInverted(true);
  const std::vector<Byte> First = Store(A.get());
  TOwned<TChart> B(ReadInto(First, A->GetWidth(), A->GetHeight()));
  EXPECT_TRUE(B->GetDepthAxis()->GetVisible());
  EXPECT_FALSE(B->GetDepthAxis()->GetLabelsAsSeriesTitles());
  EXPECT_FALSE(B->GetDepthTopAxis()->GetVisible());
  EXPECT_TRUE(B->GetDepthTopAxis()->GetInverted());
  EXPECT_EQ(AsText(Store(B.get())), AsText(First));
}

// A sub-axis asked to turn logarithmic while its master's ends are refused: the error is raised,
// no axis of the chain stays logarithmic, and the chart still reads back what it writes.
TEST(AxisStream, ARefusedLogarithmicSubAxisStaysLinearAndTheChartReadsBack) {
  struct TCase {
    const char* Name;
    std::function<TChartAxis*(TChart*)> Master;
  };
  const TCase Cases[] = {
      {"depth axis of a fresh chart", [](TChart* C) -> TChartAxis* { return C->GetDepthAxis(); }},
      {"left axis with ends -5..10",
       [](TChart* C) -> TChartAxis* {
         C->GetLeftAxis()->SetMinMax(-5, 10);
         return C->GetLeftAxis();
       }},
      {"sub-axis of the depth axis",
       [](TChart* C) -> TChartAxis* { return C->GetDepthAxis()->GetSubAxes()->Add(); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    ExpectComesBackOnAFreshForm([&](TChart* Chart) {
      TChartAxis* Master = C.Master(Chart);
      TChartAxis* Sub = Master->GetSubAxes()->Add();
      String Error = "no error";
      try {
        Sub->SetLogarithmic(true);
      } catch (const AxisException& E) {
        Error = E.what();
      }
      EXPECT_EQ(Error, ZelMsg_AxisLogNotPositive);
      for (TChartAxis* A = Sub; A; A = A->GetMaster()) EXPECT_FALSE(A->GetLogarithmic());
    });
  }
}

}  // namespace
}  // namespace zel::testing
