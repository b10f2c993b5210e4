// Tools written with their chart as component streams and read back: every registered tool class
// keeps the values it publishes, and a tool at its defaults writes next to nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/DragMarks.h"
#include "zelgraph/tools/DrawLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/NearestPoint.h"
#include "zelgraph/tools/PageNumber.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/RotateTool.h"
#include "zelgraph/tools/ScrollBar.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// The property lines of the object block "object Name: Class" (its own level only: the lines of
// child objects nested in it are left out), trimmed.
std::vector<String> OwnLines(const String& Text, const String& Name) {
  std::istringstream In(Text);
  std::string Line;
  std::vector<String> Out;
  size_t Indent = String::npos;
  bool InChild = false;
  size_t ChildIndent = 0;
  while (std::getline(In, Line)) {
    const size_t First = Line.find_first_not_of(' ');
    if (First == std::string::npos) continue;
    const std::string Body = Line.substr(First);
    if (Indent == String::npos) {
      if (Body.rfind("object " + Name + ":", 0) == 0) Indent = First;
      continue;
    }
    if (InChild) {
      if (First == ChildIndent && Body == "end") InChild = false;
      continue;
    }
    if (First == Indent && Body == "end") break;
    if (Body.rfind("object ", 0) == 0) {
      InChild = true;
      ChildIndent = First;
      continue;
    }
    Out.push_back(Body);
  }
  return Out;
}

// One case per registered tool class: a value or two away from the defaults, and text the tool's
// block must then hold (so a property missing from its table shows).
struct TToolCase {
  std::function<void(TZelCustomTool*, TChart*)> Change;
  std::vector<const char*> Written;
};

