// What several points leave on one pixel is drawn once (pointers drawn again at the same pixel,
// an area's polygons of one pixel column, strokes through the canvas' merged polyline): every
// case is painted into a bitmap with that merging on and off, and the two pictures must not
// differ in a single pixel. Each case must also draw something, and merge where it can: on a
// canvas that counts what it is asked to draw, the merged paint draws less exactly where the
// case merges. Cases where merging would change pixels must fall back. The cases are split by
// their data (and pen) into tests of their own, so that each runs in a few seconds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"
#include "platform/Scope.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
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
  // More than one point on some pixel column: there is something to merge.
  bool SharesPixels() const { return Count >= 300; }
};

void Fill(TChartSeries* S, const TData& D) {
  std::mt19937 Rng(7);
  std::normal_distribution<double> Noise(0, 3);
  // The points made in their order, added in the order of X (where the list puts them anyway),
  // which spares the list moving its values for each point of descending data.
  std::vector<std::pair<double, double>> P;
  for (std::size_t K = 0; K < D.Count; ++K) {
    const std::size_t I = D.Descending ? D.Count - 1 - K : K;
    const double Y = 50 + 30 * std::sin(double(I) * 9.0 / double(D.Count)) + Noise(Rng);
    const std::size_t Crowd = D.Count * 2 / 3;
    const double X = D.CrowdedEnd && I >= Crowd ? double(Crowd) + double(I - Crowd) * 1e-6 : double(I);
    P.push_back({X, D.Step > 0 ? std::round(Y / D.Step) * D.Step : Y});
  }
  std::stable_sort(P.begin(), P.end(), [](const auto& A, const auto& B) { return A.first < B.first; });
  S->BeginUpdate();
  for (const auto& [X, Y] : P) S->AddXY(X, Y);
  if (D.Nulls > 0)
    for (std::size_t I = 3; I < D.Count; I += std::size_t(D.Nulls)) S->SetNull(std::int32_t(I));
  S->EndUpdate();
}

// Antialiased drawing blends: nothing may be merged then.
bool Antialiased = false;

// The picture of a paint on a bitmap, as its rows hold it.
std::vector<std::uint32_t> Paint(TChart* Chart, bool Merge) {
  ZelMergeSamePixels = Merge;
  TRestoreOnExit Reset([] { ZelMergeSamePixels = true; });
  TBitmap B(Width, Height);
  TCanvas* C = B.GetCanvas();
  C->SetAntialiasing(Antialiased);
  C->BeginScene();
  Chart->Draw(C, TRectF(0, 0, Width, Height));
  C->EndScene();
  std::vector<std::uint32_t> P(std::size_t(Width) * Height);
  TBitmapData D;
  if (!B.Map(TMapAccess::Read, D)) return {};
  for (int Y = 0; Y < Height; ++Y)
    std::memcpy(P.data() + std::size_t(Y) * Width, D.GetScanline(Y), std::size_t(Width) * sizeof(std::uint32_t));
  B.Unmap(D);
  return P;
}

std::size_t PixelsApart(const std::vector<std::uint32_t>& A, const std::vector<std::uint32_t>& B) {
  if (A.size() != B.size() || A.empty()) return std::size_t(-1);
  std::size_t N = 0;
  for (std::size_t I = 0; I < A.size(); ++I) N += A[I] != B[I];
  return N;
}

// Counts what a paint asks it to draw (a polyline its points, as the bitmap canvas draws them)
// and draws nothing; it merges where the bitmap canvas does, asking the rule that canvas asks.
class TCountingCanvas : public TRecordingCanvas {
 public:
  TCountingCanvas(int AWidth, int AHeight, bool AReduces) : TRecordingCanvas(AWidth, AHeight), Reduces(AReduces) {}
  std::size_t Drawn = 0;
  // Off, a polyline counts every point it is given (what a walk drawing every point draws).
  bool Reduces;

