// Basic value types shared by the platform layer and the library.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zel {

using String = std::string;  // UTF-8 text
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
using Single = float;
using TDateTime = double;  // days since 1899-12-30; fraction = time of day
using TAlphaColor = std::uint32_t;  // 0xAARRGGBB
using TColor = std::uint32_t;
using TCursor = std::int16_t;

class TObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// A small set of enum flags: `TSet<TShiftStateItem>` etc.
template <typename E>
class TSet {
 public:
  using Bits = std::uint64_t;
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr Bits Raw() const { return FBits; }
  static constexpr TSet FromRaw(Bits b) {
    TSet s;
    s.FBits = b;
    return s;
  }
  constexpr TSet operator+(TSet o) const { return FromRaw(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromRaw(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromRaw(FBits & o.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr Bits Bit(E e) { return Bits(1) << static_cast<unsigned>(e); }
  Bits FBits = 0;
};

}  // namespace zel
