// The smoothing function: how many curve points it makes, where they lie, and its settings.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Classes.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/series/Spline.h"

namespace zel {
namespace {

class SmoothingFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Source.reset(Create<TChartSeries>(nullptr));
    Output.reset(Create<TChartSeries>(nullptr));
    Owner.reset(Create<TComponent>(nullptr));
    Smooth = Create<TSmoothingFunction>(Owner.get());
    Smooth->SetParentSeries(Output.get());
  }
  void TearDown() override {
    Output.reset();
    Source.reset();
    Owner.reset();
  }
  void FillSource(int Count) {
    for (int I = 0; I < Count; ++I) Source->AddXY(I, (I * 7) % 5 - 1.5 * (I % 3));
  }
  TOwned<TComponent> Owner;
  TOwned<TChartSeries> Source;
  TOwned<TChartSeries> Output;
  TSmoothingFunction* Smooth = nullptr;
};

TEST_F(SmoothingFixture, CurvePointsPerSourcePoint) {
  struct Case {
    int SourcePoints;
    std::int32_t Factor;
    std::int32_t Expected;
  };
  const Case Cases[] = {
      {10, 4, 41},
      {10, 8, 81},
      {100, 8, 601},  // at most 600 pieces
      {2, 1, 3},
      {5000, 1000000, 601},  // the product of count and factor exceeds 32 bits
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.SourcePoints);
    Source->Clear();
    FillSource(C.SourcePoints);
    Smooth->SetFactor(C.Factor);
    Smooth->AddPoints(Source.get());
    EXPECT_EQ(Output->Count(), C.Expected);
    EXPECT_EQ(Output->GetXValues()->Value[0], 0);
    EXPECT_NEAR(Output->GetXValues()->Value[Output->Count() - 1], C.SourcePoints - 1, 1e-9);
  }
}

TEST_F(SmoothingFixture, InterpolatedCurveMeetsTheSourcePoints) {
  const int N = 10;
  FillSource(N);
  Smooth->SetFactor(9);  // 90 pieces: source point i sits at piece 10 * i
  Smooth->AddPoints(Source.get());
  ASSERT_EQ(Output->Count(), 91);
  for (int I = 0; I < N; ++I) {
    SCOPED_TRACE(I);
    EXPECT_NEAR(Output->GetXValues()->Value[10 * I], I, 1e-9);
    EXPECT_NEAR(Output->GetYValues()->Value[10 * I], Source->GetYValues()->Value[I], 1e-9);
  }
}

TEST_F(SmoothingFixture, WithoutInterpolationInnerPointsAreApproached) {
  for (int I = 0; I < 5; ++I) Source->AddXY(I, I % 2 == 0 ? 0 : 6);
  Smooth->SetInterpolate(false);
  Smooth->SetFactor(1);
  Smooth->AddPoints(Source.get());
  ASSERT_EQ(Output->Count(), 6);
  EXPECT_NEAR(Output->GetYValues()->Value[0], 0, 1e-9);
  EXPECT_NEAR(Output->GetYValues()->Value[5], 0, 1e-9);
  double Highest = 0;
  for (std::int32_t I = 0; I < Output->Count(); ++I) Highest = std::max(Highest, Output->GetYValues()->Value[I]);
  EXPECT_LT(Highest, 6 - 1);
}

// One point has no curve through it: the output is that point, not points at the origin that
// would stretch the axes to 0.
TEST_F(SmoothingFixture, OneSourcePointGivesThatPoint) {
  Source->AddXY(3, 4);
  Smooth->AddPoints(Source.get());
  ASSERT_EQ(Output->Count(), 1);
  EXPECT_EQ(Output->GetXValues()->Value[0], 3);
  EXPECT_EQ(Output->GetYValues()->Value[0], 4);
}

TEST_F(SmoothingFixture, EmptySourceClearsTheOutput) {
  Output->AddXY(1, 1);
  Smooth->AddPoints(Source.get());
  EXPECT_EQ(Output->Count(), 0);
}

