// Rounding and float-to-int conversions with the library's rules.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zel {

// Saturating conversion of an already whole double to int32 (NaN -> 0).
inline std::int32_t SaturateInt(double V) {
  if (std::isnan(V)) return 0;
  if (V >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (V <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(V);
}

// Nearest integer, halves to even.
inline std::int32_t Round(double V) { return SaturateInt(std::nearbyint(V)); }
inline std::int64_t Round64(double V) {
  if (std::isnan(V)) return 0;
  double R = std::nearbyint(V);
  if (R >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
  if (R <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(R);
}
// Toward zero.
inline std::int32_t Trunc(double V) { return SaturateInt(std::trunc(V)); }

constexpr double ZelZeroTolerance = 1e-12;
inline bool IsZero(double V) { return std::fabs(V) <= ZelZeroTolerance; }
inline bool SameValue(double A, double B) {
  double Tol = std::max(ZelZeroTolerance * std::min(std::fabs(A), std::fabs(B)), ZelZeroTolerance);
  return std::fabs(A - B) <= Tol;
}

}  // namespace zel
