// Typed lists: TList<T> (references the library keeps in order) and TObjectList<T>, which frees
// its objects with Free() when they leave the list, when OwnsObjects is on.
//
// Every indexed access is checked and raises EListError "List index out of bounds (%d)".
// Items leave the vector before they are freed, so an object that removes itself from other
// lists while it is being freed never sees a half-changed list.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"

namespace zel {

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };

// Raises EListError with the list-index message for Index.
[[noreturn]] inline void ListIndexError(std::ptrdiff_t Index) {
  String Msg = SListIndexError;
  auto P = Msg.find("%d");
  if (P != String::npos) Msg.replace(P, 2, std::to_string(Index));
  throw EListError(Msg);
}

template <typename T>
class TList : public TObject {
 public:
  using value_type = T;
  using const_iterator = typename std::vector<T>::const_iterator;

  TList() = default;
  ~TList() override = default;

  int GetCount() const { return static_cast<int>(FItems.size() - FHead); }
  bool IsEmpty() const { return GetCount() == 0; }

  const T& GetItems(int Index) const {
    CheckIndex(Index);
    return FItems[FHead + static_cast<std::size_t>(Index)];
  }
  void SetItems(int Index, const T& Item) {
    CheckIndex(Index);
    T& Slot = FItems[FHead + static_cast<std::size_t>(Index)];
    if (Slot == Item) return;
    T Old = Slot;
    Slot = Item;
    Notify(Old, TListNotification::lnDeleted);
    Notify(Item, TListNotification::lnAdded);
  }
  const T& operator[](int Index) const { return GetItems(Index); }

  const T& First() const { return GetItems(0); }
  const T& Last() const { return GetItems(GetCount() - 1); }

  int Add(const T& Item) {
    FItems.push_back(Item);
    Notify(Item, TListNotification::lnAdded);
    return GetCount() - 1;
  }
  // Index may equal Count (append).
  void Insert(int Index, const T& Item) {
    if (Index < 0 || Index > GetCount()) ListIndexError(Index);
    FItems.insert(At(Index), Item);
    Notify(Item, TListNotification::lnAdded);
  }
  void Delete(int Index) {
    CheckIndex(Index);
    T Old = Erase(Index);
    Notify(Old, TListNotification::lnDeleted);
  }
  // Removes the first occurrence; returns its former index or -1.
  int Remove(const T& Item) {
    int I = IndexOf(Item);
    if (I >= 0) Delete(I);
    return I;
  }
  // Removes the first occurrence without the deletion notification (an owning list does not
  // free it); returns the item, or a value-initialised T when it is not in the list.
  T Extract(const T& Item) {
    int I = IndexOf(Item);
    if (I < 0) return T{};
    T Old = Erase(I);
    Notify(Old, TListNotification::lnExtracted);
    return Old;
  }
  int IndexOf(const T& Item) const {
    auto It = std::find(begin(), end(), Item);
    return It == end() ? -1 : static_cast<int>(It - begin());
  }
  bool Contains(const T& Item) const { return IndexOf(Item) >= 0; }
  void Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[FHead + static_cast<std::size_t>(Index1)], FItems[FHead + static_cast<std::size_t>(Index2)]);
  }
  // Takes the item at CurIndex out and puts it back at NewIndex.
  void Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    T Item = FItems[FHead + static_cast<std::size_t>(CurIndex)];
    FItems.erase(At(CurIndex));
    FItems.insert(At(NewIndex), Item);
  }
  // Removes every item, last first, each with its deletion notification.
  void Clear() {
    while (GetCount() > 0) {
      T Old = FItems.back();
      FItems.pop_back();
      Settle();
      Notify(Old, TListNotification::lnDeleted);
    }
  }
  // Stable sort; Less(A, B) is true when A belongs before B.
  void Sort(const std::function<bool(const T&, const T&)>& Less) {
    std::stable_sort(At(0), FItems.end(), Less);
  }

  const_iterator begin() const { return FItems.begin() + static_cast<std::ptrdiff_t>(FHead); }
  const_iterator end() const { return FItems.end(); }
  const std::vector<T>& GetList() const {
    Compact();
    return FItems;
  }

 protected:
  // Called after an item entered or left the list.
  virtual void Notify(const T& Item, TListNotification Action) {
    (void)Item;
    (void)Action;
  }

 private:
  void CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
  }
  typename std::vector<T>::iterator At(int Index) {
    return FItems.begin() + static_cast<std::ptrdiff_t>(FHead) + Index;
  }
  // Takes the item at Index out. The first item only moves the list's start, so that taking the
  // items from the front one by one costs no more than from the back.
  T Erase(int Index) {
    T Old = FItems[FHead + static_cast<std::size_t>(Index)];
    if (Index == 0 && GetCount() > 1) {
      FItems[FHead] = T{};
      ++FHead;
      if (FHead * 2 > FItems.size()) Compact();
    } else {
      FItems.erase(At(Index));
      Settle();
    }
    return Old;
  }
  void Settle() {
    if (FItems.size() == FHead) {
      FItems.clear();
      FHead = 0;
    }
  }
  void Compact() const {
    if (FHead == 0) return;
    FItems.erase(FItems.begin(), FItems.begin() + static_cast<std::ptrdiff_t>(FHead));
    FHead = 0;
  }

  mutable std::vector<T> FItems;
  mutable std::size_t FHead = 0;  // the items before it were taken from the front
};

// A list of objects that frees (Free()) what it deletes while OwnsObjects is on.
template <typename T>
class TObjectList : public TList<T*> {
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override { this->Clear(); }

  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

 protected:
  void Notify(T* const& Item, TListNotification Action) override {
    if (FOwnsObjects && Action == TListNotification::lnDeleted && Item) Item->Free();
  }

 private:
  bool FOwnsObjects;
};

}  // namespace zel
