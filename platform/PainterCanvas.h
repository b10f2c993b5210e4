// For the platform layer's own sources only (windows, printing): a canvas that draws through a
// QPainter the caller holds, and the start of the Qt application object. Library code uses
// TCanvas and TBitmap and never this header.
#pragma once

#include <memory>

#include "platform/Canvas.h"

class QPainter;
class QFont;

namespace zel {

// A canvas drawing through Painter (not owned; it must stay active while the canvas draws) on
// a device of Width x Height pixels at Scale device pixels per unit.
std::unique_ptr<TCanvas> CreatePainterCanvas(QPainter* Painter, int Width, int Height,
                                             float Scale = 1);

// Creates the Qt application object when there is none yet (fonts and images need one).
void EnsureQtApplication();

// The Qt font for a platform font (pixel size on a 96 dpi device).
QFont ToQFont(const TFont& Font);

}  // namespace zel
