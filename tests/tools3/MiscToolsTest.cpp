// The clip-series tool (which series it clips, to what), the full-screen tool (into a window
// and back, by deactivating, closing the window or freeing the tool) and the repaint monitor's
// counts and rate under a fake clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Forms.h"
#include "tests/tools3/Tools3Fixture.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/MiscTools.h"

namespace zel::testing {
namespace {

class ClipSeriesTest : public Tools3Fixture {};

TEST_F(ClipSeriesTest, OnlyTheToolsSeriesIsClippedToItsAxes) {
  Chart->SetClipPoints(false);  // so that the chart's own clip does not hide the tool's
  Chart->GetLegend()->SetVisible(false);  // its symbols are drawn in the series' colours
  auto MakeLine = [&](TAlphaColor Color) {
    auto* S = Create<TFastLineSeries>(nullptr);
    for (int I = 0; I <= 10; ++I) S->AddXY(I, I * 10.0);
    S->SetSeriesColor(Color);
    Chart->AddSeries(S);
    return S;
  };
  TFastLineSeries* Red = MakeLine(0xFFFF0000);
  TFastLineSeries* Green = MakeLine(0xFF00FF00);
  (void)Green;
  auto* Tool = Create<TClipSeriesTool>(nullptr);
  Chart->GetTools()->Add(Tool);
  Tool->SetSeries(Red);
  PaintRec();

  TChartAxis* H = Red->GetGetHorizAxis();
  TChartAxis* V = Red->GetGetVertAxis();
  const TRectF Axes(static_cast<float>(H->IStartPos), static_cast<float>(V->IStartPos), static_cast<float>(H->IEndPos),
                    static_cast<float>(V->IEndPos));
  int RedLines = 0, GreenLines = 0;
  for (const TCanvasRecord& R : Rec.GetRecords()) {
    if (R.Kind != TRecordKind::Polyline && R.Kind != TRecordKind::DrawLine) continue;
    if (R.Color == 0xFFFF0000u) {
      ++RedLines;
      EXPECT_TRUE(R.Clipped);
      EXPECT_FLOAT_EQ(R.ClipRect.Left, Axes.Left);
      EXPECT_FLOAT_EQ(R.ClipRect.Bottom, Axes.Bottom);
    } else if (R.Color == 0xFF00FF00u) {
      ++GreenLines;
      EXPECT_FALSE(R.Clipped);  // the clip ended with the red series
    }
  }
  EXPECT_GT(RedLines, 0);
  EXPECT_GT(GreenLines, 0);
}

class FullScreenTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    OldScreen = TPlatformServices::Current().SetScreenService(&Screen);
    Parent = Create<TControl>(nullptr);
    Parent->SetBounds(0, 0, 400, 300);
    Chart->SetParent(Parent);
    Chart->SetAlign(TAlignLayout::Client);
    Tool = Create<TFullScreenTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Tool->OnReset = [this](TObject*) { ++Resets; };
  }
  void TearDown() override {
    Tools3Fixture::TearDown();
    FreeAndNil(Parent);
    Application->ProcessMessages();  // windows freed later go now
    TPlatformServices::Current().SetScreenService(OldScreen);
  }
  void ExpectBackHome() {
    EXPECT_EQ(Chart->GetParent(), Parent);
    EXPECT_EQ(Chart->GetAlign(), TAlignLayout::Client);
    EXPECT_FLOAT_EQ(Chart->GetWidth(), 400);
    EXPECT_FLOAT_EQ(Chart->GetHeight(), 300);
    EXPECT_FALSE(Tool->GetActive());
    EXPECT_EQ(Tool->GetFullScreenForm(), nullptr);
  }

  TFakeScreenService Screen;
  IScreenService* OldScreen = nullptr;
  TControl* Parent = nullptr;
  TFullScreenTool* Tool = nullptr;
  int Resets = 0;
};

