// The grid band tool: the stripes it paints between an axis' ticks (plain and centred grids, both
// orientations), its brushes' transparency and kind, and the grid event it takes over.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/tools/GridBand.h"

namespace zel::testing {
namespace {

constexpr TAlphaColor Red = 0xFFFF0000, Blue = 0xFF0000FF;

class GridBandTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    Tool = Create<TGridBandTool>(Chart);
    Tool->GetBand1()->SetColor(Red);
    Tool->GetBand2()->SetColor(Blue);
  }
  // Paints with Axis' ticks and ends replaced by the given ones while its grid is drawn.
  void PaintWith(TChartAxis* Axis, const TAxisTicks& Ticks, std::int32_t Start, std::int32_t End) {
    Tool->SetAxis(Axis);
    TAxisDrawGrids Handler = Axis->OnDrawGrids;
    ASSERT_TRUE(Handler);
    Axis->OnDrawGrids = [=](TChartAxis* Sender) {
      const TAxisTicks SavedTicks = Sender->Tick;
      const std::int32_t S = Sender->IStartPos, E = Sender->IEndPos;
      Sender->Tick = Ticks;
      Sender->IStartPos = Start;
      Sender->IEndPos = End;
      Handler(Sender);
      Sender->Tick = SavedTicks;
      Sender->IStartPos = S;
      Sender->IEndPos = E;
    };
    Chart->GetCanvas()->SetUseBuffer(false);
    Canvas.ClearRecords();
    Chart->Draw(&Canvas, TRectF(0, 0, static_cast<float>(Width), static_cast<float>(Height)));
    Tool->SetAxis(Axis);  // the tool's own handler again
  }
  struct TStripe {
    float From, To;  // along the axis, the rectangle's edges
    TAlphaColor Color;
    bool operator==(const TStripe&) const = default;
  };
  friend std::ostream& operator<<(std::ostream& O, const TStripe& S) {
    return O << "(" << S.From << "-" << S.To << " " << std::hex << S.Color << std::dec << ")";
  }
  std::vector<TStripe> Stripes(bool Vertical) const {
    std::vector<TStripe> Result;
    for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::FillRect))
      if (R.Color == Red || R.Color == Blue)
        Result.push_back(Vertical ? TStripe{R.Rect.Top, R.Rect.Bottom, R.Color}
                                  : TStripe{R.Rect.Left, R.Rect.Right, R.Color});
    return Result;
  }

  TRecordingCanvas Canvas{400, 300};
  TGridBandTool* Tool = nullptr;
};

TEST_F(GridBandTest, StripesAlternateBetweenTheTicks) {
  // Vertical axes list their ticks from the top (the maximum) down; horizontal ones from the
  // right (the maximum) leftwards. Each stripe covers its pixel range, the far edge included.
  struct Case {
    const char* Name;
    bool Vertical, Centered;
    TAxisTicks Ticks;
    std::vector<TStripe> Expected;
  };
  const Case Cases[] = {
      {"vertical",
       true,
       false,
       {100, 200, 300, 400, 500},
       {{51, 101, Red}, {100, 201, Blue}, {200, 301, Red}, {300, 401, Blue}, {400, 501, Red}, {500, 551, Blue}}},
      {"vertical centred",
       true,
       true,
       {100, 200, 300, 400, 500},
       {{51, 151, Red}, {150, 251, Blue}, {250, 351, Red}, {350, 451, Blue}, {450, 550, Red}}},
      {"vertical, two ticks",
       true,
       false,
       {100, 200},
       {{51, 101, Red}}},
      {"horizontal",
       false,
       false,
       {500, 400, 300, 200, 100},
       {{500, 550, Red}, {400, 501, Blue}, {300, 401, Red}, {200, 301, Blue}, {100, 201, Red}, {50, 101, Blue}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TChartAxis* Axis = C.Vertical ? Chart->GetLeftAxis() : Chart->GetBottomAxis();
    Axis->GetGrid()->SetCentered(C.Centered);
    PaintWith(Axis, C.Ticks, 50, 550);
    EXPECT_EQ(Stripes(C.Vertical), C.Expected);
    Axis->GetGrid()->SetCentered(false);
  }
}

TEST_F(GridBandTest, StripesSpanTheChartRectangleOrTheGivenExtent) {
  PaintWith(Chart->GetLeftAxis(), {100, 200}, 50, 550);
  const TRectF CR = Chart->GetChartRect();
  auto Fills = Canvas.RecordsOf(TRecordKind::FillRect);
  bool Found = false;
  for (const TCanvasRecord& R : Fills)
    if (R.Color == Red) {
      Found = true;
      EXPECT_EQ(R.Rect.Left, Round(CR.Left + 1));
      EXPECT_EQ(R.Rect.Right, Round(CR.Right) + 1);
    }
  EXPECT_TRUE(Found);

  Tool->StartPos = 120;
  Tool->EndPos = 180;
  PaintWith(Chart->GetLeftAxis(), {100, 200}, 50, 550);
  for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::FillRect))
    if (R.Color == Red) {
      EXPECT_EQ(R.Rect.Left, 120);
      EXPECT_EQ(R.Rect.Right, 181);
    }
}

