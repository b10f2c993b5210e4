// Whole charts written as component streams and read back into fresh charts.
#include <gtest/gtest.h>

#include "platform/Streams.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesList.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/engine/Pointer.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/Spline.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// Text with its first From replaced by To.
String Edited(String Text, const String& From, const String& To) {
  const std::size_t At = Text.find(From);
  EXPECT_NE(At, String::npos) << From;
  if (At != String::npos) Text.replace(At, From.size(), To);
  return Text;
}

// A function whose output is the sum of its inputs, registered while a test uses it.
class TSourceSum : public TZelFunction {
  ZEL_CLASS(TSourceSum, TZelFunction)
 public:
  explicit TSourceSum(TComponent* AOwner) : TZelFunction(AOwner) {}
  double CalculateValue(const TZelFunctionValues& Values) override {
    double Sum = 0;
    for (double V : Values) Sum += V;
    return Sum;
  }
};
ZEL_DEFINE_COMPONENT_CLASS(TSourceSum, TZelFunction)

// A source that gives its series three fixed points each time it loads.
class TFixedSource : public TZelSeriesSource {
  ZEL_CLASS(TFixedSource, TZelSeriesSource)
 public:
  explicit TFixedSource(TComponent* AOwner) : TZelSeriesSource(AOwner) {}
  void Load() override {
    if (!FSeries) return;
    if (FLoadMode == TSourceLoadMode::lmClear) FSeries->Clear();
    for (int I = 0; I < 3; ++I) FSeries->AddXY(I, 10 * (I + 1));
  }
};
ZEL_DEFINE_COMPONENT_CLASS(TFixedSource, TZelSeriesSource)

