// Axes inside a chart painted on a recording canvas (7-pixel characters, 12-pixel lines): which
// labels and ticks exist, where the axis lies, how it draws its grid, and hit tests and scrolls.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "axis/FlatPanel.h"
#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"
#include "support/DrawnText.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {
namespace {

class AxisChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = Create<TFlatTestPanel>(nullptr);
    Chart->SetView3D(false);
    Series = Create<TChartSeries>(nullptr);
    Chart->AddSeries(Series);
  }
  void TearDown() override { Chart->Free(); }

  // Points (x, x) for every x given.
  void AddPoints(std::initializer_list<double> Xs) {
    for (double X : Xs) Series->AddXY(X, X);
  }

  // The series on all four axes, the panel without margins, the labels in LabelColor: the four
  // axes, left, right, bottom and top.
  std::array<TChartAxis*, 4> OnEverySideToTheEdges(TAlphaColor LabelColor) {
    Series->SetHorizAxis(THorizAxis::aBothHorizAxis);
    Series->SetVertAxis(TVertAxis::aBothVertAxis);
    for (int M = 0; M < 4; ++M) Chart->SetMargin(M, 0);
    const std::array<TChartAxis*, 4> Axes = {Chart->GetLeftAxis(), Chart->GetRightAxis(), Chart->GetBottomAxis(),
                                             Chart->GetTopAxis()};
    for (TChartAxis* A : Axes) A->GetLabelsFont()->SetColor(LabelColor);
    return Axes;
  }

  void Paint(int W = 400, int H = 300) {
    Canvas = std::make_unique<TRecordingCanvas>(W, H);
    Chart->SetBounds(0, 0, static_cast<float>(W), static_cast<float>(H));
    Chart->SetBufferedDisplay(false);  // draw straight onto the recording canvas
    Chart->Draw(Canvas.get(), TRectF(0, 0, static_cast<float>(W), static_cast<float>(H)));
  }

  static std::vector<String> Texts(TChartAxis* A) {
    std::vector<String> R;
    for (std::int32_t I = 0; I < A->GetItems()->GetCount(); ++I) R.push_back(A->GetItems()->Get(I)->GetText());
    return R;
  }

  // Lines of the given colour.
  std::vector<TCanvasRecord> LinesOf(TAlphaColor Color) const {
    std::vector<TCanvasRecord> R;
    for (const TCanvasRecord& Rec : Canvas->GetRecords())
      if (Rec.Kind == TRecordKind::DrawLine && Rec.Color == Color) R.push_back(Rec);
    return R;
  }

  TFlatTestPanel* Chart = nullptr;
  TChartSeries* Series = nullptr;
  std::unique_ptr<TRecordingCanvas> Canvas;
};

TEST_F(AxisChartTest, ValueLabelsWalkDownFromTheMaximum) {
  struct TCase {
    double Min, Max, Increment;
    bool OnAxis;
    std::vector<String> Expected;
  };
  const TCase Cases[] = {
      {0, 1, 0.25, true, {"1", "0.75", "0.5", "0.25", "0"}},
      // labels exactly at the ends need LabelsOnAxis
      {0, 1, 0.25, false, {"0.75", "0.5", "0.25"}},
      // the first label is a multiple of the increment
      {0, 97, 10, true, {"90", "80", "70", "60", "50", "40", "30", "20", "10", "0"}},
  };
  AddPoints({0, 1});
  for (const TCase& C : Cases) {
    TChartAxis* B = Chart->GetBottomAxis();
    B->SetMinMax(C.Min, C.Max);
    B->SetIncrement(C.Increment);
    B->SetLabelsOnAxis(C.OnAxis);
    Paint(800);
    EXPECT_EQ(Texts(B), C.Expected) << C.Max << " " << C.Increment;
    // one tick per label, at the label's pixel
    ASSERT_EQ(B->Tick.size(), C.Expected.size());
    EXPECT_EQ(B->Tick.front(), B->CalcPosValue(B->GetItems()->Get(0)->GetValue()));
  }
}

TEST_F(AxisChartTest, EndsThatAreMultiplesOfTheStepGetTheirLabels) {
  // steps such as 0.1 are not exact in binary: the arithmetic misses the ends by a rounding error
  struct TCase {
    double Min, Max, Increment;
    bool RoundFirst;
    std::vector<String> Expected;
  };
  const TCase Cases[] = {
      {0, 0.3, 0.1, true, {"0.3", "0.2", "0.1", "0"}},
      {0, 0.7, 0.1, true, {"0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0"}},
      {-0.3, 0, 0.1, true, {"0", "-0.1", "-0.2", "-0.3"}},
      {-0.7, -0.4, 0.1, false, {"-0.4", "-0.5", "-0.6", "-0.7"}},
      {0, 1, 0.02, true, {}},
  };
  AddPoints({0, 1});
  TChartAxis* B = Chart->GetBottomAxis();
  for (const TCase& C : Cases) {
    B->SetMinMax(C.Min, C.Max);
    B->SetIncrement(C.Increment);
    B->SetRoundFirstLabel(C.RoundFirst);
    B->SetLabelsGridIgnoresLabelSize(true);
    Paint(2000);
    const std::vector<String> T = Texts(B);
    if (C.Expected.empty()) {
      ASSERT_EQ(T.size(), 51u) << C.Max;
      EXPECT_EQ(T.front(), "1");
      EXPECT_EQ(T.back(), "0");
    } else {
      EXPECT_EQ(T, C.Expected) << C.Min << ".." << C.Max;
    }
  }
}

TEST_F(AxisChartTest, TheWidestLabelIsMeasuredOverTheLabelsTheWalkMakes) {
  // 10.1 / 0.1 divides to just below 101: the widest label is the one at the maximum
  AddPoints({9.5, 10.1});
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetMinMax(9.5, 10.1);
  L->SetIncrement(0.1);
  L->SetLabelsGridIgnoresLabelSize(true);
  Paint(400, 2000);
  ASSERT_EQ(Texts(L).front(), "10.1");
  TCanvas3D* C = Chart->GetCanvas();
  C->AssignFont(L->GetLabelsFont());
  EXPECT_EQ(L->MaxLabelsWidth(), C->TextWidth("10.1") + C->TextWidth(" "));
}

TEST_F(AxisChartTest, AutomaticStepsLabelBothEnds) {
  // the chart picks the step; every range here has ends on a multiple of it
  const std::pair<double, double> Ranges[] = {{0, 1}, {0, 0.5}, {0, 0.3}, {5, 7}, {-0.3, 0}};
  for (auto [Min, Max] : Ranges) {
    Series->Clear();
    AddPoints({Min, Max});
    for (int Size : {400, 600, 900}) {
      Paint(Size, Size * 2 / 3);
      for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
        const std::vector<String> T = Texts(A);
        ASSERT_FALSE(T.empty());
        EXPECT_EQ(T.front(), A->LabelValue(Max)) << Min << ".." << Max << " on " << Size << " step " << A->CalcIncrement();
        EXPECT_EQ(T.back(), A->LabelValue(Min)) << Min << ".." << Max << " on " << Size << " step " << A->CalcIncrement();
      }
    }
  }
}

TEST_F(AxisChartTest, LogarithmicAndDateTimeEndsGetTheirLabels) {
  // within one decade the adding pass steps by 0.1 from 1: 1 + 48 x 0.1 is not exactly 5.8
  TChartAxis* L = Chart->GetLeftAxis();
  AddPoints({2, 5.8});
  L->SetLogarithmic(true);
  L->SetLabelsSeparation(0);
  L->SetLabelsGridIgnoresLabelSize(true);
  Paint(400, 2000);
  std::vector<String> T = Texts(L);
  ASSERT_EQ(T.size(), 39u);
  EXPECT_EQ(T.front(), "2");
  EXPECT_EQ(T.back(), "5.8");
  // minutes are not exact in days
  Series->Clear();
  Series->GetXValues()->SetDateTime(true);
  const TDateTime Start = EncodeDate(2024, 3, 1);
  Series->AddXY(Start, 1);
  Series->AddXY(Start + 2.0 / 1440, 2);
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetDateTimeFormat("hh:nn");
  B->SetIncrement(1.0 / 1440);
  Paint(800, 300);
  EXPECT_EQ(Texts(B), (std::vector<String>{"00:02", "00:01", "00:00"}));
}

