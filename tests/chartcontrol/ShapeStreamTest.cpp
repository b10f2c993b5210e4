// The shapes of a chart (legend, titles, their child shapes and corners, series selections) and
// the panel's print settings written as component streams and read back into fresh charts.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/MarksTip.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// The size of every chart here, written or read back.
constexpr float Width = 400, Height = 300;

TChart* NewChart() {
  auto* C = Create<TChart>(nullptr);
  C->SetName("Chart1");
  C->SetBounds(0, 0, Width, Height);
  auto* S = AddToChart<TFastLineSeries>(C, "Series1");
  for (int I = 0; I < 5; ++I) S->AddXY(I, I % 3);
  S->ManualData = true;  // the points travel with the chart
  return C;
}

TChartSeries* FirstSeries(TChart* C) { return C->GetSeriesList()->Get(0); }

TTextShape* Child(TZelCustomShape* Owner, int Index) {
  return dynamic_cast<TTextShape*>(Owner->GetChildren()->Get(Index)->GetShape());
}

// A setting of a shape away from what its owner gave it at construction, the line that must
// then be written, and the check that the chart read back holds the setting.
struct TShapeCase {
  const char* Name;
  std::function<void(TChart*)> Change;
  std::vector<const char*> Written;
  std::function<bool(TChart*)> Kept;
};

const std::vector<TShapeCase>& ShapeCases() {
  static const std::vector<TShapeCase> Cases = {
      {"legend colour, transparency, emboss and cursor",
       [](TChart* C) {
         C->GetLegend()->SetColor(0xFF203040);
         C->GetLegend()->SetTransparency(35);
         C->GetLegend()->GetEmboss()->SetVisible(true);
         C->GetLegend()->SetCursor(crHandPoint);
       },
       {"Legend.Color = ", "Legend.Transparency = 35", "Legend.Emboss.Visible = True", "Legend.Cursor = -21"},
       [](TChart* C) {
         TCustomChartLegend* L = C->GetLegend();
         return L->GetColor() == 0xFF203040u && L->GetTransparency() == 35 && L->ExistingEmboss() &&
                L->ExistingEmboss()->GetVisible() && L->GetCursor() == crHandPoint;
       }},
      {"legend frame",
       [](TChart* C) { C->GetLegend()->GetFrame()->SetWidth(3); },
       {"Legend.Frame.Width = 3"},
       [](TChart* C) { return C->GetLegend()->GetFrame()->GetWidth() == 3; }},
      {"title colour, transparency and emboss",
       [](TChart* C) {
         C->GetTitle()->SetColor(0xFF00FF00);
         C->GetTitle()->SetTransparency(10);
         C->GetTitle()->GetEmboss()->SetHorizSize(4);
       },
       {"Title.Color = ", "Title.Transparency = 10", "Title.Emboss.HorizSize = 4"},
       [](TChart* C) {
         TChartTitle* T = C->GetTitle();
         return T->GetColor() == 0xFF00FF00u && T->GetTransparency() == 10 && T->ExistingEmboss() &&
                T->ExistingEmboss()->GetHorizSize() == 4;
       }},
      {"child shapes with their own children and texts",
       [](TChart* C) {
         TCustomChartLegend* L = C->GetLegend();
         L->SetChildLayout(TZelShapeLayout::slLeftRight);
         L->GetChildren()->Add();
         TTextShape* Second = Child(L, 0);
         Second->SetText("first");
         L->GetChildren()->Add();
         TTextShape* Third = Child(L, 1);
         Third->SetColor(0xFFFF0000);
         Third->SetTransparent(false);
         Third->GetChildren()->Add();
         Child(Third, 0)->SetText("inner");
       },
       {"Legend.Children = <", "Shape.Text = 'first'", "Shape.Transparent = False", "Shape.Text = 'inner'"},
       [](TChart* C) {
         TCustomChartLegend* L = C->GetLegend();
         if (L->GetChildren()->GetCount() != 2) return false;
         TTextShape* Third = Child(L, 1);
         return Child(L, 0)->GetText() == "first" && Third->GetColor() == 0xFFFF0000u && !Third->GetTransparent() &&
                Third->GetChildren()->GetCount() == 1 && Child(Third, 0)->GetText() == "inner" &&
                Child(Third, 0)->GetTransparent();
       }},
      {"rounded corners",
       [](TChart* C) {
         C->GetLegend()->SetRoundSize(8);
         C->GetLegend()->GetCorners()->GetLeftTop()->SetStyle(TZelCornerStyle::cosBevel);
         C->GetLegend()->GetCorners()->GetRightBottom()->SetStyle(TZelCornerStyle::cosNone);
       },
       {"Legend.Corners.LeftTop.Style = cosBevel", "Legend.Corners.RightBottom.Style = cosNone"},
       [](TChart* C) {
         TZelCorners* K = C->GetLegend()->ExistingCorners();
         return K && K->GetLeftTop()->GetStyle() == TZelCornerStyle::cosBevel &&
                K->GetRightBottom()->GetStyle() == TZelCornerStyle::cosNone &&
                K->GetLeftBottom()->GetStyle() == TZelCornerStyle::cosRound;
       }},
      {"corners made and left round",
       [](TChart* C) {
         C->GetLegend()->SetRoundSize(12);
         C->GetLegend()->GetCorners();
       },
       // Round corners write nothing; read back without them, the frame draws the same.
       {},
       [](TChart* C) { return C->GetLegend()->ExistingCorners() == nullptr; }},
      {"series selection and hover",
       [](TChart* C) {
         TZelSelected* S = FirstSeries(C)->GetSelected();
         S->SetVisible(true);
         S->GetPen()->SetWidth(4);
         S->GetHover()->GetPen()->SetColor(0xFF0000FF);
         S->GetHover()->GetFont()->SetStyle(TFontStyles{});
       },
       {"Selected.Visible = True", "Selected.Pen.Width = 4", "Selected.Hover.Pen.Color = ",
        "Selected.Hover.Font.Style = []"},
       [](TChart* C) {
         TZelSelected* S = FirstSeries(C)->ExistingSelected();
         return S && S->GetVisible() && S->GetPen()->GetWidth() == 4 &&
                S->GetHover()->GetPen()->GetColor() == 0xFF0000FFu &&
                !S->GetHover()->GetFont()->GetStyle().Contains(TFontStyle::fsBold);
       }},
      {"legend hover",
       [](TChart* C) { C->GetLegend()->GetSelected()->GetHover()->SetVisible(false); },
       {"Legend.Selected.Hover.Visible = False"},
       [](TChart* C) {
         TZelSelected* S = C->GetLegend()->ExistingSelected();
         return S && !S->GetHover()->GetVisible();
       }},
      {"print settings",
       [](TChart* C) {
         C->SetPrintProportional(false);
         C->SetPrintResolution(-40);
         C->SetPrintMargins(TRectF(10, 12, 14, 16));
       },
       {"PrintProportional = False", "PrintResolution = -40", "PrintMargins = "},
       [](TChart* C) {
         return !C->GetPrintProportional() && C->GetPrintResolution() == -40 &&
                C->GetPrintMargins().Left == 10 && C->GetPrintMargins().Bottom == 16;
       }},
  };
  return Cases;
}

