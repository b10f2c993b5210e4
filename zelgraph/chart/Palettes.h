// Named colour palettes for charts: the list of palette names, the palette tables, and applying a
// palette to a chart.
//
// Tables are stored as 0x00BBGGRR values and turned into chart colours 0xAARRGGBB (red and blue
// exchanged, alpha 0xFF) when read. Index 0 is the library's default palette (no table: the chart
// then takes its colours from ZelColorPalette); -1 means no palette of its own, -2 a custom list.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/StringList.h"
#include "platform/Types.h"

namespace zel {

class TCustomAxisPanel;

// Number of named palettes, "Zelgraph" (index 0) included.
inline constexpr int ZelPaletteCount = 22;
// Highest palette index; a higher index behaves like 0.
inline constexpr int ZelMaxPaletteIndex = ZelPaletteCount - 1;

// Stored palette tables, 0x00BBGGRR.
extern const std::uint32_t ExcelPalette[22];
extern const std::uint32_t VictorianPalette[11];
extern const std::uint32_t PastelsPalette[14];
extern const std::uint32_t SolidPalette[8];
extern const std::uint32_t ClassicPalette[12];
extern const std::uint32_t WebPalette[9];
extern const std::uint32_t ModernPalette[14];
extern const std::uint32_t RainbowPalette[25];
extern const std::uint32_t WindowsXPPalette[13];
extern const std::uint32_t MacOSPalette[16];
extern const std::uint32_t WindowsVistaPalette[15];
extern const std::uint32_t GrayScalePalette[15];
extern const std::uint32_t OperaPalette[12];
extern const std::uint32_t WarmPalette[8];
extern const std::uint32_t CoolPalette[8];
extern const std::uint32_t OnBlackPalette[4];
extern const std::uint32_t MetroPalette[10];
extern const std::uint32_t iOSPalette[12];
extern const std::uint32_t AndroidPalette[15];
extern const std::uint32_t LookoutPalette[12];
extern const std::uint32_t SeawashPalette[12];

// A stored 0x00BBGGRR value as a chart colour 0xFFRRGGBB.
constexpr TAlphaColor PaletteToAlphaColor(std::uint32_t Stored) {
  return 0xFF000000u | ((Stored & 0xFFu) << 16) | (Stored & 0xFF00u) | ((Stored >> 16) & 0xFFu);
}

// Implemented by the chart control, which keeps the index of the palette in use: ApplyPalette
// stores the applied index through it (an axis panel that is not a chart control keeps none).
class IColorPaletteIndexStore {
 public:
  virtual void StoreColorPaletteIndex(std::int32_t Index) = 0;

 protected:
  ~IColorPaletteIndexStore() = default;
};

// The palette names in index order (the global ColorPalettes), and the palette operations.
class TColorPalettes : public TStringList {
  ZEL_CLASS(TColorPalettes, TStringList)
 public:
  TColorPalettes() = default;

  // Replaces the lines with the 22 palette names as the message texts hold them now.
  void LoadNames();

  // Adds ZelMsg_Default first when AddDefault, then the 22 palette names in index order.
  static void AddTo(TStrings* Items, bool AddDefault);
  // The chart colours of palette Index; empty for an index without a table (0, negative, above 21).
  static void GetPalette(int Index, std::vector<TAlphaColor>& Palette);
  static std::vector<TAlphaColor> GetPalette(int Index);
  // Applies the table of Index to Chart, then stores Index when Chart is a chart control, and
  // invalidates Chart.
  static void ApplyPalette(TCustomAxisPanel* Chart, int Index);
  // Chart's palette := Palette[0..HighIndex] (empty for HighIndex -1), then the series with the
  // automatic colour take free colours from it. Raises ERangeError when HighIndex is below -1 or
  // past the end of Palette.
  static void ApplyPalette(TCustomAxisPanel* Chart, std::span<const TAlphaColor> Palette, int HighIndex);
};

// The palette names, from the chart unit's start to its end (nullptr outside).
extern TColorPalettes* ColorPalettes;

}  // namespace zel
