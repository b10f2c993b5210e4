#include "zelgraph/Units.h"

#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/html/Html.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/series/Series.h"
#include "zelgraph/series/Spline.h"
#include "zelgraph/tools/PageNumber.h"
#include "zelgraph/tools/ToolTexts.h"
#include "zelgraph/tools/ToolsUnit.h"

namespace zel {

namespace {
int StartCount = 0;
}

void ZelStartUnits() {
  if (StartCount++ > 0) return;
  // Order: message texts, canvas, html, engine, chart, series, tools, tool texts.
  ZelConstantsUnitStart();
  ZelCanvasUnitStart();
  ZelHtmlUnitStart();
  ZelEngineUnitStart();
  ZelProcsUnitStart();
  ZelChartUnitStart();
  ZelSeriesUnitStart();
  ZelSplineUnitStart();
  ZelToolsUnitStart();
  ZelPageNumberUnitStart();
  ZelToolTextsUnitStart();
}

void ZelEndUnits() {
  if (StartCount == 0 || --StartCount > 0) return;
  // Reverse order of ZelStartUnits.
  ZelToolTextsUnitEnd();
  ZelPageNumberUnitEnd();
  ZelToolsUnitEnd();
  ZelSplineUnitEnd();
  ZelSeriesUnitEnd();
  ZelChartUnitEnd();
  ZelProcsUnitEnd();
  ZelEngineUnitEnd();
  ZelHtmlUnitEnd();
  ZelCanvasUnitEnd();
  ZelConstantsUnitEnd();
}

}  // namespace zel
