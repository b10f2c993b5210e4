// What several points leave on one pixel is drawn once (pointers drawn again at the same pixel,
// an area's polygons of one pixel column, strokes through the canvas' merged polyline): every
// case is painted into a bitmap with that merging on and off, and the two pictures must not
// differ in a single pixel. Cases where merging would change pixels must fall back.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <sstream>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Scope.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/series/Series.h"

namespace zel::lines {
namespace {

constexpr int Width = 320, Height = 220;

// Points along a wave with noise: Count of them over the whole bottom axis (many per pixel
// column when Count is large), X descending when asked, every Nulls-th point null, and Y
// rounded to a multiple of Step when given (points one after another on the same pixel); with
// CrowdedEnd the last third of the points share one X pixel, where nothing is drawn after them.
struct TData {
  std::size_t Count = 4000;
  bool Descending = false;
  int Nulls = 0;
  double Step = 0;
  bool CrowdedEnd = false;
};

void Fill(TChartSeries* S, const TData& D) {
  std::mt19937 Rng(7);
  std::normal_distribution<double> Noise(0, 3);
  S->BeginUpdate();
  for (std::size_t K = 0; K < D.Count; ++K) {
    const std::size_t I = D.Descending ? D.Count - 1 - K : K;
    const double Y = 50 + 30 * std::sin(double(I) * 9.0 / double(D.Count)) + Noise(Rng);
    const std::size_t Crowd = D.Count * 2 / 3;
    const double X = D.CrowdedEnd && I >= Crowd ? double(Crowd) + double(I - Crowd) * 1e-6 : double(I);
    S->AddXY(X, D.Step > 0 ? std::round(Y / D.Step) * D.Step : Y);
  }
  if (D.Nulls > 0)
    for (std::size_t I = 3; I < D.Count; I += std::size_t(D.Nulls)) S->SetNull(std::int32_t(I));
  S->EndUpdate();
}

struct TPicture {
  std::vector<TAlphaColor> Pixels;
  std::size_t Inked = 0;  // pixels not of the background's colour at the chart's centre
};

// Antialiased drawing blends: nothing may be merged then.
bool Antialiased = false;

TPicture Paint(TChart* Chart, bool Merge) {
  ZelMergeSamePixels = Merge;
  TBitmap B(Width, Height);
  TCanvas* C = B.GetCanvas();
  C->SetAntialiasing(Antialiased);
  C->BeginScene();
  Chart->Draw(C, TRectF(0, 0, Width, Height));
  C->EndScene();
  ZelMergeSamePixels = true;
  TPicture P;
  TBitmapData D;
  if (!B.Map(TMapAccess::Read, D)) return P;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) P.Pixels.push_back(D.GetPixel(X, Y));
  B.Unmap(D);
  return P;
}

// The number of pixels that differ between the chart painted with and without merging.
std::size_t Differ(TChart* Chart) {
  const TPicture A = Paint(Chart, true), B = Paint(Chart, false);
  if (A.Pixels.size() != B.Pixels.size()) return std::size_t(-1);
  std::size_t N = 0;
  for (std::size_t I = 0; I < A.Pixels.size(); ++I) N += A.Pixels[I] != B.Pixels[I];
  return N;
}

// A chart of 320 x 220 with one series of kind T, set up by Setup.
template <class T>
struct TScene {
  TChart* Chart = Create<TChart>(nullptr);
  T* Series = Create<T>(nullptr);
  TScene(bool View3D, const TData& D) {
    Chart->SetBounds(0, 0, Width, Height);
    Chart->SetBufferedDisplay(false);
    Chart->SetView3D(View3D);
    Chart->AddSeries(Series);
    Series->SetSeriesColor(0xFF2060C0);
    Fill(Series, D);
    // The crowded pixel column inside the chart, with nothing drawn after it.
    if (D.CrowdedEnd) Chart->GetBottomAxis()->SetMinMax(0, double(D.Count));
  }
  ~TScene() { Chart->Free(); }
};

std::string Name(const char* What, bool View3D, const TData& D) {
  std::ostringstream S;
  S << What << (View3D ? " 3D" : " 2D") << " points " << D.Count << (D.Descending ? " descending" : "")
    << (D.Nulls ? " nulls" : "") << (D.Step > 0 ? " steps" : "") << (D.CrowdedEnd ? " crowded end" : "");
  return S.str();
}

const TData DataCases[] = {{2000, false, 0, 0, false}, {2000, true, 0, 0, false}, {60, false, 0, 0, false},
                           {2000, false, 7, 0, false}, {60, false, 5, 0, false},   {2000, false, 0, 4, false},
                           {300, false, 0, 0, true},   {300, false, 0, 4, true}};

TEST(SamePixel, PointersDrawnAgainAtTheirPixelLeaveThePictureAlone) {
  struct TLook {
    const char* Name;
    std::function<void(TCustomSeries*)> Set;
  };
  const TLook Looks[] = {
      {"as made", [](TCustomSeries*) {}},
      {"circle", [](TCustomSeries* S) { S->GetPointer()->SetStyle(TSeriesPointerStyle::psCircle); }},
      {"triangle, no 3D", [](TCustomSeries* S) {
         S->GetPointer()->SetStyle(TSeriesPointerStyle::psTriangle);
         S->GetPointer()->SetDraw3D(false);
       }},
      {"cross, wide pen", [](TCustomSeries* S) {
         S->GetPointer()->SetStyle(TSeriesPointerStyle::psDiagCross);
         S->GetPointer()->GetPen()->SetWidth(3);
       }},
      {"small dot", [](TCustomSeries* S) { S->GetPointer()->SetStyle(TSeriesPointerStyle::psSmallDot); }},
      {"colour each point", [](TCustomSeries* S) {
         S->SetColorEachPoint(true);
         for (std::int32_t I = 0; I < S->Count(); I += 3) S->SetValueColor(I, 0xFFE03020);
       }},
      {"some translucent points", [](TCustomSeries* S) {
         for (std::int32_t I = 0; I < S->Count(); I += 4) S->SetValueColor(I, 0x80E03020);
       }},
      {"translucent pointer", [](TCustomSeries* S) { S->GetPointer()->SetTransparency(40); }},
      {"hollow", [](TCustomSeries* S) { S->GetPointer()->GetBrush()->SetKind(TBrushKind::None); }},
      {"pointer shadow", [](TCustomSeries* S) {
         S->GetPointer()->GetShadow()->SetVisible(true);
         S->GetPointer()->GetShadow()->SetSize(2);
       }},
      {"inverted axes", [](TCustomSeries* S) {
         S->GetParentChart()->GetBottomAxis()->SetInverted(true);
         S->GetParentChart()->GetLeftAxis()->SetInverted(true);
       }},
      {"zoomed", [](TCustomSeries* S) { S->GetParentChart()->GetBottomAxis()->SetMinMax(1000, 1400); }},
      {"treat nulls skip", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnSkip); }},
      {"treat nulls ignore", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnIgnore); }},
      {"whole path with a line", [](TCustomSeries* S) {
         S->SetDrawLine(true);
         S->SetDrawStyle(TCustomSeriesDrawStyle::dsAll);
       }},
  };
  for (bool View3D : {true, false})
    for (const TData& D : DataCases)
      for (const TLook& L : Looks) {
        TScene<TCustomSeries> S(View3D, D);
        L.Set(S.Series);
        EXPECT_EQ(Differ(S.Chart), 0u) << Name("pointers", View3D, D) << ", " << L.Name;
      }
}

