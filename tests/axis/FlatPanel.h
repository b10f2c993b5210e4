// A flat chart panel for axis tests: no walls, titles or legend, every colour free.
#pragma once

#include "zelgraph/engine/AxisPanel.h"

namespace zel {

class TFlatTestPanel : public TCustomAxisPanel {
 public:
  explicit TFlatTestPanel(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}
  bool IsFreeSeriesColor(TAlphaColor, bool, TChartSeries*) override { return true; }
  void DrawWalls() override {}
  void DrawTitlesAndLegend(bool) override {}
};

}  // namespace zel