TEST_F(AxisChartTest, LogarithmicLabels) {
  struct TCase {
    double Min, Max;
    String First, Last;
    std::size_t Count;
  };
  const TCase Cases[] = {
      {1, 1000, "1", "1,000", 4},
      // within one decade the adding pass labels every tenth of the decade below
      {2, 8, "2", "8", 61},
      // a minimum of 0 starts at 0.1
      {0, 100, "0.1", "100", 4},
  };
  for (const TCase& C : Cases) {
    TChartAxis* L = Chart->GetLeftAxis();
    L->SetLogarithmic(false);
    L->SetMinMax(C.Min, C.Max);
    L->SetLogarithmic(true);
    L->SetLabelsSeparation(0);
    L->SetLabelsGridIgnoresLabelSize(true);
    Series->Clear();
    AddPoints({C.Min, C.Max});
    Paint(400, 2000);
    const std::vector<String> T = Texts(L);
    ASSERT_EQ(T.size(), C.Count) << C.Min << ".." << C.Max;
    EXPECT_EQ(T.front(), C.First);
    EXPECT_EQ(T.back(), C.Last);
  }
}

TEST_F(AxisChartTest, EveryLogarithmicRangeGetsLabelsTicksGridAndMinorTicks) {
  // ranges in the upper part of a decade, across decades, other bases, inverted and horizontal
  struct TCase {
    double Min, Max, Base;
    bool Inverted, Horizontal;
    std::vector<String> Expected;  // empty: only checked for being inside the range
  };
  const TCase Cases[] = {
      {5, 9.5, 10, false, false, {}},
      {4, 8, 10, false, false, {}},
      {2, 8, 10, false, false, {}},
      {50, 95, 10, true, false, {}},
      {4, 8, 10, false, true, {}},
      {0.004, 0.009, 10, false, false, {}},
      {5, 500, 10, false, false, {"10", "100"}},
      {1, 1000, 10, true, true, {"1", "10", "100", "1,000"}},
      {5, 7.5, 2, false, false, {"6"}},
      {3, 7, 2, false, false, {"4"}},
      {5.5, 7.5, 2, false, false, {"6"}},
      {5, 9, 0.5, false, false, {"8"}},
  };
  AddPoints({1, 2});
  for (const TCase& C : Cases) {
    TChartAxis* A = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    A->SetLogarithmic(false);
    A->SetMinMax(C.Min, C.Max);
    A->SetLogarithmicBase(C.Base);
    A->SetLogarithmic(true);
    A->SetInverted(C.Inverted);
    A->GetGrid()->SetColor(0xFF112233);
    A->GetMinorTicks()->SetColor(0xFF445566);
    Paint();
    const String Where = FloatToStr(C.Min) + ".." + FloatToStr(C.Max) + " base " + FloatToStr(C.Base);
    const std::vector<String> T = Texts(A);
    if (C.Expected.empty()) {
      EXPECT_FALSE(T.empty()) << Where;
      for (std::int32_t I = 0; I < A->GetItems()->GetCount(); ++I) {
        const double V = A->GetItems()->Get(I)->GetValue();
        EXPECT_TRUE(V >= C.Min - 1e-9 && V <= C.Max + 1e-9) << Where << ": " << V;
      }
    } else {
      EXPECT_EQ(T, C.Expected) << Where;
    }
    EXPECT_FALSE(A->Tick.empty()) << Where;
    EXPECT_FALSE(LinesOf(0xFF112233).empty()) << Where;
    EXPECT_FALSE(LinesOf(0xFF445566).empty()) << Where;
    A->SetInverted(false);
    A->SetLogarithmic(false);
    A->SetLogarithmicBase(10);
    A->SetAutomatic(true);
  }
}

TEST_F(AxisChartTest, LogarithmicMinorTicksCoverEveryDecadeOfTheRange) {
  // a single minor tick halfway through each decade: below the first label too
  TChartAxis* L = Chart->GetLeftAxis();
  AddPoints({1, 2});
  L->SetMinMax(5, 500);
  L->SetLogarithmic(true);
  L->SetMinorTickCount(1);
  L->GetMinorTicks()->SetColor(0xFF445566);
  Paint();
  std::vector<int> Ys;
  for (const TCanvasRecord& R : LinesOf(0xFF445566)) Ys.push_back(static_cast<int>(R.Points[0].Y));
  std::vector<int> Want;
  for (double V : {5.5, 55.0}) Want.push_back(L->CalcPosValue(V));
  std::sort(Ys.begin(), Ys.end());
  std::sort(Want.begin(), Want.end());
  EXPECT_EQ(Ys, Want);
}

TEST_F(AxisChartTest, CentredLabelsSitInTheMiddleOfTheirBandOnEverySide) {
  // wide labels on the vertical axes, so that their band is wider than any one label
  AddPoints({0, 1000000});
  Series->SetHorizAxis(THorizAxis::aBothHorizAxis);
  Series->SetVertAxis(TVertAxis::aBothVertAxis);
  struct TCase {
    TChartAxis* Axis;
    TAlphaColor Color;
  };
  const TCase Cases[] = {{Chart->GetLeftAxis(), 0xFF000011},
                         {Chart->GetRightAxis(), 0xFF000022},
                         {Chart->GetBottomAxis(), 0xFF000033},
                         {Chart->GetTopAxis(), 0xFF000044}};
  for (const TCase& C : Cases) {
    C.Axis->SetVisible(true);
    C.Axis->SetLabelsAlign(TAxisLabelAlign::alCenter);
    C.Axis->GetLabelsFont()->SetColor(C.Color);
  }
  for (std::int32_t Angle : {0, 90}) {
    for (const TCase& C : Cases) C.Axis->SetLabelsAngle(Angle);
    Paint(600, 400);
    for (const TCase& C : Cases) {
      TChartAxis* A = C.Axis;
      const bool Horizontal = A->GetHorizontal();
      // the band runs outward from the label line by the labels' size
      const float Mid = A->InflateAxisPos(A->GetPosLabels(), A->SizeLabels() / 2);
      std::size_t Seen = 0;
      for (const TCanvasRecord& R : Canvas->GetRecords()) {
        if (R.Kind != TRecordKind::FillText || R.Color != C.Color || R.Text.size() < 2) continue;
        ++Seen;
        // (the text runs from the rectangle's top left corner, 7 pixels a character and 12 high)
        const float Width = TFixedTextLayout::CharWidth * static_cast<float>(R.Text.size());
        const TPointF Centre = TPointF(R.Rect.Left + Width / 2, R.Rect.Top + TFixedTextLayout::LineHeight / 2) * R.Matrix;
        EXPECT_NEAR(Horizontal ? Centre.Y : Centre.X, Mid, 4) << R.Text << " angle " << Angle << " on " << A->GetHorizontal() << A->GetOtherSide();
      }
      EXPECT_GT(Seen, 0u);
    }
  }
}

TEST_F(AxisChartTest, NextLabelEventChoosesTheLabels) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 10);
  B->SetIncrement(5);
  // leaving Stop on at the first call keeps the default labels
  Chart->OnGetNextAxisLabel = [](TChartAxis*, std::int32_t, double&, bool&) {};
  Paint();
  EXPECT_EQ(Texts(B), (std::vector<String>{"10", "5", "0"}));
  const double Values[] = {3, 7, 9.5, 42};
  Chart->OnGetNextAxisLabel = [&](TChartAxis*, std::int32_t Index, double& Value, bool& Stop) {
    Value = Values[Index];
    Stop = false;
  };
  Paint();
  // a value outside the axis ends the walk
  EXPECT_EQ(Texts(B), (std::vector<String>{"3", "7", "9.5"}));
  // a handler that never stops is cut off
  Chart->OnGetNextAxisLabel = [](TChartAxis*, std::int32_t, double& Value, bool& Stop) {
    Value = 1;
    Stop = false;
  };
  Paint();
  EXPECT_LE(B->GetItems()->GetCount(), 2001);
}

