// Settings of the chart panel, its axes, series parts and shapes written to a stream under their
// own names, read back into a fresh chart, and left out while they keep their defaults.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Published.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/series/FastLine.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

// A located block as an application would make one.
class TPlacedBlock : public TVisualBlock {
  ZEL_CLASS(TPlacedBlock, TVisualBlock)
 public:
  explicit TPlacedBlock(TComponent* AOwner) : TVisualBlock(AOwner) {}
  void Repaint() override {}
  void Editor() override {}
};

}  // namespace
ZEL_DEFINE_COMPONENT_CLASS(TPlacedBlock, TVisualBlock)
namespace {

// A window offering handlers for a chart's and an axis' events by name.
class TEventHostForm : public TForm {
  ZEL_CLASS(TEventHostForm, TForm)
 public:
  explicit TEventHostForm(TComponent* AOwner) : TForm(AOwner) {
    FMethods.Add("PageChanged", TNotifyEvent([this](TObject*) { ++PageChanges; }));
    FMethods.Add("SeriesAdded", TSeriesNotifyEvent([this](TCustomChartSeries*) { ++Added; }));
    FMethods.Add("AxisLabel", TAxisOnGetLabel([](TChartAxis*, TChartSeries*, std::int32_t, String& Text) {
                   Text = "label";
                 }));
    FMethods.Add("DrawLabel", TAxisDrawLabelEvent([](TChartAxis*, std::int32_t&, std::int32_t&, std::int32_t&,
                                                     String&, bool& Draw) { Draw = false; }));
  }
  TMethodTable* GetMethodTable() override { return &FMethods; }
  int PageChanges = 0;
  int Added = 0;