TEST(ShapeStream, SettingsOfShapesAndPrintingSurviveAWriteAndRead) {
  for (const TShapeCase& Case : ShapeCases()) {
    SCOPED_TRACE(Case.Name);
    TOwned<TChart> A(NewChart());
    Case.Change(A.get());
    const std::vector<Byte> First = Store(A.get());
    const String Text = AsText(First);
    for (const char* Want : Case.Written) EXPECT_NE(Text.find(Want), String::npos) << "lacks " << Want << "\n" << Text;
    TOwned<TChart> B(ReadInto(First, Width, Height));
    EXPECT_TRUE(Case.Kept(B.get())) << Text;
    EXPECT_EQ(Store(B.get()), First) << Text << "\n---\n" << AsText(Store(B.get()));
    EXPECT_TRUE(PaintTheSame(A.get(), B.get()));
  }
}

// Each owner compares with what it gave its shapes at construction: a painted chart whose
// lazily made shape parts exist writes none of them, and a title that sizes itself on every
// draw keeps that size to itself.
TEST(ShapeStream, ShapesAtTheirOwnersDefaultsWriteNothingOfTheirOwn) {
  TOwned<TChart> A(NewChart());
  A->GetTitle()->GetLines()->Add("Title");
  A->GetTitle()->SetAdjustFrame(false);
  A->GetFoot()->GetLines()->Add("Foot");
  A->GetLegend()->GetEmboss();
  A->GetLegend()->GetSelected();
  A->GetTitle()->GetEmboss();
  FirstSeries(A.get())->GetSelected();
  FirstSeries(A.get())->GetMarks()->SetVisible(true);
  FirstSeries(A.get())->GetMarks()->GetSymbol()->SetVisible(true);
  TOwned<TBitmap> Painted(PaintToBitmap(A.get()));
  const String Text = AsText(Store(A.get()));
  for (const char* Not : {"Emboss", "Selected", "AutoSize", "Legend.Color", "Title.Color", "Foot.Color",
                          "Transparency", "Cursor", "Corners", "Frame.", ".Pen.", ".Children", "Legend.Left", "Symbol.Color"})
    EXPECT_EQ(Text.find(Not), String::npos) << Not << "\n" << Text;
}