TEST_F(AxisChartTest, NextLabelEventValuesLieOnTheAxisHoweverNarrow) {
  // a value a hair past an end labels it on an ordinary axis; on an axis narrower than that hair
  // the same distance lies far off it, and ends the walk
  struct TCase {
    double Min, Max, Past;
    std::int32_t Labels;
  };
  const TCase Cases[] = {{0, 10, 5e-8, 3}, {5, 5 + 1e-9, 5e-8, 0}};
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  for (const TCase& C : Cases) {
    B->SetMinMax(C.Min, C.Max);
    const double Values[] = {C.Min - C.Past, (C.Min + C.Max) / 2, C.Max + C.Past};
    Chart->OnGetNextAxisLabel = [&](TChartAxis*, std::int32_t Index, double& Value, bool& Stop) {
      Stop = Index > 2;
      if (!Stop) Value = Values[Index];
    };
    Paint();
    const std::int32_t Lo = std::min(B->IStartPos, B->IEndPos), Hi = std::max(B->IStartPos, B->IEndPos);
    for (std::int32_t T : B->Tick) EXPECT_TRUE(T >= Lo && T <= Hi) << C.Min << ": tick " << T;
    EXPECT_EQ(B->GetItems()->GetCount(), C.Labels) << C.Min;
  }
}

TEST_F(AxisChartTest, LabelRoomWithALabelHandlerIsTheSameWhereverTheViewIs) {
  // the room of point labels that a handler gives is measured over every point, whatever part of
  // them the view shows: scrolling onto or off the one long label leaves the room as it was
  for (int I = 0; I < 100; ++I) Series->AddXY(I, I % 5, "p" + std::to_string(I));
  TChartAxis* B = Chart->GetBottomAxis();
  ASSERT_EQ(B->CalcLabelStyle(), TAxisLabelStyle::talText);
  const String Long(30, 'w');
  std::vector<std::int32_t> Asked;
  Chart->OnGetAxisLabel = [&](TChartAxis* A, TChartSeries* S, std::int32_t Index, String& Text) {
    if (A != B || S != Series) return;
    Asked.push_back(Index);
    if (Index == 80) Text = Long;
  };
  struct TView {
    double Min, Max;
  };
  for (const TView& V : {TView{0, 20}, TView{70, 90}, TView{0, 99}, TView{85, 99}}) {
    B->SetMinMax(V.Min, V.Max);
    Paint();
    Asked.clear();
    const std::int32_t Room = B->MaxLabelsWidth();
    TCanvas3D* C = Chart->GetCanvas();
    C->AssignFont(B->GetLabelsFont());
    EXPECT_EQ(Room, C->TextWidth(Long)) << V.Min << ".." << V.Max;
    // each point asked once, in view or not
    std::sort(Asked.begin(), Asked.end());
    EXPECT_EQ(Asked.size(), 100u) << V.Min << ".." << V.Max;
    EXPECT_EQ(std::adjacent_find(Asked.begin(), Asked.end()), Asked.end()) << V.Min << ".." << V.Max;
  }
}

TEST_F(AxisChartTest, CustomItemsReplaceTheAutomaticLabels) {
  AddPoints({0, 1});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 1);
  B->GetItems()->Add(-1, "below");
  B->GetItems()->Add(0.5, "half");
  B->GetItems()->Add(2, "above");
  EXPECT_FALSE(B->GetItems()->GetAuto());
  Paint();
  ASSERT_EQ(B->Tick.size(), 1u);
  EXPECT_EQ(B->Tick[0], B->CalcPosValue(0.5));
  EXPECT_EQ(B->GetItems()->GetCount(), 3);
  std::vector<String> Drawn;
  for (const TCanvasRecord& R : Canvas->GetRecords())
    if (R.Kind == TRecordKind::FillText) Drawn.push_back(R.Text);
  EXPECT_NE(std::find(Drawn.begin(), Drawn.end(), "half"), Drawn.end());
  EXPECT_EQ(std::find(Drawn.begin(), Drawn.end(), "below"), Drawn.end());
  EXPECT_EQ(std::find(Drawn.begin(), Drawn.end(), "above"), Drawn.end());
}

TEST_F(AxisChartTest, GridLinesFollowTheTicks) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 10);
  B->SetIncrement(1);
  B->GetGrid()->SetColor(0xFF112233);
  struct TCase {
    int Every;
    bool Centered;
    std::vector<double> Expected;  // values under the lines, pixels strictly inside the axis
  };
  const TCase Cases[] = {
      {1, false, {9, 8, 7, 6, 5, 4, 3, 2, 1}},
      {2, false, {8, 6, 4, 2}},
      // midpoints after ticks 2, 4 ... (the ticks run down from 10)
      {2, true, {8.5, 6.5, 4.5, 2.5, 0.5}},
  };
  for (const TCase& C : Cases) {
    B->GetGrid()->SetDrawEvery(C.Every);
    B->SetGridCentered(C.Centered);
    Paint();
    std::vector<int> Xs;
    for (const TCanvasRecord& R : LinesOf(0xFF112233)) Xs.push_back(static_cast<int>(R.Points[0].X));
    std::vector<int> Want;
    for (double V : C.Expected)
      Want.push_back(C.Centered ? Round((B->CalcPosValue(V - 0.5) + B->CalcPosValue(V + 0.5)) * 0.5) : B->CalcPosValue(V));
    EXPECT_EQ(Xs, Want) << C.Every << " " << C.Centered;
  }
}

TEST_F(AxisChartTest, GridInTheDefaultColourIsGrey) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->GetGrid()->SetColor(clZelDefault);
  Paint();
  EXPECT_FALSE(LinesOf(0xFF808080).empty());
}

TEST_F(AxisChartTest, TickLengthZeroKeepsTheGrid) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 10);
  B->SetIncrement(5);
  B->GetTicks()->SetColor(0xFF010203);
  B->GetGrid()->SetColor(0xFF040506);
  B->SetTickLength(0);
  Paint();
  EXPECT_TRUE(LinesOf(0xFF010203).empty());
  EXPECT_EQ(LinesOf(0xFF040506).size(), 1u);
}

TEST_F(AxisChartTest, LabelsBehindAreDrawnBeforeTheGrid) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 10);
  B->SetIncrement(5);
  B->GetGrid()->SetColor(0xFF040506);
  for (bool Behind : {false, true}) {
    B->SetLabelsBehind(Behind);
    Paint();
    std::ptrdiff_t FirstText = -1, FirstGrid = -1;
    const auto& Recs = Canvas->GetRecords();
    for (std::size_t I = 0; I < Recs.size(); ++I) {
      if (FirstText < 0 && Recs[I].Kind == TRecordKind::FillText && Recs[I].Text == "5") FirstText = I;
      if (FirstGrid < 0 && Recs[I].Kind == TRecordKind::DrawLine && Recs[I].Color == 0xFF040506) FirstGrid = I;
    }
    ASSERT_GE(FirstText, 0);
    ASSERT_GE(FirstGrid, 0);
    EXPECT_EQ(FirstText < FirstGrid, Behind);
  }
}

TEST_F(AxisChartTest, StartAndEndPositionsAreShareOfTheChartRectangle) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetStartPosition(20);
  B->SetEndPosition(80);
  Paint();
  const TRectF R = Chart->GetChartRect();
  const int Width = Round(R.Right) - Round(R.Left);
  EXPECT_EQ(B->IStartPos, Round(R.Left) + Round(Width * 0.2));
  EXPECT_EQ(B->IEndPos, Round(R.Left) + Round(Width * 0.8));
}

