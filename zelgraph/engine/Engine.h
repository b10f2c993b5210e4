// The chart engine unit as a whole: value lists, chart elements and series, series marks and the
// axis panel.
#pragma once

#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/ValueList.h"
