// Whole charts written as component streams and read back into fresh charts.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/ObjectText.h"
#include "platform/Streams.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesList.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/engine/Pointer.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/Spline.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// Reads a stream into a fresh chart of the same size.
TChart* ReadInto(const std::vector<Byte>& Bytes, float Width, float Height) {
  TChart* C = Create<TChart>(nullptr);
  C->SetBounds(0, 0, Width, Height);
  TMemoryStream In;
  In.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  In.SetPosition(0);
  In.ReadComponent(C);
  return C;
}

// Paints both charts into bitmaps of the same size; the first pixel that differs and how many do.
::testing::AssertionResult PaintTheSame(TChart* A, TChart* B) {
  TOwned<TBitmap> PA(PaintToBitmap(A));
  TOwned<TBitmap> PB(PaintToBitmap(B));
  if (PA->GetWidth() != PB->GetWidth() || PA->GetHeight() != PB->GetHeight())
    return ::testing::AssertionFailure() << "bitmaps of different sizes";
  int Differ = 0;
  std::ostringstream First;
  for (int Y = 0; Y < PA->GetHeight(); ++Y)
    for (int X = 0; X < PA->GetWidth(); ++X) {
      const TAlphaColor CA = PA->GetPixel(X, Y), CB = PB->GetPixel(X, Y);
      if (CA == CB) continue;
      if (Differ++ == 0)
        First << "(" << X << ", " << Y << "): " << std::hex << CA << " written, " << CB << " read back";
    }
  if (Differ == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Differ << " pixels differ, the first at " << First.str();
}

TEST(ChartStream, EverySeriesKindWithMarksGradientsShadowsAndPicturesReadsBackToTheSameBytes) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  A->SetBounds(0, 0, 420, 300);
  A->SetView3D(false);
  A->SetColor(0xFFE8E8F0);
  A->SetMarginLeft(5);
  A->GetZoom()->SetDirection(TZelZoomDirection::tzdHorizontal);
  A->GetPanning()->SetInsideBounds(true);
  A->GetGradient()->SetVisible(true);
  A->GetGradient()->SetStartColor(0xFFFFFFFF);
  A->GetGradient()->SetEndColor(0xFFC0D0E0);
  A->ColorPalette = {0xFF102030, 0xFF405060, 0xFF708090};
  A->StoreColorPaletteIndex(-2);
  A->GetTitle()->GetLines()->Add("Channels");
  A->GetTitle()->SetVertMargin(8);
  A->GetTitle()->GetShadow()->SetVisible(true);
  A->GetTitle()->GetShadow()->SetHorizSize(2);
  A->GetLegend()->SetAlignment(TLegendAlignment::laBottom);
  A->GetLegend()->GetGradient()->SetVisible(true);
  A->GetLegend()->GetSymbol()->SetWidth(30);
  A->GetLegend()->GetMargins()->SetLeft(20);
  A->GetLegend()->SetShapeStyle(TChartObjectShapeStyle::fosRoundRectangle);
  A->GetLegend()->SetRoundSize(6);
  {
    TBitmap Pic(8, 8);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) Pic.SetPixel(X, Y, (X + Y) % 2 ? 0xFFFF8000 : 0xFF0080FF);
    A->GetBackWall()->GetPicture()->SetBitmap(&Pic);
  }
  A->GetBackWall()->GetEmboss()->SetVisible(true);
  A->GetLeftAxis()->SetLabelsAngle(90);
  A->GetLeftAxis()->GetGrid()->SetDrawEvery(2);
  A->GetBottomAxis()->SetLabelStyle(TAxisLabelStyle::talValue);
  A->GetBottomAxis()->GetLabelsFont()->SetColor(0xFF800000);
  TChartAxis* Custom = A->GetCustomAxes()->Get(A->GetCustomAxes()->Add()->GetIndex());
  Custom->SetHorizontal(false);
  Custom->SetOtherSide(true);
  Custom->SetZPosition(0);
  const double CustomZ = Custom->GetZPosition();
  Custom->SetPositionPercent(10);

  auto* Fast = Create<TFastLineSeries>(A.get());
  Fast->SetName("Fast");
  Fast->SetParentChart(A.get());
  auto* Area = Create<TAreaSeries>(A.get());
  Area->SetName("Area");
  Area->SetParentChart(A.get());
  for (int I = 0; I < 12; ++I) {
    Fast->AddXY(I, (I * 7) % 5);
    Area->AddXY(I, 2 + (I * 3) % 4);
  }
  // Points given by the program are written when it says so.
  Fast->ManualData = true;
  Area->ManualData = true;
  Fast->GetXValues()->SetName("Time");
  Fast->GetYValues()->SetDateTime(false);
  Fast->SetValueFormat("0.0");
  Fast->SetVertAxis(TVertAxis::aRightAxis);
  Area->SetTransparency(30);
  Area->GetAreaChartBrush()->GetGradient()->SetVisible(true);
  Area->GetAreaChartBrush()->GetGradient()->SetEndColor(0xFF00A000);
  Area->GetAreaLinesPen()->SetColor(0xFF303030);
  Area->GetPointer()->SetVisible(true);
  Area->GetPointer()->SetStyle(TSeriesPointerStyle::psCircle);
  Area->GetPointer()->GetShadow()->SetVisible(true);
  Area->SetStairs(true);
  Area->SetYOrigin(1.5);
  Area->SetUseYOrigin(true);
  TSeriesMarks* Marks = Area->GetMarks();
  Marks->SetVisible(true);
  Marks->SetStyle(TSeriesMarksStyle::smsValue);
  Marks->GetCallout()->SetLength(12);
  Marks->GetCallout()->SetArrowHead(TArrowHeadStyle::ahSolid);
  Marks->GetShadow()->SetVisible(true);
  Marks->GetItem(3)->GetLines()->Add("peak");
  Marks->GetItem(5)->SetColor(0xFF80FF80);
  auto* Smooth = Create<TFastLineSeries>(A.get());
  Smooth->SetName("Smooth");
  Smooth->SetParentChart(A.get());
  auto* F = Create<TSmoothingFunction>(A.get());
  F->SetName("Smoothing1");
  F->SetFactor(6);
  F->SetInterpolate(false);
  Smooth->SetFunction(F);
  Smooth->SetDataSource(Area);
  Smooth->GetLinePen()->SetWidth(2);

  const std::vector<Byte> First = Store(A.get());
  TOwned<TChart> B(ReadInto(First, A->GetWidth(), A->GetHeight()));
  const std::vector<Byte> Second = Store(B.get());
  ASSERT_EQ(Second, First) << AsText(First) << "\n---\n" << AsText(Second);

  ASSERT_EQ(B->GetSeriesList()->GetCount(), 3);
  EXPECT_EQ(dynamic_cast<TChartSeries*>(B->GetSeriesList()->Get(2))->Count(), Smooth->Count()) << AsText(First);
  EXPECT_FALSE(B->GetBackWall()->GetPicture()->GetBitmap() == nullptr || B->GetBackWall()->GetPicture()->GetBitmap()->IsEmpty());
  EXPECT_TRUE(PaintTheSame(A.get(), B.get()));
  auto* BArea = dynamic_cast<TAreaSeries*>(B->GetSeriesList()->Get(1));
  auto* BSmooth = dynamic_cast<TFastLineSeries*>(B->GetSeriesList()->Get(2));
  ASSERT_NE(BArea, nullptr);
  ASSERT_NE(BSmooth, nullptr);
  EXPECT_EQ(BSmooth->GetDataSource(), BArea);
  auto* BF = dynamic_cast<TSmoothingFunction*>(BSmooth->GetFunction());
  ASSERT_NE(BF, nullptr);
  EXPECT_EQ(BF->GetFactor(), 6);
  EXPECT_FALSE(BF->GetInterpolate());
  EXPECT_EQ(BArea->GetMarks()->GetItem(3)->GetLines()->GetText(), Marks->GetItem(3)->GetLines()->GetText());
  EXPECT_EQ(BArea->GetMarks()->GetCallout()->GetLength(), 12);
  EXPECT_EQ(BArea->GetPointer()->GetStyle(), TSeriesPointerStyle::psCircle);
  EXPECT_DOUBLE_EQ(BArea->GetYOrigin(), 1.5);
  EXPECT_EQ(B->ColorPalette, A->ColorPalette);
  EXPECT_TRUE(B->GetGradient()->GetVisible());
  EXPECT_EQ(B->GetLegend()->GetSymbol()->GetWidth(), 30);
  EXPECT_EQ(B->GetLegend()->GetMargins()->GetLeft(), 20);
  EXPECT_EQ(B->GetLeftAxis()->GetLabelsAngle(), 90);
  EXPECT_EQ(B->GetCustomAxes()->Get(0)->GetZPosition(), CustomZ) << "a program sees the same depth";
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
