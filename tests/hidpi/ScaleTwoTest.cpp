// Windows on a screen of ratio 2: every window of this program is, since the window system reads
// the scale when it starts (so these tests are a program of their own). The picture is made at
// the screen's own pixels, units stay put, thin lines stay one unit thick and lie where they lie
// at ratio 1, and the exact drawing paths draw what their plain paths draw, at 2 and at 1.5.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Pointer.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/LineSeries.h"
#include "zelgraph/series/Series.h"

namespace {
const bool ScreenOfRatioTwo = [] {
  setenv("QT_SCALE_FACTOR", "2", 1);
  return true;
}();
}  // namespace

namespace zel::hidpi {
namespace {

constexpr TAlphaColor LineColor = 0xFFFF0000;

int Differences(const TBitmap& A, const TBitmap& B) {
  if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight()) return -1;
  int N = 0;
  for (int Y = 0; Y < A.GetHeight(); ++Y)
    for (int X = 0; X < A.GetWidth(); ++X) N += A.GetPixel(X, Y) != B.GetPixel(X, Y);
  return N;
}

// The rows of column X (device pixels) in Color.
std::vector<int> RowsIn(const TBitmap& B, int X, TAlphaColor Color) {
  std::vector<int> Rows;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    if (B.GetPixel(X, Y) == Color) Rows.push_back(Y);
  return Rows;
}

// ---------------------------------------------------------------------------------------------
// A shown window

// A chart of 320 x 240 on a shown form, a fast line with a flat stretch at 20 and a slope.
class ShownChart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ScreenOfRatioTwo);
    Form.reset(TForm::CreateNew(nullptr));
    Form->SetBounds(0, 0, 360, 280);
    Chart = Create<TChart>(Form.get());
    Chart->SetParent(Form.get());
    Chart->SetBounds(10, 10, 320, 240);
    Chart->SetView3D(false);
    // The legend lists the values: it changes with every point, in a full repaint only.
    Chart->GetLegend()->SetVisible(false);
    Chart->GetBottomAxis()->SetMinMax(0, 100);
    Chart->GetLeftAxis()->SetMinMax(0, 100);
    Line = Create<TFastLineSeries>(Chart);
    Chart->AddSeries(Line);
    Line->SetSeriesColor(LineColor);
    Line->GetLinePen()->SetWidth(1);
    for (int X = 0; X <= 40; X += 10) Line->AddXY(X, 20);
    Line->AddXY(60, 70);
    Form->Show();
    Application->ProcessMessages();
    Chart->Invalidate();
    Chart->ProcessPendingPaint();
  }
  void TearDown() override { Form->Hide(); }

  std::unique_ptr<TBitmap> Shown() { return std::unique_ptr<TBitmap>(PresentedPicture(Chart)); }
  TPoint Pixel(double X, double Y) {
    return TPoint(Chart->GetBottomAxis()->CalcXPosValue(X), Chart->GetLeftAxis()->CalcYPosValue(Y));
  }

  TOwned<TForm> Form;
  TChart* Chart = nullptr;
  TFastLineSeries* Line = nullptr;
};

TEST_F(ShownChart, TheWindowShowsAPictureOfTheScreensOwnPixelsNotAStretchedOne) {
  const auto B = Shown();
  ASSERT_EQ(B->GetWidth(), 640);
  ASSERT_EQ(B->GetHeight(), 480);
  EXPECT_EQ(B->GetBitmapScale(), 2.0f);
  EXPECT_EQ(Chart->TControl::GetCanvas()->GetScale(), 2.0f) << "the control's canvas reports the ratio";
  // A picture doubled from one of half the size has every aligned 2 x 2 block of one colour.
  // Text and the slope are drawn at the device pixels: many blocks are not.
  int Mixed = 0;
  for (int Y = 0; Y + 1 < B->GetHeight(); Y += 2)
    for (int X = 0; X + 1 < B->GetWidth(); X += 2) {
      const TAlphaColor C = B->GetPixel(X, Y);
      Mixed += B->GetPixel(X + 1, Y) != C || B->GetPixel(X, Y + 1) != C || B->GetPixel(X + 1, Y + 1) != C;
    }
  EXPECT_GT(Mixed, 100);
}

