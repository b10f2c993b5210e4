#include "zelgraph/Units.h"

#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/html/Html.h"
#include "zelgraph/procs/Procs.h"

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
  ZelProcsUnitStart();
}

void ZelEndUnits() {
  if (StartCount == 0 || --StartCount > 0) return;
  // Reverse order of ZelStartUnits.
  ZelProcsUnitEnd();
  ZelHtmlUnitEnd();
  ZelCanvasUnitEnd();
  ZelConstantsUnitEnd();
}

}  // namespace zel
