// Series marks written with their chart and read back: the names marks write their settings
// under, and the older names still read.
#include <gtest/gtest.h>

#include <vector>

#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

TChart* ChartWithMarks() {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  AddToChart<TFastLineSeries>(A.get(), "Series1");
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
  TOwned<TChart> B(ReadInto(First, 400, 300));
  EXPECT_EQ(MarksOf(B.get())->GetTextAlignment(), TAlignment::taLeftJustify);

  String Old = Text;
  Old.replace(Old.find("Marks.TextAlign ="), 17, "Marks.TextAlignment =");
  TOwned<TChart> C(ReadInto(FromText(Old), 400, 300));
  EXPECT_EQ(MarksOf(C.get())->GetTextAlignment(), TAlignment::taLeftJustify);
}

}  // namespace
}  // namespace zel::testing