TEST_F(ShownChart, AOnePixelLineIsTwoDevicePixelsOnTheRowsOfItsUnit) {
  const auto B = Shown();
  const TPoint P = Pixel(20, 20);
  // The flat stretch at row P.Y: device rows 2 P.Y and 2 P.Y + 1, nothing else in that column.
  EXPECT_EQ(RowsIn(*B, 2 * P.X, LineColor), (std::vector<int>{2 * P.Y, 2 * P.Y + 1}));
  EXPECT_EQ(RowsIn(*B, 2 * P.X + 1, LineColor), (std::vector<int>{2 * P.Y, 2 * P.Y + 1}));
  // Lines and the edges of the chart's parts lie on the device pixels of their units, as at
  // ratio 1: across the left axis (a pen of 2 units), its ticks, the wall and a grid line, and
  // across the bottom axis, every unit's two device pixels have the unit's colour at ratio 1.
  TBitmap One(320, 240);
  TCanvas* C = One.GetCanvas();
  C->BeginScene();
  Chart->Draw(C, TRectF(0, 0, 320, 240));
  C->EndScene();
  const int AxisX = Chart->GetLeftAxis()->GetPosAxis(), AxisY = Chart->GetBottomAxis()->GetPosAxis();
  const int Row = Pixel(0, 10).Y, Column = Pixel(50, 0).X;
  for (int X = AxisX - 8; X <= AxisX + 4; ++X)
    for (int D = 0; D < 2; ++D) {
      EXPECT_EQ(B->GetPixel(2 * X + D, 2 * Row), One.GetPixel(X, Row)) << "column " << X;
      EXPECT_EQ(B->GetPixel(2 * X + D, 2 * Row + 1), One.GetPixel(X, Row)) << "column " << X;
    }
  for (int Y = AxisY - 4; Y <= AxisY + 6; ++Y)
    for (int D = 0; D < 2; ++D) EXPECT_EQ(B->GetPixel(2 * Column, 2 * Y + D), One.GetPixel(Column, Y)) << "row " << Y;
}

TEST_F(ShownChart, AZoomDragAndAClickLandOnTheValuesTheyLandOnAtRatioOne) {
  // Units are the chart's pixels at any ratio: a drag from the pixel of (20, 80) to that of
  // (60, 30) zooms to those values.
  const TPoint A = Pixel(20, 80), Z = Pixel(60, 30);
  const double L = Chart->GetBottomAxis()->CalcPosPoint(A.X), R = Chart->GetBottomAxis()->CalcPosPoint(Z.X);
  const double T = Chart->GetLeftAxis()->CalcPosPoint(A.Y), Bt = Chart->GetLeftAxis()->CalcPosPoint(Z.Y);
  SimulateMouse(Chart, TSimMouseKind::Press, TMouseButton::mbLeft, {TShiftStateItem::ssLeft}, float(A.X), float(A.Y));
  SimulateMouse(Chart, TSimMouseKind::Move, TMouseButton::mbLeft, {TShiftStateItem::ssLeft}, float(Z.X), float(Z.Y));
  SimulateMouse(Chart, TSimMouseKind::Release, TMouseButton::mbLeft, {}, float(Z.X), float(Z.Y));
  ASSERT_TRUE(Chart->GetZoomed());
  EXPECT_NEAR(Chart->GetBottomAxis()->GetMinimum(), L, 1e-9);
  EXPECT_NEAR(Chart->GetBottomAxis()->GetMaximum(), R, 1e-9);
  EXPECT_NEAR(Chart->GetLeftAxis()->GetMinimum(), Bt, 1e-9);
  EXPECT_NEAR(Chart->GetLeftAxis()->GetMaximum(), T, 1e-9);
  // A click on the line's point lands on that point.
  Chart->UndoZoom();
  Chart->Invalidate();
  Chart->ProcessPendingPaint();
  std::int32_t Clicked = -1;
  Chart->OnClickSeries = [&](TCustomChart*, TChartSeries*, std::int32_t I, TMouseButton, TShiftState, std::int32_t,
                             std::int32_t) { Clicked = I; };
  const TPoint Point = Pixel(30, 20);
  SimulateClick(Chart, TMouseButton::mbLeft, float(Point.X), float(Point.Y));
  EXPECT_EQ(Clicked, 3);
}

