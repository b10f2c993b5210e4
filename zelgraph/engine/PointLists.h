// Removal of a range of points from the per-point lists a series keeps beside its value lists
// (colours, labels, visual blocks, mark positions and items): one erase a list, whatever the
// length of the range.
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

}  // namespace zel