TEST_F(SmoothingFixture, SettingsAndDefaults) {
  EXPECT_TRUE(Smooth->GetInterpolate());
  EXPECT_EQ(Smooth->GetFactor(), 4);
  EXPECT_FALSE(Smooth->CanUsePeriod);
  EXPECT_TRUE(Smooth->SingleSource);
  EXPECT_EQ(Smooth->GetPeriod(), 1);
  for (std::int32_t Factor : {0, -3}) {
    Smooth->SetFactor(5);
    Smooth->SetFactor(Factor);
    EXPECT_EQ(Smooth->GetFactor(), 1);
  }
}

TEST_F(SmoothingFixture, OutputListsOrderedAlongTheCurve) {
  FillSource(4);
  Smooth->AddPoints(Source.get());
  EXPECT_EQ(Output->NotMandatoryValueList->GetOrder(), TChartListOrder::loAscending);
  EXPECT_EQ(Output->MandatoryValueList->GetOrder(), TChartListOrder::loNone);
  EXPECT_TRUE(Output->CalcVisiblePoints);
}

// Output lists follow the output's orientation: ordered along the curve when output and source
// lie the same way, else ordered by level and without visible-point calculation.
TEST_F(SmoothingFixture, ListOrdersFollowTheOrientations) {
  struct Case {
    bool SourceVertical;
    TChartListOrder Position;
    TChartListOrder Mandatory;
    bool CalcVisible;
  };
  const Case Cases[] = {
      {true, TChartListOrder::loAscending, TChartListOrder::loNone, true},
      {false, TChartListOrder::loNone, TChartListOrder::loAscending, false},
  };
  FillSource(4);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.SourceVertical);
    Source->YMandatory = C.SourceVertical;
    Smooth->AddPoints(Source.get());
    EXPECT_EQ(Output->NotMandatoryValueList->GetOrder(), C.Position);
    EXPECT_EQ(Output->MandatoryValueList->GetOrder(), C.Mandatory);
    EXPECT_EQ(Output->CalcVisiblePoints, C.CalcVisible);
  }
}

// A chart panel whose palette colours are all free.
class TGalleryPanel : public TCustomAxisPanel {
 public:
  using TCustomAxisPanel::TCustomAxisPanel;
  bool IsFreeSeriesColor(TAlphaColor, bool, TChartSeries*) override { return true; }
};

TEST(SmoothingFunction, GalleryPreviewSmoothsSampleValues) {
  TOwned<TGalleryPanel> Panel(Create<TGalleryPanel>(nullptr));
  auto* Src = Create<TChartSeries>(Panel.get());
  auto* Out = Create<TChartSeries>(Panel.get());
  Panel->AddSeries(Src);
  Panel->AddSeries(Out);
  auto* Smooth = Create<TSmoothingFunction>(Panel.get());
  Smooth->PrepareForGallery(Panel.get());
  EXPECT_EQ(Src->Count(), 10);
  EXPECT_EQ(Out->GetFunction(), Smooth);
  EXPECT_EQ(Smooth->GetFactor(), 8);
  EXPECT_EQ(Out->GetTransparency(), 70);
  EXPECT_EQ(Out->GetPen()->GetWidth(), 10);
  EXPECT_EQ(Out->Count(), 81);
}

// The smoothing function is registered when the library starts.
TEST(SmoothingFunction, RegisteredWhenTheLibraryStarts) {
  const TClass* Smoothing = GetClass("TSmoothingFunction");
  ASSERT_NE(Smoothing, nullptr);
  bool Found = false;
  for (std::int32_t I = 0; I < ZelSeriesTypes->Count(); ++I) {
    const TZelSeriesType* T = ZelSeriesTypes->Get(I);
    if (T->FunctionClass == Smoothing) {
      Found = true;
      EXPECT_EQ(T->SeriesClass, nullptr);
      EXPECT_EQ(*T->Description, "Smoothing");
      EXPECT_EQ(*T->GalleryPage, "Extended");
    }
  }
  EXPECT_TRUE(Found);
}

}  // namespace
}  // namespace zel