TEST_F(ShownChart, APointDrawnInRealTimeIsWhatTheNextPaintDraws) {
  // The line as made and after a pixel column crowded with points (which the paint merges),
  // drawn through column strokes and as the merged polyline.
  for (bool Crowded : {false, true})
    for (TFastLineDrawStyle Style : {TFastLineDrawStyle::flSegments, TFastLineDrawStyle::flAll}) {
      SCOPED_TRACE(std::string(Crowded ? "crowded column" : "as made") + ", style " + std::to_string(int(Style)));
      Line->SetAutoRepaint(true);
      Line->Clear();
      for (int X = 0; X <= 40; X += 10) Line->AddXY(X, 20);
      for (int K = 0; Crowded && K < 60; ++K) Line->AddXY(60 + K * 0.004, 30 + (K * 3 % 9) * 6);
      Line->AddXY(60.25, 70);
      Line->SetDrawStyle(Style);
      Chart->Invalidate();
      Chart->ProcessPendingPaint();
      Line->SetAutoRepaint(false);
      const int Paints = Chart->GetPaintCount();
      Line->AddXY(80, 90);
      Chart->Present(TRectF());
      EXPECT_EQ(Chart->GetPaintCount(), Paints) << "drawn without a paint";
      const auto Immediate = Shown();
      ASSERT_EQ(Immediate->GetWidth(), 640);
      const TPoint P = Pixel(70, 80);
      bool Near = false;
      for (int DY = -3; DY <= 3; ++DY)
        for (int DX = -3; DX <= 3; ++DX) Near |= Immediate->GetPixel(2 * P.X + DX, 2 * P.Y + DY) == LineColor;
      EXPECT_TRUE(Near) << "the new segment reached the window";
      Chart->Invalidate();
      Chart->ProcessPendingPaint();
      EXPECT_GT(Chart->GetPaintCount(), Paints);
      EXPECT_EQ(Differences(*Immediate, *Shown()), 0);
    }
}

TEST_F(ShownChart, PicturesAProgramAsksForKeepTheChartsSizeUnlessAScaleIsAsked) {
  TOwned<TBitmap> Plain(Chart->ZelCreateBitmap());
  EXPECT_EQ(Plain->GetWidth(), 320);
  EXPECT_EQ(Plain->GetHeight(), 240);
  EXPECT_EQ(Plain->GetBitmapScale(), 1.0f);
  // The window rendered into a picture of its size is drawn at that picture's ratio, 1.
  TOwned<TBitmap> Rendered(PaintToBitmap(Chart));
  EXPECT_EQ(Differences(*Rendered, *Plain), 0);
  TOwned<TBitmap> Two(Chart->ZelCreateBitmap(0, Chart->GetClientRect(), 0, 2));
  EXPECT_EQ(Two->GetWidth(), 640);
  EXPECT_EQ(Two->GetHeight(), 480);
  EXPECT_EQ(Two->GetBitmapScale(), 2.0f);
  EXPECT_EQ(Two->GetDotsPerMeterX(), 7559) << "192 dots per inch: shown at the chart's size";
  // The asked picture is the window's picture.
  EXPECT_EQ(Differences(*Two, *Shown()), 0);
  // A file the same way.
  const std::string File = (std::filesystem::temp_directory_path() / "zel_scale_two.png").string();
  Chart->SaveToBitmapFile(File, Chart->GetClientRect(), 2);
  TBitmap Read;
  Read.LoadFromFile(File);
  std::filesystem::remove(File);
  EXPECT_EQ(Read.GetWidth(), 640);
  for (float Bad : {0.0f, -1.0f, NAN, INFINITY, 17.0f})
    EXPECT_THROW(TOwned<TBitmap>(Chart->ZelCreateBitmap(0, Chart->GetClientRect(), 0, Bad)),
                 EArgumentOutOfRangeException)
        << Bad;
}

// ---------------------------------------------------------------------------------------------
// Thin lines on a canvas of scale 2 and 1.5

