// What the bitmap canvas and the paths keep from one shape for the next: the widths of texts
// measured, the Qt fonts, the buffers of the paths, and the turns of arcs. Each must give what
// doing the work again gives: the same widths, the same points, the same pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/PainterCanvas.h"

using namespace zel;

namespace {

// A change of the canvas font; each must make the canvas measure a text again.
struct TFontChange {
  const char* Name;
  std::function<void(TFont&)> Apply;
};

const TFontChange FontChanges[] = {
    {"size", [](TFont& F) { F.SetSize(F.GetSize() + 6); }},
    {"size by a fraction", [](TFont& F) { F.SetSize(F.GetSize() + 0.25f); }},
    {"family", [](TFont& F) { F.SetFamily(F.GetFamily() == "DejaVu Serif" ? "DejaVu Sans Mono" : "DejaVu Serif"); }},
    {"bold", [](TFont& F) { F.SetStyle({TFontStyle::fsBold}); }},
    {"italic", [](TFont& F) { F.SetStyle({TFontStyle::fsItalic}); }},
    {"underline", [](TFont& F) { F.SetStyle({TFontStyle::fsUnderline}); }},
};

// The width of Text in Font, measured afresh: by a new layout of the canvas (the canvas' own
// layout keeps its width while its font and text stay), with no kept width or metrics.
float AfreshWidth(TCanvas* C, const TFont& Font, const String& Text) {
  TUncachedTextMeasures Uncached;
  std::unique_ptr<TTextLayout> Layout = C->CreateTextLayout();
  Layout->SetFont(&Font);
  Layout->SetText(Text);
  return Layout->GetTextWidth();
}

TEST(KeptTextWidths, AFontChangeMeasuresTheSameTextAgain) {
  TBitmap B(200, 60);
  TCanvas* C = B.GetCanvas();
  const String Text = "Mark 1234.5";
  for (const TFontChange& Change : FontChanges) {
    TFont Base;
    Base.SetFamily("DejaVu Sans");
    Base.SetSize(11);
    C->SetFont(&Base);
    const float BaseWidth = C->TextWidth(Text);
    const std::int64_t Before = C->GetMeasureCount();
    // The same text in the same font, through another layout: the width is kept.
    C->FillText({0, 0, 200, 60}, Text, false, 1, {}, TTextAlign::Leading, TTextAlign::Leading);
    EXPECT_EQ(C->GetMeasureCount(), Before) << Change.Name;

    TFont Changed;
    Changed.Assign(&Base);
    Change.Apply(Changed);
    C->SetFont(&Changed);
    const float ChangedWidth = C->TextWidth(Text);
    EXPECT_EQ(C->GetMeasureCount(), Before + 1) << Change.Name << ": measured again";
    EXPECT_EQ(ChangedWidth, AfreshWidth(C, Changed, Text)) << Change.Name;
    // Drawing it in the changed font takes the changed width (the fresh measure counts too).
    const std::int64_t Measured = C->GetMeasureCount();
    C->FillText({0, 0, 200, 60}, Text, false, 1, {}, TTextAlign::Leading, TTextAlign::Leading);
    EXPECT_EQ(C->GetMeasureCount(), Measured) << Change.Name;

    C->SetFont(&Base);
    EXPECT_EQ(C->TextWidth(Text), BaseWidth) << Change.Name << ": back to the first font";
  }
}

TEST(KeptTextWidths, TheWidthsOfManyTextsStayRight) {
  // More texts than the canvas keeps, in two fonts, asked in a mixed order several times.
  TBitmap B(100, 40);
  TCanvas* C = B.GetCanvas();
  TFont Small, Large;
  Small.SetSize(9);
  Large.SetSize(17);
  Large.SetStyle({TFontStyle::fsBold});
  std::vector<String> Texts;
  for (int I = 0; I < 40; ++I) Texts.push_back(std::to_string(I * 7919 % 1000) + (I % 3 ? "" : " W"));
  std::vector<float> SmallWidths, LargeWidths;
  for (const String& T : Texts) {
    SmallWidths.push_back(AfreshWidth(C, Small, T));
    LargeWidths.push_back(AfreshWidth(C, Large, T));
  }
  for (int Round = 0; Round < 3; ++Round)
    for (std::size_t K = 0; K < Texts.size(); ++K) {
      const std::size_t I = (K * 13 + std::size_t(Round)) % Texts.size();
      const bool UseLarge = (K + std::size_t(Round)) % 2 == 0;
      C->SetFont(UseLarge ? &Large : &Small);
      EXPECT_EQ(C->TextWidth(Texts[I]), UseLarge ? LargeWidths[I] : SmallWidths[I]) << Texts[I];
    }
}

// Pixels of a bitmap.
std::vector<TAlphaColor> PixelsOf(const TBitmap& B) {
  std::vector<TAlphaColor> P;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X) P.push_back(B.GetPixel(X, Y));
  return P;
}