const std::map<String, TToolCase>& ToolCases() {
  static const std::map<String, TToolCase> Cases = {
      {"TCursorTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TCursorTool*>(T);
          X->SetSeries(C->GetSeriesList()->Get(0));
          X->SetStyle(TCursorToolStyle::cssVertical);
          X->SetScopeSize(7);
          X->GetPen()->SetWidth(2);
        },
        {"Series = Series1", "Style = cssVertical", "ScopeSize = 7", "Pen.Width = 2"}}},
      {"TDragMarksTool",
       {[](TZelCustomTool* T, TChart* C) {
          static_cast<TDragMarksTool*>(T)->SetSeries(C->GetSeriesList()->Get(0));
          T->SetActive(false);
        },
        {"Series = Series1", "Active = False"}}},
      {"TAxisArrowTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TAxisArrowTool*>(T);
          X->SetAxis(C->GetLeftAxis());
          X->SetPosition(TAxisArrowToolPosition::aaEnd);
          X->SetScrollPercent(25);
          X->GetBrush()->SetColor(0xFF102030);
        },
        {"AxisID = 2", "Position = aaEnd", "ScrollPercent = 25", "Brush.Color = "}}},
      {"TDrawLineTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TDrawLineTool*>(T);
          X->SetButton(TMouseButton::mbRight);
          X->GetLines()->AddLine(1, 2, 3, 4)->SetStyle(TDrawLineStyle::dlEllipse);
          X->GetLines()->AddLine(5, 6, 7, 8)->GetPen()->SetColor(0xFF00FF00);
        },
        {"Button = mbRight", "Lines = <", "Style = dlEllipse", "X1 = 3", "Y1 = 8", "Pen.Color = "}}},
      {"TNearestTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TNearestTool*>(T);
          X->SetStyle(TNearestToolStyle::hsDiamond);
          X->SetHintStyle(TSeriesMarksStyle::smsXY);
          X->GetLinePen()->SetVisible(false);
        },
        {"Style = hsDiamond", "HintStyle = smsXY", "LinePen.Visible = False"}}},
      {"TColorBandTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TColorBandTool*>(T);
          X->SetAxis(C->GetLeftAxis());
          X->SetStartValue(2);
          X->SetEndValue(8);
          X->SetTransparency(40);
          X->SetColor(0xFF336699);
        },
        {"AxisID = 2", "StartValue = 2", "EndValue = 8", "Transparency = 40", "Color = "}}},
      {"TColorLineTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TColorLineTool*>(T);
          X->SetAxis(C->GetBottomAxis());
          X->SetValue(4.5);
          X->SetDrawBehind(true);
        },
        {"AxisID = 0", "Value = 4.5", "DrawBehind = True"}}},
      {"TRotateTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TRotateTool*>(T);
          X->SetSpeed(80);
          X->SetStyle(TRotateToolStyles::rsElevation);
          X->GetPen()->SetVisible(true);
        },
        {"Speed = 80", "Style = rsElevation", "Pen.Visible = True"}}},
      {"TChartImageTool",
       {[](TZelCustomTool* T, TChart* C) {
          static_cast<TChartImageTool*>(T)->SetSeries(C->GetSeriesList()->Get(0));
          T->GetPen()->SetVisible(true);
        },
        {"Series = Series1", "Pen.Visible = True"}}},
      {"TMarksTipTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TMarksTipTool*>(T);
          X->SetMouseAction(TMarkToolMouseAction::mtmClick);
          X->SetHideDelay(900);
          X->GetFormat()->SetColor(0xFF102030);
          X->GetFormat()->SetCursor(crHandPoint);
        },
        {"MouseAction = mtmClick", "HideDelay = 900", "Format.Color = ", "Format.Cursor = -21"}}},
      {"TAnnotationTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TAnnotationTool*>(T);
          X->SetText("Peak");
          X->SetPosition(TAnnotationPosition::ppRightBottom);
          X->GetCallout()->SetXPosition(40);
          X->GetShape()->SetColor(0xFF112233);
          X->GetShape()->GetEmboss()->SetVisible(true);
          X->GetShape()->GetFrame()->SetWidth(2);
          X->SetCursor(crHandPoint);
        },
        {"Text = 'Peak'", "Position = ppRightBottom", "Callout.XPosition = 40", "Shape.Color = ",
         "Shape.Emboss.Visible = True", "Shape.Frame.Width = 2", "Cursor = -21"}}},
      {"TGridBandTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TGridBandTool*>(T);
          X->SetAxis(C->GetLeftAxis());
          X->GetBand1()->SetTransparency(30);
          X->GetBand2()->SetColor(0xFF445566);
        },
        {"AxisID = 2", "Band1.Transparency = 30", "Band2.Color = "}}},
      {"TAxisScrollTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TAxisScrollTool*>(T);
          X->SetAxis(C->GetBottomAxis());
          X->SetLimit(TAxisScrollLimit::slBoth);
          X->SetScrollInverted(true);
        },
        {"AxisID = 0", "Limit = slBoth", "ScrollInverted = True"}}},
      {"TRectangleTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TRectangleTool*>(T);
          X->SetAllowResize(false);
          X->SetWidth(120);
          X->GetShape()->SetTransparency(30);
          X->GetShape()->GetEmboss()->SetSize(2);
          X->SetCursor(0);
        },
        {"AllowResize = False", "Width = 120", "Shape.Transparency = 30", "Shape.Emboss.HorizSize = 2",
         "Cursor = 0"}}},
      {"TClipSeriesTool",
       {[](TZelCustomTool* T, TChart* C) {
          static_cast<TClipSeriesTool*>(T)->SetSeries(C->GetSeriesList()->Get(0));
        },
        {"Series = Series1"}}},
      {"TFullScreenTool",
       {[](TZelCustomTool* T, TChart*) { static_cast<TFullScreenTool*>(T)->SetReleaseKey(13); }, {"ReleaseKey = 13"}}},
      {"TRepaintMonitor",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TRepaintMonitor*>(T);
          X->SetZ(3);
          X->GetShape()->SetColor(0xFF00FF00);
          X->GetShape()->SetTransparency(0);
        },
        {"Z = 3", "Shape.Color = -16711936", "Shape.Transparency = 0"}}},
      {"TAxisScrollBarTool",
       {[](TZelCustomTool* T, TChart* C) {
          auto* X = static_cast<TAxisScrollBarTool*>(T);
          X->SetAxis(C->GetLeftAxis());
          X->SetMargin(9);
          X->SetArrows(false);
          X->GetThumb()->SetSize(30);
        },
        {"AxisID = 2", "Margin = 9", "Arrows = False", "Thumb.Size = 30"}}},
      {"TPageNumTool",
       {[](TZelCustomTool* T, TChart*) {
          auto* X = static_cast<TPageNumTool*>(T);
          X->SetFormat("%d / %d");
          X->SetButtonWidth(20);
          X->SetTextAlignment(TAlignment::taLeftJustify);
          X->SetAutoSize(false);
        },
        {"Format = '%d / %d'", "ButtonWidth = 20", "TextAlignment = taLeftJustify", "AutoSize = False"}}},
  };
  return Cases;
}

