// The area series: its defaults, stacking within stack groups, a fixed origin, the extremes the
// axes take from it, and the filled pieces it draws.
#include <gtest/gtest.h>

#include "tests/lines/LinesFixture.h"

namespace zel::lines {
namespace {

using Area = LinesFixture;

// The polygons filled in Color, as pixel point lists.
std::vector<std::vector<TPointF>> Fills(const TRecordingCanvas& C, TAlphaColor Color) {
  std::vector<std::vector<TPointF>> R;
  for (const TCanvasRecord& Rec : C.GetRecords())
    if (Rec.Kind == TRecordKind::FillPolygon && Rec.Color == Color) R.push_back(Rec.Points);
  return R;
}

TEST_F(Area, NewSeriesFillsWithoutALineAndAssignTurnsBothOn) {
  auto* S = Add<TAreaSeries>({}, {});
  EXPECT_TRUE(S->GetDrawArea());
  EXPECT_FALSE(S->GetDrawLine());
  EXPECT_FALSE(S->GetPointer()->GetVisible());
  EXPECT_EQ(S->GetTreatNulls(), TTreatNullsStyle::tnDontPaint);
  EXPECT_EQ(S->GetMultiArea(), TMultiArea::maNone);
  auto* Line = Add<TFastLineSeries>({1}, {2});
  auto* B = Create<TAreaSeries>(nullptr);
  B->GetPointer()->SetVisible(true);
  B->Assign(Line);
  EXPECT_TRUE(B->GetDrawArea());
  EXPECT_TRUE(B->GetDrawLine());
  EXPECT_FALSE(B->GetPointer()->GetVisible());  // from an unrelated kind
  S->SetYOrigin(5);
  S->SetUseYOrigin(true);
  S->SetStackGroup(2);
  B->Assign(S);
  EXPECT_EQ(B->GetYOrigin(), 5);
  EXPECT_TRUE(B->GetUseYOrigin());
  EXPECT_EQ(B->GetStackGroup(), 2);
  B->Free();
}

// An area kind derived from the area series.
class TDerivedArea : public TAreaSeries {
  ZEL_CLASS(TDerivedArea, TAreaSeries)
 public:
  explicit TDerivedArea(TComponent* AOwner) : TAreaSeries(AOwner) {}
};
ZEL_DEFINE_CLASS(TDerivedArea, TAreaSeries)

TEST_F(Area, MultiAreaIsAViewOfTheStackingSharedBySameClassSeries) {
  auto* A = Add<TAreaSeries>({0}, {1});
  auto* B = Add<TAreaSeries>({0}, {2});
  auto* D = Add<TDerivedArea>({0}, {3});
  const std::pair<TMultiArea, TCustomSeriesStack> Cases[] = {
      {TMultiArea::maStacked, TCustomSeriesStack::cssStack},
      {TMultiArea::maStacked100, TCustomSeriesStack::cssStack100},
      {TMultiArea::maNone, TCustomSeriesStack::cssNone},
  };
  for (const auto& [Multi, Stack] : Cases) {
    A->SetMultiArea(Multi);
    EXPECT_EQ(A->GetStacked(), Stack);
    EXPECT_EQ(B->GetMultiArea(), Multi);
    EXPECT_EQ(D->GetMultiArea(), TMultiArea::maNone);  // a derived kind keeps its own
  }
  // Set on the derived kind, its ancestors follow.
  D->SetMultiArea(TMultiArea::maStacked);
  EXPECT_EQ(A->GetMultiArea(), TMultiArea::maStacked);
  EXPECT_EQ(B->GetMultiArea(), TMultiArea::maStacked);
  B->SetStacked(TCustomSeriesStack::cssOverlap);
  EXPECT_EQ(B->GetMultiArea(), TMultiArea::maNone);
}

TEST_F(Area, StackedAreasStartWhereTheSeriesBelowEnds) {
  struct Case {
    const char* Name;
    TMultiArea Multi;
    int GroupB;
    double A, B;
    double TopA, BottomB, TopB;
  };
  const Case Cases[] = {
      {"stacked", TMultiArea::maStacked, 0, 1, 2, 1, 1, 3},
      {"stacked 100", TMultiArea::maStacked100, 0, 1, 3, 25, 25, 100},
      {"other stack group falls to the axis", TMultiArea::maStacked, 1, 1, 2, 1, 0, 2},
  };
  for (const Case& C : Cases) {
    Chart->GetLeftAxis()->SetMinMax(0, 100);
    auto* A = Add<TAreaSeries>({0, 10}, {C.A, C.A});
    auto* B = Add<TAreaSeries>({0, 10}, {C.B, C.B});
    B->SetStackGroup(C.GroupB);
    A->SetMultiArea(C.Multi);
    Paint();
    EXPECT_EQ(A->CalcYPos(1), Chart->GetLeftAxis()->CalcYPosValue(C.TopA)) << C.Name;
    EXPECT_EQ(B->GetOriginPos(1), Chart->GetLeftAxis()->CalcYPosValue(C.BottomB)) << C.Name;
    EXPECT_EQ(B->CalcYPos(1), Chart->GetLeftAxis()->CalcYPosValue(C.TopB)) << C.Name;
    A->Free();
    B->Free();
  }
}

TEST_F(Area, IndexWhereEveryStackedValueIsZero) {
  auto* A = Add<TAreaSeries>({0, 10}, {0, 1});
  auto* B = Add<TAreaSeries>({0, 10}, {0, 3});
  A->SetMultiArea(TMultiArea::maStacked100);
  Paint();
  // Drawn at the axis' end pixel, and the axis minimum stays 0.
  EXPECT_EQ(B->CalcYPos(0), Chart->GetLeftAxis()->IEndPos);
  EXPECT_EQ(B->MinYValue(), 0);
  EXPECT_EQ(B->MaxYValue(), 100);
}

TEST_F(Area, StackedExtremesIncludeTheSeriesBelow) {
  auto* A = Add<TAreaSeries>({0, 10, 20}, {4, -2, 1});
  auto* B = Add<TAreaSeries>({0, 10, 20}, {3, -1, 5});
  A->SetMultiArea(TMultiArea::maStacked);
  EXPECT_EQ(B->MaxYValue(), 7);
  EXPECT_EQ(B->MinYValue(), -3);
  EXPECT_EQ(A->MaxYValue(), 4);
  // Null points are left out of the plain extremes.
  A->SetMultiArea(TMultiArea::maNone);
  A->SetNull(0);
  EXPECT_EQ(A->MaxYValue(), 1);
}

TEST_F(Area, FixedOriginFillsFromItsLevelAndWidensTheRange) {
  auto* S = Add<TAreaSeries>({0, 10}, {10, 20});
  S->SetYOrigin(5);
  S->SetUseYOrigin(true);
  EXPECT_EQ(S->MinYValue(), 5);
  EXPECT_EQ(S->MaxYValue(), 20);
  Chart->GetLeftAxis()->SetMinMax(0, 30);
  Paint();
  const auto F = Fills(*Canvas, SeriesColor);
  ASSERT_EQ(F.size(), 1u);
  const float Level5 = static_cast<float>(Chart->GetLeftAxis()->CalcYPosValue(5));
  EXPECT_EQ(F[0][0].Y, Level5);
  EXPECT_EQ(F[0][3].Y, Level5);
  EXPECT_EQ(F[0][1].Y, Pixel(0, 10).Y);
  EXPECT_EQ(F[0][2].Y, Pixel(10, 20).Y);
}

TEST_F(Area, NullPointLeavesAGapInTheArea) {
  auto* S = Add<TAreaSeries>({0, 10, 20, 30, 40}, {10, 20, 30, 20, 10});
  S->SetNull(2);
  Paint();
  // Pieces 0-1 and 3-4 only: nothing into or out of the null point.
  const auto F = Fills(*Canvas, SeriesColor);
  ASSERT_EQ(F.size(), 2u);
  EXPECT_EQ(F[0][2].X, Pixel(10, 0).X);
  EXPECT_EQ(F[1][1].X, Pixel(30, 0).X);
}

TEST_F(Area, StackedOnAnInvertedAxisDrawsBackwards) {
  auto* S = Add<TAreaSeries>({0, 10}, {1, 2});
  EXPECT_TRUE(S->DrawSeriesForward(0));
  S->SetMultiArea(TMultiArea::maStacked);
  Chart->GetLeftAxis()->SetInverted(true);
  EXPECT_FALSE(S->DrawSeriesForward(0));
  S->SetMultiArea(TMultiArea::maNone);
  EXPECT_TRUE(S->DrawSeriesForward(0));
}

TEST_F(Area, ClickInsideTheAreaAnswersThePieceStart) {
  auto* S = Add<TAreaSeries>({10, 50, 90}, {60, 60, 60});
  Paint();
  const TPointF Inside = Pixel(70, 30);
  EXPECT_EQ(S->Clicked(int(Inside.X), int(Inside.Y)), 1);
  const TPointF Above = Pixel(70, 80);
  EXPECT_EQ(S->Clicked(int(Above.X), int(Above.Y)), -1);
}

TEST_F(Area, EveryDrawingModePaintsInTheSeriesColour) {
  struct Case {
    const char* Name;
    bool View3D, Stairs, Inverted, Line, Pointer;
    TCustomSeriesDrawStyle Style;
    TMultiArea Multi;
  };
  const Case Cases[] = {
      {"2D", false, false, false, false, false, TCustomSeriesDrawStyle::dsSegments, TMultiArea::maNone},
      {"2D stairs", false, true, false, false, false, TCustomSeriesDrawStyle::dsSegments, TMultiArea::maNone},
      {"2D inverted stairs and pointers", false, true, true, true, true, TCustomSeriesDrawStyle::dsSegments,
       TMultiArea::maNone},
      {"2D whole path", false, false, false, true, false, TCustomSeriesDrawStyle::dsAll, TMultiArea::maNone},
      {"2D curve", false, false, false, false, false, TCustomSeriesDrawStyle::dsCurve, TMultiArea::maNone},
      {"3D", true, false, false, false, false, TCustomSeriesDrawStyle::dsSegments, TMultiArea::maNone},
      {"3D stairs", true, true, false, true, false, TCustomSeriesDrawStyle::dsSegments, TMultiArea::maNone},
      {"3D stacked", true, false, false, false, true, TCustomSeriesDrawStyle::dsSegments, TMultiArea::maStacked},
  };
  for (const Case& C : Cases) {
    auto* S = Add<TAreaSeries>({0, 20, 40, 60, 80}, {30, 50, 20, 70, 40});
    Chart->SetView3D(C.View3D);
    S->SetStairs(C.Stairs);
    S->SetInvertedStairs(C.Inverted);
    S->SetDrawLine(C.Line);
    S->GetPointer()->SetVisible(C.Pointer);
    S->SetDrawStyle(C.Style);
    S->SetMultiArea(C.Multi);
    Paint();
    std::size_t InColour = 0;
    for (const TCanvasRecord& R : Canvas->GetRecords())
      if (R.Color == SeriesColor &&
          (R.Kind == TRecordKind::FillPolygon || R.Kind == TRecordKind::FillRect || R.Kind == TRecordKind::FillPath))
        ++InColour;
    EXPECT_GT(InColour, 0u) << C.Name;
    S->Free();
  }
}

TEST_F(Area, GalleryVariants) {
  auto* S = Add<TAreaSeries>({}, {});
  std::vector<String> Names;
  S->CreateSubGallery([&](const String& N) { Names.push_back(N); });
  EXPECT_EQ(Names, (std::vector<String>{"Normal", "Stairs", "Marks", "Colors", "Hollow", "No Lines", "Stack",
                                        "Stack 100%", "Points", "Gradient"}));
  S->SetSubGallery(S, 4);
  EXPECT_EQ(S->GetAreaBrush(), TBrushKind::None);
  S->SetSubGallery(S, 7);
  EXPECT_EQ(S->GetMultiArea(), TMultiArea::maStacked100);
}

}  // namespace
}  // namespace zel::lines
