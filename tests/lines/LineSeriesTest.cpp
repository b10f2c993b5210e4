// The line-series base drawn as a line (nulls, the segment entering a zoomed chart, stairs, the
// whole-path styles, shadow copies), its click tests, margins, smoothing and legend symbol.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/lines/LinesFixture.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/series/Spline.h"

namespace zel::lines {
namespace {

// A line series with the line drawn.
class TLineTestSeries : public TCustomSeries {
 public:
  explicit TLineTestSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
    FDrawLine = true;
    FPointer->SetVisible(false);
  }
};

class LineSeries : public LinesFixture {
 protected:
  TLineTestSeries* AddLine(const std::vector<double>& X, const std::vector<double>& Y) {
    return Add<TLineTestSeries>(X, Y);
  }
  void ExpectSegments(const std::vector<TCanvasRecord>& L, const std::vector<std::array<double, 4>>& Expected,
                      const char* Name) {
    ASSERT_EQ(L.size(), Expected.size()) << Name;
    for (std::size_t K = 0; K < L.size(); ++K) {
      const TPointF A = Pixel(Expected[K][0], Expected[K][1]), B = Pixel(Expected[K][2], Expected[K][3]);
      EXPECT_EQ(L[K].Points[0].X, A.X) << Name << " " << K;
      EXPECT_EQ(L[K].Points[0].Y, A.Y) << Name << " " << K;
      EXPECT_EQ(L[K].Points[1].X, B.X) << Name << " " << K;
      EXPECT_EQ(L[K].Points[1].Y, B.Y) << Name << " " << K;
    }
  }
};

TEST_F(LineSeries, NullPointsByTreatment) {
  struct Case {
    const char* Name;
    TTreatNullsStyle Nulls;
    std::vector<std::array<double, 4>> Expected;
  };
  const Case Cases[] = {
      {"gap: nothing into or out of the null", TTreatNullsStyle::tnDontPaint, {{10, 10, 20, 40}, {40, 60, 50, 30}}},
      {"skip joins the neighbours", TTreatNullsStyle::tnSkip, {{10, 10, 20, 40}, {20, 40, 40, 60}, {40, 60, 50, 30}}},
      {"ignore draws the stored value", TTreatNullsStyle::tnIgnore,
       {{10, 10, 20, 40}, {20, 40, 30, 20}, {30, 20, 40, 60}, {40, 60, 50, 30}}},
  };
  for (const Case& C : Cases) {
    auto* S = AddLine({10, 20, 30, 40, 50}, {10, 40, 20, 60, 30});
    S->SetNull(2);
    S->SetTreatNulls(C.Nulls);
    Paint();
    ExpectSegments(Lines(), C.Expected, C.Name);
    S->Free();
  }
}

TEST_F(LineSeries, ZoomedLineEntersFromTheChartEdge) {
  for (bool Stairs : {false, true}) {
    auto* S = AddLine({0, 40, 60}, {20, 60, 40});
    S->SetStairs(Stairs);
    Chart->GetBottomAxis()->SetMinMax(20, 100);
    Paint();
    const auto L = Lines();
    ASSERT_FALSE(L.empty()) << Stairs;
    // The first stroke starts at the chart's left edge, at the level on the hidden segment (the
    // hidden point's level with stairs).
    const float Left = std::round(Chart->GetChartRect().Left);
    EXPECT_EQ(L[0].Points[0].X, Left) << Stairs;
    const double Level = Stairs ? 20 : 20 + (Chart->GetBottomAxis()->CalcPosPoint(int(Left)) - 0) * (60 - 20) / 40;
    EXPECT_NEAR(L[0].Points[0].Y, Pixel(0, Level).Y, 1) << Stairs;
    S->Free();
  }
}

// Deep zoom: the hidden points map far beyond the pixel range. A segment that crosses the edge
// is cut there at its own level, whichever way the walk goes (an inverted axis walks backwards),
// also when it ends at the first point.
TEST_F(LineSeries, SegmentsBeyondThePixelRangeKeepTheirCourse) {
  struct Case {
    std::vector<double> X, Y;
  };
  const Case Cases[] = {
      {{0, 40.005, 100}, {0, 80, 80}},
      {{40.005, 100}, {80, 20}},
  };
  for (const Case& C : Cases) {
    for (bool Inverted : {false, true}) {
      SCOPED_TRACE(::testing::Message() << C.X.size() << " points, inverted " << Inverted);
      auto* S = AddLine(C.X, C.Y);
      S->DrawBetweenPoints = true;  // the segment to the hidden point after the range is drawn
      TChartAxis* B = Chart->GetBottomAxis();
      B->SetMinMax(40, 40.01);
      B->SetInverted(Inverted);
      Paint();
      // the level of the data's own polyline at value V
      auto LevelAt = [&](double V) {
        std::size_t K = 1;
        while (K + 1 < C.X.size() && V > C.X[K]) ++K;
        return C.Y[K - 1] + (V - C.X[K - 1]) * (C.Y[K] - C.Y[K - 1]) / (C.X[K] - C.X[K - 1]);
      };
      const auto L = Lines();
      ASSERT_FALSE(L.empty());
      for (const TCanvasRecord& R : L) {
        for (const TPointF& P : {R.Points[0], R.Points[1]}) {
          EXPECT_LE(std::fabs(P.X), float(ZelMaxPixelPos));
          EXPECT_NEAR(P.Y, Pixel(0, LevelAt(B->CalcPosPoint(Round(P.X)))).Y, 1) << P.X;
        }
      }
      S->Free();
      B->SetInverted(false);
    }
  }
}

TEST_F(LineSeries, StairsGoAcrossThenUpUnlessInverted) {
  for (bool Inverted : {false, true}) {
    auto* S = AddLine({10, 30}, {20, 60});
    S->SetStairs(true);
    S->SetInvertedStairs(Inverted);
    Paint();
    const auto L = Lines();
    ASSERT_EQ(L.size(), 2u);
    const TPointF A = Pixel(10, 20), B = Pixel(30, 60);
    if (!Inverted) {
      EXPECT_EQ(L[0].Points[0].Y, A.Y);
      EXPECT_EQ(L[0].Points[1].Y, A.Y);  // across at the old level
      EXPECT_EQ(L[1].Points[0].X, B.X);  // then up at the new position
    } else {
      EXPECT_EQ(L[0].Points[0].X, A.X);
      EXPECT_EQ(L[0].Points[1].X, A.X);  // up at the old position
      EXPECT_EQ(L[1].Points[0].Y, B.Y);  // then across at the new level
    }
    EXPECT_EQ(L[1].Points[1].X, B.X);
    EXPECT_EQ(L[1].Points[1].Y, B.Y);
    S->Free();
  }
}

TEST_F(LineSeries, WholePathStyleDrawsOnePolylineFromThePointBeforeTheRange) {
  auto* S = AddLine({0, 20, 40, 60, 80, 120}, {10, 30, 50, 40, 70, 90});
  S->SetDrawStyle(TCustomSeriesDrawStyle::dsAll);
  Chart->GetBottomAxis()->SetMinMax(30, 100);
  Paint();
  auto P = Records(TRecordKind::Polyline);
  ASSERT_EQ(P.size(), 1u);
  EXPECT_TRUE(Lines().empty());
  const std::vector<double> X = {20, 40, 60, 80}, Y = {30, 50, 40, 70};
  ASSERT_EQ(P[0].Points.size(), X.size());
  for (std::size_t K = 0; K < X.size(); ++K) EXPECT_EQ(P[0].Points[K].Y, Pixel(X[K], Y[K]).Y) << K;
  // A colour per point and per line: segment by segment.
  S->SetColorEachPoint(true);
  S->SetColorEachLine(true);
  Paint();
  EXPECT_TRUE(Records(TRecordKind::Polyline).empty());
  S->SetColorEachPoint(false);
  // A single displayed point draws no whole path.
  S->Clear();
  S->AddXY(50, 50);
  EXPECT_FALSE(S->DoDrawAll(S->GetLinePen(), SeriesColor, true));
}

// Records whether the axes calculated fast while it drew its points.
class TFastCalcProbe : public TLineTestSeries {
 public:
  using TLineTestSeries::TLineTestSeries;
  void DrawValue(std::int32_t ValueIndex) override {
    Fast.push_back(GetParentChart()->GetAxes()->GetFastCalc());
    TLineTestSeries::DrawValue(ValueIndex);
  }
  std::vector<bool> Fast;
};

TEST_F(LineSeries, ChartDrawValueHandlerReplacesThePointsAndKeepsExactPositions) {
  auto* S = Add<TFastCalcProbe>({10, 20, 30}, {10, 20, 30});
  Paint();
  EXPECT_EQ(S->Fast, (std::vector<bool>{true, true, true})) << "a drawn line calculates fast";
  EXPECT_FALSE(Chart->GetAxes()->GetFastCalc()) << "and puts the flag back";

  S->Fast.clear();
  std::vector<std::int32_t> Handled;
  std::vector<bool> FastInHandler;
  Chart->OnDrawValue = [&](TChartSeries* Sender, std::int32_t ValueIndex) {
    EXPECT_EQ(Sender, S);
    Handled.push_back(ValueIndex);
    FastInHandler.push_back(Chart->GetAxes()->GetFastCalc());
  };
  Paint();
  EXPECT_TRUE(S->Fast.empty()) << "the handler draws in place of the series";
  EXPECT_EQ(Handled, (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(FastInHandler, (std::vector<bool>{false, false, false}));
}

TEST_F(LineSeries, ShadowDrawsTheSeriesAgainOffsetBeforeIt) {
  auto* S = AddLine({10, 50, 90}, {20, 80, 40});
  S->GetShadow()->SetVisible(true);
  S->GetShadow()->SetHorizSize(3);
  S->GetShadow()->SetVertSize(3);
  S->GetShadow()->SetColor(0xFF404040);
  Paint();
  const auto Shadow = Lines(0xFF404040);
  const auto Line = Lines();
  ASSERT_EQ(Shadow.size(), 2u);
  ASSERT_EQ(Line.size(), 2u);
  for (std::size_t K = 0; K < 2; ++K) {
    EXPECT_EQ(Shadow[K].Points[1].X, Line[K].Points[1].X + 3);
    EXPECT_EQ(Shadow[K].Points[1].Y, Line[K].Points[1].Y + 3);
  }
  // The copy comes first, and the series keeps its colour and pen afterwards.
  std::size_t FirstShadow = 0, FirstLine = 0;
  const auto& R = Canvas->GetRecords();
  for (std::size_t K = R.size(); K-- > 0;) {
    if (R[K].Kind == TRecordKind::DrawLine && R[K].Color == 0xFF404040) FirstShadow = K;
    if (R[K].Kind == TRecordKind::DrawLine && R[K].Color == SeriesColor) FirstLine = K;
  }
  EXPECT_LT(FirstShadow, FirstLine);
  EXPECT_EQ(S->GetSeriesColor(), SeriesColor);
  EXPECT_TRUE(S->GetLinePen()->GetVisible());
}

TEST_F(LineSeries, SteepPlanesInThreeDimensionsAreDarker) {
  auto* S = AddLine({10, 20, 60}, {10, 90, 95});  // steeply up, then nearly flat
  Chart->SetView3D(true);
  Paint();
  const TAlphaColor Dark = ApplyDark(SeriesColor, DarkColorQuantity);
  ASSERT_NE(Chart->GetSeriesWidth3D(), 0);
  EXPECT_EQ(Records(TRecordKind::FillPolygon, Dark).size(), 1u);
  EXPECT_EQ(Records(TRecordKind::FillPolygon, SeriesColor).size(), 1u);
  S->SetDark3D(false);
  Paint();
  EXPECT_TRUE(Records(TRecordKind::FillPolygon, Dark).empty());
}

TEST_F(LineSeries, ClicksOnPointsAndSegments) {
  auto* S = AddLine({10, 30, 50, 70}, {20, 60, 30, 80});
  Paint();
  // Exactly on a point's pixel, pointer hidden: that point.
  const TPointF P2 = Pixel(50, 30);
  EXPECT_EQ(S->Clicked(int(P2.X), int(P2.Y)), 2);
  // On a segment: its first point in walking order.
  const TPointF A = Pixel(10, 20), B = Pixel(30, 60);
  const int MX = int((A.X + B.X) / 2), MY = int((A.Y + B.Y) / 2);
  EXPECT_EQ(S->Clicked(MX, MY), 0);
  EXPECT_EQ(S->Clicked(MX, MY - 30), -1);
  // Walking down an inverted axis the hit segment answers its higher index.
  Chart->GetBottomAxis()->SetInverted(true);
  Paint();
  const TPointF IA = Pixel(10, 20), IB = Pixel(30, 60);
  EXPECT_EQ(S->Clicked(int((IA.X + IB.X) / 2), int((IA.Y + IB.Y) / 2)), 1);
  // A clickable line off: segments are not hit.
  Chart->GetBottomAxis()->SetInverted(false);
  Paint();
  S->SetClickableLine(false);
  EXPECT_EQ(S->Clicked(MX, MY), -1);
}

TEST_F(LineSeries, VisiblePointerIsHitWithinItsSize) {
  auto* S = AddLine({10, 50, 90}, {20, 80, 40});
  S->GetPointer()->SetVisible(true);
  Paint();
  const TPointF P = Pixel(50, 80);
  struct Case {
    int DX, DY, Tolerance, Expected;
  };
  const Case Cases[] = {{3, 3, 0, 1}, {4, 0, 0, -1}, {4, 0, 1, 1}, {0, -3, 0, 1}};
  for (const Case& C : Cases) {
    S->SetClickTolerance(C.Tolerance);
    EXPECT_EQ(S->ClickedPointer(1, int(P.X) + C.DX, int(P.Y) + C.DY), C.Expected == 1)
        << C.DX << "," << C.DY << " tol " << C.Tolerance;
  }
  S->GetPointer()->SetStyle(TSeriesPointerStyle::psNothing);
  EXPECT_FALSE(S->ClickedPointer(1, int(P.X), int(P.Y)));
}

TEST_F(LineSeries, PenTermWidensTheMargins) {
  auto* S = AddLine({10, 20}, {10, 20});
  struct Case {
    float Width;
    bool Stairs;
    int Expected;
  };
  for (const Case& C : {Case{1, false, 0}, Case{3, false, 3}, Case{4, false, 3}, Case{3, true, 3}, Case{1, true, 1}}) {
    S->GetLinePen()->SetWidth(C.Width);
    S->SetStairs(C.Stairs);
    std::int32_t L = 0, R = 0, T = 0, B = 0;
    S->CalcHorizMargins(L, R);
    S->CalcVerticalMargins(T, B);
    EXPECT_EQ(L, C.Expected) << C.Width << " " << C.Stairs;
    EXPECT_EQ(R, C.Expected) << C.Width << " " << C.Stairs;
    EXPECT_EQ(T, C.Expected) << C.Width << " " << C.Stairs;
  }
  // A visible pointer reserves its size; visible marks their callout on the top.
  S->GetLinePen()->SetWidth(1);
  S->SetStairs(false);
  S->GetPointer()->SetVisible(true);
  std::int32_t L = 0, R = 0;
  S->CalcHorizMargins(L, R);
  EXPECT_EQ(L, 4 + 0 + 1);  // half size, half the 1-pixel pen rounded to even, one more
  S->GetMarks()->SetVisible(true);
  std::int32_t T = 0, B = 0;
  S->CalcVerticalMargins(T, B);
  EXPECT_EQ(T, std::max(S->CalcMarkLength(), 4));
  EXPECT_GT(S->CalcMarkLength(), 0);
}

TEST_F(LineSeries, SmoothedSeriesDrawsTheCurveThroughItsPoints) {
  std::vector<double> X, Y;
  for (int I = 0; I < 10; ++I) {
    X.push_back(I * 10);
    Y.push_back(I % 2 ? 80 : 20);
  }
  auto* S = AddLine(X, Y);
  S->SetSmoothed(true);
  Paint();
  EXPECT_EQ(S->Count(), 81);
  ASSERT_NE(S->GetSmoothSeries(), nullptr);
  EXPECT_EQ(S->GetSmoothSeries()->Count(), 10);
  // Later paints keep smoothing the original points, not the curve.
  Paint();
  Paint();
  EXPECT_EQ(S->Count(), 81);
  EXPECT_EQ(S->GetSmoothSeries()->Count(), 10);
  // Off again: the original points come back.
  S->SetSmoothed(false);
  Paint();
  EXPECT_EQ(S->Count(), 10);
  EXPECT_EQ(S->GetSmoothSeries(), nullptr);
  EXPECT_EQ(S->GetYValues()->Value[1], 80);
}

TEST_F(LineSeries, LegendLineTakesTheItemColourForAnOpaqueBlackPen) {
  auto* S = AddLine({10, 20}, {10, 20});
  Paint();
  Chart->GetCanvas()->SetCanvas(Canvas.get());
  S->GetLinePen()->SetColor(0xFF000000);
  S->DrawLegendShape(-1, TRectF(10, 10, 30, 20));
  ASSERT_FALSE(Lines().empty());
  const auto L = Lines().back();
  EXPECT_EQ(L.Points[0].Y, 15);
  EXPECT_EQ(L.Points[1].X, 30);
  S->GetLinePen()->SetColor(0xFF00FF00);
  S->DrawLegendShape(-1, TRectF(10, 10, 30, 20));
  EXPECT_FALSE(Lines(0xFF00FF00).empty());
  Chart->GetCanvas()->SetCanvas(nullptr);
}

// The chart legend's symbol settings reach the series' symbol: a pen of its own draws both the
// line and the pointer, and a continuous symbol is not kept in the pointer's proportions.
TEST(LineSeriesLegendSymbol, TheLegendSymbolSettingsShapeTheSymbol) {
  auto* Chart = Create<TChart>(nullptr);
  Chart->SetView3D(false);
  auto* S = Create<TLineTestSeries>(nullptr);
  Chart->AddSeries(S);
  S->SetSeriesColor(SeriesColor);
  S->AddXY(10, 10);
  S->AddXY(20, 20);
  TSeriesPointer* P = S->GetPointer();
  P->SetVisible(true);
  P->SetStyle(TSeriesPointerStyle::psRectangle);
  P->SetHorizSize(10);
  P->SetVertSize(10);
  P->GetPen()->SetColor(0xFF123456);
  TRecordingCanvas Rec(400, 300);
  Chart->SetBounds(0, 0, 400, 300);
  Chart->SetBufferedDisplay(false);
  Chart->Draw(&Rec, TRectF(0, 0, 400, 300));
  Chart->GetCanvas()->SetCanvas(&Rec);
  TLegendSymbol* Symbol = Chart->GetLegend()->GetSymbol();
  const TRectF R(10, 10, 30, 20);  // 20 x 10
  auto Pointers = [&] {
    std::vector<TCanvasRecord> F;
    for (const TCanvasRecord& Q : Rec.GetRecords())
      if (Q.Kind == TRecordKind::FillRect && Q.Color == SeriesColor) F.push_back(Q);
    return F;
  };
  // proportions: square pointer in a wide rectangle, unless continuous
  for (bool Continuous : {false, true}) {
    Symbol->SetContinuous(Continuous);
    Rec.ClearRecords();
    S->DrawLegendShape(-1, R);
    const auto F = Pointers();
    ASSERT_EQ(F.size(), 1u) << Continuous;
    EXPECT_EQ(F[0].Rect.Width() > F[0].Rect.Height() + 2, Continuous) << F[0].Rect.Width() << "x" << F[0].Rect.Height();
  }
  Chart->GetCanvas()->SetCanvas(nullptr);
  // the symbol's own pen draws the line and the pointer's outline of every legend item
  Symbol->SetContinuous(false);
  Symbol->SetDefaultPen(false);
  Symbol->GetPen()->SetColor(0xFF00AA00);
  Rec.ClearRecords();
  Chart->Draw(&Rec, TRectF(0, 0, 400, 300));
  const TRectF LegendBounds = Chart->GetLegend()->ShapeBounds;
  auto InLegend = [&](TAlphaColor Color) {
    std::size_t N = 0;
    for (const TCanvasRecord& Q : Rec.GetRecords())
      if ((Q.Kind == TRecordKind::DrawLine || Q.Kind == TRecordKind::DrawRect) && Q.Color == Color &&
          PointInRect(LegendBounds, Q.Points.empty() ? TPointF(Q.Rect.Left, Q.Rect.Top) : Q.Points[0]))
        ++N;
    return N;
  };
  EXPECT_GE(InLegend(0xFF00AA00), 4u);  // two items, each a line and a pointer outline
  EXPECT_EQ(InLegend(0xFF123456), 0u);
  EXPECT_EQ(InLegend(SeriesColor), 0u);
  Chart->Free();
}

TEST(PointerLegend, FittedIntoTheRectangleByTheAspectOfThePointer) {
  struct Case {
    int HorizSize, VertSize;
    TRectF Rect;
    bool Pen, Continuous;
    int H, V;
  };
  const Case Cases[] = {
      {4, 6, TRectF(0, 0, 20, 10), false, false, 4, 6},
      {4, 4, TRectF(0, 0, 20, 10), false, false, 4, 4},
      {10, 10, TRectF(0, 0, 20, 10), true, false, 5, 5},
      {10, 5, TRectF(0, 0, 8, 20), true, false, 4, 2},
      // a continuous symbol fills the rectangle, up to the pointer's sizes
      {10, 10, TRectF(0, 0, 20, 10), true, true, 10, 5},
      {10, 5, TRectF(0, 0, 8, 20), true, true, 4, 5},
  };
  for (const Case& C : Cases) {
    auto* S = Create<TLineTestSeries>(nullptr);
    S->GetPointer()->SetHorizSize(C.HorizSize);
    S->GetPointer()->SetVertSize(C.VertSize);
    std::int32_t H = 0, V = 0;
    ZelPointerLegendSizes(S->GetPointer(), C.Rect, C.Pen, C.Continuous, H, V);
    EXPECT_EQ(H, C.H) << C.HorizSize << "x" << C.VertSize;
    EXPECT_EQ(V, C.V) << C.HorizSize << "x" << C.VertSize;
    S->Free();
  }
}

}  // namespace
}  // namespace zel::lines