TEST_F(GridBandTest, ABandWithoutFillStillCountsInTheAlternation) {
  Tool->GetBand1()->SetKind(TBrushKind::None);
  PaintWith(Chart->GetLeftAxis(), {100, 200, 300}, 50, 350);
  EXPECT_EQ(Stripes(true), (std::vector<TStripe>{{100, 201, Blue}, {300, 351, Blue}}));

  // With neither band filled nothing is drawn.
  Tool->GetBand2()->SetKind(TBrushKind::None);
  PaintWith(Chart->GetLeftAxis(), {100, 200, 300}, 50, 350);
  EXPECT_TRUE(Stripes(true).empty());
}

TEST_F(GridBandTest, EachBandIsBlendedByItsOwnTransparency) {
  Tool->GetBand2()->SetTransparency(40);
  PaintWith(Chart->GetLeftAxis(), {100, 200, 300}, 50, 350);
  for (const TCanvasRecord& R : Canvas.RecordsOf(TRecordKind::FillRect)) {
    if (R.Color == Red) {
      EXPECT_FLOAT_EQ(R.Opacity, 1);
    } else if (R.Color == Blue) {
      EXPECT_NEAR(R.Opacity, 0.6, 1e-6);
    }
  }
}

TEST_F(GridBandTest, InactiveToolDrawsNothing) {
  Tool->SetActive(false);
  PaintWith(Chart->GetLeftAxis(), {100, 200, 300}, 50, 350);
  EXPECT_TRUE(Stripes(true).empty());
}

TEST_F(GridBandTest, BackColourFallsBackToTheBackWall) {
  Chart->GetBackWall()->SetColor(0xFF123456);
  EXPECT_EQ(Tool->BandBackColor(Tool->GetBand1()), 0u);  // no chart yet
  Tool->SetAxis(Chart->GetLeftAxis());
  EXPECT_EQ(Tool->BandBackColor(Tool->GetBand1()), 0xFF123456u);
  Tool->GetBand1()->SetBackColor(0xFF654321);
  EXPECT_EQ(Tool->BandBackColor(Tool->GetBand1()), 0xFF654321u);
}

TEST_F(GridBandTest, TheGridEventFollowsTheToolsAxis) {
  TChartAxis* Left = Chart->GetLeftAxis();
  TChartAxis* Bottom = Chart->GetBottomAxis();
  Tool->SetAxis(Left);
  EXPECT_TRUE(Left->OnDrawGrids);
  Tool->SetAxis(Bottom);
  EXPECT_FALSE(Left->OnDrawGrids);
  EXPECT_TRUE(Bottom->OnDrawGrids);
  FreeAndNil(Tool);
  EXPECT_FALSE(Bottom->OnDrawGrids);
}

TEST_F(GridBandTest, ACopyOrASecondBandLeavesTheOthersGridEventAlone) {
  // A band clears an axis' grid event only while it is its own.
  TChartAxis* Left = Chart->GetLeftAxis();
  TChartAxis* Bottom = Chart->GetBottomAxis();
  Tool->SetAxis(Left);
  {
    TOwned<TGridBandTool> Copy(Create<TGridBandTool>(nullptr));
    Copy->Assign(Tool);
    EXPECT_EQ(Copy->GetAxis(), Left);
  }  // a copy that never joined a chart is freed
  EXPECT_TRUE(Tool->OwnsGridHandler(Left));
  {
    TOwned<TGridBandTool> Copy(Create<TGridBandTool>(nullptr));
    Copy->Assign(Tool);
    Copy->SetAxis(Bottom);
    EXPECT_TRUE(Tool->OwnsGridHandler(Left));
    EXPECT_TRUE(Copy->OwnsGridHandler(Bottom));
  }
  EXPECT_TRUE(Tool->OwnsGridHandler(Left));
  EXPECT_FALSE(Bottom->OnDrawGrids);
  // A second band that took the axis over keeps it when the first one goes.
  auto* Second = Create<TGridBandTool>(Chart);
  Second->SetAxis(Left);
  EXPECT_FALSE(Tool->OwnsGridHandler(Left));
  FreeAndNil(Tool);
  EXPECT_TRUE(Second->OwnsGridHandler(Left));
}

TEST_F(GridBandTest, AssignCopiesBothBands) {
  Tool->GetBand2()->SetTransparency(30);
  TOwned<TGridBandTool> Copy(Create<TGridBandTool>(nullptr));
  Copy->Assign(Tool);
  EXPECT_EQ(Copy->GetBand1()->GetColor(), Red);
  EXPECT_EQ(Copy->GetBand2()->GetColor(), Blue);
  EXPECT_EQ(Copy->GetBand2()->GetTransparency(), 30);
}

}  // namespace
}  // namespace zel::testing