TEST(SamePixel, AreaPiecesOfOnePixelColumnLeaveThePictureAlone) {
  struct TLook {
    const char* Name;
    std::function<void(TAreaSeries*)> Set;
  };
  const TLook Looks[] = {
      {"as made", [](TAreaSeries*) {}},
      {"no area lines", [](TAreaSeries* S) { S->GetAreaLinesPen()->SetVisible(false); }},
      {"no line", [](TAreaSeries* S) { S->GetLinePen()->SetVisible(false); }},
      {"coloured pens", [](TAreaSeries* S) {
         S->GetAreaLinesPen()->SetColor(0xFF00A000);
         S->GetLinePen()->SetColor(0xFFC00000);
       }},
      {"round line ends", [](TAreaSeries* S) { S->GetLinePen()->SetEndStyle(TPenEndStyle::esRound); }},
      {"colour each point", [](TAreaSeries* S) {
         S->SetColorEachPoint(true);
         for (std::int32_t I = 0; I < S->Count(); I += 3) S->SetValueColor(I, 0xFFE03020);
       }},
      {"some translucent points", [](TAreaSeries* S) {
         for (std::int32_t I = 0; I < S->Count(); I += 4) S->SetValueColor(I, 0x80E03020);
       }},
      {"wide line", [](TAreaSeries* S) { S->GetLinePen()->SetWidth(3); }},
      {"dashed area lines", [](TAreaSeries* S) { S->GetAreaLinesPen()->SetStyle(TPenStyle::psDash); }},
      {"origin inside the values", [](TAreaSeries* S) {
         S->SetUseYOrigin(true);
         S->SetYOrigin(48);
       }},
      {"stairs", [](TAreaSeries* S) { S->SetStairs(true); }},
      {"inverted axes", [](TAreaSeries* S) {
         S->GetParentChart()->GetBottomAxis()->SetInverted(true);
         S->GetParentChart()->GetLeftAxis()->SetInverted(true);
       }},
      {"treat nulls skip", [](TAreaSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnSkip); }},
      {"treat nulls ignore", [](TAreaSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnIgnore); }},
      {"gradient", [](TAreaSeries* S) { S->GetGradient()->SetVisible(true); }},
      {"with pointers", [](TAreaSeries* S) { S->GetPointer()->SetVisible(true); }},
  };
  for (bool View3D : {false, true})
    for (const TData& D : DataCases)
      for (const TLook& L : Looks) {
        if (View3D && D.Count < 1000) continue;
        TScene<TAreaSeries> S(View3D, D);
        L.Set(S.Series);
        EXPECT_EQ(Differ(S.Chart), 0u) << Name("area", View3D, D) << ", " << L.Name;
      }
  // Two areas stacked: the origin of the upper one moves from point to point.
  for (const TData& D : DataCases) {
    TScene<TAreaSeries> S(false, D);
    auto* Upper = Create<TAreaSeries>(nullptr);
    S.Chart->AddSeries(Upper);
    Fill(Upper, D);
    S.Series->SetMultiArea(TMultiArea::maStacked);
    EXPECT_EQ(Differ(S.Chart), 0u) << Name("stacked areas", false, D);
  }
}

