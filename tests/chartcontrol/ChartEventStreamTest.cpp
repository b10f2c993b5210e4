// A chart's event handlers stored by name and bound again, through the root's method table,
// when the chart is read; its frame is read under its old name.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Filer.h"
#include "platform/Forms.h"
#include "platform/Published.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Walls.h"
#include "tests/support/StreamText.h"

namespace zel {

namespace {

class TChartHostForm : public TForm {
  ZEL_CLASS(TChartHostForm, TForm)
 public:
  explicit TChartHostForm(TComponent* AOwner) : TForm(AOwner) {
    FMethods.Add("BackgroundClicked",
                 TChartClick([this](TCustomChart*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++Clicks; }));
    FMethods.Add("LegendText", TOnGetLegendText([](TCustomChart*, TLegendStyle, std::int32_t, String& Text) {
                   Text = "renamed";
                 }));
    FMethods.Add("AllowScroll", TChartAllowScrollEvent([](TChartAxis*, double&, double&, bool& Allow) { Allow = false; }));
  }
  TMethodTable* GetMethodTable() override { return &FMethods; }
  int Clicks = 0;

 private:
  TMethodTable FMethods;
};

}  // namespace

ZEL_DEFINE_COMPONENT_CLASS(TChartHostForm, TForm)

namespace {

using testing::AsText;
using testing::ReadText;
using testing::Store;
using testing::TRegisteredWhileInScope;

TEST(ChartEventStream, HandlersAreBoundByNameAndWrittenBackUnderTheirNames) {
  const TRegisteredWhileInScope<TChartHostForm> Registered;
  const String Layout =
      "object Host: TChartHostForm\n"
      "  object Chart1: TChart\n"
      "    OnAllowScroll = AllowScroll\n"
      "    OnClickBackground = BackgroundClicked\n"
      "    OnGetLegendText = LegendText\n"
      "  end\n"
      "end\n";
  TOwned<TChartHostForm> F(Create<TChartHostForm>(nullptr));
  ReadText(Layout, F.get());
  auto* Chart = dynamic_cast<TChart*>(F->FindComponent("Chart1"));
  ASSERT_NE(Chart, nullptr);

  ASSERT_TRUE(static_cast<bool>(Chart->OnClickBackground));
  Chart->OnClickBackground(Chart, TMouseButton::mbLeft, {}, 0, 0);
  EXPECT_EQ(F->Clicks, 1);
  ASSERT_TRUE(static_cast<bool>(Chart->OnGetLegendText));
  String Text = "Series1";
  Chart->OnGetLegendText(Chart, TLegendStyle::lsSeries, 0, Text);
  EXPECT_EQ(Text, "renamed");
  ASSERT_TRUE(static_cast<bool>(Chart->OnAllowScroll));
  EXPECT_FALSE(static_cast<bool>(Chart->OnClickSeries));

  const String Written = AsText(Store(F.get()));
  EXPECT_NE(Written.find("OnAllowScroll = AllowScroll"), String::npos) << Written;
  EXPECT_NE(Written.find("OnClickBackground = BackgroundClicked"), String::npos) << Written;
  EXPECT_NE(Written.find("OnGetLegendText = LegendText"), String::npos) << Written;
}

TEST(ChartEventStream, AHandlerOfAnotherTypeOrAnUnknownNameIsAReadError) {
  const TRegisteredWhileInScope<TChartHostForm> Registered;
  for (const char* Line : {"OnClickAxis = BackgroundClicked", "OnClickTitle = NoSuchHandler"}) {
    SCOPED_TRACE(Line);
    const String Layout =
        String("object Host: TChartHostForm\n  object Chart1: TChart\n    ") + Line + "\n  end\nend\n";
    TOwned<TChartHostForm> F(Create<TChartHostForm>(nullptr));
    EXPECT_THROW(ReadText(Layout, F.get()), EReadError);
    EXPECT_EQ(F->FindComponent("Chart1"), nullptr) << "what the read made is freed";
  }
}

TEST(ChartEventStream, FrameIsReadAsTheBackWallsPenAndNotWritten) {
  TOwned<TChart> A(Create<TChart>(nullptr));
  A->SetName("Chart1");
  String Text = AsText(Store(A.get()));
  Text.insert(Text.find("end\n"), "  Frame.Width = 3\n");
  TOwned<TChart> B(Create<TChart>(nullptr));
  ReadText(Text, B.get());
  EXPECT_EQ(B->GetBackWall()->GetPen()->GetWidth(), 3);
  const String Again = AsText(Store(B.get()));
  EXPECT_EQ(Again.find("Frame."), String::npos) << Again;
  EXPECT_NE(Again.find("BackWall.Pen.Width = 3"), String::npos) << Again;
}

}  // namespace
}  // namespace zel