class ThinLines : public ::testing::TestWithParam<float> {
 protected:
  // A bitmap of 100 x 60 units at the scale, cleared to white, its canvas with a 1-unit pen.
  void SetUp() override {
    S = GetParam();
    B.SetSize(ScaledPixels(100, S), ScaledPixels(60, S));
    B.SetBitmapScale(S);
    B.Clear(TAlphaColors::White);
    C = B.GetCanvas();
    C->GetStroke()->SetKind(TBrushKind::Solid);
    C->GetStroke()->SetColor(LineColor);
    C->GetStroke()->SetThickness(1);
    C->BeginScene();
  }
  void TearDown() override { C->EndScene(); }
  // The device pixel where unit V begins (a fill of that unit starts there).
  int Device(int V) const { return int(std::ceil(V * S - 0.5f)); }
  float S = 1;
  TBitmap B;
  TCanvas* C = nullptr;
};

TEST_P(ThinLines, LieOnTheirUnitsPixelsAndAreEquallyThick) {
  const int Wide = std::max(1, int(std::nearbyint(S)));
  C->DrawLine(TPointF(5, 10), TPointF(90, 10), 1);
  C->DrawLine(TPointF(5, 31.5f), TPointF(90, 31.5f), 1);  // a half unit: on the unit's pixels as at 1
  for (int X = Device(6); X < Device(89); ++X) {
    std::vector<int> Want;
    for (int K = 0; K < Wide; ++K) Want.push_back(Device(10) + K);
    for (int K = 0; K < Wide; ++K) Want.push_back(Device(31) + K);
    ASSERT_EQ(RowsIn(B, X, LineColor), Want) << "column " << X;
  }
  // A polyline going up and down in one column sets it from its lowest to its highest row.
  const std::vector<TPointF> Run{TPointF(2, 50), TPointF(2, 36), TPointF(2, 44), TPointF(3, 44)};
  C->DrawPolyline(Run.data(), Run.size(), 1);
  for (int Y = Device(36); Y < Device(50) + Wide; ++Y) EXPECT_EQ(B.GetPixel(Device(2), Y), LineColor) << "row " << Y;
}

TEST_P(ThinLines, WideLinesAlongRowsAndColumnsSetTheUnitsAScaleOnePictureSets) {
  // Pens of 2, 3 and 4 units through whole and half units, drawn at the scale and at 1: every
  // device pixel has the colour of its unit at 1. (At a fractional scale the edge of a unit
  // falls inside a device pixel, which the fill rule gives to one side or the other.)
  if (S != std::floor(S)) return;
  for (float Width : {2.0f, 3.0f, 4.0f})
    for (float At : {20.0f, 20.5f}) {
      TBitmap One(100, 60);
      One.Clear(TAlphaColors::White);
      B.Clear(TAlphaColors::White);
      for (TCanvas* K : {C, One.GetCanvas()}) {
        K->SetStroke(C->GetStroke());
        K->GetStroke()->SetThickness(Width);
        K->BeginScene();
        K->DrawLine(TPointF(At, 5), TPointF(At, 55), 1);
        K->DrawLine(TPointF(30, At + 10), TPointF(90, At + 10), 1);
        K->EndScene();
      }
      for (int Y = 0; Y < B.GetHeight(); ++Y)
        for (int X = 0; X < B.GetWidth(); ++X) {
          const int UX = int(std::floor((X + 0.5f) / S)), UY = int(std::floor((Y + 0.5f) / S));
          ASSERT_EQ(B.GetPixel(X, Y), One.GetPixel(UX, UY)) << "width " << Width << " at " << At << ", pixel " << X << ", " << Y;
        }
    }
}

TEST_P(ThinLines, AMergedPolylineDrawsWhatEveryPointDraws) {
  // Many points in each column at whole units (as series give them), with a break.
  std::mt19937 Rng(3);
  std::uniform_int_distribution<int> Y(5, 55);
  std::vector<TPointF> Points;
  for (int I = 0; I < 3000; ++I) Points.push_back(TPointF(float(2 + I / 33), float(Y(Rng))));
  Points[1500] = TPointF(NAN, NAN);
  C->DrawPolyline(Points.data(), Points.size(), 1);
  TBitmap Plain(B.GetWidth(), B.GetHeight());
  Plain.SetBitmapScale(S);
  Plain.Clear(TAlphaColors::White);
  TCanvas* P = Plain.GetCanvas();
  P->SetStroke(C->GetStroke());
  P->BeginScene();
  P->DrawPolylineUnreduced(Points.data(), Points.size(), 1);
  P->EndScene();
  ASSERT_TRUE(C->CanReducePolyline(1));
  EXPECT_EQ(Differences(B, Plain), 0);
  // A translucent line is blended once where its widened copies meet: one colour throughout.
  B.Clear(TAlphaColors::White);
  C->GetStroke()->SetColor(0x80FF0000);
  const std::vector<TPointF> Across{TPointF(5, 20), TPointF(95, 27)};
  C->DrawPolyline(Across.data(), Across.size(), 1);
  std::vector<TAlphaColor> Seen;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X)
      if (TAlphaColor P = B.GetPixel(X, Y); P != TAlphaColors::White && std::find(Seen.begin(), Seen.end(), P) == Seen.end())
        Seen.push_back(P);
  EXPECT_EQ(Seen.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Scale, ThinLines, ::testing::Values(2.0f, 1.5f, 3.0f));

