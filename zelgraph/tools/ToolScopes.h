// Scoped brackets the tools open on a chart: each puts back what it changed when its scope
// ends, also when an error leaves the scope.
#pragma once

#include <utility>

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

// Runs Restore when the scope ends, also when an error leaves it: for a setting that has no
// scope class of its own (Restore must not throw).
template <typename F>
class TRestoreOnExit {
 public:
  explicit TRestoreOnExit(F Restore) : FRestore(std::move(Restore)) {}
  ~TRestoreOnExit() { FRestore(); }
  TRestoreOnExit(const TRestoreOnExit&) = delete;
  TRestoreOnExit& operator=(const TRestoreOnExit&) = delete;

 private:
  F FRestore;
};

}  // namespace zel
