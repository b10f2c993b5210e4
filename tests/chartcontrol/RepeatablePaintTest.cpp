// A chart paints the same pixels every time: its first paint as later ones, and after a program
// looked at its parts (which makes those created on first use). A chart read back is compared by
// its pixels, so any state one paint leaves for the next, or any part only looked at that draws,
// would make stored charts come back otherwise.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/PageNumber.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/PublishedWalk.h"
#include "tests/support/RandomChart.h"

namespace zel::testing {
namespace {

TOwned<TBitmap> FreshPaint(TChart* C) {
  C->Invalidate();
  return TOwned<TBitmap>(PaintToBitmap(C));
}

::testing::AssertionResult SamePixels(const TBitmap& A, const TBitmap& B) {
  if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight())
    return ::testing::AssertionFailure() << "bitmaps of different sizes";
  int Differ = 0, FX = 0, FY = 0;
  for (int Y = 0; Y < A.GetHeight(); ++Y)
    for (int X = 0; X < A.GetWidth(); ++X)
      if (A.GetPixel(X, Y) != B.GetPixel(X, Y) && Differ++ == 0) {
        FX = X;
        FY = Y;
      }
  if (Differ == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Differ << " pixels differ, the first at (" << FX << ", " << FY << ")";
}

// Each case builds a chart that is painted for the first time, then again; Look, when given, is
// what a program looks at before the last paint.
TEST(RepeatablePaint, TheFirstPaintIsLikeTheNextAndLookingChangesNothing) {
  struct TCase {
    const char* Name;
    std::function<void(TChart*)> Build;
    std::function<void(TChart*)> Look;
  };
  const std::vector<TCase> Cases = {
      // The axis shape's band took the margins the last label drawn had left (none at first).
      {"an axis shape behind boxed labels",
       [](TChart* C) {
         TChartAxis* Bottom = C->GetBottomAxis();
         Bottom->GetLabelsFormat()->SetTransparent(false);
         Bottom->GetShape()->SetVisible(true);
       },
       nullptr},
      // Rounded ends of an axis showing dates stepped by numbers until a layout said dates.
      {"rounded ends of an axis of dates",
       [](TChart* C) {
         auto* S = static_cast<TChartSeries*>(C->GetSeries(0));
         S->GetXValues()->SetDateTime(true);
         C->GetBottomAxis()->SetMaximumRound(true);
         S->GetYValues()->SetDateTime(true);
         C->GetLeftAxis()->SetMinimumRound(true);
       },
       nullptr},
      // The ends were rounded with the axis length of the paint before (none on the first).
      {"rounded axis ends",
       [](TChart* C) {
         C->GetBottomAxis()->SetMaximumRound(true);
         C->GetBottomAxis()->SetMinimumRound(true);
         C->GetLeftAxis()->SetMaximumRound(true);
       },
       nullptr},
      // The box was measured with the 3D text zoom until its first drawing said it was flat.
      {"annotation on a zoomed view",
       [](TChart* C) {
         C->GetView3DOptions()->SetZoom(40);
         AddToChart<TAnnotationTool>(C, "Note")->SetText("Some note");
       },
       nullptr},
      // A pen filled by kind "gradient" took the gradient the last gradient pen left.
      {"ticks of a gradient kind after a band line with a gradient",
       [](TChart* C) {
         TChartAxis* Left = C->GetLeftAxis();
         Left->GetTicks()->GetPenBrush()->SetKind(TBrushKind::Gradient);
         Left->GetTicks()->SetWidth(3);
         auto* Band = AddToChart<TColorBandTool>(C, "Band");
         Band->SetAxis(C->GetBottomAxis());
         Band->SetStartValue(2);
         Band->SetEndValue(4);
         TZelPen* Line = Band->GetStartLinePen();
         Line->SetWidth(4);
         TZelGradient* G = Line->GetPenBrush()->GetGradient();
         G->SetStartColor(0xFFFF0000);
         G->SetEndColor(0xFF00FF00);
         G->SetVisible(true);
       },
       nullptr},
      // Glyphs of 64 pixels and more were placed otherwise the first time they were drawn.
      {"labels of 71.3 pixels",
       [](TChart* C) { C->GetBottomAxis()->GetLabelsFont()->SetSizeFloat(71.3f); }, nullptr},
      // A back colour that lets the window show through was laid on the last paint.
      {"a see-through chart colour", [](TChart* C) { C->SetColor(0x9D1A4F3A); }, nullptr},
      // The page box placed in percent of the chart was moved to its pixels by each paint.
      {"page numbers placed in percent",
       [](TChart* C) {
         auto* Pages = AddToChart<TPageNumTool>(C, "Pages");
         Pages->SetPositionUnits(TZelUnits::muPercent);
         Pages->GetShape()->SetCustomPosition(true);
         Pages->GetShape()->SetLeft(30);
         Pages->GetShape()->SetTop(40);
       },
       nullptr},
      // Looking at the marks' arrow made the callout, whose arrows then appeared.
      {"a fast line's marks whose arrow is looked at",
       [](TChart* C) {
         auto* Line = AddToChart<TFastLineSeries>(C, "Line");
         for (int I = 0; I < 5; ++I) Line->AddXY(1 + I * 1.5, 4 + I);
         Line->GetMarks()->SetVisible(true);
       },
       [](TChart* C) { C->GetSeries(1)->GetMarks()->GetArrow(); }},
      // An image made empty on first use took the shading off the wall's sides.
      {"the bottom wall's image looked at", [](TChart* C) { C->GetBottomWall()->SetSize(12); },
       [](TChart* C) { C->GetBottomWall()->GetBrush()->GetImage(); }},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TOwned<TForm> Form(TForm::CreateNew(nullptr));
    TChart* C = Create<TChart>(Form.get());
    C->SetParent(Form.get());
    C->SetBounds(0, 0, 320, 240);
    auto* S = AddToChart<TAreaSeries>(C, "Series1");
    for (int I = 0; I < 8; ++I) S->AddXY(0.3 + I * 1.1, 2.7 + I * 3 % 7, "P" + std::to_string(I));
    Case.Build(C);
    const TOwned<TBitmap> First(PaintToBitmap(C));
    EXPECT_TRUE(SamePixels(*First, *FreshPaint(C)));
    if (Case.Look) {
      Case.Look(C);
      EXPECT_TRUE(SamePixels(*First, *FreshPaint(C))) << "after looking";
    }
  }
}

// Random charts (every series kind, function and tool, a few percent of all values set at
// random) paint the same the first time and again, and after every part was looked at.
TEST(RepeatablePaint, RandomChartsPaintTheSameAgainAndWhenLookedAt) {
  const TSeedRange Range = RandomSeeds(1, 40);
  for (std::uint32_t Seed = Range.First; Seed < Range.First + Range.Count; ++Seed) {
    SCOPED_TRACE(Seed);
    TRandomChart A = MakeRandomChart(Seed, 40, 320, 240);
    TOwned<TForm> AForm(A.Form);
    // The monitor shows the time between paints.
    for (std::int32_t I = A.Chart->GetTools()->GetCount() - 1; I >= 0; --I)
      if (dynamic_cast<TRepaintMonitor*>(A.Chart->GetTools()->Get(I))) delete A.Chart->GetTools()->Get(I);
    const TOwned<TBitmap> First(PaintToBitmap(A.Chart));
    EXPECT_TRUE(SamePixels(*First, *FreshPaint(A.Chart)));
    WalkTree(A.Chart, nullptr, false);
    EXPECT_TRUE(SamePixels(*First, *FreshPaint(A.Chart))) << "after every part was looked at";
  }
}

}  // namespace
}  // namespace zel::testing
