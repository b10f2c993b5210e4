#include "zelgraph/tools/ToolsUnit.h"

#include "zelgraph/chart/Registries.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/AxisScroll.h"
#include "zelgraph/tools/ColorLine.h"
#include "zelgraph/tools/DragMarks.h"
#include "zelgraph/tools/DrawLine.h"
#include "zelgraph/tools/GridBand.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/MiscTools.h"
#include "zelgraph/tools/RectangleTool.h"
#include "zelgraph/tools/RotateTool.h"

namespace zel {

namespace {
int ToolsUnitStartCount = 0;
}

std::vector<const TClass*> ZelToolsUnitClasses() {
  // Each tool class of this folder goes in its place of this order: cursor, drag marks, axis
  // arrows, draw line, nearest point, colour band, colour line, rotate, chart image, mark tips,
  // annotation, grid band, axis scroll, rectangle, clip series, full screen, repaint monitor,
  // axis scroll bar. Editors and lists show the tools in this order.
  return {
      TDragMarksTool::StaticClass(),  TDrawLineTool::StaticClass(),   TColorBandTool::StaticClass(),
      TColorLineTool::StaticClass(),  TRotateTool::StaticClass(),     TChartImageTool::StaticClass(),
      TMarksTipTool::StaticClass(),   TAnnotationTool::StaticClass(), TGridBandTool::StaticClass(),
      TAxisScrollTool::StaticClass(), TRectangleTool::StaticClass(),  TClipSeriesTool::StaticClass(),
      TFullScreenTool::StaticClass(), TRepaintMonitor::StaticClass(),
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
