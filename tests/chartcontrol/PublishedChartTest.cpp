// What the chart, its series and its tools write for their published properties: a part at its
// construction values writes nothing beyond what its owner's construction gives it, a value set
// comes back from a fresh chart, and the names kept for older streams are read and not written.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "platform/Classes.h"
#include "platform/Published.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/Spline.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/DragMarks.h"
#include "zelgraph/tools/DrawLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/PageNumber.h"
#include "zelgraph/tools/RotateTool.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/NearestPoint.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/ScrollBar.h"
#include "platform/Forms.h"
#include "zelgraph/chart/Registries.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/PublishedWalk.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

TOwned<TChart> NewChart() {
  TOwned<TChart> C(Create<TChart>(nullptr));
  C->SetName("Chart1");
  C->SetBounds(0, 0, 320, 240);
  return C;
}

template <typename T>
T* Part(TChart* C) {
  auto* X = dynamic_cast<T*>(C->FindComponent("X"));
  EXPECT_NE(X, nullptr) << "no component X of the expected class";
  return X;
}

// The lines written for the component X of the chart, without its object/end lines.
String LinesOfX(TChart* C) {
  std::istringstream In(AsText(Store(C)));
  String Line, Out;
  bool Inside = false;
  std::size_t Indent = 0;
  while (std::getline(In, Line)) {
    const auto First = Line.find_first_not_of(' ');
    const String Trimmed = First == String::npos ? String() : Line.substr(First);
    if (!Inside && Trimmed.rfind("object X:", 0) == 0) {
      Inside = true;
      Indent = First;
      continue;
    }
    if (Inside && Trimmed == "end" && First == Indent) break;
    if (Inside) Out += Trimmed + "\n";
  }
  return Out;
}

