// Ranges of points: removal of a range from the per-point lists a series keeps beside its value
// lists (colours, labels, visual blocks, mark positions and items: one erase a list, whatever the
// length of the range), and the narrowing of a walk to the points near a pixel column.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zel {

// Counts the erases made through ErasePointRange (read by tests: deleting a range costs one
// erase a list, not one a point).
extern std::int64_t ZelPointListErases;

// Erases Items[Start, Start + Count) clipped to the list; Release (when given) is called on each
// entry removed first. Nothing happens when the range lies past the end.
template <typename T, typename ReleaseFn>
void ErasePointRange(std::vector<T>& Items, std::int32_t Start, std::int32_t Count, ReleaseFn Release) {
  const std::int64_t Size = static_cast<std::int64_t>(Items.size());
  if (Start < 0 || Count <= 0 || Start >= Size) return;
  const std::int64_t End = std::min<std::int64_t>(Size, std::int64_t(Start) + Count);
  for (std::int64_t I = Start; I < End; ++I) Release(Items[static_cast<std::size_t>(I)]);
  Items.erase(Items.begin() + Start, Items.begin() + End);
  ++ZelPointListErases;
}

template <typename T>
void ErasePointRange(std::vector<T>& Items, std::int32_t Start, std::int32_t Count) {
  ErasePointRange(Items, Start, Count, [](T&) {});
}

// Narrows First..Last, whose pixel columns Pixel(i) are monotonic in the index (rising when
// Increasing), to the points whose columns lie in Lo..Hi, plus the point just outside each end
// (the segment crossing into the band): two binary searches.
template <typename PixelFn>
void NarrowToPixelBand(std::int32_t& First, std::int32_t& Last, std::int64_t Lo, std::int64_t Hi,
                       bool Increasing, PixelFn Pixel) {
  auto Before = [&](std::int32_t I) {
    const std::int64_t P = Pixel(I);
    return Increasing ? P < Lo : P > Hi;
  };
  auto After = [&](std::int32_t I) {
    const std::int64_t P = Pixel(I);
    return Increasing ? P > Hi : P < Lo;
  };
  // The first index not before the band, less one for the segment that enters it.
  std::int32_t A = First, B = Last + 1;
  while (A < B) {
    const std::int32_t M = A + (B - A) / 2;
    if (Before(M))
      A = M + 1;
    else
      B = M;
  }
  const std::int32_t Start = std::max(First, A - 1);
  // The first index past the band: the segment ending there may still cross it.
  A = Start;
  B = Last + 1;
  while (A < B) {
    const std::int32_t M = A + (B - A) / 2;
    if (!After(M))
      A = M + 1;
    else
      B = M;
  }
  First = Start;
  Last = std::min(Last, A);
}

}  // namespace zel