std::vector<const TClass*> RegisteredTools() {
  std::vector<const TClass*> Out;
  TZelToolTypes* Types = CheckZelToolTypes();
  for (std::int32_t I = 0; I < Types->Count(); ++I) Out.push_back(Types->Get(I));
  return Out;
}

TChart* NewChart() {
  auto* C = Create<TChart>(nullptr);
  C->SetName("Chart1");
  AddToChart<TFastLineSeries>(C, "Series1");
  return C;
}

TEST(ToolStream, EveryRegisteredToolKeepsItsValuesThroughAWriteAndRead) {
  TOwned<TChart> A(NewChart());
  std::map<String, std::vector<const char*>> Expected;
  int N = 0;
  for (const TClass* Class : RegisteredTools()) {
    const auto Found = ToolCases().find(String(Class->Name));
    ASSERT_NE(Found, ToolCases().end()) << String(Class->Name) << " has no case";
    auto* Tool = dynamic_cast<TZelCustomTool*>(Class->Create(A.get()));
    ASSERT_NE(Tool, nullptr) << String(Class->Name);
    const String Name = "Tool" + std::to_string(++N);
    Tool->SetName(Name);
    Tool->SetParentChart(A.get());
    Found->second.Change(Tool, A.get());
    Expected[Name] = Found->second.Written;
  }

  const std::vector<Byte> First = Store(A.get());
  const String Text = AsText(First);
  for (const auto& [Name, Lines] : Expected) {
    String Own;
    for (const String& L : OwnLines(Text, Name)) Own += L + "\n";
    for (const char* Want : Lines) EXPECT_NE(Own.find(Want), String::npos) << Name << " lacks " << Want << "\n" << Own;
  }

  TOwned<TChart> B(Create<TChart>(nullptr));
  ReadBytes(First, B.get());
  const std::vector<Byte> Second = Store(B.get());
  EXPECT_EQ(Second, First) << Text << "\n---\n" << AsText(Second);
  ASSERT_EQ(B->GetTools()->GetCount(), A->GetTools()->GetCount());
  for (std::int32_t I = 0; I < A->GetTools()->GetCount(); ++I)
    EXPECT_EQ(B->GetTools()->Get(I)->ClassType(), A->GetTools()->Get(I)->ClassType());
}

