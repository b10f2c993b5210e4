#include "zelgraph/Units.h"

namespace zel {

namespace {
int StartCount = 0;
}

void ZelStartUnits() {
  if (StartCount++ > 0) return;
  // Order: message texts, canvas, html, engine, chart, series, tools, tool texts.
}

void ZelEndUnits() {
  if (StartCount == 0 || --StartCount > 0) return;
  // Reverse order of ZelStartUnits.
}

}  // namespace zel