// The old name of a text shape's frame is read into the frame and written under "Frame" only.
TEST(ShapeStream, TheFramesOldNameIsReadAndWrittenAsFrame) {
  TOwned<TChart> C(ReadInto(
      FromText("object Chart1: TChart\n  Legend.Pen.Width = 5\n  Title.Pen.Visible = False\nend\n"),
      Width, Height));
  EXPECT_EQ(C->GetLegend()->GetFrame()->GetWidth(), 5);
  EXPECT_FALSE(C->GetTitle()->GetFrame()->GetVisible());
  const String Text = AsText(Store(C.get()));
  EXPECT_NE(Text.find("Legend.Frame.Width = 5"), String::npos) << Text;
  EXPECT_NE(Text.find("Title.Frame.Visible = False"), String::npos) << Text;
  EXPECT_EQ(Text.find(".Pen."), String::npos) << Text;
}

// An annotation at a corner is placed anew on every draw: where the last draw put it is not a
// setting, and reading the chart back keeps the box at its corner. A box the user placed keeps
// its place, written once under the tool's names.
TEST(ShapeStream, AnAnnotationKeepsItsPlaceOnlyWhenTheUserGaveOne) {
  TOwned<TChart> A(NewChart());
  auto* Corner = AddToChart<TAnnotationTool>(A.get(), "Corner");
  Corner->SetPosition(TAnnotationPosition::ppRightBottom);
  auto* Placed = AddToChart<TAnnotationTool>(A.get(), "Placed");
  Placed->SetLeft(30);
  Placed->SetTop(40);
  TOwned<TBitmap> Painted(PaintToBitmap(A.get()));
  ASSERT_GT(Corner->GetLeft(), 100) << "drawn at the right";

  const std::vector<Byte> First = Store(A.get());
  const String Text = AsText(First);
  EXPECT_EQ(Text.find("Shape.Left"), String::npos) << "written once, by the tool\n" << Text;
  TOwned<TChart> B(ReadInto(First, Width, Height));
  ASSERT_EQ(B->GetTools()->GetCount(), 2);
  auto* BCorner = dynamic_cast<TAnnotationTool*>(B->GetTools()->Get(0));
  auto* BPlaced = dynamic_cast<TAnnotationTool*>(B->GetTools()->Get(1));
  ASSERT_NE(BCorner, nullptr);
  ASSERT_NE(BPlaced, nullptr);
  EXPECT_FALSE(BCorner->GetShape()->GetCustomPosition()) << Text;
  EXPECT_EQ(BCorner->GetPosition(), TAnnotationPosition::ppRightBottom);
  EXPECT_TRUE(BPlaced->GetShape()->GetCustomPosition());
  EXPECT_EQ(BPlaced->GetLeft(), 30);
  EXPECT_EQ(BPlaced->GetTop(), 40);
  EXPECT_EQ(Store(B.get()), First);
}

// A marks tip shows its box with the text of the pointed mark: a chart written while a tip is up
// reads back without it, and the tip's own settings travel.
TEST(ShapeStream, AMarksTipShowingWhenWrittenReadsBackHidden) {
  TOwned<TChart> A(NewChart());
  auto* Tip = AddToChart<TMarksTipTool>(A.get(), "Tip");
  Tip->GetFormat()->GetFont()->SetSize(14);
  Tip->GetFormat()->InternalSetText("3.5");
  Tip->GetFormat()->SetVisible(true);
  const std::vector<Byte> First = Store(A.get());
  const String Text = AsText(First);
  EXPECT_EQ(Text.find("Format.Visible"), String::npos) << Text;
  EXPECT_EQ(Text.find("Format.Text"), String::npos) << Text;
  TOwned<TChart> B(ReadInto(First, Width, Height));
  ASSERT_EQ(B->GetTools()->GetCount(), 1);
  auto* BTip = dynamic_cast<TMarksTipTool*>(B->GetTools()->Get(0));
  ASSERT_NE(BTip, nullptr);
  EXPECT_FALSE(BTip->GetFormat()->GetVisible());
  EXPECT_EQ(BTip->GetFormat()->GetFont()->GetSize(), 14);
}

// Child shapes nest inside child shapes; a stream nesting them beyond reason is refused with a
// message instead of running the reader out of stack.
TEST(ShapeStream, ChildShapesNestedTooDeeplyAreRefused) {
  String Text = "object Chart1: TChart\n  Legend.Children = <";
  const int Depth = 100;
  for (int I = 0; I < Depth; ++I) Text += "\n    item\n      Shape.Children = <";
  for (int I = 0; I < Depth; ++I) Text += ">\n    end";
  Text += ">\nend\n";
  TOwned<TChart> C(Create<TChart>(nullptr));
  try {
    ReadText(Text, C.get());
    ADD_FAILURE() << "read without complaint";
  } catch (const EReadError& E) {
    EXPECT_NE(String(E.what()).find("nested too deeply"), String::npos) << E.what();
  }
  EXPECT_TRUE(C->GetAutoRepaint());
  TOwned<TBitmap> Still(PaintToBitmap(C.get()));
  EXPECT_NE(Still.get(), nullptr);
}

}  // namespace
}  // namespace zel::testing
