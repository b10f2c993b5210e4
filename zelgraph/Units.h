// Start and end of the library's units, in their fixed order, from one place.
#pragma once

namespace zel {

// Starts every unit of the library (message texts first); counted, so nested calls are cheap.
void ZelStartUnits();
// Ends them in reverse order when the last start is matched.
void ZelEndUnits();

// Holds the library started for its lifetime (main() and the test environment keep one).
class TZelUnitsGuard {
 public:
  TZelUnitsGuard() { ZelStartUnits(); }
  ~TZelUnitsGuard() { ZelEndUnits(); }
  TZelUnitsGuard(const TZelUnitsGuard&) = delete;
  TZelUnitsGuard& operator=(const TZelUnitsGuard&) = delete;
};

}  // namespace zel
