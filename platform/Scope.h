// Scope guards: close a bracket (an update, a saved setting, a clip...) when a scope ends,
// on every way out, exactly once.
#pragma once

#include <exception>
#include <utility>

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

// Runs Close(Failed) when the scope ends, Failed telling whether an error is leaving it (a
// failed drawing may close a blend without its finishing touches); errors as CloseAtScopeEnd.
template <typename F>
class TCloseOnExit {
 public:
  explicit TCloseOnExit(F Close) : FClose(std::move(Close)) {}
  ~TCloseOnExit() noexcept(false) {
    const bool Failed = std::uncaught_exceptions() != FUncaught;
    CloseAtScopeEnd(FUncaught, [&] { FClose(Failed); });
  }
  TCloseOnExit(const TCloseOnExit&) = delete;
  TCloseOnExit& operator=(const TCloseOnExit&) = delete;

 private:
  F FClose;
  int FUncaught = std::uncaught_exceptions();
};

// Runs Undo only when an error leaves the scope (a half-made object freed, a flag taken back);
// an error of Undo itself is dropped, the first error goes on.
template <typename F>
class TUndoOnFailure {
 public:
  explicit TUndoOnFailure(F Undo) : FUndo(std::move(Undo)) {}
  ~TUndoOnFailure() {
    if (std::uncaught_exceptions() == FUncaught) return;
    try {
      FUndo();
    } catch (...) {
    }
  }
  TUndoOnFailure(const TUndoOnFailure&) = delete;
  TUndoOnFailure& operator=(const TUndoOnFailure&) = delete;

 private:
  F FUndo;
  int FUncaught = std::uncaught_exceptions();
};

// Sets Target to Value for the scope and puts the old value back when it ends.
template <typename T>
class TValueScope {
 public:
  TValueScope(T& Target, T Value) : FTarget(Target), FSaved(std::move(Target)) { FTarget = std::move(Value); }
  ~TValueScope() { FTarget = std::move(FSaved); }
  TValueScope(const TValueScope&) = delete;
  TValueScope& operator=(const TValueScope&) = delete;

 private:
  T& FTarget;
  T FSaved;
};

}  // namespace zel
