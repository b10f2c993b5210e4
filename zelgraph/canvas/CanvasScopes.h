// Scoped brackets on a canvas (blending, front plane, entities, clips): each closes what it
// opened when its scope ends, also when an error leaves the scope. The general guards
// (TRestoreOnExit, TUndoOnFailure, TValueScope) are in platform/Scope.h.
#pragma once

#include <cstdint>
#include <exception>
#include <utility>

#include "platform/Scope.h"
#include "zelgraph/canvas/Canvas3D.h"

namespace zel {

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

// BeginEntity(Name, Visual, Transform) on Canvas for the scope (when On), EndEntity at its end.
class TEntityScope {
 public:
  TEntityScope(TCanvas3D* Canvas, const String& Name, TVisualBlock* Visual = nullptr,
               TZelTransform* Transform = nullptr, bool On = true) {
    if (!On || !Canvas) return;
    Canvas->BeginEntity(Name, Visual, Transform);
    FCanvas = Canvas;
  }
  ~TEntityScope() noexcept(false) {
    if (FCanvas) CloseAtScopeEnd(FUncaught, [this] { FCanvas->EndEntity(); });
  }
  TEntityScope(const TEntityScope&) = delete;
  TEntityScope& operator=(const TEntityScope&) = delete;

 private:
  TCanvas3D* FCanvas = nullptr;
  int FUncaught = std::uncaught_exceptions();
};

// Clipping that the caller has set on Canvas (when Clipped) is taken off when the scope ends.
class TUnClipScope {
 public:
  TUnClipScope(TZelCanvas* Canvas, bool Clipped) : FCanvas(Clipped ? Canvas : nullptr) {}
  ~TUnClipScope() noexcept(false) {
    if (FCanvas) CloseAtScopeEnd(FUncaught, [this] { FCanvas->UnClipRectangle(); });
  }
  TUnClipScope(const TUnClipScope&) = delete;
  TUnClipScope& operator=(const TUnClipScope&) = delete;

 private:
  TZelCanvas* FCanvas;
  int FUncaught = std::uncaught_exceptions();
};

}  // namespace zel