  void ClearRect(const TRectF&, TAlphaColor) override { ++Drawn; }
  void FillRect(const TRectF&, float, float, TCorners, float, TCornerType) override { ++Drawn; }
  void DrawRect(const TRectF&, float, float, TCorners, float, TCornerType) override { ++Drawn; }
  void FillEllipse(const TRectF&, float) override { ++Drawn; }
  void DrawEllipse(const TRectF&, float) override { ++Drawn; }
  void DrawLine(TPointF, TPointF, float) override { ++Drawn; }
  void FillPath(const TPathData&, float) override { ++Drawn; }
  void DrawPath(const TPathData&, float) override { ++Drawn; }
  void FillPolygon(const TPolygon&, float) override { ++Drawn; }
  void DrawPolygon(const TPolygon&, float) override { ++Drawn; }
  void DrawArc(TPointF, TPointF, float, float, float) override { ++Drawn; }
  void FillArc(TPointF, TPointF, float, float, float) override { ++Drawn; }
  bool MergesPolylines(float Opacity) const override { return Reduces && PictureMergesPolylines(Opacity); }
  bool ReplacesPixels(float Opacity) const override { return PictureReplacesPixels(Opacity); }
  bool MergesColumnStrokes(float Opacity) const override { return PictureMergesColumnStrokes(Opacity); }

 protected:
  void DoDrawPolyline(const TPointF* Points, std::size_t Count, float Opacity, bool Reduce) override {
    if (Reduce && MergesPolylines(Opacity)) {
      ReducePolylineByColumn(Points, Count, FReduced);
      Drawn += FReduced.size();
    } else {
      Drawn += Count;
    }
  }

 private:
  std::vector<TPointF> FReduced;
};

std::size_t Drawn(TChart* Chart, bool Merge) {
  ZelMergeSamePixels = Merge;
  TRestoreOnExit Reset([] { ZelMergeSamePixels = true; });
  TCountingCanvas C(Width, Height, Merge);
  C.SetAntialiasing(Antialiased);
  C.BeginScene();
  Chart->Draw(&C, TRectF(0, 0, Width, Height));
  C.EndScene();
  return C.Drawn;
}

// What a case gave: pixels apart between the pictures with and without merging, pixels the
// series set (apart from the chart painted with its points hidden on the same axes), and the
// primitives drawn with and without merging.
struct TOutcome {
  std::size_t Differ = 0, Inked = 0, Merged = 0, Plain = 0;
  bool AxesKept = false;  // the axes set to their range paint as before (Inked counts the series alone)
};

// Paints the case every way. Last, the axes are set to the range they mapped (the room the
// series take on them included), which must paint the same, and every point of the series is
// made a null that is not painted: the series draw nothing.
TOutcome Outcome(TChart* Chart) {
  TOutcome O;
  O.Merged = Drawn(Chart, true);
  O.Plain = Drawn(Chart, false);
  // (The axes' range of the paint on the bitmap: the counting canvas' texts take other room.)
  const std::vector<std::uint32_t> Merged = Paint(Chart, true);
  O.Differ = PixelsApart(Merged, Paint(Chart, false));
  for (TChartAxis* A : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) A->SetMinMax(A->IMinimum, A->IMaximum);
  O.AxesKept = PixelsApart(Merged, Paint(Chart, true)) == 0;
  for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
    auto* S = static_cast<TCustomLineSeries*>(Chart->GetSeries(I));
    S->BeginUpdate();
    for (std::int32_t K = 0; K < S->Count(); ++K) S->SetNull(K);
    S->SetTreatNulls(TTreatNullsStyle::tnDontPaint);
    S->EndUpdate();
  }
  O.Inked = PixelsApart(Merged, Paint(Chart, true));
  return O;
}

// Where a case merges: nowhere (it must fall back, or nothing is left to merge), wherever points
// share pixels, only in 2D, or only on the data of many points (not where a crowded column
// alternates colours).
enum class TMerges { No, Yes, Flat, Dense };

// The checks of a case: the same pixels, something drawn, and fewer primitives where it merges
// (the same where it must fall back, never more).
void Check(TChart* Chart, TMerges Merges, bool View3D, const TData& D, const std::string& What) {
  const TOutcome O = Outcome(Chart);
  EXPECT_EQ(O.Differ, 0u) << What;
  EXPECT_TRUE(O.AxesKept) << What;
  EXPECT_GE(O.Inked, 20u) << What << ": the series drew (almost) nothing";
  const bool Expected = D.SharesPixels() && (Merges == TMerges::Yes || (Merges == TMerges::Flat && !View3D) ||
                                             (Merges == TMerges::Dense && D.Count >= 1000));
  if (Merges == TMerges::No)
    EXPECT_EQ(O.Merged, O.Plain) << What << ": merged where it must fall back";
  else if (Expected)
    EXPECT_LT(O.Merged, O.Plain) << What << ": merged nothing";
  else
    EXPECT_LE(O.Merged, O.Plain) << What;
}