// ---------------------------------------------------------------------------------------------
// The exact paths against their plain paths

constexpr int Width = 320, Height = 220;

// A chart painted into a picture at Scale with the same-pixel merging on or off.
std::unique_ptr<TBitmap> PaintAt(TChart* Chart, float Scale, bool Merge) {
  ZelMergeSamePixels = Merge;
  auto B = std::make_unique<TBitmap>(ScaledPixels(Width, Scale), ScaledPixels(Height, Scale));
  B->SetBitmapScale(Scale);
  TCanvas* C = B->GetCanvas();
  C->BeginScene();
  Chart->Draw(C, TRectF(0, 0, Width, Height));
  C->EndScene();
  ZelMergeSamePixels = true;
  return B;
}

// The fast line's polyline (each pixel column's first, lowest, highest and last handed to the
// canvas, which merges them again per device column) is compared with the fast line drawing
// every segment on its own, unmerged; the other paths with themselves, merging off.
enum class TPath { Pointers, Area, LineSegments, FastLinePolyline, FastLineStrokes, Stairs };

struct TExactCase {
  TPath Path;
  float Scale;
};

std::string CaseName(const ::testing::TestParamInfo<TExactCase>& I) {
  static const char* const Names[] = {"Pointers", "Area", "LineSegments", "FastLinePolyline", "FastLineStrokes", "Stairs"};
  return std::string(Names[int(I.param.Path)]) + (I.param.Scale == 2 ? "AtTwo" : I.param.Scale == 3 ? "AtThree" : "AtOneAndAHalf");
}

class ExactPaths : public ::testing::TestWithParam<TExactCase> {};