TEST(ChartStream, EverySeriesKindWithMarksGradientsShadowsPicturesAndGroupsReadsBackToTheSameBytesAndPixels) {
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
    A->GetLegend()->GetPicture()->SetBitmap(&Pic);
    A->GetTitle()->GetBrush()->GetImage()->SetBitmap(&Pic);
  }
  A->GetBackWall()->GetEmboss()->SetVisible(true);
  A->GetBackWall()->SetTransparent(false);
  A->GetBackWall()->SetTransparency(40);
  A->GetBackWall()->SetDark3D(false);
  A->GetBackWall()->GetGradient()->SetVisible(true);
  A->GetBackWall()->GetGradient()->SetEndColor(0xFF8080FF);
  A->GetLeftWall()->SetColor(0xFF00C000);
  A->GetLeftWall()->SetSize(6);
  A->GetBottomWall()->SetTransparent(true);
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

  auto* Fast = AddToChart<TFastLineSeries>(A.get(), "Fast");
  auto* Area = AddToChart<TAreaSeries>(A.get(), "Area");
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
  auto* Smooth = AddToChart<TFastLineSeries>(A.get(), "Smooth");
  auto* F = Create<TSmoothingFunction>(A.get());
  F->SetName("Smoothing1");
  F->SetFactor(6);
  F->SetInterpolate(false);
  Smooth->SetFunction(F);
  Smooth->SetDataSource(Area);
  Smooth->GetLinePen()->SetWidth(2);
  auto* Themed = AddToChart<TThemedSeries>(A.get(), "Themed");
  for (int I = 0; I < 5; ++I) Themed->AddXY(2 * I, 1 + I % 3);
  Themed->ManualData = true;
  Area->SetCustomVertAxis(Custom);
  // Members in an order of their own, so that only the stored indexes can give it back.
  TSeriesGroup* Pair = A->GetSeriesList()->AddGroup("Pair");
  Pair->Add(Area);
  Pair->Add(Fast);
  TSeriesGroup* Lone = A->GetSeriesList()->AddGroup("Lone");
  Lone->Add(Themed);
  Lone->Hide();

  const std::vector<Byte> First = Store(A.get());
  TOwned<TChart> B(ReadInto(First, A->GetWidth(), A->GetHeight()));
  const std::vector<Byte> Second = Store(B.get());
  ASSERT_EQ(Second, First) << AsText(First) << "\n---\n" << AsText(Second);

  EXPECT_TRUE(PaintTheSame(A.get(), B.get())) << AsText(First);

  ASSERT_EQ(B->GetSeriesList()->GetCount(), 4);
  auto* BFast = dynamic_cast<TFastLineSeries*>(B->GetSeriesList()->Get(0));
  auto* BArea = dynamic_cast<TAreaSeries*>(B->GetSeriesList()->Get(1));
  auto* BSmooth = dynamic_cast<TFastLineSeries*>(B->GetSeriesList()->Get(2));
  auto* BThemed = dynamic_cast<TThemedSeries*>(B->GetSeriesList()->Get(3));
  ASSERT_TRUE(BFast && BArea && BSmooth && BThemed);
  EXPECT_EQ(BSmooth->GetDataSource(), BArea);
  ASSERT_GT(Smooth->Count(), 0);
  ASSERT_EQ(BSmooth->Count(), Smooth->Count()) << "calculated again from the source read by reference";
  for (std::int32_t I = 0; I < Smooth->Count(); ++I)
    EXPECT_DOUBLE_EQ(BSmooth->GetYValues()->GetValue(I), Smooth->GetYValues()->GetValue(I)) << I;
  EXPECT_EQ(BThemed->Count(), 5);
  EXPECT_EQ(BArea->GetCustomVertAxis(), B->GetCustomAxes()->Get(0));
  TBitmap* BPic = B->GetBackWall()->GetPicture();
  ASSERT_EQ(BPic->GetWidth(), 8);
  ASSERT_EQ(BPic->GetHeight(), 8);
  EXPECT_EQ(BPic->GetPixel(1, 0), 0xFFFF8000u);
  EXPECT_EQ(BPic->GetPixel(1, 1), 0xFF0080FFu);
  TSeriesGroups* BGroups = B->GetSeriesGroups();
  ASSERT_EQ(BGroups->GetCount(), 2);
  EXPECT_EQ(BGroups->Get(0)->GetName(), "Pair");
  ASSERT_EQ(BGroups->Get(0)->GetSeries()->GetCount(), 2);
  EXPECT_EQ(BGroups->Get(0)->GetSeries()->Get(0), BArea);
  EXPECT_EQ(BGroups->Get(0)->GetSeries()->Get(1), BFast);
  ASSERT_EQ(BGroups->Get(1)->GetSeries()->GetCount(), 1);
  EXPECT_EQ(BGroups->Get(1)->GetSeries()->Get(0), BThemed);
  EXPECT_EQ(BGroups->Get(1)->GetActive(), TSeriesGroupActive::gaNo);
  EXPECT_EQ(BGroups->Get(0)->GetTempSeries(), nullptr);
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
    auto* S = AddToChart<TFastLineSeries>(A.get(), Name);
    S->SetTitle(String("channel ") + Name);
    S->SetSeriesColor(0xFF0000FF);
  }
  auto* Second = dynamic_cast<TFastLineSeries*>(A->GetComponent(1));
  Second->SetStairs(true);
  Second->GetLinePen()->SetWidth(2.5f);
  Second->SetVertAxis(TVertAxis::aRightAxis);

  const std::vector<Byte> First = Store(A.get());
  TOwned<TChart> B(Create<TChart>(nullptr));
  ReadBytes(First, B.get());
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

TEST(ChartStream, ADefaultChartWritesOnlyItsClassNameAndPalette) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  // The palette index is always written (a reader without it would keep its own); nothing else
  // differs from what the constructor made, and no title is created by writing.
  EXPECT_EQ(AsText(Store(A.get())),
            "object Chart1: TChart\n"
            "  ColorPaletteIndex = 13\n"
            "end\n");
  EXPECT_EQ(A->ExistingTitle(), nullptr);
}

TEST(ChartStream, TextFormOfAChartConvertsBackByteForByte) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  A->GetTitle()->GetLines()->Add("It's \"quoted\"");
  AddToChart<TFastLineSeries>(A.get(), "Series1");
  const std::vector<Byte> B = Store(A.get());
  const String T = AsText(B);
  EXPECT_EQ(FromText(T), B) << T;
}

TEST(ChartStream, AFailedReadLeavesTheChartUsableAndRepainting) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  AddToChart<TFastLineSeries>(A.get(), "Series1");
  std::vector<Byte> B = Store(A.get());
  B.resize(B.size() - 3);
  TOwned<TChart> Into(Create<TChart>(nullptr));
  EXPECT_THROW(ReadBytes(B, Into.get()), EReadError);
  EXPECT_EQ(Into->GetSeriesList()->GetCount(), 0) << "the series read so far is freed";
  EXPECT_TRUE(Into->GetAutoRepaint());
  EXPECT_FALSE(Into->IsLoading());
}

