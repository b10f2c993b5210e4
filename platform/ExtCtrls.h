// The GUI-thread timer.
#pragma once

#include <memory>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace zel {

// Calls OnTimer every Interval milliseconds while Enabled, Interval > 0 and OnTimer is
// assigned. Ticks run on the GUI thread from the message loop. An exception from OnTimer is
// shown by the application (EAbort silently) and the timer goes on.
class TTimer : public TComponent {
  ZEL_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  void Destroying() override;

  Cardinal GetInterval() const { return FInterval; }
  // Changing the interval of a running timer starts its period again.
  void SetInterval(Cardinal V);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool V);
  // Whether the timer is counting now (enabled, interval above 0, handler assigned).
  bool IsRunning() const;
  // Replaces the handler and starts or stops the timer accordingly.
  void SetOnTimer(TNotifyEvent V);
  const TNotifyEvent& GetOnTimer() const { return FOnTimer; }

  // One tick now (what the timer does when its period ends).
  void Timer();

  struct TImpl;

 private:
  void UpdateTimer();

  std::shared_ptr<TImpl> FImpl;
  Cardinal FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
};

}  // namespace zel