TEST_F(AxisChartTest, PixelShiftOfTheAxisLine) {
  AddPoints({0, 10});
  const TRectF R(40, 20, 540, 320);
  struct TCase {
    TChartAxis* Axis;
    int Edge, Shifted;
  };
  TChartAxis* Bottom = Chart->GetBottomAxis();
  TChartAxis* Right = Chart->GetRightAxis();
  TChartAxis* Left = Chart->GetLeftAxis();
  const TCase Cases[] = {{Bottom, 320, 310}, {Right, 540, 530}, {Left, 40, 50}};
  for (const TCase& C : Cases) {
    C.Axis->SetPositionUnits(TAxisPosUnits::muPixels);
    C.Axis->SetPositionPercent(10);
    EXPECT_EQ(C.Axis->GetRectangleEdge(R), C.Edge);
    EXPECT_EQ(C.Axis->ApplyPosition(C.Edge, R), C.Shifted);
  }
  // percent of the rectangle's height for horizontal axes
  Bottom->SetPositionUnits(TAxisPosUnits::muPercent);
  EXPECT_EQ(Bottom->ApplyPosition(320, R), 290);
}

TEST_F(AxisChartTest, InflatingNeverCollapsesTheChartRectangle) {
  struct TCase {
    TChartAxis* Axis;
    TRectF Expected;
  };
  const TCase Cases[] = {
      {Chart->GetBottomAxis(), TRectF(0, 0, 100, 1)},
      {Chart->GetTopAxis(), TRectF(0, 49, 100, 50)},
      {Chart->GetLeftAxis(), TRectF(99, 0, 100, 50)},
      {Chart->GetRightAxis(), TRectF(0, 0, 1, 50)},
  };
  for (const TCase& C : Cases) {
    TRectF R(0, 0, 100, 50);
    C.Axis->InflateAxisRect(R, 1000);
    EXPECT_EQ(R.Left, C.Expected.Left);
    EXPECT_EQ(R.Top, C.Expected.Top);
    EXPECT_EQ(R.Right, C.Expected.Right);
    EXPECT_EQ(R.Bottom, C.Expected.Bottom);
  }
}

TEST_F(AxisChartTest, ClicksNearTheAxisLine) {
  AddPoints({0, 10});
  Paint();
  TChartAxis* B = Chart->GetBottomAxis();
  ASSERT_TRUE(Chart->IsAxisVisible(B));
  const int X = (B->IStartPos + B->IEndPos) / 2;
  const int Line = B->GetPosAxis();
  ASSERT_GT(B->GetPosLabels(), Line);  // labels below the line
  EXPECT_TRUE(B->Clicked(X, Line - 2));
  EXPECT_FALSE(B->Clicked(X, Line - 4));
  EXPECT_TRUE(B->Clicked(X, B->GetPosLabels()));
  EXPECT_FALSE(B->Clicked(B->IEndPos + 5, Line));
}

TEST_F(AxisChartTest, ScrollingWithinTheData) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 10);
  B->Scroll(5, true);  // the data end at 10: nothing beyond the maximum to show
  EXPECT_EQ(B->GetMinimum(), 0);
  EXPECT_EQ(B->GetMaximum(), 10);
  B->Scroll(0, false);
  EXPECT_EQ(B->GetMaximum(), 10);
  B->SetAutomatic(true);
  B->Scroll(5, false);
  EXPECT_EQ(B->GetMinimum(), 5);
  EXPECT_EQ(B->GetMaximum(), 15);
  EXPECT_FALSE(B->GetAutomatic());
  EXPECT_FALSE(B->GetAutomaticMinimum());
  EXPECT_FALSE(B->GetAutomaticMaximum());
  B->Scroll(-2, true);  // back towards the data
  EXPECT_EQ(B->GetMinimum(), 3);
}

TEST_F(AxisChartTest, CustomDrawRestoresTheScaleAfterAnError) {
  AddPoints({0, 10});
  Paint();
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(1, 9);
  B->SetIncrement(2);
  B->OnDrawLabel = [](TChartAxis*, std::int32_t&, std::int32_t&, std::int32_t&, String&, bool&) {
    throw std::runtime_error("label");
  };
  Canvas = std::make_unique<TRecordingCanvas>(400, 300);
  EXPECT_THROW(B->CustomDrawMinMax(250, 270, 240, true, 100, 200, 25), std::runtime_error);
  EXPECT_EQ(B->GetMinimum(), 1);
  EXPECT_EQ(B->GetMaximum(), 9);
  EXPECT_EQ(B->GetIncrement(), 2);
  EXPECT_FALSE(B->GetAutomatic());
  EXPECT_EQ(B->IMinimum, 1);
  EXPECT_EQ(B->IMaximum, 9);
}

TEST_F(AxisChartTest, DepthAxesInvertTogether) {
  Chart->GetDepthAxis()->SetInverted(true);
  EXPECT_TRUE(Chart->GetDepthTopAxis()->GetInverted());
  Chart->GetDepthTopAxis()->SetInverted(false);
  EXPECT_FALSE(Chart->GetDepthAxis()->GetInverted());
}

TEST_F(AxisChartTest, AutomaticEndsComeFromTheData) {
  AddPoints({-3, 12});
  Paint();
  TChartAxis* B = Chart->GetBottomAxis();
  EXPECT_EQ(B->GetMinimum(), -3);
  EXPECT_EQ(B->GetMaximum(), 12);
  // a series of two points on a wide range gets no fractional step
  EXPECT_GE(B->CalcLabelsIncrement(50), 1);
}

TEST_F(AxisChartTest, CustomAxisLeavesTheListAndItsSeries) {
  AddPoints({0, 1});
  auto* Custom = Create<TChartAxis>(static_cast<TCustomAxisPanel*>(Chart));
  EXPECT_TRUE(Custom->IsCustom());
  EXPECT_GE(Chart->GetAxes()->IndexOf(Custom), 6);
  EXPECT_EQ(Chart->GetCustomAxes()->GetCount(), 1);
  Series->SetCustomVertAxis(Custom);
  Custom->Free();
  EXPECT_EQ(Chart->GetAxes()->IndexOf(Custom), -1);
  EXPECT_EQ(Chart->GetCustomAxes()->GetCount(), 0);
  EXPECT_EQ(Series->GetCustomVertAxis(), nullptr);
  EXPECT_EQ(Series->GetVertAxis(), TVertAxis::aLeftAxis);
}

TEST_F(AxisChartTest, AFreedAxisIsNobodysPartner) {
  // grid lines that span a partner axis read it at every paint
  AddPoints({0, 1});
  TChartAxis* L = Chart->GetLeftAxis();
  auto* Sub = static_cast<TChartAxis*>(Chart->GetBottomAxis()->GetSubAxes()->Add());
  for (bool FreeSub : {false, true}) {
    auto* Custom = Create<TChartAxis>(static_cast<TCustomAxisPanel*>(Chart));
    Custom->SetHorizontal(true);
    TChartAxis* Gone = FreeSub ? Sub : Custom;
    std::vector<TChartAxis*> Holders;
    for (TChartAxis* A : {L, Sub, Custom}) {
      if (A == Gone) continue;
      A->SetPartnerAxis(Gone);
      A->SetUsePartnerAxis(true);
      Holders.push_back(A);
    }
    Paint();
    Gone->Free();
    for (TChartAxis* A : Holders) EXPECT_EQ(A->GetPartnerAxis(), nullptr) << FreeSub;
    Paint();  // reads no freed axis
  }
}

