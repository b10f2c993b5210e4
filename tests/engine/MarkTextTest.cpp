// Marks draw the same pixels whether the canvas measures each text once and keeps its width or
// measures it afresh at every use (as it did before widths were kept), and each mark's text is
// measured once per paint.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/PainterCanvas.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/series/Series.h"

namespace zel::marktext {
namespace {

constexpr int Width = 420, Height = 300;

// A chart of two line series with the same values, so that each mark text of the first
// appears again in the second (whose marks may have another font).
struct TScene {
  TChart* Chart = Create<TChart>(nullptr);
  TCustomSeries* First = Create<TCustomSeries>(nullptr);
  TCustomSeries* Second = Create<TCustomSeries>(nullptr);
  explicit TScene(std::int32_t Count = 8) {
    Chart->SetBounds(0, 0, Width, Height);
    for (TCustomSeries* S : {First, Second}) {
      Chart->AddSeries(S);
      for (std::int32_t I = 0; I < Count; ++I) S->AddXY(I, 100 + 37.25 * I - 3.5 * I * I);
      S->GetMarks()->SetVisible(true);
    }
    Second->SetSeriesColor(0xFF20A040);
  }
  ~TScene() { Chart->Free(); }
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;
};

std::vector<TAlphaColor> Paint(TChart* Chart) {
  TBitmap B(Width, Height);
  TCanvas* C = B.GetCanvas();
  C->BeginScene();
  Chart->Draw(C, TRectF(0, 0, Width, Height));
  C->EndScene();
  std::vector<TAlphaColor> Pixels;
  TBitmapData D;
  if (!B.Map(TMapAccess::Read, D)) return Pixels;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) Pixels.push_back(D.GetPixel(X, Y));
  B.Unmap(D);
  return Pixels;
}

std::size_t Differ(const std::vector<TAlphaColor>& A, const std::vector<TAlphaColor>& B) {
  if (A.size() != B.size()) return std::size_t(-1);
  std::size_t N = 0;
  for (std::size_t I = 0; I < A.size(); ++I) N += A[I] != B[I];
  return N;
}

TEST(MarkText, KeptWidthsDrawThePixelsOfWidthsMeasuredAfresh) {
  struct TLook {
    const char* Name;
    std::function<void(TScene&)> Set;
  };
  const TLook Looks[] = {
      {"as made", [](TScene&) {}},
      {"second series' marks in a larger bold font", [](TScene& S) {
         S.Second->GetMarks()->GetFont()->SetSizeFloat(15);
         S.Second->GetMarks()->GetFont()->SetStyle({TFontStyle::fsBold});
       }},
      {"second series' marks in another family, italic", [](TScene& S) {
         S.Second->GetMarks()->GetFont()->SetName("DejaVu Serif");
         S.Second->GetMarks()->GetFont()->SetStyle({TFontStyle::fsItalic});
       }},
      {"second series' marks a fraction of a point larger", [](TScene& S) {
         S.Second->GetMarks()->GetFont()->SetSizeFloat(S.First->GetMarks()->GetFont()->GetSizeFloat() + 0.5f);
       }},
      {"turned marks", [](TScene& S) {
         S.First->GetMarks()->SetAngle(45);
         S.Second->GetMarks()->SetAngle(90);
       }},
      {"texts of two lines", [](TScene& S) {
         for (TCustomSeries* L : {S.First, S.Second}) {
           L->GetMarks()->SetMultiLine(true);
           L->OnGetMarkText = [](TChartSeries*, std::int32_t I, String& T) {
             T = "Point " + std::to_string(I) + "\r\n" + T;
           };
         }
         S.Second->GetMarks()->GetFont()->SetSizeFloat(12);
       }},
      {"right-aligned texts of lines of different lengths", [](TScene& S) {
         for (TCustomSeries* L : {S.First, S.Second}) {
           L->GetMarks()->SetMultiLine(true);
           L->GetMarks()->SetTextAlign(TAlignment::taRightJustify);
           L->OnGetMarkText = [](TChartSeries*, std::int32_t I, String& T) {
             T = std::string(std::size_t(I % 4 + 1), 'W') + "\n" + T + "\nend";
           };
         }
       }},
      {"texts beyond ASCII", [](TScene& S) {
         for (TCustomSeries* L : {S.First, S.Second})
           L->OnGetMarkText = [](TChartSeries*, std::int32_t I, String& T) {
             T = "\xCE\xA9\xCE\xBC " + std::to_string(I) + " \xE2\x82\xAC";  // Greek letters, euro
           };
       }},
      {"font shadow and mark shadow", [](TScene& S) {
         TZelShadow* F = S.First->GetMarks()->GetFont()->GetShadow();
         F->SetVisible(true);
         F->SetHorizSize(2);
         F->SetVertSize(1);
         S.Second->GetMarks()->GetShadow()->SetSize(4);
       }},
      {"same texts everywhere, fonts alternating by series", [](TScene& S) {
         for (TCustomSeries* L : {S.First, S.Second})
           L->OnGetMarkText = [](TChartSeries*, std::int32_t, String& T) { T = "same"; };
         S.Second->GetMarks()->GetFont()->SetSizeFloat(20);
       }},
      {"same texts everywhere, the second series' marks bold alone", [](TScene& S) {
         for (TCustomSeries* L : {S.First, S.Second})
           L->OnGetMarkText = [](TChartSeries*, std::int32_t, String& T) { T = "same width?"; };
         S.Second->GetMarks()->GetFont()->SetStyle({TFontStyle::fsBold});
       }},
  };
  for (bool View3D : {false, true})
    for (bool Buffered : {false, true})
      for (const TLook& L : Looks) {
        TScene S;
        S.Chart->SetView3D(View3D);
        S.Chart->SetBufferedDisplay(Buffered);
        L.Set(S);
        std::vector<TAlphaColor> Afresh;
        {
          TUncachedTextMeasures Uncached;
          Afresh = Paint(S.Chart);
        }
        // The second paint of a buffered chart measures on the canvas the first kept.
        const std::vector<TAlphaColor> Kept = Paint(S.Chart), KeptAgain = Paint(S.Chart);
        const std::string Name = std::string(L.Name) + (View3D ? ", 3D" : ", 2D") +
                                 (Buffered ? ", buffered" : ", unbuffered");
        EXPECT_EQ(Differ(Kept, Afresh), 0u) << Name;
        EXPECT_EQ(Differ(KeptAgain, Afresh), 0u) << Name << ", painted again";
      }
}

// The lines of text the bitmap's canvas measured while an unbuffered chart drew on it.
std::int64_t MeasuresOfPaint(TChart* Chart) {
  TBitmap B(Width, Height);
  TCanvas* C = B.GetCanvas();
  C->BeginScene();
  Chart->Draw(C, TRectF(0, 0, Width, Height));
  C->EndScene();
  return C->GetMeasureCount();
}

TEST(MarkText, EachMarkTextIsMeasuredOncePerPaint) {
  // Every mark or every other one: the axes, the legend and the rest of the chart are the same,
  // so the difference is what the extra marks measure. Their texts all differ.
  constexpr std::int32_t Count = 200;
  TScene S(Count);
  S.Chart->SetBufferedDisplay(false);
  S.Second->SetActive(false);
  S.First->GetMarks()->SetDrawEvery(1);
  const std::int64_t Every = MeasuresOfPaint(S.Chart);
  S.First->GetMarks()->SetDrawEvery(2);
  const std::int64_t Half = MeasuresOfPaint(S.Chart);
  EXPECT_EQ(Every - Half, Count / 2);
}

}  // namespace
}  // namespace zel::marktext
