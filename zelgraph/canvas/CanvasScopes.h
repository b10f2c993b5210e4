// Scoped brackets on a canvas (blending, front plane) and a general one that puts a setting
// back: each closes what it opened when its scope ends, also when an error leaves the scope.
#pragma once

#include <cstdint>
#include <exception>
#include <utility>

#include "zelgraph/canvas/Canvas3D.h"

namespace zel {

// Runs Close at the end of a scope entered with Uncaught errors in flight: an error of Close
// reaches the caller when the scope ends normally and is dropped while another error leaves
// the scope (that one goes on).
template <typename F>
void CloseAtScopeEnd(int Uncaught, F&& Close) {
  if (std::uncaught_exceptions() == Uncaught) {
    Close();
    return;
  }
  try {
    Close();
  } catch (...) {
  }
}

// Runs Restore when the scope ends (see CloseAtScopeEnd).
template <typename F>
class TRestoreOnExit {
 public:
  explicit TRestoreOnExit(F Restore) : FRestore(std::move(Restore)) {}
  ~TRestoreOnExit() noexcept(false) { CloseAtScopeEnd(FUncaught, FRestore); }
  TRestoreOnExit(const TRestoreOnExit&) = delete;
  TRestoreOnExit& operator=(const TRestoreOnExit&) = delete;

 private:
  F FRestore;
  int FUncaught = std::uncaught_exceptions();
};

// BeginBlending(R, T) on Canvas for the scope (when On), EndBlending at its end.
class TBlendingScope {
 public:
  TBlendingScope(TZelCanvas* Canvas, const TRectF& R, std::int8_t T, bool On = true) {
    if (!On || !Canvas) return;
    FBlend = Canvas->BeginBlending(R, T);
    FCanvas = Canvas;
  }
  ~TBlendingScope() noexcept(false) {
    if (FCanvas) CloseAtScopeEnd(FUncaught, [this] { FCanvas->EndBlending(FBlend); });
  }
  TBlendingScope(const TBlendingScope&) = delete;
  TBlendingScope& operator=(const TBlendingScope&) = delete;

 private:
  TZelCanvas* FCanvas = nullptr;
  TZelBlend* FBlend = nullptr;
  int FUncaught = std::uncaught_exceptions();
};

// FrontPlaneBegin on Canvas for the scope (when On), FrontPlaneEnd at its end.
class TFrontPlaneScope {
 public:
  explicit TFrontPlaneScope(TCanvas3D* Canvas, bool On = true) {
    if (!On || !Canvas) return;
    Canvas->FrontPlaneBegin();
    FCanvas = Canvas;
  }
  ~TFrontPlaneScope() noexcept(false) {
    if (FCanvas) CloseAtScopeEnd(FUncaught, [this] { FCanvas->FrontPlaneEnd(); });
  }
  TFrontPlaneScope(const TFrontPlaneScope&) = delete;
  TFrontPlaneScope& operator=(const TFrontPlaneScope&) = delete;

 private:
  TCanvas3D* FCanvas = nullptr;
  int FUncaught = std::uncaught_exceptions();
};

}  // namespace zel