// A series added to the chart and left as its constructor made it writes only these lines.
TEST(PublishedChartDefaults, SeriesAtTheirConstructionValuesWriteOnlyWhatTheyMustKeep) {
  struct TCase {
    const char* Name;
    std::function<void(TChart*)> Add;
    String Expected;
  };
  const std::vector<TCase> Cases = {
      // The area brush's back colour is the series' construction value; only the drawn area
      // (whose streamed default is off) must be kept.
      {"area series", [](TChart* C) { AddToChart<TAreaSeries>(C, "X")->SetSeriesColor(0xFF102030); },
       "SeriesColor = -15720400\nDrawArea = True\n"},
      // The box starts at (10, 10), 50 x 50, at a custom position: only its text (its name) is kept.
      {"series fed by the smoothing function",
       [](TChart* C) {
         auto* S = AddToChart<TFastLineSeries>(C, "X");
         S->SetSeriesColor(0xFF102030);
         auto* F = Create<TSmoothingFunction>(C);
         F->SetName("Smooth");
         S->SetFunction(F);
       },
       // The line pen follows the series colour (its default), so only the series writes it;
       // the function at its defaults writes nothing.
       "SeriesColor = -15720400\nobject Smooth: TSmoothingFunction\nend\n"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TOwned<TChart> C = NewChart();
    Case.Add(C.get());
    EXPECT_EQ(LinesOfX(C.get()), Case.Expected);
  }
}

// Titles, the right wall and the legend's title made by reading them write nothing while they
// keep the values their chart gave them.
TEST(PublishedChartDefaults, PartsMadeOnFirstUseWriteNothingAtTheirDefaults) {
  TOwned<TChart> Fresh = NewChart();
  TOwned<TChart> C = NewChart();
  C->GetTitle();
  C->GetSubTitle();
  C->GetFoot();
  C->GetSubFoot();
  C->GetRightWall();
  C->GetLegend()->GetTitle();
  EXPECT_EQ(AsText(Store(C.get())), AsText(Store(Fresh.get())));
}

// A value moved off its default is written and comes back in a fresh chart; the probe tells the
// value as text, and must differ from a fresh part's so that the case shows something.
TEST(PublishedChartRoundTrip, ValuesSetComeBackFromAFreshChart) {
  struct TCase {
    const char* Name;
    std::function<void(TChart*)> Add;     // adds X at its defaults
    std::function<void(TChart*)> Change;  // moves it off them
    std::function<String(TChart*)> Probe;
  };
  auto Str = [](auto V) {
    std::ostringstream S;
    S << V;
    return S.str();
  };
  auto AddRect = [](TChart* C) { AddToChart<TRectangleTool>(C, "X"); };
  auto AddArea = [](TChart* C) { AddToChart<TAreaSeries>(C, "X"); };
  const std::vector<TCase> Cases = {
      {"rectangle moved back onto its default corner and sized",
       AddRect,
       [](TChart* C) {
         auto* T = Part<TRectangleTool>(C);
         T->SetLeft(30);
         T->SetTop(10);
         T->SetWidth(80);
         T->SetHeight(50);
       },
       [&](TChart* C) {
         auto* T = Part<TRectangleTool>(C);
         return Str(T->GetLeft()) + "," + Str(T->GetTop()) + "," + Str(T->GetWidth()) + "," +
                Str(T->GetHeight());
       }},
      {"rectangle moved to the origin",
       AddRect,
       [](TChart* C) {
         Part<TRectangleTool>(C)->SetLeft(0);
         Part<TRectangleTool>(C)->SetTop(0);
       },
       [&](TChart* C) { return Str(Part<TRectangleTool>(C)->GetLeft()) + "," + Str(Part<TRectangleTool>(C)->GetTop()); }},
      {"annotation at a custom place with a fixed size",
       [](TChart* C) { AddToChart<TAnnotationTool>(C, "X"); },
       [](TChart* C) {
         auto* T = Part<TAnnotationTool>(C);
         T->GetShape()->SetCustomPosition(true);
         T->SetLeft(40);
         T->SetTop(25);
         T->SetWidth(70);
         T->SetHeight(30);
       },
       [&](TChart* C) {
         auto* T = Part<TAnnotationTool>(C);
         return Str(T->GetAutoSize()) + ";" + Str(T->GetLeft()) + "," + Str(T->GetTop()) + "," +
                Str(T->GetWidth()) + "," + Str(T->GetHeight());
       }},
      {"area brush back colour",
       AddArea,
       [](TChart* C) { Part<TAreaSeries>(C)->GetAreaChartBrush()->SetBackColor(0xFF00FF00); },
       [&](TChart* C) { return Str(Part<TAreaSeries>(C)->GetAreaChartBrush()->GetBackColor()); }},
      {"area series colour",
       AddArea,
       [](TChart* C) { Part<TAreaSeries>(C)->SetSeriesColor(0xFF405060); },
       [&](TChart* C) { return Str(Part<TAreaSeries>(C)->GetSeriesColor()); }},
      {"area brush kind",
       AddArea,
       [](TChart* C) { Part<TAreaSeries>(C)->SetAreaBrushStyle(TBrushKind::None); },
       [&](TChart* C) { return Str(static_cast<int>(Part<TAreaSeries>(C)->GetAreaBrush())); }},
      // Stored defaults that construction does not leave: the stored default itself comes back.
      {"area drawn without its area", AddArea, [](TChart* C) { Part<TAreaSeries>(C)->SetDrawArea(false); },
       [&](TChart* C) { return Str(Part<TAreaSeries>(C)->GetDrawArea()); }},
      {"marks tip delay at the stored default", [](TChart* C) { AddToChart<TMarksTipTool>(C, "X"); },
       [](TChart* C) { Part<TMarksTipTool>(C)->SetMouseDelay(500); },
       [&](TChart* C) { return Str(Part<TMarksTipTool>(C)->GetMouseDelay()); }},
      {"band line dragged without repainting", [](TChart* C) { AddToChart<TColorBandTool>(C, "X"); },
       [](TChart* C) { Part<TColorBandTool>(C)->GetStartLine()->SetDragRepaint(false); },
       [&](TChart* C) { return Str(Part<TColorBandTool>(C)->GetStartLine()->GetDragRepaint()); }},
      {"legend symbol width",
       [](TChart*) {},
       [](TChart* C) { C->GetLegend()->SetColorWidth(35); },
       [&](TChart* C) { return Str(C->GetLegend()->GetColorWidth()); }},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TOwned<TChart> Fresh = NewChart();
    Case.Add(Fresh.get());
    TOwned<TChart> C = NewChart();
    Case.Add(C.get());
    Case.Change(C.get());
    const String Set = Case.Probe(C.get());
    ASSERT_NE(Set, Case.Probe(Fresh.get())) << "the change leaves the default";
    const std::vector<Byte> Bytes = Store(C.get());
    TOwned<TChart> Back = ReadInto(Bytes, 320, 240);
    EXPECT_EQ(Case.Probe(Back.get()), Set) << AsText(Bytes);
    EXPECT_EQ(AsText(Store(Back.get())), AsText(Bytes));
  }
}

// Values that two names reach are written under one of them; the other is still read.
TEST(PublishedChartRoundTrip, SecondNamesAreReadAndNotWritten) {
  struct TCase {
    const char* Name;
    String Lines;        // the lines of X in an older stream
    String Class;
    std::function<String(TChart*)> Probe;
    String Expected;
    const char* Unwritten;
  };
  const std::vector<TCase> Cases = {
      // A band's edges are written as its lines; a stream that holds no lines still sets them.
      {"band edge", "ResizeEnd = False", "TColorBandTool",
       [](TChart* C) { return String(Part<TColorBandTool>(C)->GetResizeEnd() ? "resizes" : "fixed"); }, "fixed",
       "ResizeEnd"},
      {"area brush kind", "AreaBrush = None", "TAreaSeries",
       [](TChart* C) { return String(Part<TAreaSeries>(C)->GetAreaChartBrush()->GetKind() == TBrushKind::None ? "none" : "other"); },
       "none", "AreaBrush"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TOwned<TChart> C = NewChart();
    ReadText("object Chart1: TChart\n  object X: " + Case.Class + "\n    " + Case.Lines + "\n  end\nend\n", C.get());
    EXPECT_EQ(Case.Probe(C.get()), Case.Expected);
    const String Written = AsText(Store(C.get()));
    EXPECT_EQ(Written.find(String(Case.Unwritten) + " ="), String::npos) << Written;
  }
}

// Every value a class publishes, given in a stream, is written back under its name. Two values
// are tried for each; one may be the default (then nothing is written and the stream is the
// same as a fresh chart's), but at least one must come back.
TEST(PublishedChartRoundTrip, EveryPublishedValueIsReadAndWrittenUnderItsName) {
  struct TTarget {
    const char* Label;
    const TClass* Class;
    String Prefix;                              // the path of the object in the chart's lines
    std::function<String(const String&)> Wrap;  // the chart text around one line
  };
  auto ChartLine = [](const String& L) { return "object Chart1: TChart\n  " + L + "\nend\n"; };
  auto Child = [](const char* Class) {
    return [Class](const String& L) {
      return "object Chart1: TChart\n  object X: " + String(Class) + "\n    " + L + "\n  end\nend\n";
    };
  };
  auto Function = [](const String& L) {
    return String("object Chart1: TChart\n  object S: TFastLineSeries\n    object X: TSmoothingFunction\n      ") + L +
           "\n    end\n  end\nend\n";
  };
  std::vector<TTarget> Targets = {
      {"legend", TChartLegend::StaticClass(), "Legend.", ChartLine},
      {"legend symbol", TLegendSymbol::StaticClass(), "Legend.Symbol.", ChartLine},
      {"legend title", TLegendTitle::StaticClass(), "Legend.Title.", ChartLine},
      {"title", TChartTitle::StaticClass(), "Title.", ChartLine},
      {"foot", TChartFootTitle::StaticClass(), "Foot.", ChartLine},
      {"back wall", TChartBackWall::StaticClass(), "BackWall.", ChartLine},
      {"left wall", TChartLeftWall::StaticClass(), "LeftWall.", ChartLine},
      {"bottom wall", TChartBottomWall::StaticClass(), "BottomWall.", ChartLine},
      {"right wall", TChartRightWall::StaticClass(), "RightWall.", ChartLine},
      {"smoothing function", TSmoothingFunction::StaticClass(), "", Function},
  };
  for (const TClass* C :
       {TFastLineSeries::StaticClass(), TAreaSeries::StaticClass(), TAxisScrollTool::StaticClass(),
        TAxisScrollBarTool::StaticClass(), TAxisArrowTool::StaticClass(), TCursorTool::StaticClass(),
        TNearestTool::StaticClass(), TColorLineTool::StaticClass(), TColorBandTool::StaticClass(),
        TGridBandTool::StaticClass(), TMarksTipTool::StaticClass(), TDragMarksTool::StaticClass(),
        TAnnotationTool::StaticClass(), TRectangleTool::StaticClass(), TClipSeriesTool::StaticClass(),
        TFullScreenTool::StaticClass(), TRepaintMonitor::StaticClass(), TPageNumTool::StaticClass(),
        TDrawLineTool::StaticClass(), TRotateTool::StaticClass(), TChartImageTool::StaticClass()})
    Targets.push_back({C->Name, C, "", Child(C->Name)});
  // Names that reach a value written under another name, and values a part makes itself at
  // every draw (a title's size, a page number's or repaint monitor's text).
  const std::vector<String> SecondNames = {
      "Legend.ColorWidth", "TAreaSeries.AreaBrush", "TNearestTool.DrawLine", "TAxisScrollBarTool.ThumbSize",
      "TColorBandTool.ResizeEnd", "TColorBandTool.ResizeStart", "Title.AutoSize", "Foot.AutoSize", "TRepaintMonitor.Text", "TPageNumTool.Text",
};
  for (const TTarget& T : Targets) {
    for (const TPropInfo* P : PublishedPropsOf(T.Class)) {
      std::vector<String> Values;
      switch (P->Kind) {
        case TPropKind::pkBoolean: Values = {"True", "False"}; break;
        case TPropKind::pkInteger: Values = {"7", "9"}; break;
        case TPropKind::pkSingle: Values = {"2.5s", "3.5s"}; break;
        case TPropKind::pkFloat: Values = {"2.5", "3.5"}; break;
        case TPropKind::pkString: Values = {"'ab'", "'cd'"}; break;
        case TPropKind::pkEnum:
          if (P->Enum->Names.size() < 2) continue;
          Values = {P->Enum->Names[0], P->Enum->Names[1]};
          break;
        default: continue;
      }
      const String Name = T.Prefix + P->Name;
      const String Key = (T.Prefix.empty() ? String(T.Class->Name) + "." : String()) + Name;
      if (std::find(SecondNames.begin(), SecondNames.end(), Key) != SecondNames.end()) continue;
      SCOPED_TRACE(String(T.Label) + ": " + Name);
      bool Came = false;
      for (const String& V : Values) {
        TOwned<TChart> C = NewChart();
        ASSERT_NO_THROW(ReadText(T.Wrap(Name + " = " + V), C.get()));
        const String Out = AsText(Store(C.get()));
        if (Out.find(Name + " = " + V + "\n") != String::npos) Came = true;
      }
      EXPECT_TRUE(Came) << "neither " << Values[0] << " nor " << Values[1] << " was written back";
    }
  }
}

// Every series kind, registered function and registered tool, one of each on one chart.
std::vector<const TClass*> SeriesKinds() { return {TFastLineSeries::StaticClass(), TAreaSeries::StaticClass()}; }
std::vector<const TClass*> FunctionKinds() {
  std::vector<const TClass*> Out;
  for (std::int32_t I = 0; I < CheckZelSeriesTypes()->Count(); ++I)
    if (const TClass* F = CheckZelSeriesTypes()->Get(I)->FunctionClass)
      if (std::find(Out.begin(), Out.end(), F) == Out.end()) Out.push_back(F);
  return Out;
}
std::vector<const TClass*> ToolKinds() {
  std::vector<const TClass*> Out;
  for (std::int32_t I = 0; I < CheckZelToolTypes()->Count(); ++I) Out.push_back(CheckZelToolTypes()->Get(I));
  return Out;
}

// Adds a fresh component of the class (a series, a function on a series of its own, or a tool)
// named X to the chart.
void AddFresh(TChart* C, const TClass* Class, const String& Name) {
  TObject* O = Class->Create(C);
  if (auto* F = dynamic_cast<TZelFunction*>(O)) {
    F->SetName(Name);
    auto* S = AddToChart<TFastLineSeries>(C, Name + "Series");
    S->SetFunction(F);
  } else if (auto* E = dynamic_cast<TCustomChartElement*>(O)) {
    E->SetName(Name);
    E->SetParentChart(C);
  }
}

// A program looking at every part: every part made on first use is made.
void LookAtEverything(TChart* C) { WalkTree(C, nullptr, false); }

// Values the sweep leaves alone, each with why:
// - names: they are how the sweep finds a part again;
// - an axis's Minimum and Maximum: an automatic axis computes them from the data at every read;
// - a series colour set by the program stays written, even set back to the palette's colour;
// - the Left and Top of a shape child, of a chart's title or legend, or of the legend's title:
//   setting them places it at a custom position, a setter's side effect that setting it back does
//   not undo (the position itself comes back).
bool SweepSkips(const TPropInfo* P, const TPlace& Place) {
  const String N = P->Name;
  if (N == "Name") return true;
  const String Last = Place.Steps.empty() ? String() : Place.Steps.back().Prop;
  if ((N == "Minimum" || N == "Maximum") && (Last.find("Axis") != String::npos || Last == "SubAxes")) return true;
  if ((N == "Left" || N == "Top") && (Last == "Shape" || Last == "Title" || Place.Steps.size() == 1)) return true;
  if (N == "SeriesColor") return true;
  return false;
}

// Sets every value of the component (empty: the chart's own) that Limits reach to another value
// through its setter, reads the chart into a fresh chart on a fresh form and compares the value
// read; set back, the value is written no more than before. A value never written (stored
// neither before nor after) is not a value storage keeps.
// A kind must have values to try; a part of the chart may hold none that storage keeps.
void SweepComponent(TChart* C, const String& Component, const TWalkLimits& Limits, bool MustTry) {
  TObject* Root = Component.empty() ? static_cast<TObject*>(C) : C->FindComponent(Component);
  ASSERT_NE(Root, nullptr);
  int Tried = 0;
  WalkValues(Root, TPlace{Component, {}}, [&](TObject* O, const TPropInfo* P, const TPlace& Place) {
        if (SweepSkips(P, Place)) return;
        SCOPED_TRACE(Place.Text() + "." + P->Name);
        const std::vector<Byte> Before = ValueBytes(O, P);
        const bool StoredBefore = P->Stored(O);
        std::vector<Byte> Now = Before;
        for (const std::vector<Byte>& V : OtherValues(P, Before)) {
          try {
            SetValueBytes(O, P, V);
          } catch (const std::exception&) {
            // A value the setter refuses; a setter may refuse after storing part of it (a
            // sub-axis keeps the logarithmic flag that its master refuses), so the value is
            // set back before the next is tried.
            SetValueBytes(O, P, Before);
            continue;
          }
          Now = ValueBytes(O, P);
          if (Now != Before) break;
        }
        if (Now == Before) return;  // a value its part computes
        const bool StoredNow = P->Stored(O);
        if (StoredBefore || StoredNow) {
          ++Tried;
          const std::vector<Byte> Bytes = Store(C);
          TOwned<TForm> Form(TForm::CreateNew(nullptr));
          auto* Back = Create<TChart>(Form.get());
          Back->SetParent(Form.get());
          try {
            ReadBytes(Bytes, Back);
            TObject* O2 = ObjectAt(Back, Place);
            if (!O2)
              ADD_FAILURE() << "not there after reading";
            else
              EXPECT_EQ(ValueText(P, ValueBytes(O2, P)), ValueText(P, Now)) << "was " << ValueText(P, Before);
          } catch (const std::exception& E) {
            ADD_FAILURE() << "reading failed: " << E.what();
          }
        }
        SetValueBytes(O, P, Before);
        EXPECT_EQ(P->Stored(O), StoredBefore) << "set back to " << ValueText(P, Before);
      },
      true, Limits);
  if (MustTry) {
    EXPECT_GT(Tried, 0);
  }
}

// The published parts of the chart, each swept apart from the chart's own values.
const char* const ChartParts[] = {
    "BackImage", "BackWall", "Border", "BottomAxis", "BottomWall", "CustomAxes", "DepthAxis", "DepthTopAxis", "Emboss", "Foot", "Frame", "Gradient", "Hover", "LeftAxis", "LeftWall", "Legend", "Pages", "Panning", "RightAxis", "RightWall", "SeriesGroups", "Shadow", "SubFoot", "SubTitle", "Title", "TopAxis", "View3DOptions", "Zoom"};

// The sweeps, each a test of its own so that they run side by side and none runs long: a kind
// ("TChart" for the chart itself), then the path of parts it covers, joined by dots. A value is
// swept by the one sweep of its kind whose path holds it and is the longest: "TChart" sweeps the
// chart's own values, "TChart.TopAxis" the top axis less its groups swept apart (its title, its
// labels' format and its sub-axes). Every series kind, function and tool is swept on a chart of
// its own with its collections one item each and every part made.
std::vector<String> SweepKinds() {
  std::vector<String> Out = {"TChart"};
  for (const char* P : ChartParts) Out.push_back(String("TChart.") + P);
  for (const TClass* K : SeriesKinds()) Out.push_back(K->Name);
  Out.push_back("TSmoothingFunction");
  for (const char* T : {"TCursorTool", "TDragMarksTool", "TAxisArrowTool", "TDrawLineTool", "TNearestTool",
                        "TColorBandTool", "TColorLineTool", "TRotateTool", "TChartImageTool", "TMarksTipTool",
                        "TAnnotationTool", "TGridBandTool", "TAxisScrollTool", "TRectangleTool",
                        "TClipSeriesTool", "TFullScreenTool", "TRepaintMonitor", "TAxisScrollBarTool",
                        "TPageNumTool"})
    Out.push_back(T);
  // The large groups, swept apart: an axis's title, labels' format and sub-axes (each an axis
  // again), a series' marks, and the look of a selected legend, series or shape.
  const std::vector<String> AxisGroups = {"Title", "LabelsFormat", "SubAxes", "SubAxes.Title", "SubAxes.LabelsFormat"};
  const std::map<String, std::vector<String>> Apart = {
      {"TChart.BottomAxis", AxisGroups}, {"TChart.CustomAxes", AxisGroups}, {"TChart.DepthAxis", AxisGroups},
      {"TChart.DepthTopAxis", AxisGroups}, {"TChart.LeftAxis", AxisGroups}, {"TChart.RightAxis", AxisGroups},
      {"TChart.TopAxis", AxisGroups}, {"TChart.Legend", {"Title", "Selected"}},
      {"TFastLineSeries", {"Marks", "Selected"}}, {"TAreaSeries", {"Marks", "Selected"}},
      {"TAnnotationTool", {"Selected"}}, {"TRectangleTool", {"Selected"}}, {"TRepaintMonitor", {"Selected"}},
      {"TPageNumTool", {"Selected"}}};
  for (const auto& [Whole, Groups] : Apart)
    for (const String& G : Groups) Out.push_back(Whole + "." + G);
  return Out;
}

// A sweep's kind and path, split at its dots.
TPartPath SplitSweep(const String& Sweep) {
  TPartPath Out;
  std::istringstream In(Sweep);
  for (String Name; std::getline(In, Name, '.');) Out.push_back(Name);
  return Out;
}

// Where the sweep goes: its path, less the longer paths of its kind that other sweeps cover.
TWalkLimits SweepLimits(const String& Sweep) {
  const TPartPath Own = SplitSweep(Sweep);
  TWalkLimits L{TPartPath(Own.begin() + 1, Own.end()), {}};
  for (const String& Other : SweepKinds()) {
    const TPartPath O = SplitSweep(Other);
    if (O.size() > Own.size() && std::equal(Own.begin(), Own.end(), O.begin()))
      L.Besides.push_back(TPartPath(O.begin() + 1, O.end()));
  }
  return L;
}

// A chart holding what the sweep works on: the chart alone, or a fresh component of the sweep's
// kind named X (a series with four labelled points). The component's name, empty for the chart.
String ChartForSweep(TChart* C, const String& Sweep) {
  const String Kind = SplitSweep(Sweep)[0];
  if (Kind == "TChart") return String();
  AddFresh(C, FindClass(Kind), "X");
  auto* S = dynamic_cast<TChartSeries*>(C->FindComponent("X"));
  for (int I = 0; S && I < 4; ++I) S->AddXY(I, (I * 7) % 5, "p" + std::to_string(I));
  return "X";
}

class PublishedChartSweep : public ::testing::TestWithParam<String> {};

TEST_P(PublishedChartSweep, EveryValueSetComesBackAndSetBackIsWrittenAsBefore) {
  TOwned<TChart> C = NewChart();
  const String Component = ChartForSweep(C.get(), GetParam());
  SweepComponent(C.get(), Component, SweepLimits(GetParam()), !Component.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, PublishedChartSweep, ::testing::ValuesIn(SweepKinds()),
                         [](const ::testing::TestParamInfo<String>& I) {
                           String N = I.param;
                           for (char& Ch : N)
                             if (Ch == '.') Ch = '_';
                           return N;
                         });

// Every part of the chart is swept apart: a part added to the chart is added to the list above.
TEST(PublishedChartSweepParts, EveryPartOfTheChartIsSwept) {
  TOwned<TChart> C = NewChart();
  std::set<String> Parts;
  WalkValues(C.get(), TPlace{}, [&](TObject*, const TPropInfo*, const TPlace& Place) {
        if (!Place.Steps.empty()) Parts.insert(Place.Steps[0].Prop);
      },
      true);
  for (const String& P : Parts)
    EXPECT_NE(std::find(std::begin(ChartParts), std::end(ChartParts), P), std::end(ChartParts)) << P;
}

// The sweeps of a kind together reach every value of it once: the values one walk of the whole
// chart or component reaches, each exactly once.
TEST(PublishedChartSweepParts, TheSweepsOfAKindReachEveryValueOnce) {
  std::map<String, std::vector<String>> Kinds;
  for (const String& S : SweepKinds()) Kinds[SplitSweep(S)[0]].push_back(S);
  // Counts each value the sweep reaches into Times.
  auto Count = [](const String& Sweep, const TWalkLimits& Limits, std::map<String, int>& Times) {
    TOwned<TChart> C = NewChart();
    const String Component = ChartForSweep(C.get(), Sweep);
    TObject* Root = Component.empty() ? static_cast<TObject*>(C.get()) : C->FindComponent(Component);
    std::size_t Reached = 0;
    WalkValues(Root, TPlace{Component, {}}, [&](TObject*, const TPropInfo* P, const TPlace& Place) {
          ++Times[Place.Text() + "." + P->Name];
          ++Reached;
        },
        true, Limits);
    return Reached;
  };
  for (const auto& [Kind, Sweeps] : Kinds) {
    SCOPED_TRACE(Kind);
    std::map<String, int> Whole, Swept;
    Count(Kind, TWalkLimits{}, Whole);
    for (const String& S : Sweeps) {
      const std::size_t Reached = Count(S, SweepLimits(S), Swept);
      if (Sweeps.size() > 1) {
        EXPECT_GT(Reached, 0u) << S << " reaches nothing";
      }
    }
    for (const auto& [Value, Times] : Whole) EXPECT_EQ(Swept[Value], Times) << Value;
    for (const auto& [Value, Times] : Swept) EXPECT_TRUE(Whole.count(Value)) << Value << " is no value of " << Kind;
  }
}

// A part made fresh and written alone writes no value but the few its construction leaves off
// the stored default on purpose, however much of it a program has looked at.
TEST(PublishedChartDefaults, FreshPartsLookedAtWriteOnlyWhatTheyMust) {
  std::vector<const TClass*> Kinds = SeriesKinds();
  for (const TClass* K : FunctionKinds()) Kinds.push_back(K);
  for (const TClass* K : ToolKinds()) Kinds.push_back(K);
  const std::map<String, String> Must = {
      {"TAreaSeries", "DrawArea = True\n"},
      {"TMarksTipTool", "MouseDelay = 0\n"},
      // The annotation's text follows the name a program gives it; the scroll bar takes its
      // chart's bottom axis, and an axis set is written.
      {"TAnnotationTool", "Text = 'X'\n"},
      {"TRectangleTool", "Text = 'X'\n"},
      {"TAxisScrollBarTool", "AxisID = 0\n"},
      {"TColorBandTool", "object : TColorLineTool\nDragRepaint = True\nend\nobject : TColorLineTool\nDragRepaint = True\nend\n"},
  };
  for (const TClass* K : Kinds) {
    SCOPED_TRACE(K->Name);
    TOwned<TChart> C = NewChart();
    AddFresh(C.get(), K, "X");
    LookAtEverything(C.get());
    auto It = Must.find(K->Name);
    EXPECT_EQ(LinesOfX(C.get()), It == Must.end() ? String() : It->second);
  }
}

// A fresh chart writes its class, its name and its palette, however much of it a program has
// looked at.
TEST(PublishedChartDefaults, AFreshChartLookedAtWritesItsNameAndPaletteOnly) {
  TOwned<TChart> C(Create<TChart>(nullptr));
  C->SetName("Chart1");
  const String Expected = "object Chart1: TChart\n  ColorPaletteIndex = 13\nend\n";
  EXPECT_EQ(AsText(Store(C.get())), Expected);
  LookAtEverything(C.get());
  EXPECT_EQ(AsText(Store(C.get())), Expected);
}

}  // namespace
}  // namespace zel::testing