// A chart of 320 x 220 with one series of kind T (no legend: the series' points are not listed).
template <class T>
struct TScene {
  TChart* Chart = Create<TChart>(nullptr);
  T* Series = Create<T>(nullptr);
  TScene(bool View3D, const TData& D) {
    Chart->SetBounds(0, 0, Width, Height);
    Chart->SetBufferedDisplay(false);
    Chart->SetView3D(View3D);
    Chart->GetLegend()->SetVisible(false);
    Chart->AddSeries(Series);
    Series->SetSeriesColor(0xFF2060C0);
    Fill(Series, D);
    // The crowded pixel column inside the chart, with nothing drawn after it.
    if (D.CrowdedEnd) Chart->GetBottomAxis()->SetMinMax(0, double(D.Count));
  }
  ~TScene() { Chart->Free(); }
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;
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
constexpr int DataCount = int(std::size(DataCases));

// The bottom axis zoomed to a part of the points, wherever they lie.
void Zoom(TChartSeries* S) {
  S->GetParentChart()->GetBottomAxis()->SetMinMax(double(S->Count()) * 0.2, double(S->Count()) * 0.8);
}

// Pointers, areas and lines over each data case, in 2D and 3D.
class SamePixel : public ::testing::TestWithParam<std::tuple<int, bool>> {
 protected:
  const TData& D() const { return DataCases[std::get<0>(GetParam())]; }
  bool View3D() const { return std::get<1>(GetParam()); }
};

template <class TSeriesKind>
struct TLook {
  const char* Name;
  std::function<void(TSeriesKind*)> Set;
  TMerges Merges;
};

TEST_P(SamePixel, PointersDrawnAgainAtTheirPixelLeaveThePictureAlone) {
  const TLook<TCustomSeries> Looks[] = {
      {"as made", [](TCustomSeries*) {}, TMerges::Yes},
      {"circle", [](TCustomSeries* S) { S->GetPointer()->SetStyle(TSeriesPointerStyle::psCircle); }, TMerges::Yes},
      {"triangle, no 3D", [](TCustomSeries* S) {
         S->GetPointer()->SetStyle(TSeriesPointerStyle::psTriangle);
         S->GetPointer()->SetDraw3D(false);
       }, TMerges::Yes},
      {"cross, wide pen", [](TCustomSeries* S) {
         S->GetPointer()->SetStyle(TSeriesPointerStyle::psDiagCross);
         S->GetPointer()->GetPen()->SetWidth(3);
       }, TMerges::Yes},
      {"small dot", [](TCustomSeries* S) { S->GetPointer()->SetStyle(TSeriesPointerStyle::psSmallDot); }, TMerges::Yes},
      {"colour each point", [](TCustomSeries* S) {
         S->SetColorEachPoint(true);
         for (std::int32_t I = 0; I < S->Count(); I += 3) S->SetValueColor(I, 0xFFE03020);
       }, TMerges::Yes},
      {"some translucent points", [](TCustomSeries* S) {
         for (std::int32_t I = 0; I < S->Count(); I += 4) S->SetValueColor(I, 0x80E03020);
       }, TMerges::Yes},
      {"translucent pointer", [](TCustomSeries* S) { S->GetPointer()->SetTransparency(40); }, TMerges::No},
      // A pen that blends over the brush of the pointer drawn before at the same pixel.
      {"translucent pen over an opaque brush", [](TCustomSeries* S) {
         S->GetPointer()->GetPen()->SetColor(0x80102030);
       }, TMerges::No},
      {"hollow", [](TCustomSeries* S) { S->GetPointer()->GetBrush()->SetKind(TBrushKind::None); }, TMerges::Yes},
      {"pointer shadow", [](TCustomSeries* S) {
         S->GetPointer()->GetShadow()->SetVisible(true);
         S->GetPointer()->GetShadow()->SetSize(2);
       }, TMerges::No},
      {"inverted axes", [](TCustomSeries* S) {
         S->GetParentChart()->GetBottomAxis()->SetInverted(true);
         S->GetParentChart()->GetLeftAxis()->SetInverted(true);
       }, TMerges::Yes},
      {"zoomed", Zoom, TMerges::Yes},
      {"treat nulls skip", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnSkip); }, TMerges::Yes},
      {"treat nulls ignore", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnIgnore); }, TMerges::Yes},
      {"whole path with a line", [](TCustomSeries* S) {
         S->SetDrawLine(true);
         S->SetDrawStyle(TCustomSeriesDrawStyle::dsAll);
       }, TMerges::Flat},
  };
  for (const auto& L : Looks) {
    TScene<TCustomSeries> S(View3D(), D());
    L.Set(S.Series);
    Check(S.Chart, L.Merges, View3D(), D(), Name("pointers", View3D(), D()) + ", " + L.Name);
  }
}

