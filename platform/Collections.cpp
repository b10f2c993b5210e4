#include "platform/Collections.h"

#include <algorithm>
#include <map>
#include <string>

#include "platform/Lists.h"

namespace zel {

namespace {
std::map<String, const TCollectionItemClass*>& ItemClassRegistry() {
  static std::map<String, const TCollectionItemClass*> R;
  return R;
}
}  // namespace

void RegisterItemClass(const TCollectionItemClass* ItemClass) {
  ItemClassRegistry()[ItemClass->GetName()] = ItemClass;
}

void UnRegisterItemClass(const TCollectionItemClass* ItemClass) {
  auto It = ItemClassRegistry().find(ItemClass->GetName());
  if (It != ItemClassRegistry().end() && It->second == ItemClass) ItemClassRegistry().erase(It);
}

const TCollectionItemClass* GetItemClass(const String& Name) {
  auto It = ItemClassRegistry().find(Name);
  return It == ItemClassRegistry().end() ? nullptr : It->second;
}

const TCollectionItemClass* FindItemClass(const String& Name) {
  const TCollectionItemClass* C = GetItemClass(Name);
  if (!C) throw EClassNotFound("Class " + Name + " not found");
  return C;
}

// TCollectionItem

ZEL_DEFINE_CLASS(TCollectionItem, TPersistent)

TCollectionItem::TCollectionItem(TCollection* ACollection) {
  // Joins without notifying: the derived parts do not exist yet (see AfterConstruction).
  if (ACollection) ACollection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  // Normally already out (BeforeDestruction); a handler must not throw out of a destructor.
  if (FCollection) {
    try {
      FCollection->RemoveItem(this);
    } catch (...) {
      auto& Items = FCollection->FItems;
      Items.erase(std::remove(Items.begin(), Items.end(), this), Items.end());
    }
  }
}

void TCollectionItem::AfterConstruction() {
  TPersistent::AfterConstruction();
  if (FCollection) {
    FCollection->Notify(this, TCollectionNotification::cnAdded);
    FCollection->Changed();
  }
}

void TCollectionItem::BeforeDestruction() {
  if (FCollection) FCollection->RemoveItem(this);
  TPersistent::BeforeDestruction();
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == FCollection) return;
  if (Value && !InheritsFrom(Value->GetItemClass()->Class))
    throw EListError("Invalid property value");
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) {
    Value->InsertItem(this);
    Value->Notify(this, TCollectionNotification::cnAdded);
    Value->Changed();
  }
}

int TCollectionItem::GetIndex() const {
  if (!FCollection) return -1;
  const auto& Items = FCollection->FItems;
  auto It = std::find(Items.begin(), Items.end(), this);
  return It == Items.end() ? -1 : static_cast<int>(It - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int Cur = GetIndex();
  if (Cur < 0 || Cur == Value) return;
  auto& Items = FCollection->FItems;
  if (Value < 0 || Value >= static_cast<int>(Items.size())) ListIndexError(Value);
  Items.erase(Items.begin() + Cur);
  Items.insert(Items.begin() + Value, this);
  Changed(true);
}

String TCollectionItem::GetDisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

String TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + std::to_string(GetIndex()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// TCollection

ZEL_DEFINE_CLASS(TCollection, TPersistent)

TCollection::TCollection(const TCollectionItemClass* AItemClass) : FItemClass(AItemClass) {
  Assert(AItemClass != nullptr, "Collection without item class", "Collections");
}

TCollection::~TCollection() {
  FUpdateCount = 1;
  while (!FItems.empty()) FItems.back()->Free();
}

TCollectionItem* TCollection::Add() { return FItemClass->Create(this); }

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > GetCount()) ListIndexError(Index);
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* Item = GetItem(Index);
  Notify(Item, TCollectionNotification::cnDeleting);
  Item->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  WithinUpdate(*this, [&] {
    while (!FItems.empty()) FItems.back()->Free();
  });
}

TCollectionItem* TCollection::GetItem(int Index) const {
  if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { GetItem(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TCollection*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  WithinUpdate(*this, [&] {
    Clear();
    for (int I = 0; I < Src->GetCount(); ++I) Add()->Assign(Src->GetItem(I));
  });
}

String TCollection::GetNamePath() const {
  TPersistent* Owner = GetOwner();
  if (!Owner || FPropName.empty()) return ClassName();
  String S = Owner->GetNamePath();
  if (S.empty()) return ClassName();
  return S + "." + FPropName;
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

ZEL_DEFINE_CLASS(TOwnedCollection, TCollection)

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  // Told while still a member; then it leaves the list.
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) return;
  Notify(Item, TCollectionNotification::cnExtracting);
  It = std::find(FItems.begin(), FItems.end(), Item);
  if (It != FItems.end()) FItems.erase(It);
  Item->FCollection = nullptr;
  Changed();
}

}  // namespace zel
