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

  int GetCount() const { return static_cast<int>(FItems.size()); }
  bool IsEmpty() const { return FItems.empty(); }

  const T& GetItems(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
  }
  void SetItems(int Index, const T& Item) {
    CheckIndex(Index);
    T& Slot = FItems[static_cast<std::size_t>(Index)];
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
    FItems.insert(FItems.begin() + Index, Item);
    Notify(Item, TListNotification::lnAdded);
  }
  void Delete(int Index) {
    CheckIndex(Index);
    T Old = FItems[static_cast<std::size_t>(Index)];
    FItems.erase(FItems.begin() + Index);
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
    T Old = FItems[static_cast<std::size_t>(I)];
    FItems.erase(FItems.begin() + I);
    Notify(Old, TListNotification::lnExtracted);
    return Old;
  }
  int IndexOf(const T& Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
  }
  bool Contains(const T& Item) const { return IndexOf(Item) >= 0; }
  void Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
  }
  // Takes the item at CurIndex out and puts it back at NewIndex.
  void Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    T Item = FItems[static_cast<std::size_t>(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, Item);
  }
  // Removes every item, last first, each with its deletion notification.
  void Clear() {
    while (!FItems.empty()) {
      T Old = FItems.back();
      FItems.pop_back();
      Notify(Old, TListNotification::lnDeleted);
    }
  }
  // Stable sort; Less(A, B) is true when A belongs before B.
  void Sort(const std::function<bool(const T&, const T&)>& Less) {
    std::stable_sort(FItems.begin(), FItems.end(), Less);
  }

  const_iterator begin() const { return FItems.begin(); }
  const_iterator end() const { return FItems.end(); }
  const std::vector<T>& GetList() const { return FItems; }

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

  std::vector<T> FItems;
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
