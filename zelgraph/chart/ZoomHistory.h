// What the chart control keeps to undo zooms and pans: the axis scales from before the first
// change, and the snapshots of the zoom history (one per rectangle zoom, oldest first).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Classes.h"

namespace zel {

class TCustomAxisPanel;

// One axis' scale settings as they were before the chart first zoomed, panned or scrolled.
struct TAxisSavedScales {
  bool Auto = false;
  bool AutoMin = false;
  bool AutoMax = false;
  double Min = 0;
  double Max = 0;
};

// One entry per axis of the chart's axes list, in list order.
using TAllAxisSavedScales = std::vector<TAxisSavedScales>;

// The scales of every axis of Chart (depth axes keep a zero entry).
TAllAxisSavedScales SaveAxisScales(TCustomAxisPanel* Chart);
// Gives every non-depth axis its saved automatic flags and range (without range checks), then
// empties Scales. Entries past the end of the axes list are ignored; axes without an entry are
// left alone.
void RestoreAxisScales(TCustomAxisPanel* Chart, TAllAxisSavedScales& Scales);

// One step of the zoom history: the ranges of the four standard axes and of the custom axes.
class TZoomSnapshot : public TObject {
  ZEL_CLASS(TZoomSnapshot, TObject)
 public:
  TZoomSnapshot() = default;

  // Minimum and maximum of the left, top, right and bottom axes, in that order.
  std::array<double, 8> AxesMinMax{};
  std::int32_t CustomCount = 0;
  // One (minimum, maximum) pair per custom axis, in collection order.
  std::vector<std::pair<double, double>> CustomMinMax;

  // The ranges Chart's axes have now.
  void Take(TCustomAxisPanel* Chart);
  // Sets the left, top, right and bottom axes, then the custom axes, to the stored ranges. Custom
  // axes added since the snapshot keep their range; removed ones are skipped.
  void Apply(TCustomAxisPanel* Chart) const;
};

}  // namespace zel