// Draws shape K of a varied set on C: rounded boxes filled and framed (as marks are), boxes
// with a gradient fill (as a mark's shadow), paths, ellipses, arcs and texts in several fonts.
void DrawShape(TCanvas* C, int K) {
  const float X = float(7 + (K * 37) % 260), Y = float(5 + (K * 23) % 170);
  const float W = float(18 + (K * 11) % 40), H = float(12 + (K * 5) % 18);
  const TRectF R(X, Y, X + W, Y + H);
  C->SetAntialiasing(K % 3 != 0);
  C->GetFill()->SetKind(TBrushKind::Solid);
  C->GetFill()->SetColor(MakeColor(Byte(40 + K * 13), Byte(200 - K * 7), Byte(90 + K * 3), 0xFF));
  C->GetStroke()->SetColor(TAlphaColors::Black);
  C->GetStroke()->SetThickness(float(1 + K % 2));
  TFont F;
  F.SetSize(float(8 + K % 7));
  F.SetFamily(K % 4 == 0 ? "DejaVu Serif" : "DejaVu Sans");
  if (K % 5 == 0) F.SetStyle({TFontStyle::fsBold});
  C->SetFont(&F);
  const float Radius = float(K % 4 + 1);
  switch (K % 6) {
    case 0:
    case 1:
      C->FillRect(R, Radius, Radius, AllCorners, 1);
      C->DrawRect(R, Radius, Radius, AllCorners, 1);
      break;
    case 2: {
      TPathData P;
      P.AddRectangle(R, 4, 4);
      TGradientPoints& Stops = C->GetFill()->GetGradient()->GetPoints();
      Stops.Clear();
      Stops.Add(0, 0);
      Stops.Add(0xFF404040, 0.1f);
      Stops.Add(0xFF404040, 1.0f);
      C->GetFill()->SetKind(TBrushKind::Gradient);
      C->FillPath(P, 0.7f);
      break;
    }
    case 3:
      C->FillEllipse(R, 1);
      C->DrawArc(R.CenterPoint(), {W / 2, H / 2}, float(K * 17), 200, 1);
      break;
    case 4: {
      TPathData P;
      P.MoveTo({X, Y});
      P.LineTo({X + W, Y + H / 2});
      P.CurveTo({X + W / 2, Y + H}, {X, Y + H}, {X, Y + H / 3});
      P.ClosePath();
      C->FillPath(P, 1);
      C->DrawPath(P, 1);
      break;
    }
    case 5:
      C->GetFill()->SetColor(TAlphaColors::Black);
      C->FillText(R, "Text " + std::to_string(K) + (K % 4 == 1 ? "\nline" : ""), false, 1, {},
                  TTextAlign::Leading, TTextAlign::Leading);
      break;
  }
}