TEST(SamePixel, LineSegmentsThroughColumnStrokesLeaveThePictureAlone) {
  struct TLook {
    const char* Name;
    std::function<void(TCustomSeries*)> Set;
  };
  // A line alone merges with a thin solid pen; the others must fall back.
  const TLook Looks[] = {
      {"as made", [](TCustomSeries*) {}},
      {"stairs", [](TCustomSeries* S) { S->SetStairs(true); }},
      {"inverted stairs", [](TCustomSeries* S) {
         S->SetStairs(true);
         S->SetInvertedStairs(true);
       }},
      {"colour each point", [](TCustomSeries* S) {
         S->SetColorEachPoint(true);
         for (std::int32_t I = 0; I < S->Count(); I += 3) S->SetValueColor(I, 0xFFE03020);
       }},
      {"some translucent points", [](TCustomSeries* S) {
         for (std::int32_t I = 0; I < S->Count(); I += 4) S->SetValueColor(I, 0x80E03020);
       }},
      {"one pen colour", [](TCustomSeries* S) {
         S->SetColorEachLine(false);
         S->GetLinePen()->SetColor(0xFF00A000);
       }},
      {"round ends", [](TCustomSeries* S) { S->GetLinePen()->SetEndStyle(TPenEndStyle::esRound); }},
      {"wide pen", [](TCustomSeries* S) { S->GetLinePen()->SetWidth(3); }},
      {"dashed pen", [](TCustomSeries* S) { S->GetLinePen()->SetStyle(TPenStyle::psDash); }},
      {"translucent series", [](TCustomSeries* S) { S->SetTransparency(40); }},
      {"with pointers", [](TCustomSeries* S) { S->GetPointer()->SetVisible(true); }},
      {"inverted axes", [](TCustomSeries* S) {
         S->GetParentChart()->GetBottomAxis()->SetInverted(true);
         S->GetParentChart()->GetLeftAxis()->SetInverted(true);
       }},
      {"zoomed", [](TCustomSeries* S) { S->GetParentChart()->GetBottomAxis()->SetMinMax(1000, 1400); }},
      {"zoomed stairs", [](TCustomSeries* S) {
         S->SetStairs(true);
         S->GetParentChart()->GetBottomAxis()->SetMinMax(1000, 1400);
       }},
      {"treat nulls skip", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnSkip); }},
      {"treat nulls ignore", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnIgnore); }},
      {"shadow", [](TCustomSeries* S) {
         S->GetShadow()->SetVisible(true);
         S->GetShadow()->SetSize(3);
       }},
  };
  for (bool View3D : {false, true})
    for (const TData& D : DataCases)
      for (const TLook& L : Looks) {
        TScene<TCustomSeries> S(View3D, D);
        S.Series->GetPointer()->SetVisible(false);
        S.Series->SetDrawLine(true);
        L.Set(S.Series);
        EXPECT_EQ(Differ(S.Chart), 0u) << Name("line", View3D, D) << ", " << L.Name;
      }
}