TEST_F(AxisChartTest, OnePaintShowsTheSeriesLabels) {
  // an export or a print paints once: the labels and their band must not wait for a second paint
  for (bool Behind : {true, false}) {
    Chart->Free();
    SetUp();
    Chart->SetAxisBehind(Behind);
    Series->AddXY(1, 1, "one");
    Series->AddXY(2, 2, String("two") + ZelLineSeparator + "lines");
    Series->AddXY(3, 3, "three");
    Paint();
    const std::vector<String> First = Texts(Chart->GetBottomAxis());
    const float Bottom = Chart->GetChartRect().Bottom;
    EXPECT_EQ(First.size(), 3u) << Behind;
    Paint();
    EXPECT_EQ(Texts(Chart->GetBottomAxis()), First) << Behind;
    EXPECT_EQ(Chart->GetChartRect().Bottom, Bottom) << Behind;
  }
}

TEST_F(AxisChartTest, SeriesLabelsSkipOrTrimWhatWouldOverlap) {
  for (int I = 0; I < 10; ++I) Series->AddXY(I, I, "Alpha");
  TChartAxis* B = Chart->GetBottomAxis();
  for (bool Trim : {false, true}) {
    B->GetLabelsObject()->GetAutomatic()->SetTrim(Trim);
    Paint(400, 300);
    ASSERT_EQ(B->CalcLabelStyle(), TAxisLabelStyle::talText);
    TAxisItems* Items = B->GetItems();
    if (Trim)
      EXPECT_EQ(Items->GetCount(), 10);
    else
      EXPECT_LT(Items->GetCount(), 10);
    bool Shortened = false;
    for (std::int32_t I = 0; I < Items->GetCount(); ++I) {
      const String& T = Items->Get(I)->GetText();
      ASSERT_FALSE(T.empty());
      EXPECT_EQ(String("Alpha").compare(0, T.size(), T), 0) << T;
      Shortened = Shortened || T != "Alpha";
      if (I == 0) continue;
      // with the 10% separation on each side, neighbouring labels never overlap
      // the first label of the series keeps no gap of its own
      const String& P = Items->Get(I - 1)->GetText();
      const int HalfP = I == 1 ? int(P.size()) * 7 / 2 : (int(P.size()) * 7 + int(P.size()) * 7 / 5) / 2;
      const int HalfT = (int(T.size()) * 7 + int(T.size()) * 7 / 5) / 2;
      EXPECT_GE(Items->Get(I)->GetLabelPos() - HalfT, Items->Get(I - 1)->GetLabelPos() + HalfP);
    }
    EXPECT_EQ(Shortened, Trim);
  }
}

// Labels at the ends of an axis that would cross the panel's edge move inside it; one that would
// then overlap or touch its neighbour gives way (the one drawn later), on every side, turned or
// not, inverted or not, drawn behind the grid or not. The axis runs the panel's whole length, so
// both its end labels move.
TEST_F(AxisChartTest, EndLabelsMovedInsideNeverOverlapTheirNeighbours) {
  AddPoints({0, 100000});
  const std::array<TChartAxis*, 4> Axes = OnEverySideToTheEdges(0xFF000011);
  for (TChartAxis* A : Axes) {
    for (TChartAxis* Other : Axes) Other->SetVisible(Other == A);
    for (std::int32_t Angle : {0, 90, 180, 270}) {
      for (int Variant = 0; Variant < 4; ++Variant) {
        const bool Inverted = Variant & 1, Behind = Variant & 2;
        SCOPED_TRACE(std::to_string(A->GetHorizontal()) + std::to_string(A->GetOtherSide()) +
                     " angle " + std::to_string(Angle) + " inverted " + std::to_string(Inverted) +
                     " behind " + std::to_string(Behind));
        A->SetLabelsAngle(Angle);
        A->SetInverted(Inverted);
        A->SetLabelsBehind(Behind);
        Paint(400, 300);
        const std::vector<zeltest::TDrawnText> Labels = zeltest::DrawnTexts(*Canvas, 0xFF000011);
        ASSERT_GE(Labels.size(), 3u);
        EXPECT_EQ(zeltest::FirstCollision(Labels), "");
        // (within a rounding error of the turned text's corners)
        for (const zeltest::TDrawnText& L : Labels) {
          EXPECT_GE(A->GetHorizontal() ? L.Box.Left : L.Box.Top, -0.01) << L.Text;
          EXPECT_LE(A->GetHorizontal() ? L.Box.Right : L.Box.Bottom,
                    A->GetHorizontal() ? 400.01 : 300.01)
              << L.Text;
        }
      }
    }
    A->SetLabelsAngle(0);
    A->SetInverted(false);
    A->SetLabelsBehind(false);
  }
}

// The same over many ranges and two panel widths, on each side, at each right angle: no two labels
// overlap, and an end label (moved inside or not) neither overlaps nor touches its neighbour. A
// turned label covers its turned box: on a vertical axis as long as its text is wide.
TEST_F(AxisChartTest, LabelsOverManyRangesNeverOverlap) {
  const std::array<TChartAxis*, 4> Axes = OnEverySideToTheEdges(0xFF000011);
  std::vector<std::pair<double, double>> Ranges;
  for (double Lo : {0.0, -1.0, -7.0, -250.0, 0.25, 13.0, -100000.0})
    for (double Hi : {1.0, 3.0, 7.5, 10.0, 12.0, 37.0, 99.0, 100.0, 123.0, 640.0, 1000.0, 2500.0, 9999.0, 12345.0,
                      1e5, 333333.0, 1e6, 2.5e7})
      if (Hi > Lo) Ranges.emplace_back(Lo, Hi);
  // (by more than the rounding error of a turned box's corners)
  auto Overlap = [](const TRectF& A, const TRectF& B) {
    constexpr float E = 0.01f;
    return A.Left + E < B.Right && B.Left + E < A.Right && A.Top + E < B.Bottom && B.Top + E < A.Bottom;
  };
  for (TChartAxis* A : Axes) {
    for (TChartAxis* Other : Axes) Other->SetVisible(Other == A);
    for (std::int32_t Angle : {0, 90, 180, 270}) {
      A->SetLabelsAngle(Angle);
      for (const auto& [Lo, Hi] : Ranges) {
        Series->Clear();
        AddPoints({Lo, Hi});
        for (int Width : {400, 317}) {
          Paint(Width, 300);
          std::vector<zeltest::TDrawnText> Labels = zeltest::DrawnTexts(*Canvas, 0xFF000011);
          const String Where = std::to_string(A->GetHorizontal()) + std::to_string(A->GetOtherSide()) + " angle " +
                               std::to_string(Angle) + " width " + std::to_string(Width) + " range " +
                               FloatToStr(Lo) + ".." + FloatToStr(Hi);
          ASSERT_FALSE(Labels.empty()) << Where;
          const bool H = A->GetHorizontal();
          std::sort(Labels.begin(), Labels.end(), [H](const auto& P, const auto& Q) {
            return H ? P.Box.Left < Q.Box.Left : P.Box.Top < Q.Box.Top;
          });
          for (std::size_t I = 0; I < Labels.size(); ++I) {
            const TRectF& B = Labels[I].Box;
            EXPECT_TRUE(B.Left >= -0.01 && B.Top >= -0.01 && B.Right <= Width + 0.01 && B.Bottom <= 300.01)
                << Labels[I].Text << " off the panel, " << Where;
            for (std::size_t J = I + 1; J < Labels.size(); ++J) {
              const bool AtEnd = I == 0 || J == Labels.size() - 1;
              const bool Clash = AtEnd ? zeltest::OverlapOrTouch(B, Labels[J].Box) : Overlap(B, Labels[J].Box);
              EXPECT_FALSE(Clash) << Labels[I].Text << " and " << Labels[J].Text << ", " << Where;
            }
          }
        }
      }
    }
    A->SetLabelsAngle(0);
  }
}