// The annotation of a cursor and of a colour line, and the two edge lines of a colour band, are
// their tools' children: read back, they are the tools' own again, on the chart and the axis.
TEST(ToolStream, ChildrenOfToolsComeBackAsTheirAnnotationsAndEdgeLines) {
  TOwned<TChart> A(NewChart());
  auto* Cursor = AddToChart<TCursorTool>(A.get(), "Cursor1");
  Cursor->GetAxisAnnotation()->GetShape()->SetVisible(true);
  Cursor->GetAxisAnnotation()->SetZ(4);
  auto* Line = Create<TColorLineTool>(A.get());
  Line->SetName("Line1");
  Line->SetAxis(A->GetBottomAxis());
  Line->GetAnnotation()->SetText("Limit");
  auto* Band = Create<TColorBandTool>(A.get());
  Band->SetName("Band1");
  Band->SetAxis(A->GetLeftAxis());
  Band->SetStartValue(2);
  Band->SetEndValue(8);
  Band->GetStartLinePen()->SetWidth(3);
  Band->SetResizeEnd(false);
  Band->GetEndLine()->GetAnnotation()->SetText("Top");

  const std::vector<Byte> First = Store(A.get());
  TOwned<TChart> B(Create<TChart>(nullptr));
  ReadBytes(First, B.get());
  EXPECT_EQ(Store(B.get()), First) << AsText(First);
  ASSERT_EQ(B->GetTools()->GetCount(), 3) << "children stay out of the chart's tool list";

  auto* BCursor = dynamic_cast<TCursorTool*>(B->GetTools()->Get(0));
  ASSERT_NE(BCursor, nullptr);
  TAnnotationTool* Ann = BCursor->ExistingAxisAnnotation();
  ASSERT_NE(Ann, nullptr);
  EXPECT_EQ(Ann->GetComponentOwner(), BCursor);
  EXPECT_EQ(Ann->GetParentChart(), B.get());
  EXPECT_TRUE(Ann->GetShape()->GetVisible());
  EXPECT_EQ(Ann->GetZ(), 4);
  EXPECT_EQ(BCursor->GetComponentCount(), 1) << "the annotation it had is not kept beside the read one";

  auto* BLine = dynamic_cast<TColorLineTool*>(B->GetTools()->Get(1));
  ASSERT_NE(BLine, nullptr);
  ASSERT_NE(BLine->ExistingAnnotation(), nullptr);
  EXPECT_EQ(BLine->ExistingAnnotation()->GetComponentOwner(), BLine);
  EXPECT_EQ(BLine->ExistingAnnotation()->GetParentChart(), B.get());
  EXPECT_EQ(BLine->ExistingAnnotation()->GetText(), "Limit");

  auto* BBand = dynamic_cast<TColorBandTool*>(B->GetTools()->Get(2));
  ASSERT_NE(BBand, nullptr);
  for (TColorLineTool* Edge : {BBand->GetStartLine(), BBand->GetEndLine()}) {
    EXPECT_EQ(Edge->GetComponentOwner(), BBand);
    EXPECT_EQ(Edge->GetAxis(), B->GetLeftAxis());
    EXPECT_EQ(Edge->GetChart(), B.get());
    EXPECT_EQ(Edge->GetParentChart(), nullptr) << "drawn by the band, not by the chart";
    EXPECT_TRUE(Edge->GetDragRepaint());
    EXPECT_TRUE(static_cast<bool>(Edge->OnDragLine)) << "a dragged edge moves the band";
  }
  EXPECT_DOUBLE_EQ(BBand->GetStartLine()->GetValue(), 2);
  EXPECT_DOUBLE_EQ(BBand->GetEndLine()->GetValue(), 8);
  EXPECT_EQ(BBand->GetStartLinePen()->GetWidth(), 3);
  EXPECT_FALSE(BBand->GetResizeEnd());
  EXPECT_TRUE(BBand->GetResizeStart());
  ASSERT_NE(BBand->GetEndLine()->ExistingAnnotation(), nullptr);
  EXPECT_EQ(BBand->GetEndLine()->ExistingAnnotation()->GetText(), "Top");
  EXPECT_EQ(BBand->GetEndLine()->ExistingAnnotation()->GetParentChart(), B.get());

  // Dragging the read band's end line resizes the band.
  BBand->GetEndLine()->SetValue(9);
  BBand->GetEndLine()->OnDragLine(BBand->GetEndLine());
  EXPECT_DOUBLE_EQ(BBand->GetEndValue(), 9);
}

