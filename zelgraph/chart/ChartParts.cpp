// The chart's walls, titles and legend: creating and freeing them, their place in the paint
// sequence, and what the mouse handling asks of them.
#include <vector>

#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

void TCustomChart::CreateParts() {}
void TCustomChart::AssignParts(TCustomChart*) {}
void TCustomChart::FreeParts() {}

std::int32_t TCustomChart::LegendItemAt(TPointF, bool) { return -1; }
TChartTitle* TCustomChart::TitleAt(TPointF, TChartClickedPartStyle&) { return nullptr; }
bool TCustomChart::LegendMouseDown(std::int32_t, std::int32_t, std::int32_t) { return false; }

void TCustomChart::MoveWithoutDrag(std::int32_t X, std::int32_t Y) {
  const bool Series = CheckMouseSeries(X, Y);
  const bool Axes = CheckMouseAxes(X, Y);
  if (!Series && !Axes) SetCursor(FOriginalCursor);
}

void TCustomChart::DrawTitles(bool) {}
void TCustomChart::DrawLateWalls() {}
void TCustomChart::DrawTitlesAndLegend(bool) {}
void TCustomChart::DrawWalls() {}
void TCustomChart::CalcWallsRect() { TCustomAxisPanel::CalcWallsRect(); }
std::int32_t TCustomChart::CalcWallSize(TChartAxis*) { return 0; }
TAlphaColor TCustomChart::GetBackColor() { return TCustomAxisPanel::GetBackColor(); }
void TCustomChart::SetBackColor(TAlphaColor) {}

bool TCustomChart::IsFreeSeriesColor(TAlphaColor AColor, bool CheckBackground, TChartSeries* Series) {
  for (std::int32_t I = 0; I < SeriesCount(); ++I)
    if (GetSeries(I) != Series && GetSeries(I)->GetSeriesColor() == AColor) return false;
  return !(CheckBackground && AColor == GetColor());
}

String TCustomChart::FormattedLegend(std::int32_t) { return String(); }
String TCustomChart::FormattedValueLegend(TChartSeries*, std::int32_t) { return String(); }
void TCustomChart::DrawLegendShape(const TRectF&) {}

TChartTitle* TCustomChart::GetTitle() { return FTitle; }
void TCustomChart::SetTitle(TChartTitle*) {}
TChartTitle* TCustomChart::GetSubTitle() { return FSubTitle; }
void TCustomChart::SetSubTitle(TChartTitle*) {}
TChartTitle* TCustomChart::GetFoot() { return FFoot; }
void TCustomChart::SetFoot(TChartTitle*) {}
TChartTitle* TCustomChart::GetSubFoot() { return FSubFoot; }
void TCustomChart::SetSubFoot(TChartTitle*) {}
void TCustomChart::SetLegend(TChartLegend*) {}
void TCustomChart::SetWalls(TChartWalls*) {}
TChartWall* TCustomChart::GetBackWall() const { return nullptr; }
void TCustomChart::SetBackWall(TChartWall*) {}
TChartWall* TCustomChart::GetLeftWall() const { return nullptr; }
void TCustomChart::SetLeftWall(TChartWall*) {}
TChartWall* TCustomChart::GetBottomWall() const { return nullptr; }
void TCustomChart::SetBottomWall(TChartWall*) {}
TChartWall* TCustomChart::GetRightWall() const { return nullptr; }
void TCustomChart::SetRightWall(TChartWall*) {}
TZelPen* TCustomChart::GetFrame() const { return nullptr; }
void TCustomChart::SetFrame(TZelPen*) {}

}  // namespace zel