TEST(KeptCanvasWork, ShapesDrawnOneAfterAnotherMatchEachDrawnOnAFreshCanvas) {
  constexpr int Shapes = 72;
  TBitmap Kept(320, 200), Afresh(320, 200);
  Kept.Clear(TAlphaColors::White);
  Afresh.Clear(TAlphaColors::White);
  TCanvas* C = Kept.GetCanvas();
  for (int K = 0; K < Shapes; ++K) DrawShape(C, K);
  SuspendCanvas(C);
  {
    TUncachedTextMeasures Uncached;
    for (int K = 0; K < Shapes; ++K) {
      std::unique_ptr<TCanvas> Fresh = CreateBitmapCanvas(&Afresh);
      DrawShape(Fresh.get(), K);
    }
  }
  const std::vector<TAlphaColor> A = PixelsOf(Kept), B = PixelsOf(Afresh);
  std::size_t Differ = 0;
  for (std::size_t I = 0; I < A.size(); ++I) Differ += A[I] != B[I];
  EXPECT_EQ(Differ, 0u);
  EXPECT_GT(std::count(A.begin(), A.end(), TAlphaColors::White), 0);
}

// An arc made as the path made it before the turns were kept: every sine and cosine worked out
// where it is used.
std::vector<TPathPoint> ArcAsWorkedOut(TPointF Center, TPointF Radius, float StartAngle, float SweepAngle) {
  TPathData P;
  constexpr double DegToRad = std::numbers::pi / 180;
  double A0 = StartAngle * DegToRad;
  double Sweep = std::clamp(double(SweepAngle), -360.0, 360.0) * DegToRad;
  auto At = [&](double A) {
    return TPointF{float(Center.X + Radius.X * std::cos(A)), float(Center.Y + Radius.Y * std::sin(A))};
  };
  P.MoveTo(At(A0));
  int Segments = std::max(1, int(std::ceil(std::fabs(Sweep) / (std::numbers::pi / 2) - 1e-9)));
  double Step = Sweep / Segments;
  double K = 4.0 / 3.0 * std::tan(Step / 4);
  for (int i = 0; i < Segments; ++i) {
    double T0 = A0 + Step * i, T1 = T0 + Step;
    double C0 = std::cos(T0), S0 = std::sin(T0), C1 = std::cos(T1), S1 = std::sin(T1);
    TPointF P1{float(Center.X + Radius.X * (C0 - K * S0)), float(Center.Y + Radius.Y * (S0 + K * C0))};
    TPointF P2{float(Center.X + Radius.X * (C1 + K * S1)), float(Center.Y + Radius.Y * (S1 - K * C1))};
    P.CurveTo(P1, P2, At(T1));
  }
  return P.GetPoints();
}

TEST(KeptArcTurns, ArcsAreMadeOfTheSamePointsWhateverWasMadeBefore) {
  struct TArc {
    TPointF Center, Radius;
    float Start, Sweep;
  };
  // More start and sweep pairs than are kept, some again after others pushed them out, pairs
  // that share a start or a sweep, negative, whole-turn, over-turn and odd angles.
  std::vector<TArc> Arcs;
  const float Starts[] = {180, 270, 0, 90, -0.0f, 33.3f, -45, 1e-7f, 359.99f};
  const float Sweeps[] = {90, -90, 360, 720, -400, 10.5f, 180.000015f, 0.001f};
  for (int Pass = 0; Pass < 2; ++Pass)
    for (float S : Starts)
      for (float W : Sweeps)
        Arcs.push_back({{100.5f + S, -20.25f}, {12.5f + W * 0.01f, 3.75f}, S, W});
  for (const TArc& A : Arcs) {
    TPathData P;
    P.AddArc(A.Center, A.Radius, A.Start, A.Sweep);
    const std::vector<TPathPoint> Expected = ArcAsWorkedOut(A.Center, A.Radius, A.Start, A.Sweep);
    ASSERT_EQ(P.GetPoints().size(), Expected.size()) << A.Start << " " << A.Sweep;
    for (std::size_t I = 0; I < Expected.size(); ++I) {
      EXPECT_EQ(P.GetPoints()[I].Kind, Expected[I].Kind);
      EXPECT_EQ(P.GetPoints()[I].Point.X, Expected[I].Point.X) << A.Start << " " << A.Sweep << " #" << I;
      EXPECT_EQ(P.GetPoints()[I].Point.Y, Expected[I].Point.Y) << A.Start << " " << A.Sweep << " #" << I;
    }
  }
}

}  // namespace
