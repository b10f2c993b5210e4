// The system clipboard: text and pictures.
#pragma once

#include "platform/Types.h"

namespace zel {

class TBitmap;

class TClipboard {
 public:
  void SetAsText(const String& Text);
  // Empty when the clipboard holds no text.
  String GetAsText() const;
  bool HasText() const;
  // Puts a copy of the picture on the clipboard (an empty picture clears it).
  void Assign(const TBitmap& Bitmap);
  bool HasBitmap() const;
  // Copies the clipboard's picture into Bitmap; false (Bitmap left alone) when there is none.
  bool GetBitmap(TBitmap& Bitmap) const;
  void Clear();
};

// The process's clipboard.
TClipboard* Clipboard();

}  // namespace zel
