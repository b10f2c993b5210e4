// Points far off a very narrow axis (equal ends given to SetMinMax, a deep zoom) and data near
// the largest double: what is drawn for them (pointers, marks, segments, areas) stays off the
// chart or where it belongs, and every sum of their pixels stays defined (the test build stops
// at the first signed overflow).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/lines/LinesFixture.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Pointer.h"

namespace zel::lines {
namespace {

constexpr TAlphaColor MarkColor = 0xFF22AA33;

// A line series with its line and pointers drawn.
class TPointedLine : public TCustomSeries {
 public:
  explicit TPointedLine(TComponent* AOwner) : TCustomSeries(AOwner) {
    FDrawLine = true;
    FPointer->SetVisible(true);
  }
};

class FarPixels : public LinesFixture {
 protected:
  // True when a filled or framed shape in Color reaches into the
  // chart rectangle with more than Size pixels on a side (a pointer or mark box pulled across the
  // chart by an overflowing sum).
  bool BigShapeInChart(TAlphaColor Color, float Size) const {
    const TRectF C = Chart->GetChartRect();
    for (const TCanvasRecord& R : Canvas->GetRecords()) {
      if (R.Color != Color) continue;
      TRectF B;
      switch (R.Kind) {
        case TRecordKind::FillRect:
        case TRecordKind::DrawRect:
        case TRecordKind::FillEllipse:
        case TRecordKind::DrawEllipse:
          B = R.Rect;
          break;
        case TRecordKind::FillPolygon:
        case TRecordKind::DrawPolygon:
          if (R.Points.empty()) continue;
          B = TRectF(R.Points[0].X, R.Points[0].Y, R.Points[0].X, R.Points[0].Y);
          for (const TPointF& P : R.Points) {
            B.Left = std::min(B.Left, P.X);
            B.Right = std::max(B.Right, P.X);
            B.Top = std::min(B.Top, P.Y);
            B.Bottom = std::max(B.Bottom, P.Y);
          }
          break;
        default:
          continue;
      }
      const bool Inside = B.Right >= C.Left && B.Left <= C.Right && B.Bottom >= C.Top && B.Top <= C.Bottom;
      if (Inside && (std::fabs(B.Right - B.Left) > Size || std::fabs(B.Bottom - B.Top) > Size)) return true;
    }
    return false;
  }
};

TEST_F(FarPixels, PointsFarOffANarrowAxisDrawNothingAcrossTheChart) {
  // The narrow axis holds only the middle point; the others map to the pixel limit.
  struct TCase {
    const char* Name;
    bool Horizontal, Inverted, View3D;
    double Min, Max;
  };
  const TCase Cases[] = {
      {"equal ends, vertical", false, false, false, 5, 5},
      {"equal ends, vertical, inverted", false, true, false, 5, 5},
      {"equal ends, horizontal", true, false, false, 5, 5},
      {"deep zoom, horizontal, inverted", true, true, false, 5, 5 + 1e-9},
      {"deep zoom, vertical", false, false, false, 5, 5 + 1e-9},
      {"equal ends, 3D", false, false, true, 5, 5},
  };
  const TSeriesPointerStyle Styles[] = {TSeriesPointerStyle::psRectangle, TSeriesPointerStyle::psTriangle,
                                        TSeriesPointerStyle::psCircle, TSeriesPointerStyle::psDiamond};
  for (const TCase& C : Cases) {
    for (TSeriesPointerStyle Style : Styles) {
      SCOPED_TRACE(::testing::Message() << C.Name << ", style " << int(Style));
      Chart->SetView3D(C.View3D);
      const std::vector<double> Far = {-1e6, 5, 1e6}, Across = {20, 50, 80};
      auto* S = C.Horizontal ? Add<TPointedLine>(Far, Across) : Add<TPointedLine>(Across, Far);
      S->GetPointer()->SetStyle(Style);
      TSeriesMarks* M = S->GetMarks();
      M->SetVisible(true);
      M->GetBrush()->SetColor(MarkColor);
      TChartAxis* Narrow = C.Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
      Narrow->SetMinMax(C.Min, C.Max);
      Narrow->SetInverted(C.Inverted);
      Paint();
      if (!C.View3D) {
        EXPECT_FALSE(BigShapeInChart(SeriesColor, 12));
        EXPECT_FALSE(BigShapeInChart(MarkColor, 60));
        // the middle point's pointer is where it belongs
        const TPointF Mid = C.Horizontal ? Pixel(5, 50) : Pixel(50, 5);
        bool Found = false;
        for (const TCanvasRecord& R : Canvas->GetRecords())
          if (R.Color == SeriesColor && (R.Kind == TRecordKind::FillRect || R.Kind == TRecordKind::FillEllipse ||
                                         R.Kind == TRecordKind::FillPolygon)) {
            const TRectF B = R.Kind == TRecordKind::FillPolygon ? TRectF(R.Points[0].X, R.Points[0].Y, R.Points[0].X,
                                                                         R.Points[0].Y)
                                                                 : R.Rect;
            Found = Found || (std::fabs(B.Left - Mid.X) <= 6 && std::fabs(B.Top - Mid.Y) <= 6);
          }
        EXPECT_TRUE(Found);
      }
      S->Free();
      Narrow->SetInverted(false);
      Narrow->SetMinMax(0, 100);
    }
  }
}

TEST_F(FarPixels, MarksOfFarPointsStayOffTheChart) {
  // A mark's box and text lines are placed from its point's pixel: for a point at the pixel limit
  // they lie far off the chart, and only the middle point's mark text is drawn inside it.
  for (bool Horizontal : {false, true}) {
    for (bool Inverted : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "horizontal " << Horizontal << ", inverted " << Inverted);
      const std::vector<double> Far = {-1e6, 5, 1e6}, Across = {20, 50, 80};
      auto* S = Horizontal ? Add<TPointedLine>(Far, Across) : Add<TPointedLine>(Across, Far);
      S->GetPointer()->SetVisible(false);
      TSeriesMarks* M = S->GetMarks();
      M->SetVisible(true);
      M->SetMultiLine(true);
      M->GetBrush()->SetColor(MarkColor);
      TChartAxis* Narrow = Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
      Narrow->SetMinMax(5, 5);
      Narrow->SetInverted(Inverted);
      Paint();
      EXPECT_FALSE(BigShapeInChart(MarkColor, 60));
      const TRectF C = Chart->GetChartRect();
      int Inside = 0;
      for (const TCanvasRecord& R : Canvas->GetRecords())
        if (R.Kind == TRecordKind::FillText && R.Rect.Right >= C.Left && R.Rect.Left <= C.Right &&
            R.Rect.Bottom >= C.Top && R.Rect.Top <= C.Bottom && R.Text == (Horizontal ? "50" : "5"))
          ++Inside;
      EXPECT_GE(Inside, 1);
      S->Free();
      Narrow->SetInverted(false);
      Narrow->SetMinMax(0, 100);
    }
  }
}

TEST_F(FarPixels, PointerSizesInAxisUnitsOnANarrowAxis) {
  // A size in axis units on an axis 2e-10 wide is far larger than any canvas: it is held to the
  // pixel limit like a mapped pixel, and the pointer still draws without overflow.
  auto* S = Add<TPointedLine>({20, 50, 80}, {5, 5, 5});
  S->GetPointer()->SetSizeUnits(TPointerSizeUnits::suAxis);
  S->GetPointer()->SetSizeFloat(3);
  Chart->GetLeftAxis()->SetMinMax(5, 5);
  Paint();
  EXPECT_EQ(Chart->GetLeftAxis()->CalcSizeValue(3), ZelPixelLimit);
  EXPECT_FALSE(Records(TRecordKind::FillRect).empty());
  // and a program's own huge half sizes too
  S->GetPointer()->SetSizeFloat(0);
  S->GetPointer()->SetSizeUnits(TPointerSizeUnits::suPixels);
  S->GetPointer()->SetHorizSize(std::numeric_limits<std::int32_t>::max());
  S->GetPointer()->SetVertSize(std::numeric_limits<std::int32_t>::max());
  Paint();
  EXPECT_FALSE(Records(TRecordKind::FillRect).empty());
}

TEST_F(FarPixels, AFullStackNearTheLargestDoubleStaysFinite) {
  // Two stacked areas of +/-1e308: each point's share of its total is finite (sums are taken at
  // a smaller scale), so the axis ends and the filled pieces are too.
  struct TCase {
    TMultiArea Multi;
    double A, B;
  };
  const TCase Cases[] = {
      {TMultiArea::maStacked100, 1e308, 1e308},
      {TMultiArea::maStacked100, -1e308, -1e308},
      {TMultiArea::maStacked100, -1e308, 1e308},
      {TMultiArea::maStacked, 1e308, 1e308},
      {TMultiArea::maStacked, -1e308, -1e308},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(::testing::Message() << int(C.Multi) << " " << C.A << " " << C.B);
    auto* A = Add<TAreaSeries>({0, 1, 2}, {C.A, C.A, 1});
    auto* B = Add<TAreaSeries>({0, 1, 2}, {C.B, C.B, 1}, 0xFFAA0000);
    A->SetMultiArea(C.Multi);
    TChartAxis* L = Chart->GetLeftAxis();
    L->SetAutomatic(true);
    EXPECT_TRUE(std::isfinite(B->MinYValue()));
    EXPECT_TRUE(std::isfinite(B->MaxYValue()));
    Paint();
    EXPECT_TRUE(std::isfinite(L->IMinimum) && std::isfinite(L->IMaximum)) << L->IMinimum << ".." << L->IMaximum;
    EXPECT_LE(L->IMinimum, L->IMaximum);
    if (C.Multi == TMultiArea::maStacked100) {
      // each point at its share of the total (halves here, so that the test's own sums stay finite)
      const double Total = std::fabs(C.A) / 2 + std::fabs(C.B) / 2;
      EXPECT_EQ(A->CalcYPos(0), L->CalcYPosValue(C.A / 2 / Total * 100));
      EXPECT_EQ(B->CalcYPos(0), L->CalcYPosValue((C.A / 2 + C.B / 2) / Total * 100));
      EXPECT_EQ(B->CalcYPos(2), L->CalcYPosValue(100));
    }
    A->Free();
    B->Free();
  }
}

}  // namespace
}  // namespace zel::lines