 private:
  TMethodTable FMethods;
};

}  // namespace
ZEL_DEFINE_COMPONENT_CLASS(TEventHostForm, TForm)
namespace {

// One setting: the line its stream holds once set, how to set it, and whether a chart has it.
struct TSettingCase {
  const char* Line;
  std::function<void(TChart*)> Set;
  std::function<bool(TChart*)> Has;
};

// The name part of a text line ("Pages.Current = 3" -> "Pages.Current =").
String NameOf(const char* Line) {
  const String L(Line);
  return L.substr(0, L.find('=') + 1);
}

TOwned<TChart> NamedChart() {
  TOwned<TChart> C(Create<TChart>(nullptr));
  C->SetName("Chart1");
  C->SetBounds(0, 0, 300, 200);
  return C;
}

// Each setting: a chart at its defaults does not write it; set, it is written under its name,
// read back into a fresh chart, and written again to the same bytes.
void ExpectEachSettingTravels(const std::vector<TSettingCase>& Cases) {
  for (const TSettingCase& C : Cases) {
    SCOPED_TRACE(C.Line);
    TOwned<TChart> A = NamedChart();
    const String AtDefaults = AsText(Store(A.get()));
    EXPECT_EQ(AtDefaults.find(NameOf(C.Line)), String::npos) << AtDefaults;

    C.Set(A.get());
    const std::vector<Byte> Bytes = Store(A.get());
    const String Text = AsText(Bytes);
    EXPECT_NE(Text.find(C.Line), String::npos) << Text;

    TOwned<TChart> B = ReadInto(Bytes, 300, 200);
    EXPECT_TRUE(C.Has(B.get()));
    EXPECT_EQ(Store(B.get()), Bytes);
  }
}

TEST(PublishedPanel, ChartWideSettingsOfTheAxisPanelTravel) {
  ExpectEachSettingTravels({
      {"Chart3DPercent = 40", [](TChart* C) { C->SetChart3DPercent(40); },
       [](TChart* C) { return C->GetChart3DPercent() == 40; }},
      {"AxisBehind = False", [](TChart* C) { C->SetAxisBehind(false); },
       [](TChart* C) { return !C->GetAxisBehind(); }},
      {"AxisVisible = False", [](TChart* C) { C->SetAxisVisible(false); },
       [](TChart* C) { return !C->GetAxisVisible(); }},
      {"ClipPoints = False", [](TChart* C) { C->SetClipPoints(false); },
       [](TChart* C) { return !C->GetClipPoints(); }},
      {"View3DWalls = False", [](TChart* C) { C->SetView3DWalls(false); },
       [](TChart* C) { return !C->GetView3DWalls(); }},
      {"Pages.AutoScale = True", [](TChart* C) { C->GetPages()->SetAutoScale(true); },
       [](TChart* C) { return C->GetPages()->GetAutoScale(); }},
      {"Pages.MaxPointsPerPage = 25", [](TChart* C) { C->GetPages()->SetMaxPointsPerPage(25); },
       [](TChart* C) { return C->GetPages()->GetMaxPointsPerPage() == 25; }},
      {"Pages.ScaleLastPage = False", [](TChart* C) { C->GetPages()->SetScaleLastPage(false); },
       [](TChart* C) { return !C->GetPages()->GetScaleLastPage(); }},
      {"Hover.Visible = False", [](TChart* C) { C->GetHover()->SetVisible(!C->GetHover()->GetVisible()); },
       [](TChart* C) { return !C->GetHover()->GetVisible(); }},
      {"Zoom.KeyShift = [ssShift, ssCtrl]",
       [](TChart* C) { C->GetZoom()->SetKeyShift(TShiftState{TShiftStateItem::ssShift, TShiftStateItem::ssCtrl}); },
       [](TChart* C) {
         return C->GetZoom()->GetKeyShift() == TShiftState{TShiftStateItem::ssShift, TShiftStateItem::ssCtrl};
       }},
  });
}

// The current page is read before the points that make it exist: it must not be cut to the
// single page an empty chart has.
TEST(PublishedPanel, TheCurrentPageSurvivesAlthoughItIsReadBeforeThePoints) {
  TOwned<TChart> A = NamedChart();
  auto* S = AddToChart<TFastLineSeries>(A.get(), "Series1");
  for (int I = 0; I < 30; ++I) S->AddXY(I, I % 7);
  S->ManualData = true;
  A->GetPages()->SetMaxPointsPerPage(10);
  A->GetPages()->SetCurrent(3);
  const std::vector<Byte> Bytes = Store(A.get());
  EXPECT_NE(AsText(Bytes).find("Pages.Current = 3"), String::npos) << AsText(Bytes);

  TOwned<TChart> B = ReadInto(Bytes, 300, 200);
  EXPECT_EQ(B->GetPages()->GetCurrent(), 3);
  EXPECT_EQ(B->GetPages()->Count(), 3);
  EXPECT_EQ(Store(B.get()), Bytes);
  EXPECT_TRUE(PaintTheSame(A.get(), B.get()));
}

TEST(PublishedPanel, AHugeStoredPageGivesAFirstPointIndexWithoutOverflow) {
  TOwned<TChart> A = NamedChart();
  String Text = AsText(Store(A.get()));
  Text.insert(Text.find("end\n"), "  Pages.MaxPointsPerPage = 1000\n  Pages.Current = 2147483647\n");
  TOwned<TChart> B = NamedChart();
  ReadText(Text, B.get());
  EXPECT_GE(B->GetPages()->FirstValueIndex(), 0);
}

TEST(PublishedPanel, OutOfRangeStoredSettingsAreReadErrorsThatNameThemAndLeaveTheChartAsItWas) {
  for (const char* Line : {"Chart3DPercent = 500", "Chart3DPercent = 0", "Pages.MaxPointsPerPage = -1"}) {
    SCOPED_TRACE(Line);
    TOwned<TChart> A = NamedChart();
    String Text = AsText(Store(A.get()));
    Text.insert(Text.find("end\n"), String("  ") + Line + "\n");
    TOwned<TChart> B = NamedChart();
    try {
      ReadText(Text, B.get());
      ADD_FAILURE() << "read without an error";
    } catch (const EReadError& E) {
      EXPECT_NE(String(E.what()).find(NameOf(Line).substr(0, NameOf(Line).size() - 2)), String::npos) << E.what();
    }
    EXPECT_EQ(B->GetChart3DPercent(), 15);
    EXPECT_EQ(B->GetPages()->GetMaxPointsPerPage(), 0);
    EXPECT_TRUE(PaintTheSame(A.get(), B.get()));
  }
}

// Painting makes the parts a chart creates on first use (axis titles and shapes, the zoom's
// brush and pen, gradients); at their defaults they add nothing to the stream.
TEST(PublishedPanel, PaintingAChartAddsNothingToItsStream) {
  TOwned<TChart> A = NamedChart();
  auto* S = AddToChart<TFastLineSeries>(A.get(), "Series1");
  for (int I = 0; I < 12; ++I) S->AddXY(I, I * I);
  S->ManualData = true;
  const std::vector<Byte> Before = Store(A.get());
  TOwned<TBitmap> Painted(PaintToBitmap(A.get()));
  for (TChartAxis* Axis : {A->GetLeftAxis(), A->GetRightAxis(), A->GetBottomAxis()}) {
    Axis->GetTitle();
    Axis->GetShape();
  }
  EXPECT_EQ(AsText(Store(A.get())), AsText(Before));
}

// A zoom rectangle makes the zoom's brush; that alone writes nothing. How the running chart
// repaints a zoom rectangle is not a stored setting.
TEST(PublishedPanel, ZoomPartsAtTheirOwnValuesAndTheRepaintModeWriteNothing) {
  TOwned<TChart> A = NamedChart();
  const String Before = AsText(Store(A.get()));
  A->GetZoom()->GetBrush();
  A->GetZoom()->GetPen();
  A->GetZoom()->SetFullRepaint(false);
  EXPECT_EQ(AsText(Store(A.get())), Before);
}

TEST(PublishedAxis, ScaleTitleShapeAndPartnerSettingsTravel) {
  ExpectEachSettingTravels({
      {"BottomAxis.MaximumRound = True", [](TChart* C) { C->GetBottomAxis()->SetMaximumRound(true); },
       [](TChart* C) { return C->GetBottomAxis()->GetMaximumRound(); }},
      {"LeftAxis.MinimumRound = True", [](TChart* C) { C->GetLeftAxis()->SetMinimumRound(true); },
       [](TChart* C) { return C->GetLeftAxis()->GetMinimumRound(); }},
      {"TopAxis.UsePartnerAxis = True", [](TChart* C) { C->GetTopAxis()->SetUsePartnerAxis(true); },
       [](TChart* C) { return C->GetTopAxis()->GetUsePartnerAxis(); }},
      {"LeftAxis.Shape.Visible = True", [](TChart* C) { C->GetLeftAxis()->GetShape()->SetVisible(true); },
       [](TChart* C) { return C->GetLeftAxis()->ExistingShape() && C->GetLeftAxis()->GetShape()->GetVisible(); }},
      {"BottomAxis.Title.Text = 'Time'", [](TChart* C) { C->GetBottomAxis()->GetTitle()->SetCaption("Time"); },
       [](TChart* C) { return C->GetBottomAxis()->GetTitle()->GetCaption() == "Time"; }},
      {"BottomAxis.Title.Position = tpEnd",
       [](TChart* C) { C->GetBottomAxis()->GetTitle()->SetPosition(TAxisTitlePosition::tpEnd); },
       [](TChart* C) { return C->GetBottomAxis()->GetTitle()->GetPosition() == TAxisTitlePosition::tpEnd; }},
      {"RightAxis.Title.Angle = 90", [](TChart* C) { C->GetRightAxis()->GetTitle()->SetAngle(90); },
       [](TChart* C) { return C->GetRightAxis()->GetTitle()->GetAngle() == 90; }},
      {"BottomAxis.Grid.Centered = True", [](TChart* C) { C->GetBottomAxis()->SetGridCentered(true); },
       [](TChart* C) { return C->GetBottomAxis()->GetGridCentered(); }},
  });
}

// A vertical axis turns its title; that turn is the title's own and is not written.
TEST(PublishedAxis, TitlesAtTheAnglesTheirAxesGiveWriteNoAngle) {
  TOwned<TChart> A = NamedChart();
  A->GetLeftAxis()->GetTitle()->SetCaption("Volts");
  A->GetRightAxis()->GetTitle()->SetCaption("Amps");
  const String Text = AsText(Store(A.get()));
  EXPECT_EQ(Text.find("Title.Angle"), String::npos) << Text;
  EXPECT_EQ(Text.find("GridCentered"), String::npos) << Text;
}

TEST(PublishedAxis, SubAxesAreWrittenOnlyWhenThereAreSomeAndReadBackUnderTheirAxis) {
  TOwned<TChart> A = NamedChart();
  A->GetLeftAxis()->GetSubAxes();
  EXPECT_EQ(AsText(Store(A.get())).find("SubAxes"), String::npos);

  auto* Sub = A->GetLeftAxis()->GetSubAxes()->Add();
  ASSERT_NE(Sub, nullptr);
  Sub->SetStartPosition(50);
  Sub->SetInverted(true);
  const std::vector<Byte> Bytes = Store(A.get());
  EXPECT_NE(AsText(Bytes).find("SubAxes"), String::npos) << AsText(Bytes);

  TOwned<TChart> B = ReadInto(Bytes, 300, 200);
  ASSERT_NE(B->GetLeftAxis()->ExistingSubAxes(), nullptr);
  ASSERT_EQ(B->GetLeftAxis()->GetSubAxes()->GetCount(), 1);
  auto* Read = B->GetLeftAxis()->GetSubAxes()->Get(0);
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->GetStartPosition(), 50);
  EXPECT_TRUE(Read->GetInverted());
  EXPECT_EQ(Store(B.get()), Bytes);
}

