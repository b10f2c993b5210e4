// Palette tables, palette names and applying a palette to a chart.
#include <gtest/gtest.h>

#include <set>

#include "platform/StringList.h"
#include "zelgraph/chart/Palettes.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {
namespace {

// A chart panel that counts repaint requests; a palette colour is free when no other series has it.
class TPalettePanel : public TCustomAxisPanel {
 public:
  using TCustomAxisPanel::TCustomAxisPanel;
  void Invalidate() override { ++Invalidates; }
  bool IsFreeSeriesColor(TAlphaColor AColor, bool, TChartSeries* Series) override {
    for (std::int32_t I = 0; I < SeriesCount(); ++I) {
      auto* S = dynamic_cast<TChartSeries*>(GetSeries(I));
      if (S && S != Series && S->GetSeriesColor() == AColor) return false;
    }
    return true;
  }
  int Invalidates = 0;
};

// A chart control keeps the index of the palette applied to it.
class TPaletteChart : public TPalettePanel, public IColorPaletteIndexStore {
 public:
  using TPalettePanel::TPalettePanel;
  void StoreColorPaletteIndex(std::int32_t Index) override { StoredIndex = Index; }
  std::int32_t StoredIndex = -100;
};

TEST(Palettes, TablesReadAsChartColours) {
  struct Case {
    int Index;
    std::size_t Count;
    TAlphaColor First;
    TAlphaColor Last;
  };
  const Case Cases[] = {
      {13, 12, 0xFF4466A3, 0xFFB4B4B4},  // stored 0x00A36644: red and blue exchanged, opaque
      {1, 22, 0xFF9999FF, 0xFFFF99CC},
      {4, 8, 0xFF0000FF, 0xFFFFFFFF},
      {8, 25, 0xFF990000, 0xFFCC00FF},
      {16, 4, 0xFFC8E65A, 0xFFE6A00F},
      {21, 12, 0xFFDC5C05, 0xFFFFF5C3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Index);
    const std::vector<TAlphaColor> P = TColorPalettes::GetPalette(C.Index);
    ASSERT_EQ(P.size(), C.Count);
    EXPECT_EQ(P.front(), C.First);
    EXPECT_EQ(P.back(), C.Last);
  }
}

TEST(Palettes, IndexesWithoutATableGiveNoColours) {
  std::vector<TAlphaColor> P{1, 2, 3};
  for (int Index : {0, -1, -2, 22, 1000}) {
    SCOPED_TRACE(Index);
    TColorPalettes::GetPalette(Index, P);
    EXPECT_TRUE(P.empty());
  }
}

TEST(Palettes, EveryNamedIndexAboveZeroHasAnOpaqueTable) {
  for (int Index = 1; Index <= ZelMaxPaletteIndex; ++Index) {
    SCOPED_TRACE(Index);
    const std::vector<TAlphaColor> P = TColorPalettes::GetPalette(Index);
    ASSERT_FALSE(P.empty());
    for (TAlphaColor C : P) EXPECT_EQ(C >> 24, 0xFFu);
  }
}

TEST(Palettes, NamesInIndexOrder) {
  TOwned<TStringList> Items(Create<TStringList>());
  TColorPalettes::AddTo(Items.get(), true);
  ASSERT_EQ(Items->GetCount(), 23);
  EXPECT_EQ((*Items)[0], "Default");
  EXPECT_EQ((*Items)[1], "Zelgraph");
  EXPECT_EQ((*Items)[14], "Opera");
  EXPECT_EQ((*Items)[17], "BlackIsBack");
  EXPECT_EQ((*Items)[22], "Seawash");

  Items->Clear();
  TColorPalettes::AddTo(Items.get(), false);
  ASSERT_EQ(Items->GetCount(), ZelPaletteCount);
  EXPECT_EQ((*Items)[13], "Opera");
  // The global list holds the same names once the chart unit has started.
  ASSERT_NE(ColorPalettes, nullptr);
  ASSERT_EQ(ColorPalettes->GetCount(), ZelPaletteCount);
  for (int I = 0; I < ZelPaletteCount; ++I) EXPECT_EQ((*ColorPalettes)[I], (*Items)[I]);
}

class PaletteChartFixture : public ::testing::Test {
 protected:
  void SetUp() override { Chart.reset(Create<TPaletteChart>(nullptr)); }
  TChartSeries* AddSeries() {
    auto* S = Create<TChartSeries>(nullptr);
    Chart->AddSeries(S);
    return S;
  }
  TOwned<TPaletteChart> Chart;
};

TEST_F(PaletteChartFixture, NamedPaletteRecoloursDefaultColouredSeries) {
  TChartSeries* A = AddSeries();
  TChartSeries* B = AddSeries();
  TChartSeries* Fixed = AddSeries();
  Fixed->SetSeriesColor(0xFF123456);
  TColorPalettes::ApplyPalette(Chart.get(), 4);

  const std::vector<TAlphaColor> Solid = TColorPalettes::GetPalette(4);
  EXPECT_EQ(Chart->ColorPalette, Solid);
  const std::set<TAlphaColor> SolidSet(Solid.begin(), Solid.end());
  EXPECT_TRUE(SolidSet.count(A->GetSeriesColor()));
  EXPECT_TRUE(SolidSet.count(B->GetSeriesColor()));
  EXPECT_NE(A->GetSeriesColor(), B->GetSeriesColor());
  EXPECT_EQ(Fixed->GetSeriesColor(), 0xFF123456u);
  EXPECT_EQ(Chart->StoredIndex, 4);
  EXPECT_GE(Chart->Invalidates, 1);
}

TEST_F(PaletteChartFixture, IndexZeroReturnsToTheLibraryPalette) {
  TChartSeries* A = AddSeries();
  TColorPalettes::ApplyPalette(Chart.get(), 13);
  EXPECT_EQ(A->GetSeriesColor(), 0xFF4466A3u);
  TColorPalettes::ApplyPalette(Chart.get(), 0);
  EXPECT_TRUE(Chart->ColorPalette.empty());
  EXPECT_EQ(Chart->StoredIndex, 0);
  EXPECT_EQ(A->GetSeriesColor(), ZelColorPalette.front());
}

TEST_F(PaletteChartFixture, ColoursUpToTheHighIndex) {
  const TAlphaColor Colors[] = {0xFF010203, 0xFF040506, 0xFF070809};
  TColorPalettes::ApplyPalette(Chart.get(), Colors, 1);
  EXPECT_EQ(Chart->ColorPalette, (std::vector<TAlphaColor>{0xFF010203, 0xFF040506}));
  // The chart's own palette as the source.
  TColorPalettes::ApplyPalette(Chart.get(), Chart->ColorPalette, 0);
  EXPECT_EQ(Chart->ColorPalette, (std::vector<TAlphaColor>{0xFF010203}));
  TColorPalettes::ApplyPalette(Chart.get(), Colors, -1);
  EXPECT_TRUE(Chart->ColorPalette.empty());
}

TEST_F(PaletteChartFixture, HighIndexOutsideThePaletteIsRefused) {
  const TAlphaColor Colors[] = {0xFF010203, 0xFF040506};
  TColorPalettes::ApplyPalette(Chart.get(), Colors, 1);
  for (int HighIndex : {2, 50, -2}) {
    SCOPED_TRACE(HighIndex);
    EXPECT_THROW(TColorPalettes::ApplyPalette(Chart.get(), Colors, HighIndex), ERangeError);
    EXPECT_EQ(Chart->ColorPalette.size(), 2u);
  }
}

TEST(Palettes, PanelThatIsNotAChartKeepsNoIndex) {
  TOwned<TPalettePanel> Panel(Create<TPalettePanel>(nullptr));
  TColorPalettes::ApplyPalette(Panel.get(), 2);
  EXPECT_EQ(Panel->ColorPalette.size(), 11u);
  EXPECT_EQ(Panel->Invalidates, 1);
  TColorPalettes::ApplyPalette(nullptr, 2);  // no chart: nothing to do
}

}  // namespace
}  // namespace zel
