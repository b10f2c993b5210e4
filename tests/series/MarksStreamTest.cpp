// Series marks written with their chart and read back: the names marks write their settings
// under, and the older names still read.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ObjectText.h"
#include "platform/Streams.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

TChart* ReadBack(const std::vector<Byte>& Bytes) {
  TOwned<TChart> B(Create<TChart>(nullptr));
  TMemoryStream In;
  In.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  In.SetPosition(0);
  In.ReadComponent(B.get());
  return B.release();
}

TChart* ChartWithMarks() {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  auto* S = Create<TFastLineSeries>(A.get());
  S->SetName("Series1");
  S->SetParentChart(A.get());
  return A.release();
}

TSeriesMarks* MarksOf(TChart* C) { return C->GetSeriesList()->Get(0)->GetMarks(); }

TEST(MarksStream, TextAlignmentIsWrittenAsTextAlignAndReadUnderBothNames) {
  TOwned<TChart> A(ChartWithMarks());
  EXPECT_EQ(AsText(Store(A.get())).find("TextAlign"), String::npos) << "centred is the marks' default";
  MarksOf(A.get())->SetTextAlignment(TAlignment::taLeftJustify);
  const std::vector<Byte> First = Store(A.get());
  const String Text = AsText(First);
  EXPECT_NE(Text.find("Marks.TextAlign = taLeftJustify"), String::npos) << Text;
  EXPECT_EQ(Text.find("TextAlignment"), String::npos) << Text;
  TOwned<TChart> B(ReadBack(First));
  EXPECT_EQ(MarksOf(B.get())->GetTextAlignment(), TAlignment::taLeftJustify);

  String Old = Text;
  Old.replace(Old.find("Marks.TextAlign ="), 17, "Marks.TextAlignment =");
  TMemoryStream In, Bin;
  In.WriteBuffer(Old.data(), static_cast<Int64>(Old.size()));
  In.SetPosition(0);
  ObjectTextToBinary(&In, &Bin);
  TOwned<TChart> C(ReadBack(Bin.GetBytes()));
  EXPECT_EQ(MarksOf(C.get())->GetTextAlignment(), TAlignment::taLeftJustify);
}

}  // namespace
}  // namespace zel::testing
