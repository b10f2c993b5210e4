// A chart whose series, functions and tools its window owns, stored alone and read into a chart
// on another window.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Forms.h"
#include "platform/Streams.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/Spline.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/NearestPoint.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// Text with every From replaced by To.
String ReplacedAll(String Text, const String& From, const String& To) {
  for (std::size_t At = Text.find(From); At != String::npos; At = Text.find(From, At + To.size()))
    Text.replace(At, From.size(), To);
  return Text;
}

template <typename T>
T* Part(TComponent* Owner, const String& Name) {
  auto* X = dynamic_cast<T*>(Owner->FindComponent(Name));
  EXPECT_NE(X, nullptr) << Name;
  return X;
}

// Form1 owns the chart and every part of it, as a designer makes them.
struct TFormOwnedChart {
  TOwned<TForm> Form{Create<TForm>(nullptr)};
  TChart* Chart = nullptr;

  TFormOwnedChart() {
    Form->SetName("Form1");
    Chart = Create<TChart>(Form.get());
    Chart->SetName("Chart1");
    Chart->SetParent(Form.get());
    Chart->SetBounds(0, 0, 300, 200);
    auto* Source = AddToChart<TFastLineSeries>(Chart, "Series1", Form.get());
    for (int I = 0; I < 12; ++I) Source->AddXY(I, (I * 7) % 5);
    Source->ManualData = true;
    auto* Smooth = AddToChart<TFastLineSeries>(Chart, "Series2", Form.get());
    auto* F = Create<TSmoothingFunction>(Form.get());
    F->SetName("Smoothing1");
    F->SetFactor(3);
    Smooth->SetFunction(F);
    Smooth->SetDataSource(Source);
    AddToChart<TMarksTipTool>(Chart, "MarksTip1", Form.get())->SetSeries(Source);
    AddToChart<TCursorTool>(Chart, "Cursor1", Form.get())->SetSeries(Smooth);
    AddToChart<TNearestTool>(Chart, "Nearest1", Form.get())->SetSeries(Source);
  }
};

// The chart read on Form2 is made of its own parts, linked as the first ones were.
void ExpectLinkedToItsOwnParts(TChart* Chart, const TChart* Written) {
  auto* Source = Part<TChartSeries>(Chart, "Series1");
  auto* Smooth = Part<TChartSeries>(Chart, "Series2");
  auto* F = Part<TZelFunction>(Chart, "Smoothing1");
  ASSERT_TRUE(Source && Smooth && F);
  EXPECT_EQ(Source->GetParentChart(), Chart);
  EXPECT_EQ(Smooth->GetParentChart(), Chart);
  EXPECT_EQ(Smooth->GetFunction(), F);
  EXPECT_EQ(Smooth->GetDataSource(), Source);
  for (const char* Tool : {"MarksTip1", "Nearest1"})
    if (auto* T = Part<TZelCustomToolSeries>(Chart, Tool)) {
      EXPECT_EQ(T->GetSeries(), Source) << Tool;
    }
  if (auto* T = Part<TZelCustomToolSeries>(Chart, "Cursor1")) {
    EXPECT_EQ(T->GetSeries(), Smooth);
  }
  // The function series calculated its points from the new source.
  auto* WrittenSmooth = dynamic_cast<TChartSeries*>(Written->GetComponentOwner()->FindComponent("Series2"));
  ASSERT_NE(WrittenSmooth, nullptr);
  ASSERT_EQ(Smooth->Count(), WrittenSmooth->Count());
  for (std::int32_t I = 0; I < Smooth->Count(); ++I)
    EXPECT_DOUBLE_EQ(Smooth->GetYValues()->Value[I], WrittenSmooth->GetYValues()->Value[I]) << I;
}

TEST(ChartOwnershipStream, AChartWhosePartsItsFormOwnsReadsIntoAChartOnAnotherForm) {
  TFormOwnedChart A;
  const std::vector<Byte> Bytes = Store(A.Chart);
  const String Text = AsText(Bytes);
  EXPECT_EQ(Text.find("Form1."), String::npos) << "the stream names its own parts\n" << Text;

  TOwned<TForm> Form2(Create<TForm>(nullptr));
  Form2->SetName("Form2");
  auto* B = Create<TChart>(Form2.get());
  B->SetParent(Form2.get());
  B->SetBounds(0, 0, 300, 200);
  ReadBytes(Bytes, B);
  ExpectLinkedToItsOwnParts(B, A.Chart);
  EXPECT_EQ(Store(B), Bytes);
  EXPECT_TRUE(PaintTheSame(A.Chart, B));
}

// A stream whose references name the window that owned the parts when it was written.
TEST(ChartOwnershipStream, ReferencesQualifiedByTheFormThatOwnedThePartsResolveToThePartsRead) {
  TFormOwnedChart A;
  const std::vector<Byte> Bytes = Store(A.Chart);
  String Text = AsText(Bytes);
  Text = ReplacedAll(Text, "DataSource = Series1", "DataSource = Form1.Series1");
  Text = ReplacedAll(Text, "Series = Series", "Series = Form1.Series");
  ASSERT_NE(Text.find("Series = Form1.Series1"), String::npos) << Text;

  TOwned<TForm> Form2(Create<TForm>(nullptr));
  Form2->SetName("Form2");
  auto* B = Create<TChart>(Form2.get());
  B->SetParent(Form2.get());
  ReadText(Text, B);
  ExpectLinkedToItsOwnParts(B, A.Chart);
  EXPECT_EQ(Store(B), Bytes);

  // A name that no component read from the stream carries still fails the read.
  TOwned<TForm> Form3(Create<TForm>(nullptr));
  auto* C = Create<TChart>(Form3.get());
  try {
    ReadText(ReplacedAll(Text, "DataSource = Form1.Series1", "DataSource = Form1.Series9"), C);
    ADD_FAILURE() << "read a reference to nothing";
  } catch (const EReadError& E) {
    EXPECT_NE(String(E.what()).find("unresolved reference to Form1.Series9"), String::npos) << E.what();
  }
}

}  // namespace
}  // namespace zel::testing