// Streams whose tools hold the wrong children: a clear error that names the tool, nothing of the
// stream kept (the tests run under the address sanitizer), and a chart that reads a good stream
// afterwards. Children left out are no damage: the tool keeps what it had.
TEST(ToolStream, DamagedChildrenOfToolsGiveAClearErrorOrKeepWhatTheToolHad) {
  const String Head = "object Chart1: TChart\n";
  const String Good = Head + "  object Good1: TColorLineTool\n  end\nend\n";
  struct TCase {
    const char* What;
    String Body;
    const char* Error;  // nullptr: read without error
  };
  const TCase Cases[] = {
      {"a cursor with a colour line as its child",
       "  object Cursor1: TCursorTool\n    object : TColorLineTool\n    end\n  end\n", "not a TAnnotationTool"},
      {"a cursor with two annotations",
       "  object Cursor1: TCursorTool\n    object : TAnnotationTool\n    end\n    object : TAnnotationTool\n    end\n  end\n",
       "at most 1"},
      {"a colour line with a series as its child",
       "  object Line1: TColorLineTool\n    object S1: TFastLineSeries\n    end\n  end\n", "not a TAnnotationTool"},
      {"a band with an annotation among its lines",
       "  object Band1: TColorBandTool\n    object : TColorLineTool\n    end\n    object : TAnnotationTool\n    end\n  end\n",
       "not a TColorLineTool"},
      {"a band with three lines",
       "  object Band1: TColorBandTool\n    object : TColorLineTool\n    end\n    object : TColorLineTool\n    end\n"
       "    object : TColorLineTool\n    end\n  end\n",
       "at most 2"},
      {"a band read whole, then a tool of an unknown class",
       "  object Band1: TColorBandTool\n    AxisID = 2\n    object : TColorLineTool\n      Value = 1\n    end\n"
       "    object : TColorLineTool\n      Value = 3\n    end\n  end\n  object X1: TNoSuchTool\n  end\n",
       "TNoSuchTool"},
      {"a colour line and a cursor with their annotations, then a tool of an unknown class",
       "  object Line1: TColorLineTool\n    object : TAnnotationTool\n    end\n  end\n"
       "  object Cursor1: TCursorTool\n    object : TAnnotationTool\n    end\n  end\n  object X1: TNoSuchTool\n  end\n",
       "TNoSuchTool"},
      {"a tool that streams no children, with one",
       "  object Rotate1: TRotateTool\n    object : TAnnotationTool\n    end\n  end\n", "holds no children"},
      {"a cursor's annotation with a child of its own",
       "  object Cursor1: TCursorTool\n    object : TAnnotationTool\n      object : TCursorTool\n      end\n    end\n  end\n",
       "holds no children"},
      {"a band without its lines", "  object Band1: TColorBandTool\n    AxisID = 2\n    EndValue = 5\n  end\n", nullptr},
      {"a band with its start line only",
       "  object Band1: TColorBandTool\n    AxisID = 2\n    object : TColorLineTool\n      ClickTolerance = 7\n    end\n  end\n",
       nullptr},
      {"a cursor without its annotation", "  object Cursor1: TCursorTool\n  end\n", nullptr},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TOwned<TChart> Chart(Create<TChart>(nullptr));
    if (C.Error) {
      try {
        ReadText(Head + C.Body + "end\n", Chart.get());
        ADD_FAILURE() << "read without error";
      } catch (const Exception& E) {
        EXPECT_NE(String(E.what()).find(C.Error), String::npos) << E.what();
      }
      EXPECT_EQ(Chart->GetTools()->GetCount(), 0);
      ReadText(Good, Chart.get());
      EXPECT_EQ(Chart->GetTools()->GetCount(), 1);
      continue;
    }
    ReadText(Head + C.Body + "end\n", Chart.get());
    ASSERT_EQ(Chart->GetTools()->GetCount(), 1);
    if (auto* Band = dynamic_cast<TColorBandTool*>(Chart->GetTools()->Get(0))) {
      for (TColorLineTool* Edge : {Band->GetStartLine(), Band->GetEndLine()}) {
        EXPECT_EQ(Edge->GetAxis(), Chart->GetLeftAxis());
        EXPECT_EQ(Edge->GetChart(), Chart.get());
        EXPECT_TRUE(static_cast<bool>(Edge->OnDragLine));
      }
      EXPECT_DOUBLE_EQ(Band->GetEndLine()->GetValue(), Band->GetEndValue());
    }
    // What was read writes and reads again to the same bytes.
    const std::vector<Byte> First = Store(Chart.get());
    TOwned<TChart> Again(Create<TChart>(nullptr));
    ReadBytes(First, Again.get());
    EXPECT_EQ(Store(Again.get()), First) << AsText(First);
  }
}