// A chart whose series "Out" sums, by a function, the points of one or two source series; the
// sources come before or after "Out" in the stream.
std::vector<Byte> ChartWithFunctionSeries(bool SourcesFirst, int Sources, TOwned<TChart>& A) {
  A.reset(Create<TChart>(nullptr));
  A->SetName("Chart1");
  A->SetBounds(0, 0, 300, 200);
  TFastLineSeries* Out = SourcesFirst ? nullptr : AddToChart<TFastLineSeries>(A.get(), "Out");
  std::vector<TFastLineSeries*> From;
  for (int K = 1; K <= Sources; ++K) {
    TFastLineSeries* S = AddToChart<TFastLineSeries>(A.get(), K == 1 ? "S1" : "S2");
    for (int I = 0; I < 10; ++I) S->AddXY(I, K * I + 1);
    S->ManualData = true;
    From.push_back(S);
  }
  if (!Out) Out = AddToChart<TFastLineSeries>(A.get(), "Out");
  auto* F = Create<TSourceSum>(A.get());
  F->SetName("Sum1");
  F->SetPeriod(2);
  Out->SetFunction(F);
  for (TFastLineSeries* S : From) Out->GetDataSources()->Add(S);
  return Store(A.get());
}

TEST(ChartStream, AFunctionSeriesIsCalculatedOnceReadingEndsWhereverItsSourcesStand) {
  TRegisteredWhileInScope<TSourceSum> Registered;
  struct Case {
    const char* Name;
    bool SourcesFirst;
    int Sources;
  };
  const Case Cases[] = {{"one source before", true, 1},
                        {"one source after", false, 1},
                        {"two sources before", true, 2},
                        {"two sources after", false, 2}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TChart> A;
    const std::vector<Byte> Bytes = ChartWithFunctionSeries(C.SourcesFirst, C.Sources, A);
    auto* Out = dynamic_cast<TChartSeries*>(A->FindComponent("Out"));
    ASSERT_GT(Out->Count(), 0);
    TOwned<TChart> B(ReadInto(Bytes, 300, 200));
    auto* BOut = dynamic_cast<TChartSeries*>(B->FindComponent("Out"));
    ASSERT_NE(BOut, nullptr);
    ASSERT_EQ(BOut->GetDataSources()->Count(), C.Sources);
    EXPECT_EQ(BOut->GetDataSources()->Get(0), B->FindComponent("S1"));
    ASSERT_EQ(BOut->Count(), Out->Count());
    for (std::int32_t I = 0; I < Out->Count(); ++I) {
      EXPECT_DOUBLE_EQ(BOut->GetXValues()->GetValue(I), Out->GetXValues()->GetValue(I)) << I;
      EXPECT_DOUBLE_EQ(BOut->GetYValues()->GetValue(I), Out->GetYValues()->GetValue(I)) << I;
    }
    EXPECT_EQ(Store(B.get()), Bytes);
  }
}

TEST(ChartStream, StoredDataSourcesThatLeadBackToTheSeriesFailTheReadAndKeepTheOthers) {
  TRegisteredWhileInScope<TSourceSum> Registered;
  TOwned<TChart> A;
  const String Text = AsText(ChartWithFunctionSeries(false, 2, A));
  struct Case {
    const char* Name;
    String Text;
  };
  const Case Cases[] = {
      {"the series itself", Edited(Text, "'S2')", "'Out')")},
      {"a source fed by the series",
       Edited(Text, "object S1: TFastLineSeries\n", "object S1: TFastLineSeries\n    DataSources = (\n      'Out'\n      'S2')\n")},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TChart> B(Create<TChart>(nullptr));
    try {
      ReadBytes(FromText(C.Text), B.get());
      ADD_FAILURE() << "read without error";
    } catch (const EReadError& E) {
      EXPECT_NE(String(E.what()).find("DataSources"), String::npos) << E.what();
    }
    EXPECT_FALSE(B->IsLoading());
    EXPECT_TRUE(B->GetAutoRepaint());
    // No series ends up among its own sources, directly or through another.
    for (std::int32_t I = 0; I < B->SeriesCount(); ++I) {
      TChartSeries* S = B->GetSeries(I);
      for (std::int32_t K = 0; K < S->GetDataSources()->Count(); ++K) {
        auto* Source = dynamic_cast<TChartSeries*>(S->GetDataSources()->Get(K));
        ASSERT_NE(Source, S);
        for (std::int32_t J = 0; Source && J < Source->GetDataSources()->Count(); ++J)
          EXPECT_NE(Source->GetDataSources()->Get(J), S) << S->GetName() << " through " << Source->GetName();
      }
    }
  }
}

