// Whole charts written as component streams and read back into fresh charts.
#include <gtest/gtest.h>

#include "platform/ObjectText.h"
#include "platform/Streams.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"

namespace zel::testing {
namespace {

std::vector<Byte> Store(TComponent* C) {
  TMemoryStream S;
  S.WriteComponent(C);
  return S.GetBytes();
}

String AsText(const std::vector<Byte>& B) {
  TMemoryStream In, Out;
  In.WriteBuffer(B.data(), static_cast<Int64>(B.size()));
  In.SetPosition(0);
  ObjectBinaryToText(&In, &Out);
  return String(Out.GetBytes().begin(), Out.GetBytes().end());
}

TEST(ChartStream, ChartWithSeriesAxesLegendAndTitleReadsBackToTheSameBytes) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  A->GetTitle()->GetLines()->Add("Voltage");
  A->GetLegend()->SetVisible(false);
  A->GetLeftAxis()->SetAutomatic(false);
  A->GetLeftAxis()->SetMinimum(-5);
  A->GetLeftAxis()->SetMaximum(5);
  A->GetBottomAxis()->GetGrid()->SetColor(0xFF112233);
  A->SetBevelOuter(TPanelBevel::bvNone);
  A->GetBottomWall()->SetSize(6);
  A->GetRightWall()->SetColor(0xFF445566);
  TChartAxis* Custom = A->GetCustomAxes()->Get(A->GetCustomAxes()->Add()->GetIndex());
  Custom->SetHorizontal(false);
  Custom->SetPositionPercent(20);
  Custom->SetStartPosition(50);
  for (const char* Name : {"Series1", "Series2"}) {
    auto* S = Create<TFastLineSeries>(A.get());
    S->SetName(Name);
    S->SetParentChart(A.get());
    S->SetTitle(String("channel ") + Name);
    S->SetSeriesColor(0xFF0000FF);
  }
  auto* Second = dynamic_cast<TFastLineSeries*>(A->GetComponent(1));
  Second->SetStairs(true);
  Second->GetLinePen()->SetWidth(2.5f);
  Second->SetVertAxis(TVertAxis::aRightAxis);

  const std::vector<Byte> First = Store(A.get());
  TOwned<TChart> B(Create<TChart>(nullptr));
  TMemoryStream In;
  In.WriteBuffer(First.data(), static_cast<Int64>(First.size()));
  In.SetPosition(0);
  In.ReadComponent(B.get());
  EXPECT_EQ(Store(B.get()), First) << AsText(First) << "\n---\n" << AsText(Store(B.get()));

  EXPECT_EQ(B->GetName(), "Chart1");
  ASSERT_EQ(B->GetSeriesList()->GetCount(), 2);
  auto* S2 = dynamic_cast<TFastLineSeries*>(B->GetSeriesList()->Get(1));
  ASSERT_NE(S2, nullptr);
  EXPECT_EQ(S2->GetParentChart(), B.get());
  EXPECT_EQ(S2->GetTitle(), "channel Series2");
  EXPECT_TRUE(S2->GetStairs());
  EXPECT_FLOAT_EQ(S2->GetLinePen()->GetWidth(), 2.5f);
  EXPECT_EQ(S2->GetVertAxis(), TVertAxis::aRightAxis);
  EXPECT_EQ(B->GetTitle()->GetCaption(), "Voltage");
  EXPECT_FALSE(B->GetLegend()->GetVisible());
  EXPECT_DOUBLE_EQ(B->GetLeftAxis()->GetMinimum(), -5);
  EXPECT_DOUBLE_EQ(B->GetLeftAxis()->GetMaximum(), 5);
  ASSERT_EQ(B->GetCustomAxes()->GetCount(), 1);
  EXPECT_DOUBLE_EQ(B->GetCustomAxes()->Get(0)->GetPositionPercent(), 20);
  EXPECT_EQ(B->GetBevelOuter(), TPanelBevel::bvNone);
  EXPECT_EQ(B->GetBottomWall()->GetSize(), 6);
  EXPECT_EQ(B->GetRightWall()->GetColor(), 0xFF445566u);
  EXPECT_FALSE(B->IsLoading());
  EXPECT_TRUE(B->GetAutoRepaint());
}

TEST(ChartStream, ADefaultChartWritesLittleMoreThanItsClassAndName) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  const String Text = AsText(Store(A.get()));
  // Only what differs from the recorded defaults; no pen, axis or legend line.
  EXPECT_EQ(Text.find("Axis."), String::npos) << Text;
  EXPECT_EQ(Text.find("Legend."), String::npos) << Text;
  EXPECT_EQ(Text.find("Wall"), String::npos) << Text;
  EXPECT_EQ(Text.find("Bevel"), String::npos) << Text;
  EXPECT_EQ(Text.find("Title"), String::npos) << "titles are not created by writing\n" << Text;
  EXPECT_EQ(A->ExistingTitle(), nullptr);
}

TEST(ChartStream, TextFormOfAChartConvertsBackByteForByte) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  A->GetTitle()->GetLines()->Add("It's \"quoted\"");
  auto* S = Create<TFastLineSeries>(A.get());
  S->SetName("Series1");
  S->SetParentChart(A.get());
  const std::vector<Byte> B = Store(A.get());
  const String T = AsText(B);
  TMemoryStream In, Out;
  In.WriteBuffer(T.data(), static_cast<Int64>(T.size()));
  In.SetPosition(0);
  ObjectTextToBinary(&In, &Out);
  EXPECT_EQ(Out.GetBytes(), B) << T;
}

TEST(ChartStream, AFailedReadLeavesTheChartUsableAndRepainting) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  auto* S = Create<TFastLineSeries>(A.get());
  S->SetName("Series1");
  S->SetParentChart(A.get());
  std::vector<Byte> B = Store(A.get());
  B.resize(B.size() - 3);
  TOwned<TChart> Into(Create<TChart>(nullptr));
  TMemoryStream In;
  In.WriteBuffer(B.data(), static_cast<Int64>(B.size()));
  In.SetPosition(0);
  EXPECT_THROW(In.ReadComponent(Into.get()), EReadError);
  EXPECT_EQ(Into->GetSeriesList()->GetCount(), 0) << "the series read so far is freed";
  EXPECT_TRUE(Into->GetAutoRepaint());
  EXPECT_FALSE(Into->IsLoading());
}

}  // namespace
}  // namespace zel::testing