TEST_P(ExactPaths, DrawAtTheScaleWhatTheirPlainPathsDraw) {
  const TExactCase K = GetParam();
  TOwned<TChart> Chart(Create<TChart>(nullptr));
  Chart->SetBounds(0, 0, Width, Height);
  Chart->SetView3D(false);
  Chart->SetBufferedDisplay(false);
  Chart->GetLegend()->SetVisible(false);
  TChartSeries* S = nullptr;
  switch (K.Path) {
    case TPath::Pointers: S = Create<TCustomSeries>(Chart.get()); break;  // pointers alone
    case TPath::Area: S = Create<TAreaSeries>(Chart.get()); break;
    case TPath::LineSegments:
    case TPath::Stairs: {
      auto* L = Create<TCustomSeries>(Chart.get());
      L->GetPointer()->SetVisible(false);
      L->SetDrawLine(true);
      L->SetStairs(K.Path == TPath::Stairs);
      S = L;
      break;
    }
    case TPath::FastLinePolyline: {
      auto* F = Create<TFastLineSeries>(Chart.get());
      F->SetDrawStyle(TFastLineDrawStyle::flAll);
      S = F;
      break;
    }
    case TPath::FastLineStrokes: S = Create<TFastLineSeries>(Chart.get()); break;
  }
  Chart->AddSeries(S);
  S->SetSeriesColor(LineColor);
  // Many points in each pixel column, some on one pixel one after another.
  std::mt19937 Rng(7);
  std::normal_distribution<double> Noise(0, 3);
  const int N = K.Path == TPath::Pointers ? 1500 : 4000;
  S->BeginUpdate();
  for (int I = 0; I < N; ++I) {
    const double Y = 50 + 30 * std::sin(I * 9.0 / N) + Noise(Rng);
    S->AddXY(I, I % 4 ? std::round(Y / 2) * 2 : Y);
  }
  S->EndUpdate();
  const auto Merged = PaintAt(Chart.get(), K.Scale, true);
  if (K.Path == TPath::FastLinePolyline) {
    auto* F = static_cast<TFastLineSeries*>(S);
    EXPECT_LT(F->GetPolylinePoints().size(), std::size_t(N / 4)) << "the columns were merged";
    F->SetDrawStyle(TFastLineDrawStyle::flSegments);
  }
  const auto Plain = PaintAt(Chart.get(), K.Scale, false);
  S->SetActive(false);
  EXPECT_GT(Differences(*Merged, *PaintAt(Chart.get(), K.Scale, true)), 200) << "the series drew";
  EXPECT_EQ(Differences(*Merged, *Plain), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scale, ExactPaths,
    ::testing::Values(TExactCase{TPath::Pointers, 2}, TExactCase{TPath::Area, 2}, TExactCase{TPath::LineSegments, 2},
                      TExactCase{TPath::FastLinePolyline, 2}, TExactCase{TPath::FastLineStrokes, 2},
                      TExactCase{TPath::Stairs, 2}, TExactCase{TPath::Pointers, 1.5f},
                      TExactCase{TPath::Area, 1.5f}, TExactCase{TPath::LineSegments, 1.5f},
                      TExactCase{TPath::FastLinePolyline, 1.5f}, TExactCase{TPath::FastLineStrokes, 1.5f},
                      TExactCase{TPath::Stairs, 1.5f}, TExactCase{TPath::FastLinePolyline, 3},
                      TExactCase{TPath::FastLineStrokes, 3}),
    CaseName);

// ---------------------------------------------------------------------------------------------
// A picture kept from the last paint is shown again only on a destination of its scale: on a
// screen of another ratio the chart draws again.

TEST(KeptPicture, IsShownAgainOnlyAtTheScaleItWasMadeAt) {
  TOwned<TChart> Chart(Create<TChart>(nullptr));
  Chart->SetBounds(0, 0, 300, 200);
  auto* Canvas = dynamic_cast<TZelCanvas3D*>(Chart->GetCanvas());
  ASSERT_NE(Canvas, nullptr);
  TBitmap One(300, 200), Two(600, 400);
  Two.SetBitmapScale(2);
  Chart->Draw(One.GetCanvas(), TRectF(0, 0, 300, 200));
  ASSERT_FALSE(Canvas->GetDirty());
  Canvas->SetCanvas(Two.GetCanvas());
  EXPECT_FALSE(Canvas->ReDrawBitmap());
  Canvas->SetCanvas(One.GetCanvas());
  EXPECT_TRUE(Canvas->ReDrawBitmap());
  // Drawn at 2, the picture is 600 x 400 at scale 2, shown back at 300 x 200.
  Chart->Draw(Two.GetCanvas(), TRectF(0, 0, 300, 200));
  EXPECT_EQ(Canvas->GetBitmap()->GetWidth(), 600);
  EXPECT_EQ(Canvas->GetBitmap()->GetBitmapScale(), 2.0f);
  Canvas->SetCanvas(nullptr);
}

// ---------------------------------------------------------------------------------------------
// A fractional scale: the chart's picture reaches every edge of the control's.

TEST(FractionalScale, TheBufferedPictureCoversTheDestinationsEdges) {
  for (float S : {1.25f, 1.5f, 1.75f}) {
    for (int W : {301, 303, 320}) {
      TOwned<TChart> Chart(Create<TChart>(nullptr));
      Chart->SetBounds(0, 0, float(W), 201);
      Chart->SetColor(0xFF102030);
      TBitmap Dest(ScaledPixels(float(W), S), ScaledPixels(201, S));
      Dest.SetBitmapScale(S);
      TCanvas* C = Dest.GetCanvas();
      C->BeginScene();
      Chart->Draw(C, TRectF(0, 0, float(W), 201));
      C->EndScene();
      for (int Y = 0; Y < Dest.GetHeight(); ++Y)
        ASSERT_NE(Dest.GetPixel(Dest.GetWidth() - 1, Y), 0u) << S << " " << W << " row " << Y;
      for (int X = 0; X < Dest.GetWidth(); ++X)
        ASSERT_NE(Dest.GetPixel(X, Dest.GetHeight() - 1), 0u) << S << " " << W << " column " << X;
    }
  }
}

}  // namespace
}  // namespace zel::hidpi
