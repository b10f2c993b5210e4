#include "zelgraph/engine/Marks.h"

#include "zelgraph/engine/Series.h"

namespace zel {

// TSeriesMarkPosition

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition* Source) {
  if (!Source) return;
  ArrowFrom = Source->ArrowFrom;
  ArrowFix = Source->ArrowFix;
  ArrowTo = Source->ArrowTo;
  Custom = Source->Custom;
  Height = Source->Height;
  LeftTop = Source->LeftTop;
  Width = Source->Width;
  MidPoint = Source->MidPoint;
  HasMid = Source->HasMid;
}

TRectF TSeriesMarkPosition::Bounds() const {
  return TRectF(LeftTop.X, LeftTop.Y, LeftTop.X + float(Width), LeftTop.Y + float(Height));
}

void TSeriesMarkPosition::Offset(TPointF P) {
  LeftTop += P;
  ArrowTo += P;
  if (HasMid) MidPoint += P;
}

// TSeriesMarksPositions

TSeriesMarkPosition* TSeriesMarksPositions::Get(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

void TSeriesMarksPositions::Put(std::int32_t Index, const TSeriesMarkPosition* Position) {
  if (Index < 0) return;
  if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  TSeriesMarkPosition*& P = FItems[static_cast<std::size_t>(Index)];
  if (!P) P = new TSeriesMarkPosition;
  P->Assign(Position);
  P->Custom = true;
}

void TSeriesMarksPositions::Automatic(std::int32_t Index) {
  if (TSeriesMarkPosition* P = Get(Index)) P->Custom = false;
}

bool TSeriesMarksPositions::ExistCustom() const {
  for (const TSeriesMarkPosition* P : FItems)
    if (P && P->Custom) return true;
  return false;
}

void TSeriesMarksPositions::Delete(std::int32_t Index) {
  if (Index < 0 || Index >= Count()) return;
  delete FItems[static_cast<std::size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
}

void TSeriesMarksPositions::Clear() {
  for (TSeriesMarkPosition* P : FItems) delete P;
  FItems.clear();
}

// TMarksItems

ZEL_DEFINE_CLASS(TMarksItem, TPersistent)

TMarksItem* TMarksItems::Get(std::int32_t Index) {
  if (Index < 0) return nullptr;
  if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  TMarksItem*& Item = FItems[static_cast<std::size_t>(Index)];
  if (!Item) Item = new TMarksItem;
  return Item;
}

TMarksItem* TMarksItems::InternalGet(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

void TMarksItems::Delete(std::int32_t Index) {
  if (Index < 0 || Index >= Count()) return;
  if (TMarksItem* Item = FItems[static_cast<std::size_t>(Index)]) Item->Free();
  FItems.erase(FItems.begin() + Index);
}

void TMarksItems::Clear() {
  for (TMarksItem* Item : FItems)
    if (Item) Item->Free();
  FItems.clear();
}

// TSeriesMarks

ZEL_DEFINE_CLASS(TSeriesMarks, TPersistent)

TSeriesMarks::TSeriesMarks(TChartSeries* ASeries) : FSeries(ASeries) {}

TSeriesMarks::~TSeriesMarks() { FItems.IMarks = nullptr; }

void TSeriesMarks::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FSeries) FSeries->Repaint();
}

void TSeriesMarks::Clear() {
  FPositions.Clear();
  if (!FItems.ILoadingCustom) FItems.Clear();
}

void TSeriesMarks::DeletePoint(std::int32_t Index) {
  FPositions.Delete(Index);
  FItems.Delete(Index);
}

}  // namespace zel
