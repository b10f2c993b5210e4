// The clipboard on QClipboard.
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/Bitmap.h"
#include "platform/PainterCanvas.h"

namespace zel {

namespace {
QClipboard* Board() {
  EnsureQtApplication();
  return QGuiApplication::clipboard();
}
}  // namespace

void TClipboard::SetAsText(const String& Text) {
  Board()->setText(QString::fromUtf8(Text.data(), qsizetype(Text.size())));
}

String TClipboard::GetAsText() const { return Board()->text().toUtf8().toStdString(); }

bool TClipboard::HasText() const {
  const QMimeData* M = Board()->mimeData();
  return M && M->hasText();
}

void TClipboard::Assign(const TBitmap& Bitmap) {
  if (Bitmap.IsEmpty()) {
    Clear();
    return;
  }
  SuspendBitmapCanvas(Bitmap);
  // A detached copy, so that later drawing on the bitmap does not change the clipboard.
  QImage Copy = BitmapImage(Bitmap).copy();
  Board()->setImage(Copy);
}

bool TClipboard::HasBitmap() const {
  const QMimeData* M = Board()->mimeData();
  return M && M->hasImage();
}

bool TClipboard::GetBitmap(TBitmap& Bitmap) const {
  QImage Image = Board()->image();
  if (Image.isNull()) return false;
  Image = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Bitmap.SetSize(Image.width(), Image.height());
  SuspendBitmapCanvas(Bitmap);
  BitmapImage(Bitmap) = Image;
  return true;
}

void TClipboard::Clear() { Board()->clear(); }

TClipboard* Clipboard() {
  static TClipboard C;
  return &C;
}

}  // namespace zel