// Marks settings that change what a mark shows, on a series read back from its stream.
TEST(PublishedMarks, FontInSeriesColourAndDrawingOnTopTravel) {
  struct TCase {
    const char* Line;
    std::function<void(TSeriesMarks*)> Set;
    std::function<bool(TSeriesMarks*)> Has;
  };
  const TCase Cases[] = {
      {"Marks.FontSeriesColor = True", [](TSeriesMarks* M) { M->SetFontSeriesColor(true); },
       [](TSeriesMarks* M) { return M->GetFontSeriesColor(); }},
      {"Marks.OnTop = True", [](TSeriesMarks* M) { M->SetOnTop(true); }, [](TSeriesMarks* M) { return M->GetOnTop(); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Line);
    TOwned<TChart> A = NamedChart();
    auto* S = AddToChart<TFastLineSeries>(A.get(), "Series1");
    S->GetMarks()->SetVisible(true);
    EXPECT_EQ(AsText(Store(A.get())).find(NameOf(C.Line)), String::npos);
    C.Set(S->GetMarks());
    const std::vector<Byte> Bytes = Store(A.get());
    EXPECT_NE(AsText(Bytes).find(C.Line), String::npos) << AsText(Bytes);
    TOwned<TChart> B = ReadInto(Bytes, 300, 200);
    ASSERT_EQ(B->SeriesCount(), 1);
    EXPECT_TRUE(C.Has(B->GetSeries(0)->GetMarks()));
  }
}

TEST(PublishedBlock, PlaceAndSizeOfALocatedBlockTravelAgainstTheirOwnDefaults) {
  TOwned<TPlacedBlock> A(Create<TPlacedBlock>(nullptr));
  A->SetName("Block1");
  EXPECT_EQ(AsText(Store(A.get())).find("Location"), String::npos);
  EXPECT_EQ(AsText(Store(A.get())).find("Size"), String::npos);

  A->GetLocation()->SetPoint(5, 0, -2.5f);
  A->GetSize()->SetPoint(100, 40, 0);
  const std::vector<Byte> Bytes = Store(A.get());
  const String Text = AsText(Bytes);
  for (const char* Line : {"Location.X = 5", "Location.Z = -2.5", "Size.Y = 40", "Size.ZZero = True"})
    EXPECT_NE(Text.find(Line), String::npos) << Line << "\n" << Text;
  for (const char* Name : {"Location.Y", "Size.X", "Value"}) EXPECT_EQ(Text.find(Name), String::npos) << Name;

  TOwned<TPlacedBlock> B(Create<TPlacedBlock>(nullptr));
  ReadBytes(Bytes, B.get());
  EXPECT_EQ(B->GetLocation()->GetX(), 5);
  EXPECT_EQ(B->GetLocation()->GetZ(), -2.5f);
  EXPECT_EQ(B->GetSize()->GetX(), 100);
  EXPECT_EQ(B->GetSize()->GetY(), 40);
  EXPECT_EQ(B->GetSize()->GetZ(), 0);
  EXPECT_EQ(Store(B.get()), Bytes);
}

// A layout may keep a series beside its chart rather than inside it; the series then names
// its chart, and is written back inside it.
TEST(PublishedSeries, ASeriesBesideItsChartJoinsTheChartItNames) {
  const String Layout =
      "object Host: TForm\n"
      "  object Chart1: TChart\n"
      "  end\n"
      "  object Series1: TFastLineSeries\n"
      "    ParentChart = Chart1\n"
      "    Title = 'Volts'\n"
      "  end\n"
      "end\n";
  TOwned<TForm> F(Create<TForm>(nullptr));
  ReadText(Layout, F.get());
  auto* Chart = dynamic_cast<TChart*>(F->FindComponent("Chart1"));
  ASSERT_NE(Chart, nullptr);
  ASSERT_EQ(Chart->SeriesCount(), 1);
  EXPECT_EQ(Chart->GetSeries(0)->GetTitle(), "Volts");
  const String Written = AsText(Store(Chart));
  EXPECT_EQ(Written.find("ParentChart"), String::npos) << Written;
  EXPECT_NE(Written.find("object Series1: TFastLineSeries"), String::npos) << Written;
}

TEST(PublishedPanel, ChartAndAxisEventsAreBoundByNameAndWrittenBack) {
  const TRegisteredWhileInScope<TEventHostForm> Registered;
  const String Layout =
      "object Host: TEventHostForm\n"
      "  object Chart1: TChart\n"
      "    LeftAxis.OnDrawLabel = DrawLabel\n"
      "    OnAddSeries = SeriesAdded\n"
      "    OnGetAxisLabel = AxisLabel\n"
      "    OnPageChange = PageChanged\n"
      "  end\n"
      "end\n";
  TOwned<TEventHostForm> F(Create<TEventHostForm>(nullptr));
  ReadText(Layout, F.get());
  auto* Chart = dynamic_cast<TChart*>(F->FindComponent("Chart1"));
  ASSERT_NE(Chart, nullptr);
  ASSERT_TRUE(static_cast<bool>(Chart->OnPageChange));
  ASSERT_TRUE(static_cast<bool>(Chart->OnAddSeries));
  ASSERT_TRUE(static_cast<bool>(Chart->OnGetAxisLabel));
  ASSERT_TRUE(static_cast<bool>(Chart->GetLeftAxis()->OnDrawLabel));
  AddToChart<TFastLineSeries>(Chart, "Series1", F.get());
  EXPECT_EQ(F->Added, 1);

  const String Written = AsText(Store(F.get()));
  for (const char* Line : {"LeftAxis.OnDrawLabel = DrawLabel", "OnAddSeries = SeriesAdded",
                           "OnGetAxisLabel = AxisLabel", "OnPageChange = PageChanged"})
    EXPECT_NE(Written.find(Line), String::npos) << Line << "\n" << Written;
}

}  // namespace
}  // namespace zel::testing
