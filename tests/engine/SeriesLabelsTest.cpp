#include <gtest/gtest.h>

#include <vector>

#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Engine.h"

namespace zel {
namespace {

struct LabelsFixture : testing::Test {
  void SetUp() override { S = Create<TChartSeries>(nullptr); }
  void TearDown() override { S->Free(); }
  TChartSeries* S = nullptr;
};

TEST_F(LabelsFixture, SortByLabelsMovesWholePoints) {
  struct Case {
    const char* Name;
    TChartListOrder Order;
    bool CaseSensitive;
    std::vector<String> Labels;
    std::vector<String> Expected;
  };
  const std::vector<Case> Cases = {
      {"ascending", TChartListOrder::loAscending, false, {"c", "a", "b"}, {"a", "b", "c"}},
      {"descending", TChartListOrder::loDescending, false, {"c", "a", "b"}, {"c", "b", "a"}},
      {"case-sensitive lists compare by code, capitals first", TChartListOrder::loAscending, true, {"b", "C", "a"},
       {"C", "a", "b"}},
      {"other lists ignore case", TChartListOrder::loAscending, false, {"b", "C", "a"}, {"a", "b", "C"}},
      {"other lists ignore case, descending", TChartListOrder::loDescending, false, {"b", "C", "a"}, {"C", "b", "a"}},
      {"no order leaves them", TChartListOrder::loNone, false, {"c", "a"}, {"c", "a"}},
  };
  for (const Case& C : Cases) {
    S->Clear();
    S->GetLabels()->SetCaseSensitive(C.CaseSensitive);
    for (std::size_t I = 0; I < C.Labels.size(); ++I)
      S->AddXY(static_cast<double>(I) * 10, static_cast<double>(C.Labels[I][0]), C.Labels[I],
               0xFF000000u + static_cast<TAlphaColor>(C.Labels[I][0]));
    S->SortByLabels(C.Order);
    for (std::size_t I = 0; I < C.Expected.size(); ++I) {
      const auto J = static_cast<std::int32_t>(I);
      EXPECT_EQ(S->GetXLabel(J), C.Expected[I]) << C.Name;
      // The value and the colour travelled with their label.
      EXPECT_EQ(S->GetyValue(J), static_cast<double>(C.Expected[I][0])) << C.Name;
      EXPECT_EQ(S->InternalColor(J), 0xFF000000u + static_cast<TAlphaColor>(C.Expected[I][0])) << C.Name;
      if (C.Order != TChartListOrder::loNone) {
        EXPECT_EQ(S->GetxValue(J), J) << C.Name;
      }
    }
  }
}

TEST_F(LabelsFixture, SortByLabelsRefillsDependentsOnce) {
  TChartSeries* D = Create<TChartSeries>(nullptr);
  D->SetDataSource(S);
  int Refreshed = 0;
  D->OnClearValues = [&](TChartSeries*) { ++Refreshed; };  // every refill starts by clearing
  for (const char* L : {"e", "d", "c", "b", "a"}) S->AddXY(S->Count(), 1, L);
  Refreshed = 0;
  S->SortByLabels(TChartListOrder::loAscending);
  EXPECT_EQ(Refreshed, 1);
  ASSERT_EQ(D->Count(), 5);
  EXPECT_EQ(D->GetXLabel(0), "a");
  D->Free();
}

TEST_F(LabelsFixture, IndexOfLabel) {
  S->AddXY(0, 0, "AB");
  S->AddXY(1, 0, "cd");
  EXPECT_EQ(S->GetLabels()->IndexOfLabel("ab", true), -1);
  EXPECT_EQ(S->GetLabels()->IndexOfLabel("ab", false), 0);
  EXPECT_EQ(S->GetLabels()->IndexOfLabel("CD", false), 1);
  EXPECT_EQ(S->GetLabels()->IndexOfLabel("x", false), -1);
}

TEST_F(LabelsFixture, SampleValues) {
  S->FillSampleValues(0);
  EXPECT_EQ(S->Count(), 25);
  EXPECT_FALSE(S->ManualData);
  for (std::int32_t I = 0; I < S->Count(); ++I) {
    EXPECT_EQ(S->GetxValue(I), I);
    EXPECT_GE(S->GetyValue(I), 0);
  }
  S->FillSampleValues(7);
  EXPECT_EQ(S->Count(), 7);
  try {
    S->FillSampleValues(-1);
    FAIL() << "expected ChartException";
  } catch (const ChartException& E) {
    EXPECT_STREQ(E.what(), "FillSampleValues NumValues must be > 0");
  }
  EXPECT_EQ(S->Count(), 7);

  S->GetXValues()->SetDateTime(true);
  S->FillSampleValues(3);
  EXPECT_EQ(S->GetxValue(0), Date());
  EXPECT_EQ(S->GetxValue(2), Date() + 2);
}

TEST_F(LabelsFixture, CheckOrderSortsOrderedLists) {
  S->GetXValues()->SetOrder(TChartListOrder::loNone);
  S->AddXY(3, 1);
  S->AddXY(1, 2);
  S->AddXY(2, 3);
  S->GetXValues()->SetOrder(TChartListOrder::loAscending);
  S->CheckOrder();
  EXPECT_EQ(S->GetxValue(0), 1);
  EXPECT_EQ(S->GetyValue(0), 2);
  EXPECT_EQ(S->GetxValue(2), 3);
}


// A visual block that remembers which point it was made for.
class TTestBlock : public TVisualBlock {
  ZEL_CLASS(TTestBlock, TVisualBlock)
 public:
  using TVisualBlock::TVisualBlock;
  void Repaint() override {}
  void Editor() override {}
};
ZEL_DEFINE_COMPONENT_CLASS(TTestBlock, TVisualBlock)

TEST_F(LabelsFixture, VisualBlocksFollowTheirPoints) {
  S->AddXY(0, 0, "c");
  S->AddXY(1, 0, "a");
  S->AddXY(2, 0, "b");
  TVisualsList* V = S->GetVisuals();
  EXPECT_EQ(V->GetVisual(0), nullptr);  // no template, nothing made
  auto* Template = Create<TTestBlock>(nullptr);
  V->SetTemplate(Template);
  TVisualBlock* C = V->GetVisual(0);
  ASSERT_NE(C, nullptr);
  EXPECT_NE(C, Template);
  EXPECT_EQ(V->GetVisual(0), C);  // made once
  TVisualBlock* B = V->GetVisual(2);
  S->SortByLabels(TChartListOrder::loAscending);  // a, b, c
  EXPECT_EQ(V->ExistingVisual(1), B);
  EXPECT_EQ(V->ExistingVisual(2), C);
  EXPECT_EQ(V->ExistingVisual(0), nullptr);
  S->Delete(1);
  EXPECT_EQ(V->ExistingVisual(1), C);
  Template->Free();  // the list forgets its template
  EXPECT_EQ(V->GetTemplate(), nullptr);
  EXPECT_EQ(V->GetVisual(0), nullptr);
}

}  // namespace
}  // namespace zel