// The labels band of a vertical axis is as wide as the labels it draws: negative ones, tiny ones,
// and those of an axis whose maximum lies below its minimum (drawn with its ends in order) lie
// whole inside the panel, on their side of the chart.
TEST_F(AxisChartTest, NegativeAndReversedRangesGetABandAsWideAsTheirLabels) {
  struct TCase {
    double Lo, Hi;
    bool MinimumZero;  // a fixed minimum of 0 above the data: the maximum lies below it
  };
  const TCase Cases[] = {{-0.00005, -0.00001, false}, {-0.00005, -0.00001, true},
                         {-0.00005, 0.00002, false},  {-1000000, -1, false},
                         {-1000000, -1, true},        {-123.456, 0.5, false},
                         {-1e-9, -1e-10, true},       {-1e300, -1e299, true}};
  Series->SetVertAxis(TVertAxis::aBothVertAxis);
  TChartAxis* Left = Chart->GetLeftAxis();
  TChartAxis* Right = Chart->GetRightAxis();
  Left->GetLabelsFont()->SetColor(0xFF000011);
  Right->GetLabelsFont()->SetColor(0xFF000022);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(FloatToStr(C.Lo) + ".." + FloatToStr(C.Hi) + (C.MinimumZero ? " from 0" : ""));
    Series->Clear();
    AddPoints({C.Lo, C.Hi});
    for (TChartAxis* A : {Left, Right}) {
      A->SetMinMax(0, 1);
      A->SetAutomaticMaximum(true);
      A->SetAutomaticMinimum(!C.MinimumZero);
    }
    Paint(400, 300);
    const TRectF Plot = Chart->GetChartRect();
    for (TChartAxis* A : {Left, Right}) {
      const std::vector<zeltest::TDrawnText> Labels =
          zeltest::DrawnTexts(*Canvas, A == Left ? 0xFF000011 : 0xFF000022);
      String All;
      for (const zeltest::TDrawnText& L : Labels) All += L.Text + " | ";
      EXPECT_GE(Labels.size(), 2u) << All;
      for (const zeltest::TDrawnText& L : Labels) {
        if (A == Left) {
          EXPECT_GE(L.Box.Left, 0) << L.Text << " in " << All;
          EXPECT_LE(L.Box.Right, Plot.Left) << L.Text << " in " << All;
        } else {
          EXPECT_GE(L.Box.Left, Plot.Right) << L.Text << " in " << All;
          EXPECT_LE(L.Box.Right, 400) << L.Text << " in " << All;
        }
      }
    }
  }
}

// Axes whose ends reach the largest doubles (sentinels some instruments write for "no reading",
// or an axis set to the whole double range) label as an ordinary axis does: every label on the
// axis at one spacing, the negative half labelled like the positive half, and an end that is a
// multiple of the step drawn, also where the arithmetic misses it by a rounding error. The left
// axis and a custom axis.
TEST_F(AxisChartTest, AxesAtTheEndsOfTheDoubleRangeLabelAsOrdinaryAxes) {
  constexpr double Largest = std::numeric_limits<double>::max();
  struct TCase {
    const char* Name;
    std::vector<double> Data;
    bool Fixed;  // the axis set to -Lo .. Lo
    double Lo;
    std::vector<String> Ends;  // labels that must be drawn
  };
  const TCase Cases[] = {
      {"sentinels in one series", {1e308, -1e308, Largest, -Largest}, false, 0, {}},
      {"the whole double range", {1, 2}, true, Largest, {}},
      {"+/-1e308 from the data", {1e308, -1e308}, false, 0, {"1E308", "-1E308"}},
      {"+/-1e300 set", {1, 2}, true, 1e300, {"1E300", "-1E300"}},
      {"+/-0.3 set", {0, 0.1}, true, 0.3, {"0.3", "-0.3"}},
  };
  auto* Custom = Create<TChartAxis>(static_cast<TCustomAxisPanel*>(Chart));
  for (TChartAxis* L : {Chart->GetLeftAxis(), Custom}) {
    for (const TCase& C : Cases) {
      Series->SetCustomVertAxis(L == Custom ? Custom : nullptr);
      for (TChartAxis* A : {Chart->GetLeftAxis(), Custom})
        A->GetLabelsFont()->SetColor(A == L ? 0xFF000011 : 0xFF000022);
      for (int Height : {160, 300, 471}) {
        SCOPED_TRACE(String(C.Name) + " at " + std::to_string(Height) + " px" +
                     (L == Custom ? " on a custom axis" : ""));
        Series->Clear();
        for (std::size_t I = 0; I < C.Data.size(); ++I)
          Series->AddXY(static_cast<double>(I), C.Data[I]);
        if (C.Fixed)
          L->SetMinMax(-C.Lo, C.Lo);
        else
          L->SetAutomatic(true);
        Paint(400, Height);
        const std::vector<zeltest::TDrawnText> Labels = zeltest::DrawnTexts(*Canvas, 0xFF000011);
        String All;
        for (const zeltest::TDrawnText& T : Labels) All += T.Text + " ";
        ASSERT_GE(Labels.size(), 3u) << All;
        ASSERT_LE(L->Tick.size(), static_cast<std::size_t>(Height / 12 + 1)) << All;
        std::vector<float> Centres;
        for (const zeltest::TDrawnText& T : Labels) {
          const float Centre = (T.Box.Top + T.Box.Bottom) / 2;
          EXPECT_GE(Centre, L->IStartPos - 0.5f) << T.Text << " in " << All;
          EXPECT_LE(Centre, L->IEndPos + 0.5f) << T.Text << " in " << All;
          Centres.push_back(Centre);
          // the negative half mirrors the positive half
          const String Mirror = T.Text == "0"      ? T.Text
                                : T.Text[0] == '-' ? T.Text.substr(1)
                                                   : "-" + T.Text;
          EXPECT_TRUE(std::any_of(Labels.begin(), Labels.end(),
                                  [&](const auto& O) { return O.Text == Mirror; }))
              << Mirror << " missing in " << All;
        }
        std::sort(Centres.begin(), Centres.end());
        std::vector<float> Gaps;
        for (std::size_t I = 1; I < Centres.size(); ++I)
          Gaps.push_back(Centres[I] - Centres[I - 1]);
        const auto [Least, Most] = std::minmax_element(Gaps.begin(), Gaps.end());
        // (each pixel is rounded: two gaps differ by up to two pixels)
        EXPECT_LE(*Most - *Least, 2.01f) << "uneven spacing in " << All;
        for (const String& End : C.Ends)
          EXPECT_TRUE(std::any_of(Labels.begin(), Labels.end(),
                                  [&](const auto& O) { return O.Text == End; }))
              << End << " missing in " << All;
      }
    }
  }
}

TEST_F(AxisChartTest, ValueTexts) {
  AddPoints({0, 1});
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetAxisValuesFormat("0.0E+00");
  EXPECT_EQ(L->LabelValue(1.5e10), "1.5E+10");
  Chart->OnGetAxisLabel = [](TChartAxis*, TChartSeries* S, std::int32_t Index, String& Text) {
    if (!S && Index == -1) Text = "two words";
  };
  EXPECT_EQ(L->LabelValue(3), "two words");
  L->SetLabelsMultiLine(true);
  EXPECT_EQ(L->LabelValue(3), "two\rwords");
}

TEST_F(AxisChartTest, ExponentIsDrawnRaisedAndSmaller) {
  AddPoints({0, 2e10});
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetMinMax(1.5e10, 1.5e10 + 1);
  L->SetIncrement(10);
  L->SetAxisValuesFormat("0.0E+00");
  L->SetLabelsExponent(true);
  Paint();
  const TCanvasRecord* Mantissa = nullptr;
  const TCanvasRecord* Power = nullptr;
  for (const TCanvasRecord& R : Canvas->GetRecords()) {
    if (R.Kind != TRecordKind::FillText) continue;
    if (R.Text == "1.5" && !Mantissa) Mantissa = &R;
    if (R.Text == "+10" && !Power) Power = &R;
  }
  ASSERT_NE(Mantissa, nullptr);
  ASSERT_NE(Power, nullptr);
  EXPECT_LT(Power->FontSize, Mantissa->FontSize);
  EXPECT_LT(Power->Rect.Top, Mantissa->Rect.Top);
  EXPECT_GT(Power->Rect.Left, Mantissa->Rect.Left);
}