// A stream of tools with children cut at every byte: each read fails with a read error, frees
// every tool and child it made (the tests run under the address sanitizer) and leaves the chart
// empty and ready for the next read.
TEST(ToolStream, EveryCutOfToolsWithChildrenFailsCleanly) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  auto* Cursor = Create<TCursorTool>(A.get());
  Cursor->SetParentChart(A.get());
  Cursor->GetAxisAnnotation()->SetZ(2);
  auto* Line = Create<TColorLineTool>(A.get());
  Line->SetAxis(A->GetBottomAxis());
  Line->GetAnnotation()->SetText("L");
  auto* Band = Create<TColorBandTool>(A.get());
  Band->SetAxis(A->GetLeftAxis());
  Band->GetEndLine()->GetAnnotation()->SetText("E");
  const std::vector<Byte> Full = Store(A.get());
  TOwned<TChart> B(Create<TChart>(nullptr));
  for (std::size_t N = 0; N < Full.size(); ++N) {
    const std::vector<Byte> Cut(Full.begin(), Full.begin() + static_cast<std::ptrdiff_t>(N));
    EXPECT_THROW(ReadBytes(Cut, B.get()), EReadError) << "cut at " << N;
    ASSERT_EQ(B->GetTools()->GetCount(), 0) << "cut at " << N;
  }
  ReadBytes(Full, B.get());
  EXPECT_EQ(Store(B.get()), Full);
}

// What a tool at its defaults still writes besides its class and name: an annotation's text is
// its name (given outside loading) unless the tool makes its text at every paint, and a new marks tip holds a mouse delay other than the
// stored default.
const std::map<String, std::set<String>> DefaultExtras = {
    {"TAnnotationTool", {"Text = 'Tool1'"}},
    // A rectangle's box where its constructor put it is not written.
    {"TRectangleTool", {"Text = 'Tool1'"}},
    {"TMarksTipTool", {"MouseDelay = 0"}},
    // A scroll bar on a chart takes the chart's bottom axis.
    {"TAxisScrollBarTool", {"AxisID = 0"}},
};

TEST(ToolStream, AToolAtItsDefaultsWritesOnlyItsClassAndName) {
  for (const TClass* Class : RegisteredTools()) {
    SCOPED_TRACE(String(Class->Name));
    TOwned<TChart> C(NewChart());
    auto* Tool = dynamic_cast<TZelCustomTool*>(Class->Create(C.get()));
    ASSERT_NE(Tool, nullptr);
    Tool->SetName("Tool1");
    Tool->SetParentChart(C.get());
    C->SetBounds(0, 0, 300, 200);
    TOwned<TBitmap> Painted(PaintToBitmap(C.get()));  // texts made at a paint are not written
    const String Text = AsText(Store(C.get()));
    std::set<String> Extra;
    const auto E = DefaultExtras.find(String(Class->Name));
    if (E != DefaultExtras.end()) Extra = E->second;
    const std::vector<String> Own = OwnLines(Text, "Tool1");
    EXPECT_EQ(std::set<String>(Own.begin(), Own.end()), Extra) << Text;
  }
}