TEST_P(SamePixel, AreaPiecesOfOnePixelColumnLeaveThePictureAlone) {
  const TLook<TAreaSeries> Looks[] = {
      {"as made", [](TAreaSeries*) {}, TMerges::Yes},
      {"no area lines", [](TAreaSeries* S) { S->GetAreaLinesPen()->SetVisible(false); }, TMerges::Yes},
      {"no line", [](TAreaSeries* S) { S->GetLinePen()->SetVisible(false); }, TMerges::Yes},
      {"coloured pens", [](TAreaSeries* S) {
         S->GetAreaLinesPen()->SetColor(0xFF00A000);
         S->GetLinePen()->SetColor(0xFFC00000);
       }, TMerges::Yes},
      {"round line ends", [](TAreaSeries* S) { S->GetLinePen()->SetEndStyle(TPenEndStyle::esRound); }, TMerges::Yes},
      {"colour each point", [](TAreaSeries* S) {
         S->SetColorEachPoint(true);
         for (std::int32_t I = 0; I < S->Count(); I += 3) S->SetValueColor(I, 0xFFE03020);
       }, TMerges::Dense},
      {"some translucent points", [](TAreaSeries* S) {
         for (std::int32_t I = 0; I < S->Count(); I += 4) S->SetValueColor(I, 0x80E03020);
       }, TMerges::Yes},
      {"wide line", [](TAreaSeries* S) { S->GetLinePen()->SetWidth(3); }, TMerges::No},
      {"dashed area lines", [](TAreaSeries* S) { S->GetAreaLinesPen()->SetStyle(TPenStyle::psDash); }, TMerges::No},
      {"origin inside the values", [](TAreaSeries* S) {
         S->SetUseYOrigin(true);
         S->SetYOrigin(48);
       }, TMerges::Yes},
      {"stairs", [](TAreaSeries* S) { S->SetStairs(true); }, TMerges::No},
      {"inverted axes", [](TAreaSeries* S) {
         S->GetParentChart()->GetBottomAxis()->SetInverted(true);
         S->GetParentChart()->GetLeftAxis()->SetInverted(true);
       }, TMerges::Yes},
      {"treat nulls skip", [](TAreaSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnSkip); }, TMerges::Yes},
      {"treat nulls ignore", [](TAreaSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnIgnore); }, TMerges::Yes},
      {"gradient", [](TAreaSeries* S) { S->GetGradient()->SetVisible(true); }, TMerges::Yes},
      {"with pointers", [](TAreaSeries* S) { S->GetPointer()->SetVisible(true); }, TMerges::No},
  };
  // (Areas in 3D are painted on the data of many points only.)
  if (View3D() && D().Count < 1000) return;
  for (const auto& L : Looks) {
    TScene<TAreaSeries> S(View3D(), D());
    L.Set(S.Series);
    // An area merges its columns in 2D only.
    Check(S.Chart, View3D() && L.Merges != TMerges::No ? TMerges::Flat : L.Merges, View3D(), D(),
          Name("area", View3D(), D()) + ", " + L.Name);
  }
  if (View3D()) return;
  // Two areas stacked: the origin of the upper one moves from point to point.
  TScene<TAreaSeries> S(false, D());
  auto* Upper = Create<TAreaSeries>(nullptr);
  S.Chart->AddSeries(Upper);
  Fill(Upper, D());
  S.Series->SetMultiArea(TMultiArea::maStacked);
  Check(S.Chart, TMerges::Yes, false, D(), Name("stacked areas", false, D()));
}

