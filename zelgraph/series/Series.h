// The series unit: the line-drawing series (fast line, the line-series bases, area) and the
// unit's start and end, which make the series kinds known to the type registry and to streaming.
#pragma once

#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/LineSeries.h"

namespace zel {

// Registers the series kinds (after the chart unit started); the end removes them.
void ZelSeriesUnitStart();
void ZelSeriesUnitEnd();

}  // namespace zel
