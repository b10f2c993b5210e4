// A chart panel for engine tests: records repaint requests and series events, and treats a
// palette colour as free when no other series uses it.
#pragma once

#include <vector>

#include "zelgraph/engine/Engine.h"

namespace zel {

class TTestPanel : public TCustomAxisPanel {
 public:
  using TCustomAxisPanel::TCustomAxisPanel;
  void Invalidate() override { ++Invalidates; }
  void BroadcastSeriesEvent(TCustomChartSeries* Series, TChartSeriesEvent Event) override {
    if (!DoNotBroadcast) Events.push_back({Series, Event});
  }
  bool IsFreeSeriesColor(TAlphaColor AColor, bool, TChartSeries* Series) override {
    for (std::int32_t I = 0; I < SeriesCount(); ++I) {
      auto* S = dynamic_cast<TChartSeries*>(GetSeries(I));
      if (S && S != Series && S->GetSeriesColor() == AColor) return false;
    }
    return true;
  }
  int Count(TChartSeriesEvent E) const {
    int N = 0;
    for (const auto& R : Events)
      if (R.Event == E) ++N;
    return N;
  }

  struct Record {
    TCustomChartSeries* Series;
    TChartSeriesEvent Event;
  };
  std::vector<Record> Events;
  int Invalidates = 0;
};

}  // namespace zel