// Names that reach a value another property writes (a pen's visibility, a brush's gradient, the
// thumb's size, the tip's font) are read, and the value is written once, under its owner.
TEST(ToolStream, NamesOfValuesWrittenElsewhereAreReadAndNotWrittenAgain) {
  struct TAliasCase {
    const char* Class;
    const char* Line;
    std::function<bool(TZelCustomTool*)> Took;
    const char* WrittenAs;
  };
  const TAliasCase Cases[] = {
      {"TNearestTool", "DrawLine = False",
       [](TZelCustomTool* T) { return !static_cast<TNearestTool*>(T)->GetLinePen()->GetVisible(); },
       "LinePen.Visible = False"},
      {"TAxisScrollBarTool", "ThumbSize = 12",
       [](TZelCustomTool* T) { return static_cast<TAxisScrollBarTool*>(T)->GetThumb()->GetSize() == 12; },
       "Thumb.Size = 12"},
      {"TAxisScrollBarTool", "ThumbBrush.Color = -16776961",
       [](TZelCustomTool* T) { return static_cast<TAxisScrollBarTool*>(T)->GetThumb()->GetBrush()->GetColor() == 0xFF0000FF; },
       "Thumb.Brush.Color = -16776961"},
      {"TColorBandTool", "Gradient.Visible = True",
       [](TZelCustomTool* T) { return T->GetBrush()->HasGradient(); }, "Brush.Gradient.Visible = True"},
      {"TMarksTipTool", "Font.Color = -16776961",
       [](TZelCustomTool* T) { return static_cast<TMarksTipTool*>(T)->GetFormat()->GetFont()->GetColor() == 0xFF0000FF; },
       "Format.Font.Color = -16776961"},
      {"TPageNumTool", "EnabledButton.StartColor = -65536",
       [](TZelCustomTool* T) {
         return static_cast<TPageNumTool*>(T)->GetEnabledBrush()->GetGradient()->GetStartColor() == 0xFFFF0000;
       },
       "EnabledBrush.Gradient.StartColor = -65536"},
      // An annotation's text, cursor and frame reach its shape and are written once, under the
      // tool's names (the frame under the shape's "Frame").
      {"TAnnotationTool", "Shape.Text = 'Hi'",
       [](TZelCustomTool* T) { return static_cast<TAnnotationTool*>(T)->GetShape()->GetText() == "Hi"; },
       "Text = 'Hi'"},
      {"TRectangleTool", "Shape.Cursor = 0",
       [](TZelCustomTool* T) { return static_cast<TRectangleTool*>(T)->GetCursor() == 0; }, "Cursor = 0"},
      {"TAnnotationTool", "Shape.Pen.Width = 3",
       [](TZelCustomTool* T) { return static_cast<TAnnotationTool*>(T)->GetShape()->GetFrame()->GetWidth() == 3; },
       "Shape.Frame.Width = 3.0s"},
  };
  for (const TAliasCase& C : Cases) {
    SCOPED_TRACE(C.Line);
    const String Text = String("object Chart1: TChart\n  object Tool1: ") + C.Class + "\n    " + C.Line + "\n  end\nend\n";
    TOwned<TChart> Chart(Create<TChart>(nullptr));
    ReadText(Text, Chart.get());
    ASSERT_EQ(Chart->GetTools()->GetCount(), 1);
    EXPECT_TRUE(C.Took(Chart->GetTools()->Get(0)));
    const std::vector<String> Own = OwnLines(AsText(Store(Chart.get())), "Tool1");
    EXPECT_NE(std::find(Own.begin(), Own.end(), String(C.WrittenAs)), Own.end()) << C.WrittenAs;
    EXPECT_EQ(std::find(Own.begin(), Own.end(), String(C.Line)), Own.end()) << "written twice";
  }
}

// A band's edges: their values are the band's StartValue and EndValue, and their pens travel with
// the lines. A paint that moves an edge into the axis range changes nothing that is written.
TEST(ToolStream, ABandsEdgesAreWrittenOnceAndSurviveAPaintOutsideTheAxisRange) {
  TOwned<TChart> A(NewChart());
  A->SetBounds(0, 0, 300, 200);
  auto* Band = AddToChart<TColorBandTool>(A.get(), "Band1");
  Band->SetAxis(A->GetLeftAxis());
  Band->SetStartValue(90);
  Band->SetEndValue(120);
  Band->GetStartLinePen()->SetWidth(3);
  TOwned<TBitmap> Painted(PaintToBitmap(A.get()));
  const std::vector<Byte> First = Store(A.get());
  const String Text = AsText(First);
  EXPECT_EQ(Text.find("StartLinePen"), String::npos) << Text;
  EXPECT_NE(Text.find("      Pen.Width = 3"), String::npos) << "the start line writes its pen\n" << Text;
  EXPECT_EQ(Text.find("      Value ="), String::npos) << "an edge's value is the band's\n" << Text;

  TOwned<TChart> B(ReadInto(First, 300, 200));
  auto* BBand = dynamic_cast<TColorBandTool*>(B->GetTools()->Get(0));
  ASSERT_NE(BBand, nullptr);
  EXPECT_EQ(BBand->GetStartLine()->GetValue(), 90);
  EXPECT_EQ(BBand->GetEndLine()->GetValue(), 120);
  EXPECT_EQ(BBand->GetStartLinePen()->GetWidth(), 3);
  TOwned<TBitmap> PaintedB(PaintToBitmap(B.get()));
  EXPECT_EQ(AsText(Store(B.get())), Text);

  // A stream without the lines still gives the edges their pens.
  TOwned<TChart> C(Create<TChart>(nullptr));
  ReadText("object Chart1: TChart\n  object Band1: TColorBandTool\n    StartLinePen.Width = 4\n  end\nend\n", C.get());
  EXPECT_EQ(static_cast<TColorBandTool*>(C->GetTools()->Get(0))->GetStartLinePen()->GetWidth(), 4);
}

}  // namespace
}  // namespace zel::testing
