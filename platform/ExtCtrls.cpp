// The timer on QTimer.
#include "platform/ExtCtrls.h"

#include <QTimer>

#include "platform/Controls.h"
#include "platform/PainterCanvas.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TTimer, TComponent)

struct TTimer::TImpl {
  QTimer* Timer = new QTimer;
  int TickDepth = 0;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  EnsureQtApplication();
  FImpl = std::make_shared<TImpl>();
  // The slot keeps the implementation alive, so that a handler may free the timer.
  std::shared_ptr<TImpl> Impl = FImpl;
  QObject::connect(Impl->Timer, &QTimer::timeout, [this, Impl] {
    ++Impl->TickDepth;
    try {
      Timer();
    } catch (...) {
      HandleEventException();
    }
    --Impl->TickDepth;
  });
}

TTimer::~TTimer() {
  QTimer* T = FImpl->Timer;
  T->stop();
  T->disconnect();
  // Freed from its own tick: the timer object is still emitting, so it goes later.
  if (FImpl->TickDepth > 0)
    T->deleteLater();
  else
    delete T;
}

void TTimer::Destroying() {
  inherited::Destroying();
  FImpl->Timer->stop();
}

void TTimer::SetInterval(Cardinal V) {
  if (V == FInterval) return;
  FInterval = V;
  FImpl->Timer->stop();
  UpdateTimer();
}

void TTimer::SetEnabled(bool V) {
  if (V == FEnabled) return;
  FEnabled = V;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent V) {
  FOnTimer = std::move(V);
  UpdateTimer();
}

bool TTimer::IsRunning() const { return FImpl->Timer->isActive(); }

void TTimer::UpdateTimer() {
  bool Run = FEnabled && FInterval > 0 && FOnTimer && !IsDestroying();
  if (!Run) {
    FImpl->Timer->stop();
    return;
  }
  // QTimer takes an int; longer periods are capped (about 24 days).
  int Ms = FInterval > 0x7FFFFFFFu ? 0x7FFFFFFF : int(FInterval);
  if (!FImpl->Timer->isActive() || FImpl->Timer->interval() != Ms) FImpl->Timer->start(Ms);
}

void TTimer::Timer() {
  if (IsDestroying()) return;
  // A copy: the handler may replace itself or free the timer.
  TNotifyEvent Handler = FOnTimer;
  if (Handler) Handler(this);
}

}  // namespace zel