TEST_F(FullScreenTest, ActivatingPutsTheChartIntoAScreenSizedWindow) {
  EXPECT_FALSE(Tool->GetActive());
  Tool->SetActive(true);
  TForm* Form = Tool->GetFullScreenForm();
  ASSERT_NE(Form, nullptr);
  EXPECT_EQ(Chart->GetParent(), Form);
  EXPECT_EQ(Form->GetTag(), ObjectToTag(Tool));
  EXPECT_EQ(Form->GetBorderStyle(), TFormBorderStyle::None);
  EXPECT_TRUE(Form->GetShowing());
  EXPECT_FLOAT_EQ(Form->GetWidth(), 1024);
  EXPECT_FLOAT_EQ(Chart->GetWidth(), 1024);
  EXPECT_FLOAT_EQ(Chart->GetHeight(), 768);
  EXPECT_EQ(Chart->GetAlign(), TAlignLayout::None);
  // Activating again makes no second window; Escape does nothing.
  Tool->SetActive(true);
  EXPECT_EQ(Tool->GetFullScreenForm(), Form);
  SimulateKey(Chart, true, vkEscape);
  EXPECT_EQ(Chart->GetParent(), Form);

  Tool->SetActive(false);
  ExpectBackHome();
  EXPECT_EQ(Resets, 1);
}

TEST_F(FullScreenTest, ClosingTheWindowBringsTheChartBack) {
  Tool->SetActive(true);
  TForm* Form = Tool->GetFullScreenForm();
  ASSERT_NE(Form, nullptr);
  SimulateWindowClose(Form);
  ExpectBackHome();
  EXPECT_EQ(Resets, 1);
  Application->ProcessMessages();  // the closed window frees itself
  // The tool works again afterwards.
  Tool->SetActive(true);
  EXPECT_NE(Tool->GetFullScreenForm(), nullptr);
  Tool->SetActive(false);
  ExpectBackHome();
}

TEST_F(FullScreenTest, FreeingTheActiveToolBringsTheChartBack) {
  Tool->SetActive(true);
  ASSERT_NE(Chart->GetParent(), Parent);
  Tool->Free();
  EXPECT_EQ(Chart->GetParent(), Parent);
  EXPECT_FLOAT_EQ(Chart->GetWidth(), 400);
}

TEST_F(FullScreenTest, FreeingTheChartInFullScreenLeavesNothingBehind) {
  Tool->SetActive(true);
  ASSERT_NE(Tool->GetFullScreenForm(), nullptr);
  FreeAndNil(Chart);  // frees the tool, which takes its window with it
  EXPECT_EQ(Parent->GetControlCount(), 0);
}

class RepaintMonitorTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    OldTimer = TPlatformServices::Current().SetTimerService(&Clock);
    Monitor = Create<TRepaintMonitor>(nullptr);
    Chart->GetTools()->Add(Monitor);
  }
  void TearDown() override {
    Tools3Fixture::TearDown();
    TPlatformServices::Current().SetTimerService(OldTimer);
  }
  // Paints at Seconds and answers whether Text was drawn.
  bool PaintShows(double Seconds, const String& Text) {
    Clock.Seconds = Seconds;
    PaintRec();
    const std::vector<String> T = Rec.Texts();
    return std::find(T.begin(), T.end(), Text) != T.end();
  }

  TFakeTimerService Clock;
  ITimerService* OldTimer = nullptr;
  TRepaintMonitor* Monitor = nullptr;
};

TEST_F(RepaintMonitorTest, CountsFramesAndUpdatesTheRateAtMostOnceASecond) {
  // Just after start and after about 116 days of uptime: the same moments count (at that
  // uptime a single-precision time is off by up to half a second).
  for (const double Base : {0.0, 10000000.25}) {
    SCOPED_TRACE(Base);
    if (Base != 0) {  // a new monitor
      Monitor->Free();
      Monitor = Create<TRepaintMonitor>(nullptr);
      Chart->GetTools()->Add(Monitor);
    }
    // The first paint shows no rate and the frames before it.
    EXPECT_TRUE(PaintShows(Base + 5.0, "fps 0"));
    EXPECT_EQ(Monitor->GetText(), "1fps 1");
    EXPECT_TRUE(PaintShows(Base + 5.5, "1fps 1"));
    EXPECT_TRUE(PaintShows(Base + 5.9, "1fps 2"));
    EXPECT_TRUE(PaintShows(Base + 6.0, "1fps 3"));  // exactly one second: no update yet
    EXPECT_EQ(Monitor->GetText(), "1fps 4");
    EXPECT_TRUE(PaintShows(Base + 6.2, "1fps 4"));
    EXPECT_EQ(Monitor->GetText(), "4fps 5");  // four frames since the last update
  }
}

}  // namespace
}  // namespace zel::testing