TEST(SamePixel, FastLineStrokesThroughTheMergedPolylineLeaveThePictureAlone) {
  struct TPen {
    const char* Name;
    float Width;
    TPenStyle Style;
    TAlphaColor Color;
  };
  // The thin solid opaque pen merges; the others must fall back.
  const TPen Pens[] = {{"thin", 1, TPenStyle::psSolid, 0xFF2060C0},
                       {"wide", 3, TPenStyle::psSolid, 0xFF2060C0},
                       {"dashed", 1, TPenStyle::psDash, 0xFF2060C0},
                       {"translucent", 1, TPenStyle::psSolid, 0x802060C0}};
  for (const TData& D : DataCases)
    for (const TPen& Pen : Pens)
      for (TFastLineDrawStyle Style : {TFastLineDrawStyle::flSegments, TFastLineDrawStyle::flAll})
        for (int All = 0; All < 3; ++All)
          for (int Stairs = 0; Stairs < 3; ++Stairs)
            for (TTreatNullsStyle Nulls :
                 {TTreatNullsStyle::tnIgnore, TTreatNullsStyle::tnDontPaint, TTreatNullsStyle::tnSkip}) {
              if (Pen.Width != 1 && (All != 0 || Stairs != 0)) continue;
              // Without nulls the other rules are walked only with the thin pen.
              if (D.Nulls == 0 && Nulls != TTreatNullsStyle::tnIgnore && Pen.Width != 1) continue;
              TScene<TFastLineSeries> S(false, D);
              S.Series->GetLinePen()->SetWidth(Pen.Width);
              S.Series->GetLinePen()->SetStyle(Pen.Style);
              S.Series->GetLinePen()->SetColor(Pen.Color);
              S.Series->SetDrawStyle(Style);
              S.Series->SetDrawAllPoints(All == 0);
              S.Series->SetDrawAllPointsStyle(All == 2 ? TDrawAllPointsStyle::daMinMax : TDrawAllPointsStyle::daFirst);
              S.Series->SetStairs(Stairs != 0);
              S.Series->SetInvertedStairs(Stairs == 2);
              S.Series->SetTreatNulls(Nulls);
              EXPECT_EQ(Differ(S.Chart), 0u) << Name("fast line", false, D) << ", pen " << Pen.Name << ", style "
                                            << int(Style) << ", all " << All << ", stairs " << Stairs
                                            << ", nulls " << int(Nulls);
            }
}

TEST(SamePixel, FastLineIn3DStrokesBetweenTheProjectedPoints) {
  struct TView {
    const char* Name;
    std::function<void(TChart*)> Set;
  };
  // As made, and views whose projected points are whole pixels (so that columns merge).
  const TView Views[] = {{"as made", [](TChart*) {}},
                         {"shallow depth", [](TChart* C) { C->SetChart3DPercent(1); }},
                         {"zoomed out", [](TChart* C) { C->GetView3DOptions()->SetZoom(50); }}};
  for (const TData& D : DataCases)
    for (const TView& V : Views)
      for (int Stairs = 0; Stairs < 3; ++Stairs)
        for (int All = 0; All < 2; ++All)
          for (TTreatNullsStyle Nulls :
               {TTreatNullsStyle::tnIgnore, TTreatNullsStyle::tnDontPaint, TTreatNullsStyle::tnSkip}) {
            TScene<TFastLineSeries> S(true, D);
            V.Set(S.Chart);
            S.Series->SetDrawAllPoints(All == 0);
            S.Series->SetStairs(Stairs != 0);
            S.Series->SetInvertedStairs(Stairs == 2);
            S.Series->SetTreatNulls(Nulls);
            EXPECT_EQ(Differ(S.Chart), 0u) << Name("fast line", true, D) << ", " << V.Name << ", all " << All
                                          << ", stairs " << Stairs << ", nulls " << int(Nulls);
          }
}

TEST(SamePixel, FastLineOnInvertedAxesAndZoomed) {
  for (const TData& D : DataCases)
    for (int Axes = 0; Axes < 3; ++Axes) {
      TScene<TFastLineSeries> S(false, D);
      if (Axes == 0) S.Chart->GetBottomAxis()->SetInverted(true);
      if (Axes == 1) S.Chart->GetLeftAxis()->SetInverted(true);
      if (Axes == 2) S.Chart->GetBottomAxis()->SetMinMax(double(D.Count) * 0.3, double(D.Count) * 0.4);
      EXPECT_EQ(Differ(S.Chart), 0u) << Name("fast line", false, D) << ", axes " << Axes;
    }
}

TEST(SamePixel, AntialiasedCanvasDrawsEveryPoint) {
  Antialiased = true;
  TRestoreOnExit Reset([] { Antialiased = false; });
  const TData D;
  {
    TScene<TCustomSeries> S(true, D);
    EXPECT_EQ(Differ(S.Chart), 0u) << "pointers";
  }
  {
    TScene<TAreaSeries> S(false, D);
    EXPECT_EQ(Differ(S.Chart), 0u) << "area";
  }
  {
    TScene<TFastLineSeries> S(false, D);
    EXPECT_EQ(Differ(S.Chart), 0u) << "fast line";
  }
}

}  // namespace
}  // namespace zel::lines
