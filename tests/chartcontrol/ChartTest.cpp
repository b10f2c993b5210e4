// The chart control itself: palette index, stored properties, series order and axis names.
#include <gtest/gtest.h>

#include "platform/Filer.h"
#include "platform/Streams.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/chart/Palettes.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/procs/Procs.h"

namespace zel::testing {
namespace {

class ChartTest : public ChartFixture {};

std::vector<Byte> StoreOf(TCustomChart* C) {
  TMemoryStream S;
  TWriter W(&S);
  W.WriteProperties(C);
  W.WriteListEnd();
  return S.GetBytes();
}

void Load(TCustomChart* C, const std::vector<Byte>& Bytes) {
  TMemoryStream S;
  S.Write(Bytes.data(), static_cast<Int64>(Bytes.size()));
  S.SetPosition(0);
  TReader R(&S);
  R.ReadProperties(C);
  R.ReadListEnd();
}

bool Contains(const std::vector<Byte>& Bytes, const String& Text) {
  return String(Bytes.begin(), Bytes.end()).find(Text) != String::npos;
}

TEST_F(ChartTest, NewChartTakesTheOptionsPalette) {
  // No options file names a palette here, so the default one is in use.
  EXPECT_EQ(Chart->GetColorPaletteIndex(), ZelReadIntegerOption("DefaultPalette", 13));
  EXPECT_EQ(Chart->ColorPalette, TColorPalettes::GetPalette(Chart->GetColorPaletteIndex()));
  EXPECT_TRUE(Chart->GetRestoredAxisScales());
}

TEST_F(ChartTest, CustomPaletteStartsAsACopyOfWhatIsInUse) {
  Chart->SetColorPaletteIndex(13);
  Chart->SetColorPaletteIndex(-2);
  EXPECT_EQ(Chart->GetColorPaletteIndex(), -2);
  EXPECT_EQ(Chart->ColorPalette, TColorPalettes::GetPalette(13));
  EXPECT_EQ(Chart->ColorPalette.size(), 12u);

  Chart->SetColorPaletteIndex(0);
  EXPECT_TRUE(Chart->ColorPalette.empty());
  Chart->SetColorPaletteIndex(-2);
  EXPECT_EQ(Chart->ColorPalette, ZelColorPalette);
}

TEST_F(ChartTest, SettingTheSameIndexChangesNothing) {
  Chart->SetColorPaletteIndex(5);
  Series->SetSeriesColor(0xFF123456);
  const std::vector<TAlphaColor> Custom = {0xFF010203};
  Chart->ColorPalette = Custom;
  Chart->SetColorPaletteIndex(5);
  EXPECT_EQ(Chart->ColorPalette, Custom);
  EXPECT_EQ(Series->GetSeriesColor(), 0xFF123456u);
}

TEST_F(ChartTest, PaletteChangeRecoloursSeriesWithTheDefaultColour) {
  Chart->SetColorPaletteIndex(1);
  const TAlphaColor First = Series->GetSeriesColor();
  EXPECT_EQ(First, TColorPalettes::GetPalette(1)[0]);
  Chart->SetColorPaletteIndex(2);
  EXPECT_EQ(Series->GetSeriesColor(), TColorPalettes::GetPalette(2)[0]);
}

TEST_F(ChartTest, PaletteIndexAndListRoundTrip) {
  struct Case {
    std::int32_t Index;
    std::vector<TAlphaColor> Custom;  // for -2
    bool IndexStored, ListStored;
  };
  const Case Cases[] = {
      {13, {}, true, false},
      {0, {}, true, false},
      {-1, {}, true, false},
      {-2, {0xFF102030, 0x80FFFFFF, 0x00000000}, true, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Index);
    TOwned<TChart> A(Create<TChart>(nullptr));
    A->SetColorPaletteIndex(C.Index);
    if (C.Index == -2) A->ColorPalette = C.Custom;
    const std::vector<Byte> Bytes = StoreOf(A.get());
    EXPECT_EQ(Contains(Bytes, "ColorPaletteIndex"), C.IndexStored);
    EXPECT_EQ(Contains(Bytes, String("\x0c") + "ColorPalette"), C.ListStored);
    EXPECT_FALSE(Contains(Bytes, "BackColor"));

    TOwned<TChart> B(Create<TChart>(nullptr));
    B->SetColorPaletteIndex(7);
    Load(B.get(), Bytes);
    if (C.IndexStored) {
      EXPECT_EQ(B->GetColorPaletteIndex(), C.Index);
      if (C.Index == -2) {
        EXPECT_EQ(B->ColorPalette, C.Custom);
      }
    }
    EXPECT_EQ(StoreOf(B.get()), Bytes);
  }
}

TEST_F(ChartTest, StoredIndexIsComparedWithTheAncestor) {
  TOwned<TChart> Ancestor(Create<TChart>(nullptr));
  Ancestor->SetColorPaletteIndex(4);
  struct Case {
    std::int32_t Index;
    bool Stored;
  };
  for (const Case C : {Case{4, false}, Case{5, true}, Case{-1, true}}) {
    TOwned<TChart> A(Create<TChart>(nullptr));
    A->SetColorPaletteIndex(C.Index);
    TMemoryStream S;
    TWriter W(&S);
    W.SetAncestor(Ancestor.get());
    W.WriteProperties(A.get());
    EXPECT_EQ(Contains(S.GetBytes(), "ColorPaletteIndex"), C.Stored) << C.Index;
  }
}

TEST_F(ChartTest, EmptyStoredListLeavesNoPalette) {
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WritePropName("ColorPaletteIndex");
    W.WriteInteger(-2);
    W.WritePropName("ColorPalette");
    W.WriteListBegin();
    W.WriteListEnd();
    W.WriteListEnd();
  }
  TOwned<TChart> B(Create<TChart>(nullptr));
  Load(B.get(), S.GetBytes());
  EXPECT_EQ(B->GetColorPaletteIndex(), -1);
  EXPECT_TRUE(B->ColorPalette.empty());
}

TEST_F(ChartTest, BadStoredValuesRaiseAndLeaveThePaletteAlone) {
  struct Case {
    const char* Name;
    std::function<void(TWriter&)> Value;
  };
  const Case Cases[] = {
      {"ColorPalette", [](TWriter& W) { W.WriteListBegin(); W.WriteInteger(5); W.WriteString("x"); W.WriteListEnd(); }},
      {"ColorPalette", [](TWriter& W) { W.WriteListBegin(); W.WriteInteger(5); }},  // the stream ends
      {"ColorPaletteIndex", [](TWriter& W) { W.WriteString("13"); }},
      {"BackColor", [](TWriter& W) { W.WriteIdent("clNoSuchColour"); }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMemoryStream S;
    {
      TWriter W(&S);
      W.WritePropName(C.Name);
      C.Value(W);
    }
    TOwned<TChart> B(Create<TChart>(nullptr));
    const std::vector<TAlphaColor> Before = B->ColorPalette;
    EXPECT_THROW(Load(B.get(), S.GetBytes()), EReadError);
    EXPECT_EQ(B->ColorPalette, Before);
  }
}

TEST_F(ChartTest, HugeStoredIndexIsAcceptedWithoutAPalette) {
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WritePropName("ColorPaletteIndex");
    W.WriteInteger(Int64(1) << 40);
    W.WriteListEnd();
  }
  TOwned<TChart> B(Create<TChart>(nullptr));
  Load(B.get(), S.GetBytes());
  EXPECT_EQ(B->GetColorPaletteIndex(), std::numeric_limits<std::int32_t>::max());
  EXPECT_TRUE(B->ColorPalette.empty());
}

TEST_F(ChartTest, SeriesUpAndDownStopAtTheEnds) {
  TPointSeries* Second = AddSeries({1}, {1});
  Chart->SeriesUp(Series);
  Chart->SeriesDown(Second);
  EXPECT_EQ(Chart->GetSeries(0), Series);
  EXPECT_EQ(Chart->GetSeries(1), Second);
  Chart->SeriesDown(Series);
  EXPECT_EQ(Chart->GetSeries(0), Second);
  Chart->SeriesUp(Series);
  EXPECT_EQ(Chart->GetSeries(0), Series);
}

TEST_F(ChartTest, FirstActiveSeriesAndRemovingAll) {
  TPointSeries* Second = AddSeries({1}, {1});
  Series->SetActive(false);
  EXPECT_EQ(Chart->GetASeries(), Second);
  Second->SetActive(false);
  EXPECT_EQ(Chart->GetASeries(), nullptr);
  Chart->RemoveAllSeries();
  EXPECT_EQ(Chart->SeriesCount(), 0);
  // Removed series are not freed: they can join again.
  Chart->AddSeries(Series);
  Chart->AddSeries(Second);
  EXPECT_EQ(Chart->SeriesCount(), 2);
}

TEST_F(ChartTest, AxisNamesComeFromTitlesOrPositions) {
  struct Case {
    TChartAxis* Axis;
    const String* Name;
  };
  const Case Cases[] = {
      {Chart->GetLeftAxis(), &ZelMsg_LeftAxis},       {Chart->GetRightAxis(), &ZelMsg_RightAxis},
      {Chart->GetTopAxis(), &ZelMsg_TopAxis},         {Chart->GetBottomAxis(), &ZelMsg_BottomAxis},
      {Chart->GetDepthAxis(), &ZelMsg_DepthAxis},     {Chart->GetDepthTopAxis(), &ZelMsg_DepthTopAxis},
  };
  for (const Case& C : Cases) EXPECT_EQ(Chart->AxisTitleOrName(C.Axis), *C.Name);
  Chart->GetLeftAxis()->GetTitle()->SetCaption("Volts");
  EXPECT_EQ(Chart->AxisTitleOrName(Chart->GetLeftAxis()), "Volts");
}

TEST_F(ChartTest, ClearChartFreesSeriesAndToolsAndRestoresDefaults) {
  AddTool();
  Chart->SetColorPaletteIndex(3);
  Chart->GetBottomAxis()->SetMinMax(2, 3);
  Chart->SetAxisVisible(false);
  Chart->ClearChart();
  EXPECT_EQ(Chart->SeriesCount(), 0);
  EXPECT_EQ(Chart->GetTools()->GetCount(), 0);
  EXPECT_TRUE(Chart->GetBottomAxis()->GetAutomatic());
  EXPECT_TRUE(Chart->GetAxisVisible());
  EXPECT_EQ(Chart->GetColorPaletteIndex(), ZelReadIntegerOption("DefaultPalette", 13));
  Series = nullptr;  // freed with the chart's series
}

TEST_F(ChartTest, AssignCopiesThePaletteIndex) {
  TOwned<TChart> B(Create<TChart>(nullptr));
  Chart->SetColorPaletteIndex(6);
  B->Assign(Chart);
  EXPECT_EQ(B->GetColorPaletteIndex(), 6);
  EXPECT_EQ(B->ColorPalette, TColorPalettes::GetPalette(6));
}

TEST_F(ChartTest, ChildrenAreSeriesThenToolsThenAnimations) {
  TCountTool* T = AddTool();
  std::vector<TComponent*> Got;
  Chart->GetChildren([&](TComponent* C) { Got.push_back(C); }, nullptr);
  const std::vector<TComponent*> Want = {Series, T};
  EXPECT_EQ(Got, Want);
}

// The 3D editor's window class is asked of the chart; a kind of chart may name one.
TEST_F(ChartTest, ThreeDimensionalEditorClassIsAskedOfTheChart) {
  TCustomChart* C = Chart;
  EXPECT_EQ(C->Form3DClass(), nullptr);
  class TChartWithEditor : public TChart {
   public:
    using TChart::TChart;
    const TClass* Form3DClass() const override { return TChart::StaticClass(); }
  };
  TOwned<TChartWithEditor> Own(Create<TChartWithEditor>(nullptr));
  C = Own.get();
  EXPECT_EQ(C->Form3DClass(), TChart::StaticClass());
}

}  // namespace
}  // namespace zel::testing
