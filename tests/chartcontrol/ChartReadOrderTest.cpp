// Charts read back hold what was written, whatever the order of the stored lines and of the
// points.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

#include "platform/Streams.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/Annotation.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

std::vector<double> XsOf(TChartSeries* S) {
  std::vector<double> X;
  for (std::int32_t I = 0; I < S->Count(); ++I) X.push_back(S->GetXValues()->Value[I]);
  return X;
}

// The order flag set after the points were added does not sort them; neither does reading.
TEST(ChartReadOrder, PointsComeBackInTheOrderTheyWereWrittenWhateverTheListOrder) {
  for (TChartListOrder Order : {TChartListOrder::loDescending, TChartListOrder::loAscending}) {
    SCOPED_TRACE(static_cast<int>(Order));
    TOwned<TChart> A(Create<TChart>(nullptr));
    A->SetName("Chart1");
    auto* S = AddToChart<TFastLineSeries>(A.get(), "Series1");
    S->GetXValues()->SetOrder(TChartListOrder::loNone);
    for (double X : {3.0, 1.0, 4.0, 1.5, 9.0}) S->AddXY(X, 10 * X);
    S->GetXValues()->SetOrder(Order);
    S->ManualData = true;
    const std::vector<double> Written = XsOf(S);

    const std::vector<Byte> Bytes = Store(A.get());
    TOwned<TChart> B(Create<TChart>(nullptr));
    ReadBytes(Bytes, B.get());
    auto* R = dynamic_cast<TChartSeries*>(B->FindComponent("Series1"));
    ASSERT_NE(R, nullptr);
    EXPECT_EQ(R->GetXValues()->GetOrder(), Order);
    EXPECT_EQ(XsOf(R), Written);
    EXPECT_DOUBLE_EQ(R->GetYValues()->Value[0], 30);
    EXPECT_EQ(Store(B.get()), Bytes);
  }
}

// The text with the lines that set A and B (their last name part, "Sub.Name = ...") swapped.
String Swapped(const String& Text, const String& A, const String& B) {
  std::vector<String> Lines;
  std::istringstream In(Text);
  for (String L; std::getline(In, L);) Lines.push_back(L);
  auto Find = [&](const String& Key) {
    for (std::size_t I = 0; I < Lines.size(); ++I) {
      const std::size_t At = Lines[I].find_first_not_of(' ');
      if (At != String::npos && Lines[I].compare(At, Key.size() + 3, Key + " = ") == 0) return I;
    }
    ADD_FAILURE() << "no line sets " << Key << " in\n" << Text;
    return Lines.size();
  };
  const std::size_t IA = Find(A), IB = Find(B);
  if (IA < Lines.size() && IB < Lines.size()) std::swap(Lines[IA], Lines[IB]);
  String Out;
  for (const String& L : Lines) Out += L + "\n";
  return Out;
}

// A chart part with two stored values of which one has a setter that would change the other.
struct TOrderCase {
  const char* Name;
  std::function<void(TChart*)> Set;
  // The values that must come back, as text.
  std::function<String(TChart*)> Values;
  // The two lines whose order is tried both ways (the second empty: one line only).
  String LineA, LineB;
};

TFastLineSeries* SeriesOf(TChart* C) { return dynamic_cast<TFastLineSeries*>(C->FindComponent("Series1")); }
TAnnotationTool* AnnotationOf(TChart* C) { return dynamic_cast<TAnnotationTool*>(C->FindComponent("Note1")); }

String ShapeValues(TZelCustomShape* S) {
  return "style " + std::to_string(static_cast<int>(S->GetShapeStyle())) + ", round " + std::to_string(S->GetRoundSize());
}

