// Scoped brackets the tools open on a chart (and, through CanvasScopes.h, on its canvas): each
// puts back what it changed when its scope ends, also when an error leaves the scope.
#pragma once

#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/engine/Panel.h"

namespace zel {

// Sets a chart's AutoRepaint for a scope and restores the remembered value at its end; does
// nothing without a chart.
class TAutoRepaintScope {
 public:
  TAutoRepaintScope(TCustomZelPanel* Chart, bool Value)
      : FChart(Chart), FOld(Chart ? Chart->GetAutoRepaint() : true) {
    if (FChart) FChart->SetAutoRepaint(Value);
  }
  ~TAutoRepaintScope() {
    if (FChart) FChart->SetAutoRepaint(FOld);
  }
  TAutoRepaintScope(const TAutoRepaintScope&) = delete;
  TAutoRepaintScope& operator=(const TAutoRepaintScope&) = delete;

 private:
  TCustomZelPanel* FChart;
  bool FOld;
};

}  // namespace zel