TEST_P(SamePixel, LineSegmentsThroughColumnStrokesLeaveThePictureAlone) {
  // A line alone merges with a thin solid pen; the others must fall back.
  const TLook<TCustomSeries> Looks[] = {
      {"as made", [](TCustomSeries*) {}, TMerges::Yes},
      {"stairs", [](TCustomSeries* S) { S->SetStairs(true); }, TMerges::Yes},
      {"inverted stairs", [](TCustomSeries* S) {
         S->SetStairs(true);
         S->SetInvertedStairs(true);
       }, TMerges::Yes},
      {"colour each point", [](TCustomSeries* S) {
         S->SetColorEachPoint(true);
         for (std::int32_t I = 0; I < S->Count(); I += 3) S->SetValueColor(I, 0xFFE03020);
       }, TMerges::Dense},
      {"some translucent points", [](TCustomSeries* S) {
         for (std::int32_t I = 0; I < S->Count(); I += 4) S->SetValueColor(I, 0x80E03020);
       }, TMerges::Yes},
      {"one pen colour", [](TCustomSeries* S) {
         S->SetColorEachLine(false);
         S->GetLinePen()->SetColor(0xFF00A000);
       }, TMerges::Yes},
      {"round ends", [](TCustomSeries* S) { S->GetLinePen()->SetEndStyle(TPenEndStyle::esRound); }, TMerges::Yes},
      {"wide pen", [](TCustomSeries* S) { S->GetLinePen()->SetWidth(3); }, TMerges::No},
      {"dashed pen", [](TCustomSeries* S) { S->GetLinePen()->SetStyle(TPenStyle::psDash); }, TMerges::No},
      {"translucent series", [](TCustomSeries* S) { S->SetTransparency(40); }, TMerges::No},
      {"with pointers", [](TCustomSeries* S) { S->GetPointer()->SetVisible(true); }, TMerges::No},
      {"inverted axes", [](TCustomSeries* S) {
         S->GetParentChart()->GetBottomAxis()->SetInverted(true);
         S->GetParentChart()->GetLeftAxis()->SetInverted(true);
       }, TMerges::Yes},
      {"zoomed", Zoom, TMerges::Yes},
      {"zoomed stairs", [](TCustomSeries* S) {
         S->SetStairs(true);
         Zoom(S);
       }, TMerges::Yes},
      {"treat nulls skip", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnSkip); }, TMerges::Yes},
      {"treat nulls ignore", [](TCustomSeries* S) { S->SetTreatNulls(TTreatNullsStyle::tnIgnore); }, TMerges::Yes},
      {"shadow", [](TCustomSeries* S) {
         S->GetShadow()->SetVisible(true);
         S->GetShadow()->SetSize(3);
       }, TMerges::Yes},
  };
  for (const auto& L : Looks) {
    TScene<TCustomSeries> S(View3D(), D());
    S.Series->GetPointer()->SetVisible(false);
    S.Series->SetDrawLine(true);
    L.Set(S.Series);
    // A line series merges its segments in 2D only.
    Check(S.Chart, View3D() && L.Merges != TMerges::No ? TMerges::Flat : L.Merges, View3D(), D(),
          Name("line", View3D(), D()) + ", " + L.Name);
  }
}

INSTANTIATE_TEST_SUITE_P(Data, SamePixel, ::testing::Combine(::testing::Range(0, DataCount), ::testing::Bool()));

// The fast line over each data case with each pen.
struct TFastPen {
  const char* Name;
  float Width;
  TPenStyle Style;
  TAlphaColor Color;
};
// The thin solid opaque pen merges; the others must fall back.
const TFastPen FastPens[] = {{"thin", 1, TPenStyle::psSolid, 0xFF2060C0},
                             {"wide", 3, TPenStyle::psSolid, 0xFF2060C0},
                             {"dashed", 1, TPenStyle::psDash, 0xFF2060C0},
                             {"translucent", 1, TPenStyle::psSolid, 0x802060C0}};

class SamePixelFastLine : public ::testing::TestWithParam<std::tuple<int, int>> {
 protected:
  const TData& D() const { return DataCases[std::get<0>(GetParam())]; }
  const TFastPen& Pen() const { return FastPens[std::get<1>(GetParam())]; }
};

