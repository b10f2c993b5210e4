// Pictures that brushes, fonts, panels, shapes and tools hold: a bitmap that can carry an ordered
// list of picture filters and hands out a filtered copy for drawing. Also a few small routines of
// the canvas unit.
//
// Filters: a concrete filter derives from TZelFilter, overrides Apply(TBitmap*, const TRect&) to
// change the pixels inside the (inclusive) rectangle, and registers its item class
// (RegisterItemClass(ItemClassOf<TMyFilter>())) so that streams can name it. The library itself
// defines no concrete filter.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Classes.h"
#include "platform/Collections.h"
#include "platform/Geometry.h"
#include "platform/Types.h"

namespace zel {

class TFiler;
class TReader;
class TWriter;
class TFilterItems;
class TZelFilter;

// The interface through which a filter editor would be created (none exists).
class IFormCreator;

// One pixel as stored in memory: blue, green, red, alpha.
struct TRGBA {
  Byte Blue = 0;
  Byte Green = 0;
  Byte Red = 0;
  Byte Alpha = 0;
};
using TRGBAs = TRGBA*;                 // one row
using TRGBAArray = std::vector<TRGBAs>;  // one pointer per row

// A class reference to TZelFilter or a subclass.
using TFilterClass = const TCollectionItemClass*;

// A platform bitmap that is its own bitmap.
class TPicture : public TBitmap {
  ZEL_CLASS(TPicture, TBitmap)
 public:
  TPicture() = default;
  // "PNG": the pixels, written when the picture is not empty. Data that is not a readable
  // picture fails the read and leaves the picture as it was.
  void DefineProperties(TFiler* Filer) override;
  TBitmap* GetBitmap() { return this; }
  // nullptr empties the picture (0 x 0); otherwise the picture copies V.
  void SetBitmap(TBitmap* V);
};

class TZelPicture : public TPicture {
  ZEL_CLASS(TZelPicture, TPicture)
 public:
  TZelPicture() = default;
  ~TZelPicture() override;

  // From another picture: its filter list (none frees this one's), then the pixels.
  void Assign(TPersistent* Source) override;
  // The bitmap's own properties, then "FilterItems" (written when FiltersStored).
  void DefineProperties(TFiler* Filer) override;

  // The filter list, created on first call.
  TFilterItems* GetFilters();
  // nullptr frees the list; otherwise the list copies V.
  void SetFilters(TFilterItems* V);
  TFilterItems* ExistingFilters() const { return FFilters; }
  // A list exists and holds at least one filter.
  bool FiltersStored() const;

  // The bitmap to draw: the picture itself without filters, else a copy (owned by the picture,
  // valid until the next call) to which every enabled filter was applied.
  TBitmap* Filtered();
  // Holds a bitmap that is not empty.
  bool Valid() const { return !IsEmpty(); }
  // Calls the bitmap's change event with the picture as sender.
  void Repaint();
  static void AssignGraphic(TBitmap* Target, TBitmap* Source);

 private:
  void DoReadFilters(TReader* Reader);
  void DoWriteFilters(TWriter* Writer);

  TFilterItems* FFilters = nullptr;  // owned
  TBitmap* IBitmap = nullptr;        // owned
};

// A filter's region of a bitmap, in pixels.
class TFilterRegion : public TPersistent {
  ZEL_CLASS(TFilterRegion, TPersistent)
 public:
  TFilterRegion() = default;
  void Assign(TPersistent* Source) override;

  int GetHeight() const { return FHeight; }
  void SetHeight(int V) { FHeight = V; }
  int GetLeft() const { return FLeft; }
  void SetLeft(int V) { FLeft = V; }
  int GetTop() const { return FTop; }
  void SetTop(int V) { FTop = V; }
  int GetWidth() const { return FWidth; }
  void SetWidth(int V) { FWidth = V; }
  // (Left, Top, Left + Width, Top + Height); setting rounds each value (halves to even).
  TRectF GetRectangle() const;
  void SetRectangle(const TRectF& R);

 private:
  int FHeight = 0;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
};

class TZelFilter : public TCollectionItem {
  ZEL_CLASS(TZelFilter, TCollectionItem)
 public:
  explicit TZelFilter(TCollection* ACollection);
  ~TZelFilter() override;

  void Assign(TPersistent* Source) override;
  // "Enabled" and the region's values, as the stream writes them.
  void DefineProperties(TFiler* Filer) override;

  // Applies the filter to the part of Bitmap its region covers, clipped to the bitmap; nothing
  // when that part is empty.
  void Apply(TBitmap* Bitmap);
  // Changes the pixels inside R (inclusive bounds, inside the bitmap). The base fills the row
  // table unless ReuseLines.
  virtual void Apply(TBitmap* Bitmap, const TRect& R);
  // The inclusive rectangle Apply(Bitmap) works on, clipped to the bitmap; Right < Left or
  // Bottom < Top when nothing of the bitmap is covered.
  TRect TargetRect(const TBitmap* Bitmap);
  void CalcLines(TBitmap* Bitmap);
  // Keeps OnChange in FChanged; creates no editor.
  virtual void CreateEditor(IFormCreator* Creator, TNotifyEvent OnChange);
  void PrepareForGallery() {}
  // The class name.
  virtual String Description() const { return ClassName(); }
  // Creates a filter of class C outside any collection, applies it to Bitmap and frees it.
  static void ApplyTo(TFilterClass C, TBitmap* Bitmap);

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool V);
  // Created on first read; nullptr means the whole bitmap.
  TFilterRegion* GetRegion();
  TFilterRegion* ExistingRegion() const { return FRegion; }
  // nullptr frees the region; otherwise the region copies V.
  void SetRegion(TFilterRegion* V);

  bool AllowRegion = true;
  bool ReuseLines = false;
  bool RGBA = false;
  TRGBAArray LinesRGBA;

 protected:
  bool FEnabled = true;
  TFilterRegion* FRegion = nullptr;  // owned
  TNotifyEvent FChanged;
};

class TFilterItems : public TOwnedCollection {
  ZEL_CLASS(TFilterItems, TOwnedCollection)
 public:
  explicit TFilterItems(TPersistent* AOwner);

  TZelFilter* Get(int Index) const;
  void Put(int Index, TZelFilter* Value);
  // A new filter of class C in this list.
  TZelFilter* Add(TFilterClass C);
  // Every enabled filter, in list order.
  void ApplyTo(TBitmap* Bitmap);
  // From another list: a new item of the same class per source item, copying it.
  void Assign(TPersistent* Source) override;

  TNotifyEvent GetOnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent V) { FOnChange = std::move(V); }

  bool Changed = false;

 protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
  void Update(TCollectionItem* Item) override;

 private:
  TNotifyEvent FOnChange;
};

// Sets Lines to an empty table (no row pointers are produced).
void ZelCalcLines(TRGBAArray& Lines, TBitmap* Bitmap);
// (0, 0, Width, Height).
TRect ZelRectI(int Width, int Height);
// The point at distance D from B on the line back towards A.
TPointF PointAtDistance(TPointF A, TPointF B, float D);
double ZelDistance(double DX, double DY);
void SwapDouble(double& A, double& B);
void SwapInteger(int& A, int& B);
// The platform's class registry has one group; there is nothing to activate.
void ZelActivateGroup();
// The object reference as an integer tag.
std::intptr_t ObjectToTag(TObject* Obj);

}  // namespace zel