TEST(ChartStream, AGroupThatNamesNoStoredSeriesFailsTheReadAndLeavesTheChartUsable) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  AddToChart<TFastLineSeries>(A.get(), "Series1");
  TFastLineSeries* S2 = AddToChart<TFastLineSeries>(A.get(), "Series2");
  A->GetSeriesList()->AddGroup("Pair")->Add(S2);
  const std::vector<Byte> Good = Store(A.get());
  const String Text = AsText(Good);
  for (const char* Entry : {"'2'", "'-1'", "'x'", "''", "'99999999999'"}) {
    SCOPED_TRACE(Entry);
    TOwned<TChart> B(Create<TChart>(nullptr));
    try {
      ReadBytes(FromText(Edited(Text, "'1')", String(Entry) + ")")), B.get());
      ADD_FAILURE() << "read without error";
    } catch (const EReadError& E) {
      EXPECT_NE(String(E.what()).find("Pair"), String::npos) << E.what();
    }
    EXPECT_EQ(B->SeriesCount(), 0) << "the series read are freed";
    for (std::int32_t G = 0; G < B->GetSeriesGroups()->GetCount(); ++G)
      EXPECT_EQ(B->GetSeriesGroups()->Get(G)->GetTempSeries(), nullptr);
    EXPECT_FALSE(B->IsLoading());
    EXPECT_TRUE(B->GetAutoRepaint());
    ReadBytes(Good, B.get());
    EXPECT_EQ(Store(B.get()), Good) << "the same chart reads a good stream afterwards";
  }
}

TEST(ChartStream, ASeriesSourceStoredActiveFillsItsSeriesOnceWhenReadingEnds) {
  TRegisteredWhileInScope<TFixedSource> Registered;
  TOwned<TForm> Form(Create<TForm>(nullptr));
  Form->SetName("Form1");
  auto* Chart = Create<TChart>(Form.get());
  Chart->SetName("Chart1");
  Chart->SetParent(Form.get());
  TFastLineSeries* S = AddToChart<TFastLineSeries>(Chart, "Series1", Form.get());
  auto* Source = Create<TFixedSource>(Form.get());
  Source->SetName("Fixed1");
  // Appending, so that a second load would show as six points.
  Source->SetLoadMode(TSourceLoadMode::lmAppend);
  Source->SetSeries(S);
  Source->SetActive(true);
  ASSERT_EQ(S->Count(), 3);
  const std::vector<Byte> Bytes = Store(Form.get());
  const String Text = AsText(Bytes);
  EXPECT_EQ(Text.find("Data ="), String::npos) << "the points come from the source\n" << Text;

  TOwned<TForm> Back(Create<TForm>(nullptr));
  ReadBytes(Bytes, Back.get());
  auto* BS = dynamic_cast<TChartSeries*>(Back->FindComponent("Series1"));
  auto* BSource = dynamic_cast<TFixedSource*>(Back->FindComponent("Fixed1"));
  ASSERT_TRUE(BS && BSource);
  EXPECT_TRUE(BSource->GetActive());
  EXPECT_EQ(BSource->GetLoadMode(), TSourceLoadMode::lmAppend);
  EXPECT_EQ(BSource->GetSeries(), BS);
  EXPECT_EQ(BS->GetDataSource(), BSource);
  ASSERT_EQ(BS->Count(), 3);
  EXPECT_DOUBLE_EQ(BS->GetYValues()->GetValue(2), 30);
  EXPECT_EQ(Store(Back.get()), Bytes);
}

}  // namespace
}  // namespace zel::testing