TEST_P(SamePixelFastLine, StrokesThroughTheMergedPolylineLeaveThePictureAlone) {
  const TFastPen& Pen = this->Pen();
  for (TFastLineDrawStyle Style : {TFastLineDrawStyle::flSegments, TFastLineDrawStyle::flAll})
    for (int All = 0; All < 3; ++All)
      for (int Stairs = 0; Stairs < 3; ++Stairs)
        for (TTreatNullsStyle Nulls :
             {TTreatNullsStyle::tnIgnore, TTreatNullsStyle::tnDontPaint, TTreatNullsStyle::tnSkip}) {
          if (Pen.Width != 1 && (All != 0 || Stairs != 0)) continue;
          // Without nulls the other rules are walked only with the thin pen.
          if (D().Nulls == 0 && Nulls != TTreatNullsStyle::tnIgnore && Pen.Width != 1) continue;
          TScene<TFastLineSeries> S(false, D());
          S.Series->GetLinePen()->SetWidth(Pen.Width);
          S.Series->GetLinePen()->SetStyle(Pen.Style);
          S.Series->GetLinePen()->SetColor(Pen.Color);
          S.Series->SetDrawStyle(Style);
          S.Series->SetDrawAllPoints(All == 0);
          S.Series->SetDrawAllPointsStyle(All == 2 ? TDrawAllPointsStyle::daMinMax : TDrawAllPointsStyle::daFirst);
          S.Series->SetStairs(Stairs != 0);
          S.Series->SetInvertedStairs(Stairs == 2);
          S.Series->SetTreatNulls(Nulls);
          std::ostringstream What;
          What << Name("fast line", false, D()) << ", pen " << Pen.Name << ", style " << int(Style) << ", all "
               << All << ", stairs " << Stairs << ", nulls " << int(Nulls);
          // Not every point drawn (All 1), the series itself leaves out the points of a pixel it
          // reached: nothing is left to merge.
          const TMerges Merges = &Pen != &FastPens[0] || All == 1 ? TMerges::No : TMerges::Yes;
          Check(S.Chart, Merges, false, D(), What.str());
        }
}

INSTANTIATE_TEST_SUITE_P(Data, SamePixelFastLine,
                         ::testing::Combine(::testing::Range(0, DataCount),
                                            ::testing::Range(0, int(std::size(FastPens)))));

// The fast line in 3D and on other axes, over each data case.
class SamePixelData : public ::testing::TestWithParam<int> {
 protected:
  const TData& D() const { return DataCases[GetParam()]; }
};

TEST_P(SamePixelData, FastLineIn3DStrokesBetweenTheProjectedPoints) {
  struct TView {
    const char* Name;
    std::function<void(TChart*)> Set;
  };
  // As made, and views whose projected points are whole pixels (so that columns merge).
  const TView Views[] = {{"as made", [](TChart*) {}},
                         {"shallow depth", [](TChart* C) { C->SetChart3DPercent(1); }},
                         {"zoomed out", [](TChart* C) { C->GetView3DOptions()->SetZoom(50); }}};
  for (const TView& V : Views)
    for (int Stairs = 0; Stairs < 3; ++Stairs)
      for (int All = 0; All < 2; ++All)
        for (TTreatNullsStyle Nulls :
             {TTreatNullsStyle::tnIgnore, TTreatNullsStyle::tnDontPaint, TTreatNullsStyle::tnSkip}) {
          TScene<TFastLineSeries> S(true, D());
          V.Set(S.Chart);
          S.Series->SetDrawAllPoints(All == 0);
          S.Series->SetStairs(Stairs != 0);
          S.Series->SetInvertedStairs(Stairs == 2);
          S.Series->SetTreatNulls(Nulls);
          std::ostringstream What;
          What << Name("fast line", true, D()) << ", " << V.Name << ", all " << All << ", stairs " << Stairs
               << ", nulls " << int(Nulls);
          Check(S.Chart, All == 1 ? TMerges::No : TMerges::Yes, true, D(), What.str());
        }
}

TEST_P(SamePixelData, FastLineOnInvertedAxesAndZoomed) {
  for (int Axes = 0; Axes < 3; ++Axes) {
    TScene<TFastLineSeries> S(false, D());
    if (Axes == 0) S.Chart->GetBottomAxis()->SetInverted(true);
    if (Axes == 1) S.Chart->GetLeftAxis()->SetInverted(true);
    if (Axes == 2) Zoom(S.Series);
    Check(S.Chart, TMerges::Yes, false, D(), Name("fast line", false, D()) + ", axes " + std::to_string(Axes));
  }
}

INSTANTIATE_TEST_SUITE_P(Data, SamePixelData, ::testing::Range(0, DataCount));

TEST(SamePixelCanvas, AntialiasedCanvasDrawsEveryPoint) {
  Antialiased = true;
  TRestoreOnExit Reset([] { Antialiased = false; });
  const TData D;
  {
    TScene<TCustomSeries> S(true, D);
    Check(S.Chart, TMerges::No, true, D, "pointers");
  }
  {
    TScene<TAreaSeries> S(false, D);
    Check(S.Chart, TMerges::No, false, D, "area");
  }
  {
    TScene<TFastLineSeries> S(false, D);
    Check(S.Chart, TMerges::No, false, D, "fast line");
  }
}

}  // namespace
}  // namespace zel::lines