TEST_F(AxisChartTest, TitleAtTheStartSitsAtTheLowValueEnd) {
  AddPoints({0, 10});
  TChartAxis* B = Chart->GetBottomAxis();
  B->GetTitle()->SetCaption("Time");
  for (bool Inverted : {false, true}) {
    B->SetInverted(Inverted);
    B->GetTitle()->SetPosition(TAxisTitlePosition::tpStart);
    Paint();
    const TCanvasRecord* T = nullptr;
    for (const TCanvasRecord& R : Canvas->GetRecords())
      if (R.Kind == TRecordKind::FillText && R.Text == "Time") T = &R;
    ASSERT_NE(T, nullptr);
    // the text starts at the title's left edge; the title is 4 characters wide
    const float Mid = T->Rect.Left + 14;
    const int LowEnd = B->CalcPosValue(B->IMinimum);
    EXPECT_LT(std::abs(Mid - LowEnd), 30) << Inverted;
  }
}

TEST_F(AxisChartTest, SubAxesBelongToTheirMaster) {
  TChartAxis* L = Chart->GetLeftAxis();
  auto* Sub = static_cast<TChartAxis*>(L->GetSubAxes()->Add());
  EXPECT_EQ(Sub->GetMaster(), L);
  EXPECT_EQ(Sub->GetParentChart(), Chart);
  EXPECT_TRUE(Sub->IsCustom());
  L->SetMinMax(2, 4);
  AddPoints({0, 10});
  Paint();
  // an automatic sub-axis shows its master's scale along the same pixels
  EXPECT_EQ(Sub->IMinimum, 2);
  EXPECT_EQ(Sub->IMaximum, 4);
  EXPECT_EQ(Sub->CalcPosValue(3), L->CalcPosValue(3));
  EXPECT_EQ(Sub->IStartPos, L->IStartPos);
  EXPECT_EQ(Sub->IEndPos, L->IEndPos);
  L->SetSubAxes(nullptr);
  EXPECT_EQ(L->ExistingSubAxes(), nullptr);
}

TEST_F(AxisChartTest, DateTimeLabelsFallOnCalendarSteps) {
  const TDateTime Start = EncodeDate(2024, 3, 1);
  Series->GetXValues()->SetDateTime(true);
  Series->AddXY(Start, 1);
  Series->AddXY(Start + 10, 2);
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetIncrement(1);
  Paint(800, 300);
  EXPECT_TRUE(B->IAxisDateTime);
  EXPECT_EQ(Texts(B).front(), "2024-03-11");
  EXPECT_EQ(Texts(B).back(), "2024-03-01");
  B->SetDateTimeFormat("dd");
  B->SetIncrement(3);
  Paint(800, 300);
  // the first label is the maximum rounded to a three-day boundary of the calendar
  EXPECT_EQ(Texts(B), (std::vector<String>{"09", "06", "03"}));
}

TEST_F(AxisChartTest, PixelMarginsKeepTheDataSpan) {
  AddPoints({0, 10});
  Paint();
  TChartAxis* B = Chart->GetBottomAxis();
  const int Start = B->IStartPos, End = B->IEndPos;
  B->AdjustMaxMinRect(TRectF(10, 0, 20, 0));
  // the pixels stay, the ends widen: the data now start 10 pixels in and end 20 before the end
  EXPECT_EQ(B->IStartPos, Start);
  EXPECT_EQ(B->IEndPos, End);
  EXPECT_LT(B->IMinimum, 0);
  EXPECT_GT(B->IMaximum, 10);
  EXPECT_EQ(B->CalcPosValue(0), Start + 10);
  EXPECT_EQ(B->CalcPosValue(10), End - 20);
}

TEST_F(AxisChartTest, UnusableScalesStillPaint) {
  const double Inf = std::numeric_limits<double>::infinity();
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  struct TCase {
    double Min, Max, Increment;
    bool Logarithmic;
  };
  const TCase Cases[] = {
      {-1e308, 1e308, 0, false},  // the range overflows to infinity
      {NaN, 1, 0, false},
      {0, Inf, 0, false},
      {1, 1e300, 0, true},
      {0, 1e15, 1e-300, false},   // far too many labels
      {1e15, 1e15 + 1, 0.1, false},  // a step lost in rounding
  };
  AddPoints({0, 1});
  for (const TCase& C : Cases) {
    for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
      A->SetLogarithmic(false);
      A->SetMinMax(C.Min, C.Max);
      A->SetIncrement(C.Increment);
      if (C.Logarithmic) A->SetLogarithmic(true);
    }
    Paint();
    EXPECT_LE(Chart->GetBottomAxis()->GetItems()->GetCount(), 20000) << C.Min << ".." << C.Max;
  }
}

TEST_F(AxisChartTest, DrawingOptionsInTwoAndThreeDimensions) {
  struct TCase {
    bool View3D;
    TPenLineMode Mode;
    TAxisLabelAlign Align;
    bool Alternate, MinorGrid, Shape, Depth;
    std::int32_t Angle;
  };
  const TCase Cases[] = {
      {false, TPenLineMode::lmLine, TAxisLabelAlign::alDefault, true, true, true, false, 0},
      {false, TPenLineMode::lmLine, TAxisLabelAlign::alOpposite, false, false, false, false, 90},
      {false, TPenLineMode::lmLine, TAxisLabelAlign::alCenter, false, true, false, false, 270},
      {true, TPenLineMode::lmLine, TAxisLabelAlign::alDefault, false, true, false, true, 0},
      {true, TPenLineMode::lmCylinder, TAxisLabelAlign::alDefault, true, false, true, true, 45},
      {true, TPenLineMode::lmRectangle, TAxisLabelAlign::alOpposite, false, true, false, false, 0},
  };
  AddPoints({1, 5, 9});
  for (const TCase& C : Cases) {
    Chart->SetView3D(C.View3D);
    for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetTopAxis(), Chart->GetLeftAxis(),
                          Chart->GetRightAxis(), static_cast<TChartAxis*>(Chart->GetDepthAxis())}) {
      A->GetAxis()->SetLineMode(C.Mode);
      A->SetLabelsAlign(C.Align);
      A->SetLabelsAlternate(C.Alternate);
      A->GetMinorGrid()->SetVisible(C.MinorGrid);
      A->SetLabelsAngle(C.Angle);
      A->SetTickInnerLength(3);
      A->GetTitle()->SetCaption("T");
      A->GetShape()->SetVisible(C.Shape);
    }
    Chart->GetDepthAxis()->SetVisible(C.Depth);
    Paint();
    std::size_t Lines = 0;
    for (const TCanvasRecord& R : Canvas->GetRecords()) Lines += R.Kind == TRecordKind::DrawLine;
    EXPECT_GT(Lines, 0u) << C.View3D << " " << int(C.Mode);
    EXPECT_FALSE(Chart->GetBottomAxis()->Tick.empty());
  }
}

TEST_F(AxisChartTest, TicksAndLabelsLieOnTheAxisWhateverTheIncrement) {
  // increments far larger than the range: no multiple of the step lies on the axis, so none is
  // labelled (a millionth of such a step once widened the walk past the ends)
  struct TCase {
    double Min, Max, Increment;
  };
  const TCase Cases[] = {
      {5, 6, 1e7}, {-6, -5, 1e7}, {0.5, 0.75, 1e3}, {1e15, 1e15 + 4, 1e21}, {5, 6, 1e300},
      {0, 1, 1e7},  // 0 is a multiple: the one label, at the end
      {2, 10, 4},   // an ordinary step still labels every multiple
  };
  AddPoints({0, 1});
  for (const TCase& C : Cases) {
    for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
      A->SetMinMax(C.Min, C.Max);
      A->SetIncrement(C.Increment);
    }
    Paint();
    for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
      const String Where = FloatToStr(C.Min) + ".." + FloatToStr(C.Max) + " step " + FloatToStr(C.Increment);
      for (std::int32_t I = 0; I < A->GetItems()->GetCount(); ++I) {
        const double V = A->GetItems()->Get(I)->GetValue();
        EXPECT_TRUE(V >= C.Min && V <= C.Max) << Where << ": label " << V;
      }
      const std::int32_t Lo = std::min(A->IStartPos, A->IEndPos), Hi = std::max(A->IStartPos, A->IEndPos);
      for (std::int32_t T : A->Tick) EXPECT_TRUE(T >= Lo && T <= Hi) << Where << ": tick " << T;
    }
  }
  EXPECT_EQ(Texts(Chart->GetBottomAxis()), (std::vector<String>{"8", "4"}));
}

