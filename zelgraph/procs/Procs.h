// Free routines and globals of the chart panels: the default colour palette, separated fields,
// hit tests of points against lines, polygons, triangles and ellipses, a callback-driven sort,
// a millisecond tick and readers of the library's options.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

class TCustomZelPanelExtended;
class TZelPen;

// The library's built-in palette.
inline constexpr TAlphaColor DefaultPalette[20] = {
    0xFFFF0000, 0xFF008000, 0xFFFFFF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080, 0xFFFF00FF,
    0xFF008080, 0xFF000080, 0xFF800000, 0xFF00FF00, 0xFF808000, 0xFF800080, 0xFFC0C0C0,
    0xFF00FFFF, 0xFF000000, 0xFFC0DCC0, 0xFF87CEEB, 0xFFF0FBFF, 0xFFA0A0A0};

// The palette GetDefaultColor cycles through (a copy of DefaultPalette after the unit starts).
extern std::vector<TAlphaColor> ZelColorPalette;
// Separator of ZelNumFields and ZelExtractField.
extern String ZelFieldsSeparator;
// Line separator of multi-line chart texts (a carriage return).
inline constexpr char ZelLineSeparator = '\r';
// When not empty, panels read their default canvas class name from the options.
extern String ZelDefaultCanvas;
extern bool ZelClipWhenPrinting;
extern bool ZelClipWhenMetafiling;
extern bool PrintZelPanel;

// Where the library's options live (read only).
inline constexpr const char* ZelOptionsKey = "SOFTWARE\\Morvik Software\\Zelgraph Pro\\Editor";

String ZelStr(std::int64_t Value);

// Entry Index of ZelColorPalette, cycling; a negative Index counts back from the end. With an
// empty palette the built-in DefaultPalette is cycled instead.
TAlphaColor GetDefaultColor(int Index);

// ZelColorPalette := the built-in DefaultPalette.
void SetDefaultColorPalette();
// ZelColorPalette := Colors[0..HighIndex]; a HighIndex of -1 restores the built-in palette.
// Raises ERangeError when HighIndex is below -1 or past the end of Colors.
void SetDefaultColorPalette(std::span<const TAlphaColor> Colors, int HighIndex);

// Number of fields of a separated text: 0 for an empty text, else 1 plus the separators that
// have more text after them (a trailing separator adds no field).
int ZelNumFields(const String& Text);
int ZelNumFields(const String& Text, const String& Separator);
// Field Index (from 1) of a separated text; empty when there is no such field.
String ZelExtractField(const String& Text, int Index);
String ZelExtractField(const String& Text, int Index, const String& Separator);

// Text with every Old character replaced by New; a New of character 0 deletes them.
String ReplaceChar(const String& Text, char Old, char New = '\0');

// (X - XSize, Y - YSize, X + XSize, Y + YSize); a YSize of 0 means YSize = XSize.
TRectF RectFromCenter(const TPointF& P, float XSize, float YSize);
TRectF RectFromCenter(float X, float Y, float XSize, float YSize);

// True when P is an end of the segment, or lies within Tolerance + 1 of it.
bool PointInLine(const TPointF& P, float X0, float Y0, float X1, float Y1, float Tolerance);
bool PointInLine(const TPointF& P, const TPointF& P0, const TPointF& P1, int Tolerance);

// Even-odd test of P against the closed polygon Points[0..HighIndex]; False for a negative
// HighIndex. Raises ERangeError when HighIndex is past the end of Points.
bool PointInPolygon(const TPointF& P, std::span<const TPointF> Points, int HighIndex);
// The triangle (X0, Y0), ((X0 + X1) / 2, Y1), (X1, Y0), standing on a horizontal base.
bool PointInTriangle(const TPointF& P, float X0, float X1, float Y0, float Y1);
// The triangle (X0, Y0), (X1, (Y0 + Y1) / 2), (X0, Y1), lying on a vertical base.
bool PointInHorizTriangle(const TPointF& P, float Y0, float Y1, float X0, float X1);
// The ellipse inscribed in the rectangle; False when it has no width or height.
bool PointInEllipse(const TPointF& P, float Left, float Top, float Right, float Bottom);
bool PointInEllipse(const TPointF& P, const TRectF& Rect);

// Sorts the index range Left..Right of outside data. Compare(A, B) is negative when item A
// belongs before item B; Swap(A, B) exchanges two items. Indices passed stay in Left..Right,
// also with an inconsistent Compare.
using TZelSortCompare = std::function<int(int A, int B)>;
using TZelSortSwap = std::function<void(int A, int B)>;
void ZelSort(int Left, int Right, const TZelSortCompare& Compare, const TZelSortSwap& Swap);

// The panel canvas's pen takes Pen in the colour (not the panel's back colour) xor Pen's colour,
// in mode pmNotXor, so that drawing it twice restores the picture.
void ZelPrepareXorPen(TCustomZelPanelExtended* Panel, TZelPen* Pen);

// Milliseconds of the platform timer service; 0 when there is none.
double ZelTickCount();

// Options under ZelOptionsKey in the user's settings: the value Name when the key and the value
// exist, else Default. Nothing is written.
int ZelReadIntegerOption(const String& Name, int Default);
String ZelReadStringOption(const String& Name, const String& Default);

// Unit start and end (called from ZelStartUnits / ZelEndUnits).
void ZelProcsUnitStart();
void ZelProcsUnitEnd();

}  // namespace zel
