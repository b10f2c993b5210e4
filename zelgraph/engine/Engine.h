// The chart engine unit as a whole: the panel controls, axes, value lists, chart elements and
// series, shapes and marks, tool bases and the axis panel.
#pragma once

#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/engine/Pointer.h"
#include "zelgraph/engine/Resources.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Shapes.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/engine/ValueList.h"
