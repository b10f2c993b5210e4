// An off-screen picture with its own canvas, pixel access and PNG streams.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

class TCanvas;
class TStream;
class TBitmap;

enum class TMapAccess { Read, Write, ReadWrite };

// Pixel access to a mapped bitmap. Colours are straight (unpremultiplied) 0xAARRGGBB.
// Coordinates outside the bitmap read white 0xFFFFFFFF and writes there change nothing.
class TBitmapData {
 public:
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  // Bytes from one row to the next; rows hold premultiplied 32-bit ARGB words.
  int GetPitch() const { return FPitch; }
  std::uint32_t* GetScanline(int Row) const;  // nullptr outside the bitmap
  TAlphaColor GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, TAlphaColor Color);
  TMapAccess GetAccess() const { return FAccess; }
  bool IsMapped() const { return FBitmap != nullptr; }

 private:
  friend class TBitmap;
  TBitmap* FBitmap = nullptr;
  std::uint8_t* FData = nullptr;
  int FWidth = 0, FHeight = 0, FPitch = 0;
  TMapAccess FAccess = TMapAccess::Read;
};

// A 32-bit picture. Its canvas is created on first use and stays the same object for the
// bitmap's lifetime, also across SetSize. A 0 x 0 bitmap is valid: drawing on it does nothing.
class TBitmap : public TPersistent {
  ZEL_CLASS(TBitmap, TPersistent)
 public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  // Copies the pixels, size and scale of another bitmap (nullptr empties this one).
  void Assign(TPersistent* Source) override;

  int GetWidth() const;
  int GetHeight() const;
  void SetWidth(int V);
  void SetHeight(int V);
  // New size, contents cleared to transparent; nothing when the size is the same.
  // Negative sizes, a side above 65536 or more than 2^28 pixels raise
  // EArgumentOutOfRangeException and leave the bitmap as it was.
  void SetSize(int AWidth, int AHeight);
  bool IsEmpty() const { return GetWidth() == 0 || GetHeight() == 0; }
  float GetBitmapScale() const { return FBitmapScale; }
  void SetBitmapScale(float V);
  // Resolution stored with the picture (pixels per metre); kept by PNG save and load.
  int GetDotsPerMeterX() const;
  int GetDotsPerMeterY() const;
  void SetDotsPerMeter(int X, int Y);

  TCanvas* GetCanvas();

  // Maps the pixels for access; false (and Data left unmapped) for an empty bitmap or when the
  // bitmap is already mapped. Every successful Map needs its Unmap.
  bool Map(TMapAccess Access, TBitmapData& Data);
  void Unmap(TBitmapData& Data);
  // Convenience single-pixel access (same rules as TBitmapData).
  TAlphaColor GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, TAlphaColor Color);

  // Every pixel set to Color.
  void Clear(TAlphaColor Color);
  void ClearRect(const TRectF& R, TAlphaColor Color);

  // PNG. Loading data that is not a readable picture raises EInvalidOperation with
  // SBitmapInvalidImage and leaves the bitmap unchanged.
  std::vector<std::uint8_t> SaveToBytes() const;
  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size);
  void LoadFromBytes(const std::vector<std::uint8_t>& Data) { LoadFromBytes(Data.data(), Data.size()); }
  // Writes the PNG at the stream's position / reads the rest of the stream from its position.
  void SaveToStream(TStream* Stream) const;
  void LoadFromStream(TStream* Stream);
  // Raises EFCreateError / EFOpenError when the file cannot be written / read.
  void SaveToFile(const String& FileName) const;
  void LoadFromFile(const String& FileName);

  TNotifyEvent OnChange;

  // Implementation detail of the platform layer (the Qt image); not for library code.
  struct TImpl;
  TImpl* GetImpl() const { return FImpl.get(); }

 protected:
  void Changed();

 private:
  friend class TBitmapData;
  std::unique_ptr<TImpl> FImpl;
  float FBitmapScale = 1;
  bool FMapped = false;
};

// The device pixels that cover Size units at Scale device pixels per unit (a picture of a
// control or a chart at its screen's ratio): 300 at 2 is 600, 301 at 1.5 is 452. Never below 0.
int ScaledPixels(float Size, float Scale);

inline const char* const SBitmapInvalidImage = "Bitmap data is not a readable image";

}  // namespace zel
