// The fast-line series: the choice between one polyline and the point-by-point walk, what each
// draws (pixel columns, nulls, stairs), clicks, margins, immediate drawing and pixels on a bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "tests/lines/LinesFixture.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/procs/Procs.h"

namespace zel::lines {
namespace {

using FastLine = LinesFixture;

TEST_F(FastLine, NewSeriesTakesTheViewerFriendlyDefaults) {
  auto* S = Add<TFastLineSeries>({}, {});
  EXPECT_EQ(S->GetTreatNulls(), TTreatNullsStyle::tnIgnore);
  EXPECT_TRUE(S->GetDrawAllPoints());
  EXPECT_TRUE(S->GetAutoRepaint());
  EXPECT_TRUE(S->GetIgnoreNulls());
  EXPECT_EQ(S->GetDrawStyle(), TFastLineDrawStyle::flSegments);
  EXPECT_FALSE(S->AllowSinglePoint);
  EXPECT_TRUE(S->DrawBetweenPoints);
  // Hover highlighting is off, and that is its stored default.
  ASSERT_NE(S->ExistingSelected(), nullptr);
  EXPECT_FALSE(S->ExistingSelected()->GetHover()->GetVisible());
  EXPECT_FALSE(S->ExistingSelected()->GetHover()->IsVisibleStored());
  // The line pen follows the series colour.
  S->SetSeriesColor(0xFF00AA00);
  EXPECT_EQ(S->GetLinePen()->GetColor(), 0xFF00AA00u);
}

TEST_F(FastLine, AssignCopiesTheDrawingSettings) {
  auto* A = Add<TFastLineSeries>({}, {});
  A->SetAutoRepaint(false);
  A->SetClickTolerance(4);
  A->SetDrawAllPoints(false);
  A->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
  A->SetDrawStyle(TFastLineDrawStyle::flAll);
  A->SetFastPen(true);
  A->SetStairs(true);
  A->SetInvertedStairs(true);
  A->SetTreatNulls(TTreatNullsStyle::tnSkip);
  auto* B = Create<TFastLineSeries>(nullptr);
  B->Assign(A);
  EXPECT_FALSE(B->GetAutoRepaint());
  EXPECT_EQ(B->GetClickTolerance(), 4);
  EXPECT_FALSE(B->GetDrawAllPoints());
  EXPECT_EQ(B->GetDrawAllPointsStyle(), TDrawAllPointsStyle::daMinMax);
  EXPECT_EQ(B->GetDrawStyle(), TFastLineDrawStyle::flAll);
  EXPECT_TRUE(B->GetFastPen());
  EXPECT_TRUE(B->GetStairs());
  EXPECT_TRUE(B->GetInvertedStairs());
  EXPECT_EQ(B->GetTreatNulls(), TTreatNullsStyle::tnSkip);
  B->Free();
}

TEST_F(FastLine, OnePolylineOnlyWithAllPointsNoNullsNoStairsIn2D) {
  struct Case {
    const char* Name;
    bool DrawAll;
    TFastLineDrawStyle Style;
    TTreatNullsStyle Nulls;
    bool Stairs, View3D, Polyline;
  };
  const Case Cases[] = {
      {"viewer settings", true, TFastLineDrawStyle::flAll, TTreatNullsStyle::tnIgnore, false, false, true},
      {"segments style", true, TFastLineDrawStyle::flSegments, TTreatNullsStyle::tnIgnore, false, false, false},
      {"first point per column", false, TFastLineDrawStyle::flAll, TTreatNullsStyle::tnIgnore, false, false, false},
      {"gaps at nulls", true, TFastLineDrawStyle::flAll, TTreatNullsStyle::tnDontPaint, false, false, false},
      {"stairs", true, TFastLineDrawStyle::flAll, TTreatNullsStyle::tnIgnore, true, false, false},
      {"3D", true, TFastLineDrawStyle::flAll, TTreatNullsStyle::tnIgnore, false, true, false},
  };
  for (const Case& C : Cases) {
    auto* S = Add<TFastLineSeries>({10, 20, 30, 40}, {10, 50, 20, 60});
    S->SetDrawAllPoints(C.DrawAll);
    S->SetDrawStyle(C.Style);
    S->SetTreatNulls(C.Nulls);
    S->SetStairs(C.Stairs);
    Chart->SetView3D(C.View3D);
    Paint();
    EXPECT_EQ(S->ShouldDrawAsPolyline(), C.Polyline) << C.Name;
    EXPECT_EQ(Records(TRecordKind::Polyline).size(), C.Polyline ? 1u : 0u) << C.Name;
    EXPECT_EQ(Lines().empty(), C.Polyline) << C.Name;
    S->Free();
  }
}

TEST_F(FastLine, PolylineStartsAtThePointBeforeTheVisibleRange) {
  std::vector<double> X, Y;
  for (int I = 0; I < 50; ++I) {
    X.push_back(I * 5);
    Y.push_back(50 + 40 * std::sin(I * 0.3));
  }
  auto* S = Add<TFastLineSeries>(X, Y);
  S->SetDrawStyle(TFastLineDrawStyle::flAll);
  Chart->GetBottomAxis()->SetMinMax(22, 61);  // points 5..12 lie inside, 4 just before
  Paint();
  const auto P = Records(TRecordKind::Polyline);
  ASSERT_EQ(P.size(), 1u);
  const std::vector<TPointF>& Pts = P[0].Points;
  ASSERT_EQ(Pts.size(), static_cast<std::size_t>(S->GetLastVisibleIndex() - 4 + 1));
  EXPECT_EQ(S->GetFirstVisibleIndex(), 5);
  for (std::size_t K = 0; K < Pts.size(); ++K) {
    const TPointF E = Pixel(X[4 + K], Y[4 + K]);
    EXPECT_EQ(Pts[K].X, E.X) << K;
    EXPECT_EQ(Pts[K].Y, E.Y) << K;
  }
  // A series of one point draws a polyline of that one point.
  S->Clear();
  S->AddXY(30, Y[0]);
  Paint();
  const auto One = Records(TRecordKind::Polyline);
  ASSERT_EQ(One.size(), 1u);
  ASSERT_EQ(One[0].Points.size(), 1u);
  EXPECT_EQ(One[0].Points[0].X, Pixel(30, Y[0]).X);
  EXPECT_EQ(One[0].Points[0].Y, Pixel(30, Y[0]).Y);
}

TEST_F(FastLine, PolylinePixelsAreTheAxisPixelsForEveryValue) {
  // Halves of pixels (rounded to even), values far outside the axis range, a NaN (left out of
  // the line) and both directions of each axis.
  std::vector<double> X, Y;
  for (int I = 0; I < 400; ++I) {
    X.push_back(I * 0.25);
    Y.push_back(I % 7 == 0 ? 1e12 * ((I % 2) ? 1 : -1) : (I % 11 == 0 ? 1e300 : I * 0.125));
  }
  Y[5] = std::nan("");
  auto* S = Add<TFastLineSeries>(X, Y);
  S->SetDrawStyle(TFastLineDrawStyle::flAll);
  for (bool InvX : {false, true})
    for (bool InvY : {false, true}) {
      Chart->GetBottomAxis()->SetInverted(InvX);
      Chart->GetLeftAxis()->SetInverted(InvY);
      Chart->GetBottomAxis()->SetMinMax(0, 99.75);
      Chart->GetLeftAxis()->SetMinMax(3.3, 41.7);
      Paint();
      const auto P = Records(TRecordKind::Polyline);
      ASSERT_EQ(P.size(), 1u);
      ASSERT_EQ(P[0].Points.size(), X.size() - 1);
      for (std::size_t K = 0, D = 0; K < X.size(); ++K) {
        if (K == 5) continue;
        EXPECT_EQ(P[0].Points[D].X, float(Chart->GetBottomAxis()->CalcXPosValue(X[K]))) << K;
        EXPECT_EQ(P[0].Points[D].Y, float(Chart->GetLeftAxis()->CalcYPosValue(Y[K]))) << K;
        ++D;
      }
    }
}

// A fast line that reuses its X pixels, its Y pixels or both from one paint to the next (a kind
// built on it may).
template <bool ReuseX, bool ReuseY>
class TReusingFastLine : public TFastLineSeries {
 public:
  explicit TReusingFastLine(TComponent* AOwner) : TFastLineSeries(AOwner) {
    ReuseXValues = ReuseX;
    ReuseYValues = ReuseY;
  }
};

// Reused pixels stand at their points' places: a line that left out a NaN is filled again.
TEST_F(FastLine, ReusedPixelsOfALineWithANaNStayWithTheirPoints) {
  std::vector<double> X, Y;
  for (int I = 0; I < 40; ++I) {
    X.push_back(I);
    Y.push_back(I % 5);
  }
  Y[3] = std::nan("");
  Chart->GetBottomAxis()->SetMinMax(0, 39);
  Chart->GetLeftAxis()->SetMinMax(0, 4);
  auto Check = [&](TFastLineSeries* S, const char* Reused) {
    SCOPED_TRACE(Reused);
    S->SetDrawStyle(TFastLineDrawStyle::flAll);
    Paint();
    Paint();
    const auto P = Records(TRecordKind::Polyline);
    ASSERT_EQ(P.size(), 1u);
    ASSERT_EQ(P[0].Points.size(), X.size() - 1);
    for (std::size_t K = 0, D = 0; K < X.size(); ++K) {
      if (K == 3) continue;
      EXPECT_EQ(P[0].Points[D], Pixel(X[K], Y[K])) << K;
      ++D;
    }
    S->Free();
  };
  Check(Add<TReusingFastLine<true, false>>(X, Y), "X reused");
  Check(Add<TReusingFastLine<false, true>>(X, Y), "Y reused");
  Check(Add<TReusingFastLine<true, true>>(X, Y), "both reused");
}

TEST_F(FastLine, ThreeDimensionalViewDrawsSegmentByPoint) {
  auto* S = Add<TFastLineSeries>({10, 20, 30, 40}, {10, 50, 20, 60});
  S->SetDrawStyle(TFastLineDrawStyle::flAll);
  Chart->SetView3D(true);
  Paint();
  EXPECT_TRUE(Records(TRecordKind::Polyline).empty());
  EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(FastLine, FirstPointPerColumnDrawsOneSegmentPerColumn) {
  std::vector<double> X, Y;
  for (int I = 0; I < 10000; ++I) {
    X.push_back(I / 100.0);
    Y.push_back(50 + 30 * std::sin(I * 0.37));
  }
  auto* S = Add<TFastLineSeries>(X, Y);
  S->SetDrawAllPoints(false);
  Paint();
  const std::size_t Columns = static_cast<std::size_t>(Pixel(99.99, 0).X - Pixel(0, 0).X) + 1;
  const std::size_t N = Lines().size();
  EXPECT_GE(N + 2, Columns);
  EXPECT_LE(N, Columns + 1);
  // Each segment goes to a new pixel column.
  const auto L = Lines();
  for (std::size_t K = 1; K < L.size(); ++K) EXPECT_NE(L[K].Points[1].X, L[K - 1].Points[1].X) << K;
}

TEST_F(FastLine, MinMaxColumnDrawsItsLowestAndHighestBeforeMovingOn) {
  Chart->GetLeftAxis()->SetMinMax(0, 100);
  // Three points in one pixel column, then one in the next column.
  auto* S = Add<TFastLineSeries>({10, 10.001, 10.002, 30}, {50, 80, 20, 60});
  S->SetDrawAllPoints(false);
  S->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
  Paint();
  const auto L = Lines();
  ASSERT_GE(L.size(), 3u);
  const TPointF A = Pixel(10, 50), Hi = Pixel(10, 80), Lo = Pixel(10, 20), Next = Pixel(30, 60);
  ASSERT_EQ(A.X, Hi.X);
  // The strokes reach the column's highest and lowest pixels before the line to the new column.
  const std::size_t K = L.size() - 1;
  EXPECT_EQ(L[K].Points[1].X, Next.X);
  EXPECT_EQ(L[K].Points[1].Y, Next.Y);
  EXPECT_EQ(L[K - 2].Points[1].X, A.X);
  EXPECT_EQ(L[K - 2].Points[1].Y, Hi.Y);  // smallest pixel y: the highest value
  EXPECT_EQ(L[K - 1].Points[1].Y, Lo.Y);
}

TEST_F(FastLine, MinMaxFlushesTheLastColumnWhenTheLastPointIsOnThePen) {
  // Four points in one pixel column; the last lands on the pen's own pixel (where the first is).
  for (bool Inverted : {false, true}) {
    SCOPED_TRACE(Inverted);
    Chart->GetLeftAxis()->SetInverted(Inverted);
    auto* S = Add<TFastLineSeries>({10, 10.001, 10.002, 10.003}, {50, 80, 20, 50});
    S->SetDrawAllPoints(false);
    S->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
    Paint();
    const TPointF A = Pixel(10, 50), Hi = Pixel(10, 80), Lo = Pixel(10, 20);
    std::vector<float> Reached;
    for (const TCanvasRecord& R : Lines()) {
      EXPECT_EQ(R.Points[1].X, A.X);
      Reached.push_back(R.Points[1].Y);
    }
    EXPECT_NE(std::find(Reached.begin(), Reached.end(), Hi.Y), Reached.end());
    EXPECT_NE(std::find(Reached.begin(), Reached.end(), Lo.Y), Reached.end());
    S->Free();
  }
}

// The segments of a series as pairs of value points.
struct Seg {
  double X0, Y0, X1, Y1;
};

TEST_F(FastLine, NullPointsLeaveGapsOrAreJoinedOver) {
  struct Case {
    const char* Name;
    TTreatNullsStyle Nulls;
    std::vector<int> NullAt;
    std::vector<Seg> Expected;
  };
  const std::vector<double> X = {10, 20, 30, 40, 50}, Y = {10, 40, 20, 60, 30};
  const Case Cases[] = {
      {"gap", TTreatNullsStyle::tnDontPaint, {2}, {{10, 10, 20, 40}, {40, 60, 50, 30}}},
      {"skip joins the neighbours", TTreatNullsStyle::tnSkip, {2}, {{10, 10, 20, 40}, {20, 40, 40, 60}, {40, 60, 50, 30}}},
      {"ignore draws the stored value", TTreatNullsStyle::tnIgnore, {2},
       {{10, 10, 20, 40}, {20, 40, 30, 20}, {30, 20, 40, 60}, {40, 60, 50, 30}}},
      {"skip at the first point starts at the next", TTreatNullsStyle::tnSkip, {0},
       {{20, 40, 30, 20}, {30, 20, 40, 60}, {40, 60, 50, 30}}},
  };
  for (const Case& C : Cases) {
    auto* S = Add<TFastLineSeries>(X, Y);
    for (int I : C.NullAt) S->SetNull(I);
    S->SetTreatNulls(C.Nulls);
    Paint();
    const auto L = Lines();
    ASSERT_EQ(L.size(), C.Expected.size()) << C.Name;
    for (std::size_t K = 0; K < L.size(); ++K) {
      const TPointF A = Pixel(C.Expected[K].X0, C.Expected[K].Y0), B = Pixel(C.Expected[K].X1, C.Expected[K].Y1);
      EXPECT_EQ(L[K].Points[0].X, A.X) << C.Name << " " << K;
      EXPECT_EQ(L[K].Points[0].Y, A.Y) << C.Name << " " << K;
      EXPECT_EQ(L[K].Points[1].X, B.X) << C.Name << " " << K;
      EXPECT_EQ(L[K].Points[1].Y, B.Y) << C.Name << " " << K;
    }
    S->Free();
  }
}

TEST_F(FastLine, StairsStepHorizontallyFirstUnlessInverted) {
  for (bool Inverted : {false, true}) {
    auto* S = Add<TFastLineSeries>({10, 30}, {20, 60});
    S->SetStairs(true);
    S->SetInvertedStairs(Inverted);
    Paint();
    const auto L = Lines();
    ASSERT_EQ(L.size(), 2u) << Inverted;
    const TPointF A = Pixel(10, 20), B = Pixel(30, 60);
    const TPointF Corner = Inverted ? TPointF(A.X, B.Y) : TPointF(B.X, A.Y);
    EXPECT_EQ(L[0].Points[1].X, Corner.X) << Inverted;
    EXPECT_EQ(L[0].Points[1].Y, Corner.Y) << Inverted;
    EXPECT_EQ(L[1].Points[1].X, B.X) << Inverted;
    EXPECT_EQ(L[1].Points[1].Y, B.Y) << Inverted;
    S->Free();
  }
}

// The hit test as a plain walk over every visible point.
std::int32_t WalkClicked(TFastLineSeries* S, int X, int Y) {
  const TPointF M(static_cast<float>(X), static_cast<float>(Y));
  for (int I = S->GetFirstVisibleIndex(); I <= S->GetLastVisibleIndex(); ++I) {
    const TPointF P(float(S->CalcXPos(I)), float(S->CalcYPos(I)));
    if (P.X == M.X && P.Y == M.Y) return I;
    if (I > S->GetFirstVisibleIndex()) {
      const TPointF Q(float(S->CalcXPos(I - 1)), float(S->CalcYPos(I - 1)));
      const bool Hit = S->GetStairs() ? PointInLine(M, P, TPointF(P.X, Q.Y), S->GetClickTolerance()) ||
                                            PointInLine(M, TPointF(P.X, Q.Y), Q, S->GetClickTolerance())
                                      : PointInLine(M, P, Q, S->GetClickTolerance());
      if (Hit) return I - 1;
    }
  }
  return -1;
}

TEST_F(FastLine, ClickFindsWhatAWalkOverAllPointsFinds) {
  std::mt19937 Rng(7);
  std::uniform_real_distribution<double> Noise(0, 100);
  std::vector<double> X, Y;
  for (int I = 0; I < 600; ++I) {
    X.push_back(I / 6.0);
    Y.push_back(Noise(Rng));
  }
  auto* S = Add<TFastLineSeries>(X, Y);
  for (bool Inverted : {false, true})
    for (bool Stairs : {false, true})
      for (int Tolerance : {0, 3}) {
        Chart->GetBottomAxis()->SetInverted(Inverted);
        S->SetStairs(Stairs);
        S->SetClickTolerance(Tolerance);
        Paint();
        const TRectF R = Chart->GetChartRect();
        int Hits = 0;
        for (int MX = int(R.Left) - 2; MX <= int(R.Right) + 2; MX += 3)
          for (int MY = int(R.Top); MY <= int(R.Bottom); MY += 7) {
            const std::int32_t Expected = WalkClicked(S, MX, MY);
            Hits += Expected != -1;
            ASSERT_EQ(S->Clicked(MX, MY), Expected) << MX << "," << MY << " inv " << Inverted << " stairs " << Stairs;
          }
        EXPECT_GT(Hits, 0);
      }
}

TEST_F(FastLine, ClickToleranceWidensTheSegment) {
  auto* S = Add<TFastLineSeries>({0, 100}, {50, 50});
  Paint();
  const TPointF Mid = Pixel(50, 50);
  struct Case {
    int Tolerance, Offset, Expected;
  };
  const Case Cases[] = {{0, 0, 0}, {0, 1, 0}, {0, 3, -1}, {3, 3, 0}, {3, 4, 0}, {3, 6, -1}};
  for (const Case& C : Cases) {
    S->SetClickTolerance(C.Tolerance);
    EXPECT_EQ(S->Clicked(int(Mid.X), int(Mid.Y) + C.Offset), C.Expected) << C.Tolerance << " " << C.Offset;
  }
  S->CalcFirstLastVisibleIndex();
  Chart->GetBottomAxis()->SetMinMax(200, 300);
  Paint();
  EXPECT_EQ(S->Clicked(int(Mid.X), int(Mid.Y)), -1);
}

TEST_F(FastLine, ThickPensWidenTheMargins) {
  auto* S = Add<TFastLineSeries>({10, 20}, {0, 100});
  struct Case {
    float Width;
    int Margin;
  };
  for (const Case& C : {Case{1, 2}, Case{2, 2}, Case{4, 3}, Case{7, 4}}) {
    S->GetLinePen()->SetWidth(C.Width);
    std::int32_t L = 0, R = 0, T = 0, B = 0;
    S->CalcHorizMargins(L, R);
    EXPECT_EQ(L, C.Margin) << C.Width;
    EXPECT_EQ(R, C.Margin) << C.Width;
    // The data reach both ends of the vertical axis (0 .. 100).
    S->CalcVerticalMargins(T, B);
    EXPECT_EQ(T, C.Margin) << C.Width;
    EXPECT_EQ(B, C.Margin) << C.Width;
  }
  // Away from the axis ends the vertical margins stay.
  Chart->GetLeftAxis()->SetMinMax(-10, 110);
  std::int32_t T = 0, B = 0;
  S->CalcVerticalMargins(T, B);
  EXPECT_EQ(T, 0);
  EXPECT_EQ(B, 0);
}

TEST_F(FastLine, WithoutAutoRepaintAnAddedPointIsDrawnAtOnce) {
  auto* S = Add<TFastLineSeries>({10, 20}, {10, 40});
  Paint();
  int AfterAdd = 0;
  S->OnAfterAdd = [&](TChartSeries*, std::int32_t) { ++AfterAdd; };
  S->SetAutoRepaint(false);
  const std::size_t Before = Lines().size();
  const std::size_t RecordsBefore = Canvas->GetRecords().size();
  Chart->GetCanvas()->SetCanvas(Canvas.get());
  S->AddXY(30, 70);
  EXPECT_EQ(AfterAdd, 0);
  ASSERT_EQ(Lines().size(), Before + 1);
  const TCanvasRecord L = Lines().back();
  EXPECT_EQ(L.Points[0].X, Pixel(20, 40).X);
  EXPECT_EQ(L.Points[1].X, Pixel(30, 70).X);
  EXPECT_EQ(L.Points[1].Y, Pixel(30, 70).Y);
  EXPECT_GT(Canvas->GetRecords().size(), RecordsBefore);
  // With automatic repainting the event fires and nothing is drawn outside a paint.
  S->SetAutoRepaint(true);
  const std::size_t Now = Canvas->GetRecords().size();
  S->AddXY(40, 10);
  EXPECT_EQ(AfterAdd, 1);
  EXPECT_EQ(Canvas->GetRecords().size(), Now);
  // No canvas to draw on: nothing happens.
  S->SetAutoRepaint(false);
  Chart->GetCanvas()->SetCanvas(nullptr);
  EXPECT_NO_THROW(S->AddXY(50, 20));
}

TEST_F(FastLine, GalleryVariants) {
  auto* S = Add<TFastLineSeries>({}, {});
  std::vector<String> Names;
  S->CreateSubGallery([&](const String& N) { Names.push_back(N); });
  EXPECT_EQ(Names, (std::vector<String>{"Normal", "Marks", "Dotted", "Stairs"}));
  S->SetSubGallery(S, 2);
  EXPECT_TRUE(S->GetLinePen()->GetSmallDots());
  S->SetSubGallery(S, 3);
  EXPECT_TRUE(S->GetStairs());
}

// A chart control with a fast line, painted into a bitmap through the platform canvas.
TEST(FastLineRender, SeriesColourOnTheLineAndBackgroundElsewhere) {
  auto* Chart = Create<TFlatPanel>(nullptr);
  Chart->SetView3D(false);
  Chart->SetBounds(0, 0, 300, 200);
  Chart->GetBottomAxis()->SetMinMax(0, 100);
  Chart->GetLeftAxis()->SetMinMax(0, 100);
  Chart->GetLeftAxis()->SetVisible(false);
  Chart->GetBottomAxis()->SetVisible(false);
  auto* S = Create<TFastLineSeries>(nullptr);
  Chart->AddSeries(S);
  S->SetSeriesColor(0xFFFF0000);
  S->SetDrawStyle(TFastLineDrawStyle::flAll);
  S->GetLinePen()->SetWidth(1);
  // A flat line at 50 from 0 to 100.
  for (int I = 0; I <= 1000; ++I) S->AddXY(I / 10.0, 50);
  TOwned<TBitmap> B(PaintToBitmap(Chart));
  ASSERT_TRUE(B);
  const int Y = Chart->GetLeftAxis()->CalcYPosValue(50);
  const int X0 = Chart->GetBottomAxis()->CalcXPosValue(10), X1 = Chart->GetBottomAxis()->CalcXPosValue(90);
  for (int X = X0; X <= X1; X += 7) EXPECT_EQ(B->GetPixel(X, Y), 0xFFFF0000u) << X;
  const TAlphaColor Back = B->GetPixel(X0, Y - 20);
  EXPECT_NE(Back, 0xFFFF0000u);
  EXPECT_EQ(B->GetPixel(X0, Y + 20), Back);
  EXPECT_EQ(B->GetPixel(X1, Y - 5), Back);
  Chart->Free();
}

TEST(FastLineRender, ManyPointsPerColumnAreHandedOverAsTheCanvasMergesThem) {
  // Drawn on a bitmap, whose canvas merges the points of a pixel column, the line is made from
  // the value blocks straight away: it must be the merge of all its points, whatever the axes'
  // directions and range, with values that are not finite in some blocks.
  auto* Chart = Create<TFlatPanel>(nullptr);
  Chart->SetView3D(false);
  Chart->SetBounds(0, 0, 300, 200);
  auto* S = Create<TFastLineSeries>(nullptr);
  Chart->AddSeries(S);
  S->SetDrawStyle(TFastLineDrawStyle::flAll);
  std::mt19937 Rng(7);
  std::normal_distribution<double> Step(0, 1);
  double V = 0;
  for (int I = 0; I < 30000; ++I) {
    V += Step(Rng);
    S->AddXY(I * 0.01, V);
  }
  S->GetYValues()->SetValue(1000, std::nan(""));
  S->GetYValues()->SetValue(2222, 1e300);
  S->GetYValues()->SetValue(7000, -INFINITY);
  for (bool InvX : {false, true})
    for (bool InvY : {false, true})
      for (double From : {0.0, 57.3}) {
        SCOPED_TRACE(std::to_string(InvX) + std::to_string(InvY) + " from " + std::to_string(From));
        Chart->GetBottomAxis()->SetInverted(InvX);
        Chart->GetLeftAxis()->SetInverted(InvY);
        Chart->GetBottomAxis()->SetMinMax(From, From == 0 ? 299.99 : From + 40);
        Chart->GetLeftAxis()->SetMinMax(-150, 150);
        TOwned<TBitmap> B(PaintToBitmap(Chart));
        ASSERT_TRUE(B);
        const int First = std::max(S->GetFirstVisibleIndex() - 1, 0), Last = S->GetLastVisibleIndex();
        ASSERT_GE(First, 0);
        TPolygon All;  // a point that is not finite is left out of the line
        for (int I = First; I <= Last; ++I)
          if (S->IsFinitePoint(I))
            All.push_back(TPointF(static_cast<float>(S->CalcXPos(I)), static_cast<float>(S->CalcYPos(I))));
        std::vector<TPointF> Merged;
        ReducePolylineByColumn(All.data(), All.size(), Merged);
        const std::vector<TPointF>& Got = S->GetPolylinePoints();
        EXPECT_LT(Got.size(), All.size() / 4);
        ASSERT_EQ(Got.size(), Merged.size());
        for (std::size_t K = 0; K < Got.size(); ++K) {
          EXPECT_EQ(Got[K].X, Merged[K].X) << K;
          EXPECT_EQ(Got[K].Y, Merged[K].Y) << K;
        }
      }
  Chart->Free();
}

}  // namespace
}  // namespace zel::lines
