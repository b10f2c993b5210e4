// For the platform layer's own sources only (windows, printing) and its tests: a canvas that
// draws through a QPainter the caller holds, and the start of the Qt application object. Library
// code uses TCanvas and TBitmap and never this header.
#pragma once

#include <memory>

#include "platform/Canvas.h"

class QPainter;
class QFont;
class QImage;

namespace zel {

// A canvas drawing through Painter (not owned; it must stay active while the canvas draws) on
// a device of Width x Height pixels at Scale device pixels per unit.
std::unique_ptr<TCanvas> CreatePainterCanvas(QPainter* Painter, int Width, int Height,
                                             float Scale = 1);

// Creates the Qt application object when there is none yet (fonts and images need one).
void EnsureQtApplication();
// Before the application object starts: chooses its platform (ChooseDisplay on this process's
// environment, platform/Forms.h) and keeps the choice for NoDisplayReason.
void ChooseDisplayAtStart();

// The Qt font for a platform font: Font.Size pixels per em on a device of Dpi dots per inch.
QFont ToQFont(const TFont& Font, double Dpi = 96);

// While one lives, the canvases measure each text afresh instead of taking the width they keep
// for it: the way text was measured before widths were kept, which tests compare with.
class TUncachedTextMeasures {
 public:
  TUncachedTextMeasures();
  ~TUncachedTextMeasures();
  TUncachedTextMeasures(const TUncachedTextMeasures&) = delete;
  TUncachedTextMeasures& operator=(const TUncachedTextMeasures&) = delete;
};

// The Qt image that holds a bitmap's pixels (premultiplied ARGB32).
QImage& BitmapImage(const TBitmap& Bitmap);
// The canvas of a bitmap, drawing on its image.
std::unique_ptr<TCanvas> CreateBitmapCanvas(TBitmap* Bitmap);
// Ends the painter a bitmap canvas holds open, so that its image can be read, written or
// resized; the canvas opens it again when it next draws. Nothing for other canvases.
void SuspendCanvas(TCanvas* Canvas);
// The same for the canvas of Bitmap, when it has one.
void SuspendBitmapCanvas(const TBitmap& Bitmap);

}  // namespace zel
