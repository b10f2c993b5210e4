// The marks of a series, as far as the series' data operations use them: per-point positions and
// per-point custom items, kept in step with the points. Drawing, text and streaming of marks build
// on these classes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"

namespace zel {

class TChartSeries;
class TCustomAxisPanel;
class TSeriesMarks;

// Where the mark of one point is: its box, its arrow, and whether the user placed it.
class TSeriesMarkPosition : public TObject {
 public:
  TPointF ArrowFrom;
  bool ArrowFix = false;
  TPointF ArrowTo;
  bool Custom = false;
  std::int32_t Height = 0;
  TPointF LeftTop;
  std::int32_t Width = 0;
  TPointF MidPoint;
  bool HasMid = false;

  void Assign(const TSeriesMarkPosition* Source);
  TRectF Bounds() const;
  // Moves the box, the arrow end and the mid point; the arrow start stays.
  void Offset(TPointF P);
};

// One entry per point index; nullptr where none exists yet. Owns its entries.
class TSeriesMarksPositions {
 public:
  explicit TSeriesMarksPositions(TSeriesMarks* AMarks) : IMarks(AMarks) {}
  ~TSeriesMarksPositions() { Clear(); }
  TSeriesMarksPositions(const TSeriesMarksPositions&) = delete;
  TSeriesMarksPositions& operator=(const TSeriesMarksPositions&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // The entry of Index, nullptr past the end.
  TSeriesMarkPosition* Get(std::int32_t Index) const;
  // Stores a copy of Position at Index as a custom position (the list grows with nullptr entries).
  void Put(std::int32_t Index, const TSeriesMarkPosition* Position);
  void Automatic(std::int32_t Index);
  bool ExistCustom() const;
  void Add(TSeriesMarkPosition* Position) { FItems.push_back(Position); }
  // Removes (and frees) the entry at Index when the list reaches it.
  void Delete(std::int32_t Index);
  void Clear();

 private:
  TSeriesMarks* IMarks;
  std::vector<TSeriesMarkPosition*> FItems;
};

// A custom mark of one point.
class TMarksItem : public TPersistent {
  ZEL_CLASS(TMarksItem, TPersistent)
 public:
  const String& GetText() const { return FText; }
  void SetText(const String& Value) {
    FText = Value;
    ICustomText = true;
  }
  bool ICustomText = false;

 private:
  String FText;
};

// Per-point custom marks; nullptr where none exists. Owns its entries.
class TMarksItems {
 public:
  explicit TMarksItems(TSeriesMarks* AMarks) : IMarks(AMarks) {}
  ~TMarksItems() { Clear(); }
  TMarksItems(const TMarksItems&) = delete;
  TMarksItems& operator=(const TMarksItems&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // The item of Index, created when missing (the list grows with nullptr entries).
  TMarksItem* Get(std::int32_t Index);
  // The item of Index or nullptr, creating nothing.
  TMarksItem* InternalGet(std::int32_t Index) const;
  void Delete(std::int32_t Index);
  void Clear();

  TSeriesMarks* IMarks;
  bool ILoadingCustom = false;

 private:
  std::vector<TMarksItem*> FItems;
};

class TSeriesMarks : public TPersistent {
  ZEL_CLASS(TSeriesMarks, TPersistent)
 public:
  explicit TSeriesMarks(TChartSeries* ASeries);
  ~TSeriesMarks() override;

  TChartSeries* GetSeries() const { return FSeries; }
  TCustomAxisPanel* GetParentChart() const { return FParent; }
  virtual void SetParent(TCustomAxisPanel* Value) { FParent = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);

  TSeriesMarksPositions* GetPositions() { return &FPositions; }
  TMarksItems* GetItems() { return &FItems; }
  TMarksItem* GetItem(std::int32_t Index) { return FItems.Get(Index); }

  // Empties the positions, and the items unless they were read from a stream.
  void Clear();
  // Drops the position and the item of one point (when they exist), moving later ones down.
  void DeletePoint(std::int32_t Index);

 private:
  TChartSeries* FSeries;
  TCustomAxisPanel* FParent = nullptr;
  bool FVisible = false;
  TSeriesMarksPositions FPositions{this};
  TMarksItems FItems{this};
};

}  // namespace zel
