#include "zelgraph/tools/ToolsUnit.h"

#include "zelgraph/chart/Registries.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/DragMarks.h"
#include "zelgraph/tools/DrawLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/NearestPoint.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/RotateTool.h"
#include "zelgraph/tools/ScrollBar.h"

namespace zel {

namespace {
int ToolsUnitStartCount = 0;
}

std::vector<const TClass*> ZelToolsUnitClasses() {
  // Editors and lists show the tools in this order.
  return {
      TCursorTool::StaticClass(),     TDragMarksTool::StaticClass(),     TAxisArrowTool::StaticClass(),
      TDrawLineTool::StaticClass(),   TNearestTool::StaticClass(),       TColorBandTool::StaticClass(),
      TColorLineTool::StaticClass(),  TRotateTool::StaticClass(),        TChartImageTool::StaticClass(),
      TMarksTipTool::StaticClass(),   TAnnotationTool::StaticClass(),    TGridBandTool::StaticClass(),
      TAxisScrollTool::StaticClass(), TRectangleTool::StaticClass(),     TClipSeriesTool::StaticClass(),
      TFullScreenTool::StaticClass(), TRepaintMonitor::StaticClass(),    TAxisScrollBarTool::StaticClass(),
  };
}

void ZelToolsUnitStart() {
  if (ToolsUnitStartCount++ > 0) return;
  const std::vector<const TClass*> Classes = ZelToolsUnitClasses();
  RegisterZelTools(Classes.data(), static_cast<int>(Classes.size()) - 1);
}

void ZelToolsUnitEnd() {
  if (ToolsUnitStartCount == 0 || --ToolsUnitStartCount > 0) return;
  const std::vector<const TClass*> Classes = ZelToolsUnitClasses();
  UnRegisterZelTools(Classes.data(), static_cast<int>(Classes.size()) - 1);
}

}  // namespace zel