TEST_F(AxisChartTest, LogarithmicTicksNeverOutnumberThePixels) {
  // 318 decades on a 300-pixel chart: every other decade is labelled
  AddPoints({1, 2});
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetMinMax(1e-10, 1e308);
  L->SetLogarithmic(true);
  L->SetLabelsSeparation(0);
  L->SetLabelsGridIgnoresLabelSize(true);
  Paint(400, 300);
  const std::int32_t Pixels = std::abs(L->IAxisSize);
  ASSERT_GT(Pixels, 0);
  EXPECT_LE(static_cast<std::int32_t>(L->Tick.size()), Pixels);
  EXPECT_GT(L->Tick.size(), std::size_t(100));
  for (std::int32_t I = 0; I < L->GetItems()->GetCount(); ++I) {
    const double V = L->GetItems()->Get(I)->GetValue();
    EXPECT_TRUE(V >= 1e-10 * (1 - 1e-9) && V <= 1e308) << V;
  }
  // a range of a few decades keeps one label per decade
  L->SetLogarithmic(false);
  L->SetMinMax(1, 1000);
  L->SetLogarithmic(true);
  Paint(400, 300);
  EXPECT_EQ(Texts(L), (std::vector<String>{"1", "10", "100", "1,000"}));
}

TEST_F(AxisChartTest, LogarithmicTicksOfAMinimumThatIsNotPositiveLieOnTheAxis) {
  // Data reaching 0 or below after the axis became logarithmic: the labels start from a small
  // power in place of the minimum, and the mapping starts there too (not at 1), so that no tick
  // lies below the axis; values <= 0 still map to its end.
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetLogarithmic(true);
  for (double Low : {0.0, -5.0, -1e308}) {
    Series->Clear();
    AddPoints({Low, 0.5, 1000, 1e308});
    Paint(400, 300);
    SCOPED_TRACE(Low);
    ASSERT_FALSE(L->Tick.empty());
    const std::int32_t Lo = std::min(L->IStartPos, L->IEndPos), Hi = std::max(L->IStartPos, L->IEndPos);
    for (std::int32_t T : L->Tick) {
      EXPECT_GE(T, Lo - 1);
      EXPECT_LE(T, Hi + 1);
    }
    EXPECT_EQ(L->CalcPosValue(Low), L->IEndPos);
    EXPECT_EQ(L->CalcPosValue(1e308), L->IStartPos);
  }
}

TEST_F(AxisChartTest, LogarithmicEndsStayOrderedWhateverTheBase) {
  // Equal ends at 0 (-1e-10 .. 1e-10): the walk puts a power of the base near 1e-10 in place of
  // the negative minimum, which for base 2 or 0.5 lies above the maximum 1e-10.
  AddPoints({1, 2});
  for (double Base : {10.0, 2.0, 0.5, 3.0}) {
    for (TChartAxis* A : {Chart->GetLeftAxis(), Chart->GetBottomAxis()}) {
      A->SetLogarithmic(false);
      A->SetLogarithmicBase(Base);
      A->SetMinMax(1, 2);
      A->SetLogarithmic(true);
      A->SetMinMax(0, 0);
    }
    Paint();
    for (TChartAxis* A : {Chart->GetLeftAxis(), Chart->GetBottomAxis()}) {
      EXPECT_LE(A->IMinimum, A->IMaximum) << "base " << Base;
      for (std::int32_t I = 0; I < A->GetItems()->GetCount(); ++I)
        EXPECT_LE(A->GetItems()->Get(I)->GetValue(), A->IMaximum * (1 + 1e-9)) << "base " << Base;
    }
  }
}

TEST_F(AxisChartTest, RoundedEndsNearTheDoubleRangeStayAsTheyAre) {
  // rounding outwards would leave the double range: those ends keep their data value
  struct TCase {
    double Min, Max;
  };
  const TCase Cases[] = {{-1e308, 1e308}, {0, 1.7e308}, {-1.7e308, -1}, {3, 87}};
  for (const TCase& C : Cases) {
    Series->Clear();
    AddPoints({C.Min, C.Max});
    for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
      A->SetAutomatic(true);
      A->SetMaximumRound(true);
      A->SetMinimumRound(true);
    }
    Paint();
    for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
      EXPECT_TRUE(std::isfinite(A->IMinimum) && std::isfinite(A->IMaximum)) << C.Min << ".." << C.Max;
      // (a rounded end may miss its multiple by a rounding error)
      EXPECT_LE(A->IMinimum, C.Min + std::fabs(C.Min) * 1e-15);
      EXPECT_GE(A->IMaximum, C.Max - std::fabs(C.Max) * 1e-15);
      EXPECT_LE(A->IMinimum, A->IMaximum);
    }
  }
  // ordinary data still round outwards to the step
  EXPECT_LT(Chart->GetLeftAxis()->IMinimum, 3);
  EXPECT_GT(Chart->GetLeftAxis()->IMaximum, 87);
}

TEST_F(AxisChartTest, AScrollThatWouldLeaveTheDoubleRangeIsNotMade) {
  AddPoints({0, 1});
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetMinMax(0, 1.7e308);
  B->Scroll(1.7e307, false);  // a tenth of the range
  EXPECT_EQ(B->GetMinimum(), 0);
  EXPECT_EQ(B->GetMaximum(), 1.7e308);
  B->Scroll(-1.7e307, false);
  EXPECT_EQ(B->GetMinimum(), -1.7e307);
  EXPECT_EQ(B->GetMaximum(), 1.7e308 - 1.7e307);
  B->Scroll(std::numeric_limits<double>::infinity(), false);
  EXPECT_EQ(B->GetMinimum(), -1.7e307);
}

// The depth axis labels series by their titles at whole indexes. Set to a range far past the
// int32 (and int64) range, its indexes saturate: no label names a series by a wrapped index (the
// walk from the lowest int64 met series 0, 1 and 2 in the low 32 bits).
TEST_F(AxisChartTest, DepthAxisSetVeryWideNamesNoSeriesByAWrappedIndex) {
  AddPoints({1, 2});
  for (int I = 0; I < 2; ++I) {
    auto* S = Create<TChartSeries>(nullptr);
    Chart->AddSeries(S);
    S->AddXY(1, 1);
  }
  Chart->SetView3D(true);
  TChartDepthAxis* D = Chart->GetDepthAxis();
  D->SetVisible(true);
  struct TCase {
    double Min, Max;
    std::size_t Titles;
  };
  constexpr double Largest = std::numeric_limits<double>::max();
  const TCase Cases[] = {{-0.5, 2.5, 3}, {-1e30, 1e30, 0}, {-Largest, Largest, 0}, {1e30, Largest, 0},
                         {-Largest, -1e30, 0}, {-1e30, 2.5, 0}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(FloatToStr(C.Min) + " .. " + FloatToStr(C.Max));
    D->SetMinMax(C.Min, C.Max);
    Paint();
    std::size_t Titles = 0;
    for (const String& T : Texts(D)) Titles += T == "Series1" || T == "Series2" || T == "Series3";
    EXPECT_EQ(Titles, C.Titles);
  }
}

}  // namespace
}  // namespace zel