const std::vector<TOrderCase>& OrderCases() {
  static const std::vector<TOrderCase> Cases = {
      {"a rectangle with a round size (axis labels format)",
       [](TChart* C) {
         TZelCustomShape* S = C->GetDepthTopAxis()->GetLabelsFormat();
         S->SetRoundSize(5);
         S->SetShapeStyle(TChartObjectShapeStyle::fosRectangle);
       },
       [](TChart* C) { return ShapeValues(C->GetDepthTopAxis()->GetLabelsFormat()); },
       "DepthTopAxis.LabelsFormat.RoundSize", ""},
      {"an ellipse with a round size (axis labels format)",
       [](TChart* C) {
         TZelCustomShape* S = C->GetDepthTopAxis()->GetLabelsFormat();
         S->SetRoundSize(5);
         S->SetShapeStyle(TChartObjectShapeStyle::fosEllipse);
       },
       [](TChart* C) { return ShapeValues(C->GetDepthTopAxis()->GetLabelsFormat()); },
       "DepthTopAxis.LabelsFormat.RoundSize", "DepthTopAxis.LabelsFormat.ShapeStyle"},
      {"a rectangle with a round size (series marks)",
       [](TChart* C) {
         TSeriesMarks* M = SeriesOf(C)->GetMarks();
         M->SetRoundSize(7);
         M->SetShapeStyle(TChartObjectShapeStyle::fosRectangle);
       },
       [](TChart* C) { return ShapeValues(SeriesOf(C)->GetMarks()); },
       "Marks.RoundSize", "Marks.ShapeStyle"},
      {"a rectangle with a round size (title)",
       [](TChart* C) {
         C->GetTitle()->SetRoundSize(3);
         C->GetTitle()->SetShapeStyle(TChartObjectShapeStyle::fosRectangle);
       },
       [](TChart* C) { return ShapeValues(C->GetTitle()); }, "Title.RoundSize", ""},
      {"an annotation placed by position whose shape was then moved by hand",
       [](TChart* C) {
         TAnnotationTool* T = AnnotationOf(C);
         T->SetPosition(TAnnotationPosition::ppRightBottom);
         T->GetShape()->SetCustomPosition(true);
       },
       [](TChart* C) {
         TAnnotationTool* T = AnnotationOf(C);
         return "position " + std::to_string(static_cast<int>(T->GetPosition())) + ", custom " +
                std::to_string(T->GetShape()->GetCustomPosition());
       },
       "Position", "Shape.CustomPosition"},
      {"a brush whose gradient is on but which paints a bitmap",
       [](TChart* C) {
         TZelBrush* B = C->GetBackWall()->GetBrush();
         B->GetGradient()->SetVisible(true);
         B->SetKind(TBrushKind::Bitmap);
       },
       [](TChart* C) {
         TZelBrush* B = C->GetBackWall()->GetBrush();
         return "kind " + std::to_string(static_cast<int>(B->GetKind())) + ", gradient " +
                std::to_string(B->GetGradient()->GetVisible());
       },
       "BackWall.Brush.Kind", "BackWall.Brush.Gradient.Visible"},
  };
  return Cases;
}

TOwned<TChart> OrderCaseChart() {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  AddToChart<TFastLineSeries>(A.get(), "Series1")->AddXY(1, 2);
  AddToChart<TAnnotationTool>(A.get(), "Note1")->SetText("Note");
  return A;
}

// A setter run by the reader changes no other stored value: whichever of the two lines comes
// first, the chart read holds what was written.
TEST(ChartReadOrder, ASetterWithASideEffectChangesNoOtherValueReadInEitherOrder) {
  for (const TOrderCase& Case : OrderCases()) {
    SCOPED_TRACE(Case.Name);
    TOwned<TChart> A = OrderCaseChart();
    Case.Set(A.get());
    const String Expected = Case.Values(A.get());
    const std::vector<Byte> Bytes = Store(A.get());
    const String Text = AsText(Bytes);
    std::vector<String> Texts = {Text};
    if (!Case.LineB.empty()) {
      Texts.push_back(Swapped(Text, Case.LineA, Case.LineB));
      EXPECT_NE(Texts[1], Text);
    } else {
      EXPECT_NE(Text.find(Case.LineA + " = "), String::npos) << Text;
    }
    for (const String& T : Texts) {
      TOwned<TChart> B(Create<TChart>(nullptr));
      ReadText(T, B.get());
      EXPECT_EQ(Case.Values(B.get()), Expected) << T;
      EXPECT_EQ(Store(B.get()), Bytes);
    }
  }
}

}  // namespace
}  // namespace zel::testing
